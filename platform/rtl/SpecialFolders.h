// The user's special folders (application data, documents, shared program data) by their
// Windows folder ids, mapped onto the XDG base directories.
#pragma once

#include "platform/rtl/System.h"

namespace rtl {

constexpr int CSIDL_PERSONAL = 5;       // documents: $XDG_DOCUMENTS_DIR or ~/Documents
constexpr int CSIDL_APPDATA = 26;       // roaming data: $XDG_CONFIG_HOME or ~/.config
constexpr int CSIDL_LOCAL_APPDATA = 28; // local data: $XDG_DATA_HOME or ~/.local/share
constexpr int CSIDL_COMMON_APPDATA =
    35; // shared data: first of $XDG_DATA_DIRS, or /usr/local/share

// The folder of the id, without a trailing separator, whether or not it exists; with create
// a missing folder is made. False (and path empty) for an unknown id, when the home folder is
// unknown, or when create cannot make the folder.
bool GetSpecialFolderPath(int folderId, UnicodeString &path, bool create);

} // namespace rtl
