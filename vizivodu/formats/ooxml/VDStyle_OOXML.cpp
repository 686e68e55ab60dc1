// The WordprocessingML halves of text and paragraph styles: run properties and paragraph
// properties.
#include "vizivodu/formats/common/VDFuncs_OOXML.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include <cstdlib>

namespace vizivodu {

namespace {

constexpr const char *kUnderlineShapes[] = {
    "single",       "thick",       "double",         "dotted",        "dottedHeavy",
    "dash",         "dashedHeavy", "dashLong",       "dashLongHeavy", "dotDash",
    "dashDotHeavy", "dotDotDash",  "dashDotDotHeavy"};

AnsiString Quoted(const AnsiString &s) {
    return "\"" + s + "\"";
}

AnsiString UnderlineElement(const TCustomVDFontInfo &style, TVDFontInfoProperties properties) {
    const AnsiString color = " w:color=" + Quoted(ColorToOOXMLStr(style.GetUnderlineColor(), true));
    if (properties.Contains(vdfiUnderline)) {
        if (!style.GetStyle().Contains(gfx::fsUnderline)) {
            return "<w:u w:val=\"none\"/>";
        }
        return "<w:u w:val=" + Quoted(kUnderlineShapes[style.GetUnderlineType()]) +
               (properties.Contains(vdfiUnderlineColor) ? color : AnsiString()) + "/>";
    }
    return properties.Contains(vdfiUnderlineColor) ? "<w:u" + color + "/>" : AnsiString();
}

} // namespace

AnsiString TCustomVDFontInfo::GetOOXMLStr(const TVDStyle &,
                                          TVDFontInfoProperties properties) const {
    AnsiString s;
    if (properties.Contains(vdfiFontName)) {
        // An attribute value: a double quote in a face name must not end it.
        const AnsiString name = Quoted(MakeOOXMLAttrStr(GetFontName()));
        s += "<w:rFonts w:ascii=" + name + " w:hAnsi=" + name + "/>";
    }
    if (properties.Contains(vdfiBold)) {
        s += GetOOXMLBoolProp("b", GetStyle().Contains(gfx::fsBold));
    }
    if (properties.Contains(vdfiItalic)) {
        s += GetOOXMLBoolProp("i", GetStyle().Contains(gfx::fsItalic));
    }
    if (properties.Contains(vdfiStrikeout)) {
        s += GetOOXMLBoolProp("strike", GetStyle().Contains(gfx::fsStrikeOut));
    }
    s += UnderlineElement(*this, properties);
    if (properties.Contains(vdfiAllCaps)) {
        s += GetOOXMLBoolProp("caps", GetStyleEx().Contains(vdfsAllCaps));
    }
    if (properties.Contains(vdfiSubSuperScriptType)) {
        static constexpr const char *kVertAlign[] = {"baseline", "subscript", "superscript"};
        s += GetOOXMLStrProp("vertAlign", kVertAlign[GetSubSuperScriptType()]);
    }
    const int32_t size = std::abs(GetSizeDouble());
    if (properties.Contains(vdfiSize)) {
        s += GetOOXMLIntProp("sz", size);
    }
    if (properties.Contains(vdfiCharScale)) {
        s += GetOOXMLIntProp("w", GetCharScale());
    }
    if (properties.Contains(vdfiCharSpacing)) {
        s += GetOOXMLIntProp("spacing", GetCharSpacing());
    }
    if (properties.Contains(vdfiVShift)) {
        s += GetOOXMLIntProp("position",
                             static_cast<int32_t>(RoundQuotient(int64_t(size) * GetVShift(), 100)));
    }
    if (properties.Contains(vdfiColor)) {
        s += GetOOXMLColorProp("color", GetColor());
    }
    if (properties.Contains(vdfiBackColor)) {
        s += "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=" +
             Quoted(ColorToOOXMLStr(GetBackColor(), true)) + "/>";
    }
    if (properties.Contains(vdfiBiDiMode)) {
        s += GetOOXMLBoolProp("rtl", GetBiDiMode() == vdbdRightToLeft);
    }
    return s;
}

} // namespace vizivodu
