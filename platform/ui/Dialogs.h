// Message boxes: ShowMessage and MessageDlg, captioned with the application's title.
#pragma once

#include "platform/rtl/System.h"
#include "platform/ui/ModalResult.h"

#include <cstdint>
#include <initializer_list>

namespace ui {

enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint8_t { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore };

// Shows the text with an OK button.
void ShowMessage(const rtl::UnicodeString &text);
// Shows the text with the buttons (reduced to the nearest Windows button set) and returns
// the modal result of the button chosen.
TModalResult MessageDlg(const rtl::UnicodeString &text, TMsgDlgType type,
                        std::initializer_list<TMsgDlgBtn> buttons, int32_t helpContext = 0);

} // namespace ui
