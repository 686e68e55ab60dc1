// Moving between cells, locating a cell, walking the cell documents, the chosen cell and the
// selection of several cells with its normalisation over merged cells.
#include "vizivodu/tables/VDTable.h"

#include <algorithm>

namespace vizivodu {

// ---- Locating cells ----

void TVDTableItemInfo::GetCellPosition(const TVDTableCellData *cell, int32_t &row, int32_t &col) {
    const int32_t cachedRow = cell->FCachedRow;
    const int32_t cachedCol = cell->FCachedCol;
    if (cachedRow >= 0 && cachedRow < GetRowCount() && cachedCol >= 0 &&
        cachedCol < FRows->Get(cachedRow)->GetCount() && GetCells(cachedRow, cachedCol) == cell) {
        row = cachedRow;
        col = cachedCol;
        return;
    }
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        const TVDTableRow &tableRow = *FRows->Get(r);
        for (int32_t c = 0; c < tableRow.GetCount(); ++c) {
            if (tableRow.Get(c) == cell) {
                row = r;
                col = c;
                auto *cached = const_cast<TVDTableCellData *>(cell);
                cached->FCachedRow = r;
                cached->FCachedCol = c;
                return;
            }
        }
    }
    row = col = -1;
}

// ---- Neighbouring cells ----

bool TVDTableItemInfo::GetCellTo(int32_t row, int32_t col, TVDCellDirection dir, int32_t &newRow,
                                 int32_t &newCol, bool quiet, bool) {
    const TVDTableCellData *cell = GetCells(row, col);
    switch (dir) {
    case vdcdLeft:
        if (row == 0 && col == 0) {
            return false;
        }
        if (col == 0) {
            return GetCellTo(row, col, vdcdPrev, newRow, newCol, true, false);
        }
        FRows->GetMainCell(row, col - 1, newRow, newCol);
        return true;
    case vdcdUp:
        if (row <= 0) {
            return false;
        }
        FRows->GetMainCell(row - 1, col, newRow, newCol);
        return true;
    case vdcdRight:
        if (col + cell->GetColSpan() >= GetColCount() &&
            row + cell->GetRowSpan() >= GetRowCount()) {
            return false;
        }
        if (col + cell->GetColSpan() == GetColCount()) {
            return GetCellTo(row, col, vdcdNext, newRow, newCol, true, false);
        }
        FRows->GetMainCell(row, col + cell->GetColSpan(), newRow, newCol);
        return true;
    case vdcdDown:
        if (row + cell->GetRowSpan() >= GetRowCount()) {
            return false;
        }
        FRows->GetMainCell(row + cell->GetRowSpan(), col, newRow, newCol);
        return true;
    case vdcdNext:
        for (int32_t r = row, c = col + 1; r < GetRowCount(); ++r, c = 0) {
            for (; c < FRows->Get(r)->GetCount(); ++c) {
                if (GetCells(r, c)) {
                    newRow = r;
                    newCol = c;
                    return true;
                }
            }
        }
        break;
    case vdcdPrev:
        for (int32_t r = row, c = col - 1; r >= 0;) {
            for (; c >= 0; --c) {
                if (GetCells(r, c)) {
                    newRow = r;
                    newCol = c;
                    return true;
                }
            }
            if (--r >= 0) {
                c = FRows->Get(r)->GetCount() - 1;
            }
        }
        break;
    case vdcdDocTop:
    case vdcdDocBottom:
        return false;
    }
    if (!quiet) {
        SystemBeep();
    }
    return false;
}

// ---- Walking the cell documents ----

TCustomVDData *TVDTableItemInfo::NextOrPrevSubDocument(TVDTableStoreSubVDData &location,
                                                       TVDCellDirection dir) {
    int32_t row = location.Row;
    int32_t col = location.Col;
    if (!GetCellTo(location.Row, location.Col, dir, row, col, true, false)) {
        return nullptr;
    }
    location.Row = row;
    location.Col = col;
    return GetCells(row, col);
}

TCustomVDData *TVDTableItemInfo::GetSubVDData(std::unique_ptr<TVDStoreSubVDData> &storeState,
                                              TVDSubVDDataPos position) {
    if (FRows->Empty()) {
        storeState.reset();
        return nullptr;
    }
    const int32_t lastRow = GetRowCount() - 1;
    const int32_t lastCol = GetColCount() - 1;
    switch (position) {
    case vddFirst:
        storeState = std::make_unique<TVDTableStoreSubVDData>(0, 0);
        return GetCells(0, 0);
    case vddLast: {
        int32_t row = lastRow;
        int32_t col = lastCol;
        if (!GetCells(row, col) && !GetCellTo(lastRow, lastCol, vdcdPrev, row, col, true, false)) {
            return nullptr;
        }
        storeState = std::make_unique<TVDTableStoreSubVDData>(row, col);
        return GetCells(row, col);
    }
    case vddChosenUp:
    case vddChosenDown: {
        storeState.reset();
        int32_t topRow = 0;
        int32_t leftCol = 0;
        int32_t colSpan = 0;
        int32_t rowSpan = 0;
        int32_t row = -1;
        int32_t col = -1;
        if (GetNormalizedSelectionBounds(true, topRow, leftCol, colSpan, rowSpan)) {
            row = position == vddChosenUp ? topRow + rowSpan - 1 : topRow;
            col = position == vddChosenUp ? leftCol + colSpan - 1 : leftCol;
            FRows->GetMainCell(row, col, row, col);
        } else if (!CheckAndGetChosen(row, col)) {
            return nullptr;
        }
        storeState = std::make_unique<TVDTableStoreSubVDData>(row, col);
        return GetCells(row, col);
    }
    case vddNext:
    case vddPrev:
        if (!storeState) {
            return nullptr;
        }
        return NextOrPrevSubDocument(static_cast<TVDTableStoreSubVDData &>(*storeState),
                                     position == vddNext ? vdcdNext : vdcdPrev);
    }
    return nullptr;
}

// ---- The chosen cell ----

bool TVDTableItemInfo::CheckAndGetChosen(int32_t &row, int32_t &col) {
    if (ChosenCellRow < 0 || ChosenCellRow >= GetRowCount() || ChosenCellCol < 0 ||
        ChosenCellCol >= GetColCount()) {
        ChosenCellRow = ChosenCellCol = -1;
        return false;
    }
    FRows->GetMainCell(ChosenCellRow, ChosenCellCol, ChosenCellRow, ChosenCellCol);
    row = ChosenCellRow;
    col = ChosenCellCol;
    return true;
}

void TVDTableItemInfo::UnchooseCell() {
    ChosenCellRow = ChosenCellCol = -1;
}

void TVDTableItemInfo::CleanUpChosen() {
    ChosenCellRow = ChosenCellCol = -1;
}

bool TVDTableItemInfo::HasChosenSelection() {
    return false;
}

void TVDTableItemInfo::EditCellEx(int32_t, int32_t, bool) {
    // A table outside an editor opens no editor; choosing the cell of a read-only document is
    // the formatted document's business.
}

bool TVDTableItemInfo::IsInsideSelection() {
    auto *main = dynamic_cast<TCustomVDFormattedData *>(FRows->GetMainVDData());
    if (!main) {
        return false;
    }
    if (main->State.Contains(vdstCompletelySelected)) {
        return true;
    }
    if (main->FSelStartNo < 0 || main->FSelEndNo < 0) {
        return false;
    }
    int32_t startNo = 0;
    int32_t endNo = 0;
    int32_t startOffs = 0;
    int32_t endOffs = 0;
    main->StoreSelBounds(startNo, endNo, startOffs, endOffs, true);
    const int32_t itemNo = GetMyItemNo();
    if (startNo < 0 || endNo < 0) {
        return false;
    }
    return (startNo < itemNo || (startNo == itemNo && startOffs == 0)) &&
           (endNo > itemNo || (endNo == itemNo && endOffs == 1));
}

void TVDTableItemInfo::KeyDown(uint16_t key, bool) {
    TCustomVDData *main = FRows->GetMainVDData();
    if (!FState.Contains(vdtsSelExists) || !main ||
        !main->GetOptions().Contains(vdoAllowSelection) || FOptions.Contains(vdtoNoCellSelect)) {
        return;
    }
    constexpr uint16_t VKLeft = 0x25, VKUp = 0x26, VKRight = 0x27, VKDown = 0x28;
    switch (key) {
    case VKLeft:
    case VKUp: {
        int32_t &offs = key == VKLeft ? FSelColOffs : FSelRowOffs;
        if ((key == VKLeft ? FSelStartCol : FSelStartRow) + offs <= 0) {
            return;
        }
        --offs;
        break;
    }
    case VKRight:
    case VKDown: {
        int32_t &offs = key == VKRight ? FSelColOffs : FSelRowOffs;
        const int32_t count = key == VKRight ? GetColCount() : GetRowCount();
        if ((key == VKRight ? FSelStartCol : FSelStartRow) + offs >= count - 1) {
            return;
        }
        ++offs;
        break;
    }
    default:
        break;
    }
    if (FSelColOffs != 0 || FSelRowOffs != 0) {
        FState.Include(vdtsSelExists);
    }
    UpdateCellSelection();
    if (auto *formatted = dynamic_cast<TCustomVDFormattedData *>(main)) {
        formatted->Invalidate();
    }
}

// ---- Selection of cells ----

void TVDTableItemInfo::Select(int32_t startRow, int32_t startCol, int32_t rowOffs,
                              int32_t colOffs) {
    TCustomVDData *main = FRows->GetMainVDData();
    if (!FState.Contains(vdtsInserted) || !main ||
        !main->GetOptions().Contains(vdoAllowSelection)) {
        return;
    }
    FState.Include(vdtsSelExists);
    FSelStartRow = startRow;
    FSelStartCol = startCol;
    FSelRowOffs = rowOffs;
    FSelColOffs = colOffs;
    UpdateCellSelection();
}

void TVDTableItemInfo::SelectRows(int32_t startRow, int32_t count) {
    Select(startRow, 0, count - 1, GetColCount() - 1);
}

void TVDTableItemInfo::SelectCols(int32_t startCol, int32_t count) {
    Select(0, startCol, GetRowCount() - 1, count - 1);
}

void TVDTableItemInfo::Deselect() {
    FState.Exclude(vdtsSelExists);
    FSelStartRow = FSelStartCol = -1;
    FSelRowOffs = FSelColOffs = 0;
    FMakingSelection = false;
    UpdateCellSelection();
    UnchooseCell();
}

bool TVDTableItemInfo::GetSelectionBounds(int32_t &startRow, int32_t &startCol, int32_t &rowOffs,
                                          int32_t &colOffs) const {
    startRow = FSelStartRow;
    startCol = FSelStartCol;
    rowOffs = FSelRowOffs;
    colOffs = FSelColOffs;
    return FState.Contains(vdtsSelExists);
}

bool TVDTableItemInfo::GetNormalizedSelectionBounds(bool, int32_t &topRow, int32_t &leftCol,
                                                    int32_t &colSpan, int32_t &rowSpan) {
    if (FState.Contains(vdtsSelExists) && (FSelStartRow < 0 || FSelStartCol < 0)) {
        FState.Exclude(vdtsSelExists);
        FMakingSelection = false;
    }
    if (!FState.Contains(vdtsSelExists)) {
        // With no selection only an open in-place editor's cell would count.
        return false;
    }
    int32_t startRow = 0;
    int32_t startCol = 0;
    int32_t endRow = 0;
    int32_t endCol = 0;
    const TVDTableCellData *start =
        FRows->GetMainCell(FSelStartRow, FSelStartCol, startRow, startCol);
    const TVDTableCellData *end =
        FRows->GetMainCell(FSelStartRow + FSelRowOffs, FSelStartCol + FSelColOffs, endRow, endCol);
    topRow = std::min(startRow, endRow);
    leftCol = std::min(startCol, endCol);
    const int32_t bottom =
        std::max(startRow + start->GetRowSpan() - 1, endRow + end->GetRowSpan() - 1);
    const int32_t right =
        std::max(startCol + start->GetColSpan() - 1, endCol + end->GetColSpan() - 1);
    rowSpan = bottom - topRow + 1;
    colSpan = right - leftCol + 1;
    return true;
}

bool TVDTableItemInfo::IsCellSelected(int32_t row, int32_t col) {
    if (!FState.Contains(vdtsSelExists)) {
        return false;
    }
    int32_t topRow = 0;
    int32_t leftCol = 0;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (!GetNormalizedSelectionBounds(false, topRow, leftCol, colSpan, rowSpan)) {
        return false;
    }
    int32_t r = 0;
    int32_t c = 0;
    const TVDTableCellData *cell = FRows->GetMainCell(row, col, r, c);
    return r < topRow + rowSpan && topRow < r + cell->GetRowSpan() && c < leftCol + colSpan &&
           leftCol < c + cell->GetColSpan();
}

void TVDTableItemInfo::UpdateCellSelection() {
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        const TVDTableRow &row = *FRows->Get(r);
        for (int32_t c = 0; c < row.GetCount(); ++c) {
            TVDTableCellData *cell = row.Get(c);
            if (!cell) {
                continue;
            }
            if (IsCellSelected(r, c)) {
                cell->State.Include(vdstCompletelySelected);
            } else {
                cell->State.Exclude(vdstCompletelySelected);
            }
        }
    }
}

bool TVDTableItemInfo::AdjustFocusToControl(ui::TControl *control, TCustomVDData *&topLevelVDData,
                                            int32_t &topLevelItemNo) {
    int32_t row = -1;
    int32_t col = -1;
    int32_t itemNo = -1;
    if (!GetCellWhichOwnsControl(control, row, col, itemNo)) {
        return false;
    }
    FocusedCellRow = row;
    FocusedCellCol = col;
    TVDTableCellData &cell = *GetCells(row, col);
    auto *data = static_cast<TCustomVDFormattedData *>(cell.GetVDData());
    data->FocusedItemNo = itemNo;
    TCustomVDItemInfo *item = data->GetItem(itemNo);
    item->AdjustFocusToControl(control, topLevelVDData, topLevelItemNo);
    if (item->GetBoolValue(vdbpImmediateControlOwner)) {
        topLevelItemNo = itemNo;
        topLevelVDData = &cell;
    }
    return true;
}

} // namespace vizivodu
