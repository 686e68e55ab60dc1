// Layers drawn over an image control's bitmap: the owning layer collection with its change
// reports and mouse dispatch; the base layer with options, hit test and painting hooks; the
// positioned layer (a floating-point location, optionally in bitmap coordinates) and the bitmap
// layer (a bitmap stretched into that location).
#pragma once

#include "raster/Raster.h"

#include "platform/ui/Messages.h"

#include <functional>
#include <memory>
#include <vector>

namespace gfx {
class TCanvas;
}
namespace ui {
class TControl;
}

namespace raster {

// Layer option bits.
constexpr uint32_t loVisible = 0x80000000u;
constexpr uint32_t loGDIOverlay = 0x40000000u;
constexpr uint32_t loMouseEvents = 0x20000000u;
constexpr uint32_t loNoUpdate = 0x10000000u;
constexpr uint32_t loNoCapture = 0x08000000u;
constexpr uint32_t loInvalid = 0x04000000u;
constexpr uint32_t loForceUpdate = 0x02000000u;

// Mouse buttons held on a layer: bit 0 left, bit 1 right, bit 2 middle.
enum TLayerState : uint8_t { lsMouseLeft, lsMouseRight, lsMouseMiddle };
enum TLayerListNotification : uint8_t { lnLayerAdded, lnLayerInserted, lnLayerDeleted, lnCleared };

// Cursor numbers of the class library (crDefault = 0, crArrow = -2, crCross = -3, ...).
using TCursor = int16_t;
constexpr TCursor crDefault = 0;

// The cursor the layers ask the screen to show while the mouse is over them. The platform layer
// has no screen cursor yet: the value is kept here for it to apply.
TCursor GetScreenCursor();
void SetScreenCursor(TCursor value);

class TLayerCollection;
class TCustomLayer;

using TLayerListNotifyEvent = std::function<void(
    TLayerCollection *sender, TLayerListNotification action, TCustomLayer *layer, int32_t index)>;
using TLayerUpdateEvent = std::function<void(TLayerCollection *sender, TCustomLayer *layer)>;
using TLayerAreaEvent =
    std::function<void(TLayerCollection *sender, const TRect &area, uint32_t info)>;
using TGetScaleEvent = std::function<void(float &scaleX, float &scaleY)>;
using TGetShiftEvent = std::function<void(float &shiftX, float &shiftY)>;
using THitTestEvent = std::function<void(TCustomLayer *sender, int32_t x, int32_t y, bool &passed)>;
using TPaintLayerEvent = std::function<void(TCustomLayer *sender, TBitmap32 *buffer)>;
using TLayerMouseEvent = std::function<void(TCustomLayer *sender, ui::TMouseButton button,
                                            ui::TShiftState shift, int32_t x, int32_t y)>;
using TLayerMouseMoveEvent =
    std::function<void(TCustomLayer *sender, ui::TShiftState shift, int32_t x, int32_t y)>;
using TLayerNotifyEvent = std::function<void(TCustomLayer *sender)>;

// A layer belongs to at most one collection, which owns it: creating a layer with a collection
// attaches it, destroying it detaches it. Its changes are reported to the collection unless
// it carries loNoUpdate.
class TCustomLayer : public TNotifiablePersistent {
public:
    explicit TCustomLayer(TLayerCollection *layerCollection);
    ~TCustomLayer() override;
    TCustomLayer(const TCustomLayer &) = delete;
    TCustomLayer &operator=(const TCustomLayer &) = delete;

    // A new layer of this layer's class in collection (descendants that add state override
    // it, and Assign, so that a collection can copy them).
    virtual TCustomLayer *NewLike(TLayerCollection *collection) const;
    // Copies options, cursor and tag (and a descendant's own settings), then Changed.
    virtual void Assign(const TCustomLayer &source);

    uint32_t GetLayerOptions() const { return FLayerOptions; }
    void SetLayerOptions(uint32_t value);
    bool GetVisible() const { return (FLayerOptions & loVisible) != 0; }
    // Hiding is reported once although the layer is invisible afterwards.
    void SetVisible(bool value);
    bool GetMouseEvents() const { return (FLayerOptions & loMouseEvents) != 0; }
    void SetMouseEvents(bool value);
    uint8_t GetLayerStates() const { return FLayerStates; }
    int32_t GetTag() const { return FTag; }
    void SetTag(int32_t value) { FTag = value; }
    TCursor GetCursor() const { return FCursor; }
    // The screen follows a new cursor while this layer is the mouse listener.
    void SetCursor(TCursor value);
    // Becomes the collection's mouse listener and shows its cursor.
    void SetAsMouseListener();

    TLayerCollection *GetLayerCollection() const { return FLayerCollection; }
    void SetLayerCollection(TLayerCollection *value);
    // Position in the collection, -1 without one; SetIndex clamps into the list.
    int32_t GetIndex() const;
    void SetIndex(int32_t value);
    void BringToFront();
    void SendToBack();

    bool HitTest(int32_t x, int32_t y);
    void RenderLayer(TBitmap32 &buffer);
    // Painting on the window canvas after the buffer copy (loGDIOverlay layers).
    virtual void PaintOnCanvas(gfx::TCanvas &canvas) { (void)canvas; }

    void Changed() override;
    void Changed(const TRect &rect);
    void Update();
    void Update(const TRect &rect);

    bool GetInvalidFlag() const { return (FLayerOptions & loInvalid) != 0; }
    void SetInvalidFlag(bool flag);
    void SetForceUpdateFlag(bool flag);

    THitTestEvent OnHitTest;
    TPaintLayerEvent OnPaint;
    TLayerMouseEvent OnMouseDown;
    TLayerMouseMoveEvent OnMouseMove;
    TLayerMouseEvent OnMouseUp;
    TLayerNotifyEvent OnDestroy;

protected:
    friend class TLayerCollection;
    virtual bool HitTestPoint(int32_t x, int32_t y) {
        (void)x;
        (void)y;
        return true;
    }
    virtual void HandleMouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                 int32_t y);
    virtual void HandleMouseMove(ui::TShiftState shift, int32_t x, int32_t y);
    virtual void HandleMouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                               int32_t y);
    virtual void PaintOn(TBitmap32 &buffer) { (void)buffer; }
    void LayerChanging();

    TLayerCollection *FLayerCollection = nullptr;
    uint8_t FLayerStates = 0;
    uint32_t FLayerOptions = loVisible;
    TCursor FCursor = crDefault;
    int32_t FTag = 0;
};

// A layer at a floating-point location (0, 0, 64, 64 after creation); a scaled layer's location
// is in bitmap coordinates and follows the image control's scale and shift.
class TPositionedLayer : public TCustomLayer {
public:
    explicit TPositionedLayer(TLayerCollection *layerCollection);
    TCustomLayer *NewLike(TLayerCollection *collection) const override;
    void Assign(const TCustomLayer &source) override;

    const TFloatRect &GetLocation() const { return FLocation; }
    void SetLocation(const TFloatRect &value);
    bool GetScaled() const { return FScaled; }
    void SetScaled(bool value);
    // The rectangle in the control's coordinates (mapped by the viewport when scaled).
    TFloatRect GetAdjustedRect(const TFloatRect &r) const;
    TFloatRect GetAdjustedLocation() const { return GetAdjustedRect(FLocation); }

protected:
    // Inside the adjusted location, left and top edges included.
    bool HitTestPoint(int32_t x, int32_t y) override;
    virtual void StoreLocation(const TFloatRect &value) { FLocation = value; }

    TFloatRect FLocation{0, 0, 64, 64};
    bool FScaled = false;
};

// A bitmap (owned) stretched into the layer's location with its own resampler, draw mode and
// pixel-combine event. With AlphaHit a hit needs a pixel of non-zero alpha under the mouse;
// Cropped keeps the painting inside the image control's bitmap rectangle.
class TBitmapLayer : public TPositionedLayer {
public:
    explicit TBitmapLayer(TLayerCollection *layerCollection);
    ~TBitmapLayer() override;
    TCustomLayer *NewLike(TLayerCollection *collection) const override;
    void Assign(const TCustomLayer &source) override;

    TBitmap32 &GetBitmap() const { return *FBitmap; }
    // Copies the bitmap.
    void SetBitmap(const TBitmap32 *value) { FBitmap->Assign(value); }
    bool GetAlphaHit() const { return FAlphaHit; }
    void SetAlphaHit(bool value) { FAlphaHit = value; }
    bool GetCropped() const { return FCropped; }
    void SetCropped(bool value);

protected:
    bool HitTestPoint(int32_t x, int32_t y) override;
    void PaintOn(TBitmap32 &buffer) override;

private:
    // A change of the bitmap becomes a change of the area it covers in the control.
    void BitmapAreaChanged(const TRect &area);

    std::unique_ptr<TBitmap32> FBitmap;
    bool FAlphaHit = false;
    bool FCropped = false;
};

// An ordered list of layers, index 0 at the bottom, that owns its layers.
class TLayerCollection {
public:
    // owner: the control the layers are drawn over (the image control), or null; not owned.
    explicit TLayerCollection(ui::TControl *owner);
    ~TLayerCollection();
    TLayerCollection(const TLayerCollection &) = delete;
    TLayerCollection &operator=(const TLayerCollection &) = delete;

    ui::TControl *GetOwner() const { return FOwner; }
    int32_t GetCount() const { return int32_t(FItems.size()); }
    // Throws rtl::EListError for an index outside the list.
    TCustomLayer *GetItem(int32_t index) const;
    TCustomLayer *operator[](int32_t index) const { return GetItem(index); }
    // Assigns value to the layer at index.
    void SetItem(int32_t index, const TCustomLayer &value);

    // A new layer of class L at the top.
    template <class L> L *Add() {
        auto layer = std::make_unique<L>(this);
        L *raw = layer.release(); // the collection owns it from here (AttachLayer)
        NotifyList(lnLayerAdded, raw, raw->GetIndex());
        return raw;
    }
    template <class L> L *Insert(int32_t index) {
        BeginUpdate();
        L *layer = Add<L>();
        layer->SetIndex(index);
        NotifyList(lnLayerInserted, layer, index);
        EndUpdate();
        return layer;
    }
    void Delete(int32_t index);
    void Clear();
    // Replaces the layers by copies of source's (each of its layer's class, NewLike).
    void Assign(const TLayerCollection &source);

    void BeginUpdate();
    // An unpaired call throws EBitmapException "Unpaired EndUpdate".
    void EndUpdate();

    bool GetMouseEvents() const { return FMouseEvents; }
    void SetMouseEvents(bool value);
    TCustomLayer *GetMouseListener() const { return FMouseListener; }
    void SetMouseListener(TCustomLayer *value);

    // Mouse dispatch: the listener or the topmost layer with mouse events under (x, y).
    TCustomLayer *DispatchMouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                    int32_t y);
    TCustomLayer *DispatchMouseMove(ui::TShiftState shift, int32_t x, int32_t y);
    TCustomLayer *DispatchMouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                  int32_t y);
    TCustomLayer *LayerAt(int32_t x, int32_t y, uint32_t optionsMask) const;

    void GetViewportScale(float &scaleX, float &scaleY) const;
    void GetViewportShift(float &shiftX, float &shiftY) const;
    // Between layer (bitmap) and viewport (control) coordinates; unscaled points stay.
    TFloatPoint LocalToViewport(const TFloatPoint &p, bool scaled) const;
    TFloatPoint ViewportToLocal(const TFloatPoint &p, bool scaled) const;

    std::function<void(TLayerCollection *)> OnChanging;
    std::function<void(TLayerCollection *)> OnChange;
    std::function<void(TLayerCollection *)> OnGDIUpdate;
    TLayerListNotifyEvent OnListNotify;
    TLayerUpdateEvent OnLayerUpdated;
    TLayerAreaEvent OnAreaUpdated;
    TGetScaleEvent OnGetViewportScale;
    TGetShiftEvent OnGetViewportShift;

private:
    friend class TCustomLayer;
    void AttachLayer(TCustomLayer *layer);
    void DetachLayer(TCustomLayer *layer);
    void MoveLayer(TCustomLayer *layer, int32_t index);
    void NotifyList(TLayerListNotification action, TCustomLayer *layer, int32_t index);
    void NotifyGDIUpdate();
    void AreaUpdated(const TRect &rect);
    void LayerUpdated(TCustomLayer *layer);
    void Changed();
    void FreeLayers();
    void ShowOwnerCursor();

    std::vector<TCustomLayer *> FItems; // owned: freed by Delete, Clear and the destructor
    bool FMouseEvents = true;
    TCustomLayer *FMouseListener = nullptr;
    int32_t FUpdateCount = 0;
    ui::TControl *FOwner = nullptr;
};

} // namespace raster
