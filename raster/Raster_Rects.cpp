// Filled, outlined, stippled and raised rectangles of TCustomBitmap32.
#include "raster/Raster.h"

#include <algorithm>
#include <vector>

namespace raster {

namespace {
uint32_t Clamp255(int32_t v) {
    return uint32_t(std::clamp(v, 0, 255));
}
} // namespace

void TCustomBitmap32::FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value) {
    if (FBits && x1 == 0 && x2 == FWidth && y2 > y1) {
        // Whole rows are contiguous: one fill.
        FillDWords(GetScanLine(y1), (y2 - y1) * FWidth, value);
    } else if (FBits) {
        for (int32_t y = y1; y < y2; ++y) {
            FillDWords(GetPixelPtr(x1, y), x2 - x1, value);
        }
    }
    Changed({x1, y1, x2, y2});
}

namespace {
bool Overlaps(const TRect &clip, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return x1 < clip.Right && y1 < clip.Bottom && x2 > clip.Left && y2 > clip.Top;
}
void ClampTo(const TRect &clip, int32_t &x1, int32_t &y1, int32_t &x2, int32_t &y2) {
    x1 = std::max(x1, clip.Left);
    y1 = std::max(y1, clip.Top);
    x2 = std::min(x2, clip.Right);
    y2 = std::min(y2, clip.Bottom);
}

// The four sides of a frame one pixel wide on the inside of (x1, y1)-(x2, y2), through the given
// span routines (horz(x1, y, x2), vert(x, y1, y2), both ends included); every corner pixel is
// written once.
template <class Horz, class Vert>
void PlotFrameSides(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Horz horz, Vert vert) {
    const int32_t r = x2 - 1;
    horz(x1, y1, r);
    if (y1 < y2 - 1) {
        horz(x1, y2 - 1, r);
    }
    if (y1 + 1 < y2 - 1) {
        vert(x1, y1 + 1, y2 - 2);
        if (x1 < r) {
            vert(r, y1 + 1, y2 - 2);
        }
    }
}

} // namespace

void TCustomBitmap32::FillRectS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value) {
    if (!FMeasuringMode && x1 < x2 && y1 < y2 && Overlaps(FClipRect, x1, y1, x2, y2)) {
        ClampTo(FClipRect, x1, y1, x2, y2);
        FillRect(x1, y1, x2, y2, value);
    }
    Changed({x1, y1, x2, y2});
}

void TCustomBitmap32::FillRectS(const TRect &r, TColor32 value) {
    if (FMeasuringMode) {
        Changed(r);
        return;
    }
    FillRectS(r.Left, r.Top, r.Right, r.Bottom, value);
}

// Under cmBlend every pixel is combined with the colour at the colour's alpha, row by row
// through the bound combine routine.
void TCustomBitmap32::FillRectT(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value) {
    const uint32_t a = value >> 24;
    if (a == 255) {
        FillRect(x1, y1, x2, y2, value);
        return;
    }
    if (a == 0) {
        return;
    }
    {
        const auto blendEnds = EndBlendOnExit();
        if (FCombineMode == cmBlend && x2 > x1) {
            const std::vector<TColor32> row(size_t(x2 - x1), value);
            for (int32_t y = y1; y < y2; ++y) {
                CombinePixelRow(row.data(), GetPixelPtr(x1, y), x2 - x1, a);
            }
        } else {
            for (int32_t y = y1; y < y2; ++y) {
                TColor32 *p = GetPixelPtr(x1, y);
                for (int32_t x = x1; x < x2; ++x, ++p) {
                    MergePixelInPlace(value, *p);
                }
            }
        }
    }
    Changed({x1, y1, x2, y2});
}

void TCustomBitmap32::FillRectTS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value) {
    if (!FMeasuringMode && x1 < x2 && y1 < y2 && Overlaps(FClipRect, x1, y1, x2, y2)) {
        ClampTo(FClipRect, x1, y1, x2, y2);
        FillRectT(x1, y1, x2, y2, value);
    }
    Changed({x1, y1, x2, y2});
}

void TCustomBitmap32::FillRectTS(const TRect &r, TColor32 value) {
    if (FMeasuringMode) {
        Changed(r);
        return;
    }
    FillRectTS(r.Left, r.Top, r.Right, r.Bottom, value);
}

void TCustomBitmap32::FrameRectS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value) {
    if (x1 >= x2 || y1 >= y2 || !Overlaps(FClipRect, x1, y1, x2, y2)) {
        return;
    }
    PlotFrameSides(
        x1, y1, x2, y2, [&](int32_t a, int32_t y, int32_t b) { HorzLineS(a, y, b, value); },
        [&](int32_t x, int32_t a, int32_t b) { VertLineS(x, a, b, value); });
}

void TCustomBitmap32::FrameRectS(const TRect &r, TColor32 value) {
    FrameRectS(r.Left, r.Top, r.Right, r.Bottom, value);
}

void TCustomBitmap32::FrameRectTS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value) {
    if (x1 >= x2 || y1 >= y2 || !Overlaps(FClipRect, x1, y1, x2, y2)) {
        return;
    }
    PlotFrameSides(
        x1, y1, x2, y2, [&](int32_t a, int32_t y, int32_t b) { HorzLineTS(a, y, b, value); },
        [&](int32_t x, int32_t a, int32_t b) { VertLineTS(x, a, b, value); });
}

void TCustomBitmap32::FrameRectTS(const TRect &r, TColor32 value) {
    FrameRectTS(r.Left, r.Top, r.Right, r.Bottom, value);
}

// Clockwise, so the pattern runs on around the corners.
void TCustomBitmap32::FrameRectTSP(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (x1 >= x2 || y1 >= y2 || x1 >= FWidth || y1 >= FHeight || x2 <= 0 || y2 <= 0) {
        return;
    }
    if (x2 - x1 == 1 && y2 - y1 == 1) {
        SetPixelT(x1, y1, GetStippleColor());
        Changed({x1, y1, x1 + 1, y1 + 1});
    } else if (x2 - x1 == 1) {
        VertLineTSP(x1, y1, y2 - 1);
    } else if (y2 - y1 == 1) {
        HorzLineTSP(x1, y1, x2 - 1);
    } else {
        HorzLineTSP(x1, y1, x2 - 2);
        VertLineTSP(x2 - 1, y1, y2 - 2);
        HorzLineTSP(x2 - 1, y2 - 1, x1 + 1);
        VertLineTSP(x1, y2 - 1, y1 + 1);
    }
}

void TCustomBitmap32::RaiseRectTS(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                  int32_t contrast) {
    if (x1 >= x2 || y1 >= y2 || !Overlaps(FClipRect, x1, y1, x2, y2) || contrast == 0) {
        return;
    }
    TColor32 light, dark;
    if (contrast > 0) {
        light = 0x00FFFFFFu | (Clamp255(contrast * 512 / 100) << 24);
        dark = Clamp255(contrast * 255 / 100) << 24;
    } else {
        const int32_t c = -contrast;
        light = Clamp255(c * 255 / 100) << 24;
        dark = 0x00FFFFFFu | (Clamp255(c * 512 / 100) << 24);
    }
    HorzLineTS(x1, y1, x2 - 1, light);
    HorzLineTS(x1, y2 - 1, x2 - 1, dark);
    VertLineTS(x1, y1 + 1, y2 - 2, light);
    VertLineTS(x2 - 1, y1 + 1, y2 - 2, dark);
}

void TCustomBitmap32::RaiseRectTS(const TRect &r, int32_t contrast) {
    RaiseRectTS(r.Left, r.Top, r.Right, r.Bottom, contrast);
}

} // namespace raster
