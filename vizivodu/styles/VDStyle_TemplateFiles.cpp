// Style templates in INI sections and in stand-alone template files (VDST): the template and
// collection keys, the property-set texts and the file's "Styles" section.
#include "vizivodu/styles/VDStyle_Templates.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Ini.h"
#include "vizivodu/styles/VDStyle_Ini_p.h"

#include <array>

namespace vizivodu {

namespace {

// The member names of the two property enumerations without their "vdfi"/"vdpi" prefix, in
// enumeration order.
constexpr std::array<const char16_t *, 37> TextPropertyNames = {
    u"FontName",
    u"Size",
    u"Charset",
    u"Unicode",
    u"Bold",
    u"Italic",
    u"Underline",
    u"Strikeout",
    u"Overline",
    u"AllCaps",
    u"SubSuperScriptType",
    u"VShift",
    u"Color",
    u"BackColor",
    u"Jump",
    u"HoverBackColor",
    u"HoverColor",
    u"HoverUnderline",
    u"JumpCursor",
    u"NextStyleNo",
    u"Protection",
    u"CharScale",
    u"BaseStyleNo",
    u"BiDiMode",
    u"CharSpacing",
    u"HTMLCode",
    u"RTFCode",
    u"DocXCode",
    u"Hidden",
    u"UnderlineType",
    u"UnderlineColor",
    u"HoverUnderlineColor",
    u"Custom",
    u"Custom2",
    u"Custom3",
    u"Custom4",
    u"Custom5",
};
constexpr std::array<const char16_t *, 44> ParaPropertyNames = {
    u"FirstIndent",
    u"LeftIndent",
    u"RightIndent",
    u"SpaceBefore",
    u"SpaceAfter",
    u"Alignment",
    u"LastLineAlignment",
    u"NextParaNo",
    u"DefStyleNo",
    u"LineSpacing",
    u"LineSpacingType",
    u"Background_Color",
    u"Background_Opacity",
    u"Background_BO_Left",
    u"Background_BO_Top",
    u"Background_BO_Right",
    u"Background_BO_Bottom",
    u"Border_Color",
    u"Border_Style",
    u"Border_Width",
    u"Border_InternalWidth",
    u"Border_BO_Left",
    u"Border_BO_Top",
    u"Border_BO_Right",
    u"Border_BO_Bottom",
    u"Border_Vis_Left",
    u"Border_Vis_Top",
    u"Border_Vis_Right",
    u"Border_Vis_Bottom",
    u"NoWrap",
    u"ReadOnly",
    u"StyleProtect",
    u"DoNotWantReturns",
    u"KeepLinesTogether",
    u"KeepWithNext",
    u"WidowOrphanControl",
    u"Tabs",
    u"BiDiMode",
    u"OutlineLevel",
    u"Custom",
    u"Custom2",
    u"Custom3",
    u"Custom4",
    u"Custom5",
};

template <class Set, size_t N>
UnicodeString PropertiesToString(Set set, const std::array<const char16_t *, N> &names) {
    UnicodeString result;
    for (size_t i = 0; i < N; ++i) {
        if ((set.Bits() >> i) & 1) {
            if (!result.empty()) {
                result += u' ';
            }
            result += names[i];
        }
    }
    return result;
}

template <class Set, size_t N>
Set StringToProperties(const UnicodeString &text, const std::array<const char16_t *, N> &names) {
    Set result;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u' ', start);
        if (end == UnicodeString::npos) {
            end = text.size();
        }
        const std::u16string_view word(text.data() + start, end - start);
        for (size_t i = 0; i < N; ++i) {
            if (word == names[i]) {
                result += Set::FromBits(uint64_t(1) << i);
            }
        }
        start = end + 1;
    }
    return result;
}

constexpr const char16_t *VDSTSection = u"Styles";

// Template i's keys carry its number after "ST" (its name under ST0Name, its text style's size
// under ST0FontSize).
UnicodeString TemplateFormat(Integer i) {
    return u"ST" + rtl::IntToStr(i) + u"%s";
}

} // namespace

UnicodeString TextPropertiesToString(TVDFontInfoProperties properties) {
    return PropertiesToString(properties, TextPropertyNames);
}

UnicodeString ParaPropertiesToString(TVDParaInfoProperties properties) {
    return PropertiesToString(properties, ParaPropertyNames);
}

TVDFontInfoProperties StringToTextProperties(const UnicodeString &text) {
    return StringToProperties<TVDFontInfoProperties>(text, TextPropertyNames);
}

TVDParaInfoProperties StringToParaProperties(const UnicodeString &text) {
    return StringToProperties<TVDParaInfoProperties>(text, ParaPropertyNames);
}

// ---- One template ------------------------------------------------------------------------

void TVDStyleTemplate::SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                                 const UnicodeString &fs) const {
    ini.WriteInteger(section, IniKey(fs, u"Id"), GetId());
    ini.WriteString(section, IniKey(fs, u"Name"), FName);
    ini.WriteInteger(section, IniKey(fs, u"ParentId"), FParentId);
    ini.WriteInteger(section, IniKey(fs, u"NextId"), FNextId);
    ini.WriteInteger(section, IniKey(fs, u"Kind"), FKind);
    IniWriteBoolIfNotDefault(ini, section, IniKey(fs, u"QuickAccess"), FQuickAccess, true);
    ini.WriteString(section, IniKey(fs, u"ValidTextProperties"),
                    TextPropertiesToString(ValidTextProperties));
    ini.WriteString(section, IniKey(fs, u"ValidParaProperties"),
                    ParaPropertiesToString(ValidParaProperties));
    const UnicodeString own = IniKey(fs, u"");
    FTextStyle->SaveToINI(ini, section, own + u"Font%s", ValidTextProperties);
    FParaStyle->SaveToINI(ini, section, own + u"Para%s", ValidParaProperties);
}

void TVDStyleTemplate::LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                                   const UnicodeString &fs) {
    TVDIniReaderScope scope(ini, section);
    const TVDIniReader &r = *scope;
    FId = r.Int(IniKey(fs, u"Id"), -1);
    SetName(r.Str(IniKey(fs, u"Name"), u""));
    // Links and kind are taken as stored: the links are made once every template is read, and
    // the stored kind wins over the rule the name setter applied.
    FParentId = r.Int(IniKey(fs, u"ParentId"), -1);
    FNextId = r.Int(IniKey(fs, u"NextId"), -1);
    FKind =
        TVDStyleTemplateKind(r.Range(IniKey(fs, u"Kind"), vdstkParaText, vdstkParaText, vdstkText));
    FQuickAccess = r.Bool(IniKey(fs, u"QuickAccess"), true);
    ValidTextProperties = StringToTextProperties(r.Str(IniKey(fs, u"ValidTextProperties"), u""));
    ValidParaProperties = StringToParaProperties(r.Str(IniKey(fs, u"ValidParaProperties"), u""));
    const UnicodeString own = IniKey(fs, u"");
    FTextStyle->LoadFromINI(ini, section, own + u"Font%s", false, 101);
    FParaStyle->LoadFromINI(ini, section, own + u"Para%s");
}

// ---- The collection ----------------------------------------------------------------------

void TVDStyleTemplateCollection::SaveToINI(rtl::TCustomIniFile &ini,
                                           const UnicodeString &section) const {
    ini.WriteInteger(section, u"STItemCount", GetCount());
    for (Integer i = 0; i < GetCount(); ++i) {
        GetItem(i).SaveToINI(ini, section, TemplateFormat(i));
    }
}

void TVDStyleTemplateCollection::LoadFromINI(rtl::TCustomIniFile &ini,
                                             const UnicodeString &section) {
    TVDIniReaderScope scope(ini, section);
    const int32_t count = (*scope).Count(u"STItemCount", 0);
    Clear();
    for (Integer i = 0; i < count; ++i) {
        Add().LoadFromINI(ini, section, TemplateFormat(i));
    }
}

// ---- Template files ----------------------------------------------------------------------

bool TVDStyleTemplateCollection::SaveToVDST(const UnicodeString &fileName,
                                            TVDStyleUnits units) const {
    try {
        // Kept in memory and written once: a failed write leaves the old file whole; UTF-8
        // keeps names outside the ANSI code page.
        rtl::TMemIniFile file(fileName);
        file.SetEncoding(rtl::TEncoding::UTF8());
        file.EraseSection(VDSTSection);
        SaveToINI(file, VDSTSection);
        file.WriteInteger(VDSTSection, u"Units", units);
        file.UpdateFile();
        return true;
    } catch (const rtl::Exception &) {
        return false;
    }
}

void TVDStyleTemplateCollection::LoadVDST(const UnicodeString &fileName, TVDStyleUnits units) {
    rtl::TMemIniFile file(fileName);
    TVDIniReaderScope scope(file, VDSTSection);
    const TVDIniReader &r = *scope;
    if (!file.SectionExists(VDSTSection)) {
        throw EViziVoduError(rtl::Format(u"Cannot load style templates from \"%s\": section "
                                         u"[%s] not found",
                                         {fileName, UnicodeString(VDSTSection)}));
    }
    // Read into a collection of its own, so that a bad file leaves these templates alone.
    TVDStyleTemplateCollection loaded(nullptr);
    loaded.LoadFromINI(file, VDSTSection);
    const auto fileUnits = TVDStyleUnits(r.Range(u"Units", vdstuPixels, vdstuPixels, vdstuTwips));
    loaded.UpdateReferences();
    if (fileUnits != units) {
        loaded.ConvertToDifferentUnits(units);
    }
    AssignLoaded(loaded);
}

void TVDStyleTemplateCollection::AssignLoaded(const TVDStyleTemplateCollection &source) {
    if (&source == this) {
        return;
    }
    // Items assigned from another collection take no links, so no link check can refuse one
    // half-way; the stored fields follow.
    TVDCollection::Assign(source);
    for (Integer i = 0; i < GetCount(); ++i) {
        TVDStyleTemplate &t = GetItem(i);
        const TVDStyleTemplate &s = source.GetItem(i);
        t.FId = s.GetId();
        t.FParentId = s.FParentId;
        t.FNextId = s.FNextId;
        t.FKind = s.FKind;
    }
    UpdateReferences();
}

bool TVDStyleTemplateCollection::LoadFromVDST(const UnicodeString &fileName, TVDStyleUnits units) {
    try {
        LoadVDST(fileName, units);
        return true;
    } catch (const rtl::Exception &) {
        return false;
    }
}

} // namespace vizivodu
