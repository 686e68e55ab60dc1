// TLabel on a native label (readable by screen readers).
#include "platform/ui/Label.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/QtBridge_p.h"

#include <QLabel>

namespace ui {

namespace {

QLabel *LabelOf(const TControl &c) {
    return static_cast<QLabel *>(qt::WidgetOf(c));
}

} // namespace

TLabel::TLabel(TComponent *owner) : TControl(owner) {
    auto *label = new QLabel();
    label->setTextFormat(Qt::PlainText);
    qt::AttachWidget(*this, label, false);
    SetParentColor(true);
    ApplyAlignment();
    SetBounds(0, 0, 65, 13);
    AdjustSize();
}

namespace {

// '&' marks an accelerator as on the class library's labels; "&&" shows one '&'.
QString ShownText(const rtl::UnicodeString &caption) {
    QString text = gfx::qt::ToQString(caption);
    return text.replace(u"&&"_qs, u"\x01"_qs).remove(u'&').replace(u'\x01', u'&');
}

} // namespace

void TLabel::TextChanged() {
    if (QLabel *l = LabelOf(*this)) {
        l->setText(ShownText(GetCaption()));
    }
    if (FFocusControl) {
        FFocusControl->SetAccessibleName(gfx::qt::FromQString(ShownText(GetCaption())));
    }
}

void TLabel::SetFocusControl(TControl *control) {
    if (FFocusControl) {
        FFocusControl->RemoveFreeNotification(this);
    }
    FFocusControl = control;
    if (FFocusControl) {
        FFocusControl->FreeNotification(this);
        TextChanged();
    }
}

void TLabel::Notification(rtl::TComponent *component, rtl::TOperation operation) {
    TControl::Notification(component, operation);
    if (operation == rtl::opRemove && component == FFocusControl) {
        FFocusControl = nullptr;
    }
}

void TLabel::ColorChanged() {
    if (QLabel *l = LabelOf(*this)) {
        l->setAutoFillBackground(!FTransparent);
        QPalette p = l->palette();
        p.setColor(QPalette::Window, gfx::qt::ToQColor(GetColor()));
        l->setPalette(p);
    }
}

void TLabel::AdjustSize() {
    if (!FAutoSize || FWordWrap) {
        return;
    }
    gfx::TCanvas &c = ControlCanvas();
    c.SetFont(GetFont());
    gfx::TRect r = gfx::Rect(0, 0, 10000, 0);
    c.DrawText(GetCaption().empty() ? u" " : GetCaption(), r,
               gfx::DT_CALCRECT | gfx::DT_SINGLELINE);
    // Aligned sides keep the size their alignment gives them.
    const TAlign a = GetAlign();
    const int w = (a == alTop || a == alBottom || a == alClient) ? GetWidth() : r.Width();
    const int h = (a == alLeft || a == alRight || a == alClient) ? GetHeight() : r.Height();
    SetBounds(GetLeft(), GetTop(), w, h);
}

void TLabel::SetAutoSize(bool value) {
    FAutoSize = value;
    AdjustSize();
}

void TLabel::SetAlignment(TAlignment value) {
    FAlignment = value;
    ApplyAlignment();
}

void TLabel::SetLayout(TTextLayout value) {
    FLayout = value;
    ApplyAlignment();
}

void TLabel::SetWordWrap(bool value) {
    FWordWrap = value;
    if (QLabel *l = LabelOf(*this)) {
        l->setWordWrap(value);
    }
    AdjustSize();
}

void TLabel::SetTransparent(bool value) {
    FTransparent = value;
    ColorChanged();
}

void TLabel::ApplyAlignment() {
    QLabel *l = LabelOf(*this);
    if (!l) {
        return;
    }
    const Qt::Alignment h = FAlignment == taCenter         ? Qt::AlignHCenter
                            : FAlignment == taRightJustify ? Qt::AlignRight
                                                           : Qt::AlignLeft;
    const Qt::Alignment v = FLayout == tlCenter   ? Qt::AlignVCenter
                            : FLayout == tlBottom ? Qt::AlignBottom
                                                  : Qt::AlignTop;
    l->setAlignment(h | v);
}

} // namespace ui
