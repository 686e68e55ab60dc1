// The canvas's points, sizes and rectangles: those of the runtime library.
#pragma once

#include "platform/rtl/Types.h"

namespace gfx {

using rtl::Bounds;
using rtl::IntersectRect;
using rtl::Point;
using rtl::Rect;
using rtl::TPoint;
using rtl::TRect;
using rtl::TSize;
using rtl::UnionRect;

} // namespace gfx
