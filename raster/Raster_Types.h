// Value types of the raster library: 32-bit colours, 16.16 fixed point, points and rectangles.
#pragma once

#include "platform/rtl/Types.h"

#include <cstdint>
#include <vector>

namespace raster {

// $AARRGGBB, straight (not premultiplied) alpha; in memory the bytes are B, G, R, A.
using TColor32 = uint32_t;
using PColor32 = TColor32 *;
using TArrayOfColor32 = std::vector<TColor32>;

// 16.16 fixed point: integer part in the upper 16 bits; 1.0 = 65536.
using TFixed = int32_t;
constexpr TFixed FixedOne = 0x10000;
constexpr TFixed FixedHalf = 0x8000;

using TArrayOfInteger = std::vector<int32_t>;

using rtl::TPoint;

struct TFixedPoint {
    TFixed X = 0;
    TFixed Y = 0;
    friend bool operator==(const TFixedPoint &, const TFixedPoint &) = default;
};

struct TFloatPoint {
    float X = 0;
    float Y = 0;
    friend bool operator==(const TFloatPoint &, const TFloatPoint &) = default;
};

// Right and bottom are exclusive.
using rtl::TRect;

struct TFixedRect {
    TFixed Left = 0;
    TFixed Top = 0;
    TFixed Right = 0;
    TFixed Bottom = 0;
    TFixedPoint TopLeft() const { return {Left, Top}; }
    TFixedPoint BottomRight() const { return {Right, Bottom}; }
    friend bool operator==(const TFixedRect &, const TFixedRect &) = default;
};

struct TFloatRect {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
    TFloatPoint TopLeft() const { return {Left, Top}; }
    TFloatPoint BottomRight() const { return {Right, Bottom}; }
    friend bool operator==(const TFloatRect &, const TFloatRect &) = default;
};

using rtl::TSize;

// Channel access.
constexpr uint32_t AlphaComponent(TColor32 c) {
    return c >> 24;
}
constexpr uint32_t RedComponent(TColor32 c) {
    return (c >> 16) & 0xFF;
}
constexpr uint32_t GreenComponent(TColor32 c) {
    return (c >> 8) & 0xFF;
}
constexpr uint32_t BlueComponent(TColor32 c) {
    return c & 0xFF;
}
constexpr TColor32 Color32(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

} // namespace raster
