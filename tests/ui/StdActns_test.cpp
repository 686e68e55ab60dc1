// Standard dialog actions: a linked button runs the dialog modal to its form, then OnAccept or
// OnCancel; an OnExecute of the action or its list takes the dialog's place; a suspended list
// runs nothing; the actions stay enabled without handlers of their own.
#include "platform/ui/StdActns.h"

#include "platform/gfx/Printers.h"
#include "platform/ui/BitBtn.h"
#include "platform/ui/DialogHandler.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;

namespace {

struct DialogActionForm {
    TForm form{nullptr};
    TActionManager *list = new TActionManager(&form);
    TFileSaveAs *saveAs = new TFileSaveAs(&form);
    TFilePrintSetup *printSetup = new TFilePrintSetup(&form);
    TBitBtn *saveButton = new TBitBtn(&form);
    TBitBtn *setupButton = new TBitBtn(&form);
    std::vector<std::string> events;

    DialogActionForm() {
        saveAs->SetActionList(list);
        printSetup->SetActionList(list);
        saveButton->SetParent(&form);
        setupButton->SetParent(&form);
        saveButton->SetAction(saveAs);
        setupButton->SetAction(printSetup);
        saveAs->BeforeExecute = [this](rtl::TComponent *) { events.push_back("before"); };
        saveAs->OnAccept = [this](rtl::TComponent *sender) {
            auto &action = static_cast<TFileSaveAs &>(*sender);
            events.push_back("accept " + rtl::Utf16ToUtf8(action.GetDialog().GetFileName()));
        };
        saveAs->OnCancel = [this](rtl::TComponent *) { events.push_back("cancel"); };
    }
};

} // namespace

TEST(StdActions, SaveAsRunsItsDialogModalToTheButtonsFormThenAcceptsOrCancels) {
    DialogActionForm f;
    std::vector<bool> answers = {true, false};
    std::vector<TWinControl *> parents;
    TDialogHandler handler;
    handler.FileDialog = [&](TFileDialog &d) {
        parents.push_back(d.GetParentWnd());
        EXPECT_TRUE(d.IsSaveDialog());
        EXPECT_EQ(d.GetShownTitle(), u"Сохранение");
        d.SetFileName(u"/tmp/page");
        const bool answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    };
    TDialogHandlerScope scope(handler);
    f.saveAs->GetDialog().SetTitle(u"Сохранение");
    f.saveAs->GetDialog().SetDefaultExt(u"wmf");

    f.saveButton->Click();
    EXPECT_TRUE(f.saveAs->GetExecuteResult());
    f.saveButton->Click();
    EXPECT_FALSE(f.saveAs->GetExecuteResult());
    EXPECT_EQ(f.events,
              (std::vector<std::string>{"before", "accept /tmp/page.wmf", "before", "cancel"}));
    EXPECT_EQ(parents, (std::vector<TWinControl *>{&f.form, &f.form}));
    // Executed without a control, the dialog has no owner window.
    handler.FileDialog = [&](TFileDialog &d) {
        parents.push_back(d.GetParentWnd());
        return false;
    };
    TDialogHandlerScope noOwner(handler);
    EXPECT_TRUE(f.saveAs->Execute());
    EXPECT_EQ(parents.back(), nullptr);
}

TEST(StdActions, AnOnExecuteOfTheActionOrItsListTakesTheDialogsPlace) {
    DialogActionForm f;
    TDialogHandler handler;
    handler.FileDialog = [](TFileDialog &) {
        ADD_FAILURE() << "the dialog must not run";
        return false;
    };
    TDialogHandlerScope scope(handler);
    f.saveAs->OnExecute = [&](rtl::TComponent *) { f.events.push_back("own"); };
    f.saveButton->Click();
    f.saveAs->OnExecute = nullptr;
    f.list->OnExecute = [&](TBasicAction *action, bool &handled) {
        f.events.push_back(action == f.saveAs ? "list" : "other");
        handled = true;
    };
    f.saveButton->Click();
    EXPECT_EQ(f.events, (std::vector<std::string>{"own", "list"}));
}

TEST(StdActions, ASuspendedListRunsNoDialogAndTheActionsStayEnabledWithoutHandlers) {
    DialogActionForm f;
    int dialogs = 0;
    TDialogHandler handler;
    handler.FileDialog = [&](TFileDialog &) { return ++dialogs, false; };
    handler.PrinterSetupDialog = [&](TPrinterSetupDialog &) { return ++dialogs, false; };
    TDialogHandlerScope scope(handler);
    f.list->SetState(asSuspended);
    EXPECT_FALSE(f.saveAs->Execute());
    EXPECT_FALSE(f.printSetup->Execute());
    EXPECT_EQ(dialogs, 0);

    f.list->SetState(asNormal);
    f.form.Show();
    f.setupButton->InitiateAction();
    EXPECT_TRUE(f.printSetup->GetEnabled());
    EXPECT_TRUE(f.setupButton->GetEnabled());
    f.printSetup->SetEnabled(false);
    EXPECT_FALSE(f.printSetup->Execute());
    EXPECT_EQ(dialogs, 0);
}

TEST(StdActions, PrintSetupRunsThePrinterSetUpDialogAndItsChoiceReachesThePrinter) {
    DialogActionForm f;
    gfx::TPrinter &printer = gfx::Printer();
    printer.SetOrientation(gfx::poPortrait);
    TWinControl *parent = nullptr;
    TDialogHandler handler;
    handler.PrinterSetupDialog = [&](TPrinterSetupDialog &d) {
        parent = d.GetParentWnd();
        d.SetOrientation(gfx::poLandscape);
        return true;
    };
    TDialogHandlerScope scope(handler);
    bool accepted = false;
    f.printSetup->OnAccept = [&](rtl::TComponent *) { accepted = true; };
    f.setupButton->Click();
    EXPECT_TRUE(accepted);
    EXPECT_EQ(parent, &f.form);
    EXPECT_EQ(printer.GetOrientation(), gfx::poLandscape);
    printer.SetOrientation(gfx::poPortrait);
}
