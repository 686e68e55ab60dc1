// The viewer's input side: mouse and keyboard handlers passing input to the root document,
// triple-click detection, the posted events, the automatic-scroll and animation timers, the copy
// shortcut and the edit-control messages of linear positions.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/layout/viewer/VDLinear.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include "platform/ui/Application.h"
#include "platform/ui/Cursors.h"
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
    default:
        return false;
    }
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
