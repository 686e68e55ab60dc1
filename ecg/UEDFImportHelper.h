// The EDF reader: one recording in the European Data Format into a new 12-lead ECG record.
#pragma once

#include "ecg/M12ECG.h"
#include "ecg/TypesHelper.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/System.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace ecg {

// A recording that the reader refuses: outside the supported subset, truncated, or with a
// header field that does not hold what it must. The message names the EDF field.
class EEDFImportError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// Reads the supported subset of EDF: at most 12 signals, all with the same number of samples
// per data record, a header of 256 x (signals + 1) bytes, a record duration that is a whole
// number of seconds (in any decimal spelling: "1", "1.000000"), 1 to 3 signal groups (the
// recording field split at "G"; 2 or 3 groups need 12 signals). Samples are scaled to
// hundredths of a millivolt (pmin + (raw - dmin) x gain; dimension "uV" or "µV" (the micro sign
// in the ANSI code page or in UTF-8, or the Greek mu in UTF-8) or "V", anything else mV),
// saturated to 16 bits, and placed into the standard lead order by the group count. Header
// numbers are read with "." as the decimal separator whatever the locale.
//
// Failures raise exceptions and build no record: rtl::EFOpenError for a file that cannot be
// opened or is no regular file (a FIFO or a device, refused without waiting), rtl::EReadError
// when it shrinks while being read, rtl::EConvertError for a number, date or time field that
// does not parse, and EEDFImportError for everything else refused; each message names the field
// by its Russian name («число сигналов»); readEDF's messages start with the file's full name
// (Файл EDF "<path>": ...). A recording whose leads cannot be allocated is refused before its
// samples are read.
class TEDFImportHelper {
public:
    TEDFImportHelper();
    ~TEDFImportHelper();
    TEDFImportHelper(const TEDFImportHelper &) = delete;
    TEDFImportHelper &operator=(const TEDFImportHelper &) = delete;

    // Reads the file and builds the record; returns 1.
    std::int32_t readEDF(const rtl::UnicodeString &edfFN);
    // The same on a recording already in memory (the whole file's bytes).
    std::int32_t readEDFFromMemory(std::span<const std::uint8_t> edfBytes);

    // The record built by the last successful read, handed to the caller (nullptr before and
    // after a failed read, and on a second call).
    std::unique_ptr<TM12ECGObj> getM12ECG();
    // One label per signal in file order, signal-type prefix and "-Ref" removed.
    const rtl::TStringList &getLeadNames() const { return leadNames; }
    // The trimmed patient field.
    const rtl::UnicodeString &getPacInfo() const { return patInfo; }

private:
    class THeaderReader;
    std::int32_t ReadFile(const rtl::UnicodeString &edfFN);
    std::unique_ptr<TM12ECGObj> ReadHeader(std::span<const std::uint8_t> header,
                                           std::uint64_t fileSize);
    void ParseFixedPart(THeaderReader &header);
    void CheckFixedPart() const;
    void ParseSignalFields(THeaderReader &header);
    void ParseLimits(THeaderReader &header);
    void CheckSupported(std::uint64_t fileSize);
    void CheckSampling();
    void CheckScales();
    void CheckDataArea(std::uint64_t fileSize) const;
    std::unique_ptr<TM12ECGObj> BuildRecord() const;
    std::size_t DataRecordBytes() const;
    void ConvertRecords(const std::uint8_t *records, std::size_t first, std::size_t count,
                        TM12ECGObj &record) const;
    std::int32_t Finish(std::unique_ptr<TM12ECGObj> record);
    void Reset();

    std::unique_ptr<TM12ECGObj> m12ECGObj;
    rtl::UnicodeString patInfo;
    rtl::TDateTime startDateTime = 0; // start date + time
    std::int32_t header_size = 0;
    std::int32_t recCount = 0;
    std::int32_t recLen = 0;
    std::int32_t LeadCount = 0;
    rtl::TStringList leadNames;
    int_array recLength;
    std::int32_t groupCount = 1;
    std::int32_t edfFrequency = 0;
    std::vector<double> leadMinPh;
    std::vector<double> leadMaxPh;
    int_array leadMinD;
    int_array leadMaxD;
    std::vector<double> leadkoeff;
    std::vector<double> leadUnitMul; // physical dimension to mV: x 1000 for "V"
    std::vector<double> leadUnitDiv; // and / 1000 for "uV" or "µV"
};

} // namespace ecg
