// TWindowDevice: a control's paint event; the canvas draws on the event's painter within the
// area being painted, and reads pixels back from the window's backing image.
#include "platform/gfx/PainterDevice_p.h"

#include "platform/gfx/QtBridge_p.h"

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>

namespace gfx {

namespace qt {

std::unique_ptr<TCanvas> WindowCanvas(QPainter *painter, const QRegion &paintRegion) {
    std::vector<TRect> rects;
    for (const QRect &r : paintRegion) {
        rects.push_back(Bounds(r.left(), r.top(), r.width(), r.height()));
    }
    return std::make_unique<TCanvas>(
        std::make_unique<TWindowDevice>(painter, TRegion::FromRects(rects)));
}

} // namespace qt

TWindowDevice::TWindowDevice(QPainter *painter, const TRegion &paintRegion)
    : FPainter(painter), FPaintRegion(paintRegion) {
    FPainter->save();
}

TWindowDevice::~TWindowDevice() {
    FPainter->restore();
}

TDeviceCaps TWindowDevice::GetCaps() const {
    TDeviceCaps caps;
    caps.Technology = DT_RASDISPLAY;
    if (QPaintDevice *device = FPainter->device()) {
        caps.HorzRes = caps.PhysicalWidth = device->width();
        caps.VertRes = caps.PhysicalHeight = device->height();
        caps.LogPixelsX = device->logicalDpiX();
        caps.LogPixelsY = device->logicalDpiY();
    }
    return caps;
}

namespace {

// The window's backing image and where a point of the painter lands on it.
QImage *BackingImage(QPainter *painter, QPoint &at) {
    QPaintEngine *engine = painter->paintEngine();
    QPaintDevice *device = engine ? engine->paintDevice() : nullptr;
    if (device && device->devType() == QInternal::Image) {
        at = painter->deviceTransform().map(at);
        return static_cast<QImage *>(device);
    }
    return nullptr;
}

} // namespace

int32_t TWindowDevice::GetPixel(int32_t x, int32_t y) {
    QPoint at(x, y);
    QImage *image = BackingImage(FPainter, at);
    if (!image || !image->valid(at)) {
        return -1;
    }
    const QRgb px = image->pixel(at);
    return int32_t(RGB(uint8_t(qRed(px)), uint8_t(qGreen(px)), uint8_t(qBlue(px))));
}

bool TWindowDevice::ReadPixels(const TRect &r, std::vector<uint32_t> &out) {
    out.resize(size_t(std::max(0, r.Width())) * size_t(std::max(0, r.Height())));
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
        for (int32_t x = r.Left; x < r.Right; ++x) {
            const int32_t c = GetPixel(x, y);
            if (c < 0) {
                return false;
            }
            out[size_t(y - r.Top) * size_t(r.Width()) + size_t(x - r.Left)] =
                0xFF000000u | (uint32_t(GetRValue(uint32_t(c))) << 16) |
                (uint32_t(GetGValue(uint32_t(c))) << 8) | GetBValue(uint32_t(c));
        }
    }
    return !r.IsEmpty();
}

} // namespace gfx
