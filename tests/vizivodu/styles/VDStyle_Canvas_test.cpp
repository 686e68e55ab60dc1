// A text style on a canvas: font heights for each resolution, vertical faces, reading order
// and character spacing, the colour decision table, and the sheet's entry points and events.
#include "vizivodu/styles/VDStyle.h"

#include "tests/vizivodu/StyleTestSupport.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

class VDStyleCanvas : public ::testing::Test {
protected:
    VDStyleCanvas() {
        auto gi = std::make_unique<test::TRecordingGraphicInterface>();
        FGI = gi.get();
        FSheet.SetGraphicInterfaceForTesting(std::move(gi));
    }
    gfx::TCanvas &Canvas() { return FBitmap.GetCanvas(); }
    TFontInfo &Style(int32_t i) { return FSheet.GetTextStyles().GetItem(i); }

    test::TPixelsPerInchOverride FPpi{96};
    TVDStyle FSheet{nullptr};
    test::TRecordingGraphicInterface *FGI = nullptr;
    gfx::TBitmap FBitmap{32, 32};
};

} // namespace

TEST_F(VDStyleCanvas, FontHeightForEachResolution) {
    struct TCase {
        int32_t SizeDouble;
        TVDApplyOptions Options;
        int32_t CustomPPI;
        int32_t Height;
    };
    const TCase cases[] = {
        {20, {vdaoToFormatCanvas}, 0, -1333}, // 20 x 9600 / 144 = 1333.3
        {21, {}, 0, -14},                     // 21 x 96 / 144
        {20, {}, 0, -13},                     // by size: 10 points at 96
        {20, {vdaoCanUseCustomPPI}, 120, -17},
        {20, {}, 120, -13},                  // the custom resolution only when allowed
        {3, {}, 0, -2},                      // 2.0
        {3, {vdaoCanUseCustomPPI}, 120, -3}, // 2.5: MulDiv rounds away from zero
    };
    for (const TCase &c : cases) {
        FSheet.GetTextStyles().PixelsPerInch = c.CustomPPI;
        Style(0).SetSizeDouble(c.SizeDouble);
        FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, c.Options, nullptr);
        EXPECT_EQ(Canvas().GetFont().GetHeight(), c.Height) << c.SizeDouble << " " << c.CustomPPI;
    }
}

TEST_F(VDStyleCanvas, FaceStyleAndCharset) {
    Style(1).SetCharset(gfx::RUSSIAN_CHARSET);
    FSheet.ApplyStyle(Canvas(), 1, vdbdUnspecified, {}, nullptr);
    EXPECT_EQ(Canvas().GetFont().GetName(), u"Arial");
    EXPECT_EQ(Canvas().GetFont().GetStyle(), gfx::TFontStyles{gfx::fsBold});
    EXPECT_EQ(Canvas().GetFont().GetCharset(), gfx::RUSSIAN_CHARSET);
    FSheet.ApplyStyle(Canvas(), 1, vdbdUnspecified, {vdaoUseVerticalFont}, nullptr);
    EXPECT_EQ(Canvas().GetFont().GetName(), u"@Arial");
    Style(1).SetFontName(u"@Tahoma");
    FSheet.ApplyStyle(Canvas(), 1, vdbdUnspecified, {vdaoUseVerticalFont}, nullptr);
    EXPECT_EQ(Canvas().GetFont().GetName(), u"@Tahoma");
    // An invalid number selects the invalid-index style.
    FSheet.ApplyStyle(Canvas(), 99, vdbdUnspecified, {}, nullptr);
    EXPECT_EQ(Canvas().GetFont().GetName(), u"Arial");
    EXPECT_TRUE(Canvas().GetFont().GetStyle().Empty());
}

TEST_F(VDStyleCanvas, ScriptHeight) {
    Style(0).SetSubSuperScriptType(vdsssSuperScript);
    const TVDExtraFontInfo extra{9};
    FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {}, &extra);
    EXPECT_EQ(Canvas().GetFont().GetHeight(), -9);
    FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {vdaoIgnoreSubSuperScript}, &extra);
    EXPECT_EQ(Canvas().GetFont().GetHeight(), -13);
    // From the outline metrics: the superscript size, at least a third of the height.
    gfx::TOutlineTextMetric otm;
    ASSERT_TRUE(Canvas().GetOutlineTextMetrics(otm));
    const int32_t expected = std::max(otm.otmptSuperscriptSize.Y, 13 / 3);
    FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {}, nullptr);
    EXPECT_EQ(Canvas().GetFont().GetHeight(), -expected);
    Style(0).SetSubSuperScriptType(vdsssSubscript);
    FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {vdaoIgnoreSubSuperScript}, nullptr);
    EXPECT_EQ(Style(0).GetScriptHeight(Canvas(), *FGI), std::max(otm.otmptSubscriptSize.Y, 13 / 3));
    // Without outline metrics: two thirds of the height.
    FGI->NoOutlineMetrics = true;
    FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {}, nullptr);
    EXPECT_EQ(Canvas().GetFont().GetHeight(), -9); // 8.67
    Style(0).SetSubSuperScriptType(vdsssNormal);
    EXPECT_EQ(Style(0).GetScriptHeight(Canvas(), *FGI), 0);
}

TEST_F(VDStyleCanvas, ScaledStylesSelectALogicalFontOfTheirWidth) {
    TFontInfo &s = Style(0);
    s.SetStyle({gfx::fsBold, gfx::fsUnderline, gfx::fsItalic});
    s.SetCharset(gfx::RUSSIAN_CHARSET);
    FSheet.SetFontQuality(fqNonAntialiased);
    gfx::TLogFont lf;
    s.AssignToLogFont(lf, Canvas(), {vdaoCanUseFontQuality}, vdlfWithUnderline, FSheet);
    EXPECT_EQ(lf.lfHeight, -13); // 20 x 96 / 144 = 13.3
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfCharSet, gfx::RUSSIAN_CHARSET);
    EXPECT_EQ(lf.lfQuality, fqNonAntialiased);
    EXPECT_EQ(lf.lfFaceName, u"Arial");
    s.SetFontName(std::u16string(40, u'a'));
    s.AssignToLogFont(lf, Canvas(), {vdaoToFormatCanvas}, vdlfWithoutUnderline, FSheet);
    EXPECT_EQ(lf.lfHeight, -1333);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfQuality, 0);
    EXPECT_EQ(lf.lfFaceName.size(), 31u);
    // CharScale 50: half the average character width, no underline in the font.
    s.SetFontName(u"Arial");
    FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {}, nullptr);
    const int32_t average = Canvas().GetTextMetrics().tmAveCharWidth;
    const int32_t plain = Canvas().TextWidth(u"Scaled text");
    s.SetCharScale(50);
    FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {}, nullptr);
    EXPECT_EQ(Canvas().GetLogFont().lfWidth, average * 50 / 100);
    EXPECT_EQ(Canvas().GetLogFont().lfUnderline, 0);
    EXPECT_EQ(Canvas().GetLogFont().lfHeight, -13);
    EXPECT_NEAR(Canvas().TextWidth(u"Scaled text"), plain / 2, 2);
}

TEST_F(VDStyleCanvas, ReadingOrderAndCharacterSpacing) {
    Style(0).SetCharSpacing(2);
    FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {}, nullptr);
    EXPECT_EQ(FGI->CharExtra, 2);
    EXPECT_EQ(FGI->TextAlign, 0xFFFFu); // left alone
    FSheet.ApplyStyle(Canvas(), 0, vdbdRightToLeft, {vdaoToFormatCanvas}, nullptr);
    EXPECT_EQ(FGI->CharExtra, 200);
    EXPECT_EQ(FGI->TextAlign, TA_RTLREADING);
    Style(0).SetBiDiMode(vdbdLeftToRight);
    FSheet.ApplyStyle(Canvas(), 0, vdbdRightToLeft, {}, nullptr);
    EXPECT_EQ(FGI->TextAlign, 0u);
    FSheet.SetUnits(vdstuTwips);
    Style(0).SetCharSpacing(5);
    FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {}, nullptr);
    EXPECT_EQ(FGI->CharExtra, 1);
}

TEST_F(VDStyleCanvas, HandlersMayApplyTheStyleThemselves) {
    int after = 0;
    FSheet.OnAfterApplyStyle = [&](TVDStyle &, gfx::TCanvas &, int32_t) { ++after; };
    FSheet.OnApplyStyle = [](TVDStyle &, gfx::TCanvas &canvas, int32_t, bool &doDefault) {
        canvas.GetFont().SetHeight(-12);
        doDefault = false;
    };
    FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {vdaoToFormatCanvas}, nullptr);
    EXPECT_EQ(Canvas().GetFont().GetHeight(), -1200);
    FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {}, nullptr);
    EXPECT_EQ(Canvas().GetFont().GetHeight(), -12);
    EXPECT_EQ(after, 0);
    FSheet.OnApplyStyle = nullptr;
    FSheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {}, nullptr);
    EXPECT_EQ(after, 1);
}

TEST_F(VDStyleCanvas, TextColourDecisionTable) {
    TFontInfo &s = Style(0);
    s.SetColor(gfx::clNavy);
    FSheet.SetSelTextColor(gfx::clYellow);
    FSheet.SetInactiveSelTextColor(gfx::clNone);
    FSheet.SetDisabledFontColor(gfx::clGray);
    const TVDTextDrawStates selectedFocused{vdtsSelected, vdtsControlFocused};
    EXPECT_EQ(s.GetTextColorFor(FSheet, selectedFocused, false, vdcmColor), gfx::clYellow);
    EXPECT_EQ(s.GetTextColorFor(FSheet, {vdtsSelected}, false, vdcmColor), gfx::clNavy);
    EXPECT_EQ(s.GetTextColorFor(FSheet, {vdtsHover}, false, vdcmColor), gfx::clNavy);
    FSheet.SetHoverColor(gfx::clRed);
    EXPECT_EQ(s.GetTextColorFor(FSheet, {vdtsHover}, false, vdcmColor), gfx::clRed);
    s.SetHoverColor(gfx::clLime);
    EXPECT_EQ(s.GetTextColorFor(FSheet, {vdtsHover}, false, vdcmColor), gfx::clLime);
    EXPECT_EQ(s.GetTextColorFor(FSheet, {vdtsHover, vdtstControlDisabled}, false, vdcmColor),
              gfx::clGray);
    EXPECT_EQ(s.GetTextColorFor(FSheet, {vdtstControlDisabled}, false, vdcmColor), gfx::clGray);
    EXPECT_EQ(s.GetTextColorFor(FSheet, {vdtstControlDisabled}, true, vdcmColor), gfx::clNavy);
    EXPECT_EQ(s.GetTextColorFor(FSheet, {}, true, vdcmBlackOnWhite), gfx::clBlack);
    s.SetColor(gfx::clWindowText);
    EXPECT_EQ(s.GetTextColorFor(FSheet, {}, true, vdcmPrinterColor), gfx::clBlack);
    s.SetColor(gfx::clBtnFace);
    EXPECT_EQ(s.GetTextColorFor(FSheet, {}, true, vdcmGrayScale), gfx::clSilver);
}

TEST_F(VDStyleCanvas, BlackAndWhitePrinting) {
    TFontInfo &s = Style(0);
    struct TCase {
        TColor Text, Back, PrintedText, PrintedBack;
    };
    const TCase cases[] = {
        {gfx::clWhite, gfx::clNone, gfx::clWhite, gfx::clNone}, // white text stays white
        {gfx::clNavy, gfx::clNone, gfx::clBlack, gfx::clNone},
        {gfx::clNavy, gfx::clYellow, gfx::clBlack, gfx::clWhite}, // dark on bright
        {gfx::clYellow, gfx::clNavy, gfx::clWhite, gfx::clBlack}, // bright on dark
        {gfx::clWindow, gfx::clBtnFace, gfx::clWhite, gfx::clBlack},
    };
    for (const TCase &c : cases) {
        s.SetColor(c.Text);
        s.SetBackColor(c.Back);
        EXPECT_EQ(s.GetTextColorFor(FSheet, {}, true, vdcmBlackAndWhite), c.PrintedText)
            << std::hex << c.Text << " on " << c.Back;
        EXPECT_EQ(s.GetBackColorFor(FSheet, {}, true, vdcmBlackAndWhite), c.PrintedBack)
            << std::hex << c.Text << " on " << c.Back;
    }
}

TEST_F(VDStyleCanvas, BackgroundDecisionTableAndBrush) {
    TFontInfo &s = Style(0);
    s.SetBackColor(gfx::clBtnFace);
    s.SetHoverBackColor(gfx::clAqua);
    EXPECT_EQ(s.GetBackColorFor(FSheet, {vdtsSelected, vdtsControlFocused}, true, vdcmColor),
              FSheet.GetSelColor());
    FSheet.SetInactiveSelColor(gfx::clGray);
    EXPECT_EQ(s.GetBackColorFor(FSheet, {vdtsSelected}, true, vdcmColor), gfx::clGray);
    EXPECT_EQ(s.GetBackColorFor(FSheet, {vdtsHover}, false, vdcmColor), gfx::clAqua);
    EXPECT_EQ(s.GetBackColorFor(FSheet, {}, false, vdcmBlackOnWhite), gfx::clBtnFace);
    EXPECT_EQ(s.GetBackColorFor(FSheet, {}, true, vdcmPrinterColor), gfx::clSilver);
    EXPECT_EQ(s.GetBackColorFor(FSheet, {}, true, vdcmGrayScale), gfx::clSilver);
    EXPECT_EQ(s.GetBackColorFor(FSheet, {}, true, vdcmBlackOnWhite), gfx::clNone);

    FSheet.ApplyStyleColor(Canvas(), 0, {}, false, vdcmColor);
    EXPECT_EQ(Canvas().GetBrush().GetStyle(), gfx::bsSolid);
    EXPECT_EQ(Canvas().GetBrush().GetColor(), gfx::clBtnFace);
    s.SetBackColor(gfx::clNone);
    FSheet.ApplyStyleBackColor(Canvas(), 0, {}, false, vdcmColor);
    EXPECT_EQ(Canvas().GetBrush().GetStyle(), gfx::bsClear);
}

TEST_F(VDStyleCanvas, HoverUnderlineFollowsTheHoverState) {
    TFontInfo &s = Style(0);
    s.SetHoverEffects({vdheUnderline});
    FSheet.ApplyStyleTextColor(Canvas(), 0, {vdtsHover}, false, vdcmColor);
    EXPECT_TRUE(Canvas().GetFont().GetStyle().Contains(gfx::fsUnderline));
    FSheet.ApplyStyleTextColor(Canvas(), 0, {}, false, vdcmColor);
    EXPECT_FALSE(Canvas().GetFont().GetStyle().Contains(gfx::fsUnderline));
}

TEST_F(VDStyleCanvas, ColourHandlerIsToldWhichParts) {
    std::vector<TVDColoredParts> asked;
    FSheet.OnApplyStyleColor = [&](TVDStyle &, gfx::TCanvas &, int32_t, TVDTextDrawStates,
                                   TVDColoredParts parts, bool &doDefault) {
        asked.push_back(parts);
        doDefault = false;
    };
    Canvas().GetFont().SetColor(gfx::clPurple);
    FSheet.ApplyStyleColor(Canvas(), 0, {}, false, vdcmColor);
    FSheet.ApplyStyleBackColor(Canvas(), 0, {}, false, vdcmColor);
    FSheet.ApplyStyleTextColor(Canvas(), 0, {}, false, vdcmColor);
    EXPECT_EQ(asked, (std::vector<TVDColoredParts>{{vdcpBack, vdcpText}, {vdcpBack}, {vdcpText}}));
    EXPECT_EQ(Canvas().GetFont().GetColor(), gfx::clPurple);
}

TEST_F(VDStyleCanvas, TextBackgroundAndItsHandler) {
    Style(0).SetBackColor(gfx::clYellow);
    FSheet.DrawTextBack(Canvas(), 3, 0, nullptr, 1, 2, 10, 5, {}, false, vdcmColor);
    ASSERT_EQ(FGI->Fills.size(), 1u);
    EXPECT_EQ(FGI->Fills[0].Rect, rtl::Rect(1, 2, 11, 7));
    EXPECT_EQ(FGI->Fills[0].Color, gfx::clYellow);

    int32_t seenItem = -1;
    FSheet.OnDrawTextBack = [&](TVDStyle &sheet, gfx::TCanvas &, int32_t, int32_t, int32_t, int32_t,
                                int32_t, TVDTextDrawStates, bool &doDefault) {
        seenItem = sheet.ItemNo;
        doDefault = false;
    };
    FSheet.DrawTextBack(Canvas(), 7, 0, nullptr, 1, 2, 10, 5, {}, false, vdcmColor);
    EXPECT_EQ(seenItem, 7);
    EXPECT_EQ(FGI->Fills.size(), 1u);
    // With simple backgrounds the fill happens all the same.
    FSheet.SetTextBackgroundKind(vdtbkSimple);
    FSheet.DrawTextBack(Canvas(), 7, 0, nullptr, 1, 2, 10, 5, {}, false, vdcmColor);
    EXPECT_EQ(FGI->Fills.size(), 2u);
    // No background: nothing is filled.
    Style(1).SetBackColor(gfx::clNone);
    FSheet.DrawTextBack(Canvas(), 7, 1, nullptr, 1, 2, 10, 5, {}, false, vdcmColor);
    EXPECT_EQ(FGI->Fills.size(), 2u);
}

TEST_F(VDStyleCanvas, ParagraphBackground) {
    TParaInfo &para = FSheet.GetParaStyles().GetItem(1);
    para.GetBackground().Color = gfx::clLime;
    para.GetBackground().Opacity = 20000;
    FSheet.DrawParaBack(Canvas(), 1, rtl::Rect(0, 0, 9, 9), false, vdcmColor, true);
    ASSERT_EQ(FGI->Fills.size(), 1u);
    EXPECT_EQ(FGI->Fills[0].Alpha, 51);
    EXPECT_EQ(FGI->Fills[0].Rect, rtl::Rect(0, 0, 10, 10));
    FSheet.OnDrawParaBack = [](TVDStyle &, gfx::TCanvas &, int32_t paraNo, const rtl::TRect &,
                               bool &doDefault) { doDefault = paraNo != 1; };
    FSheet.DrawParaBack(Canvas(), 1, rtl::Rect(0, 0, 9, 9), false, vdcmColor, true);
    EXPECT_EQ(FGI->Fills.size(), 1u);
}
