// Character steps with ICU's general categories.
#include "platform/gfx/Characters.h"

#include <unicode/uchar.h>

#include <algorithm>

namespace gfx {

namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

bool IsCharacterStart(std::u16string_view text, size_t index) {
    if (index == 0 || index >= text.size()) {
        return true;
    }
    const char16_t c = text[index];
    if (c < 0x0300) {
        return true; // no combining marks below U+0300
    }
    if (IsLowSurrogate(c)) {
        return !IsHighSurrogate(text[index - 1]);
    }
    UChar32 cp = c;
    if (IsHighSurrogate(c) && index + 1 < text.size() && IsLowSurrogate(text[index + 1])) {
        cp = 0x10000 + ((UChar32(c) - 0xD800) << 10) + (UChar32(text[index + 1]) - 0xDC00);
    }
    return (U_GET_GC_MASK(cp) & U_GC_M_MASK) == 0;
}

size_t CharNextW(std::u16string_view text, size_t index) {
    size_t next = index + 1;
    while (next < text.size() && !IsCharacterStart(text, next)) {
        ++next;
    }
    return next < text.size() ? next : std::max(text.size(), index + 1);
}

} // namespace gfx
