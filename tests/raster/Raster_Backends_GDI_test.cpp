// The platform back end of TBitmap32: canvas on the pixels, font, text output, and drawing to
// and from canvases.
#include "raster/Raster_Backends_GDI.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"

#include <gtest/gtest.h>

#include <vector>

using namespace raster;

namespace {

constexpr TColor32 kBack = 0xFF003366u;

int CountDiffering(const TCustomBitmap32 &b, TColor32 c, const TRect &r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            n += b.GetPixel(x, y) != c;
        }
    }
    return n;
}

} // namespace

TEST(PlatformBackend, BitmapHasTheCanvasBackendAndAHandleOnlyWhenSized) {
    TBitmap32 b;
    EXPECT_NE(dynamic_cast<TGDIBackend *>(b.GetBackend()), nullptr);
    EXPECT_EQ(b.GetHandle(), nullptr);
    int handles = 0;
    b.OnHandleChanged = [&handles](TNotifiablePersistent *) { ++handles; };
    b.SetSize(1, 1);
    EXPECT_NE(b.GetHandle(), nullptr);
    b.SetSize(3, 2);
    EXPECT_EQ(handles, 2);
}

TEST(PlatformBackend, ResizeFreesTheCanvas) {
    TBitmap32 b;
    b.SetSize(4, 4);
    b.GetCanvas();
    EXPECT_TRUE(b.CanvasAllocated());
    b.SetSize(5, 5);
    EXPECT_FALSE(b.CanvasAllocated());
}

TEST(PlatformBackend, CanvasDrawsIntoTheBitmapsOwnPixels) {
    TBitmap32 b;
    b.SetSize(6, 6);
    b.Clear(kBack);
    gfx::TCanvas &c = b.GetCanvas();
    c.GetBrush().SetColor(0x0000FF); // red in the class library's order
    c.FillRect({1, 1, 3, 3});
    EXPECT_EQ(b.GetPixel(1, 1), 0xFFFF0000u);
    EXPECT_EQ(b.GetPixel(3, 3), kBack);
}

TEST(PlatformBackend, SetFontCopiesAttributesIntoTheSameObject) {
    TBitmap32 b;
    gfx::TFont &own = b.GetFont();
    gfx::TFont other;
    other.SetName(u"Courier New");
    other.SetSize(17);
    b.SetFont(other);
    EXPECT_EQ(&b.GetFont(), &own);
    EXPECT_EQ(own.GetName(), u"Courier New");
    EXPECT_EQ(own.GetSize(), 17);
}

TEST(PlatformBackend, TextStaysInsideTheClipRectangle) {
    TBitmap32 b;
    b.SetSize(60, 30);
    b.Clear(kBack);
    b.GetFont().SetColor(0xFFFFFF);
    b.GetFont().SetSize(14);
    b.SetClipRect({10, 5, 25, 20});
    b.Textout(2, 2, u"WWWWWW");
    EXPECT_GT(CountDiffering(b, kBack, {10, 5, 25, 20}), 0);
    b.ResetClipRect();
    EXPECT_EQ(CountDiffering(b, kBack, {0, 0, 60, 30}), CountDiffering(b, kBack, {10, 5, 25, 20}));
}

TEST(PlatformBackend, TextWidthOfAnEmptyBitmapEqualsThatOfASizedOne) {
    TBitmap32 empty, sized;
    sized.SetSize(50, 20);
    EXPECT_GT(empty.TextWidth(u"ECG Lead II"), 0);
    EXPECT_EQ(empty.TextWidth(u"ECG Lead II"), sized.TextWidth(u"ECG Lead II"));
    EXPECT_EQ(empty.TextHeight(u"A"), sized.TextHeight(u"A"));
}

TEST(PlatformBackend, EmptyTextReportsOnePixelWideArea) {
    TBitmap32 b;
    b.SetSize(20, 20);
    std::vector<TRect> areas;
    b.OnAreaChanged = [&areas](TCustomBitmap32 *, const TRect &r, uint32_t) { areas.push_back(r); };
    b.Textout(3, 4, u"");
    ASSERT_EQ(areas.size(), 1u);
    const int32_t h = b.TextHeight(u"");
    EXPECT_EQ(areas[0], (TRect{3, 4, 4, 4 + h + 1}));
}

TEST(PlatformBackend, MeasuringTextDrawsNothingAndReports) {
    TBitmap32 b;
    b.SetSize(40, 20);
    b.Clear(kBack);
    std::vector<TRect> areas;
    b.BeginMeasuring([&areas](TCustomBitmap32 *, const TRect &r, uint32_t) { areas.push_back(r); });
    b.Textout(1, 1, u"II");
    b.EndMeasuring();
    EXPECT_EQ(CountDiffering(b, kBack, b.BoundsRect()), 0);
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0].Left, 1);
    EXPECT_EQ(areas[0].Right, 1 + b.TextWidth(u"II") + 1);
}

TEST(PlatformBackend, DrawingToACanvasIgnoresAlpha) {
    TBitmap32 b;
    b.SetSize(2, 1);
    b.SetPixel(0, 0, 0x00336699u);
    b.SetPixel(1, 0, 0x80FF0000u);
    gfx::TBitmap target(4, 2);
    b.DrawTo(target.GetCanvas(), 1, 1);
    // The colour arrives whatever the alpha byte held (a straight, not premultiplied, copy).
    EXPECT_EQ(target.ScanLine(1)[1] & 0x00FFFFFFu, 0x336699u);
    EXPECT_EQ(target.ScanLine(1)[2] & 0x00FFFFFFu, 0xFF0000u);
}

TEST(PlatformBackend, EmptyBitmapDrawsNothingToACanvas) {
    TBitmap32 b;
    gfx::TBitmap target(2, 2);
    target.ScanLine(0)[0] = 0xFF123456u;
    b.DrawTo(target.GetCanvas(), 0, 0);
    EXPECT_EQ(target.ScanLine(0)[0], 0xFF123456u);
}

TEST(PlatformBackend, TilesAbutExactly) {
    TBitmap32 b;
    b.SetSize(2500, 2);
    for (int x = 0; x < 2500; ++x) {
        b.SetPixel(x, 0, 0xFF000000u | uint32_t(x));
        b.SetPixel(x, 1, 0xFF000000u | uint32_t(x * 7));
    }
    gfx::TBitmap target(2500, 2);
    b.TileTo(target.GetCanvas(), {0, 0, 2500, 2}, {0, 0, 2500, 2});
    for (int x = 0; x < 2500; ++x) {
        ASSERT_EQ(target.ScanLine(0)[x], b.GetPixel(x, 0)) << x;
    }
}

TEST(PlatformBackend, MemoryBackendIsSwitchedForTheCanvasBackendAndBack) {
    TCustomBitmap32 b;
    b.SetSize(3, 3);
    b.SetPixel(1, 1, 0xFFABCDEFu);
    TCustomBackend *released = nullptr;
    EnsureBackendSupport(b, {biCanvas, biText}, bsmAny, false, released);
    ASSERT_NE(released, nullptr);
    EXPECT_NE(dynamic_cast<TGDIBackend *>(b.GetBackend()), nullptr);
    EXPECT_EQ(b.GetPixel(1, 1), 0xFFABCDEFu);
    b.SetPixel(0, 0, 0xFF111111u);
    ReinstateBackend(b, released);
    EXPECT_NE(dynamic_cast<TMemoryBackend *>(b.GetBackend()), nullptr);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF111111u);
    TBitmap32 p;
    EnsureBackendSupport(p, {biCanvas}, bsmAny, false, released);
    EXPECT_EQ(released, nullptr);
}

// Level -1 (and below) is the font engine's antialiasing, 0 whole pixels, above 0 averages of
// 2^level times larger text.
TEST(RenderText, DrawsTextInTheColourAntialiasedOrInWholePixels) {
    for (int32_t level : {-3, 0, 2, 7}) {
        TBitmap32 b;
        b.SetSize(80, 30);
        b.Clear(0xFF000000u);
        b.GetFont().SetSize(12);
        b.RenderText(2, 2, u"V1", level, 0xFFFFFF80u);
        bool partial = false, coloured = false;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 80; ++x) {
                const TColor32 c = b.GetPixel(x, y);
                coloured |= c != 0xFF000000u;
                partial |= c != 0xFF000000u && c != 0xFFFFFF80u;
                EXPECT_LE(BlueComponent(c), 0x80u) << level;
            }
        }
        EXPECT_TRUE(coloured) << level;
        EXPECT_EQ(partial, level != 0) << level;
    }
}

TEST(RenderText, QualityGoesBackToTheDefaultAfterwards) {
    TBitmap32 b;
    b.SetSize(80, 30);
    b.RenderText(2, 2, u"V1", 0, 0xFFFFFF80u);
    auto &font = dynamic_cast<IFontSupport &>(*b.GetBackend());
    EXPECT_EQ(font.GetFontQuality(), fqDefault);
    font.RecreateFontWithQuality(fqNonAntialiased);
    b.GetFont().SetColor(gfx::clRed); // the colour is no part of the font handle
    EXPECT_EQ(font.GetFontQuality(), fqNonAntialiased);
    b.GetFont().SetSize(20);
    EXPECT_EQ(font.GetFontQuality(), fqDefault);
}

TEST(PlatformBackend, BitmapInfoAndHandleFollowTheSize) {
    TBitmap32 b;
    EXPECT_EQ(b.GetBitmapHandle(), nullptr);
    b.SetSize(10, 10);
    const TBitmapInfo info = b.GetBitmapInfo();
    EXPECT_EQ(info.bmiHeader.biSize, 40u);
    EXPECT_EQ(info.bmiHeader.biWidth, 10);
    EXPECT_EQ(info.bmiHeader.biHeight, -10);
    EXPECT_EQ(info.bmiHeader.biBitCount, 32);
    EXPECT_EQ(info.bmiHeader.biSizeImage, 400u);
    EXPECT_NE(b.GetBitmapHandle(), nullptr);
}

TEST(PlatformBackend, SystemColoursResolveThroughThePlatformTable) {
    InitializeRaster();
    const uint32_t face = gfx::GetSysColor(15); // clBtnFace, $00BBGGRR
    EXPECT_EQ(ColorToColor32(gfx::clBtnFace),
              0xFF000000u | (face & 0xFF) << 16 | (face & 0xFF00) | ((face >> 16) & 0xFF));
}

TEST(RenderText, TransparentColourLeavesTheBitmap) {
    TBitmap32 b;
    b.SetSize(40, 20);
    b.Clear(kBack);
    b.RenderText(0, 0, u"I", 2, 0x00FFFFFFu);
    EXPECT_EQ(CountDiffering(b, kBack, b.BoundsRect()), 0);
}
