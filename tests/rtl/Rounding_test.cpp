// Round's ties, Trunc, their failures, and the wrapping and saturating narrowings.
#include "platform/rtl/Rounding.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
