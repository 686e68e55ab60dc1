// TEdit: a one-line text field.
#pragma once

#include "platform/ui/Forms.h"
#include "platform/ui/WinControl.h"

namespace ui {

// OnChange runs after every change of the text, by the user or by SetText. Default size 121 x 21.
// BorderStyle bsSingle (the default) frames the field, bsNone leaves the frame out; Ctl3D (the
// default) asks for the sunken 3-D frame rather than a flat one where the frame is drawn by the
// system's routines (the native field keeps the platform's own frame).
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
    TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
    // bsNone or bsSingle; other values are taken as bsSingle.
    void SetBorderStyle(TFormBorderStyle value);
    bool GetCtl3D() const { return FCtl3D; }
    void SetCtl3D(bool value) { FCtl3D = value; }

    TNotifyEvent OnChange;

private:
    bool FReadOnly = false;
    int32_t FMaxLength = 0;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
};

} // namespace ui
