// Tests of the sample database: its catalogue, "base.info", "Result.txt", the EDF recordings
// and the folder that the build wrote.
#include "tools/SampleDatabase.h"

#include "app/core/UWorkbenchData.h"
#include "ecg/EncDecHelper.h"
#include "ecg/UEDFImportHelper.h"
#include "platform/rtl/Classes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>
#include <stdexcept>

namespace sampledb {
namespace {

const std::filesystem::path kDbDir = WB_SAMPLE_DB_DIR;
const std::filesystem::path kResultFile = WB_SAMPLE_RESULT_FILE;
const std::filesystem::path kRealEdf =
    std::filesystem::path(WB_TEST_DATA) / "ecg" / "REAL12_250.edf";

// The 26 codes of the diagnosis code table.
const std::set<int> kTableCodes = {1,  2,  3,  4,  5,  6,  7,  8,  11, 12, 14, 15, 16,
                                   17, 18, 19, 20, 21, 22, 23, 24, 26, 27, 28, 29, 30};

using wbtest::ReadFileBytes;

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text does not end with CR LF";
    return lines;
}

std::string Trimmed(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

// Decodes a "base.info" line as the workbench does: Base64 from column 16, XOR with the key,
// zeros and repeats dropped.
std::vector<int> DecodeBaseInfoLine(const std::string &line) {
    rtl::TMemoryStream stream;
    ecg::TEncDecHelper::SetStreamFromBase64String(rtl::Utf8ToUtf16(line.substr(15)), stream);
    EXPECT_GE(stream.GetSize(), 11);
    const auto key = workbench::MakeBaseInfoKey();
    std::vector<int> codes;
    for (size_t i = 0; i < 11; ++i) {
        const int code = stream.GetMemory()[i] ^ key[i];
        if (code != 0 && std::find(codes.begin(), codes.end(), code) == codes.end()) {
            codes.push_back(code);
        }
    }
    return codes;
}

TEST(SampleDatabase, KeyComesFromTheSeedText) {
    const std::array<uint8_t, 11> expected = {37, 17, 38, 21, 39, 20, 32, 21, 36, 18, 39};
    EXPECT_EQ(workbench::MakeBaseInfoKey(), expected);
}

TEST(SampleDatabase, BaseInfoLinesAreExact) {
    EXPECT_EQ(BaseInfoLine("ECG0001", {1}), "ECG0001        JBEmFScUIBUkEic=");
    EXPECT_EQ(BaseInfoLine("REAL12_250", {1, 3, 14, 22, 29}), "REAL12_250     JBIoAzoUIBUkEic=");
    EXPECT_EQ(BaseInfoLine("X", {}), "X              JREmFScUIBUkEic=");
}

TEST(SampleDatabase, BaseInfoLineRefusesWhatTheFormatCannotHold) {
    EXPECT_THROW(BaseInfoLine("ECG0000001X", {1}), std::invalid_argument);
    EXPECT_THROW(BaseInfoLine("", {1}), std::invalid_argument);
    EXPECT_THROW(BaseInfoLine("E", std::vector<int>(12, 1)), std::invalid_argument);
    EXPECT_THROW(BaseInfoLine("E", {0}), std::invalid_argument);
    EXPECT_THROW(BaseInfoLine("E", {31}), std::invalid_argument);
}

TEST(SampleDatabase, ResultLinesAreExact) {
    EXPECT_EQ(ResultLine("ECG0009", {1, 7, 11}), "ECG0009        010711");
    EXPECT_EQ(ResultLine("REAL12_250", {4, 16, 28}), "REAL12_250     041628");
    EXPECT_EQ(ResultLine("ECG0029", {}), "ECG0029");
    EXPECT_THROW(ResultLine("E", {100}), std::invalid_argument);
}

TEST(SampleDatabase, CatalogueIsWellFormed) {
    const auto &db = SampleDatabase();
    EXPECT_GE(db.size(), 30u);
    std::set<std::string> names;
    std::set<int> referenced;
    std::set<int> groups;
    for (const TSampleEcg &e : db) {
        SCOPED_TRACE(e.Name);
        EXPECT_TRUE(names.insert(e.Name).second) << "repeated name";
        EXPECT_LE(e.Name.size(), 10u);
        EXPECT_LE(e.ReferenceCodes.size(), 11u);
        EXPECT_FALSE(e.ReferenceCodes.empty());
        EXPECT_EQ(std::set<int>(e.ReferenceCodes.begin(), e.ReferenceCodes.end()).size(),
                  e.ReferenceCodes.size());
        for (const int c : e.ReferenceCodes) {
            EXPECT_TRUE(kTableCodes.contains(c)) << c;
            referenced.insert(c);
        }
        for (const int c : e.ResultCodes) {
            EXPECT_TRUE(kTableCodes.contains(c)) << c;
        }
        groups.insert(e.GroupCount);
    }
    EXPECT_EQ(referenced, kTableCodes) << "every code of the table has reference ECGs";
    EXPECT_EQ(groups, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(db.back().Name, kRealEcgName);
    EXPECT_TRUE(db.back().RealRecording);
    EXPECT_EQ(db.back().ReferenceCodes, std::vector<int>{1});
}

TEST(SampleDatabase, FindsEcgsByName) {
    const TSampleEcg *af = FindSampleEcg("ECG0005");
    ASSERT_NE(af, nullptr);
    EXPECT_EQ(af->Params.Rhythm, TRhythm::AtrialFibrillation);
    ASSERT_NE(FindSampleEcg(kRealEcgName), nullptr);
    EXPECT_TRUE(FindSampleEcg(kRealEcgName)->RealRecording);
    EXPECT_EQ(FindSampleEcg("ECG0099"), nullptr);
    EXPECT_EQ(FindSampleEcg(""), nullptr);
}

// The imagined program under test must score neither perfectly nor uselessly.
TEST(SampleDatabase, ResultFileMixesHitsMissesAndFalseCodes) {
    int hits = 0;
    int missed = 0;
    int falseCodes = 0;
    for (const TSampleEcg &e : SampleDatabase()) {
        const std::set<int> ref(e.ReferenceCodes.begin(), e.ReferenceCodes.end());
        const std::set<int> res(e.ResultCodes.begin(), e.ResultCodes.end());
        for (const int c : res) {
            (ref.contains(c) ? hits : falseCodes) += 1;
        }
        missed += static_cast<int>(
            std::count_if(ref.begin(), ref.end(), [&](int c) { return !res.contains(c); }));
    }
    EXPECT_GT(hits, 2 * (missed + falseCodes));
    EXPECT_GE(missed, 5);
    EXPECT_GE(falseCodes, 5);
}

TEST(SampleDatabase, BaseInfoDecodesToTheReferenceCodes) {
    const auto &db = SampleDatabase();
    const auto lines = Lines(MakeBaseInfo(db));
    ASSERT_EQ(lines.size(), db.size());
    for (size_t i = 0; i < db.size(); ++i) {
        EXPECT_EQ(Trimmed(lines[i].substr(0, 10)), db[i].Name);
        EXPECT_EQ(lines[i].substr(10, 5), "     ");
        EXPECT_EQ(DecodeBaseInfoLine(lines[i]), db[i].ReferenceCodes) << db[i].Name;
    }
}

struct TRhythmFacts {
    double MedianRateBpm;
    double RrVariation;
    double LongestRrSec;
};

TRhythmFacts Facts(const TSyntheticEcg &e) {
    std::vector<double> rr;
    for (size_t i = 1; i < e.RPeaks.size(); ++i) {
        rr.push_back(static_cast<double>(e.RPeaks[i] - e.RPeaks[i - 1]) / e.FrequencyHz);
    }
    std::vector<double> sorted = rr;
    std::sort(sorted.begin(), sorted.end());
    double mean = 0;
    for (const double x : rr) {
        mean += x / rr.size();
    }
    double var = 0;
    for (const double x : rr) {
        var += (x - mean) * (x - mean) / rr.size();
    }
    return {60 / sorted[sorted.size() / 2], std::sqrt(var) / mean, sorted.back()};
}

// The rhythm of each synthetic recording agrees with its reference codes.
TEST(SampleDatabase, RhythmsFitTheReferenceCodes) {
    for (const TSampleEcg &e : SampleDatabase()) {
        if (e.RealRecording) {
            continue;
        }
        SCOPED_TRACE(e.Name);
        const auto has = [&](int c) {
            return std::find(e.ReferenceCodes.begin(), e.ReferenceCodes.end(), c) !=
                   e.ReferenceCodes.end();
        };
        const TRhythmFacts f = Facts(Synthesize(e.Params));
        if (has(2)) {
            EXPECT_GT(f.MedianRateBpm, 100);
        } else if (has(3)) {
            EXPECT_LT(f.MedianRateBpm, 55);
        } else {
            EXPECT_GT(f.MedianRateBpm, 58);
            EXPECT_LT(f.MedianRateBpm, 100);
        }
        EXPECT_EQ(f.RrVariation > 0.12, e.Params.Rhythm == TRhythm::AtrialFibrillation || has(7) ||
                                            has(8) || has(11) || has(12) || has(16) || has(17) ||
                                            has(18));
        EXPECT_EQ(f.LongestRrSec > 2.0, has(17) || has(19));
    }
}

// Mean QRS duration: where the summed slope of all leads stays above a fifth of its peak.
double MeanQrsWidthMs(const TSyntheticEcg &e) {
    const int half = 30;
    double total = 0;
    int beats = 0;
    for (const int r : e.RPeaks) {
        if (r < half || r + half + 1 >= static_cast<int>(e.Leads[0].size())) {
            continue;
        }
        std::vector<int> slope;
        for (int i = r - half; i <= r + half; ++i) {
            int sum = 0;
            for (const auto &lead : e.Leads) {
                sum += std::abs(lead[i + 1] - lead[i]);
            }
            slope.push_back(sum);
        }
        const int peak = *std::max_element(slope.begin(), slope.end());
        const auto above = [&](int v) { return v * 5 > peak; };
        const auto first = std::find_if(slope.begin(), slope.end(), above);
        const auto last = std::find_if(slope.rbegin(), slope.rend(), above).base();
        total += (last - first) * 1000.0 / e.FrequencyHz;
        ++beats;
    }
    return total / beats;
}

// Sokolow-Lyon index in steps: deepest S in V1 plus tallest R in V5 or V6.
int SokolowLyon(const TSyntheticEcg &e) {
    int index = 0;
    for (const int r : e.RPeaks) {
        if (r < 25 || r + 25 >= static_cast<int>(e.Leads[0].size())) {
            continue;
        }
        int s = 0;
        int tallest = 0;
        for (int i = r - 25; i <= r + 25; ++i) {
            s = std::min<int>(s, e.Leads[LeadV1][i]);
            tallest = std::max<int>({tallest, e.Leads[LeadV5][i], e.Leads[LeadV6][i]});
        }
        index = std::max(index, tallest - s);
    }
    return index;
}

// Net QRS area of lead II in the median beat's window: negative for a left axis.
int MedianNetQrsOfLeadII(const TSyntheticEcg &e) {
    std::vector<int> nets;
    for (const int r : e.RPeaks) {
        if (r >= 10 && r + 10 < static_cast<int>(e.Leads[0].size())) {
            int net = 0;
            for (int i = r - 10; i <= r + 10; ++i) {
                net += e.Leads[LeadII][i];
            }
            nets.push_back(net);
        }
    }
    std::sort(nets.begin(), nets.end());
    return nets[nets.size() / 2];
}

// Noise-free versions of the synthetic recordings show the shapes that their codes name.
TEST(SampleDatabase, ShapesFitTheReferenceCodes) {
    for (TSampleEcg e : SampleDatabase()) {
        if (e.RealRecording) {
            continue;
        }
        SCOPED_TRACE(e.Name);
        const auto has = [&](int c) {
            return std::find(e.ReferenceCodes.begin(), e.ReferenceCodes.end(), c) !=
                   e.ReferenceCodes.end();
        };
        e.Params.Noise = {};
        const TSyntheticEcg ecg = Synthesize(e.Params);
        const double width = MeanQrsWidthMs(ecg);
        if (has(22) || has(23)) {
            EXPECT_GT(width, 110);
        } else if (!has(8) && !has(12)) {
            EXPECT_LT(width, 90);
        }
        EXPECT_EQ(SokolowLyon(ecg) > 350, has(30));
        EXPECT_EQ(MedianNetQrsOfLeadII(ecg) < 0, has(24));
    }
}

int GroupsOfRecordingField(const std::string &field) {
    int groups = 0;
    std::istringstream pieces(field);
    for (std::string piece; std::getline(pieces, piece, 'G');) {
        groups += piece.find_first_not_of(' ') != std::string::npos;
    }
    return std::max(groups, 1);
}

// The header as the database's conventions and the workbench's reader expect it.
TEST(SampleDatabase, RecordingsFollowTheDatabaseConventions) {
    const char *labels[] = {"ECG I",  "ECG II", "ECG III", "ECG aVR", "ECG aVL", "ECG aVF",
                            "ECG V1", "ECG V2", "ECG V3",  "ECG V4",  "ECG V5",  "ECG V6"};
    for (const TSampleEcg &e : SampleDatabase()) {
        if (e.RealRecording) {
            continue;
        }
        SCOPED_TRACE(e.Name);
        const std::string edf = MakeEdf(MakeSampleEdf(e, Synthesize(e.Params)));
        ASSERT_EQ(edf.size(), 3328u + 10 * 12 * 250 * 2);
        EXPECT_EQ(Trimmed(edf.substr(8, 80)), e.Name + "_" + e.Sex + "_" + e.BirthDate);
        EXPECT_EQ(GroupsOfRecordingField(Trimmed(edf.substr(88, 80))), e.GroupCount);
        EXPECT_EQ(edf.substr(168, 16), e.StartDate + e.StartTime);
        EXPECT_EQ(Trimmed(edf.substr(184, 8)), "3328");
        EXPECT_EQ(Trimmed(edf.substr(236, 8)), "10");
        EXPECT_EQ(Trimmed(edf.substr(244, 8)), "1");
        EXPECT_EQ(Trimmed(edf.substr(252, 4)), "12");
        const auto order = FileLeadOrder(e.GroupCount);
        for (int s = 0; s < 12; ++s) {
            EXPECT_EQ(Trimmed(edf.substr(256 + 16 * s, 16)), labels[order[s]]);
            EXPECT_EQ(Trimmed(edf.substr(256 + 12 * 96 + 8 * s, 8)), "mV");
            EXPECT_EQ(Trimmed(edf.substr(256 + 12 * 104 + 8 * s, 8)), "-327.68");
            EXPECT_EQ(Trimmed(edf.substr(256 + 12 * 112 + 8 * s, 8)), "327.67");
            EXPECT_EQ(Trimmed(edf.substr(256 + 12 * 120 + 8 * s, 8)), "-32768");
            EXPECT_EQ(Trimmed(edf.substr(256 + 12 * 128 + 8 * s, 8)), "32767");
            EXPECT_EQ(Trimmed(edf.substr(256 + 12 * 216 + 8 * s, 8)), "250");
        }
    }
}

// Reading every recording back gives the synthesized leads in their places.
TEST(SampleDatabase, ReaderGetsTheSynthesizedLeadsBack) {
    for (const TSampleEcg &e : SampleDatabase()) {
        if (e.RealRecording) {
            continue;
        }
        SCOPED_TRACE(e.Name);
        const TSyntheticEcg ecg = Synthesize(e.Params);
        const std::string edf = MakeEdf(MakeSampleEdf(e, ecg));
        ecg::TEDFImportHelper reader;
        reader.readEDFFromMemory(
            std::span(reinterpret_cast<const uint8_t *>(edf.data()), edf.size()));
        const auto record = reader.getM12ECG();
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->GetFrequency(), 250);
        EXPECT_EQ(record->GetLenghtECG(), 2500);
        EXPECT_EQ(record->GetStrok(), 12 / e.GroupCount);
        EXPECT_EQ(rtl::Utf16ToUtf8(reader.getPacInfo()), e.Name + "_" + e.Sex + "_" + e.BirthDate);
        int differing = 0;
        for (int lead = 0; lead < kLeadCount; ++lead) {
            for (int i = 0; i < 2500; ++i) {
                differing += record->GetECG(lead + 1, i + 1) != ecg.Leads[lead][i];
            }
        }
        EXPECT_EQ(differing, 0);
    }
}

// What the build wrote is what the library makes now: the generation is deterministic.
TEST(SampleDatabase, BuiltFolderHoldsTheDatabase) {
    const auto &db = SampleDatabase();
    EXPECT_EQ(ReadFileBytes(kDbDir / "base.info"), MakeBaseInfo(db));
    for (const TSampleEcg &e : db) {
        SCOPED_TRACE(e.Name);
        const std::string onDisk = ReadFileBytes(kDbDir / (e.Name + ".edf"));
        if (e.RealRecording) {
            EXPECT_EQ(onDisk, ReadFileBytes(kRealEdf));
        } else {
            EXPECT_EQ(onDisk, MakeEdf(MakeSampleEdf(e, Synthesize(e.Params))));
        }
    }
}

TEST(SampleDatabase, ResultFileNamesTheDatabaseEcgs) {
    const auto &db = SampleDatabase();
    const std::string text = ReadFileBytes(kResultFile);
    EXPECT_EQ(text, MakeResultFile(db));
    std::vector<std::string> names;
    for (const std::string &line : Lines(text)) {
        names.push_back(Trimmed(line.substr(0, 10)));
    }
    std::vector<std::string> expected;
    for (const TSampleEcg &e : db) {
        expected.push_back(e.Name);
    }
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

TEST(SampleDatabase, WritesIntoANewFolder) {
    const wbtest::TTempFolder folder;
    const std::filesystem::path dir = folder / "new";
    WriteSampleDatabase(dir / "EDF", kRealEdf, dir / "Result.txt");
    EXPECT_EQ(ReadFileBytes(dir / "EDF" / "base.info"), ReadFileBytes(kDbDir / "base.info"));
    EXPECT_EQ(ReadFileBytes(dir / "Result.txt"), ReadFileBytes(kResultFile));
    EXPECT_EQ(ReadFileBytes(dir / "EDF" / "ECG0017.edf"), ReadFileBytes(kDbDir / "ECG0017.edf"));
    EXPECT_THROW(WriteSampleDatabase(dir / "EDF", dir / "missing.edf", dir / "Result.txt"),
                 std::runtime_error);
}

} // namespace
} // namespace sampledb
