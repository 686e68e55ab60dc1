// The native side of controls: Qt input and paint events turned into Windows-style messages.
#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtBridge_p.h"
#include "platform/ui/WinControl.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QCloseEvent>
#include <QComboBox>
#include <QGestureEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QWheelEvent>
#include <QWidget>

#include <cmath>

namespace ui::qt {

namespace {

WPARAM KeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    WPARAM f = 0;
    f |= (buttons & Qt::LeftButton) ? WPARAM(MK_LBUTTON) : 0;
    f |= (buttons & Qt::RightButton) ? WPARAM(MK_RBUTTON) : 0;
    f |= (buttons & Qt::MiddleButton) ? WPARAM(MK_MBUTTON) : 0;
    f |= (mods & Qt::ShiftModifier) ? WPARAM(MK_SHIFT) : 0;
    f |= (mods & Qt::ControlModifier) ? WPARAM(MK_CONTROL) : 0;
    return f;
}

uint32_t MouseMessage(QEvent::Type type, Qt::MouseButton b) {
    const uint32_t base = b == Qt::RightButton    ? WM_RBUTTONDOWN
                          : b == Qt::MiddleButton ? WM_MBUTTONDOWN
                                                  : WM_LBUTTONDOWN;
    switch (type) {
    case QEvent::MouseButtonPress:
        return base;
    case QEvent::MouseButtonRelease:
        return base + 1;
    case QEvent::MouseButtonDblClick:
        return base + 2;
    default:
        return WM_MOUSEMOVE;
    }
}

// Mouse position in the control's widget, also for events of a scroll area's viewport.
QPoint ControlPos(TControl &control, QObject *receiver, QPointF pos) {
    QWidget *w = WidgetOf(control);
    auto *from = qobject_cast<QWidget *>(receiver);
    return (from && w && from != w) ? from->mapTo(w, pos.toPoint()) : pos.toPoint();
}

// Modifiers of the key event being delivered (synthetic events do not change Qt's own state).
Qt::KeyboardModifiers DeliveredModifiers;

TShiftState ShiftOf(Qt::KeyboardModifiers m) {
    TShiftState s;
    if (m & Qt::ShiftModifier) {
        s.Include(ssShift);
    }
    if (m & Qt::ControlModifier) {
        s.Include(ssCtrl);
    }
    if (m & Qt::AltModifier) {
        s.Include(ssAlt);
    }
    return s;
}

// The WM_GETDLGCODE bit a control must answer to get the key itself; 0 for ordinary keys.
LRESULT DialogKeyMask(uint16_t vk) {
    switch (vk) {
    case VK_TAB:
        return DLGC_WANTTAB;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        return DLGC_WANTARROWS;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL:
        return DLGC_WANTALLKEYS;
    default:
        return 0;
    }
}

// A navigation or button key the control does not ask for goes to its form first.
bool OfferDialogKey(TControl &control, TForm *form, uint16_t vk, TShiftState shift) {
    const LRESULT mask = DialogKeyMask(vk);
    if (!form || mask == 0 || (control.Perform(WM_GETDLGCODE) & mask) != 0) {
        return false;
    }
    return form->Perform(CM_DIALOGKEY, vk, DialogShiftBits(shift)) != 0;
}

// The characters of a key press. Alt+character (without Ctrl: Ctrl+Alt is AltGr typing) is
// only an accelerator; a printable character is offered as one first when the control takes
// no characters itself.
bool DeliverChars(TControl &control, TForm *form, const QKeyEvent *k, uint16_t vk,
                  TShiftState shift) {
    const bool alt = shift.Contains(ssAlt) && !shift.Contains(ssCtrl);
    QString text = k->text();
    if (alt && text.isEmpty() && ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))) {
        text = QChar(vk).toLower();
    }
    bool consumed = false;
    int wantsChars = -1; // asked once, when needed
    for (QChar c : text) {
        bool offer = alt;
        if (!offer && c.isPrint()) {
            if (wantsChars < 0) {
                wantsChars = (control.Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) != 0 ? 1 : 0;
            }
            offer = wantsChars == 0;
        }
        if (offer && form &&
            form->Perform(CM_DIALOGCHAR, c.unicode(), DialogShiftBits(shift)) != 0) {
            consumed = true;
        } else if (!alt) {
            consumed = control.Perform(WM_CHAR, c.unicode(), 0) != 0 || consumed;
        }
    }
    return consumed;
}

// Windows order: the form sees dialog keys before the control's key handlers do. A key
// without a virtual key (a symbol of a layout we cannot name) sends no key messages, only its
// characters.
bool DeliverKey(TControl &control, QKeyEvent *k, bool ownDrawn) {
    DeliveredModifiers = k->modifiers();
    struct Reset {
        ~Reset() { DeliveredModifiers = Qt::NoModifier; }
    } reset;
    const uint16_t vk = ToVirtualKey(*k);
    if (k->type() != QEvent::KeyPress) {
        return (vk != 0 && control.Perform(WM_KEYUP, vk, 0) != 0) || ownDrawn;
    }
    const TShiftState shift = ShiftOf(k->modifiers());
    TForm *form = control.GetParentForm();
    if (form) {
        form->KeyboardUsed(vk, shift);
    }
    if (form && vk != 0 && form->IsShortCut(vk, shift)) {
        return true;
    }
    if (OfferDialogKey(control, form, vk, shift)) {
        return true;
    }
    bool consumed = (vk != 0 && control.Perform(WM_KEYDOWN, vk, 0) != 0) || ownDrawn;
    consumed = DeliverChars(control, form, k, vk, shift) || consumed;
    return consumed;
}

TInteractiveGestureFlags GestureFlags(Qt::GestureState state) {
    TInteractiveGestureFlags flags;
    if (state == Qt::GestureStarted) {
        flags.Include(gfBegin);
    } else if (state == Qt::GestureFinished || state == Qt::GestureCanceled) {
        flags.Include(gfEnd);
    }
    return flags;
}

// A pan as igPan steps: the location is where the finger is now (its start plus the offset).
bool DeliverPan(TControl &control, QWidget &w, QGestureEvent *e, QPanGesture &pan) {
    TGestureEventInfo info;
    info.GestureID = igPan;
    const QPoint p = w.mapFromGlobal((pan.hotSpot() + pan.offset()).toPoint());
    info.Location = {p.x(), p.y()};
    info.Flags = GestureFlags(pan.state());
    const bool handled = control.Perform(CM_GESTURE, 0, LPARAM(&info)) != 0;
    e->setAccepted(&pan, handled);
    return handled;
}

// A pinch as igZoom steps: the distance is 100 at its beginning and follows its scale.
bool DeliverPinch(TControl &control, QWidget &w, QGestureEvent *e, QPinchGesture &pinch) {
    TGestureEventInfo info;
    info.GestureID = igZoom;
    const QPoint p = w.mapFromGlobal(pinch.centerPoint().toPoint());
    info.Location = {p.x(), p.y()};
    info.Flags = GestureFlags(pinch.state());
    info.Distance =
        info.Flags.Contains(gfBegin) ? 100 : int32_t(std::lround(100 * pinch.totalScaleFactor()));
    const bool handled = control.Perform(CM_GESTURE, 0, LPARAM(&info)) != 0;
    e->setAccepted(&pinch, handled);
    return handled;
}

// One gesture per event, as the system sends them. Two fingers moving apart make a pan and a
// pinch of the same touch step, handed over together: a control that zooms takes the step as
// its zoom, and the pan goes with it (no parent scrolls meanwhile).
bool DeliverGesture(TControl &control, QGestureEvent *e) {
    QWidget *w = WidgetOf(control);
    if (!w) {
        return false;
    }
    const TInteractiveGestures wanted = control.GetInteractiveGestures();
    auto *pan = static_cast<QPanGesture *>(e->gesture(Qt::PanGesture));
    auto *pinch = static_cast<QPinchGesture *>(e->gesture(Qt::PinchGesture));
    if (pinch && wanted.Contains(igZoom)) {
        const bool handled = DeliverPinch(control, *w, e, *pinch);
        if (pan) {
            e->setAccepted(pan, handled);
        }
        return handled;
    }
    if (pan && wanted.Contains(igPan)) {
        return DeliverPan(control, *w, e, *pan);
    }
    return false;
}

} // namespace

void ApplyGestures(QWidget &widget, TInteractiveGestures gestures) {
    if (gestures.Contains(igZoom) || gestures.Contains(igPan)) {
        widget.setAttribute(Qt::WA_AcceptTouchEvents);
    }
    if (gestures.Contains(igZoom)) {
        widget.grabGesture(Qt::PinchGesture);
    } else {
        widget.ungrabGesture(Qt::PinchGesture);
    }
    if (gestures.Contains(igPan)) {
        widget.grabGesture(Qt::PanGesture);
    } else {
        widget.ungrabGesture(Qt::PanGesture);
    }
}

bool DeliverAsMessage(TControl &control, QEvent *e, bool ownDrawn) {
    if (control.IsDestroying()) {
        return false;
    }
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto *m = static_cast<QMouseEvent *>(e);
        const QPoint p = ControlPos(control, nullptr, m->position());
        control.Perform(MouseMessage(e->type(), m->button()),
                        KeyFlags(m->buttons(), m->modifiers()), MakeLParam(p.x(), p.y()));
        return ownDrawn;
    }
    case QEvent::Wheel: {
        auto *w = static_cast<QWheelEvent *>(e);
        const WPARAM wp = KeyFlags(w->buttons(), w->modifiers()) |
                          (WPARAM(uint16_t(int16_t(w->angleDelta().y()))) << 16);
        const QPointF g = w->globalPosition();
        return control.Perform(WM_MOUSEWHEEL, wp, MakeLParam(int(g.x()), int(g.y()))) != 0 ||
               ownDrawn;
    }
    case QEvent::Gesture:
        return DeliverGesture(control, static_cast<QGestureEvent *>(e));
    case QEvent::Enter:
        control.Perform(CM_MOUSEENTER);
        return false;
    case QEvent::Leave:
        control.Perform(CM_MOUSELEAVE);
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return DeliverKey(control, static_cast<QKeyEvent *>(e), ownDrawn);
    case QEvent::FocusIn:
        control.Perform(WM_SETFOCUS); // a windowed control tells its form
        return false;
    case QEvent::FocusOut:
        control.Perform(WM_KILLFOCUS);
        return false;
    default:
        return false;
    }
}

namespace {

// Reports the input of a wrapped standard widget to its control after the widget's own
// handling decides nothing (messages are notifications here).
class Observer : public QObject {
public:
    Observer(TControl &control, QWidget *widget) : FControl(control) {
        widget->installEventFilter(this);
        if (auto *area = qobject_cast<QAbstractScrollArea *>(widget)) {
            area->viewport()->installEventFilter(this);
        }
    }

    bool eventFilter(QObject *receiver, QEvent *e) override {
        if (e->type() == QEvent::MouseButtonDblClick || e->type() == QEvent::MouseButtonPress ||
            e->type() == QEvent::MouseButtonRelease || e->type() == QEvent::MouseMove) {
            auto *m = static_cast<QMouseEvent *>(e);
            const QPoint p = ControlPos(FControl, receiver, m->position());
            CallSafely([&] {
                FControl.Perform(MouseMessage(e->type(), m->button()),
                                 KeyFlags(m->buttons(), m->modifiers()), MakeLParam(p.x(), p.y()));
            });
            return false;
        }
        if (receiver != WidgetOf(FControl)) {
            return false;
        }
        bool consumed = false;
        CallSafely([&] { consumed = DeliverAsMessage(FControl, e, false); });
        return consumed;
    }

private:
    TControl &FControl;
};

// The widget of own-drawn controls and forms.
class OwnDrawnWidget : public QWidget {
public:
    OwnDrawnWidget(TControl &control, TOwnDrawnKind kind)
        : FControl(control), FWindowed(kind == TOwnDrawnKind::Windowed) {
        setMouseTracking(true);
        // Windowed controls erase their background themselves (WM_ERASEBKGND) and can take the
        // focus; graphic controls paint over their parent's pixels.
        setAttribute(Qt::WA_OpaquePaintEvent, FWindowed);
        if (FWindowed) {
            setFocusPolicy(Qt::ClickFocus);
        }
    }

protected:
    bool event(QEvent *e) override {
        bool consumed = false;
        CallSafely([&] { consumed = DeliverAsMessage(FControl, e, true); });
        return consumed || QWidget::event(e);
    }

    void paintEvent(QPaintEvent *e) override {
        QPainter p(this);
        auto canvas = gfx::qt::WindowCanvas(&p, e->region());
        gfx::TCanvas &state = StateCanvas(FControl);
        canvas->SetPen(state.GetPen());
        canvas->SetBrush(state.GetBrush());
        canvas->SetFont(FControl.GetFont());
        SetPaintCanvas(FControl, canvas.get());
        if (FWindowed) {
            const int32_t level = canvas->SaveDC();
            CallSafely([&] { FControl.Perform(WM_ERASEBKGND); });
            canvas->RestoreDC(level);
        }
        CallSafely([&] { FControl.Perform(WM_PAINT); });
        SetPaintCanvas(FControl, nullptr);
        PaintCaret(FControl, p);
        state.SetPen(canvas->GetPen());
        state.SetBrush(canvas->GetBrush());
        state.SetFont(canvas->GetFont());
    }

    void resizeEvent(QResizeEvent *) override {
        if (isWindow()) {
            CallSafely([&] { FControl.WindowResized(width(), height()); });
        }
    }

    void closeEvent(QCloseEvent *e) override {
        bool accept = true;
        CallSafely([&] { accept = FControl.WindowCloseRequested(); });
        e->setAccepted(accept);
    }

private:
    TControl &FControl;
    const bool FWindowed;
};

} // namespace

std::unique_ptr<QObject> NewObserver(TControl &control, QWidget *widget) {
    return std::make_unique<Observer>(control, widget);
}

QWidget *NewOwnDrawnWidget(TControl &control, TOwnDrawnKind kind) {
    EnsureAccessibility();
    return new OwnDrawnWidget(control, kind);
}

TShiftState KeyboardShift() {
    return ShiftOf(QGuiApplication::keyboardModifiers() | DeliveredModifiers);
}

LRESULT NativeDialogCode(const TControl &control) {
    QWidget *w = WidgetOf(control);
    if (!w || IsOwnDrawn(control)) {
        return 0;
    }
    if (qobject_cast<QTextEdit *>(w) || qobject_cast<QPlainTextEdit *>(w)) {
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    }
    if (qobject_cast<QLineEdit *>(w)) {
        return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    }
    if (qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractItemView *>(w)) {
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    }
    if (qobject_cast<QRadioButton *>(w)) {
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    }
    if (qobject_cast<QAbstractButton *>(w)) {
        return DLGC_BUTTON;
    }
    return 0;
}

TControl *ControlOfWidget(QWidget *widget) {
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property(ControlProperty);
        if (v.isValid()) {
            auto *c = static_cast<TControl *>(v.value<void *>());
            return IsLiveControl(c) ? c : nullptr;
        }
    }
    return nullptr;
}

} // namespace ui::qt

namespace ui {

bool IsAccel(char16_t ch, const std::u16string &caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') {
            continue;
        }
        if (caption[i + 1] == u'&') {
            ++i;
            continue;
        }
        return QChar(caption[i + 1]).toUpper() == QChar(ch).toUpper();
    }
    return false;
}

namespace {

void SendMouse(QWidget *w, QEvent::Type type, QPoint pos) {
    QWidget *target = w->childAt(pos);
    target = target ? target : w;
    const QPointF local = target->mapFrom(w, pos);
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, local, target->mapToGlobal(local), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &e);
}

} // namespace

void TControl::ClickAtForTesting(int32_t x, int32_t y) {
    if (QWidget *w = qt::WidgetOf(*this)) {
        SendMouse(w, QEvent::MouseButtonPress, QPoint(x, y));
        SendMouse(w, QEvent::MouseButtonRelease, QPoint(x, y));
    }
}

void TControl::DoubleClickAtForTesting(int32_t x, int32_t y) {
    if (QWidget *w = qt::WidgetOf(*this)) {
        SendMouse(w, QEvent::MouseButtonPress, QPoint(x, y));
        SendMouse(w, QEvent::MouseButtonRelease, QPoint(x, y));
        SendMouse(w, QEvent::MouseButtonDblClick, QPoint(x, y));
        SendMouse(w, QEvent::MouseButtonRelease, QPoint(x, y));
    }
}

namespace {

// The widget that has the keyboard inside w's window, when it is w or inside w; else w.
QWidget *KeyTarget(QWidget *w) {
    QWidget *focus = w->window()->focusWidget();
    return focus && (focus == w || w->isAncestorOf(focus)) ? focus : w;
}

// The shifted characters of a US keyboard.
bool NeedsShift(QChar c) {
    return c.isUpper() || QStringView(u"~!@#$%^&*()_+{}|:\"<>?").contains(c);
}

} // namespace

void TControl::KeyPressForTesting(uint16_t vk, TShiftState shift) {
    QWidget *w = qt::WidgetOf(*this);
    if (!w) {
        return;
    }
    Qt::KeyboardModifiers mods;
    mods.setFlag(Qt::ShiftModifier, shift.Contains(ssShift));
    mods.setFlag(Qt::ControlModifier, shift.Contains(ssCtrl));
    mods.setFlag(Qt::AltModifier, shift.Contains(ssAlt));
    const int key = qt::ToQtKey(vk);
    const QString text = (vk >= '0' && vk <= 'Z' && !shift.Contains(ssCtrl))
                             ? QString(QChar(vk)).toLower()
                         : vk == VK_SPACE ? u" "_qs
                                          : QString();
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(KeyTarget(w), &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(KeyTarget(w), &release);
}

void TControl::TypeTextForTesting(const rtl::UnicodeString &text) {
    QWidget *w = qt::WidgetOf(*this);
    if (!w) {
        return;
    }
    for (const char16_t ch : text) {
        // Qt names a printable key by its character's capital, as the window system's events do.
        const QChar c(ch);
        const int key = c.toUpper().unicode();
        const Qt::KeyboardModifiers mods = NeedsShift(c) ? Qt::ShiftModifier : Qt::NoModifier;
        QKeyEvent press(QEvent::KeyPress, key, mods, QString(c));
        QCoreApplication::sendEvent(KeyTarget(w), &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, QString(c));
        QCoreApplication::sendEvent(KeyTarget(w), &release);
    }
}

} // namespace ui
