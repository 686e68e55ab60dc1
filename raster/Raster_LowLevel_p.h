// Processor variants of the low-level routines; each lives in its own file with its own flags.
#pragma once

#include <cstdint>

namespace raster::detail {

void FillDWords_SSE2(uint32_t *x, int32_t count, uint32_t value);
void FillDWords_AVX2(uint32_t *x, int32_t count, uint32_t value);

} // namespace raster::detail
