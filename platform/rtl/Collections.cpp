// Collections: items enter and leave their collection only through it.
#include "platform/rtl/Collections.h"

#include "platform/rtl/Exceptions.h"

#include <cstdlib>
#include <cxxabi.h>
#include <string>

namespace rtl {

namespace {

[[noreturn]] void RaiseIndexError(Integer index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
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
    throw EConvertError("Cannot assign a " + PlainClassName(source) + " to a " +
                        PlainClassName(dest));
}

Integer TCollectionItem::GetIndex() const {
    return FCollection ? FCollection->IndexOf(this) : -1;
}

void TCollectionItem::SetIndex(Integer index) {
    const Integer current = GetIndex();
    if (current >= 0 && current != index) {
        FCollection->Move(current, index);
    }
}

void TCollectionItem::Assign(const TCollectionItem &source) {
    RaiseAssignError(typeid(source), typeid(*this));
}

TCollection::~TCollection() {
    Clear();
}

TCollectionItem *TCollection::Add() {
    return Insert(GetCount());
}

TCollectionItem *TCollection::Insert(Integer index) {
    if (index < 0 || index > GetCount()) {
        RaiseIndexError(index);
    }
    std::unique_ptr<TCollectionItem> item = FItemFactory(this);
    item->FCollection = this;
    TCollectionItem *result = item.get();
    FItems.insert(FItems.begin() + index, std::move(item));
    return result;
}

TCollectionItem *TCollection::GetItem(Integer index) const {
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)].get();
}

Integer TCollection::IndexOf(const TCollectionItem *item) const {
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].get() == item) {
            return static_cast<Integer>(i);
        }
    }
    return -1;
}

void TCollection::Delete(Integer index) {
    CheckIndex(index);
    std::unique_ptr<TCollectionItem> item = std::move(FItems[static_cast<size_t>(index)]);
    FItems.erase(FItems.begin() + index);
    item.reset();
}

void TCollection::Clear() {
    while (!FItems.empty()) {
        std::unique_ptr<TCollectionItem> item = std::move(FItems.back());
        FItems.pop_back();
        item.reset();
    }
}

void TCollection::Move(Integer curIndex, Integer newIndex) {
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    std::unique_ptr<TCollectionItem> item = std::move(FItems[static_cast<size_t>(curIndex)]);
    FItems.erase(FItems.begin() + curIndex);
    FItems.insert(FItems.begin() + newIndex, std::move(item));
}

void TCollection::Assign(const TCollection &source) {
    if (&source == this) {
        return;
    }
    BeginUpdate();
    try {
        Clear();
        for (const auto &item : source.FItems) {
            Add()->Assign(*item);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::CheckIndex(Integer index) const {
    if (index < 0 || index >= GetCount()) {
        RaiseIndexError(index);
    }
}

} // namespace rtl
