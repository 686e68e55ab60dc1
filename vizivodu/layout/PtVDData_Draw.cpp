// Drawing one page of a printable document onto any canvas: the layers under the text (page
// colour, the page events, the header), the page's lines and objects, and the layers over them
// (the footer); and what lies under an item printed through a bitmap.
#include "vizivodu/layout/PtVDData.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/layout/PtblVD.h"
#include "vizivodu/layout/VDGrIn.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Metafile.h"

namespace vizivodu {

namespace {

// Puts the canvas's state back when the drawing ends, also when an exception passes.
class TCanvasStateGuard {
public:
    explicit TCanvasStateGuard(gfx::TCanvas &canvas) : FCanvas(canvas), FLevel(canvas.SaveDC()) {}
    ~TCanvasStateGuard() { FCanvas.RestoreDC(FLevel); }
    TCanvasStateGuard(const TCanvasStateGuard &) = delete;
    TCanvasStateGuard &operator=(const TCanvasStateGuard &) = delete;

private:
    gfx::TCanvas &FCanvas;
    int32_t FLevel;
};

// Clears the page-drawing state of a document when the drawing ends.
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

} // namespace

// Page coordinates: a draw item at document (x, y) is drawn at (x + area left, y - top coord).
// The painter's own shift is the clip rectangle's corner, so the canvas's window origin makes
// up the rest; full-width items and the others then land alike.
void TCustomPrintableVDData::DrawPage(int32_t pageNo, int32_t globalPageNo, gfx::TCanvas &canvas,
                                      bool preview, bool correction) {
    if (!GetVDStyle()) {
        throw EViziVoduError("Style of printable TViziVodu component is not assigned");
    }
    int32_t startNo = 0, endNo = -1, part = -1;
    GetDrawItemsRange(pageNo, startNo, endNo, part);
    const bool hasContent = startNo >= 0 && endNo >= startNo && endNo < DrawItems.Count();
    TCanvasStateGuard canvasGuard(canvas);
    TDrawStateGuard stateGuard(*this);
    FDrawnGlobalPageNo = globalPageNo;
    DrawBeforeText(canvas, globalPageNo, preview, correction, hasContent);
    if (hasContent) {
        const int32_t areaLeft = GetPrintableAreaLeft(pageNo);
        const int32_t areaTop = GetPrintableAreaTop(pageNo);
        const int32_t clipTop = GetTopCoord(pageNo, globalPageNo) + areaTop;
        const rtl::TRect clip = rtl::Rect(0, clipTop, std::max(1, GetWidth()),
                                          clipTop + std::max(1, GetContentHeightForPage(pageNo)));
        TCanvasStateGuard textGuard(canvas);
        const gfx::TPoint org = canvas.GetWindowOrgEx();
        canvas.SetWindowOrgEx(org.X - areaLeft, org.Y - areaTop);
        TVDPaintItemPart *firstPart = nullptr;
        if (part >= 0) {
            if (auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(DrawItems[startNo])) {
                if (part < multi->GetPartsList().Count()) {
                    firstPart = multi->GetPartsList()[part];
                }
            }
        }
        PaintTo(canvas, clip, false, false, true, true, false, 0, 0, startNo, endNo, firstPart,
                nullptr,
                !NoMetafiles() && dynamic_cast<gfx::TMetafileCanvas *>(&canvas) != nullptr);
    }
    DrawAfterText(canvas, globalPageNo, preview, hasContent);
}

void TCustomMainPtblVDData::DrawPage(int32_t pageNo, int32_t globalPageNo, gfx::TCanvas &canvas,
                                     bool preview, bool correction) {
    if (pageNo > 0) {
        TCustomMultiPagePtblVDData::DrawPage(pageNo, globalPageNo, canvas, preview, correction);
    }
}

// The bitmap gets the document's colour (white when it has none): the page is white paper.
void TCustomPrintableVDData::DrawBackToBitmap(int32_t, int32_t, gfx::TBitmap &bmp,
                                              const TVDScreenAndDevice &, int32_t, bool, bool, bool,
                                              int32_t) {
    const gfx::TColor color = GetColor();
    bmp.GetCanvas().GetBrush().SetStyle(gfx::bsSolid);
    bmp.GetCanvas().GetBrush().SetColor(color == gfx::clNone ? gfx::clWhite : color);
    bmp.GetCanvas().FillRect(rtl::Rect(0, 0, bmp.GetWidth(), bmp.GetHeight()));
}

void TRectPtblVDData::DrawBackToBitmap(int32_t left, int32_t top, gfx::TBitmap &bmp,
                                       const TVDScreenAndDevice &sad, int32_t itemBackgroundLayer,
                                       bool relativeToItem, bool allowBitmaps,
                                       bool parentAllowBitmaps, int32_t pageNo) {
    if (FColor == gfx::clNone && FParentPrintData) {
        FParentPrintData->DrawBackToBitmap(left, top, bmp, sad, itemBackgroundLayer, relativeToItem,
                                           allowBitmaps, parentAllowBitmaps, pageNo);
        return;
    }
    TCustomMultiPagePtblVDData::DrawBackToBitmap(left, top, bmp, sad, itemBackgroundLayer,
                                                 relativeToItem, allowBitmaps, parentAllowBitmaps,
                                                 pageNo);
}

void TVDHeaderFooterVDData::DrawBackToBitmap(int32_t left, int32_t top, gfx::TBitmap &bmp,
                                             const TVDScreenAndDevice &sad,
                                             int32_t itemBackgroundLayer, bool relativeToItem,
                                             bool allowBitmaps, bool parentAllowBitmaps,
                                             int32_t pageNo) {
    TRectPtblVDData::DrawBackToBitmap(left, top, bmp, sad, itemBackgroundLayer, relativeToItem,
                                      allowBitmaps, parentAllowBitmaps, pageNo);
}

// Under the text: the page colour, the prepaint event, the header (with the page's numbers);
// with ClipMargins the text is then clipped to the text area until DrawAfterText.
void TPrintableVDData::DrawBeforeText(gfx::TCanvas &canvas, int32_t globalPageNo, bool preview,
                                      bool correction, bool) {
    rtl::TRect pageRect, printAreaRect;
    GetPageRects(globalPageNo, pageRect, printAreaRect);
    const gfx::TColor color = GetColor();
    if (color != gfx::clNone) {
        GetVDStyle()->GetGraphicInterface().FillColorRect(canvas, pageRect, color);
    }
    auto *print = dynamic_cast<TVDPrint *>(GetVDPrint());
    if (print && print->OnPagePrepaint) {
        TCanvasStateGuard guard(canvas);
        print->OnPagePrepaint(print, globalPageNo, canvas, preview, pageRect, printAreaRect);
    }
    if (TVDHeaderFooterVDData *header = GetHeaderForPage(globalPageNo)) {
        header->PostFormat(globalPageNo);
        header->DrawPage(1, globalPageNo, canvas, preview, correction);
    }
    RgnSaved = false;
    if (print && print->ClipMargins) {
        canvas.SaveDC();
        RgnSaved = true;
        canvas.IntersectClipRect(printAreaRect);
    }
}

// Over the text: the footer, post-formatted for the page like the header, and the postpaint
// event.
void TPrintableVDData::DrawAfterText(gfx::TCanvas &canvas, int32_t globalPageNo, bool preview,
                                     bool) {
    if (RgnSaved) {
        canvas.RestoreDC(-1);
        RgnSaved = false;
    }
    if (TVDHeaderFooterVDData *footer = GetFooterForPage(globalPageNo)) {
        footer->PostFormat(globalPageNo);
        footer->DrawPage(1, globalPageNo, canvas, preview, false);
    }
    auto *print = dynamic_cast<TVDPrint *>(GetVDPrint());
    if (print && print->OnPagePostpaint) {
        rtl::TRect pageRect, printAreaRect;
        GetPageRects(globalPageNo, pageRect, printAreaRect);
        TCanvasStateGuard guard(canvas);
        print->OnPagePostpaint(print, globalPageNo, canvas, preview, pageRect, printAreaRect);
    }
}

} // namespace vizivodu
