// Tests of the EDF writer: header fields at their offsets, data record layout, refused input.
#include "tools/EdfWriter.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace sampledb {
namespace {

TEdfFile TwoSignals() {
    TEdfFile f;
    f.Patient = "P1_F_01.02.1990";
    f.Recording = "G1: a G2: b";
    f.StartDate = "05.03.21";
    f.StartTime = "14.30.00";
    f.RecordCount = 3;
    f.RecordDurationSec = 1;
    for (const char *label : {"ECG I", "ECG II"}) {
        TEdfSignal s;
        s.Label = label;
        s.Transducer = "AgAgCl electrode";
        s.Dimension = "mV";
        s.PhysicalMin = "-327.68";
        s.PhysicalMax = "327.67";
        s.SamplesPerRecord = 2;
        f.Signals.push_back(s);
    }
    f.Signals[0].Samples = {1, 2, 3, 4, 5, 6};
    f.Signals[1].Samples = {-1, -2, 256, 32767, -32768, 0};
    return f;
}

std::string Padded(const std::string &text, size_t width) {
    return text + std::string(width - text.size(), ' ');
}

TEST(EdfWriter, FixedHeaderHoldsEveryFieldAtItsOffset) {
    const std::string edf = MakeEdf(TwoSignals());
    const std::string expected = Padded("0", 8) + Padded("P1_F_01.02.1990", 80) +
                                 Padded("G1: a G2: b", 80) + "05.03.21" + "14.30.00" +
                                 Padded("768", 8) + std::string(44, ' ') + Padded("3", 8) +
                                 Padded("1", 8) + Padded("2", 4);
    ASSERT_EQ(expected.size(), 256u);
    EXPECT_EQ(edf.substr(0, 256), expected);
}

TEST(EdfWriter, SignalFieldsFollowFieldAfterField) {
    const std::string edf = MakeEdf(TwoSignals());
    const std::string expected =
        Padded("ECG I", 16) + Padded("ECG II", 16) + Padded("AgAgCl electrode", 80) +
        Padded("AgAgCl electrode", 80) + Padded("mV", 8) + Padded("mV", 8) + "-327.68 -327.68 " +
        "327.67  327.67  " + "-32768  -32768  " + "32767   32767   " + std::string(160, ' ') +
        Padded("2", 8) + Padded("2", 8) + std::string(64, ' ');
    ASSERT_EQ(expected.size(), 512u);
    EXPECT_EQ(edf.substr(256, 512), expected);
}

// Each record holds signal 1's samples of that record, then signal 2's, little-endian.
TEST(EdfWriter, DataRecordsInterleaveSignalsPerRecord) {
    const std::string edf = MakeEdf(TwoSignals());
    ASSERT_EQ(edf.size(), 768u + 3 * 2 * 2 * 2);
    const std::string data = edf.substr(768);
    const unsigned char expected[] = {1, 0, 2,    0,    0xFF, 0xFF, 0xFE, 0xFF, 3, 0,    4, 0,
                                      0, 1, 0xFF, 0x7F, 5,    0,    6,    0,    0, 0x80, 0, 0};
    ASSERT_EQ(data.size(), sizeof expected);
    for (size_t i = 0; i < data.size(); ++i) {
        EXPECT_EQ(static_cast<unsigned char>(data[i]), expected[i]) << "byte " << i;
    }
}

TEST(EdfWriter, RefusesWhatDoesNotFit) {
    struct TCase {
        const char *What;
        void (*Spoil)(TEdfFile &);
    };
    const TCase cases[] = {
        {"long patient", [](TEdfFile &f) { f.Patient = std::string(81, 'x'); }},
        {"long label", [](TEdfFile &f) { f.Signals[0].Label = std::string(17, 'x'); }},
        {"long date", [](TEdfFile &f) { f.StartDate = "05.03.2021"; }},
        {"long physical", [](TEdfFile &f) { f.Signals[1].PhysicalMin = "-327.6800"; }},
        {"control character", [](TEdfFile &f) { f.Recording = "a\tb"; }},
        {"non-ASCII", [](TEdfFile &f) { f.Patient = "\xD0\x98"; }},
        {"short samples", [](TEdfFile &f) { f.Signals[1].Samples.pop_back(); }},
        {"extra samples", [](TEdfFile &f) { f.Signals[0].Samples.push_back(7); }},
        {"negative records", [](TEdfFile &f) { f.RecordCount = -1; }},
    };
    for (const TCase &c : cases) {
        TEdfFile f = TwoSignals();
        c.Spoil(f);
        EXPECT_THROW(MakeEdf(f), std::invalid_argument) << c.What;
    }
}

TEST(EdfWriter, FieldsOfExactWidthFit) {
    TEdfFile f = TwoSignals();
    f.Patient = std::string(80, 'p');
    f.Signals[0].Label = std::string(16, 'l');
    const std::string edf = MakeEdf(f);
    EXPECT_EQ(edf.substr(8, 80), f.Patient);
    EXPECT_EQ(edf.substr(256, 16), f.Signals[0].Label);
}

TEST(EdfWriter, WriteFileBytesReportsAnUnwritablePath) {
    EXPECT_THROW(WriteFileBytes("/nonexistent-folder/x/y.edf", "abc"), std::runtime_error);
}

} // namespace
} // namespace sampledb
