// Saving and loading documents of 1,000, 10,000 and 50,000 paragraphs of Russian text in 10
// styles in the native format, text and binary mode, beside Qt's rich-text round trip of the
// same text (QTextDocument::toHtml and setHtml) in one run: time per paragraph, the saved size
// and the heap the result holds.
#include "bench/BenchDocument.h"
#include "bench/QtApplication.h"
#include "bench/RussianText.h"
#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDStyle.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <malloc.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kStyles = 10;

using wbbench::TBenchDocument;
using wbbench::TBenchSheet;

std::vector<std::u16string> Paragraphs(int32_t count) {
    return wbbench::RussianSentences(count, {u"электрокардиограмма", u"ритм", u"синусовый",
                                             u"блокада", u"ножки", u"пучка", u"Гиса", u"отведение",
                                             u"зубец", u"комплекс", u"чувствительность",
                                             u"специфичность", u"программа", u"отчет", u"код"});
}

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// Heap held since before; 0 when the operation gave back more than it took (memory freed
// from earlier runs).
size_t HeapHeldSince(size_t before) {
    const size_t now = HeapInUse();
    return now > before ? now - before : 0;
}

void Fill(TBenchDocument &doc, const std::vector<std::u16string> &paragraphs) {
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        doc.AddNL(paragraphs[i], static_cast<int32_t>(i % kStyles), 0);
    }
}

vizivodu::TVDFOptions Options(bool binary) {
    return binary ? vizivodu::TVDFOptions{vizivodu::vdfoSaveBinary} : vizivodu::TVDFOptions{};
}

void Report(benchmark::State &state, size_t fileBytes, size_t heapBytes) {
    const double n = double(state.range(0));
    state.counters["file_bytes"] = double(fileBytes);
    state.counters["heap_bytes"] = double(heapBytes);
    state.counters["ns_per_paragraph"] = benchmark::Counter(
        n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void SaveVDF(benchmark::State &state, bool binary) {
    TBenchSheet sheet(kStyles);
    TBenchDocument doc(&sheet.Style);
    Fill(doc, Paragraphs(static_cast<int32_t>(state.range(0))));
    doc.SetVDFOptions(Options(binary));
    size_t fileBytes = 0;
    size_t heapBytes = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        vizivodu::TVDMemoryStream stream;
        doc.SaveVDFToStream(stream, false, 0, nullptr, nullptr, true);
        fileBytes = static_cast<size_t>(stream.GetSize());
        heapBytes = HeapHeldSince(before);
    }
    Report(state, fileBytes, heapBytes);
}

void LoadVDF(benchmark::State &state, bool binary) {
    TBenchSheet sheet(kStyles);
    vizivodu::TVDMemoryStream stream;
    {
        TBenchDocument source(&sheet.Style);
        Fill(source, Paragraphs(static_cast<int32_t>(state.range(0))));
        source.SetVDFOptions(Options(binary));
        source.SaveVDFToStream(stream, false, 0, nullptr, nullptr, true);
    }
    size_t heapBytes = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        TBenchDocument doc(&sheet.Style);
        doc.SetVDFOptions(Options(binary));
        stream.SetPosition(0);
        uint32_t color = 0;
        benchmark::DoNotOptimize(doc.LoadVDFFromStream(stream, color, nullptr, nullptr));
        heapBytes = HeapHeldSince(before);
        state.PauseTiming();
        doc.Clear();
        state.ResumeTiming();
    }
    Report(state, static_cast<size_t>(stream.GetSize()), heapBytes);
}

void BM_VDFSaveText(benchmark::State &state) {
    SaveVDF(state, false);
}
void BM_VDFSaveBinary(benchmark::State &state) {
    SaveVDF(state, true);
}
void BM_VDFLoadText(benchmark::State &state) {
    LoadVDF(state, false);
}
void BM_VDFLoadBinary(benchmark::State &state) {
    LoadVDF(state, true);
}

// The same paragraphs in Qt, each with one of 10 character formats.
std::unique_ptr<QTextDocument> QtDocument(int32_t count) {
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor cursor(doc.get());
    const char *fonts[] = {"Arial", "Times New Roman", "Courier New", "Tahoma"};
    bool first = true;
    int i = 0;
    for (const std::u16string &p : Paragraphs(count)) {
        if (!first) {
            cursor.insertBlock();
        }
        first = false;
        QTextCharFormat format;
        format.setFontFamilies({QString::fromLatin1(fonts[i % 4])});
        format.setFontPointSize(8 + i % kStyles);
        cursor.insertText(QString::fromUtf16(p.data(), qsizetype(p.size())), format);
        ++i;
    }
    return doc;
}

void BM_QtToHtml(benchmark::State &state) {
    wbbench::EnsureQtApp();
    std::unique_ptr<QTextDocument> doc = QtDocument(static_cast<int32_t>(state.range(0)));
    size_t fileBytes = 0;
    size_t heapBytes = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        const QByteArray html = doc->toHtml().toUtf8();
        fileBytes = static_cast<size_t>(html.size());
        heapBytes = HeapHeldSince(before);
    }
    Report(state, fileBytes, heapBytes);
}

void BM_QtSetHtml(benchmark::State &state) {
    wbbench::EnsureQtApp();
    const QString html = QtDocument(static_cast<int32_t>(state.range(0)))->toHtml();
    size_t heapBytes = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        {
            QTextDocument doc;
            doc.setHtml(html);
            heapBytes = HeapHeldSince(before);
            benchmark::DoNotOptimize(doc.blockCount());
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    Report(state, static_cast<size_t>(html.toUtf8().size()), heapBytes);
}

void Sizes(benchmark::internal::Benchmark *b) {
    b->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_VDFSaveText)->Apply(Sizes);
BENCHMARK(BM_VDFSaveBinary)->Apply(Sizes);
BENCHMARK(BM_QtToHtml)->Apply(Sizes);
BENCHMARK(BM_VDFLoadText)->Apply(Sizes);
BENCHMARK(BM_VDFLoadBinary)->Apply(Sizes);
BENCHMARK(BM_QtSetHtml)->Apply(Sizes);
