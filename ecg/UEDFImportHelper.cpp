// The EDF reader: one recording in the European Data Format into a new 12-lead ECG record.
#include "ecg/UEDFImportHelper.h"

#include "ecg/ZavStringHelper.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Rounding.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace ecg {

namespace {

constexpr std::int32_t MaxSignals = 12;
// The header of a file of 12 signals; a smaller file's header is shorter.
constexpr std::size_t MaxHeaderSize = 256 + 12 * 256;
// Data records are read from a file in blocks of about this size.
constexpr std::size_t ReadBlockBytes = 256 * 1024;
constexpr std::int32_t MaxLengthSec = 65535;
// Keeps a packed lead (n + n / 8 bytes) and every lead length inside 32 bits.
constexpr std::int64_t MaxSamplesPerSignal = 1'000'000'000;
// Keeps one data record within a single stream read.
constexpr std::int64_t MaxDataRecordBytes = std::int64_t{1} << 30;

// Record lead (from 1) that signal i (file order) fills, by group count 1 to 3.
constexpr std::uint8_t GroupLeadTables[3][12] = {
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
    {1, 2, 3, 7, 8, 9, 4, 5, 6, 10, 11, 12},
    {1, 2, 7, 8, 3, 4, 9, 10, 5, 6, 11, 12},
};

const char16_t *const LeadLabels[12] = {u"I",  u"II", u"III", u"AVR", u"AVL", u"AVF",
                                        u"V1", u"V2", u"V3",  u"V4",  u"V5",  u"V6"};

std::string FieldName(const char *field, std::int32_t signal) {
    std::string name = std::string("\"") + field + "\"";
    if (signal > 0) {
        name += " of signal " + std::to_string(signal);
    }
    return name;
}

[[noreturn]] void Refuse(const std::string &message) {
    throw EEDFImportError(message);
}

std::int32_t SignalNo(std::size_t index) {
    return static_cast<std::int32_t>(index + 1);
}

std::string Quoted(const rtl::UnicodeString &text) {
    return "'" + rtl::Utf16ToUtf8(text) + "'";
}

// Number of signal groups of the recording field: its pieces between capital "G"s that are
// not blank; a blank field and an EDF+ field ("Startdate ...") are one group.
std::int32_t CountGroups(const rtl::UnicodeString &recording) {
    if (recording.empty() || recording.starts_with(u"Startdate ")) {
        return 1;
    }
    const std::unique_ptr<rtl::TStringList> pieces = SplitString(recording, u"G");
    std::int32_t groups = 0;
    for (std::int32_t i = 0; i < pieces->GetCount(); ++i) {
        if (!rtl::Trim((*pieces)[i]).empty()) {
            ++groups;
        }
    }
    return groups;
}

// Scaling of one signal to hundredths of a millivolt: ((offset + (raw - base) x gain) x mul /
// div) x 100. A symmetric range has offset and base 0, which is raw x gain bit for bit.
struct TSampleScale {
    double offset;
    double base;
    double gain;
    double mul;
    double div;
};

// The physical value p (mV) as 16-bit hundredths: Round(p x 100) with the product taken
// exactly (in extended precision, as the original reader computed it), halves to even, then
// saturated to 16 bits. Only a product that lands exactly on a half in double needs the exact
// product to settle the tie.
inline std::int16_t ToHundredths(double p) {
    const double hundredths = p * 100.0;
    if (hundredths >= 32767.0) {
        return 32767;
    }
    if (!(hundredths > -32768.0)) {
        return std::isnan(hundredths) ? 0 : -32768;
    }
    std::int32_t r = rtl::RoundSaturated<std::int32_t>(hundredths);
    const double diff = hundredths - r;
    if (diff == 0.5 || diff == -0.5) {
        r = rtl::RoundSaturated<std::int32_t>(static_cast<long double>(p) * 100.0L);
    }
    return static_cast<std::int16_t>(r);
}

template <bool Dimensioned>
void ConvertRun(const std::uint8_t *src, std::size_t count, std::int16_t *out,
                const TSampleScale &scale) {
    for (std::size_t k = 0; k < count; ++k) {
        const auto raw = static_cast<std::int16_t>(
            static_cast<std::uint16_t>(src[2 * k] | (src[2 * k + 1] << 8)));
        double p = scale.offset + (raw - scale.base) * scale.gain;
        if constexpr (Dimensioned) {
            p = p * scale.mul / scale.div;
        }
        out[k] = ToHundredths(p);
    }
}

} // namespace

// Reads the header's fixed-width text fields one after the other. A field that runs past the
// end of the file refuses the file, naming the field.
class TEDFImportHelper::THeaderReader {
public:
    explicit THeaderReader(std::span<const std::uint8_t> file)
        : FFile(file), FPointSettings(rtl::FormatSettings()) {
        FPointSettings.DecimalSeparator = u'.';
    }

    // The field's text in the ANSI code page, trimmed.
    rtl::UnicodeString Next(std::size_t size, const char *field, std::int32_t signal = 0) {
        const std::uint8_t *bytes = Take(size, field, signal);
        return rtl::Trim(
            rtl::AnsiToUnicode(std::string_view(reinterpret_cast<const char *>(bytes), size)));
    }

    void Skip(std::size_t size, const char *field) { Take(size, field, 0); }

    std::int32_t NextInteger(std::size_t size, const char *field, std::int32_t signal = 0) {
        const rtl::UnicodeString text = Next(size, field, signal);
        std::int32_t value = 0;
        if (!rtl::TryStrToInt(text, value)) {
            throw rtl::EConvertError("EDF header field " + FieldName(field, signal) + ": " +
                                     Quoted(text) + " is not a valid integer value");
        }
        return value;
    }

    std::int32_t NextIntegerDef(std::size_t size, std::int32_t def, const char *field,
                                std::int32_t signal) {
        std::int32_t value = 0;
        return rtl::TryStrToInt(Next(size, field, signal), value) ? value : def;
    }

    // A decimal number with "." as separator whatever the locale.
    double NextRealDef(std::size_t size, double def, const char *field, std::int32_t signal) {
        double value = 0;
        return rtl::TryStrToFloat(Next(size, field, signal), value, FPointSettings) ? value : def;
    }

private:
    const std::uint8_t *Take(std::size_t size, const char *field, std::int32_t signal) {
        if (FFile.size() - FPosition < size) {
            Refuse("EDF file ends inside its header, in the field " + FieldName(field, signal));
        }
        const std::uint8_t *bytes = FFile.data() + FPosition;
        FPosition += size;
        return bytes;
    }

    std::span<const std::uint8_t> FFile;
    std::size_t FPosition = 0;
    rtl::TFormatSettings FPointSettings;
};

TEDFImportHelper::TEDFImportHelper() = default;

TEDFImportHelper::~TEDFImportHelper() = default;

void TEDFImportHelper::Reset() {
    m12ECGObj.reset();
    patInfo.clear();
    startDateTime = 0;
    header_size = recCount = recLen = LeadCount = 0;
    leadNames.Clear();
    groupCount = 1;
    edfFrequency = 0;
    recLength.clear();
    leadMinPh.clear();
    leadMaxPh.clear();
    leadMinD.clear();
    leadMaxD.clear();
    leadkoeff.clear();
    leadUnitMul.clear();
    leadUnitDiv.clear();
}

// The file is read in blocks of whole data records converted as they arrive, so that no copy
// of the whole file is held beside the record.
std::int32_t TEDFImportHelper::readEDF(const rtl::UnicodeString &edfFN) {
    Reset();
    rtl::TFileStream file(edfFN, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    const auto fileSize = static_cast<std::uint64_t>(std::max<std::int64_t>(file.GetSize(), 0));
    byte_array header(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, MaxHeaderSize)));
    file.ReadBuffer(header.data(), static_cast<std::int32_t>(header.size()));
    std::unique_ptr<TM12ECGObj> record = ReadHeader(header, fileSize);
    const std::size_t recordBytes = DataRecordBytes();
    const std::size_t perBlock = std::max<std::size_t>(1, ReadBlockBytes / recordBytes);
    byte_array block(std::min<std::size_t>(perBlock, static_cast<std::size_t>(recCount)) *
                     recordBytes);
    file.Seek(header_size, rtl::soBeginning);
    for (std::size_t first = 0; first < static_cast<std::size_t>(recCount); first += perBlock) {
        const std::size_t count = std::min(perBlock, static_cast<std::size_t>(recCount) - first);
        file.ReadBuffer(block.data(), static_cast<std::int32_t>(count * recordBytes));
        ConvertRecords(block.data(), first, count, *record);
    }
    return Finish(std::move(record));
}

std::int32_t TEDFImportHelper::readEDFFromMemory(std::span<const std::uint8_t> edfBytes) {
    Reset();
    std::unique_ptr<TM12ECGObj> record = ReadHeader(
        edfBytes.first(std::min<std::size_t>(edfBytes.size(), MaxHeaderSize)), edfBytes.size());
    ConvertRecords(edfBytes.data() + header_size, 0, static_cast<std::size_t>(recCount), *record);
    return Finish(std::move(record));
}

std::unique_ptr<TM12ECGObj> TEDFImportHelper::ReadHeader(std::span<const std::uint8_t> header,
                                                         std::uint64_t fileSize) {
    THeaderReader reader(header);
    ParseFixedPart(reader);
    ParseSignalFields(reader);
    CheckSupported(fileSize);
    return BuildRecord();
}

std::size_t TEDFImportHelper::DataRecordBytes() const {
    return 2 * static_cast<std::size_t>(LeadCount) * static_cast<std::size_t>(recLength[0]);
}

std::int32_t TEDFImportHelper::Finish(std::unique_ptr<TM12ECGObj> record) {
    record->PackECG();
    record->FECGChanged = true;
    record->SetStrok(static_cast<std::uint8_t>(LeadCount / groupCount));
    record->SetChanged(true);
    m12ECGObj = std::move(record);
    return 1;
}

std::unique_ptr<TM12ECGObj> TEDFImportHelper::getM12ECG() {
    return std::move(m12ECGObj);
}

namespace {

rtl::TDateTime ParseStartDateTime(const rtl::UnicodeString &dateTime) {
    rtl::TFormatSettings settings = rtl::FormatSettings();
    settings.DateSeparator = u'.';
    settings.TimeSeparator = u'.';
    settings.ShortDateFormat = u"dd.MM.yy";
    settings.ShortTimeFormat = u"hh.mm.ss";
    if (settings.DecimalSeparator == u'.') {
        // Would read the seconds as milliseconds.
        settings.DecimalSeparator = u',';
    }
    const rtl::UnicodeString dateText = rtl::Copy(dateTime, 1, 8);
    const rtl::UnicodeString timeText = rtl::Copy(dateTime, 9, 8);
    rtl::TDateTime date = 0;
    rtl::TDateTime time = 0;
    if (!rtl::TryStrToDate(dateText, date, settings)) {
        throw rtl::EConvertError("EDF header field \"start date\": " + Quoted(dateText) +
                                 " is not a valid date");
    }
    if (!rtl::TryStrToTime(timeText, time, settings)) {
        throw rtl::EConvertError("EDF header field \"start time\": " + Quoted(timeText) +
                                 " is not a valid time");
    }
    return date + time;
}

} // namespace

void TEDFImportHelper::ParseFixedPart(THeaderReader &header) {
    header.Skip(8, "version");
    patInfo = header.Next(80, "patient identification");
    groupCount = CountGroups(header.Next(80, "recording identification"));
    if (groupCount < 1 || groupCount > 3) {
        Refuse("EDF header field \"recording identification\" holds " + std::to_string(groupCount) +
               " signal groups: 1 to 3 are supported");
    }
    startDateTime = ParseStartDateTime(header.Next(16, "start date"));
    header_size = header.NextInteger(8, "number of bytes in header record");
    header.Skip(44, "reserved");
    recCount = header.NextInteger(8, "number of data records");
    recLen = header.NextInteger(8, "duration of a data record");
    LeadCount = header.NextInteger(4, "number of signals");
    CheckFixedPart();
}

void TEDFImportHelper::CheckFixedPart() const {
    if (recCount < 1) {
        Refuse("EDF header field \"number of data records\" must be a positive integer, not " +
               std::to_string(recCount));
    }
    if (recLen < 1) {
        Refuse("EDF header field \"duration of a data record\" must be a positive whole number "
               "of seconds, not " +
               std::to_string(recLen));
    }
    if (std::int64_t{recCount} * recLen > MaxLengthSec) {
        Refuse("EDF recording is " + std::to_string(std::int64_t{recCount} * recLen) +
               " s long (fields \"number of data records\" and \"duration of a data record\"): "
               "at most 65535 s are supported");
    }
    if (LeadCount < 1 || LeadCount > MaxSignals) {
        Refuse("EDF header field \"number of signals\" is " + std::to_string(LeadCount) +
               ": 1 to 12 signals are supported");
    }
    if (groupCount > 1 && LeadCount != MaxSignals) {
        Refuse("EDF header field \"number of signals\" is " + std::to_string(LeadCount) +
               ": a recording of " + std::to_string(groupCount) +
               " signal groups (field \"recording identification\") needs 12 signals");
    }
}

void TEDFImportHelper::ParseSignalFields(THeaderReader &header) {
    const auto ns = static_cast<std::size_t>(LeadCount);
    for (std::int32_t i = 1; i <= LeadCount; ++i) {
        // Drop the signal-type prefix ("ECG ", "EKG ") and a reference suffix.
        rtl::UnicodeString label = rtl::Copy(header.Next(16, "label", i), 5);
        const std::int32_t ref = rtl::Pos(u"-Ref", label);
        if (ref > 0) {
            label = rtl::Copy(label, 1, ref - 1);
        }
        leadNames.Add(label);
    }
    header.Skip(80 * ns, "transducer type");
    leadUnitMul.assign(ns, 1.0);
    leadUnitDiv.assign(ns, 1.0);
    for (std::size_t i = 0; i < ns; ++i) {
        const rtl::UnicodeString unit = header.Next(8, "physical dimension", SignalNo(i));
        if (unit == u"uV" || unit == u"\u00B5V") {
            leadUnitDiv[i] = 1000.0;
        } else if (unit == u"V") {
            leadUnitMul[i] = 1000.0;
        }
    }
    ParseLimits(header);
    header.Skip(80 * ns, "prefiltering");
    recLength.assign(ns, 0);
    for (std::size_t i = 0; i < ns; ++i) {
        recLength[i] = header.NextInteger(8, "number of samples in each data record", SignalNo(i));
    }
    header.Skip(32 * ns, "reserved");
}

void TEDFImportHelper::ParseLimits(THeaderReader &header) {
    const auto ns = static_cast<std::size_t>(LeadCount);
    leadMinPh.assign(ns, 0.0);
    leadMaxPh.assign(ns, 0.0);
    leadMinD.assign(ns, 0);
    leadMaxD.assign(ns, 0);
    for (std::size_t i = 0; i < ns; ++i) {
        leadMinPh[i] = header.NextRealDef(8, -12.0, "physical minimum", SignalNo(i));
    }
    for (std::size_t i = 0; i < ns; ++i) {
        leadMaxPh[i] = header.NextRealDef(8, 12.0, "physical maximum", SignalNo(i));
    }
    for (std::size_t i = 0; i < ns; ++i) {
        leadMinD[i] = header.NextIntegerDef(8, -1200, "digital minimum", SignalNo(i));
    }
    for (std::size_t i = 0; i < ns; ++i) {
        leadMaxD[i] = header.NextIntegerDef(8, 1200, "digital maximum", SignalNo(i));
    }
}

// Refuses what the subset does not cover and derives the frequency and the gains.
void TEDFImportHelper::CheckSupported(std::uint64_t fileSize) {
    CheckSampling();
    CheckScales();
    CheckDataArea(fileSize);
}

void TEDFImportHelper::CheckSampling() {
    const char *sprField = "number of samples in each data record";
    for (std::int32_t i = 0; i < LeadCount; ++i) {
        if (recLength[i] < 1) {
            Refuse("EDF header field " + FieldName(sprField, i + 1) + " must be positive, not " +
                   std::to_string(recLength[i]));
        }
        if (recLength[i] != recLength[0]) {
            Refuse("EDF header field " + FieldName(sprField, i + 1) + " is " +
                   std::to_string(recLength[i]) + " but " + std::to_string(recLength[0]) +
                   " for signal 1: signals of different sampling rates are not supported");
        }
    }
    edfFrequency = rtl::RoundSaturated<std::int32_t>(static_cast<double>(recLength[0]) /
                                                     static_cast<double>(recLen));
    if (edfFrequency < 1 || edfFrequency > 65535 ||
        std::int64_t{edfFrequency} * recLen != recLength[0]) {
        Refuse("EDF header field \"" + std::string(sprField) + "\" is " +
               std::to_string(recLength[0]) + " for a record of " + std::to_string(recLen) +
               " s: the sampling frequency must be a whole number of 1 to 65535 per second");
    }
    if (std::int64_t{recLength[0]} * 2 * LeadCount > MaxDataRecordBytes) {
        Refuse("EDF data records of " + std::to_string(recLength[0]) +
               " samples per signal (field \"" + sprField + "\") are larger than 1 GiB");
    }
    const std::int64_t samples = std::int64_t{recCount} * recLength[0];
    if (samples < 3 || samples > MaxSamplesPerSignal) {
        Refuse("EDF recording holds " + std::to_string(samples) +
               " samples per signal (fields \"number of data records\" and \"" + sprField +
               "\"): 3 to 1000000000 are supported");
    }
}

void TEDFImportHelper::CheckScales() {
    leadkoeff.assign(static_cast<std::size_t>(LeadCount), 0.0);
    for (std::int32_t i = 0; i < LeadCount; ++i) {
        if (leadMaxD[i] == leadMinD[i]) {
            Refuse("EDF header field " + FieldName("digital maximum", i + 1) +
                   " equals the digital minimum (" + std::to_string(leadMinD[i]) + ")");
        }
        leadkoeff[i] = (leadMaxPh[i] - leadMinPh[i]) /
                       (static_cast<double>(leadMaxD[i]) - static_cast<double>(leadMinD[i]));
        if (!std::isfinite(leadkoeff[i])) {
            Refuse("EDF header fields " + FieldName("physical minimum", i + 1) + " and " +
                   FieldName("physical maximum", i + 1) + " give no finite scale");
        }
    }
}

void TEDFImportHelper::CheckDataArea(std::uint64_t fileSize) const {
    if (header_size < 0 || static_cast<std::uint64_t>(header_size) > fileSize) {
        Refuse("EDF header field \"number of bytes in header record\" is " +
               std::to_string(header_size) + " in a file of " + std::to_string(fileSize) +
               " bytes");
    }
    const std::uint64_t announced = static_cast<std::uint64_t>(recCount) * DataRecordBytes();
    const std::uint64_t present = fileSize - static_cast<std::uint64_t>(header_size);
    if (present < announced) {
        Refuse("EDF data area is shorter than announced: " + std::to_string(announced) +
               " bytes of data records expected after byte " + std::to_string(header_size) + ", " +
               std::to_string(present) + " present (field \"number of data records\")");
    }
}

std::unique_ptr<TM12ECGObj> TEDFImportHelper::BuildRecord() const {
    auto record = std::make_unique<TM12ECGObj>();
    record->SetECGSize(static_cast<std::uint8_t>(LeadCount),
                       static_cast<std::uint16_t>(recCount * recLen),
                       static_cast<std::uint16_t>(edfFrequency));
    record->SetInputDateTime(startDateTime);
    const std::int32_t strok = LeadCount / groupCount;
    record->SetStrok(static_cast<std::uint8_t>(strok));
    std::uint8_t type = 0;
    if (strok == 4 && LeadCount == 12) {
        type = 20;
    } else if (strok == 6 && LeadCount == 6) {
        type = 15;
    }
    record->SetECGType(type);
    for (std::int32_t i = 0; i < LeadCount; ++i) {
        const auto channel = static_cast<std::uint8_t>(i + 1);
        const rtl::UnicodeString &label = leadNames[i];
        if (rtl::Trim(label).empty()) {
            record->SetLeads(channel, channel);
            continue;
        }
        const rtl::UnicodeString upper = rtl::UpperCase(label);
        for (std::uint8_t u = 0; u < 12; ++u) {
            if (upper == LeadLabels[u]) {
                record->SetLeads(channel, static_cast<std::uint8_t>(u + 1));
            }
        }
    }
    return record;
}

// Converts count data records, the first of which is data record first of the file, into the
// record's raw leads; Finish packs them.
void TEDFImportHelper::ConvertRecords(const std::uint8_t *records, std::size_t first,
                                      std::size_t count, TM12ECGObj &record) const {
    const auto ns = static_cast<std::size_t>(LeadCount);
    const auto perRecord = static_cast<std::size_t>(recLength[0]);
    TUnPackedECG &leads = record.FECG;
    // The record was sized from this header; one whose buffers could not be allocated stays
    // silent.
    if (leads.size() != ns) {
        return;
    }
    for (const smallint_array &lead : leads) {
        if (lead.size() != static_cast<std::size_t>(recCount) * perRecord) {
            return;
        }
    }
    const std::uint8_t *table = GroupLeadTables[groupCount - 1];
    for (std::size_t i = 0; i < ns; ++i) {
        std::int16_t *out = leads[table[i] - 1u].data() + first * perRecord;
        const bool symmetric = leadMinPh[i] == -leadMaxPh[i] && leadMinD[i] == -leadMaxD[i];
        const TSampleScale scale{symmetric ? 0.0 : leadMinPh[i],
                                 symmetric ? 0.0 : static_cast<double>(leadMinD[i]), leadkoeff[i],
                                 leadUnitMul[i], leadUnitDiv[i]};
        const bool dimensioned = scale.mul != 1.0 || scale.div != 1.0;
        for (std::size_t j = 0; j < count; ++j) {
            const std::uint8_t *src = records + 2 * (j * ns * perRecord + i * perRecord);
            std::int16_t *dst = out + j * perRecord;
            if (dimensioned) {
                ConvertRun<true>(src, perRecord, dst, scale);
            } else {
                ConvertRun<false>(src, perRecord, dst, scale);
            }
        }
    }
}

} // namespace ecg
