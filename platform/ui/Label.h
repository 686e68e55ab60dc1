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

protected:
    void TextChanged() override;
    void ColorChanged() override;
    void AdjustSize() override;

private:
    void ApplyAlignment();
    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FTransparent = false;
};

} // namespace ui
