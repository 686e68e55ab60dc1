// Editing in the middle of documents of 1,000, 10,000 and 50,000 paragraphs: typing 200
// characters, Enter 20 times and Backspace 100 times, each key followed by the reformatting
// and the repaint of what it invalidated; then undoing the whole sequence. Beside it
// QTextDocument with a QTextCursor does the same keys (each followed by the layout of the
// edited block) and undoes them. Goals: under 50 µs a key at every size, flat from 1,000 to
// 50,000 paragraphs, at least 5 times faster than Qt; the undo of the sequence under 10 ms.
#include "tests/vizivodu/editing/EditTestSupport.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

namespace {

constexpr int32_t kTyped = 200, kEnters = 20, kBackspaces = 100;
constexpr int32_t kKeys = kTyped + kEnters + kBackspaces;

std::u16string Paragraph(int32_t i) {
    static const std::u16string words[] = {u"синусовый", u"ритм",  u"блокада", u"ножки",
                                           u"пучка",     u"Гиса",  u"зубец",   u"комплекс",
                                           u"интервал",  u"норма", u"rhythm",  u"sinus"};
    std::u16string p;
    for (int32_t w = 0; w < 6 + i % 5; ++w) {
        p += words[(i + w * 3) % 12];
        p += u' ';
    }
    return p;
}

// The key of the sequence at step k: a typed character, Enter or Backspace.
enum class TKey { Type, Enter, Backspace };
TKey KeyAt(int32_t k) {
    k %= kKeys;
    if (k < kTyped) {
        return (k + 1) % 11 == 0 && k < kTyped - 10 ? TKey::Enter : TKey::Type;
    }
    return k < kTyped + kEnters ? TKey::Enter : TKey::Backspace;
}
char16_t CharAt(int32_t k) {
    return u"ритм sinus "[k % 11];
}

struct TEditBenchFixture {
    vizivodu::test::TEditFixture F{800, 600};
    gfx::TBitmap Buffer{800, 600};
    int32_t Middle;

    explicit TEditBenchFixture(int32_t paragraphs) {
        for (int32_t i = 0; i < paragraphs; ++i) {
            F.Doc().AddNL(Paragraph(i), 0, 0);
        }
        F.Format();
        // The test graphic interface would keep every text it draws: not the editor's cost.
        F.Style.GI->RecordTextOps = false;
        Middle = paragraphs / 2;
        F.Doc().UndoList->Clear();
    }
    void Start() {
        F.SetCaret(Middle, 5);
        F.Editor->ScrollTo(F.Doc().GetTransformedDItemTop(F.Doc().CaretDrawItemNo));
    }
    void Press(int32_t k) {
        vizivodu::TVDEditVDData &doc = F.Doc();
        F.Style.GI->Invalidated.clear();
        switch (KeyAt(k)) {
        case TKey::Type:
            doc.KeyPress(CharAt(k));
            break;
        case TKey::Enter:
            doc.OnEnterPress_(false, false);
            break;
        case TKey::Backspace:
            doc.OnBackSpacePress_(false, false, false, 0);
            break;
        }
        Repaint();
    }
    void Repaint() {
        vizivodu::TVDEditVDData &doc = F.Doc();
        for (const rtl::TRect &r : F.Style.GI->Invalidated) {
            doc.PaintTo(Buffer.GetCanvas(), r, false, false, false, false, true, 0, 0, 0,
                        doc.DrawItems.Count() - 1, nullptr, nullptr, false);
        }
    }
};

TEditBenchFixture &Fixture(int32_t paragraphs) {
    static std::map<int32_t, std::unique_ptr<TEditBenchFixture>> fixtures;
    auto &f = fixtures[paragraphs];
    if (!f) {
        f = std::make_unique<TEditBenchFixture>(paragraphs);
    }
    return *f;
}

void UndoAll(TEditBenchFixture &f) {
    while (f.F.Doc().UndoList->Count() > 0) {
        f.F.Doc().UndoList->Undo(f.F.Doc());
    }
    f.F.Doc().RedoList->Clear();
}

// One key a benchmark iteration; after each whole sequence the document is put back (untimed).
void BM_ViziVoduEditKey(benchmark::State &state) {
    TEditBenchFixture &f = Fixture(int32_t(state.range(0)));
    f.Start();
    int32_t k = 0;
    for (auto _ : state) {
        f.Press(k++);
        if (k % kKeys == 0) {
            state.PauseTiming();
            UndoAll(f);
            f.Start();
            state.ResumeTiming();
        }
    }
    UndoAll(f);
}

void BM_ViziVoduUndoSequence(benchmark::State &state) {
    TEditBenchFixture &f = Fixture(int32_t(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        f.Start();
        for (int32_t k = 0; k < kKeys; ++k) {
            f.Press(k);
        }
        state.ResumeTiming();
        UndoAll(f);
    }
}

struct TQtFixture {
    QTextDocument Doc;
    int32_t Middle;
    explicit TQtFixture(int32_t paragraphs) {
        // The platform's application (made with the first form) gives Qt its fonts.
        static vizivodu::test::TEditFixture platform(10, 10);
        QTextCursor c(&Doc);
        for (int32_t i = 0; i < paragraphs; ++i) {
            if (i > 0) {
                c.insertBlock();
            }
            const std::u16string p = Paragraph(i);
            c.insertText(QString::fromUtf16(p.data(), qsizetype(p.size())));
        }
        Doc.setTextWidth(800);
        Doc.documentLayout()->documentSize();
        Doc.clearUndoRedoStacks();
        Middle = paragraphs / 2;
    }
    QTextCursor Start() {
        QTextCursor c(Doc.findBlockByNumber(Middle));
        c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
        return c;
    }
    void Press(QTextCursor &c, int32_t k) {
        switch (KeyAt(k)) {
        case TKey::Type:
            c.insertText(QString(QChar(CharAt(k))));
            break;
        case TKey::Enter:
            c.insertBlock();
            break;
        case TKey::Backspace:
            c.deletePreviousChar();
            break;
        }
        benchmark::DoNotOptimize(Doc.documentLayout()->blockBoundingRect(c.block()));
    }
    void UndoAll() {
        while (Doc.isUndoAvailable()) {
            Doc.undo();
        }
        Doc.clearUndoRedoStacks();
        Doc.documentLayout()->documentSize();
    }
};

TQtFixture &QtFixture(int32_t paragraphs) {
    static std::map<int32_t, std::unique_ptr<TQtFixture>> fixtures;
    auto &f = fixtures[paragraphs];
    if (!f) {
        f = std::make_unique<TQtFixture>(paragraphs);
    }
    return *f;
}

void BM_QtEditKey(benchmark::State &state) {
    TQtFixture &f = QtFixture(int32_t(state.range(0)));
    QTextCursor c = f.Start();
    int32_t k = 0;
    for (auto _ : state) {
        f.Press(c, k++);
        if (k % kKeys == 0) {
            state.PauseTiming();
            f.UndoAll();
            c = f.Start();
            state.ResumeTiming();
        }
    }
    f.UndoAll();
}

void BM_QtUndoSequence(benchmark::State &state) {
    TQtFixture &f = QtFixture(int32_t(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        QTextCursor c = f.Start();
        for (int32_t k = 0; k < kKeys; ++k) {
            f.Press(c, k);
        }
        state.ResumeTiming();
        f.UndoAll();
    }
}

} // namespace

BENCHMARK(BM_ViziVoduEditKey)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QtEditKey)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ViziVoduUndoSequence)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtUndoSequence)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
