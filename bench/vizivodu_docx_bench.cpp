// Writing documents of 1,000, 10,000 and 50,000 paragraphs of Russian text in 10 styles, with a
// 3 x 3 table after every 20 paragraphs, as DOCX packages, beside Qt's QTextDocumentWriter
// writing the same text and tables as ODF in one run: time per paragraph and size.
#include "bench/BenchDocument.h"
#include "bench/QtApplication.h"
#include "bench/RussianText.h"
#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/formats/ooxml/VDDocXPackage.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextTable>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kStyles = 10;
constexpr int kTableEvery = 20;

using wbbench::TBenchDocument;
using wbbench::TBenchSheet;

std::vector<std::u16string> Paragraphs(int32_t count) {
    return wbbench::RussianSentences(count, {u"электрокардиограмма", u"ритм", u"синусовый",
                                             u"блокада", u"ножки", u"пучка", u"отведение", u"зубец",
                                             u"комплекс", u"чувствительность", u"специфичность",
                                             u"программа", u"отчет", u"код"});
}

std::u16string CellText(int32_t r, int32_t c) {
    return u"ячейка " + std::u16string(1, char16_t(u'1' + r * 3 + c));
}

void Fill(TBenchDocument &doc, const std::vector<std::u16string> &paragraphs) {
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        doc.AddNL(paragraphs[i], static_cast<int32_t>(i % kStyles), 0);
        if (i % kTableEvery != kTableEvery - 1) {
            continue;
        }
        auto table = vizivodu::TVDTableItemInfo::CreateEx(3, 3, &doc);
        for (int32_t r = 0; r < 3; ++r) {
            for (int32_t c = 0; c < 3; ++c) {
                vizivodu::TVDTableCellData &cell = *table->GetCells(r, c);
                cell.Clear();
                cell.AddNL(CellText(r, c), 0, 0);
            }
        }
        doc.AddItem(u"", std::move(table));
    }
}

void Report(benchmark::State &state, size_t fileBytes) {
    state.counters["file_bytes"] = double(fileBytes);
    state.counters["us_per_paragraph"] = benchmark::Counter(
        double(state.range(0)) / 1e6,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_DocX(benchmark::State &state) {
    TBenchSheet sheet(kStyles);
    TBenchDocument doc(&sheet.Style);
    Fill(doc, Paragraphs(static_cast<int32_t>(state.range(0))));
    size_t fileBytes = 0;
    for (auto _ : state) {
        vizivodu::TVDMemoryStream stream;
        vizivodu::TVDDocXPackageSource source;
        source.Data = &doc;
        if (!vizivodu::SaveDocXPackage(stream, source)) {
            state.SkipWithError("DOCX export failed");
            break;
        }
        fileBytes = static_cast<size_t>(stream.GetSize());
    }
    Report(state, fileBytes);
}

std::unique_ptr<QTextDocument> QtDocument(int32_t count) {
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor cursor(doc.get());
    const char *fonts[] = {"Arial", "Times New Roman", "Courier New", "Tahoma"};
    int i = 0;
    for (const std::u16string &p : Paragraphs(count)) {
        if (i > 0) {
            cursor.insertBlock();
        }
        QTextCharFormat format;
        format.setFontFamilies({QString::fromLatin1(fonts[i % 4])});
        format.setFontPointSize(8 + i % kStyles);
        cursor.insertText(QString::fromUtf16(p.data(), qsizetype(p.size())), format);
        if (i % kTableEvery == kTableEvery - 1) {
            QTextTable *table = cursor.insertTable(3, 3);
            for (int r = 0; r < 3; ++r) {
                for (int c = 0; c < 3; ++c) {
                    const std::u16string text = CellText(r, c);
                    table->cellAt(r, c).firstCursorPosition().insertText(
                        QString::fromUtf16(text.data(), qsizetype(text.size())));
                }
            }
            cursor.movePosition(QTextCursor::End);
        }
        ++i;
    }
    return doc;
}

void BM_QtODF(benchmark::State &state) {
    wbbench::EnsureQtApp();
    std::unique_ptr<QTextDocument> doc = QtDocument(static_cast<int32_t>(state.range(0)));
    size_t fileBytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QTextDocumentWriter writer(&buffer, "ODF");
        if (!writer.write(doc.get())) {
            state.SkipWithError("ODF export failed");
            break;
        }
        fileBytes = static_cast<size_t>(buffer.size());
    }
    Report(state, fileBytes);
}

void Sizes(benchmark::internal::Benchmark *b) {
    b->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_DocX)->Apply(Sizes);
BENCHMARK(BM_QtODF)->Apply(Sizes);
