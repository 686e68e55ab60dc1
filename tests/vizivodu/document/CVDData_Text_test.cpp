// Multi-line text: line ends of every kind, tabs as items or spaces, form feeds as page
// breaks, one paragraph of line breaks, byte-order marks, empty texts.
#include "vizivodu/document/CVDData.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "vizivodu/document/VDError.h"

#include <gtest/gtest.h>

using namespace vizivodu;
using vizivodu::test::Dump;

namespace {

class MultiLineText : public ::testing::Test {
protected:
    MultiLineText() : Style(nullptr), Doc(&Style) {
        TFontInfo &ansi = Style.GetTextStyles().Add();
        ansi.SetUnicode(false);
        Ansi = ansi.GetIndex();
    }

    // Page breaks as "^" in front of the items that carry one.
    std::string DumpWithBreaks() {
        std::string out = Dump(Doc);
        std::string marks;
        for (int32_t i = 0; i < Doc.ItemCount(); ++i) {
            marks += Doc.GetPageBreaksBeforeItems(i) ? '^' : '.';
        }
        return marks + " " + out;
    }

    TVDStyle Style;
    test::TTestDocument Doc;
    int32_t Ansi = 0; // an 8-bit text style
};

TEST_F(MultiLineText, EightBitLinesBecomeParagraphs) {
    struct TCase {
        const char *Text;
        int32_t First, Other;
        const char *Expected;
    };
    for (const TCase &c : {
             TCase{"ab\r\ncd\n\rxy\n\nef", 0, 1, "P0:ab | P1:cd | P1:xy | P1: | P1:ef"},
             TCase{"ab\n", 0, 0, "P0:ab | P0:"}, // ends with an empty paragraph
             TCase{"ab\r\r", 0, 0, "P0:ab | P0: | P0:"}, TCase{"", 0, 0, "P0:"},
             TCase{"", -1, 0, ""},
             TCase{"ab\ncd", -1, 1, "P0:ab | P1:cd"}, // an empty document's first item
         }) {
        test::TTestDocument doc(&Style);
        EXPECT_TRUE(doc.AddTextNLARaw(c.Text, Ansi, c.First, c.Other, false, false, 0, {}));
        EXPECT_EQ(Dump(doc), c.Expected) << c.Text;
    }
}

TEST_F(MultiLineText, TheFirstLineContinuesTheCurrentParagraph) {
    Doc.AddNL(u"x", Ansi, 0);
    Doc.AddTextNLR("ab\ncd", Ansi, -1, 0, {});
    EXPECT_EQ(Dump(Doc), "P0:x | L0:ab | P0:cd");
}

TEST_F(MultiLineText, TabsAreItemsUnlessTheStyleSheetTurnsThemIntoSpaces) {
    Style.SetSpacesInTab(0);
    Doc.AddTextNLR("a\tb\n\tc", Ansi, 0, 0, {});
    EXPECT_EQ(Dump(Doc), "P0:a | L0:#-12 | L0:b | P0: | L0:#-12 | L0:c");
    test::TTestDocument spaced(&Style);
    Style.SetSpacesInTab(2);
    spaced.AddTextNLR("a\tb", Ansi, 0, 0, {});
    EXPECT_EQ(Dump(spaced), "P0:a  b");
}

TEST_F(MultiLineText, AFormFeedPutsAPageBreakBeforeTheNextLine) {
    Doc.AddTextNLR("ab\fcd\nef", Ansi, 0, 0, {});
    EXPECT_EQ(DumpWithBreaks(), ".^. P0:ab | P0:cd | P0:ef");
}

// A tab right after a form feed opens the paragraph that carries the page break: the text after
// it continues that paragraph instead of opening another one with the break moved before it.
TEST_F(MultiLineText, ATabAfterAFormFeedKeepsThePageBreakOnItsParagraph) {
    Style.SetSpacesInTab(0);
    struct TCase {
        const char *Text;
        const char *EightBit, *Unicode;
    };
    for (const TCase &c : {
             TCase{"a\f\tb", ".^.. P0:a | P0: | L0:#-12 | L0:b", ".^. P0:a | P0:#-12 | L0:b"},
             TCase{"a\f\t\tb", ".^... P0:a | P0: | L0:#-12 | L0:#-12 | L0:b",
                   ".^.. P0:a | P0:#-12 | L0:#-12 | L0:b"},
             TCase{"\f\tb", ".^.. P0: | P0: | L0:#-12 | L0:b", ".^. P0: | P0:#-12 | L0:b"},
             TCase{"a\fb\tc", ".^.. P0:a | P0:b | L0:#-12 | L0:c",
                   ".^.. P0:a | P0:b | L0:#-12 | L0:c"},
         }) {
        Doc.Clear();
        Doc.AddTextNLR(c.Text, Ansi, 0, 0, {});
        EXPECT_EQ(DumpWithBreaks(), c.EightBit) << c.Text;
        Doc.Clear();
        Doc.AddTextNLW(std::u16string(c.Text, c.Text + std::char_traits<char>::length(c.Text)), 0,
                       0, 0, false);
        EXPECT_EQ(DumpWithBreaks(), c.Unicode) << c.Text;
    }
}

TEST_F(MultiLineText, ABlockKeepsItsLinesInOneParagraph) {
    Doc.AddTextBlockNLA("ab\ncd\nef", 0, 1, {});
    EXPECT_EQ(Dump(Doc), "P1:ab | B1:cd | B1:ef");
    EXPECT_TRUE(Doc.GetAddParagraphMode()); // put back
}

TEST_F(MultiLineText, UnicodeSeparatorsMarksAndSingleParagraphs) {
    struct TCase {
        const char16_t *Text;
        bool Single;
        const char *Expected;
    };
    for (const TCase &c : {
             TCase{u"\uFEFFab\r\ncd", false, "P0:ab | P0:cd"},
             TCase{u"ab\u2028cd\ve", false, "P0:ab | B0:cd | B0:e"},
             TCase{u"ab\ncd\u2029ef\ngh", true, "P0:ab | B0:cd | P0:ef | B0:gh"},
             TCase{u"ab\fcd", false, "P0:ab | P0:cd"},
             TCase{u"\uFEFF", false, "P0:"},
         }) {
        test::TTestDocument doc(&Style);
        doc.AddTextNLW(c.Text, 0, 0, 0, c.Single);
        EXPECT_EQ(Dump(doc), c.Expected) << rtl::Utf16ToUtf8(c.Text);
        EXPECT_TRUE(doc.GetAddParagraphMode());
    }
}

TEST_F(MultiLineText, AByteSwappedMarkSwapsTheText) {
    // "ab" written big-endian after its mark: FE FF 00 61 00 62.
    Doc.AddTextNLWRaw(std::string("\xFE\xFF\x00\x61\x00\x62", 6), 0, 0, 0, false);
    EXPECT_EQ(Dump(Doc), "P0:ab");
}

TEST_F(MultiLineText, AnOddUnicodeByteCountIsRefused) {
    EXPECT_THROW(Doc.AddTextNLWRaw(std::string("a\0b", 3), 0, 0, 0, false), EViziVoduError);
    EXPECT_EQ(Doc.ItemCount(), 0);
}

} // namespace
