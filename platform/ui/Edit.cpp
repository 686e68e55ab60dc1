// TEdit on a native line edit.
#include "platform/ui/Edit.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/QtBridge_p.h"

#include <QLineEdit>

namespace ui {

namespace {

QLineEdit *EditOf(const TControl &c) {
    return static_cast<QLineEdit *>(qt::WidgetOf(c));
}

} // namespace

TEdit::TEdit(TComponent *owner) : TWinControl(owner) {
    auto *edit = new QLineEdit();
    qt::AttachWidget(*this, edit, false);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this](const QString &) {
        qt::CallSafely([this] {
            if (OnChange) {
                OnChange(this);
            }
        });
    });
    SetTabStop(true);
    SetColor(gfx::clWindow);
    SetBounds(0, 0, 121, 21);
}

rtl::UnicodeString TEdit::GetText() const {
    return gfx::qt::FromQString(EditOf(*this)->text());
}

void TEdit::SetText(const rtl::UnicodeString &text) {
    // The native field holds the text; a change there raises OnChange.
    EditOf(*this)->setText(gfx::qt::ToQString(text));
}

void TEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    EditOf(*this)->setReadOnly(value);
}

void TEdit::SetMaxLength(int32_t value) {
    FMaxLength = value;
    EditOf(*this)->setMaxLength(value > 0 ? value : 32767);
}

void TEdit::SetBorderStyle(TFormBorderStyle value) {
    FBorderStyle = value == bsNone ? bsNone : bsSingle;
    EditOf(*this)->setFrame(FBorderStyle == bsSingle);
}

void TEdit::SelectAll() {
    EditOf(*this)->selectAll();
}

} // namespace ui
