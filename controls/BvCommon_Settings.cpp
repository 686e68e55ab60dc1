// The settings store over an INI file or a registry key, and the frame controller.
#include "controls/BvCommon_Settings.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Property.h"
#include "platform/rtl/SpecialFolders.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Application.h"

#include <algorithm>

namespace controls {

namespace {

struct TProgram {
    bool overridden = false;
    rtl::UnicodeString exeName, title;
};

TProgram &ProgramOverride() {
    static TProgram p;
    return p;
}

rtl::UnicodeString ExeName() {
    return ProgramOverride().overridden ? ProgramOverride().exeName : ui::Application->GetExeName();
}

rtl::UnicodeString AppTitle() {
    return ProgramOverride().overridden ? ProgramOverride().title : ui::Application->GetTitle();
}

uint32_t AccessRights(TBvRegAccess access) {
    static const uint32_t rights[] = {
        1, 2, 4, 8, 16, 32, rtl::KEY_READ, rtl::KEY_WRITE, rtl::KEY_EXECUTE, rtl::KEY_ALL_ACCESS};
    uint32_t r = 0;
    for (int i = 0; i < 10; ++i) {
        r |= access.Contains(TBvRegAccessItem(i)) ? rights[i] : 0;
    }
    return r;
}

int SpecialFolderId(TBvSpecialFolder f) {
    static const int ids[] = {0, rtl::CSIDL_APPDATA, rtl::CSIDL_LOCAL_APPDATA, rtl::CSIDL_PERSONAL,
                              rtl::CSIDL_COMMON_APPDATA};
    return ids[f];
}

// The special folder with subPath appended and created, with a trailing separator; "" when
// the folder cannot be found.
rtl::UnicodeString FindSpecialFolder(TBvSpecialFolder f, const rtl::UnicodeString &subPath) {
    rtl::UnicodeString folder;
    if (!rtl::GetSpecialFolderPath(SpecialFolderId(f), folder, false) || folder.empty()) {
        return {};
    }
    folder = rtl::IncludeTrailingPathDelimiter(folder) + rtl::ToPlatformPath(subPath);
    rtl::ForceDirectories(folder);
    return rtl::IncludeTrailingPathDelimiter(folder);
}

rtl::TEncoding EncodingOf(TBvIniFileEncoding e) {
    return e == feUTF8      ? rtl::TEncoding::UTF8()
           : e == feUnicode ? rtl::TEncoding::Unicode()
                            : rtl::TEncoding::Default();
}

} // namespace

// ---- TBvRegIniFile ----

TBvRegIniFile::TBvRegIniFile(ui::TComponent *owner) : ui::TComponent(owner) {}

TBvRegIniFile::~TBvRegIniFile() {
    for (TBvFrameController *c : FUsers) {
        c->FRegIniFile = nullptr;
    }
    if (!FAutoUpdateIniFile && FIni) {
        try {
            FIni->UpdateFile();
        } catch (const std::exception &) {
            // A destructor cannot report; the caller chose deferred writing.
        }
    }
}

void TBvRegIniFile::SetProgramForTesting(const rtl::UnicodeString &exeName,
                                         const rtl::UnicodeString &title) {
    ProgramOverride() = {!exeName.empty(), exeName, title};
}

void TBvRegIniFile::SetPathType(TBvPathType v) {
    rtl::SetProperty(FPathType, v, [this] { Changed(); });
}

void TBvRegIniFile::SetRegKey(TBvRegKey v) {
    rtl::SetProperty(FRegKey, v, [this] { Changed(); });
}

void TBvRegIniFile::SetRegAccess(TBvRegAccess v) {
    rtl::SetProperty(FRegAccess, v, [this] { Changed(); });
}

void TBvRegIniFile::SetSpecialFolder(TBvSpecialFolder v) {
    rtl::SetProperty(FSpecialFolder, v, [this] { Changed(); });
}

void TBvRegIniFile::SetFileEncoding(TBvIniFileEncoding v) {
    rtl::SetProperty(FFileEncoding, v, [this] { Changed(); });
}

void TBvRegIniFile::SetPath(const rtl::UnicodeString &v) {
    rtl::SetProperty(FPath, v, [this] { Changed(); });
}

void TBvRegIniFile::PrepareIniPath(rtl::UnicodeString &p) const {
    if (FSpecialFolder != sfNone) {
        const rtl::UnicodeString folder =
            FindSpecialFolder(FSpecialFolder, rtl::ExtractFilePath(p));
        if (!folder.empty()) {
            const rtl::UnicodeString name = rtl::ExtractFileName(p.empty() ? ExeName() : p);
            p = folder + rtl::ChangeFileExt(name, u".ini");
        }
    }
    if (p.empty()) {
        p = rtl::ChangeFileExt(ExeName(), u".ini");
    } else if (rtl::ExtractFilePath(p).empty()) {
        p = rtl::ExtractFilePath(ExeName()) + rtl::ChangeFileExt(p, u".ini");
    }
}

rtl::TCustomIniFile &TBvRegIniFile::Storage() {
    if (FRefreshStorage) {
        FIni.reset();
        FReg.reset();
        rtl::UnicodeString p = FPath;
        if (FPathType == ptIniFile) {
            PrepareIniPath(p);
            FIni = std::make_unique<rtl::TMemIniFile>(p, EncodingOf(FFileEncoding));
        } else {
            if (p.empty()) {
                const rtl::UnicodeString title = AppTitle();
                p = u"\\Software\\Temp\\" +
                    (title.empty() ? rtl::ChangeFileExt(rtl::ExtractFileName(ExeName()), u"")
                                   : title);
            }
            FReg = std::make_unique<rtl::TRegistryIniFile>(p, AccessRights(FRegAccess),
                                                           rtl::HKEY_CLASSES_ROOT + FRegKey);
        }
        FPath = p;
        FRefreshStorage = false;
    }
    if (FIni) {
        return *FIni;
    }
    return *FReg;
}

void TBvRegIniFile::AfterWrite() {
    if (FPathType == ptIniFile && FAutoUpdateIniFile) {
        UpdateIniFile();
    }
}

void TBvRegIniFile::UpdateIniFile() {
    Storage();
    if (FIni) {
        FIni->SetEncoding(EncodingOf(FFileEncoding));
        FIni->UpdateFile();
    }
}

bool TBvRegIniFile::SectionExists(const rtl::UnicodeString &s) {
    return Storage().SectionExists(s);
}
bool TBvRegIniFile::ValueExists(const rtl::UnicodeString &s, const rtl::UnicodeString &n) {
    return Storage().ValueExists(s, n);
}

bool TBvRegIniFile::ReadBool(const rtl::UnicodeString &s, const rtl::UnicodeString &n, bool def) {
    return Storage().ReadBool(s, n, def);
}
void TBvRegIniFile::WriteBool(const rtl::UnicodeString &s, const rtl::UnicodeString &n, bool v) {
    Storage().WriteBool(s, n, v);
    AfterWrite();
}

int32_t TBvRegIniFile::ReadInteger(const rtl::UnicodeString &s, const rtl::UnicodeString &n,
                                   int32_t def) {
    return Storage().ReadInteger(s, n, def);
}
void TBvRegIniFile::WriteInteger(const rtl::UnicodeString &s, const rtl::UnicodeString &n,
                                 int32_t v) {
    Storage().WriteInteger(s, n, v);
    AfterWrite();
}

double TBvRegIniFile::ReadFloat(const rtl::UnicodeString &s, const rtl::UnicodeString &n,
                                double def) {
    return Storage().ReadFloat(s, n, def);
}
void TBvRegIniFile::WriteFloat(const rtl::UnicodeString &s, const rtl::UnicodeString &n, double v) {
    Storage().WriteFloat(s, n, v);
    AfterWrite();
}

rtl::TDateTime TBvRegIniFile::ReadDate(const rtl::UnicodeString &s, const rtl::UnicodeString &n,
                                       rtl::TDateTime def) {
    return Storage().ReadDate(s, n, def);
}
void TBvRegIniFile::WriteDate(const rtl::UnicodeString &s, const rtl::UnicodeString &n,
                              rtl::TDateTime v) {
    Storage().WriteDate(s, n, v);
    AfterWrite();
}

rtl::TDateTime TBvRegIniFile::ReadTime(const rtl::UnicodeString &s, const rtl::UnicodeString &n,
                                       rtl::TDateTime def) {
    return Storage().ReadTime(s, n, def);
}
void TBvRegIniFile::WriteTime(const rtl::UnicodeString &s, const rtl::UnicodeString &n,
                              rtl::TDateTime v) {
    Storage().WriteTime(s, n, v);
    AfterWrite();
}

rtl::TDateTime TBvRegIniFile::ReadDateTime(const rtl::UnicodeString &s, const rtl::UnicodeString &n,
                                           rtl::TDateTime def) {
    return Storage().ReadDateTime(s, n, def);
}
void TBvRegIniFile::WriteDateTime(const rtl::UnicodeString &s, const rtl::UnicodeString &n,
                                  rtl::TDateTime v) {
    Storage().WriteDateTime(s, n, v);
    AfterWrite();
}

rtl::UnicodeString TBvRegIniFile::ReadString(const rtl::UnicodeString &s,
                                             const rtl::UnicodeString &n,
                                             const rtl::UnicodeString &def) {
    return Storage().ReadString(s, n, def);
}

void TBvRegIniFile::WriteString(const rtl::UnicodeString &s, const rtl::UnicodeString &n,
                                const rtl::UnicodeString &v) {
    Storage().WriteString(s, n, v);
    AfterWrite();
}

int32_t TBvRegIniFile::ReadBinaryStream(const rtl::UnicodeString &s, const rtl::UnicodeString &n,
                                        rtl::TStream &stream) {
    return Storage().ReadBinaryStream(s, n, stream);
}

void TBvRegIniFile::WriteBinaryStream(const rtl::UnicodeString &s, const rtl::UnicodeString &n,
                                      rtl::TStream &stream) {
    Storage().WriteBinaryStream(s, n, stream);
    AfterWrite();
}

void TBvRegIniFile::ReadSection(const rtl::UnicodeString &s, rtl::TStrings &strings) {
    Storage().ReadSection(s, strings);
}

void TBvRegIniFile::ReadSections(rtl::TStrings &strings) {
    Storage().ReadSections(strings);
}

void TBvRegIniFile::ReadSectionValues(const rtl::UnicodeString &section, rtl::TStrings &strings) {
    Storage();
    if (FIni) {
        FIni->ReadSectionValues(section, strings);
        return;
    }
    strings.Clear();
    rtl::TRegistry reg(AccessRights(FRegAccess));
    reg.SetRootKey(rtl::HKEY_CLASSES_ROOT + FRegKey);
    const bool slash = !FPath.empty() && FPath.back() == u'\\';
    const rtl::UnicodeString key = FPath + (slash ? u"" : u"\\") + section;
    if (!reg.KeyExists(key) || !reg.OpenKey(key, false)) {
        return;
    }
    rtl::TStringList names;
    names.SetSorted(true);
    reg.GetValueNames(names);
    for (int32_t i = 0; i < names.GetCount(); ++i) {
        const rtl::UnicodeString &name = names[i];
        const rtl::TRegDataType type = reg.GetDataType(name);
        rtl::UnicodeString value = u"Unknown Data Type";
        if (name.empty()) {
            strings.Add(u"Default=" + (type == rtl::rdString ? reg.ReadString(name) : value));
            continue;
        }
        if (type == rtl::rdString || type == rtl::rdExpandString) {
            value = reg.ReadString(name);
        } else if (type == rtl::rdInteger) {
            value = rtl::IntToStr(rtl::Integer(reg.ReadInteger(name)));
        } else if (type == rtl::rdBinary) {
            rtl::TBytes bytes(size_t(std::max(reg.GetDataSize(name), 0)));
            reg.ReadBinaryData(name, bytes.data(), int32_t(bytes.size()));
            value.clear();
            for (rtl::Byte b : bytes) {
                value += rtl::IntToHex(rtl::Integer(b), 2) + u" ";
            }
        }
        strings.Add(name + u"=" + value);
    }
    reg.CloseKey();
}

void TBvRegIniFile::EraseSection(const rtl::UnicodeString &s) {
    Storage().EraseSection(s);
    AfterWrite();
}

void TBvRegIniFile::DeleteKey(const rtl::UnicodeString &s, const rtl::UnicodeString &n) {
    Storage().DeleteKey(s, n);
    AfterWrite();
}

} // namespace controls
