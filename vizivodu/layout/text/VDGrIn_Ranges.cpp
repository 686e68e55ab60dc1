// Text ranges and their clip regions, output at a reference canvas's positions, the canvas
// font copy, scaling of the canvas transform, and the dotted guide lines.
#include "vizivodu/layout/text/VDGrIn.h"

#include <algorithm>
#include <limits>

namespace vizivodu {

namespace {

int32_t ClampToInt(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

} // namespace

TVDCoordRanges TVDGraphicInterface::GetTextRangeCoords(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                       int32_t spaceCount, int32_t extraSpaceWidth,
                                                       int32_t charIndex1, int32_t charIndex2,
                                                       int32_t leftNoExpIndex,
                                                       int32_t rightNoExpIndex) {
    TVDCoordRanges ranges(1);
    if (run.Length <= 0) {
        return ranges;
    }
    const std::unique_ptr<TCustomVDGlyphDXData> data = GetGlyphDX(
        canvas, run, spaceCount, extraSpaceWidth, {vdgnCoords}, leftNoExpIndex, rightNoExpIndex);
    const int32_t last = int32_t(std::min(data->PXL.size(), data->PXR.size())) - 1;
    if (last < 0) {
        return ranges;
    }
    const int32_t first = std::clamp(charIndex1, 0, last);
    ranges[0] = {data->PXL[size_t(first)], data->PXR[size_t(first)]};
    for (int32_t i = first + 1; i <= std::min(charIndex2, last); ++i) {
        const int32_t left = data->PXL[size_t(i)], right = data->PXR[size_t(i)];
        TVDCoordRangeRecord &current = ranges.back();
        if (left > current.Right || right < current.Left) {
            ranges.push_back({left, right});
        } else {
            current.Left = std::min(current.Left, left);
            current.Right = std::max(current.Right, right);
        }
    }
    return ranges;
}

void TVDGraphicInterface::FreeAdditionalCoordRangeRecords(TVDCoordRanges &coords) {
    coords.resize(std::min<size_t>(coords.size(), 1));
}

// The union of the ranges is built in the clip region: each further piece is intersected on
// its own (with the clip removed) and the region built so far united back. Without a clip
// region before, the pieces stay the clip: intersecting with the whole surface changes
// nothing.
bool TVDGraphicInterface::ApplyTextRangeRegion(gfx::TCanvas &canvas, gfx::TCanvas &refCanvas,
                                               const TVDTextRun &run, int32_t spaceCount,
                                               int32_t extraSpaceWidth, int32_t charIndex1,
                                               int32_t charIndex2, int32_t left, int32_t textLeft,
                                               int32_t top, int32_t bottom, int32_t leftNoExpIndex,
                                               int32_t rightNoExpIndex) {
    if (charIndex2 < charIndex1) {
        return false;
    }
    const TVDCoordRanges ranges =
        GetTextRangeCoords(refCanvas, run, spaceCount, extraSpaceWidth, charIndex1, charIndex2,
                           leftNoExpIndex, rightNoExpIndex);
    const TVDCoordRangeRecord &first = ranges.front();
    if (ranges.size() == 1 && (charIndex1 > 0 || first.Left == 0 || left == textLeft)) {
        IntersectClipRect(canvas, (charIndex1 > 0 ? textLeft : left) + first.Left, top,
                          textLeft + first.Right, bottom);
        return true;
    }
    TVDClipRgn saved;
    RemoveClipRgn(canvas, saved);
    IntersectClipRect(canvas, textLeft + first.Left, top, textLeft + first.Right, bottom);
    auto unite = [&](int32_t x1, int32_t x2) {
        TVDClipRgn built;
        RemoveClipRgn(canvas, built);
        IntersectClipRect(canvas, x1, top, x2, bottom);
        UnionClipRgn(canvas, built);
        FreeClipRgn(built);
    };
    for (size_t i = 1; i < ranges.size(); ++i) {
        unite(textLeft + ranges[i].Left, textLeft + ranges[i].Right);
    }
    if (charIndex1 == 0 && left != textLeft) {
        unite(left, textLeft);
    }
    if (saved.Valid) {
        IntersectClipRgn(canvas, saved);
    }
    FreeClipRgn(saved);
    return true;
}

void TVDGraphicInterface::TextOutRef(gfx::TCanvas &canvas, gfx::TCanvas &refCanvas, int32_t x,
                                     int32_t y, const TVDTextRun &run, TVDTextOutput output,
                                     int32_t leftNoExpIndex, int32_t rightNoExpIndex) {
    if (&canvas == &refCanvas) {
        TextOut(canvas, x, y, run, output);
        return;
    }
    const std::unique_ptr<TCustomVDGlyphDXData> data =
        GetGlyphDX(refCanvas, run, 0, 0, {vdgnDX}, leftNoExpIndex, rightNoExpIndex);
    TextOutWithDX(canvas, x, y, run, output, *data);
}

// The destination keeps its own font object apart from the character set; the font that was
// selected is remembered before anything changes, so that putting it back restores exactly
// what the destination had, whatever the order of the changes.
void TVDGraphicInterface::CopyCanvasFont(gfx::TCanvas &sourceCanvas, gfx::TCanvas &destCanvas,
                                         TVDCanvasStoreFontParams &oldState) {
    oldState.TextAlign = GetTextAlign(destCanvas);
    oldState.CharExtra = GetTextCharacterExtra(destCanvas);
    oldState.Charset = destCanvas.GetFont().GetCharset();
    oldState.FontHandle = destCanvas.GetLogFont();
    SetTextAlign(destCanvas, GetTextAlign(sourceCanvas));
    SetTextCharacterExtra(destCanvas, GetTextCharacterExtra(sourceCanvas));
    const gfx::TFontCharset charset = sourceCanvas.GetFont().GetCharset();
    if (charset != oldState.Charset) {
        destCanvas.GetFont().SetCharset(charset);
    }
    SetFontHandle(destCanvas, GetFontHandle(sourceCanvas));
}

void TVDGraphicInterface::FinalizeCopyCanvasFont(gfx::TCanvas &, gfx::TCanvas &destCanvas,
                                                 const TVDCanvasStoreFontParams &oldState) {
    if (destCanvas.GetFont().GetCharset() != oldState.Charset) {
        destCanvas.GetFont().SetCharset(oldState.Charset);
    }
    SetFontHandle(destCanvas, oldState.FontHandle);
    SetTextCharacterExtra(destCanvas, oldState.CharExtra);
    SetTextAlign(destCanvas, oldState.TextAlign);
}

void TVDGraphicInterface::ScaleCanvasTransform(gfx::TCanvas &canvas,
                                               TVDCanvasStoreTransformParams &oldState,
                                               int32_t scaleFactor) {
    if (IsAdvancedGraphicsMode(canvas)) {
        GetWorldTransform(canvas, oldState.XForm);
        gfx::TXForm xf = oldState.XForm;
        const float k = float(scaleFactor);
        xf.eM11 /= k;
        xf.eM12 /= k;
        xf.eM21 /= k;
        xf.eM22 /= k;
        SetWorldTransform(canvas, xf);
        return;
    }
    GetWindowOrgEx(canvas, oldState.wopt);
    GetWindowExtEx(canvas, oldState.wesz);
    SetWindowExtEx(canvas, ClampToInt(int64_t(oldState.wesz.cx) * scaleFactor),
                   ClampToInt(int64_t(oldState.wesz.cy) * scaleFactor));
    SetWindowOrgEx(canvas, ClampToInt(int64_t(oldState.wopt.X) * scaleFactor),
                   ClampToInt(int64_t(oldState.wopt.Y) * scaleFactor));
}

void TVDGraphicInterface::RestoreCanvasTransform(gfx::TCanvas &canvas,
                                                 const TVDCanvasStoreTransformParams &oldState) {
    if (IsAdvancedGraphicsMode(canvas)) {
        SetWorldTransform(canvas, oldState.XForm);
        return;
    }
    SetWindowOrgEx(canvas, oldState.wopt.X, oldState.wopt.Y);
    SetWindowExtEx(canvas, oldState.wesz.cx, oldState.wesz.cy);
}

void TVDGraphicInterface::MoveWindowOrgAdvanced(gfx::TCanvas &canvas, int32_t dx, int32_t dy) {
    if (IsAdvancedGraphicsMode(canvas)) {
        ModifyWorldTransform(canvas, {1, 0, 0, 1, float(dx), float(dy)});
        return;
    }
    rtl::TPoint org;
    GetWindowOrgEx(canvas, org);
    SetWindowOrgEx(canvas, org.X - dx, org.Y - dy);
}

void TVDGraphicInterface::LineDragDropCaret(gfx::TCanvas &canvas, int32_t x, int32_t y1,
                                            int32_t y2) {
    for (int32_t y = y1; y <= y2; ++y) {
        if (y % 2 == 0) {
            Line(canvas, x, y, x + 2, y);
        }
    }
}

void TVDGraphicInterface::DrawTableResizeVLine(gfx::TCanvas &canvas, int32_t x, int32_t y1,
                                               int32_t y2) {
    for (int32_t y = y1; y < y2; y += 8) {
        for (int32_t dot = 0; dot <= 4; dot += 2) {
            Line(canvas, x, y + dot, x, y + dot + 1);
        }
    }
}

void TVDGraphicInterface::DrawTableResizeHLine(gfx::TCanvas &canvas, int32_t x1, int32_t x2,
                                               int32_t y) {
    for (int32_t x = x1; x < x2; x += 8) {
        for (int32_t dot = 0; dot <= 4; dot += 2) {
            Line(canvas, x + dot, y, x + dot + 1, y);
        }
    }
}

} // namespace vizivodu
