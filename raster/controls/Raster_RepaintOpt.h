// The contract between a paint box and its repaint optimiser, and the rectangle optimiser that
// paint boxes own: invalid areas are collected and handed out as invalid rectangles.
#pragma once

#include "raster/Raster.h"
#include "raster/Raster_Containers.h"
#include "raster/controls/Raster_Layers.h"

#include <vector>

namespace raster {

// Bound to a paint box's back buffer and invalid-rectangle list (neither owned). Disabled
// after creation; while disabled it wires nothing and collects nothing.
class TCustomRepaintOptimizer {
public:
    TCustomRepaintOptimizer(TBitmap32 *buffer, TRectList *invalidRects);
    virtual ~TCustomRepaintOptimizer();
    TCustomRepaintOptimizer(const TCustomRepaintOptimizer &) = delete;
    TCustomRepaintOptimizer &operator=(const TCustomRepaintOptimizer &) = delete;

    virtual bool GetEnabled() const { return FEnabled; }
    virtual void SetEnabled(bool value) { FEnabled = value; }

    // Registration points the collection's list notification at the optimiser (and, while
    // enabled, its layer and area updates); collections are not owned.
    virtual void RegisterLayerCollection(TLayerCollection *layers);
    virtual void UnregisterLayerCollection(TLayerCollection *layers);

    virtual void BeginPaint() {}
    virtual void EndPaint() {}
    virtual void BeginPaintBuffer() {}
    virtual void EndPaintBuffer() {}

    // Everything becomes invalid.
    virtual void Reset() = 0;
    virtual bool UpdatesAvailable() = 0;
    // Fills the invalid-rectangle list from what was collected.
    virtual void PerformOptimization() = 0;
    virtual void AreaUpdateHandler(const TRect &area, uint32_t info) = 0;
    virtual void LayerUpdateHandler(TLayerCollection *sender, TCustomLayer *layer) = 0;
    virtual void BufferResizedHandler(int32_t newWidth, int32_t newHeight) = 0;
    virtual void ListNotifyHandler(TLayerCollection *sender, TLayerListNotification action,
                                   TCustomLayer *layer, int32_t index) = 0;

protected:
    void WireCollection(TLayerCollection *layers, bool updates);

    bool FEnabled = false;
    std::vector<TLayerCollection *> FLayerCollections;
    TRectList *FInvalidRects;
    TBitmap32 *FBuffer;
};

// Collects invalid areas as rectangles clipped to the buffer; a line area grows by its width.
// Any layer change invalidates the whole buffer, which is always correct and, for the few
// layers an image control carries, cheap.
class TRectsRepaintOptimizer : public TCustomRepaintOptimizer {
public:
    using TCustomRepaintOptimizer::TCustomRepaintOptimizer;
    void SetEnabled(bool value) override;
    void Reset() override;
    bool UpdatesAvailable() override { return FUpdates; }
    void PerformOptimization() override;
    void AreaUpdateHandler(const TRect &area, uint32_t info) override;
    void LayerUpdateHandler(TLayerCollection *sender, TCustomLayer *layer) override;
    void BufferResizedHandler(int32_t newWidth, int32_t newHeight) override;
    void ListNotifyHandler(TLayerCollection *sender, TLayerListNotification action,
                           TCustomLayer *layer, int32_t index) override;

private:
    TRect FBufferBounds;
    std::vector<TRect> FAreas;
    bool FUpdates = false;
};

} // namespace raster
