// Animated pictures: frames of a multi-cell bitmap, the animator list and its limit, the timer
// of the viewer advancing the frames on screen, pictures that get no animator, export frames.
#include "vizivodu/layout/viewer/VDAnimate.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/gfx/Bitmap.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vizivodu;

namespace {

constexpr int32_t Cell = 10;

// Cell i of the frame bitmaps is filled with Colors[i].
const gfx::TColor Colors[] = {gfx::clRed,  gfx::clLime,    gfx::clBlue,   gfx::clYellow,
                              gfx::clAqua, gfx::clFuchsia, gfx::clMaroon, gfx::clNavy};

// A bitmap of columns x rows cells of Cell pixels, numbered row by row.
std::unique_ptr<gfx::TBitmap> Frames(int32_t columns, int32_t rows) {
    auto bmp = std::make_unique<gfx::TBitmap>(columns * Cell, rows * Cell);
    gfx::TCanvas &c = bmp->GetCanvas();
    c.GetBrush().SetStyle(gfx::bsSolid);
    for (int32_t i = 0; i < columns * rows; ++i) {
        c.GetBrush().SetColor(Colors[i % 8]);
        c.FillRect(rtl::Bounds((i % columns) * Cell, (i / columns) * Cell, Cell, Cell));
    }
    return bmp;
}

class Animation : public ::testing::Test {
protected:
    Animation() : Form(nullptr) {
        Form.SetClientWidth(200);
        Form.SetClientHeight(200);
        View = new TViziVodu(&Form);
        View->SetStyle(&Style);
        View->SetBounds(0, 0, 120, 100);
        View->SetParent(&Form);
        Style.SetColor(gfx::clWhite);
    }

    // Adds a picture of the frame bitmap, cells of cellW x cellH, the interval in hundredths
    // of a second; returns the item.
    TVDGraphicItemInfo *AddPicture(std::unique_ptr<gfx::TGraphic> image, int32_t interval,
                                   int32_t cellW = Cell, int32_t cellH = Cell) {
        auto item = std::make_unique<TVDGraphicItemInfo>(&View->GetVDData(), std::move(image),
                                                         vdvaBaseline);
        item->ImageWidth = cellW;
        item->ImageHeight = cellH;
        item->Interval = interval;
        TVDGraphicItemInfo *raw = item.get();
        View->AddItem(u"", std::move(item));
        return raw;
    }

    TVDAnimatorList *List() { return View->GetVDData().FAnimatorList.get(); }

    // The colour in the middle of the picture as the viewer paints it (the picture is the
    // first item, at the margins).
    gfx::TColor Shown() {
        const gfx::TBitmap shot = View->GrabForTesting();
        return gfx::TColor(shot.ScanLine(5 + Cell / 2)[5 + Cell / 2] & 0xFFFFFF);
    }

    test::TLayoutStyle Style;
    ui::TForm Form;
    TViziVodu *View;
};

gfx::TColor Rgb(gfx::TColor c) {
    // ScanLine holds $RRGGBB; colours are $BBGGRR.
    return gfx::TColor(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
}

} // namespace

TEST_F(Animation, FramesAreCellsRowByRowAndWrapAround) {
    TVDGraphicItemInfo *p = AddPicture(Frames(4, 2), 10);
    TVDAnimator *a = p->GetAnimator();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetFrameCount(), 8);
    gfx::TBitmap target(Cell, Cell);
    struct Case {
        int32_t frame;
        gfx::TColor color;
    };
    for (const Case &c :
         {Case{0, Colors[0]}, Case{3, Colors[3]}, Case{5, Colors[5]}, Case{7, Colors[7]}}) {
        a->FrameIndex = c.frame;
        a->Draw(0, 0, target.GetCanvas(), true);
        EXPECT_EQ(target.ScanLine(Cell / 2)[Cell / 2] & 0xFFFFFF, uint32_t(Rgb(c.color)))
            << "frame " << c.frame;
    }
    a->FrameIndex = 7;
    a->NextFrame();
    EXPECT_EQ(a->FrameIndex, 0);
}

TEST_F(Animation, TheTimerAdvancesTheFramesOnScreen) {
    TVDGraphicItemInfo *p = AddPicture(Frames(2, 2), 10);
    View->Format();
    ASSERT_NE(p->GetAnimator(), nullptr);
    ASSERT_NE(List(), nullptr);
    // An interval of 10 gives 100 milliseconds between frames.
    EXPECT_EQ(List()->MinInterval, 100);
    View->StartAnimation();
    EXPECT_TRUE(List()->Active);
    EXPECT_EQ(List()->LastMinInterval, 100);
    EXPECT_EQ(Shown(), Rgb(Colors[0]));
    for (int32_t tick = 1; tick <= 5; ++tick) {
        View->AnimationTimer();
        EXPECT_EQ(p->GetAnimator()->FrameIndex, tick % 4);
        EXPECT_EQ(Shown(), Rgb(Colors[tick % 4])) << "tick " << tick;
    }
    View->StopAnimation();
    EXPECT_FALSE(List()->Active);
}

TEST_F(Animation, AFasterPictureSetsTheTimerAndTheSlowerOneWaits) {
    TVDGraphicItemInfo *slow = AddPicture(Frames(2, 1), 30);
    TVDGraphicItemInfo *fast = AddPicture(Frames(2, 1), 10);
    View->Format();
    View->StartAnimation();
    EXPECT_EQ(List()->MinInterval, 100);
    View->AnimationTimer(); // 100 ms: the fast one changes, 200 ms left for the slow one
    EXPECT_EQ(fast->GetAnimator()->FrameIndex, 1);
    EXPECT_EQ(slow->GetAnimator()->FrameIndex, 0);
    EXPECT_EQ(slow->GetAnimator()->Interval, 200);
    View->AnimationTimer();
    View->AnimationTimer(); // 300 ms
    EXPECT_EQ(slow->GetAnimator()->FrameIndex, 1);
    EXPECT_EQ(fast->GetAnimator()->FrameIndex, 1); // 3 changes of 2 frames
}

TEST_F(Animation, PicturesThatGetNoAnimator) {
    struct Case {
        const char *name;
        std::unique_ptr<gfx::TGraphic> image;
        int32_t interval, cellW, cellH;
    };
    Case cases[] = {
        {"no interval", Frames(2, 2), 0, Cell, Cell},
        {"one cell", Frames(1, 1), 10, Cell, Cell},
        {"cells larger than the bitmap", Frames(2, 2), 10, 3 * Cell, Cell},
    };
    for (Case &c : cases) {
        TVDGraphicItemInfo *p = AddPicture(std::move(c.image), c.interval, c.cellW, c.cellH);
        EXPECT_EQ(p->GetAnimator(), nullptr) << c.name;
    }
    EXPECT_TRUE(List() == nullptr || List()->Count() == 0);
}

TEST_F(Animation, ADisabledViewerAnimatesNothingAndDisablingFreesTheAnimators) {
    TVDGraphicItemInfo *p = AddPicture(Frames(2, 2), 10);
    ASSERT_NE(p->GetAnimator(), nullptr);
    View->SetAnimationMode(vdaniDisabled);
    EXPECT_EQ(p->GetAnimator(), nullptr);
    EXPECT_EQ(List(), nullptr);
    TVDGraphicItemInfo *q = AddPicture(Frames(2, 2), 10);
    EXPECT_EQ(q->GetAnimator(), nullptr);
    View->SetAnimationMode(vdaniManualStart);
    EXPECT_NE(p->GetAnimator(), nullptr);
    EXPECT_NE(q->GetAnimator(), nullptr);
    EXPECT_EQ(List()->Count(), 2);
}

TEST_F(Animation, AListPastItsLimitFreesTheAnimatorOffered) {
    const int32_t saved = MaxAnimators;
    MaxAnimators = 2;
    TVDGraphicItemInfo *a = AddPicture(Frames(2, 2), 10);
    TVDGraphicItemInfo *b = AddPicture(Frames(2, 2), 10);
    TVDGraphicItemInfo *c = AddPicture(Frames(2, 2), 10);
    MaxAnimators = saved;
    EXPECT_NE(a->GetAnimator(), nullptr);
    EXPECT_NE(b->GetAnimator(), nullptr);
    EXPECT_EQ(c->GetAnimator(), nullptr);
    EXPECT_EQ(List()->Count(), 2);
}

TEST_F(Animation, RemovingTheLastAnimatorMakesTheListInactive) {
    AddPicture(Frames(2, 2), 10);
    View->Format();
    View->StartAnimation();
    TVDAnimatorList *list = List();
    ASSERT_TRUE(list->Active);
    View->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_FALSE(list->Active);
    View->AnimationTimer(); // a tick without animators does nothing
}

TEST_F(Animation, ExportDrawsTheFirstFrameWhateverFrameIsShown) {
    TVDGraphicItemInfo *p = AddPicture(Frames(2, 2), 10);
    TVDAnimator *a = p->GetAnimator();
    a->FrameIndex = 3;
    gfx::TBitmap target(Cell, Cell);
    a->DrawForExport(target.GetCanvas());
    EXPECT_EQ(target.ScanLine(Cell / 2)[Cell / 2] & 0xFFFFFF, uint32_t(Rgb(Colors[0])));
    EXPECT_EQ(a->FrameIndex, 3);
    EXPECT_TRUE(a->ExportIgnoresScale());
    int32_t w = 0, h = 0;
    a->GetExportImageSize(w, h);
    EXPECT_EQ(w, Cell);
    EXPECT_EQ(h, Cell);
}

TEST_F(Animation, AHugeIntervalStaysAPositiveTime) {
    TVDGraphicItemInfo *p = AddPicture(Frames(2, 2), std::numeric_limits<int32_t>::max());
    ASSERT_NE(p->GetAnimator(), nullptr);
    EXPECT_EQ(p->GetAnimator()->Interval, std::numeric_limits<int32_t>::max());
}

TEST_F(Animation, APictureScrolledOutOfViewAdvancesWithoutBeingVisible) {
    TVDGraphicItemInfo *p = AddPicture(Frames(2, 2), 10);
    for (int i = 0; i < 40; ++i) {
        View->AddNL(u"a", 0, 0);
    }
    View->Format();
    View->SetVPos(40, true);
    View->StartAnimation();
    View->AnimationTimer();
    EXPECT_EQ(p->GetAnimator()->FrameIndex, 1);
    EXPECT_FALSE(p->GetAnimator()->UpdateVisibility());
    View->SetVPos(0, true);
    EXPECT_TRUE(p->GetAnimator()->UpdateVisibility());
}
