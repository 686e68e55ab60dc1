// The GDI engine of the graphic interface: every operation on the canvas's own GDI functions;
// right-to-left text reordered and shaped by GetCharacterPlacement.
//
// 8-bit text is read in the code page of the canvas font's character set. Reordered runs are
// drawn as characters whose advances are the clusters' glyph advances (the canvas shapes the
// same text alike), on screens, printers and metafiles the same way.
#pragma once

#include "vizivodu/layout/text/VDGrIn.h"

namespace vizivodu {

// The glyph placement of this engine. For a reordered run PDX holds nGlyphs advances in output
// order and POrder the output position of each character; otherwise PDX is per character.
class TVDWinGlyphDXData : public TCustomVDGlyphDXData {
public:
    // Glyph indices of a reordered run (empty otherwise).
    std::vector<uint16_t> PGlyphs;
    int32_t nGlyphs = 0;
    // For each output position the character placed there (its cluster's first), -1 for none.
    std::vector<int32_t> POrderRev;

    // True for an empty run or when some POrder entry is not 0 (an all-zero order was not
    // filled by the placement).
    bool CheckOrder(int32_t length) const;
    void FillReverseOrder(int32_t length);
    // Edges from the advances in output order. Every output position advances the running
    // sum; the characters of a cluster share its box, and a glyph no character starts widens
    // the box of the one before it.
    void FillCoordsBiDi(int32_t length);
    // Edges from cumulative right edges in PDX.
    void FillCoordsLTR(int32_t length);
    // Edges from advances in PDX.
    void FillCoordsLTR2(int32_t length);
    // Cumulative right edges in PDX become advances.
    void MakeCharWidthsLTR(int32_t length);
};

class TVDWinGraphicInterface : public TVDGraphicInterface {
public:
    void TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                 TVDTextOutput output) override;
    rtl::TSize TextSizeBasic(gfx::TCanvas &canvas, const TVDTextRun &run) override;
    uint32_t GetOutlineTextMetrics(gfx::TCanvas &canvas, uint32_t size,
                                   gfx::TOutlineTextMetric *otm) override;
    bool GetTextMetrics(gfx::TCanvas &canvas, gfx::TTextMetric &tm) override;
    bool FontHasLigationGlyphs(gfx::TCanvas &canvas) override;
    void SetTextAlign(gfx::TCanvas &canvas, uint32_t flags) override;
    uint32_t GetTextAlign(gfx::TCanvas &canvas) override;
    int32_t GetTextCharacterExtra(gfx::TCanvas &canvas) override;
    void SetTextCharacterExtra(gfx::TCanvas &canvas, int32_t charExtra) override;
    void GetTextExtentExPoint(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t maxExtent,
                              int32_t *coords, int32_t &fit, rtl::TSize &size) override;
    void SetLogFont(gfx::TCanvas &canvas, const gfx::TLogFont &logFont) override;
    TVDFontHandle SetFontHandle(gfx::TCanvas &canvas, const TVDFontHandle &font) override;
    void SetDiagonalBrush(gfx::TCanvas &canvas, gfx::TColor backColor, gfx::TColor foreColor,
                          int32_t xOrg, int32_t yOrg) override;

    std::unique_ptr<gfx::TCanvas> CreateScreenCanvas() override;
    void DestroyScreenCanvas(std::unique_ptr<gfx::TCanvas> &canvas) override;
    // A canvas of the same device capabilities, graphics mode, world transform (advanced
    // mode) and font resolution, for measuring.
    std::unique_ptr<gfx::TCanvas> CreateCompatibleCanvas(gfx::TCanvas &canvas) override;
    void DestroyCompatibleCanvas(std::unique_ptr<gfx::TCanvas> &canvas) override;
    std::unique_ptr<gfx::TCanvas> CreatePrinterCanvas() override;

    void GetViewportExtEx(gfx::TCanvas &canvas, rtl::TSize &size) override;
    void GetViewportOrgEx(gfx::TCanvas &canvas, rtl::TPoint &point) override;
    void GetWindowExtEx(gfx::TCanvas &canvas, rtl::TSize &size) override;
    void GetWindowOrgEx(gfx::TCanvas &canvas, rtl::TPoint &point) override;
    void SetViewportExtEx(gfx::TCanvas &canvas, int32_t x, int32_t y, rtl::TSize *old) override;
    void SetViewportOrgEx(gfx::TCanvas &canvas, int32_t x, int32_t y, rtl::TPoint *old) override;
    void SetWindowExtEx(gfx::TCanvas &canvas, int32_t x, int32_t y, rtl::TSize *old) override;
    void SetWindowOrgEx(gfx::TCanvas &canvas, int32_t x, int32_t y, rtl::TPoint *old) override;
    int32_t GetMapMode(gfx::TCanvas &canvas) override;
    int32_t SetMapMode(gfx::TCanvas &canvas, int32_t mode) override;
    // Going back to the compatible mode first resets the world transform to identity.
    TVDGraphicsMode SetGraphicsMode(gfx::TCanvas &canvas, TVDGraphicsMode mode) override;
    bool IsAdvancedGraphicsMode(gfx::TCanvas &canvas) override;
    bool GetWorldTransform(gfx::TCanvas &canvas, gfx::TXForm &xform) override;
    bool SetWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform) override;
    bool ModifyWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform) override;

    void InvalidateRect(ui::TControl &control, const rtl::TRect *rect) override;
    void IntersectClipRect(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2,
                           int32_t y2) override;
    void ExcludeClipRect(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2,
                         int32_t y2) override;
    void IntersectClipRectEx(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                             TVDClipRgn &rgn) override;
    void GetClipRgn(gfx::TCanvas &canvas, TVDClipRgn &rgn) override;
    void RemoveClipRgn(gfx::TCanvas &canvas, TVDClipRgn &rgn) override;
    void RestoreClipRgn(gfx::TCanvas &canvas, TVDClipRgn &rgn) override;
    void IntersectClipRgn(gfx::TCanvas &canvas, const TVDClipRgn &rgn) override;
    void UnionClipRgn(gfx::TCanvas &canvas, const TVDClipRgn &rgn) override;
    void FreeClipRgn(TVDClipRgn &rgn) override;
    int32_t SaveCanvasState(gfx::TCanvas &canvas) override;
    void RestoreCanvasState(gfx::TCanvas &canvas, int32_t state) override;

    void FillColorRect(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color) override;
    void Polyline(gfx::TCanvas &canvas, const std::vector<rtl::TPoint> &points) override;
    void DrawBitmap(gfx::TCanvas &canvas, int32_t x, int32_t y, const gfx::TBitmap &bmp) override;
    void StretchDrawBitmap(gfx::TCanvas &canvas, const rtl::TRect &r,
                           const gfx::TBitmap &bmp) override;
    // Through the device-independent printing routine, or the halftone one while
    // PrintBitmapHalftone is set.
    void PrintBitmap(gfx::TCanvas &canvas, const rtl::TRect &r, const gfx::TBitmap &bmp) override;
    // Blended images are drawn with per-pixel alpha: the image's own alpha, its colours half in
    // the blend colour.
    void DrawImageList(gfx::TCanvas &canvas, const gfx::TCustomImageList &imageList, int32_t index,
                       int32_t x, int32_t y, gfx::TColor blendColor) override;
    int32_t GetDeviceCaps(gfx::TCanvas &canvas, int32_t index) override;
    // Solid, square ends and round joins, at the pen's width and colour.
    void ConvertPenToGeometric(gfx::TCanvas &canvas) override;
    // Solid, at the pen's width and colour.
    void ConvertPenToCosmetic(gfx::TCanvas &canvas) override;

    std::unique_ptr<TCustomVDGlyphDXData> GetGlyphDX(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                     int32_t spaceCount, int32_t extraSpaceWidth,
                                                     TVDGlyphDXNeeds needs, int32_t leftNoExpIndex,
                                                     int32_t rightNoExpIndex) override;
    void TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                       TVDTextOutput output, TCustomVDGlyphDXData &data) override;
    int32_t GetExpandableCharCount(gfx::TCanvas &canvas, const TVDTextRun &run) override;
    // The left index is always -1; the right one the character placed furthest right.
    void GetOutermostNonExpandableCharacters(gfx::TCanvas &canvas, const TVDTextRun &run,
                                             TVDRunEnds ends, int32_t &leftIndex,
                                             int32_t &rightIndex) override;
    bool GetCaretPositions(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t spaceCount,
                           int32_t extraSpaceWidth, std::span<int32_t> pcp, int32_t leftNoExpIndex,
                           int32_t rightNoExpIndex) override;
    // True exactly when the run is not BiDi.
    bool DoesTextOutSupportSpacing(const TVDTextRun &run) override;
    // Only on the format canvas, for runs of fewer than 6 estimated lines.
    bool PreferMaxFit(gfx::TCanvas &canvas, const TVDTextRun &run, TVDMeasureCanvas measureCanvas,
                      int32_t estimFit) override;
    // Translucent fills in tiles of at most 1000 x 1000 pixels; where blending fails the
    // rectangle is filled opaque.
    void FillRectAlpha(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color,
                       uint8_t opacity) override;

protected:
    // Blends pixels onto dest at constant opacity (msimg32's AlphaBlend); false when the
    // device cannot blend.
    virtual bool AlphaBlend(gfx::TCanvas &canvas, const rtl::TRect &dest,
                            const gfx::TPixels32 &pixels, uint8_t opacity);
    // Advances (Length entries) and, when order is not empty, the output order of the run:
    // placed by GetCharacterPlacement for a BiDi run, else from the extents in logical order.
    void GetDXAndOrder(gfx::TCanvas &canvas, const TVDTextRun &run, std::span<int32_t> pdx,
                       std::span<uint32_t> order);
    // GetCharacterPlacement with this engine's flags; false when it fails or needs more than
    // glyphCapacity glyphs.
    virtual bool Place(gfx::TCanvas &canvas, const TVDTextRun &run, size_t glyphCapacity,
                       gfx::TGcpResults &results);

private:
    bool CaretPositionsReordered(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t spaceCount,
                                 int32_t extraSpaceWidth, std::span<int32_t> pcp,
                                 int32_t leftNoExpIndex, int32_t rightNoExpIndex);
    void CaretPositionsInOrder(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t spaceCount,
                               int32_t extraSpaceWidth, std::span<int32_t> pcp,
                               int32_t leftNoExpIndex, int32_t rightNoExpIndex);
    std::unique_ptr<TVDWinGlyphDXData> GlyphDXReordered(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                        int32_t spaceCount, int32_t extraSpaceWidth,
                                                        TVDGlyphDXNeeds needs,
                                                        int32_t leftNoExpIndex,
                                                        int32_t rightNoExpIndex);
};

} // namespace vizivodu
