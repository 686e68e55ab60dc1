// RTF text routines shared by the format writers.
#include "vizivodu/formats/common/VDFuncs_RTF.h"

#include "vizivodu/formats/common/VDFuncs_HTML.h"

#include "platform/rtl/Classes.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>

namespace vizivodu {

namespace {

void AppendHexEscape(AnsiString &out, uint8_t b) {
    static const char kHex[] = "0123456789abcdef";
    out += "\\'";
    out += kHex[b >> 4];
    out += kHex[b & 15];
}

bool IsRTFSpecial(char ch) {
    return ch == '\\' || ch == '{' || ch == '}';
}

// The control word of a typographic character; null for others.
const char *TypographicControlWord(char16_t unit) {
    switch (unit) {
    case 149:
        return "\\bullet ";
    case 160:
        return "\\~";
    case 173:
        return "\\-";
    case 0x2002:
        return "{\\enspace }";
    case 0x2003:
        return "{\\emspace }";
    case 0x2005:
        return "{\\qmspace }";
    case 0x200C:
        return "\\zwnj";
    case 0x200D:
        return "\\zwj";
    case 0x2013:
        return "\\endash ";
    case 0x2014:
        return "\\emdash ";
    case 0x2018:
        return "\\lquote ";
    case 0x2019:
        return "\\rquote ";
    case 0x201C:
        return "\\ldblquote ";
    case 0x201D:
        return "\\rdblquote ";
    default:
        return nullptr;
    }
}

} // namespace

AnsiString EscapeRTFAnsi(std::string_view s, bool noEscape, bool specialAsWords, bool bracesAsHex,
                         bool fieldArg) {
    const bool backslashes = !noEscape && !bracesAsHex;
    AnsiString out;
    out.reserve(s.size());
    for (char ch : s) {
        const auto b = static_cast<uint8_t>(ch);
        if (backslashes && IsRTFSpecial(ch)) {
            out += '\\';
            out += ch;
        } else if (backslashes && fieldArg && ch == '"') {
            out += "\\\\\"";
        } else if (bracesAsHex && IsRTFSpecial(ch)) {
            AppendHexEscape(out, b);
        } else if (specialAsWords && b == 149) {
            out += "\\bullet ";
        } else if (specialAsWords && b == 160) {
            out += "\\~";
        } else if (b < 32 || b > 127) {
            AppendHexEscape(out, b);
        } else {
            out += ch;
        }
    }
    return out;
}

AnsiString RawUnicodeToRTF(std::string_view raw, TVDCodePage codePage,
                           const TVDRTFUnicodeOptions &options) {
    const bool fallbacks = options.UseFallback || options.FallbackFlag;
    const size_t startCount = options.FallbackFlag ? 1 : 0;
    size_t count = startCount;
    AnsiString out;
    for (size_t i = 0; i + 1 < raw.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<uint8_t>(raw[i]) |
                                                (static_cast<uint8_t>(raw[i + 1]) << 8));
        if (unit >= 1 && unit <= 127) {
            if (unit == u'\\' && options.DoubleBackslashes && !options.NoEscape) {
                out += "\\\\\\\\";
            } else {
                out += EscapeRTFAnsi(std::string(1, static_cast<char>(unit)), options.NoEscape,
                                     false, options.BracesAsHex, options.FieldArg);
            }
            continue;
        }
        const char *word = options.NoEscape ? nullptr : TypographicControlWord(unit);
        if (word) {
            out += word;
            continue;
        }
        if (!fallbacks) {
            out += "\\u" + std::to_string(unit) + " ";
            continue;
        }
        const TVDAnsiString fallback = RawUnicodeToAnsi(codePage, raw.substr(i, 2));
        if (fallback.size() != count) {
            count = fallback.size();
            out += "\\uc" + std::to_string(count);
        }
        out += "\\u" + std::to_string(unit) + " ";
        out +=
            EscapeRTFAnsi(fallback, options.NoEscape, true, options.BracesAsHex, options.FieldArg);
    }
    if (count != startCount) {
        out += "\\uc" + std::to_string(startCount);
    }
    return out;
}

void WriteUnicodeAsRTF(rtl::TStream &stream, std::string_view raw, TVDCodePage codePage,
                       const TVDRTFUnicodeOptions &options) {
    const AnsiString s = RawUnicodeToRTF(raw, codePage, options);
    if (!s.empty()) {
        stream.WriteBuffer(s.data(), static_cast<int32_t>(s.size()));
    }
}

AnsiString UnicodeToRTF(const UnicodeString &s, TVDCodePage codePage, bool fallbackFlag) {
    TVDRTFUnicodeOptions options;
    options.FallbackFlag = fallbackFlag;
    options.UseFallback = true;
    return RawUnicodeToRTF(StringToRawUnicode(s), codePage, options);
}

AnsiString UnicodeToRTFFieldArg(const UnicodeString &s, TVDCodePage codePage, bool fallbackFlag) {
    TVDRTFUnicodeOptions options;
    options.FallbackFlag = fallbackFlag;
    options.UseFallback = true;
    options.FieldArg = true;
    options.DoubleBackslashes = true;
    return RawUnicodeToRTF(StringToRawUnicode(s), codePage, options);
}

AnsiString UnicodeToRTFEx(const UnicodeString &s, TVDCodePage codePage, bool fallbackFlag,
                          bool useFallback, bool noEscape, bool bracesAsHex) {
    TVDRTFUnicodeOptions options;
    options.FallbackFlag = fallbackFlag;
    options.UseFallback = useFallback;
    options.NoEscape = noEscape;
    options.BracesAsHex = bracesAsHex;
    return RawUnicodeToRTF(StringToRawUnicode(s), codePage, options);
}

UnicodeString MakeBookmarkName(const UnicodeString &s) {
    UnicodeString out = s;
    const auto length = static_cast<int32_t>(s.size());
    for (int32_t i = 0; i < length;) {
        const int32_t start = i;
        UChar32 c;
        U16_NEXT(s.data(), i, length, c);
        if (!u_isalnum(c)) {
            std::fill(out.begin() + start, out.begin() + i, u'_');
        }
    }
    return out;
}

UnicodeString MakeHintAttribute(TVDSaveFormat saveFormat, const UnicodeString &hint) {
    if (hint.empty()) {
        return {};
    }
    switch (saveFormat) {
    case vdsfHTML:
        return u"title=\"" + EscapeHTMLTextUnicode(hint) + u"\"";
    case vdsfRTF:
        return u"\\o \"" + ReplaceCharsInSet(hint, "\"", u'\'') + u"\"";
    case vdsfDocX:
        return u"w:tooltip=\"" + EscapeXMLAttrUnicode(hint) + u"\"";
    default:
        return hint;
    }
}

UnicodeString ReplaceCharsInSet(const UnicodeString &s, std::string_view chars, char16_t ch) {
    UnicodeString out = s;
    for (char16_t &c : out) {
        if (c < 128 && chars.find(static_cast<char>(c)) != std::string_view::npos) {
            c = ch;
        }
    }
    return out;
}

AnsiString InsertBeforeCharsInSet(std::string_view s, std::string_view chars,
                                  std::string_view text) {
    AnsiString out;
    out.reserve(s.size());
    for (char c : s) {
        if (chars.find(c) != std::string_view::npos) {
            out += text;
        }
        out += c;
    }
    return out;
}

} // namespace vizivodu
