// Dates and times of the class library: encoding and decoding TDateTime, the clock, the age in
// years, and formatting and parsing dates and times with format settings.
#pragma once

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/System.h"

#include <string_view>

namespace rtl {

constexpr Integer HoursPerDay = 24;
constexpr Integer MinsPerDay = 24 * 60;
constexpr Integer SecsPerDay = MinsPerDay * 60;
constexpr Integer MSecsPerDay = SecsPerDay * 1000;
// Days from 0001-01-01 (day 1) to 1899-12-30, the date of TDateTime 0.
constexpr Integer DateDelta = 693594;
// A two-digit year read from text lies in the hundred years that begin this many years before
// the current year.
constexpr Integer TwoDigitYearCenturyWindow = 50;

// Encoding. A date is valid for years 1 to 9999, months 1 to 12 and the month's days; a time for
// hours 0 to 23, minutes and seconds 0 to 59 and milliseconds 0 to 999. The Try forms return
// false and leave the result untouched; the others raise EConvertError "Invalid argument to date
// encode" or "Invalid argument to time encode".
bool IsLeapYear(Word year);
// Days of the month in that year; 0 for a month outside 1 to 12.
Word DaysInAMonth(Word year, Word month);
bool TryEncodeDate(Word year, Word month, Word day, TDateTime &date);
TDateTime EncodeDate(Word year, Word month, Word day);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime &time);
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
// A date before 1899-12-30 is negative and its time is subtracted (the fraction's absolute value
// is the time of day), so that DecodeDateTime gives the parts back.
bool TryEncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec,
                       TDateTime &value);
TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec);

// Decoding rounds to the nearest millisecond. The whole part (truncated towards zero) is the day
// and the absolute value of the fraction the time of day, so -1.25 is 1899-12-29 06:00. A value
// outside years 1 to 9999 (or not a number) decodes to a date of all zeros.
void DecodeDate(TDateTime value, Word &year, Word &month, Word &day);
void DecodeTime(TDateTime value, Word &hour, Word &min, Word &sec, Word &msec);
void DecodeDateTime(TDateTime value, Word &year, Word &month, Word &day, Word &hour, Word &min,
                    Word &sec, Word &msec);
// 1 for Sunday to 7 for Saturday.
Word DayOfWeek(TDateTime value);

// The local clock: today at midnight, the time of day, and both, to the millisecond.
TDateTime Date();
TDateTime Time();
TDateTime Now();

// Whole average years of 365.25 days between the two moments, whichever is later: the distance
// in milliseconds, truncated.
Integer YearsBetween(TDateTime aNow, TDateTime aThen);

// Formatting. Specifiers, in either case: c (short date, plus the long time unless it is
// midnight), d dd (day), ddd dddd (short/long day name), ddddd dddddd (short/long date format),
// m mm (month, or minutes right after an hour specifier), mmm mmmm (short/long month name),
// yy yyyy (year), h hh (hour; 12-hour when an am/pm specifier follows), n nn (minutes), s ss
// (seconds), z zzz (milliseconds), t tt (short/long time format), am/pm a/p (in the case
// written), ampm (TimeAMString/TimePMString), / (DateSeparator), : (TimeSeparator), '...' and
// "..." (literal text). Other characters are copied. An empty format means c.
UnicodeString FormatDateTime(std::u16string_view format, TDateTime value,
                             const TFormatSettings &settings);
UnicodeString FormatDateTime(std::u16string_view format, TDateTime value);
// The short date format, the long time format, and c.
UnicodeString DateToStr(TDateTime value, const TFormatSettings &settings);
UnicodeString DateToStr(TDateTime value);
UnicodeString TimeToStr(TDateTime value, const TFormatSettings &settings);
UnicodeString TimeToStr(TDateTime value);
UnicodeString DateTimeToStr(TDateTime value, const TFormatSettings &settings);
UnicodeString DateTimeToStr(TDateTime value);

// Parsing a date: two or three numbers separated by DateSeparator, blanks allowed before each
// number and at the end; their order (day, month, year) is that of the d, m and y in
// ShortDateFormat. Without a year the current year is taken; a year of one or two digits lies in
// the TwoDigitYearCenturyWindow. StrToDate raises EConvertError "'%s' is not a valid date".
bool TryStrToDate(std::u16string_view text, TDateTime &value, const TFormatSettings &settings);
bool TryStrToDate(std::u16string_view text, TDateTime &value);
TDateTime StrToDate(std::u16string_view text, const TFormatSettings &settings);
TDateTime StrToDate(std::u16string_view text);
TDateTime StrToDateDef(std::u16string_view text, TDateTime def, const TFormatSettings &settings);
TDateTime StrToDateDef(std::u16string_view text, TDateTime def);

// Parsing a time: hour and minute, optionally seconds and, after DecimalSeparator, milliseconds,
// separated by TimeSeparator; an optional AM/PM marker (TimeAMString/TimePMString, "AM"/"PM" or
// "A"/"P", any case) makes it a 12-hour time, and then the hour alone is enough. StrToTime raises
// EConvertError "'%s' is not a valid time".
bool TryStrToTime(std::u16string_view text, TDateTime &value, const TFormatSettings &settings);
bool TryStrToTime(std::u16string_view text, TDateTime &value);
TDateTime StrToTime(std::u16string_view text, const TFormatSettings &settings);
TDateTime StrToTime(std::u16string_view text);

} // namespace rtl
