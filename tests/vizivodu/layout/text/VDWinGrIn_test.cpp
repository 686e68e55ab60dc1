// The GDI engine: extents and fit, glyph advances and coordinates of plain and reordered runs,
// caret positions, expandable characters, translucent fills in tiles, mapping, clipping and
// canvases.
#include "vizivodu/layout/text/VDWinGrIn.h"

#include "platform/gfx/ImgList.h"
#include "tests/vizivodu/layout/text/GrInTestSupport.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

const std::u16string Hebrew = u"\u05E9\u05DC\u05D5\u05DD"; // shalom

// The canvas's own cumulative extents.
std::vector<int32_t> Edges(gfx::TCanvas &c, const std::u16string &text) {
    std::vector<int32_t> edges;
    c.GetTextExtentExPoint(text, -1, nullptr, &edges);
    return edges;
}

// Placement always fails, as on a device without it.
struct TNoPlacement : TVDWinGraphicInterface {
    bool Place(gfx::TCanvas &, const TVDTextRun &, size_t, gfx::TGcpResults &) override {
        return false;
    }
};

// Records the rectangles blended; blending fails from the failAt-th on (never for -1).
struct TTileRecorder : TVDWinGraphicInterface {
    std::vector<rtl::TRect> Tiles;
    int FailAt = -1;
    bool AlphaBlend(gfx::TCanvas &canvas, const rtl::TRect &dest, const gfx::TPixels32 &pixels,
                    uint8_t opacity) override {
        if (FailAt >= 0 && int(Tiles.size()) >= FailAt) {
            return false;
        }
        Tiles.push_back(dest);
        EXPECT_EQ(pixels.Width, dest.Width());
        EXPECT_EQ(pixels.Height, dest.Height());
        return TVDWinGraphicInterface::AlphaBlend(canvas, dest, pixels, opacity);
    }
};

struct TInk {
    int32_t Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1, Count = 0;
};

// The bounding box and number of the pixels that are not white.
TInk InkOf(gfx::TCanvas &canvas) {
    TInk ink;
    const rtl::TSize size = canvas.GetSurfaceSize();
    for (int32_t y = 0; y < size.cy; ++y) {
        for (int32_t x = 0; x < size.cx; ++x) {
            if (canvas.GetPixel(x, y) != gfx::clWhite) {
                ink.Left = std::min(ink.Left, x);
                ink.Right = std::max(ink.Right, x);
                ink.Top = std::min(ink.Top, y);
                ink.Bottom = std::max(ink.Bottom, y);
                ++ink.Count;
            }
        }
    }
    return ink;
}

} // namespace

TEST(WinGraphicInterface, ExtentsCountWhatFits) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    gfx::TCanvas &c = k.Canvas();
    const std::u16string text = u"Hello";
    const std::vector<int32_t> edges = Edges(c, text);
    struct TCase {
        int32_t MaxExtent, Fit;
    } cases[] = {{edges[0] - 1, 0}, {edges[0], 1}, {edges[1], 2},
                 {edges[4] - 1, 4}, {edges[4], 5}, {2147483647, 5}};
    for (const TCase &tc : cases) {
        int32_t fit = -1;
        rtl::TSize size;
        std::vector<int32_t> coords(5, -7);
        gi.GetTextExtentExPoint(c, TextRun(text), tc.MaxExtent, coords.data(), fit, size);
        EXPECT_EQ(fit, tc.Fit) << tc.MaxExtent;
        EXPECT_EQ(size.cx, tc.Fit == 0 ? 0 : edges[size_t(tc.Fit) - 1]) << tc.MaxExtent;
        for (int32_t i = 0; i < tc.Fit; ++i) {
            EXPECT_EQ(coords[size_t(i)], edges[size_t(i)]);
        }
    }
}

TEST(WinGraphicInterface, EightBitTextIsReadInTheFontsCodePage) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    gfx::TCanvas &c = k.Canvas();
    c.GetFont().SetCharset(gfx::RUSSIAN_CHARSET);
    const std::string ansi = "\xCF\xF0\xE8\xE2\xE5\xF2"; // "Привет" in code page 1251
    const std::u16string wide = u"Привет";
    EXPECT_EQ(gi.TextSizeBasic(c, AnsiRun(ansi)), gi.TextSizeBasic(c, TextRun(wide)));
    int32_t fitAnsi = 0, fitWide = 0;
    rtl::TSize sizeAnsi, sizeWide;
    gi.GetTextExtentExPoint(c, AnsiRun(ansi), 40, nullptr, fitAnsi, sizeAnsi);
    gi.GetTextExtentExPoint(c, TextRun(wide), 40, nullptr, fitWide, sizeWide);
    EXPECT_EQ(fitAnsi, fitWide);
    EXPECT_EQ(sizeAnsi, sizeWide);
}

TEST(WinGraphicInterface, ExtentsOfBiDiTextWithCharacterExtraGoPrefixByPrefix) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    gfx::TCanvas &c = k.Canvas();
    c.SetTextCharacterExtra(2);
    const TVDTextRun run = TextRun(Hebrew, true);
    std::vector<int32_t> coords(4, 0);
    int32_t fit = 0;
    rtl::TSize size;
    gi.GetTextExtentExPoint(c, run, 2147483647, coords.data(), fit, size);
    EXPECT_EQ(fit, 4);
    for (int32_t i = 1; i <= 4; ++i) {
        TVDTextRun prefix = run;
        prefix.Length = i;
        EXPECT_EQ(coords[size_t(i) - 1], gi.TextSizeBasic(c, prefix).cx);
    }
    EXPECT_EQ(c.GetTextCharacterExtra(), 2);
}

TEST(WinGraphicInterface, BiDiTextSizeAddsTheCharacterExtraPerGlyph) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    gfx::TCanvas &c = k.Canvas();
    const int32_t plain = gi.TextSizeBasic(c, TextRun(Hebrew, true)).cx;
    c.SetTextCharacterExtra(3);
    EXPECT_EQ(gi.TextSizeBasic(c, TextRun(Hebrew, true)).cx, plain + 4 * 3);
    EXPECT_EQ(c.GetTextCharacterExtra(), 3);
}

TEST(WinGraphicInterface, GlyphDXOfAPlainRun) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    gfx::TCanvas &c = k.Canvas();
    const std::u16string text = u"a b c";
    const auto data = gi.GetGlyphDX(c, TextRun(text), 0, 0, {vdgnDX, vdgnCoords}, -1, -1);
    const std::vector<int32_t> edges = Edges(c, text);
    ASSERT_EQ(data->PDX.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(data->PXR[i], data->PXL[i] + data->PDX[i]);
        EXPECT_EQ(data->PXR[i], edges[i]);
    }
    EXPECT_TRUE(data->POrder.empty());
    // Justified: the two spaces share 9 pixels, the later one taking the odd one.
    const auto justified = gi.GetGlyphDX(c, TextRun(text), 2, 9, {vdgnDX, vdgnCoords}, -1, -1);
    EXPECT_EQ(justified->PDX[1], data->PDX[1] + 4);
    EXPECT_EQ(justified->PDX[3], data->PDX[3] + 5);
    EXPECT_EQ(justified->PXR[4], edges[4] + 9);
    // Coordinates only: the advances stay cumulative edges.
    const auto coordsOnly = gi.GetGlyphDX(c, TextRun(text), 0, 0, {vdgnCoords}, -1, -1);
    EXPECT_EQ(coordsOnly->PDX, edges);
}

TEST(WinGraphicInterface, ReorderedRunsArePlacedRightToLeft) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    gfx::TCanvas &c = k.Canvas();
    const auto data = gi.GetGlyphDX(c, TextRun(Hebrew, true), 0, 0, {vdgnDX, vdgnCoords}, -1, -1);
    const auto *win = dynamic_cast<const TVDWinGlyphDXData *>(data.get());
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(win->nGlyphs, 4);
    EXPECT_EQ(win->PGlyphs.size(), 4u);
    EXPECT_EQ(data->POrder, (std::vector<uint32_t>{3, 2, 1, 0}));
    const int32_t width = std::accumulate(data->PDX.begin(), data->PDX.end(), 0);
    EXPECT_EQ(data->PXR[0], width); // the first letter at the right end
    EXPECT_EQ(data->PXL[3], 0);
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(data->PXR[i], data->PXL[i - 1]);
    }
    // Carets: the first one at the right end, the last at the left.
    std::vector<int32_t> pcp(5, -9);
    gi.GetCaretPositions(c, TextRun(Hebrew, true), 0, 0, pcp, -1, -1);
    EXPECT_EQ(pcp[0], data->PXR[0]);
    EXPECT_EQ(pcp[4], 0);
}

TEST(WinGraphicInterface, EveryCharacterOfAReorderedClusterHasItsBox) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    // Shin with qamats, lamed, vav with holam, final mem: marks share their letter's cluster.
    const std::u16string pointed = u"\u05E9\u05B8\u05DC\u05D5\u05B9\u05DD";
    const auto data = gi.GetGlyphDX(k.Canvas(), TextRun(pointed, true), 0, 0, {vdgnCoords}, -1, -1);
    ASSERT_EQ(data->PXL.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_GE(data->PXL[i], 0) << i;
        EXPECT_GT(data->PXR[i], data->PXL[i]) << i;
    }
    EXPECT_EQ(data->PXL[1], data->PXL[0]);
    EXPECT_EQ(data->PXR[1], data->PXR[0]);
    EXPECT_EQ(data->PXL[4], data->PXL[3]);
    EXPECT_EQ(data->PXL[0], data->PXR[2]);
}

TEST(WinGraphicInterface, FailedPlacementGivesTheUnreorderedResult) {
    TTextCanvas k;
    TNoPlacement failing;
    TVDWinGraphicInterface gi;
    gfx::TCanvas &c = k.Canvas();
    const auto bidi =
        failing.GetGlyphDX(c, TextRun(Hebrew, true), 0, 0, {vdgnDX, vdgnCoords}, -1, -1);
    const auto plain = gi.GetGlyphDX(c, TextRun(Hebrew), 0, 0, {vdgnDX, vdgnCoords}, -1, -1);
    EXPECT_EQ(bidi->PDX, plain->PDX);
    EXPECT_EQ(bidi->PXL, plain->PXL);
    EXPECT_EQ(bidi->PXR, plain->PXR);
    std::vector<int32_t> pcp(5);
    failing.GetCaretPositions(c, TextRun(Hebrew, true), 0, 0, pcp, -1, -1);
    EXPECT_EQ(pcp[0], 0);
    EXPECT_EQ(pcp[4], std::accumulate(plain->PDX.begin(), plain->PDX.end(), 0));
    int32_t left = 0, right = 0;
    failing.GetOutermostNonExpandableCharacters(c, TextRun(Hebrew, true), {vdreLeft, vdreRight},
                                                left, right);
    EXPECT_EQ(left, -1);
    EXPECT_EQ(right, 3);
}

TEST(WinGraphicInterface, ReorderedOutputDrawsAsTheCanvasDoes) {
    TTextCanvas placed, direct;
    TVDWinGraphicInterface gi;
    const std::u16string mixed = u"ab \u05E9\u05B8\u05DC\u05D5\u05B9\u05DD cd";
    const auto data = gi.GetGlyphDX(placed.Canvas(), TextRun(mixed, true), 0, 0, {vdgnDX}, -1, -1);
    ASSERT_FALSE(dynamic_cast<const TVDWinGlyphDXData &>(*data).PGlyphs.empty());
    gi.TextOutWithDX(placed.Canvas(), 10, 10, TextRun(mixed, true), vdtoDevice, *data);
    direct.Canvas().ExtTextOut(10, 10, 0, nullptr, mixed);
    // The glyph advances are rounded in display order, the canvas's own in logical order: the
    // text stands within a pixel of where the canvas puts it.
    const TInk a = InkOf(placed.Canvas()), b = InkOf(direct.Canvas());
    EXPECT_GT(a.Count, 100);
    EXPECT_LE(std::abs(a.Left - b.Left), 1);
    EXPECT_LE(std::abs(a.Right - b.Right), 1);
    EXPECT_EQ(a.Top, b.Top);
    EXPECT_EQ(a.Bottom, b.Bottom);
    EXPECT_LE(std::abs(a.Count - b.Count), a.Count / 20);
}

TEST(WinGraphicInterface, OutermostNonExpandableCharacters) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    const std::u16string text = u"abcd";
    const std::u16string empty;
    struct TCase {
        const std::u16string *Text;
        TVDRunEnds Ends;
        int32_t Right;
    } cases[] = {
        {&text, {vdreLeft, vdreRight}, 3}, {&text, {vdreLeft}, -1}, {&empty, {vdreRight}, -1}};
    for (const TCase &tc : cases) {
        int32_t left = 5, right = 5;
        gi.GetOutermostNonExpandableCharacters(k.Canvas(), TextRun(*tc.Text), tc.Ends, left, right);
        EXPECT_EQ(left, -1);
        EXPECT_EQ(right, tc.Right);
    }
    EXPECT_EQ(gi.GetExpandableCharCount(k.Canvas(), TextRun(text)), 4);
    const std::u16string marks = u"e\u0301e\u0301";
    EXPECT_EQ(gi.GetExpandableCharCount(k.Canvas(), TextRun(marks)), 2);
    EXPECT_EQ(gi.GetExpandableCharCount(k.Canvas(), TextRun(empty)), 0);
}

TEST(WinGraphicInterface, PreferMaxFitOnlyOnTheFormatCanvasForShortRuns) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    struct TCase {
        int32_t Length, EstimFit;
        TVDMeasureCanvas Canvas;
        bool Expected;
    } cases[] = {{5, 0, vdmcFormatCanvas, true},
                 {6, 0, vdmcFormatCanvas, false},
                 {59, 10, vdmcFormatCanvas, true},
                 {60, 10, vdmcFormatCanvas, false},
                 {5, 0, vdmcCanvas, false}};
    for (const TCase &tc : cases) {
        EXPECT_EQ(gi.PreferMaxFit(k.Canvas(), {nullptr, tc.Length, true}, tc.Canvas, tc.EstimFit),
                  tc.Expected)
            << tc.Length << " " << tc.EstimFit;
    }
    EXPECT_TRUE(gi.DoesTextOutSupportSpacing({nullptr, 3, true, false}));
    EXPECT_FALSE(gi.DoesTextOutSupportSpacing({nullptr, 3, true, true}));
}

TEST(WinGraphicInterface, TranslucentFillsGoInTiles) {
    using rtl::Rect;
    struct TCase {
        rtl::TRect Area;
        std::vector<rtl::TRect> Tiles;
    } cases[] = {
        {Rect(0, 0, 2500, 300),
         {Rect(0, 0, 1000, 300), Rect(1000, 0, 2000, 300), Rect(2000, 0, 2500, 300)}},
        {Rect(10, 20, 2510, 2020),
         {Rect(10, 20, 1010, 1020), Rect(10, 1020, 1010, 2020), Rect(1010, 20, 2010, 1020),
          Rect(1010, 1020, 2010, 2020), Rect(2010, 20, 2510, 1020), Rect(2010, 1020, 2510, 2020)}},
        {Rect(0, 0, 2100, 2100),
         {Rect(0, 0, 1000, 1000), Rect(0, 1000, 1000, 2000), Rect(1000, 0, 2000, 1000),
          Rect(1000, 1000, 2000, 2000), Rect(2000, 0, 2100, 1000), Rect(2000, 1000, 2100, 2000),
          Rect(0, 2000, 1000, 2100), Rect(1000, 2000, 2000, 2100), Rect(2000, 2000, 2100, 2100)}},
    };
    TTextCanvas k;
    for (const TCase &tc : cases) {
        TTileRecorder gi;
        gi.FillRectAlpha(k.Canvas(), tc.Area, gfx::clRed, 128);
        EXPECT_EQ(gi.Tiles, tc.Tiles);
    }
    TTileRecorder nothing;
    nothing.FillRectAlpha(k.Canvas(), Rect(0, 0, 10, 10), gfx::clRed, 0);
    nothing.FillRectAlpha(k.Canvas(), Rect(0, 0, 10, 10), gfx::clNone, 100);
    nothing.FillRectAlpha(k.Canvas(), Rect(5, 0, 5, 10), gfx::clRed, 100);
    EXPECT_TRUE(nothing.Tiles.empty());
}

TEST(WinGraphicInterface, TranslucentFillsBlendOrFillOpaqueWhereBlendingFails) {
    struct TCase {
        uint8_t Opacity;
        int FailAt;
        gfx::TColor Expected;
    } cases[] = {{128, -1, 0x7F7FFF}, {255, -1, gfx::clRed}, {128, 0, gfx::clRed}};
    for (const TCase &tc : cases) {
        TTextCanvas k;
        k.Canvas().GetBrush().SetColor(gfx::clWhite);
        k.Canvas().FillRect(rtl::Rect(0, 0, 600, 80));
        TTileRecorder gi;
        gi.FailAt = tc.FailAt;
        gi.FillRectAlpha(k.Canvas(), rtl::Rect(10, 10, 20, 20), gfx::clRed, tc.Opacity);
        const gfx::TColor pixel = k.Canvas().GetPixel(15, 15);
        EXPECT_LE(std::abs(int(pixel & 0xFF) - int(tc.Expected & 0xFF)), 1);
        EXPECT_LE(std::abs(int((pixel >> 8) & 0xFF) - int((tc.Expected >> 8) & 0xFF)), 1);
        EXPECT_EQ(k.Canvas().GetPixel(25, 25), gfx::clWhite);
    }
}

TEST(WinGraphicInterface, CompatibleModeResetsTheWorldTransformFirst) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    gfx::TCanvas &c = k.Canvas();
    EXPECT_EQ(gi.SetGraphicsMode(c, vdgmAdvanced), vdgmCompatible);
    ASSERT_TRUE(gi.SetWorldTransform(c, {0, 1, -1, 0, 50, 0}));
    EXPECT_EQ(gi.SetGraphicsMode(c, vdgmCompatible), vdgmAdvanced);
    EXPECT_FALSE(gi.IsAdvancedGraphicsMode(c));
    gfx::TXForm xf;
    gi.GetWorldTransform(c, xf);
    EXPECT_EQ(xf, gfx::TXForm());
    EXPECT_EQ(gi.SetGraphicsMode(c, vdgmCompatible), vdgmCompatible);
}

TEST(WinGraphicInterface, ClipRegionsAreSavedAndPutBack) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    gfx::TCanvas &c = k.Canvas();
    TVDClipRgn none;
    gi.IntersectClipRectEx(c, 0, 0, 50, 50, none);
    EXPECT_FALSE(none.Valid);
    TVDClipRgn square;
    gi.RemoveClipRgn(c, square);
    ASSERT_TRUE(square.Valid);
    EXPECT_EQ(square.Rgn.GetRects(), std::vector<rtl::TRect>{rtl::Rect(0, 0, 50, 50)});
    gfx::TRegion region;
    EXPECT_EQ(c.GetClipRgn(region), 0);
    gi.IntersectClipRect(c, 40, 40, 80, 80);
    gi.UnionClipRgn(c, square);
    c.GetClipRgn(region);
    EXPECT_EQ(region,
              gfx::TRegion(rtl::Rect(0, 0, 50, 50)).Union(gfx::TRegion(rtl::Rect(40, 40, 80, 80))));
    gi.UnionClipRgn(c, none); // nothing
    gi.IntersectClipRgn(c, square);
    c.GetClipRgn(region);
    EXPECT_EQ(region, gfx::TRegion(rtl::Rect(0, 0, 50, 50)));
    gi.IntersectClipRgn(c, none); // removes clipping
    EXPECT_EQ(c.GetClipRgn(region), 0);
    gi.RestoreClipRgn(c, square);
    EXPECT_FALSE(square.Valid);
    c.GetClipRgn(region);
    EXPECT_EQ(region, gfx::TRegion(rtl::Rect(0, 0, 50, 50)));
}

TEST(WinGraphicInterface, CanvasesForMeasuring) {
    TVDWinGraphicInterface gi;
    std::unique_ptr<gfx::TCanvas> printer = gi.CreatePrinterCanvas();
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->GetFont().GetPixelsPerInch(), printer->GetDeviceCaps(gfx::LOGPIXELSY));
    gi.SetGraphicsMode(*printer, vdgmAdvanced);
    gi.SetWorldTransform(*printer, {2, 0, 0, 2, 1, 1});
    std::unique_ptr<gfx::TCanvas> compatible = gi.CreateCompatibleCanvas(*printer);
    EXPECT_EQ(compatible->GetDeviceCaps(gfx::LOGPIXELSX), printer->GetDeviceCaps(gfx::LOGPIXELSX));
    EXPECT_TRUE(gi.IsAdvancedGraphicsMode(*compatible));
    EXPECT_EQ(compatible->GetWorldTransform(), printer->GetWorldTransform());
    EXPECT_EQ(compatible->GetFont().GetPixelsPerInch(), printer->GetFont().GetPixelsPerInch());
    gi.DestroyCompatibleCanvas(compatible);
    EXPECT_EQ(compatible, nullptr);
    std::unique_ptr<gfx::TCanvas> screen = gi.CreateScreenCanvas();
    EXPECT_EQ(screen->GetDeviceCaps(gfx::LOGPIXELSY), 96);
    gi.DestroyScreenCanvas(screen);
    EXPECT_EQ(screen, nullptr);
}

TEST(WinGraphicInterface, FontsAndBrushes) {
    TTextCanvas k;
    TVDWinGraphicInterface gi;
    gfx::TCanvas &c = k.Canvas();
    gfx::TOutlineTextMetric otm;
    const uint32_t needed = gi.GetOutlineTextMetrics(c, 0, nullptr);
    EXPECT_GT(needed, 0u);
    EXPECT_EQ(gi.GetOutlineTextMetrics(c, needed - 1, &otm), 0u);
    EXPECT_EQ(gi.GetOutlineTextMetrics(c, needed, &otm), needed);
    EXPECT_EQ(otm.otmTextMetrics.tmHeight, c.GetTextMetrics().tmHeight);
    gfx::TLogFont lf = c.GetLogFont();
    lf.lfHeight = -33;
    gi.SetLogFont(c, lf);
    EXPECT_EQ(c.GetFont().GetHeight(), -33);
    lf.lfFaceName = u"Courier New";
    const TVDFontHandle previous = gi.SetFontHandle(c, lf);
    EXPECT_EQ(previous.lfHeight, -33);
    EXPECT_EQ(c.GetLogFont().lfFaceName, u"Courier New");
    gi.SetDiagonalBrush(c, gfx::clYellow, gfx::clBlue, 3, 4);
    EXPECT_EQ(c.GetBrush().GetStyle(), gfx::bsFDiagonal);
    EXPECT_EQ(c.GetBrush().GetColor(), gfx::clBlue);
    EXPECT_EQ(c.GetBkColor(), gfx::clYellow);
    EXPECT_EQ(c.GetBkMode(), gfx::OPAQUE);
    EXPECT_EQ(c.GetBrushOrg(), (rtl::TPoint{3, 4}));
}

TEST(WinGraphicInterface, ImageListsDrawnPlainOrHalfInTheBlendColour) {
    gfx::TImageList list(nullptr, 4, 4);
    gfx::TBitmap image(4, 4);
    image.GetCanvas().GetBrush().SetColor(gfx::clRed);
    image.GetCanvas().FillRect(rtl::Rect(0, 0, 4, 4));
    image.GetCanvas().SetPixel(3, 3, gfx::clLime);
    list.AddMasked(image, gfx::clLime); // the bottom-right pixel is left out
    TVDWinGraphicInterface gi;
    struct TCase {
        gfx::TColor Blend, Expected;
    } cases[] = {{gfx::clNone, gfx::clRed}, {gfx::clBlue, 0x800080}};
    for (const TCase &c : cases) {
        TTextCanvas k;
        k.Canvas().GetBrush().SetColor(gfx::clYellow);
        k.Canvas().FillRect(rtl::Rect(0, 0, 20, 20));
        gi.DrawImageList(k.Canvas(), list, 0, 5, 6, c.Blend);
        for (int32_t y = 6; y < 9; ++y) {
            for (int32_t x = 5; x < 9; ++x) {
                const gfx::TColor pixel = k.Canvas().GetPixel(x, y);
                EXPECT_LE(std::abs(int(pixel & 0xFF) - int(c.Expected & 0xFF)), 1) << x << "," << y;
                EXPECT_LE(std::abs(int(pixel >> 16) - int(c.Expected >> 16)), 1) << x << "," << y;
            }
        }
        EXPECT_EQ(k.Canvas().GetPixel(8, 9), gfx::clYellow); // left out: the ground shows
        EXPECT_EQ(k.Canvas().GetPixel(9, 6), gfx::clYellow);
    }
    TTextCanvas k;
    gi.DrawImageList(k.Canvas(), list, 3, 0, 0, gfx::clBlue); // no such image: nothing
    EXPECT_EQ(k.Canvas().GetPixel(1, 1), gfx::clWhite);
}
