// Line drawing: end points, clipping (property test against the unclipped line), antialiased
// lines, stipple, and the mended float and stipple faults.
#include "raster/Raster.h"

#include "platform/rtl/Rounding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <random>
#include <vector>

using namespace raster;

namespace {

constexpr TColor32 kBack = 0xFF000000u;
constexpr TColor32 kInk = 0xFFFFFFFFu;

std::vector<TPoint> Inked(const TCustomBitmap32 &b) {
    std::vector<TPoint> pts;
    for (int y = 0; y < b.GetHeight(); ++y) {
        for (int x = 0; x < b.GetWidth(); ++x) {
            if (b.GetPixel(x, y) != kBack) {
                pts.push_back({x, y});
            }
        }
    }
    return pts;
}

struct TAreaLog {
    std::vector<TRect> Areas;
    void Attach(TCustomBitmap32 &b) {
        b.OnAreaChanged = [this](TCustomBitmap32 *, const TRect &r, uint32_t) {
            Areas.push_back(r);
        };
    }
};

} // namespace

TEST(Lines, HorizontalLineLeavesOutItsLastPixelUnlessAsked) {
    TCustomBitmap32 b;
    b.SetSize(10, 3);
    b.LineS(0, 0, 5, 0, kInk, false);
    EXPECT_EQ(Inked(b).size(), 5u);
    EXPECT_EQ(b.GetPixel(5, 0), kBack);
    b.LineS(0, 0, 5, 0, kInk, true);
    EXPECT_EQ(b.GetPixel(5, 0), kInk);
}

TEST(Lines, PointLineDrawsOnlyWithLastPixel) {
    TCustomBitmap32 b;
    b.SetSize(5, 5);
    b.LineS(2, 2, 2, 2, kInk, false);
    EXPECT_TRUE(Inked(b).empty());
    b.LineS(2, 2, 2, 2, kInk, true);
    EXPECT_EQ(Inked(b), (std::vector<TPoint>{{2, 2}}));
}

TEST(Lines, LineOutsideTheClipFiresNoNotification) {
    TCustomBitmap32 b;
    b.SetSize(10, 10);
    TAreaLog log;
    log.Attach(b);
    int changes = 0;
    b.OnChange = [&changes](TNotifiablePersistent *) { ++changes; };
    b.LineS(-10, -5, -2, 20, kInk, false);
    b.LineS(12, 0, 30, 9, kInk, true);
    EXPECT_TRUE(log.Areas.empty());
    EXPECT_EQ(changes, 0);
}

TEST(Lines, PenCornerDoesNotDoubleTheCornerPixel) {
    TCustomBitmap32 b;
    b.SetSize(6, 6);
    b.SetPenColor(0x80FFFFFFu);
    b.MoveTo(1, 1);
    b.LineToTS(4, 1);
    b.LineToTS(4, 4);
    EXPECT_EQ(b.GetPixel(4, 1), BlendPixel(0x80FFFFFFu, kBack));
    EXPECT_EQ(b.GetPenPos(), (TPoint{4, 4}));
}

// Draws the same line unclipped on a large bitmap and clipped on an equal one, and compares
// the pixels inside the clip rectangle; nothing may appear outside it.
void CheckClippedAgainstUnclipped(bool blend, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> coord(-60, 260);
    const TRect clip{70, 60, 130, 110};
    TCustomBitmap32 full, clipped;
    full.SetSize(200, 200);
    clipped.SetSize(200, 200);
    clipped.SetClipRect(clip);
    for (int i = 0; i < 3000; ++i) {
        // End points may leave the large bitmap; keep the unclipped line inside it by
        // drawing only lines whose end points lie within it.
        int x1 = coord(rng) % 200, y1 = coord(rng) % 200, x2 = coord(rng) % 200,
            y2 = coord(rng) % 200;
        x1 = std::abs(x1), y1 = std::abs(y1), x2 = std::abs(x2), y2 = std::abs(y2);
        const bool l = (i & 1) != 0;
        full.Clear(kBack);
        clipped.ResetClipRect();
        clipped.Clear(kBack);
        clipped.SetClipRect(clip);
        if (blend) {
            full.LineT(x1, y1, x2, y2, 0x80FFFFFFu, l);
            clipped.LineTS(x1, y1, x2, y2, 0x80FFFFFFu, l);
        } else {
            full.Line(x1, y1, x2, y2, kInk, l);
            clipped.LineS(x1, y1, x2, y2, kInk, l);
        }
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 200; ++x) {
                const bool inside = PointInRect(clip, {x, y});
                const TColor32 expected = inside ? full.GetPixel(x, y) : kBack;
                if (clipped.GetPixel(x, y) != expected) {
                    FAIL() << "line (" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") L=" << l
                           << " pixel (" << x << "," << y << ") expected " << expected << " got "
                           << clipped.GetPixel(x, y);
                }
            }
        }
    }
}

TEST(Lines, ClippedLineDrawsExactlyTheUnclippedPixelsInside) {
    CheckClippedAgainstUnclipped(false, 12345);
}

TEST(Lines, ClippedBlendedLineDrawsExactlyTheUnclippedPixelsInside) {
    CheckClippedAgainstUnclipped(true, 777);
}

TEST(Lines, LineCutAtTheRightEdgeKeepsItsLastInsidePixel) {
    TCustomBitmap32 full, b;
    full.SetSize(40, 40);
    b.SetSize(10, 10);
    full.Line(0, 5, 30, 20, kInk, false); // the same line shifted by (10, 10)
    b.LineS(-10, -5, 20, 10, kInk, false);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(b.GetPixel(x, y), full.GetPixel(x + 10, y + 10)) << x << "," << y;
        }
    }
    int lastColumn = 0;
    for (int y = 0; y < 10; ++y) {
        lastColumn += b.GetPixel(9, y) == kInk;
    }
    EXPECT_EQ(lastColumn, 1);
}

TEST(Lines, ClippedAntialiasedLineMatchesTheUnclippedInside) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> coord(0, 99);
    const TRect clip{30, 20, 70, 80};
    TCustomBitmap32 full, clipped;
    full.SetSize(100, 100);
    clipped.SetSize(100, 100);
    for (int i = 0; i < 500; ++i) {
        const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
        if (std::abs(x2 - x1) == std::abs(y2 - y1) || x1 == x2 || y1 == y2) {
            continue;
        }
        // Keep the neighbour pixels inside the bitmap for the unclipped line.
        if (std::min({x1, x2, y1, y2}) < 1 || std::max({x1, x2, y1, y2}) > 98) {
            continue;
        }
        full.Clear(kBack);
        clipped.ResetClipRect();
        clipped.Clear(kBack);
        clipped.SetClipRect(clip);
        full.LineA(x1, y1, x2, y2, 0xC0FFFFFFu, true);
        clipped.LineAS(x1, y1, x2, y2, 0xC0FFFFFFu, true);
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 100; ++x) {
                const TColor32 expected = PointInRect(clip, {x, y}) ? full.GetPixel(x, y) : kBack;
                ASSERT_EQ(clipped.GetPixel(x, y), expected)
                    << "(" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") at " << x << ","
                    << y;
            }
        }
    }
}

TEST(Lines, ZeroLengthFloatLineDrawsNothing) {
    TCustomBitmap32 b;
    b.SetSize(12, 4);
    b.LineFS(0, 0, 0, 0, kInk, false);
    EXPECT_TRUE(Inked(b).empty());
}

TEST(Lines, FloatLineOfTenPixelsPlotsTenStepsAndAnEmptyLastPixel) {
    TCustomBitmap32 ref, b;
    ref.SetSize(12, 4);
    b.SetSize(12, 4);
    b.LineFS(0, 1, 10, 1, kInk, false);
    for (int i = 0; i < 10; ++i) {
        ref.PlotSubpixel(i * 256 + 0, 256 + 0, kInk); // (X + 127) shr 8 of whole pixels
    }
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 12; ++x) {
            EXPECT_EQ(b.GetPixel(x, y), ref.GetPixel(x, y)) << x << "," << y;
        }
    }
}

TEST(Lines, ClippedFloatLineStartingHalfAPixelLeftStillPlotsInside) {
    TCustomBitmap32 b;
    b.SetSize(8, 4);
    b.LineFS(-0.5f, 1, 5, 1, kInk, false);
    EXPECT_NE(b.GetPixel(0, 1), kBack);
}

TEST(Lines, FixedLineReportsRoundedEndPoints) {
    TCustomBitmap32 b;
    b.SetSize(8, 8);
    TAreaLog log;
    log.Attach(b);
    b.LineX(0x8000, 0x8001, 0x38000, 0x18001, kInk, false);
    ASSERT_EQ(log.Areas.size(), 1u);
    EXPECT_EQ(log.Areas[0], (TRect{0, 1, 3, 2}));
}

// A clipped line shorter than 1/256 pixel reports nothing, stippled or not, unless it lies far
// enough inside to take the unclipped plot, which always reports.
TEST(Lines, TooShortClippedLineReportsOnlyWhenWhollyInside) {
    struct TCase {
        TFixed X;
        bool Stippled;
        size_t Reports;
    } const cases[] = {{0, false, 0}, {0, true, 0}, {2 * 65536, false, 1}, {2 * 65536, true, 1}};
    for (const TCase &c : cases) {
        TCustomBitmap32 b;
        b.SetSize(8, 8);
        b.SetStipple({kInk});
        TAreaLog log;
        log.Attach(b);
        const TFixed y = 3 * 65536;
        if (c.Stippled) {
            b.LineXSP(c.X, y, c.X + 100, y, false);
        } else {
            b.LineXS(c.X, y, c.X + 100, y, kInk, false);
        }
        EXPECT_EQ(log.Areas.size(), c.Reports) << c.X << " stippled " << c.Stippled;
        EXPECT_TRUE(Inked(b).empty());
    }
}

// Coordinates beyond the 16.16 range used to wrap into the opposite direction.
TEST(Lines, FarAwayFloatCoordinatesAreClippedBeforeFixedPointConversion) {
    TCustomBitmap32 b;
    b.SetSize(10, 10);
    b.LineFS(-100000.0f, 5.0f, 100000.0f, 5.0f, kInk, false);
    for (int x = 0; x < 10; ++x) {
        EXPECT_NE(b.GetPixel(x, 5), kBack) << x;
        EXPECT_EQ(b.GetPixel(x, 2), kBack) << x;
    }
    b.Clear(kBack);
    b.MoveToF(5.0f, -50000.0f);
    b.LineToFS(5.0f, 50000.0f);
    for (int y = 0; y < 10; ++y) {
        EXPECT_NE(b.GetPixel(5, y), kBack) << y;
    }
}

// End points that 16.16 holds (up to 32767) take the fixed-point path as they are: clipping
// them in floating point first moved the line by a unit.
TEST(Lines, FloatLinesThatSixteenSixteenHoldsAreNotClippedFirst) {
    const struct {
        float x1, y1, x2, y2;
    } lines[] = {{-32683.4121f, 7.1007f, 32020.9297f, 0.0152f},
                 {8.5157f, -32315.6562f, 6.1110f, 32377.1484f},
                 {-32438.8184f, 6.9486f, 32540.6367f, 8.4793f},
                 {-32768.0f, -32768.0f, 32767.0f, 32767.0f}};
    for (const auto &l : lines) {
        TCustomBitmap32 a, b;
        a.SetSize(10, 10);
        b.SetSize(10, 10);
        a.LineFS(l.x1, l.y1, l.x2, l.y2, kInk, false);
        const auto fixed = [](float v) { return rtl::RoundSaturated<TFixed>(v * 65536.0); };
        b.LineXS(fixed(l.x1), fixed(l.y1), fixed(l.x2), fixed(l.y2), kInk, false);
        EXPECT_TRUE(std::equal(a.GetBits(), a.GetBits() + 100, b.GetBits())) << l.x1 << " " << l.y1;
    }
}

TEST(Lines, AntialiasedFloatGridLineCoversTheTwoColumnsAroundIt) {
    TCustomBitmap32 b;
    b.SetSize(10, 10);
    b.MoveToF(4.5f, 0);
    b.LineToFS(4.5f, 10);
    for (int y = 0; y < 10; ++y) {
        EXPECT_NE(b.GetPixel(4, y), kBack) << y;
        EXPECT_NE(b.GetPixel(5, y), kBack) << y;
    }
    EXPECT_EQ(b.GetPixel(3, 5), kBack);
    EXPECT_EQ(b.GetPixel(6, 5), kBack);
}

TEST(Stipple, EmptyPatternGivesOpaqueBlackAndKeepsTheCounter) {
    TCustomBitmap32 b;
    b.SetStippleCounter(1.5f);
    EXPECT_EQ(b.GetStippleColor(), 0xFF000000u);
    EXPECT_EQ(b.GetStippleCounter(), 1.5f);
}

TEST(Stipple, ColoursInterpolateBetweenEntries) {
    TCustomBitmap32 b;
    b.SetStipple({0xFFFFFFFFu, 0xFF000000u});
    EXPECT_EQ(b.GetStippleColor(), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetStippleColor(), 0xFF000000u);
    b.SetStippleStep(0.5f);
    b.SetStippleCounter(0.5f);
    EXPECT_EQ(b.GetStippleColor(), CombinePixel(0xFFFFFFFFu, 0xFF000000u, 127));
    EXPECT_EQ(b.GetStippleCounter(), 1.0f);
}

TEST(Stipple, ClippedSpanAdvancesOverTheCutPixels) {
    TCustomBitmap32 b;
    b.SetSize(4, 2);
    b.SetStipple({0xFF111111u, 0xFF222222u, 0xFF333333u, 0xFF444444u, 0xFF555555u});
    b.HorzLineTSP(-2, 0, 5);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF333333u);
    EXPECT_EQ(b.GetPixel(3, 0), 0xFF111111u);
    EXPECT_FLOAT_EQ(b.GetStippleCounter(), 3.0f); // 8 pixels of a 5-entry pattern
}

// A leftward line clipped at both ends advances the pattern as its rightward mirror does; the
// cut-off lengths used to be taken with a logical shift, turning -10 pixels into 65526.
TEST(Stipple, ClippedLeftwardLineKeepsThePatternPhase) {
    const TArrayOfColor32 pattern = {0xFF101010u, 0xFF202020u, 0xFF303030u, 0xFF404040u,
                                     0xFF505050u, 0xFF606060u, 0xFF707070u};
    TCustomBitmap32 right, left;
    right.SetSize(10, 10);
    left.SetSize(10, 10);
    right.SetStipple(pattern);
    left.SetStipple(pattern);
    right.LineXSP(-10 * 65536, 5 * 65536, 20 * 65536, 5 * 65536, false);
    left.LineXSP(20 * 65536, 5 * 65536, -10 * 65536, 5 * 65536, false);
    EXPECT_NEAR(left.GetStippleCounter(), right.GetStippleCounter(), 1e-3);
}

// Axis-parallel antialiased lines take a row-wise path; a one-entry stipple pattern gives the
// same colour through the step-by-step path, so both must leave the same pixels.
TEST(Lines, AxisParallelFastPathEqualsStepByStepPlot) {
    std::mt19937 rng(4242);
    std::uniform_real_distribution<float> pos(-3.0f, 40.0f);
    TCustomBitmap32 fast, slow;
    fast.SetSize(37, 29);
    slow.SetSize(37, 29);
    slow.SetStipple({0x64C0C0C0u});
    for (int i = 0; i < 400; ++i) {
        const bool horizontal = (i & 1) != 0;
        const float a = pos(rng), b = pos(rng), c = pos(rng);
        const float x1 = horizontal ? a : c, x2 = horizontal ? b : c;
        const float y1 = horizontal ? c : a, y2 = horizontal ? c : b;
        const bool l = (i & 2) != 0;
        const TRect clip = (i & 4) ? TRect{3, 2, 30, 25} : TRect{0, 0, 37, 29};
        fast.ResetClipRect();
        slow.ResetClipRect();
        fast.Clear(0xFF003366u);
        slow.Clear(0xFF003366u);
        fast.SetClipRect(clip);
        slow.SetClipRect(clip);
        fast.LineFS(x1, y1, x2, y2, 0x64C0C0C0u, l);
        slow.LineFSP(x1, y1, x2, y2, l);
        for (int y = 0; y < 29; ++y) {
            for (int x = 0; x < 37; ++x) {
                ASSERT_EQ(fast.GetPixel(x, y), slow.GetPixel(x, y))
                    << "(" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") L=" << l << " at "
                    << x << "," << y;
            }
        }
    }
}
