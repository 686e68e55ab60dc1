// Block and stretch transfer between bitmaps; the filter kernels; the nearest, linear, draft
// and kernel resamplers with the separable kernel resampling; the bound interpolation,
// block-average and kernel-pass routines; and the registries of resampler and kernel classes.
#pragma once

#include "raster/Raster.h"
#include "raster/Raster_Containers.h"
#include "raster/Raster_OrdinalMaps.h"

#include <memory>
#include <string>
#include <vector>

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
class TCustomKernel;
// Reduction by block averages; enlargement through the bilinear stretch, or by kernel
// resampling with `kernel` when the source is under two pixels wide or high.
void ResampleDraft(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                   TRect srcRect, const TCustomKernel &kernel, TDrawMode combineOp,
                   const TPixelCombineEvent &combineCallBack);

// ---- Filter kernels -----------------------------------------------------------------------

// A reconstruction filter: a weight for a signed distance in source pixels, zero beyond the
// support half-width GetWidth (Sinsh excepted: it has no cut-off). Values are single precision.
// Kernels publish their parameters; Assign from another kernel copies them (the names must
// exist in this kernel, else EPropertyError). Setters report to the observer, the kernel
// resampler that owns the kernel.
class TCustomKernel : public TPublishedObject {
public:
    void Assign(const TPublishedObject &source) override;
    // True for kernels with negative lobes: resampled sums are then clamped.
    virtual bool HasNegativeLobes() const { return false; }
    virtual float Filter(float value) const = 0;
    virtual float GetWidth() const = 0;
    TNotifiablePersistent *GetObserver() const { return FObserver; }
    void SetObserver(TNotifiablePersistent *observer) { FObserver = observer; }

protected:
    void Changed();

private:
    TNotifiablePersistent *FObserver = nullptr;
};

// 1 on -0.5 .. 0.5 (both included).
class TBoxKernel : public TCustomKernel {
public:
    const char *ClassName() const override { return "TBoxKernel"; }
    float Filter(float value) const override;
    float GetWidth() const override { return 1; }
};

class TLinearKernel : public TCustomKernel {
public:
    const char *ClassName() const override { return "TLinearKernel"; }
    float Filter(float value) const override;
    float GetWidth() const override { return 1; }
};

class TCosineKernel : public TCustomKernel {
public:
    const char *ClassName() const override { return "TCosineKernel"; }
    float Filter(float value) const override;
    float GetWidth() const override { return 1; }
};

class TSplineKernel : public TCustomKernel {
public:
    const char *ClassName() const override { return "TSplineKernel"; }
    bool HasNegativeLobes() const override { return true; }
    float Filter(float value) const override;
    float GetWidth() const override { return 2; }
};

class TMitchellKernel : public TCustomKernel {
public:
    const char *ClassName() const override { return "TMitchellKernel"; }
    bool HasNegativeLobes() const override { return true; }
    float Filter(float value) const override;
    float GetWidth() const override { return 2; }
};

// Published: Coeff (-0.5).
class TCubicKernel : public TCustomKernel {
public:
    const char *ClassName() const override { return "TCubicKernel"; }
    bool HasNegativeLobes() const override { return true; }
    float Filter(float value) const override;
    float GetWidth() const override { return 2; }
    float GetCoeff() const { return FCoeff; }
    void SetCoeff(float value);
    void GetPropList(std::vector<TPropInfo> &list) const override;
    TPropertyValue GetPropValue(const std::string &name) const override;
    void SetPropValue(const std::string &name, const TPropertyValue &value) override;

private:
    float FCoeff = -0.5f;
};

// Published: Bias (0), Tension (0).
class THermiteKernel : public TCustomKernel {
public:
    const char *ClassName() const override { return "THermiteKernel"; }
    bool HasNegativeLobes() const override { return true; }
    float Filter(float value) const override;
    float GetWidth() const override { return 2; }
    float GetBias() const { return FBias; }
    void SetBias(float value);
    float GetTension() const { return FTension; }
    void SetTension(float value);
    void GetPropList(std::vector<TPropInfo> &list) const override;
    TPropertyValue GetPropValue(const std::string &name) const override;
    void SetPropValue(const std::string &name, const TPropertyValue &value) override;

private:
    float FBias = 0;
    float FTension = 0;
};

// Published: Width (3), Coeff (0.5; a zero coefficient is refused).
class TSinshKernel : public TCustomKernel {
public:
    const char *ClassName() const override { return "TSinshKernel"; }
    bool HasNegativeLobes() const override { return true; }
    float Filter(float value) const override;
    float GetWidth() const override { return FWidth; }
    void SetWidth(float value);
    float GetCoeff() const { return FCoeff; }
    void SetCoeff(float value);
    void GetPropList(std::vector<TPropInfo> &list) const override;
    TPropertyValue GetPropValue(const std::string &name) const override;
    void SetPropValue(const std::string &name, const TPropertyValue &value) override;

private:
    float FWidth = 3;
    float FCoeff = 0.5f;
};

// Sinc(|x|) times a window, zero from Width on. Published: Width (3; at most 16; a width of 0
// or less is refused, it would leave no support and an infinite reciprocal).
class TWindowedSincKernel : public TCustomKernel {
public:
    bool HasNegativeLobes() const override { return true; }
    float Filter(float value) const override;
    float GetWidth() const override { return FWidth; }
    void SetWidth(float value);
    float GetWidthReciprocal() const { return FWidthReciprocal; }
    virtual float WindowAt(float value) const = 0;
    void GetPropList(std::vector<TPropInfo> &list) const override;
    TPropertyValue GetPropValue(const std::string &name) const override;
    void SetPropValue(const std::string &name, const TPropertyValue &value) override;

protected:
    float FWidth = 3;
    float FWidthReciprocal = 1.0f / 3;
};

// Published: Terms (7, limited to 2 .. 11): the number of cosine terms of the window.
class TAlbrechtKernel : public TWindowedSincKernel {
public:
    TAlbrechtKernel();
    const char *ClassName() const override { return "TAlbrechtKernel"; }
    float WindowAt(float value) const override;
    int32_t GetTerms() const { return FTerms; }
    void SetTerms(int32_t value);
    void GetPropList(std::vector<TPropInfo> &list) const override;
    TPropertyValue GetPropValue(const std::string &name) const override;
    void SetPropValue(const std::string &name, const TPropertyValue &value) override;

private:
    int32_t FTerms = 0;
    double FCoefPointer[11] = {};
};

class TLanczosKernel : public TWindowedSincKernel {
public:
    const char *ClassName() const override { return "TLanczosKernel"; }
    float WindowAt(float value) const override;
};

// Published: Sigma (1.33; a zero sigma is refused).
class TGaussianKernel : public TWindowedSincKernel {
public:
    TGaussianKernel();
    const char *ClassName() const override { return "TGaussianKernel"; }
    float WindowAt(float value) const override;
    float GetSigma() const { return FSigma; }
    void SetSigma(float value);
    void GetPropList(std::vector<TPropInfo> &list) const override;
    TPropertyValue GetPropValue(const std::string &name) const override;
    void SetPropValue(const std::string &name, const TPropertyValue &value) override;

private:
    float FSigma = 0;
    float FSigmaReciprocalLn2 = 0;
};

class TBlackmanKernel : public TWindowedSincKernel {
public:
    const char *ClassName() const override { return "TBlackmanKernel"; }
    float WindowAt(float value) const override;
};

class THannKernel : public TWindowedSincKernel {
public:
    const char *ClassName() const override { return "THannKernel"; }
    float WindowAt(float value) const override;
};

class THammingKernel : public TWindowedSincKernel {
public:
    const char *ClassName() const override { return "THammingKernel"; }
    float WindowAt(float value) const override;
};

struct TKernelClass {
    std::string ClassName;
    TCustomKernel *(*Create)();
};
void RegisterKernel(const TKernelClass &kernelClass);
const TClassList<TKernelClass> &KernelList();
// A new kernel of the named class (the caller owns it); null for an unknown name.
std::unique_ptr<TCustomKernel> CreateKernelByName(const std::string &className);

// ---- Kernel resampling ------------------------------------------------------------------

// One source index and its weight in 1/256.
struct TPointRec {
    int32_t Pos = 0;
    int32_t Weight = 0;
    friend bool operator==(const TPointRec &, const TPointRec &) = default;
};
// The weights of one destination column (or line); they sum to 256.
using TCluster = std::vector<TPointRec>;
using TMappingTable = std::vector<TCluster>;

// The clusters of destination columns clipLo .. clipHi - 1 of a destination range dstLo ..
// dstHi mapped onto the source range srcLo .. srcHi - 1 (full-edge mapping). Positions are
// clamped into the source range. Each cluster sums to 256: when rounding the weights one by one
// leaves a difference, the middle pair takes it; where that would reverse the middle weight's
// sign, or the reduction is beyond 16 times (one pixel's weight under 16/256), the weights are
// quantised through their running sum instead, so that a large reduction averages its
// pixels. Empty for an empty source range.
TMappingTable BuildContributionTable(int32_t dstLo, int32_t dstHi, int32_t clipLo, int32_t clipHi,
                                     int32_t srcLo, int32_t srcHi, const TCustomKernel &kernel);

// Scales srcRect of src onto dstRect of dst by separable convolution with the kernel, within
// dstClip (clipped to dst and dstRect). rtl::Exception "Invalid SrcRect" when srcRect leaves
// src. Kernels with negative lobes have their channels clamped to 0..255.
void ResampleByKernel(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                      TRect srcRect, const TCustomKernel &kernel, TDrawMode combineOp,
                      const TPixelCombineEvent &combineCallBack);

enum TKernelMode : uint8_t { kmDynamic = 0, kmTableNearest = 1, kmTableLinear = 2 };

// Samples and scales with a filter kernel (a TBoxKernel after creation, owned). In the table
// modes PrepareSampling builds a weight table of TableSize + 1 rows (TableSize at least 2)
// that the samples read until FinalizeSampling. Published: PixelAccessMode, KernelClassName,
// Kernel, KernelMode, TableSize.
class TKernelResampler : public TCustomResampler {
public:
    explicit TKernelResampler(TCustomBitmap32 *bitmap = nullptr);
    ~TKernelResampler() override;
    const char *ClassName() const override { return "TKernelResampler"; }

    TCustomKernel *GetKernel() const { return FKernel.get(); }
    // Takes ownership; null or the current kernel is ignored.
    void SetKernel(TCustomKernel *value);
    std::string GetKernelClassName() const { return FKernel->ClassName(); }
    // An unknown name is ignored.
    void SetKernelClassName(const std::string &value);
    TKernelMode GetKernelMode() const { return FKernelMode; }
    void SetKernelMode(TKernelMode value);
    int32_t GetTableSize() const { return FTableSize; }
    void SetTableSize(int32_t value);

    float GetWidth() const override { return FKernel->GetWidth(); }
    void PrepareSampling() override;
    void FinalizeSampling() override;
    TColor32 GetSampleFloat(float x, float y) override;
    void Resample(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                  TRect srcRect, TDrawMode combineOp,
                  const TPixelCombineEvent &combineCallBack) override;

    void GetPropList(std::vector<TPropInfo> &list) const override;
    TPropertyValue GetPropValue(const std::string &name) const override;
    void SetPropValue(const std::string &name, const TPropertyValue &value) override;

    // The weight table of the table modes (null outside a sampling run).
    const TIntegerMap *GetWeightTable() const { return FWeightTable.get(); }

private:
    void Weights(float offset, int32_t r, int32_t *w) const;

    std::unique_ptr<TCustomKernel> FKernel;
    TKernelMode FKernelMode = kmDynamic;
    std::unique_ptr<TIntegerMap> FWeightTable;
    int32_t FTableSize = 32;
    TColor32 FOuterColor = 0;
};

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

// The two passes of kernel resampling (ids 2 and 3 of "Raster_Resamplers bindings", our
// addition), in 32-bit sums: callers keep every sum inside 32 bits (weights of at most 16 bits;
// the weight sums of both passes times 255 below 2^31).
// KernelColumns: for `count` columns, per channel the sum of weights[k] x the channel of
// rows[k][x] over the `taps` rows; four sums per column (blue, green, red, alpha).
using TKernelColumnsProc = void (*)(const TColor32 *const *rows, const int32_t *weights,
                                    int32_t taps, int32_t count, int32_t *sums);
// KernelRow: for `count` pixels, pixel i the sum of weights[k] x the column sums at pos[k]
// over its taps k = starts[i] .. starts[i + 1] - 1, per channel made a byte: clamped to
// 0 .. $FF0000 when clampNegative, else masked with $FF0000; then shifted right by 16.
using TKernelRowProc = void (*)(const int32_t *sums, const int32_t *starts, const int32_t *pos,
                                const int32_t *weights, int32_t count, int32_t clampNegative,
                                TColor32 *out);
extern TKernelColumnsProc KernelColumns;
extern TKernelRowProc KernelRow;

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

class TLinearKernel;

// Bilinear sampling; enlarges both ways with the bilinear stretch, everything else (reductions,
// one-pixel sources) by kernel resampling with its own linear kernel.
class TLinearResampler : public TCustomResampler {
public:
    explicit TLinearResampler(TCustomBitmap32 *bitmap = nullptr);
    ~TLinearResampler() override;
    TColor32 GetSampleFixed(TFixed x, TFixed y) override;
    TColor32 GetSampleFloat(float x, float y) override;
    void PrepareSampling() override;
    float GetWidth() const override { return 1; }
    const char *ClassName() const override { return "TLinearResampler"; }
    void Resample(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                  TRect srcRect, TDrawMode combineOp,
                  const TPixelCombineEvent &combineCallBack) override;

protected:
    std::unique_ptr<TLinearKernel> FLinearKernel;

private:
    TColor32 SampleTransparentEdge(TFixed x, TFixed y) const;
};

// Reductions by block averages; enlargements as the linear resampler.
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
void KernelColumns(const TColor32 *const *rows, const int32_t *weights, int32_t taps, int32_t count,
                   int32_t *sums);
void KernelRow(const int32_t *sums, const int32_t *starts, const int32_t *pos,
               const int32_t *weights, int32_t count, int32_t clampNegative, TColor32 *out);
} // namespace reference

// Start-up: registry "Raster_Resamplers bindings", then the resampler and kernel classes.
void InitializeResamplers();

} // namespace raster
