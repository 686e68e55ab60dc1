// The names of a result file that the database lacks, kept compactly to find a repeated one.
#pragma once

#include "app/core/UNameIndex.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <deque>
#include <string_view>
#include <utility>

namespace workbench {

// Millions of names fit: each is a fixed record in blocks (no growth by copying) of 16 bytes
// when every character is below U+0100 (the usual case), else 28, sorted once at the end.
// A hash set of strings took over 100 bytes a name. Names longer than
// TNameIndex::MaxNameLength characters are cut there (the files' names are never longer).
class TForeignNames {
public:
    // The name and the number of its line (from 1).
    void Add(std::u16string_view name, size_t lineNo);
    // The line that first repeats a name (the earliest second occurrence), and that name; line
    // 0 when no name is repeated. Sorts the records.
    std::pair<size_t, rtl::UnicodeString> FirstRepeat();

private:
    template <class TChar> struct TRecord {
        TChar Name[TNameIndex::MaxNameLength];
        uint8_t Length;
        uint32_t Line;
        std::basic_string_view<TChar> Key() const { return {Name, Length}; }
    };
    template <class TChar>
    static std::pair<size_t, rtl::UnicodeString> FirstRepeatIn(std::deque<TRecord<TChar>> &records);

    std::deque<TRecord<char>> FNarrow; // characters below U+0100, one byte each
    std::deque<TRecord<char16_t>> FWide;
};

} // namespace workbench
