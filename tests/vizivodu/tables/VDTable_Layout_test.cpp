// Table layout on the fixed-metrics graphic interface (characters 10 pixels wide, lines 20
// high): column widths from content, percentages and absolute widths, spanning cells, the
// collapsed borders of the report's tables, row heights with row-spanning cells, vertical
// alignment, the width cache, stored column widths, the formatting stream, the geometry
// queries, and random tables whose cells must keep inside their columns, rows and table.
#include "vizivodu/tables/VDTable.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/tables/TableTestSupport.h"
#include "vizivodu/document/VDError.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

class TableLayout : public ::testing::Test {
protected:
    TableLayout() : Doc(&Style) { SetWidth(400); }

    void SetWidth(int32_t width) {
        Doc.Width = width;
        Doc.AreaWidth = width;
    }

    TVDTableItemInfo &Add(int32_t rows, int32_t cols) {
        auto table = TVDTableItemInfo::CreateEx(rows, cols, &Doc);
        TVDTableItemInfo &result = *table;
        Doc.AddItem(u"", std::move(table));
        return result;
    }

    static std::vector<int32_t> List(const TVDIntegerList &list) {
        return std::vector<int32_t>(list.begin(), list.end());
    }

    TLayoutStyle Style;
    TTestFormattedDocument Doc;
};

using V = std::vector<int32_t>;

} // namespace

TEST_F(TableLayout, AnAutomaticTableFillsTheDocumentAndSharesTheFreeWidth) {
    TVDTableItemInfo &table = Add(2, 2);
    SetCellText(*table.GetCells(0, 0), u"abcdef");
    Doc.Format(false, false);
    const TVDTableItemFormattingInfo &f = table.GetFormattingInfo();
    // Framing 2 (0 + 2) + 2 (n - 1) = 6, padding 2 per column: 390 for the content. Column 0
    // needs 60; the free 330 go half and half.
    EXPECT_EQ(f.FWidth, 400);
    EXPECT_EQ(List(f.ColWidths), (V{225, 165}));
    EXPECT_EQ(List(f.ColStarts), (V{2, 231}));
    EXPECT_EQ(List(f.RowHeights), (V{20, 20}));
    EXPECT_EQ(List(f.RowStarts), (V{2, 26}));
    EXPECT_EQ(f.FHeight, 50);
    const TVDTableCellData &cell = *table.GetCells(1, 1);
    EXPECT_EQ(cell.GetLeft(), 231);
    EXPECT_EQ(cell.GetTop(), 26);
    EXPECT_EQ(cell.GetBoxWidth(), 167);
    EXPECT_EQ(cell.GetBoxHeight(), 22);
    EXPECT_EQ(Doc.DrawItems[0]->Width, 400);
    EXPECT_EQ(Doc.DrawItems[0]->Height, 50);
    EXPECT_EQ(table.GetCells(0, 0)->DocumentWidth, 225); // formatted at its column's width
}

TEST_F(TableLayout, AnEmptyGridIsItsFraming) {
    TVDTableItemInfo &table = Add(0, 0);
    table.SetBorderWidth(3);
    Doc.Format(false, false);
    EXPECT_EQ(table.GetFormattingInfo().FWidth, 10); // 2 (3 + 2)
    EXPECT_EQ(table.GetFormattingInfo().FHeight, 10);
    TVDTableItemInfo &bare = Add(0, 0);
    bare.SetBorderVSpacing(0);
    bare.SetBorderHSpacing(0);
    Doc.Format(false, false);
    EXPECT_EQ(bare.GetFormattingInfo().FHeight, 1);
}

TEST_F(TableLayout, CollapsedBordersShareOnePixel) {
    // The report's tables: borders 2, cell borders 1, no padding or border spacing, cell
    // spacing -1. Every column is fixed: the table is as wide as its columns whatever the
    // document.
    TVDTableItemInfo &table = Add(2, 3);
    table.SetBorderWidth(2);
    table.SetCellBorderWidth(1);
    table.SetCellPadding(0);
    table.SetCellHSpacing(-1);
    table.SetCellVSpacing(-1);
    table.SetBorderHSpacing(0);
    table.SetBorderVSpacing(0);
    const int32_t widths[] = {50, 70, 30};
    for (int32_t c = 0; c < 3; ++c) {
        table.SetCellBestWidth(widths[c], 0, c);
    }
    for (int32_t width : {400, 100, 1000}) {
        SetWidth(width);
        Doc.Format(true, false);
        const TVDTableItemFormattingInfo &f = table.GetFormattingInfo();
        EXPECT_EQ(List(f.ColWidths), (V{50, 70, 30}));
        EXPECT_EQ(List(f.ColStarts), (V{3, 54, 125})); // border 2 + cell border 1; + w + 1
        EXPECT_EQ(f.FWidth, 150 + 3 + 5);              // sum + n + 5
        EXPECT_EQ(List(f.RowStarts), (V{3, 24}));
        EXPECT_EQ(f.FHeight, 40 + 2 + 5); // sum + m + 5
        // The right border of a cell and the left border of its neighbour: one pixel.
        const TVDTableCellData &left = *table.GetCells(0, 0);
        const TVDTableCellData &right = *table.GetCells(0, 1);
        EXPECT_EQ(left.GetLeft() + left.GetBoxWidth() + 1 - 1, right.GetLeft() - 1);
    }
}

TEST_F(TableLayout, PercentagesAreSharesOfTheWidthForTheColumns) {
    TVDTableItemInfo &table = Add(1, 2);
    table.SetCellBestWidth(-25, 0, 0);
    Doc.Format(false, false);
    // 394 for the columns with padding: 25 % is 98, less the padding 96.
    EXPECT_EQ(List(table.GetFormattingInfo().ColWidths), (V{96, 294}));
}

TEST_F(TableLayout, PercentagesAboveAHundredShrinkInProportion) {
    TVDTableItemInfo &table = Add(1, 2);
    table.SetCellBestWidth(-70, 0, 0);
    table.SetCellBestWidth(-60, 0, 1);
    Doc.Format(false, false);
    const V widths = List(table.GetFormattingInfo().ColWidths);
    EXPECT_EQ(widths, (V{210, 180}));
    EXPECT_EQ(widths[0] + widths[1], 390); // the content width, no more

    SetCellText(*table.GetCells(0, 1), u"abcdefghijklmnopqrstuvwxyz"); // a minimum of 260
    Doc.Format(true, false);
    const V withMinimum = List(table.GetFormattingInfo().ColWidths);
    EXPECT_EQ(withMinimum[1], 260); // never below the content's minimum
    EXPECT_EQ(withMinimum[0] + withMinimum[1], 390);
}

TEST_F(TableLayout, AbsoluteWidthsBeforeFreeColumns) {
    TVDTableItemInfo &table = Add(1, 2);
    table.SetCellBestWidth(100, 0, 0);
    Doc.Format(false, false);
    EXPECT_EQ(List(table.GetFormattingInfo().ColWidths), (V{100, 290}));

    TVDTableItemInfo &fixed = Add(1, 2);
    fixed.SetCellBestWidth(100, 0, 0);
    fixed.SetCellBestWidth(150, 0, 1);
    SetCellText(*fixed.GetCells(0, 1), u"abcdefghijklmnopqrst"); // 200 wide, above 150
    Doc.Format(true, false);
    // Every column fixed: framing 6 + padding 4 + max(content, absolute) per column.
    EXPECT_EQ(List(fixed.GetFormattingInfo().ColWidths), (V{100, 200}));
    EXPECT_EQ(fixed.GetFormattingInfo().FWidth, 310);
    EXPECT_TRUE(fixed.AllColumnsHaveBestWidth());
    EXPECT_FALSE(table.AllColumnsHaveBestWidth());
}

TEST_F(TableLayout, ASpanningCellRaisesTheNarrowestColumnsToAnEvenShare) {
    SetWidth(100);
    TVDTableItemInfo &table = Add(2, 3);
    table.MergeCells(0, 0, 3, 1, true);
    SetCellText(*table.GetCells(0, 0), u"abcdefghijklmno"); // one word, 150 wide
    Doc.Format(false, false);
    // 152 with padding over three columns of 2 + 4 spacing: even shares 49, 50, 49.
    EXPECT_EQ(List(table.GetFormattingInfo().ColWidths), (V{47, 48, 47}));
    EXPECT_EQ(table.GetFormattingInfo().FWidth, 156);
    EXPECT_EQ(table.CalcMinWidth(nullptr, *Doc.GetCanvas(), true), 156);
    EXPECT_EQ(table.GetCells(0, 0)->GetBoxWidth(), 152);
}

TEST_F(TableLayout, RowsGrowForCellsThatSpanThem) {
    TVDTableItemInfo &shared = Add(2, 2);
    shared.MergeCells(0, 0, 1, 2, true);
    shared.SetCellBestHeight(100, 0, 0);
    Doc.Format(false, false);
    // 102 needed, 46 there: the second row has a cell of its own, so both rows grow.
    EXPECT_EQ(List(shared.GetFormattingInfo().RowHeights), (V{48, 48}));

    TVDTableItemInfo &alone = Add(2, 1);
    alone.MergeCells(0, 0, 1, 2, true);
    alone.SetCellBestHeight(100, 0, 0);
    Doc.Format(true, false);
    // Neither row has a cell of its own ending in it (such a row is 10 high); the second row
    // alone grows.
    EXPECT_EQ(List(alone.GetFormattingInfo().RowHeights), (V{10, 86}));
    EXPECT_EQ(alone.GetCells(0, 0)->GetBoxHeight(), 10 + 86 + 4 + 2);
}

TEST_F(TableLayout, ContentIsPlacedByTheVerticalAlignment) {
    TVDTableItemInfo &table = Add(1, 2);
    table.SetCellBestHeight(100, 0, 0);
    Doc.Format(false, false);
    TVDTableCellData &cell = *table.GetCells(0, 1);
    EXPECT_EQ(cell.GetBoxHeight(), 102);
    struct {
        TVDCellVAlign align;
        int32_t offset;
    } cases[] = {{vdcTop, 0}, {vdcMiddle, 40}, {vdcBottom, 80}, {vdcVDefault, 0}};
    for (const auto &c : cases) {
        table.SetCellVAlign(c.align, 0, 1);
        EXPECT_EQ(cell.GetExtraVOffs(), c.offset) << c.align;
    }
    table.SetRowVAlign(vdcVDefault, 0);
    EXPECT_EQ(cell.GetExtraVOffs(), 40); // vdcVDefault twice: the middle
    // Content taller than its box moves up.
    SetCellText(cell, u"a");
    cell.AddNL(u"b", 0, 0);
    cell.AddNL(u"c", 0, 0);
    cell.AddNL(u"d", 0, 0);
    cell.AddNL(u"e", 0, 0);
    cell.AddNL(u"f", 0, 0);
    cell.Format(true, false);
    EXPECT_EQ(cell.DocumentHeight, 120);
    EXPECT_EQ(cell.GetExtraVOffs(), -10);
    table.SetCellVAlign(vdcBottom, 0, 1);
    EXPECT_EQ(cell.GetExtraVOffs(), -20);
    table.SetCellRotation(vdrot90, 0, 1);
    EXPECT_EQ(cell.GetExtraVOffs(), 0);
}

TEST_F(TableLayout, CellsAnswerTheirGeometry) {
    TVDTableItemInfo &table = Add(1, 2);
    table.SetCellPadding(3);
    Doc.Format(false, false);
    TVDTableCellData &cell = *table.GetCells(0, 1);
    EXPECT_EQ(cell.GetWidth(), cell.GetBoxWidth() - 6);
    EXPECT_EQ(cell.GetHeight(), cell.GetBoxHeight() - 6);
    table.MyClientLeft = 7;
    table.MyClientTop = 9;
    EXPECT_EQ(cell.GetHOffs(), -3 - 7 - cell.GetLeft());
    EXPECT_EQ(cell.GetVOffs(), -3 - 9 - cell.GetTop());
    const rtl::TPoint origin = cell.GetOrigin();
    EXPECT_EQ(origin.X, cell.GetLeft() + 3);
    EXPECT_EQ(origin.Y, cell.GetTop() + 3);
    EXPECT_EQ(table.GetRows().Get(0)->GetHeight(), 20);
    EXPECT_EQ(cell.GetMinWidth(nullptr, *Doc.GetCanvas()), 0); // one empty line, no indents
    SetCellText(cell, u"ab cdef");
    cell.Format(true, false);
    EXPECT_EQ(cell.GetMinWidth(nullptr, *Doc.GetCanvas()), 40); // the longest word
    SetCellText(cell, u"");
    cell.AddNL(u"", 0, 0); // two empty lines: no minimum of their own
    cell.Format(true, false);
    EXPECT_EQ(cell.GetMinWidth(nullptr, *Doc.GetCanvas()), 10);
}

TEST_F(TableLayout, TheSameWidthKeepsThePreviousLayoutUnlessAskedAgain) {
    TVDTableItemInfo &table = Add(1, 2);
    Doc.Format(false, false);
    TVDTableItemFormattingInfo &f = table.GetFormattingInfo();
    f.ColWidths.Put(0, 777);
    table.CalculateLayout(400, f, *Doc.GetCanvas(), false, false);
    EXPECT_EQ(f.ColWidths.Get(0), 777);
    table.CalculateLayout(400, f, *Doc.GetCanvas(), true, false);
    EXPECT_EQ(f.ColWidths.Get(0), 195);
    f.ColWidths.Put(0, 777);
    table.SetCellBorderWidth(0); // a change of an inserted table flags it: laid out again
    Doc.Format(false, false);
    EXPECT_EQ(f.ColWidths.Get(0), 195);
}

TEST_F(TableLayout, StoredColumnWidthsAreUsedOnlyWhenValid) {
    TVDTableItemInfo &table = Add(1, 2);
    auto stored = [](int32_t ppx, V widths) {
        auto s = std::make_unique<TVDTableStoredColWidths>();
        s->ppxDevice = ppx;
        s->TableWidth = 320;
        for (int32_t w : widths) {
            s->ColWidths.Add(w);
        }
        return s;
    };
    table.SetStoredColWidths(stored(192, {200, 100}));
    Doc.Format(true, false);
    EXPECT_EQ(List(table.GetFormattingInfo().ColWidths), (V{100, 50})); // at the screen's 96
    EXPECT_EQ(table.GetFormattingInfo().FWidth, 160);
    std::vector<std::unique_ptr<TVDTableStoredColWidths>> bad;
    bad.push_back(stored(0, {200, 100}));      // no resolution
    bad.push_back(stored(192, {200}));         // too few widths
    bad.push_back(stored(192, {200, 100, 1})); // too many
    bad.push_back(stored(192, {-5, 100}));     // a negative width
    for (auto &widths : bad) {
        table.SetStoredColWidths(std::move(widths));
        Doc.Format(true, false);
        EXPECT_EQ(List(table.GetFormattingInfo().ColWidths), (V{195, 195}));
        EXPECT_EQ(table.GetFormattingInfo().FWidth, 400);
    }
}

TEST_F(TableLayout, TheFormattingStreamRestoresTheLayout) {
    TVDTableItemInfo &table = Add(2, 2);
    SetCellText(*table.GetCells(1, 0), u"abc");
    Doc.Format(false, false);
    rtl::TMemoryStream stream;
    table.SaveFormattingToStream(stream);
    const V widths = List(table.GetFormattingInfo().ColWidths);
    const V starts = List(table.GetFormattingInfo().RowStarts);
    const int32_t cellTop = table.GetCells(1, 1)->GetTop();
    table.GetFormattingInfo().Clear();
    table.GetCells(1, 1)->CopyBounds(*table.GetCells(0, 0));
    stream.Seek(0, rtl::soBeginning);
    int32_t marker = 0;
    stream.ReadBuffer(&marker, 4);
    EXPECT_EQ(marker, -1);
    table.LoadFormattingFromStream(stream);
    EXPECT_EQ(List(table.GetFormattingInfo().ColWidths), widths);
    EXPECT_EQ(List(table.GetFormattingInfo().RowStarts), starts);
    EXPECT_EQ(table.GetFormattingInfo().FWidth, 400);
    EXPECT_EQ(table.GetCells(1, 1)->GetTop(), cellTop);
    EXPECT_EQ(DumpDrawItems(*table.GetCells(1, 0)), "0:1+3@0,0 30x20");
    EXPECT_EQ(stream.GetPosition(), stream.GetSize());

    // The whole document's layout goes through the table's part of the stream.
    rtl::TMemoryStream docStream;
    Doc.SaveFormattingToStream(docStream);
    docStream.Seek(0, rtl::soBeginning);
    Doc.LoadFormattingFromStream(docStream);
    EXPECT_EQ(List(table.GetFormattingInfo().ColWidths), widths);
}

TEST_F(TableLayout, FormattingStreamOfAnotherGridIsRefused) {
    TVDTableItemInfo &table = Add(2, 2);
    TVDTableItemInfo &wider = Add(2, 3);
    Doc.Format(false, false);
    rtl::TMemoryStream stream;
    wider.SaveFormattingToStream(stream);
    stream.Seek(4, rtl::soBeginning);
    EXPECT_THROW(table.LoadFormattingFromStream(stream), EViziVoduError);
    rtl::TMemoryStream truncated;
    table.SaveFormattingToStream(truncated);
    truncated.SetSize(10);
    truncated.Seek(4, rtl::soBeginning);
    EXPECT_THROW(table.LoadFormattingFromStream(truncated), rtl::Exception);
}

TEST_F(TableLayout, GridLinesAndPositionsOnTheScreenLayout) {
    TVDTableItemInfo &table = Add(2, 3);
    table.SetBorderWidth(2);
    Doc.Format(false, false);
    const TVDTableItemFormattingInfo &f = table.GetFormattingInfo();
    int32_t minX = 0;
    int32_t zero = 0;
    EXPECT_EQ(table.GetVerticalRuleNo(2, minX, zero), 0); // the left border (zone 4)
    EXPECT_EQ(minX, -1);
    EXPECT_EQ(zero, 2);
    EXPECT_EQ(table.GetVerticalRuleNo(f.FWidth - 1, minX, zero), 3);
    EXPECT_EQ(minX, f.ColStarts.Get(2));
    EXPECT_EQ(table.GetVerticalRuleNo(f.ColStarts.Get(1) - 1, minX, zero), 1);
    EXPECT_EQ(minX, f.ColStarts.Get(0));
    EXPECT_EQ(zero, f.ColStarts.Get(1) - 1);
    EXPECT_EQ(table.GetVerticalRuleNo(f.ColStarts.Get(1) + 40, minX, zero), -1);
    EXPECT_EQ(table.GetVerticalRuleNo(-1, minX, zero), -1);
    int32_t minY = 0;
    EXPECT_EQ(table.GetHorizontalRuleNo(f.RowStarts.Get(1) - 1, minY, zero), 1);
    EXPECT_EQ(table.GetColAtX(f.ColStarts.Get(1)), 1);
    EXPECT_EQ(table.GetColAtX(0), -1);
    EXPECT_EQ(table.GetRowAtY(f.RowStarts.Get(1) + 5), 1);

    TVDIntegerList starts;
    for (int32_t v : {0, 10, 20, 30}) {
        starts.Add(v);
    }
    struct {
        int32_t y, index;
    } cases[] = {{-5, 0}, {0, 0}, {5, 0}, {10, 0}, {11, 1}, {29, 2}, {30, 3}, {99, 3}};
    for (const auto &c : cases) {
        EXPECT_EQ(TVDTableItemInfo::FindStartIndex(c.y, starts), c.index) << c.y;
    }
}

// The spaced layout of the three cases below: border 1, no cell borders, cell spacing 2.
void SpaceOut(TVDTableItemInfo &table, int32_t padding) {
    table.SetBorderWidth(1);
    table.SetCellBorderWidth(0);
    table.SetCellPadding(padding);
    table.SetCellHSpacing(2);
    table.SetCellVSpacing(2);
}

// A cell's box in table coordinates.
rtl::TRect Box(const TVDTableCellData &cell) {
    return rtl::Bounds(cell.GetLeft(), cell.GetTop(), cell.GetBoxWidth(), cell.GetBoxHeight());
}

TEST_F(TableLayout, SpansWidenedToTheirContentStayInsideTheTable) {
    // Percentages of 41 and 47 leave 12 pixels of the 101 for three columns whose merged cell
    // needs 30: the percentage column gives the rest back.
    SetWidth(149);
    TVDTableItemInfo &table = Add(1, 5);
    SpaceOut(table, 3);
    table.SetCellHSpacing(3);
    table.MergeCells(0, 1, 3, 1, true);
    SetCellText(*table.GetCells(0, 0), u"sinus");
    SetCellText(*table.GetCells(0, 1), u"12 345");
    SetCellText(*table.GetCells(0, 4), u"12 345");
    table.SetCellBestWidth(-41, 0, 0);
    table.SetCellBestWidth(-47, 0, 4);
    Doc.Format(true, false);
    const TVDTableItemFormattingInfo &f = table.GetFormattingInfo();
    EXPECT_EQ(f.FWidth, 149);
    EXPECT_EQ(List(f.ColWidths), (V{50, 4, 4, 4, 39}));
    EXPECT_EQ(Box(*table.GetCells(0, 4)).Right, 149 - 3);
    EXPECT_GE(table.GetCells(0, 1)->GetWidth(), 30);
}

TEST_F(TableLayout, ASpanOfEmptyColumnsGrowsExactlyToItsContent) {
    // Four empty columns under "sinus" (50 pixels with three spacings of 2): 11 each, not 12,
    // so that the table's minimum width holds its cells.
    SetWidth(75);
    TVDTableItemInfo &table = Add(1, 6);
    SpaceOut(table, 0);
    table.MergeCells(0, 1, 4, 1, true);
    SetCellText(*table.GetCells(0, 0), u"rhythm");
    SetCellText(*table.GetCells(0, 1), u"sinus");
    SetCellText(*table.GetCells(0, 5), u"rhythm");
    Doc.Format(true, false);
    const TVDTableItemFormattingInfo &f = table.GetFormattingInfo();
    EXPECT_EQ(List(f.ColWidths), (V{60, 11, 11, 11, 11, 60}));
    EXPECT_EQ(table.GetCells(0, 1)->GetBoxWidth(), 50);
    EXPECT_EQ(f.FWidth, 60 + 50 + 60 + 2 * 2 + 2 * (1 + 2));
    EXPECT_EQ(Box(*table.GetCells(0, 5)).Right, f.FWidth - 3);
}

TEST_F(TableLayout, ShrinkingNeverCutsIntoASpanningCell) {
    // Column 1 has an absolute width, so widening the merged cell's span for "rhythm" falls to
    // column 2 alone; the percentage of column 0 then makes the table shrink, and column 1
    // must not give back what the merged cell needs.
    SetWidth(104);
    TVDTableItemInfo &table = Add(4, 3);
    SpaceOut(table, 2);
    table.MergeCells(2, 1, 2, 2, true);
    SetCellText(*table.GetCells(0, 0), u"sinus");
    SetCellText(*table.GetCells(1, 0), u"a");
    SetCellText(*table.GetCells(1, 1), u"12 345");
    SetCellText(*table.GetCells(2, 1), u"rhythm with a long name");
    SetCellText(*table.GetCells(3, 0), u"sinus");
    table.SetCellBestWidth(59, 0, 1);
    table.SetCellBestWidth(-55, 1, 0);
    table.SetCellBestWidth(11, 1, 1);
    Doc.Format(true, false);
    const TVDTableItemFormattingInfo &f = table.GetFormattingInfo();
    EXPECT_GE(table.GetCells(2, 1)->GetWidth(), 60);
    EXPECT_EQ(Box(*table.GetCells(2, 1)).Right, f.FWidth - 3);
}

// Random grids (merged cells, texts, preferred widths and heights in pixels and percent, the
// report's collapsed borders or spaced ones) at random document widths: every cell lies inside
// the table on its own columns and rows, no two cells overlap, and every cell is at least as
// wide as its content's minimum and as tall as its content and preferred height.
TEST_F(TableLayout, RandomTablesPlaceEveryCellInsideItsColumnsAndRows) {
    std::mt19937 random(20261210);
    auto pick = [&](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random);
    };
    const char16_t *words[] = {u"", u"a", u"sinus", u"rhythm with a long name", u"12 345"};
    for (int round = 0; round < 300; ++round) {
        Doc.Clear();
        const int32_t rows = pick(1, 7);
        const int32_t cols = pick(1, 6);
        TVDTableItemInfo &table = Add(rows, cols);
        const bool collapsed = pick(0, 1) == 1;
        table.SetBorderWidth(pick(0, 2));
        table.SetCellBorderWidth(collapsed ? 1 : pick(0, 1));
        const int32_t padding = pick(0, 3);
        table.SetCellPadding(padding);
        table.SetCellHSpacing(collapsed ? -1 : pick(0, 3));
        table.SetCellVSpacing(collapsed ? -1 : pick(0, 3));
        for (int merge = pick(0, 3); merge > 0; --merge) {
            table.MergeCells(pick(0, rows - 1), pick(0, cols - 1), pick(1, cols), pick(1, 3), true);
        }
        for (int32_t r = 0; r < rows; ++r) {
            for (int32_t c = 0; c < cols; ++c) {
                if (TVDTableCellData *cell = table.GetCells(r, c)) {
                    SetCellText(*cell, words[pick(0, 4)]);
                    const int32_t kind = pick(0, 5);
                    cell->SetBestWidth(kind == 0 ? pick(10, 120) : kind == 1 ? -pick(5, 60) : 0);
                    cell->SetBestHeight(pick(0, 3) == 0 ? pick(5, 60) : 0);
                }
            }
        }
        SetWidth(pick(50, 700));
        Doc.Format(true, false);
        std::string where = "round " + std::to_string(round) + ": " + DumpGrid(table) + " best";
        for (int32_t r = 0; r < rows; ++r) {
            for (int32_t c = 0; c < cols; ++c) {
                if (TVDTableCellData *cell = table.GetCells(r, c)) {
                    where += " " + std::to_string(cell->GetBestWidth()) + "/" +
                             std::to_string(cell->GetBestHeight());
                }
            }
        }
        const TVDTableItemFormattingInfo &f = table.GetFormattingInfo();
        where += " table " + std::to_string(f.FWidth) + " doc " + std::to_string(Doc.Width) +
                 " widths " + ::testing::PrintToString(List(f.ColWidths)) + " pad " +
                 std::to_string(padding) + " borders " +
                 std::to_string(table.GetTableBorderWidth()) + "," +
                 std::to_string(table.GetCellBorderWidth()) + " spacing " +
                 std::to_string(table.GetCellHSpacing());
        ASSERT_EQ(f.ColWidths.GetCount(), cols) << where;
        ASSERT_EQ(f.RowStarts.GetCount(), rows) << where;
        std::vector<rtl::TRect> boxes;
        for (int32_t r = 0; r < rows; ++r) {
            for (int32_t c = 0; c < cols; ++c) {
                TVDTableCellData *cell = table.GetCells(r, c);
                if (!cell) {
                    continue;
                }
                const int32_t lastCol = c + cell->GetColSpan() - 1;
                const rtl::TRect box = rtl::Bounds(cell->GetLeft(), cell->GetTop(),
                                                   cell->GetBoxWidth(), cell->GetBoxHeight());
                EXPECT_EQ(box.Left, f.ColStarts.Get(c)) << where;
                EXPECT_EQ(box.Right,
                          f.ColStarts.Get(lastCol) + f.ColWidths.Get(lastCol) + 2 * padding)
                    << where;
                EXPECT_EQ(box.Top, f.RowStarts.Get(r)) << where;
                EXPECT_TRUE(box.Left >= 0 && box.Top >= 0 && box.Right <= f.FWidth &&
                            box.Bottom <= f.FHeight)
                    << where << " cell " << r << "," << c;
                EXPECT_GE(cell->GetWidth(), cell->GetMinWidth(nullptr, *Doc.GetCanvas()))
                    << where << " cell " << r << "," << c;
                EXPECT_GE(cell->GetHeight(), cell->DocumentHeight)
                    << where << " cell " << r << "," << c;
                EXPECT_GE(cell->GetBoxHeight(), cell->GetBestHeight())
                    << where << " cell " << r << "," << c;
                for (const rtl::TRect &other : boxes) {
                    EXPECT_FALSE(box.Left < other.Right && other.Left < box.Right &&
                                 box.Top < other.Bottom && other.Top < box.Bottom)
                        << where << " cell " << r << "," << c << " overlaps another";
                }
                boxes.push_back(box);
            }
        }
    }
}
