// Building the rows of the totals list and the per-ECG result list from the workbench's data.
#include "app/core/UStatLists.h"

#include "platform/rtl/StrUtils.h"

namespace workbench {

std::vector<TTotalGroup> BuildTotalGroups() {
    std::vector<TTotalGroup> groups;
    groups.push_back({0, UnicodeString(TotalsGroupHeader)});
    for (int g = 0; g < DiagGroupCount; ++g) {
        groups.push_back({g + 1, UnicodeString(DiagGroupNames[g])});
    }
    return groups;
}

bool IsBoldTotalCaption(std::u16string_view caption) {
    if (caption == CitoDisordersCaption) {
        return true;
    }
    int32_t code = 0;
    if (!rtl::TryStrToInt(UnicodeString(caption), code)) {
        code = 0;
    }
    return IsCitoCode(code);
}

namespace {

// Fills the counter and measure columns (2 to 8) of a row from counter sums.
void FillFigures(TTotalRow &row, const TCounterSums &sums, const TMeasureSubstitutes &subst) {
    row.Texts[2] = rtl::IntToStr(sums[ciReference]);
    row.Texts[3] = rtl::IntToStr(sums[ciComputed]);
    row.Texts[4] = rtl::IntToStr(sums[ciMissed]);
    row.Texts[5] = rtl::IntToStr(sums[ciFalsePositive]);
    const TMeasure measures[3] = {Sensitivity(sums, subst.Sensitivity),
                                  Specificity(sums, subst.Specificity),
                                  PredictiveValue(sums, subst.PredictiveValue)};
    for (int i = 0; i < 3; ++i) {
        row.Texts[FirstMeasureColumn + i] = measures[i].Text();
        row.MeasureIs100[i] = MeasureTextIs100(row.Texts[FirstMeasureColumn + i]);
    }
    row.Bold = IsBoldTotalCaption(row.Texts[0]);
}

TTotalRow MakeRow(int32_t groupId, UnicodeString caption, UnicodeString text,
                  const TCounterSums &sums, const TMeasureSubstitutes &subst) {
    TTotalRow row;
    row.GroupId = groupId;
    row.Texts[0] = std::move(caption);
    row.Texts[1] = std::move(text);
    FillFigures(row, sums, subst);
    return row;
}

} // namespace

std::vector<TTotalRow> BuildTotalRows(const TDiaStat &dia_stat) {
    std::vector<TTotalRow> rows(2);
    TCounterSums allSums{};
    TCounterSums citoSums{};
    for (int g = 0; g < DiagGroupCount; ++g) {
        for (size_t i = 0; i < DiagGroupCodes[g].size(); ++i) {
            const int32_t c = DiagGroupCodes[g][i];
            const TCodeCounters &counters = dia_stat[c];
            rows.push_back(MakeRow(g + 1, rtl::IntToStr(c),
                                   UnicodeString(DiagCodeDescriptions[g][i]), ToSums(counters),
                                   CodeRowSubstitutes));
            if (c != SinusRhythmCode) {
                AddCounters(allSums, counters);
                if (IsCitoCode(c)) {
                    AddCounters(citoSums, counters);
                }
            }
        }
    }
    rows[0] = MakeRow(0, UnicodeString(AllDisordersCaption), UnicodeString(AllDisordersText),
                      allSums, TotalRowSubstitutes);
    rows[1] = MakeRow(0, UnicodeString(CitoDisordersCaption), UnicodeString(CitoDisordersText),
                      citoSums, TotalRowSubstitutes);
    return rows;
}

TCellColour TotalCellColour(const TTotalRow &row, int column, bool resultPathShown) {
    if (!resultPathShown || column < FirstMeasureColumn || column >= TotalColumnCount) {
        return TCellColour::ccDefault;
    }
    return row.MeasureIs100[column - FirstMeasureColumn] ? TCellColour::ccLightGreen
                                                         : TCellColour::ccLightRed;
}

std::vector<TResultContentRow> BuildResultContentRows(const TWorkbenchData &data) {
    const TNameBook &names = data.GetDBBook();
    std::vector<TResultContentRow> rows(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        TResultContentRow &row = rows[i];
        row.Caption = names[i];
        row.HasResult = data.IsScored();
        if (row.HasResult) {
            const TCodeList &codes = data.GetResultCodes(static_cast<int32_t>(i));
            row.CodesText = JoinCodes(codes);
            row.DescriptionsText = JoinDescriptions(codes);
        }
    }
    return rows;
}

} // namespace workbench
