// The grid of a table: a cell (a document of its own), a row (the list of a row's cells) and
// the rows of one table with the main-cell lookup, the column queries and the algorithms that
// change the grid (merging and splitting, inserting and deleting rows and columns).
//
// The grid rule holds before and after every operation: every row holds ColCount positions; a
// position holds a cell of its own or nothing (nullptr); a cell whose ColSpan or RowSpan is
// above 1 covers the rectangle to its right and below it, and every covered position other than
// its own is empty. Every position is covered by exactly one cell, its main cell.
//
// Row and column indexes are checked only by the lists (EListError "List index out of bounds
// (%d)"); the checked entry points are the table's and the ones documented as checking here.
#pragma once

#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/styles/VDStyle_Borders.h"
#include "vizivodu/tables/VDDataList.h"
#include "vizivodu/tables/VDTable_Types.h"

#include <memory>
#include <vector>

namespace vizivodu {

class TVDTableItemInfo;
class TVDTableRow;
class TVDTableRows;
class TVDUndoInfo;

// One cell: a document with its own background colour, borders, preferred size and spans.
// Lengths are in style units, except the geometry (Left, Top, box width and height), which
// layout sets in device pixels relative to the table.
class TVDTableCellData : public TVDItemFormattedData {
    friend class TVDTableItemInfo;
    friend class TVDTableRows;

public:
    // A cell of row with default properties and one empty line (text style 0, paragraph 0).
    explicit TVDTableCellData(TVDTableRow *row);
    ~TVDTableCellData() override;

    // ---- Properties ----
    // The property Color: the cell's own colour (clNone: the table decides, GetColor).
    TColor GetOwnColor() const { return FColor; }
    // Also refreshes an in-place editor of this cell and the root's animated backgrounds.
    void SetColor(TColor value);
    TVDOpacity GetOpacity() const { return FOpacity; }
    void SetOpacity(TVDOpacity value);
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { FBorderColor = value; }
    TColor GetBorderLightColor() const { return FBorderLightColor; }
    void SetBorderLightColor(TColor value) { FBorderLightColor = value; }
    TVDHTMLLength GetBestWidth() const { return FBestWidth; }
    void SetBestWidth(TVDHTMLLength value) { FBestWidth = value; }
    TVDStyleLength GetBestHeight() const { return FBestHeight; }
    void SetBestHeight(TVDStyleLength value) { FBestHeight = value; }
    const TVDBooleanRect &GetVisibleBorders() const { return FVisibleBorders; }
    void SetVisibleBorders(const TVDBooleanRect &value) { FVisibleBorders.Assign(value); }
    TVDCellVAlign GetVAlign() const { return FVAlign; }
    void SetVAlign(TVDCellVAlign value) { FVAlign = value; }
    const rtl::UnicodeString &GetHint() const { return FHint; }
    void SetHint(const rtl::UnicodeString &value) { FHint = value; }
    const TVDTag &GetTag() const { return FTag; }
    void SetTag(const TVDTag &value) { FTag = value; }
    TVDTableCellOptions GetCellOptions() const { return FOptions; }
    void SetCellOptions(TVDTableCellOptions value) { FOptions = value; }
    const rtl::UnicodeString &GetBackgroundImageFileName() const {
        return FBackgroundImageFileName;
    }
    void SetBackgroundImageFileName(const rtl::UnicodeString &value) {
        FBackgroundImageFileName = value;
    }
    // The background picture (nullptr when none) and its style (vdbsColor without one).
    gfx::TGraphic *GetBackgroundImage() const;
    TVDItemBackgroundStyle GetBackgroundStyle() const;
    // A copy of value becomes the picture; nullptr removes it; nothing when value is the
    // picture already. The background exists only while it holds a picture or a style.
    void SetBackgroundImage(const gfx::TGraphic *value);
    void SetBackgroundStyle(TVDItemBackgroundStyle value);
    // The background record (nullptr when the cell has neither picture nor style).
    TVDBackground *GetCellBackground() const { return FBackground.get(); }
    // The stored rotation; GetRotation answers it (every supported system is of the NT family).
    TVDDocRotation GetRotation() override { return FRotation; }
    void SetRotation(TVDDocRotation value) { FRotation = value; }

    // Read-only: spans and the geometry of the last layout.
    int32_t GetColSpan() const { return FColSpan; }
    int32_t GetRowSpan() const { return FRowSpan; }
    int32_t GetLeft() const { return FLeft; }
    int32_t GetTop() const { return FTop; }
    int32_t GetBoxWidth() const { return FWidth; }
    int32_t GetBoxHeight() const { return FHeight; }

    // ---- Overridable operations, in the original's order ----
    // Copies Color, BorderColor, BorderLightColor, VisibleBorders, VAlign, BackgroundStyle and
    // picture, BackgroundImageFileName, Rotation, Options, Hint and Tag; with includeSize also
    // BestWidth div divColSpan and BestHeight div divRowSpan (truncating). Not Opacity, spans
    // or content.
    virtual void AssignAttributesFrom(const TVDTableCellData &cell, bool includeSize,
                                      int32_t divColSpan, int32_t divRowSpan);
    // Every property to its default; spans, geometry and content stay.
    virtual void ResetProperties();
    virtual bool HasExtraBackground() const { return false; }
    // A background of a descendant's own drawn over the cell's colour or picture in r
    // (convertSizeToScreen: r is in device pixels of psad, to be drawn at screen size);
    // nothing in the cell itself.
    virtual void DrawExtraBackground(gfx::TCanvas &, const rtl::TRect &, bool, bool,
                                     PVDScreenAndDevice, TVDTableItemFormattingInfo *, bool) {}

    // Copies the geometry of another cell (a replacement keeps its place until the next layout).
    void CopyBounds(const TVDTableCellData &source);

    // ---- Lookups ----
    // nullptr while detached or without a row.
    TVDTableItemInfo *GetTable() const;
    TVDTableRow *GetRow() const;
    bool IsDetached() const { return ContainerUndoItem != nullptr || FList == nullptr; }
    // The document that holds the content now: the cell itself while no in-place editor edits
    // it (the editor comes with the editing side).
    TCustomVDData *GetVDData() override { return this; }
    // The cell's editable document: opens the cell for editing when the table allows it.
    TCustomVDData *Edit();
    void GetParentInfo(int32_t &parentItemNo,
                       std::unique_ptr<TVDStoreSubVDData> &location) override;
    rtl::UnicodeString GetItemHint(TCustomVDData &vdData, int32_t itemNo,
                                   const rtl::UnicodeString &upperHint) override;
    // The resolved colour: the table's GetCellColor(row, col, true, true).
    uint32_t GetColor() override;
    // The table's GetCellColor(row, col, false, false).
    TColor GetCellColor();

    // False for no items; true for more than one; for one item: true with a checkpoint; with
    // checkStyles false only for an empty text item of text style 0 in paragraph 0, without it
    // false only for an empty text item.
    bool HasData(bool checkStyles);
    // False when an item is protected from deletion.
    bool CanClearCell();

    // VAlign, else the row's, else vdcMiddle.
    TVDCellVAlign GetRealVAlign() const;
    TVDVerticalAlign GetVerticalAlign() override;
    bool KeepTogether() override;
    bool UseVerticalFonts() override;

    // ---- Geometry (device pixels; HPad and VPad are the table's paddings in pixels) ----
    // The content box: the cell box without its padding.
    int32_t GetWidth() override;
    int32_t GetHeight() override;
    int32_t GetAreaWidth() override { return GetWidth(); }
    int32_t GetAreaHeight() override { return GetHeight(); }
    // The offsets that turn the cell's document coordinates into the root control's client
    // coordinates.
    int32_t GetHOffs() override;
    int32_t GetVOffs() override;
    rtl::TPoint GetOrigin() override;
    rtl::TPoint GetOriginEx() override;
    // How far the content lies below the top of the box by the vertical alignment (negative
    // when the content is taller than the box; 0 for a rotated cell).
    int32_t GetExtraVOffs();
    // The height the content needs (without padding): the document's height, or the best
    // height when that is larger; 0 for vertical text.
    int32_t GetCellHeight();
    // The narrowest width the content allows: the indents of an empty line, else the widest
    // word, at least 10; 0 for vertical text or no items.
    int32_t GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas &canvas);
    // Lines in reversed order (vdtcoReverseLineOrder) are mirrored top to bottom.
    bool IsLineOrderReversed() override { return FOptions.Contains(vdtcoReverseLineOrder); }
    void DoSelect() override {}
    // Then the parent document's and the table's coordinates.
    void ResetSubCoords() override;
    // What lies under an item of the cell: the paragraph's opaque colour, the selection colour,
    // else the cell's, the table's and the document's layers composed in a bitmap when any of
    // them is a picture or partly transparent.
    void GetItemBackground(int32_t itemNo, rtl::TRect &r, bool makeImageRect, gfx::TColor &color,
                           std::unique_ptr<gfx::TBitmap> &bmp, bool &useBitmap,
                           TVDGraphicInterface &graphicInterface, bool allowThumbnails,
                           bool printing) override;
    // Then the table makes this cell its focused cell.
    void AdjustFocus(int32_t newFocusedItemNo, TCustomVDFormattedData *topLevelVDData,
                     int32_t topLevelItemNo) override;

    // ---- The document's answers that differ from a root's ----
    // The root's options without vdoClientTextWidth.
    TVDOptions GetOptions() override;
    // Nothing while detached or while the table is not an item of a document.
    TVDMarkerList *GetMarkers(bool allowCreate) override;
    TVDSeqList *GetSeqList(bool allowCreate) override;
    std::vector<TCustomVDItemInfo *> *GetPrintFieldList(bool allowCreate) override;
    bool AllowsPageBreaks() override { return false; }
    // The items, then BestHeight, and BestWidth when it is absolute (a percentage stays).
    void ConvertToDifferentUnits(TVDStyleUnits newUnits, TVDStyle *vdStyle,
                                 bool convertItems) override;

    // Non-nil while the cell is detached and kept by an undo record (the editing side).
    TVDUndoInfo *ContainerUndoItem = nullptr;

private:
    TColor FColor = gfx::clNone;
    TVDCellVAlign FVAlign = vdcVDefault;
    TVDHTMLLength FBestWidth = 0;
    TVDStyleLength FBestHeight = 0;
    int32_t FRowSpan = 1;
    int32_t FColSpan = 1;
    int32_t FLeft = 0;
    int32_t FTop = 0;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
    TVDBooleanRect FVisibleBorders;
    std::unique_ptr<TVDBackground> FBackground;
    TColor FBorderColor = gfx::clNone;
    TColor FBorderLightColor = gfx::clNone;
    rtl::UnicodeString FBackgroundImageFileName;
    TVDDocRotation FRotation = vdrotNone;
    rtl::UnicodeString FHint;
    TVDTag FTag;
    TVDOpacity FOpacity = 100000;
    TVDTableCellOptions FOptions;
    int32_t FCachedRow = -1;
    int32_t FCachedCol = -1;

    // The cell's position in its table, -1 when it is not there.
    void GetPosition(int32_t &row, int32_t &col) const;
    // The cell's table is an item of a document: only then does the cell reach the document's
    // markers, sequences and print fields.
    bool IsInDocument();
    int32_t HPad();
    int32_t VPad();
    // The cell's layer of its own picture or colour (and extra background) over the bitmap.
    void DrawCellLayer(gfx::TBitmap &bmp, const rtl::TRect &r, gfx::TColor color,
                       TVDGraphicInterface &gi, bool allowThumbnails);
    int32_t CellLayer(gfx::TColor color, bool paragraphLayer) const;
    void ImageRect(TCustomVDFormattedData &data, int32_t itemNo, rtl::TRect &r);
    bool ComposeTableLayer(TVDTableItemInfo &table, TVDStyle &style, rtl::TRect &r,
                           int32_t cellLayer, gfx::TColor &color,
                           std::unique_ptr<gfx::TBitmap> &bmp, bool &useBitmap,
                           TVDGraphicInterface &gi, bool allowThumbnails, bool printing);
    void DrawTableLayer(TVDTableItemInfo &table, gfx::TBitmap &bmp, const rtl::TRect &r,
                        gfx::TColor color, TVDGraphicInterface &gi, bool allowThumbnails);
};

// One row: its cells by column, nullptr where a merged cell covers the position.
class TVDTableRow : public TVDDataList {
    friend class TVDTableRows;

public:
    // nCols new cells of the table's cell class; VAlign vdcTop.
    TVDTableRow(int32_t nCols, TVDTableRows *rows);
    ~TVDTableRow() override;

    TVDTableCellData *Get(rtl::Integer index) const {
        return static_cast<TVDTableCellData *>(TVDDataList::Get(index));
    }
    // Frees the cell the position held; a cell put there gets this row as its list.
    void Put(rtl::Integer index, std::unique_ptr<TVDTableCellData> cell);
    // Takes the cell out of its position, which becomes empty; the caller owns it.
    std::unique_ptr<TVDTableCellData> ReleaseCell(rtl::Integer index);
    TVDTableCellData *Add();
    TVDTableCellData *Insert(rtl::Integer index);
    void InsertEmpty(rtl::Integer index);
    void InsertCell(rtl::Integer index, std::unique_ptr<TVDTableCellData> cell);

    TCustomVDData *GetParentVDData() const override;
    TVDTableRows *GetRows() const { return FRows; }

    // The largest BestHeight of the row's own cells with RowSpan 1; 0 when none.
    TVDStyleLength GetBestHeight() const;
    // The largest GetCellHeight of the row's own cells with RowSpan 1; 10 when that is 0.
    int32_t GetHeight() const;
    // Whether some cell of the row ends inside rows firstRow .. firstRow + rowCount - 1.
    bool HasCellEndingWithin(int32_t rowIndex, int32_t firstRow, int32_t rowCount) const;

    TVDCellVAlign VAlign = vdcTop;
    bool PageBreakBefore = false;
    bool KeepTogether = false;

private:
    TVDTableRows *FRows;
    std::unique_ptr<TVDTableCellData> NewCell();
};

// The rows of one table.
class TVDTableRows : public TVDList<TVDTableRow> {
    friend class TVDTableItemInfo;

public:
    // nRows rows of nCols new cells.
    TVDTableRows(int32_t nRows, int32_t nCols, TCustomVDData *mainVDData, TVDTableItemInfo *table);
    ~TVDTableRows();
    TVDTableRows(const TVDTableRows &) = delete;
    TVDTableRows &operator=(const TVDTableRows &) = delete;

    // Frees every row, then makes nRows rows of nCols new cells. A negative count raises the
    // list's "List capacity out of bounds (%d)".
    void Reset(int32_t nRows, int32_t nCols);
    // No rows, or a first row without positions.
    bool Empty() const;
    TVDTableRow *Add(int32_t nCols);
    TVDTableRow *Insert(rtl::Integer index, int32_t nCols);
    void InsertRow(rtl::Integer index, std::unique_ptr<TVDTableRow> row);
    void Put(rtl::Integer index, std::unique_ptr<TVDTableRow> row);

    // The positions of row 0, 0 without rows.
    int32_t GetColCount() const;
    int32_t GetRowCount() const { return GetCount(); }
    // The cell at a position (nullptr where covered).
    TVDTableCellData *Cell(int32_t row, int32_t col) const { return Get(row)->Get(col); }
    // The cell that covers (aRow, aCol), with its own position; relies on the grid rule.
    TVDTableCellData *GetMainCell(int32_t aRow, int32_t aCol, int32_t &mRow, int32_t &mCol) const;

    TCustomVDData *GetMainVDData() const { return FMainVDData; }
    TVDTableItemInfo *GetTable() const { return FTable; }

    // ---- Column queries (cells of their own with ColSpan 1 only) ----
    // The largest minimum width (device pixels); 0 when none.
    int32_t GetColMinWidth(int32_t col, PVDScreenAndDevice sad, gfx::TCanvas &canvas) const;
    // The largest positive BestWidth; 0 when none or when one of them has a percentage.
    TVDHTMLLength GetColBestWidth(int32_t col) const;
    // The largest totalWidth * (-BestWidth) div 100 over the percentage cells; 0 when none.
    int32_t GetColPercentWidth(int32_t col, int32_t totalWidth) const;
    // A cell of the column has a percentage, or a merged cell with a percentage ends in it.
    bool ColHasPercentWidth(int32_t col) const;

    // ---- Merging, unmerging, splitting ----
    // Clips the spans to the grid; false when nothing is to merge (a span below 2 in both
    // directions, a covered corner, or a corner cell that spans the rectangle already).
    // EViziVoduError "Parameters for cell merging are not correct" for a clipped span below 1.
    bool CheckMergeParameters(int32_t topRow, int32_t leftCol, int32_t &colSpan, int32_t &rowSpan);
    // Whether the rectangle can become one cell: every cell in it lies wholly inside, and
    // without allowMergeRC every row and column keeps a cell of its own.
    bool CanMergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                       bool allowMergeRC);
    // Merges the rectangle into its top-left cell, which receives the others' content in
    // reading order. A rectangle that cannot be merged beeps and changes nothing.
    void MergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                    bool allowMergeRC, bool changeBestWidth);
    // The preferred width of a merged rectangle: the largest percentage of a row when any row
    // has one, else the largest sum of absolute widths of a row, else 0.
    TVDHTMLLength GetMergedBestWidth(int32_t topRow, int32_t leftCol, int32_t colSpan,
                                     int32_t rowSpan) const;
    // Unmerges every cell of the rectangle, from the bottom right to the top left. Not clipped.
    void UnmergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                      bool unmergeRows, bool unmergeCols);
    void UnmergeCell(int32_t row, int32_t col, bool unmergeRows, bool unmergeCols);
    // Splits one cell into count columns (rows); the number of columns (rows) added.
    int32_t SplitCellVertically(int32_t row, int32_t col, int32_t count);
    int32_t SplitCellHorizontally(int32_t row, int32_t col, int32_t count);
    int32_t SplitCellsVertically(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                                 int32_t count);
    int32_t SplitCellsHorizontally(int32_t topRow, int32_t leftCol, int32_t colSpan,
                                   int32_t rowSpan, int32_t count);

    // ---- Inserting and deleting rows and columns ----
    // Count columns before column index (index = ColCount appends); the new cells copy the
    // attributes of column copyIndex (-1: plain cells), with shareWidth taking their best widths
    // from it. EViziVoduError "Invalid row or column index" for a bad index, before any change.
    void InsertCols(int32_t index, int32_t count, int32_t copyIndex, bool shareWidth);
    void InsertRows(int32_t index, int32_t count, int32_t copyIndex, bool shareHeight);
    // Deletes count rows from index (a count past the end is cut, except from row 0, where it
    // is an error), cutting and shortening the cells that cross the block.
    void DeleteRows(int32_t index, int32_t count, bool decreaseHeight);
    void DeleteCols(int32_t index, int32_t count, bool decreaseWidth);

    // ---- Primitives (each changes one thing; the undo records come with the editing side) ----
    void ChangeSpan(int32_t row, int32_t col, bool isColSpan, int32_t newSpan);
    void ChangeEmptyCellStyles(int32_t row, int32_t col, int32_t styleNo, int32_t paraNo);
    // Count new rows of ColCount new cells at index; nothing for count <= 0.
    void InsertEmptyRows(int32_t index, int32_t count);
    void SpreadOverEmptyCells(int32_t row, int32_t col, int32_t count);
    void FreeCells(int32_t row, int32_t col, int32_t rowCount, int32_t colCount);
    void InsertEmptyCells(int32_t row, int32_t col, int32_t rowCount, int32_t colCount);
    void SplitRowSpan(int32_t row, int32_t col, bool decreaseHeight, int32_t newRow);
    void SplitColSpan(int32_t row, int32_t col, bool decreaseWidth, int32_t newCol);
    // Empties the cells at the listed positions: one empty line in the first text and paragraph
    // styles each had.
    void ClearCells(const std::vector<std::pair<int32_t, int32_t>> &positions);

private:
    TCustomVDData *FMainVDData;
    TVDTableItemInfo *FTable;

    std::unique_ptr<TVDTableRow> NewRow(int32_t nCols);
    void DoMergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                      bool changeBestWidth);
    bool IsMergeLeavingRowsAndCols(int32_t topRow, int32_t leftCol, int32_t colSpan,
                                   int32_t rowSpan);
    void DoUnmergeCell(int32_t row, int32_t col, bool unmergeRows, bool unmergeCols);
    void UnmergeCols(int32_t row, int32_t col, int32_t bestWidth);
    void InsertColsCopying(int32_t index, int32_t count, int32_t copyIndex, bool shareWidth,
                           const std::vector<bool> &widened);
    void InsertRowsCopying(int32_t index, int32_t count, int32_t copyIndex, bool shareHeight,
                           const std::vector<bool> &lengthened);
    void DeleteRowsEx(int32_t index, int32_t count);
    void DeleteColsEx(int32_t index, int32_t count);
};

} // namespace vizivodu
