// Standard actions that run a common dialog: saving under a chosen name (TFileSaveAs) and the
// printer set-up (TFilePrintSetup).
//
// Executing such an action (through a linked control or Execute) first lets the action list's
// and the action's own OnExecute handle it, as for any action; when neither does, the action
// runs its dialog: BeforeExecute, then the dialog (modal to the form of the control executing
// the action, if any), then OnAccept when the dialog was confirmed, else OnCancel. The action
// owns its dialog. It stays enabled without handlers of its own, since its dialog is its work.
#pragma once

#include "platform/ui/ActnList.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/PrintDialogs.h"

namespace ui {

class TCommonDialogAction : public TCustomAction {
public:
    explicit TCommonDialogAction(rtl::TComponent *owner) : TCustomAction(owner) {}

    // Whether the last run of the dialog was confirmed.
    bool GetExecuteResult() const { return FExecuteResult; }

    bool Execute() override;

    TNotifyEvent BeforeExecute;
    TNotifyEvent OnAccept;
    TNotifyEvent OnCancel;

protected:
    // Shows the dialog, modal to parentWnd when it is not nullptr; true when confirmed.
    virtual bool ExecuteDialog(TWinControl *parentWnd) = 0;

private:
    bool FExecuteResult = false;
};

// "Сохранить как...": a save dialog; OnAccept reads the chosen name from GetDialog().
class TFileSaveAs : public TCommonDialogAction {
public:
    explicit TFileSaveAs(rtl::TComponent *owner);

    TSaveDialog &GetDialog() { return *FDialog; }

protected:
    bool ExecuteDialog(TWinControl *parentWnd) override { return FDialog->Execute(parentWnd); }

private:
    TSaveDialog *FDialog; // owned as a component of the action
};

// "Параметры печати...": the printer set-up dialog on the process's printer.
class TFilePrintSetup : public TCommonDialogAction {
public:
    explicit TFilePrintSetup(rtl::TComponent *owner);

    TPrinterSetupDialog &GetDialog() { return *FDialog; }

protected:
    bool ExecuteDialog(TWinControl *parentWnd) override { return FDialog->Execute(parentWnd); }

private:
    TPrinterSetupDialog *FDialog; // owned as a component of the action
};

} // namespace ui
