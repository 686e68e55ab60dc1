// Backgrounds of the viewer's document: where a tiled picture lands when only a part of the
// window is repainted, and what lies behind an item that is not at the document's corner.
#include "vizivodu/layout/VDBack.h"

#include "LayoutTestSupport.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/layout/VDVDData.h"
#include "vizivodu/layout/ViziVodu.h"

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
