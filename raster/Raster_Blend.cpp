// Scalar reference of the blend, combine and merge routines, their tables, and the registry
// that binds the processor variants.
#include "raster/Raster_Blend.h"

#include "raster/Raster_Bindings.h"
#include "raster/Raster_Blend_p.h"
#include "raster/Raster_LowLevel.h"

namespace raster {

uint8_t ProductTable[256][256];
uint8_t QuotientTable[256][256];

namespace reference {

TColor32 BlendPixel(TColor32 f, TColor32 b) {
    return CombineChannels(f, b, f >> 24);
}

void BlendPixelInPlace(TColor32 f, TColor32 &b) {
    const uint32_t fa = f >> 24;
    if (fa == 0) {
        return;
    }
    b = fa == 255 ? f : CombineChannels(f, b, fa);
}

void BlendPixelRow(const TColor32 *src, TColor32 *dst, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t fa = src[i] >> 24;
        if (fa == 255) {
            dst[i] = src[i];
        } else if (fa != 0) {
            dst[i] = CombineChannels(src[i], dst[i], fa);
        }
    }
}

TColor32 BlendPixelWeighted(TColor32 f, TColor32 b, uint32_t m) {
    const uint32_t w = ((m + 1) * (f >> 24)) >> 8;
    return w == 0 ? b : CombineChannels(f, b, w);
}

void BlendPixelInPlaceWeighted(TColor32 f, TColor32 &b, uint32_t m) {
    const uint32_t w = ((m + 1) * (f >> 24)) >> 8;
    if (w != 0) {
        b = CombineChannels(f, b, w);
    }
}

// Here the +1 goes on the pixel's alpha, not on M, as in the original row routine.
void BlendPixelRowWeighted(const TColor32 *src, TColor32 *dst, int32_t count, uint32_t m) {
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t fa = src[i] >> 24;
        if (fa == 0) {
            continue;
        }
        const uint32_t w = ((fa + 1) * m) >> 8;
        if (w != 0) {
            dst[i] = CombineChannels(src[i], dst[i], w);
        }
    }
}

TColor32 CombinePixel(TColor32 x, TColor32 y, uint32_t w) {
    return CombineChannels(x, y, w);
}

void CombinePixelInPlace(TColor32 x, TColor32 &y, uint32_t w) {
    if (w == 0) {
        return;
    }
    y = w == 255 ? x : CombineChannels(x, y, w);
}

void CombinePixelRow(const TColor32 *src, TColor32 *dst, int32_t count, uint32_t w) {
    if (w == 0) {
        return;
    }
    if (w == 255) {
        MoveDWords(src, dst, count);
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        dst[i] = CombineChannels(src[i], dst[i], w);
    }
}

TColor32 MergePixel(TColor32 f, TColor32 b) {
    const uint32_t fa = f >> 24;
    const uint32_t ba = b >> 24;
    if (fa == 0) {
        return b;
    }
    if (ba == 255) {
        return raster::BlendPixel(f, b) | 0xFF000000u;
    }
    if (fa == 255 || ba == 0) {
        return f;
    }
    const uint32_t ra = (fa + ba - ProductTable[ba][fa]) & 0xFF;
    TColor32 result = ra << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int32_t bx = ProductTable[ba][(b >> shift) & 0xFF];
        const int32_t d = static_cast<int32_t>((f >> shift) & 0xFF) - bx;
        const int32_t p = d >= 0 ? bx + ProductTable[fa][d] : bx - ProductTable[fa][-d];
        result |= static_cast<uint32_t>(QuotientTable[ra][p & 0xFF]) << shift;
    }
    return result;
}

void CombinePixelColumnPair(TColor32 c, TColor32 *p, int32_t stride, int32_t rows, uint32_t w0,
                            uint32_t w1, uint32_t w0b, uint32_t w1b) {
    for (int32_t r = 0; r < rows; ++r, p += stride) {
        for (const uint32_t w : {w0, w0b}) {
            if (w != 0) {
                p[0] = CombineChannels(c, p[0], w);
            }
        }
        for (const uint32_t w : {w1, w1b}) {
            if (w != 0) {
                p[1] = CombineChannels(c, p[1], w);
            }
        }
    }
}

} // namespace reference

namespace {

void EndBlend_Nop() {}

void MergePixelInPlace_Pas(TColor32 f, TColor32 &b) {
    b = MergePixel(f, b);
}

void MergePixelRow_Pas(const TColor32 *src, TColor32 *dst, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        dst[i] = MergePixel(src[i], dst[i]);
    }
}

TColor32 WithAlpha(TColor32 c, uint32_t a) {
    return (c & 0x00FFFFFFu) | (a << 24);
}

TColor32 MergePixelWeighted_Pas(TColor32 f, TColor32 b, uint32_t m) {
    return MergePixel(WithAlpha(f, ProductTable[m][f >> 24]), b);
}

void MergePixelInPlaceWeighted_Pas(TColor32 f, TColor32 &b, uint32_t m) {
    b = MergePixel(WithAlpha(f, ProductTable[m][f >> 24]), b);
}

void MergePixelRowWeighted_Pas(const TColor32 *src, TColor32 *dst, int32_t count, uint32_t m) {
    for (int32_t i = 0; i < count; ++i) {
        dst[i] = MergePixel(WithAlpha(src[i], ProductTable[m][src[i] >> 24]), dst[i]);
    }
}

uint8_t RoundedQuotient(uint32_t num, uint32_t den) {
    uint32_t q = num / den;
    const uint32_t r2 = 2 * (num % den);
    if (r2 > den || (r2 == den && (q & 1) != 0)) {
        ++q;
    }
    return static_cast<uint8_t>(q & 0xFF);
}

void BuildTables() {
    for (uint32_t x = 0; x < 256; ++x) {
        for (uint32_t y = 0; y < 256; ++y) {
            ProductTable[x][y] = RoundedQuotient(x * y, 255);
            QuotientTable[x][y] = x == 0 ? 0 : RoundedQuotient(y * 255, x);
        }
    }
}

} // namespace

TEndBlendProc EndBlend = EndBlend_Nop;
TBlendReg MergePixel = reference::MergePixel;
TBlendMem MergePixelInPlace = MergePixelInPlace_Pas;
TBlendLine MergePixelRow = MergePixelRow_Pas;
TBlendRegEx MergePixelWeighted = MergePixelWeighted_Pas;
TBlendMemEx MergePixelInPlaceWeighted = MergePixelInPlaceWeighted_Pas;
TBlendLineEx MergePixelRowWeighted = MergePixelRowWeighted_Pas;
TCombineReg CombinePixel = reference::CombinePixel;
TCombineMem CombinePixelInPlace = reference::CombinePixelInPlace;
TCombineLine CombinePixelRow = reference::CombinePixelRow;
TBlendReg BlendPixel = reference::BlendPixel;
TBlendMem BlendPixelInPlace = reference::BlendPixelInPlace;
TBlendLine BlendPixelRow = reference::BlendPixelRow;
TBlendRegEx BlendPixelWeighted = reference::BlendPixelWeighted;
TBlendMemEx BlendPixelInPlaceWeighted = reference::BlendPixelInPlaceWeighted;
TBlendLineEx BlendPixelRowWeighted = reference::BlendPixelRowWeighted;
TCombineColumnPair CombinePixelColumnPair = reference::CombinePixelColumnPair;

TBlendMem BlendInPlaceByMode(TCombineMode mode) {
    return mode == cmMerge ? MergePixelInPlace : BlendPixelInPlace;
}
TBlendMemEx BlendInPlaceWeightedByMode(TCombineMode mode) {
    return mode == cmMerge ? MergePixelInPlaceWeighted : BlendPixelInPlaceWeighted;
}
TBlendLine BlendRowByMode(TCombineMode mode) {
    return mode == cmMerge ? MergePixelRow : BlendPixelRow;
}
TBlendLineEx BlendRowWeightedByMode(TCombineMode mode) {
    return mode == cmMerge ? MergePixelRowWeighted : BlendPixelRowWeighted;
}

namespace {

void RegisterReferenceVariants(TFunctionRegistry *r) {
    r->Add(FID_EMMS, EndBlend_Nop, NoCPUFeatures);
    r->Add(FID_MERGEREG, reference::MergePixel, NoCPUFeatures);
    r->Add(FID_MERGEMEM, MergePixelInPlace_Pas, NoCPUFeatures);
    r->Add(FID_MERGELINE, MergePixelRow_Pas, NoCPUFeatures);
    r->Add(FID_MERGEREGEX, MergePixelWeighted_Pas, NoCPUFeatures);
    r->Add(FID_MERGEMEMEX, MergePixelInPlaceWeighted_Pas, NoCPUFeatures);
    r->Add(FID_MERGELINEEX, MergePixelRowWeighted_Pas, NoCPUFeatures);
    r->Add(FID_COMBINEREG, reference::CombinePixel, NoCPUFeatures);
    r->Add(FID_COMBINEMEM, reference::CombinePixelInPlace, NoCPUFeatures);
    r->Add(FID_COMBINELINE, reference::CombinePixelRow, NoCPUFeatures);
    r->Add(FID_BLENDREG, reference::BlendPixel, NoCPUFeatures);
    r->Add(FID_BLENDMEM, reference::BlendPixelInPlace, NoCPUFeatures);
    r->Add(FID_BLENDLINE, reference::BlendPixelRow, NoCPUFeatures);
    r->Add(FID_BLENDREGEX, reference::BlendPixelWeighted, NoCPUFeatures);
    r->Add(FID_BLENDMEMEX, reference::BlendPixelInPlaceWeighted, NoCPUFeatures);
    r->Add(FID_BLENDLINEEX, reference::BlendPixelRowWeighted, NoCPUFeatures);
    r->Add(FID_COMBINECOLUMNPAIR, reference::CombinePixelColumnPair, NoCPUFeatures);
}

void RegisterBindings(TFunctionRegistry *r) {
    r->RegisterBinding(FID_EMMS, &EndBlend);
    r->RegisterBinding(FID_MERGEREG, &MergePixel);
    r->RegisterBinding(FID_MERGEMEM, &MergePixelInPlace);
    r->RegisterBinding(FID_MERGELINE, &MergePixelRow);
    r->RegisterBinding(FID_MERGEREGEX, &MergePixelWeighted);
    r->RegisterBinding(FID_MERGEMEMEX, &MergePixelInPlaceWeighted);
    r->RegisterBinding(FID_MERGELINEEX, &MergePixelRowWeighted);
    r->RegisterBinding(FID_COMBINEREG, &CombinePixel);
    r->RegisterBinding(FID_COMBINEMEM, &CombinePixelInPlace);
    r->RegisterBinding(FID_COMBINELINE, &CombinePixelRow);
    r->RegisterBinding(FID_BLENDREG, &BlendPixel);
    r->RegisterBinding(FID_BLENDMEM, &BlendPixelInPlace);
    r->RegisterBinding(FID_BLENDLINE, &BlendPixelRow);
    r->RegisterBinding(FID_BLENDREGEX, &BlendPixelWeighted);
    r->RegisterBinding(FID_BLENDMEMEX, &BlendPixelInPlaceWeighted);
    r->RegisterBinding(FID_BLENDLINEEX, &BlendPixelRowWeighted);
    r->RegisterBinding(FID_COMBINECOLUMNPAIR, &CombinePixelColumnPair);
}

} // namespace

void InitializeBlend() {
    BuildTables();
    TFunctionRegistry *r = NewRegistry("Raster_Blend bindings");
    RegisterBindings(r);
    detail::RegisterChannelBindings(r);
    RegisterReferenceVariants(r);
    detail::RegisterChannelReferences(r);
    r->Add(FID_COMBINELINE, detail::CombinePixelRow_SSE2, CPUFeature(ciSSE2));
    r->Add(FID_BLENDLINE, detail::BlendPixelRow_SSE2, CPUFeature(ciSSE2));
    r->Add(FID_BLENDLINEEX, detail::BlendPixelRowWeighted_SSE2, CPUFeature(ciSSE2));
    r->Add(FID_COMBINECOLUMNPAIR, detail::CombinePixelColumnPair_SSE2, CPUFeature(ciSSE2));
    detail::RegisterChannelSSE2(r);
    r->Add(FID_COMBINELINE, detail::CombinePixelRow_AVX2, CPUFeature(ciAVX2));
    r->Add(FID_BLENDLINE, detail::BlendPixelRow_AVX2, CPUFeature(ciAVX2));
    r->Add(FID_BLENDLINEEX, detail::BlendPixelRowWeighted_AVX2, CPUFeature(ciAVX2));
    r->RebindAll();
}

} // namespace raster
