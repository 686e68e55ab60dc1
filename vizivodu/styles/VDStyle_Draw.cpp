// Drawing styled text and signs: a fragment of a formatted line (plain output, or output at
// explicit advances when stretched or drawn for another canvas), its underline, the dotted line
// of hidden text and the overline; a selected sub-range; checkpoint and page-break signs.
#include "vizivodu/styles/VDStyle.h"

#include "vizivodu/layout/VDGrIn.h"
#include "vizivodu/styles/VDStyle_Canvas_p.h"

#include "platform/gfx/Graphics.h"

#include <algorithm>
#include <cstdlib>

namespace vizivodu {

namespace {

int32_t CharCount(const TVDRawByteString &s, bool unicode) {
    return static_cast<int32_t>(unicode ? s.size() / 2 : s.size());
}

// A horizontal line of thickness centred on y from left to right: solid, or in dots and dashes
// of the unit's length.
void DrawLine(gfx::TCanvas &canvas, TVDGraphicInterface &gi, gfx::TColor color, int32_t y,
              int32_t left, int32_t right, int32_t thickness, int32_t dash, int32_t gap) {
    if (right <= left) {
        return;
    }
    thickness = std::max(1, thickness);
    const int32_t top = y - thickness / 2;
    if (dash <= 0) {
        gi.FillColorRect(canvas, rtl::Rect(left, top, right, top + thickness), color);
        return;
    }
    for (int32_t x = left; x < right; x += dash + gap) {
        gi.FillColorRect(canvas, rtl::Rect(x, top, std::min(x + dash, right), top + thickness),
                         color);
    }
}

void DrawUnderlineOfType(gfx::TCanvas &canvas, TVDGraphicInterface &gi, TVDUnderlineType type,
                         gfx::TColor color, int32_t width, int32_t y, int32_t left, int32_t right) {
    int32_t dash = 0, gap = 0;
    switch (type) {
    case vdutThick:
    case vdutThickDotted:
    case vdutThickDashed:
    case vdutThickLongDashed:
    case vdutThickDashDotted:
    case vdutThickDashDotDotted:
        width *= 2;
        break;
    default:
        break;
    }
    switch (type) {
    case vdutDotted:
    case vdutThickDotted:
        dash = gap = std::max(1, width);
        break;
    case vdutDashed:
    case vdutThickDashed:
    case vdutDashDotted:
    case vdutThickDashDotted:
    case vdutDashDotDotted:
    case vdutThickDashDotDotted:
        dash = 4 * std::max(1, width);
        gap = 2 * std::max(1, width);
        break;
    case vdutLongDashed:
    case vdutThickLongDashed:
        dash = 8 * std::max(1, width);
        gap = 3 * std::max(1, width);
        break;
    default:
        break;
    }
    if (type == vdutDouble) {
        const int32_t half = std::max(1, (width + 1) / 2);
        DrawLine(canvas, gi, color, y - width, left, right, half, 0, 0);
        DrawLine(canvas, gi, color, y + width, left, right, half, 0, 0);
        return;
    }
    DrawLine(canvas, gi, color, y, left, right, width, dash, gap);
}

} // namespace

void TFontInfo::Draw(const TVDRawByteString &s, gfx::TCanvas &canvas, int32_t, int32_t spaceAtLeft,
                     int32_t left, int32_t top, int32_t width, int32_t height, int32_t textWidth,
                     int32_t spaceCount, TVDStyle &vdStyle, TVDTextDrawStates drawState,
                     bool printing, bool previewCorrection, bool forMetafile, TVDColorMode,
                     TVDBiDiMode defBiDiMode, gfx::TCanvas *refCanvas, TVDGraphicInterface &gi,
                     int32_t leftNoExpIndex, int32_t rightNoExpIndex) const {
    if (refCanvas == &canvas) {
        refCanvas = nullptr;
    }
    const bool unicode = GetUnicode();
    const int32_t length = CharCount(s, unicode);
    const bool hidden = GetOptions().Contains(vdteoHidden);
    const bool underlined = canvas.GetFont().GetStyle().Contains(gfx::fsUnderline) || hidden;
    if (underlined || spaceAtLeft != 0) {
        canvas::SetFontUnderline(canvas, false);
    }
    const TVDBiDiMode bidi = GetBiDiMode() != vdbdUnspecified ? GetBiDiMode() : defBiDiMode;
    const bool stretched = (spaceCount > 0 || spaceCount == -100) && textWidth != width;
    bool positioned = printing || refCanvas || stretched;
    if (positioned && length > 0) {
        if (!canvas::IsBrushClear(canvas) && !refCanvas) {
            gi.FillRect(canvas, rtl::Bounds(left, top, width, height));
            canvas::SetClearBrush(canvas);
        }
        gfx::TCanvas &measure = refCanvas ? *refCanvas : canvas;
        if (previewCorrection && !refCanvas) {
            textWidth = gi.TextSize(canvas, s.data(), length, unicode, false, IsSymbolCharset()).cx;
        }
        const int32_t extra = std::max(0, width - spaceAtLeft - textWidth);
        std::unique_ptr<TCustomVDGlyphDXData> dx =
            gi.GetGlyphDX(measure, s.data(), length, spaceCount, extra, unicode,
                          bidi != vdbdUnspecified || ForceBiDiMeasuring, IsSymbolCharset(), true,
                          false, leftNoExpIndex, rightNoExpIndex);
        gi.TextOutWithDX(canvas, left + spaceAtLeft, top, s.data(), length, unicode, forMetafile,
                         *dx);
    } else if (length > 0) {
        gi.TextOut(canvas, left + spaceAtLeft, top, s.data(), length, unicode, forMetafile);
    }
    if (spaceAtLeft != 0 && (!printing || refCanvas) && !canvas::IsBrushClear(canvas)) {
        gi.FillRect(canvas, rtl::Bounds(left, top, spaceAtLeft, height));
    }
    canvas::SetClearBrush(canvas);
    const gfx::TColor fontColor = canvas.GetFont().GetColor();
    const int32_t thickness = GetUnderlineThickness(canvas.GetFont().GetSize());
    if (underlined) {
        const int32_t y = top + height - thickness / 2 - 1;
        if (hidden) {
            DrawLine(canvas, gi, fontColor, y, left, left + width, 1, 1, 2);
        } else {
            gfx::TColor color =
                GetUnderlineColor() != gfx::clNone ? GetUnderlineColor() : fontColor;
            if (drawState.Contains(vdtsSelected)) {
                color = fontColor;
            } else if (drawState.Contains(vdtsHover) && GetHoverUnderlineColor() != gfx::clNone) {
                color = GetHoverUnderlineColor();
            }
            DrawUnderlineOfType(canvas, gi, GetUnderlineType(), color, thickness, y, left,
                                left + width);
        }
        canvas::SetFontUnderline(canvas, true);
    }
    if (GetStyleEx().Contains(vdfsOverline)) {
        DrawLine(canvas, gi, fontColor, top - thickness / 2, left, left + width, thickness, 0, 0);
    }
    (void)vdStyle;
}

void TVDStyle::DrawStyleText(const TVDRawByteString &s, gfx::TCanvas &canvas, int32_t itemNo,
                             int32_t offsetInItem, int32_t styleNo, TCustomVDDataHooks *vdData,
                             int32_t spaceAtLeft, int32_t left, int32_t top, int32_t width,
                             int32_t height, int32_t textWidth, int32_t spaceCount,
                             TVDTextDrawStates drawState, bool printing, bool previewCorrection,
                             bool forMetafile, TVDColorMode colorMode, TVDBiDiMode defBiDiMode,
                             gfx::TCanvas *refCanvas, int32_t leftNoExpIndex,
                             int32_t rightNoExpIndex) {
    if (OnDrawStyleText) {
        ItemNo = itemNo;
        VDData = vdData;
        OffsetInItem = offsetInItem;
        bool doDefault = true;
        OnDrawStyleText(*this, s, canvas, styleNo, spaceAtLeft, left, top, width, height, textWidth,
                        spaceCount, drawState, printing, previewCorrection, forMetafile, colorMode,
                        defBiDiMode, refCanvas, leftNoExpIndex, rightNoExpIndex, doDefault);
        if (!doDefault) {
            return;
        }
    }
    GetTextStyles().GetItem(styleNo).Draw(
        s, canvas, styleNo, spaceAtLeft, left, top, width, height, textWidth, spaceCount, *this,
        drawState, printing, previewCorrection, forMetafile, colorMode, defBiDiMode, refCanvas,
        GetGraphicInterface(), leftNoExpIndex, rightNoExpIndex);
}

// The selected characters are found through their caret positions on the reference canvas;
// their horizontal extent (from the fragment's left edge when the range starts at the first
// character, so that a leading space is covered) clips the drawing.
void TVDStyle::DrawSelectedStyleText(const TVDRawByteString &s, gfx::TCanvas &canvas,
                                     int32_t itemNo, int32_t offsetInItem, int32_t styleNo,
                                     TCustomVDDataHooks *vdData, int32_t spaceAtLeft, int32_t left,
                                     int32_t top, int32_t width, int32_t height, int32_t textWidth,
                                     int32_t spaceCount, TVDTextDrawStates drawState, bool printing,
                                     bool previewCorrection, bool forMetafile,
                                     TVDColorMode colorMode, TVDBiDiMode defBiDiMode,
                                     gfx::TCanvas *refCanvas, int32_t index1, int32_t index2,
                                     int32_t leftNoExpIndex, int32_t rightNoExpIndex) {
    const TFontInfo &font = GetTextStyles().GetItem(styleNo);
    const bool unicode = font.GetUnicode();
    const int32_t length = CharCount(s, unicode);
    if (index2 < index1 || length <= 0) {
        return;
    }
    TVDGraphicInterface &gi = GetGraphicInterface();
    std::vector<int32_t> pos(static_cast<size_t>(length) + 1);
    gi.GetCaretPositions(refCanvas ? *refCanvas : canvas, s.data(), length, spaceCount,
                         width - spaceAtLeft - textWidth, unicode,
                         defBiDiMode != vdbdUnspecified || font.GetBiDiMode() != vdbdUnspecified,
                         font.IsSymbolCharset(), pos.data(), leftNoExpIndex, rightNoExpIndex);
    const int32_t i1 = std::clamp(index1 - 1, 0, length);
    const int32_t i2 = std::clamp(index2, 0, length);
    int32_t x1 =
        left + spaceAtLeft + std::min(pos[static_cast<size_t>(i1)], pos[static_cast<size_t>(i2)]);
    const int32_t x2 =
        left + spaceAtLeft + std::max(pos[static_cast<size_t>(i1)], pos[static_cast<size_t>(i2)]);
    if (index1 <= 1) {
        x1 = left;
    }
    const int32_t state = gi.SaveCanvasState(canvas);
    struct TRestore {
        TVDGraphicInterface &GI;
        gfx::TCanvas &Canvas;
        int32_t State;
        ~TRestore() { GI.RestoreCanvasState(Canvas, State); }
    } restore{gi, canvas, state};
    gi.IntersectClipRect(canvas, x1, top, x2, top + height);
    drawState.Include(vdtsSelected);
    DrawStyleText(s, canvas, itemNo, offsetInItem, styleNo, vdData, spaceAtLeft, left, top, width,
                  height, textWidth, spaceCount, drawState, printing, previewCorrection,
                  forMetafile, colorMode, defBiDiMode, refCanvas, leftNoExpIndex, rightNoExpIndex);
}

void TVDStyle::DrawCheckpoint(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t areaLeft,
                              int32_t width, TCustomVDDataHooks *vdData, int32_t itemNo,
                              int32_t xShift, bool raiseEvent) {
    VDData = vdData;
    ItemNo = itemNo;
    bool doDefault = true;
    if (OnDrawCheckpoint) {
        OnDrawCheckpoint(*this, canvas, x, y, itemNo, xShift, raiseEvent, doDefault);
    }
    if (doDefault) {
        TVDGraphicInterface &gi = GetGraphicInterface();
        const gfx::TColor color = raiseEvent ? GetCheckpointEvColor() : GetCheckpointColor();
        canvas.GetPen().SetWidth(1);
        canvas.GetPen().SetColor(color);
        canvas.GetPen().SetStyle(gfx::psSolid);
        canvas::SetClearBrush(canvas);
        if (itemNo != -1) {
            canvas.GetBrush().SetColor(color);
            canvas.GetBrush().SetStyle(gfx::bsSolid);
            gi.Ellipse(canvas, x - 2, y - 2, x + 2, y + 2);
            canvas::SetClearBrush(canvas);
        }
        DrawLine(canvas, gi, color, y, areaLeft - xShift, areaLeft + width - xShift, 1, 1, 1);
    }
    canvas::SolidPenClearBrush(canvas);
}

void TVDStyle::DrawPageBreak(gfx::TCanvas &canvas, int32_t y, int32_t xShift,
                             TVDPageBreakType pageBreakType, int32_t areaWidth,
                             TCustomVDDataHooks *vdData, int32_t itemNo) {
    VDData = vdData;
    ItemNo = itemNo;
    bool doDefault = true;
    if (OnDrawPageBreak) {
        OnDrawPageBreak(*this, canvas, y, xShift, pageBreakType, doDefault);
    }
    if (doDefault) {
        TVDGraphicInterface &gi = GetGraphicInterface();
        const gfx::TColor color =
            pageBreakType == vdpbPageBreak ? GetPageBreakColor() : GetSoftPageBreakColor();
        canvas.GetPen().SetWidth(1);
        canvas.GetPen().SetStyle(gfx::psSolid);
        canvas.GetPen().SetColor(color);
        canvas.GetBrush().SetColor(gfx::clWindow);
        canvas.GetBrush().SetStyle(gfx::bsSolid);
        const int32_t r = areaWidth - xShift - 8;
        gi.Line(canvas, -xShift, y, r, y);
        gi.Polygon(canvas, {{r, y}, {r + 8, y + 8}, {r, y + 8}});
    }
    canvas::SolidPenClearBrush(canvas);
}

} // namespace vizivodu
