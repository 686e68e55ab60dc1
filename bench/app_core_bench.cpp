// Benchmark of the workbench core on a large database: loading "base.info" of 100,000 ECGs,
// scoring a "Result.txt" for it and building the totals list's rows; and reading a "Result.txt"
// of 100 MB, with the peak memory it takes.
#include "LargeDatabase.h"
#include "app/core/UStatLists.h"
#include "app/core/UWorkbenchData.h"
#include "ecg/EncDecHelper.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using workbench::UnicodeString;
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

// A database of four ECGs and a "Result.txt" of 100 MB: lines naming millions of other ECGs,
// as a program under test run on the wrong database (or a damaged file) would leave it, or one
// line of 50 million valid codes without a line break.
class THugeResultFile {
public:
    static constexpr int64_t Bytes = 100 * 1000 * 1000;
    enum TShape { ManyLines, OneLine };

    explicit THugeResultFile(TShape shape = ManyLines) {
        FFolder = std::filesystem::temp_directory_path() /
                  ("wb_app_core_bench_huge_" + std::to_string(::getpid()));
        std::filesystem::create_directories(FFolder);
        const workbench::TBaseInfoKey key = workbench::MakeBaseInfoKey();
        std::ofstream base(FFolder / "base.info", std::ios::binary);
        for (int i = 1; i <= 4; ++i) {
            ecg::byte_array payload(key.begin(), key.end());
            payload[0] = static_cast<uint8_t>(1 ^ key[0]);
            base << "ECG000" << i << "        "
                 << rtl::Utf16ToUtf8(ecg::TEncDecHelper::GetBase64StringFromBA(payload)) << "\r\n";
        }
        std::ofstream result(FFolder / "Result.txt", std::ios::binary);
        if (shape == OneLine) {
            result << "ECG0001        " << std::string(size_t(Bytes), '1');
            return;
        }
        std::mt19937 random(20261211);
        std::uniform_int_distribution<int> code(1, 30);
        char line[64];
        for (int64_t written = 0, n = 0; written < Bytes; ++n) {
            const int length = std::snprintf(line, sizeof line, "R%09lld     %02d%02d\r\n",
                                             static_cast<long long>(n), code(random), code(random));
            result.write(line, length);
            written += length;
        }
    }
    ~THugeResultFile() {
        std::error_code ec;
        std::filesystem::remove_all(FFolder, ec);
    }
    THugeResultFile(const THugeResultFile &) = delete;
    THugeResultFile &operator=(const THugeResultFile &) = delete;

    UnicodeString Folder() const { return rtl::Utf8ToUtf16(FFolder.string() + "/"); }
    UnicodeString ResultPath() const { return rtl::Utf8ToUtf16((FFolder / "Result.txt").string()); }

private:
    std::filesystem::path FFolder;
};

// The process's peak resident memory (VmHWM) in bytes; ResetPeakMemory starts it again from
// the memory in use now.
int64_t PeakMemory() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            int64_t kb = 0;
            status >> kb;
            return kb * 1024;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

int64_t CurrentMemory() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            int64_t kb = 0;
            status >> kb;
            return kb * 1024;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

// Gives freed memory back to the system first, so that the resident memory is the memory in
// use.
void ResetPeakMemory() {
    ::malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Reading the 100 MB file: its lines name other ECGs than the database, so the reload ends in
// the name-mismatch message. Reports the peak memory above the memory in use before the read,
// in MB and as a multiple of the file's size.
void BM_ReadResultFileOf100MB(benchmark::State &state) {
    const THugeResultFile file;
    workbench::TWorkbenchData data;
    if (!data.LoadReferenceDatabase(file.Folder()).Ok) {
        state.SkipWithError("the database did not load");
        return;
    }
    int64_t peak = 0;
    size_t messageLength = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResetPeakMemory();
        const int64_t before = CurrentMemory();
        state.ResumeTiming();
        const workbench::TResultOutcome outcome = data.ReloadResult(file.ResultPath());
        state.PauseTiming();
        peak = std::max(peak, PeakMemory() - before);
        messageLength = outcome.Message.size();
        if (outcome.Status != workbench::TResultStatus::rsNameMismatch) {
            state.SkipWithError("the file was not read to its end");
        }
        state.ResumeTiming();
    }
    state.counters["PeakMB"] = static_cast<double>(peak) / 1e6;
    state.counters["PeakPerFileByte"] = static_cast<double>(peak) / THugeResultFile::Bytes;
    state.counters["MessageChars"] = static_cast<double>(messageLength);
}
BENCHMARK(BM_ReadResultFileOf100MB)->Unit(benchmark::kMillisecond)->Iterations(2);

// One line of 50 million codes: refused as longer than any result line, without holding it
// whole. Reports the peak memory above the memory in use before the read.
void BM_RefuseAResultLineOf100MB(benchmark::State &state) {
    const THugeResultFile file(THugeResultFile::OneLine);
    workbench::TWorkbenchData data;
    if (!data.LoadReferenceDatabase(file.Folder()).Ok) {
        state.SkipWithError("the database did not load");
        return;
    }
    int64_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResetPeakMemory();
        const int64_t before = CurrentMemory();
        state.ResumeTiming();
        const workbench::TResultOutcome outcome = data.ReloadResult(file.ResultPath());
        state.PauseTiming();
        peak = std::max(peak, PeakMemory() - before);
        if (outcome.Status != workbench::TResultStatus::rsInvalidLine) {
            state.SkipWithError("the line was not refused");
        }
        state.ResumeTiming();
    }
    state.counters["PeakMB"] = static_cast<double>(peak) / 1e6;
}
BENCHMARK(BM_RefuseAResultLineOf100MB)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
