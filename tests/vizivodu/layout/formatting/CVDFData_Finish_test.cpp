// Line finishing and the objects on lines, on exact metrics (10 pixels a character in text
// style 0): tabs and leaders, full-width items, floating pictures beside lines, list levels,
// the four alignments and justification, line spacing, the simplified right-to-left order and
// minimum widths.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImgList.h"
#include "platform/gfx/Picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>
#include <vector>

using namespace vizivodu;
using vizivodu::test::DumpDrawItems;

namespace {

class Finish : public ::testing::Test {
protected:
    Finish() : Doc(&Style) { Doc.Width = 400; }

    void Format() { Doc.Format(false, false); }
    std::string Lines() { return DumpDrawItems(Doc); }
    TParaInfo &AddPara() { return Style.GetParaStyles().Add(); }
    // A picture item of w x h pixels (with its 1-pixel padding, w + 2 by h + 2).
    void AddPicture(int32_t w, int32_t h, int32_t paraNo, TVDVAlign align) {
        Doc.AddPictureEx("", std::make_unique<gfx::TBitmap>(w, h), paraNo, align);
    }

    test::TLayoutStyle Style;
    test::TTestFormattedDocument Doc;
};

struct TAlignCase {
    TVDAlignment Align;
    const char *Expected;
};

} // namespace

TEST_F(Finish, TheFourAlignments) {
    for (const TAlignCase &c :
         {TAlignCase{vdaLeft, "0:1+2@0,0 20x20"}, TAlignCase{vdaRight, "0:1+2@380,0 20x20"},
          TAlignCase{vdaCenter, "0:1+2@190,0 20x20"}, TAlignCase{vdaJustify, "0:1+2@0,0 20x20"}}) {
        Doc.Clear();
        TParaInfo &para = AddPara();
        para.SetAlignment(c.Align);
        Doc.AddNL(u"ab", 0, para.GetIndex());
        Format();
        EXPECT_EQ(Lines(), c.Expected) << int(c.Align);
    }
}

TEST_F(Finish, JustifiedLinesEndAtTheRightEdgeButTheLast) {
    TParaInfo &para = AddPara();
    para.SetAlignment(vdaJustify);
    Doc.Width = 100;
    Doc.AddNL(u"aa bb cc dd ee", 0, para.GetIndex());
    Format();
    EXPECT_EQ(Lines(), "0:1+8@0,0 100x20 / 0:10+5@0,20 50x20");
    EXPECT_EQ(Doc.DrawItems[0]->GetSpaceCount(), 2);
    EXPECT_EQ(Doc.DrawItems[0]->GetTextWidth(), 80);
    EXPECT_EQ(Doc.DrawItems[1]->GetSpaceCount(), 0);
    // The last line follows the last-line alignment.
    para.SetLastLineAlignment(vdllaRight);
    Format();
    EXPECT_EQ(Lines(), "0:1+8@0,0 100x20 / 0:10+5@50,20 50x20");
}

TEST_F(Finish, JustifiedLineWithoutSpacesKeepsTheFallbackAlignment) {
    TParaInfo &para = AddPara();
    para.SetAlignment(vdaJustify);
    para.SetLastLineAlignment(vdllaCenter);
    Doc.Width = 50;
    Doc.MaxTextWidth = 50;
    Doc.AddNL(u"abcdefgh", 0, para.GetIndex());
    Format();
    // No space to stretch: the wrapped line falls back to the last-line alignment.
    EXPECT_EQ(Lines(), "0:1+5@0,0 50x20 / 0:6+3@10,20 30x20");
}

TEST_F(Finish, LineEndedByALineBreakInsideAJustifiedParagraphIsJustified) {
    TParaInfo &para = AddPara();
    para.SetAlignment(vdaJustify);
    Doc.Width = 100;
    Doc.SetAddParagraphMode(false); // items after the first start lines inside the paragraph
    Doc.AddNL(u"aa bb", 0, para.GetIndex());
    Doc.AddNL(u"cc", 0, para.GetIndex());
    Format();
    EXPECT_EQ(Lines(), "0:1+5@0,0 100x20 / 1:1+2@0,20 20x20");
}

TEST_F(Finish, DistributedLineSpreadsOverEveryCharacter) {
    TParaInfo &para = AddPara();
    para.SetAlignment(vdaDistribute);
    Doc.Width = 100;
    Doc.AddNL(u"abcd efghij", 0, para.GetIndex());
    Format();
    EXPECT_EQ(Lines(), "0:1+4@0,0 100x20 / 0:6+6@0,20 60x20");
    EXPECT_EQ(Doc.DrawItems[0]->GetSpaceCount(), -100);
}

TEST_F(Finish, LineSpacingInPercentAndSpaceBetween) {
    struct TCase {
        TVDLineSpacingType Type;
        int32_t Value;
        int32_t SecondTop;
    };
    for (const TCase &c : {TCase{vdlsPercent, 150, 30}, TCase{vdlsPercent, 40, 20},
                           TCase{vdlsPercent, 80, 16}, TCase{vdlsSpaceBetween, 7, 27}}) {
        Doc.Clear();
        TParaInfo &para = AddPara();
        para.SetLineSpacingType(c.Type);
        para.SetLineSpacing(c.Value);
        Doc.AddNL(u"a", 0, para.GetIndex());
        Doc.AddNL(u"b", 0, para.GetIndex());
        Format();
        EXPECT_EQ(Doc.DrawItems[1]->Top, c.SecondTop) << c.Value;
    }
}

TEST_F(Finish, RightAndCentreTabsAndALeader) {
    TParaInfo &para = AddPara();
    TVDTabInfo &left = para.GetTabs().Add();
    left.SetPosition(100);
    left.SetLeader(u".");
    TVDTabInfo &right = para.GetTabs().Add();
    right.SetPosition(200);
    right.SetAlign(vdtaRight);
    TVDTabInfo &centre = para.GetTabs().Add();
    centre.SetPosition(300);
    centre.SetAlign(vdtaCenter);
    Doc.AddNL(u"ab", 0, para.GetIndex());
    Doc.AddTab(0, -1);
    Doc.AddNL(u"cd", 0, -1);
    Doc.AddTab(0, -1);
    Doc.AddNL(u"ef", 0, -1);
    Doc.AddTab(0, -1);
    Doc.AddNL(u"ghij", 0, -1);
    Format();
    // Left tab: "cd" at 100. Right tab: "ef" ends at 200. Centre tab: "ghij" centred on 300.
    EXPECT_EQ(Lines(), "0:1+2@0,0 20x20 1@20,0 80x20 2:1+2@100,0 20x20 3@120,0 60x20 "
                       "4:1+2@180,0 20x20 5@200,0 80x20 6:1+4@280,0 40x20");
    EXPECT_EQ(dynamic_cast<TVDTabItemInfo *>(Doc.GetItem(1))->Leader, u".");
}

TEST_F(Finish, DefaultTabStopsEveryTabWidth) {
    Style.SetDefTabWidth(48);
    Doc.AddNL(u"abcde", 0, 0);
    Doc.AddTab(0, -1);
    Doc.AddNL(u"x", 0, -1);
    Format();
    EXPECT_EQ(Lines(), "0:1+5@0,0 50x20 1@50,0 46x20 2:1+1@96,0 10x20");
}

TEST_F(Finish, BreakTakesALineOfItsOwn) {
    Doc.AddNL(u"a", 0, 0);
    Doc.AddBreakEx(4, vdbsLine, gfx::clNone);
    Doc.AddNL(u"b", 0, 0);
    Format();
    // 400 wide less 5 on each side, 11 high; the next line starts below it.
    EXPECT_EQ(Lines(), "0:1+1@0,0 10x20 / 1@5,20 390x11 / 2:1+1@0,31 10x20");
    dynamic_cast<TVDBreakItemInfo *>(Doc.GetItem(1))->LineWidth = 30;
    Format();
    EXPECT_EQ(Doc.DrawItems[1]->Height, 31);
}

struct TFloatCase {
    TVDVAlign Align;
    int32_t BoxLeft;
    const char *Expected;
};

TEST_F(Finish, FloatingPictureNarrowsTheLinesBesideIt) {
    for (const TFloatCase &c :
         {TFloatCase{vdvaLeft, 0,
                     "0@100,0 0x20 1:1+9@100,0 90x20 / 1:11+9@100,20 90x20 / "
                     "1:21+9@100,40 90x20 / 1:31+4@0,60 40x20"},
          TFloatCase{vdvaRight, 100,
                     "0@0,0 0x20 1:1+9@0,0 90x20 / 1:11+9@0,20 90x20 / 1:21+9@0,40 90x20 / "
                     "1:31+4@0,60 40x20"}}) {
        Doc.Clear();
        Doc.Width = 200;
        AddPicture(98, 48, 0, c.Align); // a box of 100 x 50
        Doc.AddNL(u"aaaa bbbb cccc dddd eeee ffff gggg", 0, -1);
        Format();
        EXPECT_EQ(Lines(), c.Expected) << int(c.Align);
        const auto *f = dynamic_cast<TVDFloatingDrawLineInfo *>(Doc.DrawItems[0]);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->FloatLeft, c.BoxLeft);
        EXPECT_EQ(f->FloatTop, 0);
        EXPECT_EQ(f->FloatWidth, 100);
        EXPECT_EQ(f->FloatHeight, 50);
        EXPECT_TRUE(Doc.DrawItems[2]->FloatingAboveUsed);
        EXPECT_FALSE(Doc.DrawItems[4]->FloatingAboveUsed);
        EXPECT_EQ(Doc.DocumentHeight, 80);
    }
}

TEST_F(Finish, FloatAnchoredAfterTextIsPlacedBelowThatLine) {
    Doc.Width = 200;
    Doc.AddNL(u"ab", 0, 0);
    AddPicture(98, 48, -1, vdvaLeft);
    Doc.AddNL(u"cd", 0, 0);
    Format();
    const auto *f = dynamic_cast<TVDFloatingDrawLineInfo *>(Doc.DrawItems[1]);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->FloatTop, 20);
    EXPECT_EQ(Lines(), "0:1+2@0,0 20x20 1@20,0 0x20 / 2:1+2@100,20 20x20");
}

TEST_F(Finish, ListLevelIndentsTheMarkerAndTheText) {
    TVDListInfo &list = Style.GetListStyles().Add();
    TVDListLevel &level = list.GetLevels().Add();
    level.SetFormatString(u"*");
    level.SetMarkerIndent(20);
    level.SetLeftIndent(40);
    level.SetFirstIndent(0);
    Doc.Width = 100;
    Doc.AddNL(u"aaa bbb ccc", 0, 0);
    Doc.SetListMarkerInfo(0, list.GetIndex(), 0, 1, 0, false);
    Format();
    // The marker at the marker indent takes the gap to the text (20); wrapped lines start at
    // the level's left indent. The marker font is 8 points: 11 high.
    EXPECT_EQ(Lines(), "0@20,7 20x11 1:1+3@40,0 30x20 / 1:5+3@40,20 30x20 / 1:9+3@40,40 30x20");
}

TEST_F(Finish, RightToLeftParagraphReversesTheRuns) {
    TParaInfo &para = AddPara();
    para.SetBiDiMode(vdbdRightToLeft);
    Doc.AddNL(u"\u05D0\u05D1 ", 0, para.GetIndex());
    Doc.AddNL(u"cd ", 0, -1);
    Doc.AddNL(u"\u05D2\u05D3", 0, -1);
    Format();
    // The left-to-right word keeps its own order in the middle; the first run stands right.
    EXPECT_EQ(Lines(), "0:1+3@50,0 30x20 1:1+3@20,0 30x20 2:1+2@0,0 20x20");
}

TEST_F(Finish, ChangingADrawItemWidthKeepsTheLinesAlignment) {
    TParaInfo &para = AddPara();
    para.SetAlignment(vdaRight);
    Doc.AddNL(u"ab", 0, para.GetIndex());
    Doc.AddNL(u"cd", 0, -1);
    Format();
    EXPECT_EQ(Lines(), "0:1+2@360,0 20x20 1:1+2@380,0 20x20");
    Doc.ChangeDItemWidth(0, 30);
    EXPECT_EQ(Lines(), "0:1+2@350,0 30x20 1:1+2@380,0 20x20");
}

TEST_F(Finish, MinimumWidthsOfWrappingAndNonWrappingParagraphs) {
    TParaInfo &wrap = AddPara();
    wrap.SetLeftIndent(5);
    wrap.SetRightIndent(7);
    TParaInfo &noWrap = AddPara();
    noWrap.SetLeftIndent(5);
    noWrap.SetRightIndent(7);
    noWrap.SetOptions({vdpaoNoWrap});
    Doc.AddNL(u"ab cdef g", 0, wrap.GetIndex());
    Doc.AddNL(u"ab cdef g", 0, noWrap.GetIndex());
    gfx::TCanvas &canvas = *Doc.GetCanvas();
    int32_t first = -1;
    // Wrapping: the longest word and the indents; not wrapping: the whole text and the indents.
    EXPECT_EQ(Doc.CalculateParaSectionMinWidth(0, first, nullptr, canvas), 40 + 12);
    first = -1;
    EXPECT_EQ(Doc.CalculateParaSectionMinWidth(1, first, nullptr, canvas), 90 + 12);
    EXPECT_EQ(Doc.CalculateMinDocWidthPlus(0, nullptr, canvas), 102);
    Doc.Width = 50;
    Format();
    EXPECT_EQ(Doc.DocumentWidth, 102);
}

namespace {

struct TDrawItemShape {
    int32_t ItemNo, Offs, Length;
    bool FromNewLine;
    rtl::TRect Bounds;
};

std::vector<TDrawItemShape> Shapes(TCustomVDFormattedData &doc) {
    std::vector<TDrawItemShape> out;
    for (int32_t i = 0; i < doc.DrawItems.Count(); ++i) {
        const TVDDrawLineInfo &d = *doc.DrawItems[i];
        out.push_back({d.ItemNo, d.Offs, d.Length, d.FromNewLine,
                       rtl::Bounds(d.Left, d.Top, d.Width, d.Height)});
    }
    return out;
}

} // namespace

// 30-point text has an em of 40 pixels at 96 dpi and 250 at 600, so every length of the mixed
// document below scales by exactly 6.25: the lines must break alike and every position follow
// within the rounding of one screen pixel.
TEST_F(Finish, TheSameLinesAt96And600DpiWithPositionsInProportion) {
    Style.GetTextStyles().GetItem(0).SetSize(30);
    TParaInfo &indented = AddPara();
    indented.SetLeftIndent(16);
    indented.SetRightIndent(20);
    indented.SetFirstIndent(8);
    indented.SetSpaceBefore(8);
    indented.SetAlignment(vdaJustify);
    TParaInfo &centred = AddPara();
    centred.SetAlignment(vdaCenter);
    TParaInfo &tabbed = AddPara();
    tabbed.GetTabs().Add().SetPosition(200);
    TVDTabInfo &right = tabbed.GetTabs().Add();
    right.SetPosition(360);
    right.SetAlign(vdtaRight);
    TParaInfo &rtl = AddPara();
    rtl.SetBiDiMode(vdbdRightToLeft);
    rtl.SetAlignment(vdaRight);

    Doc.AddNL(u"Съешь же ещё этих мягких французских булок, да выпей чаю.", 0, indented.GetIndex());
    AddPicture(40, 20, -1, vdvaBaseline);
    Doc.AddNL(u" и снова текст после картинки", 0, -1);
    Doc.AddNL(u"по центру строки разной длины", 0, centred.GetIndex());
    Doc.AddNL(u"ab", 0, tabbed.GetIndex());
    Doc.AddTab(0, -1);
    Doc.AddNL(u"cd", 0, -1);
    Doc.AddTab(0, -1);
    Doc.AddNL(u"efg", 0, -1);
    Doc.AddNL(u"\u05D0\u05D1\u05D2 abc \u05D3\u05D4 ", 0, rtl.GetIndex());
    Doc.AddNL(u"de", 0, -1);

    Doc.Width = 400;
    Format();
    const std::vector<TDrawItemShape> screen = Shapes(Doc);
    ASSERT_GT(screen.size(), 10u);

    // A printer: its canvas and its fonts at 600 dpi.
    Style.GI->DevicePPI = 600;
    Doc.GetCanvas()->GetFont().SetPixelsPerInch(600);
    Doc.SetFlags(Doc.GetFlags() + TVDFlags{vdflPrinting});
    Doc.Width = 2500;
    Doc.Format(false, true);
    const std::vector<TDrawItemShape> printer = Shapes(Doc);
    ASSERT_EQ(printer.size(), screen.size()) << DumpDrawItems(Doc);
    const auto near = [](int32_t device, int32_t pixels) {
        return std::abs(device - pixels * 25 / 4) <= 6;
    };
    for (size_t i = 0; i < screen.size(); ++i) {
        const TDrawItemShape &s = screen[i], &p = printer[i];
        EXPECT_EQ(std::tie(p.ItemNo, p.Offs, p.Length, p.FromNewLine),
                  std::tie(s.ItemNo, s.Offs, s.Length, s.FromNewLine))
            << "draw item " << i;
        EXPECT_TRUE(near(p.Bounds.Left, s.Bounds.Left) && near(p.Bounds.Top, s.Bounds.Top) &&
                    near(p.Bounds.Right, s.Bounds.Right) && near(p.Bounds.Bottom, s.Bounds.Bottom))
            << "draw item " << i << ": " << p.Bounds.Left << "," << p.Bounds.Top << " - "
            << p.Bounds.Right << "," << p.Bounds.Bottom << " at 600 dpi, " << s.Bounds.Left << ","
            << s.Bounds.Top << " - " << s.Bounds.Right << "," << s.Bounds.Bottom << " at 96";
    }
}

// A picture marker takes its picture's size, an image-list marker the list's image size, both
// scaled to the printer's resolution; the gap to the text still widens the marker.
TEST_F(Finish, PictureAndImageListMarkersTakeTheirImageSize) {
    gfx::TBitmap bitmap(12, 8);
    gfx::TPicture picture;
    picture.SetGraphic(&bitmap);
    gfx::TImageList images(nullptr, 32, 16);
    TVDListInfo &list = Style.GetListStyles().Add();
    TVDListLevel &pictureLevel = list.GetLevels().Add();
    pictureLevel.SetListType(vdlstPicture);
    pictureLevel.SetPicture(&picture);
    pictureLevel.SetMarkerIndent(0);
    pictureLevel.SetLeftIndent(20);
    pictureLevel.SetFirstIndent(0);
    TVDListLevel &imageLevel = list.GetLevels().Add();
    imageLevel.SetListType(vdlstImageListCounter);
    imageLevel.SetImageList(&images);
    imageLevel.SetMarkerIndent(0);
    imageLevel.SetLeftIndent(20);
    imageLevel.SetFirstIndent(0);
    Doc.AddNL(u"a", 0, 0);
    Doc.SetListMarkerInfo(0, list.GetIndex(), 0, 1, 0, false);
    Doc.AddNL(u"b", 0, 0);
    Doc.SetListMarkerInfo(2, list.GetIndex(), 1, 1, 0, false);
    const auto size = [&](int32_t drawItemNo) {
        const TVDDrawLineInfo &d = *Doc.DrawItems[drawItemNo];
        return std::pair(d.Width, d.Height);
    };
    Format();
    EXPECT_EQ(size(0), std::pair(20, 8)) << Lines();
    EXPECT_EQ(size(2), std::pair(32, 16)) << Lines();

    Style.GI->DevicePPI = 192;
    Doc.GetCanvas()->GetFont().SetPixelsPerInch(192);
    Doc.SetFlags(Doc.GetFlags() + TVDFlags{vdflPrinting});
    Doc.Width = 800;
    Doc.Format(false, true);
    EXPECT_EQ(size(0), std::pair(40, 16)) << Lines();
    EXPECT_EQ(size(2), std::pair(64, 32)) << Lines();
}
