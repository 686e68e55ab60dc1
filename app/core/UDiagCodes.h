// The diagnosis code table (groups, codes, descriptions, urgent codes, report columns), the six
// counters kept per code, and the measures derived from them with their text form.
#pragma once

#include "platform/rtl/System.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace workbench {

using rtl::UnicodeString;

// A diagnosis code is an integer from 1 to 30; 9, 10, 13 and 25 belong to no group.
inline constexpr int32_t MinDiagCode = 1;
inline constexpr int32_t MaxDiagCode = 30;
inline constexpr int DiagGroupCount = 6;

inline constexpr std::array<std::u16string_view, DiagGroupCount> DiagGroupNames = {
    u"Ритм", u"Экстрасистолия", u"Паузы, АВ-проведение", u"Желудочковое проведение",
    u"QT",   u"ИБС, ГЛЖ"};

namespace detail {
inline constexpr int32_t Group0Codes[] = {1, 2, 3, 4, 5, 6, 7, 8};
inline constexpr int32_t Group1Codes[] = {11, 12};
inline constexpr int32_t Group2Codes[] = {14, 15, 16, 17, 18, 19, 20};
inline constexpr int32_t Group3Codes[] = {21, 22, 23, 24};
inline constexpr int32_t Group4Codes[] = {26, 27};
inline constexpr int32_t Group5Codes[] = {28, 29, 30};

inline constexpr std::u16string_view Group0Texts[] = {u"Синусовый ритм",
                                                      u"Тахикардия",
                                                      u"Брадикардия",
                                                      u"Фибриляция, трепетание предсердий",
                                                      u"Предсердный ритм",
                                                      u"АВ-ритм, эпизод АВ-ритма",
                                                      u"НТ, эпизод НТ или ритма",
                                                      u"ЖТ, эпизод ЖТ или ритма"};
inline constexpr std::u16string_view Group1Texts[] = {u"Наджелудочковая экстрасистолия",
                                                      u"Желудочковая экстрасистолия, парасистолия"};
inline constexpr std::u16string_view Group2Texts[] = {
    u"АВ-блокада 1 степени",
    u"Синдром укорочения PQ",
    u"АВ-блокада 2 степени",
    u"Пауза за счет СА-блокад или ост. син. узла",
    u"Блокированная наджелудочковая экстрасистолия",
    u"Пауза более 2 сек на фоне ФП или ТП",
    u"АВ-блокада 3 степени"};
inline constexpr std::u16string_view Group3Texts[] = {
    u"ВПВ, в т.ч. преходящий", u"Полная БПН, в т.ч. преходящая", u"Полная БЛН, в т.ч. преходящая",
    u"Полная БПВЛН"};
inline constexpr std::u16string_view Group4Texts[] = {u"Удлинение QT", u"Укорочение QT"};
inline constexpr std::u16string_view Group5Texts[] = {u"ОКС с подъемом или депрессией ST",
                                                      u"ИМ с Q и без Q, любой стадии", u"ГЛЖ"};
} // namespace detail

// Codes of each group in table order; DiagCodeDescriptions runs parallel to it.
inline constexpr std::array<std::span<const int32_t>, DiagGroupCount> DiagGroupCodes = {
    detail::Group0Codes, detail::Group1Codes, detail::Group2Codes,
    detail::Group3Codes, detail::Group4Codes, detail::Group5Codes};
inline constexpr std::array<std::span<const std::u16string_view>, DiagGroupCount>
    DiagCodeDescriptions = {detail::Group0Texts, detail::Group1Texts, detail::Group2Texts,
                            detail::Group3Texts, detail::Group4Texts, detail::Group5Texts};

// The urgent ("Cito") codes.
inline constexpr std::array<int32_t, 11> CitoCodes = {4, 6, 7, 8, 16, 17, 19, 20, 23, 28, 29};

// Code 1 (sinus rhythm) is left out of the totals over all disorders.
inline constexpr int32_t SinusRhythmCode = 1;

// Columns of the report's statistics table. Column 1 takes the remaining width; its 100 is
// not applied.
inline constexpr std::array<std::u16string_view, 10> ReportColumnTitles = {u"Код",
                                                                           u"Заключение",
                                                                           u"Cito",
                                                                           u"Врачи",
                                                                           u"Программа",
                                                                           u"Пропущено",
                                                                           u"Ложно поставлено",
                                                                           u"Чувствительность,%",
                                                                           u"Специфичность,%",
                                                                           u"ППЦ,%"};
inline constexpr std::array<int32_t, 10> ReportColumnWidths = {25, 100, 30, 45, 45,
                                                               45, 45,  47, 47, 47};

// True for the urgent codes; any integer outside the set (0, 31, negatives) is not urgent.
bool IsCitoCode(int32_t code);

// The description of a code of the table; empty for 9, 10, 13, 25 and anything outside 1-30.
UnicodeString DiagCodeDescription(int32_t code);
// The same without a copy (the text is a constant of the table).
std::u16string_view FindDiagCodeDescription(int32_t code);

// True for the 26 codes that the table lists.
bool IsTableCode(int32_t code);

// ---------------------------------------------------------------------------------------------
// Counters

// Positions of the six counters of a code.
enum TCounterIndex : int {
    ciReference = 0,     // ECGs of the database that carry the code as a reference code
    ciComputed = 1,      // how often the program under test set the code
    ciTruePositive = 2,  // set by the program and a reference code of that ECG
    ciFalsePositive = 3, // set by the program but not a reference code of that ECG
    ciMissed = 4,        // a reference code of the ECG that the program did not set
    ciTrueNegative = 5   // ECGs of the database minus positions 2, 3 and 4
};
inline constexpr int CounterCount = 6;

using TCodeCounters = std::array<int32_t, CounterCount>;

// Sums of counters over several codes (64-bit, so no sum can overflow).
using TCounterSums = std::array<int64_t, CounterCount>;

void AddCounters(TCounterSums &sums, const TCodeCounters &counters);

// ---------------------------------------------------------------------------------------------
// Measures

// A measure in percent: Numerator * 100 / Denominator, or SubstitutePercent when the
// denominator is 0. Kept as the exact quotient so that its text is rounded on the exact value.
struct TMeasure {
    int64_t Numerator = 0;
    int64_t Denominator = 0;
    int32_t SubstitutePercent = 0;

    bool HasDenominator() const { return Denominator != 0; }
    // The value in percent, in extended precision.
    long double Value() const;
    // True when the value is exactly 100 (the substitute 100 included).
    bool IsExactly100() const;
    // True when the value is 100 or more (the substitute included), decided on the exact
    // quotient: 19999 of 20000 is below 100 although its text is "100,00".
    bool IsAtLeast100() const;
    // "%3.0f" when the value is exactly 100 ("100"), else "%5.2f" (" 5,00", "99,63"), with the
    // decimal separator of the current format settings; two-decimal ties round half away from
    // zero on the exact quotient (19999 of 20000 gives "100,00").
    UnicodeString Text() const;
};

// The substitute values of one place where measures are shown.
struct TMeasureSubstitutes {
    int32_t Sensitivity;
    int32_t Specificity;
    int32_t PredictiveValue;
};
// The totals list's code rows and the report (all its rows): 100, 100, 0.
inline constexpr TMeasureSubstitutes CodeRowSubstitutes = {100, 100, 0};
inline constexpr TMeasureSubstitutes ReportSubstitutes = {100, 100, 0};
// The totals list's two total rows: 100 for every measure.
inline constexpr TMeasureSubstitutes TotalRowSubstitutes = {100, 100, 100};

// sensitivity = TP * 100 / (TP + missed)
TMeasure Sensitivity(const TCounterSums &c, int32_t substitutePercent);
// specificity = TN * 100 / (TN + FP)
TMeasure Specificity(const TCounterSums &c, int32_t substitutePercent);
// positive predictive value = TP * 100 / (TP + FP)
TMeasure PredictiveValue(const TCounterSums &c, int32_t substitutePercent);

TCounterSums ToSums(const TCodeCounters &counters);

// Reads a measure's text back as a number in the current format settings' form (blanks
// around it allowed) and tells whether it equals 100: "100" and "100,00" do, "99,99" does not.
bool MeasureTextIs100(std::u16string_view text);

} // namespace workbench
