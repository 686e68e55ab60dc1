// TRegion: set operations against a pixel model, the canonical form, and the limits.
#include "platform/gfx/Region.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

using namespace gfx;

namespace {

constexpr int Grid = 24;
using TPixels = std::array<bool, Grid * Grid>;

TPixels PixelsOf(const TRegion &r) {
    TPixels p{};
    for (int y = 0; y < Grid; ++y) {
        for (int x = 0; x < Grid; ++x) {
            p[size_t(y * Grid + x)] = r.Contains({x, y});
        }
    }
    return p;
}

TPixels PixelsOf(const std::vector<TRect> &rects) {
    TPixels p{};
    for (const TRect &r : rects) {
        for (int y = std::max(0, r.Top); y < std::min(Grid, r.Bottom); ++y) {
            for (int x = std::max(0, r.Left); x < std::min(Grid, r.Right); ++x) {
                p[size_t(y * Grid + x)] = true;
            }
        }
    }
    return p;
}

// The canonical form: bands sorted, no touching rectangles in a band, no two touching bands
// with equal intervals.
void ExpectCanonical(const TRegion &r) {
    const std::vector<TRect> &rects = r.GetRects();
    for (size_t i = 0; i < rects.size(); ++i) {
        ASSERT_FALSE(rects[i].IsEmpty());
        if (i == 0) {
            continue;
        }
        const TRect &a = rects[i - 1], &b = rects[i];
        if (a.Top == b.Top) {
            EXPECT_EQ(a.Bottom, b.Bottom);
            EXPECT_LT(a.Right, b.Left) << "touching or overlapping in one band";
        } else {
            EXPECT_GE(b.Top, a.Bottom) << "bands overlap";
        }
    }
}

std::vector<TRect> RandomRects(std::mt19937 &rng, int count) {
    std::uniform_int_distribution<int> coord(-2, Grid + 2);
    std::vector<TRect> rects;
    for (int i = 0; i < count; ++i) {
        rects.push_back(Rect(coord(rng), coord(rng), coord(rng), coord(rng)));
    }
    return rects;
}

} // namespace

TEST(Region, OperationsMatchThePixelModel) {
    std::mt19937 rng(20240611);
    struct OpCase {
        TRegionOp op;
        bool (*expected)(bool, bool);
    };
    const OpCase ops[] = {
        {RGN_AND, [](bool a, bool b) { return a && b; }},
        {RGN_OR, [](bool a, bool b) { return a || b; }},
        {RGN_XOR, [](bool a, bool b) { return a != b; }},
        {RGN_DIFF, [](bool a, bool b) { return a && !b; }},
        {RGN_COPY, [](bool a, bool) { return a; }},
    };
    for (int round = 0; round < 300; ++round) {
        const std::vector<TRect> ra = RandomRects(rng, 1 + round % 5);
        const std::vector<TRect> rb = RandomRects(rng, 1 + round % 4);
        const TRegion a = TRegion::FromRects(ra), b = TRegion::FromRects(rb);
        ASSERT_EQ(PixelsOf(a), PixelsOf(ra));
        ExpectCanonical(a);
        const TPixels pa = PixelsOf(ra), pb = PixelsOf(rb);
        for (const OpCase &k : ops) {
            TRegion result;
            CombineRgn(result, a, b, k.op);
            ExpectCanonical(result);
            TPixels expected{};
            for (size_t i = 0; i < expected.size(); ++i) {
                expected[i] = k.expected(pa[i], pb[i]);
            }
            ASSERT_EQ(PixelsOf(result), expected) << "round " << round << " op " << k.op;
        }
    }
}

TEST(Region, EqualAreasHaveEqualRectangleLists) {
    // The same L shape built in three ways.
    const TRegion a = TRegion::FromRects({Rect(0, 0, 4, 2), Rect(0, 2, 2, 4)});
    const TRegion b = TRegion::FromRects({Rect(0, 0, 2, 4), Rect(2, 0, 4, 2)});
    const TRegion c = TRegion(Rect(0, 0, 4, 4)).Subtract(TRegion(Rect(2, 2, 4, 4)));
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, c);
    EXPECT_EQ(a.GetRects(), (std::vector<TRect>{Rect(0, 0, 4, 2), Rect(0, 2, 2, 4)}));
    // Side by side rectangles of equal height become one.
    EXPECT_EQ(TRegion::FromRects({Rect(0, 0, 2, 3), Rect(2, 0, 5, 3)}), TRegion(Rect(0, 0, 5, 3)));
}

TEST(Region, KindsBoundsAndQueries) {
    struct Case {
        const char *name;
        TRegion region;
        TRegionKind kind;
        TRect bounds;
    };
    const Case cases[] = {
        {"empty", TRegion(), NULLREGION, TRect{}},
        {"inverted rect", TRegion(Rect(5, 5, 1, 1)), NULLREGION, TRect{}},
        {"one rect", TRegion(Rect(1, 2, 3, 4)), SIMPLEREGION, Rect(1, 2, 3, 4)},
        {"two rects", TRegion::FromRects({Rect(0, 0, 1, 1), Rect(5, 6, 7, 8)}), COMPLEXREGION,
         Rect(0, 0, 7, 8)},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(k.region.GetKind(), k.kind);
        EXPECT_EQ(k.region.GetBounds(), k.bounds);
    }
    const TRegion ring = TRegion(Rect(0, 0, 10, 10)).Subtract(TRegion(Rect(3, 3, 7, 7)));
    EXPECT_TRUE(ring.Contains({0, 0}));
    EXPECT_FALSE(ring.Contains({5, 5}));
    EXPECT_FALSE(ring.Contains({10, 0})); // right edge excluded
    EXPECT_TRUE(ring.Intersects(Rect(2, 2, 4, 4)));
    EXPECT_FALSE(ring.Intersects(Rect(3, 3, 7, 7)));
    EXPECT_TRUE(ring.ContainsRect(Rect(0, 0, 10, 3)));
    EXPECT_FALSE(ring.ContainsRect(Rect(0, 0, 10, 4)));
    EXPECT_FALSE(ring.ContainsRect(TRect{}));
}

TEST(Region, OffsetMovesEveryRectangleAndClampsAtTheLimit) {
    TRegion r = TRegion::FromRects({Rect(0, 0, 2, 2), Rect(4, 4, 6, 6)});
    r.Offset(10, -3);
    EXPECT_EQ(r, TRegion::FromRects({Rect(10, -3, 12, -1), Rect(14, 1, 16, 3)}));
    TRegion huge(Rect(-5, 0, 5, 1));
    huge.Offset(INT32_MAX, 0);
    EXPECT_TRUE(huge.IsEmpty()) << "squeezed against the limit";
    TRegion wide(Rect(INT32_MIN, 0, INT32_MAX, 1));
    EXPECT_EQ(wide.GetBounds(), Rect(-TRegion::RegionLimit, 0, TRegion::RegionLimit, 1));
}

TEST(Region, ScaledMapsEdgesAndFlips) {
    const TRegion r = TRegion::FromRects({Rect(0, 0, 10, 10), Rect(20, 0, 30, 10)});
    EXPECT_EQ(r.Scaled(0.5, 2, 1, 0), TRegion::FromRects({Rect(1, 0, 6, 20), Rect(11, 0, 16, 20)}));
    EXPECT_EQ(r.Scaled(-1, 1, 0, 0),
              TRegion::FromRects({Rect(-10, 0, 0, 10), Rect(-30, 0, -20, 10)}));
}

TEST(Region, ManyRectanglesUniteQuickly) {
    // A checkerboard of 200 x 200 cells: 20,000 rectangles, none touching another.
    std::vector<TRect> cells;
    for (int y = 0; y < 200; ++y) {
        for (int x = y % 2; x < 200; x += 2) {
            cells.push_back(Bounds(x, y, 1, 1));
        }
    }
    const TRegion board = TRegion::FromRects(cells);
    EXPECT_EQ(board.GetRects().size(), cells.size());
    EXPECT_TRUE(board.Union(TRegion(Rect(0, 0, 200, 200)).Subtract(board)) ==
                TRegion(Rect(0, 0, 200, 200)));
}
