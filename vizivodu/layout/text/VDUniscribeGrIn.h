// The complex-script engine of the graphic interface: the GDI engine with its text operations
// replaced by the complex-script string functions (shaping, reordering and placing any script),
// reached through the loader (VDUniscribe.h).
//
// Every text operation makes its own analysis of the run (two with a character extra: the
// logical widths of the first, widened by the extra, are imposed on the second), with the
// canvas's character extra off; a run of length 0, or a run that cannot be analysed, goes to
// the GDI operation of the same name. Nothing is kept between calls.
#pragma once

#include "vizivodu/layout/text/VDWinGrIn.h"

namespace vizivodu {

// The glyph placement of this engine: PDX holds the logical widths (one per character), PXL
// and PXR the edges of each character; there is no order.
class TVDUniscribeGlyphDXData : public TCustomVDGlyphDXData {};

class TVDUniscribeGraphicInterface : public TVDWinGraphicInterface {
public:
    void TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                 TVDTextOutput output) override;
    rtl::TSize TextSizeBasic(gfx::TCanvas &canvas, const TVDTextRun &run) override;
    // Measures by clipping the analysis at the width; coords must be null (EInvalidOperation
    // otherwise): this engine fills no coordinate array.
    void GetTextExtentExPoint(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t maxExtent,
                              int32_t *coords, int32_t &fit, rtl::TSize &size) override;
    std::unique_ptr<TCustomVDGlyphDXData> GetGlyphDX(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                     int32_t spaceCount, int32_t extraSpaceWidth,
                                                     TVDGlyphDXNeeds needs, int32_t leftNoExpIndex,
                                                     int32_t rightNoExpIndex) override;
    // A metafile receives the characters with the data's advances, those of combining marks
    // folded into their base (the data is changed so).
    void TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                       TVDTextOutput output, TCustomVDGlyphDXData &data) override;
    bool GetCaretPositions(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t spaceCount,
                           int32_t extraSpaceWidth, std::span<int32_t> pcp, int32_t leftNoExpIndex,
                           int32_t rightNoExpIndex) override;
    int32_t GetExpandableCharCount(gfx::TCanvas &canvas, const TVDTextRun &run) override;
    // The logical ends of the run: the left index for a run that ends right to left there,
    // the right index for one that ends left to right.
    void GetOutermostNonExpandableCharacters(gfx::TCanvas &canvas, const TVDTextRun &run,
                                             TVDRunEnds ends, int32_t &leftIndex,
                                             int32_t &rightIndex) override;
    bool DoesTextOutSupportSpacing(const TVDTextRun &run) override;
    // True for runs of fewer than 4 estimated lines, 8 with a character extra.
    bool PreferMaxFit(gfx::TCanvas &canvas, const TVDTextRun &run, TVDMeasureCanvas measureCanvas,
                      int32_t estimFit) override;

private:
    class TAnalysis;
    // An analysis of the run; with charExtra (the canvas's, switched off by the caller) not 0
    // and no advances of its own, a second one with the widened logical widths. False when
    // none could be made.
    bool Analyse(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t charExtra, int32_t reqWidth,
                 uint32_t flags, const int32_t *dx, TAnalysis &analysis);
    bool Extent(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t maxExtent, int32_t &fit,
                rtl::TSize &size);
};

} // namespace vizivodu
