// The RTF halves of text and paragraph styles: their character and paragraph control words.
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include "platform/rtl/Classes.h"

#include <cstdlib>

namespace vizivodu {

namespace {

void WriteText(rtl::TStream &stream, const AnsiString &s) {
    if (!s.empty()) {
        stream.WriteBuffer(s.data(), static_cast<int32_t>(s.size()));
    }
}

AnsiString ColorWord(const char *word, TColor color, const TCustomVDRTFTables *rtfTables) {
    return rtfTables ? word + std::to_string(rtfTables->GetColorIndex(color)) : AnsiString();
}

constexpr const char *kUnderlineWords[] = {
    "ul",      "ulth",      "uldb",    "uld",       "ulthd",    "uldash",    "ulthdash",
    "ulldash", "ulthldash", "uldashd", "ulthdashd", "uldashdd", "ulthdashdd"};

AnsiString TextEffectWords(const TCustomVDFontInfo &style, const TCustomVDRTFTables *rtfTables) {
    AnsiString s;
    if (style.GetStyle().Contains(gfx::fsBold)) {
        s += "\\b";
    }
    if (style.GetStyle().Contains(gfx::fsItalic)) {
        s += "\\i";
    }
    if (style.GetStyle().Contains(gfx::fsUnderline)) {
        s += "\\" + AnsiString(kUnderlineWords[style.GetUnderlineType()]);
        if (style.GetUnderlineColor() != gfx::clNone) {
            s += ColorWord("\\ulc", style.GetUnderlineColor(), rtfTables);
        }
    }
    if (style.GetStyle().Contains(gfx::fsStrikeOut)) {
        s += "\\strike";
    }
    if (style.GetSubSuperScriptType() == vdsssSubscript) {
        s += "\\sub";
    } else if (style.GetSubSuperScriptType() == vdsssSuperScript) {
        s += "\\super";
    }
    if (style.GetVShift() != 0) {
        const int64_t shift = RoundQuotient(
            int64_t(std::abs(style.GetVShift())) * std::abs(style.GetSizeDouble()), 100);
        s += (style.GetVShift() > 0 ? "\\up" : "\\dn") + std::to_string(shift);
    }
    return s;
}

} // namespace

void TCustomVDFontInfo::SaveRTFToStream(rtl::TStream &stream, const TVDIntegerList *,
                                        TCustomVDRTFTables *rtfTables, const TVDStyle &vdStyle,
                                        bool inheritedStyle) const {
    AnsiString s = TextEffectWords(*this, rtfTables);
    if (GetCharScale() != 100) {
        s += "\\charscalex" + std::to_string(GetCharScale());
    }
    if (GetCharSpacing() != 0) {
        s += "\\expndtw" + std::to_string(vdStyle.GetAsTwips(GetCharSpacing()));
    }
    if (GetStyleEx().Contains(vdfsAllCaps)) {
        s += "\\caps";
    }
    if (GetBiDiMode() == vdbdLeftToRight) {
        s += "\\ltrch";
    } else if (GetBiDiMode() == vdbdRightToLeft) {
        s += "\\rtlch";
    }
    if (GetCharset() != 1 && CharsetToLanguage(GetCharset()) != 0) {
        s += "\\lang" + std::to_string(CharsetToLanguage(GetCharset()));
    }
    if (GetOptions().Contains(vdteoHidden)) {
        s += "\\v";
    }
    if (!inheritedStyle || GetSizeDouble() != 20) {
        s += "\\fs" + std::to_string(GetSizeDouble());
    }
    if (GetBackColor() != gfx::clNone) {
        s += ColorWord("\\chcbpat", GetBackColor(), rtfTables);
    }
    if (GetColor() != gfx::clWindowText) {
        s += ColorWord("\\cf", GetColor(), rtfTables);
    }
    WriteText(stream, s);
}

namespace {

AnsiString LineSpacingWords(const TCustomVDParaInfo &para, const TVDStyle &vdStyle) {
    switch (para.GetLineSpacingType()) {
    case vdlsPercent:
        if (para.GetLineSpacing() != 100) {
            return "\\sl" + std::to_string(para.GetLineSpacing() * 240 / 100) + "\\slmult1";
        }
        return {};
    case vdlsLineHeightAtLeast:
        return "\\sl" + std::to_string(vdStyle.GetAsTwips(para.GetLineSpacing())) + "\\slmult0";
    case vdlsLineHeightExact:
        return "\\sl" + std::to_string(-vdStyle.GetAsTwips(para.GetLineSpacing())) + "\\slmult0";
    default:
        return {};
    }
}

AnsiString TabWords(const TVDTabInfos &tabs, TVDStyleLength minAllowedTabPos,
                    const TVDStyle &vdStyle) {
    AnsiString s;
    for (rtl::Integer i = 0; i < tabs.GetCount(); ++i) {
        const TVDTabInfo &tab = tabs.GetItem(i);
        if (tab.GetPosition() <= minAllowedTabPos) {
            continue;
        }
        if (tab.GetAlign() == vdtaRight) {
            s += "\\tqr";
        } else if (tab.GetAlign() == vdtaCenter) {
            s += "\\tqc";
        }
        if (!tab.GetLeader().empty()) {
            switch (tab.GetLeader()[0]) {
            case u'-':
                s += "\\tlhyph";
                break;
            case u'=':
                s += "\\tleq";
                break;
            case u'_':
                s += "\\tlul";
                break;
            case u'\u00B7':
                s += "\\tlmdot";
                break;
            default:
                s += "\\tldot";
                break;
            }
        }
        s += "\\tx" + std::to_string(vdStyle.GetAsTwips(tab.GetPosition()));
    }
    return s;
}

bool HasVisibleBorder(const TVDBorder &border) {
    return border.Style != vdbNone && border.Color != gfx::clNone;
}

AnsiString BorderWords(const TVDBorder &border, const TCustomVDRTFTables *rtfTables,
                       const TVDStyle &vdStyle) {
    static constexpr const char *kKinds[] = {"", "s", "db", "triple", "thtnmg", "tnthmg"};
    AnsiString s1 = "\\brdr" + AnsiString(kKinds[border.Style]);
    AnsiString s2 = s1;
    if (border.Style == vdbThickInside) {
        s2 = "\\brdrtnthmg";
    } else if (border.Style == vdbThickOutside) {
        s2 = "\\brdrthtnmg";
    }
    const bool thick = border.Style == vdbThickInside || border.Style == vdbThickOutside;
    const AnsiString tail = ColorWord("\\brdrcf", border.Color, rtfTables) + "\\brdrw" +
                            std::to_string(vdStyle.GetAsTwips(border.Width) * (thick ? 2 : 1));
    s1 += tail;
    s2 += tail;
    const TVDRect &offsets = border.GetBorderOffsets();
    const TVDBooleanRect &visible = border.VisibleBorders;
    auto side = [&](bool on, const char *word, TVDStyleLength offset, const AnsiString &kind) {
        return on ? AnsiString(word) + "\\brsp" + std::to_string(vdStyle.GetAsTwips(offset)) + kind
                  : AnsiString();
    };
    return "\\brdrbtw" + side(visible.Left, "\\brdrl", offsets.Left, s1) +
           side(visible.Top, "\\brdrt", offsets.Top, s1) +
           side(visible.Right, "\\brdrr", offsets.Right, s2) +
           side(visible.Bottom, "\\brdrb", offsets.Bottom, s2);
}

} // namespace

void TCustomVDParaInfo::SaveRTFToStream(rtl::TStream &stream, TCustomVDRTFTables *rtfTables,
                                        TVDStyleLength minAllowedTabPos, const AnsiString &fILIText,
                                        const TVDStyle &vdStyle) const {
    AnsiString s;
    if (GetBiDiMode() == vdbdLeftToRight) {
        s += "\\ltrpar";
    } else if (GetBiDiMode() == vdbdRightToLeft) {
        s += "\\rtlpar";
    }
    s += LineSpacingWords(*this, vdStyle);
    if (GetOptions().Contains(vdpaoKeepLinesTogether)) {
        s += "\\keep";
    }
    if (GetOptions().Contains(vdpaoKeepWithNext)) {
        s += "\\keepn";
    }
    if (GetOptions().Contains(vdpaoWidowOrphanControl)) {
        s += "\\widctlpar";
    }
    s += !fILIText.empty() ? fILIText
                           : "\\fi" + std::to_string(vdStyle.GetAsTwips(GetFirstIndent())) +
                                 "\\li" + std::to_string(vdStyle.GetAsTwips(GetLeftIndent()));
    s += TabWords(GetTabs(), minAllowedTabPos, vdStyle);
    static constexpr const char *kAlignment[] = {"l", "r", "c", "j", "d"};
    s += "\\q" + AnsiString(kAlignment[GetAlignment()]) + "\\ri" +
         std::to_string(vdStyle.GetAsTwips(GetRightIndent()));
    if (IsHeading(9)) {
        s += "\\outlinelevel" + std::to_string(GetOutlineLevel() - 1);
    }
    if (GetBackground().Color != gfx::clNone) {
        s += ColorWord("\\cbpat", GetBackground().Color, rtfTables);
    }
    int32_t spaceBefore = vdStyle.GetAsTwips(GetSpaceBefore());
    int32_t spaceAfter = vdStyle.GetAsTwips(GetSpaceAfter());
    if (HasVisibleBorder(GetBorder())) {
        s += BorderWords(GetBorder(), rtfTables, vdStyle);
        const TVDRect &offsets = GetBorder().GetBorderOffsets();
        if (GetBorder().VisibleBorders.Top) {
            spaceBefore = ClampToNonNegative(spaceBefore - vdStyle.GetAsTwips(offsets.Top));
        }
        if (GetBorder().VisibleBorders.Bottom) {
            spaceAfter = ClampToNonNegative(spaceAfter - vdStyle.GetAsTwips(offsets.Bottom));
        }
    }
    s += "\\sb" + std::to_string(spaceBefore) + "\\sa" + std::to_string(spaceAfter);
    WriteText(stream, s);
}

} // namespace vizivodu
