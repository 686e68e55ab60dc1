// The multi-lead ECG record: header, raw, filtered and packed leads, and its QRS descriptors.
#pragma once

#include "ecg/M12QRSInfo.h"
#include "ecg/TypesHelper.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace rtl {
class TStream;
}

namespace ecg {

class TEDFImportHelper;

#pragma pack(push, 1)
// The record header. Leads and SortedLeads hold channels 1 to 12 at indices 0 to 11.
struct TM12ECGInfo {
    rtl::TDateTime InputDateTime;
    // 255 not typed yet, 0 standard 12-lead, 15 six leads in one group, 20 twelve leads
    // stored in full, 4 channels 1 to 3 are the Nehb leads.
    std::uint8_t ECGType;
    std::uint8_t LeadsCount;
    std::uint8_t Strok; // leads per print row
    std::uint8_t Leads[12];
    std::uint8_t SortedLeads[12];
    std::uint16_t LenghtSec;
    std::uint16_t Frequency;
    bool ElectrodesControl;
    std::uint8_t Neb;
    std::int32_t QRSCount;
};
#pragma pack(pop)

static_assert(sizeof(TM12ECGInfo) == 45, "TM12ECGInfo is a packed record");

// One dynamic array of bytes per stored lead (the delta code, see PackECG in M12ECG.cpp).
using PPackedECGLead = byte_array;
using TPackedECG = std::vector<PPackedECGLead>;
// One dynamic array of 16-bit samples per lead.
using PUnPackedECGLead = smallint_array;
using TUnPackedECG = std::vector<PUnPackedECGLead>;

// Receives the "GetMemError <...>!" text when a lead buffer cannot be allocated; the
// application shows it as a modal error message. Without a handler the text goes to stderr.
using TGetMemErrorHandler = std::function<void(const rtl::UnicodeString &message)>;
void SetGetMemErrorHandler(TGetMemErrorHandler handler);

// A multi-lead ECG recording. Samples are 16-bit signed hundredths of a millivolt. Lead
// numbers (1 = I, 2 = II, 3 = III, 4 = aVR, 5 = aVL, 6 = aVF, 7..12 = V1..V6, 13..15 the Nehb
// leads) and sample positions are counted from 1 in every public accessor. Out-of-range lead or
// sample numbers never fail: reads give 0 and writes are ignored.
//
// Lifecycle: created empty (type 255, no buffers), sized with SetECGSize, typed with
// SetECGType (a change to or from type 20 reallocates and discards the samples), filled with
// AssignECG, then read.
class TM12ECGObj {
public:
    TM12ECGObj();
    virtual ~TM12ECGObj();
    TM12ECGObj(const TM12ECGObj &) = delete;
    TM12ECGObj &operator=(const TM12ECGObj &) = delete;

    // Extension points for record classes that stream a whole record with its header; this
    // class does not implement them and raises "Abstract Error".
    virtual std::int32_t LoadFromStream(rtl::TStream &AStream);
    virtual std::int32_t SaveToStream(rtl::TStream &AStream);

    // Stores the size (a frequency of 0 is taken as 250) and allocates fresh, all-zero
    // buffers of LeadsCount leads of ALenghtSec x Frequency samples. On allocation failure
    // the record is left without buffers (see SetGetMemErrorHandler).
    void SetECGSize(std::uint8_t ALeadsCount, std::uint16_t ALenghtSec, std::uint16_t AFrequency);
    std::uint8_t GetECGType() const { return FECGInfo.ECGType; }
    // Stores the type; a change to or from 20 reallocates the buffers (all samples become 0).
    void SetECGType(std::uint8_t Value);
    // Shortens the record: LenghtSec := low 16 bits of newLengthSec, LenghtECG := LenghtSec x
    // Frequency; the buffers are kept (reads never go beyond them).
    void correctECGLength(std::int32_t newLengthSec);

    // Copies the leads when AECG has exactly the record's shape (lead count and samples per
    // lead), packs them and returns true; otherwise returns false and changes nothing.
    bool AssignECG(const TUnPackedECG &AECG);
    // The same for the filtered copy (whose shape is the raw leads'); no packing. The filtered
    // copy takes memory only once it is assigned; until then it reads as zeros.
    bool AssignFECG(const TUnPackedECG &AFECG);

    // Sample Offset (from 1) of lead Lead (from 1), from the filtered copy when Filter is set.
    std::int16_t GetECG(std::uint8_t Lead, std::int32_t Offset) const;

    // Lead assignment of channel Lead (1..LeadsCount); 0 outside. A stored value of 16 or more
    // reads as Lead + 12 for channels 1 to 3 of a Nehb record (type 4 or Neb set), else Lead.
    std::uint8_t GetLeads(std::uint8_t Lead) const;
    // Stores only for Lead in 1..LeadsCount and Value below 16.
    void SetLeads(std::uint8_t Lead, std::uint8_t Value);
    std::uint8_t GetSortedLeads(std::uint8_t Lead) const;
    void SetSortedLeads(std::uint8_t Lead, std::uint8_t Value);

    // QRS descriptors, indexed from 0. The record owns them.
    std::int32_t AddQRS();
    std::int32_t AddQRSE(std::unique_ptr<TQRSInfoObj> qrsObj);
    // nullptr for an index outside 0..QRSCount-1.
    TQRSInfoObj *GetQRS(std::int32_t Index) const;
    // Ignores an index outside 0..QRSCount-1.
    void DeleteQRS(std::int32_t Index);
    void ClearQRSList();

    // Streams hold leads only, never the header. Saving packs first when ECGChanged is set;
    // savePacked writes each stored lead's packed bytes, otherwise every lead as LenghtECG
    // little-endian 16-bit samples. Returns the bytes written, 0 when a write falls short.
    std::int32_t SaveToStreamECG(rtl::TStream &AStream, bool savePacked);
    // Reallocates for the current header and reads the leads in the form that saving wrote.
    // Returns the bytes read; 0 when the stream ends early, and the record then has no buffers.
    std::int32_t LoadFromStreamECG(rtl::TStream &AStream, bool loadPacked);
    // Makes this record a copy of srcObj through the packed form: every stored lead starts at
    // 0, steps beyond 255 per sample are slew-limited, a standard 12-lead record gets III and
    // aVL recomputed; the filtered leads are 0 and the QRS list is empty. srcObj is packed
    // first when its leads changed.
    void Clone(TM12ECGObj &srcObj);

    bool GetChanged() const { return FChanged; }
    void SetChanged(bool Value) { FChanged = Value; }
    rtl::TDateTime GetInputDateTime() const { return FECGInfo.InputDateTime; }
    void SetInputDateTime(rtl::TDateTime Value) { FECGInfo.InputDateTime = Value; }
    bool GetElectrodesControl() const { return FECGInfo.ElectrodesControl; }
    void SetElectrodesControl(bool Value) { FECGInfo.ElectrodesControl = Value; }
    // Writes the header byte only, without reallocation.
    std::uint8_t GetLeadsCount() const { return FECGInfo.LeadsCount; }
    void SetLeadsCount(std::uint8_t Value) { FECGInfo.LeadsCount = Value; }
    std::uint8_t GetStrok() const { return FECGInfo.Strok; }
    void SetStrok(std::uint8_t Value) { FECGInfo.Strok = Value; }
    // Writes the header field only, without reallocation.
    std::uint16_t GetLenghtECGSec() const { return FECGInfo.LenghtSec; }
    void SetLenghtECGSec(std::uint16_t Value) { FECGInfo.LenghtSec = Value; }
    // Samples per lead.
    std::int32_t GetLenghtECG() const { return FECGLeadLehgth; }
    std::uint16_t GetFrequency() const { return FECGInfo.Frequency; }
    std::uint8_t GetNeb() const { return FECGInfo.Neb; }
    void SetNeb(std::uint8_t Value) { FECGInfo.Neb = Value; }
    bool GetFilter() const { return FFilter; }
    void SetFilter(bool Value) { FFilter = Value; }
    std::int32_t GetQRSCount() const { return static_cast<std::int32_t>(FQRSList.size()); }
    bool GetECGChanged() const { return FECGChanged; }

    std::int16_t VisLead = 0;
    bool IWR = false;
    std::int32_t Breath = 0;
    std::uint8_t poverka = 0;
    std::int32_t programVer = 0;

private:
    // The EDF reader converts samples straight into the raw leads of the record it sized, then
    // packs them as AssignECG would, sparing a second copy of every lead.
    friend class TEDFImportHelper;

    bool AllocECGBuffers();
    void FreeECGBuffers();
    void PackECG();
    void UnpackECG();
    std::int32_t StoredLeadCount() const;
    std::int32_t StoredLeadSource(std::int32_t storedIndex) const;
    std::int32_t SavePacked(rtl::TStream &AStream);
    std::int32_t SaveRaw(rtl::TStream &AStream);
    bool LoadPacked(rtl::TStream &AStream, std::int32_t &bytesRead);
    bool LoadRaw(rtl::TStream &AStream, std::int32_t &bytesRead);

    bool FECGChanged = false;
    TM12ECGInfo FECGInfo;
    TPackedECG FPackedECG;
    std::int32_t FPackedLeadLehgth = 0;
    TUnPackedECG FECG;
    TUnPackedECG FFilteredECG;
    std::int32_t FECGLeadLehgth = 0;
    bool FChanged = false;
    bool FFilter = false;
    std::vector<std::unique_ptr<TQRSInfoObj>> FQRSList;
};

} // namespace ecg
