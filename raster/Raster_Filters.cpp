// The logical row masks: scalar references, routine variables and their registry.
#include "raster/Raster_Filters.h"

#include "raster/Raster_Bindings.h"
#include "raster/Raster_Filters_p.h"

namespace raster {

namespace reference {

void AndRow(uint32_t *dst, uint32_t mask, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        dst[i] &= mask;
    }
}

void OrRow(uint32_t *dst, uint32_t mask, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        dst[i] |= mask;
    }
}

void XorRow(uint32_t *dst, uint32_t mask, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        dst[i] ^= mask;
    }
}

void AndRowTo(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask) {
    for (int32_t i = 0; i < count; ++i) {
        dst[i] = src[i] & mask;
    }
}

void OrRowTo(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask) {
    for (int32_t i = 0; i < count; ++i) {
        dst[i] = src[i] | mask;
    }
}

void XorRowTo(const uint32_t *src, uint32_t *dst, int32_t count, uint32_t mask) {
    for (int32_t i = 0; i < count; ++i) {
        dst[i] = src[i] ^ mask;
    }
}

} // namespace reference

TLogicalMaskRow AndRow = reference::AndRow;
TLogicalMaskRow OrRow = reference::OrRow;
TLogicalMaskRow XorRow = reference::XorRow;
TLogicalMaskRowTo AndRowTo = reference::AndRowTo;
TLogicalMaskRowTo OrRowTo = reference::OrRowTo;
TLogicalMaskRowTo XorRowTo = reference::XorRowTo;

void InitializeFilters() {
    TFunctionRegistry *r = NewRegistry("Raster_Filters bindings");
    r->RegisterBinding(FID_ANDREG, &AndRow);
    r->RegisterBinding(FID_ORREG, &OrRow);
    r->RegisterBinding(FID_XORREG, &XorRow);
    r->RegisterBinding(FID_ANDMEM, &AndRowTo);
    r->RegisterBinding(FID_ORMEM, &OrRowTo);
    r->RegisterBinding(FID_XORMEM, &XorRowTo);
    r->Add(FID_ANDREG, reference::AndRow, NoCPUFeatures);
    r->Add(FID_ORREG, reference::OrRow, NoCPUFeatures);
    r->Add(FID_XORREG, reference::XorRow, NoCPUFeatures);
    r->Add(FID_ANDMEM, reference::AndRowTo, NoCPUFeatures);
    r->Add(FID_ORMEM, reference::OrRowTo, NoCPUFeatures);
    r->Add(FID_XORMEM, reference::XorRowTo, NoCPUFeatures);
    const TCPUFeatures sse2 = CPUFeature(ciSSE2), avx2 = CPUFeature(ciAVX2);
    r->Add(FID_ANDREG, detail::AndRow_SSE2, sse2);
    r->Add(FID_ORREG, detail::OrRow_SSE2, sse2);
    r->Add(FID_XORREG, detail::XorRow_SSE2, sse2);
    r->Add(FID_ANDMEM, detail::AndRowTo_SSE2, sse2);
    r->Add(FID_ORMEM, detail::OrRowTo_SSE2, sse2);
    r->Add(FID_XORMEM, detail::XorRowTo_SSE2, sse2);
    r->Add(FID_ANDREG, detail::AndRow_AVX2, avx2);
    r->Add(FID_ORREG, detail::OrRow_AVX2, avx2);
    r->Add(FID_XORREG, detail::XorRow_AVX2, avx2);
    r->Add(FID_ANDMEM, detail::AndRowTo_AVX2, avx2);
    r->Add(FID_ORMEM, detail::OrRowTo_AVX2, avx2);
    r->Add(FID_XORMEM, detail::XorRowTo_AVX2, avx2);
    r->RebindAll();
}

} // namespace raster
