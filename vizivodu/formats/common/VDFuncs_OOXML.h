// Office Open XML (WordprocessingML) text of the format writers: colours, escaped text and
// attribute values, URLs, the small property elements and namespace declarations. Results are
// UTF-8.
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/rtl/System.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <initializer_list>
#include <string_view>

namespace vizivodu {

// "auto" for clWindowText and clNone when allowAuto; otherwise "RRGGBB" in upper case (clNone
// gives white).
AnsiString ColorToOOXMLStr(TColor color, bool allowAuto);
// Control characters and non-characters as "?", UTF-8, "&", ">" and "<" escaped.
AnsiString MakeOOXMLStr(const UnicodeString &s);
AnsiString MakeOOXMLStrW(const UnicodeString &s);
// MakeOOXMLStr with the double quote escaped too.
AnsiString MakeOOXMLAttrStr(const UnicodeString &s);
// An attribute value holding a URL: as MakeOOXMLAttrStr, then percent-encoded (only line ends
// and blanks with spacesOnly).
AnsiString MakeOOXMLURL(const UnicodeString &s, bool spacesOnly);
// "<w:name/>", or "<w:name w:val="0"/>" for false.
AnsiString GetOOXMLBoolProp(std::string_view name, bool value);
// "<w:name w:val="value"/>"; value is written as it is.
AnsiString GetOOXMLStrProp(std::string_view name, std::string_view value);
AnsiString GetOOXMLIntProp(std::string_view name, int32_t value);
AnsiString GetOOXMLColorProp(std::string_view name, TColor color);
// xmlns:prefix="namespace" for every known prefix, separated by blanks; unknown ones skipped.
AnsiString GetOOXMLNamespaceAttrs(std::initializer_list<std::string_view> prefixes);

} // namespace vizivodu
