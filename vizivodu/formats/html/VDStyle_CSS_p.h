// Internals shared by the CSS writers of text, paragraph and list styles and of the sheet.
#pragma once

#include "platform/rtl/System.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <string_view>

namespace rtl {
class TStream;
}

namespace vizivodu {

class TCustomVDFontInfo;
class TVDStyle;

void WriteCSSText(rtl::TStream &stream, std::string_view s);
// s and CR LF.
void WriteCSSLine(rtl::TStream &stream, std::string_view s);
// s, and CR LF when multiline.
void WriteCSSProperty(rtl::TStream &stream, std::string_view s, bool multiline);
// vdStyle's GetCSSSize; pixels without a sheet.
AnsiString CSSSize(const TVDStyle *vdStyle, TVDStyleLength value);
// The text-decoration value of a style ("none" when nothing applies), and its styled underline
// as a "border-bottom: ..." declaration without the semicolon (empty for none); with hover the
// hover underline effect counts and the hover underline colour replaces the colour.
AnsiString TextDecorationCSS(const TCustomVDFontInfo &style, bool hover);
AnsiString UnderlineBorderCSS(const TCustomVDFontInfo &style, bool hover);

} // namespace vizivodu
