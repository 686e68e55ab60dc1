// Applying paragraph styles and converting text styles in the editable document: which items
// split and change, the current styles, and undo and redo bringing back the exact bytes.
#include "vizivodu/editing/data/VDEVDData.h"

#include "tests/vizivodu/editing/EditTestSupport.h"
#include "vizivodu/styles/VDStyle.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

// Text style 2 is a second Unicode style, 3 a Cyrillic 8-bit one; paragraph style 1 a plain
// one, 2 a protected one. The conversion applies the user data as the new style.
struct TStyleDoc : test::TEditFixture {
    explicit TStyleDoc(std::initializer_list<const char16_t *> paragraphs) {
        while (Style.GetTextStyles().GetCount() < 4) {
            Style.GetTextStyles().Add();
        }
        Style.GetTextStyles().GetItem(2).SetUnicode(true);
        TFontInfo &ansi = Style.GetTextStyles().GetItem(3);
        ansi.SetUnicode(false);
        ansi.SetCharset(204);
        while (Style.GetParaStyles().GetCount() < 3) {
            Style.GetParaStyles().Add();
        }
        Style.GetParaStyles().GetItem(2).SetOptions({vdpaoStyleProtect});
        for (const char16_t *p : paragraphs) {
            Doc().AddNL(p, 0, 0);
        }
        Format();
        SetCaret(0, 1);
        Doc().FCurStyleConversion = [](TVDEditVDData &, int32_t, int32_t, int32_t userData, bool,
                                       int32_t &newStyleNo) { newStyleNo = userData; };
        Start = VDFBytes();
    }
    void Select(int32_t startItem, int32_t startOffs, int32_t endItem, int32_t endOffs) {
        SetCaret(endItem, endOffs);
        Doc().SetSelectionBounds(startItem, startOffs, endItem, endOffs);
        ASSERT_TRUE(Doc().SelectionExists(false, false));
    }
    // The items' text styles, "0 2 0".
    std::string TextStyles() {
        std::string out;
        for (int32_t i = 0; i < Doc().ItemCount(); ++i) {
            out += (i > 0 ? " " : "") + std::to_string(Doc().GetItem(i)->StyleNo);
        }
        return out;
    }
    std::string ParaStyles() {
        std::string out;
        for (int32_t i = 0; i < Doc().ItemCount(); ++i) {
            out += (i > 0 ? " " : "") + std::to_string(Doc().GetItem(i)->ParaNo);
        }
        return out;
    }
    void ExpectUndoRestores() {
        const std::string end = VDFBytes();
        UndoAll();
        EXPECT_EQ(VDFBytes(), Start) << Dump();
        RedoAll();
        EXPECT_EQ(VDFBytes(), end) << Dump();
    }
    std::string Start;
};

struct TConversionCase {
    const char *Name;
    int32_t StartOffs, EndOffs;
    const char *Dump, *Styles, *Selected;
};

} // namespace

class EditTextStyleSelection : public ::testing::TestWithParam<TConversionCase> {};

TEST_P(EditTextStyleSelection, ExactlyTheSelectedCharactersChange) {
    const TConversionCase &c = GetParam();
    TStyleDoc d({u"abcdef"});
    d.Select(0, c.StartOffs, 0, c.EndOffs);
    d.Doc().ApplyStyleConversion_(2, vdscTextStyle, false);
    EXPECT_EQ(d.Dump(), c.Dump);
    EXPECT_EQ(d.TextStyles(), c.Styles);
    EXPECT_EQ(rtl::Utf16ToUtf8(RawUnicodeToString(d.Doc().GetSelTextR(true))), c.Selected);
    EXPECT_EQ(d.UndoTypes(), (std::vector<int>{vdutStyleNo}));
    EXPECT_EQ(d.Doc().FCurTextStyleNo, 2);
    d.ExpectUndoRestores();
}

INSTANTIATE_TEST_SUITE_P(Cases, EditTextStyleSelection,
                         ::testing::Values(TConversionCase{"Middle", 2, 5, "a|bcd|ef", "0 2 0",
                                                           "bcd"},
                                           TConversionCase{"Head", 1, 3, "ab|cdef", "2 0", "ab"},
                                           TConversionCase{"Tail", 4, 7, "abc|def", "0 2", "def"},
                                           TConversionCase{"Whole", 1, 7, "abcdef", "2", "abcdef"}),
                         [](const auto &info) { return info.param.Name; });

TEST(EditTextStyles, ASelectionAcrossItemsConvertsThemAndJoinsEqualNeighbours) {
    TStyleDoc d({u"abc"});
    d.Select(0, 2, 0, 4);
    d.Doc().ApplyStyleConversion_(2, vdscTextStyle, false);
    ASSERT_EQ(d.Dump(), "a|bc");
    d.Select(0, 1, 1, 2);
    d.Doc().ApplyStyleConversion_(2, vdscTextStyle, false);
    EXPECT_EQ(d.Dump(), "abc");
    EXPECT_EQ(d.TextStyles(), "2");
    d.ExpectUndoRestores();
}

TEST(EditTextStyles, WithoutSelectionOnlyTheCurrentStyleChangesUnlessTheItemIsEmpty) {
    TStyleDoc d({u"abc"});
    d.Doc().ApplyStyleConversion_(2, vdscTextStyle, false);
    EXPECT_EQ(d.TextStyles(), "0");
    EXPECT_EQ(d.Doc().FCurTextStyleNo, 2);
    EXPECT_TRUE(d.UndoTypes().empty());

    TStyleDoc e({u""});
    e.Doc().ApplyStyleConversion_(2, vdscTextStyle, false);
    EXPECT_EQ(e.TextStyles(), "2");
    EXPECT_EQ(e.UndoTypes(), (std::vector<int>{vdutStyleNo}));
    e.ExpectUndoRestores();
}

TEST(EditTextStyles, ToAnEightBitStyleTheTextTakesItsCodePage) {
    TStyleDoc d({u"Жx\u4e2d"});
    d.Select(0, 1, 0, 4);
    d.Doc().ApplyStyleConversion_(3, vdscTextStyle, false);
    EXPECT_EQ(d.Dump(), "Жx?");
    EXPECT_FALSE(d.Doc().GetItem(0)->ItemOptions.Contains(vdioUnicode));
    d.ExpectUndoRestores();
}

TEST(EditTextStyles, ClearTagOnStyleAppClearsTheConvertedItemsTag) {
    TStyleDoc d({u"abcdef"});
    d.Doc().GetItem(0)->Tag = u"link";
    d.Start = d.VDFBytes();
    d.Doc().EditorOptions.Include(vdoClearTagOnStyleApp);
    d.Select(0, 2, 0, 5);
    d.Doc().ApplyStyleConversion_(2, vdscTextStyle, false);
    ASSERT_EQ(d.Dump(), "a|bcd|ef");
    EXPECT_EQ(d.Doc().GetItem(0)->Tag, u"link");
    EXPECT_TRUE(d.Doc().GetItem(1)->Tag.empty());
    EXPECT_EQ(d.Doc().GetItem(2)->Tag, u"link");
    d.ExpectUndoRestores();
}

TEST(EditTextStyles, ASplitProtectedStyleConvertsTheWholeItem) {
    TStyleDoc d({u"abcdef"});
    d.Style.GetTextStyles().GetItem(0).SetProtection({vdprStyleSplitProtect});
    d.Select(0, 2, 0, 5);
    d.Doc().ApplyStyleConversion_(2, vdscTextStyle, false);
    EXPECT_EQ(d.Dump(), "abcdef");
    EXPECT_EQ(d.TextStyles(), "2");
    d.ExpectUndoRestores();
}

TEST(EditParaStyles, TheCaretsWholeParagraphTakesTheStyleAndAProtectedOneStays) {
    TStyleDoc d({u"abc", u"def", u"ghi", u"jkl"});
    d.Doc().GetItem(2)->ParaNo = 2;
    d.Format();
    d.Start = d.VDFBytes();
    d.SetCaret(1, 2);
    d.Doc().BeginUndoSequence(vdutPara, true);
    d.Doc().ApplyParaStyle(1, vdscParaStyle, false, true);
    EXPECT_EQ(d.ParaStyles(), "0 1 2 0");
    d.Select(0, 1, 3, 2);
    d.Doc().BeginUndoSequence(vdutPara, true);
    d.Doc().ApplyParaStyle(1, vdscParaStyle, false, true);
    EXPECT_EQ(d.ParaStyles(), "1 1 2 1");
    EXPECT_EQ(d.UndoTypes(), (std::vector<int>{vdutPara, vdutPara}));
    d.ExpectUndoRestores();
}

TEST(EditParaStyles, AConversionComputesTheStylePerParagraph) {
    TStyleDoc d({u"abc", u"def"});
    d.Doc().FCurStyleConversion = [](TVDEditVDData &, int32_t styleNo, int32_t, int32_t, bool,
                                     int32_t &newStyleNo) { newStyleNo = styleNo + 1; };
    d.Doc().GetItem(1)->ParaNo = 1;
    d.Start = d.VDFBytes();
    d.Select(0, 2, 1, 2);
    d.Doc().BeginUndoSequence(vdutPara, true);
    d.Doc().ApplyParaStyle(0, vdscParaStyleConversion, false, true);
    EXPECT_EQ(d.ParaStyles(), "1 2");
    d.ExpectUndoRestores();
}
