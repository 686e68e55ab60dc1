// The desktop's mouse settings (the double-click time, the drag distance), the time of the
// input message being handled, and the cursor shown over a control for the moment.
#pragma once

#include "platform/ui/Cursors.h"
#include "platform/ui/Messages.h"

#include <cstdint>

namespace ui {

class TControl;

// System metrics of the mouse, by the numbers the class library uses.
enum : int32_t { SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXDRAG = 68, SM_CYDRAG = 69 };

// The desktop's value for a mouse metric above; 0 for other numbers.
int32_t GetSystemMetrics(int32_t index);
// The longest time between the clicks of a double click, in milliseconds.
uint32_t GetDoubleClickTime();
// The time of the message being handled: milliseconds of a monotonic clock when it is handled
// (input is handled as it arrives).
uint32_t GetMessageTime();
// The keys Shift, Ctrl and Alt and the mouse buttons held now.
TShiftState GetCurrentShiftState();
// Shows cursor over the control for now (until the control's Cursor is set or this is called
// again) without changing the control's Cursor, which stays what the control shows normally.
void SetShownCursor(TControl &control, TCursor cursor);
// The cursor shown over the control: the last SetShownCursor, else its Cursor.
TCursor GetShownCursor(const TControl &control);
// Pins GetMessageTime to time (0: the clock again).
void SetMessageTimeForTesting(uint32_t time);

} // namespace ui
