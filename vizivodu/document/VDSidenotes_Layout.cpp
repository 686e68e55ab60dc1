// The text box's anchor in the text flow: no width, a fixed small height, and a sign drawn on
// the screen only.
#include "vizivodu/document/VDSidenotes.h"

#include "vizivodu/layout/formatting/DLines.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Graphics.h"

namespace vizivodu {

void TVDTextBoxItemInfo::OnDocWidthChange(int32_t, TVDDrawLineInfo &dli, bool, gfx::TCanvas &,
                                          TCustomVDData *, PVDScreenAndDevice, int32_t &hShift,
                                          int32_t &desc, bool, bool, bool) {
    dli.Width = 0;
    dli.Height = VDFloatingAnchorHeight;
    hShift = 0;
    desc = 0;
}

void TVDTextBoxItemInfo::Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
                               TVDDrawLineInfo &dli, TCustomVDData *vdData, bool) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!style || state.Contains(vdidsPrinting)) {
        return;
    }
    gfx::TColor color = style->GetSpecialCharactersColor();
    if (color == gfx::clNone) {
        color = style->GetFloatingLineColor();
    }
    if (color == gfx::clNone) {
        color = gfx::clBtnShadow;
    }
    if (state.Contains(vdidsCurrent) && style->GetCurrentItemColor() != gfx::clNone) {
        color = style->GetCurrentItemColor();
    }
    TVDGraphicInterface &gi = style->GetGraphicInterface();
    canvas.GetBrush().SetStyle(gfx::bsSolid);
    canvas.GetBrush().SetColor(color);
    canvas.GetPen().SetStyle(gfx::psSolid);
    canvas.GetPen().SetWidth(1);
    canvas.GetPen().SetColor(color);
    gi.Line(canvas, x, y - 5, x, y + dli.Height);
    gi.Rectangle(canvas, x - 5, y - 5, x, y);
}

} // namespace vizivodu
