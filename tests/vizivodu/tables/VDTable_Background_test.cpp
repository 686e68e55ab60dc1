// Background pictures of tables and cells, what lies under an item drawn inside a cell, and the
// table's answers to its formatted document: selection by keys, the selection of the document,
// focus, page-break positions and hiding.
#include "vizivodu/tables/VDTable.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/tables/TableTestSupport.h"
#include "vizivodu/document/VDGrHandler.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

class TableBackground : public ::testing::Test {
protected:
    TableBackground() : Doc(&Style) {
        InitializeGraphicHandler(); // pictures are copied through the graphic handler
        Doc.Width = 200;
        Doc.AreaWidth = 200;
        Picture.SetSize(4, 4);
        Picture.GetCanvas().GetBrush().SetColor(gfx::clBlue);
        Picture.GetCanvas().FillRect(rtl::Rect(0, 0, 4, 4));
    }

    TVDTableItemInfo &Add(int32_t rows, int32_t cols) {
        auto table = TVDTableItemInfo::CreateEx(rows, cols, &Doc);
        TVDTableItemInfo &result = *table;
        Doc.AddItem(u"", std::move(table));
        return result;
    }

    TLayoutStyle Style;
    TTestFormattedDocument Doc;
    gfx::TBitmap Picture;
};

} // namespace

TEST_F(TableBackground, ABackgroundExistsOnlyWhileItHoldsAPictureOrAStyle) {
    TVDTableItemInfo &table = Add(1, 1);
    TVDTableCellData &cell = *table.GetCells(0, 0);
    EXPECT_EQ(cell.GetCellBackground(), nullptr);
    EXPECT_EQ(cell.GetBackgroundStyle(), vdbsColor);
    table.SetCellBackgroundStyle(vdbsTiled, 0, 0);
    ASSERT_NE(cell.GetCellBackground(), nullptr); // a style alone keeps a background
    EXPECT_EQ(cell.GetBackgroundStyle(), vdbsTiled);
    EXPECT_EQ(cell.GetBackgroundImage(), nullptr);
    table.SetCellBackgroundStyle(vdbsColor, 0, 0);
    EXPECT_EQ(cell.GetCellBackground(), nullptr);

    table.SetCellBackgroundImage(&Picture, 0, 0);
    ASSERT_NE(cell.GetBackgroundImage(), nullptr);
    EXPECT_NE(cell.GetBackgroundImage(), &Picture); // a copy
    gfx::TGraphic *copy = cell.GetBackgroundImage();
    cell.SetBackgroundImage(copy); // the same picture: nothing
    EXPECT_EQ(cell.GetBackgroundImage(), copy);
    cell.SetBackgroundImage(nullptr);
    EXPECT_EQ(cell.GetCellBackground(), nullptr); // no picture and the colour style: gone

    table.SetBackgroundStyle(vdbsStretched); // an inserted table: by name
    ASSERT_NE(table.GetTableBackground(), nullptr);
    table.SetBackgroundImage(&Picture);
    EXPECT_NE(table.GetBackgroundImage(), nullptr);
    auto copyTable = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    copyTable->AssignProperties(table);
    EXPECT_EQ(copyTable->GetBackgroundStyle(), vdbsStretched);
    EXPECT_NE(copyTable->GetBackgroundImage(), nullptr);
    table.SetBackgroundStyle(vdbsColor);
    table.SetBackgroundImage(nullptr);
    EXPECT_EQ(table.GetTableBackground(), nullptr);
}

TEST_F(TableBackground, ItemsInCellsAreDrawnOnTheRightBackground) {
    TVDTableItemInfo &table = Add(1, 1);
    Doc.Format(false, false);
    TVDTableCellData &cell = *table.GetCells(0, 0);
    rtl::TRect r = rtl::Rect(0, 0, 4, 3);
    TColor color = gfx::clNone;
    std::unique_ptr<gfx::TBitmap> bmp;
    bool useBitmap = true;
    // A transparent cell in an opaque table: the table's colour.
    cell.GetItemBackground(0, r, false, color, bmp, useBitmap, *Style.GI, false, false);
    EXPECT_FALSE(useBitmap);
    EXPECT_EQ(color, gfx::clWindow);

    // An opaque paragraph colour: that colour.
    Style.GetParaStyles().GetItem(1).GetBackground().Color = gfx::clLime;
    SetCellText(cell, u"x", 0, 1);
    cell.GetItemBackground(0, r, false, color, bmp, useBitmap, *Style.GI, false, false);
    EXPECT_FALSE(useBitmap);
    EXPECT_EQ(color, gfx::clLime);

    // A semi-transparent cell colour over the table's picture: a bitmap with both.
    SetCellText(cell, u"x", 0, 0);
    table.SetBackgroundImage(&Picture);
    table.SetBackgroundStyle(vdbsTiled);
    table.SetCellColor(gfx::clRed, 0, 0);
    table.SetCellOpacity(50000, 0, 0);
    cell.GetItemBackground(0, r, false, color, bmp, useBitmap, *Style.GI, false, false);
    ASSERT_TRUE(useBitmap);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->GetWidth(), 4);
    EXPECT_EQ(bmp->GetHeight(), 3);
    // The test interface blends by covering: the cell's colour lies on top.
    EXPECT_EQ(gfx::ColorToRGB(bmp->GetCanvas().GetPixel(1, 1)), gfx::ColorToRGB(gfx::clRed));

    // An opaque cell colour is the whole answer.
    table.SetCellOpacity(100000, 0, 0);
    cell.GetItemBackground(0, r, false, color, bmp, useBitmap, *Style.GI, false, false);
    EXPECT_FALSE(useBitmap);
    EXPECT_EQ(color, gfx::clRed);
}

TEST_F(TableBackground, TheArrowKeysMoveTheFarCornerOfACellSelection) {
    Doc.SetOptions(Doc.GetOptions() + TVDOptions{vdoAllowSelection});
    TVDTableItemInfo &table = Add(3, 3);
    constexpr uint16_t left = 0x25, up = 0x26, right = 0x27, down = 0x28;
    table.KeyDown(right, false); // no selection: nothing
    table.Select(1, 1, 0, 0);
    table.KeyDown(right, false);
    table.KeyDown(down, false);
    int32_t startRow = 0, startCol = 0, rowOffs = 0, colOffs = 0;
    ASSERT_TRUE(table.GetSelectionBounds(startRow, startCol, rowOffs, colOffs));
    EXPECT_EQ(rowOffs, 1);
    EXPECT_EQ(colOffs, 1);
    EXPECT_TRUE(table.IsCellSelected(2, 2));
    table.KeyDown(right, false); // at the last column: unchanged
    table.GetSelectionBounds(startRow, startCol, rowOffs, colOffs);
    EXPECT_EQ(colOffs, 1);
    table.KeyDown(left, false);
    table.KeyDown(left, false);
    table.KeyDown(left, false);
    table.KeyDown(up, false);
    table.GetSelectionBounds(startRow, startCol, rowOffs, colOffs);
    EXPECT_EQ(colOffs, -1);
    EXPECT_EQ(rowOffs, 0);
    EXPECT_TRUE(table.IsCellSelected(1, 0));
    EXPECT_FALSE(table.IsCellSelected(2, 0));
    table.SetTableOptions(table.GetTableOptions() + TVDTableOptions{vdtoNoCellSelect});
    table.KeyDown(right, false);
    table.GetSelectionBounds(startRow, startCol, rowOffs, colOffs);
    EXPECT_EQ(colOffs, -1);
}

TEST_F(TableBackground, ATableInsideTheDocumentsSelection) {
    Doc.AddNL(u"before", 0, 0);
    TVDTableItemInfo &table = Add(1, 1);
    Doc.AddNL(u"after", 0, 0);
    Doc.Format(false, false);
    EXPECT_FALSE(table.IsInsideSelection());
    Doc.SelectAll();
    EXPECT_TRUE(table.IsInsideSelection());
    Doc.RestoreSelBounds(1, 2, 0, 1, false); // from before the table into the next paragraph
    EXPECT_TRUE(table.IsInsideSelection());
    Doc.RestoreSelBounds(1, 1, 1, 1, false); // the caret after the table
    EXPECT_FALSE(table.IsInsideSelection());
}

TEST_F(TableBackground, FocusPageBreaksAndHiding) {
    TVDTableItemInfo &table = Add(2, 2);
    Doc.Format(false, false);
    TCustomVDData *top = nullptr;
    int32_t topItemNo = -1;
    EXPECT_FALSE(table.MoveFocus(true, top, topItemNo)); // nothing can take the focus
    EXPECT_EQ(table.FocusedCellRow, -1);
    EXPECT_EQ(table.GetSoftPageBreakDY(1), table.GetFormattingInfo().RowStarts.Get(1));
    EXPECT_EQ(table.GetSoftPageBreakDY(2), table.GetFormattingInfo().FHeight);
    table.Hiding();
    EXPECT_EQ(table.GetFormattingInfo().ColWidths.GetCount(), 0);
    Doc.Format(true, false);
    EXPECT_EQ(table.GetFormattingInfo().ColWidths.GetCount(), 2);
}
