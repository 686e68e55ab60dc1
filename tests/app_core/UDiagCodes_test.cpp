// Tests of the diagnosis code table, the urgent set and the measures' values and texts.
#include "app/core/UDiagCodes.h"

#include "WorkbenchFixture.h"

#include <gtest/gtest.h>

namespace workbench {
namespace {

using testing::TDecimalSeparatorScope;

TEST(DiagCodes, DescriptionLookup) {
    struct Case {
        int32_t code;
        const char16_t *description;
    };
    const Case cases[] = {
        {1, u"Синусовый ритм"},
        {4, u"Фибриляция, трепетание предсердий"},
        {12, u"Желудочковая экстрасистолия, парасистолия"},
        {17, u"Пауза за счет СА-блокад или ост. син. узла"},
        {24, u"Полная БПВЛН"},
        {30, u"ГЛЖ"},
        {9, u""},
        {10, u""},
        {13, u""},
        {25, u""},
        {0, u""},
        {31, u""},
        {-1, u""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(DiagCodeDescription(c.code), c.description) << "code " << c.code;
    }
}

TEST(DiagCodes, TableHoldsEachUsedCodeOnce) {
    int seen[MaxDiagCode + 1] = {};
    for (int g = 0; g < DiagGroupCount; ++g) {
        ASSERT_EQ(DiagGroupCodes[g].size(), DiagCodeDescriptions[g].size()) << "group " << g;
        for (const int32_t c : DiagGroupCodes[g]) {
            ASSERT_GE(c, MinDiagCode);
            ASSERT_LE(c, MaxDiagCode);
            ++seen[c];
        }
    }
    for (int32_t c = MinDiagCode; c <= MaxDiagCode; ++c) {
        const bool outside = c == 9 || c == 10 || c == 13 || c == 25;
        EXPECT_EQ(seen[c], outside ? 0 : 1) << "code " << c;
        EXPECT_EQ(IsTableCode(c), !outside) << "code " << c;
    }
}

TEST(DiagCodes, CitoMembership) {
    for (int32_t c = -40; c <= 40; ++c) {
        const bool urgent = c == 4 || c == 6 || c == 7 || c == 8 || c == 16 || c == 17 || c == 19 ||
                            c == 20 || c == 23 || c == 28 || c == 29;
        EXPECT_EQ(IsCitoCode(c), urgent) << "code " << c;
    }
    EXPECT_FALSE(IsCitoCode(4 + 32));
    EXPECT_FALSE(IsCitoCode(INT32_MIN));
}

TEST(DiagCodes, MeasureText) {
    struct Case {
        int64_t num, den;
        int32_t substitute;
        char16_t separator;
        const char16_t *text;
    };
    const Case cases[] = {
        {1, 1, 0, u',', u"100"},            // exactly 100: "%3.0f"
        {7, 7, 0, u'.', u"100"},            // no separator either way
        {0, 0, 100, u',', u"100"},          // substitute 100
        {0, 0, 0, u',', u" 0,00"},          // substitute 0: "%5.2f", padded
        {0, 5, 100, u',', u" 0,00"},        // a real zero
        {1, 3, 0, u',', u"33,33"},          // rounds down
        {2, 3, 0, u',', u"66,67"},          // rounds up
        {1, 3, 0, u'.', u"33.33"},          // the locale's separator
        {797, 800, 0, u',', u"99,63"},      // 99.625: tie rounds away from zero
        {1, 800, 0, u',', u" 0,13"},        // 0.125: tie rounds away from zero
        {1, 1600, 0, u',', u" 0,06"},       // 0.0625: below the tie
        {1, 20000, 0, u',', u" 0,01"},      // 0.005: a tie that no binary float holds exactly
        {19999, 20000, 0, u',', u"100,00"}, // 99.995 becomes 100.00, not "100"
        {199999, 200000, 0, u',', u"100,00"},
        {9999, 10000, 0, u',', u"99,99"},
        {1, 16, 0, u',', u" 6,25"},
    };
    for (const Case &c : cases) {
        TDecimalSeparatorScope scope(c.separator);
        const TMeasure m{c.num, c.den, c.substitute};
        EXPECT_EQ(m.Text(), c.text) << c.num << "/" << c.den;
    }
}

TEST(DiagCodes, MeasureValueAndExactHundred) {
    EXPECT_EQ((TMeasure{1, 4, 0}.Value()), 25.0L);
    EXPECT_EQ((TMeasure{0, 0, 100}.Value()), 100.0L);
    EXPECT_TRUE((TMeasure{3, 3, 0}.IsExactly100()));
    EXPECT_FALSE((TMeasure{19999, 20000, 0}.IsExactly100()));
    EXPECT_FALSE((TMeasure{0, 0, 0}.IsExactly100()));
    // At least 100 is decided on the exact quotient and counts the substitute.
    EXPECT_TRUE((TMeasure{3, 3, 0}.IsAtLeast100()));
    EXPECT_FALSE((TMeasure{19999, 20000, 0}.IsAtLeast100()));
    EXPECT_TRUE((TMeasure{0, 0, 100}.IsAtLeast100()));
    EXPECT_FALSE((TMeasure{0, 0, 0}.IsAtLeast100()));
}

TEST(DiagCodes, MeasuresUseTheirCounters) {
    // reference, computed, TP, FP, missed, TN
    const TCounterSums c = {9, 7, 3, 4, 6, 10};
    EXPECT_EQ((Sensitivity(c, 100).Numerator), 3);
    EXPECT_EQ((Sensitivity(c, 100).Denominator), 9);
    EXPECT_EQ((Specificity(c, 100).Numerator), 10);
    EXPECT_EQ((Specificity(c, 100).Denominator), 14);
    EXPECT_EQ((PredictiveValue(c, 0).Numerator), 3);
    EXPECT_EQ((PredictiveValue(c, 0).Denominator), 7);
    const TCounterSums none{};
    TDecimalSeparatorScope scope(u',');
    EXPECT_EQ(PredictiveValue(none, 0).Text(), u" 0,00");
    EXPECT_EQ(PredictiveValue(none, 100).Text(), u"100");
}

TEST(DiagCodes, MeasureTextReadsBackAs100) {
    TDecimalSeparatorScope scope(u',');
    struct Case {
        const char16_t *text;
        bool is100;
    };
    const Case cases[] = {
        {u"100", true},     {u"100,00", true},  {u" 100,00", true}, {u"0100,0", true},
        {u"99,99", false},  {u"100,01", false}, {u" 0,00", false},  {u"", false},
        {u"100.00", false}, {u"1000", false},   {u"10", false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(MeasureTextIs100(c.text), c.is100) << rtl::Utf16ToUtf8(c.text);
    }
}

} // namespace
} // namespace workbench
