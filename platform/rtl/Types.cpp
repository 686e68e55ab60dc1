// Rectangle arithmetic.
#include "platform/rtl/Types.h"

#include <algorithm>

namespace rtl {

TRect IntersectRect(const TRect &a, const TRect &b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    return r.IsEmpty() ? TRect{} : r;
}

TRect UnionRect(const TRect &a, const TRect &b) {
    if (a.IsEmpty()) {
        return b.IsEmpty() ? TRect{} : b;
    }
    if (b.IsEmpty()) {
        return a;
    }
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

} // namespace rtl
