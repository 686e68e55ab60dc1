// The style sheet in an INI section, an INI file or the registry: the sheet's own keys, then
// its collections; loading reads into a sheet of its own and takes the result only when the
// whole section has read.
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "vizivodu/styles/VDStyle_Ini.h"
#include "vizivodu/styles/VDStyle_Ini_p.h"
#include "vizivodu/styles/VDStyle_Templates.h"

#include <limits>

namespace vizivodu {

namespace {

enum TSheetKeyKind : uint8_t { skInt, skBool };

// One sheet key: its form, default, accepted range and the property it holds.
struct TSheetKey {
    const char16_t *Key;
    TSheetKeyKind Kind;
    int32_t Default;
    int32_t Lo, Hi;
    int32_t (*Get)(const TVDStyle &);
    void (*Set)(TVDStyle &, int32_t);
};

constexpr int32_t IntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t IntMax = std::numeric_limits<int32_t>::max();
constexpr int32_t CursorMin = std::numeric_limits<TCursor>::min();
constexpr int32_t CursorMax = std::numeric_limits<TCursor>::max();

#define WB_SHEET_KEY(key, kind, def, lo, hi, getter, setter, type)                                 \
    TSheetKey {                                                                                    \
        key, kind, int32_t(def), lo, hi, [](const TVDStyle &s) { return int32_t(s.getter()); },    \
            [](TVDStyle &s, int32_t v) { s.setter(type(v)); }                                      \
    }
#define WB_COLOR_KEY(key, def, getter, setter)                                                     \
    WB_SHEET_KEY(key, skInt, def, IntMin, IntMax, getter, setter, TColor)

const TSheetKey SheetKeys[] = {
    WB_SHEET_KEY(u"Units", skInt, vdstuPixels, 0, 1, GetUnits, SetUnits, TVDStyleUnits),
    WB_COLOR_KEY(u"Color", gfx::clWindow, GetColor, SetColor),
    WB_COLOR_KEY(u"HoverColor", gfx::clNone, GetHoverColor, SetHoverColor),
    WB_COLOR_KEY(u"CurItemColor", gfx::clNone, GetCurrentItemColor, SetCurrentItemColor),
    WB_COLOR_KEY(u"SelColor", gfx::clHighlight, GetSelColor, SetSelColor),
    WB_COLOR_KEY(u"SelTextColor", gfx::clHighlightText, GetSelTextColor, SetSelTextColor),
    WB_COLOR_KEY(u"ISelColor", gfx::clHighlight, GetInactiveSelColor, SetInactiveSelColor),
    WB_COLOR_KEY(u"ISelTextColor", gfx::clHighlightText, GetInactiveSelTextColor,
                 SetInactiveSelTextColor),
    WB_COLOR_KEY(u"CheckpointColor", gfx::clGreen, GetCheckpointColor, SetCheckpointColor),
    WB_COLOR_KEY(u"CheckpointEvColor", gfx::clLime, GetCheckpointEvColor, SetCheckpointEvColor),
    WB_COLOR_KEY(u"PageBreakColor", gfx::clBtnShadow, GetPageBreakColor, SetPageBreakColor),
    WB_COLOR_KEY(u"SoftPageBreakColor", gfx::clBtnFace, GetSoftPageBreakColor,
                 SetSoftPageBreakColor),
    WB_COLOR_KEY(u"LiveSpellingColor", gfx::clRed, GetLiveSpellingColor, SetLiveSpellingColor),
    WB_COLOR_KEY(u"FloatLineColor", 12427914, GetFloatingLineColor, SetFloatingLineColor),
    WB_COLOR_KEY(u"SpecCharColor", gfx::clNone, GetSpecialCharactersColor,
                 SetSpecialCharactersColor),
    WB_SHEET_KEY(u"JumpCursor", skInt, 101, CursorMin, CursorMax, GetJumpCursor, SetJumpCursor,
                 TCursor),
    WB_SHEET_KEY(u"LineSelectCursor", skInt, 106, CursorMin, CursorMax, GetLineSelectCursor,
                 SetLineSelectCursor, TCursor),
    WB_SHEET_KEY(u"UseSound", skBool, true, 0, 1, GetUseSound, SetUseSound, bool),
    WB_SHEET_KEY(u"SelectionMode", skInt, vdsmWord, 0, vdsmParagraph, GetSelectionMode,
                 SetSelectionMode, TVDSelectionMode),
    WB_SHEET_KEY(u"SelectionStyle", skInt, vdssItems, 0, vdssLines, GetSelectionStyle,
                 SetSelectionStyle, TVDSelectionStyle),
    WB_SHEET_KEY(u"SpacesInTab", skInt, 0, IntMin, IntMax, GetSpacesInTab, SetSpacesInTab, int32_t),
    WB_SHEET_KEY(u"DefTabWidth", skInt, 48, IntMin, IntMax, GetDefTabWidth, SetDefTabWidth,
                 TVDStyleLength),
    WB_SHEET_KEY(u"DefUnicodeStyle", skInt, -1, IntMin, IntMax, GetDefUnicodeStyle,
                 SetDefUnicodeStyle, int32_t),
    WB_SHEET_KEY(u"DefCodePage", skInt, 0, IntMin, IntMax, GetDefCodePage, SetDefCodePage,
                 TVDCodePage),
    WB_COLOR_KEY(u"FieldHighlightColor", gfx::clBtnFace, GetFieldHighlightColor,
                 SetFieldHighlightColor),
    WB_COLOR_KEY(u"DisabledFontColor", gfx::clNone, GetDisabledFontColor, SetDisabledFontColor),
    WB_SHEET_KEY(u"FieldHighlightType", skInt, vdfhCurrent, 0, vdfhAlways, GetFieldHighlightType,
                 SetFieldHighlightType, TVDFieldHighlightType),
    WB_SHEET_KEY(u"FootnoteNumbering", skInt, vdseqDecimal, 0, vdseqUpperRoman,
                 GetFootnoteNumbering, SetFootnoteNumbering, TVDSeqType),
    WB_SHEET_KEY(u"EndnoteNumbering", skInt, vdseqLowerRoman, 0, vdseqUpperRoman,
                 GetEndnoteNumbering, SetEndnoteNumbering, TVDSeqType),
    WB_SHEET_KEY(u"SidenoteNumbering", skInt, vdseqLowerAlpha, 0, vdseqUpperRoman,
                 GetSidenoteNumbering, SetSidenoteNumbering, TVDSeqType),
    WB_SHEET_KEY(u"FootnotePageReset", skBool, true, 0, 1, GetFootnotePageReset,
                 SetFootnotePageReset, bool),
    WB_SHEET_KEY(u"LineWrapMode", skInt, vdWrapNormal, 0, vdWrapNormal, GetLineWrapMode,
                 SetLineWrapMode, TVDLineWrapMode),
    WB_SHEET_KEY(u"SelectionHandles", skInt, vdshkWedge, 0, vdshkCircle, GetSelectionHandleKind,
                 SetSelectionHandleKind, TVDSelectionHandleKind),
};

#undef WB_COLOR_KEY
#undef WB_SHEET_KEY

void LoadSheetKeys(const TVDIniReader &r, TVDStyle &sheet) {
    for (const TSheetKey &k : SheetKeys) {
        const int32_t value = k.Kind == skBool ? int32_t(r.Bool(k.Key, k.Default != 0))
                                               : r.Range(k.Key, k.Default, k.Lo, k.Hi);
        k.Set(sheet, value);
    }
}

// The state that loading sets, from the sheet that read it.
void TakeLoaded(TVDStyle &target, const TVDStyle &loaded) {
    for (const TSheetKey &k : SheetKeys) {
        k.Set(target, k.Get(loaded));
    }
    target.SetParaStyles(loaded.GetParaStyles());
    target.SetTextStyles(loaded.GetTextStyles());
    TVDListInfos &lists = target.GetListStyles();
    const bool allowIds = lists.ViziVoduAllowAssignListID;
    lists.ViziVoduAllowAssignListID = true;
    target.SetListStyles(loaded.GetListStyles());
    lists.ViziVoduAllowAssignListID = allowIds;
    target.GetStyleTemplates().AssignLoaded(loaded.GetOwnStyleTemplates());
}

} // namespace

void TVDStyle::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section) const {
    ini.EraseSection(section);
    for (const TSheetKey &k : SheetKeys) {
        if (k.Kind == skBool) {
            IniWriteBoolIfNotDefault(ini, section, k.Key, k.Get(*this) != 0, k.Default != 0);
        } else {
            IniWriteIntIfNotDefault(ini, section, k.Key, k.Get(*this), k.Default);
        }
    }
    GetParaStyles().SaveToINI(ini, section);
    GetTextStyles().SaveToINI(ini, section);
    GetListStyles().SaveToINI(ini, section);
    GetStyleTemplates().SaveToINI(ini, section);
}

void TVDStyle::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section) {
    TVDIniReaderScope scope(ini, section);
    if (!ini.SectionExists(section)) {
        throw EViziVoduError(rtl::Format(u"Cannot load styles from \"%s\": section [%s] not found",
                                         {ini.GetFileName(), section}));
    }
    // A sheet of its own reads the section, so that a bad value leaves this sheet as it was.
    TVDStyle loaded(nullptr);
    loaded.SetTextEngine(GetTextEngine());
    LoadSheetKeys(*scope, loaded);
    loaded.GetParaStyles().LoadFromINI(ini, section);
    loaded.GetTextStyles().LoadFromINI(ini, section, loaded.GetJumpCursor());
    loaded.GetListStyles().LoadFromINI(ini, section);
    loaded.BeginLoading();
    loaded.GetOwnStyleTemplates().LoadFromINI(ini, section);
    loaded.Loaded();
    TakeLoaded(*this, loaded);
}

void TVDStyle::SaveINI(const UnicodeString &fileName, const UnicodeString &section) const {
    // Kept in memory and written once: a failed write leaves the old file whole. Written as
    // UTF-8 (with its signature, which readers detect) so that names outside the ANSI code page
    // are kept; the file's other sections are read in their own encoding first.
    rtl::TMemIniFile ini(fileName);
    ini.SetEncoding(rtl::TEncoding::UTF8());
    SaveToINI(ini, section);
    ini.UpdateFile();
}

void TVDStyle::LoadINI(const UnicodeString &fileName, const UnicodeString &section) {
    rtl::TMemIniFile ini(fileName);
    LoadFromINI(ini, section);
}

void TVDStyle::SaveReg(const UnicodeString &baseKey) const {
    rtl::TRegistryIniFile ini(baseKey);
    SaveToINI(ini, u"VDStyle");
}

void TVDStyle::LoadReg(const UnicodeString &baseKey) {
    rtl::TRegistryIniFile ini(baseKey);
    LoadFromINI(ini, u"VDStyle");
}

} // namespace vizivodu
