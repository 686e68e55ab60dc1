// The dynamic array types that the ECG units and their callers exchange.
#pragma once

#include <cstdint>
#include <vector>

namespace ecg {

// A dynamic array of bytes.
using byte_array = std::vector<std::uint8_t>;
// A dynamic array of 32-bit signed integers.
using int_array = std::vector<std::int32_t>;
// A dynamic array of 16-bit signed integers (ECG samples).
using smallint_array = std::vector<std::int16_t>;

} // namespace ecg
