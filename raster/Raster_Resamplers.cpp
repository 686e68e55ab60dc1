// Block and stretch transfers, the nearest, linear and draft resamplers and their registries.
#include "raster/Raster_Resamplers.h"

#include "raster/Raster_Bindings.h"
#include "raster/Raster_Resamplers_p.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace raster {

namespace reference {

TColor32 AverageBlock(int32_t dlx, int32_t dly, const TColor32 *rowSrc, int32_t offSrcBytes) {
    uint32_t sum[4] = {0, 0, 0, 0};
    const auto *row = reinterpret_cast<const uint8_t *>(rowSrc);
    for (int32_t y = 0; y < dly; ++y, row += offSrcBytes) {
        const auto *p = reinterpret_cast<const TColor32 *>(row);
        for (int32_t x = 0; x < dlx; ++x) {
            const TColor32 c = p[x];
            sum[0] += c & 0xFF;
            sum[1] += (c >> 8) & 0xFF;
            sum[2] += (c >> 16) & 0xFF;
            sum[3] += c >> 24;
        }
    }
    const uint32_t n = static_cast<uint32_t>(dlx) * static_cast<uint32_t>(dly);
    const uint32_t reciprocal = 16777216u / n;
    TColor32 result = 0;
    for (int i = 0; i < 4; ++i) {
        result |= ((sum[i] * reciprocal) >> 24) << (8 * i);
    }
    return result;
}

TColor32 LinearInterpolate(uint32_t wx, uint32_t wy, const TColor32 *c11, const TColor32 *c21) {
    TColor32 result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t top =
            (((c11[1] >> shift) & 0xFF) * (256 - wx) + ((c11[0] >> shift) & 0xFF) * wx) >> 8;
        const uint32_t bottom =
            (((c21[1] >> shift) & 0xFF) * (256 - wx) + ((c21[0] >> shift) & 0xFF) * wx) >> 8;
        result |= ((bottom * (256 - wy) + top * wy) >> 8) << shift;
    }
    return result;
}

} // namespace reference

TAverageBlockProc AverageBlock = reference::AverageBlock;
TLinearInterpolateProc LinearInterpolate = reference::LinearInterpolate;

namespace {

TClassList<TResamplerClass> &ResamplerClasses() {
    static TClassList<TResamplerClass> list;
    return list;
}

void CheckBitmaps(TCustomBitmap32 *dst, TCustomBitmap32 *src) {
    if (dst == nullptr) {
        throw EBitmapException(std::string_view("Destination bitmap is nil"));
    }
    if (src == nullptr) {
        throw EBitmapException(std::string_view("Source bitmap is nil"));
    }
}

// Step 5 of the bilinear and draft stretches: one resampled colour onto one pixel.
inline void CombineOne(TColor32 c, TColor32 &pixel, TDrawMode op, TCustomBitmap32 *src,
                       TBlendMemEx blend, const TPixelCombineEvent &cb) {
    switch (op) {
    case dmOpaque:
        pixel = c;
        break;
    case dmBlend:
        blend(c, pixel, src->GetMasterAlpha());
        break;
    case dmTransparent:
        if (c != src->GetOuterColor()) {
            pixel = c;
        }
        break;
    case dmCustom:
        cb(c, pixel, src->GetMasterAlpha());
        break;
    }
}

// A row of source pixels onto a row of destination pixels by draw mode.
void CombineRow(const TColor32 *s, TColor32 *d, int32_t w, TCustomBitmap32 *src, TDrawMode op,
                const TPixelCombineEvent &cb) {
    switch (op) {
    case dmOpaque:
        MoveDWords(s, d, w);
        break;
    case dmBlend:
        if (src->GetMasterAlpha() < 255) {
            BlendRowWeightedByMode(src->GetCombineMode())(s, d, w, src->GetMasterAlpha());
        } else {
            BlendRowByMode(src->GetCombineMode())(s, d, w);
        }
        break;
    case dmTransparent: {
        const TColor32 outer = src->GetOuterColor();
        for (int32_t i = 0; i < w; ++i) {
            if (s[i] != outer) {
                d[i] = s[i];
            }
        }
        break;
    }
    case dmCustom:
        for (int32_t i = 0; i < w; ++i) {
            cb(s[i], d[i], src->GetMasterAlpha());
        }
        break;
    }
}

bool ClipToBitmap(TRect &dstClip, const TCustomBitmap32 *dst, const TRect &dstRect) {
    IntersectRects(dstClip, dstClip, dst->BoundsRect());
    IntersectRects(dstClip, dstClip, dstRect);
    return !RectIsEmpty(dstClip);
}

// The bilinear map of one axis: destination centres onto source positions with full-edge
// mapping; the last pairs are moved left so (Pos, Pos + 1) ends at the last source column.
std::vector<TPointRec> LinearMap(int32_t clipFrom, int32_t clipCount, int32_t dstFrom,
                                 int32_t dstLen, int32_t srcFrom, int32_t srcTo, int32_t srcMax) {
    std::vector<TPointRec> map(static_cast<size_t>(clipCount));
    const double scale = double(srcTo - srcFrom) / dstLen;
    for (int32_t i = 0; i < clipCount; ++i) {
        double x = srcFrom - 0.5 + (clipFrom + i - dstFrom + 0.5) * scale;
        x = std::min(std::max(x, 0.0), double(srcMax - 1));
        const double pos = std::floor(x);
        map[size_t(i)] = {int32_t(pos), 256 - Round((x - pos) * 256)};
    }
    if (srcTo - srcFrom > 1) {
        for (int32_t i = clipCount - 1; i >= 0 && map[size_t(i)].Pos == srcTo - 1; --i) {
            map[size_t(i)] = {map[size_t(i)].Pos - 1, 0};
        }
    }
    return map;
}

} // namespace

void CopyBlockByMode(TCustomBitmap32 *dst, const TRect &dstRect, TCustomBitmap32 *src, int32_t srcX,
                     int32_t srcY, TDrawMode combineOp, const TPixelCombineEvent &combineCallBack) {
    const int32_t w = dstRect.Width();
    for (int32_t row = 0; row < dstRect.Height(); ++row) {
        CombineRow(src->GetPixelPtr(srcX, srcY + row),
                   dst->GetPixelPtr(dstRect.Left, dstRect.Top + row), w, src, combineOp,
                   combineCallBack);
    }
}

void TransferBlock(TCustomBitmap32 *dst, int32_t dstX, int32_t dstY, TRect dstClip,
                   TCustomBitmap32 *src, TRect srcRect, TDrawMode combineOp,
                   const TPixelCombineEvent &combineCallBack) {
    CheckBitmaps(dst, src);
    if (dst->Empty() || src->Empty() || (combineOp == dmBlend && src->GetMasterAlpha() == 0)) {
        return;
    }
    const int32_t srcX = srcRect.Left;
    const int32_t srcY = srcRect.Top;
    IntersectRects(dstClip, dstClip, dst->BoundsRect());
    IntersectRects(srcRect, srcRect, src->BoundsRect());
    MoveRect(srcRect, dstX - srcX, dstY - srcY);
    IntersectRects(srcRect, srcRect, dstClip);
    if (RectIsEmpty(srcRect)) {
        return;
    }
    dstClip = srcRect;
    MoveRect(srcRect, srcX - dstX, srcY - dstY);
    if (!dst->GetMeasuringMode()) {
        if (combineOp == dmCustom && !combineCallBack) {
            combineOp = dmOpaque;
        }
        const auto blendEnds = EndBlendOnExit();
        CopyBlockByMode(dst, dstClip, src, srcRect.Left, srcRect.Top, combineOp, combineCallBack);
    }
    dst->Changed(dstClip, AreaInfoRect);
}

namespace {
// Cuts the parts of SrcRect outside Src, moving DstRect's edges in proportion.
void TrimSourceRect(TRect &dstRect, TRect &srcRect, const TCustomBitmap32 *src) {
    const float scaleX = float(dstRect.Width()) / float(srcRect.Width());
    const float scaleY = float(dstRect.Height()) / float(srcRect.Height());
    if (srcRect.Left < 0) {
        dstRect.Left += int32_t(std::ceil(float(-srcRect.Left) * scaleX));
        srcRect.Left = 0;
    }
    if (srcRect.Top < 0) {
        dstRect.Top += int32_t(std::ceil(float(-srcRect.Top) * scaleY));
        srcRect.Top = 0;
    }
    if (srcRect.Right > src->GetWidth()) {
        dstRect.Right -= int32_t(std::floor(float(srcRect.Right - src->GetWidth()) * scaleX));
        srcRect.Right = src->GetWidth();
    }
    if (srcRect.Bottom > src->GetHeight()) {
        dstRect.Bottom -= int32_t(std::floor(float(srcRect.Bottom - src->GetHeight()) * scaleY));
        srcRect.Bottom = src->GetHeight();
    }
}
} // namespace

void TransferStretched(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                       TRect srcRect, TCustomResampler *resampler, TDrawMode combineOp,
                       const TPixelCombineEvent &combineCallBack) {
    CheckBitmaps(dst, src);
    // An empty source rectangle has no scale; it used to divide by zero in the trimming.
    if (RectIsEmpty(srcRect)) {
        return;
    }
    TrimSourceRect(dstRect, srcRect, src);
    if (src->Empty() || dst->Empty() || (combineOp == dmBlend && src->GetMasterAlpha() == 0) ||
        RectIsEmpty(srcRect)) {
        return;
    }
    if (dst->GetMeasuringMode()) {
        dst->Changed(dstRect, AreaInfoRect);
        return;
    }
    if (!ClipToBitmap(dstClip, dst, dstRect)) {
        return;
    }
    if (combineOp == dmCustom && !combineCallBack) {
        combineOp = dmOpaque;
    }
    {
        const auto blendEnds = EndBlendOnExit();
        if (dstRect.Width() == srcRect.Width() && dstRect.Height() == srcRect.Height()) {
            CopyBlockByMode(dst, dstClip, src, srcRect.Left + dstClip.Left - dstRect.Left,
                            srcRect.Top + dstClip.Top - dstRect.Top, combineOp, combineCallBack);
        } else if (resampler != nullptr) {
            resampler->Resample(dst, dstRect, dstClip, src, srcRect, combineOp, combineCallBack);
        } else {
            StretchByNearest(dst, dstRect, dstClip, src, srcRect, combineOp, combineCallBack);
        }
    }
    dst->Changed(dstRect, AreaInfoRect);
}

void StretchByNearest(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                      TRect srcRect, TDrawMode combineOp,
                      const TPixelCombineEvent &combineCallBack) {
    if (!ClipToBitmap(dstClip, dst, dstRect)) {
        return;
    }
    if (srcRect.Left < 0 || srcRect.Top < 0 || srcRect.Right > src->GetWidth() ||
        srcRect.Bottom > src->GetHeight()) {
        throw rtl::Exception(std::string_view("Invalid SrcRect"));
    }
    const int32_t srcW = srcRect.Width(), srcH = srcRect.Height();
    const int32_t dstW = dstRect.Width(), dstH = dstRect.Height();
    if (srcW == dstW && srcH == dstH) {
        CopyBlockByMode(dst, dstClip, src, srcRect.Left + dstClip.Left - dstRect.Left,
                        srcRect.Top + dstClip.Top - dstRect.Top, combineOp, combineCallBack);
        return;
    }
    // Exact integer forms of Trunc(Left + i * SrcW / DstW) for the column and row maps.
    const int32_t clipW = dstClip.Width();
    std::vector<int32_t> map(static_cast<size_t>(clipW));
    for (int32_t i = 0; i < clipW; ++i) {
        map[size_t(i)] =
            dstW < 2
                ? (srcRect.Left + srcRect.Right - 1) / 2
                : srcRect.Left + int32_t(int64_t(i + dstClip.Left - dstRect.Left) * srcW / dstW);
    }
    std::vector<TColor32> buffer(static_cast<size_t>(clipW));
    int32_t prevRow = -1;
    for (int32_t j = 0; j < dstClip.Height(); ++j) {
        const int32_t srcY =
            dstH < 2 ? (srcRect.Top + srcRect.Bottom - 1) / 2
                     : srcRect.Top + int32_t(int64_t(j + dstClip.Top - dstRect.Top) * srcH / dstH);
        TColor32 *d = dst->GetPixelPtr(dstClip.Left, dstClip.Top + j);
        if (srcY != prevRow) {
            const TColor32 *s = src->GetScanLine(srcY);
            for (int32_t i = 0; i < clipW; ++i) {
                buffer[size_t(i)] = s[map[size_t(i)]];
            }
        }
        if (combineOp == dmOpaque && srcY == prevRow) {
            MoveDWords(d - dst->GetWidth(), d, clipW);
        } else {
            CombineRow(buffer.data(), d, clipW, src, combineOp, combineCallBack);
        }
        prevRow = srcY;
    }
}

void StretchByLinear(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                     TRect srcRect, TDrawMode combineOp,
                     const TPixelCombineEvent &combineCallBack) {
    if (!ClipToBitmap(dstClip, dst, dstRect)) {
        return;
    }
    const auto mapX = LinearMap(dstClip.Left, dstClip.Width(), dstRect.Left, dstRect.Width(),
                                srcRect.Left, srcRect.Right, src->GetWidth());
    const auto mapY = LinearMap(dstClip.Top, dstClip.Height(), dstRect.Top, dstRect.Height(),
                                srcRect.Top, srcRect.Bottom, src->GetHeight());
    const TBlendMemEx blend = BlendInPlaceWeightedByMode(src->GetCombineMode());
    const int32_t lastX = src->GetWidth() - 1, lastY = src->GetHeight() - 1;
    for (int32_t j = 0; j < dstClip.Height(); ++j) {
        const TPointRec py = mapY[size_t(j)];
        const TColor32 *row0 = src->GetScanLine(py.Pos);
        const TColor32 *row1 = src->GetScanLine(std::min(py.Pos + 1, lastY));
        TColor32 *d = dst->GetPixelPtr(dstClip.Left, dstClip.Top + j);
        for (int32_t i = 0; i < dstClip.Width(); ++i) {
            const TPointRec px = mapX[size_t(i)];
            const int32_t x1 = std::min(px.Pos + 1, lastX);
            const TColor32 c11[2] = {row0[px.Pos], row0[x1]};
            const TColor32 c21[2] = {row1[px.Pos], row1[x1]};
            CombineOne(LinearInterpolate(uint32_t(px.Weight), uint32_t(py.Weight), c11, c21), d[i],
                       combineOp, src, blend, combineCallBack);
        }
    }
    EndBlend();
}

void ResampleDraft(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                   TRect srcRect, const TCustomKernel &kernel, TDrawMode combineOp,
                   const TPixelCombineEvent &combineCallBack) {
    const int32_t srcW = srcRect.Width(), srcH = srcRect.Height();
    const int32_t dstW = dstRect.Width(), dstH = dstRect.Height();
    if (srcW < dstW || srcH < dstH) {
        if (srcW < 2 || srcH < 2) {
            ResampleByKernel(dst, dstRect, dstClip, src, srcRect, kernel, combineOp,
                             combineCallBack);
            return;
        }
        StretchByLinear(dst, dstRect, dstClip, src, srcRect, combineOp, combineCallBack);
        return;
    }
    if (!ClipToBitmap(dstClip, dst, dstRect)) {
        return;
    }
    const float scaleX = float(srcW) / float(dstW), scaleY = float(srcH) / float(dstH);
    const TFixed stepX = TFixed(scaleX * 65536), stepY = TFixed(scaleY * 65536);
    const int32_t startX = srcRect.Left + int32_t(float(dstClip.Left - dstRect.Left) * scaleX);
    const int32_t startY = srcRect.Top + int32_t(float(dstClip.Top - dstRect.Top) * scaleY);
    const TBlendMemEx blend = BlendInPlaceWeightedByMode(src->GetCombineMode());
    const int32_t stride = src->GetWidth() * 4;
    for (int32_t j = 0; j < dstClip.Height(); ++j) {
        // Blocks stay inside the source bitmap even where the single-precision scale overshoots.
        const int32_t y0 = std::min(startY + FixedProduct(j, stepY), src->GetHeight() - 1);
        const int32_t y1 = std::min(startY + FixedProduct(j + 1, stepY), src->GetHeight());
        TColor32 *d = dst->GetPixelPtr(dstClip.Left, dstClip.Top + j);
        for (int32_t i = 0; i < dstClip.Width(); ++i) {
            const int32_t x0 = std::min(startX + FixedProduct(i, stepX), src->GetWidth() - 1);
            const int32_t x1 = std::min(startX + FixedProduct(i + 1, stepX), src->GetWidth());
            const TColor32 c = AverageBlock(std::max(x1 - x0, 1), std::max(y1 - y0, 1),
                                            src->GetPixelPtr(x0, y0), stride);
            CombineOne(c, d[i], combineOp, src, blend, combineCallBack);
        }
    }
    EndBlend();
}

// ---- Resamplers -------------------------------------------------------------------------

TColor32 TNearestResampler::SampleTransparentEdge(int32_t x, int32_t y) const {
    const int32_t xc =
        x > FClipRect.Right - 1 ? FClipRect.Right - 1 : (x < FClipRect.Left ? FClipRect.Left : x);
    const int32_t yc =
        y > FClipRect.Bottom - 1 ? FClipRect.Bottom - 1 : (y < FClipRect.Top ? FClipRect.Top : y);
    const TColor32 c = FBitmap->GetPixel(xc, yc);
    return xc == x && yc == y ? c : (c & 0x00FFFFFFu);
}

TColor32 TNearestResampler::GetSampleInt(int32_t x, int32_t y) {
    switch (FPixelAccessMode) {
    case pamUnsafe:
        return FBitmap->GetPixel(x, y);
    case pamSafe:
        return FBitmap->GetPixelS(x, y);
    case pamWrap:
        return FBitmap->GetPixelW(x, y);
    case pamTransparentEdge:
        return SampleTransparentEdge(x, y);
    }
    return 0;
}

TColor32 TNearestResampler::GetSampleFixed(TFixed x, TFixed y) {
    return GetSampleInt(FixedToIntRound(x), FixedToIntRound(y));
}

TColor32 TNearestResampler::GetSampleFloat(float x, float y) {
    return GetSampleInt(Round(x), Round(y));
}

void TNearestResampler::PrepareSampling() {
    TCustomResampler::PrepareSampling();
}

void TNearestResampler::Resample(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip,
                                 TCustomBitmap32 *src, TRect srcRect, TDrawMode combineOp,
                                 const TPixelCombineEvent &combineCallBack) {
    StretchByNearest(dst, dstRect, dstClip, src, srcRect, combineOp, combineCallBack);
}

namespace {
int32_t Sign(int32_t v) {
    return (v > 0) - (v < 0);
}
TColor32 NoAlpha(TColor32 c) {
    return c & 0x00FFFFFFu;
}
} // namespace

// The one-pixel band around the clip rectangle fades to transparent.
TColor32 TLinearResampler::SampleTransparentEdge(TFixed x, TFixed y) const {
    const int32_t hx = x >> 16, hy = y >> 16;
    const int32_t mx = FClipRect.Right - 1, my = FClipRect.Bottom - 1;
    if (hx >= FClipRect.Left && hy >= FClipRect.Top && hx < mx && hy < my) {
        const TColor32 c = FBitmap->SampleSubpixel(x >> 8, y >> 8);
        EndBlend();
        return c;
    }
    if (hx < FClipRect.Left - 1 || hy < FClipRect.Top - 1 || hx > mx || hy > my) {
        return 0;
    }
    const int32_t x1 = ClampToRange(hx, 0, mx), x2 = ClampToRange(hx + Sign(x), 0, mx);
    const int32_t y1 = ClampToRange(hy, 0, my), y2 = ClampToRange(hy + Sign(y), 0, my);
    TColor32 c11 = FBitmap->GetPixel(x1, y1), c21 = FBitmap->GetPixel(x2, y1);
    TColor32 c12 = FBitmap->GetPixel(x1, y2), c22 = FBitmap->GetPixel(x2, y2);
    if (int64_t(x) <= int64_t(FClipRect.Left) * 65536) {
        c11 = NoAlpha(c11);
        c12 = NoAlpha(c12);
    } else if (hx == mx) {
        c21 = NoAlpha(c21);
        c22 = NoAlpha(c22);
    }
    if (int64_t(y) <= int64_t(FClipRect.Top) * 65536) {
        c11 = NoAlpha(c11);
        c21 = NoAlpha(c21);
    } else if (hy == my) {
        c12 = NoAlpha(c12);
        c22 = NoAlpha(c22);
    }
    const uint32_t wx = GammaTable[255 - ((x >> 8) & 255)];
    const uint32_t wy = GammaTable[255 - ((y >> 8) & 255)];
    const TColor32 c = CombinePixel(CombinePixel(c11, c21, wx), CombinePixel(c12, c22, wx), wy);
    EndBlend();
    return c;
}

TColor32 TLinearResampler::GetSampleFixed(TFixed x, TFixed y) {
    switch (FPixelAccessMode) {
    case pamUnsafe:
        return FBitmap->GetPixelX(x, y);
    case pamSafe:
        return FBitmap->GetPixelXS(x, y);
    case pamWrap:
        return FBitmap->GetPixelXW(x, y);
    case pamTransparentEdge:
        return SampleTransparentEdge(x, y);
    }
    return 0;
}

TColor32 TLinearResampler::GetSampleFloat(float x, float y) {
    return GetSampleFixed(Round(double(x) * 65536), Round(double(y) * 65536));
}

TLinearResampler::TLinearResampler(TCustomBitmap32 *bitmap)
    : TCustomResampler(bitmap), FLinearKernel(std::make_unique<TLinearKernel>()) {}

TLinearResampler::~TLinearResampler() = default;

void TLinearResampler::PrepareSampling() {
    TCustomResampler::PrepareSampling();
}

void TLinearResampler::Resample(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip,
                                TCustomBitmap32 *src, TRect srcRect, TDrawMode combineOp,
                                const TPixelCombineEvent &combineCallBack) {
    if (dstRect.Width() > srcRect.Width() && dstRect.Height() > srcRect.Height() &&
        srcRect.Width() > 1 && srcRect.Height() > 1) {
        StretchByLinear(dst, dstRect, dstClip, src, srcRect, combineOp, combineCallBack);
        return;
    }
    ResampleByKernel(dst, dstRect, dstClip, src, srcRect, *FLinearKernel, combineOp,
                     combineCallBack);
}

void TDraftResampler::Resample(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip,
                               TCustomBitmap32 *src, TRect srcRect, TDrawMode combineOp,
                               const TPixelCombineEvent &combineCallBack) {
    ResampleDraft(dst, dstRect, dstClip, src, srcRect, *FLinearKernel, combineOp, combineCallBack);
}

void RegisterResampler(const TResamplerClass &resamplerClass) {
    ResamplerClasses().Add(resamplerClass);
}

const TClassList<TResamplerClass> &ResamplerList() {
    return ResamplerClasses();
}

TCustomResampler *CreateResamplerByName(const std::string &className, TCustomBitmap32 *bitmap) {
    const TResamplerClass *c = ResamplerClasses().Find(className);
    return c ? c->Create(bitmap) : nullptr;
}

namespace detail {
void RegisterKernelClasses();
} // namespace detail

void InitializeResamplers() {
    TFunctionRegistry *r = NewRegistry("Raster_Resamplers bindings");
    r->RegisterBinding(0, &AverageBlock);
    r->RegisterBinding(1, &LinearInterpolate);
    r->RegisterBinding(2, &KernelColumns);
    r->RegisterBinding(3, &KernelRow);
    r->Add(0, reference::AverageBlock, NoCPUFeatures);
    r->Add(1, reference::LinearInterpolate, NoCPUFeatures);
    r->Add(2, reference::KernelColumns, NoCPUFeatures);
    r->Add(3, reference::KernelRow, NoCPUFeatures);
    r->Add(0, detail::AverageBlock_SSE2, CPUFeature(ciSSE2));
    r->Add(1, detail::LinearInterpolate_SSE2, CPUFeature(ciSSE2));
    r->Add(2, detail::KernelColumns_SSE2, CPUFeature(ciSSE2));
    r->Add(3, detail::KernelRow_SSE2, CPUFeature(ciSSE2));
    r->Add(2, detail::KernelColumns_AVX2, CPUFeature(ciAVX2));
    r->Add(3, detail::KernelRow_AVX2, CPUFeature(ciAVX2));
    r->RebindAll();
    RegisterResampler({"TNearestResampler", [](TCustomBitmap32 *b) -> TCustomResampler * {
                           return new TNearestResampler(b);
                       }});
    RegisterResampler({"TLinearResampler", [](TCustomBitmap32 *b) -> TCustomResampler * {
                           return new TLinearResampler(b);
                       }});
    RegisterResampler({"TDraftResampler", [](TCustomBitmap32 *b) -> TCustomResampler * {
                           return new TDraftResampler(b);
                       }});
    RegisterResampler({"TKernelResampler", [](TCustomBitmap32 *b) -> TCustomResampler * {
                           return new TKernelResampler(b);
                       }});
    detail::RegisterKernelClasses();
}

} // namespace raster
