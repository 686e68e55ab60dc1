// Tests of the gradient renderers, the block-replication blits and the masked bitmap draw.
#include "controls/BvGrafx.h"

#include <gtest/gtest.h>

namespace {

using namespace controls;
using gfx::RGB;

constexpr TColor Bg = RGB(1, 2, 3);

uint32_t Px(gfx::TBitmap &b, int x, int y) {
    return gfx::ColorToRGB(b.GetCanvas().GetPixel(x, y));
}
uint32_t Rgb(TColor c) {
    return gfx::ColorToRGB(c);
}

gfx::TBitmap Canvas(int w, int h) {
    gfx::TBitmap b(w, h);
    b.GetCanvas().GetBrush().SetColor(Bg);
    b.GetCanvas().FillRect(gfx::Rect(0, 0, w, h));
    return b;
}

bool AllPixels(gfx::TBitmap &b, TColor c) {
    for (int y = 0; y < b.GetHeight(); ++y) {
        for (int x = 0; x < b.GetWidth(); ++x) {
            if (Px(b, x, y) != Rgb(c)) {
                return false;
            }
        }
    }
    return true;
}

const TGradientDirection AllDirections[] = {
    gdDiagonalUp,  gdDiagonalDown,   gdHorizontalEnd, gdHorizontalCenter, gdHorizontalBox,
    gdVerticalEnd, gdVerticalCenter, gdVerticalBox,   gdSquareBox,        gdBigSquareBox};

TEST(Gradients, EmptyRectanglesPaintNothing) {
    for (TGradientDirection d : AllDirections) {
        gfx::TBitmap b = Canvas(6, 6);
        PaintGradientRect(b.GetCanvas(), gfx::Rect(2, 2, 2, 5), d, gfx::clRed, gfx::clBlue, 1);
        PaintGradientRect(b.GetCanvas(), gfx::Rect(2, 2, 5, 2), d, gfx::clRed, gfx::clBlue, 1);
        EXPECT_TRUE(AllPixels(b, Bg)) << int(d);
    }
}

TEST(Gradients, EqualColoursFillSolid) {
    for (TGradientDirection d : AllDirections) {
        gfx::TBitmap b = Canvas(9, 7);
        PaintGradientRect(b.GetCanvas(), gfx::Rect(0, 0, 9, 7), d, gfx::clTeal, gfx::clTeal, 1);
        EXPECT_TRUE(AllPixels(b, gfx::clTeal)) << int(d);
    }
}

TEST(Gradients, SmallBoxIsSolidStartColour) {
    for (TGradientDirection d : {gdHorizontalBox, gdVerticalBox, gdSquareBox, gdBigSquareBox}) {
        gfx::TBitmap b = Canvas(4, 4);
        PaintGradientRect(b.GetCanvas(), gfx::Rect(0, 0, 4, 4), d, gfx::clRed, gfx::clBlue, 1);
        EXPECT_TRUE(AllPixels(b, gfx::clRed)) << int(d);
    }
}

TEST(Gradients, EndGradientsRunFromStartToStop) {
    gfx::TBitmap b = Canvas(3, 4);
    PaintGradientRect(b.GetCanvas(), gfx::Rect(0, 0, 3, 4), gdHorizontalEnd, gfx::clBlack,
                      RGB(255, 0, 100), 1);
    const TColor rows[] = {RGB(0, 0, 0), RGB(63, 0, 25), RGB(127, 0, 50), RGB(191, 0, 75)};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(Px(b, x, y), Rgb(rows[y])) << x << "," << y;
        }
    }
    gfx::TBitmap c = Canvas(4, 2);
    PaintGradientRect(c.GetCanvas(), gfx::Rect(0, 0, 4, 2), gdVerticalEnd, gfx::clBlack,
                      RGB(255, 0, 100), 1);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(Px(c, x, 1), Rgb(rows[x]));
    }
    gfx::TBitmap one = Canvas(5, 1);
    PaintGradientRect(one.GetCanvas(), gfx::Rect(0, 0, 5, 1), gdHorizontalEnd, gfx::clRed,
                      gfx::clBlue, 1);
    EXPECT_TRUE(AllPixels(one, gfx::clRed));
}

TEST(Gradients, CenterGradientsAreMirroredAndCopiedAcross) {
    gfx::TBitmap b = Canvas(20, 11);
    PaintGradientRect(b.GetCanvas(), gfx::Rect(0, 0, 20, 11), gdHorizontalCenter, gfx::clBlack,
                      gfx::clWhite, 1);
    EXPECT_EQ(Px(b, 0, 0), Rgb(gfx::clBlack));
    EXPECT_EQ(Px(b, 0, 10), Rgb(gfx::clBlack));
    EXPECT_EQ(Px(b, 0, 5), Rgb(gfx::clWhite));
    for (int y = 0; y < 11; ++y) {
        for (int x = 1; x < 20; ++x) {
            ASSERT_EQ(Px(b, x, y), Px(b, 0, y)) << x << "," << y;
        }
    }
    for (int y = 1; y < 5; ++y) {
        EXPECT_GT(Px(b, 0, y) & 0xFF, Px(b, 0, y - 1) & 0xFF) << y; // brightens to the middle
    }
    gfx::TBitmap c = Canvas(9, 12);
    PaintGradientRect(c.GetCanvas(), gfx::Rect(0, 0, 9, 12), gdVerticalCenter, gfx::clBlack,
                      gfx::clWhite, 1);
    EXPECT_EQ(Px(c, 0, 3), Rgb(gfx::clBlack));
    EXPECT_EQ(Px(c, 8, 3), Rgb(gfx::clBlack));
    EXPECT_EQ(Px(c, 4, 3), Rgb(gfx::clWhite));
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(Px(c, x, 11), Px(c, x, 0));
    }
}

TEST(Gradients, BoxGradientsGrowFromTheCentre) {
    for (TGradientDirection d : {gdHorizontalBox, gdVerticalBox, gdSquareBox, gdBigSquareBox}) {
        gfx::TBitmap b = Canvas(20, 16);
        PaintGradientRect(b.GetCanvas(), gfx::Rect(0, 0, 20, 16), d, gfx::clBlack, gfx::clWhite, 1);
        EXPECT_EQ(Px(b, 0, 0), Rgb(gfx::clBlack)) << int(d);
        EXPECT_EQ(Px(b, 9, 7), Rgb(gfx::clWhite)) << int(d);
        // The quarter is mirrored: rows and columns read the same from either end.
        for (int y = 0; y < 8; ++y) {
            EXPECT_EQ(Px(b, 2, y), Px(b, 2, 15 - y)) << int(d) << " row " << y;
        }
        EXPECT_EQ(Px(b, 3, 4), Px(b, 16, 4)) << int(d);
    }
}

TEST(Gradients, DiagonalGradientsRunCornerToCorner) {
    gfx::TBitmap up = Canvas(30, 20);
    PaintGradientRect(up.GetCanvas(), gfx::Rect(0, 0, 30, 20), gdDiagonalUp, gfx::clBlack,
                      gfx::clWhite, 1);
    EXPECT_EQ(Px(up, 0, 19), Rgb(gfx::clBlack));
    EXPECT_GT(Px(up, 29, 0) & 0xFF, 0xF0u);
    EXPECT_LT(Px(up, 0, 19) & 0xFF, Px(up, 15, 10) & 0xFF);
    gfx::TBitmap down = Canvas(30, 20);
    PaintGradientRect(down.GetCanvas(), gfx::Rect(0, 0, 30, 20), gdDiagonalDown, gfx::clBlack,
                      gfx::clWhite, 1);
    EXPECT_EQ(Px(down, 0, 0), Rgb(gfx::clBlack));
    EXPECT_GT(Px(down, 29, 19) & 0xFF, 0xF0u);
}

TEST(Blits, DoublingCopiesTheBlockOverTheArea) {
    gfx::TBitmap b = Canvas(10, 7);
    const TColor block[2][3] = {{gfx::clRed, gfx::clLime, gfx::clBlue},
                                {gfx::clYellow, gfx::clAqua, gfx::clFuchsia}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            b.GetCanvas().SetPixel(x, y, block[y][x]);
        }
    }
    FillByDoublingBlits(b, 0, 0, 10, 7, 3, 2);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 10; ++x) {
            ASSERT_EQ(Px(b, x, y), Rgb(block[y % 2][x % 3])) << x << "," << y;
        }
    }
}

TEST(Blits, MaskedDrawLeavesTheTransparentColourOut) {
    gfx::TBitmap glyph(4, 2);
    glyph.GetCanvas().GetBrush().SetColor(gfx::clOlive);
    glyph.GetCanvas().FillRect(gfx::Rect(0, 0, 4, 2));
    glyph.GetCanvas().SetPixel(3, 0, gfx::clRed);
    gfx::TBitmap b = Canvas(2, 2);
    DrawMaskedBitmap(b.GetCanvas(), glyph, gfx::Rect(0, 0, 2, 2), gfx::Rect(0, 0, 2, 2),
                     gfx::clOlive);
    EXPECT_TRUE(AllPixels(b, Bg)) << "a cell of only transparent pixels changes nothing";
    DrawMaskedBitmap(b.GetCanvas(), glyph, gfx::Rect(0, 0, 2, 2), gfx::Rect(2, 0, 4, 2),
                     gfx::clOlive);
    EXPECT_EQ(Px(b, 1, 0), Rgb(gfx::clRed));
    EXPECT_EQ(Px(b, 0, 0), Rgb(Bg));
    EXPECT_EQ(Px(b, 1, 1), Rgb(Bg));
}

TEST(Gradients, GradientRingLeavesTheInsideAlone) {
    gfx::TBitmap b = Canvas(10, 10);
    PaintGradientRing(b.GetCanvas(), gfx::Rect(0, 0, 10, 10), gdHorizontalEnd, gfx::clBlack,
                      gfx::clBlack);
    EXPECT_EQ(Px(b, 0, 5), Rgb(gfx::clBlack));
    EXPECT_EQ(Px(b, 1, 5), Rgb(gfx::clBlack));
    EXPECT_EQ(Px(b, 8, 5), Rgb(gfx::clBlack));
    EXPECT_EQ(Px(b, 2, 5), Rgb(Bg));
    EXPECT_EQ(Px(b, 5, 2), Rgb(Bg));
    SetFullColorScreenForTesting(false);
    gfx::TBitmap c = Canvas(10, 10);
    PaintGradientRing(c.GetCanvas(), gfx::Rect(0, 0, 10, 10), gdHorizontalEnd, gfx::clBlack,
                      gfx::clBlack);
    SetFullColorScreenForTesting(true);
    EXPECT_TRUE(AllPixels(c, Bg)) << "nothing on a screen of 256 colours";
}

} // namespace
