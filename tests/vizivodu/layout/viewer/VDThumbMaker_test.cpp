// Thumbnails: size limits, which pictures get one, the cubic resampler's clamping, and
// one-pixel destinations.
#include "vizivodu/layout/viewer/VDThumbMaker.h"

#include "vizivodu/document/VDGrHandler.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/JPEGImage.h"
#include "platform/gfx/Picture.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

gfx::TBitmap Filled(int32_t w, int32_t h, uint32_t color) {
    gfx::TBitmap bitmap(w, h);
    bitmap.SetPixelFormat(gfx::pf24bit);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            bitmap.ScanLine(y)[x] = color;
        }
    }
    return bitmap;
}

uint32_t Blue(const gfx::TBitmap &bitmap, int32_t x, int32_t y) {
    return bitmap.ScanLine(y)[x] & 0xFF;
}

} // namespace

TEST(ThumbnailMaker, SizesAreLimited) {
    TVDThumbnailMaker maker;
    int32_t w = 6000;
    int32_t h = 1500;
    maker.AdjustThumbnailSize(w, h);
    EXPECT_EQ(w, 3000);
    EXPECT_EQ(h, 750);
    w = h = 3000;
    maker.AdjustThumbnailSize(w, h);
    EXPECT_EQ(w, 3000);
    EXPECT_EQ(h, 3000);
    w = 5;
    h = 7;
    maker.SetMaxThumbnailSize(2); // 5 / 7 * 2 = 1.43 -> 1
    maker.AdjustThumbnailSize(w, h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 2);
}

TEST(ThumbnailMaker, OnlyAllowedOpaquePicturesOfAnotherSize) {
    TVDThumbnailMaker maker;
    const gfx::TBitmap bitmap = Filled(20, 10, 0xFF808080u);
    EXPECT_TRUE(maker.MakeThumbnail(bitmap, 10, 5));
    EXPECT_FALSE(maker.MakeThumbnail(bitmap, 20, 10)); // already that size
    EXPECT_FALSE(maker.MakeThumbnail(bitmap, 0, 5));
    gfx::TBitmap transparent = bitmap;
    transparent.SetTransparent(true);
    EXPECT_FALSE(maker.MakeThumbnail(transparent, 10, 5));
    gfx::TPngImage png; // not an allowed class
    EXPECT_FALSE(maker.MakeThumbnail(png, 10, 5));
    EXPECT_FALSE(maker.MakeThumbnail(gfx::TBitmap(), 10, 5));
    maker.DisallowThumbnailsFor(BitmapGraphicClass());
    EXPECT_FALSE(maker.MakeThumbnail(bitmap, 10, 5));
    maker.AllowThumbnailsFor(BitmapGraphicClass());
    EXPECT_TRUE(maker.IsAllowedFor(BitmapGraphicClass()));
    EXPECT_TRUE(maker.IsAllowedFor(JPEGGraphicClass()));
    // Enlarging a picture beyond the limit is refused.
    maker.SetMaxThumbnailSize(15);
    EXPECT_FALSE(maker.MakeThumbnail(bitmap, 40, 20));
    auto limited = maker.MakeThumbnail(bitmap, 12, 30); // reduced and limited to 6 x 15
    ASSERT_TRUE(limited);
    EXPECT_EQ(limited->GetWidth(), 6);
    EXPECT_EQ(limited->GetHeight(), 15);
    EXPECT_EQ(limited->GetPixelFormat(), gfx::pf24bit);
}

TEST(ThumbnailMaker, KernelIsTheMitchellCubic) {
    EXPECT_NEAR(TVDThumbnailMaker::CubicKernel(0), 16.0 / 18, 1e-12);
    EXPECT_NEAR(TVDThumbnailMaker::CubicKernel(1), 1.0 / 18, 1e-12);
    EXPECT_NEAR(TVDThumbnailMaker::CubicKernel(-1.5), -0.03472222222, 1e-9);
    EXPECT_EQ(TVDThumbnailMaker::CubicKernel(2), 0);
    EXPECT_EQ(TVDThumbnailMaker::CubicKernel(-7), 0);
}

TEST(ThumbnailMaker, ChannelSumsAreClampedNotWrapped) {
    // One white column among black ones: the kernel's negative lobes pull the black pixels
    // beside it below 0; one black column among white ones pushes the white ones above 255.
    // Rows repeat, and row 6 of 13 lies where the vertical weights add up to 1.
    gfx::TBitmap dark = Filled(7, 7, 0xFF000000u);
    gfx::TBitmap light = Filled(7, 7, 0xFFFFFFFFu);
    for (int32_t y = 0; y < 7; ++y) {
        dark.ScanLine(y)[3] = 0xFFFFFFFFu;
        light.ScanLine(y)[3] = 0xFF000000u;
    }
    gfx::TBitmap wide(13, 13);
    TVDThumbnailMaker::StretchBitmapCubic(dark, wide, 2);
    EXPECT_EQ(Blue(wide, 3, 6), 0u);   // centre 1.5: -0.035 x 255 clamped to 0
    EXPECT_EQ(Blue(wide, 6, 6), 227u); // centre 3: 0.889 x 255 = 226.67
    TVDThumbnailMaker::StretchBitmapCubic(light, wide, 2);
    EXPECT_EQ(Blue(wide, 3, 6), 255u); // 1.035 x 255 clamped to 255
    EXPECT_EQ(Blue(wide, 6, 6), 28u);  // 0.111 x 255 = 28.3
}

TEST(ThumbnailMaker, OnePixelThumbnailIsNotBlack) {
    TVDThumbnailMaker maker;
    const gfx::TBitmap grey = Filled(100, 50, 0xFF646464u);
    auto column = maker.MakeThumbnail(grey, 1, 25);
    ASSERT_TRUE(column);
    auto row = maker.MakeThumbnail(grey, 50, 1);
    ASSERT_TRUE(row);
    for (const gfx::TBitmap *thumb : {column.get(), row.get()}) {
        const uint32_t value = Blue(*thumb, 0, 0);
        EXPECT_GE(value, 98u);
        EXPECT_LE(value, 102u);
    }
}
