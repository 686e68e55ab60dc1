// The foreign names of a result file: compact records, sorted once to find a repeat.
#include "app/core/UForeignNames.h"

#include <algorithm>

namespace workbench {

namespace {

template <class TRecordType> TRecordType MakeRecord(std::u16string_view name, size_t lineNo) {
    TRecordType record{};
    const size_t length = std::min(name.size(), std::size(record.Name));
    for (size_t i = 0; i < length; ++i) {
        record.Name[i] = static_cast<decltype(record.Name[0] + 0)>(name[i]);
    }
    record.Length = static_cast<uint8_t>(length);
    record.Line = static_cast<uint32_t>(std::min<size_t>(lineNo, UINT32_MAX));
    return record;
}

} // namespace

void TForeignNames::Add(std::u16string_view name, size_t lineNo) {
    // Two names are equal only when both are narrow or both are wide.
    if (std::all_of(name.begin(), name.end(), [](char16_t ch) { return ch < 0x100; })) {
        FNarrow.push_back(MakeRecord<TRecord<char>>(name, lineNo));
    } else {
        FWide.push_back(MakeRecord<TRecord<char16_t>>(name, lineNo));
    }
}

template <class TChar>
std::pair<size_t, rtl::UnicodeString>
TForeignNames::FirstRepeatIn(std::deque<TRecord<TChar>> &records) {
    std::sort(records.begin(), records.end(), [](const auto &a, const auto &b) {
        return std::pair(a.Key(), a.Line) < std::pair(b.Key(), b.Line);
    });
    std::pair<size_t, rtl::UnicodeString> first{0, {}};
    for (size_t i = 1; i < records.size(); ++i) {
        const TRecord<TChar> &r = records[i];
        if (r.Key() == records[i - 1].Key() && (first.first == 0 || r.Line < first.first)) {
            const auto key = r.Key();
            first = {r.Line, rtl::UnicodeString(key.begin(), key.end())};
        }
    }
    return first;
}

std::pair<size_t, rtl::UnicodeString> TForeignNames::FirstRepeat() {
    auto narrow = FirstRepeatIn(FNarrow);
    auto wide = FirstRepeatIn(FWide);
    if (wide.first != 0 && (narrow.first == 0 || wide.first < narrow.first)) {
        return wide;
    }
    return narrow;
}

} // namespace workbench
