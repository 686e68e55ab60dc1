// SSE2 row forms of blend and combine: four pixels per step in 16-bit lanes, bit-identical to
// the scalar reference (the sums stay below 65536, so the lanes never overflow).
#include "raster/Raster_Blend_p.h"

#include <cstring>
#include <emmintrin.h>

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
inline __m128i SpreadLo(__m128i wA) {
    const __m128i w = _mm_unpacklo_epi8(wA, _mm_setzero_si128());
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(w, 0xFF), 0xFF);
}
inline __m128i SpreadHi(__m128i wA) {
    const __m128i w = _mm_unpackhi_epi8(wA, _mm_setzero_si128());
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(w, 0xFF), 0xFF);
}

inline __m128i Mix16(__m128i s, __m128i d, __m128i w) {
    const __m128i iw = _mm_sub_epi16(_mm_set1_epi16(256), w);
    const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(d, iw), _mm_mullo_epi16(s, w));
    return _mm_srli_epi16(_mm_add_epi16(sum, _mm_set1_epi16(128)), 8);
}

// Four pixels combined with the per-pixel weights held in wA's alpha bytes.
inline __m128i Combine4(__m128i s, __m128i d, __m128i wA) {
    const __m128i z = _mm_setzero_si128();
    const __m128i lo = Mix16(_mm_unpacklo_epi8(s, z), _mm_unpacklo_epi8(d, z), SpreadLo(wA));
    const __m128i hi = Mix16(_mm_unpackhi_epi8(s, z), _mm_unpackhi_epi8(d, z), SpreadHi(wA));
    return _mm_packus_epi16(lo, hi);
}

inline __m128i Load(const uint32_t *p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}
inline void Store(uint32_t *p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i *>(p), v);
}

} // namespace

void BlendPixelRow_SSE2(const uint32_t *src, uint32_t *dst, int32_t count) {
    const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = Load(src + i);
        const __m128i a = _mm_and_si128(s, alphaMask);
        const int zeroMask = _mm_movemask_epi8(_mm_cmpeq_epi32(a, _mm_setzero_si128()));
        if (zeroMask == 0xFFFF) {
            continue;
        }
        const __m128i opaque = _mm_cmpeq_epi32(a, alphaMask);
        if (_mm_movemask_epi8(opaque) == 0xFFFF) {
            Store(dst + i, s);
            continue;
        }
        const __m128i r = Combine4(s, Load(dst + i), a);
        Store(dst + i, _mm_or_si128(_mm_and_si128(opaque, s), _mm_andnot_si128(opaque, r)));
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

void BlendPixelRowWeighted_SSE2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t m) {
    const __m128i mv = _mm_set1_epi32(static_cast<int>(m));
    const __m128i one = _mm_set1_epi32(1);
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = Load(src + i);
        const __m128i a = _mm_srli_epi32(s, 24);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(a, _mm_setzero_si128())) == 0xFFFF) {
            continue;
        }
        // ((fa + 1) * M) fits in the low 16-bit lane of each pixel; a zero weight keeps the pixel.
        const __m128i w = _mm_srli_epi32(_mm_mullo_epi16(_mm_add_epi32(a, one), mv), 8);
        Store(dst + i, Combine4(s, Load(dst + i), _mm_slli_epi32(w, 24)));
    }
    for (; i < count; ++i) {
        const uint32_t fa = src[i] >> 24;
        const uint32_t w = ((fa + 1) * m) >> 8;
        if (fa != 0 && w != 0) {
            dst[i] = CombineScalar(src[i], dst[i], w);
        }
    }
}

void CombinePixelRow_SSE2(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t w) {
    if (w == 0 || count <= 0) {
        return;
    }
    if (w == 255) {
        std::memmove(dst, src, static_cast<size_t>(count) * 4);
        return;
    }
    const __m128i wv = _mm_set1_epi16(static_cast<short>(w));
    const __m128i z = _mm_setzero_si128();
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = Load(src + i);
        const __m128i d = Load(dst + i);
        const __m128i lo = Mix16(_mm_unpacklo_epi8(s, z), _mm_unpacklo_epi8(d, z), wv);
        const __m128i hi = Mix16(_mm_unpackhi_epi8(s, z), _mm_unpackhi_epi8(d, z), wv);
        Store(dst + i, _mm_packus_epi16(lo, hi));
    }
    for (; i < count; ++i) {
        dst[i] = CombineScalar(src[i], dst[i], w);
    }
}

// Two rows of the column pair per step: [row 0 left, row 0 right | row 1 left, row 1 right].
void CombinePixelColumnPair_SSE2(uint32_t c, uint32_t *p, int32_t stride, int32_t rows, uint32_t w0,
                                 uint32_t w1, uint32_t w0b, uint32_t w1b) {
    const __m128i z = _mm_setzero_si128();
    const __m128i cv = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(c)), z);
    const __m128i wa = _mm_set_epi16(short(w1), short(w1), short(w1), short(w1), short(w0),
                                     short(w0), short(w0), short(w0));
    const __m128i wb = _mm_set_epi16(short(w1b), short(w1b), short(w1b), short(w1b), short(w0b),
                                     short(w0b), short(w0b), short(w0b));
    // A zero weight gives back (B x 256 + 128) div 256 = B, so both weights apply to every row.
    const auto mix = [&](__m128i pixels) { return Mix16(cv, Mix16(cv, pixels, wa), wb); };
    int32_t r = 0;
    for (; r + 2 <= rows; r += 2, p += 2 * stride) {
        const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(p));
        const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(p + stride));
        const __m128i packed =
            _mm_packus_epi16(mix(_mm_unpacklo_epi8(a, z)), mix(_mm_unpacklo_epi8(b, z)));
        _mm_storel_epi64(reinterpret_cast<__m128i *>(p), packed);
        _mm_storel_epi64(reinterpret_cast<__m128i *>(p + stride), _mm_srli_si128(packed, 8));
    }
    if (r < rows) {
        const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(p));
        _mm_storel_epi64(reinterpret_cast<__m128i *>(p),
                         _mm_packus_epi16(mix(_mm_unpacklo_epi8(a, z)), z));
    }
}

// ---- Channel arithmetic: one colour in the low lane, four channels as bytes or 16-bit lanes --

namespace {

inline __m128i Load1(uint32_t c) {
    return _mm_cvtsi32_si128(int(c));
}
inline uint32_t Store1(__m128i v) {
    return uint32_t(_mm_cvtsi128_si32(v));
}
inline __m128i Widen(uint32_t c) {
    return _mm_unpacklo_epi8(Load1(c), _mm_setzero_si128());
}
inline uint32_t Narrow(__m128i v) {
    return Store1(_mm_packus_epi16(v, _mm_setzero_si128()));
}

} // namespace

uint32_t ChannelMax_SSE2(uint32_t c1, uint32_t c2) {
    return Store1(_mm_max_epu8(Load1(c1), Load1(c2)));
}

uint32_t ChannelMin_SSE2(uint32_t c1, uint32_t c2) {
    return Store1(_mm_min_epu8(Load1(c1), Load1(c2)));
}

uint32_t ChannelAdd_SSE2(uint32_t c1, uint32_t c2) {
    return Store1(_mm_adds_epu8(Load1(c1), Load1(c2)));
}

uint32_t ChannelSub_SSE2(uint32_t c1, uint32_t c2) {
    return Store1(_mm_subs_epu8(Load1(c1), Load1(c2)));
}

uint32_t ChannelModulate_SSE2(uint32_t c1, uint32_t c2) {
    return Narrow(_mm_srli_epi16(_mm_mullo_epi16(Widen(c1), Widen(c2)), 8));
}

uint32_t ChannelDifference_SSE2(uint32_t c1, uint32_t c2) {
    const __m128i a = Load1(c1), b = Load1(c2);
    return Store1(_mm_or_si128(_mm_subs_epu8(a, b), _mm_subs_epu8(b, a)));
}

uint32_t ChannelExclusion_SSE2(uint32_t c1, uint32_t c2) {
    const __m128i a = Widen(c1), b = Widen(c2);
    const __m128i product = _mm_srli_epi16(_mm_mullo_epi16(a, b), 7);
    return Narrow(_mm_sub_epi16(_mm_add_epi16(a, b), product));
}

uint32_t ChannelScale_SSE2(uint32_t c, uint32_t w) {
    const __m128i wv = _mm_set1_epi16(short(w));
    return Narrow(_mm_srli_epi16(_mm_mullo_epi16(Widen(c), wv), 8));
}

// Amount replicated into the three colour bytes, added or subtracted with saturation.
uint32_t ChannelLighten_SSE2(uint32_t c, int32_t amount) {
    const uint32_t a = uint32_t(amount < 0 ? -amount : amount);
    const __m128i delta = Load1(a * 0x00010101u);
    return Store1(amount < 0 ? _mm_subs_epu8(Load1(c), delta) : _mm_adds_epu8(Load1(c), delta));
}

} // namespace raster::detail
