// The report builder: the report's paragraphs and tables, in document order.
#include "app/UReportBuilder.h"

#include "app/UVDReportForm.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/StrUtils.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"
#include "vizivodu/tables/VDTable.h"

#include <memory>

namespace workbench {

using vizivodu::TCustomVDData;
using vizivodu::TVDTableItemInfo;

namespace {

constexpr int32_t MainTableColCount = int32_t(ReportColumnTitles.size());
// The line to sign on before a signatory's name: 24 underscores and three blanks.
constexpr std::u16string_view SignatureLine = u"________________________   ";
const gfx::TColor BorderGrey = gfx::RGB(128, 128, 128);

UnicodeString EntryOf(const TSignatoryTable *table, int32_t key) {
    if (!table) {
        return {};
    }
    const auto it = table->find(key);
    return it == table->end() ? UnicodeString() : it->second;
}

// Empties a cell and gives it one paragraph.
void SetCellText(TVDTableItemInfo &table, int32_t row, int32_t col, std::u16string_view text,
                 int32_t styleNo, int32_t paraNo) {
    TCustomVDData *cell = table.GetCells(row, col);
    cell->Clear();
    cell->AddNL(text, styleNo, paraNo);
}

std::unique_ptr<TVDTableItemInfo> NewTable(vizivodu::TCustomViziVodu &report, int32_t rows,
                                           int32_t cols, bool bordersVisible) {
    auto table = TVDTableItemInfo::CreateEx(rows, cols, &report.GetVDData());
    table->ParaNo = rpsLeft;
    table->SetVisibleBorders(vizivodu::TVDBooleanRect(bordersVisible));
    return table;
}

// ---- Title table ----------------------------------------------------------------------------

void AddTitleTable(vizivodu::TCustomViziVodu &report, const TReportInput &input) {
    auto table = NewTable(report, 1, 2, true);
    table->SetBorderWidth(2);
    table->SetColor(vizivodu::vdtcBorderColor, BorderGrey);

    TCustomVDData *title = table->GetCells(0, 0);
    title->Clear();
    title->AddNL(u"Отчет испытания", rtsHeadingLarge, rpsCentered);
    title->AddNL(u"программы " + input.ProgramName, rtsHeading, rpsCentered);
    title->AddNL(u"на тестовой базе ЗЕМБРАК стандартных 12-канальных ЭКГ", rtsHeading, rpsCentered);
    title->AddNL(u"", rtsHeading, rpsLeft);
    title->AddNL(u"Отчет сформирован " + rtl::DateToStr(input.Date), rtsKeywords, rpsLeft);

    if (input.Logo) {
        vizivodu::TVDTableCellData *logoCell = table->GetCells(0, 1);
        logoCell->Clear();
        logoCell->AddPictureEx({}, std::make_unique<gfx::TPngImage>(*input.Logo), rpsCentered,
                               vizivodu::vdvaRight);
        logoCell->SetBestWidth(input.Logo->GetWidth());
    }
    report.AddItem(UnicodeString(HeaderTableName), std::move(table));
}

// ---- Statistics table -----------------------------------------------------------------------

// A measure's cell, and the count cell that belongs to it, is right-aligned, on light red when
// the measure is below 100.
int32_t MeasureParaStyle(const TMeasure &measure) {
    return measure.IsAtLeast100() ? rpsRight : rpsRedRight;
}

struct TRowMeasures {
    TMeasure Sensitivity, Specificity, PredictiveValue;

    explicit TRowMeasures(const TCounterSums &sums)
        : Sensitivity(workbench::Sensitivity(sums, ReportSubstitutes.Sensitivity)),
          Specificity(workbench::Specificity(sums, ReportSubstitutes.Specificity)),
          PredictiveValue(workbench::PredictiveValue(sums, ReportSubstitutes.PredictiveValue)) {}
};

// The cell text, its paragraph style, and where it goes, of columns 5 to 9 of a row.
struct TMeasureCell {
    int32_t Col;
    UnicodeString Text;
    int32_t ParaNo;
};

std::array<TMeasureCell, 5> MeasureCells(const TCounterSums &sums) {
    const TRowMeasures m(sums);
    const int32_t sensitivityPara = MeasureParaStyle(m.Sensitivity);
    const int32_t specificityPara = MeasureParaStyle(m.Specificity);
    return {{{5, rtl::IntToStr(sums[ciMissed]), sensitivityPara},
             {6, rtl::IntToStr(sums[ciFalsePositive]), specificityPara},
             {7, m.Sensitivity.Text(), sensitivityPara},
             {8, m.Specificity.Text(), specificityPara},
             {9, m.PredictiveValue.Text(), MeasureParaStyle(m.PredictiveValue)}}};
}

void WriteHeaderRow(TVDTableItemInfo &table) {
    for (int32_t col = 0; col < MainTableColCount; ++col) {
        if (col != 1) {
            table.GetCells(0, col)->SetBestWidth(ReportColumnWidths[col]);
        }
        SetCellText(table, 0, col, ReportColumnTitles[col], rtsNormal, rpsLeft);
    }
}

void SetMainTableLook(TVDTableItemInfo &table) {
    table.SetBorderWidth(2);
    table.SetCellBorderWidth(1);
    table.SetCellBorderStyle(vizivodu::vdtbColor);
    table.SetColor(vizivodu::vdtcCellBorderColor, gfx::clBlack);
    table.SetCellVPadding(0);
    table.SetCellHPadding(0);
    table.SetCellVSpacing(-1);
    table.SetCellHSpacing(-1);
    table.SetBorderVSpacing(0);
    table.SetBorderHSpacing(0);
    table.SetVRuleWidth(0);
    table.SetHRuleWidth(0);
    table.SetColor(vizivodu::vdtcBorderColor, BorderGrey);
}

void WriteMergedRow(TVDTableItemInfo &table, int32_t row, std::u16string_view text) {
    table.MergeCells(row, 0, MainTableColCount, 1, true);
    SetCellText(table, row, 0, text, rtsHeading, rpsCentered);
}

void WriteCodeRow(TVDTableItemInfo &table, int32_t row, int32_t code,
                  const TCodeCounters &counters) {
    const TCounterSums sums = ToSums(counters);
    SetCellText(table, row, 0, rtl::IntToStr(code), rtsNormal, rpsLeft);
    SetCellText(table, row, 1, FindDiagCodeDescription(code), rtsNormal, rpsLeft);
    if (IsCitoCode(code)) {
        SetCellText(table, row, 2, u"+", rtsNormal, rpsCentered);
    }
    SetCellText(table, row, 3, rtl::IntToStr(counters[ciReference]), rtsNormal, rpsRight);
    SetCellText(table, row, 4, rtl::IntToStr(counters[ciComputed]), rtsNormal, rpsRight);
    for (const TMeasureCell &cell : MeasureCells(sums)) {
        SetCellText(table, row, cell.Col, cell.Text, rtsNormal, cell.ParaNo);
    }
}

// A total row: its texts in styleNo; the count and measure cells also take their paragraph
// style's background as the cell's colour. Column 2 stays as made.
void WriteTotalRow(TVDTableItemInfo &table, const vizivodu::TVDStyle &sheet, int32_t row,
                   const TCounterSums &sums, std::u16string_view text, int32_t styleNo) {
    SetCellText(table, row, 0, u"", styleNo, rpsLeft);
    SetCellText(table, row, 1, text, styleNo, rpsLeft);
    SetCellText(table, row, 3, rtl::IntToStr(sums[ciReference]), styleNo, rpsRight);
    SetCellText(table, row, 4, rtl::IntToStr(sums[ciComputed]), styleNo, rpsRight);
    for (const TMeasureCell &cell : MeasureCells(sums)) {
        SetCellText(table, row, cell.Col, cell.Text, styleNo, cell.ParaNo);
        table.SetCellColor(sheet.GetParaStyles().GetItem(cell.ParaNo).GetBackground().Color, row,
                           cell.Col);
    }
}

void AddMainTable(vizivodu::TCustomViziVodu &report, const TDiaStat &diaStat) {
    auto table = TVDTableItemInfo::CreateEx(ReportMainTableRowCount(), MainTableColCount,
                                            &report.GetVDData());
    WriteHeaderRow(*table);
    SetMainTableLook(*table);
    table->ParaNo = rpsLeft;
    table->SetVisibleBorders(vizivodu::TVDBooleanRect(true));

    TCounterSums allSums{}, citoSums{};
    int32_t row = 1;
    for (int g = 0; g < DiagGroupCount; ++g) {
        WriteMergedRow(*table, row++, DiagGroupNames[g]);
        for (const int32_t code : DiagGroupCodes[g]) {
            const TCodeCounters &counters = diaStat[code];
            WriteCodeRow(*table, row++, code, counters);
            if (code != SinusRhythmCode) {
                AddCounters(allSums, counters);
                if (IsCitoCode(code)) {
                    AddCounters(citoSums, counters);
                }
            }
        }
    }
    WriteMergedRow(*table, row++, u"Итого по базе");
    const vizivodu::TVDStyle &sheet = *report.GetStyle();
    WriteTotalRow(*table, sheet, row++, allSums, u"По всем нарушениям (кроме син.ритма)(**)",
                  rtsNormal);
    WriteTotalRow(*table, sheet, row++, citoSums, u"По нарушениям Cito (***)", rtsBold);
    report.AddItem(UnicodeString(MainTableName), std::move(table));
}

// ---- Legend and signatures ------------------------------------------------------------------

void AddLegend(vizivodu::TCustomViziVodu &report, int32_t dbCount) {
    report.AddNL(u"Всего в базе " + rtl::IntToStr(dbCount) + u" файлов.", rtsAstNormal, rpsLeft);
    const std::u16string_view measures[3][3] = {
        {u"* - ", u"Чувствительность ", u"= ИП / (ИП+ЛО) * 100%"},
        {u"  - ", u"Специфичность ", u"= ИН / (ИН+ЛП) * 100%"},
        {u"  - ", u"ППЦ ", u"(Позитивная Прогностическая Ценность) = ИП / (ИП+ЛП) * 100%"}};
    for (const auto &line : measures) {
        report.AddNL(line[0], rtsAstNormal, rpsLeft);
        report.Add(line[1], rtsAstBold);
        report.Add(line[2], rtsAstNormal);
    }
    for (const std::u16string_view text :
         {u"где: ИП - истинно положительные (правильно поставленное нарушение)",
          u"       ЛП - ложно положительные (ошибочно поставленное нарушение)",
          u"       ЛО - ложно отрицательные (пропущенное нарушение)",
          u"       ИН - истинно норма (правильно непоставленное нарушение)"}) {
        report.AddNL(text, rtsAstSmall, rpsLeft);
    }
    for (const std::u16string_view text :
         {u"** - Синусовый ритм в подсчет не входит, во избежание двойного подсчета ошибки.",
          u"*** - В категорию Cito отнесены нарушения, помеченные в графе Cito.", u"",
          u"Утверждаю:"}) {
        report.AddNL(text, rtsNormal, rpsLeft);
    }
}

std::unique_ptr<TVDTableItemInfo> NewSignatureTable(vizivodu::TCustomViziVodu &report,
                                                    int32_t rows) {
    auto table = NewTable(report, rows, 2, false);
    table->SetBorderWidth(0);
    table->SetColor(vizivodu::vdtcBorderColor, gfx::clWhite);
    return table;
}

void AddSignatures(vizivodu::TCustomViziVodu &report, const TReportInput &input) {
    auto approval = NewSignatureTable(report, 1);
    SetCellText(*approval, 0, 0, EntryOf(input.Confirmer1, 1), rtsNormal, rpsLeft);
    SetCellText(*approval, 0, 1, UnicodeString(SignatureLine) + EntryOf(input.Confirmer2, 1),
                rtsNormal, rpsLeft);
    report.AddItem(UnicodeString(ConfirmerTableName), std::move(approval));

    report.AddNL(u"", rtsNormal, rpsLeft);
    report.AddNL(u"Члены комиссии:", rtsNormal, rpsLeft);

    const int32_t members = input.JuryPeople1 ? int32_t(input.JuryPeople1->size()) : 0;
    auto jury = NewSignatureTable(report, members);
    for (int32_t r = 0; r < members; ++r) {
        SetCellText(*jury, r, 0, EntryOf(input.JuryPeople1, r + 1), rtsNormal, rpsLeft);
        jury->GetCells(r, 0)->AddNL(u"", rtsNormal, rpsLeft);
        SetCellText(*jury, r, 1, UnicodeString(SignatureLine) + EntryOf(input.JuryPeople2, r + 1),
                    rtsNormal, rpsLeft);
    }
    report.AddItem(UnicodeString(JuryTableName), std::move(jury));
}

} // namespace

int32_t ReportMainTableRowCount() {
    int32_t codes = 0;
    for (const auto group : DiagGroupCodes) {
        codes += int32_t(group.size());
    }
    return 4 + DiagGroupCount + codes;
}

void FillReportDocument(vizivodu::TCustomViziVodu &report, const TReportInput &input) {
    AddTitleTable(report, input);
    AddMainTable(report, *input.DiaStat);
    AddLegend(report, input.DBCount);
    AddSignatures(report, input);
}

void BuildReport(TVDReportForm &form, const TReportInput &input) {
    vizivodu::TCustomViziVodu &report = *form.ZemVDReport;
    report.ClearAll();
    report.Format();
    FillReportDocument(report, input);
    report.Format();
    form.PaginateReport();
}

} // namespace workbench
