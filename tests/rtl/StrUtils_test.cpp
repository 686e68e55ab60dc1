// Trimming, 1-based Copy and Pos, case, and integer and real text as the class library reads it.
#include "platform/rtl/StrUtils.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace rtl;

TEST(Trim, RemovesBlanksAndControlCharactersOnly) {
    EXPECT_EQ(Trim(UnicodeString(u" \t\r\n\x01"
                                 u"ECG 01\x1F \0",
                                 14)),
              u"ECG 01");
    EXPECT_EQ(Trim(UnicodeString(u"\u00A0x\u00A0")), u"\u00A0x\u00A0");
    EXPECT_EQ(TrimLeft(UnicodeString(u"  a b  ")), u"a b  ");
    EXPECT_EQ(TrimRight(UnicodeString(u"  a b  ")), u"  a b");
    EXPECT_EQ(Trim(UnicodeString(u" \t ")), u"");
    EXPECT_EQ(Trim(AnsiString("\t Отчет \r\n")), "Отчет");
    EXPECT_EQ(TrimRight(AnsiString("ab \x05")), "ab");
}

TEST(Copy, IsOneBasedAndClipped) {
    const UnicodeString s = u"Hello";
    const struct {
        Integer index, count;
        const char16_t *expected;
    } cases[] = {
        {1, 2, u"He"}, {2, 3, u"ell"}, {4, 100, u"lo"}, {5, 1, u"o"}, {6, 1, u""},
        {0, 2, u"He"}, {-3, 2, u"He"}, {2, 0, u""},     {2, -1, u""}, {1, 5, u"Hello"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Copy(s, c.index, c.count), c.expected) << c.index << "," << c.count;
    }
    EXPECT_EQ(Copy(s, 3), u"llo");
    EXPECT_EQ(Copy(AnsiString("abcdef"), 2, 3), "bcd");
}

TEST(Pos, IsOneBasedWithZeroForNotFound) {
    EXPECT_EQ(Pos(u"-Ref", u"I-Ref"), 2);
    EXPECT_EQ(Pos(u"x", u"abc"), 0);
    EXPECT_EQ(Pos(u"", u"abc"), 0);
    EXPECT_EQ(Pos(u"a", u""), 0);
    EXPECT_EQ(Pos(u"ab", u"abab", 2), 3);
    EXPECT_EQ(Pos(u"ab", u"abab", 5), 0);
    EXPECT_EQ(Pos(AnsiString("_"), AnsiString("a_b")), 2);
}

TEST(CaseConversion, AsciiOnlyVersusFullUnicode) {
    EXPECT_EQ(UpperCase(UnicodeString(u"abz Отчет é")), u"ABZ Отчет é");
    EXPECT_EQ(LowerCase(UnicodeString(u"ABZ ОТЧЕТ")), u"abz ОТЧЕТ");
    EXPECT_EQ(UpperCase(AnsiString("abc-\xD0\xBE")), "ABC-\xD0\xBE");
    EXPECT_EQ(AnsiUpperCase(u"Отчет ёж é abc"), u"ОТЧЕТ ЁЖ É ABC");
    EXPECT_EQ(AnsiLowerCase(u"ОТЧЕТ Ё É ABC"), u"отчет ё é abc");
    EXPECT_EQ(AnsiUpperCase(u"\U00010428"), u"\U00010400"); // beyond the 16-bit range
}

TEST(CompareText, FoldsAsciiCaseOnly) {
    EXPECT_EQ(CompareText(u"Symbol", u"SYMBOL"), 0);
    EXPECT_LT(CompareText(u"abc", u"ABD"), 0);
    EXPECT_GT(CompareText(u"abcd", u"ABC"), 0);
    EXPECT_GT(CompareText(u"_", u"a"), 0); // '_' is compared with 'A', not 'a'
    EXPECT_TRUE(SameText(u"Wingdings", u"wingDINGS"));
    EXPECT_FALSE(SameText(u"отчет", u"ОТЧЕТ"));
    EXPECT_TRUE(AnsiSameText(u"отчет", u"ОТЧЕТ"));
    EXPECT_TRUE(SameText(AnsiString("Abc"), AnsiString("aBC")));
}

TEST(IntToStr, DecimalAndHexadecimal) {
    EXPECT_EQ(IntToStr(0), u"0");
    EXPECT_EQ(IntToStr(-42), u"-42");
    EXPECT_EQ(IntToStr(std::numeric_limits<Integer>::min()), u"-2147483648");
    EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), u"-9223372036854775808");
    EXPECT_EQ(IntToHex(255, 4), u"00FF");
    EXPECT_EQ(IntToHex(0xABC, 1), u"ABC");
    EXPECT_EQ(IntToHex(-1, 2), u"FFFFFFFF");
    EXPECT_EQ(IntToHex(Int64{-1}, 2), u"FFFFFFFFFFFFFFFF");
}

TEST(StrToInt, AcceptsWhatTheClassLibraryAccepts) {
    const struct {
        const char16_t *text;
        Integer value;
    } cases[] = {
        {u"0", 0},
        {u"42", 42},
        {u"007", 7},
        {u"+5", 5},
        {u"-5", -5},
        {u"   12", 12},
        {u"2147483647", 2147483647},
        {u"-2147483648", -2147483647 - 1},
        {u"$FF", 255},
        {u"$ff", 255},
        {u"0x1A", 26},
        {u"0X1a", 26},
        {u"x10", 16},
        {u"-$10", -16},
        {u"$7FFFFFFF", 2147483647},
        {u"$FFFFFFFF", -1},
        {u"$80000000", -2147483647 - 1},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(StrToInt(c.text), c.value) << Utf16ToUtf8(c.text);
    }
}

TEST(StrToInt, RefusesEverythingElseWithTheClassLibraryMessage) {
    const char16_t *refused[] = {
        u"",    u" ",   u"12 ", u"\t12", u"1 2",  u"12a",        u"1.0",         u"1,0",
        u"+",   u"-",   u"$",   u"0x",   u"--1",  u"2147483648", u"-2147483649", u"$100000000",
        u"1e3", u"$FG", u"０",  u"+ 1",  u"0x-1",
    };
    for (const char16_t *text : refused) {
        Integer value = 77;
        EXPECT_FALSE(TryStrToInt(text, value)) << Utf16ToUtf8(text);
        EXPECT_EQ(value, 77);
        EXPECT_EQ(StrToIntDef(text, -9), -9);
        try {
            StrToInt(text);
            ADD_FAILURE() << "accepted " << Utf16ToUtf8(text);
        } catch (const EConvertError &e) {
            EXPECT_EQ(e.Message(), u"'" + UnicodeString(text) + u"' is not a valid integer value");
        }
    }
}

TEST(StrToInt64, UsesTheFull64BitRange) {
    EXPECT_EQ(StrToInt64(u"9223372036854775807"), std::numeric_limits<Int64>::max());
    EXPECT_EQ(StrToInt64(u"-9223372036854775808"), std::numeric_limits<Int64>::min());
    EXPECT_EQ(StrToInt64(u"$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64(u"4294967296"), 4294967296LL);
    EXPECT_EQ(StrToInt64Def(u"9223372036854775808", 3), 3);
    EXPECT_EQ(StrToInt64Def(u"$10000000000000000", 3), 3);
    try {
        StrToInt64(u"1 ");
        ADD_FAILURE();
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), u"'1 ' is not a valid integer value");
    }
}

TEST(StrToFloat, ReadsWithTheSettingsDecimalSeparator) {
    const TFormatSettings ru = TFormatSettings::Russian();
    const TFormatSettings en = TFormatSettings::ForLocale("en_US.UTF-8");
    const struct {
        const char16_t *text;
        const TFormatSettings *settings;
        long double value;
    } cases[] = {
        {u"99,625", &ru, 99.625L}, {u" -1,5 ", &ru, -1.5L},   {u"1,5E-5", &ru, 1.5e-5L},
        {u"2e3", &ru, 2000.0L},    {u",5", &ru, 0.5L},        {u"5,", &ru, 5.0L},
        {u"+0", &ru, 0.0L},        {u"99.625", &en, 99.625L}, {u"1E+2", &en, 100.0L},
        {u"0.1", &en, 0.1L},       {u"1e-6000", &en, 0.0L},   {u"100", &en, 100.0L},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(StrToFloat(c.text, *c.settings), c.value) << Utf16ToUtf8(c.text);
    }
    double d = 0;
    ASSERT_TRUE(TryStrToFloat(u"0,1", d, ru));
    EXPECT_EQ(d, 0.1);
}

TEST(StrToFloat, RefusesMalformedTextWithTheClassLibraryMessage) {
    const TFormatSettings ru = TFormatSettings::Russian();
    const char16_t *refused[] = {u"",    u" ",   u"1.5", u"1 000", u"1,5,", u"E5",    u"1E",
                                 u"1E+", u"--1", u",",   u"1,5x",  u"NAN",  u"1e6000"};
    for (const char16_t *text : refused) {
        Extended value = 7;
        EXPECT_FALSE(TryStrToFloat(text, value, ru)) << Utf16ToUtf8(text);
        try {
            StrToFloat(text, ru);
            ADD_FAILURE() << "accepted " << Utf16ToUtf8(text);
        } catch (const EConvertError &e) {
            EXPECT_EQ(e.Message(),
                      u"'" + UnicodeString(text) + u"' is not a valid floating point value");
        }
    }
    double d = 0;
    EXPECT_FALSE(TryStrToFloat(u"1e400", d, ru)); // beyond double, though within Extended
    Extended x = 0;
    EXPECT_TRUE(TryStrToFloat(u"1e400", x, ru));
}

TEST(StrToFloat, WithoutSettingsUsesTheGlobalOnes) {
    const TFormatSettings saved = FormatSettings();
    SetFormatSettings(TFormatSettings::ForLocale("en_GB"));
    EXPECT_EQ(StrToFloat(u"2.5"), 2.5L);
    SetFormatSettings(TFormatSettings::Russian());
    EXPECT_EQ(StrToFloat(u"2,5"), 2.5L);
    EXPECT_THROW(StrToFloat(u"2.5"), EConvertError);
    SetFormatSettings(saved);
}
