// Notes on pages: the footnote lists of pages, footnotes joining and leaving them during
// pagination, the footnotes drawn at the bottom of a page, and the endnote documents.
#include "vizivodu/layout/printing/PtVDData_p.h"

#include "vizivodu/document/VDNotes.h"
#include "vizivodu/layout/printing/PtblVD.h"

#include <algorithm>

namespace vizivodu {

namespace {

TVDFootnoteItemInfo *FootnoteOf(TCustomVDData &doc, const TVDDrawLineInfo &d) {
    return dynamic_cast<TVDFootnoteItemInfo *>(doc.GetItem(d.ItemNo));
}

} // namespace

// ---- TVDFootnoteRefList ----

void TVDFootnoteRefList::Sort() {
    std::stable_sort(begin(), end(),
                     [](const TVDFootnotePtblVDData *a, const TVDFootnotePtblVDData *b) {
                         return a->Footnote->Counter < b->Footnote->Counter;
                     });
}

int32_t TVDFootnoteRefList::GetFootnoteIndex(const TVDFootnoteItemInfo *footnote) const {
    for (int32_t i = static_cast<int32_t>(size()) - 1; i >= 0; --i) {
        if ((*this)[static_cast<size_t>(i)]->Footnote == footnote) {
            return i;
        }
    }
    return -1;
}

void TVDFootnoteRefList::DeleteByFootnote(const TVDFootnoteItemInfo *footnote) {
    const int32_t index = GetFootnoteIndex(footnote);
    if (index >= 0) {
        erase(begin() + index);
    }
}

// ---- Footnotes in pagination ----

void TCustomPrintableVDData::DoCalcFootnotesCoords(TVDFootnoteRefList *references, int32_t pageNo) {
    auto *control = dynamic_cast<TCustomPrintableVD *>(ViziVodu());
    if (control && &control->GetVDData() == this) {
        control->CalcFootnotesCoords(references, pageNo);
    }
}

int32_t TCustomMultiPagePtblVDData::GetNoteSeparatorHeight() {
    auto *control = dynamic_cast<TCustomPrintableVD *>(ViziVodu());
    return control ? control->GetNoteSeparatorHeight() : 0;
}

TVDFootnotePtblVDData *
TCustomMultiPagePtblVDData::GetFootnoteVDData(const TVDFootnoteItemInfo *footnote) {
    auto *control = dynamic_cast<TCustomPrintableVD *>(ViziVodu());
    return control ? control->GetFootnoteVDData(footnote) : nullptr;
}

void TCustomMultiPagePtblVDData::AddFootnotesOfDrawItems(int32_t first, int32_t last,
                                                         TVDFootnoteListPtr &list, int32_t &height,
                                                         bool changeHeight) {
    for (int32_t k = std::max(first, 0); k <= last && k < DrawItems.Count(); ++k) {
        TVDDrawLineInfo &d = *DrawItems[k];
        if (auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(&d)) {
            multi->AddAllFootnotes(list, height, changeHeight);
            continue;
        }
        TVDFootnoteItemInfo *footnote = FootnoteOf(*this, d);
        if (!footnote || (list && list->GetFootnoteIndex(footnote) >= 0)) {
            continue;
        }
        TVDFootnotePtblVDData *document = GetFootnoteVDData(footnote);
        if (!document) {
            continue;
        }
        document->FootnoteItemVDData = this;
        document->FootnoteDItemNo = k;
        if (auto *reference = dynamic_cast<TVDFootnoteDrawItem *>(&d)) {
            reference->DocumentVDData = document;
        }
        if (!list) {
            list = std::make_unique<TVDFootnoteRefList>();
            if (changeHeight) {
                height -= GetNoteSeparatorHeight();
            }
        }
        list->push_back(document);
        if (changeHeight) {
            height -= document->DocumentHeight;
        }
    }
}

void TCustomMultiPagePtblVDData::RemoveFootnotesOfDrawItems(int32_t first, int32_t last,
                                                            TVDFootnoteListPtr &list,
                                                            int32_t &height, bool changeHeight) {
    for (int32_t k = std::max(first, 0); k <= last && k < DrawItems.Count() && list; ++k) {
        TVDDrawLineInfo &d = *DrawItems[k];
        if (auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(&d)) {
            multi->RemoveAllFootnotes(list, height, changeHeight);
            continue;
        }
        TVDFootnoteItemInfo *footnote = FootnoteOf(*this, d);
        const int32_t index = footnote ? list->GetFootnoteIndex(footnote) : -1;
        if (index < 0) {
            continue;
        }
        if (changeHeight) {
            height += (*list)[static_cast<size_t>(index)]->DocumentHeight;
        }
        list->erase(list->begin() + index);
        if (list->empty()) {
            list.reset();
            if (changeHeight) {
                height += GetNoteSeparatorHeight();
            }
        }
    }
}

void TCustomMultiPagePtblVDData::DecHeightByFootnotesOfDrawItems(int32_t first, int32_t last,
                                                                 int32_t &height,
                                                                 bool &hasFootnotes) {
    for (int32_t k = std::max(first, 0); k <= last && k < DrawItems.Count() && height >= 0; ++k) {
        TVDDrawLineInfo &d = *DrawItems[k];
        if (auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(&d)) {
            multi->DecHeightByFootnotes(height, hasFootnotes);
            continue;
        }
        TVDFootnoteItemInfo *footnote = FootnoteOf(*this, d);
        TVDFootnotePtblVDData *document = footnote ? GetFootnoteVDData(footnote) : nullptr;
        if (!document) {
            continue;
        }
        if (!hasFootnotes) {
            height -= GetNoteSeparatorHeight();
            hasFootnotes = true;
        }
        height -= document->DocumentHeight;
    }
}

// ---- TVDFootnotePtblVDData ----

int32_t TVDFootnotePtblVDData::GetReferenceRootItemNo() const {
    TCustomVDFormattedData *doc = FootnoteItemVDData;
    if (!doc || FootnoteDItemNo < 0 || FootnoteDItemNo >= doc->DrawItems.Count()) {
        return -1;
    }
    return RootItemNo(doc, doc->DrawItems[FootnoteDItemNo]->ItemNo, *GetMainPrintData());
}

// ---- Footnotes on a page ----

// Each footnote whose reference is printed, at its place; the short separator above the first
// when that one is printed.
void TCustomMainPtblVDData::DrawFootnotes(int32_t globalPageNo, gfx::TCanvas &canvas,
                                          bool preview) {
    if (globalPageNo < 1 || globalPageNo > GetPagesCount()) {
        return;
    }
    TVDFootnoteRefList *list = Pages->Items(globalPageNo - 1).FootnoteVDDataList.get();
    if (!list || list->empty()) {
        return;
    }
    int32_t minItemNo = 0, maxItemNo = -1;
    GetPrintableItemsRange(minItemNo, maxItemNo);
    TCustomVDPrint *print = GetVDPrint();
    const bool correction = print && print->PreviewCorrection;
    for (size_t k = 0; k < list->size(); ++k) {
        TVDFootnotePtblVDData &footnote = *(*list)[k];
        const int32_t itemNo = footnote.GetReferenceRootItemNo();
        if (itemNo < minItemNo || itemNo > maxItemNo) {
            continue;
        }
        footnote.DrawPage(1, globalPageNo, canvas, preview, correction);
        if (k == 0) {
            GetPrintableControl().DrawNoteSeparatorAbove(globalPageNo, footnote.Top, canvas, false);
        }
    }
}

// ---- TVDEndnotePtblVDData ----

TVDEndnotePtblVDData::TVDEndnotePtblVDData(TCustomPrintableVD *viziVodu,
                                           TVDEndnoteItemInfo *endnote)
    : TCustomMultiPagePtblVDData(viziVodu), Endnote(endnote) {
    Pages = std::make_unique<TVDPageCollection>();
    ParentDrawsBack = true;
    ShareItemsFrom(endnote->GetDocument());
}

TVDEndnotePtblVDData::~TVDEndnotePtblVDData() {
    ClearTemporal();
}

TCustomMainPtblVDData &TVDEndnotePtblVDData::GetMainPrintData() const {
    return static_cast<TCustomPrintableVD &>(*ViziVodu()).GetPrintData();
}

void TVDEndnotePtblVDData::AdjustEndAt(int32_t pageCount) {
    EndAt += pageCount == 1 ? StartAt : NextStartAt;
}

int32_t TVDEndnotePtblVDData::TextTop(int32_t pageNo, int32_t globalPageNo) {
    TCustomMainPtblVDData &main = GetMainPrintData();
    return main.GetTmpMForPage(globalPageNo).Top + main.TmpTMPix +
           (pageNo <= 1 ? StartAt : NextStartAt);
}

int32_t TVDEndnotePtblVDData::GetTopCoord(int32_t pageNo, int32_t globalPageNo) {
    return TCustomMultiPagePtblVDData::GetTopCoord(pageNo, globalPageNo) -
           TextTop(pageNo, globalPageNo);
}

int32_t TVDEndnotePtblVDData::GetTopCoord2(int32_t pageNo, int32_t globalPageNo) {
    return TCustomMultiPagePtblVDData::GetTopCoord2(pageNo, globalPageNo) -
           TextTop(pageNo, globalPageNo);
}

int32_t TVDEndnotePtblVDData::GetPrintableAreaLeft(int32_t pageNo) {
    return GetMainPrintData().GetPrintableAreaLeft(pageNo);
}

int32_t TVDEndnotePtblVDData::GetPrintableAreaTop(int32_t pageNo) {
    return GetMainPrintData().GetPrintableAreaTop(pageNo);
}

TVDScreenAndDevice TVDEndnotePtblVDData::GetPrintSaD() {
    return GetMainPrintData().PrnSad;
}

gfx::TCanvas *TVDEndnotePtblVDData::GetCanvas() {
    return GetMainPrintData().PrinterCanvas;
}

std::unique_ptr<gfx::TCanvas> TVDEndnotePtblVDData::InitPrinterCanvas() {
    return GetMainPrintData().InitPrinterCanvas();
}

TVDColorMode TVDEndnotePtblVDData::GetColorMode() {
    return GetMainPrintData().ColorMode;
}

TCustomVDData *TVDEndnotePtblVDData::GetSourceVDDataForPrinting() {
    return &Endnote->GetDocument();
}

// The control's flags without the root's: the endnote asks the main document as its parent.
TVDFlags TVDEndnotePtblVDData::GetFlags() {
    TVDFlags flags = TCustomMultiPagePtblVDData::GetFlags();
    flags.Exclude(vdflRoot);
    return flags;
}

TVDFontInfoCache *TVDEndnotePtblVDData::GetFontInfoCache(gfx::TCanvas &canvas,
                                                         gfx::TCanvas &formatCanvas,
                                                         TCustomVDFormattedData *vdData) {
    return GetMainPrintData().GetFontInfoCache(canvas, formatCanvas, vdData ? vdData : this);
}

} // namespace vizivodu
