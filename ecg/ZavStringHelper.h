// Splitting text at a delimiter, and strings to and from byte arrays (ANSI or UTF-8, optionally
// with a leading length byte as in a short string).
#pragma once

#include "ecg/TypesHelper.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/System.h"

#include <memory>

namespace ecg {

// The parts of s between occurrences of delimiter, in order: a leading delimiter gives an empty
// first part, adjacent delimiters an empty part between them, a trailing delimiter no empty
// last part; an empty s gives an empty list, an empty delimiter one part holding s.
std::unique_ptr<rtl::TStringList> SplitString(const rtl::UnicodeString &s,
                                              const rtl::UnicodeString &delimiter);

// The text of the bytes, decoded as UTF-8 or ANSI. With lengthByte, byte 0 is the count and
// bytes 1 to count the characters (a count beyond the array is cut to it).
rtl::UnicodeString BytesToString(const byte_array &bytes, bool lengthByte, bool utf8);

// The ANSI bytes of s into bytes. The array is resized to the text's length (plus the length
// byte) when it is empty or longer than that by more than one; otherwise it keeps its length
// and takes as many bytes as fit. With lengthByte, byte 0 holds the count of copied
// characters, at most 255.
void StringToBytes(const rtl::UnicodeString &s, byte_array &bytes, bool lengthByte);

} // namespace ecg
