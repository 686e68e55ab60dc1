// EDF reading speed: 12-lead recordings of 10 s and 300 s at 500 Hz, read from memory and from
// a temporary file, reported as samples per second (target: at least 60 million).
#include "ecg/M12ECG.h"
#include "ecg/UEDFImportHelper.h"
#include "platform/rtl/Rounding.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int Signals = 12;
constexpr int Frequency = 500;

std::string Field(const std::string &text, std::size_t width) {
    std::string f = text.substr(0, width);
    f.resize(width, ' ');
    return f;
}

// A 12-signal EDF file of the given length in 1-second records, with an ECG-like waveform.
std::vector<std::uint8_t> MakeRecording(int seconds) {
    std::string h =
        Field("0", 8) + Field("BENCH_M_01.01.1970", 80) + Field("", 80) + Field("01.02.24", 8) +
        Field("12.00.00", 8) + Field(std::to_string(256 * (Signals + 1)), 8) + Field("", 44) +
        Field(std::to_string(seconds), 8) + Field("1", 8) + Field(std::to_string(Signals), 4);
    const char *labels[Signals] = {"ECG I",  "ECG II", "ECG III", "ECG aVR", "ECG aVL", "ECG aVF",
                                   "ECG V1", "ECG V2", "ECG V3",  "ECG V4",  "ECG V5",  "ECG V6"};
    const std::pair<std::string, std::size_t> perSignal[] = {
        {"", 16},      {"AgAgCl", 80}, {"mV", 8},         {"-327.68", 8}, {"327.67", 8},
        {"-32768", 8}, {"32767", 8},   {"HP:0.05Hz", 80}, {"500", 8},     {"", 32}};
    for (const auto &[text, width] : perSignal) {
        for (int i = 0; i < Signals; ++i) {
            h += Field(width == 16 ? labels[i] : text, width);
        }
    }
    std::vector<std::uint8_t> bytes(h.begin(), h.end());
    bytes.reserve(bytes.size() + static_cast<std::size_t>(seconds) * Signals * Frequency * 2);
    for (int r = 0; r < seconds; ++r) {
        for (int i = 0; i < Signals; ++i) {
            for (int k = 0; k < Frequency; ++k) {
                const double t = r + k / static_cast<double>(Frequency);
                const double beat = std::fmod(t, 0.8);
                const double v = 20 * std::sin(6.28 * 0.3 * t) + (i + 1) * 8 * std::sin(6.28 * t) +
                                 (beat < 0.04 ? 900 * std::sin(beat / 0.04 * 3.14159) : 0);
                const auto raw = rtl::RoundSaturated<std::int16_t>(v);
                bytes.push_back(static_cast<std::uint8_t>(raw & 0xFF));
                bytes.push_back(static_cast<std::uint8_t>((raw >> 8) & 0xFF));
            }
        }
    }
    return bytes;
}

void BM_ReadEDFFromMemory(benchmark::State &state) {
    const auto seconds = static_cast<int>(state.range(0));
    const std::vector<std::uint8_t> file = MakeRecording(seconds);
    for (auto _ : state) {
        ecg::TEDFImportHelper reader;
        reader.readEDFFromMemory(file);
        std::unique_ptr<ecg::TM12ECGObj> record = reader.getM12ECG();
        benchmark::DoNotOptimize(record->GetECG(2, 1));
    }
    state.SetItemsProcessed(state.iterations() * int64_t{seconds} * Frequency * Signals);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_ReadEDFFromMemory)->Arg(10)->Arg(300)->Unit(benchmark::kMicrosecond);

void BM_ReadEDFFile(benchmark::State &state) {
    const auto seconds = static_cast<int>(state.range(0));
    const std::vector<std::uint8_t> file = MakeRecording(seconds);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("ecg_bench_" + std::to_string(seconds) + "_" + std::to_string(::getpid()) + ".edf");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(file.data()),
               static_cast<std::streamsize>(file.size()));
    const auto name = path.u16string();
    for (auto _ : state) {
        ecg::TEDFImportHelper reader;
        reader.readEDF(name);
        std::unique_ptr<ecg::TM12ECGObj> record = reader.getM12ECG();
        benchmark::DoNotOptimize(record->GetECG(2, 1));
    }
    std::filesystem::remove(path);
    state.SetItemsProcessed(state.iterations() * int64_t{seconds} * Frequency * Signals);
}
BENCHMARK(BM_ReadEDFFile)->Arg(10)->Arg(300)->Unit(benchmark::kMicrosecond);

// The conditioner's first step, for comparison: cloning a record through its packed form.
void BM_CloneRecord(benchmark::State &state) {
    const auto seconds = static_cast<int>(state.range(0));
    ecg::TEDFImportHelper reader;
    reader.readEDFFromMemory(MakeRecording(seconds));
    std::unique_ptr<ecg::TM12ECGObj> record = reader.getM12ECG();
    for (auto _ : state) {
        ecg::TM12ECGObj clone;
        clone.Clone(*record);
        benchmark::DoNotOptimize(clone.GetECG(2, 1));
    }
    state.SetItemsProcessed(state.iterations() * int64_t{seconds} * Frequency * Signals);
}
BENCHMARK(BM_CloneRecord)->Arg(10)->Arg(300)->Unit(benchmark::kMicrosecond);

} // namespace
