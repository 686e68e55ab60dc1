// The class library's containers: the dictionary, the generic list, the classic list of integers
// and the owning list of objects.
//
// Errors follow the class library, which raises different messages for its two families:
// - the generic collections (TDictionary, TList<T>): EListError "Duplicates not allowed" and
//   "Item not found" for keys, EArgumentOutOfRangeException "Argument out of range" for indexes;
// - the classic lists (TIntegerList, TObjectList<T>): EListError "List index out of bounds (%d)",
//   "List capacity out of bounds (%d)" and "List count out of bounds (%d)" with the bad value.
// A failing call changes nothing.
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/System.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace rtl {

namespace detail {

struct TClassicListErrors {
    [[noreturn]] static void Index(Integer index) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    [[noreturn]] static void Capacity(Integer capacity) {
        throw EListError("List capacity out of bounds (" + std::to_string(capacity) + ")");
    }
    [[noreturn]] static void Count(Integer count) {
        throw EListError("List count out of bounds (" + std::to_string(count) + ")");
    }
};

struct TGenericListErrors {
    [[noreturn]] static void Index(Integer) {
        throw EArgumentOutOfRangeException("Argument out of range");
    }
    [[noreturn]] static void Capacity(Integer) {
        throw EArgumentOutOfRangeException("Argument out of range");
    }
    [[noreturn]] static void Count(Integer) {
        throw EArgumentOutOfRangeException("Argument out of range");
    }
};

// Shrinks or grows a vector's allocation to exactly the capacity asked for, as the class
// library's lists do; the caller has checked that it holds the items.
template <class T> void SetVectorCapacity(std::vector<T> &items, size_t capacity) {
    if (capacity > items.capacity()) {
        items.reserve(capacity);
    } else if (capacity < items.capacity()) {
        std::vector<T> resized;
        resized.reserve(capacity);
        std::move(items.begin(), items.end(), std::back_inserter(resized));
        items.swap(resized);
    }
}

// Moves the item at curIndex to newIndex, shifting the items between them.
template <class T> void MoveItem(std::vector<T> &items, size_t curIndex, size_t newIndex) {
    const auto cur = items.begin() + static_cast<std::ptrdiff_t>(curIndex);
    const auto target = items.begin() + static_cast<std::ptrdiff_t>(newIndex);
    if (curIndex < newIndex) {
        std::rotate(cur, cur + 1, target + 1);
    } else if (newIndex < curIndex) {
        std::rotate(target, cur, cur + 1);
    }
}

// A growable array of values indexed from 0; Errors names the family's messages.
template <class T, class Errors> class TValueList {
public:
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    // Appends value; returns its index.
    Integer Add(T value) {
        FItems.push_back(std::move(value));
        return GetCount() - 1;
    }
    // Index 0 to Count; the items from index on move up by one.
    void Insert(Integer index, T value) {
        if (index < 0 || index > GetCount()) {
            Errors::Index(index);
        }
        FItems.insert(FItems.begin() + index, std::move(value));
    }
    void Delete(Integer index) {
        CheckIndex(index);
        FItems.erase(FItems.begin() + index);
    }
    // Deletes the first item equal to value; returns the index it had, or -1 (no error).
    Integer Remove(const T &value) {
        const Integer index = IndexOf(value);
        if (index >= 0) {
            FItems.erase(FItems.begin() + index);
        }
        return index;
    }
    void Clear() {
        FItems.clear();
        FItems.shrink_to_fit();
    }

    // The index of the first item equal to value, or -1.
    Integer IndexOf(const T &value) const {
        const auto found = std::find(FItems.begin(), FItems.end(), value);
        return found == FItems.end() ? -1 : static_cast<Integer>(found - FItems.begin());
    }
    bool Contains(const T &value) const { return IndexOf(value) >= 0; }

    const T &Get(Integer index) const {
        CheckIndex(index);
        return FItems[static_cast<size_t>(index)];
    }
    void Put(Integer index, T value) {
        CheckIndex(index);
        FItems[static_cast<size_t>(index)] = std::move(value);
    }
    T &operator[](Integer index) {
        CheckIndex(index);
        return FItems[static_cast<size_t>(index)];
    }
    const T &operator[](Integer index) const { return Get(index); }
    // Item 0 and item Count - 1; on an empty list the index error of that index.
    const T &First() const { return Get(0); }
    const T &Last() const { return Get(GetCount() - 1); }

    void Exchange(Integer index1, Integer index2) {
        CheckIndex(index1);
        CheckIndex(index2);
        std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
    }
    void Move(Integer curIndex, Integer newIndex) {
        CheckIndex(curIndex);
        CheckIndex(newIndex);
        MoveItem(FItems, static_cast<size_t>(curIndex), static_cast<size_t>(newIndex));
    }

    Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
    // Growing appends default values (0 for numbers); a negative count is an error.
    void SetCount(Integer count) {
        if (count < 0) {
            Errors::Count(count);
        }
        FItems.resize(static_cast<size_t>(count));
    }
    Integer GetCapacity() const { return static_cast<Integer>(FItems.capacity()); }
    // A capacity below the count is an error.
    void SetCapacity(Integer capacity) {
        if (capacity < GetCount()) {
            Errors::Capacity(capacity);
        }
        SetVectorCapacity(FItems, static_cast<size_t>(capacity));
    }

    // Ascending by operator<. Equal items keep their order.
    void Sort() { std::stable_sort(FItems.begin(), FItems.end()); }
    // compare(a, b) is negative when a comes before b, 0 for equal, positive after.
    template <class Compare> void Sort(Compare compare) {
        std::stable_sort(FItems.begin(), FItems.end(),
                         [&](const T &a, const T &b) { return compare(a, b) < 0; });
    }

    iterator begin() { return FItems.begin(); }
    iterator end() { return FItems.end(); }
    const_iterator begin() const { return FItems.begin(); }
    const_iterator end() const { return FItems.end(); }

protected:
    void CheckIndex(Integer index) const {
        if (index < 0 || index >= GetCount()) {
            Errors::Index(index);
        }
    }

    std::vector<T> FItems;
};

} // namespace detail

// The generic list of values.
template <class T> class TList : public detail::TValueList<T, detail::TGenericListErrors> {};

// The classic list of 32-bit integers.
class TIntegerList : public detail::TValueList<Integer, detail::TClassicListErrors> {};

// The classic owning list of objects: it owns every object in it and frees it when the entry is
// deleted, replaced or cleared, and when the list is destroyed. Entries may be empty (null).
template <class T> class TObjectList {
public:
    using Errors = detail::TClassicListErrors;

    TObjectList() = default;
    TObjectList(const TObjectList &) = delete;
    TObjectList &operator=(const TObjectList &) = delete;
    TObjectList(TObjectList &&) noexcept = default;
    TObjectList &operator=(TObjectList &&other) noexcept {
        Clear();
        FItems = std::move(other.FItems);
        return *this;
    }
    ~TObjectList() { Clear(); }

    // Takes item over; returns its index.
    Integer Add(std::unique_ptr<T> item) {
        FItems.push_back(std::move(item));
        return GetCount() - 1;
    }
    // Index 0 to Count.
    void Insert(Integer index, std::unique_ptr<T> item) {
        if (index < 0 || index > GetCount()) {
            Errors::Index(index);
        }
        FItems.insert(FItems.begin() + index, std::move(item));
    }
    // Removes the entry, then frees its object.
    void Delete(Integer index) { ExtractAt(index).reset(); }
    // Removes the entry and hands its object to the caller, unfreed.
    std::unique_ptr<T> ExtractAt(Integer index) {
        CheckIndex(index);
        std::unique_ptr<T> item = std::move(FItems[static_cast<size_t>(index)]);
        FItems.erase(FItems.begin() + index);
        return item;
    }
    // Removes the first entry holding item and hands it to the caller; null when absent.
    std::unique_ptr<T> Extract(const T *item) {
        const Integer index = IndexOf(item);
        return index < 0 ? nullptr : ExtractAt(index);
    }
    // Removes and frees the first entry holding item; returns the index it had, or -1.
    Integer Remove(const T *item) {
        const Integer index = IndexOf(item);
        if (index >= 0) {
            Delete(index);
        }
        return index;
    }
    // Frees the objects from index 0 upwards; the list is already empty while they are freed.
    void Clear() {
        std::vector<std::unique_ptr<T>> items = std::move(FItems);
        FItems.clear();
        for (auto &item : items) {
            item.reset();
        }
    }

    Integer IndexOf(const T *item) const {
        for (size_t i = 0; i < FItems.size(); ++i) {
            if (FItems[i].get() == item) {
                return static_cast<Integer>(i);
            }
        }
        return -1;
    }
    T *Get(Integer index) const {
        CheckIndex(index);
        return FItems[static_cast<size_t>(index)].get();
    }
    T *operator[](Integer index) const { return Get(index); }
    // Frees the object that the entry held.
    void Put(Integer index, std::unique_ptr<T> item) {
        CheckIndex(index);
        std::swap(FItems[static_cast<size_t>(index)], item);
    }
    T *First() const { return Get(0); }
    T *Last() const { return Get(GetCount() - 1); }

    void Exchange(Integer index1, Integer index2) {
        CheckIndex(index1);
        CheckIndex(index2);
        std::swap(FItems[static_cast<size_t>(index1)], FItems[static_cast<size_t>(index2)]);
    }
    void Move(Integer curIndex, Integer newIndex) {
        CheckIndex(curIndex);
        CheckIndex(newIndex);
        detail::MoveItem(FItems, static_cast<size_t>(curIndex), static_cast<size_t>(newIndex));
    }

    Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
    Integer GetCapacity() const { return static_cast<Integer>(FItems.capacity()); }
    void SetCapacity(Integer capacity) {
        if (capacity < GetCount()) {
            Errors::Capacity(capacity);
        }
        detail::SetVectorCapacity(FItems, static_cast<size_t>(capacity));
    }

    // compare(const T *a, const T *b) is negative when a comes before b, 0 for equal, positive
    // after. Equal objects keep their order.
    template <class Compare> void Sort(Compare compare) {
        std::stable_sort(FItems.begin(), FItems.end(),
                         [&](const std::unique_ptr<T> &a, const std::unique_ptr<T> &b) {
                             return compare(static_cast<const T *>(a.get()),
                                            static_cast<const T *>(b.get())) < 0;
                         });
    }
    // Binary search of a list sorted in the order of compare(const T *entry, const Key &key),
    // which is negative when the entry comes before key, 0 when it matches, positive after.
    // The index of a matching entry, or -1.
    template <class Key, class Compare> Integer Find(const Key &key, Compare compare) const {
        Integer low = 0;
        Integer high = GetCount() - 1;
        while (low <= high) {
            const Integer middle = low + (high - low) / 2;
            const auto order = compare(static_cast<const T *>(FItems[middle].get()), key);
            if (order == 0) {
                return middle;
            }
            if (order < 0) {
                low = middle + 1;
            } else {
                high = middle - 1;
            }
        }
        return -1;
    }

    // Iterates over the owning pointers.
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    void CheckIndex(Integer index) const {
        if (index < 0 || index >= GetCount()) {
            Errors::Index(index);
        }
    }

    std::vector<std::unique_ptr<T>> FItems;
};

// The dictionary. Keys are unique; iteration runs in ascending key order (std::less), so every
// walk over a dictionary is the same on every run (the class library walks in hash order, on
// which the workbench does not rely: it walks its name lists or counts keys 1 to n instead).
// V may be move-only, such as std::unique_ptr, which makes the dictionary own its values.
template <class K, class V> class TDictionary {
public:
    using TPair = std::pair<const K, V>;
    using iterator = typename std::map<K, V>::iterator;
    using const_iterator = typename std::map<K, V>::const_iterator;

    // EListError "Duplicates not allowed" when key is present; the dictionary keeps its value.
    void Add(const K &key, V value) {
        if (!FItems.try_emplace(key, std::move(value)).second) {
            throw EListError("Duplicates not allowed");
        }
    }
    void AddOrSetValue(const K &key, V value) { FItems.insert_or_assign(key, std::move(value)); }
    // Nothing happens for a key that is not present.
    void Remove(const K &key) { FItems.erase(key); }
    void Clear() { FItems.clear(); }

    bool ContainsKey(const K &key) const { return FItems.find(key) != FItems.end(); }
    // Copies the value into value; false (value untouched) when key is not present.
    bool TryGetValue(const K &key, V &value) const {
        const auto found = FItems.find(key);
        if (found == FItems.end()) {
            return false;
        }
        value = found->second;
        return true;
    }
    // The value of key, or null when it is not present.
    V *Find(const K &key) {
        const auto found = FItems.find(key);
        return found == FItems.end() ? nullptr : &found->second;
    }
    const V *Find(const K &key) const {
        const auto found = FItems.find(key);
        return found == FItems.end() ? nullptr : &found->second;
    }

    // Items[key]: EListError "Item not found" when key is not present; setting never adds a
    // key (use Add or AddOrSetValue).
    const V &GetItem(const K &key) const { return Existing(key); }
    void SetItem(const K &key, V value) { Existing(key) = std::move(value); }
    V &operator[](const K &key) { return Existing(key); }
    const V &operator[](const K &key) const { return Existing(key); }

    Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
    // The keys in iteration order.
    std::vector<K> GetKeys() const {
        std::vector<K> keys;
        keys.reserve(FItems.size());
        for (const auto &pair : FItems) {
            keys.push_back(pair.first);
        }
        return keys;
    }

    iterator begin() { return FItems.begin(); }
    iterator end() { return FItems.end(); }
    const_iterator begin() const { return FItems.begin(); }
    const_iterator end() const { return FItems.end(); }

private:
    template <class Self> static auto &Lookup(Self &self, const K &key) {
        const auto found = self.FItems.find(key);
        if (found == self.FItems.end()) {
            throw EListError("Item not found");
        }
        return found->second;
    }
    V &Existing(const K &key) { return Lookup(*this, key); }
    const V &Existing(const K &key) const { return Lookup(*this, key); }

    std::map<K, V> FItems;
};

} // namespace rtl
