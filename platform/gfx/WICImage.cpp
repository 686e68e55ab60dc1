// TWICImage: any picture Qt's image readers decode (TIFF through the image-formats plugins).
#include "platform/gfx/WICImage.h"

#include "platform/gfx/ImageCodecs_p.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <climits>
#include <string>

namespace gfx {

namespace {

TWICImageFormat FormatOfName(const std::string &name) {
    if (name == "bmp") {
        return wifBmp;
    }
    if (name == "png") {
        return wifPng;
    }
    if (name == "jpeg" || name == "jpg") {
        return wifJpeg;
    }
    if (name == "gif") {
        return wifGif;
    }
    if (name == "tiff" || name == "tif") {
        return wifTiff;
    }
    return wifOther;
}

} // namespace

void TWICImage::DrawOn(TCanvas &canvas, const TRect &dest) const {
    FImage.DrawOn(canvas, dest);
}

void TWICImage::LoadFromStream(rtl::TStream &stream) {
    LoadFromMemory(codecs::ReadRest(stream));
}

void TWICImage::LoadFromMemory(const std::vector<uint8_t> &data) {
    TPngImage image;
    std::string formatName;
    if (!codecs::DecodeToPng(data, nullptr, image, &formatName)) {
        throw rtl::Exception(std::string_view("Invalid image"));
    }
    FData = data;
    FImage = image;
    FFormat = FormatOfName(formatName);
    Changed();
}

void TWICImage::SaveToStream(rtl::TStream &stream) const {
    if (FData.size() > size_t(INT32_MAX)) {
        throw rtl::EWriteError(std::string_view("Stream write error"));
    }
    if (!FData.empty()) {
        stream.WriteBuffer(FData.data(), int32_t(FData.size()));
    }
}

void TWICImage::Assign(const TWICImage &source) {
    FData = source.FData;
    FImage = source.FImage;
    FFormat = source.FFormat;
    Changed();
}

} // namespace gfx
