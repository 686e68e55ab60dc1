// The legacy HTML font markup of text styles and list-marker fonts, and the CSS of a marker font.
#include "vizivodu/formats/common/VDFuncs_HTML.h"

#include "vizivodu/styles/VDStyle_Text.h"

#include "platform/gfx/Font.h"
#include "platform/rtl/StrUtils.h"

namespace vizivodu {

namespace {

// What the font markup compares, from a text style or from a marker font.
struct TFontLook {
    int32_t Size = 0;
    TColor Color = gfx::clWindowText;
    UnicodeString Name;
    gfx::TFontStyles Style;
    // 0 none, 1 subscript, 2 superscript.
    int32_t Script = 0;
};

TFontLook LookOf(const TCustomVDFontInfo &style) {
    TFontLook look{style.GetSize(), style.GetColor(), style.GetFontName(), style.GetStyle(), 0};
    switch (style.GetSubSuperScriptType()) {
    case vdsssSubscript:
        look.Script = 1;
        break;
    case vdsssSuperScript:
        look.Script = 2;
        break;
    default:
        look.Script = style.GetVShift() < 0 ? 1 : style.GetVShift() > 0 ? 2 : 0;
        break;
    }
    return look;
}

TFontLook LookOf(const gfx::TFont &font) {
    return {font.GetSize(), font.GetColor(), font.GetName(), font.GetStyle(), 0};
}

constexpr gfx::TFontStyle kStyleOrder[] = {gfx::fsBold, gfx::fsItalic, gfx::fsUnderline,
                                           gfx::fsStrikeOut};
constexpr const char *kStyleTag[] = {"b", "i", "u", "s"};

struct TFontDifferences {
    bool Size, Color, Face;
    bool Any() const { return Size || Color || Face; }
};

TFontDifferences Differences(const TFontLook &look, const TFontLook *base, bool withFace) {
    if (!base) {
        return {true, true, withFace};
    }
    return {look.Size != base->Size, look.Color != base->Color,
            withFace && !rtl::SameText(look.Name, base->Name)};
}

UnicodeString OpenTags(const TFontLook &look, const TFontLook *base, bool onlyDifferences,
                       bool withFace, TVDSaveOptions saveOptions) {
    const TFontDifferences d = onlyDifferences ? Differences(look, base, withFace)
                                               : TFontDifferences{true, true, withFace};
    UnicodeString attrs;
    if (d.Size) {
        attrs += u" size=" + IntToHTMLAttrValueW(FontSizeToHTMLSize(look.Size), saveOptions);
    }
    if (d.Color) {
        attrs += u" color=" + ColorToHTMLStr(look.Color, true);
    }
    if (d.Face) {
        attrs += u" face=\"" + look.Name + u"\"";
    }
    UnicodeString s = attrs.empty() ? UnicodeString() : u"<font" + attrs + u">";
    const gfx::TFontStyles baseStyle = onlyDifferences && base ? base->Style : gfx::TFontStyles();
    if (onlyDifferences) {
        for (int i = 3; i >= 0; --i) {
            if (baseStyle.Contains(kStyleOrder[i]) && !look.Style.Contains(kStyleOrder[i])) {
                s += u"</" + rtl::Utf8ToUtf16(kStyleTag[i]) + u">";
            }
        }
    }
    for (int i = 0; i < 4; ++i) {
        if (look.Style.Contains(kStyleOrder[i]) && !baseStyle.Contains(kStyleOrder[i])) {
            s += u"<" + rtl::Utf8ToUtf16(kStyleTag[i]) + u">";
        }
    }
    if (look.Script != 0) {
        s += look.Script == 1 ? u"<sub>" : u"<sup>";
    }
    return s;
}

AnsiString CloseTags(const TFontLook &look, const TFontLook *base, bool onlyDifferences,
                     bool withFace) {
    AnsiString s;
    if (look.Script != 0) {
        s += look.Script == 1 ? "</sub>" : "</sup>";
    }
    const gfx::TFontStyles baseStyle = onlyDifferences && base ? base->Style : gfx::TFontStyles();
    for (int i = 3; i >= 0; --i) {
        if (look.Style.Contains(kStyleOrder[i]) && !baseStyle.Contains(kStyleOrder[i])) {
            s += "</" + AnsiString(kStyleTag[i]) + ">";
        }
    }
    if (onlyDifferences) {
        for (int i = 0; i < 4; ++i) {
            if (baseStyle.Contains(kStyleOrder[i]) && !look.Style.Contains(kStyleOrder[i])) {
                s += "<" + AnsiString(kStyleTag[i]) + ">";
            }
        }
    }
    if (!onlyDifferences || Differences(look, base, withFace).Any()) {
        s += "</font>";
    }
    return s;
}

} // namespace

UnicodeString GetHTMLOpenFontTags(const TCustomVDFontInfo &style,
                                  const TCustomVDFontInfo *baseStyle, bool onlyDifferences,
                                  TVDSaveOptions saveOptions) {
    const TFontLook look = LookOf(style);
    const TFontLook base = baseStyle ? LookOf(*baseStyle) : TFontLook();
    return OpenTags(look, baseStyle ? &base : nullptr, onlyDifferences, true, saveOptions);
}

AnsiString GetHTMLCloseFontTags(const TCustomVDFontInfo &style, const TCustomVDFontInfo *baseStyle,
                                bool onlyDifferences) {
    const TFontLook look = LookOf(style);
    const TFontLook base = baseStyle ? LookOf(*baseStyle) : TFontLook();
    return CloseTags(look, baseStyle ? &base : nullptr, onlyDifferences, true);
}

UnicodeString GetHTMLOpenMarkerFontTags(const gfx::TFont &markerFont,
                                        const TCustomVDFontInfo &textStyle, bool withFace,
                                        TVDSaveOptions saveOptions) {
    TFontLook base = LookOf(textStyle);
    base.Script = 0;
    return OpenTags(LookOf(markerFont), &base, true, withFace, saveOptions);
}

AnsiString GetHTMLCloseMarkerFontTags(const gfx::TFont &markerFont,
                                      const TCustomVDFontInfo &textStyle, bool withFace) {
    TFontLook base = LookOf(textStyle);
    base.Script = 0;
    return CloseTags(LookOf(markerFont), &base, true, withFace);
}

UnicodeString GetMarkerFontCSS(const gfx::TFont &markerFont, bool withFamily) {
    UnicodeString s;
    if (markerFont.GetStyle().Contains(gfx::fsBold)) {
        AppendWithSpace(s, u"font-weight: bold;");
    }
    if (markerFont.GetStyle().Contains(gfx::fsItalic)) {
        AppendWithSpace(s, u"font-style: italic;");
    }
    if (markerFont.GetSize() < 1) {
        AppendWithSpace(s, u"font-size: " + rtl::IntToStr(markerFont.GetHeight()) + u"px;");
    } else {
        AppendWithSpace(s, u"font-size: " + rtl::IntToStr(markerFont.GetSize()) + u"pt;");
    }
    if (withFamily) {
        const UnicodeString &name = markerFont.GetName();
        const bool symbol = rtl::SameText(name, u"Symbol") || rtl::SameText(name, u"Wingdings");
        AppendWithSpace(s, u"font-family: " +
                               (symbol ? UnicodeString(u"'Arial Unicode MS', 'Lucida Sans "
                                                       u"Unicode', 'Arial'")
                                       : u"'" + name + u"'") +
                               u";");
    }
    UnicodeString decoration;
    if (markerFont.GetStyle().Contains(gfx::fsUnderline)) {
        AppendWithSpace(decoration, u"underline");
    }
    if (markerFont.GetStyle().Contains(gfx::fsStrikeOut)) {
        AppendWithSpace(decoration, u"line-through");
    }
    if (!decoration.empty()) {
        AppendWithSpace(s, u"text-decoration: " + decoration + u";");
    }
    AppendWithSpace(s, u"color: " + ColorToHTMLStr(markerFont.GetColor(), false) + u";");
    return s;
}

} // namespace vizivodu
