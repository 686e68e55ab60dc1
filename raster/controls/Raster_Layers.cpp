// Layers drawn over an image control's bitmap: collection, change reports, mouse dispatch,
// positioned and bitmap layers.
#include "raster/controls/Raster_Layers.h"

#include "raster/Raster_MicroTiles.h"
#include "raster/Raster_Resamplers.h"
#include "raster/controls/Raster_Image.h"

#include "platform/rtl/Containers.h"

#include <algorithm>
#include <cmath>

namespace raster {

namespace {

TCursor GScreenCursor = crDefault;

uint8_t ButtonBit(ui::TMouseButton button) {
    switch (button) {
    case ui::mbRight:
        return 1u << lsMouseRight;
    case ui::mbMiddle:
        return 1u << lsMouseMiddle;
    default:
        return 1u << lsMouseLeft;
    }
}

} // namespace

TCursor GetScreenCursor() {
    return GScreenCursor;
}

void SetScreenCursor(TCursor value) {
    GScreenCursor = value;
}

// ---- TCustomLayer -------------------------------------------------------------------------

TCustomLayer::TCustomLayer(TLayerCollection *layerCollection) {
    SetLayerCollection(layerCollection);
}

TCustomLayer::~TCustomLayer() {
    if (OnDestroy) {
        OnDestroy(this);
    }
    SetLayerCollection(nullptr);
}

TCustomLayer *TCustomLayer::NewLike(TLayerCollection *collection) const {
    return new TCustomLayer(collection); // owned by the collection it attached to
}

void TCustomLayer::Assign(const TCustomLayer &source) {
    BeginUpdate();
    FLayerOptions = (source.FLayerOptions & ~loInvalid) | (FLayerOptions & loInvalid);
    FCursor = source.FCursor;
    FTag = source.FTag;
    EndUpdate();
    Changed();
}

void TCustomLayer::SetCursor(TCursor value) {
    if (value == FCursor) {
        return;
    }
    FCursor = value;
    if (FLayerCollection != nullptr && FLayerCollection->FMouseListener == this) {
        SetScreenCursor(value);
    }
}

void TCustomLayer::SetAsMouseListener() {
    if (FLayerCollection != nullptr) {
        FLayerCollection->SetMouseListener(this);
    }
    SetScreenCursor(FCursor);
}

void TCustomLayer::SetLayerCollection(TLayerCollection *value) {
    if (value == FLayerCollection) {
        return;
    }
    if (FLayerCollection != nullptr) {
        if (FLayerCollection->FMouseListener == this) {
            FLayerCollection->SetMouseListener(nullptr);
        }
        FLayerCollection->DetachLayer(this);
    }
    if (value != nullptr) {
        value->AttachLayer(this);
    }
}

int32_t TCustomLayer::GetIndex() const {
    if (FLayerCollection == nullptr) {
        return -1;
    }
    const auto &items = FLayerCollection->FItems;
    const auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : int32_t(it - items.begin());
}

void TCustomLayer::SetIndex(int32_t value) {
    if (FLayerCollection == nullptr || value == GetIndex()) {
        return;
    }
    value = std::clamp(value, 0, FLayerCollection->GetCount() - 1);
    if (value == GetIndex()) {
        return;
    }
    if (GetVisible()) {
        FLayerCollection->BeginUpdate();
        FLayerCollection->MoveLayer(this, value);
        FLayerCollection->EndUpdate();
    } else {
        FLayerCollection->MoveLayer(this, value);
    }
}

void TCustomLayer::BringToFront() {
    if (FLayerCollection != nullptr) {
        SetIndex(FLayerCollection->GetCount());
    }
}

void TCustomLayer::SendToBack() {
    SetIndex(0);
}

void TCustomLayer::LayerChanging() {
    if (FUpdateCount <= 0 && GetVisible() && FLayerCollection != nullptr &&
        (FLayerOptions & loNoUpdate) == 0 && FLayerCollection->OnChanging) {
        FLayerCollection->OnChanging(FLayerCollection);
    }
}

void TCustomLayer::SetLayerOptions(uint32_t value) {
    LayerChanging();
    FLayerOptions = value;
    Changed();
}

void TCustomLayer::SetVisible(bool value) {
    if (value) {
        SetLayerOptions(FLayerOptions | loVisible);
        return;
    }
    SetForceUpdateFlag(true);
    SetLayerOptions(FLayerOptions & ~loVisible);
    SetForceUpdateFlag(false);
}

void TCustomLayer::SetMouseEvents(bool value) {
    SetLayerOptions(value ? FLayerOptions | loMouseEvents : FLayerOptions & ~loMouseEvents);
}

void TCustomLayer::SetInvalidFlag(bool flag) {
    FLayerOptions = flag ? FLayerOptions | loInvalid : FLayerOptions & ~loInvalid;
}

void TCustomLayer::SetForceUpdateFlag(bool flag) {
    FLayerOptions = flag ? FLayerOptions | loForceUpdate : FLayerOptions & ~loForceUpdate;
}

void TCustomLayer::Changed() {
    if (FUpdateCount > 0 || FLayerCollection == nullptr || (FLayerOptions & loNoUpdate) != 0) {
        return;
    }
    Update();
    if (GetVisible()) {
        FLayerCollection->Changed();
    } else if ((FLayerOptions & loGDIOverlay) != 0) {
        FLayerCollection->NotifyGDIUpdate();
    }
    TNotifiablePersistent::Changed();
}

void TCustomLayer::Changed(const TRect &rect) {
    if (FUpdateCount > 0 || FLayerCollection == nullptr || (FLayerOptions & loNoUpdate) != 0) {
        return;
    }
    Update(rect);
    if (GetVisible()) {
        FLayerCollection->Changed();
    } else if ((FLayerOptions & loGDIOverlay) != 0) {
        FLayerCollection->NotifyGDIUpdate();
    }
    TNotifiablePersistent::Changed();
}

void TCustomLayer::Update() {
    if (FLayerCollection != nullptr && (FLayerOptions & (loVisible | loForceUpdate)) != 0) {
        FLayerCollection->LayerUpdated(this);
    }
}

void TCustomLayer::Update(const TRect &rect) {
    if (FLayerCollection != nullptr) {
        FLayerCollection->AreaUpdated(rect);
    }
}

bool TCustomLayer::HitTest(int32_t x, int32_t y) {
    bool passed = HitTestPoint(x, y);
    if (OnHitTest) {
        OnHitTest(this, x, y, passed);
    }
    return passed;
}

void TCustomLayer::RenderLayer(TBitmap32 &buffer) {
    PaintOn(buffer);
    if (OnPaint) {
        OnPaint(this, &buffer);
    }
}

void TCustomLayer::HandleMouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                   int32_t y) {
    if (OnMouseDown) {
        OnMouseDown(this, button, shift, x, y);
    }
}

void TCustomLayer::HandleMouseMove(ui::TShiftState shift, int32_t x, int32_t y) {
    SetScreenCursor(FCursor);
    if (OnMouseMove) {
        OnMouseMove(this, shift, x, y);
    }
}

void TCustomLayer::HandleMouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                 int32_t y) {
    SetScreenCursor(crDefault);
    if (OnMouseUp) {
        OnMouseUp(this, button, shift, x, y);
    }
}

// ---- TLayerCollection ---------------------------------------------------------------------

TLayerCollection::TLayerCollection(ui::TControl *owner) : FOwner(owner) {}

TLayerCollection::~TLayerCollection() {
    FUpdateCount = 1; // nothing is reported while the layers go
    OnListNotify = nullptr;
    Clear();
}

void TLayerCollection::SetItem(int32_t index, const TCustomLayer &value) {
    GetItem(index)->Assign(value);
}

void TLayerCollection::FreeLayers() {
    while (!FItems.empty()) {
        std::unique_ptr<TCustomLayer> layer(FItems.back()); // detaches itself when freed
    }
}

void TLayerCollection::Assign(const TLayerCollection &source) {
    if (&source == this) {
        return;
    }
    BeginUpdate();
    FreeLayers();
    for (const TCustomLayer *s : source.FItems) {
        TCustomLayer *layer = s->NewLike(this);
        NotifyList(lnLayerAdded, layer, layer->GetIndex());
        layer->Assign(*s);
    }
    EndUpdate();
}

TCustomLayer *TLayerCollection::GetItem(int32_t index) const {
    if (index < 0 || index >= GetCount()) {
        rtl::detail::TClassicListErrors::Index(index);
    }
    return FItems[size_t(index)];
}

void TLayerCollection::Delete(int32_t index) {
    std::unique_ptr<TCustomLayer> layer(GetItem(index)); // detaches itself when freed
}

void TLayerCollection::Clear() {
    BeginUpdate();
    FreeLayers();
    NotifyList(lnCleared, nullptr, 0);
    EndUpdate();
}

void TLayerCollection::BeginUpdate() {
    if (FUpdateCount == 0 && OnChanging) {
        OnChanging(this);
    }
    ++FUpdateCount;
}

void TLayerCollection::EndUpdate() {
    if (FUpdateCount <= 0) {
        throw EBitmapException("Unpaired EndUpdate");
    }
    if (--FUpdateCount == 0) {
        Changed();
    }
}

void TLayerCollection::Changed() {
    if (FUpdateCount == 0 && OnChange) {
        OnChange(this);
    }
}

void TLayerCollection::SetMouseEvents(bool value) {
    FMouseEvents = value;
    SetMouseListener(nullptr);
}

void TLayerCollection::SetMouseListener(TCustomLayer *value) {
    if (value == FMouseListener) {
        return;
    }
    if (FMouseListener != nullptr) {
        FMouseListener->FLayerStates = 0;
    }
    FMouseListener = value;
}

void TLayerCollection::AttachLayer(TCustomLayer *layer) {
    BeginUpdate();
    FItems.push_back(layer);
    layer->FLayerCollection = this;
    NotifyList(lnLayerAdded, layer, GetCount() - 1);
    EndUpdate();
}

void TLayerCollection::DetachLayer(TCustomLayer *layer) {
    const auto it = std::find(FItems.begin(), FItems.end(), layer);
    if (it == FItems.end()) {
        return;
    }
    BeginUpdate();
    const int32_t index = int32_t(it - FItems.begin());
    FItems.erase(it);
    layer->FLayerCollection = nullptr;
    NotifyList(lnLayerDeleted, layer, index);
    EndUpdate();
}

void TLayerCollection::MoveLayer(TCustomLayer *layer, int32_t index) {
    FItems.erase(std::find(FItems.begin(), FItems.end(), layer));
    FItems.insert(FItems.begin() + index, layer);
}

void TLayerCollection::NotifyList(TLayerListNotification action, TCustomLayer *layer,
                                  int32_t index) {
    if (OnListNotify) {
        OnListNotify(this, action, layer, index);
    }
}

void TLayerCollection::NotifyGDIUpdate() {
    if (FUpdateCount == 0 && OnGDIUpdate) {
        OnGDIUpdate(this);
    }
}

void TLayerCollection::AreaUpdated(const TRect &rect) {
    if (OnAreaUpdated) {
        OnAreaUpdated(this, rect, AreaInfoRect);
    }
    Changed();
}

void TLayerCollection::LayerUpdated(TCustomLayer *layer) {
    if (OnLayerUpdated) {
        OnLayerUpdated(this, layer);
    }
    Changed();
}

void TLayerCollection::GetViewportScale(float &scaleX, float &scaleY) const {
    scaleX = 1;
    scaleY = 1;
    if (OnGetViewportScale) {
        OnGetViewportScale(scaleX, scaleY);
    }
}

void TLayerCollection::GetViewportShift(float &shiftX, float &shiftY) const {
    shiftX = 0;
    shiftY = 0;
    if (OnGetViewportShift) {
        OnGetViewportShift(shiftX, shiftY);
    }
}

TFloatPoint TLayerCollection::LocalToViewport(const TFloatPoint &p, bool scaled) const {
    if (!scaled) {
        return p;
    }
    float sx, sy, hx, hy;
    GetViewportScale(sx, sy);
    GetViewportShift(hx, hy);
    return {p.X * sx + hx, p.Y * sy + hy};
}

TFloatPoint TLayerCollection::ViewportToLocal(const TFloatPoint &p, bool scaled) const {
    if (!scaled) {
        return p;
    }
    float sx, sy, hx, hy;
    GetViewportScale(sx, sy);
    GetViewportShift(hx, hy);
    return {(p.X - hx) / sx, (p.Y - hy) / sy};
}

void TLayerCollection::ShowOwnerCursor() {
    if (auto *box = dynamic_cast<TCustomPaintBox32 *>(FOwner)) {
        SetScreenCursor(box->GetCursor());
    }
}

TCustomLayer *TLayerCollection::LayerAt(int32_t x, int32_t y, uint32_t optionsMask) const {
    for (auto it = FItems.rbegin(); it != FItems.rend(); ++it) {
        if (((*it)->GetLayerOptions() & optionsMask) != 0 && (*it)->HitTest(x, y)) {
            return *it;
        }
    }
    return nullptr;
}

TCustomLayer *TLayerCollection::DispatchMouseDown(ui::TMouseButton button, ui::TShiftState shift,
                                                  int32_t x, int32_t y) {
    TCustomLayer *layer = FMouseListener ? FMouseListener : LayerAt(x, y, loMouseEvents);
    if (layer != FMouseListener &&
        (layer == nullptr || (layer->GetLayerOptions() & loNoCapture) == 0)) {
        SetMouseListener(layer);
    }
    if (FMouseListener != nullptr) {
        FMouseListener->FLayerStates |= ButtonBit(button);
        FMouseListener->HandleMouseDown(button, shift, x, y);
    }
    return layer;
}

TCustomLayer *TLayerCollection::DispatchMouseMove(ui::TShiftState shift, int32_t x, int32_t y) {
    TCustomLayer *layer = FMouseListener ? FMouseListener : LayerAt(x, y, loMouseEvents);
    if (layer != nullptr) {
        layer->HandleMouseMove(shift, x, y);
    } else {
        ShowOwnerCursor();
    }
    return layer;
}

TCustomLayer *TLayerCollection::DispatchMouseUp(ui::TMouseButton button, ui::TShiftState shift,
                                                int32_t x, int32_t y) {
    TCustomLayer *layer = FMouseListener ? FMouseListener : LayerAt(x, y, loMouseEvents);
    if (layer != nullptr) {
        layer->FLayerStates &= uint8_t(~ButtonBit(button));
        layer->HandleMouseUp(button, shift, x, y);
    }
    if (FMouseListener != nullptr && FMouseListener->FLayerStates == 0) {
        SetMouseListener(nullptr);
    }
    return layer;
}

// ---- TPositionedLayer ---------------------------------------------------------------------

TPositionedLayer::TPositionedLayer(TLayerCollection *layerCollection)
    : TCustomLayer(layerCollection) {
    FLayerOptions = loVisible | loMouseEvents;
}

TCustomLayer *TPositionedLayer::NewLike(TLayerCollection *collection) const {
    return new TPositionedLayer(collection); // owned by the collection it attached to
}

void TPositionedLayer::Assign(const TCustomLayer &source) {
    if (const auto *p = dynamic_cast<const TPositionedLayer *>(&source)) {
        FLocation = p->FLocation;
        FScaled = p->FScaled;
    }
    TCustomLayer::Assign(source);
}

TFloatRect TPositionedLayer::GetAdjustedRect(const TFloatRect &r) const {
    if (!FScaled || FLayerCollection == nullptr) {
        return r;
    }
    float sx, sy, hx, hy;
    FLayerCollection->GetViewportScale(sx, sy);
    FLayerCollection->GetViewportShift(hx, hy);
    return {r.Left * sx + hx, r.Top * sy + hy, r.Right * sx + hx, r.Bottom * sy + hy};
}

bool TPositionedLayer::HitTestPoint(int32_t x, int32_t y) {
    const TFloatRect r = GetAdjustedLocation();
    return float(x) >= r.Left && float(x) < r.Right && float(y) >= r.Top && float(y) < r.Bottom;
}

void TPositionedLayer::SetLocation(const TFloatRect &value) {
    LayerChanging();
    StoreLocation(value);
    Changed();
}

void TPositionedLayer::SetScaled(bool value) {
    if (value != FScaled) {
        LayerChanging();
        FScaled = value;
        Changed();
    }
}

// ---- TBitmapLayer -------------------------------------------------------------------------

TBitmapLayer::TBitmapLayer(TLayerCollection *layerCollection)
    : TPositionedLayer(layerCollection), FBitmap(std::make_unique<TBitmap32>()) {
    FBitmap->OnAreaChanged = [this](TCustomBitmap32 *, const TRect &area, uint32_t) {
        BitmapAreaChanged(area);
    };
}

TBitmapLayer::~TBitmapLayer() {
    FBitmap->OnAreaChanged = nullptr;
}

TCustomLayer *TBitmapLayer::NewLike(TLayerCollection *collection) const {
    return new TBitmapLayer(collection); // owned by the collection it attached to
}

void TBitmapLayer::Assign(const TCustomLayer &source) {
    if (const auto *b = dynamic_cast<const TBitmapLayer *>(&source)) {
        BeginUpdate();
        FBitmap->Assign(b->FBitmap.get());
        FAlphaHit = b->FAlphaHit;
        FCropped = b->FCropped;
        EndUpdate();
    }
    TPositionedLayer::Assign(source);
}

void TBitmapLayer::SetCropped(bool value) {
    if (value != FCropped) {
        FCropped = value;
        Changed();
    }
}

bool TBitmapLayer::HitTestPoint(int32_t x, int32_t y) {
    if (!TPositionedLayer::HitTestPoint(x, y)) {
        return false;
    }
    if (!FAlphaHit) {
        return true;
    }
    const TFloatRect r = GetAdjustedLocation();
    const int32_t w = Round(r.Right - r.Left), h = Round(r.Bottom - r.Top);
    if (w < 1 || h < 1) {
        return false;
    }
    const int32_t bx = Round((x - r.Left) * double(FBitmap->GetWidth()) / w);
    const int32_t by = Round((y - r.Top) * double(FBitmap->GetHeight()) / h);
    return (FBitmap->GetPixelS(bx, by) >> 24) != 0;
}

void TBitmapLayer::PaintOn(TBitmap32 &buffer) {
    if (FBitmap->Empty()) {
        return;
    }
    const TFloatRect loc = GetAdjustedLocation();
    const TRect dstRect = MakeRectRounded(loc);
    TRect clip = buffer.GetClipRect(), test;
    IntersectRects(test, clip, dstRect);
    if (RectIsEmpty(test)) {
        return;
    }
    const auto *image = FLayerCollection != nullptr
                            ? dynamic_cast<const TCustomImage32 *>(FLayerCollection->GetOwner())
                            : nullptr;
    if (FCropped && image != nullptr && !image->GetPaintToMode()) {
        if (loc.Right - loc.Left < 0.5f || loc.Bottom - loc.Top < 0.5f) {
            return;
        }
        IntersectRects(clip, clip, image->GetBitmapRect());
    }
    TransferStretched(&buffer, dstRect, clip, FBitmap.get(), FBitmap->BoundsRect(),
                      FBitmap->GetResampler(), FBitmap->GetDrawMode(), FBitmap->OnPixelCombine);
}

void TBitmapLayer::BitmapAreaChanged(const TRect &area) {
    if (FBitmap->Empty() || FLayerCollection == nullptr || (FLayerOptions & loNoUpdate) != 0) {
        return;
    }
    const TFloatRect t = GetAdjustedLocation();
    const double sx = (t.Right - t.Left) / double(FBitmap->GetWidth());
    const double sy = (t.Bottom - t.Top) / double(FBitmap->GetHeight());
    TRect r{
        int32_t(std::floor(t.Left + area.Left * sx)), int32_t(std::floor(area.Top * sy + t.Top)),
        int32_t(std::ceil(area.Right * sx + t.Left)), int32_t(std::ceil(area.Bottom * sy + t.Top))};
    const TCustomResampler *resampler = FBitmap->GetResampler();
    const int32_t w = (resampler != nullptr ? int32_t(resampler->GetWidth()) : 0) + 1;
    GrowArea(r, w, w);
    Changed(r);
}

} // namespace raster
