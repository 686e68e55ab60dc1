// The multi-lead ECG record, its packed delta code and its streaming.
#include "ecg/M12ECG.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <limits>
#include <new>
#include <stdexcept>

namespace ecg {

static_assert(std::endian::native == std::endian::little,
              "leads are streamed as little-endian 16-bit samples straight from memory");

namespace {

TGetMemErrorHandler &MemErrorHandler() {
    static TGetMemErrorHandler handler;
    return handler;
}

void ReportGetMemError(const char16_t *bufferName) {
    const rtl::UnicodeString message = u"GetMemError <" + rtl::UnicodeString(bufferName) + u">!";
    if (MemErrorHandler()) {
        MemErrorHandler()(message);
    } else {
        std::fprintf(stderr, "%s\n", rtl::Utf16ToUtf8(message).c_str());
    }
}

// Record lead numbers of the ten stored leads of a standard 12-lead record, in stored order;
// III and aVL are derived from them when unpacking.
constexpr std::uint8_t StandardStoredLeads[10] = {1, 2, 7, 8, 9, 10, 11, 12, 4, 6};

constexpr std::int64_t MaxInt32 = std::numeric_limits<std::int32_t>::max();

// n samples pack into n magnitude bytes and one flag byte per group of eight.
std::int64_t PackedLeadSize(std::int64_t samples) {
    return samples + (samples + 7) / 8;
}

// Delta code of one lead: groups of a flag byte (bit k set: the k-th step of the group is
// negative) and up to eight step magnitudes. Steps are clamped to 255; the running value
// follows the clamped steps, so a larger jump is caught up over the next samples.
void PackLead(const std::int16_t *samples, std::size_t n, std::uint8_t *out) {
    if (n == 0) {
        return;
    }
    std::int32_t v = samples[0];
    std::size_t w = 0;
    for (std::size_t group = 0; group < n; group += 8) {
        const std::size_t flagPos = w++;
        std::uint8_t flags = 0;
        const std::size_t end = std::min(n, group + 8);
        for (std::size_t i = group; i < end; ++i) {
            const std::int32_t d = samples[i] - v;
            if (d < 0) {
                const auto m = static_cast<std::uint8_t>(std::min(-d, 255));
                flags |= static_cast<std::uint8_t>(1u << (i - group));
                out[w++] = m;
                v -= m;
            } else {
                const auto m = static_cast<std::uint8_t>(std::min(d, 255));
                out[w++] = m;
                v += m;
            }
        }
        out[flagPos] = flags;
    }
}

// Decodes up to n samples from the packed bytes; the running value wraps at 16 bits.
void UnpackLead(const std::uint8_t *in, std::size_t inLength, std::int16_t *out, std::size_t n) {
    std::uint16_t s = 0;
    std::size_t r = 0;
    std::size_t i = 0;
    while (i < n && r < inLength) {
        const std::uint8_t flags = in[r++];
        for (unsigned k = 0; k < 8 && i < n && r < inLength; ++k) {
            const std::uint8_t m = in[r++];
            s = static_cast<std::uint16_t>((flags >> k) & 1u ? s - m : s + m);
            out[i++] = static_cast<std::int16_t>(s);
        }
    }
}

// Stream transfers in pieces that fit the stream's 32-bit counts.
constexpr std::size_t TransferChunk = std::size_t{1} << 30;

bool WriteAll(rtl::TStream &stream, const void *data, std::size_t size) {
    const auto *p = static_cast<const std::uint8_t *>(data);
    while (size > 0) {
        const auto count = static_cast<std::int32_t>(std::min(size, TransferChunk));
        if (stream.Write(p, count) != count) {
            return false;
        }
        p += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

bool ReadAll(rtl::TStream &stream, void *data, std::size_t size) {
    auto *p = static_cast<std::uint8_t *>(data);
    while (size > 0) {
        const auto count = static_cast<std::int32_t>(std::min(size, TransferChunk));
        if (stream.Read(p, count) != count) {
            return false;
        }
        p += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

std::int32_t SaturateToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::min(value, MaxInt32));
}

} // namespace

void SetGetMemErrorHandler(TGetMemErrorHandler handler) {
    MemErrorHandler() = std::move(handler);
}

TM12ECGObj::TM12ECGObj() : FECGInfo{} {
    FECGInfo.ECGType = 255;
}

TM12ECGObj::~TM12ECGObj() = default;

std::int32_t TM12ECGObj::LoadFromStream(rtl::TStream &) {
    throw rtl::Exception(u"Abstract Error");
}

std::int32_t TM12ECGObj::SaveToStream(rtl::TStream &) {
    throw rtl::Exception(u"Abstract Error");
}

void TM12ECGObj::SetECGSize(std::uint8_t ALeadsCount, std::uint16_t ALenghtSec,
                            std::uint16_t AFrequency) {
    FECGInfo.LeadsCount = ALeadsCount;
    FECGInfo.LenghtSec = ALenghtSec;
    FECGInfo.Frequency = AFrequency == 0 ? 250 : AFrequency;
    FECGLeadLehgth = SaturateToInt32(std::int64_t{FECGInfo.Frequency} * FECGInfo.LenghtSec);
    FECGChanged = true;
    AllocECGBuffers();
}

void TM12ECGObj::SetECGType(std::uint8_t Value) {
    const std::uint8_t oldType = FECGInfo.ECGType;
    FECGInfo.ECGType = Value;
    if (oldType == 20 || Value == 20) {
        AllocECGBuffers();
    }
}

void TM12ECGObj::correctECGLength(std::int32_t newLengthSec) {
    FECGInfo.LenghtSec = static_cast<std::uint16_t>(newLengthSec & 0xFFFF);
    FECGLeadLehgth = SaturateToInt32(std::int64_t{FECGInfo.LenghtSec} * FECGInfo.Frequency);
}

std::int32_t TM12ECGObj::StoredLeadCount() const {
    return FECGInfo.LeadsCount == 12 && FECGInfo.ECGType != 20 ? 10 : FECGInfo.LeadsCount;
}

// Index (from 0) of the record lead that stored lead storedIndex holds.
std::int32_t TM12ECGObj::StoredLeadSource(std::int32_t storedIndex) const {
    if (FECGInfo.LeadsCount == 12 && FECGInfo.ECGType != 20) {
        return StandardStoredLeads[storedIndex] - 1;
    }
    return storedIndex;
}

namespace {

// count leads of n zero samples, each allocated on its own (no shared prototype to copy).
template <typename Lead>
void SizeLeads(std::vector<Lead> &leads, std::size_t count, std::size_t n) {
    leads.resize(count);
    for (Lead &lead : leads) {
        lead.assign(n, 0);
    }
}

} // namespace

// The filtered copy is not allocated here: until AssignFECG fills it, it reads as zeros of the
// raw leads' shape, which saves the memory and time of a second set of zero leads per record.
bool TM12ECGObj::AllocECGBuffers() {
    FreeECGBuffers();
    const std::int64_t samples = std::int64_t{FECGInfo.LenghtSec} * FECGInfo.Frequency;
    const std::int64_t packedSize = PackedLeadSize(samples);
    const char16_t *failed = u"PackedECG";
    try {
        if (packedSize > MaxInt32) {
            throw std::bad_alloc();
        }
        SizeLeads(FPackedECG, static_cast<std::size_t>(StoredLeadCount()),
                  static_cast<std::size_t>(packedSize));
        FPackedLeadLehgth = static_cast<std::int32_t>(packedSize);
        FECGLeadLehgth = static_cast<std::int32_t>(samples);
        failed = u"ECG";
        SizeLeads(FECG, FECGInfo.LeadsCount, static_cast<std::size_t>(samples));
    } catch (const std::bad_alloc &) {
        ReportGetMemError(failed);
        FreeECGBuffers();
        return false;
    } catch (const std::length_error &) {
        ReportGetMemError(failed);
        FreeECGBuffers();
        return false;
    }
    return true;
}

void TM12ECGObj::FreeECGBuffers() {
    TPackedECG().swap(FPackedECG);
    TUnPackedECG().swap(FECG);
    TUnPackedECG().swap(FFilteredECG);
    FPackedLeadLehgth = 0;
    FECGLeadLehgth = 0;
}

namespace {

bool SameShape(const TUnPackedECG &a, const TUnPackedECG &b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].size() != b[i].size()) {
            return false;
        }
    }
    return true;
}

} // namespace

bool TM12ECGObj::AssignECG(const TUnPackedECG &AECG) {
    if (!SameShape(AECG, FECG)) {
        return false;
    }
    for (std::size_t i = 0; i < AECG.size(); ++i) {
        std::copy(AECG[i].begin(), AECG[i].end(), FECG[i].begin());
    }
    PackECG();
    FECGChanged = true;
    return true;
}

bool TM12ECGObj::AssignFECG(const TUnPackedECG &AFECG) {
    // The filtered leads have the raw leads' shape, allocated or not.
    if (!SameShape(AFECG, FECG)) {
        return false;
    }
    try {
        FFilteredECG = AFECG;
    } catch (const std::bad_alloc &) {
        ReportGetMemError(u"FilteredECG");
        TUnPackedECG().swap(FFilteredECG);
        return false;
    }
    return true;
}

std::int16_t TM12ECGObj::GetECG(std::uint8_t Lead, std::int32_t Offset) const {
    if (Lead == 0 || Lead > FECGInfo.LeadsCount || Offset < 1 || Offset > FECGLeadLehgth) {
        return 0;
    }
    const TUnPackedECG &leads = FFilter ? FFilteredECG : FECG;
    // The header can say more than the buffers hold (LeadsCount and correctECGLength do not
    // reallocate), so the buffers bound the read as well.
    if (Lead > leads.size() || static_cast<std::size_t>(Offset) > leads[Lead - 1].size()) {
        return 0;
    }
    return leads[Lead - 1][static_cast<std::size_t>(Offset - 1)];
}

namespace {

std::uint8_t ReadLeadTable(const std::uint8_t (&table)[12], std::uint8_t lead,
                           std::uint8_t leadsCount, bool nehb) {
    if (lead < 1 || lead > leadsCount || lead > 12) {
        return 0;
    }
    const std::uint8_t stored = table[lead - 1];
    if (stored < 16) {
        return stored;
    }
    return lead <= 3 && nehb ? static_cast<std::uint8_t>(lead + 12) : lead;
}

void WriteLeadTable(std::uint8_t (&table)[12], std::uint8_t lead, std::uint8_t value,
                    std::uint8_t leadsCount) {
    if (lead >= 1 && lead <= leadsCount && lead <= 12 && value < 16) {
        table[lead - 1] = value;
    }
}

} // namespace

std::uint8_t TM12ECGObj::GetLeads(std::uint8_t Lead) const {
    const bool nehb = FECGInfo.ECGType == 4 || FECGInfo.Neb != 0;
    return ReadLeadTable(FECGInfo.Leads, Lead, FECGInfo.LeadsCount, nehb);
}

void TM12ECGObj::SetLeads(std::uint8_t Lead, std::uint8_t Value) {
    WriteLeadTable(FECGInfo.Leads, Lead, Value, FECGInfo.LeadsCount);
}

std::uint8_t TM12ECGObj::GetSortedLeads(std::uint8_t Lead) const {
    const bool nehb = FECGInfo.ECGType == 4 || FECGInfo.Neb != 0;
    return ReadLeadTable(FECGInfo.SortedLeads, Lead, FECGInfo.LeadsCount, nehb);
}

void TM12ECGObj::SetSortedLeads(std::uint8_t Lead, std::uint8_t Value) {
    WriteLeadTable(FECGInfo.SortedLeads, Lead, Value, FECGInfo.LeadsCount);
}

std::int32_t TM12ECGObj::AddQRS() {
    return AddQRSE(std::make_unique<TQRSInfoObj>());
}

std::int32_t TM12ECGObj::AddQRSE(std::unique_ptr<TQRSInfoObj> qrsObj) {
    FQRSList.push_back(std::move(qrsObj));
    return static_cast<std::int32_t>(FQRSList.size()) - 1;
}

TQRSInfoObj *TM12ECGObj::GetQRS(std::int32_t Index) const {
    if (Index < 0 || Index >= GetQRSCount()) {
        return nullptr;
    }
    return FQRSList[static_cast<std::size_t>(Index)].get();
}

void TM12ECGObj::DeleteQRS(std::int32_t Index) {
    if (Index >= 0 && Index < GetQRSCount()) {
        FQRSList.erase(FQRSList.begin() + Index);
    }
}

void TM12ECGObj::ClearQRSList() {
    while (!FQRSList.empty()) {
        DeleteQRS(0);
    }
}

void TM12ECGObj::PackECG() {
    if (FPackedECG.empty() && !AllocECGBuffers()) {
        return;
    }
    const std::int32_t stored = StoredLeadCount();
    for (std::int32_t k = 0; k < stored && static_cast<std::size_t>(k) < FPackedECG.size(); ++k) {
        const auto source = static_cast<std::size_t>(StoredLeadSource(k));
        if (source >= FECG.size()) {
            continue;
        }
        const smallint_array &lead = FECG[source];
        byte_array &packed = FPackedECG[static_cast<std::size_t>(k)];
        const std::size_t n =
            std::min(lead.size(), static_cast<std::size_t>(std::max(FECGLeadLehgth, 0)));
        if (PackedLeadSize(static_cast<std::int64_t>(n)) >
            static_cast<std::int64_t>(packed.size())) {
            continue;
        }
        PackLead(lead.data(), n, packed.data());
    }
}

void TM12ECGObj::UnpackECG() {
    const auto n = static_cast<std::size_t>(FECGLeadLehgth);
    try {
        SizeLeads(FECG, FECGInfo.LeadsCount, n);
        TUnPackedECG().swap(FFilteredECG);
    } catch (const std::bad_alloc &) {
        ReportGetMemError(u"ECG");
        FreeECGBuffers();
        return;
    }
    const std::int32_t stored = StoredLeadCount();
    for (std::int32_t k = 0; k < stored && static_cast<std::size_t>(k) < FPackedECG.size(); ++k) {
        const byte_array &packed = FPackedECG[static_cast<std::size_t>(k)];
        UnpackLead(packed.data(), packed.size(), FECG[StoredLeadSource(k)].data(), n);
    }
    if (FECGInfo.LeadsCount == 12 && FECGInfo.ECGType != 20) {
        smallint_array &I = FECG[0], &II = FECG[1], &III = FECG[2];
        smallint_array &aVR = FECG[3], &aVL = FECG[4], &aVF = FECG[5];
        for (std::size_t i = 0; i < n; ++i) {
            III[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(II[i]) -
                                               static_cast<std::uint16_t>(I[i]));
            aVL[i] =
                static_cast<std::int16_t>(std::uint16_t{0} - static_cast<std::uint16_t>(aVR[i]) -
                                          static_cast<std::uint16_t>(aVF[i]));
        }
    }
}

std::int32_t TM12ECGObj::SaveToStreamECG(rtl::TStream &AStream, bool savePacked) {
    if (FECGChanged) {
        PackECG();
    }
    return savePacked ? SavePacked(AStream) : SaveRaw(AStream);
}

std::int32_t TM12ECGObj::SavePacked(rtl::TStream &AStream) {
    const std::int32_t stored = StoredLeadCount();
    if (FPackedECG.size() < static_cast<std::size_t>(stored)) {
        return 0;
    }
    std::int64_t total = 0;
    for (std::int32_t k = 0; k < stored; ++k) {
        const byte_array &packed = FPackedECG[static_cast<std::size_t>(k)];
        if (packed.size() != static_cast<std::size_t>(FPackedLeadLehgth) ||
            !WriteAll(AStream, packed.data(), packed.size())) {
            return 0;
        }
        total += FPackedLeadLehgth;
    }
    return SaturateToInt32(total);
}

std::int32_t TM12ECGObj::SaveRaw(rtl::TStream &AStream) {
    const std::size_t leads = FECGInfo.LeadsCount;
    const auto n = static_cast<std::size_t>(FECGLeadLehgth);
    if (FECG.size() < leads) {
        return 0;
    }
    std::int64_t total = 0;
    for (std::size_t l = 0; l < leads; ++l) {
        if (FECG[l].size() < n || !WriteAll(AStream, FECG[l].data(), n * 2)) {
            return 0;
        }
        total += static_cast<std::int64_t>(n) * 2;
    }
    return SaturateToInt32(total);
}

std::int32_t TM12ECGObj::LoadFromStreamECG(rtl::TStream &AStream, bool loadPacked) {
    if (!AllocECGBuffers()) {
        return 0;
    }
    std::int32_t bytesRead = 0;
    const bool loaded = loadPacked ? LoadPacked(AStream, bytesRead) : LoadRaw(AStream, bytesRead);
    if (!loaded) {
        FreeECGBuffers();
        return 0;
    }
    return bytesRead;
}

bool TM12ECGObj::LoadPacked(rtl::TStream &AStream, std::int32_t &bytesRead) {
    std::int64_t total = 0;
    for (byte_array &packed : FPackedECG) {
        if (!ReadAll(AStream, packed.data(), packed.size())) {
            return false;
        }
        total += static_cast<std::int64_t>(packed.size());
    }
    UnpackECG();
    bytesRead = SaturateToInt32(total);
    return true;
}

bool TM12ECGObj::LoadRaw(rtl::TStream &AStream, std::int32_t &bytesRead) {
    const auto n = static_cast<std::size_t>(FECGLeadLehgth);
    TUnPackedECG leads;
    SizeLeads(leads, FECGInfo.LeadsCount, n);
    std::int64_t total = 0;
    for (smallint_array &lead : leads) {
        if (!ReadAll(AStream, lead.data(), n * 2)) {
            return false;
        }
        total += static_cast<std::int64_t>(n) * 2;
    }
    AssignECG(leads);
    bytesRead = SaturateToInt32(total);
    return true;
}

void TM12ECGObj::Clone(TM12ECGObj &srcObj) {
    const TM12ECGInfo &src = srcObj.FECGInfo;
    SetECGType(src.ECGType);
    SetECGSize(src.LeadsCount, src.LenghtSec, src.Frequency);
    FECGInfo.InputDateTime = src.InputDateTime;
    FECGInfo.ElectrodesControl = src.ElectrodesControl;
    FECGInfo.Strok = src.Strok;
    for (std::uint8_t channel = 1; channel <= 12; ++channel) {
        SetLeads(channel, srcObj.GetLeads(channel));
        SetSortedLeads(channel, srcObj.GetSortedLeads(channel));
    }
    FECGInfo.Neb = src.Neb;
    VisLead = srcObj.VisLead;
    rtl::TMemoryStream stream;
    srcObj.SaveToStreamECG(stream, true);
    stream.SetPosition(0);
    LoadFromStreamECG(stream, true);
    ClearQRSList();
}

} // namespace ecg
