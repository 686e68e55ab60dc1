// Special folders: Windows folder ids resolved through the XDG base-directory variables.
#include "platform/rtl/SpecialFolders.h"

#include "platform/rtl/Files.h"

#include <cstdlib>

namespace rtl {

namespace {

UnicodeString Env(const char *name) {
    const char *v = std::getenv(name);
    return v && *v ? Utf8ToUtf16(v) : UnicodeString();
}

// $variable when set, else the home folder with the fallback below it.
UnicodeString XdgFolder(const char *variable, const char16_t *belowHome) {
    UnicodeString v = Env(variable);
    if (!v.empty()) {
        return v;
    }
    const UnicodeString home = Env("HOME");
    return home.empty() ? UnicodeString() : IncludeTrailingPathDelimiter(home) + belowHome;
}

UnicodeString FolderOf(int folderId) {
    switch (folderId) {
    case CSIDL_PERSONAL:
        return XdgFolder("XDG_DOCUMENTS_DIR", u"Documents");
    case CSIDL_APPDATA:
        return XdgFolder("XDG_CONFIG_HOME", u".config");
    case CSIDL_LOCAL_APPDATA:
        return XdgFolder("XDG_DATA_HOME", u".local/share");
    case CSIDL_COMMON_APPDATA: {
        const UnicodeString dirs = Env("XDG_DATA_DIRS");
        const UnicodeString first = dirs.substr(0, dirs.find(u':'));
        return first.empty() ? UnicodeString(u"/usr/local/share") : first;
    }
    default:
        return {};
    }
}

} // namespace

bool GetSpecialFolderPath(int folderId, UnicodeString &path, bool create) {
    path = FolderOf(folderId);
    if (!path.empty()) {
        path = ExcludeTrailingPathDelimiter(path);
    }
    if (path.empty() || (create && !ForceDirectories(path))) {
        path.clear();
        return false;
    }
    return true;
}

} // namespace rtl
