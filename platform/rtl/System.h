// The class library's basic types: fixed-width integers, UTF-16 and 8-bit strings, byte arrays,
// date-time, and the UTF-8 <-> UTF-16 conversion that every other unit uses for literals.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

using Integer = int32_t;
using Cardinal = uint32_t;
using SmallInt = int16_t;
using Byte = uint8_t;
using Word = uint16_t;
using Int64 = int64_t;
using Extended = long double;

// UTF-16 text, as the class library's string type.
using UnicodeString = std::u16string;
// 8-bit text in some code page (ANSI unless said otherwise) and raw bytes held as text.
using AnsiString = std::string;
using RawByteString = std::string;
using UTF8String = std::string;

using TBytes = std::vector<Byte>;

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

// UTF-8 to UTF-16. Malformed sequences become U+FFFD, one per bad byte.
UnicodeString Utf8ToUtf16(std::string_view utf8);
// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// Shorthand for writing UTF-16 text from UTF-8 source literals: U("Отчет").
inline UnicodeString U(std::string_view utf8) {
    return Utf8ToUtf16(utf8);
}

} // namespace rtl
