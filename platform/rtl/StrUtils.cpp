// String routines of the class library: trimming, copying, case, integer and real text.
#include "platform/rtl/StrUtils.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <charconv>
#include <type_traits>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

namespace rtl {

namespace {

template <typename Char> uint32_t CodeUnit(Char c) {
    return static_cast<std::make_unsigned_t<Char>>(c);
}

template <typename Str> Str TrimLeftOf(const Str &s) {
    size_t first = 0;
    while (first < s.size() && CodeUnit(s[first]) <= 0x20) {
        ++first;
    }
    return s.substr(first);
}

template <typename Str> Str TrimRightOf(const Str &s) {
    size_t end = s.size();
    while (end > 0 && CodeUnit(s[end - 1]) <= 0x20) {
        --end;
    }
    return s.substr(0, end);
}

template <typename Str> Str CopyOf(const Str &s, Integer index, Integer count) {
    if (index < 1) {
        index = 1;
    }
    const size_t start = static_cast<size_t>(index) - 1;
    if (count < 1 || start >= s.size()) {
        return Str();
    }
    return s.substr(start, static_cast<size_t>(count));
}

template <typename Str> Integer PosOf(const Str &sub, const Str &s, Integer offset) {
    if (sub.empty() || offset < 1 || static_cast<size_t>(offset) > s.size()) {
        return 0;
    }
    const size_t found = s.find(sub, static_cast<size_t>(offset) - 1);
    return found == Str::npos ? 0 : static_cast<Integer>(found + 1);
}

template <typename Char> Char AsciiUpper(Char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<Char>(c - 'a' + 'A') : c;
}

template <typename Char> Char AsciiLower(Char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <typename Str, typename Fn> Str MapUnits(Str s, Fn fn) {
    for (auto &c : s) {
        c = fn(c);
    }
    return s;
}

template <typename Str> Integer CompareTextOf(const Str &a, const Str &b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const Integer ca = static_cast<Integer>(CodeUnit(AsciiUpper(a[i])));
        const Integer cb = static_cast<Integer>(CodeUnit(AsciiUpper(b[i])));
        if (ca != cb) {
            return ca - cb;
        }
    }
    return static_cast<Integer>(a.size()) - static_cast<Integer>(b.size());
}

template <typename Fn> UnicodeString MapCodePoints(const UnicodeString &s, Fn fn) {
    UnicodeString result;
    result.reserve(s.size());
    const int32_t length = static_cast<int32_t>(s.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U16_NEXT(s.data(), i, length, c);
        const UChar32 mapped = fn(c);
        if (U_IS_BMP(mapped)) {
            result.push_back(static_cast<char16_t>(mapped));
        } else {
            result.push_back(U16_LEAD(mapped));
            result.push_back(U16_TRAIL(mapped));
        }
    }
    return result;
}

UnicodeString AsciiToUnicode(std::string_view ascii) {
    return UnicodeString(ascii.begin(), ascii.end());
}

// The value of a digit, or -1 when c is none.
int DigitValue(char16_t c, bool hex) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (hex && c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (hex && c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// Blanks, sign and hexadecimal prefix; returns the index of the first digit.
size_t ReadIntegerPrefix(const UnicodeString &s, bool &negative, bool &hex) {
    size_t i = 0;
    while (i < s.size() && s[i] == u' ') {
        ++i;
    }
    negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    hex = false;
    if (i < s.size() && (s[i] == u'$' || s[i] == u'x' || s[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    return i;
}

// Integer text as the class library's Val reads it. bits is 32 or 64; the result is the value
// in that many bits, sign-extended.
bool ParseInteger(const UnicodeString &s, int bits, Int64 &value) {
    bool negative = false;
    bool hex = false;
    size_t i = ReadIntegerPrefix(s, negative, hex);
    if (i == s.size()) {
        return false;
    }
    const uint64_t hexLimit = bits == 64 ? ~uint64_t{0} : 0xFFFFFFFFu;
    const uint64_t decimalLimit = (uint64_t{1} << (bits - 1)) - (negative ? 0 : 1);
    const uint64_t limit = hex ? hexLimit : decimalLimit;
    const uint64_t radix = hex ? 16 : 10;
    uint64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        const int digit = DigitValue(s[i], hex);
        if (digit < 0 || magnitude > (limit - static_cast<uint64_t>(digit)) / radix) {
            return false;
        }
        magnitude = magnitude * radix + static_cast<uint64_t>(digit);
    }
    const uint64_t bitsValue = negative ? (~magnitude + 1) : magnitude;
    value = bits == 32 ? static_cast<int32_t>(static_cast<uint32_t>(bitsValue))
                       : static_cast<Int64>(bitsValue);
    return true;
}

[[noreturn]] void ThrowNotInteger(const UnicodeString &s) {
    throw EConvertError(u"'" + s + u"' is not a valid integer value");
}

// A real number's text rebuilt in the form std::from_chars reads, with the decimal exponent of
// its leading digit so that results out of range can be told apart (too large or too small).
struct TRealText {
    std::string Text;
    bool AllZero = true;
    long LeadExponent = 0;
};

bool ReadDigits(const UnicodeString &s, size_t &i, std::string &out) {
    const size_t start = i;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
        out.push_back(static_cast<char>(s[i]));
        ++i;
    }
    return i > start;
}

bool ReadExponent(const UnicodeString &s, size_t &i, long &exponent) {
    if (i >= s.size() || (s[i] != u'e' && s[i] != u'E')) {
        return true;
    }
    ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    std::string digits;
    if (!ReadDigits(s, i, digits)) {
        return false;
    }
    // Far beyond any real's range; saturating keeps the arithmetic below defined.
    for (const char d : digits) {
        exponent = std::min(exponent * 10 + (d - '0'), 1000000L);
    }
    if (negative) {
        exponent = -exponent;
    }
    return true;
}

bool ScanReal(const UnicodeString &s, char16_t decimalSeparator, TRealText &out) {
    size_t i = 0;
    while (i < s.size() && s[i] == u' ') {
        ++i;
    }
    std::string sign;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        sign = s[i] == u'-' ? "-" : "";
        ++i;
    }
    std::string intDigits, fracDigits;
    bool any = ReadDigits(s, i, intDigits);
    if (i < s.size() && s[i] == decimalSeparator) {
        ++i;
        any = ReadDigits(s, i, fracDigits) || any;
    }
    long exponent = 0;
    if (!any || !ReadExponent(s, i, exponent)) {
        return false;
    }
    while (i < s.size() && s[i] == u' ') {
        ++i;
    }
    if (i != s.size()) {
        return false;
    }
    const std::string all = intDigits + fracDigits;
    const size_t firstNonZero = all.find_first_not_of('0');
    out.AllZero = firstNonZero == std::string::npos;
    out.LeadExponent =
        static_cast<long>(intDigits.size()) - static_cast<long>(firstNonZero) + exponent;
    out.Text = sign + (intDigits.empty() ? "0" : intDigits) + "." + fracDigits + "e" +
               std::to_string(exponent);
    return true;
}

template <typename Real>
bool ParseReal(const UnicodeString &s, Real &value, const TFormatSettings &settings) {
    TRealText text;
    if (!ScanReal(s, settings.DecimalSeparator, text)) {
        return false;
    }
    const bool negative = text.Text[0] == '-';
    if (text.AllZero) {
        value = negative ? -Real(0) : Real(0);
        return true;
    }
    Real parsed{};
    const auto result =
        std::from_chars(text.Text.data(), text.Text.data() + text.Text.size(), parsed);
    if (result.ec == std::errc::result_out_of_range) {
        if (text.LeadExponent > 0) {
            return false;
        }
        parsed = negative ? -Real(0) : Real(0);
    } else if (result.ec != std::errc()) {
        return false;
    }
    value = parsed;
    return true;
}

} // namespace

UnicodeString Trim(const UnicodeString &s) {
    return TrimLeftOf(TrimRightOf(s));
}
UnicodeString TrimLeft(const UnicodeString &s) {
    return TrimLeftOf(s);
}
UnicodeString TrimRight(const UnicodeString &s) {
    return TrimRightOf(s);
}
AnsiString Trim(const AnsiString &s) {
    return TrimLeftOf(TrimRightOf(s));
}
AnsiString TrimLeft(const AnsiString &s) {
    return TrimLeftOf(s);
}
AnsiString TrimRight(const AnsiString &s) {
    return TrimRightOf(s);
}

UnicodeString Copy(const UnicodeString &s, Integer index, Integer count) {
    return CopyOf(s, index, count);
}
AnsiString Copy(const AnsiString &s, Integer index, Integer count) {
    return CopyOf(s, index, count);
}

Integer Pos(const UnicodeString &sub, const UnicodeString &s, Integer offset) {
    return PosOf(sub, s, offset);
}
Integer Pos(const AnsiString &sub, const AnsiString &s, Integer offset) {
    return PosOf(sub, s, offset);
}

UnicodeString UpperCase(const UnicodeString &s) {
    return MapUnits(s, AsciiUpper<char16_t>);
}
UnicodeString LowerCase(const UnicodeString &s) {
    return MapUnits(s, AsciiLower<char16_t>);
}
AnsiString UpperCase(const AnsiString &s) {
    return MapUnits(s, AsciiUpper<char>);
}
AnsiString LowerCase(const AnsiString &s) {
    return MapUnits(s, AsciiLower<char>);
}

UnicodeString AnsiUpperCase(const UnicodeString &s) {
    return MapCodePoints(s, [](UChar32 c) { return u_toupper(c); });
}
UnicodeString AnsiLowerCase(const UnicodeString &s) {
    return MapCodePoints(s, [](UChar32 c) { return u_tolower(c); });
}

Integer CompareText(const UnicodeString &a, const UnicodeString &b) {
    return CompareTextOf(a, b);
}
Integer CompareText(const AnsiString &a, const AnsiString &b) {
    return CompareTextOf(a, b);
}
bool SameText(const UnicodeString &a, const UnicodeString &b) {
    return a.size() == b.size() && CompareTextOf(a, b) == 0;
}
bool SameText(const AnsiString &a, const AnsiString &b) {
    return a.size() == b.size() && CompareTextOf(a, b) == 0;
}
bool AnsiSameText(const UnicodeString &a, const UnicodeString &b) {
    return AnsiUpperCase(a) == AnsiUpperCase(b);
}

UnicodeString IntToStr(Integer value) {
    return IntToStr(static_cast<Int64>(value));
}

UnicodeString IntToStr(Int64 value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return AsciiToUnicode(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

UnicodeString IntToHex(Integer value, Integer digits) {
    return IntToHex(static_cast<Int64>(static_cast<uint32_t>(value)), digits);
}

UnicodeString IntToHex(Int64 value, Integer digits) {
    char buffer[20];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<uint64_t>(value), 16);
    UnicodeString text = UpperCase(
        AsciiToUnicode(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer))));
    if (digits > static_cast<Integer>(text.size())) {
        text.insert(0, static_cast<size_t>(digits) - text.size(), u'0');
    }
    return text;
}

bool TryStrToInt(const UnicodeString &s, Integer &value) {
    Int64 parsed = 0;
    if (!ParseInteger(s, 32, parsed)) {
        return false;
    }
    value = static_cast<Integer>(parsed);
    return true;
}

Integer StrToInt(const UnicodeString &s) {
    Integer value = 0;
    if (!TryStrToInt(s, value)) {
        ThrowNotInteger(s);
    }
    return value;
}

Integer StrToIntDef(const UnicodeString &s, Integer defaultValue) {
    Integer value = 0;
    return TryStrToInt(s, value) ? value : defaultValue;
}

bool TryStrToInt64(const UnicodeString &s, Int64 &value) {
    return ParseInteger(s, 64, value);
}

Int64 StrToInt64(const UnicodeString &s) {
    Int64 value = 0;
    if (!TryStrToInt64(s, value)) {
        ThrowNotInteger(s);
    }
    return value;
}

Int64 StrToInt64Def(const UnicodeString &s, Int64 defaultValue) {
    Int64 value = 0;
    return TryStrToInt64(s, value) ? value : defaultValue;
}

Extended StrToFloat(const UnicodeString &s) {
    return StrToFloat(s, FormatSettings());
}

Extended StrToFloat(const UnicodeString &s, const TFormatSettings &settings) {
    Extended value = 0;
    if (!ParseReal(s, value, settings)) {
        throw EConvertError(u"'" + s + u"' is not a valid floating point value");
    }
    return value;
}

bool TryStrToFloat(const UnicodeString &s, Extended &value) {
    return ParseReal(s, value, FormatSettings());
}
bool TryStrToFloat(const UnicodeString &s, Extended &value, const TFormatSettings &settings) {
    return ParseReal(s, value, settings);
}
bool TryStrToFloat(const UnicodeString &s, double &value) {
    return ParseReal(s, value, FormatSettings());
}
bool TryStrToFloat(const UnicodeString &s, double &value, const TFormatSettings &settings) {
    return ParseReal(s, value, settings);
}

} // namespace rtl
