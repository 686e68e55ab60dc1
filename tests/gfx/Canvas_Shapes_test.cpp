// Canvas lines and shapes: the one-pixel rule from any clipped start, far coordinates, pen
// styles and widths, curves and fills.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <utility>
#include <vector>

using namespace gfx;

namespace {

struct Surface {
    int W, H;
    std::vector<uint32_t> mem;
    TPixelCanvas c;
    Surface(int w, int h)
        : W(w), H(h), mem(size_t(w * h), 0xFFFFFFFFu), c(mem.data(), w, h, w * 4) {}
    uint32_t At(int x, int y) const { return mem[size_t(y * W + x)] & 0xFFFFFFu; }
    std::set<std::pair<int, int>> Painted() const {
        std::set<std::pair<int, int>> s;
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x) {
                if (At(x, y) != 0xFFFFFF) {
                    s.insert({x, y});
                }
            }
        }
        return s;
    }
};

// The stepwise line of the class library (Bresenham without its last pixel), as reference.
std::set<std::pair<int, int>> ReferenceLine(TPoint a, TPoint b, int w, int h) {
    std::set<std::pair<int, int>> pts;
    int dx = std::abs(b.X - a.X), sx = a.X < b.X ? 1 : -1;
    int dy = -std::abs(b.Y - a.Y), sy = a.Y < b.Y ? 1 : -1;
    int err = dx + dy, x = a.X, y = a.Y;
    while (x != b.X || y != b.Y) {
        if (x >= 0 && y >= 0 && x < w && y < h) {
            pts.insert({x, y});
        }
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    return pts;
}

} // namespace

TEST(Lines, ClippedLinesDrawTheSamePixelsAsTheWholeLine) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coord(-400, 400);
    for (int i = 0; i < 400; ++i) {
        const TPoint a{coord(rng), coord(rng)}, b{coord(rng), coord(rng)};
        Surface s(48, 40);
        s.c.MoveTo(a.X, a.Y);
        s.c.LineTo(b.X, b.Y);
        ASSERT_EQ(s.Painted(), ReferenceLine(a, b, s.W, s.H))
            << "(" << a.X << "," << a.Y << ")-(" << b.X << "," << b.Y << ")";
    }
}

// Regression: a line to a far point used to step through every one of its pixels (and keep
// them in memory) before the clip dropped them.
TEST(Lines, ALineToTwoBillionDrawsItsVisiblePartAndReturnsAtOnce) {
    Surface s(64, 16);
    s.c.MoveTo(0, 3);
    s.c.LineTo(2000000000, 3);
    s.c.MoveTo(-2000000000, -2000000000);
    s.c.LineTo(2000000000, 2000000000);
    s.c.GetPen().SetWidth(3);
    s.c.MoveTo(0, 10);
    s.c.LineTo(2000000000, 10);
    s.c.GetBrush().SetStyle(bsClear);
    s.c.Polygon({{-2000000000, 12}, {2000000000, 12}, {0, 2000000000}});
    s.c.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
    for (int x = 0; x < 64; ++x) {
        EXPECT_EQ(s.At(x, 3), 0u) << x;
        EXPECT_EQ(s.At(x, 10), 0u) << x;
    }
    EXPECT_EQ(s.At(5, 5), 0u); // the diagonal through (5, 5)
    EXPECT_EQ(s.At(30, 15), 0xFFFFFFu) << "the huge shapes' outlines are far away";
    EXPECT_EQ(s.c.GetPenPos(), (TPoint{2000000000, 10}));
}

TEST(Lines, StyledPensRepeatTheirDashesAndFillGapsWhenOpaque) {
    struct Case {
        TPenStyle style;
        const char *pattern; // first pixels: '#' pen, 'o' gap colour, '.' untouched
        int bkMode;
    };
    const Case cases[] = {
        {psDot, "###ooo###ooo", OPAQUE},
        {psDot, "###...###...", TRANSPARENT},
        {psDash, "##################oooooo##", OPAQUE},
        {psDashDot, "#########oooooo###oooooo###", OPAQUE},
        {psAlternate, "#.#.#.#.", TRANSPARENT},
    };
    for (const Case &k : cases) {
        Surface s(40, 3);
        s.c.GetPen().SetStyle(k.style);
        s.c.GetPen().SetColor(clBlack);
        s.c.SetBkColor(clRed);
        s.c.SetBkMode(k.bkMode);
        s.c.MoveTo(0, 1);
        s.c.LineTo(40, 1);
        std::string got;
        for (size_t x = 0; x < std::strlen(k.pattern); ++x) {
            const uint32_t px = s.At(int(x), 1);
            got += px == 0 ? '#' : px == 0xFF0000u ? 'o' : px == 0xFFFFFFu ? '.' : '?';
        }
        EXPECT_EQ(got, k.pattern) << "style " << int(k.style);
    }
}

TEST(Lines, WidePensAreCentredAndRound) {
    Surface s(30, 30);
    s.c.GetPen().SetWidth(5);
    s.c.MoveTo(5, 15);
    s.c.LineTo(25, 15);
    for (int y = 13; y <= 17; ++y) {
        EXPECT_EQ(s.At(15, y), 0u) << y;
    }
    EXPECT_EQ(s.At(15, 12), 0xFFFFFFu);
    EXPECT_EQ(s.At(15, 18), 0xFFFFFFu);
    EXPECT_EQ(s.At(3, 15), 0u) << "round end reaches past the start";
    EXPECT_EQ(s.At(3, 13), 0xFFFFFFu) << "but not in its corner";
}

TEST(Shapes, PolygonFillModesDifferOnlyWhereTheOutlineCrossesItself) {
    // A pentagram: the centre is inside for WINDING, outside for ALTERNATE.
    const std::vector<TPoint> star = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
    for (const int mode : {ALTERNATE, WINDING}) {
        Surface s(40, 40);
        s.c.GetPen().SetStyle(psClear);
        s.c.GetBrush().SetColor(clBlue);
        s.c.SetPolyFillMode(mode);
        s.c.Polygon(star);
        EXPECT_EQ(s.At(20, 20), mode == WINDING ? 0x0000FFu : 0xFFFFFFu) << mode;
        EXPECT_EQ(s.At(20, 8), 0x0000FFu) << mode;
    }
}

TEST(Shapes, EllipseStaysInsideItsBoxWithoutTheRightAndBottomEdges) {
    Surface s(30, 30);
    s.c.GetBrush().SetColor(clRed);
    s.c.Ellipse(5, 5, 25, 15);
    const auto painted = s.Painted();
    int left = 99, top = 99, right = -1, bottom = -1;
    for (const auto &[x, y] : painted) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
    EXPECT_EQ(left, 5);
    EXPECT_EQ(top, 5);
    EXPECT_EQ(right, 24);
    EXPECT_EQ(bottom, 14);
    EXPECT_EQ(s.At(15, 10), 0xFF0000u); // brush inside
    EXPECT_EQ(s.At(15, 5), 0u);         // pen on the edge
}

TEST(Shapes, PieAndChordCloseTheirArcsAsGdiDoes) {
    // Counter-clockwise from the ray through the first point to the ray through the second:
    // from the top through the left side to the bottom covers the left half.
    Surface pie(40, 40), chord(40, 40), arc(40, 40);
    for (Surface *s : {&pie, &chord, &arc}) {
        s->c.GetBrush().SetColor(clLime);
    }
    pie.c.Pie(0, 0, 40, 40, 20, 0, 20, 40);
    chord.c.Chord(0, 0, 40, 40, 40, 20, 0, 20);
    arc.c.Arc(0, 0, 40, 40, 20, 0, 20, 40);
    EXPECT_EQ(pie.At(10, 20), 0x00FF00u);
    EXPECT_EQ(pie.At(30, 20), 0xFFFFFFu);
    EXPECT_EQ(chord.At(20, 10), 0x00FF00u); // the upper half
    EXPECT_EQ(chord.At(20, 30), 0xFFFFFFu);
    EXPECT_EQ(arc.At(10, 20), 0xFFFFFFu) << "an arc fills nothing";
    EXPECT_EQ(arc.At(0, 20), 0u) << "but draws the left side";
    EXPECT_EQ(arc.At(39, 20), 0xFFFFFFu);
}

TEST(Shapes, HatchBrushesStartAtTheBrushOrigin) {
    struct Case {
        TBrushStyle style;
        TPoint on, off;
    };
    const Case cases[] = {
        {bsHorizontal, {3, 8}, {3, 9}}, {bsVertical, {8, 3}, {9, 3}},
        {bsFDiagonal, {9, 9}, {9, 10}}, {bsBDiagonal, {8, 7}, {8, 8}},
        {bsCross, {5, 8}, {5, 9}},      {bsDiagCross, {10, 10}, {11, 10}},
    };
    for (const Case &k : cases) {
        Surface s(16, 16);
        s.c.GetBrush().SetColor(clNavy);
        s.c.GetBrush().SetStyle(k.style);
        s.c.SetBkMode(TRANSPARENT);
        s.c.SetBrushOrg({0, 0});
        s.c.FillRect(Rect(0, 0, 16, 16));
        EXPECT_EQ(s.At(k.on.X, k.on.Y), 0x000080u) << "style " << int(k.style);
        EXPECT_EQ(s.At(k.off.X, k.off.Y), 0xFFFFFFu) << "style " << int(k.style);
    }
    // An opaque background fills the gaps; a moved origin moves the lines.
    Surface s(16, 16);
    s.c.GetBrush().SetColor(clNavy);
    s.c.GetBrush().SetStyle(bsHorizontal);
    s.c.SetBkMode(OPAQUE);
    s.c.SetBkColor(clYellow);
    s.c.SetBrushOrg({0, 3});
    s.c.FillRect(Rect(0, 0, 16, 16));
    EXPECT_EQ(s.At(0, 3), 0x000080u);
    EXPECT_EQ(s.At(0, 4), 0xFFFF00u);
}

TEST(Shapes, RoundRectAndAlphaFills) {
    Surface s(30, 30);
    s.c.GetBrush().SetColor(clRed);
    s.c.RoundRect(0, 0, 30, 30, 12, 12);
    EXPECT_EQ(s.At(0, 0), 0xFFFFFFu) << "the corner is cut";
    EXPECT_EQ(s.At(0, 15), 0u);
    EXPECT_EQ(s.At(15, 15), 0xFF0000u);
    s.c.FillRectAlpha(Rect(10, 10, 20, 20), clBlue, 128);
    const uint32_t mixed = s.At(15, 15);
    EXPECT_NEAR(int(mixed & 0xFF), 0x7F, 2);         // blue
    EXPECT_NEAR(int((mixed >> 16) & 0xFF), 0x7F, 2); // red
    EXPECT_EQ(s.c.GetBrush().GetColor(), clRed) << "the brush is left alone";
    s.c.FillRectAlpha(Rect(10, 10, 20, 20), clNone, 200);
    EXPECT_EQ(s.At(15, 15), mixed);
}
