// Breaks and tabs on the screen and on paper: the break's rule in its five styles (device-scaled
// and in the colour mode when printed), the tab's background, decorations, leader and arrow.
#include "vizivodu/document/VDItem_BreakTab.h"

#include "vizivodu/document/VDItem_p.h"
#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/TextMetrics.h"
#include "platform/rtl/Rounding.h"
#include "platform/rtl/ScopeExit.h"

#include <algorithm>

namespace vizivodu {

namespace {

// The patterns of DrawPatternHorzLine for the three line styles.
int32_t LinePattern(TVDBreakStyle style) {
    switch (style) {
    case vdbsDotted:
        return 1;
    case vdbsDashed:
        return 3;
    default:
        return 0;
    }
}

} // namespace

void Draw3DFrame(gfx::TCanvas &canvas, rtl::TRect rect, gfx::TColor topLeftColor,
                 gfx::TColor bottomRightColor, int32_t width, TVDGraphicInterface &gi) {
    width = std::max(width, 1);
    const bool full = width <= rect.Height();
    for (int32_t i = 0; i < width; ++i) {
        canvas.GetPen().SetColor(topLeftColor);
        gi.MoveTo(canvas, rect.Left, rect.Bottom);
        gi.LineTo(canvas, rect.Left, rect.Top);
        gi.LineTo(canvas, rect.Right, rect.Top);
        if (full) {
            canvas.GetPen().SetColor(bottomRightColor);
            gi.LineTo(canvas, rect.Right, rect.Bottom);
            gi.LineTo(canvas, rect.Left, rect.Bottom);
            rect.Inflate(-1, -1);
        } else {
            ++rect.Top;
            --rect.Bottom;
        }
    }
}

// ---- Breaks ----

gfx::TColor TVDBreakItemInfo::LineColor(const TVDStyle &style) const {
    return Color != gfx::clNone ? Color : style.GetTextStyles().GetItem(0).GetColor();
}

void TVDBreakItemInfo::OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool,
                                        gfx::TCanvas &, TCustomVDData *vdData,
                                        PVDScreenAndDevice sad, int32_t &, int32_t &desc, bool,
                                        bool, bool) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    const TVDScreenAndDevice identity{96, 96, 96, 96, 0, 0};
    const TVDScreenAndDevice &s = sad ? *sad : identity;
    const int32_t margin = ScreenToDeviceX(5, s);
    const int32_t thickness = ToPixels(style, LineWidth);
    const int32_t half = ScreenToDeviceY(thickness > 10 ? thickness / 2 : 5, s);
    dli.Height = 2 * half + 1;
    dli.Width = docWidth - 2 * margin;
    desc = half;
}

void TVDBreakItemInfo::PaintFullWidth(int32_t left, int32_t, int32_t top, gfx::TCanvas &canvas,
                                      TVDItemDrawStates state, TVDStyle &style, const rtl::TRect &,
                                      TCustomVDData *vdData, int32_t drawItemNo, int32_t extraX,
                                      int32_t extraY, TVDPaintItemPart *, bool) {
    const TVDDrawLineInfo *d = DrawItemOf(vdData, drawItemNo);
    if (!d) {
        return;
    }
    TVDGraphicInterface &gi = style.GetGraphicInterface();
    const int32_t l = left - extraX;
    const int32_t r = l + d->Width;
    const int32_t y = top - extraY + d->Height / 2;
    const int32_t t = style.GetAsPixels(LineWidth);
    const int32_t lineTop = y - t / 2;
    const int32_t bottom = lineTop + t;
    const gfx::TColor color = LineColor(style);
    gfx::TPen &pen = canvas.GetPen();
    pen.SetColor(color);
    pen.SetStyle(gfx::psInsideFrame);
    canvas.GetBrush().SetStyle(gfx::bsClear);
    switch (Style) {
    case vdbsLine:
    case vdbsDotted:
    case vdbsDashed:
        DrawPatternHorzLine(canvas, color, LinePattern(Style), t, l, r, y, 0, gi);
        break;
    case vdbsRectangle:
        pen.SetWidth(1);
        gi.Rectangle(canvas, l, lineTop, r, bottom);
        break;
    case vdbs3d:
        pen.SetWidth(1);
        Draw3DFrame(canvas, rtl::Rect(l, lineTop, r - 1, bottom - 1), gfx::clBtnShadow,
                    gfx::clBtnFace, 1, gi);
        break;
    }
    pen.SetStyle(gfx::psSolid);
    pen.SetWidth(1);
    canvas.GetBrush().SetStyle(gfx::bsClear);
    if (state.Contains(vdidsSelected)) {
        const gfx::TColor sel =
            state.Contains(vdidsControlFocused) ? style.GetSelColor() : style.GetInactiveSelColor();
        if (sel != gfx::clNone) {
            pen.SetColor(sel);
            gi.Rectangle(canvas, l, lineTop - 1, r, bottom + 1);
        }
    }
    if (Hidden) {
        DrawDottedHorzLine(canvas, style.GetTextStyles().GetItem(0).GetColor(), l, gi, bottom + 1,
                           r);
    }
}

// On paper the rule is as thick as its length at the printer's resolution, its colour follows
// the colour mode, and the 3-D style's lower edge is the highlight colour (white paper shows no
// face colour).
void TVDBreakItemInfo::Print(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t, bool, bool,
                             const TVDScreenAndDevice &sad, int32_t, TVDColorMode colorMode,
                             TCustomVDData *vdData, int32_t dItemNo, int32_t, bool) {
    const TVDDrawLineInfo *d = DrawItemOf(vdData, dItemNo);
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!d || !style) {
        return;
    }
    TVDGraphicInterface &gi = style->GetGraphicInterface();
    const int32_t r = x + d->Width;
    const int32_t middle = y + d->Height / 2;
    const int32_t t = style->GetAsDevicePixelsY(LineWidth, &sad);
    const int32_t top = middle - t / 2;
    gfx::TPen &pen = canvas.GetPen();
    pen.SetStyle(gfx::psInsideFrame);
    pen.SetMode(gfx::pmCopy);
    const gfx::TColor color = GetTextColorForMode(LineColor(*style), colorMode);
    pen.SetColor(color);
    switch (Style) {
    case vdbsLine:
    case vdbsDotted:
    case vdbsDashed:
        DrawPatternHorzLine(canvas, color, LinePattern(Style), t, x, r, middle, 0, gi);
        break;
    case vdbsRectangle:
        pen.SetWidth(ScreenToDeviceY(1, sad));
        canvas.GetBrush().SetStyle(gfx::bsClear);
        gi.Rectangle(canvas, x, top, r, top + t);
        break;
    case vdbs3d: {
        pen.SetWidth(1);
        const int32_t width =
            sad.ppiyScreen > 0
                ? int32_t(rtl::Round(static_cast<long double>(sad.ppiyDevice) / sad.ppiyScreen))
                : 1;
        Draw3DFrame(canvas, rtl::Rect(x, top, r - 1, top + t - 1),
                    GetTextColorForMode(gfx::clBtnShadow, colorMode),
                    GetTextColorForMode(gfx::clBtnHighlight, colorMode), width, gi);
        break;
    }
    }
    pen.SetStyle(gfx::psSolid);
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
    TVDTabDrawing drawing;
    drawing.ColorMode = vdcmColor;
    drawing.ShowSpecialCharacters = state.Contains(vdidsShowSpecialCharacters);
    drawing.RTL = state.Contains(vdidsRTL);
    drawing.CanUseCustomPPI = state.Contains(vdidsCanUseCustomPPI);
    if (state.Contains(vdidsSelected)) {
        drawing.TextState.Include(vdtsSelected);
    }
    if (state.Contains(vdidsHover)) {
        drawing.TextState.Include(vdtsHover);
    }
    if (state.Contains(vdidsControlFocused)) {
        drawing.TextState.Include(vdtsControlFocused);
    }
    drawing.ForMetafile = forMetafile;
    DrawTab(canvas, rtl::Bounds(x, y, dli.Width, dli.Height), vdData, drawing);
}

void TVDTabItemInfo::Print(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t, bool, bool,
                           const TVDScreenAndDevice &, int32_t, TVDColorMode colorMode,
                           TCustomVDData *vdData, int32_t dItemNo, int32_t, bool forMetafile) {
    const TVDDrawLineInfo *d = DrawItemOf(vdData, dItemNo);
    if (!d) {
        return;
    }
    TVDTabDrawing drawing;
    drawing.ColorMode = colorMode;
    drawing.Printing = true;
    drawing.CanUseCustomPPI = vdData->GetFlags().Contains(vdflCanUseCustomPPI);
    drawing.ForMetafile = forMetafile;
    DrawTab(canvas, rtl::Bounds(x, y, d->Width, d->Height), vdData, drawing);
}

void TVDTabItemInfo::DrawTab(gfx::TCanvas &canvas, const rtl::TRect &r, TCustomVDData *vdData,
                             const TVDTabDrawing &drawing) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!style) {
        return;
    }
    TVDGraphicInterface &gi = style->GetGraphicInterface();
    const int32_t n = ResolvedTextStyle(vdData);
    style->ApplyStyleColor(canvas, n, drawing.TextState, drawing.Printing, drawing.ColorMode);
    ApplyTabStyle(canvas, *style, n, vdData, drawing);
    if (canvas.GetBrush().GetStyle() != gfx::bsClear &&
        canvas.GetBrush().GetColor() != gfx::clNone) {
        gi.FillRect(canvas, r);
    }
    canvas.GetBrush().SetStyle(gfx::bsClear);
    DrawDecorations(canvas, r, *style, n, drawing);
    DrawLeader(canvas, r, *style, n, vdData, drawing);
    if (drawing.ShowSpecialCharacters && VisibleSpecialCharacters.Contains(vdscTab)) {
        DrawArrow(canvas, r, *style, drawing);
    }
}

void TVDTabItemInfo::ApplyTabStyle(gfx::TCanvas &canvas, TVDStyle &style, int32_t n,
                                   TCustomVDData *vdData, const TVDTabDrawing &drawing) {
    TVDApplyOptions options;
    if (drawing.CanUseCustomPPI) {
        options.Include(vdaoCanUseCustomPPI);
    }
    if (vdData->UseVerticalFonts()) {
        options.Include(vdaoUseVerticalFont);
    }
    style.ApplyStyle(canvas, n, vdData->GetBiDiMode(), options, nullptr);
}

// Underline (and the dotted line of hidden text), overline and strike-out across the gap.
void TVDTabItemInfo::DrawDecorations(gfx::TCanvas &canvas, const rtl::TRect &r, TVDStyle &style,
                                     int32_t n, const TVDTabDrawing &drawing) {
    const TFontInfo &font = style.GetTextStyles().GetItem(n);
    const gfx::TFontStyles fs = canvas.GetFont().GetStyle();
    const bool underline = fs.Contains(gfx::fsUnderline) || Hidden;
    const bool overline = font.GetStyleEx().Contains(vdfsOverline);
    if (!underline && !overline && !fs.Contains(gfx::fsStrikeOut)) {
        return;
    }
    TVDGraphicInterface &gi = style.GetGraphicInterface();
    const std::unique_ptr<gfx::TOutlineTextMetric> otm = AllocOutlineTextMetrics(canvas, gi);
    const gfx::TColor fontColor = canvas.GetFont().GetColor();
    const int32_t thickness =
        otm ? otm->otmsUnderscoreSize : GetUnderlineThickness(canvas.GetFont().GetSize());
    if (underline) {
        gfx::TColor color = fontColor;
        if (!drawing.TextState.Contains(vdtsSelected) && !Hidden) {
            color = font.GetColor();
            if (font.GetUnderlineColor() != gfx::clNone) {
                color = font.GetUnderlineColor();
            }
            if (drawing.TextState.Contains(vdtsHover) &&
                font.GetHoverUnderlineColor() != gfx::clNone) {
                color = font.GetHoverUnderlineColor();
            }
            color = GetTextColorForMode(color, drawing.ColorMode);
        }
        const int32_t y =
            otm ? r.Top + otm->otmTextMetrics.tmAscent + thickness / 2 - otm->otmsUnderscorePosition
                : r.Bottom - thickness / 2;
        if (Hidden) {
            DrawDottedHorzLine(canvas, color, r.Left - 1, gi, y, r.Right + 1);
        } else {
            DrawUnderline(canvas, font.GetUnderlineType(), color, gi, thickness, y, r.Right + 1,
                          r.Left - 1);
        }
    }
    if (overline) {
        DrawUnderline(canvas, vdutNormal, fontColor, gi, thickness, r.Top - thickness / 2, r.Right,
                      r.Left);
    }
    if (fs.Contains(gfx::fsStrikeOut) && otm) {
        gfx::TPen &pen = canvas.GetPen();
        pen.SetColor(fontColor);
        pen.SetStyle(gfx::psInsideFrame);
        pen.SetWidth(int32_t(otm->otmsStrikeoutSize));
        const int32_t y = r.Top + otm->otmTextMetrics.tmAscent +
                          int32_t(otm->otmsStrikeoutSize) / 2 - otm->otmsStrikeoutPosition;
        gi.Line(canvas, r.Left - 1, y, r.Right + 1, y);
        pen.SetStyle(gfx::psSolid);
        pen.SetWidth(1);
    }
}

// The leader repeated with a leader's width left free at each end.
void TVDTabItemInfo::DrawLeader(gfx::TCanvas &canvas, const rtl::TRect &r, TVDStyle &style,
                                int32_t n, TCustomVDData *vdData, const TVDTabDrawing &drawing) {
    if (Leader.empty()) {
        return;
    }
    ApplyTabStyle(canvas, style, n, vdData, drawing);
    TVDGraphicInterface &gi = style.GetGraphicInterface();
    const int32_t lw = gi.TextWidth(canvas, Leader);
    if (lw <= 0) {
        return;
    }
    const uint32_t align = gi.GetTextAlign(canvas);
    gi.SetTextAlign(canvas, gfx::TA_LEFT | gfx::TA_TOP);
    const rtl::TScopeExit restore([&]() noexcept { gi.SetTextAlign(canvas, align); });
    canvas.GetBrush().SetStyle(gfx::bsClear);
    const TVDTextRun run{.Str = reinterpret_cast<const char *>(Leader.data()),
                         .Length = static_cast<int32_t>(Leader.size()),
                         .Unicode = true};
    for (int32_t x = r.Left + lw; x + lw <= r.Right - lw; x += lw) {
        gi.TextOut(canvas, x, r.Top, run, drawing.ForMetafile ? vdtoMetafile : vdtoDevice);
    }
}

void TVDTabItemInfo::DrawArrow(gfx::TCanvas &canvas, const rtl::TRect &r, TVDStyle &style,
                               const TVDTabDrawing &drawing) {
    TVDGraphicInterface &gi = style.GetGraphicInterface();
    const gfx::TColor color =
        drawing.TextState.Contains(vdtsSelected) || style.GetSpecialCharactersColor() == gfx::clNone
            ? canvas.GetFont().GetColor()
            : style.GetSpecialCharactersColor();
    const int32_t len = std::clamp(r.Width(), 5, 10);
    const int32_t cx = (r.Left + r.Right + len) / 2;
    const int32_t cy = (r.Top + r.Bottom) / 2;
    gi.FillColorRect(canvas, rtl::Rect(cx - len - 1, cy, cx, cy + 1), color);
    const int32_t head = drawing.RTL ? cx - len + 1 : cx - 1;
    const int32_t step = drawing.RTL ? 1 : -1;
    gi.FillColorRect(canvas, rtl::Rect(head, cy - 1, head + 1, cy + 2), color);
    for (int32_t k = 1; k <= 2; ++k) {
        gi.FillColorRect(canvas, rtl::Rect(head + k * step, cy - 2, head + k * step + 1, cy + 3),
                         color);
    }
}

} // namespace vizivodu
