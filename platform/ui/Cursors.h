// Mouse cursors: the class library's cursor numbers, the screen's cursor that overrides every
// control's, and the mapping of both to the windowing system's cursor shapes.
#pragma once

#include "platform/gfx/Types.h"

#include <cstdint>

namespace gfx {
class TBitmap;
}

namespace ui {

// A cursor number. Stock cursors are negative; crDefault lets the control take its parent's.
// Numbers without a stock shape show the picture the program gave the screen for them, else the
// arrow.
using TCursor = int16_t;

inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crSize = crSizeAll;

// The screen. Its Cursor, when not crDefault, shows over every window of the program (as a
// long operation shows crHourGlass) until set back to crDefault.
class TScreen {
public:
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor cursor);

    // The screen's cursor table: cursor number cursor (above 0) shows image, the alpha bytes of
    // its words the mask,
    // with its hot spot at (hotX, hotY); controls and the screen take it the next time they set
    // that cursor.
    void SetCursorImage(TCursor cursor, const gfx::TBitmap &image, int32_t hotX, int32_t hotY);
    bool HasCursorImage(TCursor cursor) const;

    // Where the mouse pointer is, in screen coordinates (the class library's Mouse.CursorPos).
    gfx::TPoint GetCursorPos() const;

private:
    TCursor FCursor = crDefault;
};

// The program's one screen object.
extern TScreen *const Screen;

} // namespace ui
