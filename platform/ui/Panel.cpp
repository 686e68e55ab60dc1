// TCustomPanel painting and client area.
#include "platform/ui/Panel.h"

namespace ui {

void Frame3D(gfx::TCanvas &canvas, gfx::TRect &rect, gfx::TColor topColor, gfx::TColor bottomColor,
             int32_t width) {
    for (int i = 0; i < width && !rect.IsEmpty(); ++i) {
        const gfx::TRect r = rect;
        canvas.GetBrush().SetColor(topColor);
        canvas.FillRect(gfx::Rect(r.Left, r.Top, r.Right - 1, r.Top + 1));
        canvas.FillRect(gfx::Rect(r.Left, r.Top, r.Left + 1, r.Bottom - 1));
        canvas.GetBrush().SetColor(bottomColor);
        canvas.FillRect(gfx::Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
        canvas.FillRect(gfx::Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
        rect.Inflate(-1, -1);
    }
}

TCustomPanel::TCustomPanel(TComponent *owner) : TCustomControl(owner) {
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::Changed() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut v) {
    FBevelOuter = v;
    Changed();
}

void TCustomPanel::SetBevelInner(TBevelCut v) {
    FBevelInner = v;
    Changed();
}

void TCustomPanel::SetBevelWidth(int32_t v) {
    FBevelWidth = v < 1 ? 1 : v;
    Changed();
}

void TCustomPanel::SetBorderWidth(int32_t v) {
    FBorderWidth = v < 0 ? 0 : v;
    Changed();
}

void TCustomPanel::SetBevelKind(TBevelKind v) {
    FBevelKind = v;
    Changed();
}

void TCustomPanel::SetAlignment(TAlignment v) {
    FAlignment = v;
    Invalidate();
}

void TCustomPanel::AdjustClientRect(gfx::TRect &rect) const {
    const int edge = EdgeWidth();
    rect.Inflate(-edge, -edge);
    int inset = FBorderWidth;
    inset += FBevelOuter != bvNone ? FBevelWidth : 0;
    inset += FBevelInner != bvNone ? FBevelWidth : 0;
    rect.Inflate(-inset, -inset);
}

void TCustomPanel::Paint() {
    gfx::TCanvas &c = GetCanvas();
    gfx::TRect r = GetClientRect();
    if (FBevelKind == bkFlat) {
        Frame3D(c, r, gfx::clBtnShadow, gfx::clBtnShadow, 1);
    } else if (FBevelKind != bkNone) {
        Frame3D(c, r, gfx::clBtnShadow, gfx::clBtnHighlight, 1);
        Frame3D(c, r, gfx::clBtnHighlight, gfx::clBtnShadow, 1);
    }
    const auto bevel = [&](TBevelCut cut) {
        if (cut == bvLowered || cut == bvRaised) {
            const bool raised = cut == bvRaised;
            Frame3D(c, r, raised ? gfx::clBtnHighlight : gfx::clBtnShadow,
                    raised ? gfx::clBtnShadow : gfx::clBtnHighlight, FBevelWidth);
        } else if (cut == bvSpace) {
            Frame3D(c, r, GetColor(), GetColor(), FBevelWidth);
        }
    };
    bevel(FBevelOuter);
    Frame3D(c, r, GetColor(), GetColor(), FBorderWidth);
    bevel(FBevelInner);
    c.GetBrush().SetColor(GetColor());
    c.FillRect(r);
    if (GetCaption().empty()) {
        return;
    }
    c.SetFont(GetFont());
    c.GetBrush().SetStyle(gfx::bsClear);
    const uint32_t align = FAlignment == taCenter         ? gfx::DT_CENTER
                           : FAlignment == taRightJustify ? gfx::DT_RIGHT
                                                          : gfx::DT_LEFT;
    c.DrawText(GetCaption(), r, gfx::DT_EXPANDTABS | gfx::DT_SINGLELINE | gfx::DT_VCENTER | align);
    c.GetBrush().SetStyle(gfx::bsSolid);
}

} // namespace ui
