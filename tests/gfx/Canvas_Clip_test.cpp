// Canvas clipping: regions combined as GDI does, drawing that touches only the clip, and the
// clip kept in device pixels under a mapping.
#include "platform/gfx/Graphics.h"

#include <gtest/gtest.h>

#include <vector>

using namespace gfx;

namespace {

struct Surface {
    static constexpr int W = 30, H = 20;
    std::vector<uint32_t> mem = std::vector<uint32_t>(W * H, 0xFFFFFFFFu);
    TPixelCanvas c{mem.data(), W, H, W * 4};
    Surface() { c.GetBrush().SetColor(clBlack); }
    bool Painted(int x, int y) const { return mem[size_t(y * W + x)] != 0xFFFFFFFFu; }
    // The painted pixels as a region.
    TRegion PaintedRegion() const {
        std::vector<TRect> px;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                if (Painted(x, y)) {
                    px.push_back(Bounds(x, y, 1, 1));
                }
            }
        }
        return TRegion::FromRects(px);
    }
};

} // namespace

TEST(Clip, CombinedRegionsLimitDrawingToExactlyTheResult) {
    const TRegion a = TRegion::FromRects({Rect(2, 2, 12, 12), Rect(20, 3, 26, 9)});
    const TRegion b = TRegion(Rect(8, 6, 24, 16));
    struct Case {
        const char *name;
        TRegionOp op;
    };
    for (const Case &k :
         {Case{"union", RGN_OR}, Case{"intersection", RGN_AND}, Case{"difference", RGN_DIFF},
          Case{"exclusive or", RGN_XOR}, Case{"copy", RGN_COPY}}) {
        SCOPED_TRACE(k.name);
        Surface s;
        s.c.SelectClipRgn(&a);
        s.c.ExtSelectClipRgn(&b, k.op);
        const TRegion expected = k.op == RGN_COPY ? b : a.Combine(b, k.op);
        TRegion clip;
        ASSERT_EQ(s.c.GetClipRgn(clip), 1);
        EXPECT_EQ(clip, expected);
        // Every kind of shape, drawn over the whole surface, stays inside the clip.
        s.c.FillRect(Rect(0, 0, Surface::W, Surface::H));
        EXPECT_EQ(s.PaintedRegion(), expected);
        s.c.GetPen().SetWidth(5);
        s.c.Ellipse(-10, -10, 40, 30);
        s.c.MoveTo(-100, 50);
        s.c.LineTo(100, -50);
        s.c.TextOut(0, 0, u"WWWWWWWW");
        EXPECT_TRUE(expected.Union(s.PaintedRegion()) == expected);
    }
}

TEST(Clip, NoClipRegionIsAStateOfItsOwn) {
    Surface s;
    TRegion clip(Rect(1, 1, 2, 2));
    EXPECT_EQ(s.c.GetClipRgn(clip), 0);
    EXPECT_EQ(s.c.GetClipRect(), Rect(0, 0, Surface::W, Surface::H));
    // Uniting with no clip region keeps everything; intersecting starts from the surface.
    const TRegion r(Rect(5, 5, 6, 6));
    EXPECT_EQ(s.c.ExtSelectClipRgn(&r, RGN_OR), SIMPLEREGION);
    EXPECT_EQ(s.c.GetClipRect(), Rect(0, 0, Surface::W, Surface::H));
    EXPECT_EQ(s.c.SelectClipRgn(nullptr), SIMPLEREGION);
    EXPECT_EQ(s.c.GetClipRgn(clip), 0);
    EXPECT_EQ(s.c.ExtSelectClipRgn(nullptr, RGN_AND), RGN_ERROR);
}

TEST(Clip, UnitingCanBeUndoneThroughTheSavedRegion) {
    // The document library saves the clip, narrows it range by range and unites, then puts
    // the saved one back.
    Surface s;
    s.c.IntersectClipRect(0, 0, 20, 20);
    TRegion saved;
    ASSERT_EQ(s.c.GetClipRgn(saved), 1);
    s.c.SelectClipRgn(nullptr);
    s.c.IntersectClipRect(2, 2, 4, 4);
    TRegion first;
    s.c.GetClipRgn(first);
    s.c.SelectClipRgn(nullptr);
    s.c.IntersectClipRect(10, 2, 12, 4);
    s.c.ExtSelectClipRgn(&first, RGN_OR);
    s.c.ExtSelectClipRgn(&saved, RGN_AND);
    s.c.FillRect(Rect(0, 0, 30, 20));
    EXPECT_EQ(s.PaintedRegion(), TRegion::FromRects({Rect(2, 2, 4, 4), Rect(10, 2, 12, 4)}));
    s.c.SelectClipRgn(&saved);
    EXPECT_EQ(s.c.GetClipRect(), Rect(0, 0, 20, 20));
}

TEST(Clip, LogicalRectanglesAreKeptInDevicePixels) {
    Surface s;
    s.c.SetMapMode(MM_ANISOTROPIC);
    s.c.SetWindowExtEx(10, 10);
    s.c.SetViewportExtEx(20, 20);
    s.c.IntersectClipRect(1, 1, 5, 4);
    TRegion clip;
    s.c.GetClipRgn(clip);
    EXPECT_EQ(clip, TRegion(Rect(2, 2, 10, 8)));
    EXPECT_EQ(s.c.GetClipRect(), Rect(1, 1, 5, 4)); // the box comes back in logical units
    // Changing the mapping afterwards leaves the clip where it is on the device.
    s.c.SetViewportExtEx(10, 10);
    EXPECT_EQ(s.c.GetClipRect(), Rect(2, 2, 10, 8));
    EXPECT_TRUE(s.c.PtVisible({3, 3}));
    EXPECT_FALSE(s.c.PtVisible({1, 1}));
    s.c.OffsetClipRgn(1, 0);
    s.c.GetClipRgn(clip);
    EXPECT_EQ(clip, TRegion(Rect(3, 2, 11, 8)));
}

TEST(Clip, RotatedClipRectanglesCoverTheirPixels) {
    Surface s;
    s.c.SetGraphicsMode(GM_ADVANCED);
    // A quarter turn about (15, 10): the logical rectangle (0, 0)-(4, 8) stands on its side.
    s.c.SetWorldTransform({0, 1, -1, 0, 15, 10});
    s.c.IntersectClipRect(0, 0, 4, 8);
    TRegion clip;
    s.c.GetClipRgn(clip);
    EXPECT_EQ(clip, TRegion(Rect(7, 10, 15, 14)));
}

TEST(Clip, SaveAndRestoreBringTheClipBack) {
    Surface s;
    const int level = s.c.SaveDC();
    s.c.IntersectClipRect(0, 0, 3, 3);
    s.c.SaveDC();
    s.c.ExcludeClipRect(0, 0, 1, 1);
    EXPECT_TRUE(s.c.RestoreDC(-1));
    TRegion clip;
    s.c.GetClipRgn(clip);
    EXPECT_EQ(clip, TRegion(Rect(0, 0, 3, 3)));
    EXPECT_TRUE(s.c.RestoreDC(level));
    EXPECT_EQ(s.c.GetClipRgn(clip), 0);
}
