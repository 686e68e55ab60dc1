// Cutting a printed table into parts: whether the table may split and begin on a page, the
// rows of each part with rows cut inside their cells, and taking parts back.
#include "vizivodu/tables/VDTable_Print.h"

#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable_p.h"

#include <algorithm>

namespace vizivodu {

namespace {

// The largest height a cell's page may take when it is printed whole.
constexpr int32_t UnlimitedHeight = 268435455;

TVDFootnoteListPtr CopyOf(const TVDFootnoteListPtr &list) {
    return list ? std::make_unique<TVDFootnoteRefList>(*list) : nullptr;
}

// Calls f for the printable document of every cell of the rows above row `rows`.
template <class F> void ForEachCell(TVDTablePrintInfo &info, int32_t rows, F f) {
    const int32_t cols = info.FTable->GetColCount();
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < cols; ++c) {
            if (TCellPtblVDData *printed = info.CellAt(r, c)) {
                f(*printed);
            }
        }
    }
}

} // namespace

// One call of SplitAt: the part being made and the measuring of its rows.
//
// A row's cells each need their content plus the row overhead Q.OV (borders, padding, spacing);
// the row start after a cell's span is at least the cell's row start plus that need. A cell
// that starts in the part is measured by formatting the first page of its printable document
// within the height left and forgetting it again; a cell continued from the previous part
// formats its next page for good.
//
// Footnotes: a row whose cells reference footnotes not yet on the page is measured again with
// the room those footnotes (and the separator, for the page's first) take off the part's
// height: the part starts again from its first row, that row being the retried one, whose
// footnotes (and those of the rows before it) no longer count. The page's list receives the
// footnotes of the cells as they are formatted for good; MaxHeight gives up what the retries
// took.
class TVDTableSplitter {
public:
    TVDTableSplitter(TVDTablePrintInfo &info, TVDTablePrintPart &part, int32_t y, bool firstOnPage,
                     TVDFootnoteListPtr &footnotes, bool footnotesChangeHeight)
        : FInfo(info), FTable(*info.FTable), FPart(part),
          Q(FTable, *FTable.GetRows().GetMainVDData()->GetVDStyle(), &info.sad), FY(y),
          FFirstOnPage(firstOnPage), FFootnotes(footnotes),
          FFootnotesChangeHeight(footnotesChangeHeight) {}

    // Adds rows from the part's first row; true when the table goes on in another part.
    bool Run(bool ignorePageBreaks);
    // The height footnote retries took off the part.
    int32_t GetFootnoteReduction() const { return FReduction; }

private:
    int32_t S() const { return FPart.FirstRow(); }
    bool ContentCounts(TVDTableCellData &cell) const;
    void RaiseStart(int32_t entry, int32_t value);
    int32_t CellNeed(int32_t k, int32_t r, int32_t mainRow, int32_t mainCol, int32_t cut);
    // The height of the footnotes of printed's last page that the page does not have yet.
    void CountFootnotes(TCellPtblVDData &printed);
    // Answers the height the row's new footnotes take.
    int32_t MeasureRow(int32_t k, int32_t r);
    // Starts the part again with the room of row r's footnotes taken off.
    void Retry(int32_t r, int32_t footnotes);
    bool RowMayStart(int32_t r, int32_t k);
    void FormatRemaining(int32_t lastRow);
    bool Cut(int32_t r);
    void SetHeight();

    TVDTablePrintInfo &FInfo;
    TVDTableItemInfo &FTable;
    TVDTablePrintPart &FPart;
    TVDTableMetrics Q;
    int32_t FY;
    bool FFirstOnPage;
    TVDFootnoteListPtr &FFootnotes;
    bool FFootnotesChangeHeight;
    int32_t FMaxStart = 0;
    int32_t FRetriedRow = -1;
    int32_t FReduction = 0;
    // The page's footnotes with those of the row being measured, and their height.
    TVDFootnoteListPtr FRowList;
    int32_t FRowFootnotes = 0;
    // The continued cells that made a page in this pass.
    std::vector<TCellPtblVDData *> FContinued;
};

bool TVDTableSplitter::ContentCounts(TVDTableCellData &cell) const {
    return !cell.IsVerticalText() && !(FTable.GetTableOptions().Contains(vdtoIgnoreContentHeight) &&
                                       cell.GetBestHeight() > 0);
}

// Entry `entry` of the row starts becomes at least value; missing entries are appended (an
// appended row starts where the one before it does, with the next row index).
void TVDTableSplitter::RaiseStart(int32_t entry, int32_t value) {
    while (FPart.FRowStarts.GetCount() <= entry) {
        const int32_t last = FPart.FRowStarts.GetCount() - 1;
        FPart.FRowStarts.Add(FPart.FRowStarts.Get(last));
        FPart.FRowIndices.Add(FPart.FRowIndices.Get(last) + 1);
    }
    if (FPart.FRowStarts.Get(entry) < value) {
        FPart.FRowStarts.Put(entry, value);
    }
    FMaxStart = std::max(FMaxStart, FPart.FRowStarts.Get(entry));
}

// What a cell of the part's row k needs on this page, counted with cut value cut (1: from its
// beginning; more: continued from that page of its printable document).
int32_t TVDTableSplitter::CellNeed(int32_t k, int32_t r, int32_t mainRow, int32_t mainCol,
                                   int32_t cut) {
    TVDTableCellData &cell = *FTable.GetCells(mainRow, mainCol);
    TCellPtblVDData *printed = FInfo.CellAt(mainRow, mainCol);
    const int32_t avail = FY - FPart.FRowStarts.Get(k) - Q.OV;
    int32_t b = PrintBestHeight(FInfo, cell);
    if (b > avail && k == 0 && FFirstOnPage) {
        b = std::max(avail, 0);
    }
    if (!ContentCounts(cell) || !printed) {
        return b + Q.OV;
    }
    if (printed->IsLineOrderReversed()) {
        return std::max(b, printed->DocumentHeight) + Q.OV;
    }
    const bool count = FFootnotesChangeHeight && r > FRetriedRow;
    int32_t room = std::max(avail, 0);
    int32_t measure = 0;
    if (cut == 1) {
        // A measured first page is forgotten again: it must not touch the page's footnote list.
        TVDFootnoteListPtr measuring = CopyOf(FFootnotes);
        printed->FormatNextPage(room, measuring, count);
        if (count) {
            CountFootnotes(*printed);
        }
        measure = printed->Finished() ? printed->EndAt : avail + 100;
        TVDFootnoteListPtr none;
        int32_t released = 0;
        printed->ResetPages(none, released, false, false);
    } else {
        printed->FormatNextPage(room, FFootnotes, count);
        FContinued.push_back(printed);
        if (count) {
            CountFootnotes(*printed);
        }
        measure = printed->Finished() ? printed->EndAt : avail;
        if (!printed->Finished()) {
            FPart.FRowFinished = false;
        }
    }
    return std::max(b, measure) + Q.OV;
}

void TVDTableSplitter::CountFootnotes(TCellPtblVDData &printed) {
    int32_t startNo = 0, endNo = -1, part = -1;
    printed.GetDrawItemsRange(printed.CurPageNo, startNo, endNo, part);
    int32_t height = 0;
    printed.AddFootnotesOfDrawItems(startNo, endNo, FRowList, height, true);
    FRowFootnotes -= height;
}

int32_t TVDTableSplitter::MeasureRow(int32_t k, int32_t r) {
    const int32_t cols = FTable.GetColCount();
    const TVDIntegerList *top = k == 0 ? FPart.FTableTopCutLine.get() : nullptr;
    FRowList = CopyOf(FFootnotes);
    FRowFootnotes = 0;
    // An empty box: borders and padding.
    RaiseStart(k + 1, FPart.FRowStarts.Get(k) + Q.OV);
    for (int32_t c = 0; c < cols; ++c) {
        int32_t mRow = r;
        int32_t mCol = c;
        int32_t cut = 1;
        if (top) {
            FTable.GetRows().GetMainCell(r, c, mRow, mCol);
            cut = mCol == c ? top->Get(mCol) : 0;
        } else if (!FTable.GetCells(r, c)) {
            continue;
        }
        if (cut <= 0) {
            continue;
        }
        TVDTableCellData &cell = *FTable.GetCells(mRow, mCol);
        const int32_t need = CellNeed(k, r, mRow, mCol, cut);
        const int32_t after = mRow + cell.GetRowSpan() - S();
        RaiseStart(after, FPart.FRowStarts.Get(k) + need);
    }
    FRowList.reset();
    return FRowFootnotes;
}

void TVDTableSplitter::Retry(int32_t r, int32_t footnotes) {
    int32_t released = 0;
    for (auto it = FContinued.rbegin(); it != FContinued.rend(); ++it) {
        (*it)->UnformatLastPage(FFootnotes, released, false);
    }
    FContinued.clear();
    FY -= footnotes;
    FReduction += footnotes;
    FRetriedRow = r;
    FPart.FRowStarts.SetCount(1);
    FPart.FRowIndices.SetCount(1);
    FPart.FRowFinished = true;
    FMaxStart = 0;
}

// Every cell that begins in row r (entry k) can begin within the height left below it.
bool TVDTableSplitter::RowMayStart(int32_t r, int32_t k) {
    const int32_t left = FY - FPart.FRowStarts.Get(k) - Q.OV;
    for (int32_t c = 0; c < FTable.GetColCount(); ++c) {
        TVDTableCellData *cell = FTable.GetCells(r, c);
        if (!cell) {
            continue;
        }
        if (PrintBestHeight(FInfo, *cell) > left) {
            return false;
        }
        TCellPtblVDData *printed = FInfo.CellAt(r, c);
        int32_t height = left;
        if (printed && ContentCounts(*cell) &&
            !printed->CanPlaceFirstPageHere(height, false, FInfo.sad, FFootnotes != nullptr,
                                            FFootnotesChangeHeight)) {
            return false;
        }
    }
    return true;
}

// The cells of rows S() .. lastRow that have no pages yet are printed whole.
void TVDTableSplitter::FormatRemaining(int32_t lastRow) {
    for (int32_t r = S(); r <= lastRow; ++r) {
        for (int32_t c = 0; c < FTable.GetColCount(); ++c) {
            TCellPtblVDData *printed = FInfo.CellAt(r, c);
            if (!printed || printed->HasPages() || FPart.ShownPage(r, c, lastRow) == 0) {
                continue;
            }
            int32_t height = UnlimitedHeight;
            printed->FormatNextPage(height, FFootnotes, false);
        }
    }
}

void TVDTableSplitter::SetHeight() {
    const int32_t last = FPart.FRowStarts.GetCount() - 1;
    FPart.Height = FPart.FRowStarts.Get(last) + Q.By + Q.BV - Q.VSp;
}

// The loop stopped at row r (it did not fit, or ends the part). The part ends with row r cut
// inside its cells when its cells can begin here, else before it; the bottom cut line tells
// the next part, which begins at row r, the page of each cell covering r that it continues.
// True when the table goes on.
bool TVDTableSplitter::Cut(int32_t r) {
    const int32_t k = r - S();
    FPart.FRowStarts.SetCount(k + 1);
    FPart.FRowIndices.SetCount(k + 1);
    FFirstOnPage = FFirstOnPage && k == 0;
    // A heading row printed as an ordinary row (vdtoContinue) is not cut after the part's
    // first row: the later parts repeat it whole.
    const bool flag = k == 0 || (r >= FInfo.FHeadingRowCount && RowMayStart(r, k));
    const int32_t lastRow = flag ? r : r - 1;
    int32_t bottom = FPart.FRowStarts.Get(k);
    bool continues = false;
    const int32_t cols = FTable.GetColCount();
    for (int32_t c = cols - 1; c >= 0; --c) {
        int32_t mRow = 0;
        int32_t mCol = 0;
        FTable.GetRows().GetMainCell(lastRow, c, mRow, mCol);
        c = mCol;
        TCellPtblVDData *printed = FInfo.CellAt(mRow, mCol);
        if (!printed || FPart.ShownPage(mRow, mCol, lastRow) == 0) {
            continue;
        }
        TVDTableCellData &cell = *FTable.GetCells(mRow, mCol);
        const int32_t rowStart = FPart.RowStartOf(std::max(mRow, S()));
        int32_t left = std::max(FY - rowStart - Q.OV, 0);
        if (!printed->HasPages() && ContentCounts(cell) && !printed->IsLineOrderReversed()) {
            printed->FormatNextPage(left, FFootnotes, false);
        }
        if (!printed->HasPages() || printed->Finished()) {
            int32_t content = PrintBestHeight(FInfo, cell);
            if (ContentCounts(cell)) {
                content = std::max(content,
                                   printed->HasPages() ? printed->EndAt : printed->DocumentHeight);
            }
            bottom = std::max(bottom, rowStart + content + Q.OV);
        } else {
            continues = true;
        }
    }
    auto line = std::make_unique<TVDIntegerList>(TVDIntegerList::CreateEx(cols, 0));
    for (int32_t c = cols - 1; c >= 0 && r < FTable.GetRowCount(); --c) {
        int32_t mRow = 0;
        int32_t mCol = 0;
        FTable.GetRows().GetMainCell(r, c, mRow, mCol);
        c = mCol;
        TCellPtblVDData *printed = FInfo.CellAt(mRow, mCol);
        if (mRow == r && !flag) {
            line->Put(mCol, 1);
        } else if (printed && FPart.ShownPage(mRow, mCol, lastRow) != 0 && printed->HasPages() &&
                   !printed->Finished()) {
            line->Put(mCol, printed->CurPageNo + 1);
        }
    }
    FormatRemaining(lastRow);
    if (flag) {
        FPart.FRowStarts.Add(continues ? FY : bottom);
        FPart.FRowIndices.Add(r + 1);
    } else {
        FPart.FRowStarts.Put(k, continues ? FY : std::max(bottom, FPart.FRowStarts.Get(k)));
    }
    FPart.FRowFinished = !(continues && flag);
    if (continues) {
        FPart.FTableBottomCutLine = std::move(line);
    } else {
        FPart.FTableBottomCutLine.reset();
    }
    SetHeight();
    return continues || lastRow + 1 < FTable.GetRowCount();
}

bool TVDTableSplitter::Run(bool ignorePageBreaks) {
    const int32_t rowCount = FTable.GetRowCount();
    int32_t r = S();
    for (int32_t k = 0;; ++k, ++r) {
        const int32_t footnotes = MeasureRow(k, r);
        if (footnotes > 0) {
            Retry(r, footnotes);
            k = -1;
            r = S() - 1;
            continue;
        }
        const int32_t next = FPart.FRowStarts.Get(k + 1);
        const bool fits = FPart.FRowFinished && next <= FY && (k == 0 || FMaxStart <= FY);
        if (fits && r == rowCount - 1) {
            FPart.FRowStarts.SetCount(k + 2);
            FPart.FRowIndices.SetCount(k + 2);
            FormatRemaining(r);
            SetHeight();
            return false;
        }
        const bool breakBefore =
            !ignorePageBreaks && r + 1 < rowCount && FTable.GetRows().Get(r + 1)->PageBreakBefore;
        if (!fits || breakBefore) {
            return Cut(r);
        }
    }
}

// ---- TVDTablePrintInfo: splitting ----

bool TVDTablePrintInfo::InitSplit(const TVDScreenAndDevice &, bool) {
    TVDFootnoteListPtr footnotes;
    int32_t released = 0;
    ResetPages(footnotes, released, false);
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

// The table may begin here when each cell of its first body row can begin below the heading
// rows. With vdtoContinue the first part prints the heading rows as rows of its own, at the
// same places: they too must fit, whole, above the first body row.
bool TVDTablePrintInfo::CanSplitFirst(int32_t y, const TVDScreenAndDevice &, bool firstOnPage,
                                      bool pageHasFootnotes, bool footnotesChangeHeight, bool) {
    if (GetPartsList().Count() == 0) {
        return false;
    }
    if (firstOnPage) {
        return true;
    }
    TVDStyle &style = *FTable->GetRows().GetMainVDData()->GetVDStyle();
    const TVDTableMetrics q(*FTable, style, &sad);
    const int32_t b = FHeadingRowCount;
    int32_t left = y - (q.By + q.BV - q.VSp) - (Fmt.RowStarts.Get(b) - q.CBy) - q.OV;
    bool hasFootnotes = pageHasFootnotes;
    if (footnotesChangeHeight && b > 0) {
        // The heading rows' footnotes come to this page with the first part.
        ForEachCell(*this, b, [&](TCellPtblVDData &printed) {
            printed.DecHeightByFootnotesOfDrawItems(0, printed.DrawItems.Count() - 1, left,
                                                    hasFootnotes);
        });
    }
    const int32_t row = FHeadingRowCount;
    for (int32_t c = 0; c < FTable->GetColCount(); ++c) {
        TVDTableCellData *cell = FTable->GetCells(row, c);
        if (!cell) {
            continue;
        }
        if (PrintBestHeight(*this, *cell) > left) {
            return false;
        }
        // Only vertical text is spared here: a cell whose best height overrides its content
        // still has to begin its document on the page.
        int32_t height = left;
        TCellPtblVDData *printed = CellAt(row, c);
        if (printed && !cell->IsVerticalText() &&
            !printed->CanPlaceFirstPageHere(height, false, sad, hasFootnotes,
                                            footnotesChangeHeight)) {
            return false;
        }
        // Footnotes of the cell's beginning take their room from the cells after it too.
        hasFootnotes = hasFootnotes || height < left;
        left = height;
    }
    return true;
}

bool TVDTablePrintInfo::SplitAt(int32_t y, const TVDScreenAndDevice &, bool firstOnPage,
                                TVDFootnoteListPtr &footnoteVDDataList, int32_t &maxHeight,
                                bool footnotesChangeHeight, bool ignorePageBreaks) {
    TVDMultiDrawItemPartsList &parts = GetPartsList();
    if (parts.Count() == 0) {
        return false;
    }
    TVDTablePrintPart *previous = LastPart();
    // With vdtoContinue the first part begins with the heading rows as ordinary rows.
    const int32_t s =
        previous ? previous->LastRow() + (previous->FRowFinished ? 1 : 0) : HeadingRowsOf(true);
    if (s >= FTable->GetRowCount()) {
        FinishSplit();
        return false;
    }
    const TVDTableMetrics q(*FTable, *FTable->GetRows().GetMainVDData()->GetVDStyle(), &sad);
    // A part that begins inside the heading rows repeats only those above it.
    const int32_t b = std::min(HeadingRowsOf(previous == nullptr), s);
    auto part = std::make_unique<TVDTablePrintPart>(this);
    part->FFmtRef = &Fmt;
    part->FHeadingRows = b;
    part->FHeadingHeight = Fmt.RowStarts.Get(b) - Fmt.RowStarts.Get(0);
    part->FRowStarts.Add(Fmt.RowStarts.Get(b) - q.CBy);
    part->FRowIndices.Add(s);
    if (previous && previous->FTableBottomCutLine) {
        part->FTableTopCutLine = std::make_unique<TVDIntegerList>(
            TVDIntegerList::CreateCopy(*previous->FTableBottomCutLine));
    }
    TVDTablePrintPart &made = *part;
    parts.Put(parts.Count() - 1, std::move(part));
    if (b > 0 && !previous) {
        // The heading rows' footnotes come to the first part's page (with vdtoContinue they
        // come with its rows).
        int32_t height = 0;
        ForEachCell(*this, b, [&](TCellPtblVDData &printed) {
            printed.AddFootnotesOfDrawItems(0, printed.DrawItems.Count() - 1, footnoteVDDataList,
                                            height, footnotesChangeHeight);
        });
        maxHeight += height;
        y += height;
    }
    TVDTableSplitter splitter(*this, made, y - (q.By + q.BV - q.VSp), firstOnPage,
                              footnoteVDDataList, footnotesChangeHeight);
    const bool more = splitter.Run(ignorePageBreaks);
    maxHeight -= splitter.GetFootnoteReduction();
    if (!more) {
        FinishSplit();
        return false;
    }
    parts.Add(nullptr);
    return true;
}

void TVDTablePrintInfo::ResetCellPages(TVDFootnoteListPtr &footnotes, int32_t &released,
                                       bool footnotesChangeHeight) {
    const int32_t cols = FTable->GetColCount();
    for (size_t i = 0; i < Rows.size(); ++i) {
        if (Rows[i]) {
            const bool inHeader = cols > 0 && int32_t(i) / cols < FHeadingRowCount;
            Rows[i]->ResetPages(footnotes, released, footnotesChangeHeight, inHeader);
        }
    }
}

void TVDTablePrintInfo::ResetPages(TVDFootnoteListPtr &footnoteVDDataList,
                                   int32_t &releasedHeightAfterFootnotes,
                                   bool footnotesChangeHeight) {
    // Every cell's footnotes leave the list with its pages (a table printed whole included).
    ResetCellPages(footnoteVDDataList, releasedHeightAfterFootnotes, footnotesChangeHeight);
    TVDMultiDrawItemInfo::ResetPages(footnoteVDDataList, releasedHeightAfterFootnotes,
                                     footnotesChangeHeight);
}

// The last part is taken back: cells it continued lose the page it made, the others of its
// rows all their pages.
void TVDTablePrintInfo::UnformatLastPage(TVDFootnoteListPtr &footnoteVDDataList,
                                         int32_t &releasedHeightAfterFootnotes,
                                         bool footnotesChangeHeight) {
    TVDMultiDrawItemPartsList &parts = GetPartsList();
    int32_t index = parts.Count() - 1;
    while (index >= 0 && !parts[index]) {
        --index;
    }
    if (index < 0) {
        return;
    }
    auto &part = static_cast<TVDTablePrintPart &>(*parts[index]);
    ForEachPartCell(
        *this, part, [&](int32_t, int32_t mRow, int32_t mCol, TCellPtblVDData &printed) {
            const int32_t shown = part.ShownPage(mRow, mCol);
            if (shown > 1) {
                printed.UnformatLastPage(footnoteVDDataList, releasedHeightAfterFootnotes,
                                         footnotesChangeHeight);
            } else if (shown == 1) {
                printed.ResetPages(footnoteVDDataList, releasedHeightAfterFootnotes,
                                   footnotesChangeHeight, false);
            }
        });
    parts.Delete(index);
    if (parts.Count() == 0 || parts[parts.Count() - 1]) {
        parts.Add(nullptr);
    }
}

// ---- TVDTablePrintInfo: footnotes of a table printed whole ----

void TVDTablePrintInfo::AddAllFootnotes(TVDFootnoteListPtr &footnoteVDDataList, int32_t &height,
                                        bool footnotesChangeHeight) {
    ForEachCell(*this, FTable->GetRowCount(), [&](TCellPtblVDData &printed) {
        printed.AddFootnotesOfDrawItems(0, printed.DrawItems.Count() - 1, footnoteVDDataList,
                                        height, footnotesChangeHeight);
    });
}

void TVDTablePrintInfo::RemoveAllFootnotes(TVDFootnoteListPtr &footnoteVDDataList, int32_t &height,
                                           bool footnotesChangeHeight) {
    ForEachCell(*this, FTable->GetRowCount(), [&](TCellPtblVDData &printed) {
        printed.RemoveFootnotesOfDrawItems(0, printed.DrawItems.Count() - 1, footnoteVDDataList,
                                           height, footnotesChangeHeight);
    });
}

void TVDTablePrintInfo::DecHeightByFootnotes(int32_t &height, bool &thisPageHasFootnotes) {
    ForEachCell(*this, FTable->GetRowCount(), [&](TCellPtblVDData &printed) {
        if (height >= 0) {
            printed.DecHeightByFootnotesOfDrawItems(0, printed.DrawItems.Count() - 1, height,
                                                    thisPageHasFootnotes);
        }
    });
}

} // namespace vizivodu
