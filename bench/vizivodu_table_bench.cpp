// Table layout of the rich-document library beside Qt's QTextDocument, in one run: a table of
// 1,000 rows x 10 columns like the report's (a code, a diagnosis of Russian words, eight
// figures) laid out anew at the viewer's width, and the same table reflowed at alternating
// widths.
//
// What each side runs:
// - ..._ViziVodu: the graphic interface of the library's tests (every character half an em). It
//   is no lower bound of the table layout's own cost: it copies every run into a string and a
//   vector of advances per measurement and is slower than the real text engine.
// - ..._ViziVoduArial: Arial 10 points on the complex-script text engine, as the program lays
//   it out. The cells' plain Latin, Cyrillic and digits take the faces' cached advances without
//   shaping and without kerning.
// - ..._QTextDocument_Kerning: Qt's default, every run shaped with HarfBuzz, kerning on.
// - ..._QTextDocument_NoKerning: the same with QFont::setKerning(false), so that both sides place
//   characters by their advances alone (Qt still shapes every run): the like-with-like ratio is
//   ViziVoduArial / QTextDocument_NoKerning.
//
// Pagination: the same table printed on A4 (the PDF printer's 600 dpi sheet, 20 mm margins):
// the table laid out anew at the printer's resolution and cut into pages, beside
// QTextDocument's pageCount after a new page size of A4 at 96 dpi.
#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "vizivodu/VDStartup.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"
#include "vizivodu/tables/VDTable.h"

#include "platform/ui/Forms.h"

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <string>
#include <vector>

namespace {

constexpr int32_t kRows = 1000;
constexpr int32_t kCols = 10;
constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;

// The texts of the cells, row by row.
std::vector<std::u16string> MakeCells() {
    const std::u16string words[] = {u"синусовый", u"ритм",       u"блокада",    u"ножки",
                                    u"пучка",     u"Гиса",       u"зубец",      u"комплекс",
                                    u"интервал",  u"желудочков", u"предсердий", u"гипертрофия"};
    std::vector<std::u16string> cells;
    uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return seed >> 16;
    };
    for (int32_t r = 0; r < kRows; ++r) {
        cells.push_back(u"A" + rtl::Utf8ToUtf16(std::to_string(100 + next() % 900)));
        std::u16string diagnosis;
        for (uint32_t w = 0, n = 2 + next() % 4; w < n; ++w) {
            diagnosis += (w ? u" " : u"") + words[next() % std::size(words)];
        }
        cells.push_back(diagnosis);
        for (int32_t c = 2; c < kCols; ++c) {
            const uint32_t v = next() % 10000;
            cells.push_back(rtl::Utf8ToUtf16(std::to_string(v / 100) + "." +
                                             std::to_string(v / 10 % 10) + std::to_string(v % 10)));
        }
    }
    return cells;
}

class TBenchStyle : public vizivodu::test::TLayoutStyle {
public:
    TBenchStyle() {
        GI->RecordTextOps = false;
        GetTextStyles().GetItem(0).SetSize(10);
    }
};

// Arial 10 points on the complex-script text engine.
class TRealTextStyle : public vizivodu::TVDStyle {
public:
    TRealTextStyle() : vizivodu::TVDStyle(nullptr) {
        vizivodu::InitializeLibrary();
        SetTextEngine(vizivodu::vdteUniscribe);
        GetTextStyles().GetItem(0).SetFontName(u"Arial");
        GetTextStyles().GetItem(0).SetSize(10);
    }
};

// A viewer on a form that is never shown, holding the table alone.
template <class TStyleSheet> struct TViewerFixture {
    TStyleSheet Style;
    ui::TForm Form{nullptr};
    vizivodu::TViziVodu *View;
    vizivodu::TVDTableItemInfo *Table;

    TViewerFixture() {
        Form.SetClientWidth(kWidth + 200);
        Form.SetClientHeight(kHeight);
        View = new vizivodu::TViziVodu(&Form);
        View->SetStyle(&Style);
        View->SetBounds(0, 0, kWidth, kHeight);
        View->SetParent(&Form);
        auto table = vizivodu::TVDTableItemInfo::CreateEx(kRows, kCols, &View->GetVDData());
        Table = table.get();
        const std::vector<std::u16string> cells = MakeCells();
        for (int32_t r = 0; r < kRows; ++r) {
            for (int32_t c = 0; c < kCols; ++c) {
                vizivodu::TVDTableCellData &cell = *Table->GetCells(r, c);
                cell.Clear();
                cell.AddNL(cells[size_t(r * kCols + c)], 0, 0);
            }
        }
        View->AddItem(u"", std::move(table));
    }
};

// Fills a table's cells with the bench's texts.
void FillTable(vizivodu::TVDTableItemInfo &table) {
    const std::vector<std::u16string> cells = MakeCells();
    for (int32_t r = 0; r < kRows; ++r) {
        for (int32_t c = 0; c < kCols; ++c) {
            vizivodu::TVDTableCellData &cell = *table.GetCells(r, c);
            cell.Clear();
            cell.AddNL(cells[size_t(r * kCols + c)], 0, 0);
        }
    }
}

// The table in a source viewer linked to the printing component.
struct TPrintBenchFixture {
    vizivodu::test::TPrintFixture F;

    TPrintBenchFixture() {
        F.GI->RecordTextOps = false;
        F.Style.GetTextStyles().GetItem(0).SetSize(10);
        auto table = vizivodu::TVDTableItemInfo::CreateEx(kRows, kCols, &F.Source.GetVDData());
        FillTable(*table);
        F.Source.AddItem(u"", std::move(table));
        F.Print.AssignSource(&F.Source);
    }
    vizivodu::TVDPrint &Printer() { return F.Print; }
};

// The same on the complex-script text engine.
struct TRealTextPrintFixture {
    TRealTextStyle Style;
    vizivodu::TViziVodu Source{nullptr};
    vizivodu::TVDPrint Print{nullptr};

    TRealTextPrintFixture() {
        vizivodu::test::ChoosePdfPrinter();
        Source.SetStyle(&Style);
        auto table = vizivodu::TVDTableItemInfo::CreateEx(kRows, kCols, &Source.GetVDData());
        FillTable(*table);
        Source.AddItem(u"", std::move(table));
        Print.AssignSource(&Source);
    }
    vizivodu::TVDPrint &Printer() { return Print; }
};

struct TQtFixture {
    QTextDocument Doc;

    explicit TQtFixture(bool kerning) {
        const std::vector<std::u16string> cells = MakeCells();
        QFont font(QStringLiteral("Arial"), 10);
        font.setKerning(kerning);
        QTextCharFormat format;
        format.setFont(font);
        Doc.setDocumentMargin(5);
        QTextCursor cursor(&Doc);
        QTextTableFormat tableFormat;
        tableFormat.setBorder(1);
        tableFormat.setCellPadding(1);
        tableFormat.setCellSpacing(2);
        QTextTable *table = cursor.insertTable(kRows, kCols, tableFormat);
        for (int32_t r = 0; r < kRows; ++r) {
            for (int32_t c = 0; c < kCols; ++c) {
                const std::u16string &text = cells[size_t(r * kCols + c)];
                table->cellAt(r, c).firstCursorPosition().insertText(
                    QString::fromUtf16(text.data(), qsizetype(text.size())), format);
            }
        }
    }
    void Layout(int32_t width) {
        Doc.setTextWidth(width);
        benchmark::DoNotOptimize(Doc.documentLayout()->documentSize());
    }
};

const char *QtLabel(bool kerning) {
    return kerning ? "HarfBuzz every run, kerning" : "HarfBuzz every run, no kerning";
}

template <class TStyleSheet> void BM_TableLayout(benchmark::State &state) {
    TViewerFixture<TStyleSheet> f;
    for (auto _ : state) {
        f.View->Format();
        benchmark::DoNotOptimize(f.View->DocumentHeight());
    }
    state.counters["height"] = f.View->DocumentHeight();
}

template <bool Kerning> void BM_TableLayout_QTextDocument(benchmark::State &state) {
    ui::TForm form(nullptr); // the application object exists from here on
    TQtFixture f(Kerning);
    state.SetLabel(QtLabel(Kerning));
    int32_t width = kWidth - 10;
    for (auto _ : state) {
        width = width == kWidth - 10 ? kWidth - 11 : kWidth - 10; // a new width lays out anew
        f.Layout(width);
    }
    state.counters["height"] = f.Doc.documentLayout()->documentSize().height();
}

// The window narrows and widens by 100 pixels: the columns are shared out anew and every cell
// is reflowed.
template <class TStyleSheet> void BM_TableReflow(benchmark::State &state) {
    TViewerFixture<TStyleSheet> f;
    f.View->Format();
    int32_t width = kWidth;
    for (auto _ : state) {
        width = width == kWidth ? kWidth - 100 : kWidth;
        f.View->SetWidth(width);
        benchmark::DoNotOptimize(f.View->DocumentHeight());
    }
}

template <bool Kerning> void BM_TableReflow_QTextDocument(benchmark::State &state) {
    ui::TForm form(nullptr);
    TQtFixture f(Kerning);
    state.SetLabel(QtLabel(Kerning));
    int32_t width = kWidth - 10;
    for (auto _ : state) {
        width = width == kWidth - 10 ? kWidth - 110 : kWidth - 10;
        f.Layout(width);
    }
}

template <class TFixture> void BM_TablePaginate(benchmark::State &state) {
    TFixture f;
    int32_t pages = 0;
    for (auto _ : state) {
        pages = f.Printer().FormatPages();
    }
    state.counters["pages"] = pages;
}

template <bool Kerning> void BM_TablePaginate_QTextDocument(benchmark::State &state) {
    ui::TForm form(nullptr);
    TQtFixture f(Kerning);
    state.SetLabel(QtLabel(Kerning));
    f.Doc.setDocumentMargin(75.6);
    int32_t pages = 0;
    bool wide = false;
    for (auto _ : state) {
        wide = !wide; // a new page size lays out anew
        f.Doc.setPageSize(QSizeF(wide ? 793.8 : 793.7, 1122.5));
        pages = f.Doc.pageCount();
    }
    state.counters["pages"] = pages;
}

} // namespace

BENCHMARK_TEMPLATE(BM_TableLayout, TBenchStyle)
    ->Name("BM_TableLayout_ViziVodu")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TableLayout, TRealTextStyle)
    ->Name("BM_TableLayout_ViziVoduArial")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TableLayout_QTextDocument, true)
    ->Name("BM_TableLayout_QTextDocument_Kerning")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TableLayout_QTextDocument, false)
    ->Name("BM_TableLayout_QTextDocument_NoKerning")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TableReflow, TBenchStyle)
    ->Name("BM_TableReflow_ViziVodu")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TableReflow, TRealTextStyle)
    ->Name("BM_TableReflow_ViziVoduArial")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TableReflow_QTextDocument, true)
    ->Name("BM_TableReflow_QTextDocument_Kerning")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TableReflow_QTextDocument, false)
    ->Name("BM_TableReflow_QTextDocument_NoKerning")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TablePaginate, TPrintBenchFixture)
    ->Name("BM_TablePaginate_ViziVodu")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TablePaginate, TRealTextPrintFixture)
    ->Name("BM_TablePaginate_ViziVoduArial")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TablePaginate_QTextDocument, true)
    ->Name("BM_TablePaginate_QTextDocument_Kerning")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_TablePaginate_QTextDocument, false)
    ->Name("BM_TablePaginate_QTextDocument_NoKerning")
    ->Unit(benchmark::kMillisecond);
