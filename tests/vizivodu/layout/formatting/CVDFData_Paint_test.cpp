// Painting on exact metrics (10 pixels a character, the em 20 tall): only the lines in the clip
// are drawn, at the scroll offsets; a selection inside an item in the selection colours; the
// paragraph background and border; tab leaders; line-end signs with special characters shown;
// and backgrounds that do not move when drawn without scroll offsets.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDLabelItem.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/layout/formatting/VDBack.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImgList.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vizivodu;

namespace {

class Painting : public ::testing::Test {
protected:
    Painting() : Doc(&Style), Canvas(200, 100) {
        Doc.Width = 200;
        Style.GI->DrawGlyphBoxes = true;
        Style.SetColor(gfx::clWhite);
    }

    void Format() { Doc.Format(false, false); }
    void Paint(rtl::TRect clip = rtl::Rect(0, 0, 200, 100)) {
        Style.GI->TextOps.clear();
        Doc.PaintTo(Canvas, clip, false, false, false, false, false, 0, 0, 0,
                    Doc.DrawItems.Count() - 1, nullptr, nullptr, false);
    }
    gfx::TColor At(int32_t x, int32_t y) { return Canvas.GetPixel(x, y); }

    test::TLayoutStyle Style;
    test::TTestFormattedDocument Doc;
    test::TOwnedPixelCanvas Canvas;
};

} // namespace

// The range starts two lines above the clip (draw items of earlier lines may reach down into
// it) and ends with the line after the first line below the clip.
TEST_F(Painting, OnlyTheLinesNearTheClipAreDrawnAtTheScrollOffsets) {
    for (int i = 0; i < 100; ++i) {
        Doc.AddNL(u"ab", 0, 0);
    }
    Format();
    Doc.VOffs = 1000; // line n is at 20 n
    Paint(rtl::Rect(0, 0, 200, 60));
    std::vector<int32_t> ys;
    for (const auto &op : Style.GI->TextOps) {
        ys.push_back(op.Y);
    }
    EXPECT_EQ(ys, (std::vector<int32_t>{-40, -20, 0, 20, 40, 60, 80, 100}));
    // The same in the middle of a clip that starts lower: coordinates relative to the clip.
    Paint(rtl::Rect(0, 40, 200, 60));
    ys.clear();
    for (const auto &op : Style.GI->TextOps) {
        ys.push_back(op.Y);
    }
    EXPECT_EQ(ys, (std::vector<int32_t>{-40, -20, 0, 20, 40, 60}));
}

TEST_F(Painting, APartlySelectedItemShowsItsSelectionInTheSelectionColours) {
    // The test document has no focus: the inactive selection colours apply.
    Style.SetInactiveSelColor(gfx::clBlue);
    Style.SetInactiveSelTextColor(gfx::clYellow);
    Doc.AddNL(u"abcd", 0, 0);
    Format();
    Doc.FSelStartNo = 0;
    Doc.FSelStartOffs = 2; // before "b"
    Doc.FSelEndNo = 0;
    Doc.FSelEndOffs = 4; // before "d"
    Paint();
    EXPECT_EQ(At(4, 10), gfx::clBlack);   // "a"
    EXPECT_EQ(At(14, 10), gfx::clYellow); // "b", selected
    EXPECT_EQ(At(19, 10), gfx::clBlue);   // the gap after "b" on the selection
    EXPECT_EQ(At(24, 10), gfx::clYellow); // "c"
    EXPECT_EQ(At(34, 10), gfx::clBlack);  // "d"
    EXPECT_EQ(At(39, 10), gfx::clWhite);
}

TEST_F(Painting, AParagraphBackgroundFillsTheParagraphAcrossTheArea) {
    TParaInfo &para = Style.GetParaStyles().Add();
    para.GetBackground().Color = gfx::clRed;
    Doc.AddNL(u"ab", 0, 0);
    Doc.AddNL(u"cd", 0, para.GetIndex());
    Doc.AddNL(u"ef", 0, 0);
    Format();
    Canvas.GetBrush().SetColor(gfx::clWhite);
    Canvas.FillRect(rtl::Rect(0, 0, 200, 100));
    Paint();
    EXPECT_EQ(At(150, 10), gfx::clWhite);
    EXPECT_EQ(At(150, 21), gfx::clRed);
    EXPECT_EQ(At(199, 38), gfx::clRed);
    EXPECT_EQ(At(4, 30), gfx::clBlack); // the text over it
    EXPECT_EQ(At(150, 50), gfx::clWhite);
}

TEST_F(Painting, ATabLeaderRepeatsInsideTheTabLeavingOneLeaderWidthAtEachEnd) {
    TParaInfo &para = Style.GetParaStyles().Add();
    TVDTabInfo &tab = para.GetTabs().Add();
    tab.SetPosition(100);
    tab.SetLeader(u".");
    Doc.AddNL(u"ab", 0, para.GetIndex());
    Doc.AddTab(0, -1);
    Doc.AddNL(u"cd", 0, -1);
    Format();
    Paint();
    std::vector<int32_t> dots;
    for (const auto &op : Style.GI->TextOps) {
        if (op.Text == u".") {
            dots.push_back(op.X);
        }
    }
    // The tab spans 20 .. 100.
    EXPECT_EQ(dots, (std::vector<int32_t>{30, 40, 50, 60, 70, 80}));
}

TEST_F(Painting, ThePaintedLinesDoNotDependOnWhereTheDocumentIsScrolled) {
    for (int i = 0; i < 1000; ++i) {
        Doc.AddNL(u"abc def", 0, 0);
    }
    Format();
    std::vector<size_t> counts;
    for (int32_t offs : {0, 10000, 19900}) {
        Doc.VOffs = offs;
        Paint();
        counts.push_back(Style.GI->TextOps.size());
    }
    // Top: no lines above; end: none after the last.
    EXPECT_EQ(counts, (std::vector<size_t>{8, 10, 7}));
}

TEST_F(Painting, WithSpecialCharactersShownEachParagraphEndsInAPilcrow) {
    Doc.SetOptions({vdoFastFormatting, vdoShowSpecialCharacters});
    Doc.Width = 60;
    Doc.AddNL(u"ab", 0, 0);
    Doc.AddNL(u"cdef ghij", 0, 0); // wraps inside the item: no sign at the wrap
    Format();
    Paint();
    std::vector<std::pair<int32_t, int32_t>> signs;
    for (const auto &op : Style.GI->TextOps) {
        if (op.Text == u"\u00B6") {
            signs.emplace_back(op.X, op.Y);
        }
    }
    EXPECT_EQ(signs, (std::vector<std::pair<int32_t, int32_t>>{{20, 0}, {40, 40}}));
}

// A page is drawn without scroll offsets; a background that scrolls with the content then
// paints as a tiled one, so printing needs no change of the background's style.
TEST(Background, TiledAndScrolledWithoutOffsetsPaintsAsTiledAndKeepsItsStyle) {
    test::TLayoutStyle style;
    TVDBackground back(false);
    auto tile = std::make_unique<gfx::TBitmap>(7, 5);
    tile->GetCanvas().GetBrush().SetColor(gfx::clRed);
    tile->GetCanvas().FillRect(rtl::Rect(0, 0, 7, 5));
    tile->GetCanvas().SetPixel(0, 0, gfx::clBlue);
    back.AssignImage(std::move(tile), nullptr, nullptr);
    const auto draw = [&](TBackgroundStyle s, int32_t hOffs, int32_t vOffs) {
        back.Style = s;
        test::TOwnedPixelCanvas c(40, 30);
        back.Draw(c, rtl::Rect(0, 0, 40, 30), hOffs, vOffs, 0, 0, 40, 30, gfx::clNone, 100000,
                  false, false, *style.GI, nullptr, nullptr, false);
        std::vector<gfx::TColor> pixels;
        for (int32_t y = 0; y < 30; ++y) {
            for (int32_t x = 0; x < 40; ++x) {
                pixels.push_back(c.GetPixel(x, y));
            }
        }
        return pixels;
    };
    const std::vector<gfx::TColor> tiled = draw(bsTiled, 0, 0);
    EXPECT_EQ(tiled[0], gfx::clBlue);
    EXPECT_EQ(tiled[7], gfx::clBlue);
    EXPECT_EQ(tiled[1], gfx::clRed);
    EXPECT_EQ(draw(bsTiledAndScrolled, 0, 0), tiled);
    EXPECT_EQ(back.Style, bsTiledAndScrolled);
    EXPECT_NE(draw(bsTiledAndScrolled, 3, 2), tiled);
}

// An image-list counter marker shows the image of its number: the list's image index plus the
// counter less one.
TEST_F(Painting, AnImageListCounterMarkerDrawsTheImageOfItsNumber) {
    gfx::TImageList images(nullptr, 4, 4);
    for (gfx::TColor c : {gfx::clRed, gfx::clLime, gfx::clBlue}) {
        gfx::TBitmap image(4, 4);
        image.GetCanvas().GetBrush().SetColor(c);
        image.GetCanvas().FillRect(rtl::Rect(0, 0, 4, 4));
        images.Add(image, nullptr);
    }
    TVDListInfo &list = Style.GetListStyles().Add();
    TVDListLevel &level = list.GetLevels().Add();
    level.SetListType(vdlstImageListCounter);
    level.SetImageList(&images);
    level.SetImageIndex(1);
    level.SetLeftIndent(20);
    for (int32_t i = 0; i < 2; ++i) {
        Doc.AddNL(u"a", 0, 0);
        Doc.SetListMarkerInfo(2 * i, list.GetIndex(), 0, 1, 0, false);
    }
    Format();
    Paint();
    for (int32_t i = 0; i < 2; ++i) {
        const TVDDrawLineInfo &marker = *Doc.DrawItems[2 * i];
        EXPECT_EQ(At(marker.Left + 1, marker.Top + 1), i == 0 ? gfx::clLime : gfx::clBlue) << i;
    }
}

// A label is measured in its own text style (style 1: characters 20 wide, the em 40 tall) and
// drawn once: at the left of its draw item, or placed by its alignment inside a minimum width.
TEST_F(Painting, LabelsAreMeasuredInTheirStyleAndAlignedInsideAMinimumWidth) {
    struct Case {
        TAlignment Align;
        TVDStyleLength MinWidth;
        int32_t Width, TextX;
    };
    for (const Case c : {Case{taLeftJustify, 0, 60, 20},
                         {taLeftJustify, 100, 100, 20},
                         {taRightJustify, 100, 100, 60},
                         {taCenter, 100, 100, 40}}) {
        Doc.Clear();
        Doc.AddNL(u"ab", 0, 0);
        auto label = std::make_unique<TVDLabelItemInfo>(&Doc, 1, u"xyz");
        label->SetAlignment(c.Align);
        label->SetMinWidth(c.MinWidth);
        Doc.AddItem(u"", std::move(label));
        Doc.GetItem(1)->SetSameAsPrev(true);
        Format();
        ASSERT_EQ(Doc.DrawItems.Count(), 2);
        const TVDDrawLineInfo &d = *Doc.DrawItems[1];
        EXPECT_EQ(d.Left, 20);
        EXPECT_EQ(d.Width, c.Width) << c.MinWidth;
        EXPECT_EQ(d.Height, 40);
        Paint();
        const auto op = std::find_if(Style.GI->TextOps.begin(), Style.GI->TextOps.end(),
                                     [](const auto &o) { return o.Text == u"xyz"; });
        ASSERT_NE(op, Style.GI->TextOps.end());
        EXPECT_EQ(op->X, c.TextX) << int(c.Align) << " " << c.MinWidth;
        EXPECT_EQ(op->Y, d.Top);
    }
}

// A changed text is measured again; the formatting record gives back the measured size.
TEST_F(Painting, ALabelIsMeasuredAgainAfterItsTextChangesAndKeepsItsSizeInTheFormattingRecord) {
    TVDLabelItemInfo label(&Doc, 0, u"abc");
    EXPECT_EQ(label.GetWidth(&Style), 30);
    label.SetText(u"abcdef");
    EXPECT_EQ(label.GetWidth(&Style), 60);
    EXPECT_EQ(label.GetHeight(&Style), 20);
    rtl::TMemoryStream stream;
    label.SaveFormattingToStream(stream);
    TVDLabelItemInfo copy(&Doc, 0, u"");
    stream.SetPosition(4); // the -1 that announces the record is read by the lines reader
    copy.LoadFormattingFromStream(stream);
    EXPECT_EQ(copy.Width, 60);
    EXPECT_EQ(copy.Height, 20);
    EXPECT_EQ(copy.Descend, 4);
    EXPECT_TRUE(copy.IsUpdated());
}

// A misspelt word gets a red zigzag along the bottom of its characters, on every line it is
// wrapped onto, only when word painters are asked for and never in print simulation.
TEST_F(Painting, WordPaintersDrawOverTheirCharactersOnEveryLineButNotInPrintSimulation) {
    Doc.Width = 60; // "abcd " on the first line, "efgh" on the second
    Doc.AddNL(u"abcd efgh", 0, 0);
    Doc.GetItem(0)->AddMisspelling(3, 5); // "cd ef"
    Format();
    ASSERT_EQ(Doc.DrawItems.Count(), 2);
    const gfx::TColor red = Style.GetLiveSpellingColor();
    struct Case {
        bool PrintMode, UseWordPainters, Drawn;
    };
    for (const Case c : {Case{false, true, true}, {true, true, false}, {false, false, false}}) {
        Canvas.GetBrush().SetColor(gfx::clWhite);
        Canvas.FillRect(rtl::Rect(0, 0, 200, 100));
        Doc.PaintTo(Canvas, rtl::Rect(0, 0, 200, 100), false, false, false, c.PrintMode,
                    c.UseWordPainters, 0, 0, 0, Doc.DrawItems.Count() - 1, nullptr, nullptr, false);
        // "cd" on the first line (its space swallowed): x 20 to 40, the zigzag's points at 18 and
        // 20; "ef" from 0 to 20 on the second line, 20 pixels lower.
        EXPECT_EQ(At(20, 18) == red, c.Drawn) << c.PrintMode << c.UseWordPainters;
        EXPECT_EQ(At(36, 18) == red, c.Drawn);
        EXPECT_EQ(At(0, 38) == red, c.Drawn);
        EXPECT_NE(At(10, 18), red); // "b" is spelt right
        EXPECT_NE(At(44, 18), red); // the swallowed space is not marked
        EXPECT_NE(At(30, 38), red); // "g" is spelt right
    }
}
