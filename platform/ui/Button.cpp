// TButton on a native push button.
#include "platform/ui/Button.h"

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

void TButton::TextChanged() {
    if (auto *b = static_cast<QPushButton *>(qt::WidgetOf(*this))) {
        const rtl::UnicodeString &t = GetCaption();
        b->setText(QString::fromUtf16(t.data(), qsizetype(t.size())));
    }
}

} // namespace ui
