// The complex-script engine of the graphic interface: the GDI engine with shaped text output
// and measuring. Its operations are added with the layout units.
#pragma once

#include "vizivodu/layout/VDWinGrIn.h"

namespace vizivodu {

class TVDUniscribeGraphicInterface : public TVDWinGraphicInterface {};

} // namespace vizivodu
