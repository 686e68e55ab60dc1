// The shared drawing routines: patterned lines, the connector of two rectangles, turned
// bitmaps, graphics drawn or printed, outline metrics, the screen and device resolutions, and
// the width of item text.
#include "vizivodu/styles/VDFuncs.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Picture.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/text/VDWinGrIn.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

// The GDI engine recording lines, filled rectangles and picture output.
struct TLineRecorder : TVDWinGraphicInterface {
    struct TLine {
        int32_t X1, Y1, X2, Y2;
        friend bool operator==(const TLine &, const TLine &) = default;
    };
    std::vector<TLine> Lines;
    std::vector<rtl::TRect> Rects, Ellipses, Stretched, Printed;
    bool NoOutlineMetrics = false;
    bool ZeroStrikeout = false;

    void Line(gfx::TCanvas &, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
        Lines.push_back({x1, y1, x2, y2});
    }
    void FillColorRect(gfx::TCanvas &, const rtl::TRect &r, gfx::TColor) override {
        Rects.push_back(r);
    }
    void Ellipse(gfx::TCanvas &, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
        Ellipses.push_back(rtl::Rect(x1, y1, x2, y2));
    }
    void StretchDrawGraphic(gfx::TCanvas &, const rtl::TRect &r, const gfx::TGraphic &) override {
        Stretched.push_back(r);
    }
    void PrintBitmap(gfx::TCanvas &, const rtl::TRect &r, const gfx::TBitmap &) override {
        Printed.push_back(r);
    }
    uint32_t GetOutlineTextMetrics(gfx::TCanvas &canvas, uint32_t size,
                                   gfx::TOutlineTextMetric *otm) override {
        if (NoOutlineMetrics) {
            return 0;
        }
        const uint32_t result = TVDWinGraphicInterface::GetOutlineTextMetrics(canvas, size, otm);
        if (otm && ZeroStrikeout) {
            otm->otmsStrikeoutSize = 0;
        }
        return result;
    }
};

struct Canvas {
    gfx::TBitmap Bitmap{200, 100};
    gfx::TCanvas &C = Bitmap.GetCanvas();
};

} // namespace

TEST(VDFuncsDraw, PatternedHorizontalLines) {
    using rtl::Rect;
    struct TCase {
        int32_t Style, Width, Left, Right, DashUnit, Ppi;
        std::vector<rtl::TRect> Rects;
    };
    const TCase cases[] = {
        {0, 3, 10, 40, 0, 96, {Rect(10, 19, 40, 22)}}, // from Y - 1 to Y + 2
        {1, 2, 10, 19, 0, 96, {Rect(10, 19, 12, 21), Rect(14, 19, 16, 21), Rect(18, 19, 19, 21)}},
        {2, 2, 10, 20, 0, 96, {Rect(10, 19, 12, 21), Rect(14, 19, 16, 21), Rect(18, 19, 20, 21)}},
        {2, 1, 10, 20, 4, 96, {Rect(10, 20, 12, 21), Rect(14, 20, 16, 21), Rect(18, 20, 20, 21)}},
        // u = round(4 x 600 / 96) = 25: dashes of 12 (round(12.5) to even) every 25.
        {2, 1, 0, 60, 4, 600, {Rect(0, 20, 12, 21), Rect(25, 20, 37, 21), Rect(50, 20, 60, 21)}},
        {3, 1, 0, 7, 0, 96, {Rect(0, 20, 2, 21), Rect(3, 20, 5, 21), Rect(6, 20, 7, 21)}},
        // Dash 2W, a dot W at 3W, the next dash at 6W.
        {4, 1, 0, 8, 0, 96, {Rect(0, 20, 2, 21), Rect(3, 20, 4, 21), Rect(6, 20, 8, 21)}},
        // Dash 2W, dots at 3W and 6W, the next dash at 9W.
        {5,
         1,
         0,
         10,
         0,
         96,
         {Rect(0, 20, 2, 21), Rect(3, 20, 4, 21), Rect(6, 20, 7, 21), Rect(9, 20, 10, 21)}},
        {6, 1, 0, 7, 0, 96, {Rect(0, 20, 1, 21), Rect(3, 20, 4, 21), Rect(6, 20, 7, 21)}},
        {7, 1, 0, 7, 0, 96, {}},
    };
    for (const TCase &c : cases) {
        Canvas k;
        k.C.GetFont().SetPixelsPerInch(c.Ppi);
        TLineRecorder gi;
        DrawPatternHorzLine(k.C, gfx::clRed, c.Style, c.Width, c.Left, c.Right, 20, c.DashUnit, gi);
        EXPECT_EQ(gi.Rects, c.Rects) << "style " << c.Style << " unit " << c.DashUnit;
        EXPECT_TRUE(gi.Lines.empty());
        if (c.Style <= 6) {
            EXPECT_EQ(k.C.GetPen().GetStyle(), gfx::psInsideFrame);
            EXPECT_EQ(k.C.GetPen().GetColor(), gfx::clRed);
            EXPECT_EQ(k.C.GetBrush().GetStyle(), gfx::bsClear);
        }
    }
    Canvas k;
    TLineRecorder gi;
    DrawPatternHorzLine(k.C, gfx::clRed, 0, 1, 10, 40, 20, 0, gi);
    EXPECT_EQ(gi.Lines, (std::vector<TLineRecorder::TLine>{{10, 20, 40, 20}}));
    DrawPatternHorzLine(k.C, gfx::clRed, 1, 4, 0, 9, 20, 0, gi);
    EXPECT_EQ(gi.Ellipses, std::vector<rtl::TRect>{rtl::Rect(0, 18, 4, 22)});
    EXPECT_EQ(gi.Rects.back(), rtl::Rect(8, 18, 9, 22)); // the last dot cut at the right
}

TEST(VDFuncsDraw, LineBetweenNearestCorners) {
    struct TCase {
        int32_t L1, T1, W1, H1, L2, T2, W2, H2;
        TLineRecorder::TLine Line;
    };
    const TCase cases[] = {
        {0, 0, 10, 10, 30, 40, 10, 10, {10, 10, 30, 40}},   // right-bottom to left-top
        {30, 40, 10, 10, 0, 0, 10, 10, {30, 40, 10, 10}},   // left-top to right-bottom
        {0, 0, 10, 10, 0, 30, 10, 10, {0, 10, 0, 30}},      // ties keep left-left
        {0, 0, 100, 10, 40, 30, 20, 10, {0, 10, 40, 30}},   // left-left and right-right tie
        {0, 0, 100, 10, 70, 30, 20, 10, {100, 10, 90, 30}}, // right-right nearest
    };
    for (const TCase &c : cases) {
        Canvas k;
        TLineRecorder gi;
        DrawLineBetweenNearestCorners(c.L1, c.T1, c.W1, c.H1, c.L2, c.T2, c.W2, c.H2, k.C, gi);
        EXPECT_EQ(gi.Lines, std::vector<TLineRecorder::TLine>{c.Line});
    }
}

TEST(VDFuncsDraw, TurnedBitmaps) {
    TVDWinGraphicInterface gi;
    auto marked = [] {
        gfx::TBitmap b(10, 6);
        b.GetCanvas().GetBrush().SetColor(gfx::clWhite);
        b.GetCanvas().FillRect(rtl::Rect(0, 0, 10, 6));
        b.GetCanvas().SetPixel(2, 1, gfx::clRed);
        return b;
    };
    gfx::TBitmap none = marked();
    RotateBitmap(none, vdrotNone, gi);
    EXPECT_EQ(none.GetWidth(), 10);
    EXPECT_EQ(none.GetCanvas().GetPixel(2, 1), gfx::clRed);
    gfx::TBitmap quarter = marked();
    RotateBitmap(quarter, vdrot90, gi);
    EXPECT_EQ(quarter.GetWidth(), 4);
    EXPECT_EQ(quarter.GetHeight(), 8);
    EXPECT_EQ(quarter.GetCanvas().GetPixel(0, 2), gfx::clRed);
    gfx::TBitmap half = marked();
    RotateBitmap(half, vdrot180, gi);
    EXPECT_EQ(half.GetWidth(), 8);
    EXPECT_EQ(half.GetHeight(), 4);
    gfx::TBitmap tiny(2, 6);
    RotateBitmap(tiny, vdrot270, gi);
    EXPECT_TRUE(tiny.Empty());
}

TEST(VDFuncsDraw, GraphicsDrawnOrPrinted) {
    Canvas k;
    TLineRecorder gi;
    gfx::TBitmap bitmap(30, 20);
    const TVDScreenAndDevice sad{96, 96, 600, 600, 0, 0};
    DrawOrPrintGraphic(k.C, 5, 6, -1, -1, nullptr, bitmap, vdgdStretch, gi);
    DrawOrPrintGraphic(k.C, 5, 6, 96, -1, &sad, bitmap, vdgdPrintBitmap, gi);
    EXPECT_EQ(gi.Stretched, std::vector<rtl::TRect>{rtl::Rect(5, 6, 35, 26)});
    EXPECT_EQ(gi.Printed, std::vector<rtl::TRect>{rtl::Rect(5, 6, 605, 6 + 125)});
    // Only bitmaps are printed.
    gfx::TPngImage picture;
    DrawOrPrintGraphic(k.C, 0, 0, 10, 10, nullptr, picture, vdgdPrintBitmap, gi);
    EXPECT_EQ(gi.Printed.size(), 1u);
}

TEST(VDFuncsDraw, OutlineMetricsAndResolutions) {
    Canvas k;
    TLineRecorder gi;
    EXPECT_NE(AllocOutlineTextMetrics(k.C, gi), nullptr);
    gi.ZeroStrikeout = true;
    EXPECT_EQ(AllocOutlineTextMetrics(k.C, gi)->otmsStrikeoutSize, 1u);
    gi.NoOutlineMetrics = true;
    EXPECT_EQ(AllocOutlineTextMetrics(k.C, gi), nullptr);

    std::unique_ptr<gfx::TCanvas> printer = gi.CreatePrinterCanvas();
    TVDScreenAndDevice sad{1, 2, 3, 4, 50, 60};
    FillScreenAndDevice(sad, *printer, gi);
    EXPECT_EQ(sad.ppixDevice, 600);
    EXPECT_EQ(sad.ppiyDevice, 600);
    EXPECT_EQ(sad.ppixScreen, 96);
    EXPECT_EQ(sad.ppiyScreen, 96);
    EXPECT_EQ(sad.LeftMargin, 50);
    EXPECT_EQ(sad.RightMargin, 60);
}

TEST(VDFuncsDraw, ItemTextWidthIsTheInterfacesTextSize) {
    Canvas k;
    k.C.GetFont().SetCharset(gfx::RUSSIAN_CHARSET);
    TVDWinGraphicInterface gi;
    const std::u16string wide = u"Привет\u00AD";
    const TVDRawByteString unicode = StringToRawUnicode(wide);
    const TVDRawByteString ansi = "\xCF\xF0\xE8\xE2\xE5\xF2";
    const int32_t expected = gi.TextSize(k.C, {unicode.data(), 7, true, false, false}).cx;
    EXPECT_EQ(GetItemTextWidth(unicode, k.C, {vdioUnicode}, gi, {}), expected);
    EXPECT_EQ(GetItemTextWidth(ansi, k.C, {}, gi, {}), gi.TextWidth(k.C, u"Привет"));
    EXPECT_EQ(GetItemTextWidth(unicode, k.C, {vdioUnicode}, gi, {vdroIgnoreSpecialChars}),
              gi.TextSizeBasic(k.C, {unicode.data(), 7, true}).cx);
    EXPECT_EQ(GetItemTextWidth("", k.C, {}, gi, {}), 0);
}
