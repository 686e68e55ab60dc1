// The image control's buffer repaints while a 200 x 200 bitmap layer moves across a 1920 x 1080
// image three pixels at a time: with the repaint optimiser (rmOptimizer) only the invalid
// rectangles it hands out are rendered, in its adaptive mode (which turns to whole tiles or
// full repaints for a while after a partial repaint that took longer than the last full one)
// and with exact tiles throughout; without it (rmFull) the whole buffer is. Reports the time
// per move and the pixels repainted against the pixels the move changed (the old and the new
// place of the layer).
#include "raster/controls/Raster_Image.h"

#include "platform/ui/Forms.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>

using namespace raster;

namespace {

// The buffer repaint of one paint, without copying to the window.
class TBenchImage : public TImage32 {
public:
    using TImage32::TImage32;
    // Renders what is due and returns the pixels rendered.
    int64_t RenderBuffer() {
        if (OptimizedRepaintDue()) {
            InvalidRectsReady();
        }
        int64_t pixels = 0;
        for (int32_t i = 0; i < FInvalidRects.GetCount(); ++i) {
            pixels += int64_t(FInvalidRects.Get(i)->Width()) * FInvalidRects.Get(i)->Height();
        }
        if (FInvalidRects.GetCount() == 0) {
            pixels = int64_t(GetWidth()) * GetHeight();
        }
        PaintBuffer();
        FInvalidRects.Clear();
        FForceFullRepaint = false;
        return pixels;
    }
};

void LayerMove(benchmark::State &state) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const bool optimise = state.range(0) != 0;
    const bool adaptive = state.range(0) == 2;
    ui::TForm form(nullptr);
    auto *image = new TBenchImage(&form);
    image->SetBounds(0, 0, 1920, 1080);
    TBitmap32 &bitmap = image->GetBitmap();
    bitmap.SetSize(1920, 1080);
    std::mt19937 rng(3);
    for (int32_t i = 0; i < 1920 * 1080; ++i) {
        bitmap.GetBits()[i] = rng() | 0xFF000000u;
    }
    auto *layer = image->GetLayers().Add<TBitmapLayer>();
    layer->GetBitmap().SetSize(200, 200);
    layer->GetBitmap().Clear(0xC0FF8000u);
    layer->GetBitmap().SetDrawMode(dmBlend);
    image->SetRepaintMode(optimise ? rmOptimizer : rmFull);
    static_cast<TMicroTilesRepaintOptimizer &>(image->GetRepaintOptimizer())
        .SetAdaptiveMode(adaptive);
    image->RenderBuffer(); // the first paint renders everything
    float x = 0;
    int64_t repainted = 0, changed = 0;
    const float step = 3;
    for (auto _ : state) {
        x = x + step > 1700 ? 0 : x + step;
        layer->SetLocation({x, 400, x + 200, 600});
        changed += int64_t(200 + step) * 200;
        repainted += image->RenderBuffer();
    }
    const double n = double(state.iterations());
    state.counters["repainted_px"] = double(repainted) / n;
    state.counters["changed_px"] = double(changed) / n;
    state.SetLabel(!optimise ? "full repaint" : adaptive ? "optimiser, adaptive" : "optimiser");
}
BENCHMARK(LayerMove)->Arg(2)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
