// The system's control parts on a canvas: 3-D edges and push-button frames, and controls that
// paint a copy of themselves into another canvas.
#include "platform/ui/FrameControls.h"

#include "UiTestSupport.h"

#include "platform/gfx/Bitmap.h"
#include "platform/ui/CustomControl.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

uint32_t Rgb(gfx::TColor c) {
    return gfx::ColorToRGB(c);
}

uint32_t At(gfx::TBitmap &bmp, int32_t x, int32_t y) {
    return uint32_t(bmp.GetCanvas().GetPixel(x, y));
}

} // namespace

// A sunken edge: clBtnShadow then cl3DDkShadow at the top and left, clBtnHighlight then
// cl3DLight at the bottom and right; BF_ADJUST leaves the inside.
TEST(FrameControls, ASunkenEdgeDrawsTwoBandsAndShrinksTheRectangle) {
    gfx::TBitmap bmp(10, 8);
    bmp.GetCanvas().GetBrush().SetColor(gfx::clWhite);
    bmp.GetCanvas().FillRect(gfx::Rect(0, 0, 10, 8));
    gfx::TRect r = gfx::Rect(0, 0, 10, 8);
    EXPECT_TRUE(DrawEdge(bmp.GetCanvas(), r, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
    EXPECT_EQ(r, gfx::Rect(2, 2, 8, 6));
    EXPECT_EQ(At(bmp, 4, 0), Rgb(gfx::clBtnShadow));
    EXPECT_EQ(At(bmp, 0, 4), Rgb(gfx::clBtnShadow));
    EXPECT_EQ(At(bmp, 4, 1), Rgb(gfx::cl3DDkShadow));
    EXPECT_EQ(At(bmp, 4, 7), Rgb(gfx::clBtnHighlight));
    EXPECT_EQ(At(bmp, 9, 4), Rgb(gfx::clBtnHighlight));
    EXPECT_EQ(At(bmp, 4, 6), Rgb(gfx::cl3DLight));
    EXPECT_EQ(At(bmp, 4, 4), Rgb(gfx::clWhite));
    // Without BF_ADJUST the rectangle stays; an empty one draws nothing.
    gfx::TRect same = gfx::Rect(0, 0, 10, 8);
    DrawEdge(bmp.GetCanvas(), same, EDGE_RAISED, BF_RECT);
    EXPECT_EQ(same, gfx::Rect(0, 0, 10, 8));
    gfx::TRect empty = gfx::Rect(3, 3, 3, 5);
    EXPECT_FALSE(DrawEdge(bmp.GetCanvas(), empty, EDGE_RAISED, BF_RECT));
}

TEST(FrameControls, APushButtonIsARaisedFaceAndOtherKindsDrawNothing) {
    gfx::TBitmap bmp(20, 10);
    bmp.GetCanvas().GetBrush().SetColor(gfx::clWhite);
    bmp.GetCanvas().FillRect(gfx::Rect(0, 0, 20, 10));
    EXPECT_TRUE(
        DrawFrameControl(bmp.GetCanvas(), gfx::Rect(0, 0, 20, 10), DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_EQ(At(bmp, 5, 0), Rgb(gfx::clBtnHighlight));
    EXPECT_EQ(At(bmp, 5, 9), Rgb(gfx::cl3DDkShadow));
    EXPECT_EQ(At(bmp, 5, 8), Rgb(gfx::clBtnShadow));
    EXPECT_EQ(At(bmp, 10, 5), Rgb(gfx::clBtnFace));
    gfx::TBitmap other(4, 4);
    other.GetCanvas().GetBrush().SetColor(gfx::clWhite);
    other.GetCanvas().FillRect(gfx::Rect(0, 0, 4, 4));
    EXPECT_FALSE(DrawFrameControl(other.GetCanvas(), gfx::Rect(0, 0, 4, 4), 3, 0));
    EXPECT_EQ(At(other, 1, 1), Rgb(gfx::clWhite));
}

// WM_PAINT carrying a canvas paints there, with the canvas's origin and clip, and the control's
// own painting is not disturbed: its window still paints on itself afterwards.
TEST(FrameControls, AGraphicControlPaintsACopyIntoTheCanvasThatWmPaintCarries) {
    TForm form(nullptr);
    auto *pb = new TPaintBox(&form);
    pb->SetParent(&form);
    pb->SetBounds(0, 0, 20, 20);
    bool copying = false;
    pb->OnPaint = [&](TComponent *) {
        copying = pb->GetControlState().Contains(csPaintCopy);
        pb->GetCanvas().GetBrush().SetColor(gfx::clBlue);
        pb->GetCanvas().FillRect(gfx::Rect(0, 0, 5, 5));
    };
    gfx::TBitmap copy(10, 10);
    copy.GetCanvas().GetBrush().SetColor(gfx::clWhite);
    copy.GetCanvas().FillRect(gfx::Rect(0, 0, 10, 10));
    copy.GetCanvas().SetWindowOrgEx(-3, -3);
    pb->SetControlState({csPaintCopy});
    pb->Perform(WM_PAINT, reinterpret_cast<WPARAM>(&copy.GetCanvas()), 0);
    pb->SetControlState({});
    copy.GetCanvas().SetWindowOrgEx(0, 0);
    EXPECT_TRUE(copying);
    EXPECT_EQ(At(copy, 3, 3), Rgb(gfx::clBlue));
    EXPECT_EQ(At(copy, 7, 7), Rgb(gfx::clBlue));
    EXPECT_EQ(At(copy, 8, 8), Rgb(gfx::clWhite));
    EXPECT_EQ(At(copy, 2, 2), Rgb(gfx::clWhite));
    form.Show();
    gfx::TBitmap shot = pb->GrabForTesting();
    EXPECT_FALSE(copying);
    EXPECT_EQ(At(shot, 4, 4), Rgb(gfx::clBlue));
}

TEST(FrameControls, AnEditBoxKeepsItsBorderStyleAndCtl3D) {
    TEdit edit(nullptr);
    EXPECT_EQ(edit.GetBorderStyle(), bsSingle);
    EXPECT_TRUE(edit.GetCtl3D());
    edit.SetBorderStyle(bsNone);
    EXPECT_EQ(edit.GetBorderStyle(), bsNone);
    edit.SetBorderStyle(bsDialog);
    EXPECT_EQ(edit.GetBorderStyle(), bsSingle);
}
