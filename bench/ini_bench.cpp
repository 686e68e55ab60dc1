// Benchmark of reading INI files: one section of 100,000 keys (1.4 MB), the size at which the
// earlier reader, which looked every key up among those before it, took over three minutes.
#include "platform/rtl/IniFiles.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class TLargeIniFile {
public:
    explicit TLargeIniFile(int keys) {
        FPath = std::filesystem::temp_directory_path() /
                ("wb_ini_bench_" + std::to_string(::getpid()) + ".ini");
        std::ofstream out(FPath, std::ios::binary);
        out << "[Section]\r\n";
        for (int i = 0; i < keys; ++i) {
            out << "Key" << i << "=value " << i << "\r\n";
        }
    }
    ~TLargeIniFile() {
        std::error_code ignored;
        std::filesystem::remove(FPath, ignored);
    }
    TLargeIniFile(const TLargeIniFile &) = delete;
    TLargeIniFile &operator=(const TLargeIniFile &) = delete;

    rtl::UnicodeString Name() const { return rtl::Utf8ToUtf16(FPath.string()); }

private:
    std::filesystem::path FPath;
};

void BM_ReadIniFile(benchmark::State &state) {
    const TLargeIniFile file(int(state.range(0)));
    for (auto _ : state) {
        rtl::TMemIniFile ini(file.Name());
        benchmark::DoNotOptimize(ini.ReadString(u"Section", u"Key99999", u""));
    }
}
BENCHMARK(BM_ReadIniFile)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
