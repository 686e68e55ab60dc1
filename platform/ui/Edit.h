// TEdit: a one-line text field.
#pragma once

#include "platform/ui/WinControl.h"

namespace ui {

// OnChange runs after every change of the text, by the user or by SetText. Default size 121 x 21.
class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent *owner);

    rtl::UnicodeString GetText() const override;
    void SetText(const rtl::UnicodeString &text) override;
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    int32_t GetMaxLength() const { return FMaxLength; }
    void SetMaxLength(int32_t value);
    void SelectAll();

    TNotifyEvent OnChange;

private:
    bool FReadOnly = false;
    int32_t FMaxLength = 0;
};

} // namespace ui
