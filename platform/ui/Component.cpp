// Component ownership.
#include "platform/ui/Component.h"

#include <algorithm>

namespace ui {

TComponent::TComponent(TComponent *owner) : FOwner(owner) {
    if (FOwner) {
        FOwner->FComponents.emplace_back(this);
    }
}

TComponent::~TComponent() {
    FDestroying = true;
    DestroyComponents();
    if (FOwner) {
        FOwner->RemoveComponent(this);
    }
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        // Taken out of the list first so its destructor does not look for itself.
        std::unique_ptr<TComponent> last = std::move(FComponents.back());
        FComponents.pop_back();
        last->FOwner = nullptr;
        last->BeforeDestruction();
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
        self.reset();
    }
}

TComponent *TComponent::GetComponent(int32_t index) const {
    return index >= 0 && index < GetComponentCount() ? FComponents[size_t(index)].get() : nullptr;
}

namespace {

char16_t AsciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
}

bool SameTextAscii(const rtl::UnicodeString &a, const rtl::UnicodeString &b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return AsciiUpper(x) == AsciiUpper(y); });
}

} // namespace

TComponent *TComponent::FindComponent(const rtl::UnicodeString &name) const {
    for (const auto &c : FComponents) {
        if (!name.empty() && SameTextAscii(c->FName, name)) {
            return c.get();
        }
    }
    return nullptr;
}

} // namespace ui
