// Tests of the colour model, the theme colour scheme and the frame routines.
#include "controls/BvCommon.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Registry.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace controls;
using gfx::RGB;

uint32_t Rgb(TColor c) {
    return gfx::ColorToRGB(c);
}

struct HslCase {
    TColor color;
    uint8_t h, s, l;
    TColor rebuilt; // the hue divides by 239 on the way back, so pure hues drift
};

class HslTable : public ::testing::TestWithParam<HslCase> {};

TEST_P(HslTable, SplitsAndRebuilds) {
    const HslCase &c = GetParam();
    const THSL hsl = SplitColorHSL(c.color);
    EXPECT_EQ(hsl.H, c.h);
    EXPECT_EQ(hsl.S, c.s);
    EXPECT_EQ(hsl.L, c.l);
    EXPECT_EQ(Rgb(ColorFromHSL(c.h, c.s, c.l)), Rgb(c.rebuilt));
}

INSTANTIATE_TEST_SUITE_P(
    Colors, HslTable,
    ::testing::Values(HslCase{RGB(128, 128, 128), 0, 0, 120, RGB(128, 128, 128)},
                      HslCase{RGB(255, 0, 0), 0, 240, 120, RGB(255, 0, 0)},
                      HslCase{RGB(0, 255, 0), 80, 240, 120, RGB(0, 255, 2)},
                      HslCase{RGB(0, 0, 255), 160, 240, 120, RGB(4, 0, 255)},
                      HslCase{RGB(200, 100, 50), 13, 144, 118, RGB(201, 99, 50)},
                      HslCase{gfx::clBlack, 0, 0, 0, gfx::clBlack},
                      HslCase{gfx::clWhite, 0, 0, 240, gfx::clWhite}));

TEST(ColorModel, LightnessShiftsAndTheirLimits) {
    for (TColor c : {RGB(200, 100, 50), RGB(0, 0, 255), gfx::clBtnFace, gfx::clBlack}) {
        EXPECT_EQ(Rgb(LightenColor(c, 255)), 0xFFFFFFu) << c;
        EXPECT_EQ(Rgb(DarkenColor(gfx::clBlack, uint8_t(c & 0xFF))), 0u);
    }
    EXPECT_EQ(ShiftColorLightness(gfx::clBtnShadow, 0), gfx::clBtnShadow);
    EXPECT_EQ(ShiftColorLightness(RGB(200, 100, 50), 30), LightenColor(RGB(200, 100, 50), 30));
    EXPECT_EQ(ShiftColorLightness(RGB(200, 100, 50), -30), DarkenColor(RGB(200, 100, 50), 30));
    // Amounts are bytes: 286 wraps to 30.
    EXPECT_EQ(ShiftColorLightness(RGB(200, 100, 50), 286), LightenColor(RGB(200, 100, 50), 30));
    // Grey 128 (L 120) darkened by 20: L 100 -> 106.
    EXPECT_EQ(Rgb(DarkenColor(RGB(128, 128, 128), 20)), Rgb(RGB(106, 106, 106)));
}

TEST(ColorModel, MixLikenessAndOppositeHue) {
    const TColor c = RGB(12, 34, 56);
    EXPECT_EQ(Rgb(MixColors(gfx::clWhite, c, 0)), Rgb(c));
    EXPECT_EQ(Rgb(MixColors(gfx::clWhite, c, 255)), 0xFFFFFFu);
    EXPECT_EQ(Rgb(MixColors(RGB(255, 0, 0), RGB(0, 0, 255), 128)), Rgb(RGB(128, 0, 127)));
    EXPECT_TRUE(ColorsAlike(RGB(200, 100, 50), RGB(210, 110, 60)));
    EXPECT_FALSE(ColorsAlike(RGB(200, 100, 50), RGB(0, 0, 255)));
    // Saturation is not compared.
    EXPECT_TRUE(ColorsAlike(RGB(128, 128, 128), RGB(140, 116, 116)));
    EXPECT_EQ(Rgb(OppositeHueColor(RGB(255, 0, 0), 120)), Rgb(RGB(0, 252, 255)));
}

class ThemeSchemeTest : public ::testing::Test {
protected:
    void SetName(const rtl::UnicodeString &name) {
        rtl::TRegistry reg;
        ASSERT_TRUE(
            reg.OpenKey(u"\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", true));
        reg.WriteString(u"ColorName", name);
    }
    wbtest::TRegistryStoreScope Store;
};

// Mended: reading the scheme through the registry-as-INI wrapper created the key it read.
TEST_F(ThemeSchemeTest, ReadingTheSchemeCreatesNoKey) {
    EXPECT_EQ(ReadThemeColorScheme(), 0); // missing value
    EXPECT_FALSE(std::filesystem::exists(Store.Folder() / "registry.ini"));
}

TEST_F(ThemeSchemeTest, SchemeNumberFromTheColorName) {
    SetName(u"homestead");
    EXPECT_EQ(ReadThemeColorScheme(), 1);
    SetName(u"Metallic");
    EXPECT_EQ(ReadThemeColorScheme(), 2);
    SetName(u"NormalColor");
    EXPECT_EQ(ReadThemeColorScheme(), 0);
}

TEST(ThemeScheme, WithoutStylesTheSchemeColorsAreTheSystemOnes) {
    TColor start = 0, stop = 0;
    SchemeGradientColors(gcsMSOffice, start, stop);
    EXPECT_EQ(start, gfx::clWindow);
    EXPECT_EQ(stop, DarkenColor(gfx::clBtnFace, 10));
    EXPECT_EQ(SchemeFrameColor(gcsMSOffice), LightenColor(gfx::clBtnShadow, 30));
}

TEST(TextRoutines, StripAccelerators) {
    EXPECT_EQ(StripAccelerators(u"a&&b"), u"a&b");
    EXPECT_EQ(StripAccelerators(u"&Yes"), u"Yes");
    EXPECT_EQ(StripAccelerators(u"Save &"), u"Save &");
    EXPECT_EQ(StripAccelerators(u"&&"), u"&&");
    EXPECT_EQ(StripAccelerators(u""), u"");
}

} // namespace
