// Printable documents: pages and parts, the main document's page metrics and the three phases
// of pagination, headers and footers, documents printed inside a rectangle.
#include "vizivodu/layout/printing/PtVDData.h"

#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/layout/printing/PtblVD.h"
#include "vizivodu/layout/text/VDFontCache.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Printers.h"
#include "platform/rtl/Containers.h"
#include "platform/rtl/ScopeExit.h"

#include <algorithm>

namespace vizivodu {

namespace {

[[noreturn]] void RaiseListIndexError(int32_t index) {
    throw rtl::EListError(rtl::Format(u"List index out of bounds (%d)", {index}));
}

// Keeps first within length and shortens second so that both together fit.
void FitPair(int32_t &first, int32_t &second, int32_t length) {
    first = std::min(first, length);
    if (first + second > length) {
        second = length - first;
    }
}

} // namespace

// ---- Parts and pages ----

TVDMultiDrawItemPart *TVDMultiDrawItemPartsList::Get(int32_t index) const {
    if (static_cast<uint32_t>(index) >= FItems.size()) {
        RaiseListIndexError(index);
    }
    return FItems[static_cast<size_t>(index)].get();
}

void TVDMultiDrawItemPartsList::Put(int32_t index, std::unique_ptr<TVDMultiDrawItemPart> part) {
    if (static_cast<uint32_t>(index) >= FItems.size()) {
        RaiseListIndexError(index);
    }
    FItems[static_cast<size_t>(index)] = std::move(part);
}

void TVDMultiDrawItemPartsList::Delete(int32_t index) {
    if (static_cast<uint32_t>(index) >= FItems.size()) {
        RaiseListIndexError(index);
    }
    FItems.erase(FItems.begin() + index);
}

void TVDMultiDrawItemInfo::ResetPages(TVDFootnoteListPtr &, int32_t &, bool) {
    FPartsList.Clear();
}

bool TVDMultiDrawItemInfo::GetPartNo(TCustomVDData *, int32_t, int32_t, int32_t &partNo, int32_t &,
                                     int32_t &localPageCount, TCustomPrintableVDData *&ptVDData) {
    partNo = -1;
    localPageCount = 0;
    ptVDData = nullptr;
    return false;
}

TVDPageInfo::TVDPageInfo() = default;

TVDPageInfo::~TVDPageInfo() = default;

void TVDPageInfo::Assign(const TVDPageInfo &source) {
    StartY = source.StartY;
    StartDrawItemNo = source.StartDrawItemNo;
    StartPart = source.StartPart;
    StartY2 = source.StartY2;
    DocumentHeight = source.DocumentHeight;
    FootnoteVDDataList.reset();
    if (source.FootnoteVDDataList) {
        FootnoteVDDataList = std::make_unique<TVDFootnoteRefList>(*source.FootnoteVDDataList);
    }
}

TVDPageInfo &TVDPageCollection::Add() {
    FItems.push_back(std::make_unique<TVDPageInfo>());
    return *FItems.back();
}

TVDPageInfo &TVDPageCollection::Items(int32_t index) const {
    if (static_cast<uint32_t>(index) >= FItems.size()) {
        RaiseListIndexError(index);
    }
    return *FItems[static_cast<size_t>(index)];
}

void TVDPageCollection::Delete(int32_t index) {
    if (static_cast<uint32_t>(index) >= FItems.size()) {
        RaiseListIndexError(index);
    }
    FItems.erase(FItems.begin() + index);
}

// ---- TCustomPrintableVDData ----

TCustomPrintableVDData::TCustomPrintableVDData(TVDScroller *viziVodu) : TViziVoduVDData(viziVodu) {}

TCustomPrintableVDData::~TCustomPrintableVDData() = default;

void TCustomPrintableVDData::GetDrawItemsRange(int32_t, int32_t &startNo, int32_t &endNo,
                                               int32_t &part) {
    startNo = 0;
    endNo = DrawItems.Count() - 1;
    part = -1;
}

void TCustomPrintableVDData::GetPrintableItemsRange(int32_t &minItemNo, int32_t &maxItemNo) {
    minItemNo = 0;
    maxItemNo = ItemCount() - 1;
}

TCustomVDPrint *TCustomPrintableVDData::GetVDPrint() {
    auto *control = dynamic_cast<TCustomPrintableVD *>(ViziVodu());
    return control ? control->GetVDPrint() : nullptr;
}

TVDScreenAndDevice TCustomPrintableVDData::GetPrintSaD() {
    TVDScreenAndDevice sad;
    if (gfx::TCanvas *canvas = GetCanvas()) {
        TViziVoduVDData::GetSaDForCanvas(*canvas, sad);
    }
    return sad;
}

void TCustomPrintableVDData::GetSaDForCanvas(gfx::TCanvas &, TVDScreenAndDevice &sad) {
    const TVDScreenAndDevice print = GetPrintSaD();
    sad.ppixScreen = print.ppixScreen;
    sad.ppiyScreen = print.ppiyScreen;
    sad.ppixDevice = print.ppixDevice;
    sad.ppiyDevice = print.ppiyDevice;
}

void TCustomPrintableVDData::PostFormat(int32_t globalPageNo) {
    TCustomVDPrint *print = GetVDPrint();
    const int32_t dispPageNo = print ? print->GetDispPageNo(globalPageNo) : globalPageNo;
    PostFormatPage(1, dispPageNo, print ? print->GetPagesCount() : 1);
}

void TCustomPrintableVDData::PostFormatPage(int32_t pageNo, int32_t dispPageNo, int32_t pageCount) {
    int32_t startNo = 0, endNo = -1, part = -1;
    GetDrawItemsRange(pageNo, startNo, endNo, part);
    if (startNo < 0 || endNo < startNo) {
        return;
    }
    AdjustItemsPrintingWidth(startNo, endNo, part, dispPageNo, pageCount);
}

// ---- TCustomMultiPagePtblVDData ----

TCustomMultiPagePtblVDData::~TCustomMultiPagePtblVDData() = default;

int32_t TCustomMultiPagePtblVDData::GetTopCoord(int32_t pageNo, int32_t) {
    return pageNo >= 1 && pageNo <= GetPagesCount() ? Pages->Items(pageNo - 1).StartY : 0;
}

int32_t TCustomMultiPagePtblVDData::GetTopCoord2(int32_t pageNo, int32_t) {
    return pageNo >= 1 && pageNo <= GetPagesCount() ? Pages->Items(pageNo - 1).StartY2 : 0;
}

bool TCustomMultiPagePtblVDData::PageExists(int32_t pageNo) {
    return Pages && Pages->Count() > 0 ? pageNo <= Pages->Count() : pageNo < 2;
}

void TCustomMultiPagePtblVDData::GetDrawItemsRange(int32_t pageNo, int32_t &startNo, int32_t &endNo,
                                                   int32_t &part) {
    if (!Pages || Pages->Count() == 0) {
        TCustomPrintableVDData::GetDrawItemsRange(pageNo, startNo, endNo, part);
        return;
    }
    if (pageNo < 1 || pageNo > Pages->Count()) {
        startNo = endNo = -1;
        part = -1;
        return;
    }
    const TVDPageInfo &page = Pages->Items(pageNo - 1);
    startNo = page.StartDrawItemNo;
    part = page.StartPart - 1;
    if (pageNo == Pages->Count()) {
        endNo = DrawItems.Count() - 1;
    } else {
        // A split item shows a part on this page too unless the next page begins with its
        // first part.
        const TVDPageInfo &next = Pages->Items(pageNo);
        endNo = next.StartDrawItemNo - 1 + (next.StartPart > 1 ? 1 : 0);
    }
}

void TCustomMultiPagePtblVDData::PostFormat(int32_t globalPageNo) {
    if (!Pages || Pages->Count() == 0) {
        TCustomPrintableVDData::PostFormat(globalPageNo);
        return;
    }
    TCustomVDPrint *print = GetVDPrint();
    const int32_t pageCount = print ? print->GetPagesCount() : Pages->Count();
    for (int32_t n = 1; n <= Pages->Count(); ++n) {
        const int32_t global = globalPageNo + n - 1;
        PostFormatPage(n, print ? print->GetDispPageNo(global) : global, pageCount);
    }
}

TVDSidenoteList *TCustomMultiPagePtblVDData::GetSidenoteList(int32_t pageNo) {
    if (!Pages || pageNo < 1 || pageNo > Pages->Count()) {
        return nullptr;
    }
    return Pages->Items(pageNo - 1).Sidenotes.get();
}

int32_t TCustomMultiPagePtblVDData::ParaSpaceBefore(int32_t i) {
    TVDStyle &style = *GetVDStyle();
    const TVDScreenAndDevice sad = GetPrintSaD();
    const int32_t paraNo = GetVisibleItemPara(DrawItems[i]->ItemNo);
    return style.GetAsDevicePixelsY(style.GetParaStyles().GetItem(paraNo).GetSpaceBefore(), &sad);
}

int32_t TCustomMultiPagePtblVDData::ParaSpaceAfter(int32_t i) {
    TVDStyle &style = *GetVDStyle();
    const TVDScreenAndDevice sad = GetPrintSaD();
    const int32_t paraNo = GetVisibleItemPara(DrawItems[i]->ItemNo);
    return style.GetAsDevicePixelsY(style.GetParaStyles().GetItem(paraNo).GetSpaceAfter(), &sad);
}

// ---- TCustomMainPtblVDData ----

TCustomMainPtblVDData::TCustomMainPtblVDData(TVDScroller *control)
    : TCustomMultiPagePtblVDData(control) {
    Pages = std::make_unique<TVDPageCollection>();
}

TCustomMainPtblVDData::~TCustomMainPtblVDData() = default;

TCustomPrintableVD &TCustomMainPtblVDData::GetPrintableControl() const {
    return static_cast<TCustomPrintableVD &>(*ViziVodu());
}

TVDHFType TCustomMainPtblVDData::GetHFType(int32_t pageNo) {
    auto *control = dynamic_cast<TPrintableVD *>(&GetPrintableControl());
    if (!control) {
        return vdhftNormal;
    }
    if (pageNo == 1 && control->TitlePage) {
        return vdhftFirstPage;
    }
    if (pageNo % 2 == 0 && control->FacingPages) {
        return vdhftEvenPages;
    }
    return vdhftNormal;
}

const rtl::TRect &TCustomMainPtblVDData::GetTmpM(TVDHFType hfType) const {
    return hfType == vdhftFirstPage   ? TmpMFirstPage
           : hfType == vdhftEvenPages ? TmpMEvenPages
                                      : TmpMNormal;
}

rtl::TRect &TCustomMainPtblVDData::TmpMOfKind(TVDHFType hfType) {
    return hfType == vdhftFirstPage   ? TmpMFirstPage
           : hfType == vdhftEvenPages ? TmpMEvenPages
                                      : TmpMNormal;
}

int32_t TCustomMainPtblVDData::GetContentHeightOfKind(TVDHFType hfType) const {
    switch (hfType) {
    case vdhftFirstPage:
        return ContentHeightFirstPage;
    case vdhftEvenPages:
        return ContentHeightEvenPages;
    default:
        return ContentHeightNormal;
    }
}

TCustomVDData *TCustomMainPtblVDData::GetSourceVDDataForPrinting() {
    TCustomVDPrint *print = GetVDPrint();
    TCustomViziVodu *source = print ? print->GetSourceViziVodu() : nullptr;
    return source ? &source->GetVDData() : nullptr;
}

TVDBackground *TCustomMainPtblVDData::GetBackground() {
    return &GetPrintableControl().GetBackground();
}

uint32_t TCustomMainPtblVDData::GetColor() {
    return Transparent ? gfx::clNone : TViziVoduVDData::GetColor();
}

bool TCustomMainPtblVDData::IgnorePageBreaks() {
    TCustomVDPrint *print = GetVDPrint();
    return print && print->IgnorePageBreaks;
}

void TCustomMainPtblVDData::GetPrintableItemsRange(int32_t &minItemNo, int32_t &maxItemNo) {
    TCustomVDPrint *print = GetVDPrint();
    minItemNo = print ? print->MinPrintedItemNo : 0;
    maxItemNo = print ? print->MaxPrintedItemNo : -1;
    if (maxItemNo < 0) {
        maxItemNo = ItemCount() - 1;
    }
}

int32_t TCustomMainPtblVDData::GetPrintableAreaLeft(int32_t pageNo) {
    return GetTmpMForPage(pageNo).Left;
}

int32_t TCustomMainPtblVDData::GetPrintableAreaTop(int32_t pageNo) {
    return GetTmpMForPage(pageNo).Top;
}

int32_t TCustomMainPtblVDData::GetContentHeightForPage(int32_t pageNo) {
    return GetContentHeightOfKind(GetHFType(pageNo));
}

int32_t TCustomMainPtblVDData::GetTopCoord(int32_t pageNo, int32_t globalPageNo) {
    if (pageNo < 1 || pageNo > GetPagesCount()) {
        return 0;
    }
    int32_t top = Pages->Items(pageNo - 1).StartY - (GetTmpMForPage(globalPageNo).Top + TmpTMPix);
    if (pageNo == 1) {
        top -= GetStartAt();
    }
    return top;
}

int32_t TCustomMainPtblVDData::GetTopCoord2(int32_t pageNo, int32_t globalPageNo) {
    if (pageNo < 1 || pageNo > GetPagesCount()) {
        return 0;
    }
    int32_t top = Pages->Items(pageNo - 1).StartY2 - (GetTmpMForPage(globalPageNo).Top + TmpTMPix);
    if (pageNo == 1) {
        top -= GetStartAt();
    }
    return top;
}

void TCustomMainPtblVDData::CheckPageNo(int32_t pageNo) {
    if (pageNo < 1 || pageNo > GetPagesCount()) {
        throw EViziVoduError("Invalid page number is specified for printing");
    }
}

int32_t TCustomMainPtblVDData::GetStartAt() {
    TCustomVDPrint *print = GetVDPrint();
    return print ? print->StartAt : 0;
}

void TCustomMainPtblVDData::SetEndAt(int32_t value) {
    if (TCustomVDPrint *print = GetVDPrint()) {
        print->EndAt = value;
    }
}

void TCustomMainPtblVDData::AdjustEndAt(int32_t pageCount) {
    TCustomVDPrint *print = GetVDPrint();
    if (print && pageCount == 1) {
        print->EndAt += print->StartAt;
    }
}

bool TCustomMainPtblVDData::GetFirstParaListLevel(int32_t &listNo, int32_t &level) {
    if (!State.Contains(vdstFirstParaAborted)) {
        return TCustomMultiPagePtblVDData::GetFirstParaListLevel(listNo, level);
    }
    listNo = FFirstParaListNo;
    level = FFirstParaLevel;
    return true;
}

void TCustomMainPtblVDData::Clear() {
    TCustomMultiPagePtblVDData::Clear();
    if (Pages) {
        Pages->Clear();
    }
}

void TCustomMainPtblVDData::InitPageMetrics() {
    TVDGraphicInterface &gi = GetVDStyle()->GetGraphicInterface();
    PrnSad.ppixDevice = gi.GetDeviceCaps(*PrinterCanvas, gfx::LOGPIXELSX);
    PrnSad.ppiyDevice = gi.GetDeviceCaps(*PrinterCanvas, gfx::LOGPIXELSY);
    if (PixelsPerInchOverride > 0) {
        PrnSad.ppixScreen = PrnSad.ppiyScreen = PixelsPerInchOverride;
    } else {
        std::unique_ptr<gfx::TCanvas> screen = gi.CreateScreenCanvas();
        PrnSad.ppixScreen = gi.GetDeviceCaps(*screen, gfx::LOGPIXELSX);
        PrnSad.ppiyScreen = gi.GetDeviceCaps(*screen, gfx::LOGPIXELSY);
    }
    TmpTMPix = ScreenToDeviceY(FTopMarginPix, PrnSad);
    TmpBMPix = ScreenToDeviceY(FBottomMarginPix, PrnSad);
}

void TCustomMainPtblVDData::InitFormatPages() {
    DoFormatting(0, vdpsStarting);
    FOwnPrinterCanvas = InitPrinterCanvas();
    PrinterCanvas = FOwnPrinterCanvas.get();
    FIsDestinationReady = PrinterCanvas != nullptr;
    if (!PrinterCanvas) {
        ClearTemporal();
        return;
    }
    InitPageMetrics();
    TCustomPrintableVD &control = GetPrintableControl();
    control.MaxTextWidth = DeviceToScreenX(control.GetClientWidth(), PrnSad) - control.LeftMargin -
                           control.RightMargin;
    Format_(false, true, false, 0, PrinterCanvas, false, true, false, false, false);
}

int32_t TCustomMainPtblVDData::FormatPages() {
    Pages->Clear();
    if (DrawItems.Count() == 0) {
        return 0;
    }
    DoFormatting(0, vdpsProceeding);
    int32_t i = 0, startAt = 0, startY = 0, y = 0, maxHeight = 0;
    bool splitting = false;
    while (i < DrawItems.Count()) {
        TVDFootnoteListPtr footnotes;
        maxHeight = GetContentHeightForPage(std::max(Pages->Count(), 1)) - TmpTMPix - TmpBMPix;
        FormatNextPage(i, startAt, startY, y, splitting, maxHeight, footnotes, true);
    }
    return Pages->Count();
}

// Page-dependent widths: the text's, then those of each page's boxes and footnotes (page-relative
// footnote numbers, page fields).
void TCustomMainPtblVDData::FinalizeFormatPages() {
    PostFormat(1);
    for (int32_t p = 1; p <= GetPagesCount(); ++p) {
        TVDPageInfo &page = Pages->Items(p - 1);
        if (page.Sidenotes) {
            for (int32_t k = 0; k < page.Sidenotes->GetCount(); ++k) {
                page.Sidenotes->Get(k)->PostFormat(p);
            }
        }
        if (page.FootnoteVDDataList) {
            for (TVDFootnotePtblVDData *footnote : *page.FootnoteVDDataList) {
                footnote->PostFormat(p);
            }
        }
    }
    DonePrinterCanvas(FOwnPrinterCanvas);
    PrinterCanvas = nullptr;
    DoFormatting(GetPagesCount(), vdpsFinished);
}

// ---- TPrintableVDData ----

TPrintableVDData::TPrintableVDData(TVDScroller *control) : TCustomMainPtblVDData(control) {}

TPrintableVDData::~TPrintableVDData() {
    Header.reset();
    Footer.reset();
    FirstPageHeader.reset();
    FirstPageFooter.reset();
    EvenPagesHeader.reset();
    EvenPagesFooter.reset();
}

std::unique_ptr<TVDHeaderFooterVDData> &TPrintableVDData::HeaderOrFooterSlot(TVDHFType hfType,
                                                                             bool isHeader) {
    switch (hfType) {
    case vdhftFirstPage:
        return isHeader ? FirstPageHeader : FirstPageFooter;
    case vdhftEvenPages:
        return isHeader ? EvenPagesHeader : EvenPagesFooter;
    default:
        return isHeader ? Header : Footer;
    }
}

TVDHeaderFooterVDData *TPrintableVDData::GetHeaderOrFooter(TVDHFType hfType, bool isHeader) {
    return HeaderOrFooterSlot(hfType, isHeader).get();
}

TVDHeaderFooterVDData *TPrintableVDData::GetHeaderForPage(int32_t pageNo) {
    return GetHeaderOrFooter(GetHFType(pageNo), true);
}

TVDHeaderFooterVDData *TPrintableVDData::GetFooterForPage(int32_t pageNo) {
    return GetHeaderOrFooter(GetHFType(pageNo), false);
}

int32_t TPrintableVDData::GetPageWidth() {
    return PrinterCanvas ? PrinterCanvas->GetDeviceCaps(gfx::HORZRES) : PageWidthPix;
}

int32_t TPrintableVDData::GetPageHeight() {
    return PrinterCanvas ? PrinterCanvas->GetDeviceCaps(gfx::VERTRES) : PageHeightPix;
}

int32_t TPrintableVDData::GetPrintableAreaLeft(int32_t pageNo) {
    auto &control = static_cast<TPrintableVD &>(GetPrintableControl());
    if (control.MirrorMargins && pageNo % 2 == 0) {
        return TmpLMMir;
    }
    return TCustomMainPtblVDData::GetPrintableAreaLeft(pageNo);
}

// The current printer's sheet; without a usable printer the pages are those of the built-in
// PDF printer, so that pagination, the preview and page pictures never come out empty: only
// printing itself reports the missing printer.
std::unique_ptr<gfx::TCanvas> TPrintableVDData::InitPrinterCanvas() {
    if (!GetVDStyle()) {
        return nullptr;
    }
    std::unique_ptr<gfx::TCanvas> canvas;
    try {
        canvas = gfx::Printer().CreateInformationCanvas();
    } catch (const rtl::Exception &) {
        canvas.reset();
    }
    if (!canvas || canvas->GetDeviceCaps(gfx::HORZRES) <= 0 ||
        canvas->GetDeviceCaps(gfx::VERTRES) <= 0) {
        canvas = gfx::CreatePdfPrinterInformationCanvas();
    }
    return canvas;
}

void TPrintableVDData::DoFormatting(int32_t pageCompleted, TVDPrintingStep step) {
    auto *print = dynamic_cast<TVDPrint *>(GetVDPrint());
    if (print && print->OnFormatting) {
        print->OnFormatting(&GetPrintableControl(), pageCompleted, step);
    }
}

TCustomVDData *TPrintableVDData::GetSourceVDDataForPrintingEx() {
    return GetSourceVDDataForPrinting();
}

TVDMarkerList *TPrintableVDData::GetMarkers(bool) {
    TCustomVDData *source = GetSourceVDDataForPrintingEx();
    return source ? source->GetMarkers(false) : nullptr;
}

void TPrintableVDData::InitPageMetrics() {
    TCustomMainPtblVDData::InitPageMetrics();
    PrinterCanvas->GetFont().SetPixelsPerInch(PrnSad.ppiyDevice);
    // The sheet's geometry comes from the device itself; the resolution the text is measured
    // with from the graphic interface, as everywhere in formatting.
    const int32_t logX = PrnSad.ppixDevice;
    const int32_t logY = PrnSad.ppiyDevice;
    const int32_t offsetX = PrinterCanvas->GetDeviceCaps(gfx::PHYSICALOFFSETX);
    const int32_t offsetY = PrinterCanvas->GetDeviceCaps(gfx::PHYSICALOFFSETY);
    const int32_t physWidth = PrinterCanvas->GetDeviceCaps(gfx::PHYSICALWIDTH);
    const int32_t physHeight = PrinterCanvas->GetDeviceCaps(gfx::PHYSICALHEIGHT);
    const int32_t pageWidth = GetPageWidth();
    const int32_t pageHeight = GetPageHeight();
    PageWidthPix = pageWidth;
    PageHeightPix = pageHeight;
    PhysM = {offsetX, offsetY, physWidth - pageWidth - offsetX, physHeight - pageHeight - offsetY};
    auto &control = static_cast<TPrintableVD &>(GetPrintableControl());
    const TVDUnitsRect &m = control.Margins;
    const TVDUnits units = control.Units;
    const int32_t left = VDUnitsToPixelsAtPPI(units, logX, m.Left);
    const int32_t right = VDUnitsToPixelsAtPPI(units, logX, m.Right);
    const int32_t top = VDUnitsToPixelsAtPPI(units, logY, m.Top);
    const int32_t bottom = VDUnitsToPixelsAtPPI(units, logY, m.Bottom);
    TmpMNormal = {left - PhysM.Left, top - PhysM.Top, right - PhysM.Right, bottom - PhysM.Bottom};
    TmpLMMir = right - PhysM.Left;
    FitMargins();
    TmpMFirstPage = TmpMEvenPages = TmpMNormal;
    PlaceHeadersAndFooters();
    for (TVDHFType kind : {vdhftNormal, vdhftFirstPage, vdhftEvenPages}) {
        rtl::TRect &r = TmpMOfKind(kind);
        FitPair(r.Top, r.Bottom, pageHeight);
    }
    ContentHeightNormal = std::max(0, pageHeight - TmpMNormal.Top - TmpMNormal.Bottom);
    ContentHeightFirstPage = std::max(0, pageHeight - TmpMFirstPage.Top - TmpMFirstPage.Bottom);
    ContentHeightEvenPages = std::max(0, pageHeight - TmpMEvenPages.Top - TmpMEvenPages.Bottom);
    const rtl::TFlagScope skip(State, vdstSkipFormatting);
    control.SetBounds(control.GetLeft(), control.GetTop(),
                      std::max(0, pageWidth - TmpMNormal.Left - TmpMNormal.Right),
                      ContentHeightNormal);
    control.SetVScrollVisible(false);
    control.SetHScrollVisible(false);
    ForEachHeaderFooter(
        [this](TVDHFType, TVDHeaderFooterVDData &hf) { PlaceSidenotes(hf, *this); });
}

void TPrintableVDData::FitMargins() {
    const int32_t pageWidth = GetPageWidth();
    auto *print = dynamic_cast<TVDPrint *>(GetVDPrint());
    if (!print || print->FixMarginsMode == vdfmmAutoCorrect) {
        if (TmpMNormal.Left < 0) {
            TmpMNormal.Right += TmpMNormal.Left;
            TmpMNormal.Left = 0;
        }
        if (TmpMNormal.Top < 0) {
            TmpMNormal.Bottom += TmpMNormal.Top;
            TmpMNormal.Top = 0;
        }
        TmpMNormal.Right = std::max(0, TmpMNormal.Right);
        TmpMNormal.Bottom = std::max(0, TmpMNormal.Bottom);
        TmpLMMir = std::max(0, TmpLMMir);
    }
    FitPair(TmpMNormal.Left, TmpMNormal.Right, pageWidth);
    FitPair(TmpLMMir, TmpMNormal.Left, pageWidth);
}

// Each kind's header sits HeaderY below the sheet's top edge and its footer FooterY above the
// bottom edge; the text area keeps clear of both.
void TPrintableVDData::PlaceHeadersAndFooters() {
    auto &control = static_cast<TPrintableVD &>(GetPrintableControl());
    const int32_t logY = PrnSad.ppiyDevice;
    const int32_t pageWidth = GetPageWidth();
    const int32_t pageHeight = GetPageHeight();
    const int32_t headerY = VDUnitsToPixelsAtPPI(control.Units, logY, HeaderY);
    const int32_t footerY = VDUnitsToPixelsAtPPI(control.Units, logY, FooterY);
    for (TVDHFType kind : {vdhftNormal, vdhftFirstPage, vdhftEvenPages}) {
        rtl::TRect &m = TmpMOfKind(kind);
        if (TVDHeaderFooterVDData *header = GetHeaderOrFooter(kind, true)) {
            header->Left = m.Left;
            header->Width = pageWidth - m.Left - m.Right;
            header->Top = std::max(0, headerY - PhysM.Top);
            header->Height = 1;
            header->Format(true, false);
            m.Top = std::max(m.Top, header->Top + header->DocumentHeight);
        }
        if (TVDHeaderFooterVDData *footer = GetHeaderOrFooter(kind, false)) {
            footer->Left = m.Left;
            footer->Width = pageWidth - m.Left - m.Right;
            footer->Top = 0;
            footer->Height = 1;
            footer->Format(true, false);
            const int32_t h = footer->DocumentHeight + footerY - PhysM.Bottom;
            footer->Top = std::max(0, pageHeight - h);
            m.Bottom = std::max(m.Bottom, h);
        }
    }
}

// ---- TRectPtblVDData ----

TRectPtblVDData::TRectPtblVDData(TCustomPrintableVD *viziVodu, TCustomVDData *sourceDataForPrinting,
                                 TCustomPrintableVDData *parentPrintData)
    : TCustomMultiPagePtblVDData(viziVodu), FSourceDataForPrinting(sourceDataForPrinting),
      FParentPrintData(parentPrintData) {
    if (sourceDataForPrinting) {
        ShareItemsFrom(*sourceDataForPrinting);
    }
}

TRectPtblVDData::~TRectPtblVDData() {
    ClearTemporal();
}

TCustomMainPtblVDData *TRectPtblVDData::GetMainPrintData() const {
    return &static_cast<TCustomPrintableVD &>(*ViziVodu()).GetPrintData();
}

int32_t TRectPtblVDData::GetTopCoord(int32_t pageNo, int32_t globalPageNo) {
    int32_t top = -(Top + DY);
    if (GetPagesCount() > 0) {
        top += TCustomMultiPagePtblVDData::GetTopCoord(pageNo, globalPageNo);
    }
    return top;
}

int32_t TRectPtblVDData::GetTopCoord2(int32_t pageNo, int32_t globalPageNo) {
    int32_t top = -(Top + DY);
    if (GetPagesCount() > 0) {
        top += TCustomMultiPagePtblVDData::GetTopCoord2(pageNo, globalPageNo);
    }
    return top;
}

TVDScreenAndDevice TRectPtblVDData::GetPrintSaD() {
    return GetMainPrintData()->PrnSad;
}

gfx::TCanvas *TRectPtblVDData::GetCanvas() {
    return GetMainPrintData()->PrinterCanvas;
}

std::unique_ptr<gfx::TCanvas> TRectPtblVDData::InitPrinterCanvas() {
    return GetMainPrintData()->InitPrinterCanvas();
}

TVDColorMode TRectPtblVDData::GetColorMode() {
    return GetMainPrintData()->ColorMode;
}

int32_t TRectPtblVDData::GetDrawnGlobalPageNo() {
    return FDrawnGlobalPageNo > 0 || !FParentPrintData ? FDrawnGlobalPageNo
                                                       : FParentPrintData->GetDrawnGlobalPageNo();
}

TVDDocRotation TRectPtblVDData::GetRotation() {
    return FSourceDataForPrinting ? FSourceDataForPrinting->GetRotation() : vdrotNone;
}

TVDStyle *TRectPtblVDData::GetVDStyle() {
    return FSourceDataForPrinting ? FSourceDataForPrinting->GetVDStyle()
                                  : TCustomMultiPagePtblVDData::GetVDStyle();
}

// The control's flags without the root's: this document asks its parent.
TVDFlags TRectPtblVDData::GetFlags() {
    TVDFlags flags = TCustomMultiPagePtblVDData::GetFlags();
    flags.Exclude(vdflRoot);
    return flags;
}

void TRectPtblVDData::DoHyperlinkPrinted(TCustomVDData *vdData, int32_t itemNo,
                                         const rtl::TRect &rect) {
    if (FParentPrintData) {
        FParentPrintData->DoHyperlinkPrinted(vdData, itemNo, rect);
    }
}

void TRectPtblVDData::DoCheckpointPrinted(TCustomVDData *vdData, int32_t itemNo, int32_t x,
                                          int32_t y) {
    if (FParentPrintData) {
        FParentPrintData->DoCheckpointPrinted(vdData, itemNo, x, y);
    }
}

bool TRectPtblVDData::IgnoreFootnotes() {
    return FParentPrintData && FParentPrintData->IgnoreFootnotes();
}

bool TRectPtblVDData::AllowTransparentDrawing() {
    return FParentPrintData && FParentPrintData->AllowTransparentDrawing();
}

bool TRectPtblVDData::NoMetafiles() {
    auto *root = dynamic_cast<TCustomPrintableVDData *>(GetAbsoluteRootData());
    return root && root != this && root->NoMetafiles();
}

TCustomVDData *TRectPtblVDData::GetRootData() {
    return FParentPrintData ? FParentPrintData->GetRootData() : this;
}

TCustomVDData *TRectPtblVDData::GetAbsoluteRootData() {
    return FParentPrintData ? FParentPrintData->GetAbsoluteRootData() : this;
}

bool TRectPtblVDData::UseVerticalFonts() {
    auto *source = dynamic_cast<TCustomVDFormattedData *>(FSourceDataForPrinting);
    return source && source->UseVerticalFonts();
}

TVDFontInfoCache *TRectPtblVDData::GetFontInfoCache(gfx::TCanvas &canvas,
                                                    gfx::TCanvas &formatCanvas,
                                                    TCustomVDFormattedData *vdData) {
    if (!FParentPrintData) {
        return TCustomMultiPagePtblVDData::GetFontInfoCache(canvas, formatCanvas, vdData);
    }
    return FParentPrintData->GetFontInfoCache(canvas, formatCanvas, vdData ? vdData : this);
}

void TRectPtblVDData::DestroyFontInfoCache(TVDFontInfoCache *&cache) {
    TCustomMultiPagePtblVDData::DestroyFontInfoCache(cache);
}

// ---- TVDHeaderFooterVDData ----

TVDHeaderFooterVDData::TVDHeaderFooterVDData(TCustomPrintableVD *viziVodu,
                                             TCustomVDData *sourceDataForPrinting,
                                             TCustomPrintableVDData *parentPrintData)
    : TRectPtblVDData(viziVodu, sourceDataForPrinting, parentPrintData) {}

TVDHeaderFooterVDData::~TVDHeaderFooterVDData() {
    ClearTemporal();
    FOwnCache.reset();
}

TVDSidenoteList *TVDHeaderFooterVDData::GetSidenoteList(int32_t pageNo) {
    return pageNo == 1 ? Sidenotes.get() : nullptr;
}

void TVDHeaderFooterVDData::CreateFontInfoCache(gfx::TCanvas &canvas, gfx::TCanvas &formatCanvas) {
    FOwnCache =
        std::make_unique<TVDFontInfoCacheFast>(this, *GetVDStyle(), formatCanvas, canvas, false);
}

TVDFontInfoCache *TVDHeaderFooterVDData::GetFontInfoCache(gfx::TCanvas &canvas,
                                                          gfx::TCanvas &formatCanvas,
                                                          TCustomVDFormattedData *) {
    if (!FOwnCache) {
        CreateFontInfoCache(canvas, formatCanvas);
    }
    return FOwnCache.get();
}

void TVDHeaderFooterVDData::DestroyFontInfoCache(TVDFontInfoCache *&cache) {
    if (cache && cache == FOwnCache.get()) {
        FOwnCache.reset();
    }
    cache = nullptr;
}

} // namespace vizivodu
