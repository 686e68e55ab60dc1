// Components of the visual library: the class library's TComponent, which lives in the runtime
// library so that the component stream can read and write it.
#pragma once

#include "platform/rtl/Component.h"

namespace ui {

using rtl::opInsert;
using rtl::opRemove;
using rtl::TComponent;
using rtl::TOperation;

} // namespace ui
