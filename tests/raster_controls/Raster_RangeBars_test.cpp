// The gauge bar: geometry, range setters, press repeat, paging, dragging, the wheel, painting,
// and the colour and shape routines it draws with.
#include "raster/controls/Raster_RangeBars.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtBridge_p.h"

#include <QAccessible>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

using namespace raster;

namespace {

struct GaugeFixture : ::testing::Test {
    std::unique_ptr<ui::TForm> form = std::make_unique<ui::TForm>(nullptr);
    TGaugeBar *bar = new TGaugeBar(form.get());
    int changes = 0, userChanges = 0;

    // The viewer's bar: vertical, Mac style, no border, no arrows, handle 20.
    void SetUp() override {
        bar->SetParent(form.get());
        bar->SetKind(sbVertical);
        bar->SetStyle(rbsMac);
        bar->SetBorderStyle(bsNone);
        bar->SetShowArrows(false);
        bar->SetHandleSize(20);
        bar->SetBounds(0, 0, 15, 563);
        bar->OnChange = [this](ui::TComponent *) { ++changes; };
        bar->OnUserChange = [this](ui::TComponent *) { ++userChanges; };
    }
    void Press(int32_t x, int32_t y) {
        bar->Perform(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, ui::MakeLParam(x, y));
    }
    void Move(int32_t x, int32_t y) {
        bar->Perform(ui::WM_MOUSEMOVE, ui::MK_LBUTTON, ui::MakeLParam(x, y));
    }
    void Release(int32_t x, int32_t y) { bar->Perform(ui::WM_LBUTTONUP, 0, ui::MakeLParam(x, y)); }
    void Tick() { bar->FireTimerForTesting(TArrowBar::TimerId); }
    void Wheel(int32_t delta) {
        bar->Perform(ui::WM_MOUSEWHEEL, ui::WPARAM(uint16_t(int16_t(delta))) << 16, 0);
    }
};

} // namespace

TEST_F(GaugeFixture, TheViewersBarPlacesItsHandleByPosition) {
    EXPECT_EQ(bar->TrackBounds(), gfx::Rect(0, 0, 15, 563));
    EXPECT_EQ(bar->EffectiveHandleSize(), 20);
    struct Case {
        int32_t position, top;
    } cases[] = {{0, 0}, {50, 272}, {100, 543}, {1, 5}};
    for (const Case &c : cases) {
        bar->SetPosition(c.position);
        EXPECT_EQ(bar->GetHandleBounds(), gfx::Rect(0, c.top, 15, c.top + 20)) << c.position;
    }
    // Without arrows the first and last pixel rows belong to no zone.
    bar->SetPosition(50);
    EXPECT_EQ(bar->ZoneAt(7, 0), zNone);
    EXPECT_EQ(bar->ZoneAt(7, 1), zTrackPrev);
    EXPECT_EQ(bar->ZoneAt(7, 272), zHandle);
    EXPECT_EQ(bar->ZoneAt(7, 292), zTrackNext);
    EXPECT_EQ(bar->ZoneAt(7, 562), zNone);
    EXPECT_EQ(bar->ZoneAt(15, 100), zNone);
}

TEST_F(GaugeFixture, HandleSizeFollowsTheThicknessAndTheTrack) {
    bar->SetHandleSize(0);
    EXPECT_EQ(bar->EffectiveHandleSize(), 15); // square
    bar->SetHandleSize(600);
    EXPECT_EQ(bar->EffectiveHandleSize(), 562);
    bar->SetHandleSize(-4);
    EXPECT_EQ(bar->GetHandleSize(), 0);
}

TEST_F(GaugeFixture, RangeSettersKeepMaxAboveMin) {
    bar->SetMax(0);
    EXPECT_EQ(bar->GetMax(), 1);
    bar->SetMax(5);
    bar->SetMin(5);
    EXPECT_EQ(bar->GetMin(), 4);
    bar->SetPosition(2);
    EXPECT_EQ(bar->GetPosition(), 4); // clamped into the range
    bar->SetLargeChange(0);
    bar->SetSmallChange(-3);
    EXPECT_EQ(bar->GetLargeChange(), 1);
    EXPECT_EQ(bar->GetSmallChange(), 1);
}

TEST_F(GaugeFixture, ProgramSetPositionsFireOnChangeOnlyAndOnlyOnAChange) {
    bar->SetPosition(10);
    bar->SetPosition(10);
    bar->SetPosition(-5); // clamped to 0
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(userChanges, 0);
}

TEST_F(GaugeFixture, TheWheelStepsBySmallChangePerNotch) {
    bar->SetPosition(10);
    changes = 0;
    Wheel(120);
    EXPECT_EQ(bar->GetPosition(), 11);
    Wheel(-60);
    EXPECT_EQ(bar->GetPosition(), 11);
    bar->SetSmallChange(3);
    Wheel(-240);
    EXPECT_EQ(bar->GetPosition(), 5);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(userChanges, 0);
}

TEST_F(GaugeFixture, ATrackPressPagesUntilTheHandleReachesTheMouse) {
    bar->SetLargeChange(10);
    Press(7, 400); // below the handle at the top
    EXPECT_EQ(bar->GetDragZone(), zTrackNext);
    EXPECT_EQ(bar->GetPosition(), 10); // one page at once
    EXPECT_EQ(bar->GetTimerMode(), 1);
    Tick(); // after 600 ms: repeating every 100 ms
    EXPECT_EQ(bar->GetTimerMode(), 2);
    EXPECT_EQ(bar->GetPosition(), 20);
    for (int i = 0; i < 20; ++i) {
        Tick();
    }
    // Paging stops at the page that carries the handle past the mouse: 70 puts it at
    // 380 .. 400, just above y = 400, so one more page (80, at 434) is taken.
    EXPECT_EQ(bar->GetPosition(), 80);
    EXPECT_EQ(bar->ZoneAt(7, 400), zTrackPrev);
    EXPECT_EQ(userChanges, changes);
    Release(7, 400);
    EXPECT_EQ(bar->GetDragZone(), zNone);
    EXPECT_EQ(bar->GetTimerMode(), 3); // the hover watch
}

TEST_F(GaugeFixture, DraggingTheHandleMapsPixelsToTheRange) {
    bar->SetPosition(50); // handle at 272 .. 292
    Press(7, 280);
    EXPECT_EQ(bar->GetDragZone(), zHandle);
    EXPECT_EQ(bar->GetTimerMode(), 3); // no repeat for a handle press
    Move(7, 280 + 54);                 // 54 px of 543 is ~ 9.94 positions
    EXPECT_EQ(bar->GetPosition(), 60);
    Move(7, 0);
    EXPECT_EQ(bar->GetPosition(), 0);
    EXPECT_EQ(userChanges, 2);
    Release(7, 0);
}

TEST(ArrowBar, APressOnTheFirstButtonAtTheMinimumChangesNothing) {
    ui::TForm form(nullptr);
    auto *bar = new TGaugeBar(&form);
    bar->SetParent(&form);
    bar->SetBorderStyle(bsNone);
    bar->SetBounds(0, 0, 100, 16);
    int changes = 0;
    bar->OnChange = [&](ui::TComponent *) { ++changes; };
    bar->Perform(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, ui::MakeLParam(3, 8));
    EXPECT_EQ(bar->GetDragZone(), zBtnPrev);
    EXPECT_EQ(bar->GetPosition(), 0);
    EXPECT_EQ(changes, 0);
    bar->FireTimerForTesting(TArrowBar::TimerId); // the 600 ms repeat finds nothing to do
    EXPECT_EQ(bar->GetPosition(), 0);
    EXPECT_EQ(bar->GetTimerMode(), 3); // and falls back to the hover watch
    bar->Perform(ui::WM_LBUTTONUP, 0, ui::MakeLParam(3, 8));
    bar->Perform(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, ui::MakeLParam(96, 8));
    EXPECT_EQ(bar->GetDragZone(), zBtnNext);
    EXPECT_EQ(bar->GetPosition(), 1);
    bar->FireTimerForTesting(TArrowBar::TimerId);
    EXPECT_EQ(bar->GetPosition(), 2);
    bar->Perform(ui::WM_LBUTTONUP, 0, ui::MakeLParam(96, 8));
    bar->Perform(ui::CM_MOUSELEAVE);
    EXPECT_EQ(bar->GetTimerMode(), 0);
    EXPECT_EQ(bar->GetHotZone(), zNone);
}

// The repeat runs 600 ms, then every 100 ms; a release falls back to the 150 ms hover watch.
// A press whose first step changes nothing falls back at once, so the pending tick comes after
// 150 ms, not 600.
TEST(ArrowBar, RepeatIntervalsFollowThePressAndTheFirstStep) {
    ui::TForm form(nullptr);
    auto *bar = new TGaugeBar(&form);
    bar->SetParent(&form);
    bar->SetBorderStyle(bsNone);
    bar->SetBounds(0, 0, 100, 16);
    const auto state = [bar] {
        return std::tuple(bar->GetTimerMode(), bar->GetTimerInterval(), bar->GetTimerOn());
    };
    bar->Perform(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, ui::MakeLParam(96, 8)); // steps to 1
    EXPECT_EQ(state(), std::tuple(1, 600u, true));
    bar->FireTimerForTesting(TArrowBar::TimerId);
    EXPECT_EQ(state(), std::tuple(2, 100u, true));
    EXPECT_EQ(bar->GetPosition(), 2);
    bar->Perform(ui::WM_LBUTTONUP, 0, ui::MakeLParam(96, 8));
    EXPECT_EQ(state(), std::tuple(3, 150u, true));
    bar->SetPosition(0);
    bar->Perform(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, ui::MakeLParam(3, 8)); // nothing to step
    EXPECT_EQ(state(), std::tuple(1, 150u, true));
    bar->FireTimerForTesting(TArrowBar::TimerId);
    EXPECT_EQ(state(), std::tuple(3, 150u, true));
    bar->Perform(ui::WM_LBUTTONUP, 0, ui::MakeLParam(3, 8));
    bar->Perform(ui::CM_MOUSELEAVE);
    EXPECT_FALSE(bar->GetTimerOn());
}

TEST(ArrowBar, ButtonSizeFollowsTheThicknessAndLength) {
    ui::TForm form(nullptr);
    auto *bar = new TGaugeBar(&form);
    bar->SetBorderStyle(bsNone);
    struct Case {
        int32_t length;
        TRBStyle style;
        int32_t expected;
    } cases[] = {{100, rbsDefault, 16},
                 {100, rbsMac, 15},
                 {20, rbsDefault, 10},
                 {20, rbsMac, 9},
                 {3, rbsDefault, 0}};
    for (const Case &c : cases) {
        bar->SetBounds(0, 0, c.length, 16);
        bar->SetStyle(c.style);
        EXPECT_EQ(bar->ArrowButtonSize(), c.expected) << c.length << " " << int(c.style);
    }
    bar->SetShowArrows(false);
    EXPECT_EQ(bar->ArrowButtonSize(), 0);
    bar->SetBorderStyle(bsSingle); // the frame takes one pixel a side
    EXPECT_EQ(bar->GetClientRect(), gfx::Rect(0, 0, 1, 14));
}

TEST_F(GaugeFixture, PaintsATexturedTrackAndAFramedHandle) {
    const gfx::TColor darkBlue = gfx::RGB(0, 51, 102);
    bar->SetColor(darkBlue);
    bar->SetPosition(50);
    form->SetClientWidth(15);
    form->SetClientHeight(563);
    form->Show();
    gfx::TBitmap shot = bar->GrabForTesting();
    gfx::TCanvas &c = shot.GetCanvas();
    const uint32_t border = gfx::ColorToRGB(gfx::clWindowFrame);
    EXPECT_EQ(uint32_t(c.GetPixel(0, 272)), border); // the handle's frame
    EXPECT_EQ(uint32_t(c.GetPixel(14, 291)), border);
    EXPECT_EQ(uint32_t(c.GetPixel(7, 282)), gfx::ColorToRGB(gfx::clBtnShadow)); // its face
    // The track is dithered between the highlight and the bar's colour.
    const uint32_t a = uint32_t(c.GetPixel(6, 100)), b = uint32_t(c.GetPixel(7, 100));
    EXPECT_NE(a, b);
    EXPECT_TRUE(a == uint32_t(darkBlue) || b == uint32_t(darkBlue));
    EXPECT_EQ(uint32_t(c.GetPixel(6, 101)), b);
}

TEST(RangeBarRoutines, ShadeAndMixColours) {
    EXPECT_EQ(ShadeColor(gfx::RGB(10, 250, 128), 24), gfx::RGB(34, 255, 152));
    EXPECT_EQ(ShadeColor(gfx::RGB(10, 250, 128), -24), gfx::RGB(0, 226, 104));
    EXPECT_EQ(MixColor(gfx::RGB(255, 0, 100), gfx::RGB(0, 255, 200), 96),
              gfx::RGB(95, 158, 161)); // (c1 x 96 + c2 x 159) shr 8 per channel
    EXPECT_EQ(MixColor(gfx::clWhite, gfx::clBlack, 0), gfx::clBlack);
    EXPECT_THROW(MixColor(gfx::clWhite, gfx::clBlack, 256), rtl::Exception);
}

TEST(RangeBarRoutines, TriangleAndBevelShapes) {
    gfx::TBitmap b(20, 20);
    gfx::TCanvas &c = b.GetCanvas();
    c.GetBrush().SetColor(gfx::clWhite);
    c.FillRect(gfx::Rect(0, 0, 20, 20));
    // 16 x 16: centre (7, 7), M = 7, S = 4, O = 1 for up: apex (7, 4), base y = 8.
    DrawTriangle(c, gfx::Rect(0, 0, 16, 16), dirUp, gfx::clBlack);
    EXPECT_EQ(c.GetPixel(7, 4), gfx::clBlack);
    EXPECT_EQ(c.GetPixel(7, 3), gfx::clWhite);
    EXPECT_EQ(c.GetPixel(4, 8), gfx::clBlack);
    EXPECT_EQ(c.GetPixel(7, 9), gfx::clWhite);
    gfx::TRect r = gfx::Rect(2, 2, 10, 10);
    DrawBevel(c, r, gfx::clRed, gfx::clBlue, true);
    EXPECT_EQ(r, gfx::Rect(3, 3, 9, 9));
    EXPECT_EQ(c.GetPixel(2, 2), gfx::clRed);
    EXPECT_EQ(c.GetPixel(9, 9), gfx::clBlue);
    EXPECT_EQ(c.GetPixel(9, 2), gfx::clBlue);
}

// Screen readers read the gauge bar as a slider with its position and range, and set it there.
TEST_F(GaugeFixture, ScreenReadersSeeASliderWithItsValue) {
    bar->SetMin(10);
    bar->SetMax(50);
    bar->SetPosition(30);
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(ui::qt::WidgetOf(*bar));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Slider);
    QAccessibleValueInterface *value = a->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 30);
    EXPECT_EQ(value->minimumValue().toInt(), 10);
    EXPECT_EQ(value->maximumValue().toInt(), 50);
    changes = 0;
    value->setCurrentValue(99); // kept within the range, as the bar's own setter does
    EXPECT_EQ(bar->GetPosition(), 50);
    EXPECT_EQ(changes, 1);
}
