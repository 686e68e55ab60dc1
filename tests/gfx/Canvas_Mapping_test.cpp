// Canvas coordinates: map modes, window and viewport, world transforms, saved states.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"

#include <gtest/gtest.h>

#include <vector>

using namespace gfx;

namespace {

// A 96-dpi canvas on 40 x 40 pixels of memory.
struct Surface {
    std::vector<uint32_t> mem = std::vector<uint32_t>(40 * 40, 0xFFFFFFFFu);
    TPixelCanvas c{mem.data(), 40, 40, 160};
};

} // namespace

TEST(Mapping, FixedMapModesScaleByTheDevicesResolutionWithYUp) {
    struct Case {
        int32_t mode;
        TPoint logical, device;
    };
    // At 96 pixels per inch: one inch is 254 (LOMETRIC), 2540 (HIMETRIC), 100 (LOENGLISH),
    // 1000 (HIENGLISH) or 1440 (TWIPS) units; y grows upward.
    const Case cases[] = {
        {MM_TEXT, {17, 23}, {17, 23}},          {MM_LOMETRIC, {254, -254}, {96, 96}},
        {MM_HIMETRIC, {2540, 1270}, {96, -48}}, {MM_LOENGLISH, {50, -100}, {48, 96}},
        {MM_HIENGLISH, {1000, 0}, {96, 0}},     {MM_TWIPS, {720, -1440}, {48, 96}},
    };
    for (const Case &k : cases) {
        Surface s;
        EXPECT_EQ(s.c.SetMapMode(k.mode), MM_TEXT);
        EXPECT_EQ(s.c.LPtoDP(k.logical), k.device) << "mode " << k.mode;
        EXPECT_EQ(s.c.DPtoLP(k.device), k.logical) << "mode " << k.mode;
    }
}

TEST(Mapping, AnisotropicMapsWindowOntoViewport) {
    Surface s;
    s.c.SetMapMode(MM_ANISOTROPIC);
    EXPECT_TRUE(s.c.SetWindowExtEx(4960, 7016));
    EXPECT_TRUE(s.c.SetViewportExtEx(496, 702));
    s.c.SetViewportOrgEx(10, 20);
    s.c.SetWindowOrgEx(100, 0);
    EXPECT_EQ(s.c.LPtoDP({100, 0}), (TPoint{10, 20}));
    EXPECT_EQ(s.c.LPtoDP({4960 + 100, 7016}), (TPoint{506, 722}));
    // Extents of 0 are refused and change nothing.
    EXPECT_FALSE(s.c.SetWindowExtEx(0, 5));
    EXPECT_EQ(s.c.GetWindowExtEx(), (TSize{4960, 7016}));
}

TEST(Mapping, ExtentsAreIgnoredOutsideTheScalableModes) {
    Surface s;
    TSize previous;
    EXPECT_TRUE(s.c.SetWindowExtEx(10, 10, &previous));
    EXPECT_EQ(previous, (TSize{1, 1}));
    EXPECT_EQ(s.c.GetWindowExtEx(), (TSize{1, 1}));
    EXPECT_EQ(s.c.LPtoDP({5, 5}), (TPoint{5, 5}));
    EXPECT_EQ(s.c.SetMapMode(42), 0);
    EXPECT_EQ(s.c.GetMapMode(), MM_TEXT);
}

TEST(Mapping, IsotropicShortensTheLongerViewportExtent) {
    Surface s;
    s.c.SetMapMode(MM_ISOTROPIC);
    s.c.SetWindowExtEx(100, 100);
    s.c.SetViewportExtEx(400, 200);
    EXPECT_EQ(s.c.GetViewportExtEx(), (TSize{200, 200}));
    s.c.SetViewportExtEx(100, -300);
    EXPECT_EQ(s.c.GetViewportExtEx(), (TSize{100, -100}));
}

TEST(Mapping, WorldTransformOnlyInTheAdvancedMode) {
    Surface s;
    const TXForm shift{1, 0, 0, 1, 5, 7};
    EXPECT_FALSE(s.c.SetWorldTransform(shift));
    EXPECT_EQ(s.c.SetGraphicsMode(GM_ADVANCED), GM_COMPATIBLE);
    EXPECT_TRUE(s.c.SetWorldTransform(shift));
    EXPECT_EQ(s.c.LPtoDP({1, 1}), (TPoint{6, 8}));
    // Back to the compatible mode needs the identity first.
    EXPECT_EQ(s.c.SetGraphicsMode(GM_COMPATIBLE), 0);
    EXPECT_TRUE(s.c.ModifyWorldTransform({}, MWT_IDENTITY));
    EXPECT_EQ(s.c.SetGraphicsMode(GM_COMPATIBLE), GM_ADVANCED);
    EXPECT_FALSE(s.c.SetWorldTransform({0, 0, 0, 0, 0, 0})); // singular
}

TEST(Mapping, ModifyWorldTransformMultipliesOnTheRequestedSide) {
    // Left: the given transform applies first; right: after the current one.
    struct Case {
        uint32_t mode;
        TPoint expected;
    };
    const TXForm scale{2, 0, 0, 2, 0, 0};
    const TXForm shift{1, 0, 0, 1, 10, 0};
    for (const Case &k : {Case{MWT_LEFTMULTIPLY, {22, 2}}, Case{MWT_RIGHTMULTIPLY, {12, 2}}}) {
        Surface s;
        s.c.SetGraphicsMode(GM_ADVANCED);
        s.c.SetWorldTransform(scale);
        EXPECT_TRUE(s.c.ModifyWorldTransform(shift, k.mode));
        EXPECT_EQ(s.c.LPtoDP({1, 1}), k.expected) << "mode " << k.mode;
    }
}

TEST(Mapping, ScalingTheWindowAndPuttingItBackIsExact) {
    // Drawing at a k times finer resolution and back, as the document library does.
    Surface s;
    s.c.SetMapMode(MM_ANISOTROPIC);
    s.c.SetWindowExtEx(3, 7);
    s.c.SetViewportExtEx(3, 7);
    s.c.SetWindowOrgEx(-4, 9);
    const TSize ext = s.c.GetWindowExtEx();
    const TPoint org = s.c.GetWindowOrgEx();
    s.c.SetWindowExtEx(ext.cx * 100, ext.cy * 100);
    s.c.SetWindowOrgEx(org.X * 100, org.Y * 100);
    EXPECT_EQ(s.c.LPtoDP({1200, 1300}), (TPoint{16, 4}));
    s.c.SetWindowOrgEx(org.X, org.Y);
    s.c.SetWindowExtEx(ext.cx, ext.cy);
    EXPECT_EQ(s.c.LPtoDP({12, 13}), (TPoint{16, 4}));
}

TEST(Mapping, RestoreDCBringsBackTheMappingAndAttributes) {
    Surface s;
    const int level = s.c.SaveDC();
    s.c.SetMapMode(MM_ANISOTROPIC);
    s.c.SetWindowExtEx(10, 10);
    s.c.SetViewportExtEx(20, 20);
    s.c.SetGraphicsMode(GM_ADVANCED);
    s.c.SetWorldTransform({0, 1, -1, 0, 0, 0});
    s.c.SetTextAlign(TA_BASELINE | TA_CENTER);
    s.c.SetTextColor(clRed);
    s.c.SetBkMode(TRANSPARENT);
    s.c.SetTextCharacterExtra(3);
    EXPECT_TRUE(s.c.RestoreDC(level));
    EXPECT_EQ(s.c.GetMapMode(), MM_TEXT);
    EXPECT_EQ(s.c.GetGraphicsMode(), GM_COMPATIBLE);
    EXPECT_EQ(s.c.GetWorldTransform(), TXForm{});
    EXPECT_EQ(s.c.GetTextAlign(), 0u);
    EXPECT_EQ(s.c.GetBkMode(), OPAQUE);
    EXPECT_EQ(s.c.GetTextCharacterExtra(), 0);
    EXPECT_EQ(s.c.LPtoDP({3, 4}), (TPoint{3, 4}));
}

TEST(Mapping, ShapesFollowTheMapping) {
    // A rectangle of logical units lands where the mapping puts it, flipped axes included.
    Surface s;
    s.c.GetBrush().SetColor(clBlue);
    s.c.SetMapMode(MM_ANISOTROPIC);
    s.c.SetWindowExtEx(100, -100);
    s.c.SetViewportExtEx(40, 40);
    s.c.SetViewportOrgEx(0, 40);
    s.c.FillRect(Rect(25, 75, 75, 25)); // y up: top 75, bottom 25
    EXPECT_EQ(s.c.GetPixel(25, 75), clBlue);
    EXPECT_EQ(s.mem[size_t(10 * 40 + 10)], 0xFF0000FFu); // device (10, 10)
    EXPECT_EQ(s.mem[size_t(29 * 40 + 29)], 0xFF0000FFu);
    EXPECT_EQ(s.mem[size_t(30 * 40 + 30)], 0xFFFFFFFFu);
    EXPECT_EQ(s.mem[size_t(9 * 40 + 9)], 0xFFFFFFFFu);
}

TEST(Mapping, BrushChangesSetTheBackgroundAsTheClassLibraryDoes) {
    Surface s;
    s.c.GetBrush().SetColor(clYellow);
    EXPECT_EQ(s.c.GetBkColor(), clYellow);
    EXPECT_EQ(s.c.GetBkMode(), OPAQUE);
    s.c.GetBrush().SetStyle(bsFDiagonal);
    EXPECT_EQ(s.c.GetBkMode(), TRANSPARENT);
    s.c.GetFont().SetColor(clGreen);
    EXPECT_EQ(s.c.GetTextColor(), clGreen);
    EXPECT_EQ(s.c.SetBkMode(3), 0);
}
