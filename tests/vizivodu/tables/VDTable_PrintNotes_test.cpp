// Notes in printed tables: footnotes in cells on the pages of their rows (rows retried with
// their footnotes' room), sidenotes in cells placed relative to the cell, and a table begun on
// the next page drawn there only.
#include "vizivodu/tables/VDTable_Print.h"

#include "tests/vizivodu/tables/TablePrintTestSupport.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/document/VDSidenotes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

// Mended: a table whose first part does not fit below the text begins the next page with that
// part; the page before no longer draws the part as well (the page's draw items end before an
// item that the next page begins with its first part).
TEST_F(TablePrinting, ATableBegunOnTheNextPageIsNotDrawnOnThePageBefore) {
    for (int i = 0; i < 45; ++i) {
        F.Source.AddNL(u"Line", 0, 0);
    }
    TVDTableItemInfo &table = AddLabelledTable(F, 20, 2, 0, Rng, 1);
    table.GetCells(0, 0)->SetBestHeight(100); // 625 printer pixels, where 3 lines of room are left
    ASSERT_EQ(F.Paginate(), 2);
    const TVDPageInfo &second = F.Data().Pages->Items(1);
    ASSERT_EQ(second.StartPart, 1);
    int32_t startNo = 0, endNo = -1, part = -1;
    F.Data().GetDrawItemsRange(1, startNo, endNo, part);
    EXPECT_EQ(endNo, second.StartDrawItemNo - 1);
    const auto labels = LabelsByPage(F, 2);
    EXPECT_TRUE(labels[0].empty());
    ASSERT_FALSE(labels[1].empty());
    EXPECT_EQ(labels[1].front(), "R0");
}

// A sidenote in a cell, relative to the cell: anchored to the text area it takes the cell's
// inner rectangle; anchored to its character and line, those in the cell on the page.
TEST_F(TablePrinting, ASidenoteInACellIsPlacedRelativeToTheCell) {
    TVDTableItemInfo &table = AddLabelledTable(F, 3, 2, 0, Rng, 1);
    TVDTableCellData &cell = *table.GetCells(1, 1);
    for (const bool toTextArea : {true, false}) {
        AddNote<TVDSidenoteItemInfo>(cell, [&](TVDSidenoteItemInfo &note) {
            note.GetDocument().AddNL(u"N", 0, 0);
            if (toTextArea) {
                note.GetBoxPosition().HorizontalAnchor = vdhanMainTextArea;
                note.GetBoxPosition().VerticalAnchor = vdvanMainTextArea;
            }
        });
    }
    ASSERT_EQ(F.Paginate(), 1);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    TVDSidenoteList *boxes = F.Data().GetSidenoteList(1);
    ASSERT_TRUE(boxes);
    ASSERT_EQ(boxes->GetCount(), 2);
    const TVDTableStoreSubVDData location(1, 1);
    rtl::TRect inner, outer;
    rtl::TPoint origin;
    const int32_t part = info->GetPartsList().Count() > 0 ? 0 : -1;
    ASSERT_TRUE(info->GetSubDocCoords(location, part, inner, outer, origin));
    const int32_t x0 = F.Data().GetPrintableAreaLeft(1) + info->GetObjectLeft();
    const int32_t y0 = F.Data().TmpMNormal.Top + F.Data().TmpTMPix + info->Top;
    const TVDScreenAndDevice &sad = F.Data().PrnSad;
    for (rtl::Integer k = 0; k < boxes->GetCount(); ++k) {
        const TVDSidenotePtblVDData &box = *boxes->Get(k);
        const TVDBoxProperties &props = box.Sidenote->GetBoxProperties();
        const int32_t lp = props.GetTotalLeftPaddingSaD(F.Style, &sad);
        const int32_t tp = props.GetTotalTopPaddingSaD(F.Style, &sad);
        if (box.Sidenote->GetBoxPosition().HorizontalAnchor == vdhanMainTextArea) {
            EXPECT_EQ(box.FullRect.Left, x0 + inner.Left + lp);
            EXPECT_EQ(box.FullRect.Top, y0 + inner.Top + tp);
        } else {
            TCellPtblVDData &printed = *info->CellAt(1, 1);
            const int32_t d =
                printed.FindDrawItemByItem(printed.GetItems().IndexOfObject(box.Sidenote));
            ASSERT_GE(d, 0);
            EXPECT_EQ(box.FullRect.Left, x0 + origin.X + printed.DrawItems[d]->Left + lp);
            EXPECT_EQ(box.FullRect.Top, y0 + origin.Y + printed.DrawItems[d]->Top + tp);
        }
    }
}

// Footnotes in cells reach the page their rows print on, in a table cut into parts and in one
// printed whole, and are drawn there.
TEST_F(TablePrinting, AFootnoteInACellReachesThePageOfItsRow) {
    for (const bool split : {true, false}) {
        TRecordingPrintFixture f;
        for (int i = 0; i < (split ? 0 : 60); ++i) {
            f.Source.AddNL(u"Line", 0, 0);
        }
        TVDTableItemInfo &table = AddLabelledTable(f, split ? 80 : 6, 2, 1, Rng, 1);
        if (!split) {
            table.SetPrintOptions({});
        }
        const int32_t row = split ? 60 : 4;
        TVDFootnoteItemInfo &note = AddCellFootnote(table, row, 1, u"Cell footnote");
        const int32_t pages = f.Paginate();
        ASSERT_GE(pages, 2) << split;
        ASSERT_TRUE(f.Print.GetVD().GetFootnoteVDData(&note)) << split;
        const auto labels = LabelsByPage(f, pages);
        const int32_t page = RowPage(labels, "R" + std::to_string(row));
        EXPECT_GE(page, 2) << split;
        EXPECT_EQ(FootnotePage(f, note), page) << split;
        const std::vector<std::u16string> texts = f.PageTexts(page);
        EXPECT_EQ(std::count(texts.begin(), texts.end(), u"Cell footnote"), 1) << split;
    }
}

// A row that fits its page only without the footnote its cell references is measured again
// with the footnote's room taken off: it goes to the next page with its footnote. A row higher
// up keeps its footnote on the first page, which then holds fewer rows, all above the
// footnote and its separator.
TEST_F(TablePrinting, ARowThatFitsOnlyWithoutItsFootnoteIsRetriedWithTheFootnotesRoom) {
    int32_t lastOnPage1 = 0;
    {
        TRecordingPrintFixture f;
        AddLabelledTable(f, 100, 2, 0, Rng, 1);
        const int32_t pages = f.Paginate();
        const auto labels = LabelsByPage(f, pages);
        ASSERT_FALSE(labels[0].empty());
        lastOnPage1 = std::stoi(labels[0].back().substr(1));
    }
    for (const int32_t row : {lastOnPage1, 5}) {
        TRecordingPrintFixture f;
        TVDTableItemInfo &table = AddLabelledTable(f, 100, 2, 0, Rng, 1);
        TVDFootnoteItemInfo &note = AddCellFootnote(table, row, 1, u"Cell footnote");
        const int32_t pages = f.Paginate();
        const auto labels = LabelsByPage(f, pages);
        const int32_t page = RowPage(labels, "R" + std::to_string(row));
        EXPECT_EQ(page, row == 5 ? 1 : 2) << row;
        EXPECT_EQ(FootnotePage(f, note), page) << row;
        EXPECT_LT(std::stoi(labels[0].back().substr(1)), lastOnPage1) << row;
        const TVDPageInfo &first = f.Data().Pages->Items(page - 1);
        const TVDFootnotePtblVDData &printed = *f.Print.GetVD().GetFootnoteVDData(&note);
        const int32_t textEnd = f.Data().TmpMNormal.Top + f.Data().TmpTMPix + first.DocumentHeight +
                                f.Print.GetVD().GetNoteSeparatorHeight();
        // Placed where pagination put it: MoveFootnotesBelowText had nothing to move.
        EXPECT_LE(textEnd, printed.Top) << row;
        EXPECT_EQ(printed.Top + printed.DocumentHeight,
                  f.Data().GetPageHeight() - f.Data().TmpMNormal.Bottom)
            << row;
    }
}

} // namespace
