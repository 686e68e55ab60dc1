// Actions: commands with a caption, enabled state, hint, image and shortcut that the controls
// linked to them follow and execute; the action lists that hold them.
#pragma once

#include "platform/gfx/ImgList.h"
#include "platform/rtl/Component.h"
#include "platform/ui/Control.h"
#include "platform/ui/Messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

class TBasicAction;
class TCustomActionList;

// A key with its shift keys: the virtual key in the low byte, scShift, scCtrl, scAlt above.
using TShortCut = uint16_t;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(uint16_t key, TShiftState shift);

using TImageIndex = int32_t;

// The link of one client (a control) to an action. OnChange runs after every change of the
// action. The link leaves its action when destroyed; an action going away first leaves
// GetAction() nullptr.
class TBasicActionLink {
public:
    explicit TBasicActionLink(rtl::TComponent *client) : FClient(client) {}
    TBasicActionLink(const TBasicActionLink &) = delete;
    TBasicActionLink &operator=(const TBasicActionLink &) = delete;
    virtual ~TBasicActionLink();

    TBasicAction *GetAction() const { return FAction; }
    void SetAction(TBasicAction *action);
    rtl::TComponent *GetClient() const { return FClient; }
    // Executes the action with component as its ActionComponent meanwhile; false when there
    // is no action or nothing executed it.
    virtual bool Execute(rtl::TComponent *component);
    // Lets the action update itself; false when there is no action or nothing updated it.
    virtual bool Update();

    std::function<void(TBasicAction *action)> OnChange;

protected:
    virtual void Change();

private:
    friend class TBasicAction;
    rtl::TComponent *FClient;
    TBasicAction *FAction = nullptr;
};

// A command: OnExecute does it, OnUpdate brings its state up to date.
class TBasicAction : public rtl::TComponent {
public:
    explicit TBasicAction(rtl::TComponent *owner) : TComponent(owner) {}
    ~TBasicAction() override;

    // OnExecute; true when there is one.
    virtual bool Execute();
    // OnUpdate; true when there is one.
    virtual bool Update();
    // The component executing the action, while it does.
    rtl::TComponent *GetActionComponent() const { return FActionComponent; }
    void SetActionComponent(rtl::TComponent *component) { FActionComponent = component; }
    void RegisterChanges(TBasicActionLink *link);
    void UnRegisterChanges(TBasicActionLink *link);

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;
    TNotifyEvent OnChange;

protected:
    // OnChange, then every link's.
    virtual void Change();

private:
    friend class TCustomActionList;
    std::vector<TBasicActionLink *> FClients;
    rtl::TComponent *FActionComponent = nullptr;
};

// An action that belongs to an action list, whose OnExecute and OnUpdate see it first.
class TContainedAction : public TBasicAction {
public:
    explicit TContainedAction(rtl::TComponent *owner) : TBasicAction(owner) {}
    ~TContainedAction() override;

    TCustomActionList *GetActionList() const { return FActionList; }
    void SetActionList(TCustomActionList *list);
    const rtl::UnicodeString &GetCategory() const { return FCategory; }
    void SetCategory(const rtl::UnicodeString &category);
    // Position in its list; -1 without one.
    int32_t GetIndex() const;

    bool Execute() override;
    bool Update() override;

    // Streaming: an action is stored inside its list.
    bool HasParent() const override { return FActionList != nullptr; }
    void SetParentComponent(rtl::TComponent *parent) override;

private:
    friend class TCustomActionList;
    TCustomActionList *FActionList = nullptr;
    rtl::UnicodeString FCategory;
};

// The action with the state that linked controls show.
class TCustomAction : public TContainedAction {
public:
    explicit TCustomAction(rtl::TComponent *owner) : TContainedAction(owner) {}

    const rtl::UnicodeString &GetCaption() const { return FCaption; }
    void SetCaption(const rtl::UnicodeString &caption);
    bool GetChecked() const { return FChecked; }
    // Checking an action of a group (GroupIndex above 0) unchecks the others of its list's
    // group.
    void SetChecked(bool checked);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    const rtl::UnicodeString &GetHint() const { return FHint; }
    void SetHint(const rtl::UnicodeString &hint);
    TImageIndex GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(TImageIndex index);
    TShortCut GetShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut shortCut);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool visible);
    bool GetAutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value);
    int32_t GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int32_t index);
    // When nothing updates the action (no OnUpdate, nor the list's) and it has no OnExecute,
    // an update disables it.
    bool GetDisableIfNoHandler() const { return FDisableIfNoHandler; }
    void SetDisableIfNoHandler(bool value) { FDisableIfNoHandler = value; }

    // Nothing while its list is suspended; otherwise updates itself, toggles Checked when
    // AutoCheck, and executes when enabled.
    bool Execute() override;
    bool Update() override;

private:
    rtl::UnicodeString FCaption;
    rtl::UnicodeString FHint;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FAutoCheck = false;
    bool FDisableIfNoHandler = false;
    TImageIndex FImageIndex = -1;
    TShortCut FShortCut = scNone;
    int32_t FGroupIndex = 0;
};

// The action as forms place it, with its published properties; it disables itself when
// updated without any handler.
class TAction : public TCustomAction {
public:
    explicit TAction(rtl::TComponent *owner);

    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
};

// asSuspended: its actions neither execute nor update; asSuspendedEnabled also enables them.
enum TActionListState : uint8_t { asNormal, asSuspended, asSuspendedEnabled };
using TActionEvent = std::function<void(TBasicAction *action, bool &handled)>;

// The actions of a form, with the image list their ImageIndex refers to. The list does not own
// its actions (their owner does); an action freed leaves it.
class TCustomActionList : public rtl::TComponent {
public:
    explicit TCustomActionList(rtl::TComponent *owner);
    ~TCustomActionList() override;

    int32_t GetActionCount() const { return int32_t(FActions.size()); }
    TContainedAction *GetAction(int32_t index) const;
    gfx::TCustomImageList *GetImages() const { return FImages; }
    void SetImages(gfx::TCustomImageList *images);
    TActionListState GetState() const { return FState; }
    void SetState(TActionListState state);

    // OnExecute (OnUpdate) sees each execution (update) of an action of the list first; one
    // that sets handled stops it there. They return whether it did.
    virtual bool ExecuteAction(TBasicAction *action);
    virtual bool UpdateAction(TBasicAction *action);
    // Executes the enabled, visible action that has this shortcut; false when none did.
    bool IsShortCut(TShortCut shortCut);

    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    TNotifyEvent OnChange;

    // Streaming: the actions are stored inside the list.
    void GetChildren(const std::function<void(rtl::TComponent *)> &proc,
                     rtl::TComponent *root) override;

protected:
    virtual void Change();
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;

private:
    friend class TContainedAction;
    std::vector<TContainedAction *> FActions;
    gfx::TCustomImageList *FImages = nullptr;
    gfx::TChangeLink FImageChangeLink;
    TActionListState FState = asNormal;
};

class TActionList : public TCustomActionList {
public:
    using TCustomActionList::TCustomActionList;

    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
};

// The action manager of a form: an action list with a style name ("Platform Default"); the
// platform has no action bars to manage.
class TActionManager : public TCustomActionList {
public:
    using TCustomActionList::TCustomActionList;

    const rtl::UnicodeString &GetStyle() const { return FStyle; }
    void SetStyle(const rtl::UnicodeString &style) { FStyle = style; }

    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

private:
    rtl::UnicodeString FStyle = u"Platform Default";
};

} // namespace ui
