// TSpeedButton on a native tool button.
#include "platform/ui/SpeedButton.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/QtBridge_p.h"
#include "platform/ui/WinControl.h"

#include <QToolButton>

namespace ui {

namespace {

QToolButton *ButtonOf(const TControl &c) {
    return static_cast<QToolButton *>(qt::WidgetOf(c));
}

} // namespace

TSpeedButton::TSpeedButton(TComponent *owner) : TControl(owner) {
    auto *b = new QToolButton();
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    qt::AttachWidget(*this, b, false);
    // The checked state follows Down, never Qt's own toggling.
    QObject::connect(b, &QToolButton::clicked, b, [this] {
        qt::CallSafely([this] {
            ApplyDown();
            Click();
        });
    });
    SetBounds(0, 0, 23, 22);
}

void TSpeedButton::TextChanged() {
    const rtl::UnicodeString &t = GetCaption();
    ButtonOf(*this)->setText(gfx::qt::ToQString(t));
}

void TSpeedButton::SetGroupIndex(int32_t v) {
    FGroupIndex = v;
    if (v == 0 && FDown) {
        FDown = false;
    }
    ApplyDown();
}

void TSpeedButton::SetAllowAllUp(bool v) {
    FAllowAllUp = v;
}

void TSpeedButton::SetFlat(bool v) {
    FFlat = v;
    ButtonOf(*this)->setAutoRaise(v);
}

void TSpeedButton::SetDown(bool v) {
    if (FGroupIndex == 0 || v == FDown) {
        return;
    }
    if (!v && !FAllowAllUp) {
        return; // the down button of a group cannot be raised by itself
    }
    FDown = v;
    if (v) {
        RaiseGroupPeers();
    }
    ApplyDown();
}

void TSpeedButton::RaiseGroupPeers() {
    TWinControl *parent = GetParent();
    if (!parent) {
        return;
    }
    for (int i = 0; i < parent->GetControlCount(); ++i) {
        auto *peer = dynamic_cast<TSpeedButton *>(parent->GetControl(i));
        if (peer && peer != this && peer->FGroupIndex == FGroupIndex && peer->FDown) {
            peer->FDown = false;
            peer->ApplyDown();
        }
    }
}

void TSpeedButton::ApplyDown() {
    QToolButton *b = ButtonOf(*this);
    b->setCheckable(FGroupIndex != 0);
    b->setChecked(FDown);
}

void TSpeedButton::Click() {
    if (FGroupIndex != 0) {
        if (!FDown) {
            SetDown(true);
        } else if (FAllowAllUp) {
            SetDown(false);
        }
    }
    TControl::Click();
}

} // namespace ui
