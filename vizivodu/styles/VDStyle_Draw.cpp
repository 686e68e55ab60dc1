// Drawing styled text and signs: a text style's fragments with plain or positioned output,
// special-character signs, underlines, overlines and the line of hidden text; selected ranges;
// checkpoints and page breaks.
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Graphics.h"
#include "platform/rtl/Rounding.h"
#include "vizivodu/styles/VDStyle_Canvas_p.h"

#include <algorithm>

namespace vizivodu {

namespace {

bool IsThick(TVDUnderlineType type) {
    switch (type) {
    case vdutThick:
    case vdutThickDotted:
    case vdutThickDashed:
    case vdutThickLongDashed:
    case vdutThickDashDotted:
    case vdutThickDashDotDotted:
        return true;
    default:
        return false;
    }
}

// The pattern of DrawPatternHorzLine and its dash unit for an underline type.
std::pair<int32_t, int32_t> PatternOf(TVDUnderlineType type) {
    switch (type) {
    case vdutDotted:
    case vdutThickDotted:
        return {2, 4};
    case vdutDashed:
    case vdutThickDashed:
        return {3, 12};
    case vdutLongDashed:
    case vdutThickLongDashed:
        return {3, 24};
    case vdutDashDotted:
    case vdutThickDashDotted:
        return {4, 14};
    case vdutDashDotDotted:
    case vdutThickDashDotDotted:
        return {5, 16};
    default:
        return {0, 0};
    }
}

// Puts the canvas transform back when it leaves scope.
class TScaledTransform {
public:
    TScaledTransform(TVDGraphicInterface &gi, gfx::TCanvas &canvas, bool active)
        : FGI(gi), FCanvas(canvas), FActive(active) {
        if (active) {
            gi.ScaleCanvasTransform(canvas, FState, FormatCanvasScaleFactor);
        }
    }
    ~TScaledTransform() {
        if (FActive) {
            FGI.RestoreCanvasTransform(FCanvas, FState);
        }
    }
    TScaledTransform(const TScaledTransform &) = delete;
    TScaledTransform &operator=(const TScaledTransform &) = delete;

private:
    TVDGraphicInterface &FGI;
    gfx::TCanvas &FCanvas;
    bool FActive;
    TVDCanvasStoreTransformParams FState;
};

// Gives a reference canvas the canvas's font while it lives.
class TCopiedFont {
public:
    TCopiedFont(TVDGraphicInterface &gi, gfx::TCanvas &source, gfx::TCanvas &dest)
        : FGI(gi), FSource(source), FDest(dest) {
        gi.CopyCanvasFont(source, dest, FState);
    }
    ~TCopiedFont() { FGI.FinalizeCopyCanvasFont(FSource, FDest, FState); }
    TCopiedFont(const TCopiedFont &) = delete;
    TCopiedFont &operator=(const TCopiedFont &) = delete;

private:
    TVDGraphicInterface &FGI;
    gfx::TCanvas &FSource;
    gfx::TCanvas &FDest;
    TVDCanvasStoreFontParams FState;
};

} // namespace

// ---- Lines --------------------------------------------------------------------------------

void DrawUnderline(gfx::TCanvas &canvas, TVDUnderlineType underlineType, TColor color,
                   TVDGraphicInterface &graphicInterface, int32_t lineWidth, int32_t y,
                   int32_t right, int32_t left) {
    if (right == left) {
        return;
    }
    if (IsThick(underlineType)) {
        lineWidth *= 2;
    }
    if (underlineType == vdutDouble) {
        const int32_t half = std::max(1, int32_t(rtl::Round(lineWidth / 2.0L)));
        DrawPatternHorzLine(canvas, color, 0, half, left, right, y - lineWidth, 0,
                            graphicInterface);
        DrawPatternHorzLine(canvas, color, 0, half, left, right, y + lineWidth, 0,
                            graphicInterface);
        return;
    }
    const auto [pattern, unit] = PatternOf(underlineType);
    DrawPatternHorzLine(canvas, color, pattern, lineWidth, left, right, y, unit, graphicInterface);
}

void DrawDottedHorzLine(gfx::TCanvas &canvas, TColor color, int32_t left,
                        TVDGraphicInterface &graphicInterface, int32_t y, int32_t right) {
    DrawPatternHorzLine(canvas, color, 6, 1, left, right, y, 3, graphicInterface);
}

// ---- A fragment of text -------------------------------------------------------------------

namespace {

// What TFontInfo::Draw works with besides its arguments.
struct TFragment {
    const TVDStyleTextArgs &Args;
    gfx::TCanvas &Canvas;
    gfx::TCanvas *Ref; // the reference canvas, null when there is none
    TVDTextRun Run;
    // The extra width spread over the text and the width the text then covers.
    int32_t Extra = 0;
    int32_t TextLeft() const { return Args.Left + Args.SpaceAtLeft; }
    bool Justified() const { return Args.SpaceCount > 0 || Args.SpaceCount == vdDistributeSpacing; }
};

// Output at positions (step 4 of drawing); false when plain output is to follow.
bool DrawPositioned(TFragment &f, TVDGraphicInterface &gi) {
    const TVDStyleTextArgs &a = f.Args;
    gfx::TCanvas &canvas = f.Canvas;
    if (f.Run.Length == 0) {
        return false;
    }
    if (!canvas::IsBrushClear(canvas) && !f.Ref) {
        canvas.GetPen().SetStyle(gfx::psClear);
        gi.FillRect(canvas, rtl::Rect(a.Left, a.Top, a.Left + a.Width, a.Top + a.Height));
        canvas::SolidPenClearBrush(canvas);
    }
    TVDTextRun measured = f.Run;
    measured.BiDi = f.Run.BiDi || ForceBiDiMeasuring;
    std::unique_ptr<TCustomVDGlyphDXData> data;
    if (f.Ref) {
        f.Extra = (a.Width - a.SpaceAtLeft - a.TextWidth) * FormatCanvasScaleFactor;
        const TCopiedFont font(gi, canvas, *f.Ref);
        data = gi.GetGlyphDX(*f.Ref, measured, a.SpaceCount, f.Extra, {vdgnDX}, a.LeftNoExpIndex,
                             a.RightNoExpIndex);
    } else {
        const int32_t textWidth = a.PreviewCorrection ? gi.TextSize(canvas, f.Run).cx : a.TextWidth;
        f.Extra = std::max(0, a.Width - a.SpaceAtLeft - textWidth);
        data = gi.GetGlyphDX(canvas, measured, a.SpaceCount, f.Extra, {vdgnDX}, a.LeftNoExpIndex,
                             a.RightNoExpIndex);
        const int32_t covered = f.Extra > 0 && f.Justified() ? a.Width - a.SpaceAtLeft : textWidth;
        if (a.PreviewCorrection) {
            if (covered == a.Width - a.SpaceAtLeft && a.SpaceCount == 0) {
                return false;
            }
            TVDGraphicInterface::DistributeSpacingToDX(
                f.Run, data->PDX, a.Width - a.SpaceAtLeft - covered, a.LeftNoExpIndex,
                a.RightNoExpIndex, data->POrder);
        }
    }
    const int32_t k = f.Ref ? FormatCanvasScaleFactor : 1;
    const TScaledTransform scaled(gi, canvas, f.Ref != nullptr);
    gi.TextOutWithDX(canvas, f.TextLeft() * k, a.Top * k, f.Run, a.Output, *data);
    return true;
}

// A middle dot over each space, a degree sign over each non-breaking space.
void DrawSpecialCharacterSigns(TFragment &f, const TVDStyle &vdStyle, TVDGraphicInterface &gi) {
    const TVDStyleTextArgs &a = f.Args;
    const bool spaces = VisibleSpecialCharacters.Contains(vdscSpace);
    const bool nbsps = VisibleSpecialCharacters.Contains(vdscNBSP);
    if (!a.DrawState.Contains(vdtsSpecialCharacters) || (!spaces && !nbsps) || f.Run.Length == 0) {
        return;
    }
    gfx::TCanvas &canvas = f.Canvas;
    gfx::TCanvas &measuring = f.Ref ? *f.Ref : canvas;
    const int32_t k = f.Ref ? FormatCanvasScaleFactor : 1;
    std::unique_ptr<TCustomVDGlyphDXData> data;
    if (f.Ref) {
        const TCopiedFont font(gi, canvas, *f.Ref);
        data = gi.GetGlyphDX(measuring, f.Run, a.SpaceCount, f.Extra, {vdgnCoords},
                             a.LeftNoExpIndex, a.RightNoExpIndex);
    } else {
        data = gi.GetGlyphDX(measuring, f.Run, a.SpaceCount, f.Extra, {vdgnCoords},
                             a.LeftNoExpIndex, a.RightNoExpIndex);
    }
    const TColor fontColor = canvas.GetFont().GetColor();
    const TColor signs =
        a.DrawState.Contains(vdtsSelected) || vdStyle.GetSpecialCharactersColor() == gfx::clNone
            ? fontColor
            : vdStyle.GetSpecialCharactersColor();
    const gfx::TBrush brush = canvas.GetBrush();
    canvas::SetClearBrush(canvas);
    canvas::SetFontColor(canvas, signs);
    const TScaledTransform scaled(gi, canvas, f.Ref != nullptr);
    for (int32_t i = 0; i < f.Run.Length && size_t(i) < data->PXL.size(); ++i) {
        const char16_t c = f.Run.CharAt(i);
        const bool nbsp = c == 0x00A0;
        if (!((c == u' ' && spaces) || (nbsp && nbsps))) {
            continue;
        }
        const std::u16string sign(1, nbsp ? u'\u00B0' : u'\u00B7');
        const int32_t w = gi.TextWidth(canvas, sign);
        const int32_t middle = (data->PXL[size_t(i)] + data->PXR[size_t(i)]) / 2;
        gi.TextOut(canvas, f.TextLeft() * k + middle - w / 2, a.Top * k,
                   {reinterpret_cast<const char *>(sign.data()), 1, true}, a.Output);
    }
    canvas::SetFontColor(canvas, fontColor);
    canvas.GetBrush().Assign(brush);
}

// The width and y of an underline (or overline) from the canvas font's outline metrics.
void LinePlacement(TFragment &f, TVDGraphicInterface &gi, int32_t &width, int32_t &y) {
    const bool scaledBack = f.Ref != nullptr;
    if (const auto otm = AllocOutlineTextMetrics(f.Canvas, gi)) {
        y = f.Args.Top +
            ScaleFromFormatCanvas(otm->otmTextMetrics.tmAscent - otm->otmsUnderscorePosition +
                                      otm->otmsUnderscoreSize / 2,
                                  scaledBack);
        width = ScaleFromFormatCanvas(otm->otmsUnderscoreSize, scaledBack);
    } else {
        width = GetUnderlineThickness(f.Canvas.GetFont().GetSize());
        y = f.Args.Top + f.Args.Height - width / 2;
    }
}

} // namespace

void TFontInfo::Draw(const TVDStyleTextArgs &args, TVDStyle &vdStyle,
                     TVDGraphicInterface &graphicInterface) const {
    TVDGraphicInterface &gi = graphicInterface;
    gfx::TCanvas &canvas = *args.Canvas;
    const bool plainScale = GetCharScale() == 100;
    const bool hidden = GetOptions().Contains(vdteoHidden);
    const bool fontUnderlined = canvas.GetFont().GetStyle().Contains(gfx::fsUnderline);
    const bool underlined =
        hidden || (plainScale ? fontUnderlined
                              : GetStyle().Contains(gfx::fsUnderline) ||
                                    (args.DrawState.Contains(vdtsHover) &&
                                     GetHoverEffects().Contains(vdheUnderline)));
    const bool takeUnderline = plainScale && fontUnderlined && (underlined || args.SpaceAtLeft);
    if (takeUnderline) {
        canvas::SetFontUnderline(canvas, false);
    }
    const TVDBiDiMode biDi = GetBiDiMode() != vdbdUnspecified ? GetBiDiMode() : args.DefBiDiMode;
    const int32_t length = int32_t(FUnicode ? args.Text.size() / 2 : args.Text.size());
    TFragment f{args,
                canvas,
                args.RefCanvas == args.Canvas ? nullptr : args.RefCanvas,
                {args.Text.data(), length, FUnicode, biDi != vdbdUnspecified, IsSymbolCharset()}};
    f.Extra = std::max(0, args.Width - args.SpaceAtLeft - args.TextWidth);
    const bool positioned =
        args.Printing || f.Ref || (f.Justified() && args.TextWidth != args.Width) ||
        (gi.GetTextCharacterExtra(canvas) != 0 && !gi.DoesTextOutSupportSpacing(f.Run));
    if (!positioned || !DrawPositioned(f, gi)) {
        gi.TextOut(canvas, f.TextLeft(), args.Top, f.Run, args.Output);
    }
    DrawSpecialCharacterSigns(f, vdStyle, gi);
    if (args.SpaceAtLeft != 0 && (!args.Printing || f.Ref)) {
        if (args.DrawState.Contains(vdtsSelected) && length == 0) {
            TVDTextDrawStates unselected = args.DrawState;
            unselected.Exclude(vdtsSelected);
            vdStyle.ApplyStyleColor(canvas, args.StyleNo, unselected, args.Printing,
                                    args.ColorMode);
        }
        if (!canvas::IsBrushClear(canvas)) {
            gi.FillRect(canvas, rtl::Rect(args.Left, args.Top, args.Left + args.SpaceAtLeft,
                                          args.Top + args.Height));
        }
    }
    canvas::SetClearBrush(canvas);
    const TColor fontColor = canvas.GetFont().GetColor();
    const bool stillUnderlined =
        canvas.GetFont().GetStyle().Contains(gfx::fsUnderline) && args.SpaceAtLeft != 0;
    if (underlined || stillUnderlined) {
        int32_t width = 1, y = 0;
        LinePlacement(f, gi, width, y);
        const int32_t right = args.Left + args.Width;
        if (hidden) {
            DrawDottedHorzLine(canvas, fontColor, args.Left, gi, y, right);
        } else {
            TColor color = GetUnderlineColor() != gfx::clNone ? GetUnderlineColor() : fontColor;
            if (args.DrawState.Contains(vdtsSelected)) {
                color = fontColor;
            } else if (args.DrawState.Contains(vdtsHover) &&
                       GetHoverUnderlineColor() != gfx::clNone) {
                color = GetHoverUnderlineColor();
            }
            DrawUnderline(canvas, GetUnderlineType(), color, gi, width, y, right, args.Left);
        }
        canvas.GetPen().SetStyle(gfx::psSolid);
    }
    if (GetStyleEx().Contains(vdfsOverline)) {
        int32_t width = 1, y = 0;
        LinePlacement(f, gi, width, y);
        DrawUnderline(canvas, vdutNormal, fontColor, gi, width, args.Top - width / 2,
                      args.Left + args.Width, args.Left);
    }
    if (takeUnderline) {
        canvas::SetFontUnderline(canvas, true);
    }
}

// ---- The sheet's drawing entry points -----------------------------------------------------

void TVDStyle::DrawStyleText(const TVDStyleTextArgs &args) {
    bool doDefault = true;
    if (OnDrawStyleText) {
        ItemNo = args.ItemNo;
        VDData = args.VDData;
        OffsetInItem = args.OffsetInItem;
        OnDrawStyleText(*this, args, doDefault);
    }
    if (doDefault) {
        GetTextStyles().GetItem(args.StyleNo).Draw(args, *this, GetGraphicInterface());
    }
}

void TVDStyle::DrawSelectedStyleText(const TVDStyleTextArgs &args, int32_t index1, int32_t index2) {
    TVDGraphicInterface &gi = GetGraphicInterface();
    gfx::TCanvas &canvas = *args.Canvas;
    // The caller's clip region comes back however drawing ends.
    struct TClipRestore {
        TVDGraphicInterface &GI;
        gfx::TCanvas &Canvas;
        TVDClipRgn Saved;
        ~TClipRestore() { GI.RestoreClipRgn(Canvas, Saved); }
    } clip{gi, canvas, {}};
    gi.GetClipRgn(canvas, clip.Saved);
    const TFontInfo &style = GetTextStyles().GetItem(args.StyleNo);
    gfx::TCanvas *ref = args.RefCanvas == args.Canvas ? nullptr : args.RefCanvas;
    const TVDBiDiMode biDi =
        style.GetBiDiMode() != vdbdUnspecified ? style.GetBiDiMode() : args.DefBiDiMode;
    const bool unicode = style.GetUnicode();
    const TVDTextRun run{args.Text.data(),
                         int32_t(unicode ? args.Text.size() / 2 : args.Text.size()), unicode,
                         biDi != vdbdUnspecified, style.IsSymbolCharset()};
    const int32_t k = ref ? FormatCanvasScaleFactor : 1;
    bool valid = false;
    {
        const TScaledTransform scaled(gi, canvas, ref != nullptr);
        std::unique_ptr<TCopiedFont> font;
        int32_t textWidth = args.TextWidth;
        if (ref) {
            font = std::make_unique<TCopiedFont>(gi, canvas, *ref);
        } else if (args.PreviewCorrection) {
            textWidth = gi.TextSize(canvas, run).cx;
        }
        const int32_t left = args.Left * k, spaceAtLeft = args.SpaceAtLeft * k;
        const int32_t top = args.Top * k, height = args.Height * k;
        const int32_t extra = (args.Width - args.SpaceAtLeft - textWidth) * k;
        valid = gi.ApplyTextRangeRegion(canvas, ref ? *ref : canvas, run, args.SpaceCount, extra,
                                        index1 - 1, index2 - 1, left, left + spaceAtLeft, top,
                                        top + height, args.LeftNoExpIndex, args.RightNoExpIndex);
    }
    if (valid) {
        TVDStyleTextArgs selected = args;
        selected.DrawState.Include(vdtsSelected);
        DrawStyleText(selected);
    }
}

void TVDStyle::DrawCheckpoint(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t areaLeft,
                              int32_t width, TCustomVDDataHooks *vdData, int32_t itemNo,
                              int32_t xShift, bool raiseEvent, ui::TControl *control) {
    VDData = vdData;
    ItemNo = itemNo;
    bool doDefault = true;
    if (OnDrawCheckpoint) {
        OnDrawCheckpoint(*this, canvas, x, y, itemNo, xShift, raiseEvent, control, doDefault);
    }
    if (doDefault) {
        TVDGraphicInterface &gi = GetGraphicInterface();
        gfx::TPen &pen = canvas.GetPen();
        pen.SetWidth(1);
        pen.SetColor(raiseEvent ? FCheckpointEvColor : FCheckpointColor);
        pen.SetStyle(gfx::psSolid);
        canvas::SetClearBrush(canvas);
        if (itemNo != -1) {
            gi.Ellipse(canvas, x - 2, y - 2, x + 2, y + 2);
        }
        pen.SetStyle(gfx::psDot);
        gi.Line(canvas, areaLeft - xShift, y, areaLeft + width - xShift, y);
    }
    canvas::SolidPenClearBrush(canvas);
}

void TVDStyle::DrawPageBreak(gfx::TCanvas &canvas, int32_t y, int32_t xShift,
                             TVDPageBreakType pageBreakType, ui::TControl *control,
                             TCustomVDDataHooks *vdData, int32_t itemNo) {
    VDData = vdData;
    ItemNo = itemNo;
    bool doDefault = true;
    if (OnDrawPageBreak) {
        OnDrawPageBreak(*this, canvas, y, xShift, pageBreakType, control, doDefault);
    }
    if (doDefault) {
        TVDGraphicInterface &gi = GetGraphicInterface();
        gfx::TPen &pen = canvas.GetPen();
        pen.SetWidth(1);
        pen.SetStyle(gfx::psSolid);
        pen.SetColor(pageBreakType == vdpbPageBreak ? FPageBreakColor : FSoftPageBreakColor);
        canvas.GetBrush().SetColor(gfx::clWindow);
        canvas.GetBrush().SetStyle(gfx::bsSolid);
        const int32_t right = (vdData ? vdData->GetWidth() : 0) - xShift - 8;
        gi.Line(canvas, -xShift, y, right, y);
        gi.Polygon(canvas, {{right, y}, {right + 8, y + 8}, {right, y + 8}});
    }
    canvas::SolidPenClearBrush(canvas);
}

} // namespace vizivodu
