// The system caret: one in the process, shown on one own-drawn control, drawn by the platform
// over what the control paints (the pixels under it inverted) and blinking at the desktop's
// cursor flash time.
#pragma once

#include "platform/gfx/Graphics.h"

#include <cstdint>

namespace ui {

class TControl;
class TWinControl;

// Makes the caret of control, width x height pixels (a width of 0: 1 pixel), at (0, 0) and
// hidden; an existing caret goes first. False without a native window.
bool CreateCaret(TWinControl &control, int32_t width, int32_t height);
bool DestroyCaret();
// Client coordinates of the owning control; false without a caret.
bool SetCaretPos(int32_t x, int32_t y);
bool GetCaretPos(gfx::TPoint &point);
// Hiding nests: the caret shows once every HideCaret has been answered by a ShowCaret (it is
// made hidden). control: the caret's owner, or nullptr for whichever control owns it; another
// control gets false.
bool ShowCaret(TWinControl *control);
bool HideCaret(TWinControl *control);
// Milliseconds between the caret's turning on and off (half the desktop's cursor flash time);
// 0 when the desktop does not blink the cursor.
uint32_t GetCaretBlinkTime();

// The caret's rectangle on control when it is drawn there now (owned, shown, in the visible
// phase of its blinking); false otherwise.
bool CaretDrawnForTesting(const TControl &control, gfx::TRect &r);
// Moves the blinking on one phase, as its timer does.
void BlinkCaretForTesting();

} // namespace ui
