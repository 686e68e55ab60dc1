// Self-drawn scroll bars: geometry, painting, press repeat, hover watch, gauge range and wheel.
#include "raster/controls/Raster_RangeBars.h"

#include "raster/controls/Raster_XPThemes.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Rounding.h"

#include <algorithm>

namespace raster {

namespace {

using gfx::TColor;
using gfx::TRect;

TRect Shrunk(TRect r, int32_t d) {
    return gfx::Rect(r.Left + d, r.Top + d, r.Right - d, r.Bottom - d);
}

TRect Moved(TRect r, int32_t dx, int32_t dy) {
    return gfx::Rect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy);
}

bool Empty(const TRect &r) {
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

uint32_t EdgeOf(TRBDirection d) {
    switch (d) {
    case dirLeft:
        return edgeRight;
    case dirUp:
        return edgeBottom;
    case dirRight:
        return edgeLeft;
    default:
        return edgeTop;
    }
}

void Line(gfx::TCanvas &c, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}

void FillSolid(gfx::TCanvas &c, const TRect &r, TColor color) {
    c.GetBrush().SetColor(color);
    c.GetBrush().SetStyle(gfx::bsSolid);
    c.FillRect(r);
}

// The class library's raised edge (EDGE_RAISED with the middle filled).
// A part of the scroll-bar theme through the visual-styles library; false (nothing drawn) when
// themed drawing is off.
bool DrawThemed(gfx::TCanvas &c, int32_t part, int32_t state, const TRect &r) {
    TThemeLibrary *api = ThemeApi();
    if (!ThemesInUse() || api == nullptr || !api->HasEntryPoint("DrawThemeBackground")) {
        return false;
    }
    api->DrawThemeBackground(ScrollBarTheme(), c, part, state, r, nullptr);
    return true;
}

void DrawRaisedEdge(gfx::TCanvas &c, TRect r) {
    DrawBevel(c, r, gfx::cl3DLight, gfx::cl3DDkShadow, true);
    DrawBevel(c, r, gfx::clBtnHighlight, gfx::clBtnShadow, true);
    FillSolid(c, r, gfx::clBtnFace);
}

} // namespace

// ---- Drawing routines ---------------------------------------------------------------------

TColor ShadeColor(TColor color, int32_t delta) {
    const uint32_t rgb = gfx::ColorToRGB(color);
    auto ch = [delta](uint32_t v) { return uint8_t(std::clamp(int32_t(v) + delta, 0, 255)); };
    return gfx::RGB(ch(gfx::GetRValue(rgb)), ch(gfx::GetGValue(rgb)), ch(gfx::GetBValue(rgb)));
}

TColor MixColor(TColor c1, TColor c2, int32_t w) {
    if (w < 0 || w >= 256) {
        throw rtl::Exception("Assertion failure");
    }
    const uint32_t a = gfx::ColorToRGB(c1), b = gfx::ColorToRGB(c2);
    const uint32_t uw = uint32_t(w), iw = 255 - uint32_t(w);
    const uint32_t rb = (((a & 0xFF00FFu) * uw + (b & 0xFF00FFu) * iw) >> 8) & 0xFF00FFu;
    const uint32_t g = (((a & 0xFF00u) * uw + (b & 0xFF00u) * iw) >> 8) & 0xFF00u;
    return TColor(rb | g);
}

void FillDithered(gfx::TCanvas &canvas, const TRect &r, TColor c1, TColor c2) {
    if (Empty(r)) {
        return;
    }
    if (c1 == c2) {
        FillSolid(canvas, r, c1);
        return;
    }
    gfx::TBitmap pattern(8, 8);
    gfx::TCanvas &pc = pattern.GetCanvas();
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            pc.SetPixel(x, y, (x % 2) == (y % 2) ? c2 : c1);
        }
    }
    canvas.GetBrush().SetBitmap(&pattern);
    canvas.FillRect(r);
    canvas.GetBrush().SetBitmap(nullptr);
}

void DrawEdgeLines(gfx::TCanvas &canvas, TRect &r, uint32_t edges, TColor color) {
    if (edges == 0) {
        return;
    }
    canvas.GetPen().SetColor(color);
    canvas.GetPen().SetWidth(1);
    if (edges & edgeTop) {
        Line(canvas, r.Left, r.Top, r.Right, r.Top);
        ++r.Top;
    }
    if (edges & edgeBottom) {
        --r.Bottom;
        Line(canvas, r.Left, r.Bottom, r.Right, r.Bottom);
    }
    if (edges & edgeLeft) {
        Line(canvas, r.Left, r.Top, r.Left, r.Bottom);
        ++r.Left;
    }
    if (edges & edgeRight) {
        --r.Right;
        Line(canvas, r.Right, r.Top, r.Right, r.Bottom);
    }
}

void DrawBevel(gfx::TCanvas &canvas, TRect &r, TColor topLeft, TColor bottomRight, bool shrink) {
    const TRect original = r;
    const int32_t right = r.Right - 1, bottom = r.Bottom - 1;
    canvas.GetPen().SetWidth(1);
    canvas.GetPen().SetColor(topLeft);
    canvas.Polyline({{r.Left, bottom}, {r.Left, r.Top}, {right, r.Top}});
    canvas.GetPen().SetColor(bottomRight);
    canvas.Polyline({{right, r.Top}, {right, bottom}, {r.Left, bottom}});
    r = shrink ? Shrunk(original, 1) : original;
}

void DrawTriangle(gfx::TCanvas &canvas, const TRect &r, TRBDirection direction, TColor color) {
    int32_t cx = (r.Left + r.Right - 1) / 2;
    int32_t cy = (r.Top + r.Bottom - 1) / 2;
    const int32_t m = std::min(cx - r.Left, cy - r.Top);
    int32_t s = (3 * m) / 4 - 1;
    if (s == 0) {
        s = 1;
    }
    const int32_t o = (direction == dirLeft || direction == dirUp) ? (s + 1) / 3 : s / 3;
    std::vector<gfx::TPoint> pts;
    switch (direction) {
    case dirUp:
        cy += o;
        pts = {{cx + s, cy}, {cx, cy - s}, {cx - s, cy}};
        break;
    case dirDown:
        cy -= o;
        pts = {{cx + s, cy}, {cx, cy + s}, {cx - s, cy}};
        break;
    case dirLeft:
        cx += o;
        pts = {{cx, cy + s}, {cx - s, cy}, {cx, cy - s}};
        break;
    default:
        cx -= o;
        pts = {{cx, cy + s}, {cx + s, cy}, {cx, cy - s}};
        break;
    }
    canvas.GetPen().SetColor(color);
    canvas.GetBrush().SetStyle(gfx::bsSolid);
    canvas.GetBrush().SetColor(color);
    canvas.Polygon(pts);
}

// ---- TArrowBar ----------------------------------------------------------------------------

TArrowBar::TArrowBar(ui::TComponent *owner)
    : ui::TCustomControl(owner), FHandleColor(gfx::clBtnShadow), FButtonColor(gfx::clBtnFace),
      FHighLightColor(gfx::clBtnHighlight), FShadowColor(gfx::clBtnShadow),
      FBorderColor(gfx::clWindowFrame) {
    InitializeThemes();
    SetBounds(GetLeft(), GetTop(), 100, 16);
    SetParentColor(false);
    SetColor(gfx::clScrollBar);
}

void TArrowBar::SetColorField(TColor &field, TColor value) {
    if (field != value) {
        field = value;
        Invalidate();
    }
}

void TArrowBar::SetBackgnd(TRBBackgnd value) {
    if (value != FBackgnd) {
        FBackgnd = value;
        Invalidate();
    }
}

void TArrowBar::SetBorderStyle(TBarBorderStyle value) {
    if (value != FBorderStyle) {
        FBorderStyle = value;
        Invalidate();
    }
}

void TArrowBar::SetButtonSize(int32_t value) {
    if (value != FButtonSize) {
        FButtonSize = value;
        Invalidate();
    }
}

void TArrowBar::SetHandleColor(TColor value) {
    SetColorField(FHandleColor, value);
}
void TArrowBar::SetButtonColor(TColor value) {
    SetColorField(FButtonColor, value);
}
void TArrowBar::SetHighLightColor(TColor value) {
    SetColorField(FHighLightColor, value);
}
void TArrowBar::SetShadowColor(TColor value) {
    SetColorField(FShadowColor, value);
}
void TArrowBar::SetBorderColor(TColor value) {
    SetColorField(FBorderColor, value);
}

void TArrowBar::SetKind(TScrollBarKind value) {
    if (value != FKind) {
        FKind = value;
        Invalidate();
    }
}

void TArrowBar::SetShowArrows(bool value) {
    if (value != FShowArrows) {
        FShowArrows = value;
        Invalidate();
    }
}

void TArrowBar::SetShowHandleGrip(bool value) {
    if (value != FShowHandleGrip) {
        FShowHandleGrip = value;
        Invalidate();
    }
}

void TArrowBar::SetStyle(TRBStyle value) {
    FStyle = value;
    Invalidate();
}

TRect TArrowBar::GetClientRect() const {
    const int32_t b = BorderWidth();
    return gfx::Rect(0, 0, std::max(GetWidth() - 2 * b, 0), std::max(GetHeight() - 2 * b, 0));
}

int32_t TArrowBar::Thickness() const {
    const TRect r = GetClientRect();
    return FKind == sbHorizontal ? r.Height() : r.Width();
}

int32_t TArrowBar::Length() const {
    const TRect r = GetClientRect();
    return FKind == sbHorizontal ? r.Width() : r.Height();
}

int32_t TArrowBar::ArrowButtonSize() const {
    if (!FShowArrows) {
        return 0;
    }
    int32_t b = FButtonSize != 0 ? FButtonSize : std::min(Thickness(), 32);
    if (2 * b >= Length()) {
        b = Length() / 2;
    }
    if (FStyle == rbsMac) {
        --b;
    }
    return b < 2 ? 0 : b;
}

TRect TArrowBar::TrackBounds() const {
    TRect r = GetClientRect();
    const int32_t b = ArrowButtonSize();
    if (FKind == sbHorizontal) {
        r.Left += b;
        r.Right -= b;
    } else {
        r.Top += b;
        r.Bottom -= b;
    }
    return r;
}

TRBZone TArrowBar::ZoneAt(int32_t x, int32_t y) const {
    const TRect c = GetClientRect();
    if (!c.Contains({x, y})) {
        return zNone;
    }
    const int32_t b = ArrowButtonSize();
    const int32_t p = FKind == sbHorizontal ? x : y;
    const int32_t len = Length();
    if (p < b) {
        return zBtnPrev;
    }
    if (p >= len - b && b > 0) {
        return zBtnNext;
    }
    const TRect h = GetHandleBounds();
    if (!Empty(h) && h.Contains({x, y})) {
        return zHandle;
    }
    const int32_t hs = FKind == sbHorizontal ? h.Left : h.Top;
    const int32_t he = FKind == sbHorizontal ? h.Right : h.Bottom;
    if (p > 0 && p < hs) {
        return zTrackPrev;
    }
    if (p >= he && p < len - 1) {
        return zTrackNext;
    }
    return zNone;
}

TRect TArrowBar::ZoneBounds(TRBZone zone) const {
    const TRect c = GetClientRect();
    const int32_t b = ArrowButtonSize();
    const bool horz = FKind == sbHorizontal;
    switch (zone) {
    case zNone:
        return {};
    case zBtnPrev:
        return horz ? gfx::Rect(c.Left, c.Top, c.Left + b, c.Bottom)
                    : gfx::Rect(c.Left, c.Top, c.Right, c.Top + b);
    case zBtnNext:
        return horz ? gfx::Rect(c.Right - b, c.Top, c.Right, c.Bottom)
                    : gfx::Rect(c.Left, c.Bottom - b, c.Right, c.Bottom);
    default:
        break;
    }
    const TRect t = TrackBounds();
    TRect h = PaintsEnabled() ? GetHandleBounds() : TRect{};
    if (Empty(h)) {
        const int32_t mx = (t.Left + t.Right) / 2, my = (t.Top + t.Bottom) / 2;
        h = horz ? gfx::Rect(mx, t.Top, mx, t.Bottom) : gfx::Rect(t.Left, my, t.Right, my);
    }
    if (zone == zHandle) {
        return h;
    }
    TRect r = t;
    if (zone == zTrackPrev) {
        (horz ? r.Right : r.Bottom) = horz ? h.Left : h.Top;
    } else {
        (horz ? r.Left : r.Top) = horz ? h.Right : h.Bottom;
    }
    return r;
}

TRect TArrowBar::ToCanvas(TRect r) const {
    return Moved(r, BorderWidth(), BorderWidth());
}

void TArrowBar::Paint() {
    gfx::TCanvas &c = GetCanvas();
    if (FBorderStyle == bsSingle) {
        TRect outer = gfx::Rect(0, 0, GetWidth(), GetHeight());
        DrawBevel(c, outer, gfx::clBtnShadow, gfx::clBtnHighlight, false);
    }
    const bool horz = FKind == sbHorizontal;
    const bool e = PaintsEnabled();
    const TRBDirection first = horz ? dirLeft : dirUp;
    const TRBDirection second = horz ? dirRight : dirDown;
    if (FShowArrows) {
        PaintButton(ZoneBounds(zBtnPrev), first, DragZone == zBtnPrev, e, HotZone == zBtnPrev);
        PaintButton(ZoneBounds(zBtnNext), second, DragZone == zBtnNext, e, HotZone == zBtnNext);
    }
    const TRect handle = e ? GetHandleBounds() : TRect{};
    PaintTrack(ZoneBounds(zTrackPrev), first, DragZone == zTrackPrev, e, HotZone == zTrackPrev);
    PaintTrack(ZoneBounds(zTrackNext), second, DragZone == zTrackNext, e, HotZone == zTrackNext);
    if (!Empty(handle)) {
        PaintHandle(handle, horz, DragZone == zHandle, HotZone == zHandle);
    }
}

void TArrowBar::PaintButton(TRect r, TRBDirection direction, bool pushed, bool enabled, bool hot) {
    if (Empty(r)) {
        return;
    }
    r = ToCanvas(r);
    if (FStyle == rbsMac) {
        PaintMacButton(r, direction, pushed, enabled);
        return;
    }
    gfx::TCanvas &c = GetCanvas();
    // The arrow button's normal states by direction: left, up, right, down.
    static const int32_t kArrowStates[] = {9, 1, 13, 5};
    const int32_t state = kArrowStates[direction] + (!enabled ? 3 : pushed ? 2 : hot ? 1 : 0);
    if (DrawThemed(c, 1, state, r)) {
        return;
    }
    if (pushed) {
        TRect inner = r;
        DrawBevel(c, inner, gfx::clBtnShadow, gfx::clBtnShadow, true);
        FillSolid(c, inner, gfx::clBtnFace);
        r = Moved(r, 1, 1);
    } else {
        DrawRaisedEdge(c, r);
    }
    DrawTriangle(c, Shrunk(r, 2), direction, PaintsEnabled() ? gfx::clBtnText : gfx::clGrayText);
}

void TArrowBar::PaintMacButton(TRect r, TRBDirection direction, bool pushed, bool enabled) {
    gfx::TCanvas &c = GetCanvas();
    const uint32_t edges = 15u & ~EdgeOf(direction);
    if (!enabled) {
        DrawEdgeLines(c, r, edges, FShadowColor);
        FillSolid(c, r, FButtonColor);
        r = Moved(Shrunk(r, 1), 1, 1);
        DrawTriangle(c, r, direction, FHighLightColor);
        DrawTriangle(c, Moved(r, -1, -1), direction, FShadowColor);
        return;
    }
    DrawEdgeLines(c, r, edges, FBorderColor);
    if (pushed) {
        FillSolid(c, r, FButtonColor);
        r = Shrunk(Moved(r, 1, 1), 1);
    } else {
        DrawBevel(c, r, FHighLightColor, FShadowColor, true);
        FillSolid(c, r, FButtonColor);
    }
    DrawTriangle(c, r, direction, FBorderColor);
}

void TArrowBar::PaintHandle(TRect r, bool horz, bool pushed, bool hot) {
    if (Empty(r)) {
        return;
    }
    r = ToCanvas(r);
    if (FStyle == rbsMac) {
        PaintMacHandle(r, horz, pushed);
        return;
    }
    gfx::TCanvas &c = GetCanvas();
    const int32_t state = !GetEnabled() ? 4 : pushed ? 3 : hot ? 2 : 1;
    if (DrawThemed(c, horz ? 2 : 3, state, r)) {
        if (FShowHandleGrip) {
            DrawThemed(c, horz ? 8 : 9, 0, r);
        }
        return;
    }
    DrawRaisedEdge(c, r);
}

void TArrowBar::PaintMacHandle(TRect r, bool horz, bool pushed) {
    gfx::TCanvas &c = GetCanvas();
    const TColor hi = ShadeColor(FHandleColor, 24);
    const TColor lo = ShadeColor(FHandleColor, -24);
    c.GetBrush().SetStyle(gfx::bsSolid);
    c.GetBrush().SetColor(FBorderColor);
    c.FrameRect(r);
    r = Shrunk(r, 1);
    if (pushed) {
        DrawBevel(c, r, lo, FHandleColor, true);
    } else {
        DrawBevel(c, r, hi, MixColor(FBorderColor, FHandleColor, 96), true);
    }
    FillSolid(c, r, FHandleColor);
    if (!FShowHandleGrip) {
        return;
    }
    if (pushed) {
        r = Moved(r, 1, 1);
    }
    const int32_t start = horz ? r.Left : r.Top;
    const int32_t end = horz ? r.Right : r.Bottom;
    const int32_t m = (start + end) / 2;
    const bool long10 = end - start > 10;
    for (int32_t off : {-5, -2, 1, 4}) {
        if ((off == -5 || off == 4) && !long10) {
            continue;
        }
        TRect strip = horz ? gfx::Rect(m + off, r.Top + 1, m + off + 2, r.Bottom - 1)
                           : gfx::Rect(r.Left + 1, m + off, r.Right - 1, m + off + 2);
        DrawBevel(c, strip, hi, lo, false);
    }
}

void TArrowBar::PaintTrack(TRect r, TRBDirection direction, bool pushed, bool enabled, bool) {
    if (Empty(r)) {
        return;
    }
    r = ToCanvas(r);
    // The track parts by direction: left, up, right, down.
    static const int32_t kTrackParts[] = {4, 6, 5, 7};
    if (FStyle == rbsMac) {
        PaintMacTrack(r, direction, pushed, enabled);
    } else if (DrawThemed(GetCanvas(), kTrackParts[direction], pushed ? 3 : 1, r)) {
        return;
    } else if (pushed) {
        FillSolid(GetCanvas(), r, gfx::clWindowFrame);
    } else {
        FillDithered(GetCanvas(), r, gfx::clBtnHighlight, GetColor());
    }
}

void TArrowBar::PaintMacTrack(TRect r, TRBDirection direction, bool pushed, bool enabled) {
    gfx::TCanvas &c = GetCanvas();
    DrawEdgeLines(c, r, 15u & ~EdgeOf(direction), PaintsEnabled() ? FBorderColor : FShadowColor);
    if (pushed) {
        FillSolid(c, r, FBorderColor);
        return;
    }
    if (Empty(r)) {
        return;
    }
    if (!enabled) {
        FillSolid(c, r, FButtonColor);
        return;
    }
    c.GetPen().SetColor(MixColor(FBorderColor, MixColor(FHighLightColor, GetColor(), 127), 32));
    switch (direction) {
    case dirLeft:
    case dirUp:
        c.Polyline({{r.Left, r.Bottom - 1}, {r.Left, r.Top}, {r.Right, r.Top}});
        ++r.Top;
        ++r.Left;
        break;
    case dirRight:
        Line(c, r.Left, r.Top, r.Right, r.Top);
        ++r.Top;
        break;
    default:
        Line(c, r.Left, r.Top, r.Left, r.Bottom);
        ++r.Left;
        break;
    }
    if (FBackgnd == bgPattern) {
        FillDithered(c, r, FHighLightColor, GetColor());
    } else {
        FillSolid(c, r, GetColor());
    }
}

// ---- Press repeat and hover ---------------------------------------------------------------

// Like the class library's timer: a new interval restarts a running timer and is kept for
// the next start of a stopped one.
void TArrowBar::SetTimerInterval(uint32_t ms) {
    FTimerInterval = ms;
    if (FTimerOn) {
        SetTimer(TimerId, ms);
    }
}

void TArrowBar::StartTimer() {
    if (!FTimerOn) {
        SetTimer(TimerId, FTimerInterval);
        FTimerOn = true;
    }
}

void TArrowBar::StopTimer() {
    if (FTimerOn) {
        KillTimer(TimerId);
        FTimerOn = false;
    }
}

// The interval is set before the first step: a step that stops the repeat at once leaves the
// 150 ms watch interval for the pending tick.
void TArrowBar::StartRepeat() {
    SetTimerInterval(600);
    TimerMode = 2;
    TimerTick();
    TimerMode = 1;
    StartTimer();
}

void TArrowBar::StartHoverWatch() {
    SetTimerInterval(150);
    TimerMode = 3;
    StartTimer();
}

void TArrowBar::StopHoverWatch() {
    StopTimer();
    TimerMode = 0;
    HotZone = zNone;
    Invalidate();
}

void TArrowBar::TimerTick() {
    if (TimerMode == 1) {
        TimerMode = 2;
        SetTimerInterval(100);
    } else if (TimerMode == 3 && !GetClientRect().Contains({FMouseX, FMouseY})) {
        StopHoverWatch();
        Invalidate();
    }
}

void TArrowBar::NotifyChange() {
    if (OnChange) {
        OnChange(this);
    }
    if (GenChange && OnUserChange) {
        OnUserChange(this);
    }
}

void TArrowBar::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) {
    ui::TCustomControl::MouseDown(button, shift, x, y);
    if (button != ui::mbLeft) {
        return;
    }
    x -= BorderWidth();
    y -= BorderWidth();
    FMouseX = x;
    FMouseY = y;
    DragZone = ZoneAt(x, y);
    Invalidate();
    StoredX = x;
    StoredY = y;
    StartRepeat();
}

void TArrowBar::MouseMove(ui::TShiftState shift, int32_t x, int32_t y) {
    ui::TCustomControl::MouseMove(shift, x, y);
    FMouseX = x - BorderWidth();
    FMouseY = y - BorderWidth();
    if (DragZone != zNone || !GetEnabled()) {
        return;
    }
    const TRBZone z = ZoneAt(FMouseX, FMouseY);
    if (z != HotZone) {
        HotZone = z;
        if (z != zNone) {
            StartHoverWatch();
        }
        Invalidate();
    }
}

void TArrowBar::MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) {
    ui::TCustomControl::MouseUp(button, shift, x, y);
    DragZone = zNone;
    Invalidate();
    StopRepeat();
}

void TArrowBar::EnabledChanged() {
    ui::TCustomControl::EnabledChanged();
    Invalidate();
}

void TArrowBar::Dispatch(ui::TMessage &message) {
    switch (message.Msg) {
    case ui::WM_ERASEBKGND:
        message.Result = -1; // the bar paints every pixel
        return;
    case ui::WM_TIMER:
        if (message.WParam == TimerId) {
            TimerTick();
        }
        return;
    case ui::CM_MOUSELEAVE:
        FMouseX = FMouseY = -1;
        StopHoverWatch();
        ui::TCustomControl::Dispatch(message);
        return;
    default:
        ui::TCustomControl::Dispatch(message);
    }
}

// ---- TCustomGaugeBar ----------------------------------------------------------------------

TCustomGaugeBar::TCustomGaugeBar(ui::TComponent *owner) : TArrowBar(owner) {}

void TCustomGaugeBar::SetHandleSize(int32_t value) {
    value = std::max(value, 0);
    if (value != FHandleSize) {
        FHandleSize = value;
        Invalidate();
    }
}

void TCustomGaugeBar::SetMax(int32_t value) {
    if (value <= FMin) {
        value = FMin + 1;
    }
    if (value != FMax) {
        FMax = value;
        ClampPosition();
        Invalidate();
    }
}

void TCustomGaugeBar::SetMin(int32_t value) {
    if (value >= FMax) {
        value = FMax - 1;
    }
    if (value != FMin) {
        FMin = value;
        ClampPosition();
        Invalidate();
    }
}

void TCustomGaugeBar::ClampPosition() {
    if (FPosition < FMin) {
        SetPosition(FMin);
    } else if (FPosition > FMax) {
        SetPosition(FMax);
    }
}

void TCustomGaugeBar::SetPosition(int32_t value) {
    value = std::clamp(value, FMin, FMax);
    if (value == FPosition) {
        return;
    }
    FPosition = value;
    Invalidate();
    AccessibleStateChanged();
    NotifyChange();
}

ui::TAccessibleInfo TCustomGaugeBar::GetAccessibleInfo() const {
    ui::TAccessibleInfo info;
    info.Role = ui::arSlider;
    info.HasValue = true;
    info.Value = FPosition;
    info.MinValue = FMin;
    info.MaxValue = FMax;
    return info;
}

int32_t TCustomGaugeBar::EffectiveHandleSize() const {
    int32_t h = FHandleSize != 0 ? FHandleSize : Thickness();
    const TRect t = TrackBounds();
    const int32_t l = GetKind() == sbHorizontal ? t.Width() : t.Height();
    if (h > l - 1) {
        h = l - 1;
    }
    return std::max(h, 0);
}

TRect TCustomGaugeBar::GetHandleBounds() const {
    TRect r = TrackBounds();
    const int32_t h = EffectiveHandleSize();
    const bool horz = GetKind() == sbHorizontal;
    const int32_t l = horz ? r.Width() : r.Height();
    const int32_t start = (horz ? r.Left : r.Top) +
                          int32_t(rtl::Round(double(l - h) * (FPosition - FMin) / (FMax - FMin)));
    if (horz) {
        r.Left = start;
        r.Right = start + h;
    } else {
        r.Top = start;
        r.Bottom = start + h;
    }
    return r;
}

void TCustomGaugeBar::StepBy(int32_t delta, bool stopWhenUnchanged) {
    const int32_t before = FPosition;
    SetPosition(FPosition + delta);
    if (stopWhenUnchanged && FPosition == before) {
        StopRepeat();
    }
}

void TCustomGaugeBar::TimerTick() {
    TArrowBar::TimerTick();
    GenChange = true;
    const TRect c = GetClientRect();
    const TRBZone under = ZoneAt(std::clamp(FMouseX, c.Left, std::max(c.Right - 1, c.Left)),
                                 std::clamp(FMouseY, c.Top, std::max(c.Bottom - 1, c.Top)));
    switch (DragZone) {
    case zBtnPrev:
        StepBy(-FSmallChange, true);
        break;
    case zTrackPrev:
        if (under == zBtnPrev || under == zTrackPrev) {
            SetPosition(FPosition - FLargeChange);
        }
        break;
    case zTrackNext:
        if (under == zTrackNext || under == zBtnNext) {
            SetPosition(FPosition + FLargeChange);
        }
        break;
    case zBtnNext:
        StepBy(FSmallChange, true);
        break;
    default:
        break;
    }
    GenChange = false;
}

void TCustomGaugeBar::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                int32_t y) {
    TArrowBar::MouseDown(button, shift, x, y);
    if (DragZone == zHandle) {
        StopRepeat();
        PosBeforeDrag = float(FPosition);
    }
}

void TCustomGaugeBar::MouseMove(ui::TShiftState shift, int32_t x, int32_t y) {
    TArrowBar::MouseMove(shift, x, y);
    if (DragZone != zHandle) {
        return;
    }
    const bool horz = GetKind() == sbHorizontal;
    const TRect t = TrackBounds();
    const int32_t span = (horz ? t.Width() : t.Height()) - EffectiveHandleSize();
    float d = float(horz ? FMouseX - StoredX : FMouseY - StoredY);
    d = span != 0 ? float(FMax - FMin) * d / float(span) : 0.0f;
    GenChange = true;
    SetPosition(int32_t(rtl::Round(double(PosBeforeDrag + d))));
    GenChange = false;
}

bool TCustomGaugeBar::DoMouseWheel(ui::TShiftState shift, int32_t wheelDelta,
                                   gfx::TPoint mousePos) {
    if (!TArrowBar::DoMouseWheel(shift, wheelDelta, mousePos)) {
        SetPosition(FPosition + FSmallChange * wheelDelta / 120);
    }
    return true;
}

} // namespace raster
