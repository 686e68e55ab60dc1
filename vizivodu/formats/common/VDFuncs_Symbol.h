// Text in the fonts "Symbol" and "Wingdings", stored by font codes, turned into Unicode
// characters and HTML text. ANSI text holds one font code per byte; raw Unicode holds UTF-16LE
// code units, the symbol fonts' codes in the private-use range U+F000..U+F0FF.
#pragma once

#include "platform/rtl/System.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <cstdint>
#include <string_view>

namespace vizivodu {

// The Unicode character of a Symbol font code (the Adobe Symbol encoding); 0 for none (codes
// below 32, 127 to 159, 240 and 255).
char16_t SymbolCodeToUnicode(uint8_t code);
// The HTML entity name (or "#" and a number, or the character itself) of a Symbol font code;
// empty for none.
std::string_view SymbolCodeToHTMLName(uint8_t code);
// The Unicode character of a Wingdings font code; U+2022 for codes without one.
char16_t WingdingsCharToUnicode(uint8_t code);

// Each code with a character becomes it; the others are dropped.
TVDRawByteString SymbolAnsiToUnicodeRaw(std::string_view s);
TVDRawByteString SymbolRawToUnicodeRaw(std::string_view raw);
TVDRawByteString WingdingsAnsiToUnicodeRaw(std::string_view s);
TVDRawByteString WingdingsRawToUnicodeRaw(std::string_view raw);

// HTML text: with utf8 the characters as UTF-8, escaped as page text (EscapeHTMLTextAnsi);
// without, Symbol codes as entities or characters, Wingdings codes as numeric entities. With
// trailingNbsp a final blank is "&nbsp;".
AnsiString SymbolAnsiToHTML(std::string_view s, bool utf8, bool trailingNbsp);
AnsiString SymbolRawToHTML(std::string_view raw, bool utf8, bool trailingNbsp);
AnsiString SymbolUnicodeToHTML(const UnicodeString &s, bool utf8, bool trailingNbsp);
AnsiString WingdingsAnsiToHTML(std::string_view s, bool utf8, bool trailingNbsp);
AnsiString WingdingsRawToHTML(std::string_view raw, bool utf8, bool trailingNbsp);
AnsiString WingdingsUnicodeToHTML(const UnicodeString &s, bool utf8, bool trailingNbsp);

} // namespace vizivodu
