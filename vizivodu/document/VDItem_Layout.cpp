// What items do for the layout: sizing their draw items for a document width, painting and
// printing themselves (the neutral answers of the base, the rectangle box, pictures).
#include "vizivodu/document/VDItem.h"

#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDItem_ImagePrint.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDItem_p.h"
#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/printing/PtVDData.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/layout/viewer/VDAnimate.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImgList.h"
#include "platform/rtl/Exceptions.h"

#include <algorithm>

namespace vizivodu {

TVDDrawLineInfo *DrawItemOf(TCustomVDData *vdData, int32_t dItemNo) {
    auto *doc = dynamic_cast<TCustomVDFormattedData *>(vdData);
    if (!doc || dItemNo < 0 || dItemNo >= doc->DrawItems.Count()) {
        return nullptr;
    }
    return doc->DrawItems[dItemNo];
}

void FollowJump(TCustomVDData *vdData, int32_t jumpID) {
    if (auto *formatted = dynamic_cast<TCustomVDFormattedData *>(vdData)) {
        formatted->DoJump(formatted->FFirstJumpNo + jumpID);
    }
}

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
    TVDDrawLineInfo *drawItem = DrawItemOf(vdData, dItemNo);
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!drawItem || !style) {
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
    TVDDrawLineInfo &dli = *drawItem;
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
    if (FAnimator) {
        FAnimator->Draw(x, y, canvas, true);
        return;
    }
    const gfx::TGraphic &image = *GetImage();
    const TVDCanvasStateScope saved(gi, canvas);
    try {
        gi.IntersectClipRect(canvas, x, y, x + w, y + h);
        if (w == image.GetWidth() && h == image.GetHeight()) {
            gi.DrawGraphic(canvas, x, y, image);
        } else {
            gi.StretchDrawGraphic(canvas, rtl::Bounds(x, y, w, h), image);
        }
    } catch (const rtl::Exception &) {
        // A picture that cannot be drawn leaves its box empty; the document still paints.
    }
}

namespace {

// Draws graphic stretched into r of canvas through the style sheet's graphic interface (the
// canvas itself without a style sheet).
void StretchGraphic(TCustomVDData *vdData, gfx::TCanvas &canvas, const rtl::TRect &r,
                    const gfx::TGraphic &graphic) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (style) {
        style->GetGraphicInterface().StretchDrawGraphic(canvas, r, graphic);
    } else {
        canvas.StretchDraw(r, graphic);
    }
}

void FillBitmap(gfx::TBitmap &bmp, gfx::TColor color) {
    gfx::TCanvas &c = bmp.GetCanvas();
    c.GetBrush().SetStyle(gfx::bsSolid);
    c.GetBrush().SetColor(color);
    c.FillRect(rtl::Rect(0, 0, bmp.GetWidth(), bmp.GetHeight()));
}

} // namespace

bool TVDGraphicItemInfo::PrintToBitmap(gfx::TBitmap &bkgnd, bool preview, TCustomVDData *vdData,
                                       int32_t dItemNo, int32_t part, TVDColorMode) {
    const gfx::TGraphic *g =
        preview && FImageCopy && !FHasThumbnail ? FImageCopy.get() : FImage.get();
    if (!g) {
        return false;
    }
    const bool whole = part < 0;
    if (BackgroundColor == gfx::clNone &&
        (bkgnd.GetWidth() != g->GetWidth() || (whole && bkgnd.GetHeight() != g->GetHeight()))) {
        std::unique_ptr<gfx::TBitmap> behind;
        if (g->GetTransparent()) {
            behind = std::make_unique<gfx::TBitmap>(bkgnd);
        }
        bkgnd.SetSize(g->GetWidth(), whole ? g->GetHeight() : bkgnd.GetHeight());
        if (behind) {
            StretchGraphic(vdData, bkgnd.GetCanvas(),
                           rtl::Rect(0, 0, bkgnd.GetWidth(), bkgnd.GetHeight()), *behind);
        } else {
            FillBitmap(bkgnd, gfx::clWhite);
        }
    }
    if (BackgroundColor != gfx::clNone) {
        FillBitmap(bkgnd, BackgroundColor);
    }
    // A piece of a split picture shows the rows from its top at the picture's own scale.
    int32_t top = 0;
    int32_t height = bkgnd.GetHeight();
    if (const TVDImagePrintPart *piece = TVDMultiImagePrintInfo::SplitPart(vdData, dItemNo, part)) {
        top = -piece->ImgTop;
        height = g->GetHeight();
    }
    try {
        StretchGraphic(vdData, bkgnd.GetCanvas(), rtl::Rect(0, top, bkgnd.GetWidth(), top + height),
                       *g);
    } catch (const rtl::Exception &) {
        // A picture that cannot be drawn leaves what lies behind it.
    }
    return true;
}

void TVDGraphicItemInfo::Print(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t, bool, bool,
                               const TVDScreenAndDevice &sad, int32_t, TVDColorMode,
                               TCustomVDData *vdData, int32_t, int32_t, bool) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!style || !FImage) {
        return;
    }
    TVDGraphicInterface &gi = style->GetGraphicInterface();
    const rtl::TRect r = rtl::Bounds(x + style->GetAsDevicePixelsX(GetBorderWidth(), &sad),
                                     y + style->GetAsDevicePixelsY(GetBorderHeight(), &sad),
                                     GetImageWidthEx(style, &sad), GetImageHeightEx(style, &sad));
    const TVDCanvasStateScope saved(gi, canvas);
    gi.IntersectClipRect(canvas, r.Left, r.Top, r.Right, r.Bottom);
    gi.StretchDrawGraphic(canvas, r, *FImage);
}

std::unique_ptr<TVDDrawLineInfo>
TVDGraphicItemInfo::CreatePrintingDrawItem(TCustomVDData *vdData, int32_t paraNo,
                                           PVDScreenAndDevice sad) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    // A float keeps its floating draw item: floats are never split.
    const bool splittable =
        style && FImage && FMinHeightOnPage != 0 && GetBoolValueEx(vdbpPrintToBMP, style) &&
        !GetBoolValue(vdbpFloating) &&
        (ImageHeight <= 0 || style->GetAsPixels(ImageHeight) == FImage->GetHeight());
    if (!splittable) {
        return TVDRectItemInfo::CreatePrintingDrawItem(vdData, paraNo, sad);
    }
    return std::make_unique<TVDMultiImagePrintInfo>(*this, vdData, GetWidthEx(style, sad),
                                                    GetHeightEx(style, sad));
}

void TVDHotGraphicItemInfo::Execute(TCustomVDData *vdData) {
    FollowJump(vdData, JumpID);
}

} // namespace vizivodu
