// Tests of the styled panel: frames and fill, caption, grid, child layout and enabling, and the
// styled buttons of the main window's result-file bar against their golden picture.
#include "controls/BvPanel.h"

#include "controls/BvButton.h"
#include "platform/ui/Application.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Label.h"
#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace controls;
using gfx::RGB;

uint32_t Rgb(TColor c) {
    return gfx::ColorToRGB(c);
}
uint32_t Px(gfx::TBitmap &b, int x, int y) {
    return gfx::ColorToRGB(b.GetCanvas().GetPixel(x, y));
}

gfx::TBitmap PaintPanel(TBvCustomPanel &p) {
    gfx::TBitmap b(p.GetWidth(), p.GetHeight());
    p.PaintTo(b.GetCanvas());
    return b;
}

int CountNot(gfx::TBitmap &b, TColor c) {
    int n = 0;
    for (int y = 0; y < b.GetHeight(); ++y) {
        for (int x = 0; x < b.GetWidth(); ++x) {
            n += Px(b, x, y) != Rgb(c);
        }
    }
    return n;
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        FForm = std::make_unique<ui::TForm>(nullptr);
        FForm->SetClientWidth(300);
        FForm->SetClientHeight(200);
        FPanel = new TBvPanel(FForm.get());
        FPanel->SetParent(FForm.get());
        FPanel->SetBounds(0, 0, 40, 30);
    }
    ui::TControl *AddChild(ui::TAlign align) {
        auto *c = new TBvPanel(FForm.get());
        c->SetParent(FPanel);
        c->SetAlign(align);
        return c;
    }
    std::unique_ptr<ui::TForm> FForm;
    TBvPanel *FPanel = nullptr;
};

TEST_F(PanelTest, DefaultsDrawARaisedFrame) {
    EXPECT_EQ(FPanel->GetBorderOuter(), fsRaised);
    EXPECT_EQ(FPanel->GetBorderInner(), fsNone);
    EXPECT_EQ(FPanel->GetVisualStyle(), vsWinXP);
    gfx::TBitmap b = PaintPanel(*FPanel);
    EXPECT_EQ(Px(b, 0, 15), Rgb(gfx::cl3DLight));
    EXPECT_EQ(Px(b, 39, 15), Rgb(gfx::cl3DDkShadow));
    EXPECT_EQ(Px(b, 20, 15), Rgb(gfx::clBtnFace));
    ui::TControl *child = AddChild(ui::alClient);
    EXPECT_EQ(child->GetBoundsRect(), gfx::Rect(2, 2, 38, 28));
}

TEST_F(PanelTest, NoFrameFillsEverythingAndAlignsInTheFullClientArea) {
    FPanel->SetBorderOuter(fsNone);
    FPanel->SetColor(RGB(10, 20, 30));
    gfx::TBitmap b = PaintPanel(*FPanel);
    EXPECT_EQ(CountNot(b, RGB(10, 20, 30)), 0) << "no frame, no caption";
    ui::TControl *child = AddChild(ui::alTop);
    child->SetHeight(10);
    EXPECT_EQ(child->GetBoundsRect(), gfx::Rect(0, 0, 40, 10));
}

TEST_F(PanelTest, EmptySidesDrawNoFrameAndInsetNothing) {
    FPanel->SetBorderOuter(fsFlatBold);
    FPanel->SetBorderInner(fsGroove);
    FPanel->SetBorderSides({});
    FPanel->SetColor(RGB(10, 20, 30));
    gfx::TBitmap b = PaintPanel(*FPanel);
    EXPECT_EQ(CountNot(b, RGB(10, 20, 30)), 0);
    ui::TControl *child = AddChild(ui::alClient);
    EXPECT_EQ(child->GetBoundsRect(), gfx::Rect(0, 0, 40, 30));
    FPanel->SetBorderSides({sdLeft});
    EXPECT_EQ(child->GetBoundsRect(), gfx::Rect(4, 0, 40, 30)) << "a side change realigns";
}

TEST_F(PanelTest, RoundedPanelCorners) {
    auto *outer = new TBvPanel(FForm.get());
    outer->SetParent(FForm.get());
    outer->SetColor(RGB(9, 9, 9));
    FPanel->SetParent(outer);
    FPanel->SetBorderOuter(fsFlatRounded);
    gfx::TBitmap b = PaintPanel(*FPanel);
    const uint32_t f = Rgb(LightenColor(gfx::clBtnShadow, 30));
    for (auto [x, y, dx, dy] :
         {std::tuple{0, 0, 1, 1}, {39, 0, -1, 1}, {0, 29, 1, -1}, {39, 29, -1, -1}}) {
        EXPECT_EQ(Px(b, x, y), Rgb(RGB(9, 9, 9))) << x << "," << y;
        EXPECT_EQ(Px(b, x + dx, y + dy), f) << x << "," << y;
    }
    EXPECT_EQ(Px(b, 0, 15), f);
    EXPECT_EQ(Px(b, 1, 15), Rgb(gfx::clBtnFace));
}

TEST_F(PanelTest, CaptionIsDrawnOnlyWhenSet) {
    FPanel->SetBorderOuter(fsNone);
    FPanel->SetBounds(0, 0, 120, 30);
    gfx::TBitmap empty = PaintPanel(*FPanel);
    EXPECT_EQ(CountNot(empty, gfx::clBtnFace), 0);
    FPanel->SetCaption(u"Подписанты");
    gfx::TBitmap text = PaintPanel(*FPanel);
    EXPECT_GT(CountNot(text, gfx::clBtnFace), 20);
    // Top placement keeps the text in the upper half.
    FPanel->SetAlignmentVertical(avTop);
    gfx::TBitmap top = PaintPanel(*FPanel);
    int lower = 0;
    for (int y = 20; y < 30; ++y) {
        for (int x = 0; x < 120; ++x) {
            lower += Px(top, x, y) != Rgb(gfx::clBtnFace);
        }
    }
    EXPECT_EQ(lower, 0);
}

TEST_F(PanelTest, GridDotsAndZeroSizes) {
    FPanel->SetBorderOuter(fsNone);
    FPanel->SetBounds(0, 0, 20, 17);
    FPanel->SetShowGrid(true);
    FPanel->SetGridColor(gfx::clRed);
    gfx::TBitmap dots = PaintPanel(*FPanel);
    EXPECT_EQ(CountNot(dots, gfx::clBtnFace), 4); // 2 columns x 2 rows
    EXPECT_EQ(Px(dots, 7, 7), Rgb(gfx::clRed));
    EXPECT_EQ(Px(dots, 15, 15), Rgb(gfx::clRed));
    FPanel->SetGridSize(0, 8);
    gfx::TBitmap none = PaintPanel(*FPanel);
    EXPECT_EQ(CountNot(none, gfx::clBtnFace), 0);
    FPanel->SetGridStyle(gsSolidLines);
    gfx::TBitmap rows = PaintPanel(*FPanel);
    EXPECT_EQ(CountNot(rows, gfx::clBtnFace), 2 * 20) << "no columns, two full rows";
    FPanel->SetGridStyle(gsDottedLines);
    gfx::TBitmap dotted = PaintPanel(*FPanel);
    EXPECT_EQ(CountNot(dotted, gfx::clBtnFace), 2 * 10);
    EXPECT_EQ(Px(dotted, 1, 7), Rgb(gfx::clRed));
    EXPECT_EQ(Px(dotted, 0, 7), Rgb(gfx::clBtnFace));
}

TEST_F(PanelTest, GradientStyleFillsWithTheCustomColours) {
    FPanel->SetBorderOuter(fsNone);
    FPanel->SetVisualStyle(vsGradient);
    FPanel->SetGradientColorStyle(gcsCustom);
    FPanel->SetGradientColorStart(gfx::clBlack);
    FPanel->SetGradientColorStop(gfx::clWhite);
    gfx::TBitmap b = PaintPanel(*FPanel);
    EXPECT_EQ(Px(b, 5, 0), 0u);
    EXPECT_GT(Px(b, 5, 29) & 0xFF, 0xF0u);
}

TEST_F(PanelTest, DisablingRemembersTheChildrenThatWereDisabled) {
    ui::TControl *a = AddChild(ui::alNone);
    ui::TControl *b = AddChild(ui::alNone);
    ui::TControl *c = AddChild(ui::alNone);
    b->SetEnabled(false);
    FPanel->SetEnabled(false);
    EXPECT_FALSE(a->GetEnabled());
    EXPECT_FALSE(c->GetEnabled());
    FPanel->SetEnabled(true);
    EXPECT_TRUE(a->GetEnabled());
    EXPECT_FALSE(b->GetEnabled());
    EXPECT_TRUE(c->GetEnabled());
}

TEST_F(PanelTest, ResizeWithoutFullRepaintInvalidatesOnlyStrips) {
    FPanel->SetFullRepaint(false);
    FPanel->SetBorderOuter(fsRaised);
    FPanel->SetBounds(0, 0, 50, 30);
    ASSERT_EQ(FPanel->ResizeStripsForTesting().size(), 1u);
    EXPECT_EQ(FPanel->ResizeStripsForTesting()[0], gfx::Rect(37, 0, 40, 30));
    FPanel->SetBounds(0, 0, 60, 40);
    ASSERT_EQ(FPanel->ResizeStripsForTesting().size(), 2u);
    EXPECT_EQ(FPanel->ResizeStripsForTesting()[1], gfx::Rect(0, 27, 50, 30));
    FPanel->SetCaption(u"x");
    FPanel->SetBounds(0, 0, 70, 40);
    EXPECT_TRUE(FPanel->ResizeStripsForTesting().empty()) << "with a caption all is repainted";
}

TEST_F(PanelTest, BottomAlignedPanelKeepsItsBottomEdge) {
    FPanel->SetAlign(ui::alBottom);
    const int bottom = FPanel->GetTop() + FPanel->GetHeight();
    FPanel->SetHeight(12);
    EXPECT_EQ(FPanel->GetTop() + FPanel->GetHeight(), bottom);
}

TEST_F(PanelTest, FrameControllerPushesItsSettings) {
    TBvFrameController ctl(nullptr);
    ctl.SetFrameVisible(true);
    ctl.SetFrameStyle(fsFlatBold);
    ctl.SetFrameColor(gfx::clRed);
    ctl.SetColor(RGB(200, 100, 50));
    FPanel->SetFrameController(&ctl);
    EXPECT_EQ(FPanel->GetBorderOuter(), fsFlatBold);
    EXPECT_EQ(FPanel->GetFlatColor(), gfx::clRed);
    EXPECT_EQ(FPanel->GetFlatColorAdjustment(), 0);
    EXPECT_EQ(FPanel->GetColor(), RGB(200, 100, 50));
    EXPECT_EQ(FPanel->GetBorderHighlight(), LightenColor(RGB(200, 100, 50), 100));
    ctl.SetFrameStyle(fsGroove);
    EXPECT_EQ(FPanel->GetBorderOuter(), fsGroove);
    FPanel->SetFrameControllerNotifications(TBvFrameControllerNotifications{fcpColor});
    ctl.SetFrameStyle(fsFlat);
    EXPECT_EQ(FPanel->GetBorderOuter(), fsGroove) << "a refused setting is left alone";
    FPanel->SetFrameController(nullptr);
    EXPECT_EQ(ctl.GetControlCount(), 0);
}

TEST_F(PanelTest, DestroyedControllerIsForgotten) {
    auto ctl = std::make_unique<TBvFrameController>(nullptr);
    FPanel->SetFrameController(ctl.get());
    ctl.reset();
    EXPECT_EQ(FPanel->GetFrameController(), nullptr);
}

// ---- the result-file bar of the main window ----

struct ResultBar {
    std::unique_ptr<ui::TForm> form = std::make_unique<ui::TForm>(nullptr);
    TBvPanel *bar = new TBvPanel(form.get());
    TBvBitBtn *open = new TBvBitBtn(form.get());
    TBvBitBtn *reload = new TBvBitBtn(form.get());

    ResultBar() {
        form->SetClientWidth(560);
        form->SetClientHeight(60);
        bar->SetParent(form.get());
        bar->SetAlign(ui::alTop);
        bar->SetHeight(25);
        bar->SetBorderOuter(fsNone);
        auto *label = new ui::TLabel(form.get());
        label->SetParent(bar);
        label->SetAlign(ui::alLeft);
        label->GetFont().SetSize(12);
        label->SetCaption(rtl::U("Путь к файлу Result.txt"));
        auto *edit = new ui::TEdit(form.get());
        edit->SetParent(bar);
        edit->SetAlign(ui::alClient);
        edit->SetReadOnly(true);
        edit->GetFont().SetSize(10);
        // "Перезагрузить" at the far right, "..." between it and the edit.
        reload->SetParent(bar);
        reload->SetWidth(105);
        reload->SetAlign(ui::alRight);
        reload->SetCaption(rtl::U("Перезагрузить"));
        open->SetParent(bar);
        open->SetWidth(33);
        open->SetAlign(ui::alRight);
        open->SetCaption(u"...");
        reload->SetEnabled(false);
        form->Show();
        ui::Application->ProcessMessages();
    }
};

// The styled buttons at the bar's right end, both states stacked: the reload button disabled
// (top) and enabled (bottom). The label and the edit are Qt's native widgets, left out.
const gfx::TRect kStyledButtons = gfx::Rect(422, 0, 560, 25);

gfx::TBitmap GrabStyledButtons() {
    ResultBar r;
    gfx::TBitmap disabled = r.bar->GrabForTesting();
    r.reload->SetEnabled(true);
    gfx::TBitmap enabled = r.bar->GrabForTesting();
    gfx::TBitmap both(kStyledButtons.Width(), kStyledButtons.Height() * 2);
    both.GetCanvas().Draw(-kStyledButtons.Left, -kStyledButtons.Top, disabled);
    both.GetCanvas().Draw(-kStyledButtons.Left, kStyledButtons.Height() - kStyledButtons.Top,
                          enabled);
    return both;
}

TEST(ResultBarImage, StyledButtonsMatchTheirGoldenPicture) {
    const gfx::TBitmap actual = GrabStyledButtons();
    // The captions "..." (33 pixels wide) and "Перезагрузить" (105) inside their bevels.
    std::vector<gfx::TRect> captions;
    for (const int32_t top : {0, 25}) {
        captions.push_back(gfx::Rect(2, top + 2, 31, top + 23));
        captions.push_back(gfx::Rect(35, top + 2, 136, top + 23));
    }
    wbtest::ExpectMatchesGolden(actual, "controls/result_bar_buttons.png", captions);
}

TEST(ResultBarImage, ButtonsTakeTheirPlacesAtTheRight) {
    ResultBar r;
    EXPECT_EQ(r.reload->GetBoundsRect(), gfx::Rect(455, 0, 560, 25));
    EXPECT_EQ(r.open->GetBoundsRect(), gfx::Rect(422, 0, 455, 25));
    // The bar draws no frame: its own pixels are all face colour.
    gfx::TBitmap face(560, 25);
    r.bar->PaintTo(face.GetCanvas());
    EXPECT_EQ(CountNot(face, gfx::clBtnFace), 0);
}

} // namespace
