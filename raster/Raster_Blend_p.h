// Processor variants of the blend routines; each family lives in its own file with its own flags.
#pragma once

#include <cstdint>

namespace raster::detail {

void BlendPixelRow_SSE2(const uint32_t *src, uint32_t *dst, int32_t count);
void BlendPixelRowWeighted_SSE2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t m);
void CombinePixelRow_SSE2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t w);

void CombinePixelColumnPair_SSE2(uint32_t c, uint32_t *p, int32_t stride, int32_t rows, uint32_t w0,
                                 uint32_t w1);

void BlendPixelRow_AVX2(const uint32_t *src, uint32_t *dst, int32_t count);
void BlendPixelRowWeighted_AVX2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t m);
void CombinePixelRow_AVX2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t w);

} // namespace raster::detail
