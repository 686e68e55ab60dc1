// EDF reader: any bytes are read or refused; a record that is read is cloned through its packed
// form and read back to its last sample.
#include "fuzz/FuzzTarget.h"

#include "ecg/M12ECG.h"
#include "ecg/UEDFImportHelper.h"

void wbfuzz::FuzzOne(TInput input) {
    ecg::TEDFImportHelper reader;
    reader.readEDFFromMemory(input);
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
}
