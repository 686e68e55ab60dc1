// URLs and file paths of the format writers: recognising URLs and e-mail addresses, percent
// encoding and decoding, file URLs, the server, drive and folder of a URL or path, relative URLs
// and hexadecimal digits.
#pragma once

#include "platform/rtl/System.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <functional>

namespace vizivodu {

// When set, a text it accepts is a URL whatever its prefix (unset at start).
inline std::function<bool(const UnicodeString &text)> IsURLCheck;

// IsURLCheck accepts it, or the text in lower case starts with "http://", "ftp://", "file://",
// "gopher://", "mailto:", "https://", "news:", "telnet:", "wais:", "www." or "ftp." and is longer.
bool IsURL(const UnicodeString &text);
// An "@" stands before the last ".".
bool IsEmailAddress(const UnicodeString &text);
// Line feed, carriage return, blank, double quote, "%" and "+" as "%XX" (upper-case digits).
UnicodeString PercentEncodeURL(const UnicodeString &text);
// Line feed, carriage return and blank only.
UnicodeString PercentEncodeSpaces(const UnicodeString &text);
// Runs of "%XX" bytes decoded together as UTF-8 ("%0D" and "%0A" stay encoded unless
// allowCRLF); every other "+" becomes a blank.
UnicodeString DecodeURL(const UnicodeString &text, bool allowCRLF);
// A "file:" URL (any case) as a path of this platform: the prefix and the slashes after it
// removed, "\" turned into "/", and the root "/" put back unless a drive letter follows. Other
// texts unchanged.
UnicodeString FileURLToPath(const UnicodeString &text);
// With "://": the scheme, "://" and the text up to the first "/", "\" or "?"; otherwise the
// text up to the first of those.
UnicodeString ExtractURLServer(const UnicodeString &text);
// ExtractURLServer for a URL with "://"; otherwise the path's drive ("C:", or "\\server\share"
// of a network path; empty for others).
UnicodeString ExtractURLOrFileDrive(const UnicodeString &text);
// The text after its drive, up to and including its last ":", "/" or "\".
UnicodeString ExtractURLPath(const UnicodeString &text);
// target relative to the folder of baseFile ("../" for every base folder left, then the
// target's remaining folders and file name); target unchanged when it holds "?" or lies on
// another drive or server.
UnicodeString MakeRelativeURL(const UnicodeString &baseFile, const UnicodeString &target);
// 0 to 15 for "0".."9", "A".."F", "a".."f"; -1 for any other character.
int32_t HexDigitValue(char16_t ch);
bool IsHexDigit(char16_t ch);

} // namespace vizivodu
