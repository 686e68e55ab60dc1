// Table painting: the table background, the rules, the table border, and each cell's
// background, content and border; borders in their five styles with grid lines for hidden
// borders on the screen. All drawing goes through the style sheet's graphic interface, fills
// through the colour mode's fill colours and lines through its line colours.
#include "vizivodu/tables/VDTable_Print.h"
#include "vizivodu/tables/VDTable_p.h"

#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/layout/printing/PtblVD.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/ScopeExit.h"

#include <algorithm>

namespace vizivodu {

namespace {

bool IsClipping(const rtl::TRect &clip) {
    return clip != rtl::TRect{};
}

// The pen for the lines of a border; the brush is left clear.
void SetLinePen(gfx::TCanvas &canvas, TColor color, int32_t width, gfx::TPenStyle style) {
    canvas.GetPen().SetColor(color);
    canvas.GetPen().SetWidth(width);
    canvas.GetPen().SetStyle(style);
    canvas.GetPen().SetMode(gfx::pmCopy);
}

} // namespace

// ---- Borders ----

namespace {

// What DrawBorder draws with, after the event and the grid lines.
struct TBorderBox {
    int32_t Left, Top, Right, Bottom; // right and bottom inclusive
    int32_t Extension;                // added to line ends (GDI lines leave out the last pixel)
    const TVDBooleanRect *Visible;
    const rtl::TRect *Clip;

    bool ShowsLeft() const { return !Visible || Visible->Left; }
    bool ShowsTop() const { return !Visible || Visible->Top; }
    bool ShowsRight() const { return !Visible || Visible->Right; }
    bool ShowsBottom() const { return !Visible || Visible->Bottom; }
    // A vertical line from y1 to y2 (drawn downwards or upwards), kept near the clip.
    void VLine(TVDGraphicInterface &gi, gfx::TCanvas &canvas, int32_t x, int32_t y1,
               int32_t y2) const {
        if (Clip && IsClipping(*Clip)) {
            auto clamp = [&](int32_t y) { return std::clamp(y, Clip->Top - 1, Clip->Bottom + 1); };
            y1 = clamp(y1);
            y2 = clamp(y2);
        }
        gi.Line(canvas, x, y1, x, y2);
    }
};

// w lines per side in two colours, top and left in the first (raised and lowered styles).
void DrawTwoColourLines(TVDGraphicInterface &gi, gfx::TCanvas &canvas, const TBorderBox &b,
                        int32_t w, TColor topLeft, TColor bottomRight) {
    const bool left = b.ShowsLeft();
    const bool top = b.ShowsTop();
    const bool right = b.ShowsRight();
    const bool bottom = b.ShowsBottom();
    const int32_t ext = b.Extension;
    for (int32_t i = 0; i < w; ++i) {
        // The top line owns the top right corner, the bottom line the bottom left one, as a
        // raised frame shows them; no line reaches outside the box.
        canvas.GetPen().SetColor(topLeft);
        if (top) {
            gi.Line(canvas, b.Left + i, b.Top + i, b.Right - i + ext, b.Top + i);
        }
        if (left) {
            b.VLine(gi, canvas, b.Left + i, b.Top + i, b.Bottom - i + ext);
        }
        canvas.GetPen().SetColor(bottomRight);
        if (bottom) {
            gi.Line(canvas, b.Left + i, b.Bottom - i, b.Right - i + ext, b.Bottom - i);
        }
        if (right) {
            b.VLine(gi, canvas, b.Right - i, b.Top + i + 1, b.Bottom - i + ext);
        }
    }
}

// w lines per side in one colour: nested rectangles, or with overlapping corners whole sides.
void DrawOneColourLines(TVDGraphicInterface &gi, gfx::TCanvas &canvas, TBorderBox b, int32_t w,
                        bool overlappingCorners) {
    const bool left = b.ShowsLeft();
    const bool top = b.ShowsTop();
    const bool right = b.ShowsRight();
    const bool bottom = b.ShowsBottom();
    const int32_t ext = b.Extension;
    for (int32_t i = 0; i < w; ++i) {
        const int32_t l = overlappingCorners ? b.Left + i : b.Left;
        const int32_t t = overlappingCorners ? b.Top + i : b.Top;
        const int32_t r = overlappingCorners ? b.Right - i : b.Right;
        const int32_t bt = overlappingCorners ? b.Bottom - i : b.Bottom;
        const int32_t hl = overlappingCorners ? b.Left : l;
        const int32_t hr = overlappingCorners ? b.Right : r;
        if (top) {
            gi.Line(canvas, hl, t, hr + ext, t);
        }
        if (bottom) {
            gi.Line(canvas, hl, bt, hr + ext, bt);
        }
        if (left) {
            b.VLine(gi, canvas, l, overlappingCorners ? b.Top : t,
                    (overlappingCorners ? b.Bottom : bt) + ext);
        }
        if (right) {
            b.VLine(gi, canvas, r, overlappingCorners ? b.Top : t,
                    (overlappingCorners ? b.Bottom : bt) + ext);
        }
        if (!overlappingCorners) {
            ++b.Left;
            ++b.Top;
            --b.Right;
            --b.Bottom;
        }
    }
}

} // namespace

bool TVDTableItemInfo::NeighbourDrawsEdge(int32_t row, int32_t col, TVDSide side) {
    if (row < 0) {
        return false;
    }
    const int32_t last = side == vdsTop || side == vdsBottom ? GetRowCount() : GetColCount();
    const bool before = side == vdsTop || side == vdsLeft;
    const int32_t index = side == vdsTop || side == vdsBottom ? row : col;
    const TVDTableCellData *cell = GetCells(row, col);
    const int32_t end = side == vdsBottom ? row + cell->GetRowSpan() : col + cell->GetColSpan();
    if (before ? index == 0 : end == last) {
        // The table's own border on that side.
        const TVDStyleLength spacing =
            side == vdsTop || side == vdsBottom ? FBorderVSpacing : FBorderHSpacing;
        const bool visible = side == vdsTop      ? FVisibleBorders.Top
                             : side == vdsBottom ? FVisibleBorders.Bottom
                             : side == vdsLeft   ? FVisibleBorders.Left
                                                 : FVisibleBorders.Right;
        return spacing < 0 && FBorderWidth > 0 && visible;
    }
    const TVDStyleLength spacing =
        side == vdsTop || side == vdsBottom ? FCellVSpacing : FCellHSpacing;
    if (spacing >= 0) {
        return false;
    }
    int32_t mRow = 0;
    int32_t mCol = 0;
    const TVDTableCellData *neighbour =
        side == vdsTop      ? FRows->GetMainCell(row - 1, col, mRow, mCol)
        : side == vdsBottom ? FRows->GetMainCell(end, col, mRow, mCol)
        : side == vdsLeft   ? FRows->GetMainCell(row, col - 1, mRow, mCol)
                            : FRows->GetMainCell(row, end, mRow, mCol);
    const TVDBooleanRect &v = neighbour->GetVisibleBorders();
    return side == vdsTop      ? v.Bottom
           : side == vdsBottom ? v.Top
           : side == vdsLeft   ? v.Right
                               : v.Left;
}

void TVDTableItemInfo::DrawGridLinesOfHiddenSides(gfx::TCanvas &canvas, const TVDBorderParams &p,
                                                  TVDGraphicInterface &gi) {
    const TVDBooleanRect *v = p.VisibleBorders;
    if (!v || v->IsAllEqual(true)) {
        return;
    }
    const int32_t ext = p.LineEndExtension;
    if (!v->Top && !NeighbourDrawsEdge(p.Row, p.Col, vdsTop)) {
        gi.Line(canvas, p.Left, p.Top, p.Right + ext - 1, p.Top);
    }
    if (!v->Bottom && !NeighbourDrawsEdge(p.Row, p.Col, vdsBottom)) {
        gi.Line(canvas, p.Left, p.Bottom - 1, p.Right + ext - 1, p.Bottom - 1);
    }
    if (!v->Left && !NeighbourDrawsEdge(p.Row, p.Col, vdsLeft)) {
        gi.Line(canvas, p.Left, p.Top, p.Left, p.Bottom + ext - 1);
    }
    if (!v->Right && !NeighbourDrawsEdge(p.Row, p.Col, vdsRight)) {
        gi.Line(canvas, p.Right - 1, p.Top, p.Right - 1, p.Bottom + ext - 1);
    }
}

void TVDTableItemInfo::DrawBorder(gfx::TCanvas &canvas, const TVDBorderParams &p) {
    if (IsClipping(p.ClipRect) && (p.Right < p.ClipRect.Left || p.Left > p.ClipRect.Right ||
                                   p.Bottom < p.ClipRect.Top || p.Top > p.ClipRect.Bottom)) {
        return;
    }
    if (OnDrawBorder) {
        bool doDefault = true;
        OnDrawBorder(*this, canvas, p.Left, p.Top, p.Right, p.Bottom, p.Width, p.LightColor,
                     p.Color, p.BackgroundColor, p.BorderStyle, p.Printing, p.VisibleBorders, p.Row,
                     p.Col, doDefault);
        if (!doDefault) {
            return;
        }
    }
    TVDStyle &style = *p.Style;
    TVDGraphicInterface &gi = style.GetGraphicInterface();
    TCustomVDData *root =
        FRows->GetMainVDData() ? FRows->GetMainVDData()->GetAbsoluteRootData() : nullptr;
    const gfx::TPenStyle gridStyle =
        p.Editable ? style.GetGridStyle() : style.GetGridReadOnlyStyle();
    const TColor gridColor = p.Editable ? style.GetGridColor() : style.GetGridReadOnlyColor();
    const bool gridLines = p.ShowGridLines && !p.Printing && root &&
                           root->GetOptions().Contains(vdoShowGridLines) &&
                           gridStyle != gfx::psClear && gridColor != gfx::clNone;
    if (gridLines) {
        SetLinePen(canvas, gridColor, 1, gridStyle);
        canvas.GetBrush().SetStyle(gfx::bsClear);
    }
    if (p.Width <= 0) {
        if (gridLines) {
            gi.Rectangle(canvas, p.Left, p.Top, p.Right, p.Bottom);
            canvas.GetPen().SetMode(gfx::pmCopy);
        }
        return;
    }
    if (gridLines) {
        DrawGridLinesOfHiddenSides(canvas, p, gi);
    }
    canvas.GetBrush().SetStyle(gfx::bsClear);
    DrawBorderLines(canvas, p, gi);
    canvas.GetPen().SetStyle(gfx::psSolid);
}

void TVDTableItemInfo::DrawBorderLines(gfx::TCanvas &canvas, const TVDBorderParams &p,
                                       TVDGraphicInterface &gi) {
    TVDStyle &style = *p.Style;
    int32_t w = style.GetAsDevicePixelsY(p.Width, cursad);
    TBorderBox box{p.Left,           p.Top,      p.Right - 1, p.Bottom - 1, p.LineEndExtension,
                   p.VisibleBorders, &p.ClipRect};
    const bool higherDevice = p.Printing && cursad && cursad->ppiyDevice > cursad->ppiyScreen;
    const bool halftone = p.Printing && FPrintOptions.Contains(vdtoHalftoneBorders);
    if (p.BorderStyle == vdtbColor) {
        if (p.Color == gfx::clNone) {
            return;
        }
        SetLinePen(canvas, GetTextColorForMode(p.Color, p.ColorMode), 1, gfx::psSolid);
        if (higherDevice) {
            ++w;
            --box.Left;
            --box.Top;
        }
    } else {
        if (halftone && higherDevice) {
            ++w;
            --box.Left;
            --box.Top;
        }
        SetLinePen(canvas, gfx::clBlack, 1, gfx::psSolid);
    }
    if (halftone) {
        // One line per side, as wide as the border, inside the frame.
        canvas.GetPen().SetWidth(w);
        canvas.GetPen().SetStyle(gfx::psInsideFrame);
        box.Left += w / 2;
        box.Top += w / 2;
        box.Right -= w / 2;
        box.Bottom -= w / 2;
        box.Extension = 0;
        w = 1;
    }
    if (p.BorderStyle == vdtbColor) {
        DrawOneColourLines(gi, canvas, box, w, FOptions.Contains(vdtoOverlappingCorners));
        return;
    }
    TColor topLeft = gfx::clBtnShadow;
    TColor bottomRight = gfx::clBtnHighlight;
    const bool highlightBackground =
        gfx::ColorToRGB(p.BackgroundColor) == gfx::ColorToRGB(gfx::clBtnHighlight);
    const TColor highlight = highlightBackground ? gfx::clBtnFace : gfx::clBtnHighlight;
    switch (p.BorderStyle) {
    case vdtbRaised:
        topLeft = highlight;
        bottomRight = gfx::clBtnShadow;
        break;
    case vdtbLowered:
        topLeft = gfx::clBtnShadow;
        bottomRight = highlight;
        break;
    case vdtbRaisedColor:
        topLeft = p.LightColor;
        bottomRight = p.Color;
        break;
    default: // vdtbLoweredColor
        topLeft = p.Color;
        bottomRight = p.LightColor;
        break;
    }
    DrawTwoColourLines(gi, canvas, box, w, GetTextColorForMode(topLeft, p.ColorMode),
                       GetTextColorForMode(bottomRight, p.ColorMode));
}

// ---- The table ----

void TVDTableItemInfo::PaintFullWidth(int32_t left, int32_t, int32_t top, gfx::TCanvas &canvas,
                                      TVDItemDrawStates state, TVDStyle &style,
                                      const rtl::TRect &clipRect, TCustomVDData *vdData,
                                      int32_t drawItemNo, int32_t extraX, int32_t extraY,
                                      TVDPaintItemPart *paintPart, bool forMetafile) {
    auto *doc = dynamic_cast<TCustomVDFormattedData *>(vdData);
    auto *info = state.Contains(vdidsPrinting) && doc && drawItemNo >= 0 &&
                         drawItemNo < doc->DrawItems.Count()
                     ? dynamic_cast<TVDTablePrintInfo *>(doc->DrawItems[drawItemNo])
                     : nullptr;
    if (info) {
        // A page that does not begin with the table shows its first part.
        TVDMultiDrawItemPartsList &parts = info->GetPartsList();
        int32_t part = parts.Count() > 0 ? 0 : -1;
        for (int32_t i = 0; paintPart && i < parts.Count(); ++i) {
            if (parts[i] == paintPart) {
                part = i;
            }
        }
        Print(canvas, left, top, state.Contains(vdidsPreview),
              state.Contains(vdidsPreviewCorrection), part,
              dynamic_cast<TCustomPrintableVDData *>(vdData)
                  ? dynamic_cast<TCustomPrintableVDData *>(vdData)->GetColorMode()
                  : vdcmPrinterColor,
              vdData, drawItemNo, 0, forMetafile);
        return;
    }
    TVDTablePaintParams p;
    p.Left = left;
    p.Top = top;
    p.State = state;
    p.Style = &style;
    p.Fmt = Fmt.get();
    p.ClipRect = vdData && vdData->IsRotationUsed() ? rtl::TRect{} : clipRect;
    if (const auto *part = dynamic_cast<const TVDTablePaintItemPart *>(paintPart)) {
        p.StartRow = part->StartRow;
        p.LastRow = part->LastRow;
    }
    p.ExtraX = extraX;
    p.ExtraY = extraY;
    p.ForMetafile = forMetafile;
    p.DrawItemNo = drawItemNo;
    PaintTable(canvas, p);
}

TVDTablePaintContext::TVDTablePaintContext(TVDTableItemInfo &table, gfx::TCanvas &canvas,
                                           const TVDTablePaintParams &p)
    : P(p), Canvas(canvas), GI(p.Style->GetGraphicInterface()), Q(table, *p.Style, table.cursad),
      Clipping(IsClipping(p.ClipRect)), Printing(p.State.Contains(vdidsPrinting)),
      AllowThumbnails(p.State.Contains(vdidsUseWordPainters) && !Printing), X0(p.Left - p.ExtraX),
      Y0(p.Top - p.ExtraY) {
    TCustomVDData *main = table.GetRows().GetMainVDData();
    auto *root =
        main ? dynamic_cast<TCustomVDFormattedData *>(main->GetAbsoluteRootData()) : nullptr;
    SelColor = root && root->FocusedEx() ? p.Style->GetSelColor() : p.Style->GetInactiveSelColor();
}

void TVDTableItemInfo::PaintTable(gfx::TCanvas &canvas, const TVDTablePaintParams &p) {
    TVDTablePaintContext ctx(*this, canvas, p);
    const TVDTableItemFormattingInfo &fmt = *p.Fmt;
    MyClientLeft = p.Left;
    MyClientTop = p.Top;
    ctx.FirstRow =
        ctx.Clipping ? FindStartIndex(p.ClipRect.Top - p.Top - ctx.Q.By, fmt.RowStarts) : 0;
    ctx.LastRow = GetColCount() > 0 ? GetRowCount() - 1 : -1;
    ctx.TableRect = rtl::Rect(ctx.X0, ctx.Y0, ctx.X0 + fmt.FWidth, ctx.Y0 + fmt.FHeight);
    if (p.PrintPart) {
        ctx.FirstRow = p.PrintPart->FirstRow();
        ctx.LastRow = p.PrintPart->LastRow();
        ctx.TableRect.Bottom = ctx.Y0 + p.PrintPart->Height;
    } else if (p.StartRow >= 0 && p.LastRow >= p.StartRow && p.LastRow < GetRowCount()) {
        LimitToPart(ctx);
    }
    PaintTableBackground(ctx);
    canvas.GetPen().SetWidth(1);
    canvas.GetPen().SetStyle(gfx::psSolid);
    PaintVerticalRules(ctx);
    PaintHorizontalRules(ctx);
    TVDBorderParams border = BorderParams(ctx, ctx.TableRect);
    border.VisibleBorders = &FVisibleBorders;
    border.BorderStyle = FBorderStyle;
    border.Width = FBorderWidth;
    border.Color = FColors[vdtcBorderColor];
    border.LightColor = FColors[vdtcBorderLightColor];
    TCustomVDData *main = FRows->GetMainVDData();
    border.BackgroundColor = main ? static_cast<TColor>(main->GetColor()) : gfx::clNone;
    DrawBorder(canvas, border);
    if (p.PrintPart) {
        PaintPartCells(ctx);
    } else {
        PaintCells(ctx);
    }
    canvas.GetPen().SetWidth(1);
}

// Rows StartRow to LastRow of a table painted in parts: the rectangle loses what lies below
// the last row (unless it is the last row or a heading row) and above the first body row.
void TVDTableItemInfo::LimitToPart(TVDTablePaintContext &ctx) {
    const TVDTableItemFormattingInfo &fmt = *ctx.P.Fmt;
    const int32_t heading = GetRealHeadingRowCount();
    ctx.FirstRow = std::max(ctx.FirstRow, ctx.P.StartRow);
    ctx.LastRow = ctx.P.LastRow;
    if (ctx.LastRow != GetRowCount() - 1 && ctx.LastRow >= heading) {
        ctx.TableRect.Bottom = ctx.Y0 + fmt.RowStarts.Get(ctx.LastRow) +
                               fmt.RowHeights.Get(ctx.LastRow) + 2 * ctx.Q.VPad + ctx.Q.CBy +
                               ctx.Q.By + ctx.Q.BV;
    }
    if (ctx.P.StartRow >= 1) {
        ctx.TableRect.Top += fmt.RowStarts.Get(ctx.P.StartRow) -
                             fmt.RowStarts.Get(std::min(heading, GetRowCount() - 1));
    }
}

TVDBorderParams TVDTableItemInfo::BorderParams(const TVDTablePaintContext &ctx,
                                               const rtl::TRect &r) const {
    TVDBorderParams b;
    b.Left = r.Left;
    b.Top = r.Top;
    b.Right = r.Right;
    b.Bottom = r.Bottom;
    b.LineEndExtension = ctx.LineEndExtension;
    b.Style = ctx.P.Style;
    b.ColorMode = ctx.P.ColorMode;
    b.ClipRect = ctx.P.ClipRect;
    b.Printing = ctx.Printing;
    b.Editable = ctx.Editable;
    b.ShowGridLines = !FOptions.Contains(vdtoHideGridLines);
    return b;
}

void TVDTableItemInfo::PaintTableBackground(TVDTablePaintContext &ctx) {
    rtl::TRect r = ctx.TableRect;
    if (ctx.Clipping) {
        r = rtl::IntersectRect(r, ctx.P.ClipRect);
    }
    if (r.Width() <= 0 || r.Height() <= 0) {
        return;
    }
    TColor color = FColors[vdtcColor];
    if (color != gfx::clNone && ctx.Printing && FPrintOptions.Contains(vdtoWhiteBackground)) {
        color = gfx::clWhite;
    }
    color = GetBackColorForMode(color, ctx.P.ColorMode);
    if (SimulatesPrinting(ctx) &&
        IsSemiTransparent(FBackground.get(), FColors[vdtcColor], FOpacity)) {
        PaintSimulatedBackground(ctx, r, nullptr, gfx::clNone);
    } else if (FBackground && FBackground->Visible() && ctx.Printing && cursad) {
        FBackground->Print(ctx.Canvas, r, ctx.TableRect, *cursad, color, FOpacity,
                           ctx.P.State.Contains(vdidsPreview), ctx.GI);
    } else if (FBackground && FBackground->Visible()) {
        FBackground->Draw(ctx.Canvas, r, 0, 0, ctx.TableRect.Left, ctx.TableRect.Top,
                          ctx.P.Fmt->FWidth, ctx.P.Fmt->FHeight, color, FOpacity, ctx.Clipping,
                          ctx.P.State.Contains(vdidsPrintSimulation), ctx.GI,
                          FRows->GetMainVDData(), this, ctx.AllowThumbnails);
    } else if (color != gfx::clNone) {
        ctx.GI.FillRectAlpha(ctx.Canvas, r, color, OpacityToAlpha(FOpacity));
    }
}

void TVDTableItemInfo::PaintVerticalRules(TVDTablePaintContext &ctx) {
    if (FVRuleWidth == 0 || FColors[vdtcVRuleColor] == gfx::clNone) {
        return;
    }
    const TVDTableMetrics &q = ctx.Q;
    const TVDTableItemFormattingInfo &fmt = *ctx.P.Fmt;
    const int32_t a = ctx.P.Style->GetAsDevicePixelsX(FVRuleWidth, cursad);
    const int32_t gap = (q.HSp + 2 * q.CBx + 1) / 2;
    const bool hRules = FHRuleWidth != 0 && FColors[vdtcHRuleColor] != gfx::clNone;
    const int32_t shorten = hRules && FHOutermostRule ? q.By + q.BV / 2 : 0;
    int32_t y1 = ctx.TableRect.Top + shorten;
    int32_t y2 = ctx.TableRect.Bottom - shorten;
    if (ctx.Clipping) {
        y1 = std::max(y1, ctx.P.ClipRect.Top - 1);
        y2 = std::min(y2, ctx.P.ClipRect.Bottom + 1);
    }
    ctx.Canvas.GetPen().SetColor(GetTextColorForMode(FColors[vdtcVRuleColor], ctx.P.ColorMode));
    auto rule = [&](int32_t x) {
        for (int32_t i = 0; i < a; ++i) {
            ctx.GI.Line(ctx.Canvas, x - a / 2 + i, y1, x - a / 2 + i, y2);
        }
    };
    const int32_t first =
        ctx.Clipping ? FindStartIndex(ctx.P.ClipRect.Left - ctx.X0, fmt.ColStarts) : 0;
    if (FVOutermostRule && first == 0) {
        rule(ctx.X0 + q.Bx + q.BH / 2);
    }
    for (int32_t k = first + 1; k < GetColCount(); ++k) {
        const int32_t x = ctx.X0 + fmt.ColStarts.Get(k) - gap;
        if (ctx.Clipping && x - a > ctx.P.ClipRect.Right) {
            break;
        }
        rule(x);
    }
    if (FVOutermostRule) {
        rule(ctx.X0 + fmt.FWidth - q.Bx - q.BH / 2 - 1 + (FVRuleWidth % 2 == 0 ? 1 : 0));
    }
}

void TVDTableItemInfo::PaintHorizontalRules(TVDTablePaintContext &ctx) {
    if (FHRuleWidth == 0 || FColors[vdtcHRuleColor] == gfx::clNone) {
        return;
    }
    const TVDTableMetrics &q = ctx.Q;
    const TVDTableItemFormattingInfo &fmt = *ctx.P.Fmt;
    const int32_t a = ctx.P.Style->GetAsDevicePixelsY(FHRuleWidth, cursad);
    const int32_t gap = (q.VSp + 2 * q.CBy + 1) / 2;
    const bool vRules = FVRuleWidth != 0 && FColors[vdtcVRuleColor] != gfx::clNone;
    const int32_t shorten = vRules && FVOutermostRule ? q.Bx + q.BH / 2 : 0;
    const int32_t x1 = ctx.TableRect.Left + shorten;
    const int32_t x2 = ctx.TableRect.Right - shorten;
    ctx.Canvas.GetPen().SetColor(GetTextColorForMode(FColors[vdtcHRuleColor], ctx.P.ColorMode));
    auto rule = [&](int32_t y) {
        for (int32_t i = 0; i < a; ++i) {
            ctx.GI.Line(ctx.Canvas, x1, y - a / 2 + i, x2, y - a / 2 + i);
        }
    };
    if (FHOutermostRule && (ctx.FirstRow <= 1 || ctx.Printing)) {
        rule(ctx.TableRect.Top + q.By + q.BV / 2);
    }
    if (const TVDTablePrintPart *part = ctx.P.PrintPart) {
        // Between the repeated heading rows, below them, and between the part's rows.
        for (int32_t h = 1; h < part->FHeadingRows; ++h) {
            rule(ctx.Y0 + fmt.RowStarts.Get(h) - gap);
        }
        for (int32_t r = part->FirstRow(); r <= part->LastRow(); ++r) {
            if (r > part->FirstRow() || part->FHeadingRows > 0) {
                rule(ctx.Y0 + part->RowStartOf(r) + q.CBy - gap);
            }
        }
    } else {
        for (int32_t r = std::max(ctx.FirstRow, 1); r <= ctx.LastRow; ++r) {
            const int32_t y = ctx.Y0 + fmt.RowStarts.Get(r) - gap;
            if (ctx.Clipping && y > ctx.P.ClipRect.Bottom + a) {
                break;
            }
            rule(y);
        }
    }
    if (FHOutermostRule) {
        rule(ctx.TableRect.Bottom - q.By - q.BV / 2 - 1 + (a % 2 == 0 ? 1 : 0));
    }
}

void TVDTableItemInfo::PaintCells(TVDTablePaintContext &ctx) {
    const TVDTableItemFormattingInfo &fmt = *ctx.P.Fmt;
    if (ctx.FirstRow > 0) {
        // Merged cells that begin above the first painted row and reach into it.
        for (int32_t c = GetColCount() - 1; c >= 0; --c) {
            int32_t mRow = 0;
            int32_t mCol = 0;
            FRows->GetMainCell(ctx.FirstRow, c, mRow, mCol);
            if (mRow < ctx.FirstRow) {
                PaintCell(ctx, mRow, mCol);
            }
            c = mCol;
        }
    }
    TCustomVDData *main = FRows->GetMainVDData();
    auto *formatted = dynamic_cast<TCustomVDFormattedData *>(main);
    for (int32_t r = ctx.FirstRow; r <= ctx.LastRow; ++r) {
        if (ctx.Clipping && ctx.Y0 + fmt.RowStarts.Get(r) - ctx.Q.CBy > ctx.P.ClipRect.Bottom) {
            break;
        }
        for (int32_t c = 0; c < GetColCount(); ++c) {
            if (ctx.Clipping && ctx.X0 + fmt.ColStarts.Get(c) - ctx.Q.CBx > ctx.P.ClipRect.Right) {
                break;
            }
            if (GetCells(r, c)) {
                PaintCell(ctx, r, c);
            }
        }
        if (r > 0 && !ctx.Printing && formatted && main->GetOptions().Contains(vdoShowPageBreaks) &&
            FRows->Get(r)->PageBreakBefore) {
            const int32_t shift =
                ctx.P.DrawItemNo >= 0 && ctx.P.DrawItemNo < formatted->DrawItems.Count()
                    ? formatted->DrawItems[ctx.P.DrawItemNo]->Left - ctx.X0
                    : -ctx.X0;
            ctx.P.Style->DrawPageBreak(ctx.Canvas, ctx.Y0 + fmt.RowStarts.Get(r) - ctx.Q.CBy, shift,
                                       vdpbPageBreak, formatted->GetParentControl(), main,
                                       GetMyItemNo());
        }
    }
}

void TVDTableItemInfo::PaintCell(TVDTablePaintContext &ctx, int32_t row, int32_t col) {
    TVDTableCellData &cell = *GetCells(row, col);
    TCellPtblVDData *printed = FCurrentPrintFmt ? FCurrentPrintFmt->CellAt(row, col) : nullptr;
    const rtl::TRect r =
        printed ? rtl::Rect(ctx.X0 + printed->DX - ctx.Q.HPad, ctx.Y0 + printed->DY - ctx.Q.VPad,
                            ctx.X0 + printed->DX + printed->Width + ctx.Q.HPad,
                            ctx.Y0 + printed->DY + printed->Height + ctx.Q.VPad)
                : rtl::Rect(ctx.X0 + cell.FLeft, ctx.Y0 + cell.FTop,
                            ctx.X0 + cell.FLeft + cell.FWidth, ctx.Y0 + cell.FTop + cell.FHeight);
    PaintCellBox(ctx, row, col, printed, r, 1);
}

void TVDTableItemInfo::PaintCellBox(TVDTablePaintContext &ctx, int32_t row, int32_t col,
                                    TCellPtblVDData *printed, const rtl::TRect &r, int32_t pageNo) {
    TVDTableCellData &cell = *GetCells(row, col);
    const bool wholeTable = ctx.P.State.Contains(vdidsSelected);
    const bool selected = wholeTable || (!ctx.Printing && IsCellSelected(row, col));
    // The whole table's selection marks the cell only while it is painted.
    const rtl::TFlagScope marked(cell.State, vdstCompletelySelected,
                                 wholeTable || cell.State.Contains(vdstCompletelySelected));
    if (selected && ctx.SelColor != gfx::clNone) {
        ctx.GI.FillColorRect(ctx.Canvas, r, GetBackColorForMode(ctx.SelColor, ctx.P.ColorMode));
    } else {
        PaintCellBackground(ctx, cell, row, col, r);
    }
    if (printed) {
        PaintPrintedCellContent(ctx, row, col, *printed, r, pageNo);
    } else {
        PaintCellContent(ctx, cell, r);
    }
    TVDBorderParams border =
        BorderParams(ctx, rtl::Rect(r.Left - ctx.Q.CBx, r.Top - ctx.Q.CBy, r.Right + ctx.Q.CBx,
                                    r.Bottom + ctx.Q.CBy));
    border.Row = row;
    border.Col = col;
    border.VisibleBorders = &cell.FVisibleBorders;
    border.BorderStyle = FCellBorderStyle;
    border.Width = FCellBorderWidth;
    border.Color =
        cell.GetBorderColor() != gfx::clNone ? cell.GetBorderColor() : FColors[vdtcCellBorderColor];
    border.LightColor = cell.GetBorderLightColor() != gfx::clNone
                            ? cell.GetBorderLightColor()
                            : FColors[vdtcCellBorderLightColor];
    border.BackgroundColor = FColors[vdtcColor];
    DrawBorder(ctx.Canvas, border);
}

void TVDTableItemInfo::PaintCellBackground(TVDTablePaintContext &ctx, TVDTableCellData &cell,
                                           int32_t row, int32_t col, rtl::TRect r) {
    TColor color = GetCellColor(row, col, false, false);
    TVDBackground *picture = cell.GetCellBackground();
    const bool hasPicture = picture && picture->Visible();
    if (color == gfx::clNone && !hasPicture) {
        return;
    }
    if (color != gfx::clNone && ctx.Printing && FPrintOptions.Contains(vdtoWhiteBackground)) {
        color = gfx::clWhite;
    }
    color = GetBackColorForMode(color, ctx.P.ColorMode);
    if (FOptions.Contains(vdtoCellBelowBorders)) {
        r = rtl::Rect(r.Left - ctx.Q.CBx, r.Top - ctx.Q.CBy, r.Right + ctx.Q.CBx,
                      r.Bottom + ctx.Q.CBy);
    }
    if (SimulatesPrinting(ctx) &&
        IsSemiTransparent(hasPicture ? picture : nullptr, cell.GetOwnColor(), cell.GetOpacity())) {
        PaintSimulatedBackground(ctx, r, &cell, color);
    } else if (hasPicture && ctx.Printing && cursad) {
        picture->Print(ctx.Canvas, r, r, *cursad, color, cell.GetOpacity(),
                       ctx.P.State.Contains(vdidsPreview), ctx.GI);
    } else if (hasPicture) {
        picture->Draw(ctx.Canvas, r, 0, 0, r.Left, r.Top, r.Width(), r.Height(), color,
                      cell.GetOpacity(), ctx.Clipping, ctx.P.State.Contains(vdidsPrintSimulation),
                      ctx.GI, &cell, &cell, ctx.AllowThumbnails);
    } else {
        ctx.GI.FillRectAlpha(ctx.Canvas, r, color, OpacityToAlpha(cell.GetOpacity()));
    }
    ctx.Canvas.GetBrush().SetStyle(gfx::bsSolid);
    AfterCellBackground(ctx.Canvas, row, col, r);
}

void TVDTableItemInfo::PaintCellContent(TVDTablePaintContext &ctx, TVDTableCellData &cell,
                                        const rtl::TRect &r) {
    auto &data = static_cast<TCustomVDFormattedData &>(*cell.GetVDData());
    const TVDCanvasStateScope saved(ctx.GI, ctx.Canvas);
    ctx.GI.IntersectClipRect(ctx.Canvas, r.Left, r.Top, r.Right, r.Bottom);
    TVDStoreDocTransform transform;
    data.PrepareTransform(ctx.Canvas, transform, ctx.P.ExtraX, ctx.P.ExtraY, vdtrbLocal,
                          data.DocumentHeight);
    data.PaintTo(ctx.Canvas, ctx.P.ClipRect, false, false,
                 ctx.P.State.Contains(vdidsDrawInplaceOnMainCanvas),
                 ctx.P.State.Contains(vdidsPrintSimulation),
                 ctx.P.State.Contains(vdidsUseWordPainters), ctx.P.ExtraX, ctx.P.ExtraY, 0,
                 data.DrawItems.Count() - 1, nullptr, nullptr, ctx.P.ForMetafile);
    data.RestoreTransform(ctx.Canvas, transform);
}

// Page pageNo of the printed cell's document inside the cell's box, placed by the cell's
// vertical alignment; the cell is the one being printed while its content is drawn.
void TVDTableItemInfo::PaintPrintedCellContent(TVDTablePaintContext &ctx, int32_t row, int32_t col,
                                               TCellPtblVDData &printed, const rtl::TRect &r,
                                               int32_t pageNo) {
    if (pageNo <= 0) {
        return;
    }
    const int32_t state = ctx.GI.SaveCanvasState(ctx.Canvas);
    struct TRestore {
        TVDTableItemInfo &Table;
        TVDGraphicInterface &GI;
        gfx::TCanvas &Canvas;
        int32_t State;
        ~TRestore() {
            Table.FPrintCellRow = Table.FPrintCellCol = -1;
            Table.FPrintCellRect = {};
            GI.RestoreCanvasState(Canvas, State);
        }
    } restore{*this, ctx.GI, ctx.Canvas, state};
    ctx.GI.IntersectClipRect(ctx.Canvas, r.Left, r.Top, r.Right, r.Bottom);
    printed.Left = ctx.X0;
    printed.Top = r.Top + ctx.Q.VPad - printed.DY +
                  CellVAlignOffset(GetCells(row, col)->GetRealVAlign(), r.Height() - 2 * ctx.Q.VPad,
                                   printed.PageContentHeight(pageNo));
    FPrintCellRow = row;
    FPrintCellCol = col;
    FPrintCellRect =
        rtl::Rect(r.Left - ctx.X0, r.Top - ctx.Y0, r.Right - ctx.X0, r.Bottom - ctx.Y0);
    if (cursad) {
        DeviceRectToScreen(FPrintCellRect, *cursad);
    }
    const int32_t global =
        ctx.P.PageNo > 0 ? ctx.P.PageNo
                         : (ctx.P.PrintVDData ? ctx.P.PrintVDData->GetDrawnGlobalPageNo() : 0);
    printed.DrawPage(pageNo, global, ctx.Canvas, ctx.P.State.Contains(vdidsPreview),
                     ctx.P.State.Contains(vdidsPreviewCorrection));
}

// The heading rows at their places in the layout (their page fields evaluated for the page),
// then the part's rows with the part's row starts; in the first row, a cell that began above
// is painted once at its own column.
void TVDTableItemInfo::PaintPartCells(TVDTablePaintContext &ctx) {
    const TVDTablePrintPart &part = *ctx.P.PrintPart;
    TCustomPrintableVDData *doc = ctx.P.PrintVDData;
    TCustomVDPrint *print = doc ? doc->GetVDPrint() : nullptr;
    const int32_t global = doc ? doc->GetDrawnGlobalPageNo() : 0;
    for (int32_t r = 0; r < part.FHeadingRows; ++r) {
        for (int32_t c = 0; c < GetColCount(); ++c) {
            TCellPtblVDData *printed = FCurrentPrintFmt->CellAt(r, c);
            if (!printed) {
                continue;
            }
            if (print && global > 0) {
                printed->AdjustAllItemsPrintingWidth(print->GetDispPageNo(global),
                                                     print->GetPagesCount());
            }
            PaintCell(ctx, r, c);
        }
    }
    const TVDTableMetrics &q = ctx.Q;
    auto paint = [&](int32_t r, int32_t mRow, int32_t mCol, TCellPtblVDData &printed) {
        const int32_t top = ctx.Y0 + part.RowStartOf(r) + q.CBy;
        const int32_t after = mRow + GetCells(mRow, mCol)->GetRowSpan();
        const int32_t bottom = ctx.Y0 + part.RowStartOf(after) - q.VSp - q.CBy;
        const rtl::TRect box =
            rtl::Rect(ctx.X0 + printed.DX - q.HPad, top,
                      ctx.X0 + printed.DX + printed.Width + q.HPad, std::max(top, bottom));
        PaintCellBox(ctx, mRow, mCol, &printed, box, part.ShownPage(mRow, mCol));
    };
    ForEachPartCell(*FCurrentPrintFmt, part, paint);
}

// ---- Print simulation ----

bool TVDTableItemInfo::SimulatesPrinting(const TVDTablePaintContext &ctx) const {
    return ctx.P.State.Contains(vdidsPrintSimulation) && ctx.P.Fmt == Fmt.get();
}

// A semi-transparent picture under no colour or a colour not opaque, or a colour partly
// opaque without a picture.
bool TVDTableItemInfo::IsSemiTransparent(const TVDBackground *picture, TColor color,
                                         TVDOpacity opacity) {
    if (picture && picture->Visible()) {
        return (color == gfx::clNone || opacity < 100000) && picture->IsSemitransparent();
    }
    return color != gfx::clNone && opacity > 0 && opacity < 100000;
}

// Printers blend nothing: what the document has behind the rectangle r, the table's background
// and (for a cell) the cell's are composed in a bitmap that is drawn at r.
void TVDTableItemInfo::PaintSimulatedBackground(TVDTablePaintContext &ctx, const rtl::TRect &r,
                                                TVDTableCellData *cell, TColor cellColor) {
    if (r.Width() <= 0 || r.Height() <= 0) {
        return;
    }
    auto bmp = std::make_unique<gfx::TBitmap>(r.Width(), r.Height());
    bmp->SetPixelFormat(gfx::pf32bit);
    gfx::TCanvas &bc = bmp->GetCanvas();
    const rtl::TRect whole = rtl::Rect(0, 0, r.Width(), r.Height());
    TColor behind = gfx::clWhite;
    std::unique_ptr<gfx::TBitmap> back;
    bool useBitmap = false;
    auto *doc = dynamic_cast<TCustomVDFormattedData *>(FRows->GetMainVDData());
    const int32_t itemNo = GetMyItemNo();
    if (doc && itemNo >= 0) {
        rtl::TRect inDoc = r;
        inDoc.Offset(ctx.P.ExtraX, ctx.P.ExtraY);
        doc->GetItemBackground(itemNo, inDoc, false, behind, back, useBitmap, ctx.GI,
                               ctx.AllowThumbnails, false);
    }
    if (useBitmap && back) {
        bc.Draw(0, 0, *back);
    } else {
        ctx.GI.FillColorRect(bc, whole, behind == gfx::clNone ? gfx::clWhite : behind);
    }
    if (doc && doc->GetRotation() != vdrotNone) {
        RotateBitmap(*bmp, doc->GetRotation(), ctx.GI);
    }
    auto layer = [&](TVDBackground *picture, TColor color, TVDOpacity opacity,
                     const rtl::TRect &area, void *owner) {
        rtl::TRect placed = area;
        placed.Offset(-r.Left, -r.Top);
        if (picture && picture->Visible()) {
            picture->Draw(bc, whole, 0, 0, placed.Left, placed.Top, placed.Width(), placed.Height(),
                          color, opacity, false, true, ctx.GI, doc, owner, false);
        } else if (color != gfx::clNone) {
            ctx.GI.FillRectAlpha(bc, whole, color, OpacityToAlpha(opacity));
        }
    };
    TColor tableColor = GetBackColorForMode(FColors[vdtcColor], ctx.P.ColorMode);
    layer(FBackground.get(), tableColor, FOpacity, ctx.TableRect, this);
    if (cell) {
        layer(cell->GetCellBackground(), cellColor, cell->GetOpacity(), r, cell);
    }
    DrawOrPrintGraphic(ctx.Canvas, r.Left, r.Top, r.Width(), r.Height(), nullptr, *bmp, vdgdStretch,
                       ctx.GI);
}

bool TVDTableItemInfo::IsSemiTransparentBackground() const {
    return FColors[vdtcColor] == gfx::clNone && FBackground && FBackground->IsSemitransparent();
}

} // namespace vizivodu
