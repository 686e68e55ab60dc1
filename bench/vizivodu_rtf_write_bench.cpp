// RTF writing: documents of Russian paragraphs in ten text styles with a three-by-three table
// every hundred paragraphs, written as RTF into memory (bytes per second, time per paragraph),
// beside LibreOffice converting the same content (our RTF file) to RTF as a whole process.
#include "bench/BenchDocument.h"
#include "bench/RussianText.h"
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Text.h"
#include "vizivodu/tables/VDTable.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include "platform/rtl/Classes.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

using namespace vizivodu;

void AddTenStyles(TVDStyle &style) {
    const char16_t *fonts[] = {u"Arial", u"Times New Roman", u"Courier New"};
    for (int32_t i = 1; i < 10; ++i) {
        TFontInfo &t = style.GetTextStyles().Add();
        t.SetFontName(fonts[i % 3]);
        t.SetSizeDouble(18 + 2 * i);
        t.SetCharset(204);
        gfx::TFontStyles fs;
        if (i % 2 == 0) {
            fs.Include(gfx::fsBold);
        }
        if (i % 3 == 0) {
            fs.Include(gfx::fsItalic);
        }
        t.SetStyle(fs);
    }
}

struct TBenchInput {
    TVDStyle Style{nullptr};
    std::unique_ptr<wbbench::TBenchDocument> Doc;
};

void Fill(TBenchInput &in, int32_t paragraphs) {
    AddTenStyles(in.Style);
    in.Doc = std::make_unique<wbbench::TBenchDocument>(&in.Style);
    const auto sentences = wbbench::RussianSentences(
        paragraphs, {u"отчёт", u"сигнал", u"отведение", u"ритм", u"частота", u"интервал",
                     u"комплекс", u"зубец", u"амплитуда", u"Ёмкость", u"пациент", u"запись"});
    for (int32_t i = 0; i < paragraphs; ++i) {
        in.Doc->AddNL(sentences[size_t(i)], i % 10, 0);
        if (i % 100 == 99) {
            auto table = TVDTableItemInfo::CreateEx(3, 3, in.Doc.get());
            for (int32_t r = 0; r < 3; ++r) {
                for (int32_t c = 0; c < 3; ++c) {
                    table->GetCells(r, c)->Clear();
                    table->GetCells(r, c)->AddNL(sentences[size_t((i + r + c) % paragraphs)],
                                                 (r + c) % 10, 0);
                }
            }
            in.Doc->AddItem(u"", std::move(table));
        }
    }
}

void WriteTo(TCustomVDData &doc, rtl::TMemoryStream &stream) {
    TVDRTFSavingData saving;
    doc.SaveRTFToStream(stream, false, 0, gfx::clWindow, nullptr, saving, vdrtfdtMain, true, false,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}

std::string Write(TCustomVDData &doc) {
    rtl::TMemoryStream stream;
    WriteTo(doc, stream);
    return std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                       size_t(stream.GetSize()));
}

void BM_RTFWrite(benchmark::State &state) {
    TBenchInput in;
    Fill(in, int32_t(state.range(0)));
    // One stream for every run, as a file's buffer would be: its growth is not the writer's.
    rtl::TMemoryStream stream;
    WriteTo(*in.Doc, stream);
    size_t bytes = 0;
    for (auto _ : state) {
        stream.SetSize(0);
        WriteTo(*in.Doc, stream);
        bytes = size_t(stream.GetSize());
        benchmark::DoNotOptimize(stream.GetMemory());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.counters["paragraphs"] = double(state.range(0));
    state.counters["per_paragraph"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}
BENCHMARK(BM_RTFWrite)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

// LibreOffice reading our RTF of the same content and writing it as RTF (its start-up
// included), with a profile folder of its own.
void BM_LibreOfficeWritesRTF(benchmark::State &state) {
    if (std::system("command -v soffice > /dev/null 2>&1") != 0) {
        state.SkipWithError("soffice is not installed");
        return;
    }
    TBenchInput in;
    Fill(in, int32_t(state.range(0)));
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vd_rtf_write_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "out");
    std::ofstream(dir / "in.rtf", std::ios::binary) << Write(*in.Doc);
    const std::string cmd = "cd '" + dir.string() + "' && soffice -env:UserInstallation=file://" +
                            dir.string() + "/profile --headless --convert-to rtf --outdir out " +
                            "in.rtf > /dev/null 2>&1";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("soffice failed");
            break;
        }
    }
    const auto size = std::filesystem::exists(dir / "out/in.rtf")
                          ? int64_t(std::filesystem::file_size(dir / "out/in.rtf"))
                          : 0;
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LibreOfficeWritesRTF)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
