// Text on the canvas: placement by the cell's top-left corner, extents, fonts by name.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"

#include <gtest/gtest.h>

using namespace gfx;

namespace {

struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

// Bounding box of the non-white pixels.
Ink InkBox(TBitmap &b) {
    Ink ink;
    for (int y = 0; y < b.GetHeight(); ++y) {
        for (int x = 0; x < b.GetWidth(); ++x) {
            if (b.GetCanvas().GetPixel(x, y) != clWhite) {
                ink.left = std::min(ink.left, x);
                ink.top = std::min(ink.top, y);
                ink.right = std::max(ink.right, x);
                ink.bottom = std::max(ink.bottom, y);
            }
        }
    }
    return ink;
}

} // namespace

TEST(Text, TextOutPlacesTheCellTopLeftAndMovesThePen) {
    TBitmap b(80, 60);
    TCanvas &c = b.GetCanvas();
    c.GetFont().SetName(u"Arial");
    c.GetFont().SetHeight(-20);
    c.GetFont().SetColor(clBlack);
    c.GetBrush().SetStyle(bsClear);
    c.TextOut(10, 15, u"H");
    const TTextMetric tm = c.GetTextMetrics();
    const Ink ink = InkBox(b);
    // "H" stands on the baseline, ascent pixels below the cell's top; its cap height is about
    // 0.72 em for Arial, so it starts well below the cell top and never above it.
    EXPECT_EQ(ink.bottom, 15 + tm.tmAscent - 1);
    EXPECT_GE(ink.top, 15 + tm.tmInternalLeading);
    EXPECT_LE(ink.top, 15 + tm.tmAscent - 12);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.left, 12);
    EXPECT_EQ(c.GetPenPos(), (TPoint{10 + c.TextWidth(u"H"), 15}));
}

TEST(Text, OpaqueBrushFillsExactlyTheTextCell) {
    TBitmap b(80, 60);
    TCanvas &c = b.GetCanvas();
    c.GetBrush().SetColor(clLime);
    c.TextOut(5, 7, u"ab");
    const TSize ext = c.TextExtent(u"ab");
    EXPECT_EQ(c.GetPixel(5, 7), clLime);
    EXPECT_EQ(c.GetPixel(5 + ext.cx - 1, 7 + ext.cy - 1), clLime);
    EXPECT_EQ(c.GetPixel(5 + ext.cx, 7), clWhite);
    EXPECT_EQ(c.GetPixel(5, 7 + ext.cy), clWhite);
    EXPECT_EQ(c.GetPixel(4, 7), clWhite);
}

TEST(Text, ExtentGrowsWithTextAndHeightIsTheCell) {
    TBitmap b(1, 1);
    TCanvas &c = b.GetCanvas();
    c.GetFont().SetName(u"Arial");
    c.GetFont().SetSize(12);
    const TTextMetric tm = c.GetTextMetrics();
    EXPECT_EQ(c.TextHeight(u"Ag"), tm.tmHeight);
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_GE(tm.tmHeight, 16);
    EXPECT_GT(c.TextWidth(u"WWW"), c.TextWidth(u"W"));
    EXPECT_EQ(c.TextWidth(u""), 0);
    c.GetFont().SetStyle({fsBold});
    EXPECT_GT(c.TextWidth(u"WWWWWWWWWW"), 0);
}

TEST(Text, FontNamesResolveToTheMetricCompatibleFaces) {
    struct Case {
        const char16_t *asked, *resolved;
    };
    for (const Case &k :
         {Case{u"Tahoma", u"Tahoma"}, Case{u"MS Sans Serif", u"Tahoma"}, Case{u"Symbol", u"Symbol"},
          Case{u"Wingdings", u"Wingdings"}, Case{u"Arial", u"Liberation Sans"},
          Case{u"Times New Roman", u"Liberation Serif"}, Case{u"Courier New", u"Liberation Mono"},
          Case{u"No Such Face", u"DejaVu Sans"}}) {
        TFont f;
        f.SetName(k.asked);
        EXPECT_EQ(ResolveFontFamily(f), k.resolved);
    }
}

// Bold of a face that has no bold face of its own (Tahoma here, as fontconfig emboldens it) is
// drawn emboldened, as bold of a face with a real bold face is drawn bolder.
TEST(Text, BoldIsBolderAlsoForAFaceWithoutABoldFace) {
    const auto ink = [](const char16_t *face, TFontStyles style) {
        TBitmap b(300, 40);
        TCanvas &c = b.GetCanvas();
        c.GetBrush().SetColor(clWhite);
        c.FillRect(Rect(0, 0, 300, 40));
        c.GetFont().SetName(face);
        c.GetFont().SetSize(12);
        c.GetFont().SetStyle(style);
        c.TextOut(2, 2, u"Подписанты");
        int n = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 300; ++x) {
                n += (b.ScanLine(y)[x] & 0xFF) < 128 ? 1 : 0;
            }
        }
        return n;
    };
    for (const char16_t *face : {u"Tahoma", u"Arial"}) {
        SCOPED_TRACE(rtl::Utf16ToUtf8(face));
        EXPECT_GT(ink(face, {fsBold}), ink(face, {}) * 115 / 100);
    }
}

TEST(Text, DrawTextCalcRectMeasuresAndWrapsAtWords) {
    TBitmap b(1, 1);
    TCanvas &c = b.GetCanvas();
    const int lh = c.GetTextMetrics().tmHeight;
    TRect r = Rect(0, 0, 1000, 0);
    EXPECT_EQ(c.DrawText(u"one two", r, DT_CALCRECT | DT_SINGLELINE), lh);
    EXPECT_EQ(r.Right, c.TextWidth(u"one two"));
    TRect narrow = Rect(0, 0, c.TextWidth(u"one") + 2, 0);
    EXPECT_EQ(c.DrawText(u"one two three", narrow, DT_CALCRECT | DT_WORDBREAK), 3 * lh);
    TRect pref = Rect(0, 0, 1000, 0);
    c.DrawText(u"&File", pref, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(pref.Right, c.TextWidth(u"File"));
    TRect amp = Rect(0, 0, 1000, 0);
    c.DrawText(u"a&&b", amp, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(amp.Right, c.TextWidth(u"a&b"));
}
