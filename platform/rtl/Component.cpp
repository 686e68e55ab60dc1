// Component ownership, names and free notifications.
#include "platform/rtl/Component.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>

namespace rtl {

namespace {

char16_t AsciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}

bool SameTextAscii(const UnicodeString &a, const UnicodeString &b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return AsciiUpper(x) == AsciiUpper(y); });
}

bool IsValidIdent(const UnicodeString &s) {
    const auto alpha = [](char16_t c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
    };
    const auto alnum = [&](char16_t c) { return alpha(c) || (c >= u'0' && c <= u'9'); };
    return !s.empty() && alpha(s[0]) && std::all_of(s.begin() + 1, s.end(), alnum);
}

} // namespace

const TClassInfo &TComponent::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TComponent>("TComponent", &TPersistent::StaticClassInfo())
            .Int("Tag", &TComponent::GetTag, &TComponent::SetTag)
            .Default(0)
            .Build();
    return info;
}

TComponent::TComponent(TComponent *owner) : FOwner(owner) {
    if (FOwner) {
        FOwner->FComponents.emplace_back(this);
    }
}

TComponent::~TComponent() {
    MarkDestroying();
    SendFreeNotifications();
    DestroyComponents();
    if (FOwner) {
        FOwner->RemoveComponent(this);
    }
}

void TComponent::SetName(const UnicodeString &name) {
    if (name == FName) {
        return;
    }
    if (!name.empty() && !IsValidIdent(name)) {
        throw EComponentError(u"'" + name + u"' is not a valid component name");
    }
    if (FOwner && !name.empty()) {
        const TComponent *other = FOwner->FindComponent(name);
        if (other && other != this) {
            throw EComponentError(u"A component named " + name + u" already exists");
        }
    }
    FName = name;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        // Taken out of the list first so its destructor does not look for itself.
        std::unique_ptr<TComponent> last = std::move(FComponents.back());
        FComponents.pop_back();
        last->FOwner = nullptr;
        last->BeforeDestruction();
        last->MarkDestroying();
        last->SendFreeNotifications();
        last.reset();
    }
}

void TComponent::RemoveComponent(TComponent *c) {
    auto it = std::find_if(FComponents.begin(), FComponents.end(),
                           [c](const std::unique_ptr<TComponent> &p) { return p.get() == c; });
    if (it != FComponents.end()) {
        (void)it->release(); // the component is being destroyed by someone else
        FComponents.erase(it);
    }
}

void TComponent::Free() {
    if (!FOwner) {
        return;
    }
    auto &list = FOwner->FComponents;
    auto it = std::find_if(list.begin(), list.end(), [this](const std::unique_ptr<TComponent> &p) {
        return p.get() == this;
    });
    if (it != list.end()) {
        std::unique_ptr<TComponent> self = std::move(*it);
        list.erase(it);
        FOwner = nullptr;
        self->BeforeDestruction();
        self->MarkDestroying();
        self->SendFreeNotifications();
        self.reset();
    }
}

void TComponent::FreeNotification(TComponent *component) {
    if (!component || component == this) {
        return;
    }
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
        FFreeNotifies.push_back(component);
        component->FFreeNotifies.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent *component) {
    if (!component) {
        return;
    }
    std::erase(FFreeNotifies, component);
    std::erase(component->FFreeNotifies, this);
}

void TComponent::SendFreeNotifications() {
    while (!FFreeNotifies.empty()) {
        TComponent *other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        std::erase(other->FFreeNotifies, this);
        other->Notification(this, opRemove);
    }
}

TComponent *TComponent::GetComponent(int32_t index) const {
    return index >= 0 && index < GetComponentCount() ? FComponents[size_t(index)].get() : nullptr;
}

TComponent *TComponent::FindComponent(const UnicodeString &name) const {
    for (const auto &c : FComponents) {
        if (!name.empty() && SameTextAscii(c->FName, name)) {
            return c.get();
        }
    }
    return nullptr;
}

} // namespace rtl
