// The QRS detector: steep downslopes in the detection row, walked out to peak, trough, onset
// and end, filtered by amplitude and by the previous complex of the lead.
#include "ecg/UFilterer.h"

#include "ecg/UFilterer_p.h"

#include "platform/rtl/Rounding.h"

#include <algorithm>
#include <cstdlib>

namespace ecg {

using rtl::Integer;
using rtl::RoundSaturated;

// One candidate complex, positions counted from 1.
struct TFilterer::TCandidate {
    Integer peak = 0;
    Integer trough = 0;
    Integer lowest = 0; // the lowest trough of a double complex (the trough otherwise)
    Integer onset = 0;
    Integer end = 0;
    Integer D = 0;         // the larger of peak - onset and peak - trough
    Integer flag = 0;      // baseline shift: 1 onset above end, 2 (strongly above or below)
    Integer secondary = 0; // swing of the wave after the end
};

// The state of one pass of the detector over the detection row.
struct TFilterer::TDetectScan {
    Integer mode = 0;
    Integer L = 0;
    Integer count = 0;  // complexes recorded in this pass (mode 2: 0)
    Integer target = 0; // expected cycle position (mode 2)
    Integer slot = 0;   // the inserted complex that mode 2 fills
    Integer lastTrough = 0;
    Integer resume = 0; // where rule (b) lets the scan resume, 0 for the trough
    bool recorded = false;
};

namespace {

enum TDecision { kUndecided, kKeep, kReplace, kDrop };

constexpr Integer kMaxRestarts = 3;

} // namespace

Integer TFilterer::X(Integer q) const {
    return (q >= 1 && q <= t2700) ? PT[q - 1] : 0;
}

void TFilterer::DetectQRS(Integer mode, Integer L, Integer slot, Integer start) {
    TDetectScan scan;
    scan.mode = mode;
    scan.L = L;
    Integer p = 20;
    if (mode == 2) {
        scan.slot = slot;
        scan.target = R_[Pci[L][slot]];
        p = start;
    }
    const Integer endScan = mode == 1 ? Tmd - 100 : Tmd - 20;
    while (p < endScan) {
        const Integer fall = X(p) - X(p + 5);
        if (fall >= 651) {
            p += 10;
            continue;
        }
        if (fall < FallThreshold(scan, p)) {
            ++p;
            continue;
        }
        TCandidate cand;
        Delineate(scan, p, cand);
        scan.resume = 0;
        if (!Rejected(scan, cand)) {
            const Integer decision =
                (mode != 2 && scan.count >= 1) ? NeighbourDecision(scan, cand) : kKeep;
            if (decision == kKeep || decision == kReplace) {
                RecordComplex(scan, cand, decision == kReplace);
            }
        }
        scan.lastTrough = cand.trough;
        p = std::max(p + 1, scan.resume > 0 ? scan.resume : cand.trough);
        if ((mode == 1 && scan.count >= 15) || (mode == 2 && scan.recorded)) {
            break;
        }
    }
    if (mode != 2) {
        Cin[L] = scan.count;
    }
}

Integer TFilterer::FallThreshold(const TDetectScan &scan, Integer p) const {
    if (scan.mode == 2) {
        return std::abs(p - scan.target) <= 20 ? 4 : 7;
    }
    return RowCount() > 1 ? 12 : 4;
}

Integer TFilterer::HighestIn(Integer from, Integer to) const {
    Integer best = from;
    for (Integer q = from; q <= to; ++q) {
        if (X(q) >= X(best)) {
            best = q;
        }
    }
    return best;
}

Integer TFilterer::LowestIn(Integer from, Integer to) const {
    Integer best = from;
    for (Integer q = from; q <= to; ++q) {
        if (X(q) < X(best)) {
            best = q;
        }
    }
    return best;
}

// The downslope to restart from when a wave within 15 samples after the trough is higher than
// the peak, or swings far more than a slow candidate; 0 to keep the candidate.
Integer TFilterer::SecondaryWave(const TCandidate &cand) const {
    Integer high = cand.trough;
    for (Integer q = cand.trough + 1; q <= std::min(cand.trough + 15, Tmd - 5); ++q) {
        high = X(q) > X(high) ? q : high;
    }
    const Integer D = X(cand.peak) - X(cand.trough);
    const bool higher = X(high) > X(cand.peak);
    const bool bigger = high > cand.trough && X(high) - X(cand.trough) > 1.5 * D &&
                        D < 1.5 * (cand.trough - cand.peak);
    if (!higher && !bigger) {
        return 0;
    }
    for (Integer q = high; q <= std::min(high + 15, Tmd - 25); ++q) {
        if (X(q) - X(q + 5) >= 4) {
            return q;
        }
    }
    return 0;
}

// Peak, trough, onset and end of the complex whose downslope starts at p.
void TFilterer::Delineate(const TDetectScan &scan, Integer p, TCandidate &cand) const {
    Integer from = p;
    for (Integer restart = 0; restart <= kMaxRestarts; ++restart) {
        const Integer walk = WalkTrough(from + 5);
        cand.peak = HighestIn(ClimbToPeak(scan, from), walk);
        cand.trough = LowestIn(cand.peak, walk);
        const Integer next = restart < kMaxRestarts ? SecondaryWave(cand) : 0;
        if (next == 0) {
            break;
        }
        from = next;
    }
    // The onset walk and the end walk each bound the other's level: a first onset bounds the
    // end, which then bounds the final onset.
    const Integer firstOnset = WalkOnset(scan, cand.peak, X(cand.trough));
    cand.end = WalkEnd(cand.trough, X(firstOnset), X(cand.peak) - X(cand.trough));
    cand.onset = WalkOnset(scan, cand.peak, X(cand.end));
    ExtendBackward(scan, cand);
    ExtendDoublePeak(scan, cand);
    CorrectOnsetAndPeak(cand);
    Finalize(cand);
}

Integer TFilterer::ClimbToPeak(const TDetectScan &scan, Integer p) const {
    Integer low = 5;
    if (scan.count >= 1 && scan.mode != 2) {
        low = std::max(low, S0[scan.L][scan.count]);
    }
    Integer q = p;
    while (true) {
        if (q - 1 >= low && X(q - 1) > X(q)) {
            q -= 1;
        } else if (q - 2 >= low && X(q - 2) > X(q) + 1) {
            q -= 2;
        } else if (q - 3 >= low && X(q - 3) > X(q) + 5) {
            q -= 3;
        } else {
            return q;
        }
    }
}

Integer TFilterer::WalkTrough(Integer from) const {
    const Integer limit = Tmd - 5;
    Integer t = std::min(from, limit);
    while (t < limit) {
        const Integer x = X(t);
        Integer step = 0;
        if (X(t + 1) < x) {
            step = 1;
        } else if (X(t + 2) < x - 1) {
            step = 2;
        } else if (X(t + 3) < x - 5) {
            step = 3;
        } else if (X(t + 5) < x - 6 || X(t + 7) < x - 10) {
            step = 5;
        } else if (X(t + 10) < x - 10 && X(t + 10) <= X(t + 5)) {
            step = 10; // a deeper trough behind a shoulder
        } else if (X(t + 15) < x - 15 && X(t + 15) <= X(t + 10)) {
            step = 15;
        } else {
            break;
        }
        t = std::min(t + step, limit);
    }
    return t;
}

Integer TFilterer::WalkEnd(Integer trough, Integer onsetValue, Integer drop) const {
    const Integer limit = Tmd - 5;
    const bool farRules = trough <= Tmd - 25;
    Integer e = std::min(trough, limit);
    while (e < limit) {
        const Integer x = X(e);
        Integer step = 0;
        if (X(e + 1) > x + 2) {
            step = 1;
        } else if (X(e + 2) > x + 3) {
            step = 2;
        } else if (X(e + 3) > x + 5) {
            step = 3;
        } else if (farRules && X(e + 5) <= onsetValue + 10 && e <= Tmd - 6) {
            const Integer x5 = X(e + 5), x10 = X(e + 10), x15 = X(e + 15);
            if (x5 > x + 6) {
                step = 5;
            } else if (x10 <= onsetValue && e <= Tmd - 16) {
                if (x10 > x + 10 && x10 > x5 + 7) {
                    step = 5;
                } else if (x15 <= onsetValue) {
                    if ((x15 > x + 15 && (x15 > x10 + 10 || x15 > x5 + 20)) ||
                        (x15 > x + 5 && (x15 > x10 + 20 || x15 > x5 + 12))) {
                        step = 10;
                    } else if (onsetValue - x > 0.8 * drop && e <= Tmd - 26 && X(e + 20) > x + 15 &&
                               (X(e + 20) > x15 + 20 || X(e + 25) > x15 + 25)) {
                        step = 15;
                    }
                }
            }
        }
        if (step == 0) {
            break;
        }
        e = std::min(e + step, limit);
    }
    return e;
}

Integer TFilterer::WalkOnset(const TDetectScan &scan, Integer peak, Integer endValue) const {
    Integer low = 6;
    if (scan.count >= 1 && scan.mode != 2) {
        low = std::max(low, std::min(ST[scan.L][scan.count] + 1, peak - 10));
    }
    // Each rule looks back up to `far` samples and moves `step`; the first that holds applies.
    Integer o = peak;
    while (true) {
        const Integer x = X(o);
        auto ok = [&](Integer far, Integer step) { return o - far >= 1 && o - step >= low; };
        Integer step = 0;
        if (ok(1, 1) && X(o - 1) < x - 2) {
            step = 1;
        } else if (ok(2, 2) && X(o - 2) < x - 3) {
            step = 2;
        } else if (ok(3, 3) && X(o - 3) < x - 6) {
            step = 3;
        } else if (ok(5, 5) && X(o - 5) < x - 7) {
            step = 5;
        } else if (ok(10, 5) && X(o - 10) < x - 10 && X(o - 10) < X(o - 5) - 7) {
            step = 5;
        } else if (ok(15, 10) && X(o - 15) < x - 15 &&
                   (X(o - 15) < X(o - 10) - 10 || X(o - 15) < X(o - 5) - 20)) {
            step = 10;
        } else if (ok(15, 10) && X(o - 15) < x - 5 &&
                   (X(o - 15) < X(o - 10) - 10 || X(o - 15) < X(o - 5) - 12)) {
            step = 10;
        } else if (ok(17, 17) && X(o - 17) < x - 10 && X(o - 17) < X(o - 12) - 10 &&
                   X(o - 17) > endValue - 15) {
            step = 17;
        } else if (ok(20, 15) && X(o - 20) < x - 10 && X(o - 20) < X(o - 15) - 10 &&
                   X(o - 20) > endValue - 15) {
            step = 15;
        } else if (ok(22, 17) && X(o - 22) < x - 10 && X(o - 22) < X(o - 17) - 10 &&
                   X(o - 22) > endValue - 15) {
            step = 17;
        } else if (ok(25, 20) && X(o - 25) < x - 10 && X(o - 25) < X(o - 20) - 15 &&
                   X(o - 25) > endValue - 15) {
            step = 20;
        }
        if (step == 0) {
            break;
        }
        o -= step;
    }
    if (X(peak) - X(o) < 7 || peak - o < 2) {
        o = peak;
    }
    return o;
}

// An onset that stopped in the notch of a double-peaked R wave: the first peak, within 15
// samples before it, with an upstroke of at least half the complex's swing and a notch less
// than half as deep, belongs to the complex.
void TFilterer::ExtendBackward(const TDetectScan &scan, TCandidate &cand) const {
    const Integer from = std::max(cand.onset - 15, Integer{6});
    if (from >= cand.onset) {
        return;
    }
    const Integer first = HighestIn(from, cand.onset - 1);
    const Integer onset = WalkOnset(scan, first, X(cand.end));
    const Integer rise = X(first) - X(onset);
    const Integer notch = X(first) - X(cand.onset);
    const Integer D = std::max(X(cand.peak) - X(cand.onset), X(cand.peak) - X(cand.trough));
    if (onset < first && notch > 2 && 2 * notch < rise && 2 * rise >= D) {
        cand.onset = onset;
        if (X(first) > X(cand.peak)) {
            cand.peak = first;
        }
    }
}

namespace {

bool GivenUp(double slope, double swing, double D) {
    return (slope < 2 && swing < 0.6 * D) || (slope < 3 && swing < 0.5 * D);
}

} // namespace

// A second downslope right after the end continues the complex (notched or double-peaked
// QRS); a weak earlier or later part is given up instead.
void TFilterer::ExtendDoublePeak(const TDetectScan &scan, TCandidate &cand) const {
    cand.lowest = cand.trough;
    for (Integer pass = 0; pass < kMaxRestarts; ++pass) {
        // Within 20 samples of the trough: the second half of a notched QRS, not a T wave that
        // the end walk climbed.
        Integer s = 0;
        for (Integer q = std::max(cand.trough + 1, cand.end - 2);
             q <= std::min({cand.end + 5, cand.trough + 20, Tmd - 25}); ++q) {
            if (X(q) - X(q + 5) >= 12) {
                s = q;
                break;
            }
        }
        if (s == 0) {
            return;
        }
        const Integer peak2 = HighestIn(std::max(cand.trough + 1, cand.end - 2), s);
        const Integer trough2 = LowestIn(peak2, WalkTrough(s + 5));
        const Integer swing1 = X(cand.peak) - X(cand.trough);
        const Integer swing2 = X(peak2) - X(trough2);
        const double D1 = std::max(X(cand.peak) - X(cand.onset), swing1);
        const double D2 = std::max(X(peak2) - X(cand.onset), swing2);
        if (trough2 <= peak2 ||
            GivenUp(static_cast<double>(swing2) / (trough2 - peak2), swing2, D1)) {
            return;
        }
        if (GivenUp(static_cast<double>(swing1) / std::max(1, cand.trough - cand.peak), swing1,
                    D2)) {
            cand.peak = peak2;
            cand.trough = cand.lowest = trough2;
            cand.onset = WalkOnset(scan, peak2, X(trough2));
        } else if (X(peak2) > X(cand.peak)) {
            cand.peak = peak2;
            cand.trough = trough2;
            if (X(trough2) < X(cand.lowest)) {
                cand.lowest = trough2;
            }
        } else if (X(trough2) < X(cand.trough)) {
            cand.trough = cand.lowest = trough2;
        }
        cand.end = WalkEnd(trough2, X(cand.onset), swing2);
    }
}

// A slow upslope ending higher than it started starts at its largest fall; a tiny peak
// before a deep fall moves to the largest rise inside the downslope.
void TFilterer::CorrectOnsetAndPeak(TCandidate &cand) const {
    const Integer xo = X(cand.onset);
    const Integer xe = X(cand.end);
    const Integer D = std::max(X(cand.peak) - xo, X(cand.peak) - X(cand.trough));
    if (xe > xo && cand.peak - cand.onset > 20) {
        Integer top = cand.onset, best = 0, bottom = 0, bestTop = 0;
        for (Integer q = cand.onset + 1; q <= cand.peak; ++q) {
            if (X(q) >= X(q - 1)) {
                top = q;
            } else if (X(top) - X(q) > best) {
                best = X(top) - X(q);
                bottom = q;
                bestTop = top;
            }
        }
        // A fall from a hump of half the swing is the notch of a double-peaked R wave.
        if (best > 0 && 2 * (X(bestTop) - xo) < D) {
            cand.onset = bottom;
        }
    } else if (xe < xo && X(cand.peak) - xo < 0.15 * D) {
        Integer base = cand.peak, best = 0, top = 0, bottom = 0;
        for (Integer q = cand.peak + 1; q <= cand.trough; ++q) {
            if (X(q) <= X(q - 1)) {
                base = q;
            } else if (X(q) - X(base) > best) {
                best = X(q) - X(base);
                top = q;
                bottom = base;
            }
        }
        if (best > 4 && top < cand.trough) {
            cand.peak = top;
            cand.onset = bottom;
        }
    }
}

void TFilterer::Finalize(TCandidate &cand) const {
    if (X(cand.lowest) > X(cand.trough) || cand.lowest < cand.peak) {
        cand.lowest = cand.trough;
    }
    const Integer xp = X(cand.peak);
    cand.D = std::max(xp - X(cand.onset), xp - X(cand.trough));
    const double D = cand.D;
    const Integer B = X(cand.onset) - X(cand.end);
    cand.flag = 0;
    if ((B > 80 && (D < 2.0 * B || xp - X(cand.onset) < B)) || D < 1.4 * B) {
        cand.flag = B > 0.8 * D ? 2 : 1;
    } else if (B < -100 || (B < -75 && B < -0.7 * D) || (B < -40 && B < -0.8 * D) || B < -0.9 * D) {
        cand.flag = 2;
    }
    cand.secondary = 0;
    for (Integer q = cand.end + 1; q <= std::min(cand.end + 15, Tmd - 5); ++q) {
        cand.secondary = std::max(cand.secondary, std::abs(X(q) - X(cand.end)));
    }
}

bool TFilterer::Rejected(const TDetectScan &scan, const TCandidate &cand) const {
    const double D = cand.D;
    const double dm = Dmin[scan.L];
    if (cand.D <= 0 || (D < dm / 1.4 && D < 15) || (D < dm / 1.6 && D < 18) ||
        (D < dm / 2 && D < 25)) {
        return true;
    }
    if (RowCount() > 1 && ((D < dm / 1.6 && D < 26) || (D < dm / 1.85 && D < 50))) {
        return true;
    }
    if (IsSpike(cand)) {
        return true;
    }
    // An onset walked back to the start of the row belongs to a wave cut by the record's
    // start (typically the T wave of a complex before position 20), not to a complex.
    if (cand.onset <= 6) {
        return true;
    }
    const Integer pk = cand.peak;
    return cand.trough - pk < 4 && X(pk - 6) - X(pk - 3) > D / 2 && X(pk + 4) - X(pk + 6) > D / 2;
}

// An electrode spike of one to three samples reaches the smoothed row as a pulse whose edges
// each take one step of the averages; no QRS edge is that steep after a five-point mean.
bool TFilterer::IsSpike(const TCandidate &cand) const {
    auto largestStep = [&](Integer from, Integer to, Integer sign) {
        Integer best = 0;
        for (Integer q = from; q < to; ++q) {
            best = std::max(best, sign * (X(q + 1) - X(q)));
        }
        return best;
    };
    // A pulse up (judged on the rise to the peak) or down (on the rise out of the trough)
    // whose edges hold nearly half of its height in one step each.
    const Integer fall = largestStep(cand.peak, cand.trough, -1);
    const Integer up = X(cand.peak) - X(cand.onset);
    const Integer back = X(cand.end) - X(cand.trough);
    const bool pulseUp = up >= 0.5 * cand.D && fall >= 0.45 * up &&
                         largestStep(cand.onset, cand.peak, 1) >= 0.45 * up;
    const bool pulseDown = back >= 0.5 * cand.D && fall >= 0.45 * back &&
                           largestStep(cand.trough, cand.end, 1) >= 0.45 * back;
    return pulseUp || pulseDown;
}

Integer TFilterer::Sharpness(const TCandidate &cand) const {
    if (X(cand.end) - X(cand.trough) < X(cand.peak) - X(cand.onset)) {
        const Integer a = std::max(cand.onset, cand.peak - 5);
        const Integer b = std::min(cand.trough, cand.peak + 5);
        return 2 * X(cand.peak) - X(a) - X(b);
    }
    const Integer a = std::max(cand.peak, cand.trough - 5);
    const Integer b = std::min(cand.end, cand.trough + 5);
    return X(a) + X(b) - 2 * X(cand.trough);
}

Integer TFilterer::SteepestFall(const TCandidate &cand) const {
    if (cand.trough - cand.peak < 11) {
        return cand.D;
    }
    Integer best = 0;
    for (Integer j = cand.peak; j + 5 <= cand.trough; ++j) {
        for (Integer s = 5; s <= 10 && j + s <= cand.trough; ++s) {
            best = std::max(best, X(j) - X(j + s));
        }
    }
    return best;
}

void TFilterer::SkipFlatOnset(TCandidate &cand) const {
    Integer o = cand.onset;
    while (o + 1 <= cand.peak - 5 && std::abs(X(o + 1) - X(o)) < 2) {
        ++o;
    }
    while (o + 2 <= cand.peak - 4 && std::abs(X(o + 2) - X(o)) < 4) {
        o += 2;
    }
    cand.onset = o;
}

Integer TFilterer::FlatResume(const TDetectScan &scan, const TCandidate &cand) const {
    for (Integer j = cand.trough - 5; j >= cand.peak; --j) {
        if (X(j) - X(j + 5) < 2 && j + 5 > scan.lastTrough) {
            return j + 5;
        }
    }
    return cand.trough;
}

// The rules that weigh a candidate against the lead's previous complex, in their order.
Integer TFilterer::NeighbourDecision(TDetectScan &scan, TCandidate &cand) const {
    const Integer L = scan.L, k = scan.count;
    const Integer pR = R[L][k], pS = S0[L][k], pQ = QN[L][k], pE = ST[L][k];
    // The previous complex's swing as the detector measured it: its rise or its fall, the
    // larger (a QS complex or an R without S swings by its rise).
    const double pSwing = std::max(W1[L][k], HR1[L][k]), pDur = Qs1[L][k];
    if (cand.peak <= pE) {
        return kDrop;
    }
    const double D = cand.D;
    Integer W = cand.trough - cand.onset;
    const Integer down = cand.trough - cand.peak, up = cand.peak - cand.onset;
    const Integer afterEnd = cand.onset - pE, afterPeak = cand.peak - pR;
    const Integer sharp = Sharpness(cand);
    const Integer steep = SteepestFall(cand);
    Integer decision = kUndecided;
    if (W > 30 && pS - pQ > 30 && (afterEnd < 60 || afterPeak < 88) &&
        std::abs(X(cand.peak) - X(pR)) <= 20 && std::abs(X(cand.trough) - X(pS)) <= 20 && D > 50 &&
        sharp > 20) {
        decision = kKeep;
    } else if (afterEnd <= 2 && (cand.flag != 0 || (down > 30 && down > pS - pR) || W > 50 ||
                                 (down > 19 && up > 25))) {
        scan.resume = FlatResume(scan, cand);
        return kDrop;
    } else if ((afterEnd < 35 && afterPeak < 50 && cand.flag == 0) ||
               (D > 120 && cand.trough - pS < 40)) {
        decision = D <= 1.13 * pSwing ? kDrop : kReplace;
    } else if (sharp < 50 && W > 65 && afterPeak < 70) {
        return kDrop;
    } else if (afterEnd < 60 || afterPeak < 88) {
        decision = CloseNeighbour(cand, pSwing, pDur, afterEnd, afterPeak, sharp, steep);
    }
    if (decision == kDrop) {
        return kDrop;
    }
    if (W > 30 || W > 1.5 * pDur) {
        SkipFlatOnset(cand);
        W = cand.trough - cand.onset;
    }
    if (decision != kUndecided) {
        return decision;
    }
    if ((afterPeak < 100 && cand.flag == 2) ||
        (W > 1.5 * pDur && ((W > 38 && D < 200) || (W > 25 && D < pSwing / 1.3))) ||
        (afterPeak < 125 && W > 2 * pDur && W > 50 && D < 100 && D < pSwing / 1.3)) {
        return kDrop;
    }
    return kKeep;
}

// Rule (f): a candidate close behind the previous complex.
Integer TFilterer::CloseNeighbour(const TCandidate &cand, double pSwing, double pDur,
                                  Integer afterEnd, Integer afterPeak, Integer sharp,
                                  Integer steep) const {
    const double D = cand.D;
    const Integer W = cand.trough - cand.onset;
    if ((steep < 65 || D < pSwing / 1.4) && (sharp < 45 || (sharp < 65 && W > 1.5 * pDur))) {
        if (D < pSwing / 1.4 || (W > 38 && D < 200) || (W > 30 && D < 200 && afterEnd < 50)) {
            return kDrop;
        }
    }
    if ((W < 1.5 * pDur && cand.flag == 0) || D > 160 || steep > 120) {
        return kKeep;
    }
    if (std::abs(X(cand.onset) - X(cand.end)) > 0.7 * D) {
        return kDrop;
    }
    return afterPeak < 50 ? kReplace : kKeep;
}

// The first sample from `from` towards `to` that reaches level (from above when above is
// set), or the one before it when that lies nearer to the level; `to` when none does.
Integer TFilterer::Crossing(Integer from, Integer to, Integer level, bool above) const {
    const Integer step = to >= from ? 1 : -1;
    for (Integer q = from;; q += step) {
        if (above ? X(q) >= level : X(q) <= level) {
            if (q != from && std::abs(X(q - step) - level) < std::abs(X(q) - level)) {
                return q - step;
            }
            return q;
        }
        if (q == to) {
            return to;
        }
    }
}

void TFilterer::RecordComplex(TDetectScan &scan, const TCandidate &cand, bool replace) {
    const Integer L = scan.L;
    Integer k = scan.count;
    if (scan.mode == 2) {
        k = scan.slot;
        scan.recorded = true;
    } else if (!replace) {
        if (scan.count >= kMaxComplexes) {
            return;
        }
        k = ++scan.count;
    }
    const Integer xo = X(cand.onset);
    R[L][k] = cand.peak;
    S0[L][k] = cand.trough;
    QN[L][k] = cand.onset;
    ST[L][k] = cand.end;
    Qs1[L][k] = cand.end - cand.onset;
    W1[L][k] = X(cand.peak) - X(cand.lowest);
    HR1[L][k] = std::max(0, X(cand.peak) - xo);
    HS1[L][k] = std::max(0, W1[L][k] - HR1[L][k]);
    RVVo1[L][k] = 0;
    if (HR1[L][k] > 0) {
        Integer start = cand.onset;
        for (Integer q = cand.onset; q <= cand.peak; ++q) {
            if (X(q) < X(start)) {
                start = q;
            }
        }
        const Integer v = xo + RoundSaturated<Integer>(0.4 * HR1[L][k]);
        RVVo1[L][k] =
            Crossing(cand.trough, cand.peak, v, true) - Crossing(start, cand.peak, v, true);
    }
    SVVo1[L][k] = 0;
    if (HS1[L][k] > 0) {
        const Integer v = xo - RoundSaturated<Integer>(0.4 * HS1[L][k]);
        SVVo1[L][k] =
            Crossing(cand.end, cand.peak, v, false) - Crossing(cand.peak, cand.end, v, false);
    }
    isk[L][k] = k >= 2 ? DistortionCode(cand) : 0;
    if (scan.mode != 2) {
        Pci[L][k] = 0;
    }
}

Integer TFilterer::DistortionCode(const TCandidate &cand) const {
    if (cand.flag == 0 && cand.secondary <= 70) {
        return 0;
    }
    Integer code = cand.flag != 0 ? 5 : 0;
    const Integer before = std::max(cand.onset - 40, Integer{2});
    const Integer after = std::min(cand.end + 40, Tm0 - 2);
    const Integer change = std::abs(X(after) - X(before));
    if (change > 100 && change > cand.D / 2.0) {
        code = 5;
    }
    if (change > 100 && change > 2.0 * cand.D) {
        code = 4;
    }
    return code;
}

} // namespace ecg
