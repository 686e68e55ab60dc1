// Synthetic 12-lead ECGs: a heart-vector model of P, QRS and T waves with rhythm, conduction
// and interference settings, for the sample database and for tests that need known beats.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace sampledb {

constexpr int kLeadCount = 12;

// Lead positions in the ECG record's order.
enum TLead {
    LeadI,
    LeadII,
    LeadIII,
    LeadAVR,
    LeadAVL,
    LeadAVF,
    LeadV1,
    LeadV2,
    LeadV3,
    LeadV4,
    LeadV5,
    LeadV6
};

// How the atria are driven and how the ventricles follow them.
enum class TRhythm {
    Sinus,              // P before every QRS; slight beat-to-beat variation of RR
    EctopicAtrial,      // as Sinus, but the P wave is inverted in II, III and aVF
    AtrialFibrillation, // no P waves, irregular RR, fibrillatory baseline
    AtrialFlutter,   // saw-tooth flutter waves at AtrialRateBpm, every ConductionRatio-th conducted
    Junctional,      // regular QRS without P waves
    CompleteAVBlock, // P waves at AtrialRateBpm and QRS at RateBpm, independent of each other
};

// Shape of the conducted QRS complex and its T wave.
enum class TConduction {
    Normal,
    RightBundleBranchBlock,      // terminal R' in V1, broad S in I and V6, about 140 ms
    LeftBundleBranchBlock,       // broad notched R in I and V6, QS in V1, discordant T, 150 ms
    LeftAnteriorFascicularBlock, // left axis deviation, qR in aVL, rS in II, III and aVF
    Preexcitation,               // delta wave before the QRS (combine with a short PrMs)
};

enum class TEventKind {
    Pause,                     // the P-P (or, in fibrillation, R-R) gap becomes DurationSec
    SupraventricularPremature, // early P of another shape, conducted; sinus node reset
    BlockedPremature,          // early P on the T wave, not conducted: a pause follows
    VentricularPremature,      // early wide QRS without P; fully compensatory pause
    SupraventricularRun,       // Count narrow beats at RateBpm without visible P
    VentricularRun,            // Count wide beats at RateBpm without P
};

// An event takes effect at the first sinus beat due at or after AtSec. Only the sinus and
// ectopic-atrial rhythms take events, except Pause, which atrial fibrillation takes as well.
struct TRhythmEvent {
    TEventKind Kind = TEventKind::Pause;
    double AtSec = 0;
    double DurationSec = 0; // Pause only
    int Count = 0;          // runs only
    double RateBpm = 0;     // runs only
};

// Interference added at the electrodes, so that the limb-lead relations still hold.
struct TNoise {
    double HumMV = 0;    // peak amplitude of the mains hum at each limb electrode
    double HumHz = 50;   // mains frequency
    double TremorMV = 0; // RMS of the muscle tremor (EMG-like, 30-100 Hz) at a burst's height
    int SpikeCount = 0;  // electrode spikes of one to three samples
    double SpikeMV = 0;  // their largest amplitude
    double WanderMV = 0; // peak amplitude of the respiratory baseline wander (about 0.3 Hz)
};

struct TEcgParams {
    int FrequencyHz = 250;
    int LengthSec = 10;
    uint64_t Seed = 1;
    TRhythm Rhythm = TRhythm::Sinus;
    // Ventricular rate: the sinus rate for the sinus rhythms; flutter takes AtrialRateBpm /
    // ConductionRatio instead.
    double RateBpm = 70;
    double AtrialRateBpm = 300; // flutter waves and the P waves of complete AV block
    int ConductionRatio = 4;    // flutter waves per conducted beat
    double RrVariation = 0.02;  // relative beat-to-beat spread of the sinus (P-P) interval
    double PrMs = 160;          // P onset to QRS onset
    int WenckebachCycle = 0;    // 0, or n: PR lengthens over n - 1 beats, the n-th P is blocked
    int BlockEvery = 0;         // 0, or n: every n-th P is blocked at a constant PR
    TConduction Conduction = TConduction::Normal;
    bool LeftVentricularHypertrophy = false; // tall R, deep S in V1-V2, strain T in V5-V6
    bool InferiorQWaves = false;             // pathological Q in II, III, aVF (old infarct)
    double InferiorStMV = 0;   // ST shift in II, III, aVF (reciprocal in aVL); > 0 elevation
    double QtcMs = 400;        // QT corrected by Bazett's formula
    double AmplitudeScale = 1; // scales every wave of the heart vector
    std::vector<TRhythmEvent> Events;
    TNoise Noise;
};

struct TSyntheticEcg {
    int FrequencyHz = 0;
    // Twelve leads in the record's order, in hundredths of a millivolt, LengthSec x FrequencyHz
    // samples each. III = II - I exactly; aVR, aVL and aVF are the Goldberger sums of I and II
    // rounded half to even; values beyond 16 bits saturate.
    std::array<std::vector<int16_t>, kLeadCount> Leads;
    // Sample numbers (from 0) of every QRS complex inside the recording, ascending: the peak of
    // its main deflection, or the middle of a notched complex (left bundle branch block).
    std::vector<int> RPeaks;
};

// Synthesizes one recording. The same parameters give the same samples on every run: the noise
// comes from the generator's own random numbers seeded by Seed. Throws std::invalid_argument for
// a frequency, length or conduction ratio that is not positive, a rate (of the ventricles, the
// atria or a run) outside 0 to 1000 per minute (0 excluded), an event at a time that is not
// finite, and a pause without a positive duration.
TSyntheticEcg Synthesize(const TEcgParams &params);

} // namespace sampledb
