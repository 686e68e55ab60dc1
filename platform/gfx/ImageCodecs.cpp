// BMP stream forms of bitmaps, PNG images from pixels, and the shared decoder of the picture
// classes (Qt's image readers, with an allocation limit).
#include "platform/gfx/ImageCodecs.h"

#include "platform/gfx/ImageCodecs_p.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <climits>
#include <cstring>

namespace gfx {

namespace {

// The allocation limit of Qt's readers: a picture of the most pixels allowed, with room.
constexpr int kAllocationLimitMB = 512;

// What a decoder refuses, as a reason in the user's words; empty when the image decoded.
rtl::UnicodeString Decode(const std::vector<uint8_t> &data, const char *format, QImage &image,
                          std::string *formatName, int imageIndex = 0) {
    if (data.empty() || data.size() > size_t(INT_MAX)) {
        return data.empty() ? u"Файл пуст" : u"Файл слишком велик для рисунка";
    }
    std::vector<uint8_t> png;
    const rtl::UnicodeString unsafe = codecs::CheckPng(data, png);
    if (!unsafe.empty()) {
        return unsafe;
    }
    const std::vector<uint8_t> &checked = png.empty() ? data : png;
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(checked.data()),
                                               qsizetype(checked.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format ? QByteArray(format) : QByteArray());
    reader.setAllocationLimit(kAllocationLimitMB);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid() && !codecs::PixelsFitData(size.width(), size.height(), data.size())) {
        return codecs::TooLargeReason();
    }
    if (formatName) {
        *formatName = reader.format().toLower().toStdString();
    }
    if ((imageIndex > 0 && !reader.jumpToImage(imageIndex)) || !reader.read(&image) ||
        image.isNull() || !codecs::PixelsFitData(image.width(), image.height(), data.size())) {
        image = QImage();
        return codecs::BrokenReason();
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    return image.isNull() ? codecs::TooLargeReason() : rtl::UnicodeString();
}

void CopyToBitmap(const QImage &image, TBitmap &bitmap) {
    bitmap.SetSize(0, 0);
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(bitmap.ScanLine(y), image.constScanLine(y), size_t(image.width()) * 4);
    }
}

QImage ImageOfPixels(const TBitmap &bitmap, bool keepAlpha) {
    QImage image(bitmap.GetWidth(), bitmap.GetHeight(),
                 keepAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const uint32_t *row = bitmap.ScanLine(y);
        auto *out = reinterpret_cast<uint32_t *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            out[x] = keepAlpha ? row[x] : (row[x] | 0xFF000000u);
        }
    }
    return image;
}

std::vector<uint8_t> Encode(const QImage &image, const char *format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image)) {
        throw rtl::EWriteError(std::string_view("Cannot encode the picture"));
    }
    return {bytes.begin(), bytes.end()};
}

void PutLE(std::vector<uint8_t> &out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(uint8_t(value >> (8 * i)));
    }
}

} // namespace

namespace codecs {

QImage DecodeOrThrow(const std::vector<uint8_t> &data, const char *format) {
    QImage image;
    const rtl::UnicodeString reason = Decode(data, format, image, nullptr);
    if (!reason.empty()) {
        throw rtl::Exception(reason);
    }
    return image;
}

bool DecodeToBitmap(const std::vector<uint8_t> &data, const char *format, TBitmap &bitmap,
                    std::string *formatName, int imageIndex) {
    QImage image;
    if (!Decode(data, format, image, formatName, imageIndex).empty()) {
        return false;
    }
    CopyToBitmap(image, bitmap);
    return true;
}

bool DecodeToPng(const std::vector<uint8_t> &data, const char *format, TPngImage &png,
                 std::string *formatName) {
    QImage image;
    if (!Decode(data, format, image, formatName).empty()) {
        return false;
    }
    const std::vector<uint8_t> encoded = Encode(image, "PNG", -1);
    png.LoadFromMemory(encoded.data(), encoded.size());
    return true;
}

std::vector<uint8_t> EncodeBitmap(const TBitmap &bitmap, const char *format, int quality) {
    return Encode(ImageOfPixels(bitmap, false), format, quality);
}

} // namespace codecs

void LoadBitmapFromStream(TBitmap &bitmap, rtl::TStream &stream) {
    const std::vector<uint8_t> data = codecs::ReadRest(stream);
    QImage image;
    const rtl::UnicodeString reason = Decode(data, "BMP", image, nullptr);
    if (!reason.empty()) {
        throw rtl::Exception(reason);
    }
    // Byte 28 of a BMP file is the bit count of its info header.
    const bool hasAlpha = data.size() > 29 && data[28] == 32;
    CopyToBitmap(image, bitmap);
    bitmap.SetPixelFormat(hasAlpha ? pf32bit : pf24bit);
}

void SaveBitmapToStream(const TBitmap &bitmap, rtl::TStream &stream) {
    const bool alpha = bitmap.GetPixelFormat() == pf32bit;
    const uint32_t w = uint32_t(bitmap.GetWidth());
    const uint32_t h = uint32_t(bitmap.GetHeight());
    const uint32_t rowBytes = alpha ? w * 4 : (w * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * h;
    std::vector<uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    PutLE(out, 54 + imageBytes, 4);
    PutLE(out, 0, 4);
    PutLE(out, 54, 4);
    PutLE(out, 40, 4); // BITMAPINFOHEADER
    PutLE(out, w, 4);
    PutLE(out, h, 4); // bottom-up rows
    PutLE(out, 1, 2);
    PutLE(out, alpha ? 32 : 24, 2);
    PutLE(out, 0, 4); // BI_RGB
    PutLE(out, imageBytes, 4);
    PutLE(out, 3780, 4); // 96 dpi in pixels per metre
    PutLE(out, 3780, 4);
    PutLE(out, 0, 4);
    PutLE(out, 0, 4);
    for (uint32_t y = h; y-- > 0;) {
        const uint32_t *row = bitmap.ScanLine(int32_t(y));
        const size_t start = out.size();
        for (uint32_t x = 0; x < w; ++x) {
            PutLE(out, row[x], alpha ? 4 : 3);
        }
        out.resize(start + rowBytes, 0);
    }
    if (out.size() > size_t(INT32_MAX)) {
        throw rtl::EWriteError(std::string_view("Stream write error"));
    }
    stream.WriteBuffer(out.data(), int32_t(out.size()));
}

std::unique_ptr<TPngImage> PngFromPixels(const TBitmap &bitmap, bool keepAlpha) {
    auto png = std::make_unique<TPngImage>();
    if (bitmap.GetWidth() > 0 && bitmap.GetHeight() > 0) {
        const std::vector<uint8_t> encoded = Encode(ImageOfPixels(bitmap, keepAlpha), "PNG", -1);
        png->LoadFromMemory(encoded.data(), encoded.size());
    }
    return png;
}

} // namespace gfx
