// RTF escaping of 8-bit and Unicode text, bookmark names and hint attributes.
#include "vizivodu/formats/common/VDFuncs_RTF.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

namespace vizivodu {
namespace {

TEST(EscapeRTFAnsi, OptionsTable) {
    struct Case {
        std::string Text;
        bool NoEscape, SpecialAsWords, BracesAsHex, FieldArg;
        std::string Expected;
    };
    const Case cases[] = {
        {"a\\b{c}", false, false, false, false, "a\\\\b\\{c\\}"},
        {"{", false, false, true, false, "\\'7b"},
        {"\\}", false, false, true, false, "\\'5c\\'7d"},
        {"{x}", true, false, false, false, "{x}"},
        {"say \"hi\"", false, false, false, true, "say \\\\\"hi\\\\\""},
        {"\x01\x7f\x80\xe0", false, false, false, false, "\\'01\x7f\\'80\\'e0"},
        {"\x95\xa0", false, false, false, false, "\\'95\\'a0"},
        {"\x95\xa0", false, true, false, false, "\\bullet \\~"},
        {"\t", true, false, false, false, "\\'09"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(EscapeRTFAnsi(c.Text, c.NoEscape, c.SpecialAsWords, c.BracesAsHex, c.FieldArg),
                  c.Expected)
            << c.Text;
    }
}

TEST(UnicodeToRTF, CyrillicWithFallbackFlagNeedsNoCount) {
    // Code page 1251: "д" is 0xe4, "а" 0xe0.
    EXPECT_EQ(UnicodeToRTF(u"да", 1251, true), "\\u1076 \\'e4\\u1072 \\'e0");
}

TEST(UnicodeToRTF, CountSetOnceAndRestoredWithoutFallbackFlag) {
    EXPECT_EQ(UnicodeToRTF(u"xд{а}", 1251, false), "x\\uc1\\u1076 \\'e4\\{\\u1072 \\'e0\\}\\uc0");
}

TEST(UnicodeToRTF, CountFollowsFallbackLengthOfEveryUnit) {
    // A character outside the code page falls back to "?", one byte too; a double-byte code
    // page gives two-byte fallbacks.
    EXPECT_EQ(UnicodeToRTF(u"\u4e2d", 936, true), "\\uc2\\u20013 \\'d6\\'d0\\uc1");
}

TEST(UnicodeToRTF, UnitZeroIsAControlWord) {
    EXPECT_EQ(UnicodeToRTFEx(std::u16string(1, u'\0'), 1251, false, false, false, false), "\\u0 ");
}

TEST(UnicodeToRTF, TypographicCharactersAsControlWords) {
    EXPECT_EQ(UnicodeToRTF(u"\u2013\u2014\u2018\u2019\u201c\u201d\u00a0\u00ad\u2002\u2003\u2005"
                           u"\u200c\u200d",
                           1251, true),
              "\\endash \\emdash \\lquote \\rquote \\ldblquote \\rdblquote \\~\\-{\\enspace }"
              "{\\emspace }{\\qmspace }\\zwnj\\zwj");
    EXPECT_EQ(UnicodeToRTFEx(u"\u2013", 1251, false, false, true, false), "\\u8211 ");
}

TEST(UnicodeToRTF, UnitsAboveSignedRangeAreUnsigned) {
    EXPECT_EQ(UnicodeToRTFEx(u"\uf041", 1251, false, false, false, false), "\\u61505 ");
}

TEST(UnicodeToRTF, FieldArgumentDoublesBackslashesAndQuotes) {
    EXPECT_EQ(UnicodeToRTFFieldArg(u"C:\\a \"b\"", 1251, true), "C:\\\\\\\\a \\\\\"b\\\\\"");
}

TEST(WriteUnicodeAsRTF, WritesRawUnicodeToTheStream) {
    rtl::TMemoryStream stream;
    TVDRTFUnicodeOptions options;
    options.BracesAsHex = true;
    WriteUnicodeAsRTF(stream, std::string("{\0\0\x04", 4), 1251, options);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                          static_cast<size_t>(stream.GetSize())),
              "\\'7b\\u1024 ");
}

TEST(MakeBookmarkName, KeepsLettersAndDigitsInPlace) {
    EXPECT_EQ(MakeBookmarkName(u"Глава 1: итоги, 2024!"), u"Глава_1__итоги__2024_");
    EXPECT_EQ(MakeBookmarkName(u"\U0001D400x"), u"\U0001D400x");
}

TEST(MakeHintAttribute, DoubleQuoteTurnsIntoApostropheInRTF) {
    EXPECT_EQ(MakeHintAttribute(vdsfRTF, u"say \"hi\""), u"\\o \"say 'hi'\"");
    EXPECT_EQ(MakeHintAttribute(vdsfHTML, u"a<b"), u"title=\"a&lt;b\"");
    EXPECT_EQ(MakeHintAttribute(vdsfDocX, u"\"&\""), u"w:tooltip=\"&quot;&amp;&quot;\"");
    EXPECT_EQ(MakeHintAttribute(vdsfText, u"x"), u"x");
    EXPECT_EQ(MakeHintAttribute(vdsfHTML, u""), u"");
}

TEST(CharsInSet, ReplaceAndInsertBefore) {
    EXPECT_EQ(ReplaceCharsInSet(u"a\"b'c\u0422", "\"'", u'_'), u"a_b_c\u0422");
    EXPECT_EQ(InsertBeforeCharsInSet("a{b}c", "{}", "\\"), "a\\{b\\}c");
}

} // namespace
} // namespace vizivodu
