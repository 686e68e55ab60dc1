// Painting of a formatted document from its draw items: the background behind a rectangle,
// then paragraph backgrounds and borders, floats beside the first line, text backgrounds, soft
// page breaks, the text and objects with selection and hover, placeholders and the end
// checkpoint. With a clip the first draw item comes from a binary search and the paragraph
// pass ends the range at the first line below the clip, so a long document paints in time
// proportional to the visible part.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/editing/VDWordPainter.h"

#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDRazavIrezIzir.h"
#include "vizivodu/layout/formatting/CVDFData_p.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"

#include "platform/gfx/Bitmap.h"

#include <algorithm>
#include <climits>

namespace vizivodu {

void TCustomVDFormattedData::DrawBackground(gfx::TCanvas &canvas, const rtl::TRect &r,
                                            TVDGraphicInterface &graphicInterface,
                                            bool allowThumbnails, bool printing) {
    if (IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface()) {
        ifc->DrawBackground(canvas, this, printing, r);
        return;
    }
    TVDBackground *background = GetBackground();
    if (!background) {
        return;
    }
    // The canvas holds only the part r of the area (a paint buffer, a bitmap behind an item):
    // its origin is r's top-left corner, where the area's own origin is at (-r.Left, -r.Top).
    const rtl::TPoint origin = GetOrigin();
    background->Draw(canvas, rtl::Rect(0, 0, r.Width(), r.Height()), GetHOffs() + origin.X,
                     GetVOffs() + origin.Y, -r.Left, -r.Top, GetWidth(), GetHeight(), GetColor(),
                     100000, false, false, graphicInterface, this, GetSourceVDData(),
                     allowThumbnails);
}

class TVDPainter {
public:
    TVDPainter(TCustomVDFormattedData &doc, gfx::TCanvas &canvas)
        : FDoc(doc), FCanvas(canvas), FStyle(*doc.GetVDStyle()), FGI(FStyle.GetGraphicInterface()),
          FFormatCanvas(doc.GetFormatCanvasEx(&canvas)) {}

    void Paint(const rtl::TRect &clipRect, bool strictTop, bool strictBottom, bool inplace,
               bool printMode, bool useWordPainters, int32_t extraX, int32_t extraY, int32_t minD,
               int32_t maxD, TVDPaintItemPart *minPart, TVDPaintItemPart *maxPart,
               bool forMetafile);

private:
    TVDDrawLineInfo &D(int32_t i) { return *FDoc.DrawItems[i]; }
    int32_t PaintedTop(int32_t i) { return FTops ? (*FTops)[static_cast<size_t>(i)] : D(i).Top; }
    void LineBounds(int32_t i, int32_t &top, int32_t &bottom);
    bool BelowClip(int32_t i) { return FUseClip && PaintedTop(i) > FClip.Bottom; }
    void ParagraphBackgrounds();
    void ParagraphBack(int32_t c, int32_t paraNo, int32_t &next, bool &stop);
    void TextBackgrounds();
    void SoftPageBreaks();
    void MainPass();
    void Placeholders(int32_t last);
    void WordPainters();
    void ItemWordPainters(int32_t i, int32_t paraNo);
    void EndCheckpoint();
    void TextDrawItem(int32_t i, int32_t paraNo, bool hover);
    void DrawText(int32_t i, bool selected, int32_t s, int32_t e, bool hover,
                  const TVDRawByteString &text);
    void NonTextDrawItem(bool anchorLine, int32_t i, int32_t paraNo);
    void PrintItemThroughBitmap(TCustomVDItemInfo &item, int32_t x, int32_t y,
                                TVDItemDrawStates state, int32_t i);
    void ApplyDrawStyle(int32_t itemNo, int32_t styleNo, int32_t paraNo);
    void LineEndSign(int32_t i, int32_t paraNo);
    bool IsHovered(int32_t i);

    TCustomVDFormattedData &FDoc;
    gfx::TCanvas &FCanvas;
    TVDStyle &FStyle;
    TVDGraphicInterface &FGI;
    gfx::TCanvas *FFormatCanvas;
    std::unique_ptr<std::vector<int32_t>> FTops;
    int32_t FStartNo = -1, FEndNo = -1, FStartOffs = 0, FEndOffs = 0;
    bool FUseClip = false;
    rtl::TRect FClip;       // in document coordinates
    rtl::TRect FOriginClip; // the clip moved to the origin, for full-width items
    int32_t FXShift = 0, FYShift = 0, FExtraX = 0, FExtraY = 0;
    bool FStrictBottom = false, FInplace = false, FPrintMode = false, FShowSpecial = false;
    bool FForMetafile = false;
    TVDTextDrawStates FBaseTextState;
    TVDItemDrawStates FBaseItemState;
    int32_t FCachedStyle = -1;
    TVDBiDiMode FCachedBiDi = vdbdUnspecified;
    TVDBiDiMode FLastTextBiDi = vdbdUnspecified;
    int32_t FFirst = 0, FLast = 0, FMinD = 0, FMaxD = 0;
    int32_t FParaNo = 0;
    bool FPlaceholdersFound = false;
    TVDPaintItemPart *FMinPart = nullptr, *FMaxPart = nullptr;
};

void TCustomVDFormattedData::PaintTo(gfx::TCanvas &canvas, const rtl::TRect &clipRect,
                                     bool strictTop, bool strictBottom, bool inplaceOnMainCanvas,
                                     bool printMode, bool useWordPainters, int32_t extraXOffs,
                                     int32_t extraYOffs, int32_t minDItemNo, int32_t maxDItemNo,
                                     TVDPaintItemPart *minItemPart, TVDPaintItemPart *maxItemPart,
                                     bool forMetafile) {
    if (!GetVDStyle() || DrawItems.Count() == 0) {
        return;
    }
    TVDPainter(*this, canvas)
        .Paint(clipRect, strictTop, strictBottom, inplaceOnMainCanvas, printMode, useWordPainters,
               extraXOffs, extraYOffs, minDItemNo, maxDItemNo, minItemPart, maxItemPart,
               forMetafile);
}

void TVDPainter::Paint(const rtl::TRect &clipRect, bool strictTop, bool strictBottom, bool inplace,
                       bool printMode, bool useWordPainters, int32_t extraX, int32_t extraY,
                       int32_t minD, int32_t maxD, TVDPaintItemPart *minPart,
                       TVDPaintItemPart *maxPart, bool forMetafile) {
    FDoc.GetSelBounds(FStartNo, FEndNo, FStartOffs, FEndOffs, true);
    const bool emptyClip = clipRect == rtl::TRect{};
    FUseClip = !emptyClip && !FDoc.IsRotationUsed() && !FDoc.IsLineOrderReversed();
    FClip = clipRect;
    FClip.Offset(FDoc.GetHOffs(), FDoc.GetVOffs());
    FXShift = FDoc.GetHOffs() + clipRect.Left + extraX;
    FYShift = FDoc.GetVOffs() + clipRect.Top + extraY;
    FExtraX = extraX;
    FExtraY = extraY;
    FOriginClip = rtl::Rect(0, 0, clipRect.Width(), clipRect.Height());
    FStrictBottom = strictBottom;
    FInplace = inplace;
    FPrintMode = printMode;
    FForMetafile = forMetafile;
    FMinD = std::max(0, minD);
    FMaxD = std::min(maxD, FDoc.DrawItems.Count() - 1);
    FMinPart = minPart;
    FMaxPart = maxPart;
    FCanvas.GetBrush().SetStyle(gfx::bsClear);
    FShowSpecial = FDoc.SpecialCharactersShown() && !printMode;
    if (FDoc.FocusedEx()) {
        FBaseTextState.Include(vdtsControlFocused);
        FBaseItemState.Include(vdidsControlFocused);
    }
    if (!FDoc.EnabledEx()) {
        FBaseTextState.Include(vdtstControlDisabled);
        FBaseItemState.Include(vdidsControlDisabled);
    }
    if (useWordPainters) {
        FBaseItemState.Include(vdidsUseWordPainters);
    }
    FFirst = FUseClip ? std::max(0, FDoc.GetFirstVisible(FClip.Top)) : 0;
    FLast = FDoc.DrawItems.Count() - 1;
    FTops = FDoc.BuildTransformedYCoords();
    if (strictTop && FUseClip) {
        for (int32_t i = FFirst; i <= FLast; ++i) {
            if (D(i).FromNewLine) {
                FFirst = i;
            }
            if (D(i).Top >= FClip.Top) {
                break;
            }
        }
    }
    FParaNo = FDoc.GetVisibleItemPara(D(FFirst).ItemNo);
    ParagraphBackgrounds();
    if (FFirst > 0) {
        TVDIntegerList floats;
        FDoc.DrawItems.AssignFloatingAboveDrawItem(FFirst, floats);
        for (int32_t k = 0; k < floats.GetCount(); ++k) {
            const int32_t i = floats[k];
            if (i >= FMinD && i <= FMaxD) {
                NonTextDrawItem(false, i, -1);
            }
        }
    }
    if (FStyle.OnDrawTextBack || FStyle.GetTextBackgroundKind() != vdtbkSimple) {
        TextBackgrounds();
    }
    if (FDoc.GetSoftPageBreaks() && FDoc.GetOptions().Contains(vdoShowPageBreaks)) {
        SoftPageBreaks();
    }
    const int32_t lastBeforeMain = FLast;
    MainPass();
    if (!FPrintMode && FPlaceholdersFound) {
        Placeholders(lastBeforeMain);
    }
    if (useWordPainters && !FPrintMode) {
        WordPainters();
    }
    EndCheckpoint();
    FDoc.DrawResizer(FCanvas, FXShift, FYShift, FFirst, FLast, printMode, strictTop, strictBottom);
}

void TVDPainter::LineBounds(int32_t i, int32_t &top, int32_t &bottom) {
    int32_t first = i;
    while (first > 0 && !D(first).FromNewLine) {
        --first;
    }
    top = INT_MAX;
    bottom = INT_MIN;
    for (int32_t k = first; k < FDoc.DrawItems.Count(); ++k) {
        if (k > first && D(k).FromNewLine) {
            break;
        }
        top = std::min(top, PaintedTop(k));
        bottom = std::max(bottom, PaintedTop(k) + D(k).Height + D(k).GetExtraSpaceBelow());
    }
}

// ---- Pass 1: paragraph backgrounds and borders ----

void TVDPainter::ParagraphBackgrounds() {
    int32_t c = FFirst;
    while (c > 0 && !FDoc.IsDrawItemParaStart(c)) {
        --c;
    }
    int32_t paraNo = FParaNo;
    bool stop = false;
    while (c <= FLast) {
        if (stop && D(c).FromNewLine) {
            FLast = std::min(FLast, c);
            return;
        }
        const int32_t itemNo = D(c).ItemNo;
        const bool paraStart =
            (c == 0 || D(c - 1).ItemNo != itemNo) && FDoc.IsVisibleParaStart(itemNo);
        if (paraStart && c > FFirst) {
            paraNo = FDoc.GetVisibleItemParaEx(itemNo, paraNo);
        }
        int32_t next = c + 1;
        if (paraStart) {
            ParagraphBack(c, paraNo, next, stop);
        }
        if (FUseClip && BelowClip(next - 1)) {
            stop = true;
        }
        c = next;
    }
}

void TVDPainter::ParagraphBack(int32_t c, int32_t paraNo, int32_t &next, bool &stop) {
    const TParaInfo &para = FStyle.GetParaStyles().GetItem(paraNo);
    TCustomVDItemInfo *item = FDoc.GetItem(D(c).ItemNo);
    const bool drawn = c <= FMaxD && item->StyleNo != StyleNoBreak &&
                       (para.GetBorder().Style != vdbNone ||
                        para.GetBackground().Color != gfx::clNone || FStyle.OnDrawParaBack);
    if (!drawn) {
        return;
    }
    int32_t left = FDoc.GetLeftMargin() + FStyle.GetAsPixels(para.GetLeftIndent());
    if (para.GetFirstIndent() < 0) {
        left += FStyle.GetAsPixels(para.GetFirstIndent());
    }
    int32_t right;
    if (FDoc.GetOptions().Contains(vdoClientTextWidth)) {
        right =
            FDoc.GetWidthRot() - FDoc.GetRightMargin() - FStyle.GetAsPixels(para.GetRightIndent());
    } else if (FDoc.GetMaxTextWidth() < 1) {
        right = FDoc.GetAreaWidthRot() - FDoc.GetRightMargin() -
                FStyle.GetAsPixels(para.GetRightIndent());
    } else {
        right = FDoc.GetLeftMargin() + FDoc.GetMaxTextWidth() -
                FStyle.GetAsPixels(para.GetRightIndent());
    }
    int32_t top = INT_MAX, bottom = INT_MIN;
    int32_t k = c;
    for (; k <= FMaxD && k < FDoc.DrawItems.Count(); ++k) {
        if (k > c && D(k - 1).ItemNo != D(k).ItemNo && FDoc.IsVisibleParaStart(D(k).ItemNo)) {
            break;
        }
        if (stop && D(k).FromNewLine) {
            FLast = std::min(FLast, k);
        }
        if (k >= FMinD) {
            right = std::max(right, D(k).Left + D(k).Width);
            top = std::min(top, PaintedTop(k) - D(k).GetExtraSpaceAbove());
            bottom = std::max(bottom, PaintedTop(k) + D(k).Height + D(k).GetExtraSpaceBelow());
        }
        if (BelowClip(k)) {
            stop = true;
        }
    }
    next = std::max(k, c + 1);
    if (top > bottom) {
        return;
    }
    rtl::TRect r{left, top, right, bottom};
    r.Offset(-FXShift, -FYShift);
    --r.Right;
    --r.Bottom;
    rtl::TRect back = r;
    para.GetBackground().PrepareDraw(back, FStyle);
    FStyle.ItemNo = D(k - 1).ItemNo;
    FStyle.VDData = &FDoc;
    FStyle.DrawParaBack(FCanvas, paraNo, back, false, vdcmColor, true);
    para.GetBorder().Draw(r, FCanvas, FStyle, FGI);
}

// ---- Pass 3: text backgrounds ----

bool TVDPainter::IsHovered(int32_t i) {
    return FDoc.State.Contains(vdstDrawHover) && i >= FDoc.LastJumpDIMovedAboveFirst &&
           i <= FDoc.LastJumpDIMovedAboveLast;
}

void TVDPainter::TextBackgrounds() {
    const bool lines = FStyle.GetTextBackgroundKind() == vdtbkLines;
    int32_t a = FFirst;
    if (lines) {
        while (a > 0 && !D(a).FromNewLine) {
            --a;
        }
    }
    int32_t lineTop = 0, lineBottom = 0;
    while (a <= FLast) {
        if (lines && D(a).FromNewLine) {
            LineBounds(a, lineTop, lineBottom);
        }
        TCustomVDItemInfo *item = FDoc.GetItem(D(a).ItemNo);
        if (!item->IsText() || a < FFirst || a < FMinD || a > FMaxD) {
            ++a;
            continue;
        }
        const int32_t styleNo = FDoc.GetActualStyle(*item);
        TVDTextDrawStates state;
        if (FStyle.GetTextStyles().GetItem(styleNo).GetJump() && IsHovered(a)) {
            state.Include(vdtsHover);
        }
        rtl::TRect r = rtl::Bounds(D(a).Left, PaintedTop(a), D(a).Width, D(a).Height);
        int32_t b = a + 1;
        while (b <= FLast && !D(b).FromNewLine && FDoc.GetItemStyle(D(b).ItemNo) == styleNo) {
            r.Right = D(b).Left + D(b).Width;
            ++b;
        }
        if (lines) {
            r.Top = lineTop;
            r.Bottom = lineBottom;
        }
        r.Offset(-FXShift, -FYShift);
        FStyle.DrawTextBack(FCanvas, D(a).ItemNo, styleNo, &FDoc, r.Left, r.Top, r.Width(),
                            r.Height(), state, false, vdcmColor);
        a = b;
    }
}

// ---- Pass 4: soft page breaks ----

void TVDPainter::SoftPageBreaks() {
    const TVDSoftPageBreakList &breaks = *FDoc.GetSoftPageBreaks();
    const int32_t firstItem = D(FFirst).ItemNo;
    bool started = false;
    for (const TVDSoftPageBreakInfo &b : breaks) {
        if (b.ItemNo < firstItem && !started) {
            continue;
        }
        if (b.ItemNo >= FDoc.ItemCount() || FDoc.IsItemHiddenInView(b.ItemNo)) {
            continue;
        }
        int32_t d = -1, offs = 0;
        FDoc.Item2DrawItem(b.ItemNo, b.Offset, d, offs, vddpBetterBelow);
        if (d < FMinD || d > FMaxD) {
            continue;
        }
        started = true;
        if (d > FLast) {
            return;
        }
        if (d == 0 && b.ExtraData < 0) {
            continue;
        }
        int32_t y = 0, bottom = 0;
        if (b.ExtraData < 0) {
            LineBounds(d, y, bottom);
        } else {
            y = FDoc.GetItem(b.ItemNo)->GetSoftPageBreakDY(b.ExtraData) + PaintedTop(d);
        }
        FStyle.DrawPageBreak(FCanvas, y - FYShift - 1, FXShift, vdpbSoftPageBreak,
                             FDoc.GetParentControl(), &FDoc, b.ItemNo);
    }
}

// ---- Pass 5: the main pass ----

void TVDPainter::ApplyDrawStyle(int32_t itemNo, int32_t styleNo, int32_t paraNo) {
    if (styleNo < 0) {
        styleNo = FDoc.GetActualStyle(*FDoc.GetItem(itemNo));
    }
    if (paraNo < 0) {
        paraNo = FDoc.GetVisibleItemPara(itemNo);
    }
    const TVDBiDiMode bidi = FDoc.GetParaBiDiMode(paraNo);
    if (styleNo != FCachedStyle) {
        TVDApplyOptions options{vdaoCanUseCustomPPI};
        if (!(FInplace && FPrintMode)) {
            options.Include(vdaoCanUseFontQuality);
        }
        if (FDoc.UseVerticalFonts()) {
            options.Include(vdaoUseVerticalFont);
        }
        FStyle.ApplyStyle(FCanvas, styleNo, bidi, options, nullptr);
        FCachedStyle = styleNo;
    } else if (bidi != FCachedBiDi) {
        FStyle.GetTextStyles().GetItem(styleNo).ApplyBiDiMode(FCanvas, bidi, false, FGI);
    }
    FCachedBiDi = bidi;
}

void TVDPainter::MainPass() {
    const bool lineSelection = FDoc.FSelStartNo >= 0 && FStyle.GetSelectionStyle() == vdssLines;
    (void)lineSelection;
    int32_t paraNo = FParaNo;
    const int32_t last = FLast;
    for (int32_t i = FFirst; i <= last; ++i) {
        if (i < FMinD || (FStrictBottom && FUseClip && D(i).Top + D(i).Height > FClip.Bottom)) {
            continue;
        }
        if (i > FMaxD) {
            break;
        }
        FLast = i;
        const int32_t itemNo = D(i).ItemNo;
        TCustomVDItemInfo *item = FDoc.GetItem(itemNo);
        if (i > FFirst) {
            paraNo = FDoc.GetVisibleItemParaEx(itemNo, paraNo);
        }
        const bool firstOfItem = i == 0 || D(i - 1).ItemNo != itemNo;
        if (item->GetPageBreakBefore() && FDoc.GetOptions().Contains(vdoShowPageBreaks) &&
            firstOfItem) {
            int32_t top = 0, bottom = 0;
            LineBounds(i, top, bottom);
            FStyle.DrawPageBreak(FCanvas, top - FYShift - 1, FXShift, vdpbPageBreak,
                                 FDoc.GetParentControl(), &FDoc, itemNo);
            FCachedStyle = -1;
        }
        if (!FPrintMode && item->Checkpoint && FDoc.GetOptions().Contains(vdoShowCheckpoints) &&
            firstOfItem) {
            FStyle.DrawCheckpoint(FCanvas, D(i).Left - FXShift, PaintedTop(i) - FYShift, 0,
                                  FDoc.GetParentControlWidth(), &FDoc, itemNo, FXShift,
                                  item->Checkpoint->RaiseEvent, FDoc.GetParentControl());
            FCachedStyle = -1;
        }
        if (item->GetBoolValueEx(vdbpJump, &FStyle)) {
            FDoc.DoDrawHyperlink(&FDoc, itemNo,
                                 rtl::Bounds(D(i).Left, PaintedTop(i), D(i).Width, D(i).Height));
        }
        if (!item->IsText()) {
            if (item->GetBoolValue(vdbpPlaceholder)) {
                FPlaceholdersFound =
                    FPlaceholdersFound ||
                    (FShowSpecial && VisibleSpecialCharacters.Contains(vdscPlaceholders)) ||
                    item == FDoc.FActiveItem;
            } else {
                NonTextDrawItem(true, i, paraNo);
            }
            if (FShowSpecial && VisibleSpecialCharacters.Contains(vdscParagraph)) {
                LineEndSign(i, paraNo);
            }
            if (item->GetBoolValue(vdbpDrawingChangesFont)) {
                FCachedStyle = -1;
            }
            continue;
        }
        const int32_t styleNo = FDoc.GetActualStyle(*item);
        ApplyDrawStyle(itemNo, styleNo, paraNo);
        FLastTextBiDi = FDoc.GetItemBiDiMode(itemNo);
        const bool hover = FStyle.GetTextStyles().GetItem(styleNo).GetJump() && IsHovered(i);
        TextDrawItem(i, paraNo, hover);
        if (FShowSpecial && VisibleSpecialCharacters.Contains(vdscParagraph)) {
            LineEndSign(i, paraNo);
        }
    }
}

void TVDPainter::TextDrawItem(int32_t i, int32_t, bool hover) {
    const TVDDrawLineInfo &d = D(i);
    TCustomVDItemInfo *item = FDoc.GetItem(d.ItemNo);
    const TFontInfo &font = FStyle.GetTextStyles().GetItem(FCachedStyle);
    TVDDrawTextForm form;
    form.unicode = item->ItemOptions.Contains(vdioUnicode);
    form.allCaps = font.GetStyleEx().Contains(vdfsAllCaps);
    form.showSoftHyphens = VisibleSpecialCharacters.Contains(vdscSoftHyphen);
    const TVDRawByteString raw = FDoc.DrawItems.GetString(i, FDoc.GetItems());
    const bool completely = FDoc.State.Contains(vdstCompletelySelected);
    if (FPrintMode || ((i < FStartNo || i > FEndNo) && !completely)) {
        DrawText(i, false, 0, -1, hover,
                 GetTextForDrawing(raw, form, FDoc.IsDrawItemLastOnWrappedLine(i),
                                   font.IsSymbolCharset(), true, FShowSpecial));
        return;
    }
    const bool whole =
        completely || ((i > FStartNo || FStartOffs <= 1) && (i < FEndNo || FEndOffs > d.Length));
    if (whole) {
        DrawText(i, true, 0, -1, hover,
                 GetTextForDrawing(raw, form, FDoc.IsDrawItemLastOnWrappedLine(i),
                                   font.IsSymbolCharset(), true, FShowSpecial));
        return;
    }
    int32_t s = i == FStartNo && FStartOffs > 1 ? FStartOffs : 1;
    int32_t e = i == FEndNo && FEndOffs <= d.Length ? FEndOffs - 1 : d.Length;
    const TVDRawByteString text =
        GetTextForDrawingEx(raw, form, FDoc.IsDrawItemLastOnWrappedLine(i), s, e,
                            font.IsSymbolCharset(), true, FShowSpecial);
    DrawText(i, false, 0, -1, hover, text);
    if (e >= s) {
        DrawText(i, true, s, e, hover, text);
    }
}

void TVDPainter::DrawText(int32_t i, bool selected, int32_t s, int32_t e, bool hover,
                          const TVDRawByteString &text) {
    const TVDDrawLineInfo &d = D(i);
    TCustomVDItemInfo *item = FDoc.GetItem(d.ItemNo);
    TVDTextDrawStates state = FBaseTextState;
    if (selected) {
        state.Include(vdtsSelected);
    }
    if (hover) {
        state.Include(vdtsHover);
    }
    if (FStyle.OnDrawStyleText) {
        state.Include(vdtsDrawItemStart);
        state.Include(vdtsDrawItemEnd);
        if (d.Offs == 1) {
            state.Include(vdtsItemStart);
        }
        if (d.Offs + d.Length - 1 == GetItemTextLength(item->ItemText, item->ItemOptions)) {
            state.Include(vdtsItemEnd);
        }
    }
    if (FStyle.GetTextBackgroundKind() == vdtbkSimple || selected) {
        FStyle.ApplyStyleColor(FCanvas, FCachedStyle, state, false, vdcmColor);
    } else {
        FStyle.ApplyStyleTextColor(FCanvas, FCachedStyle, state, false, vdcmColor);
        FCanvas.GetBrush().SetStyle(gfx::bsClear);
    }
    const int32_t spaceAtLeft = d.GetSpaceAtLeft();
    if (FShowSpecial) {
        state.Include(vdtsSpecialCharacters);
    }
    const int32_t top = PaintedTop(i);
    if (selected && FStyle.GetSelectionStyle() == vdssLines && d.Width > 0 && s == 0) {
        int32_t lineTop = 0, lineBottom = 0;
        LineBounds(i, lineTop, lineBottom);
        if (FCanvas.GetBrush().GetStyle() != gfx::bsClear) {
            FGI.FillRect(FCanvas, rtl::Rect(d.Left - FXShift, lineTop - FYShift,
                                            d.Left + d.Width - FXShift, lineBottom - FYShift));
        }
        FCanvas.GetBrush().SetStyle(gfx::bsClear);
    }
    gfx::TCanvas *ref = FFormatCanvas != &FCanvas ? FFormatCanvas : nullptr;
    const TVDBiDiMode bidi = FDoc.GetItemBiDiMode(d.ItemNo);
    const TVDStyleTextArgs args{.Text = text,
                                .Canvas = &FCanvas,
                                .StyleNo = FCachedStyle,
                                .ItemNo = d.ItemNo,
                                .OffsetInItem = d.Offs,
                                .VDData = &FDoc,
                                .SpaceAtLeft = spaceAtLeft,
                                .Left = d.Left - FXShift,
                                .Top = top - FYShift,
                                .Width = d.Width,
                                .Height = d.Height,
                                .TextWidth = d.GetTextWidth(),
                                .SpaceCount = d.GetSpaceCount(),
                                .DrawState = state,
                                .Printing = FInplace,
                                .PreviewCorrection = FInplace,
                                .Output = FForMetafile ? vdtoMetafile : vdtoDevice,
                                .ColorMode = vdcmColor,
                                .DefBiDiMode = bidi,
                                .RefCanvas = ref,
                                .LeftNoExpIndex = d.GetLeftNoExpandIndex() - 1,
                                .RightNoExpIndex = d.GetRightNoExpandIndex() - 1};
    if (s == 0) {
        FStyle.DrawStyleText(args);
    } else {
        FStyle.DrawSelectedStyleText(args, s, e);
    }
}

void TVDPainter::NonTextDrawItem(bool anchorLine, int32_t i, int32_t paraNo) {
    TVDDrawLineInfo &d = D(i);
    TCustomVDItemInfo *item = FDoc.GetItem(d.ItemNo);
    TVDItemDrawStates state = FBaseItemState;
    const bool completely = FDoc.State.Contains(vdstCompletelySelected);
    if (!FPrintMode &&
        (completely || (i >= FStartNo && i <= FEndNo && FStartNo >= 0 &&
                        !(i == FEndNo && FEndOffs == 0) && !(i == FStartNo && FStartOffs == 1)))) {
        state.Include(vdidsSelected);
    }
    if (FPrintMode) {
        state.Include(vdidsPrinting);
        state.Include(vdidsPrintSimulation);
    }
    if (item->GetBoolValueEx(vdbpJump, &FStyle) && IsHovered(i)) {
        state.Include(vdidsHover);
    }
    const int32_t p = paraNo < 0 ? FDoc.GetVisibleItemPara(d.ItemNo) : paraNo;
    if (FDoc.GetParaBiDiMode(p) == vdbdRightToLeft) {
        state.Include(vdidsRTL);
    }
    if (FShowSpecial) {
        state.Include(vdidsShowSpecialCharacters);
    }
    if (item == FDoc.FActiveItem) {
        state.Include(vdidsCurrent);
    }
    if (FDoc.GetFlags().Contains(vdflCanUseCustomPPI)) {
        state.Include(vdidsCanUseCustomPPI);
    }
    if (FInplace) {
        state.Include(vdidsDrawInplaceOnMainCanvas);
    }
    if (item->GetBoolValue(vdbpFullWidth)) {
        int32_t w = FDoc.GetOptions().Contains(vdoClientTextWidth) ? FDoc.GetWidthRot()
                                                                   : FDoc.GetAreaWidthRot();
        const int32_t limit = FDoc.GetMaxTextWidth() + FDoc.GetLeftMargin() + FDoc.GetRightMargin();
        if (!FDoc.GetOptions().Contains(vdoClientTextWidth) && FDoc.GetMaxTextWidth() > 0 &&
            limit < w) {
            w = limit;
        }
        TVDPaintItemPart *part = i == FMinD ? FMinPart : i == FMaxD ? FMaxPart : nullptr;
        item->PaintFullWidth(d.Left - FXShift + FExtraX,
                             w - FDoc.GetRightMargin() - FXShift + FExtraX,
                             PaintedTop(i) - FYShift + FExtraY, FCanvas, state, FStyle, FOriginClip,
                             &FDoc, i, FExtraX, FExtraY, part, FForMetafile);
        return;
    }
    if (state.Contains(vdidsSelected) && FStyle.GetSelectionStyle() == vdssLines &&
        item->StyleNo != StyleNoListMarker) {
        const gfx::TColor color = FBaseItemState.Contains(vdidsControlFocused)
                                      ? FStyle.GetSelColor()
                                      : FStyle.GetInactiveSelColor();
        if (color != gfx::clNone) {
            int32_t top = 0, bottom = 0;
            LineBounds(i, top, bottom);
            FGI.FillColorRect(FCanvas,
                              rtl::Rect(d.Left - FXShift, top - FYShift, d.Left + d.Width - FXShift,
                                        bottom - FYShift),
                              color);
        }
        FCanvas.GetBrush().SetStyle(gfx::bsClear);
    }
    const auto *f = dynamic_cast<const TVDFloatingDrawLineInfo *>(&d);
    const int32_t x = f ? f->FloatLeft - FXShift : d.Left - FXShift;
    const int32_t y = f ? FDoc.GetTransformedDItemObjectTop(i) - FYShift : PaintedTop(i) - FYShift;
    if (f && anchorLine && !FPrintMode && FStyle.GetFloatingLineColor() != gfx::clNone &&
        (item == FDoc.FActiveItem ||
         (FShowSpecial && VisibleSpecialCharacters.Contains(vdscFloatingLines)))) {
        FCanvas.GetPen().SetStyle(gfx::psSolid);
        FCanvas.GetPen().SetWidth(1);
        FCanvas.GetPen().SetColor(FStyle.GetFloatingLineColor());
        FGI.Line(FCanvas, d.Left - FXShift, PaintedTop(i) - FYShift, d.Left - FXShift,
                 PaintedTop(i) + d.Height - FYShift);
        DrawLineBetweenNearestCorners(x, y, f->FloatWidth, f->FloatHeight, d.Left - FXShift,
                                      PaintedTop(i) - FYShift, d.Width, 0, FCanvas, FGI);
    }
    if (FPrintMode && item->GetBoolValueEx(vdbpPrintToBMP, &FStyle)) {
        PrintItemThroughBitmap(*item, x, y, state, i);
        return;
    }
    item->Paint(x, y, FCanvas, state, d, &FDoc, FForMetafile);
}

// The item's box, then its content printed into a bitmap holding what lies behind it, drawn
// inside the border at the item's content size (the bitmap may come back at the picture's own
// size, which would print a scaled picture unscaled).
void TVDPainter::PrintItemThroughBitmap(TCustomVDItemInfo &item, int32_t x, int32_t y,
                                        TVDItemDrawStates state, int32_t i) {
    TVDDrawLineInfo &d = D(i);
    if (auto *box = dynamic_cast<TVDRectItemInfo *>(&item)) {
        box->PaintDef(x, y, FCanvas, state, d, &FDoc);
    }
    const int32_t w = item.GetImageWidth(&FStyle);
    const int32_t h = item.GetImageHeight(&FStyle);
    if (w <= 0 || h <= 0) {
        return;
    }
    int32_t colorValue = 0;
    gfx::TColor color =
        item.GetExtraIntProperty(vdepColor, colorValue) ? gfx::TColor(colorValue) : gfx::clNone;
    std::unique_ptr<gfx::TBitmap> behind;
    bool useBitmap = false;
    if (color == gfx::clNone) {
        rtl::TRect r = rtl::Bounds(0, 0, w, h);
        FDoc.GetItemBackground(d.ItemNo, r, true, color, behind, useBitmap, FGI, false, true);
    }
    gfx::TBitmap bmp(w, h);
    bmp.SetPixelFormat(gfx::pf32bit);
    if (useBitmap && behind) {
        bmp.GetCanvas().Draw(0, 0, *behind);
    } else {
        FGI.FillColorRect(bmp.GetCanvas(), rtl::Rect(0, 0, w, h),
                          color == gfx::clNone ? gfx::clWhite : color);
    }
    RotateBitmap(bmp, FDoc.GetRotation(), FGI);
    item.PrintToBitmap(bmp, false, &FDoc, i, -1, vdcmColor);
    DrawOrPrintGraphic(FCanvas, x + FStyle.GetAsPixels(item.GetBorderWidth()),
                       y + FStyle.GetAsPixels(item.GetBorderHeight()), w, h, nullptr, bmp,
                       vdgdPrintBitmap, FGI);
}

void TVDPainter::LineEndSign(int32_t i, int32_t paraNo) {
    const int32_t count = FDoc.DrawItems.Count();
    const bool lastOne = i == count - 1;
    if (!lastOne &&
        !(D(i + 1).ItemNo != D(i).ItemNo && FDoc.IsVisibleFromNewLine(D(i + 1).ItemNo))) {
        return;
    }
    const bool paraEnd = lastOne || FDoc.IsVisibleParaStart(D(i + 1).ItemNo);
    TCustomVDItemInfo *item = FDoc.GetItem(D(i).ItemNo);
    int32_t style =
        FCachedStyle >= 0 ? FCachedStyle : (item->IsText() ? FDoc.GetActualStyle(*item) : 0);
    const TVDBiDiMode bidi = FDoc.GetParaBiDiMode(paraNo);
    FStyle.ApplyStyle(FCanvas, style, bidi,
                      TVDApplyOptions{vdaoCanUseCustomPPI, vdaoCanUseFontQuality}, nullptr);
    if (FStyle.GetTextBackgroundKind() != vdtbkSimple) {
        FStyle.ApplyStyleTextColor(FCanvas, style, {}, false, vdcmColor);
        FCanvas.GetBrush().SetStyle(gfx::bsClear);
    } else {
        FStyle.ApplyStyleColor(FCanvas, style, {}, false, vdcmColor);
    }
    FCachedStyle = -1;
    if (FStyle.GetSpecialCharactersColor() != gfx::clNone) {
        FCanvas.GetFont().SetColor(FStyle.GetSpecialCharactersColor());
    }
    if (FStyle.GetTextStyles().GetItem(style).IsSymbolCharset()) {
        FCanvas.GetFont().SetName(u"Arial");
        FCanvas.GetFont().SetCharset(gfx::DEFAULT_CHARSET);
    }
    // The pilcrow at a paragraph end, the return arrow of "Symbol" at a line break.
    char sign = static_cast<char>(0xB6);
    if (!paraEnd) {
        sign = static_cast<char>(0xBF);
        FCanvas.GetFont().SetName(u"Symbol");
        FCanvas.GetFont().SetCharset(gfx::SYMBOL_CHARSET);
    }
    const TVDTextRun run{.Str = &sign, .Length = 1, .IgnoreSpecialChars = true};
    const gfx::TSize size = FGI.TextSize(FCanvas, run);
    int32_t x = FLastTextBiDi == vdbdRightToLeft ? D(i).Left - size.cx : D(i).Left + D(i).Width;
    x -= FXShift;
    const int32_t y = PaintedTop(i) + D(i).Height - FYShift - size.cy;
    FGI.TextOut(FCanvas, x, y, run, FForMetafile ? vdtoMetafile : vdtoDevice);
}

void TVDPainter::Placeholders(int32_t last) {
    int32_t paraNo = FParaNo;
    for (int32_t i = FFirst; i <= last; ++i) {
        TCustomVDItemInfo *item = FDoc.GetItem(D(i).ItemNo);
        if (i > FFirst) {
            paraNo = FDoc.GetVisibleItemParaEx(D(i).ItemNo, paraNo);
        }
        if (item->GetBoolValue(vdbpPlaceholder) &&
            ((FShowSpecial && VisibleSpecialCharacters.Contains(vdscPlaceholders)) ||
             item == FDoc.FActiveItem)) {
            NonTextDrawItem(true, i, paraNo);
        }
    }
}

// ---- Pass 7: word painters ----

void TVDPainter::WordPainters() {
    FCachedStyle = -1;
    int32_t paraNo = FParaNo;
    for (int32_t i = FFirst; i <= FLast; ++i) {
        if (i > FFirst) {
            paraNo = FDoc.GetVisibleItemParaEx(D(i).ItemNo, paraNo);
        }
        if (i < FMinD) {
            continue;
        }
        if (i > FMaxD || (FStrictBottom && FUseClip && D(i).Top + D(i).Height > FClip.Bottom)) {
            break;
        }
        const TCustomVDItemInfo *item = FDoc.GetItem(D(i).ItemNo);
        if (item->IsText() && item->WordPaintList && item->WordPaintList->Count() > 0) {
            ItemWordPainters(i, paraNo);
        }
    }
}

// Each painter that overlaps the draw item gets the rectangles of its characters there (one
// per visually contiguous piece), measured on the format canvas as the line was.
void TVDPainter::ItemWordPainters(int32_t i, int32_t paraNo) {
    const TVDDrawLineInfo &d = D(i);
    TCustomVDItemInfo *item = FDoc.GetItem(d.ItemNo);
    const bool scaled = FFormatCanvas != &FCanvas;
    const int32_t styleNo = FDoc.GetActualStyle(*item);
    TVDApplyOptions options{vdaoCanUseCustomPPI, vdaoCanUseFontQuality};
    if (scaled) {
        options.Include(vdaoToFormatCanvas);
    }
    if (FDoc.UseVerticalFonts()) {
        options.Include(vdaoUseVerticalFont);
    }
    FStyle.ApplyStyle(*FFormatCanvas, styleNo, FDoc.GetParaBiDiMode(paraNo), options, nullptr);
    if (!scaled) {
        FCachedStyle = -1; // the painters draw on the canvas the style was just applied to
    }
    const TFontInfo &font = FStyle.GetTextStyles().GetItem(styleNo);
    TVDDrawTextForm form;
    form.unicode = item->ItemOptions.Contains(vdioUnicode);
    form.allCaps = font.GetStyleEx().Contains(vdfsAllCaps);
    const TVDRawByteString raw = FDoc.DrawItems.GetString(i, FDoc.GetItems());
    const TVDWordPainterList &painters = *item->WordPaintList;
    for (int32_t k = 0; k < painters.Count(); ++k) {
        TVDWordPainter &painter = painters.Get(k);
        if (!(d.Offs < painter.StartOffs + painter.Length &&
              painter.StartOffs < d.Offs + d.Length)) {
            continue;
        }
        int32_t a = std::max(1, painter.StartOffs - d.Offs + 1);
        int32_t b = std::min(d.Length, painter.StartOffs + painter.Length - d.Offs);
        const TVDRawByteString text =
            GetTextForDrawingEx(raw, form, false, a, b, font.IsSymbolCharset(), true, FShowSpecial);
        if (text.empty()) {
            continue;
        }
        const TVDTextRun run{.Str = text.data(),
                             .Length = static_cast<int32_t>(text.size()) / (form.unicode ? 2 : 1),
                             .Unicode = form.unicode,
                             .BiDi = FDoc.GetItemBiDiMode(d.ItemNo) != vdbdUnspecified,
                             .IgnoreSpecialChars = font.IsSymbolCharset()};
        const TVDCoordRanges ranges = FGI.GetTextRangeCoords(
            *FFormatCanvas, run, d.GetSpaceCount(),
            ScaleToFormatCanvas(d.Width - d.GetTextWidth(), scaled), a - 1, b - 1,
            d.GetLeftNoExpandIndex() - 1, d.GetRightNoExpandIndex() - 1);
        const int32_t top = PaintedTop(i) - FYShift;
        const int32_t shift = d.GetSpaceAtLeft() + d.Left - FXShift;
        for (const TVDCoordRangeRecord &range : ranges) {
            const rtl::TRect r =
                rtl::Rect(ScaleFromFormatCanvas(range.Left, scaled) + shift, top,
                          ScaleFromFormatCanvas(range.Right, scaled) + shift, top + d.Height);
            painter.Draw(FCanvas, d, &FDoc, r, k);
        }
    }
}

void TVDPainter::EndCheckpoint() {
    if (FPrintMode || !FDoc.NotAddedCP || !FDoc.GetOptions().Contains(vdoShowCheckpoints) ||
        D(FMaxD).ItemNo != FDoc.ItemCount() - 1) {
        return;
    }
    FStyle.DrawCheckpoint(FCanvas, -1, FDoc.DocumentHeight - FYShift - FDoc.GetBottomMargin(), 0,
                          FDoc.GetParentControlWidth(), &FDoc, -1, FXShift,
                          FDoc.NotAddedCP->RaiseEvent, FDoc.GetParentControl());
}

} // namespace vizivodu
