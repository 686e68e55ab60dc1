// Processor variants of the interpolation and block-average routines.
#pragma once

#include <cstdint>

namespace raster::detail {

uint32_t AverageBlock_SSE2(int32_t dlx, int32_t dly, const uint32_t *rowSrc, int32_t offSrcBytes);
uint32_t LinearInterpolate_SSE2(uint32_t wx, uint32_t wy, const uint32_t *c11, const uint32_t *c21);

void KernelColumns_SSE2(const uint32_t *const *rows, const int32_t *weights, int32_t taps,
                        int32_t count, int32_t *sums);
void KernelRow_SSE2(const int32_t *sums, const int32_t *starts, const int32_t *pos,
                    const int32_t *weights, int32_t count, int32_t clampNegative, uint32_t *out);
void KernelColumns_AVX2(const uint32_t *const *rows, const int32_t *weights, int32_t taps,
                        int32_t count, int32_t *sums);
void KernelRow_AVX2(const int32_t *sums, const int32_t *starts, const int32_t *pos,
                    const int32_t *weights, int32_t count, int32_t clampNegative, uint32_t *out);

} // namespace raster::detail
