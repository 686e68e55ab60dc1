// The GDI engine's operations outside text placement: fonts, canvases, mapping, clipping,
// shapes, pictures and translucent fills.
#include "vizivodu/layout/text/VDWinGrIn.h"

#include "platform/gfx/ImgList.h"
#include "platform/gfx/Printers.h"
#include "platform/ui/Control.h"
#include "vizivodu/layout/text/VDGrIn_p.h"
#include "vizivodu/styles/VDFuncs.h"

#include <algorithm>
#include <vector>

namespace vizivodu {

namespace {

// The tile size of translucent fills.
constexpr int32_t AlphaTile = 1000;

} // namespace

void TVDWinGraphicInterface::TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                     const TVDTextRun &run, TVDTextOutput) {
    canvas.ExtTextOut(x, y, 0, nullptr, grin::CanvasText(canvas, run));
}

uint32_t TVDWinGraphicInterface::GetOutlineTextMetrics(gfx::TCanvas &canvas, uint32_t size,
                                                       gfx::TOutlineTextMetric *otm) {
    constexpr uint32_t needed = sizeof(gfx::TOutlineTextMetric);
    gfx::TOutlineTextMetric metrics;
    if (!canvas.GetOutlineTextMetrics(metrics)) {
        return 0;
    }
    if (!otm) {
        return needed;
    }
    if (size < needed) {
        return 0;
    }
    *otm = metrics;
    return needed;
}

bool TVDWinGraphicInterface::GetTextMetrics(gfx::TCanvas &canvas, gfx::TTextMetric &tm) {
    tm = canvas.GetTextMetrics();
    return true;
}

bool TVDWinGraphicInterface::FontHasLigationGlyphs(gfx::TCanvas &canvas) {
    return (canvas.GetFontLanguageInfo() & gfx::GCP_LIGATE) != 0;
}

void TVDWinGraphicInterface::SetTextAlign(gfx::TCanvas &canvas, uint32_t flags) {
    canvas.SetTextAlign(flags);
}

uint32_t TVDWinGraphicInterface::GetTextAlign(gfx::TCanvas &canvas) {
    return canvas.GetTextAlign();
}

int32_t TVDWinGraphicInterface::GetTextCharacterExtra(gfx::TCanvas &canvas) {
    return canvas.GetTextCharacterExtra();
}

void TVDWinGraphicInterface::SetTextCharacterExtra(gfx::TCanvas &canvas, int32_t charExtra) {
    canvas.SetTextCharacterExtra(charExtra);
}

void TVDWinGraphicInterface::SetLogFont(gfx::TCanvas &canvas, const gfx::TLogFont &logFont) {
    canvas.GetFont().SetLogFont(logFont);
}

TVDFontHandle TVDWinGraphicInterface::SetFontHandle(gfx::TCanvas &canvas,
                                                    const TVDFontHandle &font) {
    return canvas.SelectLogFont(font);
}

// The brush rule of the class library gives a hatch a transparent background: the mode and
// colour are set again after the brush.
void TVDWinGraphicInterface::SetDiagonalBrush(gfx::TCanvas &canvas, gfx::TColor backColor,
                                              gfx::TColor foreColor, int32_t xOrg, int32_t yOrg) {
    canvas.SetBkColor(backColor);
    canvas.GetBrush().SetColor(foreColor);
    canvas.GetBrush().SetStyle(gfx::bsFDiagonal);
    canvas.SetBrushOrg({xOrg, yOrg});
    canvas.SetBkMode(gfx::OPAQUE);
    canvas.SetBkColor(backColor);
}

// ---- Canvases -----------------------------------------------------------------------------

std::unique_ptr<gfx::TCanvas> TVDWinGraphicInterface::CreateScreenCanvas() {
    gfx::TDeviceCaps caps;
    caps.LogPixelsX = caps.LogPixelsY = gfx::ScreenPixelsPerInch;
    return std::make_unique<gfx::TCanvas>(gfx::NewInformationDevice(caps));
}

void TVDWinGraphicInterface::DestroyScreenCanvas(std::unique_ptr<gfx::TCanvas> &canvas) {
    canvas.reset();
}

std::unique_ptr<gfx::TCanvas> TVDWinGraphicInterface::CreateCompatibleCanvas(gfx::TCanvas &canvas) {
    auto result =
        std::make_unique<gfx::TCanvas>(gfx::NewInformationDevice(canvas.GetDeviceCapsInfo()));
    if (IsAdvancedGraphicsMode(canvas)) {
        SetGraphicsMode(*result, vdgmAdvanced);
        gfx::TXForm xf;
        if (GetWorldTransform(canvas, xf)) {
            SetWorldTransform(*result, xf);
        }
    }
    result->GetFont().SetPixelsPerInch(canvas.GetFont().GetPixelsPerInch());
    return result;
}

void TVDWinGraphicInterface::DestroyCompatibleCanvas(std::unique_ptr<gfx::TCanvas> &canvas) {
    canvas.reset();
}

std::unique_ptr<gfx::TCanvas> TVDWinGraphicInterface::CreatePrinterCanvas() {
    std::unique_ptr<gfx::TCanvas> canvas;
    try {
        canvas = gfx::Printer().CreateInformationCanvas();
    } catch (const gfx::EPrinter &) {
        return nullptr;
    }
    if (canvas) {
        canvas->GetFont().SetPixelsPerInch(canvas->GetDeviceCaps(gfx::LOGPIXELSY));
    }
    return canvas;
}

// ---- Mapping ------------------------------------------------------------------------------

void TVDWinGraphicInterface::GetViewportExtEx(gfx::TCanvas &canvas, rtl::TSize &size) {
    size = canvas.GetViewportExtEx();
}

void TVDWinGraphicInterface::GetViewportOrgEx(gfx::TCanvas &canvas, rtl::TPoint &point) {
    point = canvas.GetViewportOrgEx();
}

void TVDWinGraphicInterface::GetWindowExtEx(gfx::TCanvas &canvas, rtl::TSize &size) {
    size = canvas.GetWindowExtEx();
}

void TVDWinGraphicInterface::GetWindowOrgEx(gfx::TCanvas &canvas, rtl::TPoint &point) {
    point = canvas.GetWindowOrgEx();
}

void TVDWinGraphicInterface::SetViewportExtEx(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                              rtl::TSize *old) {
    canvas.SetViewportExtEx(x, y, old);
}

void TVDWinGraphicInterface::SetViewportOrgEx(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                              rtl::TPoint *old) {
    const rtl::TPoint previous = canvas.SetViewportOrgEx(x, y);
    if (old) {
        *old = previous;
    }
}

void TVDWinGraphicInterface::SetWindowExtEx(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                            rtl::TSize *old) {
    canvas.SetWindowExtEx(x, y, old);
}

void TVDWinGraphicInterface::SetWindowOrgEx(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                            rtl::TPoint *old) {
    const rtl::TPoint previous = canvas.SetWindowOrgEx(x, y);
    if (old) {
        *old = previous;
    }
}

int32_t TVDWinGraphicInterface::GetMapMode(gfx::TCanvas &canvas) {
    return canvas.GetMapMode();
}

int32_t TVDWinGraphicInterface::SetMapMode(gfx::TCanvas &canvas, int32_t mode) {
    return canvas.SetMapMode(mode);
}

TVDGraphicsMode TVDWinGraphicInterface::SetGraphicsMode(gfx::TCanvas &canvas,
                                                        TVDGraphicsMode mode) {
    const TVDGraphicsMode previous = IsAdvancedGraphicsMode(canvas) ? vdgmAdvanced : vdgmCompatible;
    if (previous == mode) {
        return previous;
    }
    if (mode == vdgmCompatible) {
        canvas.ModifyWorldTransform(gfx::TXForm(), gfx::MWT_IDENTITY);
        canvas.SetGraphicsMode(gfx::GM_COMPATIBLE);
    } else {
        canvas.SetGraphicsMode(gfx::GM_ADVANCED);
    }
    return previous;
}

bool TVDWinGraphicInterface::IsAdvancedGraphicsMode(gfx::TCanvas &canvas) {
    return canvas.GetGraphicsMode() != gfx::GM_COMPATIBLE;
}

bool TVDWinGraphicInterface::GetWorldTransform(gfx::TCanvas &canvas, gfx::TXForm &xform) {
    xform = canvas.GetWorldTransform();
    return true;
}

bool TVDWinGraphicInterface::SetWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform) {
    return canvas.SetWorldTransform(xform);
}

bool TVDWinGraphicInterface::ModifyWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform) {
    return canvas.ModifyWorldTransform(xform, gfx::MWT_LEFTMULTIPLY);
}

// ---- Invalidation and clipping ------------------------------------------------------------

void TVDWinGraphicInterface::InvalidateRect(ui::TControl &control, const rtl::TRect *rect) {
    if (rect) {
        control.InvalidateRect(*rect);
    } else {
        control.Invalidate();
    }
}

void TVDWinGraphicInterface::IntersectClipRect(gfx::TCanvas &canvas, int32_t x1, int32_t y1,
                                               int32_t x2, int32_t y2) {
    canvas.IntersectClipRect(x1, y1, x2, y2);
}

void TVDWinGraphicInterface::ExcludeClipRect(gfx::TCanvas &canvas, int32_t x1, int32_t y1,
                                             int32_t x2, int32_t y2) {
    canvas.ExcludeClipRect(x1, y1, x2, y2);
}

void TVDWinGraphicInterface::IntersectClipRectEx(gfx::TCanvas &canvas, int32_t x1, int32_t y1,
                                                 int32_t x2, int32_t y2, TVDClipRgn &rgn) {
    GetClipRgn(canvas, rgn);
    IntersectClipRect(canvas, x1, y1, x2, y2);
}

void TVDWinGraphicInterface::GetClipRgn(gfx::TCanvas &canvas, TVDClipRgn &rgn) {
    rgn.Rgn = gfx::TRegion();
    rgn.Valid = canvas.GetClipRgn(rgn.Rgn) == 1;
}

void TVDWinGraphicInterface::RemoveClipRgn(gfx::TCanvas &canvas, TVDClipRgn &rgn) {
    GetClipRgn(canvas, rgn);
    canvas.SelectClipRgn(nullptr);
}

void TVDWinGraphicInterface::RestoreClipRgn(gfx::TCanvas &canvas, TVDClipRgn &rgn) {
    canvas.SelectClipRgn(rgn.Valid ? &rgn.Rgn : nullptr);
    FreeClipRgn(rgn);
}

void TVDWinGraphicInterface::IntersectClipRgn(gfx::TCanvas &canvas, const TVDClipRgn &rgn) {
    if (rgn.Valid) {
        canvas.ExtSelectClipRgn(&rgn.Rgn, gfx::RGN_AND);
    } else {
        canvas.SelectClipRgn(nullptr);
    }
}

void TVDWinGraphicInterface::UnionClipRgn(gfx::TCanvas &canvas, const TVDClipRgn &rgn) {
    if (rgn.Valid) {
        canvas.ExtSelectClipRgn(&rgn.Rgn, gfx::RGN_OR);
    }
}

void TVDWinGraphicInterface::FreeClipRgn(TVDClipRgn &rgn) {
    rgn = TVDClipRgn();
}

int32_t TVDWinGraphicInterface::SaveCanvasState(gfx::TCanvas &canvas) {
    return canvas.SaveDC();
}

void TVDWinGraphicInterface::RestoreCanvasState(gfx::TCanvas &canvas, int32_t state) {
    canvas.RestoreDC(state);
}

// ---- Shapes and pictures ------------------------------------------------------------------

void TVDWinGraphicInterface::FillColorRect(gfx::TCanvas &canvas, const rtl::TRect &r,
                                           gfx::TColor color) {
    const gfx::TBrush saved = canvas.GetBrush();
    canvas.GetBrush().SetColor(color);
    canvas.GetBrush().SetStyle(gfx::bsSolid);
    canvas.FillRect(r);
    canvas.GetBrush().Assign(saved);
}

void TVDWinGraphicInterface::Polyline(gfx::TCanvas &canvas,
                                      const std::vector<rtl::TPoint> &points) {
    canvas.Polyline(points);
}

void TVDWinGraphicInterface::DrawBitmap(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                        const gfx::TBitmap &bmp) {
    const int32_t w = bmp.GetWidth(), h = bmp.GetHeight();
    if (w > 0 && h > 0) {
        canvas.DrawPixels32(rtl::Rect(x, y, x + w, y + h), bmp.ScanLine(0), w, h, bmp.StrideBytes(),
                            rtl::Rect(0, 0, w, h));
    }
}

void TVDWinGraphicInterface::StretchDrawBitmap(gfx::TCanvas &canvas, const rtl::TRect &r,
                                               const gfx::TBitmap &bmp) {
    const int32_t w = bmp.GetWidth(), h = bmp.GetHeight();
    if (w > 0 && h > 0) {
        canvas.DrawPixels32(r, bmp.ScanLine(0), w, h, bmp.StrideBytes(), rtl::Rect(0, 0, w, h));
    }
}

void TVDWinGraphicInterface::PrintBitmap(gfx::TCanvas &canvas, const rtl::TRect &r,
                                         const gfx::TBitmap &bmp) {
    if (PrintBitmapHalftone) {
        StretchDrawBitmapHalftone(canvas, r.Left, r.Top, r.Width(), r.Height(), bmp);
    } else {
        PrintBitmapDIB(canvas, r.Left, r.Top, r.Width(), r.Height(), bmp);
    }
}

namespace {

// The image drawn on black and on white: where the two differ the image lets the ground
// through; its straight alpha and colour follow from the difference.
std::vector<uint32_t> ImageWithAlpha(const gfx::TCustomImageList &list, int32_t index,
                                     gfx::TColor blendColor) {
    const int32_t w = list.GetWidth(), h = list.GetHeight();
    gfx::TBitmap black(w, h), white(w, h);
    black.GetCanvas().GetBrush().SetColor(gfx::clBlack);
    black.GetCanvas().FillRect(rtl::Rect(0, 0, w, h));
    list.Draw(black.GetCanvas(), 0, 0, index);
    list.Draw(white.GetCanvas(), 0, 0, index);
    const uint32_t blend = gfx::ColorToRGB(blendColor); // $00BBGGRR
    const uint32_t blendRgb[3] = {blend & 0xFF, (blend >> 8) & 0xFF, (blend >> 16) & 0xFF};
    std::vector<uint32_t> pixels(size_t(w) * size_t(h));
    for (int32_t y = 0; y < h; ++y) {
        const uint32_t *b = black.ScanLine(y), *wh = white.ScanLine(y);
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t g = (wh[x] >> 8) & 0xFF, k = (b[x] >> 8) & 0xFF;
            const uint32_t alpha = 255 - std::min<uint32_t>(255, g - std::min(g, k));
            uint32_t out = alpha << 24;
            for (int c = 0; c < 3 && alpha > 0; ++c) {
                const uint32_t channel = (b[x] >> (16 - 8 * c)) & 0xFF;
                const uint32_t straight =
                    std::min<uint32_t>(255, (channel * 255 + alpha / 2) / alpha);
                out |= ((straight + blendRgb[c] + 1) / 2) << (16 - 8 * c);
            }
            pixels[size_t(y) * size_t(w) + size_t(x)] = out;
        }
    }
    return pixels;
}

} // namespace

void TVDWinGraphicInterface::DrawImageList(gfx::TCanvas &canvas,
                                           const gfx::TCustomImageList &imageList, int32_t index,
                                           int32_t x, int32_t y, gfx::TColor blendColor) {
    if (blendColor == gfx::clNone || index < 0 || index >= imageList.GetCount()) {
        imageList.Draw(canvas, x, y, index);
        return;
    }
    const int32_t w = imageList.GetWidth(), h = imageList.GetHeight();
    const std::vector<uint32_t> pixels = ImageWithAlpha(imageList, index, blendColor);
    gfx::TBlendFunction blend;
    blend.AlphaFormat = gfx::AC_SRC_ALPHA;
    canvas.AlphaBlend(rtl::Rect(x, y, x + w, y + h), {pixels.data(), w, h, w * 4},
                      rtl::Rect(0, 0, w, h), blend);
}

int32_t TVDWinGraphicInterface::GetDeviceCaps(gfx::TCanvas &canvas, int32_t index) {
    return canvas.GetDeviceCaps(index);
}

void TVDWinGraphicInterface::ConvertPenToGeometric(gfx::TCanvas &canvas) {
    gfx::TPen &pen = canvas.GetPen();
    pen.SetStyle(gfx::psSolid);
    pen.SetEndCap(gfx::pecSquare);
    pen.SetJoinStyle(gfx::pjsRound);
}

void TVDWinGraphicInterface::ConvertPenToCosmetic(gfx::TCanvas &canvas) {
    gfx::TPen &pen = canvas.GetPen();
    pen.SetStyle(gfx::psSolid);
    pen.SetEndCap(gfx::pecRound);
    pen.SetJoinStyle(gfx::pjsRound);
}

// ---- Translucent fills --------------------------------------------------------------------

bool TVDWinGraphicInterface::AlphaBlend(gfx::TCanvas &canvas, const rtl::TRect &dest,
                                        const gfx::TPixels32 &pixels, uint8_t opacity) {
    if ((canvas.GetDeviceCaps(gfx::SHADEBLENDCAPS) & gfx::SB_CONST_ALPHA) == 0) {
        return false;
    }
    gfx::TBlendFunction blend;
    blend.SourceConstantAlpha = opacity;
    canvas.AlphaBlend(dest, pixels, rtl::Rect(0, 0, pixels.Width, pixels.Height), blend);
    return true;
}

// Full tiles column by column, then the strip at the right edge, the strip along the bottom
// and the corner; a failing blend ends the tiling and the rectangle is filled opaque.
void TVDWinGraphicInterface::FillRectAlpha(gfx::TCanvas &canvas, const rtl::TRect &r,
                                           gfx::TColor color, uint8_t opacity) {
    const int32_t width = r.Width(), height = r.Height();
    if (opacity == 0 || color == gfx::clNone || width <= 0 || height <= 0) {
        return;
    }
    if (opacity < 255) {
        const int32_t tw = std::min(width, AlphaTile), th = std::min(height, AlphaTile);
        const int32_t columns = width / tw, rows = height / th;
        const int32_t restW = width - columns * tw, restH = height - rows * th;
        const uint32_t bgr = gfx::ColorToRGB(color);
        const uint32_t argb = 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | (bgr >> 16);
        bool ok = true;
        auto blend = [&](int32_t x, int32_t y, int32_t w, int32_t h) {
            if (!ok) {
                return;
            }
            std::vector<uint32_t> pixels(size_t(w) * size_t(h), argb);
            const gfx::TPixels32 source{pixels.data(), w, h, w * 4};
            ok = AlphaBlend(canvas, rtl::Rect(x, y, x + w, y + h), source, opacity);
        };
        try {
            for (int32_t c = 0; c < columns; ++c) {
                for (int32_t k = 0; k < rows; ++k) {
                    blend(r.Left + c * tw, r.Top + k * th, tw, th);
                }
            }
            for (int32_t k = 0; k < rows && restW > 0; ++k) {
                blend(r.Left + columns * tw, r.Top + k * th, restW, th);
            }
            for (int32_t c = 0; c < columns && restH > 0; ++c) {
                blend(r.Left + c * tw, r.Top + rows * th, tw, restH);
            }
            if (restW > 0 && restH > 0) {
                blend(r.Left + columns * tw, r.Top + rows * th, restW, restH);
            }
        } catch (...) {
            ok = false;
        }
        if (ok) {
            return;
        }
    }
    canvas.GetBrush().SetColor(color);
    FillRect(canvas, r);
}

} // namespace vizivodu
