// The ECG viewer's full redraw (grid copy, caption bars, grid rebuild, captions and the twelve
// traces of the real recording) at the window's designed size and at 1920 x 1080, in the
// viewer's own three amplitudes. Reports the time per redraw; the target is under 8 ms at
// 1920 x 1080.
#include "app/UECGDrawing.h"
#include "ecg/UEDFImportHelper.h"

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace workbench;

namespace {

const TLeadData &RealLeads() {
    static const TLeadData leads = [] {
        ecg::TEDFImportHelper reader;
        reader.readEDF(rtl::UnicodeString(
            std::filesystem::path(WB_TEST_DATA "/ecg/REAL12_250.edf").u16string()));
        auto record = reader.getM12ECG();
        const int32_t n = int32_t(record->GetLenghtECGSec()) * record->GetFrequency();
        TLeadData l(record->GetLeadsCount(), std::vector<int16_t>(size_t(n)));
        for (size_t i = 0; i < l.size(); ++i) {
            for (int32_t j = 0; j < n; ++j) {
                l[i][size_t(j)] = record->GetECG(uint8_t(i + 1), j + 1);
            }
        }
        return l;
    }();
    return leads;
}

void BM_ViewerRedraw(benchmark::State &state) {
    const int32_t w = int32_t(state.range(0)), h = int32_t(state.range(1));
    TECGDrawing drawing;
    drawing.Leads = &RealLeads();
    drawing.VisibleCount = 12;
    drawing.LeadLength = int32_t(RealLeads()[0].size());
    drawing.Scanning = TScanning(state.range(2));
    raster::TBitmap32 bitmap;
    bitmap.SetSize(w, h);
    drawing.RebuildGrid(w, h);
    for (auto _ : state) {
        bitmap.BeginUpdate();
        drawing.Layout(w, h);
        drawing.Paint(bitmap, 0);
        bitmap.EndUpdate();
        benchmark::DoNotOptimize(bitmap.GetBits());
    }
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h) + " " +
                   (state.range(2) == vs2   ? "2"
                    : state.range(2) == vs1 ? "1"
                                            : "0.5") +
                   " mV/cm");
}

BENCHMARK(BM_ViewerRedraw)
    ->ArgsProduct({{1019}, {563}, {vs2, vs1, vs05}})
    ->ArgsProduct({{1920}, {1080}, {vs2, vs1, vs05}})
    ->Unit(benchmark::kMillisecond);

} // namespace
