// Gradient fills, block-replication blits, the masked bitmap draw and the parent background of
// the styled controls.
#pragma once

#include "controls/BvCommon.h"
#include "platform/gfx/Bitmap.h"
#include "platform/ui/Control.h"

#include <cstdint>

namespace controls {

// Band step: the minimum band thickness of the band renderers (every caller passes 1).
// gdHorizontalEnd runs from startColor at the top to stopColor at the bottom, gdVerticalEnd
// from the left to the right (both by GradientFillCanvas); the other directions are rendered
// off screen by PaintGradientBitmap. An empty rectangle paints nothing.
void PaintGradientRect(gfx::TCanvas &canvas, const TRect &rect, TGradientDirection direction,
                       TColor startColor, TColor stopColor, uint8_t bandStep);
void PaintGradientBitmap(gfx::TCanvas &canvas, const TRect &rect, TGradientDirection direction,
                         TColor startColor, TColor stopColor, uint8_t bandStep);

// The class library's two-colour gradient fill: row (or column) i of n takes
// start + (stop - start) * i / n per channel, truncated, so the first row is startColor.
enum TGradientFillDirection : uint8_t { gfdVertical, gfdHorizontal };
void GradientFillCanvas(gfx::TCanvas &canvas, TColor startColor, TColor stopColor,
                        const TRect &rect, TGradientFillDirection direction);

// Block-replication blits inside one bitmap (the raster operation is always a copy).
// FillByDoublingBlits: the filled block at (x, y) is doubled down or right until it covers
// totalW x totalH. MirrorQuarterBlits: a box gradient's top-left quarter is mirrored to
// complete the w x h area. Both clip to the bitmap.
void FillByDoublingBlits(gfx::TBitmap &bitmap, int32_t x, int32_t y, int32_t totalW, int32_t totalH,
                         int32_t filledW, int32_t filledH);
void MirrorQuarterBlits(gfx::TBitmap &bitmap, int32_t x, int32_t y, int32_t w, int32_t h);

// Draws the src cell of bitmap scaled onto dest of the canvas, leaving out every pixel of the
// transparent colour (those keep the canvas's pixel).
void DrawMaskedBitmap(gfx::TCanvas &canvas, const gfx::TBitmap &bitmap, const TRect &dest,
                      const TRect &src, TColor transparentColor);

// A control that can paint its client area onto another canvas (the print-client request),
// its own (0, 0) placed at (dx, dy) of that canvas.
class IBvPrintClient {
public:
    virtual ~IBvPrintClient() = default;
    virtual void PrintClient(gfx::TCanvas &canvas, int32_t dx, int32_t dy) = 0;
};

// Paints the parent's background under the control into canvas (in the control's
// coordinates): the parent's colour, then the parent's client painting when the parent is an
// IBvPrintClient. Nothing without a parent. With invalidateParent a parent that is neither an
// own-drawn control nor a form is invalidated afterwards.
void PaintParentBackground(ui::TControl &control, gfx::TCanvas &canvas, bool invalidateParent);

} // namespace controls
