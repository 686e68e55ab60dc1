// The report's content: the style sheet, the four tables with their sizes, merged rows, texts,
// number formats, paragraph styles and cell colours, the legend and the signatories, the
// values standing in for a failed division, and the report before any result file is read.
#include "app/UReportBuilder.h"

#include "app/UResources.h"
#include "app/UVDReportForm.h"
#include "tests/app/ReportTestSupport.h"
#include "tests/app_core/WorkbenchFixture.h"
#include "vizivodu/VDStartup.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include <gtest/gtest.h>

namespace workbench::testing {
namespace {

using vizivodu::TVDTableItemInfo;

const gfx::TColor Grey = gfx::RGB(128, 128, 128);
const gfx::TColor LightRed = gfx::RGB(255, 224, 224);

class ReportBuilderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { vizivodu::InitializeLibrary(); }

    void SetUp() override {
        Data.Logo.LoadFromMemory(LogoPng, LogoPngSize);
        UseFixedMetrics(Form);
    }

    vizivodu::TCustomVDData &Document() { return Form.ZemVDReport->GetVDData(); }
    void Build() { BuildReport(Form, Data.Input()); }
    TVDTableItemInfo &Table(std::u16string_view name) { return *FindTable(Document(), name); }
    std::vector<std::string> Rows(std::u16string_view name) {
        const TVDTableItemInfo &table = Table(name);
        std::vector<std::string> rows;
        for (int32_t r = 0; r < table.GetRowCount(); ++r) {
            rows.push_back(RowDump(table, r));
        }
        return rows;
    }
    std::string Row(std::u16string_view name, int32_t row) { return RowDump(Table(name), row); }

    TDecimalSeparatorScope Settings{u','};
    TReportInputData Data;
    TVDReportForm Form{nullptr};
};

// Counters of a scored database of 100 ECGs; every other code is all zeros.
void SetScoredCounters(TDiaStat &stat) {
    stat[1] = {60, 58, 57, 1, 3, 39};
    stat[2] = {10, 9, 8, 1, 2, 89};
    stat[4] = {5, 5, 5, 0, 0, 95};
    stat[22] = {4, 0, 0, 0, 4, 96};
    stat[23] = {0, 2, 0, 2, 0, 98};
}

TEST(ReportStyles, TheStyleSheetHasTheReportsTextAndParagraphStyles) {
    vizivodu::TVDStyle sheet(nullptr);
    SetReportStyles(sheet);
    struct TextCase {
        const char16_t *name;
        int32_t size;
        gfx::TFontStyles style;
        gfx::TColor color;
        bool jump;
    };
    const gfx::TColor def = sheet.GetTextStyles().GetItem(0).GetColor();
    const TextCase texts[] = {
        {u"Normal text", 10, {}, def, false},
        {u"Heading", 12, {gfx::fsBold}, gfx::RGB(0, 0, 255), false},
        {u"Bold", 10, {gfx::fsBold}, gfx::clBlack, false},
        {u"Keywords", 10, {gfx::fsItalic}, gfx::RGB(128, 0, 0), false},
        {u"Jump 1", 10, {gfx::fsUnderline}, gfx::RGB(0, 128, 0), true},
        {u"Jump 2", 10, {gfx::fsUnderline}, gfx::RGB(0, 128, 0), true},
        {u"AstNormal", 10, {}, def, false},
        {u"AstBold", 10, {gfx::fsBold}, def, false},
        {u"AstSmall", 9, {}, def, false},
        {u"heading Large", 16, {gfx::fsBold}, gfx::RGB(0, 0, 255), false},
    };
    ASSERT_EQ(sheet.GetTextStyles().GetCount(), 10);
    for (int32_t i = 0; i < 10; ++i) {
        const vizivodu::TFontInfo &style = sheet.GetTextStyles().GetItem(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(style.GetStyleName(), texts[i].name);
        EXPECT_EQ(style.GetFontName(), u"Arial");
        EXPECT_EQ(style.GetSize(), texts[i].size);
        EXPECT_EQ(style.GetStyle(), texts[i].style);
        EXPECT_EQ(style.GetColor(), texts[i].color);
        EXPECT_EQ(style.GetJump(), texts[i].jump);
        EXPECT_TRUE(style.GetUnicode());
        EXPECT_EQ(style.GetBaseStyleNo(), i == rtsHeadingLarge ? rtsHeading : -1);
    }
    struct ParaCase {
        const char16_t *name;
        vizivodu::TVDAlignment alignment;
        int32_t left, right;
        gfx::TColor background;
    };
    const ParaCase paras[] = {
        {u"left align", vizivodu::vdaLeft, 2, 0, gfx::clNone},
        {u"Centered", vizivodu::vdaCenter, 0, 0, gfx::clNone},
        {u"right align", vizivodu::vdaRight, 0, 2, gfx::clNone},
        {u"red-right", vizivodu::vdaRight, 0, 2, LightRed},
        {u"green-right", vizivodu::vdaRight, 0, 2, gfx::RGB(208, 255, 208)},
    };
    ASSERT_EQ(sheet.GetParaStyles().GetCount(), 5);
    for (int32_t i = 0; i < 5; ++i) {
        const vizivodu::TParaInfo &style = sheet.GetParaStyles().GetItem(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(style.GetStyleName(), paras[i].name);
        EXPECT_EQ(style.GetAlignment(), paras[i].alignment);
        EXPECT_EQ(style.GetLeftIndent(), paras[i].left);
        EXPECT_EQ(style.GetRightIndent(), paras[i].right);
        EXPECT_EQ(style.GetBackground().Color, paras[i].background);
    }
    EXPECT_EQ(sheet.GetListStyles().GetCount(), 0);
}

TEST_F(ReportBuilderTest, DocumentHoldsTheFourTablesTheLegendAndTheCommissionHeading) {
    Build();
    EXPECT_EQ(DocumentDump(Document()),
              "0/-60'<item>' ; 0/-60'<item>' ; 0/6'Всего в базе 100 файлов.' ; "
              "0/6'* - '+7'Чувствительность '+6'= ИП / (ИП+ЛО) * 100%' ; "
              "0/6'  - '+7'Специфичность '+6'= ИН / (ИН+ЛП) * 100%' ; "
              "0/6'  - '+7'ППЦ '+6'(Позитивная Прогностическая Ценность) = ИП / (ИП+ЛП) * 100%' ; "
              "0/8'где: ИП - истинно положительные (правильно поставленное нарушение)' ; "
              "0/8'       ЛП - ложно положительные (ошибочно поставленное нарушение)' ; "
              "0/8'       ЛО - ложно отрицательные (пропущенное нарушение)' ; "
              "0/8'       ИН - истинно норма (правильно непоставленное нарушение)' ; "
              "0/0'** - Синусовый ритм в подсчет не входит, во избежание двойного подсчета "
              "ошибки.' ; "
              "0/0'*** - В категорию Cito отнесены нарушения, помеченные в графе Cito.' ; 0/0'' ; "
              "0/0'Утверждаю:' ; 0/-60'<item>' ; 0/0'' ; 0/0'Члены комиссии:' ; 0/-60'<item>'");
    const std::u16string_view names[] = {HeaderTableName, MainTableName, ConfirmerTableName,
                                         JuryTableName};
    const int32_t tableItems[] = {0, 1, 20, 23};
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Document().GetItemText(tableItems[i]), names[i]);
    }
    // Built, formatted and laid out: the document has a height.
    EXPECT_GT(Form.ZemVDReport->DocumentHeight(), 0);
}

TEST_F(ReportBuilderTest, TitleTableHoldsTheTitleTheDateAndTheLogo) {
    Data.ProgramName = u"Программа-интерпретатор ЭКГ №30"; // 32 characters, printed whole
    Build();
    TVDTableItemInfo &table = Table(HeaderTableName);
    ASSERT_EQ(table.GetRowCount(), 1);
    ASSERT_EQ(table.GetColCount(), 2);
    EXPECT_EQ(table.GetTableBorderWidth(), 2);
    EXPECT_EQ(table.GetColor(vizivodu::vdtcBorderColor), Grey);
    EXPECT_EQ(table.ParaNo, rpsLeft);
    EXPECT_TRUE(table.GetVisibleBorders().IsAllEqual(true));
    EXPECT_EQ(Row(HeaderTableName, 0),
              "1/9'Отчет испытания' ; 1/1'программы Программа-интерпретатор ЭКГ №30' ; "
              "1/1'на тестовой базе ЗЕМБРАК стандартных 12-канальных ЭКГ' ; 0/1'' ; "
              "0/3'Отчет сформирован 05.03.2024' | 1/-3'<item>'");
    vizivodu::TVDTableCellData &logoCell = *table.GetCells(0, 1);
    EXPECT_EQ(logoCell.GetBestWidth(), Data.Logo.GetWidth());
    auto *picture = dynamic_cast<vizivodu::TVDGraphicItemInfo *>(logoCell.GetItem(0));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->VAlign, vizivodu::vdvaRight);
    EXPECT_EQ(logoCell.GetItemText(0), u"");
    ASSERT_NE(dynamic_cast<gfx::TPngImage *>(picture->GetImage()), nullptr);
    EXPECT_EQ(picture->GetImage()->GetWidth(), Data.Logo.GetWidth());
}

TEST_F(ReportBuilderTest, StatisticsTableHasItsSizeLookHeaderAndMergedGroupRows) {
    Build();
    TVDTableItemInfo &table = Table(MainTableName);
    ASSERT_EQ(table.GetRowCount(), 36);
    ASSERT_EQ(table.GetColCount(), 10);
    EXPECT_EQ(ReportMainTableRowCount(), 36);
    EXPECT_EQ(table.GetTableBorderWidth(), 2);
    EXPECT_EQ(table.GetCellBorderWidth(), 1);
    EXPECT_EQ(table.GetCellBorderStyle(), vizivodu::vdtbColor);
    EXPECT_EQ(table.GetColor(vizivodu::vdtcCellBorderColor), gfx::clBlack);
    EXPECT_EQ(table.GetColor(vizivodu::vdtcBorderColor), Grey);
    EXPECT_EQ(table.GetCellVPadding(), 0);
    EXPECT_EQ(table.GetCellHPadding(), 0);
    EXPECT_EQ(table.GetCellVSpacing(), -1);
    EXPECT_EQ(table.GetCellHSpacing(), -1);
    EXPECT_EQ(table.GetBorderVSpacing(), 0);
    EXPECT_EQ(table.GetBorderHSpacing(), 0);
    EXPECT_EQ(table.GetVRuleWidth(), 0);
    EXPECT_EQ(table.GetHRuleWidth(), 0);
    EXPECT_EQ(table.ParaNo, rpsLeft);
    EXPECT_TRUE(table.GetVisibleBorders().IsAllEqual(true));

    EXPECT_EQ(Row(MainTableName, 0),
              "0/0'Код' | 0/0'Заключение' | 0/0'Cito' | 0/0'Врачи' | 0/0'Программа' | "
              "0/0'Пропущено' | 0/0'Ложно поставлено' | 0/0'Чувствительность,%' | "
              "0/0'Специфичность,%' | 0/0'ППЦ,%'");
    for (int32_t col = 0; col < 10; ++col) {
        EXPECT_EQ(table.GetCells(0, col)->GetBestWidth(), col == 1 ? 0 : ReportColumnWidths[col]);
    }
    const std::pair<int32_t, const char *> merged[] = {{1, "Ритм"},
                                                       {10, "Экстрасистолия"},
                                                       {13, "Паузы, АВ-проведение"},
                                                       {21, "Желудочковое проведение"},
                                                       {26, "QT"},
                                                       {29, "ИБС, ГЛЖ"},
                                                       {33, "Итого по базе"}};
    for (auto [row, name] : merged) {
        SCOPED_TRACE(row);
        EXPECT_EQ(Row(MainTableName, row),
                  "1/1'" + std::string(name) + "' | ~ | ~ | ~ | ~ | ~ | ~ | ~ | ~ | ~");
        EXPECT_EQ(table.GetCells(row, 0)->GetColSpan(), 10);
        EXPECT_EQ(table.GetCells(row, 0)->GetRowSpan(), 1);
    }
}

TEST_F(ReportBuilderTest, CodeRowsShowCountsAndMeasuresInTheirFormatsAndStyles) {
    SetScoredCounters(Data.DiaStat);
    Build();
    const std::pair<int32_t, const char *> rows[] = {
        // Below 100: the measure and its count cell are light red.
        {2, "0/0'1' | 0/0'Синусовый ритм' | 0/0'' | 2/0'60' | 2/0'58' | 3/0'3' | 3/0'1' | "
            "3/0'95,00' | 3/0'97,50' | 3/0'98,28'"},
        // Exactly 100 shows without decimals; a predictive value without denominator is 0.
        {4, "0/0'3' | 0/0'Брадикардия' | 0/0'' | 2/0'0' | 2/0'0' | 2/0'0' | 2/0'0' | "
            "2/0'100' | 2/0'100' | 3/0' 0,00'"},
        {5, "0/0'4' | 0/0'Фибриляция, трепетание предсердий' | 1/0'+' | 2/0'5' | 2/0'5' | "
            "2/0'0' | 2/0'0' | 2/0'100' | 2/0'100' | 2/0'100'"},
        {23, "0/0'22' | 0/0'Полная БПН, в т.ч. преходящая' | 0/0'' | 2/0'4' | 2/0'0' | 3/0'4' | "
             "2/0'0' | 3/0' 0,00' | 2/0'100' | 3/0' 0,00'"},
        {24, "0/0'23' | 0/0'Полная БЛН, в т.ч. преходящая' | 1/0'+' | 2/0'0' | 2/0'2' | 2/0'0' | "
             "3/0'2' | 2/0'100' | 3/0'98,00' | 3/0' 0,00'"},
        {32, "0/0'30' | 0/0'ГЛЖ' | 0/0'' | 2/0'0' | 2/0'0' | 2/0'0' | 2/0'0' | 2/0'100' | "
             "2/0'100' | 3/0' 0,00'"},
    };
    for (auto [row, expected] : rows) {
        SCOPED_TRACE(row);
        EXPECT_EQ(Row(MainTableName, row), expected);
    }
    // Code cells keep the table's colour.
    EXPECT_EQ(Table(MainTableName).GetCells(2, 7)->GetOwnColor(), gfx::clNone);
}

TEST_F(ReportBuilderTest, TotalRowsSumEveryCodeButSinusRhythmAndColourTheirCells) {
    SetScoredCounters(Data.DiaStat);
    Build();
    EXPECT_EQ(Row(MainTableName, 34),
              "0/0'' | 0/0'По всем нарушениям (кроме син.ритма)(**)' | 0/0'' | 2/0'19' | "
              "2/0'16' | 3/0'6' | 3/0'3' | 3/0'68,42' | 3/0'99,21' | 3/0'81,25'");
    EXPECT_EQ(Row(MainTableName, 35),
              "0/2'' | 0/2'По нарушениям Cito (***)' | 0/0'' | 2/2'5' | 2/2'7' | 2/2'0' | "
              "3/2'2' | 2/2'100' | 3/2'98,97' | 3/2'71,43'");
    TVDTableItemInfo &table = Table(MainTableName);
    const gfx::TColor all[] = {LightRed, LightRed, LightRed, LightRed, LightRed};
    const gfx::TColor cito[] = {gfx::clNone, LightRed, gfx::clNone, LightRed, LightRed};
    for (int32_t col = 5; col < 10; ++col) {
        SCOPED_TRACE(col);
        EXPECT_EQ(table.GetCells(34, col)->GetOwnColor(), all[col - 5]);
        EXPECT_EQ(table.GetCells(35, col)->GetOwnColor(), cito[col - 5]);
    }
    for (int32_t col = 0; col < 5; ++col) {
        EXPECT_EQ(table.GetCells(34, col)->GetOwnColor(), gfx::clNone);
    }
}

TEST_F(ReportBuilderTest, BeforeAnyResultFileTheMeasuresTakeTheirSubstitutes) {
    Data.DiaStat[1] = {3, 0, 0, 0, 0, 0};
    Data.DiaStat[4] = {1, 0, 0, 0, 0, 0};
    Build();
    EXPECT_EQ(Row(MainTableName, 2),
              "0/0'1' | 0/0'Синусовый ритм' | 0/0'' | 2/0'3' | 2/0'0' | 2/0'0' | 2/0'0' | "
              "2/0'100' | 2/0'100' | 3/0' 0,00'");
    EXPECT_EQ(Row(MainTableName, 5),
              "0/0'4' | 0/0'Фибриляция, трепетание предсердий' | 1/0'+' | 2/0'1' | 2/0'0' | "
              "2/0'0' | 2/0'0' | 2/0'100' | 2/0'100' | 3/0' 0,00'");
    // The totals' predictive value is 0 here, where the main window's totals list shows 100.
    EXPECT_EQ(Row(MainTableName, 34),
              "0/0'' | 0/0'По всем нарушениям (кроме син.ритма)(**)' | 0/0'' | 2/0'1' | "
              "2/0'0' | 2/0'0' | 2/0'0' | 2/0'100' | 2/0'100' | 3/0' 0,00'");
    EXPECT_EQ(Row(MainTableName, 35),
              "0/2'' | 0/2'По нарушениям Cito (***)' | 0/0'' | 2/2'1' | 2/2'0' | 2/2'0' | "
              "2/2'0' | 2/2'100' | 2/2'100' | 3/2' 0,00'");
    EXPECT_EQ(Table(MainTableName).GetCells(35, 9)->GetOwnColor(), LightRed);
    EXPECT_EQ(Table(MainTableName).GetCells(35, 7)->GetOwnColor(), gfx::clNone);
}

TEST_F(ReportBuilderTest, LegendCountsTheDatabasesEcgs) {
    Data.DBCount = 1234;
    Build();
    EXPECT_EQ(Document().GetItemText(2), u"Всего в базе 1234 файлов.");
}

TEST_F(ReportBuilderTest, SignatoriesStandInTheirTablesWithTheSignatureLines) {
    Build();
    TVDTableItemInfo &approval = Table(ConfirmerTableName);
    TVDTableItemInfo &jury = Table(JuryTableName);
    for (TVDTableItemInfo *table : {&approval, &jury}) {
        EXPECT_EQ(table->GetColCount(), 2);
        EXPECT_EQ(table->GetTableBorderWidth(), 0);
        EXPECT_EQ(table->GetColor(vizivodu::vdtcBorderColor), gfx::clWhite);
        EXPECT_EQ(table->ParaNo, rpsLeft);
        EXPECT_TRUE(table->GetVisibleBorders().IsAllEqual(false));
    }
    EXPECT_EQ(Rows(ConfirmerTableName),
              (std::vector<std::string>{"0/0'Профессор, д.м.н., Президент ЗЕМБРАК' | "
                                        "0/0'________________________   Иванов И.И.'"}));
    EXPECT_EQ(Rows(JuryTableName),
              (std::vector<std::string>{
                  "0/0'Профессор, д.м.н., член президиума ЗЕМБРАК' ; 0/0'' | "
                  "0/0'________________________   Петров П.П.'",
                  "0/0'Доцент' ; 0/0'' | 0/0'________________________   Сидоров С.С.'"}));
}

TEST_F(ReportBuilderTest, EmptySignatoryTablesPrintEmptyLinesAndAnEmptyCommissionNoRows) {
    Data.Confirmer1.clear();
    Data.Confirmer2.clear();
    Data.JuryPeople1.clear();
    Data.JuryPeople2.clear();
    Build();
    EXPECT_EQ(Rows(ConfirmerTableName),
              (std::vector<std::string>{"0/0'' | 0/0'________________________   '"}));
    EXPECT_EQ(Table(JuryTableName).GetRowCount(), 0);
    EXPECT_GT(Form.ZemVDReport->DocumentHeight(), 0);
}

TEST_F(ReportBuilderTest, ACommissionWithAMissingNumberPrintsAnEmptyLineThere) {
    Data.JuryPeople1 = {{1, u"Профессор"}, {3, u"Доцент"}};
    Data.JuryPeople2 = {{2, u"Петров П.П."}};
    Build();
    EXPECT_EQ(
        Rows(JuryTableName),
        (std::vector<std::string>{"0/0'Профессор' ; 0/0'' | 0/0'________________________   '",
                                  "0/0'' ; 0/0'' | 0/0'________________________   Петров П.П.'"}));
}

TEST_F(ReportBuilderTest, ABuildReplacesTheDocumentOfTheLastOne) {
    Build();
    const int32_t items = Document().ItemCount();
    Data.ProgramName = u"Вторая";
    Build();
    EXPECT_EQ(Document().ItemCount(), items);
    EXPECT_NE(Row(HeaderTableName, 0).find("программы Вторая"), std::string::npos);
}

TEST_F(ReportBuilderTest, WithoutALogoTheLogoCellStaysEmpty) {
    Data.Logo = gfx::TPngImage();
    Build();
    const std::string row = Row(HeaderTableName, 0);
    EXPECT_EQ(row.substr(row.rfind('|')), "| 0/0''");
}

} // namespace
} // namespace workbench::testing
