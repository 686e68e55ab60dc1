// The graphic interface's shared algorithms: spreading justification over advances and over
// coordinates, the character extra, special characters, text ranges and their clip regions,
// output at a reference canvas's positions, the canvas font copy, transform scaling and the
// dotted guide lines.
#include "vizivodu/layout/text/VDGrIn.h"

#include "tests/vizivodu/layout/text/GrInTestSupport.h"
#include "vizivodu/VDStartup.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

// The protected character-extra routines.
struct TExposed : TVDGraphicInterface {
    using TVDGraphicInterface::ApplyCharExtraToDX;
    using TVDGraphicInterface::GetCharExtraDelta;
};

// A run of n characters without text: every position counts.
TVDTextRun Positions(int32_t n) {
    return {nullptr, n, true};
}

std::vector<int32_t> Cumulative(const std::vector<int32_t> &advances) {
    std::vector<int32_t> edges(advances.size());
    std::partial_sum(advances.begin(), advances.end(), edges.begin());
    return edges;
}

// The clip region of a canvas in device pixels, empty for none.
std::vector<rtl::TRect> ClipRects(gfx::TCanvas &canvas) {
    gfx::TRegion region;
    return canvas.GetClipRgn(region) == 1 ? region.GetRects() : std::vector<rtl::TRect>{};
}

} // namespace

TEST(GraphicInterface, DistributeSpacingToDXSpreadsTheRestEvenly) {
    struct TCase {
        std::vector<int32_t> Advances;
        int32_t Extra, Left, Right;
        std::vector<int32_t> Expected;
    };
    const TCase cases[] = {
        // Ten positions: 2 each and one more for the 3rd, 6th and 8th.
        {std::vector<int32_t>(10, 1), 23, -1, -1, {3, 3, 4, 3, 3, 4, 3, 4, 3, 3}},
        {std::vector<int32_t>(10, 5), -3, -1, -1, {5, 5, 4, 5, 5, 4, 5, 4, 5, 5}},
        {std::vector<int32_t>(10, 5), 0, -1, -1, std::vector<int32_t>(10, 5)},
        // The excluded ends and a zero advance never widen.
        {{4, 4, 4, 4, 0, 4, 4, 4, 4, 4}, 7, 0, 9, {4, 5, 5, 5, 0, 5, 5, 5, 5, 4}},
        {{0, 0, 0}, 5, -1, -1, {0, 0, 0}},
        {{2, 2, 2}, 1, -1, -1, {2, 3, 2}},
    };
    for (const TCase &c : cases) {
        std::vector<int32_t> pdx = c.Advances;
        TVDGraphicInterface::DistributeSpacingToDX(Positions(int32_t(pdx.size())), pdx, c.Extra,
                                                   c.Left, c.Right, {});
        EXPECT_EQ(pdx, c.Expected) << c.Extra;
    }
}

TEST(GraphicInterface, DistributeSpacingToDXGoesThroughTheOrderAndSkipsMarks) {
    // Output positions reversed: logical 0 is output 2.
    std::vector<int32_t> pdx = {10, 20, 30};
    const std::vector<uint32_t> order = {2, 1, 0};
    TVDGraphicInterface::DistributeSpacingToDX(Positions(3), pdx, 3, 0, -1, order);
    EXPECT_EQ(pdx, (std::vector<int32_t>{11, 22, 30}));
    // A combining mark with an advance of its own does not start a character.
    const std::u16string text = u"ae\u0301i";
    std::vector<int32_t> marks = {5, 5, 5, 5};
    TVDGraphicInterface::DistributeSpacingToDX(TextRun(text), marks, 3, -1, -1, {});
    EXPECT_EQ(marks, (std::vector<int32_t>{6, 6, 5, 6}));
}

TEST(GraphicInterface, ExpandSpacesInDXGivesTheRemainderToTheLaterSpaces) {
    const std::u16string text = u"a b c d";
    struct TCase {
        int32_t SpaceCount, Extra;
        std::vector<int32_t> Expected;
    };
    const TCase cases[] = {
        {3, 10, {1, 4, 1, 4, 1, 5, 1}},      {3, -4, {1, 0, 1, 0, 1, -1, 1}},
        {2, 10, {1, 6, 1, 6, 1, 1, 1}}, // spaces beyond the count get nothing
        {5, 10, {1, 3, 1, 3, 1, 3, 1}}, // a count above the spaces leaves the rest unspread
        {0, 10, std::vector<int32_t>(7, 1)},
    };
    for (const TCase &c : cases) {
        std::vector<int32_t> pdx(7, 1);
        TVDGraphicInterface::ExpandSpacesInDX(TextRun(text), pdx, c.SpaceCount, c.Extra, {});
        EXPECT_EQ(pdx, c.Expected) << c.SpaceCount << " " << c.Extra;
    }
    std::vector<int32_t> ordered(7, 1);
    const std::vector<uint32_t> reversed = {6, 5, 4, 3, 2, 1, 0};
    TVDGraphicInterface::ExpandSpacesInDX(TextRun(text), ordered, 3, 10, reversed);
    EXPECT_EQ(ordered, (std::vector<int32_t>{1, 5, 1, 4, 1, 4, 1}));
}

TEST(GraphicInterface, SpreadingOverCoordinatesMatchesSpreadingOverAdvances) {
    std::mt19937 random(12345);
    const std::u16string text = u"Lorem ipsum dolor sit amet, consectetur adipiscing";
    const int32_t n = int32_t(text.size());
    for (int round = 0; round < 200; ++round) {
        std::vector<int32_t> advances(static_cast<size_t>(n));
        // Advances of 3 to 14 pixels, some 0; no character is narrowed past its left edge.
        for (int32_t &a : advances) {
            a = random() % 7 == 0 ? 0 : 3 + int32_t(random() % 12);
        }
        const int32_t spaces = int32_t(random() % 9);
        const int32_t extra = int32_t(random() % 121) - 2 * std::max(spaces, 1);
        const int32_t left = int32_t(random() % (n + 1)) - 1;
        const int32_t right = int32_t(random() % (n + 1)) - 1;
        for (bool distribute : {false, true}) {
            std::vector<int32_t> pdx = advances;
            std::vector<int32_t> coordsR = Cumulative(advances);
            std::vector<int32_t> coordsL(coordsR.size());
            std::transform(coordsR.begin(), coordsR.end(), advances.begin(), coordsL.begin(),
                           std::minus<int32_t>());
            std::vector<int32_t> carets = {0};
            carets.insert(carets.end(), coordsR.begin(), coordsR.end());
            if (distribute) {
                TVDGraphicInterface::DistributeSpacingToDX(TextRun(text), pdx, extra, left, right,
                                                           {});
                TVDGraphicInterface::DistributeSpacingInCoords(TextRun(text), coordsL, coordsR,
                                                               carets, extra, left, right);
            } else {
                TVDGraphicInterface::ExpandSpacesInDX(TextRun(text), pdx, spaces, extra, {});
                TVDGraphicInterface::ExpandSpacesInCoords(TextRun(text), coordsL, coordsR, carets,
                                                          spaces, extra);
            }
            // Zero advances make coordinates that compare alike: the right edges stand for
            // the advances only where the character has width.
            const std::vector<int32_t> expected = Cumulative(pdx);
            for (int32_t i = 0; i < n; ++i) {
                if (advances[size_t(i)] != 0) {
                    ASSERT_EQ(coordsR[size_t(i)], expected[size_t(i)])
                        << "round " << round << " distribute " << distribute << " at " << i;
                }
            }
            EXPECT_EQ(carets.back(), expected.back());
        }
    }
}

TEST(GraphicInterface, CharacterExtraChangesAdvancesAtCharacterStarts) {
    struct TCase {
        int32_t CharExtra;
        std::vector<int32_t> Advances, Expected;
    };
    const TCase cases[] = {
        {2, {5, 0, 1}, {7, 0, 3}},
        {-3, {5, 3, 1, 0}, {2, 1, 1, 0}}, // advances not above 3 become 1, zero stays
        {0, {5, 0}, {5, 0}},
    };
    for (const TCase &c : cases) {
        std::vector<int32_t> pdx = c.Advances;
        const TVDTextRun run = Positions(int32_t(pdx.size()));
        const int32_t delta = TExposed::GetCharExtraDelta(run, c.CharExtra, pdx);
        TExposed::ApplyCharExtraToDX(run, c.CharExtra, pdx);
        EXPECT_EQ(pdx, c.Expected);
        EXPECT_EQ(delta, std::accumulate(pdx.begin(), pdx.end(), 0) -
                             std::accumulate(c.Advances.begin(), c.Advances.end(), 0));
    }
    const std::u16string text = u"e\u0301x";
    std::vector<int32_t> pdx = {5, 5, 5};
    TExposed::ApplyCharExtraToDX(TextRun(text), 2, pdx);
    EXPECT_EQ(pdx, (std::vector<int32_t>{7, 5, 7}));
}

// Every character 10 wide, a soft hyphen 6 and a zero width space 4 (as fonts draw them);
// counts the measurements.
struct TFixedWidths : TVDGraphicInterface {
    int Calls = 0;
    rtl::TSize TextSizeBasic(gfx::TCanvas &, const TVDTextRun &run) override {
        ++Calls;
        int32_t width = 0;
        for (int32_t i = 0; i < run.Length; ++i) {
            const char16_t c = run.Str ? run.CharAt(i) : u'x';
            width += c == 0x00AD ? 6 : c == 0x200B ? 4 : 10;
        }
        return {width, 12};
    }
};

TEST(GraphicInterface, SoftHyphensTakeNoWidth) {
    TTextCanvas k;
    TFixedWidths gi;
    gfx::TCanvas &c = k.Canvas();
    EXPECT_EQ(gi.TextWidth(c, u"\u00AD"), 0);
    EXPECT_EQ(gi.TextWidth(c, u"ab\u00ADcd"), 40);
    const std::u16string hyphenated = u"ab\u00ADcd";
    EXPECT_EQ(gi.TextSize(c, TextRun(hyphenated, false, true)).cx, 46);
    // From Vista on a zero width space keeps the width the font gives it.
    EXPECT_EQ(gi.TextWidth(c, u"a\u200Bb"), 24);
    EXPECT_EQ(gi.TextWidth(c, u""), 0);
    EXPECT_EQ(gi.TextHeight(c, u""), 12);
    int32_t fit = -1;
    rtl::TSize size;
    const std::u16string empty;
    gi.MaxFit(c, TextRun(empty), 100, fit, size);
    EXPECT_EQ(fit, 0);
    EXPECT_EQ(size, (rtl::TSize{0, 12}));
}

TEST(GraphicInterface, SpecialCharacterWidthsAreMeasuredOncePerRecord) {
    TFixedWidths gi;
    TTextCanvas k;
    const std::u16string text = u"a\u00ADb\u00ADc\u00AD";
    TVDStringAdjRecord rec;
    EXPECT_EQ(gi.GetTextWidthAdjustingDeltaEx(k.Canvas(), TextRun(text), rec), -18);
    EXPECT_EQ(gi.Calls, 1);
    EXPECT_EQ(rec.SHRWidth, 6);
    EXPECT_EQ(rec.ZWSWidth, -1);
    EXPECT_EQ(gi.GetTextWidthAdjustingDeltaEx(k.Canvas(), TextRun(text), rec), -18);
    EXPECT_EQ(gi.Calls, 1);
    const std::string ansi = "a\xAD"
                             "b";
    EXPECT_EQ(gi.GetTextWidthAdjustingDelta(k.Canvas(), AnsiRun(ansi)), 0);
}

TEST(GraphicInterface, AdjustCoordArrayTakesOutSoftHyphensAndWordJoiners) {
    const std::u16string text = u"a\u00ADb\u2060c\u200B";
    std::vector<int32_t> coords = {10, 15, 25, 28, 38, 40};
    TVDGraphicInterface::AdjustCoordArray(TextRun(text), coords);
    // From Vista on the zero width space keeps its width.
    EXPECT_EQ(coords, (std::vector<int32_t>{10, 10, 20, 20, 30, 32}));
}

TEST(GraphicInterface, TextRangesFollowTheCharactersAsShown) {
    TTextCanvas k;
    InitializeLibrary();
    TVDUniscribeGraphicInterface uniscribe;
    TVDWinGraphicInterface gdi;
    const std::u16string latin = u"Hello world";
    for (TVDGraphicInterface *gi : std::initializer_list<TVDGraphicInterface *>{&gdi, &uniscribe}) {
        const TVDCoordRanges ranges =
            gi->GetTextRangeCoords(k.Canvas(), TextRun(latin), 0, 0, 2, 6, -1, -1);
        ASSERT_EQ(ranges.size(), 1u);
        const auto data = gi->GetGlyphDX(k.Canvas(), TextRun(latin), 0, 0, {vdgnCoords}, -1, -1);
        EXPECT_EQ(ranges[0].Left, data->PXL[2]);
        EXPECT_EQ(ranges[0].Right, data->PXR[6]);
    }
    // "b", the space and two Hebrew letters: the letters stand apart, at the word's right end.
    const std::u16string mixed = u"ab \u05E9\u05DC\u05D5\u05DD cd";
    TVDCoordRanges ranges =
        uniscribe.GetTextRangeCoords(k.Canvas(), TextRun(mixed, true), 0, 0, 1, 4, -1, -1);
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_LT(ranges[0].Right, ranges[1].Left);
    TVDGraphicInterface::FreeAdditionalCoordRangeRecords(ranges);
    EXPECT_EQ(ranges.size(), 1u);
}

TEST(GraphicInterface, TextRangeRegionClipsToTheCharacters) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    gfx::TCanvas &c = k.Canvas();
    const std::u16string text = u"Hello world";
    const auto data = gi.GetGlyphDX(c, TextRun(text), 0, 0, {vdgnCoords}, -1, -1);
    // Reversed: nothing happens.
    EXPECT_FALSE(gi.ApplyTextRangeRegion(c, c, TextRun(text), 0, 0, 3, 2, 10, 10, 0, 30, -1, -1));
    EXPECT_TRUE(ClipRects(c).empty());
    ASSERT_TRUE(gi.ApplyTextRangeRegion(c, c, TextRun(text), 0, 0, 1, 2, 5, 10, 0, 30, -1, -1));
    EXPECT_EQ(ClipRects(c),
              (std::vector<rtl::TRect>{rtl::Rect(10 + data->PXL[1], 0, 10 + data->PXR[2], 30)}));
    // From the first character on, the item's leading space is covered too.
    c.SelectClipRgn(nullptr);
    ASSERT_TRUE(gi.ApplyTextRangeRegion(c, c, TextRun(text), 0, 0, 0, 2, 5, 10, 0, 30, -1, -1));
    EXPECT_EQ(ClipRects(c), (std::vector<rtl::TRect>{rtl::Rect(5, 0, 10 + data->PXR[2], 30)}));
}

TEST(GraphicInterface, SplitTextRangeStaysClippedOnACanvasWithoutClipRegion) {
    InitializeLibrary();
    TVDUniscribeGraphicInterface gi;
    for (bool withClip : {false, true}) {
        TTextCanvas k;
        gfx::TCanvas &c = k.Canvas();
        if (withClip) {
            c.IntersectClipRect(0, 0, 600, 20);
        }
        const std::u16string mixed = u"ab \u05E9\u05DC\u05D5\u05DD cd";
        const TVDTextRun run = TextRun(mixed, true);
        const TVDCoordRanges ranges = gi.GetTextRangeCoords(c, run, 0, 0, 1, 4, -1, -1);
        ASSERT_EQ(ranges.size(), 2u);
        ASSERT_TRUE(gi.ApplyTextRangeRegion(c, c, run, 0, 0, 1, 4, 0, 0, 0, 30, -1, -1));
        const int32_t bottom = withClip ? 20 : 30;
        std::vector<rtl::TRect> expected = {rtl::Rect(ranges[0].Left, 0, ranges[0].Right, bottom),
                                            rtl::Rect(ranges[1].Left, 0, ranges[1].Right, bottom)};
        EXPECT_EQ(ClipRects(c), expected) << withClip;
    }
}

TEST(GraphicInterface, ReferenceOutputPlacesCharactersWhereTheReferenceCanvasPutThem) {
    TVDWinGraphicInterface gi;
    const std::u16string text = u"Wide text";
    TTextCanvas drawn, direct, reference(u"Arial", 40);
    gi.TextOutRef(drawn.Canvas(), reference.Canvas(), 0, 0, TextRun(text), vdtoDevice, -1, -1);
    // The same text drawn with the reference's advances directly.
    const auto data = gi.GetGlyphDX(reference.Canvas(), TextRun(text), 0, 0, {vdgnDX}, -1, -1);
    gi.TextOutWithDX(direct.Canvas(), 0, 0, TextRun(text), vdtoDevice, *data);
    for (int32_t y = 0; y < 80; y += 3) {
        for (int32_t x = 0; x < 600; ++x) {
            ASSERT_EQ(drawn.Canvas().GetPixel(x, y), direct.Canvas().GetPixel(x, y)) << x;
        }
    }
    EXPECT_GT(std::accumulate(data->PDX.begin(), data->PDX.end(), 0),
              gi.TextWidth(drawn.Canvas(), text) + 50);
}

TEST(GraphicInterface, CopyingACanvasFontRestoresEverythingItChanged) {
    TVDWinGraphicInterface gi;
    TTextCanvas source(u"Times New Roman", 30), dest(u"Arial", 12);
    source.Canvas().GetFont().SetCharset(gfx::RUSSIAN_CHARSET);
    source.Canvas().SetTextAlign(TA_RTLREADING);
    source.Canvas().SetTextCharacterExtra(3);
    gfx::TCanvas &d = dest.Canvas();
    d.SetTextCharacterExtra(-1);
    const gfx::TLogFont before = d.GetLogFont();
    const gfx::TFont fontBefore = d.GetFont();
    TVDCanvasStoreFontParams state;
    gi.CopyCanvasFont(source.Canvas(), d, state);
    EXPECT_EQ(d.GetLogFont(), source.Canvas().GetLogFont());
    EXPECT_EQ(d.GetTextAlign(), TA_RTLREADING);
    EXPECT_EQ(d.GetTextCharacterExtra(), 3);
    EXPECT_EQ(d.GetFont().GetCharset(), gfx::RUSSIAN_CHARSET);
    gi.FinalizeCopyCanvasFont(source.Canvas(), d, state);
    EXPECT_EQ(d.GetLogFont(), before);
    EXPECT_TRUE(d.GetFont().SameAs(fontBefore));
    EXPECT_EQ(d.GetTextAlign(), 0u);
    EXPECT_EQ(d.GetTextCharacterExtra(), -1);
}

TEST(GraphicInterface, ScalingTheCanvasTransformIsUndoneExactly) {
    TVDWinGraphicInterface gi;
    for (bool advanced : {false, true}) {
        TTextCanvas k;
        gfx::TCanvas &c = k.Canvas();
        c.SetMapMode(gfx::MM_ANISOTROPIC);
        c.SetWindowExtEx(300, 200);
        c.SetViewportExtEx(600, 400);
        c.SetWindowOrgEx(7, -3);
        if (advanced) {
            gi.SetGraphicsMode(c, vdgmAdvanced);
            c.SetWorldTransform({0.5f, 0.25f, -0.25f, 0.5f, 11, 13});
        }
        const gfx::TXForm xf = c.GetWorldTransform();
        const rtl::TPoint at = c.LPtoDP({40, 30});
        TVDCanvasStoreTransformParams state;
        gi.ScaleCanvasTransform(c, state, 100);
        EXPECT_EQ(c.LPtoDP({4000, 3000}), at) << advanced;
        gi.RestoreCanvasTransform(c, state);
        EXPECT_EQ(c.GetWindowExtEx(), (rtl::TSize{300, 200}));
        EXPECT_EQ(c.GetWindowOrgEx(), (rtl::TPoint{7, -3}));
        EXPECT_EQ(c.GetWorldTransform(), xf);
        EXPECT_EQ(c.LPtoDP({40, 30}), at);
    }
}

TEST(GraphicInterface, MovingTheOriginPutsZeroWhereTheOffsetWas) {
    TVDWinGraphicInterface gi;
    for (bool advanced : {false, true}) {
        TTextCanvas k;
        gfx::TCanvas &c = k.Canvas();
        if (advanced) {
            gi.SetGraphicsMode(c, vdgmAdvanced);
            c.SetWorldTransform({2, 0, 0, 2, 5, 5});
        }
        const rtl::TPoint target = c.LPtoDP({30, -12});
        gi.MoveWindowOrgAdvanced(c, 30, -12);
        EXPECT_EQ(c.LPtoDP({0, 0}), target) << advanced;
    }
}

TEST(GraphicInterface, DottedGuideLines) {
    using TLine = TLineRecorder::TLine;
    TTextCanvas k;
    TLineRecorder gi;
    gi.LineDragDropCaret(k.Canvas(), 5, -3, 2);
    EXPECT_EQ(gi.Lines, (std::vector<TLine>{{5, -2, 7, -2}, {5, 0, 7, 0}, {5, 2, 7, 2}}));
    gi.Lines.clear();
    gi.DrawTableResizeVLine(k.Canvas(), 4, 0, 1);
    EXPECT_EQ(gi.Lines, (std::vector<TLine>{{4, 0, 4, 1}, {4, 2, 4, 3}, {4, 4, 4, 5}}));
    gi.Lines.clear();
    gi.DrawTableResizeHLine(k.Canvas(), 0, 9, 6);
    EXPECT_EQ(gi.Lines, (std::vector<TLine>{{0, 6, 1, 6},
                                            {2, 6, 3, 6},
                                            {4, 6, 5, 6},
                                            {8, 6, 9, 6},
                                            {10, 6, 11, 6},
                                            {12, 6, 13, 6}}));
}
