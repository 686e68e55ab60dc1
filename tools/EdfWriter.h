// Writer of EDF recordings: the fixed and per-signal header fields and 16-bit samples.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace sampledb {

struct TEdfSignal {
    std::string Label;       // at most 16 characters, e.g. "ECG V1"
    std::string Transducer;  // at most 80
    std::string Dimension;   // at most 8, e.g. "mV"
    std::string PhysicalMin; // decimal text of at most 8 characters, e.g. "-327.68"
    std::string PhysicalMax;
    int32_t DigitalMin = -32768;
    int32_t DigitalMax = 32767;
    std::string Prefiltering; // at most 80
    int32_t SamplesPerRecord = 0;
    std::vector<int16_t> Samples; // the whole recording: RecordCount x SamplesPerRecord
};

struct TEdfFile {
    std::string Patient;   // at most 80 characters
    std::string Recording; // at most 80
    std::string StartDate; // "dd.mm.yy"
    std::string StartTime; // "hh.mm.ss"
    int32_t RecordCount = 0;
    int32_t RecordDurationSec = 1;
    std::vector<TEdfSignal> Signals;
};

// The bytes of the EDF file: a 256-byte fixed header, 256 bytes per signal of space-padded
// ASCII fields, then the data records, each holding every signal's samples of that record in
// turn as little-endian 16-bit integers. Throws std::invalid_argument when a text does not fit
// its field or is not printable ASCII, or when a signal's sample count is not RecordCount x
// SamplesPerRecord.
std::string MakeEdf(const TEdfFile &file);

// Writes bytes to a file, replacing it; throws std::runtime_error with the path on failure.
void WriteFileBytes(const std::filesystem::path &path, const std::string &bytes);

} // namespace sampledb
