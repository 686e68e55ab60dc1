// The GDI engine of the graphic interface: plain text output and measuring on the canvas.
// Its operations are added with the layout units; until then it answers as the base does.
#pragma once

#include "vizivodu/layout/VDGrIn.h"

namespace vizivodu {

class TVDWinGraphicInterface : public TVDGraphicInterface {};

} // namespace vizivodu
