// Collections of the style units: items enter and leave their collection only through it.
#include "vizivodu/styles/VDCollection.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Streaming.h"

#include <cstdlib>
#include <cxxabi.h>
#include <string>

namespace vizivodu {

namespace {

[[noreturn]] void RaiseIndexError(rtl::Integer index) {
    throw rtl::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

// The class name as written in the source, without its namespaces.
std::string PlainClassName(const std::type_info &type) {
    int status = 0;
    char *demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : type.name();
    std::free(demangled);
    const size_t colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

} // namespace

void RaiseAssignError(const std::type_info &source, const std::type_info &dest) {
    throw rtl::EConvertError("Cannot assign a " + PlainClassName(source) + " to a " +
                             PlainClassName(dest));
}

rtl::Integer TVDCollectionItem::GetIndex() const {
    return FCollection ? FCollection->IndexOf(this) : -1;
}

void TVDCollectionItem::SetIndex(rtl::Integer index) {
    const rtl::Integer current = GetIndex();
    if (current >= 0 && current != index) {
        FCollection->Move(current, index);
    }
}

void TVDCollectionItem::Assign(const rtl::TPersistent &source) {
    RaiseAssignError(typeid(source), typeid(*this));
}

class TVDCollection::TStreamed final : public rtl::TPersistent, public rtl::TStreamedItems {
public:
    explicit TStreamed(TVDCollection &collection) : FCollection(collection) {}
    int32_t GetStreamedCount() const override { return FCollection.GetCount(); }
    rtl::TPersistent &GetStreamedItem(int32_t index) const override {
        return *FCollection.GetItem(index);
    }
    rtl::TPersistent &AddStreamedItem() override { return *FCollection.Add(); }
    void ClearStreamedItems() override { FCollection.Clear(); }
    void BeginStreamedUpdate() override { FCollection.BeginUpdate(); }
    void EndStreamedUpdate() override { FCollection.EndUpdate(); }

private:
    TVDCollection &FCollection;
};

TVDCollection::TVDCollection(TItemFactory itemFactory) : FItemFactory(std::move(itemFactory)) {}

TVDCollection::~TVDCollection() {
    Clear();
}

rtl::TPersistent &TVDCollection::GetStreamed() {
    if (!FStreamed) {
        FStreamed = std::make_unique<TStreamed>(*this);
    }
    return *FStreamed;
}

TVDCollectionItem *TVDCollection::Add() {
    return Insert(GetCount());
}

TVDCollectionItem *TVDCollection::Insert(rtl::Integer index) {
    if (index < 0 || index > GetCount()) {
        RaiseIndexError(index);
    }
    std::unique_ptr<TVDCollectionItem> item = FItemFactory(this);
    item->FCollection = this;
    TVDCollectionItem *result = item.get();
    FItems.insert(FItems.begin() + index, std::move(item));
    return result;
}

TVDCollectionItem *TVDCollection::GetItem(rtl::Integer index) const {
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)].get();
}

rtl::Integer TVDCollection::IndexOf(const TVDCollectionItem *item) const {
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].get() == item) {
            return static_cast<rtl::Integer>(i);
        }
    }
    return -1;
}

void TVDCollection::Delete(rtl::Integer index) {
    CheckIndex(index);
    std::unique_ptr<TVDCollectionItem> item = std::move(FItems[static_cast<size_t>(index)]);
    FItems.erase(FItems.begin() + index);
    item.reset();
}

void TVDCollection::Clear() {
    while (!FItems.empty()) {
        std::unique_ptr<TVDCollectionItem> item = std::move(FItems.back());
        FItems.pop_back();
        item.reset();
    }
}

void TVDCollection::Move(rtl::Integer curIndex, rtl::Integer newIndex) {
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    std::unique_ptr<TVDCollectionItem> item = std::move(FItems[static_cast<size_t>(curIndex)]);
    FItems.erase(FItems.begin() + curIndex);
    FItems.insert(FItems.begin() + newIndex, std::move(item));
}

void TVDCollection::Assign(const TVDCollection &source) {
    if (&source == this) {
        return;
    }
    const rtl::TUpdateScope update(*this);
    Clear();
    for (const auto &item : source.FItems) {
        Add()->Assign(*item);
    }
}

void TVDCollection::CheckIndex(rtl::Integer index) const {
    if (index < 0 || index >= GetCount()) {
        RaiseIndexError(index);
    }
}

} // namespace vizivodu
