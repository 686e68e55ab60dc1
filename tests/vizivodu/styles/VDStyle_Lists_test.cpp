// List levels and list styles: defaults, lazily made fonts and pictures, equality (pictures by
// their bytes), similarity, identifiers and the searches.
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/ImgList.h"
#include "platform/rtl/Exceptions.h"
#include "tests/vizivodu/StyleTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vizivodu;

namespace {

class VDLists : public ::testing::Test {
protected:
    VDLists() { SetRandomSeedForTesting(3); }
    TVDListInfos &Lists() { return FSheet.GetListStyles(); }
    TVDStyle FSheet{nullptr};
};

std::unique_ptr<gfx::TPicture> PictureOf(int32_t width, int32_t height, uint32_t pixel) {
    gfx::TBitmap bitmap(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            bitmap.ScanLine(y)[x] = pixel;
        }
    }
    auto picture = std::make_unique<gfx::TPicture>();
    picture->SetGraphic(&bitmap);
    return picture;
}

} // namespace

TEST_F(VDLists, NewLevelIsAMiddleDotBullet) {
    TVDListInfo &list = Lists().Add();
    EXPECT_EQ(list.GetStyleName(), u"List Style");
    EXPECT_EQ(list.GetLevels().GetCount(), 0);
    TVDListLevel &level = list.GetLevels().Add();
    EXPECT_EQ(level.GetListType(), vdlstBullet);
    EXPECT_EQ(level.GetFormatString(), u"\u00B7");
    EXPECT_EQ(level.GetFirstIndent(), 10);
    EXPECT_EQ(level.GetStartFrom(), 1);
    EXPECT_EQ(level.GetOptions(), (TVDListLevelOptions{vdloContinuous, vdloLevelReset}));
    EXPECT_FALSE(level.HasPicture());
    EXPECT_EQ(level.GetDisplayName(), u"bullet 0/0/10");
    EXPECT_EQ(level.GetFont().GetName(), u"Arial");
    EXPECT_EQ(level.GetFont().GetSize(), 8);
    EXPECT_TRUE(level.GetFont().IsDefault());
    level.GetPicture();
    EXPECT_FALSE(level.HasPicture());
}

TEST_F(VDLists, KindPredicates) {
    struct TCase {
        TVDListType Type;
        bool Numbering, VariableWidth, Font;
        const char16_t *Name;
    };
    const TCase cases[] = {
        {vdlstBullet, false, false, true, u"bullet"},
        {vdlstPicture, false, false, false, u"pic"},
        {vdlstImageList, false, false, false, u"image-list"},
        {vdlstDecimal, true, true, true, u"1,2,3"},
        {vdlstLowerAlpha, true, true, true, u"a,b,c"},
        {vdlstUpperAlpha, true, true, true, u"A,B,C"},
        {vdlstLowerRoman, true, true, true, u"i,ii,iii"},
        {vdlstUpperRoman, true, true, true, u"I,II,III"},
        {vdlstImageListCounter, true, false, false, u"image-list counter"},
        {vdlstUnicodeBullet, false, false, true, u"unicode bullet"},
    };
    TVDListLevel &level = Lists().Add().GetLevels().Add();
    level.SetLeftIndent(5);
    level.SetMarkerIndent(-2);
    for (const TCase &c : cases) {
        level.SetListType(c.Type);
        EXPECT_EQ(level.HasNumbering(), c.Numbering) << c.Type;
        EXPECT_EQ(level.HasVariableWidth(), c.VariableWidth) << c.Type;
        EXPECT_EQ(level.UsesFont(), c.Font) << c.Type;
        EXPECT_EQ(level.GetDisplayName(), UnicodeString(c.Name) + u" 5/-2/10") << c.Type;
    }
}

TEST_F(VDLists, StartFromCountsOnlyForNumberedLevels) {
    TVDListLevelCollection &levels = Lists().Add().GetLevels();
    TVDListLevel &a = levels.Add();
    TVDListLevel &b = levels.Add();
    b.SetStartFrom(5);
    EXPECT_TRUE(a.IsSimpleEqual(b));
    a.SetListType(vdlstDecimal);
    b.SetListType(vdlstDecimal);
    EXPECT_FALSE(a.IsSimpleEqual(b));
    EXPECT_EQ(a.SimilarityValue(b), 5000 + 11 * 100);
}

TEST_F(VDLists, FontsAndPicturesCompareByContent) {
    TVDListLevelCollection &levels = Lists().Add().GetLevels();
    TVDListLevel &a = levels.Add();
    TVDListLevel &b = levels.Add();
    b.GetFont(); // a default font equals no font
    EXPECT_TRUE(a.IsSimpleEqual(b));
    b.GetFont().SetName(u"ARIAL");
    EXPECT_TRUE(a.IsSimpleEqual(b));
    b.GetFont().SetColor(gfx::clRed);
    EXPECT_FALSE(a.IsSimpleEqual(b));
    a.GetFont().SetColor(gfx::clRed);
    EXPECT_TRUE(a.IsSimpleEqual(b));

    const auto red = PictureOf(2, 2, 0xFFFF0000u);
    const auto otherRed = PictureOf(2, 2, 0xFFFF0000u);
    const auto blue = PictureOf(2, 2, 0xFF0000FFu);
    a.SetPicture(red.get());
    EXPECT_TRUE(a.HasPicture());
    EXPECT_TRUE(a.GetPicture().GetGraphic()->GetTransparent());
    EXPECT_FALSE(a.IsSimpleEqual(b));
    b.SetPicture(otherRed.get());
    EXPECT_TRUE(a.IsSimpleEqual(b));
    b.SetPicture(blue.get());
    EXPECT_FALSE(a.IsSimpleEqual(b));
    b.SetPicture(nullptr);
    EXPECT_FALSE(b.HasPicture());
}

TEST_F(VDLists, IdentifierIsDrawnOnceAndCopiedOnlyWhenAllowed) {
    TVDListInfo &list = Lists().Add();
    const int32_t id = list.GetListID();
    EXPECT_NE(id, 0);
    EXPECT_EQ(list.GetListID(), id);
    TVDListInfo &copy = Lists().Add();
    copy.Assign(list);
    EXPECT_NE(copy.GetListID(), id);
    Lists().ViziVoduAllowAssignListID = true;
    TVDListInfo &kept = Lists().Add();
    kept.Assign(list);
    EXPECT_EQ(kept.GetListID(), id);
}

TEST_F(VDLists, SearchesIgnoreTheIdentifier) {
    TVDListInfo &list = Lists().Add();
    list.GetLevels().Add().SetListType(vdlstUpperRoman);
    TVDListInfo probe(nullptr);
    probe.Assign(list);
    EXPECT_NE(probe.GetListID(), list.GetListID());
    EXPECT_FALSE(list.IsSimpleEqual(probe, {}));
    EXPECT_EQ(Lists().FindSuchStyle(probe, false), 0);
    probe.SetOneLevelPreview(true);
    EXPECT_EQ(Lists().FindSuchStyle(probe, false), -1);
    EXPECT_EQ(Lists().FindStyleWithLevels(probe.GetLevels(), u"x", false), 0);
    EXPECT_EQ(Lists().FindSuchStyle(probe, true), 1);
    EXPECT_FALSE(Lists().GetItem(1).GetStandard());

    probe.GetLevels().Add();
    EXPECT_EQ(Lists().FindStyleWithLevels(probe.GetLevels(), u"New list", false), -1);
    EXPECT_EQ(Lists().FindStyleWithLevels(probe.GetLevels(), u"New list", true), 2);
    const TVDListInfo &made = Lists().GetItem(2);
    EXPECT_EQ(made.GetStyleName(), u"New list");
    EXPECT_TRUE(made.GetOneLevelPreview());
    EXPECT_FALSE(made.GetStandard());
    EXPECT_EQ(made.GetLevels().GetCount(), 2);
}

TEST_F(VDLists, NumberingOfAListStyle) {
    TVDListInfo &list = Lists().Add();
    EXPECT_TRUE(list.AllNumbered());
    EXPECT_FALSE(list.HasNumbering());
    list.GetLevels().Add().SetListType(vdlstDecimal);
    EXPECT_TRUE(list.AllNumbered());
    EXPECT_TRUE(list.HasVariableWidth());
    list.GetLevels().Add();
    EXPECT_FALSE(list.AllNumbered());
    EXPECT_TRUE(list.HasNumbering());
}

TEST_F(VDLists, SimilarityOfListStyles) {
    TVDListInfo &a = Lists().Add();
    TVDListInfo &b = Lists().Add();
    a.GetLevels().Add();
    a.GetLevels().Add();
    b.GetLevels().Add();
    // Different ids, equal preview, one equal level pair, one level missing.
    EXPECT_EQ(a.SimilarityValue(b), 100 + (5000 + 12 * 100) - 100);
}

TEST_F(VDLists, IndexErrorsAndImageListReferences) {
    EXPECT_THROW(Lists().GetItem(0), rtl::EListError);
    TVDListLevel &level = Lists().Add().GetLevels().Add();
    gfx::TImageList imageList(nullptr);
    level.SetImageList(&imageList);
    Lists().RemoveImageListReferences(&imageList);
    EXPECT_EQ(level.GetImageList(), nullptr);
}

TEST_F(VDLists, LevelIndentsConvertWithTheSheet) {
    test::TPixelsPerInchOverride ppi(96);
    TVDListLevel &level = Lists().Add().GetLevels().Add();
    level.SetLeftIndent(24);
    level.SetMarkerIndent(-4);
    FSheet.ConvertToTwips();
    EXPECT_EQ(level.GetLeftIndent(), 360);
    EXPECT_EQ(level.GetFirstIndent(), 150);
    EXPECT_EQ(level.GetMarkerIndent(), -60);
}
