// The table under the mouse: the cell at a point, the cell documents that moves, presses and
// releases reach, choosing a cell, and the rectangle of cells a mouse drag selects.
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include "platform/ui/Control.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/WinControl.h"

#include <algorithm>

namespace vizivodu {

namespace {

// The table's own cursors, loaded with the table class.
constexpr ui::TCursor RowSelectCursor = 104;
constexpr ui::TCursor ColSelectCursor = 105;

// The row (column) holding coordinate v: a bisection over the starts; a point before the first
// start belongs to the first row.
int32_t BisectStarts(int32_t v, const TVDIntegerList &starts) {
    const int32_t count = starts.GetCount();
    if (count <= 1) {
        return 0;
    }
    int32_t lo = 1, hi = count - 1;
    while (hi - lo > 1) {
        const int32_t mid = (lo + hi) / 2;
        if (starts.Get(mid) > v) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    if (lo < count && starts.Get(lo) > v) {
        return lo - 1;
    }
    return starts.Get(hi) > v ? hi - 1 : hi;
}

TCustomVDFormattedData *Formatted(TCustomVDData *data) {
    return dynamic_cast<TCustomVDFormattedData *>(data);
}

void FocusControlOf(TCustomVDFormattedData &data) {
    if (auto *control = dynamic_cast<ui::TWinControl *>(data.GetParentControl())) {
        if (control->CanFocus()) {
            control->SetFocus();
        }
    }
}

ui::TShiftState WithoutButtons(ui::TShiftState shift) {
    ui::TShiftState result;
    for (ui::TShiftStateFlag f : {ui::ssShift, ui::ssAlt, ui::ssCtrl, ui::ssDouble}) {
        if (shift.Contains(f)) {
            result.Include(f);
        }
    }
    return result;
}

} // namespace

// ---- Hit test ----

bool TVDTableItemInfo::GetCellAt(int32_t x, int32_t y, int32_t &row, int32_t &col,
                                 bool ignoreBorders) {
    if (MouseRow >= 0 && MouseRow < GetRowCount() && MouseCol >= 0 && MouseCol < GetColCount()) {
        if (const TVDTableCellData *cell = GetCells(MouseRow, MouseCol)) {
            const bool lastRow = MouseRow + cell->GetRowSpan() >= GetRowCount();
            const bool lastCol = MouseCol + cell->GetColSpan() >= GetColCount();
            const int32_t left = cell->GetLeft() + (MouseCol == 0 ? 3 : 1);
            const int32_t top = cell->GetTop() + (MouseRow == 0 ? 3 : 1);
            const int32_t width = cell->GetBoxWidth() - (lastCol ? 3 : 1);
            const int32_t height = cell->GetBoxHeight() - (lastRow ? 3 : 1);
            if (PointInBounds(x, y, left, top, width, height)) {
                row = MouseRow;
                col = MouseCol;
                return true;
            }
        }
    }
    if (!FindCellAt(x, y, row, col, ignoreBorders)) {
        return false;
    }
    MouseRow = row;
    MouseCol = col;
    return true;
}

bool TVDTableItemInfo::FindCellAt(int32_t x, int32_t y, int32_t &row, int32_t &col,
                                  bool ignoreBorders) {
    TVDStyle *style = GetStyle();
    if (GetRowCount() == 0 || GetColCount() == 0 || !style) {
        return false;
    }
    if (!ignoreBorders) {
        const TVDTableCellData *first = GetCells(0, 0);
        const int32_t l = std::max(first->GetLeft(), 3);
        const int32_t t = std::max(first->GetTop(), 3);
        if (!PointInBounds(x, y, l, t, Fmt->FWidth - 2 * l - 1, Fmt->FHeight - 2 * t - 1)) {
            return false;
        }
    }
    const TVDTableCellData *cell = FRows->GetMainCell(BisectStarts(y, Fmt->RowStarts),
                                                      BisectStarts(x, Fmt->ColStarts), row, col);
    if (ignoreBorders) {
        return true;
    }
    const int32_t cellBorders = 2 * style->GetAsPixels(FCellBorderWidth);
    const int32_t a = style->GetAsPixels(FCellHSpacing) + cellBorders <= 2 ? 3 : 0;
    const int32_t b = style->GetAsPixels(FCellVSpacing) + cellBorders <= 2 ? 3 : 0;
    return PointInBounds(x, y, cell->GetLeft() + a / 2 + 1, cell->GetTop() + b / 2 + 1,
                         cell->GetBoxWidth() - a - 2, cell->GetBoxHeight() - b - 2);
}

bool TVDTableItemInfo::IsInCellContent(TVDTableCellData &cell, int32_t x, int32_t y) {
    TVDStyle *style = GetStyle();
    const int32_t hPad = style ? style->GetAsPixels(FCellHPadding) : 0;
    const int32_t vPad = style ? style->GetAsPixels(FCellVPadding) : 0;
    return PointInBounds(x, y, cell.GetLeft() + hPad, cell.GetTop() + vPad,
                         cell.GetBoxWidth() - 2 * hPad, cell.GetBoxHeight() - 2 * vPad);
}

TCustomVDData *TVDTableItemInfo::GetSubVDDataAt(int32_t x, int32_t y, bool returnClosest) {
    int32_t row = -1, col = -1;
    if (!GetCellAt(x, y, row, col, returnClosest)) {
        return nullptr;
    }
    return GetCells(row, col)->GetVDData();
}

// ---- The chosen cell ----

void TVDTableItemInfo::ChooseSubVDData(const TVDStoreSubVDData &storeState) {
    const auto &location = static_cast<const TVDTableStoreSubVDData &>(storeState);
    ChooseCell(location.Row, location.Col);
}

void TVDTableItemInfo::ChooseCell(int32_t row, int32_t col) {
    if (row == ChosenCellRow && col == ChosenCellCol) {
        return;
    }
    TVDTableCellData *cell = GetCells(row, col);
    TCustomVDFormattedData *main = Formatted(FRows->GetMainVDData());
    if (!cell || !main) {
        return;
    }
    int32_t s = 0, so = 0, e = 0, eo = 0;
    Formatted(cell->GetVDData())->GetSelectionBounds(s, so, e, eo, false);
    const int32_t itemNo = GetMyItemNo();
    main->SetSelectionBounds(itemNo, 1, itemNo, 1);
    main->AssignChosenVDData(cell, this);
    ChosenCellRow = row;
    ChosenCellCol = col;
    if (FState.Contains(vdtsInserted) && FState.Contains(vdtsEditMode)) {
        EditCell(row, col);
    }
    TCustomVDFormattedData *current = Formatted(cell->GetVDData());
    current->SetSelectionBounds(s, so, e, eo);
    current->Invalidate();
}

// ---- Selection of cells by the mouse ----

bool TVDTableItemInfo::StartSelecting(int32_t row, int32_t col, bool fromKeyboard) {
    TCustomVDFormattedData *main = Formatted(FRows->GetMainVDData());
    if (!main || !main->GetOptions().Contains(vdoAllowSelection) ||
        FOptions.Contains(vdtoNoCellSelect)) {
        return false;
    }
    FSelStartRow = row;
    FSelStartCol = col;
    FSelRowOffs = FSelColOffs = 0;
    if (fromKeyboard) {
        FState.Include(vdtsSelExists);
    } else {
        FState.Exclude(vdtsSelExists);
    }
    main->SetPartialSelectedItem(this);
    if (!fromKeyboard) {
        main->SetMouseCapture(this, MyLeft, MyTop);
    }
    UpdateCellSelection();
    FMakingSelection = !fromKeyboard;
    return true;
}

bool TVDTableItemInfo::PartiallySelected() {
    return FState.Contains(vdtsSelExists);
}

void TVDTableItemInfo::DeselectPartial() {
    Deselect();
}

// ---- Mouse events (table-relative points) ----

bool TVDTableItemInfo::MouseMove(ui::TShiftState shift, int32_t x, int32_t y, int32_t itemNo,
                                 TCustomVDData *vdData) {
    TCustomVDFormattedData *main = Formatted(FRows->GetMainVDData());
    if (GetRowCount() == 0 || GetColCount() == 0 || !main) {
        return false;
    }
    if (FMakingSelection && !shift.Contains(ui::ssLeft)) {
        MouseUp(ui::mbLeft, WithoutButtons(shift), x, y, itemNo, vdData);
    }
    MyClientTop = MyClientLeft = 0;
    if (BusyCount > 0) {
        return true;
    }
    int32_t row = -1, col = -1;
    if (!GetCellAt(x, y, row, col, false)) {
        MouseLeave(vdData, itemNo);
        main->SetCursor(BorderCursorAt(*main, x, y));
        return true;
    }
    TVDTableCellData *cell = GetCells(row, col);
    if (cell != FLastCellMovedAbove) {
        MouseLeave(vdData, itemNo);
        FLastCellMovedAbove = cell;
    }
    if (FMakingSelection && shift.Contains(ui::ssLeft)) {
        ExtendCellSelection(*main, row, col);
    }
    const bool selecting = FMakingSelection;
    if (IsInCellContent(*cell, x, y) &&
        (!selecting || (!FState.Contains(vdtsSelExists) && cell->GetVDData() == cell))) {
        Formatted(cell->GetVDData())->MouseMove(shift, x, y);
        return true;
    }
    main->SetCursor(ui::crArrow);
    return true;
}

void TVDTableItemInfo::ExtendCellSelection(TCustomVDFormattedData &main, int32_t row, int32_t col) {
    const int32_t colOffs = col - FSelStartCol;
    const int32_t rowOffs = row - FSelStartRow;
    if (colOffs != 0 || rowOffs != 0) {
        FState.Include(vdtsSelExists);
    } else {
        FState.Exclude(vdtsSelExists);
    }
    if (colOffs == FSelColOffs && rowOffs == FSelRowOffs) {
        return;
    }
    FSelColOffs = colOffs;
    FSelRowOffs = rowOffs;
    UpdateCellSelection();
    main.Invalidate();
}

// Over the table's borders: the row- and column-selection cursors where a press selects; the
// sizing cursors come with the editor.
ui::TCursor TVDTableItemInfo::BorderCursorAt(TCustomVDFormattedData &main, int32_t x, int32_t y) {
    const bool vertical = main.IsReallyVerticalText();
    const bool allowSelection = main.GetOptions().Contains(vdoAllowSelection);
    int32_t minV = 0, zeroChange = 0;
    if (FOptions.Contains(vdtoRowSelect) && allowSelection &&
        GetVerticalRuleNo(x, minV, zeroChange) == 0) {
        return vertical ? ColSelectCursor : RowSelectCursor;
    }
    if (FOptions.Contains(vdtoColSelect) && allowSelection &&
        GetHorizontalRuleNo(y, minV, zeroChange) == 0) {
        return vertical ? RowSelectCursor : ColSelectCursor;
    }
    return ui::crArrow;
}

bool TVDTableItemInfo::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                 int32_t y, int32_t itemNo, TCustomVDData *vdData) {
    TCustomVDFormattedData *main = Formatted(FRows->GetMainVDData());
    if (GetRowCount() == 0 || GetColCount() == 0 || !main) {
        return false;
    }
    if (FMakingSelection && button == ui::mbLeft) {
        MouseUp(ui::mbLeft, WithoutButtons(shift), x, y, itemNo, vdData);
    }
    if (BusyCount > 0 || shift.Contains(ui::ssDouble)) {
        return false;
    }
    MyClientTop = MyClientLeft = 0;
    int32_t row = -1, col = -1;
    if (!GetCellAt(x, y, row, col, false)) {
        MouseDownOnBorder(*main, button, x, y);
        return false;
    }
    TVDTableCellData *cell = GetCells(row, col);
    if (button == ui::mbLeft) {
        main->AssignChosenVDData(cell, this);
        ChosenCellRow = row;
        ChosenCellCol = col;
    }
    if (IsInCellContent(*cell, x, y)) {
        Formatted(cell->GetVDData())->MouseDown(button, shift, x, y);
    }
    auto *absRoot = Formatted(main->GetAbsoluteRootData());
    if (button == ui::mbLeft && !(absRoot && absRoot->State.Contains(vdstStartingDragDrop)) &&
        StartSelecting(row, col, false)) {
        main->SetMouseCapture(this, MyLeft, MyTop);
        main->Invalidate();
    }
    return false;
}

void TVDTableItemInfo::MouseDownOnBorder(TCustomVDFormattedData &main, ui::TMouseButton button,
                                         int32_t x, int32_t y) {
    const bool selects = FOptions.Contains(vdtoColSelect) || FOptions.Contains(vdtoRowSelect);
    if (button != ui::mbLeft || !selects) {
        FocusControlOf(main);
    }
    if (button != ui::mbLeft) {
        return;
    }
    int32_t minV = 0, zeroChange = 0;
    const int32_t n =
        FOptions.Contains(vdtoRowSelect) ? GetVerticalRuleNo(x, minV, zeroChange) : -1;
    const int32_t m =
        FOptions.Contains(vdtoColSelect) ? GetHorizontalRuleNo(y, minV, zeroChange) : -1;
    if (m == 0) {
        if (const int32_t c = GetColAtX(x); c >= 0) {
            SelectCols(c, 1);
            main.SetMouseCapture(this, MyLeft, MyTop);
        }
    } else if (n == 0) {
        if (const int32_t r = GetRowAtY(y); r >= 0) {
            SelectRows(r, 1);
            main.SetMouseCapture(this, MyLeft, MyTop);
        }
    }
}

bool TVDTableItemInfo::MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y,
                               int32_t itemNo, TCustomVDData *) {
    TCustomVDFormattedData *main = Formatted(FRows->GetMainVDData());
    if (GetRowCount() == 0 || GetColCount() == 0 || !main || BusyCount > 0) {
        return false;
    }
    MyClientTop = MyClientLeft = 0;
    int32_t row = -1, col = -1;
    TVDTableCellData *cell = GetCellAt(x, y, row, col, false) ? GetCells(row, col) : nullptr;
    TVDTableCellData *inContent = cell && IsInCellContent(*cell, x, y) ? cell : nullptr;
    if (button == ui::mbLeft) {
        if (FMakingSelection) {
            FMakingSelection = false;
            int32_t r = 0, c = 0;
            if (TVDTableCellData *start = FRows->GetMainCell(FSelStartRow, FSelStartCol, r, c)) {
                Formatted(start->GetVDData())->MouseUp(button, shift, x, y);
            }
            TCustomVDData *chosen = main->GetChosenVDData();
            if (auto *f = Formatted(chosen); f && f->State.Contains(vdstCompletelySelected)) {
                main->UnassignChosenVDData(chosen);
            }
        } else if (inContent) {
            Formatted(inContent->GetVDData())->MouseUp(button, shift, x, y);
        }
        main->ReleaseMouseCapture(this);
        return false;
    }
    if (inContent) {
        Formatted(inContent->GetVDData())->MouseUp(button, shift, x, y);
    }
    if (button == ui::mbRight && cell && main->GetOptions().Contains(vdoRClickDeselects) &&
        !IsCellSelected(row, col) && !IsInsideSelection() &&
        !(row == ChosenCellRow && col == ChosenCellCol &&
          Formatted(cell->GetVDData())->SelectionExists(false, true)) &&
        !cell->GetChosenItem()) {
        main->SetSelectionBounds(itemNo, 1, itemNo, 1);
    }
    return false;
}

void TVDTableItemInfo::MouseLeave(TCustomVDData *, int32_t) {
    if (FLastCellMovedAbove) {
        TVDTableCellData *cell = FLastCellMovedAbove;
        FLastCellMovedAbove = nullptr;
        Formatted(cell->GetVDData())->MouseLeave();
    }
}

} // namespace vizivodu
