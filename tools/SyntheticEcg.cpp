// Synthesis of 12-lead ECGs from a beat schedule, wave shapes of a heart vector and electrode
// noise.
#include "tools/SyntheticEcg.h"

#include "tools/SyntheticEcg_p.h"

#include "platform/rtl/Rounding.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace sampledb {

// The model: the heart is one electric dipole (X to the patient's left, Y towards the feet, Z to
// the front). Each wave adds a Gaussian bump, with its own width on either side, along a fixed
// direction in space. Lead I sees X, lead II the direction 60 degrees below it; the chest leads
// see directions in the horizontal plane, with gains for their nearness to the heart. Interference
// is added at the nine electrodes, so the limb leads stay consistent with each other.

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kCos60 = 0.5;
constexpr double kSin60 = 0.8660254037844386;
constexpr double kMaxRateBpm = 1000;

struct TChestLead {
    double AngleDeg; // from the patient's left towards the front
    double Gain;
};
constexpr std::array<TChestLead, 6> kChestLeads = {
    {{120, 1.2}, {95, 1.6}, {70, 1.8}, {50, 2.0}, {25, 1.8}, {0, 1.4}}};

// Limb electrodes RA, LA, LL, then the chest electrodes C1 to C6.
constexpr int kElectrodeCount = 9;
enum { ElRA, ElLA, ElLL, ElC1 };

struct TDipole {
    std::vector<double> X, Y, Z;
    explicit TDipole(size_t n) : X(n), Y(n), Z(n) {}
};

void AddWave(TDipole &d, const TWave &w, double fs, double scale) {
    const double c = w.CentreSec * fs;
    const double sl = w.SigmaLeftSec * fs;
    const double sr = w.SigmaRightSec * fs;
    // Clipped in floating point first: a wave far outside the recording touches nothing.
    const double first = std::max(0.0, std::floor(c - 4 * sl));
    const double last = std::min(static_cast<double>(d.X.size()) - 1, std::ceil(c + 4 * sr));
    if (!(first <= last)) {
        return;
    }
    for (long i = static_cast<long>(first); i <= static_cast<long>(last); ++i) {
        const double u = (i - c) / (i < c ? sl : sr);
        const double g = std::exp(-0.5 * u * u) * scale;
        d.X[i] += w.AmpMV.X * g;
        d.Y[i] += w.AmpMV.Y * g;
        d.Z[i] += w.AmpMV.Z * g;
    }
}

// Fibrillatory waves: an irregular 5-7 Hz oscillation with a slowly changing amplitude.
void AddFibrillation(TDipole &d, double fs, TRandom &rnd) {
    const double phase0 = rnd.Uniform() * 2 * kPi;
    const double drift = rnd.Uniform() * 2 * kPi;
    const double swell = rnd.Uniform() * 2 * kPi;
    double phase = phase0;
    for (size_t i = 0; i < d.X.size(); ++i) {
        const double t = i / fs;
        const double freq = 6.0 + 0.9 * std::sin(2 * kPi * 0.17 * t + drift);
        phase += 2 * kPi * freq / fs;
        const double a = 0.07 * (0.7 + 0.3 * std::sin(2 * kPi * 0.31 * t + swell));
        const double f = a * (std::sin(phase) + 0.35 * std::sin(2.1 * phase + drift));
        d.X[i] += 0.2 * f;
        d.Y[i] += 0.6 * f;
        d.Z[i] += 0.8 * f;
    }
}

// Flutter waves: a saw-tooth, slow descent and quick return, negative in the inferior leads.
void AddFlutter(TDipole &d, double fs, double startSec, double cycleSec) {
    for (size_t i = 0; i < d.X.size(); ++i) {
        const double u = (i / fs - startSec) / cycleSec;
        const double frac = u - std::floor(u);
        const double saw = frac < 0.8 ? -frac / 0.8 : -(1 - frac) / 0.2;
        const double f = saw + 0.5;
        d.Y[i] += 0.22 * f;
        d.Z[i] += 0.06 * f;
    }
}

void AddHeart(TDipole &d, const TEcgParams &p, const TSchedule &s, TRandom &rnd) {
    const double fs = p.FrequencyHz;
    for (const TAtrialBeat &a : s.Atrial) {
        for (const TWave &w : PWaves(a.OnsetSec, a.Ectopic)) {
            AddWave(d, w, fs, p.AmplitudeScale);
        }
    }
    for (const TVentricularBeat &b : s.Beats) {
        for (const TWave &w : QrsTWaves(p, b)) {
            AddWave(d, w, fs, p.AmplitudeScale);
        }
    }
    if (p.Rhythm == TRhythm::AtrialFibrillation) {
        AddFibrillation(d, fs, rnd);
    } else if (p.Rhythm == TRhythm::AtrialFlutter) {
        AddFlutter(d, fs, s.FlutterStartSec, 60.0 / p.AtrialRateBpm);
    }
}

// Mains hum, muscle tremor and baseline wander of one electrode; limb electrodes pick up more.
void AddElectrodeNoise(std::vector<double> &e, bool limb, const TNoise &nz, double fs,
                       TRandom &rnd) {
    const double humAmp = nz.HumMV * (limb ? 0.6 + 0.4 * rnd.Uniform() : 0.3 + 0.3 * rnd.Uniform());
    const double humPhase = rnd.Uniform() * 2 * kPi;
    const double wanderAmp = nz.WanderMV * (0.3 + 0.7 * rnd.Uniform());
    const double wanderHz = 0.25 + 0.15 * rnd.Uniform();
    const double wanderPhase = rnd.Uniform() * 2 * kPi;
    // The difference of white noise two samples apart passes mostly 30-100 Hz at 250 Hz, as
    // surface EMG does; halved, it has an RMS of 1 / sqrt(2), which the factor sqrt(2) undoes.
    const double tremorAmp =
        nz.TremorMV * (limb ? 0.7 + 0.3 * rnd.Uniform() : 0.3) * std::sqrt(2.0);
    const double burstPhase = rnd.Uniform() * 2 * kPi;
    double w1 = 0;
    double w2 = 0;
    for (size_t i = 0; i < e.size(); ++i) {
        const double t = i / fs;
        double v = humAmp * std::sin(2 * kPi * nz.HumHz * t + humPhase);
        v += wanderAmp * std::sin(2 * kPi * wanderHz * t + wanderPhase);
        if (tremorAmp > 0) {
            const double w0 = rnd.Gauss();
            const double burst = 0.55 + 0.45 * std::sin(2 * kPi * 0.4 * t + burstPhase);
            v += tremorAmp * burst * (w0 - w2) / 2;
            w2 = w1;
            w1 = w0;
        }
        e[i] += v;
    }
}

// Electrode pops: a sharp step that decays within three samples, on one electrode each.
void AddSpikes(std::vector<std::vector<double>> &el, const TNoise &nz, double fs, TRandom &rnd) {
    const size_t n = el[0].size();
    for (int k = 0; k < nz.SpikeCount; ++k) {
        const double span = std::max(0.0, n / fs - 0.4);
        const size_t at = static_cast<size_t>((0.2 + rnd.Uniform() * span) * fs);
        const int electrode = static_cast<int>(rnd.Uniform() * kElectrodeCount);
        const double amp =
            nz.SpikeMV * (0.6 + 0.4 * rnd.Uniform()) * (rnd.Uniform() < 0.5 ? -1 : 1);
        const double shape[] = {1.0, 0.55, 0.2};
        for (size_t j = 0; j < 3 && at + j < n; ++j) {
            el[electrode][at + j] += amp * shape[j];
        }
    }
}

std::vector<std::vector<double>> ElectrodeNoise(const TEcgParams &p, size_t n, TRandom &rnd) {
    std::vector<std::vector<double>> el(kElectrodeCount, std::vector<double>(n));
    const TNoise &nz = p.Noise;
    if (nz.HumMV == 0 && nz.TremorMV == 0 && nz.WanderMV == 0 && nz.SpikeCount == 0) {
        return el;
    }
    for (int k = 0; k < kElectrodeCount; ++k) {
        AddElectrodeNoise(el[k], k < ElC1, nz, p.FrequencyHz, rnd);
    }
    AddSpikes(el, nz, p.FrequencyHz, rnd);
    return el;
}

// Hundredths of a millivolt, rounded half to even and saturated to 16 bits; NaN gives 0.
int32_t ToSteps(double mv) {
    return rtl::RoundSaturated<int16_t>(mv * 100);
}

int16_t Saturate16(int32_t v) {
    return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}

// v / 2 rounded half to even, exactly, for any int32_t v.
int32_t HalfToEven2(int32_t v) {
    int32_t q = v >> 1; // floor division: arithmetic shift is defined for negatives in C++20
    if ((v & 1) != 0 && (q & 1) != 0) {
        ++q;
    }
    return q;
}

void DeriveLeads(TSyntheticEcg &out, const TDipole &d, const std::vector<std::vector<double>> &el) {
    const size_t n = d.X.size();
    for (auto &lead : out.Leads) {
        lead.resize(n);
    }
    std::array<TVec3, 6> chest{};
    for (int k = 0; k < 6; ++k) {
        const double a = kChestLeads[k].AngleDeg * kPi / 180;
        chest[k] = {kChestLeads[k].Gain * std::cos(a), 0, kChestLeads[k].Gain * std::sin(a)};
    }
    for (size_t i = 0; i < n; ++i) {
        const double ra = el[ElRA][i];
        const double la = el[ElLA][i];
        const double ll = el[ElLL][i];
        const int32_t l1 = ToSteps(d.X[i] + la - ra);
        const int32_t l2 = ToSteps(kCos60 * d.X[i] + kSin60 * d.Y[i] + ll - ra);
        out.Leads[LeadI][i] = Saturate16(l1);
        out.Leads[LeadII][i] = Saturate16(l2);
        out.Leads[LeadIII][i] = Saturate16(l2 - l1);
        out.Leads[LeadAVR][i] = Saturate16(HalfToEven2(-(l1 + l2)));
        out.Leads[LeadAVL][i] = Saturate16(HalfToEven2(2 * l1 - l2));
        out.Leads[LeadAVF][i] = Saturate16(HalfToEven2(2 * l2 - l1));
        const double wilson = (ra + la + ll) / 3;
        for (int k = 0; k < 6; ++k) {
            const double heart = chest[k].X * d.X[i] + chest[k].Z * d.Z[i];
            out.Leads[LeadV1 + k][i] = Saturate16(ToSteps(heart + el[ElC1 + k][i] - wilson));
        }
    }
}

bool PlausibleRate(double bpm) {
    return bpm > 0 && bpm <= kMaxRateBpm;
}

void CheckParams(const TEcgParams &p) {
    if (p.FrequencyHz <= 0 || p.LengthSec <= 0 || !PlausibleRate(p.RateBpm) ||
        !PlausibleRate(p.AtrialRateBpm) || p.ConductionRatio <= 0) {
        throw std::invalid_argument("Synthesize: frequency, length and ratio must be positive, "
                                    "rates above 0 and at most 1000 per minute");
    }
    for (const TRhythmEvent &e : p.Events) {
        const bool run =
            e.Kind == TEventKind::SupraventricularRun || e.Kind == TEventKind::VentricularRun;
        if (!std::isfinite(e.AtSec) || (run && !PlausibleRate(e.RateBpm)) ||
            (e.Kind == TEventKind::Pause && !(e.DurationSec > 0))) {
            throw std::invalid_argument("Synthesize: an event needs a finite time, a run a "
                                        "positive rate, a pause a positive duration");
        }
    }
}

} // namespace

TSyntheticEcg Synthesize(const TEcgParams &params) {
    CheckParams(params);
    TRandom rnd(params.Seed);
    const TSchedule schedule = MakeSchedule(params, rnd);
    const size_t n = static_cast<size_t>(params.FrequencyHz) * params.LengthSec;
    TDipole dipole(n);
    AddHeart(dipole, params, schedule, rnd);
    const auto electrodes = ElectrodeNoise(params, n, rnd);

    TSyntheticEcg out;
    out.FrequencyHz = params.FrequencyHz;
    DeriveLeads(out, dipole, electrodes);
    for (const TVentricularBeat &b : schedule.Beats) {
        const int64_t at = rtl::RoundSaturated<int64_t>(b.RSec * params.FrequencyHz);
        if (at >= 0 && at < static_cast<int64_t>(n)) {
            out.RPeaks.push_back(static_cast<int>(at));
        }
    }
    return out;
}

} // namespace sampledb
