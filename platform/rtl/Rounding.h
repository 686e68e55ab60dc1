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
// - Every real-to-integer conversion of the code goes through this unit: Round where a value
//   outside the range is an error the caller reports, RoundSaturated where it must not fail (a
//   pixel position, a sample, a count in a hot loop): its result is defined for every input.
//   Casting a real that is out of the target's range, or NaN, is undefined in C++; no code
//   does it.
// - C++ signed overflow is undefined; where the class library's integers wrapped around or were
//   cut to their low bits, callers say so with WrapToInt32 / WrapToSmallInt / WrapToWord, and
//   where a value must stay inside 16 bits instead, with SaturateToSmallInt.
#pragma once

#include "platform/rtl/System.h"

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>

#if defined(__SSE2__) && defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace rtl {

// The nearest integer, halves to even. Throws EInvalidOp ("Invalid floating point operation")
// for NaN, infinities and results outside the Int64 range.
Int64 Round(long double value);
Int64 Round(double value);
// The same rounding; nothing (instead of the exception) for NaN, infinities and results outside
// the Int64 range, for callers that report those with an error of their own.
std::optional<Int64> TryRound(long double value);

// The nearest value of the integer type T, halves to even, as Round; it never fails: NaN gives
// 0, and a value whose rounding lies beyond T's range gives T's nearest end (1e10 -> 2147483647
// for Integer, -1 -> 0 for Byte). T is a signed type of up to 64 bits or an unsigned one of up
// to 32. Uses the processor's conversion in its default rounding mode, which nothing changes.
template <std::integral T, std::floating_point F> T RoundSaturated(F value) noexcept;

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

// ---- Implementation ----------------------------------------------------------------------------

namespace detail {

// The nearest integer of a value whose rounding fits Int64, halves to even.
inline Int64 RoundInRange(double value) noexcept {
#if defined(__SSE2__) && defined(__x86_64__)
    return _mm_cvtsd_si64(_mm_set_sd(value));
#else
    return static_cast<Int64>(std::nearbyint(value));
#endif
}
inline Int64 RoundInRange(float value) noexcept {
    return RoundInRange(static_cast<double>(value));
}
inline Int64 RoundInRange(long double value) noexcept {
    return static_cast<Int64>(std::nearbyint(value));
}

} // namespace detail

template <std::integral T, std::floating_point F> T RoundSaturated(F value) noexcept {
    using Limits = std::numeric_limits<T>;
    static_assert(Limits::is_signed ? Limits::digits <= 63 : Limits::digits <= 32,
                  "RoundSaturated: the result type must fit Int64");
    // 2^digits (one past the largest value) and the smallest value are exact in every F; a half
    // below the first rounds to it (even), a half below the second rounds to the second.
    constexpr F upper = static_cast<F>(uint64_t{1} << Limits::digits);
    constexpr F lower = static_cast<F>(Limits::min());
    if (!(value < upper - F(0.5))) {
        return std::isnan(value) ? T(0) : Limits::max();
    }
    if (!(value > lower - F(0.5))) {
        return Limits::min();
    }
    return static_cast<T>(detail::RoundInRange(value));
}

} // namespace rtl
