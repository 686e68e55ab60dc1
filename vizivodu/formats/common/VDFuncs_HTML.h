// HTML and CSS text of the format writers: colours as HTML and CSS values, escaping of text and
// attribute values, the legacy font markup of text styles and list markers, the HTML and XHTML
// attribute forms, charset names and small string utilities.
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/rtl/System.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <cstdint>
#include <string_view>

namespace gfx {
class TFont;
}

namespace vizivodu {

class TCustomVDFontInfo;

// ---- Colours ----
// clWindowText counts as black; a system colour is resolved to its RGB value; clNone gives the
// empty text (ColorToCSS: "transparent").

// "#rrggbb" in lower case, in double quotes when quoted.
AnsiString ColorToHTMLStrAnsi(TColor color, bool quoted);
UnicodeString ColorToHTMLStr(TColor color, bool quoted);
AnsiString ColorToCSS(TColor color);
// ColorToCSS at opacity 100000, else "rgba(r,g,b,a)" with a = opacity / 100000
// (FormatDecimal2); empty for clNone.
AnsiString ColorOpacityToCSS(TColor color, TVDOpacity opacity);
// A non-negative number: the integer part, then "." and the hundredths when they round to
// anything but 0, a final zero dropped (0.5 gives "0.5", 0.05 "0.05").
AnsiString FormatDecimal2(long double value);
// A length in points as CSS: "-" for a negative value, then FormatDecimal2 of its magnitude and
// "pt" (12 gives "12pt", -17.5 "-17.5pt", 10.05 "10.05pt").
AnsiString FloatToPointsStr(long double points);

// ---- Escaping ----
// "&" is replaced first and its replacement is never searched again.

// "&", ">", "<" (and with quotes the double quote) as entities; with controlsToQuestion every
// byte below 32 as "?".
AnsiString EscapeHTMLAnsi(std::string_view s, bool quotes, bool controlsToQuestion);
// Text of an HTML page: unchanged with raw; otherwise "&", ">", "<" escaped, a run of n blanks
// as n - 1 "&nbsp;" and one blank, a final blank as "&nbsp;" with trailingNbsp, bytes below
// 32 as "?".
AnsiString EscapeHTMLTextAnsi(std::string_view s, bool raw, bool trailingNbsp);
// As EscapeHTMLTextAnsi, the double quote escaped too, control characters and non-characters
// (U+FDD0..U+FDEF, U+FFFE, U+FFFF) as "?".
UnicodeString EscapeHTMLTextUnicode(const UnicodeString &s);
// "&", ">", "<" and the double quote escaped, control characters and non-characters as "?".
UnicodeString EscapeHTMLAttrUnicode(const UnicodeString &s);
UnicodeString EscapeXMLAttrUnicode(const UnicodeString &s);
AnsiString ControlCharsToQuestionAnsi(std::string_view s);
UnicodeString ControlCharsToQuestion(const UnicodeString &s);
// Control characters (below 32) and the non-characters above.
bool IsControlOrNonCharacter(char16_t ch);

// ---- Legacy font markup ----

// The "<font ...>" element and the style tags that open style (against baseStyle, which may
// be null without onlyDifferences), then "<sub>" or "<sup>".
UnicodeString GetHTMLOpenFontTags(const TCustomVDFontInfo &style,
                                  const TCustomVDFontInfo *baseStyle, bool onlyDifferences,
                                  TVDSaveOptions saveOptions);
// The tags that close what GetHTMLOpenFontTags opened, in reverse order.
AnsiString GetHTMLCloseFontTags(const TCustomVDFontInfo &style, const TCustomVDFontInfo *baseStyle,
                                bool onlyDifferences);
// A list marker's font against the text style of its paragraph, always as differences; the
// face only withFace.
UnicodeString GetHTMLOpenMarkerFontTags(const gfx::TFont &markerFont,
                                        const TCustomVDFontInfo &textStyle, bool withFace,
                                        TVDSaveOptions saveOptions);
AnsiString GetHTMLCloseMarkerFontTags(const gfx::TFont &markerFont,
                                      const TCustomVDFontInfo &textStyle, bool withFace);
// CSS declarations of a marker font separated by blanks: weight, style, size, family (with
// withFamily; symbol fonts get Unicode fonts), decoration, colour.
UnicodeString GetMarkerFontCSS(const gfx::TFont &markerFont, bool withFamily);

// ---- HTML and XHTML forms ----

AnsiString GetXHTMLTagEnd(TVDSaveOptions saveOptions);
AnsiString GetHTMLBoolAttr(std::string_view name, TVDSaveOptions saveOptions);
AnsiString IntToHTMLAttrValue(int32_t value, TVDSaveOptions saveOptions);
UnicodeString IntToHTMLAttrValueW(int32_t value, TVDSaveOptions saveOptions);
AnsiString QuoteHTMLAttrValue(const AnsiString &s, TVDSaveOptions saveOptions);

// ---- Charsets and sizes ----

// The HTML charset name of a Windows character set; empty for one without a name.
AnsiString CharsetToHTMLCharsetName(uint8_t charset);
// Points to the legacy font sizes 1 to 7.
int32_t FontSizeToHTMLSize(int32_t sizePoints);

// ---- Strings ----

void AppendWithSeparator(UnicodeString &s, const UnicodeString &str,
                         const UnicodeString &separator);
void AppendWithSeparatorAnsi(AnsiString &s, std::string_view str, std::string_view separator);
void AppendWithSpace(UnicodeString &s, const UnicodeString &str);
void AppendWithSpaceAnsi(AnsiString &s, std::string_view str);
UnicodeString BackslashesToSlashes(const UnicodeString &s);
// Replace every occurrence, searching again from the start after each replacement: the
// replacement must not contain the pattern (the call would not end).
void ReplaceAllUnicode(UnicodeString &s, const UnicodeString &pattern,
                       const UnicodeString &replacement);
void ReplaceAllAnsi(AnsiString &s, std::string_view pattern, std::string_view replacement);
// Replace every occurrence, searching on after the inserted replacement.
void ReplaceAllUnicodeForward(UnicodeString &s, const UnicodeString &pattern,
                              const UnicodeString &replacement);
void ReplaceAllAnsiForward(AnsiString &s, std::string_view pattern, std::string_view replacement);

} // namespace vizivodu
