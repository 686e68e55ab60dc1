// Benchmark of the workbench core on a large database: loading "base.info" of 100,000 ECGs,
// scoring a "Result.txt" for it and building the totals list's rows.
#include "LargeDatabase.h"
#include "app/core/UStatLists.h"

#include <benchmark/benchmark.h>

namespace {

using workbench::bench::TLargeDatabase;

void BM_LoadScoreAndTotals(benchmark::State &state) {
    const TLargeDatabase database;
    for (auto _ : state) {
        workbench::TWorkbenchData data;
        const workbench::TLoadResult loaded = data.LoadReferenceDatabase(database.Folder());
        const workbench::TResultOutcome scored = data.ReloadResult(database.ResultPath());
        if (!loaded.Ok || scored.Status != workbench::TResultStatus::rsScored) {
            state.SkipWithError("the generated database did not load or score");
            break;
        }
        auto rows = workbench::BuildTotalRows(data.GetDiaStat());
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_LoadScoreAndTotals)->Unit(benchmark::kMillisecond);

void BM_ResultContentRows(benchmark::State &state) {
    const TLargeDatabase database;
    workbench::TWorkbenchData data;
    data.LoadReferenceDatabase(database.Folder());
    data.ReloadResult(database.ResultPath());
    for (auto _ : state) {
        auto rows = workbench::BuildResultContentRows(data);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_ResultContentRows)->Unit(benchmark::kMillisecond);

} // namespace
