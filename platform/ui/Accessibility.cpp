// Own-drawn controls on the accessibility layer: role, name, states and default action from
// the control's hooks, so that a screen reader reads a styled button as a push button.
#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/QtBridge_p.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include <mutex>

namespace ui::qt {

namespace {

QAccessible::Role ToQtRole(TAccessibleRole role) {
    switch (role) {
    case arWindow:
        return QAccessible::Window;
    case arDialog:
        return QAccessible::Dialog;
    case arPushButton:
        return QAccessible::Button;
    case arSlider:
        return QAccessible::Slider;
    default:
        return QAccessible::Client;
    }
}

class AccessibleControl : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    AccessibleControl(QWidget *widget, TControl &control)
        : QAccessibleWidget(widget), FControl(&control) {}

    QAccessible::Role role() const override {
        const TControl *c = Control();
        return c ? ToQtRole(c->GetAccessibleInfo().Role) : QAccessible::Client;
    }

    QString text(QAccessible::Text t) const override {
        const TControl *c = Control();
        if (!c) {
            return QString();
        }
        switch (t) {
        case QAccessible::Name:
            return gfx::qt::ToQString(c->GetAccessibleName());
        case QAccessible::Description:
            return gfx::qt::ToQString(c->GetHint());
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State st = QAccessibleWidget::state();
        if (const TControl *c = Control()) {
            const TAccessibleInfo info = c->GetAccessibleInfo();
            st.checkable = info.Checkable;
            st.checked = info.Checked;
            st.pressed = info.Pressed;
            st.defaultButton = info.DefaultButton;
        }
        return st;
    }

    // As a standard button: "Press" only while enabled.
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (const TControl *c = Control();
            c && c->GetAccessibleInfo().Pressable && widget()->isEnabled()) {
            names.prepend(pressAction());
        }
        return names;
    }

    // The press clicks later, as Qt's own buttons do: a click that opens a modal dialog would
    // otherwise hold the screen reader's call until the dialog closes.
    void doAction(const QString &action) override {
        TControl *c = Control();
        if (action != pressAction() || !c || !c->GetAccessibleInfo().Pressable) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (widget()->isEnabled()) {
            PostCall(c, [c] {
                if (!c->IsDestroying()) {
                    c->AccessiblePress();
                }
            });
        }
    }

    void *interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            const TControl *c = Control();
            return c && c->GetAccessibleInfo().HasValue
                       ? static_cast<QAccessibleValueInterface *>(this)
                       : nullptr;
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return Info().Value; }
    QVariant minimumValue() const override { return Info().MinValue; }
    QVariant maximumValue() const override { return Info().MaxValue; }
    QVariant minimumStepSize() const override { return 1; }
    void setCurrentValue(const QVariant &value) override {
        TControl *c = Control();
        if (c && c->GetAccessibleInfo().HasValue && widget()->isEnabled()) {
            const int32_t v = value.toInt();
            CallSafely([c, v] { c->AccessibleSetValue(v); });
        }
    }

private:
    TAccessibleInfo Info() const {
        const TControl *c = Control();
        return c ? c->GetAccessibleInfo() : TAccessibleInfo{};
    }

    // The control while it lives (the interface may outlast it briefly).
    TControl *Control() const {
        return IsLiveControl(FControl) && !FControl->IsDestroying() ? FControl : nullptr;
    }

    TControl *FControl;
};

// Own-drawn widgets only; every other widget keeps Qt's own interface.
QAccessibleInterface *AccessibleFactory(const QString &, QObject *object) {
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->property(ControlProperty).isValid()) {
        return nullptr;
    }
    TControl *control = ControlOfWidget(widget);
    if (!control || WidgetOf(*control) != widget || !IsOwnDrawn(*control)) {
        return nullptr;
    }
    return new AccessibleControl(widget, *control);
}

} // namespace

void EnsureAccessibility() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(AccessibleFactory); });
}

void AccessibleNameChanged(QWidget *widget) {
    if (QAccessible::isActive()) {
        QAccessibleEvent event(widget, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void AccessibleStateChanged(QWidget *widget) {
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.pressed = changed.checked = changed.defaultButton = true;
        QAccessibleStateChangeEvent event(widget, changed);
        QAccessible::updateAccessibility(&event);
        const TControl *control = ControlOfWidget(widget);
        if (const TAccessibleInfo info = control ? control->GetAccessibleInfo() : TAccessibleInfo{};
            info.HasValue) {
            QAccessibleValueChangeEvent valueEvent(widget, info.Value);
            QAccessible::updateAccessibility(&valueEvent);
        }
    }
}

} // namespace ui::qt
