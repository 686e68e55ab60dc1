// The paint box: back buffer sizing, repaint modes and copying the buffer to the window.
#include "raster/controls/Raster_Image.h"

#include "raster/Raster_Backends.h"

#include "platform/gfx/Graphics.h"

#include <algorithm>

namespace raster {

namespace {

// Holds a bitmap's lock for a scope, released also when a step raises.
class TLockGuard {
public:
    explicit TLockGuard(TThreadPersistent &object) : FObject(object) { FObject.Lock(); }
    ~TLockGuard() { FObject.Unlock(); }
    TLockGuard(const TLockGuard &) = delete;
    TLockGuard &operator=(const TLockGuard &) = delete;

private:
    TThreadPersistent &FObject;
};

// The new buffer extent for a viewport extent: grow with slack, shrink only when the viewport
// became more than the slack smaller.
int32_t BufferExtent(int32_t current, int32_t viewport, int32_t oversize) {
    int32_t w = current;
    if (w < viewport) {
        w = viewport + oversize;
    } else if (viewport < w - oversize) {
        w = viewport;
    }
    return std::max(w, 1);
}

} // namespace

TCustomPaintBox32::TCustomPaintBox32(ui::TComponent *owner)
    : ui::TCustomControl(owner), FBuffer(std::make_unique<TBitmap32>()) {
    FRepaintOptimizer =
        std::make_unique<TMicroTilesRepaintOptimizer>(FBuffer.get(), &FInvalidRects);
    SetBounds(GetLeft(), GetTop(), 192, 192);
    AdjustBufferSize();
}

TCustomPaintBox32::~TCustomPaintBox32() {
    FBuffer->OnAreaChanged = nullptr;
    FRepaintOptimizer.reset();
}

TRect TCustomPaintBox32::GetViewportRect() const {
    return {0, 0, GetWidth(), GetHeight()};
}

void TCustomPaintBox32::Invalidate() {
    FBufferValid = false;
    ui::TControl::Invalidate();
}

void TCustomPaintBox32::Repaint() {
    Invalidate();
    ui::TControl::Update();
}

void TCustomPaintBox32::ForceFullInvalidate() {
    if (FRepaintOptimizer->GetEnabled()) {
        FRepaintOptimizer->Reset();
    }
    FForceFullRepaint = true;
    Invalidate();
}

void TCustomPaintBox32::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    ui::TCustomControl::SetBounds(left, top, width, height);
    FBufferValid = false;
}

void TCustomPaintBox32::Resize() {
    AdjustBufferSize();
    FBufferValid = false;
    ui::TCustomControl::Resize();
}

void TCustomPaintBox32::ColorChanged() {
    FBufferValid = false;
    ui::TCustomControl::ColorChanged();
}

void TCustomPaintBox32::SetBufferOversize(int32_t value) {
    value = std::max(value, 0);
    if (value != FBufferOversize) {
        FBufferOversize = value;
        AdjustBufferSize();
        FBufferValid = false;
    }
}

void TCustomPaintBox32::AdjustBufferSize() {
    if (!FBuffer) {
        return; // the base class sizes the control before the buffer exists
    }
    const TRect vp = GetViewportRect();
    const int32_t w = BufferExtent(FBuffer->GetWidth(), std::max(vp.Width(), 0), FBufferOversize);
    const int32_t h = BufferExtent(FBuffer->GetHeight(), std::max(vp.Height(), 0), FBufferOversize);
    if (w == FBuffer->GetWidth() && h == FBuffer->GetHeight()) {
        return;
    }
    const int32_t oldWidth = FBuffer->GetWidth();
    const int32_t oldHeight = FBuffer->GetHeight();
    {
        TLockGuard lock(*FBuffer);
        FBuffer->SetSize(w, h);
    }
    BufferResized(oldWidth, oldHeight);
    ForceFullInvalidate();
}

void TCustomPaintBox32::BufferResized(int32_t, int32_t) {
    if (FRepaintOptimizer->GetEnabled()) {
        FRepaintOptimizer->BufferResizedHandler(FBuffer->GetWidth(), FBuffer->GetHeight());
    }
}

void TCustomPaintBox32::Flush() {
    if (FBuffer->Empty()) {
        return;
    }
    TLockGuard lock(*FBuffer);
    const TRect vp = GetViewportRect();
    GetCanvas().DrawPixels32(vp, FBuffer->GetBits(), FBuffer->GetWidth(), FBuffer->GetHeight(),
                             FBuffer->GetWidth() * 4, gfx::Rect(0, 0, vp.Width(), vp.Height()));
}

void TCustomPaintBox32::Flush(const TRect &srcRect) {
    if (FBuffer->Empty()) {
        return;
    }
    TLockGuard lock(*FBuffer);
    const TRect vp = GetViewportRect();
    TRect dst = srcRect;
    MoveRect(dst, vp.Left, vp.Top);
    GetCanvas().DrawPixels32(dst, FBuffer->GetBits(), FBuffer->GetWidth(), FBuffer->GetHeight(),
                             FBuffer->GetWidth() * 4, srcRect);
}

void TCustomPaintBox32::AssignTo(TCustomPaintBox32 &dest) const {
    dest.FBuffer->Assign(FBuffer.get());
    dest.FBufferOversize = FBufferOversize;
    dest.FBufferValid = FBufferValid;
    dest.FRepaintMode = FRepaintMode;
    dest.FForceFullRepaint = FForceFullRepaint;
    dest.FOptions = FOptions;
    dest.OnGDIOverlay = OnGDIOverlay;
    dest.OnMouseEnter = OnMouseEnter;
    dest.OnMouseLeave = OnMouseLeave;
}

bool TCustomPaintBox32::OptimizedRepaintDue() const {
    return FRepaintOptimizer->GetEnabled() && !FForceFullRepaint &&
           FRepaintOptimizer->UpdatesAvailable();
}

void TCustomPaintBox32::PrepareInvalidRects() {
    if (FRepaintOptimizer->GetEnabled() && !FForceFullRepaint) {
        FRepaintOptimizer->PerformOptimization();
    }
}

void TCustomPaintBox32::PaintBuffer() {
    if (FForceFullRepaint) {
        FForceFullRepaint = false;
        FInvalidRects.Clear();
    } else {
        PrepareInvalidRects();
    }
    FBufferValid = true;
}

void TCustomPaintBox32::PaintGDIOverlay() {
    if (OnGDIOverlay) {
        OnGDIOverlay(this);
    }
}

// Through the buffer's paint support; a buffer without it is copied here the same way.
void TCustomPaintBox32::CopyBufferToCanvas(IPaintSupport *paint) {
    TLockGuard lock(*FBuffer);
    if (paint != nullptr) {
        paint->DoPaint(*FBuffer, FInvalidRects, GetCanvas(), GetViewportRect());
        return;
    }
    if (FInvalidRects.GetCount() == 0) {
        Flush();
        return;
    }
    for (int32_t i = 0; i < FInvalidRects.GetCount(); ++i) {
        Flush(*FInvalidRects.Get(i));
    }
}

void TCustomPaintBox32::Paint() {
    if (GetParent() == nullptr) {
        return;
    }
    struct TPaintingFlag {
        bool &flag;
        explicit TPaintingFlag(bool &f) : flag(f) { flag = true; }
        ~TPaintingFlag() { flag = false; }
    } painting(FPainting);
    TCustomRepaintOptimizer &opt = *FRepaintOptimizer;
    if (opt.GetEnabled()) {
        opt.BeginPaint();
    }
    IPaintSupport *paint = dynamic_cast<IPaintSupport *>(FBuffer->GetBackend());
    if (!FBufferValid) {
        if (paint != nullptr) {
            paint->ImageNeeded();
        }
        PaintBuffer();
        if (paint != nullptr) {
            paint->CheckPixmap();
        }
    }
    CopyBufferToCanvas(paint);
    PaintGDIOverlay();
    if (opt.GetEnabled()) {
        opt.EndPaint();
    }
    FInvalidRects.Clear();
    FForceFullRepaint = false;
}

void TCustomPaintBox32::SetRepaintMode(TRepaintMode value) {
    if (!FRepaintOptimizer) {
        return;
    }
    switch (value) {
    case rmOptimizer:
        if (dynamic_cast<TCustomImage32 *>(this) != nullptr) {
            FBuffer->OnAreaChanged = nullptr; // the image control wires its bitmap instead
        } else {
            FBuffer->OnAreaChanged = [this](TCustomBitmap32 *, const TRect &area, uint32_t info) {
                FRepaintOptimizer->AreaUpdateHandler(area, info);
            };
        }
        break;
    case rmDirect:
        FBuffer->OnAreaChanged = [this](TCustomBitmap32 *, const TRect &area, uint32_t) {
            DirectAreaChanged(area);
        };
        break;
    default:
        FBuffer->OnAreaChanged = nullptr;
        break;
    }
    FRepaintOptimizer->SetEnabled(value == rmOptimizer);
    FRepaintMode = value;
    Invalidate();
}

void TCustomPaintBox32::DirectAreaChanged(const TRect &area) {
    FInvalidRects.Add(area);
    if (!FPainting) {
        Repaint();
    }
}

void TCustomPaintBox32::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                  int32_t y) {
    if ((FOptions & pboAutoFocus) != 0 && CanFocus()) {
        SetFocus();
    }
    ui::TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomPaintBox32::DoMouseEnter() {
    FMouseInControl = true;
    if (OnMouseEnter) {
        OnMouseEnter(this);
    }
}

void TCustomPaintBox32::DoMouseLeave() {
    FMouseInControl = false;
    if (OnMouseLeave) {
        OnMouseLeave(this);
    }
}

void TCustomPaintBox32::Dispatch(ui::TMessage &message) {
    switch (message.Msg) {
    case ui::WM_ERASEBKGND:
        message.Result = 1; // the buffer covers the whole control
        return;
    case ui::WM_GETDLGCODE:
        message.Result = (FOptions & pboWantArrowKeys) != 0 ? (message.Result | DLGC_WANTARROWS)
                                                            : (message.Result & ~DLGC_WANTARROWS);
        return;
    case ui::WM_PAINT:
        // With collected updates only their rectangles are rendered and copied; when none are
        // ready the whole viewport is.
        if (OptimizedRepaintDue()) {
            InvalidRectsReady();
        }
        ui::TCustomControl::Dispatch(message);
        return;
    case ui::CM_MOUSEENTER:
        DoMouseEnter();
        return;
    case ui::CM_MOUSELEAVE:
        DoMouseLeave();
        return;
    default:
        ui::TCustomControl::Dispatch(message);
    }
}

// ---- Paint stages -------------------------------------------------------------------------

TPaintStage *TPaintStages::Add() {
    FItems.emplace_back();
    return &FItems.back();
}

TPaintStage *TPaintStages::Insert(int32_t index) {
    index = std::clamp(index, 0, Count());
    return &*FItems.insert(FItems.begin() + index, TPaintStage{});
}

void TPaintStages::Delete(int32_t index) {
    if (index < 0 || index >= Count()) {
        throw rtl::EListError("Invalid stage index");
    }
    FItems.erase(FItems.begin() + index);
}

} // namespace raster
