// The 32-bit bitmap TCustomBitmap32 / TBitmap32 with its notification chain, storage back ends,
// pixel access, lines, rectangles and transfers; the geometry routines and the gamma table.
//
// Conventions of the drawing operations (suffixes): none = unclipped, the caller keeps every
// pixel inside the bitmap; S = clipped to ClipRect; T = blended with the combine mode's in-place
// routine; W = coordinates wrapped by WrapMode; X = 16.16 fixed point, antialiased; F = float,
// antialiased; A = antialiased integer line; P = colours from the stipple pattern; L = the last
// pixel of a line is drawn too. Every drawing operation reports the area it touched through
// Changed(Area, Info); in measuring mode the clipped operations only report.
#pragma once

#include "raster/Raster_Blend.h"
#include "raster/Raster_Containers.h"
#include "raster/Raster_LowLevel.h"
#include "raster/Raster_Types.h"

#include "platform/rtl/Assert.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/System.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace gfx {
class TClipboard;
class TBitmap;
class TCanvas;
class TFont;
class TGraphic;
class TPicture;
} // namespace gfx
namespace rtl {
class TStream;
}

namespace raster {

// Area information passed with every area notification.
constexpr uint32_t AreaInfoRect = 0x80000000u;
constexpr uint32_t AreaInfoLine = 0x40000000u;

enum TDrawMode { dmOpaque = 0, dmBlend = 1, dmCustom = 2, dmTransparent = 3 };
enum TPixelAccessMode { pamUnsafe = 0, pamSafe = 1, pamWrap = 2, pamTransparentEdge = 3 };
enum TRectRounding { rrClosest = 0, rrOutside = 1, rrInside = 2 };

// ---- Geometry and colour routines --------------------------------------------------------

// A class-library colour ($00BBGGRR; negative = system colour index in the low byte) to an
// opaque TColor32.
TColor32 ColorToColor32(int32_t color);
// Resolves a system colour index to $00BBGGRR; the platform layer installs its table.
extern std::function<int32_t(int32_t index)> SystemColorResolver;

inline TPoint MakePoint(int32_t x, int32_t y) {
    return {x, y};
}
inline TRect MakeRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return {left, top, right, bottom};
}
inline TFixedRect MakeFixedRect(TFixed left, TFixed top, TFixed right, TFixed bottom) {
    return {left, top, right, bottom};
}
TRect MakeRectRounded(const TFloatRect &r, TRectRounding mode = rrClosest);
TRect MakeRectRounded(const TFixedRect &r, TRectRounding mode = rrClosest);
// True also for a zero-width or zero-height intersection; otherwise dst = (0, 0, 0, 0).
bool IntersectRects(TRect &dst, const TRect &r1, const TRect &r2);
bool SameRects(const TRect &r1, const TRect &r2);
void GrowRect(TRect &r, int32_t dx, int32_t dy);
void MoveRect(TRect &r, int32_t dx, int32_t dy);
bool RectIsEmpty(const TRect &r);
bool PointInRect(const TRect &r, const TPoint &p);

// GammaTable[i] = Round(255 * (i / 255) ^ gamma); built for gamma 0.7 at start-up.
extern uint8_t GammaTable[256];
void BuildGammaTable(float gamma);

// Rounds to nearest, halves to even; beyond the int32_t range it saturates, NaN gives 0
// (rtl::RoundSaturated).
int32_t Round(double value);

// Start-up of the whole library in the order the units depend on each other: processor
// features, low-level, blend, row masks, resampler registries, gamma table, micro-tiles.
// Idempotent; bitmaps call it.
void InitializeRaster();

// The device side's description of the pixels (Raster_Backends.h) and the pixel surface's
// identity: null while a bitmap is empty, another value after every size change.
struct TBitmapInfo;
using TBitmapHandle = const void *;

class EBitmapException : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// The class library's error for picture data it cannot read: "Bitmap image is not valid".
class EInvalidGraphic : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// How SaveToStream orders a bitmap file's rows: as in memory, first row first, under a negative
// height; or last row first under a positive height, as most readers expect (the class
// library's SaveTopDown).
enum TBitmapFileRows : uint8_t { brMemoryOrder = 0, brLastRowFirst = 1 };

// ---- Notification chain -----------------------------------------------------------------

class TNotifiablePersistent;
using TNotifyEvent = std::function<void(TNotifiablePersistent *sender)>;

// BeginUpdate/EndUpdate suppress Changed; EndUpdate does not catch up.
class TNotifiablePersistent {
public:
    virtual ~TNotifiablePersistent() = default;
    virtual void Changed();
    virtual void BeginUpdate();
    // Throws EBitmapException "Unpaired TThreadPersistent.EndUpdate" without a BeginUpdate.
    virtual void EndUpdate();
    int32_t GetUpdateCount() const { return FUpdateCount; }
    TNotifyEvent OnChange;

protected:
    int32_t FUpdateCount = 0;
};

class TThreadPersistent : public TNotifiablePersistent {
public:
    void Lock();
    void Unlock();
    int32_t GetLockCount() const { return FLockCount.load(); }

private:
    std::atomic<int32_t> FLockCount{0};
    std::recursive_mutex FLock;
};

// Width and height, never negative.
class TCustomMap : public TThreadPersistent {
public:
    int32_t GetWidth() const { return FWidth; }
    int32_t GetHeight() const { return FHeight; }
    virtual void SetWidth(int32_t value);
    virtual void SetHeight(int32_t value);
    // Negative values become 0; false (and no notification) when the size is unchanged.
    virtual bool SetSize(int32_t newWidth, int32_t newHeight);
    // The size of another map, picture or control (anything with a width and a height); a null
    // source gives 0 x 0.
    template <class Source> bool SetSizeFrom(const Source *source) {
        return source != nullptr ? SetSize(source->GetWidth(), source->GetHeight()) : SetSize(0, 0);
    }
    virtual void Delete();
    virtual bool Empty() const;
    TNotifyEvent OnResize;

protected:
    friend class TCustomBackend;
    virtual void ResizeStorage(int32_t &width, int32_t &height, int32_t newWidth,
                               int32_t newHeight);
    virtual void Resized();
    int32_t FHeight = 0;
    int32_t FWidth = 0;
};

class TCustomBitmap32;

// ---- Storage back ends ------------------------------------------------------------------

// Owns the pixel memory of a bitmap. Reference counted: the bitmap holds one reference;
// ReleaseBackend hands out another. Pixel memory is 64-byte aligned, rows without padding.
class TCustomBackend : public TThreadPersistent {
public:
    TCustomBackend();
    ~TCustomBackend() override;
    void AddRef() { ++FRefCount; }
    // Destroys the back end when the last reference goes.
    void Release();
    int32_t GetRefCount() const { return FRefCount.load(); }

    TColor32 *GetBits() const { return FBits; }
    TCustomBitmap32 *GetOwner() const { return FOwner; }
    // Copies size and pixels of another back end's owner into this one's owner.
    virtual void Assign(const TCustomBackend &source);
    virtual void Clear();
    virtual bool Empty() const { return false; }
    virtual void ChangeSize(int32_t &width, int32_t &height, int32_t newWidth, int32_t newHeight,
                            bool clearBuffer);
    TNotifyEvent OnChanging;

protected:
    friend class TCustomBitmap32;
    void NotifyChanging();
    virtual void AllocateSurface(int32_t newWidth, int32_t newHeight, bool clearBuffer);
    virtual void ReleaseSurface();
    TColor32 *FBits = nullptr;
    TCustomBitmap32 *FOwner = nullptr;

private:
    std::atomic<int32_t> FRefCount{1};
};

// Plain heap memory; a new surface is opaque black when clearBuffer is set.
class TMemoryBackend : public TCustomBackend {
public:
    ~TMemoryBackend() override;
    bool Empty() const override { return FBits == nullptr; }

protected:
    void AllocateSurface(int32_t newWidth, int32_t newHeight, bool clearBuffer) override;
    void ReleaseSurface() override;
};

// Allocates 64-byte aligned pixel memory; throws rtl::EOutOfMemory on failure.
TColor32 *AllocatePixels(int32_t width, int32_t height);
void FreePixels(TColor32 *bits);

// ---- Samplers ---------------------------------------------------------------------------

class TCustomSampler : public TNotifiablePersistent {
public:
    virtual TColor32 GetSampleInt(int32_t x, int32_t y);
    virtual TColor32 GetSampleFixed(TFixed x, TFixed y);
    virtual TColor32 GetSampleFloat(float x, float y);
    virtual void PrepareSampling() {}
    virtual void FinalizeSampling() {}
    virtual bool HasBounds() const { return false; }
    virtual TFloatRect GetSampleBounds() const;
};

using TPixelCombineEvent = std::function<void(TColor32 f, TColor32 &b, TColor32 m)>;

// Reads one bitmap; owned by that bitmap. Published: PixelAccessMode (and a descendant's own).
class TCustomResampler : public TCustomSampler, public TPublishedObject {
public:
    // Installs itself as bitmap's resampler when bitmap is not null (the bitmap owns it).
    explicit TCustomResampler(TCustomBitmap32 *bitmap = nullptr);
    void Changed() override;
    void PrepareSampling() override;
    bool HasBounds() const override;
    TFloatRect GetSampleBounds() const override;
    virtual float GetWidth() const { return 0; }
    const char *ClassName() const override = 0;
    virtual void Resample(TCustomBitmap32 *dst, TRect dstRect, TRect dstClip, TCustomBitmap32 *src,
                          TRect srcRect, TDrawMode combineOp,
                          const TPixelCombineEvent &combineCallBack) = 0;
    // From another resampler: its published properties.
    void Assign(const TPublishedObject &source) override;
    void GetPropList(std::vector<TPropInfo> &list) const override;
    TPropertyValue GetPropValue(const std::string &name) const override;
    void SetPropValue(const std::string &name, const TPropertyValue &value) override;

    TCustomBitmap32 *GetBitmap() const { return FBitmap; }
    TPixelAccessMode GetPixelAccessMode() const { return FPixelAccessMode; }
    void SetPixelAccessMode(TPixelAccessMode value);

protected:
    TCustomBitmap32 *FBitmap = nullptr;
    TRect FClipRect;
    TPixelAccessMode FPixelAccessMode = pamSafe;
};

// ---- The bitmap -------------------------------------------------------------------------

using TAreaChangedEvent =
    std::function<void(TCustomBitmap32 *sender, const TRect &area, uint32_t info)>;

class TCustomBitmap32 : public TCustomMap {
public:
    TCustomBitmap32();
    ~TCustomBitmap32() override;
    TCustomBitmap32(const TCustomBitmap32 &) = delete;
    TCustomBitmap32 &operator=(const TCustomBitmap32 &) = delete;

    // Storage and notification.
    bool Empty() const override;
    void Changed() override;
    virtual void Changed(const TRect &area, uint32_t info = AreaInfoRect);
    void PropertyChanged();
    void BeginMeasuring(TAreaChangedEvent callback);
    void EndMeasuring();
    bool GetMeasuringMode() const { return FMeasuringMode; }
    TCustomBackend *GetBackend() const { return FBackend; }
    // Installs a back end (taking over its one reference); size and pixels are copied into it.
    virtual void SetBackend(TCustomBackend *backend);
    // Takes one more reference to the back end for the caller.
    TCustomBackend *ReleaseBackend();
    TColor32 *GetBits() const { return FBits; }
    // Copies pixels and size, then the settings (draw, combine and wrap mode, master alpha,
    // outer colour, resampler) from source; null empties this bitmap.
    void Assign(const TCustomBitmap32 *source);
    void Assign(std::nullptr_t) { Assign(static_cast<const TCustomBitmap32 *>(nullptr)); }
    void CopyPixelsTo(TCustomBitmap32 &dst) const;
    virtual void CopySettingsTo(TCustomBitmap32 &dst) const;

    // Bitmap files: 32 bits per pixel, 54-byte header, written whole. The reader takes 24 and
    // 32 bits per pixel, plain or with channel masks (absent alpha is opaque), rows in either
    // order, information headers of 40 bytes and more, and honours the pixel offset; the
    // platform's picture classes read other formats (with gfx). A header whose sizes or offset
    // the stream cannot hold raises EInvalidGraphic "Bitmap image is not valid" before anything
    // is allocated; a stream shorter than 54 bytes, rtl::EReadError.
    void SaveToStream(rtl::TStream &stream, TBitmapFileRows rows = brMemoryOrder) const;
    void LoadFromStream(rtl::TStream &stream);
    void SaveToFile(const rtl::UnicodeString &fileName, TBitmapFileRows rows = brMemoryOrder) const;
    // A file that does not start with "BM" is loaded by the platform's picture classes.
    void LoadFromFile(const rtl::UnicodeString &fileName);
    // A bitmap resource of the program's module instance (gfx::HInstance), by number or name,
    // through a class-library bitmap. Changed runs in any case; a missing resource raises
    // gfx::EResNotFound "Resource %s not found" and leaves the pixels as they were.
    void LoadFromResourceID(uintptr_t instance, uint16_t resID);
    void LoadFromResourceName(uintptr_t instance, const rtl::UnicodeString &resName);
    // The stored-form pixel data ("Data"): 32-bit width and height, then the pixels in memory
    // order. The reader checks the sizes against the stream and reports Changed in any case.
    void ReadPixelData(rtl::TStream &stream);
    void WritePixelData(rtl::TStream &stream) const;
    // Whether a stored form holds the pixel data: when it differs from the ancestor's, or,
    // without one, when the bitmap is not empty.
    bool StoresPixelData(const TCustomBitmap32 *ancestor) const;
    // Two empty bitmaps are alike; otherwise the same class, size and pixels.
    bool SameContent(const TCustomBitmap32 &other) const;

    // Pictures of the platform (with gfx): a class-library bitmap keeps its alpha only at 32
    // bits per pixel, a transparent one gets alpha 0 where its transparent colour (its
    // bottom-left pixel) is; other pictures are drawn on opaque white. Null empties the bitmap.
    void Assign(const gfx::TGraphic *graphic);
    void Assign(const gfx::TPicture *picture);
    // From the clipboard's picture, through a temporary picture (EConvertError without one).
    void Assign(const gfx::TClipboard &clipboard);
    // Into a class-library bitmap (32 bits per pixel, alpha kept) or a picture.
    void AssignTo(gfx::TBitmap &dst) const;
    void AssignTo(gfx::TPicture &dst) const;
    // Puts a 32-bit copy on the clipboard.
    void AssignTo(gfx::TClipboard &dst) const;

    TRect BoundsRect() const { return {0, 0, FWidth, FHeight}; }
    TRect GetClipRect() const { return FClipRect; }
    void SetClipRect(const TRect &value);
    void ResetClipRect();
    bool GetClipping() const { return FClipping; }
    TFixedRect GetFixedClipRect() const { return FFixedClipRect; }

    TDrawMode GetDrawMode() const { return FDrawMode; }
    void SetDrawMode(TDrawMode value);
    TCombineMode GetCombineMode() const { return FCombineMode; }
    void SetCombineMode(TCombineMode value);
    TWrapMode GetWrapMode() const { return FWrapMode; }
    void SetWrapMode(TWrapMode value);
    uint32_t GetMasterAlpha() const { return FMasterAlpha; }
    void SetMasterAlpha(uint32_t value);
    TColor32 GetOuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor32 value) { FOuterColor = value; }
    TColor32 GetPenColor() const { return FPenColor; }
    void SetPenColor(TColor32 value) { FPenColor = value; }
    TCustomResampler *GetResampler() const { return FResampler.get(); }
    // Takes ownership; null or the current resampler is ignored.
    void SetResampler(TCustomResampler *value);
    std::string GetResamplerClassName() const;
    // Unknown names are ignored.
    void SetResamplerClassName(const std::string &value);

    TAreaChangedEvent OnAreaChanged;
    TPixelCombineEvent OnPixelCombine;

    // Whole bitmap.
    void Clear();
    void Clear(TColor32 fillColor);
    void ResetAlpha();
    void ResetAlpha(uint32_t alphaValue);
    void Roll(int32_t dx, int32_t dy, bool fillBack, TColor32 fillColor);
    void FlipHorz(TCustomBitmap32 *dst = nullptr);
    void FlipVert(TCustomBitmap32 *dst = nullptr);
    void Rotate90(TCustomBitmap32 *dst = nullptr);
    void Rotate180(TCustomBitmap32 *dst = nullptr);
    void Rotate270(TCustomBitmap32 *dst = nullptr);

    // Pixel access (see the suffix convention above).
    TColor32 GetPixel(int32_t x, int32_t y) const {
        WB_ASSERT(x >= 0 && x < FWidth && y >= 0 && y < FHeight,
                  "unclipped pixel inside the bitmap");
        return FBits[x + y * FWidth];
    }
    void SetPixel(int32_t x, int32_t y, TColor32 value) {
        WB_ASSERT(x >= 0 && x < FWidth && y >= 0 && y < FHeight,
                  "unclipped pixel inside the bitmap");
        FBits[x + y * FWidth] = value;
    }
    TColor32 GetPixelS(int32_t x, int32_t y) const;
    void SetPixelS(int32_t x, int32_t y, TColor32 value);
    TColor32 *GetPixelPtr(int32_t x, int32_t y) const { return FBits + x + y * FWidth; }
    TColor32 *GetScanLine(int32_t y) const { return FBits + y * FWidth; }
    void SetPixelT(int32_t x, int32_t y, TColor32 value);
    void SetPixelT(TColor32 *&ptr, TColor32 value);
    void SetPixelTS(int32_t x, int32_t y, TColor32 value);
    // Wrapped access; an empty clip rectangle reads OuterColor and writes nothing.
    TColor32 GetPixelW(int32_t x, int32_t y) const;
    void SetPixelW(int32_t x, int32_t y, TColor32 value);
    void SetPixelX(TFixed x, TFixed y, TColor32 value);
    void SetPixelXS(TFixed x, TFixed y, TColor32 value);
    void SetPixelF(float x, float y, TColor32 value);
    void SetPixelFS(float x, float y, TColor32 value);
    void SetPixelXW(TFixed x, TFixed y, TColor32 value);
    void SetPixelFW(float x, float y, TColor32 value);
    TColor32 GetPixelX(TFixed x, TFixed y) const;
    TColor32 GetPixelXS(TFixed x, TFixed y) const;
    TColor32 GetPixelF(float x, float y) const;
    TColor32 GetPixelFS(float x, float y) const;
    TColor32 GetPixelXW(TFixed x, TFixed y) const;
    TColor32 GetPixelFW(float x, float y) const;
    TColor32 GetPixelFR(float x, float y) const;
    TColor32 GetPixelXR(TFixed x, TFixed y) const;
    // Antialiased plot and bilinear sample at 24.8 positions, gamma-weighted.
    void PlotSubpixel(int32_t x, int32_t y, TColor32 c);
    void PlotSubpixelClipped(int32_t x, int32_t y, TColor32 c);
    TColor32 SampleSubpixel(int32_t x, int32_t y) const;
    TColor32 SampleSubpixelClipped(int32_t x, int32_t y) const;

    // Spans (ends inclusive).
    void HorzLine(int32_t x1, int32_t y, int32_t x2, TColor32 value);
    void HorzLineS(int32_t x1, int32_t y, int32_t x2, TColor32 value);
    void HorzLineT(int32_t x1, int32_t y, int32_t x2, TColor32 value);
    void HorzLineTS(int32_t x1, int32_t y, int32_t x2, TColor32 value);
    void VertLine(int32_t x, int32_t y1, int32_t y2, TColor32 value);
    void VertLineS(int32_t x, int32_t y1, int32_t y2, TColor32 value);
    void VertLineT(int32_t x, int32_t y1, int32_t y2, TColor32 value);
    void VertLineTS(int32_t x, int32_t y1, int32_t y2, TColor32 value);
    void HorzLineX(TFixed x1, TFixed y, TFixed x2, TColor32 value);
    void HorzLineXS(TFixed x1, TFixed y, TFixed x2, TColor32 value);
    void VertLineX(TFixed x, TFixed y1, TFixed y2, TColor32 value);
    void VertLineXS(TFixed x, TFixed y1, TFixed y2, TColor32 value);

    // Lines.
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value, bool l = false);
    void LineT(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value, bool l = false);
    void LineS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value, bool l = false);
    void LineTS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value, bool l = false);
    void LineA(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value, bool l = false);
    void LineAS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value, bool l = false);
    void LineX(TFixed x1, TFixed y1, TFixed x2, TFixed y2, TColor32 value, bool l = false);
    void LineF(float x1, float y1, float x2, float y2, TColor32 value, bool l = false);
    void LineXS(TFixed x1, TFixed y1, TFixed x2, TFixed y2, TColor32 value, bool l = false);
    // Float end points far outside the 16.16 range are clipped in floating point first.
    void LineFS(float x1, float y1, float x2, float y2, TColor32 value, bool l = false);
    void LineXP(TFixed x1, TFixed y1, TFixed x2, TFixed y2, bool l = false);
    void LineFP(float x1, float y1, float x2, float y2, bool l = false);
    void LineXSP(TFixed x1, TFixed y1, TFixed x2, TFixed y2, bool l = false);
    void LineFSP(float x1, float y1, float x2, float y2, bool l = false);

    // Pen.
    void MoveTo(int32_t x, int32_t y);
    void LineToS(int32_t x, int32_t y);
    void LineToTS(int32_t x, int32_t y);
    void LineToAS(int32_t x, int32_t y);
    void MoveToX(TFixed x, TFixed y);
    void MoveToF(float x, float y);
    void LineToXS(TFixed x, TFixed y);
    void LineToFS(float x, float y);
    void LineToXSP(TFixed x, TFixed y);
    void LineToFSP(float x, float y);
    TPoint GetPenPos() const { return {RasterX, RasterY}; }
    TFixedPoint GetPenPosX() const { return {RasterXF, RasterYF}; }

    // Stipple.
    void SetStipple(const TArrayOfColor32 &pattern);
    void AdvanceStippleCounter(float lengthPixels);
    TColor32 GetStippleColor();
    float GetStippleCounter() const { return FStippleCounter; }
    void SetStippleCounter(float value) { FStippleCounter = value; }
    float GetStippleStep() const { return FStippleStep; }
    void SetStippleStep(float value) { FStippleStep = value; }
    void HorzLineTSP(int32_t x1, int32_t y, int32_t x2);
    void VertLineTSP(int32_t x, int32_t y1, int32_t y2);

    // Rectangles: X1, Y1 inclusive, X2, Y2 exclusive.
    void FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value);
    void FillRectS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value);
    void FillRectS(const TRect &r, TColor32 value);
    void FillRectT(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value);
    void FillRectTS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value);
    void FillRectTS(const TRect &r, TColor32 value);
    void FrameRectS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value);
    void FrameRectS(const TRect &r, TColor32 value);
    void FrameRectTS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value);
    void FrameRectTS(const TRect &r, TColor32 value);
    void FrameRectTSP(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void RaiseRectTS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t contrast);
    void RaiseRectTS(const TRect &r, int32_t contrast);

    // Drawing between bitmaps; the source's DrawMode, MasterAlpha, CombineMode and resampler
    // decide how pixels combine. A null source does nothing.
    void Draw(int32_t dstX, int32_t dstY, TCustomBitmap32 *src);
    void Draw(int32_t dstX, int32_t dstY, const TRect &srcRect, TCustomBitmap32 *src);
    void Draw(const TRect &dstRect, const TRect &srcRect, TCustomBitmap32 *src);
    void DrawTo(TCustomBitmap32 *dst);
    void DrawTo(TCustomBitmap32 *dst, int32_t dstX, int32_t dstY);
    void DrawTo(TCustomBitmap32 *dst, int32_t dstX, int32_t dstY, const TRect &srcRect);
    void DrawTo(TCustomBitmap32 *dst, const TRect &dstRect);
    void DrawTo(TCustomBitmap32 *dst, const TRect &dstRect, const TRect &srcRect);

protected:
    void ResizeStorage(int32_t &width, int32_t &height, int32_t newWidth,
                       int32_t newHeight) override;
    virtual void BackendChangedNotify();
    virtual void BackendChangingNotify() {}
    void DiscardBackend();
    virtual void DestroyStorage();
    TBlendMem BlendProc() const { return BlendInPlaceByMode(FCombineMode); }

private:
    void RebuildWrapProcs();
    void PlotPixel(TColor32 *p, TColor32 c, uint32_t w, TCombineMode mode);
    template <class ColorAt>
    bool LineXSteps(TFixed x1, TFixed y1, TFixed x2, TFixed y2, bool l, bool clipped,
                    bool constantColor, ColorAt colorAt);
    void AxisLineSteps(int32_t x248, int32_t y248, int64_t steps, bool horizontal, TColor32 c,
                       const TRect &clip);
    void LineSCore(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value, bool l,
                   bool blend);
    void LineSCoreUnclipped(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value, bool l,
                            bool blend);
    void LineSAxis(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value, bool l,
                   bool blend);
    void LineACore(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value, bool l,
                   bool clipped);
    void StippledSpan(int32_t a1, int32_t at, int32_t a2, bool vertical);
    void DrawPixelRun(TColor32 *p, TColor32 value, bool blend);
    bool ClipFloatLine(float &x1, float &y1, float &x2, float &y2, bool &l) const;

    TCustomBackend *FBackend = nullptr;
    TColor32 *FBits = nullptr;
    TRect FClipRect;
    TFixedRect FFixedClipRect;
    TRect F256ClipRect;
    bool FClipping = false;
    TDrawMode FDrawMode = dmOpaque;
    TCombineMode FCombineMode = cmBlend;
    TWrapMode FWrapMode = wmClamp;
    uint32_t FMasterAlpha = 255;
    TColor32 FOuterColor = 0;
    TColor32 FPenColor = 0xFFFFFFFFu;
    float FStippleCounter = 0;
    TArrayOfColor32 FStipplePattern;
    float FStippleStep = 1.0f;
    TAreaChangedEvent FOldOnAreaChanged;
    bool FMeasuringMode = false;
    std::unique_ptr<TCustomResampler> FResampler;
    TWrapProcEx WrapProcHorz = ClampToRange;
    TWrapProcEx WrapProcVert = ClampToRange;
    int32_t RasterX = 0;
    int32_t RasterY = 0;
    TFixed RasterXF = 0;
    TFixed RasterYF = 0;
    // The float pen of MoveToF/LineToFS, kept so far-away positions need no 16.16 form.
    double FPenXF = 0;
    double FPenYF = 0;
    bool FPenFloat = false;
};

// A bitmap whose storage comes from the platform back end (TGDIBackend: our own pixel memory
// wrapped by a canvas), with the device side: canvas, font, text output and drawing to and
// from canvases. Pixels drawn to a canvas are shown ignoring their alpha. The device-side
// members raise rtl::EInvalidCast when the back end lacks the interface they use.
class TBitmap32 : public TCustomBitmap32 {
public:
    TBitmap32();
    TNotifyEvent OnHandleChanged;

    using TCustomBitmap32::Draw;
    using TCustomBitmap32::DrawTo;

    gfx::TCanvas &GetCanvas();
    bool CanvasAllocated() const;
    void DeleteCanvas();
    gfx::TFont &GetFont();
    // Copies the attributes; the bitmap keeps its own font object.
    void SetFont(const gfx::TFont &font);
    void UpdateFont();
    // The canvas on the pixels (the original's device context); null while empty.
    gfx::TCanvas *GetHandle();
    // The pixel surface's identity (null while empty) and its information header.
    TBitmapHandle GetBitmapHandle();
    TBitmapInfo GetBitmapInfo();

    // Text without background in the font's colour, clipped to the clip rectangle when
    // clipping; reports (X, Y, X + width + 1, Y + height + 1).
    void Textout(int32_t x, int32_t y, const rtl::UnicodeString &text);
    void Textout(int32_t x, int32_t y, const TRect &clipRect, const rtl::UnicodeString &text);
    // DrawText formatting (DT_ flags) into a copy of dstRect.
    void Textout(const TRect &dstRect, uint32_t flags, const rtl::UnicodeString &text);
    TSize TextExtent(const rtl::UnicodeString &text);
    int32_t TextWidth(const rtl::UnicodeString &text);
    int32_t TextHeight(const rtl::UnicodeString &text);
    void TextoutW(int32_t x, int32_t y, const rtl::UnicodeString &text) { Textout(x, y, text); }
    TSize TextExtentW(const rtl::UnicodeString &text) { return TextExtent(text); }
    int32_t TextWidthW(const rtl::UnicodeString &text) { return TextWidth(text); }
    int32_t TextHeightW(const rtl::UnicodeString &text) { return TextHeight(text); }
    // Text in Color blended onto the bitmap with its own antialiasing: AALevel 1..4 renders at
    // 2^AALevel times the size and averages blocks; 0 and below use the font engine's own
    // edges. AALevel is clamped to -1..4; Color's alpha acts as master alpha.
    void RenderText(int32_t x, int32_t y, const rtl::UnicodeString &text, int32_t aaLevel,
                    TColor32 color);
    void RenderTextW(int32_t x, int32_t y, const rtl::UnicodeString &text, int32_t aaLevel,
                     TColor32 color) {
        RenderText(x, y, text, aaLevel, color);
    }

    // To a canvas at 1:1 or scaled, alpha ignored; nothing for an empty bitmap.
    void DrawTo(gfx::TCanvas &dst, int32_t dstX, int32_t dstY);
    void DrawTo(gfx::TCanvas &dst, const TRect &dstRect, const TRect &srcRect);
    // From a canvas into the bitmap, scaled; reports dstRect.
    void Draw(const TRect &dstRect, const TRect &srcRect, gfx::TCanvas &src);
    // SrcRect resampled onto dstRect of the canvas in tiles of at most 1024 x 1024 pixels.
    void TileTo(gfx::TCanvas &dst, const TRect &dstRect, const TRect &srcRect);

protected:
    void BackendChangedNotify() override;
    void BackendChangingNotify() override;
};

// The factory that TBitmap32 uses for its default back end; null restores plain memory.
using TBackendFactory = TCustomBackend *(*)();
void SetPlatformBackendFactory(TBackendFactory factory);
TBackendFactory PlatformBackendFactory();

} // namespace raster
