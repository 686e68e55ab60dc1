// Values on the lines of the native document format: line writing, encoded and optional
// strings, the header tokenizer, and hexadecimal text.
//
// Encoded string: UTF-8 with every CR byte replaced by 0x01 and every LF byte by 0x02, so it
// never breaks a line. Optional string: the bare token "0" for an empty value, otherwise the
// value in double quotes with inner quotes doubled, then encoded. Header lines are read with a
// cursor into a NUL-terminated line; each reader moves past what it took and one blank.
#pragma once

#include "vizivodu/document/VDUnicode.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl {
class TStream;
}

namespace vizivodu {

inline constexpr std::string_view VDFCrLf = "\r\n";

void VDFWrite(rtl::TStream &stream, std::string_view s);
// s and CR LF.
void VDFWriteLine(rtl::TStream &stream, std::string_view s);

std::string VDFEscapeLineBreaks(std::string_view s);
std::string VDFUnescapeLineBreaks(std::string_view s);
std::string VDFEncodeString(std::u16string_view s);
// Line breaks unescaped, then UTF-8 decoded (utf8) or converted from the ANSI code page.
TVDUnicodeString VDFDecodeString(std::string_view s, bool utf8);
// "0" for an empty s; otherwise quoted (inner quotes doubled) and encoded.
std::string VDFFormatOptionalString(bool tagsArePChars, std::u16string_view s);

// Characters up to the next blank or NUL; true when at least one was taken.
bool VDFReadToken(const char *&p, std::string &s);
// An optional "-" and decimal digits up to a blank or NUL. False (cursor unchanged) when the
// text is not such a number or lies outside the 32-bit range; "-" alone reads as 0.
bool VDFReadInteger(const char *&p, int32_t &value);
// When p starts with quote: the text up to the closing quote (doubled quotes stand for one),
// p past it (to the end when there is none). Otherwise empty and p unchanged.
void VDFExtractQuotedString(const char *&p, char quote, std::string &s);
// A double-quoted string, then one blank.
void VDFReadQuotedString(const char *&p, std::string &s);
// A quoted string (when allowQuoted) or a bare token, decoded; a bare "0" is empty. False when
// there is neither.
bool VDFReadOptionalString(const char *&p, bool tagsArePChars, bool allowQuoted, bool utf8,
                           TVDUnicodeString &s);

// Two upper-case digits a byte.
std::string VDFStringToHex(std::string_view s);
// Empty for an odd length; stops at the first pair that is not two hex digits.
TVDRawByteString VDFHexToString(std::string_view hex);

} // namespace vizivodu
