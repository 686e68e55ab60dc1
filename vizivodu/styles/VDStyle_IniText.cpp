// The INI keys of text styles and of the text style collection.
#include "vizivodu/styles/VDStyle_Ini.h"

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "vizivodu/styles/VDStyle_Ini_p.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include <limits>

namespace vizivodu {

namespace {

// The protection bits that the INI form keeps: vdprStyleProtect to vdprSticking2.
constexpr uint64_t IniProtectionMask = (uint64_t(1) << 10) - 1;
constexpr TCursor DefaultJumpCursor = 101;

struct TIniWriter {
    rtl::TCustomIniFile &Ini;
    const UnicodeString &Section;
    const UnicodeString &Fs;
    TVDFontInfoProperties Props;

    void Int(TVDFontInfoProperty p, const char16_t *key, int32_t value, int32_t def) const {
        if (Props.Contains(p)) {
            IniWriteIntIfNotDefault(Ini, Section, IniKey(Fs, key), value, def);
        }
    }
    void Bool(TVDFontInfoProperty p, const char16_t *key, bool value) const {
        if (Props.Contains(p)) {
            IniWriteBoolIfNotDefault(Ini, Section, IniKey(Fs, key), value, false);
        }
    }
};

void SaveSize(const TIniWriter &w, int32_t sizeDouble) {
    if (!w.Props.Contains(vdfiSize)) {
        return;
    }
    if (sizeDouble % 2 != 0) {
        w.Ini.WriteInteger(w.Section, IniKey(w.Fs, u"SizeDouble"), sizeDouble);
    } else {
        IniWriteIntIfNotDefault(w.Ini, w.Section, IniKey(w.Fs, u"Size"), sizeDouble / 2, 10);
    }
}

void SaveStyleBits(const TIniWriter &w, const TCustomVDFontInfo &f) {
    w.Bool(vdfiBold, u"Bold", f.GetStyle().Contains(gfx::fsBold));
    w.Bool(vdfiUnderline, u"Underline", f.GetStyle().Contains(gfx::fsUnderline));
    w.Bool(vdfiStrikeout, u"StrikeOut", f.GetStyle().Contains(gfx::fsStrikeOut));
    w.Bool(vdfiItalic, u"Italic", f.GetStyle().Contains(gfx::fsItalic));
    w.Bool(vdfiOverline, u"Overline", f.GetStyleEx().Contains(vdfsOverline));
    w.Bool(vdfiAllCaps, u"Caps", f.GetStyleEx().Contains(vdfsAllCaps));
    w.Int(vdfiProtection, u"Protection", int32_t(f.GetProtection().Bits() & IniProtectionMask), 0);
    const TVDTextOptions o = f.GetOptions();
    w.Bool(vdfiHidden, u"Hidden", o.Contains(vdteoHidden));
    w.Bool(vdfiRTFCode, u"RTFCode", o.Contains(vdteoRTFCode));
    w.Bool(vdfiHTMLCode, u"HTMLCode", o.Contains(vdteoHTMLCode));
    w.Bool(vdfiDocXCode, u"DocXCode", o.Contains(vdteoDocXCode));
    w.Bool(vdfiDocXCode, u"DocXInRunCode", o.Contains(vdteoDocXInRunCode));
}

void SaveFontInfoExtras(const TIniWriter &w, const TFontInfo &f) {
    if (w.Props.Contains(vdfiJump)) {
        w.Ini.WriteString(w.Section, IniKey(w.Fs, u"Jump"), f.GetJump() ? u"Yes" : u"No");
    }
    w.Int(vdfiNextStyleNo, u"NextStyleNo", f.GetNextStyleNo(), -1);
    if (w.Props.Contains(vdfiUnicode) && f.GetUnicode()) {
        w.Ini.WriteString(w.Section, IniKey(w.Fs, u"Unicode"), u"Yes");
    }
}

int32_t ReadSizeDouble(const TVDIniReader &r, const UnicodeString &fs) {
    const int32_t sizeDouble = r.Int(IniKey(fs, u"SizeDouble"), 0);
    if (sizeDouble >= 1) {
        return sizeDouble;
    }
    constexpr int32_t limit = std::numeric_limits<int32_t>::max() / 2;
    return r.Range(IniKey(fs, u"Size"), 10, -limit, limit) * 2;
}

void LoadStyleBits(const TVDIniReader &r, const UnicodeString &fs, TCustomVDFontInfo &f) {
    auto flag = [&](const char16_t *key) { return r.Bool(IniKey(fs, key), false); };
    gfx::TFontStyles style;
    if (flag(u"Bold")) {
        style.Include(gfx::fsBold);
    }
    if (flag(u"Underline")) {
        style.Include(gfx::fsUnderline);
    }
    if (flag(u"StrikeOut")) {
        style.Include(gfx::fsStrikeOut);
    }
    if (flag(u"Italic")) {
        style.Include(gfx::fsItalic);
    }
    f.SetStyle(style);
    TVDFontStyles styleEx;
    IncludeIf(styleEx, vdfsOverline, flag(u"Overline"));
    IncludeIf(styleEx, vdfsAllCaps, flag(u"Caps"));
    f.SetStyleEx(styleEx);
    auto protection = TVDProtectOptions::FromBits(
        uint64_t(r.Range(IniKey(fs, u"Protection"), 0, 0, int32_t(IniProtectionMask))));
    if (flag(u"SingleSymbols")) {
        protection += {vdprStyleProtect, vdprDoNotAutoSwitch};
    }
    f.SetProtection(protection);
    TVDTextOptions options;
    IncludeIf(options, vdteoHidden, flag(u"Hidden"));
    IncludeIf(options, vdteoRTFCode, flag(u"RTFCode"));
    IncludeIf(options, vdteoHTMLCode, flag(u"HTMLCode"));
    IncludeIf(options, vdteoDocXCode, flag(u"DocXCode"));
    IncludeIf(options, vdteoDocXInRunCode, flag(u"DocXInRunCode"));
    f.SetOptions(options);
}

void LoadFontInfoExtras(const TVDIniReader &r, const UnicodeString &fs, TFontInfo &f,
                        bool jumpByDefault, TCursor defJumpCursor) {
    f.SetNextStyleNo(r.Int(IniKey(fs, u"NextStyleNo"), -1));
    f.SetUnicode(r.Bool(IniKey(fs, u"Unicode"), false));
    if (r.Exists(IniKey(fs, u"Jump"))) {
        f.SetJump(r.Bool(IniKey(fs, u"Jump"), false));
        f.SetJumpCursor(TCursor(r.Range(IniKey(fs, u"JumpCursor"), DefaultJumpCursor,
                                        std::numeric_limits<TCursor>::min(),
                                        std::numeric_limits<TCursor>::max())));
    } else {
        f.SetJump(jumpByDefault);
        f.SetJumpCursor(defJumpCursor);
    }
}

} // namespace

void TCustomVDFontInfo::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                                  const UnicodeString &fs, TVDFontInfoProperties properties) const {
    TCustomVDInfo::SaveToINI(ini, section, fs);
    const TIniWriter w{ini, section, fs, properties};
    if (properties.Contains(vdfiFontName)) {
        ini.WriteString(section, IniKey(fs, u"Name"), FFontName);
    }
    SaveSize(w, FSizeDouble);
    w.Int(vdfiColor, u"Color", FColor, gfx::clWindowText);
    w.Int(vdfiBackColor, u"BackColor", FBackColor, gfx::clNone);
    w.Int(vdfiHoverBackColor, u"HoverBackColor", FHoverBackColor, gfx::clNone);
    w.Int(vdfiHoverColor, u"HoverColor", FHoverColor, gfx::clNone);
    w.Bool(vdfiHoverUnderline, u"HoverUnderline", FHoverEffects.Contains(vdheUnderline));
    w.Int(vdfiJumpCursor, u"JumpCursor", FJumpCursor, DefaultJumpCursor);
    w.Int(vdfiCharset, u"Charset", FCharset, gfx::DEFAULT_CHARSET);
    w.Int(vdfiCharScale, u"CharScale", FCharScale, 100);
    w.Int(vdfiCharSpacing, u"CharSpacing", FCharSpacing, 0);
    w.Int(vdfiBiDiMode, u"BiDiMode", FBiDiMode, vdbdUnspecified);
    SaveStyleBits(w, *this);
    w.Int(vdfiVShift, u"VShift", FVShift, 0);
    w.Int(vdfiSubSuperScriptType, u"Script", FSubSuperScriptType, vdsssNormal);
    w.Int(vdfiUnderlineType, u"UnderlineType", FUnderlineType, vdutNormal);
    w.Int(vdfiUnderlineColor, u"UnderlineColor", FUnderlineColor, gfx::clNone);
    w.Int(vdfiHoverUnderlineColor, u"HoverUnderlineColor", FHoverUnderlineColor, gfx::clNone);
    IniWriteIntIfNotDefault(ini, section, IniKey(fs, u"ParaStyleTemplateId"), FParaStyleTemplateId,
                            -1);
    if (const auto *f = dynamic_cast<const TFontInfo *>(this)) {
        SaveFontInfoExtras(w, *f);
    }
}

void TCustomVDFontInfo::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                                    const UnicodeString &fs, bool jumpByDefault,
                                    TCursor defJumpCursor) {
    TVDIniReaderScope scope(ini, section);
    const TVDIniReader &r = *scope;
    TCustomVDInfo::LoadFromINI(ini, section, fs, u"Font Style");
    FFontName = r.Str(IniKey(fs, u"Name"), u"Arial");
    FSizeDouble = ReadSizeDouble(r, fs);
    FColor = r.Int(IniKey(fs, u"Color"), gfx::clWindowText);
    FBackColor = r.Int(IniKey(fs, u"BackColor"), gfx::clNone);
    FHoverBackColor = r.Int(IniKey(fs, u"HoverBackColor"), gfx::clNone);
    FHoverColor = r.Int(IniKey(fs, u"HoverColor"), gfx::clNone);
    FHoverEffects = {};
    IncludeIf(FHoverEffects, vdheUnderline, r.Bool(IniKey(fs, u"HoverUnderline"), false));
    FCharset = gfx::TFontCharset(r.Range(IniKey(fs, u"Charset"), gfx::DEFAULT_CHARSET, 0, 255));
    FCharScale = r.Int(IniKey(fs, u"CharScale"), 100);
    FCharSpacing = r.Int(IniKey(fs, u"CharSpacing"), 0);
    FBiDiMode = TVDBiDiMode(r.Range(IniKey(fs, u"BiDiMode"), 0, 0, vdbdRightToLeft));
    LoadStyleBits(r, fs, *this);
    FVShift = r.Int(IniKey(fs, u"VShift"), 0);
    FSubSuperScriptType =
        TVDSubSuperScriptType(r.Range(IniKey(fs, u"Script"), 0, 0, vdsssSuperScript));
    FUnderlineType =
        TVDUnderlineType(r.Range(IniKey(fs, u"UnderlineType"), 0, 0, vdutThickDashDotDotted));
    FUnderlineColor = r.Int(IniKey(fs, u"UnderlineColor"), gfx::clNone);
    FHoverUnderlineColor = r.Int(IniKey(fs, u"HoverUnderlineColor"), gfx::clNone);
    FParaStyleTemplateId = r.Int(IniKey(fs, u"ParaStyleTemplateId"), -1);
    if (auto *f = dynamic_cast<TFontInfo *>(this)) {
        LoadFontInfoExtras(r, fs, *f, jumpByDefault, defJumpCursor);
    } else {
        // A template's text style saves its jump cursor; reading it back keeps it.
        FJumpCursor = TCursor(r.Range(IniKey(fs, u"JumpCursor"), defJumpCursor,
                                      std::numeric_limits<TCursor>::min(),
                                      std::numeric_limits<TCursor>::max()));
    }
}

void TFontInfos::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section) const {
    ini.WriteInteger(section, u"FontsCount", GetCount());
    for (Integer i = 0; i < GetCount(); ++i) {
        GetItem(i).SaveToINI(ini, section, u"Font%s" + rtl::IntToStr(i), AllTextStyleProperties);
    }
}

void TFontInfos::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                             TCursor defJumpCursor) {
    TVDIniReaderScope scope(ini, section);
    const int32_t count = (*scope).Count(u"FontsCount", 6);
    Clear();
    for (Integer i = 0; i < count; ++i) {
        Add().LoadFromINI(ini, section, u"Font%s" + rtl::IntToStr(i), i == 4 || i == 5,
                          defJumpCursor);
    }
}

} // namespace vizivodu
