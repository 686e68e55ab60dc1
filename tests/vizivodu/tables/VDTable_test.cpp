// The table item and its cells: defaults, the grid lookups, cell colours with bands and heading
// rows, heading-row rules, changes by property name, cell and row setters, insertion, the item
// answers, units, styles and the walk over the cell documents.
#include "vizivodu/tables/VDTable.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/tables/TableTestSupport.h"
#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDFieldItems.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

class Table : public ::testing::Test {
protected:
    Table() : Style(nullptr), Doc(&Style) {}

    // Appends the table to the document (as the report does) and returns it.
    TVDTableItemInfo &Insert(std::unique_ptr<TVDTableItemInfo> table) {
        TVDTableItemInfo &result = *table;
        Doc.AddItem(u"", std::move(table));
        return result;
    }

    TVDStyle Style;
    TTestDocument Doc;
};

} // namespace

TEST_F(Table, NewTableHasTheDocumentedDefaults) {
    auto table = TVDTableItemInfo::CreateEx(3, 4, &Doc);
    EXPECT_EQ(table->StyleNo, StyleNoTable);
    EXPECT_EQ(table->GetRowCount(), 3);
    EXPECT_EQ(table->GetColCount(), 4);
    EXPECT_TRUE(GridRuleHolds(*table));
    EXPECT_EQ(table->GetTableBorderWidth(), 0);
    EXPECT_EQ(table->GetCellBorderWidth(), 0);
    EXPECT_EQ(table->GetCellHSpacing(), 2);
    EXPECT_EQ(table->GetCellVSpacing(), 2);
    EXPECT_EQ(table->GetBorderHSpacing(), 2);
    EXPECT_EQ(table->GetBorderVSpacing(), 2);
    EXPECT_EQ(table->GetCellHPadding(), 1);
    EXPECT_EQ(table->GetCellVPadding(), 1);
    EXPECT_EQ(table->GetHRuleWidth(), 0);
    EXPECT_EQ(table->GetVRuleWidth(), 0);
    EXPECT_EQ(table->GetBorderStyle(), vdtbRaised);
    EXPECT_EQ(table->GetCellBorderStyle(), vdtbLowered);
    EXPECT_EQ(table->GetOpacity(), 100000);
    EXPECT_EQ(table->GetBestWidth(), 0);
    EXPECT_FALSE(table->GetHOutermostRule());
    EXPECT_EQ(table->GetRowBandSize(), 1);
    EXPECT_EQ(table->GetColBandSize(), 1);
    EXPECT_EQ(table->GetHeadingRowCount(), 0);
    EXPECT_EQ(table->GetTableOptions(), (TVDTableOptions{vdtoEditing, vdtoRowSizing, vdtoColSizing,
                                                         vdtoRowSelect, vdtoColSelect}));
    EXPECT_EQ(table->GetPrintOptions(), (TVDTablePrintOptions{vdtoHalftoneBorders, vdtoRowsSplit}));
    EXPECT_EQ(table->GetTextRowSeparator(), u"\r\n");
    EXPECT_EQ(table->GetTextColSeparator(), u"\r\n");
    EXPECT_TRUE(table->GetVisibleBorders().IsAllEqual(true));
    EXPECT_TRUE(table->GetState().Contains(vdtsJustCreated));
    EXPECT_FALSE(table->GetState().Contains(vdtsInserted));

    const TColor expected[VDTableColorCount] = {
        gfx::clWindow,       gfx::clWindowText, gfx::clBtnHighlight, gfx::clWindowText,
        gfx::clBtnHighlight, gfx::clNone,       gfx::clNone,         gfx::clNone,
        gfx::clNone,         gfx::clNone,       gfx::clNone,         gfx::clNone,
        gfx::clNone,         gfx::clWindowText, gfx::clWindowText};
    for (int32_t i = 0; i < VDTableColorCount; ++i) {
        EXPECT_EQ(table->GetColor(static_cast<TVDTableColorProperty>(i)), expected[i]) << i;
    }

    for (int32_t r = 0; r < 3; ++r) {
        for (int32_t c = 0; c < 4; ++c) {
            TVDTableCellData &cell = *table->GetCells(r, c);
            ASSERT_EQ(cell.ItemCount(), 1);
            EXPECT_TRUE(cell.GetItem(0)->IsText());
            EXPECT_EQ(cell.GetItem(0)->StyleNo, 0);
            EXPECT_EQ(cell.GetItem(0)->ParaNo, 0);
            EXPECT_TRUE(cell.GetItem(0)->ItemText.empty());
            EXPECT_EQ(cell.GetColSpan(), 1);
            EXPECT_EQ(cell.GetRowSpan(), 1);
            EXPECT_TRUE(cell.GetVisibleBorders().IsAllEqual(true));
            EXPECT_EQ(cell.GetVAlign(), vdcVDefault);
            EXPECT_EQ(cell.GetOpacity(), 100000);
            EXPECT_EQ(cell.GetOwnColor(), gfx::clNone);
            EXPECT_EQ(cell.GetBorderColor(), gfx::clNone);
            EXPECT_EQ(cell.GetBorderLightColor(), gfx::clNone);
            EXPECT_EQ(cell.GetBestWidth(), 0);
        }
    }
}

TEST_F(Table, ItemsOfStyleNumberMinus60AreOneByOneTables) {
    std::unique_ptr<TCustomVDItemInfo> item = CreateItemForStyleNo(StyleNoTable, &Doc);
    ASSERT_TRUE(item);
    ASSERT_EQ(item->GetClass(), &TVDTableItemInfo::ClassInfo);
    auto &table = static_cast<TVDTableItemInfo &>(*item);
    EXPECT_EQ(table.GetRowCount(), 1);
    EXPECT_EQ(table.GetColCount(), 1);
    EXPECT_TRUE(table.GetBoolValue(vdbpFullWidth));
}

TEST_F(Table, ZeroRowsOrColumnsMakeAnEmptyGridAndNegativeCountsFail) {
    auto noRows = TVDTableItemInfo::CreateEx(0, 3, &Doc);
    EXPECT_TRUE(noRows->GetRows().Empty());
    EXPECT_EQ(noRows->GetColCount(), 0);
    auto noCols = TVDTableItemInfo::CreateEx(2, 0, &Doc);
    EXPECT_TRUE(noCols->GetRows().Empty());
    EXPECT_THROW(TVDTableItemInfo::CreateEx(-1, 2, &Doc), rtl::EListError);
}

TEST_F(Table, SettersOfATableOutsideADocumentStoreTheirValues) {
    auto table = TVDTableItemInfo::CreateEx(2, 2, &Doc);
    table->SetCellHSpacing(-1);
    table->SetCellVSpacing(-1);
    table->SetBorderWidth(2);
    table->SetColor(vdtcBorderColor, gfx::RGB(128, 128, 128));
    EXPECT_EQ(table->GetCellHSpacing(), -1);
    EXPECT_EQ(table->GetCellVSpacing(), -1);
    EXPECT_EQ(table->GetTableBorderWidth(), 2);
    EXPECT_EQ(table->GetColor(vdtcBorderColor), gfx::RGB(128, 128, 128));
    // The direct road records nothing.
    EXPECT_FALSE(table->GetState().Contains(vdtsModified));
}

TEST_F(Table, CellPaddingIsTheMeanOfBothPaddingsRoundedHalfToEven) {
    struct {
        int32_t h, v, mean;
    } cases[] = {{1, 3, 2}, {2, 3, 2}, {3, 4, 4}, {1, 1, 1}, {0, 5, 2}};
    auto table = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    for (const auto &c : cases) {
        table->SetCellHPadding(c.h);
        table->SetCellVPadding(c.v);
        EXPECT_EQ(table->GetCellPadding(), c.mean) << c.h << " " << c.v;
    }
    table->SetCellPadding(4);
    EXPECT_EQ(table->GetCellHPadding(), 4);
    EXPECT_EQ(table->GetCellVPadding(), 4);
}

TEST_F(Table, ChangesByNameOfAnInsertedTableWriteThroughTheSetterAndFlagTheTable) {
    TVDTableItemInfo &table = Insert(TVDTableItemInfo::CreateEx(2, 2, &Doc));
    ASSERT_TRUE(table.GetState().Contains(vdtsInserted));
    table.SetBorderWidth(3);
    EXPECT_EQ(table.GetTableBorderWidth(), 3);
    EXPECT_TRUE(table.GetState().Contains(vdtsModified));
    EXPECT_TRUE(table.GetState().Contains(vdtsInserted));
    table.SetCellPadding(5);
    EXPECT_EQ(table.GetCellHPadding(), 5);
    EXPECT_EQ(table.GetCellVPadding(), 5);
    table.SetColor(vdtcHeadingRowColor, gfx::clRed);
    EXPECT_EQ(table.GetColor(vdtcHeadingRowColor), gfx::clRed);
    table.SetHeadingRowCount(1);
    EXPECT_EQ(table.GetHeadingRowCount(), 1);
    table.ChangeIntProperty(u"CellBorderStyle", vdtbColor, false, false);
    EXPECT_EQ(table.GetCellBorderStyle(), vdtbColor);
    EXPECT_THROW(table.ChangeIntProperty(u"NoSuchProperty", 1, false, false), EViziVoduError);
    EXPECT_TRUE(table.GetState().Contains(vdtsInserted));
}

TEST_F(Table, AssignPropertiesCopiesEverythingButTheVisibleBordersAndTheGrid) {
    auto source = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    source->SetBorderWidth(2);
    source->SetCellHSpacing(-1);
    source->SetCellVPadding(0);
    source->SetCellBorderStyle(vdtbColor);
    source->SetHeadingRowCount(2);
    source->SetColor(vdtcCellBorderColor, gfx::clBlack);
    source->SetColor(vdtcEvenRowsColor, gfx::clYellow);
    source->SetTableVisibleBorders(false, false, false, false);
    source->SetTextColSeparator(u"\t");
    auto target = TVDTableItemInfo::CreateEx(2, 3, &Doc);
    target->AssignProperties(*source);
    EXPECT_EQ(target->GetTableBorderWidth(), 2);
    EXPECT_EQ(target->GetCellHSpacing(), -1);
    EXPECT_EQ(target->GetCellVPadding(), 0);
    EXPECT_EQ(target->GetCellBorderStyle(), vdtbColor);
    EXPECT_EQ(target->GetHeadingRowCount(), 2);
    EXPECT_EQ(target->GetColor(vdtcCellBorderColor), gfx::clBlack);
    EXPECT_EQ(target->GetColor(vdtcEvenRowsColor), gfx::clYellow);
    EXPECT_EQ(target->GetTextColSeparator(), u"\t");
    EXPECT_TRUE(target->GetVisibleBorders().IsAllEqual(true));
    EXPECT_EQ(target->GetRowCount(), 2);
    EXPECT_EQ(target->GetColCount(), 3);
}

// ---- Cells ----

TEST_F(Table, RealVerticalAlignmentFallsBackToTheRowThenToTheMiddle) {
    auto table = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    TVDTableCellData &cell = *table->GetCells(0, 0);
    EXPECT_EQ(cell.GetRealVAlign(), vdcTop); // a fresh row aligns at the top
    table->SetRowVAlign(vdcVDefault, 0);
    EXPECT_EQ(cell.GetRealVAlign(), vdcMiddle);
    table->SetRowVAlign(vdcBottom, 0);
    EXPECT_EQ(cell.GetRealVAlign(), vdcBottom);
    table->SetCellVAlign(vdcTop, 0, 0);
    EXPECT_EQ(cell.GetRealVAlign(), vdcTop);
}

TEST_F(Table, HasDataTellsContentFromAnEmptyLine) {
    struct {
        const char *name;
        std::u16string text;
        int32_t styleNo, paraNo;
        bool checkStyles, expected;
    } cases[] = {
        {"empty line, style 0 / para 0", u"", 0, 0, true, false},
        {"empty line in paragraph 1", u"", 0, 1, true, true},
        {"empty line in text style 1", u"", 1, 0, true, true},
        {"empty line in paragraph 1, styles not checked", u"", 0, 1, false, false},
        {"text", u"x", 0, 0, false, true},
        {"text, styles checked", u"x", 0, 0, true, true},
    };
    auto table = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    TVDTableCellData &cell = *table->GetCells(0, 0);
    for (const auto &c : cases) {
        SetCellText(cell, c.text, c.styleNo, c.paraNo);
        EXPECT_EQ(cell.HasData(c.checkStyles), c.expected) << c.name;
    }
    cell.Clear();
    EXPECT_FALSE(cell.HasData(false));
    EXPECT_FALSE(cell.HasData(true));
    SetCellText(cell, u"");
    cell.AddNL(u"", 0, 0);
    EXPECT_TRUE(cell.HasData(false)); // two items
    cell.Clear();
    cell.AddBreak();
    EXPECT_TRUE(cell.HasData(false)); // one item that is not text
    cell.Clear();
    cell.AddNamedCheckpointExTag(u"mark", false, {});
    cell.AddNL(u"", 0, 0);
    EXPECT_TRUE(cell.HasData(true)); // an empty line with a checkpoint
}

TEST_F(Table, CanClearCellRefusesDeleteProtectedItems) {
    auto table = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    TVDTableCellData &cell = *table->GetCells(0, 0);
    EXPECT_TRUE(cell.CanClearCell());
    TFontInfo &protectedStyle = Style.GetTextStyles().Add();
    protectedStyle.SetProtection({vdprDeleteProtect});
    SetCellText(cell, u"kept", protectedStyle.GetIndex());
    EXPECT_FALSE(cell.CanClearCell());
    cell.Clear();
    cell.AddBreak();
    static_cast<TVDNonTextItemInfo *>(cell.GetItem(0))->DeleteProtect = true;
    EXPECT_FALSE(cell.CanClearCell());
}

TEST_F(Table, AssignAttributesFromDividesSizesAndLeavesOpacityAndSpans) {
    auto table = TVDTableItemInfo::CreateEx(1, 2, &Doc);
    TVDTableCellData &source = *table->GetCells(0, 0);
    TVDTableCellData &target = *table->GetCells(0, 1);
    table->SetCellBestWidth(-100, 0, 0);
    table->SetCellBestHeight(91, 0, 0);
    table->SetCellColor(gfx::clRed, 0, 0);
    table->SetCellOpacity(40000, 0, 0);
    table->SetCellHint(u"hint", 0, 0);
    table->SetCellVisibleBorders(true, false, true, false, 0, 0);
    table->SetCellOpacity(70000, 0, 1);
    target.AssignAttributesFrom(source, true, 3, 2);
    EXPECT_EQ(target.GetBestWidth(), -33); // truncated toward zero
    EXPECT_EQ(target.GetBestHeight(), 45);
    EXPECT_EQ(target.GetOwnColor(), gfx::clRed);
    EXPECT_EQ(target.GetHint(), u"hint");
    EXPECT_TRUE(target.GetVisibleBorders().IsEqual2(true, false, true, false));
    EXPECT_EQ(target.GetOpacity(), 70000);

    table->AssignCellAttributes(-1, 0, 1, source, false, 1, 1);
    EXPECT_EQ(target.GetBestWidth(), -33); // sizes are copied only when asked
    table->SetCellBestWidth(301, 0, 0);
    table->SetCellBestHeight(40, 0, 0);
    table->AssignCellAttributes(-1, 0, 1, source, true, 2, 1);
    EXPECT_EQ(target.GetBestWidth(), 150);
    EXPECT_EQ(target.GetBestHeight(), 40);
}

TEST_F(Table, ResetPropertiesRestoresTheDefaultsButKeepsSpansAndContent) {
    auto table = TVDTableItemInfo::CreateEx(1, 2, &Doc);
    table->MergeCells(0, 0, 2, 1, true);
    TVDTableCellData &cell = *table->GetCells(0, 0);
    SetCellText(cell, u"text");
    table->SetCellColor(gfx::clRed, 0, 0);
    table->SetCellRotation(vdrot90, 0, 0);
    table->SetCellOptions({vdtcoReverseLineOrder}, 0, 0);
    table->SetCellTag(u"t", 0, 0);
    cell.ResetProperties();
    EXPECT_EQ(cell.GetOwnColor(), gfx::clNone);
    EXPECT_EQ(cell.GetRotation(), vdrotNone);
    EXPECT_TRUE(cell.GetCellOptions().Empty());
    EXPECT_TRUE(cell.GetTag().empty());
    EXPECT_EQ(cell.GetColSpan(), 2);
    EXPECT_EQ(CellText(cell), "text");
}

TEST_F(Table, MainCellLookupWalksLeftThenUp) {
    auto table = TVDTableItemInfo::CreateEx(4, 4, &Doc);
    table->MergeCells(0, 0, 3, 1, true);
    table->MergeCells(1, 1, 2, 2, true);
    ASSERT_TRUE(GridRuleHolds(*table));
    struct {
        int32_t row, col, mainRow, mainCol;
    } cases[] = {{0, 1, 0, 0}, {0, 2, 0, 0}, {0, 3, 0, 3}, {1, 2, 1, 1},
                 {2, 1, 1, 1}, {2, 2, 1, 1}, {2, 3, 2, 3}, {2, 0, 2, 0}};
    for (const auto &c : cases) {
        int32_t mRow = -1;
        int32_t mCol = -1;
        TVDTableCellData *cell = table->GetRows().GetMainCell(c.row, c.col, mRow, mCol);
        EXPECT_EQ(mRow, c.mainRow) << c.row << "," << c.col;
        EXPECT_EQ(mCol, c.mainCol) << c.row << "," << c.col;
        EXPECT_EQ(cell, table->GetCells(c.mainRow, c.mainCol));
    }
    int32_t mRow = 0;
    int32_t mCol = 0;
    EXPECT_THROW(table->GetRows().GetMainCell(4, 0, mRow, mCol), rtl::EListError);
}

TEST_F(Table, RowQueries) {
    auto table = TVDTableItemInfo::CreateEx(3, 3, &Doc);
    table->SetCellBestHeight(30, 0, 0);
    table->SetCellBestHeight(50, 0, 1);
    table->SetCellBestHeight(90, 0, 2);
    table->MergeCells(0, 2, 1, 2, true); // its height spans two rows and does not count
    const TVDTableRow &row0 = *table->GetRows().Get(0);
    EXPECT_EQ(row0.GetBestHeight(), 50);
    EXPECT_EQ(table->GetRows().Get(1)->GetBestHeight(), 0);
    // Row 0 holds a cell that ends inside rows 0..1; row 1 only cells ending in it.
    EXPECT_TRUE(row0.HasCellEndingWithin(0, 0, 2));
    EXPECT_FALSE(row0.HasCellEndingWithin(0, 1, 2)); // the row lies above the range
    EXPECT_TRUE(table->GetRows().Get(1)->HasCellEndingWithin(1, 0, 2));
    EXPECT_FALSE(table->GetRows().Get(2)->HasCellEndingWithin(2, 0, 2));
}

TEST_F(Table, ColumnWidthQueriesLookAtSingleColumnCells) {
    auto table = TVDTableItemInfo::CreateEx(3, 3, &Doc);
    TVDTableRows &rows = table->GetRows();
    table->SetCellBestWidth(100, 0, 0);
    table->SetCellBestWidth(120, 1, 0);
    EXPECT_EQ(rows.GetColBestWidth(0), 120);
    table->SetCellBestWidth(-20, 2, 0);
    EXPECT_EQ(rows.GetColBestWidth(0), 0); // a percentage in the column cancels absolutes
    EXPECT_EQ(rows.GetColPercentWidth(0, 500), 100);
    table->SetCellBestWidth(-30, 0, 0);
    EXPECT_EQ(rows.GetColPercentWidth(0, 500), 150);
    EXPECT_TRUE(rows.ColHasPercentWidth(0));
    EXPECT_FALSE(rows.ColHasPercentWidth(1));

    // A merged cell with a percentage counts for the column where its span ends.
    table->MergeCells(1, 1, 2, 1, true);
    table->SetCellBestWidth(-40, 1, 1);
    EXPECT_FALSE(rows.ColHasPercentWidth(1)); // its own column: ColSpan 2 does not count
    EXPECT_TRUE(rows.ColHasPercentWidth(2));
    EXPECT_EQ(rows.GetColPercentWidth(1, 500), 0);
}

TEST_F(Table, CellsLeanOnTheTablesDocument) {
    TVDTableItemInfo &table = Insert(TVDTableItemInfo::CreateEx(2, 2, &Doc));
    TVDTableCellData &cell = *table.GetCells(1, 0);
    EXPECT_EQ(cell.GetParentData(), &Doc);
    EXPECT_EQ(cell.GetAbsoluteRootData(), &Doc);
    EXPECT_EQ(cell.GetVDStyle(), &Style);
    EXPECT_EQ(cell.GetTable(), &table);
    EXPECT_FALSE(cell.AllowsPageBreaks());
    int32_t itemNo = -5;
    std::unique_ptr<TVDStoreSubVDData> location;
    cell.GetParentInfo(itemNo, location);
    EXPECT_EQ(itemNo, 0);
    ASSERT_TRUE(location);
    const auto &position = static_cast<const TVDTableStoreSubVDData &>(*location);
    EXPECT_EQ(position.Row, 1);
    EXPECT_EQ(position.Col, 0);
    EXPECT_EQ(position.Compare(TVDTableStoreSubVDData(1, 3)), -3);
    EXPECT_EQ(position.Compare(TVDTableStoreSubVDData(0, 0)), 1);

    Doc.SetOptions({vdoAllowSelection, vdoClientTextWidth});
    EXPECT_EQ(cell.GetOptions(), TVDOptions{vdoAllowSelection});
}

TEST_F(Table, ItemHintsComeFromTheDocumentElseFromTheCell) {
    TVDTableItemInfo &table = Insert(TVDTableItemInfo::CreateEx(1, 1, &Doc));
    table.SetCellHint(u"cell hint", 0, 0);
    TVDTableCellData &cell = *table.GetCells(0, 0);
    EXPECT_EQ(cell.GetItemHint(cell, 0, u""), u"cell hint");
}

// ---- Colours ----

TEST_F(Table, CellColoursFollowBandsHeadingsAndFirstAndLastRowsAndColumns) {
    const TColor odd = gfx::clYellow;
    const TColor even = gfx::clAqua;
    const TColor heading = gfx::clRed;
    struct {
        const char *name;
        int32_t headingRowCount;
        TColor headingColor, firstColumnColor;
        bool columnBands;
        std::vector<TColor> column0, column1; // rows 0 to 4
    } cases[] = {
        {"row bands from row 0",
         0,
         gfx::clNone,
         gfx::clNone,
         false,
         {odd, even, odd, even, odd},
         {odd, even, odd, even, odd}},
        {"a heading colour without a count takes row 0",
         0,
         heading,
         gfx::clNone,
         false,
         {heading, odd, even, odd, even},
         {heading, odd, even, odd, even}},
        {"two heading rows without a colour are odd rows",
         2,
         gfx::clNone,
         gfx::clNone,
         false,
         {odd, odd, odd, even, odd},
         {odd, odd, odd, even, odd}},
        {"two heading rows with a colour",
         2,
         heading,
         gfx::clNone,
         false,
         {heading, heading, odd, even, odd},
         {heading, heading, odd, even, odd}},
        {"column bands start after a first-column colour",
         0,
         gfx::clNone,
         gfx::clBlue,
         true,
         {gfx::clBlue, gfx::clBlue, gfx::clBlue, gfx::clBlue, gfx::clBlue},
         {odd, odd, odd, odd, odd}},
    };
    for (const auto &c : cases) {
        auto table = TVDTableItemInfo::CreateEx(5, 3, &Doc);
        table->SetHeadingRowCount(c.headingRowCount);
        table->SetColor(vdtcHeadingRowColor, c.headingColor);
        table->SetColor(vdtcFirstColumnColor, c.firstColumnColor);
        if (c.columnBands) {
            table->SetColor(vdtcOddColumnsColor, odd);
            table->SetColor(vdtcEvenColumnsColor, even);
        } else {
            table->SetColor(vdtcOddRowsColor, odd);
            table->SetColor(vdtcEvenRowsColor, even);
        }
        for (int32_t r = 0; r < 5; ++r) {
            EXPECT_EQ(table->GetCellColor(r, 0, true, false), c.column0[r]) << c.name << " " << r;
            EXPECT_EQ(table->GetCellColor(r, 1, true, false), c.column1[r]) << c.name << " " << r;
        }
    }
}

TEST_F(Table, CellColourPrecedence) {
    auto table = TVDTableItemInfo::CreateEx(3, 3, &Doc);
    table->SetColor(vdtcOddRowsColor, gfx::clYellow);
    table->SetColor(vdtcLastRowColor, gfx::clGreen);
    table->SetColor(vdtcLastColumnColor, gfx::clTeal);
    EXPECT_EQ(table->GetCellColor(2, 2, true, false), gfx::clGreen); // the last row first
    EXPECT_EQ(table->GetCellColor(1, 2, true, false), gfx::clTeal);
    EXPECT_EQ(table->GetCellColor(0, 1, true, false), gfx::clYellow);
    EXPECT_EQ(table->GetCellColor(1, 1, true, false), gfx::clWindow); // an even row: no colour
    table->SetCellColor(gfx::clRed, 1, 2);
    EXPECT_EQ(table->GetCellColor(1, 2, true, false), gfx::clRed);
    EXPECT_EQ(table->GetCells(1, 2)->GetCellColor(), gfx::clRed);
}

TEST_F(Table, PlainCellsShowTheTableOrTheDocument) {
    TVDTableItemInfo &table = Insert(TVDTableItemInfo::CreateEx(2, 2, &Doc));
    EXPECT_EQ(table.GetCellColor(0, 0, true, false), gfx::clWindow);
    EXPECT_EQ(table.GetCellColor(0, 0, false, false), gfx::clNone);
    EXPECT_EQ(table.GetCellColor(0, 0, false, true), gfx::clNone); // the document has none
    Style.GetParaStyles().GetItem(0).GetBackground().Color = gfx::clSilver;
    EXPECT_EQ(table.GetCellColor(0, 0, false, true), gfx::clSilver);
    EXPECT_EQ(static_cast<TColor>(table.GetCells(0, 0)->GetColor()), gfx::clWindow);
}

TEST_F(Table, TransparencyOfCellsAndWhatLiesUnderThem) {
    TVDTableItemInfo &table = Insert(TVDTableItemInfo::CreateEx(1, 2, &Doc));
    EXPECT_TRUE(table.IsCellTransparent(0, 0));
    table.SetCellColor(gfx::clRed, 0, 0);
    EXPECT_FALSE(table.IsCellTransparent(0, 0));
    table.SetCellOpacity(50000, 0, 0);
    EXPECT_TRUE(table.IsCellTransparent(0, 0)); // its own colour, but not opaque
    // The table's opaque colour lies under every cell.
    EXPECT_FALSE(table.IsCellUnderlayTransparent(0, 1));
    table.SetColor(vdtcColor, gfx::clNone);
    EXPECT_TRUE(table.IsCellUnderlayTransparent(0, 1));
    Style.GetParaStyles().GetItem(0).GetBackground().Color = gfx::clSilver;
    EXPECT_FALSE(table.IsCellUnderlayTransparent(0, 1));
}

// ---- Heading rows and page breaks ----

TEST_F(Table, HeadingRowsApplyOnlyWhenNoCellCrossesTheirBoundary) {
    auto table = TVDTableItemInfo::CreateEx(4, 3, &Doc);
    EXPECT_EQ(table->GetRealHeadingRowCount(), 0);
    table->SetHeadingRowCount(2);
    EXPECT_EQ(table->GetRealHeadingRowCount(), 2);
    table->SetHeadingRowCount(9);
    EXPECT_EQ(table->GetRealHeadingRowCount(), 4); // never more than the rows
    table->SetHeadingRowCount(2);
    table->MergeCells(1, 1, 1, 2, true); // a heading cell reaches into the first body row
    EXPECT_EQ(table->GetRealHeadingRowCount(), 0);
    EXPECT_TRUE(table->IsRowBoundaryClear(0));
    EXPECT_FALSE(table->IsRowBoundaryClear(1));
    EXPECT_TRUE(table->IsRowBoundaryClear(4));
}

TEST_F(Table, PageBreaksBeforeRowsAfterTheHeading) {
    auto table = TVDTableItemInfo::CreateEx(5, 1, &Doc);
    table->SetRowPageBreakBefore(true, 0); // before the first body row: not a break in it
    EXPECT_FALSE(table->HasPageBreakBefore(-1, -1));
    table->SetRowPageBreakBefore(true, 1);
    EXPECT_TRUE(table->HasPageBreakBefore(-1, -1));
    table->SetHeadingRowCount(1); // now the search starts at row 2
    EXPECT_FALSE(table->HasPageBreakBefore(-1, -1));
    table->SetRowPageBreakBefore(true, 4);
    EXPECT_TRUE(table->HasPageBreakBefore(-1, -1));
    EXPECT_FALSE(table->HasPageBreakBefore(2, 3));
    EXPECT_TRUE(table->HasPageBreakBefore(0, 0));
}

// ---- Setters ----

TEST_F(Table, CellSettersFlagTheTableAndVisibleBordersOnlyWhenTheyChange) {
    TVDTableItemInfo &table = Insert(TVDTableItemInfo::CreateEx(2, 3, &Doc));
    table.SetCellColor(gfx::clRed, 1, 2);
    EXPECT_EQ(table.GetCells(1, 2)->GetOwnColor(), gfx::clRed);
    EXPECT_EQ(table.GetCellColor(1, 2, true, true), gfx::clRed);
    for (int32_t r = 0; r < 2; ++r) {
        for (int32_t c = 0; c < 3; ++c) {
            if (r != 1 || c != 2) {
                EXPECT_EQ(table.GetCells(r, c)->GetOwnColor(), gfx::clNone);
            }
        }
    }
    EXPECT_TRUE(table.GetState().Contains(vdtsModified));

    TVDTableItemInfo &other = Insert(TVDTableItemInfo::CreateEx(1, 1, &Doc));
    other.SetCellVisibleBorders(true, true, true, true, 0, 0);
    EXPECT_FALSE(other.GetState().Contains(vdtsModified));
    other.SetCellColor(gfx::clNone, 0, 0); // the same colour still flags the table
    EXPECT_TRUE(other.GetState().Contains(vdtsModified));

    TVDTableItemInfo &third = Insert(TVDTableItemInfo::CreateEx(1, 1, &Doc));
    third.SetCellVisibleBorders(false, true, true, false, 0, 0);
    EXPECT_TRUE(third.GetCells(0, 0)->GetVisibleBorders().IsEqual2(false, true, true, false));
    EXPECT_TRUE(third.GetState().Contains(vdtsModified));
    third.SetRowPageBreakBefore(true, 0);
    EXPECT_TRUE(third.GetRows().Get(0)->PageBreakBefore);
}

TEST_F(Table, EveryCellSetterReachesItsProperty) {
    auto table = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    TVDTableCellData &cell = *table->GetCells(0, 0);
    table->SetCellBestWidth(-50, 0, 0);
    table->SetCellBestHeight(25, 0, 0);
    table->SetCellRotation(vdrot270, 0, 0);
    table->SetCellOptions({vdtcoUseVerticalFonts}, 0, 0);
    table->SetCellColor(gfx::clLime, 0, 0);
    table->SetCellOpacity(1234, 0, 0);
    table->SetCellBorderColor(gfx::clBlue, 0, 0);
    table->SetCellBorderLightColor(gfx::clNavy, 0, 0);
    table->SetCellVAlign(vdcBottom, 0, 0);
    table->SetCellTag(u"tag", 0, 0);
    table->SetCellHint(u"hint", 0, 0);
    table->SetCellBackgroundImageFileName(u"a.png", 0, 0);
    EXPECT_EQ(cell.GetBestWidth(), -50);
    EXPECT_EQ(cell.GetBestHeight(), 25);
    EXPECT_EQ(cell.GetRotation(), vdrot270);
    EXPECT_EQ(cell.GetCellOptions(), TVDTableCellOptions{vdtcoUseVerticalFonts});
    EXPECT_EQ(cell.GetOwnColor(), gfx::clLime);
    EXPECT_EQ(cell.GetOpacity(), 1234);
    EXPECT_EQ(cell.GetBorderColor(), gfx::clBlue);
    EXPECT_EQ(cell.GetBorderLightColor(), gfx::clNavy);
    EXPECT_EQ(cell.GetVAlign(), vdcBottom);
    EXPECT_EQ(cell.GetTag(), u"tag");
    EXPECT_EQ(cell.GetHint(), u"hint");
    EXPECT_EQ(cell.GetBackgroundImageFileName(), u"a.png");
    EXPECT_TRUE(cell.UseVerticalFonts());
    EXPECT_THROW(table->ChangeCellIntProperty(-1, u"Width", 1, 0, 0, false, false), EViziVoduError);
}

// ---- Insertion ----

TEST_F(Table, InsertingBindsTheTableAndItsCellsToTheDocument) {
    auto created = TVDTableItemInfo::CreateEx(1, 2, nullptr);
    TVDTableItemInfo &table = *created;
    table.GetCells(0, 1)->Clear();
    EXPECT_EQ(table.GetCells(0, 0)->GetVDStyle(), nullptr);
    Doc.AddItem(u"", std::move(created));
    EXPECT_EQ(table.GetRows().GetMainVDData(), &Doc);
    EXPECT_TRUE(table.GetState().Contains(vdtsInserted));
    EXPECT_FALSE(table.GetState().Contains(vdtsEditMode));
    EXPECT_FALSE(table.GetState().Contains(vdtsJustCreated)); // the document is a root
    EXPECT_EQ(CellText(*table.GetCells(0, 1)), "");           // an emptied cell gets one empty line
    EXPECT_EQ(table.GetCells(0, 1)->ItemCount(), 1);
    EXPECT_EQ(table.GetCells(0, 0)->GetVDStyle(), &Style);

    TVDRawByteString text;
    table.Inserting(nullptr, text, true);
    EXPECT_FALSE(table.GetState().Contains(vdtsInserted));
    EXPECT_FALSE(table.GetState().Contains(vdtsEditMode));
}

TEST_F(Table, ATableInsideACellOfATableOutsideADocumentWaitsToRegisterItsItems) {
    auto outer = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    TVDTableCellData &host = *outer->GetCells(0, 0);
    auto inner = TVDTableItemInfo::CreateEx(1, 1, &host);
    TVDTableCellData &innerCell = *inner->GetCells(0, 0);
    innerCell.Clear();
    innerCell.AddItem(u"", CreateItemForStyleNo(StyleNoPageNumber, &innerCell));
    TVDTableItemInfo &innerRef = *inner;
    host.AddItem(u"", std::move(inner));
    // The host cell lies in no item of a document yet: nothing is registered.
    EXPECT_TRUE(innerRef.GetState().Contains(vdtsJustCreated));
    EXPECT_EQ(Doc.GetPrintFieldList(false), nullptr);

    TVDTableItemInfo &outerRef = Insert(std::move(outer));
    EXPECT_FALSE(outerRef.GetState().Contains(vdtsJustCreated));
    EXPECT_FALSE(innerRef.GetState().Contains(vdtsJustCreated));
    ASSERT_TRUE(Doc.GetPrintFieldList(false));
    ASSERT_EQ(Doc.GetPrintFieldList(false)->size(), 1u);
    EXPECT_EQ(Doc.GetPrintFieldList(false)->front(), innerCell.GetItem(0));
}

TEST_F(Table, TheTableFindsItsItemNumber) {
    Doc.AddNL(u"before", 0, 0);
    TVDTableItemInfo &table = Insert(TVDTableItemInfo::CreateEx(1, 1, &Doc));
    EXPECT_EQ(table.GetMyItemNo(), 1);
    EXPECT_EQ(table.GetTopLevelItemNo(), 1);
    Doc.DeleteItems(0, 1);
    EXPECT_EQ(table.GetMyItemNo(), 0); // the cached number is checked before use
    auto loose = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    EXPECT_EQ(loose->GetMyItemNo(), -1);
}

TEST_F(Table, ItemAnswers) {
    auto table = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    for (TVDItemBoolProperty p : {vdbpDrawingChangesFont, vdbpCanSaveUnicode, vdbpAlwaysInText,
                                  vdbpHasSubVDData, vdbpNoHTML_P, vdbpFullWidth}) {
        EXPECT_TRUE(table->GetBoolValue(p)) << p;
    }
    EXPECT_FALSE(table->GetBoolValue(vdbpDocXInRun));
    EXPECT_FALSE(table->GetBoolValueEx(vdbpPrintToBMP, &Style));
}

// An item that holds a control, as a control item does.
class TControlHolder : public TVDBreakItemInfo {
public:
    TControlHolder(TCustomVDData *vdData, ui::TControl *control)
        : TVDBreakItemInfo(vdData), FControl(control) {}
    bool OwnsControl(ui::TControl *control) override { return control == FControl; }
    bool GetBoolValue(TVDItemBoolProperty prop) const override {
        return prop == vdbpImmediateControlOwner || TVDBreakItemInfo::GetBoolValue(prop);
    }

private:
    ui::TControl *FControl;
};

TEST_F(Table, TheCellWhichOwnsAControlIsFoundAndTakesTheFocus) {
    auto table = TVDTableItemInfo::CreateEx(2, 3, &Doc);
    ui::TControl *control = reinterpret_cast<ui::TControl *>(&Doc);
    TVDTableCellData &cell = *table->GetCells(1, 2);
    cell.AddNL(u"text", 0, 0);
    cell.AddItem(u"", std::make_unique<TControlHolder>(&cell, control));
    int32_t row = -7, col = -7, itemNo = -7;
    ASSERT_TRUE(table->GetCellWhichOwnsControl(control, row, col, itemNo));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 2);
    EXPECT_EQ(itemNo, 2);
    EXPECT_TRUE(table->OwnsControl(control));
    ui::TControl *other = reinterpret_cast<ui::TControl *>(&Style);
    row = col = itemNo = -7;
    EXPECT_FALSE(table->GetCellWhichOwnsControl(other, row, col, itemNo));
    EXPECT_EQ(row, -7);
    EXPECT_FALSE(table->OwnsControl(other));
    // The focus follows the control into its cell.
    TCustomVDData *topData = nullptr;
    int32_t topItem = -1;
    EXPECT_FALSE(table->AdjustFocusToControl(other, topData, topItem));
    ASSERT_TRUE(table->AdjustFocusToControl(control, topData, topItem));
    EXPECT_EQ(table->FocusedCellRow, 1);
    EXPECT_EQ(table->FocusedCellCol, 2);
    EXPECT_EQ(cell.FocusedItemNo, 2);
    EXPECT_EQ(topData, &cell);
    EXPECT_EQ(topItem, 2);
}

// ---- Units, styles, extra properties ----

TEST_F(Table, ConvertingToTwipsConvertsLengthsButNotPercentages) {
    auto table = TVDTableItemInfo::CreateEx(1, 2, &Doc);
    table->SetCellHSpacing(-1);
    table->SetBorderWidth(2);
    table->SetBestWidth(-50);
    table->SetCellBestWidth(100, 0, 0);
    table->SetCellBestWidth(-25, 0, 1);
    table->SetCellBestHeight(20, 0, 0);
    table->ConvertToDifferentUnits(vdstuTwips, &Style, true);
    EXPECT_EQ(table->GetCellHSpacing(), -15);
    EXPECT_EQ(table->GetTableBorderWidth(), 30);
    EXPECT_EQ(table->GetCellVPadding(), 15);
    EXPECT_EQ(table->GetBestWidth(), -50);
    EXPECT_EQ(table->GetCells(0, 0)->GetBestWidth(), 1500);
    EXPECT_EQ(table->GetCells(0, 1)->GetBestWidth(), -25);
    EXPECT_EQ(table->GetCells(0, 0)->GetBestHeight(), 300);
}

TEST_F(Table, StylesUsedInCellsAreKeptAndRenumbered) {
    TFontInfo &unused = Style.GetTextStyles().Add();
    unused.SetStandard(false);
    TFontInfo &used = Style.GetTextStyles().Add();
    used.SetStandard(false);
    const int32_t usedIndex = used.GetIndex();
    TVDTableItemInfo &table = Insert(TVDTableItemInfo::CreateEx(1, 2, &Doc));
    SetCellText(*table.GetCells(0, 1), u"styled", usedIndex, 1);
    Doc.DeleteUnusedStyles(true, true, false);
    EXPECT_EQ(table.GetCells(0, 1)->GetItem(0)->StyleNo, usedIndex - 1);
    EXPECT_EQ(table.GetCells(0, 1)->GetItem(0)->ParaNo, 1);
}

TEST_F(Table, TheBackgroundFileNameIsAnExtraProperty) {
    auto table = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    const int32_t plain = table->GetVDFExtraPropertyCount();
    EXPECT_TRUE(table->SetExtraStrProperty(vdespImageFileName, u"back.png"));
    EXPECT_EQ(table->GetBackgroundImageFileName(), u"back.png");
    rtl::UnicodeString value;
    EXPECT_TRUE(table->GetExtraStrProperty(vdespImageFileName, value));
    EXPECT_EQ(value, u"back.png");
    EXPECT_EQ(table->GetVDFExtraPropertyCount(), plain + 1);
    rtl::TMemoryStream stream;
    table->SaveVDFExtraProperties(stream);
    const std::string written(reinterpret_cast<const char *>(stream.GetMemory()),
                              static_cast<size_t>(stream.GetSize()));
    EXPECT_EQ(written, "filename=back.png\r\n");
}

// ---- Walking the cells ----

TEST_F(Table, TheCellDocumentsAreWalkedInReadingOrder) {
    auto table = TVDTableItemInfo::CreateEx(2, 3, &Doc);
    FillWithPositions(*table);
    table->MergeCells(0, 1, 2, 2, true);
    std::unique_ptr<TVDStoreSubVDData> state;
    std::string order;
    for (TCustomVDData *cell = table->GetSubVDData(state, vddFirst); cell;
         cell = table->GetSubVDData(state, vddNext)) {
        order += CellText(*cell) + " ";
    }
    EXPECT_EQ(order, "00 01+02+11+12 10 ");
    // The last position is covered: the walk backwards starts at the cell before it.
    order.clear();
    for (TCustomVDData *cell = table->GetSubVDData(state, vddLast); cell;
         cell = table->GetSubVDData(state, vddPrev)) {
        order += CellText(*cell) + " ";
    }
    EXPECT_EQ(order, "10 01+02+11+12 00 ");
    state.reset();
    EXPECT_EQ(table->GetSubVDData(state, vddNext), nullptr);
    auto empty = TVDTableItemInfo::CreateEx(0, 0, &Doc);
    EXPECT_EQ(empty->GetSubVDData(state, vddFirst), nullptr);
}

TEST_F(Table, NeighbouringCells) {
    auto table = TVDTableItemInfo::CreateEx(2, 2, &Doc);
    table->MergeCells(0, 0, 2, 1, true);
    TBeepCounter beeps;
    struct {
        int32_t row, col;
        TVDCellDirection dir;
        bool quiet, found;
        int32_t newRow, newCol;
    } cases[] = {
        {0, 0, vdcdRight, false, true, 1, 0}, // at the right edge: the next cell
        {1, 1, vdcdUp, false, true, 0, 0},    // the main cell above
        {0, 0, vdcdLeft, false, false, -1, -1},
        {1, 0, vdcdLeft, false, true, 0, 0}, // at the left edge: the previous cell
        {0, 0, vdcdDown, false, true, 1, 0},
        {1, 1, vdcdDown, false, false, -1, -1},
        {1, 1, vdcdRight, false, false, -1, -1},
        {1, 1, vdcdNext, true, false, -1, -1},
        {1, 0, vdcdNext, false, true, 1, 1},
        {1, 0, vdcdPrev, false, true, 0, 0},
        {0, 0, vdcdDocTop, false, false, -1, -1},
    };
    for (const auto &c : cases) {
        int32_t row = -1;
        int32_t col = -1;
        EXPECT_EQ(table->GetCellTo(c.row, c.col, c.dir, row, col, c.quiet, false), c.found)
            << c.row << "," << c.col << " dir " << c.dir;
        if (c.found) {
            EXPECT_EQ(row, c.newRow) << c.row << "," << c.col << " dir " << c.dir;
            EXPECT_EQ(col, c.newCol) << c.row << "," << c.col << " dir " << c.dir;
        }
    }
    EXPECT_EQ(beeps.Count, 0);
    int32_t row = 0;
    int32_t col = 0;
    EXPECT_FALSE(table->GetCellTo(1, 1, vdcdNext, row, col, false, false));
    EXPECT_FALSE(table->GetCellTo(0, 0, vdcdPrev, row, col, false, false));
    EXPECT_EQ(beeps.Count, 2);
}

TEST_F(Table, CellPositionsAreFoundAndCached) {
    auto table = TVDTableItemInfo::CreateEx(3, 3, &Doc);
    TVDTableCellData *cell = table->GetCells(2, 1);
    int32_t row = -1;
    int32_t col = -1;
    table->GetCellPosition(cell, row, col);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(col, 1);
    table->DeleteRows(0, 1, false); // the cached position is stale now
    table->GetCellPosition(cell, row, col);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 1);
    auto other = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    table->GetCellPosition(other->GetCells(0, 0), row, col);
    EXPECT_EQ(row, -1);
    EXPECT_EQ(col, -1);
}
