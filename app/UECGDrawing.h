// The ECG viewer's picture: scales, baseline layout, millimetre grid, captions and traces.
#pragma once

#include "raster/Raster.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace workbench {

// Paper speed 6.25, 12.5, 25, 50 or 100 mm/s.
enum TScale : uint8_t { hs6_25, hs12_5, hs25, hs50, hs100 };
// Amplitude 4, 2, 1, 0.5 or 0.25 mV per cm.
enum TScanning : uint8_t { vs4, vs2, vs1, vs05, vs025 };

// Caption of each drawn lead position; the viewer uses the first twelve.
extern const std::array<const char16_t *, 18> LeadCaptions;

constexpr int32_t kLeadCaptionsBarWidth = 20;
constexpr int32_t kMaxDrawnLeads = 12;
constexpr raster::TColor32 kEcgBackColor = raster::Color32(0, 51, 102);
constexpr raster::TColor32 kEcgTraceColor = raster::Color32(255, 255, 128);
// Silver at the opacity of the caption bar frames and of the three kinds of grid line.
constexpr raster::TColor32 SilverAlpha(uint32_t alpha) {
    return raster::Color32(192, 192, 192, alpha);
}

// Samples per lead in 0.01 mV.
using TLeadData = std::vector<std::vector<int16_t>>;

// The scales of one drawing. A control of 40 pixels or less has no paper (all scales 0).
struct TECGScales {
    double PixelsPerCm = 0;      // (control width - 40) / 25
    double PixelsPerMm = 0;      // PixelsPerCm / 10
    double MillivoltsPerCm = 1;  // amplitude a
    double PixelsPerUnit = 0;    // u: pixels per sample unit, PixelsPerCm / (a x 100)
    double MillimetresPerS = 25; // paper speed v
    double PixelsPerSample = 0;  // k: PixelsPerCm x v / (10 x frequency)
    int32_t ShownSamples = 0;    // s: 25 cm of paper, at most the lead length
};

TECGScales ComputeECGScales(int32_t controlWidth, TScale scale, TScanning scanning,
                            int32_t frequency, int32_t leadLength);

// The baselines ax[0 .. n - 1] of n drawn leads (drawn[i] = lead data index of position i),
// over the first `shown` samples of each lead, in sample units from the top, and ax[n] the total
// height, which is returned. Neighbouring leads keep 25 units apart in every 20-sample window.
// Leads shorter than `shown` read as 0 beyond their end; no leads gives ax = {0}.
int32_t LayoutLeadBaselines(const TLeadData &data, const uint8_t *drawn, int32_t n, int32_t shown,
                            std::vector<int32_t> &ax);

// Spreads spare height of the control evenly between the leads when they fit: lead i moves
// down by i x d pixels, d = floor((height - needed) / n), and ax[n] becomes the control's height
// in sample units. Returns false (ax unchanged) when the leads do not fit or u is not positive.
bool SpreadSpareHeight(std::vector<int32_t> &ax, int32_t n, int32_t controlHeight, double u);

// What the vertical gauge bar shows for a layout: visible with Max = overflow, the position
// lowered to it, and a handle proportional to the visible part; hidden with 0 otherwise.
struct TScrollSizing {
    bool Visible = false;
    int32_t Max = 0;
    int32_t Position = 0;
    int32_t HandleSize = 0;
};
TScrollSizing SizeVerticalScroll(int32_t totalUnits, double u, int32_t controlHeight,
                                 int32_t position);

// The millimetre grid, sized width x height, on the background colour: lines every
// millimetre, stronger every 5 and 10 mm. No lines when pixelsPerMm is not positive.
void DrawGrid(raster::TBitmap32 &grid, int32_t width, int32_t height, double pixelsPerMm);

// One viewer picture: the leads and settings to draw, the grid built by the previous drawing
// and the layout of the last one. The bitmap drawn into must be as large as the control.
class TECGDrawing {
public:
    TECGDrawing();
    ~TECGDrawing();

    // The leads drawn; positions 0 .. VisibleCount - 1 show lead Visible[i].
    const TLeadData *Leads = nullptr;
    std::array<uint8_t, kMaxDrawnLeads> Visible{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    uint8_t VisibleCount = 0;
    int32_t Frequency = 250;
    int32_t LeadLength = 0;
    TScale Scale = hs25;
    TScanning Scanning = vs1;

    // Lays the baselines out for a control of that size (steps up to the spare-height spread)
    // and returns the scales used.
    TECGScales Layout(int32_t controlWidth, int32_t controlHeight);
    // The gauge bar's sizing for the last layout.
    TScrollSizing ScrollSizing(int32_t controlHeight, int32_t position) const;
    // Paints the last layout into bitmap (the control's size): the previous grid, the caption
    // bars, then rebuilds the grid for the next drawing, then captions and traces scrolled up by
    // scrollPos pixels.
    void Paint(raster::TBitmap32 &bitmap, int32_t scrollPos);
    // Builds the grid for a control of that size (done once on activation of the view).
    void RebuildGrid(int32_t controlWidth, int32_t controlHeight);

    const std::vector<int32_t> &Baselines() const { return FAx; }
    int32_t PixelPerCentimetr() const { return FPixelPerCentimetr; }
    raster::TBitmap32 &GridBitmap() { return *FGrid; }

private:
    int32_t Sample(int32_t position, int32_t index) const;
    void PaintCaptionBars(raster::TBitmap32 &bitmap) const;
    void PaintLeads(raster::TBitmap32 &bitmap, int32_t scrollPos);

    std::unique_ptr<raster::TBitmap32> FGrid;
    std::vector<int32_t> FAx;
    TECGScales FScales;
    int32_t FControlWidth = 0;
    int32_t FControlHeight = 0;
    int32_t FPixelPerCentimetr = 0;
};

} // namespace workbench
