// Round, Trunc and the wrapping and saturating narrowings.
#include "platform/rtl/Rounding.h"

#include "platform/rtl/Exceptions.h"

#include <cmath>

namespace rtl {

namespace {

// -2^63 and 2^63 are exact in long double; every integral long double in [-2^63, 2^63) fits.
constexpr long double kInt64Low = -9223372036854775808.0L;
constexpr long double kInt64High = 9223372036854775808.0L;

[[noreturn]] void InvalidOp() {
    throw EInvalidOp(U("Invalid floating point operation"));
}

Int64 ToInt64Checked(long double integral) {
    if (!(integral >= kInt64Low && integral < kInt64High)) {
        InvalidOp();
    }
    return static_cast<Int64>(integral);
}

} // namespace

std::optional<Int64> TryRound(long double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    // value - floor(value) is exact in binary floating point, so the tie test below is exact
    // and does not depend on the processor's current rounding mode.
    const long double floor = std::floor(value);
    const long double fraction = value - floor;
    long double result = floor;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(floor, 2.0L) != 0.0L)) {
        result = floor + 1.0L;
    }
    if (!(result >= kInt64Low && result < kInt64High)) {
        return std::nullopt;
    }
    return static_cast<Int64>(result);
}

Int64 Round(long double value) {
    const std::optional<Int64> result = TryRound(value);
    if (!result) {
        InvalidOp();
    }
    return *result;
}

Int64 Round(double value) {
    return Round(static_cast<long double>(value));
}

Int64 Trunc(long double value) {
    if (!std::isfinite(value)) {
        InvalidOp();
    }
    return ToInt64Checked(std::trunc(value));
}

Int64 Trunc(double value) {
    return Trunc(static_cast<long double>(value));
}

Integer WrapToInt32(Int64 value) {
    return static_cast<Integer>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

SmallInt WrapToSmallInt(Int64 value) {
    return static_cast<SmallInt>(static_cast<uint16_t>(static_cast<uint64_t>(value)));
}

Word WrapToWord(Int64 value) {
    return static_cast<Word>(static_cast<uint64_t>(value));
}

SmallInt SaturateToSmallInt(Int64 value) {
    if (value > 32767) {
        return 32767;
    }
    if (value < -32768) {
        return -32768;
    }
    return static_cast<SmallInt>(value);
}

} // namespace rtl
