// The printing component: TVDPrint turns the document of a source viewer into printer pages. It
// never formats the source itself: its hidden control (TPrintableVD) shares the source's items,
// formats them for the printer's resolution and cuts them into pages; the component then sends
// a range of pages to the printer as one job (copies and collation made by drawing pages
// again), or draws one page scaled into a rectangle of any canvas (the preview, a bitmap, a
// metafile).
//
// Without a usable printer the pages are those of the built-in PDF printer (A4 at 600 dpi), so
// pagination, the preview and page pictures always work; only printing reports a missing
// printer. A job that fails while its pages are drawn is aborted: nothing half-made is sent.
//
// Lengths: printer pixels unless said otherwise; margins and header and footer positions are
// TVDLength values in Units. Everything runs on the user-interface thread; the component needs
// no window shown.
#pragma once

#include "vizivodu/layout/printing/PtVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"
#include "vizivodu/styles/VDStyle_Units.h"

#include <functional>
#include <memory>

namespace gfx {
class TBitmap;
}

namespace vizivodu {

class TCustomVDPrint;
class TVDDocParameters;
class TVDPrint;

// The printable documents of the source's footnotes, one per footnote, kept sorted by the
// identity of their footnote items (FindByFootnote is a binary search); owns them.
class TVDFootnoteList : public TVDList<TVDFootnotePtblVDData> {
public:
    explicit TVDFootnoteList(TCustomVDPrint *owner) : FOwner(owner) {}
    TCustomVDPrint *GetOwner() const { return FOwner; }
    void SortByFootnotes();
    // Null when the footnote has no document here.
    TVDFootnotePtblVDData *FindByFootnote(const TVDFootnoteItemInfo *footnote) const;

private:
    TCustomVDPrint *FOwner;
};

// A sheet that carries endnotes: the endnote continued or begun on it (an index in the endnote
// list) and that endnote's own page shown there; -1, -1 for a sheet without endnote text.
struct TVDEndnotePage {
    int32_t Index = -1;
    int32_t Page = -1;
};
class TVDEndnotePageList : public TVDList<TVDEndnotePage> {};

// The printable documents of the source's endnotes in document order, and the sheets they are
// laid out on after the text: entry 0 of Pages stands for the last page of the text, every
// further entry for a sheet of its own. Owns both (the pages are freed first).
class TVDEndnoteList : public TVDList<TVDEndnotePtblVDData> {
public:
    explicit TVDEndnoteList(TCustomVDPrint *owner) : FOwner(owner) {}
    ~TVDEndnoteList();
    TCustomVDPrint *GetOwner() const { return FOwner; }

    TVDEndnotePageList Pages;

    // Page-dependent widths of every endnote for the global pages it is printed on.
    void PostFormat();
    // Draws entry pageNo of Pages as global page globalPageNo: the note separator (short above
    // endnotes that follow the text, full width on sheets of their own), the endnote's page,
    // and the endnotes that begin after it on the same sheet. globalPageCount and
    // globalFirstPageNumber are accepted and not used.
    void DrawPage(int32_t globalPageNo, int32_t globalPageCount, int32_t globalFirstPageNumber,
                  int32_t pageNo, gfx::TCanvas &canvas, bool preview, bool correction);

private:
    TCustomVDPrint *FOwner;
};

// Which kinds of item a pagination draws; accepted and not used.
enum TVDDisplayOption : uint8_t { vddoImages, vddoComponents, vddoBullets };
using TVDDisplayOptions = rtl::TSet<TVDDisplayOption>;

using TVDPrintingEvent =
    std::function<void(TCustomViziVodu *sender, int32_t pageCompleted, TVDPrintingStep step)>;
using TVDPagePrepaintEvent =
    std::function<void(TVDPrint *sender, int32_t pageNo, gfx::TCanvas &canvas, bool preview,
                       const rtl::TRect &pageRect, const rtl::TRect &printAreaRect)>;
// A control item being printed asks for a picture of its control; leaving componentImage empty
// lets the item draw the control itself.
using TVDPrintComponentEvent = std::function<void(TCustomVDPrint *sender, ui::TControl *printMe,
                                                  std::unique_ptr<gfx::TBitmap> &componentImage)>;

// The hidden paginating control: not shown, no border, formats with the printer's resolution.
class TCustomPrintableVD : public TCustomViziVodu {
public:
    ~TCustomPrintableVD() override;

    TCustomVDPrint *GetVDPrint() const { return FVDPrint; }
    void SetVDPrint(TCustomVDPrint *value) { FVDPrint = value; }
    TCustomMainPtblVDData &GetPrintData() const;
    // The height of the note separator and the width of its line, printer pixels.
    int32_t GetNoteSeparatorHeight() const { return FNoteSeparatorHeight; }
    int32_t GetNoteLineWidth() const { return FNoteLineWidth; }

    void InitFormatPages();
    int32_t FormatPages();
    void FinalizeFormatPages();
    // Draws global page pageNo; nothing outside FirstPageNo .. LastPageNo of the component.
    // Outside pagination and printing a printer canvas is made for the call.
    void DrawPage(int32_t pageNo, gfx::TCanvas &canvas, bool preview, bool correction);
    // The note separator line above y: one third of the text width at the start of the line
    // direction, or the whole width with fullSize.
    void DrawNoteSeparatorAbove(int32_t pageNo, int32_t y, gfx::TCanvas &canvas, bool fullSize);
    // Sets the note separator's height and line width for the printer canvas of a pagination.
    void MeasureNoteSeparator();
    void ApplyLayoutInfo(const TVDLayoutInfo &layout) override;

    // The pages of the job: the text's and the endnotes' sheets after it.
    int32_t PagesCount() const;

    // ---- Notes (PtblVD_Notes.cpp) ----
    // The footnote and endnote documents of the last pagination; null when the source has none.
    TVDFootnoteList *GetFootnotes() const { return FFootnotes.get(); }
    TVDEndnoteList *GetEndnotes() const { return FEndnotes.get(); }
    // The sheets of endnotes after the last page of text (their first is that page).
    int32_t EndnoteSheets() const;
    TVDFootnotePtblVDData *GetFootnoteVDData(const TVDFootnoteItemInfo *footnote) const;
    // Places the footnotes of page pageNo against its bottom margin, in reference order, and
    // numbers them on the page; nothing for null.
    void CalcFootnotesCoords(TVDFootnoteRefList *references, int32_t pageNo);
    void FreeNotesLists();
    // Measures the note separator and makes a formatted document for every footnote.
    void PrepareFootnotes();
    // Footnotes that would stand above the end of their page's text (and its separator) move
    // down below it.
    void MoveFootnotesBelowText();
    // Lays the endnotes out after the text; answers the number of sheets beyond the last page
    // of text.
    int32_t FormatEndnotes();

protected:
    TCustomPrintableVD(ui::TComponent *owner, TMakeData makeData);
    void Paint() override {}

private:
    friend class TCustomVDPrint;
    // One sheet after the last page of text for the endnotes: its limit for endnote text (the
    // text area without the source's margins, above the page's footnotes and their separator).
    int32_t EndnoteLimit(int32_t pageNo, int32_t &available);
    // Paginates endnote index of the list from sheet on (both advanced to its last sheet).
    void PaginateEndnote(TVDEndnotePtblVDData &document, int32_t index, int32_t &sheet,
                         int32_t &limit);

    TCustomVDPrint *FVDPrint = nullptr;
    int32_t FNoteSeparatorHeight = 0;
    int32_t FNoteLineWidth = 0;
    std::unique_ptr<TVDEndnoteList> FEndnotes;
    std::unique_ptr<TVDFootnoteList> FFootnotes;
};

// The hidden control of TVDPrint: margins of the sheet, mirrored margins, facing pages and a
// title page.
class TPrintableVD : public TCustomPrintableVD {
public:
    explicit TPrintableVD(ui::TComponent *owner);

    bool MirrorMargins = false;
    bool FacingPages = false;
    bool TitlePage = false;
    TVDUnitsRect Margins;
    TVDUnits Units = vduMillimeters;

    TPrintableVDData &GetPrintableData() const;
    // Sends pages firstPgNo .. lastPgNo (narrowed to the component's FirstPageNo .. LastPageNo)
    // to the printer as one job named title. copies below 1 or an empty range start no job
    // and raise no events. A job that fails while its pages are drawn is aborted and the
    // error passes on; the printer's number of copies and the printer canvas field are
    // restored and the finishing event is raised in every case.
    void PrintPages(int32_t firstPgNo, int32_t lastPgNo, const rtl::UnicodeString &title,
                    int32_t copies, bool collate);
    void Print(const rtl::UnicodeString &title, int32_t copies, bool collate);
    // Prints every page into the job the caller has begun on the printer.
    void ContinuousPrint();

protected:
    // A descendant brings its own root document (a descendant of TPrintableVDData).
    TPrintableVD(ui::TComponent *owner, TMakeData makeData);

private:
    void DrawJobPages(int32_t firstPgNo, int32_t lastPgNo, int32_t copies, bool collate,
                      gfx::TCanvas &canvas);
};

// The printing component's base: page range, page numbers, drawing into any canvas.
class TCustomVDPrint : public ui::TComponent {
public:
    ~TCustomVDPrint() override;

    bool PreviewCorrection = true;
    // First and last item of the source document to print (-1: up to the last).
    int32_t MinPrintedItemNo = 0;
    int32_t MaxPrintedItemNo = -1;
    bool IgnorePageBreaks = false;
    int32_t PageNoFromNumber = 1; // the number printed for page 1
    bool MetafileCompatibility = false;
    TVDPrintComponentEvent OnPrintComponent;

    // The hidden control (owned through the component's ownership).
    TCustomPrintableVD &GetVD() const { return *vd; }
    // After a successful FormatPages; false after creation and Clear.
    bool GetReady() const { return Ready; }
    // Page Y at which the text starts on page 1 and ends on the last page.
    int32_t StartAt = 0;
    int32_t EndAt = 0;
    // 0 .. 9999, changed by every FormatPages: cached page pictures compare it.
    int32_t GetFormattingID() const { return FormattingID; }

    bool GetTransparentBackground() const;
    void SetTransparentBackground(bool value);
    TVDColorMode GetColorMode() const;
    void SetColorMode(TVDColorMode value);
    int32_t GetPagesCount() const;
    // The sheet's printable area in screen pixels.
    int32_t GetPreview100PercentWidth() const;
    int32_t GetPreview100PercentHeight() const;
    bool IsDestinationReady() const;
    // The page of MinPrintedItemNo (1 for 0); beyond the document PagesCount + 1, so that
    // nothing is printed.
    int32_t GetFirstPageNo() const;
    // The page of MaxPrintedItemNo, or PagesCount.
    int32_t GetLastPageNo() const;

    void Clear();
    virtual int32_t GetDispPageNo(int32_t pageNo) const { return pageNo + PageNoFromNumber - 1; }
    virtual TCustomViziVodu *GetSourceViziVodu() const { return vd; }
    // True skips the layout of endnotes.
    virtual bool IgnoreEndnotes() const { return false; }
    void GetFirstItemOnPage(int32_t pageNo, int32_t &itemNo, int32_t &offsetInItem) const;
    void GetFirstItemOnPageEx(int32_t pageNo, int32_t &itemNo, int32_t &offsetInItem,
                              int32_t &extraData) const;
    // The global page of a position in the source document or its sub-documents; -1 when it
    // is on none.
    int32_t GetPageNo(TCustomVDData *vdData, int32_t itemNo, int32_t offsetInItem) const;
    bool IsComplexSoftPageBreak(int32_t pageNo) const;
    void AssignComplexSoftPageBreakToItem(int32_t pageNo, TCustomVDFormattedData *vdData);
    // Draws page pgNo scaled so that the sheet's printable area fills pageRect: a white page,
    // then (for 1 <= pgNo <= PagesCount) the page. The canvas's mapping and font resolution are
    // as before afterwards, also when drawing raises. Nothing without a style sheet.
    void DrawPreview(int32_t pgNo, gfx::TCanvas &canvas, const rtl::TRect &pageRect);
    // The text area of the page scaled into pageRect, with the canvas's pen and brush.
    void DrawMarginsRect(gfx::TCanvas &canvas, const rtl::TRect &pageRect, int32_t pageNo);
    // The unprintable border of the sheet, printer or (screenResolution) screen pixels.
    void GetMinimalMargins(rtl::TRect &marginsRect, bool screenResolution) const;
    // The pages of the text; PagesCount adds the sheets of endnotes after them.
    int32_t GetMainPagesCount() const;

protected:
    using TMakeVD = TCustomPrintableVD *(*)(TCustomVDPrint &owner);
    TCustomVDPrint(ui::TComponent *owner, TMakeVD makeVD);
    void Loaded() override;

    TCustomPrintableVD *vd;
    bool Ready = false;
    int32_t FormattingID = 0;

private:
    friend class TPrintableVD;
    friend class TCustomPrintableVD;
};

// The printing component.
class TVDPrint : public TCustomVDPrint {
public:
    // Millimetres, all margins 20.
    explicit TVDPrint(ui::TComponent *owner);
    ~TVDPrint() override;

    TVDPrintingEvent OnFormatting;
    TVDPrintingEvent OnSendingToPrinter;
    TVDPagePrepaintEvent OnPagePrepaint;
    TVDPagePrepaintEvent OnPagePostpaint;
    bool ClipMargins = false;
    TVDFixMarginsMode FixMarginsMode = vdfmmAutoCorrect;

    TPrintableVD &GetPrintableVD() const { return static_cast<TPrintableVD &>(*vd); }
    TVDUnitsRect &GetMargins() const { return GetPrintableVD().Margins; }
    TVDUnits GetUnits() const { return GetPrintableVD().Units; }
    void SetUnits(TVDUnits value) { GetPrintableVD().Units = value; }
    bool GetMirrorMargins() const { return GetPrintableVD().MirrorMargins; }
    void SetMirrorMargins(bool value) { GetPrintableVD().MirrorMargins = value; }
    bool GetFacingPages() const { return GetPrintableVD().FacingPages; }
    void SetFacingPages(bool value) { GetPrintableVD().FacingPages = value; }
    bool GetTitlePage() const { return GetPrintableVD().TitlePage; }
    void SetTitlePage(bool value) { GetPrintableVD().TitlePage = value; }
    TVDLength GetHeaderY() const;
    void SetHeaderY(TVDLength value);
    TVDLength GetFooterY() const;
    void SetFooterY(TVDLength value);
    // The lengths in whole millimetres (read rounded to the nearest).
    int32_t GetLeftMarginMM() const;
    void SetLeftMarginMM(int32_t value);
    int32_t GetRightMarginMM() const;
    void SetRightMarginMM(int32_t value);
    int32_t GetTopMarginMM() const;
    void SetTopMarginMM(int32_t value);
    int32_t GetBottomMarginMM() const;
    void SetBottomMarginMM(int32_t value);
    int32_t GetHeaderYMM() const;
    void SetHeaderYMM(int32_t value);
    int32_t GetFooterYMM() const;
    void SetFooterYMM(int32_t value);

    TCustomViziVodu *GetSourceViziVodu() const override { return FPrintMe; }
    // Links the source viewer: the hidden control shares its items (no copy) and takes its style
    // sheet, palette mode, background, colour, bidirectional mode and left and right margins;
    // the source's top and bottom margins are added to every page. The link is dropped when
    // the source is destroyed.
    void AssignSource(TCustomViziVodu *printMe);
    // Paginates and answers the number of pages. options are accepted and not used.
    int32_t FormatPages(TVDDisplayOptions options = {});
    void Print(const rtl::UnicodeString &title, int32_t copies, bool collate);
    void PrintPages(int32_t firstPgNo, int32_t lastPgNo, const rtl::UnicodeString &title,
                    int32_t copies, bool collate);
    void ContinuousPrint();
    // Drops the pages and forgets the source viewer.
    void Clear();
    // Sets (vdData not null) or removes the header (footer) of a page kind; the old one is
    // freed. The header takes vdData's left and right margins. Another value of the type does
    // nothing.
    void SetHeader(TCustomVDFormattedData *vdData, TVDHFType headerType);
    void SetFooter(TCustomVDFormattedData *vdData, TVDHFType footerType);
    // The header (footer) used on the page, (0, 0, 0, 0) when no normal one is set or the
    // page's kind has none.
    rtl::TRect GetHeaderRect(int32_t pageNo);
    rtl::TRect GetFooterRect(int32_t pageNo);
    void AssignDocParameters(const TVDDocParameters &docParameters);
    void ConvertToUnits(TVDUnits units);
    // Sizes bmp to the 100 % preview and draws the page into it.
    void MakePreview(int32_t pgNo, gfx::TBitmap &bmp);
    void MakeScaledPreview(int32_t pgNo, gfx::TBitmap &bmp);

protected:
    // A descendant brings its own hidden control (and with it its own printable documents).
    TVDPrint(ui::TComponent *owner, TMakeVD makeVD);
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;
    // Older stored forms kept the margins and header and footer positions as whole
    // millimetres ("LeftMarginMM" ... "FooterYMM"); they are read, never written.
    void DefineProperties(rtl::TFiler &filer) override;

private:
    // Forgets the source viewer and drops the pages.
    void DropSource();
    // The boxes of the headers' and footers' sidenotes, made anew by each pagination.
    void FreeHeaderFooterSidenotes();
    TVDLength MMToUnits(int32_t mm) const;
    int32_t UnitsToMM(TVDLength value) const;
    void SetHeaderOrFooter(TCustomVDFormattedData *vdData, TVDHFType hfType, bool isHeader);
    rtl::TRect HeaderOrFooterRect(int32_t pageNo, bool isHeader);

    TCustomViziVodu *FPrintMe = nullptr;
};

} // namespace vizivodu
