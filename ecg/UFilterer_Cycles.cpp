// The QRS analysis of one column: two detector passes per lead, lead ranking, common cardiac
// cycles confirmed across leads, pruning, and the targeted search for missed complexes.
#include "ecg/UFilterer.h"

#include "ecg/UFilterer_p.h"

#include "platform/rtl/Rounding.h"

#include <algorithm>
#include <cstdlib>

namespace ecg {

using rtl::Integer;

namespace {

// Positions of two leads closer than this are the same beat.
constexpr Integer kTolerance = 40;

} // namespace

void TFilterer::AnalyseQRS(Integer c) {
    Tmd = Tm0 - 4;
    const Integer rows = RowCount();
    for (Integer r = 1; r <= rows; ++r) {
        const Integer L = ColumnLead(c, r);
        if (LeadExists(L)) {
            ClearLeadTables(L);
        }
    }
    for (Integer r = 1; r <= rows; ++r) {
        const Integer L = ColumnLead(c, r);
        if (LeadExists(L)) {
            FirstAndSecondPass(L);
        }
    }
    RankLeads(c);
    Integer b = std::min<Integer>(rows, 3);
    while (b > 0 && Hr0[ms_[c][b]] == 0 && Hs0[ms_[c][b]] == 0) {
        --b;
    }
    Cikl[c] = 0;
    R_.fill(0);
    if (b == 0) {
        Patol = 1;
        return;
    }
    BuildCommonCycles(c, b);
    if (rows != 1) {
        AddFurtherCycles(c);
        PruneUncycled(c);
        FillGaps(c);
    }
    Tmd = Tm0 - 4;
}

// Complexes 0 to upTo of lead L.
void TFilterer::ClearLeadTables(Integer L, Integer upTo) {
    Cin[L] = 0;
    for (TComplexTable *table :
         {&Pci, &isk, &QN, &R, &S0, &ST, &Qs1, &HR1, &HS1, &W1, &RVVo1, &SVVo1}) {
        std::fill_n((*table)[L].begin(), upTo + 1, 0);
    }
}

void TFilterer::FillDetectionRow(Integer L) {
    const Integer copied = std::min(FSamples, t2700);
    std::copy_n(T[L].begin(), copied, PT.begin());
    std::fill(PT.begin() + copied, PT.begin() + t2700, 0);
}

void TFilterer::FirstAndSecondPass(Integer L) {
    Dmin[L] = 0;
    FillDetectionRow(L);
    DetectQRS(1, L, 0, 0);
    std::array<Integer, 3> top{}; // D0 >= D2 >= D3
    for (Integer k = 1; k <= Cin[L]; ++k) {
        Integer v = W1[L][k];
        for (Integer &kept : top) {
            if (v > kept) {
                std::swap(v, kept);
            }
        }
    }
    if (top[2] < 30 && 5 * top[2] < top[1]) {
        top[2] = top[1];
    }
    Dw0[L] = top[1];
    Dmin[L] = top[2];
    if (RowCount() == 1) {
        RRStatistics(L);
    }
    ClearLeadTables(L, 15); // the first pass records at most 15
    DetectQRS(0, L, 0, 0);
    std::array<Integer, 3> hr{}, hs{};
    Integer early = 0;
    for (Integer k = 1; k <= Cin[L] && R[L][k] < 2500; ++k, ++early) {
        Integer a = HR1[L][k], s = HS1[L][k];
        for (Integer i = 0; i < 3; ++i) {
            if (a > hr[i]) {
                std::swap(a, hr[i]);
            }
            if (s > hs[i]) {
                std::swap(s, hs[i]);
            }
        }
    }
    Hr0[L] = early >= 3 ? hr[2] : 0;
    Hs0[L] = early >= 3 ? hs[2] : 0;
}

// One lead per row: regular RR intervals give the rhythm, and the swings of complexes that
// stand between two long intervals raise the detection floor.
void TFilterer::RRStatistics(Integer L) {
    const Integer n = Cin[L];
    Integer sum = 0, count = 0;
    for (Integer k = 2; k <= n; ++k) {
        RRci[k] = R[L][k] - R[L][k - 1];
    }
    for (Integer k = 2; k < n; ++k) {
        const double ratio = static_cast<double>(RRci[k]) / std::max(1, RRci[k + 1]);
        if (ratio > 0.8 && ratio < 1.2) {
            sum += RRci[k];
            ++count;
        }
    }
    RR = count > 0 ? static_cast<Integer>(filterer::RoundDiv(sum, count)) : 0;
    rr_p = std::min(rtl::RoundSaturated<Integer>(0.95 * RR), 90);
    Integer floor = 0;
    for (Integer k = 2; k < n; ++k) {
        if (RRci[k] > rr_p && RRci[k + 1] > rr_p && (HR1[L][k] > 14 || HS1[L][k] > 14) &&
            W1[L][k] > 39) {
            floor = floor == 0 ? W1[L][k] : std::min(floor, W1[L][k]);
        }
    }
    if (floor > 0) {
        Dmin[L] = std::min({std::max(Dmin[L], floor / 2), Integer{999}, Dw0[L]});
    }
}

void TFilterer::RankLeads(Integer c) {
    const Integer rows = std::min<Integer>(RowCount(), 12);
    std::array<bool, 13> ranked{};
    ms_[c].fill(0);
    for (Integer rank = 1; rank <= rows; ++rank) {
        Integer best = 0, bestValue = -1;
        for (Integer r = 1; r <= rows; ++r) {
            const Integer L = ColumnLead(c, r);
            if (!LeadExists(L) || ranked[L]) {
                continue;
            }
            const Integer value = std::max(Hr0[L], Hs0[L]);
            if (value >= bestValue) {
                best = L;
                bestValue = value;
            }
        }
        if (best == 0) {
            break;
        }
        ranked[best] = true;
        ms_[c][rank] = static_cast<rtl::Byte>(best);
    }
}

Integer TFilterer::MainPosition(Integer L, Integer k) const {
    if (HS1[L][k] != HR1[L][k]) {
        return HS1[L][k] > HR1[L][k] ? S0[L][k] : R[L][k];
    }
    return (L == FRef1 || L == FRef2) ? R[L][k] : S0[L][k];
}

// The first complex of lead L without a cycle whose main position lies within the tolerance
// of P, nearer to P than to nextP (0: none) and than the lead's next complex; 0 when none.
Integer TFilterer::FindMatch(Integer L, Integer P, Integer nextP) const {
    const Integer *first = &S0[L][1];
    const Integer *last = first + Cin[L];
    // S0 and R grow with k, and R <= main position <= S0.
    Integer k =
        1 + static_cast<Integer>(
                std::partition_point(first, last, [&](Integer s) { return s <= P - kTolerance; }) -
                first);
    for (; k <= Cin[L] && R[L][k] < P + kTolerance; ++k) {
        if (Pci[L][k] != 0) {
            continue;
        }
        const Integer q = MainPosition(L, k);
        const Integer dist = std::abs(q - P);
        if (dist >= kTolerance) {
            continue;
        }
        if (nextP != 0 && dist >= std::abs(q - nextP)) {
            continue;
        }
        if (k < Cin[L] && dist >= std::abs(MainPosition(L, k + 1) - P)) {
            continue;
        }
        return k;
    }
    return 0;
}

void TFilterer::ChooseReferenceLeads(Integer c, Integer b) {
    const Integer top = ms_[c][1];
    const double A = std::max(Hr0[top], Hs0[top]);
    FRef1 = FRef2 = 0;
    for (Integer rank = 1; rank <= b; ++rank) {
        const Integer L = ms_[c][rank];
        if (!(Hr0[L] > 0.45 * A || Hs0[L] > 0.45 * A)) {
            continue;
        }
        if (FRef1 == 0 || Cin[L] > Cin[FRef1]) {
            FRef2 = FRef1;
            FRef1 = L;
        } else if (FRef2 == 0 || Cin[L] > Cin[FRef2]) {
            FRef2 = L;
        }
    }
    if (FRef1 == 0) {
        FRef1 = top;
    }
    if (FRef2 == 0) {
        FRef2 = FRef1;
    }
}

void TFilterer::BuildCommonCycles(Integer c, Integer b) {
    ChooseReferenceLeads(c, b);
    const Integer A = FRef1, B = FRef2;
    Integer i = 1, j = 1;
    while (i <= Cin[A] || (B != A && j <= Cin[B])) {
        const Integer pa = i <= Cin[A] ? MainPosition(A, i) : INT32_MAX;
        const Integer pb = (B != A && j <= Cin[B]) ? MainPosition(B, j) : INT32_MAX;
        Integer own = A, P = pa, next = 0;
        if (std::abs(pa - pb) < kTolerance) {
            ++i;
            ++j;
            next = i <= Cin[A] ? MainPosition(A, i) : 0;
        } else if (pa < pb) {
            ++i;
            next = i <= Cin[A] ? MainPosition(A, i) : 0;
        } else {
            own = B;
            P = pb;
            ++j;
            next = j <= Cin[B] ? MainPosition(B, j) : 0;
        }
        TryCommonCycle(c, own, P, next);
    }
    for (Integer n = 1; n <= Cikl[c]; ++n) {
        CycleId[n] = n;
    }
    FCycleIds = Cikl[c];
    Integer sum = 0, count = 0;
    for (Integer n = 1; n < Cikl[c]; ++n) {
        if (R_[n] > 0 && R_[n + 1] > 0) {
            sum += R_[n + 1] - R_[n];
            ++count;
        }
    }
    R_R = count > 0 ? static_cast<Integer>(filterer::RoundDiv(sum, count)) : 0;
}

void TFilterer::TryCommonCycle(Integer c, Integer own, Integer P, Integer next) {
    const Integer rows = RowCount();
    Integer confirming = 0;
    for (Integer r = 1; r <= rows; ++r) {
        const Integer L = ColumnLead(c, r);
        if (L != own && LeadExists(L) && FindMatch(L, P, next) != 0) {
            ++confirming;
        }
    }
    if (confirming < str_3 || Cikl[c] >= kMaxComplexes) {
        return;
    }
    const Integer cycle = ++Cikl[c];
    R_[cycle] = P;
    for (Integer r = 1; r <= rows; ++r) {
        const Integer L = ColumnLead(c, r);
        if (!LeadExists(L)) {
            continue;
        }
        const Integer k = FindMatch(L, P, next);
        if (k != 0) {
            Pci[L][k] = cycle;
        }
    }
}

// Complexes of lead L without a cycle whose R lies within the tolerance of P: [first, last).
std::pair<Integer, Integer> TFilterer::NearRange(Integer L, Integer P) const {
    const Integer *first = &R[L][1];
    const Integer *last = first + Cin[L];
    const Integer *lo =
        std::partition_point(first, last, [&](Integer v) { return v <= P - kTolerance; });
    const Integer *hi =
        std::partition_point(lo, last, [&](Integer v) { return v < P + kTolerance; });
    return {1 + static_cast<Integer>(lo - first), 1 + static_cast<Integer>(hi - first)};
}

Integer TFilterer::CountUncycledNear(Integer c, Integer ownLead, Integer P) const {
    Integer n = 0;
    for (Integer r = 1; r <= RowCount(); ++r) {
        const Integer L = ColumnLead(c, r);
        if (L == ownLead || !LeadExists(L)) {
            continue;
        }
        const auto [from, to] = NearRange(L, P);
        for (Integer k = from; k < to; ++k) {
            n += Pci[L][k] == 0 ? 1 : 0;
        }
    }
    return n;
}

bool TFilterer::RoomForMissedBeat(Integer c, Integer Rpos) const {
    const Integer *first = &R_[1];
    const Integer *last = first + Cikl[c];
    const Integer after = static_cast<Integer>(std::lower_bound(first, last, Rpos) - first);
    // R_[after] is the last cycle before Rpos (1-based), R_[after + 1] the one after it.
    if (after < 1 || after >= Cikl[c]) {
        return false;
    }
    return R_[after + 1] - R_[after] > 1.7 * R_R;
}

void TFilterer::AddFurtherCycles(Integer c) {
    for (Integer rank = 1; rank <= std::min<Integer>(str_11, 12); ++rank) {
        const Integer L = ms_[c][rank];
        if (L == 0) {
            continue;
        }
        for (Integer k = 1; k <= Cin[L]; ++k) {
            if (Pci[L][k] != 0) {
                continue;
            }
            const Integer P = MainPosition(L, k);
            const Integer n = CountUncycledNear(c, L, P);
            const bool relaxed = n == str_3 || (L == FRef1 && (n > 0 || strok_r < 12));
            if (!(n > str_3 || (relaxed && RoomForMissedBeat(c, R[L][k])))) {
                continue;
            }
            if (Cikl[c] >= kMaxComplexes) {
                break;
            }
            const Integer id = InsertCycle(c, P);
            Pci[L][k] = id;
            for (Integer r = 1; r <= RowCount(); ++r) {
                const Integer other = ColumnLead(c, r);
                if (!LeadExists(other)) {
                    continue;
                }
                const auto [from, to] = NearRange(other, P);
                for (Integer m = from; m < to; ++m) {
                    if (Pci[other][m] == 0) {
                        Pci[other][m] = id;
                    }
                }
            }
        }
    }
    RenumberCycles(c);
}

// Inserts a cycle at P in position order and returns its creation number; cycle numbers in
// Pci are creation numbers until RenumberCycles turns them into ranks.
Integer TFilterer::InsertCycle(Integer c, Integer P) {
    const Integer n = Cikl[c];
    const Integer at = 1 + static_cast<Integer>(std::upper_bound(&R_[1], &R_[1] + n, P) - &R_[1]);
    std::copy_backward(&R_[at], &R_[n] + 1, &R_[n] + 2);
    std::copy_backward(&CycleId[at], &CycleId[n] + 1, &CycleId[n] + 2);
    R_[at] = P;
    CycleId[at] = ++FCycleIds;
    Cikl[c] = n + 1;
    return FCycleIds;
}

void TFilterer::RenumberCycles(Integer c) {
    for (Integer j = 1; j <= Cikl[c]; ++j) {
        CycleRank[CycleId[j]] = j;
    }
    for (Integer r = 1; r <= RowCount(); ++r) {
        const Integer L = ColumnLead(c, r);
        if (!LeadExists(L)) {
            continue;
        }
        for (Integer k = 1; k <= Cin[L]; ++k) {
            if (Pci[L][k] != 0) {
                Pci[L][k] = CycleRank[Pci[L][k]];
            }
        }
    }
    for (Integer j = 1; j <= Cikl[c]; ++j) {
        CycleId[j] = j;
    }
    FCycleIds = Cikl[c];
}

void TFilterer::MoveComplex(Integer L, Integer from, Integer to) {
    for (TComplexTable *table :
         {&R, &S0, &ST, &QN, &W1, &Qs1, &RVVo1, &SVVo1, &HR1, &HS1, &isk, &Pci}) {
        (*table)[L][to] = (*table)[L][from];
    }
}

void TFilterer::ZeroComplex(Integer L, Integer k) {
    for (TComplexTable *table :
         {&R, &S0, &ST, &QN, &W1, &Qs1, &RVVo1, &SVVo1, &HR1, &HS1, &isk, &Pci}) {
        (*table)[L][k] = 0;
    }
}

void TFilterer::PruneUncycled(Integer c) {
    for (Integer r = 1; r <= RowCount(); ++r) {
        const Integer L = ColumnLead(c, r);
        if (!LeadExists(L)) {
            continue;
        }
        Integer kept = 0;
        for (Integer k = 1; k <= Cin[L]; ++k) {
            if (Pci[L][k] != 0) {
                MoveComplex(L, k, ++kept);
            }
        }
        for (Integer k = kept + 1; k <= Cin[L]; ++k) {
            ZeroComplex(L, k);
        }
        Cin[L] = kept;
    }
}

void TFilterer::FillGaps(Integer c) {
    for (Integer r = 1; r <= RowCount(); ++r) {
        const Integer L = ColumnLead(c, r);
        if (LeadExists(L)) {
            FillLeadGaps(L, c);
        }
    }
}

// Inserts an empty complex for every cycle the lead missed, each before the first complex of a
// later cycle, then searches each one in its window.
void TFilterer::FillLeadGaps(Integer L, Integer c) {
    std::array<bool, kMaxComplexes + 1> &has = FHasCycle;
    std::fill_n(has.begin(), Cikl[c] + 1, false);
    for (Integer k = 1; k <= Cin[L]; ++k) {
        has[Pci[L][k]] = true;
    }
    // New index of every kept complex; inserted complexes take the free indices.
    std::array<Integer, kMaxComplexes + 1> &newIndex = FNewIndex;
    Integer j = 1, total = 0;
    for (Integer k = 1; k <= Cin[L]; ++k) {
        for (; j < Pci[L][k]; ++j) {
            total += (!has[j] && total < kMaxComplexes) ? 1 : 0;
        }
        newIndex[k] = ++total;
    }
    Integer missingAfter = 0;
    for (; j <= Cikl[c]; ++j) {
        missingAfter += !has[j] ? 1 : 0;
    }
    total = std::min(total + missingAfter, kMaxComplexes);
    if (total == Cin[L]) {
        return;
    }
    for (Integer k = Cin[L]; k >= 1; --k) {
        MoveComplex(L, k, newIndex[k]);
    }
    // Walk again, zeroing the free indices and filing them under the missed cycles.
    Integer next = 1, cycle = 1;
    FInserted.fill(false);
    for (Integer k = 1; k <= total; ++k) {
        if (next <= Cin[L] && newIndex[next] == k) {
            ++next;
            continue;
        }
        while (cycle <= Cikl[c] && has[cycle]) {
            ++cycle;
        }
        ZeroComplex(L, k);
        Pci[L][k] = cycle;
        has[cycle] = true;
        FInserted[k] = true;
    }
    Cin[L] = total;
    Dmin[L] = 0;
    FillDetectionRow(L);
    for (Integer k = 1; k <= total; ++k) {
        if (FInserted[k]) {
            SearchInsertedComplex(L, k);
        }
    }
}

void TFilterer::SearchInsertedComplex(Integer L, Integer k) {
    const Integer expected = R_[Pci[L][k]];
    Integer start = std::max(expected - 25, Integer{7});
    if (k > 1) {
        start = std::max(start, R[L][k - 1] + kTolerance);
    }
    Integer end = std::min(expected + 60, Tm0 - 4);
    for (Integer m = k + 1; m <= Cin[L]; ++m) {
        if (!FInserted[m]) {
            if (R[L][m] > 0) {
                end = std::min(end, R[L][m] - kTolerance);
            }
            break;
        }
    }
    if (start >= end) {
        return;
    }
    Tmd = end;
    DetectQRS(2, L, k, start);
    Tmd = Tm0 - 4;
}

} // namespace ecg
