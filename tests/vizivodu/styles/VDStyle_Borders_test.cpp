// Borders, backgrounds and tab stops: widths, the exact rectangles a border fills, the
// background's fill, masks, similarity and the order of tab stops.
#include "vizivodu/styles/VDStyle.h"

#include "tests/vizivodu/StyleTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vizivodu;
using TFill = test::TRecordingGraphicInterface::TFill;

namespace {

class VDBorders : public ::testing::Test {
protected:
    std::vector<rtl::TRect> Rects() const {
        std::vector<rtl::TRect> rects;
        for (const TFill &f : FGI.Fills) {
            rects.push_back(f.Rect);
        }
        return rects;
    }

    test::TPixelsPerInchOverride FPpi{96};
    TVDStyle FSheet{nullptr};
    test::TRecordingGraphicInterface FGI;
    gfx::TBitmap FBitmap{64, 64};
};

// A border of a box: negative offsets do not move it into the text.
class TBoxBorder : public TVDBorder {
public:
    bool AllowNegativeOffsets() const override { return false; }
};

} // namespace

TEST_F(VDBorders, TotalWidthByStyle) {
    TVDBorder border;
    border.Width = 2;
    border.InternalWidth = 3;
    const std::pair<TVDBorderStyle, TVDStyleLength> cases[] = {
        {vdbNone, 0},    {vdbSingle, 2},      {vdbDouble, 7},
        {vdbTriple, 12}, {vdbThickInside, 9}, {vdbThickOutside, 9},
    };
    for (const auto &[style, total] : cases) {
        border.Style = style;
        EXPECT_EQ(border.GetTotalWidth(), total) << int(style);
    }
}

TEST_F(VDBorders, NoneDrawsNothing) {
    TVDBorder border;
    border.Width = 5;
    border.Color = gfx::clRed;
    border.Draw(rtl::Rect(10, 10, 20, 20), FBitmap.GetCanvas(), FSheet, FGI);
    EXPECT_TRUE(FGI.Fills.empty());
}

TEST_F(VDBorders, SingleBorderIsAOnePixelFrameJustOutside) {
    TVDBorder border;
    border.Style = vdbSingle;
    border.Color = gfx::clRed;
    border.Draw(rtl::Rect(10, 10, 20, 20), FBitmap.GetCanvas(), FSheet, FGI);
    EXPECT_EQ(Rects(),
              (std::vector<rtl::TRect>{rtl::Rect(9, 9, 22, 10), rtl::Rect(9, 21, 22, 22),
                                       rtl::Rect(21, 9, 22, 22), rtl::Rect(9, 9, 10, 22)}));
    EXPECT_EQ(FGI.Fills[0].Color, gfx::clRed);
    // The pixels: the frame and nothing inside it.
    gfx::TCanvas &canvas = FBitmap.GetCanvas();
    EXPECT_EQ(canvas.GetPixel(9, 9), gfx::clRed);
    EXPECT_EQ(canvas.GetPixel(21, 21), gfx::clRed);
    EXPECT_EQ(canvas.GetPixel(15, 21), gfx::clRed);
    EXPECT_EQ(canvas.GetPixel(10, 10), gfx::clWhite);
    EXPECT_EQ(canvas.GetPixel(20, 20), gfx::clWhite);
    EXPECT_EQ(canvas.GetPen().GetWidth(), 1);
}

TEST_F(VDBorders, ThickStylesDoubleOneLine) {
    TVDBorder border;
    border.Style = vdbThickOutside;
    border.VisibleBorders.SetValues(false, true, false, false);
    border.Draw(rtl::Rect(10, 10, 20, 20), FBitmap.GetCanvas(), FSheet, FGI);
    // Inner line 1 pixel (row 9), gap (row 8), outer line 2 pixels (rows 6 and 7).
    EXPECT_EQ(Rects(), (std::vector<rtl::TRect>{rtl::Rect(9, 9, 22, 10), rtl::Rect(6, 6, 25, 8)}));
    FGI.Fills.clear();
    border.Style = vdbThickInside;
    border.Draw(rtl::Rect(10, 10, 20, 20), FBitmap.GetCanvas(), FSheet, FGI);
    EXPECT_EQ(Rects(), (std::vector<rtl::TRect>{rtl::Rect(8, 8, 23, 10), rtl::Rect(6, 6, 25, 7)}));
    FGI.Fills.clear();
    border.Style = vdbTriple;
    border.Draw(rtl::Rect(10, 10, 20, 20), FBitmap.GetCanvas(), FSheet, FGI);
    EXPECT_EQ(Rects(), (std::vector<rtl::TRect>{rtl::Rect(9, 9, 22, 10), rtl::Rect(7, 7, 24, 8),
                                                rtl::Rect(5, 5, 26, 6)}));
}

TEST_F(VDBorders, OffsetsMoveTheBorderAndBoxesKeepItOutside) {
    TVDBorder border;
    border.Style = vdbSingle;
    border.VisibleBorders.SetValues(true, false, false, false);
    border.GetBorderOffsets().Left = -2;
    border.Draw(rtl::Rect(10, 10, 20, 20), FBitmap.GetCanvas(), FSheet, FGI);
    EXPECT_EQ(Rects(), (std::vector<rtl::TRect>{rtl::Rect(11, 9, 12, 22)}));
    FGI.Fills.clear();
    TBoxBorder box;
    box.Assign(border);
    box.Draw(rtl::Rect(10, 10, 20, 20), FBitmap.GetCanvas(), FSheet, FGI);
    EXPECT_EQ(Rects(), (std::vector<rtl::TRect>{rtl::Rect(9, 9, 10, 22)}));
}

TEST_F(VDBorders, DeviceBorderScalesEachDirectionAndColourMode) {
    TVDBorder border;
    border.Style = vdbSingle;
    border.Color = gfx::clRed;
    border.VisibleBorders.SetValues(false, true, true, false);
    const TVDScreenAndDevice sad{96, 96, 600, 300, 0, 0};
    border.DrawSaD(rtl::Rect(100, 100, 200, 200), FBitmap.GetCanvas(), FSheet, &sad,
                   vdcmBlackAndWhite, FGI);
    // 1 pixel: 6 device pixels across (6.25), 3 down (3.125).
    EXPECT_EQ(Rects(),
              (std::vector<rtl::TRect>{rtl::Rect(94, 97, 207, 100), rtl::Rect(201, 97, 207, 204)}));
    EXPECT_EQ(FGI.Fills[0].Color, gfx::clBlack);
    FGI.Fills.clear();
    border.Color = gfx::clBtnShadow;
    border.DrawSaD(rtl::Rect(100, 100, 200, 200), FBitmap.GetCanvas(), FSheet, &sad,
                   vdcmPrinterColor, FGI);
    EXPECT_EQ(FGI.Fills[0].Color, gfx::clGray);
}

TEST_F(VDBorders, BackgroundFillsTheRectangleWithItsEdges) {
    TVDBackgroundRect back;
    back.Color = gfx::clYellow;
    back.Opacity = 50000;
    back.Draw(rtl::Rect(1, 2, 10, 20), FBitmap.GetCanvas(), false, vdcmColor, FGI, true);
    back.Draw(rtl::Rect(1, 2, 10, 20), FBitmap.GetCanvas(), false, vdcmColor, FGI, false);
    back.Color = gfx::clBtnFace;
    back.Draw(rtl::Rect(0, 0, 0, 0), FBitmap.GetCanvas(), true, vdcmGrayScale, FGI, false);
    EXPECT_EQ(FGI.Fills, (std::vector<TFill>{{rtl::Rect(1, 2, 11, 21), gfx::clYellow, 128},
                                             {rtl::Rect(1, 2, 11, 21), gfx::clYellow, 255},
                                             {rtl::Rect(0, 0, 1, 1), gfx::clSilver, 255}}));
    EXPECT_EQ(FBitmap.GetCanvas().GetBrush().GetStyle(), gfx::bsClear);
    EXPECT_EQ(FBitmap.GetCanvas().GetPen().GetStyle(), gfx::psSolid);
}

TEST_F(VDBorders, InvisibleBackgroundsDrawNothing) {
    TVDBackgroundRect back;
    back.Draw(rtl::Rect(1, 2, 10, 20), FBitmap.GetCanvas(), false, vdcmColor, FGI, true);
    back.Color = gfx::clRed;
    back.Opacity = 0;
    back.Draw(rtl::Rect(1, 2, 10, 20), FBitmap.GetCanvas(), false, vdcmColor, FGI, false);
    back.Opacity = 100000;
    back.Draw(rtl::Rect(1, 2, 10, 20), FBitmap.GetCanvas(), true, vdcmBlackAndWhite, FGI, true);
    back.Draw(rtl::Rect(1, 2, 10, 20), FBitmap.GetCanvas(), true, vdcmBlackOnWhite, FGI, true);
    EXPECT_TRUE(FGI.Fills.empty());
}

TEST_F(VDBorders, BackgroundOffsetsAndTransparency) {
    TVDBackgroundRect back;
    back.GetBorderOffsets().Left = 2;
    back.GetBorderOffsets().Bottom = -3;
    rtl::TRect r = rtl::Rect(10, 10, 20, 20);
    back.PrepareDraw(r, FSheet);
    EXPECT_EQ(r, rtl::Rect(8, 10, 20, 17));
    const TVDScreenAndDevice sad{96, 96, 192, 192, 0, 0};
    r = rtl::Rect(10, 10, 20, 20);
    back.PrepareDrawSaD(r, FSheet, &sad);
    EXPECT_EQ(r, rtl::Rect(6, 10, 20, 14));

    EXPECT_FALSE(back.IsSemitransparent());
    back.Color = gfx::clRed;
    EXPECT_FALSE(back.IsSemitransparent());
    back.Opacity = 0;
    EXPECT_FALSE(back.IsSemitransparent());
    back.Opacity = 99999;
    EXPECT_TRUE(back.IsSemitransparent());
}

TEST_F(VDBorders, MasksCompareAndCopyChosenMembers) {
    TVDBorder a, b;
    b.VisibleBorders.Left = false;
    EXPECT_FALSE(a.IsEqual(b));
    EXPECT_TRUE(a.IsEqual_Para(b, {vdpiBorder_Vis_Left}));
    b.VisibleBorders.Top = false;
    EXPECT_FALSE(a.IsEqual_Para(b, {vdpiBorder_Vis_Left}));
    b.GetBorderOffsets().Right = 4;
    b.Width = 3;
    a.AssignValidProperties(b, {vdpiBorder_BO_Right, vdpiBorder_Vis_Top});
    EXPECT_EQ(a.GetBorderOffsets().Right, 4);
    EXPECT_FALSE(a.VisibleBorders.Top);
    EXPECT_TRUE(a.VisibleBorders.Left);
    EXPECT_EQ(a.Width, 1);

    TVDBackgroundRect c, d;
    d.Opacity = 5;
    d.GetBorderOffsets().Top = 1;
    EXPECT_TRUE(c.IsEqual_Para(d, {vdpiBackground_Opacity, vdpiBackground_BO_Top}));
    EXPECT_FALSE(c.IsEqual_Para(d, {vdpiBackground_Opacity}));
}

TEST_F(VDBorders, SimilarityScores) {
    TVDBorder none1, none2, single1, single2;
    single1.Style = vdbSingle;
    single2.Style = vdbSingle;
    EXPECT_EQ(none1.SimilarityValue(none2, 1), 4 * 20000);
    EXPECT_EQ(single1.SimilarityValue(single2, 1), 4 * (3000 + 1000 + 1000 + 1000) + 4 * 100);
    EXPECT_EQ(single1.SimilarityValue(none1, 1), -4 * 20000);
    single2.VisibleBorders.Left = false;
    EXPECT_EQ(single1.SimilarityValue(single2, 15), 3 * (3000 + 66 + 66 + 1000) + 3 * 6 - 20000);

    TVDBackgroundRect b1, b2;
    EXPECT_EQ(b1.SimilarityValue(b2, 1), 80000 + 1000 + 400);
    TVDRect r1, r2;
    r2.Left = 10;
    EXPECT_EQ(r1.SimilarityValue(r2, 100, 2), (-100 + 3 * 100) / 2);
}

TEST(VDTabStops, StayInOrderOfPosition) {
    TVDTabInfos tabs;
    tabs.Add().SetPosition(300);
    tabs.Add().SetPosition(100);
    TVDTabInfo &fresh = tabs.Add();
    EXPECT_EQ(fresh.GetIndex(), 2); // position 0 stays at the end until it changes
    fresh.SetPosition(0);
    EXPECT_EQ(fresh.GetIndex(), 2);
    fresh.SetPosition(200);
    EXPECT_EQ(fresh.GetIndex(), 1);
    EXPECT_EQ(tabs.GetItem(0).GetPosition(), 100);
    EXPECT_EQ(tabs.GetItem(2).GetPosition(), 300);
    EXPECT_EQ(tabs.Find(200), 1);
    EXPECT_EQ(tabs.Find(250), -1);
    EXPECT_EQ(TVDTabInfos().Find(0), -1);
}

TEST(VDTabStops, FindAfterUnitConversion) {
    test::TPixelsPerInchOverride ppi(96);
    TVDStyle sheet(nullptr);
    TVDTabInfos &tabs = sheet.GetParaStyles().GetItem(0).GetTabs();
    tabs.Add().SetPosition(10);
    tabs.Add().SetPosition(96);
    sheet.ConvertToTwips();
    EXPECT_EQ(tabs.Find(150), 0);
    EXPECT_EQ(tabs.Find(1440), 1);
}

TEST(VDTabStops, DisplayName) {
    TVDTabInfos tabs;
    TVDTabInfo &tab = tabs.Add();
    tab.SetPosition(100);
    EXPECT_EQ(tab.GetDisplayName(), u"left at 100");
    tab.SetAlign(vdtaCenter);
    tab.SetLeader(u"-");
    EXPECT_EQ(tab.GetDisplayName(), u"center at 100 (------)");
}

TEST(VDTabStops, IntersectAddAndDelete) {
    TVDTabInfos a, b;
    for (int p : {10, 20, 30}) {
        a.Add().SetPosition(p);
    }
    b.Add().SetPosition(20);
    TVDTabInfo &other = b.Add();
    other.SetPosition(30);
    other.SetAlign(vdtaRight);
    TVDTabInfos kept;
    kept.Assign(a);
    kept.Intersect(b);
    ASSERT_EQ(kept.GetCount(), 1);
    EXPECT_EQ(kept.GetItem(0).GetPosition(), 20);

    a.AddFrom(b);
    ASSERT_EQ(a.GetCount(), 3);
    EXPECT_EQ(a.GetItem(2).GetAlign(), vdtaRight);
    TVDIntegerList positions;
    positions.Add(10);
    positions.Add(15);
    a.DeleteList(positions);
    EXPECT_EQ(a.GetCount(), 2);
    EXPECT_EQ(a.GetItem(0).GetPosition(), 20);
}

TEST(VDTabStops, AddFromKeepsTabStopsSortedWithAStopAtZero) {
    TVDTabInfos target, source;
    target.Add().SetPosition(100);
    source.Add(); // a stop at position 0
    target.AddFrom(source);
    ASSERT_EQ(target.GetCount(), 2);
    EXPECT_EQ(target.GetItem(0).GetPosition(), 0);
    EXPECT_EQ(target.Find(0), 0);
    EXPECT_EQ(target.Find(100), 1);
}

TEST(VDTabStops, Similarity) {
    TVDTabInfos empty1, empty2, three;
    EXPECT_EQ(empty1.SimilarityValue(empty2, 1), 0);
    for (int p : {10, 20, 30}) {
        three.Add().SetPosition(p);
    }
    EXPECT_EQ(three.SimilarityValue(empty1, 1), -1200);
    EXPECT_EQ(three.SimilarityValue(three, 1), 3 * (200 + 100 + 50) + 800 * 3 - 2400);
    EXPECT_EQ(three.GetItem(0).SimilarityValue(three.GetItem(1), 15), 4 + 150); // 13 x 1/3
}
