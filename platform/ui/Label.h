// TLabel: a static text; with AutoSize it takes the size of its caption.
#pragma once

#include "platform/ui/Control.h"

namespace ui {

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

class TLabel : public TControl {
public:
    explicit TLabel(TComponent *owner);

    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout GetLayout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // The control the label names: a screen reader reads the label's caption (without its
    // '&') as that control's name.
    TControl *GetFocusControl() const { return FFocusControl; }
    void SetFocusControl(TControl *control);

protected:
    void TextChanged() override;
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;
    void ColorChanged() override;
    void AdjustSize() override;

private:
    void ApplyAlignment();
    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FTransparent = false;
    TControl *FFocusControl = nullptr;
};

} // namespace ui
