// TForm: window geometry, showing, modal loop and closing.
#include "platform/ui/Forms.h"

#include "platform/ui/ActnList.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/DialogHandler.h"
#include "platform/ui/QtBridge_p.h"

#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QVariant>
#include <QWidget>

namespace ui {

namespace {

constexpr int CaptionHeight = 22;
constexpr int SmallCaptionHeight = 16;

// The widget property telling whether a form's window has an icon of its own.
constexpr char OwnIconProperty[] = "wbOwnIcon";

QIcon IconOf(const gfx::TGraphic &graphic) {
    gfx::qt::EnsureApplication();
    const QImage image = gfx::qt::ImageOfGraphic(graphic);
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

} // namespace

namespace qt {

void SetApplicationIcon(const gfx::TGraphic &graphic) {
    const QIcon icon = IconOf(graphic);
    QApplication::setWindowIcon(icon);
    // Qt keeps a window's icon once one was set, even a null one; forms whose own icon was
    // taken away follow the application's icon here.
    for (QWidget *w : QApplication::topLevelWidgets()) {
        const QVariant own = w->property(OwnIconProperty);
        if (own.isValid() && !own.toBool()) {
            w->setWindowIcon(icon);
        }
    }
}

} // namespace qt

TForm::TForm(TComponent *owner) : TWinControl(owner) {
    QWidget *w = qt::NewOwnDrawnWidget(*this, qt::TOwnDrawnKind::Windowed);
    qt::AttachWidget(*this, w, true);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    FClickOnMouseUp = true;
    SetVisible(false);
    SetBounds(0, 0, 640, 480);
}

TForm::~TForm() {
    if (FModalLoop) {
        static_cast<QEventLoop *>(FModalLoop)->quit();
    }
}

void TForm::SetIcon(const gfx::TGraphic &icon) {
    QWidget *w = qt::WidgetOf(*this);
    const QIcon own = IconOf(icon);
    w->setProperty(OwnIconProperty, !own.isNull());
    w->setWindowIcon(own.isNull() ? QApplication::windowIcon() : own);
}

gfx::TBitmap TForm::WindowIconForTesting(int32_t size) const {
    const QIcon icon = qt::WidgetOf(*this)->windowIcon();
    gfx::TBitmap bitmap;
    if (icon.isNull()) {
        return bitmap;
    }
    bitmap.SetPixelFormat(gfx::pf32bit);
    gfx::qt::SetImage(bitmap, icon.pixmap(QSize(size, size)).toImage().scaled(size, size));
    return bitmap;
}

void TForm::AfterConstruction() {
    if (OnCreate) {
        qt::CallSafely([this] { OnCreate(this); });
    }
}

void TForm::BeforeDestruction() {
    if (!FDestroyRan) {
        FDestroyRan = true;
        if (OnDestroy) {
            qt::CallSafely([this] { OnDestroy(this); });
        }
    }
}

gfx::TSize TForm::FrameExtent() const {
    switch (FBorderStyle) {
    case bsNone:
        return {0, 0};
    case bsSingle:
    case bsDialog:
        return {6, 6 + CaptionHeight};
    case bsToolWindow:
        return {6, 6 + SmallCaptionHeight};
    case bsSizeToolWin:
        return {8, 8 + SmallCaptionHeight};
    default:
        return {8, 8 + CaptionHeight};
    }
}

TForm *TForm::GetParentForm() const {
    TForm *outer = TWinControl::GetParentForm();
    return outer ? outer : const_cast<TForm *>(this);
}

TAccessibleInfo TForm::GetAccessibleInfo() const {
    TAccessibleInfo info;
    info.Role = FModal || FBorderStyle == bsDialog ? arDialog : arWindow;
    return info;
}

void TForm::ApplyBoundsToWidget() {
    // A form on its own places its window (ApplyWindowGeometry); one inside a control is a
    // child widget like any other.
    if (GetParent()) {
        TWinControl::ApplyBoundsToWidget();
    }
}

gfx::TRect TForm::GetClientRect() const {
    const gfx::TSize f = FrameExtent();
    return gfx::Rect(0, 0, std::max(0, GetWidth() - f.cx), std::max(0, GetHeight() - f.cy));
}

void TForm::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    TWinControl::SetBounds(left, top, width, height);
    ApplyWindowGeometry();
}

void TForm::ApplyWindowGeometry() {
    QWidget *w = qt::WidgetOf(*this);
    if (!w || FWindowState != wsNormal) {
        return;
    }
    const gfx::TSize f = FrameExtent();
    const QSize client(GetClientWidth(), GetClientHeight());
    const bool fixed = FBorderStyle != bsSizeable && FBorderStyle != bsSizeToolWin;
    if (fixed) {
        w->setFixedSize(client);
    } else {
        const TSizeConstraints c = GetConstraints();
        w->setMinimumSize(std::max(0, c.MinWidth - f.cx), std::max(0, c.MinHeight - f.cy));
        w->setMaximumSize(c.MaxWidth > 0 ? c.MaxWidth - f.cx : QWIDGETSIZE_MAX,
                          c.MaxHeight > 0 ? c.MaxHeight - f.cy : QWIDGETSIZE_MAX);
        w->resize(client);
    }
    w->move(GetLeft(), GetTop());
}

void TForm::WindowResized(int32_t clientWidth, int32_t clientHeight) {
    if (clientWidth == GetClientWidth() && clientHeight == GetClientHeight()) {
        return;
    }
    const gfx::TSize f = FrameExtent();
    TWinControl::SetBounds(GetLeft(), GetTop(), clientWidth + f.cx, clientHeight + f.cy);
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == FBorderStyle) {
        return;
    }
    // The client size stays; the window grows or shrinks by the frame.
    const int cw = GetClientWidth(), ch = GetClientHeight();
    FBorderStyle = style;
    if (QWidget *w = qt::WidgetOf(*this)) {
        w->setWindowFlag(Qt::FramelessWindowHint, style == bsNone);
        w->setWindowFlag(Qt::Tool, style == bsToolWindow || style == bsSizeToolWin);
    }
    const gfx::TSize f = FrameExtent();
    SetBounds(GetLeft(), GetTop(), cw + f.cx, ch + f.cy);
}

void TForm::PlaceWindow() {
    QRect area(0, 0, 1024, 768);
    if (QScreen *s = QGuiApplication::primaryScreen()) {
        area = s->availableGeometry();
    }
    gfx::TRect around = gfx::Rect(area.left(), area.top(), area.right() + 1, area.bottom() + 1);
    TForm *mainForm = Application->GetMainForm();
    if (FPosition == poMainFormCenter && mainForm && mainForm != this) {
        around = mainForm->GetBoundsRect();
    } else if (auto *ownerForm = dynamic_cast<TForm *>(GetOwner());
               FPosition == poOwnerFormCenter && ownerForm) {
        around = ownerForm->GetBoundsRect();
    } else if (FPosition != poScreenCenter && FPosition != poDesktopCenter &&
               FPosition != poMainFormCenter) {
        return;
    }
    SetBounds(around.Left + (around.Width() - GetWidth()) / 2,
              around.Top + (around.Height() - GetHeight()) / 2, GetWidth(), GetHeight());
}

void TForm::SetVisible(bool visible) {
    if (visible == GetVisible()) {
        return;
    }
    TWinControl::SetVisible(visible);
    QWidget *w = qt::WidgetOf(*this);
    if (!visible) {
        if (w) {
            w->hide();
        }
        if (OnHide) {
            OnHide(this);
        }
        return;
    }
    if (!FShownOnce) {
        FShownOnce = true;
        PlaceWindow();
    }
    ApplyWindowGeometry();
    if (w) {
        FWindowState == wsMaximized   ? w->showMaximized()
        : FWindowState == wsMinimized ? w->showMinimized()
                                      : w->show();
    }
    Realign();
    if (OnShow) {
        OnShow(this);
    }
}

void TForm::SetWindowState(TWindowState state) {
    if (state == FWindowState) {
        return;
    }
    FWindowState = state;
    QWidget *w = qt::WidgetOf(*this);
    if (w && GetVisible()) {
        state == wsMaximized   ? w->showMaximized()
        : state == wsMinimized ? w->showMinimized()
                               : w->showNormal();
    }
    ApplyWindowGeometry();
}

void TForm::SetModalResult(TModalResult result) {
    FModalResult = result;
    if (result != mrNone && FModalLoop) {
        static_cast<QEventLoop *>(FModalLoop)->quit();
    }
}

TModalResult TForm::ShowModal() {
    if (GetVisible() || FModal) {
        throw rtl::EInvalidOperation(std::string_view("Cannot make a visible window modal"));
    }
    FModal = true;
    FModalResult = mrNone;
    QWidget *w = qt::WidgetOf(*this);
    w->setWindowModality(Qt::ApplicationModal);
    struct Restore {
        TForm &f;
        QWidget *w;
        ~Restore() {
            f.FModal = false;
            if (f.GetVisible()) {
                f.SetVisible(false);
            }
            w->setWindowModality(Qt::NonModal);
        }
    } restore{*this, w};
    Show();
    if (const auto &handler = GetDialogHandler().ShowModal) {
        const TModalResult r = handler(*this);
        FModalResult = r != mrNone ? r : (FModalResult != mrNone ? FModalResult : mrCancel);
        CloseModal();
        return FModalResult;
    }
    while (FModalResult == mrNone) {
        RunModalLoop();
        if (Application->GetTerminated()) {
            FModalResult = mrCancel;
        }
        if (FModalResult != mrNone) {
            CloseModal();
        }
    }
    return FModalResult;
}

bool TForm::RunModalLoop() {
    QEventLoop loop;
    FModalLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    FModalLoop = nullptr;
    return true;
}

void TForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        if (OnClose) {
            OnClose(this, action);
        }
    }
    if (action == caNone) {
        FModalResult = mrNone;
    } else if (action == caFree) {
        PostMessage(this, CM_RELEASE);
    }
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) {
        OnCloseQuery(this, canClose);
    }
    return canClose;
}

void TForm::Close() {
    if (FModal) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) {
        return;
    }
    TCloseAction action = caHide;
    if (OnClose) {
        OnClose(this, action);
    }
    if (action == caNone) {
        return;
    }
    if (Application->GetMainForm() == this) {
        SetVisible(false);
        Application->Terminate();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        SetVisible(false);
        if (action == caFree) {
            PostMessage(this, CM_RELEASE);
        }
    }
}

bool TForm::WindowCloseRequested() {
    Close();
    return !GetVisible();
}

bool TForm::DialogKey(uint16_t key) {
    return Perform(CM_DIALOGKEY, key, DialogShiftBits(qt::KeyboardShift())) != 0;
}

TWinControl *TForm::GetActiveControl() const {
    QWidget *w = qt::WidgetOf(*this);
    // The window's focus child is kept while another window is active, as ActiveControl is.
    auto *c = dynamic_cast<TWinControl *>(qt::ControlOfWidget(w ? w->focusWidget() : nullptr));
    return c && c != this && c->GetParentForm() == this ? c : nullptr;
}

void TForm::FocusChanged(TWinControl *control) {
    if (control == FLastFocused) {
        return;
    }
    FLastFocused = control;
    Perform(CM_FOCUSCHANGED, 0, LPARAM(control));
}

void TForm::KeyboardUsed(uint16_t key, TShiftState shift) {
    const bool navigation = key == VK_TAB || key == VK_LEFT || key == VK_RIGHT || key == VK_UP ||
                            key == VK_DOWN || key == VK_MENU || shift.Contains(ssAlt);
    if (!navigation || FUIState == 0) {
        return;
    }
    const uint16_t cleared = FUIState;
    FUIState = 0;
    Perform(WM_UPDATEUISTATE, UIS_CLEAR | (WPARAM(cleared) << 16));
}

void TForm::CMDialogKey(TMessage &m) {
    const TShiftState shift = DialogShiftState(m.LParam);
    const bool arrow =
        m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP || m.WParam == VK_DOWN;
    if (!shift.Contains(ssAlt) && m.WParam == VK_TAB && !shift.Contains(ssCtrl)) {
        SelectNext(GetActiveControl(), !shift.Contains(ssShift), true);
        m.Result = 1;
        return;
    }
    if (!shift.Contains(ssAlt) && arrow) {
        // Arrows move among the focused control's siblings, tab stops or not.
        if (TWinControl *active = GetActiveControl(); active && active->GetParent()) {
            active->GetParent()->SelectNext(active, m.WParam == VK_RIGHT || m.WParam == VK_DOWN,
                                            false);
            m.Result = 1;
        }
        return;
    }
    Broadcast(m);
}

void TForm::TextChanged() {
    if (QWidget *w = qt::WidgetOf(*this)) {
        w->setWindowTitle(gfx::qt::ToQString(GetCaption()));
    }
}

void TForm::ColorChanged() {
    Invalidate();
}

void TForm::Paint() {
    if (OnPaint) {
        OnPaint(this);
    }
}

void TForm::Dispatch(TMessage &message) {
    if (message.Msg == CM_RELEASE) {
        Free(); // the form is gone when this returns
        return;
    }
    if (message.Msg == CM_DIALOGKEY) {
        CMDialogKey(message);
        return;
    }
    TWinControl::Dispatch(message);
}

bool TForm::IsShortCut(uint16_t key, TShiftState shift) {
    const TShortCut shortCut = ShortCut(key, shift);
    for (int32_t i = 0; i < GetComponentCount(); ++i) {
        if (auto *list = dynamic_cast<TCustomActionList *>(GetComponent(i))) {
            if (list->IsShortCut(shortCut)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace ui
