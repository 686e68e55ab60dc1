// The rows of the main window's two statistics lists as plain data: the totals list (groups,
// total rows and one row per code, with bold and colour rules) and the per-ECG result list.
#pragma once

#include "app/core/UWorkbenchData.h"

#include <array>
#include <cstdint>
#include <vector>

namespace workbench {

// Groups of the totals list, in creation order: identifier 0 "Итого по базе", then 1 to 6 the
// group names of the code table. Each is collapsible and shown expanded.
struct TTotalGroup {
    int32_t GroupId;
    UnicodeString Header;
};
inline constexpr std::u16string_view TotalsGroupHeader = u"Итого по базе";
std::vector<TTotalGroup> BuildTotalGroups();

// Captions and texts of the two total rows.
inline constexpr std::u16string_view AllDisordersCaption = u"И_В";
inline constexpr std::u16string_view AllDisordersText = u"По всем нарушениям (кроме 1)";
inline constexpr std::u16string_view CitoDisordersCaption = u"И_С";
inline constexpr std::u16string_view CitoDisordersText = u"По нарушениям Cito";

// Columns of the totals list: 0 "Код" (the caption), 1 "Нарушение", 2 "Эталон", 3 "Расчет",
// 4 "Пропущено", 5 "Ложно поставлено", 6 "Чувствительность, %", 7 "Специфичность,%",
// 8 "ППЦ, %".
inline constexpr int TotalColumnCount = 9;
inline constexpr int FirstMeasureColumn = 6;

struct TTotalRow {
    int32_t GroupId = 0;
    // Texts[0] is the caption; Texts[1..8] are the sub-item texts.
    std::array<UnicodeString, TotalColumnCount> Texts;
    // Drawn bold: an urgent code's row and the "И_С" row.
    bool Bold = false;
    // Measure columns 6, 7, 8 whose text reads back as 100 (green rather than red).
    std::array<bool, 3> MeasureIs100{};
};

// Every row in list order: "И_В", "И_С" (group 0), then the 26 codes group by group in table
// order (group g + 1). Code rows show 100 for a sensitivity or specificity without
// denominator and 0 for such a predictive value; the total rows show 100 for all three.
std::vector<TTotalRow> BuildTotalRows(const TDiaStat &dia_stat);

// The bold rule of the list's drawing: the caption read as an integer (0 when it is not one)
// is urgent, or the caption is "И_С".
bool IsBoldTotalCaption(std::u16string_view caption);

struct TRGB {
    uint8_t R, G, B;
    bool operator==(const TRGB &) const = default;
};
inline constexpr TRGB MeasureFullColour = {208, 255, 208};  // light green: the value is 100
inline constexpr TRGB MeasureOtherColour = {255, 208, 208}; // light red: any other value

enum class TCellColour { ccDefault, ccLightGreen, ccLightRed };

// Background of one cell: only the measure columns (6 to 8) are coloured, and only while a
// result path is shown (whether or not its last reading succeeded).
TCellColour TotalCellColour(const TTotalRow &row, int column, bool resultPathShown);

// One row of the per-ECG list: caption the ECG's name; the two text columns "Коды из
// Result.txt" and "Расшифровка кодов" are filled (HasResult) only after a successful scoring.
struct TResultContentRow {
    UnicodeString Caption;
    bool HasResult = false;
    UnicodeString CodesText;
    UnicodeString DescriptionsText;
};

// One row per ECG of the database, in "base.info" order; after any reset the two text
// columns are empty again.
std::vector<TResultContentRow> BuildResultContentRows(const TWorkbenchData &data);

} // namespace workbench
