// The ECG viewer's full redraw (grid copy, caption bars, grid rebuild, captions and the twelve
// traces of the real recording) at sizes from 800 x 600 to 3840 x 2160, against the like frame
// drawn by cairo in the same run: the grid surface copied, the caption bars filled and framed,
// the antialiased millimetre grid rebuilt, the 24 captions written, and each trace stroked as one
// path without antialiasing, as a cairo user would. Reports both times and the ratio
// ours / cairo; the target is under 0.5 at every size (and under 8 ms at 1920 x 1080).
// cairo_segments_ms is the same frame with every segment of a trace stroked on its own, as the
// viewer draws them: cairo's cost per stroke doubles its time, so it is not in the ratio.
#include "app/UECGDrawing.h"
#include "ecg/UEDFImportHelper.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>

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

double Seconds(const std::function<void()> &f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

uint32_t GridAlpha(int32_t k) {
    return k % 10 == 0 ? 100 : (k % 5 == 0 ? 60 : 20);
}

// The viewer's frame in cairo, on the same layout and samples.
class TCairoFrame {
public:
    TCairoFrame(int32_t w, int32_t h, const TECGDrawing &drawing, const TECGScales &scales)
        : FW(w), FH(h), FDrawing(drawing), FScales(scales),
          FSurface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h)),
          FGrid(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h)), FCr(cairo_create(FSurface)) {
        RebuildGrid();
    }
    ~TCairoFrame() {
        cairo_destroy(FCr);
        cairo_surface_destroy(FGrid);
        cairo_surface_destroy(FSurface);
    }
    TCairoFrame(const TCairoFrame &) = delete;
    TCairoFrame &operator=(const TCairoFrame &) = delete;

    // With segments, each segment of a trace is stroked on its own (as the viewer draws them)
    // instead of each trace as one path.
    void Paint(bool segments = false) {
        cairo_set_operator(FCr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(FCr, FGrid, kLeadCaptionsBarWidth, 0);
        cairo_paint(FCr);
        cairo_set_operator(FCr, CAIRO_OPERATOR_OVER);
        CaptionBar(0);
        CaptionBar(FW - kLeadCaptionsBarWidth);
        RebuildGrid();
        Leads(segments);
        cairo_surface_flush(FSurface);
    }

private:
    void CaptionBar(int32_t left) {
        cairo_set_antialias(FCr, CAIRO_ANTIALIAS_NONE);
        cairo_set_source_rgb(FCr, 0, 0.2, 0.4);
        cairo_rectangle(FCr, left, 0, kLeadCaptionsBarWidth, FH);
        cairo_fill(FCr);
        cairo_set_source_rgba(FCr, 0.75, 0.75, 0.75, 128 / 255.0);
        cairo_set_line_width(FCr, 1);
        cairo_rectangle(FCr, left + 0.5, 0.5, kLeadCaptionsBarWidth - 1, FH - 1);
        cairo_stroke(FCr);
    }

    void RebuildGrid() {
        cairo_t *g = cairo_create(FGrid);
        cairo_set_source_rgb(g, 0, 0.2, 0.4);
        cairo_paint(g);
        cairo_set_line_width(g, 1);
        const double mm = FScales.PixelsPerMm;
        const auto line = [g](int32_t k, double x1, double y1, double x2, double y2) {
            cairo_set_source_rgba(g, 0.75, 0.75, 0.75, GridAlpha(k) / 255.0);
            cairo_move_to(g, x1, y1);
            cairo_line_to(g, x2, y2);
            cairo_stroke(g);
        };
        for (int32_t k = 0; mm > 0 && k * mm < FW; ++k) {
            line(k, k * mm + 0.5, 0, k * mm + 0.5, FH);
        }
        for (int32_t k = 0; mm > 0 && k * mm < FH; ++k) {
            line(k, 0, k * mm + 0.5, FW, k * mm + 0.5);
        }
        cairo_destroy(g);
    }

    int32_t Sample(int32_t lead, int32_t j) const {
        const auto &l = (*FDrawing.Leads)[size_t(lead)];
        return j < int32_t(l.size()) ? l[size_t(j)] : 0;
    }

    void Leads(bool segments) {
        const double u = FScales.PixelsPerUnit;
        const auto &ax = FDrawing.Baselines();
        cairo_select_font_face(FCr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                               CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(FCr, 8 * 96 / 72.0);
        cairo_set_source_rgb(FCr, 1, 1, 1);
        for (int32_t i = 0; i < 12; ++i) {
            const double base = std::round(ax[size_t(i)] * u);
            const std::string t(LeadCaptions[size_t(i)],
                                LeadCaptions[size_t(i)] +
                                    std::char_traits<char16_t>::length(LeadCaptions[size_t(i)]));
            cairo_move_to(FCr, 6, base - Sample(i, 1) * u + 4);
            cairo_show_text(FCr, t.c_str());
            cairo_move_to(FCr, FW - 14, base - Sample(i, FScales.ShownSamples - 2) * u + 4);
            cairo_show_text(FCr, t.c_str());
        }
        cairo_set_antialias(FCr, CAIRO_ANTIALIAS_NONE);
        cairo_set_source_rgb(FCr, 1, 1, 0.5);
        cairo_set_line_width(FCr, 1);
        for (int32_t i = 0; i < 12; ++i) {
            const double base = std::round(ax[size_t(i)] * u);
            double px = kLeadCaptionsBarWidth + 0.5, py = std::round(base - Sample(i, 0) * u) + 0.5;
            cairo_move_to(FCr, px, py);
            for (int32_t j = 1; j <= FScales.ShownSamples - 2; ++j) {
                const double x =
                    std::round(kLeadCaptionsBarWidth + j * FScales.PixelsPerSample) + 0.5;
                const double y = std::round(base - Sample(i, j) * u) + 0.5;
                if (segments) {
                    cairo_move_to(FCr, px, py);
                    cairo_line_to(FCr, x, y);
                    cairo_stroke(FCr);
                } else {
                    cairo_line_to(FCr, x, y);
                }
                px = x;
                py = y;
            }
            if (!segments) {
                cairo_stroke(FCr);
            }
        }
    }

    int32_t FW, FH;
    const TECGDrawing &FDrawing;
    TECGScales FScales;
    cairo_surface_t *FSurface;
    cairo_surface_t *FGrid;
    cairo_t *FCr;
};

void BM_ViewerRedraw(benchmark::State &state) {
    const int32_t w = int32_t(state.range(0)), h = int32_t(state.range(1));
    TECGDrawing drawing;
    drawing.Leads = &RealLeads();
    drawing.VisibleCount = 12;
    drawing.LeadLength = int32_t(RealLeads()[0].size());
    drawing.Scanning = vs1;
    raster::TBitmap32 bitmap;
    bitmap.SetSize(w, h);
    drawing.RebuildGrid(w, h);
    const TECGScales scales = drawing.Layout(w, h);
    TCairoFrame cairo(w, h, drawing, scales);
    double ours = 0, peer = 0, peerSegments = 0;
    for (auto _ : state) {
        ours += Seconds([&] {
            bitmap.BeginUpdate();
            drawing.Layout(w, h);
            drawing.Paint(bitmap, 0);
            bitmap.EndUpdate();
        });
        peer += Seconds([&] { cairo.Paint(); });
        peerSegments += Seconds([&] { cairo.Paint(true); });
        benchmark::DoNotOptimize(bitmap.GetBits());
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = 1000 * ours / n;
    state.counters["cairo_ms"] = 1000 * peer / n;
    state.counters["cairo_segments_ms"] = 1000 * peerSegments / n;
    state.counters["ratio"] = ours / peer;
    state.SetLabel(std::to_string(w) + "x" + std::to_string(h) + " 1 mV/cm");
}

BENCHMARK(BM_ViewerRedraw)
    ->Args({800, 600})
    ->Args({1019, 563})
    ->Args({1920, 1080})
    ->Args({2560, 1440})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMillisecond);

} // namespace
