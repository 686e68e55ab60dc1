// Item text access, code-page conversions, charset tables and encoding probes.
#include "vizivodu/document/VDUnicode.h"

#include "vizivodu/document/VDError.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <unicode/uchar.h>

static_assert(std::endian::native == std::endian::little,
              "raw Unicode is read and written as the host's char16_t");

namespace vizivodu {

void RaiseUnicodeOperationError() {
    throw EViziVoduError(rtl::UnicodeString(errmsg::UnicodeOperation));
}

namespace {

constexpr TVDCodePage kMacCodePage = 2;
// The Macintosh code page of a Russian system (Mac Cyrillic).
constexpr TVDCodePage kSystemMacCodePage = 10007;

TVDCodePage ResolveCodePage(TVDCodePage codePage) {
    return codePage == kMacCodePage ? kSystemMacCodePage : codePage;
}

bool TryAnsiToUnicode(std::string_view s, TVDCodePage codePage, rtl::UnicodeString &out) {
    try {
        out = rtl::AnsiToUnicode(s, ResolveCodePage(codePage));
        return true;
    } catch (const rtl::EEncodingError &) {
        return false;
    }
}

bool TryUnicodeToAnsi(std::u16string_view s, TVDCodePage codePage, TVDAnsiString &out) {
    try {
        out = rtl::UnicodeToAnsi(s, ResolveCodePage(codePage));
        return true;
    } catch (const rtl::EEncodingError &) {
        return false;
    }
}

// The class library's Copy/Delete/Insert clamping, on bytes (1-based start, byte count).
TVDRawByteString CopyBytes(const TVDRawByteString &s, int64_t start, int64_t count) {
    start = std::max<int64_t>(start, 1);
    const auto size = static_cast<int64_t>(s.size());
    if (start > size || count < 1) {
        return {};
    }
    count = std::min(count, size - start + 1);
    return s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

void DeleteBytes(TVDRawByteString &s, int64_t start, int64_t count) {
    const auto size = static_cast<int64_t>(s.size());
    if (start < 1 || start > size || count < 1) {
        return;
    }
    count = std::min(count, size - start + 1);
    s.erase(static_cast<size_t>(start - 1), static_cast<size_t>(count));
}

void InsertBytes(const TVDRawByteString &sub, TVDRawByteString &s, int64_t start) {
    start = std::clamp<int64_t>(start, 1, static_cast<int64_t>(s.size()) + 1);
    s.insert(static_cast<size_t>(start - 1), sub);
}

std::u16string_view AsUnits(std::string_view raw) {
    return {reinterpret_cast<const char16_t *>(raw.data()), raw.size() / 2};
}

} // namespace

// ---- Item text access ----

TVDRawByteString CopyItemText(const TVDRawByteString &text, int32_t index, int32_t count,
                              TVDItemOptions options) {
    if (options.Contains(vdioUnicode)) {
        return CopyBytes(text, 2 * int64_t{index} - 1, 2 * int64_t{count});
    }
    return CopyBytes(text, index, count);
}

int32_t GetItemTextLength(const TVDRawByteString &text, TVDItemOptions options) {
    const auto bytes = static_cast<int32_t>(text.size());
    return options.Contains(vdioUnicode) ? bytes / 2 : bytes;
}

bool IsItemTextSpaceAt(const TVDRawByteString &text, int32_t index, TVDItemOptions options) {
    if (index < 1 || index > GetItemTextLength(text, options)) {
        return false;
    }
    if (options.Contains(vdioUnicode)) {
        const size_t at = 2 * static_cast<size_t>(index) - 2;
        return text[at] == ' ' && text[at + 1] == 0;
    }
    return text[static_cast<size_t>(index) - 1] == ' ';
}

void DeleteItemText(TVDRawByteString &text, int32_t index, int32_t count, TVDItemOptions options) {
    if (options.Contains(vdioUnicode)) {
        DeleteBytes(text, 2 * int64_t{index} - 1, 2 * int64_t{count});
    } else {
        DeleteBytes(text, index, count);
    }
}

int32_t GetItemTextWidth(const TVDRawByteString &text, gfx::TCanvas &canvas, TVDItemOptions options,
                         TVDGraphicInterface &graphicInterface, TVDRunOptions runOptions) {
    const TVDTextRun run{text.data(), GetItemTextLength(text, options),
                         options.Contains(vdioUnicode), runOptions.Contains(vdroBiDi),
                         runOptions.Contains(vdroIgnoreSpecialChars)};
    return graphicInterface.TextSize(canvas, run).cx;
}

void InsertItemText(const TVDRawByteString &sub, TVDRawByteString &text, int32_t index,
                    TVDItemOptions options) {
    if (options.Contains(vdioUnicode)) {
        InsertBytes(sub, text, 2 * int64_t{index} - 1);
    } else {
        InsertBytes(sub, text, index);
    }
}

// ---- Conversions ----

TVDUnicodeString RawUnicodeToString(std::string_view raw) {
    CheckUnicodeByteLength(raw.size());
    return TVDUnicodeString(AsUnits(raw));
}

TVDRawByteString StringToRawUnicode(std::u16string_view s) {
    TVDRawByteString raw(s.size() * 2, '\0');
    if (!s.empty()) {
        std::memcpy(raw.data(), s.data(), raw.size());
    }
    return raw;
}

TVDRawByteString AnsiToRawUnicode(TVDCodePage codePage, std::string_view s) {
    if (s.empty()) {
        return {};
    }
    rtl::UnicodeString text;
    if (!TryAnsiToUnicode(s, codePage, text) && (codePage == 0 || !TryAnsiToUnicode(s, 0, text))) {
        text.assign(s.size(), u'?');
    }
    return StringToRawUnicode(text);
}

TVDRawByteString SymbolAnsiToRawUnicode(std::string_view s) {
    TVDRawByteString raw(s.size() * 2, '\0');
    for (size_t i = 0; i < s.size(); ++i) {
        raw[2 * i] = s[i];
        raw[2 * i + 1] = static_cast<char>(0xF0);
    }
    return raw;
}

TVDAnsiString UnicodeRawToSymbolAnsi(std::string_view raw) {
    CheckUnicodeByteLength(raw.size());
    TVDAnsiString out;
    std::u16string run; // units below U+F000 waiting for conversion
    auto flush = [&] {
        if (!run.empty()) {
            out += RawUnicodeToAnsi(0, StringToRawUnicode(run));
            run.clear();
        }
    };
    for (char16_t ch : AsUnits(raw)) {
        if (ch < 0xF000) {
            run += ch;
        } else {
            flush();
            if (ch <= 0xF0FF) {
                out += static_cast<char>(ch & 0xFF);
            }
        }
    }
    flush();
    return out;
}

std::string AnsiToUTF8(TVDCodePage codePage, std::string_view s) {
    if (s.empty()) {
        return {};
    }
    return rtl::Utf16ToUtf8(AsUnits(AnsiToRawUnicode(codePage, s)));
}

TVDAnsiString RawUnicodeToAnsi(TVDCodePage codePage, std::string_view raw) {
    CheckUnicodeByteLength(raw.size());
    if (raw.empty()) {
        return {};
    }
    const std::u16string_view units = AsUnits(raw);
    TVDAnsiString out;
    if (!TryUnicodeToAnsi(units, codePage, out) &&
        (codePage == 0 || !TryUnicodeToAnsi(units, 0, out))) {
        out.assign(units.size(), '?');
    }
    return out;
}

bool CanConvertToCodePage(std::string_view, TVDCodePage) {
    return false;
}

TVDRawByteString KeyboardAnsiToRawUnicode(std::string_view s) {
    return AnsiToRawUnicode(GetKeyboardCodePage(), s);
}

TVDUnicodeString ItemTextToString(const TVDRawByteString &text, bool isUnicode,
                                  TVDCodePage codePage) {
    return isUnicode ? RawUnicodeToString(text)
                     : RawUnicodeToString(AnsiToRawUnicode(codePage, text));
}

TVDRawByteString StringToItemText(std::u16string_view s, bool isUnicode, TVDCodePage codePage) {
    TVDRawByteString raw = StringToRawUnicode(s);
    return isUnicode ? raw : RawUnicodeToAnsi(codePage, raw);
}

void SwapUTF16Bytes(char16_t *p, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        p[i] = static_cast<char16_t>((p[i] >> 8) | (p[i] << 8));
    }
}

void SkipUnicodeByteOrderMark(char16_t *&p, int32_t count) {
    if (count <= 0) {
        return;
    }
    if (*p == 0xFEFF) {
        ++p;
    } else if (*p == 0xFFFE) {
        ++p;
        SwapUTF16Bytes(p, count - 1);
    }
}

// ---- Code pages, charsets and locales ----

bool IsDBCSCodePage() {
    // The system's ANSI code page is a single-byte one (1251).
    return false;
}

TVDCodePage CharsetToCodePage(uint8_t charset) {
    switch (charset) {
    case 0:
    case 254:
        return 1252;
    case 2:
        return IsDBCSCodePage() ? 1252 : 0;
    case 77:
        return kMacCodePage;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 1; // the OEM code page
    default:
        return 0; // 1 (DEFAULT_CHARSET) and every unknown charset
    }
}

uint16_t CharsetToLanguage(uint8_t charset) {
    switch (charset) {
    case 0:
    case 1:
    case 178:
    case 186:
    case 238:
        return 0;
    case 128:
        return 1041;
    case 129:
        return 1042;
    case 130:
        return 2066;
    case 134:
        return 2052;
    case 136:
        return 1028;
    case 161:
        return 1032;
    case 162:
        return 1055;
    case 163:
        return 1066;
    case 177:
        return 1037;
    case 204:
        return 1049;
    case 222:
        return 1054;
    default:
        return 1024;
    }
}

TVDCodePage GetKeyboardCodePage() {
    return rtl::GetACP();
}

// ---- Encoding probes ----

int32_t TestStreamForUnicode(rtl::TStream &stream) {
    try {
        const int64_t size = stream.GetSize();
        if (size == 0) {
            return 3;
        }
        if (size % 2 != 0) {
            return 0;
        }
        uint8_t head[2] = {};
        stream.ReadBuffer(head, 2);
        const unsigned unit = head[0] | (head[1] << 8);
        if (unit == 0xFEFF || unit == 0xFFFE) {
            return 1;
        }
        const auto probe = static_cast<int32_t>(std::min<int64_t>(size - 2, 500));
        std::string buffer(static_cast<size_t>(probe), '\0');
        stream.ReadBuffer(buffer.data(), probe);
        return buffer.find('\0') != std::string::npos ? 1 : 2;
    } catch (const rtl::Exception &) {
        return 4;
    }
}

int32_t TestFileForUnicode(const rtl::UnicodeString &fileName) {
    try {
        rtl::TFileStream stream(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        return TestStreamForUnicode(stream);
    } catch (const rtl::Exception &) {
        return 4;
    }
}

int32_t TestStringForUnicode(std::string_view s) {
    if (s.size() % 2 != 0) {
        return 0;
    }
    try {
        rtl::TMemoryStream stream;
        const auto length = static_cast<int32_t>(std::min<size_t>(s.size(), 500));
        stream.WriteBuffer(s.data(), length);
        stream.SetPosition(0);
        return TestStreamForUnicode(stream);
    } catch (const rtl::Exception &) {
        return 4;
    }
}

bool StreamHasUTF8ByteOrderMark(rtl::TStream &stream) {
    try {
        if (stream.GetSize() <= 2) {
            return false;
        }
        uint8_t head[3] = {};
        return stream.Read(head, 3) == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF;
    } catch (const rtl::Exception &) {
        return false;
    }
}

bool FileHasUTF8ByteOrderMark(const rtl::UnicodeString &fileName) {
    try {
        rtl::TFileStream stream(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        return StreamHasUTF8ByteOrderMark(stream);
    } catch (const rtl::Exception &) {
        return false;
    }
}

// ---- Wide-character search ----

const char16_t *ScanWideChar(const char16_t *p, char16_t ch, int32_t count) {
    if (p == nullptr) {
        return nullptr;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (p[i] == ch) {
            return p + i;
        }
    }
    return nullptr;
}

const char16_t *FindWideSubString(const char16_t *p, const char16_t *sub, int32_t len,
                                  int32_t subLen) {
    if (p == nullptr || sub == nullptr || len <= 0 || subLen <= 0 || subLen > len) {
        return nullptr;
    }
    for (int32_t i = 0; i <= len - subLen; ++i) {
        if (p[i] == 0) {
            continue;
        }
        int32_t k = 0;
        while (k < subLen && p[i + k] == sub[k] && sub[k] != 0) {
            ++k;
        }
        // An ordinal compare that stops at a zero unit in both counts as equal there.
        if (k == subLen || (p[i + k] == 0 && sub[k] == 0)) {
            return p + i;
        }
    }
    return nullptr;
}

// ---- Direction of text ----

void GetStrongDirections(std::u16string_view text, TVDBiDiMode &start, TVDBiDiMode &end) {
    bool first = true;
    for (char16_t ch : text) {
        const UCharDirection d = u_charDirection(ch);
        TVDBiDiMode mode = vdbdUnspecified;
        if (d == U_LEFT_TO_RIGHT) {
            mode = vdbdLeftToRight;
        } else if (d == U_RIGHT_TO_LEFT || d == U_RIGHT_TO_LEFT_ARABIC) {
            mode = vdbdRightToLeft;
        }
        if (mode == vdbdUnspecified) {
            continue;
        }
        if (first) {
            start = mode;
            first = false;
        }
        end = mode;
    }
}

} // namespace vizivodu
