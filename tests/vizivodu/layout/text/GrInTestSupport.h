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
                int32_t height = 80)
        : Bitmap(width, height) {
        Canvas().GetFont().SetName(face);
        Canvas().GetFont().SetHeight(-em);
        Canvas().GetFont().SetColor(gfx::clBlack);
        Canvas().GetBrush().SetStyle(gfx::bsClear);
    }
    gfx::TCanvas &Canvas() { return Bitmap.GetCanvas(); }
};

// A canvas of the given resolution that only measures; the font is set in points.
inline std::unique_ptr<gfx::TCanvas> MeasuringCanvas(int32_t ppi, const char16_t *face,
                                                     int32_t points) {
    gfx::TDeviceCaps caps;
    caps.LogPixelsX = caps.LogPixelsY = ppi;
    caps.HorzRes = caps.VertRes = 10000;
    auto canvas = std::make_unique<gfx::TCanvas>(gfx::NewInformationDevice(caps));
    canvas->GetFont().SetPixelsPerInch(ppi);
    canvas->GetFont().SetName(face);
    canvas->GetFont().SetSize(points);
    return canvas;
}

// A UTF-16 run over text (which must outlive the run).
inline TVDTextRun TextRun(const std::u16string &text, bool biDi = false,
                          bool ignoreSpecialChars = false) {
    return {reinterpret_cast<const char *>(text.data()), int32_t(text.size()), true, biDi,
            ignoreSpecialChars};
}

// An 8-bit run over bytes.
inline TVDTextRun AnsiRun(const std::string &bytes, bool biDi = false) {
    return {bytes.data(), int32_t(bytes.size()), false, biDi, false};
}

// Records Line calls (the dotted guide lines) and never draws.
class TLineRecorder : public TVDWinGraphicInterface {
public:
    struct TLine {
        int32_t X1, Y1, X2, Y2;
        friend bool operator==(const TLine &, const TLine &) = default;
    };
    void Line(gfx::TCanvas &, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
        Lines.push_back({x1, y1, x2, y2});
    }
    std::vector<TLine> Lines;
};

} // namespace vizivodu::test
