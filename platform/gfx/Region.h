// TRegion: an area of whole pixels as y-banded rectangles (the clip regions of canvases).
//
// Contract:
// - A region is a set of pixels. It is kept in one canonical form: rectangles sorted by Top,
//   then Left; the rectangles of one band share Top and Bottom, do not overlap or touch within
//   the band; two bands that touch vertically never hold the same x-intervals (they are one
//   band then). So two regions are equal exactly when their rectangle lists are equal.
// - Rectangles exclude their right and bottom edges (TRect); empty rectangles add nothing.
// - Coordinates are kept within +-RegionLimit (2^30): larger ones are clamped, so offsets and
//   widths never overflow 32 bits.
// - Operations never throw except for allocation failure; they allocate in proportion to the
//   number of rectangles, never to the area.
#pragma once

#include "platform/gfx/Types.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gfx {

// Ways to combine two regions, with the Windows values.
enum TRegionOp : int32_t { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

// What a combination produced, with the Windows values.
enum TRegionKind : int32_t { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

class TRegion {
public:
    static constexpr int32_t RegionLimit = 1 << 30;

    TRegion() = default;
    explicit TRegion(const TRect &r);
    // The union of any rectangles (they may overlap).
    static TRegion FromRects(const std::vector<TRect> &rects);

    bool IsEmpty() const { return FRects.empty(); }
    // The smallest rectangle holding the region; all zero when empty.
    TRect GetBounds() const { return FBounds; }
    const std::vector<TRect> &GetRects() const { return FRects; }
    TRegionKind GetKind() const;

    bool Contains(TPoint p) const;           // PtInRegion
    bool ContainsRect(const TRect &r) const; // every pixel of r (an empty r: false)
    bool Intersects(const TRect &r) const;   // RectInRegion: some pixel of r
    bool Intersects(const TRegion &other) const;

    TRegion Union(const TRegion &other) const;
    TRegion Intersect(const TRegion &other) const;
    TRegion Subtract(const TRegion &other) const; // this minus other
    TRegion Xor(const TRegion &other) const;
    TRegion Combine(const TRegion &other, TRegionOp op) const; // RGN_COPY gives this
    void Offset(int32_t dx, int32_t dy);
    // The region under x' = x * sx + dx, y' = y * sy + dy (negative factors flip), each
    // rectangle edge rounded to the nearest pixel edge; for scaling clip regions into another
    // device's pixels.
    TRegion Scaled(double sx, double sy, double dx, double dy) const;

    friend bool operator==(const TRegion &a, const TRegion &b) { return a.FRects == b.FRects; }

private:
    enum class TBoolOp : uint8_t { And, Or, Xor, Diff };
    static TRegion Op(const TRegion &a, const TRegion &b, TBoolOp op);
    void UpdateBounds();

    std::vector<TRect> FRects;
    TRect FBounds;
};

// CombineRgn: dest := a op b; returns the kind of the result.
TRegionKind CombineRgn(TRegion &dest, const TRegion &a, const TRegion &b, TRegionOp op);

} // namespace gfx
