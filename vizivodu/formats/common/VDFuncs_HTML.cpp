// HTML and CSS text routines shared by the format writers.
#include "vizivodu/formats/common/VDFuncs_HTML.h"

#include "vizivodu/styles/VDStyle_Text.h"

#include "platform/gfx/Font.h"
#include "platform/rtl/Rounding.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vizivodu {

// ---- Colours ----

namespace {

uint32_t ResolvedRGB(TColor color) {
    return color == gfx::clWindowText ? 0 : gfx::ColorToRGB(color);
}

std::string HexByte(uint8_t b, const char *digits) {
    return {digits[b >> 4], digits[b & 15]};
}

} // namespace

AnsiString ColorToHTMLStrAnsi(TColor color, bool quoted) {
    if (color == gfx::clNone) {
        return {};
    }
    const uint32_t rgb = ResolvedRGB(color);
    static const char kLower[] = "0123456789abcdef";
    AnsiString s = "#" + HexByte(gfx::GetRValue(rgb), kLower) +
                   HexByte(gfx::GetGValue(rgb), kLower) + HexByte(gfx::GetBValue(rgb), kLower);
    return quoted ? "\"" + s + "\"" : s;
}

UnicodeString ColorToHTMLStr(TColor color, bool quoted) {
    return rtl::Utf8ToUtf16(ColorToHTMLStrAnsi(color, quoted));
}

AnsiString ColorToCSS(TColor color) {
    return color == gfx::clNone ? AnsiString("transparent") : ColorToHTMLStrAnsi(color, false);
}

AnsiString ColorOpacityToCSS(TColor color, TVDOpacity opacity) {
    if (color == gfx::clNone) {
        return {};
    }
    if (opacity == 100000) {
        return ColorToCSS(color);
    }
    const uint32_t rgb = ResolvedRGB(color);
    return "rgba(" + std::to_string(gfx::GetRValue(rgb)) + "," +
           std::to_string(gfx::GetGValue(rgb)) + "," + std::to_string(gfx::GetBValue(rgb)) + "," +
           FormatDecimal2(opacity / 100000.0L) + ")";
}

AnsiString FormatDecimal2(long double value) {
    const long double whole = std::floor(value);
    // Halves to even, nudged up by 1e-19 as the library always rounded this fraction.
    auto hundredths = static_cast<int64_t>(rtl::Round((value - whole) * 100 + 1e-19L));
    auto integer = static_cast<int64_t>(whole);
    if (hundredths >= 100) {
        ++integer;
        hundredths -= 100;
    }
    AnsiString s = std::to_string(integer);
    if (hundredths != 0) {
        s += "." + std::string{char('0' + hundredths / 10)};
        if (hundredths % 10 != 0) {
            s += char('0' + hundredths % 10);
        }
    }
    return s;
}

AnsiString FloatToPointsStr(long double points) {
    return (points < 0 ? "-" : "") + FormatDecimal2(points < 0 ? -points : points) + "pt";
}

// ---- Escaping ----

bool IsControlOrNonCharacter(char16_t ch) {
    return ch < 32 || (ch >= 0xFDD0 && ch <= 0xFDEF) || ch == 0xFFFE || ch == 0xFFFF;
}

namespace {

// One pass, so that an entity made is never escaped again ("&" first, as the rule wants).
template <class String, class Char>
String EscapeMarkup(std::basic_string_view<Char> s, bool quotes, bool blanksAsNbsp,
                    bool trailingNbsp, bool (*isBad)(Char)) {
    String out;
    out.reserve(s.size());
    auto add = [&out](const char *ascii) {
        for (; *ascii; ++ascii) {
            out += static_cast<Char>(*ascii);
        }
    };
    for (size_t i = 0; i < s.size(); ++i) {
        const Char ch = s[i];
        if (ch == Char('&')) {
            add("&amp;");
        } else if (ch == Char('>')) {
            add("&gt;");
        } else if (ch == Char('<')) {
            add("&lt;");
        } else if (ch == Char('"') && quotes) {
            add("&quot;");
        } else if (ch == Char(' ') && blanksAsNbsp) {
            const bool last = i + 1 == s.size();
            const bool runGoesOn = !last && s[i + 1] == Char(' ');
            add(runGoesOn || (last && trailingNbsp) ? "&nbsp;" : " ");
        } else {
            out += isBad && isBad(ch) ? Char('?') : ch;
        }
    }
    return out;
}

bool IsControlByte(char ch) {
    return static_cast<uint8_t>(ch) < 32;
}

bool IsBadUnit(char16_t ch) {
    return IsControlOrNonCharacter(ch);
}

} // namespace

AnsiString EscapeHTMLAnsi(std::string_view s, bool quotes, bool controlsToQuestion) {
    return EscapeMarkup<AnsiString, char>(s, quotes, false, false,
                                          controlsToQuestion ? &IsControlByte : nullptr);
}

AnsiString EscapeHTMLTextAnsi(std::string_view s, bool raw, bool trailingNbsp) {
    if (raw) {
        return AnsiString(s);
    }
    return EscapeMarkup<AnsiString, char>(s, false, true, trailingNbsp, &IsControlByte);
}

UnicodeString EscapeHTMLTextUnicode(const UnicodeString &s) {
    return EscapeMarkup<UnicodeString, char16_t>(s, true, true, false, &IsBadUnit);
}

UnicodeString EscapeHTMLAttrUnicode(const UnicodeString &s) {
    return EscapeMarkup<UnicodeString, char16_t>(s, true, false, false, &IsBadUnit);
}

UnicodeString EscapeXMLAttrUnicode(const UnicodeString &s) {
    return EscapeHTMLAttrUnicode(s);
}

AnsiString ControlCharsToQuestionAnsi(std::string_view s) {
    AnsiString out(s);
    for (char &ch : out) {
        if (IsControlByte(ch)) {
            ch = '?';
        }
    }
    return out;
}

UnicodeString ControlCharsToQuestion(const UnicodeString &s) {
    UnicodeString out = s;
    for (char16_t &ch : out) {
        if (IsControlOrNonCharacter(ch)) {
            ch = u'?';
        }
    }
    return out;
}

// ---- HTML and XHTML forms ----

AnsiString GetXHTMLTagEnd(TVDSaveOptions saveOptions) {
    return saveOptions.Contains(vdsoXHTML) ? " /" : "";
}

AnsiString GetHTMLBoolAttr(std::string_view name, TVDSaveOptions saveOptions) {
    if (saveOptions.Contains(vdsoXHTML)) {
        return AnsiString(name) + "=\"" + AnsiString(name) + "\"";
    }
    return AnsiString(name);
}

AnsiString IntToHTMLAttrValue(int32_t value, TVDSaveOptions saveOptions) {
    const AnsiString s = std::to_string(value);
    return saveOptions.Contains(vdsoXHTML) ? "\"" + s + "\"" : s;
}

UnicodeString IntToHTMLAttrValueW(int32_t value, TVDSaveOptions saveOptions) {
    return rtl::Utf8ToUtf16(IntToHTMLAttrValue(value, saveOptions));
}

AnsiString QuoteHTMLAttrValue(const AnsiString &s, TVDSaveOptions saveOptions) {
    if (!saveOptions.Contains(vdsoXHTML)) {
        return s;
    }
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') {
        return s;
    }
    return "\"" + s + "\"";
}

// ---- Charsets and sizes ----

AnsiString CharsetToHTMLCharsetName(uint8_t charset) {
    struct TRow {
        uint8_t Charset;
        const char *Name;
    };
    static constexpr TRow kRows[] = {
        {0, "Windows-1252"},   {128, "shift_jis"},    {129, "EUC-KR"},       {130, "CP1361"},
        {134, "gb2312"},       {136, "big5"},         {161, "Windows-1253"}, {162, "Windows-1254"},
        {163, "Windows-1258"}, {177, "Windows-1255"}, {178, "Windows-1256"}, {186, "Windows-1257"},
        {204, "Windows-1251"}, {222, "Windows-874"},  {238, "Windows-1250"}, {255, "ascii"}};
    for (const TRow &row : kRows) {
        if (row.Charset == charset) {
            return row.Name;
        }
    }
    return {};
}

int32_t FontSizeToHTMLSize(int32_t sizePoints) {
    static constexpr int32_t kUpper[] = {8, 10, 12, 14, 18, 24};
    for (int32_t i = 0; i < 6; ++i) {
        if (sizePoints <= kUpper[i]) {
            return i + 1;
        }
    }
    return 7;
}

// ---- Strings ----

void AppendWithSeparator(UnicodeString &s, const UnicodeString &str,
                         const UnicodeString &separator) {
    if (s.empty()) {
        s = str;
    } else if (!str.empty()) {
        s += separator + str;
    }
}

void AppendWithSeparatorAnsi(AnsiString &s, std::string_view str, std::string_view separator) {
    if (s.empty()) {
        s = AnsiString(str);
    } else if (!str.empty()) {
        s += AnsiString(separator) + AnsiString(str);
    }
}

void AppendWithSpace(UnicodeString &s, const UnicodeString &str) {
    AppendWithSeparator(s, str, u" ");
}

void AppendWithSpaceAnsi(AnsiString &s, std::string_view str) {
    AppendWithSeparatorAnsi(s, str, " ");
}

UnicodeString BackslashesToSlashes(const UnicodeString &s) {
    UnicodeString out = s;
    std::replace(out.begin(), out.end(), u'\\', u'/');
    return out;
}

namespace {

template <class String>
void ReplaceAll(String &s, const String &pattern, const String &replacement, bool forward) {
    if (pattern.empty()) {
        return;
    }
    size_t from = 0;
    for (size_t at = s.find(pattern); at != String::npos; at = s.find(pattern, from)) {
        s.replace(at, pattern.size(), replacement);
        from = forward ? at + replacement.size() : 0;
    }
}

} // namespace

void ReplaceAllUnicode(UnicodeString &s, const UnicodeString &pattern,
                       const UnicodeString &replacement) {
    ReplaceAll(s, pattern, replacement, false);
}

void ReplaceAllAnsi(AnsiString &s, std::string_view pattern, std::string_view replacement) {
    ReplaceAll(s, AnsiString(pattern), AnsiString(replacement), false);
}

void ReplaceAllUnicodeForward(UnicodeString &s, const UnicodeString &pattern,
                              const UnicodeString &replacement) {
    ReplaceAll(s, pattern, replacement, true);
}

void ReplaceAllAnsiForward(AnsiString &s, std::string_view pattern, std::string_view replacement) {
    ReplaceAll(s, AnsiString(pattern), AnsiString(replacement), true);
}

} // namespace vizivodu
