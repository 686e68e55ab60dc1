// TPersistent, the base of everything the component stream stores, and the collections of
// items (TCollection, TCollectionItem).
#pragma once

#include "platform/rtl/System.h"
#include "platform/rtl/TypInfo.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rtl {

class TFiler;

// An object with published properties (its ClassInfo) that the stream reads and writes, and
// DefineProperties for what it stores beyond them.
class TPersistent {
public:
    TPersistent() = default;
    TPersistent(const TPersistent &) = default;
    TPersistent &operator=(const TPersistent &) = default;
    virtual ~TPersistent() = default;

    static const TClassInfo &StaticClassInfo();
    // The table of the object's class; every class with a table of its own overrides this.
    virtual const TClassInfo &ClassInfo() const { return StaticClassInfo(); }
    const std::string &ClassName() const { return ClassInfo().Name; }

    // Copies source into this object. The default lets the source assign itself (AssignTo),
    // which raises EConvertError "Cannot assign a <source class> to a <this class>".
    virtual void Assign(const TPersistent &source);
    // Declares, through the filer's DefineProperty and DefineBinaryProperty, the properties
    // the object stores beyond its published ones (data of its own, or obsolete names it
    // still reads). Called for both reading and writing; the default declares none.
    virtual void DefineProperties(TFiler &filer) { (void)filer; }

protected:
    virtual void AssignTo(TPersistent &dest) const;
};

class TCollection;

// An item of a collection, owned by it.
class TCollectionItem : public TPersistent {
public:
    // Joins the collection (at its end) when one is given; the collection owns it from then on.
    explicit TCollectionItem(TCollection *collection);
    TCollectionItem(const TCollectionItem &) = delete;
    TCollectionItem &operator=(const TCollectionItem &) = delete;
    // Leaves the collection.
    ~TCollectionItem() override;

    static const TClassInfo &StaticClassInfo();
    const TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

    TCollection *GetCollection() const { return FCollection; }
    // Position in the collection; -1 without one.
    int32_t GetIndex() const;
    // Moves the item to that position; EListError "List index out of bounds (%d)" for one
    // outside the collection.
    void SetIndex(int32_t index);
    // A number unique in the collection, given when the item joins it.
    int32_t GetID() const { return FID; }
    virtual UnicodeString GetDisplayName() const;

protected:
    // Tells the collection that this item changed.
    void Changed();

private:
    friend class TCollection;
    TCollection *FCollection = nullptr;
    int32_t FID = 0;
};

// An ordered list of items of one class, which it owns. Reading a collection from a stream adds
// items through that class's CreateItem.
class TCollection : public TPersistent {
public:
    // itemClass must be able to create items (TClassInfo::CreateItem).
    explicit TCollection(const TClassInfo &itemClass);
    TCollection(const TCollection &) = delete;
    TCollection &operator=(const TCollection &) = delete;
    ~TCollection() override;

    static const TClassInfo &StaticClassInfo();
    const TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

    const TClassInfo &GetItemClass() const { return *FItemClass; }
    int32_t GetCount() const { return int32_t(FItems.size()); }
    // EListError "List index out of bounds (%d)" for an index outside the items.
    TCollectionItem *GetItem(int32_t index) const;
    // A new item of the item class at the end (Add) or at index, 0 to Count (Insert; EListError
    // as GetItem for another).
    TCollectionItem *Add();
    TCollectionItem *Insert(int32_t index);
    // Frees the item at index (EListError as GetItem).
    void Delete(int32_t index);
    void Clear();
    // The item with that ID, or nullptr.
    TCollectionItem *FindItemID(int32_t id) const;
    // Changes between BeginUpdate and the last EndUpdate are told as one, at the end.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int32_t GetUpdateCount() const { return FUpdateCount; }
    // From another collection: its items copied into new items (Assign of each).
    void Assign(const TPersistent &source) override;
    // The object the collection belongs to, if it says.
    virtual TPersistent *GetOwner() const { return nullptr; }

protected:
    // Runs after a change (outside updates): item is the changed item, or nullptr for a change
    // of the whole collection (items added, removed, moved).
    virtual void Update(TCollectionItem *item) { (void)item; }
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem *item);
    void RemoveItem(TCollectionItem *item);
    [[noreturn]] static void IndexError(int32_t index);

    const TClassInfo *FItemClass;
    std::vector<std::unique_ptr<TCollectionItem>> FItems;
    int32_t FNextID = 0;
    int32_t FUpdateCount = 0;
};

} // namespace rtl
