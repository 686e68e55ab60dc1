// Docking styled panels: by code and by dragging the grabber, the dock manager's layout,
// grabbers and window-procedure hook.
#include "controls/BvPanel.h"

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace controls;

uint32_t Px(gfx::TBitmap &b, int x, int y) {
    return gfx::ColorToRGB(b.GetCanvas().GetPixel(x, y));
}

class PanelDockTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = std::make_unique<ui::TForm>(nullptr);
        Form->SetBorderStyle(ui::bsNone);
        Form->SetBounds(100, 100, 400, 300);
        Top = AddPanel(Form.get(), ui::alTop, 80);
        Left = AddPanel(Form.get(), ui::alLeft, 120);
        Top->SetDockSite(true);
        Left->SetDockSite(true);
        Client = AddPanel(Form.get(), ui::alNone, 0);
        Client->SetBounds(200, 150, 60, 40);
        Client->SetCaption(u"Tools");
        Client->SetDragKind(ui::dkDock);
        Form->Show();
        ui::Application->ProcessMessages();
    }
    void TearDown() override {
        Client = nullptr;
        Form.reset();
    }
    static TBvPanel *AddPanel(ui::TWinControl *parent, ui::TAlign align, int size) {
        auto *p = new TBvPanel(parent->GetOwner() ? parent->GetOwner() : parent);
        p->SetParent(parent);
        p->SetBounds(0, 0, size, size);
        p->SetAlign(align);
        return p;
    }
    // A press, a move and a release, in client coordinates of the control pressed.
    static void DragBy(ui::TControl *pressed, gfx::TPoint from, gfx::TPoint toScreen) {
        pressed->Perform(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, ui::MakeLParam(from.X, from.Y));
        const gfx::TPoint to = pressed->ScreenToClient(toScreen);
        pressed->Perform(ui::WM_MOUSEMOVE, ui::MK_LBUTTON, ui::MakeLParam(to.X, to.Y));
        pressed->Perform(ui::WM_LBUTTONUP, 0, ui::MakeLParam(to.X, to.Y));
        ui::Application->ProcessMessages();
    }

    std::unique_ptr<ui::TForm> Form;
    TBvPanel *Top = nullptr;
    TBvPanel *Left = nullptr;
    TBvPanel *Client = nullptr;
};

TEST_F(PanelDockTest, DockSitesGetThePanelsDockManager) {
    EXPECT_NE(dynamic_cast<TBvPanelDockManager *>(Top->GetDockManager()), nullptr);
    EXPECT_EQ(Client->GetDockManager(), nullptr);
}

// In a site aligned alTop the grabber strip is on the left, else across the top; the site's
// frames stay outside (the default raised outer frame is 1 pixel).
TEST_F(PanelDockTest, DockedByCodeAndUndockedToFloat) {
    ASSERT_TRUE(Client->ManualDock(Top));
    EXPECT_EQ(Client->GetHostDockSite(), Top);
    EXPECT_EQ(Client->GetParent(), Top);
    EXPECT_EQ(Top->GetDockClientCount(), 1);
    const gfx::TRect inner = Top->GetDockClientRect();
    EXPECT_EQ(Client->GetBoundsRect(),
              gfx::Rect(inner.Left + 14, inner.Top, inner.Right, inner.Bottom));
    ASSERT_TRUE(Client->ManualDock(Left));
    EXPECT_EQ(Top->GetDockClientCount(), 0);
    const gfx::TRect leftInner = Left->GetDockClientRect();
    EXPECT_EQ(Client->GetBoundsRect(),
              gfx::Rect(leftInner.Left, leftInner.Top + 14, leftInner.Right, leftInner.Bottom));
    Client->ManualFloat(gfx::Bounds(500, 400, 90, 50));
    EXPECT_TRUE(Client->GetFloating());
    EXPECT_EQ(Left->GetDockClientCount(), 0);
    ui::TForm *host = Client->GetParentForm();
    ASSERT_NE(host, Form.get());
    EXPECT_EQ(host->GetCaption(), u"Tools");
    EXPECT_EQ(host->GetClientWidth(), 90);
    EXPECT_EQ(Client->GetWidth(), 90);
    EXPECT_TRUE(host->GetVisible());
    ASSERT_TRUE(Client->ManualDock(Top));
    EXPECT_FALSE(Client->GetFloating());
    EXPECT_EQ(Client->GetParentForm(), Form.get());
}

TEST_F(PanelDockTest, TwoClientsShareTheSiteAndOnUnDockCanRefuse) {
    TBvPanel *second = AddPanel(Form.get(), ui::alNone, 30);
    Client->ManualDock(Top);
    second->ManualDock(Top);
    const gfx::TRect inner = Top->GetDockClientRect();
    const int32_t half = inner.Left + inner.Width() / 2;
    EXPECT_EQ(Client->GetBoundsRect(), gfx::Rect(inner.Left + 14, inner.Top, half, inner.Bottom));
    EXPECT_EQ(second->GetBoundsRect(), gfx::Rect(half + 14, inner.Top, inner.Right, inner.Bottom));
    Top->OnUnDock = [](ui::TComponent *, ui::TControl *, ui::TWinControl *, bool &allow) {
        allow = false;
    };
    EXPECT_FALSE(second->ManualDock(Left));
    EXPECT_EQ(second->GetHostDockSite(), Top);
    Top->OnUnDock = nullptr;
    delete second; // a docked control going away leaves its site
    EXPECT_EQ(Top->GetDockClientCount(), 1);
    EXPECT_EQ(Client->GetBoundsRect(),
              gfx::Rect(inner.Left + 14, inner.Top, inner.Right, inner.Bottom));
}

// Dragging the grabber onto another site docks it there; releasing it where no site accepts
// it floats it there; a press without a move does nothing.
TEST_F(PanelDockTest, DraggedByTheGrabberToAnotherSiteAndToTheOpen) {
    Client->ManualDock(Top);
    const gfx::TRect inner = Top->GetDockClientRect();
    const gfx::TPoint grabber{inner.Left + 5, inner.Top + 20};
    Top->Perform(ui::WM_LBUTTONDOWN, ui::MK_LBUTTON, ui::MakeLParam(grabber.X, grabber.Y));
    Top->Perform(ui::WM_LBUTTONUP, 0, ui::MakeLParam(grabber.X + 2, grabber.Y));
    EXPECT_EQ(Client->GetHostDockSite(), Top);

    const gfx::TPoint overLeft = Left->ClientToScreen({60, 150});
    int drops = 0;
    Left->OnDockDrop = [&](ui::TComponent *, ui::TControl *source, int32_t x, int32_t y) {
        EXPECT_EQ(source, Client);
        EXPECT_EQ((gfx::TPoint{x, y}), (gfx::TPoint{60, 150}));
        ++drops;
    };
    DragBy(Top, grabber, overLeft);
    EXPECT_EQ(Client->GetHostDockSite(), Left);
    EXPECT_EQ(drops, 1);

    // A site that refuses is passed over.
    Top->OnDockOver = [](ui::TComponent *, ui::TControl *, int32_t, int32_t, bool &accept) {
        accept = false;
    };
    const gfx::TRect leftInner = Left->GetDockClientRect();
    DragBy(Left, {leftInner.Left + 30, leftInner.Top + 5}, Top->ClientToScreen({200, 40}));
    EXPECT_TRUE(Client->GetFloating());
    const gfx::TPoint at = Client->ClientToScreen({0, 0});
    EXPECT_EQ(at, Top->ClientToScreen({200, 40}));
    Top->OnDockOver = nullptr;

    // From floating, a control with DragMode dmAutomatic is dragged by itself.
    Client->SetDragMode(ui::dmAutomatic);
    DragBy(Client, {10, 10}, Top->ClientToScreen({200, 40}));
    EXPECT_EQ(Client->GetHostDockSite(), Top);
}

TEST_F(PanelDockTest, GrabberShowsTheCaptionAndTheHookRepaints) {
    Client->SetColor(gfx::clWhite);
    Client->ManualDock(Left);
    Form->Show();
    ui::Application->ProcessMessages();
    gfx::TBitmap shot = Left->GrabForTesting();
    const gfx::TRect inner = Left->GetDockClientRect();
    // The strip across the top, in the inactive caption colour while the client (a windowed
    // control) has no focus, with the caption in it.
    const uint32_t strip = gfx::ColorToRGB(gfx::clInactiveCaption);
    EXPECT_EQ(Px(shot, inner.Right - 20, inner.Top + 13), strip);
    int ink = 0;
    for (int x = inner.Left + 2; x < inner.Left + 30; ++x) {
        for (int y = inner.Top; y < inner.Top + 14; ++y) {
            ink += Px(shot, x, y) != strip;
        }
    }
    EXPECT_GT(ink, 10);
    Left->SetShowDockClientCaptions(false);
    shot = Left->GrabForTesting();
    EXPECT_NE(Px(shot, inner.Right - 20, inner.Top + 13), strip);

    // The hook passes every message on, and is gone with the manager.
    int seen = 0;
    const ui::TWndMethod hook = Left->GetWindowProc();
    Left->SetWindowProc([&](ui::TMessage &m) {
        seen += m.Msg == ui::WM_COMMAND;
        hook(m);
    });
    Left->Perform(ui::WM_COMMAND);
    EXPECT_EQ(seen, 1);
    Left->SetWindowProc(hook);
    Left->SetUseDockManager(false);
    Left->Perform(ui::WM_COMMAND);
    EXPECT_EQ(Left->GetDockManager(), nullptr);
}

// In a site aligned alTop the caption stands upright in the left strip, reading bottom-up.
TEST_F(PanelDockTest, TopSiteGrabberCaptionIsUpright) {
    Client->SetCaption(u"Toolbox");
    Client->ManualDock(Top);
    ui::Application->ProcessMessages();
    gfx::TBitmap shot = Top->GrabForTesting();
    const gfx::TRect inner = Top->GetDockClientRect();
    const uint32_t strip = gfx::ColorToRGB(gfx::clInactiveCaption);
    int top = inner.Bottom, bottom = inner.Top;
    for (int y = inner.Top + 14; y < inner.Bottom; ++y) {
        for (int x = inner.Left; x < inner.Left + 14; ++x) {
            if (Px(shot, x, y) != strip) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_GT(bottom - top, 20) << "the caption runs down the strip";
    EXPECT_LE(bottom, inner.Bottom - 3);
}

} // namespace
