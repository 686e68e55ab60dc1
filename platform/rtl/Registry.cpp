// The emulated registry: keys and typed values kept in one INI-style file of the user.
#include "platform/rtl/Registry.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace rtl {

namespace {

struct TStore {
    UnicodeString overrideName;
    UnicodeString loadedName;
    std::unique_ptr<TMemIniFile> ini;
};

TStore &Store() {
    static TStore store;
    return store;
}

UnicodeString EnvFolder(const char *name) {
    const char *v = std::getenv(name);
    return v && *v ? Utf8ToUtf16(v) : UnicodeString();
}

// The store, loaded on first use and again when its file name changes.
TMemIniFile &StoreIni() {
    TStore &s = Store();
    const UnicodeString name = RegistryStoreFileName();
    if (!s.ini || s.loadedName != name) {
        s.ini.reset();
        s.ini = std::make_unique<TMemIniFile>(name, TEncoding::UTF8());
        s.ini->SetEncoding(TEncoding::UTF8());
        s.loadedName = name;
    }
    return *s.ini;
}

void SaveStore() {
    TMemIniFile &ini = StoreIni();
    ForceDirectories(ExtractFilePath(ini.GetFileName()));
    ini.UpdateFile();
}

UnicodeString RootName(HKEY key) {
    static const char *const names[] = {
        "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
    const uint32_t i = key - HKEY_CLASSES_ROOT;
    return i < 7 ? U(names[i]) : u"HKEY_" + IntToHex(Integer(key), 8);
}

// A key path with single "\" separators and none at either end.
UnicodeString NormalizePath(const UnicodeString &path) {
    UnicodeString out;
    for (char16_t c : path) {
        if (c == u'\\' && (out.empty() || out.back() == u'\\')) {
            continue;
        }
        out += c;
    }
    while (!out.empty() && out.back() == u'\\') {
        out.pop_back();
    }
    return out;
}

UnicodeString ValueKey(const UnicodeString &name) {
    return name.empty() ? u"@" : name;
}

TRegDataType DecodeType(const UnicodeString &encoded, UnicodeString &data) {
    static const struct {
        const char16_t *prefix;
        TRegDataType type;
    } forms[] = {{u"sz:", rdString},
                 {u"expand_sz:", rdExpandString},
                 {u"dword:", rdInteger},
                 {u"hex:", rdBinary}};
    for (const auto &f : forms) {
        const size_t n = std::char_traits<char16_t>::length(f.prefix);
        if (encoded.compare(0, n, f.prefix) == 0) {
            data = encoded.substr(n);
            return f.type;
        }
    }
    data = encoded;
    return rdUnknown;
}

[[noreturn]] void InvalidType(const UnicodeString &name) {
    throw ERegistryException(Format(U("Invalid data type for '%s'"), {name}));
}

bool StartsWithKey(const UnicodeString &section, const UnicodeString &key) {
    return section.size() > key.size() && section[key.size()] == u'\\' &&
           SameIniName(section.substr(0, key.size()), key);
}

} // namespace

UnicodeString RegistryStoreFileName() {
    if (!Store().overrideName.empty()) {
        return Store().overrideName;
    }
    UnicodeString folder = EnvFolder("XDG_CONFIG_HOME");
    if (folder.empty()) {
        folder = IncludeTrailingPathDelimiter(EnvFolder("HOME")) + u".config";
    }
    return IncludeTrailingPathDelimiter(folder) + u"ecg-workbench/registry.ini";
}

void SetRegistryStoreFileForTesting(const UnicodeString &fileName) {
    Store().overrideName = fileName;
}

// ---- TRegistry ----

void TRegistry::SetRootKey(HKEY key) {
    CloseKey();
    FRootKey = key;
}

UnicodeString TRegistry::FullKey(const UnicodeString &key) const {
    const bool absolute = !key.empty() && key[0] == u'\\';
    UnicodeString path = absolute || !FOpen ? key : FCurrentPath + u"\\" + key;
    path = NormalizePath(path);
    return path.empty() ? RootName(FRootKey) : RootName(FRootKey) + u"\\" + path;
}

bool TRegistry::KeyExists(const UnicodeString &key) {
    const UnicodeString full = FullKey(key);
    TMemIniFile &ini = StoreIni();
    if (ini.SectionExists(full)) {
        return true;
    }
    TStringList sections;
    ini.ReadSections(sections);
    for (int32_t i = 0; i < sections.GetCount(); ++i) {
        if (StartsWithKey(sections[i], full)) {
            return true;
        }
    }
    return false;
}

bool TRegistry::CreateKey(const UnicodeString &key) {
    const UnicodeString full = FullKey(key);
    TMemIniFile &ini = StoreIni();
    if (!ini.SectionExists(full)) {
        // An empty section stands for a key without values.
        TStringList lines;
        ini.GetStrings(lines);
        lines.Add(u"[" + full + u"]");
        ini.SetStrings(lines);
        SaveStore();
    }
    return true;
}

bool TRegistry::OpenKey(const UnicodeString &key, bool canCreate) {
    if (!KeyExists(key) && !(canCreate && CreateKey(key))) {
        return false;
    }
    const UnicodeString full = FullKey(key);
    const UnicodeString root = RootName(FRootKey);
    FCurrentPath = full.size() > root.size() ? full.substr(root.size() + 1) : UnicodeString();
    FOpen = true;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const UnicodeString &key) {
    return OpenKey(key, false);
}

void TRegistry::CloseKey() {
    FOpen = false;
    FCurrentPath.clear();
}

bool TRegistry::DeleteKey(const UnicodeString &key) {
    if (!KeyExists(key)) {
        return false;
    }
    const UnicodeString full = FullKey(key);
    TMemIniFile &ini = StoreIni();
    TStringList sections;
    ini.ReadSections(sections);
    for (int32_t i = 0; i < sections.GetCount(); ++i) {
        if (SameIniName(sections[i], full) || StartsWithKey(sections[i], full)) {
            ini.EraseSection(sections[i]);
        }
    }
    SaveStore();
    return true;
}

bool TRegistry::ValueExists(const UnicodeString &name) {
    return FOpen && StoreIni().ValueExists(FullKey(u""), ValueKey(name));
}

bool TRegistry::DeleteValue(const UnicodeString &name) {
    if (!ValueExists(name)) {
        return false;
    }
    StoreIni().DeleteKey(FullKey(u""), ValueKey(name));
    SaveStore();
    return true;
}

TRegDataType TRegistry::GetDataType(const UnicodeString &name) {
    if (!ValueExists(name)) {
        return rdUnknown;
    }
    UnicodeString data;
    return DecodeType(StoreIni().ReadString(FullKey(u""), ValueKey(name), u""), data);
}

int32_t TRegistry::GetDataSize(const UnicodeString &name) {
    if (!ValueExists(name)) {
        return -1;
    }
    UnicodeString data;
    switch (DecodeType(StoreIni().ReadString(FullKey(u""), ValueKey(name), u""), data)) {
    case rdString:
    case rdExpandString:
        return int32_t((data.size() + 1) * 2);
    case rdInteger:
        return 4;
    case rdBinary:
        return int32_t(data.size() / 2);
    default:
        return int32_t(data.size());
    }
}

void TRegistry::GetValueNames(TStrings &strings) {
    strings.Clear();
    if (!FOpen) {
        return;
    }
    TStringList names;
    StoreIni().ReadSection(FullKey(u""), names);
    for (int32_t i = 0; i < names.GetCount(); ++i) {
        strings.Add(names[i] == u"@" ? UnicodeString() : names[i]);
    }
}

void TRegistry::GetKeyNames(TStrings &strings) {
    strings.Clear();
    const UnicodeString full = FullKey(u"");
    TStringList sections;
    StoreIni().ReadSections(sections);
    for (int32_t i = 0; i < sections.GetCount(); ++i) {
        if (!StartsWithKey(sections[i], full)) {
            continue;
        }
        UnicodeString rest = sections[i].substr(full.size() + 1);
        rest = rest.substr(0, rest.find(u'\\'));
        bool known = false;
        for (int32_t j = 0; j < strings.GetCount() && !known; ++j) {
            known = SameIniName(strings[j], rest);
        }
        if (!known) {
            strings.Add(rest);
        }
    }
}

UnicodeString TRegistry::RequireValue(const UnicodeString &name, TRegDataType &type) {
    if (!ValueExists(name)) {
        InvalidType(name);
    }
    UnicodeString data;
    type = DecodeType(StoreIni().ReadString(FullKey(u""), ValueKey(name), u""), data);
    return data;
}

void TRegistry::WriteValue(const UnicodeString &name, const UnicodeString &encoded) {
    if (!FOpen) {
        throw ERegistryException(Format(U("Failed to set data for '%s'"), {name}));
    }
    StoreIni().WriteString(FullKey(u""), ValueKey(name), encoded);
    SaveStore();
}

UnicodeString TRegistry::ReadString(const UnicodeString &name) {
    if (!ValueExists(name)) {
        return u"";
    }
    TRegDataType type;
    UnicodeString data = RequireValue(name, type);
    if (type != rdString && type != rdExpandString) {
        InvalidType(name);
    }
    return data;
}

void TRegistry::WriteString(const UnicodeString &name, const UnicodeString &value) {
    WriteValue(name, u"sz:" + value);
}

void TRegistry::WriteExpandString(const UnicodeString &name, const UnicodeString &value) {
    WriteValue(name, u"expand_sz:" + value);
}

int32_t TRegistry::ReadInteger(const UnicodeString &name) {
    TRegDataType type;
    const UnicodeString data = RequireValue(name, type);
    Int64 v = 0;
    if (type != rdInteger || !TryStrToInt64(data, v) || v < INT32_MIN || v > UINT32_MAX) {
        InvalidType(name);
    }
    return int32_t(uint32_t(v));
}

void TRegistry::WriteInteger(const UnicodeString &name, int32_t value) {
    WriteValue(name, u"dword:" + IntToStr(Integer(value)));
}

int32_t TRegistry::ReadBinaryData(const UnicodeString &name, void *buffer, int32_t bufSize) {
    TRegDataType type;
    const UnicodeString data = RequireValue(name, type);
    TBytes bytes;
    if (type != rdBinary || !HexToBytes(data, bytes)) {
        InvalidType(name);
    }
    const int32_t n = std::min<int32_t>(std::max(bufSize, 0), int32_t(bytes.size()));
    if (n > 0) {
        std::memcpy(buffer, bytes.data(), size_t(n));
    }
    return n;
}

void TRegistry::WriteBinaryData(const UnicodeString &name, const void *buffer, int32_t bufSize) {
    const auto *p = static_cast<const Byte *>(buffer);
    WriteValue(name, u"hex:" + BytesToHex(TBytes(p, p + std::max(bufSize, 0))));
}

double TRegistry::ReadFloat(const UnicodeString &name) {
    double v = 0;
    if (GetDataSize(name) != int32_t(sizeof v) || ReadBinaryData(name, &v, sizeof v) != sizeof v) {
        InvalidType(name);
    }
    return v;
}

void TRegistry::WriteFloat(const UnicodeString &name, double value) {
    WriteBinaryData(name, &value, sizeof value);
}

} // namespace rtl
