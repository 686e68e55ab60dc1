// The workbench's main window: the result-file bar, the signatories and report bars, the totals
// list grouped by code group, and the per-ECG list of the reference database.
#pragma once

#include "app/UContentForm.h"
#include "app/UECGViewLight.h"
#include "app/core/UWorkbenchData.h"
#include "controls/BvButton.h"
#include "controls/BvPanel.h"
#include "platform/ui/BitBtn.h"
#include "platform/ui/Button.h"
#include "platform/ui/Edit.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Image.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Panel.h"

#include <functional>

namespace workbench {

class TVDReportForm;

// The styled panel and glyph buttons of the result-file bar.
using TResTxtPanel = controls::TBvPanel;
using TResTxtButton = controls::TBvBitBtn;

// The tested program's name when none is given: 24 underscores, a blank line to sign on.
inline constexpr std::u16string_view NoProgramName = u"________________________";

// The window builds its components in its constructor; FormCreate (its OnCreate, run by
// AfterConstruction) loads the reference database from edfFolderName, the folder "EDF" beside
// the executable. When the database cannot be loaded, one message box names the path and the
// reason, and choosing a result file, the report and the viewer stay disabled; the lists then
// show an empty database. Messages go through the application's message box (the dialog
// handler in tests); errors the handlers do not catch reach the application's error display.
class TVDMainForm : public ui::TForm {
public:
    explicit TVDMainForm(ui::TComponent *owner);
    ~TVDMainForm() override;

    // Components, as the window's users and tests reach them.
    ui::TPanel *pnlTop;
    ui::TPanel *pnlLogo;
    ui::TImage *Image1;
    ui::TPanel *pnlLeft;
    TResTxtPanel *pnlResTxt;
    ui::TLabel *Label1;
    ui::TEdit *editResTxt;
    TResTxtButton *btnOpenResTxt;
    TResTxtButton *btnReloadResult;
    ui::TPanel *pnlJury;
    ui::TBitBtn *btnJury;
    ui::TBitBtn *btnMainSign;
    ui::TPanel *pnlReport;
    ui::TLabel *Label3;
    ui::TEdit *edProgrName;
    ui::TButton *btnReport;
    ui::TListView *TotalLV;
    ui::TLabel *Label2;
    ui::TListView *lvResultContent;
    ui::TOpenDialog *OpenDialog1;

    // Event handlers.
    void FormCreate(ui::TComponent *sender);
    // Releases the database, the results, the counters and the signatory tables; leaves action
    // as it is, so closing the main window ends the program.
    void FormClose(ui::TComponent *sender, ui::TCloseAction &action);
    void btnOpenResTxtClick(ui::TComponent *sender);
    void btnReloadResultClick(ui::TComponent *sender);
    void btnJuryClick(ui::TComponent *sender);
    void btnMainSignClick(ui::TComponent *sender);
    void btnReportClick(ui::TComponent *sender);
    void lvResultContentDblClick(ui::TComponent *sender);
    void TotalLVCustomDrawItem(ui::TListView *sender, ui::TListItem *item,
                               ui::TCustomDrawState state, bool &defaultDraw);
    void TotalLVCustomDrawSubItem(ui::TListView *sender, ui::TListItem *item, int32_t subItem,
                                  ui::TCustomDrawState state, bool &defaultDraw);

    // Shows one ECG of the database (the path of its recording) in the viewer window, made on
    // first use and kept; a read failure propagates. Tests replace the viewer by setting
    // OnOpenEcgViewer.
    void OpenEcgViewer(const UnicodeString &path);
    std::function<void(TVDMainForm &form, const UnicodeString &path)> OnOpenEcgViewer;

    const TWorkbenchData &GetData() const { return FData; }
    const UnicodeString &GetEdfFolderName() const { return edfFolderName; }
    const UnicodeString &GetProgramName() const { return ProgramName; }
    const TSignatoryTable &GetConfirmer1() const { return Confirmer1; }
    const TSignatoryTable &GetConfirmer2() const { return Confirmer2; }
    const TSignatoryTable &GetJuryPeople1() const { return JuryPeople1; }
    const TSignatoryTable &GetJuryPeople2() const { return JuryPeople2; }
    // The report window; nullptr until the first report.
    TVDReportForm *GetReportForm() const { return VDReportForm; }
    // The report window, made now when there is none yet.
    TVDReportForm &CreateReportFormForTesting() { return ReportForm(); }

    // The database folder of windows created from now on (with its trailing separator); an
    // empty name goes back to the folder beside the executable.
    static void SetEdfFolderForTesting(const UnicodeString &folder);

private:
    void CreateTopPanel();
    void CreateResTxtBar();
    void CreateJuryBar();
    void CreateReportBar();
    void CreateTotalList();
    void CreateResultContentList();
    void SetTabOrders();
    void LoadLogo();
    void SetDatabaseActionsEnabled(bool enabled);
    void ShowData();
    void FillTotals();
    void FillResultContent();
    void ShowUserMessage(const UnicodeString &text);
    // Fills the report window (made on first use) with the report and paginates it.
    void BuildReport();
    TVDReportForm &ReportForm();

    TWorkbenchData FData;
    TFLightECGView *FLightECGView = nullptr;
    TVDReportForm *VDReportForm = nullptr; // owned by the window
    UnicodeString edfFolderName;
    UnicodeString ProgramName;
    TSignatoryTable Confirmer1;
    TSignatoryTable Confirmer2;
    TSignatoryTable JuryPeople1;
    TSignatoryTable JuryPeople2;
};

// The default database folder: the executable's folder, then "EDF" and a separator.
UnicodeString DefaultEdfFolderName();

} // namespace workbench
