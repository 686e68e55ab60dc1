// Device capabilities as GetDeviceCaps answers them, and the device that only informs.
#include "platform/gfx/Device.h"

#include <cmath>

namespace gfx {

int32_t DeviceCapsValue(const TDeviceCaps &caps, int32_t index) {
    const auto mm = [](int32_t pixels, int32_t ppi) {
        return ppi > 0 ? int32_t(std::lround(pixels * 25.4 / ppi)) : 0;
    };
    switch (index) {
    case TECHNOLOGY:
        return caps.Technology;
    case HORZSIZE:
        return mm(caps.HorzRes, caps.LogPixelsX);
    case VERTSIZE:
        return mm(caps.VertRes, caps.LogPixelsY);
    case HORZRES:
        return caps.HorzRes;
    case VERTRES:
        return caps.VertRes;
    case BITSPIXEL:
        return caps.BitsPixel;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1; // more than 256 colours
    case SIZEPALETTE:
        return 0;
    case COLORRES:
        return 24;
    case RASTERCAPS:
        return caps.Vector ? RC_BITBLT | RC_SCALING | RC_STRETCHBLT | RC_STRETCHDIB | RC_DIBTODEV
                           : RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT |
                                 RC_STRETCHDIB;
    case SHADEBLENDCAPS:
        return SB_CONST_ALPHA | SB_PIXEL_ALPHA;
    case CURVECAPS:
    case LINECAPS:
    case POLYGONALCAPS:
        return 0xFF;
    case TEXTCAPS:
        return 0x7FFF;
    case CLIPCAPS:
        return 1;
    case ASPECTX:
    case ASPECTY:
        return 36;
    case ASPECTXY:
        return 51;
    case LOGPIXELSX:
        return caps.LogPixelsX;
    case LOGPIXELSY:
        return caps.LogPixelsY;
    case PHYSICALWIDTH:
        return caps.PhysicalWidth ? caps.PhysicalWidth : caps.HorzRes;
    case PHYSICALHEIGHT:
        return caps.PhysicalHeight ? caps.PhysicalHeight : caps.VertRes;
    case PHYSICALOFFSETX:
        return caps.PhysicalOffsetX;
    case PHYSICALOFFSETY:
        return caps.PhysicalOffsetY;
    default:
        return 0;
    }
}

TRegion TDevice::GetVisibleRegion() const {
    const TDeviceCaps caps = GetCaps();
    return TRegion(Rect(0, 0, caps.HorzRes, caps.VertRes));
}

namespace {

class TInformationDevice final : public TDevice {
public:
    explicit TInformationDevice(const TDeviceCaps &caps) : FCaps(caps) {}
    TDeviceCaps GetCaps() const override { return FCaps; }
    void SetClip(const TRegion *) override {}
    void FillRects(const std::vector<TRect> &, const TDeviceBrush &) override {}
    void FillPath(const TDevicePath &, TFillRule, const TDeviceBrush &) override {}
    void StrokePath(const TDevicePath &, const TDevicePen &) override {}
    void DrawGlyphs(const TDeviceGlyphRun &) override {}
    void DrawImage(const TDeviceImage &, const TRectF &, const TAffine &) override {}

private:
    TDeviceCaps FCaps;
};

} // namespace

std::unique_ptr<TDevice> NewInformationDevice(const TDeviceCaps &caps) {
    return std::make_unique<TInformationDevice>(caps);
}

} // namespace gfx
