// Result file reader: any bytes as "Result.txt", scored against a small database of three ECGs
// (the seeds hold valid and broken result files for it).
#include "fuzz/FuzzTarget.h"

#include "app/core/UWorkbenchData.h"

namespace {

// ECG0001 with codes 1 and 4, ECG0002 with 22, ECG0003 without a code.
constexpr std::string_view kBaseInfo = "ECG0001        JBUmFScUIBUkEic=\r\n"
                                       "ECG0002        MxEmFScUIBUkEic=\r\n"
                                       "ECG0003        JREmFScUIBUkEic=\r\n";

} // namespace

void wbfuzz::FuzzOne(TInput input) {
    static workbench::TWorkbenchData data;
    static const bool loaded = [] {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(kBaseInfo.data());
        const rtl::UnicodeString file = InputFile({bytes, kBaseInfo.size()}, "base.info");
        return data
            .LoadReferenceDatabase(file.substr(0, file.size() - workbench::BaseInfoFileName.size()))
            .Ok;
    }();
    if (!loaded) {
        __builtin_trap();
    }
    const workbench::TResultOutcome outcome = data.ReloadResult(InputFile(input, "Result.txt"));
    if ((outcome.Status == workbench::TResultStatus::rsScored) != data.IsScored()) {
        __builtin_trap();
    }
    for (const rtl::UnicodeString &name : data.GetDBBook()) {
        data.ResultCodesText(name);
        data.ResultDescriptionsText(name);
    }
}
