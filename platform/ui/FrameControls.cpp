// 3-D edges and push-button frames drawn band by band with filled one-pixel rectangles.
#include "platform/ui/FrameControls.h"

namespace ui {

namespace {

void Fill(gfx::TCanvas &canvas, const gfx::TRect &r, gfx::TColor color) {
    if (r.IsEmpty()) {
        return;
    }
    canvas.GetBrush().SetStyle(gfx::bsSolid);
    canvas.GetBrush().SetColor(color);
    canvas.FillRect(r);
}

// One band: the top and left sides in topLeft, the bottom and right sides in bottomRight; the
// corners shared by the two colours go to bottomRight, as the system draws them.
void Band(gfx::TCanvas &canvas, gfx::TRect &r, gfx::TColor topLeft, gfx::TColor bottomRight,
          uint32_t flags) {
    if (flags & BF_LEFT) {
        Fill(canvas, gfx::Rect(r.Left, r.Top, r.Left + 1, r.Bottom), topLeft);
    }
    if (flags & BF_TOP) {
        Fill(canvas, gfx::Rect(r.Left, r.Top, r.Right, r.Top + 1), topLeft);
    }
    if (flags & BF_RIGHT) {
        Fill(canvas, gfx::Rect(r.Right - 1, r.Top, r.Right, r.Bottom), bottomRight);
    }
    if (flags & BF_BOTTOM) {
        Fill(canvas, gfx::Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom), bottomRight);
    }
    r = gfx::Rect(r.Left + ((flags & BF_LEFT) ? 1 : 0), r.Top + ((flags & BF_TOP) ? 1 : 0),
                  r.Right - ((flags & BF_RIGHT) ? 1 : 0), r.Bottom - ((flags & BF_BOTTOM) ? 1 : 0));
}

} // namespace

bool DrawEdge(gfx::TCanvas &canvas, gfx::TRect &rect, uint32_t edge, uint32_t flags) {
    if (rect.IsEmpty()) {
        return false;
    }
    gfx::TRect r = rect;
    if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)) {
        const bool raised = (edge & BDR_RAISEDOUTER) != 0;
        Band(canvas, r, raised ? gfx::clBtnHighlight : gfx::clBtnShadow,
             raised ? gfx::cl3DDkShadow : gfx::clBtnHighlight, flags);
    }
    if (edge & (BDR_RAISEDINNER | BDR_SUNKENINNER)) {
        const bool raised = (edge & BDR_RAISEDINNER) != 0;
        Band(canvas, r, raised ? gfx::cl3DLight : gfx::cl3DDkShadow,
             raised ? gfx::clBtnShadow : gfx::cl3DLight, flags);
    }
    if (flags & BF_MIDDLE) {
        Fill(canvas, r, gfx::clBtnFace);
    }
    if (flags & BF_ADJUST) {
        rect = r;
    }
    return true;
}

bool DrawFrameControl(gfx::TCanvas &canvas, const gfx::TRect &rect, uint32_t type, uint32_t state) {
    if (type != DFC_BUTTON || (state & 0xFF) != DFCS_BUTTONPUSH) {
        return false;
    }
    gfx::TRect r = rect;
    return DrawEdge(canvas, r, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED,
                    BF_RECT | BF_MIDDLE | BF_ADJUST);
}

} // namespace ui
