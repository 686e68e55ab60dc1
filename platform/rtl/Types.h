// Points, sizes and rectangles with the Windows conventions: a rectangle holds the pixels from
// Left/Top up to, but not including, Right/Bottom. Shared by the canvas and the raster library.
#pragma once

#include <cstdint>

namespace rtl {

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint &, const TPoint &) = default;
};

struct TSize {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const TSize &, const TSize &) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    // True when the rectangle holds no pixel (zero or negative extent).
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    void Offset(int32_t dx, int32_t dy) {
        Left += dx;
        Right += dx;
        Top += dy;
        Bottom += dy;
    }
    // Grows (positive) or shrinks (negative) every side, as InflateRect.
    void Inflate(int32_t dx, int32_t dy) {
        Left -= dx;
        Right += dx;
        Top -= dy;
        Bottom += dy;
    }
    friend bool operator==(const TRect &, const TRect &) = default;
};

inline TPoint Point(int32_t x, int32_t y) {
    return {x, y};
}
inline TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {left, top, right, bottom};
}
inline TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {left, top, left + width, top + height};
}

// The common part of two rectangles; an empty rectangle (all zero) when they do not overlap.
TRect IntersectRect(const TRect &a, const TRect &b);
// The smallest rectangle holding both; an empty one does not count.
TRect UnionRect(const TRect &a, const TRect &b);

} // namespace rtl
