// The system registry, emulated by one INI-style store file of the user, and the registry key
// presented as an INI file (sections are sub-keys, names are values).
#pragma once

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/System.h"

#include <cstdint>

namespace rtl {

using HKEY = uint32_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;
constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004u;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

// Access rights (accepted and kept; the store itself grants everything to the user).
constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr uint32_t KEY_SET_VALUE = 0x0002;
constexpr uint32_t KEY_CREATE_SUB_KEY = 0x0004;
constexpr uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr uint32_t KEY_NOTIFY = 0x0010;
constexpr uint32_t KEY_CREATE_LINK = 0x0020;
constexpr uint32_t KEY_READ = 0x20019;
constexpr uint32_t KEY_WRITE = 0x20006;
constexpr uint32_t KEY_EXECUTE = 0x20019;
constexpr uint32_t KEY_ALL_ACCESS = 0xF003F;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// The store file: "registry.ini" in the folder "ecg-workbench" of $XDG_CONFIG_HOME, or of
// ~/.config when that is unset. Each key is a section named by its root and path
// ("HKEY_CURRENT_USER\Software\Temp"); each value a line "name=type:data" with type "sz",
// "expand_sz", "dword" (decimal) or "hex" (two digits a byte), the default value named "@".
// Every change is written to the file at once. Store files edited by hand are read with the
// INI reader's checks; a value line of an unknown form reads as rdUnknown.
UnicodeString RegistryStoreFileName();
// Redirects the store to another file (tests); an empty name restores the default.
void SetRegistryStoreFileForTesting(const UnicodeString &fileName);

// Key paths use "\" between keys; a path starting with "\" is taken from the root, any other
// from the open key. Names of keys and values compare without regard to case. Reads of a
// missing value, or of one of another type, raise ERegistryException with the class
// library's words ("Invalid data type for '%s'"); other failures return false.
class TRegistry {
public:
    explicit TRegistry(uint32_t access = KEY_ALL_ACCESS) : FAccess(access) {}
    ~TRegistry() = default;

    HKEY GetRootKey() const { return FRootKey; }
    void SetRootKey(HKEY key);
    uint32_t GetAccess() const { return FAccess; }
    void SetAccess(uint32_t access) { FAccess = access; }
    // The open key's path below the root, without leading "\" ("" when none is open).
    const UnicodeString &GetCurrentPath() const { return FCurrentPath; }
    bool HasCurrentKey() const { return FOpen; }

    bool OpenKey(const UnicodeString &key, bool canCreate);
    bool OpenKeyReadOnly(const UnicodeString &key);
    void CloseKey();
    bool KeyExists(const UnicodeString &key);
    bool CreateKey(const UnicodeString &key);
    // Deletes the key with its sub-keys.
    bool DeleteKey(const UnicodeString &key);

    bool ValueExists(const UnicodeString &name);
    bool DeleteValue(const UnicodeString &name);
    TRegDataType GetDataType(const UnicodeString &name);
    // Bytes of the value's data (strings as UTF-16 with the terminating zero); -1 when missing.
    int32_t GetDataSize(const UnicodeString &name);
    // The names of the open key's values ("" for the default value) and of its sub-keys.
    void GetValueNames(TStrings &strings);
    void GetKeyNames(TStrings &strings);

    UnicodeString ReadString(const UnicodeString &name);
    void WriteString(const UnicodeString &name, const UnicodeString &value);
    void WriteExpandString(const UnicodeString &name, const UnicodeString &value);
    int32_t ReadInteger(const UnicodeString &name);
    void WriteInteger(const UnicodeString &name, int32_t value);
    bool ReadBool(const UnicodeString &name) { return ReadInteger(name) != 0; }
    void WriteBool(const UnicodeString &name, bool value) { WriteInteger(name, value ? 1 : 0); }
    // Copies at most bufSize bytes of a binary value into buffer and returns their number.
    int32_t ReadBinaryData(const UnicodeString &name, void *buffer, int32_t bufSize);
    void WriteBinaryData(const UnicodeString &name, const void *buffer, int32_t bufSize);
    double ReadFloat(const UnicodeString &name);
    void WriteFloat(const UnicodeString &name, double value);

private:
    UnicodeString FullKey(const UnicodeString &key) const;
    UnicodeString RequireValue(const UnicodeString &name, TRegDataType &type);
    void WriteValue(const UnicodeString &name, const UnicodeString &encoded);

    HKEY FRootKey = HKEY_CURRENT_USER;
    uint32_t FAccess;
    UnicodeString FCurrentPath;
    bool FOpen = false;
};

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// A registry key as an INI file: the constructor opens (creating it when missing) the key
// fileName below the root (OpenKey picks another later). Sections are sub-keys
// of the key; strings are string values, integers and Booleans DWORD values, floats and dates
// binary doubles, binary streams binary values. Reads of missing values give the default;
// reads of a value of another type give the default too.
class TRegistryIniFile : public TCustomIniFile {
public:
    explicit TRegistryIniFile(const UnicodeString &fileName, uint32_t access = KEY_ALL_ACCESS,
                              HKEY root = HKEY_CURRENT_USER);

    TRegistry &GetRegIniFile() { return FReg; }
    // Re-roots the wrapper and opens key (created when missing); false when it cannot.
    bool OpenKey(HKEY root, const UnicodeString &key);

    UnicodeString ReadString(const UnicodeString &section, const UnicodeString &name,
                             const UnicodeString &def) override;
    void WriteString(const UnicodeString &section, const UnicodeString &name,
                     const UnicodeString &value) override;
    int32_t ReadInteger(const UnicodeString &section, const UnicodeString &name,
                        int32_t def) override;
    void WriteInteger(const UnicodeString &section, const UnicodeString &name,
                      int32_t value) override;
    bool ReadBool(const UnicodeString &section, const UnicodeString &name, bool def) override;
    void WriteBool(const UnicodeString &section, const UnicodeString &name, bool value) override;
    double ReadFloat(const UnicodeString &section, const UnicodeString &name, double def) override;
    void WriteFloat(const UnicodeString &section, const UnicodeString &name, double value) override;
    TDateTime ReadDate(const UnicodeString &section, const UnicodeString &name,
                       TDateTime def) override;
    void WriteDate(const UnicodeString &section, const UnicodeString &name,
                   TDateTime value) override;
    TDateTime ReadTime(const UnicodeString &section, const UnicodeString &name,
                       TDateTime def) override;
    void WriteTime(const UnicodeString &section, const UnicodeString &name,
                   TDateTime value) override;
    TDateTime ReadDateTime(const UnicodeString &section, const UnicodeString &name,
                           TDateTime def) override;
    void WriteDateTime(const UnicodeString &section, const UnicodeString &name,
                       TDateTime value) override;
    int32_t ReadBinaryStream(const UnicodeString &section, const UnicodeString &name,
                             TStream &value) override;
    void WriteBinaryStream(const UnicodeString &section, const UnicodeString &name,
                           TStream &value) override;

    bool SectionExists(const UnicodeString &section) override;
    bool ValueExists(const UnicodeString &section, const UnicodeString &name) override;
    void ReadSection(const UnicodeString &section, TStrings &strings) override;
    void ReadSections(TStrings &strings) override;
    void ReadSectionValues(const UnicodeString &section, TStrings &strings) override;
    void EraseSection(const UnicodeString &section) override;
    void DeleteKey(const UnicodeString &section, const UnicodeString &name) override;
    // The store is written on every change; nothing is pending.
    void UpdateFile() override {}

private:
    // Opens the section's sub-key in a second registry object; false when it is missing.
    bool OpenSection(TRegistry &reg, const UnicodeString &section, bool create);

    TRegistry FReg;
};

} // namespace rtl
