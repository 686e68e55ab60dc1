// The drawing routines of the shared unit: bitmaps drawn and printed.
#include "vizivodu/styles/VDFuncs.h"

#include "vizivodu/layout/VDGrIn.h"

namespace vizivodu {

namespace {

void StretchBitmap(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                   const gfx::TBitmap &bitmap, bool smooth) {
    const int32_t w = bitmap.GetWidth(), h = bitmap.GetHeight();
    if (w <= 0 || h <= 0) {
        return;
    }
    const gfx::TPixels32 pixels{bitmap.ScanLine(0), w, h, bitmap.StrideBytes()};
    canvas.StretchPixels(rtl::Rect(x, y, x + width, y + height), pixels, rtl::Rect(0, 0, w, h),
                         smooth);
}

} // namespace

void PrintBitmapDIB(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                    const gfx::TBitmap &bitmap) {
    StretchBitmap(canvas, x, y, width, height, bitmap, false);
}

void StretchDrawBitmapHalftone(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t width,
                               int32_t height, const gfx::TBitmap &bitmap) {
    StretchBitmap(canvas, x, y, width, height, bitmap, true);
}

std::unique_ptr<gfx::TOutlineTextMetric> AllocOutlineTextMetrics(gfx::TCanvas &canvas,
                                                                 TVDGraphicInterface &gi) {
    const uint32_t size = gi.GetOutlineTextMetrics(canvas, 0, nullptr);
    if (size == 0) {
        return nullptr;
    }
    auto otm = std::make_unique<gfx::TOutlineTextMetric>();
    gi.GetOutlineTextMetrics(canvas, size, otm.get());
    if (otm->otmsStrikeoutSize == 0) {
        otm->otmsStrikeoutSize = 1;
    }
    return otm;
}

} // namespace vizivodu
