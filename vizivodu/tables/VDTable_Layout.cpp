// Table layout, the driver: the table's width, stored column widths, the places and formatting
// of the cells, row heights with row-spanning cells, row starts, the geometry queries on the
// screen layout, and what the table answers its document about coordinates, focus, jumps and
// page breaks.
#include "vizivodu/tables/VDTable_Print.h"
#include "vizivodu/tables/VDTable_p.h"

#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Font.h"
#include "platform/rtl/ScopeExit.h"

#include <algorithm>
#include <cstdlib>

namespace vizivodu {

namespace {

// The sum of the entries from first to first + count - 1.
int32_t SumOf(const TVDIntegerList &list, int32_t first, int32_t count) {
    int32_t sum = 0;
    for (int32_t i = first; i < first + count; ++i) {
        sum += list.Get(i);
    }
    return sum;
}

} // namespace

void TVDTableItemInfo::OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool printing,
                                        gfx::TCanvas &canvas, TCustomVDData *,
                                        PVDScreenAndDevice sad, int32_t &hShift, int32_t &desc,
                                        bool noCaching, bool reformatting, bool) {
    hShift = 0;
    desc = 0;
    // The printing draw item is laid out for its device whatever the document's flags say.
    if (auto *info = dynamic_cast<TVDTablePrintInfo *>(&dli)) {
        if (sad) {
            info->sad = *sad;
        }
        CalculatePrintLayout(docWidth, *info, canvas);
        return;
    }
    if (printing) {
        return;
    }
    if (FState.Contains(vdtsModified)) {
        FState.Exclude(vdtsModified);
        Fmt->FWidth = 0;
    }
    CalculateLayout(docWidth, *Fmt, canvas, noCaching, reformatting);
    dli.Width = Fmt->FWidth;
    dli.Height = Fmt->FHeight;
}

void TVDTableItemInfo::CalculateLayout(int32_t docWidth, TVDTableItemFormattingInfo &fmt,
                                       gfx::TCanvas &canvas, bool noCaching, bool) {
    TVDStyle *style = GetStyle();
    if (!style) {
        return;
    }
    const TVDTableMetrics q(*this, *style, cursad);
    if (FRows->Empty()) {
        fmt.QuickClear();
        fmt.FWidth = 2 * (q.Bx + q.BH);
        fmt.FHeight = std::max(1, 2 * q.BV + 2 * q.By);
        return;
    }
    if (!UseStoredColWidths(fmt) && !ComputeColumnWidths(docWidth, fmt, canvas, noCaching)) {
        return; // the width is the same: the previous layout stands
    }
    bool hasVerticalCells = false;
    PlaceColumnsAndFormatCells(fmt, noCaching, hasVerticalCells);
    ComputeRowHeights(fmt);
    PlaceRows(fmt);
    if (hasVerticalCells) {
        FormatVerticalTextCells(noCaching);
    }
    AfterLayout(fmt);
}

// Stored widths replace the whole computation when they fit the grid and name a resolution.
// A screen layout converts them with the screen's resolution.
bool TVDTableItemInfo::UseStoredColWidths(TVDTableItemFormattingInfo &fmt) {
    const TVDTableStoredColWidths *stored = FStoredColWidths.get();
    if (!stored || stored->ppxDevice <= 0 || stored->TableWidth < 0 ||
        stored->ColWidths.GetCount() != GetColCount()) {
        return false;
    }
    for (int32_t w : stored->ColWidths) {
        if (w < 0) {
            return false;
        }
    }
    const int32_t ppx = cursad ? cursad->ppixDevice : GetScreenPixelsPerInchY();
    fmt.QuickClear();
    fmt.FWidth = gfx::MulDiv(stored->TableWidth, ppx, stored->ppxDevice);
    for (int32_t w : stored->ColWidths) {
        fmt.ColWidths.Add(gfx::MulDiv(w, ppx, stored->ppxDevice));
    }
    return true;
}

void TVDTableItemInfo::PlaceColumnsAndFormatCells(TVDTableItemFormattingInfo &fmt, bool noCaching,
                                                  bool &hasVerticalCells) {
    const TVDTableMetrics q(*this, *GetStyle(), cursad);
    fmt.ColStarts.SetCount(0);
    int32_t x = q.Bx + q.BH + q.CBx;
    for (int32_t c = 0; c < q.n; ++c) {
        fmt.ColStarts.Add(x);
        x += fmt.ColWidths.Get(c) + q.O;
    }
    TCustomVDData *root = FRows->GetMainVDData()->GetAbsoluteRootData();
    const rtl::TFlagScope formattingPart(root->State, vdstFormattingPart);
    for (int32_t r = 0; r < q.m; ++r) {
        for (int32_t c = 0; c < q.n; ++c) {
            TVDTableCellData *cell = GetCells(r, c);
            if (!cell) {
                continue;
            }
            const int32_t span = cell->GetColSpan();
            cell->FLeft = fmt.ColStarts.Get(c);
            cell->FWidth =
                SumOf(fmt.ColWidths, c, span) + 2 * q.HPad + gfx::MulDiv(q.n * q.O, span - 1, q.n);
            if (cell->IsVerticalText()) {
                hasVerticalCells = true;
                continue;
            }
            const rtl::TFlagScope doNotMove(cell->State, vdstDoNotMoveChildren);
            cell->Format(noCaching, false);
        }
    }
}

void TVDTableItemInfo::FormatVerticalTextCells(bool noCaching) {
    TCustomVDData *root = FRows->GetMainVDData()->GetAbsoluteRootData();
    const rtl::TFlagScope formattingPart(root->State, vdstFormattingPart);
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        for (int32_t c = 0; c < GetColCount(); ++c) {
            TVDTableCellData *cell = GetCells(r, c);
            if (cell && cell->IsVerticalText()) {
                const rtl::TFlagScope doNotMove(cell->State, vdstDoNotMoveChildren);
                cell->Format(noCaching, false);
            }
        }
    }
}

void TVDTableItemInfo::ComputeRowHeights(TVDTableItemFormattingInfo &fmt,
                                         const TVDTablePrintInfo *print) {
    TVDStyle &style = *GetStyle();
    const TVDTableMetrics q(*this, style, cursad);
    fmt.RowHeights.SetCount(0);
    fmt.FHeight = 2 * (q.m * q.VPad + q.By + q.BV) + (q.m - 1) * q.VSp + 2 * q.m * q.CBy;
    for (int32_t r = 0; r < q.m; ++r) {
        const int32_t h = print ? PrintRowHeight(*print, r) : FRows->Get(r)->GetHeight();
        fmt.RowHeights.Add(h);
        fmt.FHeight += h;
    }
    // A cell spanning rows that is taller than its rows together makes them taller, sharing
    // the difference in proportion to their heights among the rows where no other cell ends.
    for (int32_t r = 0; r < q.m; ++r) {
        for (int32_t c = 0; c < q.n; ++c) {
            TVDTableCellData *cell = GetCells(r, c);
            if (!cell || cell->GetRowSpan() <= 1) {
                continue;
            }
            const int32_t span = cell->GetRowSpan();
            const int32_t needed =
                (print ? PrintCellHeight(*print, r, c) : cell->GetCellHeight()) + 2 * q.VPad;
            const int32_t has = SumOf(fmt.RowHeights, r, span) + span * q.OV - q.VSp - 2 * q.CBy;
            if (has >= needed) {
                continue;
            }
            int32_t difference = needed - has;
            fmt.FHeight += difference;
            std::vector<int32_t> rows;
            for (int32_t k = r; k < r + span; ++k) {
                if (!FRows->Get(k)->HasCellEndingWithin(k, r, span)) {
                    rows.push_back(k);
                }
            }
            if (rows.empty()) {
                for (int32_t k = r; k < r + span; ++k) {
                    rows.push_back(k);
                }
            }
            int32_t sum = 0;
            for (int32_t k : rows) {
                sum += fmt.RowHeights.Get(k);
            }
            for (int32_t k : rows) {
                const int32_t h = fmt.RowHeights.Get(k);
                const int32_t add = gfx::MulDiv(h, difference, sum);
                sum -= h;
                difference -= add;
                fmt.RowHeights.Put(k, h + add);
            }
        }
    }
}

void TVDTableItemInfo::PlaceRows(TVDTableItemFormattingInfo &fmt, TVDTablePrintInfo *print) {
    const TVDTableMetrics q(*this, *GetStyle(), cursad);
    fmt.RowStarts.SetCount(0);
    int32_t y = q.By + q.BV + q.CBy;
    for (int32_t r = 0; r < q.m; ++r) {
        fmt.RowStarts.Add(y);
        y += fmt.RowHeights.Get(r) + q.OV;
    }
    for (int32_t r = 0; r < q.m; ++r) {
        for (int32_t c = 0; c < q.n; ++c) {
            TVDTableCellData *cell = GetCells(r, c);
            if (!cell) {
                continue;
            }
            const int32_t span = cell->GetRowSpan();
            const int32_t top = fmt.RowStarts.Get(r);
            const int32_t height = SumOf(fmt.RowHeights, r, span) + 2 * q.VPad +
                                   gfx::MulDiv(q.m * q.OV, span - 1, q.m);
            if (TCellPtblVDData *printed = print ? print->CellAt(r, c) : nullptr) {
                printed->DY = top + q.VPad;
                printed->Height = height - 2 * q.VPad;
            } else if (!print) {
                cell->FTop = top;
                cell->FHeight = height;
            }
        }
    }
}

// ---- Geometry queries on the screen layout ----

namespace {

// x lies within the zone of a position: |x - p| <= max(zone div 2, 2).
bool IsNear(int32_t x, int32_t position, int32_t zone) {
    return std::abs(x - position) <= std::max(zone / 2, 2);
}

// The grid line at coordinate x of a table extent long: the outer ones (0 and count) and the
// lines between cells, given the starts and the widths of the outer and inner zones.
int32_t RuleAt(int32_t x, int32_t extent, const TVDIntegerList &starts, int32_t outer,
               int32_t inner, int32_t &minX, int32_t &zeroChangeX) {
    const int32_t count = starts.GetCount();
    if (x < 0 || x > extent) {
        return -1;
    }
    const int32_t f = outer / 2;
    if (IsNear(x, f, outer)) {
        minX = -1;
        zeroChangeX = f;
        return 0;
    }
    if (count > 0 && IsNear(x, extent - f, outer)) {
        minX = starts.Get(count - 1);
        zeroChangeX = extent - f;
        return count;
    }
    for (int32_t k = 1; k < count; ++k) {
        if (IsNear(x, starts.Get(k) - inner / 2, inner)) {
            minX = starts.Get(k - 1);
            zeroChangeX = starts.Get(k) - (inner + 1) / 2;
            return k;
        }
    }
    return -1;
}

// The first index whose extent [start, start + size] holds x, -1 when a start lies beyond it.
int32_t IndexAt(int32_t x, const TVDIntegerList &starts, const TVDIntegerList &sizes) {
    for (int32_t i = 0; i < starts.GetCount(); ++i) {
        if (starts.Get(i) > x) {
            return -1;
        }
        if (x <= starts.Get(i) + sizes.Get(i)) {
            return i;
        }
    }
    return -1;
}

} // namespace

int32_t TVDTableItemInfo::GetVerticalRuleNo(int32_t x, int32_t &minX, int32_t &zeroChangeX) {
    TVDStyle *style = GetStyle();
    if (!style) {
        return -1;
    }
    const int32_t outer = style->GetAsPixels(FBorderWidth) + style->GetAsPixels(FBorderHSpacing) +
                          style->GetAsPixels(FCellBorderWidth);
    const int32_t inner =
        style->GetAsPixels(FCellHSpacing) + 2 * style->GetAsPixels(FCellBorderWidth);
    return RuleAt(x, Fmt->FWidth, Fmt->ColStarts, outer, inner, minX, zeroChangeX);
}

int32_t TVDTableItemInfo::GetHorizontalRuleNo(int32_t y, int32_t &minY, int32_t &zeroChangeY) {
    TVDStyle *style = GetStyle();
    if (!style) {
        return -1;
    }
    const int32_t outer = style->GetAsPixels(FBorderWidth) + style->GetAsPixels(FBorderVSpacing) +
                          style->GetAsPixels(FCellBorderWidth);
    const int32_t inner =
        style->GetAsPixels(FCellVSpacing) + 2 * style->GetAsPixels(FCellBorderWidth);
    return RuleAt(y, Fmt->FHeight, Fmt->RowStarts, outer, inner, minY, zeroChangeY);
}

int32_t TVDTableItemInfo::GetColAtX(int32_t x) {
    return IndexAt(x, Fmt->ColStarts, Fmt->ColWidths);
}

int32_t TVDTableItemInfo::GetRowAtY(int32_t y) {
    return IndexAt(y, Fmt->RowStarts, Fmt->RowHeights);
}

int32_t TVDTableItemInfo::FindStartIndex(int32_t y, const TVDIntegerList &starts) {
    const int32_t count = starts.GetCount();
    if (count < 2) {
        return 0;
    }
    if (y >= starts.Get(count - 1)) {
        return count - 1;
    }
    int32_t low = 0;
    int32_t high = count - 1; // starts[high] >= y
    while (high - low > 1) {
        const int32_t middle = (low + high) / 2;
        if (starts.Get(middle) < y) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return low;
}

// ---- Coordinates, focus, jumps and page breaks ----

void TVDTableItemInfo::ResetSubCoords() {
    if (auto *main = dynamic_cast<TCustomVDFormattedData *>(FRows->GetMainVDData())) {
        main->GetItemClientCoords(GetMyItemNo(), MyClientLeft, MyClientTop);
    }
}

int32_t TVDTableItemInfo::GetSoftPageBreakDY(int32_t data) {
    if (data >= 0 && data < Fmt->RowStarts.GetCount()) {
        return Fmt->RowStarts.Get(data);
    }
    return Fmt->FHeight;
}

void TVDTableItemInfo::ClearSoftPageBreaks() {
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        for (int32_t c = 0; c < GetColCount(); ++c) {
            if (TVDTableCellData *cell = GetCells(r, c)) {
                static_cast<TCustomVDFormattedData *>(cell->GetVDData())->ClearSoftPageBreaks();
            }
        }
    }
}

void TVDTableItemInfo::BuildJumps(int32_t &startJumpNo) {
    TCustomVDData *main = FRows->GetMainVDData();
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        for (int32_t c = 0; c < GetColCount(); ++c) {
            if (TVDTableCellData *cell = GetCells(r, c)) {
                cell->FFirstJumpNo = main ? main->FFirstJumpNo : 0;
                cell->BuildJumps(startJumpNo);
            }
        }
    }
}

bool TVDTableItemInfo::CheckFocusedCell() {
    if (FocusedCellRow < 0 || FocusedCellRow >= GetRowCount() || FocusedCellCol < 0 ||
        FocusedCellCol >= GetColCount() || !GetCells(FocusedCellRow, FocusedCellCol)) {
        FocusedCellRow = FocusedCellCol = -1;
        return false;
    }
    return true;
}

bool TVDTableItemInfo::MoveFocus(bool goForward, TCustomVDData *&topLevelVDData,
                                 int32_t &topLevelItemNo) {
    if (FRows->Empty()) {
        return false;
    }
    if (!CheckFocusedCell()) {
        if (goForward) {
            FocusedCellRow = FocusedCellCol = 0;
        } else {
            FRows->GetMainCell(GetRowCount() - 1, GetColCount() - 1, FocusedCellRow,
                               FocusedCellCol);
        }
    }
    while (true) {
        TVDTableCellData *cell = GetCells(FocusedCellRow, FocusedCellCol);
        auto *data = static_cast<TCustomVDFormattedData *>(cell->GetVDData());
        TCustomVDFormattedData *top = nullptr;
        data->FocusedItemNo =
            data->GetNextFocusedItem(data->FocusedItemNo, goForward, top, topLevelItemNo);
        if (data->FocusedItemNo != -1) {
            topLevelVDData = top;
            return true;
        }
        if (!GetCellTo(FocusedCellRow, FocusedCellCol, goForward ? vdcdNext : vdcdPrev,
                       FocusedCellRow, FocusedCellCol, true, false)) {
            FocusedCellRow = FocusedCellCol = -1;
            return false;
        }
    }
}

void TVDTableItemInfo::ClearFocus() {
    if (CheckFocusedCell()) {
        static_cast<TCustomVDFormattedData *>(GetCells(FocusedCellRow, FocusedCellCol)->GetVDData())
            ->ClearFocus();
    }
    FocusedCellRow = FocusedCellCol = -1;
}

void TVDTableItemInfo::SetFocusedCell(int32_t row, int32_t col, int32_t topLevelItemNo,
                                      TCustomVDFormattedData *topLevelVDData) {
    FocusedCellRow = row;
    FocusedCellCol = col;
    if (auto *main = dynamic_cast<TCustomVDFormattedData *>(FRows->GetMainVDData())) {
        main->AdjustFocus(GetMyItemNo(), topLevelVDData, topLevelItemNo);
    }
}

} // namespace vizivodu
