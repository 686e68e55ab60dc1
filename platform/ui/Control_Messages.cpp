// TControl's message handling: dispatch of Windows-style messages to the control's handlers.
#include "platform/ui/Control.h"

#include "platform/ui/WinControl.h"

namespace ui {

namespace {

TShiftState ShiftFromKeyFlags(WPARAM flags) {
    TShiftState s;
    if (flags & MK_SHIFT) {
        s.Include(ssShift);
    }
    if (flags & MK_CONTROL) {
        s.Include(ssCtrl);
    }
    if (flags & MK_LBUTTON) {
        s.Include(ssLeft);
    }
    if (flags & MK_RBUTTON) {
        s.Include(ssRight);
    }
    if (flags & MK_MBUTTON) {
        s.Include(ssMiddle);
    }
    return s;
}

} // namespace

void TControl::Dispatch(TMessage &m) {
    switch (m.Msg) {
    case WM_PAINT:
        if (m.WParam != 0) {
            PaintInto(*reinterpret_cast<gfx::TCanvas *>(m.WParam));
        } else {
            Paint();
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE:
        DispatchMouse(m);
        break;
    case WM_MOUSEWHEEL: {
        const int delta = int16_t(uint16_t((m.WParam >> 16) & 0xFFFF));
        const gfx::TPoint pos{GetXLParam(m.LParam), GetYLParam(m.LParam)};
        m.Result = DoMouseWheel(ShiftFromKeyFlags(m.WParam & 0xFFFF), delta, pos) ? 1 : 0;
        break;
    }
    case WM_SIZE:
        Resize();
        break;
    case CM_GESTURE: {
        bool handled = false;
        DoGesture(*reinterpret_cast<const TGestureEventInfo *>(m.LParam), handled);
        m.Result = handled ? 1 : 0;
        break;
    }
    case CM_MOUSEENTER:
        if (OnMouseEnter) {
            OnMouseEnter(this);
        }
        break;
    case CM_MOUSELEAVE:
        if (OnMouseLeave) {
            OnMouseLeave(this);
        }
        break;
    default:
        DefaultHandler(m);
        break;
    }
}

void TControl::DispatchMouse(TMessage &m) {
    const int x = GetXLParam(m.LParam), y = GetYLParam(m.LParam);
    TShiftState shift = ShiftFromKeyFlags(m.WParam);
    const TMouseButton button =
        (m.Msg == WM_RBUTTONDOWN || m.Msg == WM_RBUTTONUP || m.Msg == WM_RBUTTONDBLCLK)   ? mbRight
        : (m.Msg == WM_MBUTTONDOWN || m.Msg == WM_MBUTTONUP || m.Msg == WM_MBUTTONDBLCLK) ? mbMiddle
                                                                                          : mbLeft;
    switch (m.Msg) {
    case WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        return;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        MouseDown(button, shift.Include(ssDouble), x, y);
        if (button == mbLeft) {
            DblClick();
        }
        return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (button == mbLeft) {
            FMouseDownInside = true;
        }
        MouseDown(button, shift, x, y);
        return;
    default: {
        const bool click = button == mbLeft && FMouseDownInside && FClickOnMouseUp &&
                           GetClientRect().Contains({x, y});
        if (button == mbLeft) {
            FMouseDownInside = false;
        }
        MouseUp(button, shift, x, y);
        if (click) {
            Click();
        }
    }
    }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    if (OnMouseDown) {
        OnMouseDown(this, button, shift, x, y);
    }
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    if (OnMouseUp) {
        OnMouseUp(this, button, shift, x, y);
    }
}

void TControl::MouseMove(TShiftState shift, int32_t x, int32_t y) {
    if (OnMouseMove) {
        OnMouseMove(this, shift, x, y);
    }
}

bool TControl::DoMouseWheel(TShiftState shift, int32_t wheelDelta, gfx::TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel) {
        OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    }
    return handled;
}

void TControl::DblClick() {
    if (OnDblClick) {
        OnDblClick(this);
    }
}

void TControl::Resize() {
    if (OnResize) {
        OnResize(this);
    }
}

} // namespace ui
