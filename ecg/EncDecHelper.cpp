// Base64 between text, byte arrays and memory streams; ANSI/OEM conversion of short strings;
// repair of XML tags whose names start with a digit.
#include "ecg/EncDecHelper.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <array>
#include <string>
#include <string_view>

namespace ecg {

namespace {

constexpr char Base64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t Base64LineLength = 76;

// RFC 4648 with "=" padding, broken into CR LF separated lines of 76 characters.
rtl::UnicodeString EncodeBase64(const std::uint8_t *data, std::size_t size) {
    rtl::UnicodeString out;
    out.reserve((size + 2) / 3 * 4 + (size / 57) * 2);
    std::size_t lineLength = 0;
    auto put = [&](char c) {
        if (lineLength == Base64LineLength) {
            out += u"\r\n";
            lineLength = 0;
        }
        out.push_back(static_cast<char16_t>(c));
        ++lineLength;
    };
    for (std::size_t i = 0; i < size; i += 3) {
        const std::size_t left = size - i;
        const std::uint32_t b0 = data[i];
        const std::uint32_t b1 = left > 1 ? data[i + 1] : 0;
        const std::uint32_t b2 = left > 2 ? data[i + 2] : 0;
        const std::uint32_t triple = (b0 << 16) | (b1 << 8) | b2;
        put(Base64Alphabet[(triple >> 18) & 63]);
        put(Base64Alphabet[(triple >> 12) & 63]);
        put(left > 1 ? Base64Alphabet[(triple >> 6) & 63] : '=');
        put(left > 2 ? Base64Alphabet[triple & 63] : '=');
    }
    return out;
}

constexpr std::array<std::int8_t, 256> MakeDecodeTable() {
    std::array<std::int8_t, 256> table{};
    for (auto &entry : table) {
        entry = -1;
    }
    for (int i = 0; i < 64; ++i) {
        table[static_cast<unsigned char>(Base64Alphabet[i])] = static_cast<std::int8_t>(i);
    }
    return table;
}

constexpr std::array<std::int8_t, 256> Base64DecodeTable = MakeDecodeTable();

// Decodes the alphabet's characters and skips all others. Two or three characters left at the
// end give one or two bytes; a single one carries no whole byte.
byte_array DecodeBase64(std::string_view text) {
    byte_array out;
    out.reserve(text.size() / 4 * 3 + 2);
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (const char c : text) {
        const std::int8_t value = Base64DecodeTable[static_cast<unsigned char>(c)];
        if (value < 0) {
            continue;
        }
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            out.push_back(static_cast<std::uint8_t>(bits >> bitCount));
        }
    }
    return out;
}

rtl::AnsiString ShortString(rtl::AnsiString s) {
    if (s.size() > 255) {
        s.resize(255);
    }
    return s;
}

} // namespace

void TEncDecHelper::SetStreamFromBase64String(const rtl::UnicodeString &s,
                                              rtl::TMemoryStream &ImageStream) {
    const byte_array bytes = DecodeBase64(rtl::UnicodeToAnsi(s, rtl::CP_ACP));
    if (!bytes.empty()) {
        ImageStream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    }
}

rtl::UnicodeString TEncDecHelper::GetBase64String(rtl::TMemoryStream &srcStream) {
    const std::int64_t size = srcStream.GetSize();
    const std::int64_t position = srcStream.GetPosition();
    if (position >= size) {
        return {};
    }
    const std::uint8_t *memory = srcStream.GetMemory();
    srcStream.Seek(0, rtl::soEnd);
    return EncodeBase64(memory + position, static_cast<std::size_t>(size - position));
}

rtl::UnicodeString TEncDecHelper::GetBase64StringFromBA(const byte_array &srcBA) {
    return EncodeBase64(srcBA.data(), srcBA.size());
}

rtl::UnicodeString TEncDecHelper::GetBase64StringFromString(const rtl::UnicodeString &s) {
    rtl::TStringList lines;
    lines.SetText(s);
    const rtl::AnsiString bytes = rtl::UnicodeToAnsi(lines.GetText(), rtl::CP_ACP);
    return EncodeBase64(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
}

rtl::UnicodeString TEncDecHelper::SetStringFromBase64String(const rtl::UnicodeString &s) {
    rtl::TMemoryStream stream;
    SetStreamFromBase64String(s, stream);
    stream.SetPosition(0);
    rtl::TStringList lines;
    lines.LoadFromStream(stream);
    return lines.GetText();
}

byte_array TEncDecHelper::GetSegmentDATA(rtl::TMemoryStream *srcStream) {
    if (srcStream == nullptr || srcStream->GetMemory() == nullptr) {
        return {};
    }
    const std::uint8_t *memory = srcStream->GetMemory();
    return byte_array(memory, memory + srcStream->GetSize());
}

void TEncDecHelper::SetSegmentDATA(const std::optional<byte_array> &DATA,
                                   std::unique_ptr<rtl::TMemoryStream> &ImageStream) {
    ImageStream.reset();
    if (!DATA) {
        return;
    }
    auto stream = std::make_unique<rtl::TMemoryStream>();
    if (!DATA->empty()) {
        stream->WriteBuffer(DATA->data(), static_cast<std::int32_t>(DATA->size()));
    }
    stream->SetPosition(0);
    ImageStream = std::move(stream);
}

rtl::AnsiString TEncDecHelper::Coder(const rtl::AnsiString &s) {
    return ShortString(rtl::AnsiToOem(ShortString(s)));
}

rtl::AnsiString TEncDecHelper::Decoder(const rtl::AnsiString &s) {
    return ShortString(rtl::TrimRight(rtl::OemToAnsi(ShortString(s))));
}

namespace {

class TCompiledPattern {
public:
    explicit TCompiledPattern(const char *pattern) {
        int errorCode = 0;
        PCRE2_SIZE errorOffset = 0;
        FCode = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern), PCRE2_ZERO_TERMINATED, 0,
                              &errorCode, &errorOffset, nullptr);
        if (FCode == nullptr) {
            throw rtl::Exception(u"Regular expression error");
        }
        FMatch = pcre2_match_data_create_from_pattern(FCode, nullptr);
        if (FMatch == nullptr) {
            pcre2_code_free(FCode);
            throw rtl::Exception(u"Regular expression error");
        }
    }
    ~TCompiledPattern() {
        pcre2_match_data_free(FMatch);
        pcre2_code_free(FCode);
    }
    TCompiledPattern(const TCompiledPattern &) = delete;
    TCompiledPattern &operator=(const TCompiledPattern &) = delete;

    // Every match in subject replaced by the template expanded for that match.
    std::string ReplaceAll(const std::string &subject, const std::string &replacement) const;

private:
    std::string Expand(const std::string &subject, const std::string &replacement) const;

    pcre2_code *FCode = nullptr;
    pcre2_match_data *FMatch = nullptr;
};

// Perl-style replacement: "\n" and "$n" (one digit) insert group n (0 the whole match), "\\"
// a backslash; everything else is literal.
std::string TCompiledPattern::Expand(const std::string &subject,
                                     const std::string &replacement) const {
    const PCRE2_SIZE *ovector = pcre2_get_ovector_pointer(FMatch);
    const std::uint32_t pairs = pcre2_get_ovector_count(FMatch);
    auto group = [&](std::uint32_t n) {
        if (n >= pairs || ovector[2 * n] == PCRE2_UNSET) {
            return std::string_view();
        }
        return std::string_view(subject).substr(ovector[2 * n],
                                                ovector[2 * n + 1] - ovector[2 * n]);
    };
    std::string out;
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        const char c = replacement[i];
        const char next = i + 1 < replacement.size() ? replacement[i + 1] : '\0';
        if ((c == '\\' || c == '$') && next >= '0' && next <= '9') {
            out += group(static_cast<std::uint32_t>(next - '0'));
            ++i;
        } else if (c == '\\' && next == '\\') {
            out += '\\';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string TCompiledPattern::ReplaceAll(const std::string &subject,
                                         const std::string &replacement) const {
    std::string out;
    PCRE2_SIZE start = 0;
    while (start <= subject.size()) {
        const int rc = pcre2_match(FCode, reinterpret_cast<PCRE2_SPTR>(subject.data()),
                                   subject.size(), start, 0, FMatch, nullptr);
        if (rc == PCRE2_ERROR_NOMATCH) {
            break;
        }
        if (rc < 0) {
            throw rtl::Exception(u"Regular expression error");
        }
        const PCRE2_SIZE *ovector = pcre2_get_ovector_pointer(FMatch);
        out.append(subject, start, ovector[0] - start);
        out += Expand(subject, replacement);
        start = ovector[1];
        if (ovector[1] == ovector[0]) {
            // An empty match: keep the next character and search after it.
            if (start < subject.size()) {
                out += subject[start];
            }
            ++start;
        }
    }
    if (start < subject.size()) {
        out.append(subject, start);
    }
    return out;
}

} // namespace

std::int32_t TEncDecHelper::CorrectXMLDigitNodes(const rtl::UnicodeString &filename,
                                                 const rtl::UnicodeString &nodeName) {
    try {
        rtl::TStringList lines;
        lines.LoadFromFile(filename);
        const std::string node = rtl::Utf16ToUtf8(nodeName);
        std::string text = rtl::Utf16ToUtf8(lines.GetText());
        text = TCompiledPattern("<([0-9])").ReplaceAll(text, "<" + node + "\\1");
        text = TCompiledPattern("</([0-9])").ReplaceAll(text, "</" + node + "\\1");
        lines.SetText(rtl::Utf8ToUtf16(text));
        lines.SaveToFile(filename);
        return 0;
    } catch (const std::exception &) {
        return -1;
    }
}

} // namespace ecg
