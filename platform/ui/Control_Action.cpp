// TControl and its action: the link that makes the control follow the action's state.
#include "platform/ui/Control.h"

#include "platform/ui/ActnList.h"

namespace ui {

TBasicAction *TControl::GetAction() const {
    return FActionLink ? FActionLink->GetAction() : nullptr;
}

void TControl::SetAction(TBasicAction *action) {
    if (action == GetAction()) {
        return;
    }
    if (TBasicAction *old = GetAction()) {
        old->RemoveFreeNotification(this);
    }
    if (!action) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink) {
        FActionLink = std::make_unique<TBasicActionLink>(this);
        FActionLink->OnChange = [this](TBasicAction *a) { ActionChange(a, acmReplaceAll); };
    }
    FActionLink->SetAction(action);
    action->FreeNotification(this);
    ActionChange(action, action->GetComponentState().Contains(rtl::csLoading) ? acmKeepSetValues
                                                                              : acmReplaceAll);
}

void TControl::InitiateAction() {
    if (FActionLink) {
        FActionLink->Update();
    }
}

void TControl::ActionChange(TBasicAction *sender, TActionChangeMode mode) {
    auto *action = dynamic_cast<TCustomAction *>(sender);
    if (!action) {
        return;
    }
    const bool all = mode == acmReplaceAll;
    if (all || GetCaption().empty() || GetCaption() == GetName()) {
        SetCaption(action->GetCaption());
    }
    if (all || GetEnabled()) {
        SetEnabled(action->GetEnabled());
    }
    if (all || GetHint().empty()) {
        SetHint(action->GetHint());
    }
    if (all || GetVisible()) {
        SetVisible(action->GetVisible());
    }
    if (all) {
        OnClick = nullptr; // a click executes the action
    }
}

void TControl::Notification(rtl::TComponent *component, rtl::TOperation operation) {
    TComponent::Notification(component, operation);
    // An action destroyed directly has already let go of the link, which then has none.
    if (operation == rtl::opRemove && FActionLink &&
        (FActionLink->GetAction() == component || !FActionLink->GetAction())) {
        FActionLink.reset();
    }
}

} // namespace ui
