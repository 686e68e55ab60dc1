// Measuring and drawing label items: the text measured in its text style and widened to the
// minimum width, drawn on the screen with the label's text and on pages with the text for the
// page being drawn (page fields), stretched to its rectangle when that is wider.
#include "vizivodu/document/VDLabelItem.h"

#include "vizivodu/document/VDItem_p.h"
#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/printing/PtVDData.h"
#include "vizivodu/layout/printing/PtblVD.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"

#include <algorithm>

namespace vizivodu {

namespace {

TVDTextRun LabelRun(const rtl::UnicodeString &text, bool bidi) {
    return {.Str = reinterpret_cast<const char *>(text.data()),
            .Length = static_cast<int32_t>(text.size()),
            .Unicode = true,
            .BiDi = bidi};
}

TVDTextDrawStates TextDrawState(TVDItemDrawStates state) {
    TVDTextDrawStates result;
    if (state.Contains(vdidsSelected)) {
        result.Include(vdtsSelected);
    }
    if (state.Contains(vdidsHover)) {
        result.Include(vdtsHover);
    }
    if (state.Contains(vdidsControlFocused)) {
        result.Include(vdtsControlFocused);
    }
    return result;
}

int32_t MinWidthInScreenPixels(const TVDStyle &style, TVDStyleLength minWidth) {
    return minWidth > 0 ? style.GetAsPixels(minWidth) : 0;
}

int32_t MinWidthInDevicePixels(const TVDStyle &style, TVDStyleLength minWidth,
                               PVDScreenAndDevice sad) {
    return minWidth > 0 ? style.GetAsDevicePixelsX(minWidth, sad) : 0;
}

} // namespace

void TVDLabelItemInfo::CalcLabelSize(int32_t &w, int32_t &h, gfx::TCanvas *canvas,
                                     const rtl::UnicodeString &text, TCustomVDData *vdData,
                                     bool useMinWidth, bool canUseCustomPPI, int32_t &descend,
                                     int32_t &yOffs) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!style) {
        return;
    }
    const int32_t styleNo = vdData->GetActualTextStyle(*this);
    TVDGraphicInterface &gi = style->GetGraphicInterface();
    auto *formatted = dynamic_cast<TCustomVDFormattedData *>(vdData);
    gfx::TCanvas *formatCanvas = formatted ? formatted->GetFormatCanvasEx(nullptr) : nullptr;
    std::unique_ptr<gfx::TCanvas> screen;
    gfx::TCanvas *c = formatCanvas ? formatCanvas : canvas;
    if (!c) {
        screen = gi.CreateScreenCanvas();
        c = screen.get();
    }
    const bool scaled = formatCanvas != nullptr;
    TVDApplyOptions options{vdaoCanUseFontQuality};
    if (canUseCustomPPI) {
        options.Include(vdaoCanUseCustomPPI);
    }
    if (scaled) {
        options.Include(vdaoToFormatCanvas);
    }
    if (vdData->UseVerticalFonts()) {
        options.Include(vdaoUseVerticalFont);
    }
    style->ApplyStyle(*c, styleNo, vdbdUnspecified, options, nullptr);
    gfx::TTextMetric tm;
    gi.GetTextMetrics(*c, tm);
    descend = ScaleFromFormatCanvas(tm.tmDescent, scaled);
    h = tm.tmHeight;
    yOffs = 0;
    if (RemoveInternalLeading) {
        h -= tm.tmInternalLeading;
        yOffs = -ScaleFromFormatCanvas(tm.tmInternalLeading, scaled);
    }
    h = ScaleFromFormatCanvas(h, scaled);
    w = ScaleFromFormatCanvas(gi.TextSize(*c, LabelRun(text, false)).cx, scaled);
    if (useMinWidth) {
        w = std::max(w, MinWidthInScreenPixels(*style, FMinWidth));
    }
    if (screen) {
        gi.DestroyScreenCanvas(screen);
    }
}

void TVDLabelItemInfo::UpdateMe() {
    if (FUpdated || !FParentVDData || !FParentVDData->GetVDStyle()) {
        return;
    }
    CalcLabelSize(Width, Height, nullptr, GetTextForFormatting(FParentVDData), FParentVDData, true,
                  FCanUseCustomPPI, Descend, YOffs);
    FUpdated = true;
}

int32_t TVDLabelItemInfo::GetWidth(const TVDStyle *) {
    UpdateMe();
    return Width;
}

int32_t TVDLabelItemInfo::GetHeight(const TVDStyle *) {
    UpdateMe();
    return Height;
}

const TVDStyle *TVDLabelItemInfo::ParentStyle() const {
    return FParentVDData ? FParentVDData->GetVDStyle() : nullptr;
}

int32_t TVDLabelItemInfo::GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *, TCustomVDData *) {
    UpdateMe();
    int32_t w = Width;
    if (sad && sad->ppixScreen > 0) {
        w = gfx::MulDiv(w, sad->ppixDevice, sad->ppixScreen);
    }
    const TVDStyle *style = ParentStyle();
    return style ? std::max(w, MinWidthInDevicePixels(*style, FMinWidth, sad)) : w;
}

void TVDLabelItemInfo::OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool printing,
                                        gfx::TCanvas &canvas, TCustomVDData *vdData,
                                        PVDScreenAndDevice sad, int32_t &hShift, int32_t &desc,
                                        bool noCaching, bool reformatting, bool useFormatCanvas) {
    TVDRectItemInfo::OnDocWidthChange(docWidth, dli, printing, canvas, vdData, sad, hShift, desc,
                                      noCaching, reformatting, useFormatCanvas);
    const bool otherResolution =
        sad && (sad->ppixDevice != sad->ppixScreen || sad->ppiyDevice != sad->ppiyScreen);
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (style && (useFormatCanvas || otherResolution)) {
        int32_t yOffs = 0;
        CalcLabelSize(dli.Width, dli.Height, &canvas, GetTextForPrintMeasuring(vdData), vdData,
                      false, vdData->GetFlags().Contains(vdflCanUseCustomPPI), desc, yOffs);
        dli.Width = std::max(dli.Width, MinWidthInDevicePixels(*style, FMinWidth, sad));
        return;
    }
    UpdateMe();
    dli.Width = Width;
    dli.Height = Height;
    desc = Descend;
}

int32_t TVDLabelItemInfo::GetFinalPrintingWidth(gfx::TCanvas &canvas, TVDDrawLineInfo &dli,
                                                TCustomVDData *vdData, int32_t pageNo,
                                                int32_t pageCount) {
    int32_t w = 0, h = 0, descend = 0, yOffs = 0;
    CalcLabelSize(w, h, &canvas, GetTextForPrinting(vdData, &dli, pageNo, pageCount), vdData, true,
                  vdData && vdData->GetFlags().Contains(vdflCanUseCustomPPI), descend, yOffs);
    return w;
}

void TVDLabelItemInfo::Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
                             TVDDrawLineInfo &dli, TCustomVDData *vdData, bool forMetafile) {
    auto *page = dynamic_cast<TCustomPrintableVDData *>(vdData);
    if (page && state.Contains(vdidsPrinting)) {
        const TVDScreenAndDevice sad = page->GetPrintSaD();
        Print(canvas, x, y, &sad, page->GetColorMode(), vdData, dli, page->GetDrawnGlobalPageNo(),
              state, forMetafile);
        return;
    }
    UpdateMe();
    PaintLabelText(rtl::Bounds(x, y + YOffs, Width, Height), canvas, forMetafile, vdData, FText,
                   vdcmColor, state);
}

void TVDLabelItemInfo::Print(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t, bool preview,
                             bool correction, const TVDScreenAndDevice &sad, int32_t,
                             TVDColorMode colorMode, TCustomVDData *vdData, int32_t dItemNo,
                             int32_t pageNo, bool forMetafile) {
    TVDDrawLineInfo *dli = DrawItemOf(vdData, dItemNo);
    if (!dli) {
        return;
    }
    TVDItemDrawStates state{vdidsPrinting};
    if (preview) {
        state.Include(vdidsPreview);
    }
    if (correction) {
        state.Include(vdidsPreviewCorrection);
    }
    Print(canvas, x, y, &sad, colorMode, vdData, *dli, pageNo, state, forMetafile);
}

void TVDLabelItemInfo::Print(gfx::TCanvas &canvas, int32_t x, int32_t y, PVDScreenAndDevice sad,
                             TVDColorMode colorMode, TCustomVDData *vdData, TVDDrawLineInfo &dli,
                             int32_t pageNo, TVDItemDrawStates state, bool forMetafile) {
    UpdateMe();
    const int32_t top = y + (sad ? ScreenToDeviceY(YOffs, *sad) : YOffs);
    if (vdData && vdData->GetFlags().Contains(vdflCanUseCustomPPI)) {
        state.Include(vdidsCanUseCustomPPI);
    }
    int32_t dispPageNo = pageNo, pageCount = 1;
    if (auto *page = dynamic_cast<TCustomPrintableVDData *>(vdData)) {
        if (TCustomVDPrint *print = page->GetVDPrint()) {
            dispPageNo = print->GetDispPageNo(pageNo);
            pageCount = print->GetPagesCount();
        }
    }
    PaintLabelText(rtl::Bounds(x, top, dli.Width, dli.Height), canvas, forMetafile, vdData,
                   GetTextForPrinting(vdData, &dli, dispPageNo, pageCount), colorMode, state);
}

void TVDLabelItemInfo::PaintLabelText(const rtl::TRect &r, gfx::TCanvas &canvas, bool forMetafile,
                                      TCustomVDData *vdData, const rtl::UnicodeString &text,
                                      TVDColorMode colorMode, TVDItemDrawStates state) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!style) {
        return;
    }
    const int32_t styleNo = vdData->GetActualTextStyle(*this);
    const TFontInfo &font = style->GetTextStyles().GetItem(styleNo);
    const TVDBiDiMode bidi = font.GetBiDiMode() != vdbdUnspecified
                                 ? font.GetBiDiMode()
                                 : vdData->GetParaBiDiMode(ParaNo);
    TVDApplyOptions options{vdaoCanUseFontQuality};
    if (state.Contains(vdidsCanUseCustomPPI)) {
        options.Include(vdaoCanUseCustomPPI);
    }
    style->ApplyStyle(canvas, styleNo, bidi, options, nullptr);
    const bool printing = state.Contains(vdidsPrinting);
    style->ApplyStyleColor(canvas, styleNo, TextDrawState(state), printing, colorMode);
    TVDGraphicInterface &gi = style->GetGraphicInterface();
    auto *formatted = dynamic_cast<TCustomVDFormattedData *>(vdData);
    const TVDFieldHighlightType highlight = style->GetFieldHighlightType();
    const bool highlighted =
        !state.Contains(vdidsSelected) &&
        (highlight == vdfhAlways || (highlight == vdfhCurrent && state.Contains(vdidsCurrent) &&
                                     (state.Contains(vdidsControlFocused) ||
                                      (formatted && formatted->GetForceFieldHighlight()))));
    if (highlighted && style->GetFieldHighlightColor() != gfx::clNone) {
        gi.FillColorRect(canvas, r, style->GetFieldHighlightColor());
    } else if (canvas.GetBrush().GetStyle() != gfx::bsClear) {
        gi.FillRect(canvas, r);
    }
    canvas.GetBrush().SetStyle(gfx::bsClear);
    const bool hidden = font.GetOptions().Contains(vdteoHidden);
    if (hidden) {
        gfx::TFontStyles fs = canvas.GetFont().GetStyle();
        fs.Exclude(gfx::fsUnderline);
        canvas.GetFont().SetStyle(fs);
    }
    const TVDTextOutput output = forMetafile ? vdtoMetafile : vdtoDevice;
    const TVDTextRun run = LabelRun(text, bidi != vdbdUnspecified);
    const int32_t textWidth = gi.TextSize(canvas, run).cx;
    if (FMinWidth > 0 || r.Width() <= textWidth) {
        int32_t x = r.Left;
        if (FAlignment == taRightJustify) {
            x = r.Right - textWidth;
        } else if (FAlignment == taCenter) {
            x = (r.Left + r.Right - textWidth) / 2;
        }
        gi.TextOut(canvas, x, r.Top, run, output);
    } else if (std::unique_ptr<TCustomVDGlyphDXData> dx =
                   gi.GetGlyphDX(canvas, run, vdDistributeSpacing, r.Width() - textWidth,
                                 TVDGlyphDXNeeds{vdgnDX}, -1, -1)) {
        gi.TextOutWithDX(canvas, r.Left, r.Top, run, output, *dx);
    }
    if (hidden) {
        DrawDottedHorzLine(canvas, canvas.GetFont().GetColor(), r.Left, gi, r.Bottom - 1, r.Right);
    }
    canvas.GetBrush().SetStyle(gfx::bsClear);
}

void TVDLabelItemInfo::SaveFormattingToStream(rtl::TStream &stream) {
    for (const int32_t v : {-1, Width, Height, Descend, YOffs}) {
        stream.WriteBuffer(&v, sizeof v);
    }
    const uint8_t updated = FUpdated ? 1 : 0;
    stream.WriteBuffer(&updated, 1);
}

void TVDLabelItemInfo::LoadFormattingFromStream(rtl::TStream &stream) {
    for (int32_t *v : {&Width, &Height, &Descend, &YOffs}) {
        stream.ReadBuffer(v, sizeof *v);
    }
    uint8_t updated = 0;
    stream.ReadBuffer(&updated, 1);
    FUpdated = updated != 0;
}

void TVDLabelItemInfo::Execute(TCustomVDData *vdData) {
    auto *formatted = dynamic_cast<TCustomVDFormattedData *>(vdData);
    if (formatted && GetBoolValueEx(vdbpJump, vdData->GetVDStyle())) {
        formatted->DoJump(JumpID + formatted->FFirstJumpNo);
    }
}

} // namespace vizivodu
