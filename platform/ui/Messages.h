// Windows-style messages, virtual-key numbers and input-state types used by controls.
// Message and key numbers are those of Windows; CM_ messages are the class library's own
// control notifications (CM_BASE + n).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace ui {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

struct TMessage {
    uint32_t Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Mouse position packed as Windows does: x in the low 16 bits, y in the high 16 bits (signed).
constexpr LPARAM MakeLParam(int x, int y) {
    return LPARAM(uint32_t(uint16_t(int16_t(x))) | (uint32_t(uint16_t(int16_t(y))) << 16));
}
constexpr int GetXLParam(LPARAM l) {
    return int16_t(uint16_t(uint32_t(l) & 0xFFFF));
}
constexpr int GetYLParam(LPARAM l) {
    return int16_t(uint16_t((uint32_t(l) >> 16) & 0xFFFF));
}

// Window messages, by number.
enum : uint32_t {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_SETREDRAW = 0x000B,
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_ERASEBKGND = 0x0014,
    WM_CANCELMODE = 0x001F,
    WM_SETCURSOR = 0x0020,
    WM_MOUSEACTIVATE = 0x0021,
    WM_WINDOWPOSCHANGED = 0x0047,
    WM_INPUTLANGCHANGE = 0x0051,
    WM_CONTEXTMENU = 0x007B,
    WM_NCCALCSIZE = 0x0083,
    WM_NCPAINT = 0x0085,
    WM_GETDLGCODE = 0x0087,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_UNICHAR = 0x0109, // WParam: a UTF-32 character, or UNICODE_NOCHAR to ask for support
    WM_IME_STARTCOMPOSITION = 0x010D,
    WM_IME_ENDCOMPOSITION = 0x010E,
    WM_IME_COMPOSITION = 0x010F,
    WM_COMMAND = 0x0111,
    WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    WM_CHANGEUISTATE = 0x0127,
    WM_UPDATEUISTATE = 0x0128, // WParam: action (low word), UISF_ flags (high word)
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A,
    WM_IME_CHAR = 0x0286,
    WM_MOUSELEAVE = 0x02A3,
    WM_CUT = 0x0300,
    WM_COPY = 0x0301,
    WM_PASTE = 0x0302,
    WM_CLEAR = 0x0303,
    WM_UNDO = 0x0304,
    WM_QUERYNEWPALETTE = 0x030F,
    WM_PALETTECHANGED = 0x0311,
    WM_THEMECHANGED = 0x031A,
    WM_USER = 0x0400,
};

// Request codes of WM_HSCROLL and WM_VSCROLL (the low word of WParam; the high word carries
// the 16-bit thumb position of SB_THUMBTRACK and SB_THUMBPOSITION).
enum : uint16_t {
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8
};

// The WM_UNICHAR question whether a window takes UTF-32 characters.
constexpr uint32_t UNICODE_NOCHAR = 0xFFFF;

enum : uint32_t {
    CM_BASE = 0xB000,
    CM_ACTIVATE = CM_BASE + 0,
    CM_DEACTIVATE = CM_BASE + 1,
    CM_DIALOGKEY = CM_BASE + 5,
    CM_DIALOGCHAR = CM_BASE + 6,
    CM_FOCUSCHANGED = CM_BASE + 7, // LParam: the newly focused TControl*
    CM_PARENTFONTCHANGED = CM_BASE + 8,
    CM_PARENTCOLORCHANGED = CM_BASE + 9,
    CM_VISIBLECHANGED = CM_BASE + 11,
    CM_ENABLEDCHANGED = CM_BASE + 12,
    CM_COLORCHANGED = CM_BASE + 13,
    CM_FONTCHANGED = CM_BASE + 14,
    CM_TEXTCHANGED = CM_BASE + 18,
    CM_MOUSEENTER = CM_BASE + 19,
    CM_MOUSELEAVE = CM_BASE + 20,
    CM_BUTTONPRESSED = CM_BASE + 24,
    CM_SHOWINGCHANGED = CM_BASE + 25,
    CM_ENTER = CM_BASE + 26,
    CM_EXIT = CM_BASE + 27,
    CM_WANTSPECIALKEY = CM_BASE + 30, // WParam: the virtual key; Result 1: the control takes it
    CM_RELEASE = CM_BASE + 33,
    CM_SYSCOLORCHANGE = CM_BASE + 36,
    CM_INVALIDATE = CM_BASE + 52,
    CM_BORDERCHANGED = CM_BASE + 59,
    CM_GESTURE = CM_BASE + 83, // LParam: the TGestureEventInfo*; Result 1: handled
};

// CM_DIALOGKEY carries the virtual key in WParam, CM_DIALOGCHAR the character; both carry the
// shift keys in LParam as DialogShiftBits. A control that takes the key sets Result to 1.

// WM_GETDLGCODE answer bits: the keys a control wants for itself instead of the dialog.
enum : uint32_t {
    DLGC_WANTARROWS = 0x0001,
    DLGC_WANTTAB = 0x0002,
    DLGC_WANTALLKEYS = 0x0004, // Enter and Escape too
    DLGC_HASSETSEL = 0x0008,
    DLGC_DEFPUSHBUTTON = 0x0010,
    DLGC_UNDEFPUSHBUTTON = 0x0020,
    DLGC_RADIOBUTTON = 0x0040,
    DLGC_WANTCHARS = 0x0080,
    DLGC_STATIC = 0x0100,
    DLGC_BUTTON = 0x2000,
};

// WM_UPDATEUISTATE / WM_CHANGEUISTATE actions and the keyboard-cue flags they change.
enum : uint16_t { UIS_SET = 1, UIS_CLEAR = 2, UIS_INITIALIZE = 3 };
enum : uint16_t { UISF_HIDEFOCUS = 1, UISF_HIDEACCEL = 2 };

// Key-state flags of mouse messages' WParam.
enum : uint32_t {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
};

// One notch of the mouse wheel.
constexpr int WHEEL_DELTA = 120;

// Virtual-key numbers. The digit and letter keys are their characters: '0'..'9' (0x30..0x39)
// and 'A'..'Z' (0x41..0x5A). The VK_OEM_ keys are named by their place on a US keyboard.
enum : uint16_t {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_CANCEL = 0x03,
    VK_MBUTTON = 0x04,
    VK_XBUTTON1 = 0x05,
    VK_XBUTTON2 = 0x06,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_CLEAR = 0x0C,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_KANA = 0x15,
    VK_JUNJA = 0x17,
    VK_FINAL = 0x18,
    VK_KANJI = 0x19,
    VK_ESCAPE = 0x1B,
    VK_CONVERT = 0x1C,
    VK_NONCONVERT = 0x1D,
    VK_ACCEPT = 0x1E,
    VK_MODECHANGE = 0x1F,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_SELECT = 0x29,
    VK_PRINT = 0x2A,
    VK_EXECUTE = 0x2B,
    VK_SNAPSHOT = 0x2C,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_HELP = 0x2F,
    VK_LWIN = 0x5B,
    VK_RWIN = 0x5C,
    VK_APPS = 0x5D,
    VK_SLEEP = 0x5F,
    VK_NUMPAD0 = 0x60, // to VK_NUMPAD9 = 0x69
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SEPARATOR = 0x6C,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70, // to VK_F24 = 0x87
    VK_F12 = 0x7B,
    VK_F24 = 0x87,
    VK_NUMLOCK = 0x90,
    VK_SCROLL = 0x91,
    VK_LSHIFT = 0xA0,
    VK_RSHIFT = 0xA1,
    VK_LCONTROL = 0xA2,
    VK_RCONTROL = 0xA3,
    VK_LMENU = 0xA4,
    VK_RMENU = 0xA5,
    VK_BROWSER_BACK = 0xA6,
    VK_BROWSER_FORWARD = 0xA7,
    VK_BROWSER_REFRESH = 0xA8,
    VK_BROWSER_STOP = 0xA9,
    VK_BROWSER_SEARCH = 0xAA,
    VK_BROWSER_FAVORITES = 0xAB,
    VK_BROWSER_HOME = 0xAC,
    VK_VOLUME_MUTE = 0xAD,
    VK_VOLUME_DOWN = 0xAE,
    VK_VOLUME_UP = 0xAF,
    VK_MEDIA_NEXT_TRACK = 0xB0,
    VK_MEDIA_PREV_TRACK = 0xB1,
    VK_MEDIA_STOP = 0xB2,
    VK_MEDIA_PLAY_PAUSE = 0xB3,
    VK_LAUNCH_MAIL = 0xB4,
    VK_LAUNCH_MEDIA_SELECT = 0xB5,
    VK_LAUNCH_APP1 = 0xB6,
    VK_LAUNCH_APP2 = 0xB7,
    VK_OEM_1 = 0xBA,      // ; :
    VK_OEM_PLUS = 0xBB,   // = +
    VK_OEM_COMMA = 0xBC,  // , <
    VK_OEM_MINUS = 0xBD,  // - _
    VK_OEM_PERIOD = 0xBE, // . >
    VK_OEM_2 = 0xBF,      // / ?
    VK_OEM_3 = 0xC0,      // ` ~
    VK_OEM_4 = 0xDB,      // [ {
    VK_OEM_5 = 0xDC,      // \ |
    VK_OEM_6 = 0xDD,      // ] }
    VK_OEM_7 = 0xDE,      // ' "
    VK_OEM_8 = 0xDF,
    VK_OEM_102 = 0xE2, // the extra key beside the left Shift of European keyboards
    VK_PROCESSKEY = 0xE5,
    VK_PACKET = 0xE7,
    VK_ATTN = 0xF6,
    VK_CRSEL = 0xF7,
    VK_EXSEL = 0xF8,
    VK_EREOF = 0xF9,
    VK_PLAY = 0xFA,
    VK_ZOOM = 0xFB,
    VK_NONAME = 0xFC,
    VK_PA1 = 0xFD,
    VK_OEM_CLEAR = 0xFE,
};

enum TShiftStateFlag : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };

// A set of shift-state flags.
class TShiftState {
public:
    constexpr TShiftState() = default;
    constexpr TShiftState(std::initializer_list<TShiftStateFlag> flags) {
        for (auto f : flags) {
            FBits |= uint8_t(1u << f);
        }
    }
    constexpr bool Contains(TShiftStateFlag f) const { return (FBits >> f) & 1u; }
    constexpr TShiftState &Include(TShiftStateFlag f) {
        FBits |= uint8_t(1u << f);
        return *this;
    }
    friend constexpr bool operator==(TShiftState, TShiftState) = default;

private:
    uint8_t FBits = 0;
};

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// The shift keys of a dialog key or character as LParam bits: 1 << ssShift, 1 << ssAlt,
// 1 << ssCtrl.
constexpr LPARAM DialogShiftBits(TShiftState shift) {
    LPARAM bits = 0;
    for (TShiftStateFlag f : {ssShift, ssAlt, ssCtrl}) {
        bits |= shift.Contains(f) ? LPARAM(1) << f : 0;
    }
    return bits;
}
constexpr TShiftState DialogShiftState(LPARAM bits) {
    TShiftState s;
    for (TShiftStateFlag f : {ssShift, ssAlt, ssCtrl}) {
        if ((bits >> f) & 1) {
            s.Include(f);
        }
    }
    return s;
}

// True when caption marks ch as its accelerator ("&R" for 'r' or 'R'; "&&" is a plain "&").
bool IsAccel(char16_t ch, const std::u16string &caption);

} // namespace ui
