// Mains interference around and outside the complexes, tremor smoothing and spike removal.
#include "ecg/UFilterer.h"

#include "ecg/UFilterer_p.h"
#include "platform/rtl/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ecg {

using rtl::Integer;
using rtl::SmallInt;

namespace filterer {

void RemoveSpikes(std::span<SmallInt> T, Integer Tm0) {
    if (Tm0 < 12 || static_cast<std::size_t>(Tm0) > T.size()) {
        return;
    }
    Integer c = T[4] - T[3], d = T[5] - T[4], e = T[6] - T[5];
    for (Integer i = 5; i < Tm0 - 5; ++i) {
        T[i] = static_cast<SmallInt>(std::clamp<Integer>(T[i], -32000, 32000));
        const Integer f = T[i + 2] - T[i + 1];
        // Steps reach 65535 either way, so their products need 64 bits.
        const auto product = [](Integer x, Integer y) { return rtl::Int64{x} * y; };
        const bool spike =
            product(d, e) <= 0 && std::abs(d) >= 20 && std::abs(e) >= 20 &&
            (product(c, d) <= 0 || std::abs(c) < 3 || static_cast<double>(d) / c >= 6) &&
            (product(e, f) <= 0 || std::abs(f) < 3 || static_cast<double>(e) / f >= 6);
        if (spike) {
            T[i] = static_cast<SmallInt>(RoundDiv(T[i - 1] + T[i + 1], 2));
            c = T[i] - T[i - 1];
            d = T[i + 1] - T[i];
        } else {
            c = d;
            d = e;
        }
        e = f;
    }
}

// The walks stop at b - 2; samples of -32000 or less carry no data and are passed over.
Integer FindNextMinimum(std::span<const SmallInt> T, Integer f, Integer b) {
    Integer pos = f, count = 0;
    for (Integer i = f + 1; i < b - 2; ++i) {
        const Integer v = T[i];
        if (v <= -32000) {
            continue;
        }
        if (v < T[pos] || (v == T[pos] && i - f <= 5)) {
            pos = i;
            count = 0;
            continue;
        }
        ++count;
        if (pos != f && (count > 3 || v >= T[pos] + 3)) {
            break;
        }
    }
    return pos;
}

Integer FindNextMaximum(std::span<const SmallInt> T, Integer f, Integer b) {
    Integer pos = f, count = 0;
    for (Integer i = f + 1; i < b - 2; ++i) {
        const Integer v = T[i];
        if (v <= -32000) {
            continue;
        }
        if (v > T[pos]) {
            pos = i;
            count = 0;
            continue;
        }
        ++count;
        if (pos != f && (count > 3 || v <= T[pos] - 3)) {
            break;
        }
    }
    return pos;
}

namespace {

struct TOscillation {
    Integer up, down, riseLen, fallLen;
};

// Half-periods too long for tremor count half (at the lower limit) or not at all.
Integer JudgeHalf(Integer swing, Integer length, Integer flag) {
    const Integer drop = flag == 0 ? 20 : 40;
    const Integer halve = flag == 0 ? 16 : 31;
    if (length >= drop) {
        return 0;
    }
    return length >= halve ? static_cast<Integer>(RoundDiv(swing, 2)) : swing;
}

} // namespace

Integer MeasureTremor(std::span<const SmallInt> T, Integer a, Integer b, Integer flag) {
    if (b - a < 30 || a < 0 || static_cast<std::size_t>(b) > T.size()) {
        return 0;
    }
    Integer start = a;
    while (start < b && T[start] == -32000) {
        ++start;
    }
    std::array<TOscillation, 61> osc{};
    Integer n = 0, maxSearches = 0;
    Integer low = FindNextMinimum(T, start, b);
    while (n < 60) {
        ++maxSearches;
        const Integer high = FindNextMaximum(T, low, b);
        if (high == low) {
            break;
        }
        const Integer next = FindNextMinimum(T, high, b);
        if (next == high || next > b - 6) {
            break;
        }
        osc[n++] = {T[high] - T[low], T[high] - T[next], high - low, next - high};
        low = next;
    }
    if (maxSearches < 3 || n == 0) {
        return 0;
    }
    Integer largest = 0;
    for (Integer j = 1; j < n; ++j) {
        if (std::max(osc[j].up, osc[j].down) > std::max(osc[largest].up, osc[largest].down)) {
            largest = j;
        }
    }
    Integer counted = 0, sum = 0;
    for (Integer j = 0; j < n; ++j) {
        if (j == largest) {
            continue;
        }
        const Integer up = JudgeHalf(osc[j].up, osc[j].riseLen, flag);
        const Integer down = JudgeHalf(osc[j].down, osc[j].fallLen, flag);
        if ((up < 1 && down < 2) || (up < 2 && down < 1)) {
            continue;
        }
        ++counted;
        sum += up + down;
    }
    if (counted < 2 || static_cast<double>(counted + 1) / (b - a) < 0.04) {
        return 0;
    }
    return static_cast<Integer>(RoundDiv(sum, 2 * counted));
}

double TremorWeight(Integer level) {
    if (level <= 3) {
        return 5.5;
    }
    if (level <= 5) {
        return 1.8;
    }
    return level <= 11 ? 1.6 : 1.4;
}

void SmoothThreePoint(std::span<SmallInt> T, Integer Tm0, double w, std::span<Integer> M) {
    if (Tm0 < 3 || static_cast<std::size_t>(Tm0) > std::min(T.size(), M.size())) {
        return;
    }
    std::copy_n(T.begin(), Tm0, M.begin());
    // In tenths the weighted mean is an exact fraction, so its halves round to even.
    const rtl::Int64 w10 = rtl::RoundSaturated<rtl::Int64>(w * 10);
    for (Integer i = 1; i <= Tm0 - 2; ++i) {
        T[i] = static_cast<SmallInt>(
            RoundDiv(10 * (rtl::Int64{M[i - 1]} + M[i + 1]) + w10 * M[i], 20 + w10));
    }
}

} // namespace filterer

namespace {

SmallInt Wrap16(rtl::Int64 v) {
    return rtl::WrapToSmallInt(v);
}

// One phase of the mains template: the mean of r at origin + m x stride (m = 1 to 4) in the
// 16-bit sums the correction has always used, and the fit error over m = 2 to 4.
template <class Residual>
Integer FitPhase(const Residual &r, Integer origin, Integer stride, Integer &value) {
    rtl::Int64 sum = 0;
    for (Integer m = 1; m <= 4; ++m) {
        sum += r(origin + m * stride);
    }
    value = static_cast<Integer>(filterer::RoundDiv(Wrap16(sum), 4));
    Integer error = 0;
    for (Integer m = 2; m <= 4; ++m) {
        error += std::abs(Integer{Wrap16(r(origin + m * stride) - value)});
    }
    return error;
}

} // namespace

void TFilterer::SuppressAroundComplexes(Integer c) {
    for (Integer r = 1; r <= RowCount(); ++r) {
        const Integer L = ColumnLead(c, r);
        if (!LeadExists(L)) {
            continue;
        }
        // The column's cycles, not the lead's own count: they differ for one lead per row.
        for (Integer k = 1; k <= Cikl[c]; ++k) {
            if (R[L][k] > 0 && QN[L][k] > 0 && ST[L][k] > 0) {
                SuppressComplex(L, k, Cikl[c]);
            }
        }
    }
}

// The mains pattern (period five samples) of the residual that the averages took away, from
// four periods before the onset and four after the end, interpolated across the complex.
void TFilterer::SuppressComplex(Integer L, Integer k, Integer last) {
    const std::vector<SmallInt> &tf = Tf[L];
    std::vector<SmallInt> &t = T[L];
    auto r = [&](Integer i) { return Integer{tf[i]} - Integer{t[i]}; };
    const Integer Q = QN[L][k], E = ST[L][k];
    std::array<Integer, 6> B{}, A{};
    Integer J = 0, Jb = 0;
    const bool before = Q > 25;
    const Integer S = Q - 10;
    Integer N = E + 5;
    if (const Integer d = (N - S) % 5; d > 0) {
        N = E + 10 - d;
    }
    const bool after = N < Tm0 - 25;
    if (!before && !after) {
        return; // no room for a template on either side
    }
    for (Integer p = 1; p <= 5; ++p) {
        if (before) {
            Jb += FitPhase(r, Q - 5 + p, -5, B[p]);
        }
        if (after) {
            J += FitPhase(r, N + p, 5, A[p]);
        }
    }
    J += Jb;
    if (!after) {
        A = B;
        J *= 2;
    } else if (!before) {
        B = A;
        J *= 2;
    }
    Integer high = 0, low = 0;
    for (Integer p = 1; p <= 5; ++p) {
        const Integer most = std::max(A[p], B[p]);
        Asin[L] = static_cast<SmallInt>(std::max<Integer>(Asin[L], most));
        high = std::max(high, most);
        low = std::min({low, A[p], B[p]});
    }
    const Integer H = high - low;
    if (J > 90 || Jb > 24 || H > 100 || (J > 60 && H > 60)) {
        return;
    }
    if (H > 30) {
        QN[L][k] += 5;
        ST[L][k] -= 5;
    }
    const Integer span = N - S; // a positive multiple of 5 for any complex with E > Q - 15
    if (span <= 0) {
        return;
    }
    for (Integer i = std::max(QN[L][k] - 1, Integer{1}); i <= ST[L][k] + 1; ++i) {
        Integer p = (i - S) % 5;
        p = p <= 0 ? p + 5 : p;
        // One exact fraction, so halves round to even.
        const auto v = static_cast<Integer>(
            filterer::RoundDiv(rtl::Int64{B[p]} * (N - i) + rtl::Int64{A[p]} * (i - S), span));
        t[i] = rtl::SaturateToSmallInt(Integer{tf[i]} - v);
    }
    RecordSteps(L, k, last);
}

// The largest clean one-sample step around the complex: a jump of more than 25 units between
// flat neighbours.
void TFilterer::RecordSteps(Integer L, Integer k, Integer last) {
    const std::vector<SmallInt> &t = T[L];
    Integer stop = std::min(ST[L][k] + 70, Tm0 - 3);
    if (k < last) {
        stop = std::min(stop, QN[L][k + 1] - 20);
    }
    for (Integer i = std::max(QN[L][k] - 40, Integer{3}); i < stop; ++i) {
        const Integer d = t[i + 1] - t[i];
        const double small = 0.05 * std::abs(d);
        if (std::abs(d) > 25 && std::abs(t[i] - t[i - 1]) < small &&
            std::abs(t[i + 2] - t[i + 1]) < small && std::abs(t[i] - t[i - 2]) < small &&
            std::abs(t[i + 3] - t[i + 1]) < small) {
            Pomeha[L][k] = rtl::SaturateToSmallInt(std::max<Integer>(Pomeha[L][k], std::abs(d)));
        }
    }
}

void TFilterer::SmoothTremor(Integer c) {
    for (Integer r = 1; r <= RowCount(); ++r) {
        const Integer L = ColumnLead(c, r);
        if (LeadExists(L)) {
            SmoothLeadTremor(L, c);
        }
    }
}

void TFilterer::SmoothLeadTremor(Integer L, Integer c) {
    Integer longSegments = 0;
    for (Integer k = 2; k <= Cikl[c]; ++k) {
        if (R[L][k] <= 0 || QN[L][k] <= 0 || R[L][k - 1] <= 0 || ST[L][k - 1] <= 0) {
            continue;
        }
        const Integer a = ST[L][k - 1] + 50, b = QN[L][k] - 20;
        dl_trem[L][k] = rtl::SaturateToSmallInt(b - a);
        Trem_vc[L][k] = rtl::SaturateToSmallInt(filterer::MeasureTremor(T[L], a, b, 0));
        longSegments += b - a > 29 ? 1 : 0;
    }
    const Integer minimum = longSegments > Cikl[c] * 0.5 ? 30 : 20;
    Integer n = 0, sum = 0;
    for (Integer k = 2; k <= Cikl[c]; ++k) {
        if (dl_trem[L][k] >= minimum) {
            ++n;
            sum += Trem_vc[L][k];
        }
    }
    if (!(n > ktime * 2)) {
        return;
    }
    const Integer level = static_cast<Integer>(filterer::RoundDiv(sum, n));
    if (level <= 0) {
        return;
    }
    TremLevel[L] = level;
    filterer::SmoothThreePoint(T[L], Tm0, filterer::TremorWeight(level), MT);
}

void TFilterer::RemoveSpikesAllLeads() {
    for (Integer L = 1; L <= 12; ++L) {
        if (LeadExists(L)) {
            filterer::RemoveSpikes(T[L], Tm0);
        }
    }
}

namespace {

// Five rows of one period each, oldest first by age; the template per phase is the mean of
// the three rows nearest to the mean of all five.
struct TMainsRing {
    std::array<std::array<Integer, 5>, 5> rows{};
    std::array<Integer, 5> age{}; // larger: read later
    Integer reads = 0;

    void Add(const std::array<Integer, 5> &row) {
        Integer slot = 0;
        for (Integer j = 1; j < 5; ++j) {
            if (age[j] < age[slot]) {
                slot = j;
            }
        }
        rows[slot] = row;
        age[slot] = ++reads;
    }

    std::array<Integer, 5> Template() const {
        std::array<Integer, 5> result{};
        for (Integer p = 0; p < 5; ++p) {
            Integer sum = 0;
            for (const auto &row : rows) {
                sum += row[p];
            }
            const Integer mean = static_cast<Integer>(filterer::RoundDiv(sum, 5));
            std::array<Integer, 5> order = {0, 1, 2, 3, 4};
            std::sort(order.begin(), order.end(), [&](Integer x, Integer y) {
                const Integer dx = std::abs(rows[x][p] - mean), dy = std::abs(rows[y][p] - mean);
                return dx != dy ? dx > dy : age[x] > age[y];
            });
            const Integer kept = sum - rows[order[0]][p] - rows[order[1]][p];
            result[p] = static_cast<Integer>(filterer::RoundDiv(kept, 3));
        }
        return result;
    }
};

} // namespace

void TFilterer::SuppressMainsOutsideQRS(Integer c) {
    for (Integer r = 1; r <= RowCount(); ++r) {
        const Integer L = ColumnLead(c, r);
        if (!LeadExists(L)) {
            continue;
        }
        if (Patol > 0) {
            Cikl[c] = 1;
            QN[L][1] = Tm0;
        }
        SuppressLeadMains(L, Cikl[c]);
    }
}

void TFilterer::SuppressLeadMains(Integer L, Integer complexes) {
    const std::vector<SmallInt> &tf = Tf[L];
    std::vector<SmallInt> &t = T[L];
    Integer readPos = 3, watched = 1;
    TMainsRing ring;
    auto readRow = [&]() {
        // Jumps over every complex whose onset the read position has reached, in whole periods.
        while (watched <= complexes && QN[L][watched] <= readPos) {
            if (QN[L][watched] > 0 && ST[L][watched] > 0) {
                while (readPos <= ST[L][watched] && readPos < Tm0 - 5) {
                    readPos += 5;
                }
            }
            ++watched;
        }
        if (readPos + 4 >= Tm0 - 2) {
            readPos = Tm0 - 2;
            return false;
        }
        std::array<Integer, 5> row{};
        for (Integer p = 0; p < 5; ++p) {
            row[p] = Integer{tf[readPos + p]} - Integer{t[readPos + p]};
        }
        ring.Add(row);
        readPos += 5;
        return true;
    };
    for (Integer n = 0; n < 5; ++n) {
        readRow();
    }
    std::array<Integer, 5> mains = ring.Template();
    for (Integer i = 3; readPos < Tm0 - 2; ++i) {
        if (readPos - i < 12 && readRow()) {
            mains = ring.Template();
        }
        t[i] = rtl::SaturateToSmallInt(Integer{tf[i]} - mains[(i - 3) % 5]);
    }
}

} // namespace ecg
