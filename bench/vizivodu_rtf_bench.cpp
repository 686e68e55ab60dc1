// RTF reading: the parser alone and reading into a document, on generated Russian RTF (text
// in code page 1251 and as \u, bold and italic runs, paragraph styles, table rows), beside
// pandoc's reading of the same file (whole process, -f rtf -t plain) when pandoc is installed.
#include "bench/RussianText.h"
#include "tests/vizivodu/DocumentTestSupport.h"
#include "vizivodu/formats/rtf/VDRTFProps.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
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

// paragraphs paragraphs; every 10th a heading, every 20th a two-cell table row.
std::string MakeRTF(int32_t paragraphs) {
    const auto sentences = wbbench::RussianSentences(
        paragraphs, {u"отчёт", u"сигнал", u"отведение", u"ритм", u"частота", u"интервал",
                     u"комплекс", u"зубец", u"амплитуда", u"Ёмкость", u"пациент", u"запись"});
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\froman\\fcharset204 "
                      "Times New Roman;}{\\f1\\fswiss\\fcharset204 Arial;}}"
                      "{\\colortbl;\\red192\\green0\\blue0;}\n";
    for (int32_t i = 0; i < paragraphs; ++i) {
        const std::u16string &s = sentences[size_t(i)];
        if (i % 20 == 19) {
            rtf += "\\trowd\\cellx3000\\cellx6000\\pard\\intbl " + HexCp1251(s.substr(0, 20)) +
                   "\\cell " + UnicodeEscapes(s.substr(20)) + "\\cell\\row\n";
        } else if (i % 10 == 0) {
            rtf += "\\pard\\sb240\\sa120\\f1\\fs32\\b " + HexCp1251(s) + "\\b0\\fs24\\par\n";
        } else {
            const size_t half = s.size() / 2;
            rtf += "\\pard\\fi360\\qj\\f0 " + HexCp1251(s.substr(0, half)) + "{\\i\\cf1 " +
                   UnicodeEscapes(s.substr(half)) + "}\\par\n";
        }
    }
    return rtf + "}";
}

const std::string &Rtf() {
    static const std::string rtf = MakeRTF(10000);
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
    rtl::TMemoryStream stream;
    stream.Write(Rtf().data(), int32_t(Rtf().size()));
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
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Rtf().size()));
}
BENCHMARK(BM_RTFIntoDocument)
    ->Arg(vdrsUseClosest)
    ->Arg(vdrsAddIfNeeded)
    ->ArgName("styleMode")
    ->Unit(benchmark::kMillisecond);

// The same file read by pandoc as a whole process (its start-up included).
void BM_PandocReadsRTF(benchmark::State &state) {
    if (std::system("command -v pandoc > /dev/null 2>&1") != 0) {
        state.SkipWithError("pandoc is not installed");
        return;
    }
    const std::string path = "/tmp/vizivodu_rtf_bench.rtf";
    std::ofstream(path, std::ios::binary) << Rtf();
    const std::string cmd = "pandoc -f rtf -t plain " + path + " > /dev/null";
    for (auto _ : state) {
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("pandoc failed");
        }
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Rtf().size()));
}
BENCHMARK(BM_PandocReadsRTF)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
