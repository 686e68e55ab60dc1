// TPersistent and the collections of items.
#include "platform/rtl/Persistent.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>

namespace rtl {

const TClassInfo &TPersistent::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPersistent>("TPersistent", nullptr).Build();
    return info;
}

void TPersistent::Assign(const TPersistent &source) {
    source.AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent &dest) const {
    throw EConvertError("Cannot assign a " + ClassName() + " to a " + dest.ClassName());
}

// --- TCollectionItem -------------------------------------------------------------------------

const TClassInfo &TCollectionItem::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCollectionItem>("TCollectionItem", &TPersistent::StaticClassInfo()).Build();
    return info;
}

TCollectionItem::TCollectionItem(TCollection *collection) {
    if (collection) {
        collection->InsertItem(this);
    }
}

TCollectionItem::~TCollectionItem() {
    if (FCollection) {
        FCollection->RemoveItem(this);
    }
}

int32_t TCollectionItem::GetIndex() const {
    if (!FCollection) {
        return -1;
    }
    const auto &items = FCollection->FItems;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].get() == this) {
            return int32_t(i);
        }
    }
    return -1;
}

void TCollectionItem::SetIndex(int32_t index) {
    const int32_t current = GetIndex();
    if (current < 0) {
        return;
    }
    auto &items = FCollection->FItems;
    if (index < 0 || index >= int32_t(items.size())) {
        TCollection::IndexError(index);
    }
    const int32_t target = index;
    if (target == current) {
        return;
    }
    std::unique_ptr<TCollectionItem> self = std::move(items[size_t(current)]);
    items.erase(items.begin() + current);
    items.insert(items.begin() + target, std::move(self));
    FCollection->Changed();
}

UnicodeString TCollectionItem::GetDisplayName() const {
    return Utf8ToUtf16(ClassName());
}

void TCollectionItem::Changed() {
    if (FCollection && FCollection->FUpdateCount == 0) {
        FCollection->Update(this);
    }
}

// --- TCollection -----------------------------------------------------------------------------

const TClassInfo &TCollection::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCollection>("TCollection", &TPersistent::StaticClassInfo()).Build();
    return info;
}

TCollection::TCollection(const TClassInfo &itemClass) : FItemClass(&itemClass) {}

TCollection::~TCollection() {
    ++FUpdateCount; // no Update calls into a half-destroyed descendant
    Clear();
}

void TCollection::IndexError(int32_t index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

TCollectionItem *TCollection::GetItem(int32_t index) const {
    if (index < 0 || index >= GetCount()) {
        IndexError(index);
    }
    return FItems[size_t(index)].get();
}

TCollectionItem *TCollection::Add() {
    if (!FItemClass->CreateItem) {
        throw EConvertError("Cannot create an item of class " + FItemClass->Name);
    }
    TCollectionItem *item = FItemClass->CreateItem(this);
    Changed(); // told here, when the item is whole
    return item;
}

TCollectionItem *TCollection::Insert(int32_t index) {
    if (index < 0 || index > GetCount()) {
        IndexError(index);
    }
    TCollectionItem *item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int32_t index) {
    GetItem(index);
    std::unique_ptr<TCollectionItem> item = std::move(FItems[size_t(index)]);
    FItems.erase(FItems.begin() + index);
    item->FCollection = nullptr;
    item.reset();
    Changed();
}

void TCollection::Clear() {
    if (FItems.empty()) {
        return;
    }
    BeginUpdate();
    while (!FItems.empty()) {
        std::unique_ptr<TCollectionItem> last = std::move(FItems.back());
        FItems.pop_back();
        last->FCollection = nullptr;
        last.reset();
    }
    EndUpdate();
}

TCollectionItem *TCollection::FindItemID(int32_t id) const {
    for (const auto &item : FItems) {
        if (item->FID == id) {
            return item.get();
        }
    }
    return nullptr;
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) {
        Changed();
    }
}

void TCollection::Changed() {
    if (FUpdateCount == 0) {
        Update(nullptr);
    }
}

void TCollection::Assign(const TPersistent &source) {
    const auto *other = dynamic_cast<const TCollection *>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    try {
        Clear();
        for (const auto &item : other->FItems) {
            Add()->Assign(*item);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::InsertItem(TCollectionItem *item) {
    FItems.emplace_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
}

void TCollection::RemoveItem(TCollectionItem *item) {
    auto it = std::find_if(FItems.begin(), FItems.end(),
                           [item](const auto &p) { return p.get() == item; });
    if (it != FItems.end()) {
        (void)it->release(); // the item is being destroyed by someone else
        FItems.erase(it);
    }
    item->FCollection = nullptr;
    Changed();
}

} // namespace rtl
