// The grid of a table read from RTF: column boundaries of all rows, spans and filler cells.
#include "vizivodu/formats/rtf/VDRTFTableGrid.h"

#include <algorithm>

namespace vizivodu {
namespace {

// Boundaries of a row ascend at least 2 twips apart, so that two of them never fall on one
// boundary of the grid (boundaries within 1 twip are the same); the left edge lies left of the
// first cell.
void NormalizeRow(TVDRTFGridRow &row) {
    int64_t prev = INT64_MIN;
    for (TVDRTFGridCellDef &cell : row.Cells) {
        int64_t right = std::clamp(cell.RightTw, -RTFGridMaxTw, RTFGridMaxTw);
        if (prev != INT64_MIN && right < prev + 2) {
            right = prev + 2;
        }
        cell.RightTw = int32_t(std::min<int64_t>(right, INT32_MAX / 2));
        prev = cell.RightTw;
    }
    row.LeftTw = std::clamp(row.LeftTw, -RTFGridMaxTw, RTFGridMaxTw);
    if (!row.Cells.empty() && row.LeftTw > row.Cells.front().RightTw - 2) {
        row.LeftTw = row.Cells.front().RightTw - 10;
    }
}

std::vector<int32_t> UnionOfBoundaries(const std::vector<TVDRTFGridRow> &rows) {
    std::vector<int32_t> all;
    for (const TVDRTFGridRow &row : rows) {
        all.push_back(row.LeftTw);
        for (const TVDRTFGridCellDef &cell : row.Cells) {
            all.push_back(cell.RightTw);
        }
    }
    std::sort(all.begin(), all.end());
    std::vector<int32_t> result;
    for (int32_t v : all) {
        if (result.empty() || v - result.back() > 1) {
            result.push_back(v);
        }
    }
    return result;
}

class TGridPlacer {
public:
    TGridPlacer(TVDRTFGrid &grid, int32_t colCount) : G(grid), Above(size_t(colCount), -1) {
        G.ColCount = colCount;
    }

    // Places row r whose cells end at the given grid columns (each above start).
    void PlaceRow(int32_t r, int32_t start, const TVDRTFGridRow &row,
                  const std::vector<int32_t> &ends) {
        std::vector<int32_t> owner(size_t(G.ColCount), -1);
        int32_t p = std::min(start, G.ColCount);
        AddFiller(r, 0, p, owner);
        int32_t prev = -1;
        for (size_t c = 0; c < row.Cells.size(); ++c) {
            const TVDRTFGridSource source{r, int32_t(c)};
            const int32_t j = std::min(std::max(ends[c], p + 1), G.ColCount);
            if (p >= G.ColCount) {
                // No column left: the text still goes to the cell before.
                if (prev >= 0) {
                    G.Cells[size_t(prev)].Sources.push_back(source);
                }
                continue;
            }
            prev = PlaceCell(r, p, j, row.Cells[c], source, prev, owner);
            p = j;
        }
        AddFiller(r, p, G.ColCount, owner);
        Above = std::move(owner);
    }

private:
    TVDRTFGrid &G;
    std::vector<int32_t> Above; // the grid cell covering each column of the row above

    int32_t PlaceCell(int32_t r, int32_t p, int32_t j, const TVDRTFGridCellDef &def,
                      const TVDRTFGridSource &source, int32_t prev, std::vector<int32_t> &owner) {
        int32_t idx = -1;
        if (def.HMerge == rtf_cm_Merged && prev >= 0 && G.Cells[size_t(prev)].Row == r &&
            G.Cells[size_t(prev)].Col + G.Cells[size_t(prev)].ColSpan == p) {
            idx = prev;
            G.Cells[size_t(idx)].ColSpan = j - G.Cells[size_t(idx)].Col;
        } else if (def.VMerge == rtf_cm_Merged && Above[size_t(p)] >= 0) {
            // Only a cell of the same columns that ends in the row above is continued: a
            // longer span would overlap its neighbours.
            TVDRTFGridCell &a = G.Cells[size_t(Above[size_t(p)])];
            if (!a.IsFiller() && a.Col == p && a.Col + a.ColSpan == j && a.Row + a.RowSpan == r) {
                idx = Above[size_t(p)];
                ++a.RowSpan;
            }
        }
        if (idx < 0) {
            idx = int32_t(G.Cells.size());
            G.Cells.push_back({r, p, 1, j - p, {}});
        }
        G.Cells[size_t(idx)].Sources.push_back(source);
        std::fill(owner.begin() + p, owner.begin() + j, idx);
        return idx;
    }

    void AddFiller(int32_t r, int32_t from, int32_t to, std::vector<int32_t> &owner) {
        if (from >= to) {
            return;
        }
        std::fill(owner.begin() + from, owner.begin() + to, int32_t(G.Cells.size()));
        G.Cells.push_back({r, from, 1, to - from, {}});
    }
};

int32_t FindBoundary(const std::vector<int32_t> &b, int32_t x) {
    return int32_t(std::lower_bound(b.begin(), b.end(), x - 1) - b.begin());
}

} // namespace

TVDRTFGrid BuildRTFGrid(std::vector<TVDRTFGridRow> rows) {
    TVDRTFGrid grid;
    for (TVDRTFGridRow &row : rows) {
        NormalizeRow(row);
    }
    std::vector<int32_t> boundaries = UnionOfBoundaries(rows);
    const bool aligned = int32_t(boundaries.size()) - 1 <= RTFGridMaxColumns;
    int32_t colCount = 1;
    if (aligned) {
        colCount = std::max<int32_t>(1, int32_t(boundaries.size()) - 1);
        grid.Boundaries = std::move(boundaries);
    } else {
        for (const TVDRTFGridRow &row : rows) {
            colCount = std::max(colCount, int32_t(row.Cells.size()));
        }
    }
    TGridPlacer placer(grid, colCount);
    for (size_t r = 0; r < rows.size(); ++r) {
        const TVDRTFGridRow &row = rows[r];
        std::vector<int32_t> ends(row.Cells.size());
        int32_t start = 0;
        if (aligned) {
            start = FindBoundary(grid.Boundaries, row.LeftTw);
            for (size_t c = 0; c < ends.size(); ++c) {
                ends[c] = FindBoundary(grid.Boundaries, row.Cells[c].RightTw);
            }
        } else {
            for (size_t c = 0; c < ends.size(); ++c) {
                ends[c] = c + 1 == ends.size() ? colCount : int32_t(c) + 1;
            }
        }
        placer.PlaceRow(int32_t(r), start, row, ends);
    }
    return grid;
}

} // namespace vizivodu
