// The ECG picture: scales, baseline layout, spare-height spread, gauge sizing, grid, captions
// and traces, and the picture of the real recording against its golden image.
#include "app/UECGDrawing.h"

#include "EcgPictureSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace workbench;

namespace {

std::vector<int16_t> Constant(int32_t n, int16_t v) {
    return std::vector<int16_t>(size_t(n), v);
}

std::vector<int16_t> WithSpike(int32_t n, int32_t at, int16_t v) {
    auto lead = Constant(n, 0);
    lead[size_t(at)] = v;
    return lead;
}

const uint8_t kInOrder[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

} // namespace

TEST(ECGScales, FollowTheControlWidthAmplitudeAndSpeed) {
    struct Case {
        int32_t width;
        TScale scale;
        TScanning scanning;
        int32_t frequency, leadLength;
        double ppcm, u, k;
        int32_t shown;
    } cases[] = {
        {1019, hs25, vs1, 250, 2500, 39.16, 0.3916, 0.3916, 2500},
        {1019, hs25, vs2, 250, 2500, 39.16, 0.1958, 0.3916, 2500},
        {1019, hs25, vs05, 250, 2500, 39.16, 0.7832, 0.3916, 2500},
        {1019, hs50, vs1, 250, 2500, 39.16, 0.3916, 0.7832, 1250},
        {1019, hs6_25, vs1, 250, 2500, 39.16, 0.3916, 0.0979, 2500}, // capped at the length
        {1019, hs25, vs1, 250, 1000, 39.16, 0.3916, 0.3916, 1000},   // a short record
        {1920, hs25, vs1, 500, 5000, 75.2, 0.752, 0.376, 5000},
        {1004, hs25, vs4, 250, 2500, 38.56, 0.0964, 0.3856, 2500},
    };
    for (const Case &c : cases) {
        const TECGScales s =
            ComputeECGScales(c.width, c.scale, c.scanning, c.frequency, c.leadLength);
        EXPECT_NEAR(s.PixelsPerCm, c.ppcm, 1e-9) << c.width;
        EXPECT_NEAR(s.PixelsPerMm, c.ppcm / 10, 1e-9) << c.width;
        EXPECT_NEAR(s.PixelsPerUnit, c.u, 1e-9) << c.width << " " << int(c.scanning);
        EXPECT_NEAR(s.PixelsPerSample, c.k, 1e-9) << c.width << " " << int(c.scale);
        EXPECT_EQ(s.ShownSamples, c.shown) << c.width << " " << int(c.scale);
    }
}

TEST(ECGScales, AControlNoWiderThanTheCaptionBarsHasNoPaper) {
    for (int32_t width : {0, 1, 39, 40}) {
        const TECGScales s = ComputeECGScales(width, hs25, vs1, 250, 2500);
        EXPECT_EQ(s.PixelsPerCm, 0) << width;
        EXPECT_EQ(s.PixelsPerUnit, 0) << width;
        EXPECT_EQ(s.PixelsPerSample, 0) << width;
    }
}

TEST(LeadBaselines, KeepNeighboursApartWithinEveryWindowOfTwentySamples) {
    struct Case {
        const char *what;
        TLeadData leads;
        std::vector<int32_t> ax;
    } cases[] = {
        {"flat leads stack 25 units apart", {Constant(100, 0), Constant(100, 0)}, {25, 50, 50}},
        {"the first baseline clears the first lead's peak",
         {WithSpike(100, 7, 40), Constant(100, 0)},
         {65, 90, 90}},
        {"an all-zero lead sits 25 units below the lowest point above it",
         {WithSpike(100, 30, -30), Constant(100, 0)},
         {25, 80, 80}},
        {"extremes in different windows do not add up",
         {WithSpike(100, 5, -100), WithSpike(100, 50, 100)},
         {25, 150, 250}},
        {"a window's end position belongs to both windows",
         {WithSpike(100, 20, -100), WithSpike(100, 21, 100)},
         {25, 250, 350}},
        {"positions just either side of a window end are in different windows",
         {WithSpike(100, 19, -100), WithSpike(100, 21, 100)},
         {25, 150, 250}},
        {"the last position closes the last window",
         {WithSpike(95, 94, -100), WithSpike(95, 94, 100)},
         {25, 250, 350}},
        {"the total adds the last lead's range",
         {Constant(50, 0), WithSpike(50, 3, -60)},
         {25, 50, 110}},
    };
    for (const Case &c : cases) {
        std::vector<int32_t> ax;
        const int32_t shown = int32_t(c.leads[0].size());
        const int32_t total =
            LayoutLeadBaselines(c.leads, kInOrder, int32_t(c.leads.size()), shown, ax);
        EXPECT_EQ(ax, c.ax) << c.what;
        EXPECT_EQ(total, c.ax.back()) << c.what;
    }
}

TEST(LeadBaselines, FollowTheDrawnLeadOrderAndOnlyTheShownSamples) {
    const TLeadData leads{Constant(100, 0), WithSpike(100, 90, 500)};
    std::vector<int32_t> ax;
    const uint8_t swapped[] = {1, 0};
    LayoutLeadBaselines(leads, swapped, 2, 100, ax);
    EXPECT_EQ(ax, (std::vector<int32_t>{525, 550, 550}));
    LayoutLeadBaselines(leads, swapped, 2, 80, ax); // the spike is beyond the shown part
    EXPECT_EQ(ax, (std::vector<int32_t>{25, 50, 50}));
}

// Mended: the baselines were 16-bit and wrapped for tall recordings.
TEST(LeadBaselines, BaselinesOfFullScaleLeadsAreComputedIn32Bits) {
    std::vector<int16_t> swing(40);
    for (size_t j = 0; j < swing.size(); ++j) {
        swing[j] = j % 2 ? 32767 : -32768;
    }
    const TLeadData leads(12, swing);
    std::vector<int32_t> ax;
    const int32_t total = LayoutLeadBaselines(leads, kInOrder, 12, 40, ax);
    EXPECT_EQ(ax[0], 32767 + 25);
    EXPECT_EQ(ax[1], 32767 + 25 + 65535 + 25);
    EXPECT_EQ(ax[11], 32767 + 25 + 11 * (65535 + 25));
    EXPECT_EQ(total, ax[11] + 65535);
    EXPECT_GT(total, std::numeric_limits<int16_t>::max());
}

TEST(LeadBaselines, NoLeadsOrNoSamplesGiveAnEmptyLayout) {
    std::vector<int32_t> ax;
    EXPECT_EQ(LayoutLeadBaselines({}, kInOrder, 0, 2500, ax), 0);
    EXPECT_EQ(ax, std::vector<int32_t>{0});
    const TLeadData empty(2);
    EXPECT_EQ(LayoutLeadBaselines(empty, kInOrder, 2, 0, ax), 50);
    EXPECT_EQ(ax, (std::vector<int32_t>{25, 50, 50}));
}

TEST(SpareHeight, IsSpreadEvenlyBetweenTheLeadsWhenTheyFit) {
    const double u = 0.3916;
    struct Case {
        std::vector<int32_t> ax;
        int32_t height;
        bool fits;
        std::vector<int32_t> expected;
    } cases[] = {
        // needed round(0.3916 x 1000) = 392 px; d = floor((563 - 392) / 2) = 85 px per lead.
        {{400, 600, 1000}, 563, true, {400, 600 + 217, 1438}},
        // three leads: d = floor(171 / 3) = 57 px; lead i moves by round(57 i / u).
        {{300, 600, 900, 1000}, 563, true, {300, 600 + 146, 900 + 291, 1438}},
        // exactly the needed height: nothing to spread, the total is the control's height.
        {{400, 600, 1000}, 392, true, {400, 600, 1001}},
        // one pixel short: the baselines stay and the gauge bar scrolls the rest.
        {{400, 600, 1000}, 391, false, {400, 600, 1000}},
    };
    for (const Case &c : cases) {
        std::vector<int32_t> ax = c.ax;
        const int32_t n = int32_t(ax.size()) - 1;
        EXPECT_EQ(SpreadSpareHeight(ax, n, c.height, u), c.fits) << c.height;
        EXPECT_EQ(ax, c.expected) << c.height;
    }
}

TEST(SpareHeight, HalfTheAmplitudeNeedsHalfTheHeight) {
    const TLeadData leads{WithSpike(2500, 100, 300), WithSpike(2500, 900, -400),
                          WithSpike(2500, 1700, 250)};
    TECGDrawing at1, at2;
    for (TECGDrawing *d : {&at1, &at2}) {
        d->Leads = &leads;
        d->VisibleCount = 3;
        d->LeadLength = 2500;
    }
    at2.Scanning = vs2;
    at1.Layout(1019, 100); // too low: no spread, the layouts are comparable
    at2.Layout(1019, 100);
    const double u1 = 0.3916, u2 = u1 / 2;
    EXPECT_EQ(at1.Baselines(), at2.Baselines());
    EXPECT_EQ(raster::Round(u2 * at2.Baselines().back()),
              raster::Round(u1 * at1.Baselines().back() / 2));
}

TEST(GaugeSizing, ShowsTheOverflowWithAProportionalHandle) {
    struct Case {
        int32_t totalUnits;
        double u;
        int32_t height, position;
        TScrollSizing expected;
    } cases[] = {
        {1788, 0.3916, 563, 0, {true, 137, 0, 453}},     // round(700.2) - 563 = 137
        {1788, 0.3916, 563, 500, {true, 137, 137, 453}}, // the position is lowered to fit
        {1788, 0.3916, 563, 40, {true, 137, 40, 453}},
        {1438, 0.3916, 563, 70, {false, 0, 0, 0}}, // fits exactly
        {1000, 0.3916, 563, 0, {false, 0, 0, 0}},
    };
    for (const Case &c : cases) {
        const TScrollSizing s = SizeVerticalScroll(c.totalUnits, c.u, c.height, c.position);
        EXPECT_EQ(s.Visible, c.expected.Visible) << c.totalUnits;
        EXPECT_EQ(s.Max, c.expected.Max) << c.totalUnits;
        EXPECT_EQ(s.Position, c.expected.Position) << c.totalUnits << " " << c.position;
        EXPECT_EQ(s.HandleSize, c.expected.HandleSize) << c.totalUnits;
    }
}

TEST(Grid, HasStrongerLinesEveryFiveAndTenMillimetres) {
    raster::TBitmap32 grid;
    DrawGrid(grid, 200, 120, 4.0); // 4 pixels per millimetre
    ASSERT_EQ(grid.GetWidth(), 200);
    ASSERT_EQ(grid.GetHeight(), 120);
    const raster::TColor32 between = grid.GetPixel(2, 2);
    EXPECT_EQ(between & 0xFFFFFFu, kEcgBackColor & 0xFFFFFFu);
    // Vertical lines at x = 4k, read halfway between two horizontal lines.
    const uint32_t mm = ecgtest::Brightness(grid.GetPixel(4, 2));
    const uint32_t five = ecgtest::Brightness(grid.GetPixel(20, 2));
    const uint32_t cm = ecgtest::Brightness(grid.GetPixel(40, 2));
    EXPECT_LT(ecgtest::Brightness(between), mm);
    EXPECT_LT(mm, five);
    EXPECT_LT(five, cm);
    EXPECT_EQ(grid.GetPixel(0, 2), grid.GetPixel(40, 2));  // k = 0 is a centimetre line
    EXPECT_EQ(grid.GetPixel(2, 40), grid.GetPixel(40, 2)); // horizontal lines alike
    EXPECT_EQ(grid.GetPixel(2, 4), grid.GetPixel(4, 2));
}

namespace {

// Silver (192, 192, 192) at opacity alpha of 255 over the dark blue (0, 51, 102), each channel
// within 2 of the exact blend (antialiasing coverage and the raster library's blend round down).
void ExpectSilverOverBackground(raster::TColor32 c, uint32_t alpha, const char *where) {
    const uint32_t back[3] = {0, 51, 102};
    const uint32_t got[3] = {raster::RedComponent(c), raster::GreenComponent(c),
                             raster::BlueComponent(c)};
    for (int i = 0; i < 3; ++i) {
        const double expected = back[i] + (192.0 - back[i]) * alpha / 255.0;
        EXPECT_NEAR(double(got[i]), expected, 2.0) << where << " channel " << i;
    }
}

} // namespace

TEST(Grid, LinesAreSilverAtOpacity20Or60Or100OnDarkBlue) {
    raster::TBitmap32 grid;
    DrawGrid(grid, 200, 120, 4.0); // 4 pixels per millimetre: lines on whole pixels
    EXPECT_EQ(grid.GetPixel(2, 2) & 0xFFFFFFu, raster::Color32(0, 51, 102) & 0xFFFFFFu);
    ExpectSilverOverBackground(grid.GetPixel(4, 2), 20, "1 mm vertical");
    ExpectSilverOverBackground(grid.GetPixel(20, 2), 60, "5 mm vertical");
    ExpectSilverOverBackground(grid.GetPixel(40, 2), 100, "10 mm vertical");
    ExpectSilverOverBackground(grid.GetPixel(0, 2), 100, "0 mm vertical");
    ExpectSilverOverBackground(grid.GetPixel(2, 4), 20, "1 mm horizontal");
    ExpectSilverOverBackground(grid.GetPixel(2, 20), 60, "5 mm horizontal");
    ExpectSilverOverBackground(grid.GetPixel(2, 80), 100, "20 mm horizontal");
}

// Mended: a control narrower than the two caption bars made the millimetre step 0 or negative
// and the grid loops never ended.
TEST(Grid, ImageControlTooNarrowForTheGridDrawsNoLinesAndEnds) {
    raster::TBitmap32 grid;
    for (double ppmm : {0.0, -0.4}) {
        DrawGrid(grid, 30, 50, ppmm);
        EXPECT_EQ(grid.GetPixel(0, 0) & 0xFFFFFFu, kEcgBackColor & 0xFFFFFFu);
        EXPECT_EQ(grid.GetPixel(29, 49) & 0xFFFFFFu, kEcgBackColor & 0xFFFFFFu);
    }
    const TLeadData leads(12, Constant(2500, 100));
    TECGDrawing d;
    d.Leads = &leads;
    d.VisibleCount = 12;
    d.LeadLength = 2500;
    for (int32_t width : {1, 20, 40}) {
        raster::TBitmap32 bitmap;
        bitmap.SetSize(width, 300);
        d.RebuildGrid(width, 300);
        d.Layout(width, 300);
        EXPECT_FALSE(d.ScrollSizing(300, 0).Visible) << width;
        d.Paint(bitmap, 0);
        EXPECT_EQ(ecgtest::CountColor(bitmap, kEcgTraceColor), 0) << width;
    }
}

TEST(Traces, DrawSamplesZeroToSMinusTwoAtTwentyFiveMillimetresPerSecond) {
    // 250 samples per second at 25 mm/s: 2500 samples, the last drawn is number 2498, whose
    // point is 24.98 cm from the left bar: x = round(20 + 2498 x 0.3916) = 998.
    const TLeadData leads{Constant(3000, 0)};
    TECGDrawing d;
    d.Leads = &leads;
    d.VisibleCount = 1;
    d.LeadLength = 3000;
    raster::TBitmap32 bitmap;
    bitmap.SetSize(1019, 100);
    d.RebuildGrid(1019, 100);
    d.Layout(1019, 100);
    d.Paint(bitmap, 0);
    const int32_t y = raster::Round(d.Baselines()[0] * 0.3916); // baseline of a flat lead
    EXPECT_EQ(bitmap.GetPixel(20, y), kEcgTraceColor);          // on the first grid line
    EXPECT_EQ(bitmap.GetPixel(500, y) & 0xFFFFFFu, raster::Color32(255, 255, 128) & 0xFFFFFFu);
    EXPECT_EQ(bitmap.GetPixel(997, y), kEcgTraceColor);
    EXPECT_NE(bitmap.GetPixel(999, y), kEcgTraceColor);
    EXPECT_NE(bitmap.GetPixel(19, y), kEcgTraceColor);
    EXPECT_EQ(ecgtest::CountColor(bitmap, kEcgTraceColor), 978); // x = 20 .. 997, one row
}

TEST(Traces, AShortRecordDrawsEverySampleButTheLastAndPositiveSamplesGoUp) {
    // 5 samples: points 0 .. 3 are joined; sample 4 is not drawn.
    const TLeadData leads{{0, 100, 100, 100, -900}};
    TECGDrawing d;
    d.Leads = &leads;
    d.VisibleCount = 1;
    d.LeadLength = 5;
    d.Scale = hs100; // k = 39.16 x 100 / 2500 = 1.5664 pixels per sample
    raster::TBitmap32 bitmap;
    bitmap.SetSize(1019, 300);
    d.RebuildGrid(1019, 300);
    d.Layout(1019, 300);
    d.Paint(bitmap, 0);
    const int32_t base = raster::Round(d.Baselines()[0] * 0.3916);
    const int32_t up = raster::Round(base - 100 * 0.3916);
    EXPECT_LT(up, base);
    EXPECT_EQ(bitmap.GetPixel(raster::Round(20 + 2 * 1.5664), up), kEcgTraceColor);
    int32_t below = 0; // sample 4 (-9 mV) would go far below the baseline
    for (int32_t y = base + 5; y < 300; ++y) {
        for (int32_t x = 20; x < 40; ++x) {
            below += bitmap.GetPixel(x, y) == kEcgTraceColor ? 1 : 0;
        }
    }
    EXPECT_EQ(below, 0);
}

// Mended: a record of fewer than 3 samples read before the start of its leads for the right
// caption and the last trace point.
TEST(Traces, RecordOfFewerThanThreeSamplesIsDrawnWithoutReadingOutsideItsLeads) {
    for (int32_t n : {0, 1, 2}) {
        const TLeadData leads(12, Constant(n, 50));
        TECGDrawing d;
        d.Leads = &leads;
        d.VisibleCount = 12;
        d.LeadLength = n;
        raster::TBitmap32 bitmap;
        bitmap.SetSize(600, 400);
        d.RebuildGrid(600, 400);
        d.Layout(600, 400);
        d.Paint(bitmap, 0);
        EXPECT_EQ(ecgtest::CountColor(bitmap, kEcgTraceColor), 0) << n;
        EXPECT_EQ(d.Baselines().size(), 13u) << n;
    }
}

TEST(Captions, SitWhereTheirTraceBeginsAndEnds) {
    // A lead rising from -2 mV to +2 mV: its left caption is centred on the trace's start
    // height, its right caption on the height of sample s - 2.
    std::vector<int16_t> ramp(2500);
    for (size_t j = 0; j < ramp.size(); ++j) {
        ramp[j] = int16_t(-200 + int32_t(j) * 400 / 2499);
    }
    const TLeadData leads{ramp};
    TECGDrawing d;
    d.Leads = &leads;
    d.VisibleCount = 1;
    d.LeadLength = 2500;
    raster::TBitmap32 bitmap;
    bitmap.SetSize(1019, 400);
    d.RebuildGrid(1019, 400);
    d.Layout(1019, 400);
    d.Paint(bitmap, 0);
    const double u = 0.3916;
    const double base = raster::Round(d.Baselines()[0] * u);
    gfx::TFont &font = bitmap.GetFont();
    ASSERT_EQ(font.GetName(), u"Tahoma");
    ASSERT_EQ(font.GetSize(), 8);
    const int32_t hA = bitmap.TextHeight(u"A");
    const int32_t tw = bitmap.TextWidth(u"I");
    const int32_t leftY = raster::Round(base - ramp[1] * u) - hA / 2;
    const int32_t rightY = raster::Round(base - ramp[2498] * u - hA / 2);
    const raster::TRect left = ecgtest::BoundsOfBright(bitmap, {0, 0, 20, 400});
    const raster::TRect right = ecgtest::BoundsOfBright(bitmap, {999, 0, 1019, 400});
    ASSERT_FALSE(raster::RectIsEmpty(left));
    ASSERT_FALSE(raster::RectIsEmpty(right));
    EXPECT_GE(left.Left, (20 - tw) / 2);
    EXPECT_LE(left.Right, (20 - tw) / 2 + tw + 1);
    EXPECT_GE(left.Top, leftY);
    EXPECT_LE(left.Bottom, leftY + hA);
    EXPECT_GE(right.Left, 999 + (20 - tw) / 2);
    EXPECT_GE(right.Top, rightY);
    EXPECT_LE(right.Bottom, rightY + hA);
    EXPECT_GT(left.Top, right.Top + 100); // the trace rises by 4 mV = 157 px
}

TEST(CaptionBars, AreDarkBlueWithASilverFrameOverTheGrid) {
    const TLeadData leads{Constant(2500, 0)};
    TECGDrawing d;
    d.Leads = &leads;
    d.VisibleCount = 1;
    d.LeadLength = 2500;
    raster::TBitmap32 bitmap;
    bitmap.SetSize(300, 200);
    d.RebuildGrid(300, 200);
    d.Layout(300, 200);
    d.Paint(bitmap, 0);
    const raster::TColor32 frame = bitmap.GetPixel(0, 100);
    EXPECT_EQ(bitmap.GetPixel(19, 100), frame);
    EXPECT_EQ(bitmap.GetPixel(280, 100), frame);
    EXPECT_EQ(bitmap.GetPixel(299, 100), frame);
    EXPECT_EQ(bitmap.GetPixel(2, 0), frame);
    EXPECT_EQ(bitmap.GetPixel(10, 199), frame);
    ExpectSilverOverBackground(frame, 128, "caption bar frame");
    EXPECT_EQ(bitmap.GetPixel(5, 150) & 0xFFFFFFu, raster::Color32(0, 51, 102) & 0xFFFFFFu);
    EXPECT_EQ(bitmap.GetPixel(285, 150) & 0xFFFFFFu, raster::Color32(0, 51, 102) & 0xFFFFFFu);
}

TEST(Picture, OfTheRealRecordingMatchesItsGoldenImage) {
    const TLeadData leads = ecgtest::ReadRawLeads(WB_TEST_DATA "/ecg/REAL12_250.edf");
    ASSERT_EQ(leads.size(), 12u);
    TECGDrawing d;
    d.Leads = &leads;
    d.VisibleCount = 12;
    d.LeadLength = int32_t(leads[0].size());
    raster::TBitmap32 bitmap;
    bitmap.SetSize(1019, 563);
    d.RebuildGrid(1019, 563);
    d.Layout(1019, 563);
    d.Paint(bitmap, 0);
    ecgtest::ExpectMatchesGolden(bitmap, "ecg_picture_real12_1019x563.png");
}
