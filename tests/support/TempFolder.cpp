// Temporary folders made with mkdtemp, and whole-file byte access.
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace wbtest {

TTempFolder::TTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "wbtest_XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder from " + pattern);
    }
    FPath = pattern;
}

TTempFolder::~TTempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

rtl::UnicodeString TTempFolder::File(std::string_view name) const {
    return rtl::Utf8ToUtf16((FPath / name).string());
}

rtl::UnicodeString TTempFolder::Name() const {
    return rtl::Utf8ToUtf16(FPath.string() + "/");
}

void WriteFileBytes(const std::filesystem::path &path, std::string_view bytes) {
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string ReadFileBytes(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace wbtest
