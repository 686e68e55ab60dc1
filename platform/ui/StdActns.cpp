// Standard actions that run a common dialog.
#include "platform/ui/StdActns.h"

#include "platform/ui/Forms.h"

namespace ui {

bool TCommonDialogAction::Execute() {
    if (GetActionList() && GetActionList()->GetState() != asNormal) {
        return false;
    }
    Update();
    if (!GetEnabled()) {
        return false;
    }
    if (TContainedAction::Execute()) {
        return true;
    }
    if (BeforeExecute) {
        BeforeExecute(this);
    }
    // The dialog belongs to the window whose control asked for it.
    auto *control = dynamic_cast<TControl *>(GetActionComponent());
    FExecuteResult = ExecuteDialog(control ? control->GetParentForm() : nullptr);
    if (FExecuteResult) {
        if (OnAccept) {
            OnAccept(this);
        }
    } else if (OnCancel) {
        OnCancel(this);
    }
    return true;
}

TFileSaveAs::TFileSaveAs(rtl::TComponent *owner)
    : TCommonDialogAction(owner), FDialog(new TSaveDialog(this)) {
    SetCaption(u"Сохранить &как...");
}

TFilePrintSetup::TFilePrintSetup(rtl::TComponent *owner)
    : TCommonDialogAction(owner), FDialog(new TPrinterSetupDialog(this)) {
    SetCaption(u"Пара&метры печати...");
}

} // namespace ui
