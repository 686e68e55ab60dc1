// SSE2 tile union: the box bytes of four tiles at a time, packed byte minimum for left and top
// and maximum for right and bottom, with the reference's cases chosen by lane masks.
#include "raster/Raster_MicroTiles_p.h"

#include <emmintrin.h>

#include <algorithm>

namespace raster::detail {

namespace {

// The union of four tile pairs, lane by lane, as reference::TileUnion.
inline __m128i Union4(__m128i d, __m128i s) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi32(int(TileFull));
    // Bytes 0 and 1 of each lane compare bottom with top and right with left.
    const __m128i sameEdges =
        _mm_and_si128(_mm_cmpeq_epi8(_mm_srli_epi32(s, 16), s), _mm_set1_epi32(0x0000FFFF));
    const __m128i coversNothing =
        _mm_xor_si128(_mm_cmpeq_epi32(sameEdges, zero), _mm_set1_epi32(-1));
    const __m128i keep = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi32(d, full), _mm_cmpeq_epi32(s, zero)), coversNothing);
    const __m128i takeSrc =
        _mm_andnot_si128(keep, _mm_or_si128(_mm_cmpeq_epi32(d, zero), _mm_cmpeq_epi32(s, full)));
    const __m128i lowHalf = _mm_set1_epi32(0x0000FFFF);
    const __m128i box = _mm_or_si128(_mm_andnot_si128(lowHalf, _mm_min_epu8(d, s)),
                                     _mm_and_si128(lowHalf, _mm_max_epu8(d, s)));
    const __m128i unite = _mm_andnot_si128(_mm_or_si128(keep, takeSrc), box);
    return _mm_or_si128(_mm_or_si128(_mm_and_si128(keep, d), _mm_and_si128(takeSrc, s)), unite);
}

} // namespace

void TileUnion_SSE2(TMicroTile &dst, TMicroTile src) {
    const __m128i r = Union4(_mm_cvtsi32_si128(int(dst)), _mm_cvtsi32_si128(int(src)));
    dst = TMicroTile(_mm_cvtsi128_si32(r));
}

void TilesMergeExact_SSE2(TMicroTiles &dst, const TMicroTiles &src) {
    const TRect &u = src.BoundsUsedTiles;
    const int32_t left = std::max(u.Left, 0), right = std::min(u.Right, src.Columns - 1);
    const int32_t top = std::max(u.Top, 0), bottom = std::min(u.Bottom, src.Rows - 1);
    for (int32_t y = top; y <= bottom; ++y) {
        TMicroTile *d = &dst.At(left, y);
        const TMicroTile *s = &src.At(left, y);
        const int32_t n = right - left + 1;
        int32_t i = 0;
        for (; i + 4 <= n; i += 4) {
            const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i *>(d + i));
            const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(d + i), Union4(dv, sv));
        }
        for (; i < n; ++i) {
            TileUnion_SSE2(d[i], s[i]);
        }
    }
}

} // namespace raster::detail
