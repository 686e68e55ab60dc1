// Kernel resampling: contribution tables, the separable resampling of rectangles, and the
// kernel resampler's point samples with its weight tables.
#include "raster/Raster_Resamplers.h"

#include "raster/Raster_Resamplers_p.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace raster {

// ---- The two passes, scalar ---------------------------------------------------------------

namespace reference {

void KernelColumns(const TColor32 *const *rows, const int32_t *weights, int32_t taps, int32_t count,
                   int32_t *sums) {
    for (int32_t x = 0; x < count; ++x) {
        int32_t b = 0, g = 0, r = 0, a = 0;
        for (int32_t k = 0; k < taps; ++k) {
            const TColor32 c = rows[k][x];
            const int32_t w = weights[k];
            b += w * int32_t(c & 0xFF);
            g += w * int32_t((c >> 8) & 0xFF);
            r += w * int32_t((c >> 16) & 0xFF);
            a += w * int32_t(c >> 24);
        }
        sums[4 * x] = b;
        sums[4 * x + 1] = g;
        sums[4 * x + 2] = r;
        sums[4 * x + 3] = a;
    }
}

void KernelRow(const int32_t *sums, const int32_t *starts, const int32_t *pos,
               const int32_t *weights, int32_t count, int32_t clampNegative, TColor32 *out) {
    for (int32_t i = 0; i < count; ++i) {
        int32_t s[4] = {0, 0, 0, 0};
        for (int32_t k = starts[i]; k < starts[i + 1]; ++k) {
            const int32_t *e = sums + 4 * pos[k];
            for (int c = 0; c < 4; ++c) {
                s[c] += weights[k] * e[c];
            }
        }
        TColor32 result = 0;
        for (int c = 0; c < 4; ++c) {
            const int32_t v = clampNegative ? std::clamp(s[c], 0, 0xFF0000) : (s[c] & 0xFF0000);
            result |= uint32_t(v >> 16) << (8 * c);
        }
        out[i] = result;
    }
}

} // namespace reference

TKernelColumnsProc KernelColumns = reference::KernelColumns;
TKernelRowProc KernelRow = reference::KernelRow;

// ---- Contribution tables ------------------------------------------------------------------

namespace {

// A weight in 1/256 from a kernel value; values no sane kernel reaches are limited so that no
// conversion overflows.
int32_t WeightOf(double value) {
    return Round(std::clamp(value, -16777216.0, 16777216.0));
}

struct TRawTap {
    int32_t Pos;
    double Weight; // unrounded, in 1/256
};

// Weights through their running sum, scaled to 256 in all: each is the step of the rounded
// running sum, so they add up to 256 and keep the sign pattern of the kernel.
TCluster QuantiseRunning(const std::vector<TRawTap> &taps, double total) {
    TCluster c;
    double running = 0;
    int32_t previous = 0;
    for (const TRawTap &t : taps) {
        running += t.Weight * 256.0 / total;
        const int32_t next = WeightOf(running);
        if (next != previous) {
            c.push_back({t.Pos, next - previous});
        }
        previous = next;
    }
    return c;
}

// One destination column: the taps around its centre, weighted by the kernel.
TCluster BuildCluster(float center, float scale, int32_t srcLo, int32_t srcHi,
                      const TCustomKernel &kernel) {
    const float width = kernel.GetWidth();
    const bool reduce = scale < 1;
    const float reach = reduce ? width / scale : width;
    const int32_t first = int32_t(std::floor(center - reach));
    const int32_t last = int32_t(std::ceil(center + reach));
    std::vector<TRawTap> raw;
    TCluster c;
    int32_t sum = 0;
    double total = 0;
    for (int32_t j = first; j <= last; ++j) {
        const double w = reduce ? double(kernel.Filter((center - float(j)) * scale)) * 256 * scale
                                : double(kernel.Filter(center - float(j))) * 256;
        if (w == 0) {
            continue;
        }
        const int32_t pos = std::clamp(j, srcLo, srcHi - 1);
        raw.push_back({pos, w});
        total += w;
        const int32_t rounded = WeightOf(w);
        if (rounded != 0) {
            c.push_back({pos, rounded});
            sum += rounded;
        }
    }
    const int32_t diff = 256 - sum;
    if (!c.empty() && diff != 0) {
        TPointRec &middle = c[(c.size() - 1) / 2];
        // The middle pair takes a small difference; one larger than its own weight would
        // reverse or swamp it (large reductions round most weights away).
        if (std::abs(diff) <= std::abs(middle.Weight)) {
            middle.Weight += diff;
            return c;
        }
    } else if (!c.empty()) {
        return c;
    }
    if (total > 0) {
        return QuantiseRunning(raw, total);
    }
    return {{std::clamp(int32_t(std::floor(center)), srcLo, srcHi - 1), 256}};
}

} // namespace

TMappingTable BuildContributionTable(int32_t dstLo, int32_t dstHi, int32_t clipLo, int32_t clipHi,
                                     int32_t srcLo, int32_t srcHi, const TCustomKernel &kernel) {
    const int32_t srcW = srcHi - srcLo;
    if (srcW <= 0 || clipHi <= clipLo) {
        return {};
    }
    TMappingTable table(size_t(clipHi - clipLo));
    if (srcW == 1) {
        std::fill(table.begin(), table.end(), TCluster{{srcLo, 256}});
        return table;
    }
    const float scale = float(dstHi - dstLo) / float(srcW);
    if (scale <= 0) {
        std::fill(table.begin(), table.end(), TCluster{{(srcLo + srcHi) / 2, 256}});
        return table;
    }
    const float invScale = 1 / scale;
    for (int32_t i = 0; i < clipHi - clipLo; ++i) {
        const float center =
            float(srcLo - 0.5 + (double(i) + clipLo - dstLo + 0.5) * double(invScale));
        table[size_t(i)] = BuildCluster(center, scale, srcLo, srcHi, kernel);
    }
    return table;
}

// ---- Separable resampling -----------------------------------------------------------------

namespace {

// A mapping table in flat arrays, positions relative to the lowest one.
struct TFlatMap {
    std::vector<int32_t> Starts{0};
    std::vector<int32_t> Pos;
    std::vector<int32_t> Weights;
    int32_t Lo = 0;
    int32_t Hi = -1;
    int64_t MaxAbsSum = 0;
    int32_t MaxAbsWeight = 0;

    explicit TFlatMap(const TMappingTable &table) {
        Lo = std::numeric_limits<int32_t>::max();
        Hi = std::numeric_limits<int32_t>::min();
        for (const TCluster &c : table) {
            int64_t absSum = 0;
            for (const TPointRec &p : c) {
                Lo = std::min(Lo, p.Pos);
                Hi = std::max(Hi, p.Pos);
                Pos.push_back(p.Pos);
                Weights.push_back(p.Weight);
                absSum += std::abs(int64_t(p.Weight));
                MaxAbsWeight = std::max(MaxAbsWeight, std::abs(p.Weight));
            }
            MaxAbsSum = std::max(MaxAbsSum, absSum);
            Starts.push_back(int32_t(Pos.size()));
        }
        for (int32_t &p : Pos) {
            p -= Lo;
        }
    }
    int32_t Count() const { return int32_t(Starts.size()) - 1; }
};

// Whether both passes stay inside 32-bit sums (and 16-bit weights) for every pixel value.
bool FitsInt32(const TFlatMap &x, const TFlatMap &y) {
    return x.MaxAbsWeight <= 32767 && y.MaxAbsWeight <= 32767 &&
           x.MaxAbsSum * y.MaxAbsSum * 255 < (int64_t(1) << 31);
}

// One colour onto one destination pixel by draw mode.
inline void PutPixel(TColor32 c, TColor32 &pixel, TDrawMode op, const TCustomBitmap32 &src,
                     TBlendMemEx blend, const TPixelCombineEvent &cb) {
    switch (op) {
    case dmOpaque:
        pixel = c;
        break;
    case dmBlend:
        blend(c, pixel, src.GetMasterAlpha());
        break;
    case dmTransparent:
        if (c != src.GetOuterColor()) {
            pixel = c;
        }
        break;
    case dmCustom:
        cb(c, pixel, src.GetMasterAlpha());
        break;
    }
}

// Both passes in 64-bit sums, for kernels whose weights could leave 32 bits.
void WideLine(const TColor32 *const *rows, const int32_t *wy, int32_t taps, const TFlatMap &mx,
              bool clampNegative, std::vector<int64_t> &columns, TColor32 *out) {
    const int32_t n = mx.Hi - mx.Lo + 1;
    for (int32_t x = 0; x < n; ++x) {
        int64_t s[4] = {0, 0, 0, 0};
        for (int32_t k = 0; k < taps; ++k) {
            const TColor32 c = rows[k][x];
            for (int ch = 0; ch < 4; ++ch) {
                s[ch] += int64_t(wy[k]) * ((c >> (8 * ch)) & 0xFF);
            }
        }
        std::copy_n(s, 4, &columns[size_t(4 * x)]);
    }
    for (int32_t i = 0; i < mx.Count(); ++i) {
        int64_t s[4] = {0, 0, 0, 0};
        for (int32_t k = mx.Starts[size_t(i)]; k < mx.Starts[size_t(i) + 1]; ++k) {
            for (int ch = 0; ch < 4; ++ch) {
                s[ch] +=
                    int64_t(mx.Weights[size_t(k)]) * columns[size_t(4 * mx.Pos[size_t(k)] + ch)];
            }
        }
        TColor32 result = 0;
        for (int ch = 0; ch < 4; ++ch) {
            // Masking keeps what 32-bit sums would keep.
            const int64_t v = clampNegative ? std::clamp<int64_t>(s[ch], 0, 0xFF0000)
                                            : int64_t(uint32_t(s[ch]) & 0xFF0000u);
            result |= uint32_t(v >> 16) << (8 * ch);
        }
        out[i] = result;
    }
}

} // namespace

void ResampleByKernel(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                      TRect srcRect, const TCustomKernel &kernel, TDrawMode combineOp,
                      const TPixelCombineEvent &combineCallBack) {
    if (combineOp == dmCustom && !combineCallBack) {
        combineOp = dmOpaque;
    }
    if (combineOp == dmBlend && src->GetMasterAlpha() == 0) {
        return;
    }
    if (srcRect.Left < 0 || srcRect.Top < 0 || srcRect.Right > src->GetWidth() ||
        srcRect.Bottom > src->GetHeight()) {
        throw rtl::Exception(std::string_view("Invalid SrcRect"));
    }
    IntersectRects(dstClip, dstClip, dst->BoundsRect());
    IntersectRects(dstClip, dstClip, dstRect);
    const TFlatMap mx(BuildContributionTable(dstRect.Left, dstRect.Right, dstClip.Left,
                                             dstClip.Right, srcRect.Left, srcRect.Right, kernel));
    const TFlatMap my(BuildContributionTable(dstRect.Top, dstRect.Bottom, dstClip.Top,
                                             dstClip.Bottom, srcRect.Top, srcRect.Bottom, kernel));
    if (mx.Count() == 0 || my.Count() == 0 || mx.Pos.empty() || my.Pos.empty()) {
        EndBlend();
        return;
    }
    const bool narrow = FitsInt32(mx, my);
    const bool clampNegative = kernel.HasNegativeLobes();
    const int32_t columns = mx.Hi - mx.Lo + 1;
    std::vector<int32_t> sums(narrow ? size_t(4 * columns) : 0);
    std::vector<int64_t> wideSums(narrow ? 0 : size_t(4 * columns));
    std::vector<TColor32> line(size_t(mx.Count()));
    std::vector<const TColor32 *> rows;
    const TBlendMemEx blend = BlendInPlaceWeightedByMode(src->GetCombineMode());
    struct TEndBlend {
        ~TEndBlend() { EndBlend(); }
    } endBlend;
    for (int32_t j = 0; j < my.Count(); ++j) {
        const int32_t t0 = my.Starts[size_t(j)], taps = my.Starts[size_t(j) + 1] - t0;
        rows.resize(size_t(taps));
        for (int32_t k = 0; k < taps; ++k) {
            rows[size_t(k)] = src->GetPixelPtr(mx.Lo, my.Lo + my.Pos[size_t(t0 + k)]);
        }
        TColor32 *d = dst->GetPixelPtr(dstClip.Left, dstClip.Top + j);
        TColor32 *out = combineOp == dmOpaque ? d : line.data();
        if (narrow) {
            KernelColumns(rows.data(), &my.Weights[size_t(t0)], taps, columns, sums.data());
            KernelRow(sums.data(), mx.Starts.data(), mx.Pos.data(), mx.Weights.data(), mx.Count(),
                      clampNegative, out);
        } else {
            WideLine(rows.data(), &my.Weights[size_t(t0)], taps, mx, clampNegative, wideSums, out);
        }
        if (combineOp != dmOpaque) {
            for (int32_t i = 0; i < mx.Count(); ++i) {
                PutPixel(line[size_t(i)], d[i], combineOp, *src, blend, combineCallBack);
            }
        }
    }
}

// ---- TKernelResampler ---------------------------------------------------------------------

TKernelResampler::TKernelResampler(TCustomBitmap32 *bitmap)
    : TCustomResampler(bitmap), FKernel(std::make_unique<TBoxKernel>()) {
    FKernel->SetObserver(this);
}

TKernelResampler::~TKernelResampler() = default;

void TKernelResampler::SetKernel(TCustomKernel *value) {
    if (value == nullptr || value == FKernel.get()) {
        return;
    }
    FKernel.reset(value);
    FKernel->SetObserver(this);
    Changed();
}

void TKernelResampler::SetKernelClassName(const std::string &value) {
    if (value.empty() || value == GetKernelClassName()) {
        return;
    }
    if (std::unique_ptr<TCustomKernel> k = CreateKernelByName(value)) {
        SetKernel(k.release());
    }
}

void TKernelResampler::SetKernelMode(TKernelMode value) {
    if (value != FKernelMode) {
        FKernelMode = value;
        Changed();
    }
}

void TKernelResampler::SetTableSize(int32_t value) {
    value = std::max(value, 2);
    if (value != FTableSize) {
        FTableSize = value;
        Changed();
    }
}

void TKernelResampler::Resample(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip,
                                TCustomBitmap32 *src, TRect srcRect, TDrawMode combineOp,
                                const TPixelCombineEvent &combineCallBack) {
    ResampleByKernel(dst, dstRect, dstClip, src, srcRect, *FKernel, combineOp, combineCallBack);
}

namespace {
const char *const kKernelModeNames[] = {"kmDynamic", "kmTableNearest", "kmTableLinear"};
} // namespace

void TKernelResampler::GetPropList(std::vector<TPropInfo> &list) const {
    TCustomResampler::GetPropList(list);
    list.push_back({"KernelClassName", tkString});
    list.push_back({"Kernel", tkClass});
    list.push_back({"KernelMode", tkEnumeration});
    list.push_back({"TableSize", tkInteger});
}

TPropertyValue TKernelResampler::GetPropValue(const std::string &name) const {
    if (name == "KernelClassName") {
        return GetKernelClassName();
    }
    if (name == "Kernel") {
        return static_cast<TPublishedObject *>(FKernel.get());
    }
    if (name == "KernelMode") {
        return std::string(kKernelModeNames[FKernelMode]);
    }
    if (name == "TableSize") {
        return FTableSize;
    }
    return TCustomResampler::GetPropValue(name);
}

void TKernelResampler::SetPropValue(const std::string &name, const TPropertyValue &value) {
    if (name == "KernelClassName") {
        SetKernelClassName(TextOf(name, value));
    } else if (name == "KernelMode") {
        const std::string &text = TextOf(name, value);
        const auto *it = std::find(std::begin(kKernelModeNames), std::end(kKernelModeNames), text);
        if (it == std::end(kKernelModeNames)) {
            throw EPropertyError(std::string_view("Invalid property value"));
        }
        SetKernelMode(TKernelMode(it - std::begin(kKernelModeNames)));
    } else if (name == "TableSize") {
        SetTableSize(int32_t(NumberOf(name, value)));
    } else {
        TCustomResampler::SetPropValue(name, value);
    }
}

// ---- Point samples ------------------------------------------------------------------------

void TKernelResampler::PrepareSampling() {
    TCustomResampler::PrepareSampling();
    FOuterColor = FBitmap != nullptr ? FBitmap->GetOuterColor() : 0;
    if (FKernelMode == kmDynamic) {
        return;
    }
    const int32_t r = int32_t(std::ceil(FKernel->GetWidth()));
    FWeightTable = std::make_unique<TIntegerMap>();
    FWeightTable->SetSize(2 * r + 1, FTableSize + 1);
    for (int32_t row = 0; row <= FTableSize; ++row) {
        int32_t sum = 0;
        for (int32_t k = -r; k <= r; ++k) {
            const float at = float(k) + float(row) / float(FTableSize - 1);
            const int32_t w = WeightOf(double(FKernel->Filter(at)) * 256);
            FWeightTable->SetValue(k + r, row, w);
            sum += w;
        }
        FWeightTable->SetValue(r, row, FWeightTable->GetValue(r, row) - (sum - 256));
    }
}

void TKernelResampler::FinalizeSampling() {
    FWeightTable.reset();
    TCustomResampler::FinalizeSampling();
}

// The 2R + 1 weights of the taps -R .. R for a sample `offset` (0 <= offset < 1) before the
// tap grid; they sum to 256.
void TKernelResampler::Weights(float offset, int32_t r, int32_t *w) const {
    if (FKernelMode == kmDynamic || FWeightTable == nullptr) {
        int32_t sum = 0;
        for (int32_t i = -r; i <= r; ++i) {
            w[i + r] = WeightOf(double(FKernel->Filter(float(i) + offset)) * 256);
            sum += w[i + r];
        }
        w[r] -= sum - 256;
        return;
    }
    const TIntegerMap &t = *FWeightTable;
    if (FKernelMode == kmTableNearest) {
        const int32_t row = std::clamp(Round(double(offset) * (FTableSize - 1)), 0, FTableSize);
        for (int32_t i = 0; i <= 2 * r; ++i) {
            w[i] = t.GetValue(i, row);
        }
        return;
    }
    const int32_t p = Round(double(offset) * (FTableSize - 1) * 65536);
    const int32_t row = std::clamp(p >> 16, 0, FTableSize - 1), f = p & 0xFFFF;
    int32_t sum = 0;
    for (int32_t i = 0; i <= 2 * r; ++i) {
        const int32_t a = t.GetValue(i, row), b = t.GetValue(i, row + 1);
        w[i] = a + int32_t((int64_t(b - a) * f + 0x7FFF) / 65536);
        sum += w[i];
    }
    w[r] -= sum - 256;
}

namespace {

// Channel sums of one sample in 16.16, premultiplied by alpha.
struct TSampleSums {
    int64_t A = 0, R = 0, G = 0, B = 0;
    void Add(TColor32 c, int64_t w) {
        const int64_t a = c >> 24;
        if (a == 0) {
            return;
        }
        A += a * w;
        for (int shift = 0; shift < 24; shift += 8) {
            const int64_t ch = (c >> shift) & 0xFF;
            (shift == 0 ? B : shift == 8 ? G : R) += w * (a == 255 ? ch : ch * a / 255);
        }
    }
    void AddWeighted(const TSampleSums &row, int64_t w) {
        A += row.A * w;
        R += row.R * w;
        G += row.G * w;
        B += row.B * w;
    }
};

int64_t V(int64_t s) {
    return (s + 0x7FFF) >> 16;
}

TColor32 SampleResult(const TSampleSums &s, bool negativeLobes) {
    const int64_t a = negativeLobes ? std::clamp<int64_t>(V(s.A), 0, 255) : (V(s.A) & 255);
    if (a == 0) {
        return 0;
    }
    auto colour = [&](int64_t sum) -> uint32_t {
        const int64_t v = a == 255 ? V(sum) : V(sum) * 255 / a;
        return uint32_t(negativeLobes ? std::clamp<int64_t>(v, 0, 255) : (v & 255));
    };
    return uint32_t(a) << 24 | colour(s.R) << 16 | colour(s.G) << 8 | colour(s.B);
}

} // namespace

// Samples around (X, Y) with the kernel; outside the clip rectangle the safe mode reads the
// outer colour (also for the taps cut off at its edges) and the transparent edge nothing.
TColor32 TKernelResampler::GetSampleFloat(float x, float y) {
    if (FBitmap == nullptr || RectIsEmpty(FClipRect)) {
        return FPixelAccessMode == pamTransparentEdge ? 0 : FOuterColor;
    }
    const int32_t r = int32_t(std::ceil(FKernel->GetWidth()));
    const int32_t cx = int32_t(std::ceil(x)), cy = int32_t(std::ceil(y));
    int32_t sx = -r, ex = r, sy = -r, ey = r;
    const bool bounded = FPixelAccessMode == pamSafe || FPixelAccessMode == pamTransparentEdge;
    if (bounded) {
        if (cx < FClipRect.Left || cx > FClipRect.Right || cy < FClipRect.Top ||
            cy > FClipRect.Bottom) {
            return FPixelAccessMode == pamSafe ? FOuterColor : 0;
        }
        sx = cx - r < FClipRect.Left ? FClipRect.Left - cx : -r;
        ex = cx + r >= FClipRect.Right ? FClipRect.Right - cx - 1 : r;
        sy = cy - r < FClipRect.Top ? FClipRect.Top - cy : -r;
        ey = cy + r >= FClipRect.Bottom ? FClipRect.Bottom - cy - 1 : r;
    }
    std::vector<int32_t> hw(size_t(2 * r + 1)), vw(size_t(2 * r + 1));
    Weights(float(cx) - x, r, hw.data());
    Weights(float(cy) - y, r, vw.data());
    const TWrapProcEx wrapX =
        FastWrapProcFor(FBitmap->GetWrapMode(), FClipRect.Left, FClipRect.Right - 1);
    const TWrapProcEx wrapY =
        FastWrapProcFor(FBitmap->GetWrapMode(), FClipRect.Top, FClipRect.Bottom - 1);
    const bool wrap = FPixelAccessMode == pamWrap;
    const TColor32 outer = FOuterColor >> 24 == 0 || FPixelAccessMode != pamSafe ? 0 : FOuterColor;
    TSampleSums s;
    for (int32_t j = -r; j <= r; ++j) {
        if (vw[size_t(j + r)] == 0) {
            continue;
        }
        TSampleSums row;
        const bool rowInside = j >= sy && j <= ey;
        for (int32_t i = -r; i <= r; ++i) {
            const int64_t w = hw[size_t(i + r)];
            if (rowInside && i >= sx && i <= ex) {
                const int32_t px =
                    wrap ? wrapX(cx + i, FClipRect.Left, FClipRect.Right - 1) : cx + i;
                const int32_t py =
                    wrap ? wrapY(cy + j, FClipRect.Top, FClipRect.Bottom - 1) : cy + j;
                row.Add(FBitmap->GetPixel(px, py), w);
            } else if (outer != 0) {
                row.Add(outer, w);
            }
        }
        s.AddWeighted(row, vw[size_t(j + r)]);
    }
    return SampleResult(s, FKernel->HasNegativeLobes());
}

} // namespace raster
