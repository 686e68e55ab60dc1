// Inserting and deleting rows and columns around merged cells, the public operations with their
// index checks, the selection of cells and the operations beside it, and a randomised run that
// keeps the grid rule through every operation.
#include "vizivodu/tables/VDTable.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/tables/TableTestSupport.h"
#include "vizivodu/document/VDError.h"
#include "vizivodu/styles/VDStyle.h"

#include <gtest/gtest.h>

#include <random>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

class Restructure : public ::testing::Test {
protected:
    Restructure() : Style(nullptr), Doc(&Style) {}

    std::unique_ptr<TVDTableItemInfo> Filled(int32_t rows, int32_t cols) {
        auto table = TVDTableItemInfo::CreateEx(rows, cols, &Doc);
        FillWithPositions(*table);
        return table;
    }

    // A filled table appended to a document that allows selection.
    TVDTableItemInfo &Inserted(int32_t rows, int32_t cols) {
        Doc.SetOptions({vdoAllowSelection});
        auto table = Filled(rows, cols);
        TVDTableItemInfo &result = *table;
        Doc.AddItem(u"", std::move(table));
        return result;
    }

    static std::string InvalidIndexMessage(const std::function<void()> &operation) {
        try {
            operation();
        } catch (const EViziVoduError &e) {
            return e.what();
        }
        return "no error";
    }

    TVDStyle Style;
    TTestDocument Doc;
    TBeepCounter Beeps;
};

} // namespace

// ---- Columns ----

TEST_F(Restructure, AppendingAColumnAddsPlainCells) {
    auto table = Filled(2, 2);
    table->SetCellColor(gfx::clRed, 0, 1);
    table->InsertCols(2, 1, -1, false);
    EXPECT_EQ(DumpGrid(*table), "00|01| / 10|11|");
    EXPECT_EQ(table->GetCells(0, 2)->GetOwnColor(), gfx::clNone);
    EXPECT_TRUE(GridRuleHolds(*table));
}

TEST_F(Restructure, InsertedColumnsWidenCrossingCellsAndCopyAttributesStylesAndRowSpans) {
    auto table = Filled(3, 4);
    table->MergeCells(0, 0, 3, 1, true);
    table->MergeCells(1, 0, 1, 2, true);
    SetCellText(*table->GetCells(1, 0), u"x", 1, 1);
    table->SetCellColor(gfx::clRed, 1, 0);
    table->InsertCols(1, 2, 0, false);
    EXPECT_EQ(DumpGrid(*table),
              "00+01+02:5x1|-|-|-|-|03 / x:1x2|:1x2|:1x2|11|12|13 / -|-|-|21|22|23");
    EXPECT_TRUE(GridRuleHolds(*table));
    for (int32_t c = 1; c <= 2; ++c) {
        const TVDTableCellData &cell = *table->GetCells(1, c);
        EXPECT_EQ(cell.GetOwnColor(), gfx::clRed);
        ASSERT_EQ(cell.ItemCount(), 1);
        EXPECT_EQ(cell.GetItem(0)->StyleNo, 1);
        EXPECT_EQ(cell.GetItem(0)->ParaNo, 1);
    }
}

TEST_F(Restructure, InsertedRowsCopyColumnSpansAndLengthenCrossingCells) {
    auto table = Filled(2, 3);
    table->MergeCells(0, 0, 2, 1, true);
    table->SetRowVAlign(vdcBottom, 0);
    table->SetRowKeepTogether(true, 0);
    table->SetRowPageBreakBefore(true, 0);
    table->InsertRows(1, 1, 0, false);
    EXPECT_EQ(DumpGrid(*table), "00+01:2x1|-|02 / :2x1|-| / 10|11|12");
    const TVDTableRow &row = *table->GetRows().Get(1);
    EXPECT_EQ(row.VAlign, vdcBottom);
    EXPECT_TRUE(row.KeepTogether);
    EXPECT_FALSE(row.PageBreakBefore); // not copied
    EXPECT_TRUE(GridRuleHolds(*table));

    auto tall = Filled(4, 2);
    tall->MergeCells(0, 0, 1, 3, true);
    tall->InsertRows(1, 1, 0, false);
    EXPECT_EQ(DumpGrid(*tall), "00+10+20:1x4|01 / -| / -|11 / -|21 / 30|31");
    EXPECT_TRUE(GridRuleHolds(*tall));

    // A copy row at or after the insertion point is the same row after the insertion.
    auto below = Filled(2, 1);
    below->SetCellColor(gfx::clRed, 1, 0);
    below->InsertRows(1, 2, 1, false);
    EXPECT_EQ(below->GetCells(1, 0)->GetOwnColor(), gfx::clRed);
    EXPECT_EQ(below->GetCells(3, 0)->GetOwnColor(), gfx::clRed);
}

TEST_F(Restructure, CopiedRowSpansStopAtCellsWidenedByTheInsertion) {
    auto table = Filled(3, 4);
    table->MergeCells(0, 3, 1, 2, true);
    table->MergeCells(1, 0, 3, 1, true);
    // Row 1's cell crosses the new column; the copy of (0, 3) must not reach down into it.
    table->InsertCols(1, 1, 3, false);
    EXPECT_TRUE(GridRuleHolds(*table)) << DumpGrid(*table);
    EXPECT_EQ(DumpGrid(*table), "00||01|02|03+13:1x2 / 10+11+12:4x1|-|-|-|- / 20||21|22|23");
}

TEST_F(Restructure, CopiedColumnSpansStopAtCellsLengthenedByTheInsertion) {
    auto table = Filled(4, 3);
    table->MergeCells(0, 1, 1, 3, true);
    table->MergeCells(3, 0, 2, 1, true);
    table->InsertRows(1, 1, 3, false);
    EXPECT_TRUE(GridRuleHolds(*table)) << DumpGrid(*table);
    EXPECT_EQ(DumpGrid(*table), "00|01+11+21:1x4|02 / |-| / 10|-|12 / 20|-|22 / 30+31:2x1|-|32");
}

TEST_F(Restructure, BadIndexesAreRefusedBeforeAnyChange) {
    auto table = Filled(2, 2);
    const std::string invalid = "Invalid row or column index";
    EXPECT_EQ(InvalidIndexMessage([&] { table->InsertCols(3, 1, -1, false); }), invalid);
    EXPECT_EQ(InvalidIndexMessage([&] { table->InsertCols(-1, 1, -1, false); }), invalid);
    EXPECT_EQ(InvalidIndexMessage([&] { table->InsertCols(0, 1, 2, false); }), invalid);
    EXPECT_EQ(InvalidIndexMessage([&] { table->InsertCols(0, 1, -2, false); }), invalid);
    EXPECT_EQ(InvalidIndexMessage([&] { table->InsertRows(3, 1, -1, false); }), invalid);
    EXPECT_EQ(InvalidIndexMessage([&] { table->DeleteRows(0, 3, false); }), invalid);
    EXPECT_EQ(InvalidIndexMessage([&] { table->DeleteRows(2, 1, false); }), invalid);
    EXPECT_EQ(InvalidIndexMessage([&] { table->DeleteRows(0, 0, false); }), invalid);
    EXPECT_EQ(InvalidIndexMessage([&] { table->DeleteCols(0, 3, false); }), invalid);
    EXPECT_EQ(InvalidIndexMessage([&] { table->DeleteCols(-1, 1, false); }), invalid);
    EXPECT_EQ(DumpGrid(*table), "00|01 / 10|11");
    EXPECT_FALSE(table->GetState().Contains(vdtsModified));
}

// ---- Deleting ----

TEST_F(Restructure, ACountPastTheEndIsCutFromTheSecondRowOn) {
    auto table = Filled(5, 1);
    table->DeleteRows(1, 100, false);
    EXPECT_EQ(DumpGrid(*table), "00");
    table->DeleteRows(0, 1, false);
    EXPECT_EQ(table->GetRowCount(), 0);
    table->DeleteRows(0, 1, false); // an empty grid: nothing, no error
    table->DeleteCols(0, 1, false);

    auto wide = Filled(2, 3);
    wide->DeleteCols(1, 9, false);
    EXPECT_EQ(DumpGrid(*wide), "00 / 10");
    wide->DeleteCols(0, 1, false); // every column: rows without positions
    EXPECT_EQ(wide->GetRowCount(), 2);
    EXPECT_EQ(wide->GetColCount(), 0);
    EXPECT_TRUE(wide->GetRows().Empty());
}

TEST_F(Restructure, DeletingTheTopOfARowSpanLeavesAnEmptyCellWithItsShareOfTheHeight) {
    for (bool decrease : {false, true}) {
        auto table = Filled(4, 2);
        table->MergeCells(0, 0, 1, 3, true);
        table->SetCellBestHeight(90, 0, 0);
        table->SetCellColor(gfx::clRed, 0, 0);
        table->DeleteRows(0, 1, decrease);
        EXPECT_EQ(DumpGrid(*table), ":1x2|11 / -|21 / 30|31") << decrease;
        const TVDTableCellData &part = *table->GetCells(0, 0);
        EXPECT_EQ(part.GetBestHeight(), 60);
        EXPECT_EQ(part.GetOwnColor(), gfx::clRed);
        EXPECT_TRUE(GridRuleHolds(*table));
    }
}

TEST_F(Restructure, DeletedRowsShortenCellsThatStartAbove) {
    auto table = Filled(4, 2);
    table->MergeCells(0, 0, 1, 3, true);
    table->SetCellBestHeight(90, 0, 0);
    table->DeleteRows(1, 2, true); // the block ends where the cell ends
    EXPECT_EQ(DumpGrid(*table), "00+10+20|01 / 30|31");
    EXPECT_EQ(table->GetCells(0, 0)->GetBestHeight(), 30);

    auto crossed = Filled(5, 2);
    crossed->MergeCells(0, 0, 1, 5, true);
    crossed->SetCellBestHeight(100, 0, 0);
    crossed->DeleteRows(1, 2, true); // the cell reaches past the block
    EXPECT_EQ(DumpGrid(*crossed), "00+10+20+30+40:1x3|01 / -|31 / -|41");
    EXPECT_EQ(crossed->GetCells(0, 0)->GetBestHeight(), 60);
    crossed->DeleteRows(1, 1, false);
    EXPECT_EQ(crossed->GetCells(0, 0)->GetBestHeight(), 60);
    EXPECT_TRUE(GridRuleHolds(*crossed));
}

TEST_F(Restructure, DeletedColumnsCutAndNarrowCrossingCells) {
    auto table = Filled(2, 4);
    table->MergeCells(0, 1, 3, 1, true);
    table->SetCellBestWidth(300, 0, 1);
    table->DeleteCols(1, 1, true); // the cell starts in the block and reaches beyond it
    EXPECT_EQ(DumpGrid(*table), "00|:2x1|- / 10|12|13");
    EXPECT_EQ(table->GetCells(0, 1)->GetBestWidth(), 200);
    EXPECT_TRUE(GridRuleHolds(*table));

    auto narrowed = Filled(2, 4);
    narrowed->MergeCells(0, 0, 4, 1, true);
    narrowed->SetCellBestWidth(-80, 0, 0);
    narrowed->DeleteCols(1, 2, true);
    EXPECT_EQ(DumpGrid(*narrowed), "00+01+02+03:2x1|- / 10|13");
    EXPECT_EQ(narrowed->GetCells(0, 0)->GetBestWidth(), -40);
}

TEST_F(Restructure, EmptyRowsAndColumnsAreThoseWhereNoCellStarts) {
    auto table = Filled(2, 3);
    table->MergeCells(0, 1, 2, 1, true);
    table->MergeCells(1, 1, 2, 1, true);
    table->DeleteEmptyCols();
    EXPECT_EQ(DumpGrid(*table), "00|01+02 / 10|11+12");
    EXPECT_TRUE(GridRuleHolds(*table));
    table->DeleteEmptyCols(); // nothing more
    EXPECT_EQ(DumpGrid(*table), "00|01+02 / 10|11+12");

    auto rows = Filled(3, 2);
    rows->MergeCells(0, 0, 1, 2, true);
    rows->MergeCells(0, 1, 1, 2, true);
    rows->DeleteEmptyRows();
    EXPECT_EQ(DumpGrid(*rows), "00+10|01+11 / 20|21");
    EXPECT_TRUE(GridRuleHolds(*rows));
}

// ---- Selection ----

TEST_F(Restructure, TheSelectionIsWidenedOverMergedCells) {
    TVDTableItemInfo &table = Inserted(3, 3);
    int32_t top = 0;
    int32_t left = 0;
    int32_t cols = 0;
    int32_t rows = 0;
    EXPECT_FALSE(table.GetNormalizedSelectionBounds(true, top, left, cols, rows));
    table.Select(2, 2, -2, -2);
    ASSERT_TRUE(table.GetNormalizedSelectionBounds(false, top, left, cols, rows));
    EXPECT_EQ(top, 0);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(cols, 3);

    table.MergeCells(0, 0, 2, 2, true);
    table.Select(0, 0, 1, 1);
    ASSERT_TRUE(table.GetNormalizedSelectionBounds(false, top, left, cols, rows));
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(cols, 2);
    table.Select(1, 2, 0, 0); // a cell next to the merged one
    EXPECT_FALSE(table.IsCellSelected(1, 1));
    EXPECT_TRUE(table.IsCellSelected(1, 2));
    table.Select(2, 1, -1, 0); // reaches into the merged cell: it counts whole
    ASSERT_TRUE(table.GetNormalizedSelectionBounds(false, top, left, cols, rows));
    EXPECT_EQ(top, 0);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(cols, 2);
    EXPECT_TRUE(table.IsCellSelected(0, 0));
    EXPECT_TRUE(table.IsCellSelected(1, 0)); // a covered position of the selected cell
    EXPECT_TRUE(table.GetCells(0, 0)->State.Contains(vdstCompletelySelected));
    EXPECT_FALSE(table.GetCells(2, 2)->State.Contains(vdstCompletelySelected));
    table.Deselect();
    EXPECT_FALSE(table.GetCells(0, 0)->State.Contains(vdstCompletelySelected));
    EXPECT_FALSE(table.GetNormalizedSelectionBounds(false, top, left, cols, rows));
}

TEST_F(Restructure, ATableOutsideADocumentOrWithoutSelectionSelectsNothing) {
    auto loose = Filled(2, 2);
    loose->SelectRows(0, 1);
    EXPECT_FALSE(loose->GetState().Contains(vdtsSelExists));
    TVDTableItemInfo &table = Inserted(2, 2);
    Doc.SetOptions({});
    table.SelectRows(0, 1);
    EXPECT_FALSE(table.GetState().Contains(vdtsSelExists));
}

TEST_F(Restructure, InsertingBesideTheSelectionCopiesItsEdgeAndSelectsTheNewCells) {
    TVDTableItemInfo &table = Inserted(2, 3);
    table.InsertColsLeft(1); // no selection: a beep and nothing else
    EXPECT_EQ(Beeps.Count, 1);
    EXPECT_EQ(table.GetColCount(), 3);
    table.SetCellColor(gfx::clRed, 0, 2);
    table.SelectCols(1, 2);
    table.InsertColsRight(2);
    EXPECT_EQ(DumpGrid(table), "00|01|02|| / 10|11|12||");
    EXPECT_EQ(table.GetCells(0, 3)->GetOwnColor(), gfx::clRed);
    int32_t top = 0;
    int32_t left = 0;
    int32_t cols = 0;
    int32_t rows = 0;
    ASSERT_TRUE(table.GetNormalizedSelectionBounds(false, top, left, cols, rows));
    EXPECT_EQ(left, 3);
    EXPECT_EQ(cols, 2);
    EXPECT_EQ(rows, 2);

    table.SelectRows(1, 1);
    table.InsertRowsAbove(1);
    EXPECT_EQ(DumpGrid(table), "00|01|02|| / |||| / 10|11|12||");
    table.InsertRowsBelow(2); // the selection is the new row 1
    EXPECT_EQ(table.GetRowCount(), 5);
    ASSERT_TRUE(table.GetNormalizedSelectionBounds(false, top, left, cols, rows));
    EXPECT_EQ(top, 2);
    EXPECT_EQ(rows, 2);
    EXPECT_TRUE(GridRuleHolds(table));
}

TEST_F(Restructure, OperationsOnTheSelectedCells) {
    TVDTableItemInfo &table = Inserted(2, 2);
    table.Select(0, 0, 0, 1);
    EXPECT_TRUE(table.CanMergeSelectedCells(false));
    table.MergeSelectedCells(false);
    EXPECT_EQ(DumpGrid(table), "00+01:2x1|- / 10|11");

    TVDTableItemInfo &split = Inserted(2, 2);
    split.Select(0, 0, 0, 0);
    split.SplitSelectedCellsVertically(3);
    EXPECT_EQ(DumpGrid(split), "00|||01 / 10:3x1|-|-|11");
    int32_t top = 0;
    int32_t left = 0;
    int32_t cols = 0;
    int32_t rows = 0;
    ASSERT_TRUE(split.GetNormalizedSelectionBounds(false, top, left, cols, rows));
    EXPECT_EQ(cols, 3); // the new columns are selected with the cell
    EXPECT_EQ(rows, 1);
    split.UnmergeSelectedCells(true, true);
    split.Select(1, 0, 0, 0);
    split.UnmergeSelectedCells(true, true);
    EXPECT_EQ(DumpGrid(split), "00|||01 / 10|||11");
    split.Select(0, 1, 1, 1);
    split.DeleteSelectedCols();
    EXPECT_EQ(DumpGrid(split), "00|01 / 10|11");
    EXPECT_FALSE(split.GetState().Contains(vdtsSelExists)); // deleting deselects
    split.Select(1, 0, 0, 0);
    split.DeleteSelectedRows();
    EXPECT_EQ(DumpGrid(split), "00|01");
    split.DeleteSelectedRows(); // nothing selected: a beep
    EXPECT_EQ(Beeps.Count, 1);
}

TEST_F(Restructure, ClearingSelectedCellsNeedsAnEditableDocument) {
    TVDTableItemInfo &table = Inserted(1, 2);
    EXPECT_TRUE(table.CanDeletePartiallySelected()); // nothing selected
    table.Select(0, 0, 0, 1);
    EXPECT_TRUE(table.CanDeletePartiallySelected()); // a read-only document
    table.DeletePartiallySelected();
    EXPECT_EQ(DumpGrid(table), "00|01");
    table.SetTableOptions({});
    EXPECT_FALSE(table.CanDeletePartiallySelected());
}

// ---- The grid rule under random operations ----

TEST_F(Restructure, RandomOperationsKeepTheGridRule) {
    std::mt19937 random(20240611);
    auto pick = [&](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random);
    };
    for (int round = 0; round < 300; ++round) {
        auto table = Filled(pick(1, 6), pick(1, 6));
        for (int step = 0; step < 30; ++step) {
            const int32_t rows = table->GetRowCount();
            const int32_t cols = table->GetColCount();
            if (rows == 0 || cols == 0) {
                break;
            }
            const int32_t r = pick(0, rows - 1);
            const int32_t c = pick(0, cols - 1);
            const int32_t operation = pick(0, 9);
            std::string what;
            const std::string before = DumpGrid(*table);
            switch (operation) {
            case 0:
            case 1:
                what = "merge";
                table->MergeCells(r, c, pick(1, 4), pick(1, 4), pick(0, 1) == 1);
                break;
            case 2:
                what = "unmerge";
                table->UnmergeCells(r, c, pick(1, cols - c), pick(1, rows - r), pick(0, 1) == 1,
                                    pick(0, 1) == 1);
                break;
            case 3: {
                const int32_t index = pick(0, cols);
                const int32_t count = pick(1, 2);
                const int32_t copyIndex = pick(-1, cols - 1);
                what = "insert columns " + std::to_string(index) + " " + std::to_string(count) +
                       " " + std::to_string(copyIndex);
                table->InsertCols(index, count, copyIndex, false);
                break;
            }
            case 4:
                what = "insert rows";
                table->InsertRows(pick(0, rows), pick(1, 2), pick(-1, rows - 1), false);
                break;
            case 5:
                what = "delete columns";
                table->DeleteCols(c, c == 0 ? std::min(pick(1, 2), cols) : pick(1, 2),
                                  pick(0, 1) == 1);
                break;
            case 6:
                what = "delete rows";
                table->DeleteRows(r, r == 0 ? std::min(pick(1, 2), rows) : pick(1, 2),
                                  pick(0, 1) == 1);
                break;
            case 7:
                what = "split into columns";
                table->GetRows().SplitCellsVertically(r, c, 1, 1, pick(1, 4));
                break;
            case 8:
                what = "split into rows";
                table->GetRows().SplitCellsHorizontally(r, c, 1, 1, pick(1, 4));
                break;
            default:
                what = "delete empty rows and columns";
                table->DeleteEmptyRows();
                table->DeleteEmptyCols();
                break;
            }
            ASSERT_TRUE(GridRuleHolds(*table)) << "round " << round << " step " << step << ": "
                                               << what << " at (" << r << ", " << c << ")\n"
                                               << before << "\n"
                                               << DumpGrid(*table);
        }
    }
}
