// The table's component stream: what a table writes or reads while one stream operation runs on
// it, and the limits its reader holds to.
#pragma once

#include <cstdint>

namespace vizivodu {

class TVDTablePrintPart;
class TCellPtblVDData;
class TD;

// Hung on the table (GetStreamSaveInfo) for the time of one stream operation: which rows and
// columns take part, and how.
struct TVDTableStreamSaveInfo {
    // The page part being saved, nullptr otherwise.
    TVDTablePrintPart *Part = nullptr;
    // Page of the current cell's printable document to save (page parts).
    int32_t CellPage = 1;
    TCellPtblVDData *CellPtblVDData = nullptr;
    int32_t TopRow = 0;
    int32_t LeftCol = 0;
    int32_t RowCount = 0;
    int32_t ColCount = 0;
    bool SaveHeadingRows = false;
    bool SelectionOnly = false;
    bool SavePictures = false;
    // Reading keeps the table's size and fills its cells in place.
    bool NoReset = false;
    bool LoadResult = true;
    // The wrapper through which each cell is written or read; it lives as long as the stream's
    // root component, since the reader finishes the components it read only at the end.
    TD *CellWrapper = nullptr;
};

// The most grid positions (rows x columns) a stream may give a table. A merged cell covers
// many positions with one entry, so the stream's length does not bound the grid by itself;
// this keeps a table announced as a billion cells from allocating one.
inline constexpr int64_t MaxStreamTablePositions = int64_t(1) << 22;

} // namespace vizivodu
