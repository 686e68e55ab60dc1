// Format in the class library's form, its variant argument TVarRec, and real numbers as text
// (FloatToStr, FloatToStrF).
#pragma once

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/System.h"

#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace rtl {

// One argument of Format, as the class library's "array of const" element. It keeps views of
// the strings it is given, so it lives only as long as the call's full expression (which is how
// the braced argument list of Format is used). 8-bit strings (AnsiString, const char *) are
// taken as UTF-8, the encoding of our sources; text in a code page is converted before.
class TVarRec {
public:
    enum TVarType {
        vtInteger,       // 32-bit signed
        vtInt64,         // 64-bit signed (also unsigned 32-bit values)
        vtUInt64,        // 64-bit unsigned
        vtExtended,      // any real
        vtUnicodeString, // UTF-16 text
        vtUTF8String,    // 8-bit text, UTF-8
        vtWideChar,      // one UTF-16 code unit
        vtPointer,       // an address, for "%p"
    };

    TVarRec(int value) : FType(vtInteger), FInteger(value) {}
    TVarRec(unsigned value) : FType(vtInt64), FInteger(value) {}
    TVarRec(long value) : FType(vtInt64), FInteger(value) {}
    TVarRec(long long value) : FType(vtInt64), FInteger(value) {}
    TVarRec(unsigned long value) : FType(vtUInt64), FUnsigned(value) {}
    TVarRec(unsigned long long value) : FType(vtUInt64), FUnsigned(value) {}
    TVarRec(float value) : FType(vtExtended), FReal(value) {}
    TVarRec(double value) : FType(vtExtended), FReal(value) {}
    TVarRec(long double value) : FType(vtExtended), FReal(value) {}
    TVarRec(const UnicodeString &value) : FType(vtUnicodeString), FWide(value) {}
    TVarRec(std::u16string_view value) : FType(vtUnicodeString), FWide(value) {}
    TVarRec(const char16_t *value)
        : FType(vtUnicodeString), FWide(value ? std::u16string_view(value) : u"") {}
    TVarRec(const AnsiString &value) : FType(vtUTF8String), FNarrow(value) {}
    TVarRec(std::string_view value) : FType(vtUTF8String), FNarrow(value) {}
    TVarRec(const char *value) : FType(vtUTF8String), FNarrow(value ? value : "") {}
    TVarRec(char16_t value) : FType(vtWideChar), FChar(value) {}
    TVarRec(const void *value) : FType(vtPointer), FPointer(value) {}
    TVarRec(std::nullptr_t) : FType(vtPointer) {}
    // A Boolean or a single 8-bit character has no Format conversion; refuse them at compile
    // time rather than passing them on as numbers.
    TVarRec(bool) = delete;
    TVarRec(char) = delete;

    TVarType VType() const { return FType; }
    Int64 GetInteger() const { return FInteger; }
    uint64_t GetUnsigned() const { return FUnsigned; }
    long double GetReal() const { return FReal; }
    std::u16string_view GetUnicode() const { return FWide; }
    std::string_view GetUTF8() const { return FNarrow; }
    char16_t GetChar() const { return FChar; }
    const void *GetPointer() const { return FPointer; }

private:
    TVarType FType;
    Int64 FInteger = 0;
    uint64_t FUnsigned = 0;
    long double FReal = 0;
    std::u16string_view FWide;
    std::string_view FNarrow;
    char16_t FChar = 0;
    const void *FPointer = nullptr;
};

// Text from a format and arguments, as the class library's Format:
//   "%" [index ":"] ["-"] [width] ["." precision] type,   "%%" gives "%".
// index, width and precision are decimal numbers or "*" (taken from the next argument, an
// integer). index picks the argument (from 0), and the following items go on from there.
// Text shorter than width is padded with blanks on the left, or on the right with "-".
//   d  integer; precision = minimum digits, padded with zeros ("%.3d" of -5 = "-005")
//   u  integer taken as unsigned (a negative 32-bit value as 32 bits: -1 -> "4294967295")
//   x  integer in upper-case hexadecimal, negative values as 32 or 64 bits; precision as for d
//   e  real, scientific: precision significant digits (default 15), "1.50000000000000E+003"
//   f  real, fixed: precision decimals (default 2), "-1234.50"
//   g  real, shortest of fixed and scientific with precision significant digits (default 15),
//      trailing zeros removed: "1234.5", "1E020"
//   n  as f with thousand separators: "1,234.50" (with the settings' separators)
//   m  money: as n with the settings' currency sign, forms and decimals (default)
//   p  pointer as 16 upper-case hexadecimal digits
//   s  string or character; precision = at most so many characters
// e, f, g, n and m take reals only (an integer argument is an error, as in the class library);
// d, u and x integers only. Type letters may be lower or upper case. Reals with a fixed number of
// decimals round a tie half away from zero on the exact binary value (99.625 -> "99.63", 1.005 ->
// "1.00"); their decimal and thousand separators come from the settings (FormatSettings() without
// them). An unknown type, a missing argument or an argument of the wrong kind throws EConvertError
// "Format '<format>' invalid or incompatible with argument"; so does a width, precision or
// index above 1000000.
UnicodeString Format(const UnicodeString &format, std::initializer_list<TVarRec> args);
UnicodeString Format(const UnicodeString &format, std::initializer_list<TVarRec> args,
                     const TFormatSettings &settings);
// The same for UTF-8 text in and out.
AnsiString Format(const AnsiString &format, std::initializer_list<TVarRec> args);
AnsiString Format(const AnsiString &format, std::initializer_list<TVarRec> args,
                  const TFormatSettings &settings);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// A real as text; NaN gives "NAN", infinities "INF" and "-INF"; a value that rounds to zero has
// no minus sign. precision (1..18) is the number of significant digits kept:
//   ffGeneral  fixed form when the value has at most precision digits before the decimal point
//              and is at least 0.0001, otherwise scientific; trailing zeros removed; digits
//              (0..4) is the minimum number of exponent digits, written without "+" ("1E20",
//              "1,5E-5")
//   ffExponent "d.ddd…E+ddd" with precision digits and at least digits (0..4) exponent digits
//   ffFixed    digits (0..18) decimals; scientific as ffGeneral when the value has more than
//              precision digits before the decimal point
//   ffNumber   as ffFixed with thousand separators
//   ffCurrency as ffNumber in the settings' currency form
UnicodeString FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits);
UnicodeString FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits,
                          const TFormatSettings &settings);

// FloatToStrF(value, ffGeneral, 15, 0): "25", "0,1", "1E20", "1,5E-5" (Russian settings).
UnicodeString FloatToStr(Extended value);
UnicodeString FloatToStr(Extended value, const TFormatSettings &settings);

} // namespace rtl
