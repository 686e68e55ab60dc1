// The component streaming of text and paragraph styles: their published-property tables (the
// base records, text styles, paragraph styles with their borders, backgrounds and tab stops)
// and the properties they define beside them.
#include "vizivodu/styles/VDStyle_Streaming_p.h"

#include "platform/gfx/Colors.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Streaming.h"
#include "vizivodu/styles/VDStyle.h"

#include <limits>

namespace vizivodu {

namespace {

bool IsTemplateStyle(const TCustomVDInfo &style) {
    return dynamic_cast<const TVDSTFontInfo *>(&style) ||
           dynamic_cast<const TVDSTParaInfo *>(&style) ||
           dynamic_cast<const TVDSTListInfo *>(&style);
}

// The record properties the styles of templates redeclare as not valid there.
void CheckValidHere(const TCustomVDInfo &style) {
    if (IsTemplateStyle(style)) {
        throw EViziVoduError(u"This property is not valid here");
    }
}

bool StoresRecordProperties(const TCustomVDInfo &style) {
    return !IsTemplateStyle(style);
}

bool StoresTemplateIds(const TCustomVDInfo &style) {
    const TVDStyle *sheet = style.GetVDStyle();
    return !sheet || !sheet->IgnoreStyleTemplates;
}

} // namespace

// ---- property sets as set values ----

const std::vector<std::string> &TextPropertyStreamNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> result;
        for (int i = 0; i <= vdfiCustom5; ++i) {
            result.push_back("vdfi" + rtl::Utf16ToUtf8(TextPropertiesToString(
                                          {static_cast<TVDFontInfoProperty>(i)})));
        }
        return result;
    }();
    return names;
}

const std::vector<std::string> &ParaPropertyStreamNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> result;
        for (int i = 0; i <= vdpiCustom5; ++i) {
            result.push_back("vdpi" + rtl::Utf16ToUtf8(ParaPropertiesToString(
                                          {static_cast<TVDParaInfoProperty>(i)})));
        }
        return result;
    }();
    return names;
}

uint64_t ReadPropertySetValue(rtl::TReader &reader, const std::vector<std::string> &names,
                              const char16_t *propertyName) {
    if (reader.NextValue() != rtl::vaSet) {
        throw EViziVoduError(rtl::Format(u"Invalid value of property %s", {propertyName}));
    }
    reader.ReadValue();
    uint64_t bits = 0;
    for (;;) {
        const std::string name = rtl::Utf16ToUtf8(reader.ReadStr());
        if (name.empty()) {
            return bits;
        }
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i] == name) {
                bits |= uint64_t(1) << i;
            }
        }
    }
}

// ---- records ----

const rtl::TClassInfo &TCustomVDInfo::StaticClassInfo() {
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<TCustomVDInfo>("TCustomVDInfo", &rtl::TPersistent::StaticClassInfo())
            .Int("BaseStyleNo", &TCustomVDInfo::GetBaseStyleNo,
                 [](TCustomVDInfo &s, int32_t v) {
                     CheckValidHere(s);
                     s.SetBaseStyleNo(v);
                 })
            .Default(-1)
            .Stored(&StoresRecordProperties)
            .Str("StyleName", &TCustomVDInfo::GetStyleName,
                 [](TCustomVDInfo &s, const UnicodeString &v) {
                     CheckValidHere(s);
                     s.SetStyleName(v);
                 })
            .Stored(&StoresRecordProperties)
            .Bool("Standard", &TCustomVDInfo::GetStandard,
                  [](TCustomVDInfo &s, bool v) {
                      CheckValidHere(s);
                      s.SetStandard(v);
                  })
            .Default(true)
            .Stored(&StoresRecordProperties)
            .Build();
    return info;
}

const rtl::TClassInfo &TCustomFontOrParaVDInfo::StaticClassInfo() {
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<TCustomFontOrParaVDInfo>("TCustomFontOrParaVDInfo",
                                                    &TCustomVDInfo::StaticClassInfo())
            .Int("StyleTemplateId", &TCustomFontOrParaVDInfo::GetStyleTemplateId,
                 [](TCustomFontOrParaVDInfo &s, TVDStyleTemplateId v) {
                     CheckValidHere(s);
                     s.SetStyleTemplateId(v);
                 })
            .Stored([](TCustomFontOrParaVDInfo &s) {
                return StoresRecordProperties(s) && s.GetStyleTemplateId() > 0 &&
                       StoresTemplateIds(s);
            })
            .Build();
    return info;
}

// ---- text styles ----

const rtl::TClassInfo &TCustomVDFontInfo::StaticClassInfo() {
    using T = TCustomVDFontInfo;
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<T>("TCustomVDFontInfo", &TCustomFontOrParaVDInfo::StaticClassInfo())
            .Enum("BiDiMode", &T::GetBiDiMode, &T::SetBiDiMode, BiDiModeNames())
            .Default(vdbdUnspecified)
            .Int("JumpCursor", &T::GetJumpCursor, &T::SetJumpCursor)
            .Default(TCursor(101))
            // A stream's empty name keeps the style's: an empty name is never written back,
            // so reading it again would give the default face instead.
            .Str("FontName", &T::GetFontName,
                 [](T &f, const UnicodeString &v) {
                     if (!v.empty()) {
                         f.SetFontName(v);
                     }
                 })
            .Int("SizeDouble", &T::GetSizeDouble, &T::SetSizeDouble)
            .Default(20)
            .Int("Color", &T::GetColor, &T::SetColor)
            .Default(gfx::clWindowText)
            .Idents(gfx::ColorIdents())
            .Int("BackColor", &T::GetBackColor, &T::SetBackColor)
            .Default(gfx::clNone)
            .Idents(gfx::ColorIdents())
            .Int("HoverColor", &T::GetHoverColor, &T::SetHoverColor)
            .Default(gfx::clNone)
            .Idents(gfx::ColorIdents())
            .Int("HoverBackColor", &T::GetHoverBackColor, &T::SetHoverBackColor)
            .Default(gfx::clNone)
            .Idents(gfx::ColorIdents())
            .Int("UnderlineColor", &T::GetUnderlineColor, &T::SetUnderlineColor)
            .Default(gfx::clNone)
            .Idents(gfx::ColorIdents())
            .Int("HoverUnderlineColor", &T::GetHoverUnderlineColor, &T::SetHoverUnderlineColor)
            .Default(gfx::clNone)
            .Idents(gfx::ColorIdents())
            .Enum("UnderlineType", &T::GetUnderlineType, &T::SetUnderlineType,
                  {"vdutNormal", "vdutThick", "vdutDouble", "vdutDotted", "vdutThickDotted",
                   "vdutDashed", "vdutThickDashed", "vdutLongDashed", "vdutThickLongDashed",
                   "vdutDashDotted", "vdutThickDashDotted", "vdutDashDotDotted",
                   "vdutThickDashDotDotted"})
            .Default(vdutNormal)
            .Set("HoverEffects", &T::GetHoverEffects, &T::SetHoverEffects, {"vdheUnderline"})
            .Default(TVDHoverEffects{})
            .Set(
                "Style", [](T &f) { return ToStreamed(f.GetStyle()); },
                [](T &f, TStreamedFontStyles v) { f.SetStyle(FromStreamed(v)); }, FontStyleNames())
            .Default(TStreamedFontStyles{})
            .Set("StyleEx", &T::GetStyleEx, &T::SetStyleEx, {"vdfsOverline", "vdfsAllCaps"})
            .Default(TVDFontStyles{})
            .Int("VShift", &T::GetVShift, &T::SetVShift)
            .Default(0)
            .Int("Charset", &T::GetCharset, &T::SetCharset)
            .Default(gfx::TFontCharset(1))
            .Set("Protection", &T::GetProtection, &T::SetProtection,
                 {"vdprStyleProtect", "vdprStyleSplitProtect", "vdprModifyProtect",
                  "vdprDeleteProtect", "vdprConcateProtect", "vdprVDFInsertProtect",
                  "vdprDoNotAutoSwitch", "vdprParaStartProtect", "vdprSticking", "vdprSticking2",
                  "vdprSticking3", "vdprStickToTop", "vdprStickToBottom"})
            .Default(TVDProtectOptions{})
            .Set("Options", &T::GetOptions, &T::SetOptions,
                 {"vdteoHTMLCode", "vdteoRTFCode", "vdteoDocXCode", "vdteoDocXInRunCode",
                  "vdteoHidden"})
            .Default(TVDTextOptions{})
            .Int("CharScale", &T::GetCharScale, &T::SetCharScale)
            .Default(100)
            .Int("CharSpacing", &T::GetCharSpacing, &T::SetCharSpacing)
            .Default(0)
            .Enum("SubSuperScriptType", &T::GetSubSuperScriptType, &T::SetSubSuperScriptType,
                  {"vdsssNormal", "vdsssSubscript", "vdsssSuperScript"})
            .Default(vdsssNormal)
            .Int("ParaStyleTemplateId", &T::GetParaStyleTemplateId, &T::SetParaStyleTemplateId)
            .Default(-1)
            .Build();
    return info;
}

void TCustomVDFontInfo::DefineProperties(rtl::TFiler &filer) {
    TCustomFontOrParaVDInfo::DefineProperties(filer);
    filer.DefineProperty(
        "SingleSymbols",
        [this](rtl::TReader &reader) {
            if (reader.ReadBoolean()) {
                FProtection.Include(vdprStyleProtect);
                FProtection.Include(vdprDoNotAutoSwitch);
            }
        },
        nullptr);
    const bool even = FSizeDouble % 2 == 0;
    filer.DefineProperty(
        "Size",
        [this](rtl::TReader &reader) {
            const int64_t size = reader.ReadInteger();
            // Twice the size must still be an Integer.
            if (size > std::numeric_limits<int32_t>::max() / 2 ||
                size < std::numeric_limits<int32_t>::min() / 2) {
                throw rtl::EReadError(std::string_view("Invalid property value"));
            }
            FSizeDouble = int32_t(size * 2);
        },
        even ? rtl::TWriterProc([this](rtl::TWriter &w) { w.WriteInteger(FSizeDouble / 2); })
             : nullptr);
    filer.DefineProperty(
        "SizeDouble", [this](rtl::TReader &reader) { FSizeDouble = reader.ReadInteger(); },
        even ? nullptr
             : rtl::TWriterProc([this](rtl::TWriter &w) { w.WriteInteger(FSizeDouble); }));
}

const rtl::TClassInfo &TFontInfo::StaticClassInfo() {
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<TFontInfo>("TFontInfo", &TCustomVDFontInfo::StaticClassInfo())
            .Bool("Unicode", &TFontInfo::GetUnicode, &TFontInfo::SetUnicode)
            .Bool("Jump", &TFontInfo::GetJump, &TFontInfo::SetJump)
            .Default(false)
            .Int("NextStyleNo", &TFontInfo::GetNextStyleNo, &TFontInfo::SetNextStyleNo)
            .Default(-1)
            .Build();
    return info;
}

void TFontInfo::DefineProperties(rtl::TFiler &filer) {
    TCustomVDFontInfo::DefineProperties(filer);
    filer.DefineProperty(
        "ModifiedProps",
        [this](rtl::TReader &reader) {
            ModifiedProperties = TVDFontInfoProperties::FromBits(
                ReadPropertySetValue(reader, TextPropertyStreamNames(), u"ModifiedProps (text)"));
        },
        !ModifiedProperties.Empty() && StoresTemplateIds(*this)
            ? rtl::TWriterProc([this](rtl::TWriter &w) {
                  w.WriteSet(ModifiedProperties.Bits(), TextPropertyStreamNames());
              })
            : nullptr);
}

// ---- borders, backgrounds, tab stops ----

const rtl::TClassInfo &TVDRect::StaticClassInfo() {
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<TVDRect>("TVDRect", &rtl::TPersistent::StaticClassInfo())
            .Int(
                "Left", [](TVDRect &r) { return r.Left; },
                [](TVDRect &r, TVDStyleLength v) { r.Left = v; })
            .Default(0)
            .Int(
                "Right", [](TVDRect &r) { return r.Right; },
                [](TVDRect &r, TVDStyleLength v) { r.Right = v; })
            .Default(0)
            .Int(
                "Top", [](TVDRect &r) { return r.Top; },
                [](TVDRect &r, TVDStyleLength v) { r.Top = v; })
            .Default(0)
            .Int(
                "Bottom", [](TVDRect &r) { return r.Bottom; },
                [](TVDRect &r, TVDStyleLength v) { r.Bottom = v; })
            .Default(0)
            .Build();
    return info;
}

const rtl::TClassInfo &TVDBooleanRect::StaticClassInfo() {
    using T = TVDBooleanRect;
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<T>("TVDBooleanRect", &rtl::TPersistent::StaticClassInfo())
            .Bool(
                "Left", [](T &r) { return r.Left; }, [](T &r, bool v) { r.Left = v; })
            .Default(true)
            .Bool(
                "Top", [](T &r) { return r.Top; }, [](T &r, bool v) { r.Top = v; })
            .Default(true)
            .Bool(
                "Right", [](T &r) { return r.Right; }, [](T &r, bool v) { r.Right = v; })
            .Default(true)
            .Bool(
                "Bottom", [](T &r) { return r.Bottom; }, [](T &r, bool v) { r.Bottom = v; })
            .Default(true)
            .Build();
    return info;
}

const rtl::TClassInfo &TVDBorder::StaticClassInfo() {
    using T = TVDBorder;
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<T>("TVDBorder", &rtl::TPersistent::StaticClassInfo())
            .Int(
                "Color", [](T &b) { return b.Color; }, [](T &b, TColor v) { b.Color = v; })
            .Default(gfx::clWindowText)
            .Idents(gfx::ColorIdents())
            .Enum(
                "Style", [](T &b) { return b.Style; }, [](T &b, TVDBorderStyle v) { b.Style = v; },
                {"vdbNone", "vdbSingle", "vdbDouble", "vdbTriple", "vdbThickInside",
                 "vdbThickOutside"})
            .Default(vdbNone)
            .Int(
                "Width", [](T &b) { return b.Width; }, [](T &b, TVDStyleLength v) { b.Width = v; })
            .Default(1)
            .Int(
                "InternalWidth", [](T &b) { return b.InternalWidth; },
                [](T &b, TVDStyleLength v) { b.InternalWidth = v; })
            .Default(1)
            .Object("VisibleBorders", [](T &b) -> TVDBooleanRect & { return b.VisibleBorders; })
            .Object("BorderOffsets", [](T &b) -> TVDRect & { return b.GetBorderOffsets(); })
            .Build();
    return info;
}

const rtl::TClassInfo &TVDBackgroundRect::StaticClassInfo() {
    using T = TVDBackgroundRect;
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<T>("TVDBackgroundRect", &rtl::TPersistent::StaticClassInfo())
            .Object("BorderOffsets", [](T &b) -> TVDRect & { return b.GetBorderOffsets(); })
            .Int(
                "Color", [](T &b) { return b.Color; }, [](T &b, TColor v) { b.Color = v; })
            .Default(gfx::clNone)
            .Idents(gfx::ColorIdents())
            .Int(
                "Opacity", [](T &b) { return b.Opacity; },
                [](T &b, TVDOpacity v) { b.Opacity = v; })
            .Default(100000)
            .Build();
    return info;
}

const rtl::TClassInfo &TVDTabInfo::StaticClassInfo() {
    using T = TVDTabInfo;
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<T>("TVDTabInfo", &rtl::TPersistent::StaticClassInfo())
            .Int("Position", &T::GetPosition, &T::SetPosition)
            .Enum("Align", &T::GetAlign, &T::SetAlign, {"vdtaLeft", "vdtaRight", "vdtaCenter"})
            .Default(vdtaLeft)
            .Str("Leader", &T::GetLeader, &T::SetLeader)
            .Build();
    return info;
}

// ---- paragraph styles ----

const rtl::TClassInfo &TCustomVDParaInfo::StaticClassInfo() {
    using T = TCustomVDParaInfo;
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<T>("TCustomVDParaInfo", &TCustomFontOrParaVDInfo::StaticClassInfo())
            .Int("FirstIndent", &T::GetFirstIndent, &T::SetFirstIndent)
            .Default(0)
            .Int("LeftIndent", &T::GetLeftIndent, &T::SetLeftIndent)
            .Default(0)
            .Int("RightIndent", &T::GetRightIndent, &T::SetRightIndent)
            .Default(0)
            .Int("SpaceBefore", &T::GetSpaceBefore, &T::SetSpaceBefore)
            .Default(0)
            .Int("SpaceAfter", &T::GetSpaceAfter, &T::SetSpaceAfter)
            .Default(0)
            .Int("LineSpacing", &T::GetLineSpacing, &T::SetLineSpacing)
            .Default(100)
            .Enum(
                "LineSpacingType", &T::GetLineSpacingType, &T::SetLineSpacingType,
                {"vdlsPercent", "vdlsSpaceBetween", "vdlsLineHeightAtLeast", "vdlsLineHeightExact"})
            .Default(vdlsPercent)
            .Enum("Alignment", &T::GetAlignment, &T::SetAlignment,
                  {"vdaLeft", "vdaRight", "vdaCenter", "vdaJustify", "vdaDistribute"})
            .Default(vdaLeft)
            .Enum("LastLineAlignment", &T::GetLastLineAlignment, &T::SetLastLineAlignment,
                  {"vdllaDefault", "vdllaLeft", "vdllaRight", "vdllaCenter", "vdllaJustify"})
            .Default(vdllaDefault)
            .Object("Border", [](T &p) -> TVDBorder & { return p.GetBorder(); })
            .Object("Background", [](T &p) -> TVDBackgroundRect & { return p.GetBackground(); })
            .Set("Options", &T::GetOptions, &T::SetOptions,
                 {"vdpaoNoWrap", "vdpaoReadOnly", "vdpaoStyleProtect", "vdpaoDoNotWantReturns",
                  "vdpaoKeepLinesTogether", "vdpaoKeepWithNext", "vdpaoWidowOrphanControl"})
            .Default(TVDParaOptions{})
            .Enum("BiDiMode", &T::GetBiDiMode, &T::SetBiDiMode, BiDiModeNames())
            .Default(vdbdUnspecified)
            .Int("OutlineLevel", &T::GetOutlineLevel, &T::SetOutlineLevel)
            .Default(0)
            .Object("Tabs", [](T &p) -> rtl::TPersistent & { return p.GetTabs().GetStreamed(); })
            .Build();
    return info;
}

const rtl::TClassInfo &TParaInfo::StaticClassInfo() {
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<TParaInfo>("TParaInfo", &TCustomVDParaInfo::StaticClassInfo())
            .Int("NextParaNo", &TParaInfo::GetNextParaNo, &TParaInfo::SetNextParaNo)
            .Default(-1)
            .Int("DefStyleNo", &TParaInfo::GetDefStyleNo, &TParaInfo::SetDefStyleNo)
            .Default(-1)
            .Build();
    return info;
}

void TParaInfo::DefineProperties(rtl::TFiler &filer) {
    TCustomVDParaInfo::DefineProperties(filer);
    filer.DefineProperty(
        "ModifiedProps",
        [this](rtl::TReader &reader) {
            ModifiedProperties = TVDParaInfoProperties::FromBits(
                ReadPropertySetValue(reader, ParaPropertyStreamNames(), u"ModifiedProps (text)"));
        },
        !ModifiedProperties.Empty() && StoresTemplateIds(*this)
            ? rtl::TWriterProc([this](rtl::TWriter &w) {
                  w.WriteSet(ModifiedProperties.Bits(), ParaPropertyStreamNames());
              })
            : nullptr);
}

TStreamedFontStyles ToStreamed(gfx::TFontStyles styles) {
    TStreamedFontStyles result;
    for (gfx::TFontStyle s : {gfx::fsBold, gfx::fsItalic, gfx::fsUnderline, gfx::fsStrikeOut}) {
        if (styles.Contains(s)) {
            result.Include(s);
        }
    }
    return result;
}

gfx::TFontStyles FromStreamed(TStreamedFontStyles styles) {
    gfx::TFontStyles result;
    for (gfx::TFontStyle s : {gfx::fsBold, gfx::fsItalic, gfx::fsUnderline, gfx::fsStrikeOut}) {
        if (styles.Contains(s)) {
            result.Include(s);
        }
    }
    return result;
}

const std::vector<std::string> &FontStyleNames() {
    static const std::vector<std::string> names = {"fsBold", "fsItalic", "fsUnderline",
                                                   "fsStrikeOut"};
    return names;
}

const std::vector<std::string> &BiDiModeNames() {
    static const std::vector<std::string> names = {"vdbdUnspecified", "vdbdLeftToRight",
                                                   "vdbdRightToLeft"};
    return names;
}

} // namespace vizivodu
