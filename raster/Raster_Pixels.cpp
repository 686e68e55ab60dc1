// Pixel access of TCustomBitmap32: plain, clipped, blended, wrapped, and antialiased plotting
// and sampling at 24.8 positions.
#include "raster/Raster.h"

#include "raster/Raster_Resamplers.h"

#include <cmath>

namespace raster {

namespace {

// Positions far outside any bitmap are rejected before their 24.8 form could wrap.
constexpr float kFloatLimit = 8.0e6f;

bool FloatOutside(float x, float y) {
    return !(std::fabs(x) < kFloatLimit && std::fabs(y) < kFloatLimit);
}

inline void CombineInto(TColor32 c, TColor32 &pixel, uint32_t w) {
    if (w != 0) {
        pixel = CombineChannels(c, pixel, w);
    }
}

} // namespace

TColor32 TCustomBitmap32::GetPixelS(int32_t x, int32_t y) const {
    if (x < FClipRect.Left || x >= FClipRect.Right || y < FClipRect.Top || y >= FClipRect.Bottom) {
        return FOuterColor;
    }
    return GetPixel(x, y);
}

void TCustomBitmap32::SetPixelS(int32_t x, int32_t y, TColor32 value) {
    if (x >= FClipRect.Left && x < FClipRect.Right && y >= FClipRect.Top && y < FClipRect.Bottom) {
        SetPixel(x, y, value);
    }
}

void TCustomBitmap32::SetPixelT(int32_t x, int32_t y, TColor32 value) {
    BlendProc()(value, FBits[x + y * FWidth]);
    EndBlend();
}

void TCustomBitmap32::SetPixelT(TColor32 *&ptr, TColor32 value) {
    BlendProc()(value, *ptr);
    ++ptr;
    EndBlend();
}

void TCustomBitmap32::SetPixelTS(int32_t x, int32_t y, TColor32 value) {
    if (x >= FClipRect.Left && x < FClipRect.Right && y >= FClipRect.Top && y < FClipRect.Bottom) {
        SetPixelT(x, y, value);
    }
}

// An empty clip rectangle has nothing to wrap into (the wrap would divide by zero).
TColor32 TCustomBitmap32::GetPixelW(int32_t x, int32_t y) const {
    if (RectIsEmpty(FClipRect)) {
        return FOuterColor;
    }
    return GetPixel(WrapProcHorz(x, FClipRect.Left, FClipRect.Right - 1),
                    WrapProcVert(y, FClipRect.Top, FClipRect.Bottom - 1));
}

void TCustomBitmap32::SetPixelW(int32_t x, int32_t y, TColor32 value) {
    if (RectIsEmpty(FClipRect)) {
        return;
    }
    SetPixel(WrapProcHorz(x, FClipRect.Left, FClipRect.Right - 1),
             WrapProcVert(y, FClipRect.Top, FClipRect.Bottom - 1), value);
}

void TCustomBitmap32::SetPixelX(TFixed x, TFixed y, TColor32 value) {
    PlotSubpixel(static_cast<int32_t>((static_cast<uint32_t>(x) + 127) >> 8),
                 static_cast<int32_t>((static_cast<uint32_t>(y) + 127) >> 8), value);
    EndBlend();
}

void TCustomBitmap32::SetPixelXS(TFixed x, TFixed y, TColor32 value) {
    PlotSubpixelClipped(static_cast<int32_t>((int64_t(x) + 127) >> 8),
                        static_cast<int32_t>((int64_t(y) + 127) >> 8), value);
    EndBlend();
}

void TCustomBitmap32::SetPixelF(float x, float y, TColor32 value) {
    PlotSubpixel(Round(double(x) * 256), Round(double(y) * 256), value);
    EndBlend();
}

void TCustomBitmap32::SetPixelFS(float x, float y, TColor32 value) {
    if (FloatOutside(x, y)) {
        return;
    }
    PlotSubpixelClipped(Round(double(x) * 256), Round(double(y) * 256), value);
    EndBlend();
}

// The wrapped 24.8 position may lie half a pixel before the clip's right or bottom edge, so the
// plot is clipped: its right and lower neighbours would otherwise fall outside the bitmap.
void TCustomBitmap32::SetPixelXW(TFixed x, TFixed y, TColor32 value) {
    if (RectIsEmpty(FClipRect)) {
        return;
    }
    const int32_t px = WrapProcHorz(static_cast<int32_t>((int64_t(x) + 127) >> 8),
                                    256 * FClipRect.Left, 256 * FClipRect.Right - 128);
    const int32_t py = WrapProcVert(static_cast<int32_t>((int64_t(y) + 127) >> 8),
                                    256 * FClipRect.Top, 256 * FClipRect.Bottom - 128);
    PlotSubpixelClipped(px, py, value);
    EndBlend();
}

void TCustomBitmap32::SetPixelFW(float x, float y, TColor32 value) {
    if (FloatOutside(x, y)) {
        return;
    }
    SetPixelXW(Round(double(x) * 65536), Round(double(y) * 65536), value);
    EndBlend();
}

TColor32 TCustomBitmap32::GetPixelX(TFixed x, TFixed y) const {
    const TColor32 c = SampleSubpixel(static_cast<int32_t>((static_cast<uint32_t>(x) + 127) >> 8),
                                      static_cast<int32_t>((static_cast<uint32_t>(y) + 127) >> 8));
    EndBlend();
    return c;
}

TColor32 TCustomBitmap32::GetPixelXS(TFixed x, TFixed y) const {
    const TColor32 c = SampleSubpixelClipped(static_cast<int32_t>((int64_t(x) + 127) >> 8),
                                             static_cast<int32_t>((int64_t(y) + 127) >> 8));
    EndBlend();
    return c;
}

TColor32 TCustomBitmap32::GetPixelF(float x, float y) const {
    const TColor32 c = SampleSubpixel(Round(double(x) * 256), Round(double(y) * 256));
    EndBlend();
    return c;
}

TColor32 TCustomBitmap32::GetPixelFS(float x, float y) const {
    if (FloatOutside(x, y)) {
        return FOuterColor;
    }
    const TColor32 c = SampleSubpixelClipped(Round(double(x) * 256), Round(double(y) * 256));
    EndBlend();
    return c;
}

TColor32 TCustomBitmap32::GetPixelXW(TFixed x, TFixed y) const {
    if (RectIsEmpty(FClipRect)) {
        return FOuterColor;
    }
    const int32_t x0 = WrapProcHorz(x >> 16, FClipRect.Left, FClipRect.Right - 1);
    const int32_t x1 = WrapProcHorz((x >> 16) + 1, FClipRect.Left, FClipRect.Right - 1);
    const int32_t y0 = WrapProcVert(y >> 16, FClipRect.Top, FClipRect.Bottom - 1);
    const int32_t y1 = WrapProcVert((y >> 16) + 1, FClipRect.Top, FClipRect.Bottom - 1);
    const TColor32 *r0 = GetScanLine(y0);
    const TColor32 *r1 = GetScanLine(y1);
    const uint32_t wx = (x >> 8) & 0xFF;
    const uint32_t wy = (y >> 8) & 0xFF;
    const TColor32 c =
        CombinePixel(CombinePixel(r1[x1], r1[x0], wx), CombinePixel(r0[x1], r0[x0], wx), wy);
    EndBlend();
    return c;
}

TColor32 TCustomBitmap32::GetPixelFW(float x, float y) const {
    if (FloatOutside(x, y)) {
        return FOuterColor;
    }
    const TColor32 c = GetPixelXW(Round(double(x) * 65536), Round(double(y) * 65536));
    EndBlend();
    return c;
}

TColor32 TCustomBitmap32::GetPixelFR(float x, float y) const {
    return FResampler->GetSampleFloat(x, y);
}

TColor32 TCustomBitmap32::GetPixelXR(TFixed x, TFixed y) const {
    return FResampler->GetSampleFixed(x, y);
}

// Under cmBlend the colour's alpha scales the four gamma weights; under cmMerge the merged
// colour is combined with the bare weights.
void TCustomBitmap32::PlotSubpixel(int32_t x, int32_t y, TColor32 c) {
    const uint32_t fx = x & 0xFF, fy = y & 0xFF;
    const uint32_t gx0 = GammaTable[255 - fx], gx1 = GammaTable[fx];
    const uint32_t gy0 = GammaTable[255 - fy], gy1 = GammaTable[fy];
    TColor32 *p = FBits + (x >> 8) + (y >> 8) * FWidth;
    TColor32 *q = p + FWidth;
    if (FCombineMode == cmBlend) {
        const uint32_t a = c >> 24;
        CombineInto(c, p[0], (a * gx0 * gy0) >> 16);
        CombineInto(c, p[1], (a * gx1 * gy0) >> 16);
        CombineInto(c, q[1], (a * gx1 * gy1) >> 16);
        CombineInto(c, q[0], (a * gx0 * gy1) >> 16);
    } else {
        CombinePixelInPlace(MergePixel(c, p[0]), p[0], (gx0 * gy0) >> 8);
        CombinePixelInPlace(MergePixel(c, p[1]), p[1], (gx1 * gy0) >> 8);
        CombinePixelInPlace(MergePixel(c, q[1]), q[1], (gx1 * gy1) >> 8);
        CombinePixelInPlace(MergePixel(c, q[0]), q[0], (gx0 * gy1) >> 8);
    }
}

void TCustomBitmap32::PlotPixel(TColor32 *p, TColor32 c, uint32_t w, TCombineMode mode) {
    if (mode == cmBlend) {
        CombineInto(c, *p, w);
    } else {
        CombinePixelInPlace(MergePixel(c, *p), *p, w);
    }
}

void TCustomBitmap32::PlotSubpixelClipped(int32_t x, int32_t y, TColor32 c) {
    if (x < F256ClipRect.Left - 256 || x >= F256ClipRect.Right || y < F256ClipRect.Top - 256 ||
        y >= F256ClipRect.Bottom) {
        return;
    }
    const int32_t px = x >> 8, py = y >> 8;
    const bool left = px >= FClipRect.Left, right = px < FClipRect.Right - 1;
    const bool top = py >= FClipRect.Top, bottom = py < FClipRect.Bottom - 1;
    if (left && right && top && bottom) {
        PlotSubpixel(x, y, c);
        return;
    }
    const uint32_t fx = x & 0xFF, fy = y & 0xFF;
    const uint32_t gx0 = GammaTable[255 - fx], gx1 = GammaTable[fx];
    const uint32_t gy0 = GammaTable[255 - fy], gy1 = GammaTable[fy];
    const uint32_t a = FCombineMode == cmBlend ? c >> 24 : 256;
    const int shift = FCombineMode == cmBlend ? 16 : 8;
    const auto weight = [&](uint32_t gx, uint32_t gy) {
        return FCombineMode == cmBlend ? (a * gx * gy) >> shift : (gx * gy) >> shift;
    };
    TColor32 *p = FBits + px + int64_t(py) * FWidth;
    if (left && top) {
        PlotPixel(p, c, weight(gx0, gy0), FCombineMode);
    }
    if (right && top) {
        PlotPixel(p + 1, c, weight(gx1, gy0), FCombineMode);
    }
    if (right && bottom) {
        PlotPixel(p + FWidth + 1, c, weight(gx1, gy1), FCombineMode);
    }
    if (left && bottom) {
        PlotPixel(p + FWidth, c, weight(gx0, gy1), FCombineMode);
    }
}

TColor32 TCustomBitmap32::SampleSubpixel(int32_t x, int32_t y) const {
    const TColor32 *p = FBits + (x >> 8) + (y >> 8) * FWidth;
    return LinearInterpolate(GammaTable[255 - (x & 0xFF)], GammaTable[255 - (y & 0xFF)], p,
                             p + FWidth);
}

TColor32 TCustomBitmap32::SampleSubpixelClipped(int32_t x, int32_t y) const {
    const int32_t r = FClipRect.Right - 1, b = FClipRect.Bottom - 1;
    if (x < 256 * FClipRect.Left || y < 256 * FClipRect.Top) {
        return FOuterColor;
    }
    if (x < 256 * r && y < 256 * b) {
        return SampleSubpixel(x, y);
    }
    if (x == 256 * r && y <= 256 * b) {
        return GetPixel(r, y >> 8);
    }
    if (y == 256 * b && x <= 256 * r) {
        return GetPixel(x >> 8, b);
    }
    return FOuterColor;
}

} // namespace raster
