// The signal conditioner: QRS detection and delineation, mains, tremor and spike removal.
#pragma once

#include "ecg/M12ECG.h"
#include "platform/rtl/System.h"

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace ecg {

// Conditions the leads of one ECG record for display. It smooths every lead (a five-point
// moving average that cancels 50 Hz at 250 samples per second, and a four-point one when a
// 60 Hz oscillation is found), finds and delineates the QRS complexes of each column of leads,
// restores the sharp signal inside the complexes minus an estimate of the mains pattern, adds a
// three-point smoothing that follows the muscle tremor between complexes, and removes
// one-sample spikes.
//
// Use: make one instance on the heap (std::make_unique: the work tables take about 1.5 MB),
// setEGCType, setSource, filterData once, getFilteredData. Only the leads the record has are
// touched, and at most 75000 samples per lead are conditioned (300 s at 250 Hz); a record of
// 1250 samples or fewer is conditioned over 1250 samples, the missing ones read as 0.
//
// Table positions are sample numbers counted from 1; 0 means "not found". Leads are record
// lead numbers 1 to 12, complexes are numbered from 1, columns from 1.
class TFilterer {
public:
    static constexpr rtl::Integer kMaxComplexes = 1200;
    static constexpr rtl::Integer kMaxSamples = 75000;
    static constexpr rtl::Integer kMinSamples = 1250;
    static constexpr rtl::Integer kRowLength = kMaxSamples + 1500;

    TFilterer();
    ~TFilterer();
    TFilterer(const TFilterer &) = delete;
    TFilterer &operator=(const TFilterer &) = delete;

    // srcType outside 0..5 gives layout type 0. srcIwr 0 or below suppresses mains around the
    // complexes (1 or more: outside them, without smoothing); srcPeism forces the former.
    void setEGCType(rtl::Integer srcType, rtl::Integer srcIwr, bool srcPeism);
    // Makes the conditioner's own clone of inSrcObj (leads rebased to start at 0, III and aVL
    // derived for a standard record; see TM12ECGObj::Clone) and its per-lead work arrays.
    // Leads beyond 12 are ignored.
    void setSource(TM12ECGObj &inSrcObj);
    // Runs every stage; does nothing before setSource.
    void filterData();
    // One list per lead of the clone, each with the first Tm0 conditioned samples (Tm0 can
    // exceed the record's length: see the class comment). Empty before setSource.
    std::vector<std::vector<rtl::SmallInt>> getFilteredData() const;

    // Results of the last filterData, for inspection.
    rtl::Integer GetTm0() const { return Tm0; }
    rtl::Integer GetStolb() const { return stolb; }
    rtl::Integer GetPatol() const { return Patol; }
    rtl::Integer GetStr3() const { return str_3; }
    rtl::Integer GetStr11() const { return str_11; }
    rtl::Integer GetLayoutLead(rtl::Integer slot) const; // NOtv, slot 1..12; 0 outside
    rtl::Integer GetCikl(rtl::Integer column) const;     // cycles of column 1..3
    rtl::Integer GetCycle(rtl::Integer j) const;         // R_ of the last column, j from 1
    rtl::Integer GetCin(rtl::Integer lead) const;        // complexes of a lead
    // Tables per lead and complex; 0 for numbers outside the tables.
    rtl::Integer GetR(rtl::Integer lead, rtl::Integer k) const { return At(R, lead, k); }
    rtl::Integer GetS0(rtl::Integer lead, rtl::Integer k) const { return At(S0, lead, k); }
    rtl::Integer GetQN(rtl::Integer lead, rtl::Integer k) const { return At(QN, lead, k); }
    rtl::Integer GetST(rtl::Integer lead, rtl::Integer k) const { return At(ST, lead, k); }
    rtl::Integer GetW1(rtl::Integer lead, rtl::Integer k) const { return At(W1, lead, k); }
    rtl::Integer GetHR1(rtl::Integer lead, rtl::Integer k) const { return At(HR1, lead, k); }
    rtl::Integer GetHS1(rtl::Integer lead, rtl::Integer k) const { return At(HS1, lead, k); }
    rtl::Integer GetPci(rtl::Integer lead, rtl::Integer k) const { return At(Pci, lead, k); }
    rtl::Integer GetIsk(rtl::Integer lead, rtl::Integer k) const { return At(isk, lead, k); }
    rtl::Integer GetRVVo1(rtl::Integer lead, rtl::Integer k) const { return At(RVVo1, lead, k); }
    rtl::Integer GetSVVo1(rtl::Integer lead, rtl::Integer k) const { return At(SVVo1, lead, k); }
    rtl::Integer GetPomeha(rtl::Integer lead, rtl::Integer k) const { return At(Pomeha, lead, k); }
    rtl::Integer GetTremVc(rtl::Integer lead, rtl::Integer k) const { return At(Trem_vc, lead, k); }
    rtl::Integer GetDlTrem(rtl::Integer lead, rtl::Integer k) const { return At(dl_trem, lead, k); }
    rtl::SmallInt GetAsin(rtl::Integer lead) const;
    // The tremor level that set a lead's extra smoothing in the last run (0: not smoothed).
    rtl::Integer GetTremorLevel(rtl::Integer lead) const;

private:
    // Positions reach 75000, beyond 16 bits, so every complex table is 32-bit.
    using TComplexTable = std::array<std::array<rtl::Integer, kMaxComplexes + 1>, 13>;
    using TLevelTable = std::array<std::array<rtl::SmallInt, kMaxComplexes + 1>, 13>;
    struct TCandidate;
    struct TDetectScan;

    template <class Table>
    static rtl::Integer At(const Table &table, rtl::Integer lead, rtl::Integer k) {
        if (lead < 1 || lead > 12 || k < 0 || k > kMaxComplexes) {
            return 0;
        }
        return table[lead][k];
    }

    // Set-up and driver (UFilterer.cpp).
    void SetupLeadLayout();
    void SetupParameters();
    void ProcessColumn(rtl::Integer c);
    void FrontEnd(rtl::Integer L);
    void RestoreWorkingSamples();
    bool LeadExists(rtl::Integer L) const;
    rtl::Integer ColumnLead(rtl::Integer c, rtl::Integer r) const;
    rtl::Integer RowCount() const;

    // QRS analysis of a column (UFilterer_Cycles.cpp).
    void AnalyseQRS(rtl::Integer c);
    void ClearLeadTables(rtl::Integer L, rtl::Integer upTo = kMaxComplexes);
    void FillDetectionRow(rtl::Integer L);
    void FirstAndSecondPass(rtl::Integer L);
    void RRStatistics(rtl::Integer L);
    void RankLeads(rtl::Integer c);
    void ChooseReferenceLeads(rtl::Integer c, rtl::Integer b);
    rtl::Integer MainPosition(rtl::Integer L, rtl::Integer k) const;
    rtl::Integer FindMatch(rtl::Integer L, rtl::Integer P, rtl::Integer nextP) const;
    void BuildCommonCycles(rtl::Integer c, rtl::Integer b);
    void TryCommonCycle(rtl::Integer c, rtl::Integer own, rtl::Integer P, rtl::Integer next);
    std::pair<rtl::Integer, rtl::Integer> NearRange(rtl::Integer L, rtl::Integer P) const;
    rtl::Integer CountUncycledNear(rtl::Integer c, rtl::Integer ownLead, rtl::Integer P) const;
    bool RoomForMissedBeat(rtl::Integer c, rtl::Integer Rpos) const;
    void AddFurtherCycles(rtl::Integer c);
    rtl::Integer InsertCycle(rtl::Integer c, rtl::Integer P);
    void RenumberCycles(rtl::Integer c);
    void PruneUncycled(rtl::Integer c);
    void FillGaps(rtl::Integer c);
    void FillLeadGaps(rtl::Integer L, rtl::Integer c);
    void SearchInsertedComplex(rtl::Integer L, rtl::Integer k);
    void MoveComplex(rtl::Integer L, rtl::Integer from, rtl::Integer to);
    void ZeroComplex(rtl::Integer L, rtl::Integer k);

    // The detector (UFilterer_Qrs.cpp).
    void DetectQRS(rtl::Integer mode, rtl::Integer L, rtl::Integer slot, rtl::Integer start);
    rtl::Integer X(rtl::Integer q) const; // sample at position q of the detection row
    rtl::Integer FallThreshold(const TDetectScan &scan, rtl::Integer p) const;
    void Delineate(const TDetectScan &scan, rtl::Integer p, TCandidate &cand) const;
    rtl::Integer HighestIn(rtl::Integer from, rtl::Integer to) const; // later on ties
    rtl::Integer LowestIn(rtl::Integer from, rtl::Integer to) const;  // earlier on ties
    rtl::Integer SecondaryWave(const TCandidate &cand) const;
    rtl::Integer ClimbToPeak(const TDetectScan &scan, rtl::Integer p) const;
    rtl::Integer WalkTrough(rtl::Integer from) const;
    rtl::Integer WalkEnd(rtl::Integer trough, rtl::Integer onsetValue, rtl::Integer drop) const;
    rtl::Integer WalkOnset(const TDetectScan &scan, rtl::Integer peak, rtl::Integer endValue) const;
    void ExtendBackward(const TDetectScan &scan, TCandidate &cand) const;
    void ExtendDoublePeak(const TDetectScan &scan, TCandidate &cand) const;
    void CorrectOnsetAndPeak(TCandidate &cand) const;
    void Finalize(TCandidate &cand) const;
    bool Rejected(const TDetectScan &scan, const TCandidate &cand) const;
    bool IsSpike(const TCandidate &cand) const;
    rtl::Integer NeighbourDecision(TDetectScan &scan, TCandidate &cand) const;
    rtl::Integer CloseNeighbour(const TCandidate &cand, double pSwing, double pDur,
                                rtl::Integer afterEnd, rtl::Integer afterPeak, rtl::Integer sharp,
                                rtl::Integer steep) const;
    rtl::Integer FlatResume(const TDetectScan &scan, const TCandidate &cand) const;
    rtl::Integer Sharpness(const TCandidate &cand) const;
    rtl::Integer SteepestFall(const TCandidate &cand) const;
    void SkipFlatOnset(TCandidate &cand) const;
    rtl::Integer Crossing(rtl::Integer from, rtl::Integer to, rtl::Integer level, bool above) const;
    void RecordComplex(TDetectScan &scan, const TCandidate &cand, bool replace);
    rtl::Integer DistortionCode(const TCandidate &cand) const;

    // Mains, tremor and spikes (UFilterer_Noise.cpp).
    void SuppressAroundComplexes(rtl::Integer c);
    void SuppressComplex(rtl::Integer L, rtl::Integer k, rtl::Integer last);
    void RecordSteps(rtl::Integer L, rtl::Integer k, rtl::Integer last);
    void SmoothTremor(rtl::Integer c);
    void SmoothLeadTremor(rtl::Integer L, rtl::Integer c);
    void RemoveSpikesAllLeads();
    void SuppressMainsOutsideQRS(rtl::Integer c);
    void SuppressLeadMains(rtl::Integer L, rtl::Integer complexes);

    std::unique_ptr<TM12ECGObj> m12srcObj;
    rtl::Integer FSamples = 0;  // samples copied from the clone (at most kMaxSamples)
    rtl::Integer FLeadSize = 0; // samples in each lead's work arrays
    bool FStale = false;        // T holds a finished run's buffers, not the clone's samples
    rtl::Integer stolb = 0;
    rtl::Integer strm = 0;
    rtl::Integer Tm0 = 0;
    rtl::Integer ecgType = 0;
    rtl::Integer iwr = 0;
    std::array<rtl::Integer, 13> NOtv{};
    rtl::Integer str_3 = 0;
    rtl::Integer str_11 = 0;
    rtl::Integer t2500 = 0;
    rtl::Integer t2700 = 0;
    rtl::Extended ktime = 0;
    rtl::Integer Patol = 0;
    std::array<rtl::SmallInt, 13> Asin{};
    std::array<rtl::Integer, 13> Cin{};
    std::array<rtl::Integer, 13> Dw0{};
    std::array<rtl::Integer, 13> Hr0{};
    std::array<rtl::Integer, 13> Hs0{};
    std::array<rtl::Integer, 13> TremLevel{};
    std::array<std::vector<rtl::SmallInt>, 13> T;
    std::array<std::vector<rtl::SmallInt>, 13> Tf;
    std::array<std::vector<rtl::SmallInt>, 13> TFilt;
    TLevelTable Trem_vc{};
    TLevelTable dl_trem{};
    TComplexTable QN{}, ST{}, R{}, W1{}, S0{}, Qs1{}, HR1{}, HS1{}, isk{}, RVVo1{}, SVVo1{};
    TComplexTable Pci{};
    TLevelTable Pomeha{};
    std::array<rtl::Integer, kMaxComplexes + 1> R_{};
    std::array<rtl::Integer, kMaxComplexes + 1> CycleId{}; // creation number of each R_ entry
    std::array<rtl::Integer, 2 * kMaxComplexes + 2> CycleRank{};
    std::array<rtl::Integer, kMaxComplexes + 1> RRci{};
    std::array<rtl::Integer, 4> Cikl{};
    std::array<std::array<rtl::Byte, 13>, 4> ms_{};
    rtl::Integer Tmd = 0;
    // The detection and scratch rows are written before every read, so they are not zeroed.
    std::array<rtl::Integer, kRowLength> PT;
    std::array<rtl::Integer, kRowLength> MT;
    rtl::Integer RR = 0;
    rtl::Integer rr_p = 0;
    rtl::Integer R_R = 0;
    std::array<rtl::Integer, 13> Dmin{};
    rtl::Integer strok_r = 0;
    bool Peismek = false;
    rtl::Integer FRef1 = 0, FRef2 = 0; // reference leads of the column under analysis
    rtl::Integer FCycleIds = 0;        // cycles created in the column so far
    std::array<bool, kMaxComplexes + 1> FHasCycle{};
    std::array<bool, kMaxComplexes + 1> FInserted{};
    std::array<rtl::Integer, kMaxComplexes + 1> FNewIndex{};
};

} // namespace ecg
