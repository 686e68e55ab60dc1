// Printing tables: the printing draw item and its printable cell documents, the layout at the
// printer's resolution, the cut into parts between rows, and the painting of one part.
#include "vizivodu/tables/VDTable_Print.h"

#include "vizivodu/layout/PtblVD.h"
#include "vizivodu/layout/VDGrIn.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable_p.h"

#include <algorithm>

namespace vizivodu {

namespace {

// The table's device pixels of sad for the scope of a layout or a painting.
class TDeviceScope {
public:
    TDeviceScope(TVDTableItemInfo &table, const TVDScreenAndDevice &sad, TVDTablePrintInfo *info)
        : FTable(table), FSaved(table.cursad), FSavedFmt(table.FCurrentPrintFmt) {
        table.cursad = &sad;
        table.FCurrentPrintFmt = info;
    }
    ~TDeviceScope() {
        FTable.cursad = FSaved;
        FTable.FCurrentPrintFmt = FSavedFmt;
    }
    TDeviceScope(const TDeviceScope &) = delete;
    TDeviceScope &operator=(const TDeviceScope &) = delete;

private:
    TVDTableItemInfo &FTable;
    PVDScreenAndDevice FSaved;
    TVDTablePrintInfo *FSavedFmt;
};

// Where the cell border of row k begins, from the table's top (k = RowCount: below the last).
int32_t BorderStart(const TVDTableItemFormattingInfo &fmt, const TVDTableMetrics &q, int32_t k) {
    if (k < fmt.RowStarts.GetCount()) {
        return fmt.RowStarts.Get(k) - q.CBy;
    }
    const int32_t last = fmt.RowStarts.GetCount() - 1;
    return fmt.RowStarts.Get(last) - q.CBy + fmt.RowHeights.Get(last) + q.OV;
}

} // namespace

// ---- TCellPtblVDData ----

TCellPtblVDData::~TCellPtblVDData() {
    ClearTemporal();
}

bool TCellPtblVDData::IsLineOrderReversed() {
    auto *source = dynamic_cast<TCustomVDFormattedData *>(FSourceDataForPrinting);
    return source && source->IsLineOrderReversed();
}

// ---- TVDTablePrintInfo ----

TVDTablePrintInfo::TVDTablePrintInfo(TVDTableItemInfo &table) : FTable(&table) {}

TVDTablePrintInfo::~TVDTablePrintInfo() = default;

TCellPtblVDData *TVDTablePrintInfo::CellAt(int32_t row, int32_t col) const {
    const size_t index = static_cast<size_t>(col + row * FTable->GetColCount());
    return row >= 0 && col >= 0 && index < Rows.size() ? Rows[index].get() : nullptr;
}

int32_t TVDTablePrintInfo::GroupEnd(int32_t row) const {
    int32_t end = row;
    for (int32_t r = row; r <= end && r < FTable->GetRowCount(); ++r) {
        for (int32_t c = 0; c < FTable->GetColCount(); ++c) {
            if (TVDTableCellData *cell = FTable->GetCells(r, c)) {
                end = std::max(end, r + cell->GetRowSpan() - 1);
            }
        }
    }
    return std::min(end, FTable->GetRowCount() - 1);
}

TVDTablePrintPart *TVDTablePrintInfo::LastPart() {
    TVDMultiDrawItemPartsList &parts = GetPartsList();
    for (int32_t i = parts.Count() - 1; i >= 0; --i) {
        if (parts[i]) {
            return static_cast<TVDTablePrintPart *>(parts[i]);
        }
    }
    return nullptr;
}

bool TVDTablePrintInfo::InitSplit(const TVDScreenAndDevice &, bool) {
    GetPartsList().Clear();
    const int32_t rows = FTable->GetRowCount();
    if (rows == 0 || FHeadingRowCount >= rows || Fmt.RowStarts.GetCount() != rows) {
        return false;
    }
    if (!FTable->GetPrintOptions().Contains(vdtoRowsSplit) && !FTable->HasPageBreakBefore(-1, -1)) {
        return false;
    }
    GetPartsList().Add(nullptr);
    return true;
}

// The table may begin here when the heading rows and its first group of body rows fit.
bool TVDTablePrintInfo::CanSplitFirst(int32_t y, const TVDScreenAndDevice &, bool firstOnPage, bool,
                                      bool, bool) {
    if (GetPartsList().Count() == 0) {
        return false;
    }
    if (firstOnPage) {
        return true;
    }
    const TVDTableMetrics q(*FTable, *FTable->GetRows().GetMainVDData()->GetVDStyle(), &sad);
    const int32_t end = GroupEnd(FHeadingRowCount);
    return BorderStart(Fmt, q, end + 1) + q.By + q.BV - q.VSp <= y;
}

bool TVDTablePrintInfo::SplitAt(int32_t y, const TVDScreenAndDevice &, bool, TVDFootnoteRefList *&,
                                int32_t &, bool, bool ignorePageBreaks) {
    TVDMultiDrawItemPartsList &parts = GetPartsList();
    if (parts.Count() == 0) {
        return false;
    }
    const int32_t rowCount = FTable->GetRowCount();
    TVDTablePrintPart *previous = LastPart();
    const int32_t s = previous ? previous->FRowIndices.Get(previous->FRowIndices.GetCount() - 1)
                               : FHeadingRowCount;
    if (s >= rowCount) {
        if (!parts[parts.Count() - 1]) {
            parts.Delete(parts.Count() - 1);
        }
        return false;
    }
    const TVDTableMetrics q(*FTable, *FTable->GetRows().GetMainVDData()->GetVDStyle(), &sad);
    const int32_t start = BorderStart(Fmt, q, FHeadingRowCount);
    const int32_t room = y - (q.By + q.BV - q.VSp);
    auto part = std::make_unique<TVDTablePrintPart>(this);
    part->FFmtRef = &Fmt;
    part->FHeadingRows = FHeadingRowCount;
    part->FHeadingHeight = start - BorderStart(Fmt, q, 0);
    part->FRowStarts.Add(start);
    part->FRowIndices.Add(s);
    int32_t r = s;
    while (r < rowCount) {
        if (r > s && !ignorePageBreaks && FTable->GetRows().Get(r)->PageBreakBefore) {
            break;
        }
        const int32_t end = GroupEnd(r);
        const int32_t after = start + BorderStart(Fmt, q, end + 1) - BorderStart(Fmt, q, s);
        // The first group always goes: one taller than the page is alone on its part.
        if (after > room && r > s) {
            break;
        }
        for (int32_t k = r + 1; k <= end + 1; ++k) {
            part->FRowStarts.Add(start + BorderStart(Fmt, q, k) - BorderStart(Fmt, q, s));
            part->FRowIndices.Add(k);
        }
        r = end + 1;
    }
    part->Height = part->FRowStarts.Get(part->FRowStarts.GetCount() - 1) + q.By + q.BV - q.VSp;
    parts.Put(parts.Count() - 1, std::move(part));
    if (r >= rowCount) {
        return false;
    }
    parts.Add(nullptr);
    return true;
}

void TVDTablePrintInfo::UnformatLastPage(TVDFootnoteRefList *&, int32_t &, bool) {
    TVDMultiDrawItemPartsList &parts = GetPartsList();
    for (int32_t i = parts.Count() - 1; i >= 0; --i) {
        if (parts[i]) {
            parts.Delete(i);
            if (parts.Count() == 0 || parts[parts.Count() - 1]) {
                parts.Add(nullptr);
            }
            return;
        }
    }
}

bool TVDTablePrintInfo::GetSubDocCoords(const TVDStoreSubVDData &location, int32_t part,
                                        rtl::TRect &innerCoords, rtl::TRect &outerCoords,
                                        rtl::TPoint &origin) {
    const auto *where = dynamic_cast<const TVDTableStoreSubVDData *>(&location);
    TCellPtblVDData *cell = where ? CellAt(where->Row, where->Col) : nullptr;
    if (!cell) {
        return false;
    }
    innerCoords = rtl::Rect(cell->DX, cell->DY, cell->DX + cell->Width, cell->DY + cell->Height);
    TVDMultiDrawItemPartsList &parts = GetPartsList();
    const auto *p = part >= 0 && part < parts.Count()
                        ? static_cast<const TVDTablePrintPart *>(parts[part])
                        : nullptr;
    if (p && where->Row >= FHeadingRowCount) {
        if (where->Row < p->FirstRow() || where->Row > p->LastRow()) {
            return false;
        }
        const int32_t shift =
            BorderStart(Fmt, TVDTableMetrics(*FTable, *cell->GetVDStyle(), &sad), p->FirstRow()) -
            p->FRowStarts.Get(0);
        innerCoords.Top -= shift;
        innerCoords.Bottom -= shift;
    }
    origin = innerCoords.TopLeft();
    const TVDTableMetrics q(*FTable, *cell->GetVDStyle(), &sad);
    outerCoords = rtl::Rect(innerCoords.Left - q.HPad, innerCoords.Top - q.VPad,
                            innerCoords.Right + q.HPad, innerCoords.Bottom + q.VPad);
    return true;
}

TCustomPrintableVDData *
TVDTablePrintInfo::GetPrintableVDDataFor(const TVDStoreSubVDData &location) {
    const auto *where = dynamic_cast<const TVDTableStoreSubVDData *>(&location);
    return where ? CellAt(where->Row, where->Col) : nullptr;
}

// ---- The table's side ----

std::unique_ptr<TVDDrawLineInfo> TVDTableItemInfo::CreatePrintingDrawItem(TCustomVDData *vdData,
                                                                          int32_t paraNo,
                                                                          PVDScreenAndDevice sad) {
    auto *parent = dynamic_cast<TCustomPrintableVDData *>(vdData);
    auto *control = parent ? dynamic_cast<TCustomPrintableVD *>(parent->ViziVodu()) : nullptr;
    if (!control || !sad) {
        return TVDFullLineItemInfo::CreatePrintingDrawItem(vdData, paraNo, sad);
    }
    auto info = std::make_unique<TVDTablePrintInfo>(*this);
    info->sad = *sad;
    info->FHeadingRowCount = GetRealHeadingRowCount();
    info->Rows.reserve(static_cast<size_t>(GetRowCount() * GetColCount()));
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        for (int32_t c = 0; c < GetColCount(); ++c) {
            TVDTableCellData *cell = GetCells(r, c);
            if (!cell) {
                info->Rows.emplace_back();
                continue;
            }
            auto printed = std::make_unique<TCellPtblVDData>(control, cell->GetVDData(), parent);
            printed->FColor = GetCellColor(r, c, true, true);
            printed->ParentDrawsBack = true;
            printed->Transparent = IsCellTransparent(r, c);
            printed->ComplexBackground =
                cell->GetCellBackground() && cell->GetCellBackground()->Visible();
            info->Rows.push_back(std::move(printed));
        }
    }
    return info;
}

int32_t TVDTableItemInfo::PrintCellHeight(const TVDTablePrintInfo &info, int32_t row, int32_t col) {
    TVDTableCellData *cell = GetCells(row, col);
    TCellPtblVDData *printed = info.CellAt(row, col);
    if (!cell || !printed) {
        return 0;
    }
    const bool ignoreContent =
        FOptions.Contains(vdtoIgnoreContentHeight) && cell->GetBestHeight() > 0;
    int32_t height = cell->IsVerticalText() || ignoreContent ? 0 : printed->DocumentHeight;
    if (cell->GetBestHeight() > 0) {
        height = std::max(height, GetStyle()->GetAsDevicePixelsY(cell->GetBestHeight(), &info.sad));
    }
    return height;
}

int32_t TVDTableItemInfo::PrintRowHeight(const TVDTablePrintInfo &info, int32_t row) {
    int32_t height = 0;
    for (int32_t c = 0; c < GetColCount(); ++c) {
        TVDTableCellData *cell = GetCells(row, c);
        if (cell && cell->GetRowSpan() <= 1) {
            height = std::max(height, PrintCellHeight(info, row, c));
        }
    }
    // An empty row is as tall as on the screen.
    return height == 0 ? gfx::MulDiv(10, info.sad.ppiyDevice, std::max(1, info.sad.ppiyScreen))
                       : height;
}

void TVDTableItemInfo::CalculatePrintLayout(int32_t docWidth, TVDTablePrintInfo &info,
                                            gfx::TCanvas &canvas) {
    TVDStyle *style = GetStyle();
    if (!style) {
        return;
    }
    TDeviceScope device(*this, info.sad, &info);
    const TVDTableMetrics q(*this, *style, &info.sad);
    TVDTableItemFormattingInfo &fmt = info.Fmt;
    if (FRows->Empty()) {
        fmt.QuickClear();
        fmt.FWidth = 2 * (q.Bx + q.BH);
        fmt.FHeight = std::max(1, 2 * q.BV + 2 * q.By);
    } else {
        if (!UseStoredColWidths(fmt)) {
            ComputeColumnWidths(docWidth, fmt, canvas, true);
        }
        fmt.ColStarts.SetCount(0);
        int32_t x = q.Bx + q.BH + q.CBx;
        for (int32_t c = 0; c < q.n; ++c) {
            fmt.ColStarts.Add(x);
            x += fmt.ColWidths.Get(c) + q.O;
        }
        for (int32_t r = 0; r < q.m; ++r) {
            for (int32_t c = 0; c < q.n; ++c) {
                TCellPtblVDData *printed = info.CellAt(r, c);
                if (!printed) {
                    continue;
                }
                const int32_t span = GetCells(r, c)->GetColSpan();
                int32_t width = gfx::MulDiv(q.n * q.O, span - 1, q.n);
                for (int32_t k = c; k < c + span; ++k) {
                    width += fmt.ColWidths.Get(k);
                }
                printed->DX = fmt.ColStarts.Get(c) + q.HPad;
                printed->Width = width;
                printed->Height = 1;
                printed->Format(true, false);
            }
        }
        ComputeRowHeights(fmt, &info);
        PlaceRows(fmt, &info);
    }
    info.Width = fmt.FWidth;
    info.Height = fmt.FHeight;
}

void TVDTableItemInfo::Print(gfx::TCanvas &canvas, int32_t x, int32_t y, bool preview,
                             bool correction, int32_t part, TVDColorMode colorMode,
                             TCustomVDData *vdData, int32_t dItemNo, int32_t pageNo,
                             bool forMetafile) {
    auto *doc = dynamic_cast<TCustomVDFormattedData *>(vdData);
    auto *info = doc && dItemNo >= 0 && dItemNo < doc->DrawItems.Count()
                     ? dynamic_cast<TVDTablePrintInfo *>(doc->DrawItems[dItemNo])
                     : nullptr;
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!info || !style || info->Fmt.RowStarts.GetCount() != GetRowCount()) {
        return;
    }
    TDeviceScope device(*this, info->sad, info);
    TVDMultiDrawItemPartsList &parts = info->GetPartsList();
    const auto *p = part >= 0 && part < parts.Count()
                        ? static_cast<const TVDTablePrintPart *>(parts[part])
                        : nullptr;
    TVDTablePaintParams params;
    params.Left = x;
    params.Top = y;
    params.State = {vdidsPrinting};
    if (preview) {
        params.State.Include(vdidsPreview);
    }
    if (correction) {
        params.State.Include(vdidsPreviewCorrection);
    }
    params.Style = style;
    params.Fmt = &info->Fmt;
    params.ColorMode = colorMode;
    params.PageNo = pageNo;
    params.ForMetafile = forMetafile;
    params.DrawItemNo = dItemNo;
    if (!p) {
        PaintTable(canvas, params);
        return;
    }
    TVDTablePaintContext ctx(*this, canvas, params);
    MyClientLeft = x;
    MyClientTop = y;
    ctx.TableRect = rtl::Rect(x, y, x + info->Fmt.FWidth, y + p->Height);
    PaintTableBackground(ctx);
    TVDBorderParams border = BorderParams(ctx, ctx.TableRect);
    border.VisibleBorders = &FVisibleBorders;
    border.BorderStyle = FBorderStyle;
    border.Width = FBorderWidth;
    border.Color = FColors[vdtcBorderColor];
    border.LightColor = FColors[vdtcBorderLightColor];
    TCustomVDData *main = FRows->GetMainVDData();
    border.BackgroundColor = main ? static_cast<TColor>(main->GetColor()) : gfx::clNone;
    DrawBorder(canvas, border);
    const int32_t bodyTop = y + p->FRowStarts.Get(0);
    if (p->FHeadingRows > 0) {
        PaintPrintedRows(ctx, 0, p->FHeadingRows - 1, 0,
                         rtl::Rect(x, y, ctx.TableRect.Right, bodyTop));
    }
    const int32_t shift = info->Fmt.RowStarts.Get(p->FirstRow()) -
                          info->Fmt.RowStarts.Get(std::min(p->FHeadingRows, GetRowCount() - 1));
    PaintPrintedRows(ctx, p->FirstRow(), p->LastRow(), shift,
                     rtl::Rect(x, bodyTop, ctx.TableRect.Right, ctx.TableRect.Bottom));
    canvas.GetPen().SetWidth(1);
}

// Rows firstRow .. lastRow moved up by shift, clipped to clip.
void TVDTableItemInfo::PaintPrintedRows(TVDTablePaintContext &ctx, int32_t firstRow,
                                        int32_t lastRow, int32_t shift, const rtl::TRect &clip) {
    const int32_t state = ctx.GI.SaveCanvasState(ctx.Canvas);
    struct TRestore {
        TVDGraphicInterface &GI;
        gfx::TCanvas &Canvas;
        int32_t State;
        ~TRestore() { GI.RestoreCanvasState(Canvas, State); }
    } restore{ctx.GI, ctx.Canvas, state};
    ctx.GI.IntersectClipRect(ctx.Canvas, clip.Left, clip.Top, clip.Right, clip.Bottom);
    ctx.Y0 = ctx.P.Top - shift;
    ctx.FirstRow = firstRow;
    ctx.LastRow = lastRow;
    ctx.Canvas.GetPen().SetWidth(1);
    ctx.Canvas.GetPen().SetStyle(gfx::psSolid);
    PaintCells(ctx);
    ctx.Y0 = ctx.P.Top;
}

} // namespace vizivodu
