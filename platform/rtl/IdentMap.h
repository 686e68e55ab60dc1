// Names for integers (colours, cursors): the maps through which the component stream writes an
// integer property as a name where the value has one.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace rtl {

struct TIdentMapEntry {
    int32_t Value;
    const char *Name;
};
using TIdentMap = std::span<const TIdentMapEntry>;

// The name of value in the map (the first entry that has it); false when none has.
bool IntToIdent(int32_t value, std::string &ident, TIdentMap map);
// The value named ident (compared without regard to ASCII case); false when none is.
bool IdentToInt(std::string_view ident, int32_t &value, TIdentMap map);
// Identifiers compare without regard to ASCII case throughout the class library.
bool SameName(std::string_view a, std::string_view b);

} // namespace rtl
