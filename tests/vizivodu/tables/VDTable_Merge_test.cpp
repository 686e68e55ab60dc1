// Merging, unmerging and splitting cells: which rectangles merge, where the content goes, the
// merged preferred width, unmerged shares, splitting into columns and rows, and the report's
// group rows merged across all ten columns.
#include "vizivodu/tables/VDTable.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/tables/TableTestSupport.h"
#include "vizivodu/document/VDError.h"
#include "vizivodu/styles/VDStyle.h"

#include <gtest/gtest.h>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

class Merge : public ::testing::Test {
protected:
    Merge() : Style(nullptr), Doc(&Style) {}

    std::unique_ptr<TVDTableItemInfo> Filled(int32_t rows, int32_t cols) {
        auto table = TVDTableItemInfo::CreateEx(rows, cols, &Doc);
        FillWithPositions(*table);
        return table;
    }

    TVDStyle Style;
    TTestDocument Doc;
    TBeepCounter Beeps;
};

} // namespace

TEST_F(Merge, ARowOfCellsBecomesItsFirstCellWithTheTextInOrder) {
    auto table = Filled(2, 3);
    SetCellText(*table->GetCells(0, 1), u"");
    table->MergeCells(0, 0, 3, 1, false);
    EXPECT_EQ(DumpGrid(*table), "00+02:3x1|-|- / 10|11|12"); // the empty cell gives nothing
    EXPECT_TRUE(GridRuleHolds(*table));
    EXPECT_TRUE(table->GetState().Contains(vdtsModified));
    EXPECT_EQ(Beeps.Count, 0);
}

TEST_F(Merge, WholeRowsAndColumnsMergeOnlyWhenAllowed) {
    auto table = Filled(2, 3);
    EXPECT_FALSE(table->CanMergeCells(0, 0, 3, 2, false));
    table->MergeCells(0, 0, 3, 2, false); // columns 1, 2 and row 1 would keep no cell
    EXPECT_EQ(Beeps.Count, 1);
    EXPECT_EQ(DumpGrid(*table), "00|01|02 / 10|11|12");
    EXPECT_TRUE(table->CanMergeCells(0, 0, 3, 2, true));
    table->MergeCells(0, 0, 3, 2, true);
    EXPECT_EQ(DumpGrid(*table), "00+01+02+10+11+12:3x2|-|- / -|-|-");
    EXPECT_TRUE(GridRuleHolds(*table));
}

TEST_F(Merge, RectanglesAreClippedAndSingleCellsIgnoredWithoutABeep) {
    auto table = Filled(2, 3);
    table->MergeCells(0, 1, 5, 1, true); // the span is cut to 2
    EXPECT_EQ(DumpGrid(*table), "00|01+02:2x1|- / 10|11|12");
    table->MergeCells(1, 0, 1, 1, false);
    table->MergeCells(0, 1, 2, 1, false); // already one cell
    table->MergeCells(1, 2, 1, 7, false); // one cell after clipping
    EXPECT_EQ(Beeps.Count, 0);
    EXPECT_EQ(DumpGrid(*table), "00|01+02:2x1|- / 10|11|12");
    // A span that clips below 1 while the other spans rows is an error of the caller.
    table->MergeCells(1, 3, 2, 1, true); // both spans below 2 after clipping: ignored
    EXPECT_THROW(table->MergeCells(0, 4, 1, 2, true), EViziVoduError);
    try {
        table->GetRows().MergeCells(0, 5, 1, 2, true, true);
        FAIL();
    } catch (const EViziVoduError &e) {
        EXPECT_STREQ(e.what(), "Parameters for cell merging are not correct");
    }
}

TEST_F(Merge, ARectangleThatCutsAMergedCellIsRefused) {
    auto table = Filled(3, 3);
    table->MergeCells(0, 1, 2, 2, true);
    table->MergeCells(0, 0, 2, 1, true); // would take half of the merged cell
    table->MergeCells(1, 0, 2, 2, true); // would take its lower left corner
    EXPECT_EQ(Beeps.Count, 2);
    EXPECT_EQ(DumpGrid(*table), "00|01+02+11+12:2x2|- / 10|-|- / 20|21|22");
    table->MergeCells(0, 0, 3, 2, true); // covers it whole
    EXPECT_EQ(Beeps.Count, 2);
    EXPECT_EQ(DumpGrid(*table), "00+01+02+11+12+10:3x2|-|- / -|-|- / 20|21|22");
    EXPECT_TRUE(GridRuleHolds(*table));
}

TEST_F(Merge, TheMergedPreferredWidth) {
    struct {
        const char *name;
        std::vector<std::vector<TVDHTMLLength>> widths; // rows of two cells
        TVDHTMLLength merged;
    } cases[] = {
        {"absolute widths add up", {{100, 150}}, 250},
        {"a percentage wins in its row", {{-20, 150}}, -20},
        {"percentages add up in a row", {{-20, -30}}, -50},
        {"a percentage row wins over a wider absolute row", {{100, 150}, {-30, 0}}, -30},
        {"the larger percentage of two rows", {{-20, 0}, {-30, 0}}, -30},
        {"the larger absolute sum of two rows", {{100, 150}, {300, 0}}, 300},
        {"automatic cells change nothing", {{0, 0}, {0, 40}}, 40},
        {"no widths", {{0, 0}}, 0},
    };
    for (const auto &c : cases) {
        const int32_t rows = static_cast<int32_t>(c.widths.size());
        auto table = Filled(rows, 2);
        for (int32_t r = 0; r < rows; ++r) {
            for (int32_t col = 0; col < 2; ++col) {
                table->SetCellBestWidth(c.widths[r][col], r, col);
            }
        }
        EXPECT_EQ(table->GetRows().GetMergedBestWidth(0, 0, 2, rows), c.merged) << c.name;
        table->MergeCells(0, 0, 2, rows, true);
        EXPECT_EQ(table->GetCells(0, 0)->GetBestWidth(), c.merged) << c.name;
    }
}

TEST_F(Merge, TheReportMergesGroupRowsAcrossAllTenColumns) {
    auto table = TVDTableItemInfo::CreateEx(36, 10, &Doc);
    for (int32_t c = 0; c < 10; ++c) {
        table->GetCells(0, c)->SetBestWidth(c == 1 ? 0 : 40 + c);
    }
    const int32_t groupRows[] = {1, 6, 12, 17, 23, 27, 33};
    for (int32_t row : groupRows) {
        table->MergeCells(row, 0, 10, 1, true);
        TVDTableCellData &group = *table->GetCells(row, 0);
        group.Clear();
        group.AddNL(u"group", 1, 1);
    }
    EXPECT_EQ(Beeps.Count, 0);
    EXPECT_TRUE(GridRuleHolds(*table));
    for (int32_t row : groupRows) {
        const TVDTableCellData &group = *table->GetCells(row, 0);
        EXPECT_EQ(group.GetColSpan(), 10);
        EXPECT_EQ(group.GetRowSpan(), 1);
        EXPECT_EQ(group.GetBestWidth(), 0);
        for (int32_t c = 1; c < 10; ++c) {
            EXPECT_EQ(table->GetCells(row, c), nullptr);
        }
    }
    EXPECT_EQ(table->GetCells(2, 9)->GetColSpan(), 1);
    // A merged row leaves the heading rule alone: only row spans matter there.
    table->SetHeadingRowCount(1);
    EXPECT_EQ(table->GetRealHeadingRowCount(), 1);
}

// ---- Unmerging ----

TEST_F(Merge, UnmergingColumnsSharesTheWidthAndKeepsTheRowSpan) {
    struct {
        TVDHTMLLength width;
        TVDHTMLLength share;
    } cases[] = {{300, 100}, {2, 1}, {-2, -1}, {-90, -30}, {0, 0}, {100, 33}};
    for (const auto &c : cases) {
        auto table = Filled(3, 3);
        table->MergeCells(0, 0, 3, 2, true);
        table->SetCellBestWidth(c.width, 0, 0);
        table->SetCellColor(gfx::clRed, 0, 0);
        table->UnmergeCells(0, 0, 3, 3, false, true);
        EXPECT_TRUE(GridRuleHolds(*table)) << c.width;
        EXPECT_EQ(DumpGrid(*table), "00+01+02+10+11+12:1x2|:1x2|:1x2 / -|-|- / 20|21|22");
        for (int32_t col = 0; col < 3; ++col) {
            const TVDTableCellData &cell = *table->GetCells(0, col);
            EXPECT_EQ(cell.GetBestWidth(), c.share) << c.width << " column " << col;
            EXPECT_EQ(cell.GetOwnColor(), gfx::clRed);
        }
    }
}

TEST_F(Merge, UnmergingRowsDividesTheHeightAndThenTheColumns) {
    auto table = Filled(3, 3);
    table->MergeCells(0, 1, 2, 3, true);
    table->SetCellBestHeight(91, 0, 1);
    table->SetCellBestWidth(60, 0, 1);
    table->UnmergeCells(0, 1, 1, 1, true, false);
    EXPECT_EQ(DumpGrid(*table), "00|01+02+11+12+21+22:2x1|- / 10|:2x1|- / 20|:2x1|-");
    EXPECT_EQ(table->GetCells(0, 1)->GetBestHeight(), 30);
    EXPECT_EQ(table->GetCells(1, 1)->GetBestHeight(), 30);
    EXPECT_EQ(table->GetCells(2, 1)->GetBestWidth(), 60); // rows keep the whole width
    EXPECT_TRUE(GridRuleHolds(*table));

    auto both = Filled(3, 3);
    both->MergeCells(0, 1, 2, 3, true);
    both->SetCellBestWidth(60, 0, 1);
    both->UnmergeCells(0, 0, 3, 3, true, true);
    EXPECT_EQ(DumpGrid(*both), "00|01+02+11+12+21+22| / 10|| / 20||");
    for (int32_t r = 0; r < 3; ++r) {
        EXPECT_EQ(both->GetCells(r, 1)->GetBestWidth(), 30);
        EXPECT_EQ(both->GetCells(r, 2)->GetBestWidth(), 30);
    }
    EXPECT_TRUE(GridRuleHolds(*both));
}

TEST_F(Merge, UnmergingSingleCellsChangesNothing) {
    auto table = Filled(2, 2);
    table->UnmergeCells(0, 0, 2, 2, true, true);
    EXPECT_EQ(DumpGrid(*table), "00|01 / 10|11");
}

// ---- Splitting ----

TEST_F(Merge, SplittingACellIntoColumnsWidensTheOtherRows) {
    auto table = Filled(2, 2);
    table->SetCellBestWidth(300, 0, 0);
    table->SetCellBestWidth(300, 1, 0);
    EXPECT_EQ(table->GetRows().SplitCellsVertically(0, 0, 1, 1, 3), 2);
    EXPECT_EQ(DumpGrid(*table), "00|||01 / 10:3x1|-|-|11");
    EXPECT_TRUE(GridRuleHolds(*table));
    for (int32_t c = 0; c < 3; ++c) {
        EXPECT_EQ(table->GetCells(0, c)->GetBestWidth(), 100); // the width is shared
    }
    EXPECT_EQ(table->GetCells(1, 0)->GetBestWidth(), 300); // merged back whole
}

TEST_F(Merge, SplittingAWideCellIntoFewerPartsRegroupsIt) {
    auto table = Filled(2, 4);
    table->MergeCells(0, 0, 4, 1, true);
    EXPECT_EQ(table->GetRows().SplitCellsVertically(0, 0, 4, 1, 2), 0);
    EXPECT_EQ(DumpGrid(*table), "00+01+02+03:2x1|-|:2x1|- / 10|11|12|13");
    EXPECT_TRUE(GridRuleHolds(*table));

    auto three = Filled(1, 5);
    three->MergeCells(0, 0, 5, 1, true);
    three->GetRows().SplitCellsVertically(0, 0, 5, 1, 3);
    EXPECT_EQ(DumpGrid(*three), "00+01+02+03+04:2x1|-|:2x1|-|"); // parts of 2, 2 and 1
}

TEST_F(Merge, SplittingACellIntoRowsLengthensTheOtherColumns) {
    auto table = Filled(2, 2);
    table->SetCellBestHeight(90, 0, 0);
    EXPECT_EQ(table->GetRows().SplitCellsHorizontally(0, 0, 1, 1, 3), 2);
    EXPECT_EQ(DumpGrid(*table), "00|01:1x3 / |- / |- / 10|11");
    EXPECT_TRUE(GridRuleHolds(*table));
    EXPECT_EQ(table->GetCells(0, 0)->GetBestHeight(), 30);
    EXPECT_EQ(table->GetCells(2, 0)->GetBestHeight(), 30);

    auto tall = Filled(4, 1);
    tall->MergeCells(0, 0, 1, 4, true);
    EXPECT_EQ(tall->GetRows().SplitCellsHorizontally(0, 0, 1, 4, 2), 0);
    EXPECT_EQ(DumpGrid(*tall), "00+10+20+30:1x2 / - / :1x2 / -");
}

TEST_F(Merge, SplittingARectangleAddsTheColumnsItGains) {
    auto table = Filled(2, 3);
    EXPECT_EQ(table->GetRows().SplitCellsVertically(0, 0, 2, 2, 2), 2);
    EXPECT_EQ(DumpGrid(*table), "00||01||02 / 10||11||12");
    EXPECT_TRUE(GridRuleHolds(*table));
    EXPECT_EQ(table->GetRows().SplitCellVertically(0, 0, 1), 0); // one part: nothing
    EXPECT_EQ(table->GetRows().SplitCellVertically(0, 0, 0), 0);
}

TEST_F(Merge, SplitThenMergeBackKeepsTheGridRule) {
    auto table = Filled(3, 3);
    table->MergeCells(1, 1, 2, 2, true);
    table->GetRows().SplitCellsVertically(0, 0, 3, 3, 2);
    EXPECT_TRUE(GridRuleHolds(*table));
    table->GetRows().SplitCellsHorizontally(0, 0, 1, 3, 2);
    EXPECT_TRUE(GridRuleHolds(*table));
    table->UnmergeCells(0, 0, table->GetColCount(), table->GetRowCount(), true, true);
    EXPECT_TRUE(GridRuleHolds(*table));
    for (int32_t r = 0; r < table->GetRowCount(); ++r) {
        for (int32_t c = 0; c < table->GetColCount(); ++c) {
            EXPECT_NE(table->GetCells(r, c), nullptr);
        }
    }
}
