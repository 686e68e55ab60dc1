// HTML and CSS text routines: colours, escaping, font markup, XHTML forms, sizes, strings.
#include "vizivodu/formats/common/VDFuncs_HTML.h"

#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include "platform/gfx/Font.h"

#include <gtest/gtest.h>

namespace vizivodu {
namespace {

TEST(ColorToHTML, ValuesTable) {
    EXPECT_EQ(ColorToHTMLStrAnsi(gfx::clRed, false), "#ff0000");
    EXPECT_EQ(ColorToHTMLStrAnsi(0x563412, true), "\"#123456\"");
    EXPECT_EQ(ColorToHTMLStrAnsi(gfx::clWindowText, false), "#000000");
    EXPECT_EQ(ColorToHTMLStrAnsi(gfx::clNone, false), "");
    EXPECT_EQ(ColorToHTMLStrAnsi(gfx::clNone, true), "");
    EXPECT_EQ(ColorToHTMLStr(gfx::clBlue, true), u"\"#0000ff\"");
    EXPECT_EQ(ColorToCSS(gfx::clNone), "transparent");
    EXPECT_EQ(ColorToCSS(gfx::clLime), "#00ff00");
}

TEST(ColorOpacityToCSS, AlphaWithTwoDecimals) {
    EXPECT_EQ(ColorOpacityToCSS(gfx::clWhite, 50000), "rgba(255,255,255,0.5)");
    EXPECT_EQ(ColorOpacityToCSS(gfx::clWhite, 5000), "rgba(255,255,255,0.05)");
    EXPECT_EQ(ColorOpacityToCSS(gfx::clWhite, 100000), "#ffffff");
    EXPECT_EQ(ColorOpacityToCSS(gfx::clNone, 50000), "");
}

TEST(FormatDecimal2, HundredthsWithFinalZeroDropped) {
    const std::pair<long double, const char *> cases[] = {{0.5L, "0.5"}, {0.05L, "0.05"},
                                                          {12, "12"},    {10.05L, "10.05"},
                                                          {0.999L, "1"}, {3.1L, "3.1"}};
    for (const auto &[value, expected] : cases) {
        EXPECT_EQ(FormatDecimal2(value), expected) << static_cast<double>(value);
    }
    EXPECT_EQ(FloatToPointsStr(-17.5L), "-17.5pt");
    EXPECT_EQ(FloatToPointsStr(12), "12pt");
}

TEST(EscapeHTML, AmpersandEscapedOnceAndFirst) {
    EXPECT_EQ(EscapeHTMLAnsi("&amp;", false, false), "&amp;amp;");
    EXPECT_EQ(EscapeHTMLAnsi("<\"a\">\x01", true, true), "&lt;&quot;a&quot;&gt;?");
    EXPECT_EQ(EscapeHTMLAnsi("\"\x01", false, false), "\"\x01");
}

TEST(EscapeHTMLTextAnsi, BlankRunsAndTrailingBlank) {
    EXPECT_EQ(EscapeHTMLTextAnsi("a   b", false, false), "a&nbsp;&nbsp; b");
    EXPECT_EQ(EscapeHTMLTextAnsi("   ", false, false), "&nbsp;&nbsp; ");
    EXPECT_EQ(EscapeHTMLTextAnsi("a ", false, true), "a&nbsp;");
    EXPECT_EQ(EscapeHTMLTextAnsi("a ", false, false), "a ");
    EXPECT_EQ(EscapeHTMLTextAnsi("a\tb<", false, false), "a?b&lt;");
    EXPECT_EQ(EscapeHTMLTextAnsi("<raw>  ", true, true), "<raw>  ");
}

TEST(EscapeUnicode, TextAndAttributes) {
    EXPECT_EQ(EscapeHTMLTextUnicode(u"a  \"b\"\uFFFE\uFDD0\u0001"), u"a&nbsp; &quot;b&quot;???");
    EXPECT_EQ(EscapeHTMLAttrUnicode(u"a  <b>&"), u"a  &lt;b&gt;&amp;");
    EXPECT_EQ(EscapeXMLAttrUnicode(u"\"\r"), u"&quot;?");
    EXPECT_EQ(ControlCharsToQuestion(u"a\nb\uFFFF\uFDEF\uFDF0"), u"a?b??\uFDF0");
    EXPECT_EQ(ControlCharsToQuestionAnsi("a\nb\x7f"), "a?b\x7f");
}

TEST(FontSizeToHTMLSize, Boundaries) {
    const std::pair<int, int> cases[] = {{1, 1},  {8, 1},  {9, 2},  {10, 2}, {11, 3},
                                         {12, 3}, {13, 4}, {14, 4}, {15, 5}, {18, 5},
                                         {19, 6}, {24, 6}, {25, 7}, {72, 7}};
    for (const auto &[points, size] : cases) {
        EXPECT_EQ(FontSizeToHTMLSize(points), size) << points;
    }
}

TEST(CharsetToHTMLCharsetName, KnownAndUnknown) {
    EXPECT_EQ(CharsetToHTMLCharsetName(204), "Windows-1251");
    EXPECT_EQ(CharsetToHTMLCharsetName(0), "Windows-1252");
    EXPECT_EQ(CharsetToHTMLCharsetName(255), "ascii");
    EXPECT_EQ(CharsetToHTMLCharsetName(1), "");
}

TEST(XHTMLForms, DependOnTheOption) {
    const TVDSaveOptions xhtml{vdsoXHTML};
    EXPECT_EQ(GetXHTMLTagEnd(xhtml), " /");
    EXPECT_EQ(GetXHTMLTagEnd({}), "");
    EXPECT_EQ(GetHTMLBoolAttr("checked", xhtml), "checked=\"checked\"");
    EXPECT_EQ(GetHTMLBoolAttr("checked", {}), "checked");
    EXPECT_EQ(IntToHTMLAttrValue(3, xhtml), "\"3\"");
    EXPECT_EQ(IntToHTMLAttrValueW(3, {}), u"3");
    EXPECT_EQ(QuoteHTMLAttrValue("list0", xhtml), "\"list0\"");
    EXPECT_EQ(QuoteHTMLAttrValue("\"list0\"", xhtml), "\"list0\"");
    EXPECT_EQ(QuoteHTMLAttrValue("list0", {}), "list0");
}

class FontTags : public ::testing::Test {
protected:
    FontTags() : Sheet(nullptr) {}
    // Style 0 of the sheet, or a new default style (the sheet's own style 1 is a hyperlink).
    TFontInfo &Style(int i) {
        if (i == 0) {
            return Sheet.GetTextStyles().GetItem(0);
        }
        if (!Added) {
            Added = &Sheet.GetTextStyles().Add();
        }
        return *Added;
    }
    TVDStyle Sheet;
    TFontInfo *Added = nullptr;
};

TEST_F(FontTags, BoldAgainstBoldBaseOpensNothing) {
    Style(0).SetStyle({gfx::fsBold});
    Style(1).SetStyle({gfx::fsBold});
    EXPECT_EQ(GetHTMLOpenFontTags(Style(1), &Style(0), true, {}), u"");
    EXPECT_EQ(GetHTMLCloseFontTags(Style(1), &Style(0), true), "");
}

TEST_F(FontTags, DifferencesOpenAndCloseInMirrorOrder) {
    Style(0).SetStyle({gfx::fsBold, gfx::fsUnderline});
    Style(1).SetStyle({gfx::fsItalic, gfx::fsStrikeOut});
    Style(1).SetColor(gfx::clRed);
    Style(1).SetSubSuperScriptType(vdsssSuperScript);
    EXPECT_EQ(GetHTMLOpenFontTags(Style(1), &Style(0), true, {}),
              u"<font color=\"#ff0000\"></u></b><i><s><sup>");
    EXPECT_EQ(GetHTMLCloseFontTags(Style(1), &Style(0), true), "</sup></s></i><b><u></font>");
}

TEST_F(FontTags, WithoutDifferencesEverythingIsWritten) {
    Style(0).SetStyle({gfx::fsBold});
    Style(0).SetVShift(-30);
    EXPECT_EQ(GetHTMLOpenFontTags(Style(0), nullptr, false, TVDSaveOptions{vdsoXHTML}),
              u"<font size=\"2\" color=\"#000000\" face=\"Arial\"><b><sub>");
    EXPECT_EQ(GetHTMLCloseFontTags(Style(0), nullptr, false), "</sub></b></font>");
}

TEST_F(FontTags, MarkerFontAgainstParagraphText) {
    gfx::TFont font;
    font.SetName(u"Wingdings");
    font.SetSize(10);
    font.SetColor(gfx::clWindowText);
    font.SetStyle({gfx::fsBold});
    EXPECT_EQ(GetHTMLOpenMarkerFontTags(font, Style(0), false, {}), u"<b>");
    EXPECT_EQ(GetHTMLOpenMarkerFontTags(font, Style(0), true, {}), u"<font face=\"Wingdings\"><b>");
    EXPECT_EQ(GetHTMLCloseMarkerFontTags(font, Style(0), true), "</b></font>");
    font.SetStyle({gfx::fsItalic, gfx::fsUnderline, gfx::fsStrikeOut});
    EXPECT_EQ(GetMarkerFontCSS(font, true),
              u"font-style: italic; font-size: 10pt; font-family: 'Arial Unicode MS', 'Lucida "
              u"Sans Unicode', 'Arial'; text-decoration: underline line-through; color: #000000;");
    font.SetName(u"Courier New");
    font.SetStyle({});
    EXPECT_EQ(GetMarkerFontCSS(font, true),
              u"font-size: 10pt; font-family: 'Courier New'; color: #000000;");
}

TEST(Strings, AppendReplaceAndSlashes) {
    UnicodeString s;
    AppendWithSpace(s, u"a");
    AppendWithSpace(s, u"");
    AppendWithSeparator(s, u"b", u", ");
    EXPECT_EQ(s, u"a, b");
    AnsiString a;
    AppendWithSeparatorAnsi(a, "x", ";");
    AppendWithSpaceAnsi(a, "y");
    EXPECT_EQ(a, "x y");
    EXPECT_EQ(BackslashesToSlashes(u"a\\b\\c"), u"a/b/c");
    AnsiString amp = "a&b&";
    ReplaceAllAnsiForward(amp, "&", "&amp;");
    EXPECT_EQ(amp, "a&amp;b&amp;");
    UnicodeString spaces = u"a    b";
    ReplaceAllUnicode(spaces, u"  ", u" ");
    EXPECT_EQ(spaces, u"a b");
    AnsiString dots = "a...";
    ReplaceAllAnsi(dots, "..", ".");
    EXPECT_EQ(dots, "a.");
    UnicodeString w = u"aa";
    ReplaceAllUnicodeForward(w, u"a", u"aa");
    EXPECT_EQ(w, u"aaaa");
}

} // namespace
} // namespace vizivodu
