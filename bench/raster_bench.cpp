// Raster hot paths against their peers in the same run: row blending and fills against
// pixman, the ECG view's antialiased 1-mm grid and its plain lead traces (one path per lead)
// against cairo, at 1920 x 1080; kernel resampling (Lanczos-3 and Mitchell, 3840 x 2160 down to
// 1920 x 1080 and 960 x 540 up to it) against pixman's separable-convolution filter. Each benchmark
// times ours and the peer alternately and reports both times and the ratio ours / peer.
#include "raster/Raster.h"
#include "raster/Raster_Blend.h"
#include "raster/Raster_Resamplers.h"

#include "platform/rtl/Rounding.h"

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pixman.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace raster;

namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

double Seconds(const std::function<void()> &f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Another way the peer may do the same work, timed beside it for reference (not in the ratio).
struct TOtherPeer {
    const char *Name = nullptr;
    std::function<void()> Run;
};

// Runs both sides (and the other peer, if any) once per iteration and reports the mean of each
// in milliseconds and the ratio ours / peer.
void Compare(benchmark::State &state, const char *peerName, const std::function<void()> &ours,
             const std::function<void()> &peer, const TOtherPeer &other = {}) {
    double oursTotal = 0, peerTotal = 0, otherTotal = 0;
    for (auto _ : state) {
        oursTotal += Seconds(ours);
        peerTotal += Seconds(peer);
        if (other.Run) {
            otherTotal += Seconds(other.Run);
        }
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = 1000 * oursTotal / n;
    state.counters[std::string(peerName) + "_ms"] = 1000 * peerTotal / n;
    if (other.Run) {
        state.counters[std::string(other.Name) + "_ms"] = 1000 * otherTotal / n;
    }
    state.counters["ratio"] = oursTotal / peerTotal;
}

std::vector<uint32_t> RandomPixels(uint32_t seed, bool translucent) {
    std::mt19937 rng(seed);
    std::vector<uint32_t> v(size_t(kW) * kH);
    for (uint32_t &p : v) {
        p = rng();
        if (translucent) {
            p = (p & 0x00FFFFFFu) | ((1 + (p >> 24) % 254) << 24);
        }
    }
    return v;
}

pixman_image_t *Wrap(std::vector<uint32_t> &bits) {
    return pixman_image_create_bits(PIXMAN_a8r8g8b8, kW, kH, bits.data(), kW * 4);
}

void BlendRows(benchmark::State &state) {
    InitializeRaster();
    std::vector<uint32_t> src = RandomPixels(1, true), dst = RandomPixels(2, false);
    std::vector<uint32_t> src2 = src, dst2 = dst;
    pixman_image_t *ps = Wrap(src2), *pd = Wrap(dst2);
    Compare(
        state, "pixman",
        [&] {
            for (int y = 0; y < kH; ++y) {
                BlendPixelRow(src.data() + y * kW, dst.data() + y * kW, kW);
            }
            EndBlend();
        },
        [&] {
            pixman_image_composite32(PIXMAN_OP_OVER, ps, nullptr, pd, 0, 0, 0, 0, 0, 0, kW, kH);
        });
    pixman_image_unref(ps);
    pixman_image_unref(pd);
}
BENCHMARK(BlendRows)->Unit(benchmark::kMillisecond);

// A whole bitmap drawn onto another in dmBlend with master alpha: the weighted row routine,
// against pixman's OVER through a constant mask.
void BlendRowsWeighted(benchmark::State &state) {
    InitializeRaster();
    TCustomBitmap32 src, dst;
    src.SetSize(kW, kH);
    dst.SetSize(kW, kH);
    std::vector<uint32_t> s = RandomPixels(3, true);
    std::copy(s.begin(), s.end(), src.GetBits());
    src.SetDrawMode(dmBlend);
    src.SetMasterAlpha(160);
    std::vector<uint32_t> src2 = s, dst2(size_t(kW) * kH, 0xFF000000u);
    pixman_image_t *ps = Wrap(src2), *pd = Wrap(dst2);
    pixman_color_t grey = {0, 0, 0, 160 * 257};
    pixman_image_t *mask = pixman_image_create_solid_fill(&grey);
    Compare(
        state, "pixman", [&] { dst.Draw(0, 0, &src); },
        [&] { pixman_image_composite32(PIXMAN_OP_OVER, ps, mask, pd, 0, 0, 0, 0, 0, 0, kW, kH); });
    pixman_image_unref(mask);
    pixman_image_unref(ps);
    pixman_image_unref(pd);
}
BENCHMARK(BlendRowsWeighted)->Unit(benchmark::kMillisecond);

void FillOpaque(benchmark::State &state) {
    InitializeRaster();
    TCustomBitmap32 b;
    b.SetSize(kW, kH);
    std::vector<uint32_t> peer(size_t(kW) * kH);
    Compare(
        state, "pixman", [&] { b.FillRectS(0, 0, kW, kH, 0xFF003366u); },
        [&] { pixman_fill(peer.data(), kW, 32, 0, 0, kW, kH, 0xFF003366u); });
}
BENCHMARK(FillOpaque)->Unit(benchmark::kMillisecond);

void FillTranslucent(benchmark::State &state) {
    InitializeRaster();
    TCustomBitmap32 b;
    b.SetSize(kW, kH);
    std::vector<uint32_t> peer(size_t(kW) * kH, 0xFF000000u);
    pixman_image_t *pd = Wrap(peer);
    const pixman_color_t c = {0xC0C0, 0xC0C0, 0xC0C0, 0x8080};
    const pixman_rectangle16_t r = {0, 0, kW, kH};
    Compare(
        state, "pixman", [&] { b.FillRectTS(0, 0, kW, kH, 0x80C0C0C0u); },
        [&] { pixman_image_fill_rectangles(PIXMAN_OP_OVER, pd, &c, 1, &r); });
    pixman_image_unref(pd);
}
BENCHMARK(FillTranslucent)->Unit(benchmark::kMillisecond);

// The ECG view's grid: 1 mm = 96 / 25.4 px; centimetre lines alpha 100, half-centimetre 60,
// others 20, silver, antialiased, from floating-point end points.
uint32_t GridAlpha(int k) {
    return k % 10 == 0 ? 100 : (k % 5 == 0 ? 60 : 20);
}

void GridOurs(TCustomBitmap32 &b) {
    const float mm = 96.0f / 25.4f;
    b.Clear(0xFF003366u);
    for (int k = 0; k * mm < kW; ++k) {
        b.SetPenColor((GridAlpha(k) << 24) | 0xC0C0C0u);
        b.MoveToF(k * mm, 0);
        b.LineToFS(k * mm, kH);
    }
    for (int k = 0; k * mm < kH; ++k) {
        b.SetPenColor((GridAlpha(k) << 24) | 0xC0C0C0u);
        b.MoveToF(0, k * mm);
        b.LineToFS(kW, k * mm);
    }
}

void GridCairo(cairo_t *cr) {
    const double mm = 96.0 / 25.4;
    cairo_set_source_rgb(cr, 0, 0.2, 0.4);
    cairo_paint(cr);
    cairo_set_line_width(cr, 1.0);
    const auto line = [cr](int k, double x1, double y1, double x2, double y2) {
        cairo_set_source_rgba(cr, 0.75, 0.75, 0.75, GridAlpha(k) / 255.0);
        cairo_move_to(cr, x1, y1);
        cairo_line_to(cr, x2, y2);
        cairo_stroke(cr);
    };
    for (int k = 0; k * mm < kW; ++k) {
        line(k, k * mm + 0.5, 0, k * mm + 0.5, kH);
    }
    for (int k = 0; k * mm < kH; ++k) {
        line(k, 0, k * mm + 0.5, kW, k * mm + 0.5);
    }
}

void GridLines(benchmark::State &state) {
    InitializeRaster();
    TCustomBitmap32 b;
    b.SetSize(kW, kH);
    std::vector<uint32_t> peer(size_t(kW) * kH);
    cairo_surface_t *surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char *>(peer.data()), CAIRO_FORMAT_ARGB32, kW, kH, kW * 4);
    cairo_t *cr = cairo_create(surface);
    Compare(
        state, "cairo", [&] { GridOurs(b); }, [&] { GridCairo(cr); });
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
BENCHMARK(GridLines)->Unit(benchmark::kMillisecond);

// Lead traces as the viewer draws them: 12 polylines of 2500 points across the width, each
// segment a plain (not antialiased) opaque line from the pen position. cairo strokes each lead
// as one path without antialiasing, as a cairo user would (the ratio); cairo_segments_ms is
// cairo stroking every segment on its own, for reference.
void LeadPolylines(benchmark::State &state) {
    InitializeRaster();
    TCustomBitmap32 b;
    b.SetSize(kW, kH);
    std::vector<uint32_t> peer(size_t(kW) * kH);
    cairo_surface_t *surface = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char *>(peer.data()), CAIRO_FORMAT_ARGB32, kW, kH, kW * 4);
    cairo_t *cr = cairo_create(surface);
    cairo_set_source_rgba(cr, 1, 1, 0.5, 1);
    cairo_set_line_width(cr, 1.0);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    std::mt19937 rng(5);
    std::normal_distribution<float> noise(0, 6);
    std::vector<std::vector<TPoint>> leads(12);
    for (int i = 0; i < 12; ++i) {
        for (int j = 0; j < 2500; ++j) {
            leads[size_t(i)].push_back({20 + j * (kW - 40) / 2500,
                                        rtl::RoundSaturated<int32_t>(45 + i * 85 + noise(rng))});
        }
    }
    const auto polylines = [&] {
        for (const auto &lead : leads) {
            cairo_move_to(cr, lead[0].X + 0.5, lead[0].Y + 0.5);
            for (size_t j = 1; j < lead.size(); ++j) {
                cairo_line_to(cr, lead[j].X + 0.5, lead[j].Y + 0.5);
            }
            cairo_stroke(cr);
        }
    };
    const auto segments = [&] {
        for (const auto &lead : leads) {
            for (size_t j = 1; j < lead.size(); ++j) {
                cairo_move_to(cr, lead[j - 1].X + 0.5, lead[j - 1].Y + 0.5);
                cairo_line_to(cr, lead[j].X + 0.5, lead[j].Y + 0.5);
                cairo_stroke(cr);
            }
        }
    };
    Compare(state, "cairo",
            [&] {
                b.SetPenColor(0xFFFFFF80u);
                for (const auto &lead : leads) {
                    b.MoveTo(lead[0].X, lead[0].Y);
                    for (size_t j = 1; j < lead.size(); ++j) {
                        b.LineToS(lead[j].X, lead[j].Y);
                    }
                }
            },
            polylines, {"cairo_segments", segments});
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
BENCHMARK(LeadPolylines)->Unit(benchmark::kMillisecond);

// Kernel resampling of a whole bitmap against pixman's separable convolution with the same
// kernel: for a reduction the kernel samples (stretched by the scale, pixman's sample filter),
// for an enlargement it reconstructs (pixman's reconstruction filter).
void KernelResample(benchmark::State &state) {
    InitializeRaster();
    const bool mitchell = state.range(0) != 0;
    const int32_t sw = int32_t(state.range(1)), sh = int32_t(state.range(2));
    const int32_t dw = 1920, dh = 1080;
    TCustomBitmap32 src, dst;
    src.SetSize(sw, sh);
    std::mt19937 rng(8);
    for (int32_t i = 0; i < sw * sh; ++i) {
        src.GetBits()[i] = rng() | 0xFF000000u;
    }
    dst.SetSize(dw, dh);
    std::unique_ptr<TCustomKernel> kernel;
    if (mitchell) {
        kernel = std::make_unique<TMitchellKernel>();
    } else {
        kernel = std::make_unique<TLanczosKernel>();
    }
    std::vector<uint32_t> srcPeer(src.GetBits(), src.GetBits() + size_t(sw) * size_t(sh));
    std::vector<uint32_t> dstPeer(size_t(dw) * dh);
    pixman_image_t *ps = pixman_image_create_bits(PIXMAN_a8r8g8b8, sw, sh, srcPeer.data(), sw * 4);
    pixman_image_t *pd = pixman_image_create_bits(PIXMAN_a8r8g8b8, dw, dh, dstPeer.data(), dw * 4);
    const double ratio = double(sw) / dw;
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(ratio), pixman_double_to_fixed(ratio));
    pixman_image_set_transform(ps, &t);
    // pixman's cubic kernel is Mitchell and Netravali's (B = C = 1/3).
    const pixman_kernel_t k = mitchell ? PIXMAN_KERNEL_CUBIC : PIXMAN_KERNEL_LANCZOS3;
    const bool reduce = ratio > 1;
    int n = 0;
    pixman_fixed_t *params = pixman_filter_create_separable_convolution(
        &n, pixman_double_to_fixed(reduce ? ratio : 1), pixman_double_to_fixed(reduce ? ratio : 1),
        reduce ? PIXMAN_KERNEL_IMPULSE : k, reduce ? PIXMAN_KERNEL_IMPULSE : k,
        reduce ? k : PIXMAN_KERNEL_IMPULSE, reduce ? k : PIXMAN_KERNEL_IMPULSE, 4, 4);
    pixman_image_set_filter(ps, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, n);
    pixman_image_set_repeat(ps, PIXMAN_REPEAT_PAD);
    Compare(
        state, "pixman",
        [&] {
            ResampleByKernel(&dst, {0, 0, dw, dh}, {0, 0, dw, dh}, &src, {0, 0, sw, sh}, *kernel,
                             dmOpaque, nullptr);
        },
        [&] {
            pixman_image_composite32(PIXMAN_OP_SRC, ps, nullptr, pd, 0, 0, 0, 0, 0, 0, dw, dh);
        });
    free(params);
    pixman_image_unref(ps);
    pixman_image_unref(pd);
    state.SetLabel(std::string(mitchell ? "Mitchell " : "Lanczos-3 ") + std::to_string(sw) + "x" +
                   std::to_string(sh) + " -> 1920x1080");
}
BENCHMARK(KernelResample)
    ->Args({0, 3840, 2160})
    ->Args({1, 3840, 2160})
    ->Args({0, 960, 540})
    ->Args({1, 960, 540})
    ->Unit(benchmark::kMillisecond);

} // namespace
