// The sample reference database: list file, result file and recordings.
#include "tools/SampleDatabase.h"

#include "app/core/UWorkbenchData.h"
#include "ecg/EncDecHelper.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace sampledb {

namespace {

constexpr size_t kNameWidth = 10;
constexpr size_t kPayloadColumn = 15; // characters before the payload or the codes
constexpr size_t kPayloadBytes = 11;
constexpr const char *kLineEnd = "\r\n";

const std::array<const char *, kLeadCount> kLabels = {"ECG I",   "ECG II",  "ECG III", "ECG aVR",
                                                      "ECG aVL", "ECG aVF", "ECG V1",  "ECG V2",
                                                      "ECG V3",  "ECG V4",  "ECG V5",  "ECG V6"};

void CheckName(const std::string &name) {
    if (name.empty() || name.size() > kNameWidth) {
        throw std::invalid_argument("ECG name must have 1 to 10 characters: \"" + name + "\"");
    }
}

std::string NameColumns(const std::string &name) {
    CheckName(name);
    std::string line = name;
    line.resize(kPayloadColumn, ' ');
    return line;
}

std::string ReadFileBytes(const std::filesystem::path &path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        throw std::runtime_error("Cannot open file \"" + path.string() + "\"");
    }
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

} // namespace

std::string BaseInfoLine(const std::string &name, const std::vector<int> &codes) {
    if (codes.size() > kPayloadBytes) {
        throw std::invalid_argument("More than 11 codes for \"" + name + "\"");
    }
    const auto key = workbench::MakeBaseInfoKey();
    ecg::byte_array payload(kPayloadBytes, 0);
    for (size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] < 1 || codes[i] > 30) {
            throw std::invalid_argument("Code outside 1 to 30 for \"" + name + "\"");
        }
        payload[i] = static_cast<uint8_t>(codes[i]);
    }
    for (size_t i = 0; i < kPayloadBytes; ++i) {
        payload[i] ^= key[i];
    }
    return NameColumns(name) + rtl::Utf16ToUtf8(ecg::TEncDecHelper::GetBase64StringFromBA(payload));
}

std::string MakeBaseInfo(const std::vector<TSampleEcg> &ecgs) {
    std::string text;
    for (const TSampleEcg &e : ecgs) {
        text += BaseInfoLine(e.Name, e.ReferenceCodes) + kLineEnd;
    }
    return text;
}

std::string ResultLine(const std::string &name, const std::vector<int> &codes) {
    if (codes.empty()) {
        CheckName(name);
        return name;
    }
    std::string line = NameColumns(name);
    for (const int c : codes) {
        if (c < 0 || c > 99) {
            throw std::invalid_argument("Result code of more than two digits for \"" + name + "\"");
        }
        line += static_cast<char>('0' + c / 10);
        line += static_cast<char>('0' + c % 10);
    }
    return line;
}

std::string MakeResultFile(const std::vector<TSampleEcg> &ecgs) {
    std::string text;
    for (const TSampleEcg &e : ecgs) {
        text += ResultLine(e.Name, e.ResultCodes) + kLineEnd;
    }
    return text;
}

std::array<int, kLeadCount> FileLeadOrder(int groupCount) {
    switch (groupCount) {
    case 1:
        return {LeadI,  LeadII, LeadIII, LeadAVR, LeadAVL, LeadAVF,
                LeadV1, LeadV2, LeadV3,  LeadV4,  LeadV5,  LeadV6};
    case 2:
        return {LeadI,   LeadII,  LeadIII, LeadV1, LeadV2, LeadV3,
                LeadAVR, LeadAVL, LeadAVF, LeadV4, LeadV5, LeadV6};
    case 3:
        return {LeadI,  LeadII, LeadV1,  LeadV2,  LeadIII, LeadAVR,
                LeadV3, LeadV4, LeadAVL, LeadAVF, LeadV5,  LeadV6};
    default:
        throw std::invalid_argument("Group count must be 1, 2 or 3");
    }
}

std::string RecordingField(int groupCount) {
    switch (groupCount) {
    case 1:
        return "";
    case 2:
        return "G1: I II III V1 V2 V3 G2: aVR aVL aVF V4 V5 V6";
    case 3:
        return "G1: I II V1 V2 G2: III aVR V3 V4 G3: aVL aVF V5 V6";
    default:
        throw std::invalid_argument("Group count must be 1, 2 or 3");
    }
}

TEdfFile MakeSampleEdf(const TSampleEcg &ecg, const TSyntheticEcg &signals) {
    TEdfFile f;
    f.Patient = ecg.Name + "_" + ecg.Sex + "_" + ecg.BirthDate;
    f.Recording = RecordingField(ecg.GroupCount);
    f.StartDate = ecg.StartDate;
    f.StartTime = ecg.StartTime;
    f.RecordDurationSec = 1;
    f.RecordCount = static_cast<int32_t>(signals.Leads[0].size() / signals.FrequencyHz);
    for (const int lead : FileLeadOrder(ecg.GroupCount)) {
        TEdfSignal s;
        s.Label = kLabels[lead];
        s.Transducer = "AgAgCl electrode";
        s.Dimension = "mV";
        s.PhysicalMin = "-327.68";
        s.PhysicalMax = "327.67";
        s.SamplesPerRecord = signals.FrequencyHz;
        s.Samples = signals.Leads[lead];
        s.Samples.resize(static_cast<size_t>(f.RecordCount) * signals.FrequencyHz);
        f.Signals.push_back(std::move(s));
    }
    return f;
}

void WriteSampleDatabase(const std::filesystem::path &folder, const std::filesystem::path &realEdf,
                         const std::filesystem::path &resultFile) {
    std::filesystem::create_directories(folder);
    const auto &ecgs = SampleDatabase();
    for (const TSampleEcg &e : ecgs) {
        const auto path = folder / (e.Name + ".edf");
        if (e.RealRecording) {
            WriteFileBytes(path, ReadFileBytes(realEdf));
        } else {
            WriteFileBytes(path, MakeEdf(MakeSampleEdf(e, Synthesize(e.Params))));
        }
    }
    WriteFileBytes(folder / "base.info", MakeBaseInfo(ecgs));
    if (resultFile.has_parent_path()) {
        std::filesystem::create_directories(resultFile.parent_path());
    }
    WriteFileBytes(resultFile, MakeResultFile(ecgs));
}

} // namespace sampledb
