// Printing tables: the table's printing draw item laid out at the printer's resolution with a
// printable document per cell, cut into parts (one per page) between rows with the heading rows
// repeated at the top of every part.
//
// Units are printer pixels of the item's sad. A part holds whole rows: a row is never cut inside
// its cells, and rows joined by a cell that spans them stay on one part. A row (or a group of
// spanned rows) taller than an empty page is placed alone on its part, and what lies below the
// page is not printed.
#pragma once

#include "vizivodu/layout/PtVDData.h"
#include "vizivodu/tables/VDTable.h"

#include <memory>
#include <vector>

namespace vizivodu {

class TVDTablePrintInfo;

// A cell's document as printed: shares the cell's items and is formatted for the printer.
// DX, DY: the content's corner from the table's top-left corner; Width, Height: the content's
// size (Height: the cell's full height without padding).
class TCellPtblVDData : public TRectPtblVDData {
public:
    TCellPtblVDData(TCustomPrintableVD *viziVodu, TCustomVDData *sourceDataForPrinting,
                    TCustomPrintableVDData *parentPrintData)
        : TRectPtblVDData(viziVodu, sourceDataForPrinting, parentPrintData) {}
    ~TCellPtblVDData() override;

    bool IsLineOrderReversed() override;
};

// The rows of a table that lie on one page. Row starts are from the part's top, each where its
// row's cell border begins; the last entry closes the last row.
class TVDTablePrintPart : public TVDMultiDrawItemPart {
public:
    using TVDMultiDrawItemPart::TVDMultiDrawItemPart;

    TVDIntegerList FRowStarts;
    TVDIntegerList FRowIndices; // the table row of each entry (the last: the row after the part)
    bool FRowFinished = true;
    int32_t FHeadingHeight = 0;
    // The heading rows painted at the top of the part (0 for the first part with vdtoContinue).
    int32_t FHeadingRows = 0;
    TVDTableItemFormattingInfo *FFmtRef = nullptr;

    int32_t FirstRow() const { return FRowIndices.Get(0); }
    int32_t LastRow() const { return FRowIndices.Get(FRowIndices.GetCount() - 1) - 1; }
    int32_t GetSoftPageBreakInfo() override { return FirstRow(); }
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
                 TVDFootnoteRefList *&footnoteVDDataList, int32_t &maxHeight,
                 bool footnotesChangeHeight, bool ignorePageBreaks) override;
    void UnformatLastPage(TVDFootnoteRefList *&footnoteVDDataList,
                          int32_t &releasedHeightAfterFootnotes,
                          bool footnotesChangeHeight) override;
    bool GetSubDocCoords(const TVDStoreSubVDData &location, int32_t part, rtl::TRect &innerCoords,
                         rtl::TRect &outerCoords, rtl::TPoint &origin) override;
    TCustomPrintableVDData *GetPrintableVDDataFor(const TVDStoreSubVDData &location) override;

private:
    // The first body row after the heading rows of a part (0 for the first with vdtoContinue).
    int32_t HeadingRowsOf(bool firstPart) const;
    // The end of the group of rows from row that cells spanning rows bind together.
    int32_t GroupEnd(int32_t row) const;
    TVDTablePrintPart *LastPart();
};

} // namespace vizivodu
