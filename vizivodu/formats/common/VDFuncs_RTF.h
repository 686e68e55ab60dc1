// RTF text of the format writers: escaping of 8-bit text, Unicode text as \uN control words
// with an 8-bit fallback, typographic characters as control words, bookmark names, the hint
// attribute of the three output formats and two character-set helpers.
#pragma once

#include "platform/rtl/System.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <string_view>

namespace rtl {
class TStream;
}

namespace vizivodu {

// How Unicode text is written as RTF (WriteUnicodeAsRTF).
struct TVDRTFUnicodeOptions {
    // The document's fallback convention: "\uc1" is in force at the start, so every \uN is
    // followed by its 8-bit fallback.
    bool FallbackFlag = false;
    // Write fallbacks (with "\uc" counts) even without FallbackFlag.
    bool UseFallback = false;
    // Nothing escaped, no control words for typographic characters.
    bool NoEscape = false;
    // A backslash becomes four (text inside a quoted field argument).
    bool DoubleBackslashes = false;
    // "\", "{" and "}" as hexadecimal escapes.
    bool BracesAsHex = false;
    // A double quote gets two backslashes before it.
    bool FieldArg = false;
};

// RTF text of 8-bit text: "\", "{", "}" escaped with a backslash (not with noEscape or
// bracesAsHex; with fieldArg two backslashes before a double quote too), then every byte below
// 32 or above 127 as "\'hh"; with specialAsWords byte 149 as "\bullet " and 160 as "\~"; with
// bracesAsHex "\", "{", "}" as "\'hh" too.
AnsiString EscapeRTFAnsi(std::string_view s, bool noEscape, bool specialAsWords, bool bracesAsHex,
                         bool fieldArg);
// Raw Unicode (UTF-16LE bytes; an odd last byte is ignored) as RTF, one code unit at a time:
// ASCII escaped, typographic characters as control words, every other unit as "\uN " (N
// unsigned) with, when fallbacks are on, its fallback in codePage and "\uc" counts whenever the
// fallback's byte length changes; the starting count is restored at the end.
void WriteUnicodeAsRTF(rtl::TStream &stream, std::string_view raw, TVDCodePage codePage,
                       const TVDRTFUnicodeOptions &options);
AnsiString RawUnicodeToRTF(std::string_view raw, TVDCodePage codePage,
                           const TVDRTFUnicodeOptions &options);
// Fallbacks on, nothing else.
AnsiString UnicodeToRTF(const UnicodeString &s, TVDCodePage codePage, bool fallbackFlag);
// Text for a quoted argument of a field instruction: FieldArg, DoubleBackslashes, fallbacks.
AnsiString UnicodeToRTFFieldArg(const UnicodeString &s, TVDCodePage codePage, bool fallbackFlag);
AnsiString UnicodeToRTFEx(const UnicodeString &s, TVDCodePage codePage, bool fallbackFlag,
                          bool useFallback, bool noEscape, bool bracesAsHex);

// Every character that is not a letter or a digit replaced by "_".
UnicodeString MakeBookmarkName(const UnicodeString &s);
// The hint of a hyperlink as the output format writes it: an HTML title attribute, the RTF
// field switch \o (double quotes turned into apostrophes so the argument stays closed), a DOCX
// tooltip attribute; the hint itself for the other formats; empty for an empty hint.
UnicodeString MakeHintAttribute(TVDSaveFormat saveFormat, const UnicodeString &hint);

// Every character below 128 that is one of chars replaced by ch.
UnicodeString ReplaceCharsInSet(const UnicodeString &s, std::string_view chars, char16_t ch);
// text inserted before every byte of s that is one of chars.
AnsiString InsertBeforeCharsInSet(std::string_view s, std::string_view chars,
                                  std::string_view text);

} // namespace vizivodu
