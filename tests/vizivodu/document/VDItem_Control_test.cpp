// Control items: percentage widths, invisible controls, the viewer placing the control and
// telling the application of it, pictures of controls for paper (buttons, edit boxes, panels,
// graphic controls, the printing component's own picture).
#include "vizivodu/document/VDItem_Control.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Classes.h"
#include "platform/ui/Button.h"
#include "platform/ui/CustomControl.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace vizivodu;

namespace {

uint32_t Rgb(gfx::TColor c) {
    return gfx::ColorToRGB(c);
}

uint32_t At(gfx::TBitmap &bmp, int32_t x, int32_t y) {
    return uint32_t(bmp.GetCanvas().GetPixel(x, y));
}

std::unique_ptr<ui::TButton> Button(int32_t width, int32_t height) {
    auto button = std::make_unique<ui::TButton>(nullptr);
    button->SetBounds(0, 0, width, height);
    return button;
}

class Controls : public ::testing::Test {
protected:
    Controls() : Doc(&Style) { Doc.Width = 600; }
    void Format() { Doc.Format(false, false); }
    TVDControlItemInfo &Item(int32_t itemNo) {
        return dynamic_cast<TVDControlItemInfo &>(*Doc.GetItem(itemNo));
    }

    test::TLayoutStyle Style;
    test::TTestFormattedDocument Doc;
};

} // namespace

// 50 % of a document 600 pixels wide: the draw item 300, the control 298 (Spacing 1 on each
// side), the least width 20 plus the box; 0 % and 101 % leave the control as it is.
TEST_F(Controls, APercentWidthFollowsTheDocumentWidth) {
    for (const int32_t percent : {50, 0, 101}) {
        Doc.Clear();
        Doc.AddControlEx("", Button(100, 20), 0, vdvaBaseline);
        Item(0).PercentWidth = percent;
        Format();
        const bool follows = percent == 50;
        EXPECT_EQ(Doc.DrawItems[0]->Width, follows ? 300 : 102) << percent;
        EXPECT_EQ(Item(0).GetControl()->GetWidth(), follows ? 298 : 100) << percent;
        EXPECT_EQ(Item(0).GetBoolValueEx(vdbpActualPrintSize, &Style), follows) << percent;
        EXPECT_EQ(Item(0).GetMinWidth(nullptr, nullptr, &Doc), percent != 0 ? 22 : 102);
    }
    Item(0).FResizable = true;
    EXPECT_FALSE(Item(0).GetBoolValue(vdbpResizable)); // a percentage width is not resized
    Item(0).PercentWidth = 0;
    EXPECT_TRUE(Item(0).GetBoolValue(vdbpResizable));
}

TEST_F(Controls, AnInvisibleControlPaintsAndPrintsNothing) {
    Doc.AddControlEx("", Button(40, 20), 0, vdvaBaseline);
    TVDControlItemInfo &item = Item(0);
    item.BackgroundColor = gfx::clRed;
    EXPECT_TRUE(item.SetExtraIntProperty(vdepVisible, 0));
    Format();
    test::TOwnedPixelCanvas canvas(60, 30);
    TVDDrawLineInfo &d = *Doc.DrawItems[0];
    item.Paint(d.Left, d.Top, canvas, {}, d, &Doc, false);
    EXPECT_EQ(uint32_t(canvas.GetPixel(5, 5)), Rgb(gfx::clWhite));
    gfx::TBitmap bkgnd(40, 20);
    EXPECT_FALSE(item.PrintToBitmap(bkgnd, false, &Doc, 0, -1, vdcmColor));
    rtl::TMemoryStream stream;
    item.SaveVDFExtraProperties(stream);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                          static_cast<size_t>(stream.GetSize())),
              "color=255\r\nvisible=0\r\n");
    EXPECT_EQ(item.GetVDFExtraPropertyCount(), 2);
}

// A button's picture (40 x 20: white top-left edge) is centred in a larger bitmap, and a bitmap
// smaller than the picture grows to hold it.
TEST_F(Controls, AControlsPictureIsCentredOrEnlargesTheBitmap) {
    Doc.AddControlEx("", Button(40, 20), 0, vdvaBaseline);
    Format();
    gfx::TBitmap large(60, 40);
    large.GetCanvas().GetBrush().SetColor(gfx::clLime);
    large.GetCanvas().FillRect(rtl::Rect(0, 0, 60, 40));
    EXPECT_TRUE(Item(0).PrintToBitmap(large, false, &Doc, 0, -1, vdcmColor));
    EXPECT_EQ(At(large, 9, 9), Rgb(gfx::clLime));
    EXPECT_EQ(At(large, 10, 10), Rgb(gfx::clBtnHighlight));
    EXPECT_EQ(At(large, 49, 29), Rgb(gfx::cl3DDkShadow));
    gfx::TBitmap small(10, 30);
    EXPECT_TRUE(Item(0).PrintToBitmap(small, false, &Doc, 0, -1, vdcmColor));
    EXPECT_EQ(small.GetWidth(), 40);
    EXPECT_EQ(small.GetHeight(), 30);
}

// A push-button frame with the caption in its middle: the caption's ink lies around the centre.
TEST(ControlPictures, AButtonIsAPushButtonFrameWithItsCaptionCentred) {
    auto button = Button(80, 24);
    button->SetCaption(u"OK");
    button->GetFont().SetColor(gfx::clBlack);
    std::unique_ptr<gfx::TBitmap> picture = DrawControlToBitmap(*button, gfx::clNone);
    ASSERT_EQ(picture->GetWidth(), 80);
    EXPECT_EQ(At(*picture, 0, 0), Rgb(gfx::clBtnHighlight));
    EXPECT_EQ(At(*picture, 79, 23), Rgb(gfx::cl3DDkShadow));
    int32_t left = 80, right = -1, top = 24, bottom = -1;
    for (int32_t y = 2; y < 22; ++y) {
        for (int32_t x = 2; x < 78; ++x) {
            if (At(*picture, x, y) != Rgb(gfx::clBtnFace)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(right, left) << "no caption drawn";
    EXPECT_NEAR((left + right) / 2.0, 40, 2);
    EXPECT_NEAR((top + bottom) / 2.0, 12, 2);
}

// A single border with Ctl3D is a sunken edge; without a border the box is its colour.
TEST(ControlPictures, AnEditBoxIsItsColourInASunkenFrame) {
    ui::TEdit edit(nullptr);
    edit.SetBounds(0, 0, 60, 20);
    edit.SetColor(gfx::clYellow);
    std::unique_ptr<gfx::TBitmap> picture = DrawControlToBitmap(edit, gfx::clNone);
    EXPECT_EQ(At(*picture, 5, 0), Rgb(gfx::clBtnShadow));
    EXPECT_EQ(At(*picture, 5, 1), Rgb(gfx::cl3DDkShadow));
    EXPECT_EQ(At(*picture, 5, 19), Rgb(gfx::clBtnHighlight));
    EXPECT_EQ(At(*picture, 30, 10), Rgb(gfx::clYellow));
    edit.SetBorderStyle(ui::bsNone);
    picture = DrawControlToBitmap(edit, gfx::clNone);
    EXPECT_EQ(At(*picture, 5, 0), Rgb(gfx::clYellow));
}

// A graphic control paints a copy of itself at its place, clipped to its size, with csPaintCopy
// set only while it does.
TEST(ControlPictures, AGraphicControlPaintsACopyAtItsPlace) {
    ui::TPaintBox box(nullptr);
    box.SetBounds(0, 0, 10, 10);
    bool copying = false;
    box.OnPaint = [&](ui::TComponent *) {
        copying = box.GetControlState().Contains(ui::csPaintCopy);
        box.GetCanvas().GetBrush().SetColor(gfx::clRed);
        box.GetCanvas().FillRect(rtl::Rect(0, 0, 50, 50));
    };
    gfx::TBitmap target(30, 20);
    target.GetCanvas().GetBrush().SetColor(gfx::clWhite);
    target.GetCanvas().FillRect(rtl::Rect(0, 0, 30, 20));
    DrawControl(box, target.GetCanvas(), 7, 3);
    EXPECT_TRUE(copying);
    EXPECT_FALSE(box.GetControlState().Contains(ui::csPaintCopy));
    EXPECT_EQ(At(target, 7, 3), Rgb(gfx::clRed));
    EXPECT_EQ(At(target, 16, 12), Rgb(gfx::clRed));
    EXPECT_EQ(At(target, 17, 12), Rgb(gfx::clWhite));
    EXPECT_EQ(At(target, 6, 3), Rgb(gfx::clWhite));
    // The canvas's state comes back.
    EXPECT_EQ(target.GetCanvas().GetWindowOrgEx(), gfx::Point(0, 0));
    EXPECT_EQ(target.GetCanvas().GetClipRect(), rtl::Rect(0, 0, 30, 20));
}

// The panel paints itself; its windowed children are drawn again at their places.
TEST(ControlPictures, APanelPaintsItselfAndItsChildren) {
    ui::TPanel panel(nullptr);
    panel.SetBounds(0, 0, 100, 50);
    panel.SetCaption(u"");
    auto *child = new ui::TButton(&panel);
    child->SetParent(&panel);
    child->SetBounds(10, 10, 40, 20);
    std::unique_ptr<gfx::TBitmap> picture = DrawControlToBitmap(panel, gfx::clNone);
    EXPECT_EQ(At(*picture, 0, 0), Rgb(gfx::clBtnHighlight)); // the panel's raised bevel
    EXPECT_EQ(At(*picture, 70, 40), Rgb(gfx::clBtnFace));
    EXPECT_EQ(At(*picture, 49, 29), Rgb(gfx::cl3DDkShadow)); // the button's frame
}

namespace {

// A button that notes its destruction.
struct TNotedButton : ui::TButton {
    explicit TNotedButton(bool &destroyed) : ui::TButton(nullptr), Destroyed(destroyed) {
        SetBounds(0, 0, 40, 20);
    }
    ~TNotedButton() override { Destroyed = true; }
    bool &Destroyed;
};

} // namespace

// The viewer becomes the control's parent, formatting places it after the text (its box's
// spacing inside), and the application hears of its destruction.
TEST(ControlItems, TheViewerPlacesTheControlAndTellsTheApplicationWhenItGoes) {
    test::TLayoutStyle style;
    ui::TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    TViziVodu viewer(&form);
    viewer.SetParent(&form);
    viewer.SetBounds(0, 0, 400, 300);
    viewer.SetStyle(&style);
    std::vector<TVDControlAction> actions;
    viewer.OnControlAction = [&](ui::TComponent *, TVDControlAction action, int32_t,
                                 ui::TControl *&) { actions.push_back(action); };
    bool destroyed = false;
    auto button = std::make_unique<TNotedButton>(destroyed);
    ui::TControl *control = button.get();
    viewer.AddNL(u"ab", 0, 0);
    viewer.AddControlEx("", std::move(button), -1, vdvaBaseline);
    EXPECT_EQ(control->GetParent(), &viewer);
    EXPECT_EQ(viewer.GetVDData().FindControlItemNo(control), 1);
    viewer.Format();
    const TVDDrawLineInfo &d = *viewer.GetVDData().DrawItems[1];
    EXPECT_EQ(control->GetLeft(), d.GetObjectLeft() - viewer.GetVDData().GetHOffs() + 1);
    EXPECT_TRUE(control->GetVisible());
    viewer.Clear();
    EXPECT_EQ(actions, std::vector<TVDControlAction>{vdcaDestroy});
    EXPECT_TRUE(destroyed);
}

// A handler that takes the control over on its destruction frees it itself; the item lets go of
// it.
TEST(ControlItems, AHandlerMayTakeTheControlOver) {
    TViziVodu viewer(nullptr);
    bool destroyed = false;
    std::unique_ptr<ui::TControl> taken;
    viewer.OnControlAction = [&](ui::TComponent *, TVDControlAction action, int32_t,
                                 ui::TControl *&ctrl) {
        if (action == vdcaDestroy) {
            taken.reset(ctrl);
            ctrl = nullptr;
        }
    };
    viewer.AddControl(std::make_unique<TNotedButton>(destroyed), true);
    EXPECT_EQ(viewer.GetVDData().GetItem(0)->ParaNo, 1);
    viewer.Clear();
    ASSERT_NE(taken, nullptr);
    EXPECT_FALSE(destroyed);
    taken.reset();
    EXPECT_TRUE(destroyed);
}

// The printing component's handler may give the picture that a control prints as.
TEST(ControlItems, ThePrintingComponentMayGiveTheControlsPicture) {
    test::TPrintFixture f;
    f.Source.AddControl(Button(80, 40), false);
    std::vector<ui::TControl *> asked;
    f.Print.OnPrintComponent = [&](TCustomVDPrint *, ui::TControl *printMe,
                                   std::unique_ptr<gfx::TBitmap> &image) {
        asked.push_back(printMe);
        image = std::make_unique<gfx::TBitmap>(80, 40);
        image->GetCanvas().GetBrush().SetColor(gfx::clRed);
        image->GetCanvas().FillRect(rtl::Rect(0, 0, 80, 40));
    };
    ASSERT_EQ(f.Paginate(), 1);
    gfx::TBitmap page(794, 1122);
    f.Print.DrawPreview(1, page.GetCanvas(), rtl::Rect(0, 0, 794, 1122));
    ASSERT_EQ(asked.size(), 1u);
    int32_t red = 0;
    for (int32_t y = 0; y < 300; ++y) {
        for (int32_t x = 0; x < 300; ++x) {
            red += At(page, x, y) == Rgb(gfx::clRed);
        }
    }
    EXPECT_GT(red, 70 * 30);
}
