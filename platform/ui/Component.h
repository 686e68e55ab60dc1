// Components and ownership: a component made with an owner is freed with it.
#pragma once

#include "platform/rtl/System.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace ui {

// A component registers with its owner on construction; the owner frees its components
// (last made first) when it is destroyed. Destroying a component otherwise (Free, or the
// unique_ptr holding an unowned one) removes it from its owner first.
class TComponent {
public:
    explicit TComponent(TComponent *owner);
    TComponent(const TComponent &) = delete;
    TComponent &operator=(const TComponent &) = delete;
    virtual ~TComponent();

    TComponent *GetOwner() const { return FOwner; }
    const rtl::UnicodeString &GetName() const { return FName; }
    void SetName(const rtl::UnicodeString &name) { FName = name; }
    int32_t GetComponentCount() const { return int32_t(FComponents.size()); }
    TComponent *GetComponent(int32_t index) const;
    // The owned component with this name (case-insensitive for ASCII), or nullptr.
    TComponent *FindComponent(const rtl::UnicodeString &name) const;
    intptr_t GetTag() const { return FTag; }
    void SetTag(intptr_t tag) { FTag = tag; }

    // Frees an owned component now (it leaves its owner's list). Does nothing for an unowned
    // one, which its holder frees.
    void Free();
    // Frees every owned component, last made first.
    void DestroyComponents();

    bool IsDestroying() const { return FDestroying; }
    // Runs just before the owner (or Free) destroys the component, while it is still whole.
    virtual void BeforeDestruction() {}

protected:
    void MarkDestroying() { FDestroying = true; }

private:
    void RemoveComponent(TComponent *c);

    TComponent *FOwner;
    rtl::UnicodeString FName;
    std::vector<std::unique_ptr<TComponent>> FComponents;
    intptr_t FTag = 0;
    bool FDestroying = false;
};

} // namespace ui
