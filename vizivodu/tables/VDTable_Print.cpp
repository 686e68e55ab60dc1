// Printing tables: the printing draw item and its printable cell documents, the layout at the
// printer's resolution, the cut into parts between rows, and the painting of one part.
#include "vizivodu/tables/VDTable_Print.h"

#include "vizivodu/layout/printing/PtblVD.h"
#include "vizivodu/layout/text/VDGrIn.h"
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

} // namespace

// ---- TCellPtblVDData ----

TCellPtblVDData::~TCellPtblVDData() {
    ClearTemporal();
}

TVDOptions TCellPtblVDData::GetOptions() {
    TVDOptions options = TRectPtblVDData::GetOptions();
    if (BreakLongWords) {
        options.Include(vdoClientTextWidth);
    }
    return options;
}

bool TCellPtblVDData::Finished() {
    return DrawItems.Count() == 0 || DrawItemNo >= DrawItems.Count();
}

bool TCellPtblVDData::FormatNextPage(int32_t &maxHeight, TVDFootnoteListPtr &footnoteVDDataList,
                                     bool footnotesChangeHeight) {
    if (Finished()) {
        return false;
    }
    if (!Pages) {
        Pages = std::make_unique<TVDPageCollection>();
        CurPageNo = 0;
    }
    PrevPageInfo = {DrawItemNo, StartAt, StartY, Y, Splitting, CurPageNo, EndAt, Pages->Count()};
    TCustomMultiPagePtblVDData::FormatNextPage(DrawItemNo, StartAt, StartY, Y, Splitting, maxHeight,
                                               footnoteVDDataList, footnotesChangeHeight);
    ++CurPageNo;
    return true;
}

void TCellPtblVDData::UnformatLastPage(TVDFootnoteListPtr &footnoteVDDataList,
                                       int32_t &releasedHeightAfterFootnotes,
                                       bool footnotesChangeHeight) {
    if (!Pages) {
        return;
    }
    if (CurPageNo <= 1) {
        ResetPages(footnoteVDDataList, releasedHeightAfterFootnotes, footnotesChangeHeight, false);
        return;
    }
    int32_t startNo = 0, endNo = -1, part = -1;
    GetDrawItemsRange(CurPageNo, startNo, endNo, part);
    RemoveFootnotesOfDrawItems(startNo, endNo, footnoteVDDataList, releasedHeightAfterFootnotes,
                               footnotesChangeHeight);
    const TCellPageState &saved = PrevPageInfo;
    DrawItemNo = saved.DrawItemNo;
    StartAt = saved.StartAt;
    StartY = saved.StartY;
    Y = saved.Y;
    Splitting = saved.Splitting;
    CurPageNo = saved.CurPageNo;
    EndAt = saved.EndAt;
    while (Pages->Count() > std::max(saved.PageCount, 1)) {
        Pages->Delete(Pages->Count() - 1);
    }
}

void TCellPtblVDData::ResetPages(TVDFootnoteListPtr &footnoteVDDataList,
                                 int32_t &releasedHeightAfterFootnotes, bool footnotesChangeHeight,
                                 bool) {
    for (int32_t i = 0; i < DrawItems.Count(); ++i) {
        if (auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(DrawItems[i])) {
            multi->ResetPages(footnoteVDDataList, releasedHeightAfterFootnotes,
                              footnotesChangeHeight);
        } else {
            RemoveFootnotesOfDrawItems(i, i, footnoteVDDataList, releasedHeightAfterFootnotes,
                                       footnotesChangeHeight);
        }
    }
    Pages.reset();
    DrawItemNo = StartAt = StartY = Y = CurPageNo = EndAt = 0;
    Splitting = false;
    PrevPageInfo = {};
}

int32_t TCellPtblVDData::PageContentHeight(int32_t pageNo) {
    if (HasPages() && pageNo >= 1 && pageNo <= Pages->Count()) {
        return Pages->Items(pageNo - 1).DocumentHeight;
    }
    return DocumentHeight;
}

bool TCellPtblVDData::IsLineOrderReversed() {
    auto *source = dynamic_cast<TCustomVDFormattedData *>(FSourceDataForPrinting);
    return source && source->IsLineOrderReversed();
}

// ---- TVDTablePrintPart ----

int32_t TVDTablePrintPart::RowStartOf(int32_t row) const {
    const int32_t last = FRowStarts.GetCount() - 1;
    return FRowStarts.Get(std::clamp(row - FirstRow(), 0, last));
}

int32_t TVDTablePrintPart::ShownPage(int32_t mainRow, int32_t mainCol, int32_t lastRow) const {
    if (mainRow > lastRow) {
        return 0;
    }
    if (mainRow > FirstRow()) {
        return 1;
    }
    auto *info = static_cast<TVDTablePrintInfo *>(GetOwner());
    TVDTableCellData *cell = info ? info->FTable->GetCells(mainRow, mainCol) : nullptr;
    if (!cell || mainRow + cell->GetRowSpan() <= FirstRow()) {
        return 0;
    }
    if (FTableTopCutLine) {
        return mainCol >= 0 && mainCol < FTableTopCutLine->GetCount()
                   ? FTableTopCutLine->Get(mainCol)
                   : 0;
    }
    return mainRow == FirstRow() ? 1 : 0;
}

int32_t PrintBestHeight(const TVDTablePrintInfo &info, const TVDTableCellData &cell) {
    if (cell.GetBestHeight() <= 0) {
        return 0;
    }
    const TVDStyle &style = *info.FTable->GetRows().GetMainVDData()->GetVDStyle();
    return style.GetAsDevicePixelsY(cell.GetBestHeight(), &info.sad);
}

void ForEachPartCell(const TVDTablePrintInfo &info, const TVDTablePrintPart &part,
                     const TPartCellFunc &f) {
    const TVDTableItemInfo &table = *info.FTable;
    for (int32_t r = part.FirstRow(); r <= part.LastRow(); ++r) {
        for (int32_t c = 0; c < table.GetColCount(); ++c) {
            int32_t mRow = r;
            int32_t mCol = c;
            if (r == part.FirstRow()) {
                table.GetRows().GetMainCell(r, c, mRow, mCol);
            }
            TCellPtblVDData *printed = mCol == c ? info.CellAt(mRow, mCol) : nullptr;
            if (printed) {
                f(r, mRow, mCol, *printed);
            }
        }
    }
}

// ---- TVDTablePrintInfo ----

TVDTablePrintInfo::TVDTablePrintInfo(TVDTableItemInfo &table) : FTable(&table) {}

TVDTablePrintInfo::~TVDTablePrintInfo() = default;

TCellPtblVDData *TVDTablePrintInfo::CellAt(int32_t row, int32_t col) const {
    if (row < 0 || col < 0 || col >= FTable->GetColCount()) {
        return nullptr;
    }
    const size_t index = static_cast<size_t>(col + row * FTable->GetColCount());
    return index < Rows.size() ? Rows[index].get() : nullptr;
}

TVDTablePrintPart *TVDTablePrintInfo::PartAt(int32_t index) {
    TVDMultiDrawItemPartsList &parts = GetPartsList();
    return index >= 0 && index < parts.Count() ? static_cast<TVDTablePrintPart *>(parts[index])
                                               : nullptr;
}

int32_t TVDTablePrintInfo::HeadingRowsOf(bool firstPart) const {
    return firstPart && FTable->GetPrintOptions().Contains(vdtoContinue) ? 0 : FHeadingRowCount;
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

void TVDTablePrintInfo::FinishSplit() {
    TVDMultiDrawItemPartsList &parts = GetPartsList();
    if (parts.Count() > 0 && !parts[parts.Count() - 1]) {
        parts.Delete(parts.Count() - 1);
    }
    FTable->AfterPagination(Fmt, parts, sad);
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
                (cell->GetCellBackground() && cell->GetCellBackground()->Visible()) ||
                cell->HasExtraBackground();
            if (cell->State.Contains(vdstFirstParaAborted)) {
                printed->State.Include(vdstFirstParaAborted);
                printed->FFirstParaListNo = cell->FFirstParaListNo;
                printed->FFirstParaLevel = cell->FFirstParaLevel;
            }
            if (cell->State.Contains(vdstLastParaAborted)) {
                printed->State.Include(vdstLastParaAborted);
            }
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
    const int32_t height = cell->IsVerticalText() || ignoreContent ? 0 : printed->DocumentHeight;
    return std::max(height, PrintBestHeight(info, *cell));
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
        bool narrowed = false;
        if (!UseStoredColWidths(fmt)) {
            ComputeColumnWidths(docWidth, fmt, canvas, true, &narrowed);
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
                printed->BreakLongWords = narrowed;
                printed->DX = fmt.ColStarts.Get(c) + q.HPad;
                printed->Width = width;
                printed->Height = 1;
                if (!GetCells(r, c)->IsVerticalText()) {
                    printed->Format(true, false);
                }
            }
        }
        ComputeRowHeights(fmt, &info);
        PlaceRows(fmt, &info);
        // Vertical text runs along the cell's height, known only now.
        for (int32_t r = 0; r < q.m; ++r) {
            for (int32_t c = 0; c < q.n; ++c) {
                TCellPtblVDData *printed = info.CellAt(r, c);
                if (printed && GetCells(r, c)->IsVerticalText()) {
                    printed->Format(true, false);
                }
            }
        }
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
    params.PrintVDData = dynamic_cast<TCustomPrintableVDData *>(vdData);
    params.PrintPart = info->PartAt(part);
    params.PageNo = pageNo;
    params.ForMetafile = forMetafile;
    params.DrawItemNo = dItemNo;
    const int32_t height = params.PrintPart ? params.PrintPart->Height : info->Fmt.FHeight;
    params.ClipRect = rtl::Rect(x, y, x + info->Fmt.FWidth, y + height);
    PaintTable(canvas, params);
}

} // namespace vizivodu
