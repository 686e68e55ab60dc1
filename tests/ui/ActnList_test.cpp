// Actions: buttons following an action's caption, enabled state, hint and visibility, clicks
// executing it, updates, checks and groups, shortcuts, lists, images on bit buttons, links
// ending with either side, and action lists stored in a component stream.
#include "platform/ui/ActnList.h"

#include "platform/rtl/Streaming.h"
#include "platform/ui/Application.h"
#include "platform/ui/BitBtn.h"
#include "platform/ui/Button.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace ui;

namespace {

// A form with an action list, an action and a button; nothing linked yet.
struct ActionForm {
    TForm form{nullptr};
    TActionList *list = new TActionList(&form);
    TAction *action = new TAction(&form);
    TButton *button = new TButton(&form);
    std::vector<rtl::TComponent *> executedBy;

    ActionForm() {
        action->SetActionList(list);
        action->SetCaption(u"&Печать...");
        action->SetHint(u"Печать отчета");
        action->OnExecute = [this](rtl::TComponent *sender) {
            executedBy.push_back(static_cast<TBasicAction *>(sender)->GetActionComponent());
        };
        button->SetParent(&form);
        button->SetBounds(10, 10, 100, 25);
    }
};

} // namespace

TEST(Actions, ButtonFollowsItsActionsCaptionEnabledStateHintAndVisibility) {
    ActionForm f;
    f.button->SetCaption(u"Button1");
    f.button->SetAction(f.action);
    EXPECT_EQ(f.button->GetAction(), f.action);
    EXPECT_EQ(f.button->GetCaption(), u"&Печать...");
    EXPECT_EQ(f.button->GetHint(), u"Печать отчета");
    EXPECT_TRUE(f.button->GetEnabled());

    f.action->SetEnabled(false);
    EXPECT_FALSE(f.button->GetEnabled());
    f.action->SetCaption(u"Сохранить...");
    EXPECT_EQ(f.button->GetCaption(), u"Сохранить...");
    f.action->SetVisible(false);
    EXPECT_FALSE(f.button->GetVisible());
    f.action->SetVisible(true);
    f.action->SetEnabled(true);
    EXPECT_TRUE(f.button->GetEnabled());

    // Unlinked, the button keeps what it has and stops following.
    f.button->SetAction(nullptr);
    f.action->SetCaption(u"Другое");
    EXPECT_EQ(f.button->GetCaption(), u"Сохранить...");
}

TEST(Actions, ClickOnTheButtonExecutesTheActionWhileItIsEnabled) {
    ActionForm f;
    f.button->OnClick = [](rtl::TComponent *) { ADD_FAILURE() << "replaced by the action"; };
    f.button->SetAction(f.action);
    f.form.Show();
    f.button->ClickAtForTesting(5, 5);
    EXPECT_EQ(f.executedBy, std::vector<rtl::TComponent *>{f.button});
    EXPECT_EQ(f.action->GetActionComponent(), nullptr);

    f.action->SetEnabled(false);
    f.button->ClickAtForTesting(5, 5); // the native button is disabled
    f.button->Click();                 // and the action refuses
    EXPECT_EQ(f.executedBy.size(), 1u);

    // An OnClick given after linking is the button's own.
    f.action->SetEnabled(true);
    int own = 0;
    f.button->OnClick = [&](rtl::TComponent *) { ++own; };
    f.button->ClickAtForTesting(5, 5);
    EXPECT_EQ(own, 1);
    EXPECT_EQ(f.executedBy.size(), 1u);
}

namespace {

struct LoadedButton : TButton {
    using TButton::ActionChange;
    using TButton::TButton;
};

} // namespace

// A control loaded from a stored form keeps what was stored for it: only values still at
// their defaults (or a caption equal to its name) come from the action.
TEST(Actions, KeepingSetValuesTakesOnlyWhatTheControlLeftAtItsDefault) {
    ActionForm f;
    auto &b = *new LoadedButton(&f.form);
    b.SetName(u"btnPrint");
    b.SetCaption(u"btnPrint");
    b.SetHint(u"stored hint");
    int own = 0;
    b.OnClick = [&](rtl::TComponent *) { ++own; };
    f.action->SetEnabled(false);
    b.ActionChange(f.action, acmKeepSetValues);
    EXPECT_EQ(b.GetCaption(), u"&Печать...");
    EXPECT_EQ(b.GetHint(), u"stored hint");
    EXPECT_FALSE(b.GetEnabled());
    b.Click();
    EXPECT_EQ(own, 1);
}

TEST(Actions, ListSeesEveryExecutionAndUpdateFirst) {
    ActionForm f;
    std::vector<TBasicAction *> seen;
    bool handle = true;
    f.list->OnExecute = [&](TBasicAction *a, bool &handled) {
        seen.push_back(a);
        handled = handle;
    };
    EXPECT_TRUE(f.action->Execute());
    EXPECT_TRUE(f.executedBy.empty());
    handle = false;
    EXPECT_TRUE(f.action->Execute());
    EXPECT_EQ(f.executedBy.size(), 1u);
    EXPECT_EQ(seen.size(), 2u);

    int updates = 0;
    f.list->OnUpdate = [&](TBasicAction *, bool &handled) {
        ++updates;
        handled = true;
    };
    f.button->SetAction(f.action);
    f.button->InitiateAction();
    EXPECT_EQ(updates, 1);

    // A suspended list's actions neither execute nor update.
    f.list->SetState(asSuspended);
    EXPECT_FALSE(f.action->Execute());
    f.button->InitiateAction();
    EXPECT_EQ(updates, 1);
}

TEST(Actions, UpdateSetsTheStateAndAnActionWithoutHandlersDisablesItself) {
    TForm form(nullptr);
    auto *idle = new TAction(&form);
    auto *tracked = new TAction(&form);
    bool ready = false;
    tracked->OnUpdate = [&](rtl::TComponent *) { tracked->SetEnabled(ready); };
    auto *button = new TButton(&form);
    button->SetAction(tracked);
    button->InitiateAction();
    EXPECT_FALSE(button->GetEnabled());
    ready = true;
    button->InitiateAction();
    EXPECT_TRUE(button->GetEnabled());

    EXPECT_TRUE(idle->GetEnabled());
    idle->Update();
    EXPECT_FALSE(idle->GetEnabled());
    // One with an OnExecute stays as it is.
    auto *busy = new TAction(&form);
    busy->OnExecute = [](rtl::TComponent *) {};
    busy->Update();
    EXPECT_TRUE(busy->GetEnabled());
}

// Whenever the message loop is about to wait, the actions of the showing controls update.
TEST(Actions, IdleUpdatesTheActionsOfShowingControls) {
    ActionForm f;
    int updates = 0;
    f.action->OnUpdate = [&](rtl::TComponent *) {
        ++updates;
        f.action->SetCaption(u"Печать (" + std::u16string(1, char16_t(u'0' + updates)) + u")");
    };
    f.button->SetAction(f.action);
    Application->DoActionIdle();
    EXPECT_EQ(updates, 0); // the form is not shown
    f.form.Show();
    Application->DoActionIdle();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(f.button->GetCaption(), u"Печать (1)");
}

TEST(Actions, AutoCheckTogglesAndAGroupKeepsOneChecked) {
    TForm form(nullptr);
    auto *list = new TActionList(&form);
    std::vector<TAction *> group;
    for (int i = 0; i < 3; ++i) {
        auto *a = new TAction(&form);
        a->SetActionList(list);
        a->SetAutoCheck(true);
        a->SetGroupIndex(1);
        a->OnExecute = [](rtl::TComponent *) {};
        group.push_back(a);
    }
    auto *lone = new TAction(&form);
    lone->SetActionList(list);
    lone->SetAutoCheck(true);
    lone->OnExecute = [](rtl::TComponent *) {};
    group[0]->Execute();
    group[2]->Execute();
    group[2]->Execute(); // a checked group member stays checked
    EXPECT_FALSE(group[0]->GetChecked());
    EXPECT_FALSE(group[1]->GetChecked());
    EXPECT_TRUE(group[2]->GetChecked());
    lone->Execute();
    EXPECT_TRUE(lone->GetChecked());
    lone->Execute();
    EXPECT_FALSE(lone->GetChecked());
    EXPECT_TRUE(group[2]->GetChecked());
}

TEST(Actions, ShortCutExecutesTheEnabledVisibleAction) {
    ActionForm f;
    f.action->SetShortCut(ShortCut('P', {ssCtrl}));
    EXPECT_EQ(f.action->GetShortCut(), scCtrl | 'P');
    EXPECT_FALSE(f.list->IsShortCut(ShortCut('P', {ssCtrl, ssShift})));
    EXPECT_TRUE(f.list->IsShortCut(scCtrl | 'P'));
    EXPECT_EQ(f.executedBy.size(), 1u);
    f.action->SetVisible(false);
    EXPECT_FALSE(f.list->IsShortCut(scCtrl | 'P'));
    EXPECT_EQ(f.executedBy.size(), 1u);
}

// A key press in the form goes to its action lists first; a shortcut taken there never reaches
// the focused control.
TEST(Actions, KeyPressInTheFormExecutesTheActionsShortCut) {
    ActionForm f;
    f.action->SetShortCut(ShortCut('P', {ssCtrl}));
    std::vector<uint16_t> keys;
    f.button->OnKeyDown = [&](rtl::TComponent *, uint16_t &key, TShiftState) {
        keys.push_back(key);
    };
    f.form.Show();
    f.button->SetFocus();
    Application->ProcessMessages();
    f.button->KeyPressForTesting('P', {ssCtrl});
    EXPECT_EQ(f.executedBy.size(), 1u);
    EXPECT_TRUE(keys.empty());
    f.button->KeyPressForTesting('Q', {ssCtrl});
    EXPECT_EQ(f.executedBy.size(), 1u);
    EXPECT_EQ(keys, std::vector<uint16_t>{'Q'});
    f.action->SetEnabled(false);
    f.action->OnUpdate = [](rtl::TComponent *) {};
    f.button->KeyPressForTesting('P', {ssCtrl});
    EXPECT_EQ(f.executedBy.size(), 1u) << "a disabled action lets the key through";
    EXPECT_EQ(keys.size(), 2u);
}

TEST(Actions, LinkEndsWithWhicheverSideGoesFirst) {
    ActionForm f;
    f.button->SetAction(f.action);
    f.action->Free();
    EXPECT_EQ(f.button->GetAction(), nullptr);
    f.button->Click(); // nothing to execute

    // An unowned action destroyed directly.
    auto held = std::make_unique<TAction>(nullptr);
    f.button->SetAction(held.get());
    held.reset();
    EXPECT_EQ(f.button->GetAction(), nullptr);

    // The button going first leaves the action without clients.
    auto *again = new TAction(&f.form);
    auto *other = new TButton(&f.form);
    other->SetAction(again);
    other->Free();
    again->SetCaption(u"still fine");
    EXPECT_EQ(again->GetCaption(), u"still fine");

    // A list freed leaves its actions in place, without a list.
    auto *kept = new TAction(&f.form);
    kept->SetActionList(f.list);
    f.list->Free();
    EXPECT_EQ(kept->GetActionList(), nullptr);
}

TEST(Actions, BitBtnTakesTheActionsImageWhileItHasNoGlyph) {
    ActionForm f;
    auto *images = new gfx::TImageList(&f.form, 4, 4);
    gfx::TBitmap red(4, 4);
    red.GetCanvas().GetBrush().SetColor(gfx::clRed);
    red.GetCanvas().FillRect(gfx::Rect(0, 0, 4, 4));
    red.ScanLine(3)[0] = 0xFFFFFFFF; // white is masked out below
    images->AddMasked(red, gfx::clWhite);
    f.list->SetImages(images);
    f.action->SetImageIndex(0);

    auto *b = new TBitBtn(&f.form);
    b->SetAction(f.action);
    gfx::TBitmap &glyph = b->GetGlyph();
    ASSERT_EQ(glyph.GetWidth(), 4);
    EXPECT_EQ(glyph.ScanLine(0)[0] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(glyph.ScanLine(3)[0] & 0xFFFFFF, 0xFF00FFu); // the clFuchsia ground
    EXPECT_EQ(b->GetNumGlyphs(), 1);

    // A button with a glyph of its own keeps it.
    auto *own = new TBitBtn(&f.form);
    own->SetGlyph(gfx::TBitmap(8, 8));
    own->SetAction(f.action);
    EXPECT_EQ(own->GetGlyph().GetWidth(), 8);

    // The image list going away leaves the list without images.
    images->Free();
    EXPECT_EQ(f.list->GetImages(), nullptr);
}

namespace {

// A root that stores the components it owns, except those stored inside another one.
struct Root : rtl::TComponent {
    using TComponent::TComponent;
    static const rtl::TClassInfo &StaticClassInfo() {
        static const rtl::TClassInfo info =
            rtl::TClassBuilder<Root>("TRoot", &TComponent::StaticClassInfo()).Build();
        return info;
    }
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    void GetChildren(const std::function<void(rtl::TComponent *)> &proc,
                     rtl::TComponent *root) override {
        (void)root;
        for (int32_t i = 0; i < GetComponentCount(); ++i) {
            if (!GetComponent(i)->HasParent()) {
                proc(GetComponent(i));
            }
        }
    }
};

} // namespace

TEST(Actions, ActionListIsStoredWithItsActionsAndImages) {
    rtl::RegisterClass(gfx::TImageList::StaticClassInfo());
    rtl::RegisterClass(TActionList::StaticClassInfo());
    rtl::RegisterClass(TAction::StaticClassInfo());
    Root root(nullptr);
    auto *images = new gfx::TImageList(&root, 24, 24);
    images->SetName(u"ImageList1");
    auto *list = new TActionList(&root);
    list->SetName(u"ActionList1");
    list->SetImages(images);
    auto *print = new TAction(&root);
    print->SetName(u"FilePrintReport");
    print->SetActionList(list);
    print->SetCategory(u"File");
    print->SetCaption(u"Печать...");
    print->SetShortCut(scCtrl | 'P');
    print->SetImageIndex(2);
    auto *save = new TAction(&root);
    save->SetName(u"FileSaveAs1");
    save->SetActionList(list);
    save->SetEnabled(false);
    rtl::TMemoryStream stream;
    rtl::TWriter(stream).WriteRootComponent(root);

    stream.SetPosition(0);
    Root back(nullptr);
    rtl::TReader(stream).ReadRootComponent(back);
    auto *listBack = dynamic_cast<TActionList *>(back.FindComponent(u"ActionList1"));
    ASSERT_NE(listBack, nullptr);
    EXPECT_EQ(listBack->GetImages(), back.FindComponent(u"ImageList1"));
    EXPECT_EQ(listBack->GetImages()->GetWidth(), 24);
    ASSERT_EQ(listBack->GetActionCount(), 2);
    auto *printBack = dynamic_cast<TAction *>(listBack->GetAction(0));
    ASSERT_NE(printBack, nullptr);
    EXPECT_EQ(printBack->GetName(), u"FilePrintReport");
    EXPECT_EQ(printBack->GetOwner(), &back);
    EXPECT_EQ(printBack->GetCaption(), u"Печать...");
    EXPECT_EQ(printBack->GetCategory(), u"File");
    EXPECT_EQ(printBack->GetShortCut(), scCtrl | 'P');
    EXPECT_EQ(printBack->GetImageIndex(), 2);
    EXPECT_FALSE(static_cast<TAction *>(listBack->GetAction(1))->GetEnabled());
}
