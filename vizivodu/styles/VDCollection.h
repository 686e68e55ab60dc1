// The collections of the style units: an owning, ordered list of items of a class that the
// collection chooses, whose items know their collection and their place in it (the class
// library's TCollection, as far as the styles need them). Items are persistent objects with
// published properties, and a collection is stored by the component stream as one collection
// value (GetStreamed).
#pragma once

#include "platform/rtl/Persistent.h"
#include "platform/rtl/System.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <typeinfo>
#include <vector>

namespace vizivodu {

class TVDCollection;

// An item of a collection, or a free-standing one (its collection is then null). Items are made
// by their collection (Add, Insert), which owns them.
class TVDCollectionItem : public rtl::TPersistent {
public:
    // Does not enter the collection: the collection that makes the item does so once it is
    // built. The collection is known while the item's constructor runs.
    explicit TVDCollectionItem(TVDCollection *collection) : FCollection(collection) {}
    TVDCollectionItem(const TVDCollectionItem &) = delete;
    TVDCollectionItem &operator=(const TVDCollectionItem &) = delete;
    ~TVDCollectionItem() override = default;

    TVDCollection *GetCollection() const { return FCollection; }
    // The item's place from 0; -1 for an item outside a collection.
    rtl::Integer GetIndex() const;
    // Moves the item to index; the items between shift by one. EListError "List index out of
    // bounds (%d)" for an index outside the collection.
    void SetIndex(rtl::Integer index);

    // Copies source's values into this item. The base knows no values: it raises EConvertError
    // "Cannot assign a <source class> to a <this class>", as every assignment between classes
    // that do not know each other.
    void Assign(const rtl::TPersistent &source) override;
    virtual rtl::UnicodeString GetDisplayName() const { return {}; }

private:
    friend class TVDCollection;
    TVDCollection *FCollection;
};

// Owns its items and frees them when they are deleted and when it is cleared or destroyed.
// An index outside 0 .. Count - 1 raises EListError "List index out of bounds (%d)".
class TVDCollection {
public:
    // Makes one new item for the given collection (the class library's item class).
    using TItemFactory = std::function<std::unique_ptr<TVDCollectionItem>(TVDCollection *)>;

    explicit TVDCollection(TItemFactory itemFactory);
    TVDCollection(const TVDCollection &) = delete;
    TVDCollection &operator=(const TVDCollection &) = delete;
    virtual ~TVDCollection();

    // Appends a new item of the collection's class and returns it.
    TVDCollectionItem *Add();
    // Inserts a new item at index (0 .. Count) and returns it.
    TVDCollectionItem *Insert(rtl::Integer index);
    TVDCollectionItem *GetItem(rtl::Integer index) const;
    rtl::Integer GetCount() const { return static_cast<rtl::Integer>(FItems.size()); }
    // The place of item in this collection, -1 when it is not in it.
    rtl::Integer IndexOf(const TVDCollectionItem *item) const;

    // Frees the item at index.
    void Delete(rtl::Integer index);
    // Frees every item, the last first; each is freed after it has left the collection, so an
    // item's destructor sees the items that remain.
    void Clear();
    void Move(rtl::Integer curIndex, rtl::Integer newIndex);

    // Replaces the items by new items of this collection's class assigned from source's.
    virtual void Assign(const TVDCollection &source);

    // Update brackets: nest; GetUpdateCount is 0 outside them.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate() { FUpdateCount = std::max(0, FUpdateCount - 1); }
    rtl::Integer GetUpdateCount() const { return FUpdateCount; }

    // The collection as the component stream reads and writes it (an rtl::TStreamedItems):
    // what a published property of the collection returns.
    rtl::TPersistent &GetStreamed();

protected:
    // Orders the items by compare(a, b) < 0 (a stable sort).
    template <class Compare> void SortItems(Compare compare) {
        std::stable_sort(FItems.begin(), FItems.end(),
                         [&](const std::unique_ptr<TVDCollectionItem> &a,
                             const std::unique_ptr<TVDCollectionItem> &b) {
                             return compare(a.get(), b.get()) < 0;
                         });
    }

private:
    void CheckIndex(rtl::Integer index) const;

    class TStreamed;

    TItemFactory FItemFactory;
    std::vector<std::unique_ptr<TVDCollectionItem>> FItems;
    rtl::Integer FUpdateCount = 0;
    std::unique_ptr<TStreamed> FStreamed;
};

// "Cannot assign a <source> to a <dest>" with the two objects' class names (without
// namespaces), as the class library reports an assignment between unrelated classes.
[[noreturn]] void RaiseAssignError(const std::type_info &source, const std::type_info &dest);

} // namespace vizivodu
