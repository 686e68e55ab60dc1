// RTF tables into table items: grids of rows with their own boundaries, merged and nested
// cells, cell properties, table-wide spacing, and tables that end badly.
#include "vizivodu/formats/rtf/VDRTFProps.h"
#include "vizivodu/formats/rtf/VDRTFTableGrid.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vizivodu {
namespace {

// Items of a document: text items by their text, others by their style number; "|" between
// paragraphs.
std::string Items(TCustomVDData &doc) {
    std::string out;
    for (int32_t i = 0; i < doc.ItemCount(); ++i) {
        TCustomVDItemInfo *item = doc.GetItem(i);
        if (i > 0 && !item->GetSameAsPrev()) {
            out += "|";
        }
        out += item->IsText() ? rtl::Utf16ToUtf8(doc.GetItemText(i))
                              : "#" + std::to_string(item->StyleNo);
    }
    return out;
}

// "rows x cols", then each cell of its own: [row,col spans] items.
std::string Shape(TVDTableItemInfo &t) {
    std::string out = std::to_string(t.GetRowCount()) + "x" + std::to_string(t.GetColCount());
    for (int32_t r = 0; r < t.GetRowCount(); ++r) {
        for (int32_t c = 0; c < t.GetColCount(); ++c) {
            TVDTableCellData *cell = t.GetCells(r, c);
            if (!cell) {
                continue;
            }
            out += " [" + std::to_string(r) + "," + std::to_string(c);
            if (cell->GetColSpan() > 1 || cell->GetRowSpan() > 1) {
                out += " " + std::to_string(cell->GetColSpan()) + "x" +
                       std::to_string(cell->GetRowSpan());
            }
            out += "]" + Items(*cell);
        }
    }
    return out;
}

class RTFTableReading : public testing::Test {
protected:
    RTFTableReading() : Style(nullptr), Doc(&Style) {}

    TVDRTFErrorCode Read(const std::string &rtf) {
        rtl::TMemoryStream stream;
        stream.Write(rtf.data(), int32_t(rtf.size()));
        stream.SetPosition(0);
        return Props.ReadFromStream(stream, Doc, false);
    }

    TVDTableItemInfo *Table(int32_t itemNo) {
        return itemNo < Doc.ItemCount() ? dynamic_cast<TVDTableItemInfo *>(Doc.GetItem(itemNo))
                                        : nullptr;
    }

    TVDStyle Style;
    test::TTestDocument Doc;
    TVDRTFReaderProperties Props;
};

struct TTableCase {
    const char *Name;
    std::string Rtf;
    std::string Shape; // of the document's first item, a table
};

class RTFTableShapes : public RTFTableReading, public testing::WithParamInterface<TTableCase> {};

TEST_P(RTFTableShapes, RowsBecomeOneGrid) {
    ASSERT_EQ(Read("{\\rtf1 " + GetParam().Rtf + "}"), rtf_ec_OK);
    TVDTableItemInfo *table = Table(0);
    ASSERT_NE(table, nullptr) << Items(Doc);
    EXPECT_EQ(Shape(*table), GetParam().Shape);
}

const TTableCase TableCases[] = {
    {"SameBoundariesGiveAPlainGrid",
     "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row"
     "\\trowd\\cellx1000\\cellx2000\\intbl c\\cell d\\cell\\row",
     "2x2 [0,0]a [0,1]b [1,0]c [1,1]d"},
    {"NewBoundaryAddsAColumnTheFirstRowSpans",
     "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row"
     "\\trowd\\cellx500\\cellx2000\\intbl c\\cell d\\cell\\row",
     "2x3 [0,0 2x1]a [0,2]b [1,0]c [1,1 2x1]d"},
    {"IndentedRowGetsAFillerOnItsLeft",
     "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row"
     "\\trowd\\trleft500\\cellx1000\\cellx2000\\intbl c\\cell d\\cell\\row",
     "2x3 [0,0 2x1]a [0,2]b [1,0] [1,1]c [1,2]d"},
    {"VerticallyMergedCellsBecomeOneCell",
     "\\trowd\\clvmgf\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row"
     "\\trowd\\clvmrg\\cellx1000\\cellx2000\\intbl\\cell d\\cell\\row",
     "2x2 [0,0 1x2]a [0,1]b [1,1]d"},
    {"HorizontallyMergedCellsBecomeOneCell",
     "\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\cellx3000\\intbl a\\cell\\cell c\\cell\\row",
     "1x3 [0,0 2x1]a [0,2]c"},
    {"RowWithoutNewDefinitionKeepsThePrevious",
     "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row\\intbl c\\cell d\\cell\\row",
     "2x2 [0,0]a [0,1]b [1,0]c [1,1]d"},
    {"EmptyCellHoldsAnEmptyParagraph", "\\trowd\\cellx1000\\cellx2000\\intbl\\cell b\\cell\\row",
     "1x2 [0,0] [0,1]b"},
    {"ParagraphsOfACellStayParagraphs", "\\trowd\\cellx1000\\intbl a\\par b\\cell\\row",
     "1x1 [0,0]a|b"},
    {"TextBetweenLastCellAndRowIsDropped", "\\trowd\\cellx1000\\intbl a\\cell x\\row",
     "1x1 [0,0]a"},
    {"NestedTableGoesIntoItsCell",
     "\\trowd\\cellx2000\\cellx4000\\pard\\intbl a\\cell"
     "\\pard\\intbl\\itap2 b\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\nestrow}"
     "{\\nonesttables\\par}\\pard\\intbl c\\cell\\row",
     "1x2 [0,0]a [0,1]#-60|c"},
    // Mended: text of cells the row does not define is kept in cells of a default width.
    {"CellsBeyondTheirDefinitionsKeepTheirText", "\\trowd\\cellx1000\\intbl a\\cell b\\cell\\row",
     "1x2 [0,0]a [0,1]b"},
    // Mended: boundaries out of order or absurdly far still give each cell a column.
    {"DisorderedBoundariesGiveEachCellAColumn",
     "\\trowd\\cellx3000\\cellx1000\\cellx2147483647\\intbl a\\cell b\\cell c\\cell\\row",
     "1x3 [0,0]a [0,1]b [0,2]c"},
};

INSTANTIATE_TEST_SUITE_P(Cases, RTFTableShapes, testing::ValuesIn(TableCases),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST_F(RTFTableReading, NestedTableHoldsItsOwnCells) {
    ASSERT_EQ(Read("{\\rtf1\\trowd\\cellx2000\\pard\\intbl\\itap2 b\\nestcell c\\nestcell"
                   "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}"
                   "{\\nonesttables\\par}\\pard\\intbl\\cell\\row}"),
              rtf_ec_OK);
    TVDTableItemInfo *outer = Table(0);
    ASSERT_NE(outer, nullptr);
    TCustomVDData &cell = *outer->GetCells(0, 0);
    ASSERT_GE(cell.ItemCount(), 1);
    auto *inner = dynamic_cast<TVDTableItemInfo *>(cell.GetItem(0));
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(Shape(*inner), "1x2 [0,0]b [0,1]c");
}

TEST_F(RTFTableReading, TextAroundATableStaysOutsideIt) {
    ASSERT_EQ(Read("{\\rtf1 before\\par\\trowd\\cellx1000\\intbl a\\cell\\row\\pard after\\par}"),
              rtf_ec_OK);
    EXPECT_EQ(Items(Doc), "before|#-60|after");
}

TEST_F(RTFTableReading, CellPropertiesReachTheCells) {
    ASSERT_EQ(Read("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}"
                   "\\trowd\\clcbpat1\\clvertalc\\clbrdrl\\brdrs\\brdrw15\\brdrcf1\\cellx1500"
                   "\\cltxbtlr\\clvertalb\\cellx3000\\intbl a\\cell b\\cell\\row}"),
              rtf_ec_OK);
    TVDTableItemInfo *table = Table(0);
    ASSERT_NE(table, nullptr);
    TVDTableCellData &a = *table->GetCells(0, 0);
    TVDTableCellData &b = *table->GetCells(0, 1);
    EXPECT_EQ(a.GetOwnColor(), gfx::TColor(0x0000FF));
    EXPECT_EQ(a.GetVAlign(), vdcMiddle);
    EXPECT_TRUE(a.GetVisibleBorders().Left);
    EXPECT_FALSE(a.GetVisibleBorders().Top);
    EXPECT_EQ(a.GetBorderColor(), gfx::TColor(0x0000FF));
    EXPECT_EQ(b.GetOwnColor(), gfx::clNone);
    EXPECT_EQ(b.GetVAlign(), vdcBottom);
    EXPECT_EQ(b.GetRotation(), vdrot270);
    // 1500 twips are 100 pixels; no padding is taken off.
    EXPECT_EQ(a.GetBestWidth(), 100);
}

TEST_F(RTFTableReading, RowsWithoutSpacingCollapseTheirBorders) {
    const std::string cell = "\\clbrdrl\\brdrs\\brdrw15\\clbrdrt\\brdrs\\brdrw15"
                             "\\clbrdrr\\brdrs\\brdrw15\\clbrdrb\\brdrs\\brdrw15";
    ASSERT_EQ(Read("{\\rtf1\\trowd" + cell + "\\cellx1000" + cell +
                   "\\cellx2000\\intbl a\\cell b\\cell\\row\\intbl c\\cell d\\cell\\row}"),
              rtf_ec_OK);
    TVDTableItemInfo *table = Table(0);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetCellBorderWidth(), 1);
    EXPECT_EQ(table->GetCellHSpacing(), -1);
    EXPECT_EQ(table->GetCellVSpacing(), -1);
    EXPECT_EQ(table->GetCellBorderStyle(), vdtbColor);
}

TEST_F(RTFTableReading, PaddingOfEachSideAndPercentWidthReachTheTable) {
    ASSERT_EQ(Read("{\\rtf1\\trowd\\trpaddl150\\trpaddr150\\trpaddfl3\\trpaddfr3"
                   "\\trpaddt300\\trpaddft3"
                   "\\trftsWidth2\\trwWidth2500\\cellx3000\\intbl a\\cell\\row}"),
              rtf_ec_OK);
    TVDTableItemInfo *table = Table(0);
    ASSERT_NE(table, nullptr);
    // Mended: each padding keyword sets its own side (the right one set the top).
    EXPECT_EQ(table->GetCellHPadding(), 10);
    EXPECT_EQ(table->GetCellVPadding(), 10);
    EXPECT_EQ(table->GetBestWidth(), -50);
    // The cell's width is its boundaries' distance without the padding on both sides.
    EXPECT_EQ(table->GetCells(0, 0)->GetBestWidth(), 200 - 20);
}

TEST_F(RTFTableReading, AutoHideTableGridLinesHidesThem) {
    Props.AutoHideTableGridLines = true;
    ASSERT_EQ(Read("{\\rtf1\\trowd\\cellx1000\\intbl a\\cell\\row}"), rtf_ec_OK);
    ASSERT_NE(Table(0), nullptr);
    EXPECT_TRUE(Table(0)->GetTableOptions().Contains(vdtoHideGridLines));
}

TEST_F(RTFTableReading, IgnoreTablesReadsCellsAsText) {
    Props.IgnoreTables = true;
    ASSERT_EQ(Read("{\\rtf1\\trowd\\cellx1000\\intbl a\\cell\\row}"), rtf_ec_OK);
    EXPECT_EQ(Table(0), nullptr);
}

// Mended: a table whose row never ends keeps the text of every cell in the document.
TEST_F(RTFTableReading, RowWithoutEndKeepsTheTextOfEveryCell) {
    ASSERT_EQ(Read("{\\rtf1\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell}"), rtf_ec_OK);
    EXPECT_EQ(Items(Doc), "a|b");
}

TEST_F(RTFTableReading, FailedReadLeavesNoTable) {
    ASSERT_EQ(Read("{\\rtf1\\trowd\\cellx1000\\intbl a\\cell\\row"), rtf_ec_UnmatchedBrace);
    EXPECT_EQ(Doc.ItemCount(), 0);
}

TEST_F(RTFTableReading, LastRowStartsANewTable) {
    ASSERT_EQ(Read("{\\rtf1\\trowd\\lastrow\\cellx1000\\intbl a\\cell\\row"
                   "\\trowd\\cellx1000\\intbl b\\cell\\row}"),
              rtf_ec_OK);
    ASSERT_NE(Table(0), nullptr);
    ASSERT_NE(Table(1), nullptr);
    EXPECT_EQ(Shape(*Table(0)), "1x1 [0,0]a");
    EXPECT_EQ(Shape(*Table(1)), "1x1 [0,0]b");
}

// ---- Files written by other programs ----

struct TCorpusTableCase {
    const char *File;
    int32_t TableNo; // the n-th table of the document
    std::string Shape;
};

class RTFCorpusTables : public RTFTableReading,
                        public testing::WithParamInterface<TCorpusTableCase> {};

// The shapes LibreOffice shows for the same files (rows, columns and merged cells).
TEST_P(RTFCorpusTables, ShapesAreThoseOfTheWritingProgram) {
    std::ifstream in(std::string(WB_TEST_DATA) + "/vizivodu/formats/rtf/" + GetParam().File,
                     std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    ASSERT_EQ(Read(ss.str()), rtf_ec_OK);
    int32_t n = GetParam().TableNo;
    for (int32_t i = 0; i < Doc.ItemCount(); ++i) {
        if (TVDTableItemInfo *table = Table(i); table && n-- == 0) {
            EXPECT_EQ(Shape(*table), GetParam().Shape);
            return;
        }
    }
    ADD_FAILURE() << "no table " << GetParam().TableNo;
}

const TCorpusTableCase CorpusTableCases[] = {
    {"lo_styles.rtf", 0,
     "4x2 [0,0 2x1]Merged header [1,0]A1 [1,1]B1 [2,0 1x2]Tall [2,1]B2 [3,1]B3"},
    {"lo_tables.rtf", 0,
     "4x3 [0,0]Имя [0,1 2x1]Merged across two [1,0 1x3]Три строки [1,1]B2 [1,2]C2 [2,1]B3 "
     "[2,2]C3 [3,1 2x1]Внизу"},
    {"pandoc_tables.rtf", 0,
     "3x3 [0,0]Имя| [0,1]Value| [0,2]Заметка| [1,0]Один| [1,1]1| [1,2]first| [2,0]Два| "
     "[2,1]22| [2,2]second|"},
};

INSTANTIATE_TEST_SUITE_P(Files, RTFCorpusTables, testing::ValuesIn(CorpusTableCases),
                         [](const auto &info) {
                             std::string n = info.param.File;
                             return n.substr(0, n.find('.'));
                         });

// ---- The grid alone ----

TEST(RTFGrid, TooManyBoundariesPlaceCellsSideBySide) {
    std::vector<TVDRTFGridRow> rows(2);
    for (int32_t i = 1; i <= RTFGridMaxColumns; ++i) {
        rows[0].Cells.push_back({i * 10});
        rows[1].Cells.push_back({i * 10 + 5});
    }
    rows[1].Cells.resize(3);
    const TVDRTFGrid grid = BuildRTFGrid(rows);
    EXPECT_EQ(grid.ColCount, RTFGridMaxColumns);
    ASSERT_EQ(grid.Cells.size(), size_t(RTFGridMaxColumns + 3));
    const TVDRTFGridCell &last = grid.Cells.back();
    EXPECT_EQ(last.Row, 1);
    EXPECT_EQ(last.Col, 2);
    EXPECT_EQ(last.ColSpan, RTFGridMaxColumns - 2);
}

TEST(RTFGrid, BoundariesWithinOneTwipAreOne) {
    std::vector<TVDRTFGridRow> rows(2);
    rows[0].Cells = {{1000}, {2000}};
    rows[1].Cells = {{1001}, {1999}};
    const TVDRTFGrid grid = BuildRTFGrid(rows);
    EXPECT_EQ(grid.ColCount, 2);
    EXPECT_EQ(grid.Boundaries, (std::vector<int32_t>{0, 1000, 1999}));
}

} // namespace
} // namespace vizivodu
