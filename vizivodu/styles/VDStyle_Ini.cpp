// The shared INI routines, the checked section reader, and the INI keys of the style base
// classes, text styles and the text style collection.
#include "vizivodu/styles/VDStyle_Ini.h"

#include "platform/gfx/Colors.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Ini_p.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include <limits>

namespace vizivodu {

namespace {

constexpr size_t LongStringPiece = 500;

UnicodeString YesNo(bool value) {
    return value ? u"Yes" : u"No";
}

} // namespace

// ---- Class-less routines -----------------------------------------------------------------

UnicodeString IniKey(const UnicodeString &fs, const UnicodeString &key) {
    UnicodeString result = fs;
    const size_t at = result.find(u"%s");
    if (at != UnicodeString::npos) {
        result.replace(at, 2, key);
    }
    return result;
}

void IniWriteIntIfNotDefault(rtl::TCustomIniFile &ini, const UnicodeString &section,
                             const UnicodeString &key, int32_t value, int32_t def) {
    if (value != def) {
        ini.WriteInteger(section, key, value);
    }
}

void IniWriteBoolIfNotDefault(rtl::TCustomIniFile &ini, const UnicodeString &section,
                              const UnicodeString &key, bool value, bool def) {
    if (value != def) {
        ini.WriteString(section, key, YesNo(value));
    }
}

bool IniReadBool(rtl::TCustomIniFile &ini, const UnicodeString &section, const UnicodeString &key,
                 bool def) {
    return rtl::UpperCase(ini.ReadString(section, key, YesNo(def))) == u"YES";
}

void IniWriteLongString(rtl::TCustomIniFile &ini, const UnicodeString &section,
                        const UnicodeString &key, const UnicodeString &value) {
    for (size_t at = 0, piece = 0; at < value.size(); at += LongStringPiece, ++piece) {
        ini.WriteString(section, key + u"_" + rtl::IntToStr(Integer(piece)),
                        value.substr(at, LongStringPiece));
    }
}

UnicodeString IniReadLongString(rtl::TCustomIniFile &ini, const UnicodeString &section,
                                const UnicodeString &key) {
    UnicodeString result;
    for (Integer piece = 0;; ++piece) {
        const UnicodeString s = ini.ReadString(section, key + u"_" + rtl::IntToStr(piece), u"");
        if (s.empty()) {
            return result;
        }
        result += s;
    }
}

UnicodeString FontStylesToStr(gfx::TFontStyles style) {
    UnicodeString result;
    const char16_t letters[] = {u'B', u'I', u'U', u'S'};
    const gfx::TFontStyle members[] = {gfx::fsBold, gfx::fsItalic, gfx::fsUnderline,
                                       gfx::fsStrikeOut};
    for (size_t i = 0; i < 4; ++i) {
        if (style.Contains(members[i])) {
            result += letters[i];
        }
    }
    return result;
}

gfx::TFontStyles StrToFontStyles(const UnicodeString &text) {
    gfx::TFontStyles result;
    for (char16_t c : rtl::UpperCase(text)) {
        switch (c) {
        case u'B':
            result.Include(gfx::fsBold);
            break;
        case u'I':
            result.Include(gfx::fsItalic);
            break;
        case u'U':
            result.Include(gfx::fsUnderline);
            break;
        case u'S':
            result.Include(gfx::fsStrikeOut);
            break;
        default:
            break;
        }
    }
    return result;
}

namespace {

UnicodeString ColorToText(TColor color) {
    std::string ident;
    if (gfx::ColorToIdent(color, ident)) {
        return rtl::Utf8ToUtf16(ident);
    }
    return rtl::Format(u"$%.8x", {int32_t(color)});
}

bool TextToColor(const UnicodeString &text, TColor &color) {
    std::string ascii;
    for (char16_t c : text) {
        if (c > 0x7F) {
            return false;
        }
        ascii += char(c);
    }
    if (gfx::IdentToColor(ascii, color)) {
        return true;
    }
    Integer value = 0;
    if (!rtl::TryStrToInt(text, value)) {
        return false;
    }
    color = TColor(value);
    return true;
}

std::vector<UnicodeString> SplitAtCommas(const UnicodeString &text) {
    std::vector<UnicodeString> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(u',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == UnicodeString::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

int32_t FontField(const UnicodeString &field, int32_t lo, int32_t hi) {
    Integer value = 0;
    if (!rtl::TryStrToInt(field, value) || value < lo || value > hi) {
        throw EViziVoduError(u"Invalid font text");
    }
    return value;
}

} // namespace

UnicodeString FontToIniStr(const gfx::TFont &font) {
    return rtl::Format(u"%s,%d,%s,%d,%s,%d",
                       {font.GetName(), font.GetHeight(), FontStylesToStr(font.GetStyle()),
                        int32_t(font.GetPitch()), ColorToText(font.GetColor()),
                        int32_t(font.GetCharset())});
}

void IniStrToFont(const UnicodeString &text, gfx::TFont &font) {
    const std::vector<UnicodeString> f = SplitAtCommas(text);
    const size_t n = f.size();
    if (n > 0) {
        font.SetName(f[0]);
    }
    if (n > 1) {
        font.SetHeight(FontField(f[1], -32768, 32767));
    }
    if (n > 2) {
        font.SetStyle(StrToFontStyles(f[2]));
    }
    if (n > 3) {
        font.SetPitch(gfx::TFontPitch(FontField(f[3], 0, 2)));
    }
    if (n > 4) {
        TColor color = 0;
        if (!TextToColor(f[4], color)) {
            throw EViziVoduError(u"Invalid font text");
        }
        font.SetColor(color);
    }
    if (n > 5) {
        font.SetCharset(gfx::TFontCharset(FontField(f[5], 0, 255)));
    }
}

// ---- The checked reader ------------------------------------------------------------------

TVDIniReader::TVDIniReader(rtl::TCustomIniFile &ini, const UnicodeString &section)
    : FIni(ini), FSection(section) {
    rtl::TStringList names;
    ini.ReadSection(section, names);
    FAllowance = int64_t(names.GetCount()) + kSpareCount;
}

void TVDIniReader::Fail(const UnicodeString &key, const UnicodeString &reason) const {
    throw EViziVoduError(rtl::Format(u"Cannot load styles from \"%s\": key \"%s\" in section "
                                     u"[%s] %s",
                                     {FIni.GetFileName(), key, FSection, reason}));
}

bool TVDIniReader::Exists(const UnicodeString &key) const {
    return FIni.ValueExists(FSection, key);
}

int32_t TVDIniReader::Int(const UnicodeString &key, int32_t def) const {
    if (!Exists(key)) {
        return def;
    }
    // Two reads with opposite defaults tell a stored number from one the store cannot read,
    // whatever the store (file or registry) keeps it as.
    const int32_t low = FIni.ReadInteger(FSection, key, std::numeric_limits<int32_t>::min());
    const int32_t high = FIni.ReadInteger(FSection, key, std::numeric_limits<int32_t>::max());
    if (low != high) {
        Fail(key, u"is not a valid integer value");
    }
    return low;
}

int32_t TVDIniReader::Range(const UnicodeString &key, int32_t def, int32_t lo, int32_t hi) const {
    const int32_t value = Int(key, def);
    if (value < lo || value > hi) {
        Fail(key, rtl::Format(u"is out of range (%d to %d)", {lo, hi}));
    }
    return value;
}

bool TVDIniReader::Bool(const UnicodeString &key, bool def) const {
    return IniReadBool(FIni, FSection, key, def);
}

UnicodeString TVDIniReader::Str(const UnicodeString &key, const UnicodeString &def) const {
    return FIni.ReadString(FSection, key, def);
}

UnicodeString TVDIniReader::LongStr(const UnicodeString &key) const {
    return IniReadLongString(FIni, FSection, key);
}

int32_t TVDIniReader::Count(const UnicodeString &key, int32_t def) {
    const int32_t value = Int(key, def);
    if (value < 0 || value > FAllowance) {
        Fail(key, rtl::Format(u"holds a count (%d) the section cannot hold", {value}));
    }
    FAllowance -= value;
    return value;
}

rtl::TBytes TVDIniReader::Hex(const UnicodeString &key, const UnicodeString &text) const {
    rtl::TBytes bytes;
    if (!rtl::HexToBytes(text, bytes)) {
        Fail(key, u"is not hexadecimal data");
    }
    return bytes;
}

namespace {
thread_local TVDIniReader *ActiveReader = nullptr;
} // namespace

TVDIniReaderScope::TVDIniReaderScope(rtl::TCustomIniFile &ini, const UnicodeString &section) {
    if (ActiveReader && &ActiveReader->GetIni() == &ini &&
        rtl::SameIniName(ActiveReader->GetSection(), section)) {
        FReader = ActiveReader;
        return;
    }
    FOwn = std::make_unique<TVDIniReader>(ini, section);
    FReader = FOwn.get();
    FPrevious = ActiveReader;
    ActiveReader = FReader;
}

TVDIniReaderScope::~TVDIniReaderScope() {
    if (FOwn) {
        ActiveReader = FPrevious;
    }
}

// ---- Style base classes ------------------------------------------------------------------

void TCustomVDInfo::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                              const UnicodeString &fs) const {
    ini.WriteString(section, IniKey(fs, u"StyleName"), FStyleName);
    IniWriteIntIfNotDefault(ini, section, IniKey(fs, u"BaseStyleNo"), FBaseStyleNo, -1);
    IniWriteIntIfNotDefault(ini, section, IniKey(fs, u"Standard"), FStandard ? 1 : 0, 1);
    if (const auto *fp = dynamic_cast<const TCustomFontOrParaVDInfo *>(this)) {
        const TVDStyle *sheet = GetVDStyle();
        if (!(sheet && sheet->IgnoreStyleTemplates)) {
            IniWriteIntIfNotDefault(ini, section, IniKey(fs, u"StyleTemplateId"),
                                    fp->GetStyleTemplateId(), -1);
        }
    }
}

void TCustomVDInfo::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                                const UnicodeString &fs, const UnicodeString &defName) {
    TVDIniReaderScope scope(ini, section);
    const TVDIniReader &r = *scope;
    FStyleName = r.Str(IniKey(fs, u"StyleName"), defName);
    FBaseStyleNo = r.Int(IniKey(fs, u"BaseStyleNo"), -1);
    // Booleans stored as integers count by their low byte.
    FStandard = (r.Int(IniKey(fs, u"Standard"), 1) & 0xFF) != 0;
    if (auto *fp = dynamic_cast<TCustomFontOrParaVDInfo *>(this)) {
        fp->SetStyleTemplateId(r.Int(IniKey(fs, u"StyleTemplateId"), -1));
    }
}

} // namespace vizivodu
