// Own-drawn controls and their timers.
#include "platform/ui/CustomControl.h"

#include "platform/ui/QtBridge_p.h"

#include <QTimer>
#include <QWidget>

namespace ui {

namespace {

const char *const TimerIdProperty = "wbTimerId";

QTimer *FindTimer(QWidget *w, uintptr_t id) {
    for (QTimer *t : w->findChildren<QTimer *>(Qt::FindDirectChildrenOnly)) {
        if (t->property(TimerIdProperty).toULongLong() == id) {
            return t;
        }
    }
    return nullptr;
}

} // namespace

TCustomControl::TCustomControl(TComponent *owner) : TWinControl(owner) {
    qt::AttachWidget(*this, qt::NewOwnDrawnWidget(*this, qt::TOwnDrawnKind::Windowed), true);
    FClickOnMouseUp = true;
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::SetTimer(uintptr_t id, uint32_t intervalMs) {
    QWidget *w = qt::WidgetOf(*this);
    if (!w) {
        return;
    }
    QTimer *t = FindTimer(w, id);
    if (!t) {
        t = new QTimer(w); // owned by the widget
        t->setProperty(TimerIdProperty, qulonglong(id));
        QObject::connect(t, &QTimer::timeout, w,
                         [this, id] { qt::CallSafely([&] { Perform(WM_TIMER, id, 0); }); });
    }
    t->start(int(intervalMs));
}

void TCustomControl::KillTimer(uintptr_t id) {
    if (QWidget *w = qt::WidgetOf(*this)) {
        if (QTimer *t = FindTimer(w, id)) {
            t->stop();
            t->deleteLater();
        }
    }
}

TGraphicControl::TGraphicControl(TComponent *owner) : TControl(owner) {
    qt::AttachWidget(*this, qt::NewOwnDrawnWidget(*this, qt::TOwnDrawnKind::Graphic), true);
    FClickOnMouseUp = true;
}

TPaintBox::TPaintBox(TComponent *owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
    if (OnPaint) {
        OnPaint(this);
    }
}

} // namespace ui
