// The option bits every document item carries (paragraph and line starts, page breaks, UTF-16
// text, float clearing, grouping) and the small set type that holds them.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace vizivodu {

// Bit number = ordinal; the native format stores the low six bits of the set as a number.
enum TVDItemOption : uint8_t {
    vdioSameAsPrev,      // continues the paragraph and the line of the previous item
    vdioPageBreakBefore, // a page break comes before the item (it starts a paragraph)
    vdioBR,              // a line break comes before the item, inside the paragraph
    vdioUnicode,         // the item text holds UTF-16LE code units
    vdioClearLeft,       // the paragraph starts below floating boxes on the left
    vdioClearRight,      // ... on the right
    vdioGroupWithNext    // grouped with the following item for line wrapping
};

// A set of item options in one byte, bit n for the option of ordinal n.
class TVDItemOptions {
public:
    constexpr TVDItemOptions() = default;
    constexpr TVDItemOptions(std::initializer_list<TVDItemOption> options) {
        for (TVDItemOption o : options) {
            FBits = static_cast<uint8_t>(FBits | Bit(o));
        }
    }
    static constexpr TVDItemOptions FromBits(uint8_t bits) {
        TVDItemOptions result;
        result.FBits = bits;
        return result;
    }

    constexpr bool Contains(TVDItemOption o) const { return (FBits & Bit(o)) != 0; }
    constexpr void Include(TVDItemOption o) { FBits = static_cast<uint8_t>(FBits | Bit(o)); }
    constexpr void Exclude(TVDItemOption o) { FBits = static_cast<uint8_t>(FBits & ~Bit(o)); }
    constexpr void Set(TVDItemOption o, bool value) { value ? Include(o) : Exclude(o); }
    constexpr uint8_t Bits() const { return FBits; }
    constexpr bool Empty() const { return FBits == 0; }

    friend constexpr bool operator==(TVDItemOptions, TVDItemOptions) = default;

private:
    static constexpr uint8_t Bit(TVDItemOption o) { return static_cast<uint8_t>(1u << o); }
    uint8_t FBits = 0;
};

} // namespace vizivodu
