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
    // With DrawGlyphBoxes, text output paints each character but spaces as a box of the
    // font's colour: its advance less one pixel on the right, the em tall (plain output first
    // fills the cell when the brush is not clear).
    bool DrawGlyphBoxes = false;

    static int32_t Em(gfx::TCanvas &canvas);
    static std::u16string Units(const TVDTextRun &run);
    static int32_t Advance(gfx::TCanvas &canvas, char16_t c);
    std::vector<int32_t> Advances(gfx::TCanvas &canvas, const std::u16string &u);
    void DrawBoxes(gfx::TCanvas &canvas, int32_t x, int32_t y, const std::u16string &u,
                   const std::vector<int32_t> &dx);
    // Extra spacing goes to the spaces (spaceCount > 0: the remainder on the later ones) or to
    // every character (-100), as the justification rules of both engines spread it.
    std::vector<int32_t> Spread(gfx::TCanvas &canvas, const std::u16string &u, int32_t spaceCount,
                                int32_t extra, int32_t leftNoExp, int32_t rightNoExp);
    // The texts drawn, in order, as UTF-8.
    std::vector<std::string> DrawnTexts() const;

    void TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                 TVDTextOutput) override;
    gfx::TSize TextSizeBasic(gfx::TCanvas &canvas, const TVDTextRun &run) override;
    bool GetTextMetrics(gfx::TCanvas &canvas, gfx::TTextMetric &tm) override;
    void SetTextAlign(gfx::TCanvas &canvas, uint32_t flags) override;
    uint32_t GetTextAlign(gfx::TCanvas &canvas) override;
    int32_t GetTextCharacterExtra(gfx::TCanvas &canvas) override;
    void SetTextCharacterExtra(gfx::TCanvas &canvas, int32_t extra) override;
    void GetTextExtentExPoint(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t maxExtent,
                              int32_t *pCoords, int32_t &fit, gfx::TSize &size) override;
    std::unique_ptr<TCustomVDGlyphDXData> GetGlyphDX(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                     int32_t spaceCount, int32_t extraSpaceWidth,
                                                     TVDGlyphDXNeeds needs, int32_t leftNoExp,
                                                     int32_t rightNoExp) override;
    void TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                       TVDTextOutput, TCustomVDGlyphDXData &data) override;
    int32_t GetExpandableCharCount(gfx::TCanvas &canvas, const TVDTextRun &run) override;
    void GetOutermostNonExpandableCharacters(gfx::TCanvas &, const TVDTextRun &, TVDRunEnds,
                                             int32_t &leftIndex, int32_t &rightIndex) override;
    bool GetCaretPositions(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t spaceCount,
                           int32_t extra, std::span<int32_t> pcp, int32_t leftNoExp,
                           int32_t rightNoExp) override;
    bool DoesTextOutSupportSpacing(const TVDTextRun &) override;
    bool PreferMaxFit(gfx::TCanvas &, const TVDTextRun &, TVDMeasureCanvas, int32_t) override;
    std::unique_ptr<gfx::TCanvas> CreateScreenCanvas() override;
    std::unique_ptr<gfx::TCanvas> CreateCompatibleCanvas(gfx::TCanvas &canvas) override;
    void DestroyScreenCanvas(std::unique_ptr<gfx::TCanvas> &canvas) override;
    void DestroyCompatibleCanvas(std::unique_ptr<gfx::TCanvas> &canvas) override;
    int32_t GetDeviceCaps(gfx::TCanvas &canvas, int32_t) override;
    void InvalidateRect(ui::TControl &, const rtl::TRect *r) override;
    int32_t SaveCanvasState(gfx::TCanvas &canvas) override;
    void RestoreCanvasState(gfx::TCanvas &canvas, int32_t state) override;
    void IntersectClipRect(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2,
                           int32_t y2) override;
    TVDGraphicsMode SetGraphicsMode(gfx::TCanvas &canvas, TVDGraphicsMode mode) override;
    bool IsAdvancedGraphicsMode(gfx::TCanvas &canvas) override;
    bool GetWorldTransform(gfx::TCanvas &canvas, gfx::TXForm &xform) override;
    bool SetWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform) override;
    bool ModifyWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform) override;
    void FillColorRect(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color) override;
    void FillRectAlpha(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color,
                       uint8_t opacity) override;
    void DrawBitmap(gfx::TCanvas &canvas, int32_t x, int32_t y, const gfx::TBitmap &bmp) override;
    void StretchDrawBitmap(gfx::TCanvas &canvas, const rtl::TRect &r,
                           const gfx::TBitmap &bmp) override;
    void Polyline(gfx::TCanvas &canvas, const std::vector<gfx::TPoint> &points) override;

private:
    std::map<gfx::TCanvas *, uint32_t> FAlign;
    std::map<gfx::TCanvas *, int32_t> FExtra;
};

// A style sheet on the fixed graphic interface: text style 0 is 15 points (an em of 20 pixels
// at 96 dpi: characters 10 wide, ascent 16, descent 4), style 1 is 30 points.
class TLayoutStyle : public TVDStyle {
public:
    TLayoutStyle();
    TFixedGraphicInterface *GI;
};

// A formatted document with a test-set area: no scrolling, a canvas of its own.
class TTestFormattedDocument : public TCustomVDFormattedData {
public:
    explicit TTestFormattedDocument(TVDStyle *style);
    ~TTestFormattedDocument() override;

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
std::string DumpDrawItems(TCustomVDFormattedData &doc);

using wbtest::DarkPixels;
using wbtest::IsDark;

} // namespace vizivodu::test
