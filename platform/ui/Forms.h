// TForm: a top-level window built by its constructor, shown modeless or modal.
#pragma once

#include "platform/ui/ModalResult.h"
#include "platform/ui/WinControl.h"

namespace ui {

enum TFormBorderStyle : uint8_t {
    bsNone,
    bsSingle,
    bsSizeable,
    bsDialog,
    bsToolWindow,
    bsSizeToolWin
};
enum TPosition : uint8_t {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };

using TCloseEvent = std::function<void(TComponent *sender, TCloseAction &action)>;
using TCloseQueryEvent = std::function<void(TComponent *sender, bool &canClose)>;

// Width and Height include a fixed window frame (3 pixels a side for single and dialog
// borders, 4 for sizeable ones, 22 for the caption; none for bsNone), so ClientWidth and
// ClientHeight are the inner size. A derived form's constructor makes its components; the
// maker then calls AfterConstruction (Application->CreateForm does), which runs OnCreate;
// an exception leaving OnCreate goes to the application's error display and the form stays.
class TForm : public TWinControl {
public:
    explicit TForm(TComponent *owner);
    ~TForm() override;

    void AfterConstruction();
    // Runs OnDestroy; called by the owner before it frees the form.
    void BeforeDestruction() override;

    TForm *GetParentForm() const override;
    // A window; a dialog while modal or with a dialog border.
    TAccessibleInfo GetAccessibleInfo() const override;
    gfx::TRect GetClientRect() const override;
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
    void SetVisible(bool visible) override;

    TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    TPosition GetPosition() const { return FPosition; }
    void SetPosition(TPosition position) { FPosition = position; }
    TWindowState GetWindowState() const { return FWindowState; }
    void SetWindowState(TWindowState state);
    bool GetKeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    // The window's icon, copied from the picture at its own size; an empty picture gives the
    // window the application's icon again.
    void SetIcon(const gfx::TGraphic &icon);
    // The icon the window shows now (its own or the application's), drawn size x size pixels
    // (32-bit, alpha kept); an empty bitmap when there is none.
    gfx::TBitmap WindowIconForTesting(int32_t size) const;

    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult result);
    // Shows the form modally and returns the modal result (through the dialog handler when
    // one is set). A visible form cannot be shown modally (EInvalidOperation).
    TModalResult ShowModal();
    bool IsModal() const { return FModal; }
    // Asks OnCloseQuery, runs OnClose and then hides (or frees) the form; closing the main
    // form ends the application; closing a modal form sets ModalResult to mrCancel.
    void Close();
    bool CloseQuery();

    // The window's client area was resized; the window asks to close (Close; false when the
    // form stays).
    void WindowResized(int32_t clientWidth, int32_t clientHeight) override;
    bool WindowCloseRequested() override;
    // Offers key to the form's controls as CM_DIALOGKEY (with the shift keys held now); true
    // when one took it.
    bool DialogKey(uint16_t key);
    // A key press reaches the form before the focused control: the action lists the form owns
    // execute the enabled, visible action with that shortcut. True when one did (the key then
    // goes no further).
    virtual bool IsShortCut(uint16_t key, TShiftState shift);
    // The control inside the form that has the keyboard focus (nullptr when none or the form
    // itself has it).
    TWinControl *GetActiveControl() const;
    // The focus moved to control: CM_FOCUSCHANGED goes to every control of the form.
    void FocusChanged(TWinControl *control);
    // The keyboard was used (key is the virtual key): Tab, an arrow or Alt make focus
    // rectangles and accelerators visible, once, by WM_UPDATEUISTATE to every control.
    void KeyboardUsed(uint16_t key, TShiftState shift);
    // Whether focus rectangles and accelerators are shown (hidden until the keyboard is used).
    bool FocusCuesShown() const { return (FUIState & UISF_HIDEFOCUS) == 0; }
    bool AcceleratorsShown() const { return (FUIState & UISF_HIDEACCEL) == 0; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;
    TNotifyEvent OnActivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void TextChanged() override;
    void ColorChanged() override;
    void ApplyBoundsToWidget() override;
    void Paint() override;
    void Dispatch(TMessage &message) override;
    // Tab moves the focus in tab order, arrows among the focused control's siblings; other
    // keys go to the controls.
    virtual void CMDialogKey(TMessage &message);

private:
    gfx::TSize FrameExtent() const; // window size minus client size
    void PlaceWindow();
    void ApplyWindowGeometry();
    void CloseModal();
    bool RunModalLoop();

    TFormBorderStyle FBorderStyle = bsSizeable;
    TPosition FPosition = poDesigned;
    TWindowState FWindowState = wsNormal;
    bool FKeyPreview = false;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FShownOnce = false;
    bool FDestroyRan = false;
    void *FModalLoop = nullptr;          // the native event loop of ShowModal while it runs
    TWinControl *FLastFocused = nullptr; // only compared, never followed
    uint16_t FUIState = UISF_HIDEFOCUS | UISF_HIDEACCEL;
};

} // namespace ui
