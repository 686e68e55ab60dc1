// Encoding, decoding, formatting and parsing of TDateTime values, and the local clock.
#include "platform/rtl/DateUtils.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>

namespace rtl {

namespace {

constexpr Int64 MSecsPerAverageYear = Int64{MSecsPerDay} * 36525 / 100;

const Word MonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                               {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Day number of a valid date, counting 0001-01-01 as day 1 (proleptic Gregorian calendar).
Int64 CivilToDayNumber(Integer year, Integer month, Integer day) {
    const Int64 y = year - 1;
    Int64 days = y * 365 + y / 4 - y / 100 + y / 400;
    for (Integer m = 1; m < month; ++m) {
        days += DaysInAMonth(static_cast<Word>(year), static_cast<Word>(m));
    }
    return days + day;
}

const Int64 MaxDayNumber = CivilToDayNumber(9999, 12, 31);

// Inverse of CivilToDayNumber over whole 400-, 100-, 4- and 1-year cycles.
bool DayNumberToCivil(Int64 dayNumber, Word &year, Word &month, Word &day) {
    if (dayNumber < 1 || dayNumber > MaxDayNumber) {
        return false;
    }
    Int64 t = dayNumber - 1;
    Int64 y = 1 + t / 146097 * 400;
    t %= 146097;
    const Int64 centuries = std::min<Int64>(t / 36524, 3);
    t -= centuries * 36524;
    y += centuries * 100 + t / 1461 * 4;
    t %= 1461;
    const Int64 years = std::min<Int64>(t / 365, 3);
    t -= years * 365;
    year = static_cast<Word>(y + years);
    month = 1;
    while (t >= DaysInAMonth(year, month)) {
        t -= DaysInAMonth(year, month);
        ++month;
    }
    day = static_cast<Word>(t + 1);
    return true;
}

// Splits a value, rounded to the millisecond, into the day (truncated towards zero) and the
// milliseconds of the fraction's absolute value.
bool SplitDateTime(TDateTime value, Int64 &serialDay, Integer &msOfDay) {
    if (!std::isfinite(value) || std::fabs(value) > 1.0e8) {
        return false;
    }
    const Int64 ms = RoundSaturated<Int64>(value * MSecsPerDay);
    serialDay = ms / MSecsPerDay;
    msOfDay = static_cast<Integer>(std::llabs(ms % MSecsPerDay));
    return true;
}

// Before 1899-12-30 the time is subtracted, as the fraction's absolute value is the time of day.
TDateTime CombineDateAndTime(TDateTime date, TDateTime time) {
    return date < 0 ? date - time : date + time;
}

Int64 DateTimeToMilliseconds(TDateTime value) {
    Int64 serialDay = 0;
    Integer msOfDay = 0;
    if (!SplitDateTime(value, serialDay, msOfDay)) {
        return 0;
    }
    return (serialDay + DateDelta) * MSecsPerDay + msOfDay;
}

char16_t AsciiUpper(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool SameTextAscii(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

bool StartsWithText(std::u16string_view text, size_t pos, std::u16string_view word) {
    return !word.empty() && pos + word.size() <= text.size() &&
           SameTextAscii(text.substr(pos, word.size()), word);
}

UnicodeString Number(Integer value, size_t minDigits) {
    UnicodeString digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value > 0);
    if (digits.size() < minDigits) {
        digits.insert(0, minDigits - digits.size(), u'0');
    }
    return digits;
}

UnicodeString Message(std::string_view prefix, std::u16string_view text, std::string_view suffix) {
    return Utf8ToUtf16(prefix) + UnicodeString(text) + Utf8ToUtf16(suffix);
}

// ---------------------------------------------------------------------------------------------
// Formatting

class TDateTimeFormatter {
public:
    TDateTimeFormatter(TDateTime value, const TFormatSettings &settings) : FSettings(settings) {
        DecodeDateTime(value, FYear, FMonth, FDay, FHour, FMin, FSec, FMSec);
        FDayOfWeek = DayOfWeek(value);
    }

    UnicodeString Run(std::u16string_view format) {
        Append(format.empty() ? std::u16string_view(u"c") : format, 0);
        return std::move(FOut);
    }

private:
    // Nested formats (c, ddddd, t ...) expand two levels deep at most, so a format that names
    // itself cannot recurse without end.
    void Append(std::u16string_view format, int depth) {
        size_t pos = 0;
        while (pos < format.size()) {
            pos = AppendToken(format, pos, depth);
        }
    }

    void AppendNested(const UnicodeString &format, int depth) {
        if (depth < 2) {
            Append(format, depth + 1);
        }
    }

    static size_t RunLength(std::u16string_view format, size_t pos) {
        const char16_t letter = AsciiUpper(format[pos]);
        size_t end = pos + 1;
        while (end < format.size() && AsciiUpper(format[end]) == letter) {
            ++end;
        }
        return end - pos;
    }

    size_t AppendToken(std::u16string_view format, size_t pos, int depth) {
        const char16_t c = format[pos];
        if (c == u'\'' || c == u'"') {
            return AppendQuoted(format, pos);
        }
        if (c == u'/') {
            FOut += FSettings.DateSeparator;
            return pos + 1;
        }
        if (c == u':') {
            FOut += FSettings.TimeSeparator;
            return pos + 1;
        }
        if (AsciiUpper(c) == u'A') {
            return AppendAmPm(format, pos);
        }
        const size_t count = RunLength(format, pos);
        if (!AppendSpecifier(AsciiUpper(c), count, format, pos + count, depth)) {
            FOut += c;
            return pos + 1;
        }
        return pos + count;
    }

    size_t AppendQuoted(std::u16string_view format, size_t pos) {
        const size_t close = format.find(format[pos], pos + 1);
        const size_t end = close == std::u16string_view::npos ? format.size() : close;
        FOut.append(format.substr(pos + 1, end - pos - 1));
        return std::min(end + 1, format.size());
    }

    bool AppendSpecifier(char16_t letter, size_t count, std::u16string_view format, size_t next,
                         int depth) {
        switch (letter) {
        case u'C':
            AppendDateAndTime(depth);
            break;
        case u'D':
            AppendDay(count, depth);
            break;
        case u'M':
            AppendMonthOrMinutes(count);
            break;
        case u'Y':
            FOut += count <= 2 ? Number(FYear % 100, 2) : Number(FYear, 4);
            break;
        case u'H':
            FOut += Number(HasAmPm(format, next) ? Hour12() : FHour, count == 1 ? 1 : 2);
            break;
        case u'N':
            FOut += Number(FMin, count == 1 ? 1 : 2);
            break;
        case u'S':
            FOut += Number(FSec, count == 1 ? 1 : 2);
            break;
        case u'Z':
            FOut += Number(FMSec, count == 1 ? 1 : 3);
            break;
        case u'T':
            AppendNested(count == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, depth);
            break;
        default:
            return false;
        }
        FLastLetter = letter;
        return true;
    }

    void AppendDateAndTime(int depth) {
        if (depth >= 2) {
            return;
        }
        AppendNested(FSettings.ShortDateFormat, depth);
        if (FHour != 0 || FMin != 0 || FSec != 0 || FMSec != 0) {
            FOut += u' ';
            AppendNested(FSettings.LongTimeFormat, depth);
        }
    }

    void AppendDay(size_t count, int depth) {
        switch (count) {
        case 1:
        case 2:
            FOut += Number(FDay, count);
            break;
        case 3:
            FOut += FSettings.ShortDayNames[(FDayOfWeek + 6) % 7];
            break;
        case 4:
            FOut += FSettings.LongDayNames[(FDayOfWeek + 6) % 7];
            break;
        case 5:
            AppendNested(FSettings.ShortDateFormat, depth);
            break;
        default:
            AppendNested(FSettings.LongDateFormat, depth);
            break;
        }
    }

    void AppendMonthOrMinutes(size_t count) {
        if (FLastLetter == u'H' && count <= 2) {
            FOut += Number(FMin, count);
        } else if (count <= 2) {
            FOut += Number(FMonth, count);
        } else if (FMonth >= 1 && FMonth <= 12) {
            FOut += count == 3 ? FSettings.ShortMonthNames[FMonth - 1]
                               : FSettings.LongMonthNames[FMonth - 1];
        }
    }

    Word Hour12() const { return FHour % 12 == 0 ? 12 : FHour % 12; }

    // The am/pm specifiers that make an hour a 12-hour one: "am/pm", "a/p" and "ampm".
    static size_t AmPmLength(std::u16string_view format, size_t pos) {
        if (StartsWithText(format, pos, u"am/pm")) {
            return 5;
        }
        if (StartsWithText(format, pos, u"ampm")) {
            return 4;
        }
        if (StartsWithText(format, pos, u"a/p")) {
            return 3;
        }
        return 0;
    }

    static bool HasAmPm(std::u16string_view format, size_t pos) {
        while (pos < format.size()) {
            const char16_t c = format[pos];
            if (c == u'\'' || c == u'"') {
                const size_t close = format.find(c, pos + 1);
                pos = close == std::u16string_view::npos ? format.size() : close + 1;
            } else if (AmPmLength(format, pos) != 0) {
                return true;
            } else {
                ++pos;
            }
        }
        return false;
    }

    size_t AppendAmPm(std::u16string_view format, size_t pos) {
        const size_t length = AmPmLength(format, pos);
        const bool pm = FHour >= 12;
        switch (length) {
        case 5: // the specifier's own letters, in the case written
            FOut.append(format.substr(pm ? pos + 3 : pos, 2));
            break;
        case 3:
            FOut += format[pm ? pos + 2 : pos];
            break;
        case 4:
            FOut += pm ? FSettings.TimePMString : FSettings.TimeAMString;
            break;
        default:
            FOut += format[pos];
            return pos + 1;
        }
        FLastLetter = u'A';
        return pos + length;
    }

    const TFormatSettings &FSettings;
    Word FYear = 0, FMonth = 0, FDay = 0, FHour = 0, FMin = 0, FSec = 0, FMSec = 0;
    Word FDayOfWeek = 1;
    char16_t FLastLetter = 0;
    UnicodeString FOut;
};

// ---------------------------------------------------------------------------------------------
// Parsing

class TDateTimeScanner {
public:
    explicit TDateTimeScanner(std::u16string_view text) : FText(text) {}

    void SkipBlanks() {
        while (FPos < FText.size() && FText[FPos] == u' ') {
            ++FPos;
        }
    }

    // One to four decimal digits after optional blanks; digits gives their count.
    bool ScanNumber(Integer &value, Integer &digits) {
        SkipBlanks();
        value = 0;
        digits = 0;
        while (FPos < FText.size() && FText[FPos] >= u'0' && FText[FPos] <= u'9') {
            if (++digits > 4) {
                return false;
            }
            value = value * 10 + (FText[FPos++] - u'0');
        }
        return digits > 0;
    }

    bool ScanChar(char16_t c) {
        if (c != u' ') {
            SkipBlanks();
        }
        if (FPos < FText.size() && FText[FPos] == c) {
            ++FPos;
            return true;
        }
        return false;
    }

    bool ScanWord(std::u16string_view word) {
        SkipBlanks();
        if (!StartsWithText(FText, FPos, word)) {
            return false;
        }
        FPos += word.size();
        return true;
    }

    bool AtEnd() {
        SkipBlanks();
        return FPos == FText.size();
    }

private:
    std::u16string_view FText;
    size_t FPos = 0;
};

enum class TDateOrder { doMDY, doDMY, doYMD };

// The order of day, month and year is that of their first letters in the short date format.
TDateOrder GetDateOrder(const UnicodeString &shortDateFormat) {
    bool quoted = false;
    for (const char16_t c : shortDateFormat) {
        if (c == u'\'' || c == u'"') {
            quoted = !quoted;
        } else if (!quoted) {
            switch (AsciiUpper(c)) {
            case u'D':
                return TDateOrder::doDMY;
            case u'M':
                return TDateOrder::doMDY;
            case u'Y':
                return TDateOrder::doYMD;
            default:
                break;
            }
        }
    }
    return TDateOrder::doMDY;
}

Word CurrentYear() {
    Word year = 0, month = 0, day = 0;
    DecodeDate(Date(), year, month, day);
    return year;
}

Integer ExpandTwoDigitYear(Integer year) {
    const Integer windowStart = CurrentYear() - TwoDigitYearCenturyWindow;
    year += windowStart / 100 * 100;
    if (year < windowStart) {
        year += 100;
    }
    return year;
}

bool ScanDateParts(TDateTimeScanner &scanner, const TFormatSettings &settings, Integer &year,
                   Integer &month, Integer &day) {
    Integer n1 = 0, n2 = 0, n3 = 0, digits1 = 0, digits2 = 0, digits3 = 0;
    if (!scanner.ScanNumber(n1, digits1) || !scanner.ScanChar(settings.DateSeparator) ||
        !scanner.ScanNumber(n2, digits2)) {
        return false;
    }
    const TDateOrder order = GetDateOrder(settings.ShortDateFormat);
    if (!scanner.ScanChar(settings.DateSeparator)) {
        year = CurrentYear();
        month = order == TDateOrder::doDMY ? n2 : n1;
        day = order == TDateOrder::doDMY ? n1 : n2;
        return true;
    }
    if (!scanner.ScanNumber(n3, digits3)) {
        return false;
    }
    Integer yearDigits = digits3;
    switch (order) {
    case TDateOrder::doMDY:
        year = n3, month = n1, day = n2;
        break;
    case TDateOrder::doDMY:
        year = n3, month = n2, day = n1;
        break;
    case TDateOrder::doYMD:
        year = n1, month = n2, day = n3, yearDigits = digits1;
        break;
    }
    if (yearDigits <= 2) {
        year = ExpandTwoDigitYear(year);
    }
    return true;
}

// Reads an AM/PM marker after the time: 0 for none, 1 for AM, 2 for PM.
int ScanAmPm(TDateTimeScanner &scanner, const TFormatSettings &settings) {
    const std::u16string_view am[] = {settings.TimeAMString, u"AM", u"A"};
    const std::u16string_view pm[] = {settings.TimePMString, u"PM", u"P"};
    for (size_t i = 0; i < 3; ++i) {
        if (!am[i].empty() && scanner.ScanWord(am[i])) {
            return 1;
        }
        if (!pm[i].empty() && scanner.ScanWord(pm[i])) {
            return 2;
        }
    }
    return 0;
}

bool ScanTimeParts(TDateTimeScanner &scanner, const TFormatSettings &settings, Integer &hour,
                   Integer &min, Integer &sec, Integer &msec) {
    Integer digits = 0;
    min = sec = msec = 0;
    if (!scanner.ScanNumber(hour, digits)) {
        return false;
    }
    const bool hasMinutes = scanner.ScanChar(settings.TimeSeparator);
    if (hasMinutes) {
        if (!scanner.ScanNumber(min, digits)) {
            return false;
        }
        if (scanner.ScanChar(settings.TimeSeparator)) {
            if (!scanner.ScanNumber(sec, digits)) {
                return false;
            }
            if (scanner.ScanChar(settings.DecimalSeparator) && !scanner.ScanNumber(msec, digits)) {
                return false;
            }
        }
    }
    const int amPm = ScanAmPm(scanner, settings);
    if (amPm != 0) {
        if (hour < 1 || hour > 12) {
            return false;
        }
        hour = hour % 12 + (amPm == 2 ? 12 : 0);
    }
    return hasMinutes || amPm != 0;
}

bool FitsWord(Integer value) {
    return value >= 0 && value <= 0xFFFF;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Encoding and decoding

bool IsLeapYear(Word year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

Word DaysInAMonth(Word year, Word month) {
    if (month < 1 || month > 12) {
        return 0;
    }
    return MonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

bool TryEncodeDate(Word year, Word month, Word day, TDateTime &date) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInAMonth(year, month)) {
        return false;
    }
    date = static_cast<TDateTime>(CivilToDayNumber(year, month, day) - DateDelta);
    return true;
}

TDateTime EncodeDate(Word year, Word month, Word day) {
    TDateTime date = 0;
    if (!TryEncodeDate(year, month, day, date)) {
        throw EConvertError("Invalid argument to date encode");
    }
    return date;
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime &time) {
    if (hour >= HoursPerDay || min >= 60 || sec >= 60 || msec >= 1000) {
        return false;
    }
    const Integer ms = ((hour * 60 + min) * 60 + sec) * 1000 + msec;
    time = static_cast<TDateTime>(ms) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec) {
    TDateTime time = 0;
    if (!TryEncodeTime(hour, min, sec, msec, time)) {
        throw EConvertError("Invalid argument to time encode");
    }
    return time;
}

bool TryEncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec, Word msec,
                       TDateTime &value) {
    TDateTime date = 0, time = 0;
    if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, min, sec, msec, time)) {
        return false;
    }
    value = CombineDateAndTime(date, time);
    return true;
}

TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word min, Word sec,
                         Word msec) {
    return CombineDateAndTime(EncodeDate(year, month, day), EncodeTime(hour, min, sec, msec));
}

void DecodeDate(TDateTime value, Word &year, Word &month, Word &day) {
    Int64 serialDay = 0;
    Integer msOfDay = 0;
    if (!SplitDateTime(value, serialDay, msOfDay) ||
        !DayNumberToCivil(serialDay + DateDelta, year, month, day)) {
        year = month = day = 0;
    }
}

void DecodeTime(TDateTime value, Word &hour, Word &min, Word &sec, Word &msec) {
    Int64 serialDay = 0;
    Integer ms = 0;
    SplitDateTime(value, serialDay, ms);
    hour = static_cast<Word>(ms / 3600000);
    min = static_cast<Word>(ms / 60000 % 60);
    sec = static_cast<Word>(ms / 1000 % 60);
    msec = static_cast<Word>(ms % 1000);
}

void DecodeDateTime(TDateTime value, Word &year, Word &month, Word &day, Word &hour, Word &min,
                    Word &sec, Word &msec) {
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, min, sec, msec);
}

Word DayOfWeek(TDateTime value) {
    Int64 serialDay = 0;
    Integer msOfDay = 0;
    SplitDateTime(value, serialDay, msOfDay);
    // Day 0, 1899-12-30, was a Saturday.
    return static_cast<Word>((serialDay % 7 + 13) % 7 + 1);
}

// ---------------------------------------------------------------------------------------------
// Clock and spans

TDateTime Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    // A leap second shows as second 60; it is folded into second 59.
    return EncodeDateTime(static_cast<Word>(local.tm_year + 1900),
                          static_cast<Word>(local.tm_mon + 1), static_cast<Word>(local.tm_mday),
                          static_cast<Word>(local.tm_hour), static_cast<Word>(local.tm_min),
                          static_cast<Word>(std::min(local.tm_sec, 59)),
                          static_cast<Word>(now.tv_nsec / 1000000));
}

TDateTime Date() {
    return std::trunc(Now());
}

TDateTime Time() {
    const TDateTime now = Now();
    return now - std::trunc(now);
}

Integer YearsBetween(TDateTime aNow, TDateTime aThen) {
    const Int64 span = std::llabs(DateTimeToMilliseconds(aNow) - DateTimeToMilliseconds(aThen));
    return static_cast<Integer>(span / MSecsPerAverageYear);
}

// ---------------------------------------------------------------------------------------------
// Text

UnicodeString FormatDateTime(std::u16string_view format, TDateTime value,
                             const TFormatSettings &settings) {
    return TDateTimeFormatter(value, settings).Run(format);
}

UnicodeString FormatDateTime(std::u16string_view format, TDateTime value) {
    return FormatDateTime(format, value, FormatSettings());
}

UnicodeString DateToStr(TDateTime value, const TFormatSettings &settings) {
    return FormatDateTime(u"ddddd", value, settings);
}

UnicodeString DateToStr(TDateTime value) {
    return DateToStr(value, FormatSettings());
}

UnicodeString TimeToStr(TDateTime value, const TFormatSettings &settings) {
    return FormatDateTime(u"tt", value, settings);
}

UnicodeString TimeToStr(TDateTime value) {
    return TimeToStr(value, FormatSettings());
}

UnicodeString DateTimeToStr(TDateTime value, const TFormatSettings &settings) {
    return FormatDateTime(u"c", value, settings);
}

UnicodeString DateTimeToStr(TDateTime value) {
    return DateTimeToStr(value, FormatSettings());
}

bool TryStrToDate(std::u16string_view text, TDateTime &value, const TFormatSettings &settings) {
    TDateTimeScanner scanner(text);
    Integer year = 0, month = 0, day = 0;
    if (!ScanDateParts(scanner, settings, year, month, day) || !scanner.AtEnd() ||
        !FitsWord(year) || !FitsWord(month) || !FitsWord(day)) {
        return false;
    }
    return TryEncodeDate(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day),
                         value);
}

bool TryStrToDate(std::u16string_view text, TDateTime &value) {
    return TryStrToDate(text, value, FormatSettings());
}

TDateTime StrToDate(std::u16string_view text, const TFormatSettings &settings) {
    TDateTime value = 0;
    if (!TryStrToDate(text, value, settings)) {
        throw EConvertError(Message("'", text, "' is not a valid date"));
    }
    return value;
}

TDateTime StrToDate(std::u16string_view text) {
    return StrToDate(text, FormatSettings());
}

TDateTime StrToDateDef(std::u16string_view text, TDateTime def, const TFormatSettings &settings) {
    TDateTime value = 0;
    return TryStrToDate(text, value, settings) ? value : def;
}

TDateTime StrToDateDef(std::u16string_view text, TDateTime def) {
    return StrToDateDef(text, def, FormatSettings());
}

bool TryStrToTime(std::u16string_view text, TDateTime &value, const TFormatSettings &settings) {
    TDateTimeScanner scanner(text);
    Integer hour = 0, min = 0, sec = 0, msec = 0;
    if (!ScanTimeParts(scanner, settings, hour, min, sec, msec) || !scanner.AtEnd()) {
        return false;
    }
    return FitsWord(hour) && FitsWord(min) && FitsWord(sec) && FitsWord(msec) &&
           TryEncodeTime(static_cast<Word>(hour), static_cast<Word>(min), static_cast<Word>(sec),
                         static_cast<Word>(msec), value);
}

bool TryStrToTime(std::u16string_view text, TDateTime &value) {
    return TryStrToTime(text, value, FormatSettings());
}

TDateTime StrToTime(std::u16string_view text, const TFormatSettings &settings) {
    TDateTime value = 0;
    if (!TryStrToTime(text, value, settings)) {
        throw EConvertError(Message("'", text, "' is not a valid time"));
    }
    return value;
}

TDateTime StrToTime(std::u16string_view text) {
    return StrToTime(text, FormatSettings());
}

} // namespace rtl
