// The ECGs of the sample database: patients, reference codes, the imagined program's findings
// and the synthesis settings that make each recording fit its codes.
#include "tools/SampleDatabase.h"

#include <algorithm>

namespace sampledb {

namespace {

using R = TRhythm;
using C = TConduction;
using K = TEventKind;

TSampleEcg Synthetic(const char *name, std::vector<int> reference, std::vector<int> result,
                     char sex, const char *birthDate, const char *startDate, const char *startTime,
                     int groups, TEcgParams params) {
    return {name,
            std::move(reference),
            std::move(result),
            sex,
            birthDate,
            startDate,
            startTime,
            groups,
            false,
            std::move(params)};
}

// The findings of the imagined program mix hits with missed and false codes; it reports
// nothing for the noisy ECG0029.
std::vector<TSampleEcg> MakeCatalogue() {
    return {
        Synthetic("ECG0001", {1}, {1}, 'M', "14.06.1958", "03.02.14", "09.12.40", 1,
                  {.Seed = 101, .RateBpm = 72}),
        Synthetic("ECG0002", {1}, {1}, 'F', "02.11.1984", "03.02.14", "09.31.05", 1,
                  {.Seed = 102, .RateBpm = 64, .AmplitudeScale = 0.9, .Noise = {.HumMV = 0.25}}),
        Synthetic("ECG0003", {1, 2}, {1, 2}, 'F', "27.03.1991", "11.02.14", "14.05.12", 2,
                  {.Seed = 103, .RateBpm = 118, .PrMs = 140, .QtcMs = 410}),
        Synthetic("ECG0004", {1, 3}, {1}, 'M', "09.09.1949", "11.02.14", "15.47.33", 3,
                  {.Seed = 104, .RateBpm = 47, .PrMs = 175, .AmplitudeScale = 1.1}),
        Synthetic("ECG0005", {4}, {4}, 'M', "30.01.1941", "20.02.14", "08.55.02", 1,
                  {.Seed = 105,
                   .Rhythm = R::AtrialFibrillation,
                   .RateBpm = 95,
                   .Noise = {.WanderMV = 0.3}}),
        Synthetic("ECG0006", {4}, {1}, 'F', "18.05.1947", "20.02.14", "10.20.47", 1,
                  {.Seed = 106,
                   .Rhythm = R::AtrialFlutter,
                   .RateBpm = 75,
                   .AtrialRateBpm = 300,
                   .ConductionRatio = 4}),
        Synthetic("ECG0007", {5}, {1}, 'M', "07.12.1966", "04.03.14", "11.02.19", 1,
                  {.Seed = 107, .Rhythm = R::EctopicAtrial, .RateBpm = 64, .PrMs = 130}),
        Synthetic("ECG0008", {3, 6}, {3, 6}, 'F', "23.08.1952", "04.03.14", "13.44.00", 1,
                  {.Seed = 108, .Rhythm = R::Junctional, .RateBpm = 45}),
        Synthetic(
            "ECG0009", {1, 7}, {1, 7, 11}, 'F', "15.04.1979", "12.03.14", "09.08.51", 1,
            {.Seed = 109,
             .RateBpm = 76,
             .Events =
                 {{.Kind = K::SupraventricularRun, .AtSec = 4.0, .Count = 8, .RateBpm = 175}}}),
        Synthetic(
            "ECG0010", {1, 8}, {1, 8, 12}, 'M', "01.07.1955", "12.03.14", "10.36.28", 2,
            {.Seed = 110,
             .RateBpm = 80,
             .Events = {{.Kind = K::VentricularRun, .AtSec = 5.0, .Count = 6, .RateBpm = 160}}}),
        Synthetic("ECG0011", {1, 11}, {1, 11}, 'F', "28.02.1963", "19.03.14", "16.12.09", 1,
                  {.Seed = 111,
                   .RateBpm = 70,
                   .Events = {{.Kind = K::SupraventricularPremature, .AtSec = 3.0},
                              {.Kind = K::SupraventricularPremature, .AtSec = 7.2}},
                   .Noise = {.SpikeCount = 3, .SpikeMV = 1.5}}),
        Synthetic("ECG0012", {1, 12}, {1, 12}, 'M', "11.10.1950", "19.03.14", "17.01.44", 1,
                  {.Seed = 112,
                   .RateBpm = 68,
                   .Events = {{.Kind = K::VentricularPremature, .AtSec = 2.5},
                              {.Kind = K::VentricularPremature, .AtSec = 6.5}},
                   .Noise = {.TremorMV = 0.05}}),
        Synthetic("ECG0013", {1, 14}, {1, 14}, 'M', "05.05.1944", "26.03.14", "08.30.15", 3,
                  {.Seed = 113, .RateBpm = 66, .PrMs = 290}),
        Synthetic("ECG0014", {1, 15}, {1}, 'F', "19.01.1988", "26.03.14", "09.17.52", 1,
                  {.Seed = 114, .RateBpm = 74, .PrMs = 100}),
        Synthetic("ECG0015", {1, 16}, {1, 16, 17}, 'M', "12.12.1938", "02.04.14", "12.40.03", 1,
                  {.Seed = 115, .RateBpm = 78, .PrMs = 200, .WenckebachCycle = 4}),
        Synthetic("ECG0016", {1, 17}, {1, 17}, 'F', "03.06.1946", "02.04.14", "14.22.38", 1,
                  {.Seed = 116,
                   .RateBpm = 62,
                   .Events = {{.Kind = K::Pause, .AtSec = 4.5, .DurationSec = 2.6}},
                   .Noise = {.HumMV = 0.15}}),
        Synthetic(
            "ECG0017", {1, 18}, {1, 17}, 'M', "21.09.1970", "09.04.14", "10.05.26", 2,
            {.Seed = 117, .RateBpm = 72, .Events = {{.Kind = K::BlockedPremature, .AtSec = 5.0}}}),
        Synthetic("ECG0018", {4, 19}, {4, 19}, 'M', "14.02.1936", "09.04.14", "11.58.11", 1,
                  {.Seed = 118,
                   .Rhythm = R::AtrialFibrillation,
                   .RateBpm = 80,
                   .Events = {{.Kind = K::Pause, .AtSec = 5.0, .DurationSec = 2.4}}}),
        Synthetic("ECG0019", {1, 3, 20}, {3, 20}, 'F', "08.08.1939", "16.04.14", "09.45.30", 1,
                  {.Seed = 119, .Rhythm = R::CompleteAVBlock, .RateBpm = 38, .AtrialRateBpm = 78}),
        Synthetic("ECG0020", {1, 21}, {1, 15, 21}, 'M', "25.11.1993", "16.04.14", "13.12.07", 1,
                  {.Seed = 120,
                   .RateBpm = 70,
                   .PrMs = 100,
                   .Conduction = C::Preexcitation,
                   .Noise = {.WanderMV = 0.2}}),
        Synthetic("ECG0021", {1, 22}, {1, 22}, 'M', "17.03.1957", "23.04.14", "10.27.49", 3,
                  {.Seed = 121, .RateBpm = 75, .Conduction = C::RightBundleBranchBlock}),
        Synthetic("ECG0022", {1, 23}, {1, 23, 30}, 'F', "29.07.1945", "23.04.14", "15.03.16", 1,
                  {.Seed = 122,
                   .RateBpm = 82,
                   .Conduction = C::LeftBundleBranchBlock,
                   .Noise = {.TremorMV = 0.04}}),
        Synthetic("ECG0023", {1, 24}, {1}, 'M', "10.10.1960", "30.04.14", "08.51.34", 1,
                  {.Seed = 123, .RateBpm = 70, .Conduction = C::LeftAnteriorFascicularBlock}),
        Synthetic("ECG0024", {1, 26}, {1, 26}, 'F', "06.02.1975", "30.04.14", "12.19.58", 1,
                  {.Seed = 124, .RateBpm = 62, .QtcMs = 510}),
        Synthetic(
            "ECG0025", {1, 27}, {1, 12}, 'M', "13.05.1982", "07.05.14", "09.36.21", 1,
            {.Seed = 125, .RateBpm = 72, .QtcMs = 320, .Noise = {.SpikeCount = 4, .SpikeMV = 2.0}}),
        Synthetic("ECG0026", {1, 28}, {1, 28}, 'M', "22.04.1953", "07.05.14", "11.11.11", 2,
                  {.Seed = 126, .RateBpm = 78, .InferiorStMV = 0.3}),
        Synthetic("ECG0027", {1, 29}, {1, 29}, 'M', "31.12.1948", "14.05.14", "10.44.05", 1,
                  {.Seed = 127, .RateBpm = 66, .InferiorQWaves = true}),
        Synthetic("ECG0028", {1, 30}, {1, 28, 30}, 'M', "04.09.1951", "14.05.14", "14.58.40", 3,
                  {.Seed = 128, .RateBpm = 68, .LeftVentricularHypertrophy = true}),
        Synthetic("ECG0029", {2, 4, 23}, {}, 'F', "16.06.1934", "21.05.14", "09.03.27", 1,
                  {.Seed = 129,
                   .Rhythm = R::AtrialFibrillation,
                   .RateBpm = 112,
                   .Conduction = C::LeftBundleBranchBlock,
                   .Noise = {.TremorMV = 0.06}}),
        Synthetic("ECG0030", {1, 3, 14, 22, 29}, {1, 3, 14, 22}, 'M', "26.10.1942", "21.05.14",
                  "10.50.52", 1,
                  {.Seed = 130,
                   .RateBpm = 52,
                   .PrMs = 260,
                   .Conduction = C::RightBundleBranchBlock,
                   .InferiorQWaves = true,
                   .Noise = {.HumMV = 0.3, .SpikeCount = 2, .SpikeMV = 1.2}}),
        // The real recording: a normal ECG in sinus rhythm (see tests/data/ecg/README.md).
        {kRealEcgName, {1}, {1}, 'F', "25.01.1971", "25.01.13", "10.00.00", 1, true, {}},
    };
}

} // namespace

const std::vector<TSampleEcg> &SampleDatabase() {
    static const std::vector<TSampleEcg> catalogue = MakeCatalogue();
    return catalogue;
}

const TSampleEcg *FindSampleEcg(std::string_view name) {
    const auto &db = SampleDatabase();
    const auto it =
        std::find_if(db.begin(), db.end(), [&](const TSampleEcg &e) { return e.Name == name; });
    return it == db.end() ? nullptr : &*it;
}

} // namespace sampledb
