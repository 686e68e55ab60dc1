// Filter kernels, their published properties and registries, contribution tables, the kernel
// resampler's samples and weight tables, and kernel resampling of rectangles, with every
// processor variant of its passes against the scalar reference.
#include "raster/Raster_Resamplers.h"

#include "raster/Raster_System.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace raster;

namespace {

class KernelTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeRaster(); }
    void TearDown() override { RestoreProcessorFeaturesForTesting(); }
};

const TCPUFeatures kVariants[] = {NoCPUFeatures, CPUFeature(ciSSE2), TCPUFeatures(0xFF)};

std::string Hex(uint32_t v) {
    char b[16];
    std::snprintf(b, sizeof b, "$%08X", v);
    return b;
}

void RandomFill(TCustomBitmap32 &b, int32_t w, int32_t h, uint32_t seed) {
    std::mt19937 rng(seed);
    b.SetSize(w, h);
    for (int32_t i = 0; i < w * h; ++i) {
        b.GetBits()[i] = rng();
    }
}

int32_t Sum(const TCluster &c) {
    int32_t s = 0;
    for (const TPointRec &p : c) {
        s += p.Weight;
    }
    return s;
}

} // namespace

// ---- Kernels ------------------------------------------------------------------------------

TEST_F(KernelTest, KernelValues) {
    TBoxKernel box;
    TLinearKernel linear;
    TCubicKernel cubic;
    TMitchellKernel mitchell;
    THermiteKernel hermite;
    const struct {
        const char *what;
        const TCustomKernel &kernel;
        float x, expected;
    } cases[] = {
        {"box at its edge", box, 0.5f, 1},
        {"box past its edge", box, 0.5001f, 0},
        {"box at -0.5", box, -0.5f, 1},
        {"linear at 1", linear, 1, 0},
        {"linear at -1", linear, -1, 0},
        {"linear at -0.25", linear, -0.25f, 0.75f},
        {"cubic at 0", cubic, 0, 1},
        {"cubic at 1", cubic, 1, 0},
        {"cubic at 1.5", cubic, 1.5f, -0.0625f},
        {"mitchell at 0", mitchell, 0, 16.0f / 18},
        {"mitchell at 1", mitchell, 1, 1.0f / 18},
        {"hermite at 0", hermite, 0, 1},
        {"hermite at 1", hermite, 1, 0},
        {"hermite at -1", hermite, -1, 0},
        {"hermite at 0.5", hermite, 0.5f, 0.5625f},
    };
    for (const auto &c : cases) {
        EXPECT_FLOAT_EQ(c.kernel.Filter(c.x), c.expected) << c.what;
    }
}

TEST_F(KernelTest, WindowedSincKernelsEndExactlyAtTheirWidth) {
    for (const char *name : {"TAlbrechtKernel", "TLanczosKernel", "TGaussianKernel",
                             "TBlackmanKernel", "THannKernel", "THammingKernel"}) {
        auto k = CreateKernelByName(name);
        ASSERT_NE(k, nullptr) << name;
        auto &w = dynamic_cast<TWindowedSincKernel &>(*k);
        EXPECT_EQ(w.GetWidth(), 3) << name;
        EXPECT_EQ(w.Filter(3), 0) << name;
        EXPECT_EQ(w.Filter(-3.5f), 0) << name;
        EXPECT_NE(w.Filter(2.9f), 0) << name;
        EXPECT_FLOAT_EQ(w.Filter(0), 1) << name;
        EXPECT_TRUE(w.HasNegativeLobes()) << name;
    }
}

TEST_F(KernelTest, SetterLimits) {
    TLanczosKernel lanczos;
    lanczos.SetWidth(20);
    EXPECT_EQ(lanczos.GetWidth(), 16);
    EXPECT_FLOAT_EQ(lanczos.GetWidthReciprocal(), 1.0f / 16);
    lanczos.SetWidth(0); // no support at all: refused
    lanczos.SetWidth(-2);
    EXPECT_EQ(lanczos.GetWidth(), 16);
    TAlbrechtKernel albrecht;
    EXPECT_EQ(albrecht.GetTerms(), 7);
    albrecht.SetTerms(1);
    EXPECT_EQ(albrecht.GetTerms(), 2);
    albrecht.SetTerms(12);
    EXPECT_EQ(albrecht.GetTerms(), 11);
    TGaussianKernel gauss;
    EXPECT_FLOAT_EQ(gauss.GetSigma(), 1.33f);
    EXPECT_NEAR(gauss.WindowAt(std::sqrt(1.33f)), 0.5f, 1e-6);
    gauss.SetSigma(0);
    EXPECT_FLOAT_EQ(gauss.GetSigma(), 1.33f);
    TSinshKernel sinsh;
    sinsh.SetCoeff(0);
    EXPECT_FLOAT_EQ(sinsh.GetCoeff(), 0.5f);
    EXPECT_EQ(sinsh.Filter(0), 1);
    EXPECT_NE(sinsh.Filter(5), 0); // no cut-off at its width
    TKernelResampler r;
    r.SetTableSize(1);
    EXPECT_EQ(r.GetTableSize(), 2);
}

TEST_F(KernelTest, NegativeLobesByClass) {
    const struct {
        const char *name;
        bool lobes;
        float width;
    } cases[] = {
        {"TBoxKernel", false, 1},    {"TLinearKernel", false, 1},  {"TCosineKernel", false, 1},
        {"TSplineKernel", true, 2},  {"TMitchellKernel", true, 2}, {"TCubicKernel", true, 2},
        {"THermiteKernel", true, 2}, {"TSinshKernel", true, 3},    {"TLanczosKernel", true, 3}};
    for (const auto &c : cases) {
        auto k = CreateKernelByName(c.name);
        ASSERT_NE(k, nullptr) << c.name;
        EXPECT_EQ(k->HasNegativeLobes(), c.lobes) << c.name;
        EXPECT_EQ(k->GetWidth(), c.width) << c.name;
        EXPECT_EQ(k->ClassName(), std::string(c.name));
    }
}

TEST_F(KernelTest, RegistriesInStartUpOrder) {
    std::vector<std::string> resamplers, kernels;
    ResamplerList().GetClassNames(resamplers);
    KernelList().GetClassNames(kernels);
    EXPECT_EQ(resamplers, (std::vector<std::string>{"TNearestResampler", "TLinearResampler",
                                                    "TDraftResampler", "TKernelResampler"}));
    EXPECT_EQ(kernels, (std::vector<std::string>{
                           "TBoxKernel", "TLinearKernel", "TCosineKernel", "TSplineKernel",
                           "TCubicKernel", "TMitchellKernel", "TAlbrechtKernel", "TLanczosKernel",
                           "TGaussianKernel", "TBlackmanKernel", "THannKernel", "THammingKernel",
                           "TSinshKernel", "THermiteKernel"}));
    EXPECT_EQ(ResamplerList().Find("tnearestresampler"), nullptr);
    EXPECT_EQ(CreateKernelByName("TNoKernel"), nullptr);
}

TEST_F(KernelTest, PublishedPropertiesAreCopiedByName) {
    TGaussianKernel a, b;
    a.SetWidth(5);
    a.SetSigma(2);
    b.Assign(a);
    EXPECT_EQ(b.GetWidth(), 5);
    EXPECT_EQ(b.GetSigma(), 2);
    TBoxKernel box;
    try {
        box.Assign(a);
        FAIL() << "a box kernel has no Width";
    } catch (const EPropertyError &e) {
        EXPECT_STREQ(e.what(), "Property Width does not exist");
    }
    TCustomBitmap32 bitmap;
    EXPECT_THROW(box.Assign(*bitmap.GetResampler()), rtl::EConvertError);
}

TEST_F(KernelTest, KernelResamplerSettingsTravelWithTheBitmap) {
    TCustomBitmap32 src, dst;
    src.SetResamplerClassName("TKernelResampler");
    auto *r = dynamic_cast<TKernelResampler *>(src.GetResampler());
    ASSERT_NE(r, nullptr);
    r->SetKernelClassName("TAlbrechtKernel");
    dynamic_cast<TAlbrechtKernel &>(*r->GetKernel()).SetTerms(4);
    r->SetKernelMode(kmTableLinear);
    r->SetTableSize(64);
    r->SetPixelAccessMode(pamWrap);
    r->SetKernelClassName("TUnknownKernel"); // ignored
    src.CopySettingsTo(dst);
    auto *copy = dynamic_cast<TKernelResampler *>(dst.GetResampler());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetKernelClassName(), "TAlbrechtKernel");
    EXPECT_EQ(dynamic_cast<TAlbrechtKernel &>(*copy->GetKernel()).GetTerms(), 4);
    EXPECT_EQ(copy->GetKernelMode(), kmTableLinear);
    EXPECT_EQ(copy->GetTableSize(), 64);
    EXPECT_EQ(copy->GetPixelAccessMode(), pamWrap);
    int changes = 0;
    dst.OnChange = [&](TNotifiablePersistent *) { ++changes; };
    dynamic_cast<TAlbrechtKernel &>(*copy->GetKernel()).SetTerms(5); // the resampler observes
    EXPECT_EQ(changes, 1);
}

// ---- Contribution tables ------------------------------------------------------------------

TEST_F(KernelTest, BoxEnlargementByTwo) {
    TBoxKernel box;
    const TMappingTable t = BuildContributionTable(0, 4, 0, 4, 0, 2, box);
    EXPECT_EQ(t, (TMappingTable{{{0, 256}}, {{0, 256}}, {{1, 256}}, {{1, 256}}}));
}

TEST_F(KernelTest, OneColumnSourceMapsEveryColumnToIt) {
    TLanczosKernel lanczos;
    const TMappingTable t = BuildContributionTable(0, 5, 0, 5, 7, 8, lanczos);
    EXPECT_EQ(t, TMappingTable(5, TCluster{{7, 256}}));
    EXPECT_TRUE(BuildContributionTable(0, 5, 0, 5, 7, 7, lanczos).empty());
}

TEST_F(KernelTest, EveryClusterSumsTo256WithinTheSource) {
    const struct {
        int32_t src, dst;
    } sizes[] = {{2, 1},   {3, 1},   {10, 1},    {100, 1}, {300, 1}, {5000, 1}, {7, 3},
                 {100, 7}, {64, 63}, {1920, 17}, {2, 3},   {3, 40},  {17, 900}, {2, 2000}};
    std::vector<std::string> names;
    KernelList().GetClassNames(names);
    for (const std::string &name : names) {
        const auto kernel = CreateKernelByName(name);
        for (const auto &s : sizes) {
            const TMappingTable t =
                BuildContributionTable(0, s.dst, 0, s.dst, 10, 10 + s.src, *kernel);
            ASSERT_EQ(t.size(), size_t(s.dst));
            for (size_t i = 0; i < t.size(); ++i) {
                ASSERT_EQ(Sum(t[i]), 256) << name << " " << s.src << "->" << s.dst << " #" << i;
                for (const TPointRec &p : t[i]) {
                    ASSERT_GE(p.Pos, 10);
                    ASSERT_LT(p.Pos, 10 + s.src);
                    if (!kernel->HasNegativeLobes()) {
                        ASSERT_GE(p.Weight, 0) << name << " " << s.src << "->" << s.dst;
                    }
                }
            }
        }
    }
}

TEST_F(KernelTest, ReductionToOnePixelAveragesInsteadOfFlippingTheMiddleWeight) {
    // Box 100 -> 1: each pixel's weight rounds to 3, 300 in all; the middle pair taking the
    // difference used to weigh the middle pixel -41.
    TBoxKernel box;
    const TMappingTable t = BuildContributionTable(0, 1, 0, 1, 0, 100, box);
    ASSERT_EQ(t.size(), 1u);
    for (const TPointRec &p : t[0]) {
        EXPECT_GE(p.Weight, 2);
        EXPECT_LE(p.Weight, 3);
    }
    TCustomBitmap32 src, dst;
    src.SetSize(300, 1);
    for (int32_t x = 0; x < 300; ++x) {
        src.SetPixel(x, 0, x == 150 ? 0xFFFFFFFFu : 0xFF000000u);
    }
    dst.SetSize(1, 1);
    ResampleByKernel(&dst, {0, 0, 1, 1}, {0, 0, 1, 1}, &src, {0, 0, 300, 1}, box, dmOpaque,
                     nullptr);
    EXPECT_LE(dst.GetPixel(0, 0) & 0xFF, 2u); // one white pixel in 300
    EXPECT_EQ(dst.GetPixel(0, 0) >> 24, 255u);
}

TEST_F(KernelTest, KernelNarrowerThanAPixelReadsNothingOutsideTheSource) {
    TLanczosKernel thin;
    thin.SetWidth(0.1f);
    const TMappingTable t = BuildContributionTable(0, 8, 0, 8, 0, 4, thin);
    for (const TCluster &c : t) {
        ASSERT_EQ(Sum(c), 256);
        for (const TPointRec &p : c) {
            EXPECT_GE(p.Pos, 0);
            EXPECT_LT(p.Pos, 4);
        }
    }
}

// ---- Resampling ---------------------------------------------------------------------------

TEST_F(KernelTest, OnePixelWideSourcesResampleThroughTheKernel) {
    for (const char *resampler : {"TLinearResampler", "TDraftResampler", "TKernelResampler"}) {
        TCustomBitmap32 src, dst;
        src.SetSize(1, 4);
        for (int32_t y = 0; y < 4; ++y) {
            src.SetPixel(0, y, 0xFF000000u | uint32_t(40 * y));
        }
        src.SetResamplerClassName(resampler);
        dst.SetSize(6, 4);
        dst.Clear(0);
        ASSERT_NO_THROW(dst.Draw({0, 0, 6, 4}, src.BoundsRect(), &src)) << resampler;
        for (int32_t y = 0; y < 4; ++y) {
            for (int32_t x = 0; x < 6; ++x) {
                EXPECT_EQ(dst.GetPixel(x, y), src.GetPixel(0, y)) << resampler << " " << x;
            }
        }
    }
}

TEST_F(KernelTest, ReductionThroughTheLinearResamplerAverages) {
    TCustomBitmap32 src, dst;
    src.SetSize(4, 2);
    for (int32_t x = 0; x < 4; ++x) {
        src.SetPixel(x, 0, x % 2 ? 0xFFFFFFFFu : 0xFF000000u);
        src.SetPixel(x, 1, x % 2 ? 0xFFFFFFFFu : 0xFF000000u);
    }
    src.SetResamplerClassName("TLinearResampler");
    dst.SetSize(2, 1);
    dst.Draw({0, 0, 2, 1}, src.BoundsRect(), &src);
    // Halving with the linear kernel: taps 32, 96, 96, 32 around each centre (the outer ones
    // clamped at the ends), so white weighs 96 and 160 of 256.
    EXPECT_EQ(dst.GetPixel(0, 0), 0xFF5F5F5Fu);
    EXPECT_EQ(dst.GetPixel(1, 0), 0xFF9F9F9Fu);
}

TEST_F(KernelTest, NegativeLobesAreClampedAtAHardEdge) {
    TCustomBitmap32 src, dst;
    src.SetSize(8, 1);
    for (int32_t x = 0; x < 8; ++x) {
        src.SetPixel(x, 0, x < 4 ? 0xFF000000u : 0xFFFFFFFFu);
    }
    TCubicKernel cubic;
    dst.SetSize(32, 1);
    ResampleByKernel(&dst, {0, 0, 32, 1}, {0, 0, 32, 1}, &src, {0, 0, 8, 1}, cubic, dmOpaque,
                     nullptr);
    // Overshoot around the edge is clamped to black and white, never wrapped round.
    for (int32_t x = 0; x < 12; ++x) {
        EXPECT_EQ(dst.GetPixel(x, 0), 0xFF000000u) << x;
    }
    for (int32_t x = 20; x < 32; ++x) {
        EXPECT_EQ(dst.GetPixel(x, 0), 0xFFFFFFFFu) << x;
    }
}

TEST_F(KernelTest, EveryVariantOfTheKernelPassesEqualsTheReference) {
    std::mt19937 rng(7);
    for (TCPUFeatures f : kVariants) {
        ForceProcessorFeaturesForTesting(f);
        for (int trial = 0; trial < 200; ++trial) {
            const int32_t taps = 1 + int32_t(rng() % 14), count = 1 + int32_t(rng() % 37);
            std::vector<std::vector<TColor32>> rowData(size_t(taps), std::vector<TColor32>(64));
            std::vector<const TColor32 *> rows;
            std::vector<int32_t> w;
            for (auto &row : rowData) {
                for (TColor32 &c : row) {
                    c = rng();
                }
                rows.push_back(row.data());
                w.push_back(int32_t(rng() % 601) - 300);
            }
            std::vector<int32_t> expected(static_cast<size_t>(4 * count)), actual(expected.size());
            reference::KernelColumns(rows.data(), w.data(), taps, count, expected.data());
            KernelColumns(rows.data(), w.data(), taps, count, actual.data());
            ASSERT_EQ(actual, expected)
                << int(f) << " columns, taps " << taps << " count " << count;
            // The row pass over those sums, with clusters of 1 to 6 taps.
            std::vector<int32_t> starts{0}, pos, weights;
            for (int32_t i = 0; i < count; ++i) {
                const int32_t n = 1 + int32_t(rng() % 6);
                for (int32_t k = 0; k < n; ++k) {
                    pos.push_back(int32_t(rng() % uint32_t(count)));
                    weights.push_back(int32_t(rng() % 600) - 150);
                }
                starts.push_back(int32_t(pos.size()));
            }
            for (int32_t clamp : {0, 1}) {
                std::vector<TColor32> e(static_cast<size_t>(count)), a(e.size());
                reference::KernelRow(expected.data(), starts.data(), pos.data(), weights.data(),
                                     count, clamp, e.data());
                KernelRow(expected.data(), starts.data(), pos.data(), weights.data(), count, clamp,
                          a.data());
                for (int32_t i = 0; i < count; ++i) {
                    ASSERT_EQ(a[size_t(i)], e[size_t(i)])
                        << int(f) << " row pixel " << i << " clamp " << clamp << ": expected "
                        << Hex(e[size_t(i)]) << " actual " << Hex(a[size_t(i)]);
                }
            }
        }
    }
}

TEST_F(KernelTest, EveryVariantResamplesLikeTheReference) {
    TCustomBitmap32 src;
    RandomFill(src, 97, 61, 3);
    const struct {
        const char *kernel;
        TRect dstRect, dstClip, srcRect;
    } cases[] = {
        {"TLanczosKernel", {0, 0, 40, 30}, {0, 0, 40, 30}, {0, 0, 97, 61}},
        {"TMitchellKernel", {-5, 3, 210, 140}, {0, 0, 150, 100}, {3, 2, 90, 60}},
        {"TBoxKernel", {0, 0, 13, 200}, {2, 5, 11, 190}, {10, 10, 60, 20}},
        {"TSplineKernel", {0, 0, 1, 1}, {0, 0, 1, 1}, {0, 0, 97, 61}},
        {"THammingKernel", {0, 0, 300, 7}, {0, 0, 300, 7}, {0, 0, 1, 61}},
    };
    for (const auto &c : cases) {
        const auto kernel = CreateKernelByName(c.kernel);
        std::vector<TColor32> expected;
        for (TCPUFeatures f : kVariants) {
            ForceProcessorFeaturesForTesting(f);
            TCustomBitmap32 dst;
            dst.SetSize(150, 200);
            dst.Clear(0x12345678u);
            ResampleByKernel(&dst, c.dstRect, c.dstClip, &src, c.srcRect, *kernel, dmOpaque,
                             nullptr);
            std::vector<TColor32> pixels(dst.GetBits(), dst.GetBits() + 150 * 200);
            if (expected.empty()) {
                expected = pixels;
            } else {
                ASSERT_EQ(pixels, expected) << c.kernel << " variant " << int(f);
            }
        }
    }
}

TEST_F(KernelTest, KernelsBeyondThirtyTwoBitSumsResampleInWideArithmetic) {
    TCustomBitmap32 src, dst;
    RandomFill(src, 20, 20, 9);
    THermiteKernel wild;
    wild.SetTension(-20000);
    std::vector<TColor32> expected;
    for (TCPUFeatures f : kVariants) {
        ForceProcessorFeaturesForTesting(f);
        dst.SetSize(50, 50);
        ResampleByKernel(&dst, {0, 0, 50, 50}, {0, 0, 50, 50}, &src, {0, 0, 20, 20}, wild, dmOpaque,
                         nullptr);
        std::vector<TColor32> pixels(dst.GetBits(), dst.GetBits() + 2500);
        if (expected.empty()) {
            expected = pixels;
        } else {
            ASSERT_EQ(pixels, expected) << int(f);
        }
    }
}

TEST_F(KernelTest, ResampleByKernelRefusesASourceRectangleOutsideTheSource) {
    TCustomBitmap32 src, dst;
    src.SetSize(4, 4);
    dst.SetSize(8, 8);
    TBoxKernel box;
    EXPECT_THROW(ResampleByKernel(&dst, {0, 0, 8, 8}, {0, 0, 8, 8}, &src, {-1, 0, 4, 4}, box,
                                  dmOpaque, nullptr),
                 rtl::Exception);
}

// ---- Samples ------------------------------------------------------------------------------

TEST_F(KernelTest, SamplesOfTheKernelResampler) {
    TCustomBitmap32 b;
    RandomFill(b, 8, 8, 5);
    b.ResetAlpha();
    b.SetOuterColor(0x80123456u);
    b.SetResamplerClassName("TKernelResampler");
    auto &r = dynamic_cast<TKernelResampler &>(*b.GetResampler());
    for (TKernelMode mode : {kmDynamic, kmTableNearest, kmTableLinear}) {
        r.SetKernelMode(mode);
        r.PrepareSampling();
        if (mode != kmDynamic) {
            ASSERT_NE(r.GetWeightTable(), nullptr);
            EXPECT_EQ(r.GetWeightTable()->GetWidth(), 3);   // taps -1 .. 1 of the box kernel
            EXPECT_EQ(r.GetWeightTable()->GetHeight(), 33); // TableSize + 1 rows
        }
        EXPECT_EQ(r.GetSampleFloat(2, 3), b.GetPixel(2, 3)) << int(mode);
        EXPECT_EQ(r.GetSampleFloat(-1.5f, 3), 0x80123456u) << int(mode); // outside: OuterColor
        EXPECT_EQ(r.GetSampleFloat(9.01f, 3), 0x80123456u) << int(mode);
        r.FinalizeSampling();
        EXPECT_EQ(r.GetWeightTable(), nullptr);
    }
    r.SetPixelAccessMode(pamTransparentEdge);
    r.PrepareSampling();
    EXPECT_EQ(r.GetSampleFloat(-1.5f, 3), 0u);
    r.SetPixelAccessMode(pamWrap);
    b.SetWrapMode(wmRepeat);
    r.PrepareSampling();
    EXPECT_EQ(r.GetSampleFloat(10, 3), b.GetPixel(2, 3));
}

TEST_F(KernelTest, SafeSamplesAtTheEdgeMixInTheOuterColour) {
    TCustomBitmap32 b;
    b.SetSize(4, 4);
    b.Clear(0xFFFFFFFFu);
    b.SetOuterColor(0xFF000000u);
    b.SetResamplerClassName("TKernelResampler");
    auto &r = dynamic_cast<TKernelResampler &>(*b.GetResampler());
    r.SetKernelClassName("TLinearKernel");
    r.PrepareSampling();
    // Half-way between the last column and the outer colour beyond it.
    const TColor32 c = r.GetSampleFloat(3.5f, 1);
    EXPECT_EQ(c >> 24, 255u);
    EXPECT_NEAR(double(c & 0xFF), 127.5, 1.5);
}

TEST_F(KernelTest, BlockAveragesWiderThan257PixelsInEveryVariant) {
    std::mt19937 rng(13);
    std::vector<TColor32> block(1200 * 3);
    for (TColor32 &c : block) {
        c = rng() | 0xF0F0F0F0u; // bright: a 16-bit lane would overflow past 257 pixels
    }
    for (TCPUFeatures f : kVariants) {
        ForceProcessorFeaturesForTesting(f);
        for (int32_t w : {257, 258, 300, 1200}) {
            EXPECT_EQ(AverageBlock(w, 3, block.data(), 1200 * 4),
                      reference::AverageBlock(w, 3, block.data(), 1200 * 4))
                << int(f) << " width " << w;
        }
    }
}
