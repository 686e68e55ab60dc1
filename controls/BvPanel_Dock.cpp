// TBvPanelDockManager: the styled panel's grabbers for the controls docked in it.
#include "controls/BvPanel.h"

#include "controls/BvCommon.h"
#include "platform/ui/Messages.h"

namespace controls {

using namespace gfx;

namespace {

// The close glyph: the "r" of the "Marlett" symbol font, a cross. Linux has no "Marlett", so
// the cross is drawn in the caption colour, 2 pixels thick, inside rect.
void PaintCloseGlyph(TCanvas &canvas, const TRect &rect, TColor color) {
    const int32_t size = std::min(rect.Width(), rect.Height()) - 4;
    const int32_t x = rect.Left + (rect.Width() - size) / 2;
    const int32_t y = rect.Top + (rect.Height() - size) / 2;
    canvas.GetPen().SetColor(color);
    for (int32_t d = 0; d < 2; ++d) {
        canvas.MoveTo(x + d, y);
        canvas.LineTo(x + size + d, y + size);
        canvas.MoveTo(x + d, y + size - 1);
        canvas.LineTo(x + size + d, y - 1);
    }
}

} // namespace

TBvPanelDockManager::TBvPanelDockManager(TBvCustomPanel *panel)
    : ui::TDockTree(panel), FPanel(panel) {
    SetGrabberSize(FGrabberSize);
    FFont.SetName(u"Verdana");
    FFont.SetSize(8);
    FOldWndProc = panel->GetWindowProc();
    panel->SetWindowProc([this](ui::TMessage &m) { PanelMessage(m); });
}

TBvPanelDockManager::~TBvPanelDockManager() {
    FPanel->SetWindowProc(FOldWndProc);
}

void TBvPanelDockManager::PanelMessage(ui::TMessage &m) {
    if (m.Msg == ui::WM_COMMAND || m.Msg == ui::WM_MOUSEACTIVATE) {
        FPanel->Invalidate();
    }
    FOldWndProc(m);
}

void TBvPanelDockManager::AdjustDockRect(ui::TControl *control, TRect &rect) {
    (void)control;
    if (FPanel->GetAlign() == ui::alTop || FPanel->GetAlign() == ui::alBottom) {
        rect.Left += FGrabberSize;
    } else {
        rect.Top += FGrabberSize;
    }
}

void TBvPanelDockManager::PaintDockFrame(TCanvas &canvas, ui::TControl *control,
                                         const TRect &rect) {
    if (!FPanel->GetShowDockClientCaptions()) {
        ui::TDockTree::PaintDockFrame(canvas, control, rect);
        return;
    }
    auto *windowed = dynamic_cast<ui::TWinControl *>(control);
    const bool active = !windowed || windowed->Focused();
    canvas.GetBrush().SetStyle(bsSolid);
    canvas.GetBrush().SetColor(active ? clActiveCaption : clInactiveCaption);
    canvas.SetFont(FFont);
    canvas.GetFont().SetColor(active ? clCaptionText : clInactiveCaptionText);
    const rtl::UnicodeString caption = control->GetCaption();
    if (FPanel->GetAlign() == ui::alTop || FPanel->GetAlign() == ui::alBottom) {
        const TRect strip = Rect(rect.Left, rect.Top, rect.Left + FGrabberSize, rect.Bottom);
        canvas.FillRect(strip);
        canvas.SetFont(CreateRotatedFont(FFont, 90));
        canvas.GetFont().SetColor(clCaptionText);
        canvas.GetBrush().SetStyle(bsClear);
        const uint32_t oldAlign = canvas.SetTextAlign(TA_BASELINE);
        canvas.TextOut(strip.Right - 2, strip.Bottom - 3, caption);
        canvas.SetTextAlign(oldAlign);
        PaintCloseGlyph(canvas, Rect(rect.Left + 1, rect.Top + 1, rect.Left + 12, rect.Top + 12),
                        canvas.GetFont().GetColor());
    } else {
        const TRect strip = Rect(rect.Left, rect.Top, rect.Right, rect.Top + FGrabberSize);
        canvas.FillRect(strip);
        canvas.GetBrush().SetStyle(bsClear);
        canvas.TextOut(rect.Left + 2, rect.Top, caption);
        PaintCloseGlyph(canvas, Rect(rect.Right - 15, rect.Top + 1, rect.Right - 2, rect.Top + 12),
                        canvas.GetFont().GetColor());
    }
}

void TBvCustomPanel::SetShowDockClientCaptions(bool v) {
    if (v != FShowDockClientCaptions) {
        FShowDockClientCaptions = v;
        Invalidate();
    }
}

std::unique_ptr<ui::IDockManager> TBvCustomPanel::CreateDockManager() {
    return std::make_unique<TBvPanelDockManager>(this);
}

void TBvCustomPanel::AdjustClientRect(TRect &rect) const {
    ui::TCustomPanel::AdjustClientRect(rect);
    if (GetDockSite()) {
        InsetForFrames(rect, false);
    }
}

} // namespace controls
