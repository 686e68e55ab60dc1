// TApplication: the message loop, posted messages and the default error display.
#include "platform/ui/Application.h"

#include "platform/gfx/ImgList.h"
#include "platform/gfx/QtBridge_p.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TypInfo.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/DialogHandler.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ModalResult.h"
#include "platform/ui/QtBridge_p.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QToolTip>

#include <deque>
#include <filesystem>
#include <functional>
#include <new>
#include <unordered_set>
#include <utility>
#include <vector>

namespace ui {

namespace {

// A message for the control, or a call made for it (when call is set).
struct PostedMessage {
    TControl *control;
    TMessage message;
    std::function<void()> call;
};

std::deque<PostedMessage> &PostedQueue() {
    static std::deque<PostedMessage> queue;
    return queue;
}

std::unordered_set<TControl *> &LiveControls() {
    static std::unordered_set<TControl *> live;
    return live;
}

bool DrainScheduled = false;

// Delivers the queued messages (also those posted meanwhile) to the controls still alive.
int ProcessPostedMessages() {
    DrainScheduled = false;
    int delivered = 0;
    while (!PostedQueue().empty()) {
        PostedMessage pm = PostedQueue().front();
        PostedQueue().pop_front();
        if (LiveControls().count(pm.control)) {
            if (pm.call) {
                qt::CallSafely(pm.call);
            } else {
                qt::CallSafely([&] { pm.control->WndProc(pm.message); });
            }
            ++delivered;
        }
    }
    return delivered;
}

} // namespace

// Never destroyed: forms and widgets must not be torn down after Qt's own globals at exit.
TApplication *const Application = new TApplication();

namespace qt {

void RegisterControl(TControl *control) {
    LiveControls().insert(control);
}

void UnregisterControl(TControl *control) {
    LiveControls().erase(control);
}

bool IsLiveControl(const TControl *control) {
    return LiveControls().count(const_cast<TControl *>(control)) != 0;
}

void CallSafely(const std::function<void()> &handler) {
    try {
        handler();
    } catch (const std::exception &e) {
        Application->HandleException(e);
    } catch (...) {
        Application->HandleException(rtl::Exception(rtl::U("Неизвестная ошибка")));
    }
}

} // namespace qt

namespace {

void SchedulePostedMessages() {
    if (!DrainScheduled && QCoreApplication::instance()) {
        DrainScheduled = true;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { ProcessPostedMessages(); }, Qt::QueuedConnection);
    }
}

} // namespace

void qt::PostCall(TControl *control, std::function<void()> call) {
    PostedQueue().push_back({control, {}, std::move(call)});
    SchedulePostedMessages();
}

void PostMessage(TControl *control, uint32_t msg, WPARAM wParam, LPARAM lParam) {
    PostedQueue().push_back({control, {msg, wParam, lParam, 0}, {}});
    SchedulePostedMessages();
}

int ProcessPostedMessagesForTesting() {
    return ProcessPostedMessages();
}

TApplication::TApplication() : TComponent(nullptr) {
    SetTitle(u"");
}

void TApplication::SetTitle(const rtl::UnicodeString &title) {
    FTitleSet = !title.empty();
    if (FTitleSet) {
        FTitle = title;
        return;
    }
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    FTitle = ec ? u"" : rtl::Utf8ToUtf16(exe.stem().string());
}

TApplication::~TApplication() {
    // Forms go first, while the application object is still whole.
    DestroyComponents();
}

namespace {

// Tells the controls when the desktop's theme or colours change.
class TThemeWatcher : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *e) override {
        if (watched == qApp &&
            (e->type() == QEvent::ThemeChange || e->type() == QEvent::ApplicationPaletteChange)) {
            BroadcastThemeChange();
        }
        return false;
    }
};

} // namespace

void MessageBeep() {
    gfx::qt::EnsureApplication();
    QApplication::beep();
}

void BroadcastThemeChange() {
    // A control may go while told; the set is copied and each one checked before it is told.
    const std::vector<TControl *> controls(LiveControls().begin(), LiveControls().end());
    for (TControl *control : controls) {
        if (LiveControls().count(control)) {
            qt::CallSafely([control] {
                control->Perform(WM_THEMECHANGED);
                control->Invalidate();
            });
        }
    }
}

void TApplication::Initialize() {
    gfx::qt::EnsureApplication();
    static bool watching = false;
    if (!std::exchange(watching, true)) {
        qApp->installEventFilter(new TThemeWatcher(qApp));
    }
    // Forms and data modules read from streams create these by their stored class names.
    rtl::RegisterClass(gfx::TImageList::StaticClassInfo());
    rtl::RegisterClass(TActionList::StaticClassInfo());
    rtl::RegisterClass(TActionManager::StaticClassInfo());
    rtl::RegisterClass(TAction::StaticClassInfo());
}

void TApplication::SetIcon(const gfx::TGraphic &icon) {
    qt::SetApplicationIcon(icon);
}

rtl::UnicodeString TApplication::GetExeName() const {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? u"" : rtl::Utf8ToUtf16(exe.string());
}

void TApplication::FormCreated(TForm *form) {
    form->AfterConstruction();
    if (!FMainForm) {
        SetMainForm(form);
    }
}

void TApplication::SetMainFormForTesting(TForm *form) {
    SetMainForm(form);
}

void TApplication::SetMainForm(TForm *form) {
    if (FMainForm) {
        FMainForm->RemoveFreeNotification(this);
    }
    FMainForm = form;
    if (FMainForm) {
        FMainForm->FreeNotification(this);
    }
}

void TApplication::Notification(rtl::TComponent *component, rtl::TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == rtl::opRemove && component == FMainForm) {
        FMainForm = nullptr;
    }
}

void TApplication::Run() {
    gfx::qt::EnsureApplication();
    if (!FMainForm || FTerminated) {
        return;
    }
    if (FShowMainForm) {
        FMainForm->Show();
    }
    FRunning = true;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     QCoreApplication::instance(), [this] { DoActionIdle(); });
    while (!FTerminated) {
        QApplication::exec();
    }
    FRunning = false;
}

void TApplication::Terminate() {
    FTerminated = true;
    if (QCoreApplication::instance()) {
        QCoreApplication::quit();
    }
}

void TApplication::ProcessMessages() {
    gfx::qt::EnsureApplication();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    ProcessPostedMessages();
}

void TApplication::DoActionIdle() {
    const std::vector<TControl *> controls(LiveControls().begin(), LiveControls().end());
    for (TControl *c : controls) {
        // An update may free controls.
        if (qt::IsLiveControl(c) && c->GetAction() && c->IsShowing()) {
            qt::CallSafely([c] { c->InitiateAction(); });
        }
    }
}

void TApplication::HandleException(const std::exception &e) {
    if (dynamic_cast<const rtl::EAbort *>(&e)) {
        return;
    }
    if (OnException) {
        OnException(this, e);
    } else {
        ShowException(e);
    }
}

void TApplication::ShowException(const std::exception &e) {
    const auto *ex = dynamic_cast<const rtl::Exception *>(&e);
    rtl::UnicodeString text = ex ? ex->Message()
                              : dynamic_cast<const std::bad_alloc *>(&e)
                                  ? rtl::UnicodeString(u"Out of memory") // as EOutOfMemory says
                                  : rtl::Utf8ToUtf16(e.what());
    if (!text.empty() && text.back() > u'.') {
        text += u'.';
    }
    MessageBox(text, GetDialogTitle(), MB_OK | MB_ICONSTOP);
}

void TApplication::ActivateHint(rtl::TPoint cursorPos, const TControl &control) {
    CancelHint();
    const rtl::UnicodeString &hint = control.GetHint();
    if (hint.empty()) {
        return;
    }
    FShownHint = hint;
    gfx::qt::EnsureApplication();
    QToolTip::showText(QPoint(cursorPos.X, cursorPos.Y), gfx::qt::ToQString(hint),
                       qt::WidgetOf(control));
}

void TApplication::CancelHint() {
    if (FShownHint.empty()) {
        return;
    }
    FShownHint.clear();
    QToolTip::hideText();
}

rtl::UnicodeString TApplication::GetDialogTitle() const {
    if (!FTitleSet && FMainForm && !FMainForm->GetCaption().empty()) {
        return FMainForm->GetCaption();
    }
    return FTitle;
}

int32_t TApplication::MessageBox(const rtl::UnicodeString &text, const rtl::UnicodeString &caption,
                                 uint32_t flags) {
    const rtl::UnicodeString title = caption.empty() ? GetDialogTitle() : caption;
    if (const auto &handler = GetDialogHandler().MessageBox) {
        return handler(text, title, flags);
    }
    gfx::qt::EnsureApplication();
    QMessageBox box;
    box.setWindowTitle(gfx::qt::ToQString(title));
    box.setText(gfx::qt::ToQString(text));
    const uint32_t icon = flags & 0xF0;
    box.setIcon(icon == MB_ICONSTOP          ? QMessageBox::Critical
                : icon == MB_ICONQUESTION    ? QMessageBox::Question
                : icon == MB_ICONWARNING     ? QMessageBox::Warning
                : icon == MB_ICONINFORMATION ? QMessageBox::Information
                                             : QMessageBox::NoIcon);
    struct Choice {
        QMessageBox::StandardButton button;
        int32_t id;
    };
    static const std::vector<Choice> sets[] = {
        {{QMessageBox::Ok, IDOK}},
        {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}},
        {{QMessageBox::Abort, IDABORT},
         {QMessageBox::Retry, IDRETRY},
         {QMessageBox::Ignore, IDIGNORE}},
        {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}},
        {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}},
        {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}},
    };
    const auto &set = sets[(flags & 0x0F) < 6 ? (flags & 0x0F) : 0];
    for (const Choice &c : set) {
        box.addButton(c.button);
    }
    const int pressed = box.exec();
    for (const Choice &c : set) {
        if (c.button == pressed) {
            return c.id;
        }
    }
    return set.size() == 1 ? IDOK : IDCANCEL;
}

} // namespace ui
