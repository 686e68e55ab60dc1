// The style units' few direct calls on the canvas's pen, brush and font, kept in one place
// (VDStyle_Canvas.cpp) while the canvas interface grows.
#pragma once

#include "platform/gfx/Colors.h"

#include <cstdint>

namespace gfx {
class TCanvas;
}

namespace vizivodu::canvas {

// Brush of color; clear for clNone, else solid.
void SetBrushColor(gfx::TCanvas &canvas, gfx::TColor color);
void SetClearBrush(gfx::TCanvas &canvas);
bool IsBrushClear(gfx::TCanvas &canvas);
// A solid brush of color, and a clear pen of width 0, for filling through the graphic
// interface.
void PrepareSolidFill(gfx::TCanvas &canvas, gfx::TColor color);
// Pen width 1 again after border drawing.
void ResetPenWidth(gfx::TCanvas &canvas);
// Pen solid and brush clear, as drawing routines leave the canvas.
void SolidPenClearBrush(gfx::TCanvas &canvas);

void SetFontColor(gfx::TCanvas &canvas, gfx::TColor color);
void SetFontUnderline(gfx::TCanvas &canvas, bool underline);
int32_t GetFontHeight(gfx::TCanvas &canvas);
void SetFontHeight(gfx::TCanvas &canvas, int32_t height);

} // namespace vizivodu::canvas
