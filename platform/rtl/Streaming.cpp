// The component stream's 10-byte extended numbers, converted by their fields so that every
// platform reads and writes the x87 format, whatever its own long double is.
#include "platform/rtl/Streaming.h"

#include <cmath>

namespace rtl {

namespace {

constexpr int kExponentBias = 16383;
constexpr int kMaxExponent = 0x7FFF;

} // namespace

std::array<uint8_t, 10> ExtendedToBytes(long double value) {
    uint64_t significand = 0;
    int exponent = 0;
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        exponent = kMaxExponent;
        significand = 0xC000000000000000u; // the quiet NaN the x87 makes
    } else if (std::isinf(value)) {
        exponent = kMaxExponent;
        significand = 0x8000000000000000u;
    } else if (value != 0) {
        int e = 0;
        const long double fraction = std::frexp(std::fabs(value), &e); // in [0.5, 1)
        significand = static_cast<uint64_t>(std::ldexp(fraction, 64));
        exponent = e - 1 + kExponentBias;
        if (exponent <= 0) { // too small for a normal number: a denormal of exponent field 0
            const int shift = 1 - exponent;
            significand = shift < 64 ? significand >> shift : 0;
            exponent = 0;
        } else if (exponent >= kMaxExponent) { // beyond the format (a wider long double)
            exponent = kMaxExponent;
            significand = 0x8000000000000000u;
        }
    }
    std::array<uint8_t, 10> bytes{};
    for (int i = 0; i < 8; ++i) {
        bytes[size_t(i)] = uint8_t(significand >> (8 * i));
    }
    const unsigned top = unsigned(exponent) | (negative ? 0x8000u : 0u);
    bytes[8] = uint8_t(top);
    bytes[9] = uint8_t(top >> 8);
    return bytes;
}

long double BytesToExtended(const std::array<uint8_t, 10> &bytes) {
    uint64_t significand = 0;
    for (int i = 0; i < 8; ++i) {
        significand |= uint64_t(bytes[size_t(i)]) << (8 * i);
    }
    const unsigned top = unsigned(bytes[8]) | (unsigned(bytes[9]) << 8);
    const bool negative = (top & 0x8000u) != 0;
    const int exponent = int(top & 0x7FFFu);
    long double value;
    if (exponent == kMaxExponent) {
        value = (significand << 1) == 0 ? HUGE_VALL : std::nanl("");
    } else {
        // Denormals have exponent field 0 and the scale of field 1; an unnormal (integer bit
        // clear) is read for what its fields say.
        const int scale = (exponent == 0 ? 1 : exponent) - kExponentBias - 63;
        value = std::ldexp(static_cast<long double>(significand), scale);
    }
    return negative ? -value : value;
}

} // namespace rtl
