// The EDF reader: the real recording, header fields, lead placement, scaling, and the refusal of
// every file outside the supported subset or cut short, without crashes.
#include "ecg/UEDFImportHelper.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace ecg {
namespace {

const std::string RealFile = std::string(WB_TEST_DATA) + "/ecg/REAL12_250.edf";

byte_array ReadFileBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return byte_array(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One signal's header entries, as text.
struct TEdfSignal {
    std::string label = "ECG I";
    std::string transducer = "AgAgCl electrode";
    std::string dimension = "mV";
    std::string physMin = "-327.68";
    std::string physMax = "327.67";
    std::string digMin = "-32768";
    std::string digMax = "32767";
    std::string prefilter;
    std::string samples = "4";
    std::string reserved;
};

// An EDF file assembled from header texts and raw samples (file order: record after record,
// signal after signal).
struct TEdfFile {
    std::string version = "0";
    std::string patient = "REAL12_F_25.01.1971";
    std::string recording;
    std::string startDate = "25.01.13";
    std::string startTime = "10.00.00";
    std::string headerBytes; // computed when empty
    std::string reserved;
    std::string records = "2";
    std::string duration = "1";
    std::string signalCount; // computed when empty
    std::vector<TEdfSignal> signals;
    std::vector<std::int16_t> data;

    byte_array Build() const {
        std::string h;
        const auto field = [&h](const std::string &text, std::size_t width) {
            std::string f = text.substr(0, width);
            f.resize(width, ' ');
            h += f;
        };
        const std::size_t ns = signals.size();
        field(version, 8);
        field(patient, 80);
        field(recording, 80);
        field(startDate, 8);
        field(startTime, 8);
        field(headerBytes.empty() ? std::to_string(256 * (ns + 1)) : headerBytes, 8);
        field(reserved, 44);
        field(records, 8);
        field(duration, 8);
        field(signalCount.empty() ? std::to_string(ns) : signalCount, 4);
        const std::pair<std::string TEdfSignal::*, std::size_t> perSignal[] = {
            {&TEdfSignal::label, 16},   {&TEdfSignal::transducer, 80}, {&TEdfSignal::dimension, 8},
            {&TEdfSignal::physMin, 8},  {&TEdfSignal::physMax, 8},     {&TEdfSignal::digMin, 8},
            {&TEdfSignal::digMax, 8},   {&TEdfSignal::prefilter, 80},  {&TEdfSignal::samples, 8},
            {&TEdfSignal::reserved, 32}};
        for (const auto &[member, width] : perSignal) {
            for (const TEdfSignal &s : signals) {
                field(s.*member, width);
            }
        }
        byte_array bytes(h.begin(), h.end());
        for (const std::int16_t v : data) {
            bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
        }
        return bytes;
    }
};

const char *const StandardLabels[12] = {"ECG I",   "ECG II",  "ECG III", "ECG aVR",
                                        "ECG aVL", "ECG aVF", "ECG V1",  "ECG V2",
                                        "ECG V3",  "ECG V4",  "ECG V5",  "ECG V6"};

// ns signals, records x spr samples each; sample k of signal i is value(i, k).
TEdfFile MakeEdf(std::size_t ns, int records, int spr,
                 const std::function<std::int16_t(std::size_t, int)> &value) {
    TEdfFile file;
    file.records = std::to_string(records);
    for (std::size_t i = 0; i < ns; ++i) {
        TEdfSignal s;
        s.label = StandardLabels[i % 12];
        s.samples = std::to_string(spr);
        file.signals.push_back(s);
    }
    for (int r = 0; r < records; ++r) {
        for (std::size_t i = 0; i < ns; ++i) {
            for (int k = 0; k < spr; ++k) {
                file.data.push_back(value(i, r * spr + k));
            }
        }
    }
    return file;
}

// Signal i carries 100 x (i + 1) plus the sample number, so every sample tells where it came
// from.
std::int16_t Tagged(std::size_t signal, int k) {
    return static_cast<std::int16_t>(100 * (signal + 1) + k);
}

struct TReadResult {
    std::unique_ptr<TM12ECGObj> record;
    std::vector<rtl::UnicodeString> names;
    rtl::UnicodeString patient;
};

TReadResult Read(const byte_array &bytes) {
    TEDFImportHelper reader;
    EXPECT_EQ(reader.readEDFFromMemory(bytes), 1);
    TReadResult result;
    result.record = reader.getM12ECG();
    for (std::int32_t i = 0; i < reader.getLeadNames().GetCount(); ++i) {
        result.names.push_back(reader.getLeadNames()[i]);
    }
    result.patient = reader.getPacInfo();
    return result;
}

// The message of the refusal, or "" when the file was read.
std::string Refusal(const byte_array &bytes) {
    TEDFImportHelper reader;
    try {
        reader.readEDFFromMemory(bytes);
    } catch (const rtl::Exception &e) {
        EXPECT_EQ(reader.getM12ECG(), nullptr);
        return e.what();
    }
    return "";
}

class EDFReader : public ::testing::Test {
protected:
    void SetUp() override { rtl::SetFormatSettings(rtl::TFormatSettings::Russian()); }
};

// The real recording -------------------------------------------------------------------------

TEST_F(EDFReader, RealRecordingHeader) {
    TEDFImportHelper reader;
    ASSERT_EQ(reader.readEDF(rtl::Utf8ToUtf16(RealFile)), 1);
    EXPECT_EQ(reader.getPacInfo(), u"REAL12_F_25.01.1971");
    const rtl::TStringList &names = reader.getLeadNames();
    ASSERT_EQ(names.GetCount(), 12);
    const char16_t *expected[12] = {u"I",  u"II", u"III", u"aVR", u"aVL", u"aVF",
                                    u"V1", u"V2", u"V3",  u"V4",  u"V5",  u"V6"};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(names[i], expected[i]);
    }
    const std::unique_ptr<TM12ECGObj> record = reader.getM12ECG();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(reader.getM12ECG(), nullptr);
    EXPECT_EQ(record->GetLeadsCount(), 12);
    EXPECT_EQ(record->GetFrequency(), 250);
    EXPECT_EQ(record->GetLenghtECGSec(), 10);
    EXPECT_EQ(record->GetLenghtECG(), 2500);
    EXPECT_EQ(record->GetStrok(), 12);
    EXPECT_EQ(record->GetECGType(), 0);
    EXPECT_TRUE(record->GetChanged());
    EXPECT_DOUBLE_EQ(record->GetInputDateTime(),
                     rtl::EncodeDate(2013, 1, 25) + rtl::EncodeTime(10, 0, 0, 0));
    for (std::uint8_t channel = 1; channel <= 12; ++channel) {
        EXPECT_EQ(record->GetLeads(channel), channel);
    }
}

TEST_F(EDFReader, RealRecordingSamplesAreTheRawValuesInPlace) {
    const byte_array file = ReadFileBytes(RealFile);
    ASSERT_EQ(file.size(), 3328u + 2u * 12 * 2500);
    TReadResult result = Read(file);
    const TM12ECGObj &record = *result.record;
    for (int r = 0; r < 10; ++r) {
        for (std::uint8_t lead = 1; lead <= 12; ++lead) {
            for (int k = 0; k < 250; ++k) {
                const std::size_t at = 3328 + 2 * ((r * 12 + (lead - 1)) * 250 + k);
                const auto raw = static_cast<std::int16_t>(file[at] | (file[at + 1] << 8));
                ASSERT_EQ(record.GetECG(lead, r * 250 + k + 1), raw)
                    << "lead " << int(lead) << " sample " << r * 250 + k;
            }
        }
    }
}

TEST_F(EDFReader, RealRecordingLimbLeadsObeyEinthoven) {
    TReadResult result = Read(ReadFileBytes(RealFile));
    const TM12ECGObj &record = *result.record;
    int nonZero = 0;
    for (std::int32_t i = 1; i <= 2500; ++i) {
        const int I = record.GetECG(1, i), II = record.GetECG(2, i), III = record.GetECG(3, i);
        ASSERT_LE(std::abs(II - (I + III)), 2) << "sample " << i;
        ASSERT_LE(std::abs(record.GetECG(4, i) + (I + II) / 2.0), 2.0) << "aVR at " << i;
        nonZero += II != 0;
    }
    EXPECT_GT(nonZero, 2000);
}

TEST_F(EDFReader, RealRecordingRPeaksStandOutInLeadII) {
    TReadResult result = Read(ReadFileBytes(RealFile));
    const TM12ECGObj &record = *result.record;
    std::ifstream beats(std::string(WB_TEST_DATA) + "/ecg/beats.txt");
    int beat = 0;
    int count = 0;
    while (beats >> beat) {
        ++count;
        int peak = -32768;
        for (int i = beat - 5; i <= beat + 5; ++i) {
            peak = std::max<int>(peak, record.GetECG(2, i + 1));
        }
        // Half a second before the beat lies between complexes.
        EXPECT_GT(peak - record.GetECG(2, beat - 125 + 1), 50) << "beat at " << beat;
    }
    EXPECT_EQ(count, 10);
}

TEST_F(EDFReader, MissingFileRaisesOpenError) {
    TEDFImportHelper reader;
    EXPECT_THROW(reader.readEDF(u"no-such-folder/no-such.edf"), rtl::EFOpenError);
    EXPECT_EQ(reader.getM12ECG(), nullptr);
}

// A file is read in blocks of data records; 50 records of 12 x 1000 samples make several
// blocks and a partial last one.
TEST_F(EDFReader, FileReadEqualsMemoryRead) {
    const byte_array bytes = MakeEdf(12, 50, 1000, [](std::size_t i, int k) {
                                 return static_cast<std::int16_t>((k * 7 + i * 13) % 500 - 250);
                             }).Build();
    const wbtest::TTempFolder folder;
    const std::filesystem::path path = folder / "blocks.edf";
    wbtest::WriteFileBytes(path, {reinterpret_cast<const char *>(bytes.data()), bytes.size()});
    TEDFImportHelper fromFile;
    fromFile.readEDF(rtl::Utf8ToUtf16(path.string()));
    const std::unique_ptr<TM12ECGObj> fileRecord = fromFile.getM12ECG();
    TReadResult memory = Read(bytes);
    ASSERT_EQ(fileRecord->GetLenghtECG(), 50000);
    for (std::uint8_t lead = 1; lead <= 12; ++lead) {
        for (std::int32_t i = 1; i <= 50000; ++i) {
            ASSERT_EQ(fileRecord->GetECG(lead, i), memory.record->GetECG(lead, i));
        }
    }
    // The same file cut short is refused when read from disk too.
    std::filesystem::resize_file(path, bytes.size() - 1);
    EXPECT_THROW(fromFile.readEDF(rtl::Utf8ToUtf16(path.string())), EEDFImportError);
    std::filesystem::resize_file(path, 1000);
    try {
        fromFile.readEDF(rtl::Utf8ToUtf16(path.string()));
        ADD_FAILURE() << "a cut file was read";
    } catch (const EEDFImportError &e) {
        // The message names the file the user opened.
        EXPECT_EQ(e.Message().rfind(u"Файл EDF \"" + rtl::Utf8ToUtf16(path.string()) + u"\": ", 0),
                  0u)
            << e.what();
    }
    std::filesystem::resize_file(path, 0);
    EXPECT_THROW(fromFile.readEDF(rtl::Utf8ToUtf16(path.string())), EEDFImportError);
    EXPECT_EQ(fromFile.getM12ECG(), nullptr);
}

// Placement and header fields -----------------------------------------------------------------

struct TPlacementCase {
    std::string recording;
    std::uint8_t leadOfSignal[12];
    std::uint8_t strok;
    std::uint8_t type;
};

TEST_F(EDFReader, GroupCountDecidesWhereSignalsGo) {
    const TPlacementCase cases[] = {
        {"", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 12, 0},
        {"Limb and chest G second row", {1, 2, 3, 7, 8, 9, 4, 5, 6, 10, 11, 12}, 6, 0},
        {"row1 G row2 G row3", {1, 2, 7, 8, 3, 4, 9, 10, 5, 6, 11, 12}, 4, 20},
        {"GG a GG b G  ", {1, 2, 3, 7, 8, 9, 4, 5, 6, 10, 11, 12}, 6, 0},
        {"Startdate 25-AUG-2013 X X X", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 12, 0},
    };
    for (const TPlacementCase &c : cases) {
        TEdfFile file = MakeEdf(12, 2, 5, Tagged);
        file.recording = c.recording;
        TReadResult result = Read(file.Build());
        const TM12ECGObj &record = *result.record;
        EXPECT_EQ(record.GetStrok(), c.strok) << c.recording;
        EXPECT_EQ(record.GetECGType(), c.type) << c.recording;
        for (std::size_t signal = 0; signal < 12; ++signal) {
            for (int k = 0; k < 10; ++k) {
                ASSERT_EQ(record.GetECG(c.leadOfSignal[signal], k + 1), Tagged(signal, k))
                    << c.recording << ": signal " << signal + 1;
            }
        }
    }
}

TEST_F(EDFReader, SixSignalsInOneGroupAreType15) {
    TReadResult result = Read(MakeEdf(6, 1, 3, Tagged).Build());
    EXPECT_EQ(result.record->GetECGType(), 15);
    EXPECT_EQ(result.record->GetStrok(), 6);
    EXPECT_EQ(result.record->GetLeadsCount(), 6);
    EXPECT_EQ(result.record->GetECG(6, 3), Tagged(5, 2));
    EXPECT_EQ(result.record->GetECG(7, 1), 0);
}

TEST_F(EDFReader, LabelsAssignLeads) {
    struct Case {
        std::string label;
        rtl::UnicodeString name;
        std::uint8_t lead;
    };
    const Case cases[] = {
        {"ECG II", u"II", 2},  {"ECG aVF-Ref", u"aVF", 6},
        {"EKG V6", u"V6", 12}, {"ECG I-REF", u"I-REF", 0},
        {"ECG", u"", 4},       {"  ECG v3  ", u"v3", 9},
        {"Resp", u"", 4},      {"ECG Pleth", u"Pleth", 0},
    };
    for (const Case &c : cases) {
        TEdfFile file = MakeEdf(12, 1, 3, Tagged);
        file.signals[3].label = c.label;
        TReadResult result = Read(file.Build());
        EXPECT_EQ(result.names[3], c.name) << c.label;
        EXPECT_EQ(result.record->GetLeads(4), c.lead) << c.label;
        EXPECT_EQ(result.record->GetECG(4, 1), Tagged(3, 0)) << "labels do not move samples";
    }
}

TEST_F(EDFReader, StartDateAndTime) {
    TEdfFile file = MakeEdf(1, 1, 3, Tagged);
    file.startDate = "05.03.21";
    file.startTime = "14.30.00";
    TReadResult result = Read(file.Build());
    EXPECT_DOUBLE_EQ(result.record->GetInputDateTime(),
                     rtl::EncodeDate(2021, 3, 5) + rtl::EncodeTime(14, 30, 0, 0));
}

TEST_F(EDFReader, FrequencyIsSamplesPerRecordOverDuration) {
    for (const auto &[spr, duration] : {std::pair{"250", "1"}, std::pair{"2500", "10"}}) {
        TEdfFile file = MakeEdf(1, 1, std::stoi(spr), Tagged);
        file.duration = duration;
        TReadResult result = Read(file.Build());
        EXPECT_EQ(result.record->GetFrequency(), 250);
        EXPECT_EQ(result.record->GetLenghtECGSec(), std::stoi(duration));
        EXPECT_EQ(result.record->GetLenghtECG(), 2500 / (10 / std::stoi(duration)));
    }
}

// Common writers put the duration as "1.000000", which used to be refused as no integer.
TEST_F(EDFReader, AWholeDurationIsReadInAnyDecimalSpelling) {
    for (const char *duration : {"1", "1.000000", "1.", "1.0", "01", "+1"}) {
        TEdfFile file = MakeEdf(12, 2, 4, Tagged);
        file.duration = duration;
        TReadResult result = Read(file.Build());
        ASSERT_NE(result.record, nullptr) << duration;
        EXPECT_EQ(result.record->GetFrequency(), 4) << duration;
        EXPECT_EQ(result.record->GetLenghtECGSec(), 2) << duration;
    }
}

// A header size other than 256 x (signals + 1) used to be taken as the offset of the samples,
// so that every sample was read from the wrong place.
TEST_F(EDFReader, AHeaderSizeOtherThanTheSignalCountsIsRefused) {
    TEdfFile file = MakeEdf(3, 2, 4, Tagged);
    file.headerBytes = "1280"; // 256 x 5: a header of four signals
    const std::string message = Refusal(file.Build());
    EXPECT_NE(message.find("«число байтов заголовка»"), std::string::npos) << message;
    EXPECT_NE(message.find("1024"), std::string::npos) << message;
}

// A FIFO named like a recording used to block the program in the open call.
TEST_F(EDFReader, AFifoNamedLikeARecordingIsRefusedWithoutWaiting) {
    const std::filesystem::path fifo =
        std::filesystem::temp_directory_path() /
        ("ecg_edf_fifo_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ".edf");
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    TEDFImportHelper reader;
    EXPECT_THROW(reader.readEDF(rtl::Utf8ToUtf16(fifo.string())), rtl::EFOpenError);
    EXPECT_EQ(reader.getM12ECG(), nullptr);
    std::filesystem::remove(fifo);
}

TEST_F(EDFReader, FewerThan12SignalsFillTheirOwnLeads) {
    TReadResult result = Read(MakeEdf(3, 2, 4, Tagged).Build());
    EXPECT_EQ(result.record->GetLeadsCount(), 3);
    EXPECT_EQ(result.record->GetStrok(), 3);
    EXPECT_EQ(result.record->GetECG(3, 8), Tagged(2, 7));
    EXPECT_EQ(result.names.size(), 3u);
}

// Scaling -------------------------------------------------------------------------------------

struct TScaleCase {
    const char *what;
    std::string dimension, physMin, physMax, digMin, digMax;
    std::int16_t raw;
    std::int16_t expected;
};

TEST_F(EDFReader, ScalingToHundredthsOfAMillivolt) {
    const TScaleCase cases[] = {
        {"gain 0.01 keeps raw", "mV", "-12", "12", "-1200", "1200", 150, 150},
        {"blank limits take the defaults", "mV", "", "", "", "", -150, -150},
        {"gain 1/512, 12.5 to even", "mV", "-1", "1", "-512", "512", 64, 12},
        {"gain 1/512, 37.5 to even", "mV", "-1", "1", "-512", "512", 192, 38},
        {"tie in double, not in the exact product", "mV", "-1", "1", "-1000", "1000", -995, -99},
        {"same on the positive side", "mV", "-1", "1", "-1000", "1000", 995, 99},
        {"offset range: pmin + (raw - dmin) x gain", "mV", "0", "10", "-500", "500", -500, 0},
        {"offset range, top", "mV", "0", "10", "-500", "500", 500, 1000},
        {"real file convention", "mV", "-327.68", "327.67", "-32768", "32767", -1234, -1234},
        {"microvolts", "uV", "-1000", "1000", "-1000", "1000", 500, 50},
        {"micro sign", "\xB5V", "-1000", "1000", "-1000", "1000", -500, -50},
        {"micro sign in UTF-8", "\xC2\xB5V", "-1000", "1000", "-1000", "1000", -500, -50},
        {"Greek mu in UTF-8", "\xCE\xBCV", "-1000", "1000", "-1000", "1000", 500, 50},
        {"volts", "V", "-0.01", "0.01", "-1000", "1000", 100, 100},
        {"other dimensions are millivolts", "mmHg", "-12", "12", "-1200", "1200", 7, 7},
        {"saturates high", "mV", "-400", "400", "-1000", "1000", 1000, 32767},
        {"saturates low", "mV", "-400", "400", "-1000", "1000", -1000, -32768},
        {"just inside", "mV", "-327.67", "327.67", "-32767", "32767", 32767, 32767},
        {"swapped range inverts", "mV", "12", "-12", "-1200", "1200", 150, -150},
        {"exponent", "mV", "-1.2E1", "1.2e+1", "-1200", "1200", 42, 42},
    };
    for (const TScaleCase &c : cases) {
        TEdfFile file = MakeEdf(1, 1, 3, [&](std::size_t, int) { return c.raw; });
        TEdfSignal &s = file.signals[0];
        s.dimension = c.dimension;
        s.physMin = c.physMin;
        s.physMax = c.physMax;
        s.digMin = c.digMin;
        s.digMax = c.digMax;
        TReadResult result = Read(file.Build());
        EXPECT_EQ(result.record->GetECG(1, 2), c.expected) << c.what;
    }
}

// Header numbers used to follow the locale's decimal separator, so that "-327.68" did not parse
// under a "," locale and silently became the default range.
TEST_F(EDFReader, HeaderNumbersUseAPointWhateverTheLocale) {
    for (const char *locale : {"ru_RU.UTF-8", "en_US.UTF-8", "de_DE.UTF-8"}) {
        rtl::SetFormatSettings(rtl::TFormatSettings::ForLocale(locale));
        TEdfFile file = MakeEdf(1, 1, 3, [](std::size_t, int) { return std::int16_t{64}; });
        file.signals[0].physMin = "-1.5";
        file.signals[0].physMax = "1.5";
        file.signals[0].digMin = "-150";
        file.signals[0].digMax = "150";
        TReadResult result = Read(file.Build());
        EXPECT_EQ(result.record->GetECG(1, 1), 64) << locale;
        file.signals[0].physMin = "-1,5";
        file.signals[0].physMax = "1,5";
        result = Read(file.Build());
        EXPECT_EQ(result.record->GetECG(1, 1), 512) << locale << ": a comma is not a number";
    }
}

// Samples used to be scaled as raw x gain whatever the range and the dimension: a range that
// does not map 0 to 0 was shifted, and microvolt or volt signals were off by 1000.
TEST_F(EDFReader, RangeOffsetAndDimensionAreHonoured) {
    TEdfFile file = MakeEdf(
        3, 1, 3, [](std::size_t, int k) { return static_cast<std::int16_t>(k == 0 ? -500 : 500); });
    file.signals[0].physMin = "0";
    file.signals[0].physMax = "10";
    file.signals[0].digMin = "-500";
    file.signals[0].digMax = "500";
    file.signals[1].dimension = "uV";
    file.signals[1].physMin = "-5000";
    file.signals[1].physMax = "5000";
    file.signals[1].digMin = "-500";
    file.signals[1].digMax = "500";
    file.signals[2].dimension = "V";
    file.signals[2].physMin = "-0.005";
    file.signals[2].physMax = "0.005";
    file.signals[2].digMin = "-500";
    file.signals[2].digMax = "500";
    TReadResult result = Read(file.Build());
    EXPECT_EQ(result.record->GetECG(1, 1), 0);
    EXPECT_EQ(result.record->GetECG(1, 2), 1000);
    EXPECT_EQ(result.record->GetECG(2, 2), 500);
    EXPECT_EQ(result.record->GetECG(3, 1), -500);
}

// An EDF+ recording field ("Startdate 25-AUG-2013 ...") used to count as two signal groups
// because of the capital G in the month.
TEST_F(EDFReader, EdfPlusRecordingFieldIsOneGroup) {
    TEdfFile file = MakeEdf(12, 1, 3, Tagged);
    file.recording = "Startdate 25-AUG-2013 EMG_ECG_A Dr.G";
    TReadResult result = Read(file.Build());
    EXPECT_EQ(result.record->GetStrok(), 12);
    EXPECT_EQ(result.record->GetECG(4, 1), Tagged(3, 0));
}

// Values beyond 16 bits used to wrap around (400 mV read as a large negative value).
TEST_F(EDFReader, ValuesBeyond16BitsSaturate) {
    TEdfFile file = MakeEdf(1, 1, 4, [](std::size_t, int k) {
        return static_cast<std::int16_t>(k % 2 == 0 ? 32767 : -32768);
    });
    file.signals[0].physMin = "-1000";
    file.signals[0].physMax = "1000";
    TReadResult result = Read(file.Build());
    EXPECT_EQ(result.record->GetECG(1, 1), 32767);
    EXPECT_EQ(result.record->GetECG(1, 2), -32768);
}

// Refusals ------------------------------------------------------------------------------------

struct TRefusalCase {
    const char *what;
    std::function<void(TEdfFile &)> mutate;
    const char *field; // must appear in the message
};

TEST_F(EDFReader, UnsupportedOrBrokenFilesAreRefusedNamingTheField) {
    const TRefusalCase cases[] = {
        {"13 signals", [](TEdfFile &f) { f = MakeEdf(13, 1, 3, Tagged); }, "число сигналов"},
        {"0 signals", [](TEdfFile &f) { f.signalCount = "0"; }, "число сигналов"},
        {"negative signals", [](TEdfFile &f) { f.signalCount = "-3"; }, "число сигналов"},
        {"signals not a number", [](TEdfFile &f) { f.signalCount = "x"; }, "число сигналов"},
        {"only G and blanks", [](TEdfFile &f) { f.recording = " G G "; }, "идентификация записи"},
        {"four groups", [](TEdfFile &f) { f.recording = "aGbGcGd"; }, "идентификация записи"},
        {"two groups of 6 signals",
         [](TEdfFile &f) {
             f = MakeEdf(6, 1, 3, Tagged);
             f.recording = "a G b";
         },
         "число сигналов"},
        {"unequal samples per record", [](TEdfFile &f) { f.signals[1].samples = "5"; },
         "число отсчетов в записи данных» сигнала 2"},
        {"no samples per record", [](TEdfFile &f) { f.signals[0].samples = "0"; },
         "число отсчетов в записи данных"},
        {"samples per record not a number", [](TEdfFile &f) { f.signals[2].samples = "2.5"; },
         "число отсчетов в записи данных» сигнала 3"},
        {"no data records", [](TEdfFile &f) { f.records = "0"; }, "число записей данных"},
        {"unknown record count", [](TEdfFile &f) { f.records = "-1"; }, "число записей данных"},
        {"fractional duration", [](TEdfFile &f) { f.duration = "0.5"; },
         "длительность записи данных"},
        {"duration not whole", [](TEdfFile &f) { f.duration = "1.5"; },
         "длительность записи данных"},
        {"duration not a number", [](TEdfFile &f) { f.duration = "one"; },
         "длительность записи данных"},
        {"header size of another signal count", [](TEdfFile &f) { f.headerBytes = "3584"; },
         "число байтов заголовка"},
        {"header size one byte short", [](TEdfFile &f) { f.headerBytes = "3327"; },
         "число байтов заголовка"},
        {"zero duration", [](TEdfFile &f) { f.duration = "0"; }, "длительность записи данных"},
        {"over 65535 s", [](TEdfFile &f) { f.duration = "40000"; }, "длительность записи данных"},
        {"frequency rounds to 0", [](TEdfFile &f) { f.duration = "10"; }, // 4 samples in 10 s
         "число отсчетов в записи данных"},
        {"frequency not whole",
         [](TEdfFile &f) {
             f = MakeEdf(12, 1, 5, Tagged);
             f.duration = "2";
         },
         "число отсчетов в записи данных"},
        {"fewer than 3 samples", [](TEdfFile &f) { f = MakeEdf(12, 1, 2, Tagged); },
         "число отсчетов в записи данных"},
        {"digital maximum equals minimum", [](TEdfFile &f) { f.signals[4].digMax = "-32768"; },
         "цифровой максимум» сигнала 5"},
        {"infinite gain",
         [](TEdfFile &f) {
             f.signals[0].physMin = "-1e308";
             f.signals[0].physMax = "1e308";
         },
         "физический минимум» сигнала 1"},
        {"data area short by one byte", [](TEdfFile &f) { f.data.pop_back(); },
         "число записей данных"},
        {"header size beyond the file", [](TEdfFile &f) { f.headerBytes = "99999999"; },
         "число байтов заголовка"},
        {"negative header size", [](TEdfFile &f) { f.headerBytes = "-256"; },
         "число байтов заголовка"},
        {"header size not a number", [](TEdfFile &f) { f.headerBytes = "3328b"; },
         "число байтов заголовка"},
        {"bad date", [](TEdfFile &f) { f.startDate = "32.13.13"; }, "дата начала"},
        {"bad time", [](TEdfFile &f) { f.startTime = "25.61.00"; }, "время начала"},
        {"date with slashes", [](TEdfFile &f) { f.startDate = "25/01/13"; }, "дата начала"},
    };
    for (const TRefusalCase &c : cases) {
        TEdfFile file = MakeEdf(12, 2, 4, Tagged);
        c.mutate(file);
        const std::string message = Refusal(file.Build());
        EXPECT_NE(message.find(c.field), std::string::npos)
            << c.what << ": \"" << message << "\" does not name " << c.field;
    }
}

TEST_F(EDFReader, ConversionErrorsAreConvertErrors) {
    TEdfFile file = MakeEdf(12, 2, 4, Tagged);
    file.records = "ten";
    TEDFImportHelper reader;
    EXPECT_THROW(reader.readEDFFromMemory(file.Build()), rtl::EConvertError);
    file.records = "0";
    EXPECT_THROW(reader.readEDFFromMemory(file.Build()), EEDFImportError);
}

TEST_F(EDFReader, FailedReadLeavesNoRecordFromAnEarlierRead) {
    TEDFImportHelper reader;
    reader.readEDFFromMemory(MakeEdf(12, 2, 4, Tagged).Build());
    TEdfFile bad = MakeEdf(12, 2, 4, Tagged);
    bad.data.pop_back();
    EXPECT_THROW(reader.readEDFFromMemory(bad.Build()), EEDFImportError);
    EXPECT_EQ(reader.getM12ECG(), nullptr);
}

TEST_F(EDFReader, TruncationAtEveryHeaderFieldIsRefusedNamingIt) {
    const byte_array whole = MakeEdf(12, 2, 4, Tagged).Build();
    struct Cut {
        std::size_t at;
        const char *field;
    };
    const Cut cuts[] = {{0, "версия"},
                        {7, "версия"},
                        {50, "идентификация пациента"},
                        {100, "идентификация записи"},
                        {170, "дата начала"},
                        {190, "число байтов заголовка"},
                        {240, "число записей данных"},
                        {254, "число сигналов"},
                        {256 + 16 * 5, "метка» сигнала 6"},
                        {256 + 16 * 12 + 5, "тип датчика"},
                        {256 + 96 * 12 + 9, "физическая размерность» сигнала 2"},
                        {256 + 104 * 12 + 8 * 11, "физический минимум» сигнала 12"},
                        {256 + 112 * 12, "физический максимум» сигнала 1"},
                        {256 + 120 * 12 + 3, "цифровой минимум» сигнала 1"},
                        {256 + 128 * 12 + 90, "цифровой максимум» сигнала 12"},
                        {256 + 136 * 12 + 1, "предварительная фильтрация"},
                        {256 + 216 * 12 + 8 * 3, "число отсчетов в записи данных» сигнала 4"},
                        {3327, "резерв"}};
    for (const Cut &cut : cuts) {
        const std::string message = Refusal(byte_array(whole.begin(), whole.begin() + cut.at));
        EXPECT_NE(message.find(cut.field), std::string::npos)
            << "cut at " << cut.at << ": " << message;
    }
}

// Every cut of a valid file, and every header field replaced by hostile text, is either read
// or refused with a message; nothing crashes or reads out of bounds (the sanitizer build runs
// this too).
TEST_F(EDFReader, TruncationAnywhereNeverCrashes) {
    const byte_array whole = MakeEdf(3, 2, 5, Tagged).Build();
    for (std::size_t at = 0; at < whole.size(); ++at) {
        const std::string message = Refusal(byte_array(whole.begin(), whole.begin() + at));
        ASSERT_NE(message.find("EDF"), std::string::npos) << "cut at " << at;
    }
}

TEST_F(EDFReader, HostileFieldValuesNeverCrash) {
    const std::string values[] = {"",  "x!@#",       "99999999", "-99999999", "-1",
                                  "0", "2147483647", "1e308",    "$FFFFFFF",  "  7  ",
                                  "G", "\xFF\xFE",   "-0",       "1.5",       "65536"};
    using Fixed = std::string TEdfFile::*;
    const Fixed fixed[] = {&TEdfFile::version,    &TEdfFile::patient,   &TEdfFile::recording,
                           &TEdfFile::startDate,  &TEdfFile::startTime, &TEdfFile::headerBytes,
                           &TEdfFile::reserved,   &TEdfFile::records,   &TEdfFile::duration,
                           &TEdfFile::signalCount};
    using PerSignal = std::string TEdfSignal::*;
    const PerSignal perSignal[] = {&TEdfSignal::label,     &TEdfSignal::transducer,
                                   &TEdfSignal::dimension, &TEdfSignal::physMin,
                                   &TEdfSignal::physMax,   &TEdfSignal::digMin,
                                   &TEdfSignal::digMax,    &TEdfSignal::prefilter,
                                   &TEdfSignal::samples,   &TEdfSignal::reserved};
    int read = 0;
    int refused = 0;
    const auto check = [&](const TEdfFile &file, const std::string &what) {
        const byte_array bytes = file.Build();
        TEDFImportHelper reader;
        try {
            reader.readEDFFromMemory(bytes);
            const std::unique_ptr<TM12ECGObj> record = reader.getM12ECG();
            ASSERT_NE(record, nullptr) << what;
            for (std::uint8_t lead = 1; lead <= record->GetLeadsCount(); ++lead) {
                record->GetECG(lead, record->GetLenghtECG());
            }
            ++read;
        } catch (const rtl::Exception &e) {
            ASSERT_NE(std::string(e.what()).find("EDF"), std::string::npos) << what;
            ++refused;
        }
    };
    for (const std::string &value : values) {
        for (const Fixed member : fixed) {
            TEdfFile file = MakeEdf(12, 2, 4, Tagged);
            file.*member = value;
            check(file, "fixed field = '" + value + "'");
        }
        for (const PerSignal member : perSignal) {
            for (const std::size_t signal : {std::size_t{0}, std::size_t{11}}) {
                TEdfFile file = MakeEdf(12, 2, 4, Tagged);
                file.signals[signal].*member = value;
                check(file, "signal field = '" + value + "'");
            }
        }
    }
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace ecg
