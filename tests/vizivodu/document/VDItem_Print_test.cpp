// Items on paper: breaks as thick as their width at the printer's resolution, every printed
// item in the colour mode, pictures drawn into bitmaps over what lies behind them, and tall
// pictures cut between pages.
#include "vizivodu/document/VDItem.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_ImagePrint.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDLabelItem.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/styles/VDStyle_Lists.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImgList.h"
#include "platform/gfx/Picture.h"

#include <gtest/gtest.h>

#include <string>

using namespace vizivodu;

namespace {

constexpr TVDScreenAndDevice Printer600{96, 96, 600, 600, 0, 0};
constexpr TVDScreenAndDevice Screen{96, 96, 96, 96, 0, 0};

uint32_t Rgb(gfx::TColor c) {
    return gfx::ColorToRGB(c);
}

class ItemPrinting : public ::testing::Test {
protected:
    ItemPrinting() : Doc(&Style), Page(600, 200) { Style.GI->DrawGlyphBoxes = true; }

    void Format() { Doc.Format(false, false); }
    // Inline objects get the draw items they print with.
    void AllowCustomDrawItems() {
        TVDFlags flags = Doc.GetFlags();
        flags.Include(vdflAllowCustomDrawItems);
        Doc.SetFlags(flags);
    }
    int32_t DrawItemOf(int32_t itemNo) {
        for (int32_t i = 0; i < Doc.DrawItems.Count(); ++i) {
            if (Doc.DrawItems[i]->ItemNo == itemNo) {
                return i;
            }
        }
        return -1;
    }
    void Print(int32_t itemNo, int32_t y, TVDColorMode mode,
               const TVDScreenAndDevice &sad = Printer600) {
        Doc.GetItem(itemNo)->Print(Page, 0, y, 590, false, false, sad, -1, mode, &Doc,
                                   DrawItemOf(itemNo), 1, false);
    }
    uint32_t At(int32_t x, int32_t y) { return uint32_t(Page.GetPixel(x, y)); }
    void ClearPage() {
        Page.GetBrush().SetStyle(gfx::bsSolid);
        Page.GetBrush().SetColor(gfx::clWhite);
        Page.FillRect(rtl::Rect(0, 0, 600, 200));
    }
    // The rows of column x from top to bottom, "r" for colour, "." for white, "?" otherwise.
    std::string Column(int32_t x, int32_t top, int32_t bottom, uint32_t colour) {
        std::string out;
        for (int32_t y = top; y < bottom; ++y) {
            out += At(x, y) == colour ? 'r' : At(x, y) == 0xFFFFFF ? '.' : '?';
        }
        return out;
    }

    test::TLayoutStyle Style;
    test::TTestFormattedDocument Doc;
    test::TOwnedPixelCanvas Page;
};

} // namespace

// A rule of 2 pixels printed at 600 dpi is 12.5 rounded to 12 printer pixels, centred on the
// middle of its 11-pixel line (drawn at 100: middle 105, rows 99 to 110); the rectangle's pen is
// one screen pixel there (6 printer pixels, around a 4-pixel rule of 25), the 3-D frame has 6
// rings. On the screen the same rule is 2 pixels thick.
TEST_F(ItemPrinting, ABreakPrintedAt600DpiIsAsThickAsItsWidthThere) {
    struct Case {
        TVDBreakStyle Style;
        uint8_t Width;
        uint32_t Colour;
        const char *Rows; // rows 91 to 119
    };
    const uint32_t red = Rgb(gfx::clRed);
    for (const Case &c :
         {Case{vdbsLine, 2, red, "........rrrrrrrrrrrr........."},
          Case{vdbsRectangle, 4, red, "..rrrrrr.............rrrrrr.."},
          Case{vdbs3d, 2, Rgb(gfx::clBtnShadow), "........rrrrrr..............."}}) {
        Doc.Clear();
        Doc.AddBreakEx(c.Width, c.Style, gfx::clRed);
        Format();
        ClearPage();
        Print(0, 100, vdcmColor);
        EXPECT_EQ(Column(50, 91, 120, c.Colour), c.Rows) << int(c.Style);
    }
    Doc.Clear();
    Doc.AddBreakEx(2, vdbsLine, gfx::clRed);
    Format();
    ClearPage();
    Doc.GetItem(0)->PaintFullWidth(0, 0, 100, Page, {}, Style, rtl::TRect{}, &Doc, 0, 0, 0, nullptr,
                                   false);
    EXPECT_EQ(Column(50, 102, 108, red), "..rr..");
}

// A red break, a red numbered marker, the leader of a tab in a red text style and a label in
// it print red in colour, grey in grey scale and black in the black-and-white modes.
TEST_F(ItemPrinting, ColourModesTurnColouredItemsGreyOrBlack) {
    Style.GetTextStyles().GetItem(0).SetColor(gfx::clRed);
    Style.SetDefTabWidth(48);
    TVDListInfo &list = Style.GetListStyles().Add();
    TVDListLevel &level = list.GetLevels().Add();
    level.SetListType(vdlstDecimal);
    level.SetFormatString(u"%0:s.");
    level.GetFont().SetColor(gfx::clRed);
    Doc.AddNL(u"a", 0, 0);
    Doc.SetListMarkerInfo(0, list.GetIndex(), 0, 1, 0, false); // items 0 (marker) and 1
    Doc.AddNL(u"a", 0, 0);                                     // 2
    Doc.AddTab(0, -1); // 3: 38 wide, one dot a dot's width (10) in
    Doc.AddNL(u"b", 0, -1);
    Doc.AddBreakEx(2, vdbsLine, gfx::clRed);                               // 5
    Doc.AddItem(u"", std::make_unique<TVDLabelItemInfo>(&Doc, 0, u"xyz")); // 6
    Format();
    // Formatting gives the tab its stop's leader; the tab prints the one it has.
    dynamic_cast<TVDTabItemInfo &>(*Doc.GetItem(3)).Leader = u".";
    struct Case {
        TVDColorMode Mode;
        uint32_t Colour;
    };
    for (const Case c :
         {Case{vdcmColor, 0x0000FF}, Case{vdcmPrinterColor, 0x0000FF},
          Case{vdcmGrayScale, 0x4C4C4C}, Case{vdcmBlackAndWhite, 0}, Case{vdcmBlackOnWhite, 0}}) {
        ClearPage();
        Print(0, 0, c.Mode);
        Print(3, 40, c.Mode, Screen);
        Print(5, 80, c.Mode);
        Print(6, 120, c.Mode);
        EXPECT_EQ(At(1, 1), c.Colour) << "marker, mode " << int(c.Mode);
        EXPECT_EQ(At(11, 41), c.Colour) << "tab leader, mode " << int(c.Mode);
        EXPECT_EQ(At(1, 41), 0xFFFFFFu) << "no leader in the first leader width";
        EXPECT_EQ(At(50, 85), c.Colour) << "break, mode " << int(c.Mode);
        EXPECT_EQ(At(1, 121), c.Colour) << "label, mode " << int(c.Mode);
    }
}

namespace {

// 4 x 2: the left half opaque blue, the right half fully transparent.
std::unique_ptr<gfx::TPngImage> HalfTransparentPicture() {
    auto png = std::make_unique<gfx::TPngImage>();
    png->LoadFromFile(
        rtl::Utf8ToUtf16(std::string(WB_TEST_DATA) + "/vizivodu/pictures/half_transparent.png"));
    return png;
}

gfx::TBitmap Filled(int32_t w, int32_t h, gfx::TColor colour) {
    gfx::TBitmap bmp(w, h);
    bmp.GetCanvas().GetBrush().SetColor(colour);
    bmp.GetCanvas().FillRect(rtl::Rect(0, 0, w, h));
    return bmp;
}

} // namespace

// The bitmap arrives holding what lies behind the picture. At the picture's own size the
// transparent pixels show it; at another size (the picture scaled on the page) the bitmap takes
// the picture's size and keeps what lay behind stretched under a transparent picture, white
// under another; a background colour fills it.
TEST_F(ItemPrinting, APicturePrintedThroughABitmapKeepsWhatLiesBehindItsTransparentPixels) {
    struct Case {
        int32_t Width, Height;
        bool Transparent;
        gfx::TColor Background;
        uint32_t Right; // colour of the picture's transparent right half
    };
    for (const Case &c : {Case{4, 2, false, gfx::clNone, Rgb(gfx::clLime)},
                          Case{8, 4, true, gfx::clNone, Rgb(gfx::clLime)},
                          Case{8, 4, false, gfx::clNone, Rgb(gfx::clWhite)},
                          Case{8, 4, true, gfx::clYellow, Rgb(gfx::clYellow)}}) {
        TVDGraphicItemInfo item(&Doc, HalfTransparentPicture(), vdvaBaseline);
        item.GetImage()->SetTransparent(c.Transparent);
        item.BackgroundColor = c.Background;
        gfx::TBitmap bkgnd = Filled(c.Width, c.Height, gfx::clLime);
        EXPECT_TRUE(item.PrintToBitmap(bkgnd, false, &Doc, -1, -1, vdcmColor));
        const bool ownSize = c.Background == gfx::clNone;
        EXPECT_EQ(bkgnd.GetWidth(), ownSize ? 4 : c.Width);
        const int32_t w = bkgnd.GetWidth();
        EXPECT_EQ(uint32_t(bkgnd.GetCanvas().GetPixel(0, 0)), Rgb(gfx::clBlue)) << c.Width;
        EXPECT_EQ(uint32_t(bkgnd.GetCanvas().GetPixel(w - 1, 0)), c.Right)
            << c.Width << " " << c.Transparent;
    }
}

namespace {

// 10 x 100 with row y in RGB(2y, 0, 0).
std::unique_ptr<gfx::TBitmap> RowsPicture() {
    auto bmp = std::make_unique<gfx::TBitmap>(10, 100);
    for (int32_t y = 0; y < 100; ++y) {
        bmp->GetCanvas().GetBrush().SetColor(gfx::RGB(uint8_t(2 * y), 0, 0));
        bmp->GetCanvas().FillRect(rtl::Rect(0, y, 10, y + 1));
    }
    return bmp;
}

} // namespace

// Pieces are no lower than MinHeightOnPage (10): a first piece needs room for it and a rest of
// at least as much, unless the whole picture fits.
TEST_F(ItemPrinting, ATallPictureIsCutIntoPiecesNoLowerThanItsMinimum) {
    AllowCustomDrawItems();
    Doc.AddPictureEx("", RowsPicture(), 0, vdvaBaseline);
    auto &picture = dynamic_cast<TVDGraphicItemInfo &>(*Doc.GetItem(0));
    picture.Spacing = 0;
    picture.FMinHeightOnPage = 10;
    Format();
    auto *split = dynamic_cast<TVDMultiImagePrintInfo *>(Doc.DrawItems[0]);
    ASSERT_NE(split, nullptr);
    ASSERT_TRUE(split->InitSplit(Screen, false));
    for (const auto &[room, fits] : {std::pair{5, false}, {50, true}, {95, false}, {101, true}}) {
        EXPECT_EQ(split->CanSplitFirst(room, Screen, false, false, false, false), fits) << room;
    }
    std::unique_ptr<TVDFootnoteRefList> footnotes;
    int32_t maxHeight = 0;
    EXPECT_TRUE(split->SplitAt(40, Screen, true, footnotes, maxHeight, false, false));
    EXPECT_FALSE(split->SplitAt(55, Screen, true, footnotes, maxHeight, false, false));
    EXPECT_TRUE(split->SplitAt(15, Screen, true, footnotes, maxHeight, false, false));
    std::string parts;
    for (int32_t i = 0; i < split->GetPartsList().Count(); ++i) {
        parts += std::to_string(split->Part(i)->ImgTop) + "+" +
                 std::to_string(split->Part(i)->ImgHeight) + " ";
    }
    EXPECT_EQ(parts, "0+40 40+15 55+45 ");
    // Pagination may meet the picture again: the pieces start afresh.
    ASSERT_TRUE(split->InitSplit(Screen, false));
    EXPECT_EQ(split->GetPartsList().Count(), 1);
    picture.FMinHeightOnPage = 0;
    EXPECT_FALSE(split->InitSplit(Screen, false));
}

// Mended: the piece was drawn into the rectangle from -ImgTop down to the picture's height, so
// that every piece after the first was squeezed; a piece shows its rows at the picture's scale.
TEST_F(ItemPrinting, APieceOfASplitPictureIsNotSqueezed) {
    AllowCustomDrawItems();
    Doc.AddPictureEx("", RowsPicture(), 0, vdvaBaseline);
    auto &picture = dynamic_cast<TVDGraphicItemInfo &>(*Doc.GetItem(0));
    picture.FMinHeightOnPage = 10;
    Format();
    auto &split = dynamic_cast<TVDMultiImagePrintInfo &>(*Doc.DrawItems[0]);
    ASSERT_TRUE(split.InitSplit(Screen, false));
    std::unique_ptr<TVDFootnoteRefList> footnotes;
    int32_t maxHeight = 0;
    ASSERT_TRUE(split.SplitAt(42, Screen, true, footnotes, maxHeight, false, false)); // 40 rows
    ASSERT_EQ(split.Part(1)->ImgTop, 40);
    gfx::TBitmap piece = Filled(10, split.Part(1)->ImgHeight, gfx::clWhite);
    ASSERT_TRUE(picture.PrintToBitmap(piece, false, &Doc, 0, 1, vdcmColor));
    for (int32_t row : {0, 30, 59}) {
        EXPECT_EQ(uint32_t(piece.GetCanvas().GetPixel(5, row)),
                  Rgb(gfx::RGB(uint8_t(80 + 2 * row), 0, 0)))
            << row;
    }
}

// Pagination cuts a picture taller than a page into pieces, one a page, nothing lost.
TEST(ItemPagination, ATallPictureGoesOverPagesInPieces) {
    test::TPrintFixture f;
    auto bmp = std::make_unique<gfx::TBitmap>(40, 2500);
    f.Source.AddPictureEx("", std::move(bmp), 0, vdvaBaseline);
    auto &picture = dynamic_cast<TVDGraphicItemInfo &>(*f.Source.GetVDData().GetItem(0));
    picture.FMinHeightOnPage = 100;
    const int32_t pages = f.Paginate();
    ASSERT_GE(pages, 3);
    auto *split = dynamic_cast<TVDMultiImagePrintInfo *>(f.Data().DrawItems[0]);
    ASSERT_NE(split, nullptr);
    ASSERT_EQ(split->GetPartsList().Count(), pages);
    int32_t top = 0;
    for (int32_t i = 0; i < pages; ++i) {
        EXPECT_EQ(split->Part(i)->ImgTop, top) << i;
        EXPECT_GE(split->Part(i)->ImgHeight, 100) << i;
        top += split->Part(i)->ImgHeight;
    }
    EXPECT_EQ(top, 2500);
}

// An image-list marker and a bullet print their images on the page: the page sizes the bitmap
// an item prints into by the item's image size, which the marker did not give (nothing printed).
TEST(ItemPagination, ImagesOfMarkersAndBulletsReachThePage) {
    test::TPrintFixture f;
    gfx::TImageList images(nullptr, 16, 16);
    for (gfx::TColor c : {gfx::clRed, gfx::clBlue}) {
        gfx::TBitmap image(16, 16);
        image.GetCanvas().GetBrush().SetColor(c);
        image.GetCanvas().FillRect(rtl::Rect(0, 0, 16, 16));
        images.Add(image, nullptr);
    }
    TVDListInfo &list = f.Style.GetListStyles().Add();
    TVDListLevel &level = list.GetLevels().Add();
    level.SetListType(vdlstImageList);
    level.SetImageList(&images);
    level.SetImageIndex(0);
    level.SetLeftIndent(30);
    f.Source.AddNL(u"a", 0, 0);
    f.Source.GetVDData().SetListMarkerInfo(0, list.GetIndex(), 0, 1, 0, false);
    f.Source.AddBullet(1, &images, true);
    ASSERT_EQ(f.Paginate(), 1);
    gfx::TBitmap page(794, 1122);
    f.Print.DrawPreview(1, page.GetCanvas(), rtl::Rect(0, 0, 794, 1122));
    int32_t red = 0, blue = 0;
    for (int32_t y = 0; y < 300; ++y) {
        for (int32_t x = 0; x < 300; ++x) {
            const uint32_t c = uint32_t(page.GetCanvas().GetPixel(x, y));
            red += c == Rgb(gfx::clRed);
            blue += c == Rgb(gfx::clBlue);
        }
    }
    EXPECT_GT(red, 12 * 12);
    EXPECT_GT(blue, 12 * 12);
}
