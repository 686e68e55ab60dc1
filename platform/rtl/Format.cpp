// Format and the conversion of reals to text, on the exact decimal expansion of the value.
#include "platform/rtl/Format.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace rtl {

namespace {

// A finite real as 0.Digits x 10^Exponent. Digits has no leading or trailing zeros; zero has no
// digits. Rounding works on these digits, which are exact, so a tie is a true tie.
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

// Every binary fraction has a finite decimal expansion: m x 2^-k has exactly k decimals, and
// to_chars prints them all without rounding when asked for k of them.
TDecimal ExactDecimal(long double value) {
    TDecimal result;
    result.Negative = std::signbit(value);
    value = std::fabs(value);
    if (value == 0) {
        return result;
    }
    int binaryExponent = 0;
    const long double fraction = std::frexp(value, &binaryExponent);
    auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
    int lowBit = binaryExponent - 64;
    while ((mantissa & 1) == 0) {
        mantissa >>= 1;
        ++lowBit;
    }
    const int decimals = std::max(0, -lowBit);
    const int integerDigits = std::max(1, binaryExponent * 30103 / 100000 + 2);
    std::string text(static_cast<size_t>(integerDigits + decimals + 4), '\0');
    const auto printed = std::to_chars(text.data(), text.data() + text.size(), value,
                                       std::chars_format::fixed, decimals);
    text.resize(static_cast<size_t>(printed.ptr - text.data()));
    const size_t point = std::min(text.find('.'), text.size());
    std::string digits = text.substr(0, point);
    if (point < text.size()) {
        digits += text.substr(point + 1);
    }
    const size_t first = digits.find_first_not_of('0');
    result.Exponent = static_cast<int>(point) - static_cast<int>(first);
    digits.erase(0, first);
    digits.erase(digits.find_last_not_of('0') + 1);
    result.Digits = std::move(digits);
    return result;
}

// Keeps the first keep digits (keep may be 0 or less), rounding half away from zero.
void RoundAt(TDecimal &d, int keep) {
    if (keep >= static_cast<int>(d.Digits.size())) {
        return;
    }
    if (keep < 0) {
        d.Digits.clear();
        d.Exponent = 0;
        return;
    }
    const bool up = d.Digits[static_cast<size_t>(keep)] >= '5';
    d.Digits.resize(static_cast<size_t>(keep));
    if (up) {
        while (!d.Digits.empty() && d.Digits.back() == '9') {
            d.Digits.pop_back();
        }
        if (d.Digits.empty()) {
            d.Digits.push_back('1');
            d.Exponent += 1;
        } else {
            d.Digits.back() = static_cast<char>(d.Digits.back() + 1);
        }
    }
    d.Digits.erase(d.Digits.find_last_not_of('0') + 1);
    if (d.Digits.empty()) {
        d.Exponent = 0;
    }
}

char16_t DigitAt(const TDecimal &d, int index) {
    if (index < 0 || index >= static_cast<int>(d.Digits.size())) {
        return u'0';
    }
    return static_cast<char16_t>(d.Digits[static_cast<size_t>(index)]);
}

UnicodeString SignOf(const TDecimal &d) {
    return d.Negative && !d.Digits.empty() ? u"-" : u"";
}

UnicodeString ExponentText(int exponent, int minDigits, bool plusSign) {
    UnicodeString text = u"E";
    if (exponent < 0) {
        text += u'-';
    } else if (plusSign) {
        text += u'+';
    }
    const std::string digits = std::to_string(std::abs(exponent));
    if (static_cast<int>(digits.size()) < minDigits) {
        text.append(static_cast<size_t>(minDigits) - digits.size(), u'0');
    }
    text.append(digits.begin(), digits.end());
    return text;
}

// "d.ddd" followed by the exponent, from digits already rounded; at least mantissaDigits digits.
UnicodeString ScientificText(const TDecimal &d, int mantissaDigits, int expDigits, bool plusSign,
                             char16_t separator) {
    UnicodeString text = SignOf(d);
    text += DigitAt(d, 0);
    const int count = std::max(mantissaDigits, static_cast<int>(d.Digits.size()));
    if (count > 1) {
        text += separator;
        for (int i = 1; i < count; ++i) {
            text += DigitAt(d, i);
        }
    }
    const int exponent = d.Digits.empty() ? 0 : d.Exponent - 1;
    return text + ExponentText(exponent, expDigits, plusSign);
}

// The integer part (grouped by three with the separator when it is not 0) and decimals.
UnicodeString PlainText(const TDecimal &d, int decimals, char16_t separator, char16_t thousands) {
    UnicodeString text;
    if (d.Exponent <= 0) {
        text = u"0";
    }
    for (int i = 0; i < d.Exponent; ++i) {
        if (thousands != 0 && i > 0 && (d.Exponent - i) % 3 == 0) {
            text += thousands;
        }
        text += DigitAt(d, i);
    }
    if (decimals > 0) {
        text += separator;
        for (int i = 0; i < decimals; ++i) {
            text += DigitAt(d, d.Exponent + i);
        }
    }
    return text;
}

UnicodeString GeneralText(TDecimal d, int precision, int expDigits, char16_t separator) {
    RoundAt(d, precision);
    if (d.Exponent > precision || d.Exponent < -3) {
        return ScientificText(d, 1, expDigits, false, separator);
    }
    const int decimals = std::max(0, static_cast<int>(d.Digits.size()) - d.Exponent);
    return SignOf(d) + PlainText(d, decimals, separator, 0);
}

UnicodeString CurrencyText(const TDecimal &d, const UnicodeString &number,
                           const TFormatSettings &settings) {
    static const char16_t *const kPositive[] = {u"$n", u"n$", u"$ n", u"n $"};
    static const char16_t *const kNegative[] = {
        u"($n)", u"-$n",  u"$-n",  u"$n-",  u"(n$)", u"-n$",  u"n-$",   u"n$-",
        u"-n $", u"-$ n", u"n $-", u"$ n-", u"$ -n", u"n- $", u"($ n)", u"(n $)"};
    const bool negative = !SignOf(d).empty();
    const char16_t *pattern =
        negative ? kNegative[settings.NegCurrFormat % 16] : kPositive[settings.CurrencyFormat % 4];
    UnicodeString text;
    for (; *pattern != 0; ++pattern) {
        if (*pattern == u'$') {
            text += settings.CurrencyString;
        } else if (*pattern == u'n') {
            text += number;
        } else {
            text += *pattern;
        }
    }
    return text;
}

// ffFixed, ffNumber and ffCurrency: rounded once, at the coarser of digits decimals and
// precision significant digits.
UnicodeString FixedText(const TDecimal &exact, TFloatFormat format, int precision, int digits,
                        const TFormatSettings &settings) {
    TDecimal d = exact;
    RoundAt(d, std::min(precision, d.Exponent + digits));
    if (d.Exponent > precision) {
        return ScientificText(d, 1, 0, false, settings.DecimalSeparator);
    }
    const char16_t thousands = format == ffFixed ? 0 : settings.ThousandSeparator;
    const UnicodeString number = PlainText(d, digits, settings.DecimalSeparator, thousands);
    if (format == ffCurrency) {
        return CurrencyText(d, number, settings);
    }
    return SignOf(d) + number;
}

UnicodeString FloatText(long double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings &settings) {
    if (std::isnan(value)) {
        return u"NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? u"-INF" : u"INF";
    }
    precision = std::clamp(precision, 1, 18);
    const TDecimal exact = ExactDecimal(value);
    switch (format) {
    case ffGeneral:
        return GeneralText(exact, precision, std::clamp(digits, 0, 4), settings.DecimalSeparator);
    case ffExponent: {
        TDecimal d = exact;
        RoundAt(d, precision);
        return ScientificText(d, precision, std::clamp(digits, 0, 4), true,
                              settings.DecimalSeparator);
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency:
        break;
    }
    return FixedText(exact, format, precision, std::clamp(digits, 0, 18), settings);
}

constexpr int kMaxFormatNumber = 1000000;

struct TFormatItem {
    bool Left = false;
    int Width = 0;
    int Precision = -1;
    char16_t Type = 0;
};

UnicodeString UnsignedText(uint64_t value, int base, int minDigits) {
    char buffer[24];
    const auto printed = std::to_chars(buffer, buffer + sizeof buffer, value, base);
    UnicodeString text;
    const auto length = static_cast<int>(printed.ptr - buffer);
    if (minDigits > length) {
        text.append(static_cast<size_t>(minDigits - length), u'0');
    }
    for (const char *c = buffer; c != printed.ptr; ++c) {
        text += static_cast<char16_t>(*c >= 'a' ? *c - 'a' + 'A' : *c);
    }
    return text;
}

// One pass over a format, as the class library's Format.
class TFormatter {
public:
    TFormatter(const UnicodeString &format, std::initializer_list<TVarRec> args,
               const TFormatSettings &settings)
        : FFormat(format), FArgs(args.begin()), FArgCount(args.size()), FSettings(settings) {}

    UnicodeString Run() {
        while (FPos < FFormat.size()) {
            const char16_t c = FFormat[FPos++];
            if (c != u'%') {
                FResult += c;
            } else if (Peek() == u'%') {
                FResult += u'%';
                ++FPos;
            } else {
                FormatOne();
            }
        }
        return std::move(FResult);
    }

private:
    [[noreturn]] void Fail() const {
        throw EConvertError(u"Format '" + FFormat + u"' invalid or incompatible with argument");
    }

    char16_t Peek() const { return FPos < FFormat.size() ? FFormat[FPos] : char16_t(0); }

    const TVarRec &NextArg() {
        if (FArgIndex >= FArgCount) {
            Fail();
        }
        return FArgs[FArgIndex++];
    }

    int CheckedNumber(Int64 value) const {
        if (value > kMaxFormatNumber) {
            Fail();
        }
        return static_cast<int>(std::max<Int64>(value, 0));
    }

    // A decimal number or "*" (the next argument, an integer); false when neither is there.
    bool ReadNumber(int &value) {
        if (Peek() == u'*') {
            ++FPos;
            const TVarRec &arg = NextArg();
            if (arg.VType() != TVarRec::vtInteger && arg.VType() != TVarRec::vtInt64) {
                Fail();
            }
            value = CheckedNumber(arg.GetInteger());
            return true;
        }
        if (Peek() < u'0' || Peek() > u'9') {
            return false;
        }
        Int64 number = 0;
        while (Peek() >= u'0' && Peek() <= u'9') {
            number = number * 10 + (FFormat[FPos++] - u'0');
            CheckedNumber(number);
        }
        value = static_cast<int>(number);
        return true;
    }

    TFormatItem ReadItem() {
        TFormatItem item;
        int number = 0;
        bool haveNumber = ReadNumber(number);
        if (haveNumber && Peek() == u':') {
            ++FPos;
            FArgIndex = static_cast<size_t>(number);
            haveNumber = false;
        }
        if (!haveNumber && Peek() == u'-') {
            ++FPos;
            item.Left = true;
        }
        if (haveNumber || ReadNumber(number)) {
            item.Width = number;
        }
        if (Peek() == u'.') {
            ++FPos;
            if (!ReadNumber(item.Precision)) {
                item.Precision = 0;
            }
        }
        const char16_t type = Peek();
        if (type == 0) {
            Fail();
        }
        ++FPos;
        item.Type =
            (type >= u'a' && type <= u'z') ? static_cast<char16_t>(type - u'a' + u'A') : type;
        return item;
    }

    void FormatOne() {
        const TFormatItem item = ReadItem();
        const TVarRec &arg = NextArg();
        UnicodeString text;
        switch (item.Type) {
        case u'D':
        case u'U':
        case u'X':
            text = IntegerText(item, arg);
            break;
        case u'E':
        case u'F':
        case u'G':
        case u'N':
        case u'M':
            text = RealText(item, arg);
            break;
        case u'S':
            text = StringText(item, arg);
            break;
        case u'P':
            if (arg.VType() != TVarRec::vtPointer) {
                Fail();
            }
            text = UnsignedText(reinterpret_cast<uintptr_t>(arg.GetPointer()), 16,
                                2 * static_cast<int>(sizeof(void *)));
            break;
        default:
            Fail();
        }
        const size_t width = static_cast<size_t>(item.Width);
        if (text.size() < width) {
            text.insert(item.Left ? text.size() : 0, width - text.size(), u' ');
        }
        FResult += text;
    }

    UnicodeString IntegerText(const TFormatItem &item, const TVarRec &arg) const {
        bool negative = false;
        uint64_t bits = 0;
        switch (arg.VType()) {
        case TVarRec::vtInteger:
            negative = arg.GetInteger() < 0;
            // Hexadecimal and unsigned show a negative Integer in its 32 bits.
            bits = item.Type == u'D' ? static_cast<uint64_t>(arg.GetInteger())
                                     : static_cast<uint32_t>(arg.GetInteger());
            break;
        case TVarRec::vtInt64:
            negative = arg.GetInteger() < 0;
            bits = static_cast<uint64_t>(arg.GetInteger());
            break;
        case TVarRec::vtUInt64:
            bits = arg.GetUnsigned();
            break;
        default:
            Fail();
        }
        const int minDigits = std::max(item.Precision, 0);
        if (item.Type == u'X') {
            return UnsignedText(bits, 16, minDigits);
        }
        if (item.Type == u'D' && negative) {
            return u"-" + UnsignedText(~bits + 1, 10, minDigits);
        }
        return UnsignedText(bits, 10, minDigits);
    }

    UnicodeString RealText(const TFormatItem &item, const TVarRec &arg) const {
        if (arg.VType() != TVarRec::vtExtended) {
            Fail();
        }
        const long double value = arg.GetReal();
        const int precision = item.Precision;
        switch (item.Type) {
        case u'E':
            return FloatText(value, ffExponent, precision < 0 ? 15 : precision, 3, FSettings);
        case u'G':
            return FloatText(value, ffGeneral, precision < 0 ? 15 : precision, 3, FSettings);
        case u'F':
            return FloatText(value, ffFixed, 18, precision < 0 ? 2 : precision, FSettings);
        case u'N':
            return FloatText(value, ffNumber, 18, precision < 0 ? 2 : precision, FSettings);
        default:
            return FloatText(value, ffCurrency, 18,
                             precision < 0 ? FSettings.CurrencyDecimals : precision, FSettings);
        }
    }

    UnicodeString StringText(const TFormatItem &item, const TVarRec &arg) const {
        UnicodeString text;
        switch (arg.VType()) {
        case TVarRec::vtUnicodeString:
            text = arg.GetUnicode();
            break;
        case TVarRec::vtUTF8String:
            text = Utf8ToUtf16(arg.GetUTF8());
            break;
        case TVarRec::vtWideChar:
            text = UnicodeString(1, arg.GetChar());
            break;
        default:
            Fail();
        }
        if (item.Precision >= 0 && text.size() > static_cast<size_t>(item.Precision)) {
            text.resize(static_cast<size_t>(item.Precision));
        }
        return text;
    }

    const UnicodeString &FFormat;
    const TVarRec *FArgs;
    size_t FArgCount;
    const TFormatSettings &FSettings;
    size_t FPos = 0;
    size_t FArgIndex = 0;
    UnicodeString FResult;
};

} // namespace

UnicodeString Format(const UnicodeString &format, std::initializer_list<TVarRec> args,
                     const TFormatSettings &settings) {
    return TFormatter(format, args, settings).Run();
}

UnicodeString Format(const UnicodeString &format, std::initializer_list<TVarRec> args) {
    return TFormatter(format, args, FormatSettings()).Run();
}

AnsiString Format(const AnsiString &format, std::initializer_list<TVarRec> args,
                  const TFormatSettings &settings) {
    return Utf16ToUtf8(Format(Utf8ToUtf16(format), args, settings));
}

AnsiString Format(const AnsiString &format, std::initializer_list<TVarRec> args) {
    return Format(format, args, FormatSettings());
}

UnicodeString FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits,
                          const TFormatSettings &settings) {
    return FloatText(value, format, precision, digits, settings);
}

UnicodeString FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits) {
    return FloatText(value, format, precision, digits, FormatSettings());
}

UnicodeString FloatToStr(Extended value, const TFormatSettings &settings) {
    return FloatText(value, ffGeneral, 15, 0, settings);
}

UnicodeString FloatToStr(Extended value) {
    return FloatText(value, ffGeneral, 15, 0, FormatSettings());
}

} // namespace rtl
