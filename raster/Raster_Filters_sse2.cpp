// Logical row masks for SSE2: four cells per step, the rest one by one (the same cells as the
// reference).
#include "raster/Raster_Filters_p.h"

#include <emmintrin.h>

namespace raster::detail {

namespace {

template <class Op, class ScalarOp>
void MaskRow(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask, Op op,
             ScalarOp scalarOp) {
    const __m128i m = _mm_set1_epi32(int(mask));
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + i), op(v, m));
    }
    for (; i < count; ++i) {
        dst[i] = scalarOp(src[i], mask);
    }
}

const auto kAnd = [](__m128i a, __m128i b) { return _mm_and_si128(a, b); };
const auto kOr = [](__m128i a, __m128i b) { return _mm_or_si128(a, b); };
const auto kXor = [](__m128i a, __m128i b) { return _mm_xor_si128(a, b); };

} // namespace

void AndRow_SSE2(uint32_t *dst, uint32_t mask, int32_t count) {
    MaskRow(dst, dst, count, mask, kAnd, [](uint32_t a, uint32_t b) { return a & b; });
}

void OrRow_SSE2(uint32_t *dst, uint32_t mask, int32_t count) {
    MaskRow(dst, dst, count, mask, kOr, [](uint32_t a, uint32_t b) { return a | b; });
}

void XorRow_SSE2(uint32_t *dst, uint32_t mask, int32_t count) {
    MaskRow(dst, dst, count, mask, kXor, [](uint32_t a, uint32_t b) { return a ^ b; });
}

void AndRowTo_SSE2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask) {
    MaskRow(src, dst, count, mask, kAnd, [](uint32_t a, uint32_t b) { return a & b; });
}

void OrRowTo_SSE2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask) {
    MaskRow(src, dst, count, mask, kOr, [](uint32_t a, uint32_t b) { return a | b; });
}

void XorRowTo_SSE2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask) {
    MaskRow(src, dst, count, mask, kXor, [](uint32_t a, uint32_t b) { return a ^ b; });
}

} // namespace raster::detail
