// The main window's report: what the report builder is given, and the report window it fills.
#include "app/UMainForm.h"
#include "app/UReportBuilder.h"
#include "app/UVDReportForm.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/DateUtils.h"

namespace workbench {

TVDReportForm &TVDMainForm::ReportForm() {
    if (!VDReportForm) {
        VDReportForm = new TVDReportForm(this); // owned by the window
    }
    return *VDReportForm;
}

void TVDMainForm::BuildReport() {
    TReportInput input;
    input.ProgramName = ProgramName;
    input.DiaStat = &FData.GetDiaStat();
    input.DBCount = FData.GetDBCount();
    input.Confirmer1 = &Confirmer1;
    input.Confirmer2 = &Confirmer2;
    input.JuryPeople1 = &JuryPeople1;
    input.JuryPeople2 = &JuryPeople2;
    input.Logo = dynamic_cast<const gfx::TPngImage *>(Image1->GetPicture().GetGraphic());
    input.Date = rtl::Date();
    workbench::BuildReport(ReportForm(), input);
}

} // namespace workbench
