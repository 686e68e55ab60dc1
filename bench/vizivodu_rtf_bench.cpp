// RTF reading: the parser alone and reading into a document, on generated Russian RTF of 1, 10
// and 50 MB (text in code page 1251 and as \u, bold and italic runs, paragraph styles, lists,
// table rows), beside pandoc, LibreOffice and unrtf converting the 10 MB file to text (whole
// process) when they are installed.
#include "bench/RussianText.h"
#include "tests/vizivodu/DocumentTestSupport.h"
#include "vizivodu/formats/rtf/VDRTFProps.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

namespace {

using namespace vizivodu;

std::string HexCp1251(const std::u16string &s) {
    static const char *hex = "0123456789abcdef";
    std::string out;
    for (char16_t c : s) {
        uint8_t b;
        if (c < 0x80) {
            out.push_back(char(c));
            continue;
        }
        b = c == u'ё' ? 0xB8 : (c == u'Ё' ? 0xA8 : uint8_t(c - 0x0410 + 0xC0));
        out += "\\'";
        out.push_back(hex[b >> 4]);
        out.push_back(hex[b & 15]);
    }
    return out;
}

std::string UnicodeEscapes(const std::u16string &s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out.push_back(char(c));
        } else {
            out += "\\u" + std::to_string(int(c)) + "?";
        }
    }
    return out;
}

// About targetBytes of RTF: a style sheet and a list table, then paragraphs of which every
// 10th is a heading, every 20th a two-cell table row and every 5th of the others a numbered or
// bulleted list paragraph.
std::string MakeRTF(size_t targetBytes) {
    const auto sentences = wbbench::RussianSentences(
        10000, {u"отчёт", u"сигнал", u"отведение", u"ритм", u"частота", u"интервал", u"комплекс",
                u"зубец", u"амплитуда", u"Ёмкость", u"пациент", u"запись"});
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\froman\\fcharset204 "
        "Times New Roman;}{\\f1\\fswiss\\fcharset204 Arial;}{\\f2\\fcharset2 Symbol;}}"
        "{\\colortbl;\\red192\\green0\\blue0;}\n"
        "{\\stylesheet{\\s0 Normal;}{\\s1\\sb240\\sa120\\f1\\fs32\\b heading 1;}}\n"
        "{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat1\\fi-360\\li720"
        "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}\\listid1}"
        "{\\list{\\listlevel\\levelnfc23\\f2\\fi-360\\li720{\\leveltext\\'01\\u-3913 ?;}}"
        "\\listid2}}{\\listoverridetable{\\listoverride\\listid1\\ls1}"
        "{\\listoverride\\listid2\\ls2}}\n";
    for (size_t i = 0; rtf.size() < targetBytes; ++i) {
        const std::u16string &s = sentences[i % sentences.size()];
        if (i % 20 == 19) {
            rtf += "\\trowd\\cellx3000\\cellx6000\\pard\\intbl " + HexCp1251(s.substr(0, 20)) +
                   "\\cell " + UnicodeEscapes(s.substr(20)) + "\\cell\\row\n";
        } else if (i % 10 == 0) {
            rtf += "\\pard\\s1\\sb240\\sa120\\f1\\fs32\\b " + HexCp1251(s) + "\\b0\\fs24\\par\n";
        } else if (i % 5 == 2) {
            rtf += std::string("\\pard\\ls") + (i % 2 == 0 ? "1" : "2") +
                   "\\ilvl0\\fi-360\\li720\\f0 " + HexCp1251(s) + "\\par\n";
        } else {
            const size_t half = s.size() / 2;
            rtf += "\\pard\\fi360\\qj\\f0 " + HexCp1251(s.substr(0, half)) + "{\\i\\cf1 " +
                   UnicodeEscapes(s.substr(half)) + "}\\par\n";
        }
    }
    return rtf + "}";
}

constexpr size_t MB = 1u << 20;

// The files of 1, 10 and 50 MB, made on first use (the same rate at each size means a time per
// megabyte that stays flat).
const std::string &Rtf(size_t megabytes = 10) {
    static std::map<size_t, std::string> files;
    std::string &rtf = files[megabytes];
    if (rtf.empty()) {
        rtf = MakeRTF(megabytes * MB);
    }
    return rtf;
}

void BM_RTFParserOnly(benchmark::State &state) {
    rtl::TMemoryStream stream;
    stream.Write(Rtf().data(), int32_t(Rtf().size()));
    for (auto _ : state) {
        TVDRTFReader reader;
        size_t chars = 0;
        reader.OnNewText = [&](TVDRTFReader &, const TVDAnsiString &t, TVDRTFPosition) {
            chars += t.size();
        };
        reader.OnNewUnicodeText = [&](TVDRTFReader &, const TVDUnicodeString &t, TVDRTFPosition) {
            chars += t.size();
        };
        stream.SetPosition(0);
        if (reader.ReadFromStream(stream) != rtf_ec_OK) {
            state.SkipWithError("read failed");
        }
        benchmark::DoNotOptimize(chars);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Rtf().size()));
}
BENCHMARK(BM_RTFParserOnly)->Unit(benchmark::kMillisecond);

void BM_RTFIntoDocument(benchmark::State &state) {
    const std::string &rtf = Rtf(size_t(state.range(1)));
    rtl::TMemoryStream stream;
    stream.Write(rtf.data(), int32_t(rtf.size()));
    TVDStyle style(nullptr);
    for (auto _ : state) {
        test::TTestDocument doc(&style);
        TVDRTFReaderProperties props;
        props.TextStyleMode = TVDReaderStyleMode(state.range(0));
        props.ParaStyleMode = TVDReaderStyleMode(state.range(0));
        stream.SetPosition(0);
        if (props.ReadFromStream(stream, doc, false) != rtf_ec_OK) {
            state.SkipWithError("read failed");
        }
        state.counters["items"] = doc.ItemCount();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(rtf.size()));
}
BENCHMARK(BM_RTFIntoDocument)
    ->Args({vdrsUseClosest, 10})
    ->Args({vdrsAddIfNeeded, 1})
    ->Args({vdrsAddIfNeeded, 10})
    ->Args({vdrsAddIfNeeded, 50})
    ->ArgNames({"styleMode", "MB"})
    ->Unit(benchmark::kMillisecond);

// The 10 MB file converted to text by another program as a whole process (its start-up
// included); skipped when the program is not installed.
void RunPeer(benchmark::State &state, const char *tool, const std::string &command) {
    if (std::system(("command -v " + std::string(tool) + " > /dev/null 2>&1").c_str()) != 0) {
        state.SkipWithError((std::string(tool) + " is not installed").c_str());
        return;
    }
    const std::string path = "/tmp/vizivodu_rtf_bench.rtf";
    std::ofstream(path, std::ios::binary) << Rtf();
    const std::string cmd = command + " " + path + " > /dev/null 2>&1";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError((std::string(tool) + " failed").c_str());
        }
    }
    std::remove(path.c_str());
    std::system("rm -rf /tmp/vizivodu_rtf_bench_lo /tmp/vizivodu_rtf_bench.txt");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Rtf().size()));
}

void BM_PandocReadsRTF(benchmark::State &state) {
    RunPeer(state, "pandoc", "pandoc -f rtf -t plain");
}
BENCHMARK(BM_PandocReadsRTF)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_LibreOfficeReadsRTF(benchmark::State &state) {
    RunPeer(state, "soffice",
            "soffice -env:UserInstallation=file:///tmp/vizivodu_rtf_bench_lo --headless "
            "--convert-to txt:Text --outdir /tmp");
}
BENCHMARK(BM_LibreOfficeReadsRTF)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_UnrtfReadsRTF(benchmark::State &state) {
    RunPeer(state, "unrtf", "unrtf --text");
}
BENCHMARK(BM_UnrtfReadsRTF)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
