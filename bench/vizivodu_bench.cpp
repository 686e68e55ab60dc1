// Building a document of 100,000 paragraphs of Russian text with AddNL, beside Qt's
// QTextCursor building the same paragraphs, in one run: time and heap bytes per paragraph.
#include "bench/BenchDocument.h"
#include "bench/QtApplication.h"
#include "bench/RussianText.h"
#include "vizivodu/VDStartup.h"
#include "vizivodu/document/CVDData.h"
#include "vizivodu/styles/VDStyle.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QTextCursor>
#include <QTextDocument>

#include <malloc.h>

#include <string>
#include <vector>

namespace {

constexpr int kParagraphs = 100000;

using wbbench::TBenchDocument;

// Paragraphs of a report: Russian sentences of 40 to 90 characters, made from a fixed list.
const std::vector<std::u16string> &Paragraphs() {
    static const std::vector<std::u16string> paragraphs = wbbench::RussianSentences(
        kParagraphs, {u"электрокардиограмма", u"ритм", u"синусовый", u"блокада", u"ножки", u"пучка",
                      u"Гиса", u"отведение", u"зубец", u"комплекс", u"чувствительность",
                      u"специфичность", u"программа", u"отчет", u"код"});
    return paragraphs;
}

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

void BuildWithAddNL(benchmark::State &state, bool ansiStyle) {
    vizivodu::InitializeLibrary();
    vizivodu::TVDStyle style(nullptr);
    int32_t styleNo = 0;
    if (ansiStyle) {
        vizivodu::TFontInfo &cyrillic = style.GetTextStyles().Add();
        cyrillic.SetUnicode(false);
        cyrillic.SetCharset(204);
        styleNo = cyrillic.GetIndex();
    }
    const auto &paragraphs = Paragraphs();
    size_t bytes = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        TBenchDocument doc(&style);
        for (const std::u16string &p : paragraphs) {
            doc.AddNL(p, styleNo, 0);
        }
        bytes = HeapInUse() - before;
        benchmark::DoNotOptimize(doc.ItemCount());
        state.PauseTiming();
        doc.Clear();
        state.ResumeTiming();
    }
    state.counters["bytes_per_paragraph"] = double(bytes) / kParagraphs;
    state.counters["ns_per_paragraph"] =
        benchmark::Counter(double(kParagraphs), benchmark::Counter::kIsIterationInvariantRate |
                                                    benchmark::Counter::kInvert);
}

void BM_AddNL_Unicode(benchmark::State &state) {
    BuildWithAddNL(state, false);
}

void BM_AddNL_Cyrillic1251(benchmark::State &state) {
    BuildWithAddNL(state, true);
}

void BM_QTextCursor(benchmark::State &state) {
    wbbench::EnsureQtApp();
    std::vector<QString> paragraphs;
    for (const std::u16string &p : Paragraphs()) {
        paragraphs.push_back(QString::fromUtf16(p.data(), qsizetype(p.size())));
    }
    size_t bytes = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        {
            QTextDocument doc;
            QTextCursor cursor(&doc);
            bool first = true;
            for (const QString &p : paragraphs) {
                if (!first) {
                    cursor.insertBlock();
                }
                first = false;
                cursor.insertText(p);
            }
            bytes = HeapInUse() - before;
            benchmark::DoNotOptimize(doc.blockCount());
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.counters["bytes_per_paragraph"] = double(bytes) / kParagraphs;
    state.counters["ns_per_paragraph"] =
        benchmark::Counter(double(kParagraphs), benchmark::Counter::kIsIterationInvariantRate |
                                                    benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_AddNL_Unicode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddNL_Cyrillic1251)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTextCursor)->Unit(benchmark::kMillisecond);
