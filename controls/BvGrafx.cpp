// Gradient renderers and blits, drawn into 32-bit pixel memory and then onto the canvas.
#include "controls/BvGrafx.h"

#include "platform/rtl/Rounding.h"
#include "platform/ui/CustomControl.h"
#include "platform/ui/Forms.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace controls {

using namespace gfx;

namespace {

uint32_t PixelOf(TColor color) {
    const uint32_t rgb = ColorToRGB(color);
    return 0xFF000000u | (uint32_t(GetRValue(rgb)) << 16) | (uint32_t(GetGValue(rgb)) << 8) |
           GetBValue(rgb);
}

void FillPixels(TBitmap &bmp, TRect r, uint32_t pixel) {
    r = IntersectRect(r, Rect(0, 0, bmp.GetWidth(), bmp.GetHeight()));
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
        std::fill(bmp.ScanLine(y) + r.Left, bmp.ScanLine(y) + r.Right, pixel);
    }
}

// Colour stepping in 16.16 fixed point per channel, as the band renderers do it.
struct TColorStepper {
    int32_t c[3], d[3];
    TColorStepper(TColor from, TColor to, int32_t steps) {
        const uint32_t a = ColorToRGB(from), b = ColorToRGB(to);
        const int32_t fa[3] = {GetRValue(a), GetGValue(a), GetBValue(a)};
        const int32_t fb[3] = {GetRValue(b), GetGValue(b), GetBValue(b)};
        for (int i = 0; i < 3; ++i) {
            c[i] = fa[i] << 16;
            d[i] = steps > 0 ? ((fb[i] << 16) - (fa[i] << 16)) / steps : 0;
        }
    }
    uint32_t Pixel() const {
        return 0xFF000000u | (uint32_t(c[0] >> 16) << 16) | (uint32_t(c[1] >> 16) << 8) |
               uint32_t(c[2] >> 16);
    }
    void Step() {
        for (int i = 0; i < 3; ++i) {
            c[i] += d[i];
        }
    }
};

int32_t MinThickness(uint8_t step, bool box) {
    if (step <= 8) {
        return std::max<int32_t>(step, 1);
    }
    return (box ? 256 : 255) / step + 1;
}

// Bands along one axis from farPos (farColor) back to nearPos (nearColor), each `across`
// pixels wide on the other axis; rows when horizontal bands, columns otherwise.
void LinearBands(TBitmap &bmp, bool rows, int32_t nearPos, int32_t farPos, TColor nearColor,
                 TColor farColor, int32_t across, int32_t minThick) {
    const int32_t n = std::abs(farPos - nearPos);
    const int32_t dir = nearPos >= farPos ? 1 : -1;
    TColorStepper st(farColor, nearColor, n);
    auto fill = [&](int32_t p1, int32_t p2, uint32_t px) {
        const int32_t a = std::min(p1, p2), b = std::max(p1, p2) + 1;
        FillPixels(bmp, rows ? Rect(0, a, across, b) : Rect(a, 0, b, across), px);
    };
    int32_t i = 0;
    while (i <= n) {
        const int32_t start = i;
        const uint32_t band = st.Pixel();
        do {
            ++i;
            st.Step();
        } while (i <= n && (st.Pixel() == band || i - start < minThick));
        fill(farPos + start * dir, farPos + (i - 1) * dir, band);
    }
}

void CenterBands(TBitmap &bmp, bool rows, int32_t extent, TColor start, TColor stop,
                 int32_t minThick) {
    const int32_t mid = extent / 2;
    LinearBands(bmp, rows, 0, mid, start, stop, 8, minThick);
    if (extent - 1 >= mid + 1) {
        LinearBands(bmp, rows, extent - 1, mid + 1, start, stop, 8, minThick);
    }
}

// The top-left quarter of a box gradient: L-shaped bands from the centre (stop colour)
// outwards to the edges (start colour).
void BoxBands(TBitmap &bmp, int32_t w, int32_t h, int32_t insetX, int32_t insetY, TColor start,
              TColor stop, int32_t minThick) {
    if (ColorToRGB(start) == ColorToRGB(stop) || w <= 4 || h <= 4) {
        FillPixels(bmp, Rect(0, 0, w + 1, h + 1), PixelOf(start));
        return;
    }
    const int32_t cx = (w - 1) / 2 + 1, cy = (h - 1) / 2 + 1;
    const int32_t ax = std::max((w - 1) / 2 - insetX, 0), ay = std::max((h - 1) / 2 - insetY, 0);
    const int32_t steps = std::max(ax, ay) + 1;
    TColorStepper st(stop, start, steps);
    int32_t prevL = ax, prevT = ay;
    FillPixels(bmp, Rect(ax, ay, cx, cy), st.Pixel());
    // Both edges move towards 0 by their half-extent / steps a step, rounded outwards so that
    // the last step (start colour) is the one that reaches the edges.
    for (int32_t i = 1; i <= steps;) {
        for (int32_t grown = 0; grown < minThick && i <= steps; ++grown, ++i) {
            st.Step();
        }
        const int32_t left = steps - std::min(i - 1, steps);
        const int32_t l = (ax * left + steps - 1) / steps, t = (ay * left + steps - 1) / steps;
        const uint32_t band = st.Pixel();
        FillPixels(bmp, Rect(l, t, cx, prevT), band);
        FillPixels(bmp, Rect(l, prevT, prevL, cy), band);
        prevL = l;
        prevT = t;
    }
}

// Diagonal bands: the colour steps with the distance along the diagonal; lines of equal
// colour run across the rectangle between its edges.
void DiagonalBands(TBitmap &bmp, int32_t w, int32_t h, bool down, TColor start, TColor stop,
                   int32_t minThick) {
    const int32_t steps = int32_t(std::trunc(std::sqrt(double(w) * w + double(h) * h))) + 1;
    std::vector<uint32_t> colors(size_t(steps) + 1);
    TColorStepper st(start, stop, steps);
    uint32_t band = st.Pixel();
    int32_t bandStart = 0;
    for (int32_t i = 0; i <= steps; ++i) {
        if (st.Pixel() != band && i - bandStart >= minThick) {
            band = st.Pixel();
            bandStart = i;
        }
        colors[size_t(i)] = band;
        st.Step();
    }
    for (int32_t y = 0; y < h; ++y) {
        uint32_t *row = bmp.ScanLine(y);
        // Up: start at the bottom-left corner; down: start at the top-left corner.
        const double fy =
            down ? double(y) / std::max(h - 1, 1) : double(h - 1 - y) / std::max(h - 1, 1);
        for (int32_t x = 0; x < w; ++x) {
            const double p = (double(x) / std::max(w - 1, 1) + fy) / 2;
            row[x] = colors[size_t(rtl::RoundSaturated<int32_t>(p * steps))];
        }
    }
}

} // namespace

void GradientFillCanvas(TCanvas &canvas, TColor startColor, TColor stopColor, const TRect &rect,
                        TGradientFillDirection direction) {
    if (rect.IsEmpty()) {
        return;
    }
    const uint32_t a = ColorToRGB(startColor), b = ColorToRGB(stopColor);
    const int32_t n = direction == gfdVertical ? rect.Height() : rect.Width();
    for (int32_t i = 0; i < n; ++i) {
        auto ch = [&](uint8_t s, uint8_t e) { return uint8_t(s + (int32_t(e) - s) * i / n); };
        canvas.GetBrush().SetColor(RGB(ch(GetRValue(a), GetRValue(b)),
                                       ch(GetGValue(a), GetGValue(b)),
                                       ch(GetBValue(a), GetBValue(b))));
        canvas.FillRect(direction == gfdVertical
                            ? Rect(rect.Left, rect.Top + i, rect.Right, rect.Top + i + 1)
                            : Rect(rect.Left + i, rect.Top, rect.Left + i + 1, rect.Bottom));
    }
}

void PaintGradientRect(TCanvas &canvas, const TRect &rect, TGradientDirection direction,
                       TColor startColor, TColor stopColor, uint8_t bandStep) {
    if (direction == gdHorizontalEnd) {
        GradientFillCanvas(canvas, startColor, stopColor, rect, gfdVertical);
    } else if (direction == gdVerticalEnd) {
        GradientFillCanvas(canvas, startColor, stopColor, rect, gfdHorizontal);
    } else {
        PaintGradientBitmap(canvas, rect, direction, startColor, stopColor, bandStep);
    }
}

void PaintGradientBitmap(TCanvas &canvas, const TRect &rect, TGradientDirection direction,
                         TColor startColor, TColor stopColor, uint8_t bandStep) {
    const int32_t w = std::abs(rect.Width()), h = std::abs(rect.Height());
    if (w == 0 || h == 0) {
        return;
    }
    TBitmap bmp(w, h);
    const int32_t linear = MinThickness(bandStep, false), box = MinThickness(bandStep, true);
    switch (direction) {
    case gdHorizontalCenter:
        CenterBands(bmp, true, h, startColor, stopColor, linear);
        FillByDoublingBlits(bmp, 0, 0, w, h, std::min(8, w), h);
        break;
    case gdVerticalCenter:
        CenterBands(bmp, false, w, startColor, stopColor, linear);
        FillByDoublingBlits(bmp, 0, 0, w, h, w, std::min(8, h));
        break;
    case gdHorizontalBox:
    case gdVerticalBox:
    case gdSquareBox:
    case gdBigSquareBox: {
        if (direction == gdHorizontalBox || direction == gdSquareBox) {
            FillPixels(bmp, Rect(0, 0, w, h), PixelOf(startColor));
        }
        const bool insetX = direction == gdHorizontalBox || direction == gdBigSquareBox;
        const bool insetY = direction == gdVerticalBox || direction == gdBigSquareBox;
        BoxBands(bmp, w, h, insetX ? w / 4 : 0, insetY ? h / 4 : 0, startColor, stopColor, box);
        MirrorQuarterBlits(bmp, 0, 0, w, h);
        break;
    }
    default:
        if (ColorToRGB(startColor) == ColorToRGB(stopColor)) {
            FillPixels(bmp, Rect(0, 0, w, h), PixelOf(startColor));
        } else {
            DiagonalBands(bmp, w, h, direction == gdDiagonalDown, startColor, stopColor, linear);
        }
        break;
    }
    canvas.Draw(std::min(rect.Left, rect.Right), std::min(rect.Top, rect.Bottom), bmp);
}

namespace {

// A nearest-neighbour stretch copy inside one bitmap through a temporary copy of the source;
// negative destination extents mirror.
void StretchSelf(TBitmap &bmp, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx,
                 int32_t sy, int32_t sw, int32_t sh) {
    if (dw == 0 || dh == 0 || sw <= 0 || sh <= 0) {
        return;
    }
    const TRect all = Rect(0, 0, bmp.GetWidth(), bmp.GetHeight());
    std::vector<uint32_t> src(size_t(sw) * size_t(sh), 0);
    for (int32_t y = 0; y < sh; ++y) {
        for (int32_t x = 0; x < sw; ++x) {
            if (all.Contains({sx + x, sy + y})) {
                src[size_t(y) * size_t(sw) + size_t(x)] = bmp.ScanLine(sy + y)[sx + x];
            }
        }
    }
    const int32_t aw = std::abs(dw), ah = std::abs(dh);
    for (int32_t j = 0; j < ah; ++j) {
        const int32_t ty = dh > 0 ? dy + j : dy - j;
        for (int32_t i = 0; i < aw; ++i) {
            const int32_t tx = dw > 0 ? dx + i : dx - i;
            if (all.Contains({tx, ty})) {
                // Pixel centres are sampled, as a stretching block copy does.
                const int32_t si = (2 * i + 1) * sw / (2 * aw), sj = (2 * j + 1) * sh / (2 * ah);
                bmp.ScanLine(ty)[tx] = src[size_t(sj) * size_t(sw) + size_t(si)];
            }
        }
    }
}

} // namespace

void FillByDoublingBlits(TBitmap &bitmap, int32_t x, int32_t y, int32_t totalW, int32_t totalH,
                         int32_t filledW, int32_t filledH) {
    if (filledW <= 0 || filledH <= 0) {
        return;
    }
    bool vertical = filledH < totalH;
    while (filledW < totalW || filledH < totalH) {
        if (vertical && filledH < totalH) {
            const int32_t n = std::min(filledH, totalH - filledH);
            StretchSelf(bitmap, x, y + filledH, filledW, n, x, y, filledW, n);
            filledH += n;
            vertical = filledW >= totalW;
        } else {
            const int32_t n = std::min(filledW, totalW - filledW);
            StretchSelf(bitmap, x + filledW, y, n, filledH, x, y, n, filledH);
            filledW += n;
            vertical = filledH < totalH;
        }
    }
}

void MirrorQuarterBlits(TBitmap &bitmap, int32_t x, int32_t y, int32_t w, int32_t h) {
    const int32_t hw = w / 2, hh = h / 2, k = (hw % 2 != 0) ? 1 : 0;
    StretchSelf(bitmap, x, y + h - 1, hw + 1, -hh, x, y, hw, hh);
    StretchSelf(bitmap, x + w - 1, y, -(hw + k), h, x, y, hw - k, h);
}

void DrawMaskedBitmap(TCanvas &canvas, const TBitmap &bitmap, const TRect &dest, const TRect &src,
                      TColor transparentColor) {
    const int32_t dw = dest.Width(), dh = dest.Height(), sw = src.Width(), sh = src.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    const uint32_t clear = PixelOf(transparentColor) & 0xFFFFFFu;
    for (int32_t j = 0; j < dh; ++j) {
        const int32_t sy = src.Top + (2 * j + 1) * sh / (2 * dh);
        const uint32_t *row = bitmap.ScanLine(sy);
        if (!row) {
            continue;
        }
        for (int32_t i = 0; i < dw; ++i) {
            const int32_t sx = src.Left + (2 * i + 1) * sw / (2 * dw);
            if (sx < 0 || sx >= bitmap.GetWidth() || (row[sx] & 0xFFFFFFu) == clear) {
                continue;
            }
            const uint32_t p = row[sx];
            canvas.SetPixel(dest.Left + i, dest.Top + j,
                            RGB(uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)));
        }
    }
}

void PaintParentBackground(ui::TControl &control, TCanvas &canvas, bool invalidateParent) {
    ui::TWinControl *parent = control.GetParent();
    if (!parent) {
        return;
    }
    const int32_t dx = -control.GetLeft(), dy = -control.GetTop();
    TRect area = parent->GetClientRect();
    area.Offset(dx, dy);
    canvas.GetBrush().SetColor(parent->GetColor());
    canvas.GetBrush().SetStyle(bsSolid);
    canvas.FillRect(area);
    if (auto *printer = dynamic_cast<IBvPrintClient *>(parent)) {
        printer->PrintClient(canvas, dx, dy);
    }
    if (invalidateParent && !dynamic_cast<ui::TCustomControl *>(parent) &&
        !dynamic_cast<ui::TForm *>(parent)) {
        parent->Invalidate();
    }
}

} // namespace controls
