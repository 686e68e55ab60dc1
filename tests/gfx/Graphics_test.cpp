// The canvas's GDI rules, checked on the pixels of bitmaps and of external pixel memory.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"

#include <gtest/gtest.h>

#include <vector>

using namespace gfx;

namespace {

// A white 20 x 20 bitmap with a black pen and a red brush.
struct CanvasFixture : ::testing::Test {
    TBitmap bmp{20, 20};
    TCanvas &c = bmp.GetCanvas();
    void SetUp() override {
        c.GetPen().SetColor(clBlack);
        c.GetBrush().SetColor(clRed);
    }
    TColor At(int x, int y) { return c.GetPixel(x, y); }
};

} // namespace

TEST_F(CanvasFixture, FillRectLeavesOutRightAndBottomEdges) {
    c.FillRect(Rect(2, 3, 6, 8));
    EXPECT_EQ(At(2, 3), clRed);
    EXPECT_EQ(At(5, 7), clRed);
    EXPECT_EQ(At(6, 3), clWhite);
    EXPECT_EQ(At(2, 8), clWhite);
    EXPECT_EQ(At(1, 3), clWhite);
    EXPECT_EQ(At(2, 2), clWhite);
}

TEST_F(CanvasFixture, FillRectOfInvertedRectangleDrawsNothing) {
    c.FillRect(Rect(6, 8, 2, 3));
    EXPECT_EQ(At(4, 5), clWhite);
}

TEST_F(CanvasFixture, RectangleFramesWithPenInsideTheRightAndBottomEdges) {
    c.Rectangle(1, 1, 6, 5);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{1, 1}, {5, 1}, {1, 4}, {5, 4}, {3, 1}}) {
        EXPECT_EQ(At(x, y), clBlack) << x << "," << y;
    }
    EXPECT_EQ(At(2, 2), clRed);
    EXPECT_EQ(At(4, 3), clRed);
    EXPECT_EQ(At(6, 1), clWhite);
    EXPECT_EQ(At(1, 5), clWhite);
}

TEST_F(CanvasFixture, RectangleWithClearPenFillsOnePixelLess) {
    c.GetPen().SetStyle(psClear);
    c.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(At(1, 1), clRed);
    EXPECT_EQ(At(4, 3), clRed);
    EXPECT_EQ(At(5, 3), clWhite);
    EXPECT_EQ(At(4, 4), clWhite);
}

TEST_F(CanvasFixture, LineToLeavesOutItsLastPixelAndKeepsThePenThere) {
    struct Case {
        TPoint from, to, lastDrawn;
    };
    const Case cases[] = {
        {{1, 1}, {6, 1}, {5, 1}},       // right
        {{6, 3}, {1, 3}, {2, 3}},       // left
        {{2, 4}, {2, 9}, {2, 8}},       // down
        {{10, 10}, {14, 14}, {13, 13}}, // diagonal
        {{15, 9}, {15, 4}, {15, 5}},    // up
    };
    for (const Case &k : cases) {
        c.MoveTo(k.from.X, k.from.Y);
        c.LineTo(k.to.X, k.to.Y);
        EXPECT_EQ(At(k.from.X, k.from.Y), clBlack);
        EXPECT_EQ(At(k.lastDrawn.X, k.lastDrawn.Y), clBlack);
        EXPECT_EQ(At(k.to.X, k.to.Y), clWhite) << k.to.X << "," << k.to.Y;
        EXPECT_EQ(c.GetPenPos(), k.to);
    }
}

TEST_F(CanvasFixture, LineToTheSamePointDrawsNothing) {
    c.MoveTo(3, 3);
    c.LineTo(3, 3);
    EXPECT_EQ(At(3, 3), clWhite);
}

TEST_F(CanvasFixture, ClipRectKeepsDrawingInside) {
    c.IntersectClipRect(Rect(5, 5, 10, 10));
    c.FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(c.GetClipRect(), Rect(5, 5, 10, 10));
    c.ResetClipRect();
    EXPECT_EQ(At(5, 5), clRed);
    EXPECT_EQ(At(9, 9), clRed);
    EXPECT_EQ(At(10, 9), clWhite);
    EXPECT_EQ(At(4, 5), clWhite);
    EXPECT_EQ(At(-1, 0), -1);
}

TEST_F(CanvasFixture, PixelsReadBackWhatWasSet) {
    c.SetPixel(7, 8, RGB(1, 2, 3));
    EXPECT_EQ(At(7, 8), RGB(1, 2, 3));
    c.SetPixel(0, 0, clBtnFace);
    EXPECT_EQ(uint32_t(At(0, 0)), ColorToRGB(clBtnFace));
}

TEST_F(CanvasFixture, ResizingKeepsPixelsAndCanvasState) {
    c.SetPixel(1, 1, clBlue);
    bmp.SetSize(30, 5);
    EXPECT_EQ(At(1, 1), clBlue);
    EXPECT_EQ(At(25, 2), clWhite);
    EXPECT_EQ(c.GetBrush().GetColor(), clRed);
    EXPECT_EQ(c.GetClipRect(), Rect(0, 0, 30, 5));
}

TEST(PixelCanvas, DrawsStraightIntoTheCallersMemory) {
    const int w = 6, h = 4, stride = 8 * 4; // two padding words per row
    std::vector<uint32_t> mem(size_t(stride / 4 * h), 0x11223344u);
    TPixelCanvas pc(mem.data(), w, h, stride);
    pc.GetBrush().SetColor(clRed);
    pc.FillRect(Rect(1, 1, 3, 3));
    EXPECT_EQ(mem[1 * 8 + 1], 0xFFFF0000u);
    EXPECT_EQ(mem[2 * 8 + 2], 0xFFFF0000u);
    EXPECT_EQ(mem[1 * 8 + 3], 0x11223344u);
    EXPECT_EQ(mem[0 * 8 + 6], 0x11223344u); // padding untouched
    pc.FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(mem[3 * 8 + 7], 0x11223344u);
    EXPECT_EQ(pc.GetSurfaceSize(), (TSize{6, 4}));
}

TEST(PixelCanvas, ReadsPixelsIgnoringAlpha) {
    std::vector<uint32_t> mem(4, 0x0000FF00u); // green with alpha 0
    TPixelCanvas pc(mem.data(), 2, 2, 8);
    EXPECT_EQ(pc.GetPixel(1, 1), clLime);
}

TEST(DrawPixels32, CopiesIgnoringAlphaAndScales) {
    // 2 x 2 source: red, green / blue, white with assorted alpha bytes.
    const uint32_t src[4] = {0x00FF0000u, 0x8000FF00u, 0x000000FFu, 0x7FFFFFFFu};
    TBitmap bmp(6, 6);
    TCanvas &c = bmp.GetCanvas();
    c.DrawPixels32(Rect(0, 0, 4, 4), src, 2, 2, 8, Rect(0, 0, 2, 2));
    EXPECT_EQ(c.GetPixel(0, 0), clRed);
    EXPECT_EQ(c.GetPixel(1, 1), clRed);
    EXPECT_EQ(c.GetPixel(2, 0), clLime);
    EXPECT_EQ(c.GetPixel(1, 3), clBlue);
    EXPECT_EQ(c.GetPixel(3, 3), clWhite);
    EXPECT_EQ(c.GetPixel(4, 4), clWhite); // outside dest
}

TEST(DrawPixels32, DropsTheSourcePartOutsideTheMemory) {
    const uint32_t src[1] = {0x000000FFu};
    TBitmap bmp(4, 4);
    TCanvas &c = bmp.GetCanvas();
    c.GetBrush().SetColor(clBlack);
    c.FillRect(Rect(0, 0, 4, 4));
    c.DrawPixels32(Rect(0, 0, 2, 2), src, 1, 1, 4, Rect(-1, -1, 1, 1));
    EXPECT_EQ(c.GetPixel(0, 0), clBlack);
    EXPECT_EQ(c.GetPixel(1, 1), clBlue);
    EXPECT_EQ(c.GetPixel(2, 2), clBlack);
}

// Regression: an unscaled copy used to carry the source's alpha byte into targets that keep
// alpha (a pf32bit bitmap, pixel memory), so the copied pixels were not opaque.
TEST(DrawPixels32, LeavesOpaquePixelsInTargetsThatKeepAlpha) {
    const uint32_t src[4] = {0x00FF0000u, 0x8000FF00u, 0x000000FFu, 0x7FFFFFFFu};
    struct Case {
        const char *name;
        TRect dest;
    };
    for (const Case &k : {Case{"unscaled", Rect(0, 0, 2, 2)}, Case{"scaled", Rect(0, 0, 4, 4)}}) {
        SCOPED_TRACE(k.name);
        TBitmap bmp(4, 4);
        bmp.SetPixelFormat(pf32bit);
        bmp.GetCanvas().DrawPixels32(k.dest, src, 2, 2, 8, Rect(0, 0, 2, 2));
        EXPECT_EQ(bmp.ScanLine(0)[0], 0xFFFF0000u);
        EXPECT_EQ(bmp.ScanLine(k.dest.Bottom - 1)[k.dest.Right - 1], 0xFFFFFFFFu);
        std::vector<uint32_t> mem(16, 0u);
        TPixelCanvas pc(mem.data(), 4, 4, 16);
        pc.DrawPixels32(k.dest, src, 2, 2, 8, Rect(0, 0, 2, 2));
        EXPECT_EQ(mem[0], 0xFFFF0000u);
        EXPECT_EQ(mem[size_t(k.dest.Right - 1)], 0xFF00FF00u);
        EXPECT_EQ(mem[15], k.dest.Right == 4 ? 0xFFFFFFFFu : 0u); // outside dest stays
    }
}

TEST(DrawPixels32, CopiesALowerPartOfMemoryWithAlpha) {
    // Full-width rows below the first: the opaque copy of the part must keep its offset.
    const uint32_t src[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0x00FFFFFFu};
    TBitmap bmp(2, 1);
    bmp.SetPixelFormat(pf32bit);
    bmp.GetCanvas().DrawPixels32(Rect(0, 0, 2, 1), src, 2, 2, 8, Rect(0, 1, 2, 2));
    EXPECT_EQ(bmp.ScanLine(0)[0], 0xFF0000FFu);
    EXPECT_EQ(bmp.ScanLine(0)[1], 0xFFFFFFFFu);
}

TEST(Bitmap, DrawsOnAnotherCanvasOpaque) {
    TBitmap a(3, 3), b(5, 5);
    a.GetCanvas().SetPixel(0, 0, clRed);
    b.GetCanvas().Draw(2, 2, a);
    EXPECT_EQ(b.GetCanvas().GetPixel(2, 2), clRed);
    EXPECT_EQ(b.GetCanvas().GetPixel(1, 1), clWhite);
    TBitmap copy(a);
    EXPECT_EQ(copy.GetCanvas().GetPixel(0, 0), clRed);
    EXPECT_EQ(copy.ScanLine(0)[0], 0xFFFF0000u);
    EXPECT_EQ(copy.ScanLine(3), nullptr);
}

TEST_F(CanvasFixture, ClipRegionsExcludeAndUnite) {
    c.IntersectClipRect(Rect(0, 0, 10, 10));
    c.ExcludeClipRect(Rect(2, 2, 4, 4));
    c.UnionClipRect(Rect(15, 15, 17, 17));
    c.FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(At(3, 3), -1); // outside the clip, as GetPixel reports it
    EXPECT_EQ(c.GetClipRect(), Rect(0, 0, 17, 17));
    EXPECT_FALSE(c.PtVisible({3, 3}));
    c.ResetClipRect();
    EXPECT_EQ(At(1, 1), clRed);
    EXPECT_EQ(At(3, 3), clWhite);
    EXPECT_EQ(At(12, 12), clWhite);
    EXPECT_EQ(At(16, 16), clRed);
}

TEST_F(CanvasFixture, RestoreDCBringsBackObjectsAndClip) {
    const int level = c.SaveDC();
    c.IntersectClipRect(Rect(0, 0, 2, 2));
    c.GetBrush().SetColor(clBlue);
    c.MoveTo(9, 9);
    c.SaveDC();
    c.GetPen().SetWidth(3);
    EXPECT_TRUE(c.RestoreDC(level));
    EXPECT_EQ(c.GetBrush().GetColor(), clRed);
    EXPECT_EQ(c.GetPen().GetWidth(), 1);
    EXPECT_EQ(c.GetPenPos(), (TPoint{0, 0}));
    c.FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(At(10, 10), clRed);
    EXPECT_FALSE(c.RestoreDC(-1)); // nothing saved any more
}

TEST_F(CanvasFixture, PatternBrushTilesFromTheDeviceOrigin) {
    TBitmap pattern(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            pattern.GetCanvas().SetPixel(x, y, (x + y) % 2 == 0 ? clSilver : clBlue);
        }
    }
    c.GetBrush().SetBitmap(&pattern);
    c.FillRect(Rect(3, 5, 12, 14));
    EXPECT_EQ(At(3, 5), clSilver); // (3 + 5) is even
    EXPECT_EQ(At(4, 5), clBlue);
    EXPECT_EQ(At(11, 13), clSilver);
    EXPECT_EQ(At(12, 13), clWhite);
    c.GetBrush().SetBitmap(nullptr);
}

TEST_F(CanvasFixture, FocusRectInvertsEveryOtherBorderPixelAndUndoes) {
    c.DrawFocusRect(Rect(2, 2, 8, 6));
    EXPECT_EQ(At(2, 2), clBlack);
    EXPECT_EQ(At(3, 2), clWhite);
    EXPECT_EQ(At(4, 2), clBlack);
    EXPECT_EQ(At(7, 5), clBlack); // (7 - 2) + (5 - 2) is even
    EXPECT_EQ(At(7, 4), clWhite);
    EXPECT_EQ(At(4, 4), clWhite); // inside untouched
    c.DrawFocusRect(Rect(2, 2, 8, 6));
    EXPECT_EQ(At(2, 2), clWhite);
}
