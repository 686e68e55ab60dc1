// Pixel access: clipped, blended, wrapped, and the antialiased plot and sample.
#include "raster/Raster.h"

#include <gtest/gtest.h>

using namespace raster;

namespace {
class PixelTest : public ::testing::Test {
protected:
    void SetUp() override {
        B.SetSize(6, 6);
        B.Clear(0xFF000000u);
        B.SetOuterColor(0x12345678u);
    }
    TCustomBitmap32 B;
};
} // namespace

TEST_F(PixelTest, SafeAccessOutsideTheClip) {
    EXPECT_EQ(B.GetPixelS(-1, 0), 0x12345678u);
    B.SetPixelS(-1, 0, 0xFFFFFFFFu);
    B.SetPixelS(6, 0, 0xFFFFFFFFu);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(B.GetPixel(x, y), 0xFF000000u);
        }
    }
}

TEST_F(PixelTest, WholePixelPlotPutsTheWholeWeightOnOnePixel) {
    B.SetPixelF(2.0f, 3.0f, 0xFF0000FFu);
    EXPECT_EQ(B.GetPixel(2, 3), CombinePixel(0xFF0000FFu, 0xFF000000u, 253));
    EXPECT_EQ(B.GetPixel(3, 3), 0xFF000000u);
    EXPECT_EQ(B.GetPixel(2, 4), 0xFF000000u);
    EXPECT_EQ(B.GetPixel(3, 4), 0xFF000000u);
}

TEST_F(PixelTest, HalfPixelPlotSplitsByGamma) {
    const TColor32 c = 0xC0FFFFFFu;
    B.SetPixelF(2.5f, 3.0f, c);
    EXPECT_EQ(B.GetPixel(2, 3), CombinePixel(c, 0xFF000000u, (0xC0 * GammaTable[127] * 255) >> 16));
    EXPECT_EQ(B.GetPixel(3, 3), CombinePixel(c, 0xFF000000u, (0xC0 * GammaTable[128] * 255) >> 16));
}

TEST_F(PixelTest, ClippedPlotLeftOfTheBitmapTouchesColumnZeroOnly) {
    B.SetPixelFS(-0.5f, 2.0f, 0xFFFFFFFFu);
    EXPECT_NE(B.GetPixel(0, 2), 0xFF000000u);
    EXPECT_EQ(B.GetPixel(1, 2), 0xFF000000u);
    B.Clear(0xFF000000u);
    B.SetPixelFS(-1.0f, 2.0f, 0xFFFFFFFFu);
    EXPECT_EQ(B.GetPixel(0, 2), 0xFF000000u);
}

TEST_F(PixelTest, ClippedSampleOnAndBeyondTheLastColumn) {
    B.SetPixel(5, 2, 0xFFAABBCCu);
    B.SetPixel(4, 2, 0xFF000000u);
    EXPECT_EQ(B.GetPixelFS(5.0f, 2.0f), 0xFFAABBCCu);
    EXPECT_EQ(B.GetPixelFS(5.0f + 1.0f / 256, 2.0f), 0x12345678u);
}

TEST_F(PixelTest, WrappedBilinearReadBlendsLastAndFirstColumns) {
    B.SetWrapMode(wmRepeat);
    for (int y = 0; y < 6; ++y) {
        B.SetPixel(5, y, 0xFFFFFFFFu);
        B.SetPixel(0, y, 0xFF000000u);
    }
    const TColor32 c = B.GetPixelXW(5 * 65536 + 32768, 2 * 65536);
    EXPECT_EQ(c, CombinePixel(0xFF000000u, 0xFFFFFFFFu, 128));
}

TEST_F(PixelTest, WrappedAccessOnEmptyClipOrBitmapDoesNotDivideByZero) {
    B.SetClipRect({10, 10, 20, 20});
    EXPECT_EQ(B.GetPixelW(3, 3), 0x12345678u);
    B.SetPixelW(3, 3, 0xFFFFFFFFu);
    B.SetPixelXW(3 << 16, 3 << 16, 0xFFFFFFFFu);
    EXPECT_EQ(B.GetPixelXW(3 << 16, 3 << 16), 0x12345678u);
    B.SetWrapMode(wmMirror);
    EXPECT_EQ(B.GetPixelW(-7, 2), 0x12345678u);
    TCustomBitmap32 empty;
    empty.SetWrapMode(wmRepeat);
    EXPECT_EQ(empty.GetPixelW(1, 1), 0u);
    EXPECT_EQ(empty.GetPixelFW(1.5f, 1.5f), 0u);
}

// Mended: the wrapped position may lie half a pixel before the clip's right or bottom edge, and
// the plot's lower neighbours fell outside. Here the clip is smaller than the bitmap, so a plot
// outside the clip lands in pixels the test can see: only the two pixels of the wrapped
// position's row inside the clip may change.
TEST(WrappedPlot, NearTheRightEdgeChangesOnlyPixelsInsideTheClip) {
    TCustomBitmap32 b;
    b.SetSize(8, 8);
    b.Clear(0xFF000000u);
    b.SetClipRect({0, 0, 6, 6});
    b.SetWrapMode(wmRepeat);
    // x = 6 - 1/65536 wraps to 127/256 (the clip spans 0 .. 5.5 in 24.8); y = 5.5 stays.
    b.SetPixelXW(6 * 65536 - 1, 5 * 65536 + 32768, 0xFFFFFFFFu);
    const uint32_t a = 255;
    const TColor32 expectedLeft =
        CombinePixel(0xFFFFFFFFu, 0xFF000000u, (a * GammaTable[128] * GammaTable[127]) >> 16);
    const TColor32 expectedRight =
        CombinePixel(0xFFFFFFFFu, 0xFF000000u, (a * GammaTable[127] * GammaTable[127]) >> 16);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            const TColor32 expected =
                y == 5 && x == 0 ? expectedLeft : (y == 5 && x == 1 ? expectedRight : 0xFF000000u);
            EXPECT_EQ(b.GetPixel(x, y), expected) << "pixel " << x << ", " << y;
        }
    }
    EXPECT_NE(expectedLeft, 0xFF000000u);
    EXPECT_NE(expectedRight, 0xFF000000u);
}

TEST_F(PixelTest, TransparentSetBlendsByCombineMode) {
    B.SetPixelT(1, 1, 0x80FFFFFFu);
    EXPECT_EQ(B.GetPixel(1, 1), BlendPixel(0x80FFFFFFu, 0xFF000000u));
    B.SetCombineMode(cmMerge);
    B.SetPixel(2, 2, 0);
    B.SetPixelT(2, 2, 0x80FFFFFFu);
    EXPECT_EQ(B.GetPixel(2, 2), 0x80FFFFFFu);
}
