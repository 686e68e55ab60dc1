// SSE2 block average and bilinear interpolation, bit-identical to the scalar reference. The
// block sums are kept in 32-bit lanes, so lines of any width are averaged exactly.
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

} // namespace raster::detail
