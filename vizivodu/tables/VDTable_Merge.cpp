// Merging a rectangle of cells into one, unmerging merged cells and splitting cells into
// several columns or rows; the public table operations built on them.
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/document/VDError.h"

#include <set>

namespace vizivodu {

// ---- Merging ----

bool TVDTableRows::CheckMergeParameters(int32_t topRow, int32_t leftCol, int32_t &colSpan,
                                        int32_t &rowSpan) {
    if (topRow + rowSpan > GetRowCount()) {
        rowSpan = GetRowCount() - topRow;
    }
    const int32_t positions = Get(topRow)->GetCount();
    if (leftCol + colSpan > positions) {
        colSpan = positions - leftCol;
    }
    if (colSpan < 2 && rowSpan < 2) {
        return false;
    }
    if (colSpan < 1 || rowSpan < 1) {
        throw EViziVoduError("Parameters for cell merging are not correct");
    }
    const TVDTableCellData *corner = Cell(topRow, leftCol);
    return corner && !(corner->GetRowSpan() >= rowSpan && corner->GetColSpan() >= colSpan);
}

bool TVDTableRows::IsMergeLeavingRowsAndCols(int32_t topRow, int32_t leftCol, int32_t colSpan,
                                             int32_t rowSpan) {
    const int32_t rowCount = GetRowCount();
    const int32_t colCount = GetColCount();
    auto columnHasOwnCellOutside = [&](int32_t c) {
        for (int32_t r = 0; r < rowCount; ++r) {
            if ((r < topRow || r >= topRow + rowSpan) && Cell(r, c)) {
                return true;
            }
        }
        return false;
    };
    auto rowHasOwnCellOutside = [&](int32_t r) {
        for (int32_t c = 0; c < colCount; ++c) {
            if ((c < leftCol || c >= leftCol + colSpan) && Cell(r, c)) {
                return true;
            }
        }
        return false;
    };
    for (int32_t c = leftCol + 1; colSpan > 1 && c < leftCol + colSpan; ++c) {
        if (!columnHasOwnCellOutside(c)) {
            return false;
        }
    }
    for (int32_t r = topRow + 1; rowSpan > 1 && r < topRow + rowSpan; ++r) {
        if (!rowHasOwnCellOutside(r)) {
            return false;
        }
    }
    return true;
}

bool TVDTableRows::CanMergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                                 bool allowMergeRC) {
    if (!CheckMergeParameters(topRow, leftCol, colSpan, rowSpan)) {
        return false;
    }
    std::set<const TVDTableCellData *> cells;
    for (int32_t r = topRow; r < topRow + rowSpan; ++r) {
        for (int32_t c = leftCol; c < leftCol + colSpan; ++c) {
            int32_t mRow = 0;
            int32_t mCol = 0;
            const TVDTableCellData *cell = GetMainCell(r, c, mRow, mCol);
            if (mRow < topRow || mCol < leftCol || mRow + cell->GetRowSpan() > topRow + rowSpan ||
                mCol + cell->GetColSpan() > leftCol + colSpan) {
                return false;
            }
            cells.insert(cell);
        }
    }
    if (allowMergeRC) {
        return cells.size() >= 2;
    }
    return IsMergeLeavingRowsAndCols(topRow, leftCol, colSpan, rowSpan);
}

void TVDTableRows::MergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                              bool allowMergeRC, bool changeBestWidth) {
    if (!CheckMergeParameters(topRow, leftCol, colSpan, rowSpan)) {
        return;
    }
    if (!CanMergeCells(topRow, leftCol, colSpan, rowSpan, allowMergeRC)) {
        FTable->Beep();
        return;
    }
    DoMergeCells(topRow, leftCol, colSpan, rowSpan, changeBestWidth);
}

void TVDTableRows::DoMergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                                bool changeBestWidth) {
    TVDTableCellData *main = Cell(topRow, leftCol);
    if (changeBestWidth) {
        main->FBestWidth = GetMergedBestWidth(topRow, leftCol, colSpan, rowSpan);
    }
    for (int32_t r = topRow; r < topRow + rowSpan; ++r) {
        TVDTableRow *row = Get(r);
        for (int32_t c = leftCol; c < leftCol + colSpan; ++c) {
            TVDTableCellData *victim = row->Get(c);
            if (!victim || victim == main) {
                continue;
            }
            if (victim->HasData(false)) {
                main->DrainFrom(victim);
            }
            row->Put(c, nullptr);
        }
    }
    main->FColSpan = colSpan;
    main->FRowSpan = rowSpan;
}

TVDHTMLLength TVDTableRows::GetMergedBestWidth(int32_t topRow, int32_t leftCol, int32_t colSpan,
                                               int32_t rowSpan) const {
    TVDHTMLLength result = 0;
    for (int32_t r = topRow; r < topRow + rowSpan; ++r) {
        // A row's total: percentages add up and win over absolute widths, which add up only
        // while no percentage was seen.
        TVDHTMLLength total = 0;
        for (int32_t c = leftCol; c < leftCol + colSpan; ++c) {
            const TVDTableCellData *cell = Cell(r, c);
            if (!cell) {
                continue;
            }
            const TVDHTMLLength w = cell->GetBestWidth();
            if (w < 0) {
                total = (total <= 0 ? total : 0) + w;
            } else if (w > 0 && total >= 0) {
                total += w;
            }
        }
        if (total < 0) {
            if (result >= 0 || total < result) {
                result = total;
            }
        } else if (total > 0 && result >= 0 && total > result) {
            result = total;
        }
    }
    return result;
}

// ---- Unmerging ----

void TVDTableRows::UnmergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                                bool unmergeRows, bool unmergeCols) {
    for (int32_t r = topRow + rowSpan - 1; r >= topRow; --r) {
        for (int32_t c = leftCol + colSpan - 1; c >= leftCol; --c) {
            UnmergeCell(r, c, unmergeRows, unmergeCols);
        }
    }
}

void TVDTableRows::UnmergeCell(int32_t row, int32_t col, bool unmergeRows, bool unmergeCols) {
    const TVDTableCellData *cell = Cell(row, col);
    if (!cell) {
        return;
    }
    if ((unmergeCols && cell->GetColSpan() != 1) || (unmergeRows && cell->GetRowSpan() != 1)) {
        DoUnmergeCell(row, col, unmergeRows, unmergeCols);
    }
}

void TVDTableRows::UnmergeCols(int32_t row, int32_t col, int32_t bestWidth) {
    TVDTableRow *r = Get(row);
    TVDTableCellData *cell = r->Get(col);
    for (int32_t c = col + 1; c < col + cell->GetColSpan(); ++c) {
        std::unique_ptr<TVDTableCellData> part = FTable->CreateCell(r);
        part->AssignAttributesFrom(*cell, false, 1, 1);
        part->FBestWidth = bestWidth;
        part->FRowSpan = cell->GetRowSpan();
        r->Put(c, std::move(part));
    }
    cell->FColSpan = 1;
    cell->FBestWidth = bestWidth;
}

void TVDTableRows::DoUnmergeCell(int32_t row, int32_t col, bool unmergeRows, bool unmergeCols) {
    TVDTableCellData *cell = Cell(row, col);
    const int32_t cs = cell->GetColSpan();
    const int32_t rs = cell->GetRowSpan();
    int32_t w = cell->GetBestWidth();
    if (unmergeCols) {
        w = cell->GetBestWidth() / cs;
        if (w == 0 && cell->GetBestWidth() != 0) {
            w = SignOf(cell->GetBestWidth());
        }
    }
    if (unmergeRows) {
        for (int32_t r = row + 1; r < row + rs; ++r) {
            TVDTableRow *target = Get(r);
            std::unique_ptr<TVDTableCellData> part = FTable->CreateCell(target);
            part->AssignAttributesFrom(*cell, true, 1, rs);
            part->FColSpan = cs;
            target->Put(col, std::move(part));
        }
        cell->FRowSpan = 1;
        cell->FBestHeight = cell->GetBestHeight() / rs;
        if (unmergeCols) {
            for (int32_t r = row; r < row + rs; ++r) {
                UnmergeCols(r, col, w);
            }
        }
    } else if (unmergeCols) {
        UnmergeCols(row, col, w);
    }
}

// ---- Splitting ----

int32_t TVDTableRows::SplitCellVertically(int32_t row, int32_t col, int32_t count) {
    const TVDTableCellData *cell = Cell(row, col);
    if (count <= 1 || !cell) {
        return 0;
    }
    const int32_t cs = cell->GetColSpan();
    if (cs > 1) {
        UnmergeCell(row, col, false, true);
    }
    if (cs < count) {
        const int32_t added = count - cs;
        int32_t k = cs;
        int32_t a = col + cs - 1;
        while (count > 0 && k > 0) {
            const int32_t p = count / k;
            InsertCols(a + 1, p - 1, a, true);
            // Every other row merges its cell of column a with the new columns again.
            int32_t r = GetRowCount() - 1;
            while (r >= 0) {
                int32_t mRow = 0;
                int32_t mCol = 0;
                const TVDTableCellData *main = GetMainCell(r, a, mRow, mCol);
                if (mRow != row) {
                    int32_t lRow = 0;
                    int32_t lCol = 0;
                    const TVDTableCellData *last = GetMainCell(mRow, a + p - 1, lRow, lCol);
                    MergeCells(mRow, mCol, lCol + last->GetColSpan() - mCol, main->GetRowSpan(),
                               true, true);
                }
                r = mRow - 1;
            }
            --k;
            --a;
            count -= p;
        }
        return added;
    }
    if (count < cs) {
        // The single cells are regrouped into count cells, from the right.
        int32_t k = cs;
        int32_t a = col + cs - 1;
        while (count > 0 && k > 0 && a >= col) {
            const int32_t s = k / count;
            a -= s;
            MergeCells(row, a + 1, s, Cell(row, a + 1)->GetRowSpan(), true, true);
            k -= s;
            --count;
        }
    }
    return 0;
}

int32_t TVDTableRows::SplitCellHorizontally(int32_t row, int32_t col, int32_t count) {
    const TVDTableCellData *cell = Cell(row, col);
    if (count <= 1 || !cell) {
        return 0;
    }
    const int32_t rs = cell->GetRowSpan();
    if (rs > 1) {
        UnmergeCell(row, col, true, false);
    }
    if (rs < count) {
        const int32_t added = count - rs;
        int32_t k = rs;
        int32_t a = row + rs - 1;
        while (count > 0 && k > 0) {
            const int32_t p = count / k;
            InsertRows(a + 1, p - 1, a, true);
            // Every other column merges its cell of row a with the new rows again.
            int32_t c = GetColCount() - 1;
            while (c >= 0) {
                int32_t mRow = 0;
                int32_t mCol = 0;
                const TVDTableCellData *main = GetMainCell(a, c, mRow, mCol);
                if (mCol != col) {
                    int32_t lRow = 0;
                    int32_t lCol = 0;
                    const TVDTableCellData *last = GetMainCell(a + p - 1, mCol, lRow, lCol);
                    MergeCells(mRow, mCol, main->GetColSpan(), lRow + last->GetRowSpan() - mRow,
                               true, true);
                }
                c = mCol - 1;
            }
            --k;
            --a;
            count -= p;
        }
        return added;
    }
    if (count < rs) {
        int32_t k = rs;
        int32_t a = row + rs - 1;
        while (count > 0 && k > 0 && a >= row) {
            const int32_t s = k / count;
            a -= s;
            MergeCells(a + 1, col, Cell(a + 1, col)->GetColSpan(), s, true, true);
            k -= s;
            --count;
        }
    }
    return 0;
}

int32_t TVDTableRows::SplitCellsVertically(int32_t topRow, int32_t leftCol, int32_t colSpan,
                                           int32_t rowSpan, int32_t count) {
    int32_t added = 0;
    for (int32_t c = leftCol + colSpan - 1; c >= leftCol; --c) {
        for (int32_t r = topRow; r < topRow + rowSpan; ++r) {
            if (Cell(r, c)) {
                added += SplitCellVertically(r, c, count);
            }
        }
    }
    return added;
}

int32_t TVDTableRows::SplitCellsHorizontally(int32_t topRow, int32_t leftCol, int32_t colSpan,
                                             int32_t rowSpan, int32_t count) {
    int32_t added = 0;
    for (int32_t r = topRow + rowSpan - 1; r >= topRow; --r) {
        for (int32_t c = leftCol; c < leftCol + colSpan; ++c) {
            if (Cell(r, c)) {
                added += SplitCellHorizontally(r, c, count);
            }
        }
    }
    return added;
}

// ---- Public operations of the table ----

namespace {

// Flags the table as changed when the scope ends, also when an operation raises.
struct TChangedOnExit {
    TVDTableItemInfo &Table;
    ~TChangedOnExit() { Table.Changed(); }
};

} // namespace

bool TVDTableItemInfo::CanMergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan,
                                     int32_t rowSpan, bool allowMergeRC) {
    return FRows->CanMergeCells(topRow, leftCol, colSpan, rowSpan, allowMergeRC);
}

void TVDTableItemInfo::MergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                                  bool allowMergeRC) {
    FRows->MergeCells(topRow, leftCol, colSpan, rowSpan, allowMergeRC, true);
    Changed();
}

bool TVDTableItemInfo::CanMergeSelectedCells(bool allowMergeRC) {
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    return FState.Contains(vdtsSelExists) &&
           GetNormalizedSelectionBounds(false, topRow, leftCol, colSpan, rowSpan) &&
           FRows->CanMergeCells(topRow, leftCol, colSpan, rowSpan, allowMergeRC);
}

void TVDTableItemInfo::MergeSelectedCells(bool allowMergeRC) {
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (FState.Contains(vdtsSelExists) &&
        GetNormalizedSelectionBounds(false, topRow, leftCol, colSpan, rowSpan)) {
        MergeCells(topRow, leftCol, colSpan, rowSpan, allowMergeRC);
    }
}

void TVDTableItemInfo::UnmergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan,
                                    int32_t rowSpan, bool unmergeRows, bool unmergeCols) {
    TChangedOnExit changed{*this};
    FRows->UnmergeCells(topRow, leftCol, colSpan, rowSpan, unmergeRows, unmergeCols);
}

void TVDTableItemInfo::UnmergeSelectedCells(bool unmergeRows, bool unmergeCols) {
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (GetNormalizedSelectionBounds(true, topRow, leftCol, colSpan, rowSpan)) {
        UnmergeCells(topRow, leftCol, colSpan, rowSpan, unmergeRows, unmergeCols);
    }
}

void TVDTableItemInfo::SplitSelectedCellsVertically(int32_t colCount) {
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (!GetNormalizedSelectionBounds(true, topRow, leftCol, colSpan, rowSpan)) {
        return;
    }
    const int32_t added = FRows->SplitCellsVertically(topRow, leftCol, colSpan, rowSpan, colCount);
    Select(topRow, leftCol, rowSpan - 1, added + colSpan - 1);
    Changed();
}

void TVDTableItemInfo::SplitSelectedCellsHorizontally(int32_t rowCount) {
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (!GetNormalizedSelectionBounds(true, topRow, leftCol, colSpan, rowSpan)) {
        return;
    }
    const int32_t added =
        FRows->SplitCellsHorizontally(topRow, leftCol, colSpan, rowSpan, rowCount);
    Select(topRow, leftCol, added + rowSpan - 1, colSpan - 1);
    Changed();
}

} // namespace vizivodu
