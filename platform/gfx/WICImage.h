// Pictures of any format the platform decodes (the class library's TWICImage): GIF, TIFF and
// the others, with the format they were read in.
#pragma once

#include "platform/gfx/Picture.h"

#include <cstdint>
#include <vector>

namespace rtl {
class TStream;
}

namespace gfx {

enum TWICImageFormat : uint8_t { wifBmp, wifPng, wifJpeg, wifGif, wifTiff, wifOther };

// Keeps the encoded bytes (saving writes them back) and the first frame, drawn blended.
class TWICImage : public TGraphic {
public:
    TWICImage() = default;

    int32_t GetWidth() const override { return FImage.GetWidth(); }
    int32_t GetHeight() const override { return FImage.GetHeight(); }
    void DrawOn(TCanvas &canvas, const TRect &dest) const override;

    // Reads from the stream's position to its end. Throws rtl::Exception "Invalid image" for
    // data that no decoder takes (the picture is unchanged then).
    void LoadFromStream(rtl::TStream &stream);
    void LoadFromMemory(const std::vector<uint8_t> &data);
    void SaveToStream(rtl::TStream &stream) const;
    void Assign(const TWICImage &source);

    TWICImageFormat GetImageFormat() const { return FFormat; }

private:
    std::vector<uint8_t> FData;
    TPngImage FImage;
    TWICImageFormat FFormat = wifOther;
};

} // namespace gfx
