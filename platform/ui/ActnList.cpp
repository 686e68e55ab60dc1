// Actions, their links to clients, and action lists.
#include "platform/ui/ActnList.h"

#include <algorithm>

namespace ui {

TShortCut ShortCut(uint16_t key, TShiftState shift) {
    TShortCut s = TShortCut(key & 0xFF);
    s |= shift.Contains(ssShift) ? scShift : 0;
    s |= shift.Contains(ssCtrl) ? scCtrl : 0;
    s |= shift.Contains(ssAlt) ? scAlt : 0;
    return s;
}

// --- links -----------------------------------------------------------------------------------

TBasicActionLink::~TBasicActionLink() {
    if (FAction) {
        FAction->UnRegisterChanges(this);
    }
}

void TBasicActionLink::SetAction(TBasicAction *action) {
    if (action == FAction) {
        return;
    }
    if (FAction) {
        FAction->UnRegisterChanges(this);
    }
    if (action) {
        action->RegisterChanges(this);
    }
}

bool TBasicActionLink::Execute(rtl::TComponent *component) {
    TBasicAction *action = FAction;
    if (!action) {
        return false;
    }
    action->SetActionComponent(component);
    struct TReset {
        TBasicActionLink &Link;
        ~TReset() {
            // The action may have been freed by its own execution (and the link told).
            if (Link.FAction) {
                Link.FAction->SetActionComponent(nullptr);
            }
        }
    } reset{*this};
    return action->Execute();
}

bool TBasicActionLink::Update() {
    return FAction && FAction->Update();
}

void TBasicActionLink::Change() {
    if (OnChange) {
        OnChange(FAction);
    }
}

// --- actions ---------------------------------------------------------------------------------

TBasicAction::~TBasicAction() {
    for (TBasicActionLink *link : FClients) {
        link->FAction = nullptr;
    }
}

bool TBasicAction::Execute() {
    if (!OnExecute) {
        return false;
    }
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) {
        return false;
    }
    OnUpdate(this);
    return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink *link) {
    if (!link || link->FAction == this) {
        return;
    }
    if (link->FAction) {
        link->FAction->UnRegisterChanges(link);
    }
    link->FAction = this;
    FClients.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink *link) {
    if (link && link->FAction == this) {
        std::erase(FClients, link);
        link->FAction = nullptr;
    }
}

void TBasicAction::Change() {
    if (OnChange) {
        OnChange(this);
    }
    // A client may leave while being told.
    const std::vector<TBasicActionLink *> clients = FClients;
    for (TBasicActionLink *link : clients) {
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) {
            link->Change();
        }
    }
}

TContainedAction::~TContainedAction() {
    SetActionList(nullptr);
}

void TContainedAction::SetActionList(TCustomActionList *list) {
    if (list == FActionList) {
        return;
    }
    if (FActionList) {
        std::erase(FActionList->FActions, this);
    }
    FActionList = list;
    if (list) {
        list->FActions.push_back(this);
    }
}

void TContainedAction::SetCategory(const rtl::UnicodeString &category) {
    if (category != FCategory) {
        FCategory = category;
        Change();
    }
}

int32_t TContainedAction::GetIndex() const {
    if (!FActionList) {
        return -1;
    }
    const auto &all = FActionList->FActions;
    return int32_t(std::find(all.begin(), all.end(), this) - all.begin());
}

bool TContainedAction::Execute() {
    return (FActionList && FActionList->ExecuteAction(this)) || TBasicAction::Execute();
}

bool TContainedAction::Update() {
    return (FActionList && FActionList->UpdateAction(this)) || TBasicAction::Update();
}

void TContainedAction::SetParentComponent(rtl::TComponent *parent) {
    if (auto *list = dynamic_cast<TCustomActionList *>(parent)) {
        SetActionList(list);
    }
}

void TCustomAction::SetCaption(const rtl::UnicodeString &caption) {
    if (caption != FCaption) {
        FCaption = caption;
        Change();
    }
}

void TCustomAction::SetChecked(bool checked) {
    if (checked == FChecked) {
        return;
    }
    FChecked = checked;
    if (checked && FGroupIndex > 0 && GetActionList()) {
        for (int32_t i = 0; i < GetActionList()->GetActionCount(); ++i) {
            auto *other = dynamic_cast<TCustomAction *>(GetActionList()->GetAction(i));
            if (other && other != this && other->FGroupIndex == FGroupIndex) {
                other->SetChecked(false);
            }
        }
    }
    Change();
}

void TCustomAction::SetEnabled(bool enabled) {
    if (GetActionList() && GetActionList()->GetState() == asSuspendedEnabled) {
        enabled = true;
    }
    if (enabled != FEnabled) {
        FEnabled = enabled;
        Change();
    }
}

void TCustomAction::SetHint(const rtl::UnicodeString &hint) {
    if (hint != FHint) {
        FHint = hint;
        Change();
    }
}

void TCustomAction::SetImageIndex(TImageIndex index) {
    if (index != FImageIndex) {
        FImageIndex = index;
        Change();
    }
}

void TCustomAction::SetShortCut(TShortCut shortCut) {
    if (shortCut != FShortCut) {
        FShortCut = shortCut;
        Change();
    }
}

void TCustomAction::SetVisible(bool visible) {
    if (visible != FVisible) {
        FVisible = visible;
        Change();
    }
}

void TCustomAction::SetAutoCheck(bool value) {
    if (value != FAutoCheck) {
        FAutoCheck = value;
        Change();
    }
}

void TCustomAction::SetGroupIndex(int32_t index) {
    if (index == FGroupIndex) {
        return;
    }
    FGroupIndex = index;
    if (FChecked) {
        FChecked = false; // checked again below, unchecking the new group's others
        SetChecked(true);
    } else {
        Change();
    }
}

bool TCustomAction::Execute() {
    if (GetActionList() && GetActionList()->GetState() != asNormal) {
        return false;
    }
    Update();
    if (FEnabled && FAutoCheck && (!FChecked || FGroupIndex == 0)) {
        SetChecked(!FChecked);
    }
    return FEnabled && TContainedAction::Execute();
}

bool TCustomAction::Update() {
    if (GetActionList() && GetActionList()->GetState() != asNormal) {
        return false;
    }
    const bool handled = TContainedAction::Update();
    const bool executable = OnExecute || (GetActionList() && GetActionList()->OnExecute);
    if (!handled && FDisableIfNoHandler && !executable) {
        SetEnabled(false);
    }
    return handled;
}

TAction::TAction(rtl::TComponent *owner) : TCustomAction(owner) {
    SetDisableIfNoHandler(true);
}

const rtl::TClassInfo &TAction::StaticClassInfo() {
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<TAction>("TAction", &TComponent::StaticClassInfo())
            .Bool("AutoCheck", &TAction::GetAutoCheck, &TAction::SetAutoCheck)
            .Default(false)
            .Str("Caption", &TAction::GetCaption, &TAction::SetCaption)
            .Str("Category", &TAction::GetCategory, &TAction::SetCategory)
            .Bool("Checked", &TAction::GetChecked, &TAction::SetChecked)
            .Default(false)
            .Bool("DisableIfNoHandler", &TAction::GetDisableIfNoHandler,
                  &TAction::SetDisableIfNoHandler)
            .Default(true)
            .Bool("Enabled", &TAction::GetEnabled, &TAction::SetEnabled)
            .Default(true)
            .Int("GroupIndex", &TAction::GetGroupIndex, &TAction::SetGroupIndex)
            .Default(0)
            .Str("Hint", &TAction::GetHint, &TAction::SetHint)
            .Int("ImageIndex", &TAction::GetImageIndex, &TAction::SetImageIndex)
            .Default(-1)
            .Int("ShortCut", &TAction::GetShortCut, &TAction::SetShortCut)
            .Default(scNone)
            .Bool("Visible", &TAction::GetVisible, &TAction::SetVisible)
            .Default(true)
            .Build();
    return info;
}

// --- action lists ----------------------------------------------------------------------------

TCustomActionList::TCustomActionList(rtl::TComponent *owner) : TComponent(owner) {
    FImageChangeLink.OnChange = [this](gfx::TCustomImageList *) { Change(); };
}

TCustomActionList::~TCustomActionList() {
    // The actions stay with their owner, without a list.
    while (!FActions.empty()) {
        FActions.back()->SetActionList(nullptr);
    }
}

TContainedAction *TCustomActionList::GetAction(int32_t index) const {
    return index >= 0 && index < GetActionCount() ? FActions[size_t(index)] : nullptr;
}

void TCustomActionList::SetImages(gfx::TCustomImageList *images) {
    if (images == FImages) {
        return;
    }
    if (FImages) {
        FImages->UnRegisterChanges(&FImageChangeLink);
        FImages->RemoveFreeNotification(this);
    }
    FImages = images;
    if (images) {
        images->RegisterChanges(&FImageChangeLink);
        images->FreeNotification(this);
    }
    Change();
}

void TCustomActionList::SetState(TActionListState state) {
    if (state == FState) {
        return;
    }
    FState = state;
    if (state == asSuspendedEnabled) {
        for (TContainedAction *a : std::vector<TContainedAction *>(FActions)) {
            if (auto *action = dynamic_cast<TCustomAction *>(a)) {
                action->SetEnabled(true);
            }
        }
    }
}

bool TCustomActionList::ExecuteAction(TBasicAction *action) {
    bool handled = false;
    if (OnExecute) {
        OnExecute(action, handled);
    }
    return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction *action) {
    bool handled = false;
    if (OnUpdate) {
        OnUpdate(action, handled);
    }
    return handled;
}

bool TCustomActionList::IsShortCut(TShortCut shortCut) {
    if (shortCut == scNone) {
        return false;
    }
    for (TContainedAction *a : std::vector<TContainedAction *>(FActions)) {
        auto *action = dynamic_cast<TCustomAction *>(a);
        if (!action || action->GetShortCut() != shortCut) {
            continue;
        }
        action->Update();
        if (action->GetEnabled() && action->GetVisible()) {
            action->Execute();
            return true;
        }
    }
    return false;
}

void TCustomActionList::GetChildren(const std::function<void(rtl::TComponent *)> &proc,
                                    rtl::TComponent *root) {
    for (TContainedAction *action : FActions) {
        if (action->GetOwner() == root) {
            proc(action);
        }
    }
}

void TCustomActionList::Change() {
    if (OnChange) {
        OnChange(this);
    }
    // The actions' clients follow the images too.
    for (TContainedAction *action : std::vector<TContainedAction *>(FActions)) {
        action->Change();
    }
}

void TCustomActionList::Notification(rtl::TComponent *component, rtl::TOperation operation) {
    if (operation == rtl::opRemove && component == FImages) {
        FImages = nullptr; // its change link is already gone with it
        Change();
    }
}

const rtl::TClassInfo &TActionList::StaticClassInfo() {
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<TActionList>("TActionList", &TComponent::StaticClassInfo())
            .Reference("Images", &TActionList::GetImages, &TActionList::SetImages)
            .Build();
    return info;
}

const rtl::TClassInfo &TActionManager::StaticClassInfo() {
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<TActionManager>("TActionManager", &TComponent::StaticClassInfo())
            .Reference("Images", &TActionManager::GetImages, &TActionManager::SetImages)
            .Str("Style", &TActionManager::GetStyle, &TActionManager::SetStyle)
            .Stored([](const TActionManager &m) { return m.GetStyle() != u"Platform Default"; })
            .Build();
    return info;
}

} // namespace ui
