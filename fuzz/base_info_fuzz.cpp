// Reference database reader ("base.info"): any bytes load or are refused with a message;
// a database that loads then scores a result file naming its ECGs with their own codes.
#include "fuzz/FuzzTarget.h"
#include "fuzz/workbench_files_fuzz.h"

#include "platform/rtl/Classes.h"

#include <cstddef>
#include <cstdint>

void wbfuzz::FuzzOne(TInput input) {
    using namespace workbench;
    const std::uint8_t *data = input.data();
    const std::size_t size = input.size();
    rtl::TMemoryStream baseInfo;
    baseInfo.WriteBuffer(data, static_cast<std::int32_t>(size));
    baseInfo.SetPosition(0);
    TWorkbenchData wb;
    const TLoadResult loaded = wb.LoadReferenceDatabase(baseInfo, u"base.info");
    if (loaded.Ok != loaded.Message.empty() || loaded.Ok != wb.IsDatabaseLoaded()) {
        __builtin_trap();
    }
    fuzz::CheckCounters(wb);
    if (!loaded.Ok) {
        return;
    }
    // Each ECG as "Result.txt" writes it: the name in ten characters, five blanks, the codes.
    UnicodeString text;
    for (int32_t i = 0; i < wb.GetDBCount(); ++i) {
        UnicodeString line = wb.GetDBBook()[static_cast<size_t>(i)];
        line.resize(15, u' ');
        for (const int32_t code : wb.GetReferenceCodes(i)) {
            line += static_cast<char16_t>(u'0' + code / 10);
            line += static_cast<char16_t>(u'0' + code % 10);
        }
        text += line + u"\r\n";
    }
    const std::string bytes = "\xEF\xBB\xBF" + rtl::Utf16ToUtf8(text);
    rtl::TMemoryStream result;
    result.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    result.SetPosition(0);
    const TResultOutcome outcome = wb.ReloadResult(result, u"Result.txt");
    // A name with a blank inside its first ten characters or a control character reads back
    // differently; every other database scores its own codes without a miss.
    if (outcome.Status == TResultStatus::rsScored) {
        for (int32_t c = MinDiagCode; c <= MaxDiagCode; ++c) {
            if (wb.GetDiaStat()[c][ciMissed] != 0 || wb.GetDiaStat()[c][ciFalsePositive] != 0) {
                __builtin_trap();
            }
        }
    }
    fuzz::CheckCounters(wb);
}
