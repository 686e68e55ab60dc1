// Format, FloatToStr/FloatToStrF and the format settings derived from locale names.
#include "platform/rtl/Format.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

using namespace rtl;

namespace {

const TFormatSettings kRu = TFormatSettings::Russian();
const TFormatSettings kUs = TFormatSettings::ForLocale("en_US.UTF-8");

struct TCase {
    UnicodeString actual;
    UnicodeString expected;
};

void ExpectAll(std::initializer_list<TCase> cases) {
    for (const auto &c : cases) {
        EXPECT_EQ(Utf16ToUtf8(c.actual), Utf16ToUtf8(c.expected));
    }
}

} // namespace

TEST(FormatReal, FixedDecimalsRoundTiesAwayFromZeroOnTheExactValue) {
    ExpectAll({
        {Format(u"%5.2f", {99.625}, kRu), u"99,63"},
        {Format(u"%3.0f", {100.0}, kRu), u"100"},
        {Format(u"%5.2f", {0.0}, kRu), u" 0,00"},
        {Format(u"%5.2f", {200.0 / 3}, kRu), u"66,67"},
        {Format(u"%.2f", {0.125}, kRu), u"0,13"},
        {Format(u"%.2f", {-0.125}, kRu), u"-0,13"},
        {Format(u"%.2f", {1.005}, kRu), u"1,00"}, // really 1.00499999999999989...
        {Format(u"%.2f", {2.675}, kRu), u"2,67"}, // really 2.67499999999999982...
        {Format(u"%.0f", {0.5}, kRu), u"1"},
        {Format(u"%.0f", {2.5}, kRu), u"3"},
        {Format(u"%.1f", {0.05}, kRu), u"0,1"}, // really 0.05000000000000000277...
        {Format(u"%.2f", {-0.001}, kRu), u"0,00"},
        {Format(u"%.2f", {9.995}, kRu), u"9,99"}, // really 9.99499999999999921...
        {Format(u"%.2f", {9.9951}, kRu), u"10,00"},
        {Format(u"%f", {1234.5}, kRu), u"1234,50"},
        {Format(u"%.3f", {1e-10}, kUs), u"0.000"},
        {Format(u"%.1f", {2.25L}, kUs), u"2.3"},
        {Format(u"%5.2f", {99.625f}, kUs), u"99.63"},
    });
}

TEST(FormatReal, ScientificGeneralAndThousands) {
    const UnicodeString nbsp = u"\u00A0";
    ExpectAll({
        {Format(u"%e", {1234.5}, kRu), u"1,23450000000000E+003"},
        {Format(u"%.3e", {-0.000123456}, kRu), u"-1,23E-004"},
        {Format(u"%e", {0.0}, kUs), u"0.00000000000000E+000"},
        {Format(u"%.2e", {9.999}, kUs), u"1.0E+001"},
        {Format(u"%g", {1234.5}, kRu), u"1234,5"},
        {Format(u"%g", {1e20}, kUs), u"1E020"},
        {Format(u"%g", {0.000015}, kRu), u"1,5E-005"},
        {Format(u"%.3g", {1234.5}, kUs), u"1.23E003"},
        {Format(u"%g", {100.0}, kUs), u"100"},
        {Format(u"%n", {1234567.891}, kRu), u"1" + nbsp + u"234" + nbsp + u"567,89"},
        {Format(u"%n", {1234567.891}, kUs), u"1,234,567.89"},
        {Format(u"%.0n", {999.0}, kUs), u"999"},
        {Format(u"%.1n", {-1234.5}, kUs), u"-1,234.5"},
        {Format(u"%n", {0.5}, kUs), u"0.50"},
        {Format(u"%m", {1234.5}, kRu), u"1" + nbsp + u"234,50 ₽"},
        {Format(u"%m", {-1234.5}, kRu), u"-1" + nbsp + u"234,50 ₽"},
        {Format(u"%m", {1234.5}, kUs), u"$1,234.50"},
        {Format(u"%m", {-1234.5}, kUs), u"($1,234.50)"},
        {Format(u"%f", {std::numeric_limits<double>::infinity()}, kUs), u"INF"},
    });
}

TEST(FormatInteger, DecimalUnsignedHexadecimal) {
    ExpectAll({
        {Format(u"%d of %d", {5, 12}), u"5 of 12"},
        {Format(u"%.3d", {-5}), u"-005"},
        {Format(u"%d", {std::numeric_limits<Int64>::min()}), u"-9223372036854775808"},
        {Format(u"%d", {4294967295u}), u"4294967295"},
        {Format(u"%d", {std::numeric_limits<uint64_t>::max()}), u"18446744073709551615"},
        {Format(u"%u", {-1}), u"4294967295"},
        {Format(u"%x", {255}), u"FF"},
        {Format(u"%X", {255}), u"FF"},
        {Format(u"%.4x", {255}), u"00FF"},
        {Format(u"%x", {-1}), u"FFFFFFFF"},
        {Format(u"%x", {Int64{-1}}), u"FFFFFFFFFFFFFFFF"},
        {Format(u"%p", {nullptr}), u"0000000000000000"},
        {Format(u"100%%", {}), u"100%"},
    });
}

TEST(FormatLayout, WidthAlignmentIndexAndStars) {
    ExpectAll({
        {Format(u"[%5d][%-5d]", {42, 42}), u"[   42][42   ]"},
        {Format(u"[%2d]", {12345}), u"[12345]"},
        {Format(u"[%6s][%-6s]", {u"ab", u"cd"}), u"[    ab][cd    ]"},
        {Format(u"%.2s", {u"abc"}), u"ab"},
        {Format(u"%1:s %0:s %s", {u"a", u"b"}), u"b a b"},
        {Format(u"%1:-4s|", {u"a", u"b"}), u"b   |"},
        {Format(u"[%*.*f]", {8, 3, 3.14159}, kRu), u"[   3,142]"},
        {Format(u"[%-*d]", {4, 7}), u"[7   ]"},
        {Format(u"%*:s", {1, u"x", u"y"}), u"x"},
    });
}

TEST(FormatString, AllStringKindsAndCharacters) {
    const UnicodeString wide = u"Отчет";
    const AnsiString narrow = "Фамилия";
    ExpectAll({
        {Format(u"%s|%s|%s|%s", {wide, narrow, "ЭКГ", u'Ж'}), u"Отчет|Фамилия|ЭКГ|Ж"},
        {Format(u"Border%s", {u""}), u"Border"},
        {Format(u"%s=%d", {std::u16string_view(u"key"), 3}), u"key=3"},
    });
    EXPECT_EQ(Format("%s: %d", {"Отчет", 3}), "Отчет: 3");
    EXPECT_EQ(Format("%.1f", {2.25}, kRu), "2,3");
}

TEST(Format, MismatchesRaiseTheClassLibraryMessage) {
    const struct {
        const char16_t *format;
        std::initializer_list<TVarRec> args;
    } cases[] = {
        {u"%d", {u"x"}}, {u"%s", {5}}, {u"%f", {5}},    {u"%d", {1.5}},   {u"%d", {}},
        {u"%y", {1}},    {u"%", {1}},  {u"%5", {1}},    {u"%2:d", {1}},   {u"%*d", {u"x", 1}},
        {u"%x", {2.0}},  {u"%p", {1}}, {u"%d %d", {1}}, {u"%.*f", {1.0}}, {u"%9999999d", {1}},
    };
    for (const auto &c : cases) {
        try {
            Format(c.format, c.args);
            ADD_FAILURE() << "accepted " << Utf16ToUtf8(c.format);
        } catch (const EConvertError &e) {
            EXPECT_EQ(e.Message(), u"Format '" + UnicodeString(c.format) +
                                       u"' invalid or incompatible with argument");
        }
    }
}

TEST(Format, WithoutSettingsUsesTheGlobalOnes) {
    const TFormatSettings saved = FormatSettings();
    SetFormatSettings(kUs);
    EXPECT_EQ(Format(u"%5.2f", {99.625}), u"99.63");
    EXPECT_EQ(FloatToStr(0.5), u"0.5");
    SetFormatSettings(kRu);
    EXPECT_EQ(Format(u"%5.2f", {99.625}), u"99,63");
    EXPECT_EQ(FloatToStr(0.5), u"0,5");
    SetFormatSettings(saved);
}

TEST(FloatToStr, GeneralFormWith15Digits) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    ExpectAll({
        {FloatToStr(25.0, kRu), u"25"},
        {FloatToStr(100.0, kRu), u"100"},
        {FloatToStr(0.1, kRu), u"0,1"},
        {FloatToStr(-1.5, kRu), u"-1,5"},
        {FloatToStr(0.0, kRu), u"0"},
        {FloatToStr(-0.0, kRu), u"0"},
        {FloatToStr(1e20, kRu), u"1E20"},
        {FloatToStr(0.000015, kRu), u"1,5E-5"},
        {FloatToStr(0.0001, kRu), u"0,0001"},
        {FloatToStr(0.00001, kRu), u"1E-5"},
        {FloatToStr(1e15, kRu), u"1E15"},
        {FloatToStr(999999999999999.0, kRu), u"999999999999999"},
        {FloatToStr(123456789012345678.0, kUs), u"1.23456789012346E17"},
        {FloatToStr(1.0 / 3, kUs), u"0.333333333333333"},
        {FloatToStr(2.0 / 3, kUs), u"0.666666666666667"},
        {FloatToStr(0.1 + 0.2, kUs), u"0.3"},
        {FloatToStr(-2.5e-300, kUs), u"-2.5E-300"},
        {FloatToStr(1e4000L, kUs), u"1E4000"},
        {FloatToStr(nan, kUs), u"NAN"},
        {FloatToStr(inf, kUs), u"INF"},
        {FloatToStr(-inf, kUs), u"-INF"},
    });
}

TEST(FloatToStrF, PrecisionAndDigits) {
    ExpectAll({
        {FloatToStrF(1234.5678, ffFixed, 4, 2, kRu), u"1235,00"},
        {FloatToStrF(1234.5678, ffFixed, 15, 2, kRu), u"1234,57"},
        {FloatToStrF(1234.5678, ffExponent, 4, 2, kUs), u"1.235E+03"},
        {FloatToStrF(1234.5, ffNumber, 15, 1, kUs), u"1,234.5"},
        {FloatToStrF(1234.5678, ffGeneral, 6, 0, kUs), u"1234.57"},
        {FloatToStrF(1e20, ffFixed, 15, 2, kUs), u"1E20"},
        {FloatToStrF(1234.5678, ffGeneral, 3, 2, kUs), u"1.23E03"},
    });
}

TEST(FormatSettings, DerivedFromLocaleNames) {
    const struct {
        const char *locale;
        char16_t decimal, thousands, date;
        const char16_t *shortDate;
        const char16_t *firstMonth;
    } cases[] = {
        {"ru_RU.UTF-8", u',', u'\u00A0', u'.', u"dd.MM.yyyy", u"Январь"},
        {"en_US.UTF-8", u'.', u',', u'/', u"M/d/yyyy", u"January"},
        {"en_GB", u'.', u',', u'/', u"dd/MM/yyyy", u"January"},
        {"de_DE.UTF-8@euro", u',', u'.', u'.', u"dd.MM.yyyy", u"Januar"},
        {"fr_FR.utf8", u',', u'\u00A0', u'/', u"dd/MM/yyyy", u"janvier"},
        {"C", u',', u'\u00A0', u'.', u"dd.MM.yyyy", u"Январь"},
        {"POSIX", u',', u'\u00A0', u'.', u"dd.MM.yyyy", u"Январь"},
        {"C.UTF-8", u',', u'\u00A0', u'.', u"dd.MM.yyyy", u"Январь"},
        {"", u',', u'\u00A0', u'.', u"dd.MM.yyyy", u"Январь"},
        {"ja_JP.UTF-8", u',', u'\u00A0', u'.', u"dd.MM.yyyy", u"Январь"},
    };
    for (const auto &c : cases) {
        const TFormatSettings s = TFormatSettings::ForLocale(c.locale);
        EXPECT_EQ(s.DecimalSeparator, c.decimal) << c.locale;
        EXPECT_EQ(s.ThousandSeparator, c.thousands) << c.locale;
        EXPECT_EQ(s.DateSeparator, c.date) << c.locale;
        EXPECT_EQ(s.ShortDateFormat, c.shortDate) << c.locale;
        EXPECT_EQ(s.LongMonthNames[0], c.firstMonth) << c.locale;
    }
    const TFormatSettings ru = TFormatSettings::Russian();
    EXPECT_EQ(ru.LongDayNames[0], u"воскресенье");
    EXPECT_EQ(ru.ShortMonthNames[11], u"дек");
    EXPECT_EQ(ru.ShortTimeFormat, u"H:mm");
    EXPECT_EQ(kUs.LongDayNames[1], u"Monday");
    EXPECT_EQ(kUs.TimePMString, u"PM");
}

namespace {

// Sets the locale variables for one test and puts the previous values back.
class LocaleEnvironment : public ::testing::Test {
protected:
    static constexpr const char *kNames[] = {"LC_ALL", "LC_NUMERIC", "LC_TIME", "LANG"};

    void SetUp() override {
        for (size_t i = 0; i < std::size(kNames); ++i) {
            const char *value = std::getenv(kNames[i]);
            FSaved[i] = value ? std::optional<std::string>(value) : std::nullopt;
            unsetenv(kNames[i]);
        }
    }
    void TearDown() override {
        for (size_t i = 0; i < std::size(kNames); ++i) {
            if (FSaved[i]) {
                setenv(kNames[i], FSaved[i]->c_str(), 1);
            } else {
                unsetenv(kNames[i]);
            }
        }
    }

private:
    std::optional<std::string> FSaved[4];
};

} // namespace

TEST_F(LocaleEnvironment, NumbersAndDatesFollowTheirOwnVariables) {
    setenv("LANG", "ru_RU.UTF-8", 1);
    setenv("LC_NUMERIC", "en_US.UTF-8", 1);
    TFormatSettings s = TFormatSettings::FromEnvironment();
    EXPECT_EQ(s.DecimalSeparator, u'.');
    EXPECT_EQ(s.ShortDateFormat, u"dd.MM.yyyy");

    setenv("LC_TIME", "en_GB.UTF-8", 1);
    s = TFormatSettings::FromEnvironment();
    EXPECT_EQ(s.ShortDateFormat, u"dd/MM/yyyy");

    setenv("LC_ALL", "de_DE.UTF-8", 1);
    s = TFormatSettings::FromEnvironment();
    EXPECT_EQ(s.DecimalSeparator, u',');
    EXPECT_EQ(s.ThousandSeparator, u'.');
    EXPECT_EQ(s.LongMonthNames[2], u"März");
}

TEST_F(LocaleEnvironment, NoLocaleGivesTheRussianSettings) {
    TFormatSettings s = TFormatSettings::FromEnvironment();
    EXPECT_EQ(s.DecimalSeparator, u',');
    EXPECT_EQ(s.ShortDateFormat, u"dd.MM.yyyy");
    setenv("LANG", "C", 1);
    s = TFormatSettings::FromEnvironment();
    EXPECT_EQ(s.DecimalSeparator, u',');
    EXPECT_EQ(s.LongMonthNames[0], u"Январь");
}
