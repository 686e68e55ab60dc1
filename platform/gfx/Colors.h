// Colours as the class library holds them: $00BBGGRR for plain colours, $FF0000nn for the
// system colour with index nn, and the special values clNone and clDefault.
#pragma once

#include "platform/rtl/IdentMap.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace gfx {

using TColor = int32_t;

constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
    return TColor(uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16));
}
constexpr uint8_t GetRValue(uint32_t rgb) {
    return uint8_t(rgb);
}
constexpr uint8_t GetGValue(uint32_t rgb) {
    return uint8_t(rgb >> 8);
}
constexpr uint8_t GetBValue(uint32_t rgb) {
    return uint8_t(rgb >> 16);
}

constexpr TColor SystemColor(int index) {
    return TColor(0xFF000000u | uint32_t(index));
}

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clHotLight = SystemColor(26);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);
constexpr TColor clMenuHighlight = SystemColor(29);
constexpr TColor clMenuBar = SystemColor(30);

// The $00BBGGRR value of a colour: system colours come from the fixed system table (an index
// outside it gives black); clNone gives black and clDefault the window colour; the high byte
// of any other colour is dropped.
uint32_t ColorToRGB(TColor color);
// The colour of a system colour index, $00BBGGRR; black for an unknown index.
uint32_t GetSysColor(int index);

// The colours that have a name (the sixteen basic ones, clMoneyGreen, clSkyBlue, clCream,
// clMedGray, clDefault, clNone and the system colours), as stored forms name them.
rtl::TIdentMap ColorIdents();
// The name of a colour that has one; false for any other value.
bool ColorToIdent(TColor color, std::string &ident);
// The colour of a name (ASCII case ignored); false for an unknown name.
bool IdentToColor(std::string_view ident, TColor &color);

} // namespace gfx
