// JPEG pictures (the class library's TJPEGImage): the encoded bytes and their decoded pixels.
#pragma once

#include "platform/gfx/Bitmap.h"

#include <cstdint>
#include <vector>

namespace rtl {
class TStream;
}

namespace gfx {

enum TJPEGPixelFormat : uint8_t { jf24Bit, jf8Bit };

// Keeps the JPEG bytes it was loaded from, so saving writes them back unchanged; a picture
// made by Assign is encoded once at CompressionQuality. Drawn opaque.
class TJPEGImage : public TGraphic {
public:
    TJPEGImage() = default;

    int32_t GetWidth() const override { return FBitmap.GetWidth(); }
    int32_t GetHeight() const override { return FBitmap.GetHeight(); }
    void DrawOn(TCanvas &canvas, const TRect &dest) const override;

    // Reads from the stream's position to its end. Throws rtl::Exception "JPEG error" for
    // data that is no JPEG picture (the picture is unchanged then).
    void LoadFromStream(rtl::TStream &stream);
    void LoadFromMemory(const std::vector<uint8_t> &data);
    void SaveToStream(rtl::TStream &stream) const;
    // Encodes any picture, drawn at its own size.
    void Assign(const TGraphic &source);

    const TBitmap &GetBitmap() const { return FBitmap; }
    TJPEGPixelFormat GetPixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TJPEGPixelFormat format) { FPixelFormat = format; }
    int GetCompressionQuality() const { return FQuality; }
    void SetCompressionQuality(int quality) { FQuality = quality; }

private:
    std::vector<uint8_t> FData;
    TBitmap FBitmap;
    TJPEGPixelFormat FPixelFormat = jf24Bit;
    int FQuality = 90;
};

} // namespace gfx
