// TRegistryIniFile: a registry key read and written through the INI file interface.
#include "platform/rtl/Registry.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/StrUtils.h"

namespace rtl {

TRegistryIniFile::TRegistryIniFile(const UnicodeString &fileName, uint32_t access, HKEY root)
    : TCustomIniFile(fileName), FReg(access) {
    FReg.SetRootKey(root);
    FReg.OpenKey(fileName, true);
}

bool TRegistryIniFile::OpenKey(HKEY root, const UnicodeString &key) {
    FReg.SetRootKey(root);
    FFileName = key;
    return FReg.OpenKey(key, true);
}

bool TRegistryIniFile::OpenSection(TRegistry &reg, const UnicodeString &section, bool create) {
    reg.SetRootKey(FReg.GetRootKey());
    const UnicodeString base = u"\\" + FReg.GetCurrentPath();
    const UnicodeString key = section.empty() ? base : base + u"\\" + section;
    return create ? reg.OpenKey(key, true) : (reg.KeyExists(key) && reg.OpenKey(key, false));
}

UnicodeString TRegistryIniFile::ReadString(const UnicodeString &section, const UnicodeString &name,
                                           const UnicodeString &def) {
    TRegistry reg(FReg.GetAccess());
    if (!OpenSection(reg, section, false) || !reg.ValueExists(name)) {
        return def;
    }
    const TRegDataType t = reg.GetDataType(name);
    return t == rdString || t == rdExpandString ? reg.ReadString(name) : def;
}

void TRegistryIniFile::WriteString(const UnicodeString &section, const UnicodeString &name,
                                   const UnicodeString &value) {
    TRegistry reg(FReg.GetAccess());
    if (OpenSection(reg, section, true)) {
        reg.WriteString(name, value);
    }
}

int32_t TRegistryIniFile::ReadInteger(const UnicodeString &section, const UnicodeString &name,
                                      int32_t def) {
    TRegistry reg(FReg.GetAccess());
    if (!OpenSection(reg, section, false) || !reg.ValueExists(name)) {
        return def;
    }
    switch (reg.GetDataType(name)) {
    case rdInteger:
        return reg.ReadInteger(name);
    case rdString:
    case rdExpandString:
        return StrToIntDef(reg.ReadString(name), def);
    default:
        return def;
    }
}

void TRegistryIniFile::WriteInteger(const UnicodeString &section, const UnicodeString &name,
                                    int32_t value) {
    TRegistry reg(FReg.GetAccess());
    if (OpenSection(reg, section, true)) {
        reg.WriteInteger(name, value);
    }
}

bool TRegistryIniFile::ReadBool(const UnicodeString &section, const UnicodeString &name, bool def) {
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

void TRegistryIniFile::WriteBool(const UnicodeString &section, const UnicodeString &name,
                                 bool value) {
    WriteInteger(section, name, value ? 1 : 0);
}

double TRegistryIniFile::ReadFloat(const UnicodeString &section, const UnicodeString &name,
                                   double def) {
    TRegistry reg(FReg.GetAccess());
    if (!OpenSection(reg, section, false) || reg.GetDataType(name) != rdBinary ||
        reg.GetDataSize(name) != int32_t(sizeof(double))) {
        return def;
    }
    return reg.ReadFloat(name);
}

void TRegistryIniFile::WriteFloat(const UnicodeString &section, const UnicodeString &name,
                                  double value) {
    TRegistry reg(FReg.GetAccess());
    if (OpenSection(reg, section, true)) {
        reg.WriteFloat(name, value);
    }
}

TDateTime TRegistryIniFile::ReadDate(const UnicodeString &section, const UnicodeString &name,
                                     TDateTime def) {
    return ReadFloat(section, name, def);
}

void TRegistryIniFile::WriteDate(const UnicodeString &section, const UnicodeString &name,
                                 TDateTime value) {
    WriteFloat(section, name, value);
}

TDateTime TRegistryIniFile::ReadTime(const UnicodeString &section, const UnicodeString &name,
                                     TDateTime def) {
    return ReadFloat(section, name, def);
}

void TRegistryIniFile::WriteTime(const UnicodeString &section, const UnicodeString &name,
                                 TDateTime value) {
    WriteFloat(section, name, value);
}

TDateTime TRegistryIniFile::ReadDateTime(const UnicodeString &section, const UnicodeString &name,
                                         TDateTime def) {
    return ReadFloat(section, name, def);
}

void TRegistryIniFile::WriteDateTime(const UnicodeString &section, const UnicodeString &name,
                                     TDateTime value) {
    WriteFloat(section, name, value);
}

int32_t TRegistryIniFile::ReadBinaryStream(const UnicodeString &section, const UnicodeString &name,
                                           TStream &value) {
    TRegistry reg(FReg.GetAccess());
    if (!OpenSection(reg, section, false) || reg.GetDataType(name) != rdBinary) {
        return 0;
    }
    TBytes bytes(size_t(std::max(reg.GetDataSize(name), 0)));
    const int32_t n = reg.ReadBinaryData(name, bytes.data(), int32_t(bytes.size()));
    if (n > 0) {
        value.WriteBuffer(bytes.data(), n);
    }
    return n;
}

void TRegistryIniFile::WriteBinaryStream(const UnicodeString &section, const UnicodeString &name,
                                         TStream &value) {
    const int64_t count = value.GetSize() - value.GetPosition();
    TBytes bytes(size_t(std::max<int64_t>(count, 0)));
    if (!bytes.empty()) {
        value.ReadBuffer(bytes.data(), int32_t(bytes.size()));
    }
    TRegistry reg(FReg.GetAccess());
    if (OpenSection(reg, section, true)) {
        reg.WriteBinaryData(name, bytes.data(), int32_t(bytes.size()));
    }
}

bool TRegistryIniFile::SectionExists(const UnicodeString &section) {
    TRegistry reg(FReg.GetAccess());
    return OpenSection(reg, section, false);
}

bool TRegistryIniFile::ValueExists(const UnicodeString &section, const UnicodeString &name) {
    TRegistry reg(FReg.GetAccess());
    return OpenSection(reg, section, false) && reg.ValueExists(name);
}

void TRegistryIniFile::ReadSection(const UnicodeString &section, TStrings &strings) {
    strings.Clear();
    TRegistry reg(FReg.GetAccess());
    if (OpenSection(reg, section, false)) {
        reg.GetValueNames(strings);
    }
}

void TRegistryIniFile::ReadSections(TStrings &strings) {
    FReg.GetKeyNames(strings);
}

void TRegistryIniFile::ReadSectionValues(const UnicodeString &section, TStrings &strings) {
    strings.Clear();
    TRegistry reg(FReg.GetAccess());
    if (!OpenSection(reg, section, false)) {
        return;
    }
    TStringList names;
    reg.GetValueNames(names);
    for (int32_t i = 0; i < names.GetCount(); ++i) {
        strings.Add(names[i] + u"=" + ReadString(section, names[i], u""));
    }
}

void TRegistryIniFile::EraseSection(const UnicodeString &section) {
    TRegistry reg(FReg.GetAccess());
    reg.SetRootKey(FReg.GetRootKey());
    reg.DeleteKey(u"\\" + FReg.GetCurrentPath() + u"\\" + section);
}

void TRegistryIniFile::DeleteKey(const UnicodeString &section, const UnicodeString &name) {
    TRegistry reg(FReg.GetAccess());
    if (OpenSection(reg, section, false)) {
        reg.DeleteValue(name);
    }
}

} // namespace rtl
