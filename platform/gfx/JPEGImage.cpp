// TJPEGImage: JPEG bytes decoded and encoded by the JPEG codec (libjpeg behind Qt's reader).
#include "platform/gfx/JPEGImage.h"

#include "platform/gfx/ImageCodecs_p.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <climits>

namespace gfx {

void TJPEGImage::DrawOn(TCanvas &canvas, const TRect &dest) const {
    FBitmap.DrawOn(canvas, dest);
}

void TJPEGImage::LoadFromStream(rtl::TStream &stream) {
    LoadFromMemory(codecs::ReadRest(stream));
}

void TJPEGImage::LoadFromMemory(const std::vector<uint8_t> &data) {
    TBitmap decoded;
    if (!codecs::DecodeToBitmap(data, "JPEG", decoded)) {
        throw rtl::Exception(std::string_view("JPEG error"));
    }
    decoded.SetPixelFormat(pf24bit);
    FBitmap = decoded;
    FData = data;
    Changed();
}

void TJPEGImage::SaveToStream(rtl::TStream &stream) const {
    if (FData.size() > size_t(INT32_MAX)) {
        throw rtl::EWriteError(std::string_view("Stream write error"));
    }
    if (!FData.empty()) {
        stream.WriteBuffer(FData.data(), int32_t(FData.size()));
    }
}

void TJPEGImage::Assign(const TGraphic &source) {
    if (const auto *jpeg = dynamic_cast<const TJPEGImage *>(&source)) {
        FData = jpeg->FData;
        FBitmap = jpeg->FBitmap;
        FPixelFormat = jpeg->FPixelFormat;
        FQuality = jpeg->FQuality;
        Changed();
        return;
    }
    TBitmap pixels;
    pixels.Assign(source);
    std::vector<uint8_t> data;
    if (pixels.GetWidth() > 0 && pixels.GetHeight() > 0) {
        data = codecs::EncodeBitmap(pixels, "JPEG", FQuality);
    }
    if (data.empty()) {
        FData.clear();
        FBitmap = TBitmap();
        Changed();
        return;
    }
    LoadFromMemory(data);
}

} // namespace gfx
