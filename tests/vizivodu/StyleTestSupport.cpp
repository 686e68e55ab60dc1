// Test support for the style units: the recording graphic interface and the resolution switch.
#include "tests/vizivodu/StyleTestSupport.h"

namespace vizivodu::test {

TPixelsPerInchOverride::TPixelsPerInchOverride(int32_t ppi) : FOld(PixelsPerInchOverride) {
    PixelsPerInchOverride = ppi;
}

TPixelsPerInchOverride::~TPixelsPerInchOverride() {
    PixelsPerInchOverride = FOld;
}

void TRecordingGraphicInterface::SetTextAlign(gfx::TCanvas &, uint32_t flags) {
    TextAlign = flags;
}

uint32_t TRecordingGraphicInterface::GetTextAlign(gfx::TCanvas &) {
    return TextAlign;
}

int32_t TRecordingGraphicInterface::GetTextCharacterExtra(gfx::TCanvas &) {
    return CharExtra;
}

void TRecordingGraphicInterface::SetTextCharacterExtra(gfx::TCanvas &, int32_t charExtra) {
    CharExtra = charExtra;
}

void TRecordingGraphicInterface::FillRect(gfx::TCanvas &canvas, const rtl::TRect &r) {
    Fills.push_back({r, canvas.GetBrush().GetColor(), -1});
    TVDWinGraphicInterface::FillRect(canvas, r);
}

void TRecordingGraphicInterface::FillRectAlpha(gfx::TCanvas &, const rtl::TRect &r,
                                               gfx::TColor color, uint8_t opacity) {
    Fills.push_back({r, color, opacity});
}

uint32_t TRecordingGraphicInterface::GetOutlineTextMetrics(gfx::TCanvas &canvas, uint32_t size,
                                                           gfx::TOutlineTextMetric *otm) {
    return NoOutlineMetrics ? 0 : TVDWinGraphicInterface::GetOutlineTextMetrics(canvas, size, otm);
}

} // namespace vizivodu::test
