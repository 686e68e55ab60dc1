// Icons (the class library's TIcon): an ICO file and its decoded image.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Picture.h"

#include <cstdint>
#include <vector>

namespace rtl {
class TStream;
}

namespace gfx {

// Holds the ICO bytes it was loaded from and shows the largest image of the file, blended by
// its transparency. Icons keep their own size: they are not stretched by pictures that hold
// them.
class TIcon : public TGraphic {
public:
    TIcon() = default;

    int32_t GetWidth() const override { return FImage.GetWidth(); }
    int32_t GetHeight() const override { return FImage.GetHeight(); }
    void DrawOn(TCanvas &canvas, const TRect &dest) const override;

    // Reads an ICO file from the stream's position to its end. Throws rtl::Exception
    // "Invalid icon" for anything else (the icon is unchanged then).
    void LoadFromStream(rtl::TStream &stream);
    void LoadFromMemory(const std::vector<uint8_t> &data);
    void SaveToStream(rtl::TStream &stream) const;
    void Assign(const TIcon &source);

    // The parts an icon is drawn from: the colour bitmap (32 bits; its fourth bytes hold the
    // alpha of icons that have an alpha channel, 0 otherwise) and the mask (24 bits: white
    // where the icon is transparent, black elsewhere).
    TBitmap GetColorBitmap() const;
    TBitmap GetMaskBitmap() const;
    bool HasAlphaChannel() const { return FHasAlpha; }

private:
    std::vector<uint8_t> FData;
    TPngImage FImage;
    TBitmap FPixels;
    bool FHasAlpha = false;
};

} // namespace gfx
