// Logical row masks for AVX2: eight cells per step, the rest one by one (the same cells as the
// reference).
#include "raster/Raster_Filters_p.h"

#include <immintrin.h>

namespace raster::detail {

namespace {

template <class Op, class ScalarOp>
void MaskRow(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask, Op op,
             ScalarOp scalarOp) {
    const __m256i m = _mm256_set1_epi32(int(mask));
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(src + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dst + i), op(v, m));
    }
    for (; i < count; ++i) {
        dst[i] = scalarOp(src[i], mask);
    }
}

const auto kAnd = [](__m256i a, __m256i b) { return _mm256_and_si256(a, b); };
const auto kOr = [](__m256i a, __m256i b) { return _mm256_or_si256(a, b); };
const auto kXor = [](__m256i a, __m256i b) { return _mm256_xor_si256(a, b); };

} // namespace

void AndRow_AVX2(uint32_t *dst, uint32_t mask, int32_t count) {
    MaskRow(dst, dst, count, mask, kAnd, [](uint32_t a, uint32_t b) { return a & b; });
}

void OrRow_AVX2(uint32_t *dst, uint32_t mask, int32_t count) {
    MaskRow(dst, dst, count, mask, kOr, [](uint32_t a, uint32_t b) { return a | b; });
}

void XorRow_AVX2(uint32_t *dst, uint32_t mask, int32_t count) {
    MaskRow(dst, dst, count, mask, kXor, [](uint32_t a, uint32_t b) { return a ^ b; });
}

void AndRowTo_AVX2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask) {
    MaskRow(src, dst, count, mask, kAnd, [](uint32_t a, uint32_t b) { return a & b; });
}

void OrRowTo_AVX2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask) {
    MaskRow(src, dst, count, mask, kOr, [](uint32_t a, uint32_t b) { return a | b; });
}

void XorRowTo_AVX2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask) {
    MaskRow(src, dst, count, mask, kXor, [](uint32_t a, uint32_t b) { return a ^ b; });
}

} // namespace raster::detail
