// Controls drawn into pictures for paper: push buttons and edit boxes imitated with the system's
// frames, panels and other windowed controls painting themselves, graphic controls painting a
// copy of themselves into the canvas.
#include "vizivodu/document/VDItem_Control.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/ui/Button.h"
#include "platform/ui/CustomControl.h"
#include "platform/ui/Edit.h"
#include "platform/ui/FrameControls.h"
#include "platform/ui/Panel.h"

namespace vizivodu {

namespace {

void DrawButton(ui::TButton &button, gfx::TCanvas &canvas, int32_t left, int32_t top) {
    gfx::TRect r = gfx::Bounds(left, top, button.GetWidth(), button.GetHeight());
    ui::DrawFrameControl(canvas, r, ui::DFC_BUTTON, ui::DFCS_BUTTONPUSH);
    canvas.SetFont(button.GetFont());
    canvas.GetBrush().SetStyle(gfx::bsClear);
    canvas.DrawText(button.GetCaption(), r, gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_CENTER);
}

// The edit box's frame: its colour filled in, a sunken edge (a plain one without Ctl3D) for a
// single border; r ends one pixel inside the frame.
void DrawEditFrame(gfx::TCanvas &canvas, gfx::TRect &r, gfx::TColor color, bool singleBorder,
                   bool ctl3D) {
    canvas.GetBrush().SetStyle(gfx::bsSolid);
    canvas.GetBrush().SetColor(color);
    canvas.FillRect(r);
    if (singleBorder) {
        if (ctl3D) {
            ui::DrawEdge(canvas, r, ui::EDGE_SUNKEN, ui::BF_RECT | ui::BF_ADJUST);
        } else {
            canvas.Rectangle(r);
            r.Inflate(-1, -1);
        }
    }
    r.Inflate(-1, -1);
}

void DrawEdit(ui::TEdit &edit, gfx::TCanvas &canvas, int32_t left, int32_t top) {
    gfx::TRect r = gfx::Bounds(left, top, edit.GetWidth(), edit.GetHeight());
    DrawEditFrame(canvas, r, edit.GetColor(), edit.GetBorderStyle() == ui::bsSingle,
                  edit.GetCtl3D());
    canvas.SetFont(edit.GetFont());
    canvas.GetBrush().SetStyle(gfx::bsClear);
    canvas.DrawText(edit.GetText(), r, gfx::DT_EDITCONTROL | gfx::DT_SINGLELINE);
}

// A control without a window paints a copy of itself: its origin moved to (left, top) and
// clipped to its size, with csPaintCopy set while it paints.
void DrawGraphicControl(ui::TGraphicControl &control, gfx::TCanvas &canvas, int32_t left,
                        int32_t top) {
    const gfx::TCanvasStateGuard saved(canvas);
    const ui::TControlState state = control.GetControlState();
    const rtl::TScopeExit restore([&]() noexcept { control.SetControlState(state); });
    ui::TControlState copying = state;
    copying.Include(ui::csPaintCopy);
    control.SetControlState(copying);
    const gfx::TPoint org = canvas.GetWindowOrgEx();
    canvas.SetWindowOrgEx(org.X - left, org.Y - top);
    canvas.IntersectClipRect(0, 0, control.GetWidth(), control.GetHeight());
    control.Perform(ui::WM_PAINT, reinterpret_cast<ui::WPARAM>(&canvas), 0);
}

void DrawPanel(ui::TCustomPanel &panel, gfx::TCanvas &canvas, int32_t left, int32_t top) {
    panel.PaintTo(canvas, left, top);
    for (int32_t i = 0; i < panel.GetControlCount(); ++i) {
        ui::TControl &child = *panel.GetControl(i);
        if (!dynamic_cast<ui::TGraphicControl *>(&child)) {
            DrawControl(child, canvas, left + child.GetLeft(), top + child.GetTop());
        }
    }
}

} // namespace

void DrawControl(ui::TControl &control, gfx::TCanvas &canvas, int32_t left, int32_t top) {
    if (auto *button = dynamic_cast<ui::TButton *>(&control)) {
        DrawButton(*button, canvas, left, top);
    } else if (auto *edit = dynamic_cast<ui::TEdit *>(&control)) {
        DrawEdit(*edit, canvas, left, top);
    } else if (auto *panel = dynamic_cast<ui::TCustomPanel *>(&control)) {
        DrawPanel(*panel, canvas, left, top);
    } else if (auto *graphic = dynamic_cast<ui::TGraphicControl *>(&control)) {
        DrawGraphicControl(*graphic, canvas, left, top);
    } else if (auto *windowed = dynamic_cast<ui::TWinControl *>(&control)) {
        // Every control of the platform has its window already.
        windowed->PaintTo(canvas, left, top);
    }
}

std::unique_ptr<gfx::TBitmap> DrawControlToBitmap(ui::TControl &control,
                                                  gfx::TColor backgroundColor) {
    auto bitmap = std::make_unique<gfx::TBitmap>(control.GetWidth(), control.GetHeight());
    gfx::TCanvas &canvas = bitmap->GetCanvas();
    if (backgroundColor != gfx::clNone) {
        canvas.GetBrush().SetStyle(gfx::bsSolid);
        canvas.GetBrush().SetColor(backgroundColor);
        canvas.GetPen().SetColor(backgroundColor);
        canvas.Rectangle(0, 0, control.GetWidth() + 1, control.GetHeight() + 1);
    }
    DrawControl(control, canvas, 0, 0);
    return bitmap;
}

} // namespace vizivodu
