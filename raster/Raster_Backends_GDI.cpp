// The platform back end on our canvas, and the device side of TBitmap32.
#include "raster/Raster_Backends_GDI.h"

#include "raster/Raster_Resamplers.h"

#include "platform/gfx/Graphics.h"
#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace raster {

namespace {

// Text is measured on this canvas while a bitmap has no pixels of its own.
struct TMeasuringCanvas {
    std::mutex Lock;
    uint32_t Bits[8 * 8] = {};
    gfx::TPixelCanvas Canvas{Bits, 8, 8, 32};
};

TMeasuringCanvas &MeasuringCanvas() {
    static TMeasuringCanvas m;
    return m;
}

template <class I> I &Require(TCustomBackend *backend) {
    I *i = dynamic_cast<I *>(backend);
    if (i == nullptr) {
        throw rtl::EInvalidCast(std::string_view("Interface not supported"));
    }
    return *i;
}

} // namespace

TCustomBackend *PlatformBackendClass() {
    return new TGDIBackend();
}

TGDIBackend::TGDIBackend() : FFont(std::make_unique<gfx::TFont>()) {
    FFont->OnChange = [this] {
        // A new font handle would have the default quality; the colour is not part of it.
        if (FFontQuality != fqDefault && !SameFontButColour(*FFont, FQualityFont)) {
            FFontQuality = fqDefault;
        }
        if (OnFontChange) {
            OnFontChange();
        }
    };
}

bool TGDIBackend::SameFontButColour(const gfx::TFont &a, const gfx::TFont &b) {
    gfx::TFont c = a;
    c.SetColor(b.GetColor());
    return c.SameAs(b);
}

void TGDIBackend::RecreateFontWithQuality(TFontQuality quality) {
    FFontQuality = quality;
    FQualityFont = *FFont;
}

TGDIBackend::~TGDIBackend() {
    DeleteCanvas();
    ReleaseSurface();
}

void TGDIBackend::AllocateSurface(int32_t newWidth, int32_t newHeight, bool) {
    FBitmapInfo.bmiHeader.biWidth = newWidth;
    FBitmapInfo.bmiHeader.biHeight = -newHeight;
    FBitmapInfo.bmiHeader.biSizeImage = uint32_t(newWidth) * uint32_t(newHeight) * 4;
    FBits = AllocatePixels(newWidth, newHeight);
    std::memset(FBits, 0, size_t(newWidth) * size_t(newHeight) * 4);
    FSurfaceWidth = newWidth;
    FSurfaceHeight = newHeight;
}

void TGDIBackend::ReleaseSurface() {
    DeleteCanvas();
    FreePixels(FBits);
    FBits = nullptr;
    FSurfaceWidth = FSurfaceHeight = 0;
}

gfx::TCanvas &TGDIBackend::GetCanvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<gfx::TPixelCanvas>(FBits, FSurfaceWidth, FSurfaceHeight,
                                                      FSurfaceWidth * 4);
    }
    return *FCanvas;
}

void TGDIBackend::DeleteCanvas() {
    FCanvas.reset();
}

gfx::TFont &TGDIBackend::GetFont() {
    return *FFont;
}

void TGDIBackend::SetFont(const gfx::TFont &font) {
    FFont->Assign(font);
    if (OnFontChange) {
        OnFontChange();
    }
}

void TGDIBackend::UpdateFont() {
    gfx::TCanvas &c = GetCanvas();
    c.SetFont(*FFont);
    c.GetBrush().SetStyle(gfx::bsClear);
}

bool TGDIBackend::OwnerMeasuring() const {
    return FOwner != nullptr && FOwner->GetMeasuringMode();
}

void TGDIBackend::ReportToOwner(const TRect &area) {
    if (FOwner != nullptr) {
        FOwner->Changed(area, AreaInfoRect);
    }
}

void TGDIBackend::TextoutClipped(int32_t x, int32_t y, const TRect *clip,
                                 const rtl::UnicodeString &text) {
    UpdateFont();
    if (!OwnerMeasuring() && FBits != nullptr && FFontQuality == fqNonAntialiased) {
        TextoutWholePixels(
            x, y, clip != nullptr ? *clip : TRect{0, 0, FSurfaceWidth, FSurfaceHeight}, text);
    } else if (!OwnerMeasuring() && FBits != nullptr) {
        gfx::TCanvas &c = GetCanvas();
        if (clip != nullptr) {
            c.IntersectClipRect(*clip);
        }
        c.TextOut(x, y, text);
        c.ResetClipRect();
    }
    const TSize size = TextExtent(text);
    ReportToOwner({x, y, x + size.cx + 1, y + size.cy + 1});
}

// Text without antialiasing: the font engine's coverage of the text, drawn white into a mask,
// decides each pixel whole (half covered or more).
void TGDIBackend::TextoutWholePixels(int32_t x, int32_t y, const TRect &clip,
                                     const rtl::UnicodeString &text) {
    const TSize extent = TextExtent(text);
    if (extent.cx <= 0 || extent.cy <= 0) {
        return;
    }
    std::vector<uint32_t> mask(size_t(extent.cx) * size_t(extent.cy), 0);
    gfx::TPixelCanvas canvas(mask.data(), extent.cx, extent.cy, extent.cx * 4);
    gfx::TFont white = *FFont;
    white.SetColor(gfx::clWhite);
    canvas.SetFont(white);
    canvas.GetBrush().SetStyle(gfx::bsClear);
    canvas.TextOut(0, 0, text);
    const uint32_t rgb = gfx::ColorToRGB(FFont->GetColor());
    const TColor32 colour =
        0xFF000000u | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    TRect r;
    IntersectRects(r, clip, {0, 0, FSurfaceWidth, FSurfaceHeight});
    for (int32_t j = std::max(0, r.Top - y); j < extent.cy && y + j < r.Bottom; ++j) {
        for (int32_t i = std::max(0, r.Left - x); i < extent.cx && x + i < r.Right; ++i) {
            if ((mask[size_t(j) * size_t(extent.cx) + size_t(i)] & 0xFF) >= 128) {
                FBits[size_t(y + j) * size_t(FSurfaceWidth) + size_t(x + i)] = colour;
            }
        }
    }
}

void TGDIBackend::Textout(int32_t x, int32_t y, const rtl::UnicodeString &text) {
    if (FOwner != nullptr && FOwner->GetClipping()) {
        const TRect clip = FOwner->GetClipRect();
        TextoutClipped(x, y, &clip, text);
    } else {
        TextoutClipped(x, y, nullptr, text);
    }
}

void TGDIBackend::Textout(int32_t x, int32_t y, const TRect &clipRect,
                          const rtl::UnicodeString &text) {
    TextoutClipped(x, y, &clipRect, text);
}

void TGDIBackend::Textout(TRect &dstRect, uint32_t flags, const rtl::UnicodeString &text) {
    UpdateFont();
    if (!OwnerMeasuring() && FBits != nullptr) {
        gfx::TRect r = dstRect;
        GetCanvas().DrawText(text, r, flags);
    }
    ReportToOwner(dstRect);
}

TSize TGDIBackend::TextExtent(const rtl::UnicodeString &text) {
    if (FBits != nullptr) {
        gfx::TCanvas &c = GetCanvas();
        c.SetFont(*FFont);
        const gfx::TSize s = c.TextExtent(text);
        return {s.cx, s.cy};
    }
    TMeasuringCanvas &m = MeasuringCanvas();
    std::lock_guard<std::mutex> guard(m.Lock);
    m.Canvas.SetFont(*FFont);
    const gfx::TSize s = m.Canvas.TextExtent(text);
    return {s.cx, s.cy};
}

gfx::TCanvas *TGDIBackend::GetHandle() {
    return FBits != nullptr ? &GetCanvas() : nullptr;
}

void TGDIBackend::Draw(const TRect &dstRect, const TRect &srcRect, gfx::TCanvas &src) {
    if (FBits == nullptr) {
        return;
    }
    if (!OwnerMeasuring()) {
        GetCanvas().CopyRect(dstRect, src, srcRect);
    }
    ReportToOwner(dstRect);
}

void TGDIBackend::DrawTo(gfx::TCanvas &dst, int32_t dstX, int32_t dstY) {
    if (FBits == nullptr) {
        return;
    }
    dst.DrawPixels32({dstX, dstY, dstX + FSurfaceWidth, dstY + FSurfaceHeight}, FBits,
                     FSurfaceWidth, FSurfaceHeight, FSurfaceWidth * 4,
                     {0, 0, FSurfaceWidth, FSurfaceHeight});
}

void TGDIBackend::DrawTo(gfx::TCanvas &dst, const TRect &dstRect, const TRect &srcRect) {
    if (FBits == nullptr) {
        return;
    }
    dst.DrawPixels32(dstRect, FBits, FSurfaceWidth, FSurfaceHeight, FSurfaceWidth * 4, srcRect);
}

void TGDIBackend::DoPaint(TBitmap32 &buffer, const TRectList &invalidRects, gfx::TCanvas &canvas,
                          const TRect &viewport) {
    if (buffer.Empty()) {
        return;
    }
    const auto copy = [&](const TRect &src) {
        TRect dst = src;
        MoveRect(dst, viewport.Left, viewport.Top);
        canvas.DrawPixels32(dst, buffer.GetBits(), buffer.GetWidth(), buffer.GetHeight(),
                            buffer.GetWidth() * 4, src);
    };
    if (invalidRects.GetCount() == 0) {
        copy({0, 0, viewport.Width(), viewport.Height()});
        return;
    }
    for (int32_t i = 0; i < invalidRects.GetCount(); ++i) {
        copy(invalidRects.List()[i]);
    }
}

void InitializePlatformSide() {
    if (!SystemColorResolver) {
        SystemColorResolver = [](int32_t index) { return int32_t(gfx::GetSysColor(index)); };
    }
}

namespace {
bool Supports(TCustomBackend *b, TBackendInterface i) {
    switch (i) {
    case biCanvas:
        return dynamic_cast<ICanvasSupport *>(b) != nullptr;
    case biFont:
        return dynamic_cast<IFontSupport *>(b) != nullptr;
    case biText:
        return dynamic_cast<ITextSupport *>(b) != nullptr;
    case biDeviceContext:
        return dynamic_cast<IDeviceContextSupport *>(b) != nullptr;
    case biBitmapContext:
        return dynamic_cast<IBitmapContextSupport *>(b) != nullptr;
    case biPaint:
        return dynamic_cast<IPaintSupport *>(b) != nullptr;
    }
    return false;
}
} // namespace

void EnsureBackendSupport(TCustomBitmap32 &bitmap,
                          std::initializer_list<TBackendInterface> interfaces,
                          TBackendSupportMode mode, bool clearOnSwitch, TCustomBackend *&released) {
    bool pass = mode == bsmAll;
    for (TBackendInterface i : interfaces) {
        const bool s = Supports(bitmap.GetBackend(), i);
        if (mode == bsmAll && !s) {
            pass = false;
            break;
        }
        if (mode == bsmAny && s) {
            pass = true;
            break;
        }
    }
    released = nullptr;
    if (pass) {
        return;
    }
    if (clearOnSwitch) {
        bitmap.SetSize(0, 0);
    }
    released = bitmap.ReleaseBackend();
    bitmap.SetBackend(PlatformBackendClass());
}

void ReinstateBackend(TCustomBitmap32 &bitmap, TCustomBackend *released) {
    if (released != nullptr) {
        bitmap.SetBackend(released);
    }
}

// ---- TBitmap32, device side -------------------------------------------------------------

gfx::TCanvas &TBitmap32::GetCanvas() {
    return Require<ICanvasSupport>(GetBackend()).GetCanvas();
}

gfx::TFont &TBitmap32::GetFont() {
    return Require<IFontSupport>(GetBackend()).GetFont();
}

void TBitmap32::SetFont(const gfx::TFont &font) {
    Require<IFontSupport>(GetBackend()).SetFont(font);
}

void TBitmap32::UpdateFont() {
    Require<IFontSupport>(GetBackend()).UpdateFont();
}

gfx::TCanvas *TBitmap32::GetHandle() {
    return Require<IDeviceContextSupport>(GetBackend()).GetHandle();
}

TBitmapHandle TBitmap32::GetBitmapHandle() {
    return Require<IBitmapContextSupport>(GetBackend()).GetBitmapHandle();
}

TBitmapInfo TBitmap32::GetBitmapInfo() {
    return Require<IBitmapContextSupport>(GetBackend()).GetBitmapInfo();
}

void TBitmap32::Textout(int32_t x, int32_t y, const rtl::UnicodeString &text) {
    Require<ITextSupport>(GetBackend()).Textout(x, y, text);
}

void TBitmap32::Textout(int32_t x, int32_t y, const TRect &clipRect,
                        const rtl::UnicodeString &text) {
    Require<ITextSupport>(GetBackend()).Textout(x, y, clipRect, text);
}

void TBitmap32::Textout(const TRect &dstRect, uint32_t flags, const rtl::UnicodeString &text) {
    TRect copy = dstRect;
    Require<ITextSupport>(GetBackend()).Textout(copy, flags, text);
}

TSize TBitmap32::TextExtent(const rtl::UnicodeString &text) {
    return Require<ITextSupport>(GetBackend()).TextExtent(text);
}

int32_t TBitmap32::TextWidth(const rtl::UnicodeString &text) {
    return TextExtent(text).cx;
}

int32_t TBitmap32::TextHeight(const rtl::UnicodeString &text) {
    return TextExtent(text).cy;
}

void TBitmap32::DrawTo(gfx::TCanvas &dst, int32_t dstX, int32_t dstY) {
    if (!Empty()) {
        Require<IDeviceContextSupport>(GetBackend()).DrawTo(dst, dstX, dstY);
    }
}

void TBitmap32::DrawTo(gfx::TCanvas &dst, const TRect &dstRect, const TRect &srcRect) {
    if (!Empty()) {
        Require<IDeviceContextSupport>(GetBackend()).DrawTo(dst, dstRect, srcRect);
    }
}

void TBitmap32::Draw(const TRect &dstRect, const TRect &srcRect, gfx::TCanvas &src) {
    if (!Empty()) {
        Require<IDeviceContextSupport>(GetBackend()).Draw(dstRect, srcRect, src);
    }
}

namespace {

// White text on transparent black at S = 2^aaLevel times the font size, averaged into blocks of
// S x S: each pixel of the result gets Color's RGB and the block's mean coverage as alpha.
void RenderSupersampled(TBitmap32 &source, TBitmap32 &out, const rtl::UnicodeString &text,
                        int32_t aaLevel, TColor32 color) {
    const int32_t s = 1 << aaLevel;
    TBitmap32 big;
    gfx::TFont font = source.GetFont();
    font.SetHeight(font.GetHeight() * s);
    font.SetColor(0xFFFFFF);
    big.SetFont(font);
    const TSize extent = big.TextExtent(text + u" ");
    big.SetSize(extent.cx + s, extent.cy + s);
    big.Clear(0);
    big.Textout(0, 0, text);
    out.SetSize(big.GetWidth() >> aaLevel, big.GetHeight() >> aaLevel);
    for (int32_t y = 0; y < out.GetHeight(); ++y) {
        for (int32_t x = 0; x < out.GetWidth(); ++x) {
            uint32_t sum = 0;
            for (int32_t j = 0; j < s; ++j) {
                const TColor32 *p = big.GetPixelPtr(x * s, y * s + j);
                for (int32_t i = 0; i < s; ++i) {
                    sum += p[i] & 0xFF;
                }
            }
            out.SetPixel(x, y, (color & 0x00FFFFFFu) | ((sum >> (2 * aaLevel)) << 24));
        }
    }
}

// The font engine's own antialiasing: the coverage of white text becomes the alpha.
void RenderDirect(TBitmap32 &source, TBitmap32 &out, const rtl::UnicodeString &text,
                  TColor32 color) {
    const TSize extent = source.TextExtent(text + u" ");
    out.SetSize(std::min(extent.cx, source.GetWidth()), std::min(extent.cy, source.GetHeight()));
    out.SetFont(source.GetFont());
    // The copy takes the font as recreated with its quality, as a shared font handle would.
    Require<IFontSupport>(out.GetBackend())
        .RecreateFontWithQuality(Require<IFontSupport>(source.GetBackend()).GetFontQuality());
    out.Clear(0);
    out.GetFont().SetColor(0xFFFFFF);
    out.Textout(0, 0, text);
    const int32_t n = out.GetWidth() * out.GetHeight();
    TColor32 *bits = out.GetBits();
    for (int32_t i = 0; i < n; ++i) {
        // The canvas makes the pixels it draws opaque; untouched pixels are still 0.
        if (bits[i] != 0) {
            bits[i] = (color & 0x00FFFFFFu) | ((bits[i] & 0xFF) << 24);
        }
    }
}

} // namespace

void TBitmap32::RenderText(int32_t x, int32_t y, const rtl::UnicodeString &text, int32_t aaLevel,
                           TColor32 color) {
    if (Empty()) {
        return;
    }
    aaLevel = std::clamp(aaLevel, -1, 4);
    IFontSupport &font = Require<IFontSupport>(GetBackend());
    font.RecreateFontWithQuality(aaLevel < 0 ? fqAntialiased : fqNonAntialiased);
    struct TDefaultQuality {
        IFontSupport &font;
        ~TDefaultQuality() { font.RecreateFontWithQuality(fqDefault); }
    } restore{font};
    TBitmap32 b;
    if (aaLevel > 0) {
        RenderSupersampled(*this, b, text, aaLevel, color);
    } else {
        RenderDirect(*this, b, text, color);
    }
    b.SetDrawMode(dmBlend);
    b.SetMasterAlpha(color >> 24);
    b.SetCombineMode(GetCombineMode());
    b.DrawTo(this, x, y);
}

// Bounds the memory of a large stretched drawing to one tile of at most 1024 x 1024.
void TBitmap32::TileTo(gfx::TCanvas &dst, const TRect &dstRect, const TRect &srcRect) {
    constexpr int32_t kTile = 1024;
    const int32_t w = dstRect.Width(), h = dstRect.Height();
    if (h <= 0 || w <= 0) {
        return;
    }
    TBitmap32 buffer;
    for (int32_t ty = 0; ty < h; ty += kTile) {
        for (int32_t tx = 0; tx < w; tx += kTile) {
            const int32_t tw = std::min(kTile, w - tx), th = std::min(kTile, h - ty);
            buffer.SetSize(tw, th);
            TRect shifted = dstRect;
            MoveRect(shifted, -dstRect.Left - tx, -dstRect.Top - ty);
            TransferStretched(&buffer, shifted, buffer.BoundsRect(), this, srcRect, GetResampler(),
                              GetDrawMode(), OnPixelCombine);
            buffer.DrawTo(dst,
                          {dstRect.Left + tx, dstRect.Top + ty, dstRect.Left + tx + tw,
                           dstRect.Top + ty + th},
                          {0, 0, tw, th});
        }
    }
}

} // namespace raster
