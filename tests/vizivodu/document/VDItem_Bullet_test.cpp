// Bullets and hotspots: their box around the list's image, the hot image, hyperlink answers,
// properties and header tails, bitmaps for paper, the viewer's Add operations, and an image list
// that goes away first.
#include "vizivodu/document/VDItem_Bullet.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDItem_Control.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vizivodu;

namespace {

constexpr gfx::TColor Colours[] = {gfx::clRed, gfx::clLime, gfx::clBlue, gfx::clYellow};

// Four 16 x 16 images: red, lime, blue, yellow.
std::unique_ptr<gfx::TImageList> MakeImages() {
    auto images = std::make_unique<gfx::TImageList>(nullptr, 16, 16);
    for (gfx::TColor c : Colours) {
        gfx::TBitmap image(16, 16);
        image.GetCanvas().GetBrush().SetColor(c);
        image.GetCanvas().FillRect(rtl::Rect(0, 0, 16, 16));
        images->Add(image, nullptr);
    }
    return images;
}

class Bullets : public ::testing::Test {
protected:
    Bullets() : Doc(&Style), Images(MakeImages()), Canvas(100, 40) {}

    uint32_t At(int32_t x, int32_t y) { return uint32_t(Canvas.GetPixel(x, y)); }

    test::TLayoutStyle Style;
    test::TTestFormattedDocument Doc;
    std::unique_ptr<gfx::TImageList> Images;
    test::TOwnedPixelCanvas Canvas;
};

} // namespace

TEST_F(Bullets, TheFactoryMakesBulletsHotspotsAndControls) {
    EXPECT_EQ(CreateItemForStyleNo(StyleNoBullet, &Doc)->GetClass(), &TVDBulletItemInfo::ClassInfo);
    EXPECT_EQ(CreateItemForStyleNo(StyleNoHotspot, &Doc)->GetClass(),
              &TVDHotspotItemInfo::ClassInfo);
    EXPECT_EQ(CreateItemForStyleNo(StyleNoControl, &Doc)->GetClass(),
              &TVDControlItemInfo::ClassInfo);
    EXPECT_EQ(CreateItemForStyleNo(StyleNoHotspot, &Doc)->StyleNo, StyleNoHotspot);
}

// 16 x 16 images with the default box (Spacing 1): 18 x 18; border 2 and outer spacing 3 more.
TEST_F(Bullets, ABulletMeasuresItsListsImageWithItsBox) {
    TVDBulletItemInfo bullet(&Doc, 0, Images.get(), vdvaBaseline);
    EXPECT_EQ(bullet.GetWidth(&Style), 18);
    EXPECT_EQ(bullet.GetHeight(&Style), 18);
    bullet.BorderWidth = 2;
    bullet.OuterHSpacing = 3;
    EXPECT_EQ(bullet.GetWidth(&Style), 16 + 2 * (1 + 2 + 3));
    EXPECT_EQ(bullet.GetHeight(&Style), 16 + 2 * (1 + 2));
    EXPECT_EQ(bullet.GetMinWidth(nullptr, nullptr, &Doc), 28);
}

// The hovered hotspot shows its hot image; a selected bullet's image is tinted.
TEST_F(Bullets, AHotspotShowsItsHotImageWhileHovered) {
    Doc.AddBulletEx("", 0, Images.get(), 0);
    Doc.AddHotspotEx("", 1, 2, Images.get(), -1);
    Doc.Format(false, false);
    struct Case {
        int32_t ItemNo;
        TVDItemDrawStates State;
        gfx::TColor Expected;
    };
    for (const Case &c : {Case{0, {}, gfx::clRed}, Case{0, {vdidsHover}, gfx::clRed},
                          Case{1, {}, gfx::clLime}, Case{1, {vdidsHover}, gfx::clBlue}}) {
        TVDDrawLineInfo &d = *Doc.DrawItems[c.ItemNo];
        Doc.GetItem(c.ItemNo)->Paint(d.Left, d.Top, Canvas, c.State, d, &Doc, false);
        EXPECT_EQ(At(d.Left + 2, d.Top + 2), gfx::ColorToRGB(c.Expected)) << c.ItemNo;
    }
    TVDDrawLineInfo &d = *Doc.DrawItems[0];
    Doc.GetItem(0)->Paint(d.Left, d.Top, Canvas, {vdidsSelected, vdidsControlFocused}, d, &Doc,
                          false);
    EXPECT_NE(At(d.Left + 2, d.Top + 2), gfx::ColorToRGB(gfx::clRed));
}

TEST_F(Bullets, HotspotsAreHyperlinksHotAndColdWhenTheirImagesDiffer) {
    const TVDBulletItemInfo bullet(&Doc, 1, Images.get(), vdvaBaseline);
    const TVDHotspotItemInfo same(&Doc, 1, 1, Images.get(), vdvaBaseline);
    const TVDHotspotItemInfo differ(&Doc, 1, 2, Images.get(), vdvaBaseline);
    EXPECT_FALSE(bullet.GetBoolValueEx(vdbpJump, &Style));
    EXPECT_TRUE(bullet.GetBoolValueEx(vdbpPrintToBMP, &Style));
    for (TVDItemBoolPropertyEx prop : {vdbpJump, vdbpAllowsFocus, vdbpXORFocus}) {
        EXPECT_TRUE(same.GetBoolValueEx(prop, &Style));
    }
    EXPECT_FALSE(same.GetBoolValueEx(vdbpHotColdJump, &Style));
    EXPECT_TRUE(differ.GetBoolValueEx(vdbpHotColdJump, &Style));
}

// A background colour fills the bitmap, then the image stands at its top-left corner.
TEST_F(Bullets, OnPaperTheImageStandsOnTheBackgroundColour) {
    for (gfx::TColor background : {gfx::clNone, gfx::clYellow}) {
        TVDBulletItemInfo bullet(&Doc, 2, Images.get(), vdvaBaseline);
        bullet.BackgroundColor = background;
        gfx::TBitmap bkgnd(20, 20);
        bkgnd.GetCanvas().GetBrush().SetColor(gfx::clLime);
        bkgnd.GetCanvas().FillRect(rtl::Rect(0, 0, 20, 20));
        EXPECT_TRUE(bullet.PrintToBitmap(bkgnd, false, &Doc, -1, -1, vdcmColor));
        EXPECT_EQ(uint32_t(bkgnd.GetCanvas().GetPixel(1, 1)), gfx::ColorToRGB(gfx::clBlue));
        EXPECT_EQ(uint32_t(bkgnd.GetCanvas().GetPixel(18, 18)),
                  gfx::ColorToRGB(background == gfx::clNone ? gfx::clLime : background));
    }
}

// Mended: an item kept a pointer to an image list that the application had destroyed, and
// painting or printing it read freed memory. The item now follows the list's destruction: it
// has no list, is invalid and draws nothing.
TEST_F(Bullets, ABulletWhoseImageListIsDestroyedDrawsNothing) {
    TVDHotspotItemInfo hotspot(&Doc, 1, 2, Images.get(), vdvaBaseline);
    Images->SetTag(7);
    EXPECT_TRUE(hotspot.GetBoolValue(vdbpValid));
    EXPECT_EQ(hotspot.GetVDFHeaderTail(&Doc), "7 1 2");
    Images.reset();
    EXPECT_EQ(hotspot.GetImageList(), nullptr);
    EXPECT_FALSE(hotspot.GetBoolValue(vdbpValid));
    EXPECT_EQ(hotspot.GetImageWidth(&Style), 0);
    EXPECT_EQ(hotspot.GetVDFHeaderTail(&Doc), "0 1 2");
    gfx::TBitmap bkgnd(4, 4);
    EXPECT_FALSE(hotspot.PrintToBitmap(bkgnd, false, &Doc, -1, -1, vdcmColor));
}

// Extra properties 200 (image) and 201 (hot image), "nohtmlsize" and "alt": the count of
// extra-property lines is the number written.
TEST_F(Bullets, ExtraPropertiesAndTheirLines) {
    TVDHotspotItemInfo hotspot(&Doc, 1, 2, Images.get(), vdvaBaseline);
    EXPECT_TRUE(hotspot.SetExtraIntPropertyEx(200, 3));
    EXPECT_TRUE(hotspot.SetExtraIntPropertyEx(201, 0));
    EXPECT_EQ(hotspot.ImageIndex, 3);
    EXPECT_EQ(hotspot.HotImageIndex, 0);
    TVDBulletItemInfo bullet(&Doc, 1, Images.get(), vdvaBaseline);
    EXPECT_FALSE(bullet.SetExtraIntPropertyEx(201, 0));
    EXPECT_TRUE(bullet.SetExtraIntProperty(vdepNoHTMLImageSize, 1));
    EXPECT_TRUE(bullet.SetExtraStrProperty(vdespAlt, u"bullet"));
    bullet.Spacing = 4;
    rtl::TMemoryStream stream;
    bullet.SaveVDFExtraProperties(stream);
    const std::string lines(reinterpret_cast<const char *>(stream.GetMemory()),
                            static_cast<size_t>(stream.GetSize()));
    EXPECT_EQ(lines, "spacing=4\r\nnohtmlsize=1\r\nalt=bullet\r\n");
    EXPECT_EQ(bullet.GetVDFExtraPropertyCount(), 3);
    // Assign copies the list, index and size switch, not the text.
    TVDBulletItemInfo copy(&Doc);
    copy.Assign(bullet);
    EXPECT_EQ(copy.GetImageList(), Images.get());
    EXPECT_EQ(copy.ImageIndex, 1);
    EXPECT_TRUE(copy.NoHTMLImageSize);
    EXPECT_TRUE(copy.Alt.empty());
}

// fromNewLine starts a paragraph (style 0), otherwise the item continues the line; a hotspot
// added with one index shows it hot and cold. Setting the information keeps the list.
TEST_F(Bullets, TheViewerAddsBulletsAndHotspots) {
    TViziVodu viewer(nullptr);
    viewer.SetStyle(&Style);
    viewer.AddNL(u"a", 0, 0);
    viewer.AddBullet(1, Images.get(), false);
    viewer.AddHotspot(2, Images.get(), true);
    viewer.AddBulletExTag("b", 3, Images.get(), -1, u"tag");
    viewer.AddHotspotExTag("h", 0, 1, Images.get(), 0, u"link");
    TCustomVDData &data = viewer.GetVDData();
    EXPECT_EQ(test::Dump(data), "P0:a | L0:#-6 | P0:#-4 | L0:#-6 | P0:#-4");
    TVDAnsiString name;
    int32_t image = 0, hot = 0;
    gfx::TCustomImageList *list = nullptr;
    TVDTag tag;
    data.GetHotspotInfo(2, name, image, hot, list, tag);
    EXPECT_EQ(image, 2);
    EXPECT_EQ(hot, 2);
    data.GetBulletInfo(3, name, image, list, tag);
    EXPECT_EQ(name, "b");
    EXPECT_EQ(image, 3);
    EXPECT_EQ(list, Images.get());
    EXPECT_EQ(tag, u"tag");
    gfx::TImageList other(nullptr);
    data.SetHotspotInfo(4, "x", 3, 2, &other, u"t");
    data.GetHotspotInfo(4, name, image, hot, list, tag);
    EXPECT_EQ(name, "x");
    EXPECT_EQ(image, 3);
    EXPECT_EQ(hot, 2);
    EXPECT_EQ(list, Images.get());
    EXPECT_THROW(data.GetHotspotInfo(3, name, image, hot, list, tag), EViziVoduError);
}
