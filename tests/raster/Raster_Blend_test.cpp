// Blend, combine and merge: the documented values, and every processor variant against the
// scalar reference over all (alpha, foreground, background) combinations.
#include "raster/Raster_Blend.h"

#include "raster/Raster.h"
#include "raster/Raster_System.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace raster;

namespace {

struct TVariant {
    const char *Name;
    TCPUFeatures Features;
};

const TVariant kVariants[] = {
    {"portable", NoCPUFeatures},
    {"sse2", TCPUFeatures(CPUFeature(ciMMX) | CPUFeature(ciSSE) | CPUFeature(ciSSE2))},
    {"avx2", TCPUFeatures(0xFF)},
};

class BlendTest : public ::testing::Test {
protected:
    void SetUp() override { InitializeRaster(); }
    void TearDown() override { RestoreProcessorFeaturesForTesting(); }
};

std::string Hex(uint32_t v) {
    char b[16];
    std::snprintf(b, sizeof b, "$%08X", v);
    return b;
}

// Reports the first differing cell with its inputs.
void ExpectSameRows(const char *variant, const std::vector<TColor32> &src,
                    const std::vector<TColor32> &dstIn, const std::vector<TColor32> &expected,
                    const std::vector<TColor32> &actual, const std::string &extra) {
    for (size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] != actual[i]) {
            ADD_FAILURE() << variant << " " << extra << " cell " << i << ": F=" << Hex(src[i])
                          << " B=" << Hex(dstIn[i]) << " expected " << Hex(expected[i])
                          << " actual " << Hex(actual[i]);
            return;
        }
    }
}

} // namespace

TEST_F(BlendTest, VectorBlendOfHalfRedOverOpaqueBlue) {
    EXPECT_EQ(BlendPixel(0x80FF0000u, 0xFF0000FFu), 0xC0800080u);
}

TEST_F(BlendTest, OpaqueForegroundRoundsInRegisterFormButIsStoredInPlace) {
    EXPECT_EQ(BlendPixel(0xFFFF0000u, 0xFF000000u), 0xFFFE0000u);
    TColor32 b = 0xFF000000u;
    BlendPixelInPlace(0xFFFF0000u, b);
    EXPECT_EQ(b, 0xFFFF0000u);
}

TEST_F(BlendTest, TransparentForegroundReturnsBackgroundExactly) {
    EXPECT_EQ(BlendPixel(0x00FF00FFu, 0x12345678u), 0x12345678u);
}

TEST_F(BlendTest, MergeOfTwoHalfTransparentColours) {
    EXPECT_EQ(MergePixel(0x80FF0000u, 0x800000FFu), 0xC0AA0055u);
    EXPECT_EQ(MergePixel(0x00FF0000u, 0x800000FFu), 0x800000FFu);
    EXPECT_EQ(MergePixel(0x40FF0000u, 0x000000FFu), 0x40FF0000u);
}

TEST_F(BlendTest, MergeOverOpaqueBackgroundIsOpaqueBlend) {
    EXPECT_EQ(MergePixel(0x80FF0000u, 0xFF0000FFu),
              BlendPixel(0x80FF0000u, 0xFF0000FFu) | 0xFF000000u);
}

TEST_F(BlendTest, CombineWhiteWithTransparentBlack) {
    EXPECT_EQ(CombinePixel(0xFFFFFFFFu, 0, 128), 0x80808080u);
    EXPECT_EQ(CombinePixel(0xFFFFFFFFu, 0, 255), 0xFEFEFEFEu);
}

TEST_F(BlendTest, WeightedFormsPutThePlusOneOnDifferentOperands) {
    // fa = 3, M = 250: the row form weighs (3 + 1) * 250 div 256 = 3, the single-pixel form
    // (250 + 1) * 3 div 256 = 2.
    const TColor32 f = 0x03FFFFFFu;
    TColor32 row = 0xFF000000u;
    BlendPixelRowWeighted(&f, &row, 1, 250);
    EXPECT_EQ(row, CombinePixel(f, 0xFF000000u, 3));
    EXPECT_EQ(BlendPixelWeighted(f, 0xFF000000u, 250), CombinePixel(f, 0xFF000000u, 2));
}

TEST_F(BlendTest, RowsWithNoCellsLeaveTheDestination) {
    for (const TVariant &v : kVariants) {
        ForceProcessorFeaturesForTesting(v.Features);
        const TColor32 src[1] = {0x80FFFFFFu};
        TColor32 dst[1] = {0x12345678u};
        for (int32_t count : {0, -1}) {
            BlendPixelRow(src, dst, count);
            BlendPixelRowWeighted(src, dst, count, 128);
            CombinePixelRow(src, dst, count, 100);
            MergePixelRow(src, dst, count);
            EXPECT_EQ(dst[0], 0x12345678u) << v.Name;
        }
    }
}

TEST_F(BlendTest, CombineRowAtFullWeightCopiesExactly) {
    for (const TVariant &v : kVariants) {
        ForceProcessorFeaturesForTesting(v.Features);
        std::vector<TColor32> src(37), dst(37, 0);
        for (size_t i = 0; i < src.size(); ++i) {
            src[i] = 0x01020304u * uint32_t(i + 1);
        }
        CombinePixelRow(src.data(), dst.data(), 37, 255);
        EXPECT_EQ(dst, src) << v.Name;
    }
}

TEST_F(BlendTest, ForcedFeaturesBindThePortableReference) {
    ForceProcessorFeaturesForTesting(NoCPUFeatures);
    EXPECT_EQ(BlendPixelRow, reference::BlendPixelRow);
    EXPECT_EQ(CombinePixelRow, reference::CombinePixelRow);
}

// All 2^24 (alpha, foreground channel, background channel) triples, one foreground alpha per
// row; background alpha equals the background channel, so the alpha lane sees every (fa, ba).
TEST_F(BlendTest, BlendRowVariantsEqualReferenceExhaustively) {
    std::vector<TColor32> src(65536), dst(65536), expected(65536), actual(65536);
    for (uint32_t fa = 0; fa < 256; ++fa) {
        for (uint32_t i = 0; i < 65536; ++i) {
            src[i] = (fa << 24) | ((i >> 8) * 0x010101u);
            dst[i] = (i & 0xFF) * 0x01010101u;
        }
        expected.assign(dst.begin(), dst.end());
        reference::BlendPixelRow(src.data(), expected.data(), 65536);
        for (const TVariant &v : kVariants) {
            ForceProcessorFeaturesForTesting(v.Features);
            actual.assign(dst.begin(), dst.end());
            BlendPixelRow(src.data(), actual.data(), 65536);
            ExpectSameRows(v.Name, src, dst, expected, actual, "BlendPixelRow");
        }
        if (HasFailure()) {
            return;
        }
    }
}

// Every (master alpha, foreground alpha, foreground channel) with a pseudo-random background.
TEST_F(BlendTest, WeightedBlendRowVariantsEqualReference) {
    std::vector<TColor32> src(65536), dst(65536), expected(65536), actual(65536);
    uint32_t seed = 20261210;
    for (uint32_t m = 0; m < 256; ++m) {
        for (uint32_t i = 0; i < 65536; ++i) {
            seed = seed * 1664525u + 1013904223u;
            src[i] = ((i >> 8) << 24) | ((i & 0xFF) * 0x010101u);
            dst[i] = seed;
        }
        expected.assign(dst.begin(), dst.end());
        reference::BlendPixelRowWeighted(src.data(), expected.data(), 65536, m);
        for (const TVariant &v : kVariants) {
            ForceProcessorFeaturesForTesting(v.Features);
            actual.assign(dst.begin(), dst.end());
            BlendPixelRowWeighted(src.data(), actual.data(), 65536, m);
            ExpectSameRows(v.Name, src, dst, expected, actual, "M=" + std::to_string(m));
        }
        if (HasFailure()) {
            return;
        }
    }
}

// Every (weight, foreground, background) triple, in all four channels; odd offsets and
// lengths exercise the unaligned heads and the scalar tails.
TEST_F(BlendTest, CombineRowVariantsEqualReferenceExhaustively) {
    std::vector<TColor32> src(65537), dst(65537), expected(65537), actual(65537);
    for (uint32_t i = 0; i < 65536; ++i) {
        src[i + 1] = (i >> 8) * 0x01010101u;
        dst[i + 1] = (i & 0xFF) * 0x01010101u;
    }
    for (uint32_t w = 0; w < 256; ++w) {
        const int32_t count = 65536 - int32_t(w % 7);
        expected.assign(dst.begin(), dst.end());
        reference::CombinePixelRow(src.data() + 1, expected.data() + 1, count, w);
        for (const TVariant &v : kVariants) {
            ForceProcessorFeaturesForTesting(v.Features);
            actual.assign(dst.begin(), dst.end());
            CombinePixelRow(src.data() + 1, actual.data() + 1, count, w);
            ExpectSameRows(v.Name, src, dst, expected, actual, "W=" + std::to_string(w));
        }
        if (HasFailure()) {
            return;
        }
    }
}

TEST_F(BlendTest, ProductAndQuotientTablesRoundHalvesToEven) {
    EXPECT_EQ(ProductTable[128][128], 64);
    EXPECT_EQ(ProductTable[255][77], 77);
    EXPECT_EQ(QuotientTable[2][1], 128);
    EXPECT_EQ(QuotientTable[0][5], 0);
    EXPECT_EQ(QuotientTable[192][128], 170);
}

// Every (colour channel, weight, pixel channel) triple through both columns, over odd and even
// row counts.
TEST_F(BlendTest, ColumnPairVariantsEqualReferenceExhaustively) {
    std::vector<TColor32> column(2 * 257), expected(2 * 257);
    for (uint32_t c = 0; c < 256; ++c) {
        for (uint32_t w = 0; w < 255; ++w) {
            for (uint32_t r = 0; r < 257; ++r) {
                column[2 * r] = (r & 0xFF) * 0x01010101u;
                column[2 * r + 1] = (255 - (r & 0xFF)) * 0x01010101u;
            }
            const uint32_t w1 = (w * 7) % 255, w0b = (w * 13 + c) % 255, w1b = (c * 5) % 255;
            expected.assign(column.begin(), column.end());
            reference::CombinePixelColumnPair(c * 0x01010101u, expected.data(), 2, 257, w, w1, w0b,
                                              w1b);
            for (const TVariant &v : kVariants) {
                ForceProcessorFeaturesForTesting(v.Features);
                std::vector<TColor32> actual = column;
                CombinePixelColumnPair(c * 0x01010101u, actual.data(), 2, 257, w, w1, w0b, w1b);
                if (actual != expected) {
                    FAIL() << v.Name << " colour " << c << " weights " << w << ", " << w1;
                }
            }
        }
    }
}

// ---- Channel arithmetic -------------------------------------------------------------------

TEST_F(BlendTest, ChannelArithmeticDocumentedValues) {
    EXPECT_EQ(ChannelDiv(0x00808080u, 0xFF404040u), 0xFF808080u);
    EXPECT_EQ(ChannelExclusion(0xFFFFFFFFu, 0xFFFFFFFFu), 0x02020202u);
    EXPECT_EQ(ChannelAverage(0xFF000001u, 0x01000002u), 0x80000001u);
    EXPECT_EQ(ChannelLighten(0x80102030u, -32), 0x80000010u);
    EXPECT_EQ(ChannelLighten(0x80F0F0F0u, 32), 0x80FFFFFFu);
    EXPECT_EQ(ChannelMax(0x10F02080u, 0x2010F001u), 0x20F0F080u);
    EXPECT_EQ(ChannelSub(0x10F02080u, 0x2010F001u), 0x00E0007Fu);
    EXPECT_EQ(ChannelModulate(0xFF808080u, 0x80FF4000u), 0x7F7F2000u);
    EXPECT_EQ(ChannelScale(0xFF804020u, 128), 0x7F402010u);
    // Weights above 255 are limited by the reference (the vector forms need 0..255).
    EXPECT_EQ(reference::ChannelScale(0x00000080u, 1024), 0x000000FFu);
}

TEST_F(BlendTest, EveryVariantOfTheChannelArithmeticEqualsTheReference) {
    using TBinary = TColor32 (*)(TColor32, TColor32);
    const struct {
        const char *name;
        TBlendReg *bound;
        TBinary ref;
    } ops[] = {
        {"Max", &ChannelMax, reference::ChannelMax},
        {"Min", &ChannelMin, reference::ChannelMin},
        {"Average", &ChannelAverage, reference::ChannelAverage},
        {"Add", &ChannelAdd, reference::ChannelAdd},
        {"Sub", &ChannelSub, reference::ChannelSub},
        {"Div", &ChannelDiv, reference::ChannelDiv},
        {"Modulate", &ChannelModulate, reference::ChannelModulate},
        {"Difference", &ChannelDifference, reference::ChannelDifference},
        {"Exclusion", &ChannelExclusion, reference::ChannelExclusion},
    };
    for (const TVariant &v : kVariants) {
        ForceProcessorFeaturesForTesting(v.Features);
        // Every pair of channel values, in every channel position.
        for (const auto &op : ops) {
            for (uint32_t a = 0; a < 256; ++a) {
                for (uint32_t b = 0; b < 256; ++b) {
                    const TColor32 c1 = a | (b << 8) | ((a ^ b) << 16) | ((255 - a) << 24);
                    const TColor32 c2 = b | (a << 8) | (((a + b) & 255) << 16) | ((255 - b) << 24);
                    const TColor32 expected = op.ref(c1, c2), actual = (*op.bound)(c1, c2);
                    if (expected != actual) {
                        FAIL() << v.Name << " Channel" << op.name << "(" << Hex(c1) << ", "
                               << Hex(c2) << "): expected " << Hex(expected) << " actual "
                               << Hex(actual);
                    }
                }
            }
        }
        for (uint32_t c = 0; c < 256; ++c) {
            const TColor32 colour = c * 0x01010101u ^ 0x00FF3C00u;
            for (uint32_t w = 0; w < 256; ++w) {
                ASSERT_EQ(ChannelScale(colour, w), reference::ChannelScale(colour, w))
                    << v.Name << " ChannelScale(" << Hex(colour) << ", " << w << ")";
            }
            for (int32_t amount = -255; amount <= 255; ++amount) {
                ASSERT_EQ(ChannelLighten(colour, amount), reference::ChannelLighten(colour, amount))
                    << v.Name << " ChannelLighten(" << Hex(colour) << ", " << amount << ")";
            }
        }
    }
}
