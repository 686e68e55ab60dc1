// Real-to-integer conversions and the explicit narrowing helpers used where integers wrap or
// saturate.
//
// Rounding note (the one place this rule is written down):
// - Every real-to-integer conversion rounds halves to even (banker's rounding), as the class
//   library's Round does on the processor: 2.5 -> 2, 3.5 -> 4, -1.5 -> -2, -2.5 -> -2. The tie is
//   decided on the exact binary value, so 0.5000000000000001 rounds to 1.
// - Formatting a real with a fixed number of decimals ("%5.2f", FloatToStrF) rounds a tie half
//   away from zero on the exact binary value instead (see Format.h): 99.625 -> "99.63", while
//   1.005, really 1.00499999999999989..., gives "1.00".
// - C++ signed overflow is undefined; where the class library's integers wrapped around or were
//   cut to their low bits, callers say so with WrapToInt32 / WrapToSmallInt / WrapToWord, and
//   where a value must stay inside 16 bits instead, with SaturateToSmallInt.
#pragma once

#include "platform/rtl/System.h"

namespace rtl {

// The nearest integer, halves to even. Throws EInvalidOp ("Invalid floating point operation")
// for NaN, infinities and results outside the Int64 range.
Int64 Round(long double value);
Int64 Round(double value);

// The integer part, towards zero (Trunc(-2.7) = -2). Same failures as Round.
Int64 Trunc(long double value);
Int64 Trunc(double value);

// The low 32 bits as a signed value: 2147483648 -> -2147483648, 4294967297 -> 1.
Integer WrapToInt32(Int64 value);
// The low 16 bits as a signed value: 32768 -> -32768, 65537 -> 1, -32769 -> 32767.
SmallInt WrapToSmallInt(Int64 value);
// The low 16 bits as an unsigned value: 65536 -> 0, -1 -> 65535.
Word WrapToWord(Int64 value);
// Clamped to -32768..32767: 40000 -> 32767, -40000 -> -32768.
SmallInt SaturateToSmallInt(Int64 value);

} // namespace rtl
