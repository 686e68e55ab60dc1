// Services of the formatted document on exact metrics (10 pixels a character, lines 20 tall
// from 0): exclusive-or images and the drag-and-drop caret (drawn twice they are gone), hit
// tests into sub-documents, checkpoint positions and their errors, scrolling a rectangle into
// view, page starts of a printing component shown on screen, protection, visible paragraph
// starts after full-width items.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/layout/text/VDGrIn.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

// A document on a canvas large enough to see drawings, with a drag-and-drop caret record.
class TCaretDocument : public test::TTestFormattedDocument {
public:
    explicit TCaretDocument(TVDStyle *style) : TTestFormattedDocument(style), Canvas(200, 100) {
        Canvas.GetBrush().SetColor(gfx::clWhite);
        Canvas.FillRect(gfx::Rect(0, 0, 200, 100));
    }
    gfx::TCanvas *GetCanvas() override { return &Canvas; }
    TVDDragDropCaretInfo *GetDragDropCaretInfo() override { return &Caret; }
    rtl::TPoint GetOrigin() override { return Origin; }

    test::TOwnedPixelCanvas Canvas;
    TVDDragDropCaretInfo Caret;
    rtl::TPoint Origin;
};

class Services : public ::testing::Test {
protected:
    Services() : Doc(&Style) { Doc.Width = 200; }
    void Format() { Doc.Format(false, false); }

    test::TLayoutStyle Style;
    TCaretDocument Doc;
};

int Dark(gfx::TCanvas &c, int x, int y0, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        n += c.GetPixel(x, y) == gfx::clBlack ? 1 : 0;
    }
    return n;
}

} // namespace

TEST_F(Services, AnExclusiveOrImageIsErasedBeforeAnotherIsInstalledAndWhenItIsRemoved) {
    std::string calls;
    int owner1 = 0, owner2 = 0;
    Doc.AssignXorDrawing(&owner1, [&](TCustomVDData &, int32_t x, int32_t) {
        calls += "1@" + std::to_string(x) + " ";
    });
    Doc.XorDrawingEx(7, 3);
    EXPECT_TRUE(Doc.XorImageDrawn);
    Doc.UnAssignXorDrawing(&owner2); // not the installed one: nothing
    EXPECT_TRUE(Doc.XorImageDrawn);
    Doc.AssignXorDrawing(&owner2, [&](TCustomVDData &, int32_t, int32_t) { calls += "2 "; });
    EXPECT_FALSE(Doc.XorImageDrawn);
    Doc.XorDrawing();
    EXPECT_TRUE(Doc.ClearXorDrawing());
    EXPECT_FALSE(Doc.ClearXorDrawing());
    Doc.XorDrawing();
    Doc.UnAssignXorDrawing(&owner2);
    EXPECT_FALSE(Doc.XorImageDrawn);
    EXPECT_FALSE(Doc.UsingThisXorDrawing(&owner2));
    EXPECT_EQ(calls, "1@7 1@7 2 2 2 2 ");
}

// The callback draws in document coordinates; a rotated document's canvas turns them.
TEST_F(Services, AnExclusiveOrImageOfARotatedDocumentIsDrawnThroughItsTransform) {
    Doc.Rotation = vdrot90;
    gfx::TXForm during;
    bool transformed = false;
    int owner = 0;
    Doc.AssignXorDrawing(&owner, [&](TCustomVDData &, int32_t, int32_t) {
        Style.GetGraphicInterface().GetWorldTransform(Doc.Canvas, during);
        transformed = during.eM11 != 1 || during.eM12 != 0;
    });
    Doc.XorDrawing();
    EXPECT_TRUE(transformed);
    gfx::TXForm after;
    Style.GetGraphicInterface().GetWorldTransform(Doc.Canvas, after);
    EXPECT_EQ(after.eM11, 1);
    EXPECT_EQ(after.eM12, 0);
}

TEST_F(Services, TheDragAndDropCaretStandsAtItsPositionAndGoesWhenDrawnAgain) {
    Doc.AddNL(u"abcd", 0, 0);
    Doc.AddNL(u"efgh", 0, 0); // line 2: y 20..40
    Format();
    Doc.SetDragDropCaret(1, 3); // before "g": x 20
    EXPECT_EQ(Doc.Caret.VDData, &Doc);
    EXPECT_EQ(Doc.Caret.X, 20);
    EXPECT_EQ(Doc.Caret.Y, 20);
    EXPECT_EQ(Doc.Caret.Height, 20);
    Doc.DrawDragDropCaret(Doc.Canvas, false);
    EXPECT_GT(Dark(Doc.Canvas, 20, 20, 40), 5); // a dotted line
    EXPECT_EQ(Dark(Doc.Canvas, 20, 0, 20), 0);
    EXPECT_EQ(Doc.Canvas.GetPen().GetMode(), gfx::pmCopy);
    Doc.RemoveDragDropCaret();
    EXPECT_EQ(Dark(Doc.Canvas, 20, 0, 100), 0);
}

TEST_F(Services, TheDragAndDropCaretFollowsThePointAndTheScrolling) {
    Doc.AddNL(u"abcd", 0, 0);
    Doc.AddNL(u"efgh", 0, 0);
    Format();
    Doc.VOffs = 10;
    Doc.SetDragDropCaretTo(41, 15); // document point (41, 25): between "e" "f" "g" "h", x 40
    EXPECT_EQ(Doc.Caret.ItemNo, 1);
    EXPECT_EQ(Doc.Caret.ItemOffs, 5);
    EXPECT_GT(Dark(Doc.Canvas, 40, 10, 30), 5); // drawn at the client position
    Doc.RemoveDragDropCaret();
    EXPECT_EQ(Dark(Doc.Canvas, 40, 0, 100), 0);
}

namespace {

// An item that holds a sub-document over its whole box.
class TSubDocItem : public TVDGraphicItemInfo {
public:
    TSubDocItem(TCustomVDData *data, TCustomVDData *sub)
        : TVDGraphicItemInfo(data, std::make_unique<gfx::TBitmap>(100, 40), vdvaBaseline),
          FSub(sub) {}
    TCustomVDData *GetSubVDDataAt(int32_t, int32_t, bool) override { return FSub; }
    bool GetBoolValue(TVDItemBoolProperty prop) const override {
        return prop == vdbpHasSubVDData || TVDGraphicItemInfo::GetBoolValue(prop);
    }

private:
    TCustomVDData *FSub;
};

} // namespace

TEST_F(Services, AHitInsideASubDocumentFindsItsItemInItsOwnCoordinates) {
    TCaretDocument sub(&Style);
    sub.Width = 100;
    sub.AddNL(u"ab", 0, 0);
    sub.AddNL(u"cd", 0, 0);
    sub.Format(false, false);
    sub.Origin = {0, 20}; // the sub-document's corner in this document
    Doc.AddNL(u"xyz", 0, 0);
    Doc.AddItem(u"sub", std::make_unique<TSubDocItem>(&Doc, &sub));
    Format();
    TCustomVDFormattedData *found = nullptr;
    int32_t itemNo = -1, offs = -1;
    bool inOwner = true;
    Doc.GetItemAtEx(5, 5, found, itemNo, offs, false, true, inOwner, false, false);
    EXPECT_EQ(found, &Doc);
    EXPECT_EQ(itemNo, 0);
    EXPECT_FALSE(inOwner);
    Doc.GetItemAtEx(15, 45, found, itemNo, offs, false, true, inOwner, false, false);
    EXPECT_EQ(found, &sub);
    EXPECT_EQ(itemNo, 1); // y 25 in the sub-document: its second line
    EXPECT_EQ(offs, 2);
}

TEST_F(Services, CheckpointPositionsNeedACheckpointAndAFormattedDocument) {
    Doc.AddNamedCheckpointExTag(u"a", false, {});
    Doc.AddNL(u"abc", 0, 0);
    int32_t x = -1, y = -1;
    try {
        Doc.GetCheckpointXY(nullptr, x, y);
        FAIL();
    } catch (const EViziVoduError &e) {
        EXPECT_EQ(e.Message(), u"Parameter can't be NIL");
    }
    try {
        Doc.GetCheckpointXY(Doc.GetFirstCheckpoint(), x, y);
        FAIL();
    } catch (const EViziVoduError &e) {
        EXPECT_EQ(e.Message(), u"ViziVodu must be formatted for this operation");
    }
    Doc.AddNL(u"def", 0, 0);
    Doc.AddNamedCheckpointExTag(u"end", false, {}); // pending after the last item
    Format();
    Doc.GetCheckpointXY(Doc.GetFirstCheckpoint(), x, y);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(Doc.GetCheckpointYEx(Doc.NotAddedCP), Doc.DocumentHeight);
    EXPECT_EQ(Doc.GetLineNo(0, 2), 1);
    EXPECT_EQ(Doc.GetLineNo(1, 1), 2);
}

TEST_F(Services, ShowingARectangleScrollsOnlyAsFarAsNeeded) {
    struct TCase {
        int32_t Top, Height, VOffs;
    };
    Doc.Height = 100;
    for (int i = 0; i < 30; ++i) {
        Doc.AddNL(u"a", 0, 0);
    }
    Format();
    // The view shows 200 .. 300; scrolling down leaves a small step (1) below the bottom.
    for (const TCase &c :
         {TCase{220, 20, 200}, TCase{290, 30, 221}, TCase{150, 20, 150}, TCase{150, 400, 200}}) {
        Doc.VOffs = 200;
        Doc.ShowRectangle(0, c.Top, 10, c.Height);
        EXPECT_EQ(Doc.VOffs, c.VOffs) << c.Top << "+" << c.Height;
    }
    Doc.HOffs = 0;
    Doc.ShowRectangle(450, 0, 20, 10); // right of the view
    EXPECT_EQ(Doc.HOffs, 400);         // 450 less a quarter of the 200 wide view
}

TEST(SoftPageBreaks, ThePrintingComponentsPageStartsAreShownOnTheSource) {
    test::TPrintFixture f;
    for (int i = 0; i < 200; ++i) {
        f.Source.AddNL(u"paragraph " + rtl::UnicodeString(1, char16_t(u'a' + i % 26)), 0, 0);
    }
    const int32_t pages = f.Paginate();
    ASSERT_GT(pages, 2);
    TCustomVDFormattedData &source = f.Source.GetVDData();
    source.AssignSoftPageBreaks(f.Print);
    ASSERT_NE(source.GetSoftPageBreaks(), nullptr);
    const TVDSoftPageBreakList &breaks = *source.GetSoftPageBreaks();
    ASSERT_EQ(int32_t(breaks.size()), pages - 1);
    for (int32_t page = 2; page <= pages; ++page) {
        int32_t itemNo = -1, offs = -1;
        f.Print.GetFirstItemOnPage(page, itemNo, offs);
        EXPECT_EQ(breaks[size_t(page - 2)].ItemNo, itemNo) << page;
        EXPECT_EQ(breaks[size_t(page - 2)].Offset, offs) << page;
    }
    EXPECT_TRUE(source.ClearSoftPageBreaks());
    EXPECT_EQ(source.GetSoftPageBreaks(), nullptr);
    EXPECT_FALSE(source.ClearSoftPageBreaks());
}

TEST_F(Services, DeleteProtectionOfANonTextItemNeedsNoTextStyle) {
    Doc.AddNL(u"a", 0, 0);
    auto pic = std::make_unique<TVDGraphicItemInfo>(&Doc, std::make_unique<gfx::TBitmap>(4, 4),
                                                    vdvaBaseline);
    pic->DeleteProtect = true;
    Doc.AddItem(u"p", std::move(pic));
    EXPECT_TRUE(Doc.IsProtected(1, vdprDeleteProtect));
    EXPECT_FALSE(Doc.IsProtected(1, vdprModifyProtect));
    EXPECT_FALSE(Doc.IsProtected(0, vdprDeleteProtect));
}

// An item after a full-width item begins a paragraph as shown, whatever its own flags say.
TEST_F(Services, AnItemAfterABreakStartsAVisibleParagraph) {
    Doc.AddNL(u"a", 0, 0);
    Doc.AddBreak();
    Doc.AddNL(u"b", 0, 0);
    Doc.GetItem(2)->ItemOptions.Include(vdioSameAsPrev);
    EXPECT_FALSE(Doc.IsParaStart(2));
    EXPECT_TRUE(Doc.IsVisibleParaStart(2));
    EXPECT_TRUE(Doc.IsVisibleFromNewLine(2));
    EXPECT_TRUE(Doc.IsNextVisibleParaStart(1));
}
