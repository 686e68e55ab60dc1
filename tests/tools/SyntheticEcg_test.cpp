// Tests of the ECG synthesis: determinism, lead relations, beat positions, rhythms, shapes, noise.
#include "tools/SyntheticEcg.h"

#include "platform/rtl/Rounding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <ostream>
#include <stdexcept>
#include <string>

namespace sampledb {
namespace {

TEcgParams Noisy() {
    TEcgParams p;
    p.Seed = 77;
    p.Rhythm = TRhythm::AtrialFibrillation;
    p.Conduction = TConduction::LeftBundleBranchBlock;
    p.Noise = {.HumMV = 0.3, .TremorMV = 0.08, .SpikeCount = 5, .SpikeMV = 2.0, .WanderMV = 0.4};
    return p;
}

std::vector<double> RrSec(const TSyntheticEcg &e) {
    std::vector<double> rr;
    for (size_t i = 1; i < e.RPeaks.size(); ++i) {
        rr.push_back(static_cast<double>(e.RPeaks[i] - e.RPeaks[i - 1]) / e.FrequencyHz);
    }
    return rr;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double CoefficientOfVariation(const std::vector<double> &v) {
    const double mean = std::accumulate(v.begin(), v.end(), 0.0) / v.size();
    double sq = 0;
    for (const double x : v) {
        sq += (x - mean) * (x - mean);
    }
    return std::sqrt(sq / v.size()) / mean;
}

// Amplitude of one frequency in a lead (single DFT bin), in steps.
double Amplitude(const std::vector<int16_t> &lead, double hz, int fs) {
    double re = 0;
    double im = 0;
    for (size_t i = 0; i < lead.size(); ++i) {
        const double a = 2 * 3.141592653589793 * hz * i / fs;
        re += lead[i] * std::cos(a);
        im += lead[i] * std::sin(a);
    }
    return 2 * std::hypot(re, im) / lead.size();
}

double MeanAbsDifference(const std::vector<int16_t> &lead) {
    double s = 0;
    for (size_t i = 1; i < lead.size(); ++i) {
        s += std::abs(lead[i] - lead[i - 1]);
    }
    return s / (lead.size() - 1);
}

int MaxAbsDifference(const std::vector<int16_t> &lead) {
    int m = 0;
    for (size_t i = 1; i < lead.size(); ++i) {
        m = std::max(m, std::abs(lead[i] - lead[i - 1]));
    }
    return m;
}

TEST(SyntheticEcg, SameParametersGiveSameSamples) {
    const TSyntheticEcg a = Synthesize(Noisy());
    const TSyntheticEcg b = Synthesize(Noisy());
    EXPECT_EQ(a.Leads, b.Leads);
    EXPECT_EQ(a.RPeaks, b.RPeaks);
    TEcgParams other = Noisy();
    other.Seed = 78;
    EXPECT_NE(Synthesize(other).Leads, a.Leads);
}

TEST(SyntheticEcg, LeadShapeFollowsFrequencyAndLength) {
    TEcgParams p;
    p.FrequencyHz = 500;
    p.LengthSec = 3;
    const TSyntheticEcg e = Synthesize(p);
    EXPECT_EQ(e.FrequencyHz, 500);
    for (const auto &lead : e.Leads) {
        EXPECT_EQ(lead.size(), 1500u);
    }
}

struct TNamedParams {
    const char *Name;
    TEcgParams Params;
};

void PrintTo(const TNamedParams &p, std::ostream *os) {
    *os << p.Name;
}

class LimbLeadRelations : public testing::TestWithParam<TNamedParams> {};

// III = II - I exactly; the Goldberger leads are the halves of integer sums rounded half to even.
TEST_P(LimbLeadRelations, HoldWithinRounding) {
    const TSyntheticEcg e = Synthesize(GetParam().Params);
    const auto &l = e.Leads;
    int halves = 0;
    for (size_t i = 0; i < l[LeadI].size(); ++i) {
        const int l1 = l[LeadI][i];
        const int l2 = l[LeadII][i];
        ASSERT_EQ(l[LeadIII][i], l2 - l1) << "sample " << i;
        ASSERT_EQ(l[LeadAVR][i], rtl::RoundSaturated<int>(-(l1 + l2) / 2.0)) << "sample " << i;
        ASSERT_EQ(l[LeadAVL][i], rtl::RoundSaturated<int>((l1 - l[LeadIII][i]) / 2.0))
            << "sample " << i;
        ASSERT_EQ(l[LeadAVF][i], rtl::RoundSaturated<int>((l2 + l[LeadIII][i]) / 2.0))
            << "sample " << i;
        halves += (l1 + l2) % 2 != 0;
    }
    EXPECT_GT(halves, 0) << "no sample exercised the half-to-even rounding";
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, LimbLeadRelations,
    testing::Values(TNamedParams{"Default", {}}, TNamedParams{"NoisyFibrillation", Noisy()},
                    TNamedParams{"PreexcitationWithHum",
                                 {.Seed = 5,
                                  .RateBpm = 50,
                                  .Conduction = TConduction::Preexcitation,
                                  .Noise = {.HumMV = 1.0}}},
                    TNamedParams{"HypertrophyWithSpikes",
                                 {.Seed = 6,
                                  .LeftVentricularHypertrophy = true,
                                  .Noise = {.SpikeCount = 20, .SpikeMV = 5.0}}}),
    [](const testing::TestParamInfo<TNamedParams> &info) { return info.param.Name; });

struct TRateCase {
    double RateBpm;
    double Variation;
};

void PrintTo(const TRateCase &c, std::ostream *os) {
    *os << c.RateBpm << " bpm, variation " << c.Variation;
}

class RegularRates : public testing::TestWithParam<TRateCase> {};

TEST_P(RegularRates, RPeaksFollowTheRate) {
    TEcgParams p;
    p.RateBpm = GetParam().RateBpm;
    p.RrVariation = GetParam().Variation;
    const TSyntheticEcg e = Synthesize(p);
    const double expectedRr = 60.0 / p.RateBpm;
    EXPECT_NEAR(Median(RrSec(e)), expectedRr, expectedRr * 0.05);
    EXPECT_NEAR(static_cast<double>(e.RPeaks.size()), p.LengthSec / expectedRr, 1.0);
    EXPECT_TRUE(std::is_sorted(e.RPeaks.begin(), e.RPeaks.end()));
    EXPECT_GE(e.RPeaks.front(), 0);
    EXPECT_LT(e.RPeaks.back(), p.LengthSec * p.FrequencyHz);
}

INSTANTIATE_TEST_SUITE_P(Rates, RegularRates,
                         testing::Values(TRateCase{40, 0.0}, TRateCase{72, 0.02},
                                         TRateCase{120, 0.02}, TRateCase{180, 0.0}));

// The R peak is where lead II (normal axis) or lead aVL (left axis) has its largest deflection.
TEST(SyntheticEcg, RPeaksSitOnTheMainDeflection) {
    struct TCase {
        TConduction Conduction;
        int Lead;
    };
    for (const TCase c : {TCase{TConduction::Normal, LeadII},
                          TCase{TConduction::LeftAnteriorFascicularBlock, LeadAVL},
                          TCase{TConduction::RightBundleBranchBlock, LeadII}}) {
        const TSyntheticEcg e = Synthesize({.Conduction = c.Conduction});
        const auto &lead = e.Leads[c.Lead];
        for (const int r : e.RPeaks) {
            const int from = std::max(0, r - 12);
            const int to = std::min(static_cast<int>(lead.size()) - 1, r + 12);
            const auto peak = std::max_element(lead.begin() + from, lead.begin() + to + 1);
            EXPECT_NEAR(peak - lead.begin(), r, 2)
                << "conduction " << static_cast<int>(c.Conduction);
        }
    }
}

TEST(SyntheticEcg, FibrillationIsIrregularAndSinusIsNot) {
    const TSyntheticEcg af = Synthesize({.Seed = 3, .Rhythm = TRhythm::AtrialFibrillation});
    const TSyntheticEcg sinus = Synthesize({.Seed = 3});
    EXPECT_GT(CoefficientOfVariation(RrSec(af)), 0.12);
    EXPECT_LT(CoefficientOfVariation(RrSec(sinus)), 0.05);
}

TEST(SyntheticEcg, PauseLeavesAGapOfItsDuration) {
    for (const TRhythm rhythm : {TRhythm::Sinus, TRhythm::AtrialFibrillation}) {
        const TSyntheticEcg e =
            Synthesize({.Rhythm = rhythm,
                        .Events = {{.Kind = TEventKind::Pause, .AtSec = 4, .DurationSec = 2.5}}});
        const auto rr = RrSec(e);
        EXPECT_NEAR(*std::max_element(rr.begin(), rr.end()), 2.5, 0.1);
    }
}

TEST(SyntheticEcg, WenckebachDropsEveryFourthBeat) {
    const TSyntheticEcg e = Synthesize({.RateBpm = 90, .RrVariation = 0, .WenckebachCycle = 4});
    const auto rr = RrSec(e);
    const long long long_gaps =
        std::count_if(rr.begin(), rr.end(), [](double x) { return x > 1.5 * 60.0 / 90; });
    // 15 atrial cycles in 10 s: three or four of them end in a blocked P.
    EXPECT_GE(long_gaps, 3);
    EXPECT_LE(long_gaps, 4);
    EXPECT_NEAR(static_cast<double>(e.RPeaks.size()), 15 * 3.0 / 4, 1.5);
}

TEST(SyntheticEcg, CompleteBlockFollowsTheVentricularRate) {
    const TSyntheticEcg e =
        Synthesize({.Rhythm = TRhythm::CompleteAVBlock, .RateBpm = 36, .AtrialRateBpm = 80});
    EXPECT_NEAR(Median(RrSec(e)), 60.0 / 36, 0.05);
}

TEST(SyntheticEcg, PrematureBeatsShortenOneInterval) {
    for (const TEventKind kind :
         {TEventKind::SupraventricularPremature, TEventKind::VentricularPremature}) {
        const TSyntheticEcg e =
            Synthesize({.RateBpm = 60, .RrVariation = 0, .Events = {{.Kind = kind, .AtSec = 5}}});
        const auto rr = RrSec(e);
        EXPECT_LT(*std::min_element(rr.begin(), rr.end()), 0.7);
        EXPECT_EQ(std::count_if(rr.begin(), rr.end(), [](double x) { return x < 0.8; }), 1);
    }
}

TEST(SyntheticEcg, RunsAddFastBeats) {
    const TSyntheticEcg e = Synthesize(
        {.RateBpm = 60,
         .Events = {{.Kind = TEventKind::VentricularRun, .AtSec = 3, .Count = 6, .RateBpm = 150}}});
    const auto rr = RrSec(e);
    EXPECT_EQ(
        std::count_if(rr.begin(), rr.end(), [](double x) { return std::abs(x - 0.4) < 0.01; }), 5);
}

// Samples around the R peaks where any chest lead deviates by over a fifth of its peak.
double MeanQrsWidthMs(const TSyntheticEcg &e) {
    const int half = e.FrequencyHz / 8;
    double total = 0;
    int beats = 0;
    for (const int r : e.RPeaks) {
        if (r < half + 20 || r + half >= static_cast<int>(e.Leads[0].size())) {
            continue;
        }
        int first = r;
        int last = r;
        for (int lead = LeadV1; lead <= LeadV6; ++lead) {
            const auto &x = e.Leads[lead];
            const int base = x[r - half - 20];
            int peak = 0;
            for (int i = r - half; i <= r + half; ++i) {
                peak = std::max(peak, std::abs(x[i] - base));
            }
            for (int i = r - half; i <= r + half; ++i) {
                if (std::abs(x[i] - base) * 5 > peak) {
                    first = std::min(first, i);
                    last = std::max(last, i);
                }
            }
        }
        total += (last - first) * 1000.0 / e.FrequencyHz;
        ++beats;
    }
    return total / beats;
}

TEST(SyntheticEcg, BundleBranchBlocksWidenTheQrs) {
    const double normal = MeanQrsWidthMs(Synthesize({}));
    for (const TConduction c :
         {TConduction::RightBundleBranchBlock, TConduction::LeftBundleBranchBlock}) {
        EXPECT_GT(MeanQrsWidthMs(Synthesize({.Conduction = c})), normal + 30)
            << "conduction " << static_cast<int>(c);
    }
}

TEST(SyntheticEcg, LongQtMovesTheTWaveLater) {
    // The T peak of lead II is the largest value between 150 and 550 ms after the R peak.
    auto tPeakMs = [](double qtc) {
        const TSyntheticEcg e = Synthesize({.RateBpm = 60, .RrVariation = 0, .QtcMs = qtc});
        const auto &x = e.Leads[LeadII];
        const int r = e.RPeaks[2];
        const auto from = x.begin() + r + e.FrequencyHz * 15 / 100;
        const auto to = x.begin() + r + e.FrequencyHz * 55 / 100;
        return (std::max_element(from, to) - x.begin() - r) * 1000.0 / e.FrequencyHz;
    };
    EXPECT_NEAR(tPeakMs(500) - tPeakMs(400), 100, 8);
}

TEST(SyntheticEcg, NoiseShowsWhereAsked) {
    const TSyntheticEcg clean = Synthesize({});
    const TSyntheticEcg hum = Synthesize({.Noise = {.HumMV = 0.3}});
    const TSyntheticEcg hum60 = Synthesize({.Noise = {.HumMV = 0.3, .HumHz = 60}});
    const TSyntheticEcg tremor = Synthesize({.Noise = {.TremorMV = 0.05}});
    const TSyntheticEcg spikes = Synthesize({.Noise = {.SpikeCount = 4, .SpikeMV = 3.0}});
    EXPECT_LT(Amplitude(clean.Leads[LeadI], 50, 250), 1.0);
    EXPECT_GT(Amplitude(hum.Leads[LeadI], 50, 250), 10.0);
    EXPECT_GT(Amplitude(hum60.Leads[LeadI], 60, 250), 10.0);
    EXPECT_LT(Amplitude(hum60.Leads[LeadI], 50, 250), 2.0);
    EXPECT_GT(MeanAbsDifference(tremor.Leads[LeadII]), 2 * MeanAbsDifference(clean.Leads[LeadII]));
    int spikeLeads = 0;
    for (int lead = 0; lead < kLeadCount; ++lead) {
        spikeLeads += MaxAbsDifference(spikes.Leads[lead]) > 150;
        EXPECT_LT(MaxAbsDifference(clean.Leads[lead]), 150) << "lead " << lead;
    }
    EXPECT_GT(spikeLeads, 0);
}

TEST(SyntheticEcg, ValuesBeyondSixteenBitsSaturate) {
    const TSyntheticEcg e = Synthesize({.AmplitudeScale = 1000});
    const auto [lo, hi] = std::minmax_element(e.Leads[LeadV4].begin(), e.Leads[LeadV4].end());
    EXPECT_EQ(*hi, 32767);
    EXPECT_EQ(*lo, -32768);
}

TEST(SyntheticEcg, RejectsParametersThatAreNotPositive) {
    EXPECT_THROW(Synthesize({.FrequencyHz = 0}), std::invalid_argument);
    EXPECT_THROW(Synthesize({.LengthSec = -1}), std::invalid_argument);
    EXPECT_THROW(Synthesize({.RateBpm = 0}), std::invalid_argument);
    EXPECT_THROW(Synthesize({.AtrialRateBpm = 1e12}), std::invalid_argument);
    EXPECT_THROW(Synthesize({.Rhythm = TRhythm::AtrialFlutter, .ConductionRatio = 0}),
                 std::invalid_argument);
    EXPECT_THROW(Synthesize({.Events = {{.Kind = TEventKind::VentricularRun, .Count = 3}}}),
                 std::invalid_argument);
    EXPECT_THROW(Synthesize({.Events = {{.Kind = TEventKind::Pause}}}), std::invalid_argument);
}

// Far-out settings must neither hang nor touch memory outside the leads.
TEST(SyntheticEcg, ExtremeSettingsStayInsideTheRecording) {
    const TSyntheticEcg wild = Synthesize({.RrVariation = 50, .PrMs = 1e12});
    EXPECT_TRUE(wild.RPeaks.empty());
    const TSyntheticEcg late =
        Synthesize({.Events = {{.Kind = TEventKind::Pause, .AtSec = 2, .DurationSec = 1e9}}});
    for (const int r : late.RPeaks) {
        EXPECT_LT(r, 2.5 * 250);
    }
    const TSyntheticEcg endless = Synthesize(
        {.Events = {
             {.Kind = TEventKind::VentricularRun, .AtSec = 1, .Count = 1 << 30, .RateBpm = 200}}});
    EXPECT_LT(endless.RPeaks.size(), 40u);
}

} // namespace
} // namespace sampledb
