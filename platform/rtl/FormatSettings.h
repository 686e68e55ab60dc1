// The locale's format settings (decimal separator, date and time formats) as the class library
// keeps them; the global settings follow the user's POSIX locale, Russian when there is none.
#pragma once

#include "platform/rtl/System.h"

namespace rtl {

struct TFormatSettings {
    char16_t DecimalSeparator = u',';
    char16_t ThousandSeparator = u'\u00A0';
    char16_t DateSeparator = u'.';
    char16_t TimeSeparator = u':';
    UnicodeString ShortDateFormat = u"dd.MM.yyyy";
    UnicodeString LongDateFormat = u"d MMMM yyyy 'г.'";
    UnicodeString ShortTimeFormat = u"H:mm";
    UnicodeString LongTimeFormat = u"H:mm:ss";
    UnicodeString TimeAMString;
    UnicodeString TimePMString;
    // Index 0 is January.
    UnicodeString ShortMonthNames[12];
    UnicodeString LongMonthNames[12];
    // Index 0 is Sunday (the class library counts from 1 = Sunday).
    UnicodeString ShortDayNames[7];
    UnicodeString LongDayNames[7];
    // Money ("%m"): the sign, where it stands for positive amounts (0 "$1", 1 "1$", 2 "$ 1",
    // 3 "1 $") and negative ones (the sixteen Windows forms, 0 "($1)" ... 8 "-1 $" ... 15
    // "(1 $)"), and the number of decimals.
    UnicodeString CurrencyString = u"\u20BD";
    Byte CurrencyFormat = 3;
    Byte NegCurrFormat = 8;
    Byte CurrencyDecimals = 2;

    // The settings Windows derives for a locale name such as "ru_RU.UTF-8", "en_US" or "C";
    // the C/POSIX locale and unknown names give the Russian settings.
    static TFormatSettings ForLocale(std::string_view posixLocale);
    // The Russian settings ("," and "dd.MM.yyyy").
    static TFormatSettings Russian();
    // The settings for the user's locale: LC_ALL, then LC_NUMERIC / LC_TIME, then LANG.
    static TFormatSettings FromEnvironment();
};

// The process-wide settings, made from the environment on first use. Tests replace them with
// SetFormatSettings.
const TFormatSettings &FormatSettings();
void SetFormatSettings(const TFormatSettings &settings);

} // namespace rtl
