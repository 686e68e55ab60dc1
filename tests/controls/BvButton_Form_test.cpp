// Styled buttons on a form driven by the keyboard alone: the form's dialog keys, accelerators,
// focus notifications, Tab and keyboard cues reach them without help from the buttons.
#include "controls/BvButton.h"

#include "platform/ui/Application.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtBridge_p.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace controls;

// An edit, then the styled buttons "OK" (default) and "&Reload", on a shown form.
class FormKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        FForm->SetBounds(0, 0, 400, 200);
        FEdit->SetParent(FForm.get());
        FEdit->SetBounds(10, 10, 120, 21);
        FEdit->SetTabStop(true);
        for (TBvButton *b : {FOk, FReload}) {
            b->SetParent(FForm.get());
            b->OnClick = [this, b](ui::TComponent *) { FClicks.push_back(b); };
        }
        FOk->SetBounds(10, 50, 75, 25);
        FOk->SetCaption(u"OK");
        FOk->SetDefault(true);
        FReload->SetBounds(100, 50, 75, 25);
        FReload->SetCaption(u"&Reload");
        FForm->Show();
        Focus(FEdit);
    }
    static void Focus(ui::TWinControl *c) {
        c->SetFocus();
        ui::Application->ProcessMessages();
    }

    std::unique_ptr<ui::TForm> FForm = std::make_unique<ui::TForm>(nullptr);
    ui::TEdit *FEdit = new ui::TEdit(FForm.get());
    TBvButton *FOk = new TBvButton(FForm.get());
    TBvButton *FReload = new TBvButton(FForm.get());
    std::vector<ui::TComponent *> FClicks;
};

TEST_F(FormKeysTest, EnterInAnEditClicksTheDefaultStyledButton) {
    FEdit->KeyPressForTesting(ui::VK_RETURN);
    EXPECT_EQ(FClicks, std::vector<ui::TComponent *>{FOk});
}

TEST_F(FormKeysTest, FocusOnAnotherStyledButtonTakesTheDefaultRole) {
    Focus(FReload);
    EXPECT_TRUE(FReload->IsActiveForTesting());
    EXPECT_FALSE(FOk->IsActiveForTesting());
    FReload->KeyPressForTesting(ui::VK_RETURN);
    Focus(FEdit);
    EXPECT_TRUE(FOk->IsActiveForTesting());
    FEdit->KeyPressForTesting(ui::VK_RETURN);
    EXPECT_EQ(FClicks, (std::vector<ui::TComponent *>{FReload, FOk}));
}

TEST_F(FormKeysTest, AltAndTheMarkedLetterClicksTheStyledButton) {
    FEdit->KeyPressForTesting('R', {ui::ssAlt});
    EXPECT_EQ(FClicks, std::vector<ui::TComponent *>{FReload});
    EXPECT_TRUE(FReload->AcceleratorsShown()) << "Alt shows the accelerators";
}

TEST_F(FormKeysTest, TabLeavesAStyledButtonForTheNextControlAndShowsFocusCues) {
    EXPECT_FALSE(FOk->FocusCuesShown());
    Focus(FOk);
    FOk->KeyPressForTesting(ui::VK_TAB);
    ui::Application->ProcessMessages();
    EXPECT_TRUE(FReload->Focused());
    EXPECT_TRUE(FReload->FocusCuesShown());
    FReload->KeyPressForTesting(ui::VK_TAB);
    ui::Application->ProcessMessages();
    EXPECT_TRUE(FEdit->Focused()) << "Tab wraps around to the first control";
    EXPECT_TRUE(FClicks.empty());
}

TEST_F(FormKeysTest, AFirstClickIntoAWindowThatIsNotActiveClicksTheStyledButton) {
    ui::TForm other(nullptr);
    other.SetBounds(500, 0, 200, 100);
    other.Show(); // the window shown last is the active one
    ui::Application->ProcessMessages();
    ASSERT_FALSE(ui::qt::WidgetOf(*FForm)->isActiveWindow());
    FReload->ClickAtForTesting(10, 10);
    EXPECT_EQ(FClicks, std::vector<ui::TComponent *>{FReload});
    EXPECT_TRUE(FReload->Focused()) << "the form's active control, active window or not";
}

TEST_F(FormKeysTest, EnterClicksTheFocusedStyledButtonAfterTheWindowWasLeftAndEnteredAgain) {
    Focus(FReload);
    ui::TForm other(nullptr);
    other.SetBounds(500, 0, 200, 100);
    other.Show();
    ui::Application->ProcessMessages();
    ui::qt::WidgetOf(*FForm)->activateWindow();
    ui::Application->ProcessMessages();
    ASSERT_TRUE(ui::qt::WidgetOf(*FForm)->isActiveWindow());
    FReload->KeyPressForTesting(ui::VK_RETURN);
    EXPECT_EQ(FClicks, std::vector<ui::TComponent *>{FReload});
}

TEST_F(FormKeysTest, ScreenReadersSeePushButtonsWhosePressClicksThem) {
    FReload->SetGroupIndex(1);
    QAccessibleInterface *reload =
        QAccessible::queryAccessibleInterface(ui::qt::WidgetOf(*FReload));
    QAccessibleInterface *ok = QAccessible::queryAccessibleInterface(ui::qt::WidgetOf(*FOk));
    ASSERT_TRUE(reload && ok);
    EXPECT_EQ(reload->role(), QAccessible::Button);
    EXPECT_EQ(reload->text(QAccessible::Name), u"Reload"_qs);
    EXPECT_TRUE(reload->state().focusable);
    EXPECT_TRUE(reload->state().checkable);
    EXPECT_FALSE(reload->state().checked);
    EXPECT_TRUE(ok->state().defaultButton);
    ASSERT_NE(reload->actionInterface(), nullptr);
    EXPECT_EQ(reload->actionInterface()->actionNames().value(0),
              QAccessibleActionInterface::pressAction());
    reload->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ui::ProcessPostedMessagesForTesting();
    EXPECT_EQ(FClicks, std::vector<ui::TComponent *>{FReload});
    EXPECT_TRUE(reload->state().checked) << "a group button stays down";
    FOk->SetEnabled(false);
    ok->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ui::ProcessPostedMessagesForTesting();
    EXPECT_TRUE(ok->state().disabled);
    EXPECT_FALSE(
        ok->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    EXPECT_EQ(FClicks.size(), 1u) << "a disabled button is not pressed";
    QAccessibleInterface *form = QAccessible::queryAccessibleInterface(ui::qt::WidgetOf(*FForm));
    EXPECT_EQ(form->role(), QAccessible::Window);
}

// As with Qt's own buttons, the screen reader's call returns at once: a click that opens a
// modal dialog must not hold it until the dialog closes.
TEST_F(FormKeysTest, TheAccessiblePressReturnsAtOnceAndClicksWhenPostedMessagesAreProcessed) {
    QAccessibleInterface *reload =
        QAccessible::queryAccessibleInterface(ui::qt::WidgetOf(*FReload));
    ASSERT_TRUE(reload && reload->actionInterface());
    ui::ProcessPostedMessagesForTesting();
    reload->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(FClicks.empty()) << "the click waits for the posted messages";
    ui::ProcessPostedMessagesForTesting();
    EXPECT_EQ(FClicks, std::vector<ui::TComponent *>{FReload});
    ui::ProcessPostedMessagesForTesting();
    EXPECT_EQ(FClicks.size(), 1u) << "one press, one click";
}

} // namespace
