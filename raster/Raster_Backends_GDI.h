// The platform back end of TBitmap32: the bitmap's own aligned pixel memory, wrapped (never
// copied) by a canvas for text and canvas drawing, and copied to other canvases ignoring alpha.
#pragma once

#include "raster/Raster_Backends.h"

#include "platform/gfx/Font.h"

#include <memory>

namespace raster {

class TGDIBackend : public TCustomBackend,
                    public ICanvasSupport,
                    public IFontSupport,
                    public ITextSupport,
                    public IDeviceContextSupport,
                    public IBitmapContextSupport,
                    public IPaintSupport {
public:
    TGDIBackend();
    ~TGDIBackend() override;
    bool Empty() const override { return FBits == nullptr; }

    gfx::TCanvas &GetCanvas() override;
    void DeleteCanvas() override;
    bool CanvasAllocated() const override { return FCanvas != nullptr; }

    gfx::TFont &GetFont() override;
    void SetFont(const gfx::TFont &font) override;
    void UpdateFont() override;
    TFontQuality GetFontQuality() const override { return FFontQuality; }
    void RecreateFontWithQuality(TFontQuality quality) override;

    void Textout(int32_t x, int32_t y, const rtl::UnicodeString &text) override;
    void Textout(int32_t x, int32_t y, const TRect &clipRect,
                 const rtl::UnicodeString &text) override;
    void Textout(TRect &dstRect, uint32_t flags, const rtl::UnicodeString &text) override;
    TSize TextExtent(const rtl::UnicodeString &text) override;

    gfx::TCanvas *GetHandle() override;
    void Draw(const TRect &dstRect, const TRect &srcRect, gfx::TCanvas &src) override;
    void DrawTo(gfx::TCanvas &dst, int32_t dstX, int32_t dstY) override;
    void DrawTo(gfx::TCanvas &dst, const TRect &dstRect, const TRect &srcRect) override;

    TBitmapInfo GetBitmapInfo() const override { return FBitmapInfo; }
    TBitmapHandle GetBitmapHandle() const override { return FBits; }

    void ImageNeeded() override {}
    void CheckPixmap() override {}
    void DoPaint(TBitmap32 &buffer, const TRectList &invalidRects, gfx::TCanvas &canvas,
                 const TRect &viewport) override;

protected:
    // Fresh memory is zero, as a new device-independent section is.
    void AllocateSurface(int32_t newWidth, int32_t newHeight, bool clearBuffer) override;
    void ReleaseSurface() override;

private:
    void TextoutClipped(int32_t x, int32_t y, const TRect *clip, const rtl::UnicodeString &text);
    void TextoutWholePixels(int32_t x, int32_t y, const TRect &clip,
                            const rtl::UnicodeString &text);
    bool OwnerMeasuring() const;
    static bool SameFontButColour(const gfx::TFont &a, const gfx::TFont &b);
    void ReportToOwner(const TRect &area);

    int32_t FSurfaceWidth = 0;
    int32_t FSurfaceHeight = 0;
    std::unique_ptr<gfx::TFont> FFont;
    std::unique_ptr<gfx::TCanvas> FCanvas;
    TBitmapInfo FBitmapInfo;
    TFontQuality FFontQuality = fqDefault;
    gfx::TFont FQualityFont; // the font as it was when its quality was set
};

} // namespace raster
