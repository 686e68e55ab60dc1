// The WordprocessingML run and paragraph properties of text and paragraph styles, checked as
// XML by xmllint.
#include "vizivodu/formats/common/VDFuncs_OOXML.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include "tests/support/Commands.h"
#include "tests/vizivodu/StyleTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vizivodu {
namespace {

class StyleOOXML : public ::testing::Test {
protected:
    StyleOOXML() { Sheet.SetUnits(vdstuTwips); }

    test::TPixelsPerInchOverride Ppi{96};
    TVDStyle Sheet{nullptr};
    TFontInfo &Style = Sheet.GetTextStyles().GetItem(0);
    TParaInfo &Para = Sheet.GetParaStyles().GetItem(0);
};

TEST_F(StyleOOXML, VerticalShiftAsPosition) {
    Style.SetVShift(50);
    Style.SetSizeDouble(24);
    EXPECT_EQ(Style.GetOOXMLStr(Sheet, {vdfiVShift, vdfiSize}),
              "<w:sz w:val=\"24\"/><w:position w:val=\"12\"/>");
}

TEST_F(StyleOOXML, RunPropertiesInOrder) {
    Style.SetFontName(u"Times \"New\" & Roman");
    Style.SetStyle({gfx::fsBold, gfx::fsUnderline});
    Style.SetUnderlineType(vdutDashDotted);
    Style.SetStyleEx({vdfsAllCaps});
    Style.SetSubSuperScriptType(vdsssSubscript);
    Style.SetCharScale(90);
    Style.SetCharSpacing(-20);
    Style.SetColor(gfx::clRed);
    Style.SetBiDiMode(vdbdRightToLeft);
    EXPECT_EQ(Style.GetOOXMLStr(Sheet, AllTextStyleProperties),
              "<w:rFonts w:ascii=\"Times &quot;New&quot; &amp; Roman\" w:hAnsi=\"Times "
              "&quot;New&quot; &amp; Roman\"/><w:b/><w:i w:val=\"0\"/><w:strike w:val=\"0\"/>"
              "<w:u w:val=\"dotDash\" w:color=\"auto\"/><w:caps/><w:vertAlign "
              "w:val=\"subscript\"/><w:sz w:val=\"20\"/><w:w w:val=\"90\"/><w:spacing "
              "w:val=\"-20\"/><w:position w:val=\"0\"/><w:color w:val=\"FF0000\"/><w:shd "
              "w:val=\"clear\" w:color=\"auto\" w:fill=\"auto\"/><w:rtl/>");
    Style.SetStyle({});
    EXPECT_EQ(Style.GetOOXMLStr(Sheet, {vdfiUnderline, vdfiUnderlineColor}),
              "<w:u w:val=\"none\"/>");
    Style.SetUnderlineColor(gfx::clBlue);
    EXPECT_EQ(Style.GetOOXMLStr(Sheet, {vdfiUnderlineColor}), "<w:u w:color=\"0000FF\"/>");
    EXPECT_EQ(Style.GetOOXMLStr(Sheet, {}), "");
}

TEST_F(StyleOOXML, PercentLineSpacingAndHangingIndent) {
    Para.SetLineSpacing(150);
    Para.SetFirstIndent(-720);
    EXPECT_EQ(Para.GetOOXMLStr(Sheet, -1, nullptr, {vdpiLineSpacing, vdpiFirstIndent}),
              "<w:ind w:hanging=\"720\"/><w:spacing w:lineRule=\"auto\" w:line=\"360\"/>");
    EXPECT_EQ(Para.GetOOXMLStr(Sheet, -1, nullptr, {}), "");
}

TEST_F(StyleOOXML, NoBorderAskedForEverythingWritesFourNoneSides) {
    const AnsiString s = Para.GetOOXMLStr(Sheet, -1, nullptr, AllParaStyleProperties);
    EXPECT_EQ(s, "<w:jc w:val=\"left\"/><w:keepLines w:val=\"0\"/><w:keepNext w:val=\"0\"/>"
                 "<w:widowControl w:val=\"0\"/><w:wordWrap/><w:ind w:left=\"0\" w:right=\"0\" "
                 "w:firstLine=\"0\"/><w:bidi w:val=\"0\"/><w:spacing w:before=\"0\" "
                 "w:after=\"0\" w:lineRule=\"auto\" w:line=\"240\"/><w:shd w:val=\"clear\" "
                 "w:color=\"auto\" w:fill=\"auto\"/><w:pBdr><w:top w:val=\"none\" w:sz=\"0\" "
                 "w:space=\"0\" w:color=\"auto\"/><w:left w:val=\"none\" w:sz=\"0\" "
                 "w:space=\"0\" w:color=\"auto\"/><w:bottom w:val=\"none\" w:sz=\"0\" "
                 "w:space=\"0\" w:color=\"auto\"/><w:right w:val=\"none\" w:sz=\"0\" "
                 "w:space=\"0\" w:color=\"auto\"/></w:pBdr>");
}

TEST_F(StyleOOXML, ThickBordersAndTabsMergedWithTheTemplate) {
    Para.GetBorder().Style = vdbThickOutside;
    Para.GetBorder().Width = 30;
    Para.GetBorder().VisibleBorders.Right = false;
    Para.GetBorder().GetBorderOffsets().Top = 45;
    EXPECT_EQ(Para.GetOOXMLStr(Sheet, -1, nullptr, {vdpiBorder_Width, vdpiBorder_BO_Top}),
              "<w:pBdr><w:top w:val=\"thinThickSmallGap\" w:sz=\"24\" w:space=\"2\"/><w:left "
              "w:val=\"thinThickSmallGap\" w:sz=\"24\"/><w:bottom w:val=\"thickThinSmallGap\" "
              "w:sz=\"24\"/><w:right w:val=\"none\" w:sz=\"24\"/></w:pBdr>");
    TVDTabInfo &own = Para.GetTabs().Add();
    own.SetPosition(720);
    own.SetAlign(vdtaRight);
    own.SetLeader(u".");
    TVDTabInfos parent;
    parent.Add().SetPosition(360);
    parent.Add().SetPosition(1440);
    EXPECT_EQ(Para.GetOOXMLStr(Sheet, 360, &parent, {vdpiTabs}),
              "<w:tabs><w:tab w:val=\"clear\" w:pos=\"360\"/><w:tab w:val=\"right\" "
              "w:pos=\"720\" w:leader=\"dot\"/><w:tab w:val=\"clear\" w:pos=\"1440\"/></w:tabs>");
    EXPECT_EQ(Para.GetOOXMLStr(Sheet, -1, nullptr, {vdpiTabs}),
              "<w:tabs><w:tab w:val=\"right\" w:pos=\"720\" w:leader=\"dot\"/></w:tabs>");
}

TEST_F(StyleOOXML, FragmentsParseAsXML) {
    if (!wbtest::HaveTool("xmllint")) {
        GTEST_SKIP() << "libxml2-utils are not installed";
    }
    std::string body;
    for (int i = 0; i < 13; ++i) {
        gfx::TFontStyles styles;
        for (gfx::TFontStyle fs :
             {gfx::fsBold, gfx::fsItalic, gfx::fsUnderline, gfx::fsStrikeOut}) {
            if (i & (1 << fs)) {
                styles.Include(fs);
            }
        }
        Style.SetStyle(styles);
        Style.SetUnderlineType(static_cast<TVDUnderlineType>(i));
        Style.SetUnderlineColor(i % 2 ? gfx::clGreen : gfx::clNone);
        Style.SetFontName(i % 3 ? u"<Шрифт & \"x\">" : u"Arial");
        Style.SetSubSuperScriptType(static_cast<TVDSubSuperScriptType>(i % 3));
        Style.SetBackColor(i % 2 ? gfx::clNone : gfx::clAqua);
        body += "<w:rPr>" + Style.GetOOXMLStr(Sheet, AllTextStyleProperties) + "</w:rPr>";
        Para.SetAlignment(static_cast<TVDAlignment>(i % 5));
        Para.SetLineSpacingType(static_cast<TVDLineSpacingType>(i % 4));
        Para.GetBorder().Style = static_cast<TVDBorderStyle>(i % 6);
        Para.GetBorder().VisibleBorders.Top = i % 2 == 0;
        Para.SetOutlineLevel(i % 4);
        Para.SetFirstIndent(i % 2 ? -100 : 100);
        Para.GetTabs().Add().SetPosition(100 * (i + 1));
        Para.GetTabs().GetItem(i).SetLeader(i % 2 ? u"-" : u"");
        body +=
            "<w:pPr>" + Para.GetOOXMLStr(Sheet, 250, nullptr, AllParaStyleProperties) + "</w:pPr>";
    }
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("vdooxml-" + std::to_string(reinterpret_cast<uintptr_t>(this)) + ".xml");
    std::ofstream(file) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<w:document "
                        << GetOOXMLNamespaceAttrs({"w", "r"}) << ">" << body << "</w:document>\n";
    const std::string result =
        wbtest::RunCommand("xmllint --noout '" + file.string() + "' 2>&1 && echo valid");
    EXPECT_EQ(result, "valid\n");
    std::filesystem::remove(file);
}

} // namespace
} // namespace vizivodu
