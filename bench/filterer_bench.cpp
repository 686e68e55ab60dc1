// Benchmarks of the signal conditioner: the viewer's whole call sequence on 10 s and 300 s
// synthetic 12-lead records, clean, noisy, and laid out in two columns.
#include "ecg/UFilterer.h"

#include "tools/SyntheticEcg.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <tuple>

namespace {

enum TKind { Clean, Noisy, TwoColumns };

// Records are synthesized once per (length, kind) and kept for every run.
ecg::TM12ECGObj &Record(int seconds, TKind kind) {
    static std::map<std::pair<int, int>, std::unique_ptr<ecg::TM12ECGObj>> cache;
    auto &slot = cache[{seconds, kind}];
    if (!slot) {
        sampledb::TEcgParams params;
        params.LengthSec = seconds;
        params.RateBpm = 75;
        if (kind == Noisy) {
            params.Noise.HumMV = 0.2;
            params.Noise.TremorMV = 0.05;
            params.Noise.SpikeCount = seconds;
            params.Noise.SpikeMV = 1.5;
        }
        const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(params);
        slot = std::make_unique<ecg::TM12ECGObj>();
        slot->SetECGType(0);
        slot->SetECGSize(12, static_cast<std::uint16_t>(seconds), 250);
        slot->SetStrok(kind == TwoColumns ? 6 : 12);
        slot->AssignECG(ecg::TUnPackedECG(ecg.Leads.begin(), ecg.Leads.end()));
    }
    return *slot;
}

// What the viewer does with each recording it loads.
void BM_Condition(benchmark::State &state) {
    const int seconds = static_cast<int>(state.range(0));
    ecg::TM12ECGObj &record = Record(seconds, static_cast<TKind>(state.range(1)));
    for (auto _ : state) {
        auto filterer = std::make_unique<ecg::TFilterer>();
        filterer->setEGCType(0, 0, false);
        filterer->setSource(record);
        filterer->filterData();
        auto leads = filterer->getFilteredData();
        benchmark::DoNotOptimize(leads.data());
    }
    state.SetItemsProcessed(state.iterations() * seconds * 250 * 12);
    state.SetLabel(seconds == 10 ? "10 s x 12 leads" : "300 s x 12 leads");
}

BENCHMARK(BM_Condition)
    ->ArgNames({"seconds", "kind"})
    ->ArgsProduct({{10, 300}, {Clean, Noisy, TwoColumns}})
    ->Unit(benchmark::kMillisecond);

// The stages alone, on an instance that already holds its clone: shows how the conditioning
// itself scales with the record's length, apart from cloning and fresh allocations.
void BM_FilterDataOnly(benchmark::State &state) {
    const int seconds = static_cast<int>(state.range(0));
    auto filterer = std::make_unique<ecg::TFilterer>();
    filterer->setEGCType(0, 0, false);
    filterer->setSource(Record(seconds, static_cast<TKind>(state.range(1))));
    for (auto _ : state) {
        filterer->filterData();
    }
    state.SetItemsProcessed(state.iterations() * seconds * 250 * 12);
}

BENCHMARK(BM_FilterDataOnly)
    ->ArgNames({"seconds", "kind"})
    ->ArgsProduct({{10, 300}, {Clean, Noisy, TwoColumns}})
    ->Unit(benchmark::kMillisecond);

} // namespace
