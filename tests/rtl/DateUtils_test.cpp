// Date and time encoding, decoding, formatting and parsing.
#include "platform/rtl/DateUtils.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace rtl;

namespace {

TFormatSettings RussianSettings() {
    TFormatSettings s; // the defaults are the Russian formats
    s.DecimalSeparator = u',';
    s.DateSeparator = u'.';
    s.TimeSeparator = u':';
    s.ShortDateFormat = u"dd.MM.yyyy";
    s.LongDateFormat = u"d MMMM yyyy 'г.'";
    s.ShortTimeFormat = u"H:mm";
    s.LongTimeFormat = u"H:mm:ss";
    const char16_t *shortMonths[12] = {u"янв", u"фев", u"мар", u"апр", u"май", u"июн",
                                       u"июл", u"авг", u"сен", u"окт", u"ноя", u"дек"};
    const char16_t *longMonths[12] = {u"Январь",   u"Февраль", u"Март",   u"Апрель",
                                      u"Май",      u"Июнь",    u"Июль",   u"Август",
                                      u"Сентябрь", u"Октябрь", u"Ноябрь", u"Декабрь"};
    const char16_t *shortDays[7] = {u"Вс", u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб"};
    const char16_t *longDays[7] = {u"воскресенье", u"понедельник", u"вторник", u"среда",
                                   u"четверг",     u"пятница",     u"суббота"};
    for (int i = 0; i < 12; ++i) {
        s.ShortMonthNames[i] = shortMonths[i];
        s.LongMonthNames[i] = longMonths[i];
    }
    for (int i = 0; i < 7; ++i) {
        s.ShortDayNames[i] = shortDays[i];
        s.LongDayNames[i] = longDays[i];
    }
    return s;
}

TFormatSettings EnglishUSSettings() {
    TFormatSettings s = RussianSettings();
    s.DecimalSeparator = u'.';
    s.DateSeparator = u'/';
    s.ShortDateFormat = u"M/d/yyyy";
    s.LongDateFormat = u"dddd, MMMM d, yyyy";
    s.ShortTimeFormat = u"h:mm AMPM";
    s.LongTimeFormat = u"h:mm:ss AMPM";
    s.TimeAMString = u"AM";
    s.TimePMString = u"PM";
    const char16_t *longMonths[12] = {u"January",   u"February", u"March",    u"April",
                                      u"May",       u"June",     u"July",     u"August",
                                      u"September", u"October",  u"November", u"December"};
    const char16_t *longDays[7] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                   u"Thursday", u"Friday", u"Saturday"};
    for (int i = 0; i < 12; ++i) {
        s.LongMonthNames[i] = longMonths[i];
        s.ShortMonthNames[i] = UnicodeString(longMonths[i]).substr(0, 3);
    }
    for (int i = 0; i < 7; ++i) {
        s.LongDayNames[i] = longDays[i];
        s.ShortDayNames[i] = UnicodeString(longDays[i]).substr(0, 3);
    }
    return s;
}

// The settings the EDF reader parses its start date and time with.
TFormatSettings EdfSettings() {
    TFormatSettings s = RussianSettings();
    s.DateSeparator = u'.';
    s.TimeSeparator = u'.';
    s.ShortDateFormat = u"dd.MM.yy";
    s.ShortTimeFormat = u"hh.mm.ss";
    return s;
}

template <class F> UnicodeString ConvertErrorMessage(F f) {
    try {
        f();
    } catch (const EConvertError &e) {
        return e.Message();
    }
    return u"<no EConvertError>";
}

Word ThisYear() {
    Word y = 0, m = 0, d = 0;
    DecodeDate(Date(), y, m, d);
    return y;
}

} // namespace

TEST(DateEncode, SerialNumbersAroundTheEpochAndLeapDays) {
    struct Case {
        Word y, m, d;
        double serial;
    } cases[] = {
        {1899, 12, 30, 0},   {1899, 12, 31, 1},       {1899, 12, 29, -1},   {1900, 1, 1, 2},
        {1900, 2, 28, 60},   {1900, 3, 1, 61},        {2000, 2, 29, 36585}, {2024, 2, 29, 45351},
        {1970, 1, 1, 25569}, {1600, 2, 29, -109512},  {1800, 1, 1, -36522}, {1752, 9, 14, -53797},
        {1, 1, 1, -693593},  {9999, 12, 31, 2958465},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        Word y = 0, m = 0, d = 0;
        DecodeDate(c.serial, y, m, d);
        EXPECT_EQ(y, c.y) << c.serial;
        EXPECT_EQ(m, c.m) << c.serial;
        EXPECT_EQ(d, c.d) << c.serial;
    }
}

TEST(DateEncode, EveryDayOfFourHundredYearsRoundTrips) {
    double expected = EncodeDate(1801, 1, 1);
    for (Word y = 1801; y <= 2200; ++y) {
        for (Word m = 1; m <= 12; ++m) {
            for (Word d = 1; d <= DaysInAMonth(y, m); ++d) {
                ASSERT_EQ(EncodeDate(y, m, d), expected) << y << "-" << m << "-" << d;
                Word y2 = 0, m2 = 0, d2 = 0;
                DecodeDate(expected, y2, m2, d2);
                ASSERT_TRUE(y2 == y && m2 == m && d2 == d) << expected;
                expected += 1;
            }
        }
    }
}

TEST(DateEncode, InvalidDatesAreRefused) {
    struct Case {
        Word y, m, d;
    } cases[] = {{1900, 2, 29}, {2023, 2, 29}, {2100, 2, 29}, {0, 1, 1},    {10000, 1, 1},
                 {2021, 13, 1}, {2021, 0, 1},  {2021, 4, 31}, {2021, 1, 0}, {2021, 1, 32}};
    for (const auto &c : cases) {
        TDateTime value = 123.0;
        EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, value)) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(value, 123.0);
        EXPECT_EQ(ConvertErrorMessage([&] { EncodeDate(c.y, c.m, c.d); }),
                  u"Invalid argument to date encode");
        EXPECT_EQ(ConvertErrorMessage([&] { EncodeDateTime(c.y, c.m, c.d, 0, 0, 0, 0); }),
                  u"Invalid argument to date encode");
        EXPECT_FALSE(TryEncodeDateTime(c.y, c.m, c.d, 0, 0, 0, 0, value));
        EXPECT_EQ(value, 123.0);
    }
}

TEST(TimeEncode, ValuesAndInvalidTimes) {
    EXPECT_EQ(EncodeTime(0, 0, 0, 0), 0.0);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000.0);

    struct Case {
        Word h, n, s, ms;
    } cases[] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}};
    for (const auto &c : cases) {
        TDateTime value = 7.0;
        EXPECT_FALSE(TryEncodeTime(c.h, c.n, c.s, c.ms, value));
        EXPECT_EQ(value, 7.0);
        EXPECT_EQ(ConvertErrorMessage([&] { EncodeTime(c.h, c.n, c.s, c.ms); }),
                  u"Invalid argument to time encode");
        EXPECT_EQ(ConvertErrorMessage([&] { EncodeDateTime(2021, 3, 5, c.h, c.n, c.s, c.ms); }),
                  u"Invalid argument to time encode");
        EXPECT_FALSE(TryEncodeDateTime(2021, 3, 5, c.h, c.n, c.s, c.ms, value));
        EXPECT_EQ(value, 7.0);
    }
}

TEST(DateTimeEncode, RoundTripsIncludingDatesBeforeTheEpoch) {
    struct Case {
        Word y, m, d, h, n, s, ms;
    } cases[] = {
        {1899, 12, 30, 0, 0, 0, 0},     {1899, 12, 30, 23, 59, 59, 999},
        {1899, 12, 29, 6, 0, 0, 0},     {1899, 12, 29, 23, 59, 59, 999},
        {1800, 5, 17, 13, 45, 30, 250}, {1, 1, 1, 0, 0, 0, 1},
        {1900, 2, 28, 12, 0, 0, 0},     {1900, 3, 1, 0, 0, 0, 1},
        {2024, 2, 29, 18, 30, 15, 500}, {9999, 12, 31, 23, 59, 59, 999},
    };
    for (const auto &c : cases) {
        const TDateTime value = EncodeDateTime(c.y, c.m, c.d, c.h, c.n, c.s, c.ms);
        TDateTime tried = 0;
        EXPECT_TRUE(TryEncodeDateTime(c.y, c.m, c.d, c.h, c.n, c.s, c.ms, tried));
        EXPECT_EQ(tried, value);
        Word y, m, d, h, n, s, ms;
        DecodeDateTime(value, y, m, d, h, n, s, ms);
        EXPECT_TRUE(y == c.y && m == c.m && d == c.d && h == c.h && n == c.n && s == c.s &&
                    ms == c.ms)
            << c.y << "-" << c.m << "-" << c.d << " " << c.h << ":" << c.n << ":" << c.s << "."
            << c.ms << " decoded as " << y << "-" << m << "-" << d << " " << h << ":" << n << ":"
            << s << "." << ms;
    }
    // Before the epoch the time is subtracted: the fraction's absolute value is the time.
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
    EXPECT_EQ(EncodeDateTime(1899, 12, 31, 6, 0, 0, 0), 1.25);
}

TEST(DateTimeDecode, NegativeValuesTakeTheFractionsAbsoluteValue) {
    struct Case {
        double value;
        Word y, m, d, h, n;
    } cases[] = {
        {-0.5, 1899, 12, 30, 12, 0}, {-1.75, 1899, 12, 29, 18, 0}, {-1.25, 1899, 12, 29, 6, 0},
        {-2.0, 1899, 12, 28, 0, 0},  {0.75, 1899, 12, 30, 18, 0},
    };
    for (const auto &c : cases) {
        Word y, m, d, h, n, s, ms;
        DecodeDateTime(c.value, y, m, d, h, n, s, ms);
        EXPECT_TRUE(y == c.y && m == c.m && d == c.d && h == c.h && n == c.n && s == 0 && ms == 0)
            << c.value;
    }
}

TEST(DateTimeDecode, RoundsToTheMillisecondAcrossMidnight) {
    Word y, m, d, h, n, s, ms;
    DecodeDateTime(1.0 - 1e-10, y, m, d, h, n, s, ms);
    EXPECT_TRUE(y == 1899 && m == 12 && d == 31 && h == 0 && n == 0 && s == 0 && ms == 0);
    DecodeDateTime(EncodeDate(2021, 3, 5) + EncodeTime(10, 0, 0, 0), y, m, d, h, n, s, ms);
    EXPECT_TRUE(d == 5 && h == 10 && n == 0 && s == 0 && ms == 0);
}

TEST(DateTimeDecode, ValuesOutsideTheCalendarDecodeToZeros) {
    for (const double value : {std::nan(""), double(INFINITY), 3.0e6, -700000.0}) {
        Word y = 1, m = 1, d = 1;
        DecodeDate(value, y, m, d);
        EXPECT_TRUE(y == 0 && m == 0 && d == 0) << value;
    }
}

TEST(Calendar, LeapYearsMonthLengthsAndWeekdays) {
    struct Case {
        Word year;
        bool leap;
    } years[] = {{1900, false}, {2000, true},  {2024, true}, {2023, false},
                 {1600, true},  {2100, false}, {4, true}};
    for (const auto &c : years) {
        EXPECT_EQ(IsLeapYear(c.year), c.leap) << c.year;
        EXPECT_EQ(DaysInAMonth(c.year, 2), c.leap ? 29 : 28) << c.year;
    }
    EXPECT_EQ(DaysInAMonth(2021, 4), 30);
    EXPECT_EQ(DaysInAMonth(2021, 12), 31);
    EXPECT_EQ(DaysInAMonth(2021, 0), 0);
    EXPECT_EQ(DaysInAMonth(2021, 13), 0);

    EXPECT_EQ(DayOfWeek(0), 7);                       // Saturday
    EXPECT_EQ(DayOfWeek(-1), 6);                      // Friday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 2, 29)), 5); // Thursday
    EXPECT_EQ(DayOfWeek(EncodeDate(1752, 9, 14)), 5); // Thursday
    EXPECT_EQ(DayOfWeek(EncodeDate(2021, 3, 7)), 1);  // Sunday
}

TEST(Clock, NowIsTodayPlusTheTimeOfDay) {
    const TDateTime today = Date();
    const TDateTime now = Now();
    EXPECT_EQ(today, std::trunc(today));
    EXPECT_GE(now, today);
    EXPECT_LT(now, today + 1.0 + 1e-6); // tolerates midnight passing between the calls
    const TDateTime time = Time();
    EXPECT_GE(time, 0.0);
    EXPECT_LT(time, 1.0);
    EXPECT_GT(ThisYear(), 2000);
}

TEST(YearsBetween, CountsAverageYearsOf36525HundredthsDays) {
    // 40 calendar years spanning 10 leap days are 14610 days: exactly 40 average years.
    EXPECT_EQ(EncodeDate(2020, 3, 1) - EncodeDate(1980, 3, 1), 14610);
    EXPECT_EQ(YearsBetween(EncodeDate(2020, 3, 1), EncodeDate(1980, 3, 1)), 40);
    // 40 calendar years spanning 9 leap days (1900 is none) are 14609 days: 39 average years.
    EXPECT_EQ(EncodeDate(1930, 1, 1) - EncodeDate(1890, 1, 1), 14609);
    EXPECT_EQ(YearsBetween(EncodeDate(1930, 1, 1), EncodeDate(1890, 1, 1)), 39);
    // Either order; a millisecond short of a whole year counts one year less.
    EXPECT_EQ(YearsBetween(EncodeDate(1980, 3, 1), EncodeDate(2020, 3, 1)), 40);
    const TDateTime birth = EncodeDate(1980, 3, 1) + EncodeTime(12, 0, 0, 0);
    EXPECT_EQ(YearsBetween(EncodeDate(2020, 3, 1) + EncodeTime(11, 59, 59, 999), birth), 39);
    EXPECT_EQ(YearsBetween(EncodeDate(2020, 3, 1) + EncodeTime(12, 0, 0, 0), birth), 40);
    EXPECT_EQ(YearsBetween(birth, birth), 0);
    // A birth before 1899-12-30 carries its time as the absolute fraction.
    EXPECT_EQ(YearsBetween(EncodeDateTime(1940, 1, 1, 6, 0, 0, 0),
                           EncodeDateTime(1899, 12, 29, 6, 0, 0, 0)),
              40);
}

TEST(FormatDateTime, SpecifiersUnderRussianSettings) {
    const TFormatSettings ru = RussianSettings();
    const TDateTime value = EncodeDateTime(2021, 3, 5, 14, 7, 9, 45); // a Friday
    struct Case {
        const char16_t *format;
        const char *expected;
    } cases[] = {
        {u"dd.MM.yyyy", "05.03.2021"},
        {u"d/m/yy", "5.3.21"},
        {u"yyyy-mm-dd hh:nn:ss.zzz", "2021-03-05 14:07:09.045"},
        {u"YYYY-MM-DD HH:NN:SS.Z", "2021-03-05 14:07:09.45"},
        {u"H:mm", "14:07"},
        {u"hh:mm:ss", "14:07:09"},
        {u"h:n:s", "14:7:9"},
        {u"m h m", "3 14 7"},
        {u"ddd, dddd", "Пт, пятница"},
        {u"mmm mmmm", "мар Март"},
        {u"ddddd", "05.03.2021"},
        {u"dddddd", "5 Март 2021 г."},
        {u"t | tt", "14:07 | 14:07:09"},
        {u"c", "05.03.2021 14:07:09"},
        {u"", "05.03.2021 14:07:09"},
        {u"'d m' \"yy\" d", "d m yy 5"},
        {u"h:nn am/pm", "2:07 pm"},
        {u"h:nn AM/PM", "2:07 PM"},
        {u"h a/p", "2 p"},
        {u"hh 'am/pm'", "14 am/pm"},
        {u"x-e #", "x-e #"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FormatDateTime(c.format, value, ru), Utf8ToUtf16(c.expected))
            << Utf16ToUtf8(c.format);
    }
}

TEST(FormatDateTime, EdgeValues) {
    const TFormatSettings ru = RussianSettings();
    struct Case {
        TDateTime value;
        const char16_t *format;
        const char *expected;
    } cases[] = {
        {EncodeDate(2021, 3, 5), u"c", "05.03.2021"}, // midnight: no time
        {EncodeDateTime(2021, 3, 5, 0, 30, 0, 0), u"h:nn am/pm", "12:30 am"},
        {EncodeDateTime(2021, 3, 5, 12, 0, 0, 0), u"hh:nn a/p", "12:00 p"},
        {-1.25, u"dd.mm.yyyy hh:nn", "29.12.1899 06:00"},
        {EncodeDate(21, 1, 2), u"dd.mm.yyyy yy", "02.01.0021 21"},
        {EncodeDateTime(2021, 3, 5, 9, 5, 3, 7), u"z zzz", "7 007"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FormatDateTime(c.format, c.value, ru), Utf8ToUtf16(c.expected))
            << Utf16ToUtf8(c.format);
    }
}

TEST(FormatDateTime, FormatsThatNameThemselvesStopExpanding) {
    TFormatSettings looped = RussianSettings();
    looped.ShortDateFormat = u"[ddddd]";
    looped.LongTimeFormat = u"<c>";
    const TDateTime value = EncodeDateTime(2021, 3, 5, 14, 7, 9, 0);
    EXPECT_EQ(DateToStr(value, looped), u"[[]]");
    EXPECT_EQ(TimeToStr(value, looped), u"<[] <>>");
}

TEST(DateToStr, RussianAndEnglishUS) {
    const TDateTime value = EncodeDateTime(2021, 3, 5, 14, 7, 9, 0);
    const TFormatSettings ru = RussianSettings();
    EXPECT_EQ(DateToStr(value, ru), u"05.03.2021");
    EXPECT_EQ(TimeToStr(value, ru), u"14:07:09");
    EXPECT_EQ(DateTimeToStr(value, ru), u"05.03.2021 14:07:09");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2021, 3, 5), ru), u"05.03.2021");

    const TFormatSettings us = EnglishUSSettings();
    EXPECT_EQ(DateToStr(value, us), u"3/5/2021");
    EXPECT_EQ(TimeToStr(value, us), u"2:07:09 PM");
    EXPECT_EQ(TimeToStr(EncodeTime(0, 5, 0, 0), us), u"12:05:00 AM");
    EXPECT_EQ(DateTimeToStr(value, us), u"3/5/2021 2:07:09 PM");
    EXPECT_EQ(FormatDateTime(u"dddddd", value, us), u"Friday, March 5, 2021");
}

TEST(DateToStr, GlobalSettingsAreUsedWithoutExplicitOnes) {
    const TFormatSettings saved = FormatSettings();
    SetFormatSettings(EnglishUSSettings());
    const TDateTime value = EncodeDate(2021, 3, 5);
    EXPECT_EQ(DateToStr(value), u"3/5/2021");
    EXPECT_EQ(StrToDate(u"3/5/2021"), value);
    SetFormatSettings(RussianSettings());
    EXPECT_EQ(DateToStr(value), u"05.03.2021");
    EXPECT_EQ(StrToDate(u"05.03.2021"), value);
    EXPECT_EQ(StrToDateDef(u"3/5/2021", -1.0), -1.0);
    SetFormatSettings(saved);
}

TEST(StrToDate, RussianSettings) {
    const TFormatSettings ru = RussianSettings();
    struct Case {
        const char16_t *text;
        Word y, m, d;
    } cases[] = {
        {u"05.03.2021", 2021, 3, 5},   {u"5.3.2021", 2021, 3, 5},     {u" 5.3.2021 ", 2021, 3, 5},
        {u"5 . 3 . 2021", 2021, 3, 5}, {u"29.02.2024", 2024, 2, 29},  {u"01.01.0001", 1, 1, 1},
        {u"05.03.21", 2021, 3, 5},     {u"31.12.9999", 9999, 12, 31},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(StrToDate(c.text, ru), EncodeDate(c.y, c.m, c.d)) << Utf16ToUtf8(c.text);
    }
    // Without a year the current one is taken.
    EXPECT_EQ(StrToDate(u"1.3", ru), EncodeDate(ThisYear(), 3, 1));
}

TEST(StrToDate, EnglishUSAndYearFirstOrders) {
    const TFormatSettings us = EnglishUSSettings();
    EXPECT_EQ(StrToDate(u"3/5/2021", us), EncodeDate(2021, 3, 5));
    EXPECT_EQ(StrToDate(u"12/31/2021", us), EncodeDate(2021, 12, 31));
    EXPECT_EQ(StrToDate(u"12/31", us), EncodeDate(ThisYear(), 12, 31));
    EXPECT_EQ(StrToDateDef(u"31/12/2021", -1.0, us), -1.0);

    TFormatSettings iso = RussianSettings();
    iso.ShortDateFormat = u"yyyy-MM-dd";
    iso.DateSeparator = u'-';
    EXPECT_EQ(StrToDate(u"2021-03-05", iso), EncodeDate(2021, 3, 5));
    EXPECT_EQ(StrToDate(u"21-3-5", iso), EncodeDate(2021, 3, 5));
    EXPECT_EQ(StrToDate(u"3-5", iso), EncodeDate(ThisYear(), 3, 5));
}

TEST(StrToDate, TwoDigitYearsLieInTheCenturyWindow) {
    const TFormatSettings ru = RussianSettings();
    const Integer windowStart = ThisYear() - TwoDigitYearCenturyWindow;
    for (const Integer yy : {0, 1, 21, 49, 50, 75, 76, 99}) {
        Integer expected = windowStart - windowStart % 100 + yy;
        if (expected < windowStart) {
            expected += 100;
        }
        ASSERT_GE(expected, windowStart);
        ASSERT_LT(expected, windowStart + 100);
        const UnicodeString text = u"01.06." + Utf8ToUtf16(std::to_string(100 + yy).substr(1));
        EXPECT_EQ(StrToDate(text, ru), EncodeDate(static_cast<Word>(expected), 6, 1)) << yy;
    }
    // A year written with three or four digits is taken as it stands.
    EXPECT_EQ(StrToDate(u"01.06.0099", ru), EncodeDate(99, 6, 1));
    EXPECT_EQ(StrToDate(u"01.06.099", ru), EncodeDate(99, 6, 1));
}

TEST(StrToDate, InvalidTextIsRefusedWithTheLibrarysMessage) {
    const TFormatSettings ru = RussianSettings();
    const char16_t *invalid[] = {u"29.02.2023",
                                 u"31.04.2021",
                                 u"00.01.2021",
                                 u"01.13.2021",
                                 u"05/03/2021",
                                 u"05.03.2021x",
                                 u"",
                                 u"   ",
                                 u"abc",
                                 u"05..2021",
                                 u"05.03.20211",
                                 u"1.2.3.4",
                                 u"5",
                                 u"05.03.",
                                 u".03.2021",
                                 u"-5.3.2021",
                                 u"05.03.2021 10:00"};
    for (const char16_t *text : invalid) {
        TDateTime value = 42.0;
        EXPECT_FALSE(TryStrToDate(text, value, ru)) << Utf16ToUtf8(text);
        EXPECT_EQ(value, 42.0);
        EXPECT_EQ(StrToDateDef(text, -3.0, ru), -3.0);
        const UnicodeString expected =
            UnicodeString(u"'").append(text).append(u"' is not a valid date");
        EXPECT_EQ(ConvertErrorMessage([&] { StrToDate(text, ru); }), expected);
    }
}

TEST(StrToTime, ValidAndInvalidTimes) {
    const TFormatSettings ru = RussianSettings();
    const TFormatSettings us = EnglishUSSettings();
    struct Case {
        const char16_t *text;
        bool english;
        Word h, n, s, ms;
    } cases[] = {
        {u"14:30", false, 14, 30, 0, 0},           {u"14:30:15", false, 14, 30, 15, 0},
        {u"14:30:15,250", false, 14, 30, 15, 250}, {u" 0:00 ", false, 0, 0, 0, 0},
        {u"23:59:59", false, 23, 59, 59, 0},       {u"2:30 PM", true, 14, 30, 0, 0},
        {u"2:30 pm", true, 14, 30, 0, 0},          {u"12 AM", true, 0, 0, 0, 0},
        {u"12:00 PM", true, 12, 0, 0, 0},          {u"11:59:59.5 p", true, 23, 59, 59, 5},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(StrToTime(c.text, c.english ? us : ru), EncodeTime(c.h, c.n, c.s, c.ms))
            << Utf16ToUtf8(c.text);
    }
    const char16_t *invalid[] = {u"24:00",  u"14:60", u"14:30:60", u"14",       u"13 PM",  u"0 AM",
                                 u"14:30:", u"x",     u"",         u"14:30 XM", u"1:2:3:4"};
    for (const char16_t *text : invalid) {
        TDateTime value = 42.0;
        EXPECT_FALSE(TryStrToTime(text, value, us)) << Utf16ToUtf8(text);
        EXPECT_EQ(value, 42.0);
        EXPECT_EQ(ConvertErrorMessage([&] { StrToTime(text, us); }),
                  u"'" + UnicodeString(text) + u"' is not a valid time");
    }
}

TEST(StrToDate, EdfHeaderDateAndTime) {
    const TFormatSettings edf = EdfSettings();
    const TDateTime value = StrToDate(u"05.03.21", edf) + StrToTime(u"14.30.00", edf);
    EXPECT_EQ(value, EncodeDateTime(2021, 3, 5, 14, 30, 0, 0));
    EXPECT_EQ(FormatDateTime(u"dd.mm.yy hh.nn.ss", value, edf), u"05.03.21 14.30.00");
}
