// The ECG viewer window: patient fields, loading, the picture it shows, the amplitude list, the
// gauge bar, the (hidden) filter buttons and showing one recording after another.
#include "app/UECGViewLight.h"

#include "AllocationFailure.h"
#include "EcgPictureSupport.h"

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/ui/DialogHandler.h"
#include "platform/ui/QtBridge_p.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

using namespace workbench;
using workbench::testing::ArmedAllocationFailed;
using workbench::testing::FailNextAllocationOfSize;

namespace {

rtl::UnicodeString Path(const std::string &p) {
    return rtl::UnicodeString(std::filesystem::path(p).u16string());
}

const std::string kReal = std::string(WB_TEST_DATA) + "/ecg/REAL12_250.edf";

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        rtl::SetFormatSettings(rtl::TFormatSettings::Russian());
        View = std::make_unique<TFLightECGView>(nullptr);
        View->AfterConstruction();
    }
    void TearDown() override {
        if (View) {
            View->BeforeDestruction();
        }
        View.reset();
    }

    // Shows the viewer modally; `during` runs while it is shown, then it closes.
    void ShowModally(const std::function<void()> &during) {
        ui::TDialogHandlerScope scope{{nullptr,
                                       [&](ui::TForm &) {
                                           during();
                                           return 2; // closed
                                       },
                                       nullptr}};
        View->ShowModal();
    }

    // A normal window of the designed client size, so pictures have a fixed size.
    void UseDesignedSize() {
        View->SetWindowState(ui::wsNormal);
        View->SetClientWidth(1019);
        View->SetClientHeight(588);
    }

    std::unique_ptr<TFLightECGView> View;
};

// Writes a 12-lead EDF file of `seconds` one-second records at 250 samples per second; sample
// k of lead l is 10 x l + k % 7.
void WriteSmallEdf(const std::filesystem::path &path, const std::string &patient, int seconds) {
    const int ns = 12, spr = 250;
    std::string h;
    const auto field = [&h](const std::string &text, size_t width) {
        std::string f = text.substr(0, width);
        f.resize(width, ' ');
        h += f;
    };
    field("0", 8);
    field(patient, 80);
    field("", 80);
    field("25.01.13", 8);
    field("10.00.00", 8);
    field(std::to_string(256 * (ns + 1)), 8);
    field("", 44);
    field(std::to_string(seconds), 8);
    field("1", 8);
    field(std::to_string(ns), 4);
    const char *labels[ns] = {"ECG I",  "ECG II", "ECG III", "ECG aVR", "ECG aVL", "ECG aVF",
                              "ECG V1", "ECG V2", "ECG V3",  "ECG V4",  "ECG V5",  "ECG V6"};
    const std::pair<std::string, size_t> same[] = {{"AgAgCl electrode", 80},
                                                   {"mV", 8},
                                                   {"-327.68", 8},
                                                   {"327.67", 8},
                                                   {"-32768", 8},
                                                   {"32767", 8},
                                                   {"", 80},
                                                   {std::to_string(spr), 8},
                                                   {"", 32}};
    for (int l = 0; l < ns; ++l) {
        field(labels[l], 16);
    }
    for (const auto &[text, width] : same) {
        for (int l = 0; l < ns; ++l) {
            field(text, width);
        }
    }
    for (int r = 0; r < seconds; ++r) {
        for (int l = 0; l < ns; ++l) {
            for (int k = r * spr; k < (r + 1) * spr; ++k) {
                const int16_t v = int16_t(10 * l + k % 7);
                h += char(v & 0xFF);
                h += char((v >> 8) & 0xFF);
            }
        }
    }
    wbtest::WriteFileBytes(path, h);
}

} // namespace

TEST(PatientInfo, GivesSexAndAgeInAverageYears) {
    rtl::SetFormatSettings(rtl::TFormatSettings::Russian());
    const rtl::TDateTime birth = rtl::StrToDate(u"01.03.1960");
    struct Case {
        const char16_t *field;
        double daysLater;
        const char16_t *gender, *age;
    } cases[] = {
        {u"ECG0001_M_01.03.1960", 14610, u"М", u"40"}, // 40 years spanning 10 leap days
        {u"ECG0001_M_01.03.1960", 14609, u"М", u"39"}, // 40 calendar years, 9 leap days
        {u"ECG0001_m_01.03.1960", 14610, u"Ж", u"40"}, // only "M" is male
        {u"ECG0001_F_01.03.1960_extra", 365.25 * 7 + 0.5, u"Ж", u"7"},
        {u"ECG0001_M_01.03.1960", -14610, u"М", u"40"}, // years between, whichever comes first
        {u"ECG0001_F", 14610, u"", u""},                // fewer than three parts
        {u"ECG0001_M_31.02.1960", 14610, u"", u""},     // not a date
        {u"", 14610, u"", u""},
    };
    for (const Case &c : cases) {
        const TPatientInfo info = ParsePatientInfo(c.field, birth + c.daysLater);
        EXPECT_EQ(info.Gender, c.gender) << rtl::Utf16ToUtf8(c.field) << " " << c.daysLater;
        EXPECT_EQ(info.Age, c.age) << rtl::Utf16ToUtf8(c.field) << " " << c.daysLater;
    }
}

TEST(PatientInfo, ReadsTheDatabaseDateFormWhenTheLocaleWritesDatesOtherwise) {
    rtl::SetFormatSettings(rtl::TFormatSettings::ForLocale("en_US.UTF-8"));
    const rtl::TDateTime start = rtl::StrToDate(u"1/25/2013");
    const TPatientInfo info = ParsePatientInfo(u"REAL12_F_25.01.1971", start);
    rtl::SetFormatSettings(rtl::TFormatSettings::Russian());
    EXPECT_EQ(info.Gender, u"Ж");
    EXPECT_EQ(info.Age, u"42");
}

TEST_F(ViewerTest, IsMadeWithItsDesignedComponents) {
    EXPECT_EQ(View->GetCaption(), u"Просмотр ЭКГ");
    EXPECT_EQ(View->GetWindowState(), ui::wsMaximized);
    EXPECT_EQ(View->GetClientWidth(), 1019);
    EXPECT_EQ(View->GetClientHeight(), 588);
    ASSERT_EQ(View->cbScale->GetItems().GetCount(), 3);
    EXPECT_EQ(View->cbScale->GetItems()[0], u"2 mV/см");
    EXPECT_EQ(View->cbScale->GetItems()[2], u"0.5 mV/см");
    EXPECT_EQ(View->cbScale->GetItemIndex(), 1);
    EXPECT_EQ(View->lblName->GetCaption(), u"Пациент:");
    EXPECT_EQ(View->lblGender->GetCaption(), u"Пол:");
    EXPECT_EQ(View->lblAge->GetCaption(), u"Возраст:");
    EXPECT_FALSE(View->pnlFiltered->GetVisible());
    EXPECT_FALSE(View->ScrollPanel_Vert->GetVisible());
    EXPECT_EQ(View->ECG_Scroll_Vert->GetHandleSize(), 20);
    EXPECT_EQ(View->GetScanning(), vs1);
    EXPECT_FALSE(View->GetActiveView());
}

TEST_F(ViewerTest, InfoBarFilterButtonsAndGaugeBarHaveTheirDesignedProperties) {
    EXPECT_EQ(View->GetConstraints().MinWidth, 810);
    EXPECT_EQ(View->GetConstraints().MinHeight, 610);
    EXPECT_EQ(View->GetFont().GetName(), u"Tahoma");
    EXPECT_EQ(View->GetFont().GetSize(), 8);
    EXPECT_EQ(View->pnlInfo->GetHeight(), 25);
    EXPECT_EQ(View->cbScale->GetWidth(), 100);
    EXPECT_EQ(View->cbScale->GetItems()[1], u"1 mV/см");
    EXPECT_EQ(View->cbScale->GetStyle(), ui::csDropDownList);
    struct LabelCase {
        ui::TLabel *label;
        int32_t width; // 0: sized to its text
        bool bold;
    } labels[] = {{View->lblSpeed, 75, true},    {View->lblName, 0, false},
                  {View->lblPacName, 110, true}, {View->lblGender, 0, false},
                  {View->lblGenderV, 37, true},  {View->lblAge, 0, false},
                  {View->lblAgeV, 37, true}};
    int32_t right = View->cbScale->GetWidth(); // left-aligned, in this order, side by side
    for (const LabelCase &c : labels) {
        const std::string name = rtl::Utf16ToUtf8(c.label->GetCaption());
        EXPECT_EQ(c.label->GetAlign(), ui::alLeft) << name;
        EXPECT_EQ(c.label->GetFont().GetStyle().Contains(gfx::fsBold), c.bold) << name;
        if (c.width > 0) {
            EXPECT_EQ(c.label->GetWidth(), c.width) << name;
        }
        EXPECT_GE(c.label->GetLeft(), right) << name;
        right = c.label->GetLeft() + c.label->GetWidth();
        if (c.width == 0) { // a caption keeps a blank between its text and the value beside it
            ui::TLabel probe(nullptr);
            probe.SetParent(View->pnlInfo);
            probe.SetCaption(c.label->GetCaption());
            EXPECT_GE(c.label->GetWidth(), probe.GetWidth() + 3) << name;
        }
    }
    EXPECT_EQ(View->pnlFiltered->GetWidth(), 331);
    EXPECT_EQ(View->pnlFiltered->GetCaption(), u"Отображать фильтрованую ЭКГ");
    EXPECT_EQ(View->BtnFOn->GetCaption(), u"Да");
    EXPECT_EQ(View->BtnFOff->GetCaption(), u"Нет");
    for (ui::TSpeedButton *b : {View->BtnFOn, View->BtnFOff}) {
        EXPECT_EQ(b->GetWidth(), 75);
        EXPECT_EQ(b->GetGroupIndex(), 1);
        EXPECT_FALSE(b->GetVisible());
    }
    EXPECT_TRUE(View->BtnFOn->GetDown());
    EXPECT_FALSE(View->BtnFOff->GetDown());
    EXPECT_EQ(View->ScrollPanel_Vert->GetWidth(), 15);
    EXPECT_EQ(View->ScrollPanel_Vert->GetColor(), gfx::RGB(0, 51, 102));
    EXPECT_EQ(View->ECG_Scroll_Vert->GetColor(), gfx::RGB(0, 51, 102));
    EXPECT_EQ(View->ECG_Scroll_Vert->GetKind(), raster::sbVertical);
    EXPECT_EQ(View->ECG_Scroll_Vert->GetStyle(), raster::rbsMac);
    EXPECT_EQ(View->ECG_Scroll_Vert->GetBackgnd(), raster::bgPattern);
    EXPECT_EQ(View->ECG_Scroll_Vert->GetBorderStyle(), raster::bsNone);
    EXPECT_FALSE(View->ECG_Scroll_Vert->GetShowArrows());
    EXPECT_TRUE(View->ECG_Scroll_Vert->GetShowHandleGrip());
    EXPECT_EQ(View->ECG_Image->GetBitmapAlign(), raster::baTopLeft);
    EXPECT_EQ(View->ECG_Image->GetScaleMode(), raster::smNormal);
    EXPECT_EQ(View->ECG_Image->GetBitmap().GetResamplerClassName(), "TNearestResampler");
}

TEST_F(ViewerTest, LoadsTheRawAndConditionedLeadsAndThePatient) {
    View->setEdfFileName(Path(kReal));
    EXPECT_EQ(View->lblPacName->GetCaption(), u"REAL12_250");
    EXPECT_EQ(View->lblGenderV->GetCaption(), u"Ж");
    EXPECT_EQ(View->lblAgeV->GetCaption(), u"42");
    EXPECT_EQ(View->GetFrequency(), 250);
    EXPECT_EQ(View->GetLeadLength(), 2500);
    EXPECT_EQ(View->GetFileLeadNames().GetCount(), 12);
    const TLeadData raw = ecgtest::ReadRawLeads(kReal.c_str());
    EXPECT_EQ(View->GetRawData(), raw);
    EXPECT_EQ(View->GetDrawnData(), raw); // the raw leads are drawn
    ASSERT_EQ(View->GetFilteredData().size(), 12u);
    EXPECT_EQ(View->GetFilteredData()[0].size(), 2500u);
    EXPECT_NE(View->GetFilteredData(), raw);
    EXPECT_EQ(View->GetRedrawCount(), 0); // inactive until shown
}

TEST_F(ViewerTest, ARecordShorterThanTheConditionedSpanKeepsOnlyItsOwnLength) {
    // 4 s at 250 samples per second: 1000 samples, fewer than the 1250 the conditioner makes.
    const wbtest::TTempFolder folder;
    const auto file = folder / "SHORT4.edf.edf"; // the name is cut at the first ".edf"
    WriteSmallEdf(file, "SHORT4_M_25.01.1971", 4);
    View->setEdfFileName(Path(file.string()));
    EXPECT_EQ(View->lblPacName->GetCaption(), u"SHORT4");
    EXPECT_EQ(View->lblGenderV->GetCaption(), u"М");
    EXPECT_EQ(View->lblAgeV->GetCaption(), u"42");
    EXPECT_EQ(View->GetLeadLength(), 1000);
    ASSERT_EQ(View->GetRawData().size(), 12u);
    ASSERT_EQ(View->GetFilteredData().size(), 12u);
    for (size_t l = 0; l < 12; ++l) {
        EXPECT_EQ(View->GetRawData()[l].size(), 1000u) << l;
        EXPECT_EQ(View->GetFilteredData()[l].size(), 1000u) << l;
        EXPECT_EQ(View->GetRawData()[l][999], int16_t(10 * l + 999 % 7)) << l;
    }
}

TEST_F(ViewerTest, AReadingFailureKeepsThePreviousRecording) {
    View->setEdfFileName(Path(kReal));
    EXPECT_ANY_THROW(View->setEdfFileName(Path(std::string(WB_TEST_DATA) + "/ecg/none.edf")));
    EXPECT_EQ(View->lblPacName->GetCaption(), u"REAL12_250");
    EXPECT_EQ(View->GetLeadLength(), 2500);
}

// Memory running out for the leads refuses the recording by name before its samples are read;
// the viewer keeps the recording it shows and never works on an empty one.
TEST_F(ViewerTest, ARecordingThatCannotBeHeldIsRefusedNamingItsFile) {
    View->setEdfFileName(Path(kReal));
    const wbtest::TTempFolder folder;
    const auto file = folder / "HUGE.edf";
    WriteSmallEdf(file, "HUGE_M_25.01.1971", 7);
    const int64_t samples = 7 * 250;
    FailNextAllocationOfSize(size_t(samples + (samples + 7) / 8)); // the first packed lead
    try {
        View->setEdfFileName(Path(file.string()));
        ADD_FAILURE() << "no error";
    } catch (const rtl::Exception &e) {
        const std::string message = rtl::Utf16ToUtf8(e.Message());
        EXPECT_NE(message.find(file.string()), std::string::npos) << message;
        EXPECT_NE(message.find("не помещается в памяти"), std::string::npos) << message;
    }
    EXPECT_TRUE(ArmedAllocationFailed());
    EXPECT_EQ(View->lblPacName->GetCaption(), u"REAL12_250");
    EXPECT_EQ(View->GetLeadLength(), 2500);
    EXPECT_EQ(View->GetRawData()[0].size(), 2500u);
}

// The reader names the faulty field; the message also names the file it is in.
TEST_F(ViewerTest, ADamagedRecordingsMessageNamesItsFile) {
    const wbtest::TTempFolder folder;
    const auto file = folder / "DAMAGED.edf";
    WriteSmallEdf(file, "DAMAGED_M_25.01.1971", 4);
    std::string bytes = wbtest::ReadFileBytes(file);
    bytes.replace(252, 4, "xx  "); // the number of signals
    wbtest::WriteFileBytes(file, bytes);
    try {
        View->setEdfFileName(Path(file.string()));
        ADD_FAILURE() << "no error";
    } catch (const rtl::Exception &e) {
        const rtl::UnicodeString head = rtl::U("Ошибка в файле ") + Path(file.string()) + u"\r";
        EXPECT_EQ(e.Message().substr(0, head.size()), head) << rtl::Utf16ToUtf8(e.Message());
        EXPECT_GT(e.Message().size(), head.size());
    }
    EXPECT_EQ(View->ECG_Scroll_Vert->GetAccessibleName(), u"Просмотр ЭКГ");
}

TEST_F(ViewerTest, ShowsTheRealRecordingWithTheGaugeBarForTheOverflow) {
    View->setEdfFileName(Path(kReal));
    UseDesignedSize();
    ShowModally([&] {
        EXPECT_TRUE(View->GetActiveView());
        EXPECT_EQ(View->lblSpeed->GetCaption(), u"25мм/сек");
        EXPECT_TRUE(View->ScrollPanel_Vert->GetVisible());
        EXPECT_EQ(View->ECG_Image->GetWidth(), 1019 - 15);
        EXPECT_EQ(View->ECG_Image->GetHeight(), 563);
        EXPECT_GT(View->ECG_Scroll_Vert->GetMax(), 0);
        EXPECT_EQ(View->ECG_Scroll_Vert->GetPosition(), 0);
        EXPECT_EQ(View->GetBaselines().size(), 13u);
        ecgtest::ExpectMatchesGolden(View->ECG_Image->GetBitmap(),
                                     "ecg_viewer_real12_1004x563.png");
        // The gauge bar scrolls the picture.
        const int32_t before = View->GetRedrawCount();
        const raster::TBitmap32 &b = View->ECG_Image->GetBitmap();
        const int32_t h = b.GetHeight();
        const int32_t second = ecgtest::BoundsOfBright(b, {0, 60, 20, h}).Top; // caption "II"
        View->ECG_Scroll_Vert->SetPosition(40);
        EXPECT_EQ(View->GetRedrawCount(), before + 1);
        EXPECT_EQ(ecgtest::BoundsOfBright(b, {0, second - 40, 20, h}).Top, second - 40);
        // The amplitude list rescales: at 2 mV/cm the leads fit and the gauge bar goes.
        View->cbScale->SelectForTesting(0);
        EXPECT_EQ(View->GetScanning(), vs2);
        EXPECT_FALSE(View->ScrollPanel_Vert->GetVisible());
        EXPECT_EQ(View->ECG_Image->GetWidth(), 1019);
        EXPECT_EQ(View->ECG_Image->GetBitmap().GetWidth(), 1019);
        View->cbScale->SelectForTesting(2);
        EXPECT_EQ(View->GetScanning(), vs05);
        EXPECT_TRUE(View->ScrollPanel_Vert->GetVisible());
    });
}

TEST_F(ViewerTest, ShowsAGeneratedRecordingAfterTheRealOne) {
    const std::string sample = std::string(WB_SAMPLE_DB_DIR) + "/ECG0001.edf";
    View->setEdfFileName(Path(kReal));
    UseDesignedSize();
    ShowModally([] {});
    // Closed, but still active: the next recording is drawn as soon as it is loaded.
    const int32_t before = View->GetRedrawCount();
    View->setEdfFileName(Path(sample));
    EXPECT_EQ(View->GetRedrawCount(), before + 1);
    ShowModally([&] {
        EXPECT_EQ(View->lblPacName->GetCaption(), u"ECG0001");
        EXPECT_EQ(View->lblGenderV->GetCaption(), u"М");
        EXPECT_EQ(View->lblAgeV->GetCaption(), u"55");
        const raster::TBitmap32 &b = View->ECG_Image->GetBitmap();
        ecgtest::ExpectMatchesGolden(b, "ecg_viewer_ecg0001_" + std::to_string(b.GetWidth()) + "x" +
                                            std::to_string(b.GetHeight()) + ".png");
    });
}

TEST_F(ViewerTest, FilterButtonsSwitchTheDrawnLeadsOnlyOnAChange) {
    View->setEdfFileName(Path(kReal));
    UseDesignedSize();
    ShowModally([&] {
        EXPECT_TRUE(View->GetFilteredSignal());              // the buttons say "Да" ...
        EXPECT_EQ(View->GetDrawnData(), View->GetRawData()); // ... while the raw leads show
        const int32_t before = View->GetRedrawCount();
        View->BtnFOnClick(View->BtnFOn); // the state it already shows
        EXPECT_EQ(View->GetRedrawCount(), before);
        View->BtnFOnClick(View->BtnFOff);
        EXPECT_EQ(View->GetRedrawCount(), before + 1);
        View->BtnFOnClick(View->BtnFOn);
        EXPECT_EQ(View->GetDrawnData(), View->GetFilteredData());
        EXPECT_EQ(View->GetRedrawCount(), before + 2);
    });
}

TEST_F(ViewerTest, RepaintingThePictureDoesNotRedrawTheWindow) {
    View->setEdfFileName(Path(kReal));
    UseDesignedSize();
    ShowModally([&] {
        const int32_t before = View->GetRedrawCount();
        View->ECG_Image->Repaint(); // the image control alone; the form is not painted
        View->ECG_Scroll_Vert->Repaint();
        EXPECT_EQ(View->GetRedrawCount(), before);
    });
}

TEST(ShowEcgViewer, MakesTheViewerOnceAndShowsEachRecording) {
    rtl::SetFormatSettings(rtl::TFormatSettings::Russian());
    ui::TForm owner(nullptr);
    TFLightECGView *viewer = nullptr;
    int shown = 0;
    ui::TDialogHandlerScope scope{{nullptr,
                                   [&](ui::TForm &f) {
                                       EXPECT_EQ(&f, viewer);
                                       EXPECT_EQ(f.GetWindowState(), ui::wsMaximized);
                                       ++shown;
                                       return 2;
                                   },
                                   nullptr}};
    ShowEcgViewer(viewer, &owner, Path(kReal));
    ASSERT_NE(viewer, nullptr);
    TFLightECGView *first = viewer;
    ShowEcgViewer(viewer, &owner, Path(kReal));
    EXPECT_EQ(viewer, first);
    EXPECT_EQ(shown, 2);
    EXPECT_ANY_THROW(
        ShowEcgViewer(viewer, &owner, Path(std::string(WB_TEST_DATA) + "/ecg/none.edf")));
    EXPECT_EQ(shown, 2); // a recording that cannot be read is not shown
}

// Mended: the bitmap kept the size it had before the gauge bar appeared, so the right caption
// bar lay partly under the gauge bar.
TEST_F(ViewerTest, GaugeBarAppearingKeepsTheRightCaptionBarInView) {
    View->setEdfFileName(Path(kReal));
    UseDesignedSize();
    ShowModally([&] {
        ASSERT_TRUE(View->ScrollPanel_Vert->GetVisible());
        const raster::TBitmap32 &b = View->ECG_Image->GetBitmap();
        EXPECT_EQ(b.GetWidth(), View->ECG_Image->GetWidth());
        EXPECT_EQ(b.GetHeight(), View->ECG_Image->GetHeight());
        gfx::TBitmap shot = View->ECG_Image->GrabForTesting();
        const int32_t w = View->ECG_Image->GetWidth();
        EXPECT_EQ(shot.GetCanvas().GetPixel(w - 10, 300), gfx::RGB(0, 51, 102));
        EXPECT_EQ(shot.GetCanvas().GetPixel(w - 1, 300), shot.GetCanvas().GetPixel(w - 20, 300));
    });
}

namespace {

// The wheel reaches the picture as it does on screen: through the picture's own widget.
void TurnWheelOver(ui::TControl &control, int32_t delta) {
    QWidget *widget = ui::qt::WidgetOf(control);
    const QPointF local(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent event(local, widget->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST_F(ViewerTest, TheWheelOverThePictureScrollsItACentimetreOfPaperPerNotch) {
    View->setEdfFileName(Path(kReal));
    UseDesignedSize();
    ShowModally([&] {
        ASSERT_TRUE(View->ScrollPanel_Vert->GetVisible());
        const int32_t cm = View->GetPixelPerCentimetr();
        ASSERT_GT(cm, 1);
        ASSERT_GT(View->ECG_Scroll_Vert->GetMax(), 2 * cm);
        const int32_t before = View->GetRedrawCount();
        TurnWheelOver(*View->ECG_Image, -240); // two notches toward the user: further down
        EXPECT_EQ(View->ECG_Scroll_Vert->GetPosition(), 2 * cm);
        EXPECT_GT(View->GetRedrawCount(), before);
        TurnWheelOver(*View->ECG_Image, 120);
        EXPECT_EQ(View->ECG_Scroll_Vert->GetPosition(), cm);
        TurnWheelOver(*View->ECG_Image, 600);
        EXPECT_EQ(View->ECG_Scroll_Vert->GetPosition(), 0);
    });
}
