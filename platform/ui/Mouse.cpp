// The desktop's mouse settings from Qt's style hints, message times from a monotonic clock, the
// cursor shown over a control as a property of its widget.
#include "platform/ui/Mouse.h"

#include "platform/ui/Control.h"
#include "platform/ui/QtBridge_p.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <QVariant>
#include <QWidget>

#include <chrono>
#include <utility>

namespace ui {

namespace {

uint32_t PinnedTime = 0;
constexpr const char *ShownCursorProperty = "wbShownCursor";

QStyleHints *Hints() {
    return qGuiApp ? QGuiApplication::styleHints() : nullptr;
}

} // namespace

int32_t GetSystemMetrics(int32_t index) {
    QStyleHints *hints = Hints();
    switch (index) {
    case SM_CXDRAG:
    case SM_CYDRAG:
        return hints ? hints->startDragDistance() : 10;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    default:
        return 0;
    }
}

uint32_t GetDoubleClickTime() {
    QStyleHints *hints = Hints();
    return hints ? static_cast<uint32_t>(hints->mouseDoubleClickInterval()) : 500;
}

uint32_t GetMessageTime() {
    if (PinnedTime != 0) {
        return PinnedTime;
    }
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

TShiftState GetCurrentShiftState() {
    TShiftState shift;
    if (!qGuiApp) {
        return shift;
    }
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
    const std::pair<bool, TShiftStateFlag> flags[] = {
        {(mods & Qt::ShiftModifier) != 0, ssShift},  {(mods & Qt::ControlModifier) != 0, ssCtrl},
        {(mods & Qt::AltModifier) != 0, ssAlt},      {(buttons & Qt::LeftButton) != 0, ssLeft},
        {(buttons & Qt::RightButton) != 0, ssRight}, {(buttons & Qt::MiddleButton) != 0, ssMiddle},
    };
    for (const auto &[held, flag] : flags) {
        if (held) {
            shift.Include(flag);
        }
    }
    return shift;
}

void SetShownCursor(TControl &control, TCursor cursor) {
    if (QWidget *w = qt::WidgetOf(control)) {
        qt::ApplyCursor(*w, cursor);
        w->setProperty(ShownCursorProperty, QVariant(int(cursor)));
    }
}

TCursor GetShownCursor(const TControl &control) {
    const QWidget *w = qt::WidgetOf(control);
    const QVariant v = w ? w->property(ShownCursorProperty) : QVariant();
    return v.isValid() ? static_cast<TCursor>(v.toInt()) : control.GetCursor();
}

void SetMessageTimeForTesting(uint32_t time) {
    PinnedTime = time;
}

} // namespace ui
