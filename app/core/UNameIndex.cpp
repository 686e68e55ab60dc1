// The name index's open-addressing table (linear probing, FNV-1a hash).
#include "app/core/UNameIndex.h"

#include <algorithm>
#include <stdexcept>

namespace workbench {

namespace {

uint64_t HashName(std::u16string_view name) {
    uint64_t hash = 14695981039346656037ull;
    for (const char16_t ch : name) {
        hash = (hash ^ static_cast<uint64_t>(ch)) * 1099511628211ull;
    }
    return hash ^ (hash >> 29);
}

size_t CapacityFor(size_t count) {
    size_t capacity = 16;
    while (capacity < count * 2) {
        capacity *= 2;
    }
    return capacity;
}

} // namespace

// The slot holding name, or the free slot where it belongs. The table is never full.
size_t TNameIndex::SlotOf(std::u16string_view name) const {
    const size_t mask = FSlots.size() - 1;
    for (size_t i = HashName(name) & mask;; i = (i + 1) & mask) {
        const TSlot &slot = FSlots[i];
        if (!slot.Used || std::u16string_view(slot.Name, slot.Length) == name) {
            return i;
        }
    }
}

void TNameIndex::Reserve(size_t count) {
    if (CapacityFor(count) <= FSlots.size()) {
        return;
    }
    std::vector<TSlot> old = std::move(FSlots);
    FSlots.assign(CapacityFor(count), TSlot{});
    for (const TSlot &slot : old) {
        if (slot.Used) {
            FSlots[SlotOf(std::u16string_view(slot.Name, slot.Length))] = slot;
        }
    }
}

void TNameIndex::Grow() {
    Reserve(std::max<size_t>(FSize + 1, FSlots.size()));
}

bool TNameIndex::Insert(std::u16string_view name, int32_t position) {
    if (name.size() > MaxNameLength) {
        throw std::length_error("ECG name longer than 10 characters");
    }
    if ((FSize + 1) * 2 > FSlots.size()) {
        Grow();
    }
    TSlot &slot = FSlots[SlotOf(name)];
    if (slot.Used) {
        return false;
    }
    std::copy(name.begin(), name.end(), slot.Name);
    slot.Length = static_cast<uint8_t>(name.size());
    slot.Used = true;
    slot.Position = position;
    ++FSize;
    return true;
}

int32_t TNameIndex::Find(std::u16string_view name) const {
    if (FSlots.empty() || name.size() > MaxNameLength) {
        return -1;
    }
    const TSlot &slot = FSlots[SlotOf(name)];
    return slot.Used ? slot.Position : -1;
}

void TNameIndex::Clear() {
    FSlots.clear();
    FSize = 0;
}

} // namespace workbench
