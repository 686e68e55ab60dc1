// The HTML halves of list styles: the list elements of a level, their CSS, and the CSS rules of
// the list styles collected once per document.
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/html/VDHTMLListCSSList.h"
#include "vizivodu/formats/html/VDStyle_CSS_p.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Lists.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <initializer_list>

namespace vizivodu {

int32_t TVDHTMLListCSSList::Find(std::string_view text) const {
    const auto it = std::find(FItems.begin(), FItems.end(), text);
    return it == FItems.end() ? -1 : static_cast<int32_t>(it - FItems.begin());
}

bool TVDHTMLListCSSList::Add(std::string_view text) {
    if (Find(text) >= 0) {
        return false;
    }
    FItems.emplace_back(text);
    return true;
}

namespace {

enum TBulletShape : uint8_t { bsNone, bsDisc, bsSquare, bsCircle };

bool In(char16_t ch, std::initializer_list<char16_t> set) {
    return std::find(set.begin(), set.end(), ch) != set.end();
}

TBulletShape ShapeOfSymbolByte(uint8_t b, bool wingdings) {
    if (!wingdings) {
        return b == 0xB7 ? bsDisc : bsNone;
    }
    if (In(b, {0x6C, 0xAD, 0xAE})) {
        return bsDisc;
    }
    if (In(b, {0x6E, 0xA7})) {
        return bsSquare;
    }
    return In(b, {0x6D, 0xA1, 0xA2, 0xA3, 0xA6}) ? bsCircle : bsNone;
}

TBulletShape ShapeOfChar(char16_t ch) {
    if (In(ch, {0x00B7, 0x2022, 0x2219, 0x25CF, 0x2B24, 0x2B2C, 0x2B2E})) {
        return bsDisc;
    }
    if (In(ch, {0x2B1B, 0x2B1D, 0x25A0, 0x25AA, 0x25AC, 0x25AE, 0x25FC, 0x25FE})) {
        return bsSquare;
    }
    if (In(ch, {0x006F, 0x004F, 0x0000, 0x25EF, 0x25E6, 0x25CB, 0x2B2D, 0x2B2F, 0x2B55, 0x2B58})) {
        return bsCircle;
    }
    return bsNone;
}

TBulletShape BulletShape(const TVDListLevel &level) {
    const UnicodeString &text = level.GetListType() == vdlstUnicodeBullet ? level.GetFormatStringW()
                                                                          : level.GetFormatString();
    if ((level.GetListType() != vdlstBullet && level.GetListType() != vdlstUnicodeBullet) ||
        text.size() != 1) {
        return bsNone;
    }
    // The font is made on first use; asking for it does not change what the level shows.
    const UnicodeString &fontName = const_cast<TVDListLevel &>(level).GetFont().GetName();
    const bool wingdings = rtl::SameText(fontName, u"Wingdings");
    if (wingdings || rtl::SameText(fontName, u"Symbol")) {
        const TVDAnsiString bytes = UnicodeRawToSymbolAnsi(StringToRawUnicode(text));
        return bytes.size() == 1 ? ShapeOfSymbolByte(static_cast<uint8_t>(bytes[0]), wingdings)
                                 : bsNone;
    }
    return ShapeOfChar(text[0]);
}

const char *ShapeName(TBulletShape shape) {
    static constexpr const char *kNames[] = {"", "disc", "square", "circle"};
    return kNames[shape];
}

AnsiString ListStyleType(const TVDListLevel &level) {
    const char *type = "";
    switch (level.GetListType()) {
    case vdlstBullet:
    case vdlstUnicodeBullet:
        type = ShapeName(BulletShape(level));
        break;
    case vdlstDecimal:
        type = "decimal";
        break;
    case vdlstLowerAlpha:
        type = "lower-alpha";
        break;
    case vdlstUpperAlpha:
        type = "upper-alpha";
        break;
    case vdlstLowerRoman:
        type = "lower-roman";
        break;
    case vdlstUpperRoman:
        type = "upper-roman";
        break;
    default:
        break;
    }
    return *type ? AnsiString(" list-style-type: ") + type + ";" : AnsiString();
}

AnsiString HTMLTypeAttribute(const TVDListLevel &level) {
    const char *type = "";
    switch (level.GetListType()) {
    case vdlstBullet:
    case vdlstUnicodeBullet:
        type = ShapeName(BulletShape(level));
        break;
    case vdlstLowerAlpha:
        type = "a";
        break;
    case vdlstUpperAlpha:
        type = "A";
        break;
    case vdlstLowerRoman:
        type = "i";
        break;
    case vdlstUpperRoman:
        type = "I";
        break;
    default:
        break;
    }
    return *type ? AnsiString("type=\"") + type + "\"" : AnsiString();
}

} // namespace

AnsiString TVDListLevel::GetHTMLOpenTagForCSS() const {
    return HasNumbering() ? "ol" : "ul";
}

AnsiString TVDListLevel::GetHTMLOpenCSS(const TVDStyle &vdStyle, TVDBiDiMode biDiMode) const {
    TVDStyleLength previous = 0;
    const rtl::Integer index = GetIndex();
    if (index > 0) {
        previous =
            static_cast<const TVDListLevel *>(GetCollection()->GetItem(index - 1))->GetLeftIndent();
    }
    AnsiString m = vdStyle.GetCSSSize(GetLeftIndent() - previous);
    AnsiString z = "0";
    if (biDiMode == vdbdRightToLeft) {
        std::swap(m, z);
    }
    const bool outside = GetMarkerIndent() < GetLeftIndent();
    const AnsiString indent =
        vdStyle.GetCSSSize(outside ? GetFirstIndent() : GetMarkerIndent() - GetLeftIndent());
    return "text-indent: " + indent + "; padding: 0; margin: 0 " + z + " 0 " + m +
           "; list-style-position: " + (outside ? "outside" : "inside") + ";" +
           ListStyleType(*this);
}

AnsiString TVDListLevel::GetIndentCSSForTextVersion(const TVDStyle &vdStyle,
                                                    TVDBiDiMode biDiMode) const {
    const TVDStyleLength v = GetMarkerIndent() - GetLeftIndent();
    const AnsiString side = biDiMode == vdbdRightToLeft ? "right" : "left";
    if (v < 0) {
        return "text-indent: " + vdStyle.GetCSSSize(v) + "; padding-" + side + ": " +
               vdStyle.GetCSSSize(GetLeftIndent() - GetMarkerIndent()) + "; margin-" + side + ": " +
               vdStyle.GetCSSSize(GetMarkerIndent()) + ";";
    }
    return "text-indent: " + vdStyle.GetCSSSize(v) + "; margin-" + side + ": " +
           vdStyle.GetCSSSize(GetLeftIndent()) + ";";
}

void TVDListLevel::HTMLOpenTag(rtl::TStream &stream, bool useCSS, const TVDStyle &vdStyle,
                               TVDSaveOptions saveOptions, const TVDHTMLListCSSList *listBullets,
                               TVDBiDiMode biDiMode) const {
    AnsiString attributes;
    if (useCSS) {
        const AnsiString css = GetHTMLOpenCSS(vdStyle, biDiMode);
        const int32_t k = listBullets ? listBullets->Find(css) : -1;
        attributes = k < 0 ? "style=\"" + css + "\""
                           : "class=" + QuoteHTMLAttrValue("list" + std::to_string(k), saveOptions);
    } else {
        attributes = HTMLTypeAttribute(*this);
    }
    WriteCSSText(stream,
                 "<" + GetHTMLOpenTagForCSS() + (attributes.empty() ? "" : " ") + attributes + ">");
}

void TVDListLevel::HTMLCloseTag(rtl::TStream &stream, bool) const {
    WriteCSSText(stream, "</" + GetHTMLOpenTagForCSS() + ">");
}

void TVDListInfo::SaveCSSToStream(rtl::TStream *stream, TVDHTMLListCSSList &bullets,
                                  TVDSaveCSSOptions saveOptions, int32_t &index,
                                  const AnsiString &title, TVDBiDiMode biDiMode) const {
    const TVDStyle *sheet = GetVDStyle();
    if (!sheet) {
        return;
    }
    const bool markersAsText = saveOptions.Contains(vdcssMarkersAsText);
    for (rtl::Integer i = 0; i < GetLevels().GetCount(); ++i) {
        const TVDListLevel &level = GetLevels().GetItem(i);
        AnsiString css;
        if (markersAsText) {
            if (!level.UsesFont()) {
                continue;
            }
            const gfx::TFont &font = const_cast<TVDListLevel &>(level).GetFont();
            css = UnicodeToUTF8OrAnsi(GetMarkerFontCSS(font, true), saveOptions.Contains(vdcssUTF8),
                                      sheet->GetDefCodePage());
            const TVDStyleLength w =
                level.GetLeftIndent() + level.GetFirstIndent() - level.GetMarkerIndent();
            if (w > 0) {
                css += " display: inline-block; text-indent: " + sheet->GetCSSSize(0) +
                       "; min-width: " + sheet->GetCSSSize(w) + ";";
            }
        } else {
            css = level.GetHTMLOpenCSS(*sheet, biDiMode);
        }
        if (bullets.Add(css) && stream) {
            if (index == 0) {
                WriteCSSLine(*stream, title);
            }
            WriteCSSLine(*stream, (markersAsText ? "span.bullet" : ".list") +
                                      std::to_string(index) + " {" + css + "}");
            ++index;
        }
    }
}

void TVDListInfos::SaveCSSToStream(rtl::TStream *stream, TVDHTMLListCSSList &bullets,
                                   TVDSaveCSSOptions saveOptions, const AnsiString &title) const {
    bullets.Clear();
    int32_t index = 0;
    for (rtl::Integer i = 0; i < GetCount(); ++i) {
        GetItem(i).SaveCSSToStream(stream, bullets, saveOptions, index, title, vdbdUnspecified);
    }
}

} // namespace vizivodu
