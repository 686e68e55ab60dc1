// General containers: a growable list of rectangles, a hashed pointer map with its iterator,
// a list of class references looked up by class name, and the copier of published properties.
#pragma once

#include "raster/Raster_Types.h"

#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace raster {

// Rectangles kept in one block; capacity grows by 8, 32 or a quarter.
class TRectList {
public:
    ~TRectList();
    int32_t Add(const TRect &rect);
    void Clear();
    // No range checks in Delete, Exchange, Insert and Move: callers stay inside 0 .. Count
    // (asserted where contracts are checked).
    void Delete(int32_t index);
    void Exchange(int32_t index1, int32_t index2);
    // Nil outside 0 .. Count - 1.
    TRect *Get(int32_t index);
    int32_t IndexOf(const TRect &rect) const;
    void Insert(int32_t index, const TRect &rect);
    void Move(int32_t curIndex, int32_t newIndex);
    int32_t Remove(const TRect &rect);
    void Pack() {}
    int32_t GetCount() const { return FCount; }
    void SetCount(int32_t value);
    int32_t GetCapacity() const { return FCapacity; }
    void SetCapacity(int32_t value);
    TRect *List() const { return FList.get(); }

protected:
    virtual void Grow();

private:
    std::unique_ptr<TRect[]> FList;
    int32_t FCount = 0;
    int32_t FCapacity = 0;
};

// Map from pointers to pointers in 256 buckets chosen by bits 8 to 15 of the key's address.
class TPointerMap {
public:
    using PPData = void **;
    virtual ~TPointerMap();
    PPData Add(void *newItem);
    PPData Add(void *newItem, bool &isNew);
    PPData Add(void *newItem, void *newData);
    // An existing key keeps its data; isNew tells which happened.
    PPData Add(void *newItem, void *newData, bool &isNew);
    // The removed item's data; nil when absent.
    void *Remove(void *item);
    void Clear();
    bool Contains(void *item) const;
    bool Find(void *item, PPData &data);
    // EListError "Item not found ($0%x)" for an absent key.
    void *GetData(void *item) const;
    void SetData(void *item, void *data);
    int32_t GetCount() const { return FCount; }

protected:
    virtual void *Delete(int32_t bucketIndex, int32_t itemIndex);

private:
    friend class TPointerMapIterator;
    struct TPointerBucketItem {
        void *Item = nullptr;
        void *Data = nullptr;
    };
    struct TPointerBucket {
        int32_t Count = 0;
        std::vector<TPointerBucketItem> Items; // size() is the capacity
    };
    static int32_t BucketOf(const void *item);
    bool Lookup(const void *item, int32_t &bucket, int32_t &index) const;
    [[noreturn]] static void NotFound(const void *item);
    TPointerBucket FBuckets[256];
    int32_t FCount = 0;
};

// Buckets in ascending order, items within a bucket from the last to the first.
class TPointerMapIterator {
public:
    explicit TPointerMapIterator(const TPointerMap &map) : FSrcPointerMap(map) {}
    bool Next();
    void *GetItem() const { return FItem; }
    void *GetData() const { return FData; }

private:
    const TPointerMap &FSrcPointerMap;
    void *FItem = nullptr;
    void *FData = nullptr;
    int32_t FCurBucketIndex = -1;
    int32_t FCurItemIndex = -1;
};

// List of class references; Entry has a ClassName member. Find compares names exactly.
template <class Entry> class TClassList {
public:
    int32_t Add(const Entry &e) {
        FItems.push_back(e);
        return static_cast<int32_t>(FItems.size()) - 1;
    }
    int32_t IndexOf(const std::string &className) const {
        for (size_t i = 0; i < FItems.size(); ++i) {
            if (className == FItems[i].ClassName) {
                return static_cast<int32_t>(i);
            }
        }
        return -1;
    }
    const Entry *Find(const std::string &className) const {
        const int32_t i = IndexOf(className);
        return i < 0 ? nullptr : &FItems[static_cast<size_t>(i)];
    }
    int32_t Remove(const std::string &className) {
        const int32_t i = IndexOf(className);
        if (i >= 0) {
            FItems.erase(FItems.begin() + i);
        }
        return i;
    }
    // Takes the entry of className out of the list and returns it; nothing when absent.
    std::optional<Entry> Extract(const std::string &className) {
        const int32_t i = IndexOf(className);
        if (i < 0) {
            return std::nullopt;
        }
        Entry e = FItems[static_cast<size_t>(i)];
        FItems.erase(FItems.begin() + i);
        return e;
    }
    void Insert(int32_t index, const Entry &e) { FItems.insert(FItems.begin() + index, e); }
    void GetClassNames(std::vector<std::string> &names) const {
        for (const Entry &e : FItems) {
            names.push_back(e.ClassName);
        }
    }
    const Entry &GetItems(int32_t index) const { return FItems.at(static_cast<size_t>(index)); }
    void SetItems(int32_t index, const Entry &e) { FItems.at(static_cast<size_t>(index)) = e; }
    const Entry &First() const { return FItems.front(); }
    const Entry &Last() const { return FItems.back(); }
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }

private:
    std::vector<Entry> FItems;
};

// ---- Published properties ---------------------------------------------------------------

// Kinds of published properties.
enum TTypeKind : uint8_t {
    tkUnknown,
    tkInteger,
    tkEnumeration,
    tkFloat,
    tkString,
    tkClass,
    tkMethod
};
using TTypeKinds = uint32_t; // bit n for kind n
constexpr TTypeKinds TypeKindBit(TTypeKind k) {
    return 1u << k;
}
// Every kind but methods (events) and the unknown kind.
constexpr TTypeKinds tkProperties = TypeKindBit(tkInteger) | TypeKindBit(tkEnumeration) |
                                    TypeKindBit(tkFloat) | TypeKindBit(tkString) |
                                    TypeKindBit(tkClass);

class TPublishedObject;
// A property's value: integers, real numbers, texts (enumerations as their value names) and
// objects (properties of class type).
using TPropertyValue = std::variant<int32_t, double, std::string, TPublishedObject *>;

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = tkUnknown;
};

// Raised for a property a class does not publish, and for a value of the wrong kind.
class EPropertyError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// An object with published properties, read and written by name. Each class appends its own
// properties to its parent's list, in declaration order. Unknown names raise EPropertyError
// "Property %s does not exist"; Assign from an object it cannot copy raises rtl::EConvertError
// "Cannot assign a %s to a %s".
class TPublishedObject {
public:
    virtual ~TPublishedObject() = default;
    virtual const char *ClassName() const = 0;
    virtual void GetPropList(std::vector<TPropInfo> &list) const { (void)list; }
    virtual TPropertyValue GetPropValue(const std::string &name) const;
    virtual void SetPropValue(const std::string &name, const TPropertyValue &value);
    virtual void Assign(const TPublishedObject &source);

protected:
    [[noreturn]] static void UnknownProperty(const std::string &name);
    // The value as a number or a text; EPropertyError "Invalid property value" for another
    // kind.
    static double NumberOf(const std::string &name, const TPropertyValue &value);
    static const std::string &TextOf(const std::string &name, const TPropertyValue &value);
};

// Copies every published property of src whose kind is in typeKinds to the property of the
// same name of dst, in src's list order: an object property makes dst's object Assign src's
// (when both exist), any other is read from src and written to dst. A property that dst lacks
// raises EPropertyError.
void CopyPublishedProperties(const TPublishedObject &src, TPublishedObject &dst,
                             TTypeKinds typeKinds);

} // namespace raster
