// Test support for printing tables: labelled tables in a printed source, the row labels drawn
// on each page, the table's printing draw item, footnotes in cells and their pages.
#pragma once

#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "tests/vizivodu/tables/TableTestSupport.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/tables/VDTable_Print.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace vizivodu::test {

// A table of rows x cols in the source whose first column names its row ("H0" for heading rows,
// "R7" for body rows); the other cells hold words from rng (1 to maxWords of them).
TVDTableItemInfo &AddLabelledTable(TPrintFixture &f, int32_t rows, int32_t cols, int32_t heading,
                                   std::mt19937 &rng, int32_t maxWords);

// The row labels printed on each page, in the order they are drawn.
std::vector<std::vector<std::string>> LabelsByPage(TRecordingPrintFixture &f, int32_t pages);

TVDTablePrintInfo *PrintItem(TPrintFixture &f);

class TablePrinting : public ::testing::Test {
protected:
    TRecordingPrintFixture F;
    std::mt19937 Rng{7};
};

// A footnote in cell (row, col) of the table holding the text; answers its printable document
// after pagination through the component.
TVDFootnoteItemInfo &AddCellFootnote(TVDTableItemInfo &table, int32_t row, int32_t col,
                                     const std::u16string &text);

// The page whose footnote list holds the footnote; 0 for none.
int32_t FootnotePage(TPrintFixture &f, const TVDFootnoteItemInfo &note);

// The page on which a row label is printed; 0 for none.
int32_t RowPage(const std::vector<std::vector<std::string>> &labels, const std::string &row);

} // namespace vizivodu::test
