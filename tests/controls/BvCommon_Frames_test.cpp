// Pixel tests of the frame routines and the panel's composite frame routine.
#include "controls/BvCommon.h"
#include "controls/BvPanel.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace controls;
using gfx::RGB;

constexpr TColor Bg = RGB(1, 2, 3);     // untouched canvas
constexpr TColor Parent = RGB(9, 9, 9); // the parent's colour for the rounded style

uint32_t Px(gfx::TBitmap &b, int x, int y) {
    return gfx::ColorToRGB(b.GetCanvas().GetPixel(x, y));
}
uint32_t Rgb(TColor c) {
    return gfx::ColorToRGB(c);
}

gfx::TBitmap Canvas(int w, int h) {
    gfx::TBitmap b(w, h);
    b.GetCanvas().GetBrush().SetColor(Bg);
    b.GetCanvas().FillRect(gfx::Rect(0, 0, w, h));
    return b;
}

const TColor F = LightenColor(gfx::clBtnShadow, 30); // the flat colour with its adjustment

// Colours of the outer and inner ring at the middle of the left/top and right/bottom sides,
// and the width of the frame on each drawn side.
struct FrameCase {
    TFrameStyleEx style;
    TColor outerLT, outerRB, innerLT, innerRB;
    int inset;
};

const FrameCase FrameCases[] = {
    {fsNone, Bg, Bg, Bg, Bg, 0},
    {fsFlat, F, F, Bg, Bg, 1},
    {fsGroove, gfx::clBtnShadow, gfx::clBtnHighlight, gfx::clBtnHighlight, gfx::clBtnShadow, 2},
    {fsBump, gfx::clBtnHighlight, gfx::clBtnShadow, gfx::clBtnShadow, gfx::clBtnHighlight, 2},
    {fsLowered, gfx::clBtnShadow, gfx::clBtnHighlight, gfx::cl3DDkShadow, gfx::cl3DLight, 2},
    {fsButtonDown, gfx::clBtnText, gfx::clBtnText, gfx::clBtnShadow, gfx::clBtnShadow, 2},
    {fsRaised, gfx::cl3DLight, gfx::cl3DDkShadow, gfx::clBtnHighlight, gfx::clBtnShadow, 2},
    {fsButtonUp, gfx::clBtnHighlight, gfx::cl3DDkShadow, gfx::cl3DLight, gfx::clBtnShadow, 2},
    {fsStatus, gfx::clBtnShadow, gfx::clBtnHighlight, Bg, Bg, 1},
    {fsPopup, gfx::clBtnHighlight, gfx::clBtnShadow, Bg, Bg, 1},
    {fsFlatBold, F, F, F, F, 2},
    {fsFlatRounded, F, F, gfx::clBtnFace, gfx::clBtnFace, 2},
};

const TSides SideSets[] = {AllSides, TSides{sdLeft, sdTop}, TSides{sdRight, sdBottom},
                           TSides{sdTop}, TSides{}};

class PanelFrameTable : public ::testing::TestWithParam<std::tuple<FrameCase, TSides>> {};

TEST_P(PanelFrameTable, EdgePixelsAndInnerRectangle) {
    const FrameCase c = std::get<0>(GetParam());
    const TSides sides = std::get<1>(GetParam());
    gfx::TBitmap b = Canvas(12, 12);
    TBvPanelFrameParams p;
    p.Outer = c.style;
    p.Sides = sides;
    p.ParentColor = Parent;
    const TRect r = PaintPanelFrames(b.GetCanvas(), gfx::Rect(0, 0, 12, 12), p);
    auto want = [&](TSide side, TColor color) { return Rgb(sides.Contains(side) ? color : Bg); };
    EXPECT_EQ(Px(b, 0, 6), want(sdLeft, c.outerLT));
    EXPECT_EQ(Px(b, 1, 6), want(sdLeft, c.innerLT));
    EXPECT_EQ(Px(b, 6, 0), want(sdTop, c.outerLT));
    EXPECT_EQ(Px(b, 6, 1), want(sdTop, c.innerLT));
    EXPECT_EQ(Px(b, 11, 6), want(sdRight, c.outerRB));
    EXPECT_EQ(Px(b, 10, 6), want(sdRight, c.innerRB));
    EXPECT_EQ(Px(b, 6, 11), want(sdBottom, c.outerRB));
    EXPECT_EQ(Px(b, 6, 10), want(sdBottom, c.innerRB));
    EXPECT_EQ(Px(b, 6, 6), Rgb(Bg)) << "the inside is left to the fill";
    auto in = [&](TSide side) { return sides.Contains(side) ? c.inset : 0; };
    EXPECT_EQ(r, gfx::Rect(in(sdLeft), in(sdTop), 12 - in(sdRight), 12 - in(sdBottom)));
}

std::string FrameCaseName(const ::testing::TestParamInfo<std::tuple<FrameCase, TSides>> &info) {
    static const char *const names[] = {"None",    "Flat",       "Groove",   "Bump",
                                        "Lowered", "ButtonDown", "Raised",   "ButtonUp",
                                        "Status",  "Popup",      "FlatBold", "FlatRounded"};
    const TSides s = std::get<1>(info.param);
    return std::string(names[std::get<0>(info.param).style]) + "_sides" + std::to_string(s.Bits());
}

INSTANTIATE_TEST_SUITE_P(Styles, PanelFrameTable,
                         ::testing::Combine(::testing::ValuesIn(FrameCases),
                                            ::testing::ValuesIn(SideSets)),
                         FrameCaseName);

TEST(FrameRoutines, RoundedFlatFrameCutsTheCorners) {
    gfx::TBitmap b = Canvas(10, 10);
    const TRect r =
        PaintRoundedFlatFrameSides(b.GetCanvas(), gfx::Rect(0, 0, 10, 10), gfx::clRed, AllSides);
    EXPECT_EQ(r, gfx::Rect(2, 2, 8, 8));
    int left = 0, top = 0, right = 0, bottom = 0;
    for (int i = 0; i < 10; ++i) {
        left += Px(b, 0, i) == Rgb(gfx::clRed);
        top += Px(b, i, 0) == Rgb(gfx::clRed);
        right += Px(b, 9, i) == Rgb(gfx::clRed);
        bottom += Px(b, i, 9) == Rgb(gfx::clRed);
    }
    EXPECT_EQ(left, 6);
    EXPECT_EQ(top, 6);
    EXPECT_EQ(right, 6);
    EXPECT_EQ(bottom, 6);
    for (auto [x, y] : {std::pair{1, 1}, {8, 1}, {8, 8}, {1, 8}}) {
        EXPECT_EQ(Px(b, x, y), Rgb(gfx::clRed)) << x << "," << y;
    }
    EXPECT_EQ(Px(b, 0, 0), Rgb(Bg));
    EXPECT_EQ(Px(b, 1, 0), Rgb(Bg));
}

TEST(FrameRoutines, SideLinesWithoutColoursStillShrink) {
    gfx::TBitmap b = Canvas(6, 6);
    const TRect r =
        PaintSideLines(b.GetCanvas(), gfx::Rect(0, 0, 6, 6), gfx::clNone, gfx::clNone, AllSides);
    EXPECT_EQ(r, gfx::Rect(1, 1, 5, 5));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            ASSERT_EQ(Px(b, x, y), Rgb(Bg));
        }
    }
}

TEST(FrameRoutines, SideLinesLeaveOutTheirEndPoints) {
    gfx::TBitmap b = Canvas(6, 6);
    PaintSideLines(b.GetCanvas(), gfx::Rect(0, 0, 6, 6), gfx::clRed, gfx::clBlue, AllSides);
    EXPECT_EQ(Px(b, 0, 0), Rgb(gfx::clRed));
    EXPECT_EQ(Px(b, 5, 0), Rgb(gfx::clBlue)); // the right line is drawn after the top line
    EXPECT_EQ(Px(b, 0, 5), Rgb(gfx::clBlue));
    EXPECT_EQ(Px(b, 5, 5), Rgb(gfx::clBlue));
    EXPECT_EQ(Px(b, 1, 1), Rgb(Bg));
}

TEST(FrameRoutines, BevelRingsAndNone) {
    gfx::TBitmap b = Canvas(10, 10);
    EXPECT_EQ(PaintBevelRings(b.GetCanvas(), gfx::Rect(0, 0, 10, 10), gfx::clRed, gfx::clBlue, 3,
                              AllSides),
              gfx::Rect(3, 3, 7, 7));
    EXPECT_EQ(Px(b, 2, 5), Rgb(gfx::clRed));
    EXPECT_EQ(Px(b, 7, 5), Rgb(gfx::clBlue));
    EXPECT_EQ(Px(b, 3, 5), Rgb(Bg));
    EXPECT_EQ(PaintBevelRings(b.GetCanvas(), gfx::Rect(0, 0, 10, 10), gfx::clRed, gfx::clBlue, 0,
                              AllSides),
              gfx::Rect(0, 0, 10, 10));
    EXPECT_EQ(PaintStyleFrameSides(b.GetCanvas(), gfx::Rect(1, 2, 8, 9), fsNone, AllSides),
              gfx::Rect(1, 2, 8, 9));
}

TEST(FrameRoutines, GrooveCornerPixelsForPartialSides) {
    gfx::TBitmap b = Canvas(8, 8);
    // Only the top: (R-1, T) takes UL and (L, T+1) takes LR.
    const TRect r =
        PaintStyleFrameSides(b.GetCanvas(), gfx::Rect(0, 0, 8, 8), fsGroove, TSides{sdTop});
    EXPECT_EQ(r, gfx::Rect(0, 2, 8, 8));
    EXPECT_EQ(Px(b, 0, 1), Rgb(gfx::clBtnHighlight)); // (L, T+1) := LR
    EXPECT_EQ(Px(b, 3, 0), Rgb(gfx::clBtnShadow));
    EXPECT_EQ(Px(b, 3, 1), Rgb(gfx::clBtnHighlight));
    EXPECT_EQ(Px(b, 7, 0), Rgb(gfx::clBtnShadow)); // (R-1, T) := UL
}

TEST(FrameRoutines, TintedFramesDeriveFromTheFace) {
    const TColor face = RGB(200, 100, 50);
    gfx::TBitmap b = Canvas(8, 8);
    PaintTintedStyleFrameSides(b.GetCanvas(), gfx::Rect(0, 0, 8, 8), face, fsRaised, AllSides);
    EXPECT_EQ(Px(b, 0, 4), Rgb(LightenColor(face, 50)));
    EXPECT_EQ(Px(b, 7, 4), Rgb(DarkenColor(face, 100)));
    EXPECT_EQ(Px(b, 1, 4), Rgb(LightenColor(face, 100)));
    EXPECT_EQ(Px(b, 6, 4), Rgb(DarkenColor(face, 50)));
    gfx::TBitmap c = Canvas(8, 8);
    PaintTintedPushFrame(c.GetCanvas(), gfx::Rect(0, 0, 8, 8), face, true);
    EXPECT_EQ(Px(c, 0, 4), Rgb(DarkenColor(face, 100)));
    EXPECT_EQ(Px(c, 7, 4), Rgb(DarkenColor(face, 100)));
    EXPECT_EQ(Px(c, 1, 4), Rgb(DarkenColor(face, 50)));
}

TEST(FrameRoutines, DottedFrameInvertsWithoutColour) {
    gfx::TBitmap b = Canvas(6, 5);
    const TRect r = PaintDottedFrame(b.GetCanvas(), gfx::Rect(0, 0, 6, 5), gfx::clNone);
    EXPECT_EQ(r, gfx::Rect(1, 1, 5, 4));
    const uint32_t inverted = Rgb(RGB(254, 253, 252));
    for (auto [x, y] : {std::pair{0, 1}, {0, 3}, {5, 1}, {1, 0}, {3, 0}, {5, 0}, {1, 4}}) {
        EXPECT_EQ(Px(b, x, y), inverted) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{0, 0}, {0, 2}, {2, 0}, {2, 4}}) {
        EXPECT_EQ(Px(b, x, y), Rgb(Bg)) << x << "," << y;
    }
}

TEST(PanelFrames, BorderBandAndInnerFrameNest) {
    gfx::TBitmap b = Canvas(16, 16);
    TBvPanelFrameParams p;
    p.Outer = fsFlat;
    p.BorderWidth = 2;
    p.BorderColor = gfx::clRed;
    p.Inner = fsStatus;
    p.BevelWidth = 2;
    const TRect r = PaintPanelFrames(b.GetCanvas(), gfx::Rect(0, 0, 16, 16), p);
    EXPECT_EQ(r, gfx::Rect(5, 5, 11, 11));
    EXPECT_EQ(Px(b, 0, 8), Rgb(F));
    EXPECT_EQ(Px(b, 1, 8), Rgb(gfx::clRed));
    EXPECT_EQ(Px(b, 2, 8), Rgb(gfx::clRed));
    EXPECT_EQ(Px(b, 3, 8), Rgb(gfx::clBtnShadow));
    EXPECT_EQ(Px(b, 4, 8), Rgb(gfx::clBtnShadow));
    EXPECT_EQ(Px(b, 12, 8), Rgb(gfx::clBtnHighlight));
}

} // namespace

namespace {

// The bounding box of the pixels that are not bg.
gfx::TRect InkBox(gfx::TBitmap &b, TColor bg) {
    gfx::TRect box{b.GetWidth(), b.GetHeight(), -1, -1};
    for (int y = 0; y < b.GetHeight(); ++y) {
        for (int x = 0; x < b.GetWidth(); ++x) {
            if (Px(b, x, y) != Rgb(bg)) {
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                       std::max(box.Bottom, y + 1)};
            }
        }
    }
    return box;
}

} // namespace

// A caption drawn at 90 degrees runs bottom-up from its reference point: its ink lies above the
// point and to its right, as tall as the text is long and as wide as a line is high.
TEST(TextRoutines, RotatedFontDrawsACaptionBottomUp) {
    gfx::TFont font;
    font.SetName(u"Verdana");
    font.SetSize(8);
    font.SetStyle({gfx::fsBold, gfx::fsItalic});
    font.SetPitch(gfx::fpVariable);
    const gfx::TFont rotated = CreateRotatedFont(font, 90);
    const gfx::TLogFont lf = rotated.GetLogFont();
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfOrientation, 0);
    EXPECT_EQ(lf.lfWeight, gfx::FW_BOLD);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfHeight, font.GetHeight());
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfPitchAndFamily & 3, 2);
    EXPECT_EQ(lf.lfFaceName, u"Verdana");
    EXPECT_EQ(CreateRotatedFont(gfx::TFont(), 0).GetLogFont().lfWeight, gfx::FW_NORMAL);

    gfx::TBitmap b = Canvas(60, 120);
    gfx::TCanvas &c = b.GetCanvas();
    c.GetBrush().SetStyle(gfx::bsClear);
    c.SetFont(font);
    const gfx::TSize flat = c.TextExtent(u"Docked");
    c.SetFont(rotated);
    EXPECT_EQ(c.TextExtent(u"Docked"), flat) << "text measures along its run";
    c.TextOut(20, 110, u"Docked");
    const gfx::TRect ink = InkBox(b, Bg);
    EXPECT_GE(ink.Left, 20);
    EXPECT_LE(ink.Right, 20 + flat.cy + 1);
    EXPECT_LE(ink.Bottom, 111);
    EXPECT_GE(ink.Top, 110 - flat.cx - 1);
    EXPECT_GT(ink.Height(), 2 * ink.Width()) << "the caption stands upright";
    EXPECT_GE(ink.Height(), flat.cx - 4);
}
