// TCanvas shapes: pens and brushes resolved for the device, lines with the one-pixel rule,
// polygons, rectangles, ellipses and arcs, all clipped before they reach the device.
#include "platform/gfx/Graphics.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas_p.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gfx {

using detail::TPoint64;

namespace {

uint32_t Rgb(TColor c) {
    return ColorToRGB(c);
}

// $00BBGGRR as a pattern pixel $FFRRGGBB.
uint32_t PatternPixel(uint32_t bgr) {
    return 0xFF000000u | (uint32_t(GetRValue(bgr)) << 16) | (uint32_t(GetGValue(bgr)) << 8) |
           GetBValue(bgr);
}

// The on/off lengths of styled one-pixel pens, in pixels.
std::vector<int> DashLengths(TPenStyle style) {
    switch (style) {
    case psDash:
        return {18, 6};
    case psDot:
        return {3, 3};
    case psDashDot:
        return {9, 6, 3, 6};
    case psDashDotDot:
        return {9, 3, 3, 3, 3, 3};
    case psAlternate:
        return {1, 1};
    default:
        return {};
    }
}

TRectF Grown(const TRect &r, double margin) {
    return {r.Left - margin, r.Top - margin, r.Right + margin, r.Bottom + margin};
}

TRect Clamped(const TRect &r, const TRect &box) {
    return IntersectRect(r, box);
}

} // namespace

detail::TResolvedPen TCanvas::ResolvePen() const {
    detail::TResolvedPen pen;
    const TPenStyle style = FPen.GetStyle();
    if (style == psClear || FPen.GetMode() == pmNop) {
        return pen;
    }
    pen.None = false;
    double width = 1;
    if (FPen.GetWidth() > 0) {
        const TPointF v = FToDevice.MapVector(FPen.GetWidth(), 0);
        width = std::max(1.0, std::round(std::hypot(v.X, v.Y)));
    }
    pen.Cosmetic = width <= 1;
    TDevicePen &d = pen.Device;
    d.Width = width;
    d.Color = Rgb(FPen.GetColor());
    d.Mix = detail::MixOf(FPen.GetMode());
    if (d.Mix == TMixMode::Black || d.Mix == TMixMode::White) {
        d.Color = d.Mix == TMixMode::Black ? 0 : 0xFFFFFF;
        d.Mix = TMixMode::Copy;
    }
    d.Cap = FPen.GetEndCap() == pecSquare ? TLineCap::Square
            : FPen.GetEndCap() == pecFlat ? TLineCap::Flat
                                          : TLineCap::Round;
    d.Join = FPen.GetJoinStyle() == pjsBevel   ? TLineJoin::Bevel
             : FPen.GetJoinStyle() == pjsMiter ? TLineJoin::Miter
                                               : TLineJoin::Round;
    if (pen.Cosmetic) {
        d.Cap = TLineCap::Flat;
        // Wider pens draw every style solid, as GDI's plain pens do.
        for (size_t i = 0; const int len : DashLengths(style)) {
            pen.Pattern.insert(pen.Pattern.end(), size_t(len), i++ % 2 == 0 ? 1 : 0);
            d.Dashes.push_back(len);
        }
        pen.GapsOpaque = !pen.Pattern.empty() && FBkMode == OPAQUE;
        pen.GapColor = Rgb(FBkColor);
    }
    return pen;
}

void TCanvas::ResolveBrush(detail::TResolvedBrush &out, TMixMode mix) const {
    out.None = true;
    const TBitmap *bitmap = FBrush.GetBitmap();
    const TBrushStyle style = FBrush.GetStyle();
    if (style == bsClear && !(bitmap && !bitmap->Empty())) {
        return;
    }
    out.None = false;
    TDeviceBrush &d = out.Device;
    d = TDeviceBrush{};
    d.Color = Rgb(FBrush.GetColor());
    d.Origin = FBrushOrg;
    d.Mix = mix == TMixMode::Black || mix == TMixMode::White ? TMixMode::Copy : mix;
    if (mix == TMixMode::Black || mix == TMixMode::White) {
        d.Color = mix == TMixMode::Black ? 0 : 0xFFFFFF;
    }
    if (bitmap && !bitmap->Empty()) {
        // At most 8 x 8 pixels of a pattern bitmap count, as GDI takes them; shown opaque.
        const int32_t w = std::min(8, bitmap->GetWidth()), h = std::min(8, bitmap->GetHeight());
        out.PatternCopy.resize(size_t(w * h));
        for (int32_t y = 0; y < h; ++y) {
            const uint32_t *row = bitmap->ScanLine(y);
            for (int32_t x = 0; x < w; ++x) {
                out.PatternCopy[size_t(y * w + x)] = row[x] | 0xFF000000u;
            }
        }
        d.Pattern = out.PatternCopy.data();
        d.PatternWidth = w;
        d.PatternHeight = h;
        d.PatternStride = w * 4;
    } else if (style != bsSolid) {
        const uint32_t line = PatternPixel(d.Color);
        const uint32_t gap = FBkMode == OPAQUE ? PatternPixel(Rgb(FBkColor)) : 0;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                out.Hatch[size_t(y * 8 + x)] = detail::HatchBit(style, x, y) ? line : gap;
            }
        }
        d.Pattern = out.Hatch.data();
        d.PatternWidth = d.PatternHeight = 8;
        d.PatternStride = 32;
    }
}

void TCanvas::Record(const TCanvasOp &op) const {
    if (FRecorder) {
        FRecorder->Record(*this, op);
    }
}

TPoint64 TCanvas::ToDevice(TPoint p) const {
    const TPointF d = FToDevice.Map(double(p.X), double(p.Y));
    return {detail::RoundCoord(d.X), detail::RoundCoord(d.Y)};
}

void TCanvas::StrokeDevice(const std::vector<TPoint64> &dev, bool closed,
                           const detail::TResolvedPen &pen) {
    const TDeviceCaps caps = FDevice->GetCaps();
    const TRect box = FEffective.GetBounds();
    if (pen.Cosmetic && !caps.Vector) {
        std::vector<TRect> on, off;
        const detail::TLinePattern pattern{pen.Pattern.data(), int32_t(pen.Pattern.size())};
        int64_t phase = 0;
        const size_t n = dev.size();
        for (size_t i = 0; i + 1 < n + (closed ? 1 : 0); ++i) {
            detail::LineSpans(dev[i], dev[(i + 1) % n], box,
                              pen.Pattern.empty() ? nullptr : &pattern, phase, on,
                              pen.GapsOpaque ? &off : nullptr);
        }
        TDeviceBrush brush;
        brush.Color = pen.Device.Color;
        brush.Mix = pen.Device.Mix;
        if (!off.empty()) {
            TDeviceBrush gap;
            gap.Color = pen.GapColor;
            FDevice->FillRects(off, gap);
        }
        if (!on.empty()) {
            FDevice->FillRects(on, brush);
        }
        return;
    }
    // Pixel centres, clipped segment by segment; connected visible parts stay one figure.
    const TRectF clipBox = Grown(box, pen.Device.Width + 2);
    TDevicePath path;
    std::vector<TPointF> figure;
    bool anyCut = false;
    double travelled = 0, figureStart = 0;
    const size_t n = dev.size();
    for (size_t i = 0; i + 1 < n + (closed ? 1 : 0); ++i) {
        TPointF a{dev[i].X + 0.5, dev[i].Y + 0.5};
        TPointF b{dev[(i + 1) % n].X + 0.5, dev[(i + 1) % n].Y + 0.5};
        const double length = std::hypot(b.X - a.X, b.Y - a.Y);
        double t0 = 0, t1 = 1;
        const bool seen = detail::ClipSegment(a, b, clipBox, &t0, &t1);
        if (seen && !figure.empty() && (t0 > 0 || figure.back() != a)) {
            path.AddFigure(figure, false);
            figure.clear();
        }
        if (seen) {
            if (figure.empty()) {
                figure.push_back(a);
                figureStart = travelled + t0 * length;
            }
            figure.push_back(b);
        }
        anyCut = anyCut || !seen || t0 > 0 || t1 < 1;
        if (seen && t1 < 1) {
            path.AddFigure(figure, false);
            figure.clear();
        }
        travelled += length;
    }
    if (!figure.empty()) {
        if (closed && !anyCut) {
            figure.pop_back(); // the closing point repeats the first
            path.AddFigure(figure, true);
        } else {
            path.AddFigure(figure, false);
        }
    }
    if (path.IsEmpty()) {
        return;
    }
    TDevicePen devicePen = pen.Device;
    devicePen.DashOffset = figureStart;
    if (pen.GapsOpaque) {
        TDevicePen gaps = devicePen;
        gaps.Dashes.clear();
        gaps.Color = pen.GapColor;
        FDevice->StrokePath(path, gaps);
    }
    FDevice->StrokePath(path, devicePen);
}

void TCanvas::StrokePoints(const std::vector<TPoint> &points, bool closed) {
    if (points.size() < 2 || !Visible()) {
        return;
    }
    const detail::TResolvedPen pen = ResolvePen();
    if (pen.None) {
        return;
    }
    std::vector<TPoint64> dev;
    dev.reserve(points.size());
    for (const TPoint &p : points) {
        dev.push_back(ToDevice(p));
    }
    StrokeDevice(dev, closed, pen);
}

void TCanvas::FillDevicePolygons(const std::vector<std::vector<TPointF>> &polygons,
                                 int32_t fillMode, const detail::TResolvedBrush &brush) {
    const TRectF box = Grown(FEffective.GetBounds(), 2);
    TDevicePath path;
    for (const std::vector<TPointF> &polygon : polygons) {
        if (polygon.size() < 3) {
            continue;
        }
        const std::vector<TPointF> clipped = detail::ClipPolygon(polygon, box);
        if (clipped.size() >= 3) {
            path.AddFigure(clipped, true);
        }
    }
    if (!path.IsEmpty()) {
        FDevice->FillPath(path, fillMode == WINDING ? TFillRule::Winding : TFillRule::Alternate,
                          brush.Device);
    }
}

void TCanvas::FillPolygons(const std::vector<std::vector<TPoint>> &polygons, int32_t fillMode) {
    detail::TResolvedBrush brush;
    ResolveBrush(brush, detail::MixOf(FPen.GetMode()));
    if (brush.None) {
        return;
    }
    std::vector<std::vector<TPointF>> device;
    for (const std::vector<TPoint> &polygon : polygons) {
        std::vector<TPointF> &d = device.emplace_back();
        for (const TPoint &p : polygon) {
            const TPoint64 q = ToDevice(p);
            d.push_back({double(q.X), double(q.Y)});
        }
    }
    FillDevicePolygons(device, fillMode, brush);
}

void TCanvas::LineTo(int32_t x, int32_t y) {
    const TPoint from = FPenPos;
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = TCanvasOpKind::LineTo;
        op.Points = {from, {x, y}};
        Record(op);
    }
    FPenPos = {x, y};
    StrokePoints({from, {x, y}}, false);
}

void TCanvas::Polyline(const std::vector<TPoint> &points) {
    if (FRecorder && points.size() >= 2) {
        TCanvasOp op;
        op.Kind = TCanvasOpKind::Polyline;
        op.Points = points;
        Record(op);
    }
    StrokePoints(points, false);
}

void TCanvas::Polygon(const std::vector<TPoint> &points) {
    PolyPolygon({points});
}

void TCanvas::PolyPolygon(const std::vector<std::vector<TPoint>> &polygons) {
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = TCanvasOpKind::PolyPolygon;
        for (const auto &polygon : polygons) {
            op.Points.insert(op.Points.end(), polygon.begin(), polygon.end());
            op.Counts.push_back(uint32_t(polygon.size()));
        }
        Record(op);
    }
    if (!Visible()) {
        return;
    }
    FillPolygons(polygons, FPolyFillMode);
    for (const auto &polygon : polygons) {
        StrokePoints(polygon, true);
    }
}

void TCanvas::FillRect(const TRect &r) {
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = TCanvasOpKind::FillRect;
        op.Rect = r;
        Record(op);
    }
    detail::TResolvedBrush brush;
    ResolveBrush(brush, TMixMode::Copy);
    FillLogicalRect(r, brush);
}

// A logical rectangle filled with brush; nothing when it is empty once mapped (an inverted
// rectangle draws nothing).
void TCanvas::FillLogicalRect(const TRect &r, const detail::TResolvedBrush &brush) {
    if (brush.None || !Visible()) {
        return;
    }
    if (FToDevice.IsAxisAligned()) {
        const TPoint64 a = ToDevice(r.TopLeft()), b = ToDevice(r.BottomRight());
        if (b.X <= a.X || b.Y <= a.Y) {
            return;
        }
        const TRect d = Clamped(DeviceRect(r), FEffective.GetBounds());
        if (!d.IsEmpty()) {
            FDevice->FillRects({d}, brush.Device);
        }
        return;
    }
    if (r.IsEmpty()) {
        return;
    }
    std::vector<TPointF> quad;
    for (const TPoint p :
         {r.TopLeft(), TPoint{r.Right, r.Top}, r.BottomRight(), TPoint{r.Left, r.Bottom}}) {
        quad.push_back(FToDevice.Map(double(p.X), double(p.Y)));
    }
    FillDevicePolygons({quad}, WINDING, brush);
}

void TCanvas::FrameRect(const TRect &r) {
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = TCanvasOpKind::FrameRect;
        op.Rect = r;
        Record(op);
    }
    detail::TResolvedBrush brush;
    ResolveBrush(brush, TMixMode::Copy);
    const TRect d = DeviceRect(r);
    if (brush.None || d.IsEmpty() || !Visible()) {
        return;
    }
    std::vector<TRect> sides = {
        {d.Left, d.Top, d.Right, d.Top + 1},
        {d.Left, d.Bottom - 1, d.Right, d.Bottom},
        {d.Left, d.Top, d.Left + 1, d.Bottom},
        {d.Right - 1, d.Top, d.Right, d.Bottom},
    };
    std::vector<TRect> visible;
    for (const TRect &s : sides) {
        const TRect c = Clamped(s, FEffective.GetBounds());
        if (!c.IsEmpty()) {
            visible.push_back(c);
        }
    }
    if (!visible.empty()) {
        FDevice->FillRects(visible, brush.Device);
    }
}

void TCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = TCanvasOpKind::Rectangle;
        op.Rect = Rect(x1, y1, x2, y2);
        Record(op);
    }
    if (!Visible()) {
        return;
    }
    if (!FToDevice.IsAxisAligned()) {
        const std::vector<TPoint> corners = {{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}};
        FillPolygons({corners}, WINDING);
        StrokePoints(corners, true);
        return;
    }
    const TRect r = DeviceRect(Rect(x1, y1, x2, y2));
    if (r.IsEmpty()) {
        return;
    }
    const detail::TResolvedPen pen = ResolvePen();
    detail::TResolvedBrush brush;
    ResolveBrush(brush, detail::MixOf(FPen.GetMode()));
    const TRect box = FEffective.GetBounds();
    auto fill = [&](const TRect &area) {
        const TRect c = Clamped(area, box);
        if (!brush.None && !c.IsEmpty()) {
            FDevice->FillRects({c}, brush.Device);
        }
    };
    if (pen.None) {
        fill(Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1));
        return;
    }
    const int32_t w = int32_t(pen.Device.Width);
    TRect outer = r;
    if (FPen.GetStyle() != psInsideFrame && w > 1) {
        // A wide pen is centred on the frame line, as GDI draws it.
        outer.Inflate((w - 1) / 2, (w - 1) / 2);
    }
    TRect inner = outer;
    inner.Inflate(-w, -w);
    fill(inner);
    if (pen.Pattern.empty()) {
        const TRegion ring = TRegion(Clamped(outer, box)).Subtract(TRegion(inner));
        TDeviceBrush ink;
        ink.Color = pen.Device.Color;
        ink.Mix = pen.Device.Mix;
        if (!ring.IsEmpty()) {
            FDevice->FillRects(ring.GetRects(), ink);
        }
        return;
    }
    const std::vector<TPoint64> frame = {
        {r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}};
    StrokeDevice(frame, true, pen);
}

void TCanvas::RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w, int32_t h) {
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = TCanvasOpKind::RoundRect;
        op.Rect = Rect(x1, y1, x2, y2);
        op.Corner = {w, h};
        Record(op);
    }
    DrawCurve(Rect(x1, y1, x2, y2), {}, {}, detail::TCurveKind::RoundRect, {w, h});
}

void TCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = TCanvasOpKind::Ellipse;
        op.Rect = Rect(x1, y1, x2, y2);
        Record(op);
    }
    DrawCurve(Rect(x1, y1, x2, y2), {}, {}, detail::TCurveKind::Ellipse, {});
}

void TCanvas::ArcOp(detail::TCurveKind kind, const TRect &box, TPoint start, TPoint end) {
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = kind == detail::TCurveKind::Arc   ? TCanvasOpKind::Arc
                  : kind == detail::TCurveKind::Pie ? TCanvasOpKind::Pie
                                                    : TCanvasOpKind::Chord;
        op.Rect = box;
        op.Points = {start, end};
        Record(op);
    }
    DrawCurve(box, start, end, kind, {});
}

void TCanvas::Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                  int32_t x4, int32_t y4) {
    ArcOp(detail::TCurveKind::Arc, Rect(x1, y1, x2, y2), {x3, y3}, {x4, y4});
}

void TCanvas::Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                  int32_t x4, int32_t y4) {
    ArcOp(detail::TCurveKind::Pie, Rect(x1, y1, x2, y2), {x3, y3}, {x4, y4});
}

void TCanvas::Chord(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                    int32_t x4, int32_t y4) {
    ArcOp(detail::TCurveKind::Chord, Rect(x1, y1, x2, y2), {x3, y3}, {x4, y4});
}

namespace {

struct TCurveShape {
    TPointF Center;
    double Rx = 0, Ry = 0;
    double Start = 0, Sweep = 2 * std::numbers::pi;
};

// The outline of a curved shape in logical coordinates, radii grown by (dx, dy).
std::vector<TPointF> CurvePoints(detail::TCurveKind kind, const TCurveShape &s, TSize corner,
                                 double dx, double dy, const TRectF &box, double tolerance) {
    std::vector<TPointF> pts;
    const double rx = std::max(0.0, s.Rx + dx), ry = std::max(0.0, s.Ry + dy);
    if (kind == detail::TCurveKind::RoundRect) {
        const double cw = std::min(std::abs(corner.cx) / 2.0, s.Rx) + dx;
        const double ch = std::min(std::abs(corner.cy) / 2.0, s.Ry) + dy;
        const double ax = std::max(0.0, cw), ay = std::max(0.0, ch);
        const double ix = rx - ax, iy = ry - ay;
        const double pi = std::numbers::pi;
        const TPointF centres[4] = {{s.Center.X + ix, s.Center.Y - iy},
                                    {s.Center.X - ix, s.Center.Y - iy},
                                    {s.Center.X - ix, s.Center.Y + iy},
                                    {s.Center.X + ix, s.Center.Y + iy}};
        for (int q = 0; q < 4; ++q) {
            detail::FlattenArc(centres[q], ax, ay, q * pi / 2, pi / 2, box, tolerance, pts);
        }
        return pts;
    }
    if (kind == detail::TCurveKind::Pie) {
        pts.push_back(s.Center);
    }
    detail::FlattenArc(s.Center, rx, ry, s.Start, s.Sweep, box, tolerance, pts);
    return pts;
}

} // namespace

void TCanvas::DrawCurve(const TRect &box, TPoint start, TPoint end, detail::TCurveKind kind,
                        TSize corner) {
    const double x1 = std::min(box.Left, box.Right), x2 = std::max(box.Left, box.Right);
    const double y1 = std::min(box.Top, box.Bottom), y2 = std::max(box.Top, box.Bottom);
    if (x2 - x1 < 1 || y2 - y1 < 1 || !Visible()) {
        return;
    }
    const detail::TResolvedPen pen = ResolvePen();
    detail::TResolvedBrush brush;
    ResolveBrush(brush, detail::MixOf(FPen.GetMode()));
    TCurveShape shape;
    shape.Center = {(x1 + x2) / 2, (y1 + y2) / 2};
    shape.Rx = (x2 - x1) / 2;
    shape.Ry = (y2 - y1) / 2;
    if (kind == detail::TCurveKind::Arc || kind == detail::TCurveKind::Pie ||
        kind == detail::TCurveKind::Chord) {
        const auto angle = [&](TPoint p) {
            return std::atan2(-(p.Y - shape.Center.Y) / shape.Ry,
                              (p.X - shape.Center.X) / shape.Rx);
        };
        shape.Start = angle(start);
        shape.Sweep = angle(end) - shape.Start;
        while (shape.Sweep <= 1e-12) {
            shape.Sweep += 2 * std::numbers::pi;
        }
    }
    // What can be seen, in logical coordinates, and the logical length of a device pixel.
    const TPointF ux = FToDevice.MapVector(1, 0), uy = FToDevice.MapVector(0, 1);
    const double kx = std::max(1e-9, std::hypot(ux.X, ux.Y));
    const double ky = std::max(1e-9, std::hypot(uy.X, uy.Y));
    const TRectF seen = Grown(FEffective.GetBounds(), pen.Device.Width + 2);
    TRectF logicalSeen{1e300, 1e300, -1e300, -1e300};
    for (const TPointF c : {TPointF{seen.Left, seen.Top}, TPointF{seen.Right, seen.Top},
                            TPointF{seen.Left, seen.Bottom}, TPointF{seen.Right, seen.Bottom}}) {
        const TPointF l = FFromDevice.Map(c);
        logicalSeen = {std::min(logicalSeen.Left, l.X), std::min(logicalSeen.Top, l.Y),
                       std::max(logicalSeen.Right, l.X), std::max(logicalSeen.Bottom, l.Y)};
    }
    const double tolerance = 0.2 / std::max(kx, ky);
    if (kind != detail::TCurveKind::Arc && !brush.None) {
        std::vector<TPointF> outline =
            CurvePoints(kind, shape, corner, 0, 0, logicalSeen, tolerance);
        for (TPointF &p : outline) {
            p = FToDevice.Map(p);
        }
        FillDevicePolygons({outline}, WINDING, brush);
    }
    if (pen.None) {
        return;
    }
    // The pen runs through the centres of the outermost pixels (inside the frame for
    // psInsideFrame).
    const double inset =
        FPen.GetStyle() == psInsideFrame && !pen.Cosmetic ? pen.Device.Width / 2 : 0.5;
    std::vector<TPointF> line =
        CurvePoints(kind, shape, corner, -inset / kx, -inset / ky, logicalSeen, tolerance);
    const bool closed = kind != detail::TCurveKind::Arc;
    std::vector<TPoint64> dev;
    dev.reserve(line.size());
    for (const TPointF &p : line) {
        const TPointF d = FToDevice.Map(p);
        dev.push_back({detail::RoundCoord(d.X - 0.5), detail::RoundCoord(d.Y - 0.5)});
    }
    StrokeDevice(dev, closed, pen);
}

void TCanvas::FillRectAlpha(const TRect &r, TColor color, uint8_t alpha) {
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = TCanvasOpKind::FillRectAlpha;
        op.Rect = r;
        op.Color = color;
        op.Alpha = alpha;
        Record(op);
    }
    if (alpha == 0 || color == clNone) {
        return;
    }
    detail::TResolvedBrush brush;
    brush.None = false;
    brush.Device.Color = Rgb(color);
    brush.Device.Alpha = alpha;
    FillLogicalRect(r, brush);
}

void TCanvas::DrawFocusRect(const TRect &r) {
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = TCanvasOpKind::FocusRect;
        op.Rect = r;
        Record(op);
    }
    const TRect d = DeviceRect(r);
    if (d.IsEmpty() || !Visible() || FDevice->GetCaps().Vector) {
        return;
    }
    // Every other pixel of the frame, counted from the top-left corner, is inverted; only the
    // pixels within the clip bounds are visited.
    const TRect box = IntersectRect(FEffective.GetBounds(), d);
    std::vector<TRect> dots;
    auto dot = [&](int32_t x, int32_t y) {
        if ((int64_t(x) - d.Left + int64_t(y) - d.Top) % 2 == 0) {
            dots.push_back({x, y, x + 1, y + 1});
        }
    };
    std::vector<int32_t> rows = {d.Top}, columns = {d.Left};
    if (d.Bottom - 1 > d.Top) {
        rows.push_back(d.Bottom - 1);
    }
    if (d.Right - 1 > d.Left) {
        columns.push_back(d.Right - 1);
    }
    for (const int32_t y : rows) {
        if (y >= box.Top && y < box.Bottom) {
            for (int32_t x = box.Left; x < box.Right; ++x) {
                dot(x, y);
            }
        }
    }
    for (const int32_t x : columns) {
        if (x >= box.Left && x < box.Right) {
            for (int32_t y = std::max(box.Top, d.Top + 1); y < std::min(box.Bottom, d.Bottom - 1);
                 ++y) {
                dot(x, y);
            }
        }
    }
    if (!dots.empty()) {
        TDeviceBrush white;
        white.Color = 0xFFFFFF;
        white.Mix = TMixMode::Xor;
        FDevice->FillRects(dots, white);
    }
}

void TCanvas::SetPixel(int32_t x, int32_t y, TColor color) {
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = TCanvasOpKind::SetPixel;
        op.Points = {{x, y}};
        op.Color = color;
        Record(op);
    }
    if (!Visible()) {
        return;
    }
    const TPoint64 p = ToDevice({x, y});
    const TRect box = FEffective.GetBounds();
    if (p.X < box.Left || p.X >= box.Right || p.Y < box.Top || p.Y >= box.Bottom) {
        return;
    }
    TDeviceBrush brush;
    brush.Color = Rgb(color);
    FDevice->FillRects({{int32_t(p.X), int32_t(p.Y), int32_t(p.X) + 1, int32_t(p.Y) + 1}}, brush);
}

} // namespace gfx
