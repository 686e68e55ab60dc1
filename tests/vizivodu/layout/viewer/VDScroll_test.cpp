// The scroller: scroll bars kept as state, positions and their clamping, scroll requests, keys,
// the wheel, whole thumb positions, and the scroll units of the viewer's root document.
#include "vizivodu/layout/viewer/VDScroll.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

class Scroller : public ::testing::Test {
protected:
    Scroller() : Form(nullptr) {
        Form.SetClientWidth(400);
        Form.SetClientHeight(300);
        View = new TViziVodu(&Form);
        View->SetStyle(&Style);
        View->SetBounds(0, 0, 200, 100);
        View->SetParent(&Form);
        View->OnVScrolled = [this](ui::TComponent *) { ++VScrolled; };
        View->OnHScrolled = [this](ui::TComponent *) { ++HScrolled; };
    }

    // n paragraphs of one 20-pixel line each (style 0, "ab").
    void Fill(int32_t n) {
        for (int32_t i = 0; i < n; ++i) {
            View->AddNL(u"ab", 0, 0);
        }
        View->Format();
    }

    test::TLayoutStyle Style;
    ui::TForm Form;
    TViziVodu *View;
    int VScrolled = 0;
    int HScrolled = 0;
};

} // namespace

TEST(ScrollBarInfo, ClampsThePositionToTheRangeLessThePageAndHidesWhenThePageCoversIt) {
    TVDScrollBarInfo bar;
    bar.Visible = true;
    bar.Set(0, 99, 10, 500);
    EXPECT_EQ(bar.Pos, 90);
    EXPECT_TRUE(bar.Shown());
    bar.Set(0, 99, 10, -5);
    EXPECT_EQ(bar.Pos, 0);
    bar.Set(0, 1, 2, 0);
    EXPECT_FALSE(bar.Shown());
    bar.DisableNoScroll = true;
    EXPECT_TRUE(bar.Shown());
}

TEST(ScrollerWithoutWindow, BeforeTheWindowExistsTheStepIsOneAndBarsAreNotUpdated) {
    TViziVodu view(nullptr);
    EXPECT_EQ(view.GetVSmallStep(), 1);
    EXPECT_FALSE(view.WindowCreated());
    view.UpdateScrollBars(500, 70, true, true);
    EXPECT_EQ(view.XSize, 0);
    EXPECT_EQ(view.YSize, 0);
    view.SetVPos(5, true);
    EXPECT_EQ(view.VPos, 0);
}

TEST_F(Scroller, TheWindowMadeByAParentHasTheStepTen) {
    EXPECT_TRUE(View->WindowCreated());
    EXPECT_EQ(View->GetVSmallStep(), 10);
}

TEST_F(Scroller, FormattingPassesTheDocumentSizeToTheBars) {
    Fill(20); // 20 lines of 20 pixels and margins of 5: 410 pixels
    EXPECT_EQ(View->DocumentHeight(), 410);
    EXPECT_EQ(View->YSize, 41);
    EXPECT_EQ(View->GetVScrollBar().Max, 40);
    EXPECT_EQ(View->GetVScrollBar().Page, 10);
    EXPECT_TRUE(View->GetVScrollBar().Shown());
    EXPECT_EQ(View->GetVScrollMax(), 31);
}

TEST_F(Scroller, ADocumentShorterThanTheWindowKeepsTheTopAndHidesTheBar) {
    Fill(2);
    EXPECT_EQ(View->VPos, 0);
    EXPECT_GT(View->GetVScrollBar().Page, View->GetVScrollBar().Max);
    EXPECT_FALSE(View->GetVScrollBar().Shown());
    View->SetVPos(3, true);
    EXPECT_EQ(View->VPos, 0);
    EXPECT_EQ(VScrolled, 0);
}

TEST_F(Scroller, SettingTheSamePositionRaisesNoEvent) {
    Fill(20);
    View->SetVPos(4, true);
    EXPECT_EQ(View->VPos, 4);
    EXPECT_EQ(VScrolled, 1);
    View->SetVPos(4, true);
    EXPECT_EQ(VScrolled, 1);
    View->SetVPos(1000, true);
    EXPECT_EQ(View->VPos, 31);
    EXPECT_EQ(VScrolled, 2);
}

TEST_F(Scroller, WithTheBarHiddenThePositionClampsToTheStoredRange) {
    Fill(20);
    View->SetVScrollVisible(false);
    EXPECT_EQ(View->GetVScrollMax(), 41 - 10);
    View->SetVPos(1000, true);
    EXPECT_EQ(View->VPos, 31);
    View->SetVPos(-3, true);
    EXPECT_EQ(View->VPos, 0);
}

TEST_F(Scroller, ScrollRequestsMoveByLinesPagesAndToTheEnds) {
    Fill(20);
    View->Perform(ui::WM_VSCROLL, ui::SB_LINEDOWN);
    EXPECT_EQ(View->VPos, 1);
    View->Perform(ui::WM_VSCROLL, ui::SB_PAGEDOWN);
    EXPECT_EQ(View->VPos, 11);
    View->Perform(ui::WM_VSCROLL, ui::SB_LINEUP);
    EXPECT_EQ(View->VPos, 10);
    View->Perform(ui::WM_VSCROLL, ui::SB_BOTTOM);
    EXPECT_EQ(View->VPos, 31);
    View->Perform(ui::WM_VSCROLL, ui::SB_PAGEUP);
    EXPECT_EQ(View->VPos, 21);
    View->Perform(ui::WM_VSCROLL, ui::SB_TOP);
    EXPECT_EQ(View->VPos, 0);
    View->Perform(ui::WM_VSCROLL, ui::SB_ENDSCROLL);
    EXPECT_EQ(View->VPos, 0);
}

TEST_F(Scroller, NavigationKeysScrollUnlessKeyboardScrollingIsOff) {
    Fill(20);
    View->Perform(ui::WM_KEYDOWN, ui::VK_NEXT);
    EXPECT_EQ(View->VPos, 10);
    View->Perform(ui::WM_KEYDOWN, ui::VK_DOWN);
    EXPECT_EQ(View->VPos, 11);
    View->Perform(ui::WM_KEYDOWN, ui::VK_END);
    EXPECT_EQ(View->VPos, 31);
    View->Perform(ui::WM_KEYDOWN, ui::VK_HOME);
    EXPECT_EQ(View->VPos, 0);
    View->KeyboardScroll = false;
    View->Perform(ui::WM_KEYDOWN, ui::VK_NEXT);
    EXPECT_EQ(View->VPos, 0);
}

TEST_F(Scroller, TrackingFollowsTheThumbOnlyWhenAllowed) {
    Fill(20);
    View->TrackThumb(true, 7, false);
    EXPECT_EQ(View->VPos, 7);
    View->SetTracking(false);
    View->TrackThumb(true, 12, false);
    EXPECT_EQ(View->VPos, 7);
    View->TrackThumb(true, 12, true);
    EXPECT_EQ(View->VPos, 12);
}

// A thumb dragged beyond 65535 pixels lands where it was dropped: the position is read whole
// from the bar, not from the 16-bit field of the request.
TEST_F(Scroller, ThumbPositionsAreNotCutTo16Bits) {
    View->MinTextWidth = 100000;
    View->MaxTextWidth = 100000;
    Fill(3);
    EXPECT_EQ(View->XSize, 100010);
    View->TrackThumb(false, 70000, false);
    EXPECT_EQ(View->HPos, 70000);
    EXPECT_EQ(HScrolled, 1);
    View->TrackThumb(false, 100005, true);
    EXPECT_EQ(View->HPos, 100010 - 200);
}

TEST_F(Scroller, HorizontalRequestsStepByTheSmallStepAndTheClientWidth) {
    View->MinTextWidth = 1000;
    Fill(3);
    View->Perform(ui::WM_HSCROLL, ui::SB_LINERIGHT);
    EXPECT_EQ(View->HPos, 10);
    View->Perform(ui::WM_HSCROLL, ui::SB_PAGERIGHT);
    EXPECT_EQ(View->HPos, 210);
    View->Perform(ui::WM_HSCROLL, ui::SB_RIGHT);
    EXPECT_EQ(View->HPos, 1010 - 200);
    View->Perform(ui::WM_HSCROLL, ui::SB_LEFT);
    EXPECT_EQ(View->HPos, 0);
}

namespace {

int32_t gWheelLines = 3;
int32_t WheelLines() {
    return gWheelLines;
}

struct WheelLinesScope {
    explicit WheelLinesScope(int32_t lines) {
        gWheelLines = lines;
        TVDScroller::GetWheelScrollLines = WheelLines;
    }
    ~WheelLinesScope() { TVDScroller::GetWheelScrollLines = Saved; }
    int32_t (*Saved)() = TVDScroller::GetWheelScrollLines;
};

} // namespace

TEST_F(Scroller, TheWheelScrollsWheelStepTimesLinesByThreeUnitsPerNotch) {
    Fill(40);
    {
        WheelLinesScope lines(3);
        View->Perform(ui::WM_MOUSEWHEEL, ui::WPARAM(uint16_t(-ui::WHEEL_DELTA)) << 16);
        EXPECT_EQ(View->VPos, 2);
        View->Perform(ui::WM_MOUSEWHEEL, ui::WPARAM(uint16_t(ui::WHEEL_DELTA)) << 16);
        EXPECT_EQ(View->VPos, 0);
    }
    {
        WheelLinesScope lines(1); // 2 / 3 rounds to 1
        View->Perform(ui::WM_MOUSEWHEEL, ui::WPARAM(uint16_t(-ui::WHEEL_DELTA)) << 16);
        EXPECT_EQ(View->VPos, 1);
    }
    {
        WheelLinesScope lines(-1); // a page per notch
        View->Perform(ui::WM_MOUSEWHEEL, ui::WPARAM(uint16_t(-ui::WHEEL_DELTA)) << 16);
        EXPECT_EQ(View->VPos, 11);
    }
    {
        WheelLinesScope lines(0);
        View->Perform(ui::WM_MOUSEWHEEL, ui::WPARAM(uint16_t(-ui::WHEEL_DELTA)) << 16);
        EXPECT_EQ(View->VPos, 11);
    }
    View->SetWheelStep(0);
    View->Perform(ui::WM_MOUSEWHEEL, ui::WPARAM(uint16_t(-ui::WHEEL_DELTA)) << 16);
    EXPECT_EQ(View->VPos, 11);
}

TEST_F(Scroller, InsertedControlsMoveWithTheViewAndKeepTheirTruePlaceInTheTag) {
    Fill(40);
    auto *c = new ui::TWinControl(View);
    c->SetParent(View);
    c->SetBounds(3, 50, 10, 10);
    c->SetTag(50);
    View->SetVPos(3, true);
    EXPECT_EQ(c->GetTop(), 20);
    EXPECT_EQ(c->GetTag(), 20);
    c->SetTag(20000);
    View->SetVPos(0, true);
    EXPECT_EQ(c->GetTag(), 20030);
    EXPECT_EQ(c->GetTop(), 10000);
}

TEST_F(Scroller, ADocumentTwoMillionPixelsTallGetsTheStep63) {
    Fill(1);
    View->GetVDData().DocumentHeight = 2000000;
    View->GetVDData().AdjustVScrollUnits();
    EXPECT_EQ(View->GetVSmallStep(), 63);
    View->GetVDData().DocumentHeight = 320000;
    View->GetVDData().AdjustVScrollUnits();
    EXPECT_EQ(View->GetVSmallStep(), 10);
    View->GetVDData().AdjustVScrollUnits();
    EXPECT_EQ(View->GetVSmallStep(), 10);
}

TEST_F(Scroller, StepsThatWouldMakeTooManyUnitsOrAreNotPositiveAreIgnored) {
    Fill(1);
    View->SetVSmallStep(0);
    EXPECT_EQ(View->GetVSmallStep(), 10);
    View->SetVSmallStep(-4);
    EXPECT_EQ(View->GetVSmallStep(), 10);
    View->GetVDData().DocumentHeight = 400000;
    View->SetVSmallStep(12); // 33333 units
    EXPECT_EQ(View->GetVSmallStep(), 10);
    View->SetVSmallStep(13);
    EXPECT_EQ(View->GetVSmallStep(), 13);
    View->SetVSmallStep(10); // 40000 units
    EXPECT_EQ(View->GetVSmallStep(), 13);
    View->SetVScrollVisible(false);
    View->SetVSmallStep(10);
    EXPECT_EQ(View->GetVSmallStep(), 10);
}

TEST_F(Scroller, ATouchPanMovesTheViewWithTheFinger) {
    Fill(100); // 2010 pixels, 201 units
    View->SetVPos(50, true);
    const auto pan = [this](int32_t x, int32_t y, ui::TInteractiveGestureFlags flags) {
        ui::TGestureEventInfo info;
        info.GestureID = ui::igPan;
        info.Location = {x, y};
        info.Flags = flags;
        return View->Perform(ui::CM_GESTURE, 0, ui::LPARAM(&info));
    };
    EXPECT_EQ(pan(100, 80, {ui::gfBegin}), 1);
    EXPECT_EQ(View->VPos, 50);
    pan(100, 55, {}); // 25 pixels up: 2 units (towards zero)
    EXPECT_EQ(View->VPos, 52);
    pan(100, 115, {ui::gfEnd}); // 35 pixels down from the start: 3 units back
    EXPECT_EQ(View->VPos, 47);
    ui::TGestureEventInfo zoom;
    zoom.GestureID = ui::igZoom;
    EXPECT_EQ(View->Perform(ui::CM_GESTURE, 0, ui::LPARAM(&zoom)), 0);
}

namespace {

struct TSilentScroller : TViziVodu {
    using TViziVodu::TViziVodu;
    void Focus(bool silent) {
        FSilentFocusing = silent;
        Perform(ui::WM_SETFOCUS);
        FSilentFocusing = false;
    }
};

} // namespace

TEST_F(Scroller, SilentFocusingSkipsTheEnterHandling) {
    auto *v = new TSilentScroller(&Form);
    v->SetParent(&Form);
    int entered = 0;
    v->OnEnter = [&](ui::TComponent *) { ++entered; };
    v->Focus(true);
    EXPECT_EQ(entered, 0);
    v->Focus(false);
    EXPECT_EQ(entered, 1);
}

TEST_F(Scroller, PaintingToACanvasDrawsWhatTheWindowShows) {
    Style.SetColor(gfx::clWhite);
    Style.GI->DrawGlyphBoxes = true;
    Fill(3);
    gfx::TBitmap shot = View->GrabForTesting();
    gfx::TBitmap copy(220, 110);
    copy.GetCanvas().GetBrush().SetColor(gfx::clRed);
    copy.GetCanvas().FillRect(gfx::Rect(0, 0, 220, 110));
    View->PaintTo_(copy.GetCanvas(), 10, 5);
    for (int y = 0; y < 100; y += 3) {
        for (int x = 0; x < 200; x += 3) {
            ASSERT_EQ(copy.GetCanvas().GetPixel(10 + x, 5 + y), shot.GetCanvas().GetPixel(x, y))
                << x << "," << y;
        }
    }
    EXPECT_EQ(copy.GetCanvas().GetPixel(5, 2), gfx::clRed);
}

// The bars are the window's own: shown, they narrow the client area, and the document is
// formatted for what remains; the thumb's drag arrives as scroll requests.
TEST_F(Scroller, TheVerticalBarAppearsBesideALongDocumentAndNarrowsTheText) {
    const int32_t bar = ui::TWinControl::ScrollBarSize();
    ASSERT_GT(bar, 0);
    View->AddNL(u"aaaa bbbb cccc dddd", 0, 0); // 190 pixels: one line in 190
    View->Format();
    EXPECT_FALSE(View->GetWindowScrollBar(ui::sbVertical).Shown);
    EXPECT_EQ(View->GetClientWidth(), 200);
    EXPECT_EQ(View->GetVDData().DrawItems.Count(), 1);
    Fill(10);
    ASSERT_TRUE(View->GetWindowScrollBar(ui::sbVertical).Shown);
    EXPECT_EQ(View->GetClientWidth(), 200 - bar);
    EXPECT_EQ(View->GetVDData().DrawItems.Count(), 12); // the first paragraph wraps now
    const ui::TWindowScrollBar v = View->GetWindowScrollBar(ui::sbVertical);
    EXPECT_EQ(v.Max, View->YSize - 1);
    EXPECT_EQ(v.Page, 100 / 10);
    if (getenv("WB_SHOT")) {
        View->SetHScrollVisible(true);
        View->MaxTextWidth = 0;
        View->AddNL(u"wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww", 0, 0);
        View->GetVDData().SetOptions(View->GetOptions() - TVDOptions{});
        View->WordWrap = false;
        View->Format();
        View->GrabForTesting().SaveToFile(u"/tmp/viewer_bars.png");
    }
    View->TrackThumb(true, 7, false);
    EXPECT_EQ(View->GetWindowScrollBar(ui::sbVertical).Pos, 7);
    EXPECT_EQ(View->VPos, 7);
    // The document shrinking below the window takes the bar away again.
    View->Clear();
    View->AddNL(u"a", 0, 0);
    View->Format();
    EXPECT_FALSE(View->GetWindowScrollBar(ui::sbVertical).Shown);
    EXPECT_EQ(View->GetClientWidth(), 200);
}
