// The report window: its components and style sheet, the page picture, printing and saving.
#include "app/UVDReportForm.h"

#include "app/UDesignPlacement.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/Printers.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Rounding.h"
#include "platform/rtl/SafeSave.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/PrintDialogs.h"

#include <algorithm>
#include <cerrno>

namespace workbench {

namespace {

struct TTextStyleSpec {
    const char16_t *Name;
    int32_t SizePoints;
    gfx::TFontStyles Style;
    gfx::TColor Color;
    bool Jump;
};

// "Normal text" and the three "Ast" styles keep the style sheet's default colour.
constexpr gfx::TColor DefaultTextColor = gfx::clWindowText;
constexpr gfx::TColor Blue = gfx::RGB(0, 0, 255);
constexpr gfx::TColor Maroon = gfx::RGB(128, 0, 0);
constexpr gfx::TColor Green = gfx::RGB(0, 128, 0);

const TTextStyleSpec ReportTextStyles[] = {
    {u"Normal text", 10, {}, DefaultTextColor, false},
    {u"Heading", 12, {gfx::fsBold}, Blue, false},
    {u"Bold", 10, {gfx::fsBold}, gfx::clBlack, false},
    {u"Keywords", 10, {gfx::fsItalic}, Maroon, false},
    {u"Jump 1", 10, {gfx::fsUnderline}, Green, true},
    {u"Jump 2", 10, {gfx::fsUnderline}, Green, true},
    {u"AstNormal", 10, {}, DefaultTextColor, false},
    {u"AstBold", 10, {gfx::fsBold}, DefaultTextColor, false},
    {u"AstSmall", 9, {}, DefaultTextColor, false},
    {u"heading Large", 16, {gfx::fsBold}, Blue, false},
};
// "heading Large" is based on "Heading".
constexpr int32_t HeadingLargeIndex = 9;
constexpr int32_t HeadingIndex = 1;

struct TParaStyleSpec {
    const char16_t *Name;
    vizivodu::TVDAlignment Alignment;
    int32_t LeftIndent, RightIndent;
    gfx::TColor Background;
};

const TParaStyleSpec ReportParaStyles[] = {
    {u"left align", vizivodu::vdaLeft, 2, 0, gfx::clNone},
    {u"Centered", vizivodu::vdaCenter, 0, 0, gfx::clNone},
    {u"right align", vizivodu::vdaRight, 0, 2, gfx::clNone},
    {u"red-right", vizivodu::vdaRight, 0, 2, gfx::RGB(255, 224, 224)},
    {u"green-right", vizivodu::vdaRight, 0, 2, gfx::RGB(208, 255, 208)},
};

const char16_t *const ReportJobTitle = u"Отчет ЗЕМБРАК";

} // namespace

void SetReportStyles(vizivodu::TVDStyle &sheet) {
    vizivodu::TFontInfos &texts = sheet.GetTextStyles();
    texts.Clear();
    for (const TTextStyleSpec &spec : ReportTextStyles) {
        vizivodu::TFontInfo &style = texts.Add();
        style.SetStyleName(spec.Name);
        style.SetFontName(u"Arial");
        style.SetSize(spec.SizePoints);
        style.SetStyle(spec.Style);
        style.SetColor(spec.Color);
        style.SetUnicode(true);
        if (spec.Jump) {
            style.SetJump(true);
            style.SetJumpCursor(sheet.GetJumpCursor());
        }
    }
    texts.GetItem(HeadingLargeIndex).SetBaseStyleNo(HeadingIndex);

    vizivodu::TParaInfos &paras = sheet.GetParaStyles();
    paras.Clear();
    for (const TParaStyleSpec &spec : ReportParaStyles) {
        vizivodu::TParaInfo &style = paras.Add();
        style.SetStyleName(spec.Name);
        style.SetAlignment(spec.Alignment);
        style.SetLeftIndent(spec.LeftIndent);
        style.SetRightIndent(spec.RightIndent);
        style.GetBackground().Color = spec.Background;
    }
    sheet.GetListStyles().Clear();
}

int32_t MMToPixels(int32_t mm, int32_t dpi) {
    return int32_t(rtl::Round(double(mm) * dpi * 5 / 127));
}

TVDReportForm::TVDReportForm(ui::TComponent *owner) : ui::TForm(owner) {
    SetName(u"VDReportForm");
    SetCaption(u"Просмотр с отчета");
    GetFont().SetName(u"Tahoma");
    GetFont().SetSize(8);
    SetPosition(ui::poScreenCenter);
    SetClientWidth(895);
    SetClientHeight(608);
    SetWindowState(ui::wsMaximized);
    DisableAlign();
    CreateActions();
    CreateButtons();
    CreateViewers();
    EnableAlign();
    OnShow = [this](ui::TComponent *s) { FormShow(s); };
    OnHide = [this](ui::TComponent *s) { FormHide(s); };
}

TVDReportForm::~TVDReportForm() = default;

void TVDReportForm::CreateActions() {
    ActionManager1 = new ui::TActionManager(this); // the actions and their list: the window's
    ActionManager1->SetStyle(u"Platform Default");

    FileSaveAs1 = new ui::TFileSaveAs(this);
    FileSaveAs1->SetActionList(ActionManager1);
    FileSaveAs1->SetCategory(u"File");
    FileSaveAs1->SetCaption(u"Сохранить...");
    ui::TSaveDialog &dialog = FileSaveAs1->GetDialog();
    dialog.SetDefaultExt(u"wmf");
    dialog.SetFilter(u"wmf files|*.wmf");
    dialog.SetTitle(u"Сохранение отчета в файл");
    dialog.SetOption(ui::ofOverwritePrompt, true);
    FileSaveAs1->OnAccept = [this](ui::TComponent *s) { FileSaveAs1Accept(s); };

    FilePrintSetup1 = new ui::TFilePrintSetup(this);
    FilePrintSetup1->SetActionList(ActionManager1);
    FilePrintSetup1->SetCategory(u"File");
    FilePrintSetup1->SetCaption(u"Принтер...");
    FilePrintSetup1->OnAccept = [this](ui::TComponent *) { FollowPrinterPage(); };

    FilePrintReport = new ui::TAction(this);
    FilePrintReport->SetActionList(ActionManager1);
    FilePrintReport->SetCategory(u"File");
    FilePrintReport->SetCaption(u"Печать...");
    FilePrintReport->OnExecute = [this](ui::TComponent *s) { FilePrintReportExecute(s); };
}

void TVDReportForm::CreateButtons() {
    TopPanel = Place<ui::TPanel>(this, this, ui::alTop, {0, 0, 895, 33});
    BtnSaveRep = Place<ui::TBitBtn>(this, TopPanel, ui::alLeft, {1, 1, 100, 31});
    BtnSaveRep->SetAction(FileSaveAs1);
    BtnPrintSetup = Place<ui::TBitBtn>(this, TopPanel, ui::alLeft, {101, 1, 100, 31});
    BtnPrintSetup->SetAction(FilePrintSetup1);
    BtnPrintRep = Place<ui::TBitBtn>(this, TopPanel, ui::alLeft, {201, 1, 100, 31});
    BtnPrintRep->SetAction(FilePrintReport);
}

void TVDReportForm::CreateViewers() {
    VDStyle1 = new vizivodu::TVDStyle(this); // owned by the window
    SetReportStyles(*VDStyle1);

    ZemVDReport = Place<vizivodu::TViziVodu>(this, this, ui::alTop, {0, 33, 895, 16});
    ZemVDReport->SetVisible(false);
    ZemVDReport->SetStyle(VDStyle1);
    ZemVDReport->SetDoInPaletteMode(vizivodu::vdpaCreateCopies);

    Image1 = Place<ui::TImage>(this, this, ui::alRight, {864, 49, 31, 559});
    Image1->SetVisible(false);

    VDPrint1 = new vizivodu::TVDPrint(this); // owned by the window
    VDPrint1->SetLeftMarginMM(10);
    VDPrint1->SetTopMarginMM(10);
    VDPrint1->SetRightMarginMM(10);
    VDPrint1->SetBottomMarginMM(10);
    VDPrint1->SetHeaderYMM(10);
    VDPrint1->SetFooterYMM(10);
    VDPrint1->SetFacingPages(true);
    VDPrint1->PreviewCorrection = true;
    VDPrint1->MetafileCompatibility = true;

    VDPrintPreview1 = Place<vizivodu::TVDPrintPreview>(this, this, ui::alClient, {0, 49, 864, 559});
    VDPrintPreview1->SetVDPrint(VDPrint1);
    VDPrintPreview1->SetBorderStyle(ui::bsSingle);
    VDPrintPreview1->SetWheelStep(20);
    // The pages are what the window shows; a screen reader reads them under its caption.
    VDPrintPreview1->SetAccessibleName(GetCaption());
}

const gfx::TMetafile *TVDReportForm::GetPagePicture() const {
    return dynamic_cast<const gfx::TMetafile *>(Image1->GetPicture().GetGraphic());
}

void TVDReportForm::FormShow(ui::TComponent *sender) {
    (void)sender;
    MarginsMM = {10, 10, 10, 10};
    HeaderYMM = 10;
    FooterYMM = 10;
    PageSizeMM = {210, 297};
    MeasurePage();
    RenderPagePicture(1);
    Loaded = true;
    // The keys turn the pages at once, without a click that would zoom.
    if (VDPrintPreview1->CanFocus()) {
        VDPrintPreview1->SetFocus();
    }
}

void TVDReportForm::FormHide(ui::TComponent *sender) {
    (void)sender;
    VDPrint1->Clear();
    ZemVDReport->ClearAll();
}

TVDReportForm::TPrinterPage TVDReportForm::CurrentPrinterPage() {
    const gfx::TPrinter &printer = gfx::Printer();
    return {printer.GetPrinterIndex(),
            printer.GetPaperSize(),
            printer.GetOrientation(),
            printer.GetPageWidth(),
            printer.GetPageHeight(),
            printer.GetDeviceCaps(gfx::LOGPIXELSX),
            printer.GetDeviceCaps(gfx::LOGPIXELSY)};
}

void TVDReportForm::PaginateReport() {
    FPaginatedFor = CurrentPrinterPage();
    VDPrint1->AssignSource(ZemVDReport);
    VDPrint1->FormatPages();
    VDPrintPreview1->SetPageNo(
        std::clamp(VDPrintPreview1->GetPageNo(), 1, std::max(1, VDPrint1->GetPagesCount())));
    VDPrintPreview1->UpdateView();
}

void TVDReportForm::FollowPrinterPage() {
    if (ZemVDReport->ItemCount() == 0 || CurrentPrinterPage() == FPaginatedFor) {
        return;
    }
    PaginateReport();
    if (Loaded) {
        RenderPagePicture(1);
    }
    VDPrintPreview1->Invalidate();
}

void TVDReportForm::FilePrintReportExecute(ui::TComponent *sender) {
    (void)sender;
    gfx::Printer().SetTitle(ReportJobTitle);
    ui::TPrintDialog dialog(nullptr);
    if (dialog.Execute(this)) {
        FollowPrinterPage();
        VDPrint1->Print(ReportJobTitle, dialog.GetCopies(), dialog.GetCollate());
    }
}

// An A4 sheet at the screen's resolution, drawn on a canvas whose reference device is the
// screen.
std::unique_ptr<gfx::TMetafile> TVDReportForm::CreatePageMetafile() const {
    auto metafile = std::make_unique<gfx::TMetafile>();
    metafile->SetWidth(MMToPixels(PageSizeMM.cx, gfx::ScreenPixelsPerInch));
    metafile->SetHeight(MMToPixels(PageSizeMM.cy, gfx::ScreenPixelsPerInch));
    return metafile;
}

void TVDReportForm::FillPageInfo(const gfx::TCanvas &canvas, TPageInfo &pageInfo) const {
    const int32_t dpiX = canvas.GetDeviceCaps(gfx::LOGPIXELSX);
    const int32_t dpiY = canvas.GetDeviceCaps(gfx::LOGPIXELSY);
    pageInfo.PageSize = {MMToPixels(PageSizeMM.cx, dpiX), MMToPixels(PageSizeMM.cy, dpiY)};
    pageInfo.Header = {-1, -1, -1, -1};
    pageInfo.Footer = {-1, -1, -1, -1};
    pageInfo.Doc = {MMToPixels(MarginsMM.Left, dpiX), MMToPixels(MarginsMM.Top, dpiY),
                    pageInfo.PageSize.cx - MMToPixels(MarginsMM.Right, dpiX),
                    pageInfo.PageSize.cy - MMToPixels(MarginsMM.Bottom, dpiY)};
}

void TVDReportForm::MeasurePage() {
    const std::unique_ptr<gfx::TMetafile> metafile = CreatePageMetafile();
    const gfx::TMetafileCanvas canvas(*metafile);
    FillPageInfo(canvas, PageInfo);
}

void TVDReportForm::DrawPage(gfx::TCanvas &canvas, int32_t pgNo, const TPageInfo &pageInfo) {
    if (pgNo >= 1 && pgNo <= VDPrint1->GetPagesCount()) {
        VDPrint1->DrawPreview(pgNo, canvas, pageInfo.Doc);
    }
}

// A white sheet with a black one-pixel frame, the page inside the margins.
void TVDReportForm::RenderPagePicture(int32_t pgNo) {
    const std::unique_ptr<gfx::TMetafile> metafile = CreatePageMetafile();
    {
        gfx::TMetafileCanvas canvas(*metafile);
        canvas.GetPen().SetColor(gfx::clBlack);
        canvas.GetBrush().SetColor(gfx::clWhite);
        canvas.Rectangle(0, 0, PageInfo.PageSize.cx, PageInfo.PageSize.cy);
        canvas.GetBrush().SetStyle(gfx::bsClear);
        DrawPage(canvas, pgNo, PageInfo);
    }
    Image1->GetPicture().SetGraphic(metafile.get());
}

void TVDReportForm::FileSaveAs1Accept(ui::TComponent *sender) {
    (void)sender;
    if (!GetPagePicture()) {
        MeasurePage();
        RenderPagePicture(1);
    }
    // Written beside the chosen file and renamed over it whole; a failure keeps the old file
    // and names the file and the reason.
    const std::vector<uint8_t> bytes = GetPagePicture()->EmfBytes();
    rtl::SaveBytesSafely(FileSaveAs1->GetDialog().GetFileName(), bytes.data(), bytes.size());
}

} // namespace workbench
