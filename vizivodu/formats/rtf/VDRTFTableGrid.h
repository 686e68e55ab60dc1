// The grid of a table read from RTF: RTF gives each row its own cell boundaries, the table item
// one grid of columns. Each RTF cell covers the columns between its boundaries; merged RTF
// cells become one cell with a span, and gaps become filler cells.
#pragma once

#include "vizivodu/formats/rtf/VDRTFRecords.h"

#include <cstdint>
#include <vector>

namespace vizivodu {

struct TVDRTFGridCellDef {
    int32_t RightTw = 0;
    TVDRTFCellMerge HMerge = rtf_cm_None;
    TVDRTFCellMerge VMerge = rtf_cm_None;
};

struct TVDRTFGridRow {
    int32_t LeftTw = 0;
    std::vector<TVDRTFGridCellDef> Cells;
};

// Where the content of one RTF cell goes.
struct TVDRTFGridSource {
    int32_t Row = 0;
    int32_t Cell = 0;
};

// One cell of the grid: a filler has no sources; otherwise its properties come from the first
// source and its content from all of them in order.
struct TVDRTFGridCell {
    int32_t Row = 0;
    int32_t Col = 0;
    int32_t RowSpan = 1;
    int32_t ColSpan = 1;
    std::vector<TVDRTFGridSource> Sources;
    bool IsFiller() const { return Sources.empty(); }
};

struct TVDRTFGrid {
    // Column boundaries in twips, ascending: the left edge, then each column's right edge.
    std::vector<int32_t> Boundaries;
    int32_t ColCount = 0;
    std::vector<TVDRTFGridCell> Cells;
};

// Boundaries are ordered and kept apart by the row, and clamped to a range where sums cannot
// overflow. More distinct boundaries than MaxColumns give a grid in which a row's cells stand
// side by side from the left, its last cell reaching the right edge.
TVDRTFGrid BuildRTFGrid(std::vector<TVDRTFGridRow> rows);

inline constexpr int32_t RTFGridMaxColumns = 1000;
inline constexpr int32_t RTFGridMaxTw = 1000000;

} // namespace vizivodu
