// Test support for the style units: a graphic interface that records what it is asked to do,
// a canvas to work on, and scoped settings of the library-wide resolution switches.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "vizivodu/layout/text/VDWinGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle_Units.h"

#include <vector>

namespace vizivodu::test {

// Sets PixelsPerInchOverride for the life of the object.
class TPixelsPerInchOverride {
public:
    explicit TPixelsPerInchOverride(int32_t ppi);
    ~TPixelsPerInchOverride();
    TPixelsPerInchOverride(const TPixelsPerInchOverride &) = delete;
    TPixelsPerInchOverride &operator=(const TPixelsPerInchOverride &) = delete;

private:
    int32_t FOld;
};

// The GDI engine recording the rectangles filled and the text state set (instead of setting
// it); fills go through the canvas.
class TRecordingGraphicInterface : public TVDWinGraphicInterface {
public:
    struct TFill {
        rtl::TRect Rect;
        gfx::TColor Color;
        int Alpha; // -1 for FillRect
        friend bool operator==(const TFill &, const TFill &) = default;
    };

    void SetTextAlign(gfx::TCanvas &, uint32_t flags) override;
    uint32_t GetTextAlign(gfx::TCanvas &) override;
    int32_t GetTextCharacterExtra(gfx::TCanvas &) override;
    void SetTextCharacterExtra(gfx::TCanvas &, int32_t charExtra) override;
    void FillRect(gfx::TCanvas &canvas, const rtl::TRect &r) override;
    void FillRectAlpha(gfx::TCanvas &, const rtl::TRect &r, gfx::TColor color,
                       uint8_t opacity) override;
    uint32_t GetOutlineTextMetrics(gfx::TCanvas &canvas, uint32_t size,
                                   gfx::TOutlineTextMetric *otm) override;

    std::vector<TFill> Fills;
    // Answers as for a font that is not an outline font.
    bool NoOutlineMetrics = false;
    uint32_t TextAlign = 0xFFFF;
    int32_t CharExtra = -1;
};

} // namespace vizivodu::test
