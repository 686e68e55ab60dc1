// RTF text routines shared by the format writers.
#include "vizivodu/formats/common/VDFuncs_RTF.h"

#include "vizivodu/formats/common/VDFuncs_HTML.h"

#include "platform/rtl/Classes.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <charconv>

namespace vizivodu {

namespace {

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

// One 8-bit character as EscapeRTFAnsi writes it, into p (at most 9 characters); returns the
// end. The writers escape every character of every run, so nothing here allocates.
char *EscapeAnsiInto(char *p, char ch, bool backslashes, bool specialAsWords, bool bracesAsHex,
                     bool fieldArg) {
    static const char kHex[] = "0123456789abcdef";
    const auto put = [&p](std::string_view s) { p = std::copy(s.begin(), s.end(), p); };
    const auto b = static_cast<uint8_t>(ch);
    if (backslashes && IsRTFSpecial(ch)) {
        *p++ = '\\';
        *p++ = ch;
    } else if (backslashes && fieldArg && ch == '"') {
        put("\\\\\"");
    } else if (specialAsWords && b == 149) {
        put("\\bullet ");
    } else if (specialAsWords && b == 160) {
        put("\\~");
    } else if ((bracesAsHex && IsRTFSpecial(ch)) || b < 32 || b > 127) {
        put("\\'");
        *p++ = kHex[b >> 4];
        *p++ = kHex[b & 15];
    } else {
        *p++ = ch;
    }
    return p;
}

} // namespace

AnsiString EscapeRTFAnsi(std::string_view s, bool noEscape, bool specialAsWords, bool bracesAsHex,
                         bool fieldArg) {
    const bool backslashes = !noEscape && !bracesAsHex;
    AnsiString out;
    out.reserve(s.size());
    char buffer[16];
    for (char ch : s) {
        out.append(buffer,
                   EscapeAnsiInto(buffer, ch, backslashes, specialAsWords, bracesAsHex, fieldArg));
    }
    return out;
}

// Built without temporaries: the writers call this for every run of text.
AnsiString RawUnicodeToRTF(std::string_view raw, TVDCodePage codePage,
                           const TVDRTFUnicodeOptions &options) {
    const bool fallbacks = options.UseFallback || options.FallbackFlag;
    const bool backslashes = !options.NoEscape && !options.BracesAsHex;
    const size_t startCount = options.FallbackFlag ? 1 : 0;
    size_t count = startCount;
    AnsiString out;
    out.reserve(raw.size() * 4);
    char buffer[64];
    for (size_t i = 0; i + 1 < raw.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<uint8_t>(raw[i]) |
                                                (static_cast<uint8_t>(raw[i + 1]) << 8));
        char *p = buffer;
        if (unit >= 1 && unit <= 127) {
            if (unit == u'\\' && options.DoubleBackslashes && !options.NoEscape) {
                p = std::fill_n(p, 4, '\\');
            } else {
                p = EscapeAnsiInto(p, static_cast<char>(unit), backslashes, false,
                                   options.BracesAsHex, options.FieldArg);
            }
        } else if (const char *word = options.NoEscape ? nullptr : TypographicControlWord(unit)) {
            out += word;
            continue;
        } else {
            TVDAnsiString fallback;
            if (fallbacks) {
                fallback = RawUnicodeToAnsi(codePage, raw.substr(i, 2));
                fallback.resize(std::min<size_t>(fallback.size(), 4));
                if (fallback.size() != count) {
                    count = fallback.size();
                    p = std::copy_n("\\uc", 3, p);
                    p = std::to_chars(p, buffer + 8, count).ptr;
                }
            }
            p = std::copy_n("\\u", 2, p);
            p = std::to_chars(p, p + 6, unsigned(unit)).ptr;
            *p++ = ' ';
            for (char ch : fallback) {
                p = EscapeAnsiInto(p, ch, backslashes, true, options.BracesAsHex, options.FieldArg);
            }
        }
        out.append(buffer, p);
    }
    if (count != startCount) {
        out += "\\uc";
        out += std::to_string(startCount);
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
