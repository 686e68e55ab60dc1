// An in-memory 32-bit picture with its own canvas (the class library's TBitmap).
#pragma once

#include "platform/gfx/Graphic.h"
#include "platform/gfx/Graphics.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace gfx {

enum TPixelFormat : uint8_t {
    pfDevice,
    pf1bit,
    pf4bit,
    pf8bit,
    pf15bit,
    pf16bit,
    pf24bit,
    pf32bit
};

// A new bitmap is 0 x 0. Resizing keeps the pixels that still fit and makes the new ones white.
// Pixels are stored as $AARRGGBB words; with pf32bit the alpha byte is kept (and is what
// ScanLine shows), otherwise the bitmap is opaque.
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int32_t width, int32_t height);
    TBitmap(const TBitmap &other);
    TBitmap &operator=(const TBitmap &other);
    ~TBitmap() override;

    int32_t GetWidth() const override;
    int32_t GetHeight() const override;
    void SetWidth(int32_t width);
    void SetHeight(int32_t height);
    void SetSize(int32_t width, int32_t height);
    TPixelFormat GetPixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat format) { FPixelFormat = format; }

    TCanvas &GetCanvas();
    void DrawOn(TCanvas &canvas, const TRect &dest) const override;
    void Assign(const TGraphic &source); // copies any picture, drawn at its own size

    // The pixel row y ($AARRGGBB words), valid until the next resize; nullptr outside.
    uint32_t *ScanLine(int32_t y);
    const uint32_t *ScanLine(int32_t y) const;
    int32_t StrideBytes() const;

    // Loads a BMP or PNG file; throws EInvalidGraphic-like rtl::Exception on bad data.
    void LoadFromFile(const rtl::UnicodeString &fileName);
    void SaveToFile(const rtl::UnicodeString &fileName) const; // PNG or BMP by extension

private:
    // Moves new pixels in (rows of width words) and points the canvas at them.
    void Adopt(std::vector<uint32_t> pixels, int32_t width, int32_t height);

    std::vector<uint32_t> FPixels; // our own memory, rows FWidth words apart
    int32_t FWidth = 0, FHeight = 0;
    std::unique_ptr<TPixelCanvas> FCanvas;
    TPixelFormat FPixelFormat = pfDevice;
};

} // namespace gfx
