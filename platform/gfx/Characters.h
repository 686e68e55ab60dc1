// Character steps in UTF-16 text (the platform's CharNext): where a character starts, a base
// together with its combining marks and a surrogate pair counting as one.
#pragma once

#include <cstddef>
#include <string_view>

namespace gfx {

// Whether the unit at index starts a character: index 0 always; otherwise not for the low half
// of a surrogate pair, nor for a combining mark (general category Mn, Mc or Me, variation
// selectors among them), which belong to the character before. An index at or past the end
// counts as a start.
bool IsCharacterStart(std::u16string_view text, size_t index);

// The index where the character after the one starting at index starts (at most the text's
// size; index + 1 at least).
size_t CharNextW(std::u16string_view text, size_t index);

} // namespace gfx
