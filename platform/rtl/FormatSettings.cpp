// The format settings of the locales we know, chosen from POSIX locale names the way Windows
// derives them from its regional settings, and the process-wide settings.
#include "platform/rtl/FormatSettings.h"

#include <cstdlib>
#include <initializer_list>
#include <optional>

namespace rtl {

namespace {

enum class TKnownLocale { Russian, EnglishUS, EnglishGB, German, French };

// Names as Windows gives them for these locales (months from January, days from Sunday).
struct TLocaleNames {
    const char16_t *ShortMonths[12];
    const char16_t *LongMonths[12];
    const char16_t *ShortDays[7];
    const char16_t *LongDays[7];
};

const TLocaleNames kRussianNames = {
    {u"янв", u"фев", u"мар", u"апр", u"май", u"июн", u"июл", u"авг", u"сен", u"окт", u"ноя",
     u"дек"},
    {u"Январь", u"Февраль", u"Март", u"Апрель", u"Май", u"Июнь", u"Июль", u"Август", u"Сентябрь",
     u"Октябрь", u"Ноябрь", u"Декабрь"},
    {u"Вс", u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб"},
    {u"воскресенье", u"понедельник", u"вторник", u"среда", u"четверг", u"пятница", u"суббота"},
};

const TLocaleNames kEnglishNames = {
    {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov",
     u"Dec"},
    {u"January", u"February", u"March", u"April", u"May", u"June", u"July", u"August", u"September",
     u"October", u"November", u"December"},
    {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"},
    {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"},
};

const TLocaleNames kGermanNames = {
    {u"Jan", u"Feb", u"Mär", u"Apr", u"Mai", u"Jun", u"Jul", u"Aug", u"Sep", u"Okt", u"Nov",
     u"Dez"},
    {u"Januar", u"Februar", u"März", u"April", u"Mai", u"Juni", u"Juli", u"August", u"September",
     u"Oktober", u"November", u"Dezember"},
    {u"So", u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa"},
    {u"Sonntag", u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag"},
};

const TLocaleNames kFrenchNames = {
    {u"janv.", u"févr.", u"mars", u"avr.", u"mai", u"juin", u"juil.", u"août", u"sept.", u"oct.",
     u"nov.", u"déc."},
    {u"janvier", u"février", u"mars", u"avril", u"mai", u"juin", u"juillet", u"août", u"septembre",
     u"octobre", u"novembre", u"décembre"},
    {u"dim.", u"lun.", u"mar.", u"mer.", u"jeu.", u"ven.", u"sam."},
    {u"dimanche", u"lundi", u"mardi", u"mercredi", u"jeudi", u"vendredi", u"samedi"},
};

void SetNames(TFormatSettings &settings, const TLocaleNames &names) {
    for (int i = 0; i < 12; ++i) {
        settings.ShortMonthNames[i] = names.ShortMonths[i];
        settings.LongMonthNames[i] = names.LongMonths[i];
    }
    for (int i = 0; i < 7; ++i) {
        settings.ShortDayNames[i] = names.ShortDays[i];
        settings.LongDayNames[i] = names.LongDays[i];
    }
}

TFormatSettings EnglishUS() {
    TFormatSettings s;
    s.DecimalSeparator = u'.';
    s.ThousandSeparator = u',';
    s.DateSeparator = u'/';
    s.ShortDateFormat = u"M/d/yyyy";
    s.LongDateFormat = u"dddd, MMMM d, yyyy";
    s.ShortTimeFormat = u"h:mm AMPM";
    s.LongTimeFormat = u"h:mm:ss AMPM";
    s.TimeAMString = u"AM";
    s.TimePMString = u"PM";
    s.CurrencyString = u"$";
    s.CurrencyFormat = 0;
    s.NegCurrFormat = 0;
    SetNames(s, kEnglishNames);
    return s;
}

TFormatSettings EnglishGB() {
    TFormatSettings s = EnglishUS();
    s.ShortDateFormat = u"dd/MM/yyyy";
    s.LongDateFormat = u"dd MMMM yyyy";
    s.ShortTimeFormat = u"HH:mm";
    s.LongTimeFormat = u"HH:mm:ss";
    s.TimeAMString = u"am";
    s.TimePMString = u"pm";
    s.CurrencyString = u"\u00A3";
    s.NegCurrFormat = 1;
    return s;
}

TFormatSettings German() {
    TFormatSettings s;
    s.DecimalSeparator = u',';
    s.ThousandSeparator = u'.';
    s.DateSeparator = u'.';
    s.ShortDateFormat = u"dd.MM.yyyy";
    s.LongDateFormat = u"dddd, d. MMMM yyyy";
    s.ShortTimeFormat = u"HH:mm";
    s.LongTimeFormat = u"HH:mm:ss";
    s.CurrencyString = u"\u20AC";
    SetNames(s, kGermanNames);
    return s;
}

TFormatSettings French() {
    TFormatSettings s;
    s.DecimalSeparator = u',';
    s.ThousandSeparator = u'\u00A0';
    s.DateSeparator = u'/';
    s.ShortDateFormat = u"dd/MM/yyyy";
    s.LongDateFormat = u"dddd d MMMM yyyy";
    s.ShortTimeFormat = u"HH:mm";
    s.LongTimeFormat = u"HH:mm:ss";
    s.CurrencyString = u"\u20AC";
    SetNames(s, kFrenchNames);
    return s;
}

// "ru_RU.UTF-8@x" -> language "ru", territory "RU"; "C", "POSIX", "" and unknown names give the
// Russian settings.
TKnownLocale Classify(std::string_view name) {
    const size_t end = name.find_first_of(".@");
    if (end != std::string_view::npos) {
        name = name.substr(0, end);
    }
    const size_t underscore = name.find('_');
    const std::string_view language = name.substr(0, underscore);
    const std::string_view territory =
        underscore == std::string_view::npos ? std::string_view() : name.substr(underscore + 1);
    const auto in = [&](std::initializer_list<std::string_view> territories) {
        for (const auto t : territories) {
            if (territory == t) {
                return true;
            }
        }
        return false;
    };
    if (language == "en" && in({"GB", "IE"})) {
        return TKnownLocale::EnglishGB;
    }
    if (language == "en" && in({"", "US"})) {
        return TKnownLocale::EnglishUS;
    }
    if (language == "de" && in({"", "DE", "AT", "LU"})) {
        return TKnownLocale::German;
    }
    if (language == "fr" && in({"", "FR", "LU"})) {
        return TKnownLocale::French;
    }
    return TKnownLocale::Russian;
}

TFormatSettings ForKnown(TKnownLocale locale) {
    switch (locale) {
    case TKnownLocale::EnglishUS:
        return EnglishUS();
    case TKnownLocale::EnglishGB:
        return EnglishGB();
    case TKnownLocale::German:
        return German();
    case TKnownLocale::French:
        return French();
    case TKnownLocale::Russian:
        break;
    }
    return TFormatSettings::Russian();
}

std::optional<std::string_view> EnvironmentValue(const char *variable) {
    const char *value = std::getenv(variable);
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string_view(value);
}

// Numbers and money follow one locale, dates and times another, as with LC_NUMERIC and LC_TIME.
void TakeNumberPart(TFormatSettings &target, const TFormatSettings &source) {
    target.DecimalSeparator = source.DecimalSeparator;
    target.ThousandSeparator = source.ThousandSeparator;
    target.CurrencyString = source.CurrencyString;
    target.CurrencyFormat = source.CurrencyFormat;
    target.NegCurrFormat = source.NegCurrFormat;
    target.CurrencyDecimals = source.CurrencyDecimals;
}

// Like the class library's global settings, these are read and replaced without locking: the
// main thread sets them up before other threads format anything.
TFormatSettings &GlobalSettings() {
    static TFormatSettings settings = TFormatSettings::FromEnvironment();
    return settings;
}

} // namespace

TFormatSettings TFormatSettings::Russian() {
    TFormatSettings s;
    SetNames(s, kRussianNames);
    return s;
}

TFormatSettings TFormatSettings::ForLocale(std::string_view posixLocale) {
    return ForKnown(Classify(posixLocale));
}

TFormatSettings TFormatSettings::FromEnvironment() {
    if (const auto all = EnvironmentValue("LC_ALL")) {
        return ForLocale(*all);
    }
    const std::string_view lang = EnvironmentValue("LANG").value_or("C");
    TFormatSettings result = ForLocale(EnvironmentValue("LC_TIME").value_or(lang));
    TakeNumberPart(result, ForLocale(EnvironmentValue("LC_NUMERIC").value_or(lang)));
    return result;
}

const TFormatSettings &FormatSettings() {
    return GlobalSettings();
}

void SetFormatSettings(const TFormatSettings &settings) {
    GlobalSettings() = settings;
}

} // namespace rtl
