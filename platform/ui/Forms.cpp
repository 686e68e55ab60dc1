// TForm: window geometry, showing, modal loop and closing.
#include "platform/ui/Forms.h"

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/DialogHandler.h"
#include "platform/ui/QtBridge_p.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QWidget>

#include <functional>

namespace ui {

namespace {

constexpr int CaptionHeight = 22;
constexpr int SmallCaptionHeight = 16;

QString ToQString(const rtl::UnicodeString &s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

// Every TButton inside the control, depth first in child order.
void ForEachButton(TWinControl &parent, const std::function<bool(TButton &)> &visit) {
    for (int i = 0; i < parent.GetControlCount(); ++i) {
        TControl *c = parent.GetControl(i);
        if (auto *b = dynamic_cast<TButton *>(c); b && visit(*b)) {
            return;
        }
        if (auto *wc = dynamic_cast<TWinControl *>(c)) {
            ForEachButton(*wc, visit);
        }
    }
}

bool Clickable(const TButton &b) {
    return b.IsShowing() && b.GetEnabled();
}

} // namespace

TForm::TForm(TComponent *owner) : TWinControl(owner) {
    QWidget *w = qt::NewOwnDrawnWidget(*this);
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
    TButton *target = nullptr;
    if (key == VK_RETURN) {
        QWidget *focus = QApplication::focusWidget();
        ForEachButton(*this, [&](TButton &b) {
            if (focus && qt::WidgetOf(b) == focus && Clickable(b)) {
                target = &b;
            }
            return target != nullptr;
        });
    }
    if (!target) {
        ForEachButton(*this, [&](TButton &b) {
            const bool role = key == VK_RETURN ? b.GetDefault() : b.GetCancel();
            if (role && Clickable(b)) {
                target = &b;
            }
            return target != nullptr;
        });
    }
    if (target) {
        target->Click();
    }
    return target != nullptr;
}

void TForm::TextChanged() {
    if (QWidget *w = qt::WidgetOf(*this)) {
        w->setWindowTitle(ToQString(GetCaption()));
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
    TWinControl::Dispatch(message);
}

} // namespace ui
