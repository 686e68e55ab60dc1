// Layers drawn over an image control's bitmap: collection, change reports, mouse dispatch.
#include "raster/controls/Raster_Layers.h"

#include "platform/rtl/Containers.h"

#include <algorithm>

namespace raster {

namespace {

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
    if (OnMouseMove) {
        OnMouseMove(this, shift, x, y);
    }
}

void TCustomLayer::HandleMouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                 int32_t y) {
    if (OnMouseUp) {
        OnMouseUp(this, button, shift, x, y);
    }
}

// ---- TLayerCollection ---------------------------------------------------------------------

TLayerCollection::TLayerCollection(void *owner) : FOwner(owner) {}

TLayerCollection::~TLayerCollection() {
    FUpdateCount = 1; // nothing is reported while the layers go
    OnListNotify = nullptr;
    Clear();
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
    while (!FItems.empty()) {
        std::unique_ptr<TCustomLayer> layer(FItems.back());
    }
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

} // namespace raster
