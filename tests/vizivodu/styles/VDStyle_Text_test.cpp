// Text styles: the invalid-index style, sizes, the three comparisons, similarity, modified
// properties and the searches.
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Exceptions.h"
#include "tests/vizivodu/StyleTestSupport.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

class VDTextStyles : public ::testing::Test {
protected:
    TFontInfos &Styles() { return FSheet.GetTextStyles(); }
    TVDStyle FSheet{nullptr};
};

} // namespace

TEST_F(VDTextStyles, InvalidIndexGivesOneWhiteOnRedCopyOfStyleZero) {
    TFontInfo &byMinusOne = Styles().GetItem(-1);
    TFontInfo &byCount = Styles().GetItem(Styles().GetCount());
    EXPECT_EQ(&byMinusOne, &byCount);
    EXPECT_EQ(byMinusOne.GetColor(), gfx::clWhite);
    EXPECT_EQ(byMinusOne.GetBackColor(), gfx::clRed);
    EXPECT_EQ(byMinusOne.GetStyleName(), u"Normal text");
    EXPECT_EQ(byMinusOne.GetFontName(), u"Arial");
    EXPECT_EQ(byMinusOne.GetVDStyle(), &FSheet);
    EXPECT_EQ(byMinusOne.GetCollection(), nullptr);
    EXPECT_EQ(Styles().GetCount(), 6);
}

TEST(VDTextStyleCollection, InvalidIndexNeedsAStyleSheet) {
    TFontInfos free([](TVDCollection *c) { return std::make_unique<TFontInfo>(c); }, nullptr);
    try {
        free.GetItem(0);
        FAIL();
    } catch (const rtl::EInvalidCast &e) {
        EXPECT_STREQ(e.what(), "Invalid class typecast");
    }
}

TEST_F(VDTextStyles, SizeInWholePoints) {
    TFontInfo &s = Styles().GetItem(0);
    s.SetSizeDouble(21);
    EXPECT_EQ(s.GetSize(), 10);
    s.SetSize(11);
    EXPECT_EQ(s.GetSizeDouble(), 22);
}

TEST_F(VDTextStyles, FontNamesCompareWithoutCaseExceptInTheirOwnSearch) {
    TFontInfo &a = Styles().GetItem(0);
    TFontInfo &b = Styles().Add();
    b.Assign(a);
    b.SetFontName(u"ARIAL");
    EXPECT_TRUE(a.IsEqual(b, {}));
    EXPECT_TRUE(a.IsSimpleEqual(b, {}));
    EXPECT_EQ(Styles().FindStyleWithFontName(0, u"ARIAL"), 6);
    EXPECT_EQ(Styles().FindStyleWithFontName(0, u"Arial"), 0);
    EXPECT_EQ(Styles().FindStyleWithFontName(0, u"arial"), -1);
}

TEST_F(VDTextStyles, BaseStyleNoCountsForIsEqualOnly) {
    TFontInfo &a = Styles().GetItem(0);
    TFontInfo b(nullptr);
    b.Assign(a);
    b.SetBaseStyleNo(3);
    EXPECT_FALSE(a.IsEqual(b, {}));
    EXPECT_TRUE(a.IsEqual(b, {vdfiBaseStyleNo}));
    EXPECT_TRUE(a.IsSimpleEqual(b, {}));
}

TEST_F(VDTextStyles, EqualityOfTheTextStyleMembers) {
    TFontInfo &a = Styles().GetItem(0);
    TFontInfo b(nullptr);
    b.Assign(a);
    b.SetJump(true);
    EXPECT_FALSE(a.IsEqual(b, {}));
    EXPECT_TRUE(a.IsEqual(b, {vdfiJump}));
    EXPECT_FALSE(a.IsSimpleEqual(b, {}));
    b.SetJump(false);
    b.SetNextStyleNo(2);
    EXPECT_FALSE(a.IsSimpleEqual(b, {}));
    EXPECT_TRUE(a.IsSimpleEqual(b, {vdseIgnoreReferences}));
    b.SetNextStyleNo(-1);
    b.SetParaStyleTemplateId(9);
    EXPECT_FALSE(a.IsEqual(b, AllTextStyleProperties));
    b.SetParaStyleTemplateId(-1);
    b.SetOptions({vdteoDocXInRunCode});
    EXPECT_FALSE(a.IsEqual(b, {}));
    EXPECT_TRUE(a.IsEqual(b, {vdfiDocXCode}));
    b.SetStyleName(u"Another name");
    b.SetOptions({});
    EXPECT_TRUE(a.IsEqual(b, {}));
}

TEST_F(VDTextStyles, IsSimpleEqualExDropsAReferenceBeyondTheMapping) {
    TFontInfo &target = Styles().GetItem(0);
    TFontInfo source(nullptr);
    source.Assign(target);
    TVDIntegerList mapping = TVDIntegerList::CreateEx(2, 0);
    source.SetNextStyleNo(5);
    EXPECT_TRUE(target.IsSimpleEqualEx(source, mapping));
    EXPECT_EQ(source.GetNextStyleNo(), -1);
    source.SetNextStyleNo(1);
    mapping.Put(1, 4);
    EXPECT_FALSE(target.IsSimpleEqualEx(source, mapping));
    target.SetNextStyleNo(4);
    EXPECT_TRUE(target.IsSimpleEqualEx(source, mapping));
}

TEST_F(VDTextStyles, SearchesForStylesThatDifferInAFewProperties) {
    TFontInfo &base = Styles().GetItem(0);
    TFontInfo &odd = Styles().Add();
    odd.Assign(base);
    odd.SetSizeDouble(21);
    TFontInfo &ten = Styles().Add();
    ten.Assign(base);
    ten.SetSizeDouble(24);
    EXPECT_EQ(Styles().FindStyleWithFontSize(0, 10), 0);
    EXPECT_EQ(Styles().FindStyleWithFontSize(0, 12), 7);
    EXPECT_EQ(Styles().FindStyleWithFontSize(6, 10), 0); // skips SizeDouble 21
    EXPECT_EQ(Styles().FindStyleWithFontSize(0, 9), -1);

    // The blue heading is bold, so it is not like style 0.
    EXPECT_EQ(Styles().FindStyleWithColor(0, 0xFF0000, gfx::clNone), -1);
    EXPECT_EQ(Styles().FindStyleWithColor(1, 0x800000, gfx::clNone), 2);
    EXPECT_EQ(Styles().FindStyleWithFontStyle(0, {gfx::fsItalic}, {gfx::fsItalic}), -1);
    EXPECT_EQ(Styles().FindStyleWithFontStyle(1, {}, {gfx::fsBold}), -1);

    TFontInfo &ansi = Styles().Add();
    ansi.Assign(base);
    ansi.SetUnicode(false);
    ansi.SetCharset(gfx::RUSSIAN_CHARSET);
    EXPECT_EQ(Styles().FindStyleWithCharset(0, gfx::RUSSIAN_CHARSET), 8);
    EXPECT_EQ(Styles().FindStyleWithCharset(8, gfx::RUSSIAN_CHARSET), 8);
    EXPECT_EQ(Styles().FindStyleWithCharset(0, gfx::DEFAULT_CHARSET), -1); // 0 is Unicode

    gfx::TFont font;
    font.SetName(u"Arial");
    font.SetSize(10);
    font.SetColor(0xFF0000);
    font.SetStyle({gfx::fsBold});
    EXPECT_EQ(Styles().FindStyleWithFont(0, font), 1);
    // Style bits and colours are what the font sets; hypertext still tells styles apart.
    EXPECT_EQ(Styles().FindStyleWithFont(3, font), 1);
    EXPECT_EQ(Styles().FindStyleWithFont(4, font), -1);
}

TEST_F(VDTextStyles, FindSuchStyleComparesTheMaskOnly) {
    TFontInfo probe(nullptr);
    probe.SetColor(0x800000);
    probe.SetStyle({gfx::fsBold});
    EXPECT_EQ(Styles().FindSuchStyle(0, probe, {vdfiColor}), 2);
    EXPECT_EQ(Styles().FindSuchStyle(2, probe, {vdfiColor, vdfiBold}), 2);
    probe.SetColor(gfx::clPurple);
    EXPECT_EQ(Styles().FindSuchStyle(0, probe, {vdfiColor}), -1);
    EXPECT_EQ(Styles().FindSuchStyleEx(0, probe, {vdfiColor}), 6);
    EXPECT_FALSE(Styles().GetItem(6).GetStandard());
    EXPECT_EQ(Styles().GetItem(6).GetColor(), gfx::clPurple);
}

TEST_F(VDTextStyles, SimilarityOfTwoDefaultStylesIsTheSumOfEveryReward) {
    const TFontInfo a(nullptr), b(nullptr);
    // Size 5000, VShift 1000, CharScale 300, CharSpacing 1000, colour 3000, background
    // 50000 + 3 x 10000, BiDiMode 1000, script type 50000, face 10000, style bits 4 x 50000,
    // overline, all caps and no style 3 x 50000, options 3 x 50000 + 5000, charset 50000.
    EXPECT_EQ(a.SimilarityValue(b), 706300);
    TFontInfo &inSheet = Styles().GetItem(0);
    FSheet.SetUnits(vdstuTwips);
    EXPECT_EQ(inSheet.SimilarityValue(a), 706300 - 1000 + 66);
}

TEST_F(VDTextStyles, SimilarityRewardsAndPenalties) {
    const TFontInfo base(nullptr);
    TFontInfo other(nullptr);
    other.SetProtection({vdprDeleteProtect});
    EXPECT_EQ(base.SimilarityValue(other), 706300 - 100000);
    other.SetProtection({});
    other.SetCharset(gfx::RUSSIAN_CHARSET);
    EXPECT_EQ(base.SimilarityValue(other), 706300 - 50000 + 12500);
    other.SetCharset(gfx::DEFAULT_CHARSET);
    other.SetStyle({gfx::fsBold});
    EXPECT_EQ(base.SimilarityValue(other), 706300 - 50000 - 50000);
    // Hover properties count only between two hypertext styles.
    TFontInfo jumpA(nullptr), jumpB(nullptr);
    jumpA.SetJump(true);
    jumpB.SetJump(true);
    jumpB.SetJumpCursor(5);
    EXPECT_EQ(jumpA.SimilarityValue(jumpB),
              706300 + 10000 + (3000 + 3 * 3333) / 2 + (50000 + 3 * 10000) / 2);
}

TEST_F(VDTextStyles, AssignmentsAndReset) {
    TFontInfo &s = Styles().GetItem(1);
    TFontInfo copy(nullptr);
    copy.SetStyleTemplateId(4);
    copy.Assign(s);
    EXPECT_TRUE(copy.IsEqual(s, {}));
    EXPECT_EQ(copy.GetStyleTemplateId(), -1);

    gfx::TFont font;
    font.SetName(u"Courier New");
    font.SetSize(14);
    font.SetColor(gfx::clGreen);
    font.SetStyle({gfx::fsItalic});
    font.SetCharset(gfx::RUSSIAN_CHARSET);
    copy.SetBackColor(gfx::clYellow);
    copy.Assign(font);
    EXPECT_EQ(copy.GetFontName(), u"Courier New");
    EXPECT_EQ(copy.GetSizeDouble(), 28);
    EXPECT_EQ(copy.GetColor(), gfx::clGreen);
    EXPECT_EQ(copy.GetStyle(), gfx::TFontStyles{gfx::fsItalic});
    EXPECT_EQ(copy.GetCharset(), gfx::RUSSIAN_CHARSET);
    EXPECT_EQ(copy.GetBackColor(), gfx::clYellow);

    gfx::TFont back;
    copy.AssignTo(back);
    EXPECT_TRUE(back.SameAs(font));

    copy.SetStyleName(u"Mine");
    copy.SetJump(true);
    copy.SetNextStyleNo(3);
    copy.SetHoverColor(gfx::clRed);
    copy.Reset();
    EXPECT_TRUE(copy.IsEqual(TFontInfo(nullptr), {}));
    EXPECT_EQ(copy.GetStyleName(), u"Mine");

    TFontInfo selected(nullptr);
    selected.AssignSelectedProperties(s, {vdfiBold, vdfiColor, vdfiJump, vdfiBaseStyleNo});
    EXPECT_EQ(selected.GetStyle(), gfx::TFontStyles{gfx::fsBold});
    EXPECT_EQ(selected.GetColor(), 0xFF0000);
    TFontInfo docx(nullptr);
    docx.SetOptions({vdteoDocXCode, vdteoDocXInRunCode, vdteoHidden});
    selected.AssignSelectedProperties(docx, {vdfiDocXCode});
    EXPECT_EQ(selected.GetOptions(), (TVDTextOptions{vdteoDocXCode, vdteoDocXInRunCode}));
}

TEST_F(VDTextStyles, ModifiedProperties) {
    TFontInfo style(nullptr);
    EXPECT_TRUE(style.CalculateModifiedProperties2(AllTextStyleProperties).Empty());
    style.SetFontName(u"ARIAL");
    EXPECT_TRUE(style.CalculateModifiedProperties2(AllTextStyleProperties).Empty());
    style.SetFontName(u"Tahoma");
    style.SetStyle({gfx::fsItalic});
    style.SetJump(true);
    style.SetColor(gfx::clRed);
    EXPECT_EQ(style.CalculateModifiedProperties2(AllTextStyleProperties),
              (TVDFontInfoProperties{vdfiFontName, vdfiItalic, vdfiJump, vdfiColor}));
    EXPECT_EQ(style.CalculateModifiedProperties2({vdfiColor, vdfiSize}),
              (TVDFontInfoProperties{vdfiColor}));
    const TFontInfo plain(nullptr);
    EXPECT_EQ(style.CalculateModifiedProperties(plain, {vdfiJump, vdfiItalic, vdfiBold}),
              (TVDFontInfoProperties{vdfiJump, vdfiItalic}));
    style.IncludeModifiedProperties(plain, {vdfiItalic});
    style.IncludeModifiedProperties2({vdfiColor});
    EXPECT_EQ(style.ModifiedProperties, (TVDFontInfoProperties{vdfiItalic, vdfiColor}));
}

TEST_F(VDTextStyles, SymbolCharset) {
    TFontInfo style(nullptr);
    EXPECT_FALSE(style.IsSymbolCharset());
    style.SetFontName(u"wingdings");
    EXPECT_TRUE(style.IsSymbolCharset());
    style.SetFontName(u"Arial");
    style.SetCharset(gfx::SYMBOL_CHARSET);
    EXPECT_TRUE(style.IsSymbolCharset());
}

TEST_F(VDTextStyles, AddingStylesWithGivenValues) {
    TFontInfo &added = Styles().AddFontEx(u"Tahoma", 8, gfx::clRed, gfx::clYellow, {gfx::fsBold},
                                          gfx::RUSSIAN_CHARSET);
    EXPECT_EQ(added.GetIndex(), 6);
    EXPECT_EQ(added.GetSizeDouble(), 16);
    EXPECT_EQ(added.GetBackColor(), gfx::clYellow);
    EXPECT_EQ(added.GetCharset(), gfx::RUSSIAN_CHARSET);
    Styles().SetItem(0, added);
    EXPECT_EQ(Styles().GetItem(0).GetFontName(), u"Tahoma");
}
