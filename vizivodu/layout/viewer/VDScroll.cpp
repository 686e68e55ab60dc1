// The scroller: scroll bars kept as state, positions, scroll requests, keys, the wheel and the
// inserted controls that move with the view.
#include "vizivodu/layout/viewer/VDScroll.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDItem.h"
#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include "platform/rtl/ScopeExit.h"

#include <algorithm>
#include <cmath>

namespace vizivodu {

void TVDScrollBarInfo::Set(int32_t min, int32_t max, int32_t page, int32_t pos) {
    Min = min;
    Max = max;
    Page = std::max(page, 0);
    Pos = std::max(std::min(pos, MaxPos()), Min);
    TrackPos = Pos;
}

TCustomVDControl::TCustomVDControl(ui::TComponent *owner) : ui::TCustomControl(owner) {}

namespace {

int32_t DefaultWheelScrollLines() {
    return 3;
}

} // namespace

int32_t (*TVDScroller::GetWheelScrollLines)() = DefaultWheelScrollLines;

TVDScroller::TVDScroller(ui::TComponent *owner)
    : TCustomVDControl(owner), FDoInPaletteMode(vdpaCreateCopies), FBiDiMode(vdbdUnspecified) {
    SetTabStop(true);
    SetInteractiveGestures({ui::igPan, ui::igPressAndTap});
    FVBar.Visible = true;
    FHBar.Visible = true;
}

TVDScroller::~TVDScroller() = default;

// ---- Window ----

void TVDScroller::SetParent(ui::TWinControl *parent) {
    const bool had = GetParent() != nullptr;
    if (had && !parent && FWindowCreated) {
        DestroyWnd();
    }
    TCustomVDControl::SetParent(parent);
    if (!had && parent && !FWindowCreated) {
        CreateWnd();
    }
}

void TVDScroller::RecreateWnd() {
    if (FWindowCreated) {
        DestroyWnd();
        CreateWnd();
    }
}

void TVDScroller::CreateWnd() {
    FWindowCreated = true;
    FVDisableNoScroll = false;
    FSmallStep = GetDefSmallStep();
    ResetScrollPos();
    OpenTheme();
    InitScrollBars();
}

void TVDScroller::DestroyWnd() {
    CloseTheme();
    FWindowCreated = false;
}

void TVDScroller::ResetScrollPos() {
    VPos = 0;
    HPos = 0;
}

void TVDScroller::InitScrollBars() {
    UpdateScrollBars(GetClientWidth(), GetClientHeight() / FSmallStep, true, true);
}

// ---- Scroll bars ----

void TVDScroller::UpdateScrollBars(int32_t xs, int32_t ys, bool updateH, bool useDNS) {
    if (FUpdatingScrollBars || !FWindowCreated) {
        return;
    }
    const rtl::TValueScope updating(FUpdatingScrollBars, true);
    const auto hide = [](TVDScrollBarInfo &bar) {
        if (!(bar.Min == 0 && bar.Max == 1 && bar.Page == 0 && bar.Pos == 0)) {
            bar.Set(0, 1, 2, 0);
        }
    };
    if (updateH) {
        XSize = xs;
        FHScrollPage = GetClientWidth();
        FHScrollMax = XSize - 1;
        FHBar.Visible = FHScrollVisible;
        if (FHScrollVisible) {
            HPos = std::max(std::min(HPos, FHScrollMax - FHScrollPage + 1), 0);
            FHBar.Set(0, FHScrollMax, FHScrollPage, HPos);
        } else {
            hide(FHBar);
        }
        ShowBar(false);
    }
    YSize = ys;
    FVScrollPage = GetClientHeight() / FSmallStep;
    FVScrollMax = YSize - 1;
    VPos = std::max(std::min(VPos, YSize - FVScrollPage), 0);
    FVBar.Visible = FVScrollVisible;
    if (FVScrollVisible) {
        FVBar.DisableNoScroll = useDNS && FVDisableNoScroll;
        FVBar.Set(0, FVScrollMax, FVScrollPage, VPos);
    } else {
        FVBar.DisableNoScroll = false;
        hide(FVBar);
    }
    ShowBar(true);
    ScrollBarsUpdated();
}

void TVDScroller::ShowBar(bool vertical) {
    const TVDScrollBarInfo &bar = vertical ? FVBar : FHBar;
    ui::TWindowScrollBar shown;
    shown.Min = bar.Min;
    shown.Max = bar.Max;
    shown.Page = bar.Page;
    shown.Pos = bar.Pos;
    shown.Shown = bar.Shown();
    // A bar shown although nothing can scroll is shown disabled.
    shown.Enabled = bar.Page <= bar.Max - bar.Min;
    SetWindowScrollBar(vertical ? ui::sbVertical : ui::sbHorizontal, shown);
}

void TVDScroller::ScrollBarRequest(ui::TScrollBarKind kind, uint16_t code, int32_t pos) {
    TVDScrollBarInfo &bar = kind == ui::sbVertical ? FVBar : FHBar;
    bar.TrackPos = std::max(std::min(pos, bar.MaxPos()), bar.Min);
    TCustomVDControl::ScrollBarRequest(kind, code, pos);
}

void TVDScroller::ScrollBarsUpdated() {
    if (OnResize) {
        OnResize(this);
    }
}

int32_t TVDScroller::GetVScrollMax() const {
    if (!FVScrollVisible) {
        return FVScrollMax - FVScrollPage + 1;
    }
    return FVBar.Max - FVBar.Page + 1;
}

int32_t TVDScroller::GetHScrollMax() const {
    if (!FHScrollVisible) {
        return FHScrollMax - FHScrollPage + 1;
    }
    return FHBar.Max - FHBar.Page + 1;
}

void TVDScroller::SetVScrollVisible(bool value) {
    FVScrollVisible = value;
    if (!FWindowCreated) {
        return;
    }
    if (GetComponentState().Contains(rtl::csLoading)) {
        UpdateScrollBars(XSize, YSize, true, true);
        return;
    }
    UpdateScrollBars(XSize, YSize, true, false);
    if (value && FVDisableNoScroll) {
        UpdateScrollBars(XSize, YSize, true, true);
    }
}

void TVDScroller::SetHScrollVisible(bool value) {
    FHScrollVisible = value;
    UpdateScrollBars(XSize, YSize, true, true);
}

void TVDScroller::SetVSmallStep(int32_t value) {
    FSmallStep = value;
}

void TVDScroller::SetBorderStyle(ui::TFormBorderStyle value) {
    if (value != FBorderStyle) {
        FBorderStyle = value;
        RecreateWnd();
    }
}

void TVDScroller::SetBiDiMode(TVDBiDiMode value) {
    if (value != FBiDiMode) {
        FBiDiMode = value;
        RecreateWnd();
    }
}

void TVDScroller::SetUseXPThemes(bool value) {
    if (value == FUseXPThemes) {
        return;
    }
    FUseXPThemes = value;
    if (FWindowCreated) {
        CloseTheme();
        OpenTheme();
        Invalidate();
    }
}

void TVDScroller::SetDoInPaletteMode(TVDPaletteAction value) {
    if (value != FDoInPaletteMode) {
        FDoInPaletteMode = value;
        UpdatePaletteInfo();
    }
}

// ---- Positions ----

void TVDScroller::ScrollChildren(int32_t dx, int32_t dy) {
    if (dx == 0 && dy == 0) {
        return;
    }
    DisableAlign();
    const rtl::TScopeExit enable([this]() noexcept { EnableAlign(); });
    for (int32_t i = 0; i < GetControlCount(); ++i) {
        ui::TControl &c = *GetControl(i);
        if (dy != 0) {
            c.SetTag(c.GetTag() + dy);
            c.SetTop(GetClampedControlTop(c));
        }
        if (dx != 0) {
            c.SetBounds(c.GetLeft() + dx, c.GetTop(), c.GetWidth(), c.GetHeight());
        }
    }
}

void TVDScroller::SetVPos(int32_t p, bool redraw) {
    if (!FWindowCreated) {
        return;
    }
    if (FNoVScroll) {
        p = 0;
    }
    const int32_t old = VPos;
    VPos = p;
    if (FVScrollVisible) {
        FVBar.Set(FVBar.Min, FVBar.Max, FVBar.Page, p);
        VPos = FVBar.Pos;
        ShowBar(true);
    } else {
        VPos = std::max(std::min(p, FVScrollMax - FVScrollPage + 1), 0);
    }
    if (VPos == old) {
        return;
    }
    BeforeScroll();
    const int32_t dy = (old - VPos) * FSmallStep;
    ScrollChildren(0, dy);
    if (redraw) {
        Invalidate();
        if (!FFullRedraw) {
            Update();
        }
    }
    DoVScrolled();
}

void TVDScroller::SetHPos(int32_t p) {
    if (!FWindowCreated) {
        return;
    }
    if (FNoHScroll) {
        p = 0;
    }
    const int32_t old = HPos;
    HPos = p;
    if (FHScrollVisible) {
        FHBar.Set(FHBar.Min, FHBar.Max, FHBar.Page, p);
        HPos = FHBar.Pos;
        ShowBar(false);
    } else {
        HPos = std::max(std::min(p, FHScrollMax - FHScrollPage + 1), 0);
    }
    if (HPos == old) {
        return;
    }
    BeforeScroll();
    ScrollChildren(old - HPos, 0);
    Invalidate();
    if (!FFullRedraw) {
        Update();
    }
    DoHScrolled();
}

void TVDScroller::ScrollTo(int32_t y) {
    SetVPos(y / FSmallStep, true);
}

void TVDScroller::ScrollToNoRedraw(int32_t y) {
    SetVPos(y / FSmallStep, false);
}

void TVDScroller::DoVScrolled() {
    if (OnVScrolled) {
        OnVScrolled(this);
    }
}

void TVDScroller::DoHScrolled() {
    if (OnHScrolled) {
        OnHScrolled(this);
    }
}

// ---- Scroll requests ----

void TVDScroller::TrackThumb(bool vertical, int32_t pos, bool released) {
    ScrollBarRequest(vertical ? ui::sbVertical : ui::sbHorizontal,
                     released ? ui::SB_THUMBPOSITION : ui::SB_THUMBTRACK, pos);
}

void TVDScroller::WMHScroll(ui::TMessage &message) {
    const int32_t step = FSmallStep * FScrollFactor;
    switch (uint16_t(message.WParam & 0xFFFF)) {
    case ui::SB_LINELEFT:
        SetHPos(HPos - step);
        break;
    case ui::SB_LINERIGHT:
        SetHPos(HPos + step);
        break;
    case ui::SB_PAGELEFT:
        SetHPos(HPos - GetClientWidth());
        break;
    case ui::SB_PAGERIGHT:
        SetHPos(HPos + GetClientWidth());
        break;
    case ui::SB_THUMBTRACK:
        if (FTracking) {
            SetHPos(FHBar.TrackPos);
        }
        break;
    case ui::SB_THUMBPOSITION:
        SetHPos(FHBar.TrackPos);
        break;
    case ui::SB_LEFT:
        SetHPos(0);
        break;
    case ui::SB_RIGHT:
        SetHPos(XSize);
        break;
    default:
        break;
    }
}

void TVDScroller::WMVScroll(ui::TMessage &message) {
    const int32_t page = GetClientHeight() / FSmallStep;
    switch (uint16_t(message.WParam & 0xFFFF)) {
    case ui::SB_LINEUP:
        SetVPos(VPos - FScrollFactor, true);
        break;
    case ui::SB_LINEDOWN:
        SetVPos(VPos + FScrollFactor, true);
        break;
    case ui::SB_PAGEUP:
        SetVPos(VPos - page, true);
        break;
    case ui::SB_PAGEDOWN:
        SetVPos(VPos + page, true);
        break;
    case ui::SB_THUMBTRACK:
        if (FTracking) {
            SetVPos(FVBar.TrackPos, true);
        }
        break;
    case ui::SB_THUMBPOSITION:
        SetVPos(FVBar.TrackPos, true);
        break;
    case ui::SB_TOP:
        SetVPos(0, true);
        break;
    case ui::SB_BOTTOM:
        SetVPos(YSize, true);
        break;
    default:
        break;
    }
}

void TVDScroller::WndProc(ui::TMessage &message) {
    switch (message.Msg) {
    case ui::WM_HSCROLL:
        WMHScroll(message);
        message.Result = 0;
        return;
    case ui::WM_VSCROLL:
        WMVScroll(message);
        message.Result = 0;
        return;
    case ui::WM_GETDLGCODE:
        message.Result = ui::DLGC_WANTARROWS;
        return;
    case ui::WM_SETFOCUS:
        WMSetFocus(message);
        return;
    default:
        TCustomVDControl::WndProc(message);
    }
}

// Silent focusing skips the enter handling; the focus goes on to the in-place editor.
void TVDScroller::WMSetFocus(ui::TMessage &message) {
    if (!FSilentFocusing) {
        TCustomVDControl::WndProc(message);
    }
    for (const ui::TControl *c = this; c; c = c->GetParent()) {
        if (c->IsDestroying()) {
            return;
        }
    }
    if (ui::TWinControl *editor = InplaceEditor(); editor && editor->CanFocus()) {
        editor->SetFocus();
    }
}

void TVDScroller::KeyDown(uint16_t &key, ui::TShiftState shift) {
    TCustomVDControl::KeyDown(key, shift);
    if (!KeyboardScroll) {
        return;
    }
    const auto send = [this](uint32_t msg, uint16_t code) { Perform(msg, code, 0); };
    switch (key) {
    case ui::VK_PRIOR:
        send(ui::WM_VSCROLL, ui::SB_PAGEUP);
        break;
    case ui::VK_NEXT:
        send(ui::WM_VSCROLL, ui::SB_PAGEDOWN);
        break;
    case ui::VK_END:
        send(ui::WM_VSCROLL, ui::SB_BOTTOM);
        break;
    case ui::VK_HOME:
        send(ui::WM_VSCROLL, ui::SB_TOP);
        break;
    case ui::VK_LEFT:
        send(ui::WM_HSCROLL, ui::SB_LINELEFT);
        break;
    case ui::VK_UP:
        send(ui::WM_VSCROLL, ui::SB_LINEUP);
        break;
    case ui::VK_RIGHT:
        send(ui::WM_HSCROLL, ui::SB_LINERIGHT);
        break;
    case ui::VK_DOWN:
        send(ui::WM_VSCROLL, ui::SB_LINEDOWN);
        break;
    default:
        break;
    }
}

// ---- Wheel ----

bool TVDScroller::DoMouseWheel(ui::TShiftState shift, int32_t wheelDelta, gfx::TPoint mousePos) {
    if (TCustomVDControl::DoMouseWheel(shift, wheelDelta, mousePos)) {
        return true;
    }
    // One call per whole notch, as the class library does; parts of notches accumulate.
    FWheelAccumulator += wheelDelta;
    bool result = false;
    while (std::abs(FWheelAccumulator) >= ui::WHEEL_DELTA) {
        const bool down = FWheelAccumulator < 0;
        FWheelAccumulator += down ? ui::WHEEL_DELTA : -ui::WHEEL_DELTA;
        result =
            (down ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos)) || result;
    }
    return result;
}

bool TVDScroller::DoMouseWheelDown(ui::TShiftState, gfx::TPoint) {
    return WheelScroll(true);
}

bool TVDScroller::DoMouseWheelUp(ui::TShiftState, gfx::TPoint) {
    return WheelScroll(false);
}

bool TVDScroller::WheelScroll(bool down) {
    if (FWheelStep == 0) {
        return false;
    }
    const int32_t lines = GetWheelScrollLines ? GetWheelScrollLines() : 3;
    if (lines == 0) {
        return false;
    }
    int32_t units;
    if (lines < 0) {
        units = GetClientHeight() / FSmallStep;
    } else {
        units = int32_t(std::nearbyint(double(FWheelStep) * lines / 3.0));
    }
    SetVPos(down ? VPos + units : VPos - units, true);
    return true;
}

// ---- Touch ----

void TVDScroller::DoGesture(const ui::TGestureEventInfo &info, bool &handled) {
    if (info.GestureID != ui::igPan) {
        return;
    }
    handled = true;
    if (info.Flags.Contains(ui::gfBegin)) {
        FPanPoint = info.Location;
        FPanVPos = VPos;
        FPanHPos = HPos;
        return;
    }
    SetHPos(FPanHPos - (info.Location.X - FPanPoint.X));
    SetVPos(FPanVPos - (info.Location.Y - FPanPoint.Y) / FSmallStep, true);
}

// ---- Chosen sub-document ----

void TVDScroller::AssignChosenVDData(TCustomVDData *vdData, TCustomVDItemInfo *item) {
    if (vdData != FChosenVDData) {
        DestroyInplace();
        UnassignChosenVDData(FChosenVDData);
        FChosenVDData = vdData;
        FChosenItem = item;
    }
    if (ui::TWinControl *editor = InplaceEditor()) {
        editor->SetTag(editor->GetTop());
    }
}

void TVDScroller::SilentReplaceChosenVDData(TCustomVDData *vdData) {
    FChosenVDData = vdData;
    if (!vdData) {
        FChosenItem = nullptr;
    }
}

void TVDScroller::UnassignChosenVDData(TCustomVDData *vdData) {
    if (!FChosenVDData || !vdData ||
        (vdData != FChosenVDData && vdData != FChosenVDData->GetVDData())) {
        return;
    }
    if (!IsDestroying()) {
        if (auto *f = dynamic_cast<TCustomVDFormattedData *>(FChosenVDData->GetVDData())) {
            f->Deselect(nullptr, false);
        }
    }
    FChosenVDData = nullptr;
    if (FChosenItem) {
        FChosenItem->CleanUpChosen();
    }
    FChosenItem = nullptr;
}

TCustomVDData *TVDScroller::GetChosenVDData() const {
    return FChosenVDData ? FChosenVDData->GetVDData() : nullptr;
}

ui::TWinControl *TVDScroller::InplaceEditor() const {
    auto *f = dynamic_cast<TCustomVDFormattedData *>(FChosenVDData);
    return f ? f->GetEditor() : nullptr;
}

void TVDScroller::DestroyInplace() {
    if (ui::TWinControl *editor = InplaceEditor()) {
        editor->Free();
    }
}

// ---- Focus ----

bool TVDScroller::FocusedEx() const {
    const ui::TWinControl *c = this;
    while (c) {
        if (c->Focused()) {
            return true;
        }
        const auto *scroller = dynamic_cast<const TVDScroller *>(c);
        c = scroller ? scroller->InplaceEditor() : nullptr;
    }
    return false;
}

bool TVDScroller::EnabledEx() const {
    for (const ui::TControl *c = this; c; c = c->GetParent()) {
        if (!c->GetEnabled()) {
            return false;
        }
    }
    return true;
}

void TVDScroller::SetFocusSilent() {
    const rtl::TValueScope silent(FSilentFocusing, true);
    if (CanFocus() && GetParentForm()) {
        SetFocus();
    }
}

int32_t TVDScroller::GetClampedControlTop(const ui::TControl &control) {
    return int32_t(std::clamp<intptr_t>(control.GetTag(), -10000, 10000));
}

void TVDScroller::SetControlTopFromTag(ui::TControl &control) {
    control.SetTop(GetClampedControlTop(control));
}

void TVDScroller::SetEnabled(bool enabled) {
    TCustomVDControl::SetEnabled(enabled);
    Invalidate();
}

} // namespace vizivodu
