// The replaceable handler behind every message box, modal form and file dialog, so that tests
// answer them without showing a window. A member left empty means "show the real window".
#pragma once

#include "platform/rtl/System.h"

#include <cstdint>
#include <functional>

namespace ui {

class TForm;
class TFileDialog;
class TPrintDialog;
class TPrinterSetupDialog;

struct TDialogHandler {
    // Gets the text, caption and MB_ flags; returns the answer (IDOK ...).
    std::function<int32_t(const rtl::UnicodeString &text, const rtl::UnicodeString &caption,
                          uint32_t flags)>
        MessageBox;
    // Runs while the form is shown modally (after OnShow); returns the modal result, or 0 to
    // keep the form's own ModalResult (mrCancel when that is 0 too).
    std::function<int32_t(TForm &form)> ShowModal;
    // Gets an open or save dialog (its FileName may be set); returns whether it was confirmed.
    std::function<bool(TFileDialog &dialog)> FileDialog;
    // Get the print and printer set-up dialogs filled from the printer; the handler changes
    // what a user would and returns whether the dialog was confirmed.
    std::function<bool(TPrintDialog &dialog)> PrintDialog;
    std::function<bool(TPrinterSetupDialog &dialog)> PrinterSetupDialog;
};

void SetDialogHandler(TDialogHandler handler);
const TDialogHandler &GetDialogHandler();

// Installs a handler for its lifetime and puts the previous one back afterwards.
class TDialogHandlerScope {
public:
    explicit TDialogHandlerScope(TDialogHandler handler);
    ~TDialogHandlerScope();
    TDialogHandlerScope(const TDialogHandlerScope &) = delete;
    TDialogHandlerScope &operator=(const TDialogHandlerScope &) = delete;

private:
    TDialogHandler FPrevious;
};

} // namespace ui
