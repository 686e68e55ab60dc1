// SSE2 block average, bilinear interpolation and kernel-resampling passes, bit-identical to the
// scalar references. The block sums are kept in 32-bit lanes, so lines of any width are
// averaged exactly.
#include "raster/Raster_Resamplers_p.h"

#include <emmintrin.h>

namespace raster::detail {

uint32_t AverageBlock_SSE2(int32_t dlx, int32_t dly, const uint32_t *rowSrc, int32_t offSrcBytes) {
    const __m128i z = _mm_setzero_si128();
    __m128i acc = z; // two pixel slots of four 32-bit channel sums
    const auto *row = reinterpret_cast<const uint8_t *>(rowSrc);
    for (int32_t y = 0; y < dly; ++y, row += offSrcBytes) {
        const auto *p = reinterpret_cast<const uint32_t *>(row);
        int32_t x = 0;
        for (; x + 4 <= dlx; x += 4) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + x));
            const __m128i s16 = _mm_add_epi16(_mm_unpacklo_epi8(v, z), _mm_unpackhi_epi8(v, z));
            acc = _mm_add_epi32(acc, _mm_unpacklo_epi16(s16, z));
            acc = _mm_add_epi32(acc, _mm_unpackhi_epi16(s16, z));
        }
        for (; x < dlx; ++x) {
            const __m128i v = _mm_cvtsi32_si128(static_cast<int>(p[x]));
            acc = _mm_add_epi32(acc, _mm_unpacklo_epi16(_mm_unpacklo_epi8(v, z), z));
        }
    }
    alignas(16) uint32_t sums[4];
    _mm_store_si128(reinterpret_cast<__m128i *>(sums), acc);
    const uint32_t n = static_cast<uint32_t>(dlx) * static_cast<uint32_t>(dly);
    const uint32_t reciprocal = 16777216u / n;
    uint32_t result = 0;
    for (int i = 0; i < 4; ++i) {
        result |= ((sums[i] * reciprocal) >> 24) << (8 * i);
    }
    return result;
}

namespace {
// (pair[1] * (256 - w) + pair[0] * w) shr 8 per channel, in four 16-bit lanes.
inline __m128i Lerp(__m128i pair16lo, __m128i pair16hi, __m128i w, __m128i iw) {
    const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(pair16lo, w), _mm_mullo_epi16(pair16hi, iw));
    return _mm_srli_epi16(sum, 8);
}
} // namespace

uint32_t LinearInterpolate_SSE2(uint32_t wx, uint32_t wy, const uint32_t *c11,
                                const uint32_t *c21) {
    const __m128i z = _mm_setzero_si128();
    const __m128i top =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(c11)), z);
    const __m128i bottom =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(c21)), z);
    const __m128i wxv = _mm_set1_epi16(static_cast<short>(wx));
    const __m128i iwx = _mm_set1_epi16(static_cast<short>(256 - wx));
    // Low four lanes: the left pixel; high four: the right one.
    const __m128i t = Lerp(top, _mm_srli_si128(top, 8), wxv, iwx);
    const __m128i b = Lerp(bottom, _mm_srli_si128(bottom, 8), wxv, iwx);
    const __m128i wyv = _mm_set1_epi16(static_cast<short>(wy));
    const __m128i iwy = _mm_set1_epi16(static_cast<short>(256 - wy));
    const __m128i r = Lerp(t, b, wyv, iwy);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(r, z)));
}

// ---- Kernel resampling passes ------------------------------------------------------------
// Columns: two taps at a time, their channel bytes interleaved into 16-bit pairs that one
// multiply-add weighs (both products and their sum fit the 32-bit lanes). Row: four 32-bit
// channel sums per tap times its weight, the low halves of the 64-bit products.

namespace {

// Pixel n of two rows, interleaved: b0 b1 g0 g1 r0 r1 a0 a1 as 16-bit lanes.
inline __m128i PairLanes(__m128i a, __m128i b, bool high) {
    const __m128i z = _mm_setzero_si128();
    const __m128i ab = _mm_unpacklo_epi8(a, b);
    return high ? _mm_unpackhi_epi8(ab, z) : _mm_unpacklo_epi8(ab, z);
}

inline __m128i WeightPair(int32_t w0, int32_t w1) {
    return _mm_set1_epi32(int32_t((uint32_t(w1) << 16) | (uint32_t(w0) & 0xFFFF)));
}

// Channel sums of `width` (1 or 2) columns from x.
inline void Columns(const uint32_t *const *rows, const int32_t *weights, int32_t taps, int32_t x,
                    int width, __m128i &acc0, __m128i &acc1) {
    acc0 = acc1 = _mm_setzero_si128();
    auto load = [width, x](const uint32_t *row) {
        return width == 2 ? _mm_loadl_epi64(reinterpret_cast<const __m128i *>(row + x))
                          : _mm_cvtsi32_si128(int(row[x]));
    };
    int32_t k = 0;
    for (; k + 1 < taps; k += 2) {
        const __m128i a = load(rows[k]), b = load(rows[k + 1]);
        const __m128i w = WeightPair(weights[k], weights[k + 1]);
        acc0 = _mm_add_epi32(acc0, _mm_madd_epi16(PairLanes(a, b, false), w));
        acc1 = _mm_add_epi32(acc1, _mm_madd_epi16(PairLanes(a, b, true), w));
    }
    if (k < taps) {
        const __m128i a = load(rows[k]), b = _mm_setzero_si128();
        const __m128i w = WeightPair(weights[k], 0);
        acc0 = _mm_add_epi32(acc0, _mm_madd_epi16(PairLanes(a, b, false), w));
        acc1 = _mm_add_epi32(acc1, _mm_madd_epi16(PairLanes(a, b, true), w));
    }
}

inline __m128i MulLo32(__m128i a, __m128i b) {
    const __m128i even = _mm_mul_epu32(a, b);
    const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
    return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                              _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

// Four 16.16 channel sums to one pixel: clamped to 0 .. $FF0000 or masked, then the high byte.
inline uint32_t SumsToPixel(__m128i s, int32_t clampNegative) {
    const __m128i top = _mm_set1_epi32(0xFF0000);
    if (clampNegative) {
        const __m128i over = _mm_cmpgt_epi32(s, top);
        s = _mm_or_si128(_mm_and_si128(over, top), _mm_andnot_si128(over, s));
        s = _mm_andnot_si128(_mm_cmpgt_epi32(_mm_setzero_si128(), s), s);
    } else {
        s = _mm_and_si128(s, top);
    }
    const __m128i bytes = _mm_srli_epi32(s, 16);
    const __m128i packed = _mm_packs_epi32(bytes, bytes);
    return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(packed, packed)));
}

} // namespace

void KernelColumns_SSE2(const uint32_t *const *rows, const int32_t *weights, int32_t taps,
                        int32_t count, int32_t *sums) {
    int32_t x = 0;
    __m128i acc0, acc1;
    for (; x + 2 <= count; x += 2) {
        Columns(rows, weights, taps, x, 2, acc0, acc1);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(sums + 4 * x), acc0);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(sums + 4 * x + 4), acc1);
    }
    if (x < count) {
        Columns(rows, weights, taps, x, 1, acc0, acc1);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(sums + 4 * x), acc0);
    }
}

void KernelRow_SSE2(const int32_t *sums, const int32_t *starts, const int32_t *pos,
                    const int32_t *weights, int32_t count, int32_t clampNegative, uint32_t *out) {
    for (int32_t i = 0; i < count; ++i) {
        __m128i acc = _mm_setzero_si128();
        for (int32_t k = starts[i]; k < starts[i + 1]; ++k) {
            const __m128i e = _mm_loadu_si128(reinterpret_cast<const __m128i *>(sums + 4 * pos[k]));
            acc = _mm_add_epi32(acc, MulLo32(e, _mm_set1_epi32(weights[k])));
        }
        out[i] = SumsToPixel(acc, clampNegative);
    }
}

} // namespace raster::detail
