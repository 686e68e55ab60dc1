// Printing tables: the table's printing draw item laid out at the printer's resolution with a
// printable document per cell, cut into parts (one per page) with the heading rows repeated at
// the top of the parts; a row that does not fit is cut inside its cells, each cell's printable
// document being paginated on its own.
//
// Units are printer pixels of the item's sad. Row starts are where a row's cell border begins,
// from the part's (the table's) top edge.
//
// Cut lines: a part that begins inside a row (its first row was cut on the previous page) keeps
// a top cut line, one entry per column: for the cell of its own that covers the column in the
// part's first row (looked up at its own column), the page of the cell's printable document
// that this part shows (1: the cell begins here; 0: the cell has nothing more). The part before
// it keeps the same list as its bottom cut line.
#pragma once

#include "vizivodu/layout/printing/PtVDData.h"
#include "vizivodu/tables/VDTable.h"

#include <memory>
#include <vector>

namespace vizivodu {

class TVDTablePrintInfo;

// The pagination state of a cell's printable document between calls of FormatNextPage.
struct TCellPageState {
    int32_t DrawItemNo = 0;
    int32_t StartAt = 0;
    int32_t StartY = 0;
    int32_t Y = 0;
    bool Splitting = false;
    int32_t CurPageNo = 0;
    int32_t EndAt = 0;
    int32_t PageCount = 0;
};

// A cell's document as printed: shares the cell's items and is formatted for the printer.
// DX, DY: the content's corner from the table's top-left corner; Width, Height: the content's
// size in the layout of the whole table (Height: the cell's full height without padding).
class TCellPtblVDData : public TRectPtblVDData {
public:
    TCellPtblVDData(TCustomPrintableVD *viziVodu, TCustomVDData *sourceDataForPrinting,
                    TCustomPrintableVDData *parentPrintData)
        : TRectPtblVDData(viziVodu, sourceDataForPrinting, parentPrintData) {}
    ~TCellPtblVDData() override;

    // Set when the table was narrowed to fit the page: lines break inside words longer than
    // the cell instead of widening it past its column.
    bool BreakLongWords = false;
    TVDOptions GetOptions() override;

    // Pagination state: pages made so far, the height used on the last page (set when the
    // document finishes), and the state before the last page was made.
    int32_t DrawItemNo = 0;
    int32_t StartAt = 0;
    int32_t StartY = 0;
    int32_t Y = 0;
    bool Splitting = false;
    int32_t CurPageNo = 0;
    int32_t EndAt = 0;
    TCellPageState PrevPageInfo;

    using TCustomMultiPagePtblVDData::FormatNextPage;
    // Makes the next page within maxHeight; false (and nothing made) when the document is
    // finished.
    bool FormatNextPage(int32_t &maxHeight, TVDFootnoteListPtr &footnoteVDDataList,
                        bool footnotesChangeHeight);
    // Takes the last page back (one level: the state saved by the last FormatNextPage), its
    // footnotes leaving the list; on the first page, the same as ResetPages.
    void UnformatLastPage(TVDFootnoteListPtr &footnoteVDDataList,
                          int32_t &releasedHeightAfterFootnotes, bool footnotesChangeHeight);
    // Forgets every page, the footnotes of all its draw items leaving the list; inHeader: the
    // cell is in a heading row.
    void ResetPages(TVDFootnoteListPtr &footnoteVDDataList, int32_t &releasedHeightAfterFootnotes,
                    bool footnotesChangeHeight, bool inHeader);
    // No draw items, or all of them placed.
    bool Finished();
    bool HasPages() const { return Pages && Pages->Count() > 0; }
    // The height of the content on page pageNo (the whole document without pages).
    int32_t PageContentHeight(int32_t pageNo);
    void SetEndAt(int32_t value) override { EndAt = value; }

    bool IsLineOrderReversed() override;
};

// The rows of a table that lie on one page.
class TVDTablePrintPart : public TVDMultiDrawItemPart {
public:
    using TVDMultiDrawItemPart::TVDMultiDrawItemPart;

    // See the file comment; nullptr when the part begins (ends) with whole rows.
    std::unique_ptr<TVDIntegerList> FTableTopCutLine;
    std::unique_ptr<TVDIntegerList> FTableBottomCutLine;
    TVDIntegerList FRowStarts;
    TVDIntegerList FRowIndices; // the table row of each entry (the last: the row after the part)
    // The part's last row ends in this part (false when it goes on in the next one).
    bool FRowFinished = true;
    int32_t FHeadingHeight = 0;
    // The heading rows repeated at the top of the part: those above its first row (none for
    // the first part with vdtoContinue, which begins with them as ordinary rows).
    int32_t FHeadingRows = 0;
    TVDTableItemFormattingInfo *FFmtRef = nullptr;

    int32_t FirstRow() const { return FRowIndices.Get(0); }
    int32_t LastRow() const { return FRowIndices.Get(FRowIndices.GetCount() - 1) - 1; }
    // The part's row start of a row (rows after the part: the part's bottom).
    int32_t RowStartOf(int32_t row) const;
    // The page of the printable document of the cell of its own at (mainRow, mainCol) that the
    // part shows: 0 when it shows none of it.
    int32_t ShownPage(int32_t mainRow, int32_t mainCol) const {
        return ShownPage(mainRow, mainCol, LastRow());
    }
    // The same while the part's last row is lastRow (the part still being made).
    int32_t ShownPage(int32_t mainRow, int32_t mainCol, int32_t lastRow) const;

    int32_t GetSoftPageBreakInfo() override { return FirstRow(); }
    bool IsComplexSoftPageBreak(TVDDrawLineInfo *drawItem) override;
    void AssignSoftPageBreaksToItem(TVDDrawLineInfo *drawItem, TCustomVDItemInfo *item) override;
};

// The printing draw item of a table: its layout at the printer's resolution and its parts.
class TVDTablePrintInfo : public TVDMultiDrawItemInfo {
public:
    explicit TVDTablePrintInfo(TVDTableItemInfo &table);
    ~TVDTablePrintInfo() override;

    TVDScreenAndDevice sad{};
    TVDTableItemInfo *FTable;
    int32_t FHeadingRowCount = 0;
    TVDTableItemFormattingInfo Fmt;
    // Position Col + Row * ColCount: the printable document of a cell, nullptr where a merged
    // cell covers the position.
    std::vector<std::unique_ptr<TCellPtblVDData>> Rows;

    TCellPtblVDData *CellAt(int32_t row, int32_t col) const;
    // The size comes from the layout.
    void SetSize(int32_t, int32_t) override {}

    bool InitSplit(const TVDScreenAndDevice &sad, bool ignorePageBreaks) override;
    bool CanSplitFirst(int32_t y, const TVDScreenAndDevice &sad, bool firstOnPage,
                       bool pageHasFootnotes, bool footnotesChangeHeight,
                       bool ignorePageBreaks) override;
    bool SplitAt(int32_t y, const TVDScreenAndDevice &sad, bool firstOnPage,
                 TVDFootnoteListPtr &footnoteVDDataList, int32_t &maxHeight,
                 bool footnotesChangeHeight, bool ignorePageBreaks) override;
    void ResetPages(TVDFootnoteListPtr &footnoteVDDataList, int32_t &releasedHeightAfterFootnotes,
                    bool footnotesChangeHeight) override;
    void UnformatLastPage(TVDFootnoteListPtr &footnoteVDDataList,
                          int32_t &releasedHeightAfterFootnotes,
                          bool footnotesChangeHeight) override;
    // The footnotes of every cell (of a table printed whole): they join or leave the page's
    // list, or their heights come off height.
    void AddAllFootnotes(TVDFootnoteListPtr &footnoteVDDataList, int32_t &height,
                         bool footnotesChangeHeight) override;
    void RemoveAllFootnotes(TVDFootnoteListPtr &footnoteVDDataList, int32_t &height,
                            bool footnotesChangeHeight) override;
    void DecHeightByFootnotes(int32_t &height, bool &thisPageHasFootnotes) override;
    // The part that prints a position inside a cell: partNo the part (-1 without parts),
    // localPageNo the page of the cell's printable document, localPageCount its page count (for
    // a heading row: the number of parts that repeat it).
    bool GetPartNo(TCustomVDData *vdData, int32_t itemNo, int32_t offsInItem, int32_t &partNo,
                   int32_t &localPageNo, int32_t &localPageCount,
                   TCustomPrintableVDData *&ptVDData) override;
    bool GetSubDocCoords(const TVDStoreSubVDData &location, int32_t part, rtl::TRect &innerCoords,
                         rtl::TRect &outerCoords, rtl::TPoint &origin) override;
    int32_t GetLocalPageNoFor(const TVDStoreSubVDData &location, int32_t part) override;
    TCustomPrintableVDData *GetPrintableVDDataFor(const TVDStoreSubVDData &location) override;

    // The part at index, nullptr for an empty slot or outside the list.
    TVDTablePrintPart *PartAt(int32_t index);
    // The heading rows a part repeats at most; for the first part also its first row (0 with
    // vdtoContinue: the first part prints the heading rows as ordinary rows).
    int32_t HeadingRowsOf(bool firstPart) const;

private:
    friend class TVDTableSplitter;
    TVDTablePrintPart *LastPart();
    // Removes the pending slot and tells the table that pagination is done.
    void FinishSplit();
    // Every cell's printable document forgets its pages.
    void ResetCellPages(TVDFootnoteListPtr &footnoteVDDataList, int32_t &released,
                        bool footnotesChangeHeight);
};

} // namespace vizivodu
