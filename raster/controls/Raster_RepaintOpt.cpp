// The repaint optimiser contract and the micro-tiles optimiser.
#include "raster/controls/Raster_RepaintOpt.h"

#include <algorithm>

namespace raster {

TCustomRepaintOptimizer::TCustomRepaintOptimizer(TBitmap32 *buffer, TRectList *invalidRects)
    : FInvalidRects(invalidRects), FBuffer(buffer) {}

TCustomRepaintOptimizer::~TCustomRepaintOptimizer() {
    for (TLayerCollection *layers : FLayerCollections) {
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
}

void TCustomRepaintOptimizer::UnregisterLayerCollection(TLayerCollection *layers) {
    const auto it = std::find(FLayerCollections.begin(), FLayerCollections.end(), layers);
    if (it == FLayerCollections.end()) {
        return;
    }
    layers->OnListNotify = nullptr;
    FLayerCollections.erase(it);
}

// ---- TMicroTilesRepaintOptimizer ----------------------------------------------------------

namespace {

constexpr int32_t kMinTimeDelta = 1000;
constexpr int32_t kMaxTimeDelta = 5000;

int32_t ClampDelta(int32_t delta) {
    return std::clamp(delta, kMinTimeDelta, kMaxTimeDelta);
}

} // namespace

TMicroTilesRepaintOptimizer::TMicroTilesRepaintOptimizer(TBitmap32 *buffer, TRectList *invalidRects)
    : TCustomRepaintOptimizer(buffer, invalidRects), FPerfTimer(pcThreadTime) {
    SetAdaptiveMode(true);
    TilesInit(FTempTiles);
    TilesInit(FInvalidTiles);
    TilesInit(FForcedInvalidTiles);
}

TMicroTilesRepaintOptimizer::~TMicroTilesRepaintOptimizer() {
    while (!FLayerCollections.empty()) {
        UnregisterLayerCollection(FLayerCollections.back());
    }
}

uint32_t TMicroTilesRepaintOptimizer::Ticks() const {
    return FTickCount ? FTickCount() : TickCount();
}

void TMicroTilesRepaintOptimizer::SetClockForTesting(std::function<uint32_t()> tickCount,
                                                     std::function<int64_t()> counter,
                                                     int64_t frequency) {
    FTickCount = std::move(tickCount);
    FPerfTimer.SetCounterForTesting(std::move(counter), frequency);
}

void TMicroTilesRepaintOptimizer::WireCollection(TLayerCollection *layers, bool wire) {
    if (!wire) {
        layers->OnLayerUpdated = nullptr;
        layers->OnAreaUpdated = nullptr;
        layers->OnListNotify = nullptr;
        return;
    }
    layers->OnLayerUpdated = [this](TLayerCollection *sender, TCustomLayer *layer) {
        LayerUpdateHandler(sender, layer);
    };
    layers->OnAreaUpdated = [this](TLayerCollection *, const TRect &area, uint32_t info) {
        AreaUpdateHandler(area, info);
    };
    layers->OnListNotify = [this](TLayerCollection *sender, TLayerListNotification action,
                                  TCustomLayer *layer, int32_t index) {
        ListNotifyHandler(sender, action, layer, index);
    };
}

void TMicroTilesRepaintOptimizer::RegisterLayerCollection(TLayerCollection *layers) {
    TCustomRepaintOptimizer::RegisterLayerCollection(layers);
    if (FEnabled) {
        WireCollection(layers, true);
    }
}

void TMicroTilesRepaintOptimizer::UnregisterLayerCollection(TLayerCollection *layers) {
    WireCollection(layers, false);
    TCustomRepaintOptimizer::UnregisterLayerCollection(layers);
}

void TMicroTilesRepaintOptimizer::SetEnabled(bool value) {
    if (value == FEnabled) {
        return;
    }
    if (value) {
        for (TLayerCollection *layers : FLayerCollections) {
            WireCollection(layers, true);
        }
        FEnabled = true;
        BufferResizedHandler(FBuffer->GetWidth(), FBuffer->GetHeight());
        return;
    }
    for (TLayerCollection *layers : FLayerCollections) {
        WireCollection(layers, false);
    }
    TilesFree(FInvalidTiles);
    TilesFree(FTempTiles);
    TilesFree(FForcedInvalidTiles);
    FWorkingTilesValid = false;
    FUseInvalidTiles = false;
    FOldInvalidTilesValid = false;
    FOldInvalidTilesMap.Clear();
    FInvalidLayers.clear();
    FEnabled = false;
}

void TMicroTilesRepaintOptimizer::SetAdaptiveMode(bool value) {
    if (value != FAdaptiveMode) {
        FAdaptiveMode = value;
        ResetAdaptiveMode();
    }
}

void TMicroTilesRepaintOptimizer::ResetAdaptiveMode() {
    FTimeDelta = kMinTimeDelta;
    FAdaptionFailed = false;
    FPerformanceLevel = 0;
}

void TMicroTilesRepaintOptimizer::BufferResizedHandler(int32_t newWidth, int32_t newHeight) {
    FBufferBounds = {0, 0, newWidth, newHeight};
    Reset();
}

void TMicroTilesRepaintOptimizer::Reset() {
    FWorkingTilesValid = false;
    FOldInvalidTilesValid = false;
    ValidateOldTiles();
    TilesFill(FForcedInvalidTiles, TileFull);
    FForcedInvalidTiles.BoundsUsedTiles = {0, 0, FForcedInvalidTiles.Columns,
                                           FForcedInvalidTiles.Rows};
    FUseInvalidTiles = true;
}

bool TMicroTilesRepaintOptimizer::UpdatesAvailable() {
    ValidateOldTiles();
    return FUseInvalidTiles;
}

void TMicroTilesRepaintOptimizer::ValidateWorkingTiles() {
    if (FWorkingTilesValid) {
        return;
    }
    TilesResize(FTempTiles, FBufferBounds);
    TilesResize(FInvalidTiles, FBufferBounds);
    TilesResize(FForcedInvalidTiles, FBufferBounds);
    FWorkingTilesValid = true;
}

// Every layer's tiles are measured afresh; the queue is then stale.
void TMicroTilesRepaintOptimizer::ValidateOldTiles() {
    if (FOldInvalidTilesValid) {
        return;
    }
    ValidateWorkingTiles();
    for (TLayerCollection *layers : FLayerCollections) {
        for (int32_t i = 0; i < layers->GetCount(); ++i) {
            TCustomLayer *layer = layers->GetItem(i);
            TMicroTiles &tiles = **FOldInvalidTilesMap.Add(layer);
            TilesResize(tiles, FBufferBounds);
            MeasureLayer(tiles, layer);
            layer->SetInvalidFlag(false);
        }
    }
    FInvalidLayers.clear();
    FOldInvalidTilesValid = true;
    FUseInvalidTiles = false;
}

// The layer paints itself into the measuring buffer, which only reports the areas it would
// change.
void TMicroTilesRepaintOptimizer::MeasureLayer(TMicroTiles &tiles, TCustomLayer *layer) {
    FWorkMicroTiles = &tiles;
    FBuffer->BeginMeasuring([this](TCustomBitmap32 *, const TRect &area, uint32_t info) {
        AddArea(*FWorkMicroTiles, area, info);
    });
    struct TEndMeasuring {
        TBitmap32 *buffer;
        ~TEndMeasuring() { buffer->EndMeasuring(); }
    } end{FBuffer};
    layer->RenderLayer(*FBuffer);
}

void TMicroTilesRepaintOptimizer::AddArea(TMicroTiles &tiles, const TRect &area, uint32_t info) {
    const bool whole = FPerformanceLevel > 0;
    if ((info & AreaInfoLine) != 0) {
        const int32_t lw = int32_t(info & 0x00FFFFFFu);
        TRect r = area;
        GrowArea(r, lw, lw);
        TilesAddLine(tiles, r.Left, r.Top, r.Right, r.Bottom, lw, whole);
    } else {
        TilesAddRect(tiles, area, whole);
    }
}

void TMicroTilesRepaintOptimizer::AreaUpdateHandler(const TRect &area, uint32_t info) {
    ValidateWorkingTiles();
    AddArea(FForcedInvalidTiles, area, info);
    FUseInvalidTiles = true;
}

void TMicroTilesRepaintOptimizer::LayerUpdateHandler(TLayerCollection *, TCustomLayer *layer) {
    if (FOldInvalidTilesValid && !layer->GetInvalidFlag()) {
        FInvalidLayers.push_back(layer);
        layer->SetInvalidFlag(true);
        FUseInvalidTiles = true;
    }
}

void TMicroTilesRepaintOptimizer::ListNotifyHandler(TLayerCollection *sender,
                                                    TLayerListNotification action,
                                                    TCustomLayer *layer, int32_t) {
    switch (action) {
    case lnLayerAdded:
    case lnLayerInserted:
        TilesResize(**FOldInvalidTilesMap.Add(layer), FBufferBounds);
        FOldInvalidTilesValid = true;
        break;
    case lnLayerDeleted:
        if (FOldInvalidTilesValid) {
            TilesMerge(FInvalidTiles, *FOldInvalidTilesMap.GetData(layer), false);
            FUseInvalidTiles = true;
        }
        FInvalidLayers.erase(std::remove(FInvalidLayers.begin(), FInvalidLayers.end(), layer),
                             FInvalidLayers.end());
        FOldInvalidTilesMap.Remove(layer);
        break;
    case lnCleared:
        if (FOldInvalidTilesValid) {
            TPointerMapIterator it(FOldInvalidTilesMap);
            while (it.Next()) {
                TilesMerge(FInvalidTiles, *static_cast<PMicroTiles>(it.GetData()), false);
            }
            FUseInvalidTiles = true;
            ResetAdaptiveMode();
        }
        FOldInvalidTilesMap.Clear();
        FOldInvalidTilesValid = true;
        break;
    }
    (void)sender;
}

void TMicroTilesRepaintOptimizer::PerformOptimization() {
    if (FUseInvalidTiles) {
        ValidateWorkingTiles();
        const bool whole = FPerformanceLevel > 0;
        // Both where each queued layer was and where it is now are repainted.
        for (TCustomLayer *layer : FInvalidLayers) {
            TilesFillUsed(FTempTiles, TileEmpty);
            MeasureLayer(FTempTiles, layer);
            TilesMerge(FInvalidTiles, FTempTiles, whole);
            TMicroTiles &old = *FOldInvalidTilesMap.GetData(layer);
            TilesMerge(FInvalidTiles, old, whole);
            TilesAssign(old, FTempTiles);
            layer->SetInvalidFlag(false);
        }
        FInvalidLayers.clear();
        TilesToRects(FInvalidTiles, *FInvalidRects);
        TilesToRects(FForcedInvalidTiles, *FInvalidRects);
    }
    AdaptPerformanceLevel();
    TilesFillUsed(FInvalidTiles, TileEmpty);
    TilesFillUsed(FForcedInvalidTiles, TileEmpty);
}

// A repaint without invalid rectangles renders the whole buffer, which covers every area
// collected so far: they are dropped rather than repainted again by the next partial repaint.
void TMicroTilesRepaintOptimizer::BeginPaintBuffer() {
    if (FInvalidRects->GetCount() == 0 && FWorkingTilesValid) {
        TilesFillUsed(FInvalidTiles, TileEmpty);
        TilesFillUsed(FForcedInvalidTiles, TileEmpty);
    }
    if (FAdaptiveMode) {
        FPerfTimer.Start();
    }
}

void TMicroTilesRepaintOptimizer::EndPaintBuffer() {
    FUseInvalidTiles = false;
    MeasureRepaintTime();
}

void TMicroTilesRepaintOptimizer::ScheduleCheck(int32_t delta) {
    FTimeDelta = ClampDelta(delta);
    FNextCheck = int32_t(Ticks() + uint32_t(FTimeDelta));
}

// A lower level is tried once the check time has passed, or when the rectangles got clearly
// fewer than when the level was raised; at level 2 the list is emptied (a full repaint).
void TMicroTilesRepaintOptimizer::AdaptPerformanceLevel() {
    if (!FAdaptiveMode || FPerformanceLevel <= 0) {
        return;
    }
    if (int32_t(Ticks()) > FNextCheck) {
        FPerformanceLevel = std::max(FPerformanceLevel - 1, 0);
        FTimedCheck = true;
    } else if (!FAdaptionFailed && FInvalidRects->GetCount() < FOldInvalidRectsCount - 10) {
        FPerformanceLevel = std::max(FPerformanceLevel - 1, 0);
    } else if (FPerformanceLevel == 2) {
        FInvalidRects->Clear();
    }
}

void TMicroTilesRepaintOptimizer::MeasureRepaintTime() {
    const int64_t t = FPerfTimer.ReadValue();
    if (FInvalidRects->GetCount() == 0) {
        FElapsedTimeForFullSceneRepaint = t;
    } else if (FAdaptiveMode) {
        if (t > FElapsedTimeForFullSceneRepaint) {
            const int32_t level = std::min(FPerformanceLevel + 1, 2);
            if (level != FPerformanceLevel) {
                FOldInvalidRectsCount = FInvalidRects->GetCount();
                FPerformanceLevel = level;
                if (FTimedCheck) {
                    ScheduleCheck(FTimeDelta + 250);
                    FElapsedTimeOnLastPenalty = t;
                    FTimedCheck = false;
                }
                FAdaptionFailed = true;
            }
        } else if (t < FElapsedTimeForFullSceneRepaint) {
            if (FTimedCheck) {
                ScheduleCheck(kMinTimeDelta);
                FTimedCheck = false;
            } else if (FTimeDelta > kMinTimeDelta) {
                ScheduleCheck(FTimeDelta - 1000);
            }
            FAdaptionFailed = false;
        } else if (t < FElapsedTimeOnLastPenalty && FTimedCheck) {
            ScheduleCheck(FTimeDelta - 250);
            FTimedCheck = false;
        }
    }
    FElapsedTimeForLastRepaint = t;
}

} // namespace raster
