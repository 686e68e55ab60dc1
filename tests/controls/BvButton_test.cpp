// Step-by-step scenarios of the styled buttons (mouse, keys, groups) and their classic faces.
#include "controls/BvButton.h"

#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

namespace {

using namespace controls;
using gfx::RGB;

uint32_t Rgb(TColor c) {
    return gfx::ColorToRGB(c);
}
uint32_t Px(gfx::TBitmap &b, int x, int y) {
    return gfx::ColorToRGB(b.GetCanvas().GetPixel(x, y));
}

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        FForm = std::make_unique<ui::TForm>(nullptr);
        FForm->SetBounds(0, 0, 400, 200);
    }
    template <class T> T *Add(int x, int y, const char16_t *caption) {
        auto *b = new T(FForm.get());
        b->SetParent(FForm.get());
        b->SetLeft(x);
        b->SetTop(y);
        b->SetCaption(caption);
        b->OnClick = [this, b](ui::TComponent *) { FClicks.push_back(b); };
        return b;
    }
    void Show() {
        FForm->Show();
        ui::Application->ProcessMessages();
    }
    static void Mouse(ui::TControl *c, uint32_t msg, int x, int y) {
        c->Perform(msg, msg == ui::WM_LBUTTONUP ? 0u : uint32_t(ui::MK_LBUTTON),
                   ui::MakeLParam(x, y));
    }
    static void Key(TBvCustomButton *b, uint32_t msg, uint16_t vk) { b->Perform(msg, vk, 0); }
    static void Focus(ui::TWinControl *c) {
        c->SetFocus();
        ui::Application->ProcessMessages();
    }
    // An edit below the buttons that records the keys reaching it.
    ui::TEdit *AddEdit() {
        auto *edit = new ui::TEdit(FForm.get());
        edit->SetParent(FForm.get());
        edit->SetBounds(10, 100, 120, 21);
        edit->OnKeyDown = [this](ui::TComponent *, uint16_t &key, ui::TShiftState) {
            FEditKeys.push_back(key);
        };
        return edit;
    }

    // The default button "OK", the button "Other" and an edit, on the shown form.
    struct TDefaultPair {
        TBvButton *def;
        TBvButton *other;
        ui::TEdit *edit;
    };
    TDefaultPair ShowDefaultPair() {
        TBvButton *def = Add<TBvButton>(10, 10, u"OK");
        def->SetDefault(true);
        TDefaultPair pair{def, Add<TBvButton>(100, 10, u"Other"), AddEdit()};
        Show();
        return pair;
    }

    std::unique_ptr<ui::TForm> FForm;
    std::vector<ui::TComponent *> FClicks;
    std::vector<uint16_t> FEditKeys;
};

TEST_F(ButtonTest, PressMoveOutMoveInReleaseInsideClicks) {
    TBvButton *b = Add<TBvButton>(10, 10, u"Go");
    Show();
    Mouse(b, ui::WM_LBUTTONDOWN, 5, 5);
    EXPECT_TRUE(b->Focused());
    EXPECT_TRUE(b->IsPressedForTesting());
    Mouse(b, ui::WM_MOUSEMOVE, 75, 5); // x = width is outside
    EXPECT_FALSE(b->IsPressedForTesting());
    Mouse(b, ui::WM_MOUSEMOVE, 74, 24);
    EXPECT_TRUE(b->IsPressedForTesting());
    EXPECT_TRUE(FClicks.empty());
    Mouse(b, ui::WM_LBUTTONUP, 74, 24);
    EXPECT_FALSE(b->IsPressedForTesting());
    EXPECT_EQ(FClicks.size(), 1u);
}

TEST_F(ButtonTest, ReleaseOutsideOrOnTheRowBelowDoesNotClick) {
    TBvButton *b = Add<TBvButton>(10, 10, u"Go");
    Show();
    Mouse(b, ui::WM_LBUTTONDOWN, 5, 5);
    Mouse(b, ui::WM_MOUSEMOVE, -1, 5);
    Mouse(b, ui::WM_LBUTTONUP, -1, 5);
    EXPECT_TRUE(FClicks.empty());
    Mouse(b, ui::WM_LBUTTONDOWN, 5, 5);
    Mouse(b, ui::WM_MOUSEMOVE, 5, 25); // Y = client height
    EXPECT_FALSE(b->IsPressedForTesting());
    Mouse(b, ui::WM_LBUTTONUP, 5, 25);
    EXPECT_TRUE(FClicks.empty());
    EXPECT_FALSE(b->IsPressedForTesting());
}

TEST_F(ButtonTest, DisabledButtonIgnoresTheMouse) {
    TBvButton *b = Add<TBvButton>(10, 10, u"Go");
    b->SetEnabled(false);
    Show();
    Mouse(b, ui::WM_LBUTTONDOWN, 5, 5);
    EXPECT_FALSE(b->IsPressedForTesting());
    Mouse(b, ui::WM_LBUTTONUP, 5, 5);
    EXPECT_TRUE(FClicks.empty());
}

TEST_F(ButtonTest, SpacePressesAndReleasesClick) {
    TBvButton *b = Add<TBvButton>(10, 10, u"Go");
    Show();
    b->SetFocus();
    b->KeyPressForTesting(ui::VK_SPACE);
    EXPECT_EQ(FClicks.size(), 1u);
    FClicks.clear();
    Key(b, ui::WM_KEYDOWN, ui::VK_SPACE);
    EXPECT_TRUE(b->IsPressedForTesting());
    Key(b, ui::WM_KEYUP, ui::VK_SPACE);
    EXPECT_FALSE(b->IsPressedForTesting());
    EXPECT_EQ(FClicks.size(), 1u);
    // Losing the focus while space is held cancels the press.
    TBvButton *other = Add<TBvButton>(100, 10, u"Other");
    Key(b, ui::WM_KEYDOWN, ui::VK_SPACE);
    other->SetFocus();
    ui::Application->ProcessMessages();
    EXPECT_FALSE(b->IsPressedForTesting());
    Key(b, ui::WM_KEYUP, ui::VK_SPACE);
    EXPECT_EQ(FClicks.size(), 1u);
    b->SetFocus();
    b->KeyPressForTesting(ui::VK_SPACE, {ui::ssAlt});
    EXPECT_EQ(FClicks.size(), 1u) << "Alt+Space is the system menu, not a press";
}

TEST_F(ButtonTest, EnterClicksTheFocusedButtonElseTheDefault) {
    auto [def, other, edit] = ShowDefaultPair();
    EXPECT_TRUE(def->IsActiveForTesting());
    Focus(other);
    EXPECT_TRUE(other->IsActiveForTesting());
    EXPECT_FALSE(def->IsActiveForTesting());
    other->KeyPressForTesting(ui::VK_RETURN);
    ASSERT_EQ(FClicks.size(), 1u);
    EXPECT_EQ(FClicks[0], other);
    Focus(edit);
    EXPECT_TRUE(def->IsActiveForTesting());
    EXPECT_FALSE(other->IsActiveForTesting());
    edit->KeyPressForTesting(ui::VK_RETURN);
    ASSERT_EQ(FClicks.size(), 2u);
    EXPECT_EQ(FClicks[1], def);
    EXPECT_TRUE(FEditKeys.empty()) << "the default button took Enter";
    edit->KeyPressForTesting(ui::VK_RETURN, {ui::ssShift});
    EXPECT_EQ(FClicks.size(), 2u);
    EXPECT_EQ(FEditKeys, std::vector<uint16_t>{ui::VK_RETURN}) << "Shift+Enter is declined";
}

TEST_F(ButtonTest, AnswersTheDialogCodeOfAPushButtonWithItsRole) {
    auto [def, other, edit] = ShowDefaultPair();
    const ui::LRESULT defCode = ui::DLGC_BUTTON | ui::DLGC_DEFPUSHBUTTON;
    const ui::LRESULT undefCode = ui::DLGC_BUTTON | ui::DLGC_UNDEFPUSHBUTTON;
    struct Case {
        const char *name;
        ui::TWinControl *focus;
        ui::LRESULT defAnswer, otherAnswer;
    };
    const Case cases[] = {
        {"an edit focused: the default acts", edit, defCode, undefCode},
        {"the other button focused acts", other, undefCode, defCode},
        {"the default focused", def, defCode, undefCode},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        Focus(k.focus);
        EXPECT_EQ(def->Perform(ui::WM_GETDLGCODE), k.defAnswer);
        EXPECT_EQ(other->Perform(ui::WM_GETDLGCODE), k.otherAnswer);
    }
    Focus(other);
    def->SetDefault(false);
    def->SetDefault(true);
    EXPECT_EQ(def->Perform(ui::WM_GETDLGCODE), undefCode)
        << "becoming the default while another button has the focus does not make it act";
}

TEST_F(ButtonTest, ANativeDefaultButtonYieldsToAFocusedStyledButton) {
    auto *native = new ui::TButton(FForm.get());
    native->SetParent(FForm.get());
    native->SetBounds(10, 60, 75, 25);
    native->SetDefault(true);
    native->OnClick = [this, native](ui::TComponent *) { FClicks.push_back(native); };
    TBvButton *styled = Add<TBvButton>(100, 10, u"Styled");
    ui::TEdit *edit = AddEdit();
    Show();
    Focus(styled);
    styled->KeyPressForTesting(ui::VK_RETURN);
    Focus(edit);
    edit->KeyPressForTesting(ui::VK_RETURN);
    EXPECT_EQ(FClicks, (std::vector<ui::TComponent *>{styled, native}));
}

TEST_F(ButtonTest, EscapeClicksTheCancelButton) {
    TBvButton *ok = Add<TBvButton>(10, 10, u"OK");
    TBvButton *cancel = Add<TBvButton>(100, 10, u"Cancel");
    cancel->SetCancel(true);
    ui::TEdit *edit = AddEdit();
    Show();
    Focus(ok);
    ok->KeyPressForTesting(ui::VK_ESCAPE);
    ASSERT_EQ(FClicks.size(), 1u);
    EXPECT_EQ(FClicks[0], cancel);
    Focus(edit);
    edit->KeyPressForTesting(ui::VK_ESCAPE, {ui::ssCtrl});
    EXPECT_EQ(FEditKeys, std::vector<uint16_t>{ui::VK_ESCAPE}) << "Ctrl+Escape is declined";
    cancel->SetEnabled(false);
    edit->KeyPressForTesting(ui::VK_ESCAPE);
    EXPECT_EQ(FClicks.size(), 1u);
    EXPECT_EQ(FEditKeys, (std::vector<uint16_t>{ui::VK_ESCAPE, ui::VK_ESCAPE}))
        << "a disabled cancel button leaves Escape to the edit";
}

TEST_F(ButtonTest, DropDownOnEnterOffMarksTheKeyDuringTheClick) {
    TBvButton *b = Add<TBvButton>(10, 10, u"OK");
    b->SetDefault(true);
    b->SetDropDownOnEnter(false);
    ui::TEdit *edit = AddEdit();
    bool seen = false;
    b->OnClick = [&](ui::TComponent *) {
        FClicks.push_back(b);
        seen = b->KeyWasPressed();
    };
    Show();
    Focus(edit);
    edit->KeyPressForTesting(ui::VK_RETURN);
    ASSERT_EQ(FClicks.size(), 1u);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(b->KeyWasPressed());
    b->PerformClick();
    EXPECT_FALSE(seen) << "only a key marks the click";
}

TEST_F(ButtonTest, AcceleratorClicksWhenTheButtonCanTakeFocus) {
    TBvButton *b = Add<TBvButton>(10, 10, u"&Reload");
    Add<TBvButton>(100, 10, u"R&&D");
    ui::TEdit *edit = AddEdit();
    Show();
    Focus(edit);
    edit->KeyPressForTesting('X', {ui::ssAlt});
    edit->KeyPressForTesting('D', {ui::ssAlt});
    EXPECT_TRUE(FClicks.empty()) << "&& is no accelerator";
    edit->KeyPressForTesting('R', {ui::ssAlt});
    ASSERT_EQ(FClicks.size(), 1u);
    EXPECT_EQ(FClicks[0], b);
    Focus(b);
    b->KeyPressForTesting('R');
    EXPECT_EQ(FClicks.size(), 2u) << "a styled button takes no characters: the letter alone";
    b->SetEnabled(false);
    Focus(edit);
    edit->KeyPressForTesting('R', {ui::ssAlt});
    EXPECT_EQ(FClicks.size(), 2u);
}

TEST_F(ButtonTest, GroupsKeepOneButtonDown) {
    TBvButton *a = Add<TBvButton>(0, 0, u"A");
    TBvButton *b = Add<TBvButton>(80, 0, u"B");
    TBvButton *c = Add<TBvButton>(160, 0, u"C");
    TBvButton *free = Add<TBvButton>(240, 0, u"D");
    for (TBvButton *x : {a, b, c}) {
        x->SetGroupIndex(1);
    }
    free->SetDown(true);
    EXPECT_FALSE(free->GetDown()) << "GroupIndex 0 cannot be down";
    a->SetDown(true);
    EXPECT_TRUE(a->GetDown());
    EXPECT_EQ(a->GetState(), bsExclusive);
    b->SetDown(true);
    EXPECT_FALSE(a->GetDown());
    EXPECT_EQ(a->GetState(), bsUp);
    EXPECT_TRUE(b->GetDown());
    b->SetDown(false);
    EXPECT_TRUE(b->GetDown()) << "without AllowAllUp the down button stays down";
    c->SetAllowAllUp(true);
    EXPECT_TRUE(a->GetAllowAllUp()) << "the group takes the sender's AllowAllUp";
    b->SetDown(false);
    EXPECT_FALSE(b->GetDown());
    Show();
    Mouse(c, ui::WM_LBUTTONDOWN, 3, 3);
    Mouse(c, ui::WM_LBUTTONUP, 3, 3);
    EXPECT_TRUE(c->GetDown()) << "a click toggles a group button";
    Mouse(a, ui::WM_LBUTTONDOWN, 3, 3);
    Mouse(a, ui::WM_LBUTTONUP, 3, 3);
    EXPECT_TRUE(a->GetDown());
    EXPECT_FALSE(c->GetDown());
}

TEST_F(ButtonTest, ClickSetsTheFormsModalResultAlsoToZero) {
    TBvButton *b = Add<TBvButton>(10, 10, u"Go");
    FForm->SetModalResult(ui::mrOk);
    b->PerformClick();
    EXPECT_EQ(FForm->GetModalResult(), ui::mrNone);
    b->SetModalResult(ui::mrYes);
    b->PerformClick();
    EXPECT_EQ(FForm->GetModalResult(), ui::mrYes);
}

TEST_F(ButtonTest, ClassicFaceFrames) {
    TBvButton *b = Add<TBvButton>(10, 10, u"");
    gfx::TBitmap up = b->PaintFaceBitmap();
    EXPECT_EQ(Px(up, 0, 12), Rgb(gfx::clBtnHighlight));
    EXPECT_EQ(Px(up, 1, 12), Rgb(gfx::cl3DLight));
    EXPECT_EQ(Px(up, 74, 12), Rgb(gfx::cl3DDkShadow));
    EXPECT_EQ(Px(up, 73, 12), Rgb(gfx::clBtnShadow));
    EXPECT_EQ(Px(up, 37, 12), Rgb(gfx::clBtnFace));
    b->SetDefault(true); // active: a window-frame line around the push frame
    gfx::TBitmap active = b->PaintFaceBitmap();
    EXPECT_EQ(Px(active, 0, 12), Rgb(gfx::clWindowFrame));
    EXPECT_EQ(Px(active, 74, 12), Rgb(gfx::clWindowFrame));
    EXPECT_EQ(Px(active, 1, 12), Rgb(gfx::clBtnHighlight));
    b->SetDefault(false);
    b->SetGroupIndex(3);
    b->SetDown(true);
    gfx::TBitmap down = b->PaintFaceBitmap();
    EXPECT_EQ(Px(down, 0, 12), Rgb(gfx::clBtnShadow)); // fsLowered
    EXPECT_EQ(Px(down, 1, 12), Rgb(gfx::cl3DDkShadow));
    // The down pattern: silver where column and row parity agree, face colour elsewhere.
    EXPECT_EQ(Px(down, 10, 10), Rgb(gfx::clSilver));
    EXPECT_EQ(Px(down, 11, 10), Rgb(gfx::clBtnFace));
}

TEST_F(ButtonTest, FocusRectangleOnlyOnceFocusCuesAreShown) {
    TBvButton *b = Add<TBvButton>(10, 10, u"");
    Show();
    b->SetFocus();
    ui::Application->ProcessMessages();
    ASSERT_TRUE(b->Focused());
    const uint32_t face = Rgb(gfx::clBtnFace), dot = ~face & 0xFFFFFFu;
    gfx::TBitmap hidden = b->PaintFaceBitmap();
    EXPECT_EQ(Px(hidden, 4, 5), face) << "cues are hidden until the keyboard is used";
    b->Perform(ui::WM_UPDATEUISTATE,
               ui::WPARAM(ui::UIS_CLEAR) | (ui::WPARAM(ui::UISF_HIDEFOCUS) << 16));
    EXPECT_TRUE(b->FocusCuesShown());
    EXPECT_FALSE(b->AcceleratorsShown());
    gfx::TBitmap shown = b->PaintFaceBitmap();
    EXPECT_EQ(Px(shown, 4, 5), dot);
    EXPECT_EQ(Px(shown, 4, 6), face);
    EXPECT_EQ(Px(shown, 5, 4), dot);
    EXPECT_EQ(Px(shown, 70, 5), dot);
    b->SetShowFocusRect(false);
    gfx::TBitmap off = b->PaintFaceBitmap();
    EXPECT_EQ(Px(off, 4, 5), face);
}

// Pressing moves a group button's focus frame with its face; a plain button's frame stays.
TEST_F(ButtonTest, PressedFocusFrameMovesOnlyForGroupButtons) {
    TBvButton *b = Add<TBvButton>(10, 10, u"");
    Show();
    Focus(b);
    ASSERT_TRUE(b->Focused());
    b->Perform(ui::WM_UPDATEUISTATE,
               ui::WPARAM(ui::UIS_CLEAR) | (ui::WPARAM(ui::UISF_HIDEFOCUS) << 16));
    const uint32_t face = Rgb(gfx::clBtnFace), dot = ~face & 0xFFFFFFu;
    struct TCase {
        int32_t group;
        int x, y; // the first dot of the left column while pressed
    };
    for (const TCase &c : {TCase{0, 4, 5}, TCase{3, 5, 6}}) {
        SCOPED_TRACE(c.group);
        b->SetGroupIndex(c.group);
        Mouse(b, ui::WM_LBUTTONDOWN, 40, 10);
        ASSERT_TRUE(b->IsPressedForTesting());
        gfx::TBitmap pressed = b->PaintFaceBitmap();
        EXPECT_EQ(Px(pressed, c.x, c.y), dot);
        EXPECT_EQ(Px(pressed, 9 - c.x, 11 - c.y), face); // the other placement stays blank
        Mouse(b, ui::WM_LBUTTONUP, 200, 200);            // released outside: no click
    }
}

TEST_F(ButtonTest, TintedFaceWhenTheColourIsNotButtonFace) {
    TBvButton *b = Add<TBvButton>(10, 10, u"");
    const TColor face = RGB(200, 100, 50);
    b->SetColor(face);
    gfx::TBitmap up = b->PaintFaceBitmap();
    EXPECT_EQ(Px(up, 0, 12), Rgb(LightenColor(face, 100)));
    EXPECT_EQ(Px(up, 74, 12), Rgb(DarkenColor(face, 100)));
    EXPECT_EQ(Px(up, 1, 12), Rgb(LightenColor(face, 40)));
    EXPECT_EQ(Px(up, 37, 12), Rgb(face));
}

TEST_F(ButtonTest, DisabledCaptionOnGreyFaceUsesDarkShadow) {
    // Thick upright stems: antialiased text is wholly in the caption colour only inside them.
    TBvButton *b = Add<TBvButton>(10, 10, u"HH");
    b->SetHeight(40);
    b->GetFont().SetHeight(-24);
    b->GetFont().SetStyle({gfx::fsBold});
    b->SetColor(gfx::clGrayText);
    b->SetEnabled(false);
    auto count = [&](gfx::TBitmap &face, TColor colour) {
        int n = 0;
        for (int y = 5; y < 35; ++y) {
            for (int x = 5; x < 70; ++x) {
                n += Px(face, x, y) == Rgb(colour);
            }
        }
        return n;
    };
    gfx::TBitmap onGrey = b->PaintFaceBitmap();
    EXPECT_GT(count(onGrey, gfx::cl3DDkShadow), 10);
    b->SetColor(gfx::clBtnFace);
    gfx::TBitmap onFace = b->PaintFaceBitmap();
    EXPECT_GT(count(onFace, gfx::clGrayText), 10);
    EXPECT_EQ(count(onFace, gfx::cl3DDkShadow), 0);
}

TEST_F(ButtonTest, HotTrackedFaceFollowsTheMouse) {
    TBvButton *b = Add<TBvButton>(10, 10, u"");
    b->SetHotTrack(true);
    gfx::TBitmap plain = b->PaintFaceBitmap();
    EXPECT_EQ(Px(plain, 1, 12), Rgb(gfx::cl3DDkShadow)); // the frame line
    EXPECT_EQ(Px(plain, 0, 12), Rgb(DarkenColor(gfx::clBtnFace, 20)));
    EXPECT_EQ(Px(plain, 74, 12), Rgb(LightenColor(gfx::clBtnFace, 20)));
    FForm->SetColor(RGB(9, 8, 7));
    gfx::TBitmap corners = b->PaintFaceBitmap();
    EXPECT_EQ(Px(corners, 0, 0), Rgb(RGB(9, 8, 7))) << "the cut corners show the parent";
    EXPECT_EQ(Px(corners, 74, 24), Rgb(RGB(9, 8, 7)));
    b->Perform(ui::CM_MOUSEENTER);
    EXPECT_TRUE(b->IsMouseOverForTesting());
    gfx::TBitmap hot = b->PaintFaceBitmap();
    EXPECT_EQ(Px(hot, 2, 2), Rgb(MixColors(gfx::clWhite, b->GetHotTrackColor(), 190)));
    b->Perform(ui::CM_MOUSELEAVE);
    EXPECT_FALSE(b->IsMouseOverForTesting());
}

// ---- glyph button ----

gfx::TBitmap Strip(std::initializer_list<TColor> cells, int size = 16) {
    gfx::TBitmap b(int(cells.size()) * size, size);
    int i = 0;
    for (TColor c : cells) {
        b.GetCanvas().GetBrush().SetColor(c);
        b.GetCanvas().FillRect(gfx::Rect(i * size, 0, (i + 1) * size, size));
        // A corner pixel of a transparent colour in the first cell marks the strip's mask.
        ++i;
    }
    b.GetCanvas().SetPixel(0, size - 1, gfx::clOlive);
    return b;
}

TEST_F(ButtonTest, CustomBitBtnWithoutGlyphPaintsAsAPushButton) {
    TBvButton *plain = Add<TBvButton>(0, 0, u"Перезагрузить");
    TBvBitBtn *bit = Add<TBvBitBtn>(0, 50, u"Перезагрузить");
    gfx::TBitmap a = plain->PaintFaceBitmap();
    gfx::TBitmap b = bit->PaintFaceBitmap();
    ASSERT_EQ(a.GetWidth(), b.GetWidth());
    for (int y = 0; y < a.GetHeight(); ++y) {
        for (int x = 0; x < a.GetWidth(); ++x) {
            ASSERT_EQ(Px(a, x, y), Px(b, x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(bit->CaptionRectForTesting(), gfx::Rect(5, 5, 70, 20));
}

TEST_F(ButtonTest, KindsAndTheirRoles) {
    TBvBitBtn *b = Add<TBvBitBtn>(0, 0, u"");
    b->SetKind(bkOK);
    EXPECT_EQ(b->GetCaption(), u"OK");
    EXPECT_TRUE(b->GetDefault());
    EXPECT_EQ(b->GetModalResult(), ui::mrOk);
    EXPECT_EQ(b->GetNumGlyphs(), 2);
    EXPECT_EQ(b->GetKind(), bkOK);
    b->SetModalResult(ui::mrNone);
    EXPECT_EQ(b->GetKind(), bkCustom);
    b->SetKind(bkNo);
    EXPECT_EQ(b->GetCaption(), u"&No");
    EXPECT_TRUE(b->GetCancel());
    EXPECT_FALSE(b->GetDefault());
    b->SetGlyph(Strip({gfx::clRed}));
    EXPECT_EQ(b->GetKind(), bkCustom) << "a user glyph ends the kind";
    EXPECT_EQ(KindGlyphBitmap(bkYes), KindGlyphBitmap(bkYes)) << "the stock glyphs are shared";
}

TEST_F(ButtonTest, GlyphWidthSetsTheCellCount) {
    TBvBitBtn *b = Add<TBvBitBtn>(0, 0, u"");
    b->SetGlyph(gfx::TBitmap(64, 16));
    EXPECT_EQ(b->GetNumGlyphs(), 4);
    b->SetGlyph(gfx::TBitmap(80, 16));
    EXPECT_EQ(b->GetNumGlyphs(), 1);
    b->SetNumGlyphs(3);
    b->SetGlyph(gfx::TBitmap(50, 16));
    EXPECT_EQ(b->GetNumGlyphs(), 3);
    b->SetMargin(-2);
    EXPECT_EQ(b->GetMargin(), 2);
    b->SetMargin(-1);
    EXPECT_EQ(b->GetMargin(), -1);
}

TEST_F(ButtonTest, GlyphCellFollowsTheState) {
    TBvBitBtn *b = Add<TBvBitBtn>(0, 0, u"");
    b->SetGlyph(Strip({gfx::clRed, gfx::clLime}));
    Show();
    const TRect gr = b->GlyphRectForTesting();
    EXPECT_EQ(gr, gfx::Rect(7, 5 + (15 - 16 + 1) / 2, 23, 5 + (15 - 16 + 1) / 2 + 16));
    auto centre = [&] {
        gfx::TBitmap f = b->PaintFaceBitmap();
        const TRect r = b->GlyphRectForTesting();
        return Px(f, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    };
    EXPECT_EQ(centre(), Rgb(gfx::clRed));
    Mouse(b, ui::WM_LBUTTONDOWN, 40, 10);
    EXPECT_EQ(centre(), Rgb(gfx::clRed)) << "two cells: pressed still shows cell 0";
    Mouse(b, ui::WM_LBUTTONUP, 40, 10);
    b->SetEnabled(false);
    EXPECT_EQ(centre(), Rgb(gfx::clLime));
    b->SetEnabled(true);
    b->SetGlyph(Strip({gfx::clRed, gfx::clLime, gfx::clBlue}));
    Mouse(b, ui::WM_LBUTTONDOWN, 40, 10);
    EXPECT_EQ(centre(), Rgb(gfx::clBlue));
    Mouse(b, ui::WM_LBUTTONUP, 40, 10);
    // The transparent colour (bottom-left pixel) shows the face.
    gfx::TBitmap f = b->PaintFaceBitmap();
    const TRect r = b->GlyphRectForTesting();
    EXPECT_EQ(Px(f, r.Left, r.Bottom - 1), Rgb(gfx::clBtnFace));
    TRect cr = b->CaptionRectForTesting();
    EXPECT_EQ(cr.Left, 5 + 2 + 16 + 4);
}

// A press moves the glyph by (1, 1); a group button resting down only carries it along with its
// caption rectangle, which matters where the glyph's top is placed absolutely (centred layout).
TEST_F(ButtonTest, CentredTopGlyphFollowsPressAndGroupDownDifferently) {
    TBvBitBtn *b = Add<TBvBitBtn>(0, 0, u"");
    b->SetGlyph(Strip({gfx::clRed}));
    b->SetMargin(-1);
    b->SetLayout(blGlyphTop);
    Show();
    const TRect up = b->GlyphRectForTesting();
    Mouse(b, ui::WM_LBUTTONDOWN, 40, 10);
    ASSERT_TRUE(b->IsPressedForTesting());
    TRect pressed = up;
    pressed.Offset(1, 1);
    EXPECT_EQ(b->GlyphRectForTesting(), pressed);
    Mouse(b, ui::WM_LBUTTONUP, 200, 200);
    b->SetGroupIndex(1);
    b->SetDown(true);
    TRect down = up;
    down.Offset(1, 0);
    EXPECT_EQ(b->GlyphRectForTesting(), down);
}

// Images 0 (red), 1 (lime), 2 (blue), 16 x 16, with a clOlive corner left out.
std::unique_ptr<gfx::TImageList> ColourList() {
    auto list = std::make_unique<gfx::TImageList>(nullptr, 16, 16);
    list->AddMasked(Strip({gfx::clRed, gfx::clLime, gfx::clBlue}), gfx::clOlive);
    return list;
}

TEST_F(ButtonTest, ImageListGlyphEnabledDisabledAndDisabledIndex) {
    auto list = ColourList();
    TBvBitBtn *b = Add<TBvBitBtn>(0, 0, u"Go");
    b->SetImages(list.get());
    const TRect noImage = b->CaptionRectForTesting();
    EXPECT_EQ(b->CaptionRectForTesting(), noImage) << "index -1: no picture";
    b->SetImageIndex(0);
    EXPECT_EQ(b->CaptionRectForTesting().Left, noImage.Left + 2 + 16 + 4);
    Show();
    const TRect gr = b->GlyphRectForTesting();
    EXPECT_EQ(gr, gfx::Rect(7, 5, 23, 21));
    auto at = [&](int dx, int dy) {
        gfx::TBitmap f = b->PaintFaceBitmap();
        return Px(f, gr.Left + dx, gr.Top + dy);
    };
    EXPECT_EQ(at(8, 8), Rgb(gfx::clRed));
    EXPECT_EQ(at(0, 15), Rgb(gfx::clBtnFace)) << "the masked corner shows the face";
    // Disabled without DisabledIndex: the list's embossed look (shadow in place).
    b->SetEnabled(false);
    EXPECT_EQ(at(8, 8), Rgb(gfx::clBtnShadow));
    // With DisabledIndex: that image, in the enabled look, only while disabled.
    b->SetDisabledIndex(2);
    EXPECT_EQ(at(8, 8), Rgb(gfx::clBlue));
    b->SetEnabled(true);
    EXPECT_EQ(at(8, 8), Rgb(gfx::clRed));
    // A change of the list repaints from its new content.
    list->ReplaceMasked(0, Strip({gfx::clYellow}), gfx::clOlive);
    EXPECT_EQ(at(8, 8), Rgb(gfx::clYellow));
    // The list going away leaves the button without it.
    list.reset();
    EXPECT_EQ(b->GetImages(), nullptr);
    EXPECT_EQ(b->CaptionRectForTesting(), noImage);
}

TEST_F(ButtonTest, StockKindGlyphWinsOverTheImageList) {
    auto list = ColourList();
    TBvBitBtn *b = Add<TBvBitBtn>(0, 0, u"");
    b->SetImages(list.get());
    b->SetImageIndex(0);
    b->SetKind(bkOK);
    Show();
    gfx::TBitmap f = b->PaintFaceBitmap();
    const TRect gr = b->GlyphRectForTesting();
    for (int y = gr.Top; y < gr.Bottom; ++y) {
        for (int x = gr.Left; x < gr.Right; ++x) {
            ASSERT_NE(Px(f, x, y), Rgb(gfx::clRed)) << x << "," << y;
        }
    }
}

TEST_F(ButtonTest, ButtonFollowsItsAction) {
    auto list = ColourList();
    ui::TAction action(nullptr);
    action.SetCaption(u"&Run");
    action.SetHint(u"Runs it");
    action.SetImageIndex(1);
    int executed = 0;
    action.OnExecute = [&](ui::TComponent *) { ++executed; };
    TBvBitBtn *b = Add<TBvBitBtn>(0, 0, u"Old");
    b->OnClick = nullptr;
    b->SetImages(list.get());
    b->SetAction(&action);
    EXPECT_EQ(b->GetCaption(), u"&Run");
    EXPECT_EQ(b->GetHint(), u"Runs it");
    EXPECT_EQ(b->GetImageIndex(), 1);
    action.SetEnabled(false);
    EXPECT_FALSE(b->GetEnabled());
    action.SetEnabled(true);
    action.SetCaption(u"Stop");
    action.SetImageIndex(2);
    EXPECT_EQ(b->GetCaption(), u"Stop");
    EXPECT_EQ(b->GetImageIndex(), 2);
    Show();
    gfx::TBitmap f = b->PaintFaceBitmap();
    const TRect gr = b->GlyphRectForTesting();
    EXPECT_EQ(Px(f, gr.Left + 8, gr.Top + 8), Rgb(gfx::clBlue));
    b->Click();
    EXPECT_EQ(executed, 1);
    b->SetAction(nullptr);
}

// Right to left, a glyph on the left is placed on the right; other layouts stay.
TEST_F(ButtonTest, RightToLeftPutsALeftGlyphOnTheRight) {
    TBvBitBtn *b = Add<TBvBitBtn>(0, 0, u"");
    b->SetGlyph(Strip({gfx::clRed}));
    const TRect ltrCaption = b->CaptionRectForTesting();
    b->SetBiDiMode(ui::bdRightToLeft);
    const TRect glyph = b->GlyphRectForTesting();
    TRect base = ltrCaption;
    base.Left -= 2 + 16 + 4; // the push button's caption rectangle
    EXPECT_EQ(glyph.Left, base.Right - 2 - 16);
    EXPECT_EQ(b->CaptionRectForTesting().Right, base.Right - 2 - 16 - 4);
    b->SetBiDiMode(ui::bdRightToLeftNoAlign);
    EXPECT_EQ(b->CaptionRectForTesting(), ltrCaption);
    b->SetBiDiMode(ui::bdRightToLeft);
    b->SetLayout(blGlyphTop);
    EXPECT_EQ(b->GlyphRectForTesting().Top, base.Top + 2);
}

} // namespace
