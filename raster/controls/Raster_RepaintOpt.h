// The contract between a paint box and its repaint optimiser, and the micro-tiles optimiser that
// paint boxes own: invalid areas and layer moves are collected in micro-tiles and handed out as
// a short list of invalid rectangles, coarser (or as one full repaint) when partial repainting
// turns out slower than repainting everything.
#pragma once

#include "raster/Raster.h"
#include "raster/Raster_Containers.h"
#include "raster/Raster_MicroTiles.h"
#include "raster/Raster_System.h"
#include "raster/controls/Raster_Layers.h"

#include <functional>
#include <vector>

namespace raster {

// Bound to a paint box's back buffer and invalid-rectangle list (neither owned). Disabled
// after creation; while disabled it collects nothing.
class TCustomRepaintOptimizer {
public:
    TCustomRepaintOptimizer(TBitmap32 *buffer, TRectList *invalidRects);
    virtual ~TCustomRepaintOptimizer();
    TCustomRepaintOptimizer(const TCustomRepaintOptimizer &) = delete;
    TCustomRepaintOptimizer &operator=(const TCustomRepaintOptimizer &) = delete;

    virtual bool GetEnabled() const { return FEnabled; }
    virtual void SetEnabled(bool value) { FEnabled = value; }

    // Registration points the collection's list notification at the optimiser; collections
    // are not owned and must be unregistered before they go.
    virtual void RegisterLayerCollection(TLayerCollection *layers);
    virtual void UnregisterLayerCollection(TLayerCollection *layers);

    virtual void BeginPaint() {}
    virtual void EndPaint() {}
    virtual void BeginPaintBuffer() {}
    virtual void EndPaintBuffer() {}

    // Everything becomes invalid.
    virtual void Reset() = 0;
    virtual bool UpdatesAvailable() = 0;
    // Appends the invalid rectangles to the paint box's list.
    virtual void PerformOptimization() = 0;
    virtual void AreaUpdateHandler(const TRect &area, uint32_t info) = 0;
    virtual void LayerUpdateHandler(TLayerCollection *sender, TCustomLayer *layer) = 0;
    virtual void BufferResizedHandler(int32_t newWidth, int32_t newHeight) = 0;
    virtual void ListNotifyHandler(TLayerCollection *sender, TLayerListNotification action,
                                   TCustomLayer *layer, int32_t index) = 0;

protected:
    bool FEnabled = false;
    std::vector<TLayerCollection *> FLayerCollections;
    TRectList *FInvalidRects;
    TBitmap32 *FBuffer;
};

// Collects invalid areas in micro-tiles and remembers the tiles each layer covered when it was
// last painted, so a moved or changed layer invalidates where it was and where it is now.
// Adaptive mode (on after creation) times every buffer repaint: when a partial repaint is
// slower than the last full one it goes to whole tiles (level 1) and then to full repaints
// (level 2), and tries a lower level again after 1 to 5 seconds. Repaints are timed in the
// thread's own running time, so a repaint that another process held up does not count as
// slow. A layer queued for
// re-measuring must be known to the optimiser; one it never saw raises rtl::EListError
// "Item not found ($0%x)" from PerformOptimization.
class TMicroTilesRepaintOptimizer : public TCustomRepaintOptimizer {
public:
    TMicroTilesRepaintOptimizer(TBitmap32 *buffer, TRectList *invalidRects);
    ~TMicroTilesRepaintOptimizer() override;

    void SetEnabled(bool value) override;
    void RegisterLayerCollection(TLayerCollection *layers) override;
    void UnregisterLayerCollection(TLayerCollection *layers) override;
    bool GetAdaptiveMode() const { return FAdaptiveMode; }
    void SetAdaptiveMode(bool value);
    // 0 = exact micro-tiles, 1 = whole tiles, 2 = whole tiles and full repaints.
    int32_t GetPerformanceLevel() const { return FPerformanceLevel; }

    void BeginPaintBuffer() override;
    void EndPaintBuffer() override;
    void Reset() override;
    bool UpdatesAvailable() override;
    void PerformOptimization() override;
    void AreaUpdateHandler(const TRect &area, uint32_t info) override;
    void LayerUpdateHandler(TLayerCollection *sender, TCustomLayer *layer) override;
    void BufferResizedHandler(int32_t newWidth, int32_t newHeight) override;
    void ListNotifyHandler(TLayerCollection *sender, TLayerListNotification action,
                           TCustomLayer *layer, int32_t index) override;

    // Replaces the millisecond tick count and the repaint timer's counter (ticks per second).
    void SetClockForTesting(std::function<uint32_t()> tickCount, std::function<int64_t()> counter,
                            int64_t frequency);

private:
    void WireCollection(TLayerCollection *layers, bool wire);
    void ValidateWorkingTiles();
    void ValidateOldTiles();
    void MeasureLayer(TMicroTiles &tiles, TCustomLayer *layer);
    void AddArea(TMicroTiles &tiles, const TRect &area, uint32_t info);
    void ResetAdaptiveMode();
    void AdaptPerformanceLevel();
    void MeasureRepaintTime();
    void ScheduleCheck(int32_t delta);
    uint32_t Ticks() const;

    TRect FBufferBounds;
    TMicroTiles *FWorkMicroTiles = nullptr;
    TMicroTiles FTempTiles;
    TMicroTiles FInvalidTiles;
    TMicroTiles FForcedInvalidTiles;
    std::vector<TCustomLayer *> FInvalidLayers;
    TMicroTilesMap FOldInvalidTilesMap;
    bool FWorkingTilesValid = false;
    bool FOldInvalidTilesValid = false;
    bool FUseInvalidTiles = false;
    bool FAdaptiveMode = false;
    TPerfTimer FPerfTimer;
    int32_t FPerformanceLevel = 0;
    int64_t FElapsedTimeForLastRepaint = 0;
    int64_t FElapsedTimeForFullSceneRepaint = 0;
    bool FAdaptionFailed = false;
    bool FTimedCheck = false;
    int32_t FTimeDelta = 0;
    int32_t FNextCheck = 0;
    int64_t FElapsedTimeOnLastPenalty = 0;
    int32_t FOldInvalidRectsCount = 0;
    std::function<uint32_t()> FTickCount;
};

} // namespace raster
