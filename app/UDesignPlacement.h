// Placing a window's controls as its design does: bounds first, then the parent, then the
// alignment, so that controls aligned to the same side keep the order of their positions.
#pragma once

#include "platform/ui/WinControl.h"

#include <cstdint>

namespace workbench {

// Where a control stands before alignment.
struct TDesignBounds {
    int32_t Left, Top, Width, Height;
};

// A new control owned by owner, placed in parent with its bounds and then its alignment.
template <class T>
T *Place(ui::TComponent *owner, ui::TWinControl *parent, ui::TAlign align, TDesignBounds b) {
    T *control = new T(owner); // owned by owner
    control->SetBounds(b.Left, b.Top, b.Width, b.Height);
    control->SetParent(parent);
    control->SetAlign(align);
    return control;
}

} // namespace workbench
