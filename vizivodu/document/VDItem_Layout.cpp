// What items do for the layout: sizing their draw items for a document width and painting
// themselves (the neutral answers of the base, the rectangle box, pictures, breaks, tabs and
// list markers).
#include "vizivodu/document/VDItem.h"

#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/layout/CVDFData.h"
#include "vizivodu/layout/PtVDData.h"
#include "vizivodu/layout/VDGrIn.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImgList.h"

#include <algorithm>

namespace vizivodu {

// ---- The base ----

void TCustomVDItemInfo::OnDocWidthChange(int32_t, TVDDrawLineInfo &, bool, gfx::TCanvas &,
                                         TCustomVDData *, PVDScreenAndDevice, int32_t &hShift,
                                         int32_t &desc, bool, bool, bool) {
    hShift = 0;
    desc = 1;
}

void TCustomVDItemInfo::Paint(int32_t, int32_t, gfx::TCanvas &, TVDItemDrawStates,
                              TVDDrawLineInfo &, TCustomVDData *, bool) {}

void TCustomVDItemInfo::PaintFullWidth(int32_t, int32_t, int32_t, gfx::TCanvas &, TVDItemDrawStates,
                                       TVDStyle &, const rtl::TRect &, TCustomVDData *, int32_t,
                                       int32_t, int32_t, TVDPaintItemPart *, bool) {}

bool TCustomVDItemInfo::PrintToBitmap(gfx::TBitmap &, bool, TCustomVDData *, int32_t, int32_t,
                                      TVDColorMode) {
    return false;
}

// Items without a printing of their own print through their painting in print mode; a
// split full-width item gets the part of its printing draw item.
void TCustomVDItemInfo::Print(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t x2, bool preview,
                              bool correction, const TVDScreenAndDevice &, int32_t part,
                              TVDColorMode, TCustomVDData *vdData, int32_t dItemNo, int32_t,
                              bool forMetafile) {
    auto *doc = dynamic_cast<TCustomVDFormattedData *>(vdData);
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!doc || !style || dItemNo < 0 || dItemNo >= doc->DrawItems.Count()) {
        return;
    }
    TVDItemDrawStates state{vdidsPrinting, vdidsPrintSimulation};
    if (preview) {
        state.Include(vdidsPreview);
    }
    if (correction) {
        state.Include(vdidsPreviewCorrection);
    }
    if (vdData->GetFlags().Contains(vdflCanUseCustomPPI)) {
        state.Include(vdidsCanUseCustomPPI);
    }
    TVDDrawLineInfo &dli = *doc->DrawItems[dItemNo];
    if (!GetBoolValue(vdbpFullWidth)) {
        Paint(x, y, canvas, state, dli, vdData, forMetafile);
        return;
    }
    TVDPaintItemPart *paintPart = nullptr;
    if (auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(&dli)) {
        if (part >= 0 && part < multi->GetPartsList().Count()) {
            paintPart = multi->GetPartsList()[part];
        }
    }
    PaintFullWidth(x, x2, y, canvas, state, *style, rtl::TRect{}, vdData, dItemNo, 0, 0, paintPart,
                   forMetafile);
}

void TCustomVDItemInfo::DrawBackgroundForPrinting(gfx::TCanvas &, const rtl::TRect &,
                                                  const rtl::TRect &, TVDColorMode, int32_t,
                                                  TVDGraphicInterface &, bool) {}

std::unique_ptr<TVDDrawLineInfo> TCustomVDItemInfo::CreatePrintingDrawItem(TCustomVDData *vdData,
                                                                           int32_t paraNo,
                                                                           PVDScreenAndDevice) {
    auto *formatted = dynamic_cast<TCustomVDFormattedData *>(vdData);
    return CreateDrawLineInfo(formatted ? formatted->GetStandardDrawLineInfoClass(*this, paraNo)
                                        : vddlkPlain);
}

int32_t TCustomVDItemInfo::GetFinalPrintingWidth(gfx::TCanvas &, TVDDrawLineInfo &dli,
                                                 TCustomVDData *, int32_t, int32_t) {
    return dli.GetObjectWidth();
}

// ---- Rectangles and pictures ----

void TVDRectItemInfo::PaintDef(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
                               TVDDrawLineInfo &dli, TCustomVDData *vdData) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!style) {
        return;
    }
    TVDGraphicInterface &gi = style->GetGraphicInterface();
    const int32_t w = dli.GetObjectWidth();
    const int32_t h = dli.GetObjectHeight();
    const int32_t oh = style->GetAsPixels(OuterHSpacing);
    const int32_t ov = style->GetAsPixels(OuterVSpacing);
    gfx::TColor fill = gfx::clNone;
    int32_t s = 0;
    if (state.Contains(vdidsSelected)) {
        fill = state.Contains(vdidsControlFocused) ? style->GetSelColor()
                                                   : style->GetInactiveSelColor();
        s = 1;
    }
    if (fill == gfx::clNone) {
        fill = BackgroundColor;
    }
    if (fill != gfx::clNone) {
        gi.FillColorRect(
            canvas, rtl::Bounds(x + oh - s, y + ov - s, w - 2 * oh + 2 * s, h - 2 * ov + 2 * s),
            fill);
    }
    if (BorderWidth > 0 && BorderColor != gfx::clNone) {
        canvas.GetPen().SetWidth(style->GetAsPixels(BorderWidth));
        canvas.GetPen().SetColor(BorderColor);
        canvas.GetPen().SetStyle(gfx::psInsideFrame);
        canvas.GetBrush().SetStyle(gfx::bsClear);
        gi.Rectangle(canvas, x + oh, y + ov, x + w - oh, y + h - ov);
        canvas.GetPen().SetStyle(gfx::psSolid);
        canvas.GetPen().SetWidth(1);
    }
    if (state.Contains(vdidsCurrent) && style->GetCurrentItemColor() != gfx::clNone) {
        canvas.GetPen().SetWidth(1);
        canvas.GetPen().SetColor(style->GetCurrentItemColor());
        canvas.GetPen().SetStyle(gfx::psSolid);
        canvas.GetBrush().SetStyle(gfx::bsClear);
        gi.Rectangle(canvas, x - 1, y - 1, x + w + 1, y + h + 1);
    }
    if (Hidden) {
        const gfx::TColor color = style->GetTextStyles().GetItem(0).GetColor();
        for (int32_t px = x; px < x + w; px += 2) {
            gi.FillColorRect(canvas, rtl::Bounds(px, y + h + 1, 1, 1), color);
        }
    }
}

void TVDGraphicItemInfo::Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
                               TVDDrawLineInfo &dli, TCustomVDData *vdData, bool) {
    PaintDef(x, y, canvas, state, dli, vdData);
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!style || !GetImage()) {
        return;
    }
    TVDGraphicInterface &gi = style->GetGraphicInterface();
    const int32_t w = GetImageWidth(style);
    const int32_t h = GetImageHeight(style);
    x += style->GetAsPixels(GetBorderWidth());
    y += style->GetAsPixels(GetBorderHeight());
    const gfx::TGraphic &image = *GetImage();
    const int32_t state0 = gi.SaveCanvasState(canvas);
    struct TRestore {
        TVDGraphicInterface &GI;
        gfx::TCanvas &Canvas;
        int32_t State;
        ~TRestore() { GI.RestoreCanvasState(Canvas, State); }
    } restore{gi, canvas, state0};
    try {
        gi.IntersectClipRect(canvas, x, y, x + w, y + h);
        if (w == image.GetWidth() && h == image.GetHeight()) {
            gi.DrawGraphic(canvas, x, y, image);
        } else {
            gi.StretchDrawGraphic(canvas, rtl::Bounds(x, y, w, h), image);
        }
    } catch (const std::exception &) {
        // A picture that cannot be drawn leaves its box empty; the document still paints.
    }
}

bool TVDGraphicItemInfo::PrintToBitmap(gfx::TBitmap &bkgnd, bool, TCustomVDData *, int32_t,
                                       int32_t part, TVDColorMode) {
    const gfx::TGraphic *image = GetImage();
    if (!image) {
        return false;
    }
    if (BackgroundColor != gfx::clNone) {
        bkgnd.GetCanvas().GetBrush().SetColor(BackgroundColor);
        bkgnd.GetCanvas().GetBrush().SetStyle(gfx::bsSolid);
        bkgnd.GetCanvas().FillRect(rtl::Rect(0, 0, bkgnd.GetWidth(), bkgnd.GetHeight()));
    } else if (bkgnd.GetWidth() != image->GetWidth() ||
               (part < 0 && bkgnd.GetHeight() != image->GetHeight())) {
        bkgnd.SetSize(image->GetWidth(), part < 0 ? image->GetHeight() : bkgnd.GetHeight());
    }
    try {
        bkgnd.GetCanvas().StretchDraw(rtl::Rect(0, 0, bkgnd.GetWidth(), bkgnd.GetHeight()), *image);
    } catch (const std::exception &) {
        // The background stays as it was.
    }
    return true;
}

// ---- Breaks ----

void TVDBreakItemInfo::OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool,
                                        gfx::TCanvas &, TCustomVDData *vdData,
                                        PVDScreenAndDevice sad, int32_t &, int32_t &desc, bool,
                                        bool, bool) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    const TVDScreenAndDevice identity{96, 96, 96, 96, 0, 0};
    const TVDScreenAndDevice &s = sad ? *sad : identity;
    const int32_t margin = ScreenToDeviceX(5, s);
    const int32_t thickness = style ? style->GetAsPixels(LineWidth) : LineWidth;
    const int32_t half = ScreenToDeviceY(thickness > 10 ? thickness / 2 : 5, s);
    dli.Height = 2 * half + 1;
    dli.Width = docWidth - 2 * margin;
    desc = half;
}

void TVDBreakItemInfo::PaintFullWidth(int32_t left, int32_t, int32_t top, gfx::TCanvas &canvas,
                                      TVDItemDrawStates state, TVDStyle &style, const rtl::TRect &,
                                      TCustomVDData *vdData, int32_t drawItemNo, int32_t extraX,
                                      int32_t extraY, TVDPaintItemPart *, bool) {
    auto *doc = dynamic_cast<TCustomVDFormattedData *>(vdData);
    if (!doc) {
        return;
    }
    TVDGraphicInterface &gi = style.GetGraphicInterface();
    const TVDDrawLineInfo &d = *doc->DrawItems[drawItemNo];
    const int32_t l = left - extraX;
    const int32_t r = l + d.Width;
    const int32_t y = top - extraY + d.Height / 2;
    const int32_t t = std::max(1, style.GetAsPixels(LineWidth));
    const int32_t lineTop = y - t / 2;
    const int32_t bottom = lineTop + t;
    const gfx::TColor color =
        Color != gfx::clNone ? Color : style.GetTextStyles().GetItem(0).GetColor();
    canvas.GetBrush().SetStyle(gfx::bsClear);
    switch (Style) {
    case vdbsLine:
        gi.FillColorRect(canvas, rtl::Rect(l, lineTop, r, bottom), color);
        break;
    case vdbsDotted:
    case vdbsDashed: {
        const int32_t dash = Style == vdbsDotted ? t : 3 * t;
        for (int32_t x = l; x < r; x += 2 * dash) {
            gi.FillColorRect(canvas, rtl::Rect(x, lineTop, std::min(x + dash, r), bottom), color);
        }
        break;
    }
    case vdbsRectangle:
        canvas.GetPen().SetWidth(1);
        canvas.GetPen().SetColor(color);
        gi.Rectangle(canvas, l, lineTop, r, bottom);
        break;
    case vdbs3d:
        gi.FillColorRect(canvas, rtl::Rect(l, lineTop, r - 1, lineTop + 1), gfx::clBtnShadow);
        gi.FillColorRect(canvas, rtl::Rect(l, lineTop, l + 1, bottom - 1), gfx::clBtnShadow);
        gi.FillColorRect(canvas, rtl::Rect(l, bottom - 1, r, bottom), gfx::clBtnFace);
        gi.FillColorRect(canvas, rtl::Rect(r - 1, lineTop, r, bottom), gfx::clBtnFace);
        break;
    }
    canvas.GetPen().SetStyle(gfx::psSolid);
    canvas.GetPen().SetWidth(1);
    if (state.Contains(vdidsSelected)) {
        const gfx::TColor sel =
            state.Contains(vdidsControlFocused) ? style.GetSelColor() : style.GetInactiveSelColor();
        if (sel != gfx::clNone) {
            canvas.GetPen().SetColor(sel);
            gi.Rectangle(canvas, l, lineTop - 1, r, bottom + 1);
        }
    }
}

// ---- Tabs ----

int32_t TVDTabItemInfo::ResolvedTextStyle(TCustomVDData *vdData) {
    int32_t n = FTextStyleNo;
    if (!vdData) {
        return std::max(0, n);
    }
    if (n == StyleNoParaDefault) {
        n = vdData->GetParaDefaultTextStyle(ParaNo);
    }
    if (n >= 0) {
        n = vdData->GetStyleFromStyleTemplate(n, ParaNo);
        if (n != FTextStyleNo && FTextStyleNo != StyleNoParaDefault) {
            vdData->ModifyStyleNoByTemplate(*this, n);
        }
    }
    return std::max(0, n);
}

void TVDTabItemInfo::OnDocWidthChange(int32_t, TVDDrawLineInfo &dli, bool, gfx::TCanvas &canvas,
                                      TCustomVDData *vdData, PVDScreenAndDevice, int32_t &,
                                      int32_t &desc, bool, bool, bool) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!style) {
        return;
    }
    const int32_t n = ResolvedTextStyle(vdData);
    style->ApplyStyle(canvas, n, vdData->GetBiDiMode(), {vdaoCanUseCustomPPI}, nullptr);
    gfx::TTextMetric tm;
    style->GetGraphicInterface().GetTextMetrics(canvas, tm);
    desc = tm.tmDescent;
    dli.Height = tm.tmHeight;
    dli.Width = 0;
}

void TVDTabItemInfo::Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
                           TVDDrawLineInfo &dli, TCustomVDData *vdData, bool forMetafile) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!style) {
        return;
    }
    TVDGraphicInterface &gi = style->GetGraphicInterface();
    const int32_t n = ResolvedTextStyle(vdData);
    TVDTextDrawStates textState;
    if (state.Contains(vdidsSelected)) {
        textState.Include(vdtsSelected);
    }
    if (state.Contains(vdidsHover)) {
        textState.Include(vdtsHover);
    }
    if (state.Contains(vdidsControlFocused)) {
        textState.Include(vdtsControlFocused);
    }
    style->ApplyStyleColor(canvas, n, textState, false, vdcmColor);
    style->ApplyStyle(canvas, n, vdData->GetBiDiMode(), {vdaoCanUseCustomPPI}, nullptr);
    if (canvas.GetBrush().GetStyle() != gfx::bsClear &&
        canvas.GetBrush().GetColor() != gfx::clNone) {
        gi.FillRect(canvas, rtl::Bounds(x, y, dli.Width, dli.Height));
    }
    canvas.GetBrush().SetStyle(gfx::bsClear);
    if (!Leader.empty()) {
        const int32_t lw = gi.TextWidth(canvas, Leader);
        if (lw > 0) {
            for (int32_t px = x + lw; px + lw <= x + dli.Width - lw; px += lw) {
                gi.TextOut(canvas, px, y,
                           {.Str = reinterpret_cast<const char *>(Leader.data()),
                            .Length = static_cast<int32_t>(Leader.size()),
                            .Unicode = true},
                           forMetafile ? vdtoMetafile : vdtoDevice);
            }
        }
    }
    if (state.Contains(vdidsShowSpecialCharacters) && VisibleSpecialCharacters.Contains(vdscTab)) {
        const gfx::TColor color =
            state.Contains(vdidsSelected) || style->GetSpecialCharactersColor() == gfx::clNone
                ? canvas.GetFont().GetColor()
                : style->GetSpecialCharactersColor();
        const int32_t len = std::clamp(dli.Width, 5, 10);
        const int32_t cx = (2 * x + dli.Width + len) / 2;
        const int32_t cy = (2 * y + dli.Height) / 2;
        gi.FillColorRect(canvas, rtl::Rect(cx - len - 1, cy, cx, cy + 1), color);
        const bool rtl = state.Contains(vdidsRTL);
        const int32_t head = rtl ? cx - len + 1 : cx - 1;
        const int32_t step = rtl ? 1 : -1;
        gi.FillColorRect(canvas, rtl::Rect(head, cy - 1, head + 1, cy + 2), color);
        for (int32_t k = 1; k <= 2; ++k) {
            gi.FillColorRect(
                canvas, rtl::Rect(head + k * step, cy - 2, head + k * step + 1, cy + 3), color);
        }
    }
}

// ---- List markers ----

bool TVDMarkerItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const {
    if (prop == vdbpActualPrintSize) {
        return true;
    }
    if (prop == vdbpPrintToBMP) {
        const TVDListLevel *level = GetLevelInfo(vdStyle);
        return level && (level->GetListType() == vdlstImageList ||
                         level->GetListType() == vdlstImageListCounter ||
                         level->GetListType() == vdlstPicture);
    }
    return TVDSimpleRectItemInfo::GetBoolValueEx(prop, vdStyle);
}

namespace {

// The picture of a picture level, prepared for a size query; null when there is none.
gfx::TGraphic *MarkerGraphic(const TVDListLevel &level) {
    if (!level.HasPicture()) {
        return nullptr;
    }
    gfx::TGraphic *graphic = const_cast<TVDListLevel &>(level).GetPicture().GetGraphic();
    if (graphic && GlobalGraphicHandler) {
        GlobalGraphicHandler->PrepareGraphic(*graphic);
    }
    return graphic;
}

} // namespace

void TVDMarkerItemInfo::MarkerImageSize(const TVDListLevel &level, int32_t &w, int32_t &h) {
    w = h = 0;
    if (level.GetListType() == vdlstPicture) {
        if (gfx::TGraphic *graphic = MarkerGraphic(level)) {
            w = graphic->GetWidth();
            h = graphic->GetHeight();
        }
    } else if (const gfx::TCustomImageList *images = level.GetImageList()) {
        w = images->GetWidth();
        h = images->GetHeight();
    }
}

void TVDMarkerItemInfo::CalcSize(gfx::TCanvas &canvas, TCustomVDData *vdData, int32_t &markerOffset,
                                 int32_t &hShift, bool rtl, bool minWidthMode,
                                 PVDScreenAndDevice sad, int32_t &overhang, int32_t &descent,
                                 int32_t &height, int32_t &width) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    const TVDListLevel *level = style ? GetLevelInfo(style) : nullptr;
    hShift = overhang = descent = height = width = 0;
    if (!level || ListNo < 0 || Level < 0) {
        return;
    }
    int32_t w = 0, h = 0;
    const TVDListType type = level->GetListType();
    if (type == vdlstPicture || type == vdlstImageList || type == vdlstImageListCounter) {
        MarkerImageSize(*level, w, h);
        if (sad && sad->ppixScreen > 0 && sad->ppiyScreen > 0) {
            w = gfx::MulDiv(w, sad->ppixDevice, sad->ppixScreen);
            h = gfx::MulDiv(h, sad->ppiyDevice, sad->ppiyScreen);
        }
    } else {
        gfx::TFont font(const_cast<TVDListLevel *>(level)->GetFont());
        if (vdData->GetFlags().Contains(vdflCanUseCustomPPI) &&
            style->GetTextStyles().PixelsPerInch != 0) {
            font.SetHeight(-gfx::MulDiv(font.GetSize(), style->GetTextStyles().PixelsPerInch, 72));
        }
        canvas.SetFont(font);
        TVDGraphicInterface &gi = style->GetGraphicInterface();
        gi.SetTextCharacterExtra(canvas, 0);
        const rtl::UnicodeString text =
            type == vdlstUnicodeBullet ? level->GetFormatStringW() : DisplayString;
        const gfx::TSize size =
            gi.TextSize(canvas, {.Str = reinterpret_cast<const char *>(text.data()),
                                 .Length = static_cast<int32_t>(text.size()),
                                 .Unicode = true,
                                 .IgnoreSpecialChars = true});
        w = size.cx;
        h = size.cy;
        gfx::TTextMetric tm;
        gi.GetTextMetrics(canvas, tm);
        descent = tm.tmDescent;
    }
    int32_t after = w, before = 0;
    if (level->GetMarkerAlignment() == vdmaRight) {
        after = 0;
        before = w;
    } else if (level->GetMarkerAlignment() == vdmaCenter) {
        after = w / 2;
        before = w - after;
    }
    const int32_t gap = style->GetAsDevicePixelsX(
        level->GetLeftIndent() + level->GetFirstIndent() - level->GetMarkerIndent(), sad);
    height = h;
    if (minWidthMode) {
        width = std::max(after, gap);
        return;
    }
    after = std::max(after, gap);
    if (!rtl) {
        hShift = -before;
        markerOffset = 0;
    } else {
        hShift = before;
        markerOffset = before + after - w;
    }
    width = before + after;
    overhang = hShift;
}

int32_t TVDMarkerItemInfo::GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *canvas,
                                       TCustomVDData *vdData) {
    if (!canvas || !vdData) {
        return 0;
    }
    int32_t offset = 0, hShift = 0, overhang = 0, descent = 0, height = 0, width = 0;
    const bool rtl = vdData->GetParaBiDiMode(ParaNo) == vdbdRightToLeft;
    CalcSize(*canvas, vdData, offset, hShift, rtl, true, sad, overhang, descent, height, width);
    return width;
}

void TVDMarkerItemInfo::OnDocWidthChange(int32_t, TVDDrawLineInfo &dli, bool printing,
                                         gfx::TCanvas &canvas, TCustomVDData *vdData,
                                         PVDScreenAndDevice sad, int32_t &hShift, int32_t &desc,
                                         bool, bool, bool) {
    auto *justify = dynamic_cast<TVDJustifyDrawLineInfo *>(&dli);
    if (!justify) {
        throw EViziVoduError("Incorrect drawing item type for a marker");
    }
    int32_t offset = justify->GetMarkerOffset();
    int32_t overhang = 0, height = 0, width = 0;
    const bool rtl = vdData->GetParaBiDiMode(ParaNo) == vdbdRightToLeft;
    CalcSize(canvas, vdData, offset, hShift, rtl, false, sad, overhang, desc, height, width);
    justify->SetMarkerOffset(offset);
    dli.Width = width;
    dli.Height = height;
    if (!printing) {
        FWidth = width;
        FHeight = height;
        FDescent = desc;
        FOverhang = overhang;
    }
}

void TVDMarkerItemInfo::Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
                              TVDDrawLineInfo &dli, TCustomVDData *vdData, bool forMetafile) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    const TVDListLevel *level = style ? GetLevelInfo(style) : nullptr;
    if (!level || ListNo < 0 || Level < 0) {
        return;
    }
    auto *justify = dynamic_cast<TVDJustifyDrawLineInfo *>(&dli);
    if (!justify) {
        throw EViziVoduError("Incorrect drawing item type for a marker");
    }
    const TVDListType type = level->GetListType();
    const int32_t x0 = x + justify->GetMarkerOffset();
    if (type == vdlstPicture) {
        if (gfx::TGraphic *graphic = MarkerGraphic(*level)) {
            style->GetGraphicInterface().DrawGraphic(canvas, x0, y, *graphic);
        }
        return;
    }
    if (type == vdlstImageList || type == vdlstImageListCounter) {
        const gfx::TCustomImageList *images = level->GetImageList();
        const int32_t index =
            level->GetImageIndex() + (type == vdlstImageListCounter ? Counter - 1 : 0);
        if (images && index >= 0 && index < images->GetCount()) {
            images->Draw(canvas, x0, y, index);
        }
        return;
    }
    gfx::TFont font(const_cast<TVDListLevel *>(level)->GetFont());
    if (state.Contains(vdidsControlDisabled) && style->GetDisabledFontColor() != gfx::clNone) {
        font.SetColor(style->GetDisabledFontColor());
    }
    canvas.SetFont(font);
    TVDGraphicInterface &gi = style->GetGraphicInterface();
    gi.SetTextCharacterExtra(canvas, 0);
    gi.SetTextAlign(canvas, state.Contains(vdidsRTL) ? TA_RTLREADING : 0);
    canvas.GetBrush().SetStyle(gfx::bsClear);
    const rtl::UnicodeString text =
        type == vdlstUnicodeBullet ? level->GetFormatStringW() : DisplayString;
    gi.TextOut(canvas, x0, y,
               {.Str = reinterpret_cast<const char *>(text.data()),
                .Length = static_cast<int32_t>(text.size()),
                .Unicode = true},
               forMetafile ? vdtoMetafile : vdtoDevice);
}

} // namespace vizivodu
