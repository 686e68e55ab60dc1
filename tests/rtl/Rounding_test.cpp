// Round's ties, Trunc, their failures, RoundSaturated's ends, and the wrapping and saturating
// narrowings.
#include "platform/rtl/Rounding.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace rtl;

TEST(Round, HalvesGoToEvenOnTheExactValue) {
    const struct {
        long double value;
        Int64 expected;
    } cases[] = {
        {2.5L, 2},
        {3.5L, 4},
        {-1.5L, -2},
        {-2.5L, -2},
        {0.5L, 0},
        {-0.5L, 0},
        {1.5L, 2},
        {12.5L, 12},
        {37.5L, 38},
        {2.4999999999999996L, 2},
        {0.50000000000000011L, 1},
        {-0.50000000000000011L, -1},
        {2.6L, 3},
        {-2.6L, -3},
        {4503599627370497.5L, 4503599627370498}, // beyond double's fractions, exact in Extended
        {-9223372036854775808.0L, std::numeric_limits<Int64>::min()},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Round(c.value), c.expected) << static_cast<double>(c.value);
    }
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-1.5), -2);
}

TEST(Trunc, CutsTowardsZero) {
    EXPECT_EQ(Trunc(2.7), 2);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(-0.9L), 0);
    EXPECT_EQ(Trunc(1e18), 1000000000000000000);
}

TEST(Round, NonFiniteOrTooLargeValuesRaiseInvalidOp) {
    const long double bad[] = {std::numeric_limits<long double>::quiet_NaN(),
                               std::numeric_limits<long double>::infinity(),
                               -std::numeric_limits<long double>::infinity(),
                               9223372036854775808.0L,
                               -9223372036854775810.0L,
                               1e30L};
    for (const long double value : bad) {
        try {
            Round(value);
            ADD_FAILURE() << "no exception for " << static_cast<double>(value);
        } catch (const EInvalidOp &e) {
            EXPECT_EQ(e.Message(), u"Invalid floating point operation");
        }
        EXPECT_THROW(Trunc(value), EInvalidOp);
    }
}

// Mended: the code's own rounding helpers cast nearbyint's result to the integer type even when
// it lay outside that type's range or was NaN (undefined behaviour). The one helper left
// saturates instead, and NaN gives 0.
TEST(RoundSaturated, RoundsHalvesToEvenAndSaturatesAtTheTypesEnds) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        Integer int32;
        SmallInt int16;
        Byte byte;
        Int64 int64;
    } cases[] = {
        {2.5, 2, 2, 2, 2},
        {3.5, 4, 4, 4, 4},
        {-2.5, -2, -2, 0, -2},
        {-0.5, 0, 0, 0, 0},
        {0.49999999999999994, 0, 0, 0, 0},
        {254.5, 254, 254, 254, 254},
        {255.5, 256, 256, 255, 256},
        {32767.5, 32768, 32767, 255, 32768},
        {-32768.5, -32768, -32768, 0, -32768},
        {-32769.5, -32770, -32768, 0, -32770},
        {2147483646.5, 2147483646, 32767, 255, 2147483646},
        {2147483647.5, 2147483647, 32767, 255, 2147483648},
        {-2147483648.5, -2147483648, -32768, 0, -2147483648},
        {-2147483649.5, -2147483648, -32768, 0, -2147483650},
        {1e10, 2147483647, 32767, 255, 10000000000},
        {9223372036854775808.0, 2147483647, 32767, 255, std::numeric_limits<Int64>::max()},
        {-9223372036854775808.0, -2147483648, -32768, 0, std::numeric_limits<Int64>::min()},
        {-1e300, -2147483648, -32768, 0, std::numeric_limits<Int64>::min()},
        {inf, 2147483647, 32767, 255, std::numeric_limits<Int64>::max()},
        {-inf, -2147483648, -32768, 0, std::numeric_limits<Int64>::min()},
        {nan, 0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(RoundSaturated<Integer>(c.value), c.int32);
        EXPECT_EQ(RoundSaturated<SmallInt>(c.value), c.int16);
        EXPECT_EQ(RoundSaturated<Byte>(c.value), c.byte);
        EXPECT_EQ(RoundSaturated<Int64>(c.value), c.int64);
    }
}

TEST(RoundSaturated, FloatAndExtendedRoundTheirExactValue) {
    EXPECT_EQ(RoundSaturated<Integer>(2.5f), 2);
    EXPECT_EQ(RoundSaturated<Integer>(3e9f), 2147483647);
    EXPECT_EQ(RoundSaturated<Integer>(std::numeric_limits<float>::quiet_NaN()), 0);
    // 4503599627370497.5 has a fraction only in Extended; 2^63 - 0.5 rounds up to 2^63.
    EXPECT_EQ(RoundSaturated<Int64>(4503599627370497.5L), 4503599627370498);
    EXPECT_EQ(RoundSaturated<Int64>(9223372036854775807.5L), std::numeric_limits<Int64>::max());
    EXPECT_EQ(RoundSaturated<Int64>(9223372036854775806.5L), 9223372036854775806);
    EXPECT_EQ(RoundSaturated<Int64>(-9223372036854775808.5L), std::numeric_limits<Int64>::min());
    EXPECT_EQ(RoundSaturated<Cardinal>(4294967294.5L), 4294967294u);
    EXPECT_EQ(RoundSaturated<Cardinal>(4294967295.5L), 4294967295u);
}

// Wherever Round succeeds, RoundSaturated gives the same integer.
TEST(RoundSaturated, AgreesWithRoundInsideTheRange) {
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> scale(-40, 40);
    for (int i = 0; i < 100000; ++i) {
        const double value = std::ldexp(std::uniform_real_distribution<double>(-1, 1)(random),
                                        static_cast<int>(scale(random)));
        const double half = std::floor(value) + 0.5; // ties too
        for (const double v : {value, half}) {
            ASSERT_EQ(RoundSaturated<Int64>(v), Round(v)) << v;
            ASSERT_EQ(RoundSaturated<Int64>(static_cast<long double>(v)), Round(v)) << v;
        }
    }
}

TEST(TryRound, GivesRoundsResultOrNothingWhereRoundRaises) {
    EXPECT_EQ(TryRound(2.5L), 2);
    EXPECT_EQ(TryRound(-3.5L), -4);
    EXPECT_EQ(TryRound(-9223372036854775808.0L), std::numeric_limits<Int64>::min());
    EXPECT_EQ(TryRound(9223372036854775808.0L), std::nullopt);
    EXPECT_EQ(TryRound(std::numeric_limits<long double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(TryRound(-std::numeric_limits<long double>::infinity()), std::nullopt);
}

TEST(Narrowing, WrapKeepsTheLowBits) {
    const struct {
        Int64 value;
        Integer int32;
        SmallInt int16;
        Word word;
    } cases[] = {
        {0, 0, 0, 0},
        {32767, 32767, 32767, 32767},
        {32768, 32768, -32768, 32768},
        {65537, 65537, 1, 1},
        {-1, -1, -1, 65535},
        {-32769, -32769, 32767, 32767},
        {2147483648LL, -2147483647 - 1, 0, 0},
        {4294967297LL, 1, 1, 1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(WrapToInt32(c.value), c.int32) << c.value;
        EXPECT_EQ(WrapToSmallInt(c.value), c.int16) << c.value;
        EXPECT_EQ(WrapToWord(c.value), c.word) << c.value;
    }
}

TEST(Narrowing, SaturateClampsTo16Bits) {
    const struct {
        Int64 value;
        SmallInt expected;
    } cases[] = {
        {0, 0},           {32767, 32767},
        {32768, 32767},   {40000, 32767},
        {-32768, -32768}, {-32769, -32768},
        {-40000, -32768}, {std::numeric_limits<Int64>::min(), -32768},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(SaturateToSmallInt(c.value), c.expected) << c.value;
    }
}
