// The fuzzer's entry point, shared by every target: refusals are expected, all else is a finding.
#include "fuzz/FuzzTarget.h"

#include "platform/rtl/Exceptions.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace wbfuzz {

namespace {

class TProcessFolder {
public:
    // In memory where the system offers it: saves flush every file they write, and a flush
    // to disk on every input would slow the fuzzer down to a crawl.
    TProcessFolder() {
        std::error_code ignored;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ignored)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "wbfuzz_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        FPath = pattern;
    }
    ~TProcessFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    const std::filesystem::path &Path() const { return FPath; }

private:
    std::filesystem::path FPath;
};

} // namespace

rtl::UnicodeString InputFile(TInput input, std::string_view name) {
    static const TProcessFolder folder;
    const std::filesystem::path file = folder.Path() / name;
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(input.data()), std::streamsize(input.size()));
    return rtl::Utf8ToUtf16(file.string());
}

} // namespace wbfuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    try {
        wbfuzz::FuzzOne({data, size});
    } catch (const rtl::Exception &) {
        // The reader refused the input with a clear error: the expected outcome for most.
    }
    return 0;
}
