// An index from ECG names to their positions in the database: an open-addressing table with the
// names stored in place, so that a large database is loaded and scored without a node or a
// string allocation per lookup.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace workbench {

class TNameIndex {
public:
    // Names are cut to this many characters by both files' formats; longer names are refused.
    static constexpr size_t MaxNameLength = 10;

    // Prepares room for count names without growing.
    void Reserve(size_t count);
    // Adds name with its position; false (and no change) when the name is already there.
    // Throws std::length_error for a name longer than MaxNameLength.
    bool Insert(std::u16string_view name, int32_t position);
    // The position of name, -1 when absent.
    int32_t Find(std::u16string_view name) const;
    void Clear();
    size_t Size() const { return FSize; }

private:
    struct TSlot {
        char16_t Name[MaxNameLength];
        uint8_t Length;
        bool Used;
        int32_t Position;
    };

    size_t SlotOf(std::u16string_view name) const;
    void Grow();

    std::vector<TSlot> FSlots; // capacity a power of two, at most half full
    size_t FSize = 0;
};

} // namespace workbench
