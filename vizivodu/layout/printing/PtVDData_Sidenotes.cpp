// Sidenotes and text boxes on pages: the boxes placed on the pages that print their items (sized
// absolutely or relative to the sheet, the text area or a margin, anchored to the page, the
// margins, the text area, a cell, or their item's character, line or paragraph), the anchor
// rectangles of items on a page, and the boxes drawn below or above the text.
#include "vizivodu/layout/printing/PtVDData_p.h"

#include "vizivodu/document/VDSidenotes.h"
#include "vizivodu/layout/printing/PtblVD.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Rounding.h"

#include <algorithm>
#include <climits>

namespace vizivodu {

namespace {

// A stretch of one axis: from First to Last (page coordinates).
struct TSpan {
    int32_t First = 0, Last = 0;
    int32_t Length() const { return Last - First; }
};

// The sheet of a page around its text area, in page coordinates (the sheet's edges lie
// outside the printable area by the unprintable border). Odd and even follow the page number.
struct TSheet {
    bool Odd = true;
    TSpan Sheet, Text;   // horizontally
    TSpan SheetV, TextV; // vertically
    TSpan LeftMargin() const { return {Sheet.First, Text.First}; }
    TSpan RightMargin() const { return {Text.Last, Sheet.Last}; }
    TSpan TopMargin() const { return {SheetV.First, TextV.First}; }
    TSpan BottomMargin() const { return {TextV.Last, SheetV.Last}; }
    TSpan Inner() const { return Odd ? LeftMargin() : RightMargin(); }
    TSpan Outer() const { return Odd ? RightMargin() : LeftMargin(); }
};

TSheet SheetOf(TCustomMainPtblVDData &main, int32_t pageNo) {
    TSheet s;
    s.Odd = pageNo % 2 != 0;
    const rtl::TRect &phys = main.PhysM;
    s.Sheet = {-phys.Left, main.GetPageWidth() + phys.Right};
    s.SheetV = {-phys.Top, main.GetPageHeight() + phys.Bottom};
    const int32_t left = main.GetPrintableAreaLeft(pageNo);
    s.Text = {left, left + main.GetWidth()};
    const int32_t top = main.GetTmpMForPage(pageNo).Top;
    s.TextV = {top, top + main.GetContentHeightForPage(pageNo)};
    return s;
}

// Thousandths of a percent of length, rounded.
int32_t Percent(int32_t length, int32_t value) {
    return rtl::RoundSaturated<int32_t>(double(length) * value / 100000.0);
}

bool PageLikeH(TVDHorizontalAnchor a) {
    return a == vdhanPage || a == vdhanMainTextArea || a == vdhanLeftMargin ||
           a == vdhanRightMargin;
}

bool PageLikeV(TVDVerticalAnchor a) {
    return a == vdvanPage || a == vdvanMainTextArea || a == vdvanTopMargin ||
           a == vdvanBottomMargin;
}

// The area of a horizontal anchor: the rectangle found for it, else the sheet's part.
TSpan AnchorH(TVDHorizontalAnchor anchor, const TSheet &sheet, const rtl::TRect *rect) {
    if (rect) {
        return {rect->Left, rect->Right};
    }
    switch (anchor) {
    case vdhanPage:
        return sheet.Sheet;
    case vdhanLeftMargin:
        return sheet.LeftMargin();
    case vdhanRightMargin:
        return sheet.RightMargin();
    case vdhanInnerMargin:
        return sheet.Inner();
    case vdhanOuterMargin:
        return sheet.Outer();
    default:
        return sheet.Text;
    }
}

TSpan AnchorV(TVDVerticalAnchor anchor, const TSheet &sheet, const rtl::TRect *rect) {
    if (rect) {
        return {rect->Top, rect->Bottom};
    }
    switch (anchor) {
    case vdvanPage:
        return sheet.SheetV;
    case vdvanTopMargin:
        return sheet.TopMargin();
    case vdvanBottomMargin:
        return sheet.BottomMargin();
    default:
        return sheet.TextV;
    }
}

// The cell's rectangles for the page-like anchors: the cell is a sheet whose page is the outer
// rectangle and whose text area is the inner one, the margins the strips between them.
void CellAnchors(TVDHorizontalAnchor h, TVDVerticalAnchor v, const rtl::TRect &inner,
                 const rtl::TRect &outer, rtl::TRect &hRect, rtl::TRect &vRect) {
    TSheet cell;
    cell.Sheet = {outer.Left, outer.Right};
    cell.Text = {inner.Left, inner.Right};
    cell.SheetV = {outer.Top, outer.Bottom};
    cell.TextV = {inner.Top, inner.Bottom};
    if (PageLikeH(h)) {
        const TSpan span = AnchorH(h, cell, nullptr);
        hRect.Left = span.First;
        hRect.Right = span.Last;
    }
    if (PageLikeV(v)) {
        const TSpan span = AnchorV(v, cell, nullptr);
        vRect.Top = span.First;
        vRect.Bottom = span.Last;
    }
}

// The page whose kind and parity a header or footer is placed for: 1 (first), 2 (even) or 3.
int32_t HeaderFooterPage(TCustomMainPtblVDData &main, const TVDHeaderFooterVDData &hf) {
    int32_t page = 3;
    if (auto *data = dynamic_cast<TPrintableVDData *>(&main)) {
        data->ForEachHeaderFooter([&](TVDHFType kind, TVDHeaderFooterVDData &each) {
            if (&each == &hf && kind != vdhftNormal) {
                page = kind == vdhftFirstPage ? 1 : 2;
            }
        });
    }
    return page;
}

// Places the boxes of one document's sidenotes and text boxes.
class TVDSidenotePlacer {
public:
    TVDSidenotePlacer(TCustomMultiPagePtblVDData &doc, TCustomMainPtblVDData &main)
        : FDoc(doc), FMain(main), FStyle(*doc.GetVDStyle()), FSaD(main.PrnSad),
          FHeaderFooter(dynamic_cast<TVDHeaderFooterVDData *>(&doc)),
          FHeaderFooterPage(FHeaderFooter ? HeaderFooterPage(main, *FHeaderFooter) : 0) {}

    void Run();

private:
    void PlaceBox(TVDSidenoteItemInfo &sidenote, TCustomPrintableVDData *ptVDData, int32_t itemNo,
                  int32_t globalPageNo, int32_t pageNo);
    std::unique_ptr<TVDSidenotePtblVDData> MakeBox(TVDSidenoteItemInfo &sidenote,
                                                   TCustomPrintableVDData *ptVDData, int32_t itemNo,
                                                   int32_t width);
    void AnchorAreas(const TVDBoxPosition &position, const TSheet &sheet,
                     TCustomPrintableVDData *ptVDData, int32_t itemNo, int32_t globalPageNo,
                     int32_t pageNo, TSpan &h, TSpan &v);
    TSpan BoxSpanH(const TVDSidenoteItemInfo &sidenote, const TSheet &sheet);
    int32_t BoxHeight(const TVDBoxProperties &box, const TSheet &sheet);
    int32_t Offset(TVDFloatPositionKind kind, int32_t offset, int32_t alignment, TSpan area,
                   int32_t paddings, int32_t size, bool horizontal);
    TVDSidenoteList &ListOf(int32_t pageNo);

    TCustomMultiPagePtblVDData &FDoc;
    TCustomMainPtblVDData &FMain;
    TVDStyle &FStyle;
    TVDScreenAndDevice FSaD;
    TVDHeaderFooterVDData *FHeaderFooter;
    const int32_t FHeaderFooterPage;
};

TVDSidenoteList &TVDSidenotePlacer::ListOf(int32_t pageNo) {
    std::unique_ptr<TVDSidenoteList> &list =
        FHeaderFooter ? FHeaderFooter->Sidenotes : FDoc.Pages->Items(pageNo - 1).Sidenotes;
    if (!list) {
        list = std::make_unique<TVDSidenoteList>();
    }
    return *list;
}

void TVDSidenotePlacer::Run() {
    if (FHeaderFooter) {
        FHeaderFooter->Sidenotes.reset();
    }
    TCustomVDData *source = FDoc.GetSourceVDDataForPrinting();
    if (!source || (!FHeaderFooter && FDoc.GetPagesCount() == 0)) {
        return;
    }
    for (TVDSidenoteItemInfo *sidenote = GetFirstSidenote(source, false); sidenote;
         sidenote = GetNextSidenote(source, sidenote, false)) {
        auto *parent = dynamic_cast<TCustomVDFormattedData *>(sidenote->GetParentVDData());
        const int32_t itemNo = parent ? parent->GetItems().IndexOfObject(sidenote) : -1;
        if (itemNo < 0) {
            continue;
        }
        int32_t pageNo = -1, localPageNo = -1, localPageCount = 0;
        TCustomPrintableVDData *ptVDData = nullptr;
        if (!FDoc.GetPageNo(parent, itemNo, parent->GetOffsBeforeItem(itemNo), source, pageNo,
                            localPageNo, localPageCount, ptVDData) ||
            !ptVDData) {
            continue;
        }
        if (FHeaderFooter) {
            PlaceBox(*sidenote, ptVDData, itemNo, FHeaderFooterPage, 1);
            continue;
        }
        for (int32_t k = 0; k < std::max(localPageCount, 1); ++k) {
            if (pageNo + k <= FDoc.GetPagesCount()) {
                PlaceBox(*sidenote, ptVDData, itemNo, pageNo + k, pageNo + k);
            }
        }
    }
}

// The box's outer width from its width type, in printer pixels.
TSpan TVDSidenotePlacer::BoxSpanH(const TVDSidenoteItemInfo &sidenote, const TSheet &sheet) {
    const TVDBoxProperties &box = sidenote.GetBoxProperties();
    switch (box.WidthType) {
    case vdbwtRelPage:
        return {0, Percent(sheet.Sheet.Length(), box.Width)};
    case vdbwtRelMainTextArea:
        return {0, Percent(sheet.Text.Length(), box.Width)};
    case vdbwtRelLeftMargin:
        return {0, Percent(sheet.LeftMargin().Length(), box.Width)};
    case vdbwtRelRightMargin:
        return {0, Percent(sheet.RightMargin().Length(), box.Width)};
    case vdbwtRelInnerMargin:
        return {0, Percent(sheet.Inner().Length(), box.Width)};
    case vdbwtRelOuterMargin:
        return {0, Percent(sheet.Outer().Length(), box.Width)};
    default:
        return {0, FStyle.GetAsDevicePixelsX(box.Width, &FSaD)};
    }
}

// The box's outer height from its height type (0 for an automatic one: the content decides).
int32_t TVDSidenotePlacer::BoxHeight(const TVDBoxProperties &box, const TSheet &sheet) {
    switch (box.HeightType) {
    case vdbhtAbsolute:
        return FStyle.GetAsDevicePixelsY(box.Height, &FSaD);
    case vdbhtRelPage:
        return Percent(sheet.SheetV.Length(), box.Height);
    case vdbhtRelMainTextArea:
        return Percent(sheet.TextV.Length(), box.Height);
    case vdbhtRelTopMargin:
        return Percent(sheet.TopMargin().Length(), box.Height);
    case vdbhtRelBottomMargin:
        return Percent(sheet.BottomMargin().Length(), box.Height);
    default:
        return 0;
    }
}

// The offset of the content from the area's edge before the padding: an absolute length, a
// percentage of the area, or the free space aligned (alignment 0, 1 or 2: start, centre, end).
int32_t TVDSidenotePlacer::Offset(TVDFloatPositionKind kind, int32_t offset, int32_t alignment,
                                  TSpan area, int32_t paddings, int32_t size, bool horizontal) {
    switch (kind) {
    case vdfpkAbsPosition:
        return horizontal ? FStyle.GetAsDevicePixelsX(offset, &FSaD)
                          : FStyle.GetAsDevicePixelsY(offset, &FSaD);
    case vdfpkPercentPosition:
        return Percent(area.Length(), offset);
    default: {
        const int32_t free = area.Length() - paddings - size;
        return alignment == 0 ? 0 : alignment == 1 ? free / 2 : free;
    }
    }
}

// The box's document formatted at the content width; its FullRect still to be placed.
std::unique_ptr<TVDSidenotePtblVDData> TVDSidenotePlacer::MakeBox(TVDSidenoteItemInfo &sidenote,
                                                                  TCustomPrintableVDData *ptVDData,
                                                                  int32_t itemNo, int32_t width) {
    const TVDBackgroundRect &background = sidenote.GetBoxProperties().GetBackground();
    auto box = std::make_unique<TVDSidenotePtblVDData>(&FMain.GetPrintableControl(),
                                                       &sidenote.GetDocument(), &FDoc);
    box->ParentDrawsBack = true;
    box->Transparent = background.Color == gfx::clNone || background.Opacity < 100000;
    box->FColor = background.Color;
    box->Sidenote = &sidenote;
    box->SidenoteItemVDData = dynamic_cast<TCustomVDFormattedData *>(ptVDData);
    box->SidenoteItemNo = itemNo;
    box->Width = width;
    box->Height = 1;
    box->Format(true, false);
    box->Height = box->DocumentHeight;
    return box;
}

// The anchor areas of a box: the item's character, line or paragraph, a cell, or the sheet's
// parts.
void TVDSidenotePlacer::AnchorAreas(const TVDBoxPosition &position, const TSheet &sheet,
                                    TCustomPrintableVDData *ptVDData, int32_t itemNo,
                                    int32_t globalPageNo, int32_t pageNo, TSpan &h, TSpan &v) {
    const bool inCell = ptVDData != &FDoc && position.RelativeToCell;
    const bool needH = position.HorizontalAnchor == vdhanCharacter ||
                       (inCell && PageLikeH(position.HorizontalAnchor));
    const bool needV = position.VerticalAnchor == vdvanLine ||
                       position.VerticalAnchor == vdvanParagraph ||
                       (inCell && PageLikeV(position.VerticalAnchor));
    rtl::TRect hRect, vRect;
    bool foundHere = false;
    const bool found = (needH || needV) && FDoc.GetAnchorObjectCoords(
                                               ptVDData, itemNo, globalPageNo, pageNo,
                                               position.HorizontalAnchor, position.VerticalAnchor,
                                               position.RelativeToCell, hRect, vRect, foundHere);
    h = AnchorH(position.HorizontalAnchor, sheet, found && needH ? &hRect : nullptr);
    v = AnchorV(position.VerticalAnchor, sheet, found && needV ? &vRect : nullptr);
}

void TVDSidenotePlacer::PlaceBox(TVDSidenoteItemInfo &sidenote, TCustomPrintableVDData *ptVDData,
                                 int32_t itemNo, int32_t globalPageNo, int32_t pageNo) {
    const TVDBoxProperties &props = sidenote.GetBoxProperties();
    const TVDBoxPosition &position = sidenote.GetBoxPosition();
    const TSheet sheet = SheetOf(FMain, globalPageNo);
    const int32_t lp = props.GetTotalLeftPaddingSaD(FStyle, &FSaD);
    const int32_t rp = props.GetTotalRightPaddingSaD(FStyle, &FSaD);
    const int32_t tp = props.GetTotalTopPaddingSaD(FStyle, &FSaD);
    const int32_t bp = props.GetTotalBottomPaddingSaD(FStyle, &FSaD);
    const int32_t width = std::max(0, BoxSpanH(sidenote, sheet).Length() - lp - rp);
    std::unique_ptr<TVDSidenotePtblVDData> box = MakeBox(sidenote, ptVDData, itemNo, width);
    const int32_t height = props.HeightType == vdbhtAuto
                               ? box->DocumentHeight
                               : std::max(0, BoxHeight(props, sheet) - tp - bp);
    const int32_t free = height - box->DocumentHeight;
    const int32_t vOffset = std::max(0, props.VAlign == tlCenter   ? free / 2
                                        : props.VAlign == tlBottom ? free
                                                                   : 0);
    TSpan h, v;
    AnchorAreas(position, sheet, ptVDData, itemNo, globalPageNo, pageNo, h, v);
    const int32_t left = h.First + lp +
                         Offset(position.HorizontalPositionKind, position.HorizontalOffset,
                                position.HorizontalAlignment, h, lp + rp, width, true);
    const int32_t top = v.First + tp +
                        Offset(position.VerticalPositionKind, position.VerticalOffset,
                               position.VerticalAlignment, v, tp + bp, height, false);
    box->FullRect = rtl::Rect(left, top, left + width, top + height);
    box->Left = left;
    box->Top = top + vOffset;
    ListOf(pageNo).Add(std::move(box));
}

} // namespace

int32_t RootItemNo(TCustomVDFormattedData *doc, int32_t itemNo, TCustomPrintableVDData &owner) {
    auto *printed = dynamic_cast<TCustomPrintableVDData *>(doc);
    TCustomVDData *source = printed ? printed->GetSourceVDDataForPrinting() : nullptr;
    if (!source || doc == &owner) {
        return itemNo;
    }
    return source->GetAbsoluteRootItemNo(itemNo);
}

void PlaceSidenotes(TCustomMultiPagePtblVDData &doc, TCustomMainPtblVDData &main) {
    if (doc.GetVDStyle() && main.GetPageWidth() > 0) {
        TVDSidenotePlacer(doc, main).Run();
    }
}

// ---- Anchor rectangles ----

bool TCustomMultiPagePtblVDData::GetAnchorObjectCoords(TCustomPrintableVDData *ptVDData,
                                                       int32_t itemNo, int32_t globalPageNo,
                                                       int32_t pageNo, TVDHorizontalAnchor hAnchor,
                                                       TVDVerticalAnchor vAnchor,
                                                       bool relativeToCell, rtl::TRect &hAnchorRect,
                                                       rtl::TRect &vAnchorRect, bool &foundHere) {
    if (ptVDData == this) {
        foundHere = true;
        return AnchorRectsHere(itemNo, globalPageNo, pageNo, vAnchor, hAnchorRect, vAnchorRect);
    }
    int32_t startNo = 0, endNo = -1, part = -1;
    GetDrawItemsRange(pageNo, startNo, endNo, part);
    for (int32_t i = std::max(startNo, 0); i <= endNo && i < DrawItems.Count(); ++i) {
        auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(DrawItems[i]);
        if (!multi) {
            continue;
        }
        const int32_t partNo = i == startNo && part >= 0 ? part : 0;
        TCustomVDItemInfo *item = GetItem(DrawItems[i]->ItemNo);
        std::unique_ptr<TVDStoreSubVDData> state;
        for (TCustomVDData *sub = item->GetSubVDData(state, vddFirst); sub && state;
             sub = item->GetSubVDData(state, vddNext)) {
            auto *printed =
                dynamic_cast<TCustomMultiPagePtblVDData *>(multi->GetPrintableVDDataFor(*state));
            bool subHere = false;
            rtl::TRect inner, outer;
            rtl::TPoint origin;
            if (!printed ||
                !printed->GetAnchorObjectCoords(
                    ptVDData, itemNo, globalPageNo, multi->GetLocalPageNoFor(*state, partNo),
                    hAnchor, vAnchor, relativeToCell, hAnchorRect, vAnchorRect, subHere) ||
                !multi->GetSubDocCoords(*state, partNo, inner, outer, origin)) {
                continue;
            }
            hAnchorRect.Offset(origin.X, origin.Y);
            vAnchorRect.Offset(origin.X, origin.Y);
            if (relativeToCell && subHere) {
                CellAnchors(hAnchor, vAnchor, inner, outer, hAnchorRect, vAnchorRect);
            }
            int32_t dx = 0, dy = 0;
            PageShift(i, globalPageNo, pageNo, startNo, part, dx, dy);
            dx += DrawItems[i]->GetObjectLeft();
            dy += GetTransformedDItemTop(i);
            hAnchorRect.Offset(dx, dy);
            vAnchorRect.Offset(dx, dy);
            foundHere = false;
            return true;
        }
    }
    return false;
}

// How a document Y and X of draw item i become page coordinates: the main document and headers
// and footers lie at their printable area and top coordinate, other paginated documents start
// their pages at the page's StartY.
void TCustomMultiPagePtblVDData::PageShift(int32_t i, int32_t globalPageNo, int32_t pageNo,
                                           int32_t startNo, int32_t part, int32_t &dx,
                                           int32_t &dy) {
    const bool afterPart = part >= 0 && i > startNo;
    if (dynamic_cast<TCustomMainPtblVDData *>(this) ||
        dynamic_cast<TVDHeaderFooterVDData *>(this)) {
        dx = GetPrintableAreaLeft(globalPageNo);
        dy = -(afterPart ? GetTopCoord2(pageNo, globalPageNo) : GetTopCoord(pageNo, globalPageNo));
        return;
    }
    dx = 0;
    dy = 0;
    if (pageNo >= 1 && pageNo <= GetPagesCount()) {
        const TVDPageInfo &page = Pages->Items(pageNo - 1);
        dy = -(afterPart ? page.StartY2 : page.StartY);
    }
}

// The anchors of an item of this document: its first draw item horizontally; vertically its
// line, its paragraph's lines on the page (with the paragraph's spacing) or the draw item.
bool TCustomMultiPagePtblVDData::AnchorRectsHere(int32_t itemNo, int32_t globalPageNo,
                                                 int32_t pageNo, TVDVerticalAnchor vAnchor,
                                                 rtl::TRect &hRect, rtl::TRect &vRect) {
    if (GetPagesCount() > 0 ? pageNo > GetPagesCount() : pageNo != 1) {
        return false;
    }
    const int32_t first = FindDrawItemByItem(itemNo);
    if (first < 0) {
        return false;
    }
    if (GetRotation() != vdrotNone) {
        hRect = vRect = rtl::TRect{};
        return true;
    }
    int32_t startNo = 0, endNo = -1, part = -1;
    GetDrawItemsRange(pageNo, startNo, endNo, part);
    int32_t from = first, to = first;
    if (vAnchor == vdvanLine || vAnchor == vdvanParagraph) {
        while (from > 0 && !DrawItems[from]->FromNewLine &&
               (vAnchor == vdvanLine || !IsDrawItemParaStart(from))) {
            --from;
        }
        while (to + 1 < DrawItems.Count() && !DrawItems[to + 1]->FromNewLine) {
            ++to;
        }
        if (vAnchor == vdvanParagraph) {
            while (from > 0 && !IsDrawItemParaStart(from)) {
                --from;
            }
            while (to + 1 < DrawItems.Count() && !IsDrawItemParaStart(to + 1)) {
                ++to;
            }
            if (startNo >= 0 && endNo >= startNo) {
                from = std::clamp(from, startNo, endNo);
                to = std::clamp(to, from, endNo);
            }
        }
    }
    int32_t top = INT_MAX, bottom = INT_MIN;
    for (int32_t k = from; k <= to; ++k) {
        const TVDDrawLineInfo &d = *DrawItems[k];
        const int32_t y = GetTransformedDItemTop(k);
        top = std::min(top, y - d.GetExtraSpaceAbove());
        bottom = std::max(bottom, y + d.Height + d.GetExtraSpaceBelow());
    }
    if (vAnchor == vdvanParagraph) {
        top -= ParaSpaceBefore(from);
        bottom += ParaSpaceAfter(to);
    }
    const TVDDrawLineInfo &d = *DrawItems[first];
    const int32_t y = GetTransformedDItemTop(first);
    hRect = rtl::Rect(d.Left, y, d.Left + d.Width, y + d.Height);
    vRect = rtl::Rect(d.Left, top, d.Left + d.Width, bottom);
    int32_t dx = 0, dy = 0;
    PageShift(first, globalPageNo, pageNo, startNo, part, dx, dy);
    hRect.Offset(dx, dy);
    vRect.Offset(dx, dy);
    return true;
}

// ---- Drawing ----

namespace {

// The box background: a translucent one over what lies under it on the page (through a
// bitmap), an opaque one directly.
void DrawBoxBackground(TCustomPrintableVDData &backData, const TVDBackgroundRect &background,
                       const rtl::TRect &rect, int32_t globalPageNo, gfx::TCanvas &canvas) {
    TVDStyle &style = *backData.GetVDStyle();
    TVDGraphicInterface &gi = style.GetGraphicInterface();
    const TVDScreenAndDevice sad = backData.GetPrintSaD();
    const TVDColorMode colorMode = backData.GetColorMode();
    if (!background.IsSemitransparent()) {
        background.Draw(rect, canvas, true, colorMode, gi, false);
        return;
    }
    const int32_t w = DeviceToScreenX(rect.Width() + 1, sad);
    const int32_t h = DeviceToScreenY(rect.Height() + 1, sad);
    if (w <= 0 || h <= 0) {
        return;
    }
    gfx::TBitmap bmp;
    PrepareWorkBitmap(bmp, w, h);
    backData.DrawBackToBitmap(
        DeviceToScreenX(rect.Left - backData.GetPrintableAreaLeft(globalPageNo), sad),
        DeviceToScreenY(rect.Top - backData.GetPrintableAreaTop(globalPageNo), sad), bmp, sad, 0,
        false, true, true, globalPageNo);
    background.Draw(rtl::Rect(0, 0, w - 1, h - 1), bmp.GetCanvas(), true, colorMode, gi, true);
    DrawOrPrintGraphic(canvas, rect.Left, rect.Top, w, h, &sad, bmp, vdgdPrintBitmap, gi);
}

// Clears the text-box item of the drawing document also when drawing raises.
struct TTextBoxScope {
    TCustomPrintableVDData &Data;
    ~TTextBoxScope() { Data.FTextBoxItem = nullptr; }
};

} // namespace

void DrawSidenotes(TCustomMultiPagePtblVDData &doc, int32_t pageNo, int32_t globalPageNo,
                   TVDFloatPositionInText layer, gfx::TCanvas &canvas, bool preview,
                   bool correction, bool postFormat) {
    TVDSidenoteList *list = doc.GetSidenoteList(pageNo);
    if (!list || list->GetCount() == 0) {
        return;
    }
    auto *headerFooter = dynamic_cast<TVDHeaderFooterVDData *>(&doc);
    TCustomPrintableVDData &backData = headerFooter && headerFooter->FParentPrintData
                                           ? *headerFooter->FParentPrintData
                                           : static_cast<TCustomPrintableVDData &>(doc);
    TTextBoxScope scope{backData};
    TVDStyle &style = *doc.GetVDStyle();
    const TVDScreenAndDevice sad = doc.GetPrintSaD();
    int32_t minItemNo = 0, maxItemNo = -1;
    doc.GetPrintableItemsRange(minItemNo, maxItemNo);
    for (rtl::Integer k = 0; k < list->GetCount(); ++k) {
        TVDSidenotePtblVDData &box = *list->Get(k);
        if (box.Sidenote->GetBoxPosition().PositionInText != layer) {
            continue;
        }
        const int32_t itemNo = RootItemNo(box.SidenoteItemVDData, box.SidenoteItemNo, doc);
        if (itemNo < minItemNo || itemNo > maxItemNo) {
            continue;
        }
        const TVDBoxProperties &props = box.Sidenote->GetBoxProperties();
        rtl::TRect rect = box.FullRect;
        backData.FTextBoxItem = box.Sidenote;
        props.GetBackground().PrepareDrawSaD(rect, style, &sad);
        DrawBoxBackground(backData, props.GetBackground(), rect, globalPageNo, canvas);
        {
            const gfx::TCanvasStateGuard saved(canvas);
            canvas.IntersectClipRect(
                rtl::Rect(rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1));
            if (postFormat) {
                box.PostFormat(globalPageNo);
            }
            box.DrawPage(1, globalPageNo, canvas, preview, correction);
        }
        props.GetBorder().DrawSaD(box.FullRect, canvas, style, &sad, doc.GetColorMode(),
                                  style.GetGraphicInterface());
    }
}

} // namespace vizivodu
