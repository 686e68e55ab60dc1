// Resolution of system and special colours to plain $00BBGGRR values.
#include "platform/gfx/Colors.h"

#include <array>
#include <cstddef>

namespace gfx {

namespace {

// The Windows default ("Windows Standard" scheme of current versions) colours, written as RGB
// hex for readability and swapped to $00BBGGRR on lookup. Index 25 is unused by Windows.
constexpr std::array<uint32_t, 31> SystemColorsRGB = {
    0xC8C8C8, // 0  scroll bar
    0x000000, // 1  desktop
    0x99B4D1, // 2  active caption
    0xBFCDDB, // 3  inactive caption
    0xF0F0F0, // 4  menu
    0xFFFFFF, // 5  window
    0x646464, // 6  window frame
    0x000000, // 7  menu text
    0x000000, // 8  window text
    0x000000, // 9  caption text
    0xB4B4B4, // 10 active border
    0xF4F7FC, // 11 inactive border
    0xABABAB, // 12 application workspace
    0x0078D7, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xF0F0F0, // 15 button face
    0xA0A0A0, // 16 button shadow
    0x6D6D6D, // 17 grey text
    0x000000, // 18 button text
    0x000000, // 19 inactive caption text
    0xFFFFFF, // 20 button highlight
    0x696969, // 21 3D dark shadow
    0xE3E3E3, // 22 3D light
    0x000000, // 23 info text
    0xFFFFE1, // 24 info background
    0x000000, // 25 (unused)
    0x0066CC, // 26 hot light
    0xB9D1EA, // 27 gradient active caption
    0xD7E4F2, // 28 gradient inactive caption
    0x0078D7, // 29 menu highlight
    0xF0F0F0, // 30 menu bar
};

constexpr uint32_t SwapRB(uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

constexpr rtl::TIdentMapEntry ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clDefault, "clDefault"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
};

} // namespace

rtl::TIdentMap ColorIdents() {
    return ColorNames;
}

bool ColorToIdent(TColor color, std::string &ident) {
    return rtl::IntToIdent(color, ident, ColorNames);
}

bool IdentToColor(std::string_view ident, TColor &color) {
    return rtl::IdentToInt(ident, color, ColorNames);
}

uint32_t GetSysColor(int index) {
    if (index < 0 || index >= int(SystemColorsRGB.size())) {
        return 0;
    }
    return SwapRB(SystemColorsRGB[std::size_t(index)]);
}

uint32_t ColorToRGB(TColor color) {
    if (color == clNone) {
        return 0;
    }
    if (color == clDefault) {
        return GetSysColor(5);
    }
    const uint32_t value = uint32_t(color);
    if ((value & 0xFF000000u) == 0xFF000000u) {
        return GetSysColor(int(value & 0xFFu));
    }
    return value & 0x00FFFFFFu;
}

} // namespace gfx
