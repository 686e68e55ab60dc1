// TPixelDevice: 32-bit pixel memory of the caller; solid fills written directly, the rest
// through a painter on an image that wraps the memory without copying it.
#include "platform/gfx/PainterDevice_p.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace gfx {

std::unique_ptr<TDevice> NewPixelDevice(uint32_t *bits, int32_t width, int32_t height,
                                        int32_t strideBytes, int32_t pixelsPerInch) {
    return std::make_unique<TPixelDevice>(bits, width, height, strideBytes, pixelsPerInch);
}

TPixelDevice::TPixelDevice(uint32_t *bits, int32_t width, int32_t height, int32_t strideBytes,
                           int32_t pixelsPerInch)
    : FBits(bits), FWidth(width), FHeight(height), FStride(strideBytes),
      FPixelsPerInch(pixelsPerInch > 0 ? pixelsPerInch : 96) {
    if (!bits || width <= 0 || height <= 0 || strideBytes < width * 4 || strideBytes % 4 != 0) {
        FBits = nullptr;
        FWidth = FHeight = FStride = 0;
    }
}

TPixelDevice::~TPixelDevice() {
    Flush();
}

TDeviceCaps TPixelDevice::GetCaps() const {
    TDeviceCaps caps;
    caps.Technology = DT_RASDISPLAY;
    caps.HorzRes = caps.PhysicalWidth = FWidth;
    caps.VertRes = caps.PhysicalHeight = FHeight;
    caps.LogPixelsX = caps.LogPixelsY = FPixelsPerInch;
    return caps;
}

uint32_t *TPixelDevice::Row(int32_t y) const {
    return reinterpret_cast<uint32_t *>(reinterpret_cast<uint8_t *>(FBits) +
                                        ptrdiff_t(y) * FStride);
}

QPainter *TPixelDevice::ActivePainter() {
    if (!FBits) {
        return nullptr;
    }
    if (!FPainter) {
        FImage = std::make_unique<QImage>(reinterpret_cast<uchar *>(FBits), FWidth, FHeight,
                                          FStride, QImage::Format_RGB32);
        FPainter = std::make_unique<QPainter>(FImage.get());
        PainterEnded();
    }
    return FPainter.get();
}

void TPixelDevice::Flush() {
    if (FPainter) {
        FPainter->end();
        FPainter.reset();
        FImage.reset();
        PainterEnded();
    }
}

void TPixelDevice::FillRects(const std::vector<TRect> &rects, const TDeviceBrush &brush) {
    if (brush.Pattern || brush.Alpha != 255) {
        TPainterDevice::FillRects(rects, brush);
        return;
    }
    if (!FBits || brush.Mix == TMixMode::Nop) {
        return;
    }
    // Solid colours go straight into the memory, within the clip.
    const uint32_t argb = 0xFF000000u | (uint32_t(GetRValue(brush.Color)) << 16) |
                          (uint32_t(GetGValue(brush.Color)) << 8) | GetBValue(brush.Color);
    const TMixMode mix = brush.Mix;
    const TRect surface = Rect(0, 0, FWidth, FHeight);
    auto fill = [&](const TRect &area) {
        const TRect r = IntersectRect(area, surface);
        for (int32_t y = r.Top; y < r.Bottom; ++y) {
            uint32_t *row = Row(y);
            if (mix == TMixMode::Copy) {
                std::fill(row + r.Left, row + r.Right, argb);
                continue;
            }
            for (int32_t x = r.Left; x < r.Right; ++x) {
                uint32_t &px = row[x];
                switch (mix) {
                case TMixMode::Not:
                    px = ~px | 0xFF000000u;
                    break;
                case TMixMode::NotCopy:
                    px = ~argb | 0xFF000000u;
                    break;
                case TMixMode::Xor:
                    px = (px ^ argb) | 0xFF000000u;
                    break;
                case TMixMode::Black:
                    px = 0xFF000000u;
                    break;
                case TMixMode::White:
                    px = 0xFFFFFFFFu;
                    break;
                default:
                    px = argb;
                    break;
                }
            }
        }
    };
    const TRegion *clip = Clip();
    for (const TRect &r : rects) {
        if (!clip) {
            fill(r);
            continue;
        }
        if (!clip->Intersects(r)) {
            continue;
        }
        for (const TRect &c : clip->GetRects()) {
            if (c.Top >= r.Bottom) {
                break;
            }
            const TRect part = IntersectRect(c, r);
            if (!part.IsEmpty()) {
                fill(part);
            }
        }
    }
}

int32_t TPixelDevice::GetPixel(int32_t x, int32_t y) {
    if (!FBits || x < 0 || y < 0 || x >= FWidth || y >= FHeight) {
        return -1;
    }
    const uint32_t px = Row(y)[x];
    return int32_t(RGB(uint8_t(px >> 16), uint8_t(px >> 8), uint8_t(px)));
}

bool TPixelDevice::ReadPixels(const TRect &r, std::vector<uint32_t> &out) {
    const TRect inside = IntersectRect(r, Rect(0, 0, FWidth, FHeight));
    if (!FBits || inside != r || r.IsEmpty()) {
        return false;
    }
    out.resize(size_t(r.Width()) * size_t(r.Height()));
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
        const uint32_t *row = Row(y);
        for (int32_t x = r.Left; x < r.Right; ++x) {
            out[size_t(y - r.Top) * size_t(r.Width()) + size_t(x - r.Left)] = row[x] | 0xFF000000u;
        }
    }
    return true;
}

} // namespace gfx
