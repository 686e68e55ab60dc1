// The micro-tiles repaint optimiser: invalid rectangles from areas, lines and layer moves, the
// reset, the adaptive levels step by step on an injected clock, and the wiring of collections.
#include "raster/controls/Raster_RepaintOpt.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace raster;

namespace {

// A layer that paints one rectangle (reported as its area while the buffer measures).
struct TRectLayer : TCustomLayer {
    explicit TRectLayer(TLayerCollection *c) : TCustomLayer(c) {}
    TRect Area{10, 10, 20, 20};
    void MoveTo(const TRect &r) {
        Area = r;
        Changed();
    }

protected:
    void PaintOn(TBitmap32 &buffer) override { buffer.FillRectS(Area, 0xFFFF0000u); }
};

class RepaintOptTest : public ::testing::Test {
protected:
    TBitmap32 buffer;
    TRectList rects;
    TLayerCollection layers{nullptr};
    std::unique_ptr<TMicroTilesRepaintOptimizer> opt;
    uint32_t ticks = 5;
    int64_t counter = 0;

    void SetUp() override {
        buffer.SetSize(200, 100);
        opt = std::make_unique<TMicroTilesRepaintOptimizer>(&buffer, &rects);
        opt->SetClockForTesting([this] { return ticks; }, [this] { return counter; }, 1000000);
        opt->RegisterLayerCollection(&layers);
        opt->SetEnabled(true);
    }
    void TearDown() override { opt->UnregisterLayerCollection(&layers); }

    std::vector<TRect> Optimize() {
        rects.Clear();
        opt->PerformOptimization();
        std::vector<TRect> v;
        for (int32_t i = 0; i < rects.GetCount(); ++i) {
            v.push_back(*rects.Get(i));
        }
        return v;
    }
    // One buffer repaint of the rectangles now in the list, taking `micros` microseconds.
    void Repaint(int64_t micros) {
        opt->BeginPaintBuffer();
        counter += micros;
        opt->EndPaintBuffer();
    }
    // The first, full repaint after enabling, so later areas start from nothing.
    void SettleFullRepaint(int64_t micros) {
        rects.Clear();
        Repaint(micros);
    }
};

} // namespace

TEST_F(RepaintOptTest, ResetInvalidatesTheWholeBuffer) {
    EXPECT_TRUE(opt->UpdatesAvailable());
    EXPECT_EQ(Optimize(), (std::vector<TRect>{{0, 0, 200, 100}}));
    EXPECT_EQ(Optimize(), std::vector<TRect>{}); // consumed
}

TEST_F(RepaintOptTest, AreasBecomeTheirRectangles) {
    SettleFullRepaint(1000);
    EXPECT_FALSE(opt->UpdatesAvailable());
    const struct {
        const char *name;
        TRect area;
        uint32_t info;
        std::vector<TRect> expected;
    } cases[] = {
        {"one pixel", {5, 5, 6, 6}, AreaInfoRect, {{5, 5, 6, 6}}},
        {"clipped to the buffer", {190, 90, 260, 130}, AreaInfoRect, {{190, 90, 200, 100}}},
        {"line of width 0 along a row", {0, 5, 50, 5}, AreaInfoLine + 0, {}},
        {"line of width 2",
         {0, 0, 100, 0},
         AreaInfoLine + 2,
         {{0, 0, 32, 4}, {32, 0, 64, 6}, {64, 0, 130, 7}}},
    };
    for (const auto &c : cases) {
        opt->AreaUpdateHandler(c.area, c.info);
        EXPECT_TRUE(opt->UpdatesAvailable()) << c.name;
        EXPECT_EQ(Optimize(), c.expected) << c.name;
    }
}

TEST_F(RepaintOptTest, AreasCollectedBeforeAFullRepaintAreNotRepaintedAgain) {
    opt->AreaUpdateHandler({5, 5, 6, 6}, AreaInfoRect);
    SettleFullRepaint(1000); // covers the reset and the area
    opt->AreaUpdateHandler({50, 50, 60, 60}, AreaInfoRect);
    EXPECT_EQ(Optimize(), (std::vector<TRect>{{50, 50, 60, 60}}));
}

TEST_F(RepaintOptTest, AdaptiveLevelsStepByStep) {
    SettleFullRepaint(1000);
    // Each step: an area, the optimisation, then a repaint of what it gave.
    const struct {
        const char *what;
        uint32_t ticks;
        int64_t micros;
        std::vector<TRect> rects;
        int32_t levelAfterOptimize;
        int32_t levelAfterRepaint;
    } steps[] = {
        {"exact tiles; slower than the full repaint", 5, 2000, {{5, 5, 6, 6}}, 0, 1},
        {"whole tile; the first check is due at once", 5, 2000, {{0, 0, 32, 32}}, 0, 1},
        {"whole tile again, slower: full repaints next", 5, 2000, {{0, 0, 32, 32}}, 1, 2},
        {"level 2 repaints everything", 5, 500, {}, 2, 2},
        {"still before the next check", 1000, 500, {}, 2, 2},
        {"the check is due: one level down, faster", 1300, 300, {{0, 0, 32, 32}}, 1, 1},
        {"the next check is a second later", 2000, 300, {{0, 0, 32, 32}}, 1, 1},
        {"due again: whole tiles once more, then exact", 2400, 300, {{0, 0, 32, 32}}, 0, 0},
        {"exact tiles", 2400, 300, {{5, 5, 6, 6}}, 0, 0},
    };
    for (const auto &s : steps) {
        ticks = s.ticks;
        opt->AreaUpdateHandler({5, 5, 6, 6}, AreaInfoRect);
        EXPECT_EQ(Optimize(), s.rects) << s.what;
        EXPECT_EQ(opt->GetPerformanceLevel(), s.levelAfterOptimize) << s.what;
        Repaint(s.micros);
        EXPECT_EQ(opt->GetPerformanceLevel(), s.levelAfterRepaint) << s.what;
    }
}

TEST_F(RepaintOptTest, WithoutAdaptiveModeTheLevelStays) {
    opt->SetAdaptiveMode(false);
    SettleFullRepaint(1000);
    opt->AreaUpdateHandler({5, 5, 6, 6}, AreaInfoRect);
    EXPECT_EQ(Optimize(), (std::vector<TRect>{{5, 5, 6, 6}}));
    Repaint(5000);
    EXPECT_EQ(opt->GetPerformanceLevel(), 0);
    opt->SetAdaptiveMode(false); // unchanged: nothing happens
    EXPECT_FALSE(opt->GetAdaptiveMode());
}

TEST_F(RepaintOptTest, MovingALayerRepaintsWhereItWasAndWhereItIs) {
    auto *layer = layers.Add<TRectLayer>();
    opt->Reset(); // measures where the layer is
    SettleFullRepaint(1000);
    EXPECT_FALSE(opt->UpdatesAvailable());
    layer->MoveTo({100, 40, 110, 50});
    EXPECT_TRUE(layer->GetInvalidFlag());
    EXPECT_EQ(Optimize(), (std::vector<TRect>{{10, 10, 20, 20}, {100, 40, 110, 50}}));
    EXPECT_FALSE(layer->GetInvalidFlag());
    layer->MoveTo({102, 40, 112, 50}); // the old tiles are now the last position
    EXPECT_EQ(Optimize(), (std::vector<TRect>{{100, 40, 112, 50}}));
}

TEST_F(RepaintOptTest, DeletedAndClearedLayersLeaveTheirAreasInvalid) {
    layers.Add<TRectLayer>();
    auto *second = layers.Add<TRectLayer>();
    second->MoveTo({150, 60, 160, 70});
    opt->Reset();
    SettleFullRepaint(1000);
    layers.Delete(1);
    EXPECT_EQ(Optimize(), (std::vector<TRect>{{150, 60, 160, 70}}));
    layers.Clear();
    EXPECT_EQ(Optimize(), (std::vector<TRect>{{10, 10, 20, 20}}));
}

TEST_F(RepaintOptTest, ALayerWithoutUpdatesChangesSilently) {
    auto *layer = layers.Add<TRectLayer>();
    layer->SetLayerOptions(loVisible | loNoUpdate);
    SettleFullRepaint(1000);
    Optimize();
    layer->MoveTo({100, 40, 110, 50});
    EXPECT_FALSE(opt->UpdatesAvailable());
}

TEST_F(RepaintOptTest, QueuedLayerTheOptimiserNeverSawRaisesItemNotFound) {
    SettleFullRepaint(1000);
    TLayerCollection other(nullptr);
    auto *stranger = other.Add<TRectLayer>();
    opt->LayerUpdateHandler(&other, stranger);
    EXPECT_THROW(opt->PerformOptimization(), rtl::EListError);
}

TEST_F(RepaintOptTest, DisabledOptimiserHearsNothing) {
    auto *layer = layers.Add<TRectLayer>();
    opt->SetEnabled(false);
    EXPECT_FALSE(layers.OnLayerUpdated);
    EXPECT_FALSE(layers.OnAreaUpdated);
    layer->MoveTo({100, 40, 110, 50}); // reaches nobody
    opt->SetEnabled(true);
    EXPECT_TRUE(layers.OnLayerUpdated);
    EXPECT_EQ(Optimize(), (std::vector<TRect>{{0, 0, 200, 100}})); // enabling resets
}
