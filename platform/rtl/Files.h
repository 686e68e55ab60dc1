// File names and file operations: path components, the executable's folder, the temporary folder,
// existence checks, renaming, moving and deleting, with Windows-like name lookup.
#pragma once

#include "platform/rtl/System.h"

namespace rtl {

// The platform's path separator. Names may also use "\", which every function here takes as
// a separator too.
constexpr char16_t PathDelim = u'/';

// The folder of the running program, with a trailing separator.
UnicodeString GetExecutableFolder();
// The folder for temporary files ($TMPDIR or /tmp), with a trailing separator.
UnicodeString GetTempFolder();

// "\" replaced by "/".
UnicodeString ToPlatformPath(const UnicodeString &fileName);
// An absolute path: a relative name is taken from the current folder; "." and ".." components
// are resolved. Does not look at the disk beyond the current folder.
UnicodeString ExpandFileName(const UnicodeString &fileName);

// The folder part including its last separator ("" when there is none).
UnicodeString ExtractFilePath(const UnicodeString &fileName);
// The part after the last separator.
UnicodeString ExtractFileName(const UnicodeString &fileName);
// The extension of the name part from its last "." on (".txt"), "" when it has none.
UnicodeString ExtractFileExt(const UnicodeString &fileName);
// The name with its extension replaced by extension (which brings its own "."), or with
// extension appended when it has none.
UnicodeString ChangeFileExt(const UnicodeString &fileName, const UnicodeString &extension);
UnicodeString IncludeTrailingPathDelimiter(const UnicodeString &path);
UnicodeString ExcludeTrailingPathDelimiter(const UnicodeString &path);

// The name under which an existing file or folder is found, as Windows finds it: "\" is
// taken as "/"; when the exact name is missing, each missing component is matched without regard
// to case (Unicode case folding) among the entries of its folder, the first match in byte
// order winning. When nothing matches, the name with "/" separators is returned unchanged.
UnicodeString ResolveExistingFileName(const UnicodeString &fileName);

// The name under which a file is to be written, as Windows would write it: an existing file
// found by ResolveExistingFileName, else the last component of the name inside its folder as
// ResolveExistingFileName finds that folder.
UnicodeString ResolveFileNameForWriting(const UnicodeString &fileName);

// An existing file that is not a folder, looked up as ResolveExistingFileName does.
bool FileExists(const UnicodeString &fileName);
// An existing folder, looked up as ResolveExistingFileName does.
bool DirectoryExists(const UnicodeString &directory);

// Renames oldName (looked up as above) to newName (ResolveFileNameForWriting), replacing a
// file of that name. False on failure.
bool RenameFile(const UnicodeString &oldName, const UnicodeString &newName);
// Moves oldName (looked up as above) to newName (ResolveFileNameForWriting); fails (false)
// when newName exists, which then keeps its content.
bool MoveFileNoReplace(const UnicodeString &oldName, const UnicodeString &newName);
// Deletes a file (not a folder), looked up as above. False on failure.
bool DeleteFile(const UnicodeString &fileName);
// Creates one folder; false when it cannot (its parent missing, or it exists).
bool CreateDir(const UnicodeString &directory);
// Creates a folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const UnicodeString &directory);

// The system's text for an errno value met while opening or creating fileName, in the words
// a Russian Windows uses for the common cases ("Не удается найти указанный файл", "Системе не
// удается найти указанный путь", "Отказано в доступе", "Файл существует", "Недостаточно места
// на диске"); ENODEV and ENXIO (a device or FIFO where a file was expected) give "Это не файл, а
// устройство или канал"; other values give the C library's text.
UnicodeString FileErrorMessage(int errorCode, const UnicodeString &fileName);

} // namespace rtl
