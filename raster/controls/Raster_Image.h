// The paint box (an own-drawn control painting through a 32-bit back buffer) and the image
// control that shows one TBitmap32 with layers over it, rendered by a list of paint stages.
#pragma once

#include "raster/Raster.h"
#include "raster/Raster_Containers.h"
#include "raster/controls/Raster_Layers.h"
#include "raster/controls/Raster_RepaintOpt.h"

#include "platform/ui/CustomControl.h"

#include <functional>
#include <memory>
#include <vector>

namespace raster {

class IPaintSupport;

enum TRepaintMode : uint8_t { rmFull = 0, rmDirect = 1, rmOptimizer = 2 };
enum TPaintBoxOption : uint8_t { pboWantArrowKeys = 1, pboAutoFocus = 2 };
using TPaintBoxOptions = uint8_t; // bits of TPaintBoxOption

// WM_GETDLGCODE answer bit for arrow keys.
constexpr ui::LRESULT DLGC_WANTARROWS = 1;

// A windowed control that renders into a back buffer at least as large as itself (growing with
// BufferOversize pixels of slack, never below 1 x 1) and copies it to the window on WM_PAINT.
// Descendants render in PaintBuffer. Invalidate and Repaint here also mark the buffer stale;
// every size change, Invalidate and SetBufferOversize do so too. WM_ERASEBKGND erases nothing,
// so an opaque paint box repaints without its parent.
class TCustomPaintBox32 : public ui::TCustomControl {
public:
    explicit TCustomPaintBox32(ui::TComponent *owner);
    ~TCustomPaintBox32() override;

    TBitmap32 &GetBuffer() const { return *FBuffer; }
    int32_t GetBufferOversize() const { return FBufferOversize; }
    // Negative values become 0.
    void SetBufferOversize(int32_t value);
    // The control's cursor, which the layers' mouse dispatch shows when no layer is hit.
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor value) { FCursor = value; }
    TPaintBoxOptions GetOptions() const { return FOptions; }
    void SetOptions(TPaintBoxOptions value) { FOptions = value; }
    bool GetMouseInControl() const { return FMouseInControl; }
    TRepaintMode GetRepaintMode() const { return FRepaintMode; }
    virtual void SetRepaintMode(TRepaintMode value);
    TCustomRepaintOptimizer &GetRepaintOptimizer() const { return *FRepaintOptimizer; }
    TRectList &GetInvalidRects() { return FInvalidRects; }
    bool GetBufferValid() const { return FBufferValid; }

    void Invalidate();
    void Repaint();
    virtual void ForceFullInvalidate();
    // Copies the whole viewport (or one rectangle of the buffer) to the control's canvas;
    // only possible while the control paints.
    void Flush();
    void Flush(const TRect &srcRect);
    virtual TRect GetViewportRect() const;
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
    // Copies buffer and settings into another paint box (each keeps its own invalid list).
    using ui::TCustomControl::AssignTo;
    void AssignTo(TCustomPaintBox32 &dest) const;

    ui::TNotifyEvent OnGDIOverlay;

protected:
    void Dispatch(ui::TMessage &message) override;
    void Paint() override;
    void Resize() override;
    void ColorChanged() override;
    void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;

    virtual bool OptimizedRepaintDue() const;
    virtual bool InvalidRectsReady() { return true; }
    virtual void PrepareInvalidRects();
    virtual void PaintBuffer();
    virtual void PaintGDIOverlay();
    virtual void BufferResized(int32_t oldWidth, int32_t oldHeight);
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    void AdjustBufferSize();
    void DirectAreaChanged(const TRect &area);
    // Whether the control is inside its own paint handling.
    bool Painting() const { return FPainting; }

    bool FBufferValid = false;
    bool FForceFullRepaint = true;
    TRepaintMode FRepaintMode = rmFull;
    TRectList FInvalidRects;

private:
    void CopyBufferToCanvas(IPaintSupport *paint);

    std::unique_ptr<TBitmap32> FBuffer;
    int32_t FBufferOversize = 40;
    std::unique_ptr<TCustomRepaintOptimizer> FRepaintOptimizer;
    TPaintBoxOptions FOptions = 0;
    TCursor FCursor = crDefault;
    bool FMouseInControl = false;
    bool FPainting = false;
};

enum TBitmapAlign : uint8_t { baTopLeft = 0, baCenter = 1, baTile = 2, baCustom = 3 };
enum TScaleMode : uint8_t {
    smNormal = 0,
    smStretch = 1,
    smScale = 2,
    smResize = 3,
    smOptimal = 4,
    smOptimalScaled = 5
};

// Stage kinds.
enum : uint32_t {
    stgCustom = 1,
    stgClearBuffer = 2,
    stgClearBackground = 3,
    stgDrawBitmap = 4,
    stgDrawLayers = 5,
    stgControlFrame = 6,
    stgBitmapFrame = 7
};

struct TPaintStage {
    bool DsgnTime = false;
    bool RunTime = true;
    uint32_t Stage = 0;
    uint32_t Parameter = 0;
};

// The ordered, editable list of paint stages. Delete with a bad index raises rtl::EListError
// "Invalid stage index"; GetItem does not check.
class TPaintStages {
public:
    TPaintStage *Add();
    // The index is clamped into 0 .. Count.
    TPaintStage *Insert(int32_t index);
    void Delete(int32_t index);
    void Clear() { FItems.clear(); }
    int32_t Count() const { return int32_t(FItems.size()); }
    TPaintStage &GetItem(int32_t index) { return FItems[size_t(index)]; }
    TPaintStage &operator[](int32_t index) { return GetItem(index); }

private:
    std::vector<TPaintStage> FItems;
};

class TCustomImage32;
using TPaintStageEvent =
    std::function<void(TCustomImage32 *sender, TBitmap32 *buffer, uint32_t stageNum)>;
using TImgMouseEvent =
    std::function<void(TCustomImage32 *sender, ui::TMouseButton button, ui::TShiftState shift,
                       int32_t x, int32_t y, TCustomLayer *layer)>;
using TImgMouseMoveEvent = std::function<void(TCustomImage32 *sender, ui::TShiftState shift,
                                              int32_t x, int32_t y, TCustomLayer *layer)>;
using TImageNotifyEvent = std::function<void(TCustomImage32 *sender)>;

// Shows Bitmap placed by BitmapAlign and scaled by ScaleMode, with Layers drawn over it. The
// bitmap is drawn in rmFull mode: any change of it outside an update bracket repaints the
// control. Scales below 0.001 are raised to 0.001.
class TCustomImage32 : public TCustomPaintBox32 {
public:
    explicit TCustomImage32(ui::TComponent *owner);
    ~TCustomImage32() override;

    TBitmap32 &GetBitmap() const { return *FBitmap; }
    void SetBitmap(const TBitmap32 *value);
    TLayerCollection &GetLayers() const { return *FLayers; }
    // Replaces the layers by copies of value's.
    void SetLayers(const TLayerCollection &value) { FLayers->Assign(value); }
    // With AutoSize the control takes the bitmap's size (scaled in smScale) whenever the bitmap
    // is resized; the size on the axis its alignment stretches stays.
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    // The size an auto-sized control wants: newWidth and newHeight are changed where the
    // alignment lets the control choose them.
    virtual bool CanAutoSize(int32_t &newWidth, int32_t &newHeight);
    TPaintStages &GetPaintStages() { return FPaintStages; }
    TBitmapAlign GetBitmapAlign() const { return FBitmapAlign; }
    void SetBitmapAlign(TBitmapAlign value);
    TScaleMode GetScaleMode() const { return FScaleMode; }
    virtual void SetScaleMode(TScaleMode value);
    float GetScale() const { return FScaleX; }
    void SetScale(float value);
    float GetScaleX() const { return FScaleX; }
    void SetScaleX(float value);
    float GetScaleY() const { return FScaleY; }
    void SetScaleY(float value);
    float GetOffsetHorz() const { return FOffsetHorz; }
    void SetOffsetHorz(float value);
    float GetOffsetVert() const { return FOffsetVert; }
    void SetOffsetVert(float value);
    // The bitmap's own pixel-combine event; setting it repaints.
    const TPixelCombineEvent &GetOnBitmapPixelCombine() const { return FBitmap->OnPixelCombine; }
    void SetOnBitmapPixelCombine(TPixelCombineEvent value);
    void SetRepaintMode(TRepaintMode value) override;

    // Sizes the bitmap to the viewport (clearing it to clearColor when doClear) and repaints.
    virtual void SetupBitmap(bool doClear = false, TColor32 clearColor = 0xFF000000u);
    virtual void BeginUpdate();
    virtual void Changed();
    // An unpaired call throws EBitmapException "Unpaired EndUpdate call".
    virtual void EndUpdate();
    virtual void Update(const TRect &rect);
    void Invalidate();
    void Repaint();

    virtual TRect GetBitmapRect() const;
    virtual TSize GetBitmapSize() const;
    TPoint BitmapToControl(const TPoint &p);
    TFloatPoint BitmapToControl(const TFloatPoint &p);
    TPoint ControlToBitmap(const TPoint &p);
    TFloatPoint ControlToBitmap(const TFloatPoint &p);
    // Renders the run-time stages into dest with the bitmap placed in destRect.
    virtual void PaintTo(TBitmap32 *dest, const TRect &destRect);
    bool GetPaintToMode() const { return PaintToMode; }

    TPaintStageEvent OnPaintStage;
    TImageNotifyEvent OnBitmapResize;
    TImageNotifyEvent OnChange;
    TImageNotifyEvent OnInitStages;
    TImageNotifyEvent OnScaleChange;
    // These hide the control's plain mouse events: they report the layer under the mouse.
    TImgMouseEvent OnMouseDown;
    TImgMouseMoveEvent OnMouseMove;
    TImgMouseEvent OnMouseUp;

protected:
    void Resize() override;
    void PaintBuffer() override;
    bool InvalidRectsReady() override;
    void PaintGDIOverlay() override;
    void DoMouseLeave() override;
    void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;
    void MouseMove(ui::TShiftState shift, int32_t x, int32_t y) override;
    void MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;
    void DblClick() override;
    void AdjustSize() override;

    virtual void BitmapSizeChanged();
    virtual void BitmapContentChanged(const TRect &area);
    virtual void InitStages();
    virtual void ScaleChanged();
    virtual void AddDefaultStages();
    virtual void RefreshCache();
    virtual void ExecBitmapFrame(TBitmap32 &dest, int32_t stageNum);
    virtual void ExecClearBuffer(TBitmap32 &dest, int32_t stageNum);
    virtual void ExecClearBackgnd(TBitmap32 &dest, int32_t stageNum);
    virtual void ExecControlFrame(TBitmap32 &dest, int32_t stageNum);
    virtual void ExecCustom(TBitmap32 &dest, int32_t stageNum);
    virtual void ExecDrawBitmap(TBitmap32 &dest, int32_t stageNum);
    virtual void ExecDrawLayers(TBitmap32 &dest, int32_t stageNum);
    void DropCache();

    TRect CachedBitmapRect;
    float CachedShiftX = 0, CachedShiftY = 0;
    float CachedScaleX = 1, CachedScaleY = 1;
    float CachedRecScaleX = 1, CachedRecScaleY = 1;
    bool CacheValid = false;
    bool PaintToMode = false;

private:
    void ExecStage(uint32_t stage, TBitmap32 &dest, int32_t stageNum);
    void BitmapChangeNotify();
    void BitmapAreaNotify(const TRect &area, bool direct);
    TRect BitmapAreaToControl(const TRect &area);
    void ForEachTile(const TRect &r, const std::function<void(const TRect &)> &f) const;
    void SetScaleFields(float value, bool x, bool y);

    std::unique_ptr<TBitmap32> FBitmap;
    TBitmapAlign FBitmapAlign = baTopLeft;
    std::unique_ptr<TLayerCollection> FLayers;
    float FOffsetHorz = 0, FOffsetVert = 0;
    TPaintStages FPaintStages;
    float FScaleX = 1, FScaleY = 1;
    TScaleMode FScaleMode = smNormal;
    int32_t FUpdateCount = 0;
    bool FAutoSize = false;
};

// The image control as placed on forms.
class TImage32 : public TCustomImage32 {
public:
    using TCustomImage32::TCustomImage32;
};

} // namespace raster
