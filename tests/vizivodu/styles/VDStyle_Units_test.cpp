// Units of measure: style lengths in pixels, twips, device pixels, points and EMU, the never-zero
// rule, ties decided half to even, and the conversion of a whole sheet.
#include "vizivodu/styles/VDStyle.h"

#include "tests/vizivodu/StyleTestSupport.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

class VDStyleUnits : public ::testing::Test {
protected:
    test::TPixelsPerInchOverride FPpi{96};
    TVDStyle FSheet{nullptr};
};

} // namespace

TEST_F(VDStyleUnits, TwipsToScreenPixels) {
    FSheet.SetUnits(vdstuTwips);
    struct TCase {
        TVDStyleLength Twips;
        int32_t Pixels;
    };
    // 1 twip is 0.0667 px: rounded to 0, lifted to 1 (never zero); 22 twips are 1.4667 px.
    const TCase cases[] = {{1, 1}, {-1, -1}, {0, 0}, {1440, 96}, {22, 1}, {7, 1}, {-22, -1}};
    for (const TCase &c : cases) {
        EXPECT_EQ(FSheet.GetAsPixels(c.Twips), c.Pixels) << c.Twips;
        EXPECT_EQ(FSheet.TwipsToUnits(c.Twips), c.Twips);
        EXPECT_EQ(TVDStyle::TwipsToPixels(c.Twips), c.Pixels) << c.Twips;
    }
}

TEST_F(VDStyleUnits, TiesGoToTheEvenNeighbour) {
    test::TPixelsPerInchOverride ppi(120);
    FSheet.SetUnits(vdstuTwips);
    EXPECT_EQ(FSheet.GetAsPixels(30), 2); // 2.5
    EXPECT_EQ(FSheet.GetAsPixels(90), 8); // 7.5
    EXPECT_EQ(FSheet.GetAsPixels(-30), -2);
    FSheet.SetUnits(vdstuPixels);
    // A 2-pixel indent at 96 pixels per inch on a 600 pixels per inch printer: 12.5.
    const TVDScreenAndDevice sad{96, 96, 600, 600, 0, 0};
    EXPECT_EQ(FSheet.GetAsDevicePixelsX(2, &sad), 12);
    EXPECT_EQ(FSheet.GetAsDevicePixelsX(6, &sad), 38); // 37.5
}

TEST_F(VDStyleUnits, PixelsToTwipsPointsAndEMU) {
    EXPECT_EQ(FSheet.GetAsTwips(1), 15);
    EXPECT_EQ(FSheet.GetAsEMU(1), 9525);
    EXPECT_DOUBLE_EQ(double(FSheet.GetAsPoints(96)), 72.0);
    EXPECT_EQ(FSheet.PixelsToUnits(7), 7);
    EXPECT_EQ(TVDStyle::PixelsToTwips(1), 15);
    FSheet.SetUnits(vdstuTwips);
    EXPECT_DOUBLE_EQ(double(FSheet.GetAsPoints(30)), 1.5);
    EXPECT_EQ(FSheet.PixelsToUnits(3), 45);
    EXPECT_EQ(FSheet.GetAsTwips(77), 77);
}

TEST_F(VDStyleUnits, GetAsEMUKeepsNegativeLengthsNegative) {
    EXPECT_EQ(FSheet.GetAsEMU(-10), -95250);
    FSheet.SetUnits(vdstuTwips);
    EXPECT_EQ(FSheet.GetAsEMU(-1), -635);
    // Beyond 32 bits.
    EXPECT_EQ(FSheet.GetAsEMU(7000000), int64_t(4445000000));
}

TEST_F(VDStyleUnits, DevicePixels) {
    const TVDScreenAndDevice sad{96, 96, 600, 300, 0, 0};
    EXPECT_EQ(FSheet.GetAsDevicePixelsX(1, &sad), 6); // 6.25
    EXPECT_EQ(FSheet.GetAsDevicePixelsY(1, &sad), 3); // 3.125
    EXPECT_EQ(FSheet.GetAsDevicePixelsX(0, &sad), 0);
    EXPECT_EQ(FSheet.GetAsDevicePixelsX(5, nullptr), 5);
    const TVDScreenAndDevice coarse{96, 96, 10, 10, 0, 0};
    EXPECT_EQ(FSheet.GetAsDevicePixelsX(1, &coarse), 0); // pixels may become 0
    FSheet.SetUnits(vdstuTwips);
    EXPECT_EQ(FSheet.GetAsDevicePixelsX(1, &sad), 1); // 0.42, never zero
    EXPECT_EQ(FSheet.GetAsDevicePixelsY(-1, &sad), -1);
    EXPECT_EQ(FSheet.GetAsDevicePixelsX(1440, &sad), 600);
    EXPECT_EQ(FSheet.GetAsDevicePixelsX(1440, nullptr), 96);
}

TEST_F(VDStyleUnits, OverrideReplacesTheScreenResolution) {
    test::TPixelsPerInchOverride ppi(120);
    FSheet.SetUnits(vdstuTwips);
    EXPECT_EQ(FSheet.GetAsPixels(1440), 120);
    EXPECT_EQ(GetScreenPixelsPerInchY(), 120);
}

TEST_F(VDStyleUnits, PageUnitsAndTheClasslessForms) {
    EXPECT_EQ(FSheet.VDUnitsToUnits(2.5L, vduPixels), 2);
    EXPECT_EQ(FSheet.VDUnitsToUnits(1, vduInches), 96);
    EXPECT_DOUBLE_EQ(double(FSheet.GetAsVDUnits(48, vduPixels)), 48.0);
    EXPECT_DOUBLE_EQ(double(FSheet.GetAsVDUnits(96, vduInches)), 1.0);
    EXPECT_EQ(TVDStyle::VDUnitsToUnitsEx(1, vduInches, vdstuTwips), 1440);
    EXPECT_EQ(TVDStyle::VDUnitsToPixels(10, vduMillimeters), 38); // 567 twips -> 37.8
    EXPECT_DOUBLE_EQ(double(TVDStyle::PixelsToVDUnits(96, vduPoints)), 72.0);
    EXPECT_EQ(TVDStyle::GetAsDifferentUnits(nullptr, 15, vdstuPixels), 1);
    EXPECT_EQ(TVDStyle::GetAsDifferentUnits(nullptr, 1, vdstuTwips), 15);
    EXPECT_EQ(FSheet.DifferentUnitsToUnits(30, vdstuTwips), 2);
    EXPECT_EQ(ScaleToFormatCanvas(3, true), 300);
    EXPECT_EQ(ScaleToFormatCanvas(3, false), 3);
    EXPECT_EQ(ScaleFromFormatCanvas(250, true), 2);
    EXPECT_EQ(ScaleFromFormatCanvas(350, true), 4);

    TVDUnitsRect margins;
    margins.SetAll(25.4L);
    margins.ConvertToUnits(vduMillimeters, vduInches);
    EXPECT_DOUBLE_EQ(double(margins.Left), 1.0);
    EXPECT_DOUBLE_EQ(double(margins.Bottom), 1.0);
}

TEST_F(VDStyleUnits, SheetConvertsToTwipsAndBack) {
    TParaInfo &para = FSheet.GetParaStyles().GetItem(0);
    para.SetLeftIndent(10);
    para.GetTabs().Add().SetPosition(48);
    para.GetBorder().GetBorderOffsets().SetAll(2);
    TParaInfo &spaced = FSheet.GetParaStyles().GetItem(1);
    spaced.SetLineSpacingType(vdlsSpaceBetween);
    spaced.SetLineSpacing(2);
    FSheet.GetParaStyles().GetInvalidItem(); // made, so it converts too

    FSheet.ConvertToTwips();
    EXPECT_EQ(FSheet.GetUnits(), vdstuTwips);
    EXPECT_EQ(FSheet.GetDefTabWidth(), 720);
    EXPECT_EQ(para.GetLeftIndent(), 150);
    EXPECT_EQ(para.GetTabs().GetItem(0).GetPosition(), 720);
    EXPECT_EQ(para.GetBorder().GetBorderOffsets().Left, 30);
    EXPECT_EQ(para.GetLineSpacing(), 100); // a percentage stays
    EXPECT_EQ(spaced.GetLineSpacing(), 30);
    EXPECT_EQ(FSheet.GetParaStyles().GetInvalidItem().GetSpaceBefore(), 45);

    FSheet.ConvertToPixels();
    EXPECT_EQ(FSheet.GetDefTabWidth(), 48);
    EXPECT_EQ(para.GetLeftIndent(), 10);
    EXPECT_EQ(para.GetTabs().GetItem(0).GetPosition(), 48);
    EXPECT_EQ(spaced.GetLineSpacing(), 2);
}

TEST_F(VDStyleUnits, CharacterSpacingKeepsItsSignWhenItShrinksToPixels) {
    FSheet.SetUnits(vdstuTwips);
    FSheet.GetTextStyles().GetItem(0).SetCharSpacing(5);
    FSheet.GetTextStyles().GetItem(1).SetCharSpacing(-5);
    FSheet.ConvertToDifferentUnits(vdstuPixels);
    EXPECT_EQ(FSheet.GetTextStyles().GetItem(0).GetCharSpacing(), 1);
    EXPECT_EQ(FSheet.GetTextStyles().GetItem(1).GetCharSpacing(), -1);
}

TEST_F(VDStyleUnits, ConvertingToTheCurrentUnitsChangesNothing) {
    FSheet.SetDefTabWidth(50);
    FSheet.GetTextStyles().GetItem(0).SetCharSpacing(3);
    FSheet.ConvertToDifferentUnits(vdstuPixels);
    EXPECT_EQ(FSheet.GetDefTabWidth(), 50);
    EXPECT_EQ(FSheet.GetTextStyles().GetItem(0).GetCharSpacing(), 3);
    EXPECT_EQ(FSheet.GetUnits(), vdstuPixels);
}
