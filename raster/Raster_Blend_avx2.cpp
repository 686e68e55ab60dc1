// AVX2 row forms of blend and combine: eight pixels per step in 16-bit lanes, bit-identical to
// the scalar reference (the sums stay below 65536, so the lanes never overflow).
// Helpers shared with the SSE2 file are repeated here in an unnamed namespace on purpose: an
// inline function built with AVX2 flags must never be the copy that the linker keeps for the
// SSE2 path.
#include "raster/Raster_Blend_p.h"

#include <cstring>
#include <immintrin.h>

namespace raster::detail {

namespace {

inline uint32_t CombineScalar(uint32_t x, uint32_t y, uint32_t w) {
    const uint32_t iw = 256 - w;
    const uint32_t rb =
        (((y & 0x00FF00FFu) * iw + (x & 0x00FF00FFu) * w + 0x00800080u) >> 8) & 0x00FF00FFu;
    const uint32_t ag =
        (((y >> 8) & 0x00FF00FFu) * iw + ((x >> 8) & 0x00FF00FFu) * w + 0x00800080u) & 0xFF00FF00u;
    return rb | ag;
}

// Spreads the weight held in each pixel's alpha byte over that pixel's four 16-bit lanes.
inline __m256i SpreadLo(__m256i wA) {
    const __m256i w = _mm256_unpacklo_epi8(wA, _mm256_setzero_si256());
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(w, 0xFF), 0xFF);
}
inline __m256i SpreadHi(__m256i wA) {
    const __m256i w = _mm256_unpackhi_epi8(wA, _mm256_setzero_si256());
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(w, 0xFF), 0xFF);
}

inline __m256i Mix16(__m256i s, __m256i d, __m256i w) {
    const __m256i iw = _mm256_sub_epi16(_mm256_set1_epi16(256), w);
    const __m256i sum = _mm256_add_epi16(_mm256_mullo_epi16(d, iw), _mm256_mullo_epi16(s, w));
    return _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(128)), 8);
}

// Eight pixels combined with the per-pixel weights held in wA's alpha bytes.
inline __m256i Combine4(__m256i s, __m256i d, __m256i wA) {
    const __m256i z = _mm256_setzero_si256();
    const __m256i lo = Mix16(_mm256_unpacklo_epi8(s, z), _mm256_unpacklo_epi8(d, z), SpreadLo(wA));
    const __m256i hi = Mix16(_mm256_unpackhi_epi8(s, z), _mm256_unpackhi_epi8(d, z), SpreadHi(wA));
    return _mm256_packus_epi16(lo, hi);
}

inline __m256i Load(const uint32_t *p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p));
}
inline void Store(uint32_t *p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(p), v);
}

} // namespace

void BlendPixelRow_AVX2(const uint32_t *src, uint32_t *dst, int32_t count) {
    const __m256i alphaMask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = Load(src + i);
        const __m256i a = _mm256_and_si256(s, alphaMask);
        const int zeroMask = _mm256_movemask_epi8(_mm256_cmpeq_epi32(a, _mm256_setzero_si256()));
        if (zeroMask == -1) {
            continue;
        }
        const __m256i opaque = _mm256_cmpeq_epi32(a, alphaMask);
        if (_mm256_movemask_epi8(opaque) == -1) {
            Store(dst + i, s);
            continue;
        }
        const __m256i r = Combine4(s, Load(dst + i), a);
        Store(dst + i,
              _mm256_or_si256(_mm256_and_si256(opaque, s), _mm256_andnot_si256(opaque, r)));
    }
    for (; i < count; ++i) {
        const uint32_t fa = src[i] >> 24;
        if (fa == 255) {
            dst[i] = src[i];
        } else if (fa != 0) {
            dst[i] = CombineScalar(src[i], dst[i], fa);
        }
    }
}

void BlendPixelRowWeighted_AVX2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t m) {
    const __m256i mv = _mm256_set1_epi32(static_cast<int>(m));
    const __m256i one = _mm256_set1_epi32(1);
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = Load(src + i);
        const __m256i a = _mm256_srli_epi32(s, 24);
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(a, _mm256_setzero_si256())) == -1) {
            continue;
        }
        // ((fa + 1) * M) fits in the low 16-bit lane of each pixel; a zero weight keeps the pixel.
        const __m256i w = _mm256_srli_epi32(_mm256_mullo_epi16(_mm256_add_epi32(a, one), mv), 8);
        Store(dst + i, Combine4(s, Load(dst + i), _mm256_slli_epi32(w, 24)));
    }
    for (; i < count; ++i) {
        const uint32_t fa = src[i] >> 24;
        const uint32_t w = ((fa + 1) * m) >> 8;
        if (fa != 0 && w != 0) {
            dst[i] = CombineScalar(src[i], dst[i], w);
        }
    }
}

void CombinePixelRow_AVX2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t w) {
    if (w == 0 || count <= 0) {
        return;
    }
    if (w == 255) {
        std::memmove(dst, src, static_cast<size_t>(count) * 4);
        return;
    }
    const __m256i wv = _mm256_set1_epi16(static_cast<short>(w));
    const __m256i z = _mm256_setzero_si256();
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = Load(src + i);
        const __m256i d = Load(dst + i);
        const __m256i lo = Mix16(_mm256_unpacklo_epi8(s, z), _mm256_unpacklo_epi8(d, z), wv);
        const __m256i hi = Mix16(_mm256_unpackhi_epi8(s, z), _mm256_unpackhi_epi8(d, z), wv);
        Store(dst + i, _mm256_packus_epi16(lo, hi));
    }
    for (; i < count; ++i) {
        dst[i] = CombineScalar(src[i], dst[i], w);
    }
}

} // namespace raster::detail
