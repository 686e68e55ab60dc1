// Internals of the ECG synthesis: random numbers, wave shapes and the beat schedule.
#pragma once

#include "tools/SyntheticEcg.h"

#include <cstdint>
#include <vector>

namespace sampledb {

// splitmix64 (Steele, Lea, Flood 2014): the same numbers with every compiler and library,
// unlike the standard distributions.
class TRandom {
public:
    explicit TRandom(uint64_t seed) : FState(seed) {}
    uint64_t Next() {
        uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1), 53 bits.
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    // Approximately standard normal: the Irwin-Hall sum of twelve uniforms, within +-6.
    double Gauss() {
        double s = 0;
        for (int i = 0; i < 12; ++i) {
            s += Uniform();
        }
        return s - 6;
    }

private:
    uint64_t FState;
};

struct TVec3 {
    double X, Y, Z;
};

// A Gaussian bump of the heart vector; the widths are standard deviations.
struct TWave {
    double CentreSec;
    double SigmaLeftSec;
    double SigmaRightSec;
    TVec3 AmpMV;
};

struct TAtrialBeat {
    double OnsetSec;
    bool Ectopic; // P of an ectopic focus: inverted in the inferior leads
};

struct TVentricularBeat {
    double RSec;
    bool Ventricular; // wide beat of ventricular origin
    double RrSec;     // interval from the previous beat, for the QT
};

struct TSchedule {
    std::vector<TAtrialBeat> Atrial;
    std::vector<TVentricularBeat> Beats; // ascending RSec, RrSec filled
    double FlutterStartSec = 0;
};

TSchedule MakeSchedule(const TEcgParams &p, TRandom &rnd);
std::vector<TWave> PWaves(double onsetSec, bool ectopic);
std::vector<TWave> QrsTWaves(const TEcgParams &p, const TVentricularBeat &beat);

} // namespace sampledb
