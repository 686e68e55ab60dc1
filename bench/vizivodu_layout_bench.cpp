// Layout of the rich-document library beside Qt's QTextDocument, in one run: formatting 1,000,
// 10,000 and 50,000 paragraphs of Russian text in 1 and in 10 text styles at the same width
// (time per character), reformatting after a resize that keeps the text width, and painting
// the visible part at the top, middle and end of the 50,000-paragraph document.
//
// What each side runs:
// - BM_Format_ViziVodu: the graphic interface of the library's tests (every character half an
//   em). It is no lower bound of the layout's own cost: it copies every run into a string and a
//   vector of advances per measurement and is slower than the real text engine.
// - BM_Format_ViziVodu_Arial: Arial on the complex-script text engine. Runs of plain Latin and
//   Cyrillic (all of these documents) take the faces' cached advances without shaping and
//   without kerning, as GDI places text; HarfBuzz shapes only the runs that need it.
// - BM_Format_QTextDocument_Kerning: Qt's default, every run shaped with HarfBuzz, kerning on.
// - BM_Format_QTextDocument_NoKerning: the same with QFont::setKerning(false), so that both sides
//   place characters by their advances alone; Qt still shapes every run. The ratio of like with
//   like is ViziVodu_Arial / QTextDocument_NoKerning.
// Resizing and painting run on the fixed metrics.
#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/gfx/Bitmap.h"
#include "platform/ui/Forms.h"

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;

// A paragraph as runs of text, each in one style.
struct TRun {
    std::u16string Text;
    int32_t Style;
};
using TParagraph = std::vector<TRun>;

// Russian sentences of 40 to 90 characters; with several styles each paragraph is three runs
// whose styles follow the paragraph number.
std::vector<TParagraph> MakeParagraphs(int32_t count, int32_t styles) {
    const std::u16string words[] = {u"электрокардиограмма",
                                    u"ритм",
                                    u"синусовый",
                                    u"блокада",
                                    u"ножки",
                                    u"пучка",
                                    u"Гиса",
                                    u"отведение",
                                    u"зубец",
                                    u"комплекс",
                                    u"чувствительность",
                                    u"норма",
                                    u"программа",
                                    u"специфичность",
                                    u"отчет",
                                    u"интервал",
                                    u"желудочков",
                                    u"предсердий",
                                    u"гипертрофия",
                                    u"код"};
    std::vector<TParagraph> out;
    uint32_t seed = 12345;
    for (int32_t i = 0; i < count; ++i) {
        std::vector<std::u16string> ws;
        size_t length = 0;
        const size_t target = 40 + (seed % 51);
        while (length < target) {
            seed = seed * 1103515245u + 12345u;
            ws.push_back(words[(seed >> 16) % std::size(words)]);
            length += ws.back().size() + 1;
        }
        TParagraph p;
        const size_t parts = styles > 1 ? 3 : 1;
        for (size_t k = 0; k < parts; ++k) {
            std::u16string text;
            for (size_t w = k * ws.size() / parts; w < (k + 1) * ws.size() / parts; ++w) {
                text += ws[w];
                text += w + 1 == ws.size() ? u'.' : u' ';
            }
            if (!text.empty()) {
                p.push_back({text, int32_t((i + k) % size_t(styles))});
            }
        }
        out.push_back(std::move(p));
    }
    return out;
}

int64_t CharacterCount(const std::vector<TParagraph> &paragraphs) {
    int64_t n = 0;
    for (const TParagraph &p : paragraphs) {
        for (const TRun &r : p) {
            n += int64_t(r.Text.size());
        }
    }
    return n;
}

// Text style k: 10 + k points, every other one bold.
class TBenchStyle : public vizivodu::test::TLayoutStyle {
public:
    TBenchStyle() {
        GI->RecordTextOps = false;
        for (int32_t k = 0; k < 10; ++k) {
            if (k >= GetTextStyles().GetCount()) {
                GetTextStyles().Add();
            }
            vizivodu::TFontInfo &f = GetTextStyles().GetItem(k);
            f.SetSize(10 + k);
            f.SetStyle(k % 2 ? gfx::TFontStyles{gfx::fsBold} : gfx::TFontStyles{});
        }
    }
};

// The same ten styles in Arial on the complex-script text engine.
class TRealTextStyle : public vizivodu::TVDStyle {
public:
    TRealTextStyle() : vizivodu::TVDStyle(nullptr) {
        vizivodu::InitializeLibrary();
        SetTextEngine(vizivodu::vdteUniscribe);
        for (int32_t k = 0; k < 10; ++k) {
            if (k >= GetTextStyles().GetCount()) {
                GetTextStyles().Add();
            }
            vizivodu::TFontInfo &f = GetTextStyles().GetItem(k);
            f.SetFontName(u"Arial");
            f.SetSize(10 + k);
            f.SetStyle(k % 2 ? gfx::TFontStyles{gfx::fsBold} : gfx::TFontStyles{});
        }
    }
};

// A viewer on a form that is never shown, holding the document.
template <class TStyleSheet = TBenchStyle> struct TViewerFixture {
    TStyleSheet Style;
    ui::TForm Form{nullptr};
    vizivodu::TViziVodu *View;
    int64_t Characters;

    TViewerFixture(int32_t paragraphs, int32_t styles) {
        Form.SetClientWidth(kWidth + 200);
        Form.SetClientHeight(kHeight);
        View = new vizivodu::TViziVodu(&Form);
        View->SetStyle(&Style);
        View->SetBounds(0, 0, kWidth, kHeight);
        View->SetParent(&Form);
        const std::vector<TParagraph> text = MakeParagraphs(paragraphs, styles);
        Characters = CharacterCount(text);
        for (const TParagraph &p : text) {
            bool first = true;
            for (const TRun &r : p) {
                View->AddNL(r.Text, r.Style, first ? 0 : -1);
                first = false;
            }
        }
    }
};

QFont FontOfStyle(int32_t k, bool kerning) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(10 + k);
    f.setBold(k % 2 != 0);
    f.setKerning(kerning);
    return f;
}

struct TQtFixture {
    QTextDocument Doc;
    int64_t Characters;

    TQtFixture(int32_t paragraphs, int32_t styles, bool kerning) {
        const std::vector<TParagraph> text = MakeParagraphs(paragraphs, styles);
        Characters = CharacterCount(text);
        std::vector<QTextCharFormat> formats(10);
        for (int32_t k = 0; k < 10; ++k) {
            formats[size_t(k)].setFont(FontOfStyle(k, kerning));
        }
        Doc.setDocumentMargin(5);
        QTextCursor cursor(&Doc);
        bool firstParagraph = true;
        for (const TParagraph &p : text) {
            if (!firstParagraph) {
                cursor.insertBlock();
            }
            firstParagraph = false;
            for (const TRun &r : p) {
                cursor.insertText(QString::fromUtf16(r.Text.data(), qsizetype(r.Text.size())),
                                  formats[size_t(r.Style)]);
            }
        }
    }
    // Lays the whole document out at the width.
    void Layout(int32_t width) {
        Doc.setTextWidth(width);
        QAbstractTextDocumentLayout *layout = Doc.documentLayout();
        benchmark::DoNotOptimize(layout->blockBoundingRect(Doc.lastBlock()));
        benchmark::DoNotOptimize(layout->documentSize());
    }
};

void SetPerCharacter(benchmark::State &state, int64_t characters) {
    state.counters["ns_per_char"] =
        benchmark::Counter(double(characters), benchmark::Counter::kIsIterationInvariantRate |
                                                   benchmark::Counter::kInvert);
}

template <class TStyleSheet> void FormatViziVodu(benchmark::State &state) {
    TViewerFixture<TStyleSheet> f(int32_t(state.range(0)), int32_t(state.range(1)));
    for (auto _ : state) {
        f.View->Format();
        benchmark::DoNotOptimize(f.View->DocumentHeight());
    }
    SetPerCharacter(state, f.Characters);
}

void BM_Format_ViziVodu(benchmark::State &state) {
    FormatViziVodu<TBenchStyle>(state);
    state.SetLabel("fixed metrics, copies per measurement: no lower bound");
}

void BM_Format_ViziVodu_Arial(benchmark::State &state) {
    FormatViziVodu<TRealTextStyle>(state);
    state.SetLabel("cached advances, no kerning");
}

template <bool Kerning> void BM_Format_QTextDocument(benchmark::State &state) {
    ui::TForm form(nullptr); // the application object exists from here on
    TQtFixture f(int32_t(state.range(0)), int32_t(state.range(1)), Kerning);
    int32_t width = kWidth - 10;
    for (auto _ : state) {
        width = width == kWidth - 10 ? kWidth - 11 : kWidth - 10; // a new width lays out anew
        f.Layout(width);
    }
    SetPerCharacter(state, f.Characters);
    state.SetLabel(Kerning ? "HarfBuzz every run, kerning" : "HarfBuzz every run, no kerning");
}

// The window widens and narrows while the text width stays at its maximum.
void BM_ResizeKeepingTheTextWidth_ViziVodu(benchmark::State &state) {
    TViewerFixture<> f(int32_t(state.range(0)), 1);
    f.View->MaxTextWidth = kWidth - 200;
    f.View->Format();
    int32_t width = kWidth;
    for (auto _ : state) {
        width = width == kWidth ? kWidth + 100 : kWidth;
        f.View->SetWidth(width);
        benchmark::DoNotOptimize(f.View->GetVDData().TextWidth);
    }
}

// Painting the window's part of the document scrolled to the top, the middle or the end.
void BM_PaintVisiblePart_ViziVodu(benchmark::State &state) {
    static std::unique_ptr<TViewerFixture<>> f;
    if (!f) {
        f = std::make_unique<TViewerFixture<>>(50000, int32_t(state.range(1)));
        f->View->Format();
    }
    vizivodu::TViziVoduVDData &data = f->View->GetVDData();
    const int32_t position = int32_t(state.range(0)); // 0 top, 1 middle, 2 end
    const int32_t y = position == 0   ? 0
                      : position == 1 ? data.DocumentHeight / 2
                                      : data.DocumentHeight;
    f->View->ScrollTo(y);
    gfx::TBitmap buffer(kWidth, kHeight);
    const rtl::TRect r = rtl::Rect(0, 0, kWidth, kHeight);
    for (auto _ : state) {
        data.DrawBackground(buffer.GetCanvas(), r, f->Style.GetGraphicInterface(), true, false);
        data.PaintTo(buffer.GetCanvas(), r, false, false, false, false, true, 0, 0, 0,
                     data.DrawItems.Count() - 1, nullptr, nullptr, false);
    }
    state.counters["vpos"] = f->View->VPos;
}

} // namespace

BENCHMARK(BM_Format_ViziVodu)
    ->ArgsProduct({{1000, 10000, 50000}, {1, 10}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Format_ViziVodu_Arial)
    ->ArgsProduct({{1000, 10000, 50000}, {1, 10}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Format_QTextDocument, true)
    ->Name("BM_Format_QTextDocument_Kerning")
    ->ArgsProduct({{1000, 10000, 50000}, {1, 10}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Format_QTextDocument, false)
    ->Name("BM_Format_QTextDocument_NoKerning")
    ->ArgsProduct({{1000, 10000, 50000}, {1, 10}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResizeKeepingTheTextWidth_ViziVodu)
    ->Arg(1000)
    ->Arg(50000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintVisiblePart_ViziVodu)
    ->ArgsProduct({{0, 1, 2}, {1}})
    ->Unit(benchmark::kMicrosecond);
