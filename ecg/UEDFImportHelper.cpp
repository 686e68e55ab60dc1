// The EDF reader: one recording in the European Data Format into a new 12-lead ECG record.
#include "ecg/UEDFImportHelper.h"

#include "ecg/ZavStringHelper.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Files.h"
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

// The header fields, by their Russian names: the messages name the field they refuse.
namespace field {
constexpr const char *Version = "версия";
constexpr const char *Patient = "идентификация пациента";
constexpr const char *Recording = "идентификация записи";
constexpr const char *StartDate = "дата начала";
constexpr const char *StartTime = "время начала";
constexpr const char *HeaderBytes = "число байтов заголовка";
constexpr const char *Reserved = "резерв";
constexpr const char *Records = "число записей данных";
constexpr const char *Duration = "длительность записи данных";
constexpr const char *Signals = "число сигналов";
constexpr const char *Label = "метка";
constexpr const char *Transducer = "тип датчика";
constexpr const char *Dimension = "физическая размерность";
constexpr const char *PhysicalMinimum = "физический минимум";
constexpr const char *PhysicalMaximum = "физический максимум";
constexpr const char *DigitalMinimum = "цифровой минимум";
constexpr const char *DigitalMaximum = "цифровой максимум";
constexpr const char *Prefiltering = "предварительная фильтрация";
constexpr const char *Samples = "число отсчетов в записи данных";
} // namespace field

std::string FieldName(const char *name, std::int32_t signal = 0) {
    std::string text = std::string("«") + name + "»";
    if (signal > 0) {
        text += " сигнала " + std::to_string(signal);
    }
    return text;
}

std::string HeaderField(const char *name, std::int32_t signal = 0) {
    return "Поле заголовка EDF " + FieldName(name, signal);
}

[[noreturn]] void Refuse(const std::string &message) {
    throw EEDFImportError(message);
}

std::int32_t SignalNo(std::size_t index) {
    return static_cast<std::int32_t>(index + 1);
}

std::string Quoted(const rtl::UnicodeString &text) {
    return "«" + rtl::Utf16ToUtf8(text) + "»";
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

// "uV", or the micro sign in the ANSI code page, in UTF-8, or as the Greek mu in UTF-8:
// writers spell microvolts all these ways.
bool IsMicrovolt(std::string_view unit) {
    return unit == "uV" || unit == "\xB5V" || unit == "\xC2\xB5V" || unit == "\xCE\xBCV";
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
            throw rtl::EConvertError(HeaderField(field, signal) + ": " + Quoted(text) +
                                     " не является целым числом");
        }
        return value;
    }

    // A positive whole number in any decimal spelling ("1", "1.000000"), as EDF writers put
    // the duration of a data record.
    std::int32_t NextWholeNumber(std::size_t size, const char *field) {
        const rtl::UnicodeString text = Next(size, field);
        double value = 0;
        if (!rtl::TryStrToFloat(text, value, FPointSettings)) {
            throw rtl::EConvertError(HeaderField(field) + ": " + Quoted(text) +
                                     " не является числом");
        }
        if (!(value >= 1 && value <= std::numeric_limits<std::int32_t>::max()) ||
            value != std::floor(value)) {
            Refuse(HeaderField(field) + " должно быть целым положительным числом секунд, а не " +
                   Quoted(text));
        }
        return static_cast<std::int32_t>(value);
    }

    // The field's bytes as they stand, trimmed of blanks.
    std::string_view NextRaw(std::size_t size, const char *field, std::int32_t signal) {
        std::string_view text(reinterpret_cast<const char *>(Take(size, field, signal)), size);
        while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') {
            text.remove_suffix(1);
        }
        while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') {
            text.remove_prefix(1);
        }
        return text;
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
            Refuse("Файл EDF обрывается в заголовке, в поле " + FieldName(field, signal));
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
    try {
        return ReadFile(edfFN);
    } catch (const EEDFImportError &e) {
        throw EEDFImportError(u"Файл EDF \"" + rtl::ExpandFileName(edfFN) + u"\": " + e.Message());
    }
}

std::int32_t TEDFImportHelper::ReadFile(const rtl::UnicodeString &edfFN) {
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
        throw rtl::EConvertError(HeaderField(field::StartDate) + ": " + Quoted(dateText) +
                                 " не является датой");
    }
    if (!rtl::TryStrToTime(timeText, time, settings)) {
        throw rtl::EConvertError(HeaderField(field::StartTime) + ": " + Quoted(timeText) +
                                 " не является временем");
    }
    return date + time;
}

} // namespace

void TEDFImportHelper::ParseFixedPart(THeaderReader &header) {
    header.Skip(8, field::Version);
    patInfo = header.Next(80, field::Patient);
    groupCount = CountGroups(header.Next(80, field::Recording));
    if (groupCount < 1 || groupCount > 3) {
        Refuse(HeaderField(field::Recording) + " содержит групп сигналов: " +
               std::to_string(groupCount) + ", поддерживается от 1 до 3");
    }
    startDateTime = ParseStartDateTime(header.Next(16, field::StartDate));
    header_size = header.NextInteger(8, field::HeaderBytes);
    header.Skip(44, field::Reserved);
    recCount = header.NextInteger(8, field::Records);
    recLen = header.NextWholeNumber(8, field::Duration);
    LeadCount = header.NextInteger(4, field::Signals);
    CheckFixedPart();
}

void TEDFImportHelper::CheckFixedPart() const {
    if (recCount < 1) {
        Refuse(HeaderField(field::Records) + " должно быть целым положительным числом, а не " +
               std::to_string(recCount));
    }
    if (std::int64_t{recCount} * recLen > MaxLengthSec) {
        Refuse("Запись EDF длится " + std::to_string(std::int64_t{recCount} * recLen) +
               " с (поля " + FieldName(field::Records) + " и " + FieldName(field::Duration) +
               "), поддерживается не более 65535 с");
    }
    if (LeadCount < 1 || LeadCount > MaxSignals) {
        Refuse(HeaderField(field::Signals) + " равно " + std::to_string(LeadCount) +
               ", поддерживается от 1 до 12 сигналов");
    }
    if (groupCount > 1 && LeadCount != MaxSignals) {
        Refuse(HeaderField(field::Signals) + " равно " + std::to_string(LeadCount) +
               ", а записи из " + std::to_string(groupCount) + " групп сигналов (поле " +
               FieldName(field::Recording) + ") нужно 12 сигналов");
    }
    // The samples begin right after the header, whose size the signal count fixes; reading
    // them from another offset would shift every sample.
    const std::int32_t expected = 256 * (LeadCount + 1);
    if (header_size != expected) {
        Refuse(HeaderField(field::HeaderBytes) + " равно " + std::to_string(header_size) +
               ", а заголовок файла из " + std::to_string(LeadCount) + " сигналов занимает " +
               std::to_string(expected) + " байтов");
    }
}

void TEDFImportHelper::ParseSignalFields(THeaderReader &header) {
    const auto ns = static_cast<std::size_t>(LeadCount);
    for (std::int32_t i = 1; i <= LeadCount; ++i) {
        // Drop the signal-type prefix ("ECG ", "EKG ") and a reference suffix.
        rtl::UnicodeString label = rtl::Copy(header.Next(16, field::Label, i), 5);
        const std::int32_t ref = rtl::Pos(u"-Ref", label);
        if (ref > 0) {
            label = rtl::Copy(label, 1, ref - 1);
        }
        leadNames.Add(label);
    }
    header.Skip(80 * ns, field::Transducer);
    leadUnitMul.assign(ns, 1.0);
    leadUnitDiv.assign(ns, 1.0);
    for (std::size_t i = 0; i < ns; ++i) {
        const std::string_view unit = header.NextRaw(8, field::Dimension, SignalNo(i));
        if (IsMicrovolt(unit)) {
            leadUnitDiv[i] = 1000.0;
        } else if (unit == "V") {
            leadUnitMul[i] = 1000.0;
        }
    }
    ParseLimits(header);
    header.Skip(80 * ns, field::Prefiltering);
    recLength.assign(ns, 0);
    for (std::size_t i = 0; i < ns; ++i) {
        recLength[i] = header.NextInteger(8, field::Samples, SignalNo(i));
    }
    header.Skip(32 * ns, field::Reserved);
}

void TEDFImportHelper::ParseLimits(THeaderReader &header) {
    const auto ns = static_cast<std::size_t>(LeadCount);
    leadMinPh.assign(ns, 0.0);
    leadMaxPh.assign(ns, 0.0);
    leadMinD.assign(ns, 0);
    leadMaxD.assign(ns, 0);
    for (std::size_t i = 0; i < ns; ++i) {
        leadMinPh[i] = header.NextRealDef(8, -12.0, field::PhysicalMinimum, SignalNo(i));
    }
    for (std::size_t i = 0; i < ns; ++i) {
        leadMaxPh[i] = header.NextRealDef(8, 12.0, field::PhysicalMaximum, SignalNo(i));
    }
    for (std::size_t i = 0; i < ns; ++i) {
        leadMinD[i] = header.NextIntegerDef(8, -1200, field::DigitalMinimum, SignalNo(i));
    }
    for (std::size_t i = 0; i < ns; ++i) {
        leadMaxD[i] = header.NextIntegerDef(8, 1200, field::DigitalMaximum, SignalNo(i));
    }
}

// Refuses what the subset does not cover and derives the frequency and the gains.
void TEDFImportHelper::CheckSupported(std::uint64_t fileSize) {
    CheckSampling();
    CheckScales();
    CheckDataArea(fileSize);
}

void TEDFImportHelper::CheckSampling() {
    for (std::int32_t i = 0; i < LeadCount; ++i) {
        if (recLength[i] < 1) {
            Refuse(HeaderField(field::Samples, i + 1) + " должно быть положительным, а не " +
                   std::to_string(recLength[i]));
        }
        if (recLength[i] != recLength[0]) {
            Refuse(HeaderField(field::Samples, i + 1) + " равно " + std::to_string(recLength[i]) +
                   ", а у сигнала 1 — " + std::to_string(recLength[0]) +
                   ": сигналы с разной частотой дискретизации не поддерживаются");
        }
    }
    edfFrequency = rtl::RoundSaturated<std::int32_t>(static_cast<double>(recLength[0]) /
                                                     static_cast<double>(recLen));
    if (edfFrequency < 1 || edfFrequency > 65535 ||
        std::int64_t{edfFrequency} * recLen != recLength[0]) {
        Refuse(HeaderField(field::Samples) + " равно " + std::to_string(recLength[0]) +
               " при записи данных длительностью " + std::to_string(recLen) +
               " с: частота дискретизации должна быть целым числом от 1 до 65535 в секунду");
    }
    if (std::int64_t{recLength[0]} * 2 * LeadCount > MaxDataRecordBytes) {
        Refuse("Записи данных EDF по " + std::to_string(recLength[0]) +
               " отсчетов на сигнал (поле " + FieldName(field::Samples) + ") больше 1 ГиБ");
    }
    const std::int64_t samples = std::int64_t{recCount} * recLength[0];
    if (samples < 3 || samples > MaxSamplesPerSignal) {
        Refuse("Запись EDF содержит " + std::to_string(samples) + " отсчетов на сигнал (поля " +
               FieldName(field::Records) + " и " + FieldName(field::Samples) +
               "), поддерживается от 3 до 1000000000");
    }
}

void TEDFImportHelper::CheckScales() {
    leadkoeff.assign(static_cast<std::size_t>(LeadCount), 0.0);
    for (std::int32_t i = 0; i < LeadCount; ++i) {
        if (leadMaxD[i] == leadMinD[i]) {
            Refuse(HeaderField(field::DigitalMaximum, i + 1) + " равно цифровому минимуму (" +
                   std::to_string(leadMinD[i]) + ")");
        }
        leadkoeff[i] = (leadMaxPh[i] - leadMinPh[i]) /
                       (static_cast<double>(leadMaxD[i]) - static_cast<double>(leadMinD[i]));
        if (!std::isfinite(leadkoeff[i])) {
            Refuse("Поля заголовка EDF " + FieldName(field::PhysicalMinimum, i + 1) + " и " +
                   FieldName(field::PhysicalMaximum, i + 1) + " не дают конечного масштаба");
        }
    }
}

void TEDFImportHelper::CheckDataArea(std::uint64_t fileSize) const {
    if (header_size < 0 || static_cast<std::uint64_t>(header_size) > fileSize) {
        Refuse(HeaderField(field::HeaderBytes) + " равно " + std::to_string(header_size) +
               ", а файл длиной " + std::to_string(fileSize) + " байтов");
    }
    const std::uint64_t announced = static_cast<std::uint64_t>(recCount) * DataRecordBytes();
    const std::uint64_t present = fileSize - static_cast<std::uint64_t>(header_size);
    if (present < announced) {
        Refuse("Область данных EDF короче объявленной: после байта " + std::to_string(header_size) +
               " ожидается " + std::to_string(announced) + " байтов записей данных, а есть " +
               std::to_string(present) + " (поле " + FieldName(field::Records) + ")");
    }
}

std::unique_ptr<TM12ECGObj> TEDFImportHelper::BuildRecord() const {
    auto record = std::make_unique<TM12ECGObj>();
    record->SetECGSize(static_cast<std::uint8_t>(LeadCount),
                       static_cast<std::uint16_t>(recCount * recLen),
                       static_cast<std::uint16_t>(edfFrequency));
    // Checked before any sample is read: a recording that cannot be held is refused, never
    // "read" into empty leads.
    if (record->GetLenghtECG() != std::int64_t{recCount} * recLen * edfFrequency) {
        Refuse("Запись из " + std::to_string(LeadCount) + " сигналов по " +
               std::to_string(std::int64_t{recCount} * recLen * edfFrequency) +
               " отсчётов не помещается в памяти");
    }
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
