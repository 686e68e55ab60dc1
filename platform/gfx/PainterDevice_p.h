// Internal: the devices that end in a Qt painter (pixel memory, a window while it paints,
// printers and PDF files) and what they share: fills, strokes, glyph runs and images on a
// QPainter, with the clip region. Others reach them through the factories of QtBridge_p.h,
// PixelDevice.h and Printers.h.
#pragma once

#include "platform/gfx/Device.h"

#include <memory>

class QImage;
class QPainter;

namespace gfx {

class TPainterDevice : public TDevice {
public:
    ~TPainterDevice() override;

    void SetClip(const TRegion *clip) override;
    void FillRects(const std::vector<TRect> &rects, const TDeviceBrush &brush) override;
    void FillPath(const TDevicePath &path, TFillRule rule, const TDeviceBrush &brush) override;
    void StrokePath(const TDevicePath &path, const TDevicePen &pen) override;
    void DrawGlyphs(const TDeviceGlyphRun &run) override;
    void DrawImage(const TDeviceImage &image, const TRectF &src,
                   const TAffine &srcToDevice) override;

protected:
    // The painter to draw with, begun when needed (nullptr: nothing to draw on). Devices that
    // end their painter call PainterEnded, so that the clip is set again on the next one.
    virtual QPainter *ActivePainter() = 0;
    void PainterEnded() { FClipApplied = false; }
    QPainter *Ready();
    const TRegion *Clip() const { return FHasClip ? &FClip : nullptr; }
    // Raster devices take raster operations and draw without antialiasing; vector devices
    // draw every mix as a copy.
    bool FRaster = true;

private:
    TRegion FClip;
    bool FHasClip = false;
    bool FClipApplied = false;
};

// 32-bit pixel memory ($AARRGGBB, alpha written as 255) owned by someone else; solid fills are
// written straight into it, everything else through a painter on an image over the memory.
class TPixelDevice final : public TPainterDevice {
public:
    TPixelDevice(uint32_t *bits, int32_t width, int32_t height, int32_t strideBytes,
                 int32_t pixelsPerInch);
    ~TPixelDevice() override;

    TDeviceCaps GetCaps() const override;
    void FillRects(const std::vector<TRect> &rects, const TDeviceBrush &brush) override;
    int32_t GetPixel(int32_t x, int32_t y) override;
    bool ReadPixels(const TRect &r, std::vector<uint32_t> &out) override;
    void Flush() override;

protected:
    QPainter *ActivePainter() override;

private:
    uint32_t *Row(int32_t y) const;

    uint32_t *FBits;
    int32_t FWidth, FHeight, FStride, FPixelsPerInch;
    std::unique_ptr<QImage> FImage;
    std::unique_ptr<QPainter> FPainter;
};

// A window while it paints: the paint event's painter, limited to the area being painted.
class TWindowDevice final : public TPainterDevice {
public:
    TWindowDevice(QPainter *painter, const TRegion &paintRegion);
    ~TWindowDevice() override;

    TDeviceCaps GetCaps() const override;
    TRegion GetVisibleRegion() const override { return FPaintRegion; }
    int32_t GetPixel(int32_t x, int32_t y) override;
    bool ReadPixels(const TRect &r, std::vector<uint32_t> &out) override;

protected:
    QPainter *ActivePainter() override { return FPainter; }

private:
    QPainter *FPainter;
    TRegion FPaintRegion;
};

} // namespace gfx
