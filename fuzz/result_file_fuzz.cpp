// Result file reader ("Result.txt"): any bytes score, or reset the results with a message;
// the counters always agree with each other and with the state.
#include "fuzz/FuzzTarget.h"
#include "fuzz/workbench_files_fuzz.h"

#include "platform/rtl/Classes.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// A database of four ECGs, the names the seeds use.
const workbench::TWorkbenchData &Database() {
    static const workbench::TWorkbenchData data = [] {
        workbench::TWorkbenchData wb;
        // "base.info" lines: name, five blanks, the codes scrambled and in Base64 (codes 1 and 4;
        // 1 and 22; none; 2, 4 and 30).
        const std::string text = "E1             JBUmFScUIBUkEic=\r\n"
                                 "E2             JAcmFScUIBUkEic=\r\n"
                                 "E3             JREmFScUIBUkEic=\r\n"
                                 "E4             JxU4FScUIBUkEic=\r\n";
        rtl::TMemoryStream stream;
        stream.WriteBuffer(text.data(), static_cast<std::int32_t>(text.size()));
        stream.SetPosition(0);
        if (!wb.LoadReferenceDatabase(stream, u"base.info").Ok) {
            __builtin_trap();
        }
        return wb;
    }();
    return data;
}

} // namespace

void wbfuzz::FuzzOne(TInput input) {
    using namespace workbench;
    const std::uint8_t *data = input.data();
    const std::size_t size = input.size();
    TWorkbenchData wb = Database();
    rtl::TMemoryStream result;
    result.WriteBuffer(data, static_cast<std::int32_t>(size));
    result.SetPosition(0);
    const TResultOutcome outcome = wb.ReloadResult(result, u"Result.txt");
    const bool scored = outcome.Status == TResultStatus::rsScored;
    if (scored != wb.IsScored() || scored != outcome.Message.empty() || !outcome.FileRead) {
        __builtin_trap();
    }
    fuzz::CheckCounters(wb);
    for (const UnicodeString &name : wb.GetDBBook()) {
        (void)wb.ResultCodesText(name);
        (void)wb.ResultDescriptionsText(name);
    }
}
