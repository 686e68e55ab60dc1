// Test helpers: a temporary folder, "base.info" and "Result.txt" lines built from names and
// codes (scrambled and Base64-encoded as the database keeps them), and file writing in the
// encodings the workbench reads.
#pragma once

#include "app/core/UWorkbenchData.h"
#include "ecg/EncDecHelper.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/FormatSettings.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace workbench::testing {

using rtl::U;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TTempFolder {
public:
    TTempFolder() {
        static std::atomic<int> counter{0};
        std::string leaf = "wb_app_core_";
        leaf += std::to_string(::getpid());
        leaf += "_";
        leaf += std::to_string(++counter);
        FPath = std::filesystem::temp_directory_path() / leaf;
        std::filesystem::create_directories(FPath);
    }
    ~TTempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(FPath, ec);
    }
    TTempFolder(const TTempFolder &) = delete;
    TTempFolder &operator=(const TTempFolder &) = delete;

    const std::filesystem::path &Path() const { return FPath; }
    // The folder as the workbench names it, with a trailing separator.
    UnicodeString Name() const { return rtl::Utf8ToUtf16(FPath.string() + "/"); }
    UnicodeString File(const std::string &name) const {
        return rtl::Utf8ToUtf16((FPath / name).string());
    }

private:
    std::filesystem::path FPath;
};

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
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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

// Sets the format settings' decimal separator for one test and restores the old settings.
class TDecimalSeparatorScope {
public:
    explicit TDecimalSeparatorScope(char16_t separator) : FOld(rtl::FormatSettings()) {
        rtl::TFormatSettings settings = rtl::TFormatSettings::Russian();
        settings.DecimalSeparator = separator;
        rtl::SetFormatSettings(settings);
    }
    ~TDecimalSeparatorScope() { rtl::SetFormatSettings(FOld); }
    TDecimalSeparatorScope(const TDecimalSeparatorScope &) = delete;
    TDecimalSeparatorScope &operator=(const TDecimalSeparatorScope &) = delete;

private:
    rtl::TFormatSettings FOld;
};

} // namespace workbench::testing
