// The sample reference database: its ECGs with their reference codes, their EDF recordings,
// the scrambled list file "base.info", and the "Result.txt" of an imagined program under test.
#pragma once

#include "tools/EdfWriter.h"
#include "tools/SyntheticEcg.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sampledb {

// The real recording that the database carries unchanged, under this name.
inline constexpr const char *kRealEcgName = "REAL12_250";

struct TSampleEcg {
    std::string Name;                // at most 10 characters; the recording is Name + ".edf"
    std::vector<int> ReferenceCodes; // 1 to 30, at most 11, in base.info order
    std::vector<int> ResultCodes;    // what the imagined program under test reports
    char Sex = 'M';                  // 'M' or 'F'
    std::string BirthDate;           // "dd.mm.yyyy"
    std::string StartDate;           // "dd.mm.yy"
    std::string StartTime;           // "hh.mm.ss"
    int GroupCount = 1;              // signal groups of the recording field: 1, 2 or 3
    bool RealRecording = false;      // copied from the real file instead of synthesized
    TEcgParams Params;               // synthetic recordings only
};

// Every ECG of the database in "base.info" order; the real recording comes last.
const std::vector<TSampleEcg> &SampleDatabase();
// The ECG of that name, nullptr when the database has none. Its recording (with the R-peak
// positions) is Synthesize(ecg->Params) unless it is the real one.
const TSampleEcg *FindSampleEcg(std::string_view name);

// One line of "base.info" without its line end: the name in characters 1 to 10, blanks in 11 to
// 15, then the Base64 text of the 11 scrambled payload bytes (the codes, then zeros). Throws
// std::invalid_argument for a name over 10 characters, more than 11 codes or a code outside
// 1 to 30.
std::string BaseInfoLine(const std::string &name, const std::vector<int> &codes);
// The lines of all ECGs, each ended by CR LF.
std::string MakeBaseInfo(const std::vector<TSampleEcg> &ecgs);

// One line of "Result.txt" without its line end: the name in characters 1 to 10, blanks in 11
// to 15, then every code as two decimal digits; only the name when there are no codes.
std::string ResultLine(const std::string &name, const std::vector<int> &codes);
std::string MakeResultFile(const std::vector<TSampleEcg> &ecgs);

// Lead (TLead) stored by each signal of the file, in file order, for 1, 2 or 3 groups: the
// order that the EDF reader's placement tables expect.
std::array<int, kLeadCount> FileLeadOrder(int groupCount);
// The recording field naming the groups, split by a capital "G"; blank for one group.
std::string RecordingField(int groupCount);
// The EDF form of a synthesized recording in the database's conventions.
TEdfFile MakeSampleEdf(const TSampleEcg &ecg, const TSyntheticEcg &signals);

// Writes every recording, "base.info" into folder (created when missing) and the result file
// to resultFile. The real recording's bytes are copied from realEdf. Throws on any failure.
void WriteSampleDatabase(const std::filesystem::path &folder, const std::filesystem::path &realEdf,
                         const std::filesystem::path &resultFile);

} // namespace sampledb
