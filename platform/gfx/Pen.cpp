// Pen attributes.
#include "platform/gfx/Pen.h"

namespace gfx {

TPen &TPen::operator=(const TPen &other) {
    if (this != &other) {
        const bool changed = FColor != other.FColor || FWidth != other.FWidth ||
                             FStyle != other.FStyle || FMode != other.FMode ||
                             FEndCap != other.FEndCap || FJoinStyle != other.FJoinStyle;
        FColor = other.FColor;
        FWidth = other.FWidth;
        FStyle = other.FStyle;
        FMode = other.FMode;
        FEndCap = other.FEndCap;
        FJoinStyle = other.FJoinStyle;
        if (changed) {
            Changed();
        }
    }
    return *this;
}

void TPen::Changed() {
    if (OnChange) {
        OnChange();
    }
}

void TPen::SetColor(TColor color) {
    if (color != FColor) {
        FColor = color;
        Changed();
    }
}

void TPen::SetWidth(int32_t width) {
    width = width < 0 ? 0 : width;
    if (width != FWidth) {
        FWidth = width;
        Changed();
    }
}

void TPen::SetStyle(TPenStyle style) {
    if (style != FStyle) {
        FStyle = style;
        Changed();
    }
}

void TPen::SetMode(TPenMode mode) {
    if (mode != FMode) {
        FMode = mode;
        Changed();
    }
}

void TPen::SetEndCap(TPenEndCap cap) {
    if (cap != FEndCap) {
        FEndCap = cap;
        Changed();
    }
}

void TPen::SetJoinStyle(TPenJoinStyle join) {
    if (join != FJoinStyle) {
        FJoinStyle = join;
        Changed();
    }
}

} // namespace gfx
