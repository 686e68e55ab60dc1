// Block and stretch transfer between bitmaps, the nearest, linear and draft resamplers, the
// bound interpolation and block-average routines, and the registry of resampler classes.
#pragma once

#include "raster/Raster.h"
#include "raster/Raster_Containers.h"

namespace raster {

// Copies SrcRect of Src to (DstX, DstY) of Dst at 1:1, clipped to DstClip and both bitmaps.
// EBitmapException "Destination bitmap is nil" / "Source bitmap is nil" for null bitmaps.
void TransferBlock(TCustomBitmap32 *dst, int32_t dstX, int32_t dstY, TRect dstClip,
                   TCustomBitmap32 *src, TRect srcRect, TDrawMode combineOp,
                   const TPixelCombineEvent &combineCallBack = nullptr);
// Scales SrcRect of Src onto DstRect of Dst through the resampler, clipped to DstClip. An empty
// SrcRect draws and reports nothing.
void TransferStretched(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                       TRect srcRect, TCustomResampler *resampler, TDrawMode combineOp,
                       const TPixelCombineEvent &combineCallBack = nullptr);
// The row loop of both transfers; DstRect is already clipped.
void CopyBlockByMode(TCustomBitmap32 *dst, const TRect &dstRect, TCustomBitmap32 *src, int32_t srcX,
                     int32_t srcY, TDrawMode combineOp, const TPixelCombineEvent &combineCallBack);
// rtl::Exception "Invalid SrcRect" when SrcRect leaves Src.
void StretchByNearest(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                      TRect srcRect, TDrawMode combineOp,
                      const TPixelCombineEvent &combineCallBack);
void StretchByLinear(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                     TRect srcRect, TDrawMode combineOp, const TPixelCombineEvent &combineCallBack);
// Reduction by block averages; enlargement through the bilinear stretch.
void ResampleDraft(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                   TRect srcRect, TDrawMode combineOp, const TPixelCombineEvent &combineCallBack);

// Bound routines of "Raster_Resamplers bindings".
// Average of a Dlx x Dly block: per channel (Sum * (2^24 div N)) shr 24; any block width.
using TAverageBlockProc = TColor32 (*)(int32_t dlx, int32_t dly, const TColor32 *rowSrc,
                                       int32_t offSrcBytes);
// c11[0], c11[1] and the pair c21 one line below; WX weighs the left, WY the upper pixels, in
// 1/256 (0..256); no rounding bias.
using TLinearInterpolateProc = TColor32 (*)(uint32_t wx, uint32_t wy, const TColor32 *c11,
                                            const TColor32 *c21);
extern TAverageBlockProc AverageBlock;
extern TLinearInterpolateProc LinearInterpolate;

class TNearestResampler : public TCustomResampler {
public:
    using TCustomResampler::TCustomResampler;
    TColor32 GetSampleInt(int32_t x, int32_t y) override;
    TColor32 GetSampleFixed(TFixed x, TFixed y) override;
    TColor32 GetSampleFloat(float x, float y) override;
    void PrepareSampling() override;
    float GetWidth() const override { return 1; }
    const char *ClassName() const override { return "TNearestResampler"; }
    void Resample(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                  TRect srcRect, TDrawMode combineOp,
                  const TPixelCombineEvent &combineCallBack) override;

private:
    TColor32 SampleTransparentEdge(int32_t x, int32_t y) const;
};

// Bilinear sampling; enlarges with the bilinear stretch. Reductions need the kernel resampler,
// which this library does not provide: they raise rtl::ENotSupportedException.
class TLinearResampler : public TCustomResampler {
public:
    using TCustomResampler::TCustomResampler;
    TColor32 GetSampleFixed(TFixed x, TFixed y) override;
    TColor32 GetSampleFloat(float x, float y) override;
    void PrepareSampling() override;
    float GetWidth() const override { return 1; }
    const char *ClassName() const override { return "TLinearResampler"; }
    void Resample(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                  TRect srcRect, TDrawMode combineOp,
                  const TPixelCombineEvent &combineCallBack) override;

private:
    TColor32 SampleTransparentEdge(TFixed x, TFixed y) const;
};

class TDraftResampler : public TLinearResampler {
public:
    using TLinearResampler::TLinearResampler;
    const char *ClassName() const override { return "TDraftResampler"; }
    void Resample(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                  TRect srcRect, TDrawMode combineOp,
                  const TPixelCombineEvent &combineCallBack) override;
};

struct TResamplerClass {
    std::string ClassName;
    TCustomResampler *(*Create)(TCustomBitmap32 *bitmap);
};
void RegisterResampler(const TResamplerClass &resamplerClass);
const TClassList<TResamplerClass> &ResamplerList();
// Creates the named class for bitmap (it installs itself); null for an unknown name.
TCustomResampler *CreateResamplerByName(const std::string &className, TCustomBitmap32 *bitmap);

namespace reference {
TColor32 AverageBlock(int32_t dlx, int32_t dly, const TColor32 *rowSrc, int32_t offSrcBytes);
TColor32 LinearInterpolate(uint32_t wx, uint32_t wy, const TColor32 *c11, const TColor32 *c21);
} // namespace reference

// Start-up: registry "Raster_Resamplers bindings" and the resampler classes.
void InitializeResamplers();

} // namespace raster
