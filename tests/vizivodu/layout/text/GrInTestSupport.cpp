// Test support for the graphic interfaces: text canvases, text runs and the line recorder.
#include "tests/vizivodu/layout/text/GrInTestSupport.h"

namespace vizivodu::test {

TTextCanvas::TTextCanvas(const char16_t *face, int32_t em, int32_t width, int32_t height)
    : Bitmap(width, height) {
    Canvas().GetFont().SetName(face);
    Canvas().GetFont().SetHeight(-em);
    Canvas().GetFont().SetColor(gfx::clBlack);
    Canvas().GetBrush().SetStyle(gfx::bsClear);
}

std::unique_ptr<gfx::TCanvas> MeasuringCanvas(int32_t ppi, const char16_t *face, int32_t points) {
    gfx::TDeviceCaps caps;
    caps.LogPixelsX = caps.LogPixelsY = ppi;
    caps.HorzRes = caps.VertRes = 10000;
    auto canvas = std::make_unique<gfx::TCanvas>(gfx::NewInformationDevice(caps));
    canvas->GetFont().SetPixelsPerInch(ppi);
    canvas->GetFont().SetName(face);
    canvas->GetFont().SetSize(points);
    return canvas;
}

TVDTextRun TextRun(const std::u16string &text, bool biDi, bool ignoreSpecialChars) {
    return {reinterpret_cast<const char *>(text.data()), int32_t(text.size()), true, biDi,
            ignoreSpecialChars};
}

TVDTextRun AnsiRun(const std::string &bytes, bool biDi) {
    return {bytes.data(), int32_t(bytes.size()), false, biDi, false};
}

void TLineRecorder::Line(gfx::TCanvas &, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Lines.push_back({x1, y1, x2, y2});
}

} // namespace vizivodu::test
