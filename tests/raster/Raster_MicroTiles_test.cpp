// Micro-tiles: grid sizes, tile packing and unions, rectangles and lines added exactly and as
// whole tiles, rectangles from tiles, merging, the layer map, and every processor variant of the
// bound routines against the scalar reference.
#include "raster/Raster_MicroTiles.h"

#include "raster/Raster.h"
#include "raster/Raster_System.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace raster;

namespace {

class MicroTilesTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeRaster(); }
    void TearDown() override { RestoreProcessorFeaturesForTesting(); }

    static TMicroTiles Grid(int32_t w, int32_t h) {
        TMicroTiles t;
        TilesResize(t, {0, 0, w, h});
        return t;
    }
    static std::vector<TRect> Rects(const TMicroTiles &t) {
        TRectList list;
        const int32_t n = TilesToRects(t, list);
        std::vector<TRect> v;
        for (int32_t i = 0; i < list.GetCount(); ++i) {
            v.push_back(*list.Get(i));
        }
        EXPECT_EQ(n, int32_t(v.size()));
        return v;
    }
};

std::string TileText(TMicroTile t) {
    char b[32];
    std::snprintf(b, sizeof b, "(%u,%u,%u,%u)", TileLeft(t), TileTop(t), TileRight(t),
                  TileBottom(t));
    return b;
}

struct TVariant {
    const char *Name;
    TCPUFeatures Features;
};
const TVariant kVariants[] = {{"portable", NoCPUFeatures}, {"sse2", TCPUFeatures(0xFF)}};

} // namespace

TEST_F(MicroTilesTest, GridSizeFollowsTheBounds) {
    const struct {
        int32_t w, h, columns, rows, count;
    } cases[] = {{100, 70, 4, 3, 20}, {0, 0, 1, 1, 4}, {32, 32, 2, 2, 9}, {31, 1, 1, 1, 4}};
    for (const auto &c : cases) {
        const TMicroTiles t = Grid(c.w, c.h);
        EXPECT_EQ(t.Columns, c.columns) << c.w << "x" << c.h;
        EXPECT_EQ(t.Rows, c.rows) << c.w << "x" << c.h;
        EXPECT_EQ(t.Count(), c.count) << c.w << "x" << c.h;
        EXPECT_EQ(t.BoundsUsedTiles, (TRect{c.columns, c.rows, 0, 0}));
    }
}

TEST_F(MicroTilesTest, TilePackingAndConstants) {
    EXPECT_EQ(MakeTile(10, 10, 20, 20), 0x0A0A1414u);
    EXPECT_EQ(MakeTile(0, 0, 32, 32), TileFull);
    EXPECT_EQ(TileFull, 0x00002020u);
}

TEST_F(MicroTilesTest, TileUnionCases) {
    const struct {
        TMicroTile dst, src, expected;
    } cases[] = {
        {TileFull, MakeTile(3, 4, 5, 6), TileFull},
        {TileEmpty, MakeTile(3, 4, 5, 6), MakeTile(3, 4, 5, 6)},
        {MakeTile(3, 4, 5, 6), TileEmpty, MakeTile(3, 4, 5, 6)},
        {MakeTile(3, 4, 5, 6), MakeTile(7, 7, 7, 9), MakeTile(3, 4, 5, 6)}, // src covers nothing
        {MakeTile(3, 4, 5, 6), MakeTile(4, 1, 9, 5), MakeTile(3, 1, 9, 6)},
        {MakeTile(3, 4, 5, 6), TileFull, TileFull},
        {TileEmpty, TileFull, TileFull},
    };
    for (const TVariant &v : kVariants) {
        ForceProcessorFeaturesForTesting(v.Features);
        for (const auto &c : cases) {
            TMicroTile d = c.dst;
            TileUnion(d, c.src);
            EXPECT_EQ(d, c.expected) << v.Name << " " << TileText(c.dst) << " + " << TileText(c.src)
                                     << " gave " << TileText(d);
        }
    }
}

TEST_F(MicroTilesTest, OneSmallRectangleIsOneTileAndOneRectangle) {
    TMicroTiles t = Grid(100, 70);
    TilesAddRect(t, {10, 10, 20, 20}, false);
    EXPECT_EQ(t.At(0, 0), MakeTile(10, 10, 20, 20));
    EXPECT_EQ(t.BoundsUsedTiles, (TRect{0, 0, 0, 0}));
    EXPECT_EQ(Rects(t), (std::vector<TRect>{{10, 10, 20, 20}}));
}

TEST_F(MicroTilesTest, RectangleOnTileBoundaries) {
    TMicroTiles t = Grid(100, 70);
    TilesAddRect(t, {0, 0, 64, 32}, false);
    EXPECT_EQ(t.At(0, 0), TileFull);
    EXPECT_EQ(t.At(1, 0), TileFull);
    EXPECT_EQ(t.At(2, 0), TileEmpty); // the zero-width remainder is ignored
    EXPECT_EQ(t.At(0, 1), TileEmpty);
    EXPECT_EQ(Rects(t), (std::vector<TRect>{{0, 0, 64, 32}}));
}

TEST_F(MicroTilesTest, AddedRectanglesGiveTheirCover) {
    const struct {
        const char *name;
        std::vector<TRect> added;
        std::vector<TRect> expected;
    } cases[] = {
        {"reversed rectangle is normalised", {{20, 20, 10, 10}}, {{10, 10, 20, 20}}},
        {"two full rows merge vertically", {{0, 0, 96, 64}}, {{0, 0, 96, 64}}},
        {"spanning tiles", {{5, 40, 70, 50}}, {{5, 40, 70, 50}}},
        {"clipped to the bounds", {{-20, -20, 500, 10}}, {{0, 0, 100, 10}}},
        {"two boxes in one tile unite", {{2, 2, 4, 4}, {10, 12, 11, 13}}, {{2, 2, 11, 13}}},
        {"column of tiles merges down", {{40, 3, 50, 90}}, {{40, 3, 50, 70}}},
        {"empty rectangle", {{10, 10, 10, 20}}, {}},
    };
    for (const auto &c : cases) {
        TMicroTiles t = Grid(100, 70);
        for (const TRect &r : c.added) {
            TilesAddRect(t, r, false);
        }
        EXPECT_EQ(Rects(t), c.expected) << c.name;
    }
}

TEST_F(MicroTilesTest, WholeTilesCoverTheTouchedTiles) {
    TMicroTiles t = Grid(100, 70);
    TilesAddRect(t, {5, 5, 6, 6}, true);
    EXPECT_EQ(t.At(0, 0), TileFull);
    EXPECT_EQ(Rects(t), (std::vector<TRect>{{0, 0, 32, 32}}));
    TRectList list;
    EXPECT_EQ(TilesToRectsClipped(t, list, {0, 0, 100, 70}, false, true), 1);
}

TEST_F(MicroTilesTest, WholeTileRectangleEndingOnTheGridEdgeMarksNoTileOfTheNextRow) {
    TMicroTiles t = Grid(100, 70); // 4 x 3 tiles, 128 pixels wide
    TilesAddRect(t, {100, 0, 200, 10}, true);
    EXPECT_EQ(t.At(3, 0), TileFull);
    EXPECT_EQ(t.At(0, 1), TileEmpty);
    EXPECT_EQ(Rects(t), (std::vector<TRect>{{96, 0, 100, 32}}));
}

TEST_F(MicroTilesTest, LinesBecomeChainsOfRectangles) {
    TMicroTiles t = Grid(200, 100);
    TilesAddLine(t, 0, 5, 50, 5, 0, false); // width 0 along one row: nothing
    EXPECT_TRUE(Rects(t).empty());
    // A line of width 2 from (0, 0) to (100, 0), its ends moved apart by the width first.
    TRect area{0, 0, 100, 0};
    GrowArea(area, 2, 2);
    EXPECT_EQ(area, (TRect{-2, -2, 102, 2}));
    TilesAddLine(t, area.Left, area.Top, area.Right, area.Bottom, 2, false);
    EXPECT_EQ(Rects(t), (std::vector<TRect>{{0, 0, 32, 4}, {32, 0, 64, 6}, {64, 0, 130, 7}}));
    // An axis-parallel line is one rectangle grown by twice the width.
    TMicroTiles v = Grid(200, 100);
    TilesAddLine(v, 50, 10, 50, 60, 1, false);
    EXPECT_EQ(Rects(v), (std::vector<TRect>{{48, 8, 52, 62}}));
}

TEST_F(MicroTilesTest, LineBeyondTheFixedPointRangeCoversItsBox) {
    TMicroTiles t = Grid(100, 70);
    TilesAddLine(t, -100000, 10, 100000, 20, 0, false);
    EXPECT_EQ(Rects(t), (std::vector<TRect>{{0, 10, 100, 20}}));
}

TEST_F(MicroTilesTest, GrowAreaGrowsReversedRectanglesInTheirDirection) {
    TRect r{10, 10, 5, 20};
    GrowArea(r, 2, 3);
    EXPECT_EQ(r, (TRect{12, 7, 3, 23}));
}

TEST_F(MicroTilesTest, MergeExactAndWhole) {
    TMicroTiles a = Grid(100, 70), b = Grid(100, 70);
    TilesAddRect(a, {2, 2, 4, 4}, false);
    TilesAddRect(b, {10, 40, 12, 42}, false);
    TilesMerge(a, b, false);
    EXPECT_EQ(a.BoundsUsedTiles, (TRect{0, 0, 0, 1}));
    EXPECT_EQ(Rects(a), (std::vector<TRect>{{2, 2, 4, 4}, {10, 40, 12, 42}}));
    TilesMerge(a, b, true);
    EXPECT_EQ(a.At(0, 1), TileFull);
    EXPECT_EQ(a.At(0, 0), MakeTile(2, 2, 4, 4));
}

TEST_F(MicroTilesTest, AssignCopiesTheUsedTilesAndFillUsedClears) {
    TMicroTiles a = Grid(100, 70), b = Grid(100, 70);
    TilesAddRect(b, {80, 50, 90, 60}, false);
    TilesAddRect(a, {1, 1, 2, 2}, false);
    TilesAssign(a, b);
    EXPECT_EQ(a.At(0, 0), TileEmpty);
    EXPECT_EQ(Rects(a), (std::vector<TRect>{{80, 50, 90, 60}}));
    TilesFillUsed(a, TileEmpty);
    EXPECT_TRUE(Rects(a).empty());
    EXPECT_EQ(a.At(2, 1), TileEmpty);
}

TEST_F(MicroTilesTest, EmptySetsGiveNoRectangles) {
    TMicroTiles none;
    TilesInit(none);
    TilesAddRect(none, {0, 0, 10, 10}, false);
    EXPECT_TRUE(Rects(none).empty());
    TMicroTiles t = Grid(0, 0); // a never-sized buffer: one tile
    TilesFill(t, TileFull);
    t.BoundsUsedTiles = {0, 0, t.Columns, t.Rows};
    EXPECT_EQ(Rects(t), (std::vector<TRect>{{0, 0, 0, 0}}));
}

TEST_F(MicroTilesTest, LayerMapOwnsItsSets) {
    TMicroTilesMap map;
    int keyA = 0, keyB = 0;
    PMicroTiles *a = map.Add(&keyA);
    ASSERT_NE(*a, nullptr);
    EXPECT_EQ((*a)->Count(), 0);
    TilesResize(**a, {0, 0, 64, 64});
    EXPECT_EQ(map.Add(&keyA), a); // an existing key keeps its set
    EXPECT_EQ(map.GetData(&keyA)->Columns, 3);
    EXPECT_THROW(map.GetData(&keyB), rtl::EListError);
    map.Add(&keyB);
    EXPECT_EQ(map.GetCount(), 2);
    map.Remove(&keyA);
    EXPECT_EQ(map.GetCount(), 1);
    EXPECT_FALSE(map.Contains(&keyA));
}

TEST_F(MicroTilesTest, EveryVariantMergesLikeTheReference) {
    std::mt19937 rng(11);
    auto randomTile = [&rng]() -> TMicroTile {
        switch (rng() % 6) {
        case 0:
            return TileEmpty;
        case 1:
            return TileFull;
        default: {
            const uint32_t l = rng() % 33, t = rng() % 33, r = rng() % 33, b = rng() % 33;
            return MakeTile(l, t, r, b);
        }
        }
    };
    for (const TVariant &v : kVariants) {
        ForceProcessorFeaturesForTesting(v.Features);
        for (int i = 0; i < 200000; ++i) {
            const TMicroTile d = randomTile(), s = randomTile();
            TMicroTile expected = d, actual = d;
            reference::TileUnion(expected, s);
            TileUnion(actual, s);
            ASSERT_EQ(actual, expected) << v.Name << " " << TileText(d) << " + " << TileText(s);
        }
        TMicroTiles a = Grid(330, 200), b = Grid(330, 200);
        for (TMicroTile &t : a.Tiles) {
            t = randomTile();
        }
        for (TMicroTile &t : b.Tiles) {
            t = randomTile();
        }
        b.BoundsUsedTiles = {1, 0, b.Columns - 1, b.Rows - 2};
        TMicroTiles expected = a;
        reference::TilesMergeExact(expected, b);
        TilesMergeExact(a, b);
        EXPECT_EQ(a.Tiles, expected.Tiles) << v.Name;
    }
}
