// A text style on a canvas: the font, reading order, character spacing and colours that a
// style gives a canvas before its text is measured or drawn, and the sheet's entry points with
// their events. The style units' direct canvas calls live here.
#include "vizivodu/styles/VDStyle_Canvas_p.h"

#include "platform/gfx/Graphics.h"
#include "vizivodu/styles/VDStyle.h"

#include <algorithm>
#include <cstdlib>

namespace vizivodu {

namespace canvas {

void SetBrushColor(gfx::TCanvas &canvas, gfx::TColor color) {
    canvas.GetBrush().SetColor(color);
    canvas.GetBrush().SetStyle(color == gfx::clNone ? gfx::bsClear : gfx::bsSolid);
}

void SetClearBrush(gfx::TCanvas &canvas) {
    canvas.GetBrush().SetStyle(gfx::bsClear);
}

bool IsBrushClear(gfx::TCanvas &canvas) {
    return canvas.GetBrush().GetStyle() == gfx::bsClear;
}

void PrepareSolidFill(gfx::TCanvas &canvas, gfx::TColor color) {
    canvas.GetBrush().SetColor(color);
    canvas.GetBrush().SetStyle(gfx::bsSolid);
    canvas.GetPen().SetWidth(0);
    canvas.GetPen().SetStyle(gfx::psClear);
}

void ResetPenWidth(gfx::TCanvas &canvas) {
    canvas.GetPen().SetWidth(1);
}

void SolidPenClearBrush(gfx::TCanvas &canvas) {
    canvas.GetPen().SetStyle(gfx::psSolid);
    canvas.GetBrush().SetStyle(gfx::bsClear);
}

void SetFontColor(gfx::TCanvas &canvas, gfx::TColor color) {
    canvas.GetFont().SetColor(color);
}

void SetFontUnderline(gfx::TCanvas &canvas, bool underline) {
    gfx::TFontStyles style = canvas.GetFont().GetStyle();
    if (underline) {
        style.Include(gfx::fsUnderline);
    } else {
        style.Exclude(gfx::fsUnderline);
    }
    canvas.GetFont().SetStyle(style);
}

int32_t GetFontHeight(gfx::TCanvas &canvas) {
    return canvas.GetFont().GetHeight();
}

void SetFontHeight(gfx::TCanvas &canvas, int32_t height) {
    canvas.GetFont().SetHeight(height);
}

} // namespace canvas

namespace {

bool IsWhite(TColor color) {
    return gfx::ColorToRGB(color) == uint32_t(gfx::clWhite);
}

// The font height (negative: the character height) for the plain-scale form.
int32_t PlainHeight(int32_t sizeDouble, int32_t ppi) {
    return -gfx::MulDiv(sizeDouble, ppi, 144);
}

// The height of sub- and superscript text when the font has no outline metrics: two thirds of
// the font's height.
int32_t ScriptHeightWithoutOutlineMetrics(int32_t fontHeight) {
    return std::abs(static_cast<int32_t>(RoundQuotient(int64_t(fontHeight) * 2, 3)));
}

} // namespace

// ---- TCustomVDFontInfo on a canvas --------------------------------------------------------

void TCustomVDFontInfo::Apply(gfx::TCanvas &canvas, TVDBiDiMode defBiDiMode,
                              TVDApplyOptions options, PVDExtraFontInfo extraFontInfo,
                              TVDStyle &vdStyle) const {
    TVDGraphicInterface &gi = vdStyle.GetGraphicInterface();
    const bool toFormatCanvas = options.Contains(vdaoToFormatCanvas);
    const bool script =
        !options.Contains(vdaoIgnoreSubSuperScript) && FSubSuperScriptType != vdsssNormal;
    if (FCharScale == 100) {
        ApplyPlainScale(canvas, options, vdStyle);
        if (script) {
            canvas::SetFontHeight(canvas, extraFontInfo ? -extraFontInfo->ScriptHeight
                                                        : -GetScriptHeight(canvas, gi));
        }
    } else {
        gfx::TLogFont lf;
        AssignToLogFont(lf, canvas, options, vdlfWithoutUnderline, vdStyle);
        gi.SetLogFont(canvas, lf);
        if (script) {
            lf.lfHeight =
                extraFontInfo ? -extraFontInfo->ScriptHeight : -GetScriptHeight(canvas, gi);
            gi.SetLogFont(canvas, lf);
        }
        gfx::TTextMetric tm;
        const int32_t average =
            gi.GetTextMetrics(canvas, tm) ? tm.tmAveCharWidth : gi.TextWidth(canvas, u"x");
        lf.lfWidth = average * FCharScale / 100;
        gi.SetLogFont(canvas, lf);
    }
    ApplyBiDiMode(canvas, defBiDiMode, toFormatCanvas, gi);
}

void TCustomVDFontInfo::ApplyPlainScale(gfx::TCanvas &canvas, TVDApplyOptions options,
                                        const TVDStyle &vdStyle) const {
    gfx::TFont &font = canvas.GetFont();
    font.SetStyle(FStyle);
    const auto *infos = dynamic_cast<const TFontInfos *>(GetCollection());
    if (options.Contains(vdaoToFormatCanvas)) {
        font.SetHeight(PlainHeight(FSizeDouble, FormatCanvasPixelsPerInch));
    } else if (options.Contains(vdaoCanUseCustomPPI) && infos && infos->PixelsPerInch != 0) {
        font.SetHeight(PlainHeight(FSizeDouble, infos->PixelsPerInch));
    } else if (FSizeDouble % 2 != 0) {
        font.SetHeight(PlainHeight(FSizeDouble, font.GetPixelsPerInch()));
    } else {
        font.SetSize(GetSize());
    }
    if (options.Contains(vdaoCanUseFontQuality)) {
        font.SetQuality(uint8_t(vdStyle.GetFontQuality()));
    }
    UnicodeString name = FFontName;
    if (options.Contains(vdaoUseVerticalFont) && IsHorizontalFontName(name)) {
        name.insert(name.begin(), u'@');
    }
    font.SetName(name);
    font.SetCharset(FCharset);
}

void TCustomVDFontInfo::AssignToLogFont(gfx::TLogFont &logFont, gfx::TCanvas &canvas,
                                        TVDApplyOptions options, TVDLogFontUnderline underline,
                                        const TVDStyle &vdStyle) const {
    logFont = gfx::TLogFont();
    const auto *infos = dynamic_cast<const TFontInfos *>(GetCollection());
    int32_t ppi = canvas.GetFont().GetPixelsPerInch();
    if (options.Contains(vdaoToFormatCanvas)) {
        ppi = FormatCanvasPixelsPerInch;
    } else if (options.Contains(vdaoCanUseCustomPPI) && infos && infos->PixelsPerInch != 0) {
        ppi = infos->PixelsPerInch;
    }
    logFont.lfHeight = PlainHeight(FSizeDouble, ppi);
    logFont.lfWeight = FStyle.Contains(gfx::fsBold) ? gfx::FW_BOLD : gfx::FW_NORMAL;
    logFont.lfItalic = FStyle.Contains(gfx::fsItalic) ? 1 : 0;
    logFont.lfStrikeOut = FStyle.Contains(gfx::fsStrikeOut) ? 1 : 0;
    logFont.lfUnderline =
        underline == vdlfWithUnderline && FStyle.Contains(gfx::fsUnderline) ? 1 : 0;
    logFont.lfCharSet = FCharset;
    logFont.lfFaceName = FFontName.substr(0, 31);
    logFont.lfQuality =
        options.Contains(vdaoCanUseFontQuality) ? uint8_t(vdStyle.GetFontQuality()) : 0;
}

int32_t TCustomVDFontInfo::GetScriptHeight(gfx::TCanvas &canvas,
                                           TVDGraphicInterface &graphicInterface) const {
    if (FSubSuperScriptType == vdsssNormal) {
        return 0;
    }
    const int32_t height = canvas.GetFont().GetHeight();
    if (const auto otm = AllocOutlineTextMetrics(canvas, graphicInterface)) {
        const int32_t size = FSubSuperScriptType == vdsssSubscript ? otm->otmptSubscriptSize.Y
                                                                   : otm->otmptSuperscriptSize.Y;
        return std::max(size, std::abs(height) / 3);
    }
    return ScriptHeightWithoutOutlineMetrics(height);
}

void TCustomVDFontInfo::ApplyBiDiMode(gfx::TCanvas &canvas, TVDBiDiMode defBiDiMode,
                                      bool toFormatCanvas,
                                      TVDGraphicInterface &graphicInterface) const {
    const TVDBiDiMode bidi = FBiDiMode != vdbdUnspecified ? FBiDiMode : defBiDiMode;
    const TVDStyle *sheet = GetVDStyle();
    const int32_t pixels = sheet ? sheet->GetAsPixels(FCharSpacing) : FCharSpacing;
    graphicInterface.SetTextCharacterExtra(canvas, ScaleToFormatCanvas(pixels, toFormatCanvas));
    if (bidi == vdbdLeftToRight) {
        graphicInterface.SetTextAlign(canvas, 0);
    } else if (bidi == vdbdRightToLeft) {
        graphicInterface.SetTextAlign(canvas, TA_RTLREADING);
    }
}

TColor TCustomVDFontInfo::GetTextColorFor(const TVDStyle &vdStyle, TVDTextDrawStates drawState,
                                          bool printing, TVDColorMode colorMode) const {
    const bool disabled =
        drawState.Contains(vdtstControlDisabled) && vdStyle.GetDisabledFontColor() != gfx::clNone;
    if (drawState.Contains(vdtsSelected)) {
        const TColor sel = drawState.Contains(vdtsControlFocused)
                               ? vdStyle.GetSelTextColor()
                               : vdStyle.GetInactiveSelTextColor();
        return sel != gfx::clNone ? sel : FColor;
    }
    if (drawState.Contains(vdtsHover)) {
        if (disabled) {
            return vdStyle.GetDisabledFontColor();
        }
        const TColor hover = FHoverColor != gfx::clNone ? FHoverColor : vdStyle.GetHoverColor();
        return hover != gfx::clNone ? hover : FColor;
    }
    if (!printing) {
        return disabled ? vdStyle.GetDisabledFontColor() : FColor;
    }
    const TColor resolved = ResolveSysColorForPrinting(FColor);
    switch (colorMode) {
    case vdcmColor:
        return FColor;
    case vdcmPrinterColor:
        return resolved;
    case vdcmGrayScale:
        return ColorToGray(resolved);
    case vdcmBlackAndWhite: {
        const bool white = FBackColor == gfx::clNone
                               ? IsWhite(resolved)
                               : GetColorLuminance(resolved) >=
                                     GetColorLuminance(ResolveSysColorForPrinting(FBackColor));
        return white ? gfx::clWhite : gfx::clBlack;
    }
    case vdcmBlackOnWhite:
        break;
    }
    return gfx::clBlack;
}

TColor TCustomVDFontInfo::GetBackColorFor(const TVDStyle &vdStyle, TVDTextDrawStates drawState,
                                          bool printing, TVDColorMode colorMode) const {
    if (drawState.Contains(vdtsSelected)) {
        return drawState.Contains(vdtsControlFocused) ? vdStyle.GetSelColor()
                                                      : vdStyle.GetInactiveSelColor();
    }
    if (drawState.Contains(vdtsHover)) {
        return FHoverBackColor;
    }
    if (!printing) {
        return FBackColor;
    }
    const TColor resolved = ResolveSysColorForPrinting(FBackColor);
    switch (colorMode) {
    case vdcmColor:
        return FBackColor;
    case vdcmPrinterColor:
        return resolved;
    case vdcmGrayScale:
        return ColorToGray(resolved);
    case vdcmBlackAndWhite:
        if (FBackColor == gfx::clNone) {
            return gfx::clNone;
        }
        return GetColorLuminance(ResolveSysColorForPrinting(FColor)) < GetColorLuminance(resolved)
                   ? gfx::clWhite
                   : gfx::clBlack;
    case vdcmBlackOnWhite:
        break;
    }
    return gfx::clNone;
}

void TCustomVDFontInfo::ApplyTextColor(gfx::TCanvas &canvas, const TVDStyle &vdStyle,
                                       TVDTextDrawStates drawState, bool printing,
                                       TVDColorMode colorMode) const {
    if (FHoverEffects.Contains(vdheUnderline) && FCharScale == 100) {
        canvas::SetFontUnderline(canvas, drawState.Contains(vdtsHover));
    }
    canvas::SetFontColor(canvas, GetTextColorFor(vdStyle, drawState, printing, colorMode));
}

void TCustomVDFontInfo::ApplyBackColor(gfx::TCanvas &canvas, const TVDStyle &vdStyle,
                                       TVDTextDrawStates drawState, bool printing,
                                       TVDColorMode colorMode) const {
    canvas::SetBrushColor(canvas, GetBackColorFor(vdStyle, drawState, printing, colorMode));
}

void TCustomVDFontInfo::ApplyColor(gfx::TCanvas &canvas, const TVDStyle &vdStyle,
                                   TVDTextDrawStates drawState, bool printing,
                                   TVDColorMode colorMode) const {
    ApplyTextColor(canvas, vdStyle, drawState, printing, colorMode);
    ApplyBackColor(canvas, vdStyle, drawState, printing, colorMode);
}

// ---- TVDStyle entry points ----------------------------------------------------------------

void TVDStyle::ApplyStyle(gfx::TCanvas &canvas, int32_t styleNo, TVDBiDiMode defBiDiMode,
                          TVDApplyOptions options, PVDExtraFontInfo extraFontInfo) {
    bool doDefault = true;
    if (OnApplyStyle) {
        OnApplyStyle(*this, canvas, styleNo, doDefault);
    }
    if (doDefault) {
        GetTextStyles().GetItem(styleNo).Apply(canvas, defBiDiMode, options, extraFontInfo, *this);
        if (OnAfterApplyStyle) {
            OnAfterApplyStyle(*this, canvas, styleNo);
        }
    } else if (options.Contains(vdaoToFormatCanvas)) {
        // The handler set the font at screen scale.
        canvas::SetFontHeight(canvas, canvas::GetFontHeight(canvas) * FormatCanvasScaleFactor);
    }
}

void TVDStyle::RaiseApplyStyleColor(gfx::TCanvas &canvas, int32_t styleNo,
                                    TVDTextDrawStates drawState, TVDColoredParts applyTo,
                                    bool &doDefault) {
    doDefault = true;
    if (OnApplyStyleColor) {
        OnApplyStyleColor(*this, canvas, styleNo, drawState, applyTo, doDefault);
    }
}

void TVDStyle::ApplyStyleColor(gfx::TCanvas &canvas, int32_t styleNo, TVDTextDrawStates drawState,
                               bool printing, TVDColorMode colorMode) {
    bool doDefault;
    RaiseApplyStyleColor(canvas, styleNo, drawState, {vdcpBack, vdcpText}, doDefault);
    if (doDefault) {
        GetTextStyles().GetItem(styleNo).ApplyColor(canvas, *this, drawState, printing, colorMode);
    }
}

void TVDStyle::ApplyStyleBackColor(gfx::TCanvas &canvas, int32_t styleNo,
                                   TVDTextDrawStates drawState, bool printing,
                                   TVDColorMode colorMode) {
    bool doDefault;
    RaiseApplyStyleColor(canvas, styleNo, drawState, {vdcpBack}, doDefault);
    if (doDefault) {
        GetTextStyles().GetItem(styleNo).ApplyBackColor(canvas, *this, drawState, printing,
                                                        colorMode);
    }
}

void TVDStyle::ApplyStyleTextColor(gfx::TCanvas &canvas, int32_t styleNo,
                                   TVDTextDrawStates drawState, bool printing,
                                   TVDColorMode colorMode) {
    bool doDefault;
    RaiseApplyStyleColor(canvas, styleNo, drawState, {vdcpText}, doDefault);
    if (doDefault) {
        GetTextStyles().GetItem(styleNo).ApplyTextColor(canvas, *this, drawState, printing,
                                                        colorMode);
    }
}

void TVDStyle::DrawTextBack(gfx::TCanvas &canvas, int32_t itemNo, int32_t styleNo,
                            TCustomVDDataHooks *vdData, int32_t left, int32_t top, int32_t width,
                            int32_t height, TVDTextDrawStates drawState, bool printing,
                            TVDColorMode colorMode) {
    bool doDefault = true;
    if (OnDrawTextBack) {
        ItemNo = itemNo;
        VDData = vdData;
        OnDrawTextBack(*this, canvas, styleNo, left, top, width, height, drawState, doDefault);
    }
    if (!doDefault && FTextBackgroundKind != vdtbkSimple) {
        return;
    }
    ApplyStyleBackColor(canvas, styleNo, drawState, printing, colorMode);
    if (!canvas::IsBrushClear(canvas)) {
        GetGraphicInterface().FillRect(canvas, rtl::Rect(left, top, left + width, top + height));
    }
}

void TVDStyle::DrawParaBack(gfx::TCanvas &canvas, int32_t paraNo, const rtl::TRect &rect,
                            bool printing, TVDColorMode colorMode, bool useOpacity) {
    bool doDefault = true;
    if (OnDrawParaBack) {
        OnDrawParaBack(*this, canvas, paraNo, rect, doDefault);
    }
    if (doDefault) {
        GetParaStyles().GetItem(paraNo).GetBackground().Draw(rect, canvas, printing, colorMode,
                                                             GetGraphicInterface(), useOpacity);
    }
}

} // namespace vizivodu
