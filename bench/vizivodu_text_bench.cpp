// The text engine on 1 MB of Russian text in three styles: fit counting and extents of lines
// 600 pixels wide through both graphic interfaces, beside Qt's QTextLayout breaking the same
// paragraphs in the same fonts (timed alternately, the ratio ours / Qt reported); and lookups
// of the font info cache per second.
#include "vizivodu/VDStartup.h"
#include "vizivodu/layout/text/VDFontCache.h"
#include "vizivodu/layout/text/VDUniscribeGrIn.h"
#include "vizivodu/styles/VDStyle.h"

#include <benchmark/benchmark.h>

#include <QFont>
#include <QGuiApplication>
#include <QTextLayout>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace vizivodu;

constexpr int32_t kLineWidth = 600;
constexpr size_t kTextBytes = 1000000; // UTF-8

// A run of one style in a paragraph.
struct TStyledRun {
    size_t Start, Length;
    int32_t Style;
};

struct TParagraph {
    std::u16string Text;
    std::vector<TStyledRun> Runs;
};

// Paragraphs of 300 to 900 characters made of Russian words, in runs of 1 to 6 words of the
// three styles; fixed seed.
const std::vector<TParagraph> &Paragraphs() {
    static const std::vector<TParagraph> paragraphs = [] {
        const std::u16string words[] = {u"электрокардиограмма",
                                        u"ритм",
                                        u"синусовый",
                                        u"блокада",
                                        u"ножки",
                                        u"пучка",
                                        u"Гиса,",
                                        u"отведение",
                                        u"зубец",
                                        u"комплекс",
                                        u"QRS",
                                        u"чувствительность",
                                        u"специфичность",
                                        u"—",
                                        u"программа",
                                        u"отчет",
                                        u"код",
                                        u"и",
                                        u"в",
                                        u"не",
                                        u"предсердий;",
                                        u"желудочков",
                                        u"интервал",
                                        u"частота."};
        std::vector<TParagraph> out;
        uint32_t seed = 4711;
        auto next = [&seed](uint32_t n) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 16) % n;
        };
        size_t bytes = 0;
        while (bytes < kTextBytes) {
            TParagraph p;
            const size_t target = 300 + next(601);
            while (p.Text.size() < target) {
                const int32_t style = int32_t(next(3));
                const uint32_t count = 1 + next(6);
                const size_t start = p.Text.size();
                for (uint32_t w = 0; w < count; ++w) {
                    p.Text += words[next(std::size(words))];
                    p.Text += u' ';
                }
                p.Runs.push_back({start, p.Text.size() - start, style});
            }
            bytes += rtl::Utf16ToUtf8(p.Text).size();
            out.push_back(std::move(p));
        }
        return out;
    }();
    return paragraphs;
}

size_t CharacterCount() {
    size_t n = 0;
    for (const TParagraph &p : Paragraphs()) {
        n += p.Text.size();
    }
    return n;
}

// A sheet of three styles: Arial 10 pt, Arial 10 pt bold, Times New Roman 12 pt italic.
void PrepareStyles(TVDStyle &sheet) {
    TFontInfos &styles = sheet.GetTextStyles();
    while (styles.GetCount() > 3) {
        sheet.DeleteTextStyle(styles.GetCount() - 1);
    }
    for (int32_t i = 0; i < 3; ++i) {
        TFontInfo &s = styles.GetItem(i);
        s.SetFontName(i == 2 ? u"Times New Roman" : u"Arial");
        s.SetSize(i == 2 ? 12 : 10);
        s.SetStyle(i == 0   ? gfx::TFontStyles{}
                   : i == 1 ? gfx::TFontStyles{gfx::fsBold}
                            : gfx::TFontStyles{gfx::fsItalic});
    }
}

std::unique_ptr<gfx::TCanvas> ScreenCanvas() {
    gfx::TDeviceCaps caps;
    caps.HorzRes = caps.VertRes = 2000;
    return std::make_unique<gfx::TCanvas>(gfx::NewInformationDevice(caps));
}

// Breaks every paragraph into lines of kLineWidth pixels: per run of a style the font info
// item, then fit counting and the extent of each piece that fits. Returns the lines.
int64_t BreakLines(TVDStyle &sheet, gfx::TCanvas &canvas) {
    TVDGraphicInterface &gi = sheet.GetGraphicInterface();
    TVDFontInfoCacheFast cache(nullptr, sheet, canvas, canvas, false);
    int64_t lines = 0, extents = 0;
    for (const TParagraph &p : Paragraphs()) {
        const char *text = reinterpret_cast<const char *>(p.Text.data());
        int32_t available = kLineWidth;
        ++lines;
        for (const TStyledRun &r : p.Runs) {
            gfx::TCanvas &c = *cache.GetItems(r.Style).Canvas;
            cache.LastTextStyle = r.Style;
            int32_t pos = 0;
            const int32_t length = int32_t(r.Length);
            while (pos < length) {
                const TVDTextRun rest{text + 2 * (r.Start + size_t(pos)), length - pos, true};
                int32_t fit = 0;
                rtl::TSize size;
                gi.MaxFit(c, rest, available, fit, size);
                if (fit == 0) {
                    if (available == kLineWidth) {
                        fit = 1; // a character wider than the line stands alone
                    } else {
                        available = kLineWidth;
                        ++lines;
                        continue;
                    }
                }
                const TVDTextRun piece{rest.Str, fit, true};
                const int32_t width = gi.TextSize(c, piece).cx;
                extents += width;
                available -= width;
                pos += fit;
            }
        }
    }
    benchmark::DoNotOptimize(extents);
    return lines;
}

QGuiApplication &Application() {
    static int argc = 1;
    static char arg0[] = "vizivodu_text_bench";
    static char *argv[] = {arg0, nullptr};
    static QGuiApplication *app = new QGuiApplication(argc, argv); // lives for the run
    return *app;
}

struct TQtParagraph {
    QString Text;
    QList<QTextLayout::FormatRange> Formats;
};

// The same paragraphs with the same fonts (pixel sizes of 10 and 12 points at 96 dpi).
std::vector<TQtParagraph> QtParagraphs() {
    QTextCharFormat formats[3];
    for (int i = 0; i < 3; ++i) {
        QFont font(i == 2 ? "Times New Roman" : "Arial");
        font.setPixelSize(i == 2 ? 16 : 13);
        font.setBold(i == 1);
        font.setItalic(i == 2);
        font.setKerning(false);
        formats[i].setFont(font);
    }
    std::vector<TQtParagraph> out;
    for (const TParagraph &p : Paragraphs()) {
        TQtParagraph q;
        q.Text = QString::fromUtf16(p.Text.data(), qsizetype(p.Text.size()));
        for (const TStyledRun &r : p.Runs) {
            q.Formats.append({int(r.Start), int(r.Length), formats[r.Style]});
        }
        out.push_back(std::move(q));
    }
    return out;
}

int64_t BreakLinesWithQt(const std::vector<TQtParagraph> &paragraphs) {
    QFont base("Arial");
    base.setPixelSize(13);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAnywhere);
    int64_t lines = 0;
    double extents = 0;
    for (const TQtParagraph &p : paragraphs) {
        QTextLayout layout(p.Text, base);
        layout.setTextOption(option);
        layout.setFormats(p.Formats);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(kLineWidth);
            extents += line.naturalTextWidth();
            ++lines;
        }
        layout.endLayout();
    }
    benchmark::DoNotOptimize(extents);
    return lines;
}

double Seconds(const std::function<void()> &f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void FitAndExtents(benchmark::State &state, TVDTextEngine engine) {
    InitializeLibrary();
    Application();
    TVDStyle sheet(nullptr);
    sheet.SetTextEngine(engine);
    PrepareStyles(sheet);
    auto canvas = ScreenCanvas();
    const std::vector<TQtParagraph> qt = QtParagraphs();
    double ours = 0, peer = 0;
    int64_t ourLines = 0, qtLines = 0;
    for (auto _ : state) {
        ours += Seconds([&] { ourLines = BreakLines(sheet, *canvas); });
        peer += Seconds([&] { qtLines = BreakLinesWithQt(qt); });
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = 1000 * ours / n;
    state.counters["qtextlayout_ms"] = 1000 * peer / n;
    state.counters["ratio"] = ours / peer;
    state.counters["lines"] = double(ourLines);
    state.counters["qt_lines"] = double(qtLines);
    state.counters["characters"] = double(CharacterCount());
}

void BM_FitAndExtents_ComplexScript(benchmark::State &state) {
    FitAndExtents(state, vdteUniscribe);
}

void BM_FitAndExtents_GDI(benchmark::State &state) {
    FitAndExtents(state, vdteWindows);
}

// Lookups of the three styles in the order the paragraphs use them.
template <class TCache> void FontCacheLookups(benchmark::State &state) {
    InitializeLibrary();
    TVDStyle sheet(nullptr);
    PrepareStyles(sheet);
    auto canvas = ScreenCanvas();
    TCache cache(nullptr, sheet, *canvas, *canvas, false);
    std::vector<int32_t> styles;
    for (const TParagraph &p : Paragraphs()) {
        for (const TStyledRun &r : p.Runs) {
            styles.push_back(r.Style);
        }
    }
    for (auto _ : state) {
        for (int32_t style : styles) {
            benchmark::DoNotOptimize(&cache.GetItems(style));
            cache.LastTextStyle = style;
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(styles.size()));
}

void BM_FontCacheLookups_Fast(benchmark::State &state) {
    FontCacheLookups<TVDFontInfoCacheFast>(state);
}

void BM_FontCacheLookups_LowResource(benchmark::State &state) {
    FontCacheLookups<TVDFontInfoCacheLowResource>(state);
}

} // namespace

BENCHMARK(BM_FitAndExtents_ComplexScript)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FitAndExtents_GDI)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FontCacheLookups_Fast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FontCacheLookups_LowResource)->Unit(benchmark::kMillisecond);
