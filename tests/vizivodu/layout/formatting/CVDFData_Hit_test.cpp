// Positions between items and draw items, the visible range, hit tests and coordinates, on
// exact metrics (10 pixels a character in text style 0).
#include "vizivodu/layout/formatting/CVDFData.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDItem_Rect.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vizivodu;
using vizivodu::test::DumpDrawItems;

namespace {

class Hit : public ::testing::Test {
protected:
    Hit() : Doc(&Style) { Doc.Width = 60; }

    void Format() { Doc.Format(false, false); }
    // (draw item, offset) of a position in an item.
    std::pair<int32_t, int32_t> ToDraw(int32_t itemNo, int32_t offs,
                                       TVDDrawItemPosition pos = vddpStrict) {
        int32_t d = -1, o = -1;
        Doc.Item2DrawItem(itemNo, offs, d, o, pos);
        return {d, o};
    }
    std::pair<int32_t, int32_t> At(int32_t x, int32_t y, bool strict = false) {
        int32_t no = -1, offs = -1;
        Doc.FindDrawItemForSel(x, y, no, offs, strict, false, false, false);
        return {no, offs};
    }

    test::TLayoutStyle Style;
    test::TTestFormattedDocument Doc;
};

using TPos = std::pair<int32_t, int32_t>;

} // namespace

TEST_F(Hit, PositionsAroundASpaceSwallowedAtALineBreak) {
    Doc.AddNL(u"ab cd ef", 0, 0); // "ab cd" / "ef", the space at 6 swallowed
    Format();
    ASSERT_EQ(DumpDrawItems(Doc), "0:1+5@0,0 50x20 / 0:7+2@0,20 20x20");
    EXPECT_EQ(ToDraw(0, 6), TPos(0, 6)); // before the space: the end of the first line
    EXPECT_EQ(ToDraw(0, 7), TPos(1, 1)); // after it: the start of the next line
    EXPECT_EQ(ToDraw(0, 3), TPos(0, 3));
    EXPECT_EQ(ToDraw(0, 9), TPos(1, 3));
    int32_t itemNo = -1, itemOffs = -1;
    Doc.DrawItem2Item(1, 2, itemNo, itemOffs);
    EXPECT_EQ(itemNo, 0);
    EXPECT_EQ(itemOffs, 8);
    Doc.DrawItem2Item(5, 1, itemNo, itemOffs);
    EXPECT_EQ(itemNo, -1);
}

TEST_F(Hit, HiddenItemPositionsGoToTheNearestShownItem) {
    TFontInfo &hidden = Style.GetTextStyles().Add();
    hidden.Assign(Style.GetTextStyles().GetItem(0));
    hidden.SetOptions({vdteoHidden});
    Doc.Width = 400;
    Doc.AddNL(u"ab", 0, 0);
    Doc.AddNL(u"xx", hidden.GetIndex(), -1);
    Doc.AddNL(u"cd", 0, -1);
    Format();
    EXPECT_EQ(ToDraw(1, 1, vddpStrict).first, -1);
    EXPECT_EQ(ToDraw(1, 1, vddpBetterAbove), TPos(0, 3));
    EXPECT_EQ(ToDraw(1, 1, vddpBetterBelow), TPos(1, 1));
}

TEST_F(Hit, ClicksLeftRightAndInsideALine) {
    Doc.AddNL(u"ab cd ef", 0, 0);
    Format();
    EXPECT_EQ(At(25, 5), TPos(0, 3)); // halfway: the position left of the point wins the tie
    EXPECT_EQ(At(26, 5), TPos(0, 4));
    EXPECT_EQ(At(-5, 25), TPos(1, 1));
    EXPECT_EQ(At(500, 25), TPos(1, 3));
    EXPECT_EQ(At(15, 500), TPos(1, 2)); // below the document: its last line
    EXPECT_EQ(At(500, 25, true).first, -1);
}

TEST_F(Hit, ClickOnAPictureChoosesItsNearerSide) {
    Doc.Width = 400;
    Doc.AddNL(u"ab", 0, 0);
    Doc.AddPictureEx("", std::make_unique<gfx::TBitmap>(38, 18), -1, vdvaBaseline);
    Format();
    EXPECT_EQ(DumpDrawItems(Doc), "0:1+2@0,3 20x20 1@20,0 40x20");
    EXPECT_EQ(At(30, 10), TPos(1, 0));
    EXPECT_EQ(At(50, 10), TPos(1, 1));
}

TEST_F(Hit, ClickOnAFloatingBoxFindsIt) {
    Doc.Width = 200;
    Doc.AddPictureEx("", std::make_unique<gfx::TBitmap>(98, 48), 0, vdvaLeft);
    Doc.AddNL(u"aaaa bbbb cccc", 0, -1);
    Format();
    EXPECT_EQ(At(50, 30), TPos(0, 1));
    int32_t no = -1, offs = -1;
    Doc.FindDrawItemForSel(50, 30, no, offs, false, true, false, false);
    EXPECT_NE(no, 0);
    EXPECT_EQ(Doc.FindDrawItemAt(50, 30), 0);
    EXPECT_EQ(Doc.FindDrawItemAt(105, 25), 2);
    EXPECT_EQ(Doc.FindDrawItemAt(300, 25), -1);
}

TEST_F(Hit, VisibleRangeByBinarySearch) {
    Doc.Width = 100;
    for (int i = 0; i < 50; ++i) {
        Doc.AddNL(u"line", 0, 0);
    }
    Format();
    EXPECT_EQ(Doc.GetDrawItemNo(0, 1), 0);
    EXPECT_EQ(Doc.GetDrawItemNo(205, 3), 11); // the first draw item whose top is at or below
    EXPECT_EQ(Doc.GetDrawItemNo(205, 1), 9);  // two draw items earlier, at a line start
    Doc.VOffs = 400;
    EXPECT_EQ(Doc.GetFirstItemVisible(), 18);
    EXPECT_EQ(Doc.GetLastItemVisible(), 35);
    Doc.Clear();
    EXPECT_EQ(Doc.GetFirstItemVisible(), -1);
}

TEST_F(Hit, LineRangesAndBounds) {
    Doc.AddNL(u"ab", 0, 0);
    Doc.AddNL(u"CD", 1, -1);
    Doc.AddNL(u"ef", 0, 0);
    Doc.Width = 200;
    Format();
    int32_t first = 0, last = 0, top = 0, bottom = 0;
    Doc.GetLineDrawItemRange(1, first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 1);
    Doc.GetLineVerticalBoundsOrigEx(1, top, bottom, first, last);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(bottom, 40);
    int32_t x = 0;
    Doc.GetCoordsOf(0, 2, x, top, bottom);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(Doc.GetLineNo(2, 1), 2);
}

TEST_F(Hit, RotationMappingsAreInverse) {
    Doc.Width = 300;
    Doc.Height = 200;
    Doc.AddNL(u"x", 0, 0);
    for (TVDDocRotation r : {vdrotNone, vdrot90, vdrot180, vdrot270}) {
        Doc.Rotation = r;
        Format();
        for (int32_t x : {0, 17, 150}) {
            for (int32_t y : {0, 9, 120}) {
                int32_t px = x, py = y;
                Doc.RotateCoordsFromDocToScreen(px, py, vdtrbLocal);
                Doc.RotateCoordsFromScreenToDoc(px, py, true, false);
                EXPECT_EQ(px, x) << int(r);
                EXPECT_EQ(py, y) << int(r);
            }
        }
    }
}

namespace {

rtl::TPoint Apply(const gfx::TXForm &xf, int32_t x, int32_t y) {
    return {static_cast<int32_t>(std::lround(x * xf.eM11 + y * xf.eM21 + xf.eDx)),
            static_cast<int32_t>(std::lround(x * xf.eM12 + y * xf.eM22 + xf.eDy))};
}

} // namespace

// The canvas turns a rotated document exactly as hit testing maps its points to the screen,
// and turns back afterwards.
TEST_F(Hit, CanvasTransformTurnsAsCoordinatesMap) {
    Doc.AddNL(u"x", 0, 0);
    for (TVDDocRotation r : {vdrot90, vdrot180, vdrot270}) {
        for (TVDVerticalAlign a : {vdveraTop, vdveraMiddle, vdveraBottom}) {
            Doc.Rotation = r;
            Doc.VAlign = a;
            Doc.Width = 300;
            Doc.Height = 200;
            Format();
            // Even free space, so that centring needs no rounding.
            Doc.Width += (Doc.Width - Doc.DocumentHeight) & 1;
            Doc.Height += (Doc.Height - Doc.DocumentHeight) & 1;
            test::TOwnedPixelCanvas canvas(8, 8);
            TVDStoreDocTransform state;
            Doc.PrepareTransform(canvas, state, 0, 0, vdtrbRoot, -1);
            ASSERT_TRUE(state.Used);
            EXPECT_EQ(canvas.GetGraphicsMode(), gfx::GM_ADVANCED);
            const gfx::TXForm xf = canvas.GetWorldTransform();
            for (auto [x, y] : {TPos{0, 0}, TPos{17, 9}, TPos{150, 120}}) {
                int32_t sx = x, sy = y;
                Doc.RotateCoordsFromDocToScreen(sx, sy, vdtrbRoot);
                EXPECT_EQ(Apply(xf, x, y), rtl::Point(sx, sy)) << int(r) << " " << int(a);
            }
            Doc.RestoreTransform(canvas, state);
            EXPECT_EQ(canvas.GetGraphicsMode(), gfx::GM_COMPATIBLE);
            EXPECT_EQ(canvas.GetWorldTransform(), gfx::TXForm());
        }
    }
}

TEST_F(Hit, TransformCombinesWithTheCanvasAndPutsItBack) {
    Doc.AddNL(u"x", 0, 0);
    test::TOwnedPixelCanvas canvas(8, 8);
    TVDStoreDocTransform state;
    Doc.PrepareTransform(canvas, state, 0, 0, vdtrbRoot, -1);
    EXPECT_FALSE(state.Used) << "not rotated";
    EXPECT_EQ(canvas.GetGraphicsMode(), gfx::GM_COMPATIBLE);

    Doc.Rotation = vdrot180;
    Format();
    const gfx::TXForm shift{1, 0, 0, 1, 5, 7};
    canvas.SetGraphicsMode(gfx::GM_ADVANCED);
    canvas.SetWorldTransform(shift);
    Doc.PrepareTransform(canvas, state, 0, 0, vdtrbRoot, -1);
    const rtl::TPoint turned = Apply(
        GetRotationXForm(vdrot180, 0, 0, Doc.Width, Doc.Height, Doc.DocumentHeight, vdveraTop), 3,
        4);
    EXPECT_EQ(Apply(canvas.GetWorldTransform(), 3, 4), rtl::Point(turned.X + 5, turned.Y + 7));
    Doc.RestoreTransform(canvas, state);
    EXPECT_EQ(canvas.GetGraphicsMode(), gfx::GM_ADVANCED);
    EXPECT_EQ(canvas.GetWorldTransform(), shift);
}

TEST_F(Hit, HyperlinksAreNumberedOncePerItem) {
    TFontInfo &link = Style.GetTextStyles().Add();
    link.Assign(Style.GetTextStyles().GetItem(0));
    link.SetJump(true);
    Doc.Width = 60;
    Doc.AddNL(u"aaaa bbbb cccc", link.GetIndex(), 0); // wraps over three lines
    Doc.AddNL(u"dd", link.GetIndex(), 0);
    Format();
    int32_t start = 5;
    Doc.BuildJumps(start);
    EXPECT_EQ(Doc.GetItem(0)->JumpID, 5);
    EXPECT_EQ(Doc.GetItem(1)->JumpID, 6);
    EXPECT_EQ(start, 7);
}
