// TPanel: an own-drawn container with bevels and a caption (the class library's TCustomPanel).
#pragma once

#include "platform/ui/CustomControl.h"
#include "platform/ui/Label.h"

namespace ui {

enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum TBevelKind : uint8_t { bkNone, bkTile, bkSoft, bkFlat };

// Paint: the outer bevel, the border band and the inner bevel (BevelWidth each), then the
// inside filled with Color, then the caption on one line, vertically centred, aligned by
// Alignment, in the font. Children align inside the bevels and the border band. BevelKind
// draws an extra 2-pixel edge around the panel (bkTile: raised inside a lowered ring).
// Default: raised outer bevel, 185 x 41, caption centred.
class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent *owner);

    TBevelCut GetBevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut v);
    TBevelCut GetBevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut v);
    int32_t GetBevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int32_t v);
    int32_t GetBorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int32_t v);
    TBevelKind GetBevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind v);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    bool GetFullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool v) { FFullRepaint = v; }

protected:
    void AdjustClientRect(gfx::TRect &rect) const override;
    void Paint() override;
    // The width the bevel kind's edge takes on each side.
    int32_t EdgeWidth() const { return FBevelKind == bkNone ? 0 : (FBevelKind == bkFlat ? 1 : 2); }

private:
    void Changed();
    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    int32_t FBevelWidth = 1;
    int32_t FBorderWidth = 0;
    TBevelKind FBevelKind = bkNone;
    TAlignment FAlignment = taCenter;
    bool FFullRepaint = true;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

// Draws a 3D frame of the given width: top and left in topColor, bottom and right in
// bottomColor; rect shrinks by the width.
void Frame3D(gfx::TCanvas &canvas, gfx::TRect &rect, gfx::TColor topColor, gfx::TColor bottomColor,
             int32_t width);

} // namespace ui
