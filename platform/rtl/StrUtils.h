// The class library's string routines: trimming, 1-based copying and searching, case
// conversion and comparison, and integer and real conversion to and from text.
#pragma once

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/System.h"

#include <limits>

namespace rtl {

// Without blanks and control characters (every code unit up to ' ') at both ends / the start /
// the end. Non-breaking spaces and other Unicode blanks are kept.
UnicodeString Trim(const UnicodeString &s);
UnicodeString TrimLeft(const UnicodeString &s);
UnicodeString TrimRight(const UnicodeString &s);
AnsiString Trim(const AnsiString &s);
AnsiString TrimLeft(const AnsiString &s);
AnsiString TrimRight(const AnsiString &s);

// Up to count characters from the 1-based index on. An index below 1 counts as 1; an index past
// the end or a count below 1 gives the empty string; the count is cut at the end of s.
UnicodeString Copy(const UnicodeString &s, Integer index,
                   Integer count = std::numeric_limits<Integer>::max());
AnsiString Copy(const AnsiString &s, Integer index,
                Integer count = std::numeric_limits<Integer>::max());

// The 1-based position of the first sub in s at or after offset; 0 when there is none, when sub
// is empty or when offset lies outside s.
Integer Pos(const UnicodeString &sub, const UnicodeString &s, Integer offset = 1);
Integer Pos(const AnsiString &sub, const AnsiString &s, Integer offset = 1);

// Case conversion of the ASCII letters only; every other character is kept as it is.
UnicodeString UpperCase(const UnicodeString &s);
UnicodeString LowerCase(const UnicodeString &s);
AnsiString UpperCase(const AnsiString &s);
AnsiString LowerCase(const AnsiString &s);
// Case conversion of every letter (Cyrillic, Greek, accented Latin ...), one character for one
// character, as the system's simple case mapping does.
UnicodeString AnsiUpperCase(const UnicodeString &s);
UnicodeString AnsiLowerCase(const UnicodeString &s);

// Compares with ASCII letters folded to upper case, code unit by code unit: negative, 0 or
// positive (the difference of the first differing units, else of the lengths).
Integer CompareText(const UnicodeString &a, const UnicodeString &b);
Integer CompareText(const AnsiString &a, const AnsiString &b);
bool SameText(const UnicodeString &a, const UnicodeString &b);
bool SameText(const AnsiString &a, const AnsiString &b);
// Equal when equal after full Unicode upper-casing ("Отчет" and "ОТЧЕТ").
bool AnsiSameText(const UnicodeString &a, const UnicodeString &b);

// Decimal text: "-42".
UnicodeString IntToStr(Integer value);
UnicodeString IntToStr(Int64 value);
// Upper-case hexadecimal of at least digits digits; a negative value shows its two's
// complement in 32 (Integer) or 64 (Int64) bits: IntToHex(-1, 2) = "FFFFFFFF".
UnicodeString IntToHex(Integer value, Integer digits);
UnicodeString IntToHex(Int64 value, Integer digits);

// Integer text as the class library reads it: leading blanks (' ') are skipped, then an
// optional sign, then decimal digits or hexadecimal digits after "$", "x", "X", "0x" or "0X";
// nothing may follow, not even a blank. Decimal values must lie in the type's range;
// hexadecimal ones may use all its bits ("$FFFFFFFF" is -1).
// StrToInt and StrToInt64 throw EConvertError "'<s>' is not a valid integer value".
Integer StrToInt(const UnicodeString &s);
Integer StrToIntDef(const UnicodeString &s, Integer defaultValue);
bool TryStrToInt(const UnicodeString &s, Integer &value);
Int64 StrToInt64(const UnicodeString &s);
Int64 StrToInt64Def(const UnicodeString &s, Int64 defaultValue);
bool TryStrToInt64(const UnicodeString &s, Int64 &value);

// Real text: blanks (' ') around it, an optional sign, digits with at most one decimal
// separator (the settings' one; no thousand separators), at least one digit, and an optional
// exponent "E"/"e" with optional sign and digits. Values too large for the type are refused;
// values too small become 0. Without settings the global FormatSettings() apply.
// StrToFloat throws EConvertError "'<s>' is not a valid floating point value".
Extended StrToFloat(const UnicodeString &s);
Extended StrToFloat(const UnicodeString &s, const TFormatSettings &settings);
bool TryStrToFloat(const UnicodeString &s, Extended &value);
bool TryStrToFloat(const UnicodeString &s, Extended &value, const TFormatSettings &settings);
bool TryStrToFloat(const UnicodeString &s, double &value);
bool TryStrToFloat(const UnicodeString &s, double &value, const TFormatSettings &settings);

} // namespace rtl
