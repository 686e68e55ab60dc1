// Painting in print mode (the print simulation of table cells): pictures print through a bitmap
// that holds what lies behind them, inside their border and at their content size.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDItem_Rect.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

class PrintPainting : public ::testing::Test {
protected:
    PrintPainting() : Doc(&Style), Canvas(200, 100) {
        Doc.Width = 200;
        Style.SetColor(gfx::clWhite);
    }

    // A red picture of 10 x 10 pixels shown as w x h with a border of 2 pixels.
    void AddPicture(int32_t w, int32_t h) {
        auto bmp = std::make_unique<gfx::TBitmap>(10, 10);
        bmp->GetCanvas().GetBrush().SetColor(gfx::clRed);
        bmp->GetCanvas().FillRect(rtl::Rect(0, 0, 10, 10));
        auto item = std::make_unique<TVDGraphicItemInfo>(&Doc, std::move(bmp), vdvaBaseline);
        item->ImageWidth = w;
        item->ImageHeight = h;
        item->BorderWidth = 2;
        item->BorderColor = gfx::clBlue;
        Doc.AddItem(u"", std::move(item));
        Doc.Format(false, false);
    }
    void Paint(bool printMode) {
        Canvas.GetBrush().SetColor(gfx::clWhite);
        Canvas.FillRect(rtl::Rect(0, 0, 200, 100));
        Doc.PaintTo(Canvas, rtl::Rect(0, 0, 200, 100), false, false, false, printMode, false, 0, 0,
                    0, Doc.DrawItems.Count() - 1, nullptr, nullptr, false);
    }
    // The number of pixels of color in r.
    int32_t Count(const rtl::TRect &r, gfx::TColor color) {
        int32_t n = 0;
        for (int32_t y = r.Top; y < r.Bottom; ++y) {
            for (int32_t x = r.Left; x < r.Right; ++x) {
                n += Canvas.GetPixel(x, y) == color;
            }
        }
        return n;
    }

    test::TLayoutStyle Style;
    test::TTestFormattedDocument Doc;
    test::TOwnedPixelCanvas Canvas;
};

} // namespace

TEST_F(PrintPainting, APicturePrintsAsItPaintsOnScreen) {
    AddPicture(10, 10);
    Paint(false);
    const int32_t redOnScreen = Count(rtl::Rect(0, 0, 200, 100), gfx::clRed);
    const int32_t blueOnScreen = Count(rtl::Rect(0, 0, 200, 100), gfx::clBlue);
    ASSERT_EQ(redOnScreen, 100);
    Paint(true);
    EXPECT_EQ(Count(rtl::Rect(0, 0, 200, 100), gfx::clRed), redOnScreen);
    EXPECT_EQ(Count(rtl::Rect(0, 0, 200, 100), gfx::clBlue), blueOnScreen);
}

TEST_F(PrintPainting, AScaledPicturePrintedThroughABitmapKeepsItsSize) {
    AddPicture(30, 20);
    Paint(true);
    EXPECT_EQ(Count(rtl::Rect(0, 0, 200, 100), gfx::clRed), 30 * 20);
}
