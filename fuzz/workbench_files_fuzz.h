// Shared by the fuzz targets of the workbench's text files: the invariants that every state
// of the data keeps, checked after each reading.
#pragma once

#include "app/core/UWorkbenchData.h"

namespace workbench::fuzz {

// Traps unless the counters agree with each other and with the scoring state: counters 1 to 5
// zero while not scored; once scored, true and false positives make the computed count, true
// positives and missed codes make the reference count, and no counter is negative.
inline void CheckCounters(const TWorkbenchData &data) {
    const int32_t ecgs = data.GetDBCount();
    for (int32_t c = MinDiagCode; c <= MaxDiagCode; ++c) {
        const TCodeCounters &n = data.GetDiaStat()[c];
        bool ok = n[ciReference] >= 0 && n[ciReference] <= ecgs;
        if (!data.IsScored()) {
            for (int i = ciComputed; i <= ciTrueNegative; ++i) {
                ok = ok && n[i] == 0;
            }
        } else {
            ok = ok && n[ciTruePositive] + n[ciFalsePositive] == n[ciComputed] &&
                 n[ciTruePositive] + n[ciMissed] == n[ciReference] && n[ciTrueNegative] >= 0 &&
                 n[ciMissed] >= 0 && n[ciFalsePositive] >= 0;
        }
        if (!ok) {
            __builtin_trap();
        }
    }
}

} // namespace workbench::fuzz
