// Writer of EDF recordings.
#include "tools/EdfWriter.h"

#include <fstream>
#include <stdexcept>

namespace sampledb {

namespace {

constexpr int kFixedHeaderBytes = 256;
constexpr int kSignalHeaderBytes = 256;

// Appends text left-aligned in a field of the given width, padded with blanks.
void Field(std::string &out, const std::string &text, size_t width, const char *name) {
    if (text.size() > width) {
        throw std::invalid_argument(std::string("EDF field too long: ") + name + " \"" + text +
                                    "\"");
    }
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E) {
            throw std::invalid_argument(std::string("EDF field not printable ASCII: ") + name);
        }
    }
    out += text;
    out.append(width - text.size(), ' ');
}

void IntField(std::string &out, int64_t value, size_t width, const char *name) {
    Field(out, std::to_string(value), width, name);
}

void FixedHeader(std::string &out, const TEdfFile &f) {
    const size_t ns = f.Signals.size();
    Field(out, "0", 8, "version");
    Field(out, f.Patient, 80, "patient");
    Field(out, f.Recording, 80, "recording");
    Field(out, f.StartDate, 8, "start date");
    Field(out, f.StartTime, 8, "start time");
    IntField(out, kFixedHeaderBytes + static_cast<int64_t>(ns) * kSignalHeaderBytes, 8,
             "header bytes");
    Field(out, "", 44, "reserved");
    IntField(out, f.RecordCount, 8, "record count");
    IntField(out, f.RecordDurationSec, 8, "record duration");
    IntField(out, static_cast<int64_t>(ns), 4, "signal count");
}

void SignalHeaders(std::string &out, const std::vector<TEdfSignal> &signals) {
    for (const auto &s : signals) {
        Field(out, s.Label, 16, "label");
    }
    for (const auto &s : signals) {
        Field(out, s.Transducer, 80, "transducer");
    }
    for (const auto &s : signals) {
        Field(out, s.Dimension, 8, "dimension");
    }
    for (const auto &s : signals) {
        Field(out, s.PhysicalMin, 8, "physical minimum");
    }
    for (const auto &s : signals) {
        Field(out, s.PhysicalMax, 8, "physical maximum");
    }
    for (const auto &s : signals) {
        IntField(out, s.DigitalMin, 8, "digital minimum");
    }
    for (const auto &s : signals) {
        IntField(out, s.DigitalMax, 8, "digital maximum");
    }
    for (const auto &s : signals) {
        Field(out, s.Prefiltering, 80, "prefiltering");
    }
    for (const auto &s : signals) {
        IntField(out, s.SamplesPerRecord, 8, "samples per record");
    }
    for (size_t i = 0; i < signals.size(); ++i) {
        Field(out, "", 32, "reserved");
    }
}

void DataRecords(std::string &out, const TEdfFile &f) {
    for (const auto &s : f.Signals) {
        if (s.SamplesPerRecord < 0 ||
            s.Samples.size() != static_cast<size_t>(s.SamplesPerRecord) * f.RecordCount) {
            throw std::invalid_argument("EDF signal \"" + s.Label +
                                        "\": sample count differs from the records");
        }
    }
    for (int32_t r = 0; r < f.RecordCount; ++r) {
        for (const auto &s : f.Signals) {
            const size_t first = static_cast<size_t>(r) * s.SamplesPerRecord;
            for (size_t i = first; i < first + s.SamplesPerRecord; ++i) {
                const auto v = static_cast<uint16_t>(s.Samples[i]);
                out += static_cast<char>(v & 0xFF);
                out += static_cast<char>(v >> 8);
            }
        }
    }
}

} // namespace

std::string MakeEdf(const TEdfFile &file) {
    if (file.RecordCount < 0) {
        throw std::invalid_argument("EDF record count is negative");
    }
    std::string out;
    FixedHeader(out, file);
    SignalHeaders(out, file.Signals);
    DataRecords(out, file);
    return out;
}

void WriteFileBytes(const std::filesystem::path &path, const std::string &bytes) {
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream.close();
    if (!stream) {
        throw std::runtime_error("Cannot write file \"" + path.string() + "\"");
    }
}

} // namespace sampledb
