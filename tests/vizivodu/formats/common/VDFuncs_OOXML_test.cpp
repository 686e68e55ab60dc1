// OOXML text and elements, URLs and file paths.
#include "vizivodu/formats/common/VDFuncs_OOXML.h"
#include "vizivodu/formats/common/VDFuncs_URL.h"

#include <gtest/gtest.h>

namespace vizivodu {
namespace {

TEST(OOXML, Colours) {
    EXPECT_EQ(ColorToOOXMLStr(0x563412, false), "123456");
    EXPECT_EQ(ColorToOOXMLStr(gfx::clRed, true), "FF0000");
    EXPECT_EQ(ColorToOOXMLStr(gfx::clWindowText, true), "auto");
    EXPECT_EQ(ColorToOOXMLStr(gfx::clNone, true), "auto");
    EXPECT_EQ(ColorToOOXMLStr(gfx::clWindowText, false), "000000");
    EXPECT_EQ(ColorToOOXMLStr(gfx::clNone, false), "FFFFFF");
}

TEST(OOXML, StringsAndAttributeValues) {
    EXPECT_EQ(MakeOOXMLStr(u"a<b>&\"c\"\t\u0416\uFFFE"), "a&lt;b&gt;&amp;\"c\"?\xD0\x96?");
    EXPECT_EQ(MakeOOXMLStrW(u"&amp;"), "&amp;amp;");
    EXPECT_EQ(MakeOOXMLAttrStr(u"\"x\" & <y>"), "&quot;x&quot; &amp; &lt;y&gt;");
    EXPECT_EQ(MakeOOXMLURL(u"http://h/a b+c\"\u0416", false), "http://h/a%20b%2Bc&quot;\xD0\x96");
    EXPECT_EQ(MakeOOXMLURL(u"a b+c", true), "a%20b+c");
}

TEST(OOXML, PropertyElements) {
    EXPECT_EQ(GetOOXMLBoolProp("b", true), "<w:b/>");
    EXPECT_EQ(GetOOXMLBoolProp("b", false), "<w:b w:val=\"0\"/>");
    EXPECT_EQ(GetOOXMLStrProp("jc", "center"), "<w:jc w:val=\"center\"/>");
    EXPECT_EQ(GetOOXMLIntProp("sz", -4), "<w:sz w:val=\"-4\"/>");
    EXPECT_EQ(GetOOXMLColorProp("color", gfx::clWindowText), "<w:color w:val=\"auto\"/>");
}

TEST(OOXML, NamespaceDeclarations) {
    EXPECT_EQ(GetOOXMLNamespaceAttrs({"w", "unknown", "r", "o"}),
              "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
              "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
              "xmlns:o=\"urn:schemas-microsoft-com:office:office\"");
    EXPECT_EQ(GetOOXMLNamespaceAttrs({"ve"}),
              "xmlns:ve=\"http://schemas.openxmlformats.org/markup-compatibility/2006\"");
    EXPECT_EQ(GetOOXMLNamespaceAttrs({"x"}), "");
}

TEST(URL, Recognition) {
    const std::pair<std::u16string, bool> cases[] = {
        {u"www.", false},        {u"WWW.example.com", true}, {u"http://", false},
        {u"mailto:a@b.c", true}, {u"ftp.host", true},        {u"example.com", false},
        {u"news:group", true},   {u"File://x", true}};
    for (const auto &[text, expected] : cases) {
        EXPECT_EQ(IsURL(text), expected) << rtl::Utf16ToUtf8(text);
    }
    IsURLCheck = [](const UnicodeString &text) { return text == u"custom"; };
    EXPECT_TRUE(IsURL(u"custom"));
    EXPECT_TRUE(IsURL(u"www.x"));
    IsURLCheck = nullptr;
    EXPECT_FALSE(IsURL(u"custom"));
}

TEST(URL, EmailAddresses) {
    EXPECT_FALSE(IsEmailAddress(u"a@b"));
    EXPECT_FALSE(IsEmailAddress(u"a.b@c"));
    EXPECT_TRUE(IsEmailAddress(u"a.b@c.d"));
    EXPECT_FALSE(IsEmailAddress(u"a.b"));
}

TEST(URL, PercentEncoding) {
    EXPECT_EQ(PercentEncodeURL(u"a b\r\n\"%+&"), u"a%20b%0D%0A%22%25%2B&");
    EXPECT_EQ(PercentEncodeSpaces(u"a b\"%+"), u"a%20b\"%+");
}

TEST(URL, Decoding) {
    EXPECT_EQ(DecodeURL(u"%D0%B0", false), u"\u0430");
    EXPECT_EQ(DecodeURL(u"a+b++", false), u"a b  ");
    EXPECT_EQ(DecodeURL(u"a%0D%0Ab", false), u"a%0D%0Ab");
    EXPECT_EQ(DecodeURL(u"a%0d%0Ab", true), u"a\r\nb");
    EXPECT_EQ(DecodeURL(u"%41%2B%zz%4", false), u"A+%zz%4");
    EXPECT_EQ(DecodeURL(u"%D0%0A%B0", false), u"\uFFFD%0A\uFFFD");
}

TEST(URL, FileURLsBecomePathsOfThisPlatform) {
    EXPECT_EQ(FileURLToPath(u"file:///home/u/a.htm"), u"/home/u/a.htm");
    EXPECT_EQ(FileURLToPath(u"FILE://C:\\dir\\a.htm"), u"C:/dir/a.htm");
    EXPECT_EQ(FileURLToPath(u"http://x/y"), u"http://x/y");
}

TEST(URL, ServerDriveAndPath) {
    EXPECT_EQ(ExtractURLServer(u"http://host.org/a/b?q"), u"http://host.org");
    EXPECT_EQ(ExtractURLServer(u"host\\a"), u"host");
    EXPECT_EQ(ExtractURLOrFileDrive(u"C:\\a\\b.txt"), u"C:");
    EXPECT_EQ(ExtractURLOrFileDrive(u"\\\\srv\\share\\a.txt"), u"\\\\srv\\share");
    EXPECT_EQ(ExtractURLOrFileDrive(u"/home/a.txt"), u"");
    EXPECT_EQ(ExtractURLPath(u"http://h/a/b/c.htm"), u"/a/b/");
    EXPECT_EQ(ExtractURLPath(u"C:\\a\\b.txt"), u"\\a\\");
    EXPECT_EQ(ExtractURLPath(u"b.txt"), u"");
}

TEST(URL, RelativeURLs) {
    EXPECT_EQ(MakeRelativeURL(u"x/y/page.htm", u"x/z/pic.png"), u"../z/pic.png");
    EXPECT_EQ(MakeRelativeURL(u"/home/u/doc/page.htm", u"/home/u/doc/img/p.png"), u"img/p.png");
    EXPECT_EQ(MakeRelativeURL(u"C:\\x\\y\\page.htm", u"D:\\x\\z\\pic.png"), u"D:\\x\\z\\pic.png");
    EXPECT_EQ(MakeRelativeURL(u"x/page.htm", u"x/pic.png?1"), u"x/pic.png?1");
    EXPECT_EQ(MakeRelativeURL(u"http://h/a/b.htm", u"http://h/c/d.png"), u"../c/d.png");
    EXPECT_EQ(MakeRelativeURL(u"http://h/a/b.htm", u"http://k/a/d.png"), u"http://k/a/d.png");
}

TEST(URL, HexDigits) {
    EXPECT_EQ(HexDigitValue(u'0'), 0);
    EXPECT_EQ(HexDigitValue(u'f'), 15);
    EXPECT_EQ(HexDigitValue(u'B'), 11);
    EXPECT_FALSE(IsHexDigit(u'g'));
    EXPECT_FALSE(IsHexDigit(u'\uFF10'));
}

} // namespace
} // namespace vizivodu
