// RTF tables into table items: the parser's table events, the rows collected while a table is
// open, and the end of a table (nested tables are entries of the same stack).
#include "vizivodu/formats/rtf/VDRTFProps_Tables.h"
#include "vizivodu/formats/rtf/VDRTFProps.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/layout/viewer/VDOptions.h"

namespace vizivodu {

TVDRTFReaderProperties::TVDRTFReaderProperties() = default;
TVDRTFReaderProperties::~TVDRTFReaderProperties() = default;

void TVDRTFReaderProperties::ReaderTable(TVDRTFTableEventKind kind, bool &processed) {
    processed = true;
    switch (kind) {
    case vdf_tbl_TableStart:
        StartTable();
        break;
    case vdf_tbl_CellEnd:
        TableCellEnd();
        break;
    case vdf_tbl_RowEnd:
        FinishTableRow();
        break;
    default:
        if (FTables.empty()) {
            break;
        }
        if (kind == vdf_tbl_TableEnd && !FTables.back()->RowFinished) {
            // Text of the open row follows: the table goes on.
            processed = false;
            break;
        }
        EndTable(kind);
        break;
    }
}

std::unique_ptr<TVDTableItemInfo>
TVDRTFReaderProperties::NewCollectedRow(TCustomVDData *mainVDData) {
    auto row = std::make_unique<TVDTableItemInfo>(1, 1, mainVDData);
    row->BeforeLoading(vdlfRTF);
    row->GetCells(0, 0)->Clear();
    return row;
}

void TVDRTFReaderProperties::StartTable() {
    auto entry = std::make_unique<TTableSubDataInfo>();
    entry->PrevVDData = FCurrentVDData;
    entry->ParentRow = FCurrentRow;
    entry->ParentCol = FCurrentCol;
    if (FPageBreak && FPageBreakVDData == FCurrentVDData) {
        entry->PageBreakBefore = true;
        FPageBreak = false;
    }
    entry->BookmarkName = std::move(FBookmarkName);
    FBookmarkName.clear();
    // A row kept from a table ended by its last row already holds the new table's first cell.
    entry->lastrow =
        FLastRowForNewTable ? std::move(FLastRowForNewTable) : NewCollectedRow(FCurrentVDData);
    FCurrentRow = FCurrentCol = 0;
    FCurrentVDData = entry->lastrow->GetCells(0, 0);
    FTables.push_back(std::move(entry));
}

void TVDRTFReaderProperties::TableCellEnd() {
    if (FTables.empty()) {
        return;
    }
    if (FTables.back()->IsLastRow) {
        FTables.back()->IsLastRow = false;
        EndTable(vdf_tbl_TableLastRowEnd);
        StartTable();
    }
    TTableSubDataInfo &t = *FTables.back();
    if (FCurrentVDData->ItemCount() == 0) {
        // An empty cell holds an empty paragraph.
        const bool unicode = UnicodeMode == vdruOnlyUnicode;
        AddTextRun({}, unicode, rtf_ts_NewPara);
    }
    ++t.CellEnds;
    // Cells beyond the limit of a row's cell definitions add their text to the last cell.
    if (FCurrentCol + 1 >= int32_t(TVDRTFRowProperties::MaxCells)) {
        return;
    }
    ++FCurrentCol;
    if (t.lastrow->GetColCount() <= FCurrentCol) {
        t.lastrow->GetRows().InsertCols(t.lastrow->GetColCount(), 1, -1, false);
    }
    FCurrentVDData = t.lastrow->GetCells(0, FCurrentCol);
    FCurrentVDData->Clear();
}

void TVDRTFReaderProperties::FinishTableRow() {
    if (FTables.empty()) {
        return;
    }
    TTableSubDataInfo &t = *FTables.back();
    TRTFCollectedRow row;
    row.Props = FReader->RTFState().RowProps();
    const int32_t cols = t.lastrow->GetColCount();
    int32_t count = std::min(t.CellEnds, cols);
    if (count < cols && t.lastrow->GetCells(0, count)->ItemCount() > 0) {
        ++count; // text after the last cell end is kept as one more cell
    }
    row.CellCount = count;
    row.PageBreakBefore = t.PageBreakBefore;
    row.Cells = std::move(t.lastrow);
    t.Rows.push_back(std::move(row));
    t.RowFinished = true;
    t.CellEnds = 0;
    t.IsLastRow = t.Rows.back().Props.FLastRow;
    t.PageBreakBefore = false;
    ++FCurrentRow;
    FCurrentCol = 0;
    t.lastrow = NewCollectedRow(t.PrevVDData);
    FCurrentVDData = t.lastrow->GetCells(0, 0);
}

void TVDRTFReaderProperties::MarkTableRowUnfinished(const TCustomVDData &doc) {
    if (!FTables.empty() && &doc != FTables.back()->PrevVDData) {
        FTables.back()->RowFinished = false;
    }
}

void TVDRTFReaderProperties::EndTable(TVDRTFTableEventKind kind) {
    std::unique_ptr<TTableSubDataInfo> entry = std::move(FTables.back());
    FTables.pop_back();
    // A page break waiting inside the table waits for the document below, after the table.
    const bool pageBreak = FPageBreak;
    FPageBreak = false;
    FCurrentVDData = entry->PrevVDData;
    FCurrentRow = entry->ParentRow;
    FCurrentCol = entry->ParentCol;
    std::unique_ptr<TVDTableItemInfo> table;
    if (!entry->Rows.empty()) {
        table = BuildTable(*entry);
    }
    if (table) {
        const rtl::UnicodeString pending = std::move(FBookmarkName);
        FBookmarkName = std::move(entry->BookmarkName);
        InsertRTFItem({}, std::move(table), rtf_ts_NewPara);
        FBookmarkName = pending;
    }
    if (kind == vdf_tbl_TableLastRowEnd) {
        FLastRowForNewTable = std::move(entry->lastrow);
    } else if (!entry->RowFinished) {
        // Text of a row that never ended stays in the document, every cell of it in order.
        for (int32_t c = 0; c < entry->lastrow->GetColCount(); ++c) {
            FCurrentVDData->DrainFrom(entry->lastrow->GetCells(0, c));
        }
    }
    if (pageBreak) {
        FPageBreak = true;
        FPageBreakVDData = FCurrentVDData;
    }
}

void TVDRTFReaderProperties::CloseOpenTables() {
    while (!FTables.empty()) {
        EndTable(vdf_tbl_TableForcedEnd);
    }
}

} // namespace vizivodu
