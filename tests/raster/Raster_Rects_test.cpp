// Filled, outlined and raised rectangles.
#include "raster/Raster.h"

#include <gtest/gtest.h>

#include <vector>

using namespace raster;

namespace {
constexpr TColor32 kBack = 0xFF000000u;

int CountNot(const TCustomBitmap32 &b, TColor32 c) {
    int n = 0;
    for (int i = 0; i < b.GetWidth() * b.GetHeight(); ++i) {
        n += b.GetBits()[i] != c;
    }
    return n;
}
} // namespace

TEST(Rects, ClippedFillIsCutAndReportsTheCutRectangle) {
    TCustomBitmap32 b;
    b.SetSize(10, 10);
    std::vector<TRect> areas;
    b.OnAreaChanged = [&areas](TCustomBitmap32 *, const TRect &r, uint32_t) { areas.push_back(r); };
    b.FillRectS(-5, -5, 3, 3, 0xFFFFFFFFu);
    EXPECT_EQ(CountNot(b, kBack), 9);
    EXPECT_EQ(b.GetPixel(2, 2), 0xFFFFFFFFu);
    ASSERT_FALSE(areas.empty());
    EXPECT_EQ(areas.back(), (TRect{0, 0, 3, 3}));
}

TEST(Rects, EmptyFillStillReports) {
    TCustomBitmap32 b;
    b.SetSize(10, 10);
    std::vector<TRect> areas;
    b.OnAreaChanged = [&areas](TCustomBitmap32 *, const TRect &r, uint32_t) { areas.push_back(r); };
    b.FillRectS(4, 1, 4, 8, 0xFFFFFFFFu);
    EXPECT_EQ(CountNot(b, kBack), 0);
    EXPECT_EQ(areas, (std::vector<TRect>{{4, 1, 4, 8}}));
}

TEST(Rects, TransparentFillWithZeroAlphaIsSilent) {
    TCustomBitmap32 b;
    b.SetSize(4, 4);
    int events = 0;
    b.OnAreaChanged = [&events](TCustomBitmap32 *, const TRect &, uint32_t) { ++events; };
    b.FillRectT(0, 0, 4, 4, 0x00FFFFFFu);
    EXPECT_EQ(events, 0);
}

TEST(Rects, TransparentFillCombinesByAlpha) {
    TCustomBitmap32 b;
    b.SetSize(40, 3);
    b.FillRectTS(-1, 1, 50, 2, 0x80FF8040u);
    EXPECT_EQ(b.GetPixel(0, 1), CombinePixel(0x80FF8040u, kBack, 0x80));
    EXPECT_EQ(b.GetPixel(39, 1), CombinePixel(0x80FF8040u, kBack, 0x80));
    EXPECT_EQ(b.GetPixel(5, 0), kBack);
}

TEST(Rects, OneColumnFrameBlendsEachPixelOnce) {
    TCustomBitmap32 b;
    b.SetSize(8, 8);
    b.FrameRectTS(2, 2, 3, 7, 0x80FFFFFFu);
    const TColor32 once = BlendPixel(0x80FFFFFFu, kBack);
    for (int y = 2; y < 7; ++y) {
        EXPECT_EQ(b.GetPixel(2, y), once) << y;
    }
    EXPECT_EQ(CountNot(b, kBack), 5);
}

TEST(Rects, FrameColoursTheBorderOnly) {
    TCustomBitmap32 b;
    b.SetSize(4, 4);
    b.FrameRectS(0, 0, 4, 4, 0xFFFFFFFFu);
    EXPECT_EQ(CountNot(b, kBack), 12);
    EXPECT_EQ(b.GetPixel(1, 1), kBack);
    EXPECT_EQ(b.GetPixel(2, 2), kBack);
}

TEST(Rects, RaisedFrameLightensTopLeftAndDarkensBottomRight) {
    TCustomBitmap32 b;
    b.SetSize(5, 5);
    b.Clear(0xFF808080u);
    b.RaiseRectTS(0, 0, 5, 5, 50);
    EXPECT_EQ(b.GetPixel(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(0, 2), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(2, 4), BlendPixel(0x7F000000u, 0xFF808080u));
    EXPECT_EQ(b.GetPixel(4, 2), BlendPixel(0x7F000000u, 0xFF808080u));
    EXPECT_EQ(b.GetPixel(2, 2), 0xFF808080u);
}

TEST(Rects, StippledFrameRunsClockwise) {
    TCustomBitmap32 b;
    b.SetSize(3, 3);
    b.SetStipple({0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u, 0xFF000005u, 0xFF000006u,
                  0xFF000007u, 0xFF000008u});
    b.FrameRectTSP(0, 0, 3, 3);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF000001u);
    EXPECT_EQ(b.GetPixel(2, 0), 0xFF000003u);
    EXPECT_EQ(b.GetPixel(2, 2), 0xFF000005u);
    EXPECT_EQ(b.GetPixel(0, 2), 0xFF000007u);
    EXPECT_EQ(b.GetPixel(0, 1), 0xFF000008u);
}
