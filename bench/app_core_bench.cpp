// Benchmark of the workbench core on a large database: loading "base.info" of 100,000 ECGs,
// scoring a "Result.txt" for it and building the totals list's rows.
#include "app/core/UStatLists.h"
#include "app/core/UWorkbenchData.h"
#include "ecg/EncDecHelper.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace {

using workbench::UnicodeString;

constexpr int EcgCount = 100000;

// A database folder with "base.info" and a matching "Result.txt" in a fresh temporary folder;
// codes drawn from a fixed seed, the result agreeing with the reference about two times in
// three.
class TLargeDatabase {
public:
    TLargeDatabase() {
        std::string leaf = "wb_app_core_bench_";
        leaf += std::to_string(::getpid());
        FFolder = std::filesystem::temp_directory_path() / leaf;
        std::filesystem::create_directories(FFolder);
        Write();
    }
    ~TLargeDatabase() {
        std::error_code ec;
        std::filesystem::remove_all(FFolder, ec);
    }
    TLargeDatabase(const TLargeDatabase &) = delete;
    TLargeDatabase &operator=(const TLargeDatabase &) = delete;

    UnicodeString Folder() const { return rtl::Utf8ToUtf16(FFolder.string() + "/"); }
    UnicodeString ResultPath() const { return rtl::Utf8ToUtf16((FFolder / "Result.txt").string()); }

private:
    void Write() {
        std::mt19937 random(20261210);
        std::uniform_int_distribution<int> count(0, 5);
        std::uniform_int_distribution<int> code(1, 30);
        std::uniform_int_distribution<int> agree(0, 2);
        const workbench::TBaseInfoKey key = workbench::MakeBaseInfoKey();
        std::string baseInfo;
        std::string result;
        char name[16];
        for (int i = 0; i < EcgCount; ++i) {
            std::snprintf(name, sizeof name, "ECG%06d  ", i + 1);
            ecg::byte_array payload(key.begin(), key.end()); // every byte "no code"
            std::string codes;
            const int n = count(random);
            for (int k = 0; k < n; ++k) {
                const int c = code(random);
                payload[k] = static_cast<uint8_t>(c ^ key[k]);
                const int set = agree(random) == 0 ? code(random) : c;
                codes += static_cast<char>('0' + set / 10);
                codes += static_cast<char>('0' + set % 10);
            }
            baseInfo += std::string(name, 10) + "     " +
                        rtl::Utf16ToUtf8(ecg::TEncDecHelper::GetBase64StringFromBA(payload)) +
                        "\r\n";
            result += std::string(name, 10) + "     " + codes + "\r\n";
        }
        std::ofstream(FFolder / "base.info", std::ios::binary) << baseInfo;
        std::ofstream(FFolder / "Result.txt", std::ios::binary) << result;
    }

    std::filesystem::path FFolder;
};

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
