// The class-less INI routines that every style class shares: values written only when they
// differ from their defaults, "Yes"/"No" Booleans, long strings in 500-character pieces, and
// fonts and font styles as text.
#pragma once

#include "platform/gfx/Font.h"
#include "platform/rtl/System.h"

#include <cstdint>

namespace rtl {
class TCustomIniFile;
}

namespace vizivodu {

using rtl::UnicodeString;

// Writes value as a decimal integer only when it differs from def.
void IniWriteIntIfNotDefault(rtl::TCustomIniFile &ini, const UnicodeString &section,
                             const UnicodeString &key, int32_t value, int32_t def);
// Writes "Yes" or "No" only when value differs from def.
void IniWriteBoolIfNotDefault(rtl::TCustomIniFile &ini, const UnicodeString &section,
                              const UnicodeString &key, bool value, bool def);
// True exactly when the stored text, upper-cased, is "YES"; a missing key gives def.
bool IniReadBool(rtl::TCustomIniFile &ini, const UnicodeString &section, const UnicodeString &key,
                 bool def);
// value in pieces of 500 characters under key_0, key_1 ...; an empty value writes nothing.
void IniWriteLongString(rtl::TCustomIniFile &ini, const UnicodeString &section,
                        const UnicodeString &key, const UnicodeString &value);
// key_0, key_1 ... concatenated up to the first missing or empty piece.
UnicodeString IniReadLongString(rtl::TCustomIniFile &ini, const UnicodeString &section,
                                const UnicodeString &key);
// "B", "I", "U", "S" for bold, italic, underline, strike-out, in this order.
UnicodeString FontStylesToStr(gfx::TFontStyles style);
// The style of such letters, in either case; other characters are ignored.
gfx::TFontStyles StrToFontStyles(const UnicodeString &text);
// "name,height,styles,pitch,colour,charset"; the colour by its name when it has one, else as
// "$" and eight hexadecimal digits.
UnicodeString FontToIniStr(const gfx::TFont &font);
// Sets the font from such text field by field; missing trailing fields leave the font's
// values. EViziVoduError "Invalid font text" for a field that does not parse.
void IniStrToFont(const UnicodeString &text, gfx::TFont &font);
// Format(fs, [key]) for the one "%s" of a key format.
UnicodeString IniKey(const UnicodeString &fs, const UnicodeString &key);

} // namespace vizivodu
