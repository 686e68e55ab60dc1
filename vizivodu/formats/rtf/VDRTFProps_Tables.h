// The state of one table being read from RTF: the rows collected so far, each with its row
// definition and a one-row table whose cells hold the text of its RTF cells.
#pragma once

#include "vizivodu/formats/rtf/VDRTFRecords.h"
#include "vizivodu/tables/VDTable.h"

#include <memory>
#include <vector>

namespace vizivodu {

struct TRTFCollectedRow {
    TVDRTFRowProperties Props;
    std::unique_ptr<TVDTableItemInfo> Cells;
    // RTF cells that hold text: the cell ends seen, and the cell after the last end when text
    // reached it.
    int32_t CellCount = 0;
    bool PageBreakBefore = false;
};

struct TTableSubDataInfo {
    TCustomVDData *PrevVDData = nullptr;
    int32_t ParentRow = -1;
    int32_t ParentCol = -1;
    rtl::UnicodeString BookmarkName;
    std::unique_ptr<TVDTableItemInfo> lastrow;
    std::vector<TRTFCollectedRow> Rows;
    int32_t CellEnds = 0;
    bool RowFinished = false;
    bool IsLastRow = false;
    bool PageBreakBefore = false;
};

} // namespace vizivodu
