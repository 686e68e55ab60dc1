// Tests of the signal conditioner: QRS detection on a real and on synthetic ECGs, removal of
// mains hum, tremor and spikes, the per-lead filters, lead layouts and record lengths.
#include "ecg/UFilterer.h"

#include "ecg/UEDFImportHelper.h"
#include "ecg/UFilterer_p.h"
#include "platform/rtl/Rounding.h"
#include "tools/EdfWriter.h"
#include "tools/SyntheticEcg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <numbers>
#include <numeric>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace ecg {
namespace {

using rtl::Integer;
using rtl::RoundSaturated;
using rtl::SmallInt;
using Lead = std::vector<SmallInt>;

// A record of the given leads at 250 samples per second, typed and laid out as the EDF reader
// would (type 15 for six leads in one group, 0 otherwise).
std::unique_ptr<TM12ECGObj> MakeRecord(const std::vector<Lead> &leads, std::uint8_t strok,
                                       std::uint8_t type = 0) {
    auto record = std::make_unique<TM12ECGObj>();
    record->SetECGType(type);
    const auto seconds = static_cast<std::uint16_t>(leads.front().size() / 250);
    record->SetECGSize(static_cast<std::uint8_t>(leads.size()), seconds, 250);
    record->SetStrok(strok);
    for (std::uint8_t channel = 1; channel <= leads.size(); ++channel) {
        record->SetLeads(channel, channel);
    }
    EXPECT_TRUE(record->AssignECG(TUnPackedECG(leads.begin(), leads.end())));
    return record;
}

std::unique_ptr<TM12ECGObj> MakeRecord(const sampledb::TSyntheticEcg &ecg) {
    return MakeRecord(std::vector<Lead>(ecg.Leads.begin(), ecg.Leads.end()), 12);
}

std::unique_ptr<TFilterer> Condition(TM12ECGObj &record, rtl::Integer type = 0,
                                     rtl::Integer iwr = 0, bool pacemaker = false) {
    auto filterer = std::make_unique<TFilterer>();
    filterer->setEGCType(type, iwr, pacemaker);
    filterer->setSource(record);
    filterer->filterData();
    return filterer;
}

// Cycle positions of the (last) column as sample numbers from 0.
std::vector<int> CyclePositions(const TFilterer &f) {
    std::vector<int> result;
    for (int j = 1; j <= f.GetCikl(f.GetStolb()); ++j) {
        result.push_back(f.GetCycle(j) - 1);
    }
    return result;
}

// The clone's view of a lead: rebased to start at 0 (the conditioner works on a clone).
Lead Rebased(const Lead &lead) {
    Lead result(lead.size());
    std::transform(lead.begin(), lead.end(), result.begin(),
                   [&](SmallInt v) { return static_cast<SmallInt>(v - lead.front()); });
    return result;
}

// Every true beat inside [from, to) is matched by a cycle within the tolerance, and every cycle
// by a true beat; returns the offsets (cycle - beat) of the matched beats.
std::vector<int> MatchBeats(const std::vector<int> &cycles, const std::vector<int> &beats, int from,
                            int to, int tolerance) {
    std::vector<int> offsets;
    for (int beat : beats) {
        if (beat < from || beat >= to) {
            continue;
        }
        auto near = std::min_element(cycles.begin(), cycles.end(), [&](int a, int b) {
            return std::abs(a - beat) < std::abs(b - beat);
        });
        EXPECT_TRUE(near != cycles.end() && std::abs(*near - beat) <= tolerance)
            << "beat at " << beat << " not found";
        if (near != cycles.end()) {
            offsets.push_back(*near - beat);
        }
    }
    for (int cycle : cycles) {
        const bool matched = std::any_of(beats.begin(), beats.end(), [&](int beat) {
            return std::abs(cycle - beat) <= tolerance;
        });
        EXPECT_TRUE(matched) << "cycle at " << cycle << " matches no beat";
    }
    return offsets;
}

// ---- The real recording ----

TEST(FiltererRealEcg, FindsTheTenComplexesNearTheDevicesMarks) {
    TEDFImportHelper reader;
    reader.readEDF(rtl::UnicodeString(u"" WB_TEST_DATA) + u"/ecg/REAL12_250.edf");
    auto record = reader.getM12ECG();
    ASSERT_NE(record, nullptr);
    std::vector<int> beats;
    std::ifstream beatFile(std::string(WB_TEST_DATA) + "/ecg/beats.txt");
    for (int beat = 0; beatFile >> beat;) {
        beats.push_back(beat);
    }
    ASSERT_EQ(beats.size(), 10u);

    auto f = Condition(*record);
    EXPECT_EQ(f->GetPatol(), 0);
    const std::vector<int> cycles = CyclePositions(*f);
    ASSERT_EQ(cycles.size(), 10u);
    std::string shown;
    for (size_t j = 0; j < cycles.size(); ++j) {
        EXPECT_LE(std::abs(cycles[j] - beats[j]), 37) << "complex " << j + 1;
        shown += std::to_string(cycles[j] - beats[j]) + " ";
    }
    // The R peak of lead II (the lead the device marks) in each cycle.
    std::string leadII;
    for (int k = 1; k <= f->GetCin(2); ++k) {
        const int j = f->GetPci(2, k);
        ASSERT_GE(j, 1);
        EXPECT_LE(std::abs(f->GetR(2, k) - 1 - beats[j - 1]), 37);
        leadII += std::to_string(f->GetR(2, k) - 1 - beats[j - 1]) + " ";
    }
    RecordProperty("CycleOffsets", shown);
    RecordProperty("LeadIIOffsets", leadII);
    std::cout << "cycle offsets: " << shown << "\nlead II R offsets: " << leadII << "\n";
}

// ---- Synthetic recordings with known beats ----

struct TRhythmCase {
    const char *Name;
    sampledb::TEcgParams Params;
};

std::vector<TRhythmCase> RhythmCases() {
    std::vector<TRhythmCase> cases;
    sampledb::TEcgParams p;
    cases.push_back({"Regular", p});
    p.RateBpm = 150;
    cases.push_back({"Fast", p});
    p.RateBpm = 40;
    cases.push_back({"Slow", p});
    p = {};
    p.Rhythm = sampledb::TRhythm::AtrialFibrillation;
    p.RateBpm = 95;
    cases.push_back({"Irregular", p});
    p = {};
    p.Conduction = sampledb::TConduction::LeftBundleBranchBlock;
    cases.push_back({"WideLeftBundle", p});
    p = {};
    p.Conduction = sampledb::TConduction::RightBundleBranchBlock;
    p.RateBpm = 85;
    cases.push_back({"WideRightBundle", p});
    return cases;
}

enum class TNoiseKind { Clean, Hum, Tremor, Spikes, All };

sampledb::TNoise NoiseOf(TNoiseKind kind) {
    sampledb::TNoise noise;
    if (kind == TNoiseKind::Hum || kind == TNoiseKind::All) {
        noise.HumMV = 0.2;
    }
    if (kind == TNoiseKind::Tremor || kind == TNoiseKind::All) {
        noise.TremorMV = 0.05;
    }
    if (kind == TNoiseKind::Spikes || kind == TNoiseKind::All) {
        noise.SpikeCount = 8;
        noise.SpikeMV = 1.5;
    }
    return noise;
}

class FiltererRhythms : public testing::TestWithParam<std::tuple<TRhythmCase, TNoiseKind>> {};

TEST_P(FiltererRhythms, FindsEveryComplex) {
    auto [rhythm, noise] = GetParam();
    sampledb::TEcgParams params = rhythm.Params;
    params.Noise = NoiseOf(noise);
    const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(params);
    auto record = MakeRecord(ecg);
    auto f = Condition(*record);
    // Complexes within the first 25 and the last 30 samples lie outside the detector's scan.
    MatchBeats(CyclePositions(*f), ecg.RPeaks, 25, f->GetTm0() - 30, 37);
}

std::string RhythmName(const testing::TestParamInfo<FiltererRhythms::ParamType> &info) {
    static const char *const noiseNames[] = {"Clean", "Hum", "Tremor", "Spikes", "All"};
    return std::string(std::get<0>(info.param).Name) +
           noiseNames[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(All, FiltererRhythms,
                         testing::Combine(testing::ValuesIn(RhythmCases()),
                                          testing::Values(TNoiseKind::Clean, TNoiseKind::Hum,
                                                          TNoiseKind::Tremor, TNoiseKind::Spikes,
                                                          TNoiseKind::All)),
                         RhythmName);

// ---- Noise measures: the same synthetic recording with and without one kind of noise ----

struct TNoisePair {
    sampledb::TSyntheticEcg Clean, Noisy;
    std::vector<Lead> CleanOut, NoisyOut;
    std::unique_ptr<TFilterer> NoisyFilterer;
};

TNoisePair ConditionPair(sampledb::TEcgParams params, const sampledb::TNoise &noise,
                         rtl::Integer iwr = 0) {
    TNoisePair pair;
    pair.Clean = sampledb::Synthesize(params);
    params.Noise = noise;
    pair.Noisy = sampledb::Synthesize(params);
    auto clean = MakeRecord(pair.Clean);
    auto noisy = MakeRecord(pair.Noisy);
    pair.CleanOut = Condition(*clean, 0, iwr)->getFilteredData();
    pair.NoisyFilterer = Condition(*noisy, 0, iwr);
    pair.NoisyOut = pair.NoisyFilterer->getFilteredData();
    return pair;
}

// Amplitude of the 50 Hz component (period five samples) of a - b over [from, from + 5n).
double HumAmplitude(const Lead &a, const Lead &b, int from, int periods) {
    double re = 0, im = 0;
    const int n = 5 * periods;
    for (int i = from; i < from + n; ++i) {
        const double v = a[i] - b[i];
        re += v * std::cos(2 * std::numbers::pi * i / 5);
        im += v * std::sin(2 * std::numbers::pi * i / 5);
    }
    return 2 * std::hypot(re, im) / n;
}

// RMS of a - b over [from, to) after removing its mean.
double DetrendedRms(const Lead &a, const Lead &b, int from, int to) {
    double sum = 0, squares = 0;
    for (int i = from; i < to; ++i) {
        sum += a[i] - b[i];
    }
    const double mean = sum / (to - from);
    for (int i = from; i < to; ++i) {
        squares += (a[i] - b[i] - mean) * (a[i] - b[i] - mean);
    }
    return std::sqrt(squares / (to - from));
}

// Largest |a - b - median(a - b)| outside the QRS windows [R - 25, R + 25].
double LargestExcursion(const Lead &a, const Lead &b, const std::vector<int> &beats, int to) {
    std::vector<int> d;
    for (int i = 5; i < to; ++i) {
        d.push_back(a[i] - b[i]);
    }
    std::vector<int> sorted = d;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const int median = sorted[sorted.size() / 2];
    double largest = 0;
    for (int i = 5; i < to; ++i) {
        const bool inQrs =
            std::any_of(beats.begin(), beats.end(), [&](int r) { return std::abs(i - r) <= 25; });
        if (!inQrs) {
            largest = std::max(largest, std::abs(double(d[i - 5] - median)));
        }
    }
    return largest;
}

const int kInterior = 40;

// Ratio of the conditioned hum to the input hum, RMS over every lead, in windows of eight
// periods around each complex (inside) or between complexes (outside).
std::pair<double, double> HumRatios(const TNoisePair &pair) {
    double in2 = 0, outIn2 = 0, inOut2 = 0, outOut2 = 0;
    const auto &beats = pair.Clean.RPeaks;
    const int length = static_cast<int>(pair.CleanOut.front().size());
    for (int L = 0; L < 12; ++L) {
        const Lead cleanIn = Rebased(pair.Clean.Leads[L]);
        const Lead noisyIn = Rebased(pair.Noisy.Leads[L]);
        for (size_t b = 0; b + 1 < beats.size(); ++b) {
            if (beats[b] < kInterior || beats[b + 1] > length - kInterior) {
                continue;
            }
            const int at = beats[b] - 20, between = (beats[b] + beats[b + 1]) / 2 - 20;
            in2 += std::pow(HumAmplitude(noisyIn, cleanIn, at, 8), 2);
            outIn2 += std::pow(HumAmplitude(pair.NoisyOut[L], pair.CleanOut[L], at, 8), 2);
            inOut2 += std::pow(HumAmplitude(noisyIn, cleanIn, between, 8), 2);
            outOut2 += std::pow(HumAmplitude(pair.NoisyOut[L], pair.CleanOut[L], between, 8), 2);
        }
    }
    return {std::sqrt(outIn2 / in2), std::sqrt(outOut2 / inOut2)};
}

TEST(FiltererNoise, HumAroundComplexesIsMostlyRemovedAndBetweenThemCancelled) {
    sampledb::TNoise hum;
    hum.HumMV = 0.3;
    for (double rate : {60.0, 100.0}) {
        sampledb::TEcgParams params;
        params.RateBpm = rate;
        const TNoisePair pair = ConditionPair(params, hum);
        const auto [inside, outside] = HumRatios(pair);
        std::cout << "hum ratio inside " << inside << " outside " << outside << "\n";
        EXPECT_LT(inside, 0.35) << rate;
        EXPECT_LT(outside, 0.05) << rate;
        EXPECT_GT(pair.NoisyFilterer->GetAsin(2), 0) << "the mains template was measured";
    }
}

TEST(FiltererNoise, CleanHumOfAmplitude20NarrowsTheComplexAndIsSubtractedInside) {
    // A repeating residual of spread 40 (> 30): each complex is narrowed by five samples at
    // both ends and carries the unsmoothed signal minus the interpolated hum.
    const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(sampledb::TEcgParams{});
    std::vector<Lead> clean(ecg.Leads.begin(), ecg.Leads.end()), noisy = clean;
    for (Lead &lead : noisy) {
        for (size_t i = 0; i < lead.size(); ++i) {
            lead[i] = static_cast<SmallInt>(
                lead[i] +
                RoundSaturated<Integer>(20 * std::sin(2 * std::numbers::pi * double(i) / 5)));
        }
    }
    // Type 20 keeps all twelve leads as they are (no derived limb leads).
    auto cleanRecord = MakeRecord(clean, 12, 20);
    auto noisyRecord = MakeRecord(noisy, 12, 20);
    auto fc = Condition(*cleanRecord);
    auto fn = Condition(*noisyRecord);
    const Lead outClean = fc->getFilteredData()[1], outNoisy = fn->getFilteredData()[1];
    ASSERT_EQ(fc->GetCin(2), fn->GetCin(2));
    for (int k = 2; k < fc->GetCin(2); ++k) {
        EXPECT_EQ(fn->GetQN(2, k), fc->GetQN(2, k) + 5) << k;
        EXPECT_EQ(fn->GetST(2, k), fc->GetST(2, k) - 5) << k;
        for (int i = fn->GetQN(2, k); i <= fn->GetST(2, k); ++i) {
            EXPECT_NEAR(outNoisy[i], outClean[i], 2) << i;
        }
    }
    EXPECT_EQ(fn->GetAsin(2), 19); // the rounded sine's largest template value
}

TEST(FiltererNoise, HumIsRemovedEverywhereInTheOutsideMode) {
    sampledb::TNoise hum;
    hum.HumMV = 0.3;
    const TNoisePair pair = ConditionPair(sampledb::TEcgParams{}, hum, 1);
    const auto [inside, outside] = HumRatios(pair);
    std::cout << "outside mode: hum ratio inside " << inside << " outside " << outside << "\n";
    EXPECT_LT(inside, 0.2);
    EXPECT_LT(outside, 0.2);
}

TEST(FiltererNoise, TremorBetweenComplexesIsReduced) {
    sampledb::TNoise tremor;
    tremor.TremorMV = 0.05;
    sampledb::TEcgParams params;
    params.LengthSec = 20;
    const TNoisePair pair = ConditionPair(params, tremor);
    double in2 = 0, out2 = 0;
    const auto &beats = pair.Clean.RPeaks;
    for (int L = 0; L < 12; ++L) {
        const Lead cleanIn = Rebased(pair.Clean.Leads[L]);
        const Lead noisyIn = Rebased(pair.Noisy.Leads[L]);
        for (size_t b = 0; b + 1 < beats.size(); ++b) {
            const int from = beats[b] + 60, to = beats[b + 1] - 40;
            in2 += std::pow(DetrendedRms(noisyIn, cleanIn, from, to), 2);
            out2 += std::pow(DetrendedRms(pair.NoisyOut[L], pair.CleanOut[L], from, to), 2);
        }
    }
    const double ratio = std::sqrt(out2 / in2);
    std::cout << "tremor ratio " << ratio << " level " << pair.NoisyFilterer->GetTremorLevel(2)
              << "\n";
    EXPECT_LT(ratio, 0.4);
}

TEST(FiltererNoise, SpikesOutsideComplexesAreFlattened) {
    sampledb::TNoise spikes;
    spikes.SpikeCount = 12;
    spikes.SpikeMV = 2;
    const TNoisePair pair = ConditionPair(sampledb::TEcgParams{}, spikes);
    double worstRatio = 0;
    for (int L = 0; L < 12; ++L) {
        const int to = static_cast<int>(pair.CleanOut[L].size()) - 5;
        const double in = LargestExcursion(Rebased(pair.Noisy.Leads[L]),
                                           Rebased(pair.Clean.Leads[L]), pair.Clean.RPeaks, to);
        const double out =
            LargestExcursion(pair.NoisyOut[L], pair.CleanOut[L], pair.Clean.RPeaks, to);
        if (in > 50) {
            worstRatio = std::max(worstRatio, out / in);
        }
    }
    std::cout << "spike ratio " << worstRatio << "\n";
    EXPECT_GT(worstRatio, 0);
    EXPECT_LT(worstRatio, 0.45);
}

// ---- The per-lead filters ----

TEST(FiltererFilters, FivePointMeanCancels50HzAt250Hz) {
    Lead lead(100);
    for (int i = 0; i < 100; ++i) {
        lead[i] = RoundSaturated<SmallInt>(80 * std::sin(2 * std::numbers::pi * i / 5));
    }
    std::vector<rtl::Integer> scratch(100);
    filterer::MovingAverage5(lead, 100, scratch);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(lead[i], 0) << i; // the rounded sine still sums to 0 over a period
    }
}

TEST(FiltererFilters, MeansRoundHalvesToEvenAndRepeatTheEdges) {
    Lead lead = {0, 0, 2, 0, 0, 6, 0, 0, 0, 0};
    std::vector<rtl::Integer> scratch(10);
    filterer::MovingAverage4(lead, 10, scratch);
    // (0+0+2+0)/4 = 0.5 -> 0, (0+2+0+0)/4 -> 0, (2+0+0+6)/4 = 2, (0+0+6+0)/4 = 1.5 -> 2
    EXPECT_EQ(lead, (Lead{0, 0, 0, 0, 2, 2, 2, 2, 2, 2}));
    EXPECT_EQ(filterer::RoundDiv(-6, 4), -2);
    EXPECT_EQ(filterer::RoundDiv(-10, 4), -2);
    EXPECT_EQ(filterer::RoundDiv(7, 5), 1);
}

TEST(FiltererFilters, SixtyTwoHertzSquareWaveIsFoundAndRemoved) {
    const int n = 2500;
    Lead square(n);
    for (int i = 0; i < n; ++i) {
        square[i] = (i % 4) < 2 ? 100 : -100;
    }
    Lead averaged = square;
    std::vector<rtl::Integer> scratch(n);
    filterer::MovingAverage5(averaged, n, scratch);
    EXPECT_GT(filterer::OscillationMeasure(averaged, n), 1000 * 10);

    auto record = MakeRecord(std::vector<Lead>(12, square), 12);
    auto f = Condition(*record);
    const Lead out = f->getFilteredData()[0];
    for (int i = 10; i < n - 10; ++i) {
        EXPECT_NEAR(out[i], -100, 1) << i; // the clone starts the lead at 0
    }
    EXPECT_EQ(f->GetPatol(), 1);
}

struct TSpikeCase {
    const char *Name;
    Lead Input;
    Lead Expected;
};

class FiltererSpikes : public testing::TestWithParam<TSpikeCase> {};

TEST_P(FiltererSpikes, RemovesIsolatedOneSampleSpikesOnly) {
    Lead lead = GetParam().Input;
    filterer::RemoveSpikes(lead, static_cast<rtl::Integer>(lead.size()));
    EXPECT_EQ(lead, GetParam().Expected);
}

Lead Flat(std::initializer_list<std::pair<int, int>> set, int n = 20, int base = 0) {
    Lead lead(n, static_cast<SmallInt>(base));
    for (auto [at, value] : set) {
        lead[at] = static_cast<SmallInt>(value);
    }
    return lead;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FiltererSpikes,
    testing::Values(TSpikeCase{"RaisedSample", Flat({{9, 50}}), Flat({})},
                    TSpikeCase{"LoweredSample", Flat({{9, -30}}), Flat({})},
                    TSpikeCase{"SmallBump", Flat({{9, 19}}), Flat({{9, 19}})},
                    TSpikeCase{"StepThatStaysUp",
                               Flat({{9, 50},
                                     {10, 50},
                                     {11, 50},
                                     {12, 50},
                                     {13, 50},
                                     {14, 50},
                                     {15, 50},
                                     {16, 50},
                                     {17, 50},
                                     {18, 50},
                                     {19, 50}}),
                               Flat({{9, 50},
                                     {10, 50},
                                     {11, 50},
                                     {12, 50},
                                     {13, 50},
                                     {14, 50},
                                     {15, 50},
                                     {16, 50},
                                     {17, 50},
                                     {18, 50},
                                     {19, 50}})},
                    TSpikeCase{"ClampedInside",
                               Flat({{7, 32767}, {8, 32767}, {9, -32768}, {10, -32768}}),
                               Flat({{7, 32000}, {8, 32000}, {9, -32000}, {10, -32000}})},
                    TSpikeCase{"EdgesNotClamped", Flat({{4, 32767}, {15, -32768}}),
                               Flat({{4, 32767}, {15, -32768}})},
                    // Steps of 65535 into and out of the spike: their product must not wrap.
                    TSpikeCase{"FullScaleSpikeOverflowsNoProduct", Flat({{9, 32767}}, 20, -32768),
                               Flat({{5, -32000},
                                     {6, -32000},
                                     {7, -32000},
                                     {8, -32000},
                                     {9, -32384},
                                     {10, -32000},
                                     {11, -32000},
                                     {12, -32000},
                                     {13, -32000},
                                     {14, -32000}},
                                    20, -32768)}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(FiltererFilters, FullScaleOscillationOverflowsNoProduct) {
    // Differences of 65535 at every position: a 32-bit product would wrap negative and drop them.
    Lead square(40);
    for (int i = 0; i < 40; ++i) {
        square[i] = (i % 4) < 2 ? 32767 : -32768;
    }
    EXPECT_EQ(filterer::OscillationMeasure(square, 40), rtl::Int64{65535} * (40 - 8 - 6 + 1));
}

TEST(FiltererFilters, WeightedThreePointMeanRoundsExactHalvesToEven) {
    // (M[i-1] + 1.6 M[i] + M[i+1]) / 3.6 = -156.5 and 5.5: exact halves, rounded to even.
    Lead lead = {-200, -199, -45, 1, 3, 14};
    std::vector<rtl::Integer> scratch(6);
    filterer::SmoothThreePoint(lead, 6, 1.6, scratch);
    EXPECT_EQ(lead[1], -156);
    EXPECT_EQ(lead[4], 6);
}

TEST(FiltererFilters, TremorLevelIsTheMeanSwingOfFastOscillations) {
    Lead lead(200, 0);
    for (int i = 0; i < 200; ++i) {
        lead[i] = static_cast<SmallInt>((i % 6) < 3 ? 3 * (i % 6) : 3 * (6 - i % 6));
    }
    EXPECT_EQ(filterer::MeasureTremor(lead, 10, 100, 0), 9);
    EXPECT_EQ(filterer::MeasureTremor(lead, 10, 39, 0), 0) << "segment shorter than 30";
    Lead sparse(200, 0);
    for (int i = 0; i < 200; i += 40) {
        sparse[i] = 10;
    }
    EXPECT_EQ(filterer::MeasureTremor(sparse, 5, 150, 0), 0) << "fewer than one per 25";
    EXPECT_EQ(filterer::TremorWeight(1), 5.5);
    EXPECT_EQ(filterer::TremorWeight(5), 1.8);
    EXPECT_EQ(filterer::TremorWeight(11), 1.6);
    EXPECT_EQ(filterer::TremorWeight(12), 1.4);
}

// ---- Layouts, lengths and lead counts ----

TEST(FiltererLayout, TypeOutsideZeroToFiveIsTypeZero) {
    const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(sampledb::TEcgParams{});
    for (rtl::Integer type : {7, -1}) {
        auto record = MakeRecord(ecg);
        auto f = Condition(*record, type);
        EXPECT_EQ(f->GetStolb(), 1);
        EXPECT_EQ(f->GetLayoutLead(5), 5);
        EXPECT_EQ(f->GetStr3(), 3);
        EXPECT_EQ(f->GetStr11(), 11);
    }
}

TEST(FiltererLayout, SixLeadsPerRowMakeTwoColumns) {
    const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(sampledb::TEcgParams{});
    auto record = MakeRecord(std::vector<Lead>(ecg.Leads.begin(), ecg.Leads.end()), 6);
    auto f = Condition(*record);
    EXPECT_EQ(f->GetStolb(), 2);
    EXPECT_EQ(f->GetLayoutLead(4), 7);
    EXPECT_EQ(f->GetLayoutLead(7), 4);
    EXPECT_EQ(f->GetStr3(), 2);
    EXPECT_EQ(f->GetCikl(1), f->GetCikl(2));
    MatchBeats(CyclePositions(*f), ecg.RPeaks, 25, f->GetTm0() - 30, 37);
}

TEST(FiltererLayout, ThreeColumnsOfFourLeads) {
    const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(sampledb::TEcgParams{});
    auto record = MakeRecord(ecg);
    auto f = Condition(*record, 2);
    EXPECT_EQ(f->GetStolb(), 3);
    EXPECT_EQ(f->GetLayoutLead(3), 7);
    EXPECT_EQ(f->GetStr3(), 1);
    EXPECT_EQ(f->GetStr11(), 3);
    for (int c = 1; c <= 3; ++c) {
        EXPECT_GE(f->GetCikl(c), 10) << c;
    }
}

TEST(FiltererLayout, OneLeadPerRowAnalysesTheFirstLeadOnly) {
    const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(sampledb::TEcgParams{});
    auto record = MakeRecord(std::vector<Lead>(ecg.Leads.begin(), ecg.Leads.end()), 1);
    auto f = Condition(*record, 1);
    EXPECT_EQ(f->GetStolb(), 1);
    EXPECT_EQ(f->GetStr3(), 1);
    EXPECT_GE(f->GetCin(1), 10);
    EXPECT_EQ(f->GetCin(2), 0);
    EXPECT_EQ(f->GetCikl(1), 0) << "no second lead can confirm a cycle";
    const auto out = f->getFilteredData();
    EXPECT_EQ(out[1], Rebased(ecg.Leads[1])) << "leads outside the layout come back as they were";
}

TEST(FiltererLayout, OneLeadPerRowHasNoCyclesSoNoMainsOrTremorStage) {
    // The lead's own complexes are found, but the mains and tremor stages work on the column's
    // cycles, and a single lead confirms none.
    sampledb::TEcgParams params;
    params.LengthSec = 20;
    params.Noise.HumMV = 0.3;
    params.Noise.TremorMV = 0.05;
    const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(params);
    auto record = MakeRecord(std::vector<Lead>(ecg.Leads.begin(), ecg.Leads.end()), 1);
    auto f = Condition(*record, 1);
    ASSERT_GE(f->GetCin(1), 10);
    EXPECT_EQ(f->GetCikl(1), 0);
    EXPECT_EQ(f->GetAsin(1), 0);
    EXPECT_EQ(f->GetTremorLevel(1), 0);
    EXPECT_EQ(f->GetDlTrem(1, 2), 0);
}

TEST(FiltererLayout, LayoutWithoutLeadsLeavesTheCloneAsItIs) {
    const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(sampledb::TEcgParams{});
    auto record = MakeRecord(ecg);
    auto f = Condition(*record, 3);
    const auto out = f->getFilteredData();
    ASSERT_EQ(out.size(), 12u);
    EXPECT_EQ(out[0], Rebased(ecg.Leads[0]));
    EXPECT_EQ(f->GetCikl(1), 0);
}

struct TLengthCase {
    int Samples;
    int Tm0;
};

class FiltererLengths : public testing::TestWithParam<TLengthCase> {};

TEST_P(FiltererLengths, ConditionsAtMost75000SamplesWithoutOverrun) {
    // E6: a record longer than 75000 samples is conditioned over its first 75000.
    const int n = GetParam().Samples;
    sampledb::TEcgParams params;
    params.LengthSec = n / 250;
    const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(params);
    auto record = MakeRecord(ecg);
    auto f = Condition(*record);
    EXPECT_EQ(f->GetTm0(), GetParam().Tm0);
    const auto out = f->getFilteredData();
    ASSERT_EQ(out.size(), 12u);
    EXPECT_EQ(out[0].size(), static_cast<size_t>(GetParam().Tm0));
    MatchBeats(CyclePositions(*f), ecg.RPeaks, 25, std::min(n, GetParam().Tm0) - 30, 37);
}

INSTANTIATE_TEST_SUITE_P(Cases, FiltererLengths,
                         testing::Values(TLengthCase{1000, 1250}, TLengthCase{2500, 2500},
                                         TLengthCase{75000, 75000}, TLengthCase{76000, 75000}));

TEST(FiltererLengths, PositionsBeyond32767KeepTheirValue) {
    // Positions are kept in 32 bits: with 16-bit tables the complexes past sample 32767 of a
    // 300 s record would wrap to negative positions and lose their mains correction.
    sampledb::TEcgParams params;
    params.LengthSec = 300;
    sampledb::TNoise hum;
    hum.HumMV = 0.3;
    const TNoisePair pair = ConditionPair(params, hum);
    const TFilterer &f = *pair.NoisyFilterer;
    ASSERT_GT(f.GetCikl(1), 300);
    EXPECT_GT(f.GetCycle(f.GetCikl(1)), 74000);
    const int last = pair.Clean.RPeaks[pair.Clean.RPeaks.size() - 3];
    EXPECT_LT(HumAmplitude(pair.NoisyOut[1], pair.CleanOut[1], last - 20, 8), 3);
}

TEST(FiltererLeads, ShortRecordReturns1250SamplesTheLastFromZeros) {
    Lead lead(1000, 0);
    for (int i = 0; i < 1000; ++i) {
        lead[i] = static_cast<SmallInt>(i % 50);
    }
    auto record = MakeRecord(std::vector<Lead>(12, lead), 12);
    auto f = Condition(*record);
    const auto out = f->getFilteredData();
    ASSERT_EQ(out[0].size(), 1250u);
    for (int i = 1010; i < 1245; ++i) {
        EXPECT_EQ(out[0][i], 0) << i;
    }
}

TEST(FiltererLeads, FlatLeadsGiveNoComplexes) {
    auto record = MakeRecord(std::vector<Lead>(12, Lead(2500, 0)), 12);
    auto f = Condition(*record);
    EXPECT_EQ(f->GetPatol(), 1);
    EXPECT_EQ(f->GetCikl(1), 0);
    for (const Lead &lead : f->getFilteredData()) {
        EXPECT_EQ(lead, Lead(2500, 0));
    }
}

TEST(FiltererLeads, FlatLeadsBesideLiveOnesGetInsertedEmptyComplexes) {
    const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(sampledb::TEcgParams{});
    std::vector<Lead> leads(ecg.Leads.begin(), ecg.Leads.end());
    for (int L : {6, 7, 8}) {
        leads[L].assign(leads[L].size(), 0);
    }
    auto record = MakeRecord(leads, 12);
    auto f = Condition(*record);
    MatchBeats(CyclePositions(*f), ecg.RPeaks, 25, f->GetTm0() - 30, 37);
    EXPECT_EQ(f->GetCin(8), f->GetCikl(1));
    EXPECT_EQ(f->GetR(8, 1), 0) << "the targeted search finds nothing in a flat lead";
}

// An EDF file of the first `count` leads of a synthetic recording, one group, as the
// reference database stores them (0.01 mV per step).
std::unique_ptr<TM12ECGObj> ReadEdfOfLeads(const sampledb::TSyntheticEcg &ecg, int count) {
    static const char *const labels[] = {"I",  "II", "III", "aVR", "aVL", "aVF",
                                         "V1", "V2", "V3",  "V4",  "V5",  "V6"};
    sampledb::TEdfFile file;
    file.Patient = "TEST_F_01.01.1970";
    file.StartDate = "01.01.20";
    file.StartTime = "10.00.00";
    file.RecordCount = static_cast<int32_t>(ecg.Leads[0].size() / 250);
    for (int L = 0; L < count; ++L) {
        sampledb::TEdfSignal signal;
        signal.Label = std::string("ECG ") + labels[L];
        signal.Dimension = "mV";
        signal.PhysicalMin = "-327.68";
        signal.PhysicalMax = "327.67";
        signal.SamplesPerRecord = 250;
        signal.Samples = ecg.Leads[L];
        file.Signals.push_back(signal);
    }
    const std::string bytes = sampledb::MakeEdf(file);
    TEDFImportHelper reader;
    reader.readEDFFromMemory(
        std::span(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size()));
    return reader.getM12ECG();
}

class FiltererLeadCounts : public testing::TestWithParam<int> {};

TEST_P(FiltererLeadCounts, TouchesOnlyTheLeadsTheFileHas) {
    // E6: a file of fewer than 12 signals has work arrays for its own leads only.
    const int count = GetParam();
    const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(sampledb::TEcgParams{});
    auto record = ReadEdfOfLeads(ecg, count);
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->GetLeadsCount(), count);
    auto f = Condition(*record);
    EXPECT_EQ(f->GetStolb(), count == 6 ? 2 : 1);
    const auto out = f->getFilteredData();
    ASSERT_EQ(out.size(), static_cast<size_t>(count));
    EXPECT_EQ(f->GetCin(12), 0);
    MatchBeats(CyclePositions(*f), ecg.RPeaks, 25, f->GetTm0() - 30, 37);
}

INSTANTIATE_TEST_SUITE_P(Counts, FiltererLeadCounts, testing::Values(6, 8));

TEST(FiltererModes, OutsideModeRemovesAPureHumFromAFlatRecord) {
    Lead lead(2500);
    for (int i = 0; i < 2500; ++i) {
        lead[i] = RoundSaturated<SmallInt>(40 * std::sin(2 * std::numbers::pi * i / 5));
    }
    auto record = MakeRecord(std::vector<Lead>(12, lead), 12);
    auto f = Condition(*record, 0, 1);
    const Lead out = f->getFilteredData()[0];
    for (int i = 3; i < 2480; ++i) {
        EXPECT_NEAR(out[i], 0, 1) << i;
    }
}

TEST(FiltererModes, PacemakerFlagSuppressesAroundComplexesInTheOutsideMode) {
    sampledb::TEcgParams params;
    sampledb::TNoise hum;
    hum.HumMV = 0.3;
    params.Noise = hum;
    const sampledb::TSyntheticEcg ecg = sampledb::Synthesize(params);
    auto record = MakeRecord(ecg);
    auto on = Condition(*record, 0, 1, true);
    auto off = Condition(*record, 0, 1, false);
    // Off, the outside mode only removes the mains outside the complexes: no pattern around
    // them is estimated. On, the complexes' surroundings are suppressed, which changes the leads.
    EXPECT_GT(on->GetAsin(2), 0);
    for (rtl::Integer lead = 1; lead <= 12; ++lead) {
        EXPECT_EQ(off->GetAsin(lead), 0) << lead;
    }
    const auto withFlag = on->getFilteredData();
    const auto withoutFlag = off->getFilteredData();
    ASSERT_EQ(withFlag.size(), withoutFlag.size());
    EXPECT_NE(withFlag[1], withoutFlag[1]);
}

TEST(FiltererLeads, ExtremeAndRandomSignalsStayInsideTheTables) {
    // Full-scale noise, alternating extremes and bursts: the walks and windows must stay inside
    // the rows and tables whatever the detector makes of them.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> full(-32768, 32767), small(-40, 40);
    std::vector<Lead> noise(12, Lead(2500)), alternating(12, Lead(2500)), bursts(12, Lead(5000));
    for (int L = 0; L < 12; ++L) {
        for (int i = 0; i < 2500; ++i) {
            noise[L][i] = static_cast<SmallInt>(full(random));
            alternating[L][i] = static_cast<SmallInt>((i / (1 + L)) % 2 ? 32767 : -32768);
        }
        int level = 0;
        for (int i = 0; i < 5000; ++i) {
            level = std::clamp(level + small(random) * ((i % 97) < 5 ? 40 : 1), -30000, 30000);
            bursts[L][i] = static_cast<SmallInt>(level);
        }
    }
    for (const auto &leads : {noise, alternating, bursts}) {
        for (rtl::Integer iwr : {0, 1}) {
            auto record = MakeRecord(leads, 12, 20);
            auto f = Condition(*record, 0, iwr);
            const auto out = f->getFilteredData();
            ASSERT_EQ(out.size(), 12u);
            EXPECT_EQ(out[0].size(), leads[0].size());
            EXPECT_LE(f->GetCikl(1), TFilterer::kMaxComplexes);
        }
    }
}

TEST(FiltererModes, NoSourceGivesNoData) {
    auto f = std::make_unique<TFilterer>();
    f->filterData();
    EXPECT_TRUE(f->getFilteredData().empty());
}

} // namespace
} // namespace ecg
