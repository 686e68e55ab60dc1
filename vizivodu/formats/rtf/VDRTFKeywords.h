// The RTF keyword table: what each control word and control symbol is (a character, a wide
// character, a destination, a property or a special control) and its handler index.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vizivodu {

enum TVDRTFKeywordType : uint8_t {
    rtf_kwd_Char,
    rtf_kwd_WideChar,
    rtf_kwd_Dest,
    rtf_kwd_Prop,
    rtf_kwd_Spec
};
enum TVDRTFKeywordAffect : uint8_t {
    rtf_af_None,
    rtf_af_CharProp,
    rtf_af_ParaProp,
    rtf_af_BothProp
};

struct TVDRTFsymbol {
    const char *Keyword; // case-sensitive, without the backslash
    int32_t DefValue;    // without a parameter, or always with UseDef; a wide character's code
    bool UseDef;
    TVDRTFKeywordType Kwd;
    uint8_t Idx; // the handler index within the kind; a wide character's fallback byte
    TVDRTFKeywordAffect AffectTo;
};

// The table sorted by keyword bytes.
std::span<const TVDRTFsymbol> RTFKeywordTable();
// nullptr when the keyword is not in the table.
const TVDRTFsymbol *FindRTFKeyword(std::string_view keyword);

} // namespace vizivodu
