// File names and operations on POSIX calls; names are UTF-16 outside and UTF-8 on the disk.
#include "platform/rtl/Files.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace rtl {

namespace {

bool IsDelimiter(char16_t ch) {
    return ch == u'/' || ch == u'\\';
}

std::string Native(const UnicodeString &fileName) {
    return Utf16ToUtf8(ToPlatformPath(fileName));
}

std::optional<struct stat> StatPath(const std::string &path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return info;
}

bool ExistsNoFollow(const std::string &path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool SameNameIgnoringCase(const UnicodeString &a, const UnicodeString &b) {
    UErrorCode error = U_ZERO_ERROR;
    const int32_t order =
        u_strCaseCompare(a.data(), static_cast<int32_t>(a.size()), b.data(),
                         static_cast<int32_t>(b.size()), U_FOLD_CASE_DEFAULT, &error);
    return U_SUCCESS(error) && order == 0;
}

// The entry of folder whose name equals component without regard to case; the smallest in byte
// order when several do.
std::optional<std::string> FindIgnoringCase(const std::string &folder,
                                            const std::string &component) {
    DIR *dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    const UnicodeString wanted = Utf8ToUtf16(component);
    std::optional<std::string> best;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if ((!best || name < *best) && SameNameIgnoringCase(Utf8ToUtf16(name), wanted)) {
            best = name;
        }
    }
    ::closedir(dir);
    return best;
}

std::vector<std::string> SplitComponents(const std::string &path) {
    std::vector<std::string> components;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = path.find('/', start);
        const size_t stop = end == std::string::npos ? path.size() : end;
        if (stop > start) {
            components.push_back(path.substr(start, stop - start));
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return components;
}

// Walks the components of a missing path and replaces each missing one by its case-insensitive
// match; std::nullopt when some component has none.
std::optional<std::string> ResolveComponents(const std::string &path) {
    std::string built = (!path.empty() && path[0] == '/') ? "/" : "";
    const std::vector<std::string> components = SplitComponents(path);
    for (size_t i = 0; i < components.size(); ++i) {
        const std::string &component = components[i];
        std::string candidate = built + component;
        if (!ExistsNoFollow(candidate) && component != "." && component != "..") {
            const std::optional<std::string> match = FindIgnoringCase(built, component);
            if (!match) {
                return std::nullopt;
            }
            candidate = built + *match;
        }
        built = candidate;
        if (i + 1 < components.size() || (!path.empty() && path.back() == '/')) {
            built += '/';
        }
    }
    return built;
}

std::string CurrentFolder() {
    std::vector<char> buffer(PATH_MAX);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return "/";
        }
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::string ErrnoText(int errorCode) {
    char buffer[256];
    return ::strerror_r(errorCode, buffer, sizeof buffer);
}

} // namespace

UnicodeString GetExecutableFolder() {
    std::vector<char> buffer(PATH_MAX);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) {
        return IncludeTrailingPathDelimiter(Utf8ToUtf16(CurrentFolder()));
    }
    const std::string exe(buffer.data(), static_cast<size_t>(length));
    return ExtractFilePath(Utf8ToUtf16(exe));
}

UnicodeString GetTempFolder() {
    const char *tmp = std::getenv("TMPDIR");
    const std::string folder = (tmp != nullptr && *tmp != '\0') ? tmp : "/tmp";
    return IncludeTrailingPathDelimiter(Utf8ToUtf16(folder));
}

UnicodeString ToPlatformPath(const UnicodeString &fileName) {
    UnicodeString result = fileName;
    for (char16_t &ch : result) {
        if (ch == u'\\') {
            ch = u'/';
        }
    }
    return result;
}

UnicodeString ExpandFileName(const UnicodeString &fileName) {
    std::string path = Native(fileName);
    if (path.empty() || path[0] != '/') {
        path = CurrentFolder() + "/" + path;
    }
    std::vector<std::string> kept;
    for (const std::string &component : SplitComponents(path)) {
        if (component == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
        } else if (component != ".") {
            kept.push_back(component);
        }
    }
    std::string result;
    for (const std::string &component : kept) {
        result += "/" + component;
    }
    if (result.empty() || path.back() == '/') {
        result += "/";
    }
    return Utf8ToUtf16(result);
}

UnicodeString ExtractFilePath(const UnicodeString &fileName) {
    for (size_t i = fileName.size(); i > 0; --i) {
        if (IsDelimiter(fileName[i - 1])) {
            return fileName.substr(0, i);
        }
    }
    return {};
}

UnicodeString ExtractFileName(const UnicodeString &fileName) {
    return fileName.substr(ExtractFilePath(fileName).size());
}

UnicodeString ExtractFileExt(const UnicodeString &fileName) {
    const UnicodeString name = ExtractFileName(fileName);
    const size_t dot = name.rfind(u'.');
    return dot == UnicodeString::npos ? UnicodeString() : name.substr(dot);
}

UnicodeString ChangeFileExt(const UnicodeString &fileName, const UnicodeString &extension) {
    const UnicodeString ext = ExtractFileExt(fileName);
    return fileName.substr(0, fileName.size() - ext.size()) + extension;
}

UnicodeString IncludeTrailingPathDelimiter(const UnicodeString &path) {
    if (!path.empty() && IsDelimiter(path.back())) {
        return path;
    }
    return path + PathDelim;
}

UnicodeString ExcludeTrailingPathDelimiter(const UnicodeString &path) {
    if (!path.empty() && IsDelimiter(path.back())) {
        return path.substr(0, path.size() - 1);
    }
    return path;
}

UnicodeString ResolveExistingFileName(const UnicodeString &fileName) {
    const std::string path = Native(fileName);
    if (path.empty() || ExistsNoFollow(path)) {
        return ToPlatformPath(fileName);
    }
    const std::optional<std::string> resolved = ResolveComponents(path);
    return resolved ? Utf8ToUtf16(*resolved) : ToPlatformPath(fileName);
}

UnicodeString ResolveFileNameForWriting(const UnicodeString &fileName) {
    const UnicodeString existing = ResolveExistingFileName(fileName);
    if (ExistsNoFollow(Native(existing))) {
        return existing;
    }
    const UnicodeString name = ToPlatformPath(fileName);
    const UnicodeString folder = ExtractFilePath(name);
    if (folder.empty()) {
        return name;
    }
    return ResolveExistingFileName(folder) + ExtractFileName(name);
}

bool FileExists(const UnicodeString &fileName) {
    const auto info = StatPath(Native(ResolveExistingFileName(fileName)));
    return info && !S_ISDIR(info->st_mode);
}

bool DirectoryExists(const UnicodeString &directory) {
    const auto info = StatPath(Native(ResolveExistingFileName(directory)));
    return info && S_ISDIR(info->st_mode);
}

namespace {

// The target of a rename; a target that names the source itself in another case keeps the
// case asked for, so renaming "a.txt" to "A.txt" changes the name's case.
std::string RenameTarget(const std::string &from, const UnicodeString &newName) {
    const std::string to = Native(ResolveFileNameForWriting(newName));
    return to == from ? Native(newName) : to;
}

} // namespace

bool RenameFile(const UnicodeString &oldName, const UnicodeString &newName) {
    const std::string from = Native(ResolveExistingFileName(oldName));
    return std::rename(from.c_str(), RenameTarget(from, newName).c_str()) == 0;
}

bool MoveFileNoReplace(const UnicodeString &oldName, const UnicodeString &newName) {
    const std::string from = Native(ResolveExistingFileName(oldName));
    const std::string to = RenameTarget(from, newName);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // File systems without the no-replace rename: a hard link refuses an existing target too.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    return ::unlink(from.c_str()) == 0;
}

bool DeleteFile(const UnicodeString &fileName) {
    return ::unlink(Native(ResolveExistingFileName(fileName)).c_str()) == 0;
}

bool CreateDir(const UnicodeString &directory) {
    return ::mkdir(Native(ExcludeTrailingPathDelimiter(directory)).c_str(), 0777) == 0;
}

bool ForceDirectories(const UnicodeString &directory) {
    const UnicodeString dir = ExcludeTrailingPathDelimiter(ToPlatformPath(directory));
    if (dir.empty() || DirectoryExists(dir)) {
        return !dir.empty();
    }
    const UnicodeString parent = ExtractFilePath(dir);
    if (!parent.empty() && parent != u"/" && !ForceDirectories(parent)) {
        return false;
    }
    return CreateDir(dir) || DirectoryExists(dir);
}

UnicodeString FileErrorMessage(int errorCode, const UnicodeString &fileName) {
    switch (errorCode) {
    case ENOENT: {
        const UnicodeString folder = ExtractFilePath(ToPlatformPath(fileName));
        if (folder.empty() || DirectoryExists(folder)) {
            return U("Не удается найти указанный файл");
        }
        return U("Системе не удается найти указанный путь");
    }
    case ENOTDIR:
        return U("Системе не удается найти указанный путь");
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return U("Отказано в доступе");
    case EEXIST:
        return U("Файл существует");
    case ENAMETOOLONG:
        return U("Имя файла или его расширение имеет слишком большую длину");
    case ENOSPC:
    case EDQUOT:
        return U("Недостаточно места на диске");
    case ENODEV:
    case ENXIO:
        return U("Это не файл, а устройство или канал");
    default:
        return Utf8ToUtf16(ErrnoText(errorCode));
    }
}

} // namespace rtl
