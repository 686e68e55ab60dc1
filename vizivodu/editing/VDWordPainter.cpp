// Drawing word painters: the misspelling zigzag.
#include "vizivodu/editing/VDWordPainter.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDStyle.h"

#include <algorithm>

namespace vizivodu {

namespace {

constexpr int32_t MaxZigzagPoints = 1024;

} // namespace

void TVDWordPainter::Draw(gfx::TCanvas &, const TVDDrawLineInfo &, TCustomVDData *,
                          const rtl::TRect &, int32_t) {}

void TVDWordMisspellPainter::Draw(gfx::TCanvas &canvas, const TVDDrawLineInfo &,
                                  TCustomVDData *vdData, const rtl::TRect &r, int32_t) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!style || r.Right <= r.Left) {
        return;
    }
    const int32_t count = std::min(MaxZigzagPoints, (r.Right - r.Left + 1) / 2);
    if (count < 2) {
        return;
    }
    std::vector<rtl::TPoint> points(static_cast<size_t>(count));
    for (int32_t k = 0; k < count; ++k) {
        points[static_cast<size_t>(k)] = {r.Left + 2 * k, k % 2 == 0 ? r.Bottom - 2 : r.Bottom};
    }
    points.back().X = r.Right;
    gfx::TPen &pen = canvas.GetPen();
    const gfx::TColor color = pen.GetColor();
    const int32_t width = pen.GetWidth();
    const gfx::TPenStyle penStyle = pen.GetStyle();
    pen.SetColor(style->GetLiveSpellingColor());
    pen.SetWidth(1);
    pen.SetStyle(gfx::psSolid);
    style->GetGraphicInterface().Polyline(canvas, points);
    pen.SetColor(color);
    pen.SetWidth(width);
    pen.SetStyle(penStyle);
}

} // namespace vizivodu
