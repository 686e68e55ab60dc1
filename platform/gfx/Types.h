// The canvas's points, sizes and rectangles: those of the runtime library.
#pragma once

#include "platform/rtl/Types.h"

#include <cstdint>

namespace gfx {

using rtl::Bounds;
using rtl::IntersectRect;
using rtl::Point;
using rtl::Rect;
using rtl::TPoint;
using rtl::TRect;
using rtl::TSize;
using rtl::UnionRect;

// A colour palette's handle; 0 is none.
using HPALETTE = uintptr_t;

} // namespace gfx
