// Shared routines: numbering, colours under the colour modes, luminance, units, screen and
// device conversions, tab expansion and the rotation transform.
#include "vizivodu/styles/VDFuncs.h"

#include "platform/gfx/Clipbrd.h"
#include "platform/rtl/Exceptions.h"

#include "tests/vizivodu/StyleTestSupport.h"

#include <gtest/gtest.h>

using namespace vizivodu;

TEST(VDFuncs, RoundQuotientTiesGoToEven) {
    struct TCase {
        int64_t Numerator, Denominator, Expected;
    };
    const TCase cases[] = {{5, 2, 2}, {7, 2, 4},   {-5, 2, -2}, {-7, 2, -4}, {1, 3, 0},
                           {2, 3, 1}, {-2, 3, -1}, {6, -4, -2}, {0, 5, 0},   {15, 10, 2}};
    for (const TCase &c : cases) {
        EXPECT_EQ(RoundQuotient(c.Numerator, c.Denominator), c.Expected)
            << c.Numerator << " / " << c.Denominator;
    }
}

TEST(VDFuncs, RomanNumeralsAndLetters) {
    struct TCase {
        int32_t N;
        const char16_t *Roman;
        const char16_t *Letters;
    };
    const TCase cases[] = {
        {0, u"?", u"?"},         {-3, u"?", u"?"},         {1, u"I", u"A"},
        {4, u"IV", u"D"},        {26, u"XXVI", u"Z"},      {27, u"XXVII", u"AA"},
        {28, u"XXVIII", u"AB"},  {52, u"LII", u"AZ"},      {53, u"LIII", u"BA"},
        {702, u"DCCII", u"ZZ"},  {703, u"DCCIII", u"AAA"}, {1994, u"MCMXCIV", u"BXR"},
        {4000, u"MMMM", u"EWV"},
    };
    for (const TCase &c : cases) {
        EXPECT_EQ(IntToRoman(c.N), c.Roman) << c.N;
        EXPECT_EQ(IntToLetters(c.N), c.Letters) << c.N;
    }
}

TEST(VDFuncs, LuminanceGreyAndScaledLuminance) {
    EXPECT_EQ(GetColorLuminance(gfx::clWhite), 255);
    EXPECT_EQ(GetColorLuminance(gfx::clRed), 76);   // 76.5 to even
    EXPECT_EQ(GetColorLuminance(gfx::clLime), 150); // 150.45
    EXPECT_EQ(GetColorLuminance(gfx::clBlue), 28);  // 28.05
    EXPECT_EQ(GetColorLuminance(gfx::clWindowText), 0);
    EXPECT_EQ(ColorToGray(gfx::clRed), gfx::RGB(76, 76, 76));
    EXPECT_EQ(ColorToGray(gfx::clNone), gfx::clNone);
    EXPECT_EQ(ScaleColorLuminance(gfx::clRed, 1.0f), gfx::clRed);
    EXPECT_EQ(ScaleColorLuminance(gfx::clRed, 0.5f), gfx::clMaroon);
    EXPECT_EQ(ScaleColorLuminance(gfx::clWhite, 0.5f), gfx::RGB(127, 127, 127));
    EXPECT_EQ(ScaleColorLuminance(gfx::clWhite, 3.0f), gfx::clWhite);
}

TEST(VDFuncs, ColoursUnderTheColourModes) {
    const TColor lightGrey = gfx::RGB(200, 200, 200);
    struct TCase {
        TColor Color;
        TVDColorMode Mode;
        TColor Text, Back;
    };
    const TCase cases[] = {
        {gfx::clBtnFace, vdcmColor, gfx::clBtnFace, gfx::clBtnFace},
        {gfx::clBtnFace, vdcmPrinterColor, gfx::clSilver, gfx::clSilver},
        {gfx::clScrollBar, vdcmPrinterColor, gfx::clSilver, gfx::clSilver},
        {gfx::clWindow, vdcmPrinterColor, gfx::clWhite, gfx::clWhite},
        {gfx::clBtnHighlight, vdcmPrinterColor, gfx::clWhite, gfx::clWhite},
        {gfx::clWindowText, vdcmPrinterColor, gfx::clBlack, gfx::clBlack},
        {gfx::clBtnShadow, vdcmPrinterColor, gfx::clGray, gfx::clGray},
        {gfx::clHighlight, vdcmPrinterColor, gfx::clHighlight, gfx::clHighlight},
        {gfx::clRed, vdcmGrayScale, gfx::RGB(76, 76, 76), gfx::RGB(76, 76, 76)},
        {gfx::clBtnFace, vdcmGrayScale, gfx::clSilver, gfx::clSilver},
        {lightGrey, vdcmBlackAndWhite, gfx::clBlack, gfx::clWhite},
        {gfx::clWhite, vdcmBlackAndWhite, gfx::clWhite, gfx::clWhite},
        {gfx::clWindow, vdcmBlackOnWhite, gfx::clWhite, gfx::clWhite},
        {gfx::clNavy, vdcmBlackOnWhite, gfx::clBlack, gfx::clWhite},
        {gfx::clNone, vdcmBlackAndWhite, gfx::clNone, gfx::clNone},
        {gfx::clNone, vdcmGrayScale, gfx::clNone, gfx::clNone},
    };
    for (const TCase &c : cases) {
        EXPECT_EQ(GetTextColorForMode(c.Color, c.Mode), c.Text)
            << std::hex << c.Color << " " << int(c.Mode);
        EXPECT_EQ(GetBackColorForMode(c.Color, c.Mode), c.Back)
            << std::hex << c.Color << " " << int(c.Mode);
    }
}

TEST(VDFuncs, OpacitySizesAndThickness) {
    EXPECT_EQ(OpacityToAlpha(-1), 0);
    EXPECT_EQ(OpacityToAlpha(0), 0);
    EXPECT_EQ(OpacityToAlpha(50000), 128);
    EXPECT_EQ(OpacityToAlpha(99999), 255);
    EXPECT_EQ(OpacityToAlpha(200000), 255);
    EXPECT_EQ(OpacityToAlpha(1000), 3); // 2.55

    EXPECT_EQ(GetSubSuperScriptSize(12), 8);
    EXPECT_EQ(GetSubSuperScriptSize(10), 7);
    EXPECT_EQ(GetSubSuperScriptSize(4), 3);
    EXPECT_EQ(GetSubSuperScriptSize(3), 2);

    struct TCase {
        int32_t Size, Thickness;
    };
    const TCase cases[] = {{0, 1}, {22, 1}, {-22, 1}, {23, 2}, {37, 2}, {38, 3}, {-38, 3}, {53, 4}};
    for (const TCase &c : cases) {
        EXPECT_EQ(GetUnderlineThickness(c.Size), c.Thickness) << c.Size;
    }
}

TEST(VDFuncs, StringsAndIntegers) {
    EXPECT_EQ(ExpandTabsAnsi("a\tb\t", 2), "a  b  ");
    EXPECT_EQ(ExpandTabsAnsi("a\tb", 0), "ab");
    const TVDRawByteString raw("a\0\t\0\t\x01", 6);
    EXPECT_EQ(ExpandTabsRawUnicode(raw, 2), TVDRawByteString("a\0 \0 \0\t\x01", 8));
    EXPECT_TRUE(AreTagsEqual(CopyItemTag(u"tag"), u"tag"));
    AnsiString a = "x", b = "y";
    SwapAnsiStrings(a, b);
    EXPECT_EQ(a + b, "yx");
    EXPECT_TRUE(IsHorizontalFontName(u"Arial"));
    EXPECT_FALSE(IsHorizontalFontName(u"@Arial"));
    EXPECT_FALSE(IsHorizontalFontName(u""));
    EXPECT_EQ(ClampToNonNegative(-4), 0);
    EXPECT_EQ(ClampToNonNegative(4), 4);
    EXPECT_EQ(SignOf(-9), -1);
    EXPECT_EQ(SignOf(0), 0);
    EXPECT_EQ(SignOf(3), 1);
    EXPECT_TRUE(PointInBounds(10, 20, 10, 20, 5, 5));
    EXPECT_FALSE(PointInBounds(15, 20, 10, 20, 5, 5));
    EXPECT_FALSE(PointInBounds(10, 25, 10, 20, 5, 5));
}

TEST(VDFuncs, UnitsOfThePage) {
    test::TPixelsPerInchOverride ppi(96);
    EXPECT_EQ(VDUnitsToTwips(vduInches, 1), 1440);
    EXPECT_EQ(VDUnitsToTwips(vduCentimeters, 1), 567);
    EXPECT_EQ(VDUnitsToTwips(vduPoints, 1), 20);
    EXPECT_EQ(VDUnitsToTwips(vduPixels, 1), 15);
    EXPECT_EQ(VDUnitsToTwips(vduPicas, 1), 240);
    EXPECT_DOUBLE_EQ(double(TwipsToVDUnits(720, vduMillimeters)), 12.7);
    EXPECT_DOUBLE_EQ(double(ConvertVDUnits(vduMillimeters, vduInches, 25.4L)), 1.0);
    EXPECT_EQ(VDUnitsToPixelsAtPPI(vduMillimeters, 600, 10), 236);
    EXPECT_EQ(VDUnitsToPixelsAtPPI(vduPoints, 96, 6), 8);
    test::TPixelsPerInchOverride wide(120);
    EXPECT_DOUBLE_EQ(double(GetUnitsPerInch(vduPixels)), 120.0);
}

TEST(VDFuncs, ScreenAndDevice) {
    const TVDScreenAndDevice sad{96, 96, 600, 300, 0, 0};
    EXPECT_EQ(ScreenToDeviceX(96, sad), 600);
    EXPECT_EQ(ScreenToDeviceY(96, sad), 300);
    EXPECT_EQ(DeviceToScreenX(601, sad), 96);
    EXPECT_EQ(DeviceToScreenY(5, sad), 2); // 1.6
    // MulDiv rounds a tie away from zero.
    const TVDScreenAndDevice twice{96, 96, 192, 192, 0, 0};
    EXPECT_EQ(DeviceToScreenX(5, twice), 3);
    EXPECT_EQ(DeviceToScreenX(-5, twice), -3);
    rtl::TRect r = rtl::Rect(600, 300, 1200, 600);
    DeviceRectToScreen(r, sad);
    EXPECT_EQ(r, rtl::Rect(96, 96, 192, 192));
}

TEST(VDFuncs, RotationTransforms) {
    struct TCase {
        TVDDocRotation Rotation;
        TVDVerticalAlign Align;
        TXForm Expected;
    };
    // Content 20 high in an area of 100 x 50 at (2, 3).
    const TCase cases[] = {
        {vdrotNone, vdveraTop, {1, 0, 0, 1, 0, 0}},
        {vdrotNone, vdveraMiddle, {1, 0, 0, 1, 0, 15}},
        {vdrotNone, vdveraBottom, {1, 0, 0, 1, 0, 30}},
        {vdrot90, vdveraTop, {0, 1, -1, 0, 95, -1}},
        {vdrot90, vdveraMiddle, {0, 1, -1, 0, 55, -1}},
        {vdrot90, vdveraBottom, {0, 1, -1, 0, 15, -1}},
        {vdrot180, vdveraTop, {-1, 0, 0, -1, 96, 44}},
        {vdrot180, vdveraMiddle, {-1, 0, 0, -1, 96, 29}},
        {vdrot180, vdveraBottom, {-1, 0, 0, -1, 96, 14}},
        {vdrot270, vdveraTop, {0, -1, 1, 0, 1, 45}},
        {vdrot270, vdveraMiddle, {0, -1, 1, 0, 41, 45}},
        {vdrot270, vdveraBottom, {0, -1, 1, 0, 81, 45}},
    };
    for (const TCase &c : cases) {
        const TXForm xf = GetRotationXForm(c.Rotation, 2, 3, 100, 50, 20, c.Align);
        EXPECT_EQ(xf, c.Expected) << int(c.Rotation) << " " << int(c.Align) << ": " << xf.eM11
                                  << " " << xf.eM12 << " " << xf.eM21 << " " << xf.eM22 << " "
                                  << xf.eDx << " " << xf.eDy;
    }
    EXPECT_FLOAT_EQ(GetRotationXForm(vdrotNone, 0, 0, 10, 21, 10, vdveraMiddle).eDy, 5.5f);
}

TEST(VDFuncs, RandomIdentifiersFollowTheSeed) {
    SetRandomSeedForTesting(7);
    const int32_t first = VDRandom(2147483647);
    SetRandomSeedForTesting(7);
    EXPECT_EQ(VDRandom(2147483647), first);
    for (int i = 0; i < 100; ++i) {
        const int32_t v = VDRandom(10);
        EXPECT_GE(v, 0);
        EXPECT_LT(v, 10);
    }
}

// A clipboard that stays locked: five attempts with 250, 500, 750 and 1000 ms between them
// (2.5 seconds), then the error; one that opens at the third attempt waits 750 ms.
TEST(VDFuncs, OpeningALockedClipboardRetriesThenRaises) {
    struct TCase {
        int FailuresBeforeOpen;
        std::vector<int32_t> Waits;
        bool Raises;
    };
    for (const TCase &c : {TCase{0, {}, false}, TCase{2, {250, 500}, false},
                           TCase{99, {250, 500, 750, 1000}, true}}) {
        int attempts = 0;
        std::vector<int32_t> waits;
        auto open = [&] {
            if (attempts++ < c.FailuresBeforeOpen) {
                throw rtl::EOSError(u"Cannot open clipboard");
            }
        };
        auto wait = [&](int32_t ms) { waits.push_back(ms); };
        if (c.Raises) {
            EXPECT_THROW(OpenClipboardWithRetry(open, wait), rtl::EOSError);
            EXPECT_EQ(attempts, 5);
        } else {
            EXPECT_TRUE(OpenClipboardWithRetry(open, wait));
        }
        EXPECT_EQ(waits, c.Waits) << c.FailuresBeforeOpen;
    }
    // A failure that is no error object is not retried.
    int attempts = 0;
    EXPECT_THROW(OpenClipboardWithRetry([&] { ++attempts, throw 1; }, [](int32_t) {}), int);
    EXPECT_EQ(attempts, 1);
    EXPECT_TRUE(OpenClipboardWithRetry());
    gfx::Clipboard().Close();
}
