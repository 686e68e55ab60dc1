// Own-drawn controls: TCustomControl (can hold children and take focus) and TGraphicControl.
// Both paint in Paint() on their Canvas and get every input as a Windows-style message.
#pragma once

#include "platform/gfx/Graphics.h"
#include "platform/ui/WinControl.h"

namespace ui {

// Paint() runs for WM_PAINT with GetCanvas() drawing on the control (clip = the area to
// paint, origin = the control's top-left). Outside painting GetCanvas() measures text only.
// SetTimer starts a timer whose ticks arrive as WM_TIMER with WParam = id.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent *owner);
    ~TCustomControl() override;

    gfx::TCanvas &GetCanvas() { return ControlCanvas(); }
    void SetTimer(uintptr_t id, uint32_t intervalMs);
    void KillTimer(uintptr_t id);
    // Delivers one WM_TIMER for the timer id now (tests drive timers without waiting).
    void FireTimerForTesting(uintptr_t id) { Perform(WM_TIMER, id, 0); }
};

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent *owner);
    gfx::TCanvas &GetCanvas() { return ControlCanvas(); }
};

// A control that paints through OnPaint (the class library's TPaintBox).
class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent *owner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

} // namespace ui
