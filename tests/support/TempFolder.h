// Temporary folders for tests, and whole files read and written as bytes.
#pragma once

#include "platform/rtl/System.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace wbtest {

// A new folder of its own under the system's temporary folder (unique across processes, so
// tests running in parallel never share one), removed with everything in it when the object
// goes. Throws std::runtime_error when the folder cannot be made.
class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder &) = delete;
    TTempFolder &operator=(const TTempFolder &) = delete;

    const std::filesystem::path &Path() const { return FPath; }
    // The path of name inside the folder (name may hold subfolders: "EDF/base.info").
    std::filesystem::path operator/(std::string_view name) const { return FPath / name; }
    // The same path as the class library names files (UTF-16).
    rtl::UnicodeString File(std::string_view name) const;
    // The folder itself with a trailing separator (UTF-16), as the workbench names folders.
    rtl::UnicodeString Name() const;

private:
    std::filesystem::path FPath;
};

// Writes bytes as the whole file, making missing folders; throws std::runtime_error on failure.
void WriteFileBytes(const std::filesystem::path &path, std::string_view bytes);
// The whole file; throws std::runtime_error when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path &path);

} // namespace wbtest
