// Printable documents: a document's items formatted a second time for a printer and cut into
// pages, and the drawing of one page (background, headers and footers, paragraph and text
// backgrounds, the text and objects) onto a printer or any other canvas.
//
// - TCustomPrintableVDData: a document formatted for a device that can draw one page of itself.
// - TCustomMultiPagePtblVDData: a printable document with a page list, filled page by page by
//   FormatNextPage; draw items that can be split (tables, tall pictures) are cut between pages
//   through multi-page draw items (TVDMultiDrawItemInfo).
// - TCustomMainPtblVDData, TPrintableVDData: the root document of the printing component's
//   hidden control: printer canvas, resolutions, margins and content height per page kind,
//   the six header and footer documents.
// - TRectPtblVDData: a document printed inside a rectangle of a page (headers, footers, table
//   cells); TVDHeaderFooterVDData.
// - Notes on pages: TVDFootnotePtblVDData (a footnote at the bottom of the page of its
//   reference), TVDSidenotePtblVDData (the box of a sidenote or text box on a page) and
//   TVDEndnotePtblVDData (an endnote paginated after the text); TVDFootnoteDrawItem, the draw
//   item of a footnote reference whose number restarts on every page.
//
// Units: printer pixels unless said otherwise. Page coordinates have (0, 0) at the top-left
// corner of the sheet's printable area; a page's Y is the document's Y minus GetTopCoord.
// Every printable document shares the items of its source document and frees none of them.
#pragma once

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDFloatingPos.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include "platform/gfx/Region.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace gfx {
class TBitmap;
}

namespace vizivodu {

class TCustomMainPtblVDData;
class TCustomPrintableVD;
class TCustomPrintableVDData;
class TCustomVDPrint;
class TParaInfo;
class TVDEndnoteItemInfo;
class TVDFootnoteItemInfo;
class TVDFootnotePtblVDData;
class TVDHeaderFooterVDData;
class TVDMultiDrawItemInfo;
class TVDSidenoteItemInfo;
class TVDSidenoteList;

// The kinds of page: headers, footers and margins are chosen per kind.
enum TVDHFType : uint8_t { vdhftNormal, vdhftFirstPage, vdhftEvenPages };
// Whether margins that reach into the unprintable border of the sheet are corrected.
enum TVDFixMarginsMode : uint8_t { vdfmmAutoCorrect, vdfmmIgnore };
// Where pagination or printing stands (the printing component's events).
enum TVDPrintingStep : uint8_t { vdpsStarting, vdpsProceeding, vdpsFinished };

// The piece of a multi-page draw item that lies on one page. Height in printer pixels.
class TVDMultiDrawItemPart : public TVDPaintItemPart {
public:
    explicit TVDMultiDrawItemPart(TVDMultiDrawItemInfo *owner) : FOwner(owner) {}
    TVDMultiDrawItemInfo *GetOwner() const { return FOwner; }
    int32_t Height = 0;

    virtual int32_t GetImageHeight() { return 0; }
    // -1: the part keeps no soft-page-break data.
    virtual int32_t GetSoftPageBreakInfo() { return -1; }
    virtual bool IsComplexSoftPageBreak(TVDDrawLineInfo *) { return false; }
    virtual void AssignSoftPageBreaksToItem(TVDDrawLineInfo *, TCustomVDItemInfo *) {}

private:
    TVDMultiDrawItemInfo *FOwner;
};

// The parts of a multi-page draw item in page order; owns them. An entry may be empty (a slot
// that the item fills while it is being split).
class TVDMultiDrawItemPartsList {
public:
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    // EListError "List index out of bounds (%d)" outside the list.
    TVDMultiDrawItemPart *Get(int32_t index) const;
    TVDMultiDrawItemPart *operator[](int32_t index) const { return Get(index); }
    // Replaces (and frees) the part at index.
    void Put(int32_t index, std::unique_ptr<TVDMultiDrawItemPart> part);
    void Add(std::unique_ptr<TVDMultiDrawItemPart> part) { FItems.push_back(std::move(part)); }
    void Delete(int32_t index);
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TVDMultiDrawItemPart>> FItems;
};

// Printable footnote documents referenced on one page; the list does not own them. Pagination
// makes a list when a page meets its first footnote and frees it when it empties again (a
// page has footnotes exactly when it has a list).
class TVDFootnoteRefList : public std::vector<TVDFootnotePtblVDData *> {
public:
    // By the footnotes' numbers (Counter); equal numbers keep their order.
    void Sort();
    // The entry of footnote, searched from the end; -1 when absent.
    int32_t GetFootnoteIndex(const TVDFootnoteItemInfo *footnote) const;
    // Removes the entry of footnote (searched from the end); nothing when absent.
    void DeleteByFootnote(const TVDFootnoteItemInfo *footnote);
};
using TVDFootnoteListPtr = std::unique_ptr<TVDFootnoteRefList>;

// A draw item that can be cut between pages (the table's print item, the split picture).
// Pagination asks it through the splitting operations of every draw item (InitSplit,
// CanSplitFirst, SplitAt); each call of SplitAt that needs another page adds a part.
class TVDMultiDrawItemInfo : public TVDComplexLineHeightDrawLineInfo {
public:
    using TVDComplexLineHeightDrawLineInfo::TVDComplexLineHeightDrawLineInfo;

    TVDMultiDrawItemPartsList &GetPartsList() { return FPartsList; }

    // Forgets the parts (the item goes whole to another page).
    virtual void ResetPages(TVDFootnoteListPtr &footnoteVDDataList,
                            int32_t &releasedHeightAfterFootnotes, bool footnotesChangeHeight);
    virtual void UnformatLastPage(TVDFootnoteListPtr &, int32_t &, bool) {}
    // The footnotes of the item's content join (leave) the page's list; with
    // footnotesChangeHeight their heights, and the separator's with the list, come off
    // (back to) height.
    virtual void AddAllFootnotes(TVDFootnoteListPtr &, int32_t &, bool) {}
    // Takes the heights of the content's footnotes off height (the separator's too when
    // thisPageHasFootnotes was false, which it becomes); stops once height is negative.
    virtual void DecHeightByFootnotes(int32_t &, bool &) {}
    virtual void RemoveAllFootnotes(TVDFootnoteListPtr &, int32_t &, bool) {}
    // The part that shows a position of one of the item's sub-documents; false here (partNo
    // -1, localPageCount 0, ptVDData null).
    virtual bool GetPartNo(TCustomVDData *vdData, int32_t itemNo, int32_t offsInItem,
                           int32_t &partNo, int32_t &localPageNo, int32_t &localPageCount,
                           TCustomPrintableVDData *&ptVDData);
    virtual bool GetSubDocCoords(const TVDStoreSubVDData &, int32_t, rtl::TRect &, rtl::TRect &,
                                 rtl::TPoint &) {
        return false;
    }
    virtual int32_t GetLocalPageNoFor(const TVDStoreSubVDData &, int32_t) { return 1; }
    virtual TCustomPrintableVDData *GetPrintableVDDataFor(const TVDStoreSubVDData &) {
        return nullptr;
    }

private:
    TVDMultiDrawItemPartsList FPartsList;
};

// One page of a paginated document.
struct TVDPageInfo {
    int32_t StartY = 0;          // document Y at which the page's content begins
    int32_t StartDrawItemNo = 0; // the page's first draw item
    // 0: the page begins with a whole draw item; else the 1-based part of the multi-page draw
    // item StartDrawItemNo that begins the page.
    int32_t StartPart = 0;
    // Y of the items after the continued part when the page begins with a part.
    int32_t StartY2 = 0;
    int32_t DocumentHeight = 0; // height of the content placed on the page
    // The footnotes referenced on the page; null without any.
    TVDFootnoteListPtr FootnoteVDDataList;
    // The sidenote and text-box boxes drawn on the page; null without any.
    std::unique_ptr<TVDSidenoteList> Sidenotes;

    TVDPageInfo();
    ~TVDPageInfo();
    TVDPageInfo(const TVDPageInfo &) = delete;
    TVDPageInfo &operator=(const TVDPageInfo &) = delete;
    // The five integers; a new footnote list with the same documents; no sidenotes.
    void Assign(const TVDPageInfo &source);
};

// The pages of a document, 0-based (page numbers are 1-based).
class TVDPageCollection {
public:
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    TVDPageInfo &Add();
    // EListError "List index out of bounds (%d)" outside the collection.
    TVDPageInfo &Items(int32_t index) const;
    TVDPageInfo &Last() const { return Items(Count() - 1); }
    void Delete(int32_t index);
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TVDPageInfo>> FItems;
};

// A document formatted for a device that can draw one page of itself.
class TCustomPrintableVDData : public TViziVoduVDData {
public:
    explicit TCustomPrintableVDData(TVDScroller *viziVodu);
    ~TCustomPrintableVDData() override;

    // Working state of a page drawing: the page background in screen pixels, the draw item
    // being drawn, its paragraph, the text box being drawn, the top of the item being drawn.
    std::unique_ptr<gfx::TBitmap> FBackgroundBmp;
    TVDDrawLineInfo *FDrawItem = nullptr;
    const TParaInfo *FParaStyle = nullptr;
    TCustomVDItemInfo *FTextBoxItem = nullptr;
    int32_t FItemTop = 0;
    // The job's page being drawn by DrawPage; 0 outside.
    int32_t FDrawnGlobalPageNo = 0;
    // The parent paints this document's background.
    bool ParentDrawsBack = false;

    bool SharesItems() const override { return true; }
    TVDBackground *GetBackground() override { return nullptr; }

    // The document Y shown at Y 0 of the page (the top of the printable area); GetTopCoord2 for
    // the items after a continued part.
    virtual int32_t GetTopCoord(int32_t, int32_t) { return 0; }
    virtual int32_t GetTopCoord2(int32_t, int32_t) { return 0; }
    virtual int32_t GetPrintableAreaTop(int32_t) { return 0; }
    virtual int32_t GetPrintableAreaLeft(int32_t) { return 0; }
    virtual int32_t GetVOffsInRotatedCell() { return 0; }
    // Layers under and over the text of a page; hasContent: the page shows printable items.
    virtual void DrawBeforeText(gfx::TCanvas &, int32_t, bool, bool, bool) {}
    virtual void DrawAfterText(gfx::TCanvas &, int32_t, bool, bool) {}
    virtual void CheckPageNo(int32_t) {}
    virtual TVDColorMode GetColorMode() { return vdcmPrinterColor; }
    // The job's page being drawn (page fields print its number); 0 outside DrawPage.
    virtual int32_t GetDrawnGlobalPageNo() { return FDrawnGlobalPageNo; }
    // Told of each printed hyperlink with its page rectangle and of each printed checkpoint.
    virtual void DoHyperlinkPrinted(TCustomVDData *, int32_t, const rtl::TRect &) {}
    virtual void DoCheckpointPrinted(TCustomVDData *, int32_t, int32_t, int32_t) {}
    virtual bool PageExists(int32_t) { return true; }
    virtual bool IgnoreFootnotes() { return false; }
    virtual bool NoMetafiles() { return false; }
    virtual TCustomVDData *GetSourceVDDataForPrinting() { return nullptr; }
    virtual TCustomVDData *GetSourceVDDataForPrintingEx() { return GetSourceVDDataForPrinting(); }
    // The draw items of a page: here all of them, part -1 (the first begins whole).
    virtual void GetDrawItemsRange(int32_t pageNo, int32_t &startNo, int32_t &endNo, int32_t &part);
    // Draws local page pageNo as page globalPageNo of the job; preview: for the screen;
    // correction: the width correction of previewed text. Raises EViziVoduError "Style of
    // printable TViziVodu component is not assigned" without a style sheet. Every temporary
    // object is released also when drawing raises.
    virtual void DrawPage(int32_t pageNo, int32_t globalPageNo, gfx::TCanvas &canvas, bool preview,
                          bool correction);
    // Paints into bmp (screen pixels) what lies under a region of the page: the page background,
    // the current paragraph's background and, unless itemBackgroundLayer is 0, the current
    // item's own background. left, top: the region in screen pixels from the printable area's
    // corner (with relativeToItem: from the current draw item).
    virtual void DrawBackToBitmap(int32_t left, int32_t top, gfx::TBitmap &bmp,
                                  const TVDScreenAndDevice &sad, int32_t itemBackgroundLayer,
                                  bool relativeToItem, bool allowBitmaps, bool parentAllowBitmaps,
                                  int32_t pageNo);
    // The items printed: all of them here.
    virtual void GetPrintableItemsRange(int32_t &minItemNo, int32_t &maxItemNo);
    virtual int32_t GetContentHeightForPage(int32_t) { return GetHeight(); }
    // A printer canvas for pagination and drawing; null when none can be made.
    virtual std::unique_ptr<gfx::TCanvas> InitPrinterCanvas() { return nullptr; }
    virtual void DonePrinterCanvas(std::unique_ptr<gfx::TCanvas> &canvas) { canvas.reset(); }
    // Page-dependent item widths (page fields) for the pages from globalPageNo on.
    virtual void PostFormat(int32_t globalPageNo);
    virtual bool AllowTransparentDrawing() { return false; }
    // The resolutions this document is formatted and drawn with.
    virtual TVDScreenAndDevice GetPrintSaD();

    // The printing component of the control; null when the control is not a printable one.
    TCustomVDPrint *GetVDPrint();
    // Lets the page's items take their printed widths for that page (page-number and page-count
    // fields get their text).
    void PostFormatPage(int32_t pageNo, int32_t dispPageNo, int32_t pageCount);
    // The main document places the footnotes of its page pageNo (the component's
    // CalcFootnotesCoords); other documents do nothing.
    void DoCalcFootnotesCoords(TVDFootnoteRefList *references, int32_t pageNo);

    void GetSaDForCanvas(gfx::TCanvas &canvas, TVDScreenAndDevice &sad) override;

protected:
    // The page background under the text area: a picture (kept in FBackgroundBmp for the
    // page) or the page colour in the colour mode.
    void DrawPageBackground(gfx::TCanvas &canvas, int32_t pageNo, int32_t globalPageNo);
    // The paragraph under the piece being drawn: none in a text box, else that of the current
    // draw item, else FParaStyle.
    const TParaInfo *GetParaUnderDrawing();
    // Moves a region given from the current draw item to the printable area's corner.
    void ShiftToDrawItem(int32_t &left, int32_t &top, const TVDScreenAndDevice &sad,
                         int32_t pageNo);
    // Over what DrawBackToBitmap filled: the paragraph's translucent colour, then (unless
    // itemBackgroundLayer is 0) the current item's own background.
    void DrawBackLayersOver(int32_t left, int32_t top, gfx::TBitmap &bmp,
                            const TVDScreenAndDevice &sad, int32_t itemBackgroundLayer,
                            bool allowBitmaps, int32_t pageNo);
};

// A printable document with pages.
class TCustomMultiPagePtblVDData : public TCustomPrintableVDData {
public:
    using TCustomPrintableVDData::TCustomPrintableVDData;
    ~TCustomMultiPagePtblVDData() override;

    int32_t StreamSavePage = 0;
    // Null for a document that is never paginated.
    std::unique_ptr<TVDPageCollection> Pages;
    int32_t GetPagesCount() const { return Pages ? Pages->Count() : 0; }

    int32_t GetTopCoord(int32_t pageNo, int32_t globalPageNo) override;
    int32_t GetTopCoord2(int32_t pageNo, int32_t globalPageNo) override;
    bool PageExists(int32_t pageNo) override;
    void GetDrawItemsRange(int32_t pageNo, int32_t &startNo, int32_t &endNo,
                           int32_t &part) override;
    void PostFormat(int32_t globalPageNo) override;

    // Pagination hooks (neutral here): progress, where the document begins on its first and
    // on later pages, the height used on its last page.
    virtual void DoFormatting(int32_t, TVDPrintingStep) {}
    virtual int32_t GetStartAt() { return 0; }
    virtual int32_t GetNextStartAt() { return 0; }
    virtual void SetEndAt(int32_t) {}
    virtual void AdjustEndAt(int32_t) {}
    virtual bool CanMoveToNextPage() { return true; }
    virtual TVDSidenoteList *GetSidenoteList(int32_t pageNo);

    // Places draw items from i on the current page and begins the next page (the first call
    // makes page 1). The caller keeps the state between calls and calls again while i is below
    // the draw-item count: startAt is the page Y at which this document begins (0: the top of
    // the text area), startY the document Y of the current page's start, y a working position,
    // splitting whether draw item i is a multi-page item being continued, maxHeight the height
    // of the current page. Every page receives at least one line (or one part of a split item),
    // so pagination always ends.
    //
    // Footnotes (unless the document ignores them): each footnote reference placed on the page
    // adds its printable footnote document to footnoteVDDataList (made by the first one); with
    // footnotesChangeHeight its height, and the note separator's once per page, come off
    // maxHeight. Footnotes whose references move to the next page leave the list again. The
    // main document hands the list to the page it finishes, which places the footnotes.
    void FormatNextPage(int32_t &i, int32_t &startAt, int32_t &startY, int32_t &y, bool &splitting,
                        int32_t &maxHeight, TVDFootnoteListPtr &footnoteVDDataList,
                        bool footnotesChangeHeight);
    // Whether the beginning of this (formatted) document fits into height (its first run of
    // lines that must not be separated); used by table rows for cell contents and for
    // endnotes. With footnotesChangeHeight the footnotes of that beginning take their heights
    // (and the separator's, unless thisPageHasFootnotes) off height.
    bool CanPlaceFirstPageHere(int32_t &height, bool parentIsFirstItemOnPage,
                               const TVDScreenAndDevice &sad, bool thisPageHasFootnotes,
                               bool footnotesChangeHeight);
    // The page on which a position of this document (or of a sub-document inside a multi-page
    // draw item) is printed; false when it is on none. A document without pages answers 1.
    bool GetPageNo(TCustomVDData *vdData, int32_t itemNo, int32_t offsetInItem,
                   TCustomVDData *printSourceVDData, int32_t &pageNo, int32_t &localPageNo,
                   int32_t &localPageCount, TCustomPrintableVDData *&ptVDData);
    // The item and offset of the page's first draw item; extraData -1 when the page begins with
    // a whole item, else the soft-page-break data of the part that begins it.
    void GetFirstItemOnPageEx(int32_t pageNo, int32_t &itemNo, int32_t &offsetInItem,
                              int32_t &extraData);
    bool IsComplexSoftPageBreak(int32_t pageNo);
    void AssignComplexSoftPageBreakToItem(int32_t pageNo, TCustomVDFormattedData *vdData);

    // ---- Notes ----
    // The height of the note separator above footnotes and endnotes (the main control's).
    int32_t GetNoteSeparatorHeight();
    // The main control's printable document of a footnote; null when it has none.
    TVDFootnotePtblVDData *GetFootnoteVDData(const TVDFootnoteItemInfo *footnote);
    // The footnotes shown by draw items first .. last (those of multi-page draw items'
    // content included) join list when they are not in it yet: the first makes the list and,
    // with changeHeight, takes the separator's height off height; each takes its own height.
    // A footnote document joining is linked to this document and its draw item.
    void AddFootnotesOfDrawItems(int32_t first, int32_t last, TVDFootnoteListPtr &list,
                                 int32_t &height, bool changeHeight);
    // The footnotes of draw items first .. last leave list (freed when it empties); with
    // changeHeight their heights, and the separator's with the list, come back to height.
    void RemoveFootnotesOfDrawItems(int32_t first, int32_t last, TVDFootnoteListPtr &list,
                                    int32_t &height, bool changeHeight);
    // Takes the heights of the footnotes of draw items first .. last off height, the
    // separator's too when hasFootnotes was false (which it then becomes); stops once height
    // is negative.
    void DecHeightByFootnotesOfDrawItems(int32_t first, int32_t last, int32_t &height,
                                         bool &hasFootnotes);
    // The page rectangles of the horizontal and the vertical anchor of a floating box whose item
    // itemNo lies in ptVDData, for this document's page pageNo printed as page globalPageNo
    // (hAnchorRect: the left and right of the anchoring character; vAnchorRect: its line, its
    // paragraph on the page or the character). foundHere: the item lies in this document itself,
    // not in a sub-document of a multi-page draw item. False when the item is not on the page.
    // With relativeToCell, an item found in a table cell takes the cell for the page-like
    // anchors.
    bool GetAnchorObjectCoords(TCustomPrintableVDData *ptVDData, int32_t itemNo,
                               int32_t globalPageNo, int32_t pageNo, TVDHorizontalAnchor hAnchor,
                               TVDVerticalAnchor vAnchor, bool relativeToCell,
                               rtl::TRect &hAnchorRect, rtl::TRect &vAnchorRect, bool &foundHere);

protected:
    friend class TVDPaginator;
    bool BreakAllowedBefore(int32_t k, bool keep, int32_t linesPassed);
    // The anchor rectangles of an item of this document on its page pageNo.
    bool AnchorRectsHere(int32_t itemNo, int32_t globalPageNo, int32_t pageNo,
                         TVDVerticalAnchor vAnchor, rtl::TRect &hRect, rtl::TRect &vRect);
    // What moves draw item i of page pageNo (which begins at startNo, with part) from document
    // to page coordinates.
    void PageShift(int32_t i, int32_t globalPageNo, int32_t pageNo, int32_t startNo, int32_t part,
                   int32_t &dx, int32_t &dy);
    // The space before and after the paragraph of draw item i, printer pixels.
    int32_t ParaSpaceBefore(int32_t i);
    int32_t ParaSpaceAfter(int32_t i);
};

// The root document of the printing component's hidden control.
class TCustomMainPtblVDData : public TCustomMultiPagePtblVDData {
public:
    // control: the printable control being made (a TCustomPrintableVD once constructed).
    explicit TCustomMainPtblVDData(TVDScroller *control);
    ~TCustomMainPtblVDData() override;

    TCustomPrintableVD &GetPrintableControl() const;

    // The canvas of pagination and printing: made by InitPrinterCanvas (then owned here) or the
    // printer's own canvas while a job runs (not owned).
    gfx::TCanvas *PrinterCanvas = nullptr;
    std::unique_ptr<gfx::TCanvas> FOwnPrinterCanvas;
    // The source's top and bottom margins: printer pixels, and screen pixels as linked.
    int32_t TmpTMPix = 0, TmpBMPix = 0;
    int32_t FTopMarginPix = 0, FBottomMarginPix = 0;
    TVDScreenAndDevice PrnSad;
    bool Transparent = false; // no page colour
    // Margins of each page kind (left, top, right, bottom) from the printable area's edges.
    rtl::TRect TmpMNormal, TmpMFirstPage, TmpMEvenPages;
    // The unprintable border of the sheet.
    rtl::TRect PhysM;
    // The sheet's printable area of the last pagination, kept for drawing without a printer.
    int32_t PageWidthPix = 0, PageHeightPix = 0;
    int32_t ContentHeightNormal = 0, ContentHeightFirstPage = 0, ContentHeightEvenPages = 0;
    TVDColorMode ColorMode = vdcmPrinterColor;
    bool FIsDestinationReady = false;

    // The three phases of pagination; FormatPages answers the page count.
    void InitFormatPages();
    int32_t FormatPages();
    virtual void FinalizeFormatPages();
    virtual void InitPageMetrics();
    // The printable area of the sheet.
    virtual int32_t GetPageWidth() { return 0; }
    virtual int32_t GetPageHeight() { return 0; }

    // vdhftFirstPage for page 1 with a title page, vdhftEvenPages for even pages with facing
    // pages, else vdhftNormal.
    TVDHFType GetHFType(int32_t pageNo);
    const rtl::TRect &GetTmpM(TVDHFType hfType) const;
    const rtl::TRect &GetTmpMForPage(int32_t pageNo) { return GetTmpM(GetHFType(pageNo)); }
    int32_t GetContentHeightOfKind(TVDHFType hfType) const;
    rtl::TRect &TmpMOfKind(TVDHFType hfType);

    TCustomVDData *GetSourceVDDataForPrinting() override;
    TVDBackground *GetBackground() override;
    uint32_t GetColor() override;
    TVDColorMode GetColorMode() override { return ColorMode; }
    gfx::TCanvas *GetCanvas() override { return PrinterCanvas; }
    bool IgnorePageBreaks() override;
    void GetPrintableItemsRange(int32_t &minItemNo, int32_t &maxItemNo) override;
    TVDScreenAndDevice GetPrintSaD() override { return PrnSad; }
    int32_t GetPrintableAreaLeft(int32_t pageNo) override;
    int32_t GetPrintableAreaTop(int32_t pageNo) override;
    int32_t GetContentHeightForPage(int32_t pageNo) override;
    int32_t GetTopCoord(int32_t pageNo, int32_t globalPageNo) override;
    int32_t GetTopCoord2(int32_t pageNo, int32_t globalPageNo) override;
    // EViziVoduError "Invalid page number is specified for printing" outside 1 .. page count.
    void CheckPageNo(int32_t pageNo) override;
    int32_t GetStartAt() override;
    void SetEndAt(int32_t value) override;
    void AdjustEndAt(int32_t pageCount) override;
    void Clear() override;
    void DrawPage(int32_t pageNo, int32_t globalPageNo, gfx::TCanvas &canvas, bool preview,
                  bool correction) override;
    // With vdstFirstParaAborted (a page saved on its own) the stored list number and level of
    // the first paragraph.
    bool GetFirstParaListLevel(int32_t &listNo, int32_t &level) override;
    // The footnotes of page globalPageNo whose references are printed, with the separator above
    // the first when that one is printed.
    void DrawFootnotes(int32_t globalPageNo, gfx::TCanvas &canvas, bool preview);
};

// The root document of TPrintableVD: page metrics from the printer, headers and footers.
class TPrintableVDData : public TCustomMainPtblVDData {
public:
    explicit TPrintableVDData(TVDScroller *control);
    ~TPrintableVDData() override;

    // The clip region saved while the text area is clipped (ClipMargins).
    gfx::TRegion Rgn;
    bool RgnValid = false;
    bool RgnSaved = false;
    int32_t TmpLMMir = 0; // the left margin of mirrored (even) pages
    std::unique_ptr<TVDHeaderFooterVDData> Header, Footer, FirstPageHeader, FirstPageFooter,
        EvenPagesHeader, EvenPagesFooter;
    // Distances of the header from the top and of the footer from the bottom edge of the
    // sheet, in the control's units.
    TVDLength HeaderY = 10;
    TVDLength FooterY = 10;

    std::unique_ptr<TVDHeaderFooterVDData> &HeaderOrFooterSlot(TVDHFType hfType, bool isHeader);
    TVDHeaderFooterVDData *GetHeaderOrFooter(TVDHFType hfType, bool isHeader);
    // The header (footer) of the page's kind; a page whose kind has none has none (the normal
    // one does not stand in).
    TVDHeaderFooterVDData *GetHeaderForPage(int32_t pageNo);
    TVDHeaderFooterVDData *GetFooterForPage(int32_t pageNo);
    // f(kind, headerOrFooter) for each one set: by kind (normal, first page, even pages), the
    // header before the footer.
    template <class F> void ForEachHeaderFooter(F &&f) {
        for (const TVDHFType kind : {vdhftNormal, vdhftFirstPage, vdhftEvenPages}) {
            for (const bool isHeader : {true, false}) {
                if (TVDHeaderFooterVDData *hf = GetHeaderOrFooter(kind, isHeader)) {
                    f(kind, *hf);
                }
            }
        }
    }

    void InitPageMetrics() override;
    int32_t GetPageWidth() override;
    int32_t GetPageHeight() override;
    int32_t GetPrintableAreaLeft(int32_t pageNo) override;
    std::unique_ptr<gfx::TCanvas> InitPrinterCanvas() override;
    void DoFormatting(int32_t pageCompleted, TVDPrintingStep step) override;
    void DrawBeforeText(gfx::TCanvas &canvas, int32_t globalPageNo, bool preview, bool correction,
                        bool hasContent) override;
    void DrawAfterText(gfx::TCanvas &canvas, int32_t globalPageNo, bool preview,
                       bool hasContent) override;
    TCustomVDData *GetSourceVDDataForPrintingEx() override;
    TVDMarkerList *GetMarkers(bool allowCreate) override;

private:
    void FitMargins();
    void PlaceHeadersAndFooters();
    // The page rectangle and the text area of a global page (the page events).
    void GetPageRects(int32_t globalPageNo, rtl::TRect &pageRect, rtl::TRect &printAreaRect);
    // The prepaint or the postpaint event of the printing component, when it has one.
    void RaisePageEvent(bool prepaint, gfx::TCanvas &canvas, int32_t globalPageNo, bool preview);
};

// A document printed inside a rectangle of a page of its parent (a header, a footer, a table
// cell). It shares the items of its source document; size and place are set by its owner.
class TRectPtblVDData : public TCustomMultiPagePtblVDData {
public:
    TRectPtblVDData(TCustomPrintableVD *viziVodu, TCustomVDData *sourceDataForPrinting,
                    TCustomPrintableVDData *parentPrintData);
    ~TRectPtblVDData() override;

    TCustomVDData *FSourceDataForPrinting;
    TCustomPrintableVDData *FParentPrintData;
    int32_t Left = 0, Top = 0; // the rectangle on the page
    int32_t DX = 0, DY = 0;    // the content inside the rectangle
    int32_t Width = 0, Height = 0;
    int32_t VOffsInRotatedCell = 0;
    bool Transparent = false;
    bool ComplexBackground = false; // the owner draws a background picture under it
    gfx::TColor FColor = gfx::clNone;

    // The main printable document of the control.
    TCustomMainPtblVDData *GetMainPrintData() const;

    int32_t GetPrintableAreaLeft(int32_t) override { return Left + DX; }
    int32_t GetPrintableAreaTop(int32_t) override { return Top + DY; }
    int32_t GetVOffsInRotatedCell() override { return VOffsInRotatedCell; }
    int32_t GetTopCoord(int32_t pageNo, int32_t globalPageNo) override;
    int32_t GetTopCoord2(int32_t pageNo, int32_t globalPageNo) override;
    int32_t GetWidth() override { return Width; }
    int32_t GetHeight() override { return Height; }
    int32_t GetAreaWidth() override { return Width; }
    int32_t GetAreaHeight() override { return Height; }
    TVDScreenAndDevice GetPrintSaD() override;
    gfx::TCanvas *GetCanvas() override;
    std::unique_ptr<gfx::TCanvas> InitPrinterCanvas() override;
    TVDColorMode GetColorMode() override;
    // A cell drawn without a page of its own takes its parent's.
    int32_t GetDrawnGlobalPageNo() override;
    uint32_t GetColor() override { return FColor; }
    TVDDocRotation GetRotation() override;
    TVDStyle *GetVDStyle() override;
    TVDFlags GetFlags() override;
    int32_t GetLeftMargin() override { return 0; }
    int32_t GetRightMargin() override { return 0; }
    int32_t GetTopMargin() override { return 0; }
    int32_t GetBottomMargin() override { return 0; }
    int32_t GetMinTextWidth() override { return 0; }
    int32_t GetMaxTextWidth() override { return 0; }
    int32_t GetHOffs() override { return 0; }
    int32_t GetVOffs() override { return 0; }
    int32_t GetVDDataExtraVOffs() override { return 0; }
    int32_t GetVSmallStep() override { return 1; }
    int32_t GetFullDocumentHeight() override { return DocumentHeight; }
    bool IsVScrollBarExpected() override { return false; }
    void SetDocumentAreaSize(int32_t, int32_t, bool, bool) override {}
    void AdjustVScrollUnits() override {}
    void ScrollTo(int32_t, bool) override {}
    void HScrollTo(int32_t) override {}
    void DoHyperlinkPrinted(TCustomVDData *vdData, int32_t itemNo, const rtl::TRect &rect) override;
    void DoCheckpointPrinted(TCustomVDData *vdData, int32_t itemNo, int32_t x, int32_t y) override;
    bool IgnoreFootnotes() override;
    bool AllowTransparentDrawing() override;
    bool NoMetafiles() override;
    TCustomVDData *GetSourceVDDataForPrinting() override { return FSourceDataForPrinting; }
    TCustomVDData *GetParentData() override { return FParentPrintData; }
    TCustomVDData *GetAbsoluteParentData() override { return FParentPrintData; }
    TCustomVDData *GetRootData() override;
    TCustomVDData *GetAbsoluteRootData() override;
    bool UseVerticalFonts() override;
    void CreateFontInfoCache(gfx::TCanvas &, gfx::TCanvas &) override {}
    TVDFontInfoCache *GetFontInfoCache(gfx::TCanvas &canvas, gfx::TCanvas &formatCanvas,
                                       TCustomVDFormattedData *vdData) override;
    void DestroyFontInfoCache(TVDFontInfoCache *&cache) override;
    void DrawBackToBitmap(int32_t left, int32_t top, gfx::TBitmap &bmp,
                          const TVDScreenAndDevice &sad, int32_t itemBackgroundLayer,
                          bool relativeToItem, bool allowBitmaps, bool parentAllowBitmaps,
                          int32_t pageNo) override;

protected:
    // What lies under a region taken from the parent's page: drawParent(left, top) paints it
    // into bmp, the region moved to the printable area's corner. An opaque paragraph's colour
    // stands instead; the paragraph's and the item's layers come over either.
    void DrawBackOverParent(int32_t left, int32_t top, gfx::TBitmap &bmp,
                            const TVDScreenAndDevice &sad, int32_t itemBackgroundLayer,
                            bool relativeToItem, bool allowBitmaps, int32_t pageNo,
                            const std::function<void(int32_t, int32_t)> &drawParent);
};

// A header or a footer: formatted when the page metrics are made and drawn on every page of
// its kind. Its left and right margins (screen pixels) come from the document it shows.
class TVDHeaderFooterVDData : public TRectPtblVDData {
public:
    TVDHeaderFooterVDData(TCustomPrintableVD *viziVodu, TCustomVDData *sourceDataForPrinting,
                          TCustomPrintableVDData *parentPrintData);
    ~TVDHeaderFooterVDData() override;

    std::unique_ptr<TVDSidenoteList> Sidenotes;
    int32_t FLeftMargin = 0, FRightMargin = 0, FTopMargin = 0, FBottomMargin = 0;

    int32_t GetLeftMargin() override { return FLeftMargin; }
    int32_t GetRightMargin() override { return FRightMargin; }
    int32_t GetTopMargin() override { return FTopMargin; }
    int32_t GetBottomMargin() override { return FBottomMargin; }
    bool IgnoreFootnotes() override { return true; }
    TVDSidenoteList *GetSidenoteList(int32_t pageNo) override;
    // A cache of its own, made for the canvas it is formatted on.
    void CreateFontInfoCache(gfx::TCanvas &canvas, gfx::TCanvas &formatCanvas) override;
    TVDFontInfoCache *GetFontInfoCache(gfx::TCanvas &canvas, gfx::TCanvas &formatCanvas,
                                       TCustomVDFormattedData *vdData) override;
    void DestroyFontInfoCache(TVDFontInfoCache *&cache) override;
    void DrawBackToBitmap(int32_t left, int32_t top, gfx::TBitmap &bmp,
                          const TVDScreenAndDevice &sad, int32_t itemBackgroundLayer,
                          bool relativeToItem, bool allowBitmaps, bool parentAllowBitmaps,
                          int32_t pageNo) override;

private:
    std::unique_ptr<TVDFontInfoCache> FOwnCache;
};

// The document of a footnote, printed at the bottom of the page of its reference. Made for
// every footnote before pagination, formatted once at the text width; pagination hands it to
// the page of its reference and places it (Left, Top) there.
class TVDFootnotePtblVDData : public TRectPtblVDData {
public:
    using TRectPtblVDData::TRectPtblVDData;

    // 1-based position among the footnotes of its page: its number while numbers restart on
    // every page.
    int32_t IndexOnPage = 0;
    TVDFootnoteItemInfo *Footnote = nullptr;
    // The printable document and the draw item that reference the footnote on its page.
    TCustomVDFormattedData *FootnoteItemVDData = nullptr;
    int32_t FootnoteDItemNo = -1;

    bool IgnoreFootnotes() override { return true; }
    // The item of the main document that holds the reference (the table for a reference in a
    // cell); -1 before pagination has met the reference.
    int32_t GetReferenceRootItemNo() const;
};

// The draw item of a footnote reference while footnote numbers restart on every page: it
// knows the footnote's printable document of its page, whose position there is the number it
// prints.
class TVDFootnoteDrawItem : public TVDComplexLineHeightDrawLineInfo {
public:
    using TVDComplexLineHeightDrawLineInfo::TVDComplexLineHeightDrawLineInfo;
    TVDFootnotePtblVDData *DocumentVDData = nullptr;
};

// The box of a sidenote or text box placed on a page: FullRect is the content rectangle on the
// page (the box's background and border lie around it); the document is drawn at Left, Top.
class TVDSidenotePtblVDData : public TRectPtblVDData {
public:
    using TRectPtblVDData::TRectPtblVDData;

    rtl::TRect FullRect;
    TVDSidenoteItemInfo *Sidenote = nullptr;
    // The printable document that holds the sidenote item, and the item there.
    TCustomVDFormattedData *SidenoteItemVDData = nullptr;
    int32_t SidenoteItemNo = -1;

    bool IgnoreFootnotes() override { return true; }
};

// The sidenote and text-box boxes of a page (or of a header or footer); owns them.
class TVDSidenoteList : public TVDList<TVDSidenotePtblVDData> {};

// An endnote's document, paginated after the text as the text is (the control's width and
// margins), beginning at StartAt on its first page and at NextStartAt on the pages after;
// EndAt is where it ends on its last page (page Y below the text area's top and the source's
// top margin).
class TVDEndnotePtblVDData : public TCustomMultiPagePtblVDData {
public:
    TVDEndnotePtblVDData(TCustomPrintableVD *viziVodu, TVDEndnoteItemInfo *endnote);
    ~TVDEndnotePtblVDData() override;

    TVDEndnoteItemInfo *Endnote;
    int32_t StartAt = 0;
    int32_t NextStartAt = 0;
    int32_t EndAt = 0;
    // It begins on a sheet of its own.
    bool FromNewPage = false;

    TCustomMainPtblVDData &GetMainPrintData() const;
    // Its pages; one (empty) for an endnote without content.
    int32_t GetPageCountAtLeastOne() const { return std::max(GetPagesCount(), 1); }

    int32_t GetStartAt() override { return StartAt; }
    int32_t GetNextStartAt() override { return NextStartAt; }
    void SetEndAt(int32_t value) override { EndAt = value; }
    void AdjustEndAt(int32_t pageCount) override;
    bool CanMoveToNextPage() override { return false; }
    bool IgnoreFootnotes() override { return true; }
    int32_t GetTopCoord(int32_t pageNo, int32_t globalPageNo) override;
    int32_t GetTopCoord2(int32_t pageNo, int32_t globalPageNo) override;
    int32_t GetPrintableAreaLeft(int32_t pageNo) override;
    int32_t GetPrintableAreaTop(int32_t pageNo) override;
    TVDScreenAndDevice GetPrintSaD() override;
    gfx::TCanvas *GetCanvas() override;
    std::unique_ptr<gfx::TCanvas> InitPrinterCanvas() override;
    TVDColorMode GetColorMode() override;
    TCustomVDData *GetSourceVDDataForPrinting() override;
    TVDFlags GetFlags() override;
    TCustomVDData *GetParentData() override { return &GetMainPrintData(); }
    TCustomVDData *GetAbsoluteParentData() override { return &GetMainPrintData(); }
    TCustomVDData *GetRootData() override { return &GetMainPrintData(); }
    TCustomVDData *GetAbsoluteRootData() override { return &GetMainPrintData(); }
    int32_t GetTopMargin() override { return 0; }
    int32_t GetBottomMargin() override { return 0; }
    int32_t GetHOffs() override { return 0; }
    int32_t GetVOffs() override { return 0; }
    int32_t GetVDDataExtraVOffs() override { return 0; }
    int32_t GetVSmallStep() override { return 1; }
    int32_t GetFullDocumentHeight() override { return DocumentHeight; }
    bool IsVScrollBarExpected() override { return false; }
    void SetDocumentAreaSize(int32_t, int32_t, bool, bool) override {}
    void AdjustVScrollUnits() override {}
    void ScrollTo(int32_t, bool) override {}
    void HScrollTo(int32_t) override {}
    void CreateFontInfoCache(gfx::TCanvas &, gfx::TCanvas &) override {}
    TVDFontInfoCache *GetFontInfoCache(gfx::TCanvas &canvas, gfx::TCanvas &formatCanvas,
                                       TCustomVDFormattedData *vdData) override;

private:
    friend class TVDEndnoteList;
    // The page Y where its text begins on its page pageNo printed as globalPageNo: below the
    // text area's top and the source's top margin, at StartAt on its first page and at
    // NextStartAt on the later ones.
    int32_t TextTop(int32_t pageNo, int32_t globalPageNo);
};

// ---- Sidenotes and text boxes on pages (PtVDData_Sidenotes.cpp) ----
// Places a box for each sidenote and text box of doc's source: on the pages of the main
// document, or in the list of a header or footer (placed on a page of its kind). A box is made
// for each page that prints its item (a heading row repeated by a table gives several).
void PlaceSidenotes(TCustomMultiPagePtblVDData &doc, TCustomMainPtblVDData &main);
// Draws the boxes of one layer (below or above the text) of doc's page pageNo printed as page
// globalPageNo, those whose items are printed (doc's printable range); postFormat: each box is
// post-formatted for the page first (headers and footers).
void DrawSidenotes(TCustomMultiPagePtblVDData &doc, int32_t pageNo, int32_t globalPageNo,
                   TVDFloatPositionInText layer, gfx::TCanvas &canvas, bool preview,
                   bool correction, bool postFormat);

} // namespace vizivodu
