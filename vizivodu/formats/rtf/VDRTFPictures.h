// The RTF parser's picture record: the format, sizes and scale a \pict group states, and its
// data as read from hexadecimal digits or \bin bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace gfx {
class TGraphic;
}

namespace vizivodu {

enum TVDRTFPictureType : uint8_t {
    rtf_pict_EMF,
    rtf_pict_PNG,
    rtf_pict_JPEG,
    rtf_pict_MacPict,
    rtf_pict_PmMetafile,
    rtf_pict_WMF,
    rtf_pict_DIB,
    rtf_pict_DDB
};

// Sizes ending in Tw are twips; PicW and PicH are pixels, or 0.01 mm for metafiles.
struct TVDRTFPicture {
    TVDRTFPictureType FType = rtf_pict_EMF;
    int32_t FMetafileMapMode = 0;
    int32_t FPicW = 0, FPicH = 0;
    int32_t FPicWGoalTw = 0, FPicHGoalTw = 0;
    int32_t FPicScaleX = 100, FPicScaleY = 100;
    int32_t FWBMWidthBytes = 0;
    int32_t FWBMBitsPixel = 1, FWBMPlanes = 1;
    bool FMetafileWithBitmap = false;
    bool FShpPict = false;
    std::string FData;
    int32_t SuggestedWidthTw = 0, SuggestedHeightTw = 0;

    // A bitmap file header for the device-independent bitmap the data holds after its first
    // 14 bytes: "BM", the size, and the offset of the pixels (after the header, the
    // colour masks and the palette that the bitmap header states). False when the data is too
    // short for a bitmap header or states a palette it cannot hold.
    bool WriteBitmapFileHeader();
    // The graphic of the data: PNG, JPEG and device-independent bitmaps are decoded; an
    // enhanced metafile gives the one bitmap it draws, when it draws nothing else and
    // extractBitmap is set. nullptr for formats without a graphic (Windows metafiles, Mac
    // and OS/2 pictures, device-dependent bitmaps) and for empty data. Data of a decodable
    // format that does not decode raises rtl::Exception.
    std::unique_ptr<gfx::TGraphic> MakeGraphic(bool extractBitmap);
};

} // namespace vizivodu
