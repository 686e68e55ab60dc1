// TBitmap: a 32-bit image in memory with a canvas on it.
#include "platform/gfx/Bitmap.h"

#include "platform/gfx/Canvas_p.h"
#include "platform/gfx/QtBridge_p.h"
#include "platform/rtl/Exceptions.h"

#include <QImage>
#include <QPainter>
#include <QString>

namespace gfx {

struct TBitmap::Impl {
    QImage image;
};

namespace {

QImage NewImage(int w, int h) {
    QImage img(std::max(0, w), std::max(0, h), QImage::Format_RGB32);
    img.fill(0xFFFFFFFFu);
    return img;
}

} // namespace

namespace qt {

QImage &ImageOf(TBitmap &bitmap) {
    EndPainting(bitmap.GetCanvas());
    return bitmap.GetImpl().image;
}

const QImage &ImageOf(const TBitmap &bitmap) {
    return bitmap.GetImpl().image;
}

} // namespace qt

TBitmap::TBitmap() : FImpl(std::make_unique<Impl>()) {
    FCanvas = qt::CanvasOnImage(&FImpl->image);
}

TBitmap::TBitmap(int32_t width, int32_t height) : TBitmap() {
    SetSize(width, height);
}

TBitmap::TBitmap(const TBitmap &other) : TBitmap() {
    *this = other;
}

TBitmap &TBitmap::operator=(const TBitmap &other) {
    if (this != &other) {
        FCanvas->GetImpl().End();
        other.FCanvas->GetImpl().End();
        FImpl->image = other.FImpl->image.copy();
        FPixelFormat = other.FPixelFormat;
        FCanvas = qt::CanvasOnImage(&FImpl->image);
        Changed();
    }
    return *this;
}

TBitmap::~TBitmap() {
    FCanvas.reset();
}

int32_t TBitmap::GetWidth() const {
    return FImpl->image.width();
}

int32_t TBitmap::GetHeight() const {
    return FImpl->image.height();
}

void TBitmap::SetWidth(int32_t width) {
    SetSize(width, GetHeight());
}

void TBitmap::SetHeight(int32_t height) {
    SetSize(GetWidth(), height);
}

void TBitmap::SetSize(int32_t width, int32_t height) {
    if (width == GetWidth() && height == GetHeight()) {
        return;
    }
    // The canvas keeps its pen, brush and font; only its surface changes.
    FCanvas->GetImpl().End();
    QImage next = NewImage(width, height);
    if (!FImpl->image.isNull() && !next.isNull()) {
        QPainter p(&next);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, FImpl->image);
    }
    FImpl->image = next;
    TCanvas::Impl &ci = FCanvas->GetImpl();
    ci.surface = Rect(0, 0, GetWidth(), GetHeight());
    ci.ResetClip();
    Changed();
}

TCanvas &TBitmap::GetCanvas() {
    return *FCanvas;
}

void TBitmap::DrawOn(TCanvas &canvas, const TRect &dest) const {
    FCanvas->GetImpl().End();
    const QImage &img = FImpl->image;
    canvas.DrawPixels32(dest, reinterpret_cast<const uint32_t *>(img.constBits()), img.width(),
                        img.height(), int32_t(img.bytesPerLine()),
                        Rect(0, 0, img.width(), img.height()));
}

void TBitmap::Assign(const TGraphic &source) {
    if (auto *b = dynamic_cast<const TBitmap *>(&source)) {
        *this = *b;
        return;
    }
    SetSize(0, 0);
    SetSize(source.GetWidth(), source.GetHeight());
    source.DrawOn(*FCanvas, Rect(0, 0, GetWidth(), GetHeight()));
    FCanvas->GetImpl().End();
}

uint32_t *TBitmap::ScanLine(int32_t y) {
    if (y < 0 || y >= GetHeight()) {
        return nullptr;
    }
    FCanvas->GetImpl().End();
    return reinterpret_cast<uint32_t *>(FImpl->image.scanLine(y));
}

const uint32_t *TBitmap::ScanLine(int32_t y) const {
    if (y < 0 || y >= GetHeight()) {
        return nullptr;
    }
    FCanvas->GetImpl().End();
    return reinterpret_cast<const uint32_t *>(FImpl->image.constScanLine(y));
}

int32_t TBitmap::StrideBytes() const {
    return int32_t(FImpl->image.bytesPerLine());
}

void TBitmap::LoadFromFile(const rtl::UnicodeString &fileName) {
    QImage img;
    if (!img.load(qt::ToQString(fileName))) {
        throw rtl::Exception(u"Cannot load bitmap from file " + fileName);
    }
    FCanvas->GetImpl().End();
    FImpl->image = img.convertToFormat(QImage::Format_RGB32);
    TCanvas::Impl &ci = FCanvas->GetImpl();
    ci.surface = Rect(0, 0, GetWidth(), GetHeight());
    ci.ResetClip();
    Changed();
}

void TBitmap::SaveToFile(const rtl::UnicodeString &fileName) const {
    FCanvas->GetImpl().End();
    if (!FImpl->image.save(qt::ToQString(fileName))) {
        throw rtl::Exception(u"Cannot save bitmap to file " + fileName);
    }
}

} // namespace gfx
