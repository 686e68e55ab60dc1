// Test helpers of the workbench's data: "base.info" and "Result.txt" lines built from names and
// codes (scrambled and Base64-encoded as the database keeps them), and files written in the
// encodings the workbench reads.
#pragma once

#include "app/core/UWorkbenchData.h"
#include "ecg/EncDecHelper.h"
#include "platform/rtl/CodePages.h"
#include "tests/support/Fixtures.h"

#include <filesystem>
#include <string>
#include <vector>

namespace workbench::testing {

using rtl::U;

using wbtest::TDecimalSeparatorScope;
using wbtest::TTempFolder;

enum class TFileEncoding { feAnsi, feUtf8Bom, feUtf16Bom };

// Writes lines joined by CR LF (with a final CR LF) in the given encoding.
inline void WriteLines(const std::filesystem::path &path, const std::vector<UnicodeString> &lines,
                       TFileEncoding encoding = TFileEncoding::feAnsi) {
    UnicodeString text;
    for (const UnicodeString &line : lines) {
        text += line + u"\r\n";
    }
    std::string bytes;
    switch (encoding) {
    case TFileEncoding::feAnsi:
        bytes = rtl::UnicodeToAnsi(text);
        break;
    case TFileEncoding::feUtf8Bom:
        bytes = "\xEF\xBB\xBF" + rtl::Utf16ToUtf8(text);
        break;
    case TFileEncoding::feUtf16Bom:
        bytes = "\xFF\xFE";
        for (const char16_t ch : text) {
            bytes += static_cast<char>(ch & 0xFF);
            bytes += static_cast<char>(ch >> 8);
        }
        break;
    }
    wbtest::WriteFileBytes(path, bytes);
}

// The name padded with blanks to 10 characters, then five filler characters.
inline UnicodeString LineHead(const UnicodeString &name, const UnicodeString &filler = u"     ") {
    UnicodeString head = name;
    if (head.size() < 10) {
        head.append(10 - head.size(), u' ');
    }
    return head + filler;
}

// The payload of a "base.info" line: byte i is code i (0 past the list) XOR key byte i, for
// byteCount bytes (11 in a conforming database).
inline UnicodeString Payload(const std::vector<int32_t> &codes, size_t byteCount = 11) {
    const TBaseInfoKey key = MakeBaseInfoKey();
    ecg::byte_array bytes(byteCount);
    for (size_t i = 0; i < byteCount; ++i) {
        const int32_t code = i < codes.size() ? codes[i] : 0;
        bytes[i] = static_cast<uint8_t>(code ^ (i < key.size() ? key[i] : 0));
    }
    return ecg::TEncDecHelper::GetBase64StringFromBA(bytes);
}

inline UnicodeString BaseInfoLine(const UnicodeString &name, const std::vector<int32_t> &codes,
                                  const UnicodeString &filler = u"     ") {
    return LineHead(name, filler) + Payload(codes);
}

// A "Result.txt" line: the codes as two-digit numbers without separators.
inline UnicodeString ResultLine(const UnicodeString &name, const std::vector<int32_t> &codes) {
    UnicodeString line = LineHead(name);
    for (const int32_t c : codes) {
        line += static_cast<char16_t>(u'0' + c / 10);
        line += static_cast<char16_t>(u'0' + c % 10);
    }
    return line;
}

} // namespace workbench::testing
