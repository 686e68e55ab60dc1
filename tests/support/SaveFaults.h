// A save path run against a full disk, a read-only folder and an injected write failure: each
// must report the error, keep the old file byte for byte and leave no temporary file.
#pragma once

#include "platform/rtl/System.h"

#include <functional>
#include <string>
#include <string_view>

namespace wbtest {

// The ways a save is made to fail. FullDisk and ReadOnlyFolder mount a small tmpfs of the
// test's own and so need root; they are skipped (with a note in the test's output) elsewhere.
enum class TSaveFault { InjectedDiskFull, InjectedNoAccess, FullDisk, ReadOnlyFolder };

// For every fault: puts oldBytes in a file called name in a folder of its own, calls
// save(full name of that file), and checks with GoogleTest expectations that save raised an
// rtl::Exception whose message names the file and says the fault's reason in Russian, that
// the file still holds oldBytes and that nothing else was left in the folder.
void ExpectSaveFailuresKeepTheOldFile(std::string_view name, std::string_view oldBytes,
                                      const std::function<void(const rtl::UnicodeString &)> &save);

} // namespace wbtest
