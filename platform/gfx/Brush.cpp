// Brush attributes.
#include "platform/gfx/Brush.h"

namespace gfx {

TBrush &TBrush::operator=(const TBrush &other) {
    if (this != &other) {
        const bool changed =
            FColor != other.FColor || FStyle != other.FStyle || FBitmap != other.FBitmap;
        FColor = other.FColor;
        FStyle = other.FStyle;
        FBitmap = other.FBitmap;
        if (changed) {
            Changed();
        }
    }
    return *this;
}

void TBrush::Changed() {
    if (OnChange) {
        OnChange();
    }
}

void TBrush::SetColor(TColor color) {
    const TBrushStyle style = color == clNone ? bsClear : (FStyle == bsClear ? bsSolid : FStyle);
    if (color != FColor || style != FStyle) {
        FColor = color;
        FStyle = style;
        Changed();
    }
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style != FStyle) {
        FStyle = style;
        Changed();
    }
}

} // namespace gfx

namespace gfx {

void TBrush::SetBitmap(const TBitmap *bitmap) {
    if (bitmap != FBitmap) {
        FBitmap = bitmap;
        Changed();
    }
}

} // namespace gfx
