// General containers: a growable list of rectangles, a hashed pointer map with its iterator,
// and a list of class references looked up by class name.
#pragma once

#include "raster/Raster_Types.h"

#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <memory>
#include <string>
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

} // namespace raster
