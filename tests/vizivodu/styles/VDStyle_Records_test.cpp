// Style collections: merging another sheet's styles in the three modes, reference rewriting,
// duplicates and the all-or-nothing rule.
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "tests/vizivodu/StyleTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vizivodu;

namespace {

std::vector<rtl::Integer> Values(const TVDIntegerList &list) {
    return {list.begin(), list.end()};
}

// A document that counts the styles merged on its behalf.
class TCountingDocument : public TCustomVDDataHooks {
public:
    void AfterAddStyle(TCustomVDInfo &styleInfo) override {
        Added.push_back(styleInfo.GetStyleName());
    }
    std::vector<UnicodeString> Added;
};

class VDMerge : public ::testing::Test {
protected:
    TVDStyle FTarget{nullptr};
    TVDStyle FSource{nullptr};
    TVDIntegerList FMapping;
};

} // namespace

TEST_F(VDMerge, SmartMergeOfAnIdenticalSheetAddsNothing) {
    FTarget.GetTextStyles().MergeWith(FSource.GetTextStyles(), vds_merge_SmartMerge, FMapping,
                                      nullptr, nullptr);
    EXPECT_EQ(Values(FMapping), (std::vector<rtl::Integer>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(FMapping.IsIdentityMap());
    EXPECT_EQ(FTarget.GetTextStyles().GetCount(), 6);
}

TEST_F(VDMerge, SmartMergeIntoAnEmptyCollectionAppendsEverything) {
    FTarget.GetParaStyles().Clear();
    TCountingDocument document;
    FTarget.GetParaStyles().MergeWith(FSource.GetParaStyles(), vds_merge_SmartMerge, FMapping,
                                      nullptr, &document);
    EXPECT_EQ(Values(FMapping), (std::vector<rtl::Integer>{0, 1}));
    ASSERT_EQ(FTarget.GetParaStyles().GetCount(), 2);
    EXPECT_FALSE(FTarget.GetParaStyles().GetItem(0).GetStandard());
    EXPECT_EQ(FTarget.GetParaStyles().GetItem(1).GetAlignment(), vdaCenter);
    EXPECT_EQ(document.Added, (std::vector<UnicodeString>{u"Paragraph Style", u"Centered"}));
}

TEST_F(VDMerge, SmartMergeReusesAnEqualStyleAtAnotherIndex) {
    FSource.GetTextStyles().Clear();
    FSource.GetTextStyles().Add().Assign(FTarget.GetTextStyles().GetItem(3));
    TFontInfo &fresh = FSource.GetTextStyles().Add();
    fresh.SetSizeDouble(33);
    fresh.SetBaseStyleNo(0);
    FTarget.GetTextStyles().MergeWith(FSource.GetTextStyles(), vds_merge_SmartMerge, FMapping,
                                      nullptr, nullptr);
    EXPECT_EQ(Values(FMapping), (std::vector<rtl::Integer>{3, 6}));
    EXPECT_EQ(FTarget.GetTextStyles().GetItem(6).GetSizeDouble(), 33);
    // The appended style's base is renumbered: source 0 is target 3.
    EXPECT_EQ(FTarget.GetTextStyles().GetItem(6).GetBaseStyleNo(), 3);
}

TEST_F(VDMerge, AppendedReferencesAreRenumbered) {
    TParaInfos &source = FSource.GetParaStyles();
    TParaInfo &third = source.Add();
    third.SetLeftIndent(11);
    third.SetBaseStyleNo(1);
    third.SetNextParaNo(0);
    third.SetDefStyleNo(1);
    TParaInfos &target = FTarget.GetParaStyles();
    for (int i = 0; i < 5; ++i) {
        target.Add().SetRightIndent(100 + i);
    }
    const TVDIntegerList textMapping = TVDIntegerList::CreateEx(2, 9);
    target.MergeWith(source, vds_merge_SmartMerge, FMapping, &textMapping, nullptr);
    EXPECT_EQ(Values(FMapping), (std::vector<rtl::Integer>{0, 1, 7}));
    const TParaInfo &appended = target.GetItem(7);
    EXPECT_EQ(appended.GetBaseStyleNo(), 1);
    EXPECT_EQ(appended.GetNextParaNo(), 0);
    EXPECT_EQ(appended.GetDefStyleNo(), 9);
}

TEST_F(VDMerge, BaseStyleOfAnAppendedStyleFollowsTheMapping) {
    // Source style 1 maps to target 7; source style 3, appended, derives from it.
    TFontInfos &target = FTarget.GetTextStyles();
    target.Add().SetSizeDouble(38);
    target.Add().SetSizeDouble(40);
    TFontInfos &source = FSource.GetTextStyles();
    source.Clear();
    source.Add().Assign(target.GetItem(0));
    source.Add().Assign(target.GetItem(7));
    source.Add().Assign(target.GetItem(2));
    TFontInfo &derived = source.Add();
    derived.SetVShift(30);
    derived.SetBaseStyleNo(1);
    target.MergeWith(source, vds_merge_SmartMerge, FMapping, nullptr, nullptr);
    EXPECT_EQ(Values(FMapping), (std::vector<rtl::Integer>{0, 7, 2, 8}));
    EXPECT_EQ(target.GetItem(8).GetBaseStyleNo(), 7);
    EXPECT_EQ(target.GetItem(8).GetVShift(), 30);
}

TEST_F(VDMerge, MapModeFindsTheMostSimilarStyleAndAddsNothing) {
    TFontInfos &source = FSource.GetTextStyles();
    source.GetItem(0).SetSizeDouble(22);       // nearest: normal text
    source.GetItem(1).SetColor(gfx::clPurple); // nearest: another bold style
    FTarget.GetTextStyles().MergeWith(source, vds_merge_Map, FMapping, nullptr, nullptr);
    EXPECT_EQ(FMapping.Get(0), 0);
    EXPECT_EQ(FMapping.Get(4), 4);
    EXPECT_EQ(FMapping.Get(5), 4); // ties keep the lower index
    EXPECT_EQ(FTarget.GetTextStyles().GetCount(), 6);

    TVDStyle empty(nullptr);
    empty.GetParaStyles().Clear();
    empty.GetParaStyles().MergeWith(FSource.GetParaStyles(), vds_merge_Map, FMapping, nullptr,
                                    nullptr);
    EXPECT_EQ(Values(FMapping), (std::vector<rtl::Integer>{-1, -1}));
    EXPECT_EQ(empty.GetParaStyles().GetCount(), 0);
}

TEST_F(VDMerge, MapModeKeepsHypertextToHypertext) {
    TFontInfos &target = FTarget.GetTextStyles();
    target.Clear();
    TFontInfo &plainTwin = target.Add(); // the same look, but not hypertext
    plainTwin.SetColor(gfx::clBlue);
    plainTwin.SetStyle({gfx::fsUnderline});
    TFontInfo &jump = target.Add(); // hypertext, less alike
    jump.SetJump(true);
    jump.SetSizeDouble(30);
    TFontInfos &source = FSource.GetTextStyles();
    source.Clear();
    TFontInfo &link = source.Add();
    link.Assign(plainTwin);
    link.SetJump(true);
    EXPECT_GT(plainTwin.SimilarityValue(link), jump.SimilarityValue(link));
    target.MergeWith(source, vds_merge_Map, FMapping, nullptr, nullptr);
    EXPECT_EQ(Values(FMapping), (std::vector<rtl::Integer>{1}));
}

TEST_F(VDMerge, AppendModeCopiesEverySourceStyle) {
    TCountingDocument document;
    FTarget.GetTextStyles().MergeWith(FSource.GetTextStyles(), vds_merge_Append, FMapping, nullptr,
                                      &document);
    EXPECT_EQ(Values(FMapping), (std::vector<rtl::Integer>{6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(FTarget.GetTextStyles().GetCount(), 12);
    EXPECT_EQ(document.Added.size(), 6u);
    EXPECT_FALSE(FTarget.GetTextStyles().GetItem(11).GetStandard());
}

TEST_F(VDMerge, MergeWithABadReferenceLeavesTheTargetUnchanged) {
    TFontInfos &source = FSource.GetTextStyles();
    source.GetItem(5).SetVShift(7);       // will be appended
    source.GetItem(5).SetBaseStyleNo(40); // but refers beyond the source
    TCountingDocument document;
    FMapping.Add(123);
    try {
        FTarget.GetTextStyles().MergeWith(source, vds_merge_Append, FMapping, nullptr, &document);
        FAIL();
    } catch (const rtl::EListError &e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (40)");
    }
    EXPECT_EQ(FTarget.GetTextStyles().GetCount(), 6);
    EXPECT_EQ(FMapping.GetCount(), 0);

    TVDIntegerList shortTextMapping;
    FSource.GetParaStyles().GetItem(1).SetDefStyleNo(3);
    FSource.GetParaStyles().GetItem(1).SetLeftIndent(9);
    EXPECT_THROW(FTarget.GetParaStyles().MergeWith(FSource.GetParaStyles(), vds_merge_SmartMerge,
                                                   FMapping, &shortTextMapping, nullptr),
                 rtl::EListError);
    EXPECT_EQ(FTarget.GetParaStyles().GetCount(), 2);
}

TEST_F(VDMerge, MergedListsKeepTheirIdentifiers) {
    SetRandomSeedForTesting(11);
    TVDListInfo &list = FSource.GetListStyles().Add();
    list.GetLevels().Add().SetListType(vdlstDecimal);
    const int32_t id = list.GetListID();
    FTarget.GetListStyles().MergeWith(FSource.GetListStyles(), vds_merge_SmartMerge, FMapping,
                                      nullptr, nullptr);
    ASSERT_EQ(FTarget.GetListStyles().GetCount(), 1);
    EXPECT_EQ(FTarget.GetListStyles().GetItem(0).GetListID(), id);
    // Merged again, the equal list is reused.
    FTarget.GetListStyles().MergeWith(FSource.GetListStyles(), vds_merge_SmartMerge, FMapping,
                                      nullptr, nullptr);
    EXPECT_EQ(Values(FMapping), (std::vector<rtl::Integer>{0}));
    EXPECT_EQ(FTarget.GetListStyles().GetCount(), 1);
}

TEST_F(VDMerge, DuplicatesAndNames) {
    TFontInfos &styles = FTarget.GetTextStyles();
    EXPECT_EQ(styles.FindDuplicate(4), 5);
    EXPECT_EQ(styles.FindDuplicate(5), 4);
    EXPECT_EQ(styles.FindDuplicate(0), -1);
    FTarget.GetParaStyles().Add();
    EXPECT_EQ(FTarget.GetParaStyles().FindDuplicate(2), 0);
    EXPECT_EQ(FTarget.GetListStyles().FindDuplicate(0), -1);
    TVDStyle single(nullptr);
    single.GetTextStyles().Clear();
    single.GetTextStyles().Add();
    EXPECT_EQ(single.GetTextStyles().FindDuplicate(0), -1);

    rtl::TStringList names;
    names.Add(u"old");
    FTarget.GetParaStyles().AssignTo(names);
    EXPECT_EQ(names.GetText(), u"Paragraph Style\r\nCentered\r\nParagraph Style\r\n");
}
