// Antialiased lines of TCustomBitmap32 between 16.16 or float end points, fixed-point spans,
// stippled lines and the pen.
#include "raster/Raster.h"

#include "raster/Raster_Lines_p.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace raster {

using namespace detail;

// ---- Antialiased fixed-point lines ------------------------------------------------------

// The unit steps of an axis-parallel line under cmBlend: every step plots the same 2 x 2
// weights one pixel further on, so each pixel receives the weight it gets as the right (lower)
// neighbour of one step and then the weight it gets as the left (upper) pixel of the next, in
// the order the step-by-step plot gives. Rows are combined with the bound row routine.
void TCustomBitmap32::AxisLineSteps(int32_t x248, int32_t y248, int64_t steps, bool horizontal,
                                    TColor32 c, const TRect &clip) {
    const uint32_t a = c >> 24;
    const uint32_t fx = x248 & 0xFF, fy = y248 & 0xFF;
    const uint32_t gx[2] = {GammaTable[255 - fx], GammaTable[fx]};
    const uint32_t gy[2] = {GammaTable[255 - fy], GammaTable[fy]};
    const int64_t px = x248 >> 8, py = y248 >> 8;
    if (horizontal) {
        static thread_local std::vector<TColor32> colourRow;
        colourRow.assign(size_t(std::max(FWidth, 1)), c);
        for (int r = 0; r < 2; ++r) {
            const int64_t y = py + r;
            if (y < clip.Top || y >= clip.Bottom) {
                continue;
            }
            TColor32 *row = GetScanLine(int32_t(y));
            const auto run = [&](int64_t from, int64_t to, uint32_t w) {
                from = std::max<int64_t>(from, clip.Left);
                to = std::min<int64_t>(to, clip.Right - 1);
                if (to >= from && w != 0) {
                    CombinePixelRow(colourRow.data(), row + from, int32_t(to - from + 1), w);
                }
            };
            run(px + 1, px + steps, (a * gx[1] * gy[r]) >> 16);
            run(px, px + steps - 1, (a * gx[0] * gy[r]) >> 16);
        }
        return;
    }
    // Each pixel gets its weight as the lower neighbour of one step, then as the upper pixel of
    // the next: the first row only the upper weight, the last only the lower one, the rows
    // between both, in that order, in one walk down the column.
    const bool left = px >= clip.Left && px < clip.Right;
    const bool right = px + 1 >= clip.Left && px + 1 < clip.Right;
    if (!left && !right) {
        return;
    }
    const auto weight = [&](bool inside, int column, int fyIndex) {
        return inside ? (a * gx[column] * gy[fyIndex]) >> 16 : 0u;
    };
    const uint32_t lowerL = weight(left, 0, 1), lowerR = weight(right, 1, 1);
    const uint32_t upperL = weight(left, 0, 0), upperR = weight(right, 1, 0);
    const auto walk = [&](int64_t from, int64_t to, uint32_t wl, uint32_t wr, uint32_t wlb,
                          uint32_t wrb) {
        from = std::max<int64_t>(from, clip.Top);
        to = std::min<int64_t>(to, clip.Bottom - 1);
        if (to < from) {
            return;
        }
        const int32_t rows = int32_t(to - from + 1);
        if (left && right) {
            CombinePixelColumnPair(c, FBits + px + from * FWidth, FWidth, rows, wl, wr, wlb, wrb);
            return;
        }
        // Only one column is inside: the pair would touch a pixel outside the clip.
        TColor32 *p = FBits + (left ? px : px + 1) + from * FWidth;
        for (int32_t r = 0; r < rows; ++r, p += FWidth) {
            for (const uint32_t w : {left ? wl : wr, left ? wlb : wrb}) {
                if (w != 0) {
                    *p = CombineChannels(c, *p, w);
                }
            }
        }
    };
    walk(py, py, upperL, upperR, 0, 0);
    walk(py + 1, py + steps - 1, lowerL, lowerR, upperL, upperR);
    walk(py + steps, py + steps, lowerL, lowerR, 0, 0);
}

// Unit steps along the line in 16.16 with a partial last pixel. Clipped lines plot through the
// clipped plot and use truncating division for the 24.8 positions. Returns false when the line
// is shorter than 1/256 pixel.
template <class ColorAt>
bool TCustomBitmap32::LineXSteps(TFixed x1, TFixed y1, TFixed x2, TFixed y2, bool l, bool clipped,
                                 bool constantColor, ColorAt colorAt) {
    const int32_t dx = int32_t(uint32_t(x2) - uint32_t(x1));
    const int32_t dy = int32_t(uint32_t(y2) - uint32_t(y1));
    int64_t px = int64_t(x1) + 127, py = int64_t(y1) + 127;
    const int64_t ex = int64_t(x2) + 127, ey = int64_t(y2) + 127;
    const int32_t len = HypotRounded(dx, dy);
    const int64_t n = int64_t(len) + (l ? 65536 : 0);
    if (n < 256) {
        return false;
    }
    const int64_t steps = n >> 16;
    int64_t sx = dx, sy = dy;
    if (steps > 0 && len > 0) {
        const float f = 65536.0f / float(len);
        sx = Round(double(dx) * double(f));
        sy = Round(double(dy) * double(f));
    } else if (steps > 0) {
        sx = sy = 0;
    }
    const bool fast = constantColor && FCombineMode == cmBlend && steps >= 2 && px >= 0 &&
                      py >= 0 && ((sx == 65536 && sy == 0) || (sx == 0 && sy == 65536));
    if (fast) {
        const TRect clip = clipped ? FClipRect : BoundsRect();
        AxisLineSteps(int32_t(px >> 8), int32_t(py >> 8), steps, sy == 0, colorAt(), clip);
        px += steps * sx;
        py += steps * sy;
    }
    const auto to248 = [clipped](int64_t v) {
        return clipped ? int32_t(v / 256) : int32_t(uint32_t(uint64_t(v) >> 8));
    };
    const auto half248 = [clipped](int64_t v) {
        return clipped ? int32_t(v / 512) : int32_t(uint32_t(uint64_t(v) >> 9));
    };
    for (int64_t i = 0; i < (fast ? 0 : steps); ++i) {
        const TColor32 c = colorAt();
        clipped ? PlotSubpixelClipped(to248(px), to248(py), c)
                : PlotSubpixel(to248(px), to248(py), c);
        px += sx;
        py += sy;
    }
    const TColor32 c = colorAt();
    const uint32_t alpha = uint32_t((int64_t(c >> 24) * (n - steps * 65536)) >> 16);
    const TColor32 last = (c & 0x00FFFFFFu) | (alpha << 24);
    const int32_t lx = half248(px + ex - sx), ly = half248(py + ey - sy);
    clipped ? PlotSubpixelClipped(lx, ly, last) : PlotSubpixel(lx, ly, last);
    return true;
}

void TCustomBitmap32::LineX(TFixed x1, TFixed y1, TFixed x2, TFixed y2, TColor32 value, bool l) {
    LineXSteps(x1, y1, x2, y2, l, false, true, [value] { return value; });
    EndBlend();
    Changed(FixedLineArea(x1, y1, x2, y2), kLineInfo);
}

void TCustomBitmap32::LineF(float x1, float y1, float x2, float y2, TColor32 value, bool l) {
    LineX(FloatToFixed(x1), FloatToFixed(y1), FloatToFixed(x2), FloatToFixed(y2), value, l);
}

void TCustomBitmap32::LineXS(TFixed x1, TFixed y1, TFixed x2, TFixed y2, TColor32 value, bool l) {
    if (!FMeasuringMode) {
        TFixed cx1 = x1, cy1 = y1, cx2 = x2, cy2 = y2;
        if (!ClipLineToBox(cx1, cy1, cx2, cy2, FFixedClipRect.Left - 65536,
                           FFixedClipRect.Top - 65536, FFixedClipRect.Right,
                           FFixedClipRect.Bottom)) {
            return;
        }
        if (cx2 != x2 || cy2 != y2) {
            l = true;
        }
        const auto inX = [this](TFixed v) {
            return v > FFixedClipRect.Left && int64_t(v) < int64_t(FFixedClipRect.Right) - 131072;
        };
        const auto inY = [this](TFixed v) {
            return v > FFixedClipRect.Top && int64_t(v) < int64_t(FFixedClipRect.Bottom) - 131072;
        };
        if (inX(cx1) && inX(cx2) && inY(cy1) && inY(cy2)) {
            LineX(cx1, cy1, cx2, cy2, value, l);
            return;
        }
        bool drawn = false;
        {
            const auto blendEnds = EndBlendOnExit();
            drawn = LineXSteps(cx1, cy1, cx2, cy2, l, true, true, [value] { return value; });
        }
        if (!drawn) {
            return;
        }
    }
    Changed(FixedLineArea(x1, y1, x2, y2), kLineInfo);
}

// End points that 16.16 fixed point cannot hold are first clipped in floating point to the
// clip rectangle grown by two pixels, so that their 16.16 form cannot wrap around; all others
// take the fixed-point path unchanged.
bool TCustomBitmap32::ClipFloatLine(float &x1, float &y1, float &x2, float &y2, bool &l) const {
    const auto fits = [](float v) { return v >= -32768.0f && v <= 32767.0f; };
    if (fits(x1) && fits(y1) && fits(x2) && fits(y2)) {
        return true;
    }
    const double minX = FClipRect.Left - 2.0, maxX = FClipRect.Right + 2.0;
    const double minY = FClipRect.Top - 2.0, maxY = FClipRect.Bottom + 2.0;
    const double dx = double(x2) - x1, dy = double(y2) - y1;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - minX, maxX - x1, y1 - minY, maxY - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
    }
    if (t0 > t1) {
        return false;
    }
    const double ox1 = x1, oy1 = y1;
    if (t1 < 1) {
        x2 = float(ox1 + t1 * dx);
        y2 = float(oy1 + t1 * dy);
        l = true;
    }
    if (t0 > 0) {
        x1 = float(ox1 + t0 * dx);
        y1 = float(oy1 + t0 * dy);
    }
    return true;
}

void TCustomBitmap32::LineFS(float x1, float y1, float x2, float y2, TColor32 value, bool l) {
    if (!FMeasuringMode && !ClipFloatLine(x1, y1, x2, y2, l)) {
        return;
    }
    LineXS(FloatToFixed(x1), FloatToFixed(y1), FloatToFixed(x2), FloatToFixed(y2), value, l);
}

// ---- Fixed-point spans ------------------------------------------------------------------

void TCustomBitmap32::HorzLineX(TFixed x1, TFixed y, TFixed x2, TColor32 value) {
    if (x2 < x1) {
        std::swap(x1, x2);
    }
    const uint32_t fy = uint32_t(y) & 0xFFFF;
    const uint32_t rowWeight[2] = {65535 - fy, fy};
    const uint32_t a = 65535 - (uint32_t(x1) & 0xFFFF), b = uint32_t(x2) & 0xFFFF;
    const int32_t n = (x2 >> 16) - (x1 >> 16) - 1;
    for (int r = 0; r < 2; ++r) {
        const uint64_t c = rowWeight[r];
        if (c == 0) {
            continue;
        }
        TColor32 *p = GetPixelPtr(x1 >> 16, (y >> 16) + r);
        CombinePixelInPlace(value, *p++, GammaTable[(c * a) >> 24]);
        for (int32_t i = 0; i < n; ++i) {
            CombinePixelInPlace(value, *p++, GammaTable[c >> 8]);
        }
        const uint32_t wLast = GammaTable[(c * b) >> 24];
        if (wLast != 0) {
            CombinePixelInPlace(value, *p, wLast);
        }
    }
    EndBlend();
    Changed(MakeRectRounded(TFixedRect{x1, y, x2, y + 1}), kLineInfo);
}

void TCustomBitmap32::VertLineX(TFixed x, TFixed y1, TFixed y2, TColor32 value) {
    if (y2 < y1) {
        std::swap(y1, y2);
    }
    const uint32_t fx = uint32_t(x) & 0xFFFF;
    const uint32_t colWeight[2] = {65535 - fx, fx};
    const uint32_t a = 65535 - (uint32_t(y1) & 0xFFFF), b = uint32_t(y2) & 0xFFFF;
    const int32_t n = (y2 >> 16) - (y1 >> 16) - 1;
    for (int k = 0; k < 2; ++k) {
        const uint64_t c = colWeight[k];
        if (c == 0) {
            continue;
        }
        TColor32 *p = GetPixelPtr((x >> 16) + k, y1 >> 16);
        CombinePixelInPlace(value, *p, GammaTable[(c * a) >> 24]);
        p += FWidth;
        for (int32_t i = 0; i < n; ++i, p += FWidth) {
            CombinePixelInPlace(value, *p, GammaTable[c >> 8]);
        }
        const uint32_t wLast = GammaTable[(c * b) >> 24];
        if (wLast != 0) {
            CombinePixelInPlace(value, *p, wLast);
        }
    }
    EndBlend();
    Changed(MakeRectRounded(TFixedRect{x, y1, x + 1, y2}), kLineInfo);
}

void TCustomBitmap32::HorzLineXS(TFixed x1, TFixed y, TFixed x2, TColor32 value) {
    if (x2 < x1) {
        std::swap(x1, x2);
    }
    if (FMeasuringMode) {
        Changed(MakeRectRounded(TFixedRect{x1, y, x2, y + 1}), kLineInfo);
        return;
    }
    const TFixed cx1 = std::clamp(x1, FFixedClipRect.Left, FFixedClipRect.Right);
    const TFixed cx2 = std::clamp(x2, FFixedClipRect.Left, FFixedClipRect.Right);
    if (int64_t(cx2) - cx1 > 65536 && y >= FFixedClipRect.Top &&
        int64_t(y) <= int64_t(FFixedClipRect.Bottom) - 65536) {
        HorzLineX(cx1, y, cx2, value);
    } else {
        LineXS(x1, y, x2, y, value, false);
    }
}

void TCustomBitmap32::VertLineXS(TFixed x, TFixed y1, TFixed y2, TColor32 value) {
    if (y2 < y1) {
        std::swap(y1, y2);
    }
    if (FMeasuringMode) {
        Changed(MakeRectRounded(TFixedRect{x, y1, x + 1, y2}), kLineInfo);
        return;
    }
    const TFixed cy1 = std::clamp(y1, FFixedClipRect.Top, FFixedClipRect.Bottom - 65536);
    const TFixed cy2 = std::clamp(y2, FFixedClipRect.Top, FFixedClipRect.Bottom - 65536);
    if (int64_t(cy2) - cy1 > 65536 && x >= FFixedClipRect.Left &&
        int64_t(x) <= int64_t(FFixedClipRect.Right) - 65536) {
        VertLineX(x, cy1, cy2, value);
    } else {
        LineXS(x, y1, x, y2, value, false);
    }
}

// ---- Stipple ----------------------------------------------------------------------------

void TCustomBitmap32::SetStipple(const TArrayOfColor32 &pattern) {
    FStipplePattern = pattern;
    FStippleCounter = 0;
}

void TCustomBitmap32::AdvanceStippleCounter(float lengthPixels) {
    const float len = float(FStipplePattern.size());
    if (len == 0) {
        return;
    }
    const float d = lengthPixels * FStippleStep;
    if (d != 0) {
        FStippleCounter += d;
        FStippleCounter -= len * std::floor(FStippleCounter / len);
    }
}

TColor32 TCustomBitmap32::GetStippleColor() {
    const int32_t len = int32_t(FStipplePattern.size());
    if (len == 0) {
        return 0xFF000000u;
    }
    FStippleCounter -= float(len) * std::floor(FStippleCounter / float(len));
    if (FStippleCounter >= float(len)) {
        FStippleCounter -= float(len);
    }
    const int32_t i = std::clamp(Round(double(FStippleCounter) - 0.5), 0, len - 1);
    const int32_t k = Round((double(FStippleCounter) - i) * 255);
    TColor32 result = FStipplePattern[size_t(i)];
    if (k != 0) {
        const TColor32 next = FStipplePattern[size_t(i + 1 == len ? 0 : i + 1)];
        result = CombinePixel(result, next, uint32_t(255 - std::clamp(k, 0, 255)));
        EndBlend();
    }
    FStippleCounter += FStippleStep;
    return result;
}

void TCustomBitmap32::HorzLineTSP(int32_t x1, int32_t y, int32_t x2) {
    StippledSpan(x1, y, x2, false);
}

void TCustomBitmap32::VertLineTSP(int32_t x, int32_t y1, int32_t y2) {
    StippledSpan(y1, x, y2, true);
}

// A stippled span along X (or along Y when vertical); the pattern phase advances over the
// pixels cut off at either end so that it matches the unclipped span.
void TCustomBitmap32::StippledSpan(int32_t a1, int32_t at, int32_t a2, bool vertical) {
    const auto rect = [vertical, at](int32_t s, int32_t e) {
        return vertical ? TRect{at, s, at + 1, e} : TRect{s, at, e, at + 1};
    };
    if (FMeasuringMode) {
        Changed(rect(a1, a2));
        return;
    }
    if (Empty()) {
        return;
    }
    const int32_t lo = vertical ? FClipRect.Top : FClipRect.Left;
    const int32_t hi = vertical ? FClipRect.Bottom : FClipRect.Right;
    const int32_t crossLo = vertical ? FClipRect.Left : FClipRect.Top;
    const int32_t crossHi = vertical ? FClipRect.Right : FClipRect.Bottom;
    if (at < crossLo || at >= crossHi || (a1 < lo && a2 < lo) || (a1 >= hi && a2 >= hi)) {
        AdvanceStippleCounter(float(std::abs(a2 - a1) + 1));
        return;
    }
    if (a1 < lo) {
        AdvanceStippleCounter(float(lo - a1));
        a1 = lo;
    } else if (a1 >= hi) {
        AdvanceStippleCounter(float(a1 - hi + 1));
        a1 = hi - 1;
    }
    int32_t cut = 0;
    if (a2 < lo) {
        cut = lo - a2;
        a2 = lo;
    } else if (a2 >= hi) {
        cut = a2 - hi + 1;
        a2 = hi - 1;
    }
    const int32_t step = a2 >= a1 ? 1 : -1;
    for (int32_t i = a1;; i += step) {
        vertical ? SetPixelT(at, i, GetStippleColor()) : SetPixelT(i, at, GetStippleColor());
        if (i == a2) {
            break;
        }
    }
    Changed(rect(a1, a2));
    if (cut > 0) {
        AdvanceStippleCounter(float(cut));
    }
}

void TCustomBitmap32::LineXP(TFixed x1, TFixed y1, TFixed x2, TFixed y2, bool l) {
    LineXSteps(x1, y1, x2, y2, l, false, false, [this] {
        const TColor32 c = GetStippleColor();
        EndBlend();
        return c;
    });
    EndBlend();
    Changed(FixedLineArea(x1, y1, x2, y2), kLineInfo);
}

void TCustomBitmap32::LineFP(float x1, float y1, float x2, float y2, bool l) {
    LineXP(FloatToFixed(x1), FloatToFixed(y1), FloatToFixed(x2), FloatToFixed(y2), l);
}

namespace {

// The clipped end points lie far enough inside for the unclipped plot, which reports even a
// line too short to draw.
bool WhollyInsideForUnclippedPlot(const TFixedRect &c, TFixed x1, TFixed y1, TFixed x2, TFixed y2) {
    const auto inX = [&c](TFixed v) {
        return v > c.Left && int64_t(v) < int64_t(c.Right) - 131072;
    };
    const auto inY = [&c](TFixed v) {
        return v > c.Top && int64_t(v) < int64_t(c.Bottom) - 131072;
    };
    return inX(x1) && inX(x2) && inY(y1) && inY(y2);
}

} // namespace

// The pattern advances over the parts cut off by clipping. Whole pixels of the cut-off
// differences are taken with a signed division, so leftward and upward lines keep the phase
// of their mirror images (a logical shift made -d pixels count as 65536 - d).
void TCustomBitmap32::LineXSP(TFixed x1, TFixed y1, TFixed x2, TFixed y2, bool l) {
    if (!FMeasuringMode) {
        TFixed cx1 = x1, cy1 = y1, cx2 = x2, cy2 = y2;
        if (!ClipLineToBox(cx1, cy1, cx2, cy2, FFixedClipRect.Left - 65536,
                           FFixedClipRect.Top - 65536, FFixedClipRect.Right,
                           FFixedClipRect.Bottom)) {
            AdvanceStippleCounter(float(HypotSingle(WholePixels(int64_t(x2) - x1),
                                                    WholePixels(int64_t(y2) - y1) - kLTable[l])));
            return;
        }
        const bool lastGiven = l;
        if (cx1 != x1 || cy1 != y1) {
            AdvanceStippleCounter(float(HypotRounded(int32_t((int64_t(cx1) - x1) / 65536),
                                                     int32_t((int64_t(cy1) - y1) / 65536))));
        }
        const bool endMoved = cx2 != x2 || cy2 != y2;
        if (endMoved) {
            l = true;
        }
        bool drawn = false;
        {
            const auto blendEnds = EndBlendOnExit();
            drawn = LineXSteps(cx1, cy1, cx2, cy2, l, true, false, [this] {
                const TColor32 c = GetStippleColor();
                EndBlend();
                return c;
            });
        }
        if (!drawn && !WhollyInsideForUnclippedPlot(FFixedClipRect, cx1, cy1, cx2, cy2)) {
            return;
        }
        if (endMoved) {
            AdvanceStippleCounter(
                float(HypotSingle(WholePixels(int64_t(x2) - cx2),
                                  WholePixels(int64_t(y2) - cy2) - kLTable[lastGiven])));
        }
    }
    Changed(FixedLineArea(x1, y1, x2, y2), AreaInfoLine + 4);
}

void TCustomBitmap32::LineFSP(float x1, float y1, float x2, float y2, bool l) {
    LineXSP(FloatToFixed(x1), FloatToFixed(y1), FloatToFixed(x2), FloatToFixed(y2), l);
}

// ---- Pen --------------------------------------------------------------------------------

void TCustomBitmap32::MoveTo(int32_t x, int32_t y) {
    RasterX = x;
    RasterY = y;
}

void TCustomBitmap32::LineToS(int32_t x, int32_t y) {
    LineS(RasterX, RasterY, x, y, FPenColor, false);
    RasterX = x;
    RasterY = y;
}

void TCustomBitmap32::LineToTS(int32_t x, int32_t y) {
    LineTS(RasterX, RasterY, x, y, FPenColor, false);
    RasterX = x;
    RasterY = y;
}

void TCustomBitmap32::LineToAS(int32_t x, int32_t y) {
    LineAS(RasterX, RasterY, x, y, FPenColor, false);
    RasterX = x;
    RasterY = y;
}

void TCustomBitmap32::MoveToX(TFixed x, TFixed y) {
    RasterXF = x;
    RasterYF = y;
    FPenFloat = false;
}

void TCustomBitmap32::MoveToF(float x, float y) {
    RasterXF = FloatToFixed(x);
    RasterYF = FloatToFixed(y);
    FPenXF = x;
    FPenYF = y;
    FPenFloat = true;
}

void TCustomBitmap32::LineToXS(TFixed x, TFixed y) {
    LineXS(RasterXF, RasterYF, x, y, FPenColor, false);
    MoveToX(x, y);
}

void TCustomBitmap32::LineToFS(float x, float y) {
    if (FPenFloat) {
        LineFS(float(FPenXF), float(FPenYF), x, y, FPenColor, false);
    } else {
        LineXS(RasterXF, RasterYF, FloatToFixed(x), FloatToFixed(y), FPenColor, false);
    }
    MoveToF(x, y);
}

void TCustomBitmap32::LineToXSP(TFixed x, TFixed y) {
    LineXSP(RasterXF, RasterYF, x, y, false);
    MoveToX(x, y);
}

void TCustomBitmap32::LineToFSP(float x, float y) {
    LineToXSP(FloatToFixed(x), FloatToFixed(y));
    MoveToF(x, y);
}

} // namespace raster
