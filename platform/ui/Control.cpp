// TControl: bounds, visibility, font, colour and text kept in step with the native widget.
#include "platform/ui/Control.h"

#include "platform/ui/Docking.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtBridge_p.h"
#include "platform/ui/WinControl.h"

#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace ui {

struct TControl::Impl {
    QPointer<QWidget> widget;
    std::unique_ptr<QObject> observer;
    bool ownDrawn = false;
    gfx::TCanvas *paintCanvas = nullptr;
    // Holds the canvas state between paints and measures text outside painting.
    gfx::TBitmap stateHost{1, 1};
    bool applyingParentFont = false;
    bool applyingParentColor = false;
};

namespace {

// The native widget shows the font and its colour.
void ApplyNativeFont(QWidget &w, const gfx::TFont &font) {
    w.setFont(gfx::qt::ToQFont(font));
    QPalette p = w.palette();
    const QColor c = gfx::qt::ToQColor(font.GetColor());
    // The Disabled group keeps the style's grey text, as a disabled Windows control draws it.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            p.setColor(group, role, c);
        }
    }
    w.setPalette(p);
}

} // namespace

namespace qt {

QWidget *WidgetOf(const TControl &control) {
    return control.GetImpl().widget.data();
}

void SetPaintCanvas(TControl &control, gfx::TCanvas *canvas) {
    control.GetImpl().paintCanvas = canvas;
}

gfx::TCanvas &StateCanvas(TControl &control) {
    return control.GetImpl().stateHost.GetCanvas();
}

bool IsOwnDrawn(const TControl &control) {
    return control.GetImpl().ownDrawn;
}

void AttachWidget(TControl &control, QWidget *widget, bool ownDrawn) {
    TControl::Impl &impl = control.GetImpl();
    widget->setProperty(ControlProperty, QVariant::fromValue(static_cast<void *>(&control)));
    impl.observer.reset();
    std::unique_ptr<QWidget> old(impl.widget.data());
    impl.widget = widget;
    impl.ownDrawn = ownDrawn;
    if (!ownDrawn) {
        impl.observer = NewObserver(control, widget);
    }
    ApplyNativeFont(*widget, control.GetFont());
    widget->setEnabled(control.GetEnabled());
    ApplyCursor(*widget, control.GetCursor());
    ApplyGestures(*widget, control.GetInteractiveGestures());
    if (!ownDrawn && !control.GetAssignedAccessibleName().empty()) {
        widget->setAccessibleName(gfx::qt::ToQString(control.GetAssignedAccessibleName()));
    }
    widget->setVisible(false);
}

} // namespace qt

TControl::TControl(TComponent *owner) : TComponent(owner), FImpl(std::make_unique<Impl>()) {
    gfx::qt::EnsureApplication();
    qt::RegisterControl(this);
    FFont.OnChange = [this] {
        if (!FImpl->applyingParentFont) {
            FParentFont = false;
        }
        if (QWidget *w = FImpl->widget) {
            ApplyNativeFont(*w, FFont);
        }
        FontChanged();
        AdjustSize();
        Perform(CM_FONTCHANGED); // windowed controls pass it on to their children
        Invalidate();
    };
}

TControl::~TControl() {
    MarkDestroying();
    ForgetDockHost();
    qt::UnregisterControl(this);
    DestroyComponents();
    if (FParent) {
        FParent->RemoveControl(this);
        FParent = nullptr;
    }
    FImpl->observer.reset();
    std::unique_ptr<QWidget> widget(FImpl->widget.data());
}

TForm *TControl::GetParentForm() const {
    return FParent ? FParent->GetParentForm() : nullptr;
}

void TControl::SetParent(TWinControl *parent) {
    if (parent == FParent || parent == this) {
        return;
    }
    if (FParent) {
        FParent->RemoveControl(this);
    }
    FParent = parent;
    if (QWidget *w = FImpl->widget) {
        w->setParent(parent ? qt::WidgetOf(*parent) : nullptr);
    }
    if (FParent) {
        if (FParentFont) {
            ParentFontChanged();
        }
        if (FParentColor) {
            ParentColorChanged();
        }
        ApplyBoundsToWidget();
        FParent->InsertControl(this);
    }
    if (QWidget *w = FImpl->widget) {
        w->setVisible(FVisible && FParent);
    }
}

void TControl::ApplyBoundsToWidget() {
    QWidget *w = FImpl->widget;
    if (!w) {
        return;
    }
    w->setGeometry(FBounds.Left, FBounds.Top, std::max(0, FBounds.Width()),
                   std::max(0, FBounds.Height()));
}

void TControl::SetAlign(TAlign align) {
    if (align != FAlign) {
        FAlign = align;
        RequestParentRealign();
    }
}

void TControl::RequestParentRealign() {
    if (FParent && !FParent->FAligning) {
        FParent->Realign();
    }
}

void TControl::SetConstraints(const TSizeConstraints &c) {
    FConstraints = c;
    SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    const TSizeConstraints &c = FConstraints;
    if (c.MaxWidth > 0) {
        width = std::min(width, c.MaxWidth);
    }
    width = std::max(width, c.MinWidth);
    if (c.MaxHeight > 0) {
        height = std::min(height, c.MaxHeight);
    }
    height = std::max(height, c.MinHeight);
    const gfx::TRect next = gfx::Bounds(left, top, width, height);
    if (next == FBounds) {
        return;
    }
    const bool resized = next.Width() != FBounds.Width() || next.Height() != FBounds.Height();
    FBounds = next;
    ApplyBoundsToWidget();
    if (resized) {
        // Windowed controls realign their children first.
        Perform(WM_SIZE, 0, MakeLParam(GetClientWidth(), GetClientHeight()));
    }
    if (FAlign != alNone) {
        RequestParentRealign();
    }
}

gfx::TRect TControl::GetClientRect() const {
    return gfx::Rect(0, 0, GetWidth(), GetHeight());
}

void TControl::SetClientWidth(int32_t w) {
    SetWidth(GetWidth() - GetClientWidth() + w);
}

void TControl::SetClientHeight(int32_t h) {
    SetHeight(GetHeight() - GetClientHeight() + h);
}

void TControl::SetVisible(bool visible) {
    if (visible == FVisible) {
        return;
    }
    FVisible = visible;
    if (QWidget *w = FImpl->widget) {
        w->setVisible(FVisible && FParent);
    }
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
    if (FParent && FAlign != alNone) {
        FParent->Realign();
    }
}

bool TControl::IsShowing() const {
    QWidget *w = FImpl->widget;
    return w && w->isVisible();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == FEnabled) {
        return;
    }
    FEnabled = enabled;
    if (QWidget *w = FImpl->widget) {
        w->setEnabled(enabled);
    }
    EnabledChanged();
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::SetParentFont(bool value) {
    FParentFont = value;
    if (value) {
        ParentFontChanged();
    }
}

void TControl::ParentFontChanged() {
    if (!FParentFont || !FParent) {
        return;
    }
    FImpl->applyingParentFont = true;
    FFont.Assign(FParent->GetFont());
    FImpl->applyingParentFont = false;
    Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetColor(gfx::TColor color) {
    if (!FImpl->applyingParentColor) {
        FParentColor = false;
    }
    if (color == FColor) {
        return;
    }
    FColor = color;
    ColorChanged();
    Perform(CM_COLORCHANGED); // windowed controls pass it on to their children
    Invalidate();
}

void TControl::SetParentColor(bool value) {
    FParentColor = value;
    if (value) {
        ParentColorChanged();
    }
}

void TControl::ParentColorChanged() {
    if (!FParentColor || !FParent) {
        return;
    }
    FImpl->applyingParentColor = true;
    SetColor(FParent->GetColor());
    FImpl->applyingParentColor = false;
    FParentColor = true;
}

void TControl::SetAccessibleName(const rtl::UnicodeString &name) {
    FAccessibleName = name;
    if (QWidget *w = FImpl->widget) {
        if (!FImpl->ownDrawn) {
            w->setAccessibleName(gfx::qt::ToQString(name));
        }
        qt::AccessibleNameChanged(w);
    }
}

void TControl::SetText(const rtl::UnicodeString &text) {
    if (text == FText) {
        return;
    }
    FText = text;
    if (QWidget *w = FImpl->widget; w && FImpl->ownDrawn) {
        qt::AccessibleNameChanged(w); // own-drawn captions stay readable by screen readers
    }
    TextChanged();
    AdjustSize();
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

void TControl::SetHint(const rtl::UnicodeString &hint) {
    FHint = hint;
    if (QWidget *w = FImpl->widget) {
        w->setToolTip(gfx::qt::ToQString(hint));
    }
}

void TControl::SetCursor(TCursor cursor) {
    FCursor = cursor;
    if (QWidget *w = FImpl->widget) {
        qt::ApplyCursor(*w, cursor);
        // A cursor shown for the moment (SetShownCursor) gives way to the control's own.
        w->setProperty("wbShownCursor", QVariant());
    }
}

void TControl::SetInteractiveGestures(TInteractiveGestures gestures) {
    FInteractiveGestures = gestures;
    if (QWidget *w = FImpl->widget) {
        qt::ApplyGestures(*w, gestures);
    }
}

void TControl::SetBiDiMode(TBiDiMode mode) {
    if (mode != FBiDiMode) {
        FBiDiMode = mode;
        Invalidate();
    }
}

gfx::TPoint TControl::ClientToScreen(gfx::TPoint p) const {
    QWidget *w = FImpl->widget;
    const QPoint g = w ? w->mapToGlobal(QPoint(p.X, p.Y)) : QPoint(p.X, p.Y);
    return {g.x(), g.y()};
}

gfx::TPoint TControl::ScreenToClient(gfx::TPoint p) const {
    QWidget *w = FImpl->widget;
    const QPoint l = w ? w->mapFromGlobal(QPoint(p.X, p.Y)) : QPoint(p.X, p.Y);
    return {l.x(), l.y()};
}

void TControl::SetMouseCapture(bool capture) {
    if (QWidget *w = FImpl->widget) {
        capture ? w->grabMouse() : w->releaseMouse();
    }
}

void TControl::Invalidate() {
    if (QWidget *w = FImpl->widget) {
        w->update();
    }
}

void TControl::InvalidateRect(const gfx::TRect &r) {
    if (QWidget *w = FImpl->widget; w && !r.IsEmpty()) {
        w->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
    }
}

void TControl::Update() {
    if (QWidget *w = FImpl->widget; w && w->isVisible()) {
        w->repaint();
    }
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (QWidget *w = FImpl->widget) {
        w->raise();
    }
}

LRESULT TControl::Perform(uint32_t msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    if (FWindowProc) {
        FWindowProc(m);
    } else {
        WndProc(m);
    }
    return m.Result;
}

void TControl::WndProc(TMessage &message) {
    if (DockDragStep(message)) {
        return;
    }
    Dispatch(message);
}

void TControl::DefaultHandler(TMessage &message) {
    (void)message;
}

void TControl::Click() {
    if (OnClick) {
        OnClick(this);
    } else if (FActionLink) {
        FActionLink->Execute(this);
    }
}

void TControl::AccessibleStateChanged() {
    if (QWidget *w = FImpl->widget; w && FImpl->ownDrawn) {
        qt::AccessibleStateChanged(w);
    }
}

void TControl::WindowResized(int32_t clientWidth, int32_t clientHeight) {
    SetBounds(GetLeft(), GetTop(), clientWidth, clientHeight);
}

// The paint of a control drawn into another canvas: Paint draws on that canvas for the time of
// the call, and the window's own paint canvas (if one is active) comes back afterwards.
void TControl::PaintInto(gfx::TCanvas &canvas) {
    gfx::TCanvas *const previous = FImpl->paintCanvas;
    FImpl->paintCanvas = &canvas;
    struct TRestore {
        TControl &Control;
        gfx::TCanvas *Previous;
        ~TRestore() { Control.GetImpl().paintCanvas = Previous; }
    } restore{*this, previous};
    Paint();
}

gfx::TCanvas &TControl::ControlCanvas() {
    return FImpl->paintCanvas ? *FImpl->paintCanvas : FImpl->stateHost.GetCanvas();
}

namespace {

// The widget's pixels in r (an invalid r: all of it), after the pending events are handled.
gfx::TBitmap Grab(QWidget *w, const QRect &r) {
    gfx::TBitmap result;
    if (!w) {
        return result;
    }
    QCoreApplication::processEvents();
    gfx::qt::SetImage(result, w->grab(r).toImage().convertToFormat(QImage::Format_RGB32));
    return result;
}

} // namespace

gfx::TBitmap TControl::GrabForTesting() {
    return Grab(FImpl->widget, QRect(QPoint(0, 0), QSize(-1, -1)));
}

gfx::TBitmap TControl::GrabForTesting(const gfx::TRect &area) {
    return Grab(FImpl->widget, QRect(area.Left, area.Top, area.Width(), area.Height()));
}

} // namespace ui
