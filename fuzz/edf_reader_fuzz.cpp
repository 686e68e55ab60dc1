// libFuzzer target for the EDF reader: any bytes are read or refused with an exception; a record
// that is read is cloned through its packed form and read back to its last sample.
#include "ecg/M12ECG.h"
#include "ecg/UEDFImportHelper.h"
#include "platform/rtl/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ecg::TEDFImportHelper reader;
    try {
        reader.readEDFFromMemory(std::span<const std::uint8_t>(data, size));
    } catch (const rtl::Exception &) {
        return 0;
    }
    const std::unique_ptr<ecg::TM12ECGObj> record = reader.getM12ECG();
    if (!record) {
        __builtin_trap();
    }
    ecg::TM12ECGObj clone;
    clone.Clone(*record);
    volatile std::int32_t sum = 0;
    for (std::uint8_t lead = 0; lead <= record->GetLeadsCount() + 1; ++lead) {
        sum = sum + record->GetECG(lead, record->GetLenghtECG()) +
              clone.GetECG(lead, clone.GetLenghtECG()) + clone.GetECG(lead, 1);
    }
    return 0;
}
