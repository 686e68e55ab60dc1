// Forms: modal results through the dialog handler, closing, dialog keys, and alignment.
#include "UiTestSupport.h"

#include "platform/gfx/Picture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/BitBtn.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Panel.h"
#include "platform/ui/Timer.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace ui;

namespace {

// A dialog in the style of the workbench's forms: OK and Cancel bit buttons on a bottom panel.
struct Dialog : TForm {
    TPanel *pnlBottom;
    TBitBtn *BtnOK;
    TBitBtn *btnCancel;
    std::vector<std::string> events;
    explicit Dialog(TComponent *owner) : TForm(owner) {
        SetClientWidth(635);
        SetClientHeight(299);
        pnlBottom = new TPanel(this);
        pnlBottom->SetParent(this);
        pnlBottom->SetAlign(alBottom);
        pnlBottom->SetHeight(40);
        BtnOK = new TBitBtn(this);
        BtnOK->SetParent(pnlBottom);
        BtnOK->SetKind(bkOK);
        btnCancel = new TBitBtn(this);
        btnCancel->SetParent(pnlBottom);
        btnCancel->SetKind(bkCancel);
        btnCancel->SetCaption(rtl::U("Отмена"));
        OnShow = [this](TComponent *) { events.push_back("show"); };
        OnClose = [this](TComponent *, TCloseAction &) { events.push_back("close"); };
    }
};

} // namespace

TEST(Forms, ShowModalReturnsTheResultOfTheButtonTheHandlerClicks) {
    Dialog d(nullptr);
    struct Case {
        TBitBtn *button;
        TModalResult expected;
    };
    for (Case k : {Case{d.BtnOK, mrOk}, Case{d.btnCancel, mrCancel}}) {
        d.events.clear();
        TDialogHandlerScope scope{{nullptr,
                                   [&](TForm &f) {
                                       EXPECT_TRUE(f.GetVisible());
                                       k.button->Click();
                                       return 0;
                                   },
                                   nullptr}};
        EXPECT_EQ(d.ShowModal(), k.expected);
        EXPECT_FALSE(d.GetVisible());
        EXPECT_EQ(d.events, (std::vector<std::string>{"show", "close"}));
    }
}

TEST(Forms, EnterAndEscapeClickTheDefaultAndCancelButtons) {
    Dialog d(nullptr);
    TModalResult seen = mrNone;
    TDialogHandlerScope scope{{nullptr,
                               [&](TForm &f) {
                                   f.KeyPressForTesting(VK_ESCAPE);
                                   seen = f.GetModalResult();
                                   f.SetModalResult(mrNone);
                                   f.KeyPressForTesting(VK_RETURN);
                                   return 0;
                               },
                               nullptr}};
    EXPECT_EQ(d.ShowModal(), mrOk);
    EXPECT_EQ(seen, mrCancel);
}

TEST(Forms, AVisibleFormCannotBeShownModally) {
    TForm f(nullptr);
    f.Show();
    EXPECT_THROW(f.ShowModal(), rtl::EInvalidOperation);
}

TEST(Forms, CloseQueryCanKeepTheFormOpen) {
    TForm f(nullptr);
    bool allow = false;
    f.OnCloseQuery = [&](TComponent *, bool &canClose) { canClose = allow; };
    f.Show();
    f.Close();
    EXPECT_TRUE(f.GetVisible());
    allow = true;
    f.Close();
    EXPECT_FALSE(f.GetVisible());
}

TEST(Forms, ExceptionInOnCreateIsShownAndTheFormStays) {
    uitest::RecordingHandler h;
    struct Failing : TForm {
        explicit Failing(TComponent *o) : TForm(o) {
            OnCreate = [](TComponent *) { throw rtl::Exception(std::string_view("no base.info")); };
        }
    };
    Failing f(nullptr);
    f.AfterConstruction();
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_EQ(h.messages[0].text, u"no base.info.");
}

TEST(Forms, ClientSizeExcludesTheFrameAndConstraintsLimitTheWindow) {
    TForm f(nullptr);
    f.SetBorderStyle(bsSingle);
    f.SetClientWidth(1018);
    f.SetClientHeight(616);
    EXPECT_EQ(f.GetClientWidth(), 1018);
    EXPECT_EQ(f.GetWidth(), 1024);
    f.SetConstraints({1024, 600, 0, 0});
    f.SetClientWidth(500);
    EXPECT_EQ(f.GetWidth(), 1024);
}

TEST(Forms, ScreenCenterPlacesTheWindowInTheMiddle) {
    TForm f(nullptr);
    f.SetPosition(poScreenCenter);
    f.SetBounds(0, 0, 200, 100);
    f.Show();
    const int cx = f.GetLeft() + f.GetWidth() / 2;
    EXPECT_GT(cx, 200);
}

TEST(Align, ChildrenTakeTheirPlacesInTheClassLibraryOrder) {
    TForm f(nullptr);
    f.SetBorderStyle(bsNone);
    f.SetBounds(0, 0, 400, 300);
    auto make = [&](TAlign a, int size) {
        auto *p = new TPanel(&f);
        p->SetAlign(a);
        p->SetWidth(size);
        p->SetHeight(size);
        p->SetParent(&f);
        return p;
    };
    TPanel *client = make(alClient, 10);
    TPanel *top = make(alTop, 50);
    TPanel *bottom = make(alBottom, 40);
    TPanel *left = make(alLeft, 30);
    TPanel *right = make(alRight, 20);
    EXPECT_EQ(top->GetBoundsRect(), gfx::Rect(0, 0, 400, 50));
    EXPECT_EQ(bottom->GetBoundsRect(), gfx::Rect(0, 260, 400, 300));
    EXPECT_EQ(left->GetBoundsRect(), gfx::Rect(0, 50, 30, 260));
    EXPECT_EQ(right->GetBoundsRect(), gfx::Rect(380, 50, 400, 260));
    EXPECT_EQ(client->GetBoundsRect(), gfx::Rect(30, 50, 380, 260));
    top->Hide();
    EXPECT_EQ(client->GetBoundsRect(), gfx::Rect(30, 0, 380, 260));
    f.SetBounds(0, 0, 500, 300);
    EXPECT_EQ(right->GetBoundsRect(), gfx::Rect(480, 0, 500, 260));
}

TEST(Align, ChildrenAlignInsideAPanelsBevelAndByPosition) {
    TPanel p(nullptr);
    p.SetBounds(0, 0, 179, 99); // raised bevel of width 1
    auto *a = new TPanel(&p);
    auto *b = new TPanel(&p);
    a->SetParent(&p);
    b->SetParent(&p);
    b->SetTop(-5); // b is higher, so it goes first
    a->SetAlign(alTop);
    b->SetAlign(alTop);
    a->SetHeight(10);
    b->SetHeight(20);
    EXPECT_EQ(b->GetBoundsRect(), gfx::Rect(1, 1, 178, 21));
    EXPECT_EQ(a->GetBoundsRect(), gfx::Rect(1, 21, 178, 31));
}

TEST(Forms, RealModalLoopEndsWhenAButtonSetsTheResult) {
    Dialog d(nullptr);
    TTimer timer(nullptr);
    timer.SetInterval(10);
    timer.OnTimer = [&](TComponent *) {
        timer.SetEnabled(false);
        d.btnCancel->ClickAtForTesting(3, 3);
    };
    EXPECT_EQ(d.ShowModal(), mrCancel); // no dialog handler: the native loop runs
    EXPECT_FALSE(d.GetVisible());
}

TEST(FormIcon, FormsShowTheApplicationsIconUntilTheyGetTheirOwn) {
    gfx::TBitmap red(16, 16);
    red.GetCanvas().GetBrush().SetColor(gfx::clRed);
    red.GetCanvas().FillRect(gfx::Rect(0, 0, 16, 16));
    gfx::TBitmap blue(16, 16);
    blue.GetCanvas().GetBrush().SetColor(gfx::clBlue);
    blue.GetCanvas().FillRect(gfx::Rect(0, 0, 16, 16));
    const wbtest::TTempFolder folder;
    blue.SaveToFile(folder.File("icon.png"));
    gfx::TPngImage bluePng;
    bluePng.LoadFromFile(folder.File("icon.png"));

    TForm main(nullptr), other(nullptr);
    Application->SetIcon(red);
    main.SetIcon(bluePng);
    EXPECT_EQ(main.WindowIconForTesting(16).GetCanvas().GetPixel(8, 8), gfx::clBlue);
    EXPECT_EQ(other.WindowIconForTesting(16).GetCanvas().GetPixel(8, 8), gfx::clRed);
    main.SetIcon(gfx::TBitmap()); // an empty picture: back to the application's icon
    EXPECT_EQ(main.WindowIconForTesting(16).GetCanvas().GetPixel(8, 8), gfx::clRed);
    Application->SetIcon(gfx::TBitmap());
    EXPECT_TRUE(other.WindowIconForTesting(16).Empty());
}
