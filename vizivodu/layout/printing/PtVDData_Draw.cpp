// Drawing one page of a printable document onto any canvas: the page background (a picture or
// the page colour in the colour mode), the layers under the text (the page events, headers and
// footers, the clip to the text area), the page's draw items (PtVDData_DrawItems.cpp) and the
// layers over them; and what lies under a piece printed through a bitmap.
#include "vizivodu/layout/printing/PtVDData_p.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/layout/printing/PtblVD.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Para.h"

#include "platform/gfx/Bitmap.h"

#include <algorithm>
#include <cstring>

namespace vizivodu {

namespace {

// Clears the page-drawing state of a document when the drawing ends: the page background
// bitmap lives only while its page is drawn.
class TDrawStateGuard {
public:
    explicit TDrawStateGuard(TCustomPrintableVDData &doc) : FDoc(doc) {}
    ~TDrawStateGuard() {
        FDoc.FDrawItem = nullptr;
        FDoc.FParaStyle = nullptr;
        FDoc.FTextBoxItem = nullptr;
        FDoc.FItemTop = 0;
        FDoc.FDrawnGlobalPageNo = 0;
        FDoc.FBackgroundBmp.reset();
    }
    TDrawStateGuard(const TDrawStateGuard &) = delete;
    TDrawStateGuard &operator=(const TDrawStateGuard &) = delete;

private:
    TCustomPrintableVDData &FDoc;
};

// Whether draw item i shows an item that is printed; a page without draw items counts as
// printed.
bool DrawItemPrinted(TCustomPrintableVDData &doc, const TVDPageDrawing &page, int32_t i) {
    if (i < 0 || i >= doc.DrawItems.Count() || page.EndNo < page.StartNo) {
        return true;
    }
    const int32_t itemNo = doc.DrawItems[i]->ItemNo;
    return itemNo >= page.MinItemNo && itemNo <= page.MaxItemNo;
}

bool IsOpaque(const TVDBackgroundRect &background) {
    return background.Color != gfx::clNone && background.Opacity == 100000;
}

void FillBitmap(gfx::TBitmap &bmp, const rtl::TRect &r, gfx::TColor color) {
    gfx::TCanvas &canvas = bmp.GetCanvas();
    canvas.GetBrush().SetStyle(gfx::bsSolid);
    canvas.GetBrush().SetColor(color);
    canvas.FillRect(r);
}

// The part of source at (left, top) that overlaps it, copied pixel by pixel; white elsewhere.
void CopyRegion(const gfx::TBitmap &source, int32_t left, int32_t top, gfx::TBitmap &bmp) {
    FillBitmap(bmp, rtl::Rect(0, 0, bmp.GetWidth(), bmp.GetHeight()), gfx::clWhite);
    const int32_t x0 = std::max(0, left), x1 = std::min(source.GetWidth(), left + bmp.GetWidth());
    const int32_t y0 = std::max(0, top), y1 = std::min(source.GetHeight(), top + bmp.GetHeight());
    for (int32_t y = y0; y < y1 && x0 < x1; ++y) {
        std::memcpy(bmp.ScanLine(y - top) + (x0 - left), source.ScanLine(y) + x0,
                    size_t(x1 - x0) * sizeof(uint32_t));
    }
}

} // namespace

// ---- A page ----

void TCustomPrintableVDData::DrawPage(int32_t pageNo, int32_t globalPageNo, gfx::TCanvas &canvas,
                                      bool preview, bool correction) {
    if (!GetVDStyle()) {
        throw EViziVoduError("Style of printable TViziVodu component is not assigned");
    }
    TCustomVDPrint *print = GetVDPrint();
    TVDPageDrawing page{.Canvas = canvas,
                        .PageNo = pageNo,
                        .GlobalPageNo = globalPageNo,
                        .Preview = preview,
                        .Correction = correction,
                        .ForMetafile = print && print->MetafileCompatibility};
    gfx::TCanvasStateGuard canvasGuard(canvas);
    TDrawStateGuard stateGuard(*this);
    FDrawnGlobalPageNo = globalPageNo;
    canvas.GetBrush().SetStyle(gfx::bsClear);
    FBackgroundBmp.reset();
    GetDrawItemsRange(pageNo, page.StartNo, page.EndNo, page.Part);
    GetPrintableItemsRange(page.MinItemNo, page.MaxItemNo);
    const bool hasContent = DrawItemPrinted(*this, page, page.StartNo);
    if (hasContent) {
        DrawPageBackground(canvas, pageNo, globalPageNo);
    }
    bool afterTextDrawn = false;
    try {
        DrawBeforeText(canvas, globalPageNo, preview, correction, hasContent);
        bool contentAtEnd = hasContent;
        if (PageExists(pageNo)) {
            DrawPageItems(*this, page);
            contentAtEnd = DrawItemPrinted(*this, page, page.EndNo);
        } else {
            FBackgroundBmp.reset();
        }
        afterTextDrawn = true;
        DrawAfterText(canvas, globalPageNo, preview, contentAtEnd);
    } catch (...) {
        // The layers over the text still close the page: the clip to the text area goes and
        // the postpaint event pairs with the prepaint one. The first error is the one reported.
        if (!afterTextDrawn) {
            try {
                DrawAfterText(canvas, globalPageNo, preview, hasContent);
            } catch (...) {
            }
        }
        throw;
    }
}

void TCustomMainPtblVDData::DrawPage(int32_t pageNo, int32_t globalPageNo, gfx::TCanvas &canvas,
                                     bool preview, bool correction) {
    if (pageNo > 0) {
        TCustomMultiPagePtblVDData::DrawPage(pageNo, globalPageNo, canvas, preview, correction);
    }
}

// A picture background is made once for the page in screen pixels (items printed through
// bitmaps copy what lies under them from it) and printed scaled; otherwise the page colour
// fills the text area, unless the owner paints this document's background.
void TCustomPrintableVDData::DrawPageBackground(gfx::TCanvas &canvas, int32_t pageNo,
                                                int32_t globalPageNo) {
    TVDGraphicInterface &gi = GetVDStyle()->GetGraphicInterface();
    const int32_t left = GetPrintableAreaLeft(globalPageNo);
    const int32_t top = GetPrintableAreaTop(globalPageNo);
    const int32_t width = GetWidth();
    const int32_t height = GetContentHeightForPage(pageNo);
    TVDBackground *background = GetBackground();
    if (background && background->Style != bsNoBitmap && !background->EmptyImage()) {
        // A page does not scroll: the picture is tiled from the page's corner.
        if (background->Style == bsTiledAndScrolled) {
            background->Style = bsTiled;
        }
        const TVDScreenAndDevice sad = GetPrintSaD();
        const int32_t w = DeviceToScreenX(width, sad);
        const int32_t h = DeviceToScreenY(height, sad);
        if (w <= 0 || h <= 0) {
            return;
        }
        FBackgroundBmp = std::make_unique<gfx::TBitmap>();
        PrepareWorkBitmap(*FBackgroundBmp, w, h);
        background->Draw(FBackgroundBmp->GetCanvas(), rtl::Rect(0, 0, w, h), 0, 0, 0, 0, w, h,
                         GetColor(), 100000, false, false, gi, this, this, false);
        DrawOrPrintGraphic(canvas, left, top, w, h, &sad, *FBackgroundBmp, vdgdPrintBitmap, gi);
        return;
    }
    const gfx::TColor color = GetColor();
    if (ParentDrawsBack || color == gfx::clNone) {
        return;
    }
    gi.FillColorRect(canvas, rtl::Rect(left, top, left + width, top + height),
                     PageFillColor(color, GetColorMode()));
}

// ---- What lies under a piece printed through a bitmap ----

const TParaInfo *TCustomPrintableVDData::GetParaUnderDrawing() {
    if (FTextBoxItem) {
        return nullptr;
    }
    if (FDrawItem) {
        return &GetVDStyle()->GetParaStyles().GetItem(GetVisibleItemPara(FDrawItem->ItemNo));
    }
    return FParaStyle;
}

void TCustomPrintableVDData::ShiftToDrawItem(int32_t &left, int32_t &top,
                                             const TVDScreenAndDevice &sad, int32_t pageNo) {
    if (FDrawItem) {
        left += DeviceToScreenX(FDrawItem->GetObjectLeft(), sad);
        top += DeviceToScreenY(FItemTop - GetPrintableAreaTop(pageNo), sad);
    }
}

// The translucent colour of the paragraph, then the current item's own background.
void TCustomPrintableVDData::DrawBackLayersOver(int32_t left, int32_t top, gfx::TBitmap &bmp,
                                                const TVDScreenAndDevice &sad,
                                                int32_t itemBackgroundLayer, bool allowBitmaps,
                                                int32_t pageNo) {
    TVDGraphicInterface &gi = GetVDStyle()->GetGraphicInterface();
    const rtl::TRect whole = rtl::Rect(0, 0, bmp.GetWidth(), bmp.GetHeight());
    if (const TParaInfo *para = GetParaUnderDrawing()) {
        if (para->GetBackground().IsSemitransparent()) {
            para->GetBackground().Draw(rtl::Rect(0, 0, whole.Right - 1, whole.Bottom - 1),
                                       bmp.GetCanvas(), true, GetColorMode(), gi, true);
        }
    }
    if (itemBackgroundLayer == 0) {
        return;
    }
    rtl::TRect r = whole;
    TCustomVDItemInfo *item = FTextBoxItem;
    if (FDrawItem) {
        item = GetItem(FDrawItem->ItemNo);
        r = rtl::Bounds(DeviceToScreenX(FDrawItem->GetObjectLeft(), sad) - left,
                        DeviceToScreenY(FItemTop - GetPrintableAreaTop(pageNo), sad) - top,
                        DeviceToScreenX(FDrawItem->GetObjectWidth(), sad),
                        DeviceToScreenY(FDrawItem->GetObjectHeight(), sad));
    }
    if (item) {
        item->DrawBackgroundForPrinting(bmp.GetCanvas(), r, r, GetColorMode(), itemBackgroundLayer,
                                        gi, allowBitmaps);
    }
}

// The page background picture where there is one and the paragraph lets it show; else the
// paragraph's opaque colour, the page colour or white paper, within the text area.
void TCustomPrintableVDData::DrawBackToBitmap(int32_t left, int32_t top, gfx::TBitmap &bmp,
                                              const TVDScreenAndDevice &sad,
                                              int32_t itemBackgroundLayer, bool relativeToItem,
                                              bool allowBitmaps, bool parentAllowBitmaps,
                                              int32_t pageNo) {
    if (relativeToItem) {
        ShiftToDrawItem(left, top, sad, pageNo);
    }
    const TParaInfo *para = GetParaUnderDrawing();
    const bool opaquePara = para && IsOpaque(para->GetBackground());
    if (allowBitmaps && parentAllowBitmaps && FBackgroundBmp && !opaquePara) {
        CopyRegion(*FBackgroundBmp, left, top, bmp);
    } else {
        gfx::TColor color = opaquePara ? para->GetBackground().Color : GetColor();
        if (color == gfx::clNone) {
            color = gfx::clWhite;
        }
        FillBitmap(bmp, rtl::Rect(0, 0, bmp.GetWidth(), bmp.GetHeight()), gfx::clWhite);
        rtl::TRect area = rtl::Rect(0, 0, DeviceToScreenX(GetWidth(), sad),
                                    DeviceToScreenY(GetContentHeightForPage(pageNo), sad));
        area.Offset(-left, -top);
        FillBitmap(bmp, area, PageFillColor(color, GetColorMode()));
    }
    DrawBackLayersOver(left, top, bmp, sad, itemBackgroundLayer, allowBitmaps, pageNo);
}

// A cell with a picture under it, or without a colour of its own, shows what its parent has
// under the cell; the parent's current item (the table) adds its own background.
void TRectPtblVDData::DrawBackToBitmap(int32_t left, int32_t top, gfx::TBitmap &bmp,
                                       const TVDScreenAndDevice &sad, int32_t itemBackgroundLayer,
                                       bool relativeToItem, bool allowBitmaps,
                                       bool parentAllowBitmaps, int32_t pageNo) {
    const TParaInfo *para = GetParaUnderDrawing();
    if (!(para && IsOpaque(para->GetBackground())) &&
        (!(ComplexBackground || Transparent) || !FParentPrintData)) {
        TCustomMultiPagePtblVDData::DrawBackToBitmap(left, top, bmp, sad, itemBackgroundLayer,
                                                     relativeToItem, allowBitmaps,
                                                     parentAllowBitmaps, pageNo);
        return;
    }
    DrawBackOverParent(left, top, bmp, sad, itemBackgroundLayer, relativeToItem, allowBitmaps,
                       pageNo, [&](int32_t l, int32_t t) {
                           const int32_t parentPage = FParentPrintData->GetDrawnGlobalPageNo();
                           const int32_t dx = GetPrintableAreaLeft(pageNo) -
                                              FParentPrintData->GetPrintableAreaLeft(parentPage);
                           const int32_t dy = GetPrintableAreaTop(pageNo) + VOffsInRotatedCell -
                                              FParentPrintData->GetPrintableAreaTop(parentPage);
                           FParentPrintData->DrawBackToBitmap(
                               l + DeviceToScreenX(dx, sad), t + DeviceToScreenY(dy, sad), bmp, sad,
                               -1, false, GetRotation() == vdrotNone && allowBitmaps,
                               parentAllowBitmaps, parentPage);
                       });
}

// A header or footer lies on its parent's page: the parent says what is under it.
void TVDHeaderFooterVDData::DrawBackToBitmap(int32_t left, int32_t top, gfx::TBitmap &bmp,
                                             const TVDScreenAndDevice &sad,
                                             int32_t itemBackgroundLayer, bool relativeToItem,
                                             bool allowBitmaps, bool parentAllowBitmaps,
                                             int32_t pageNo) {
    if (!FParentPrintData) {
        TRectPtblVDData::DrawBackToBitmap(left, top, bmp, sad, itemBackgroundLayer, relativeToItem,
                                          allowBitmaps, parentAllowBitmaps, pageNo);
        return;
    }
    DrawBackOverParent(
        left, top, bmp, sad, itemBackgroundLayer, relativeToItem, allowBitmaps, pageNo,
        [&](int32_t l, int32_t t) {
            const int32_t parentPage = FParentPrintData->GetDrawnGlobalPageNo();
            const int32_t dy = Top - FParentPrintData->GetPrintableAreaTop(parentPage);
            FParentPrintData->DrawBackToBitmap(l, t + DeviceToScreenY(dy, sad), bmp, sad, 0, false,
                                               allowBitmaps, parentAllowBitmaps, parentPage);
        });
}

// An opaque paragraph covers whatever lies under this document: its colour fills the bitmap.
void TRectPtblVDData::DrawBackOverParent(int32_t left, int32_t top, gfx::TBitmap &bmp,
                                         const TVDScreenAndDevice &sad, int32_t itemBackgroundLayer,
                                         bool relativeToItem, bool allowBitmaps, int32_t pageNo,
                                         const std::function<void(int32_t, int32_t)> &drawParent) {
    if (relativeToItem) {
        ShiftToDrawItem(left, top, sad, pageNo);
    }
    const TParaInfo *para = GetParaUnderDrawing();
    if (para && IsOpaque(para->GetBackground())) {
        FillBitmap(bmp, rtl::Rect(0, 0, bmp.GetWidth(), bmp.GetHeight()),
                   PageFillColor(para->GetBackground().Color, GetColorMode()));
    } else {
        drawParent(left, top);
    }
    DrawBackLayersOver(left, top, bmp, sad, itemBackgroundLayer, allowBitmaps, pageNo);
}

// ---- The layers under and over the text ----

// The page events' rectangles of a global page: the sheet's printable area and the text area.
void TPrintableVDData::GetPageRects(int32_t globalPageNo, rtl::TRect &pageRect,
                                    rtl::TRect &printAreaRect) {
    const rtl::TRect &m = GetTmpMForPage(globalPageNo);
    const int32_t width = GetWidth();
    const int32_t height = GetContentHeightForPage(globalPageNo);
    const int32_t left = GetPrintableAreaLeft(globalPageNo);
    const int32_t top = GetPrintableAreaTop(globalPageNo);
    printAreaRect = {left, top, left + width, top + height};
    pageRect = {0, 0, width + m.Left + m.Right, height + m.Top + m.Bottom};
}

void TPrintableVDData::RaisePageEvent(bool prepaint, gfx::TCanvas &canvas, int32_t globalPageNo,
                                      bool preview) {
    auto *print = dynamic_cast<TVDPrint *>(GetVDPrint());
    const TVDPagePrepaintEvent *event =
        print ? (prepaint ? &print->OnPagePrepaint : &print->OnPagePostpaint) : nullptr;
    if (!event || !*event) {
        return;
    }
    rtl::TRect pageRect, printAreaRect;
    GetPageRects(globalPageNo, pageRect, printAreaRect);
    gfx::TCanvasStateGuard guard(canvas);
    (*event)(print, globalPageNo, canvas, preview, pageRect, printAreaRect);
}

// The prepaint event; on a page with printed content the header and the footer of its kind,
// each post-formatted for the page (page fields) between its boxes below and above it; the
// page's boxes below the text; then, with ClipMargins, the clip to the text area, so that
// headers and footers are never cut.
void TPrintableVDData::DrawBeforeText(gfx::TCanvas &canvas, int32_t globalPageNo, bool preview,
                                      bool correction, bool hasContent) {
    RaisePageEvent(true, canvas, globalPageNo, preview);
    if (hasContent) {
        for (TVDHeaderFooterVDData *hf :
             {GetHeaderForPage(globalPageNo), GetFooterForPage(globalPageNo)}) {
            if (hf) {
                hf->Left = GetPrintableAreaLeft(globalPageNo);
                DrawSidenotes(*hf, 1, globalPageNo, vdpitBelowText, canvas, preview, correction,
                              true);
                hf->PostFormat(globalPageNo);
                hf->DrawPage(1, globalPageNo, canvas, preview, correction);
                DrawSidenotes(*hf, 1, globalPageNo, vdpitAboveText, canvas, preview, correction,
                              true);
            }
        }
    }
    if (globalPageNo >= 1 && globalPageNo <= GetPagesCount()) {
        DrawSidenotes(*this, globalPageNo, globalPageNo, vdpitBelowText, canvas, preview,
                      correction, false);
    }
    RgnSaved = false;
    auto *print = dynamic_cast<TVDPrint *>(GetVDPrint());
    if (print && print->ClipMargins) {
        rtl::TRect pageRect, printAreaRect;
        GetPageRects(globalPageNo, pageRect, printAreaRect);
        RgnValid = canvas.GetClipRgn(Rgn) == 1;
        RgnSaved = true;
        canvas.IntersectClipRect(printAreaRect);
    }
}

// The clip of the caller back, the page's footnotes and its boxes above the text, then the
// postpaint event (also when those fail).
void TPrintableVDData::DrawAfterText(gfx::TCanvas &canvas, int32_t globalPageNo, bool preview,
                                     bool hasContent) {
    if (RgnSaved) {
        canvas.SelectClipRgn(RgnValid ? &Rgn : nullptr);
        RgnSaved = false;
    }
    try {
        if (globalPageNo >= 1 && globalPageNo <= GetPagesCount()) {
            DrawFootnotes(globalPageNo, canvas, preview);
            TCustomVDPrint *print = GetVDPrint();
            DrawSidenotes(*this, globalPageNo, globalPageNo, vdpitAboveText, canvas, preview,
                          print && print->PreviewCorrection, false);
        }
    } catch (...) {
        if (hasContent) {
            RaisePageEvent(false, canvas, globalPageNo, preview);
        }
        throw;
    }
    if (hasContent) {
        RaisePageEvent(false, canvas, globalPageNo, preview);
    }
}

} // namespace vizivodu
