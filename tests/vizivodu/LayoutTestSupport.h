// Test support for the layout units: a graphic interface with exact, resolution-proportional
// text metrics (every character half an em wide, combining marks nothing; ascent four fifths of
// the em, descent one fifth) that records the text it is asked to draw, the GDI engine doing
// everything else (clipping, fonts, transforms); and a formatted document whose area, margins
// and options a test sets.
#pragma once

#include "vizivodu/VDStartup.h"
#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/layout/text/VDWinGrIn.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/System.h"
#include "tests/support/Pixels.h"

#include <map>
#include <memory>
#include <span>
#include <string>
#include <unicode/uchar.h>
#include <vector>

namespace vizivodu::test {

// A canvas over pixel memory it owns.
class TOwnedPixelCanvas : private std::vector<uint32_t>, public gfx::TPixelCanvas {
public:
    TOwnedPixelCanvas(int32_t width, int32_t height)
        : std::vector<uint32_t>(static_cast<size_t>(width) * height, 0xFFFFFFFFu),
          gfx::TPixelCanvas(data(), width, height, width * 4) {}
};

// The canvas of the screen: always 96 dpi.
class TScreenCanvas : public TOwnedPixelCanvas {
public:
    TScreenCanvas() : TOwnedPixelCanvas(1, 1) {}
};

class TFixedGraphicInterface : public TVDWinGraphicInterface {
public:
    struct TTextOp {
        int32_t X, Y;
        std::u16string Text;
        std::vector<int32_t> DX; // empty for plain output
    };

    // The device resolution of canvases other than the screen's (LOGPIXELSX/Y).
    int32_t DevicePPI = 96;
    bool UseMaxFit = false;
    // Text output is recorded in TextOps (and drawn as boxes on request) unless turned off.
    bool RecordTextOps = true;
    std::vector<TTextOp> TextOps;
    std::vector<rtl::TRect> Invalidated;
    // Text measurements asked for (extents and placements).
    int32_t MeasureCalls = 0;

    static int32_t Em(gfx::TCanvas &canvas) {
        const int32_t h = canvas.GetFont().GetHeight();
        return h < 0 ? -h : h * 4 / 5;
    }
    static std::u16string Units(const TVDTextRun &run) {
        std::u16string u;
        if (!run.Str) {
            return u;
        }
        for (int32_t i = 0; i < run.Length; ++i) {
            u.push_back(run.CharAt(i));
        }
        return u;
    }
    static int32_t Advance(gfx::TCanvas &canvas, char16_t c) {
        const int8_t type = u_charType(c);
        if (type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK) {
            return 0;
        }
        return Em(canvas) / 2;
    }
    std::vector<int32_t> Advances(gfx::TCanvas &canvas, const std::u16string &u) {
        std::vector<int32_t> a;
        for (char16_t c : u) {
            const int32_t adv = Advance(canvas, c);
            a.push_back(adv > 0 ? adv + FExtra[&canvas] : 0);
        }
        return a;
    }

    void TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                 TVDTextOutput) override {
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
                FillColorRect(canvas, rtl::Bounds(x, y, w, Em(canvas)),
                              canvas.GetBrush().GetColor());
            }
            DrawBoxes(canvas, x, y, TextOps.back().Text, {});
        }
    }
    // With DrawGlyphBoxes, text output paints each character but spaces as a box of the
    // font's colour: its advance less one pixel on the right, the em tall (plain output first
    // fills the cell when the brush is not clear).
    bool DrawGlyphBoxes = false;
    void DrawBoxes(gfx::TCanvas &canvas, int32_t x, int32_t y, const std::u16string &u,
                   const std::vector<int32_t> &dx) {
        const std::vector<int32_t> adv = dx.empty() ? Advances(canvas, u) : dx;
        for (size_t i = 0; i < u.size(); ++i) {
            if (u[i] != u' ' && adv[i] > 1) {
                FillColorRect(canvas, rtl::Bounds(x, y, adv[i] - 1, Em(canvas)),
                              canvas.GetFont().GetColor());
            }
            x += adv[i];
        }
    }
    gfx::TSize TextSizeBasic(gfx::TCanvas &canvas, const TVDTextRun &run) override {
        ++MeasureCalls;
        int32_t w = 0;
        for (int32_t a : Advances(canvas, Units(run))) {
            w += a;
        }
        return {w, Em(canvas)};
    }
    bool GetTextMetrics(gfx::TCanvas &canvas, gfx::TTextMetric &tm) override {
        const int32_t em = Em(canvas);
        tm = {};
        tm.tmDescent = em / 5;
        tm.tmAscent = em - tm.tmDescent;
        tm.tmHeight = em;
        tm.tmAveCharWidth = em / 2;
        return true;
    }
    void SetTextAlign(gfx::TCanvas &canvas, uint32_t flags) override { FAlign[&canvas] = flags; }
    uint32_t GetTextAlign(gfx::TCanvas &canvas) override { return FAlign[&canvas]; }
    int32_t GetTextCharacterExtra(gfx::TCanvas &canvas) override { return FExtra[&canvas]; }
    void SetTextCharacterExtra(gfx::TCanvas &canvas, int32_t extra) override {
        FExtra[&canvas] = extra;
    }
    void GetTextExtentExPoint(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t maxExtent,
                              int32_t *pCoords, int32_t &fit, gfx::TSize &size) override {
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
    // Extra spacing goes to the spaces (spaceCount > 0: the remainder on the later ones) or to
    // every character (-100), as the justification rules of both engines spread it.
    std::vector<int32_t> Spread(gfx::TCanvas &canvas, const std::u16string &u, int32_t spaceCount,
                                int32_t extra, int32_t leftNoExp, int32_t rightNoExp) {
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
    std::unique_ptr<TCustomVDGlyphDXData> GetGlyphDX(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                     int32_t spaceCount, int32_t extraSpaceWidth,
                                                     TVDGlyphDXNeeds needs, int32_t leftNoExp,
                                                     int32_t rightNoExp) override {
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
    void TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                       TVDTextOutput, TCustomVDGlyphDXData &data) override {
        if (!RecordTextOps) {
            return;
        }
        TextOps.push_back({x, y, Units(run), data.PDX});
        if (DrawGlyphBoxes) {
            DrawBoxes(canvas, x, y, TextOps.back().Text, data.PDX);
        }
    }
    int32_t GetExpandableCharCount(gfx::TCanvas &canvas, const TVDTextRun &run) override {
        int32_t n = 0;
        for (int32_t a : Advances(canvas, Units(run))) {
            n += a > 0 ? 1 : 0;
        }
        return n;
    }
    void GetOutermostNonExpandableCharacters(gfx::TCanvas &, const TVDTextRun &, TVDRunEnds,
                                             int32_t &leftIndex, int32_t &rightIndex) override {
        leftIndex = rightIndex = -1;
    }
    bool GetCaretPositions(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t spaceCount,
                           int32_t extra, std::span<int32_t> pcp, int32_t leftNoExp,
                           int32_t rightNoExp) override {
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
    bool DoesTextOutSupportSpacing(const TVDTextRun &) override { return false; }
    bool PreferMaxFit(gfx::TCanvas &, const TVDTextRun &, TVDMeasureCanvas, int32_t) override {
        return UseMaxFit;
    }
    std::unique_ptr<gfx::TCanvas> CreateScreenCanvas() override {
        return std::make_unique<TScreenCanvas>();
    }
    std::unique_ptr<gfx::TCanvas> CreateCompatibleCanvas(gfx::TCanvas &canvas) override {
        auto copy = std::make_unique<TOwnedPixelCanvas>(1, 1);
        copy->GetFont().SetPixelsPerInch(canvas.GetFont().GetPixelsPerInch());
        return copy;
    }
    void DestroyScreenCanvas(std::unique_ptr<gfx::TCanvas> &canvas) override { canvas.reset(); }
    void DestroyCompatibleCanvas(std::unique_ptr<gfx::TCanvas> &canvas) override { canvas.reset(); }
    int32_t GetDeviceCaps(gfx::TCanvas &canvas, int32_t) override {
        return dynamic_cast<TScreenCanvas *>(&canvas) ? 96 : DevicePPI;
    }
    void InvalidateRect(ui::TControl &, const rtl::TRect *r) override {
        Invalidated.push_back(r ? *r : rtl::TRect{});
    }
    int32_t SaveCanvasState(gfx::TCanvas &canvas) override { return canvas.SaveDC(); }
    void RestoreCanvasState(gfx::TCanvas &canvas, int32_t state) override {
        canvas.RestoreDC(state);
    }
    void IntersectClipRect(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2,
                           int32_t y2) override {
        canvas.IntersectClipRect(rtl::Rect(x1, y1, x2, y2));
    }
    TVDGraphicsMode SetGraphicsMode(gfx::TCanvas &canvas, TVDGraphicsMode mode) override {
        const TVDGraphicsMode previous =
            IsAdvancedGraphicsMode(canvas) ? vdgmAdvanced : vdgmCompatible;
        if (mode == vdgmCompatible) {
            canvas.ModifyWorldTransform(gfx::TXForm(), gfx::MWT_IDENTITY);
        }
        canvas.SetGraphicsMode(mode == vdgmAdvanced ? gfx::GM_ADVANCED : gfx::GM_COMPATIBLE);
        return previous;
    }
    bool IsAdvancedGraphicsMode(gfx::TCanvas &canvas) override {
        return canvas.GetGraphicsMode() != gfx::GM_COMPATIBLE;
    }
    bool GetWorldTransform(gfx::TCanvas &canvas, gfx::TXForm &xform) override {
        xform = canvas.GetWorldTransform();
        return true;
    }
    bool SetWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform) override {
        return canvas.SetWorldTransform(xform);
    }
    bool ModifyWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform) override {
        return canvas.ModifyWorldTransform(xform, gfx::MWT_LEFTMULTIPLY);
    }
    void FillColorRect(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color) override {
        const gfx::TBrush old = canvas.GetBrush();
        canvas.GetBrush().SetColor(color);
        canvas.GetBrush().SetStyle(gfx::bsSolid);
        canvas.FillRect(r);
        canvas.SetBrush(old);
    }
    void FillRectAlpha(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color,
                       uint8_t opacity) override {
        if (opacity > 0 && color != gfx::clNone) {
            FillColorRect(canvas, r, color);
        }
    }
    void DrawBitmap(gfx::TCanvas &canvas, int32_t x, int32_t y, const gfx::TBitmap &bmp) override {
        canvas.Draw(x, y, bmp);
    }
    void StretchDrawBitmap(gfx::TCanvas &canvas, const rtl::TRect &r,
                           const gfx::TBitmap &bmp) override {
        canvas.StretchDraw(r, bmp);
    }
    void Polyline(gfx::TCanvas &canvas, const std::vector<gfx::TPoint> &points) override {
        canvas.Polyline(points);
    }

    // The texts drawn, in order, as UTF-8.
    std::vector<std::string> DrawnTexts() const {
        std::vector<std::string> out;
        for (const TTextOp &op : TextOps) {
            out.push_back(rtl::Utf16ToUtf8(op.Text));
        }
        return out;
    }

private:
    std::map<gfx::TCanvas *, uint32_t> FAlign;
    std::map<gfx::TCanvas *, int32_t> FExtra;
};

// A style sheet on the fixed graphic interface: text style 0 is 15 points (an em of 20 pixels
// at 96 dpi: characters 10 wide, ascent 16, descent 4), style 1 is 30 points.
class TLayoutStyle : public TVDStyle {
public:
    TLayoutStyle() : TVDStyle(nullptr) {
        InitializeLibrary();
        auto gi = std::make_unique<TFixedGraphicInterface>();
        GI = gi.get();
        SetGraphicInterfaceForTesting(std::move(gi));
        GetTextStyles().GetItem(0).SetSize(15);
        GetTextStyles().GetItem(1).SetSize(30);
    }
    TFixedGraphicInterface *GI;
};

// A formatted document with a test-set area: no scrolling, a canvas of its own.
class TTestFormattedDocument : public TCustomVDFormattedData {
public:
    explicit TTestFormattedDocument(TVDStyle *style) : FStyle(style), FCanvas(8, 8) {
        FFlags = {vdflTrim, vdflRoot};
        SetOptions({vdoFastFormatting});
    }
    ~TTestFormattedDocument() override { Clear(); }

    TVDStyle *GetVDStyle() override { return FStyle; }
    TVDFlags GetFlags() override { return FFlags; }
    void SetFlags(TVDFlags value) override { FFlags = value; }
    bool GetWordWrap() override { return WordWrap; }
    int32_t GetMaxLength() override { return MaxLength; }
    gfx::TCanvas *GetCanvas() override { return &FCanvas; }

    int32_t GetAreaWidth() override { return AreaWidth; }
    int32_t GetAreaHeight() override { return AreaHeight; }
    int32_t GetLeftMargin() override { return LeftMargin; }
    int32_t GetRightMargin() override { return RightMargin; }
    int32_t GetTopMargin() override { return TopMargin; }
    int32_t GetBottomMargin() override { return BottomMargin; }
    int32_t GetMinTextWidth() override { return MinTextWidth; }
    int32_t GetMaxTextWidth() override { return MaxTextWidth; }
    int32_t GetWidth() override { return Width; }
    int32_t GetHeight() override { return Height; }
    void SetDocumentAreaSize(int32_t width, int32_t height, bool, bool) override {
        AreaWidth = width;
        AreaHeight = height;
    }
    void AdjustVScrollUnits() override {}
    void ScrollTo(int32_t y, bool) override { VOffs = y; }
    void HScrollTo(int32_t x) override { HOffs = x; }
    int32_t GetVSmallStep() override { return 1; }
    int32_t GetHOffs() override { return HOffs; }
    int32_t GetVOffs() override { return VOffs; }
    TVDBackground *GetBackground() override { return nullptr; }
    TVDDocRotation GetRotation() override { return Rotation; }
    TVDVerticalAlign GetVerticalAlign() override { return VAlign; }
    bool IsAssignedCheckpointVisible() override { return false; }
    void DoCheckpointVisible(TCheckpointData) override {}
    void DoJump(int32_t) override {}

    bool WordWrap = true;
    int32_t MaxLength = 0;
    int32_t AreaWidth = 0, AreaHeight = 0;
    int32_t LeftMargin = 0, RightMargin = 0, TopMargin = 0, BottomMargin = 0;
    int32_t MinTextWidth = 0, MaxTextWidth = 0;
    int32_t Width = 400, Height = 300;
    int32_t HOffs = 0, VOffs = 0;
    TVDDocRotation Rotation = vdrotNone;
    TVDVerticalAlign VAlign = vdveraTop;

private:
    TVDStyle *FStyle;
    TVDFlags FFlags;
    TOwnedPixelCanvas FCanvas;
};

// The draw items as "item:offs+len@left,top wxh" (text) or "item@left,top wxh" (objects),
// lines separated by " / ".
inline std::string DumpDrawItems(TCustomVDFormattedData &doc) {
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

using wbtest::DarkPixels;
using wbtest::IsDark;

} // namespace vizivodu::test
