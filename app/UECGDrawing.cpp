// The ECG viewer's picture: scales, baseline layout, millimetre grid, captions and traces.
#include "app/UECGDrawing.h"

#include "platform/gfx/Font.h"

#include <algorithm>
#include <cmath>

namespace workbench {

const std::array<const char16_t *, 18> LeadCaptions = {u"I",  u"II", u"III", u"R",  u"L",  u"F",
                                                       u"V1", u"V2", u"V3",  u"V4", u"V5", u"V6",
                                                       u"D",  u"A",  u"J",   u"V7", u"V8", u"V9"};

namespace {

// Every real-to-integer conversion of the drawing rounds halves to even.
int32_t Rnd(double value) {
    return raster::Round(value);
}

constexpr double kAmplitudes[] = {4, 2, 1, 0.5, 0.25};
constexpr double kSpeeds[] = {6.25, 12.5, 25, 50, 100};
constexpr double kPaperFactors[] = {4, 2, 1, 0.5, 0.25};

// The samples shown and a grid line's opacity by its index in millimetres.
uint32_t GridAlpha(int32_t k) {
    if (k % 10 == 0) {
        return 100;
    }
    return k % 5 == 0 ? 60 : 20;
}

// Extremes of the first `shown` samples; a lead shorter than that reads 0 beyond its end.
struct TExtremes {
    int32_t Min = 0;
    int32_t Max = 0;
};

int32_t At(const std::vector<int16_t> &lead, int32_t index) {
    return index >= 0 && size_t(index) < lead.size() ? lead[size_t(index)] : 0;
}

TExtremes ExtremesOf(const std::vector<int16_t> &lead, int32_t shown) {
    if (shown <= 0) {
        return {};
    }
    TExtremes e{At(lead, 0), At(lead, 0)};
    for (int32_t j = 1; j < shown; ++j) {
        const int32_t v = At(lead, j);
        e.Min = std::min(e.Min, v);
        e.Max = std::max(e.Max, v);
    }
    return e;
}

// The closest approach of lead `cur` to the lead above it over 20-sample windows that share
// their end positions.
int32_t LeadGap(const std::vector<int16_t> &cur, const std::vector<int16_t> &prev, int32_t shown) {
    int32_t c = At(cur, 0) - At(prev, 0);
    int32_t winMax = At(cur, 0);
    int32_t winMin = At(prev, 0);
    for (int32_t j = 1; j < shown; ++j) {
        winMax = std::max(winMax, At(cur, j));
        winMin = std::min(winMin, At(prev, j));
        if (j % 20 == 0 || j == shown - 1) {
            c = std::max(c, winMax - winMin);
            winMax = At(cur, j);
            winMin = At(prev, j);
        }
    }
    return c;
}

} // namespace

TECGScales ComputeECGScales(int32_t controlWidth, TScale scale, TScanning scanning,
                            int32_t frequency, int32_t leadLength) {
    TECGScales s;
    s.MillivoltsPerCm = kAmplitudes[scanning];
    s.MillimetresPerS = kSpeeds[scale];
    s.ShownSamples = std::max(
        0, std::min(Rnd(10.0 * frequency * kPaperFactors[scale]), std::max(leadLength, 0)));
    if (controlWidth <= 2 * kLeadCaptionsBarWidth || frequency <= 0) {
        return s; // no paper: nothing is scaled
    }
    s.PixelsPerCm = double(controlWidth - 2 * kLeadCaptionsBarWidth) / 25.0;
    s.PixelsPerMm = s.PixelsPerCm / 10.0;
    s.PixelsPerUnit = s.PixelsPerCm / (s.MillivoltsPerCm * 100.0);
    s.PixelsPerSample = s.PixelsPerCm * s.MillimetresPerS / (10.0 * frequency);
    return s;
}

int32_t LayoutLeadBaselines(const TLeadData &data, const uint8_t *drawn, int32_t n, int32_t shown,
                            std::vector<int32_t> &ax) {
    static const std::vector<int16_t> none;
    auto lead = [&](int32_t i) -> const std::vector<int16_t> & {
        return drawn[i] < data.size() ? data[drawn[i]] : none;
    };
    ax.assign(size_t(std::max(n, 0)) + 1, 0);
    if (n <= 0) {
        return 0;
    }
    ax[0] = ExtremesOf(lead(0), shown).Max + 25;
    for (int32_t i = 1; i < n; ++i) {
        ax[size_t(i)] = ax[size_t(i) - 1] + LeadGap(lead(i), lead(i - 1), shown) + 25;
    }
    const TExtremes last = ExtremesOf(lead(n - 1), shown);
    ax[size_t(n)] = ax[size_t(n) - 1] + (last.Max - last.Min);
    return ax[size_t(n)];
}

bool SpreadSpareHeight(std::vector<int32_t> &ax, int32_t n, int32_t controlHeight, double u) {
    if (n <= 0 || u <= 0 || ax.size() < size_t(n) + 1) {
        return false;
    }
    const int32_t needed = Rnd(u * ax[size_t(n)]);
    if (controlHeight < needed) {
        return false;
    }
    const double d = std::floor(double(controlHeight - needed) / n);
    for (int32_t i = 0; i < n; ++i) {
        ax[size_t(i)] += Rnd(d * i / u);
    }
    ax[size_t(n)] = Rnd(controlHeight / u);
    return true;
}

TScrollSizing SizeVerticalScroll(int32_t totalUnits, double u, int32_t controlHeight,
                                 int32_t position) {
    TScrollSizing r;
    const int32_t overflow = Rnd(totalUnits * u) - controlHeight;
    if (overflow > 0) {
        r.Visible = true;
        r.Max = overflow;
        r.Position = std::min(position, overflow);
        const double h = controlHeight;
        r.HandleSize = Rnd(h * h / (overflow + h));
    }
    return r;
}

void DrawGrid(raster::TBitmap32 &grid, int32_t width, int32_t height, double pixelsPerMm) {
    grid.SetSize(width, height);
    grid.Clear(kEcgBackColor);
    if (pixelsPerMm <= 0) {
        return; // a control too narrow for paper has no grid (and no endless loop)
    }
    for (int32_t k = 0; k * pixelsPerMm < grid.GetWidth(); ++k) {
        const float x = float(k * pixelsPerMm);
        grid.SetPenColor(SilverAlpha(GridAlpha(k)));
        grid.MoveToF(x, 0);
        grid.LineToFS(x, float(height));
    }
    for (int32_t k = 0; k * pixelsPerMm < height; ++k) {
        const float y = float(k * pixelsPerMm);
        grid.SetPenColor(SilverAlpha(GridAlpha(k)));
        grid.MoveToF(0, y);
        grid.LineToFS(float(grid.GetWidth()), y);
    }
}

TECGDrawing::TECGDrawing() : FGrid(std::make_unique<raster::TBitmap32>()) {
    FGrid->SetDrawMode(raster::dmOpaque);
}

TECGDrawing::~TECGDrawing() = default;

int32_t TECGDrawing::Sample(int32_t position, int32_t index) const {
    if (Leads == nullptr || Visible[size_t(position)] >= Leads->size()) {
        return 0;
    }
    return At((*Leads)[Visible[size_t(position)]], index);
}

TECGScales TECGDrawing::Layout(int32_t controlWidth, int32_t controlHeight) {
    FControlWidth = controlWidth;
    FControlHeight = controlHeight;
    FScales = ComputeECGScales(controlWidth, Scale, Scanning, Frequency, LeadLength);
    static const TLeadData empty;
    const int32_t n = std::min<int32_t>(VisibleCount, kMaxDrawnLeads);
    LayoutLeadBaselines(Leads ? *Leads : empty, Visible.data(), n, FScales.ShownSamples, FAx);
    SpreadSpareHeight(FAx, n, controlHeight, FScales.PixelsPerUnit);
    return FScales;
}

TScrollSizing TECGDrawing::ScrollSizing(int32_t controlHeight, int32_t position) const {
    if (FAx.empty()) {
        return {};
    }
    return SizeVerticalScroll(FAx.back(), FScales.PixelsPerUnit, controlHeight, position);
}

void TECGDrawing::RebuildGrid(int32_t controlWidth, int32_t controlHeight) {
    const TECGScales s = ComputeECGScales(controlWidth, Scale, Scanning, Frequency, LeadLength);
    DrawGrid(*FGrid, controlWidth, controlHeight, s.PixelsPerMm);
}

void TECGDrawing::Paint(raster::TBitmap32 &bitmap, int32_t scrollPos) {
    FPixelPerCentimetr = Rnd(FScales.PixelsPerCm);
    bitmap.Draw(kLeadCaptionsBarWidth, 0, FGrid.get());
    PaintCaptionBars(bitmap);
    RebuildGrid(FControlWidth, FControlHeight);
    PaintLeads(bitmap, scrollPos);
}

void TECGDrawing::PaintCaptionBars(raster::TBitmap32 &bitmap) const {
    const int32_t w = bitmap.GetWidth();
    const int32_t h = bitmap.GetHeight();
    const raster::TRect right{w - kLeadCaptionsBarWidth, 0, w, h};
    const raster::TRect left{0, 0, kLeadCaptionsBarWidth, h};
    bitmap.FillRectS(right, kEcgBackColor);
    bitmap.FrameRectTS(right, SilverAlpha(128));
    bitmap.FillRectS(left, kEcgBackColor);
    bitmap.FrameRectTS(left, SilverAlpha(128));
}

void TECGDrawing::PaintLeads(raster::TBitmap32 &bitmap, int32_t scrollPos) {
    const double u = FScales.PixelsPerUnit;
    const int32_t s = FScales.ShownSamples;
    const int32_t n = std::min<int32_t>(VisibleCount, kMaxDrawnLeads);
    if (u <= 0 || s <= 0) {
        return;
    }
    gfx::TFont &font = bitmap.GetFont();
    font.SetName(u"Tahoma");
    font.SetSize(8);
    font.SetColor(gfx::clWhite);
    const int32_t hA = bitmap.TextHeight(u"A");
    // A record of fewer than 3 samples captions both ends at its first sample.
    const int32_t first = std::min(1, s - 1);
    const int32_t last = std::max(s - 2, 0);
    for (int32_t i = 0; i < n; ++i) {
        const double base = Rnd(FAx[size_t(i)] * u);
        const rtl::UnicodeString t = LeadCaptions[size_t(i)];
        const int32_t tw = bitmap.TextWidth(t);
        bitmap.Textout((kLeadCaptionsBarWidth - tw) / 2,
                       Rnd(base - Sample(i, first) * u - scrollPos) - hA / 2, t);
        bitmap.Textout(bitmap.GetWidth() - kLeadCaptionsBarWidth + (kLeadCaptionsBarWidth - tw) / 2,
                       Rnd(base - Sample(i, last) * u - scrollPos - hA / 2), t);
    }
    bitmap.SetPenColor(kEcgTraceColor);
    for (int32_t i = 0; i < n; ++i) {
        const double base = Rnd(FAx[size_t(i)] * u);
        bitmap.MoveTo(kLeadCaptionsBarWidth, Rnd(base - Sample(i, 0) * u) - scrollPos);
        for (int32_t j = 1; j <= s - 2; ++j) {
            bitmap.LineToS(Rnd(kLeadCaptionsBarWidth + j * FScales.PixelsPerSample),
                           Rnd(base - Sample(i, j) * u) - scrollPos);
        }
    }
}

} // namespace workbench
