// The ECG viewer window: loads one EDF recording and shows its 12 leads on a millimetre grid.
#include "app/UECGViewLight.h"

#include "ecg/UEDFImportHelper.h"
#include "ecg/UFilterer.h"
#include "ecg/ZavStringHelper.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Rounding.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace workbench {

namespace {

constexpr gfx::TColor kDarkBlue = gfx::RGB(0, 51, 102);
constexpr int64_t kMsPerAverageYear = 31557600000; // 365.25 days

bool ParseBirthDate(const rtl::UnicodeString &text, rtl::TDateTime &date) {
    return rtl::TryStrToDate(text, date, rtl::FormatSettings()) ||
           rtl::TryStrToDate(text, date, rtl::TFormatSettings::Russian());
}

// The first `length` samples of leads 1 .. `leads` of the record.
TLeadData RawLeadsOf(const ecg::TM12ECGObj &record, uint8_t leads, int32_t length) {
    TLeadData raw(leads, std::vector<int16_t>(size_t(std::max(length, 0))));
    for (uint8_t l = 0; l < leads; ++l) {
        for (int32_t j = 0; j < length; ++j) {
            raw[l][size_t(j)] = record.GetECG(uint8_t(l + 1), j + 1);
        }
    }
    return raw;
}

// The conditioner's leads, each cut to `length` samples (it conditions at least 1250).
TLeadData ConditionedLeadsOf(ecg::TM12ECGObj &record, uint8_t leads, int32_t length) {
    TLeadData filtered(leads, std::vector<int16_t>(size_t(std::max(length, 0))));
    auto filterer = std::make_unique<ecg::TFilterer>();
    filterer->setEGCType(0, 0, false);
    filterer->setSource(record);
    filterer->filterData();
    const auto lists = filterer->getFilteredData();
    for (size_t l = 0; l < lists.size() && l < filtered.size(); ++l) {
        const size_t n = std::min(lists[l].size(), filtered[l].size());
        std::copy_n(lists[l].begin(), n, filtered[l].begin());
    }
    return filtered;
}

} // namespace

TPatientInfo ParsePatientInfo(const rtl::UnicodeString &patientField, rtl::TDateTime recordStart) {
    const auto parts = ecg::SplitString(patientField, u"_");
    rtl::TDateTime birth = 0;
    if (parts->GetCount() < 3 || !ParseBirthDate((*parts)[2], birth)) {
        return {};
    }
    TPatientInfo info;
    info.Gender = (*parts)[1] == u"M" ? u"М" : u"Ж";
    // A span between the two dates: a birth date after the recording's start gives no negative age.
    const int64_t ms = std::llabs(rtl::RoundSaturated<int64_t>((recordStart - birth) * 86400000.0));
    info.Age = rtl::IntToStr(int32_t(ms / kMsPerAverageYear));
    return info;
}

// ---- The form -----------------------------------------------------------------------------

TFLightECGView::TFLightECGView(ui::TComponent *owner)
    : ui::TForm(owner), fileLeadNames(std::make_unique<rtl::TStringList>()) {
    SetCaption(u"Просмотр ЭКГ");
    GetFont().SetName(u"Tahoma");
    GetFont().SetSize(8);
    SetClientWidth(1019);
    SetClientHeight(588);
    SetConstraints({810, 610, 0, 0});
    SetPosition(ui::poMainFormCenter);
    SetWindowState(ui::wsMaximized);
    CreateComponents();
    OnCreate = [this](ui::TComponent *) { FormCreate(); };
    OnShow = [this](ui::TComponent *) { FormShow(); };
    OnResize = [this](ui::TComponent *) { FormResize(); };
    OnPaint = [this](ui::TComponent *) { Redraw(); };
    OnDestroy = [this](ui::TComponent *) { FormDestroy(); };
}

TFLightECGView::~TFLightECGView() = default;

void TFLightECGView::CreateComponents() {
    CreateInfoBar();
    CreateImageArea();
}

ui::TLabel *TFLightECGView::AddInfoLabel(int32_t left, int32_t width,
                                         const rtl::UnicodeString &text, bool bold) {
    auto *label = new ui::TLabel(this);
    label->SetParent(pnlInfo);
    label->SetLeft(left);
    label->SetAlign(ui::alLeft);
    label->SetLayout(ui::tlCenter);
    if (width > 0) {
        label->SetAutoSize(false);
        label->SetWidth(width);
    }
    if (bold) {
        label->GetFont().SetStyle({gfx::fsBold});
    }
    label->SetCaption(text);
    if (width == 0) {
        // A caption sized to its text would touch the value beside it ("Пациент:ECG0003").
        const int32_t captionGap = 4;
        const int32_t textWidth = label->GetWidth();
        label->SetAutoSize(false);
        label->SetWidth(textWidth + captionGap);
    }
    return label;
}

void TFLightECGView::CreateInfoBar() {
    pnlInfo = new ui::TPanel(this);
    pnlInfo->SetParent(this);
    pnlInfo->SetAlign(ui::alTop);
    pnlInfo->SetHeight(25);
    pnlInfo->SetBevelOuter(ui::bvNone);

    cbScale = new ui::TComboBox(this);
    cbScale->SetParent(pnlInfo);
    cbScale->SetLeft(0);
    cbScale->SetAlign(ui::alLeft);
    cbScale->SetWidth(100);
    cbScale->SetStyle(ui::csDropDownList);
    for (const char16_t *item : {u"2 mV/см", u"1 mV/см", u"0.5 mV/см"}) {
        cbScale->GetItems().Add(item);
    }
    cbScale->SetItemIndex(1);
    cbScale->OnChange = [this](ui::TComponent *s) { cbScaleChange(s); };

    lblSpeed = AddInfoLabel(100, 75, u"", true);
    lblName = AddInfoLabel(175, 0, u"Пациент:", false);
    lblPacName = AddInfoLabel(230, 110, u"", true);
    lblGender = AddInfoLabel(340, 0, u"Пол:", false);
    lblGenderV = AddInfoLabel(370, 37, u"", true);
    lblAge = AddInfoLabel(407, 0, u"Возраст:", false);
    lblAgeV = AddInfoLabel(460, 37, u"", true);

    pnlFiltered = new ui::TPanel(this);
    pnlFiltered->SetParent(pnlInfo);
    pnlFiltered->SetAlign(ui::alRight);
    pnlFiltered->SetWidth(331);
    pnlFiltered->SetCaption(u"Отображать фильтрованую ЭКГ");
    pnlFiltered->SetVisible(false);
    BtnFOff = new ui::TSpeedButton(this);
    BtnFOn = new ui::TSpeedButton(this);
    for (ui::TSpeedButton *b : {BtnFOn, BtnFOff}) {
        b->SetParent(pnlFiltered);
        b->SetAlign(ui::alRight);
        b->SetWidth(75);
        b->SetGroupIndex(1);
        b->SetVisible(false);
        b->OnClick = [this](ui::TComponent *s) { BtnFOnClick(s); };
    }
    BtnFOn->SetCaption(u"Да");
    BtnFOff->SetCaption(u"Нет");
    BtnFOn->SetDown(true);
}

void TFLightECGView::CreateImageArea() {
    ECGPanel = new ui::TPanel(this);
    ECGPanel->SetParent(this);
    ECGPanel->SetAlign(ui::alClient);
    ECGPanel->SetBevelOuter(ui::bvNone);

    ScrollPanel_Vert = new ui::TPanel(this);
    ScrollPanel_Vert->SetParent(ECGPanel);
    ScrollPanel_Vert->SetAlign(ui::alRight);
    ScrollPanel_Vert->SetWidth(15);
    ScrollPanel_Vert->SetBevelOuter(ui::bvNone);
    ScrollPanel_Vert->SetVisible(false);

    ECG_Image = new raster::TImage32(this);
    ECG_Image->SetParent(ECGPanel);
    ECG_Image->SetAlign(ui::alClient);
    ECG_Image->GetBitmap().SetResamplerClassName("TNearestResampler");
    ECG_Image->SetBitmapAlign(raster::baTopLeft);
    ECG_Image->SetScale(1.0f);
    ECG_Image->SetScaleMode(raster::smNormal);
    ECG_Image->OnMouseWheel = [this](ui::TComponent *, ui::TShiftState, int32_t delta, gfx::TPoint,
                                     bool &handled) { handled = ScrollByWheel(delta); };

    ECG_Scroll_Vert = new raster::TGaugeBar(this);
    ECG_Scroll_Vert->SetParent(ScrollPanel_Vert);
    ECG_Scroll_Vert->SetAlign(ui::alClient);
    ECG_Scroll_Vert->SetKind(raster::sbVertical);
    ECG_Scroll_Vert->SetStyle(raster::rbsMac);
    ECG_Scroll_Vert->SetBackgnd(raster::bgPattern);
    ECG_Scroll_Vert->SetBorderStyle(raster::bsNone);
    ECG_Scroll_Vert->SetHandleSize(20);
    ECG_Scroll_Vert->SetShowArrows(false);
    ECG_Scroll_Vert->SetShowHandleGrip(true);
    ECG_Scroll_Vert->SetPosition(0);
    ECG_Scroll_Vert->OnChange = [this](ui::TComponent *) { Redraw(); };
    // No label stands beside the bar; it scrolls the window's picture, named by its caption.
    ECG_Scroll_Vert->SetAccessibleName(GetCaption());
}

// The picture scrolls with the wheel as a document does: a notch away from the user shows the
// leads above, a centimetre of paper per notch (the gauge bar's own step is one pixel).
bool TFLightECGView::ScrollByWheel(int32_t wheelDelta) {
    if (!ScrollPanel_Vert->GetVisible()) {
        return false;
    }
    const int32_t step = std::max(FDrawing.PixelPerCentimetr(), 1);
    ECG_Scroll_Vert->SetPosition(ECG_Scroll_Vert->GetPosition() - step * wheelDelta / 120);
    return true;
}

void TFLightECGView::FormCreate() {
    FFrequency = 250;
    FDrawing.Scale = hs25;
    FDrawing.Scanning = vs1;
    FDrawing.Visible = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    ScrollPanel_Vert->SetColor(kDarkBlue);
    ECG_Scroll_Vert->SetColor(kDarkBlue);
    ECG_Scroll_Vert->SetVisible(true);
}

void TFLightECGView::FormShow() {
    SetActiveView(true);
    lblSpeed->SetCaption(rtl::FloatToStr(25.0) + u"мм/сек");
    lblPacName->SetCaption(pacname);
    BtnFOn->SetDown(true);
    filteredSignal = true;
    Redraw();
}

void TFLightECGView::FormResize() {
    SetActiveView(false);
    Redraw(); // nothing while inactive; the image control follows the form by its alignment
    SetActiveView(true);
}

void TFLightECGView::FormDestroy() {
    FECG_Data.clear();
    nonFiltECG_Data.clear();
    FiltECG_Data.clear();
    fileLeadNames->Clear();
}

void TFLightECGView::SetActiveView(bool value) {
    if (value == FActive) {
        return;
    }
    FActive = value;
    if (FActive) {
        ECG_Image->SetupBitmap(false, 0xFF000000u);
        FDrawing.RebuildGrid(ECG_Image->GetWidth(), ECG_Image->GetHeight());
        Redraw();
    }
}

void TFLightECGView::cbScaleChange(ui::TComponent *) {
    FDrawing.Scanning = TScanning(cbScale->GetItemIndex() + 1);
    Redraw();
}

void TFLightECGView::BtnFOnClick(ui::TComponent *sender) {
    const bool state = sender == BtnFOn;
    if (state == filteredSignal) {
        return;
    }
    filteredSignal = state;
    FECG_Data = filteredSignal ? FiltECG_Data : nonFiltECG_Data;
    Redraw();
}

// ---- Loading ------------------------------------------------------------------------------

namespace {

// The reader's messages name the field and the fault; the user also needs the file.
void ReadRecording(ecg::TEDFImportHelper &reader, const rtl::UnicodeString &edfFN) {
    try {
        reader.readEDF(edfFN);
    } catch (const rtl::Exception &e) {
        if (e.Message().find(edfFN) != rtl::UnicodeString::npos) {
            throw;
        }
        throw rtl::Exception(rtl::U("Ошибка в файле ") + edfFN + u"\r" + e.Message());
    }
}

} // namespace

void TFLightECGView::setEdfFileName(const rtl::UnicodeString &edfFN) {
    ecg::TEDFImportHelper reader;
    ReadRecording(reader, edfFN);
    std::unique_ptr<ecg::TM12ECGObj> record = reader.getM12ECG();
    auto names = std::make_unique<rtl::TStringList>();
    names->Assign(reader.getLeadNames());

    const rtl::UnicodeString fileName = rtl::ExtractFileName(edfFN);
    const rtl::UnicodeString ext = rtl::ExtractFileExt(fileName);
    const size_t cut = ext.empty() ? rtl::UnicodeString::npos : fileName.find(ext);
    const TPatientInfo patient = ParsePatientInfo(reader.getPacInfo(), record->GetInputDateTime());

    // More leads than the view has positions are not drawn.
    const uint8_t leads = std::min<uint8_t>(record->GetLeadsCount(), kMaxDrawnLeads);
    const int32_t length = int32_t(record->GetLenghtECGSec()) * record->GetFrequency();
    TLeadData raw = RawLeadsOf(*record, leads, length);
    TLeadData filtered = ConditionedLeadsOf(*record, leads, length);

    // Nothing of the previous recording stays once the new one has been read.
    fileLeadNames = std::move(names);
    pacname = fileName.substr(0, cut);
    lblPacName->SetCaption(pacname);
    lblGenderV->SetCaption(patient.Gender);
    lblAgeV->SetCaption(patient.Age);
    FFrequency = record->GetFrequency();
    FLeadsCount = leads;
    FLeadLength = length;
    nonFiltECG_Data = std::move(raw);
    FiltECG_Data = std::move(filtered);
    FECG_Data = nonFiltECG_Data;
    Redraw();
}

// ---- Drawing ------------------------------------------------------------------------------

void TFLightECGView::CheckScroll_Vert() {
    if (FDrawing.Baselines().empty()) {
        return;
    }
    auto onChange = std::move(ECG_Scroll_Vert->OnChange);
    ECG_Scroll_Vert->OnChange = nullptr;
    const TScrollSizing s =
        FDrawing.ScrollSizing(ECG_Image->GetHeight(), ECG_Scroll_Vert->GetPosition());
    if (s.Visible) {
        ECG_Scroll_Vert->SetPosition(s.Position);
        ECG_Scroll_Vert->SetMax(s.Max);
        ECG_Scroll_Vert->SetHandleSize(s.HandleSize);
        ScrollPanel_Vert->SetVisible(true);
    } else {
        ECG_Scroll_Vert->SetPosition(0);
        ECG_Scroll_Vert->SetMax(0);
        ScrollPanel_Vert->SetVisible(false);
    }
    ECG_Scroll_Vert->OnChange = std::move(onChange);
}

bool TFLightECGView::FitBitmapToImage() {
    raster::TBitmap32 &bitmap = ECG_Image->GetBitmap();
    if (bitmap.GetWidth() == ECG_Image->GetWidth() &&
        bitmap.GetHeight() == ECG_Image->GetHeight()) {
        return false;
    }
    // Mended: a bitmap left at its old size cut the right caption bar off once the gauge bar
    // appeared. The bitmap always matches the control, with a grid of the same size.
    ECG_Image->SetupBitmap(false, 0xFF000000u);
    FDrawing.RebuildGrid(ECG_Image->GetWidth(), ECG_Image->GetHeight());
    return true;
}

void TFLightECGView::Redraw() {
    if (!FActive || FRedrawing) {
        return;
    }
    FRedrawing = true;
    struct TReset {
        bool &flag;
        ~TReset() { flag = false; }
    } reset{FRedrawing};
    ++FRedrawCount;
    FDrawing.Leads = &FECG_Data;
    FDrawing.VisibleCount = FLeadsCount;
    FDrawing.Frequency = FFrequency;
    FDrawing.LeadLength = FLeadLength;
    FitBitmapToImage();
    raster::TBitmap32 &bitmap = ECG_Image->GetBitmap();
    {
        const rtl::TUpdateScope update(bitmap);
        FDrawing.Layout(ECG_Image->GetWidth(), ECG_Image->GetHeight());
        CheckScroll_Vert();
        if (FitBitmapToImage()) {
            // Showing or hiding the gauge bar resized the image: lay out for its new width.
            FDrawing.Layout(ECG_Image->GetWidth(), ECG_Image->GetHeight());
        }
        FDrawing.Paint(bitmap, ECG_Scroll_Vert->GetPosition());
        PixelPerCentimetr = FDrawing.PixelPerCentimetr();
    }
    ECG_Image->Repaint();
    ECG_Scroll_Vert->Repaint();
}

void ShowEcgViewer(TFLightECGView *&viewer, ui::TComponent *owner, const rtl::UnicodeString &path) {
    if (viewer == nullptr) {
        viewer = new TFLightECGView(owner); // owned by owner
        viewer->AfterConstruction();
    }
    viewer->setEdfFileName(path);
    viewer->ShowModal();
}

} // namespace workbench
