// Processor variants of the interpolation and block-average routines.
#pragma once

#include <cstdint>

namespace raster::detail {

uint32_t AverageBlock_SSE2(int32_t dlx, int32_t dly, const uint32_t *rowSrc, int32_t offSrcBytes);
uint32_t LinearInterpolate_SSE2(uint32_t wx, uint32_t wy, const uint32_t *c11, const uint32_t *c21);

} // namespace raster::detail
