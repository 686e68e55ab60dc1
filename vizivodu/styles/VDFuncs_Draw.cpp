// The drawing routines of the shared unit: bitmaps drawn, printed and turned, outline metrics,
// the screen and device resolutions, patterned lines and the connector of two rectangles.
#include "vizivodu/styles/VDFuncs.h"

#include "vizivodu/layout/text/VDGrIn.h"

#include "platform/rtl/Rounding.h"
#include "platform/rtl/ScopeExit.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace vizivodu {

namespace {

void StretchBitmap(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                   const gfx::TBitmap &bitmap, bool smooth) {
    const int32_t w = bitmap.GetWidth(), h = bitmap.GetHeight();
    if (w <= 0 || h <= 0) {
        return;
    }
    const gfx::TPixels32 pixels{bitmap.ScanLine(0), w, h, bitmap.StrideBytes()};
    canvas.StretchPixels(rtl::Rect(x, y, x + width, y + height), pixels, rtl::Rect(0, 0, w, h),
                         smooth);
}

} // namespace

void PrintBitmapDIB(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                    const gfx::TBitmap &bitmap) {
    StretchBitmap(canvas, x, y, width, height, bitmap, false);
}

void StretchDrawBitmapHalftone(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t width,
                               int32_t height, const gfx::TBitmap &bitmap) {
    StretchBitmap(canvas, x, y, width, height, bitmap, true);
}

std::unique_ptr<gfx::TOutlineTextMetric> AllocOutlineTextMetrics(gfx::TCanvas &canvas,
                                                                 TVDGraphicInterface &gi) {
    const uint32_t size = gi.GetOutlineTextMetrics(canvas, 0, nullptr);
    if (size == 0) {
        return nullptr;
    }
    auto otm = std::make_unique<gfx::TOutlineTextMetric>();
    gi.GetOutlineTextMetrics(canvas, size, otm.get());
    if (otm->otmsStrikeoutSize == 0) {
        otm->otmsStrikeoutSize = 1;
    }
    return otm;
}

} // namespace vizivodu

namespace vizivodu {

void FillScreenAndDevice(TVDScreenAndDevice &sad, gfx::TCanvas &canvas, TVDGraphicInterface &gi) {
    sad.ppixDevice = canvas.GetDeviceCaps(gfx::LOGPIXELSX);
    sad.ppiyDevice = canvas.GetDeviceCaps(gfx::LOGPIXELSY);
    std::unique_ptr<gfx::TCanvas> screen = gi.CreateScreenCanvas();
    sad.ppixScreen = screen->GetDeviceCaps(gfx::LOGPIXELSX);
    sad.ppiyScreen = screen->GetDeviceCaps(gfx::LOGPIXELSY);
    gi.DestroyScreenCanvas(screen);
}

void RotateBitmap(gfx::TBitmap &bitmap, TVDDocRotation rotation, TVDGraphicInterface &gi) {
    if (rotation == vdrotNone) {
        return;
    }
    const bool quarter = rotation != vdrot180;
    const TVDDocRotation turn = rotation == vdrot90    ? vdrot270
                                : rotation == vdrot270 ? vdrot90
                                                       : rotation;
    const int32_t w = bitmap.GetWidth(), h = bitmap.GetHeight();
    const int32_t newW = std::max(0, (quarter ? h : w) - 2);
    const int32_t newH = std::max(0, (quarter ? w : h) - 2);
    gfx::TBitmap rotated(newW, newH);
    if (newW > 0 && newH > 0) {
        gfx::TCanvas &canvas = rotated.GetCanvas();
        // The graphics mode goes back also when drawing fails.
        const TVDGraphicsMode mode = gi.SetGraphicsMode(canvas, vdgmAdvanced);
        const rtl::TScopeExit restore([&]() noexcept { gi.SetGraphicsMode(canvas, mode); });
        const TVDVerticalAlign align = turn == vdrot270 ? vdveraTop : vdveraBottom;
        gi.SetWorldTransform(canvas, GetRotationXForm(turn, 0, 0, w, newW, newW, align));
        gi.DrawBitmap(canvas, quarter ? -1 : 1, -1, bitmap);
    }
    bitmap = rotated;
}

void DrawOrPrintGraphic(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                        PVDScreenAndDevice sad, const gfx::TGraphic &graphic,
                        TVDGraphicDrawing drawing, TVDGraphicInterface &gi) {
    if (width < 0) {
        width = graphic.GetWidth();
    }
    if (height < 0) {
        height = graphic.GetHeight();
    }
    if (sad) {
        width = ScreenToDeviceX(width, *sad);
        height = ScreenToDeviceY(height, *sad);
    }
    const rtl::TRect r = rtl::Rect(x, y, x + width, y + height);
    if (drawing == vdgdStretch) {
        gi.StretchDrawGraphic(canvas, r, graphic);
    } else if (const auto *bmp = dynamic_cast<const gfx::TBitmap *>(&graphic)) {
        gi.PrintBitmap(canvas, r, *bmp);
    }
}

namespace {

// One repeating piece of a dashed line: a dash, then dots at offsets, every period pixels.
struct TDashPattern {
    int32_t Dash = 0;
    std::vector<std::pair<int32_t, int32_t>> Dots; // offset from the dash's start, length
    int32_t Period = 0;
};

TDashPattern PatternOf(int32_t style, int32_t w, int32_t u) {
    auto r = [](long double v) { return int32_t(rtl::Round(v)); };
    switch (style) {
    case 2:
        return u ? TDashPattern{r(u / 2.0L), {}, u} : TDashPattern{w, {}, 2 * w};
    case 3:
        return u ? TDashPattern{r(2.0L * u / 3), {}, u} : TDashPattern{2 * w, {}, 3 * w};
    case 4:
        if (u) {
            const int32_t dot = r(5.0L * u / 7), len = r(u / 7.0L);
            return {r(4.0L * u / 7), {{dot, len}}, dot + len + r(2.0L * u / 7)};
        }
        return {2 * w, {{3 * w, w}}, 6 * w};
    case 5:
        if (u) {
            const int32_t first = r(u / 2.0L), len = r(u / 8.0L), gap = r(u / 4.0L);
            return {
                r(3.0L * u / 8), {{first, len}, {first + len + gap, len}}, first + 2 * (len + gap)};
        }
        return {2 * w, {{3 * w, w}, {6 * w, w}}, 9 * w};
    default: // 6
        return {w, {}, 3 * w};
    }
}

} // namespace

void DrawPatternHorzLine(gfx::TCanvas &canvas, TColor color, int32_t style, int32_t lineWidth,
                         int32_t left, int32_t right, int32_t y, int32_t dashUnit,
                         TVDGraphicInterface &gi) {
    if (style < 0 || style > 6) {
        return;
    }
    if (left > right) {
        std::swap(left, right);
    }
    const int32_t w = std::max(lineWidth, 1);
    const int32_t top = y - lineWidth / 2;
    canvas.GetPen().SetColor(color);
    canvas.GetPen().SetStyle(gfx::psInsideFrame);
    canvas.GetPen().SetWidth(1);
    canvas.GetBrush().SetStyle(gfx::bsClear);
    auto piece = [&](int64_t x, int64_t length) {
        const int64_t end = std::min<int64_t>(x + length, right);
        if (end > x) {
            gi.FillColorRect(canvas, rtl::Rect(int32_t(x), top, int32_t(end), top + w), color);
        }
    };
    if (style == 0) {
        if (lineWidth == 1) {
            gi.Line(canvas, left, y, right, y);
        } else {
            piece(left, int64_t(right) - left);
        }
        return;
    }
    if (style == 1) {
        for (int64_t x = left; x < right; x += 2 * w) {
            if (w > 2 && x + w <= right) {
                canvas.GetBrush().SetColor(color);
                gi.Ellipse(canvas, int32_t(x), top, int32_t(x + w), top + w);
                canvas.GetBrush().SetStyle(gfx::bsClear);
            } else {
                piece(x, w);
            }
        }
        return;
    }
    const int32_t u =
        dashUnit != 0
            ? int32_t(rtl::Round(dashUnit * (long double)canvas.GetFont().GetPixelsPerInch() / 96))
            : 0;
    const TDashPattern p = PatternOf(style, w, u);
    if (p.Period <= 0) {
        return;
    }
    for (int64_t x = left; x < right; x += p.Period) {
        piece(x, p.Dash);
        for (const auto &[offset, length] : p.Dots) {
            piece(x + offset, length);
        }
    }
}

void DrawLineBetweenNearestCorners(int32_t left1, int32_t top1, int32_t width1, int32_t height1,
                                   int32_t left2, int32_t top2, int32_t width2, int32_t height2,
                                   gfx::TCanvas &canvas, TVDGraphicInterface &gi) {
    // The pair of edges, one of each rectangle, nearest to each other.
    auto nearest = [](int32_t a1, int32_t a2, int32_t b1, int32_t b2) {
        const std::pair<int32_t, int32_t> pairs[] = {{a1, b1}, {a2, b1}, {a1, b2}, {a2, b2}};
        std::pair<int32_t, int32_t> best = pairs[0];
        for (const auto &p : pairs) {
            if (std::llabs(int64_t(p.first) - p.second) <
                std::llabs(int64_t(best.first) - best.second)) {
                best = p;
            }
        }
        return best;
    };
    const auto [x1, x2] = nearest(left1, left1 + width1, left2, left2 + width2);
    const auto [y1, y2] = nearest(top1, top1 + height1, top2, top2 + height2);
    gi.Line(canvas, x1, y1, x2, y2);
}

} // namespace vizivodu
