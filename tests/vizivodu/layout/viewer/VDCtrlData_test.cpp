// The control document: Tab through the hyperlinks of a viewer and out to the form's next tab
// stop, back in with Shift+Tab, wrapping when the form has nothing else, continuing from an
// inserted control, the focus coming back from another program; the focus rectangle surviving
// repaints; a painting error shown on the control.
#include "vizivodu/layout/viewer/VDCtrlData.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Button.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

using namespace vizivodu;
using vizivodu::test::DarkPixels;

namespace {

// A picture item that stands for an inserted control: it owns the control given to it.
class TOwningItem : public TVDGraphicItemInfo {
public:
    TOwningItem(TCustomVDData *data, ui::TControl *control)
        : TVDGraphicItemInfo(data, std::make_unique<gfx::TBitmap>(8, 8), vdvaBaseline),
          FControl(control) {}
    bool OwnsControl(ui::TControl *control) override { return control == FControl; }

private:
    ui::TControl *FControl;
};

// A picture item whose painting fails.
class TFailingPaintItem : public TVDGraphicItemInfo {
public:
    explicit TFailingPaintItem(TCustomVDData *data)
        : TVDGraphicItemInfo(data, std::make_unique<gfx::TBitmap>(8, 8), vdvaBaseline) {}
    void Paint(int32_t, int32_t, gfx::TCanvas &, TVDItemDrawStates, TVDDrawLineInfo &,
               TCustomVDData *, bool) override {
        throw rtl::Exception(u"broken item");
    }
};

class TabNavigation : public ::testing::Test {
protected:
    TabNavigation() : Form(nullptr) {
        InitializeGraphicHandler();
        Form.SetClientWidth(400);
        Form.SetClientHeight(300);
        TFontInfo &link = Style.GetTextStyles().Add();
        link.Assign(Style.GetTextStyles().GetItem(0));
        link.SetJump(true);
        LinkStyle = link.GetIndex();
        Style.SetColor(gfx::clWhite);
    }

    // before, the viewer, after (in this tab order); without buttons the viewer alone.
    TViziVodu *MakeForm(bool buttons) {
        if (buttons) {
            Before = new ui::TButton(&Form);
            Before->SetParent(&Form);
            Before->SetTabOrder(0);
        }
        View = new TViziVodu(&Form);
        View->SetStyle(&Style);
        View->SetBounds(0, 40, 200, 100);
        View->SetParent(&Form);
        View->SetTabOrder(1);
        if (buttons) {
            After = new ui::TButton(&Form);
            After->SetParent(&Form);
            After->SetTabOrder(2);
        }
        return View;
    }

    // Items: "a", link, "b", link.
    void AddLinks() {
        View->AddNL(u"a", 0, 0);
        View->Add(u"link1", LinkStyle);
        View->AddNL(u"b", 0, 0);
        View->Add(u"link2", LinkStyle);
        View->Format();
    }

    TViziVoduVDData &Data() { return View->GetVDData(); }
    void Tab(bool shift = false) { Data().DoTabNavigation(shift, View); }

    test::TLayoutStyle Style;
    int32_t LinkStyle = 0;
    ui::TForm Form;
    ui::TButton *Before = nullptr;
    ui::TButton *After = nullptr;
    TViziVodu *View = nullptr;
};

} // namespace

TEST_F(TabNavigation, TabGoesThroughTheLinksThenToTheFormsNextTabStop) {
    MakeForm(true);
    AddLinks();
    Tab();
    EXPECT_EQ(Data().FocusedItemNo, 1);
    EXPECT_EQ(Data().TopLevelFocusedItemNo, 1);
    EXPECT_EQ(Data().TopLevelFocusedVDData, &Data());
    Tab();
    EXPECT_EQ(Data().FocusedItemNo, 3);
    Tab();
    EXPECT_EQ(Data().FocusedItemNo, -1);
    EXPECT_EQ(Data().TopLevelFocusedVDData, nullptr);
    EXPECT_EQ(Form.GetActiveControl(), After);
}

TEST_F(TabNavigation, ShiftTabFromTheNextControlFocusesTheLastLink) {
    MakeForm(true);
    AddLinks();
    Data().DoTabNavigation(true, After);
    EXPECT_EQ(Data().FocusedItemNo, 3);
    Tab(true);
    EXPECT_EQ(Data().FocusedItemNo, 1);
    Tab(true);
    EXPECT_EQ(Form.GetActiveControl(), Before);
}

TEST_F(TabNavigation, WithoutAnotherTabStopTheFocusWrapsToTheFirstLink) {
    MakeForm(false);
    AddLinks();
    Tab();
    Tab();
    Tab();
    EXPECT_EQ(Data().FocusedItemNo, 1);
}

TEST_F(TabNavigation, ADocumentWithoutLinksPassesTheFocusOnOrKeepsIt) {
    MakeForm(true);
    View->AddNL(u"plain", 0, 0);
    View->Format();
    Tab();
    EXPECT_EQ(Form.GetActiveControl(), After);
    EXPECT_EQ(Data().FocusedItemNo, -1);
}

TEST_F(TabNavigation, ADocumentWithoutLinksAloneInItsFormKeepsTheFocusWithoutLooping) {
    MakeForm(false);
    View->AddNL(u"plain", 0, 0);
    View->Format();
    Tab();
    EXPECT_EQ(Data().FocusedItemNo, -1);
}

TEST_F(TabNavigation, TheFocusFromAnInsertedControlGoesOnFromItsItem) {
    MakeForm(true);
    auto *inserted = new ui::TButton(&Form);
    inserted->SetParent(View);
    View->AddNL(u"a", 0, 0);
    View->Add(u"link1", LinkStyle);
    View->AddItem(u"ctrl", std::make_unique<TOwningItem>(&Data(), inserted));
    View->Add(u"link2", LinkStyle);
    View->Format();
    Data().DoTabNavigation(false, inserted);
    EXPECT_EQ(Data().FocusedItemNo, 3); // not link1, the first
    Data().DoTabNavigation(true, inserted);
    EXPECT_EQ(Data().FocusedItemNo, 1);
}

TEST_F(TabNavigation, TheFocusComingBackFromAnotherProgramKeepsTheFocusedLink) {
    MakeForm(true);
    AddLinks();
    Tab();
    Tab();
    Data().State.Include(vdstDoNotTab);
    Data().DoTabNavigation(false, nullptr);
    EXPECT_FALSE(Data().State.Contains(vdstDoNotTab));
    EXPECT_EQ(Data().FocusedItemNo, 3);
    Data().DoTabNavigation(false, nullptr); // from no control of the program: stays
    EXPECT_EQ(Data().FocusedItemNo, 3);
}

TEST_F(TabNavigation, TheNextTabStopSkipsTheControlAndWhatIsInsideIt) {
    MakeForm(true);
    auto *inserted = new ui::TButton(&Form);
    inserted->SetParent(View);
    EXPECT_EQ(GetNextTabStopControl(Form, View, true), After);
    EXPECT_EQ(GetNextTabStopControl(Form, View, false), Before);
    After->SetEnabled(false);
    EXPECT_EQ(GetNextTabStopControl(Form, View, true), Before); // wraps around
}

// From a control outside the form the search starts at an end of the list: every control is a
// candidate, the last (first) one too.
TEST_F(TabNavigation, TheNextTabStopFromOutsideTheFormMayBeAtTheEnd) {
    MakeForm(true);
    EXPECT_EQ(GetNextTabStopControl(Form, nullptr, true), Before);
    EXPECT_EQ(GetNextTabStopControl(Form, nullptr, false), After);
    Before->SetEnabled(false);
    View->SetTabStop(false);
    EXPECT_EQ(GetNextTabStopControl(Form, nullptr, true), After);
    Before->SetEnabled(true);
    After->SetEnabled(false);
    EXPECT_EQ(GetNextTabStopControl(Form, nullptr, false), Before);
}

// The rectangle is drawn with an exclusive-or: each paint takes it away and draws it again.
TEST_F(TabNavigation, TheFocusRectangleStaysThroughRepaints) {
    MakeForm(false);
    AddLinks();
    Tab();
    const TVDDrawLineInfo &d = *Data().DrawItems[Data().GetItem(1)->DrawItemNo];
    // The frame's top edge, one pixel above the draw item.
    const gfx::TRect edge = gfx::Rect(d.Left, d.Top - 1, d.Left + d.Width, d.Top);
    gfx::TBitmap first = View->GrabForTesting();
    const int frame = DarkPixels(first, edge);
    EXPECT_GT(frame, 0);
    gfx::TBitmap second = View->GrabForTesting();
    EXPECT_EQ(DarkPixels(second, edge), frame);
}

TEST_F(TabNavigation, APaintingErrorIsShownOnTheControl) {
    MakeForm(false);
    View->AddItem(u"bad", std::make_unique<TFailingPaintItem>(&Data()));
    View->Format();
    gfx::TBitmap shot = View->GrabForTesting();
    int red = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 80; ++x) {
            const uint32_t v = uint32_t(shot.GetCanvas().GetPixel(x, y));
            red += (v & 0xFF) > 160 && ((v >> 8) & 0xFF) < 100 && ((v >> 16) & 0xFF) < 100 ? 1 : 0;
        }
    }
    EXPECT_GT(red, 10);
    View->GrabForTesting(); // still usable
}

TEST_F(TabNavigation, FocusComingFromTheFormsPreviousControlEntersTheFirstLink) {
    MakeForm(true);
    AddLinks();
    Before->SetFocus();
    ASSERT_EQ(Form.GetActiveControl(), Before);
    // What the window system sends when the focus moves (an inactive test window gets none).
    View->Perform(ui::WM_SETFOCUS);
    EXPECT_EQ(Data().FocusedItemNo, 1);
    EXPECT_EQ(Data().TopLevelFocusedVDData, &Data());
}

// Focus from another window (or none) leaves the document's own focus where it was.
TEST_F(TabNavigation, FocusComingFromNoControlLeavesTheDocumentsFocusAlone) {
    MakeForm(false);
    AddLinks();
    View->Perform(ui::WM_SETFOCUS);
    EXPECT_EQ(Data().FocusedItemNo, -1);
    EXPECT_FALSE(Data().State.Contains(vdstDoNotTab));
}

TEST_F(TabNavigation, TheDialogCodeAsksForTabsAndAllKeysOnlyWhenTheyAreUsed) {
    MakeForm(false);
    AddLinks();
    struct TCase {
        TVDTabNavigationType Navigation;
        bool Focused;
        ui::LRESULT Code;
    } cases[] = {
        {vdtnNone, false, ui::DLGC_WANTARROWS},
        {vdtnNone, true, ui::DLGC_WANTARROWS},
        {vdtnTab, false, ui::DLGC_WANTARROWS | ui::DLGC_WANTTAB},
        {vdtnCtrlTab, true, ui::DLGC_WANTARROWS | ui::DLGC_WANTTAB | ui::DLGC_WANTALLKEYS},
    };
    for (const TCase &c : cases) {
        Data().TabNavigation = c.Navigation;
        Data().TopLevelFocusedVDData = c.Focused ? &Data() : nullptr;
        EXPECT_EQ(View->Perform(ui::WM_GETDLGCODE), c.Code) << c.Navigation << c.Focused;
    }
    Data().TopLevelFocusedVDData = nullptr;
}
