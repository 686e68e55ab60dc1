// The beat schedule of each rhythm and the wave shapes of P waves and QRS-T complexes.
#include "tools/SyntheticEcg_p.h"

#include <algorithm>
#include <cmath>

namespace sampledb {

namespace {

constexpr double kExtraAfterEndSec = 1.0; // beats past the end still draw their start

constexpr TWave Bump(double centreSec, double sigmaSec, TVec3 amp) {
    return {centreSec, sigmaSec, sigmaSec, amp};
}

// Depolarisation waves of one beat relative to its R peak, and its repolarisation vector.
struct TQrsShape {
    std::vector<TWave> Waves;
    double OnsetSec;   // QRS onset relative to the R peak
    TVec3 T;           // direction and size of the T wave
    double ExtraQtSec; // the longer QT of a wide QRS
};

constexpr TWave kSeptalQ = Bump(-0.028, 0.008, {-0.10, 0.05, 0.20});
constexpr TWave kNormalR = Bump(0.0, 0.010, {0.90, 0.90, -0.50});
constexpr TWave kNormalS = Bump(0.022, 0.010, {-0.30, -0.25, -0.40});

TQrsShape ConductedShape(TConduction c) {
    switch (c) {
    case TConduction::RightBundleBranchBlock:
        return {{kSeptalQ, kNormalR, Bump(0.030, 0.012, {-0.35, -0.10, -0.30}),
                 Bump(0.068, 0.016, {-0.45, 0.0, 0.60})},
                -0.045,
                {0.25, 0.20, -0.12},
                0.04};
    case TConduction::LeftBundleBranchBlock:
        return {{Bump(-0.024, 0.019, {0.75, 0.30, -0.70}), Bump(0.024, 0.019, {0.75, 0.22, -0.62})},
                -0.080,
                {-0.30, -0.10, 0.35},
                0.05};
    case TConduction::LeftAnteriorFascicularBlock:
        return {{Bump(-0.028, 0.009, {-0.10, 0.22, 0.05}), Bump(0.0, 0.011, {0.80, -0.70, -0.30}),
                 Bump(0.022, 0.010, {-0.25, 0.0, -0.40})},
                -0.045,
                {0.25, 0.05, 0.20},
                0.0};
    case TConduction::Preexcitation:
        return {{TWave{-0.045, 0.030, 0.035, {0.30, 0.30, -0.05}},
                 Bump(0.0, 0.011, {0.80, 0.80, -0.35}), kNormalS},
                -0.110,
                {0.15, 0.20, 0.20},
                0.02};
    case TConduction::Normal:
        break;
    }
    return {{kSeptalQ, kNormalR, kNormalS}, -0.045, {0.20, 0.25, 0.20}, 0.0};
}

TQrsShape VentricularShape() {
    return {{Bump(0.0, 0.028, {-0.90, -1.10, 1.20}), Bump(0.065, 0.022, {0.50, 0.40, -0.50})},
            -0.085,
            {0.40, 0.50, -0.50},
            0.06};
}

void ApplyModifiers(const TEcgParams &p, TQrsShape &shape) {
    if (p.LeftVentricularHypertrophy) {
        for (TWave &w : shape.Waves) {
            w.AmpMV = {w.AmpMV.X * 1.7, w.AmpMV.Y * 1.7, w.AmpMV.Z * 1.7};
        }
        shape.T = {-0.12, 0.05, 0.22};
    }
    if (p.InferiorQWaves) {
        shape.Waves.push_back(Bump(-0.030, 0.012, {0.05, -0.50, 0.0}));
        shape.T.Y -= 0.30;
    }
}

// An interval spread by the relative variation; never below a fifth of itself, so that time
// always moves on.
double Jittered(double interval, double variation, TRandom &rnd) {
    const double g = std::clamp(rnd.Gauss(), -3.0, 3.0);
    return std::max(0.2 * interval, interval * (1 + variation * g));
}

// QRS onset to R peak of a conducted beat: the PR interval ends at the QRS onset.
double OnsetToRSec(const TEcgParams &p) {
    return -ConductedShape(p.Conduction).OnsetSec;
}

} // namespace

std::vector<TWave> PWaves(double onsetSec, bool ectopic) {
    if (ectopic) {
        return {Bump(onsetSec + 0.050, 0.022, {0.05, -0.11, 0.03})};
    }
    // Right atrium first, then left: a P that is biphasic in V1.
    return {Bump(onsetSec + 0.038, 0.017, {0.04, 0.12, 0.06}),
            Bump(onsetSec + 0.062, 0.019, {0.09, 0.07, -0.05})};
}

std::vector<TWave> QrsTWaves(const TEcgParams &p, const TVentricularBeat &beat) {
    TQrsShape shape = beat.Ventricular ? VentricularShape() : ConductedShape(p.Conduction);
    if (!beat.Ventricular) {
        ApplyModifiers(p, shape);
    }
    // Bazett: QT grows with the square root of RR; the T wave widens with it.
    const double rr = std::clamp(beat.RrSec, 0.3, 2.0);
    const double root = std::sqrt(rr);
    const double qt = p.QtcMs / 1000 * root + shape.ExtraQtSec;
    const double sigmaRight = 0.040 * root;
    const double sigmaLeft = 0.065 * root;
    const double tPeak = shape.OnsetSec + qt - 2.5 * sigmaRight;

    std::vector<TWave> waves;
    for (const TWave &w : shape.Waves) {
        waves.push_back({beat.RSec + w.CentreSec, w.SigmaLeftSec, w.SigmaRightSec, w.AmpMV});
    }
    waves.push_back({beat.RSec + tPeak, sigmaLeft, sigmaRight, shape.T});
    if (p.InferiorStMV != 0 && !beat.Ventricular) {
        // aVF sees 0.866 of the Y component, so s puts the shift there at InferiorStMV.
        const double s = p.InferiorStMV / 0.8660254037844386;
        // Rises at the J point and runs into the T wave: a convex, elevated ST segment.
        const double centre = 0.07;
        const double tail = std::max(0.05, (tPeak - centre) / 1.5);
        waves.push_back({beat.RSec + centre, 0.02, tail, {-0.25 * s, s, 0.0}});
    }
    return waves;
}

namespace {

// Sinus and ectopic-atrial rhythms with AV block and the rhythm events.
class TSinusScheduler {
public:
    TSinusScheduler(const TEcgParams &p, TRandom &rnd) : P(p), Rnd(rnd), Rr(60.0 / p.RateBpm) {}

    TSchedule Run() {
        std::vector<TRhythmEvent> events = P.Events;
        std::stable_sort(
            events.begin(), events.end(),
            [](const TRhythmEvent &a, const TRhythmEvent &b) { return a.AtSec < b.AtSec; });
        Next = -Rr * (0.2 + 0.6 * Rnd.Uniform());
        LastP = Next - Rr;
        LastR = LastP + Pr() + OnsetToRSec(P);
        size_t ei = 0;
        while (Next < P.LengthSec + kExtraAfterEndSec) {
            if (ei < events.size() && Next >= events[ei].AtSec) {
                ApplyEvent(events[ei++]);
            } else {
                SinusBeat();
            }
        }
        return std::move(S);
    }

private:
    double Pr() const { return P.PrMs / 1000; }

    double NextRr() { return Jittered(Rr, P.RrVariation, Rnd); }

    // PR increments of a Wenckebach cycle: large at first, then smaller.
    static double WenckebachStep(int position) { return 0.2 * (1 - std::pow(0.55, position)); }

    void SinusBeat() {
        const int k = BeatIndex++;
        bool conducted = true;
        double pr = Pr();
        if (P.WenckebachCycle > 1) {
            const int position = k % P.WenckebachCycle;
            conducted = position != P.WenckebachCycle - 1;
            pr += WenckebachStep(position);
        }
        if (P.BlockEvery > 1 && k % P.BlockEvery == P.BlockEvery - 1) {
            conducted = false;
        }
        S.Atrial.push_back({Next, P.Rhythm == TRhythm::EctopicAtrial});
        if (conducted) {
            LastR = Next + pr + OnsetToRSec(P);
            S.Beats.push_back({LastR, false, 0});
        }
        LastP = Next;
        Next += NextRr();
    }

    void AddRun(const TRhythmEvent &e, bool ventricular) {
        const double step = 60.0 / e.RateBpm;
        double r = LastR + std::max(0.55 * Rr, step);
        for (int i = 0; i < e.Count && r < P.LengthSec + kExtraAfterEndSec; ++i, r += step) {
            S.Beats.push_back({r, ventricular, 0});
            LastR = r;
        }
        Next = LastR - Pr() - OnsetToRSec(P) + 1.1 * Rr;
        LastP = Next - Rr;
    }

    void ApplyEvent(const TRhythmEvent &e) {
        switch (e.Kind) {
        case TEventKind::Pause:
            Next = LastP + e.DurationSec;
            break;
        case TEventKind::SupraventricularPremature: {
            const double at = LastP + 0.62 * Rr;
            S.Atrial.push_back({at, true});
            LastR = at + Pr() + OnsetToRSec(P);
            S.Beats.push_back({LastR, false, 0});
            LastP = at;
            Next = at + Rr;
            break;
        }
        case TEventKind::BlockedPremature: {
            const double at = LastP + 0.40 * Rr;
            S.Atrial.push_back({at, true});
            LastP = at;
            Next = at + 1.1 * Rr;
            break;
        }
        case TEventKind::VentricularPremature:
            LastR += 0.58 * Rr;
            S.Beats.push_back({LastR, true, 0});
            // The next sinus P falls into the refractory ventricle and is not conducted.
            S.Atrial.push_back({Next, P.Rhythm == TRhythm::EctopicAtrial});
            LastP = Next;
            Next += NextRr();
            ++BeatIndex;
            break;
        case TEventKind::SupraventricularRun:
            AddRun(e, false);
            break;
        case TEventKind::VentricularRun:
            AddRun(e, true);
            break;
        }
    }

    const TEcgParams &P;
    TRandom &Rnd;
    TSchedule S;
    double Rr;
    double Next = 0;
    double LastP = 0;
    double LastR = 0;
    int BeatIndex = 0;
};

void FibrillationBeats(const TEcgParams &p, TRandom &rnd, TSchedule &s) {
    const double mean = 60.0 / p.RateBpm;
    std::vector<TRhythmEvent> pauses;
    for (const TRhythmEvent &e : p.Events) {
        if (e.Kind == TEventKind::Pause) {
            pauses.push_back(e);
        }
    }
    std::stable_sort(
        pauses.begin(), pauses.end(),
        [](const TRhythmEvent &a, const TRhythmEvent &b) { return a.AtSec < b.AtSec; });
    size_t pi = 0;
    for (double r = -mean * rnd.Uniform(); r < p.LengthSec + kExtraAfterEndSec;) {
        s.Beats.push_back({r, false, 0});
        if (pi < pauses.size() && r >= pauses[pi].AtSec) {
            r += pauses[pi++].DurationSec;
        } else {
            // A triangular spread of 0.6 to 1.4 times the mean: irregularly irregular.
            r += mean * (0.6 + 0.4 * (rnd.Uniform() + rnd.Uniform()));
        }
    }
}

void FlutterBeats(const TEcgParams &p, TRandom &rnd, TSchedule &s) {
    const double cycle = 60.0 / p.AtrialRateBpm;
    s.FlutterStartSec = -cycle * p.ConductionRatio * rnd.Uniform();
    for (int k = 0;; ++k) {
        const double wave = s.FlutterStartSec + k * cycle;
        if (wave >= p.LengthSec + kExtraAfterEndSec) {
            break;
        }
        if (k % p.ConductionRatio == 0) {
            s.Beats.push_back({wave + 0.22 + OnsetToRSec(p), false, 0});
        }
    }
}

void RegularBeats(double rateBpm, double variation, double endSec, TRandom &rnd, TSchedule &s) {
    const double rr = 60.0 / rateBpm;
    for (double r = -rr * rnd.Uniform(); r < endSec; r += Jittered(rr, variation, rnd)) {
        s.Beats.push_back({r, false, 0});
    }
}

void IndependentAtria(const TEcgParams &p, TRandom &rnd, TSchedule &s) {
    const double pp = 60.0 / p.AtrialRateBpm;
    for (double a = -pp * rnd.Uniform(); a < p.LengthSec + kExtraAfterEndSec;
         a += Jittered(pp, p.RrVariation, rnd)) {
        s.Atrial.push_back({a, false});
    }
}

} // namespace

TSchedule MakeSchedule(const TEcgParams &p, TRandom &rnd) {
    TSchedule s;
    const double end = p.LengthSec + kExtraAfterEndSec;
    switch (p.Rhythm) {
    case TRhythm::Sinus:
    case TRhythm::EctopicAtrial:
        s = TSinusScheduler(p, rnd).Run();
        break;
    case TRhythm::AtrialFibrillation:
        FibrillationBeats(p, rnd, s);
        break;
    case TRhythm::AtrialFlutter:
        FlutterBeats(p, rnd, s);
        break;
    case TRhythm::Junctional:
        RegularBeats(p.RateBpm, 0.01, end, rnd, s);
        break;
    case TRhythm::CompleteAVBlock:
        IndependentAtria(p, rnd, s);
        RegularBeats(p.RateBpm, 0.01, end, rnd, s);
        break;
    }
    std::stable_sort(
        s.Beats.begin(), s.Beats.end(),
        [](const TVentricularBeat &a, const TVentricularBeat &b) { return a.RSec < b.RSec; });
    for (size_t i = 0; i < s.Beats.size(); ++i) {
        s.Beats[i].RrSec = i == 0 ? 60.0 / p.RateBpm : s.Beats[i].RSec - s.Beats[i - 1].RSec;
    }
    return s;
}

} // namespace sampledb
