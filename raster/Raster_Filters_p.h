// Processor variants of the logical row masks.
#pragma once

#include <cstdint>

namespace raster::detail {

void AndRow_SSE2(uint32_t *dst, uint32_t mask, int32_t count);
void OrRow_SSE2(uint32_t *dst, uint32_t mask, int32_t count);
void XorRow_SSE2(uint32_t *dst, uint32_t mask, int32_t count);
void AndRowTo_SSE2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask);
void OrRowTo_SSE2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask);
void XorRowTo_SSE2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask);

void AndRow_AVX2(uint32_t *dst, uint32_t mask, int32_t count);
void OrRow_AVX2(uint32_t *dst, uint32_t mask, int32_t count);
void XorRow_AVX2(uint32_t *dst, uint32_t mask, int32_t count);
void AndRowTo_AVX2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask);
void OrRowTo_AVX2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask);
void XorRowTo_AVX2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask);

} // namespace raster::detail
