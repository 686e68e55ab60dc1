// Own-drawn controls: Windows-style messages with Windows numbers, painting, timers, clicks.
#include "UiTestSupport.h"

#include "platform/ui/CustomControl.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtBridge_p.h"

#include <QCoreApplication>
#include <QGestureEvent>
#include <QScrollBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace ui;

namespace {

// Records the messages it gets and paints a red square at (2, 2)-(6, 6) with a black frame.
struct Probe : TCustomControl {
    using TCustomControl::TCustomControl;
    std::vector<TMessage> got;
    void WndProc(TMessage &m) override {
        got.push_back(m);
        TCustomControl::WndProc(m);
    }
    bool Got(uint32_t msg) const {
        return std::any_of(got.begin(), got.end(),
                           [msg](const TMessage &m) { return m.Msg == msg; });
    }
    const TMessage *Last(uint32_t msg) const {
        for (auto it = got.rbegin(); it != got.rend(); ++it) {
            if (it->Msg == msg) {
                return &*it;
            }
        }
        return nullptr;
    }

protected:
    void Paint() override {
        gfx::TCanvas &c = GetCanvas();
        c.GetBrush().SetColor(gfx::clRed);
        c.GetPen().SetColor(gfx::clBlack);
        c.Rectangle(2, 2, 7, 7);
    }
};

struct ProbeFixture : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    Probe *probe = new Probe(form.get());
    void SetUp() override {
        probe->SetParent(form.get());
        probe->SetBounds(10, 10, 40, 30);
        probe->SetColor(gfx::clWhite);
        form->Show();
    }
};

} // namespace

TEST(Messages, UseTheWindowsNumbers) {
    EXPECT_EQ(WM_PAINT, 0x000Fu);
    EXPECT_EQ(WM_LBUTTONDOWN, 0x0201u);
    EXPECT_EQ(WM_MOUSEMOVE, 0x0200u);
    EXPECT_EQ(WM_MOUSEWHEEL, 0x020Au);
    EXPECT_EQ(WM_KEYDOWN, 0x0100u);
    EXPECT_EQ(WM_TIMER, 0x0113u);
    EXPECT_EQ(VK_RETURN, 0x0D);
    EXPECT_EQ(VK_ESCAPE, 0x1B);
    EXPECT_EQ(GetXLParam(MakeLParam(-3, 70)), -3);
    EXPECT_EQ(GetYLParam(MakeLParam(-3, 70)), 70);
}

TEST_F(ProbeFixture, PaintsThroughItsCanvasOnWmPaint) {
    gfx::TBitmap shot = probe->GrabForTesting();
    EXPECT_TRUE(probe->Got(WM_PAINT));
    gfx::TCanvas &c = shot.GetCanvas();
    EXPECT_EQ(c.GetPixel(2, 2), gfx::clBlack);
    EXPECT_EQ(c.GetPixel(6, 6), gfx::clBlack);
    EXPECT_EQ(c.GetPixel(4, 4), gfx::clRed);
    EXPECT_EQ(c.GetPixel(7, 7), gfx::clWhite); // erased with the control's colour
}

TEST_F(ProbeFixture, MouseClickArrivesAsButtonMessagesThenClick) {
    int clicks = 0;
    probe->OnClick = [&](TComponent *) { ++clicks; };
    probe->ClickAtForTesting(12, 7);
    const TMessage *down = probe->Last(WM_LBUTTONDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(GetXLParam(down->LParam), 12);
    EXPECT_EQ(GetYLParam(down->LParam), 7);
    EXPECT_TRUE(down->WParam & MK_LBUTTON);
    EXPECT_TRUE(probe->Got(WM_LBUTTONUP));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ProbeFixture, KeysArriveAsVirtualKeys) {
    std::vector<uint16_t> keys;
    probe->OnKeyDown = [&](TComponent *, uint16_t &key, TShiftState) { keys.push_back(key); };
    probe->KeyPressForTesting('A');
    probe->KeyPressForTesting(VK_DOWN);
    probe->KeyPressForTesting(VK_F1);
    EXPECT_EQ(keys, (std::vector<uint16_t>{'A', VK_DOWN, VK_F1}));
    EXPECT_TRUE(probe->Got(WM_CHAR));
}

TEST_F(ProbeFixture, EnablingAndTimersSendTheirMessages) {
    probe->SetEnabled(false);
    EXPECT_TRUE(probe->Got(CM_ENABLEDCHANGED));
    probe->SetTimer(3, 50);
    probe->FireTimerForTesting(3);
    const TMessage *t = probe->Last(WM_TIMER);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->WParam, 3u);
    probe->KillTimer(3);
}

TEST_F(ProbeFixture, ResizingSendsWmSizeWithTheClientSize) {
    int resized = 0;
    probe->OnResize = [&](TComponent *) { ++resized; };
    probe->SetBounds(10, 10, 60, 20);
    const TMessage *m = probe->Last(WM_SIZE);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(GetXLParam(m->LParam), 60);
    EXPECT_EQ(GetYLParam(m->LParam), 20);
    EXPECT_EQ(resized, 1);
    probe->SetBounds(15, 12, 60, 20); // a move only
    EXPECT_EQ(resized, 1);
}

// Only showing or hiding a window bar changes the client area (WM_SIZE) and moves the bars; a
// new range or position reaches the native bar alone.
TEST_F(ProbeFixture, WindowScrollBarsResizeTheClientOnlyWhenShownOrHidden) {
    const int32_t size = TWinControl::ScrollBarSize();
    ASSERT_GT(size, 0);
    const auto sizes = [this] {
        return std::count_if(probe->got.begin(), probe->got.end(),
                             [](const TMessage &m) { return m.Msg == WM_SIZE; });
    };
    const auto nativeBar = [this](Qt::Orientation o) -> QScrollBar * {
        for (QScrollBar *b : qt::WidgetOf(*probe)->findChildren<QScrollBar *>()) {
            if (b->orientation() == o) {
                return b;
            }
        }
        return nullptr;
    };
    probe->got.clear();
    probe->SetWindowScrollBar(sbVertical,
                              {.Min = 0, .Max = 99, .Page = 10, .Pos = 5, .Shown = true});
    EXPECT_EQ(sizes(), 1);
    EXPECT_EQ(GetXLParam(probe->Last(WM_SIZE)->LParam), 40 - size);
    EXPECT_EQ(probe->GetClientRect(), gfx::Rect(0, 0, 40 - size, 30));
    QScrollBar *v = nativeBar(Qt::Vertical);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->geometry(), QRect(40 - size, 0, size, 30));
    probe->SetWindowScrollBar(sbVertical,
                              {.Min = 0, .Max = 49, .Page = 10, .Pos = 20, .Shown = true});
    EXPECT_EQ(sizes(), 1);
    EXPECT_EQ(v->value(), 20);
    EXPECT_EQ(v->maximum(), 40);
    probe->SetWindowScrollBar(sbHorizontal, {.Min = 0, .Max = 99, .Page = 10, .Shown = true});
    EXPECT_EQ(sizes(), 2);
    EXPECT_EQ(probe->GetClientRect(), gfx::Rect(0, 0, 40 - size, 30 - size));
    EXPECT_EQ(v->geometry(), QRect(40 - size, 0, size, 30 - size)); // leaves the corner free
    probe->SetWindowScrollBar(sbVertical, {});
    EXPECT_EQ(sizes(), 3);
    EXPECT_EQ(probe->GetClientRect(), gfx::Rect(0, 0, 40, 30 - size));
    EXPECT_FALSE(v->isVisibleTo(qt::WidgetOf(*probe)));
}

// Takes every gesture it is sent and records which ones (as numbers, to print readably).
struct GestureProbe : TCustomControl {
    using TCustomControl::TCustomControl;
    std::vector<int> got;

protected:
    void DoGesture(const TGestureEventInfo &info, bool &handled) override {
        got.push_back(int(info.GestureID));
        handled = true;
    }
};

// Two fingers moving apart make the pan and the pinch of one touch step, handed over together
// in one gesture event: a control that zooms gets the pinch.
TEST(Gestures, APinchArrivingWithAPanIsDeliveredToAControlThatZooms) {
    TForm form(nullptr);
    auto *probe = new GestureProbe(&form);
    probe->SetParent(&form);
    probe->SetBounds(0, 0, 50, 50);
    probe->SetInteractiveGestures({igZoom, igPan});
    form.Show();
    QPanGesture pan;
    QPinchGesture pinch;
    pinch.setTotalScaleFactor(2);
    QGestureEvent both({&pan, &pinch});
    QCoreApplication::sendEvent(qt::WidgetOf(*probe), &both);
    EXPECT_EQ(probe->got, std::vector<int>{igZoom});

    probe->got.clear(); // a control that only pans still gets the pan
    probe->SetInteractiveGestures({igPan});
    QGestureEvent again({&pan, &pinch});
    QCoreApplication::sendEvent(qt::WidgetOf(*probe), &again);
    EXPECT_EQ(probe->got, std::vector<int>{igPan});
}

TEST(PaintBox, OnPaintDrawsOnTheCanvas) {
    TForm form(nullptr);
    auto *pb = new TPaintBox(&form);
    pb->SetParent(&form);
    pb->SetBounds(0, 0, 20, 20);
    pb->OnPaint = [pb](TComponent *) {
        pb->GetCanvas().GetBrush().SetColor(gfx::clBlue);
        pb->GetCanvas().FillRect(gfx::Rect(0, 0, 5, 5));
    };
    form.Show();
    gfx::TBitmap shot = pb->GrabForTesting();
    EXPECT_EQ(shot.GetCanvas().GetPixel(4, 4), gfx::clBlue);
}
