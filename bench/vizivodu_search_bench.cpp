// Searching the rich-document library beside Qt's QTextDocument::find, in one run: a
// 50,000-paragraph Russian document searched from its start, ignoring case, for a word that
// stands only in one paragraph near its end (49,990). Both find the same single hit; ours also
// selects it. The ratio of interest is QTextDocument / ViziVodu.
#include "bench/RussianText.h"
#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDUnicode.h"

#include <benchmark/benchmark.h>

#include <QTextCursor>
#include <QTextDocument>

#include <string>
#include <vector>

namespace {

constexpr int32_t kParagraphs = 50000;
constexpr int32_t kTarget = 49990;
const std::u16string kWord = u"Фибрилляция";

// Russian sentences from a fixed seed; paragraph kTarget ends with kWord in lower case.
std::vector<std::u16string> MakeParagraphs() {
    std::vector<std::u16string> out = wbbench::RussianSentences(
        kParagraphs, {u"электрокардиограмма", u"ритм", u"синусовый", u"блокада", u"ножки", u"пучка",
                      u"Гиса", u"отведение", u"зубец", u"комплекс", u"норма", u"программа",
                      u"интервал", u"желудочков", u"предсердий", u"код"});
    out[kTarget] += u" фибрилляция";
    return out;
}

const std::vector<std::u16string> &Paragraphs() {
    static const std::vector<std::u16string> paragraphs = MakeParagraphs();
    return paragraphs;
}

void BM_Search_ViziVodu(benchmark::State &state) {
    vizivodu::test::TLayoutStyle style;
    vizivodu::test::TTestFormattedDocument doc(&style);
    for (const std::u16string &p : Paragraphs()) {
        doc.AddNL(p, 0, 0);
    }
    doc.Format(false, false);
    const vizivodu::TVDRawByteString s = vizivodu::StringToRawUnicode(kWord);
    for (auto _ : state) {
        doc.Deselect(nullptr, false);
        const bool found =
            doc.SearchTextR({vizivodu::vdsroDown, vizivodu::vdsroFromStart}, true, s);
        if (!found) {
            state.SkipWithError("not found");
        }
        benchmark::DoNotOptimize(found);
    }
    int32_t sn, en, so, eo;
    doc.StoreSelBounds(sn, en, so, eo, true);
    state.counters["item"] = sn;
}
BENCHMARK(BM_Search_ViziVodu)->Unit(benchmark::kMillisecond);

void BM_Search_QTextDocument(benchmark::State &state) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    bool first = true;
    for (const std::u16string &p : Paragraphs()) {
        if (!first) {
            cursor.insertBlock();
        }
        first = false;
        cursor.insertText(QString::fromUtf16(p.data(), qsizetype(p.size())));
    }
    const QString s = QString::fromUtf16(kWord.data(), qsizetype(kWord.size()));
    for (auto _ : state) {
        const QTextCursor hit = doc.find(s);
        if (hit.isNull()) {
            state.SkipWithError("not found");
        }
        benchmark::DoNotOptimize(hit);
    }
    state.counters["block"] = doc.find(s).blockNumber();
}
BENCHMARK(BM_Search_QTextDocument)->Unit(benchmark::kMillisecond);

} // namespace
