// The RTF control words of text and paragraph styles.
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include "tests/vizivodu/StyleTestSupport.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

namespace vizivodu {
namespace {

std::string Text(rtl::TMemoryStream &stream) {
    return std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                       static_cast<size_t>(stream.GetSize()));
}

class StyleRTF : public ::testing::Test {
protected:
    StyleRTF() {
        for (TColor c : {gfx::clRed, gfx::clBlue, gfx::clYellow}) {
            Tables.AddColor(c);
        }
        Sheet.SetUnits(vdstuTwips);
    }
    std::string TextRTF(const TCustomVDFontInfo &style, bool inherited = false) {
        rtl::TMemoryStream stream;
        style.SaveRTFToStream(stream, nullptr, &Tables, Sheet, inherited);
        return Text(stream);
    }
    std::string ParaRTF(const TCustomVDParaInfo &para, TVDStyleLength minTab = -1,
                        const AnsiString &fili = "") {
        rtl::TMemoryStream stream;
        para.SaveRTFToStream(stream, &Tables, minTab, fili, Sheet);
        return Text(stream);
    }

    test::TPixelsPerInchOverride Ppi{96};
    TVDStyle Sheet{nullptr};
    TVDRTFTables Tables;
    TFontInfo &Style = Sheet.GetTextStyles().GetItem(0);
    TParaInfo &Para = Sheet.GetParaStyles().GetItem(0);
};

TEST_F(StyleRTF, DefaultTextStyle) {
    EXPECT_EQ(TextRTF(Style), "\\fs20");
    EXPECT_EQ(TextRTF(Style, true), "");
}

TEST_F(StyleRTF, VerticalShiftInHalfPoints) {
    Style.SetVShift(50);
    Style.SetSizeDouble(24);
    EXPECT_EQ(TextRTF(Style), "\\up12\\fs24");
    Style.SetVShift(-25);
    Style.SetSizeDouble(-26);
    EXPECT_EQ(TextRTF(Style), "\\dn6\\fs-26");
}

TEST_F(StyleRTF, EveryTextPropertyInOrder) {
    Style.SetStyle({gfx::fsBold, gfx::fsItalic, gfx::fsUnderline, gfx::fsStrikeOut});
    Style.SetUnderlineType(vdutThickDashDotDotted);
    Style.SetUnderlineColor(gfx::clBlue);
    Style.SetSubSuperScriptType(vdsssSuperScript);
    Style.SetCharScale(80);
    Style.SetCharSpacing(-30);
    Style.SetStyleEx({vdfsAllCaps});
    Style.SetBiDiMode(vdbdRightToLeft);
    Style.SetCharset(204);
    Style.SetOptions({vdteoHidden});
    Style.SetBackColor(gfx::clYellow);
    Style.SetColor(gfx::clRed);
    EXPECT_EQ(TextRTF(Style), "\\b\\i\\ulthdashdd\\ulc1\\strike\\super\\charscalex80\\expndtw-30"
                              "\\caps\\rtlch\\lang1049\\v\\fs20\\chcbpat2\\cf0");
}

TEST_F(StyleRTF, PercentLineSpacingAndHangingIndent) {
    Para.SetLineSpacing(150);
    Para.SetFirstIndent(-720);
    Para.SetLeftIndent(720);
    EXPECT_EQ(ParaRTF(Para), "\\sl360\\slmult1\\fi-720\\li720\\ql\\ri0\\sb0\\sa0");
    EXPECT_EQ(ParaRTF(Para, -1, "\\fi-360\\li360"),
              "\\sl360\\slmult1\\fi-360\\li360\\ql\\ri0\\sb0\\sa0");
}

TEST_F(StyleRTF, TopBorderOffsetComesOutOfSpaceBefore) {
    Para.GetBorder().Style = vdbThickInside;
    Para.GetBorder().Color = gfx::clBlue;
    Para.GetBorder().Width = 20;
    Para.GetBorder().GetBorderOffsets().Top = 100;
    Para.GetBorder().GetBorderOffsets().Bottom = 40;
    Para.GetBorder().VisibleBorders.Left = false;
    Para.GetBorder().VisibleBorders.Right = false;
    Para.SetSpaceBefore(60);
    Para.SetSpaceAfter(100);
    EXPECT_EQ(ParaRTF(Para),
              "\\fi0\\li0\\ql\\ri0\\brdrbtw\\brdrt\\brsp100\\brdrthtnmg\\brdrcf1\\brdrw40"
              "\\brdrb\\brsp40\\brdrtnthmg\\brdrcf1\\brdrw40\\sb0\\sa60");
}

TEST_F(StyleRTF, TabsOptionsHeadingAndBackground) {
    Para.SetBiDiMode(vdbdLeftToRight);
    Para.SetLineSpacingType(vdlsLineHeightExact);
    Para.SetLineSpacing(300);
    Para.SetOptions({vdpaoKeepLinesTogether, vdpaoKeepWithNext, vdpaoWidowOrphanControl});
    const std::pair<TVDTabAlign, UnicodeString> tabs[] = {{vdtaLeft, u""},       {vdtaRight, u"-"},
                                                          {vdtaCenter, u"="},    {vdtaLeft, u"_"},
                                                          {vdtaLeft, u"\u00B7"}, {vdtaLeft, u"x"}};
    int position = 100;
    for (const auto &[align, leader] : tabs) {
        TVDTabInfo &tab = Para.GetTabs().Add();
        tab.SetPosition(position += 100);
        tab.SetAlign(align);
        tab.SetLeader(leader);
    }
    Para.SetAlignment(vdaDistribute);
    Para.SetOutlineLevel(2);
    Para.GetBackground().Color = gfx::clYellow;
    EXPECT_EQ(ParaRTF(Para, 200),
              "\\ltrpar\\sl-300\\slmult0\\keep\\keepn\\widctlpar\\fi0\\li0\\tqr\\tlhyph\\tx300"
              "\\tqc\\tleq\\tx400\\tlul\\tx500\\tlmdot\\tx600\\tldot\\tx700\\qd\\ri0"
              "\\outlinelevel1\\cbpat2\\sb0\\sa0");
}

} // namespace
} // namespace vizivodu
