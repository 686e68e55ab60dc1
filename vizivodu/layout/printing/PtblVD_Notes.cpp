// Notes of the printing component: the footnote documents made before pagination and placed at
// the bottom of their pages, the endnotes laid out after the text on the last page of text and
// on sheets of their own, and the lists that hold them.
#include "vizivodu/layout/printing/PtblVD.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

#include <algorithm>
#include <functional>

namespace vizivodu {

namespace {

TVDFootnoteItemInfo *NextFootnote(TCustomVDData *source, const TVDFootnoteItemInfo *footnote) {
    return static_cast<TVDFootnoteItemInfo *>(
        FindNextNote(source, footnote, &TVDFootnoteItemInfo::ClassInfo, false));
}

TVDEndnoteItemInfo *NextEndnote(TCustomVDData *source, const TVDEndnoteItemInfo *endnote) {
    return static_cast<TVDEndnoteItemInfo *>(
        FindNextNote(source, endnote, &TVDEndnoteItemInfo::ClassInfo, false));
}

int32_t CompareFootnotes(const TVDFootnoteItemInfo *a, const TVDFootnoteItemInfo *b) {
    if (a == b) {
        return 0;
    }
    return std::less<const TVDFootnoteItemInfo *>()(a, b) ? -1 : 1;
}

} // namespace

// ---- TVDFootnoteList ----

void TVDFootnoteList::SortByFootnotes() {
    Sort([](const TVDFootnotePtblVDData *a, const TVDFootnotePtblVDData *b) {
        return CompareFootnotes(a->Footnote, b->Footnote);
    });
}

TVDFootnotePtblVDData *TVDFootnoteList::FindByFootnote(const TVDFootnoteItemInfo *footnote) const {
    const rtl::Integer index =
        Find(footnote, [](const TVDFootnotePtblVDData *entry, const TVDFootnoteItemInfo *key) {
            return CompareFootnotes(entry->Footnote, key);
        });
    return index < 0 ? nullptr : Get(index);
}

// ---- Footnotes ----

TVDFootnotePtblVDData *
TCustomPrintableVD::GetFootnoteVDData(const TVDFootnoteItemInfo *footnote) const {
    return FFootnotes ? FFootnotes->FindByFootnote(footnote) : nullptr;
}

// The pages hold the footnote documents too: their lists go with them.
void TCustomPrintableVD::FreeNotesLists() {
    TCustomMainPtblVDData &data = GetPrintData();
    for (int32_t p = 1; p <= data.GetPagesCount(); ++p) {
        data.Pages->Items(p - 1).FootnoteVDDataList.reset();
    }
    FEndnotes.reset();
    FFootnotes.reset();
}

// Every footnote of the source gets a document formatted at the text width. The text width is
// that of the main text (the control's margins taken off), so that no footnote runs past the
// right edge of the text.
void TCustomPrintableVD::PrepareFootnotes() {
    MeasureNoteSeparator();
    TCustomMainPtblVDData &data = GetPrintData();
    TCustomVDData *source = data.GetSourceVDDataForPrinting();
    if (!source || !NextFootnote(source, nullptr)) {
        return;
    }
    FFootnotes = std::make_unique<TVDFootnoteList>(FVDPrint);
    const rtl::TRect &m = data.TmpMNormal;
    const int32_t width = std::max(0, data.GetPageWidth() - m.Left - m.Right -
                                          ScreenToDeviceX(LeftMargin, data.PrnSad) -
                                          ScreenToDeviceX(RightMargin, data.PrnSad));
    for (TVDFootnoteItemInfo *footnote = NextFootnote(source, nullptr); footnote;
         footnote = NextFootnote(source, footnote)) {
        auto document =
            std::make_unique<TVDFootnotePtblVDData>(this, &footnote->GetDocument(), &data);
        document->Footnote = footnote;
        document->ParentDrawsBack = true;
        document->Transparent = true;
        document->FColor = gfx::clNone;
        document->Left = m.Left;
        document->Width = width;
        document->Top = 0;
        document->Height = 1;
        document->Format(true, false);
        FFootnotes->Add(std::move(document));
    }
    FFootnotes->SortByFootnotes();
}

void TCustomPrintableVD::CalcFootnotesCoords(TVDFootnoteRefList *references, int32_t pageNo) {
    if (!references) {
        return;
    }
    references->Sort();
    TCustomMainPtblVDData &data = GetPrintData();
    int32_t y = data.GetPageHeight() - data.GetTmpMForPage(pageNo).Bottom;
    const int32_t left =
        data.GetPrintableAreaLeft(pageNo) + ScreenToDeviceX(LeftMargin, data.PrnSad);
    for (int32_t k = static_cast<int32_t>(references->size()) - 1; k >= 0; --k) {
        TVDFootnotePtblVDData &footnote = *(*references)[static_cast<size_t>(k)];
        y -= footnote.DocumentHeight;
        footnote.Top = y;
        footnote.Left = left;
        footnote.IndexOnPage = k + 1;
    }
}

void TCustomPrintableVD::MoveFootnotesBelowText() {
    TCustomMainPtblVDData &data = GetPrintData();
    for (int32_t p = 1; p <= data.GetPagesCount(); ++p) {
        const TVDPageInfo &page = data.Pages->Items(p - 1);
        TVDFootnoteRefList *list = page.FootnoteVDDataList.get();
        if (!list || list->empty()) {
            continue;
        }
        const int32_t textEnd = data.GetTmpMForPage(p).Top + data.TmpTMPix +
                                (p == 1 ? data.GetStartAt() : 0) + page.DocumentHeight +
                                FNoteSeparatorHeight;
        const int32_t shift = textEnd - list->front()->Top;
        if (shift > 0) {
            for (TVDFootnotePtblVDData *footnote : *list) {
                footnote->Top += shift;
            }
        }
    }
}

// ---- Endnotes ----

int32_t TCustomPrintableVD::EndnoteLimit(int32_t pageNo, int32_t &available) {
    TCustomMainPtblVDData &data = GetPrintData();
    const rtl::TRect &m = data.GetTmpMForPage(pageNo);
    const int32_t margins = data.TmpTMPix + data.TmpBMPix;
    available = data.GetPageHeight() - (margins + m.Top + m.Bottom);
    if (pageNo <= data.GetPagesCount()) {
        const TVDFootnoteRefList *list = data.Pages->Items(pageNo - 1).FootnoteVDDataList.get();
        if (list && !list->empty()) {
            return list->front()->Top - FNoteSeparatorHeight - m.Top - margins;
        }
    }
    return available;
}

// Each endnote follows the one before (the first the text, below a separator); one whose
// beginning does not fit starts on a sheet of its own, and one that runs on takes further
// sheets. Pages records for each sheet the endnote it continues or begins.
int32_t TCustomPrintableVD::FormatEndnotes() {
    TCustomMainPtblVDData &data = GetPrintData();
    const int32_t last = data.GetPagesCount();
    if (last == 0 || !FVDPrint) {
        return 0;
    }
    int32_t available = 0;
    int32_t limit = EndnoteLimit(last, available);
    TCustomVDData *source = data.GetSourceVDDataForPrinting();
    if (FVDPrint->IgnoreEndnotes() || !source || !NextEndnote(source, nullptr)) {
        if (data.Pages->Items(last - 1).FootnoteVDDataList) {
            FVDPrint->EndAt = available;
        }
        return 0;
    }
    GetStyle()->ApplyStyle(*data.PrinterCanvas, 0, vdbdUnspecified, {}, nullptr);
    const int32_t separator = FNoteSeparatorHeight;
    int32_t y = FVDPrint->EndAt + separator;
    int32_t sheet = last;
    FEndnotes = std::make_unique<TVDEndnoteList>(FVDPrint);
    const TVDScreenAndDevice sad = data.PrnSad;
    for (TVDEndnoteItemInfo *endnote = NextEndnote(source, nullptr); endnote;
         endnote = NextEndnote(source, endnote)) {
        const int32_t index = FEndnotes->GetCount();
        auto document = std::make_unique<TVDEndnotePtblVDData>(this, endnote);
        document->Format_(false, true, false, 0, data.PrinterCanvas, false, true, false, false,
                          false);
        int32_t room = limit - y;
        const bool newSheet = !document->CanPlaceFirstPageHere(room, false, sad, false, false);
        if (newSheet) {
            limit = EndnoteLimit(++sheet, available);
            y = separator;
            document->FromNewPage = true;
        }
        // The last page of text: no endnote when the first begins on a sheet of its own.
        if (index == 0) {
            FEndnotes->Pages.Add(std::make_unique<TVDEndnotePage>(newSheet ? TVDEndnotePage{-1, -1}
                                                                           : TVDEndnotePage{0, 1}));
        }
        if (newSheet) {
            FEndnotes->Pages.Add(std::make_unique<TVDEndnotePage>(TVDEndnotePage{index, 1}));
        }
        document->StartAt = y;
        document->NextStartAt = separator;
        document->EndAt = y;
        PaginateEndnote(*document, index, sheet, limit);
        y = document->EndAt;
        FEndnotes->Add(std::move(document));
    }
    FVDPrint->EndAt = y;
    return EndnoteSheets();
}

int32_t TCustomPrintableVD::EndnoteSheets() const {
    return FEndnotes ? std::max(0, FEndnotes->Pages.GetCount() - 1) : 0;
}

// Every page of the endnote after its first takes a sheet of its own.
void TCustomPrintableVD::PaginateEndnote(TVDEndnotePtblVDData &document, int32_t index,
                                         int32_t &sheet, int32_t &limit) {
    int32_t available = 0;
    int32_t i = 0, startAt = 0, startY = 0, y = 0;
    bool splitting = false;
    while (i < document.DrawItems.Count()) {
        if (document.GetPagesCount() > 0) {
            limit = EndnoteLimit(++sheet, available);
            FEndnotes->Pages.Add(
                std::make_unique<TVDEndnotePage>(TVDEndnotePage{index, document.GetPagesCount()}));
        }
        TVDFootnoteListPtr none;
        int32_t maxHeight = limit;
        document.FormatNextPage(i, startAt, startY, y, splitting, maxHeight, none, false);
    }
}

// ---- TVDEndnoteList ----

TVDEndnoteList::~TVDEndnoteList() {
    Pages.Clear();
    Clear();
}

void TVDEndnoteList::PostFormat() {
    int32_t g = FOwner->GetPagesCount() - Pages.GetCount() + 1;
    for (rtl::Integer k = 0; k < GetCount(); ++k) {
        TVDEndnotePtblVDData &endnote = *Get(k);
        const int32_t newSheet = endnote.FromNewPage ? 1 : 0;
        endnote.PostFormat(g + newSheet);
        g += newSheet + endnote.GetPageCountAtLeastOne() - 1;
    }
}

void TVDEndnoteList::DrawPage(int32_t globalPageNo, int32_t, int32_t, int32_t pageNo,
                              gfx::TCanvas &canvas, bool preview, bool correction) {
    if (pageNo < 0 || pageNo >= Pages.GetCount()) {
        return;
    }
    const TVDEndnotePage &page = *Pages.Get(pageNo);
    if (page.Index < 0 || page.Index >= GetCount()) {
        return;
    }
    TCustomPrintableVD &control = FOwner->GetVD();
    TVDEndnotePtblVDData &endnote = *Get(page.Index);
    const bool ownSheet = page.Page > 1 || endnote.FromNewPage;
    if (pageNo == 0 || ownSheet) {
        control.DrawNoteSeparatorAbove(globalPageNo, endnote.TextTop(page.Page, globalPageNo),
                                       canvas, ownSheet);
    }
    endnote.DrawPage(page.Page, globalPageNo, canvas, preview, correction);
    if (page.Page < endnote.GetPageCountAtLeastOne()) {
        return;
    }
    for (rtl::Integer k = page.Index + 1; k < GetCount(); ++k) {
        TVDEndnotePtblVDData &next = *Get(k);
        if (next.FromNewPage) {
            break;
        }
        next.DrawPage(1, globalPageNo, canvas, preview, correction);
        if (next.GetPageCountAtLeastOne() > 1) {
            break;
        }
    }
}

} // namespace vizivodu
