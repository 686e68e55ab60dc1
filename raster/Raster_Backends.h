// The interfaces a storage back end may offer beyond pixel memory: a canvas on the pixels, a
// font, text output and drawing to and from other canvases. The bitmap exposes whatever its
// back end implements; asking for one it lacks raises rtl::EInvalidCast.
#pragma once

#include "raster/Raster.h"

#include "platform/rtl/System.h"

#include <cstdint>
#include <functional>

namespace gfx {
class TCanvas;
class TFont;
} // namespace gfx

namespace raster {

// A canvas drawing straight into the bitmap's pixels (no copy). It lives until the next size
// change of the bitmap or DeleteCanvas.
class ICanvasSupport {
public:
    virtual ~ICanvasSupport() = default;
    virtual gfx::TCanvas &GetCanvas() = 0;
    virtual void DeleteCanvas() = 0;
    virtual bool CanvasAllocated() const = 0;
    std::function<void()> OnCanvasChange;
};

// The quality of text output: the font engine's own (antialiased) edges by default or when
// antialiased, whole pixels when not antialiased. The numbers are the class library's.
enum TFontQuality : uint8_t { fqDefault = 0, fqNonAntialiased = 3, fqAntialiased = 4 };

// The font of text output; SetFont copies the attributes into the back end's own font. The
// quality (our addition: the font object has none) goes back to fqDefault whenever the font
// changes, as a recreated font handle would.
class IFontSupport {
public:
    virtual ~IFontSupport() = default;
    virtual gfx::TFont &GetFont() = 0;
    virtual void SetFont(const gfx::TFont &font) = 0;
    // Gives the canvas the font and a transparent background before text output.
    virtual void UpdateFont() = 0;
    virtual TFontQuality GetFontQuality() const = 0;
    // The font as it is, with another quality for the text output that follows.
    virtual void RecreateFontWithQuality(TFontQuality quality) = 0;
    std::function<void()> OnFontChange;
};

// Text into the bitmap's pixels with the back end's font; each call reports its area to the
// owner bitmap (also in measuring mode, where nothing is drawn).
class ITextSupport {
public:
    virtual ~ITextSupport() = default;
    virtual void Textout(int32_t x, int32_t y, const rtl::UnicodeString &text) = 0;
    virtual void Textout(int32_t x, int32_t y, const TRect &clipRect,
                         const rtl::UnicodeString &text) = 0;
    // Windows DrawText formatting (DT_ flags) into dstRect.
    virtual void Textout(TRect &dstRect, uint32_t flags, const rtl::UnicodeString &text) = 0;
    virtual TSize TextExtent(const rtl::UnicodeString &text) = 0;
};

// Drawing between the bitmap and other canvases. Pixels go to a canvas ignoring their alpha.
class IDeviceContextSupport {
public:
    virtual ~IDeviceContextSupport() = default;
    // The canvas on the pixels (the device context of the original); null while empty.
    virtual gfx::TCanvas *GetHandle() = 0;
    // From a canvas into the bitmap, scaled.
    virtual void Draw(const TRect &dstRect, const TRect &srcRect, gfx::TCanvas &src) = 0;
    virtual void DrawTo(gfx::TCanvas &dst, int32_t dstX, int32_t dstY) = 0;
    virtual void DrawTo(gfx::TCanvas &dst, const TRect &dstRect, const TRect &srcRect) = 0;
};

// The 40-byte information header that describes the bitmap's pixels: 32 bits per pixel, no
// compression, rows top-down (a negative height), no colour table in use.
struct TBitmapInfoHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 32;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
struct TBitmapInfo {
    TBitmapInfoHeader bmiHeader;
    uint32_t bmiColors[1] = {};
};
class IBitmapContextSupport {
public:
    virtual ~IBitmapContextSupport() = default;
    virtual TBitmapInfo GetBitmapInfo() const = 0;
    virtual TBitmapHandle GetBitmapHandle() const = 0;
};

// How a paint box shows its back buffer: ImageNeeded before the buffer is rendered, CheckPixmap
// after, and DoPaint copying it to the control's canvas: the whole viewport when invalidRects
// is empty, otherwise each rectangle to its own place (rectangles in buffer coordinates; the
// viewport's top-left corner is where buffer pixel (0, 0) goes).
class IPaintSupport {
public:
    virtual ~IPaintSupport() = default;
    virtual void ImageNeeded() = 0;
    virtual void CheckPixmap() = 0;
    virtual void DoPaint(TBitmap32 &buffer, const TRectList &invalidRects, gfx::TCanvas &canvas,
                         const TRect &viewport) = 0;
};

// Installs what the platform layer gives the library: its system colours for ColorToColor32
// (unless a resolver is set already). InitializeRaster calls it where gfx is built.
void InitializePlatformSide();

// A new back end of the platform's preferred class (the canvas back end).
TCustomBackend *PlatformBackendClass();

// Tests the bitmap's back end for the interfaces in order; mode 0 needs all, mode 1 any.
// When the test fails the bitmap gets a platform back end (with its size and pixels, or
// emptied first when clearOnSwitch) and released receives the old back end with one reference.
enum TBackendSupportMode { bsmAll = 0, bsmAny = 1 };
enum TBackendInterface { biCanvas, biFont, biText, biDeviceContext, biBitmapContext, biPaint };
void EnsureBackendSupport(TCustomBitmap32 &bitmap,
                          std::initializer_list<TBackendInterface> interfaces,
                          TBackendSupportMode mode, bool clearOnSwitch, TCustomBackend *&released);
// Puts a back end released by EnsureBackendSupport back (copying the pixels into it).
void ReinstateBackend(TCustomBitmap32 &bitmap, TCustomBackend *released);

} // namespace raster
