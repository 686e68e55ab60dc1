// What a printed table answers about its parts: the part and page that print a position inside
// a cell, a cell's coordinates in a part, soft page breaks inside cells, page-dependent widths,
// and the background under an item of the cell being printed.
#include "vizivodu/tables/VDTable_Print.h"

#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable_p.h"

#include <algorithm>

namespace vizivodu {

namespace {

const TVDTableStoreSubVDData *CellLocation(const TVDStoreSubVDData &location) {
    return dynamic_cast<const TVDTableStoreSubVDData *>(&location);
}

} // namespace

// ---- Soft page breaks of parts ----

bool TVDTablePrintPart::IsComplexSoftPageBreak(TVDDrawLineInfo *) {
    if (!FTableTopCutLine) {
        return false;
    }
    for (int32_t value : *FTableTopCutLine) {
        if (value > 1) {
            return true;
        }
    }
    return false;
}

void TVDTablePrintPart::AssignSoftPageBreaksToItem(TVDDrawLineInfo *, TCustomVDItemInfo *) {
    auto *info = static_cast<TVDTablePrintInfo *>(GetOwner());
    if (!FTableTopCutLine || !info) {
        return;
    }
    TVDTableItemInfo &table = *info->FTable;
    for (int32_t c = 0; c < FTableTopCutLine->GetCount() && c < table.GetColCount(); ++c) {
        const int32_t page = FTableTopCutLine->Get(c);
        int32_t mRow = 0;
        int32_t mCol = 0;
        TVDTableCellData *cell = table.GetRows().GetMainCell(FirstRow(), c, mRow, mCol);
        TCellPtblVDData *printed = info->CellAt(mRow, mCol);
        if (page > 1 && cell && printed && mCol == c) {
            cell->AssignSoftPageBreak(*printed, page);
        }
    }
}

// ---- Positions in parts ----

bool TVDTablePrintInfo::GetPartNo(TCustomVDData *vdData, int32_t itemNo, int32_t offsInItem,
                                  int32_t &partNo, int32_t &localPageNo, int32_t &localPageCount,
                                  TCustomPrintableVDData *&ptVDData) {
    partNo = -1;
    localPageCount = 0;
    ptVDData = nullptr;
    for (int32_t r = 0; r < FTable->GetRowCount(); ++r) {
        for (int32_t c = 0; c < FTable->GetColCount(); ++c) {
            TCellPtblVDData *printed = CellAt(r, c);
            int32_t page = 0;
            int32_t count = 0;
            if (!printed || !printed->GetPageNo(vdData, itemNo, offsInItem,
                                                printed->GetSourceVDDataForPrinting(), page,
                                                localPageNo, count, ptVDData)) {
                continue;
            }
            const int32_t parts = GetPartsList().Count();
            if (parts == 0) {
                localPageCount = count;
                return true;
            }
            if (r < FHeadingRowCount) {
                // On every part: repeated, or (the first with vdtoContinue) as ordinary rows.
                partNo = 0;
                localPageCount = parts;
                return true;
            }
            localPageCount = count;
            partNo = parts - 1;
            // A cell spanning rows goes on in parts that begin below its own row.
            const int32_t after = r + FTable->GetCells(r, c)->GetRowSpan();
            for (int32_t i = 0; i < parts; ++i) {
                const TVDTablePrintPart *part = PartAt(i);
                if (!part) {
                    continue;
                }
                if (part->ShownPage(r, c) == page) {
                    partNo = i;
                    return true;
                }
                if (part->FirstRow() >= after) {
                    partNo = std::max(i - 1, 0);
                    return true;
                }
            }
            return true;
        }
    }
    return false;
}

bool TVDTablePrintInfo::GetSubDocCoords(const TVDStoreSubVDData &location, int32_t part,
                                        rtl::TRect &innerCoords, rtl::TRect &outerCoords,
                                        rtl::TPoint &origin) {
    const TVDTableStoreSubVDData *where = CellLocation(location);
    TCellPtblVDData *cell = where ? CellAt(where->Row, where->Col) : nullptr;
    if (!cell) {
        return false;
    }
    const TVDTableMetrics q(*FTable, *cell->GetVDStyle(), &sad);
    innerCoords = rtl::Rect(cell->DX, cell->DY, cell->DX + cell->Width, cell->DY + cell->Height);
    const TVDTablePrintPart *p = PartAt(part);
    const int32_t span = FTable->GetCells(where->Row, where->Col)->GetRowSpan();
    // The heading rows a part repeats keep their places in the layout.
    const bool heading = p && where->Row < p->FHeadingRows;
    if (p && !heading) {
        if (where->Row > p->LastRow() || where->Row + span <= p->FirstRow()) {
            return false;
        }
        const int32_t start = p->RowStartOf(std::max(where->Row, p->FirstRow()));
        innerCoords.Top = q.VPad + start + q.CBy;
        innerCoords.Bottom =
            innerCoords.Top + std::max(0, p->RowStartOf(where->Row + span) - start - q.OV);
    }
    origin = innerCoords.TopLeft();
    const int32_t page = GetLocalPageNoFor(location, part);
    origin.Y += CellVAlignOffset(FTable->GetCells(where->Row, where->Col)->GetRealVAlign(),
                                 innerCoords.Height(), cell->PageContentHeight(page));
    outerCoords = rtl::Rect(innerCoords.Left - q.HPad, innerCoords.Top - q.VPad,
                            innerCoords.Right + q.HPad, innerCoords.Bottom + q.VPad);
    return true;
}

int32_t TVDTablePrintInfo::GetLocalPageNoFor(const TVDStoreSubVDData &location, int32_t part) {
    const TVDTableStoreSubVDData *where = CellLocation(location);
    const TVDTablePrintPart *p = PartAt(part);
    if (!where || !p || !p->FTableTopCutLine || !CellAt(where->Row, where->Col)) {
        return 1;
    }
    const int32_t span = FTable->GetCells(where->Row, where->Col)->GetRowSpan();
    if (where->Row > p->FirstRow() || where->Row + span <= p->FirstRow()) {
        return 1;
    }
    return p->FTableTopCutLine->Get(where->Col);
}

TCustomPrintableVDData *
TVDTablePrintInfo::GetPrintableVDDataFor(const TVDStoreSubVDData &location) {
    const TVDTableStoreSubVDData *where = CellLocation(location);
    return where ? CellAt(where->Row, where->Col) : nullptr;
}

// ---- The table's side ----

void TVDTableItemInfo::AdjustSubitemsDIWidth(int32_t pageNo, int32_t pageCount, int32_t part,
                                             TVDDrawLineInfo &drawItem) {
    auto *info = dynamic_cast<TVDTablePrintInfo *>(&drawItem);
    if (!info) {
        for (int32_t r = 0; r < GetRowCount(); ++r) {
            for (int32_t c = 0; c < GetColCount(); ++c) {
                TVDTableCellData *cell = GetCells(r, c);
                auto *data =
                    cell ? dynamic_cast<TCustomVDFormattedData *>(cell->GetVDData()) : nullptr;
                if (data) {
                    data->AdjustAllItemsPrintingWidth(pageNo, pageCount);
                }
            }
        }
        return;
    }
    const TVDTablePrintPart *p = info->PartAt(part);
    if (!p) {
        for (int32_t r = 0; r < GetRowCount(); ++r) {
            for (int32_t c = 0; c < GetColCount(); ++c) {
                if (TCellPtblVDData *printed = info->CellAt(r, c)) {
                    printed->PostFormatPage(1, pageNo, pageCount);
                }
            }
        }
        return;
    }
    // The pages of the cells that the part shows.
    ForEachPartCell(*info, *p, [&](int32_t, int32_t mRow, int32_t mCol, TCellPtblVDData &printed) {
        const int32_t shown = p->ShownPage(mRow, mCol);
        if (shown > 0) {
            printed.PostFormatPage(shown, pageNo, pageCount);
        }
    });
}

void TVDTableItemInfo::DrawBackgroundForPrinting(gfx::TCanvas &canvas, const rtl::TRect &rect,
                                                 const rtl::TRect &fullRect, TVDColorMode colorMode,
                                                 int32_t itemBackgroundLayer,
                                                 TVDGraphicInterface &graphicInterface,
                                                 bool allowBitmaps) {
    if (itemBackgroundLayer == 0) {
        return;
    }
    TVDTableCellData *cell = FPrintCellRow >= 0 ? GetCells(FPrintCellRow, FPrintCellCol) : nullptr;
    const bool white = FPrintOptions.Contains(vdtoWhiteBackground);
    auto printColor = [&](TColor color) {
        if (color == gfx::clNone) {
            return color;
        }
        return GetBackColorForMode(white ? gfx::clWhite : color, colorMode);
    };
    // Everything relative to rect: the canvas's origin is rect's corner.
    const rtl::TRect area = rtl::Rect(0, 0, rect.Width(), rect.Height());
    rtl::TRect full = fullRect;
    full.Offset(-rect.Left, -rect.Top);
    const TColor tableColor = printColor(FColors[vdtcColor]);
    if (allowBitmaps && FBackground && FBackground->Visible()) {
        FBackground->Draw(canvas, area, 0, 0, full.Left, full.Top, full.Width(), full.Height(),
                          tableColor, FOpacity, true, false, graphicInterface,
                          FRows->GetMainVDData(), this, false);
    } else if (tableColor != gfx::clNone) {
        graphicInterface.FillRectAlpha(canvas, area, tableColor, OpacityToAlpha(FOpacity));
    }
    if (itemBackgroundLayer == 1 || !cell) {
        return;
    }
    rtl::TRect cellRect = FPrintCellRect;
    cellRect.Offset(fullRect.Left - rect.Left, fullRect.Top - rect.Top);
    const TColor cellColor = printColor(GetCellColor(FPrintCellRow, FPrintCellCol, false, false));
    TVDBackground *picture = cell->GetCellBackground();
    if (allowBitmaps && picture && picture->Visible()) {
        picture->Draw(canvas, area, 0, 0, cellRect.Left, cellRect.Top, cellRect.Width(),
                      cellRect.Height(), cellColor, cell->GetOpacity(), true, false,
                      graphicInterface, cell, cell, false);
    } else if (cellColor != gfx::clNone) {
        graphicInterface.FillRectAlpha(canvas, area, cellColor, OpacityToAlpha(cell->GetOpacity()));
    }
    if (cell->HasExtraBackground()) {
        cell->DrawExtraBackground(canvas, cellRect, true, false, cursad,
                                  FCurrentPrintFmt ? &FCurrentPrintFmt->Fmt : nullptr, true);
    }
}

} // namespace vizivodu
