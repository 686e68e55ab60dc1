// Small picture files that claim huge pictures (a PNG text chunk of 1.5 GB, a BMP of
// 4 x 16,580,353 pixels, a GIF of 8000 x 8000, an EMF drawing a bitmap of 16,000 x 16,000), each
// refused: the time per refusal, and the process's peak memory afterwards, stay small.
#include "platform/gfx/Picture.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/HostilePictures.h"
#include "vizivodu/document/VDGrHandler.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace {

double PeakMemoryMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void RefuseThroughPicture(benchmark::State &state, const std::vector<uint8_t> &data) {
    int64_t refused = 0;
    for (auto _ : state) {
        try {
            gfx::TPicture picture;
            picture.LoadFromMemory(data.data(), data.size());
        } catch (const rtl::Exception &) {
            ++refused;
        }
    }
    if (refused != state.iterations()) {
        state.SkipWithError("a hostile picture was loaded");
    }
    state.counters["input_bytes"] = double(data.size());
    state.counters["peak_rss_MB"] = PeakMemoryMB();
}

void BM_RefusePngTextChunk(benchmark::State &state) {
    RefuseThroughPicture(state, wbtest::PngClaimingAHugeTextChunk());
}
BENCHMARK(BM_RefusePngTextChunk)->Unit(benchmark::kMicrosecond);

void BM_RefuseBmpDimensions(benchmark::State &state) {
    RefuseThroughPicture(state, wbtest::BmpClaimingHugeDimensions());
}
BENCHMARK(BM_RefuseBmpDimensions)->Unit(benchmark::kMicrosecond);

void BM_RefuseGifDimensions(benchmark::State &state) {
    RefuseThroughPicture(state, wbtest::GifClaimingHugeDimensions());
}
BENCHMARK(BM_RefuseGifDimensions)->Unit(benchmark::kMicrosecond);

// Through the document library's extraction of a metafile's one bitmap.
void BM_RefuseEmfBitmap(benchmark::State &state) {
    const std::vector<uint8_t> data = wbtest::EmfClaimingAHugeBitmap();
    const std::string_view emf(reinterpret_cast<const char *>(data.data()), data.size());
    vizivodu::InitializeGraphicHandler();
    bool extracted = false;
    for (auto _ : state) {
        extracted |=
            vizivodu::GlobalGraphicHandler->ExtractBitmapFromEnhMetafileData(emf) != nullptr;
    }
    vizivodu::FinalizeGraphicHandler();
    if (extracted) {
        state.SkipWithError("a hostile bitmap was extracted");
    }
    state.counters["input_bytes"] = double(data.size());
    state.counters["peak_rss_MB"] = PeakMemoryMB();
}
BENCHMARK(BM_RefuseEmfBitmap)->Unit(benchmark::kMicrosecond);

} // namespace
