// Bitmap storage, notification, back ends, settings and whole-bitmap operations; geometry
// routines, the gamma table and the library's start-up.
#include "raster/Raster.h"

#include "raster/Raster_Backends.h"
#include "raster/Raster_Filters.h"
#include "raster/Raster_MicroTiles.h"
#include "raster/Raster_Resamplers.h"
#include "raster/Raster_System.h"

#include "platform/rtl/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace raster {

uint8_t GammaTable[256];
std::function<int32_t(int32_t index)> SystemColorResolver;

int32_t Round(double value) {
    return rtl::RoundSaturated<int32_t>(value);
}

void BuildGammaTable(float gamma) {
    for (int i = 0; i < 256; ++i) {
        GammaTable[i] = static_cast<uint8_t>(Round(255.0 * std::pow(i / 255.0, double(gamma))));
    }
}

void InitializeRaster() {
    static std::once_flag once;
    std::call_once(once, [] {
        DetectProcessorFeatures();
        InitializeLowLevel();
        InitializeBlend();
        InitializeFilters();
        ProcessorCountAtStart = ProcessorCount();
        InitializeTransforms();
        InitializeResamplers();
        BuildGammaTable(0.7f);
        InitializeMicroTiles();
#ifdef WB_RASTER_PLATFORM
        InitializePlatformSide();
#endif
    });
}

TColor32 ColorToColor32(int32_t color) {
    if (color < 0) {
        color = SystemColorResolver ? SystemColorResolver(color & 0xFF) : 0;
    }
    const uint32_t c = static_cast<uint32_t>(color);
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

TRect MakeRectRounded(const TFloatRect &r, TRectRounding mode) {
    switch (mode) {
    case rrOutside:
        return {static_cast<int32_t>(std::floor(r.Left)), static_cast<int32_t>(std::floor(r.Top)),
                static_cast<int32_t>(std::ceil(r.Right)),
                static_cast<int32_t>(std::ceil(r.Bottom))};
    case rrInside: {
        TRect x{static_cast<int32_t>(std::ceil(r.Left)), static_cast<int32_t>(std::ceil(r.Top)),
                static_cast<int32_t>(std::floor(r.Right)),
                static_cast<int32_t>(std::floor(r.Bottom))};
        x.Right = std::max(x.Right, x.Left);
        x.Bottom = std::max(x.Bottom, x.Top);
        return x;
    }
    default:
        return {Round(r.Left), Round(r.Top), Round(r.Right), Round(r.Bottom)};
    }
}

TRect MakeRectRounded(const TFixedRect &r, TRectRounding mode) {
    switch (mode) {
    case rrOutside:
        return {FixedToIntFloor(r.Left), FixedToIntFloor(r.Top), FixedToIntCeil(r.Right),
                FixedToIntCeil(r.Bottom)};
    case rrInside: {
        TRect x{FixedToIntCeil(r.Left), FixedToIntCeil(r.Top), FixedToIntFloor(r.Right),
                FixedToIntFloor(r.Bottom)};
        x.Right = std::max(x.Right, x.Left);
        x.Bottom = std::max(x.Bottom, x.Top);
        return x;
    }
    default:
        return {FixedToIntRound(r.Left), FixedToIntRound(r.Top), FixedToIntRound(r.Right),
                FixedToIntRound(r.Bottom)};
    }
}

bool IntersectRects(TRect &dst, const TRect &r1, const TRect &r2) {
    const TRect r{std::max(r1.Left, r2.Left), std::max(r1.Top, r2.Top),
                  std::min(r1.Right, r2.Right), std::min(r1.Bottom, r2.Bottom)};
    const bool ok = r.Right >= r.Left && r.Bottom >= r.Top;
    dst = ok ? r : TRect{};
    return ok;
}

bool SameRects(const TRect &r1, const TRect &r2) {
    return r1 == r2;
}

void GrowRect(TRect &r, int32_t dx, int32_t dy) {
    r.Left -= dx;
    r.Top -= dy;
    r.Right += dx;
    r.Bottom += dy;
}

void MoveRect(TRect &r, int32_t dx, int32_t dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

bool RectIsEmpty(const TRect &r) {
    return !(r.Left < r.Right && r.Top < r.Bottom);
}

bool PointInRect(const TRect &r, const TPoint &p) {
    return r.Left <= p.X && p.X < r.Right && r.Top <= p.Y && p.Y < r.Bottom;
}

// ---- Notification chain -----------------------------------------------------------------

void TNotifiablePersistent::Changed() {
    if (FUpdateCount == 0 && OnChange) {
        OnChange(this);
    }
}

void TNotifiablePersistent::BeginUpdate() {
    ++FUpdateCount;
}

void TNotifiablePersistent::EndUpdate() {
    if (FUpdateCount <= 0) {
        throw EBitmapException(std::string_view("Unpaired TThreadPersistent.EndUpdate"));
    }
    --FUpdateCount;
}

void TThreadPersistent::Lock() {
    ++FLockCount;
    FLock.lock();
}

void TThreadPersistent::Unlock() {
    FLock.unlock();
    --FLockCount;
}

void TCustomMap::SetWidth(int32_t value) {
    SetSize(value, FHeight);
}

void TCustomMap::SetHeight(int32_t value) {
    SetSize(FWidth, value);
}

bool TCustomMap::SetSize(int32_t newWidth, int32_t newHeight) {
    newWidth = std::max(newWidth, 0);
    newHeight = std::max(newHeight, 0);
    if (newWidth == FWidth && newHeight == FHeight) {
        return false;
    }
    ResizeStorage(FWidth, FHeight, newWidth, newHeight);
    Changed();
    Resized();
    return true;
}

void TCustomMap::Delete() {
    SetSize(0, 0);
}

bool TCustomMap::Empty() const {
    return FWidth == 0 || FHeight == 0;
}

void TCustomMap::ResizeStorage(int32_t &width, int32_t &height, int32_t newWidth,
                               int32_t newHeight) {
    width = newWidth;
    height = newHeight;
}

void TCustomMap::Resized() {
    if (OnResize) {
        OnResize(this);
    }
}

// ---- Back ends --------------------------------------------------------------------------

TColor32 *AllocatePixels(int32_t width, int32_t height) {
    const uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4;
    const uint64_t rounded = (bytes + 63) & ~uint64_t(63);
    void *p = rounded > (uint64_t(1) << 40) ? nullptr : std::aligned_alloc(64, rounded);
    if (p == nullptr) {
        throw rtl::EOutOfMemory(std::string_view("Out of memory"));
    }
    return static_cast<TColor32 *>(p);
}

void FreePixels(TColor32 *bits) {
    std::free(bits);
}

TCustomBackend::TCustomBackend() = default;

TCustomBackend::~TCustomBackend() = default;

void TCustomBackend::Release() {
    if (--FRefCount == 0) {
        delete this;
    }
}

void TCustomBackend::NotifyChanging() {
    if (OnChanging) {
        OnChanging(this);
    }
}

void TCustomBackend::ChangeSize(int32_t &width, int32_t &height, int32_t newWidth,
                                int32_t newHeight, bool clearBuffer) {
    NotifyChanging();
    ReleaseSurface();
    width = 0;
    height = 0;
    // Changed runs the owner's handlers, which may throw: an explicit try, not a scope guard.
    try {
        if (newWidth > 0 && newHeight > 0) {
            AllocateSurface(newWidth, newHeight, clearBuffer);
        }
        width = newWidth;
        height = newHeight;
    } catch (...) {
        Changed();
        throw;
    }
    Changed();
}

void TCustomBackend::Clear() {
    if (FOwner) {
        ChangeSize(FOwner->FWidth, FOwner->FHeight, 0, 0, false);
    } else {
        int32_t w = 0, h = 0;
        ChangeSize(w, h, 0, 0, false);
    }
}

void TCustomBackend::Assign(const TCustomBackend &source) {
    if (FOwner == nullptr || source.FOwner == nullptr) {
        return;
    }
    const int32_t w = source.FOwner->GetWidth();
    const int32_t h = source.FOwner->GetHeight();
    ChangeSize(FOwner->FWidth, FOwner->FHeight, w, h, false);
    if (!source.Empty() && FBits && source.FBits) {
        MoveDWords(source.FBits, FBits, w * h);
    }
}

void TCustomBackend::AllocateSurface(int32_t, int32_t, bool) {}

void TCustomBackend::ReleaseSurface() {}

TMemoryBackend::~TMemoryBackend() {
    ReleaseSurface();
}

void TMemoryBackend::AllocateSurface(int32_t newWidth, int32_t newHeight, bool clearBuffer) {
    FBits = AllocatePixels(newWidth, newHeight);
    if (clearBuffer) {
        FillDWords(FBits, newWidth * newHeight, 0xFF000000u);
    }
}

void TMemoryBackend::ReleaseSurface() {
    FreePixels(FBits);
    FBits = nullptr;
}

// ---- Samplers ---------------------------------------------------------------------------

TColor32 TCustomSampler::GetSampleInt(int32_t x, int32_t y) {
    return GetSampleFixed(FixedFromInt(x), FixedFromInt(y));
}

TColor32 TCustomSampler::GetSampleFixed(TFixed x, TFixed y) {
    return GetSampleFloat(x / 65536.0f, y / 65536.0f);
}

TColor32 TCustomSampler::GetSampleFloat(float x, float y) {
    return GetSampleFixed(Round(double(x) * 65536), Round(double(y) * 65536));
}

TFloatRect TCustomSampler::GetSampleBounds() const {
    const float inf = INFINITY;
    return {-inf, -inf, inf, inf};
}

TCustomResampler::TCustomResampler(TCustomBitmap32 *bitmap) : FBitmap(bitmap) {
    if (bitmap) {
        bitmap->SetResampler(this);
    }
}

void TCustomResampler::Changed() {
    if (FBitmap) {
        FBitmap->Changed();
    }
}

void TCustomResampler::PrepareSampling() {
    FClipRect = FBitmap->GetClipRect();
}

bool TCustomResampler::HasBounds() const {
    return FPixelAccessMode != pamWrap;
}

TFloatRect TCustomResampler::GetSampleBounds() const {
    const TRect c = FBitmap->GetClipRect();
    TFloatRect r{float(c.Left), float(c.Top), float(c.Right), float(c.Bottom)};
    if (FPixelAccessMode == pamTransparentEdge) {
        r = {r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
    }
    return r;
}

void TCustomResampler::Assign(const TPublishedObject &source) {
    if (dynamic_cast<const TCustomResampler *>(&source) == nullptr) {
        TPublishedObject::Assign(source);
    }
    CopyPublishedProperties(source, *this, tkProperties);
}

namespace {
const char *const kPixelAccessModeNames[] = {"pamUnsafe", "pamSafe", "pamWrap",
                                             "pamTransparentEdge"};
} // namespace

void TCustomResampler::GetPropList(std::vector<TPropInfo> &list) const {
    list.push_back({"PixelAccessMode", tkEnumeration});
}

TPropertyValue TCustomResampler::GetPropValue(const std::string &name) const {
    if (name == "PixelAccessMode") {
        return std::string(kPixelAccessModeNames[FPixelAccessMode]);
    }
    return TPublishedObject::GetPropValue(name);
}

void TCustomResampler::SetPropValue(const std::string &name, const TPropertyValue &value) {
    if (name != "PixelAccessMode") {
        TPublishedObject::SetPropValue(name, value);
        return;
    }
    const std::string &text = TextOf(name, value);
    for (int i = 0; i < 4; ++i) {
        if (text == kPixelAccessModeNames[i]) {
            SetPixelAccessMode(TPixelAccessMode(i));
            return;
        }
    }
    throw EPropertyError(std::string_view("Invalid property value"));
}

void TCustomResampler::SetPixelAccessMode(TPixelAccessMode value) {
    if (FPixelAccessMode != value) {
        FPixelAccessMode = value;
        Changed();
    }
}

// ---- Bitmap -----------------------------------------------------------------------------

TCustomBitmap32::TCustomBitmap32() {
    InitializeRaster();
    SetBackend(new TMemoryBackend());
    new TNearestResampler(this); // installs itself; the bitmap owns it
}

TCustomBitmap32::~TCustomBitmap32() {
    DestroyStorage();
}

void TCustomBitmap32::DestroyStorage() {
    if (FBackend == nullptr) {
        return;
    }
    BeginUpdate();
    Lock();
    try {
        SetSize(0, 0);
    } catch (...) {
    }
    FResampler.reset();
    DiscardBackend();
    Unlock();
}

bool TCustomBitmap32::Empty() const {
    return (FBackend == nullptr || FBackend->Empty()) || FWidth == 0 || FHeight == 0;
}

void TCustomBitmap32::Changed() {
    if ((FUpdateCount == 0 || FMeasuringMode) && OnAreaChanged) {
        OnAreaChanged(this, BoundsRect(), AreaInfoRect);
    }
    if (!FMeasuringMode) {
        TNotifiablePersistent::Changed();
    }
}

void TCustomBitmap32::Changed(const TRect &area, uint32_t info) {
    if ((FUpdateCount == 0 || FMeasuringMode) && OnAreaChanged) {
        OnAreaChanged(this, area, info);
    }
    if (!FMeasuringMode) {
        TNotifiablePersistent::Changed();
    }
}

void TCustomBitmap32::PropertyChanged() {
    TNotifiablePersistent::Changed();
}

void TCustomBitmap32::BeginMeasuring(TAreaChangedEvent callback) {
    FMeasuringMode = true;
    FOldOnAreaChanged = OnAreaChanged;
    OnAreaChanged = std::move(callback);
}

void TCustomBitmap32::EndMeasuring() {
    FMeasuringMode = false;
    OnAreaChanged = FOldOnAreaChanged;
}

void TCustomBitmap32::ResizeStorage(int32_t &width, int32_t &height, int32_t newWidth,
                                    int32_t newHeight) {
    FBackend->ChangeSize(width, height, newWidth, newHeight, true);
}

void TCustomBitmap32::SetBackend(TCustomBackend *backend) {
    if (backend == nullptr || backend == FBackend) {
        return;
    }
    BeginUpdate();
    backend->FOwner = this;
    if (FBackend) {
        backend->Assign(*FBackend);
        DiscardBackend();
    }
    FBackend = backend;
    backend->OnChange = [this](TNotifiablePersistent *) { BackendChangedNotify(); };
    backend->OnChanging = [this](TNotifiablePersistent *) { BackendChangingNotify(); };
    EndUpdate();
    backend->Changed();
    Changed();
}

TCustomBackend *TCustomBitmap32::ReleaseBackend() {
    FBackend->AddRef();
    return FBackend;
}

void TCustomBitmap32::DiscardBackend() {
    TCustomBackend *b = FBackend;
    FBackend = nullptr;
    b->FOwner = nullptr;
    b->OnChange = nullptr;
    b->OnChanging = nullptr;
    b->Release();
}

void TCustomBitmap32::BackendChangedNotify() {
    FBits = FBackend ? FBackend->GetBits() : nullptr;
    ResetClipRect();
}

void TCustomBitmap32::Assign(const TCustomBitmap32 *source) {
    BeginUpdate();
    // EndUpdate and Changed run the handlers, which may throw: an explicit try, not a scope guard.
    try {
        if (source == nullptr) {
            SetSize(0, 0);
        } else {
            source->CopyPixelsTo(*this);
            source->CopySettingsTo(*this);
        }
    } catch (...) {
        EndUpdate();
        Changed();
        throw;
    }
    EndUpdate();
    Changed();
}

void TCustomBitmap32::CopyPixelsTo(TCustomBitmap32 &dst) const {
    dst.SetSize(FWidth, FHeight);
    if (!Empty() && &dst != this) {
        MoveDWords(FBits, dst.FBits, FWidth * FHeight);
    }
}

void TCustomBitmap32::CopySettingsTo(TCustomBitmap32 &dst) const {
    dst.SetDrawMode(FDrawMode);
    dst.SetCombineMode(FCombineMode);
    dst.SetWrapMode(FWrapMode);
    dst.SetMasterAlpha(FMasterAlpha);
    dst.SetOuterColor(FOuterColor);
    dst.SetResamplerClassName(GetResamplerClassName());
    if (FResampler && dst.FResampler) {
        dst.FResampler->Assign(*FResampler);
    }
}

void TCustomBitmap32::SetClipRect(const TRect &value) {
    IntersectRects(FClipRect, value, BoundsRect());
    FFixedClipRect = {FixedFromInt(FClipRect.Left), FixedFromInt(FClipRect.Top),
                      FixedFromInt(FClipRect.Right), FixedFromInt(FClipRect.Bottom)};
    // 24.8 fixed point covers 2^23 pixels; wider bitmaps wrap as the 32-bit original did.
    auto to248 = [](int32_t v) { return rtl::WrapToInt32(int64_t(v) * 256); };
    F256ClipRect = {to248(FClipRect.Left), to248(FClipRect.Top), to248(FClipRect.Right),
                    to248(FClipRect.Bottom)};
    FClipping = !(FClipRect == BoundsRect());
    RebuildWrapProcs();
}

void TCustomBitmap32::ResetClipRect() {
    SetClipRect(BoundsRect());
}

void TCustomBitmap32::RebuildWrapProcs() {
    WrapProcHorz = FastWrapProcFor(FWrapMode, FClipRect.Left, FClipRect.Right - 1);
    WrapProcVert = FastWrapProcFor(FWrapMode, FClipRect.Top, FClipRect.Bottom - 1);
}

void TCustomBitmap32::SetDrawMode(TDrawMode value) {
    if (FDrawMode != value) {
        FDrawMode = value;
        Changed();
    }
}

void TCustomBitmap32::SetCombineMode(TCombineMode value) {
    if (FCombineMode != value) {
        FCombineMode = value;
        Changed();
    }
}

void TCustomBitmap32::SetWrapMode(TWrapMode value) {
    if (FWrapMode != value) {
        FWrapMode = value;
        RebuildWrapProcs();
        Changed();
    }
}

void TCustomBitmap32::SetMasterAlpha(uint32_t value) {
    if (FMasterAlpha != value) {
        FMasterAlpha = value;
        Changed();
    }
}

void TCustomBitmap32::SetResampler(TCustomResampler *value) {
    if (value == nullptr || value == FResampler.get()) {
        return;
    }
    FResampler.reset(value);
    Changed();
}

std::string TCustomBitmap32::GetResamplerClassName() const {
    return FResampler ? FResampler->ClassName() : std::string();
}

void TCustomBitmap32::SetResamplerClassName(const std::string &value) {
    if (value.empty() || value == GetResamplerClassName()) {
        return;
    }
    CreateResamplerByName(value, this);
}

void TCustomBitmap32::Clear() {
    Clear(0xFF000000u);
}

void TCustomBitmap32::Clear(TColor32 fillColor) {
    if (Empty()) {
        return;
    }
    if (!FMeasuringMode) {
        if (FClipping) {
            FillRect(FClipRect.Left, FClipRect.Top, FClipRect.Right, FClipRect.Bottom, fillColor);
        } else {
            FillDWords(FBits, FWidth * FHeight, fillColor);
        }
    }
    Changed();
}

void TCustomBitmap32::ResetAlpha() {
    ResetAlpha(255);
}

void TCustomBitmap32::ResetAlpha(uint32_t alphaValue) {
    if (!FMeasuringMode && FBits) {
        const uint32_t a = (alphaValue & 0xFF) << 24;
        const int32_t n = FWidth * FHeight;
        for (int32_t i = 0; i < n; ++i) {
            FBits[i] = (FBits[i] & 0x00FFFFFFu) | a;
        }
    }
    Changed();
}

// The pixel array moves as one linear block, so horizontal rolling carries pixels across rows.
void TCustomBitmap32::Roll(int32_t dx, int32_t dy, bool fillBack, TColor32 fillColor) {
    if (Empty() || (dx == 0 && dy == 0)) {
        return;
    }
    if (std::abs(dx) >= FWidth || std::abs(dy) >= FHeight) {
        if (fillBack) {
            Clear(fillColor);
        }
        return;
    }
    const int64_t n = int64_t(FWidth) * FHeight;
    const int64_t shift = dx + int64_t(dy) * FWidth;
    if (shift > 0) {
        std::memmove(FBits + shift, FBits, size_t(n - shift) * 4);
    } else if (shift < 0) {
        std::memmove(FBits, FBits - shift, size_t(n + shift) * 4);
    }
    if (fillBack) {
        TRect r;
        IntersectRects(r, {dx, dy, dx + FWidth, dy + FHeight}, BoundsRect());
        if (r.Top > 0) {
            FillRect(0, 0, FWidth, r.Top, fillColor);
        } else {
            FillRect(0, r.Bottom, FWidth, FHeight, fillColor);
        }
        if (r.Left > 0) {
            FillRect(0, r.Top, r.Left, r.Bottom, fillColor);
        } else {
            FillRect(r.Right, r.Top, FWidth, r.Bottom, fillColor);
        }
    }
    Changed();
}

void TCustomBitmap32::FlipHorz(TCustomBitmap32 *dst) {
    if (dst != nullptr && dst != this) {
        dst->BeginUpdate();
        dst->SetSize(FWidth, FHeight);
        for (int32_t y = 0; y < FHeight; ++y) {
            const TColor32 *s = GetScanLine(y);
            TColor32 *d = dst->GetScanLine(y);
            for (int32_t x = 0; x < FWidth; ++x) {
                d[FWidth - 1 - x] = s[x];
            }
        }
        dst->EndUpdate();
        dst->Changed();
        return;
    }
    for (int32_t y = 0; y < FHeight; ++y) {
        std::reverse(GetScanLine(y), GetScanLine(y) + FWidth);
    }
    Changed();
}

void TCustomBitmap32::FlipVert(TCustomBitmap32 *dst) {
    if (dst != nullptr && dst != this) {
        dst->SetSize(FWidth, FHeight);
        for (int32_t y = 0; y < FHeight; ++y) {
            MoveDWords(GetScanLine(y), dst->GetScanLine(FHeight - 1 - y), FWidth);
        }
        dst->Changed();
        return;
    }
    std::vector<TColor32> row(static_cast<size_t>(FWidth));
    for (int32_t y = 0; y < FHeight / 2; ++y) {
        TColor32 *a = GetScanLine(y);
        TColor32 *b = GetScanLine(FHeight - 1 - y);
        MoveDWords(a, row.data(), FWidth);
        MoveDWords(b, a, FWidth);
        MoveDWords(row.data(), b, FWidth);
    }
    Changed();
}

namespace {
// Quarter turns: clockwise sends (x, y) to (H - 1 - y, x); counter-clockwise to (y, W - 1 - x).
void RotateInto(const TCustomBitmap32 &src, TCustomBitmap32 &dst, bool clockwise) {
    const int32_t w = src.GetWidth();
    const int32_t h = src.GetHeight();
    dst.SetSize(h, w);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            if (clockwise) {
                dst.SetPixel(h - 1 - y, x, src.GetPixel(x, y));
            } else {
                dst.SetPixel(y, w - 1 - x, src.GetPixel(x, y));
            }
        }
    }
}
} // namespace

void TCustomBitmap32::Rotate90(TCustomBitmap32 *dst) {
    if (dst != nullptr && dst != this) {
        dst->BeginUpdate();
        RotateInto(*this, *dst, true);
        dst->EndUpdate();
        dst->Changed();
        return;
    }
    TCustomBitmap32 tmp;
    RotateInto(*this, tmp, true);
    tmp.CopyPixelsTo(*this);
}

void TCustomBitmap32::Rotate270(TCustomBitmap32 *dst) {
    if (dst != nullptr && dst != this) {
        dst->BeginUpdate();
        RotateInto(*this, *dst, false);
        dst->EndUpdate();
        dst->Changed();
        return;
    }
    TCustomBitmap32 tmp;
    RotateInto(*this, tmp, false);
    tmp.CopyPixelsTo(*this);
}

void TCustomBitmap32::Rotate180(TCustomBitmap32 *dst) {
    const int32_t n = FWidth * FHeight;
    if (dst != nullptr && dst != this) {
        dst->SetSize(FWidth, FHeight);
        for (int32_t i = 0; i < n; ++i) {
            dst->FBits[n - 1 - i] = FBits[i];
        }
        dst->Changed();
        return;
    }
    if (n > 0) {
        std::reverse(FBits, FBits + n);
    }
    Changed();
}

void TCustomBitmap32::Draw(int32_t dstX, int32_t dstY, TCustomBitmap32 *src) {
    if (src) {
        src->DrawTo(this, dstX, dstY);
    }
}

void TCustomBitmap32::Draw(int32_t dstX, int32_t dstY, const TRect &srcRect, TCustomBitmap32 *src) {
    if (src) {
        src->DrawTo(this, dstX, dstY, srcRect);
    }
}

void TCustomBitmap32::Draw(const TRect &dstRect, const TRect &srcRect, TCustomBitmap32 *src) {
    if (src) {
        src->DrawTo(this, dstRect, srcRect);
    }
}

void TCustomBitmap32::DrawTo(TCustomBitmap32 *dst) {
    DrawTo(dst, 0, 0);
}

void TCustomBitmap32::DrawTo(TCustomBitmap32 *dst, int32_t dstX, int32_t dstY) {
    DrawTo(dst, dstX, dstY, BoundsRect());
}

void TCustomBitmap32::DrawTo(TCustomBitmap32 *dst, int32_t dstX, int32_t dstY,
                             const TRect &srcRect) {
    TransferBlock(dst, dstX, dstY, dst ? dst->GetClipRect() : TRect{}, this, srcRect, FDrawMode,
                  OnPixelCombine);
}

void TCustomBitmap32::DrawTo(TCustomBitmap32 *dst, const TRect &dstRect) {
    DrawTo(dst, dstRect, BoundsRect());
}

void TCustomBitmap32::DrawTo(TCustomBitmap32 *dst, const TRect &dstRect, const TRect &srcRect) {
    TransferStretched(dst, dstRect, dst ? dst->GetClipRect() : TRect{}, this, srcRect,
                      FResampler.get(), FDrawMode, OnPixelCombine);
}

// ---- TBitmap32 --------------------------------------------------------------------------

namespace {
TBackendFactory GPlatformBackendFactory = nullptr;
}

void SetPlatformBackendFactory(TBackendFactory factory) {
    GPlatformBackendFactory = factory;
}

TBackendFactory PlatformBackendFactory() {
    return GPlatformBackendFactory;
}

TBitmap32::TBitmap32() {
    TBackendFactory factory = GPlatformBackendFactory;
#ifdef WB_RASTER_PLATFORM
    if (factory == nullptr) {
        factory = PlatformBackendClass;
    }
#endif
    if (factory != nullptr) {
        SetBackend(factory());
    }
}

bool TBitmap32::CanvasAllocated() const {
    auto *c = dynamic_cast<ICanvasSupport *>(GetBackend());
    return c != nullptr && c->CanvasAllocated();
}

void TBitmap32::DeleteCanvas() {
    if (auto *c = dynamic_cast<ICanvasSupport *>(GetBackend())) {
        c->DeleteCanvas();
    }
}

void TBitmap32::BackendChangingNotify() {
    DeleteCanvas();
}

void TBitmap32::BackendChangedNotify() {
    TCustomBitmap32::BackendChangedNotify();
    if (OnHandleChanged) {
        OnHandleChanged(this);
    }
}

} // namespace raster
