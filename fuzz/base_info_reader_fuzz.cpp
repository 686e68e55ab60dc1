// Reference database reader: any bytes as "base.info"; a database that loads is counted and
// every ECG's codes are read back.
#include "fuzz/FuzzTarget.h"

#include "app/core/UWorkbenchData.h"

void wbfuzz::FuzzOne(TInput input) {
    const rtl::UnicodeString file = InputFile(input, "base.info");
    workbench::TWorkbenchData data;
    const workbench::TLoadResult result = data.LoadReferenceDatabase(
        file.substr(0, file.size() - workbench::BaseInfoFileName.size()));
    if (result.Ok == result.Message.empty() && result.Ok == data.IsDatabaseLoaded()) {
        volatile size_t codes = 0;
        for (int32_t i = 0; i < data.GetDBCount(); ++i) {
            codes = codes + data.GetReferenceCodes(i).size();
        }
        return;
    }
    __builtin_trap(); // an outcome that contradicts itself
}
