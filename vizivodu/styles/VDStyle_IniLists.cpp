// The INI keys of list styles, their levels (with marker pictures and fonts) and the list style
// collection.
#include "vizivodu/styles/VDStyle_Ini.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/styles/VDStyle_Ini_p.h"
#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Streaming_p.h"

namespace vizivodu {

namespace {

UnicodeString LevelFormat(const UnicodeString &fs, Integer j) {
    return IniKey(fs, u"") + u"Lvl%s" + rtl::IntToStr(j);
}

// UTF-16 code units as bytes in memory order (little-endian), and back.
rtl::TBytes Utf16Bytes(const UnicodeString &text) {
    rtl::TBytes bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(uint8_t(c & 0xFF));
        bytes.push_back(uint8_t(c >> 8));
    }
    return bytes;
}

UnicodeString Utf16FromBytes(const rtl::TBytes &bytes) {
    UnicodeString text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += char16_t(bytes[i] | (bytes[i + 1] << 8));
    }
    return text;
}

void SavePicture(rtl::TCustomIniFile &ini, const UnicodeString &section, const UnicodeString &fs,
                 const gfx::TGraphic &graphic) {
    const TVDGraphicClass *graphicClass = GraphicClassOf(graphic);
    if (!graphicClass) {
        return;
    }
    rtl::TMemoryStream stream;
    graphicClass->SaveToStream(graphic, stream);
    const uint8_t *data = stream.GetMemory();
    const rtl::TBytes bytes(data, data + stream.GetSize());
    ini.WriteString(section, IniKey(fs, u"GraphicClass"),
                    rtl::Utf8ToUtf16(std::string(graphicClass->GetName())));
    IniWriteLongString(ini, section, IniKey(fs, u"Picture"), rtl::BytesToHex(bytes));
}

// A picture that cannot be made from the stored bytes is left out, as the original leaves it.
std::unique_ptr<gfx::TGraphic> LoadPicture(const TVDIniReader &r, const UnicodeString &fs) {
    const UnicodeString className = r.Str(IniKey(fs, u"GraphicClass"), u"");
    std::string name;
    for (char16_t c : className) {
        name += char(c < 0x80 ? c : '?');
    }
    const TVDGraphicClass *graphicClass = name.empty() ? nullptr : PictureClassNamed(name);
    if (!graphicClass) {
        return nullptr;
    }
    rtl::TBytes bytes;
    if (!rtl::HexToBytes(r.LongStr(IniKey(fs, u"Picture")), bytes)) {
        return nullptr;
    }
    std::unique_ptr<gfx::TGraphic> graphic = graphicClass->Create();
    rtl::TMemoryStream stream;
    stream.Write(bytes.data(), int32_t(bytes.size()));
    stream.SetPosition(0);
    try {
        graphicClass->LoadFromStream(*graphic, stream);
    } catch (const rtl::Exception &) {
        return nullptr;
    }
    return graphic;
}

} // namespace

void TVDListLevel::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                             const UnicodeString &fs) const {
    IniWriteIntIfNotDefault(ini, section, IniKey(fs, u"ListType"), FListType, vdlstBullet);
    IniWriteIntIfNotDefault(ini, section, IniKey(fs, u"ImageIndex"), FImageIndex, 0);
    ini.WriteString(section, IniKey(fs, u"FormatString"), FFormatString);
    IniWriteIntIfNotDefault(ini, section, IniKey(fs, u"LeftIndent"), FLeftIndent, 0);
    IniWriteIntIfNotDefault(ini, section, IniKey(fs, u"FirstIndent"), FFirstIndent, 10);
    IniWriteIntIfNotDefault(ini, section, IniKey(fs, u"MarkerIndent"), FMarkerIndent, 0);
    IniWriteIntIfNotDefault(ini, section, IniKey(fs, u"MarkerAlignment"), FMarkerAlignment,
                            vdmaLeft);
    if (FPicture && FPicture->GetGraphic()) {
        SavePicture(ini, section, fs, *FPicture->GetGraphic());
    }
    if (FFont) {
        ini.WriteString(section, IniKey(fs, u"Font"), FontToIniStr(*FFont));
    }
    IniWriteBoolIfNotDefault(ini, section, IniKey(fs, u"Continuous"),
                             FOptions.Contains(vdloContinuous), true);
    IniWriteBoolIfNotDefault(ini, section, IniKey(fs, u"LevelReset"),
                             FOptions.Contains(vdloLevelReset), true);
    if (!FFormatStringW.empty()) {
        ini.WriteString(section, IniKey(fs, u"FormatStringW"),
                        rtl::BytesToHex(Utf16Bytes(FFormatStringW)));
    }
}

void TVDListLevel::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                               const UnicodeString &fs) {
    TVDIniReaderScope scope(ini, section);
    const TVDIniReader &r = *scope;
    FListType = TVDListType(r.Range(IniKey(fs, u"ListType"), 0, 0, vdlstUnicodeBullet));
    FImageIndex = r.Int(IniKey(fs, u"ImageIndex"), 0);
    FFormatString = r.Str(IniKey(fs, u"FormatString"), u"");
    FLeftIndent = r.Int(IniKey(fs, u"LeftIndent"), 0);
    FFirstIndent = r.Int(IniKey(fs, u"FirstIndent"), 10);
    FMarkerIndent = r.Int(IniKey(fs, u"MarkerIndent"), 0);
    FMarkerAlignment =
        TVDMarkerAlignment(r.Range(IniKey(fs, u"MarkerAlignment"), 0, 0, vdmaCenter));
    if (std::unique_ptr<gfx::TGraphic> graphic = LoadPicture(r, fs)) {
        GetPicture().SetGraphic(graphic.get());
    } else {
        FPicture.reset();
    }
    const UnicodeString font = r.Str(IniKey(fs, u"Font"), u"");
    if (font.empty()) {
        FFont.reset();
    } else {
        try {
            IniStrToFont(font, GetFont());
        } catch (const EViziVoduError &e) {
            r.Fail(IniKey(fs, u"Font"), u"is not a valid font (" + e.Message() + u")");
        }
    }
    FOptions = {};
    IncludeIf(FOptions, vdloContinuous, r.Bool(IniKey(fs, u"Continuous"), true));
    IncludeIf(FOptions, vdloLevelReset, r.Bool(IniKey(fs, u"LevelReset"), true));
    const UnicodeString hex = r.Str(IniKey(fs, u"FormatStringW"), u"");
    const rtl::TBytes bytes = r.Hex(IniKey(fs, u"FormatStringW"), hex);
    if (bytes.size() % 2 != 0) {
        r.Fail(IniKey(fs, u"FormatStringW"), u"holds an odd number of bytes");
    }
    FFormatStringW = Utf16FromBytes(bytes);
}

void TVDListInfo::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                            const UnicodeString &fs) const {
    TCustomVDInfo::SaveToINI(ini, section, fs);
    IniWriteIntIfNotDefault(ini, section, IniKey(fs, u"LevelsCount"), FLevels.GetCount(), 0);
    IniWriteBoolIfNotDefault(ini, section, IniKey(fs, u"OneLevelPreview"), FOneLevelPreview, false);
    IniWriteIntIfNotDefault(ini, section, IniKey(fs, u"ListId"), FListID, 0);
    for (Integer j = 0; j < FLevels.GetCount(); ++j) {
        FLevels.GetItem(j).SaveToINI(ini, section, LevelFormat(fs, j));
    }
}

void TVDListInfo::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                              const UnicodeString &fs) {
    TVDIniReaderScope scope(ini, section);
    TVDIniReader &r = *scope;
    TCustomVDInfo::LoadFromINI(ini, section, fs, u"List Style");
    const int32_t count = r.Count(IniKey(fs, u"LevelsCount"), 0);
    FOneLevelPreview = r.Bool(IniKey(fs, u"OneLevelPreview"), false);
    FListID = r.Int(IniKey(fs, u"ListId"), 0);
    for (Integer j = 0; j < count; ++j) {
        FLevels.Add().LoadFromINI(ini, section, LevelFormat(fs, j));
    }
}

void TVDListInfos::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section) const {
    ini.WriteInteger(section, u"ListCount", GetCount());
    for (Integer i = 0; i < GetCount(); ++i) {
        GetItem(i).SaveToINI(ini, section, u"List%s" + rtl::IntToStr(i));
    }
}

void TVDListInfos::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section) {
    TVDIniReaderScope scope(ini, section);
    const int32_t count = (*scope).Count(u"ListCount", 0);
    Clear();
    for (Integer i = 0; i < count; ++i) {
        Add().LoadFromINI(ini, section, u"List%s" + rtl::IntToStr(i));
    }
}

} // namespace vizivodu
