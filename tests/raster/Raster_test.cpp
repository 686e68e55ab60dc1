// Bitmap storage, change notification, back ends, geometry routines and the gamma table.
#include "raster/Raster.h"

#include "raster/Raster_Resamplers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace raster;

namespace {

// Records the notifications of one bitmap in order.
struct TEventLog {
    std::vector<std::string> Events;
    std::vector<TRect> Areas;
    void Attach(TCustomBitmap32 &b) {
        b.OnChange = [this](TNotifiablePersistent *) { Events.push_back("change"); };
        b.OnResize = [this](TNotifiablePersistent *) { Events.push_back("resize"); };
        b.OnAreaChanged = [this](TCustomBitmap32 *, const TRect &r, uint32_t) {
            Events.push_back("area");
            Areas.push_back(r);
        };
    }
};

} // namespace

TEST(Geometry, GammaTableForGammaPointSeven) {
    InitializeRaster();
    const int index[] = {0, 1, 2, 16, 64, 128, 192, 254, 255};
    const int value[] = {0, 5, 9, 37, 97, 157, 209, 254, 255};
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(GammaTable[index[i]], value[i]) << index[i];
    }
}

TEST(Geometry, ColorToColor32SwapsRedAndBlue) {
    EXPECT_EQ(ColorToColor32(0x000000FF), 0xFFFF0000u);
    InitializeRaster();
    const auto platform = SystemColorResolver;
    SystemColorResolver = [](int32_t index) { return index == 5 ? 0x00112233 : 0; };
    EXPECT_EQ(ColorToColor32(int32_t(0xFF000005)), 0xFF332211u);
    SystemColorResolver = platform;
}

TEST(Geometry, MakeRectRoundedModes) {
    const TFloatRect f{0.4f, 0.6f, 2.5f, 3.5f};
    EXPECT_EQ(MakeRectRounded(f, rrClosest), (TRect{0, 1, 2, 4}));
    EXPECT_EQ(MakeRectRounded(f, rrOutside), (TRect{0, 0, 3, 4}));
    EXPECT_EQ(MakeRectRounded(f, rrInside), (TRect{1, 1, 2, 3}));
    const TFixedRect x{0x8000, 0x8001, 0x28000, 0x10000};
    EXPECT_EQ(MakeRectRounded(x, rrClosest), (TRect{0, 1, 2, 1}));
}

TEST(Geometry, IntersectRectsCountsTouchingEdges) {
    TRect r;
    EXPECT_TRUE(IntersectRects(r, {0, 0, 5, 5}, {5, 0, 9, 5}));
    EXPECT_EQ(r, (TRect{5, 0, 5, 5}));
    EXPECT_FALSE(IntersectRects(r, {0, 0, 5, 5}, {6, 0, 9, 5}));
    EXPECT_EQ(r, (TRect{}));
    EXPECT_FALSE(PointInRect({0, 0, 2, 2}, {2, 1}));
    EXPECT_TRUE(RectIsEmpty({3, 3, 3, 9}));
}

TEST(Bitmap, NegativeSizeBecomesZeroAndEmpty) {
    TCustomBitmap32 b;
    b.SetSize(-5, 10);
    EXPECT_EQ(b.GetWidth(), 0);
    EXPECT_EQ(b.GetHeight(), 10);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.GetBits(), nullptr);
}

TEST(Bitmap, ResizeNotifiesChangeAreaAndResizeOnce) {
    TEventLog log; // outlives the bitmap, whose destruction still reports the resize
    TCustomBitmap32 b;
    log.Attach(b);
    EXPECT_TRUE(b.SetSize(3, 2));
    EXPECT_EQ(log.Events, (std::vector<std::string>{"area", "change", "resize"}));
    EXPECT_EQ(log.Areas.back(), (TRect{0, 0, 3, 2}));
    log.Events.clear();
    EXPECT_FALSE(b.SetSize(3, 2));
    EXPECT_TRUE(log.Events.empty());
}

TEST(Bitmap, NewMemoryIsOpaqueBlackAndAligned) {
    TCustomBitmap32 b;
    b.SetSize(3, 3);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(b.GetBits()[i], 0xFF000000u);
    }
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b.GetBits()) % 64, 0u);
    EXPECT_EQ(b.GetClipRect(), (TRect{0, 0, 3, 3}));
}

TEST(Bitmap, ClearOnEmptyBitmapFiresNothing) {
    TEventLog log; // outlives the bitmap, whose destruction still reports the resize
    TCustomBitmap32 b;
    log.Attach(b);
    b.Clear(0xFFFFFFFFu);
    EXPECT_TRUE(log.Events.empty());
}

TEST(Bitmap, ClearHonoursTheClipRectangle) {
    TCustomBitmap32 b;
    b.SetSize(2, 2);
    b.SetClipRect({1, 1, 2, 2});
    b.Clear(0xFF123456u);
    EXPECT_EQ(b.GetPixel(1, 1), 0xFF123456u);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(b.GetPixel(1, 0), 0xFF000000u);
    EXPECT_EQ(b.GetPixel(0, 1), 0xFF000000u);
}

TEST(Bitmap, PropertySettersNotifyOnlyOnChange) {
    TCustomBitmap32 b;
    int changes = 0;
    b.OnChange = [&changes](TNotifiablePersistent *) { ++changes; };
    b.SetDrawMode(dmOpaque);
    EXPECT_EQ(changes, 0);
    b.SetDrawMode(dmBlend);
    EXPECT_EQ(changes, 1);
    b.SetResamplerClassName("TNearestResampler");
    EXPECT_EQ(changes, 1);
}

TEST(Bitmap, ClipRectIsCutToTheBitmap) {
    TCustomBitmap32 b;
    b.SetSize(10, 10);
    b.SetClipRect({-10, -10, 5, 5});
    EXPECT_EQ(b.GetClipRect(), (TRect{0, 0, 5, 5}));
    EXPECT_TRUE(b.GetClipping());
    EXPECT_EQ(b.GetFixedClipRect(), (TFixedRect{0, 0, 5 * 65536, 5 * 65536}));
    b.SetClipRect({20, 20, 30, 30});
    EXPECT_EQ(b.GetClipRect(), (TRect{}));
}

TEST(Bitmap, ReplacingTheBackendKeepsSizeAndPixels) {
    TCustomBitmap32 b;
    b.SetSize(4, 4);
    b.SetPixel(2, 3, 0xFFABCDEFu);
    b.SetBackend(new TMemoryBackend());
    EXPECT_EQ(b.GetWidth(), 4);
    EXPECT_EQ(b.GetHeight(), 4);
    EXPECT_EQ(b.GetPixel(2, 3), 0xFFABCDEFu);
}

TEST(Bitmap, ReleasedBackendOutlivesTheBitmap) {
    TCustomBackend *kept = nullptr;
    {
        TCustomBitmap32 b;
        b.SetSize(2, 2);
        kept = b.ReleaseBackend();
        EXPECT_EQ(kept->GetRefCount(), 2);
    }
    EXPECT_EQ(kept->GetRefCount(), 1);
    kept->Release();
}

TEST(Bitmap, AssignNullEmptiesAndFiresOneChange) {
    TCustomBitmap32 b;
    b.SetSize(4, 4);
    int changes = 0;
    b.OnChange = [&changes](TNotifiablePersistent *) { ++changes; };
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(changes, 1);
}

TEST(Bitmap, AssignCopiesPixelsAndSettings) {
    TCustomBitmap32 a, b;
    a.SetSize(3, 2);
    a.SetPixel(1, 1, 0x80FF0000u);
    a.SetDrawMode(dmBlend);
    a.SetMasterAlpha(77);
    a.SetOuterColor(0x11223344u);
    a.SetResamplerClassName("TLinearResampler");
    b.Assign(&a);
    EXPECT_EQ(b.GetPixel(1, 1), 0x80FF0000u);
    EXPECT_EQ(b.GetDrawMode(), dmBlend);
    EXPECT_EQ(b.GetMasterAlpha(), 77u);
    EXPECT_EQ(b.GetOuterColor(), 0x11223344u);
    EXPECT_EQ(b.GetResamplerClassName(), "TLinearResampler");
}

TEST(Bitmap, UnpairedEndUpdateThrows) {
    TCustomBitmap32 b;
    EXPECT_THROW(b.EndUpdate(), EBitmapException);
    EXPECT_EQ(b.GetUpdateCount(), 0);
}

TEST(Bitmap, UpdateBracketSuppressesNotificationsWithoutCatchingUp) {
    TEventLog log;
    TCustomBitmap32 b;
    b.SetSize(2, 2);
    log.Attach(b);
    b.BeginUpdate();
    b.FillRectS(0, 0, 1, 1, 0xFFFFFFFFu);
    b.EndUpdate();
    EXPECT_TRUE(log.Events.empty());
}

TEST(Bitmap, MeasuringReportsAreasWithoutDrawing) {
    TCustomBitmap32 b;
    b.SetSize(4, 4);
    std::vector<TRect> areas;
    int changes = 0;
    b.OnChange = [&changes](TNotifiablePersistent *) { ++changes; };
    b.BeginMeasuring([&areas](TCustomBitmap32 *, const TRect &r, uint32_t) { areas.push_back(r); });
    b.Clear(0xFFFFFFFFu);
    b.FillRectS(1, 1, 3, 3, 0xFFFFFFFFu);
    b.EndMeasuring();
    EXPECT_EQ(b.GetPixel(1, 1), 0xFF000000u);
    EXPECT_EQ(areas, (std::vector<TRect>{{0, 0, 4, 4}, {1, 1, 3, 3}}));
    EXPECT_EQ(changes, 0);
}

TEST(Bitmap, NewBitmapHasNearestResamplerInSafeMode) {
    TCustomBitmap32 b;
    ASSERT_NE(b.GetResampler(), nullptr);
    EXPECT_EQ(b.GetResamplerClassName(), "TNearestResampler");
    EXPECT_EQ(b.GetResampler()->GetPixelAccessMode(), pamSafe);
    EXPECT_EQ(b.GetResampler()->GetBitmap(), &b);
}

TEST(Bitmap, ResamplerBoundsByAccessMode) {
    TCustomBitmap32 b;
    b.SetSize(10, 10);
    int changes = 0;
    b.OnChange = [&changes](TNotifiablePersistent *) { ++changes; };
    b.GetResampler()->SetPixelAccessMode(pamSafe);
    EXPECT_EQ(changes, 0);
    b.GetResampler()->SetPixelAccessMode(pamTransparentEdge);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b.GetResampler()->GetSampleBounds(), (TFloatRect{-1, -1, 11, 11}));
    b.GetResampler()->SetPixelAccessMode(pamWrap);
    EXPECT_FALSE(b.GetResampler()->HasBounds());
}

TEST(WholeBitmap, RollCarriesPixelsAcrossRowEnds) {
    TCustomBitmap32 b;
    b.SetSize(3, 2);
    for (int i = 0; i < 6; ++i) {
        b.GetBits()[i] = TColor32(i + 1);
    }
    b.Roll(1, 0, true, 0xEEu);
    const std::vector<TColor32> got(b.GetBits(), b.GetBits() + 6);
    EXPECT_EQ(got, (std::vector<TColor32>{0xEE, 1, 2, 0xEE, 4, 5}));
}

TEST(WholeBitmap, RotationsAndFlips) {
    TCustomBitmap32 b;
    b.SetSize(3, 2);
    for (int i = 0; i < 6; ++i) {
        b.GetBits()[i] = TColor32(i + 1);
    }
    const std::vector<TColor32> original(b.GetBits(), b.GetBits() + 6);
    b.Rotate90();
    EXPECT_EQ(b.GetWidth(), 2);
    EXPECT_EQ(b.GetPixel(1, 0), 1u); // (0, 0) goes to (H - 1 - 0, 0)
    b.Rotate270();
    EXPECT_EQ(std::vector<TColor32>(b.GetBits(), b.GetBits() + 6), original);
    b.FlipHorz();
    EXPECT_EQ(b.GetPixel(1, 0), 2u);
    EXPECT_EQ(b.GetPixel(0, 0), 3u);
    b.Rotate180();
    EXPECT_EQ(b.GetPixel(0, 0), 4u);
    TCustomBitmap32 d;
    b.FlipVert(&d);
    EXPECT_EQ(d.GetPixel(0, 0), b.GetPixel(0, 1));
}

TEST(WholeBitmap, ResetAlphaKeepsColour) {
    TCustomBitmap32 b;
    b.SetSize(1, 1);
    b.SetPixel(0, 0, 0x12345678u);
    b.ResetAlpha();
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF345678u);
    b.ResetAlpha(0x40);
    EXPECT_EQ(b.GetPixel(0, 0), 0x40345678u);
}

TEST(Bitmap, VeryWideEmptyBitmapGetsItsClipRectangleWithoutOverflow) {
    TCustomBitmap32 b;
    b.SetSize(67108870, 0); // a size a damaged file may announce: 24.8 positions wrap
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.GetClipRect(), (TRect{0, 0, 67108870, 0}));
}
