// The printing component: the hidden paginating control, print jobs, drawing pages into any
// canvas, page ranges, margins and headers and footers.
#include "vizivodu/layout/printing/PtblVD.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/document/VDError.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Printers.h"
#include "platform/rtl/Rounding.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Streaming.h"

#include <algorithm>
#include <cmath>

namespace vizivodu {

namespace {

std::unique_ptr<TViziVoduVDData> MakePrintableData(TCustomViziVodu &control) {
    return std::make_unique<TPrintableVDData>(&control); // the control is still being made
}

TCustomPrintableVD *MakePrintableVD(TCustomVDPrint &owner) {
    return new TPrintableVD(&owner);
}

// Lends the main document a printer canvas for one call when none is there (outside
// pagination and printing); takes it back also when an exception passes.
class TPrinterCanvasLoan {
public:
    explicit TPrinterCanvasLoan(TCustomMainPtblVDData &data) : FData(data) {
        if (!FData.PrinterCanvas) {
            FData.FOwnPrinterCanvas = FData.InitPrinterCanvas();
            FData.PrinterCanvas = FData.FOwnPrinterCanvas.get();
            FLent = true;
        }
    }
    ~TPrinterCanvasLoan() {
        if (FLent) {
            FData.PrinterCanvas = nullptr;
            FData.FOwnPrinterCanvas.reset();
        }
    }
    TPrinterCanvasLoan(const TPrinterCanvasLoan &) = delete;
    TPrinterCanvasLoan &operator=(const TPrinterCanvasLoan &) = delete;

private:
    TCustomMainPtblVDData &FData;
    bool FLent = false;
};

// Keeps the font resolution of a canvas and sets another for the drawing.
class TFontResolution {
public:
    TFontResolution(gfx::TCanvas &canvas, int32_t ppi)
        : FCanvas(canvas), FOld(canvas.GetFont().GetPixelsPerInch()) {
        if (ppi > 0) {
            FCanvas.GetFont().SetPixelsPerInch(ppi);
        }
    }
    ~TFontResolution() { FCanvas.GetFont().SetPixelsPerInch(FOld); }
    TFontResolution(const TFontResolution &) = delete;
    TFontResolution &operator=(const TFontResolution &) = delete;

private:
    gfx::TCanvas &FCanvas;
    int32_t FOld;
};

} // namespace

// ---- TCustomPrintableVD ----

TCustomPrintableVD::TCustomPrintableVD(ui::TComponent *owner, TMakeData makeData)
    : TCustomViziVodu(owner, makeData) {
    SetVisible(false);
    LeftMargin = RightMargin = TopMargin = BottomMargin = 0;
    // Items sized for the screen are converted to printer pixels (vdflPrinting); items that
    // print in parts (tables) make draw items of their own.
    Flags.Include(vdflShareContents);
    Flags.Include(vdflAllowCustomDrawItems);
    Flags.Include(vdflPrinting);
    Flags.Exclude(vdflUseJumps);
    Flags.Exclude(vdflCanUseCustomPPI);
    Flags.Exclude(vdflCanProcessGetText);
}

TCustomPrintableVD::~TCustomPrintableVD() {
    FreeNotesLists();
}

TCustomMainPtblVDData &TCustomPrintableVD::GetPrintData() const {
    return static_cast<TCustomMainPtblVDData &>(GetVDData());
}

void TCustomPrintableVD::InitFormatPages() {
    FreeNotesLists();
    GetPrintData().InitFormatPages();
}

int32_t TCustomPrintableVD::FormatPages() {
    return GetPrintData().FormatPages();
}

void TCustomPrintableVD::FinalizeFormatPages() {
    GetPrintData().FinalizeFormatPages();
}

// Sheets after the last page of text carry only endnotes (with the page's background, header
// and footer); endnotes are drawn only when the printed range reaches the end of the document.
void TCustomPrintableVD::DrawPage(int32_t pageNo, gfx::TCanvas &canvas, bool preview,
                                  bool correction) {
    if (FVDPrint && (pageNo < FVDPrint->GetFirstPageNo() || pageNo > FVDPrint->GetLastPageNo())) {
        return;
    }
    TCustomMainPtblVDData &data = GetPrintData();
    const int32_t mainPages = data.GetPagesCount();
    if (pageNo <= mainPages || pageNo > mainPages + EndnoteSheets()) {
        data.CheckPageNo(pageNo);
    }
    TPrinterCanvasLoan loan(data);
    TFontResolution resolution(canvas, data.PrnSad.ppiyDevice);
    data.DrawPage(pageNo, pageNo, canvas, preview, correction);
    if (!FEndnotes || !FVDPrint || pageNo < mainPages) {
        return;
    }
    const int32_t lastItem = data.ItemCount() - 1;
    if (lastItem >= FVDPrint->MinPrintedItemNo &&
        (FVDPrint->MaxPrintedItemNo < 0 || FVDPrint->MaxPrintedItemNo >= lastItem)) {
        FEndnotes->DrawPage(pageNo, FVDPrint->GetPagesCount(), FVDPrint->PageNoFromNumber,
                            pageNo - mainPages, canvas, preview, correction);
    }
}

// A grey line within the text width, half the separator's height above y; the short one starts
// where the line direction does.
void TCustomPrintableVD::DrawNoteSeparatorAbove(int32_t pageNo, int32_t y, gfx::TCanvas &canvas,
                                                bool fullSize) {
    TCustomMainPtblVDData &data = GetPrintData();
    const TVDScreenAndDevice &sad = data.PrnSad;
    const int32_t h = FNoteSeparatorHeight;
    int32_t x = data.GetPrintableAreaLeft(pageNo) + ScreenToDeviceX(LeftMargin, sad);
    int32_t wd = data.GetWidth() - ScreenToDeviceX(LeftMargin + RightMargin, sad);
    if (!fullSize) {
        if (GetBiDiMode() == vdbdRightToLeft) {
            x += wd - wd / 3;
        }
        wd /= 3;
    }
    gfx::TPen &pen = canvas.GetPen();
    pen.SetWidth(FNoteLineWidth);
    pen.SetStyle(gfx::psInsideFrame);
    pen.SetColor(gfx::TColor(0x808080));
    GetStyle()->GetGraphicInterface().Line(canvas, x + h / 2, y - h / 2, x + wd - h, y - h / 2);
}

// The separator's height is that of "-" in the printer canvas's font; its line one screen
// pixel.
void TCustomPrintableVD::MeasureNoteSeparator() {
    TCustomMainPtblVDData &data = GetPrintData();
    if (!data.PrinterCanvas || !GetStyle()) {
        return;
    }
    FNoteSeparatorHeight = GetStyle()->GetGraphicInterface().TextHeight(*data.PrinterCanvas, u"-");
    FNoteLineWidth = ScreenToDeviceY(1, data.PrnSad);
}

// A page saved on its own may begin or end inside a paragraph: the first paragraph keeps the
// list number and level it had in the whole document.
void TCustomPrintableVD::ApplyLayoutInfo(const TVDLayoutInfo &layout) {
    TCustomViziVodu::ApplyLayoutInfo(layout);
    TCustomMainPtblVDData &data = GetPrintData();
    if (layout.FirstParaAborted != 0) {
        data.State.Include(vdstFirstParaAborted);
        data.FFirstParaListNo = layout.FirstMarkerListNo;
        data.FFirstParaLevel = layout.FirstMarkerLevel;
    } else {
        data.State.Exclude(vdstFirstParaAborted);
        data.FFirstParaListNo = -1;
        data.FFirstParaLevel = -1;
    }
    if (layout.LastParaAborted != 0) {
        data.State.Include(vdstLastParaAborted);
    } else {
        data.State.Exclude(vdstLastParaAborted);
    }
}

// ---- TPrintableVD ----

TPrintableVD::TPrintableVD(ui::TComponent *owner) : TPrintableVD(owner, &MakePrintableData) {}

TPrintableVD::TPrintableVD(ui::TComponent *owner, TMakeData makeData)
    : TCustomPrintableVD(owner, makeData) {
    Margins.SetAll(20);
}

TPrintableVDData &TPrintableVD::GetPrintableData() const {
    return static_cast<TPrintableVDData &>(GetVDData());
}

void TPrintableVD::Print(const rtl::UnicodeString &title, int32_t copies, bool collate) {
    PrintPages(1, PagesCount(), title, copies, collate);
}

int32_t TCustomPrintableVD::PagesCount() const {
    return FVDPrint ? FVDPrint->GetPagesCount() : GetPrintData().GetPagesCount();
}

void TPrintableVD::PrintPages(int32_t firstPgNo, int32_t lastPgNo, const rtl::UnicodeString &title,
                              int32_t copies, bool collate) {
    TCustomVDPrint *print = GetVDPrint();
    if (print) {
        firstPgNo = std::max(firstPgNo, print->GetFirstPageNo());
        lastPgNo = std::min(lastPgNo, print->GetLastPageNo());
    }
    lastPgNo = std::min(lastPgNo, PagesCount());
    firstPgNo = std::max(firstPgNo, 1);
    if (copies < 1 || firstPgNo > lastPgNo) {
        return;
    }
    auto *vdPrint = dynamic_cast<TVDPrint *>(print);
    auto progress = [&](int32_t page, TVDPrintingStep step) {
        if (vdPrint && vdPrint->OnSendingToPrinter) {
            vdPrint->OnSendingToPrinter(this, page, step);
        }
    };
    gfx::TPrinter &printer = gfx::Printer();
    TCustomMainPtblVDData &data = GetPrintData();
    const int32_t oldCopies = printer.GetCopies();
    gfx::TCanvas *const oldCanvas = data.PrinterCanvas;
    struct TRestore {
        gfx::TPrinter &Printer;
        TCustomMainPtblVDData &Data;
        int32_t Copies;
        gfx::TCanvas *Canvas;
        std::function<void()> Finished;
        ~TRestore() {
            if (Printer.GetPrinting()) {
                Printer.Abort();
            }
            Printer.SetCopies(Copies);
            Data.PrinterCanvas = Canvas;
            Finished();
        }
    };
    if (print) {
        print->StartAt = 0;
    }
    progress(0, vdpsStarting);
    TRestore restore{printer, data, oldCopies, oldCanvas, [&] { progress(0, vdpsFinished); }};
    printer.SetTitle(title);
    printer.SetCopies(1); // copies and collation are made by drawing the pages again
    printer.BeginDoc();
    data.PrinterCanvas = &printer.GetCanvas();
    DrawJobPages(firstPgNo, lastPgNo, copies, collate, printer.GetCanvas());
    printer.EndDoc();
}

void TPrintableVD::DrawJobPages(int32_t firstPgNo, int32_t lastPgNo, int32_t copies, bool collate,
                                gfx::TCanvas &canvas) {
    auto *vdPrint = dynamic_cast<TVDPrint *>(GetVDPrint());
    const int32_t pages = lastPgNo - firstPgNo + 1;
    bool first = true;
    for (int32_t k = 0; k < pages * copies; ++k) {
        const int32_t pageNo = collate ? firstPgNo + k % pages : firstPgNo + k / copies;
        if (!first) {
            gfx::Printer().NewPage();
        }
        first = false;
        const int32_t level = canvas.SaveDC();
        DrawPage(pageNo, canvas, false, false);
        canvas.RestoreDC(level);
        if (vdPrint && vdPrint->OnSendingToPrinter) {
            vdPrint->OnSendingToPrinter(this, pageNo, vdpsProceeding);
        }
    }
}

void TPrintableVD::ContinuousPrint() {
    TCustomMainPtblVDData &data = GetPrintData();
    gfx::TPrinter &printer = gfx::Printer();
    if (!printer.GetPrinting()) {
        throw gfx::EPrinter("Printer is not currently printing");
    }
    const rtl::TValueScope canvas(data.PrinterCanvas, &printer.GetCanvas());
    for (int32_t pageNo = 1; pageNo <= PagesCount(); ++pageNo) {
        if (pageNo > 1) {
            printer.NewPage();
        }
        DrawPage(pageNo, printer.GetCanvas(), false, false);
    }
}

// ---- TCustomVDPrint ----

TCustomVDPrint::TCustomVDPrint(ui::TComponent *owner, TMakeVD makeVD) : ui::TComponent(owner) {
    vd = makeVD(*this);
    vd->SetVDPrint(this);
}

TCustomVDPrint::~TCustomVDPrint() = default;

void TCustomVDPrint::Loaded() {
    ui::TComponent::Loaded();
}

bool TCustomVDPrint::GetTransparentBackground() const {
    return vd->GetPrintData().Transparent;
}

void TCustomVDPrint::SetTransparentBackground(bool value) {
    vd->GetPrintData().Transparent = value;
}

TVDColorMode TCustomVDPrint::GetColorMode() const {
    return vd->GetPrintData().ColorMode;
}

void TCustomVDPrint::SetColorMode(TVDColorMode value) {
    vd->GetPrintData().ColorMode = value;
}

int32_t TCustomVDPrint::GetMainPagesCount() const {
    return vd->GetPrintData().GetPagesCount();
}

// The first sheet of endnotes is the last page of the text.
int32_t TCustomVDPrint::GetPagesCount() const {
    return GetMainPagesCount() + vd->EndnoteSheets();
}

int32_t TCustomVDPrint::GetPreview100PercentWidth() const {
    TCustomMainPtblVDData &data = vd->GetPrintData();
    return gfx::MulDiv(data.GetPageWidth(), data.PrnSad.ppixScreen,
                       std::max(1, data.PrnSad.ppixDevice));
}

int32_t TCustomVDPrint::GetPreview100PercentHeight() const {
    TCustomMainPtblVDData &data = vd->GetPrintData();
    return gfx::MulDiv(data.GetPageHeight(), data.PrnSad.ppiyScreen,
                       std::max(1, data.PrnSad.ppiyDevice));
}

bool TCustomVDPrint::IsDestinationReady() const {
    return vd->GetPrintData().FIsDestinationReady;
}

int32_t TCustomVDPrint::GetFirstPageNo() const {
    if (MinPrintedItemNo <= 0) {
        return 1;
    }
    TCustomMainPtblVDData &data = vd->GetPrintData();
    if (MinPrintedItemNo >= data.ItemCount()) {
        return GetPagesCount() + 1;
    }
    return std::max(1,
                    GetPageNo(&data, MinPrintedItemNo, data.GetOffsBeforeItem(MinPrintedItemNo)));
}

int32_t TCustomVDPrint::GetLastPageNo() const {
    TCustomMainPtblVDData &data = vd->GetPrintData();
    if (MaxPrintedItemNo < 0 || MaxPrintedItemNo >= data.ItemCount() - 1) {
        return GetPagesCount();
    }
    // The page on which the item ends: an item may run on over several pages.
    const int32_t pageNo =
        GetPageNo(&data, MaxPrintedItemNo, data.GetOffsAfterItem(MaxPrintedItemNo));
    return pageNo < 1 ? GetPagesCount() : pageNo;
}

void TCustomVDPrint::Clear() {
    vd->Clear();
    vd->FreeNotesLists();
    Ready = false;
}

void TCustomVDPrint::GetFirstItemOnPage(int32_t pageNo, int32_t &itemNo,
                                        int32_t &offsetInItem) const {
    int32_t extraData = -1;
    GetFirstItemOnPageEx(pageNo, itemNo, offsetInItem, extraData);
}

void TCustomVDPrint::GetFirstItemOnPageEx(int32_t pageNo, int32_t &itemNo, int32_t &offsetInItem,
                                          int32_t &extraData) const {
    vd->GetPrintData().GetFirstItemOnPageEx(pageNo, itemNo, offsetInItem, extraData);
}

int32_t TCustomVDPrint::GetPageNo(TCustomVDData *vdData, int32_t itemNo,
                                  int32_t offsetInItem) const {
    TCustomMainPtblVDData &data = vd->GetPrintData();
    int32_t pageNo = -1, localPageNo = -1, localPageCount = 0;
    TCustomPrintableVDData *ptVDData = nullptr;
    TCustomVDData *source = data.GetSourceVDDataForPrinting();
    if (!data.GetPageNo(vdData, itemNo, offsetInItem, source ? source : &data, pageNo, localPageNo,
                        localPageCount, ptVDData)) {
        return -1;
    }
    return pageNo;
}

bool TCustomVDPrint::IsComplexSoftPageBreak(int32_t pageNo) const {
    return vd->GetPrintData().IsComplexSoftPageBreak(pageNo);
}

void TCustomVDPrint::AssignComplexSoftPageBreakToItem(int32_t pageNo,
                                                      TCustomVDFormattedData *vdData) {
    vd->GetPrintData().AssignComplexSoftPageBreakToItem(pageNo, vdData);
}

// The sheet's printable area (printer pixels) is mapped onto pageRect; the canvas keeps its
// own mapping and font resolution outside the call.
void TCustomVDPrint::DrawPreview(int32_t pgNo, gfx::TCanvas &canvas, const rtl::TRect &pageRect) {
    if (!vd->GetStyle()) {
        return;
    }
    TCustomMainPtblVDData &data = vd->GetPrintData();
    const gfx::TCanvasStateGuard saved(canvas);
    vd->GetStyle()->GetGraphicInterface().FillColorRect(canvas, pageRect, gfx::clWhite);
    const int32_t pageWidth = data.GetPageWidth();
    const int32_t pageHeight = data.GetPageHeight();
    if (pgNo < 1 || pgNo > GetPagesCount() || pageWidth <= 0 || pageHeight <= 0 ||
        pageRect.Width() <= 0 || pageRect.Height() <= 0) {
        return;
    }
    canvas.IntersectClipRect(pageRect);
    const gfx::TPoint origin = canvas.LPtoDP(gfx::TPoint{pageRect.Left, pageRect.Top});
    const gfx::TPoint corner = canvas.LPtoDP(gfx::TPoint{pageRect.Right, pageRect.Bottom});
    canvas.SetMapMode(gfx::MM_ANISOTROPIC);
    canvas.SetWindowOrgEx(0, 0);
    canvas.SetWindowExtEx(pageWidth, pageHeight);
    canvas.SetViewportOrgEx(origin.X, origin.Y);
    canvas.SetViewportExtEx(corner.X - origin.X, corner.Y - origin.Y);
    vd->DrawPage(pgNo, canvas, false, PreviewCorrection);
}

// The sheet's printable area of the page (its margins around the text area) fills pageRect.
void TCustomVDPrint::DrawMarginsRect(gfx::TCanvas &canvas, const rtl::TRect &pageRect,
                                     int32_t pageNo) {
    TCustomMainPtblVDData &data = vd->GetPrintData();
    const rtl::TRect &m = data.GetTmpMForPage(pageNo);
    const int32_t w = data.GetWidth();
    const int32_t c = data.GetContentHeightForPage(pageNo);
    const int32_t l = data.GetPrintableAreaLeft(pageNo);
    const int32_t aw = m.Left + w + m.Right;
    const int32_t ah = c + m.Top + m.Bottom;
    if (aw <= 0 || ah <= 0 || !vd->GetStyle()) {
        return;
    }
    const int32_t pw = pageRect.Width(), ph = pageRect.Height();
    vd->GetStyle()->GetGraphicInterface().Rectangle(
        canvas, pageRect.Left + gfx::MulDiv(l, pw, aw), pageRect.Top + gfx::MulDiv(m.Top, ph, ah),
        pageRect.Left + gfx::MulDiv(l + w, pw, aw), pageRect.Top + gfx::MulDiv(c + m.Top, ph, ah));
}

void TCustomVDPrint::GetMinimalMargins(rtl::TRect &marginsRect, bool screenResolution) const {
    TCustomMainPtblVDData &data = vd->GetPrintData();
    marginsRect = data.PhysM;
    if (screenResolution) {
        const TVDScreenAndDevice &sad = data.PrnSad;
        marginsRect = rtl::Rect(
            DeviceToScreenX(marginsRect.Left, sad), DeviceToScreenY(marginsRect.Top, sad),
            DeviceToScreenX(marginsRect.Right, sad), DeviceToScreenY(marginsRect.Bottom, sad));
    }
}

// ---- TVDPrint ----

TVDPrint::TVDPrint(ui::TComponent *owner) : TVDPrint(owner, &MakePrintableVD) {}

TVDPrint::TVDPrint(ui::TComponent *owner, TMakeVD makeVD) : TCustomVDPrint(owner, makeVD) {}

void TVDPrint::DefineProperties(rtl::TFiler &filer) {
    TCustomVDPrint::DefineProperties(filer);
    using TSetter = void (TVDPrint::*)(int32_t);
    const std::pair<const char *, TSetter> legacy[] = {
        {"LeftMarginMM", &TVDPrint::SetLeftMarginMM},
        {"RightMarginMM", &TVDPrint::SetRightMarginMM},
        {"TopMarginMM", &TVDPrint::SetTopMarginMM},
        {"BottomMarginMM", &TVDPrint::SetBottomMarginMM},
        {"HeaderYMM", &TVDPrint::SetHeaderYMM},
        {"FooterYMM", &TVDPrint::SetFooterYMM}};
    for (const auto &entry : legacy) {
        const auto setter = entry.second;
        filer.DefineProperty(
            entry.first,
            [this, setter](rtl::TReader &reader) { (this->*setter)(reader.ReadInteger()); },
            nullptr);
    }
}

TVDPrint::~TVDPrint() {
    if (FPrintMe) {
        FPrintMe->RemoveFreeNotification(this);
    }
}

TVDLength TVDPrint::GetHeaderY() const {
    return GetPrintableVD().GetPrintableData().HeaderY;
}

void TVDPrint::SetHeaderY(TVDLength value) {
    GetPrintableVD().GetPrintableData().HeaderY = value;
}

TVDLength TVDPrint::GetFooterY() const {
    return GetPrintableVD().GetPrintableData().FooterY;
}

void TVDPrint::SetFooterY(TVDLength value) {
    GetPrintableVD().GetPrintableData().FooterY = value;
}

TVDLength TVDPrint::MMToUnits(int32_t mm) const {
    return ConvertVDUnits(vduMillimeters, GetUnits(), mm);
}

int32_t TVDPrint::UnitsToMM(TVDLength value) const {
    return static_cast<int32_t>(rtl::Round(ConvertVDUnits(GetUnits(), vduMillimeters, value)));
}

int32_t TVDPrint::GetLeftMarginMM() const {
    return UnitsToMM(GetMargins().Left);
}
void TVDPrint::SetLeftMarginMM(int32_t value) {
    GetMargins().Left = MMToUnits(value);
}
int32_t TVDPrint::GetRightMarginMM() const {
    return UnitsToMM(GetMargins().Right);
}
void TVDPrint::SetRightMarginMM(int32_t value) {
    GetMargins().Right = MMToUnits(value);
}
int32_t TVDPrint::GetTopMarginMM() const {
    return UnitsToMM(GetMargins().Top);
}
void TVDPrint::SetTopMarginMM(int32_t value) {
    GetMargins().Top = MMToUnits(value);
}
int32_t TVDPrint::GetBottomMarginMM() const {
    return UnitsToMM(GetMargins().Bottom);
}
void TVDPrint::SetBottomMarginMM(int32_t value) {
    GetMargins().Bottom = MMToUnits(value);
}
int32_t TVDPrint::GetHeaderYMM() const {
    return UnitsToMM(GetHeaderY());
}
void TVDPrint::SetHeaderYMM(int32_t value) {
    SetHeaderY(MMToUnits(value));
}
int32_t TVDPrint::GetFooterYMM() const {
    return UnitsToMM(GetFooterY());
}
void TVDPrint::SetFooterYMM(int32_t value) {
    SetFooterY(MMToUnits(value));
}

void TVDPrint::AssignSource(TCustomViziVodu *printMe) {
    if (FPrintMe == printMe) {
        return;
    }
    DropSource();
    if (!printMe) {
        return;
    }
    FPrintMe = printMe;
    printMe->FreeNotification(this);
    TPrintableVD &pvd = GetPrintableVD();
    TPrintableVDData &data = pvd.GetPrintableData();
    data.ShareItemsFrom(printMe->GetVDData());
    // Nothing is formatted while the settings come over: pagination formats for the printer.
    const rtl::TFlagScope skip(data.State, vdstSkipFormatting);
    pvd.LeftMargin = printMe->LeftMargin;
    pvd.RightMargin = printMe->RightMargin;
    data.FTopMarginPix = printMe->TopMargin;
    data.FBottomMarginPix = printMe->BottomMargin;
    pvd.SetStyle(printMe->GetStyle());
    pvd.SetBackgroundBitmap(printMe->GetBackground().GetImage());
    pvd.SetBackgroundStyle(printMe->GetBackgroundStyle());
    pvd.SetColor(printMe->GetColor());
    pvd.SetBiDiMode(printMe->GetBiDiMode());
}

// Every pagination gets a new formatting number, so cached page pictures see the change.
int32_t TVDPrint::FormatPages(TVDDisplayOptions) {
    if (FPrintMe) {
        FPrintMe->DoBeforeSaving(); // its save handlers finish what they hold before printing
    }
    Ready = false;
    FormattingID = (FormattingID + 1) % 10000;
    TPrintableVD &pvd = GetPrintableVD();
    FreeHeaderFooterSidenotes();
    if (!FPrintMe || !pvd.GetStyle()) {
        pvd.GetPrintData().Pages->Clear();
        return 0;
    }
    TCustomMainPtblVDData &data = pvd.GetPrintData();
    struct TFinalize {
        TCustomMainPtblVDData &Data;
        ~TFinalize() {
            if (Data.PrinterCanvas) {
                Data.DonePrinterCanvas(Data.FOwnPrinterCanvas);
                Data.PrinterCanvas = nullptr;
            }
        }
    } finalize{data};
    pvd.InitFormatPages();
    if (!data.FIsDestinationReady) {
        return 0;
    }
    pvd.PrepareFootnotes();
    int32_t count = pvd.FormatPages();
    pvd.MoveFootnotesBelowText();
    count += pvd.FormatEndnotes();
    PlaceSidenotes(data, data);
    if (TVDEndnoteList *endnotes = pvd.GetEndnotes()) {
        endnotes->PostFormat();
    }
    pvd.FinalizeFormatPages();
    Ready = true;
    return count;
}

void TVDPrint::Print(const rtl::UnicodeString &title, int32_t copies, bool collate) {
    GetPrintableVD().Print(title, copies, collate);
}

void TVDPrint::PrintPages(int32_t firstPgNo, int32_t lastPgNo, const rtl::UnicodeString &title,
                          int32_t copies, bool collate) {
    GetPrintableVD().PrintPages(firstPgNo, lastPgNo, title, copies, collate);
}

void TVDPrint::ContinuousPrint() {
    GetPrintableVD().ContinuousPrint();
}

void TVDPrint::Clear() {
    DropSource();
    FreeHeaderFooterSidenotes();
}

void TVDPrint::DropSource() {
    if (FPrintMe) {
        FPrintMe->RemoveFreeNotification(this);
        FPrintMe = nullptr;
    }
    TCustomVDPrint::Clear();
}

void TVDPrint::FreeHeaderFooterSidenotes() {
    GetPrintableVD().GetPrintableData().ForEachHeaderFooter(
        [](TVDHFType, TVDHeaderFooterVDData &hf) { hf.Sidenotes.reset(); });
}

void TVDPrint::SetHeader(TCustomVDFormattedData *vdData, TVDHFType headerType) {
    SetHeaderOrFooter(vdData, headerType, true);
}

void TVDPrint::SetFooter(TCustomVDFormattedData *vdData, TVDHFType footerType) {
    SetHeaderOrFooter(vdData, footerType, false);
}

void TVDPrint::SetHeaderOrFooter(TCustomVDFormattedData *vdData, TVDHFType hfType, bool isHeader) {
    if (hfType != vdhftNormal && hfType != vdhftFirstPage && hfType != vdhftEvenPages) {
        return;
    }
    TPrintableVDData &data = GetPrintableVD().GetPrintableData();
    std::unique_ptr<TVDHeaderFooterVDData> &slot = data.HeaderOrFooterSlot(hfType, isHeader);
    slot.reset();
    if (!vdData) {
        return;
    }
    slot = std::make_unique<TVDHeaderFooterVDData>(&GetPrintableVD(), vdData, &data);
    slot->ShareItemsFrom(*vdData);
    slot->FLeftMargin = vdData->GetLeftMargin();
    slot->FRightMargin = vdData->GetRightMargin();
}

rtl::TRect TVDPrint::GetHeaderRect(int32_t pageNo) {
    return HeaderOrFooterRect(pageNo, true);
}

rtl::TRect TVDPrint::GetFooterRect(int32_t pageNo) {
    return HeaderOrFooterRect(pageNo, false);
}

rtl::TRect TVDPrint::HeaderOrFooterRect(int32_t pageNo, bool isHeader) {
    TPrintableVDData &data = GetPrintableVD().GetPrintableData();
    if (!data.GetHeaderOrFooter(vdhftNormal, isHeader)) {
        return {};
    }
    TVDHeaderFooterVDData *hf =
        isHeader ? data.GetHeaderForPage(pageNo) : data.GetFooterForPage(pageNo);
    if (!hf) {
        return {};
    }
    const int32_t left = hf->Left + hf->DX, top = hf->Top + hf->DY;
    return rtl::Rect(left, top, left + hf->Width, top + hf->DocumentHeight);
}

// The lengths keep the component's units: they are converted from the parameters' ones.
void TVDPrint::AssignDocParameters(const TVDDocParameters &docParameters) {
    const TVDUnits from = docParameters.Units;
    const TVDUnits to = GetUnits();
    TVDUnitsRect &m = GetMargins();
    m.Left = ConvertVDUnits(from, to, docParameters.LeftMargin);
    m.Right = ConvertVDUnits(from, to, docParameters.RightMargin);
    m.Top = ConvertVDUnits(from, to, docParameters.TopMargin);
    m.Bottom = ConvertVDUnits(from, to, docParameters.BottomMargin);
    SetHeaderY(ConvertVDUnits(from, to, docParameters.HeaderY));
    SetFooterY(ConvertVDUnits(from, to, docParameters.FooterY));
    SetMirrorMargins(docParameters.MirrorMargins);
    SetFacingPages(docParameters.FacingPages);
    SetTitlePage(docParameters.TitlePage);
}

void TVDPrint::ConvertToUnits(TVDUnits units) {
    const TVDUnits old = GetUnits();
    if (old == units) {
        return;
    }
    GetMargins().ConvertToUnits(old, units);
    SetHeaderY(ConvertVDUnits(old, units, GetHeaderY()));
    SetFooterY(ConvertVDUnits(old, units, GetFooterY()));
    SetUnits(units);
}

void TVDPrint::MakePreview(int32_t pgNo, gfx::TBitmap &bmp) {
    const int32_t width = GetPreview100PercentWidth();
    const int32_t height = GetPreview100PercentHeight();
    bmp.SetSize(width, height);
    DrawPreview(pgNo, bmp.GetCanvas(), rtl::Rect(0, 0, width, height));
}

void TVDPrint::MakeScaledPreview(int32_t pgNo, gfx::TBitmap &bmp) {
    DrawPreview(pgNo, bmp.GetCanvas(), rtl::Rect(0, 0, bmp.GetWidth(), bmp.GetHeight()));
}

void TVDPrint::Notification(rtl::TComponent *component, rtl::TOperation operation) {
    TCustomVDPrint::Notification(component, operation);
    if (operation == rtl::opRemove && component == FPrintMe) {
        FPrintMe = nullptr;
        // The source's items are gone already: forget them without a look.
        vd->GetPrintData().StopSharingItems();
        TCustomVDPrint::Clear();
    }
}

} // namespace vizivodu
