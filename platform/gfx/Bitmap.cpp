// TBitmap: 32-bit pixels in our own memory with a canvas drawing straight into them.
#include "platform/gfx/Bitmap.h"

#include "platform/gfx/ImageCodecs_p.h"
#include "platform/gfx/QtBridge_p.h"
#include "platform/rtl/Exceptions.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <cstring>

namespace gfx {

namespace qt {

QImage ImageOf(const TBitmap &bitmap) {
    if (bitmap.Empty()) {
        return QImage();
    }
    const uint32_t *row = bitmap.ScanLine(0);
    return QImage(reinterpret_cast<const uchar *>(row), bitmap.GetWidth(), bitmap.GetHeight(),
                  bitmap.StrideBytes(), QImage::Format_RGB32);
}

void SetImage(TBitmap &bitmap, const QImage &image) {
    // Alpha stays in the words (what ScanLine of a pf32bit bitmap shows); opaque images get 255.
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    bitmap.SetSize(0, 0);
    bitmap.SetSize(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        std::memcpy(bitmap.ScanLine(y), rgb.constScanLine(y), size_t(rgb.width()) * 4);
    }
}

} // namespace qt

TBitmap::TBitmap() {
    FCanvas = std::make_unique<TPixelCanvas>(nullptr, 0, 0, 0);
}

TBitmap::TBitmap(int32_t width, int32_t height) : TBitmap() {
    SetSize(width, height);
}

TBitmap::TBitmap(const TBitmap &other) : TBitmap() {
    *this = other;
}

TBitmap &TBitmap::operator=(const TBitmap &other) {
    if (this != &other) {
        other.FCanvas->Flush();
        FPixelFormat = other.FPixelFormat;
        Adopt(other.FPixels, other.FWidth, other.FHeight);
        Changed();
    }
    return *this;
}

TBitmap::~TBitmap() {
    FCanvas.reset();
}

void TBitmap::Adopt(std::vector<uint32_t> pixels, int32_t width, int32_t height) {
    FCanvas->Flush();
    // The canvas moves to the new memory before the old memory goes.
    std::vector<uint32_t> old = std::move(FPixels);
    FPixels = std::move(pixels);
    FWidth = FPixels.empty() ? 0 : width;
    FHeight = FPixels.empty() ? 0 : height;
    FCanvas->Retarget(FPixels.empty() ? nullptr : FPixels.data(), FWidth, FHeight, FWidth * 4);
}

int32_t TBitmap::GetWidth() const {
    return FWidth;
}

int32_t TBitmap::GetHeight() const {
    return FHeight;
}

void TBitmap::SetWidth(int32_t width) {
    SetSize(width, GetHeight());
}

void TBitmap::SetHeight(int32_t height) {
    SetSize(GetWidth(), height);
}

void TBitmap::SetSize(int32_t width, int32_t height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == FWidth && height == FHeight) {
        return;
    }
    // Pixels that still fit stay; new ones are white. The canvas keeps pen, brush and font.
    FCanvas->Flush();
    std::vector<uint32_t> next(size_t(width) * size_t(height), 0xFFFFFFFFu);
    const int32_t w = std::min(width, FWidth), h = std::min(height, FHeight);
    for (int32_t y = 0; y < h; ++y) {
        std::memcpy(&next[size_t(y) * size_t(width)], &FPixels[size_t(y) * size_t(FWidth)],
                    size_t(w) * 4);
    }
    Adopt(std::move(next), width, height);
    Changed();
}

TCanvas &TBitmap::GetCanvas() {
    return *FCanvas;
}

void TBitmap::DrawOn(TCanvas &canvas, const TRect &dest) const {
    FCanvas->Flush();
    canvas.DrawPixels32(dest, FPixels.data(), FWidth, FHeight, FWidth * 4,
                        Rect(0, 0, FWidth, FHeight));
}

void TBitmap::Assign(const TGraphic &source) {
    if (auto *b = dynamic_cast<const TBitmap *>(&source)) {
        *this = *b;
        return;
    }
    SetSize(0, 0);
    SetSize(source.GetWidth(), source.GetHeight());
    source.DrawOn(*FCanvas, Rect(0, 0, GetWidth(), GetHeight()));
    FCanvas->Flush();
}

uint32_t *TBitmap::ScanLine(int32_t y) {
    if (y < 0 || y >= FHeight) {
        return nullptr;
    }
    FCanvas->Flush();
    return &FPixels[size_t(y) * size_t(FWidth)];
}

const uint32_t *TBitmap::ScanLine(int32_t y) const {
    if (y < 0 || y >= FHeight) {
        return nullptr;
    }
    FCanvas->Flush();
    return &FPixels[size_t(y) * size_t(FWidth)];
}

int32_t TBitmap::StrideBytes() const {
    return FWidth * 4;
}

void TBitmap::LoadFromFile(const rtl::UnicodeString &fileName) {
    codecs::LoadPictureFile(fileName, [this](const std::vector<uint8_t> &bytes) {
        qt::SetImage(*this,
                     codecs::DecodeOrThrow(bytes, nullptr).convertToFormat(QImage::Format_RGB32));
    });
    Changed();
}

void TBitmap::SaveToFile(const rtl::UnicodeString &fileName) const {
    codecs::SavePictureFile(qt::ImageOf(*this), fileName, codecs::FormatOfFileName(fileName));
}

} // namespace gfx
