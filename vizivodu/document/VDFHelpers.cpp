// Line writing, string encodings, the header tokenizer and hex text of the native format.
#include "vizivodu/document/VDFHelpers.h"

#include "platform/rtl/Classes.h"

#include <limits>

namespace vizivodu {

namespace {

bool IsEnd(char c) {
    return c == '\0' || c == ' ';
}

void SkipBlank(const char *&p) {
    if (*p == ' ') {
        ++p;
    }
}

} // namespace

void VDFWrite(rtl::TStream &stream, std::string_view s) {
    if (!s.empty()) {
        stream.WriteBuffer(s.data(), static_cast<int32_t>(s.size()));
    }
}

void VDFWriteLine(rtl::TStream &stream, std::string_view s) {
    VDFWrite(stream, s);
    VDFWrite(stream, VDFCrLf);
}

std::string VDFEscapeLineBreaks(std::string_view s) {
    std::string out(s);
    for (char &c : out) {
        c = c == '\r' ? '\x01' : c == '\n' ? '\x02' : c;
    }
    return out;
}

std::string VDFUnescapeLineBreaks(std::string_view s) {
    std::string out(s);
    for (char &c : out) {
        c = c == '\x01' ? '\r' : c == '\x02' ? '\n' : c;
    }
    return out;
}

std::string VDFEncodeString(std::u16string_view s) {
    return VDFEscapeLineBreaks(rtl::Utf16ToUtf8(s));
}

TVDUnicodeString VDFDecodeString(std::string_view s, bool utf8) {
    const std::string plain = VDFUnescapeLineBreaks(s);
    return utf8 ? rtl::Utf8ToUtf16(plain) : RawUnicodeToString(AnsiToRawUnicode(0, plain));
}

std::string VDFFormatOptionalString(bool, std::u16string_view s) {
    if (s.empty()) {
        return "0";
    }
    std::u16string quoted = u"\"";
    for (char16_t c : s) {
        quoted += c;
        if (c == u'"') {
            quoted += c;
        }
    }
    quoted += u'"';
    return VDFEncodeString(quoted);
}

bool VDFReadToken(const char *&p, std::string &s) {
    s.clear();
    while (!IsEnd(*p)) {
        s += *p++;
    }
    SkipBlank(p);
    return !s.empty();
}

bool VDFReadInteger(const char *&p, int32_t &value) {
    const char *q = p;
    const bool negative = *q == '-';
    if (!negative && (*q < '0' || *q > '9')) {
        return false;
    }
    if (negative) {
        ++q;
    }
    int64_t magnitude = 0;
    for (; !IsEnd(*q); ++q) {
        if (*q < '0' || *q > '9') {
            return false;
        }
        magnitude = magnitude * 10 + (*q - '0');
        if (magnitude > int64_t{std::numeric_limits<int32_t>::max()} + 1) {
            return false;
        }
    }
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<int32_t>::max()) {
        return false;
    }
    value = static_cast<int32_t>(result);
    p = q;
    SkipBlank(p);
    return true;
}

bool VDFReadIntegerW(const char16_t *&p, int32_t &value) {
    std::string narrow;
    const char16_t *q = p;
    for (; *q != u'\0' && *q != u' '; ++q) {
        narrow += *q < 0x80 ? static_cast<char>(*q) : 'x';
    }
    const char *n = narrow.c_str();
    if (!VDFReadInteger(n, value)) {
        return false;
    }
    p = q;
    if (*p == u' ') {
        ++p;
    }
    return true;
}

void VDFExtractQuotedString(const char *&p, char quote, std::string &s) {
    s.clear();
    if (*p != quote) {
        return;
    }
    ++p;
    while (*p != '\0') {
        if (*p == quote) {
            if (p[1] != quote) {
                ++p;
                return;
            }
            ++p;
        }
        s += *p++;
    }
}

void VDFReadQuotedString(const char *&p, std::string &s) {
    VDFExtractQuotedString(p, '"', s);
    SkipBlank(p);
}

bool VDFReadOptionalString(const char *&p, bool, bool allowQuoted, bool utf8, TVDUnicodeString &s) {
    std::string raw;
    if (allowQuoted && *p == '"') {
        VDFReadQuotedString(p, raw);
        s = VDFDecodeString(raw, utf8);
        return true;
    }
    if (!VDFReadToken(p, raw)) {
        return false;
    }
    s = raw == "0" ? TVDUnicodeString() : VDFDecodeString(raw, utf8);
    return true;
}

std::string VDFStringToHex(std::string_view s) {
    std::string hex;
    hex.reserve(s.size() * 2);
    for (char c : s) {
        const auto b = static_cast<uint8_t>(c);
        hex += VDFHexDigits[b >> 4];
        hex += VDFHexDigits[b & 15];
    }
    return hex;
}

int VDFHexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

TVDRawByteString VDFHexToString(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return {};
    }
    TVDRawByteString out;
    out.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = VDFHexDigitValue(hex[i]);
        const int lo = VDFHexDigitValue(hex[i + 1]);
        if (hi < 0 || lo < 0) {
            break;
        }
        out += static_cast<char>(hi * 16 + lo);
    }
    return out;
}

} // namespace vizivodu
