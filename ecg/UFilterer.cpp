// The signal conditioner's set-up, lead layout, front-end smoothing and stage order.
#include "ecg/UFilterer.h"

#include "ecg/UFilterer_p.h"

#include <algorithm>
#include <cmath>

namespace ecg {

using rtl::Integer;
using rtl::SmallInt;

namespace {

// Column layouts: lead number of each slot; slot = (column - 1) x Strok + row.
constexpr std::array<Integer, 12> kIdentityLayout = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
constexpr std::array<Integer, 12> kTwoColumnLayout = {1, 2, 3, 7, 8, 9, 4, 5, 6, 10, 11, 12};
constexpr std::array<Integer, 12> kThreeColumnLayout = {1, 2, 7, 8, 3, 4, 9, 10, 5, 6, 11, 12};

// Confirming leads and ranked leads that may start cycles, by leads per row (1 to 12).
constexpr std::array<Integer, 13> kStr3 = {0, 1, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3};
constexpr std::array<Integer, 13> kStr11 = {0, 1, 2, 3, 3, 4, 5, 6, 7, 8, 9, 10, 11};

} // namespace

namespace filterer {

void MovingAverage5(std::span<SmallInt> T, Integer Tm0, std::span<Integer> MT) {
    if (Tm0 < 5 || static_cast<std::size_t>(Tm0) > std::min(T.size(), MT.size())) {
        return;
    }
    // No sum of five integers divided by five ends in a half, so the integer rounding equals
    // rounding the product with 0.2.
    Integer sum = T[0] + T[1] + T[2] + T[3];
    for (Integer i = 2; i <= Tm0 - 3; ++i) {
        sum += T[i + 2];
        MT[i] = static_cast<Integer>(RoundDiv(sum, 5));
        sum -= T[i - 2];
    }
    MT[0] = MT[1] = MT[2];
    MT[Tm0 - 2] = MT[Tm0 - 1] = MT[Tm0 - 3];
    for (Integer i = 0; i < Tm0; ++i) {
        T[i] = static_cast<SmallInt>(MT[i]);
    }
}

void MovingAverage4(std::span<SmallInt> T, Integer Tm0, std::span<Integer> MT) {
    if (Tm0 < 5 || static_cast<std::size_t>(Tm0) > std::min(T.size(), MT.size())) {
        return;
    }
    Integer sum = T[0] + T[1] + T[2];
    for (Integer i = 2; i <= Tm0 - 3; ++i) {
        sum += T[i + 1];
        MT[i] = static_cast<Integer>(RoundDiv(sum, 4));
        sum -= T[i - 2];
    }
    MT[0] = MT[1] = MT[2];
    MT[Tm0 - 2] = MT[Tm0 - 1] = MT[Tm0 - 3];
    for (Integer i = 0; i < Tm0; ++i) {
        T[i] = static_cast<SmallInt>(MT[i]);
    }
}

namespace {

// g narrowed by an extremum test at j: both differences must share g's sign.
bool SameExtremum(Integer x, Integer y, Integer &g) {
    if (g > 0 ? (x <= 0 || y <= 0) : (x >= 0 || y >= 0)) {
        return false;
    }
    for (Integer v : {x, y}) {
        if (std::abs(v) < std::abs(g)) {
            g = v;
        }
    }
    return true;
}

} // namespace

rtl::Int64 OscillationMeasure(std::span<const SmallInt> T, Integer Tm0) {
    rtl::Int64 S = 0;
    if (Tm0 < 15 || static_cast<std::size_t>(Tm0) > T.size()) {
        return 0;
    }
    for (Integer i = 6; i <= Tm0 - 8; ++i) {
        const Integer a = T[i] - T[i - 2];
        const Integer b = T[i] - T[i + 2];
        if (rtl::Int64{a} * b <= 0) { // differences reach 65535: 64-bit product
            continue;
        }
        Integer g = a > 0 ? std::min(a, b) : std::max(a, b);
        if (!SameExtremum(T[i - 4] - T[i - 6], T[i - 4] - T[i - 2], g) ||
            !SameExtremum(T[i + 4] - T[i + 2], T[i + 4] - T[i + 6], g)) {
            continue;
        }
        S += std::abs(g);
    }
    return S;
}

} // namespace filterer

TFilterer::TFilterer() = default;
TFilterer::~TFilterer() = default;

void TFilterer::setEGCType(Integer srcType, Integer srcIwr, bool srcPeism) {
    ecgType = (srcType >= 0 && srcType <= 5) ? srcType : 0;
    iwr = srcIwr;
    Peismek = srcPeism;
}

void TFilterer::setSource(TM12ECGObj &inSrcObj) {
    m12srcObj = std::make_unique<TM12ECGObj>();
    m12srcObj->Clone(inSrcObj);
    const Integer n = m12srcObj->GetLenghtECG();
    Integer m = 1500;
    if (n > kMaxSamples) {
        m = kMaxSamples;
    } else if (n > kMinSamples) {
        m = n + 200;
    }
    // Records longer than the tables are conditioned over their first kMaxSamples samples.
    FSamples = std::min(n, kMaxSamples);
    FLeadSize = m;
    FStale = false;
    const Integer leads = std::min<Integer>(m12srcObj->GetLeadsCount(), 12);
    for (Integer L = 1; L <= 12; ++L) {
        if (L > leads) {
            T[L].clear();
            Tf[L].clear();
            TFilt[L].clear();
            continue;
        }
        T[L].assign(m, 0);
        Tf[L].assign(m, 0);
        TFilt[L].clear(); // reads as zeros until filterData hands it the first result
        for (Integer i = 0; i < FSamples; ++i) {
            T[L][i] = m12srcObj->GetECG(static_cast<rtl::Byte>(L), i + 1);
        }
    }
}

bool TFilterer::LeadExists(Integer L) const {
    return L >= 1 && L <= 12 && !Tf[L].empty();
}

Integer TFilterer::RowCount() const {
    return m12srcObj ? m12srcObj->GetStrok() : 0;
}

void TFilterer::filterData() {
    if (!m12srcObj) {
        return;
    }
    if (FStale) {
        RestoreWorkingSamples();
    }
    SetupLeadLayout();
    SetupParameters();
    for (Integer c = 1; c <= stolb; ++c) {
        ProcessColumn(c);
    }
    // The result takes over the working buffer; the working samples go back to the clone's
    // before the next run (nothing else reads them).
    for (Integer L = 1; L <= 12; ++L) {
        if (LeadExists(L)) {
            std::swap(T[L], TFilt[L]);
        }
    }
    FStale = true;
}

void TFilterer::RestoreWorkingSamples() {
    for (Integer L = 1; L <= 12; ++L) {
        if (!LeadExists(L)) {
            continue;
        }
        T[L].assign(FLeadSize, 0);
        for (Integer i = 0; i < FSamples; ++i) {
            T[L][i] = m12srcObj->GetECG(static_cast<rtl::Byte>(L), i + 1);
        }
    }
    FStale = false;
}

std::vector<std::vector<SmallInt>> TFilterer::getFilteredData() const {
    std::vector<std::vector<SmallInt>> result;
    if (!m12srcObj) {
        return result;
    }
    const Integer leads = std::min<Integer>(m12srcObj->GetLeadsCount(), 12);
    const auto count = static_cast<std::size_t>(std::max<Integer>(Tm0, 0));
    for (Integer L = 1; L <= leads; ++L) {
        const std::vector<SmallInt> &filtered = TFilt[L];
        if (count <= filtered.size()) {
            result.emplace_back(filtered.begin(), filtered.begin() + static_cast<long>(count));
        } else {
            result.emplace_back(count, SmallInt{0});
        }
    }
    return result;
}

void TFilterer::SetupLeadLayout() {
    const Integer strok = m12srcObj->GetStrok();
    switch (ecgType) {
    case 0:
        stolb = strok == 6 ? 2 : 1;
        std::copy(strok == 6 ? kTwoColumnLayout.begin() : kIdentityLayout.begin(),
                  strok == 6 ? kTwoColumnLayout.end() : kIdentityLayout.end(), NOtv.begin() + 1);
        strm = 12;
        if (strok != 6) {
            m12srcObj->SetStrok(12);
        }
        break;
    case 1:
        std::copy(kIdentityLayout.begin(), kIdentityLayout.end(), NOtv.begin() + 1);
        stolb = 1;
        strm = strok;
        break;
    case 2:
        std::copy(kThreeColumnLayout.begin(), kThreeColumnLayout.end(), NOtv.begin() + 1);
        stolb = 3;
        strm = 12;
        m12srcObj->SetStrok(4);
        break;
    default:
        stolb = 1;
        strm = strok;
        break;
    }
    strok_r = strm;
}

void TFilterer::SetupParameters() {
    const Integer strok = m12srcObj->GetStrok();
    if (strok >= 1 && strok <= 12) {
        str_3 = kStr3[strok];
        str_11 = kStr11[strok];
    }
    const Integer n = m12srcObj->GetLenghtECG();
    Tm0 = std::clamp(n, kMinSamples, kMaxSamples);
    t2500 = Tm0;
    t2700 = Tm0 + 200;
    Tmd = Tm0 - 4;
    ktime = static_cast<rtl::Extended>(Tm0) / 2500;
}

Integer TFilterer::ColumnLead(Integer c, Integer r) const {
    const Integer slot = (c - 1) * RowCount() + r;
    return (slot >= 1 && slot <= 12) ? NOtv[slot] : 0;
}

void TFilterer::ProcessColumn(Integer c) {
    Patol = 0;
    for (Integer r = 1; r <= RowCount(); ++r) {
        const Integer L = ColumnLead(c, r);
        if (L < 1 || L > 12) {
            return;
        }
        if (!LeadExists(L)) {
            continue; // a lead the file does not have stays out of every stage
        }
        Asin[L] = 0;
        TremLevel[L] = 0;
        Trem_vc[L].fill(0);
        dl_trem[L].fill(0);
        Pomeha[L].fill(0);
        FrontEnd(L);
    }
    AnalyseQRS(c);
    if (iwr <= 0 || Peismek) {
        if (Patol <= 0) {
            SuppressAroundComplexes(c);
            SmoothTremor(c);
        }
        if (iwr == 0) {
            RemoveSpikesAllLeads();
        }
    } else {
        SuppressMainsOutsideQRS(c);
    }
}

void TFilterer::FrontEnd(Integer L) {
    std::copy_n(T[L].begin(), t2500, Tf[L].begin());
    filterer::MovingAverage5(T[L], Tm0, MT);
    const rtl::Int64 S = filterer::OscillationMeasure(T[L], Tm0);
    if (static_cast<rtl::Extended>(S) > ktime * 1000) {
        filterer::MovingAverage4(T[L], Tm0, MT);
    }
}

Integer TFilterer::GetLayoutLead(Integer slot) const {
    return (slot >= 1 && slot <= 12) ? NOtv[slot] : 0;
}

Integer TFilterer::GetCikl(Integer column) const {
    return (column >= 1 && column <= 3) ? Cikl[column] : 0;
}

Integer TFilterer::GetCycle(Integer j) const {
    return (j >= 1 && j <= kMaxComplexes) ? R_[j] : 0;
}

Integer TFilterer::GetCin(Integer lead) const {
    return (lead >= 1 && lead <= 12) ? Cin[lead] : 0;
}

SmallInt TFilterer::GetAsin(Integer lead) const {
    return (lead >= 1 && lead <= 12) ? Asin[lead] : SmallInt{0};
}

Integer TFilterer::GetTremorLevel(Integer lead) const {
    return (lead >= 1 && lead <= 12) ? TremLevel[lead] : 0;
}

} // namespace ecg
