// AVX2 kernel-resampling passes, bit-identical to the scalar references: the columns four at a
// time with two taps per multiply-add, the row two taps per 256-bit multiply.
#include "raster/Raster_Resamplers_p.h"

#include <immintrin.h>

namespace raster::detail {

namespace {

inline __m256i WeightPair(int32_t w0, int32_t w1) {
    return _mm256_set1_epi32(int32_t((uint32_t(w1) << 16) | (uint32_t(w0) & 0xFFFF)));
}

// Channel sums of four columns from x: acc0 holds columns x, x + 1; acc1 columns x + 2, x + 3.
inline void Columns4(const uint32_t *const *rows, const int32_t *weights, int32_t taps, int32_t x,
                     __m256i &acc0, __m256i &acc1) {
    acc0 = acc1 = _mm256_setzero_si256();
    int32_t k = 0;
    for (; k < taps; k += 2) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(rows[k] + x));
        const bool pair = k + 1 < taps;
        const __m128i b = pair ? _mm_loadu_si128(reinterpret_cast<const __m128i *>(rows[k + 1] + x))
                               : _mm_setzero_si128();
        const __m256i w = WeightPair(weights[k], pair ? weights[k + 1] : 0);
        const __m256i lo = _mm256_cvtepu8_epi16(_mm_unpacklo_epi8(a, b));
        const __m256i hi = _mm256_cvtepu8_epi16(_mm_unpackhi_epi8(a, b));
        acc0 = _mm256_add_epi32(acc0, _mm256_madd_epi16(lo, w));
        acc1 = _mm256_add_epi32(acc1, _mm256_madd_epi16(hi, w));
    }
}

inline uint32_t SumsToPixel(__m128i s, int32_t clampNegative) {
    const __m128i top = _mm_set1_epi32(0xFF0000);
    s = clampNegative ? _mm_max_epi32(_mm_min_epi32(s, top), _mm_setzero_si128())
                      : _mm_and_si128(s, top);
    const __m128i bytes = _mm_srli_epi32(s, 16);
    const __m128i packed = _mm_packs_epi32(bytes, bytes);
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(packed, packed)));
}

} // namespace

void KernelColumns_AVX2(const uint32_t *const *rows, const int32_t *weights, int32_t taps,
                        int32_t count, int32_t *sums) {
    int32_t x = 0;
    for (; x + 4 <= count; x += 4) {
        __m256i acc0, acc1;
        Columns4(rows, weights, taps, x, acc0, acc1);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(sums + 4 * x), acc0);
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(sums + 4 * x + 8), acc1);
    }
    for (; x < count; ++x) {
        __m128i acc = _mm_setzero_si128();
        for (int32_t k = 0; k < taps; ++k) {
            const __m128i c = _mm_cvtepu8_epi32(_mm_cvtsi32_si128(int(rows[k][x])));
            acc = _mm_add_epi32(acc, _mm_mullo_epi32(c, _mm_set1_epi32(weights[k])));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i *>(sums + 4 * x), acc);
    }
}

void KernelRow_AVX2(const int32_t *sums, const int32_t *starts, const int32_t *pos,
                    const int32_t *weights, int32_t count, int32_t clampNegative, uint32_t *out) {
    for (int32_t i = 0; i < count; ++i) {
        __m256i acc = _mm256_setzero_si256();
        int32_t k = starts[i];
        const int32_t end = starts[i + 1];
        for (; k + 1 < end; k += 2) {
            const __m256i e = _mm256_inserti128_si256(
                _mm256_castsi128_si256(
                    _mm_loadu_si128(reinterpret_cast<const __m128i *>(sums + 4 * pos[k]))),
                _mm_loadu_si128(reinterpret_cast<const __m128i *>(sums + 4 * pos[k + 1])), 1);
            const __m256i w =
                _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_set1_epi32(weights[k])),
                                        _mm_set1_epi32(weights[k + 1]), 1);
            acc = _mm256_add_epi32(acc, _mm256_mullo_epi32(e, w));
        }
        __m128i total =
            _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
        if (k < end) {
            const __m128i e = _mm_loadu_si128(reinterpret_cast<const __m128i *>(sums + 4 * pos[k]));
            total = _mm_add_epi32(total, _mm_mullo_epi32(e, _mm_set1_epi32(weights[k])));
        }
        out[i] = SumsToPixel(total, clampNegative);
    }
}

} // namespace raster::detail
