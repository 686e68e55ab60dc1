// Test support for the graphic interfaces: canvases with a font at a resolution, text runs over
// UTF-16 or 8-bit text, and a graphic interface that records the lines it is asked to draw.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "vizivodu/layout/text/VDUniscribeGrIn.h"
#include "vizivodu/layout/text/VDWinGrIn.h"

#include <memory>
#include <string>
#include <vector>

namespace vizivodu::test {

// A canvas over pixels (96 dpi) with face at an em height of em logical units.
struct TTextCanvas {
    gfx::TBitmap Bitmap;
    TTextCanvas(const char16_t *face = u"Arial", int32_t em = 20, int32_t width = 600,
                int32_t height = 80);
    gfx::TCanvas &Canvas() { return Bitmap.GetCanvas(); }
};

// A canvas of the given resolution that only measures; the font is set in points.
std::unique_ptr<gfx::TCanvas> MeasuringCanvas(int32_t ppi, const char16_t *face, int32_t points);

// A UTF-16 run over text (which must outlive the run).
TVDTextRun TextRun(const std::u16string &text, bool biDi = false, bool ignoreSpecialChars = false);

// An 8-bit run over bytes.
TVDTextRun AnsiRun(const std::string &bytes, bool biDi = false);

// Records Line calls (the dotted guide lines) and never draws.
class TLineRecorder : public TVDWinGraphicInterface {
public:
    struct TLine {
        int32_t X1, Y1, X2, Y2;
        friend bool operator==(const TLine &, const TLine &) = default;
    };
    void Line(gfx::TCanvas &, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    std::vector<TLine> Lines;
};

} // namespace vizivodu::test
