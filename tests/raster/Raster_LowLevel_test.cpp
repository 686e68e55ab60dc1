// Fixed point, rounding multiply-divide, span clipping, wrapping and the fill variants.
#include "raster/Raster_LowLevel.h"

#include "raster/Raster.h"
#include "raster/Raster_System.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

using namespace raster;

TEST(LowLevel, FixedToIntRoundRoundsAnExactHalfDown) {
    EXPECT_EQ(FixedToIntRound(0x18000), 1);
    EXPECT_EQ(FixedToIntRound(0x28000 + 1), 3);
    EXPECT_EQ(FixedToIntFloor(-1), -1);
    EXPECT_EQ(FixedToIntCeil(0x10001), 2);
}

TEST(LowLevel, FixedProductAndQuotient) {
    EXPECT_EQ(FixedProduct(3 * 65536, 0x8000), 0x18000);
    EXPECT_EQ(FixedProduct(5, 0x12345), int32_t((5LL * 0x12345) >> 16));
    EXPECT_EQ(FixedQuotient(65536, 2 * 65536), 0x8000);
    EXPECT_EQ(FixedQuotient(-65536, 3 * 65536), -21845);
}

TEST(LowLevel, MulDivRoundedTable) {
    struct Case {
        int32_t a, b, c, expected;
    };
    const Case cases[] = {
        {7, 1, 2, 4},    {-7, 1, 2, -4}, {1, 1, 0, -1},  {65536, 65536, 1, -1},
        {10, 10, 3, 33}, {5, 1, 2, 3},   {-5, -1, 2, 3}, {100, 3, -7, -43},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(MulDivRounded(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
    }
}

// The high-word test alone let quotients between 2^31 and 2^32 through, which then wrapped.
TEST(LowLevel, MulDivRoundedOverflowBelowTheHighWordIsReported) {
    EXPECT_EQ(MulDivRounded(0x7FFFFFFF, 2, 1), -1);
    EXPECT_EQ(MulDivRounded(65535, 65537, 1), -1);
    EXPECT_EQ(MulDivRounded(0x40000000, 3, 1), -1);
    EXPECT_EQ(MulDivRounded(0x40000000, 1, 1), 0x40000000);
}

TEST(LowLevel, ClipSpanOrdersAndClips) {
    int32_t a = 5, b = 2;
    EXPECT_TRUE(ClipSpan(a, b, 0, 4));
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 3);
    a = 5;
    b = 7;
    EXPECT_FALSE(ClipSpan(a, b, 0, 4));
}

TEST(LowLevel, WrapMirrorAndClamp) {
    EXPECT_EQ(WrapToRange(-1, 0, 9), 9);
    EXPECT_EQ(WrapToRange(23, 0, 9), 3);
    EXPECT_EQ(MirrorToRange(10, 0, 9), 9);
    EXPECT_EQ(MirrorToRange(-1, 0, 9), 0);
    EXPECT_EQ(MirrorToRange(12, 0, 9), 7);
    EXPECT_EQ(ClampToRange(5, 10, 3), 3);
    EXPECT_EQ(ConstrainSorted(5, 10, 3), 5);
    EXPECT_EQ(WrapToRangePow2(9, 0, 7), 1);
    EXPECT_EQ(MirrorToRangePow2(9, 0, 7), 6);
    for (int32_t v = -20; v < 20; ++v) {
        EXPECT_EQ(WrapToRangePow2(v, 0, 7), WrapToRange(v, 0, 7)) << v;
        EXPECT_EQ(MirrorToRangePow2(v, 0, 7), MirrorToRange(v, 0, 7)) << v;
    }
}

TEST(LowLevel, FastWrapProcChoosesPowerOfTwoForms) {
    EXPECT_EQ(FastWrapProcFor(wmRepeat, 0, 7), WrapToRangePow2);
    EXPECT_EQ(FastWrapProcFor(wmRepeat, 1, 9), WrapToRange);
    EXPECT_EQ(FastWrapProcFor(wmRepeat, -4, 3), WrapToRange);
    EXPECT_EQ(FastWrapProcFor(wmMirror, 0, 15), MirrorToRangePow2);
    EXPECT_EQ(FastWrapProcFor(wmClamp, 0, 7), ClampToRange);
    EXPECT_EQ(WrapProcFor(wmMirror), MirrorToRange);
}

TEST(LowLevel, DivBy256TruncatesTowardZero) {
    EXPECT_EQ(DivBy256(-1), 0);
    EXPECT_EQ(DivBy256(-256), -1);
    EXPECT_EQ(DivBy256(511), 1);
    EXPECT_EQ(DivBy512(-513), -1);
    int32_t r = 0;
    EXPECT_EQ(DivWithRemainder(-7, 2, r), -3);
    EXPECT_EQ(r, -1);
}

TEST(LowLevel, HypotRoundedRoundsHalvesToEven) {
    EXPECT_EQ(HypotRounded(3, 4), 5);
    EXPECT_EQ(HypotRounded(65536, 0), 65536);
    EXPECT_EQ(HypotRounded(1, 1), 1);
}

// Mended: the rounding casts were undefined when the result left the int32_t range (the
// hypotenuse of two large coordinates) or was NaN; they now saturate, and NaN gives 0.
TEST(LowLevel, RoundingsBeyondTheInt32RangeSaturate) {
    EXPECT_EQ(HypotRounded(INT32_MAX, INT32_MAX), INT32_MAX);
    EXPECT_EQ(HypotRounded(INT32_MIN, 0), INT32_MAX);
    EXPECT_EQ(HypotRounded(46341, 46341), 65536); // 65536.07: the squares need 64 bits
    EXPECT_EQ(Round(3e9), INT32_MAX);
    EXPECT_EQ(Round(-3e9), INT32_MIN);
    EXPECT_EQ(Round(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(LowLevel, FillVariantsFillExactlyTheCells) {
    InitializeRaster();
    const TCPUFeatures sets[] = {NoCPUFeatures, CPUFeature(ciSSE2), 0xFF};
    for (TCPUFeatures f : sets) {
        ForceProcessorFeaturesForTesting(f);
        for (int32_t offset = 0; offset < 9; ++offset) {
            for (int32_t count : {-3, 0, 1, 7, 31, 32, 33, 100, 1027, 5000}) {
                std::vector<uint32_t> cells(5100, 0x11111111u);
                FillDWords(cells.data() + offset, count, 0xA5A5A5A5u);
                for (int32_t i = 0; i < int32_t(cells.size()); ++i) {
                    const bool inside = i >= offset && i < offset + count;
                    ASSERT_EQ(cells[size_t(i)], inside ? 0xA5A5A5A5u : 0x11111111u)
                        << "features " << int(f) << " offset " << offset << " count " << count;
                }
            }
        }
    }
    RestoreProcessorFeaturesForTesting();
}

TEST(LowLevel, MoveDWordsAllowsOverlap) {
    std::vector<uint32_t> v = {1, 2, 3, 4, 5};
    MoveDWords(v.data(), v.data() + 1, 4);
    EXPECT_EQ(v, (std::vector<uint32_t>{1, 1, 2, 3, 4}));
}
