// TComponent: ownership (a component made with an owner is freed with it), names, free
// notifications, and the hooks through which the component stream reads and writes components.
#pragma once

#include "platform/rtl/Persistent.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace rtl {

class TReader;
class TWriter;

enum TOperation : uint8_t { opInsert, opRemove };
// csLoading from the start of reading a component until its Loaded; csReading while its own
// properties and children are read; csWriting while it is written.
enum TComponentStateItem : uint8_t { csLoading, csReading, csWriting, csDestroying };
using TComponentState = TSet<TComponentStateItem>;

// A component registers with its owner on construction; the owner frees its components (last
// made first) when it is destroyed. Destroying a component otherwise (Free, or the unique_ptr
// holding an unowned one) removes it from its owner first.
//
// After a->FreeNotification(b), whichever of a and b is destroyed first tells the other through
// Notification(itself, opRemove). A component freed by its owner or by Free tells them while it
// is still whole; one destroyed directly (a unique_ptr) tells them from the TComponent
// destructor, when its own parts are gone: Notification must only forget the pointer then.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent *owner);
    TComponent(const TComponent &) = delete;
    TComponent &operator=(const TComponent &) = delete;
    ~TComponent() override;

    static const TClassInfo &StaticClassInfo();
    const TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

    TComponent *GetOwner() const { return FOwner; }
    const UnicodeString &GetName() const { return FName; }
    // An empty name or an identifier (ASCII letters, digits and "_", not starting with a
    // digit): else EComponentError "'%s' is not a valid component name". No other component
    // of the owner may have it (ASCII case ignored): EComponentError "A component named %s
    // already exists".
    virtual void SetName(const UnicodeString &name);
    int32_t GetComponentCount() const { return int32_t(FComponents.size()); }
    TComponent *GetComponent(int32_t index) const;
    // The owned component with this name (case-insensitive for ASCII), or nullptr.
    TComponent *FindComponent(const UnicodeString &name) const;
    intptr_t GetTag() const { return FTag; }
    void SetTag(intptr_t tag) { FTag = tag; }
    TComponentState GetComponentState() const { return FComponentState; }

    // Frees an owned component now (it leaves its owner's list). Does nothing for an unowned
    // one, which its holder frees.
    void Free();
    // Frees every owned component, last made first.
    void DestroyComponents();

    bool IsDestroying() const { return FComponentState.Contains(csDestroying); }
    // Runs just before the owner (or Free) destroys the component, while it is still whole.
    virtual void BeforeDestruction() {}

    // Asks to be told (Notification) when component is destroyed, and tells it when this one
    // is; asking twice is asking once.
    void FreeNotification(TComponent *component);
    void RemoveFreeNotification(TComponent *component);

    // Streaming. The components written inside this one, for a stream whose root is root (the
    // default: none).
    virtual void GetChildren(const std::function<void(TComponent *)> &proc, TComponent *root) {
        (void)proc;
        (void)root;
    }
    // The owner of components read inside this one (nullptr: the stream's root), and the
    // component given to their SetParentComponent.
    virtual TComponent *GetChildOwner() { return nullptr; }
    virtual TComponent *GetChildParent() { return this; }
    // Whether the component is stored inside another one (its parent component) rather than
    // directly inside the root.
    virtual bool HasParent() const { return false; }
    virtual void SetParentComponent(TComponent *parent) { (void)parent; }

protected:
    void MarkDestroying() { FComponentState.Include(csDestroying); }
    // A component this one asked about (or that asked about this one) is going.
    virtual void Notification(TComponent *component, TOperation operation) {
        (void)component;
        (void)operation;
    }
    // Runs once a stream has been read completely, for every component read from it, in
    // reading order; the default ends csLoading.
    virtual void Loaded() { FComponentState.Exclude(csLoading); }

private:
    friend class TReader;
    friend class TWriter;
    void RemoveComponent(TComponent *c);
    void SendFreeNotifications();

    TComponent *FOwner;
    UnicodeString FName;
    std::vector<std::unique_ptr<TComponent>> FComponents;
    std::vector<TComponent *> FFreeNotifies;
    intptr_t FTag = 0;
    TComponentState FComponentState;
};

} // namespace rtl
