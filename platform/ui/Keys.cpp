// Keys: Qt's key events as Windows virtual keys, and back for the testing hooks.
#include "platform/ui/QtBridge_p.h"

#include <QKeyEvent>

#include <array>
#include <span>
#include <utility>

namespace ui::qt {

namespace {

// Keys whose Qt code names them whatever the layout.
constexpr std::pair<int, uint16_t> NamedKeys[] = {
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_AltGr, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Select, VK_SELECT},
    {Qt::Key_Printer, VK_PRINT},
    {Qt::Key_Execute, VK_EXECUTE},
    {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_SysReq, VK_SNAPSHOT},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Help, VK_HELP},
    {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Super_L, VK_LWIN},
    {Qt::Key_Super_R, VK_RWIN},
    {Qt::Key_Menu, VK_APPS},
    {Qt::Key_Sleep, VK_SLEEP},
    {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Back, VK_BROWSER_BACK},
    {Qt::Key_Forward, VK_BROWSER_FORWARD},
    {Qt::Key_Refresh, VK_BROWSER_REFRESH},
    {Qt::Key_Stop, VK_BROWSER_STOP},
    {Qt::Key_Search, VK_BROWSER_SEARCH},
    {Qt::Key_Favorites, VK_BROWSER_FAVORITES},
    {Qt::Key_HomePage, VK_BROWSER_HOME},
    {Qt::Key_VolumeMute, VK_VOLUME_MUTE},
    {Qt::Key_VolumeDown, VK_VOLUME_DOWN},
    {Qt::Key_VolumeUp, VK_VOLUME_UP},
    {Qt::Key_MediaNext, VK_MEDIA_NEXT_TRACK},
    {Qt::Key_MediaPrevious, VK_MEDIA_PREV_TRACK},
    {Qt::Key_MediaStop, VK_MEDIA_STOP},
    {Qt::Key_MediaTogglePlayPause, VK_MEDIA_PLAY_PAUSE},
    {Qt::Key_MediaPlay, VK_MEDIA_PLAY_PAUSE},
    {Qt::Key_LaunchMail, VK_LAUNCH_MAIL},
    {Qt::Key_LaunchMedia, VK_LAUNCH_MEDIA_SELECT},
    {Qt::Key_Launch0, VK_LAUNCH_APP1},
    {Qt::Key_Launch1, VK_LAUNCH_APP2},
    {Qt::Key_Play, VK_PLAY},
    {Qt::Key_Zoom, VK_ZOOM},
};

// The keypad's own keys (Qt marks them with the keypad modifier).
constexpr std::pair<int, uint16_t> KeypadKeys[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},       {Qt::Key_Comma, VK_SEPARATOR},
    {Qt::Key_Minus, VK_SUBTRACT},    {Qt::Key_Period, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE},
};

// Printable characters of the US layout and the key that types them, shifted or not; other
// layouts' letters are placed by the key's position (PositionalKey).
constexpr std::pair<int, uint16_t> CharacterKeys[] = {
    {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},
    {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS},
    {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3},
    {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6},
    {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

uint16_t Find(const auto &table, int key) {
    for (const auto &[qtKey, vk] : table) {
        if (qtKey == key) {
            return vk;
        }
    }
    return 0;
}

// The typing keys by the Linux input code of their place (X11 and Wayland key codes are that
// code + 8), named as the key in that place of a US keyboard: Windows names the keys of a
// layout without Latin letters (Russian) so, and shortcut handlers look for these names.
uint16_t PositionalKey(quint32 nativeScanCode) {
    constexpr std::array<uint16_t, 54> ByInputCode = {
        0,   0,        '1',          '2',           '3',      '4',          '5',
        '6', '7',      '8',          '9',           '0',      VK_OEM_MINUS, VK_OEM_PLUS,
        0,   0,        'Q',          'W',           'E',      'R',          'T',
        'Y', 'U',      'I',          'O',           'P',      VK_OEM_4,     VK_OEM_6,
        0,   0,        'A',          'S',           'D',      'F',          'G',
        'H', 'J',      'K',          'L',           VK_OEM_1, VK_OEM_7,     VK_OEM_3,
        0,   VK_OEM_5, 'Z',          'X',           'C',      'V',          'B',
        'N', 'M',      VK_OEM_COMMA, VK_OEM_PERIOD, VK_OEM_2};
    constexpr quint32 KeyCodeOffset = 8, InputCode102nd = 86;
    if (nativeScanCode < KeyCodeOffset) {
        return 0;
    }
    const quint32 code = nativeScanCode - KeyCodeOffset;
    if (code == InputCode102nd) {
        return VK_OEM_102;
    }
    return code < ByInputCode.size() ? ByInputCode[code] : 0;
}

} // namespace

uint16_t ToVirtualKey(const QKeyEvent &event) {
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9) {
            return uint16_t(VK_NUMPAD0 + (key - Qt::Key_0));
        }
        if (const uint16_t vk = Find(KeypadKeys, key)) {
            return vk;
        }
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) {
        return uint16_t(key);
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return uint16_t(VK_F1 + (key - Qt::Key_F1));
    }
    if (const uint16_t vk = Find(NamedKeys, key)) {
        return vk;
    }
    if (const uint16_t vk = PositionalKey(event.nativeScanCode())) {
        return vk;
    }
    return Find(CharacterKeys, key);
}

int ToQtKey(uint16_t vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        return vk;
    }
    if (vk >= VK_F1 && vk <= VK_F24) {
        return Qt::Key_F1 + (vk - VK_F1);
    }
    using TKeyTable = std::span<const std::pair<int, uint16_t>>;
    for (const TKeyTable table : {TKeyTable(NamedKeys), TKeyTable(CharacterKeys)}) {
        for (const auto &[qtKey, code] : table) {
            if (code == vk) {
                return qtKey;
            }
        }
    }
    return 0;
}

} // namespace ui::qt
