// The WordprocessingML paragraph properties of a paragraph style: alignment, outline level,
// options, indents, spacing, shading, borders and tab stops.
#include "vizivodu/formats/common/VDFuncs_OOXML.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Para.h"

#include "platform/rtl/Rounding.h"

namespace vizivodu {

namespace {

AnsiString Attr(const char *name, int32_t value) {
    return AnsiString(" w:") + name + "=\"" + std::to_string(value) + "\"";
}

AnsiString OptionElements(const TCustomVDParaInfo &para, TVDParaInfoProperties p) {
    AnsiString s;
    const TVDParaOptions options = para.GetOptions();
    if (p.Contains(vdpiKeepLinesTogether)) {
        s += GetOOXMLBoolProp("keepLines", options.Contains(vdpaoKeepLinesTogether));
    }
    if (p.Contains(vdpiKeepWithNext)) {
        s += GetOOXMLBoolProp("keepNext", options.Contains(vdpaoKeepWithNext));
    }
    if (p.Contains(vdpiWidowOrphanControl)) {
        s += GetOOXMLBoolProp("widowControl", options.Contains(vdpaoWidowOrphanControl));
    }
    if (p.Contains(vdpiNoWrap)) {
        s += GetOOXMLBoolProp("wordWrap", !options.Contains(vdpaoNoWrap));
    }
    return s;
}

AnsiString IndentElement(const TCustomVDParaInfo &para, TVDParaInfoProperties p,
                         const TVDStyle &vdStyle) {
    if (!p.Contains(vdpiLeftIndent) && !p.Contains(vdpiRightIndent) &&
        !p.Contains(vdpiFirstIndent)) {
        return {};
    }
    AnsiString s = "<w:ind";
    if (p.Contains(vdpiLeftIndent)) {
        s += Attr("left", vdStyle.GetAsTwips(para.GetLeftIndent()));
    }
    if (p.Contains(vdpiRightIndent)) {
        s += Attr("right", vdStyle.GetAsTwips(para.GetRightIndent()));
    }
    if (p.Contains(vdpiFirstIndent)) {
        const int32_t first = vdStyle.GetAsTwips(para.GetFirstIndent());
        s += first < 0 ? Attr("hanging", -first) : Attr("firstLine", first);
    }
    return s + "/>";
}

AnsiString SpacingElement(const TCustomVDParaInfo &para, TVDParaInfoProperties p,
                          const TVDStyle &vdStyle) {
    const bool line = p.Contains(vdpiLineSpacing) || p.Contains(vdpiLineSpacingType);
    if (!line && !p.Contains(vdpiSpaceBefore) && !p.Contains(vdpiSpaceAfter)) {
        return {};
    }
    AnsiString s = "<w:spacing";
    if (p.Contains(vdpiSpaceBefore)) {
        s += Attr("before", vdStyle.GetAsTwips(para.GetSpaceBefore()));
    }
    if (p.Contains(vdpiSpaceAfter)) {
        s += Attr("after", vdStyle.GetAsTwips(para.GetSpaceAfter()));
    }
    if (line) {
        switch (para.GetLineSpacingType()) {
        case vdlsPercent:
            s += " w:lineRule=\"auto\"" + Attr("line", para.GetLineSpacing() * 240 / 100);
            break;
        case vdlsLineHeightAtLeast:
            s +=
                " w:lineRule=\"atLeast\"" + Attr("line", vdStyle.GetAsTwips(para.GetLineSpacing()));
            break;
        case vdlsLineHeightExact:
            s += " w:lineRule=\"exact\"" + Attr("line", vdStyle.GetAsTwips(para.GetLineSpacing()));
            break;
        default:
            break;
        }
    }
    return s + "/>";
}

AnsiString BorderValue(const TVDBorder &border, bool visible, bool topOrLeft) {
    if (!visible || border.Style == vdbNone) {
        return "none";
    }
    switch (border.Style) {
    case vdbSingle:
        return "single";
    case vdbDouble:
        return "double";
    case vdbTriple:
        return "triple";
    case vdbThickInside:
        return topOrLeft ? "thickThinSmallGap" : "thinThickSmallGap";
    default:
        return topOrLeft ? "thinThickSmallGap" : "thickThinSmallGap";
    }
}

AnsiString BorderElements(const TVDBorder &border, TVDParaInfoProperties p,
                          const TVDStyle &vdStyle) {
    struct TSide {
        const char *Name;
        TVDParaInfoProperty Offset;
        TVDStyleLength TVDRect::*Field;
        bool TVDBooleanRect::*Visible;
        bool TopOrLeft;
    };
    static constexpr TSide kSides[] = {
        {"top", vdpiBorder_BO_Top, &TVDRect::Top, &TVDBooleanRect::Top, true},
        {"left", vdpiBorder_BO_Left, &TVDRect::Left, &TVDBooleanRect::Left, true},
        {"bottom", vdpiBorder_BO_Bottom, &TVDRect::Bottom, &TVDBooleanRect::Bottom, false},
        {"right", vdpiBorder_BO_Right, &TVDRect::Right, &TVDBooleanRect::Right, false}};
    const bool thick = border.Style == vdbThickInside || border.Style == vdbThickOutside;
    const bool any = p.Contains(vdpiBorder_Style) || p.Contains(vdpiBorder_Width) ||
                     p.Contains(vdpiBorder_Color);
    AnsiString s;
    for (const TSide &side : kSides) {
        if (!any && !p.Contains(side.Offset)) {
            continue;
        }
        s += AnsiString("<w:") + side.Name + " w:val=\"" +
             BorderValue(border, border.VisibleBorders.*side.Visible, side.TopOrLeft) + "\"";
        if (p.Contains(vdpiBorder_Width)) {
            const int32_t twips = vdStyle.GetAsTwips(border.Width) * (thick ? 2 : 1);
            s += Attr("sz", static_cast<int32_t>(rtl::Round(twips * 8 / 20.0L)));
        }
        if (p.Contains(side.Offset)) {
            s += Attr("space", vdStyle.GetAsTwips(border.GetBorderOffsets().*side.Field) / 20);
        }
        if (p.Contains(vdpiBorder_Color)) {
            s += " w:color=\"" + ColorToOOXMLStr(border.Color, true) + "\"";
        }
        s += "/>";
    }
    return s.empty() ? s : "<w:pBdr>" + s + "</w:pBdr>";
}

AnsiString TabEntry(const TVDTabInfo &tab, bool clear, const TVDStyle &vdStyle) {
    const AnsiString pos = Attr("pos", vdStyle.GetAsTwips(tab.GetPosition()));
    if (clear) {
        return "<w:tab w:val=\"clear\"" + pos + "/>";
    }
    static constexpr const char *kAlign[] = {"left", "right", "center"};
    AnsiString s = AnsiString("<w:tab w:val=\"") + kAlign[tab.GetAlign()] + "\"" + pos;
    if (!tab.GetLeader().empty()) {
        const char *leader = "dot";
        switch (tab.GetLeader()[0]) {
        case u'-':
            leader = "hyphen";
            break;
        case u'=':
            leader = "heavy";
            break;
        case u'_':
            leader = "underscore";
            break;
        case u'\u00B7':
            leader = "middleDot";
            break;
        default:
            break;
        }
        s += AnsiString(" w:leader=\"") + leader + "\"";
    }
    return s + "/>";
}

AnsiString TabElements(const TVDTabInfos &own, TVDStyleLength minAllowedTabPos,
                       const TVDTabInfos *parentTabs, const TVDStyle &vdStyle) {
    TVDTabInfos merged;
    if (parentTabs) {
        merged.Assign(*parentTabs);
        merged.AddFrom(own);
    }
    const TVDTabInfos &tabs = parentTabs ? merged : own;
    AnsiString s;
    for (rtl::Integer i = 0; i < tabs.GetCount(); ++i) {
        const TVDTabInfo &tab = tabs.GetItem(i);
        const bool clear = tab.GetPosition() <= minAllowedTabPos ||
                           (parentTabs && own.Find(tab.GetPosition()) < 0);
        s += TabEntry(tab, clear, vdStyle);
    }
    return s.empty() ? s : "<w:tabs>" + s + "</w:tabs>";
}

} // namespace

AnsiString TCustomVDParaInfo::GetOOXMLStr(const TVDStyle &vdStyle, TVDStyleLength minAllowedTabPos,
                                          const TVDTabInfos *parentTabs,
                                          TVDParaInfoProperties properties) const {
    const TVDParaInfoProperties p = properties;
    AnsiString s;
    if (p.Contains(vdpiAlignment)) {
        static constexpr const char *kJc[] = {"left", "right", "center", "both", "distribute"};
        s += GetOOXMLStrProp("jc", kJc[GetAlignment()]);
    }
    if (p.Contains(vdpiOutlineLevel) && IsHeading(9)) {
        s += GetOOXMLIntProp("outlineLvl", GetOutlineLevel() - 1);
    }
    s += OptionElements(*this, p);
    s += IndentElement(*this, p, vdStyle);
    if (p.Contains(vdpiBiDiMode)) {
        s += GetOOXMLBoolProp("bidi", GetBiDiMode() == vdbdRightToLeft);
    }
    s += SpacingElement(*this, p, vdStyle);
    if (p.Contains(vdpiBackground_Color)) {
        s += "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"" +
             ColorToOOXMLStr(GetBackground().Color, true) + "\"/>";
    }
    s += BorderElements(GetBorder(), p, vdStyle);
    if (p.Contains(vdpiTabs)) {
        s += TabElements(GetTabs(), minAllowedTabPos, parentTabs, vdStyle);
    }
    return s;
}

} // namespace vizivodu
