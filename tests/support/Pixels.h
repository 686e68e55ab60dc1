// Counting the dark pixels of a picture, for tests that check that something was drawn where
// it belongs.
#pragma once

#include "platform/gfx/Bitmap.h"

#include <cstdint>

namespace wbtest {

// A pixel darker than mid grey (the sum of its channels below three times 128).
inline bool IsDark(gfx::TColor c) {
    const uint32_t v = uint32_t(c);
    return ((v & 0xFF) + ((v >> 8) & 0xFF) + ((v >> 16) & 0xFF)) < 3 * 128;
}

// Number of dark pixels in the rectangle of the image.
inline int DarkPixels(gfx::TBitmap &b, const gfx::TRect &r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            n += IsDark(b.GetCanvas().GetPixel(x, y)) ? 1 : 0;
        }
    }
    return n;
}

} // namespace wbtest
