// Windows code pages: conversion between 8-bit text in a numbered code page and UTF-16, and the
// text encodings (ANSI, UTF-8, UTF-16 LE/BE) that string lists read and write.
#pragma once

#include "platform/rtl/System.h"

#include <cstdint>
#include <string_view>

namespace rtl {

// Code page numbers as Windows has them. CP_ACP and CP_OEMCP stand for the system's ANSI and
// OEM code pages (1251 and 866 here).
constexpr uint32_t CP_ACP = 0;
constexpr uint32_t CP_OEMCP = 1;
constexpr uint32_t CP_UTF7 = 65000;
constexpr uint32_t CP_UTF8 = 65001;

// The system's ANSI code page: 1251.
uint32_t GetACP();
// The system's OEM code page: 866.
uint32_t GetOEMCP();

// True when text can be converted in this code page (CP_ACP, CP_OEMCP and the numbered code
// pages that have a table; not the UTF-16 and UTF-32 numbers 1200, 1201, 12000, 12001).
bool IsValidCodePage(uint32_t codePage);

// 8-bit text to UTF-16. In a single-byte code page every byte gives one character; a byte
// that the code page leaves undefined gives the character of the same number (0x98 in 1251
// gives U+0098), as Windows does. Malformed multi-byte input gives U+FFFD.
// Throws EEncodingError "Invalid code page" for a code page without a table.
UnicodeString AnsiToUnicode(std::string_view bytes, uint32_t codePage = CP_ACP);

// UTF-16 to 8-bit text. A character that the code page cannot hold becomes '?' (one per
// code point, so a surrogate pair gives one '?'); an unpaired surrogate also becomes '?'
// (in UTF-8 it becomes U+FFFD).
// Throws EEncodingError "Invalid code page" for a code page without a table.
AnsiString UnicodeToAnsi(std::u16string_view text, uint32_t codePage = CP_ACP);

// ANSI (1251) to OEM (866) text and back, through UTF-16.
AnsiString AnsiToOem(std::string_view ansi);
AnsiString OemToAnsi(std::string_view oem);

// A text encoding as string lists use it: a code page number, with 1200 for UTF-16 LE and
// 1201 for UTF-16 BE. Default() is the ANSI code page. The UTF encodings have a preamble
// (byte-order signature); the 8-bit code pages have none.
class TEncoding {
public:
    static TEncoding Default() { return TEncoding(CP_ACP); }
    static TEncoding ANSI() { return TEncoding(CP_ACP); }
    static TEncoding UTF8() { return TEncoding(CP_UTF8); }
    static TEncoding Unicode() { return TEncoding(1200); }
    static TEncoding BigEndianUnicode() { return TEncoding(1201); }
    // Throws EEncodingError "Invalid code page" for a number without a table.
    static TEncoding GetEncoding(uint32_t codePage);

    // The code page; CP_ACP and CP_OEMCP are resolved to 1251 and 866.
    uint32_t GetCodePage() const;
    // EF BB BF, FF FE or FE FF for UTF-8, UTF-16 LE and UTF-16 BE; empty otherwise.
    RawByteString GetPreamble() const;
    // The text of the bytes (no preamble expected). A UTF-16 byte count that is odd leaves
    // the last byte out.
    UnicodeString GetString(std::string_view bytes) const;
    // The bytes of the text, without a preamble.
    RawByteString GetBytes(std::u16string_view text) const;

    // The encoding whose preamble starts the bytes (UTF-8, UTF-16 LE or UTF-16 BE), and that
    // preamble's length; false when none does.
    static bool DetectPreamble(std::string_view bytes, TEncoding &encoding, size_t &preambleLength);

    bool operator==(const TEncoding &other) const { return GetCodePage() == other.GetCodePage(); }

private:
    explicit TEncoding(uint32_t codePage) : FCodePage(codePage) {}
    uint32_t FCodePage;
};

} // namespace rtl
