// Helpers shared by the line units: 64-bit rounded multiply-divide, clipping of a line to a
// box, the reported areas and the saturating float to 16.16 conversion.
#pragma once

#include "raster/Raster.h"

#include "platform/rtl/Rounding.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace raster::detail {

inline constexpr uint32_t kLineInfo = AreaInfoLine + 2;

// Halves away from zero, in 64 bits (the clipping of fixed-point lines).
inline int64_t MulDiv64(int64_t a, int64_t b, int64_t c) {
    const bool negative = ((a < 0) != (b < 0)) != (c < 0);
    const uint64_t p = uint64_t(std::llabs(a)) * uint64_t(std::llabs(b));
    const uint64_t uc = uint64_t(std::llabs(c));
    uint64_t q = p / uc;
    const uint64_t r = p % uc;
    if (r >= uc - r) {
        ++q;
    }
    return negative ? -int64_t(q) : int64_t(q);
}

inline int OutCode(int64_t x, int64_t y, int64_t minX, int64_t minY, int64_t maxX, int64_t maxY) {
    return (x < minX ? 1 : 0) | (x > maxX ? 2 : 0) | (y < minY ? 4 : 0) | (y > maxY ? 8 : 0);
}

// Cohen-Sutherland against an inclusive box; true when a visible part remains.
inline bool ClipLineToBox(int32_t &ix1, int32_t &iy1, int32_t &ix2, int32_t &iy2, int32_t minX,
                          int32_t minY, int32_t maxX, int32_t maxY) {
    int64_t x1 = ix1, y1 = iy1, x2 = ix2, y2 = iy2;
    int c1 = OutCode(x1, y1, minX, minY, maxX, maxY);
    int c2 = OutCode(x2, y2, minX, minY, maxX, maxY);
    if ((c1 & c2) == 0 && (c1 | c2) != 0) {
        if (c1 & 12) {
            const int64_t v = c1 < 8 ? minY : maxY;
            x1 += MulDiv64(v - y1, x2 - x1, y2 - y1);
            y1 = v;
            c1 = OutCode(x1, y1, minX, minY, maxX, maxY) & 3;
        }
        if (c2 & 12) {
            const int64_t v = c2 < 8 ? minY : maxY;
            x2 += MulDiv64(v - y2, x2 - x1, y2 - y1);
            y2 = v;
            c2 = OutCode(x2, y2, minX, minY, maxX, maxY) & 3;
        }
        if ((c1 & c2) == 0 && (c1 | c2) != 0) {
            if (c1 != 0) {
                const int64_t v = c1 == 1 ? minX : maxX;
                y1 += MulDiv64(v - x1, y2 - y1, x2 - x1);
                x1 = v;
                c1 = 0;
            }
            if (c2 != 0) {
                const int64_t v = c2 == 1 ? minX : maxX;
                y2 += MulDiv64(v - x2, y2 - y1, x2 - x1);
                x2 = v;
                c2 = 0;
            }
        }
    }
    ix1 = int32_t(x1);
    iy1 = int32_t(y1);
    ix2 = int32_t(x2);
    iy2 = int32_t(y2);
    return c1 == 0 && c2 == 0;
}

inline TRect LineArea(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return {x1, y1, x2, y2};
}

inline TRect FixedLineArea(TFixed x1, TFixed y1, TFixed x2, TFixed y2) {
    return {FixedToIntRound(x1), FixedToIntRound(y1), FixedToIntRound(x2), FixedToIntRound(y2)};
}

// A 32-bit float to 16.16 with saturation instead of wrap-around.
inline TFixed FloatToFixed(double v) {
    return rtl::RoundSaturated<TFixed>(v * 65536);
}

// Truncating whole pixels of a 16.16 difference.
inline float WholePixels(int64_t d) {
    return float(d / 65536);
}

inline constexpr float kLTable[2] = {0.0f, 1.0f};

} // namespace raster::detail
