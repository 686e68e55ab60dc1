// The canvas's text measuring against Qt's per-character advances on 1 MB of Russian text, and
// the playback of a recorded report-like page of a few thousand operations.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Metafile.h"
#include "platform/gfx/Printers.h"

#include <benchmark/benchmark.h>

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QString>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace gfx;

namespace {

// 1 MiB of UTF-16 text (524,288 units) of Russian words and punctuation, fixed seed.
const std::u16string &RussianText() {
    static const std::u16string text = [] {
        const std::u16string words[] = {
            u"электрокардиограмма",
            u"отведение",
            u"ритм",
            u"синусовый",
            u"блокада",
            u"ножки",
            u"пучка",
            u"Гиса",
            u"зубец",
            u"интервал",
            u"комплекс",
            u"частота",
            u"сокращений",
            u"в",
            u"и",
            u"на",
            u"с",
            u"программа",
            u"оценка",
            u"чувствительность",
        };
        std::mt19937 rng(2024);
        std::uniform_int_distribution<size_t> pick(0, std::size(words) - 1);
        std::u16string t;
        while (t.size() < 524288) {
            t += words[pick(rng)];
            t += (rng() % 11 == 0) ? u", " : u" ";
        }
        t.resize(524288);
        return t;
    }();
    return text;
}

struct TQtApp {
    TQtApp() {
        static int argc = 1;
        static char name[] = "gfx_bench";
        static char *argv[] = {name, nullptr};
        if (!QGuiApplication::instance()) {
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
            new QGuiApplication(argc, argv);
        }
    }
};

void Bytes(benchmark::State &state, size_t perIteration) {
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(perIteration));
}

// Ours: the cumulative extent after every character, in one call over the whole text.
void BM_CanvasExtentsWhole(benchmark::State &state) {
    TBitmap b(8, 8);
    TCanvas &c = b.GetCanvas();
    c.GetFont().SetName(u"Arial");
    c.GetFont().SetHeight(-13);
    const std::u16string &text = RussianText();
    std::vector<int32_t> dx;
    for (auto _ : state) {
        c.GetTextExtentExPoint(text, -1, nullptr, &dx);
        benchmark::DoNotOptimize(dx.back());
    }
    Bytes(state, text.size() * 2);
}
BENCHMARK(BM_CanvasExtentsWhole)->Unit(benchmark::kMillisecond);

// Ours, as line layout asks: runs of 64 characters, each measured with its edges.
void BM_CanvasExtentsRuns(benchmark::State &state) {
    TBitmap b(8, 8);
    TCanvas &c = b.GetCanvas();
    c.GetFont().SetName(u"Arial");
    c.GetFont().SetHeight(-13);
    const std::u16string_view text = RussianText();
    std::vector<int32_t> dx;
    for (auto _ : state) {
        int64_t sum = 0;
        for (size_t at = 0; at < text.size(); at += 64) {
            c.GetTextExtentExPoint(text.substr(at, 64), -1, nullptr, &dx);
            sum += dx.back();
        }
        benchmark::DoNotOptimize(sum);
    }
    Bytes(state, text.size() * 2);
}
BENCHMARK(BM_CanvasExtentsRuns)->Unit(benchmark::kMillisecond);

// The peer: Qt's advance of every character, summed into the same cumulative extents.
void BM_QtHorizontalAdvancePerCharacter(benchmark::State &state) {
    TQtApp app;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(font);
    const std::u16string &text = RussianText();
    std::vector<double> edges(text.size());
    for (auto _ : state) {
        double x = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            x += metrics.horizontalAdvance(QChar(text[i]));
            edges[i] = x;
        }
        benchmark::DoNotOptimize(edges.back());
    }
    Bytes(state, text.size() * 2);
}
BENCHMARK(BM_QtHorizontalAdvancePerCharacter)->Unit(benchmark::kMillisecond);

// A page as a report has it, recorded at 600 dpi on the PDF printer's A4 sheet: 100 rows of a
// table, each with a fill, a rule, eight cell borders and its words (each word one text
// operation); about 3,000 operations.
const TMetafile &RecordedPage() {
    static const TMetafile page = [] {
        TMetafile mf;
        TPrinter printer;
        printer.SetSystemPrintersForTesting({});
        const std::unique_ptr<TCanvas> reference = printer.CreateInformationCanvas();
        mf.SetWidth(reference->GetDeviceCaps(HORZRES));
        mf.SetHeight(reference->GetDeviceCaps(VERTRES));
        TMetafileCanvas c(mf, *reference);
        c.GetFont().SetName(u"Arial");
        c.GetFont().SetHeight(-50); // 6 points at 600 dpi
        const std::u16string_view text = RussianText();
        size_t at = 0;
        for (int row = 0; row < 100; ++row) {
            const int y = 236 + row * 66;
            c.GetBrush().SetStyle(bsSolid);
            c.GetBrush().SetColor(row % 2 ? clWhite : clSilver);
            c.FillRect(Rect(236, y, 4724, y + 66));
            c.GetBrush().SetStyle(bsClear);
            c.GetPen().SetWidth(row % 5 == 0 ? 5 : 1);
            c.MoveTo(236, y);
            c.LineTo(4724, y);
            c.GetPen().SetWidth(1);
            for (int cell = 0; cell <= 8; ++cell) {
                c.MoveTo(236 + cell * 561, y);
                c.LineTo(236 + cell * 561, y + 66);
            }
            int x = 246;
            while (x < 4600) {
                const size_t space = text.find(u' ', at);
                const std::u16string word(text.substr(at, space - at));
                at = space + 1;
                c.TextOut(x, y + 8, word);
                x += c.TextWidth(word + u" ");
            }
        }
        return mf;
    }();
    return page;
}

void BM_PlaybackOnAnInformationDevice(benchmark::State &state) {
    const TMetafile &page = RecordedPage();
    TDeviceCaps caps;
    caps.HorzRes = caps.PhysicalWidth = 794;
    caps.VertRes = caps.PhysicalHeight = 1123;
    TCanvas c(NewInformationDevice(caps));
    for (auto _ : state) {
        page.Play(c, Rect(0, 0, 794, 1123));
    }
    state.counters["operations"] = double(page.GetOperationCount());
}
BENCHMARK(BM_PlaybackOnAnInformationDevice)->Unit(benchmark::kMillisecond);

void BM_PlaybackOnScreenPixels(benchmark::State &state) {
    const TMetafile &page = RecordedPage();
    TBitmap screen(794, 1123); // A4 at 96 pixels per inch, as the preview shows it
    for (auto _ : state) {
        screen.GetCanvas().Draw(0, 0, page);
    }
    state.counters["operations"] = double(page.GetOperationCount());
}
BENCHMARK(BM_PlaybackOnScreenPixels)->Unit(benchmark::kMillisecond);

} // namespace
