// The report window: holds the report document that the report builder fills, previews its
// pages, prints them, and saves a picture of the first page as an enhanced metafile.
#pragma once

#include "platform/gfx/Metafile.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Types.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/BitBtn.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Image.h"
#include "platform/ui/Panel.h"
#include "platform/ui/StdActns.h"
#include "vizivodu/layout/printing/PtblVD.h"
#include "vizivodu/layout/printing/VDPP.h"
#include "vizivodu/layout/viewer/ViziVodu.h"
#include "vizivodu/styles/VDStyle.h"

#include <cstdint>
#include <memory>

namespace workbench {

using rtl::UnicodeString;

// The sheet measured in pixels: its size, the printable area (Doc), and the header and footer
// areas ((-1, -1, -1, -1): none).
struct TPageInfo {
    rtl::TSize PageSize{};
    rtl::TRect Doc{}, Header{}, Footer{};
};

// Gives a style sheet the report's ten text styles and five paragraph styles, replacing what
// it had; no list styles.
void SetReportStyles(vizivodu::TVDStyle &sheet);

// Millimetres to pixels at dpi pixels per inch: mm * dpi * 5 / 127, rounded half to even.
int32_t MMToPixels(int32_t mm, int32_t dpi);

// Made by the first report and then kept (owned by the main window). The report builder fills
// ZemVDReport and has VDPrint1 paginate it; the preview shows those pages. Showing the window
// measures an A4 sheet and renders page 1 into Image1; hiding it drops the pages and the
// document. The actions report failures through exceptions, which reach the application's
// error display.
class TVDReportForm : public ui::TForm {
public:
    explicit TVDReportForm(ui::TComponent *owner);
    ~TVDReportForm() override;

    ui::TPanel *TopPanel;
    ui::TBitBtn *BtnSaveRep;
    ui::TBitBtn *BtnPrintSetup;
    ui::TBitBtn *BtnPrintRep;
    vizivodu::TViziVodu *ZemVDReport;
    vizivodu::TVDPrintPreview *VDPrintPreview1;
    vizivodu::TVDPrint *VDPrint1;
    ui::TImage *Image1;
    vizivodu::TVDStyle *VDStyle1;
    ui::TActionManager *ActionManager1;
    ui::TFileSaveAs *FileSaveAs1;
    ui::TFilePrintSetup *FilePrintSetup1;
    ui::TAction *FilePrintReport;

    void FormShow(ui::TComponent *sender);
    void FormHide(ui::TComponent *sender);
    // Asks in the print dialog where to print (a PDF file when there is no CUPS printer) and how
    // many copies, collated or not, then prints every page as one job titled "Отчет ЗЕМБРАК",
    // paginated again first when the dialog chose a printer with another page.
    void FilePrintReportExecute(ui::TComponent *sender);
    // Gives VDPrint1 the formatted report document and cuts it into pages of the current
    // printer's sheet.
    void PaginateReport();
    // Paginates again when the current printer's sheet (printer, paper, orientation,
    // resolution) is not the one the pages were made for, so that the preview, the picture and
    // the printout show the same pages and nothing is cut off.
    void FollowPrinterPage();
    // Writes the page-1 picture under the name chosen in the save dialog: to a new temporary
    // file in the target folder, then renamed over the chosen name (the dialog has asked
    // before replacing a file). On failure the temporary file is removed, the chosen file
    // keeps its content, and the error is raised.
    void FileSaveAs1Accept(ui::TComponent *sender);

    const TPageInfo &GetPageInfo() const { return PageInfo; }
    bool IsLoaded() const { return Loaded; }
    // The picture of page 1 that Image1 holds; nullptr before the window was shown.
    const gfx::TMetafile *GetPagePicture() const;

private:
    void CreateActions();
    void CreateButtons();
    void CreateViewers();
    std::unique_ptr<gfx::TMetafile> CreatePageMetafile() const;
    void FillPageInfo(const gfx::TCanvas &canvas, TPageInfo &pageInfo) const;
    void MeasurePage();
    // Page pgNo (from 1) of VDPrint1 scaled into pageInfo.Doc; nothing when there is no such
    // page.
    void DrawPage(gfx::TCanvas &canvas, int32_t pgNo, const TPageInfo &pageInfo);
    void RenderPagePicture(int32_t pgNo);

    // The printer's sheet as pagination saw it.
    struct TPrinterPage {
        int32_t PrinterIndex = -1, Paper = 0, Orientation = 0;
        int32_t Width = 0, Height = 0, DpiX = 0, DpiY = 0;
        bool operator==(const TPrinterPage &) const = default;
    };
    static TPrinterPage CurrentPrinterPage();

    rtl::TRect MarginsMM{};
    int32_t HeaderYMM = 0;
    int32_t FooterYMM = 0;
    rtl::TSize PageSizeMM{};
    bool Loaded = false;
    TPageInfo PageInfo;
    TPrinterPage FPaginatedFor;
};

} // namespace workbench
