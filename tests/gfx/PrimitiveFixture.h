// A fixture of canvas primitives drawn on any canvas, in 400 x 300 logical units: lines with
// every pen style and width, polylines, polygons with both fill modes, ellipses, arcs, pies,
// chords and rounded rectangles, rectangles with every brush, text in every alignment and
// rotated. The pixel, metafile and printer tests all draw it.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"

#include <string>
#include <vector>

namespace fixture {

constexpr int LogicalWidth = 400;
constexpr int LogicalHeight = 300;

// The words the fixture writes (what a PDF of it must hold).
inline std::vector<std::u16string> Words() {
    return {u"Left",   u"Centre", u"Right",  u"Top",    u"Baseline",
            u"Bottom", u"Съешь",  u"Turned", u"Upward", u"Header"};
}

inline void Lines(gfx::TCanvas &c) {
    using namespace gfx;
    const TPenStyle styles[] = {psSolid,      psDash,  psDot,         psDashDot,
                                psDashDotDot, psClear, psInsideFrame, psAlternate};
    int y = 8;
    for (const TPenStyle style : styles) {
        for (const int width : {1, 3}) {
            c.GetPen().SetStyle(style);
            c.GetPen().SetWidth(width);
            c.GetPen().SetColor(width == 1 ? clBlack : clNavy);
            c.MoveTo(8 + (width - 1) * 40, y);
            c.LineTo(72 + (width - 1) * 40, y + 4);
        }
        y += 8;
    }
    c.GetPen().SetStyle(psSolid);
    c.GetPen().SetWidth(1);
    c.GetPen().SetColor(clMaroon);
    c.Polyline({{8, 80}, {40, 100}, {60, 84}, {100, 110}, {120, 76}});
}

inline void Shapes(gfx::TCanvas &c) {
    using namespace gfx;
    c.GetPen().SetColor(clBlack);
    c.GetBrush().SetColor(clAqua);
    const std::vector<TPoint> star = {{170, 4}, {186, 54}, {144, 22}, {196, 22}, {154, 54}};
    c.SetPolyFillMode(ALTERNATE);
    c.Polygon(star);
    c.SetPolyFillMode(WINDING);
    std::vector<TPoint> moved;
    for (const TPoint p : star) {
        moved.push_back({p.X + 60, p.Y});
    }
    c.Polygon(moved);
    c.GetBrush().SetColor(clYellow);
    c.Ellipse(270, 6, 330, 46);
    c.GetPen().SetWidth(3);
    c.Arc(336, 6, 392, 56, 392, 6, 336, 56);
    c.GetPen().SetWidth(1);
    c.GetBrush().SetColor(clFuchsia);
    c.Pie(140, 62, 190, 112, 190, 87, 165, 62);
    c.GetBrush().SetColor(clLime);
    c.Chord(196, 62, 246, 112, 246, 62, 196, 112);
    c.GetBrush().SetColor(clSilver);
    c.RoundRect(252, 62, 322, 112, 20, 14);
    c.GetPen().SetStyle(psInsideFrame);
    c.GetPen().SetWidth(4);
    c.Ellipse(330, 62, 392, 112);
    c.GetPen().SetStyle(psSolid);
    c.GetPen().SetWidth(1);
}

inline void Brushes(gfx::TCanvas &c, const gfx::TBitmap &pattern) {
    using namespace gfx;
    const TBrushStyle styles[] = {bsSolid,     bsClear,     bsHorizontal, bsVertical,
                                  bsFDiagonal, bsBDiagonal, bsCross,      bsDiagCross};
    c.GetPen().SetColor(clBlack);
    int x = 8;
    for (const TBrushStyle style : styles) {
        c.GetBrush().SetColor(clGreen);
        c.GetBrush().SetStyle(style);
        c.Rectangle(x, 122, x + 36, 152);
        x += 40;
    }
    // A hatch on an opaque background, with the origin moved.
    c.GetBrush().SetColor(clRed);
    c.GetBrush().SetStyle(bsDiagCross);
    c.SetBkMode(OPAQUE);
    c.SetBkColor(clCream);
    c.SetBrushOrg({3, 5});
    c.Rectangle(328, 122, 364, 152);
    c.SetBrushOrg({0, 0});
    c.GetBrush().SetBitmap(&pattern);
    c.Rectangle(366, 122, 394, 152);
    c.GetBrush().SetBitmap(nullptr);
    c.GetBrush().SetStyle(bsSolid);
    c.GetBrush().SetColor(clWhite);
}

inline void Texts(gfx::TCanvas &c) {
    using namespace gfx;
    c.GetFont().SetName(u"Arial");
    c.GetFont().SetHeight(-13);
    c.GetFont().SetColor(clBlack);
    c.GetBrush().SetStyle(bsClear);
    // Every alignment, each at a red dot that marks its reference point.
    const uint32_t horizontal[] = {TA_LEFT, TA_CENTER, TA_RIGHT};
    const uint32_t vertical[] = {TA_TOP, TA_BASELINE, TA_BOTTOM};
    const std::u16string hName[] = {u"Left", u"Centre", u"Right"};
    const std::u16string vName[] = {u"Top", u"Baseline", u"Bottom"};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int x = 10 + column * 140, y = 180 + row * 35;
            c.SetPixel(x, y, clRed);
            c.SetTextAlign(horizontal[column] | vertical[row]);
            c.TextOut(x, y, hName[column] + u" " + vName[row]);
        }
    }
    c.SetTextAlign(TA_LEFT | TA_TOP);
    c.GetBrush().SetColor(clInfoBk);
    c.GetFont().SetStyle({fsUnderline});
    c.TextOut(310, 200, u"Съешь");
    c.GetFont().SetStyle({});
    c.GetBrush().SetStyle(bsClear);
    c.GetFont().SetColor(clBlue);
    c.GetFont().SetOrientation(300);
    c.TextOut(290, 292, u"Turned");
    c.GetFont().SetOrientation(900);
    c.TextOut(382, 296, u"Upward");
    c.GetFont().SetOrientation(0);
    c.GetFont().SetColor(clBlack);
    c.GetFont().SetHeight(-18);
    c.GetFont().SetStyle({fsBold});
    c.TextOut(300, 156, u"Header");
    c.GetFont().SetStyle({});
}

// An 8 x 8 checker of two colours for the pattern brush.
inline gfx::TBitmap Pattern() {
    gfx::TBitmap pattern(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            pattern.GetCanvas().SetPixel(x, y, (x / 2 + y / 2) % 2 ? gfx::clTeal : gfx::clWhite);
        }
    }
    return pattern;
}

inline void Draw(gfx::TCanvas &c) {
    const gfx::TBitmap pattern = Pattern();
    c.GetPen().SetColor(gfx::clGray);
    c.GetBrush().SetColor(gfx::clWhite);
    c.Rectangle(0, 0, LogicalWidth, LogicalHeight);
    Lines(c);
    Shapes(c);
    Brushes(c, pattern);
    Texts(c);
}

} // namespace fixture
