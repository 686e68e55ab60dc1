// Portable low-level routines and the registration of their variants.
#include "raster/Raster_LowLevel.h"

#include "raster/Raster_Bindings.h"
#include "raster/Raster_LowLevel_p.h"

#include "platform/rtl/Rounding.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace raster {

namespace {

void FillDWords_Pas(uint32_t *x, int32_t count, uint32_t value) {
    for (int32_t i = count - 1; i >= 0; --i) {
        x[i] = value;
    }
}

long double Det2x2Single_Pas(float a, float b, float c, float d) {
    return static_cast<float>(a * d - b * c);
}
long double Det2x2Single_Ext(float a, float b, float c, float d) {
    return static_cast<long double>(a) * d - static_cast<long double>(b) * c;
}
long double Det2x2Double_Pas(double a, double b, double c, double d) {
    return a * d - b * c;
}
long double Det2x2Double_Ext(double a, double b, double c, double d) {
    return static_cast<long double>(a) * d - static_cast<long double>(b) * c;
}

} // namespace

TFillDWordsProc FillDWords = FillDWords_Pas;
TDet2x2SingleProc Det2x2Single = Det2x2Single_Ext;
TDet2x2DoubleProc Det2x2Double = Det2x2Double_Ext;

void InitializeLowLevel() {
    TFunctionRegistry *r = NewRegistry("Raster_LowLevel bindings");
    r->RegisterBinding(0, &FillDWords);
    r->Add(0, FillDWords_Pas, NoCPUFeatures);
    r->Add(0, detail::FillDWords_SSE2, CPUFeature(ciSSE2));
    r->Add(0, detail::FillDWords_AVX2, CPUFeature(ciAVX2));
    r->RebindAll();
}

void InitializeTransforms() {
    TFunctionRegistry *t = NewRegistry("Raster_Transforms bindings");
    t->RegisterBinding(0, &Det2x2Single);
    t->RegisterBinding(1, &Det2x2Double);
    t->Add(0, Det2x2Single_Pas, NoCPUFeatures);
    t->Add(1, Det2x2Double_Pas, NoCPUFeatures);
    t->Add(0, Det2x2Single_Ext, NoCPUFeatures);
    t->Add(1, Det2x2Double_Ext, NoCPUFeatures);
    t->RebindAll();
}

void MoveDWords(const uint32_t *source, uint32_t *dest, int32_t count) {
    if (count > 0) {
        std::memmove(dest, source, static_cast<size_t>(count) * 4);
    }
}

TFixed FixedProduct(TFixed a, TFixed b) {
    const int64_t p = static_cast<int64_t>(a) * b;
    return static_cast<TFixed>(static_cast<uint32_t>(static_cast<uint64_t>(p >> 16)));
}

TFixed FixedQuotient(TFixed a, TFixed b) {
    return static_cast<TFixed>((static_cast<int64_t>(a) * 65536) / b);
}

long double HypotSingle(float x, float y) {
    return std::sqrt(static_cast<long double>(x) * x + static_cast<long double>(y) * y);
}

int32_t HypotRounded(int32_t x, int32_t y) {
    const long double sq = static_cast<long double>(static_cast<int64_t>(x) * x) +
                           static_cast<long double>(static_cast<int64_t>(y) * y);
    return rtl::RoundSaturated<int32_t>(std::sqrt(sq));
}

int32_t MulDivRounded(int32_t a, int32_t b, int32_t c) {
    const bool negative = ((a ^ b ^ c) < 0);
    const uint64_t ua = static_cast<uint64_t>(std::llabs(a));
    const uint64_t ub = static_cast<uint64_t>(std::llabs(b));
    const uint64_t uc = static_cast<uint64_t>(std::llabs(c));
    const uint64_t p = ua * ub;
    if (2 * (p >> 32) >= uc) {
        return -1;
    }
    uint64_t q = p / uc;
    const uint64_t r = p % uc;
    if (r >= uc - r) {
        ++q;
    }
    // The high-word test above lets quotients between 2^31 and 2^33 through; they do not fit.
    if (q > INT32_MAX) {
        return -1;
    }
    return negative ? -static_cast<int32_t>(q) : static_cast<int32_t>(q);
}

bool ClipSpan(int32_t &a, int32_t &b, int32_t min, int32_t max) {
    if (b < a) {
        std::swap(a, b);
    }
    if (a < min) {
        a = min;
    }
    if (b >= max) {
        b = max - 1;
    }
    return b >= a;
}

int32_t ConstrainSorted(int32_t value, int32_t lo, int32_t hi) {
    if (hi < lo) {
        std::swap(lo, hi);
    }
    return value < lo ? lo : (value > hi ? hi : value);
}

int32_t ClampToRange(int32_t value, int32_t min, int32_t max) {
    if (value > max) {
        return max;
    }
    if (value < min) {
        return min;
    }
    return value;
}

int32_t WrapToRange(int32_t value, int32_t min, int32_t max) {
    const int64_t n = static_cast<int64_t>(max) - min + 1;
    if (value < min) {
        return static_cast<int32_t>(max + (static_cast<int64_t>(value) - max) % n);
    }
    return static_cast<int32_t>(min + (static_cast<int64_t>(value) - min) % n);
}

int32_t DivWithRemainder(int32_t dividend, int32_t divisor, int32_t &remainder) {
    remainder = dividend % divisor;
    return dividend / divisor;
}

int32_t MirrorToRange(int32_t value, int32_t min, int32_t max) {
    const int64_t n = static_cast<int64_t>(max) - min + 1;
    const int64_t d =
        value < min ? static_cast<int64_t>(value) - max : static_cast<int64_t>(value) - min;
    const int64_t q = d / n;
    const int64_t v = d % n + (value < min ? max : min);
    return static_cast<int32_t>((q & 1) ? static_cast<int64_t>(min) + max - v : v);
}

int32_t WrapToRangePow2(int32_t value, int32_t min, int32_t max) {
    return min + ((value - min) & (max - min));
}

int32_t MirrorToRangePow2(int32_t value, int32_t min, int32_t max) {
    const int32_t d = (value - min) & (max - min);
    return ((value - min) & (max - min + 1)) != 0 ? max - d : min + d;
}

TWrapProcEx WrapProcFor(TWrapMode mode) {
    switch (mode) {
    case wmRepeat:
        return WrapToRange;
    case wmMirror:
        return MirrorToRange;
    default:
        return ClampToRange;
    }
}

TWrapProcEx FastWrapProcFor(TWrapMode mode, int32_t min, int32_t max) {
    const bool pow2 = min >= 0 && min <= max && ((max - min) & (max - min + 1)) == 0;
    switch (mode) {
    case wmRepeat:
        return pow2 ? WrapToRangePow2 : WrapToRange;
    case wmMirror:
        return pow2 ? MirrorToRangePow2 : MirrorToRange;
    default:
        return ClampToRange;
    }
}

} // namespace raster
