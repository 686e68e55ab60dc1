// ShowMessage and MessageDlg on the application's message box.
#include "platform/ui/Dialogs.h"

#include "platform/ui/Application.h"

#include <algorithm>

namespace ui {

namespace {

bool Has(std::initializer_list<TMsgDlgBtn> set, TMsgDlgBtn b) {
    return std::find(set.begin(), set.end(), b) != set.end();
}

uint32_t ButtonFlags(std::initializer_list<TMsgDlgBtn> b) {
    if (Has(b, mbYes) && Has(b, mbNo)) {
        return Has(b, mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    }
    if (Has(b, mbAbort) || Has(b, mbIgnore)) {
        return MB_ABORTRETRYIGNORE;
    }
    if (Has(b, mbRetry)) {
        return MB_RETRYCANCEL;
    }
    return Has(b, mbCancel) ? MB_OKCANCEL : MB_OK;
}

uint32_t IconFlags(TMsgDlgType type) {
    switch (type) {
    case mtWarning:
        return MB_ICONWARNING;
    case mtError:
        return MB_ICONERROR;
    case mtInformation:
        return MB_ICONINFORMATION;
    case mtConfirmation:
        return MB_ICONQUESTION;
    default:
        return 0;
    }
}

} // namespace

void ShowMessage(const rtl::UnicodeString &text) {
    Application->MessageBox(text, Application->GetDialogTitle(), MB_OK);
}

TModalResult MessageDlg(const rtl::UnicodeString &text, TMsgDlgType type,
                        std::initializer_list<TMsgDlgBtn> buttons, int32_t helpContext) {
    (void)helpContext;
    // Message-box answers and modal results share their numbers (IDOK = mrOk ...).
    return Application->MessageBox(text, Application->GetDialogTitle(),
                                   ButtonFlags(buttons) | IconFlags(type));
}

} // namespace ui
