// Block and stretch transfers, resamplers, and the interpolation and block-average routines.
#include "raster/Raster_Resamplers.h"

#include "raster/Raster_System.h"

#include <gtest/gtest.h>

#include <vector>

using namespace raster;

namespace {

void Fill(TCustomBitmap32 &b, int w, int h) {
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            b.SetPixel(x, y, 0xFF000000u | uint32_t(y << 8) | uint32_t(x));
        }
    }
}

} // namespace

TEST(Transfer, NilBitmapsRaise) {
    TCustomBitmap32 b;
    b.SetSize(2, 2);
    EXPECT_THROW(TransferBlock(nullptr, 0, 0, {}, &b, {}, dmOpaque), EBitmapException);
    EXPECT_THROW(TransferBlock(&b, 0, 0, {}, nullptr, {}, dmOpaque), EBitmapException);
    EXPECT_NO_THROW(b.Draw(0, 0, nullptr));
}

TEST(Transfer, NegativeOffsetCutsTheSourceAndReportsFromZero) {
    TCustomBitmap32 src, dst;
    Fill(src, 10, 10);
    dst.SetSize(10, 10);
    std::vector<TRect> areas;
    dst.OnAreaChanged = [&areas](TCustomBitmap32 *, const TRect &r, uint32_t) {
        areas.push_back(r);
    };
    dst.Draw(-5, -5, &src);
    EXPECT_EQ(dst.GetPixel(0, 0), src.GetPixel(5, 5));
    EXPECT_EQ(dst.GetPixel(4, 4), src.GetPixel(9, 9));
    EXPECT_EQ(dst.GetPixel(5, 5), 0xFF000000u);
    EXPECT_EQ(areas, (std::vector<TRect>{{0, 0, 5, 5}}));
}

TEST(Transfer, BlendWithZeroMasterAlphaDoesNothing) {
    TCustomBitmap32 src, dst;
    Fill(src, 4, 4);
    dst.SetSize(4, 4);
    src.SetDrawMode(dmBlend);
    src.SetMasterAlpha(0);
    int events = 0;
    dst.OnAreaChanged = [&events](TCustomBitmap32 *, const TRect &, uint32_t) { ++events; };
    dst.Draw(0, 0, &src);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(dst.GetPixel(1, 1), 0xFF000000u);
}

TEST(Transfer, MeasuringDestinationOnlyReports) {
    TCustomBitmap32 src, dst;
    Fill(src, 4, 4);
    dst.SetSize(4, 4);
    std::vector<TRect> areas;
    dst.BeginMeasuring(
        [&areas](TCustomBitmap32 *, const TRect &r, uint32_t) { areas.push_back(r); });
    dst.Draw(2, 1, &src);
    dst.EndMeasuring();
    EXPECT_EQ(dst.GetPixel(3, 3), 0xFF000000u);
    EXPECT_EQ(areas, (std::vector<TRect>{{2, 1, 4, 4}}));
}

TEST(Transfer, DrawModes) {
    TCustomBitmap32 src, dst;
    src.SetSize(3, 1);
    src.SetPixel(0, 0, 0);
    src.SetPixel(1, 0, 0x80FFFFFFu);
    src.SetPixel(2, 0, 0xFF00FF00u);
    dst.SetSize(3, 1);
    src.SetDrawMode(dmTransparent);
    dst.Draw(0, 0, &src);
    EXPECT_EQ(dst.GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(dst.GetPixel(1, 0), 0x80FFFFFFu);
    dst.Clear();
    src.SetDrawMode(dmBlend);
    dst.Draw(0, 0, &src);
    EXPECT_EQ(dst.GetPixel(1, 0), BlendPixel(0x80FFFFFFu, 0xFF000000u));
    EXPECT_EQ(dst.GetPixel(2, 0), 0xFF00FF00u);
    dst.Clear();
    src.SetDrawMode(dmCustom); // without an event: opaque
    dst.Draw(0, 0, &src);
    EXPECT_EQ(dst.GetPixel(0, 0), 0u);
    src.OnPixelCombine = [](TColor32 f, TColor32 &b, TColor32 m) { b = f ^ m; };
    dst.Draw(0, 0, &src);
    EXPECT_EQ(dst.GetPixel(2, 0), 0xFF00FF00u ^ 255u);
}

TEST(Transfer, StretchTrimsASourceRectangleThatLeavesTheSource) {
    TCustomBitmap32 src, dst;
    Fill(src, 10, 10);
    dst.SetSize(40, 20);
    std::vector<TRect> areas;
    dst.OnAreaChanged = [&areas](TCustomBitmap32 *, const TRect &r, uint32_t) {
        areas.push_back(r);
    };
    dst.Draw(TRect{0, 0, 40, 20}, TRect{-10, 0, 10, 10}, &src);
    EXPECT_EQ(areas, (std::vector<TRect>{{20, 0, 40, 20}}));
    EXPECT_EQ(dst.GetPixel(19, 0), 0xFF000000u);
    EXPECT_EQ(dst.GetPixel(20, 0), src.GetPixel(0, 0));
    EXPECT_EQ(dst.GetPixel(39, 19), src.GetPixel(9, 9));
}

// An empty source rectangle has no scale; the trimming divided by its zero width.
TEST(Transfer, StretchFromAnEmptySourceRectangleDoesNothing) {
    TCustomBitmap32 src, dst;
    Fill(src, 10, 10);
    dst.SetSize(8, 8);
    int events = 0;
    dst.OnAreaChanged = [&events](TCustomBitmap32 *, const TRect &, uint32_t) { ++events; };
    EXPECT_NO_THROW(dst.Draw(TRect{0, 0, 8, 8}, TRect{-3, 2, -3, 6}, &src));
    EXPECT_NO_THROW(dst.Draw(TRect{0, 0, 8, 8}, TRect{4, 4, 4, 4}, &src));
    EXPECT_EQ(events, 0);
    EXPECT_EQ(dst.GetPixel(3, 3), 0xFF000000u);
}

TEST(Resamplers, NearestStretchMapsColumns) {
    TCustomBitmap32 src, dst;
    Fill(src, 2, 1);
    dst.SetSize(4, 1);
    dst.Draw(TRect{0, 0, 4, 1}, TRect{0, 0, 2, 1}, &src);
    EXPECT_EQ(dst.GetPixel(0, 0), src.GetPixel(0, 0));
    EXPECT_EQ(dst.GetPixel(1, 0), src.GetPixel(0, 0));
    EXPECT_EQ(dst.GetPixel(2, 0), src.GetPixel(1, 0));
    EXPECT_EQ(dst.GetPixel(3, 0), src.GetPixel(1, 0));
}

TEST(Resamplers, NearestInvalidSourceRectangleRaises) {
    TCustomBitmap32 src, dst;
    Fill(src, 2, 2);
    dst.SetSize(4, 4);
    EXPECT_THROW(
        StretchByNearest(&dst, {0, 0, 4, 4}, {0, 0, 4, 4}, &src, {-1, 0, 2, 2}, dmOpaque, nullptr),
        rtl::Exception);
}

TEST(Resamplers, LinearStretchOfTwoByTwo) {
    TCustomBitmap32 src, dst;
    src.SetSize(2, 2);
    src.SetPixel(0, 0, 0xFF000000u);
    src.SetPixel(1, 0, 0xFFFFFFFFu);
    src.SetPixel(0, 1, 0xFF000000u);
    src.SetPixel(1, 1, 0xFFFFFFFFu);
    src.SetResamplerClassName("TLinearResampler");
    dst.SetSize(4, 4);
    dst.Draw(TRect{0, 0, 4, 4}, TRect{0, 0, 2, 2}, &src);
    // Weights of the left pixel: 256, 192, 64, 0.
    EXPECT_EQ(dst.GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(dst.GetPixel(1, 0), 0xFF3F3F3Fu);
    EXPECT_EQ(dst.GetPixel(2, 0), 0xFFBFBFBFu);
    EXPECT_EQ(dst.GetPixel(3, 0), 0xFFFFFFFFu);
}

TEST(Resamplers, DraftReductionAveragesBlocks) {
    TCustomBitmap32 src, dst;
    src.SetSize(4, 2);
    for (int x = 0; x < 4; ++x) {
        src.SetPixel(x, 0, (x & 1) ? 0xFFFFFFFFu : 0xFF000000u);
        src.SetPixel(x, 1, (x & 1) ? 0xFF000000u : 0xFFFFFFFFu);
    }
    src.SetResamplerClassName("TDraftResampler");
    dst.SetSize(2, 1);
    dst.Draw(TRect{0, 0, 2, 1}, TRect{0, 0, 4, 2}, &src);
    EXPECT_EQ(dst.GetPixel(0, 0), 0xFF7F7F7Fu);
    EXPECT_EQ(dst.GetPixel(1, 0), 0xFF7F7F7Fu);
}

TEST(Resamplers, NearestSamplesRoundFixedPositionsHalfDown) {
    TCustomBitmap32 b;
    Fill(b, 4, 1);
    TCustomResampler *r = b.GetResampler();
    r->PrepareSampling();
    EXPECT_EQ(r->GetSampleFixed(0x18000, 0), b.GetPixel(1, 0));
    EXPECT_EQ(r->GetSampleFixed(0x18001, 0), b.GetPixel(2, 0));
    r->SetPixelAccessMode(pamTransparentEdge);
    r->PrepareSampling();
    EXPECT_EQ(r->GetSampleInt(-1, 0), b.GetPixel(0, 0) & 0x00FFFFFFu);
}

TEST(Resamplers, LinearTransparentEdgeFarOutsideIsTransparentBlack) {
    TCustomBitmap32 b;
    Fill(b, 4, 4);
    b.SetResamplerClassName("TLinearResampler");
    TCustomResampler *r = b.GetResampler();
    r->SetPixelAccessMode(pamTransparentEdge);
    r->PrepareSampling();
    EXPECT_EQ(r->GetSampleFixed(-2 * 65536 - 1, 65536), 0u);
}

TEST(Resamplers, LinearInterpolateAtFullWeights) {
    const TColor32 top[2] = {0x11223344u, 0x55667788u};
    const TColor32 bottom[2] = {0x99AABBCCu, 0xDDEEFF00u};
    EXPECT_EQ(LinearInterpolate(256, 256, top, bottom), 0x11223344u);
    EXPECT_EQ(LinearInterpolate(0, 0, top, bottom), 0xDDEEFF00u);
}

TEST(Resamplers, AverageOfTwoBlackAndTwoWhite) {
    const TColor32 block[4] = {0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFF000000u};
    EXPECT_EQ(AverageBlock(2, 2, block, 8), 0xFF7F7F7Fu);
}

// Vector block averages summed lines in 16-bit lanes and so held at most 257 pixels a line.
TEST(Resamplers, BlockAverageWiderThan257Pixels) {
    // (Sum * (2^24 div N)) shr 24 with N = 300: a white block gives 254 per channel.
    std::vector<TColor32> line(300, 0xFFFFFFFFu);
    EXPECT_EQ(AverageBlock(300, 1, line.data(), 1200), 0xFEFEFEFEu);
    for (size_t i = 0; i < line.size(); i += 2) {
        line[i] = 0xFF000000u;
    }
    EXPECT_EQ(AverageBlock(300, 1, line.data(), 1200), 0xFE7F7F7Fu);
    EXPECT_EQ(AverageBlock(300, 1, line.data(), 1200),
              reference::AverageBlock(300, 1, line.data(), 1200));
}

TEST(Resamplers, RegistryListsTheResamplerClassesInOrder) {
    InitializeRaster();
    ASSERT_GE(ResamplerList().Count(), 3);
    EXPECT_EQ(ResamplerList().First().ClassName, "TNearestResampler");
    EXPECT_EQ(ResamplerList().Find("tnearestresampler"), nullptr);
    TCustomBitmap32 b;
    b.SetResamplerClassName("TNoSuchResampler");
    EXPECT_EQ(b.GetResamplerClassName(), "TNearestResampler");
}

namespace {
const TCPUFeatures kFeatureSets[] = {NoCPUFeatures, CPUFeature(ciSSE2), 0xFF};
}

// Each stage of the interpolation over all (weight, left, right) channel triples; the other
// stage is held at full weight so that it passes its input through exactly.
TEST(Resamplers, LinearInterpolateVariantsEqualReferenceExhaustively) {
    InitializeRaster();
    for (TCPUFeatures f : kFeatureSets) {
        ForceProcessorFeaturesForTesting(f);
        for (uint32_t w = 0; w <= 256; ++w) {
            for (uint32_t i = 0; i < 65536; ++i) {
                const TColor32 a = (i >> 8) * 0x01010101u, b = (i & 0xFF) * 0x01010101u;
                const TColor32 top[2] = {a, b}, bottom[2] = {b, a};
                const TColor32 s1 = LinearInterpolate(w, 256, top, bottom);
                const TColor32 s2 = LinearInterpolate(256, w, top, bottom);
                if (s1 != reference::LinearInterpolate(w, 256, top, bottom) ||
                    s2 != reference::LinearInterpolate(256, w, top, bottom)) {
                    RestoreProcessorFeaturesForTesting();
                    FAIL() << "features " << int(f) << " w " << w << " pixels " << a << " " << b;
                }
            }
        }
    }
    RestoreProcessorFeaturesForTesting();
}

TEST(Resamplers, AverageBlockVariantsEqualReference) {
    InitializeRaster();
    std::vector<TColor32> pixels(1200 * 3);
    uint32_t seed = 1;
    for (TColor32 &p : pixels) {
        seed = seed * 1664525u + 1013904223u;
        p = seed;
    }
    for (TCPUFeatures f : kFeatureSets) {
        ForceProcessorFeaturesForTesting(f);
        for (int32_t w : {1, 2, 3, 5, 8, 255, 256, 257, 258, 300, 1000, 1200}) {
            for (int32_t h : {1, 2, 3}) {
                EXPECT_EQ(AverageBlock(w, h, pixels.data(), 1200 * 4),
                          reference::AverageBlock(w, h, pixels.data(), 1200 * 4))
                    << "features " << int(f) << " " << w << " x " << h;
            }
        }
    }
    RestoreProcessorFeaturesForTesting();
}
