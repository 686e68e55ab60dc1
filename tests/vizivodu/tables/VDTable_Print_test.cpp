// Printing tables: the layout at the printer's resolution and the cut into pages, between rows
// and inside rows taller than a page, with every line of every cell printed once, in order, and
// the heading rows repeated on every page; part numbers and soft page breaks of cut cells.
#include "vizivodu/tables/VDTable_Print.h"

#include "tests/vizivodu/tables/TablePrintTestSupport.h"
#include "vizivodu/document/VDFieldItems.h"
#include "vizivodu/document/VDSidenotes.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Printers.h"

#include "tests/support/Commands.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

// A table 300 pixels wide on the screen is 300 / 96 inch wide on the 600 dpi page.
TEST_F(TablePrinting, TheTableIsLaidOutAtThePrintersResolution) {
    TVDTableItemInfo &table = AddLabelledTable(F, 3, 3, 0, Rng, 3);
    table.SetBestWidth(300);
    ASSERT_GE(F.Paginate(), 1);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->Width, 300 * 600 / 96);
    EXPECT_EQ(info->Fmt.FWidth, info->Width);
    // The screen layout is left as it was.
    F.Source.Format();
    EXPECT_EQ(table.GetFormattingInfo().FWidth, 300);
    // The cells' printable documents fill their columns.
    int32_t sum = 0;
    for (int32_t c = 0; c < 3; ++c) {
        sum += info->CellAt(0, c)->Width;
    }
    EXPECT_GT(sum, info->Width * 9 / 10);
}

// Words wider than the page in columns given a few pixels each: printed, the table is as wide
// as the text, not wider, the columns whose content widened them beyond their given widths
// give the excess back, and each word breaks inside its cell instead of passing its edge.
TEST_F(TablePrinting, ATableWiderThanThePageIsNarrowedAndItsWordsBreakInsideTheirCells) {
    auto made = TVDTableItemInfo::CreateEx(1, 3, &F.Source.GetVDData());
    TVDTableItemInfo &table = *made;
    for (int32_t c = 0; c < 3; ++c) {
        table.GetCells(0, c)->SetBestWidth(20);
        SetCellText(*table.GetCells(0, c), std::u16string(c == 1 ? 400 : 200, u'Ж'));
    }
    F.Source.AddItem(u"", std::move(made));
    ASSERT_GE(F.Paginate(), 1);
    const TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    EXPECT_LE(info->Left + info->Width, F.Data().GetWidth());
    EXPECT_EQ(info->Fmt.FWidth, info->Width);
    for (int32_t c = 0; c < 3; ++c) {
        const TCellPtblVDData *cell = info->CellAt(0, c);
        for (int32_t i = 0; i < cell->DrawItems.Count(); ++i) {
            const TVDDrawLineInfo &line = *cell->DrawItems[i];
            EXPECT_LE(line.Left + line.Width, cell->Width) << "column " << c << " line " << i;
        }
    }
    // The widest column gave the most, and its word took several lines.
    EXPECT_LE(info->Fmt.ColWidths[1], info->Fmt.ColWidths[0]);
    EXPECT_LE(info->Fmt.ColWidths[1], info->Fmt.ColWidths[2]);
    EXPECT_GE(info->CellAt(0, 1)->DrawItems.Count(), 2);
}

TEST_F(TablePrinting, RowsThatAllFitMakeOnePartAndNothingIsLeftPending) {
    AddLabelledTable(F, 5, 2, 1, Rng, 2);
    ASSERT_EQ(F.Paginate(), 1);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    ASSERT_EQ(info->GetPartsList().Count(), 1);
    auto *part = static_cast<TVDTablePrintPart *>(info->GetPartsList()[0]);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->FirstRow(), 1);
    EXPECT_EQ(part->LastRow(), 4);
    EXPECT_EQ(part->Height, info->Height);
    const auto pages = LabelsByPage(F, 1);
    EXPECT_EQ(pages[0], (std::vector<std::string>{"H0", "R1", "R2", "R3", "R4"}));
}

// Two heading rows over a table of three pages: every page begins with them.
TEST_F(TablePrinting, HeadingRowsAreRepeatedOnEveryPage) {
    AddLabelledTable(F, 200, 3, 2, Rng, 1);
    const int32_t pages = F.Paginate();
    ASSERT_GE(pages, 3);
    const auto labels = LabelsByPage(F, pages);
    int32_t next = 2;
    for (int32_t p = 0; p < pages; ++p) {
        ASSERT_GE(labels[p].size(), 3u) << "page " << p + 1;
        EXPECT_EQ(labels[p][0], "H0") << "page " << p + 1;
        EXPECT_EQ(labels[p][1], "H1") << "page " << p + 1;
        for (size_t k = 2; k < labels[p].size(); ++k) {
            EXPECT_EQ(labels[p][k], "R" + std::to_string(next++)) << "page " << p + 1;
        }
    }
    EXPECT_EQ(next, 200);
}

// A row with a page break before it begins a page, also in a table that may not split rows.
TEST_F(TablePrinting, ARowWithAPageBreakBeforeBeginsAPage) {
    TVDTableItemInfo &table = AddLabelledTable(F, 6, 2, 0, Rng, 1);
    table.SetPrintOptions({});
    table.GetRows().Get(3)->PageBreakBefore = true;
    ASSERT_EQ(F.Paginate(), 2);
    const auto labels = LabelsByPage(F, 2);
    EXPECT_EQ(labels[0], (std::vector<std::string>{"R0", "R1", "R2"}));
    EXPECT_EQ(labels[1], (std::vector<std::string>{"R3", "R4", "R5"}));
}

// Without row splitting and page breaks the table is one unit.
TEST_F(TablePrinting, ATableThatMayNotSplitStaysWhole) {
    TVDTableItemInfo &table = AddLabelledTable(F, 6, 2, 0, Rng, 1);
    table.SetPrintOptions({});
    ASSERT_EQ(F.Paginate(), 1);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->GetPartsList().Count(), 0);
    EXPECT_EQ(LabelsByPage(F, 1)[0].size(), 6u);
}

// Rows joined by a cell that spans them go to the same page.
TEST_F(TablePrinting, RowsJoinedByASpanningCellStayTogether) {
    TVDTableItemInfo &table = AddLabelledTable(F, 120, 2, 0, Rng, 1);
    for (int32_t r = 0; r + 2 < 120; r += 3) {
        table.MergeCells(r, 1, 1, 3, true);
    }
    const int32_t pages = F.Paginate();
    ASSERT_GE(pages, 2);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    for (int32_t i = 0; i < info->GetPartsList().Count(); ++i) {
        auto *part = static_cast<TVDTablePrintPart *>(info->GetPartsList()[i]);
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(part->FirstRow() % 3, 0) << "part " << i;
    }
}

// ---- Rows cut inside their cells ----

// Fills a cell with lines of its own: one paragraph per line, "<prefix><row>c<col>l<line>".
void SetCellLines(TVDTableCellData &cell, char prefix, int32_t row, int32_t col, int32_t lines) {
    cell.Clear();
    for (int32_t i = 0; i < lines; ++i) {
        cell.AddNL(rtl::Utf8ToUtf16(prefix + std::to_string(row) + "c" + std::to_string(col) + "l" +
                                    std::to_string(i)),
                   0, 0);
    }
}

// A drawn cell line: its prefix ('h' heading, 'r' body), row, column and line.
struct TCellLine {
    char Prefix;
    int32_t Row, Col, Line;
};

// The cell lines drawn on each page, in drawing order.
std::vector<std::vector<TCellLine>> CellLinesByPage(TRecordingPrintFixture &f, int32_t pages) {
    std::vector<std::vector<TCellLine>> out;
    for (int32_t p = 1; p <= pages; ++p) {
        std::vector<TCellLine> lines;
        for (const std::u16string &drawn : f.PageTexts(p)) {
            const std::string text = rtl::Utf16ToUtf8(drawn);
            TCellLine line{};
            if (text.size() > 1 && (text[0] == 'h' || text[0] == 'r') &&
                std::sscanf(text.c_str() + 1, "%dc%dl%d", &line.Row, &line.Col, &line.Line) == 3) {
                line.Prefix = text[0];
                lines.push_back(line);
            }
        }
        out.push_back(lines);
    }
    return out;
}

// The lines each cell shows in a part fit in the cell's box there.
::testing::AssertionResult PartsHoldTheirCells(TPrintFixture &f, TVDTablePrintInfo &info) {
    TVDTableItemInfo &table = *info.FTable;
    TVDStyle &style = *f.Source.GetVDData().GetVDStyle();
    const int32_t ro = 2 * (style.GetAsDevicePixelsY(table.GetCellVPadding(), &info.sad) +
                            style.GetAsDevicePixelsY(table.GetCellBorderWidth(), &info.sad)) +
                       style.GetAsDevicePixelsY(table.GetCellVSpacing(), &info.sad);
    for (int32_t i = 0; i < info.GetPartsList().Count(); ++i) {
        TVDTablePrintPart *part = info.PartAt(i);
        if (!part) {
            return ::testing::AssertionFailure() << "part " << i << " is an empty slot";
        }
        for (int32_t r = 0; r <= part->LastRow(); ++r) {
            for (int32_t c = 0; c < table.GetColCount(); ++c) {
                TCellPtblVDData *printed = info.CellAt(r, c);
                const int32_t page = printed ? part->ShownPage(r, c) : 0;
                if (page <= 0) {
                    continue;
                }
                const int32_t span = table.GetCells(r, c)->GetRowSpan();
                const int32_t room = part->RowStartOf(r + span) -
                                     part->RowStartOf(std::max(r, part->FirstRow())) - ro;
                if (printed->PageContentHeight(page) > room) {
                    return ::testing::AssertionFailure()
                           << "part " << i << ": cell (" << r << ", " << c << ") page " << page
                           << " is " << printed->PageContentHeight(page) << " tall in " << room;
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// The heading lines due at the top of a page: the whole of each heading row, cell by cell.
::testing::AssertionResult RepeatedHeadingRows(const std::vector<TCellLine> &page, size_t &k,
                                               int32_t rows, int32_t cols,
                                               const std::vector<int32_t> &lineCounts) {
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < cols; ++c) {
            for (int32_t i = 0; i < lineCounts[size_t(r * cols + c)]; ++i, ++k) {
                if (k >= page.size() || page[k].Prefix != 'h' || page[k].Row != r ||
                    page[k].Col != c || page[k].Line != i) {
                    return ::testing::AssertionFailure()
                           << "heading line " << r << "/" << c << "/" << i << " is not at " << k;
                }
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// Every line of every cell is printed exactly once and in order, and no cell is printed after
// a row below its last one has begun (a page may begin with the row the page before it ended
// with, cut inside its cells, and with a cell that spans from a row above into it). The heading
// rows are printed as ordinary rows only with vdtoContinue, at the table's top; every page with
// rows begins with the heading rows printed whole before, repeated.
::testing::AssertionResult EveryLinePrintedOnce(const std::vector<std::vector<TCellLine>> &pages,
                                                TVDTableItemInfo &table,
                                                const std::vector<int32_t> &lineCounts,
                                                int32_t heading, bool continued) {
    const int32_t cols = table.GetColCount();
    std::vector<int32_t> next(lineCounts.size(), 0);
    if (!continued) {
        std::copy_n(lineCounts.begin(), size_t(heading * cols), next.begin());
    }
    auto rowDone = [&](int32_t r) {
        for (int32_t c = 0; c < cols; ++c) {
            const size_t cell = size_t(r * cols + c);
            if (next[cell] != lineCounts[cell]) {
                return false;
            }
        }
        return true;
    };
    int32_t lowestBegun = -1;
    for (size_t p = 0; p < pages.size(); ++p) {
        if (pages[p].empty()) {
            continue;
        }
        int32_t due = 0;
        while (due < heading && rowDone(due)) {
            ++due;
        }
        size_t k = 0;
        if (auto repeated = RepeatedHeadingRows(pages[p], k, due, cols, lineCounts); !repeated) {
            return repeated << " on page " << p + 1;
        }
        if (k == pages[p].size()) {
            return ::testing::AssertionFailure() << "page " << p + 1 << " shows heading rows only";
        }
        for (; k < pages[p].size(); ++k) {
            const TCellLine &l = pages[p][k];
            const size_t cell = size_t(l.Row * cols + l.Col);
            if (l.Line != next[cell]) {
                return ::testing::AssertionFailure()
                       << "page " << p + 1 << ": cell (" << l.Row << ", " << l.Col << ") line "
                       << l.Line << " where line " << next[cell] << " was due";
            }
            ++next[cell];
            const int32_t span = table.GetCells(l.Row, l.Col)->GetRowSpan();
            if (l.Row + span <= lowestBegun) {
                return ::testing::AssertionFailure()
                       << "page " << p + 1 << ": cell (" << l.Row << ", " << l.Col
                       << ") printed after row " << lowestBegun << " began";
            }
            lowestBegun = std::max(lowestBegun, l.Row);
        }
    }
    for (int32_t r = 0; r < table.GetRowCount(); ++r) {
        for (int32_t c = 0; c < cols; ++c) {
            const size_t cell = size_t(r * cols + c);
            if (table.GetCells(r, c) && next[cell] != lineCounts[cell]) {
                return ::testing::AssertionFailure()
                       << "cell (" << r << ", " << c << ") printed " << next[cell] << " of "
                       << lineCounts[cell] << " lines";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// A random table after random text, some of its cells taller than a page, some spanning two
// rows, with footnotes at the end of some cells; answers the lines of each cell.
struct TRandomTable {
    TVDTableItemInfo *Table = nullptr;
    int32_t Heading = 0;
    bool Continued = false;
    std::vector<int32_t> LineCounts;
    std::vector<std::pair<TVDTableCellData *, TVDFootnoteItemInfo *>> Notes;
};

TRandomTable AddRandomTable(TPrintFixture &f, uint32_t seed) {
    TRandomTable out;
    std::mt19937 rng(seed);
    const int32_t before = int32_t(rng() % 40);
    for (int32_t i = 0; i < before; ++i) {
        f.Source.AddNL(u"text", 0, 0);
    }
    const int32_t rows = 1 + int32_t(rng() % 40);
    const int32_t cols = 1 + int32_t(rng() % 5);
    out.Heading = std::min<int32_t>(int32_t(rng() % 3), rows - 1);
    out.Continued = rng() % 4 == 0;
    auto made = TVDTableItemInfo::CreateEx(rows, cols, &f.Source.GetVDData());
    TVDTableItemInfo &table = *made;
    out.Table = &table;
    table.SetHeadingRowCount(out.Heading);
    if (out.Continued) {
        table.SetPrintOptions({vdtoHalftoneBorders, vdtoRowsSplit, vdtoContinue});
    }
    for (int32_t r = out.Heading; r + 1 < rows; ++r) {
        const int32_t c = int32_t(rng() % uint32_t(cols));
        if (rng() % 5 == 0 && table.GetCells(r, c) && table.GetCells(r + 1, c) &&
            table.GetCells(r, c)->GetColSpan() == 1) {
            table.MergeCells(r, c, 1, 2, true);
        }
    }
    out.LineCounts.assign(size_t(rows * cols), 0);
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < cols; ++c) {
            if (TVDTableCellData *cell = table.GetCells(r, c)) {
                const bool tall = r >= out.Heading && rng() % 12 == 0;
                const int32_t lines = tall ? 40 + int32_t(rng() % 200) : 1 + int32_t(rng() % 4);
                out.LineCounts[size_t(r * cols + c)] = lines;
                SetCellLines(*cell, r < out.Heading ? 'h' : 'r', r, c, lines);
            }
        }
    }
    f.Source.AddItem(u"", std::move(made));
    f.Source.AddNL(u"after", 0, 0);
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < cols; ++c) {
            if (table.GetCells(r, c) && rng() % 6 == 0) {
                out.Notes.emplace_back(table.GetCells(r, c),
                                       &AddCellFootnote(table, r, c, u"footnote"));
            }
        }
    }
    return out;
}

// Random tables printed: every line of every cell is printed exactly once, in order, each page
// showing the heading rows above its rows, no part is taller than its page, the lines each part
// shows of a cell fit in the cell's box, and every footnote is listed once, on the page that
// prints its reference. Seeds 1 to 24, and those that once found faults: 103 and 271 (a cell
// spanning two rows goes on at the top of the next page), 740 (a footnote at the end of such a
// cell), 1113 and 1667 (vdtoContinue where the heading rows end the page).
TEST(TablePrintingProperty, RandomTablesPrintEveryLineOfEveryRowOnce) {
    std::vector<uint32_t> seeds{103, 271, 740, 1113, 1667};
    for (uint32_t seed = 1; seed <= 24; ++seed) {
        seeds.push_back(seed);
    }
    for (const uint32_t seed : seeds) {
        TRecordingPrintFixture f;
        const TRandomTable t = AddRandomTable(f, seed);
        const int32_t pages = f.Paginate();
        const std::string where = "seed " + std::to_string(seed);
        int32_t printed = 0;
        for (const auto &[cell, note] : t.Notes) {
            const int32_t itemNo = cell->GetItems().IndexOfObject(note);
            const int32_t expected =
                f.Print.GetPageNo(cell, itemNo, cell->GetOffsBeforeItem(itemNo));
            EXPECT_EQ(FootnotePage(f, *note), std::max(expected, 0)) << where;
            printed += expected >= 1 ? 1 : 0;
        }
        int32_t listed = 0;
        for (int32_t p = 1; p <= f.Data().GetPagesCount(); ++p) {
            const TVDFootnoteRefList *list = f.Data().Pages->Items(p - 1).FootnoteVDDataList.get();
            listed += list ? int32_t(list->size()) : 0;
        }
        EXPECT_EQ(listed, printed) << where;
        EXPECT_TRUE(EveryLinePrintedOnce(CellLinesByPage(f, pages), *t.Table, t.LineCounts,
                                         t.Heading, t.Continued))
            << where;
        if (TVDTablePrintInfo *info = PrintItem(f)) {
            EXPECT_TRUE(PartsHoldTheirCells(f, *info)) << where;
            for (int32_t i = 0; i < info->GetPartsList().Count(); ++i) {
                TVDTablePrintPart *part = info->PartAt(i);
                ASSERT_NE(part, nullptr) << where;
                EXPECT_LE(part->Height, f.Data().GetContentHeightForPage(1)) << where;
            }
        }
    }
}

// The table of the tests below: a short first row, a row whose middle cell holds 150 lines (about
// three pages) beside one-line cells, and a short last row; headingRows rows above them.
class TallRowPrinting : public TablePrinting {
protected:
    TVDTableItemInfo &MakeTable(int32_t headingRows) {
        auto made = TVDTableItemInfo::CreateEx(3 + headingRows, 3, &F.Source.GetVDData());
        TVDTableItemInfo &table = *made;
        table.SetHeadingRowCount(headingRows);
        LineCounts.clear();
        for (int32_t r = 0; r < 3 + headingRows; ++r) {
            for (int32_t c = 0; c < 3; ++c) {
                const int32_t lines = r == headingRows + 1 && c == 1 ? 150 : 1;
                SetCellLines(*table.GetCells(r, c), r < headingRows ? 'h' : 'r', r, c, lines);
                LineCounts.push_back(lines);
            }
        }
        F.Source.AddItem(u"", std::move(made));
        return table;
    }
    // The lines of each cell of the table made, row by row.
    std::vector<int32_t> LineCounts;
};

TEST_F(TallRowPrinting, ARowTallerThanAPageIsCutInsideItsCells) {
    TVDTableItemInfo &table = MakeTable(0);
    const int32_t pages = F.Paginate();
    ASSERT_GE(pages, 3);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    const int32_t parts = info->GetPartsList().Count();
    ASSERT_EQ(parts, pages);
    TVDTablePrintPart &first = *info->PartAt(0);
    EXPECT_EQ(first.FirstRow(), 0);
    EXPECT_EQ(first.LastRow(), 1);
    EXPECT_FALSE(first.FRowFinished);
    ASSERT_NE(first.FTableBottomCutLine, nullptr);
    // The tall cell goes on with its second page; its neighbours have nothing more.
    EXPECT_EQ(first.FTableBottomCutLine->Get(0), 0);
    EXPECT_EQ(first.FTableBottomCutLine->Get(1), 2);
    EXPECT_EQ(first.FTableBottomCutLine->Get(2), 0);
    EXPECT_EQ(first.FTableTopCutLine, nullptr);
    TVDTablePrintPart &second = *info->PartAt(1);
    ASSERT_NE(second.FTableTopCutLine, nullptr);
    EXPECT_EQ(second.FirstRow(), 1);
    EXPECT_EQ(second.FTableTopCutLine->Get(1), 2);
    EXPECT_EQ(second.ShownPage(1, 0), 0);
    EXPECT_EQ(second.ShownPage(1, 1), 2);
    TVDTablePrintPart &last = *info->PartAt(parts - 1);
    EXPECT_EQ(last.LastRow(), 2);
    EXPECT_TRUE(last.FRowFinished);
    EXPECT_TRUE(EveryLinePrintedOnce(CellLinesByPage(F, pages), table, LineCounts, 0, false));
    EXPECT_TRUE(PartsHoldTheirCells(F, *info));
}

// GetPartNo answers the part that prints a position of a cell, and the main document the page.
TEST_F(TallRowPrinting, PartNumbersFollowTheCellsPages) {
    TVDTableItemInfo &table = MakeTable(1);
    const int32_t pages = F.Paginate();
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    const int32_t parts = info->GetPartsList().Count();
    ASSERT_GE(parts, 3);
    TCellPtblVDData &tall = *info->CellAt(2, 1);
    ASSERT_EQ(tall.GetPagesCount(), parts);
    struct TCase {
        int32_t Row, Col, ItemNo, Part, LocalPage, LocalCount;
    };
    const int32_t lastItem = 149;
    const TCase cases[] = {
        {1, 0, 0, 0, 1, 1},                    // the first body row
        {2, 1, 0, 0, 1, 1},                    // the tall cell's first line
        {2, 1, lastItem, parts - 1, parts, 1}, // and its last
        {2, 2, 0, 0, 1, 1},                    // its neighbour
        {3, 0, 0, parts - 1, 1, 1},            // the last row
        {0, 2, 0, 0, 1, parts},                // a heading row: on every part
    };
    for (const TCase &c : cases) {
        int32_t partNo = -2, localPage = 0, localCount = 0;
        TCustomPrintableVDData *pt = nullptr;
        TVDTableCellData *cell = table.GetCells(c.Row, c.Col);
        ASSERT_TRUE(info->GetPartNo(cell, c.ItemNo, 1, partNo, localPage, localCount, pt))
            << c.Row << "/" << c.Col << "/" << c.ItemNo;
        EXPECT_EQ(partNo, c.Part) << c.Row << "/" << c.Col << "/" << c.ItemNo;
        EXPECT_EQ(localPage, c.LocalPage) << c.Row << "/" << c.Col << "/" << c.ItemNo;
        EXPECT_EQ(localCount, c.LocalCount) << c.Row << "/" << c.Col << "/" << c.ItemNo;
        EXPECT_EQ(pt, info->CellAt(c.Row, c.Col));
    }
    // The page of the tall cell's line on the tall cell's second page.
    const int32_t onSecond = tall.Pages->Items(1).StartDrawItemNo;
    const int32_t itemNo = tall.DrawItems[onSecond]->ItemNo;
    int32_t pageNo = 0, localPage = 0, localCount = 0;
    TCustomPrintableVDData *pt = nullptr;
    ASSERT_TRUE(F.Data().GetPageNo(table.GetCells(2, 1), itemNo, 1, nullptr, pageNo, localPage,
                                   localCount, pt));
    EXPECT_EQ(pageNo, 2);
    EXPECT_LE(pages, parts + 1);
}

// With vdtoContinue the first part begins with the heading rows as ordinary rows, where the
// layout has them; the later parts repeat them. A heading row's position is printed on every
// part (mended: it was answered from the second part on, missing the first page).
TEST_F(TallRowPrinting, ContinuedTablesBeginWithTheHeadingRowsAsOrdinaryRows) {
    TVDTableItemInfo &table = MakeTable(2);
    table.SetPrintOptions({vdtoHalftoneBorders, vdtoRowsSplit, vdtoContinue});
    const int32_t pages = F.Paginate();
    ASSERT_GE(pages, 3);
    const auto lines = CellLinesByPage(F, pages);
    EXPECT_TRUE(EveryLinePrintedOnce(lines, table, LineCounts, 2, true));
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    const int32_t parts = info->GetPartsList().Count();
    EXPECT_EQ(info->PartAt(0)->FirstRow(), 0);
    EXPECT_EQ(info->PartAt(0)->FHeadingRows, 0);
    EXPECT_EQ(info->PartAt(1)->FHeadingRows, 2);
    int32_t partNo = -2, localPage = 0, localCount = 0;
    TCustomPrintableVDData *pt = nullptr;
    ASSERT_TRUE(info->GetPartNo(table.GetCells(1, 0), 0, 1, partNo, localPage, localCount, pt));
    EXPECT_EQ(partNo, 0);
    EXPECT_EQ(localCount, parts);
    // The heading row as an ordinary row lies where the later parts repeat it.
    const TVDTableStoreSubVDData location(1, 2);
    rtl::TRect ordinary, repeated, outer;
    rtl::TPoint origin;
    ASSERT_TRUE(info->GetSubDocCoords(location, 0, ordinary, outer, origin));
    ASSERT_TRUE(info->GetSubDocCoords(location, parts - 1, repeated, outer, origin));
    EXPECT_EQ(ordinary, repeated);
}

// Mended: with vdtoContinue a table that fits on its first page printed no heading rows at all,
// nor their footnotes, and a sidenote in a heading row was placed on no page.
TEST_F(TablePrinting, AOnePageTableWithContinuePrintsItsHeadingRowsOnce) {
    TVDTableItemInfo &table = AddLabelledTable(F, 5, 2, 2, Rng, 1);
    table.SetPrintOptions({vdtoHalftoneBorders, vdtoRowsSplit, vdtoContinue});
    TVDFootnoteItemInfo &note = AddCellFootnote(table, 1, 1, u"note");
    TVDTableCellData &cell = *table.GetCells(0, 1);
    AddNote<TVDSidenoteItemInfo>(
        cell, [](TVDSidenoteItemInfo &sidenote) { sidenote.GetDocument().AddNL(u"side", 0, 0); });
    ASSERT_EQ(F.Paginate(), 1);
    const std::vector<std::string> rows = {"H0", "H1", "R2", "R3", "R4"};
    EXPECT_EQ(LabelsByPage(F, 1)[0], rows);
    EXPECT_EQ(FootnotePage(F, note), 1);
    TVDSidenoteList *boxes = F.Data().GetSidenoteList(1);
    ASSERT_TRUE(boxes);
    EXPECT_EQ(boxes->GetCount(), 1);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    ASSERT_EQ(info->GetPartsList().Count(), 1);
    int32_t partNo = -2, localPage = 0, localCount = 0;
    TCustomPrintableVDData *pt = nullptr;
    ASSERT_TRUE(info->GetPartNo(&cell, 0, 1, partNo, localPage, localCount, pt));
    EXPECT_EQ(partNo, 0);
    EXPECT_EQ(localCount, 1);
}

// The same table without vdtoContinue: every page begins with the two heading rows.
TEST_F(TallRowPrinting, HeadingRowsAreRepeatedAboveACutRow) {
    TVDTableItemInfo &table = MakeTable(2);
    const int32_t pages = F.Paginate();
    ASSERT_GE(pages, 3);
    EXPECT_TRUE(EveryLinePrintedOnce(CellLinesByPage(F, pages), table, LineCounts, 2, false));
}

// A part that begins inside a cut row is a complex soft page break: the cell records where
// its own page begins; a part that begins with whole rows gives its first row.
TEST_F(TallRowPrinting, SoftPageBreaksInsideCutCells) {
    TVDTableItemInfo &table = MakeTable(0);
    const int32_t pages = F.Paginate();
    ASSERT_GE(pages, 3);
    TCustomMainPtblVDData &data = F.Data();
    EXPECT_FALSE(data.IsComplexSoftPageBreak(1));
    EXPECT_TRUE(data.IsComplexSoftPageBreak(2));
    data.AssignComplexSoftPageBreakToItem(2, &F.Source.GetVDData());
    TVDTableCellData &tall = *table.GetCells(1, 1);
    ASSERT_NE(tall.FSoftPageBreaks, nullptr);
    ASSERT_EQ(tall.FSoftPageBreaks->size(), 1u);
    TVDTablePrintInfo *info = PrintItem(F);
    TCellPtblVDData &printed = *info->CellAt(1, 1);
    const int32_t first = printed.Pages->Items(1).StartDrawItemNo;
    EXPECT_EQ((*tall.FSoftPageBreaks)[0].ItemNo, printed.DrawItems[first]->ItemNo);
    EXPECT_EQ(table.GetCells(1, 0)->FSoftPageBreaks, nullptr);
    table.ClearSoftPageBreaks();
    EXPECT_EQ(tall.FSoftPageBreaks, nullptr);
    // A table that begins a page with a whole row.
    TPrintFixture f;
    std::mt19937 rng(5);
    AddLabelledTable(f, 200, 2, 0, rng, 1);
    ASSERT_GE(f.Paginate(), 2);
    TVDTablePrintInfo *other = PrintItem(f);
    int32_t itemNo = 0, offs = 0, extra = 0;
    f.Data().GetFirstItemOnPageEx(2, itemNo, offs, extra);
    EXPECT_FALSE(f.Data().IsComplexSoftPageBreak(2));
    EXPECT_EQ(extra, other->PartAt(1)->FirstRow());
}

// A cell's coordinates in a part: heading rows where the layout has them, the part's rows at
// the part's row starts, rows of other parts none; the page the part shows of the cell.
TEST_F(TallRowPrinting, SubDocumentCoordinatesFollowTheParts) {
    TVDTableItemInfo &table = MakeTable(1);
    ASSERT_GE(F.Paginate(), 3);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    TVDStyle &style = *F.Source.GetVDData().GetVDStyle();
    const int32_t vpad = style.GetAsDevicePixelsY(table.GetCellVPadding(), &info->sad);
    const int32_t hpad = style.GetAsDevicePixelsX(table.GetCellHPadding(), &info->sad);
    TVDTablePrintPart &second = *info->PartAt(1);
    rtl::TRect inner, outer;
    rtl::TPoint origin;
    const TVDTableStoreSubVDData tall(2, 1), heading(0, 1), last(3, 0);
    ASSERT_TRUE(info->GetSubDocCoords(tall, 1, inner, outer, origin));
    EXPECT_EQ(inner.Top, vpad + second.FRowStarts.Get(0));
    EXPECT_EQ(inner.Left, info->CellAt(2, 1)->DX);
    EXPECT_EQ(outer, rtl::Rect(inner.Left - hpad, inner.Top - vpad, inner.Right + hpad,
                               inner.Bottom + vpad));
    EXPECT_EQ(origin, inner.TopLeft());
    EXPECT_EQ(info->GetLocalPageNoFor(tall, 1), 2);
    EXPECT_EQ(info->GetLocalPageNoFor(tall, 0), 1);
    ASSERT_TRUE(info->GetSubDocCoords(heading, 1, inner, outer, origin));
    EXPECT_EQ(inner.Top, info->CellAt(0, 1)->DY);
    EXPECT_FALSE(info->GetSubDocCoords(last, 0, inner, outer, origin));
    EXPECT_EQ(info->GetPrintableVDDataFor(tall), info->CellAt(2, 1));
}

// Page fields in cells take the page they print on: the end of a cut cell its last page, a
// heading row each page that repeats it.
TEST_F(TallRowPrinting, PageFieldsInCellsTakeThePageTheyPrintOn) {
    std::vector<int32_t> heading, tallEnd;
    TVDTableItemInfo &table = MakeTable(1);
    TVDTableCellData &head = *table.GetCells(0, 0);
    head.AddItem(u"", std::make_unique<TRecordingPageNumber>(&head, heading));
    TVDTableCellData &tall = *table.GetCells(2, 1);
    tall.AddItem(u"", std::make_unique<TRecordingPageNumber>(&tall, tallEnd));
    const int32_t pages = F.Paginate();
    ASSERT_GE(pages, 3);
    EXPECT_EQ(tallEnd, (std::vector<int32_t>{pages * 100 + pages}));
    heading.clear();
    gfx::TBitmap bmp(8, 8);
    std::vector<int32_t> expected;
    for (int32_t p = 1; p <= pages; ++p) {
        F.Print.GetVD().DrawPage(p, bmp.GetCanvas(), false, false);
        expected.push_back(p * 100 + pages);
    }
    EXPECT_EQ(heading, expected);
}

// Taking the last part back lets the same part be made again.
TEST_F(TallRowPrinting, TheLastPartIsTakenBackAndMadeAgain) {
    MakeTable(0);
    F.Paginate();
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    TVDMultiDrawItemPartsList &parts = info->GetPartsList();
    const int32_t count = parts.Count();
    ASSERT_GE(count, 3);
    TVDTablePrintPart &last = *info->PartAt(count - 1);
    const int32_t first = last.FirstRow(), lastRow = last.LastRow(), height = last.Height;
    const int32_t cut = last.FTableTopCutLine->Get(1);
    TCellPtblVDData &tall = *info->CellAt(1, 1);
    const int32_t made = tall.CurPageNo;
    TVDFootnoteListPtr footnotes;
    int32_t released = 0;
    info->UnformatLastPage(footnotes, released, false);
    ASSERT_EQ(parts.Count(), count);
    EXPECT_EQ(parts[count - 1], nullptr);
    EXPECT_EQ(tall.CurPageNo, made - 1);
    const int32_t page = F.Data().GetContentHeightForPage(2);
    int32_t maxHeight = page;
    EXPECT_FALSE(info->SplitAt(page, info->sad, true, footnotes, maxHeight, false, false));
    ASSERT_EQ(parts.Count(), count);
    TVDTablePrintPart &again = *info->PartAt(count - 1);
    EXPECT_EQ(again.FirstRow(), first);
    EXPECT_EQ(again.LastRow(), lastRow);
    EXPECT_EQ(again.Height, height);
    EXPECT_EQ(again.FTableTopCutLine->Get(1), cut);
    EXPECT_EQ(tall.CurPageNo, made);
}

// What lies under an item of the cell being printed: the table's colour for layer 1, the
// cell's over it for the others, nothing for layer 0; white with vdtoWhiteBackground.
TEST_F(TablePrinting, TheBackgroundUnderAnItemOfThePrintedCell) {
    TVDTableItemInfo &table = AddLabelledTable(F, 2, 2, 0, Rng, 1);
    table.SetColor(vdtcColor, gfx::clRed);
    table.SetCellColor(gfx::clBlue, 1, 1);
    TVDGraphicInterface &gi = F.Style.GetGraphicInterface();
    auto pixel = [&](int32_t layer, bool withCell) {
        gfx::TBitmap bmp(4, 4);
        bmp.GetCanvas().GetBrush().SetColor(gfx::clLime);
        bmp.GetCanvas().FillRect(rtl::Rect(0, 0, 4, 4));
        table.FPrintCellRow = withCell ? 1 : -1;
        table.FPrintCellCol = withCell ? 1 : -1;
        table.FPrintCellRect = rtl::Rect(0, 0, 10, 10);
        table.DrawBackgroundForPrinting(bmp.GetCanvas(), rtl::Rect(2, 2, 6, 6),
                                        rtl::Rect(0, 0, 10, 10), vdcmPrinterColor, layer, gi, true);
        return bmp.ScanLine(1)[1] & 0xFFFFFF;
    };
    EXPECT_EQ(pixel(0, true), 0x00FF00u);
    EXPECT_EQ(pixel(1, true), 0xFF0000u);
    EXPECT_EQ(pixel(-1, false), 0xFF0000u);
    EXPECT_EQ(pixel(-1, true), 0x0000FFu);
    table.SetPrintOptions({vdtoWhiteBackground});
    EXPECT_EQ(pixel(-1, true), 0xFFFFFFu);
    table.FPrintCellRow = table.FPrintCellCol = -1;
}

// A cell of vertical text is formatted along the height of its row, known after the rows.
TEST_F(TablePrinting, VerticalTextCellsAreFormattedAlongTheirRowsHeight) {
    TVDTableItemInfo &table = AddLabelledTable(F, 1, 2, 0, Rng, 1);
    SetCellLines(*table.GetCells(0, 0), 'r', 0, 0, 12);
    SetCellText(*table.GetCells(0, 1), u"up the side");
    table.SetCellRotation(vdrot90, 0, 1);
    ASSERT_EQ(F.Paginate(), 1);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    TCellPtblVDData &vertical = *info->CellAt(0, 1);
    EXPECT_EQ(vertical.Height, info->CellAt(0, 0)->Height);
    EXPECT_EQ(vertical.DocumentWidth, vertical.Height);
}

// A cell spanning two rows that was printed whole on the page where it begins shows an empty
// box where it reaches into the next page, instead of its content a second time.
TEST(TablePrintingSpans, ASpanningCellDoneOnAnEarlierPageIsNotPrintedAgain) {
    bool found = false;
    for (int32_t lines = 20; lines < 120 && !found; ++lines) {
        TRecordingPrintFixture f;
        auto made = TVDTableItemInfo::CreateEx(2, 2, &f.Source.GetVDData());
        TVDTableItemInfo &table = *made;
        table.MergeCells(0, 0, 1, 2, true);
        SetCellLines(*table.GetCells(0, 0), 'r', 0, 0, 1);
        SetCellLines(*table.GetCells(0, 1), 'r', 0, 1, lines);
        SetCellLines(*table.GetCells(1, 1), 'r', 1, 1, 3);
        f.Source.AddItem(u"", std::move(made));
        const int32_t pages = f.Paginate();
        TVDTablePrintInfo *info = PrintItem(f);
        TVDTablePrintPart *second = info ? info->PartAt(1) : nullptr;
        if (!second || second->FirstRow() != 1 || second->FTableTopCutLine) {
            continue;
        }
        found = true;
        EXPECT_EQ(second->ShownPage(0, 0), 0);
        const std::vector<int32_t> counts{1, lines, 0, 3};
        EXPECT_TRUE(EveryLinePrintedOnce(CellLinesByPage(f, pages), table, counts, 0, false));
    }
    EXPECT_TRUE(found);
}

// Mended: a cell spanning two rows and taller than a page goes on in parts that begin at its
// second row. A position on those pages was answered on the cell's first part, so its footnote,
// listed on the page that prints it, was numbered for the first page, and its page fields were
// not evaluated for the pages that print them.
TEST_F(TablePrinting, ASpanningCellContinuedOnLaterPagesIsFoundOnThem) {
    auto made = TVDTableItemInfo::CreateEx(3, 2, &F.Source.GetVDData());
    TVDTableItemInfo &table = *made;
    table.MergeCells(0, 0, 1, 2, true);
    for (const auto [r, c, lines] : {std::array{0, 0, 150}, {0, 1, 1}, {1, 1, 1}, {2, 0, 1}}) {
        SetCellLines(*table.GetCells(r, c), 'r', r, c, lines);
    }
    TVDTableCellData &tall = *table.GetCells(0, 0);
    std::vector<int32_t> fields;
    tall.AddItem(u"", std::make_unique<TRecordingPageNumber>(&tall, fields));
    TVDFootnoteItemInfo &note = AddCellFootnote(table, 0, 0, u"note");
    F.Source.AddItem(u"", std::move(made));
    const int32_t pages = F.Paginate();
    ASSERT_GE(pages, 3);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    const int32_t parts = info->GetPartsList().Count();
    ASSERT_EQ(info->PartAt(parts - 1)->FirstRow(), 1);
    EXPECT_EQ(fields, (std::vector<int32_t>{pages * 100 + pages}));
    const int32_t itemNo = tall.GetItems().IndexOfObject(&note);
    int32_t partNo = -2, localPage = 0, localCount = 0;
    TCustomPrintableVDData *pt = nullptr;
    ASSERT_TRUE(info->GetPartNo(&tall, itemNo, 0, partNo, localPage, localCount, pt));
    EXPECT_EQ(partNo, parts - 1);
    EXPECT_EQ(F.Print.GetPageNo(&tall, itemNo, 0), pages);
    EXPECT_EQ(FootnotePage(F, note), pages);
}

namespace fs = std::filesystem;

using wbtest::HaveTool;
using wbtest::PdfPageText;
using wbtest::RunCommand;

// A long table printed to the PDF printer: a reader of the file finds on every page the heading
// row first and then the page's rows, every row once, in order.
TEST(TablePdf, ALongTablePrintedToPdfShowsEveryRowOnceUnderItsHeading) {
    const wbtest::TTempFolder folder;
    const fs::path file = folder / "table.pdf";
    gfx::Printer().SetSystemPrintersForTesting({});
    gfx::Printer().SetPrinterIndex(-1);
    const TPrintToFile output(file.u16string());
    TPrintFixture f;
    std::mt19937 rng(3);
    AddLabelledTable(f, 150, 3, 1, rng, 1);
    const int32_t pages = f.Paginate();
    ASSERT_GE(pages, 2);
    f.Print.Print(u"table", 1, false);
    ASSERT_TRUE(fs::exists(file));
    if (!HaveTool("pdftotext")) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    int32_t next = 1;
    for (int32_t p = 1; p <= pages; ++p) {
        std::istringstream text(PdfPageText(file.string(), p));
        std::vector<std::string> labels;
        for (std::string word; text >> word;) {
            if (word[0] == 'H' || word[0] == 'R') {
                labels.push_back(word);
            }
        }
        ASSERT_FALSE(labels.empty()) << "page " << p;
        EXPECT_EQ(labels[0], "H0") << "page " << p;
        for (size_t k = 1; k < labels.size(); ++k) {
            EXPECT_EQ(labels[k], "R" + std::to_string(next++)) << "page " << p;
        }
    }
    EXPECT_EQ(next, 150);
}

// A table with a row taller than a page printed to the PDF printer: a reader of the file finds
// every line of the tall cell once, in order, over the pages, the heading row on every page,
// and every other cell once.
TEST(TablePdf, ARowTallerThanAPageIsPrintedOverSeveralPages) {
    const wbtest::TTempFolder folder;
    const fs::path file = folder / "tall.pdf";
    gfx::Printer().SetSystemPrintersForTesting({});
    gfx::Printer().SetPrinterIndex(-1);
    const TPrintToFile output(file.u16string());
    TPrintFixture f;
    auto made = TVDTableItemInfo::CreateEx(4, 2, &f.Source.GetVDData());
    TVDTableItemInfo &table = *made;
    table.SetHeadingRowCount(1);
    for (int32_t r = 0; r < 4; ++r) {
        for (int32_t c = 0; c < 2; ++c) {
            SetCellLines(*table.GetCells(r, c), r == 0 ? 'h' : 'r', r, c,
                         r == 2 && c == 1 ? 160 : 1);
        }
    }
    f.Source.AddItem(u"", std::move(made));
    const int32_t pages = f.Paginate();
    ASSERT_GE(pages, 3);
    f.Print.Print(u"tall", 1, false);
    ASSERT_TRUE(fs::exists(file));
    if (!HaveTool("pdftotext")) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    int32_t next = 0;
    for (int32_t p = 1; p <= pages; ++p) {
        std::istringstream text(PdfPageText(file.string(), p));
        std::vector<std::string> words;
        for (std::string word; text >> word;) {
            words.push_back(word);
        }
        ASSERT_GE(words.size(), 2u) << "page " << p;
        EXPECT_EQ(words[0], "h0c0l0") << "page " << p;
        EXPECT_EQ(words[1], "h0c1l0") << "page " << p;
        for (const std::string &word : words) {
            if (word.rfind("r2c1l", 0) == 0) {
                EXPECT_EQ(word, "r2c1l" + std::to_string(next++)) << "page " << p;
            }
        }
    }
    EXPECT_EQ(next, 160);
    const std::string all = RunCommand("pdftotext -raw '" + file.string() + "' -");
    for (const char *once : {"r1c0l0", "r2c0l0", "r3c1l0"}) {
        size_t found = 0;
        for (size_t at = all.find(once); at != std::string::npos; at = all.find(once, at + 1)) {
            ++found;
        }
        EXPECT_EQ(found, 1u) << once;
    }
}

} // namespace
