// Canvas text functions: GDI's metrics from the fonts' design metrics, extents independent of
// the device, character placement, and ExtTextOut's alignment, advances and escapement.
//
// "Arial" resolves to Liberation Sans (2048 units per em). Its numbers below come from the
// font file itself (OS/2, hhea and post tables; advances as hb-shape reports them with kerning
// and ligatures off), so at an em of 2048 logical units every value is exact.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/TextShaping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace gfx;

namespace {

struct Surface {
    int W, H;
    std::vector<uint32_t> mem;
    TCanvas c;
    Surface(int w, int h, int ppi = 96)
        : W(w), H(h), mem(size_t(w * h), 0xFFFFFFFFu),
          c(NewPixelDevice(mem.data(), w, h, w * 4, ppi)) {
        c.GetFont().SetName(u"Arial");
        c.GetFont().SetColor(clBlack);
        c.GetBrush().SetStyle(bsClear);
    }
    struct Box {
        int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
        bool Empty() const { return Right < 0; }
    };
    // The box of the pixels darker than mid grey.
    Box Ink() const {
        Box b;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                if ((mem[size_t(y * W + x)] & 0xFF) < 0x80) {
                    b.Left = std::min(b.Left, x);
                    b.Top = std::min(b.Top, y);
                    b.Right = std::max(b.Right, x);
                    b.Bottom = std::max(b.Bottom, y);
                }
            }
        }
        return b;
    }
};

const std::u16string Sample = u"Hal Привет";
const std::vector<int32_t> SampleEdges = {1479, 2618, 3073, 3642, 5114,
                                          6253, 7397, 8485, 9624, 10562};

} // namespace

TEST(TextMetrics, ComeFromTheDesignMetricsAtTheEm) {
    for (const int32_t height : {-2048, 2288}) { // the em, and the same font by its cell
        Surface s(4, 4);
        s.c.GetFont().SetHeight(height);
        const TTextMetric tm = s.c.GetTextMetrics();
        EXPECT_EQ(tm.tmAscent, 1854) << height;
        EXPECT_EQ(tm.tmDescent, 434);
        EXPECT_EQ(tm.tmHeight, 2288);
        EXPECT_EQ(tm.tmInternalLeading, 240);
        EXPECT_EQ(tm.tmExternalLeading, 67);
        EXPECT_EQ(tm.tmAveCharWidth, 1187);
        EXPECT_EQ(tm.tmWeight, 400);
        EXPECT_EQ(tm.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_FIXED_PITCH),
                  TMPF_TRUETYPE | TMPF_FIXED_PITCH);
        TOutlineTextMetric otm;
        ASSERT_TRUE(s.c.GetOutlineTextMetrics(otm));
        EXPECT_EQ(otm.otmEMSquare, 2048u);
        EXPECT_EQ(otm.otmptSubscriptSize.Y, 1331);
        EXPECT_EQ(otm.otmptSubscriptOffset.Y, 283);
        EXPECT_EQ(otm.otmptSuperscriptOffset.Y, 977);
        EXPECT_EQ(otm.otmsStrikeoutSize, 102u);
        EXPECT_EQ(otm.otmsStrikeoutPosition, 530);
        EXPECT_EQ(otm.otmsUnderscoreSize, 150);
        EXPECT_EQ(otm.otmsUnderscorePosition, -67);
        EXPECT_EQ(otm.otmpFamilyName, u"Liberation Sans");
    }
}

TEST(TextMetrics, ScaleLinearlyAndAlikeOnEveryResolution) {
    Surface screen(4, 4, 96), printer(4, 4, 600);
    for (Surface *s : {&screen, &printer}) {
        s->c.GetFont().SetHeight(-20);
    }
    const TSize a = screen.c.GetTextExtentPoint32(Sample);
    EXPECT_EQ(a, printer.c.GetTextExtentPoint32(Sample));
    EXPECT_EQ(a.cx, 103); // 10562 * 20 / 2048 = 103.1
    EXPECT_EQ(a.cy, 22);  // 18 + 4
    screen.c.GetFont().SetHeight(-200);
    EXPECT_EQ(screen.c.GetTextExtentPoint32(Sample).cx, 1031);
}

// The canvas keeps the fonts it has realised: switching back and forth among more fonts than
// it keeps gives each its own metrics and extents every time.
TEST(TextMetrics, SwitchingAmongManyFontsGivesEachItsOwnMetrics) {
    struct Measured {
        TTextMetric Metric;
        TSize Extent;
    };
    const auto measure = [](TCanvas &c, int32_t k) {
        c.GetFont().SetHeight(-(10 + k / 2));
        c.GetFont().SetStyle(k % 2 ? TFontStyles{fsBold} : TFontStyles{});
        return Measured{c.GetTextMetrics(), c.GetTextExtentPoint32(Sample)};
    };
    constexpr int32_t Fonts = 40;
    std::vector<Measured> alone;
    for (int32_t k = 0; k < Fonts; ++k) {
        Surface s(8, 8);
        alone.push_back(measure(s.c, k));
    }
    Surface shared(8, 8);
    for (int32_t step = 0; step < 4 * Fonts; ++step) {
        const int32_t k = step < Fonts ? step : (step * 7) % Fonts;
        const Measured m = measure(shared.c, k);
        EXPECT_EQ(m.Metric.tmHeight, alone[size_t(k)].Metric.tmHeight) << k;
        EXPECT_EQ(m.Metric.tmAveCharWidth, alone[size_t(k)].Metric.tmAveCharWidth) << k;
        EXPECT_EQ(m.Metric.tmWeight, alone[size_t(k)].Metric.tmWeight) << k;
        EXPECT_EQ(m.Extent, alone[size_t(k)].Extent) << k;
    }
}

TEST(TextExtents, CumulativeEdgesFitAndTheWholeExtent) {
    Surface s(4, 4);
    s.c.GetFont().SetHeight(-2048);
    std::vector<int32_t> dx;
    int32_t fit = -1;
    const TSize all = s.c.GetTextExtentExPoint(Sample, -1, &fit, &dx);
    EXPECT_EQ(fit, int32_t(Sample.size()));
    EXPECT_EQ(dx, SampleEdges);
    EXPECT_EQ(all.cx, 10562);
    struct Case {
        int32_t max, fit;
    };
    for (const Case &k : {Case{0, 0}, Case{1478, 0}, Case{1479, 1}, Case{5113, 4}, Case{10561, 9},
                          Case{20000, 10}}) {
        const TSize size = s.c.GetTextExtentExPoint(Sample, k.max, &fit, &dx);
        EXPECT_EQ(fit, k.fit) << k.max;
        EXPECT_EQ(dx.size(), size_t(k.fit)) << k.max;
        EXPECT_EQ(size.cx, 10562) << "the extent is always the whole text's";
    }
    EXPECT_EQ(s.c.GetTextExtentPoint32(u"").cx, 0);
}

TEST(TextExtents, CharacterExtraIsAddedAfterEveryCharacter) {
    Surface s(4, 4);
    s.c.GetFont().SetHeight(-2048);
    s.c.SetTextCharacterExtra(7);
    std::vector<int32_t> dx;
    s.c.GetTextExtentExPoint(Sample, -1, nullptr, &dx);
    for (size_t i = 0; i < dx.size(); ++i) {
        EXPECT_EQ(dx[i], SampleEdges[i] + 7 * int32_t(i + 1)) << i;
    }
}

TEST(TextExtents, PlainTextMeasuresAsTheShaperPlacesIt) {
    // A joiner makes the text need shaping; the characters before it must measure exactly as
    // the advance cache measures them alone.
    Surface s(4, 4);
    s.c.GetFont().SetHeight(-2048);
    std::vector<int32_t> plain, shaped;
    s.c.GetTextExtentExPoint(Sample, -1, nullptr, &plain);
    s.c.GetTextExtentExPoint(Sample + u"\u200D", -1, nullptr, &shaped);
    ASSERT_EQ(shaped.size(), plain.size() + 1);
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), shaped.begin()));
    EXPECT_EQ(shaped.back(), plain.back()) << "the joiner takes no room";
}

TEST(TextExtents, CharactersTheFaceLacksComeFromAnotherFace) {
    // Liberation Sans has no Arabic; the text still measures and shows.
    Surface s(200, 40);
    s.c.GetFont().SetHeight(-20);
    const std::u16string arabic = u"\u0633\u0644\u0627\u0645";
    EXPECT_GT(s.c.GetTextExtentPoint32(arabic).cx, 10);
    s.c.TextOut(10, 5, rtl::UnicodeString(arabic));
    EXPECT_FALSE(s.Ink().Empty());
}

TEST(TextPlacement, RightToLeftRunsAreReordered) {
    Surface s(4, 4);
    s.c.GetFont().SetHeight(-20);
    TGcpResults r;
    const std::u16string text = u"ab \u05E9\u05DC\u05D5\u05DD"; // "ab " and four Hebrew letters
    const TSize size = s.c.GetCharacterPlacement(text, 0, r, GCP_REORDER);
    EXPECT_EQ(size.cx, s.c.GetTextExtentPoint32(text).cx);
    EXPECT_GT(size.cy, 0);
    ASSERT_EQ(r.Order.size(), text.size());
    EXPECT_EQ(r.Order[0], 0u);
    EXPECT_EQ(r.Order[1], 1u);
    EXPECT_EQ(r.Order[3], 6u) << "the first Hebrew letter stands rightmost";
    EXPECT_EQ(r.Order[6], 3u);
    EXPECT_EQ(r.Class[0], GCPCLASS_LATIN);
    EXPECT_EQ(r.Class[2], GCPCLASS_NEUTRAL);
    EXPECT_EQ(r.Class[4], GCPCLASS_HEBREW);
    EXPECT_EQ(r.GlyphCount, 7u);
    int32_t sum = 0;
    for (int32_t d : r.Dx) {
        sum += d;
    }
    EXPECT_EQ(sum, size.cx);
    // The caret before a right-to-left letter is at its right edge.
    EXPECT_GT(r.CaretPos[3], r.CaretPos[6]);
}

TEST(TextOut, AlignmentPlacesTheReferencePoint) {
    struct Case {
        uint32_t align;
        int inkRight, inkBottom; // relative to the reference point (100, 60), +-2
    };
    // "H" at an em of 40: width 29 (1479 units), cap height 29 (1409 units), ascent 36.
    const Case cases[] = {
        {TA_LEFT | TA_TOP, 100 + 26, 60 + 36 - 1},   {TA_RIGHT | TA_TOP, 100 - 3, 60 + 36 - 1},
        {TA_CENTER | TA_TOP, 100 + 11, 60 + 36 - 1}, {TA_LEFT | TA_BASELINE, 100 + 26, 60 - 1},
        {TA_LEFT | TA_BOTTOM, 100 + 26, 60 - 8 - 1},
    };
    for (const Case &k : cases) {
        Surface s(200, 140);
        s.c.GetFont().SetHeight(-40);
        s.c.SetTextAlign(k.align);
        s.c.TextOut(100, 60, u"H");
        const Surface::Box ink = s.Ink();
        EXPECT_NEAR(ink.Right, k.inkRight, 2) << "align " << k.align;
        EXPECT_NEAR(ink.Bottom, k.inkBottom, 2) << "align " << k.align;
    }
}

TEST(TextOut, AdvancesPlaceEveryCharacter) {
    Surface s(300, 60);
    s.c.GetFont().SetHeight(-40);
    s.c.ExtTextOut(10, 5, 0, nullptr, u"ll", {100, 50});
    // Two strokes of "l": the second starts 100 units after the first.
    std::vector<int> columns;
    for (int x = 0; x < s.W; ++x) {
        if ((s.mem[size_t(30 * s.W + x)] & 0xFF) < 0x80 &&
            (x == 0 || (s.mem[size_t(30 * s.W + x - 1)] & 0xFF) >= 0x80)) {
            columns.push_back(x);
        }
    }
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[1] - columns[0], 100);
}

TEST(TextOut, UpdateCurrentPositionMovesAlongTheText) {
    Surface s(200, 60);
    s.c.GetFont().SetHeight(-2048 / 64);
    s.c.SetTextAlign(TA_UPDATECP);
    s.c.MoveTo(7, 9);
    s.c.ExtTextOut(0, 0, 0, nullptr, u"Hal");
    EXPECT_EQ(s.c.GetPenPos(), (TPoint{7 + 48, 9})); // 3073 / 64 = 48.0
}

TEST(TextOut, EscapementTurnsTheBaseline) {
    Surface s(120, 160);
    s.c.GetFont().SetHeight(-20);
    s.c.GetFont().SetOrientation(900);
    s.c.TextOut(40, 150, u"HHHHHH");
    const Surface::Box ink = s.Ink();
    EXPECT_GT(ink.Bottom - ink.Top, 3 * (ink.Right - ink.Left)) << "the text runs upward";
    EXPECT_LE(ink.Bottom, 150);
    EXPECT_GE(ink.Left, 40) << "the cell's top is to the left of the baseline going up";
}

TEST(TextOut, OpaqueBackgroundFillsTheCellAndOpaqueRectFillsTheRect) {
    Surface s(100, 40);
    s.c.GetFont().SetHeight(-20);
    s.c.SetBkColor(clRed);
    s.c.SetBkMode(OPAQUE);
    s.c.TextOut(5, 5, u"ab");
    const TSize ext = s.c.TextExtent(u"ab");
    EXPECT_EQ(s.mem[size_t(5 * s.W + 5)] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(s.mem[size_t((5 + ext.cy - 1) * s.W + 5 + ext.cx - 1)] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(s.mem[size_t((5 + ext.cy) * s.W + 5)] & 0xFFFFFF, 0xFFFFFFu);
    Surface t(100, 40);
    t.c.GetFont().SetHeight(-20);
    t.c.SetBkColor(clLime);
    t.c.SetBkMode(TRANSPARENT);
    const TRect r = Rect(60, 2, 90, 30);
    t.c.ExtTextOut(62, 4, ETO_OPAQUE | ETO_CLIPPED, &r, u"WWWW");
    EXPECT_EQ(t.mem[size_t(29 * t.W + 89)] & 0xFFFFFF, 0x00FF00u);
    EXPECT_LE(t.Ink().Right, 89) << "clipped to the rectangle";
}

TEST(TextOut, UnderlineAndStrikeOutAreDrawnWithTheText) {
    Surface s(100, 60);
    s.c.GetFont().SetHeight(-40);
    s.c.GetFont().SetStyle({fsUnderline});
    s.c.TextOut(5, 5, u"  ");
    const Surface::Box underline = s.Ink();
    ASSERT_FALSE(underline.Empty());
    // At the post table's position: 67 units below the baseline at 36.
    EXPECT_NEAR(underline.Top, 5 + 36 + 1, 1);
    EXPECT_EQ(underline.Right, 5 + s.c.TextWidth(u"  ") - 1);
}

TEST(TextOut, GlyphIndicesFromCharacterPlacementDrawAsTheCharactersDo) {
    Surface chars(200, 50), glyphs(200, 50);
    for (Surface *s : {&chars, &glyphs}) {
        s->c.GetFont().SetHeight(-30);
    }
    const std::u16string text = u"Hal Привет";
    chars.c.TextOut(5, 5, text);
    TGcpResults r;
    glyphs.c.GetCharacterPlacement(text, 0, r, GCP_REORDER | GCP_GLYPHSHAPE);
    const std::u16string ids(r.Glyphs.begin(), r.Glyphs.end());
    glyphs.c.ExtTextOut(5, 5, ETO_GLYPH_INDEX, nullptr, ids, r.Dx);
    EXPECT_EQ(chars.mem, glyphs.mem);
    // Without advances the glyphs' own are taken, which are the same.
    Surface own(200, 50);
    own.c.GetFont().SetHeight(-30);
    own.c.ExtTextOut(5, 5, ETO_GLYPH_INDEX, nullptr, ids);
    EXPECT_EQ(chars.mem, own.mem);
}
