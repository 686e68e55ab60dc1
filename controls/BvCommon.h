// Shared pieces of the styled controls: side sets and frame styles, the HSL colour model and
// theme colour scheme, the style-services stand-in, and the stateless frame routines.
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Types.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <initializer_list>

namespace controls {

using gfx::TColor;
using gfx::TRect;

// A small set of enumeration values (at most 32 members): the class library's set.
template <typename E> using TBvSet = rtl::TSet<E, 32>;

enum TSide : uint8_t { sdLeft, sdTop, sdRight, sdBottom };
using TSides = TBvSet<TSide>;
constexpr TSides AllSides{sdLeft, sdTop, sdRight, sdBottom};

enum TFrameStyleEx : uint8_t {
    fsNone,
    fsFlat,
    fsGroove,
    fsBump,
    fsLowered,
    fsButtonDown,
    fsRaised,
    fsButtonUp,
    fsStatus,
    fsPopup,
    fsFlatBold,
    fsFlatRounded
};
// The frame styles without fsFlatRounded (which only the panel draws).
using TFrameStyle = TFrameStyleEx;

enum TAlignmentVertical : uint8_t { avTop, avCenter, avBottom };
enum TBvGradientColorStyle : uint8_t { gcsSystem, gcsMSOffice, gcsCustom };
enum TGradientDirection : uint8_t {
    gdDiagonalUp,
    gdDiagonalDown,
    gdHorizontalEnd,
    gdHorizontalCenter,
    gdHorizontalBox,
    gdVerticalEnd,
    gdVerticalCenter,
    gdVerticalBox,
    gdSquareBox,
    gdBigSquareBox
};

// ---- colour model (lightness scale 0..240) ----

struct THSL {
    uint8_t H = 0, S = 0, L = 0;
};
// Every routine first resolves system colours to RGB; results are plain RGB colours.
THSL SplitColorHSL(TColor color);
uint8_t HueOfColor(TColor color);
TColor ColorFromHSL(uint8_t h, uint8_t s, uint8_t l);
// L lowered by amount (not below 0) / raised by amount (up to 255, which is white).
TColor DarkenColor(TColor color, uint8_t amount);
TColor LightenColor(TColor color, uint8_t amount);
// Negative darkens by the magnitude (taken modulo 256), positive lightens, 0 returns the colour
// itself (a system colour stays one).
TColor ShiftColorLightness(TColor color, int32_t amount);
// weight 255 gives color1, 0 gives color2.
TColor MixColors(TColor color1, TColor color2, uint8_t weight);
// Hues closer than 20 and lightnesses closer than 60.
bool ColorsAlike(TColor color1, TColor color2);
TColor OppositeHueColor(TColor color, uint8_t lightness);

// ---- theme colour scheme and style services ----

// Reads "ColorName" of the current user's "...\CurrentVersion\ThemeManager" key: "HOMESTEAD"
// gives 1, "METALLIC" 2, anything else or nothing 0.
uint8_t ReadThemeColorScheme();
// The process-wide scheme, read once at first use and again by RefreshActiveColorScheme.
uint8_t ActiveColorScheme();
void RefreshActiveColorScheme();
void SchemeGradientColors(TBvGradientColorStyle style, TColor &start, TColor &stop);
TColor SchemeFrameColor(TBvGradientColorStyle style);

// The platform offers no visual styles: styles are never enabled, the system style is always
// active, styled colours are the colours themselves and styled font colours clNone.
bool StylesEnabled();
bool SystemStyleActive();
TColor StyledColor(TColor color);
TColor StyledFontColor();
// The screen shows more than 256 colours (always, on this platform; tests may say otherwise).
bool ScreenHasFullColor();
bool FullColorScreen();
void SetFullColorScreenForTesting(bool value);

// ---- frame routines: each draws on the sides in the set and returns the inner rectangle ----

TRect PaintSideLines(gfx::TCanvas &canvas, const TRect &bounds, TColor ul, TColor lr, TSides sides);
TRect PaintBevelRings(gfx::TCanvas &canvas, const TRect &bounds, TColor ul, TColor lr,
                      int32_t width, TSides sides);
TRect Paint3DFrameSides(gfx::TCanvas &canvas, const TRect &bounds, bool lowered, TSides sides);
TRect PaintPushFrame(gfx::TCanvas &canvas, const TRect &bounds, bool lowered);
TRect PaintPushFrameSides(gfx::TCanvas &canvas, const TRect &bounds, bool lowered, TSides sides);
TRect PaintTintedPushFrame(gfx::TCanvas &canvas, const TRect &bounds, TColor face, bool lowered);
TRect PaintTintedPushFrameSides(gfx::TCanvas &canvas, const TRect &bounds, TColor face,
                                bool lowered, TSides sides);
// style must not be fsFlatRounded (drawn as fsNone).
TRect PaintStyleFrame(gfx::TCanvas &canvas, const TRect &bounds, TFrameStyle style);
TRect PaintStyleFrameSides(gfx::TCanvas &canvas, const TRect &bounds, TFrameStyle style,
                           TSides sides);
TRect PaintTintedStyleFrame(gfx::TCanvas &canvas, const TRect &bounds, TColor face,
                            TFrameStyle style);
TRect PaintTintedStyleFrameSides(gfx::TCanvas &canvas, const TRect &bounds, TColor face,
                                 TFrameStyle style, TSides sides);
// One-pixel dots on every second pixel; with clNone each dot inverts the pixel under it.
TRect PaintDottedFrame(gfx::TCanvas &canvas, const TRect &bounds, TColor color);
TRect PaintRoundedFlatFrameSides(gfx::TCanvas &canvas, const TRect &bounds, TColor color,
                                 TSides sides);

// A ring of width 2 cut from a gradient over the whole bounds; nothing on a screen of 256
// colours or fewer.
void PaintGradientRing(gfx::TCanvas &canvas, const TRect &bounds, TGradientDirection direction,
                       TColor startColor, TColor stopColor);

// ---- text ----

// Draws (or with DT_CALCRECT measures into rect) the text; returns its height in pixels.
int32_t DrawTextInRect(gfx::TCanvas &canvas, const rtl::UnicodeString &text, TRect &rect,
                       uint32_t flags);
// "&" prefixes removed; "&&" gives "&"; the last character is always kept.
rtl::UnicodeString StripAccelerators(const rtl::UnicodeString &text);
// A new font like font (height, weight 700 when bold else 400, italic, underline, strike-out,
// character set, pitch, face) whose text runs angleDegrees counter-clockwise (escapement in
// tenths of a degree; glyphs turn with it, orientation 0). Text still measures along its run.
gfx::TFont CreateRotatedFont(const gfx::TFont &font, int32_t angleDegrees);

} // namespace controls
