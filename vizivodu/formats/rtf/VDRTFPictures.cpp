// The RTF parser's picture record: the bitmap file header of device-independent bitmaps and the
// decoding of picture data into graphics.
#include "vizivodu/formats/rtf/VDRTFPictures.h"

#include "vizivodu/document/VDGrHandler.h"

#include "platform/gfx/Graphic.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

namespace vizivodu {

namespace {

uint32_t ReadLE(const std::string &data, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | uint8_t(data[at + size_t(i)]);
    }
    return v;
}

void WriteLE(std::string &data, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        data[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
    }
}

} // namespace

bool TVDRTFPicture::WriteBitmapFileHeader() {
    constexpr size_t fileHeader = 14;
    if (FData.size() < fileHeader + 16) {
        return false;
    }
    const uint32_t infoSize = ReadLE(FData, fileHeader, 4);
    if (infoSize < 12 || infoSize > FData.size() - fileHeader) {
        return false;
    }
    uint64_t palette = 0;
    if (infoSize == 12) { // the OS/2 core header: three-byte palette entries
        const uint32_t bits = ReadLE(FData, fileHeader + 10, 2);
        palette = bits <= 8 ? (uint64_t(1) << bits) * 3 : 0;
    } else if (infoSize >= 36) {
        const uint32_t bits = ReadLE(FData, fileHeader + 14, 2);
        const uint32_t compression = ReadLE(FData, fileHeader + 16, 4);
        const uint32_t used = ReadLE(FData, fileHeader + 32, 4);
        palette = uint64_t(used != 0 ? used : (bits <= 8 ? 1u << bits : 0)) * 4;
        if (infoSize == 40 && (compression == 3 || compression == 6)) {
            palette += compression == 3 ? 12 : 16; // the colour masks follow the header
        }
    }
    const uint64_t offset = fileHeader + infoSize + palette;
    if (offset > FData.size()) {
        return false;
    }
    FData[0] = 'B';
    FData[1] = 'M';
    WriteLE(FData, 2, uint32_t(FData.size()));
    WriteLE(FData, 6, 0);
    WriteLE(FData, 10, uint32_t(offset));
    return true;
}

std::unique_ptr<gfx::TGraphic> TVDRTFPicture::MakeGraphic(bool extractBitmap) {
    if (FData.empty() || !GlobalGraphicHandler) {
        return nullptr;
    }
    switch (FType) {
    case rtf_pict_EMF:
        return extractBitmap ? GlobalGraphicHandler->ExtractBitmapFromEnhMetafileData(FData)
                             : nullptr;
    case rtf_pict_DIB:
        if (!WriteBitmapFileHeader()) {
            throw rtl::Exception(u"Invalid bitmap");
        }
        break;
    case rtf_pict_PNG:
    case rtf_pict_JPEG:
        break;
    default:
        return nullptr;
    }
    rtl::TMemoryStream stream;
    stream.Write(FData.data(), int32_t(FData.size()));
    stream.SetPosition(0);
    std::unique_ptr<gfx::TGraphic> graphic = GlobalGraphicHandler->LoadFromStream(stream);
    if (!graphic) {
        throw rtl::Exception(GlobalGraphicHandler->GetLastLoadError());
    }
    return graphic;
}

} // namespace vizivodu
