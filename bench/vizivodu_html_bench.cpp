// Writing documents of 1,000, 10,000 and 50,000 paragraphs of Russian text in 10 styles, with a
// 3 x 3 table after every 20 paragraphs, as HTML with font tags and with CSS, beside Qt's
// QTextDocument::toHtml of the same text and tables in one run: time per paragraph and size.
#include "bench/BenchDocument.h"
#include "bench/QtApplication.h"
#include "bench/RussianText.h"
#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/formats/html/VDHTMLSave.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include <benchmark/benchmark.h>

#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
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

void Fill(TBenchDocument &doc, const std::vector<std::u16string> &paragraphs) {
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        doc.AddNL(paragraphs[i], static_cast<int32_t>(i % kStyles), 0);
        if (i % kTableEvery == kTableEvery - 1) {
            auto table = vizivodu::TVDTableItemInfo::CreateEx(3, 3, &doc);
            for (int32_t r = 0; r < 3; ++r) {
                for (int32_t c = 0; c < 3; ++c) {
                    vizivodu::TVDTableCellData &cell = *table->GetCells(r, c);
                    cell.Clear();
                    cell.AddNL(u"ячейка " + std::u16string(1, char16_t(u'1' + r * 3 + c)), 0, 0);
                }
            }
            doc.AddItem(u"", std::move(table));
        }
    }
}

void Report(benchmark::State &state, size_t fileBytes) {
    state.counters["file_bytes"] = double(fileBytes);
    state.counters["ns_per_paragraph"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

void SaveHTML(benchmark::State &state, bool css) {
    TBenchSheet sheet(kStyles);
    TBenchDocument doc(&sheet.Style);
    Fill(doc, Paragraphs(static_cast<int32_t>(state.range(0))));
    size_t fileBytes = 0;
    for (auto _ : state) {
        vizivodu::TVDMemoryStream stream;
        vizivodu::TVDHTMLSaveParams params;
        params.Options = {vizivodu::vdsoUTF8};
        const bool ok =
            css ? doc.SaveHTMLToStreamEx(stream, params) : doc.SaveHTMLToStream(stream, params);
        if (!ok) {
            state.SkipWithError("HTML export failed");
            break;
        }
        fileBytes = static_cast<size_t>(stream.GetSize());
    }
    Report(state, fileBytes);
}

void BM_HTMLFontTags(benchmark::State &state) {
    SaveHTML(state, false);
}
void BM_HTMLCSS(benchmark::State &state) {
    SaveHTML(state, true);
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
                    table->cellAt(r, c).firstCursorPosition().insertText(
                        QString::fromUtf8("ячейка ") + QChar(u'1' + r * 3 + c));
                }
            }
            cursor.movePosition(QTextCursor::End);
        }
        ++i;
    }
    return doc;
}

void BM_QtToHtml(benchmark::State &state) {
    wbbench::EnsureQtApp();
    std::unique_ptr<QTextDocument> doc = QtDocument(static_cast<int32_t>(state.range(0)));
    size_t fileBytes = 0;
    for (auto _ : state) {
        const QByteArray html = doc->toHtml().toUtf8();
        fileBytes = static_cast<size_t>(html.size());
    }
    Report(state, fileBytes);
}

void Sizes(benchmark::internal::Benchmark *b) {
    b->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_HTMLFontTags)->Apply(Sizes);
BENCHMARK(BM_HTMLCSS)->Apply(Sizes);
BENCHMARK(BM_QtToHtml)->Apply(Sizes);
