// Paragraph styles: the invalid-index style, setters, the three comparisons, similarity,
// modified properties and the searches.
#include "vizivodu/styles/VDStyle.h"

#include "tests/vizivodu/StyleTestSupport.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

class VDParaStyles : public ::testing::Test {
protected:
    TParaInfos &Styles() { return FSheet.GetParaStyles(); }
    test::TPixelsPerInchOverride FPpi{96};
    TVDStyle FSheet{nullptr};
};

} // namespace

TEST_F(VDParaStyles, InvalidIndexGivesOneFramedCopyOfStyleZero) {
    Styles().GetItem(0).SetAlignment(vdaRight);
    TParaInfo &invalid = Styles().GetItem(-1);
    EXPECT_EQ(&invalid, &Styles().GetItem(Styles().GetCount()));
    EXPECT_EQ(invalid.GetAlignment(), vdaRight);
    EXPECT_EQ(invalid.GetSpaceBefore(), 3);
    EXPECT_EQ(invalid.GetSpaceAfter(), 3);
    EXPECT_EQ(invalid.GetLeftIndent(), 3);
    EXPECT_EQ(invalid.GetRightIndent(), 3);
    EXPECT_EQ(invalid.GetBorder().Color, gfx::clRed);
    EXPECT_EQ(invalid.GetBorder().Style, vdbSingle);
    EXPECT_EQ(invalid.GetBorder().Width, 2);
    EXPECT_TRUE(invalid.GetBorder().GetBorderOffsets().IsAllEqual(1));
    EXPECT_EQ(invalid.GetVDStyle(), &FSheet);
}

TEST(VDParaStyleCollection, InvalidIndexInATwipsSheet) {
    test::TPixelsPerInchOverride ppi(96);
    TVDStyle sheet(nullptr);
    sheet.ConvertToTwips();
    const TParaInfo &invalid = sheet.GetParaStyles().GetItem(5);
    EXPECT_EQ(invalid.GetSpaceBefore(), 45);
    EXPECT_EQ(invalid.GetBorder().Width, 30);
    EXPECT_TRUE(invalid.GetBorder().GetBorderOffsets().IsAllEqual(15));
}

TEST_F(VDParaStyles, SpacesAreNeverNegativeButIndentsMayBe) {
    TParaInfo style(nullptr);
    style.SetSpaceBefore(-5);
    style.SetSpaceAfter(-1);
    style.SetFirstIndent(-20);
    EXPECT_EQ(style.GetSpaceBefore(), 0);
    EXPECT_EQ(style.GetSpaceAfter(), 0);
    EXPECT_EQ(style.GetFirstIndent(), -20);
    EXPECT_EQ(style.GetStyleName(), u"Paragraph Style");
    EXPECT_TRUE(style.IsHeading(0) == false);
    style.SetOutlineLevel(2);
    EXPECT_TRUE(style.IsHeading(2));
    EXPECT_FALSE(style.IsHeading(1));
}

TEST_F(VDParaStyles, EqualityWithIgnoreMasks) {
    TParaInfo a(nullptr), b(nullptr);
    b.SetStyleName(u"Other");
    EXPECT_TRUE(a.IsEqual(b, {}));
    EXPECT_TRUE(a.IsSimpleEqual(b, {}));

    b.GetTabs().Add().SetPosition(40);
    EXPECT_FALSE(a.IsEqual(b, {}));
    EXPECT_TRUE(a.IsEqual(b, {vdpiTabs}));
    b.GetTabs().Clear();

    b.GetBorder().VisibleBorders.Left = false;
    EXPECT_TRUE(a.IsEqual(b, {vdpiBorder_Vis_Left}));
    b.GetBorder().VisibleBorders.Top = false;
    EXPECT_FALSE(a.IsEqual(b, {vdpiBorder_Vis_Left}));
    b.GetBorder().VisibleBorders.SetAll(true);

    b.SetOptions({vdpaoKeepWithNext});
    EXPECT_FALSE(a.IsEqual(b, {}));
    EXPECT_TRUE(a.IsEqual(b, {vdpiKeepWithNext}));
    b.SetOptions({});

    b.SetStyleTemplateId(4);
    EXPECT_FALSE(a.IsEqual(b, AllParaStyleProperties));
    b.SetStyleTemplateId(-1);
    b.SetNextParaNo(1);
    EXPECT_FALSE(a.IsEqual(b, {}));
    EXPECT_TRUE(a.IsEqual(b, {vdpiNextParaNo}));
    EXPECT_FALSE(a.IsSimpleEqual(b, {}));
    EXPECT_TRUE(a.IsSimpleEqual(b, {vdseIgnoreReferences}));
    b.ModifiedProperties = {vdpiAlignment};
    EXPECT_FALSE(a.IsSimpleEqual(b, {vdseIgnoreReferences}));
}

TEST_F(VDParaStyles, IsSimpleEqualExDropsAReferenceBeyondTheMapping) {
    TParaInfo target(nullptr), source(nullptr);
    const TVDIntegerList mapping = TVDIntegerList::CreateEx(1, 0);
    source.SetNextParaNo(3);
    EXPECT_TRUE(target.IsSimpleEqualEx(source, mapping));
    EXPECT_EQ(source.GetNextParaNo(), -1);
    source.SetNextParaNo(0);
    EXPECT_FALSE(target.IsSimpleEqualEx(source, mapping));
    target.SetNextParaNo(0);
    EXPECT_TRUE(target.IsSimpleEqualEx(source, mapping));
}

TEST_F(VDParaStyles, ModifiedPropertiesOfLineSpacing) {
    TParaInfo fresh(nullptr);
    EXPECT_EQ(fresh.CalculateModifiedProperties2({vdpiLineSpacingType}),
              (TVDParaInfoProperties{vdpiLineSpacing, vdpiLineSpacingType}));
    EXPECT_TRUE(fresh.CalculateModifiedProperties2({vdpiLineSpacing}).Empty());
    fresh.SetLineSpacing(150);
    EXPECT_EQ(fresh.CalculateModifiedProperties2({vdpiLineSpacing}),
              (TVDParaInfoProperties{vdpiLineSpacing, vdpiLineSpacingType}));
}

TEST_F(VDParaStyles, ModifiedPropertiesAgainstAStyleAndTheDefaults) {
    TParaInfo style(nullptr);
    style.SetLeftIndent(5);
    style.SetAlignment(vdaCenter);
    style.GetBorder().Style = vdbSingle;
    style.GetBorder().VisibleBorders.Bottom = false;
    style.GetBackground().Opacity = 5;
    style.SetOptions({vdpaoNoWrap});
    style.GetTabs().Add().SetPosition(10);
    const TVDParaInfoProperties all =
        AllParaStyleProperties - TVDParaInfoProperties{vdpiLineSpacingType};
    EXPECT_EQ(style.CalculateModifiedProperties2(all),
              (TVDParaInfoProperties{vdpiLeftIndent, vdpiAlignment, vdpiBorder_Style,
                                     vdpiBorder_Vis_Bottom, vdpiBackground_Opacity, vdpiNoWrap,
                                     vdpiTabs}));
    TParaInfo other(nullptr);
    other.Assign(style);
    other.SetLineSpacingType(vdlsLineHeightExact);
    other.SetNextParaNo(4);
    EXPECT_EQ(style.CalculateModifiedProperties(other, AllParaStyleProperties),
              (TVDParaInfoProperties{vdpiLineSpacing, vdpiLineSpacingType}));
    style.IncludeModifiedProperties(other, {vdpiLineSpacing});
    EXPECT_EQ(style.ModifiedProperties,
              (TVDParaInfoProperties{vdpiLineSpacing, vdpiLineSpacingType}));
}

TEST_F(VDParaStyles, SimilarityOfTwoDefaultStyles) {
    const TParaInfo a(nullptr), b(nullptr);
    // Indents and spaces 5 x 1000, background 80000 + 1000 + 400, tabs 0, border 4 x 20000,
    // alignment with last line 66666, BiDi 10000, outline 50000, options 113500, spacing 5000.
    EXPECT_EQ(a.SimilarityValue(b), 411566);
    TParaInfo c(nullptr);
    c.SetLineSpacingType(vdlsLineHeightExact);
    c.SetLineSpacing(20);
    // Different kinds: no spacing score, and a penalty when only one has a line spacing.
    EXPECT_EQ(a.SimilarityValue(c), 411566 - 5000 - 20000);
    c.SetLineSpacing(0);
    EXPECT_EQ(a.SimilarityValue(c), 411566 - 5000);
    c.SetLineSpacingType(vdlsPercent);
    c.SetLineSpacing(100);
    c.SetOptions({vdpaoReadOnly});
    c.SetLastLineAlignment(vdllaCenter);
    EXPECT_EQ(a.SimilarityValue(c), 411566 - 100000 - 16666);
}

TEST_F(VDParaStyles, UnitConversionKeepsAPercentage) {
    TParaInfo &style = Styles().GetItem(0);
    style.SetLineSpacing(150);
    style.SetSpaceAfter(4);
    FSheet.ConvertToTwips();
    EXPECT_EQ(style.GetLineSpacing(), 150);
    EXPECT_EQ(style.GetSpaceAfter(), 60);
}

TEST_F(VDParaStyles, Searches) {
    EXPECT_EQ(Styles().FindStyleWithAlignment(0, vdaCenter), 1);
    EXPECT_EQ(Styles().FindStyleWithAlignment(1, vdaCenter), 1);
    EXPECT_EQ(Styles().FindStyleWithAlignment(0, vdaRight), -1);

    TParaInfo probe(nullptr);
    probe.SetStyleTemplateId(7);
    // A mask that selects nothing still tells styles apart by their template.
    EXPECT_EQ(Styles().FindSuchStyle(0, probe, {}), -1);
    Styles().GetItem(1).SetStyleTemplateId(7);
    EXPECT_EQ(Styles().FindSuchStyle(0, probe, {}), 1);
    Styles().GetItem(0).SetStyleTemplateId(7);
    EXPECT_EQ(Styles().FindSuchStyle(0, probe, {}), 0);
    EXPECT_EQ(Styles().FindSuchStyle(0, probe, {vdpiAlignment}), 0);
    probe.SetAlignment(vdaJustify);
    EXPECT_EQ(Styles().FindSuchStyle(0, probe, {vdpiAlignment}), -1);
    EXPECT_EQ(Styles().FindSuchStyleEx(0, probe, {vdpiAlignment}), 2);
    EXPECT_FALSE(Styles().GetItem(2).GetStandard());
    EXPECT_EQ(Styles().GetItem(2).GetAlignment(), vdaJustify);
}

TEST_F(VDParaStyles, AssignmentByPropertySet) {
    TParaInfo source(nullptr), target(nullptr);
    source.SetLineSpacing(200);
    source.SetLineSpacingType(vdlsSpaceBetween);
    source.SetOptions({vdpaoReadOnly, vdpaoNoWrap});
    source.GetBackground().Color = gfx::clAqua;
    source.GetTabs().Add().SetPosition(30);
    source.SetNextParaNo(2);
    target.AssignSelectedProperties(
        source, {vdpiLineSpacingType, vdpiReadOnly, vdpiBackground_Color, vdpiNextParaNo});
    EXPECT_EQ(target.GetLineSpacing(), 200);
    EXPECT_EQ(target.GetLineSpacingType(), vdlsSpaceBetween);
    EXPECT_EQ(target.GetOptions(), TVDParaOptions{vdpaoReadOnly});
    EXPECT_EQ(target.GetBackground().Color, gfx::clAqua);
    EXPECT_EQ(target.GetTabs().GetCount(), 0);
    EXPECT_EQ(target.GetNextParaNo(), -1);

    TParaInfo copy(nullptr);
    copy.Assign(source);
    EXPECT_TRUE(copy.IsEqual(source, {}));
    copy.Reset();
    EXPECT_TRUE(copy.IsEqual(TParaInfo(nullptr), {}));
    EXPECT_FALSE(copy.HasLineSpacing());
}
