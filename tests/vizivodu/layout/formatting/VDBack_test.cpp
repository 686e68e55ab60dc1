// Backgrounds of the viewer's document: where a tiled picture lands when only a part of the
// window is repainted, and what lies behind an item that is not at the document's corner.
#include "vizivodu/layout/formatting/VDBack.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/gfx/Bitmap.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

// A 10 x 10 tile: the left half red, the right half blue.
std::unique_ptr<gfx::TBitmap> HalfAndHalfTile() {
    auto tile = std::make_unique<gfx::TBitmap>(10, 10);
    gfx::TCanvas &c = tile->GetCanvas();
    c.GetBrush().SetStyle(gfx::bsSolid);
    c.GetBrush().SetColor(gfx::clRed);
    c.FillRect(gfx::Rect(0, 0, 5, 10));
    c.GetBrush().SetColor(gfx::clBlue);
    c.FillRect(gfx::Rect(5, 0, 10, 10));
    return tile;
}

class Backgrounds : public ::testing::Test {
protected:
    Backgrounds() : Form(nullptr) {
        InitializeGraphicHandler(); // the handler copies the picture (another suite frees it)
        Form.SetClientWidth(400);
        Form.SetClientHeight(300);
        Style.SetColor(gfx::clWhite);
        View = new TViziVodu(&Form);
        View->SetStyle(&Style);
        View->SetBounds(0, 0, 120, 100);
        View->SetParent(&Form);
        const std::unique_ptr<gfx::TBitmap> tile = HalfAndHalfTile();
        View->SetBackgroundBitmap(tile.get());
        View->SetBackgroundStyle(bsTiled);
    }

    test::TLayoutStyle Style;
    ui::TForm Form;
    TViziVodu *View;
};

} // namespace

TEST_F(Backgrounds, APartialRepaintPutsTheTilesWhereAWholeOneDoes) {
    View->Format();
    gfx::TBitmap whole = View->GrabForTesting();
    EXPECT_EQ(whole.GetCanvas().GetPixel(3, 3), gfx::clRed);
    EXPECT_EQ(whole.GetCanvas().GetPixel(25, 3), gfx::clBlue);
    gfx::TBitmap part = View->GrabForTesting(gfx::Rect(23, 17, 63, 57));
    for (int y = 0; y < 40; y += 7) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(part.GetCanvas().GetPixel(x, y), whole.GetCanvas().GetPixel(23 + x, 17 + y))
                << x << "," << y;
        }
    }
}

TEST_F(Backgrounds, WhatLiesBehindAnItemIsTheBackgroundAtTheItemsPlace) {
    View->AddNL(u"a", 0, 0);
    View->AddNL(u"b", 0, 0); // at (5, 25)
    View->Format();
    TViziVoduVDData &d = View->GetVDData();
    rtl::TRect r = rtl::Bounds(d.DrawItems[1]->Left, d.DrawItems[1]->Top, 20, 10);
    gfx::TColor color = gfx::clNone;
    std::unique_ptr<gfx::TBitmap> bmp;
    bool useBitmap = false;
    d.GetItemBackground(1, r, false, color, bmp, useBitmap, Style.GetGraphicInterface(), false,
                        false);
    ASSERT_TRUE(useBitmap);
    ASSERT_TRUE(bmp);
    // Column 0 of the bitmap is x 5 of the document: the blue half of a tile.
    EXPECT_EQ(bmp->GetCanvas().GetPixel(0, 0), gfx::clBlue);
    EXPECT_EQ(bmp->GetCanvas().GetPixel(5, 0), gfx::clRed);
}

TEST(Background, EmptyAndVisibleDependOnThePictureAndTheStyle) {
    InitializeGraphicHandler();
    struct TCase {
        TBackgroundStyle Style;
        bool Picture, Empty, Visible, FullRedraw;
    };
    for (const TCase &c :
         {TCase{bsNoBitmap, false, true, false, false}, TCase{bsTiled, false, false, false, false},
          TCase{bsNoBitmap, true, false, false, false}, TCase{bsTiled, true, false, true, true},
          TCase{bsTiledAndScrolled, true, false, true, false},
          TCase{bsStretched, true, false, true, true}}) {
        TVDBackground back(true);
        back.Style = c.Style;
        if (c.Picture) {
            back.AssignImage(HalfAndHalfTile(), nullptr, nullptr);
        }
        EXPECT_EQ(back.Empty(), c.Empty) << int(c.Style) << c.Picture;
        EXPECT_EQ(back.Visible(), c.Visible) << int(c.Style) << c.Picture;
        EXPECT_EQ(back.ScrollRequiresFullRedraw(), c.FullRedraw) << int(c.Style) << c.Picture;
    }
}

TEST(Background, TheItemStylesMapOntoTheBackgroundStyles) {
    TVDBackground back(false);
    const std::pair<TBackgroundStyle, TVDItemBackgroundStyle> reads[] = {
        {bsNoBitmap, vdbsColor},         {bsStretched, vdbsStretched}, {bsTiled, vdbsTiled},
        {bsTiledAndScrolled, vdbsTiled}, {bsCentered, vdbsCentered},   {bsTopRight, vdbsCentered},
        {bsBottomLeft, vdbsCentered}};
    for (const auto &[style, item] : reads) {
        back.Style = style;
        EXPECT_EQ(back.GetItemBackStyle(), item) << int(style);
    }
    const std::pair<TVDItemBackgroundStyle, TBackgroundStyle> writes[] = {
        {vdbsColor, bsNoBitmap},
        {vdbsStretched, bsStretched},
        {vdbsTiled, bsTiled},
        {vdbsCentered, bsCentered}};
    for (const auto &[item, style] : writes) {
        back.SetItemBackStyle(item);
        EXPECT_EQ(back.Style, style) << int(item);
    }
}

// A picture stretched over the area is drawn through a scaled copy; at its own size (tiled) it
// needs none, and the copy goes.
TEST_F(Backgrounds, AStretchedPictureGetsAThumbnailThatGoesWhenItIsNoLongerScaled) {
    View->SetBackgroundStyle(bsStretched);
    View->GrabForTesting();
    TVDBackground &back = View->GetBackground();
    EXPECT_TRUE(back.HasThumbnail());
    EXPECT_EQ(View->GetVDData().GetThumbnailCache()->Count(), 1);
    View->SetBackgroundStyle(bsTiled);
    View->GrabForTesting();
    EXPECT_FALSE(back.HasThumbnail());
    EXPECT_EQ(View->GetVDData().GetThumbnailCache()->Count(), 0);
}

namespace {

// A picture item that counts the thumbnails it is told to free.
class TThumbnailOwnerItem : public TVDGraphicItemInfo {
public:
    explicit TThumbnailOwnerItem(TCustomVDData *data)
        : TVDGraphicItemInfo(data, std::make_unique<gfx::TBitmap>(4, 4), vdvaBaseline) {}
    void FreeThumbnail() override { ++Freed; }
    int Freed = 0;
};

} // namespace

// The owners in the cache are items as well as documents: an item falling out of a full cache
// is told through its own FreeThumbnail, not taken for a document.
TEST_F(Backgrounds, AnItemFallingOutOfTheThumbnailCacheFreesItsOwnThumbnail) {
    auto owned = std::make_unique<TThumbnailOwnerItem>(&View->GetVDData());
    TThumbnailOwnerItem *item = owned.get();
    View->AddItem(u"p", std::move(owned));
    TVDThumbnailCache &cache = *View->GetVDData().GetThumbnailCache();
    cache.AddThumbnail(item);
    std::vector<int> others(size_t(cache.MaxCount));
    for (int &other : others) {
        cache.AddThumbnail(&other); // not in the tree: nothing to free
    }
    EXPECT_EQ(item->Freed, 1);
    EXPECT_EQ(cache.Count(), cache.MaxCount);
}
