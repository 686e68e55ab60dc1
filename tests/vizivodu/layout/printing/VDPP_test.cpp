// The print preview control: zoom modes, the sheet's rectangle, the click that switches the
// zoom, page navigation; and the page drawn into a bitmap.
#include "vizivodu/layout/printing/VDPP.h"

#include "tests/vizivodu/layout/printing/PrintTestSupport.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Metafile.h"
#include "platform/ui/Forms.h"

#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace vizivodu;

namespace {

class Preview : public ::testing::Test {
protected:
    Preview() : View(nullptr) {
        for (int i = 0; i < 60; ++i) {
            F.Source.AddNL(u"Preview line", 0, 0);
        }
        EXPECT_EQ(F.Paginate(), 2);
        View.SetBounds(0, 0, 437, 617);
        View.SetVDPrint(&F.Print);
    }

    test::TPrintFixture F;
    TVDPrintPreview View;
};

// A4 at 600 dpi is 4960 x 7015 printer pixels: 794 x 1122 screen pixels at 100 %.
TEST_F(Preview, ZoomModesAndTheSheetRectangle) {
    EXPECT_EQ(F.Print.GetPreview100PercentWidth(), 794);
    EXPECT_EQ(F.Print.GetPreview100PercentHeight(), 1122);
    // Whole page: min((437 - 17 - 40) * 100 / 794, (617 - 17 - 40) * 100 / 1122), rounded.
    EXPECT_EQ(View.GetZoomPercent(), 48);
    EXPECT_EQ(View.GetPhysPageWidth(), 381);
    EXPECT_EQ(View.GetPhysPageHeight(), 539);
    const int32_t left = (View.GetClientWidth() - 381) / 2;
    const int32_t top = (View.GetClientHeight() - 539) / 2;
    EXPECT_EQ(View.GetPageRect(), rtl::Rect(left, top, left + 381, top + 539));
    View.SetZoomMode(vdzmPageWidth);
    EXPECT_EQ(View.GetZoomPercent(), gfx::MulDiv(View.GetClientWidth() - 40, 100, 794));
    View.SetZoom(200);
    EXPECT_EQ(View.GetZoomMode(), vdzmCustom);
    EXPECT_EQ(View.GetPhysPageWidth(), 1588);
}

TEST_F(Preview, AClickSwitchesBetweenHundredPercentAndTheZoomBefore) {
    View.SetZoom(50);
    int changes = 0;
    View.OnZoomChanged = [&](ui::TComponent *) { ++changes; };
    View.ZoomAt(100, 100, 100);
    EXPECT_EQ(View.GetZoomPercent(), 100);
    EXPECT_EQ(View.SavedZoomPercent, 50);
    EXPECT_EQ(View.GetZoomCursor(), View.ZoomOutCursor);
    View.ZoomAt(100, 100, View.SavedZoomPercent);
    EXPECT_EQ(View.GetZoomPercent(), 50);
    EXPECT_EQ(View.GetZoomCursor(), View.ZoomInCursor);
    EXPECT_EQ(changes, 2);
}

TEST_F(Preview, NavigationStaysWithinThePages) {
    View.Prev();
    EXPECT_EQ(View.GetPageNo(), 1);
    View.Next();
    EXPECT_EQ(View.GetPageNo(), 2);
    View.Next();
    EXPECT_EQ(View.GetPageNo(), 2);
    View.First();
    EXPECT_EQ(View.GetPageNo(), 1);
    View.Last();
    EXPECT_EQ(View.GetPageNo(), 2);
}

// Every page of the document is reached from page 1 by the wheel, the scroll bar and the keys,
// in the whole-page zoom the preview opens with; each step shows the page it reached.
TEST(PreviewPages, TheWheelTheScrollBarAndTheKeysReachEveryPage) {
    test::TPrintFixture f;
    for (int i = 0; i < 150; ++i) {
        f.Source.AddNL(u"Preview line", 0, 0);
    }
    const int32_t pages = f.Paginate();
    ASSERT_GE(pages, 3);
    ui::TForm form(nullptr);
    form.SetBounds(0, 0, 500, 700);
    auto *view = new TVDPrintPreview(&form); // owned by the form
    view->SetParent(&form);
    view->SetBounds(0, 0, 437, 617);
    view->SetVDPrint(&f.Print);
    ASSERT_EQ(view->GetZoomMode(), vdzmFullPage);
    const int32_t slot = view->GetClientHeight();
    // The scroll bar covers every page: its end is the last page.
    EXPECT_EQ(view->GetVScrollMax(), (pages - 1) * slot);
    view->TrackThumb(true, view->GetVScrollMax(), true);
    EXPECT_EQ(view->GetPageNo(), pages);
    view->KeyPressForTesting(ui::VK_HOME, {ui::ssCtrl});
    EXPECT_EQ(view->GetPageNo(), 1);
    EXPECT_EQ(view->GetPageRect().Top, (slot - view->GetPhysPageHeight()) / 2);
    view->KeyPressForTesting(ui::VK_NEXT);
    EXPECT_EQ(view->GetPageNo(), 2);
    EXPECT_EQ(view->PageRectOf(2).Top, (slot - view->GetPhysPageHeight()) / 2);
    view->KeyPressForTesting(ui::VK_END, {ui::ssCtrl});
    EXPECT_EQ(view->GetPageNo(), pages);
    view->KeyPressForTesting(ui::VK_PRIOR);
    EXPECT_EQ(view->GetPageNo(), pages - 1);
    view->First();
    int notches = 0;
    while (view->GetPageNo() < pages && notches < 1000) {
        view->Perform(ui::WM_MOUSEWHEEL, ui::WPARAM(uint16_t(-ui::WHEEL_DELTA)) << 16);
        ++notches;
    }
    EXPECT_EQ(view->GetPageNo(), pages);
    view->Last();
    view->Prev();
    EXPECT_EQ(view->GetPageNo(), pages - 1);
    EXPECT_EQ(view->GetPageRect().Top, (slot - view->GetPhysPageHeight()) / 2);
}

// Scrolled between two pages, the preview draws the end of one and the start of the next.
TEST(PreviewPages, TheViewBetweenTwoPagesShowsBoth) {
    test::TPrintFixture f;
    for (int i = 0; i < 60; ++i) {
        f.Source.AddNL(u"Preview line", 0, 0);
    }
    ASSERT_EQ(f.Paginate(), 2);
    ui::TForm form(nullptr);
    form.SetBounds(0, 0, 500, 700);
    auto *view = new TVDPrintPreview(&form); // owned by the form
    view->SetParent(&form);
    view->SetBounds(0, 0, 437, 617);
    view->SetVDPrint(&f.Print);
    view->ShadowWidth = 0;
    view->TrackThumb(true, view->GetClientHeight() / 2, true);
    const rtl::TRect first = view->PageRectOf(1), second = view->PageRectOf(2);
    ASSERT_LT(first.Bottom, second.Top);
    ASSERT_GT(first.Bottom, 0);
    ASSERT_LT(second.Top, view->GetClientHeight());
    gfx::TBitmap bmp;
    bmp.SetSize(view->GetClientWidth(), view->GetClientHeight());
    view->PaintTo(bmp.GetCanvas());
    const int32_t x = (first.Left + first.Right) / 2;
    EXPECT_EQ(bmp.GetCanvas().GetPixel(x, first.Bottom - 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(bmp.GetCanvas().GetPixel(x, second.Top + 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_NE(bmp.GetCanvas().GetPixel(x, (first.Bottom + second.Top) / 2) & 0xFFFFFF, 0xFFFFFFu);
}

// The text boxes of the fixed metrics land inside the text area of the scaled page; the margins
// stay white.
TEST_F(Preview, DrawsThePageScaledIntoTheRectangle) {
    F.Style.GI->DrawGlyphBoxes = true;
    gfx::TBitmap bmp;
    F.Print.MakePreview(1, bmp);
    ASSERT_EQ(bmp.GetWidth(), 794);
    ASSERT_EQ(bmp.GetHeight(), 1122);
    int inMargin = 0, inText = 0;
    for (int y = 0; y < bmp.GetHeight(); y += 2) {
        for (int x = 0; x < bmp.GetWidth(); x += 2) {
            if (bmp.GetCanvas().GetPixel(x, y) != gfx::clWhite) {
                // 20 mm margins are 75 screen pixels.
                const bool text = x >= 75 && x < 794 - 75 && y >= 75 && y < 1122 - 75;
                (text ? inText : inMargin) += 1;
            }
        }
    }
    EXPECT_GT(inText, 1000);
    EXPECT_EQ(inMargin, 0);
}

// The preview's picture of both pages of a two-page document with a header, text in two sizes
// and a page colour, compared with their golden pictures. Characters are boxes of the fixed
// metrics, so no font on the machine changes the picture.
TEST(PreviewPicture, TwoPagesMatchTheirGoldenPictures) {
    test::TPrintFixture f;
    f.GI->CanvasText = false;
    f.Style.GI->RecordTextOps = true;
    f.Style.GI->DrawGlyphBoxes = true;
    for (int i = 0; i < 55; ++i) {
        f.Source.AddNL(i % 5 == 0 ? u"A heading line" : u"Body text of the page, line by line",
                       i % 5 == 0 ? 1 : 0, 0);
    }
    TViziVodu header(nullptr);
    header.SetStyle(&f.Style);
    header.AddNL(u"Header", 0, 0);
    f.Print.SetHeader(&header.GetVDData(), vdhftNormal);
    ASSERT_EQ(f.Paginate(), 2);
    TVDPrintPreview view(nullptr);
    view.SetBounds(0, 0, 320, 420);
    view.SetVDPrint(&f.Print);
    view.GetMarginsPen().SetStyle(gfx::psDot);
    for (int page = 1; page <= 2; ++page) {
        view.SetPageNo(page);
        gfx::TBitmap bmp(view.GetClientWidth(), view.GetClientHeight());
        view.PaintTo(bmp.GetCanvas());
        wbtest::ExpectMatchesGolden(bmp, "vizivodu/layout/printing/preview_page" +
                                             std::to_string(page) + ".png");
    }
}

} // namespace

namespace {

// A picture of page 1 as the report window saves it: an A4 metafile at the screen's 96 dpi, the
// page drawn into the rectangle inside 10 mm margins; played back, the text lies inside it.
TEST(PreviewPicture, APageDrawnIntoAMetafileKeepsInsideItsRectangle) {
    test::TPrintFixture f;
    f.GI->CanvasText = false;
    f.Style.GI->RecordTextOps = true;
    f.Style.GI->DrawGlyphBoxes = true;
    for (int i = 0; i < 80; ++i) {
        f.Source.AddNL(u"Report line", 0, 0);
    }
    f.Print.SetLeftMarginMM(10);
    f.Print.SetRightMarginMM(10);
    f.Print.SetTopMarginMM(10);
    f.Print.SetBottomMarginMM(10);
    f.Print.SetFacingPages(true);
    f.Print.MetafileCompatibility = true;
    ASSERT_EQ(f.Paginate(), 2);
    gfx::TMetafile mf;
    mf.SetWidth(794);
    mf.SetHeight(1123);
    const rtl::TRect doc = rtl::Rect(38, 38, 794 - 38, 1123 - 38);
    {
        gfx::TMetafileCanvas canvas(mf);
        f.Print.DrawPreview(1, canvas, doc);
    }
    gfx::TBitmap bmp(794, 1123);
    bmp.GetCanvas().GetBrush().SetColor(gfx::clWhite);
    bmp.GetCanvas().FillRect(rtl::Rect(0, 0, 794, 1123));
    bmp.GetCanvas().Draw(0, 0, mf);
    int inside = 0, outside = 0;
    for (int y = 0; y < 1123; y += 2) {
        for (int x = 0; x < 794; x += 2) {
            if ((bmp.ScanLine(y)[x] & 0xFFFFFF) != 0xFFFFFF) {
                (x >= doc.Left && x < doc.Right && y >= doc.Top && y < doc.Bottom ? inside
                                                                                  : outside) += 1;
            }
        }
    }
    EXPECT_GT(inside, 1000);
    EXPECT_EQ(outside, 0);
}

} // namespace

namespace {

ui::TGestureEventInfo Pinch(int32_t x, int32_t y, int32_t distance,
                            ui::TInteractiveGestureFlags flags) {
    return {.GestureID = ui::igZoom, .Location = {x, y}, .Flags = flags, .Distance = distance};
}

bool Send(TVDPrintPreview &view, const ui::TGestureEventInfo &info) {
    return view.Perform(ui::CM_GESTURE, 0, ui::LPARAM(&info)) != 0;
}

} // namespace

// A pinch zooms in proportion to the fingers' distance from the state where it began, keeping
// the point where it began in place; without click zooming it is left to the scroller.
TEST_F(Preview, APinchZoomsAroundWhereItBeganInProportionToTheFingersDistance) {
    ui::TForm form(nullptr); // scroll positions need the control's window
    form.SetBounds(0, 0, 600, 800);
    View.SetParent(&form);
    View.SetZoom(50);
    const rtl::TRect before = View.GetPageRect();
    ASSERT_TRUE(Send(View, Pinch(200, 300, 100, {ui::gfBegin})));
    for (const auto &[distance, zoom] : {std::pair{200, 100}, {150, 75}, {300, 150}}) {
        EXPECT_TRUE(Send(View, Pinch(0, 0, distance, {})));
        EXPECT_EQ(View.GetZoomPercent(), zoom);
        const rtl::TRect after = View.GetPageRect();
        // The sheet point under (200, 300) at 50 % is still there (vertical positions go in
        // steps of 10 pixels).
        EXPECT_NEAR((200 - after.Left) * 50.0 / zoom, 200 - before.Left, 1.0) << zoom;
        EXPECT_NEAR((300 - after.Top) * 50.0 / zoom, 300 - before.Top, 10 * 50.0 / zoom) << zoom;
    }
    EXPECT_TRUE(Send(View, Pinch(0, 0, 100, {ui::gfEnd})));
    EXPECT_EQ(View.GetZoomPercent(), 50);
    View.ClickMode = vdcmNone;
    EXPECT_FALSE(Send(View, Pinch(200, 300, 100, {ui::gfBegin})));
    EXPECT_FALSE(Send(View, Pinch(200, 300, 400, {})));
    EXPECT_EQ(View.GetZoomPercent(), 50);
    View.SetParent(nullptr);
}

// The control shows the magnifier a click would use, pictures the screen has for both numbers.
TEST_F(Preview, TheCursorIsTheMagnifierOfWhatAClickWouldDo) {
    EXPECT_TRUE(ui::Screen->HasCursorImage(View.ZoomInCursor));
    EXPECT_TRUE(ui::Screen->HasCursorImage(View.ZoomOutCursor));
    View.SetZoom(50);
    EXPECT_EQ(View.GetCursor(), View.ZoomInCursor);
    View.SetZoom(100);
    EXPECT_EQ(View.GetCursor(), View.ZoomOutCursor);
    View.ClickMode = vdcmNone;
    View.UpdateCursor();
    EXPECT_EQ(View.GetCursor(), ui::crDefault);
}
