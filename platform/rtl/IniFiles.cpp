// INI files: typed value formats, parsing and writing of INI text.
#include "platform/rtl/IniFiles.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>

namespace rtl {

namespace {

constexpr int64_t MaxIniFileBytes = int64_t(64) << 20;
constexpr size_t MaxIniLineChars = size_t(64) << 10;

[[noreturn]] void IniError(const UnicodeString &text) {
    throw EIniFileException(text);
}

UnicodeString LineError(const char *what, const UnicodeString &source, size_t line) {
    return U(what) + u" (" + source + u", " + U("line ") + IntToStr(Integer(line)) + u")";
}

} // namespace

bool SameIniName(const UnicodeString &a, const UnicodeString &b) {
    const int32_t length = static_cast<int32_t>(a.size());
    if (b.size() != a.size()) {
        return false;
    }
    int32_t i = 0, j = 0;
    while (i < length && j < length) {
        UChar32 ca, cb;
        U16_NEXT(a.data(), i, length, ca);
        U16_NEXT(b.data(), j, length, cb);
        if (ca != cb && u_toupper(ca) != u_toupper(cb)) {
            return false;
        }
    }
    return i == j;
}

size_t TIniNameHash::operator()(const UnicodeString &name) const {
    const int32_t length = static_cast<int32_t>(name.size());
    uint64_t hash = 14695981039346656037ull; // FNV-1a over the upper-case code points
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U16_NEXT(name.data(), i, length, c);
        hash = (hash ^ uint64_t(u_toupper(c))) * 1099511628211ull;
    }
    return size_t(hash);
}

UnicodeString BytesToHex(const TBytes &bytes) {
    static const char16_t digits[] = u"0123456789ABCDEF";
    UnicodeString s;
    s.reserve(bytes.size() * 2);
    for (Byte b : bytes) {
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

bool HexToBytes(const UnicodeString &hex, TBytes &bytes) {
    bytes.clear();
    if (hex.size() % 2 != 0) {
        return false;
    }
    auto nibble = [](char16_t c) -> int {
        if (c >= u'0' && c <= u'9') {
            return c - u'0';
        }
        if (c >= u'A' && c <= u'F') {
            return c - u'A' + 10;
        }
        if (c >= u'a' && c <= u'f') {
            return c - u'a' + 10;
        }
        return -1;
    };
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = nibble(hex[i]), lo = nibble(hex[i + 1]);
        if (hi < 0 || lo < 0) {
            bytes.clear();
            return false;
        }
        bytes.push_back(Byte(hi * 16 + lo));
    }
    return true;
}

// ---- typed values on top of strings ----

bool TCustomIniFile::SectionExists(const UnicodeString &section) {
    TStringList names;
    ReadSection(section, names);
    return names.GetCount() > 0;
}

bool TCustomIniFile::ValueExists(const UnicodeString &section, const UnicodeString &name) {
    TStringList names;
    ReadSection(section, names);
    for (int32_t i = 0; i < names.GetCount(); ++i) {
        if (SameIniName(names[i], name)) {
            return true;
        }
    }
    return false;
}

int32_t TCustomIniFile::ReadInteger(const UnicodeString &section, const UnicodeString &name,
                                    int32_t def) {
    return StrToIntDef(ReadString(section, name, u""), def);
}

void TCustomIniFile::WriteInteger(const UnicodeString &section, const UnicodeString &name,
                                  int32_t value) {
    WriteString(section, name, IntToStr(Integer(value)));
}

bool TCustomIniFile::ReadBool(const UnicodeString &section, const UnicodeString &name, bool def) {
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const UnicodeString &section, const UnicodeString &name,
                               bool value) {
    WriteString(section, name, value ? u"1" : u"0");
}

double TCustomIniFile::ReadFloat(const UnicodeString &section, const UnicodeString &name,
                                 double def) {
    const UnicodeString s = ReadString(section, name, u"");
    double v = def;
    return !s.empty() && TryStrToFloat(s, v) ? v : def;
}

void TCustomIniFile::WriteFloat(const UnicodeString &section, const UnicodeString &name,
                                double value) {
    WriteString(section, name, FloatToStr(value));
}

TDateTime TCustomIniFile::ReadDate(const UnicodeString &section, const UnicodeString &name,
                                   TDateTime def) {
    TDateTime v = def;
    const UnicodeString s = ReadString(section, name, u"");
    return !s.empty() && TryStrToDate(s, v) ? v : def;
}

void TCustomIniFile::WriteDate(const UnicodeString &section, const UnicodeString &name,
                               TDateTime value) {
    WriteString(section, name, DateToStr(value));
}

TDateTime TCustomIniFile::ReadTime(const UnicodeString &section, const UnicodeString &name,
                                   TDateTime def) {
    TDateTime v = def;
    const UnicodeString s = ReadString(section, name, u"");
    return !s.empty() && TryStrToTime(s, v) ? v : def;
}

void TCustomIniFile::WriteTime(const UnicodeString &section, const UnicodeString &name,
                               TDateTime value) {
    WriteString(section, name, TimeToStr(value));
}

TDateTime TCustomIniFile::ReadDateTime(const UnicodeString &section, const UnicodeString &name,
                                       TDateTime def) {
    const UnicodeString s = ReadString(section, name, u"");
    if (s.empty()) {
        return def;
    }
    // "<date> <time>" as DateTimeToStr writes it; a date alone is accepted too.
    const size_t blank = s.find(u' ');
    TDateTime d = 0, t = 0;
    if (blank == UnicodeString::npos) {
        return TryStrToDate(s, d) ? d : def;
    }
    if (!TryStrToDate(s.substr(0, blank), d) || !TryStrToTime(Trim(s.substr(blank + 1)), t)) {
        return def;
    }
    return d < 0 ? d - t : d + t;
}

void TCustomIniFile::WriteDateTime(const UnicodeString &section, const UnicodeString &name,
                                   TDateTime value) {
    WriteString(section, name, DateTimeToStr(value));
}

int32_t TCustomIniFile::ReadBinaryStream(const UnicodeString &section, const UnicodeString &name,
                                         TStream &value) {
    const UnicodeString hex = ReadString(section, name, u"");
    TBytes bytes;
    if (!HexToBytes(hex, bytes)) {
        IniError(U("Invalid binary value \"") + name + U("\" in section [") + section + u"]");
    }
    if (!bytes.empty()) {
        value.WriteBuffer(bytes.data(), int32_t(bytes.size()));
    }
    return int32_t(bytes.size());
}

void TCustomIniFile::WriteBinaryStream(const UnicodeString &section, const UnicodeString &name,
                                       TStream &value) {
    const int64_t count = value.GetSize() - value.GetPosition();
    TBytes bytes(size_t(std::max<int64_t>(count, 0)));
    if (!bytes.empty()) {
        value.ReadBuffer(bytes.data(), int32_t(bytes.size()));
    }
    WriteString(section, name, BytesToHex(bytes));
}

// ---- the in-memory INI file ----

TMemIniFile::TMemIniFile(const UnicodeString &fileName)
    : TMemIniFile(fileName, TEncoding::Default()) {}

TMemIniFile::TMemIniFile(const UnicodeString &fileName, const TEncoding &encoding)
    : TCustomIniFile(fileName), FEncoding(encoding) {
    LoadValues();
}

void TMemIniFile::LoadValues() {
    SetSections({});
    if (FFileName.empty() || !FileExists(FFileName)) {
        return;
    }
    TFileStream stream(FFileName, fmOpenRead | fmShareDenyWrite);
    if (stream.GetSize() > MaxIniFileBytes) {
        IniError(U("INI file too large: ") + FFileName);
    }
    TStringList lines;
    lines.LoadFromStream(stream, std::nullopt);
    if (!(lines.GetEncoding() == TEncoding::Default())) {
        FEncoding = lines.GetEncoding();
    }
    SetSections(ParseLines(lines, FFileName));
}

TMemIniFile::TEntry *TMemIniFile::TSection::Find(const UnicodeString &name) {
    const auto it = Index.find(name);
    return it == Index.end() ? nullptr : &Entries[it->second];
}

void TMemIniFile::TSection::Set(const UnicodeString &name, const UnicodeString &value) {
    const auto [it, added] = Index.try_emplace(name, Entries.size());
    if (added) {
        Entries.push_back({name, value});
    } else {
        Entries[it->second].Value = value;
    }
}

void TMemIniFile::TSection::Erase(const UnicodeString &name) {
    const auto it = Index.find(name);
    if (it == Index.end()) {
        return;
    }
    const size_t at = it->second;
    Entries.erase(Entries.begin() + std::ptrdiff_t(at));
    Index.erase(it);
    for (auto &[key, position] : Index) {
        position -= position > at ? 1 : 0;
    }
}

std::vector<TMemIniFile::TSection> TMemIniFile::ParseLines(const TStrings &lines,
                                                           const UnicodeString &source) {
    std::vector<TSection> sections;
    TIniNameIndex index;
    TSection *current = nullptr;
    for (int32_t i = 0; i < lines.GetCount(); ++i) {
        const UnicodeString &raw = lines.Get(i);
        if (raw.size() > MaxIniLineChars) {
            IniError(LineError("INI line too long", source, size_t(i) + 1));
        }
        const UnicodeString line = Trim(raw);
        if (line.empty() || line[0] == u';') {
            continue;
        }
        if (line[0] == u'[') {
            if (line.back() != u']') {
                IniError(LineError("Invalid INI section header", source, size_t(i) + 1));
            }
            const UnicodeString name = Trim(line.substr(1, line.size() - 2));
            const auto [it, added] = index.try_emplace(name, sections.size());
            if (added) {
                sections.push_back({name, {}, {}});
            }
            current = &sections[it->second];
            continue;
        }
        const size_t eq = line.find(u'=');
        if (current && eq != UnicodeString::npos) {
            current->Set(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
        }
    }
    return sections;
}

void TMemIniFile::SetSections(std::vector<TSection> sections) {
    FSections = std::move(sections);
    FSectionIndex.clear();
    for (size_t i = 0; i < FSections.size(); ++i) {
        FSectionIndex.emplace(FSections[i].Name, i);
    }
}

TMemIniFile::TSection *TMemIniFile::FindSection(const UnicodeString &section) {
    const auto it = FSectionIndex.find(section);
    return it == FSectionIndex.end() ? nullptr : &FSections[it->second];
}

TMemIniFile::TSection &TMemIniFile::AddSection(const UnicodeString &section) {
    const auto [it, added] = FSectionIndex.try_emplace(section, FSections.size());
    if (added) {
        FSections.push_back({section, {}, {}});
    }
    return FSections[it->second];
}

UnicodeString TMemIniFile::ReadString(const UnicodeString &section, const UnicodeString &name,
                                      const UnicodeString &def) {
    TSection *s = FindSection(section);
    const TEntry *e = s ? s->Find(name) : nullptr;
    return e ? e->Value : def;
}

void TMemIniFile::WriteString(const UnicodeString &section, const UnicodeString &name,
                              const UnicodeString &value) {
    // Text that the file could not hold back as written is refused rather than garbled.
    if (name.empty() || name.find_first_of(u"=\r\n") != UnicodeString::npos ||
        value.find_first_of(u"\r\n") != UnicodeString::npos ||
        section.find_first_of(u"]\r\n") != UnicodeString::npos) {
        IniError(U("Invalid INI name or value: [") + section + u"] " + name);
    }
    AddSection(section).Set(name, value);
}

bool TMemIniFile::SectionExists(const UnicodeString &section) {
    return FindSection(section) != nullptr;
}

bool TMemIniFile::ValueExists(const UnicodeString &section, const UnicodeString &name) {
    TSection *s = FindSection(section);
    return s && s->Find(name);
}

void TMemIniFile::ReadSection(const UnicodeString &section, TStrings &strings) {
    strings.Clear();
    if (TSection *s = FindSection(section)) {
        for (const TEntry &e : s->Entries) {
            strings.Add(e.Name);
        }
    }
}

void TMemIniFile::ReadSections(TStrings &strings) {
    strings.Clear();
    for (const TSection &s : FSections) {
        strings.Add(s.Name);
    }
}

void TMemIniFile::ReadSectionValues(const UnicodeString &section, TStrings &strings) {
    strings.Clear();
    if (TSection *s = FindSection(section)) {
        for (const TEntry &e : s->Entries) {
            strings.Add(e.Name + u"=" + e.Value);
        }
    }
}

void TMemIniFile::EraseSection(const UnicodeString &section) {
    std::vector<TSection> kept = std::move(FSections);
    std::erase_if(kept, [&](const TSection &s) { return SameIniName(s.Name, section); });
    SetSections(std::move(kept));
}

void TMemIniFile::DeleteKey(const UnicodeString &section, const UnicodeString &name) {
    if (TSection *s = FindSection(section)) {
        s->Erase(name);
    }
}

void TMemIniFile::GetStrings(TStrings &lines) const {
    lines.Clear();
    for (size_t i = 0; i < FSections.size(); ++i) {
        if (i > 0) {
            lines.Add(u"");
        }
        lines.Add(u"[" + FSections[i].Name + u"]");
        for (const TEntry &e : FSections[i].Entries) {
            lines.Add(e.Name + u"=" + e.Value);
        }
    }
}

void TMemIniFile::SetStrings(const TStrings &lines) {
    SetSections(ParseLines(lines, FFileName));
}

void TMemIniFile::UpdateFile() {
    TStringList lines;
    GetStrings(lines);
    lines.SetWriteBOM(true);
    try {
        lines.SaveToFile(FFileName, FEncoding);
    } catch (const EStreamError &e) {
        // The save's own message names the file and the reason; the old file is whole.
        IniError(e.Message());
    }
}

void TIniFile::WriteString(const UnicodeString &section, const UnicodeString &name,
                           const UnicodeString &value) {
    TMemIniFile::WriteString(section, name, value);
    UpdateFile();
}

void TIniFile::EraseSection(const UnicodeString &section) {
    TMemIniFile::EraseSection(section);
    UpdateFile();
}

void TIniFile::DeleteKey(const UnicodeString &section, const UnicodeString &name) {
    TMemIniFile::DeleteKey(section, name);
    UpdateFile();
}

} // namespace rtl
