// The application object: forms, the message loop, posted messages and the default display
// of errors that leave event handlers.
#pragma once

#include "platform/rtl/System.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Component.h"
#include "platform/ui/Messages.h"

#include <exception>
#include <functional>

namespace gfx {
class TGraphic;
}

namespace ui {

class TControl;
class TForm;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Starts the windowing system (from then on a change of the desktop's theme or colours is
    // told to every control, see BroadcastThemeChange) and registers the platform's streamable
    // components (TImageList, TActionList, TActionManager, TAction) for reading by class name.
    void Initialize();
    // Makes a form owned by the application, runs its OnCreate, and makes the first form
    // made this way the main form (after its OnCreate, as the class library does).
    template <class T> void CreateForm(T *&reference) {
        T *form = new T(this); // owned by the application from here on
        reference = form;
        FormCreated(form);
    }
    // Shows the main form and runs the message loop until Terminate or the main form closes.
    void Run();
    void Terminate();
    bool GetTerminated() const { return FTerminated; }
    // Handles every pending native event and posted message, then returns.
    void ProcessMessages();
    // Lets the action of every showing control bring its state up to date (OnUpdate), as the
    // message loop does each time it is about to wait for input.
    void DoActionIdle();

    TForm *GetMainForm() const { return FMainForm; }
    // The main window as CreateForm would make it; nullptr: none.
    void SetMainFormForTesting(TForm *form);
    const rtl::UnicodeString &GetTitle() const { return FTitle; }
    // An empty title gives back the executable's name.
    void SetTitle(const rtl::UnicodeString &title);
    // The caption of message boxes without one of their own: the title when the program set
    // one, else the main window's caption (the executable's name before there is one).
    rtl::UnicodeString GetDialogTitle() const;
    bool GetMainFormOnTaskBar() const { return FMainFormOnTaskBar; }
    void SetMainFormOnTaskBar(bool value) { FMainFormOnTaskBar = value; }
    bool GetShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool value) { FShowMainForm = value; }
    // The application's icon, copied from the picture: the icon of every form that has none
    // of its own. An empty picture removes it.
    void SetIcon(const gfx::TGraphic &icon);
    // Full path of the running program.
    rtl::UnicodeString GetExeName() const;

    // The default error display: OnException when set, else ShowException. EAbort is silent.
    void HandleException(const std::exception &e);
    // Shows the exception's message (with a final "." added when it ends in a character
    // above ".") in a message box with the title as caption, an error icon and OK; a failed
    // allocation (std::bad_alloc) reads "Out of memory", as the class library's EOutOfMemory.
    void ShowException(const std::exception &e);
    // A message box through the dialog handler; caption empty means the title.
    int32_t MessageBox(const rtl::UnicodeString &text, const rtl::UnicodeString &caption = {},
                       uint32_t flags = 0);

    std::function<void(TComponent *sender, const std::exception &e)> OnException;

    // The hint window: shows the control's Hint at once at cursorPos (screen coordinates;
    // nothing for an empty hint), and hides it. The text shown is kept for tests (empty while
    // no hint is shown).
    void ActivateHint(rtl::TPoint cursorPos, const TControl &control);
    void CancelHint();
    const rtl::UnicodeString &GetShownHintForTesting() const { return FShownHint; }

protected:
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;

private:
    void FormCreated(TForm *form);
    void SetMainForm(TForm *form);

    TForm *FMainForm = nullptr;
    rtl::UnicodeString FTitle;
    bool FTitleSet = false;
    bool FMainFormOnTaskBar = false;
    bool FShowMainForm = true;
    bool FTerminated = false;
    bool FRunning = false;
    rtl::UnicodeString FShownHint;
};

// The one application object of the program.
extern TApplication *const Application;

// Sends WM_THEMECHANGED to every control and repaints it, as after a change of the desktop's
// theme or colours (controls that read theme colours read them again).
void BroadcastThemeChange();

// The system's default warning sound.
void MessageBeep();

// Queues a message for the control; it is delivered by the message loop or ProcessMessages,
// in posting order, unless the control was destroyed meanwhile.
void PostMessage(TControl *control, uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Delivers the queued messages now (also those posted meanwhile), as the message loop and
// ProcessMessages do; returns how many.
int ProcessPostedMessagesForTesting();

} // namespace ui
