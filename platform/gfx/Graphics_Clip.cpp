// TCanvas clipping: the clip region in device pixels, united, intersected and excluded as GDI
// does it, and the effective region (visible area, clip, metafile clip) handed to the device.
#include "platform/gfx/Graphics.h"

#include "platform/gfx/Canvas_p.h"

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

int32_t ClampCoord(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, -TRegion::RegionLimit, TRegion::RegionLimit));
}

// The pixels (by their centres) of a convex quadrilateral, row by row within rows.
TRegion QuadRegion(const TPointF (&q)[4], const TRect &rows) {
    double top = q[0].Y, bottom = q[0].Y;
    for (const TPointF &p : q) {
        top = std::min(top, p.Y);
        bottom = std::max(bottom, p.Y);
    }
    const int32_t y0 = std::max(rows.Top, int32_t(std::clamp(std::ceil(top - 0.5), -1e9, 1e9)));
    const int32_t y1 =
        std::min(rows.Bottom, int32_t(std::clamp(std::ceil(bottom - 0.5), -1e9, 1e9)));
    std::vector<TRect> spans;
    for (int32_t y = y0; y < y1; ++y) {
        const double cy = y + 0.5;
        double lo = 1e300, hi = -1e300;
        for (int i = 0; i < 4; ++i) {
            const TPointF &a = q[i], &b = q[(i + 1) % 4];
            if ((a.Y <= cy && b.Y > cy) || (b.Y <= cy && a.Y > cy)) {
                const double x = a.X + (cy - a.Y) * (b.X - a.X) / (b.Y - a.Y);
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
        }
        if (hi > lo) {
            const double l = std::max(std::ceil(lo - 0.5), double(rows.Left));
            const double r = std::min(std::ceil(hi - 0.5), double(rows.Right));
            if (r > l) {
                spans.push_back({int32_t(l), y, int32_t(r), y + 1});
            }
        }
    }
    return TRegion::FromRects(spans);
}

} // namespace

TRegion TCanvas::LogicalRectToDevice(const TRect &r) const {
    const int32_t x1 = std::min(r.Left, r.Right), x2 = std::max(r.Left, r.Right);
    const int32_t y1 = std::min(r.Top, r.Bottom), y2 = std::max(r.Top, r.Bottom);
    if (FToDevice.IsAxisAligned()) {
        return TRegion(DeviceRect(Rect(x1, y1, x2, y2)));
    }
    const TPointF q[4] = {FToDevice.Map(x1, y1), FToDevice.Map(x2, y1), FToDevice.Map(x2, y2),
                          FToDevice.Map(x1, y2)};
    TRect rows = FVisible.GetBounds();
    rows.Inflate(1, 1);
    return QuadRegion(q, rows);
}

// The device rectangle of an axis-aligned logical one (corners rounded, then ordered).
TRect TCanvas::DeviceRect(const TRect &logical) const {
    const TPointF a = FToDevice.Map(double(logical.Left), double(logical.Top));
    const TPointF b = FToDevice.Map(double(logical.Right), double(logical.Bottom));
    const int64_t x1 = detail::RoundCoord(a.X), x2 = detail::RoundCoord(b.X);
    const int64_t y1 = detail::RoundCoord(a.Y), y2 = detail::RoundCoord(b.Y);
    return {ClampCoord(std::min(x1, x2)), ClampCoord(std::min(y1, y2)),
            ClampCoord(std::max(x1, x2)), ClampCoord(std::max(y1, y2))};
}

namespace {

// A region of the recording device's pixels in the pixels of the device played on.
TRegion ThroughPlayback(const TRegion &region, const TAffine &playback) {
    if (playback.IsIdentity()) {
        return region;
    }
    if (playback.IsAxisAligned()) {
        return region.Scaled(playback.M11, playback.M22, playback.Dx, playback.Dy);
    }
    const TRect b = region.GetBounds();
    const TPointF p = playback.Map(b.Left, b.Top), q = playback.Map(b.Right, b.Bottom);
    return TRegion(
        Rect(int32_t(std::lround(std::min(p.X, q.X))), int32_t(std::lround(std::min(p.Y, q.Y))),
             int32_t(std::lround(std::max(p.X, q.X))), int32_t(std::lround(std::max(p.Y, q.Y)))));
}

} // namespace

void TCanvas::ClipChanged() {
    FEffectiveDirty = true;
}

void TCanvas::ApplyClip() const {
    if (!FEffectiveDirty) {
        return;
    }
    FEffective = FVisible;
    if (FHasClip) {
        FEffective = FEffective.Intersect(FClip);
    }
    if (FHasMetaClip) {
        FEffective = FEffective.Intersect(FMetaClip);
    }
    FEffectiveDirty = false;
    FDevice->SetClip(&FEffective);
}

TRect TCanvas::GetClipRect() const {
    TRect box;
    GetClipBox(box);
    return box;
}

TRegionKind TCanvas::GetClipBox(TRect &box) const {
    ApplyClip();
    const TRect b = FEffective.GetBounds();
    if (FEffective.IsEmpty()) {
        box = {};
        return NULLREGION;
    }
    const TPointF p = FFromDevice.Map(b.Left, b.Top), q = FFromDevice.Map(b.Right, b.Bottom);
    box = {int32_t(detail::RoundCoord(std::min(p.X, q.X))),
           int32_t(detail::RoundCoord(std::min(p.Y, q.Y))),
           int32_t(detail::RoundCoord(std::max(p.X, q.X))),
           int32_t(detail::RoundCoord(std::max(p.Y, q.Y)))};
    return FEffective.GetKind();
}

int32_t TCanvas::GetClipRgn(TRegion &region) const {
    if (!FHasClip) {
        return 0;
    }
    region = ThroughPlayback(FClip, FPlayback.Inverted());
    return 1;
}

int32_t TCanvas::SelectClipRgn(const TRegion *region) {
    return ExtSelectClipRgn(region, RGN_COPY);
}

int32_t TCanvas::ExtSelectClipRgn(const TRegion *region, TRegionOp mode) {
    if (mode < RGN_AND || mode > RGN_COPY) {
        return RGN_ERROR;
    }
    if (!region) {
        if (mode != RGN_COPY) {
            return RGN_ERROR;
        }
        FHasClip = false;
        FClip = {};
    } else {
        const TRegion mapped = ThroughPlayback(*region, FPlayback);
        const TRegion &base = FHasClip ? FClip : FVisible;
        FClip = mode == RGN_COPY ? mapped : base.Combine(mapped, mode);
        FHasClip = true;
    }
    ClipChanged();
    ApplyClip();
    return FEffective.GetKind();
}

int32_t TCanvas::IntersectClipRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const TRegion r = LogicalRectToDevice(Rect(x1, y1, x2, y2));
    FClip = (FHasClip ? FClip : FVisible).Intersect(r);
    FHasClip = true;
    ClipChanged();
    ApplyClip();
    return FEffective.GetKind();
}

int32_t TCanvas::ExcludeClipRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const TRegion r = LogicalRectToDevice(Rect(x1, y1, x2, y2));
    FClip = (FHasClip ? FClip : FVisible).Subtract(r);
    FHasClip = true;
    ClipChanged();
    ApplyClip();
    return FEffective.GetKind();
}

int32_t TCanvas::OffsetClipRgn(int32_t dx, int32_t dy) {
    if (FHasClip) {
        const TPointF v = FToDevice.MapVector(dx, dy);
        FClip.Offset(int32_t(std::lround(std::clamp(v.X, -2e9, 2e9))),
                     int32_t(std::lround(std::clamp(v.Y, -2e9, 2e9))));
        ClipChanged();
    }
    ApplyClip();
    return FEffective.GetKind();
}

void TCanvas::UnionClipRect(const TRect &r) {
    FClip = (FHasClip ? FClip : FVisible).Union(LogicalRectToDevice(r));
    FHasClip = true;
    ClipChanged();
}

bool TCanvas::PtVisible(TPoint p) const {
    ApplyClip();
    const TPointF d = FToDevice.Map(double(p.X), double(p.Y));
    const int64_t x = detail::RoundCoord(d.X), y = detail::RoundCoord(d.Y);
    return x >= INT32_MIN && x <= INT32_MAX && y >= INT32_MIN && y <= INT32_MAX &&
           FEffective.Contains({int32_t(x), int32_t(y)});
}

bool TCanvas::RectVisible(const TRect &r) const {
    ApplyClip();
    return FEffective.Intersects(LogicalRectToDevice(r));
}

bool TCanvas::Visible() const {
    ApplyClip();
    return !FEffective.IsEmpty();
}

} // namespace gfx
