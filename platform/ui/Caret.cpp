// The system caret on Qt: its state, the blink timer and its drawing after a control's paint.
#include "platform/ui/Caret.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/QtBridge_p.h"
#include "platform/ui/WinControl.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace ui {

namespace {

struct TCaret {
    const TControl *Owner = nullptr;
    QPointer<QWidget> Widget; // the owner's window; the caret ends with it
    gfx::TRect Rect{};
    int32_t HideCount = 1;
    bool Phase = true; // the visible half of the blinking
    std::unique_ptr<QTimer> Timer;
};

std::unique_ptr<TCaret> &Current() {
    static std::unique_ptr<TCaret> caret;
    return caret;
}

// The caret, once its window still exists; a caret whose window is gone is dropped.
TCaret *Live() {
    std::unique_ptr<TCaret> &c = Current();
    if (c && !c->Widget) {
        c.reset();
    }
    return c.get();
}

void Repaint(const TCaret &c) {
    if (c.Widget) {
        c.Widget->update(c.Rect.Left, c.Rect.Top, c.Rect.Width(), c.Rect.Height());
    }
}

void Blink() {
    if (TCaret *c = Live()) {
        c->Phase = !c->Phase;
        Repaint(*c);
    }
}

bool Owns(const TCaret &c, const TWinControl *control) {
    return !control || c.Owner == control;
}

} // namespace

bool CreateCaret(TWinControl &control, int32_t width, int32_t height) {
    QWidget *widget = qt::WidgetOf(control);
    if (!widget) {
        return false;
    }
    DestroyCaret();
    auto c = std::make_unique<TCaret>();
    c->Owner = &control;
    c->Widget = widget;
    c->Rect = gfx::Rect(0, 0, width > 0 ? width : 1, height);
    if (const uint32_t blink = GetCaretBlinkTime(); blink > 0) {
        c->Timer = std::make_unique<QTimer>();
        QObject::connect(c->Timer.get(), &QTimer::timeout, [] { Blink(); });
        c->Timer->start(int(blink));
    }
    Current() = std::move(c);
    return true;
}

bool DestroyCaret() {
    TCaret *c = Live();
    if (!c) {
        return false;
    }
    if (c->HideCount == 0) {
        Repaint(*c);
    }
    Current().reset();
    return true;
}

bool SetCaretPos(int32_t x, int32_t y) {
    TCaret *c = Live();
    if (!c) {
        return false;
    }
    Repaint(*c);
    c->Rect = gfx::Bounds(x, y, c->Rect.Width(), c->Rect.Height());
    c->Phase = true; // a caret that moves shows at once, as the system's does
    Repaint(*c);
    return true;
}

bool GetCaretPos(gfx::TPoint &point) {
    const TCaret *c = Live();
    if (!c) {
        return false;
    }
    point = {c->Rect.Left, c->Rect.Top};
    return true;
}

bool ShowCaret(TWinControl *control) {
    TCaret *c = Live();
    if (!c || !Owns(*c, control) || c->HideCount == 0) {
        return c && Owns(*c, control);
    }
    if (--c->HideCount == 0) {
        c->Phase = true;
        Repaint(*c);
    }
    return true;
}

bool HideCaret(TWinControl *control) {
    TCaret *c = Live();
    if (!c || !Owns(*c, control)) {
        return false;
    }
    if (c->HideCount++ == 0) {
        Repaint(*c);
    }
    return true;
}

uint32_t GetCaretBlinkTime() {
    gfx::qt::EnsureApplication();
    const int flash = QApplication::cursorFlashTime();
    return flash > 0 ? uint32_t(flash / 2) : 0;
}

bool CaretDrawnForTesting(const TControl &control, gfx::TRect &r) {
    const TCaret *c = Live();
    if (!c || c->Owner != &control || c->HideCount > 0 || !c->Phase) {
        return false;
    }
    r = c->Rect;
    return true;
}

void BlinkCaretForTesting() {
    Blink();
}

namespace qt {

void PaintCaret(const TControl &control, QPainter &painter) {
    gfx::TRect r;
    if (!CaretDrawnForTesting(control, r)) {
        return;
    }
    painter.save();
    painter.resetTransform();
    painter.setClipping(false);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(r.Left, r.Top, r.Width(), r.Height(), Qt::white);
    painter.restore();
}

} // namespace qt

} // namespace ui
