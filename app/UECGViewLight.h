// The ECG viewer window: loads one EDF recording and shows its 12 leads on a millimetre grid.
#pragma once

#include "app/UECGDrawing.h"

#include "platform/rtl/StringList.h"
#include "platform/rtl/System.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Label.h"
#include "platform/ui/Panel.h"
#include "platform/ui/SpeedButton.h"
#include "raster/controls/Raster_Image.h"
#include "raster/controls/Raster_RangeBars.h"

#include <array>
#include <memory>

namespace workbench {

// Sex ("М" or "Ж") and age from a patient field "<name>_<sex>_<birth date>_..." and the
// recording's start; the age is the whole number of 365.25-day years between the two dates,
// never negative. A field of fewer than three parts, or a birth date that parses neither in the
// locale's short date format nor as dd.MM.yyyy, leaves both blank.
struct TPatientInfo {
    rtl::UnicodeString Gender;
    rtl::UnicodeString Age;
};
TPatientInfo ParsePatientInfo(const rtl::UnicodeString &patientField, rtl::TDateTime recordStart);

// The viewer form. Made once and kept (its maker calls AfterConstruction, which runs
// FormCreate): setEdfFileName loads a recording (raising what the EDF reader raises), ShowModal
// shows it maximised. The view draws only while active; showing
// activates it and it stays active after closing, so later recordings draw when loaded.
class TFLightECGView : public ui::TForm {
public:
    explicit TFLightECGView(ui::TComponent *owner);
    ~TFLightECGView() override;

    void setEdfFileName(const rtl::UnicodeString &edfFN);
    bool GetActiveView() const { return FActive; }
    void SetActiveView(bool value);
    // Redraws the picture (only while active).
    void Redraw();

    // Components.
    ui::TPanel *pnlInfo;
    ui::TComboBox *cbScale;
    ui::TLabel *lblSpeed, *lblName, *lblPacName, *lblGender, *lblGenderV, *lblAge, *lblAgeV;
    ui::TPanel *pnlFiltered;
    ui::TSpeedButton *BtnFOn, *BtnFOff;
    ui::TPanel *ECGPanel;
    raster::TImage32 *ECG_Image;
    ui::TPanel *ScrollPanel_Vert;
    raster::TGaugeBar *ECG_Scroll_Vert;

    // State the tests look at.
    const TLeadData &GetDrawnData() const { return FECG_Data; }
    const TLeadData &GetFilteredData() const { return FiltECG_Data; }
    const TLeadData &GetRawData() const { return nonFiltECG_Data; }
    int32_t GetFrequency() const { return FFrequency; }
    int32_t GetLeadLength() const { return FLeadLength; }
    bool GetFilteredSignal() const { return filteredSignal; }
    TScanning GetScanning() const { return FDrawing.Scanning; }
    const std::vector<int32_t> &GetBaselines() const { return FDrawing.Baselines(); }
    const rtl::TStringList &GetFileLeadNames() const { return *fileLeadNames; }
    int32_t GetRedrawCount() const { return FRedrawCount; }
    int32_t GetPixelPerCentimetr() const { return FDrawing.PixelPerCentimetr(); }

    void cbScaleChange(ui::TComponent *sender);
    void BtnFOnClick(ui::TComponent *sender);

private:
    void CreateComponents();
    void CreateInfoBar();
    ui::TLabel *AddInfoLabel(int32_t left, int32_t width, const rtl::UnicodeString &text,
                             bool bold);
    void CreateImageArea();
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormDestroy();
    void CheckScroll_Vert();
    bool ScrollByWheel(int32_t wheelDelta);
    bool FitBitmapToImage();
    void CopyDrawnData();

    bool FActive = false;
    TLeadData FECG_Data;
    TLeadData nonFiltECG_Data;
    TLeadData FiltECG_Data;
    int32_t FFrequency = 250;
    int32_t FLeadLength = 0;
    int32_t PixelPerCentimetr = 0;
    uint8_t FLeadsCount = 0;
    rtl::UnicodeString pacname;
    std::unique_ptr<rtl::TStringList> fileLeadNames;
    bool filteredSignal = false;
    TECGDrawing FDrawing;
    int32_t FRedrawCount = 0;
    bool FRedrawing = false;
};

// The main window's entry: makes the viewer on first use (owned by owner, kept in viewer),
// loads the recording at path and shows the viewer modally. A recording that cannot be read
// raises before anything is shown.
void ShowEcgViewer(TFLightECGView *&viewer, ui::TComponent *owner, const rtl::UnicodeString &path);

} // namespace workbench
