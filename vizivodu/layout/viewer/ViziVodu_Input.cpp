// The viewer's input side: mouse and keyboard handlers passing input to the root document,
// triple-click detection, the posted events, the automatic-scroll and animation timers, the copy
// shortcut, the edit-control messages of linear positions, focus, the context menu and touch.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/layout/viewer/VDLinear.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include "platform/ui/Application.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Mouse.h"

#include <algorithm>
#include <cstring>

namespace vizivodu {

namespace {

constexpr uintptr_t ScrollTimerId = 1;

// The automatic-scroll step for a mouse coordinate against the client extent.
int32_t ScrollDelta(int32_t v, int32_t extent) {
    if (v < -20) {
        return -10;
    }
    if (v < 0) {
        return -1;
    }
    if (v > extent + 20) {
        return 10;
    }
    return v > extent ? 1 : 0;
}

TCustomViziVodu *AbsRootControl(TCustomViziVodu &viewer) {
    auto *root = dynamic_cast<TViziVoduVDData *>(viewer.GetVDData().GetAbsoluteRootData());
    auto *control = root ? dynamic_cast<TCustomViziVodu *>(root->ViziVodu()) : nullptr;
    return control ? control : &viewer;
}

} // namespace

// ---- Mouse ----

void TCustomViziVodu::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                int32_t y) {
    TViziVoduVDData &data = GetVDData();
    if (!data.GetInplaceEditor()) {
        data.State.Include(vdstDoNotTab);
    }
    data.MouseDown(button, shift, x, y);
    TVDScroller::MouseDown(button, shift, x, y);
    if (button == ui::mbLeft) {
        ActivateScrollTimer(false);
    }
}

void TCustomViziVodu::MouseMove(ui::TShiftState shift, int32_t x, int32_t y) {
    VScrollDelta = ScrollDelta(y, GetClientHeight());
    HScrollDelta = ScrollDelta(x, GetClientWidth());
    TVDScroller::MouseMove(shift, x, y);
    GetVDData().MouseMove(shift, x, y);
}

void TCustomViziVodu::MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                              int32_t y) {
    TVDScroller::MouseUp(button, shift, x, y);
    if (button == ui::mbLeft) {
        DeactivateScrollTimer();
    }
    GetVDData().MouseUp(button, shift, x, y);
}

// The word at the point of the double click, not where the cursor has moved since.
void TCustomViziVodu::DblClick() {
    TVDScroller::DblClick();
    TViziVoduVDData &data = GetVDData();
    data.DblClickAt(gfx::TPoint{data.MouseX, data.MouseY});
}

void TCustomViziVodu::TripleClick() {
    GetVDData().TripleClick();
}

// ---- Keys ----

bool TCustomViziVodu::IsCopyShortcut(ui::TShiftState shift, uint16_t key) {
    return shift.Contains(ui::ssCtrl) && !shift.Contains(ui::ssAlt) &&
           (key == 'C' || key == ui::VK_INSERT);
}

bool TCustomViziVodu::IsCutShortcut(ui::TShiftState shift, uint16_t key) {
    return (shift.Contains(ui::ssCtrl) && !shift.Contains(ui::ssAlt) && key == 'X') ||
           (shift.Contains(ui::ssShift) && key == ui::VK_DELETE);
}

bool TCustomViziVodu::IsPasteShortcut(ui::TShiftState shift, uint16_t key) {
    return (shift.Contains(ui::ssCtrl) && !shift.Contains(ui::ssAlt) && key == 'V') ||
           (shift.Contains(ui::ssShift) && key == ui::VK_INSERT);
}

void TCustomViziVodu::KeyDown(uint16_t &key, ui::TShiftState shift) {
    TVDScroller::KeyDown(key, shift);
    if (IsCopyShortcut(shift, key)) {
        Perform(ui::WM_COPY, 0, 0);
    }
    TViziVoduVDData &data = GetVDData();
    const TVDTabNavigationType tabs = data.TabNavigation;
    if (key == ui::VK_TAB && tabs != vdtnNone && !shift.Contains(ui::ssAlt)) {
        const bool ctrl = shift.Contains(ui::ssCtrl);
        if ((ctrl && tabs == vdtnCtrlTab) || (!ctrl && tabs == vdtnTab)) {
            data.State.Exclude(vdstDoNotTab);
            data.DoTabNavigation(shift.Contains(ui::ssShift), this);
        }
    } else if (key == ui::VK_RETURN) {
        data.ExecuteFocused();
    }
}

bool TCustomViziVodu::CopyDef() {
    return GetVDData().CopyDef(EffectiveColor(), &GetBackground());
}

// ---- Timers ----

void TCustomViziVodu::ActivateScrollTimer(bool slow) {
    if (ScrollTimerActive) {
        return;
    }
    SetTimer(ScrollTimerId, slow ? 300 : 100);
    ScrollTimerActive = true;
}

void TCustomViziVodu::DeactivateScrollTimer() {
    if (!ScrollTimerActive) {
        return;
    }
    if (WindowCreated()) {
        KillTimer(ScrollTimerId);
    }
    ScrollTimerActive = false;
}

void TCustomViziVodu::GenerateMouseMove() {
    const gfx::TPoint p = ScreenToClient(ui::Screen->GetCursorPos());
    if (p.X < 0 || p.Y < 0 || p.X >= GetClientWidth() || p.Y >= GetClientHeight()) {
        return;
    }
    MouseMove(ui::GetCurrentShiftState(), p.X, p.Y);
}

void TCustomViziVodu::BeginOleDrag() {
    ui::PostMessage(AbsRootControl(*this), WM_VDDRAG);
}

// ---- Posted events ----

void TCustomViziVodu::PostEvent(std::unique_ptr<TVDMessageData> data) {
    TCustomViziVodu *target = AbsRootControl(*this);
    TVDMessageData *raw = data.get();
    target->FPostedEvents.push_back(std::move(data));
    ui::PostMessage(target, WM_VDEVENT, 0, reinterpret_cast<ui::LPARAM>(raw));
}

void TCustomViziVodu::HandlePostedEvent(ui::LPARAM lParam) {
    // Only objects this control queued are taken: a stray LParam is ignored.
    const auto it = std::find_if(FPostedEvents.begin(), FPostedEvents.end(), [&](const auto &e) {
        return reinterpret_cast<ui::LPARAM>(e.get()) == lParam;
    });
    if (it == FPostedEvents.end()) {
        return;
    }
    const std::unique_ptr<TVDMessageData> data = std::move(*it);
    FPostedEvents.erase(it);
    TViziVoduVDData &vd = GetVDData();
    switch (data->Event) {
    case vdetVDDblClick: {
        const auto &d = static_cast<const TVDDblClickMessageData &>(*data);
        vd.DoVDDblClick(d.ClickedWord, d.StyleNo);
        break;
    }
    case vdetJump:
        if (OnJump) {
            OnJump(this, static_cast<const TVDJumpMessageData &>(*data).id);
        }
        break;
    case vdetVDMouseUp:
    case vdetVDMouseDown: {
        const auto &d = static_cast<const TVDMouseUpDownMessageData &>(*data);
        if (data->Event == vdetVDMouseUp) {
            vd.DoVDMouseUp(d.Button, d.Shift, d.ItemNo, d.X, d.Y);
        } else {
            vd.DoVDMouseDown(d.Button, d.Shift, d.ItemNo, d.X, d.Y);
        }
        break;
    }
    case vdetClick:
        Click();
        break;
    case vdetDblClick:
        DblClick();
        break;
    case vdetTripleClick:
        TripleClick();
        break;
    case vdetMouseMove: {
        const auto &d = static_cast<const TVDMouseMoveMessageData &>(*data);
        MouseMove(d.Shift, d.X, d.Y);
        break;
    }
    default:
        // Dropping comes with the editor.
        break;
    }
}

// ---- Messages ----

bool TCustomViziVodu::InputMessage(ui::TMessage &message) {
    switch (message.Msg) {
    case ui::WM_LBUTTONDOWN:
        if (FDblClickTime != 0 && ui::GetMessageTime() - FDblClickTime < ui::GetDoubleClickTime()) {
            FDblClickTime = 0;
            PostEvent(std::make_unique<TVDTripleClickMessageData>());
            return true;
        }
        FDblClickTime = 0;
        return false;
    case ui::WM_LBUTTONDBLCLK:
        FDblClickTime = std::max<uint32_t>(ui::GetMessageTime(), 1);
        GetVDData().MouseX = ui::GetXLParam(message.LParam);
        GetVDData().MouseY = ui::GetYLParam(message.LParam);
        return false;
    case ui::WM_DESTROY:
        DeactivateScrollTimer();
        return false;
    case ui::WM_TIMER:
        return TimerMessage(message.WParam);
    case ui::WM_COPY:
        if (ui::TWinControl *editor = GetVDData().GetInplaceEditor()) {
            ui::PostMessage(editor, ui::WM_COPY);
        } else {
            CopyDef();
        }
        return true;
    case WM_VDEVENT:
        HandlePostedEvent(message.LParam);
        return true;
    case WM_VDDRAG:
        GetVDData().DoDrag();
        return true;
    case ui::CM_MOUSELEAVE:
        if (!GetVDData().GetAbsoluteRootData()->GetFlags().Contains(vdflIgnoreMouseLeave)) {
            GetVDData().MouseLeave();
        }
        return false;
    case EM_GETSEL:
    case EM_SETSEL:
    case EM_GETTEXTRANGE:
        EditMessage(message);
        return true;
    case ui::WM_GETDLGCODE:
    case ui::WM_SETFOCUS:
    case ui::WM_KILLFOCUS:
    case ui::WM_CONTEXTMENU:
        FocusMessage(message);
        return true;
    default:
        return false;
    }
}

// ---- Focus and the context menu ----

void TCustomViziVodu::FocusMessage(ui::TMessage &message) {
    TViziVoduVDData &data = GetVDData();
    switch (message.Msg) {
    case ui::WM_GETDLGCODE:
        message.Result = data.TabNavigation == vdtnNone ? ui::DLGC_WANTARROWS
                         : data.TopLevelFocusedVDData
                             ? ui::DLGC_WANTARROWS | ui::DLGC_WANTTAB | ui::DLGC_WANTALLKEYS
                             : ui::DLGC_WANTARROWS | ui::DLGC_WANTTAB;
        return;
    case ui::WM_SETFOCUS: {
        // The control that had the focus is the form's active one until the form hears of the
        // change; none when the focus came from another window.
        ui::TForm *form = GetParentForm();
        ui::TWinControl *previous = form ? form->GetActiveControl() : nullptr;
        if (previous == this) {
            previous = nullptr;
        }
        TVDScroller::WndProc(message);
        if (IsDestroying()) {
            return;
        }
        if (data.TabNavigation != vdtnNone) {
            if (!previous) {
                data.State.Include(vdstDoNotTab);
            }
            data.DoTabNavigation(ui::GetCurrentShiftState().Contains(ui::ssShift), previous);
        }
        break;
    }
    case ui::WM_KILLFOCUS:
        TVDScroller::WndProc(message);
        break;
    default:
        ContextMenuMessage(message);
        return;
    }
    if (FStyle) {
        Invalidate();
    }
}

// A request from the keyboard belongs to the outermost viewer; a click one to a child control
// lying under it. Menus of the document area itself come with the mouse release.
void TCustomViziVodu::ContextMenuMessage(ui::TMessage &message) {
    const int32_t x = ui::GetXLParam(message.LParam), y = ui::GetYLParam(message.LParam);
    if (x == -1 && y == -1) {
        TCustomViziVodu *root = AbsRootControl(*this);
        if (root == this) {
            TVDScroller::WndProc(message);
        } else {
            message.Result = root->Perform(ui::WM_CONTEXTMENU, message.WParam, message.LParam);
        }
        return;
    }
    const gfx::TPoint p = ScreenToClient(gfx::TPoint{x, y});
    for (int32_t i = 0; i < GetControlCount(); ++i) {
        ui::TControl *child = GetControl(i);
        if (child->GetEnabled() && !dynamic_cast<ui::TWinControl *>(child) &&
            child->GetBoundsRect().Contains(p)) {
            TVDScroller::WndProc(message);
            return;
        }
    }
}

// ---- Touch ----

// A viewer inside another (a cell's editor) lets the outer one handle the gesture, at the
// point in its own client area. Pans over selection handles come with the editor: the root
// scrolls.
void TCustomViziVodu::DoGesture(const ui::TGestureEventInfo &info, bool &handled) {
    if (!GetVDData().GetFlags().Contains(vdflRoot)) {
        if (auto *outer = dynamic_cast<TCustomViziVodu *>(GetParent())) {
            ui::TGestureEventInfo shifted = info;
            shifted.Location.X += GetLeft();
            shifted.Location.Y += GetTop();
            outer->DoGesture(shifted, handled);
            return;
        }
    }
    TVDScroller::DoGesture(info, handled);
}

bool TCustomViziVodu::TimerMessage(uintptr_t id) {
    if (id == AnimationTimerId) {
        AnimationTimer();
        return true;
    }
    if (id != ScrollTimerId) {
        return false;
    }
    if (VScrollDelta != 0) {
        SetVScrollPos(GetVScrollPos() + VScrollDelta);
    }
    if (HScrollDelta != 0) {
        SetHPos(HPos + HScrollDelta);
    }
    if (VScrollDelta != 0 || HScrollDelta != 0) {
        GetVDData().OnTimerScroll();
        GenerateMouseMove();
    }
    return true;
}

void TCustomViziVodu::EditMessage(ui::TMessage &message) {
    switch (message.Msg) {
    case EM_GETSEL: {
        int32_t start = 0, length = 0;
        GetLinearSelection(*this, start, length);
        const int32_t lo = std::min(start, start + length);
        const int32_t hi = std::max(start, start + length);
        if (message.WParam != 0) {
            *reinterpret_cast<int32_t *>(message.WParam) = lo;
        }
        if (message.LParam != 0) {
            *reinterpret_cast<int32_t *>(message.LParam) = hi;
        }
        message.Result = static_cast<ui::LRESULT>(hi) * 65536 + (lo & 65535);
        return;
    }
    case EM_SETSEL: {
        const auto start = static_cast<int32_t>(static_cast<intptr_t>(message.WParam));
        const auto end = static_cast<int32_t>(message.LParam);
        if (start == -1) {
            GetVDData().Deselect(nullptr, true);
        } else if (start == 0 && end == -1) {
            GetVDData().SelectAll();
        } else {
            SetLinearSelection(*this, start, end - start);
        }
        Invalidate();
        return;
    }
    default: {
        auto *range = reinterpret_cast<TVDTextRange *>(message.LParam);
        if (!range || !range->lpstrText) {
            message.Result = 0;
            return;
        }
        // A reversed range gives no text: the buffer was sized for none, and "to the end"
        // would overrun it.
        rtl::UnicodeString text;
        if (range->cpMax < 0 || range->cpMax > range->cpMin) {
            GetLinearRangeText(*this, range->cpMin,
                               range->cpMax < 0 ? -1 : range->cpMax - range->cpMin, text);
        }
        std::memcpy(range->lpstrText, text.data(), text.size() * sizeof(char16_t));
        range->lpstrText[text.size()] = u'\0';
        message.Result = static_cast<ui::LRESULT>(text.size());
    }
    }
}

} // namespace vizivodu
