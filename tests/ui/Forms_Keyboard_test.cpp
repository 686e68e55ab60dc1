// The form's keyboard handling: dialog keys and accelerators offered to every control, focus
// notifications, Tab order, arrows, keyboard cues, and partial repaints of own-drawn controls.
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/CustomControl.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Panel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

using namespace ui;

namespace {

// An own-drawn control that takes dialog keys and accelerators as the styled buttons do and
// records what reaches it.
struct OwnButton : TCustomControl {
    OwnButton(TWinControl *parent, const char16_t *caption, int32_t left) : TCustomControl(parent) {
        SetParent(parent);
        SetBounds(left, 10, 60, 25);
        SetCaption(caption);
        SetTabStop(true);
    }
    bool isDefault = false;
    bool otherButtonFocused = false; // a push button other than this one has the focus
    LRESULT dialogCode = 0;
    int clicks = 0;
    std::vector<TControl *> focusNotes;
    std::vector<WPARAM> uiStates;
    std::vector<uint16_t> keys;
    std::vector<char16_t> chars;

    void Dispatch(TMessage &m) override {
        switch (m.Msg) {
        case WM_GETDLGCODE:
            m.Result = dialogCode;
            return;
        case CM_DIALOGKEY:
            if (m.WParam == VK_RETURN && isDefault && !otherButtonFocused && m.LParam == 0) {
                ++clicks;
                m.Result = 1;
            }
            return;
        case CM_DIALOGCHAR:
            if (IsAccel(char16_t(m.WParam), GetCaption())) {
                ++clicks;
                m.Result = 1;
            }
            return;
        case CM_FOCUSCHANGED: {
            auto *focused = reinterpret_cast<TWinControl *>(m.LParam);
            focusNotes.push_back(focused);
            otherButtonFocused =
                focused != this && (focused->Perform(WM_GETDLGCODE) &
                                    (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
            return;
        }
        case WM_UPDATEUISTATE:
            uiStates.push_back(m.WParam);
            return;
        case WM_CHAR:
            chars.push_back(char16_t(m.WParam));
            break;
        default:
            break;
        }
        TCustomControl::Dispatch(m);
    }

protected:
    void KeyDown(uint16_t &key, TShiftState shift) override {
        keys.push_back(key);
        TCustomControl::KeyDown(key, shift);
    }
};

// A shown form holding an edit, an own-drawn default button "&Reload" and a native cancel
// button "&Close", created in that order.
struct KeyboardForm : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TEdit *edit = new TEdit(form.get());
    OwnButton *reload = new OwnButton(form.get(), u"&Reload", 150);
    TButton *close = new TButton(form.get());
    int closeClicks = 0;
    std::vector<uint16_t> editKeys;

    void SetUp() override {
        edit->SetParent(form.get());
        edit->SetBounds(10, 10, 120, 21);
        edit->OnKeyDown = [this](TComponent *, uint16_t &key, TShiftState) {
            editKeys.push_back(key);
        };
        reload->isDefault = true;
        close->SetParent(form.get());
        close->SetBounds(220, 10, 75, 25);
        close->SetCaption(u"&Close");
        close->SetCancel(true);
        close->OnClick = [this](TComponent *) { ++closeClicks; };
        form->Show();
        Focus(edit);
    }
    static void Focus(TWinControl *c) {
        c->SetFocus();
        Application->ProcessMessages();
    }
};

} // namespace

TEST_F(KeyboardForm, EnterInAnEditClicksTheOwnDrawnDefaultButton) {
    edit->KeyPressForTesting(VK_RETURN);
    EXPECT_EQ(reload->clicks, 1);
    // The form takes a dialog key before the control's handlers see it.
    EXPECT_TRUE(editKeys.empty());
    // With Shift the button declines, so the key goes on to the edit.
    edit->KeyPressForTesting(VK_RETURN, {ssShift});
    EXPECT_EQ(reload->clicks, 1);
    EXPECT_EQ(editKeys, std::vector<uint16_t>{VK_RETURN});
}

TEST_F(KeyboardForm, EscapeInAnOwnDrawnControlClicksTheNativeCancelButton) {
    Focus(reload);
    reload->KeyPressForTesting(VK_ESCAPE);
    EXPECT_EQ(closeClicks, 1);
    EXPECT_TRUE(reload->keys.empty());
}

TEST_F(KeyboardForm, EnterOnAFocusedNativeButtonClicksThatButton) {
    Focus(close);
    close->KeyPressForTesting(VK_RETURN);
    EXPECT_EQ(closeClicks, 1);
    EXPECT_EQ(reload->clicks, 0) << "the default yields while another push button is focused";
    Focus(edit);
    edit->KeyPressForTesting(VK_RETURN);
    EXPECT_EQ(reload->clicks, 1);
}

TEST_F(KeyboardForm, AnOwnDrawnControlThatWantsAllKeysKeepsEnter) {
    auto *grid = new OwnButton(form.get(), u"Grid", 300);
    grid->dialogCode = DLGC_WANTALLKEYS;
    Focus(grid);
    grid->KeyPressForTesting(VK_RETURN);
    EXPECT_EQ(reload->clicks, 0);
    EXPECT_EQ(grid->keys, std::vector<uint16_t>{VK_RETURN});
}

TEST_F(KeyboardForm, AcceleratorsClickTheButtonWhoseCaptionMarksThem) {
    struct Case {
        const char *name;
        bool focusOwnDrawn;
        uint16_t key;
        TShiftState shift;
        int reloadClicks, closeClicks;
    };
    const Case cases[] = {
        {"Alt+R in the edit", false, 'R', {ssAlt}, 1, 0},
        {"R in the edit is typed", false, 'R', {}, 0, 0},
        {"R on a control taking no characters", true, 'R', {}, 1, 0},
        {"Alt+X marks nothing", false, 'X', {ssAlt}, 0, 0},
        {"Ctrl+Alt+R is AltGr typing", false, 'R', {ssCtrl, ssAlt}, 0, 0},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        reload->clicks = closeClicks = 0;
        edit->SetText(u"");
        TWinControl *target = k.focusOwnDrawn ? static_cast<TWinControl *>(reload) : edit;
        Focus(target);
        target->KeyPressForTesting(k.key, k.shift);
        EXPECT_EQ(reload->clicks, k.reloadClicks);
        EXPECT_EQ(closeClicks, k.closeClicks);
    }
    EXPECT_TRUE(reload->chars.empty()) << "a character taken as accelerator is not typed";
}

TEST_F(KeyboardForm, CharacterAcceleratorClicksANativeButton) {
    Focus(reload);
    reload->KeyPressForTesting('C');
    EXPECT_EQ(closeClicks, 1);
    // Alt+C is the native button's own mnemonic: Qt clicks it (once, animated), and the key
    // is not offered again.
    Focus(edit);
    edit->KeyPressForTesting('C', {ssAlt});
    for (int i = 0; i < 200 && closeClicks < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Application->ProcessMessages();
    }
    EXPECT_EQ(closeClicks, 2);
}

TEST(Accelerators, AreMarkedByASingleAmpersand) {
    EXPECT_TRUE(IsAccel(u'r', u"&Reload"));
    EXPECT_TRUE(IsAccel(u'R', u"Re&load") == false);
    EXPECT_TRUE(IsAccel(u'L', u"Re&load"));
    EXPECT_FALSE(IsAccel(u'd', u"R&&D"));
    EXPECT_TRUE(IsAccel(u'd', u"R&&&D"));
    EXPECT_FALSE(IsAccel(u'r', u"Reload&"));
    EXPECT_TRUE(IsAccel(u'ф', u"&Файл"));
}

TEST_F(KeyboardForm, FocusChangesAreToldToEveryControlOnce) {
    Focus(close);
    Focus(reload);
    Focus(reload);
    Focus(edit);
    const std::vector<TControl *> expected{close, reload, edit};
    ASSERT_GE(reload->focusNotes.size(), expected.size());
    EXPECT_EQ(std::vector<TControl *>(reload->focusNotes.end() - 3, reload->focusNotes.end()),
              expected);
    EXPECT_EQ(form->GetActiveControl(), edit);
}

TEST_F(KeyboardForm, ANativeDefaultButtonYieldsEnterToAFocusedPushButton) {
    reload->isDefault = false;
    auto *ok = new TButton(form.get());
    ok->SetParent(form.get());
    ok->SetLeft(300);
    ok->SetDefault(true);
    int okClicks = 0;
    ok->OnClick = [&](TComponent *) { ++okClicks; };
    edit->KeyPressForTesting(VK_RETURN);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(ok->Perform(WM_GETDLGCODE), LRESULT(DLGC_BUTTON | DLGC_DEFPUSHBUTTON));
    Focus(close);
    EXPECT_EQ(ok->Perform(WM_GETDLGCODE), LRESULT(DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON));
    close->KeyPressForTesting(VK_RETURN);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(closeClicks, 1);
}

TEST_F(KeyboardForm, TabMovesThroughTabStopsInTabOrder) {
    // Tab order differs from creation order; a disabled, a hidden and a non-tab-stop control
    // are passed over, and a panel's children come in the panel's place.
    auto *panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 50, 200, 60);
    auto *inner = new OwnButton(panel, u"Inner", 5);
    auto *disabled = new OwnButton(form.get(), u"Off", 300);
    disabled->SetEnabled(false);
    auto *hidden = new OwnButton(form.get(), u"Hidden", 300);
    hidden->Hide();
    auto *noStop = new OwnButton(form.get(), u"NoStop", 300);
    noStop->SetTabStop(false);
    reload->SetTabOrder(0);
    edit->SetTabOrder(1);
    panel->SetTabOrder(2);
    close->SetTabOrder(3);
    Focus(reload);
    const std::vector<TWinControl *> forward{edit, inner, close, reload};
    for (TWinControl *next : forward) {
        form->GetActiveControl()->KeyPressForTesting(VK_TAB);
        Application->ProcessMessages();
        EXPECT_EQ(form->GetActiveControl(), next) << next->GetCaption().size();
    }
    reload->KeyPressForTesting(VK_TAB, {ssShift});
    Application->ProcessMessages();
    EXPECT_EQ(form->GetActiveControl(), close);
    EXPECT_TRUE(reload->keys.empty()) << "Tab is not a key for a control that doesn't ask";
}

TEST_F(KeyboardForm, AControlAskingForTabOrArrowsKeepsThem) {
    struct Case {
        uint16_t key;
        LRESULT code;
        bool moves;
    };
    for (const Case &k :
         {Case{VK_TAB, 0, true}, Case{VK_TAB, DLGC_WANTTAB, false}, Case{VK_RIGHT, 0, true},
          Case{VK_RIGHT, DLGC_WANTARROWS, false}, Case{VK_DOWN, DLGC_WANTARROWS, false}}) {
        SCOPED_TRACE(k.key);
        reload->dialogCode = k.code;
        reload->keys.clear();
        Focus(reload);
        reload->KeyPressForTesting(k.key);
        Application->ProcessMessages();
        EXPECT_EQ(form->GetActiveControl() != reload, k.moves);
        EXPECT_EQ(reload->keys.empty(), k.moves);
    }
}

TEST_F(KeyboardForm, ArrowsMoveAmongSiblingsWithoutTabStopsAndWrap) {
    // Children in order: reload (made with its parent), edit, close, plain.
    auto *plain = new OwnButton(form.get(), u"Plain", 300);
    plain->SetTabStop(false);
    Focus(close);
    const std::pair<uint16_t, TWinControl *> steps[] = {
        {VK_RIGHT, plain}, {VK_DOWN, reload}, {VK_LEFT, plain}, {VK_UP, close}};
    for (const auto &[key, next] : steps) {
        SCOPED_TRACE(key);
        form->GetActiveControl()->KeyPressForTesting(key);
        Application->ProcessMessages();
        EXPECT_EQ(form->GetActiveControl(), next);
    }
    // The edit wants arrows for its caret: they stay there.
    Focus(edit);
    edit->KeyPressForTesting(VK_RIGHT);
    Application->ProcessMessages();
    EXPECT_EQ(form->GetActiveControl(), edit);
}

TEST_F(KeyboardForm, KeyboardCuesAppearOnceWhenTheKeyboardNavigates) {
    EXPECT_FALSE(form->FocusCuesShown());
    edit->KeyPressForTesting('A');
    edit->KeyPressForTesting(VK_RETURN);
    EXPECT_TRUE(reload->uiStates.empty()) << "typing shows no cues";
    edit->KeyPressForTesting(VK_TAB);
    Application->ProcessMessages();
    const WPARAM clearBoth = UIS_CLEAR | (WPARAM(UISF_HIDEFOCUS | UISF_HIDEACCEL) << 16);
    EXPECT_EQ(reload->uiStates, std::vector<WPARAM>{clearBoth});
    EXPECT_TRUE(form->FocusCuesShown());
    EXPECT_TRUE(form->AcceleratorsShown());
    reload->KeyPressForTesting(VK_TAB);
    EXPECT_EQ(reload->uiStates.size(), 1u);
    auto *later = new OwnButton(form.get(), u"Later", 300);
    EXPECT_EQ(later->uiStates, std::vector<WPARAM>{clearBoth}) << "a new control follows";
}

TEST(KeyboardCues, AltAndArrowsShowThemTooButOtherKeysDoNot) {
    struct Case {
        uint16_t key;
        TShiftState shift;
        bool shown;
    };
    for (const Case &k :
         {Case{VK_MENU, {ssAlt}, true}, Case{VK_DOWN, {}, true}, Case{'X', {ssAlt}, true},
          Case{VK_SPACE, {}, false}, Case{VK_ESCAPE, {}, false}}) {
        SCOPED_TRACE(k.key);
        TForm form(nullptr);
        auto *b = new OwnButton(&form, u"B", 10);
        form.Show();
        b->KeyPressForTesting(k.key, k.shift);
        EXPECT_EQ(!b->uiStates.empty(), k.shown);
        EXPECT_EQ(form.FocusCuesShown(), k.shown);
    }
}

namespace {

// Records the clip of each paint and whether points are visible in it; paints blue.
struct ClipProbe : TCustomControl {
    using TCustomControl::TCustomControl;
    std::vector<gfx::TRect> clips;
    std::vector<bool> between, inside;
    gfx::TColor readBack = -2;

protected:
    void Paint() override {
        gfx::TCanvas &c = GetCanvas();
        clips.push_back(c.GetClipRect());
        between.push_back(c.PtVisible({12, 8}));
        inside.push_back(c.PtVisible({3, 3}));
        c.GetBrush().SetColor(gfx::clBlue);
        c.FillRect(GetClientRect());
        readBack = c.GetPixel(3, 3);
    }
};

} // namespace

TEST(InvalidateRect, RepaintsTheUnionOfTheInvalidatedAreasOnly) {
    TForm form(nullptr);
    auto *probe = new ClipProbe(&form);
    probe->SetParent(&form);
    probe->SetBounds(0, 0, 40, 30);
    form.Show();
    Application->ProcessMessages();
    probe->clips.clear();
    probe->between.clear();
    probe->inside.clear();
    probe->InvalidateRect(gfx::Rect(2, 2, 6, 6));
    probe->InvalidateRect(gfx::Rect(20, 10, 24, 14));
    probe->InvalidateRect(gfx::Rect(5, 5, 5, 9)); // empty: nothing
    Application->ProcessMessages();
    ASSERT_EQ(probe->clips.size(), 1u);
    EXPECT_EQ(probe->clips[0], gfx::Rect(2, 2, 24, 14));
    EXPECT_TRUE(probe->inside[0]);
    EXPECT_FALSE(probe->between[0]) << "between the two areas, within their bounds";
}

TEST(PaintCanvas, ReadsBackThePixelsOfThePaintInProgress) {
    TForm form(nullptr);
    auto *probe = new ClipProbe(&form);
    probe->SetParent(&form);
    probe->SetBounds(0, 0, 40, 30);
    form.Show();
    probe->GrabForTesting();
    EXPECT_EQ(probe->readBack, gfx::clBlue);
    probe->Repaint();
    EXPECT_EQ(probe->readBack, gfx::clBlue);
}
