// Printing of the rich-document library beside Qt's QTextDocument, in one run, with the same
// text (Russian paragraphs in 15 points), A4 pages and 20 mm margins: paginating documents of
// about 10, 100 and 1,000 pages (QTextDocument: pageCount after a new page size), drawing one
// page into the preview at screen zoom, and printing 100 pages to PDF (QTextDocument::print to
// QPdfWriter).
//
// What each side runs:
// - ..._ViziVodu: the tests' fixed-metrics graphic interface. It is no lower bound of the
//   layout's own cost: it copies every run into a string and a vector of advances per
//   measurement and is slower than the real text engine.
// - ..._ViziVoduArial: Arial on the complex-script text engine, as the program prints. The plain
//   Cyrillic text takes the faces' cached advances without shaping and without kerning.
// - ..._QTextDocument_Kerning: Qt's default, every run shaped with HarfBuzz, kerning on.
// - ..._QTextDocument_NoKerning: the same with QFont::setKerning(false), so that both sides place
//   characters by their advances alone (Qt still shapes every run): the like-with-like ratio is
//   ViziVoduArial / QTextDocument_NoKerning.
#include "bench/RussianText.h"
#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "vizivodu/VDStartup.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Printers.h"
#include "platform/ui/Forms.h"

#include <benchmark/benchmark.h>

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// About 36 paragraphs of 40 to 90 characters fill one page.
constexpr int32_t kParagraphsPerPage = 36;

std::vector<std::u16string> MakeParagraphs(int32_t count) {
    return wbbench::RussianSentences(
        count, {u"электрокардиограмма", u"ритм", u"синусовый", u"блокада", u"ножки", u"пучка",
                u"Гиса", u"отведение", u"зубец", u"комплекс", u"норма", u"программа", u"отчет",
                u"интервал", u"желудочков", u"предсердий", u"гипертрофия", u"код"});
}

struct TViziVoduFixture {
    vizivodu::test::TPrintFixture F;
    explicit TViziVoduFixture(int32_t pages) {
        for (const std::u16string &p : MakeParagraphs(pages * kParagraphsPerPage)) {
            F.Source.AddNL(p, 0, 0);
        }
        F.Print.AssignSource(&F.Source);
    }
    vizivodu::TVDPrint &Printer() { return F.Print; }
};

// The same document in Arial 15 points on the complex-script text engine.
struct TRealTextFixture {
    vizivodu::TVDStyle Style{nullptr};
    vizivodu::TViziVodu Source{nullptr};
    vizivodu::TVDPrint Print{nullptr};
    explicit TRealTextFixture(int32_t pages) {
        vizivodu::InitializeLibrary();
        vizivodu::test::ChoosePdfPrinter();
        Style.SetTextEngine(vizivodu::vdteUniscribe);
        vizivodu::TFontInfo &font = Style.GetTextStyles().GetItem(0);
        font.SetFontName(u"Arial");
        font.SetSize(15);
        Source.SetStyle(&Style);
        for (const std::u16string &p : MakeParagraphs(pages * kParagraphsPerPage)) {
            Source.AddNL(p, 0, 0);
        }
        Print.AssignSource(&Source);
    }
    vizivodu::TVDPrint &Printer() { return Print; }
};

struct TQtFixture {
    QTextDocument Doc;
    TQtFixture(int32_t pages, bool kerning) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(15);
        font.setKerning(kerning);
        Doc.setDefaultFont(font);
        // A4 in pixels of 96 dpi, the resolution QTextDocument lays text out at, with 20 mm
        // margins.
        Doc.setDocumentMargin(75.6);
        QTextCursor cursor(&Doc);
        bool first = true;
        for (const std::u16string &p : MakeParagraphs(pages * kParagraphsPerPage)) {
            if (!first) {
                cursor.insertBlock();
            }
            first = false;
            cursor.insertText(QString::fromUtf16(p.data(), qsizetype(p.size())));
        }
    }
};

template <class TFixture> void BM_Paginate(benchmark::State &state) {
    TFixture f(int32_t(state.range(0)));
    int32_t pages = 0;
    for (auto _ : state) {
        pages = f.Printer().FormatPages();
    }
    state.counters["pages"] = pages;
    state.counters["per_page"] = benchmark::Counter(
        double(pages), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

const char *QtLabel(bool kerning) {
    return kerning ? "HarfBuzz every run, kerning" : "HarfBuzz every run, no kerning";
}

template <bool Kerning> void BM_Paginate_QTextDocument(benchmark::State &state) {
    ui::TForm form(nullptr); // the application object
    TQtFixture f(int32_t(state.range(0)), Kerning);
    state.SetLabel(QtLabel(Kerning));
    int32_t pages = 0;
    bool wide = false;
    for (auto _ : state) {
        wide = !wide; // a new page size lays out anew
        f.Doc.setPageSize(QSizeF(wide ? 793.8 : 793.7, 1122.5));
        pages = f.Doc.pageCount();
    }
    state.counters["pages"] = pages;
    state.counters["per_page"] = benchmark::Counter(
        double(pages), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <class TFixture> void BM_DrawPreviewPage(benchmark::State &state) {
    TFixture f(10);
    vizivodu::TVDPrint &print = f.Printer();
    print.FormatPages();
    gfx::TBitmap bmp(print.GetPreview100PercentWidth(), print.GetPreview100PercentHeight());
    const rtl::TRect r = rtl::Rect(0, 0, bmp.GetWidth(), bmp.GetHeight());
    for (auto _ : state) {
        print.DrawPreview(2, bmp.GetCanvas(), r);
    }
}

std::filesystem::path BenchFile(const char *name) {
    return std::filesystem::temp_directory_path() / name;
}

template <class TFixture> void BM_Print100Pages(benchmark::State &state) {
    TFixture f(100);
    vizivodu::TVDPrint &print = f.Printer();
    state.counters["pages"] = print.FormatPages();
    const std::filesystem::path file = BenchFile("wb_vizivodu_print_bench.pdf");
    for (auto _ : state) {
        std::filesystem::remove(file);
        gfx::Printer().SetFileName(file.u16string());
        print.Print(u"bench", 1, false);
    }
    std::filesystem::remove(file);
}

template <bool Kerning> void BM_Print100Pages_QTextDocument(benchmark::State &state) {
    ui::TForm form(nullptr);
    TQtFixture f(100, Kerning);
    state.SetLabel(QtLabel(Kerning));
    const std::filesystem::path file = BenchFile("wb_qtextdocument_print_bench.pdf");
    for (auto _ : state) {
        QPdfWriter writer(QString::fromStdString(file.string()));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(600);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        f.Doc.print(&writer);
    }
    f.Doc.setPageSize(QSizeF(793.7, 1122.5));
    state.counters["pages"] = f.Doc.pageCount();
    std::filesystem::remove(file);
}

} // namespace

BENCHMARK_TEMPLATE(BM_Paginate, TViziVoduFixture)
    ->Name("BM_Paginate_ViziVodu")
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Paginate, TRealTextFixture)
    ->Name("BM_Paginate_ViziVoduArial")
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Paginate_QTextDocument, true)
    ->Name("BM_Paginate_QTextDocument_Kerning")
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Paginate_QTextDocument, false)
    ->Name("BM_Paginate_QTextDocument_NoKerning")
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_DrawPreviewPage, TViziVoduFixture)
    ->Name("BM_DrawPreviewPage_ViziVodu")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_DrawPreviewPage, TRealTextFixture)
    ->Name("BM_DrawPreviewPage_ViziVoduArial")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Print100Pages, TViziVoduFixture)
    ->Name("BM_Print100Pages_ViziVodu")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Print100Pages, TRealTextFixture)
    ->Name("BM_Print100Pages_ViziVoduArial")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Print100Pages_QTextDocument, true)
    ->Name("BM_Print100Pages_QTextDocument_Kerning")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Print100Pages_QTextDocument, false)
    ->Name("BM_Print100Pages_QTextDocument_NoKerning")
    ->Unit(benchmark::kMillisecond);
