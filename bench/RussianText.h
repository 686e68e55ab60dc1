// Text for the document benchmarks: Russian sentences made from a fixed list of words.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace wbbench {

// count sentences of 40 to 90 characters, words drawn from words by a fixed-seed generator
// (the same input on every run), each ending with a full stop.
inline std::vector<std::u16string> RussianSentences(int32_t count,
                                                    std::initializer_list<const char16_t *> words) {
    const std::vector<std::u16string> list(words.begin(), words.end());
    std::vector<std::u16string> out;
    uint32_t seed = 12345;
    for (int32_t i = 0; i < count; ++i) {
        std::u16string p;
        const size_t target = 40 + (seed % 51);
        while (p.size() < target) {
            seed = seed * 1103515245u + 12345u;
            p += list[(seed >> 16) % list.size()];
            p += u' ';
        }
        p.back() = u'.';
        out.push_back(std::move(p));
    }
    return out;
}

} // namespace wbbench
