// Pagination: FormatNextPage with its break search (keeping lines and paragraphs together,
// widow and orphan control, floating boxes that go with their anchors, multi-page items,
// footnotes that take their room on the page of their reference), the test whether a
// document's beginning fits into a height, and the page of a position.
#include "vizivodu/layout/printing/PtVDData.h"

#include "vizivodu/styles/VDStyle.h"

#include <algorithm>
#include <climits>

namespace vizivodu {

// One call of FormatNextPage: the document, the caller's state and the search helpers.
//
// Progress: a page ends before a line start that comes after the page's first draw item, or at
// the end of the document; a page beginning with a multi-page item ends after one of its parts.
// When the rules (kept lines, kept paragraphs, widows and orphans) allow no break on the page,
// the page is broken before the first line that does not fit, and a line taller than the page
// stays whole on a page of its own. So every page holds at least one line and pagination ends.
//
// Footnotes: a footnote reference placed on the page adds its footnote to the page's list and
// (with footnotesChangeHeight) takes the footnote's height, and the separator's with the first
// one, off the page's height; the references that move to the next page with their lines take
// their footnotes along. When a page must keep a line that no longer fits (its first line), the
// footnotes of that line stay with it. Only the main document hands the list to the pages it
// finishes; in other documents (table cells) the list is the caller's, the page of the table.
class TVDPaginator {
public:
    TVDPaginator(TCustomMultiPagePtblVDData &doc, int32_t &i, int32_t &startAt, int32_t &startY,
                 int32_t &y, bool &splitting, int32_t &maxHeight, TVDFootnoteListPtr &footnotes,
                 bool footnotesChangeHeight)
        : FDoc(doc), FI(i), FStartAt(startAt), FStartY(startY), FY(y), FSplitting(splitting),
          FMaxHeight(maxHeight), FFootnotes(footnotes),
          FFootnotesChangeHeight(footnotesChangeHeight), FSaD(doc.GetPrintSaD()),
          FIgnorePageBreaks(doc.IgnorePageBreaks()), FCollect(!doc.IgnoreFootnotes()),
          FMain(dynamic_cast<TCustomMainPtblVDData *>(&doc) != nullptr) {}

    void Run();

private:
    enum TSearchForm : uint8_t { sfFull, sfSplittable, sfClosing };

    TVDDrawLineInfo &D(int32_t i) const { return *FDoc.DrawItems[i]; }
    int32_t Count() const { return FDoc.DrawItems.Count(); }
    TVDPageInfo &Page() const { return FDoc.Pages->Last(); }
    int32_t PageCount() const { return FDoc.Pages->Count(); }
    // The document Y where the current page ends.
    int32_t Limit() const { return FStartY + FMaxHeight - FStartAt; }
    bool IsLineStart(int32_t i) const { return i == 0 || D(i).FromNewLine; }
    int32_t LineStartOf(int32_t i) const;
    int32_t NextLineStart(int32_t i) const;
    int32_t LineTop(int32_t lineStart) const;
    TVDParaOptions ParaOptions(int32_t i);
    bool KeepTogether();
    bool Acceptable(int32_t lineStart, bool keep);
    int32_t SearchBack(int32_t from, int32_t keep);
    int32_t FullCandidate(int32_t from);
    int32_t FloatAbove(int32_t candidate, int32_t bottom);
    bool BreakSearch(TSearchForm form, bool pageWhenUnmoved);
    void MoveToNextPage(int32_t first, int32_t last);
    // The finished page pageNo takes the footnote list and places its footnotes (the main
    // document's pages only).
    void HandFootnotesTo(int32_t pageNo);
    void NewPageAt(int32_t first);
    int32_t FinishedHeight(const TVDPageInfo &page, int32_t nextFirst) const;
    bool ContinueSplit();
    bool PlaceMultiPageItem(int32_t j, TVDMultiDrawItemInfo &item, bool forced);
    void Close();

    TCustomMultiPagePtblVDData &FDoc;
    int32_t &FI;
    int32_t &FStartAt;
    int32_t &FStartY;
    int32_t &FY;
    bool &FSplitting;
    int32_t &FMaxHeight;
    TVDFootnoteListPtr &FFootnotes;
    bool FFootnotesChangeHeight;
    TVDScreenAndDevice FSaD;
    bool FIgnorePageBreaks;
    bool FCollect; // the document collects footnotes
    bool FMain;    // the main document: its pages take the footnote lists
};

int32_t TVDPaginator::LineStartOf(int32_t i) const {
    while (i > 0 && !D(i).FromNewLine) {
        --i;
    }
    return i;
}

int32_t TVDPaginator::NextLineStart(int32_t i) const {
    for (++i; i < Count(); ++i) {
        if (D(i).FromNewLine) {
            return i;
        }
    }
    return Count();
}

int32_t TVDPaginator::LineTop(int32_t lineStart) const {
    int32_t top = INT_MAX;
    for (int32_t k = lineStart; k < Count() && (k == lineStart || !D(k).FromNewLine); ++k) {
        top = std::min(top, D(k).Top - D(k).GetExtraSpaceAbove());
    }
    return top;
}

TVDParaOptions TVDPaginator::ParaOptions(int32_t i) {
    const int32_t paraNo = FDoc.GetVisibleItemPara(D(i).ItemNo);
    return FDoc.GetVDStyle()->GetParaStyles().GetItem(paraNo).GetOptions();
}

bool TVDPaginator::KeepTogether() {
    TCustomVDData *source = FDoc.GetSourceVDDataForPrinting();
    return source ? source->KeepTogether() : FDoc.KeepTogether();
}

// A line start may begin the next page: always a paragraph start; another line start unless
// the lines are kept together or the break would leave a widow or an orphan.
bool TVDPaginator::Acceptable(int32_t lineStart, bool keep) {
    if (FDoc.IsDrawItemParaStart(lineStart)) {
        return true;
    }
    const TVDParaOptions options = ParaOptions(lineStart);
    if (keep || options.Contains(vdpaoKeepLinesTogether) || options.Contains(vdpaoKeepWithNext)) {
        return false;
    }
    return !options.Contains(vdpaoWidowOrphanControl) ||
           (!FDoc.IsDrawItemStartsTheSecondParaLine(lineStart) &&
            !FDoc.IsDrawItemStartsTheLastParaLine(lineStart));
}

// The nearest acceptable line start at or before from, not before the page's first draw item;
// -1 when there is none.
int32_t TVDPaginator::SearchBack(int32_t from, int32_t keep) {
    const int32_t pageFirst = Page().StartDrawItemNo;
    for (int32_t k = std::min(from, Count() - 1); k >= pageFirst; --k) {
        if (IsLineStart(k) && Acceptable(k, keep != 0)) {
            return k;
        }
    }
    return -1;
}

// The candidate of the full search for a draw item that does not fit: the rules of kept lines
// and paragraphs, then the keep-with-next chain of paragraphs.
int32_t TVDPaginator::FullCandidate(int32_t from) {
    const bool keep = KeepTogether();
    const int32_t pageFirst = Page().StartDrawItemNo;
    // A floating box on the last line placed that reaches below the page goes to the next page
    // with its anchor's line.
    if (from - 1 >= pageFirst) {
        const int32_t last = LineStartOf(from - 1);
        if (last > pageFirst) {
            for (int32_t k = last; k < from; ++k) {
                const auto *f = dynamic_cast<const TVDFloatingDrawLineInfo *>(&D(k));
                if (f && f->FloatBottom() > Limit()) {
                    from = last;
                    break;
                }
            }
        }
    }
    int32_t c = SearchBack(from, keep);
    if (c < 0) {
        c = LineStartOf(from);
    }
    int32_t remembered = -1;
    for (;;) {
        if (FStartAt < 1 && c <= pageFirst) {
            c = remembered >= 0 ? remembered : LineStartOf(from);
            break;
        }
        const bool chained = c != 0 && (c > pageFirst || FStartAt >= 1) &&
                             FDoc.IsDrawItemParaStart(c) &&
                             (keep || ParaOptions(c - 1).Contains(vdpaoKeepWithNext));
        if (!chained) {
            break;
        }
        if (!FIgnorePageBreaks && FDoc.GetItem(D(c).ItemNo)->GetPageBreakBefore()) {
            break;
        }
        if (remembered < 0) {
            remembered = c;
        }
        const int32_t before = SearchBack(c - 1, keep);
        c = before < 0 ? pageFirst : before;
    }
    return c;
}

// The first floating draw item from the page's second line up to just before the candidate's
// line whose box still reaches down to bottom; -1 when none.
int32_t TVDPaginator::FloatAbove(int32_t candidate, int32_t bottom) {
    const int32_t second = NextLineStart(Page().StartDrawItemNo);
    const int32_t lineStart = candidate >= Count() ? Count() : LineStartOf(candidate);
    if (second >= lineStart) {
        return -1;
    }
    return FDoc.DrawItems.FindFirstFloatingAboveDrawItem(lineStart, second, bottom, true);
}

// Chooses the first draw item of the next page (i is the one that did not fit, or the
// splittable item, or the draw-item count at the end) and begins that page; true when the
// break moved from i. pageWhenUnmoved: the full search begins the page at i itself too.
bool TVDPaginator::BreakSearch(TSearchForm form, bool pageWhenUnmoved) {
    const int32_t start = FI;
    const int32_t pageFirst = Page().StartDrawItemNo;
    bool full = form == sfFull;
    int32_t c = full ? FullCandidate(start) : (form == sfSplittable ? start : Count());
    for (;;) {
        const int32_t bottom = full ? LineTop(LineStartOf(std::min(c, Count() - 1))) : Limit() + 1;
        const int32_t f = FloatAbove(c, bottom);
        if (f < 0 || f >= c) {
            break;
        }
        c = FullCandidate(f);
        full = true;
    }
    if (full && (FStartAt < 1 || !FDoc.CanMoveToNextPage()) && c <= pageFirst) {
        c = NextLineStart(pageFirst);
    }
    const bool moved = c != start;
    if (c <= start && (moved || pageWhenUnmoved)) {
        MoveToNextPage(c, std::min(start, Count() - 1));
    } else if (c > start && FCollect && start < Count()) {
        // The page keeps lines past the item that did not fit: their footnotes stay with them.
        FDoc.AddFootnotesOfDrawItems(start, std::min(c, Count()) - 1, FFootnotes, FMaxHeight,
                                     FFootnotesChangeHeight);
    }
    if (c < Count() && (moved || (full && pageWhenUnmoved))) {
        NewPageAt(c);
    }
    FI = c;
    return moved;
}

// Draw items first .. last go to the next page: split items forget their parts, footnotes of
// references among them leave the page's list, and the page ends at the top of the first one.
void TVDPaginator::MoveToNextPage(int32_t first, int32_t last) {
    const bool hadFootnotes = FFootnotes != nullptr;
    const size_t footnoteCount = hadFootnotes ? FFootnotes->size() : 0;
    int32_t released = 0;
    for (int32_t k = first; k <= last; ++k) {
        if (auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(&D(k))) {
            multi->ResetPages(FFootnotes, released, false);
        } else if (FCollect) {
            FDoc.RemoveFootnotesOfDrawItems(k, k, FFootnotes, released, false);
        }
    }
    const bool footnotesLeft = hadFootnotes && (!FFootnotes || FFootnotes->size() != footnoteCount);
    if (footnotesLeft && FFootnotesChangeHeight && first < Count()) {
        FMaxHeight = std::min(FMaxHeight, LineTop(LineStartOf(first)) - FStartY + FStartAt);
    }
}

void TVDPaginator::HandFootnotesTo(int32_t pageNo) {
    if (!FMain || !FCollect) {
        return;
    }
    TVDPageInfo &page = FDoc.Pages->Items(pageNo - 1);
    page.FootnoteVDDataList = std::move(FFootnotes);
    FDoc.DoCalcFootnotesCoords(page.FootnoteVDDataList.get(), pageNo);
}

void TVDPaginator::NewPageAt(int32_t first) {
    TVDPageInfo &finished = Page();
    TVDPageInfo &page = FDoc.Pages->Add();
    page.StartDrawItemNo = first;
    page.StartY =
        LineTop(first) - (FDoc.IsDrawItemParaStart(first) ? FDoc.ParaSpaceBefore(first) : 0);
    finished.DocumentHeight = FinishedHeight(finished, first);
    FStartY = page.StartY;
    HandFootnotesTo(PageCount() - 1);
    FStartAt = FDoc.GetNextStartAt();
    FDoc.DoFormatting(PageCount(), vdpsProceeding);
}

// The content height of a page that ends before nextFirst: down to the bottom of its last line
// (floating boxes on it included) and that paragraph's space after.
int32_t TVDPaginator::FinishedHeight(const TVDPageInfo &page, int32_t nextFirst) const {
    const int32_t last = nextFirst - 1;
    if (last < 0) {
        return 0;
    }
    int32_t bottom = INT_MIN;
    for (int32_t k = LineStartOf(last); k <= last; ++k) {
        bottom = std::max(bottom, D(k).Top + D(k).Height + D(k).GetExtraSpaceBelow());
        if (const auto *f = dynamic_cast<const TVDFloatingDrawLineInfo *>(&D(k))) {
            bottom = std::max(bottom, f->FloatBottom());
        }
    }
    bottom += FDoc.ParaSpaceAfter(last);
    return bottom - (page.StartPart > 0 ? page.StartY2 : page.StartY);
}

// Continues the multi-page item i on the current page; true when it needs another page (which
// is begun).
bool TVDPaginator::ContinueSplit() {
    auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(&D(FI));
    if (!multi) {
        FSplitting = false;
        return false;
    }
    const TVDDrawLineInfo &d = D(FI);
    const int32_t before = FDoc.ParaSpaceBefore(FI);
    const int32_t after = FDoc.ParaSpaceAfter(FI);
    FY += FMaxHeight;
    const bool firstOnPage = Page().StartDrawItemNo == FI;
    if (multi->SplitAt(FY, FSaD, firstOnPage, FFootnotes, FMaxHeight, FFootnotesChangeHeight,
                       FIgnorePageBreaks)) {
        TVDMultiDrawItemPartsList &parts = multi->GetPartsList();
        const int32_t n = parts.Count();
        TVDMultiDrawItemPart *done = n >= 2 ? parts[n - 2] : nullptr;
        const int32_t doneHeight = done ? done->Height : 0;
        TVDPageInfo &finished = Page();
        TVDPageInfo &page = FDoc.Pages->Add();
        page.StartDrawItemNo = FI;
        page.StartPart = n;
        page.StartY = d.Top - before;
        if (finished.StartDrawItemNo == FI) {
            finished.StartY2 = d.Top + d.Height - doneHeight - before;
            finished.DocumentHeight = before + doneHeight + after;
        } else {
            finished.DocumentHeight = d.Top + doneHeight + after - finished.StartY;
        }
        HandFootnotesTo(PageCount() - 1);
        FDoc.DoFormatting(PageCount(), vdpsProceeding);
        FStartAt = FDoc.GetNextStartAt();
        FStartY = 0;
        FY = page.StartY - FStartAt - d.Top - after;
        return true;
    }
    if (Page().StartDrawItemNo == FI) {
        TVDMultiDrawItemPartsList &parts = multi->GetPartsList();
        TVDMultiDrawItemPart *last = parts.Count() > 0 ? parts[parts.Count() - 1] : nullptr;
        FStartY = Page().StartY2 = d.Top + d.Height - (last ? last->Height : d.Height) - before;
    }
    ++FI;
    FSplitting = false;
    return false;
}

// A multi-page item met at j; true when FormatNextPage is done.
bool TVDPaginator::PlaceMultiPageItem(int32_t j, TVDMultiDrawItemInfo &item, bool forced) {
    const TVDDrawLineInfo &d = D(j);
    const bool firstOnPage = Page().StartDrawItemNo == j;
    const int32_t before = FDoc.ParaSpaceBefore(j);
    const int32_t after = FDoc.ParaSpaceAfter(j);
    if (firstOnPage) {
        Page().StartPart = 1;
        Page().StartY = d.Top - before;
    }
    FY = FStartY + FMaxHeight - FStartAt - d.Top - after;
    FI = j;
    if (!forced && (firstOnPage || item.CanSplitFirst(FY, FSaD, firstOnPage, FFootnotes != nullptr,
                                                      FFootnotesChangeHeight, FIgnorePageBreaks))) {
        if (!BreakSearch(sfSplittable, false)) {
            FSplitting = true;
            FY -= FMaxHeight;
            FDoc.FormatNextPage(FI, FStartAt, FStartY, FY, FSplitting, FMaxHeight, FFootnotes,
                                FFootnotesChangeHeight);
        }
        return true;
    }
    if (!forced && BreakSearch(sfFull, false)) {
        return true;
    }
    // The item begins the next page and is split from there.
    TVDPageInfo &finished = Page();
    TVDPageInfo &page = FDoc.Pages->Add();
    page.StartDrawItemNo = j;
    page.StartPart = 1;
    page.StartY = d.Top - before;
    finished.DocumentHeight = FinishedHeight(finished, j);
    FDoc.DoFormatting(PageCount(), vdpsProceeding);
    FStartY = 0;
    FStartAt = FDoc.GetNextStartAt();
    FY = page.StartY - FStartAt - d.Top - after;
    FSplitting = true;
    HandFootnotesTo(PageCount() - 1);
    FI = j;
    return true;
}

void TVDPaginator::Close() {
    FI = Count();
    if (BreakSearch(sfClosing, false)) {
        return;
    }
    HandFootnotesTo(PageCount());
    TVDPageInfo &last = Page();
    last.DocumentHeight = FinishedHeight(last, Count());
    FDoc.SetEndAt(last.DocumentHeight);
    FDoc.AdjustEndAt(PageCount());
    FDoc.DoFormatting(PageCount(), vdpsProceeding);
}

void TVDPaginator::Run() {
    if (FDoc.ItemCount() == 0 || Count() == 0) {
        FI = Count();
        return;
    }
    if (!FDoc.Pages) {
        FDoc.Pages = std::make_unique<TVDPageCollection>();
    }
    if (PageCount() == 0) {
        FDoc.Pages->Add();
        FStartY = 0;
        FI = 0;
        FStartAt = FDoc.GetStartAt();
        FSplitting = false;
    }
    if (FSplitting && ContinueSplit()) {
        return;
    }
    for (int32_t j = FI; j < Count(); ++j) {
        TVDDrawLineInfo &d = D(j);
        const bool forced = j > 0 && D(j - 1).ItemNo != d.ItemNo && !FIgnorePageBreaks &&
                            FDoc.GetItem(d.ItemNo)->GetPageBreakBefore() &&
                            Page().StartDrawItemNo != j;
        auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(&d);
        if (multi && multi->InitSplit(FSaD, FIgnorePageBreaks)) {
            if (PlaceMultiPageItem(j, *multi, forced)) {
                return;
            }
            continue;
        }
        FY = d.Top + d.Height + d.GetExtraSpaceBelow() + (forced ? 0 : FDoc.ParaSpaceAfter(j));
        bool full = FY > Limit() || forced;
        if (!full && FCollect) {
            FDoc.AddFootnotesOfDrawItems(j, j, FFootnotes, FMaxHeight, FFootnotesChangeHeight);
            full = FY > Limit();
        }
        if (full) {
            FI = j;
            BreakSearch(sfFull, true);
            if (FI < Count()) {
                return;
            }
            break;
        }
    }
    Close();
}

void TCustomMultiPagePtblVDData::FormatNextPage(int32_t &i, int32_t &startAt, int32_t &startY,
                                                int32_t &y, bool &splitting, int32_t &maxHeight,
                                                TVDFootnoteListPtr &footnoteVDDataList,
                                                bool footnotesChangeHeight) {
    TVDPaginator(*this, i, startAt, startY, y, splitting, maxHeight, footnoteVDDataList,
                 footnotesChangeHeight)
        .Run();
}

// ---- Whether the beginning fits ----

bool TCustomMultiPagePtblVDData::CanPlaceFirstPageHere(int32_t &height,
                                                       bool parentIsFirstItemOnPage,
                                                       const TVDScreenAndDevice &sad,
                                                       bool thisPageHasFootnotes,
                                                       bool footnotesChangeHeight) {
    const int32_t count = DrawItems.Count();
    if (count == 0) {
        return true;
    }
    if (parentIsFirstItemOnPage) {
        for (int32_t k = 1; k < count; ++k) {
            if (DrawItems[k]->FromNewLine) {
                return true;
            }
        }
        return false;
    }
    const bool reversed = IsLineOrderReversed();
    TCustomVDData *source = GetSourceVDDataForPrinting();
    const bool keep = (source ? source->KeepTogether() : KeepTogether()) || reversed;
    const bool countFootnotes = footnotesChangeHeight && !IgnoreFootnotes();
    bool hasFootnotes = thisPageHasFootnotes;
    int32_t linesPassed = 0;
    for (int32_t k = 0; k < count; ++k) {
        TVDDrawLineInfo &d = *DrawItems[k];
        if (k > 0 && d.FromNewLine) {
            if (BreakAllowedBefore(k, keep, linesPassed)) {
                return true;
            }
            ++linesPassed;
        }
        auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(&d);
        if (!reversed && multi && multi->InitSplit(sad, IgnorePageBreaks())) {
            const int32_t room = height - d.Top - d.GetExtraSpaceBelow() - ParaSpaceAfter(k);
            const bool fits = multi->CanSplitFirst(room, sad, false, hasFootnotes, countFootnotes,
                                                   IgnorePageBreaks());
            TVDFootnoteListPtr none;
            int32_t released = 0;
            multi->ResetPages(none, released, false);
            if (fits) {
                return true;
            }
        }
        const int32_t bottom = d.Top + d.Height + d.GetExtraSpaceBelow() + ParaSpaceAfter(k);
        if (bottom > height) {
            return false;
        }
        if (countFootnotes) {
            DecHeightByFootnotesOfDrawItems(k, k, height, hasFootnotes);
            if (bottom > height) {
                return false;
            }
        }
        if (const auto *f = dynamic_cast<const TVDFloatingDrawLineInfo *>(&d);
            f && f->FloatBottom() > height) {
            return false;
        }
    }
    return true;
}

// Whether the line starting at draw item k may begin the next page, for the beginning that must
// fit: at a paragraph start unless the previous paragraph keeps with it, or a page break is
// required; inside a paragraph when its lines are not kept together (and, with widow and orphan
// control, once two lines are placed).
bool TCustomMultiPagePtblVDData::BreakAllowedBefore(int32_t k, bool keep, int32_t linesPassed) {
    TParaInfos &paras = GetVDStyle()->GetParaStyles();
    const TVDParaOptions options =
        paras.GetItem(GetVisibleItemPara(DrawItems[k]->ItemNo)).GetOptions();
    if (IsDrawItemParaStart(k)) {
        const TVDParaOptions prev =
            paras.GetItem(GetVisibleItemPara(DrawItems[k - 1]->ItemNo)).GetOptions();
        return (!keep && !prev.Contains(vdpaoKeepWithNext)) ||
               (!IgnorePageBreaks() && GetItem(DrawItems[k]->ItemNo)->GetPageBreakBefore());
    }
    return !keep && !options.Contains(vdpaoKeepLinesTogether) &&
           !options.Contains(vdpaoKeepWithNext) &&
           (!options.Contains(vdpaoWidowOrphanControl) || linesPassed > 0);
}

// ---- Pages of positions ----

bool TCustomMultiPagePtblVDData::GetPageNo(TCustomVDData *vdData, int32_t itemNo,
                                           int32_t offsetInItem, TCustomVDData *printSourceVDData,
                                           int32_t &pageNo, int32_t &localPageNo,
                                           int32_t &localPageCount,
                                           TCustomPrintableVDData *&ptVDData) {
    const bool own = vdData == this || vdData == printSourceVDData ||
                     (printSourceVDData && vdData == printSourceVDData->GetSourceVDData());
    if (own) {
        localPageCount = 1;
        ptVDData = this;
        if (GetPagesCount() == 0) {
            pageNo = localPageNo = 1;
            return true;
        }
        for (int32_t p = Pages->Count(); p >= 1; --p) {
            const int32_t first = Pages->Items(p - 1).StartDrawItemNo;
            if (first >= DrawItems.Count()) {
                continue;
            }
            const TVDDrawLineInfo &d = *DrawItems[first];
            if (d.ItemNo < itemNo ||
                (d.ItemNo == itemNo && offsetInItem >= GetOffsBeforeDrawItem(first))) {
                pageNo = localPageNo = p;
                return true;
            }
        }
        return false;
    }
    for (int32_t k = 0; k < DrawItems.Count(); ++k) {
        auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(DrawItems[k]);
        int32_t partNo = -1;
        if (!multi || !multi->GetPartNo(vdData, itemNo, offsetInItem, partNo, localPageNo,
                                        localPageCount, ptVDData)) {
            continue;
        }
        partNo = std::max(partNo, 0);
        pageNo = std::max(GetPagesCount(), 1);
        for (int32_t p = 1; p <= GetPagesCount(); ++p) {
            const TVDPageInfo &page = Pages->Items(p - 1);
            if (page.StartDrawItemNo == k) {
                pageNo = multi->GetPartsList().Count() > 0 ? p + partNo - page.StartPart + 1 : p;
                break;
            }
            if (page.StartDrawItemNo > k) {
                pageNo = std::max(p - 1, 1);
                break;
            }
        }
        return true;
    }
    return false;
}

void TCustomMultiPagePtblVDData::GetFirstItemOnPageEx(int32_t pageNo, int32_t &itemNo,
                                                      int32_t &offsetInItem, int32_t &extraData) {
    itemNo = offsetInItem = extraData = -1;
    if (pageNo < 1 || pageNo > GetPagesCount()) {
        return;
    }
    const TVDPageInfo &page = Pages->Items(pageNo - 1);
    if (page.StartDrawItemNo >= DrawItems.Count()) {
        return;
    }
    DrawItem2Item(page.StartDrawItemNo, GetOffsBeforeDrawItem(page.StartDrawItemNo), itemNo,
                  offsetInItem);
    if (page.StartPart > 0) {
        auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(DrawItems[page.StartDrawItemNo]);
        TVDMultiDrawItemPartsList *parts = multi ? &multi->GetPartsList() : nullptr;
        if (parts && page.StartPart <= parts->Count() && (*parts)[page.StartPart - 1]) {
            extraData = (*parts)[page.StartPart - 1]->GetSoftPageBreakInfo();
        }
    }
}

namespace {

TVDMultiDrawItemPart *StartingPart(TCustomMultiPagePtblVDData &doc, int32_t pageNo,
                                   TVDDrawLineInfo *&drawItem) {
    drawItem = nullptr;
    if (pageNo < 1 || pageNo > doc.GetPagesCount()) {
        return nullptr;
    }
    const TVDPageInfo &page = doc.Pages->Items(pageNo - 1);
    if (page.StartPart <= 0 || page.StartDrawItemNo >= doc.DrawItems.Count()) {
        return nullptr;
    }
    drawItem = doc.DrawItems[page.StartDrawItemNo];
    auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(drawItem);
    if (!multi || page.StartPart > multi->GetPartsList().Count()) {
        return nullptr;
    }
    return multi->GetPartsList()[page.StartPart - 1];
}

} // namespace

bool TCustomMultiPagePtblVDData::IsComplexSoftPageBreak(int32_t pageNo) {
    TVDDrawLineInfo *drawItem = nullptr;
    TVDMultiDrawItemPart *part = StartingPart(*this, pageNo, drawItem);
    return part && part->IsComplexSoftPageBreak(drawItem);
}

void TCustomMultiPagePtblVDData::AssignComplexSoftPageBreakToItem(int32_t pageNo,
                                                                  TCustomVDFormattedData *vdData) {
    TVDDrawLineInfo *drawItem = nullptr;
    TVDMultiDrawItemPart *part = StartingPart(*this, pageNo, drawItem);
    if (part && vdData && drawItem->ItemNo < vdData->ItemCount()) {
        part->AssignSoftPageBreaksToItem(drawItem, vdData->GetItem(drawItem->ItemNo));
    }
}

} // namespace vizivodu
