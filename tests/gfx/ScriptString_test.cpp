// The complex-script string functions: logical widths against the canvas's own extents,
// clusters of marks and ligatures, right-to-left carets and order, clipping, imposed widths,
// 8-bit text, drawing, and the library loaded by name.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Characters.h"
#include "platform/gfx/Modules.h"
#include "platform/gfx/ScriptString.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

using namespace gfx;

namespace {

struct Analysis {
    SCRIPT_STRING_ANALYSIS ssa = nullptr;
    HRESULT result = USP_E_INVALIDARG;
    Analysis(TCanvas &canvas, std::u16string_view text, uint32_t flags = SSA_GLYPHS | SSA_FALLBACK,
             int32_t reqWidth = -1, const int32_t *dx = nullptr, int32_t glyphs = -1) {
        const int32_t n = int32_t(text.size());
        result =
            ScriptStringAnalyse(&canvas, text.data(), n, glyphs < 0 ? n * 3 / 2 + 16 : glyphs, -1,
                                flags, reqWidth, nullptr, nullptr, dx, nullptr, nullptr, &ssa);
    }
    ~Analysis() { ScriptStringFree(&ssa); }
    int32_t Count() const { return *ScriptString_pcOutChars(ssa); }
    std::vector<int32_t> Widths() const {
        std::vector<int32_t> w(static_cast<size_t>(Count()));
        ScriptStringGetLogicalWidths(ssa, w.data());
        return w;
    }
    std::vector<uint32_t> Order() const {
        std::vector<uint32_t> o(static_cast<size_t>(Count()));
        ScriptStringGetOrder(ssa, o.data());
        return o;
    }
    int32_t X(int32_t cp, bool trailing) const {
        int32_t x = -99999;
        EXPECT_EQ(ScriptStringCPtoX(ssa, cp, trailing, &x), S_OK);
        return x;
    }
};

struct Canvas {
    TBitmap bitmap{400, 60};
    TCanvas &c = bitmap.GetCanvas();
    explicit Canvas(const char16_t *face = u"Arial", int32_t height = -20) {
        c.GetFont().SetName(face);
        c.GetFont().SetHeight(height);
    }
};

// The canvas's cumulative extents turned into advances.
std::vector<int32_t> CanvasAdvances(TCanvas &c, std::u16string_view text) {
    std::vector<int32_t> ext;
    c.GetTextExtentExPoint(text, -1, nullptr, &ext);
    for (size_t i = ext.size(); i-- > 1;) {
        ext[i] -= ext[i - 1];
    }
    return ext;
}

} // namespace

TEST(ScriptString, PlainRunsMeasureAsTheCanvasDoes) {
    Canvas k;
    for (std::u16string text : {u"Hello, world", u"Привет, мир", u"Mixed Текст 123"}) {
        Analysis a(k.c, text);
        ASSERT_EQ(a.result, S_OK);
        EXPECT_EQ(a.Widths(), CanvasAdvances(k.c, text));
        EXPECT_EQ(*ScriptString_pSize(a.ssa), k.c.GetTextExtentPoint32(text));
        std::vector<uint32_t> identity(text.size());
        std::iota(identity.begin(), identity.end(), 0u);
        EXPECT_EQ(a.Order(), identity);
        // Left to right: each leading edge is the trailing edge of the one before.
        int32_t x = 0;
        for (int32_t i = 0; i < a.Count(); ++i) {
            EXPECT_EQ(a.X(i, false), x);
            x += a.Widths()[size_t(i)];
            EXPECT_EQ(a.X(i, true), x);
        }
    }
}

TEST(ScriptString, RightToLeftRunsStartAtTheRightEnd) {
    Canvas k;
    const std::u16string text = u"שלום";
    Analysis a(k.c, text, SSA_GLYPHS | SSA_FALLBACK | SSA_RTL);
    ASSERT_EQ(a.result, S_OK);
    const int32_t width = ScriptString_pSize(a.ssa)->cx;
    EXPECT_GT(width, 0);
    EXPECT_EQ(a.X(0, false), width); // the first character's leading edge is the right end
    EXPECT_EQ(a.X(3, true), 0);
    for (int32_t i = 1; i < 4; ++i) {
        EXPECT_EQ(a.X(i, false), a.X(i - 1, true));
    }
    EXPECT_EQ(a.Order(), (std::vector<uint32_t>{3, 2, 1, 0}));
    int32_t cp = 0, trailing = 0;
    ScriptStringXtoCP(a.ssa, width - 1, &cp, &trailing);
    EXPECT_EQ(cp, 0);
    EXPECT_EQ(trailing, 0);
    ScriptStringXtoCP(a.ssa, -5, &cp, &trailing);
    EXPECT_EQ(cp, 4);
    EXPECT_EQ(trailing, 0);
    ScriptStringXtoCP(a.ssa, width + 5, &cp, &trailing);
    EXPECT_EQ(cp, -1);
    EXPECT_EQ(trailing, 1);
}

TEST(ScriptString, MixedDirectionsKeepEachRunsOrder) {
    Canvas k;
    const std::u16string text = u"ab שלום cd";
    Analysis a(k.c, text);
    ASSERT_EQ(a.result, S_OK);
    const std::vector<uint32_t> order = a.Order();
    EXPECT_EQ(order[0], 0u);
    EXPECT_EQ(order[1], 1u);
    EXPECT_GT(order[3], order[6]); // the Hebrew word is shown reversed
    EXPECT_EQ(order[9], 9u);
    // The Hebrew letters' boxes run right to left between the two Latin words.
    EXPECT_GT(a.X(3, false), a.X(6, false));
    EXPECT_LT(a.X(1, true), a.X(6, true) + 1);
}

TEST(ScriptString, CombiningMarksHaveNoWidthOfTheirOwn) {
    Canvas k;
    const std::u16string text = u"e\u0301x";
    Analysis a(k.c, text);
    ASSERT_EQ(a.result, S_OK);
    const std::vector<int32_t> w = a.Widths();
    EXPECT_GT(w[0], 0);
    EXPECT_EQ(w[1], 0);
    EXPECT_EQ(a.X(1, false), a.X(0, true)); // the caret before the mark is after the base
    EXPECT_EQ(a.X(1, true), a.X(0, true));
    EXPECT_EQ(a.Order()[1], a.Order()[0]);
    EXPECT_EQ(std::accumulate(w.begin(), w.end(), 0), ScriptString_pSize(a.ssa)->cx);
}

TEST(ScriptString, LigaturesShareTheirWidth) {
    Canvas k(u"DejaVu Sans", -40);
    const std::u16string text = u"\u0644\u0627"; // lam alef: one glyph for two letters
    Analysis a(k.c, text, SSA_GLYPHS | SSA_FALLBACK | SSA_RTL);
    ASSERT_EQ(a.result, S_OK);
    const std::vector<int32_t> w = a.Widths();
    EXPECT_EQ(a.Order()[0], a.Order()[1]);
    EXPECT_GT(w[0], 0);
    EXPECT_LE(std::abs(w[0] - w[1]), 1);
    EXPECT_GE(w[0], w[1]);
}

TEST(ScriptString, ClippingKeepsWholeCharactersThatFit) {
    Canvas k;
    const std::u16string text = u"ab\u0301cdef";
    Analysis whole(k.c, text);
    const std::vector<int32_t> w = whole.Widths();
    const int32_t upToB = w[0] + w[1];
    struct Case {
        int32_t width;
        int32_t kept;
    } cases[] = {{0, 0}, {w[0] - 1, 0}, {w[0], 1}, {upToB - 1, 1}, {upToB, 3}, {100000, 7}};
    for (const Case &c : cases) {
        Analysis a(k.c, text, SSA_GLYPHS | SSA_FALLBACK | SSA_CLIP, c.width);
        ASSERT_EQ(a.result, S_OK);
        EXPECT_EQ(a.Count(), c.kept) << c.width;
        const std::vector<int32_t> kept = a.Widths();
        EXPECT_EQ(ScriptString_pSize(a.ssa)->cx, std::accumulate(kept.begin(), kept.end(), 0));
        EXPECT_LE(ScriptString_pSize(a.ssa)->cx, c.width);
    }
}

// Analyses are made one after another in the same or another font, of the same text, a piece
// of it or a longer one, after a clipped one: each answers for its own font and text.
TEST(ScriptString, EachAnalysisAnswersForItsOwnFontAndText) {
    const std::u16string text = u"Привет, мир";
    struct Case {
        const char *name;
        std::u16string second;
        int32_t height;
        TFontStyles style;
        int32_t firstClip; // the first analysis clipped at this width, or -1
    } cases[] = {
        {"the same text", text, -20, {}, -1},
        {"a piece", text.substr(0, 6), -20, {}, -1},
        {"a piece, larger", text.substr(0, 6), -27, {}, -1},
        {"the same text, bold", text, -20, {fsBold}, -1},
        {"a piece, bold", text.substr(0, 6), -20, {fsBold}, -1},
        {"another text", u"Прибор, мир", -20, {}, -1},
        {"a longer text", text + u" и труд", -20, {}, -1},
        {"the whole after a clipped one", text, -20, {}, 40},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Canvas k;
        {
            Analysis first(k.c, text, SSA_GLYPHS | SSA_FALLBACK | SSA_CLIP, c.firstClip);
            ASSERT_EQ(first.result, S_OK);
        }
        k.c.GetFont().SetHeight(c.height);
        k.c.GetFont().SetStyle(c.style);
        Analysis second(k.c, c.second);
        ASSERT_EQ(second.result, S_OK);
        EXPECT_EQ(second.Widths(), CanvasAdvances(k.c, c.second));
        EXPECT_EQ(*ScriptString_pSize(second.ssa), k.c.GetTextExtentPoint32(c.second));
        EXPECT_EQ(second.X(second.Count() - 1, true), ScriptString_pSize(second.ssa)->cx);
    }
}

TEST(ScriptString, ImposedWidthsPlaceTheCharacters) {
    Canvas k;
    const std::u16string text = u"abc";
    const int32_t dx[] = {30, 0, 12};
    Analysis a(k.c, text, SSA_GLYPHS | SSA_FALLBACK, -1, dx);
    ASSERT_EQ(a.result, S_OK);
    EXPECT_EQ(a.Widths(), (std::vector<int32_t>{30, 0, 12}));
    EXPECT_EQ(ScriptString_pSize(a.ssa)->cx, 42);
    EXPECT_EQ(a.X(2, false), 30);
    // Drawn: the "c" starts 30 pixels right of the "a".
    k.c.GetFont().SetColor(clBlack);
    k.c.GetBrush().SetStyle(bsClear);
    ASSERT_EQ(ScriptStringOut(a.ssa, 10, 10, 0, nullptr, 0, 0, false), S_OK);
    TBitmap reference(400, 60);
    reference.GetCanvas().GetFont().Assign(k.c.GetFont());
    reference.GetCanvas().GetBrush().SetStyle(bsClear);
    reference.GetCanvas().ExtTextOut(10, 10, 0, nullptr, text, {30, 0, 12});
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 400; ++x) {
            ASSERT_EQ(k.c.GetPixel(x, y), reference.GetCanvas().GetPixel(x, y)) << x << "," << y;
        }
    }
}

TEST(ScriptString, EightBitTextIsReadInTheCharsetsCodePage) {
    Canvas k;
    const char bytes[] = "\xCF\xF0\xE8\xE2\xE5\xF2"; // "Привет" in code page 1251
    SCRIPT_STRING_ANALYSIS ansi = nullptr;
    ASSERT_EQ(ScriptStringAnalyse(&k.c, bytes, 6, 32, RUSSIAN_CHARSET, SSA_GLYPHS, -1, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, &ansi),
              S_OK);
    Analysis wide(k.c, u"Привет");
    EXPECT_EQ(*ScriptString_pSize(ansi), *ScriptString_pSize(wide.ssa));
    ScriptStringFree(&ansi);
    EXPECT_EQ(ansi, nullptr);
}

TEST(ScriptString, FailuresLeaveNoAnalysis) {
    Canvas k;
    Analysis tooFewGlyphs(k.c, u"abcdef", SSA_GLYPHS, -1, nullptr, 3);
    EXPECT_TRUE(FAILED(tooFewGlyphs.result));
    EXPECT_EQ(tooFewGlyphs.ssa, nullptr);
    Analysis empty(k.c, u"");
    EXPECT_TRUE(FAILED(empty.result));
    EXPECT_EQ(empty.ssa, nullptr);
    EXPECT_EQ(ScriptString_pSize(nullptr), nullptr);
    Analysis ok(k.c, u"ab");
    int32_t x = 0;
    EXPECT_TRUE(FAILED(ScriptStringCPtoX(ok.ssa, 2, false, &x)));
    EXPECT_TRUE(FAILED(ScriptStringOut(ok.ssa, 0, 0, 0, nullptr, 0, 1, false)));
}

TEST(ScriptString, TheLibraryIsLoadedByName) {
    const HMODULE usp = LoadLibraryW(u"USP10.dll");
    ASSERT_NE(usp, 0u);
    for (const char *name :
         {"ScriptStringAnalyse", "ScriptStringCPtoX", "ScriptStringXtoCP", "ScriptStringOut",
          "ScriptString_pSize", "ScriptStringFree", "ScriptStringGetLogicalWidths",
          "ScriptString_pcOutChars", "ScriptStringGetOrder"}) {
        EXPECT_NE(GetProcAddress(usp, name), nullptr) << name;
    }
    EXPECT_EQ(
        reinterpret_cast<decltype(&ScriptStringFree)>(GetProcAddress(usp, "ScriptStringFree")),
        &ScriptStringFree);
    EXPECT_EQ(GetProcAddress(usp, "ScriptShape"), nullptr);
    EXPECT_EQ(LoadLibraryW(u"nosuch.dll"), 0u);
    EXPECT_EQ(GetProcAddress(0, "ScriptStringFree"), nullptr);
    EXPECT_TRUE(FreeLibrary(usp));
    EXPECT_FALSE(FreeLibrary(0));
}

TEST(Characters, MarksAndSurrogatePairsBelongToTheCharacterBefore) {
    const std::u16string text = u"a\u0301\u05D1\u05B8b\U0001F600c\uFE0F";
    struct Case {
        size_t index;
        bool start;
    } cases[] = {{0, true}, {1, false}, {2, true}, {3, false}, {4, true},
                 {5, true}, {6, false}, {7, true}, {8, false}, {9, true}};
    for (const Case &c : cases) {
        EXPECT_EQ(IsCharacterStart(text, c.index), c.start) << c.index;
    }
    EXPECT_EQ(CharNextW(text, 0), 2u);
    EXPECT_EQ(CharNextW(text, 5), 7u);
    EXPECT_EQ(CharNextW(text, 7), 9u);
    EXPECT_EQ(IsCharacterStart(u"\u0301", 0), true);
}
