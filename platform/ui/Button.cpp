// TButton on a native push button.
#include "platform/ui/Button.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtBridge_p.h"

#include <QPushButton>

namespace ui {

TButton::TButton(TComponent *owner) : TWinControl(owner) {
    auto *button = new QPushButton();
    button->setAutoDefault(false);
    qt::AttachWidget(*this, button, false);
    QObject::connect(button, &QPushButton::clicked, button,
                     [this] { qt::CallSafely([this] { Click(); }); });
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TButton::Click() {
    if (TForm *form = GetParentForm()) {
        form->SetModalResult(FModalResult);
    }
    TWinControl::Click();
}

namespace {

// A push button answers WM_GETDLGCODE as one; TButton's own kind is known without asking
// (its answer depends on this question).
bool IsPushButton(TWinControl &c) {
    return dynamic_cast<TButton *>(&c) ||
           (c.Perform(WM_GETDLGCODE) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

} // namespace

bool TButton::IsActive() const {
    TForm *form = GetParentForm();
    TWinControl *focused = form ? form->GetActiveControl() : nullptr;
    if (focused && IsPushButton(*focused)) {
        return focused == this;
    }
    return FDefault;
}

void TButton::Dispatch(TMessage &m) {
    const bool clickable = IsShowing() && GetEnabled();
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_BUTTON | (IsActive() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        return;
    case CM_DIALOGKEY: {
        const bool role =
            (m.WParam == VK_RETURN && IsActive()) || (m.WParam == VK_ESCAPE && FCancel);
        if (role && clickable && DialogShiftState(m.LParam) == TShiftState{}) {
            m.Result = 1;
            Click();
        }
        return;
    }
    case CM_DIALOGCHAR:
        if (clickable && IsAccel(char16_t(m.WParam), GetCaption())) {
            m.Result = 1;
            Click();
        }
        return;
    default:
        TWinControl::Dispatch(m);
    }
}

void TButton::TextChanged() {
    if (auto *b = static_cast<QPushButton *>(qt::WidgetOf(*this))) {
        const rtl::UnicodeString &t = GetCaption();
        b->setText(gfx::qt::ToQString(t));
    }
}

} // namespace ui
