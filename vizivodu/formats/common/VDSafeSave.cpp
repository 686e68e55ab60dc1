// The temporary-file-and-rename save of the document writers.
#include "vizivodu/formats/common/VDSafeSave.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"

#include <atomic>
#include <memory>
#include <string>
#include <unistd.h>

namespace vizivodu {

namespace {

rtl::UnicodeString TemporaryNameBeside(const rtl::UnicodeString &fileName) {
    static std::atomic<unsigned> counter{0};
    const std::string suffix =
        ".~" + std::to_string(getpid()) + "-" + std::to_string(counter.fetch_add(1)) + ".tmp";
    return fileName + rtl::UnicodeString(suffix.begin(), suffix.end());
}

} // namespace

bool SaveFileSafely(const rtl::UnicodeString &fileName,
                    const std::function<bool(rtl::TStream &)> &write) {
    const rtl::UnicodeString temporary = TemporaryNameBeside(fileName);
    bool written = false;
    try {
        auto stream = std::make_unique<rtl::TFileStream>(temporary, rtl::fmCreate);
        written = write(*stream);
        stream.reset();
    } catch (const rtl::Exception &) {
        written = false;
    }
    if (written && rtl::RenameFile(temporary, fileName)) {
        return true;
    }
    rtl::DeleteFile(temporary);
    return false;
}

} // namespace vizivodu
