// Code-page conversion on ICU's Windows tables. Single-byte code pages are turned into two
// lookup tables once, so converting a file of a few megabytes is a plain table walk.
#include "platform/rtl/CodePages.h"

#include "platform/rtl/Exceptions.h"

#include <unicode/ucnv.h>

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace rtl {

namespace {

constexpr uint32_t kAnsiCodePage = 1251;
constexpr uint32_t kOemCodePage = 866;
constexpr uint16_t kUnmapped = 0xFFFF;

[[noreturn]] void ThrowInvalidCodePage() {
    throw EEncodingError(UnicodeString(u"Invalid code page"));
}

uint32_t ResolveCodePage(uint32_t codePage) {
    switch (codePage) {
    case CP_ACP:
    case 3: // the thread's ANSI code page
        return kAnsiCodePage;
    case CP_OEMCP:
        return kOemCodePage;
    default:
        return codePage;
    }
}

bool IsUtf16Or32(uint32_t codePage) {
    return codePage == 1200 || codePage == 1201 || codePage == 12000 || codePage == 12001;
}

struct ConverterCloser {
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// ICU knows most Windows code pages as "windows-N"; a few only under other names.
ConverterPtr OpenConverter(uint32_t codePage) {
    const std::string number = std::to_string(codePage);
    std::vector<std::string> names = {"windows-" + number, "cp" + number, "ibm-" + number};
    if (codePage == 28591) {
        names.insert(names.begin(), "ISO-8859-1");
    }
    for (const std::string &name : names) {
        UErrorCode error = U_ZERO_ERROR;
        ConverterPtr converter(ucnv_open(name.c_str(), &error));
        if (U_SUCCESS(error) && converter) {
            return converter;
        }
    }
    return nullptr;
}

// One code page's conversion state. Single-byte pages use the tables only and are safe to
// share between threads; multi-byte pages convert through the ICU converter under a lock.
struct CodePageTable {
    bool singleByte = false;
    std::array<char16_t, 256> toUnicode{};
    std::vector<uint16_t> fromUnicode;
    std::mutex lock;
    ConverterPtr converter;
};

// Byte b of a single-byte page: its character, or U+00bb when the page leaves b undefined.
void BuildSingleByteTables(CodePageTable &table) {
    UConverter *converter = table.converter.get();
    UErrorCode error = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
    table.fromUnicode.assign(0x10000, kUnmapped);
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        UChar out[4];
        error = U_ZERO_ERROR;
        ucnv_reset(converter);
        const int32_t length = ucnv_toUChars(converter, out, 4, &byte, 1, &error);
        const char16_t ch = (U_SUCCESS(error) && length == 1) ? out[0] : static_cast<char16_t>(b);
        table.toUnicode[b] = ch;
        if (table.fromUnicode[ch] == kUnmapped) {
            table.fromUnicode[ch] = static_cast<uint16_t>(b);
        }
    }
}

std::unique_ptr<CodePageTable> BuildTable(uint32_t codePage) {
    ConverterPtr converter = OpenConverter(codePage);
    if (!converter) {
        return nullptr;
    }
    auto table = std::make_unique<CodePageTable>();
    table->converter = std::move(converter);
    table->singleByte = ucnv_getMaxCharSize(table->converter.get()) == 1;
    if (table->singleByte) {
        BuildSingleByteTables(*table);
    } else {
        UErrorCode error = U_ZERO_ERROR;
        ucnv_setSubstChars(table->converter.get(), "?", 1, &error);
    }
    return table;
}

// The cached table of a resolved code page other than UTF-8; nullptr when ICU has none.
CodePageTable *FindTable(uint32_t codePage) {
    static std::mutex cacheLock;
    static std::map<uint32_t, std::unique_ptr<CodePageTable>> cache;
    std::lock_guard<std::mutex> guard(cacheLock);
    auto it = cache.find(codePage);
    if (it == cache.end()) {
        it = cache.emplace(codePage, IsUtf16Or32(codePage) ? nullptr : BuildTable(codePage)).first;
    }
    return it->second.get();
}

CodePageTable &RequireTable(uint32_t codePage) {
    CodePageTable *table = FindTable(codePage);
    if (table == nullptr) {
        ThrowInvalidCodePage();
    }
    return *table;
}

UnicodeString MultiByteToUnicode(CodePageTable &table, std::string_view bytes) {
    std::lock_guard<std::mutex> guard(table.lock);
    UnicodeString out(bytes.size() * 2 + 2, u'\0');
    UErrorCode error = U_ZERO_ERROR;
    ucnv_reset(table.converter.get());
    const int32_t length =
        ucnv_toUChars(table.converter.get(), out.data(), static_cast<int32_t>(out.size()),
                      bytes.data(), static_cast<int32_t>(bytes.size()), &error);
    if (U_FAILURE(error)) {
        throw EEncodingError(UnicodeString(u"No mapping for the Unicode character exists in "
                                           u"the target multi-byte code page"));
    }
    out.resize(static_cast<size_t>(length));
    return out;
}

AnsiString UnicodeToMultiByte(CodePageTable &table, std::u16string_view text) {
    std::lock_guard<std::mutex> guard(table.lock);
    UConverter *converter = table.converter.get();
    AnsiString out(UCNV_GET_MAX_BYTES_FOR_STRING(text.size(), ucnv_getMaxCharSize(converter)),
                   '\0');
    UErrorCode error = U_ZERO_ERROR;
    ucnv_reset(converter);
    const int32_t length = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                           text.data(), static_cast<int32_t>(text.size()), &error);
    if (U_FAILURE(error)) {
        throw EEncodingError(UnicodeString(u"No mapping for the Unicode character exists in "
                                           u"the target multi-byte code page"));
    }
    out.resize(static_cast<size_t>(length));
    return out;
}

AnsiString UnicodeToSingleByte(const CodePageTable &table, std::u16string_view text) {
    AnsiString out(text.size(), '\0');
    const uint16_t *map = table.fromUnicode.data();
    size_t length = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        const uint16_t b = map[ch];
        if (b != kUnmapped) {
            out[length++] = static_cast<char>(b);
            continue;
        }
        out[length++] = '?';
        // A surrogate pair is one character and gives one '?'.
        if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            ++i;
        }
    }
    out.resize(length);
    return out;
}

} // namespace

uint32_t GetACP() {
    return kAnsiCodePage;
}

uint32_t GetOEMCP() {
    return kOemCodePage;
}

bool IsValidCodePage(uint32_t codePage) {
    const uint32_t resolved = ResolveCodePage(codePage);
    return resolved == CP_UTF8 || FindTable(resolved) != nullptr;
}

UnicodeString AnsiToUnicode(std::string_view bytes, uint32_t codePage) {
    const uint32_t resolved = ResolveCodePage(codePage);
    if (resolved == CP_UTF8) {
        return Utf8ToUtf16(bytes);
    }
    CodePageTable &table = RequireTable(resolved);
    if (!table.singleByte) {
        return MultiByteToUnicode(table, bytes);
    }
    UnicodeString out(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        out[i] = table.toUnicode[static_cast<uint8_t>(bytes[i])];
    }
    return out;
}

AnsiString UnicodeToAnsi(std::u16string_view text, uint32_t codePage) {
    const uint32_t resolved = ResolveCodePage(codePage);
    if (resolved == CP_UTF8) {
        return Utf16ToUtf8(text);
    }
    CodePageTable &table = RequireTable(resolved);
    return table.singleByte ? UnicodeToSingleByte(table, text) : UnicodeToMultiByte(table, text);
}

AnsiString AnsiToOem(std::string_view ansi) {
    return UnicodeToAnsi(AnsiToUnicode(ansi, CP_ACP), CP_OEMCP);
}

AnsiString OemToAnsi(std::string_view oem) {
    return UnicodeToAnsi(AnsiToUnicode(oem, CP_OEMCP), CP_ACP);
}

// ---- TEncoding ----

namespace {

constexpr uint32_t kUtf16Le = 1200;
constexpr uint32_t kUtf16Be = 1201;

} // namespace

TEncoding TEncoding::GetEncoding(uint32_t codePage) {
    const uint32_t resolved = ResolveCodePage(codePage);
    if (resolved != kUtf16Le && resolved != kUtf16Be && !IsValidCodePage(resolved)) {
        ThrowInvalidCodePage();
    }
    return TEncoding(resolved);
}

uint32_t TEncoding::GetCodePage() const {
    return ResolveCodePage(FCodePage);
}

RawByteString TEncoding::GetPreamble() const {
    switch (GetCodePage()) {
    case CP_UTF8:
        return "\xEF\xBB\xBF";
    case kUtf16Le:
        return "\xFF\xFE";
    case kUtf16Be:
        return "\xFE\xFF";
    default:
        return {};
    }
}

UnicodeString TEncoding::GetString(std::string_view bytes) const {
    const uint32_t codePage = GetCodePage();
    if (codePage != kUtf16Le && codePage != kUtf16Be) {
        return AnsiToUnicode(bytes, codePage);
    }
    const int high = codePage == kUtf16Le ? 1 : 0;
    UnicodeString out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        const auto hi = static_cast<uint8_t>(bytes[2 * i + high]);
        const auto lo = static_cast<uint8_t>(bytes[2 * i + 1 - high]);
        out[i] = static_cast<char16_t>((hi << 8) | lo);
    }
    return out;
}

RawByteString TEncoding::GetBytes(std::u16string_view text) const {
    const uint32_t codePage = GetCodePage();
    if (codePage != kUtf16Le && codePage != kUtf16Be) {
        return UnicodeToAnsi(text, codePage);
    }
    const int high = codePage == kUtf16Le ? 1 : 0;
    RawByteString out(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        out[2 * i + high] = static_cast<char>(text[i] >> 8);
        out[2 * i + 1 - high] = static_cast<char>(text[i] & 0xFF);
    }
    return out;
}

bool TEncoding::DetectPreamble(std::string_view bytes, TEncoding &encoding,
                               size_t &preambleLength) {
    for (const TEncoding candidate : {UTF8(), Unicode(), BigEndianUnicode()}) {
        const RawByteString preamble = candidate.GetPreamble();
        if (bytes.substr(0, preamble.size()) == preamble) {
            encoding = candidate;
            preambleLength = preamble.size();
            return true;
        }
    }
    return false;
}

} // namespace rtl
