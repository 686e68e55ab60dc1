// Shared routines of the rich-document library: colours under the colour modes, list numbering,
// small string, tag and integer helpers, conversions between screen and device resolution and
// between units of measure, and the rotation transform of table cells.
//
// Rounding follows the note in platform/rtl/Rounding.h: Round is to the nearest integer with
// halves to even, MulDiv (screen/device conversions) rounds halves away from zero.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Graphics.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Types.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace vizivodu {

class TVDGraphicInterface;

// UTF-16 text held as its raw bytes (two per code unit, little-endian).
using TVDRawByteString = rtl::RawByteString;

// The library-wide screen resolution: when above 0 it replaces the screen's pixels per inch in
// every unit conversion (0 at start).
inline int32_t PixelsPerInchOverride = 0;

// The screen's pixels per inch: PixelsPerInchOverride when above 0, else the platform's.
int32_t GetScreenPixelsPerInchY();

// numerator / denominator rounded to the nearest integer, halves to even, decided on the exact
// quotient. denominator must not be 0.
int64_t RoundQuotient(int64_t numerator, int64_t denominator);

// A random number in 0 .. range - 1 (range > 0) from the library's generator, which is seeded
// from the system's entropy, so that list and template identifiers of different sessions
// differ. Tests fix the seed.
int32_t VDRandom(int32_t range);
void SetRandomSeedForTesting(uint32_t seed);

// ---- Colours ------------------------------------------------------------------------------
// System colours are resolved (gfx::ColorToRGB) before any arithmetic; clNone passes through.

// Round(0.3 R + 0.59 G + 0.11 B) of the resolved colour, 0 to 255.
int32_t GetColorLuminance(TColor color);
// The grey of the same luminance.
TColor ColorToGray(TColor color);
// The colour with its luminance (on the platform's 0 to 240 hue-luminance-saturation scale)
// multiplied by factor and rounded, kept within the scale.
TColor ScaleColorLuminance(TColor color, float factor);
// Fixed values of the system colours a page shows: scroll bar and button face silver, window
// and button highlight white, window text black, button shadow grey; others unchanged.
TColor ResolveSysColorForPrinting(TColor color);
// A text or line colour under a colour mode; the black-and-white modes keep white, else black.
TColor GetTextColorForMode(TColor color, TVDColorMode mode);
// A fill colour under a colour mode; the black-and-white modes give white.
TColor GetBackColorForMode(TColor color, TVDColorMode mode);
// 0 for opacity 0 or less, 255 for 100000 or more, else Round(opacity * 255 / 100000).
uint8_t OpacityToAlpha(TVDOpacity opacity);

// ---- Numbering ----------------------------------------------------------------------------

// The upper-case Roman numeral (no upper bound: 4000 is "MMMM"); "?" below 1.
UnicodeString IntToRoman(int32_t n);
// Bijective base 26 in capitals: 1 "A", 26 "Z", 27 "AA", 703 "AAA"; "?" below 1.
UnicodeString IntToLetters(int32_t n);
// The size of sub- and superscript text in points: Round(2 * size / 3).
int32_t GetSubSuperScriptSize(int32_t sizePoints);
// Underline thickness in pixels for a font size: 1 up to |size| 22, else (|size| - 23) div 15 + 2.
int32_t GetUnderlineThickness(int32_t fontSize);

// ---- Strings, tags, integers --------------------------------------------------------------

// Every tab replaced by n blanks (n <= 0 removes tabs); no tab stops.
AnsiString ExpandTabsAnsi(const AnsiString &s, int32_t n);
// The same on raw UTF-16 text: tab and blank are two bytes each. A trailing odd byte is kept.
TVDRawByteString ExpandTabsRawUnicode(const TVDRawByteString &s, int32_t n);
// Item tags are strings: copying is assignment, equality is string equality.
inline UnicodeString CopyItemTag(const UnicodeString &tag) {
    return tag;
}
inline bool AreTagsEqual(const UnicodeString &tag1, const UnicodeString &tag2) {
    return tag1 == tag2;
}
void SwapAnsiStrings(AnsiString &a, AnsiString &b);
// The name is not empty and does not start with "@" (a vertical font).
bool IsHorizontalFontName(const UnicodeString &name);
inline int32_t ClampToNonNegative(int32_t v) {
    return v < 0 ? 0 : v;
}
inline int32_t SignOf(int32_t v) {
    return (v > 0) - (v < 0);
}
// Releases the object held (nothing for none) and leaves the holder empty.
template <class T> void FreeAndNilObject(std::unique_ptr<T> &obj) {
    obj.reset();
}

// ---- Resolution and units -----------------------------------------------------------------

// Screen to device pixels and back, with MulDiv on the record's ratios.
int32_t ScreenToDeviceX(int32_t value, const TVDScreenAndDevice &sad);
int32_t ScreenToDeviceY(int32_t value, const TVDScreenAndDevice &sad);
int32_t DeviceToScreenX(int32_t value, const TVDScreenAndDevice &sad);
int32_t DeviceToScreenY(int32_t value, const TVDScreenAndDevice &sad);
void DeviceRectToScreen(rtl::TRect &rect, const TVDScreenAndDevice &sad);

// Units per inch: inches 1, centimetres 2.54, millimetres 25.4, picas 6, pixels the screen's
// (GetScreenPixelsPerInchY), points 72.
long double GetUnitsPerInch(TVDUnits units);
// Round(value * 1440 / units per inch).
int32_t VDUnitsToTwips(TVDUnits units, TVDLength value);
// Units per inch * value / 1440, unrounded.
TVDLength TwipsToVDUnits(int32_t value, TVDUnits units);
// value * units per inch of toUnits / units per inch of fromUnits, unrounded.
TVDLength ConvertVDUnits(TVDUnits fromUnits, TVDUnits toUnits, TVDLength value);
// Round(value * ppi / units per inch).
int32_t VDUnitsToPixelsAtPPI(TVDUnits units, int32_t ppi, TVDLength value);

// The mouse position in screen coordinates, or (0, 0) when the platform cannot tell.
rtl::TPoint GetCursorPosOrZero();

// left <= x < left + width and top <= y < top + height.
inline bool PointInBounds(int32_t x, int32_t y, int32_t left, int32_t top, int32_t width,
                          int32_t height) {
    return x >= left && x < left + width && y >= top && y < top + height;
}

// ---- Rotation -----------------------------------------------------------------------------

enum TVDDocRotation : uint8_t { vdrotNone, vdrot90, vdrot180, vdrot270 };
enum TVDVerticalAlign : uint8_t { vdveraTop, vdveraMiddle, vdveraBottom };

// A world transform: (x, y) maps to (x eM11 + y eM21 + eDx, x eM12 + y eM22 + eDy).
using TXForm = gfx::TXForm;

// The transform that draws content turned by rotation inside an area of width x height at
// (x, y); contentHeight is the content's extent along the turned vertical axis, placed by
// vAlign.
TXForm GetRotationXForm(TVDDocRotation rotation, int32_t x, int32_t y, int32_t width,
                        int32_t height, int32_t contentHeight, TVDVerticalAlign vAlign);

// The device's resolution from the canvas and the screen's from a screen canvas of gi (made
// and released here); the margins are left as they were.
void FillScreenAndDevice(TVDScreenAndDevice &sad, gfx::TCanvas &canvas, TVDGraphicInterface &gi);

// ---- Pictures ----------------------------------------------------------------------------

// Replaces the bitmap by a copy turned by rotation (nothing for vdrotNone): a quarter turn
// gives (height - 2) x (width - 2) pixels, a half turn (width - 2) x (height - 2), the old
// picture drawn one pixel in, as the library always turned pictures. Bitmaps of fewer than
// 3 pixels a side become empty.
void RotateBitmap(gfx::TBitmap &bitmap, TVDDocRotation rotation, TVDGraphicInterface &gi);

// How DrawOrPrintGraphic puts a graphic on the canvas.
enum TVDGraphicDrawing : uint8_t {
    vdgdPrintBitmap, // bitmaps through the interface's bitmap printing; other graphics not
    vdgdStretch      // stretched into the rectangle
};
// Draws graphic at (x, y) in width x height (its own size for a negative one), both converted
// from screen to device pixels when sad is given.
void DrawOrPrintGraphic(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                        PVDScreenAndDevice sad, const gfx::TGraphic &graphic,
                        TVDGraphicDrawing drawing, TVDGraphicInterface &gi);

// Prints the bitmap stretched to width x height at (x, y) through device-independent pixels
// (24 bits: the alpha byte is ignored).
void PrintBitmapDIB(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                    const gfx::TBitmap &bitmap);
// Draws the bitmap stretched with filtered (halftone) scaling.
void StretchDrawBitmapHalftone(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t width,
                               int32_t height, const gfx::TBitmap &bitmap);
// The outline metrics of the canvas's font (a strike-out size of 0 made 1); null for a font
// without outline metrics.
std::unique_ptr<gfx::TOutlineTextMetric> AllocOutlineTextMetrics(gfx::TCanvas &canvas,
                                                                 TVDGraphicInterface &gi);
// ---- Lines -------------------------------------------------------------------------------

// A horizontal line lineWidth pixels thick centred on y (its top at y - lineWidth div 2) from
// left to right in color, every dash cut at right. style: 0 solid (a pen line when lineWidth
// is 1, else a filled rectangle), 1 dots (circles above 2 pixels, squares below), 2 short
// dashes, 3 dashes, 4 dash and dot, 5 dash and two dots, 6 sparse dots; others draw nothing.
// With a dashUnit the dashes follow round(dashUnit x the canvas font's pixels per inch / 96),
// otherwise the thickness. The pen is left in color, inside-frame, and the brush clear.
void DrawPatternHorzLine(gfx::TCanvas &canvas, TColor color, int32_t style, int32_t lineWidth,
                         int32_t left, int32_t right, int32_t y, int32_t dashUnit,
                         TVDGraphicInterface &gi);
// One line joining two rectangles (left, top, width, height) from the nearer of each one's
// vertical edges and the nearer of its horizontal edges (ties: the first pair found, in the
// order left-left, right-left, left-right, right-right).
void DrawLineBetweenNearestCorners(int32_t left1, int32_t top1, int32_t width1, int32_t height1,
                                   int32_t left2, int32_t top2, int32_t width2, int32_t height2,
                                   gfx::TCanvas &canvas, TVDGraphicInterface &gi);

// ---- Clipboard ---------------------------------------------------------------------------

// Opens the process's clipboard (gfx::Clipboard()). An open that fails with an error is tried
// again after 250, 500, 750 and 1000 ms, five attempts in all; the fifth failure, or a failure
// that is no error object, passes to the caller. True once open.
bool OpenClipboardWithRetry();
// The same over any open and wait (milliseconds): a clipboard that stays locked, in tests.
bool OpenClipboardWithRetry(const std::function<void()> &open,
                            const std::function<void(int32_t)> &wait);

// Makes the GDI engine print bitmaps with StretchDrawBitmapHalftone; off, and never set by the
// library.
inline bool PrintBitmapHalftone = false;

} // namespace vizivodu
