// Test support for the layout units: the fixed-metrics graphic interface, its style sheet, the
// test formatted document and the draw-item dump.
#include "tests/vizivodu/LayoutTestSupport.h"

#include <unicode/uchar.h>

namespace vizivodu::test {

int32_t TFixedGraphicInterface::Em(gfx::TCanvas &canvas) {
    const int32_t h = canvas.GetFont().GetHeight();
    return h < 0 ? -h : h * 4 / 5;
}

std::u16string TFixedGraphicInterface::Units(const TVDTextRun &run) {
    std::u16string u;
    if (!run.Str) {
        return u;
    }
    for (int32_t i = 0; i < run.Length; ++i) {
        u.push_back(run.CharAt(i));
    }
    return u;
}

int32_t TFixedGraphicInterface::Advance(gfx::TCanvas &canvas, char16_t c) {
    const int8_t type = u_charType(c);
    if (type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK) {
        return 0;
    }
    return Em(canvas) / 2;
}

std::vector<int32_t> TFixedGraphicInterface::Advances(gfx::TCanvas &canvas,
                                                      const std::u16string &u) {
    std::vector<int32_t> a;
    for (char16_t c : u) {
        const int32_t adv = Advance(canvas, c);
        a.push_back(adv > 0 ? adv + FExtra[&canvas] : 0);
    }
    return a;
}

void TFixedGraphicInterface::TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                     const TVDTextRun &run, TVDTextOutput) {
    if (!RecordTextOps) {
        return;
    }
    TextOps.push_back({x, y, Units(run), {}});
    if (DrawGlyphBoxes) {
        // Plain output fills the text cell with a brush that is not clear, as the engines do.
        if (canvas.GetBrush().GetStyle() != gfx::bsClear) {
            int32_t w = 0;
            for (int32_t a : Advances(canvas, TextOps.back().Text)) {
                w += a;
            }
            FillColorRect(canvas, rtl::Bounds(x, y, w, Em(canvas)), canvas.GetBrush().GetColor());
        }
        DrawBoxes(canvas, x, y, TextOps.back().Text, {});
    }
}

void TFixedGraphicInterface::DrawBoxes(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                       const std::u16string &u, const std::vector<int32_t> &dx) {
    const std::vector<int32_t> adv = dx.empty() ? Advances(canvas, u) : dx;
    for (size_t i = 0; i < u.size(); ++i) {
        if (u[i] != u' ' && adv[i] > 1) {
            FillColorRect(canvas, rtl::Bounds(x, y, adv[i] - 1, Em(canvas)),
                          canvas.GetFont().GetColor());
        }
        x += adv[i];
    }
}

gfx::TSize TFixedGraphicInterface::TextSizeBasic(gfx::TCanvas &canvas, const TVDTextRun &run) {
    ++MeasureCalls;
    int32_t w = 0;
    for (int32_t a : Advances(canvas, Units(run))) {
        w += a;
    }
    return {w, Em(canvas)};
}

bool TFixedGraphicInterface::GetTextMetrics(gfx::TCanvas &canvas, gfx::TTextMetric &tm) {
    const int32_t em = Em(canvas);
    tm = {};
    tm.tmDescent = em / 5;
    tm.tmAscent = em - tm.tmDescent;
    tm.tmHeight = em;
    tm.tmAveCharWidth = em / 2;
    return true;
}

void TFixedGraphicInterface::SetTextAlign(gfx::TCanvas &canvas, uint32_t flags) {
    FAlign[&canvas] = flags;
}

uint32_t TFixedGraphicInterface::GetTextAlign(gfx::TCanvas &canvas) {
    return FAlign[&canvas];
}

int32_t TFixedGraphicInterface::GetTextCharacterExtra(gfx::TCanvas &canvas) {
    return FExtra[&canvas];
}

void TFixedGraphicInterface::SetTextCharacterExtra(gfx::TCanvas &canvas, int32_t extra) {
    FExtra[&canvas] = extra;
}

void TFixedGraphicInterface::GetTextExtentExPoint(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                  int32_t maxExtent, int32_t *pCoords, int32_t &fit,
                                                  gfx::TSize &size) {
    ++MeasureCalls;
    const int32_t length = run.Length;
    const std::u16string u = Units(run);
    std::vector<int32_t> adv = Advances(canvas, u);
    if (!run.IgnoreSpecialChars) {
        for (size_t i = 0; i < u.size(); ++i) {
            adv[i] = u[i] == 0x00AD ? 0 : adv[i];
        }
    }
    int32_t x = 0;
    fit = 0;
    int32_t fitWidth = 0;
    for (int32_t i = 0; i < length; ++i) {
        x += adv[static_cast<size_t>(i)];
        if (pCoords) {
            pCoords[i] = x;
        }
        if (maxExtent < 0 || x <= maxExtent) {
            fit = i + 1;
            fitWidth = x;
        }
    }
    size = {fitWidth, Em(canvas)};
}

std::vector<int32_t> TFixedGraphicInterface::Spread(gfx::TCanvas &canvas, const std::u16string &u,
                                                    int32_t spaceCount, int32_t extra,
                                                    int32_t leftNoExp, int32_t rightNoExp) {
    std::vector<int32_t> adv = Advances(canvas, u);
    if (spaceCount > 0 && extra != 0) {
        for (size_t i = 0; i < u.size() && spaceCount > 0; ++i) {
            if (u[i] == u' ') {
                const int32_t d = extra / spaceCount;
                adv[i] += d;
                extra -= d;
                --spaceCount;
            }
        }
    } else if (spaceCount == -100 && extra != 0) {
        std::vector<size_t> eligible;
        for (size_t i = 0; i < u.size(); ++i) {
            if (adv[i] != 0 && static_cast<int32_t>(i) != leftNoExp &&
                static_cast<int32_t>(i) != rightNoExp) {
                eligible.push_back(i);
            }
        }
        for (size_t k = 0; k < eligible.size(); ++k) {
            const int32_t left = static_cast<int32_t>(eligible.size() - k);
            const int32_t d = extra / left;
            adv[eligible[k]] += d;
            extra -= d;
        }
    }
    return adv;
}

std::unique_ptr<TCustomVDGlyphDXData>
TFixedGraphicInterface::GetGlyphDX(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t spaceCount,
                                   int32_t extraSpaceWidth, TVDGlyphDXNeeds needs,
                                   int32_t leftNoExp, int32_t rightNoExp) {
    ++MeasureCalls;
    auto data = std::make_unique<TCustomVDGlyphDXData>();
    const std::vector<int32_t> adv =
        Spread(canvas, Units(run), spaceCount, extraSpaceWidth, leftNoExp, rightNoExp);
    if (needs.Contains(vdgnDX)) {
        data->PDX = adv;
    }
    if (needs.Contains(vdgnCoords)) {
        int32_t x = 0;
        for (int32_t a : adv) {
            data->PXL.push_back(x);
            x += a;
            data->PXR.push_back(x);
        }
    }
    return data;
}

void TFixedGraphicInterface::TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                           const TVDTextRun &run, TVDTextOutput,
                                           TCustomVDGlyphDXData &data) {
    if (!RecordTextOps) {
        return;
    }
    TextOps.push_back({x, y, Units(run), data.PDX});
    if (DrawGlyphBoxes) {
        DrawBoxes(canvas, x, y, TextOps.back().Text, data.PDX);
    }
}

int32_t TFixedGraphicInterface::GetExpandableCharCount(gfx::TCanvas &canvas,
                                                       const TVDTextRun &run) {
    int32_t n = 0;
    for (int32_t a : Advances(canvas, Units(run))) {
        n += a > 0 ? 1 : 0;
    }
    return n;
}

void TFixedGraphicInterface::GetOutermostNonExpandableCharacters(gfx::TCanvas &, const TVDTextRun &,
                                                                 TVDRunEnds, int32_t &leftIndex,
                                                                 int32_t &rightIndex) {
    leftIndex = rightIndex = -1;
}

bool TFixedGraphicInterface::GetCaretPositions(gfx::TCanvas &canvas, const TVDTextRun &run,
                                               int32_t spaceCount, int32_t extra,
                                               std::span<int32_t> pcp, int32_t leftNoExp,
                                               int32_t rightNoExp) {
    const std::vector<int32_t> adv =
        Spread(canvas, Units(run), spaceCount, extra, leftNoExp, rightNoExp);
    int32_t x = 0;
    pcp[0] = 0;
    for (int32_t i = 0; i < run.Length; ++i) {
        x += adv[static_cast<size_t>(i)];
        pcp[i + 1] = x;
    }
    return true;
}

bool TFixedGraphicInterface::DoesTextOutSupportSpacing(const TVDTextRun &) {
    return false;
}

bool TFixedGraphicInterface::PreferMaxFit(gfx::TCanvas &, const TVDTextRun &, TVDMeasureCanvas,
                                          int32_t) {
    return UseMaxFit;
}

std::unique_ptr<gfx::TCanvas> TFixedGraphicInterface::CreateScreenCanvas() {
    return std::make_unique<TScreenCanvas>();
}

std::unique_ptr<gfx::TCanvas> TFixedGraphicInterface::CreateCompatibleCanvas(gfx::TCanvas &canvas) {
    auto copy = std::make_unique<TOwnedPixelCanvas>(1, 1);
    copy->GetFont().SetPixelsPerInch(canvas.GetFont().GetPixelsPerInch());
    return copy;
}

void TFixedGraphicInterface::DestroyScreenCanvas(std::unique_ptr<gfx::TCanvas> &canvas) {
    canvas.reset();
}

void TFixedGraphicInterface::DestroyCompatibleCanvas(std::unique_ptr<gfx::TCanvas> &canvas) {
    canvas.reset();
}

int32_t TFixedGraphicInterface::GetDeviceCaps(gfx::TCanvas &canvas, int32_t) {
    return dynamic_cast<TScreenCanvas *>(&canvas) ? 96 : DevicePPI;
}

void TFixedGraphicInterface::InvalidateRect(ui::TControl &, const rtl::TRect *r) {
    Invalidated.push_back(r ? *r : rtl::TRect{});
}

int32_t TFixedGraphicInterface::SaveCanvasState(gfx::TCanvas &canvas) {
    return canvas.SaveDC();
}

void TFixedGraphicInterface::RestoreCanvasState(gfx::TCanvas &canvas, int32_t state) {
    canvas.RestoreDC(state);
}

void TFixedGraphicInterface::IntersectClipRect(gfx::TCanvas &canvas, int32_t x1, int32_t y1,
                                               int32_t x2, int32_t y2) {
    canvas.IntersectClipRect(rtl::Rect(x1, y1, x2, y2));
}

TVDGraphicsMode TFixedGraphicInterface::SetGraphicsMode(gfx::TCanvas &canvas,
                                                        TVDGraphicsMode mode) {
    const TVDGraphicsMode previous = IsAdvancedGraphicsMode(canvas) ? vdgmAdvanced : vdgmCompatible;
    if (mode == vdgmCompatible) {
        canvas.ModifyWorldTransform(gfx::TXForm(), gfx::MWT_IDENTITY);
    }
    canvas.SetGraphicsMode(mode == vdgmAdvanced ? gfx::GM_ADVANCED : gfx::GM_COMPATIBLE);
    return previous;
}

bool TFixedGraphicInterface::IsAdvancedGraphicsMode(gfx::TCanvas &canvas) {
    return canvas.GetGraphicsMode() != gfx::GM_COMPATIBLE;
}

bool TFixedGraphicInterface::GetWorldTransform(gfx::TCanvas &canvas, gfx::TXForm &xform) {
    xform = canvas.GetWorldTransform();
    return true;
}

bool TFixedGraphicInterface::SetWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform) {
    return canvas.SetWorldTransform(xform);
}

bool TFixedGraphicInterface::ModifyWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform) {
    return canvas.ModifyWorldTransform(xform, gfx::MWT_LEFTMULTIPLY);
}

void TFixedGraphicInterface::FillColorRect(gfx::TCanvas &canvas, const rtl::TRect &r,
                                           gfx::TColor color) {
    const gfx::TBrush old = canvas.GetBrush();
    canvas.GetBrush().SetColor(color);
    canvas.GetBrush().SetStyle(gfx::bsSolid);
    canvas.FillRect(r);
    canvas.SetBrush(old);
}

void TFixedGraphicInterface::FillRectAlpha(gfx::TCanvas &canvas, const rtl::TRect &r,
                                           gfx::TColor color, uint8_t opacity) {
    if (opacity > 0 && color != gfx::clNone) {
        FillColorRect(canvas, r, color);
    }
}

void TFixedGraphicInterface::DrawBitmap(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                        const gfx::TBitmap &bmp) {
    canvas.Draw(x, y, bmp);
}

void TFixedGraphicInterface::StretchDrawBitmap(gfx::TCanvas &canvas, const rtl::TRect &r,
                                               const gfx::TBitmap &bmp) {
    canvas.StretchDraw(r, bmp);
}

void TFixedGraphicInterface::Polyline(gfx::TCanvas &canvas,
                                      const std::vector<gfx::TPoint> &points) {
    canvas.Polyline(points);
}

std::vector<std::string> TFixedGraphicInterface::DrawnTexts() const {
    std::vector<std::string> out;
    for (const TTextOp &op : TextOps) {
        out.push_back(rtl::Utf16ToUtf8(op.Text));
    }
    return out;
}
TLayoutStyle::TLayoutStyle() : TVDStyle(nullptr) {
    InitializeLibrary();
    auto gi = std::make_unique<TFixedGraphicInterface>();
    GI = gi.get();
    SetGraphicInterfaceForTesting(std::move(gi));
    GetTextStyles().GetItem(0).SetSize(15);
    GetTextStyles().GetItem(1).SetSize(30);
}

TTestFormattedDocument::TTestFormattedDocument(TVDStyle *style) : FStyle(style), FCanvas(8, 8) {
    FFlags = {vdflTrim, vdflRoot};
    SetOptions({vdoFastFormatting});
}

TTestFormattedDocument::~TTestFormattedDocument() {
    Clear();
}

std::string DumpDrawItems(TCustomVDFormattedData &doc) {
    std::string out;
    for (int32_t i = 0; i < doc.DrawItems.Count(); ++i) {
        const TVDDrawLineInfo &d = *doc.DrawItems[i];
        if (i > 0) {
            out += d.FromNewLine ? " / " : " ";
        }
        // Appended piece by piece: GCC 12 at -O3 takes "literal" + string for overlapping copies.
        const auto put = [&out](char separator, int32_t value) {
            out += separator;
            out += std::to_string(value);
        };
        out += std::to_string(d.ItemNo);
        if (doc.GetItem(d.ItemNo)->IsText()) {
            put(':', d.Offs);
            put('+', d.Length);
        }
        put('@', d.Left);
        put(',', d.Top);
        put(' ', d.Width);
        put('x', d.Height);
    }
    return out;
}

} // namespace vizivodu::test
