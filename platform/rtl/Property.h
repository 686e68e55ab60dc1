// SetProperty: the one form of a property's setter that stores a new value and reacts to it.
//
//     void TBvPanel::SetGridColor(TColor v) { rtl::SetProperty(FGridColor, v, [this] { Changed();
//     }); }
//
// The value is stored, and changed() runs, only when it differs from the field (compared with
// ==); returns whether it did. Setters that check, clamp or do more write their own body.
#pragma once

#include <utility>

namespace rtl {

template <class T, class V, class F> bool SetProperty(T &field, V &&value, F &&changed) {
    if (field == value) {
        return false;
    }
    field = std::forward<V>(value);
    std::forward<F>(changed)();
    return true;
}

} // namespace rtl
