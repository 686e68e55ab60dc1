// The draw items of one printed page: paragraph backgrounds and borders and text backgrounds
// first, then the content (text in the colour mode, objects printed directly or through
// bitmaps, checkpoint signs) with the hooks told of printed hyperlinks and checkpoints.
#include "vizivodu/layout/printing/PtVDData_p.h"

#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Para.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/ScopeExit.h"

#include <algorithm>
#include <climits>

namespace vizivodu {

namespace {

// The right limit handed to objects that are not full-width: they print at their own size.
constexpr int32_t NoRightLimit = -1;

class TVDPagePainter {
public:
    TVDPagePainter(TCustomPrintableVDData &doc, const TVDPageDrawing &page)
        : FDoc(doc), FPage(page), FCanvas(page.Canvas), FStyle(*doc.GetVDStyle()),
          FGI(FStyle.GetGraphicInterface()), FSaD(doc.GetPrintSaD()),
          FColorMode(doc.GetColorMode()), FAreaLeft(doc.GetPrintableAreaLeft(page.GlobalPageNo)),
          FTopY(doc.GetTopCoord(page.PageNo, page.GlobalPageNo)),
          FTopY2(doc.GetTopCoord2(page.PageNo, page.GlobalPageNo)),
          FLeftMargin(ScreenToDeviceX(doc.GetLeftMargin(), FSaD)),
          FTops(doc.BuildTransformedYCoords()) {}

    void BackgroundPass();
    void ContentPass();

private:
    TVDDrawLineInfo &D(int32_t i) { return *FDoc.DrawItems[i]; }
    TCustomVDItemInfo &ItemOf(int32_t i) { return *FDoc.GetItem(D(i).ItemNo); }
    // The document Y at the page's top for draw item i: after a continued part the items
    // follow that part.
    int32_t TopShift(int32_t i);
    int32_t PageTop(int32_t i);
    int32_t PartHeight(int32_t i);
    int32_t PartOf(int32_t i);
    bool FirstOfItem(int32_t i) { return i == 0 || D(i - 1).ItemNo != D(i).ItemNo; }
    bool BorderStart(int32_t i) { return FirstOfItem(i) && ItemOf(i).CanBeBorderStart(); }
    void ParaBackground(int32_t first, int32_t last);
    bool ParaBackThroughBitmap(const rtl::TRect &back, const TParaInfo &para);
    void TextBackgrounds(int32_t first, int32_t last);
    void LineBounds(int32_t i, int32_t &top, int32_t &bottom);
    void Checkpoint(int32_t i, int32_t y);
    void NonText(int32_t i, int32_t y);
    void BoxFillAndFrame(TCustomVDItemInfo &item, int32_t i, int32_t x, int32_t y);
    void PrintThroughBitmap(TCustomVDItemInfo &item, int32_t i, int32_t x, int32_t part);
    void ApplyTextStyle(int32_t styleNo, const TFontInfo &font, TVDBiDiMode paraBiDi);
    void Text(int32_t i, int32_t y);

    TCustomPrintableVDData &FDoc;
    const TVDPageDrawing &FPage;
    gfx::TCanvas &FCanvas;
    TVDStyle &FStyle;
    TVDGraphicInterface &FGI;
    const TVDScreenAndDevice FSaD;
    const TVDColorMode FColorMode;
    const int32_t FAreaLeft, FTopY, FTopY2, FLeftMargin;
    std::unique_ptr<std::vector<int32_t>> FTops;
    gfx::TBitmap FWork;
    int32_t FCachedStyle = -1;
    TVDBiDiMode FCachedBiDi = vdbdUnspecified;
};

int32_t TVDPagePainter::TopShift(int32_t i) {
    return FPage.Part >= 0 && i > FPage.StartNo ? FTopY2 : FTopY;
}

int32_t TVDPagePainter::PageTop(int32_t i) {
    return (FTops ? (*FTops)[static_cast<size_t>(i)] : D(i).Top) - TopShift(i);
}

// A split item that begins the page shows the page's part; one that ends it (and does not begin
// it) its first part.
int32_t TVDPagePainter::PartHeight(int32_t i) {
    const int32_t part = PartOf(i);
    if (part >= 0) {
        const TVDMultiDrawItemPartsList &parts =
            static_cast<TVDMultiDrawItemInfo &>(D(i)).GetPartsList();
        if (const TVDMultiDrawItemPart *p = parts[part]) {
            return p->Height;
        }
    }
    return D(i).Height;
}

int32_t TVDPagePainter::PartOf(int32_t i) {
    auto *multi = dynamic_cast<TVDMultiDrawItemInfo *>(&D(i));
    if (!multi || multi->GetPartsList().Count() == 0) {
        return -1;
    }
    if (i == FPage.StartNo) {
        return FPage.Part < multi->GetPartsList().Count() ? FPage.Part : -1;
    }
    return 0;
}

// ---- Backgrounds ----

// One section per item that can begin a border (a paragraph); breaks have none.
void TVDPagePainter::BackgroundPass() {
    const bool textBacks = FStyle.OnDrawTextBack || FStyle.GetTextBackgroundKind() != vdtbkSimple;
    int32_t first = FPage.StartNo;
    while (first <= FPage.EndNo) {
        int32_t last = first;
        while (last < FPage.EndNo && !BorderStart(last + 1)) {
            ++last;
        }
        if (ItemOf(first).StyleNo != StyleNoBreak) {
            ParaBackground(first, last);
            if (textBacks) {
                TextBackgrounds(first, last);
            }
        }
        first = last + 1;
    }
}

void TVDPagePainter::ParaBackground(int32_t first, int32_t last) {
    const int32_t paraNo = FDoc.GetVisibleItemPara(D(first).ItemNo);
    const TParaInfo &para = FStyle.GetParaStyles().GetItem(paraNo);
    const TVDBackgroundRect &background = para.GetBackground();
    const bool hasBack = background.Color != gfx::clNone && background.Opacity >= 1;
    if (para.GetBorder().Style == vdbNone && !hasBack && !FStyle.OnDrawParaBack) {
        return;
    }
    int32_t left = FLeftMargin + FStyle.GetAsDevicePixelsX(para.GetLeftIndent(), &FSaD);
    if (para.GetFirstIndent() < 0) {
        left += FStyle.GetAsDevicePixelsX(para.GetFirstIndent(), &FSaD);
    }
    const int32_t right =
        FLeftMargin + FDoc.TextWidth - FStyle.GetAsDevicePixelsX(para.GetRightIndent(), &FSaD);
    int32_t top = INT_MAX, bottom = INT_MIN;
    for (int32_t k = first; k <= last; ++k) {
        top = std::min(top, PageTop(k) - D(k).GetExtraSpaceAbove());
        bottom = std::max(bottom, PageTop(k) + PartHeight(k) + D(k).GetExtraSpaceBelow());
    }
    const rtl::TRect r{FAreaLeft + left, top, FAreaLeft + right - 1, bottom - 1};
    rtl::TRect back = r;
    background.PrepareDrawSaD(back, FStyle, &FSaD);
    FStyle.ItemNo = D(last).ItemNo;
    FStyle.VDData = &FDoc;
    if (FPage.Preview && FDoc.AllowTransparentDrawing()) {
        FStyle.DrawParaBack(FCanvas, paraNo, back, true, FColorMode, true);
    } else if (!background.IsSemitransparent() || !ParaBackThroughBitmap(back, para)) {
        FStyle.DrawParaBack(FCanvas, paraNo, back, true, FColorMode, false);
    }
    if (para.GetBorder().Style != vdbNone) {
        para.GetBorder().DrawSaD(r, FCanvas, FStyle, &FSaD, FColorMode, FGI);
    }
    FStyle.ItemNo = -1;
    FStyle.VDData = nullptr;
}

// What lies under the paragraph, with its translucent colour over it (the document's
// DrawBackToBitmap adds the current paragraph's), drawn as one picture. back includes its right
// and bottom edges.
bool TVDPagePainter::ParaBackThroughBitmap(const rtl::TRect &back, const TParaInfo &para) {
    const int32_t w = DeviceToScreenX(back.Width() + 1, FSaD);
    const int32_t h = DeviceToScreenY(back.Height() + 1, FSaD);
    if (w <= 0 || h <= 0) {
        return false;
    }
    gfx::TBitmap bmp;
    PrepareWorkBitmap(bmp, w, h);
    const rtl::TValueScope paraStyle(FDoc.FParaStyle, &para);
    const int32_t areaTop = FDoc.GetPrintableAreaTop(FPage.GlobalPageNo);
    FDoc.DrawBackToBitmap(DeviceToScreenX(back.Left - FAreaLeft, FSaD),
                          DeviceToScreenY(back.Top - areaTop, FSaD), bmp, FSaD, 0, false, true,
                          true, FPage.GlobalPageNo);
    DrawOrPrintGraphic(FCanvas, back.Left, back.Top, w, h, &FSaD, bmp, vdgdPrintBitmap, FGI);
    return true;
}

// Runs of text in one style within a line; with vdtbkLines as tall as their line.
void TVDPagePainter::TextBackgrounds(int32_t first, int32_t last) {
    const bool lines = FStyle.GetTextBackgroundKind() == vdtbkLines;
    int32_t a = first;
    while (a <= last) {
        TCustomVDItemInfo &item = ItemOf(a);
        if (!item.IsText()) {
            ++a;
            continue;
        }
        const int32_t styleNo = FDoc.GetActualStyle(item);
        rtl::TRect r = rtl::Bounds(D(a).Left, PageTop(a), D(a).Width, D(a).Height);
        int32_t b = a + 1;
        for (; b <= last && !D(b).FromNewLine && ItemOf(b).IsText() &&
               FDoc.GetActualStyle(ItemOf(b)) == styleNo;
             ++b) {
            r.Right = D(b).Left + D(b).Width;
            r.Top = std::min(r.Top, PageTop(b));
            r.Bottom = std::max(r.Bottom, PageTop(b) + D(b).Height);
        }
        if (lines) {
            LineBounds(a, r.Top, r.Bottom);
        }
        r.Offset(FAreaLeft, 0);
        FStyle.DrawTextBack(FCanvas, D(a).ItemNo, styleNo, &FDoc, r.Left, r.Top, r.Width(),
                            r.Height(), {}, true, FColorMode);
        a = b;
    }
}

// The line of draw item i within the page: the least top and the greatest bottom.
void TVDPagePainter::LineBounds(int32_t i, int32_t &top, int32_t &bottom) {
    int32_t first = i;
    while (first > FPage.StartNo && !D(first).FromNewLine) {
        --first;
    }
    top = INT_MAX;
    bottom = INT_MIN;
    for (int32_t k = first; k <= FPage.EndNo && (k == first || !D(k).FromNewLine); ++k) {
        top = std::min(top, PageTop(k));
        bottom = std::max(bottom, PageTop(k) + PartHeight(k) + D(k).GetExtraSpaceBelow());
    }
}

// ---- Content ----

void TVDPagePainter::ContentPass() {
    for (int32_t i = FPage.StartNo; i <= FPage.EndNo; ++i) {
        const int32_t itemNo = D(i).ItemNo;
        if (itemNo < FPage.MinItemNo) {
            continue;
        }
        if (itemNo > FPage.MaxItemNo) {
            break;
        }
        FDoc.FDrawItem = &D(i);
        TCustomVDItemInfo &item = ItemOf(i);
        const int32_t y = PageTop(i);
        if (item.GetBoolValueEx(vdbpJump, &FStyle)) {
            FDoc.DoHyperlinkPrinted(&FDoc, itemNo,
                                    rtl::Bounds(D(i).Left + FAreaLeft, y, D(i).Width, D(i).Height));
        }
        if (item.Checkpoint && FirstOfItem(i) && !(i == FPage.StartNo && FPage.Part > 0)) {
            Checkpoint(i, y);
        }
        if (FDoc.GetActualStyle(item) < 0) {
            NonText(i, y);
            FCachedStyle = -1; // objects may change the canvas's font
        } else {
            Text(i, y);
        }
    }
    FDoc.FDrawItem = nullptr;
}

void TVDPagePainter::Checkpoint(int32_t i, int32_t y) {
    TCustomVDItemInfo &item = ItemOf(i);
    const int32_t x = D(i).Left + FAreaLeft;
    FDoc.FItemTop = y;
    FDoc.DoCheckpointPrinted(&FDoc, D(i).ItemNo, x, y);
    if (FDoc.GetOptions().Contains(vdoShowCheckpoints)) {
        FStyle.DrawCheckpoint(FCanvas, x, y, FAreaLeft, FDoc.GetWidth(), &FDoc, D(i).ItemNo, 0,
                              item.Checkpoint->RaiseEvent, FDoc.GetParentControl());
        FCachedStyle = -1;
    }
}

void TVDPagePainter::NonText(int32_t i, int32_t y) {
    TCustomVDItemInfo &item = ItemOf(i);
    const TVDDrawLineInfo &d = D(i);
    const bool floating = dynamic_cast<const TVDFloatingDrawLineInfo *>(&d) != nullptr;
    FDoc.FItemTop = floating ? FDoc.GetTransformedDItemObjectTop(i) - TopShift(i) : y;
    const int32_t x = d.GetObjectLeft() + FAreaLeft;
    const int32_t part = PartOf(i);
    const bool direct =
        (FPage.Preview && FDoc.AllowTransparentDrawing()) ||
        !item.GetBoolValueEx(FDoc.NoMetafiles() ? vdbpPrintToBMPIfNoMetafiles : vdbpPrintToBMP,
                             &FStyle);
    const bool fullWidth = item.GetBoolValue(vdbpFullWidth);
    if (!direct) {
        if (!fullWidth) {
            BoxFillAndFrame(item, i, x, FDoc.FItemTop);
        }
        PrintThroughBitmap(item, i, x, part);
        return;
    }
    int32_t right = NoRightLimit;
    if (fullWidth) {
        right = FAreaLeft + FLeftMargin + FDoc.TextWidth;
    } else {
        BoxFillAndFrame(item, i, x, FDoc.FItemTop);
    }
    item.Print(FCanvas, x, FDoc.FItemTop, right, FPage.Preview, FPage.Correction, FSaD, part,
               FColorMode, &FDoc, i, FPage.GlobalPageNo, FPage.ForMetafile);
}

// The box of a rectangular item inside its outer spacing: its background colour and frame.
void TVDPagePainter::BoxFillAndFrame(TCustomVDItemInfo &item, int32_t i, int32_t x, int32_t y) {
    auto *rect = dynamic_cast<TVDRectItemInfo *>(&item);
    if (!rect) {
        return;
    }
    const int32_t oh = FStyle.GetAsDevicePixelsX(rect->OuterHSpacing, &FSaD);
    const int32_t ov = FStyle.GetAsDevicePixelsY(rect->OuterVSpacing, &FSaD);
    const rtl::TRect box =
        rtl::Rect(x + oh, y + ov, x + D(i).GetObjectWidth() - oh, y + D(i).GetObjectHeight() - ov);
    if (rect->BackgroundColor != gfx::clNone) {
        FGI.FillColorRect(FCanvas, box, PageFillColor(rect->BackgroundColor, FColorMode));
    }
    const int32_t width = FStyle.GetAsDevicePixelsX(rect->BorderWidth, &FSaD);
    if (width >= 1 && rect->BorderColor != gfx::clNone) {
        gfx::TPen &pen = FCanvas.GetPen();
        pen.SetWidth(width);
        pen.SetColor(GetTextColorForMode(rect->BorderColor, FColorMode));
        pen.SetStyle(gfx::psInsideFrame);
        FCanvas.GetBrush().SetStyle(gfx::bsClear);
        FGI.Rectangle(FCanvas, box.Left, box.Top, box.Right, box.Bottom);
        pen.SetStyle(gfx::psSolid);
        pen.SetWidth(1);
    }
}

// The item draws itself into a bitmap (screen pixels) that holds what lies under it; a refusal
// leaves its place empty.
void TVDPagePainter::PrintThroughBitmap(TCustomVDItemInfo &item, int32_t i, int32_t x,
                                        int32_t part) {
    int32_t h = item.GetImageHeight(&FStyle);
    if (part >= 0) {
        TVDMultiDrawItemPart *p = static_cast<TVDMultiDrawItemInfo &>(D(i)).GetPartsList()[part];
        h = p ? p->GetImageHeight() : 0;
    }
    const int32_t w =
        item.GetBoolValue(vdbpFullWidth)
            ? DeviceToScreenX(FLeftMargin + FDoc.TextWidth - D(i).GetObjectLeft(), FSaD)
            : item.GetImageWidth(&FStyle);
    if (w <= 0 || h <= 0) {
        return;
    }
    const int32_t bw = FStyle.GetAsDevicePixelsX(item.GetBorderWidth(), &FSaD);
    const int32_t bh = FStyle.GetAsDevicePixelsY(item.GetBorderHeight(), &FSaD);
    PrepareWorkBitmap(FWork, w, h);
    FDoc.DrawBackToBitmap(DeviceToScreenX(bw, FSaD), DeviceToScreenY(bh, FSaD), FWork, FSaD, 0,
                          true, true, true, FPage.GlobalPageNo);
    if (item.PrintToBitmap(FWork, FPage.Preview, &FDoc, i, part, FColorMode)) {
        DrawOrPrintGraphic(FCanvas, x + bw, FDoc.FItemTop + bh, w, h, &FSaD, FWork, vdgdPrintBitmap,
                           FGI);
    }
}

// The style goes to the canvas when it changes; a paragraph of another direction in the same
// style takes only its direction (and with it the spacing of characters).
void TVDPagePainter::ApplyTextStyle(int32_t styleNo, const TFontInfo &font, TVDBiDiMode paraBiDi) {
    if (styleNo == FCachedStyle && paraBiDi == FCachedBiDi) {
        return;
    }
    if (styleNo != FCachedStyle) {
        TVDApplyOptions options{vdaoCanUseCustomPPI, vdaoCanUseFontQuality};
        if (FDoc.UseVerticalFonts()) {
            options.Include(vdaoUseVerticalFont);
        }
        FStyle.ApplyStyle(FCanvas, styleNo, paraBiDi, options, nullptr);
    } else {
        font.ApplyBiDiMode(FCanvas, paraBiDi, false, FGI);
    }
    if (font.GetBiDiMode() == vdbdUnspecified && paraBiDi == vdbdUnspecified &&
        font.GetCharSpacing() != 0) {
        FGI.SetTextCharacterExtra(FCanvas, FStyle.GetAsDevicePixelsX(font.GetCharSpacing(), &FSaD));
    }
    FCachedStyle = styleNo;
    FCachedBiDi = paraBiDi;
}

void TVDPagePainter::Text(int32_t i, int32_t y) {
    const TVDDrawLineInfo &d = D(i);
    TCustomVDItemInfo &item = ItemOf(i);
    const int32_t styleNo = FDoc.GetActualStyle(item);
    const TFontInfo &font = FStyle.GetTextStyles().GetItem(styleNo);
    const TVDBiDiMode paraBiDi = FDoc.GetParaBiDiMode(FDoc.GetVisibleItemPara(d.ItemNo));
    ApplyTextStyle(styleNo, font, paraBiDi);
    if (FStyle.GetTextBackgroundKind() != vdtbkSimple) {
        FStyle.ApplyStyleTextColor(FCanvas, styleNo, {}, true, FColorMode);
        FCanvas.GetBrush().SetStyle(gfx::bsClear);
    } else {
        FStyle.ApplyStyleColor(FCanvas, styleNo, {}, true, FColorMode);
    }
    TVDDrawTextForm form;
    form.unicode = item.ItemOptions.Contains(vdioUnicode);
    form.allCaps = font.GetStyleEx().Contains(vdfsAllCaps);
    form.showSoftHyphens = false;
    const TVDRawByteString text =
        GetTextForDrawing(FDoc.DrawItems.GetString(i, FDoc.GetItems()), form,
                          FDoc.IsDrawItemLastOnWrappedLine(i), font.IsSymbolCharset(), true, false);
    const bool corrected = FPage.Preview && FPage.Correction;
    FStyle.DrawStyleText({.Text = text,
                          .Canvas = &FCanvas,
                          .StyleNo = styleNo,
                          .ItemNo = d.ItemNo,
                          .OffsetInItem = d.Offs,
                          .VDData = &FDoc,
                          .SpaceAtLeft = d.GetSpaceAtLeft(),
                          .Left = d.Left + FAreaLeft,
                          .Top = y,
                          .Width = d.Width,
                          .Height = d.Height,
                          .TextWidth = d.GetTextWidth(),
                          .SpaceCount = d.GetSpaceCount(),
                          .Printing = corrected,
                          .PreviewCorrection = corrected,
                          .Output = FPage.ForMetafile ? vdtoMetafile : vdtoDevice,
                          .ColorMode = FColorMode,
                          .DefBiDiMode = FDoc.GetItemBiDiMode(d.ItemNo),
                          .LeftNoExpIndex = d.GetLeftNoExpandIndex() - 1,
                          .RightNoExpIndex = d.GetRightNoExpandIndex() - 1});
}

} // namespace

gfx::TColor PageFillColor(gfx::TColor color, TVDColorMode colorMode) {
    return GetBackColorForMode(color, colorMode);
}

void PrepareWorkBitmap(gfx::TBitmap &bmp, int32_t width, int32_t height) {
    bmp.SetPixelFormat(gfx::pf32bit);
    bmp.SetSize(width, height);
}

void DrawPageItems(TCustomPrintableVDData &doc, const TVDPageDrawing &page) {
    if (page.StartNo < 0 || page.EndNo < page.StartNo || page.EndNo >= doc.DrawItems.Count()) {
        return;
    }
    TVDPagePainter painter(doc, page);
    painter.BackgroundPass();
    painter.ContentPass();
}

} // namespace vizivodu
