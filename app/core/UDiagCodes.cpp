// The diagnosis code lookups, counter sums and the measures' values and text form.
#include "app/core/UDiagCodes.h"

#include "platform/rtl/FormatSettings.h"

#include <algorithm>

namespace workbench {

bool IsCitoCode(int32_t code) {
    return std::find(CitoCodes.begin(), CitoCodes.end(), code) != CitoCodes.end();
}

std::u16string_view FindDiagCodeDescription(int32_t code) {
    for (int g = 0; g < DiagGroupCount; ++g) {
        const auto codes = DiagGroupCodes[g];
        for (size_t i = 0; i < codes.size(); ++i) {
            if (codes[i] == code) {
                return DiagCodeDescriptions[g][i];
            }
        }
    }
    return {};
}

UnicodeString DiagCodeDescription(int32_t code) {
    return UnicodeString(FindDiagCodeDescription(code));
}

bool IsTableCode(int32_t code) {
    for (const auto codes : DiagGroupCodes) {
        if (std::find(codes.begin(), codes.end(), code) != codes.end()) {
            return true;
        }
    }
    return false;
}

void AddCounters(TCounterSums &sums, const TCodeCounters &counters) {
    for (int i = 0; i < CounterCount; ++i) {
        sums[i] += counters[i];
    }
}

TCounterSums ToSums(const TCodeCounters &counters) {
    TCounterSums sums{};
    AddCounters(sums, counters);
    return sums;
}

long double TMeasure::Value() const {
    if (Denominator == 0) {
        return SubstitutePercent;
    }
    return static_cast<long double>(Numerator) * 100.0L / static_cast<long double>(Denominator);
}

bool TMeasure::IsExactly100() const {
    if (Denominator == 0) {
        return SubstitutePercent == 100;
    }
    return Numerator == Denominator;
}

bool TMeasure::IsAtLeast100() const {
    if (Denominator == 0) {
        return SubstitutePercent >= 100;
    }
    return Denominator > 0 ? Numerator >= Denominator : Numerator <= Denominator;
}

namespace {

// Hundredths of a percent, rounded half away from zero on the exact quotient. The class
// library rounds the decimal digits of the value, so a quotient such as 99.995 (19999 of
// 20000), which no binary float holds exactly, still becomes 100.00.
int64_t RoundedHundredths(const TMeasure &m) {
    if (m.Denominator == 0) {
        return static_cast<int64_t>(m.SubstitutePercent) * 100;
    }
    const bool negative = (m.Numerator < 0) != (m.Denominator < 0);
    // Sums of at most 30 counters of 32 bits, times 10000, stay below 2^50.
    const uint64_t num =
        static_cast<uint64_t>(m.Numerator < 0 ? -m.Numerator : m.Numerator) * 10000u;
    const uint64_t den = static_cast<uint64_t>(m.Denominator < 0 ? -m.Denominator : m.Denominator);
    uint64_t q = num / den;
    if ((num % den) * 2 >= den) {
        ++q;
    }
    const auto magnitude = static_cast<int64_t>(q);
    return negative ? -magnitude : magnitude;
}

UnicodeString DecimalText(int64_t value) {
    const std::string digits = std::to_string(value);
    return UnicodeString(digits.begin(), digits.end());
}

} // namespace

UnicodeString TMeasure::Text() const {
    if (IsExactly100()) {
        return u"100";
    }
    const int64_t hundredths = RoundedHundredths(*this);
    const int64_t magnitude = hundredths < 0 ? -hundredths : hundredths;
    UnicodeString text = hundredths < 0 ? u"-" : u"";
    text += DecimalText(magnitude / 100);
    text += rtl::FormatSettings().DecimalSeparator;
    const int64_t fraction = magnitude % 100;
    text += static_cast<char16_t>(u'0' + fraction / 10);
    text += static_cast<char16_t>(u'0' + fraction % 10);
    if (text.size() < 5) {
        text.insert(0, 5 - text.size(), u' ');
    }
    return text;
}

TMeasure Sensitivity(const TCounterSums &c, int32_t substitutePercent) {
    return {c[ciTruePositive], c[ciTruePositive] + c[ciMissed], substitutePercent};
}

TMeasure Specificity(const TCounterSums &c, int32_t substitutePercent) {
    return {c[ciTrueNegative], c[ciTrueNegative] + c[ciFalsePositive], substitutePercent};
}

TMeasure PredictiveValue(const TCounterSums &c, int32_t substitutePercent) {
    return {c[ciTruePositive], c[ciTruePositive] + c[ciFalsePositive], substitutePercent};
}

bool MeasureTextIs100(std::u16string_view text) {
    auto isBlank = [](char16_t ch) { return ch <= u' '; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == u'+') {
        text.remove_prefix(1);
    }
    const size_t sep = text.find(rtl::FormatSettings().DecimalSeparator);
    std::u16string_view whole = text.substr(0, sep);
    const std::u16string_view fraction =
        sep == std::u16string_view::npos ? std::u16string_view() : text.substr(sep + 1);
    auto allDigits = [](std::u16string_view s) {
        return std::all_of(s.begin(), s.end(),
                           [](char16_t ch) { return ch >= u'0' && ch <= u'9'; });
    };
    if (!allDigits(whole) || !allDigits(fraction)) {
        return false;
    }
    while (whole.size() > 1 && whole.front() == u'0') {
        whole.remove_prefix(1);
    }
    return whole == u"100" &&
           std::all_of(fraction.begin(), fraction.end(), [](char16_t ch) { return ch == u'0'; });
}

} // namespace workbench
