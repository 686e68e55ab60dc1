// The table item (style number -60): a grid of cells, each a document of its own, with the
// table-wide properties (borders, cell borders, spacing, padding, rules, fifteen colours,
// banding, heading rows, options), the resolution of cell colours, merging and splitting,
// inserting and deleting rows and columns, cell and row property changes, navigation between
// cells, style upkeep and the insertion hooks.
//
// A table that is not an item of a document takes every change directly. Once inserted
// (vdtsInserted) the table-wide and cell setters go through the change by property name, which
// in an editable document becomes an undo step (the editing side brings that road; until then
// every document is read-only to the table) and otherwise writes the property. Lengths are in
// the style sheet's units; a negative cell spacing makes neighbouring cell borders overlap.
#pragma once

#include "vizivodu/tables/VDTable_Cells.h"

#include "platform/rtl/ScopeExit.h"

#include <array>
#include <functional>
#include <memory>

namespace rtl {
class TReader;
class TWriter;
} // namespace rtl

namespace vizivodu {

class TVDDocXSavingData;

class TVDGraphicInterface;
class TVDTablePrintInfo;
class TVDTablePrintPart;
class TVDMultiDrawItemPartsList;
class TCellPtblVDData;
class TCustomPrintableVDData;
struct TVDTablePaintContext;
struct TVDTableStreamSaveInfo;
class TVDTableProps;

// The rows of a table that a document paints in parts.
class TVDTablePaintItemPart : public TVDPaintItemPart {
public:
    int32_t StartRow = 0;
    int32_t LastRow = 0;
};

// What PaintTable paints: the table's top-left corner on the canvas (drawing positions are
// those minus ExtraX, ExtraY), the draw states, the style sheet, the layout to paint, the clip
// (all zero: none), the colour mode and, for a table painted in parts, its rows.
struct TVDTablePaintParams {
    int32_t Left = 0;
    int32_t Top = 0;
    TVDItemDrawStates State;
    TVDStyle *Style = nullptr;
    TVDTableItemFormattingInfo *Fmt = nullptr;
    rtl::TRect ClipRect{};
    TVDColorMode ColorMode = vdcmColor;
    int32_t StartRow = -1; // -1: all rows
    int32_t LastRow = -1;
    int32_t ExtraX = 0;
    int32_t ExtraY = 0;
    // Printing: the printable document that holds the printing draw item, and the part of it
    // to paint (nullptr: the whole table).
    TCustomPrintableVDData *PrintVDData = nullptr;
    const TVDTablePrintPart *PrintPart = nullptr;
    int32_t PageNo = 0;
    bool ForMetafile = false;
    int32_t DrawItemNo = -1;
};

// One border to draw: the table's (Row = Col = -1) or a cell's, around Left, Top, Right,
// Bottom (right and bottom excluded); VisibleBorders nullptr shows all four sides.
struct TVDBorderParams {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    // Added to line ends: the graphic interface's lines leave out their last pixel.
    int32_t LineEndExtension = 1;
    TVDStyle *Style = nullptr;
    TVDColorMode ColorMode = vdcmColor;
    int32_t Col = -1;
    int32_t Row = -1;
    const TVDBooleanRect *VisibleBorders = nullptr;
    rtl::TRect ClipRect{};
    bool Printing = false;
    bool Editable = false;
    bool ShowGridLines = true;
    TVDTableBorderStyle BorderStyle = vdtbRaised;
    TColor BackgroundColor = gfx::clNone;
    TColor Color = gfx::clNone;
    TColor LightColor = gfx::clNone;
    TVDStyleLength Width = 0;
};

class TVDTableItemInfo : public TVDFullLineItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // One row and one column: the form in which items are made from their style number.
    explicit TVDTableItemInfo(TCustomVDData *vdData);
    // nRows x nCols new cells for the document mainVDData (not yet an item of it).
    TVDTableItemInfo(int32_t nRows, int32_t nCols, TCustomVDData *mainVDData);
    static std::unique_ptr<TVDTableItemInfo> CreateEx(int32_t nRows, int32_t nCols,
                                                      TCustomVDData *mainVDData);
    ~TVDTableItemInfo() override;

    // ---- Grid ----
    TVDTableRows &GetRows() const { return *FRows; }
    // The cell at a position, nullptr where a merged cell covers it; list index errors only.
    TVDTableCellData *GetCells(int32_t row, int32_t col) const { return FRows->Cell(row, col); }
    int32_t GetRowCount() const { return FRows->GetRowCount(); }
    int32_t GetColCount() const { return FRows->GetColCount(); }
    TVDTableStates GetState() const { return FState; }
    // New cells are made here; a descendant makes cells of its own class.
    virtual std::unique_ptr<TVDTableCellData> CreateCell(TVDTableRow *row);

    // ---- Colours and integer properties ----
    TColor GetColor(TVDTableColorProperty colorType) const { return FColors[colorType]; }
    void SetColor(TVDTableColorProperty colorType, TColor value);
    static TColor GetDefaultColorValue(TVDTableColorProperty colorType);
    int32_t GetIntegerProperty(TVDTableIntegerProperty index) const {
        return FIntegerProperties[index];
    }
    void SetIntegerProperty(TVDTableIntegerProperty index, int32_t value);
    int32_t GetHeadingRowCount() const { return FIntegerProperties[vdtiHeadingRowCount]; }
    void SetHeadingRowCount(int32_t value) { SetIntegerProperty(vdtiHeadingRowCount, value); }
    int32_t GetRowBandSize() const { return FIntegerProperties[vdtiRowBandSize]; }
    void SetRowBandSize(int32_t value) { SetIntegerProperty(vdtiRowBandSize, value); }
    int32_t GetColBandSize() const { return FIntegerProperties[vdtiColBandSize]; }
    void SetColBandSize(int32_t value) { SetIntegerProperty(vdtiColBandSize, value); }

    // ---- Table-wide lengths and styles ----
    TVDHTMLLength GetBestWidth() const { return FBestWidth; }
    void SetBestWidth(TVDHTMLLength value);
    // The property BorderWidth (the item's GetBorderWidth is the border around a picture).
    TVDStyleLength GetTableBorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(TVDStyleLength value);
    TVDTableBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TVDTableBorderStyle value);
    TVDStyleLength GetBorderVSpacing() const { return FBorderVSpacing; }
    void SetBorderVSpacing(TVDStyleLength value);
    TVDStyleLength GetBorderHSpacing() const { return FBorderHSpacing; }
    void SetBorderHSpacing(TVDStyleLength value);
    TVDStyleLength GetCellBorderWidth() const { return FCellBorderWidth; }
    void SetCellBorderWidth(TVDStyleLength value);
    TVDTableBorderStyle GetCellBorderStyle() const { return FCellBorderStyle; }
    void SetCellBorderStyle(TVDTableBorderStyle value);
    TVDStyleLength GetCellHSpacing() const { return FCellHSpacing; }
    void SetCellHSpacing(TVDStyleLength value);
    TVDStyleLength GetCellVSpacing() const { return FCellVSpacing; }
    void SetCellVSpacing(TVDStyleLength value);
    TVDStyleLength GetCellHPadding() const { return FCellHPadding; }
    void SetCellHPadding(TVDStyleLength value);
    TVDStyleLength GetCellVPadding() const { return FCellVPadding; }
    void SetCellVPadding(TVDStyleLength value);
    // The mean of the two paddings, rounded with halves to even; writing sets both.
    TVDStyleLength GetCellPadding() const;
    void SetCellPadding(TVDStyleLength value);
    TVDStyleLength GetHRuleWidth() const { return FHRuleWidth; }
    void SetHRuleWidth(TVDStyleLength value);
    TVDStyleLength GetVRuleWidth() const { return FVRuleWidth; }
    void SetVRuleWidth(TVDStyleLength value);
    bool GetHOutermostRule() const { return FHOutermostRule; }
    void SetHOutermostRule(bool value);
    bool GetVOutermostRule() const { return FVOutermostRule; }
    void SetVOutermostRule(bool value);
    TVDOpacity GetOpacity() const { return FOpacity; }
    void SetOpacity(TVDOpacity value);
    TVDTableOptions GetTableOptions() const { return FOptions; }
    void SetTableOptions(TVDTableOptions value) { FOptions = value; }
    TVDTablePrintOptions GetPrintOptions() const { return FPrintOptions; }
    void SetPrintOptions(TVDTablePrintOptions value) { FPrintOptions = value; }
    const rtl::UnicodeString &GetTextRowSeparator() const { return FTextRowSeparator; }
    void SetTextRowSeparator(const rtl::UnicodeString &value) { FTextRowSeparator = value; }
    const rtl::UnicodeString &GetTextColSeparator() const { return FTextColSeparator; }
    void SetTextColSeparator(const rtl::UnicodeString &value) { FTextColSeparator = value; }
    const rtl::UnicodeString &GetBackgroundImageFileName() const {
        return FBackgroundImageFileName;
    }
    void SetBackgroundImageFileName(const rtl::UnicodeString &value) {
        FBackgroundImageFileName = value;
    }
    // The background picture and its style; a copy of value becomes the picture (nullptr
    // removes it). Setting the style of an inserted table is a change by name.
    gfx::TGraphic *GetBackgroundImage() const;
    TVDItemBackgroundStyle GetBackgroundStyle() const;
    void SetBackgroundImage(const gfx::TGraphic *value);
    void SetBackgroundStyle(TVDItemBackgroundStyle value);
    TVDBackground *GetTableBackground() const { return FBackground.get(); }
    bool HasThumbnail() const override;
    void FreeThumbnail() override;
    // Which sides of the outer border are drawn; assigning copies the four flags.
    const TVDBooleanRect &GetVisibleBorders() const { return FVisibleBorders; }
    void SetVisibleBorders(const TVDBooleanRect &value) { FVisibleBorders.Assign(value); }

    // Copies the properties of source through the setters (not VisibleBorders, the events or
    // the grid).
    virtual void AssignProperties(const TVDTableItemInfo &source);

    // ---- Change by property name ----
    // Sets the table's published ordinal property propName to value (through its setter), then
    // flags the table as changed. EViziVoduError "Property %s does not exist" for a name the
    // table does not publish.
    void ChangeIntProperty(const rtl::UnicodeString &propName, int32_t value, bool affectSize,
                           bool affectWidth);
    // The undo records of property changes call these around the write they perform.
    void BeforeUndoChangeProperty() { FState.Exclude(vdtsInserted); }
    void AfterUndoChangeProperty();
    // Adds vdtsModified.
    void Changed() { FState.Include(vdtsModified); }

    // ---- Cell and row property changes (the cell must be one of its own) ----
    void ChangeCellIntProperty(int32_t itemNo, const rtl::UnicodeString &propName, int32_t value,
                               int32_t row, int32_t col, bool affectSize, bool affectWidth);
    void ChangeCellStrProperty(int32_t itemNo, const rtl::UnicodeString &propName,
                               const rtl::UnicodeString &value, int32_t row, int32_t col);
    void AssignCellAttributes(int32_t itemNo, int32_t row, int32_t col,
                              const TVDTableCellData &cell, bool includeSize, int32_t divColSpan,
                              int32_t divRowSpan);
    void SetCellBestWidth(TVDHTMLLength value, int32_t row, int32_t col);
    void SetCellBestHeight(TVDStyleLength value, int32_t row, int32_t col);
    void SetCellRotation(TVDDocRotation value, int32_t row, int32_t col);
    void SetCellOptions(TVDTableCellOptions value, int32_t row, int32_t col);
    void SetCellColor(TColor value, int32_t row, int32_t col);
    void SetCellOpacity(TVDOpacity value, int32_t row, int32_t col);
    void SetCellBorderColor(TColor value, int32_t row, int32_t col);
    void SetCellBorderLightColor(TColor value, int32_t row, int32_t col);
    void SetCellVAlign(TVDCellVAlign value, int32_t row, int32_t col);
    void SetCellTag(const TVDTag &value, int32_t row, int32_t col);
    void SetCellHint(const rtl::UnicodeString &value, int32_t row, int32_t col);
    void SetCellBackgroundImageFileName(const rtl::UnicodeString &value, int32_t row, int32_t col);
    void SetCellBackgroundImage(const gfx::TGraphic *value, int32_t row, int32_t col);
    void SetCellBackgroundStyle(TVDItemBackgroundStyle value, int32_t row, int32_t col);
    // Nothing (and no change flag) when the flags are already these.
    void SetCellVisibleBorders(bool left, bool top, bool right, bool bottom, int32_t row,
                               int32_t col);
    void SetTableVisibleBorders(bool left, bool top, bool right, bool bottom);
    // Nothing when the row already has the value; the row setters do not flag a change.
    void SetRowVAlign(TVDCellVAlign value, int32_t row);
    void SetRowPageBreakBefore(bool value, int32_t row);
    void SetRowKeepTogether(bool value, int32_t row);

    // ---- Cell colours ----
    // The colour a cell shows: its own, else heading, last row, first and last column, column
    // bands, row bands; then the table's Color (useTableColor) and the background of the
    // table's paragraph or the document's colour (useParentBackground). (row, col) must hold a
    // cell of its own.
    TColor GetCellColor(int32_t row, int32_t col, bool useTableColor, bool useParentBackground);
    bool IsCellTransparent(int32_t row, int32_t col);
    bool IsCellUnderlayTransparent(int32_t row, int32_t col);

    // ---- Heading rows ----
    // min(HeadingRowCount, RowCount) when no cell of those rows reaches below them, else 0.
    int32_t GetRealHeadingRowCount();
    bool CanUseHeadingRowCount();
    // True when no main cell of row aRow reaches below it (and for aRow = RowCount).
    bool IsRowBoundaryClear(int32_t aRow);
    // A row of firstRow .. lastRow has PageBreakBefore; firstRow < 0 is the second row after the
    // heading rows, lastRow < 0 the last row.
    bool HasPageBreakBefore(int32_t firstRow, int32_t lastRow);

    // ---- Position in the document ----
    // The table's item number in its document (cached), -1 when it is not there.
    int32_t GetMyItemNo();
    // The item number of the outermost item that contains the table.
    int32_t GetTopLevelItemNo();

    // ---- Editing brackets (a table outside an editable document records nothing) ----
    bool IsInEditor() const { return false; }
    bool IsInEditorRoot() const { return false; }
    bool UndoRecording() const { return false; }
    // The table's item number when undo is recorded, else -1 (free removed cells at once).
    int32_t GetUndoItemNo() { return UndoRecording() && IsInEditor() ? GetMyItemNo() : -1; }
    bool CanChange() const { return IsInEditor(); }
    // The refusal beep of the table's document.
    void Beep();

    // ---- Merging, unmerging and splitting ----
    bool CanMergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                       bool allowMergeRC);
    void MergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                    bool allowMergeRC);
    bool CanMergeSelectedCells(bool allowMergeRC);
    void MergeSelectedCells(bool allowMergeRC);
    void UnmergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                      bool unmergeRows, bool unmergeCols);
    void UnmergeSelectedCells(bool unmergeRows, bool unmergeCols);
    void SplitSelectedCellsVertically(int32_t colCount);
    void SplitSelectedCellsHorizontally(int32_t rowCount);

    // ---- Rows and columns ----
    // EViziVoduError "Invalid row or column index" before any change for a bad index.
    void InsertCols(int32_t index, int32_t count, int32_t copyIndex, bool select);
    void InsertRows(int32_t index, int32_t count, int32_t copyIndex, bool select);
    // Beside the selected cells, copying the nearest selected column or row, and selecting the
    // new ones; without a selection the refusal beep.
    void InsertColsLeft(int32_t count);
    void InsertColsRight(int32_t count);
    void InsertRowsAbove(int32_t count);
    void InsertRowsBelow(int32_t count);
    // Nothing for an empty grid.
    void DeleteRows(int32_t index, int32_t count, bool decreaseHeight);
    void DeleteCols(int32_t index, int32_t count, bool decreaseWidth);
    void DeleteSelectedRows();
    void DeleteSelectedCols();
    // Every row (column) in which no cell starts.
    void DeleteEmptyRows();
    void DeleteEmptyCols();
    bool CanDeletePartiallySelected();
    void DeletePartiallySelected();

    // ---- Selection of cells ----
    // Only for an inserted table in a formatted document that allows selection.
    void Select(int32_t startRow, int32_t startCol, int32_t rowOffs, int32_t colOffs);
    void SelectRows(int32_t startRow, int32_t count);
    void SelectCols(int32_t startCol, int32_t count);
    void Deselect();
    bool GetSelectionBounds(int32_t &startRow, int32_t &startCol, int32_t &rowOffs,
                            int32_t &colOffs) const;
    // The selected rectangle widened over the merged cells it touches; with includeEditedCell
    // and no selection, the edited cell's rectangle. False when there is none.
    bool GetNormalizedSelectionBounds(bool includeEditedCell, int32_t &topRow, int32_t &leftCol,
                                      int32_t &colSpan, int32_t &rowSpan);
    bool IsCellSelected(int32_t row, int32_t col);
    void UpdateCellSelection();

    // ---- Navigation and the chosen cell ----
    // The neighbouring cell of (row, col) in direction dir; false (and, unless quiet, the
    // system beep for vdcdNext and vdcdPrev) when there is none. canAddRow lets vdcdNext append
    // a row at the end of a table in an editable document.
    bool GetCellTo(int32_t row, int32_t col, TVDCellDirection dir, int32_t &newRow, int32_t &newCol,
                   bool quiet, bool canAddRow);
    // (-1, -1) when the cell is not in the grid.
    void GetCellPosition(const TVDTableCellData *cell, int32_t &row, int32_t &col);
    void EditCell(int32_t row, int32_t col) { EditCellEx(row, col, false); }
    void EditCellEx(int32_t row, int32_t col, bool unquestioning);
    TCustomVDData *GetSubVDData(std::unique_ptr<TVDStoreSubVDData> &storeState,
                                TVDSubVDDataPos position) override;
    // The table item lies wholly inside its document's selection.
    bool IsInsideSelection();
    // The arrow keys (virtual-key numbers) move the far corner of a selection of several
    // cells; shift is not used.
    void KeyDown(uint16_t key, bool shift);
    void UnchooseCell();
    void CleanUpChosen() override;
    bool HasChosenSelection();

    // ---- The mouse (points relative to the table's top-left corner) ----
    // The cell at (x, y), answered from the last hit while the point stays well inside it;
    // without ignoreBorders a point on a border or in the band between touching cells hits
    // none.
    bool GetCellAt(int32_t x, int32_t y, int32_t &row, int32_t &col, bool ignoreBorders);
    bool FindCellAt(int32_t x, int32_t y, int32_t &row, int32_t &col, bool ignoreBorders);
    // The cell's box without its padding holds the point.
    bool IsInCellContent(TVDTableCellData &cell, int32_t x, int32_t y);
    // The document of the cell at the point (the nearest with returnClosest); nullptr.
    TCustomVDData *GetSubVDDataAt(int32_t x, int32_t y, bool returnClosest) override;
    void ChooseSubVDData(const TVDStoreSubVDData &storeState) override;
    // The cell becomes the main document's chosen sub-document and keeps its own selection;
    // the main document's selection collapses after the table.
    void ChooseCell(int32_t row, int32_t col);
    // A selection of cells starting at (row, col): by the mouse it holds the mouse until the
    // release; false where selection is not allowed.
    bool StartSelecting(int32_t row, int32_t col, bool fromKeyboard);
    bool PartiallySelected() override;
    void DeselectPartial() override;
    // Presses in a cell's content reach the cell's document; a left press starts a selection
    // of cells that moves over other cells extend. Always false but for a handled move.
    bool MouseMove(ui::TShiftState shift, int32_t x, int32_t y, int32_t itemNo,
                   TCustomVDData *vdData) override;
    bool MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y,
                   int32_t itemNo, TCustomVDData *vdData) override;
    bool MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y,
                 int32_t itemNo, TCustomVDData *vdData) override;
    void MouseLeave(TCustomVDData *vdData, int32_t itemNo) override;
    // The cell of the last successful hit test, -1 when none.
    int32_t MouseRow = -1;
    int32_t MouseCol = -1;
    // The table's place in its document, set when it takes the mouse.
    int32_t MyLeft = 0;
    int32_t MyTop = 0;
    // While above 0 the mouse is ignored.
    int32_t BusyCount = 0;

    // ---- Style upkeep ----
    void MarkStylesInUse(TVDDeleteUnusedStylesData &data) override;
    void UpdateStyles(TVDDeleteUnusedStylesData &data) override;
    void ChangeParagraphStyles(const TVDIntegerList *paraMapList, const TVDIntegerList *newIndices,
                               TVDIntegerList *oldIndices, int32_t &index) override;
    void ChangeTextStyles(const TVDIntegerList *textMapList, const TVDIntegerList *newIndices,
                          TVDIntegerList *oldIndices, int32_t &index) override;
    void ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle, bool recursive) override;
    // vdespImageFileName is the table's BackgroundImageFileName.
    bool GetExtraStrProperty(TVDExtraItemStrProperty prop,
                             rtl::UnicodeString &value) const override;
    bool SetExtraStrProperty(TVDExtraItemStrProperty prop,
                             const rtl::UnicodeString &value) override;
    int32_t GetVDFExtraPropertyCount() const override;
    void SaveVDFExtraProperties(rtl::TStream &stream) const override;

    // ---- HTML and plain text (bodies in formats/html/ and formats/text/) ----
    // An HTML table: one cell element per cell of its own, with its span, and the cell's
    // document inside, written by the document's writer of the same form.
    void SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                    const TVDRawByteString &text, TVDHTMLSaveArgs &args) override;
    // The cells' texts, TextColSeparator between columns (also after covered positions) and
    // TextRowSeparator between rows; UTF-16 bytes when unicode.
    // The selected cells of their own row by row, the column separator between the cells of a
    // row and the row separator after each row that has one (formats/text/VDTable_Text.cpp).
    void SaveTextSelection(rtl::TStream &stream, TCustomVDData *vdData, int32_t lineWidth,
                           const rtl::UnicodeString &path, bool textOnly, bool unicode,
                           TVDCodePage codePage) override;
    TVDRawByteString AsText(int32_t lineWidth, TCustomVDData *vdData, const TVDRawByteString &text,
                            bool textOnly, bool unicode, TVDCodePage codePage) override;
    // The table's extra backgrounds of a cell (none here).
    virtual void GetExtraCellCode(int32_t row, int32_t col, TVDAnsiString &images,
                                  TVDAnsiString &positions, TVDAnsiString &repeats) const;

    // ---- RTF (bodies in formats/rtf/) ----
    // One row group per row; a table at level > 0 writes the nesting keywords. Afterwards the
    // document does not end the paragraph again (vdstRTFSkipPar).
    void SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t level,
                 TVDRTFSavingData &savingData, TVDRTFDocType docType, bool hiddenParent) override;
    // The table's and its cells' colours, then what the cells' items add.
    void FillRTFTables(TCustomVDRTFTables *rtfTables, TVDIntegerList *listOverrideCountList,
                       TCustomVDData *vdData) override;
    // A table never laid out is laid out at the document's width (600 pixels when unknown).
    void EnsureLayoutForRTF(TCustomVDData *vdData);

    // ---- DOCX (bodies in formats/ooxml/) ----
    // A w:tbl element: table properties, grid, rows with merged cells and nested tables.
    void SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                   TVDDocXSavingData &savingData, bool hiddenParent) override;

    // ---- The native format and the table's own stream (bodies in formats/vdf/) ----
    // The record: header, name, extra properties, "colwidths" for a page part saved with a
    // device, the picture-storage line, then the table as one component stream (a hexadecimal
    // line, or a block in binary mode). With a page part only its rows and the heading rows.
    void SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t paraNo,
                 const TVDRawByteString &name, TVDMultiDrawItemPart *part, bool forceSameAsPrev,
                 PVDScreenAndDevice sad) override;
    // The record for the selected rectangle, with only the selected cells' content.
    void SaveVDFSelection(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                          int32_t paraNo) override;
    // False for a component stream that cannot be read (a bad count, span or nesting, a cut
    // stream); the table is then a valid grid again.
    bool ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType, int32_t lineNo,
                     int32_t lineCount, TVDRawByteString &name, TVDFReadMode &readMode,
                     TVDFReadState &readState, bool utf8, bool &assStyleNameUsed) override;
    // "colwidths": the device resolution, the table width and the column widths.
    bool SetExtraCustomProperty(std::string_view propName,
                                const rtl::UnicodeString &value) override;
    void BeforeLoading(TVDLoadFormat fileFormat) override;
    void AfterLoading(TVDLoadFormat fileFormat) override;
    // The items of the cells of rows firstRow .. firstRow + rowCount - 1 join the document's
    // marker, sequence and print-field lists (where not yet in them) and get their AfterLoading.
    void AfterLoadingEx(TVDLoadFormat fileFormat, int32_t firstRow, int32_t rowCount);
    // The component stream of all rows, of rows index .. index + count - 1, or of a rectangle
    // (with selectionOnly only the selected cells keep their content; fragmentOnly marks the
    // table vdtsSavingFragment meanwhile). EViziVoduError "ViziVodu Error" while another stream
    // operation runs on the table.
    void SaveToStream(rtl::TStream &stream);
    void SaveRowsToStream(rtl::TStream &stream, int32_t index, int32_t count, bool fragmentOnly);
    void SaveRectangleToStream(rtl::TStream &stream, int32_t topRow, int32_t leftCol,
                               int32_t rowCount, int32_t colCount, bool selectionOnly,
                               bool fragmentOnly);
    // Reads a component stream into the table: reset to the stream's size, or, when
    // startRow or startCol is set or allowReset is false, into the table's own cells from
    // (startRow, startCol) (EReadError "Wrong end of cells list" when they do not fit).
    void LoadFromStream(rtl::TStream &stream) { LoadFromStreamEx(stream, 0, 0, true); }
    void LoadFromStreamEx(rtl::TStream &stream, int32_t startRow, int32_t startCol,
                          bool allowReset);
    // The stream operation under way (nullptr outside one).
    TVDTableStreamSaveInfo *GetStreamSaveInfo() const { return FStreamSaveInfo; }

    // ---- Item answers and hooks ----
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    void Inserting(TCustomVDData *vdData, TVDRawByteString &text, bool safe) override;
    void Inserted(TCustomVDData *vdData, int32_t itemNo) override;
    void Hiding() override;
    // Whether an item in a cell's current document holds control; where: rows from the top,
    // positions from the left, the first cell whose document has such an item gives row, col
    // and that item's number (left as they were when none does).
    bool GetCellWhichOwnsControl(ui::TControl *control, int32_t &row, int32_t &col,
                                 int32_t &itemNo);
    bool OwnsControl(ui::TControl *control) override;

    // ---- Events ----
    // Asked before a cell is opened for editing or changed by a table operation.
    std::function<void(TVDTableItemInfo &sender, int32_t row, int32_t col, bool automatic,
                       bool &allowEdit)>
        OnCellEditing;
    // After the in-place editor of a cell closes.
    std::function<void(TVDTableItemInfo &sender, int32_t row, int32_t col, bool clearing)>
        OnCellEndEdit;
    // Asks OnCellEditing; true when there is no handler.
    bool DoCellEditing(int32_t row, int32_t col, bool automatic);

    // ---- Layout (device pixels of the resolution being formatted for) ----
    // The width and height of the last screen layout.
    int32_t GetWidth(const TVDStyle *) override { return Fmt->FWidth; }
    int32_t GetHeight(const TVDStyle *) override { return Fmt->FHeight; }
    TVDTableItemFormattingInfo &GetFormattingInfo() const { return *Fmt; }
    // CalcMinWidth with the best widths.
    int32_t GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *canvas,
                        TCustomVDData *vdData) override;
    // The narrowest the table can be on the device of sad (nullptr: the screen).
    int32_t CalcMinWidth(PVDScreenAndDevice sad, gfx::TCanvas &canvas, bool includeBestWidths);
    // Lays the table out for a document docWidth pixels wide (the screen layout when not
    // printing); the draw item takes the table's size.
    void OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool printing,
                          gfx::TCanvas &canvas, TCustomVDData *vdData, PVDScreenAndDevice sad,
                          int32_t &hShift, int32_t &desc, bool noCaching, bool reformatting,
                          bool useFormatCanvas) override;
    // Column widths and starts, the cells' places, their formatting, row heights and starts.
    // With the same width as before and without noCaching the previous layout stands.
    void CalculateLayout(int32_t docWidth, TVDTableItemFormattingInfo &fmt, gfx::TCanvas &canvas,
                         bool noCaching, bool reformatting);
    // Every column is the last column of some cell with an absolute preferred width, and no
    // cell has a percentage.
    bool AllColumnsHaveBestWidth();
    // 2 (border + border spacing) + cell spacing (n - 1) + 2 cell borders n, device pixels.
    int32_t GetHorzFramingWidth();
    // Column widths read with a document; used only when their count matches the columns and
    // their resolution is valid.
    void SetStoredColWidths(std::unique_ptr<TVDTableStoredColWidths> widths) {
        FStoredColWidths = std::move(widths);
    }
    // Called at the end of every layout; nothing here.
    virtual void AfterLayout(TVDTableItemFormattingInfo &) {}
    // The grid line at table-relative x (0 the left border, ColCount the right one), -1 when
    // none; minX is the start of the column before it, zeroChangeX the line's position.
    int32_t GetVerticalRuleNo(int32_t x, int32_t &minX, int32_t &zeroChangeX);
    int32_t GetHorizontalRuleNo(int32_t y, int32_t &minY, int32_t &zeroChangeY);
    // The first column (row) whose extent, both ends included, holds the coordinate; -1.
    int32_t GetColAtX(int32_t x);
    int32_t GetRowAtY(int32_t y);
    // 0 for fewer than two starts, the last index from the last start on, else the largest
    // index whose start lies before y.
    static int32_t FindStartIndex(int32_t y, const TVDIntegerList &starts);
    // The device of the layout in progress; nullptr for the screen.
    PVDScreenAndDevice cursad = nullptr;

    // ---- Painting ----
    // Paints the screen layout with its top-left corner at (left, top).
    void PaintFullWidth(int32_t left, int32_t right, int32_t top, gfx::TCanvas &canvas,
                        TVDItemDrawStates state, TVDStyle &style, const rtl::TRect &clipRect,
                        TCustomVDData *vdData, int32_t drawItemNo, int32_t extraX, int32_t extraY,
                        TVDPaintItemPart *paintPart, bool forMetafile) override;
    // The table background, the rules, the table border, then each cell's background, content
    // and border.
    void PaintTable(gfx::TCanvas &canvas, const TVDTablePaintParams &params);
    // Lets OnDrawBorder draw the border, else draws it in its style (the width in style units,
    // vertical conversion for both directions), with grid lines for hidden borders on the
    // screen when the document shows grid lines.
    void DrawBorder(gfx::TCanvas &canvas, const TVDBorderParams &params);
    // No table colour and a semi-transparent background picture.
    bool IsSemiTransparentBackground() const;
    // What lies under a cell for an item inside it that draws its own background: the
    // background of the table's paragraph when the table is not opaque, then the table's
    // picture or colour; rect is in the cell's coordinates.
    void DrawBackgroundUnderCell(gfx::TCanvas &canvas, TVDTableCellData &cell,
                                 const rtl::TRect &rect, TVDGraphicInterface &graphicInterface,
                                 bool allowThumbnails);
    // Called after a cell's background was painted; nothing here.
    virtual void AfterCellBackground(gfx::TCanvas &, int32_t, int32_t, const rtl::TRect &) {}
    std::function<void(TVDTableItemInfo &sender, gfx::TCanvas &canvas, int32_t left, int32_t top,
                       int32_t right, int32_t bottom, TVDStyleLength width, TColor lightColor,
                       TColor color, TColor backgroundColor, TVDTableBorderStyle style,
                       bool printing, const TVDBooleanRect *visibleBorders, int32_t row,
                       int32_t col, bool &doDefault)>
        OnDrawBorder;

    // ---- Printing ----
    // The printing draw item: a printable document per cell of its own (sharing the cell's
    // items) for vdData, a printable document; the standard draw item in any other document.
    std::unique_ptr<TVDDrawLineInfo> CreatePrintingDrawItem(TCustomVDData *vdData, int32_t paraNo,
                                                            PVDScreenAndDevice sad) override;
    using TCustomVDItemInfo::Print;
    // Paints part number part (the whole table for part < 0) of the printing draw item dItemNo
    // of vdData with its top-left corner at (x, y).
    void Print(gfx::TCanvas &canvas, int32_t x, int32_t y, bool preview, bool correction,
               int32_t part, TVDColorMode colorMode, TCustomVDData *vdData, int32_t dItemNo,
               int32_t pageNo, bool forMetafile);
    // The printing draw item being painted; nullptr outside Print.
    TVDTablePrintInfo *FCurrentPrintFmt = nullptr;
    // The cell whose content is being printed (-1, -1 otherwise) and its rectangle relative to
    // the table in screen pixels.
    int32_t FPrintCellRow = -1;
    int32_t FPrintCellCol = -1;
    rtl::TRect FPrintCellRect{};
    // Called when the pagination of a printing draw item is done; nothing here.
    virtual void AfterPagination(TVDTableItemFormattingInfo &, TVDMultiDrawItemPartsList &,
                                 const TVDScreenAndDevice &) {}
    // What lies under an item inside the cell being printed: the table's picture or colour,
    // and with itemBackgroundLayer other than 1 the cell's colour or picture and its extra
    // background; nothing for layer 0. rect: the item's rectangle, fullRect the rectangle the
    // pictures are placed in, both in the canvas's coordinates.
    void DrawBackgroundForPrinting(gfx::TCanvas &canvas, const rtl::TRect &rect,
                                   const rtl::TRect &fullRect, TVDColorMode colorMode,
                                   int32_t itemBackgroundLayer,
                                   TVDGraphicInterface &graphicInterface,
                                   bool allowBitmaps) override;
    // Page-number and page-count fields in the cells take their width for the page: for a part
    // of a printing draw item, the pages of the cells' printable documents that the part shows.
    void AdjustSubitemsDIWidth(int32_t pageNo, int32_t pageCount, int32_t part,
                               TVDDrawLineInfo &drawItem) override;

    // ---- Formatting streams ----
    // -1, the four lists of the screen layout, its size, then per cell of its own its place and
    // its document's formatting.
    void SaveFormattingToStream(rtl::TStream &stream) override;
    // Reads what follows the -1; EViziVoduError "Invalid formatting data" for lists that do not
    // match the grid.
    void LoadFormattingFromStream(rtl::TStream &stream) override;

    // ---- Coordinates and focus ----
    // The table's client coordinates in the root control.
    void ResetSubCoords() override;
    void SetFocusedCell(int32_t row, int32_t col, int32_t topLevelItemNo,
                        TCustomVDFormattedData *topLevelVDData);
    int32_t GetSoftPageBreakDY(int32_t data) override;
    void ClearSoftPageBreaks() override;
    void BuildJumps(int32_t &startJumpNo) override;
    bool MoveFocus(bool goForward, TCustomVDData *&topLevelVDData,
                   int32_t &topLevelItemNo) override;
    void ClearFocus() override;
    // The cell whose item holds control becomes the focused cell and that item its focused
    // item; an item that owns the control directly becomes the top-level item.
    bool AdjustFocusToControl(ui::TControl *control, TCustomVDData *&topLevelVDData,
                              int32_t &topLevelItemNo) override;

    // ---- Fields the layout, painting and mouse handling share ----
    int32_t MyClientLeft = 0;
    int32_t MyClientTop = 0;
    int32_t FocusedCellRow = -1;
    int32_t FocusedCellCol = -1;
    int32_t ChosenCellRow = -1;
    int32_t ChosenCellCol = -1;
    // The cell under the mouse at its last move; cleared when that cell leaves.
    TVDTableCellData *FLastCellMovedAbove = nullptr;

private:
    friend class TVDTableProps;

    std::unique_ptr<TVDTableRows> FRows;
    std::unique_ptr<TVDTableItemFormattingInfo> Fmt;
    std::unique_ptr<TVDTableStoredColWidths> FStoredColWidths;
    std::unique_ptr<TVDBackground> FBackground;
    TVDTableStates FState;
    int32_t CachedItemNo = -1;
    int32_t FSelStartCol = -1;
    int32_t FSelStartRow = -1;
    int32_t FSelColOffs = 0;
    int32_t FSelRowOffs = 0;
    bool FMakingSelection = false;
    TVDStyleLength FCellVSpacing = 2;
    TVDStyleLength FCellHSpacing = 2;
    TVDStyleLength FCellHPadding = 1;
    TVDStyleLength FCellVPadding = 1;
    TVDStyleLength FBorderWidth = 0;
    TVDHTMLLength FBestWidth = 0;
    std::array<TColor, VDTableColorCount> FColors{};
    std::array<int32_t, VDTableIntegerCount> FIntegerProperties{1, 1, 0};
    TVDStyleLength FCellBorderWidth = 0;
    TVDStyleLength FHRuleWidth = 0;
    TVDStyleLength FVRuleWidth = 0;
    TVDStyleLength FBorderHSpacing = 2;
    TVDStyleLength FBorderVSpacing = 2;
    TVDTableBorderStyle FBorderStyle = vdtbRaised;
    TVDTableBorderStyle FCellBorderStyle = vdtbLowered;
    bool FHOutermostRule = false;
    bool FVOutermostRule = false;
    TVDTableOptions FOptions = VDTableDefaultOptions;
    TVDTablePrintOptions FPrintOptions = VDTableDefaultPrintOptions;
    rtl::UnicodeString FTextRowSeparator;
    rtl::UnicodeString FTextColSeparator;
    rtl::UnicodeString FBackgroundImageFileName;
    TVDBooleanRect FVisibleBorders;
    TVDOpacity FOpacity = 100000;
    TVDTableStreamSaveInfo *FStreamSaveInfo = nullptr;
    // The record being read keeps its pictures outside the stream (picture-storage line "2").
    bool FVDFPicturesOutside = false;

    void InitTable(int32_t nRows, int32_t nCols, TCustomVDData *mainVDData);
    TVDStyle *GetStyle() const;
    // The mouse's helpers.
    void ExtendCellSelection(TCustomVDFormattedData &main, int32_t row, int32_t col);
    ui::TCursor BorderCursorAt(TCustomVDFormattedData &main, int32_t x, int32_t y);
    void MouseDownOnBorder(TCustomVDFormattedData &main, ui::TMouseButton button, int32_t x,
                           int32_t y);
    bool UseStoredColWidths(TVDTableItemFormattingInfo &fmt);
    bool ComputeColumnWidths(int32_t docWidth, TVDTableItemFormattingInfo &fmt,
                             gfx::TCanvas &canvas, bool noCaching,
                             bool *narrowedToDocWidth = nullptr);
    void PlaceColumnsAndFormatCells(TVDTableItemFormattingInfo &fmt, bool noCaching,
                                    bool &hasVerticalCells);
    // With print, the heights and places are those of the printable cell documents.
    void ComputeRowHeights(TVDTableItemFormattingInfo &fmt,
                           const TVDTablePrintInfo *print = nullptr);
    void PlaceRows(TVDTableItemFormattingInfo &fmt, TVDTablePrintInfo *print = nullptr);
    void CalculatePrintLayout(int32_t docWidth, TVDTablePrintInfo &info, gfx::TCanvas &canvas);
    int32_t PrintCellHeight(const TVDTablePrintInfo &info, int32_t row, int32_t col);
    int32_t PrintRowHeight(const TVDTablePrintInfo &info, int32_t row);
    // The repeated heading rows and the rows of a printed part, with the part's geometry.
    void PaintPartCells(TVDTablePaintContext &ctx);
    void FormatVerticalTextCells(bool noCaching);
    bool CheckFocusedCell();
    void LimitToPart(TVDTablePaintContext &ctx);
    TVDBorderParams BorderParams(const TVDTablePaintContext &ctx, const rtl::TRect &r) const;
    void PaintTableBackground(TVDTablePaintContext &ctx);
    // Painting the screen layout for a print simulation.
    bool SimulatesPrinting(const TVDTablePaintContext &ctx) const;
    static bool IsSemiTransparent(const TVDBackground *picture, TColor color, TVDOpacity opacity);
    // With a cell, its layer in cellColor over the table's.
    void PaintSimulatedBackground(TVDTablePaintContext &ctx, const rtl::TRect &r,
                                  TVDTableCellData *cell, TColor cellColor);
    void PaintVerticalRules(TVDTablePaintContext &ctx);
    void PaintHorizontalRules(TVDTablePaintContext &ctx);
    void PaintCells(TVDTablePaintContext &ctx);
    void PaintCell(TVDTablePaintContext &ctx, int32_t row, int32_t col);
    // The cell's background, content (page pageNo of its printable document printed when
    // printing, none for 0) and border in the box r.
    void PaintCellBox(TVDTablePaintContext &ctx, int32_t row, int32_t col, TCellPtblVDData *printed,
                      const rtl::TRect &r, int32_t pageNo);
    void PaintCellBackground(TVDTablePaintContext &ctx, TVDTableCellData &cell, int32_t row,
                             int32_t col, rtl::TRect r);
    void PaintCellContent(TVDTablePaintContext &ctx, TVDTableCellData &cell, const rtl::TRect &r);
    void PaintPrintedCellContent(TVDTablePaintContext &ctx, int32_t row, int32_t col,
                                 TCellPtblVDData &printed, const rtl::TRect &r, int32_t pageNo);
    void DrawBorderLines(gfx::TCanvas &canvas, const TVDBorderParams &p, TVDGraphicInterface &gi);
    void DrawGridLinesOfHiddenSides(gfx::TCanvas &canvas, const TVDBorderParams &p,
                                    TVDGraphicInterface &gi);
    // Whether the neighbour across a side of a cell (or the table's border) draws that edge.
    bool NeighbourDrawsEdge(int32_t row, int32_t col, TVDSide side);
    // Runs write with vdtsInserted removed (put back only when it was set, also when write
    // raises), so that the setter it reaches writes its field.
    template <class F> void WithoutInserted(F write) {
        const rtl::TFlagScope notInserted(FState, vdtsInserted, false);
        write();
    }
    // The road of a table-wide setter: the field directly when not inserted, else by name.
    template <class F>
    void SetTableProperty(const char16_t *name, int32_t value, bool affectSize, bool affectWidth,
                          F write);
    void UpdateInplaceColor();
    void ChangeBackgroundStyle(TVDItemBackgroundStyle value);
    bool CheckAndGetChosen(int32_t &row, int32_t &col);
    // The component stream's parts (formats/vdf/VDTable_Stream.cpp).
    void WriteStreamCells(rtl::TWriter &writer);
    void ReadStreamCells(rtl::TReader &reader);
    void ReadCellsResetting(rtl::TReader &reader, int32_t rowCount, int32_t colCount);
    void ReadCellsInPlace(rtl::TReader &reader, int32_t rowCount, int32_t colCount);
    void ReadStreamCell(rtl::TReader &reader, TVDTableCellData &cell);
    void WriteStreamComponent(rtl::TStream &stream, TVDTableStreamSaveInfo &info);
    void ReadStreamComponent(rtl::TStream &stream, TVDTableStreamSaveInfo &info);
    void DropScreenStateForReading();
    void AskVDFPictures(TCustomVDData &vdData, const TVDRawByteString &name);
    TCustomVDData *NextOrPrevSubDocument(TVDTableStoreSubVDData &location, TVDCellDirection dir);
};

} // namespace vizivodu
