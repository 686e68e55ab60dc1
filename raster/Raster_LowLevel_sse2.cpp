// SSE2 fill: aligned 16-byte stores of four cells.
#include "raster/Raster_LowLevel_p.h"

#include <cstddef>
#include <emmintrin.h>

namespace raster::detail {

void FillDWords_SSE2(uint32_t *x, int32_t count, uint32_t value) {
    if (count <= 0) {
        return;
    }
    if (count < 32 || (reinterpret_cast<uintptr_t>(x) & 3) != 0) {
        for (int32_t i = 0; i < count; ++i) {
            x[i] = value;
        }
        return;
    }
    while ((reinterpret_cast<uintptr_t>(x) & 15) != 0) {
        *x++ = value;
        --count;
    }
    const __m128i v = _mm_set1_epi32(static_cast<int>(value));
    for (; count >= 16; count -= 16, x += 16) {
        _mm_store_si128(reinterpret_cast<__m128i *>(x), v);
        _mm_store_si128(reinterpret_cast<__m128i *>(x + 4), v);
        _mm_store_si128(reinterpret_cast<__m128i *>(x + 8), v);
        _mm_store_si128(reinterpret_cast<__m128i *>(x + 12), v);
    }
    for (; count >= 4; count -= 4, x += 4) {
        _mm_store_si128(reinterpret_cast<__m128i *>(x), v);
    }
    while (count-- > 0) {
        *x++ = value;
    }
}

} // namespace raster::detail
