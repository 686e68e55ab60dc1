// TButton: a push button; a click sets its form's ModalResult to the button's ModalResult.
#pragma once

#include "platform/ui/ModalResult.h"
#include "platform/ui/WinControl.h"

namespace ui {

// Default: Enter in the form clicks it (unless another push button has the focus; a focused
// push button is clicked by Enter itself). Cancel: Escape in the form clicks it. The caption's
// accelerator ("&Reload": Alt+R, or R where the focused control takes no characters) clicks
// it. Default size 75 x 25.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent *owner);

    bool GetDefault() const { return FDefault; }
    void SetDefault(bool value) { FDefault = value; }
    bool GetCancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }

    void Click() override;

protected:
    void TextChanged() override;
    void Dispatch(TMessage &message) override;
    // Whether Enter would click this button now.
    bool IsActive() const;

private:
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

} // namespace ui
