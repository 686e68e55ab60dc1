// Internals of the signal conditioner: the per-lead filters, shared by its units and tests.
#pragma once

#include "platform/rtl/System.h"

#include <cstdint>
#include <span>

namespace ecg::filterer {

// num / den rounded to the nearest integer, halves to even; den > 0.
constexpr rtl::Int64 RoundDiv(rtl::Int64 num, rtl::Int64 den) {
    rtl::Int64 q = num / den;
    rtl::Int64 r = num % den;
    if (r < 0) {
        q -= 1;
        r += den;
    }
    if (2 * r > den || (2 * r == den && (q & 1) != 0)) {
        q += 1;
    }
    return q;
}

// Moving averages over T[0..Tm0-1] (Tm0 >= 5, Tm0 <= T.size(), MT.size()): the five-point mean
// (at 250 samples per second it cancels 50 Hz) and the four-point mean taken from i - 2 to
// i + 1; positions 0..1 repeat position 2, Tm0-2..Tm0-1 repeat Tm0-3. MT is scratch.
void MovingAverage5(std::span<rtl::SmallInt> T, rtl::Integer Tm0, std::span<rtl::Integer> MT);
void MovingAverage4(std::span<rtl::SmallInt> T, rtl::Integer Tm0, std::span<rtl::Integer> MT);

// Sum of the swings of oscillations with a period of four samples (about 60 Hz at 250 Hz) that
// repeat at i - 4 and i + 4; 0 for Tm0 < 15.
rtl::Int64 OscillationMeasure(std::span<const rtl::SmallInt> T, rtl::Integer Tm0);

// Clamps T[5..Tm0-6] to -32000..32000 and replaces isolated one-sample spikes (steps of 20 or
// more into and out of a sample, in opposite directions, not part of a steeper slope) by the
// mean of their neighbours.
void RemoveSpikes(std::span<rtl::SmallInt> T, rtl::Integer Tm0);

// Tremor level of the segment a..b of T (b < T.size()): the mean swing of its small fast
// oscillations, 0 when the segment is shorter than 30 samples or oscillates less than once per
// 25 samples. flag 0 discounts half-periods of 16 to 19 samples and drops longer ones; a
// non-zero flag uses 31 to 39 and 40.
rtl::Integer MeasureTremor(std::span<const rtl::SmallInt> T, rtl::Integer a, rtl::Integer b,
                           rtl::Integer flag);
rtl::Integer FindNextMinimum(std::span<const rtl::SmallInt> T, rtl::Integer f, rtl::Integer b);
rtl::Integer FindNextMaximum(std::span<const rtl::SmallInt> T, rtl::Integer f, rtl::Integer b);

// Centre weight of the three-point tremor smoothing for a tremor level (> 0).
double TremorWeight(rtl::Integer level);
// T[i] = (M[i-1] + w M[i] + M[i+1]) / (w + 2) for i = 1..Tm0-2, M a copy of T (scratch).
void SmoothThreePoint(std::span<rtl::SmallInt> T, rtl::Integer Tm0, double w,
                      std::span<rtl::Integer> M);

} // namespace ecg::filterer
