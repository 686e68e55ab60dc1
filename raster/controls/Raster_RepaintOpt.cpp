// The contract between a paint box and its repaint optimiser, and the rectangle optimiser.
#include "raster/controls/Raster_RepaintOpt.h"

#include <algorithm>
#include <cstdlib>

namespace raster {

TCustomRepaintOptimizer::TCustomRepaintOptimizer(TBitmap32 *buffer, TRectList *invalidRects)
    : FInvalidRects(invalidRects), FBuffer(buffer) {}

TCustomRepaintOptimizer::~TCustomRepaintOptimizer() {
    for (TLayerCollection *layers : FLayerCollections) {
        WireCollection(layers, false);
        layers->OnListNotify = nullptr;
    }
}

void TCustomRepaintOptimizer::RegisterLayerCollection(TLayerCollection *layers) {
    if (std::find(FLayerCollections.begin(), FLayerCollections.end(), layers) !=
        FLayerCollections.end()) {
        return;
    }
    FLayerCollections.push_back(layers);
    layers->OnListNotify = [this](TLayerCollection *sender, TLayerListNotification action,
                                  TCustomLayer *layer, int32_t index) {
        ListNotifyHandler(sender, action, layer, index);
    };
    WireCollection(layers, FEnabled);
}

void TCustomRepaintOptimizer::UnregisterLayerCollection(TLayerCollection *layers) {
    const auto it = std::find(FLayerCollections.begin(), FLayerCollections.end(), layers);
    if (it == FLayerCollections.end()) {
        return;
    }
    WireCollection(layers, false);
    layers->OnListNotify = nullptr;
    FLayerCollections.erase(it);
}

void TCustomRepaintOptimizer::WireCollection(TLayerCollection *layers, bool updates) {
    if (!updates) {
        layers->OnLayerUpdated = nullptr;
        layers->OnAreaUpdated = nullptr;
        return;
    }
    layers->OnLayerUpdated = [this](TLayerCollection *sender, TCustomLayer *layer) {
        LayerUpdateHandler(sender, layer);
    };
    layers->OnAreaUpdated = [this](TLayerCollection *, const TRect &area, uint32_t info) {
        AreaUpdateHandler(area, info);
    };
}

void TRectsRepaintOptimizer::SetEnabled(bool value) {
    if (value == FEnabled) {
        return;
    }
    FEnabled = value;
    for (TLayerCollection *layers : FLayerCollections) {
        WireCollection(layers, value);
    }
    FAreas.clear();
    FUpdates = false;
    if (value) {
        BufferResizedHandler(FBuffer->GetWidth(), FBuffer->GetHeight());
    }
}

void TRectsRepaintOptimizer::Reset() {
    FAreas.assign(1, FBufferBounds);
    FUpdates = true;
}

void TRectsRepaintOptimizer::BufferResizedHandler(int32_t newWidth, int32_t newHeight) {
    FBufferBounds = {0, 0, newWidth, newHeight};
    Reset();
}

void TRectsRepaintOptimizer::AreaUpdateHandler(const TRect &area, uint32_t info) {
    TRect r{std::min(area.Left, area.Right), std::min(area.Top, area.Bottom),
            std::max(area.Left, area.Right), std::max(area.Top, area.Bottom)};
    if ((info & AreaInfoLine) != 0) {
        const int32_t w = int32_t(info & 0x00FFFFFFu);
        r = {r.Left - w, r.Top - w, r.Right + w + 1, r.Bottom + w + 1};
    }
    if (IntersectRects(r, r, FBufferBounds) && !RectIsEmpty(r)) {
        FAreas.push_back(r);
        FUpdates = true;
    }
}

void TRectsRepaintOptimizer::LayerUpdateHandler(TLayerCollection *, TCustomLayer *) {
    Reset();
}

void TRectsRepaintOptimizer::ListNotifyHandler(TLayerCollection *, TLayerListNotification,
                                               TCustomLayer *, int32_t) {
    if (FEnabled) {
        Reset();
    }
}

void TRectsRepaintOptimizer::PerformOptimization() {
    FInvalidRects->Clear();
    for (const TRect &r : FAreas) {
        FInvalidRects->Add(r);
    }
    FAreas.clear();
    FUpdates = false;
}

} // namespace raster
