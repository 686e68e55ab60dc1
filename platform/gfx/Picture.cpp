// TPngImage and TPicture: decoded pictures held for drawing.
#include "platform/gfx/Picture.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImageCodecs_p.h"
#include "platform/gfx/Metafile.h"
#include "platform/gfx/QtBridge_p.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstring>
#include <vector>

namespace gfx {

struct TPngImage::Impl {
    QImage image;
};

namespace {

QImage DecodeOrThrow(const uint8_t *data, size_t size, const char *format) {
    return codecs::DecodeOrThrow(std::vector<uint8_t>(data, data + (data ? size : 0)), format);
}

bool IsPng(const uint8_t *data, size_t size) {
    static const uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return size >= 8 && std::memcmp(data, sig, 8) == 0;
}

} // namespace

struct TPngAccess {
    static QImage &Image(const TPngImage &png) { return png.FImpl->image; }
};

namespace qt {

const QImage &ImageOf(const TPngImage &png) {
    return TPngAccess::Image(png);
}

void SetImage(TPngImage &png, const QImage &image) {
    TPngAccess::Image(png) = image.convertToFormat(QImage::Format_ARGB32);
}

QImage ImageOfGraphic(const TGraphic &graphic) {
    if (graphic.Empty()) {
        return {};
    }
    if (const auto *png = dynamic_cast<const TPngImage *>(&graphic)) {
        return ImageOf(*png);
    }
    TBitmap bitmap;
    bitmap.Assign(graphic);
    const QImage image = ImageOf(bitmap);
    if (bitmap.GetPixelFormat() != pf32bit) {
        return image.copy();
    }
    // The same words read with their alpha (a conversion would make them opaque).
    return QImage(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                  QImage::Format_ARGB32)
        .copy();
}

} // namespace qt

TPngImage::TPngImage() : FImpl(std::make_unique<Impl>()) {}
TPngImage::TPngImage(const TPngImage &other) : FImpl(std::make_unique<Impl>(*other.FImpl)) {}
TPngImage &TPngImage::operator=(const TPngImage &other) {
    *FImpl = *other.FImpl;
    Changed();
    return *this;
}
TPngImage::~TPngImage() = default;

int32_t TPngImage::GetWidth() const {
    return FImpl->image.width();
}

int32_t TPngImage::GetHeight() const {
    return FImpl->image.height();
}

void TPngImage::DrawOn(TCanvas &canvas, const TRect &dest) const {
    if (FImpl->image.isNull() || dest.IsEmpty()) {
        return;
    }
    const QImage &img = FImpl->image;
    TBlendFunction blend;
    blend.AlphaFormat = AC_SRC_ALPHA;
    canvas.AlphaBlend(dest,
                      {reinterpret_cast<const uint32_t *>(img.constBits()), img.width(),
                       img.height(), int32_t(img.bytesPerLine())},
                      Rect(0, 0, img.width(), img.height()), blend, true);
}

void TPngImage::LoadFromFile(const rtl::UnicodeString &fileName) {
    codecs::LoadPictureFile(fileName, [this](const std::vector<uint8_t> &bytes) {
        LoadFromMemory(bytes.data(), bytes.size());
    });
}

void TPngImage::LoadFromMemory(const uint8_t *data, size_t size) {
    FImpl->image = DecodeOrThrow(data, size, "PNG");
    Changed();
}

void TPngImage::LoadFromStream(rtl::TStream &stream) {
    const std::vector<uint8_t> bytes = codecs::ReadRest(stream);
    LoadFromMemory(bytes.data(), bytes.size());
}

void TPngImage::SaveToStream(rtl::TStream &stream) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!FImpl->image.save(&buffer, "PNG") || bytes.size() > INT32_MAX) {
        throw rtl::EWriteError(std::string_view("Cannot write the PNG image"));
    }
    stream.WriteBuffer(bytes.constData(), int32_t(bytes.size()));
}

void TPngImage::SaveToFile(const rtl::UnicodeString &fileName) const {
    codecs::SavePictureFile(FImpl->image, fileName, "PNG");
}

void TPngImage::AssignTo(TBitmap &bitmap) const {
    bitmap.SetSize(0, 0);
    bitmap.SetSize(GetWidth(), GetHeight());
    DrawOn(bitmap.GetCanvas(), Rect(0, 0, GetWidth(), GetHeight()));
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) {
        OnChange();
    }
}

void TPicture::SetGraphic(const TGraphic *graphic) {
    if (!graphic) {
        FGraphic.reset();
    } else if (auto *png = dynamic_cast<const TPngImage *>(graphic)) {
        FGraphic = std::make_unique<TPngImage>(*png);
    } else if (auto *bmp = dynamic_cast<const TBitmap *>(graphic)) {
        FGraphic = std::make_unique<TBitmap>(*bmp);
    } else if (auto *metafile = dynamic_cast<const TMetafile *>(graphic)) {
        FGraphic = std::make_unique<TMetafile>(*metafile);
    } else {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(*graphic);
        FGraphic = std::move(copy);
    }
    Changed();
}

void TPicture::LoadFromMemory(const uint8_t *data, size_t size) {
    if (data && IsPng(data, size)) {
        auto png = std::make_unique<TPngImage>();
        png->LoadFromMemory(data, size);
        FGraphic = std::move(png);
    } else {
        const QImage img = DecodeOrThrow(data, size, nullptr);
        auto bmp = std::make_unique<TBitmap>();
        qt::SetImage(*bmp, img);
        FGraphic = std::move(bmp);
    }
    Changed();
}

void TPicture::LoadFromStream(rtl::TStream &stream) {
    const std::vector<uint8_t> bytes = codecs::ReadRest(stream);
    LoadFromMemory(bytes.data(), bytes.size());
}

void TPicture::LoadFromFile(const rtl::UnicodeString &fileName) {
    codecs::LoadPictureFile(fileName, [this](const std::vector<uint8_t> &bytes) {
        LoadFromMemory(bytes.data(), bytes.size());
    });
}

void TPicture::Assign(const TPicture &other) {
    SetGraphic(other.GetGraphic());
}

void TPicture::Clear() {
    SetGraphic(nullptr);
}

} // namespace gfx
