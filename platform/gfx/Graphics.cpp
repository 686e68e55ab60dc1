// TCanvas: objects, device-context attributes, saved states, device capabilities, pixels.
#include "platform/gfx/Graphics.h"

#include "platform/gfx/Canvas_p.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace gfx {

namespace detail {

TMixMode MixOf(TPenMode mode) {
    switch (mode) {
    case pmBlack:
        return TMixMode::Black;
    case pmWhite:
        return TMixMode::White;
    case pmNop:
        return TMixMode::Nop;
    case pmNot:
        return TMixMode::Not;
    case pmNotCopy:
        return TMixMode::NotCopy;
    case pmXor:
        return TMixMode::Xor;
    default:
        return TMixMode::Copy;
    }
}

bool HatchBit(TBrushStyle style, int x, int y) {
    switch (style) {
    case bsHorizontal:
        return y == 0;
    case bsVertical:
        return x == 0;
    case bsFDiagonal: // upper left to lower right
        return x == y;
    case bsBDiagonal: // lower left to upper right
        return x + y == 7;
    case bsCross:
        return x == 0 || y == 0;
    case bsDiagCross:
        return x == y || x + y == 7;
    default:
        return true;
    }
}

} // namespace detail

TCanvasState TCanvasRecorder::StateOf(const TCanvas &canvas) {
    return canvas.CaptureState();
}

TCanvasState TCanvas::CaptureState() const {
    const TCanvas &c = *this;
    TCanvasState s;
    s.Font = c.FFont;
    s.Pen = c.FPen;
    s.Brush = c.FBrush;
    s.LogFont = c.FLogFont;
    s.PenPos = c.FPenPos;
    s.TextColor = c.FTextColor;
    s.BkColor = c.FBkColor;
    s.BkMode = c.FBkMode;
    s.TextAlign = c.FTextAlign;
    s.CharExtra = c.FCharExtra;
    s.PolyFillMode = c.FPolyFillMode;
    s.BrushOrg = c.FBrushOrg;
    s.MapMode = c.FMapMode;
    s.WindowOrg = c.FWindowOrg;
    s.ViewportOrg = c.FViewportOrg;
    s.WindowExt = c.FWindowExt;
    s.ViewportExt = c.FViewportExt;
    s.GraphicsMode = c.FGraphicsMode;
    s.World = c.FWorld;
    s.Playback = c.FPlayback;
    s.HasClip = c.FHasClip;
    s.Clip = c.FClip;
    s.HasMetaClip = c.FHasMetaClip;
    s.MetaClip = c.FMetaClip;
    return s;
}

TCanvas::TCanvas(std::unique_ptr<TDevice> device) : FDevice(std::move(device)) {
    FFont.OnChange = [this] {
        FFont.GetLogFont(FLogFont);
        FTextColor = FFont.GetColor();
    };
    FBrush.OnChange = [this] { ObjectsChanged(); };
    FFont.GetLogFont(FLogFont);
    FTextColor = FFont.GetColor();
    ObjectsChanged();
    DeviceChanged();
}

TCanvas::~TCanvas() = default;

// The class library realises the brush with its background: a solid brush draws text and
// styled lines on its own colour (OPAQUE); any other brush leaves the background (TRANSPARENT).
void TCanvas::ObjectsChanged() {
    if (FBrush.GetStyle() == bsSolid) {
        FBkColor = FBrush.GetColor();
        FBkMode = OPAQUE;
    } else {
        FBkColor = TColor(ColorToRGB(FBrush.GetColor()) ^ 0xFFFFFFu);
        FBkMode = TRANSPARENT;
    }
}

void TCanvas::ReplaceDevice(std::unique_ptr<TDevice> device) {
    FDevice = std::move(device);
    DeviceChanged();
}

void TCanvas::DeviceChanged() {
    FRealized.clear();
    FVisible = FDevice->GetVisibleRegion();
    FHasClip = false;
    FClip = {};
    UpdateMapping();
    ClipChanged();
}

const TLogFont &TCanvas::GetLogFont() const {
    return FLogFont;
}

TLogFont TCanvas::SelectLogFont(const TLogFont &font) {
    TLogFont previous = FLogFont;
    FLogFont = font;
    return previous;
}

TColor TCanvas::SetTextColor(TColor color) {
    return std::exchange(FTextColor, color);
}

TColor TCanvas::SetBkColor(TColor color) {
    return std::exchange(FBkColor, color);
}

int32_t TCanvas::SetBkMode(int32_t mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        return 0;
    }
    return std::exchange(FBkMode, mode);
}

uint32_t TCanvas::SetTextAlign(uint32_t flags) {
    return std::exchange(FTextAlign,
                         flags & (TA_UPDATECP | TA_CENTER | TA_BASELINE | TA_RTLREADING));
}

int32_t TCanvas::SetTextCharacterExtra(int32_t extra) {
    return std::exchange(FCharExtra, extra);
}

int32_t TCanvas::SetPolyFillMode(int32_t mode) {
    if (mode != ALTERNATE && mode != WINDING) {
        return 0;
    }
    return std::exchange(FPolyFillMode, mode);
}

TPoint TCanvas::SetBrushOrg(TPoint org) {
    return std::exchange(FBrushOrg, org);
}

int32_t TCanvas::SaveDC() {
    FSaved.push_back(CaptureState());
    return int32_t(FSaved.size());
}

bool TCanvas::RestoreDC(int32_t level) {
    const int32_t depth = int32_t(FSaved.size());
    const int32_t target = level < 0 ? depth + level + 1 : level;
    if (target < 1 || target > depth) {
        return false;
    }
    TCanvasState &s = FSaved[size_t(target - 1)];
    // Objects first: assigning them moves their colours into the attributes, which follow.
    FFont = s.Font;
    FPen = s.Pen;
    FBrush = s.Brush;
    FLogFont = s.LogFont;
    FPenPos = s.PenPos;
    FTextColor = s.TextColor;
    FBkColor = s.BkColor;
    FBkMode = s.BkMode;
    FTextAlign = s.TextAlign;
    FCharExtra = s.CharExtra;
    FPolyFillMode = s.PolyFillMode;
    FBrushOrg = s.BrushOrg;
    FMapMode = s.MapMode;
    FWindowOrg = s.WindowOrg;
    FViewportOrg = s.ViewportOrg;
    FWindowExt = s.WindowExt;
    FViewportExt = s.ViewportExt;
    FGraphicsMode = s.GraphicsMode;
    FWorld = s.World;
    FPlayback = s.Playback;
    FHasClip = s.HasClip;
    FClip = std::move(s.Clip);
    FHasMetaClip = s.HasMetaClip;
    FMetaClip = std::move(s.MetaClip);
    FSaved.resize(size_t(target - 1));
    UpdateMapping();
    ClipChanged();
    return true;
}

TDeviceCaps TCanvas::GetDeviceCapsInfo() const {
    return FDevice->GetCaps();
}

int32_t TCanvas::GetDeviceCaps(int32_t index) const {
    return DeviceCapsValue(FDevice->GetCaps(), index);
}

TSize TCanvas::GetSurfaceSize() const {
    const TDeviceCaps caps = FDevice->GetCaps();
    return {caps.HorzRes, caps.VertRes};
}

TColor TCanvas::GetPixel(int32_t x, int32_t y) {
    const TPointF d = FToDevice.Map(double(x), double(y));
    const int64_t dx = detail::RoundCoord(d.X), dy = detail::RoundCoord(d.Y);
    if (dx < INT32_MIN || dx > INT32_MAX || dy < INT32_MIN || dy > INT32_MAX) {
        return -1;
    }
    ApplyClip();
    if (!FEffective.Contains({int32_t(dx), int32_t(dy)})) {
        return -1;
    }
    return FDevice->GetPixel(int32_t(dx), int32_t(dy));
}

TPixelCanvas::TPixelCanvas(uint32_t *bits, int32_t width, int32_t height, int32_t strideBytes)
    : TCanvas(NewPixelDevice(bits, width, height, strideBytes)) {}

void TPixelCanvas::Retarget(uint32_t *bits, int32_t width, int32_t height, int32_t strideBytes) {
    ReplaceDevice(NewPixelDevice(bits, width, height, strideBytes));
}

void TPixelCanvas::Flush() {
    Device().Flush();
}

} // namespace gfx
