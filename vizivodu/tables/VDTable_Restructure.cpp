// Inserting and deleting rows and columns while keeping the grid rule, the small primitives
// they are made of, and clearing cells; the public table operations built on them.
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/document/VDError.h"

#include <algorithm>

namespace vizivodu {

namespace {

[[noreturn]] void InvalidIndex() {
    throw EViziVoduError("Invalid row or column index");
}

} // namespace

// ---- Primitives ----

void TVDTableRows::ChangeSpan(int32_t row, int32_t col, bool isColSpan, int32_t newSpan) {
    TVDTableCellData *cell = Cell(row, col);
    (isColSpan ? cell->FColSpan : cell->FRowSpan) = newSpan;
}

void TVDTableRows::ChangeEmptyCellStyles(int32_t row, int32_t col, int32_t styleNo,
                                         int32_t paraNo) {
    TVDTableCellData *cell = Cell(row, col);
    cell->Clear();
    cell->AddNL(u"", styleNo, paraNo);
}

void TVDTableRows::InsertEmptyRows(int32_t index, int32_t count) {
    const int32_t colCount = GetColCount();
    for (int32_t i = 0; i < count; ++i) {
        Insert(index, colCount);
    }
}

void TVDTableRows::SpreadOverEmptyCells(int32_t row, int32_t col, int32_t count) {
    TVDTableRow *r = Get(row);
    r->Get(col)->FColSpan = count;
    for (int32_t c = col + 1; c < col + count; ++c) {
        r->Put(c, nullptr);
    }
}

void TVDTableRows::FreeCells(int32_t row, int32_t col, int32_t rowCount, int32_t colCount) {
    for (int32_t r = row; r < row + rowCount; ++r) {
        for (int32_t c = col; c < col + colCount; ++c) {
            Get(r)->Put(c, nullptr);
        }
    }
}

void TVDTableRows::InsertEmptyCells(int32_t row, int32_t col, int32_t rowCount, int32_t colCount) {
    for (int32_t r = row; r < row + rowCount; ++r) {
        for (int32_t i = 0; i < colCount; ++i) {
            Get(r)->InsertEmpty(col);
        }
    }
}

void TVDTableRows::SplitRowSpan(int32_t row, int32_t col, bool decreaseHeight, int32_t newRow) {
    TVDTableCellData *cell = Cell(row, col);
    const int32_t oldSpan = cell->GetRowSpan();
    const TVDStyleLength oldHeight = cell->GetBestHeight();
    TVDTableRow *target = Get(newRow);
    std::unique_ptr<TVDTableCellData> part = FTable->CreateCell(target);
    part->AssignAttributesFrom(*cell, true, 1, 1);
    part->FColSpan = cell->GetColSpan();
    part->FRowSpan = row + oldSpan - newRow;
    part->FBestHeight = static_cast<TVDStyleLength>(int64_t{part->FRowSpan} * oldHeight / oldSpan);
    if (decreaseHeight) {
        cell->FBestHeight =
            static_cast<TVDStyleLength>(int64_t{oldSpan - part->FRowSpan} * oldHeight / oldSpan);
    }
    cell->FRowSpan -= part->FRowSpan;
    target->Put(col, std::move(part));
}

void TVDTableRows::SplitColSpan(int32_t row, int32_t col, bool decreaseWidth, int32_t newCol) {
    TVDTableCellData *cell = Cell(row, col);
    const int32_t oldSpan = cell->GetColSpan();
    const TVDHTMLLength oldWidth = cell->GetBestWidth();
    TVDTableRow *target = Get(row);
    std::unique_ptr<TVDTableCellData> part = FTable->CreateCell(target);
    part->AssignAttributesFrom(*cell, true, 1, 1);
    part->FRowSpan = cell->GetRowSpan();
    part->FColSpan = col + oldSpan - newCol;
    part->FBestWidth = static_cast<TVDHTMLLength>(int64_t{part->FColSpan} * oldWidth / oldSpan);
    if (decreaseWidth) {
        cell->FBestWidth =
            static_cast<TVDHTMLLength>(int64_t{oldSpan - part->FColSpan} * oldWidth / oldSpan);
    }
    cell->FColSpan -= part->FColSpan;
    target->Put(newCol, std::move(part));
}

void TVDTableRows::DeleteRowsEx(int32_t index, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        Delete(index);
    }
}

void TVDTableRows::DeleteColsEx(int32_t index, int32_t count) {
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        TVDTableRow *row = Get(r);
        for (int32_t i = 0; i < count; ++i) {
            row->Delete(index);
        }
    }
}

void TVDTableRows::ClearCells(const std::vector<std::pair<int32_t, int32_t>> &positions) {
    for (const auto &[r, c] : positions) {
        TVDTableCellData *cell = Cell(r, c);
        TCustomVDData *data = cell->GetVDData();
        const int32_t styleNo = data->GetFirstTextStyleNo(true);
        const int32_t paraNo = data->GetFirstParaStyleNo();
        data->Clear();
        data->AddNL(u"", styleNo, paraNo);
    }
}

// ---- Inserting columns ----

void TVDTableRows::InsertCols(int32_t index, int32_t count, int32_t copyIndex, bool shareWidth) {
    const int32_t colCount = GetColCount();
    if (index < 0 || index > colCount || copyIndex < -1 || copyIndex >= colCount) {
        InvalidIndex();
    }
    std::vector<bool> widened(static_cast<size_t>(GetRowCount()), false);
    if (index != colCount) {
        // Cells that start left of index and reach it grow by count columns.
        int32_t r = GetRowCount() - 1;
        while (r >= 0) {
            int32_t mRow = 0;
            int32_t mCol = 0;
            TVDTableCellData *main = GetMainCell(r, index, mRow, mCol);
            if (mCol < index) {
                for (int32_t k = mRow; k < mRow + main->GetRowSpan(); ++k) {
                    widened[static_cast<size_t>(k)] = true;
                }
                ChangeSpan(mRow, mCol, true, main->GetColSpan() + count);
            }
            r = mRow - 1;
        }
    }
    InsertColsCopying(index, count, copyIndex, shareWidth, widened);
}

void TVDTableRows::InsertColsCopying(int32_t index, int32_t count, int32_t copyIndex,
                                     bool shareWidth, const std::vector<bool> &widened) {
    int32_t r = 0;
    while (r < GetRowCount()) {
        if (widened[static_cast<size_t>(r)]) {
            InsertEmptyCells(r, index, 1, count);
            ++r;
            continue;
        }
        const TVDTableCellData *source = copyIndex >= 0 ? Cell(r, copyIndex) : nullptr;
        if (source && shareWidth) {
            FTable->ChangeCellIntProperty(
                -1, u"BestWidth",
                static_cast<int32_t>(int64_t{source->GetBestWidth()} * source->GetColSpan() /
                                     (source->GetColSpan() + count)),
                r, copyIndex, true, true);
        }
        // The new cells take the source's row span only down to a row whose position at index
        // a widened cell covers already; beyond it they would cover it twice.
        int32_t rowSpan = 1;
        while (source && rowSpan < source->GetRowSpan() &&
               !widened[static_cast<size_t>(r + rowSpan)]) {
            ++rowSpan;
        }
        for (int32_t i = 0; i < count; ++i) {
            Get(r)->Insert(index);
            if (!source) {
                continue;
            }
            FTable->AssignCellAttributes(-1, r, index, *source, true, source->GetColSpan(), 1);
            TCustomVDData *sourceData = const_cast<TVDTableCellData *>(source)->GetVDData();
            ChangeEmptyCellStyles(r, index, sourceData->GetFirstTextStyleNo(true),
                                  sourceData->GetFirstParaStyleNo());
            ChangeSpan(r, index, false, rowSpan);
        }
        InsertEmptyCells(r + 1, index, rowSpan - 1, count);
        r += rowSpan;
    }
}

// ---- Inserting rows ----

void TVDTableRows::InsertRows(int32_t index, int32_t count, int32_t copyIndex, bool shareHeight) {
    const int32_t rowCount = GetRowCount();
    if (index < 0 || index > rowCount || copyIndex < -1 || copyIndex >= rowCount) {
        InvalidIndex();
    }
    std::vector<bool> lengthened(static_cast<size_t>(GetColCount()), false);
    if (index != rowCount) {
        // Cells that start above index and reach it grow by count rows.
        int32_t c = GetColCount() - 1;
        while (c >= 0) {
            int32_t mRow = 0;
            int32_t mCol = 0;
            TVDTableCellData *main = GetMainCell(index, c, mRow, mCol);
            if (mRow < index) {
                for (int32_t k = mCol; k < mCol + main->GetColSpan(); ++k) {
                    lengthened[static_cast<size_t>(k)] = true;
                }
                ChangeSpan(mRow, mCol, false, main->GetRowSpan() + count);
            }
            c = mCol - 1;
        }
    }
    if (copyIndex >= index) {
        copyIndex += count;
    }
    InsertEmptyRows(index, count);
    if (copyIndex >= 0) {
        const TVDTableRow &model = *Get(copyIndex);
        for (int32_t i = 0; i < count; ++i) {
            FTable->SetRowVAlign(model.VAlign, index + i);
            FTable->SetRowKeepTogether(model.KeepTogether, index + i);
        }
    }
    InsertRowsCopying(index, count, copyIndex, shareHeight, lengthened);
}

void TVDTableRows::InsertRowsCopying(int32_t index, int32_t count, int32_t copyIndex,
                                     bool shareHeight, const std::vector<bool> &lengthened) {
    int32_t c = 0;
    while (c < GetColCount()) {
        if (lengthened[static_cast<size_t>(c)]) {
            FreeCells(index, c, count, 1);
            ++c;
            continue;
        }
        const TVDTableCellData *source = copyIndex >= 0 ? Cell(copyIndex, c) : nullptr;
        if (!source) {
            ++c;
            continue;
        }
        if (shareHeight) {
            FTable->ChangeCellIntProperty(
                -1, u"BestHeight",
                static_cast<int32_t>(int64_t{source->GetBestHeight()} * source->GetRowSpan() /
                                     (source->GetRowSpan() + count)),
                copyIndex, c, true, false);
        }
        // The column span stops at a column that a lengthened cell covers in the new rows.
        int32_t colSpan = 1;
        while (colSpan < source->GetColSpan() && !lengthened[static_cast<size_t>(c + colSpan)]) {
            ++colSpan;
        }
        TCustomVDData *sourceData = const_cast<TVDTableCellData *>(source)->GetVDData();
        for (int32_t i = 0; i < count; ++i) {
            FTable->AssignCellAttributes(-1, index + i, c, *source, true, 1, source->GetRowSpan());
            ChangeEmptyCellStyles(index + i, c, sourceData->GetFirstTextStyleNo(true),
                                  sourceData->GetFirstParaStyleNo());
            SpreadOverEmptyCells(index + i, c, colSpan);
        }
        c += colSpan;
    }
}

// ---- Deleting ----

void TVDTableRows::DeleteRows(int32_t index, int32_t count, bool decreaseHeight) {
    const int32_t rowCount = GetRowCount();
    if (index < 0 || index >= rowCount || count <= 0 || (index == 0 && count > rowCount)) {
        InvalidIndex();
    }
    count = std::min(count, rowCount - index);
    const int32_t last = index + count - 1;
    // Cells that start inside the block and reach below it leave their lower part behind.
    int32_t c = GetColCount() - 1;
    while (c >= 0) {
        int32_t mRow = 0;
        int32_t mCol = 0;
        const TVDTableCellData *main = GetMainCell(last, c, mRow, mCol);
        if (mRow >= index && mRow + main->GetRowSpan() - 1 > last) {
            SplitRowSpan(mRow, mCol, decreaseHeight, index + count);
        }
        c = mCol - 1;
    }
    // Cells that start above the block lose the rows of it they cover.
    c = GetColCount() - 1;
    while (c >= 0) {
        int32_t mRow = 0;
        int32_t mCol = 0;
        const TVDTableCellData *main = GetMainCell(index, c, mRow, mCol);
        if (mRow < index) {
            const int32_t rs = main->GetRowSpan();
            const int32_t s = mRow + rs - 1 > last ? rs - count : index - mRow;
            if (decreaseHeight) {
                FTable->ChangeCellIntProperty(
                    -1, u"BestHeight",
                    static_cast<int32_t>(int64_t{main->GetBestHeight()} * s / rs), mRow, mCol, true,
                    false);
            }
            ChangeSpan(mRow, mCol, false, s);
        }
        c = mCol - 1;
    }
    DeleteRowsEx(index, count);
}

void TVDTableRows::DeleteCols(int32_t index, int32_t count, bool decreaseWidth) {
    const int32_t colCount = GetColCount();
    if (index < 0 || index >= colCount || count <= 0 || (index == 0 && count > colCount)) {
        InvalidIndex();
    }
    count = std::min(count, colCount - index);
    const int32_t last = index + count - 1;
    int32_t r = GetRowCount() - 1;
    while (r >= 0) {
        int32_t mRow = 0;
        int32_t mCol = 0;
        const TVDTableCellData *main = GetMainCell(r, last, mRow, mCol);
        if (mCol >= index && mCol + main->GetColSpan() - 1 > last) {
            SplitColSpan(mRow, mCol, decreaseWidth, index + count);
        }
        r = mRow - 1;
    }
    r = GetRowCount() - 1;
    while (r >= 0) {
        int32_t mRow = 0;
        int32_t mCol = 0;
        const TVDTableCellData *main = GetMainCell(r, index, mRow, mCol);
        if (mCol < index) {
            const int32_t cs = main->GetColSpan();
            const int32_t s = mCol + cs - 1 > last ? cs - count : index - mCol;
            if (decreaseWidth) {
                FTable->ChangeCellIntProperty(
                    -1, u"BestWidth", static_cast<int32_t>(int64_t{main->GetBestWidth()} * s / cs),
                    mRow, mCol, true, true);
            }
            ChangeSpan(mRow, mCol, true, s);
        }
        r = mRow - 1;
    }
    DeleteColsEx(index, count);
}

// ---- Public operations of the table ----

void TVDTableItemInfo::InsertCols(int32_t index, int32_t count, int32_t copyIndex, bool select) {
    if (index < 0 || index > GetColCount() || copyIndex < -1 || copyIndex >= GetColCount()) {
        InvalidIndex();
    }
    FRows->InsertCols(index, count, copyIndex, false);
    if (select) {
        SelectCols(index, count);
    }
    Changed();
}

void TVDTableItemInfo::InsertRows(int32_t index, int32_t count, int32_t copyIndex, bool select) {
    if (index < 0 || index > GetRowCount() || copyIndex < -1 || copyIndex >= GetRowCount()) {
        InvalidIndex();
    }
    FRows->InsertRows(index, count, copyIndex, false);
    if (select) {
        SelectRows(index, count);
    }
    Changed();
}

void TVDTableItemInfo::InsertColsLeft(int32_t count) {
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (!GetNormalizedSelectionBounds(true, topRow, leftCol, colSpan, rowSpan)) {
        Beep();
        return;
    }
    InsertCols(leftCol, count, leftCol, true);
}

void TVDTableItemInfo::InsertColsRight(int32_t count) {
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (!GetNormalizedSelectionBounds(true, topRow, leftCol, colSpan, rowSpan)) {
        Beep();
        return;
    }
    InsertCols(leftCol + colSpan, count, leftCol + colSpan - 1, true);
}

void TVDTableItemInfo::InsertRowsAbove(int32_t count) {
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (!GetNormalizedSelectionBounds(true, topRow, leftCol, colSpan, rowSpan)) {
        Beep();
        return;
    }
    InsertRows(topRow, count, topRow, true);
}

void TVDTableItemInfo::InsertRowsBelow(int32_t count) {
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (!GetNormalizedSelectionBounds(true, topRow, leftCol, colSpan, rowSpan)) {
        Beep();
        return;
    }
    InsertRows(topRow + rowSpan, count, topRow + rowSpan - 1, true);
}

void TVDTableItemInfo::DeleteRows(int32_t index, int32_t count, bool decreaseHeight) {
    if (FRows->Empty()) {
        return;
    }
    if (index < 0 || index >= GetRowCount() || count <= 0 ||
        (index == 0 && count > GetRowCount())) {
        InvalidIndex();
    }
    Deselect();
    FRows->DeleteRows(index, count, decreaseHeight);
    Changed();
}

void TVDTableItemInfo::DeleteCols(int32_t index, int32_t count, bool decreaseWidth) {
    if (FRows->Empty()) {
        return;
    }
    if (index < 0 || index >= GetColCount() || count <= 0 ||
        (index == 0 && count > GetColCount())) {
        InvalidIndex();
    }
    Deselect();
    FRows->DeleteCols(index, count, decreaseWidth);
    Changed();
}

void TVDTableItemInfo::DeleteSelectedRows() {
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (!GetNormalizedSelectionBounds(true, topRow, leftCol, colSpan, rowSpan)) {
        Beep();
        return;
    }
    DeleteRows(topRow, rowSpan, true);
}

void TVDTableItemInfo::DeleteSelectedCols() {
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (!GetNormalizedSelectionBounds(true, topRow, leftCol, colSpan, rowSpan)) {
        Beep();
        return;
    }
    DeleteCols(leftCol, colSpan, true);
}

void TVDTableItemInfo::DeleteEmptyCols() {
    if (FRows->Empty()) {
        return;
    }
    for (int32_t c = GetColCount() - 1; c >= 0; --c) {
        bool empty = true;
        for (int32_t r = 0; r < GetRowCount() && empty; ++r) {
            empty = GetCells(r, c) == nullptr;
        }
        if (empty) {
            DeleteCols(c, 1, false);
        }
    }
}

void TVDTableItemInfo::DeleteEmptyRows() {
    for (int32_t r = GetRowCount() - 1; r >= 0; --r) {
        const TVDTableRow &row = *FRows->Get(r);
        bool empty = true;
        for (int32_t c = 0; c < row.GetCount() && empty; ++c) {
            empty = row.Get(c) == nullptr;
        }
        if (empty) {
            DeleteRows(r, 1, false);
        }
    }
}

bool TVDTableItemInfo::CanDeletePartiallySelected() {
    if (!FOptions.Contains(vdtoEditing)) {
        return false;
    }
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (!GetNormalizedSelectionBounds(false, topRow, leftCol, colSpan, rowSpan) || !IsInEditor()) {
        return true;
    }
    for (int32_t r = topRow; r < topRow + rowSpan; ++r) {
        for (int32_t c = leftCol; c < leftCol + colSpan; ++c) {
            TVDTableCellData *cell = GetCells(r, c);
            if (cell && IsCellSelected(r, c) && !cell->CanClearCell()) {
                return false;
            }
        }
    }
    return true;
}

void TVDTableItemInfo::DeletePartiallySelected() {
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (!GetNormalizedSelectionBounds(false, topRow, leftCol, colSpan, rowSpan) || !CanChange()) {
        return;
    }
    std::vector<std::pair<int32_t, int32_t>> positions;
    for (int32_t r = topRow; r < topRow + rowSpan; ++r) {
        for (int32_t c = leftCol; c < leftCol + colSpan; ++c) {
            if (GetCells(r, c) && IsCellSelected(r, c) && DoCellEditing(r, c, true)) {
                positions.emplace_back(r, c);
            }
        }
    }
    if (!positions.empty()) {
        FRows->ClearCells(positions);
    }
}

} // namespace vizivodu
