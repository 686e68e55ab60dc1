// The system caret: one in the process, hidden until shown as often as it was hidden, blinking
// by phases, drawn by the platform over the control's painting with the pixels inverted.
#include "platform/ui/Caret.h"

#include "platform/ui/CustomControl.h"
#include "platform/ui/Forms.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

using namespace ui;

namespace {

struct CaretFixture : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TCustomControl *control = new TCustomControl(form.get());
    TCustomControl *other = new TCustomControl(form.get());
    void SetUp() override {
        for (TCustomControl *c : {control, other}) {
            c->SetParent(form.get());
            c->SetColor(gfx::clWhite);
        }
        control->SetBounds(0, 0, 40, 30);
        other->SetBounds(50, 0, 40, 30);
        form->Show();
    }
    void TearDown() override { DestroyCaret(); }
    // Where the caret is drawn on control now; an empty rectangle when it is not.
    gfx::TRect Drawn() {
        gfx::TRect r{};
        return CaretDrawnForTesting(*control, r) ? r : gfx::TRect{};
    }
};

} // namespace

TEST_F(CaretFixture, HidingNestsAndShowingAnswersEachHide) {
    ASSERT_TRUE(CreateCaret(*control, 2, 12));
    EXPECT_EQ(Drawn(), gfx::TRect{}); // made hidden
    EXPECT_TRUE(ShowCaret(control));
    EXPECT_EQ(Drawn(), gfx::Rect(0, 0, 2, 12));
    EXPECT_TRUE(SetCaretPos(5, 6));
    EXPECT_EQ(Drawn(), gfx::Rect(5, 6, 7, 18));
    struct Step {
        bool show;
        bool drawn;
    };
    for (const Step &s : {Step{false, false}, Step{false, false}, Step{true, false},
                          Step{true, true}, Step{true, true}}) {
        EXPECT_TRUE(s.show ? ShowCaret(nullptr) : HideCaret(nullptr));
        EXPECT_EQ(Drawn() != gfx::TRect{}, s.drawn);
    }
    EXPECT_FALSE(ShowCaret(other));
    EXPECT_FALSE(HideCaret(other));
    gfx::TPoint p;
    EXPECT_TRUE(GetCaretPos(p));
    EXPECT_EQ(p.X, 5);
    EXPECT_TRUE(DestroyCaret());
    EXPECT_FALSE(GetCaretPos(p));
    EXPECT_FALSE(SetCaretPos(1, 1));
    EXPECT_FALSE(DestroyCaret());
}

TEST_F(CaretFixture, BlinksByPhasesAndAMoveShowsItAtOnce) {
    ASSERT_TRUE(CreateCaret(*control, 0, 10)); // width 0: one pixel
    ShowCaret(control);
    EXPECT_EQ(Drawn(), gfx::Rect(0, 0, 1, 10));
    BlinkCaretForTesting();
    EXPECT_EQ(Drawn(), gfx::TRect{});
    SetCaretPos(3, 3);
    EXPECT_EQ(Drawn(), gfx::Rect(3, 3, 4, 13));
    BlinkCaretForTesting();
    BlinkCaretForTesting();
    EXPECT_NE(Drawn(), gfx::TRect{});
    EXPECT_EQ(GetCaretBlinkTime(), uint32_t(QApplication::cursorFlashTime() / 2));
}

TEST_F(CaretFixture, ThePlatformDrawsItOverThePaintingInverted) {
    ASSERT_TRUE(CreateCaret(*control, 2, 10));
    SetCaretPos(4, 5);
    ShowCaret(control);
    gfx::TBitmap shot = control->GrabForTesting();
    gfx::TCanvas &c = shot.GetCanvas();
    EXPECT_EQ(c.GetPixel(4, 5), gfx::clBlack);
    EXPECT_EQ(c.GetPixel(5, 14), gfx::clBlack);
    EXPECT_EQ(c.GetPixel(6, 5), gfx::clWhite);
    EXPECT_EQ(c.GetPixel(4, 15), gfx::clWhite);
    // Another control keeps its pixels.
    EXPECT_EQ(other->GrabForTesting().GetCanvas().GetPixel(4, 5), gfx::clWhite);
    HideCaret(control);
    EXPECT_EQ(control->GrabForTesting().GetCanvas().GetPixel(4, 5), gfx::clWhite);
}

TEST_F(CaretFixture, ANewCaretReplacesTheOldOne) {
    ASSERT_TRUE(CreateCaret(*control, 2, 10));
    ShowCaret(control);
    ASSERT_TRUE(CreateCaret(*other, 2, 10));
    EXPECT_EQ(Drawn(), gfx::TRect{});
    EXPECT_TRUE(ShowCaret(other));
    gfx::TRect r{};
    EXPECT_TRUE(CaretDrawnForTesting(*other, r));
}
