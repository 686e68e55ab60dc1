// The device under a canvas: what a back end (pixel memory, a window, a printer, a PDF file)
// must do, in device pixels only. The canvas keeps every GDI state, maps logical coordinates,
// clips and resolves pens and brushes; a device only fills, strokes, draws glyphs and images.
//
// Contract for every device:
// - Coordinates are device pixels; (0, 0) is the top-left of the drawable area.
// - Geometry handed to a device is already clipped by the canvas to the clip bounds (grown by
//   the pen's width), so it stays within a few pixels of the device: devices need not guard
//   against huge coordinates.
// - SetClip limits every later call until the next SetClip; nullptr means the whole device.
// - Colours are $00BBGGRR with system colours resolved.
// - Devices never throw while drawing; a back end that fails (a printer that cannot take the
//   page) remembers it and its job reports the failure when it ends.
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace gfx {

class TFontFace;

// GetDeviceCaps indexes and answers, with the Windows values.
enum : int32_t {
    TECHNOLOGY = 2,
    HORZSIZE = 4,
    VERTSIZE = 6,
    HORZRES = 8,
    VERTRES = 10,
    BITSPIXEL = 12,
    PLANES = 14,
    NUMCOLORS = 24,
    CURVECAPS = 28,
    LINECAPS = 30,
    POLYGONALCAPS = 32,
    TEXTCAPS = 34,
    CLIPCAPS = 36,
    RASTERCAPS = 38,
    ASPECTX = 40,
    ASPECTY = 42,
    ASPECTXY = 44,
    LOGPIXELSX = 88,
    LOGPIXELSY = 90,
    SIZEPALETTE = 104,
    COLORRES = 108,
    PHYSICALWIDTH = 110,
    PHYSICALHEIGHT = 111,
    PHYSICALOFFSETX = 112,
    PHYSICALOFFSETY = 113,
    SHADEBLENDCAPS = 120,
};
enum : int32_t {
    DT_PLOTTER = 0,
    DT_RASDISPLAY = 1,
    DT_RASPRINTER = 2,
    DT_METAFILE = 5,
};
enum : int32_t {
    RC_BITBLT = 0x1,
    RC_SCALING = 0x4,
    RC_BITMAP64 = 0x8,
    RC_DI_BITMAP = 0x80,
    RC_DIBTODEV = 0x200,
    RC_STRETCHBLT = 0x800,
    RC_STRETCHDIB = 0x2000,
};
enum : int32_t { SB_CONST_ALPHA = 0x1, SB_PIXEL_ALPHA = 0x2 };

// What a device is. Physical* describe the whole sheet of a printer (for a screen or memory
// they equal the drawable area, offsets 0); HorzRes x VertRes is the drawable area.
struct TDeviceCaps {
    int32_t Technology = DT_RASDISPLAY;
    int32_t HorzRes = 0, VertRes = 0;
    int32_t LogPixelsX = 96, LogPixelsY = 96;
    int32_t PhysicalWidth = 0, PhysicalHeight = 0;
    int32_t PhysicalOffsetX = 0, PhysicalOffsetY = 0;
    int32_t BitsPixel = 32;
    // Draws shapes as vectors (printers, PDF): lines are not rasterised by the pixel rules,
    // raster operations other than copy draw as copy, and pixels cannot be read.
    bool Vector = false;
};

// The GetDeviceCaps answer for an index; 0 for an index it does not know.
int32_t DeviceCapsValue(const TDeviceCaps &caps, int32_t index);

// How a colour meets the pixels under it (the pen modes, binary raster operations).
enum class TMixMode : uint8_t { Copy, Black, White, Nop, Not, NotCopy, Xor };

// A brush resolved for one call: a colour, or a pattern of 32-bit pixels ($AARRGGBB, alpha 0
// or 255: alpha 0 leaves the target) repeated from Origin (in device pixels).
struct TDeviceBrush {
    uint32_t Color = 0;
    const uint32_t *Pattern = nullptr; // not owned; valid during the call
    int32_t PatternWidth = 0, PatternHeight = 0, PatternStride = 0;
    TPoint Origin;
    TMixMode Mix = TMixMode::Copy;
    uint8_t Alpha = 255; // constant opacity of a colour fill
};

enum class TLineCap : uint8_t { Round, Square, Flat };
enum class TLineJoin : uint8_t { Round, Bevel, Miter };

// A pen resolved for one call: width and dashes in device pixels.
struct TDevicePen {
    uint32_t Color = 0;
    double Width = 1;
    std::vector<double> Dashes; // alternating on and off lengths; empty: solid
    double DashOffset = 0;      // how far into the dash pattern the path starts
    TLineCap Cap = TLineCap::Round;
    TLineJoin Join = TLineJoin::Round;
    TMixMode Mix = TMixMode::Copy;
};

// Polygons and polylines in device pixels. Each figure ends at index End of Points.
struct TDevicePath {
    struct TFigure {
        uint32_t End = 0;
        bool Closed = false;
    };
    std::vector<TPointF> Points;
    std::vector<TFigure> Figures;

    void AddFigure(const std::vector<TPointF> &points, bool closed) {
        if (points.empty()) {
            return;
        }
        Points.insert(Points.end(), points.begin(), points.end());
        Figures.push_back({uint32_t(Points.size()), closed});
    }
    bool IsEmpty() const { return Figures.empty(); }
};

enum class TFillRule : uint8_t { Alternate, Winding };

// Glyphs of one face. The run's frame has x along the baseline and y downward, in pixels at
// EmSize pixels per em; Frame maps it to the device (rotation, anisotropic scaling).
struct TDeviceGlyphRun {
    const TFontFace *Face = nullptr;
    double EmSize = 0;
    TAffine Frame;
    std::vector<uint32_t> Glyphs;
    std::vector<TPointF> Positions; // glyph origins on the baseline, in the frame
    uint32_t Color = 0;
    bool SyntheticBold = false;
    bool SyntheticItalic = false;
};

enum class TImageAlpha : uint8_t { Ignore, Straight };

// 32-bit pixels ($AARRGGBB) read during the call.
struct TDeviceImage {
    const uint32_t *Bits = nullptr;
    int32_t Width = 0, Height = 0, StrideBytes = 0;
    TImageAlpha Alpha = TImageAlpha::Ignore;
    uint8_t ConstantAlpha = 255;
    bool Smooth = false; // filtered scaling instead of the nearest pixel
};

class TDevice {
public:
    virtual ~TDevice() = default;

    virtual TDeviceCaps GetCaps() const = 0;
    // The pixels the device lets a canvas draw on (the drawable area, or the part of a
    // window being painted).
    virtual TRegion GetVisibleRegion() const;

    virtual void SetClip(const TRegion *clip) = 0;
    // Rectangles of whole pixels, drawn exactly.
    virtual void FillRects(const std::vector<TRect> &rects, const TDeviceBrush &brush) = 0;
    virtual void FillPath(const TDevicePath &path, TFillRule rule, const TDeviceBrush &brush) = 0;
    virtual void StrokePath(const TDevicePath &path, const TDevicePen &pen) = 0;
    virtual void DrawGlyphs(const TDeviceGlyphRun &run) = 0;
    // The part src of the image (in image pixels) drawn through srcToDevice.
    virtual void DrawImage(const TDeviceImage &image, const TRectF &src,
                           const TAffine &srcToDevice) = 0;

    // The pixel's colour ($00BBGGRR), or -1 where the device cannot tell.
    virtual int32_t GetPixel(int32_t x, int32_t y) {
        (void)x;
        (void)y;
        return -1;
    }
    // A copy of the pixels of r ($FFRRGGBB, r's width per row); false when the device cannot
    // be read.
    virtual bool ReadPixels(const TRect &r, std::vector<uint32_t> &out) {
        (void)r;
        (void)out;
        return false;
    }
    // Finishes pending drawing, so that memory under the device is current.
    virtual void Flush() {}
};

// A device over 32-bit pixel memory ($AARRGGBB, rows strideBytes apart) that stays the
// caller's and must outlive the device; the pixels it draws get alpha 255. Invalid memory
// (null, or a stride shorter than a row) gives a device of no pixels.
std::unique_ptr<TDevice> NewPixelDevice(uint32_t *bits, int32_t width, int32_t height,
                                        int32_t strideBytes, int32_t pixelsPerInch = 96);

// A device of the given capabilities that draws nothing (reference devices, measuring).
std::unique_ptr<TDevice> NewInformationDevice(const TDeviceCaps &caps);

} // namespace gfx
