// The CSS halves of text styles and of the style sheet: a text style's declarations, lengths as
// CSS, and the whole sheet as a CSS style sheet.
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/html/VDHTMLListCSSList.h"
#include "vizivodu/formats/html/VDStyle_CSS_p.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/StrUtils.h"

#include <cstdlib>

namespace vizivodu {

void WriteCSSText(rtl::TStream &stream, std::string_view s) {
    if (!s.empty()) {
        stream.WriteBuffer(s.data(), static_cast<int32_t>(s.size()));
    }
}

void WriteCSSLine(rtl::TStream &stream, std::string_view s) {
    WriteCSSText(stream, s);
    WriteCSSText(stream, "\r\n");
}

void WriteCSSProperty(rtl::TStream &stream, std::string_view s, bool multiline) {
    WriteCSSText(stream, s);
    if (multiline) {
        WriteCSSText(stream, "\r\n");
    }
}

AnsiString CSSSize(const TVDStyle *vdStyle, TVDStyleLength value) {
    return vdStyle ? vdStyle->GetCSSSize(value) : std::to_string(value) + "px";
}

AnsiString TVDStyle::GetCSSSize(TVDStyleLength value) const {
    if (GetUnits() == vdstuTwips) {
        return GetCSSSizeInPoints(value);
    }
    return std::to_string(GetAsPixels(value)) + "px";
}

AnsiString TVDStyle::GetCSSSizeInPoints(TVDStyleLength value) const {
    return FloatToPointsStr(GetAsPoints(value));
}

namespace {

bool IsScript(const TCustomVDFontInfo &style) {
    return style.GetSubSuperScriptType() != vdsssNormal;
}

AnsiString FontSizeValue(const TCustomVDFontInfo &style) {
    const bool script = IsScript(style);
    const int32_t scriptSize = GetSubSuperScriptSize(style.GetSize());
    if (style.GetSizeDouble() > 0) {
        return FloatToPointsStr(script ? scriptSize : style.GetSizeDouble() / 2.0L);
    }
    const int64_t ppi = GetScreenPixelsPerInchY();
    const int64_t pixels = script ? RoundQuotient(-int64_t(scriptSize) * ppi, 72)
                                  : RoundQuotient(-int64_t(style.GetSizeDouble()) * ppi, 144);
    return std::to_string(pixels) + "px";
}

AnsiString FontFamilyValue(const UnicodeString &name) {
    struct TRow {
        std::u16string_view Font;
        const char *Family;
    };
    static constexpr TRow kFamilies[] = {
        {u"Arial", "'Arial', 'Helvetica', sans-serif"},
        {u"Trebuchet MS", "'Trebuchet MS', 'Helvetica', sans-serif"},
        {u"Times New Roman", "'Times New Roman', 'Times', serif"},
        {u"Verdana", "'Verdana', 'Geneva', sans-serif"},
        {u"Tahoma", "'Tahoma', 'Geneva', sans-serif"},
        {u"MS Sans Serif", "'MS Sans Serif', 'Geneva', sans-serif"},
        {u"Arial Black", "'Arial Black', 'Gadget', sans-serif"},
        {u"MS Serif", "'MS Serif', 'New York', serif"},
        {u"Book Antiqua", "'Book Antiqua', 'Palatino', serif"},
        {u"Palatino Linotype", "'Palatino Linotype', 'Palatino', serif"},
        {u"Georgia", "'Georgia', serif"},
        {u"Lucida Console", "'Lucida Console', 'Monaco', monospace"},
        {u"Courier New", "'Courier New', 'Courier', monospace"},
        {u"Comic Sans MS", "'Comic Sans MS', cursive"},
        {u"Impact", "'Impact', 'Charcoal', fantasy"},
        {u"Arial Unicode MS", "'Arial Unicode MS', 'Arial', 'Helvetica', sans-serif"}};
    if (rtl::SameText(name, u"Symbol") || rtl::SameText(name, u"Wingdings")) {
        return "'Arial Unicode MS', 'Lucida Sans Unicode', 'Arial', 'Helvetica', sans-serif";
    }
    for (const TRow &row : kFamilies) {
        if (rtl::SameText(name, UnicodeString(row.Font))) {
            return row.Family;
        }
    }
    return {};
}

const char *DirectionValue(TVDBiDiMode mode) {
    return mode == vdbdLeftToRight ? "ltr" : mode == vdbdRightToLeft ? "rtl" : "inherit";
}

AnsiString VerticalAlignValue(const TCustomVDFontInfo &style) {
    if (style.GetSubSuperScriptType() == vdsssSubscript) {
        return "sub";
    }
    if (style.GetSubSuperScriptType() == vdsssSuperScript) {
        return "super";
    }
    return style.GetVShift() > 0 ? "super" : style.GetVShift() < 0 ? "sub" : "";
}

bool Underlined(const TCustomVDFontInfo &style, bool hover) {
    return style.GetStyle().Contains(gfx::fsUnderline) ||
           (hover && style.GetHoverEffects().Contains(vdheUnderline));
}

bool PlainUnderline(const TCustomVDFontInfo &style) {
    return style.GetUnderlineType() == vdutNormal && style.GetUnderlineColor() == gfx::clNone &&
           style.GetHoverUnderlineColor() == gfx::clNone;
}

} // namespace

AnsiString TextDecorationCSS(const TCustomVDFontInfo &style, bool hover) {
    AnsiString s;
    if (Underlined(style, hover) && PlainUnderline(style)) {
        AppendWithSpaceAnsi(s, "underline");
    }
    if (style.GetStyle().Contains(gfx::fsStrikeOut)) {
        AppendWithSpaceAnsi(s, "line-through");
    }
    if (style.GetStyleEx().Contains(vdfsOverline)) {
        AppendWithSpaceAnsi(s, "overline");
    }
    return s.empty() ? AnsiString("none") : s;
}

AnsiString UnderlineBorderCSS(const TCustomVDFontInfo &style, bool hover) {
    if (!Underlined(style, hover) || PlainUnderline(style)) {
        return {};
    }
    const int32_t width = GetUnderlineThickness(style.GetSize());
    auto px = [](int32_t w) { return std::to_string(w) + "px"; };
    AnsiString s;
    switch (style.GetUnderlineType()) {
    case vdutNormal:
        s = "solid " + px(width);
        break;
    case vdutThick:
        s = "solid " + px(2 * width);
        break;
    case vdutDouble:
        s = "double";
        break;
    case vdutDotted:
        s = "dotted " + px(width);
        break;
    case vdutThickDotted:
        s = "dotted " + px(2 * width);
        break;
    case vdutDashed:
    case vdutLongDashed:
    case vdutDashDotted:
    case vdutDashDotDotted:
        s = "dashed " + px(width);
        break;
    default:
        s = "dashed " + px(2 * width);
        break;
    }
    TColor color = style.GetUnderlineColor();
    if (hover && style.GetHoverUnderlineColor() != gfx::clNone) {
        color = style.GetHoverUnderlineColor();
    }
    if (color != gfx::clNone) {
        s += " " + ColorToHTMLStrAnsi(color, false);
    }
    return "border-bottom: " + s;
}

void TCustomVDFontInfo::SaveCSSToStream(rtl::TStream &stream, const TCustomVDFontInfo *baseStyle,
                                        bool multiline, bool utf8, bool jump) const {
    const TCustomVDFontInfo *b = baseStyle;
    const TVDStyle *sheet = GetVDStyle();
    auto put = [&](const AnsiString &s) { WriteCSSProperty(stream, s, multiline); };
    if (!b || FontSizeValue(*this) != FontSizeValue(*b)) {
        put(" font-size: " + FontSizeValue(*this) + ";");
    }
    const bool hidden = GetOptions().Contains(vdteoHidden);
    if (hidden && (!b || !b->GetOptions().Contains(vdteoHidden))) {
        put(" display: none;");
    }
    if ((!b && GetBiDiMode() != vdbdUnspecified) || (b && GetBiDiMode() != b->GetBiDiMode())) {
        put(AnsiString(" direction: ") + DirectionValue(GetBiDiMode()) + ";");
    }
    if (!b || !rtl::SameText(GetFontName(), b->GetFontName())) {
        AnsiString family = FontFamilyValue(GetFontName());
        if (family.empty()) {
            // A quote or backslash in the name must not end the CSS string.
            UnicodeString name = GetFontName();
            ReplaceAllUnicodeForward(name, u"\\", u"\\\\");
            ReplaceAllUnicodeForward(name, u"'", u"\\'");
            family =
                UnicodeToUTF8OrAnsi(u"'" + name + u"'", utf8, sheet ? sheet->GetDefCodePage() : 0);
        }
        put(" font-family: " + family + ";");
    }
    const gfx::TFontStyles fs = GetStyle();
    if (!b || fs.Contains(gfx::fsItalic) != b->GetStyle().Contains(gfx::fsItalic)) {
        put(std::string(" font-style: ")
                .append(fs.Contains(gfx::fsItalic) ? "italic;" : "normal;"));
    }
    if (!b || fs.Contains(gfx::fsBold) != b->GetStyle().Contains(gfx::fsBold)) {
        put(std::string(" font-weight: ").append(fs.Contains(gfx::fsBold) ? "bold;" : "normal;"));
    }
    if (!b || GetColor() != b->GetColor()) {
        put(" color: " + ColorToHTMLStrAnsi(GetColor(), false) + ";");
    }
    if ((!b && GetCharSpacing() != 0) || (b && GetCharSpacing() != b->GetCharSpacing())) {
        put(" letter-spacing: " + CSSSize(sheet, GetCharSpacing()) + ";");
    }
    const bool caps = GetStyleEx().Contains(vdfsAllCaps);
    const bool baseCaps = b && b->GetStyleEx().Contains(vdfsAllCaps);
    if (caps && !baseCaps) {
        put(" text-transform: uppercase;");
    } else if (!caps && baseCaps) {
        put(" text-transform: none;");
    }
    if ((!b && (GetBackColor() != gfx::clNone || !multiline)) ||
        (b && GetBackColor() != b->GetBackColor())) {
        put(" background-color: " + ColorToCSS(GetBackColor()) + ";");
    }
    const AnsiString vAlign = VerticalAlignValue(*this);
    if ((!b && !vAlign.empty()) || (b && vAlign != VerticalAlignValue(*b))) {
        put(" vertical-align: " + (vAlign.empty() ? AnsiString("baseline") : vAlign) + ";");
    }
    const AnsiString decoration = TextDecorationCSS(*this, false);
    if (!b || decoration != TextDecorationCSS(*b, false) || (jump && decoration == "none")) {
        put(" text-decoration: " + decoration + ";");
    }
    const AnsiString border = UnderlineBorderCSS(*this, false);
    if (!border.empty() && (!b || border != UnderlineBorderCSS(*b, false))) {
        put(" " + border + ";");
    }
}

} // namespace vizivodu
