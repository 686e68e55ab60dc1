// Running outside tools from tests.
#include "tests/support/Commands.h"

#include <array>
#include <cstdio>
#include <memory>

namespace wbtest {

std::string RunCommand(const std::string &command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE *)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        return out;
    }
    std::array<char, 4096> buffer{};
    while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe.get())) {
        out.append(buffer.data(), n);
    }
    return out;
}

bool HaveTool(const std::string &name) {
    return !RunCommand("command -v " + name + " 2>/dev/null").empty();
}

std::string PdfPageText(const std::string &file, int page) {
    const std::string n = std::to_string(page);
    return RunCommand("pdftotext -raw -f " + n + " -l " + n + " '" + file + "' -");
}

} // namespace wbtest
