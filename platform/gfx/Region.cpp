// TRegion: set operations on y-banded rectangle lists.
#include "platform/gfx/Region.h"

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

int32_t Clamp(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, -TRegion::RegionLimit, TRegion::RegionLimit));
}

struct TInterval {
    int32_t Left, Right;
    friend bool operator==(const TInterval &, const TInterval &) = default;
};

// One band of a canonical rectangle list: rects [Begin, End) share Top and Bottom.
struct TBand {
    int32_t Top, Bottom;
    size_t Begin, End;
};

std::vector<TBand> BandsOf(const std::vector<TRect> &rects) {
    std::vector<TBand> bands;
    for (size_t i = 0; i < rects.size(); ++i) {
        if (bands.empty() || rects[i].Top != bands.back().Top) {
            bands.push_back({rects[i].Top, rects[i].Bottom, i, i + 1});
        } else {
            bands.back().End = i + 1;
        }
    }
    return bands;
}

// The x-intervals of a band list at the rows [y, ...); empty when no band covers y. The band
// index only moves forward, as the callers visit rows in increasing order.
void IntervalsAt(const std::vector<TRect> &rects, const std::vector<TBand> &bands, size_t &index,
                 int32_t y, std::vector<TInterval> &out) {
    out.clear();
    while (index < bands.size() && bands[index].Bottom <= y) {
        ++index;
    }
    if (index < bands.size() && bands[index].Top <= y) {
        for (size_t i = bands[index].Begin; i < bands[index].End; ++i) {
            out.push_back({rects[i].Left, rects[i].Right});
        }
    }
}

bool Inside(const std::vector<TInterval> &list, size_t &k, int32_t x) {
    while (k < list.size() && list[k].Right <= x) {
        ++k;
    }
    return k < list.size() && list[k].Left <= x;
}

} // namespace

TRegion::TRegion(const TRect &r) {
    const TRect c{Clamp(r.Left), Clamp(r.Top), Clamp(r.Right), Clamp(r.Bottom)};
    if (!c.IsEmpty()) {
        FRects.push_back(c);
        FBounds = c;
    }
}

TRegion TRegion::FromRects(const std::vector<TRect> &rects) {
    // Pairwise unions in rounds keep the work near n log n for many rectangles.
    std::vector<TRegion> parts;
    parts.reserve(rects.size());
    for (const TRect &r : rects) {
        if (!r.IsEmpty()) {
            parts.emplace_back(r);
        }
    }
    while (parts.size() > 1) {
        std::vector<TRegion> next;
        next.reserve((parts.size() + 1) / 2);
        for (size_t i = 0; i < parts.size(); i += 2) {
            next.push_back(i + 1 < parts.size() ? parts[i].Union(parts[i + 1]) : parts[i]);
        }
        parts.swap(next);
    }
    return parts.empty() ? TRegion() : std::move(parts.front());
}

TRegionKind TRegion::GetKind() const {
    return FRects.empty() ? NULLREGION : FRects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void TRegion::UpdateBounds() {
    if (FRects.empty()) {
        FBounds = {};
        return;
    }
    FBounds = {FRects.front().Left, FRects.front().Top, FRects.front().Right, FRects.back().Bottom};
    for (const TRect &r : FRects) {
        FBounds.Left = std::min(FBounds.Left, r.Left);
        FBounds.Right = std::max(FBounds.Right, r.Right);
    }
}

bool TRegion::Contains(TPoint p) const {
    if (!FBounds.Contains(p)) {
        return false;
    }
    // Rectangles are sorted by Top; the first one whose Bottom is below p.Y starts its band.
    auto it = std::lower_bound(FRects.begin(), FRects.end(), p.Y,
                               [](const TRect &r, int32_t y) { return r.Bottom <= y; });
    for (; it != FRects.end() && it->Top <= p.Y; ++it) {
        if (it->Contains(p)) {
            return true;
        }
    }
    return false;
}

bool TRegion::ContainsRect(const TRect &r) const {
    if (r.IsEmpty()) {
        return false;
    }
    return TRegion(r).Subtract(*this).IsEmpty();
}

bool TRegion::Intersects(const TRect &r) const {
    if (r.IsEmpty() || IntersectRect(r, FBounds).IsEmpty()) {
        return false;
    }
    for (const TRect &k : FRects) {
        if (k.Top >= r.Bottom) {
            break;
        }
        if (!IntersectRect(k, r).IsEmpty()) {
            return true;
        }
    }
    return false;
}

bool TRegion::Intersects(const TRegion &other) const {
    return !Intersect(other).IsEmpty();
}

TRegion TRegion::Union(const TRegion &other) const {
    if (other.IsEmpty()) {
        return *this;
    }
    if (IsEmpty()) {
        return other;
    }
    return Op(*this, other, TBoolOp::Or);
}

TRegion TRegion::Intersect(const TRegion &other) const {
    if (IsEmpty() || other.IsEmpty() || IntersectRect(FBounds, other.FBounds).IsEmpty()) {
        return {};
    }
    return Op(*this, other, TBoolOp::And);
}

TRegion TRegion::Subtract(const TRegion &other) const {
    if (IsEmpty() || other.IsEmpty() || IntersectRect(FBounds, other.FBounds).IsEmpty()) {
        return *this;
    }
    return Op(*this, other, TBoolOp::Diff);
}

TRegion TRegion::Xor(const TRegion &other) const {
    if (other.IsEmpty()) {
        return *this;
    }
    if (IsEmpty()) {
        return other;
    }
    return Op(*this, other, TBoolOp::Xor);
}

TRegion TRegion::Combine(const TRegion &other, TRegionOp op) const {
    switch (op) {
    case RGN_AND:
        return Intersect(other);
    case RGN_OR:
        return Union(other);
    case RGN_XOR:
        return Xor(other);
    case RGN_DIFF:
        return Subtract(other);
    default:
        return *this;
    }
}

TRegion TRegion::Op(const TRegion &a, const TRegion &b, TBoolOp op) {
    const std::vector<TBand> bandsA = BandsOf(a.FRects), bandsB = BandsOf(b.FRects);
    std::vector<int32_t> ys;
    ys.reserve(2 * (bandsA.size() + bandsB.size()));
    for (const auto *bands : {&bandsA, &bandsB}) {
        for (const TBand &band : *bands) {
            ys.push_back(band.Top);
            ys.push_back(band.Bottom);
        }
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    TRegion out;
    std::vector<TInterval> ia, ib, merged, previous;
    std::vector<int32_t> xs;
    size_t bandA = 0, bandB = 0, previousBegin = 0;
    for (size_t yi = 0; yi + 1 < ys.size(); ++yi) {
        const int32_t y0 = ys[yi], y1 = ys[yi + 1];
        IntervalsAt(a.FRects, bandsA, bandA, y0, ia);
        IntervalsAt(b.FRects, bandsB, bandB, y0, ib);
        xs.clear();
        for (const auto *list : {&ia, &ib}) {
            for (const TInterval &i : *list) {
                xs.push_back(i.Left);
                xs.push_back(i.Right);
            }
        }
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
        merged.clear();
        size_t ka = 0, kb = 0;
        for (size_t xi = 0; xi + 1 < xs.size(); ++xi) {
            const bool inA = Inside(ia, ka, xs[xi]), inB = Inside(ib, kb, xs[xi]);
            const bool in = op == TBoolOp::And   ? inA && inB
                            : op == TBoolOp::Or  ? inA || inB
                            : op == TBoolOp::Xor ? inA != inB
                                                 : inA && !inB;
            if (!in) {
                continue;
            }
            if (!merged.empty() && merged.back().Right == xs[xi]) {
                merged.back().Right = xs[xi + 1];
            } else {
                merged.push_back({xs[xi], xs[xi + 1]});
            }
        }
        if (merged.empty()) {
            continue;
        }
        // A band that continues the previous one with the same intervals extends it.
        if (!out.FRects.empty() && out.FRects.back().Bottom == y0 && merged == previous) {
            for (size_t i = previousBegin; i < out.FRects.size(); ++i) {
                out.FRects[i].Bottom = y1;
            }
            continue;
        }
        previousBegin = out.FRects.size();
        for (const TInterval &i : merged) {
            out.FRects.push_back({i.Left, y0, i.Right, y1});
        }
        previous = merged;
    }
    out.UpdateBounds();
    return out;
}

void TRegion::Offset(int32_t dx, int32_t dy) {
    if (FRects.empty()) {
        return;
    }
    // Clamping may squeeze rectangles at the limit into nothing; rebuild in that case.
    bool clamped = false;
    for (TRect &r : FRects) {
        const TRect moved{Clamp(int64_t(r.Left) + dx), Clamp(int64_t(r.Top) + dy),
                          Clamp(int64_t(r.Right) + dx), Clamp(int64_t(r.Bottom) + dy)};
        clamped = clamped || moved.Width() != r.Width() || moved.Height() != r.Height();
        r = moved;
    }
    if (clamped) {
        *this = FromRects(std::vector<TRect>(FRects));
        return;
    }
    UpdateBounds();
}

TRegion TRegion::Scaled(double sx, double sy, double dx, double dy) const {
    std::vector<TRect> rects;
    rects.reserve(FRects.size());
    auto edge = [](double v) { return Clamp(int64_t(std::llround(std::clamp(v, -4e9, 4e9)))); };
    for (const TRect &r : FRects) {
        const int32_t x1 = edge(r.Left * sx + dx), x2 = edge(r.Right * sx + dx);
        const int32_t y1 = edge(r.Top * sy + dy), y2 = edge(r.Bottom * sy + dy);
        rects.push_back({std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)});
    }
    return FromRects(rects);
}

TRegionKind CombineRgn(TRegion &dest, const TRegion &a, const TRegion &b, TRegionOp op) {
    if (op < RGN_AND || op > RGN_COPY) {
        return RGN_ERROR;
    }
    dest = a.Combine(b, op);
    return dest.GetKind();
}

} // namespace gfx
