// The component streaming of list styles, style templates and the style sheet: their
// published-property tables, the properties they define beside them, and the sheet written to
// and read from a component stream.
#include "vizivodu/styles/VDStyle_Streaming_p.h"

#include "platform/gfx/Colors.h"
#include "platform/gfx/ImgList.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Streaming.h"
#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/styles/VDStyle.h"

namespace vizivodu {

namespace {

const UnicodeString BulletFormat = u"\u00b7";

// The level's marker font as the stream holds it: the font is made when a property is read.
class TStreamedMarkerFont final : public rtl::TPersistent {
public:
    explicit TStreamedMarkerFont(TVDListLevel &level) : FLevel(level) {}
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    TVDMarkerFont &Font() { return FLevel.GetFont(); }

private:
    TVDListLevel &FLevel;
};

const rtl::TClassInfo &TStreamedMarkerFont::StaticClassInfo() {
    using T = TStreamedMarkerFont;
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<T>("TVDMarkerFont", &rtl::TPersistent::StaticClassInfo())
            .Int(
                "Charset", [](T &f) { return f.Font().GetCharset(); },
                [](T &f, gfx::TFontCharset v) { f.Font().SetCharset(v); })
            .Default(gfx::TFontCharset(1))
            .Int(
                "Color", [](T &f) { return f.Font().GetColor(); },
                [](T &f, TColor v) { f.Font().SetColor(v); })
            .Default(gfx::clWindowText)
            .Idents(gfx::ColorIdents())
            .Int(
                "Height", [](T &f) { return f.Font().GetHeight(); },
                [](T &f, int32_t v) { f.Font().SetHeight(v); })
            .Stored([](T &f) { return f.Font().GetHeight() >= 0; })
            .Str(
                "Name", [](T &f) { return f.Font().GetName(); },
                [](T &f, const UnicodeString &v) { f.Font().SetName(v); })
            .Stored([](T &f) { return f.Font().GetName() != u"Arial"; })
            .Enum(
                "Pitch", [](T &f) { return f.Font().GetPitch(); },
                [](T &f, gfx::TFontPitch v) { f.Font().SetPitch(v); },
                {"fpDefault", "fpVariable", "fpFixed"})
            .Default(gfx::fpDefault)
            .Int(
                "Size", [](T &f) { return f.Font().GetSize(); },
                [](T &f, int32_t v) { f.Font().SetSize(v); })
            .Stored([](T &f) { return f.Font().GetSize() >= 1 && f.Font().GetSize() != 8; })
            .Set(
                "Style", [](T &f) { return ToStreamed(f.Font().GetStyle()); },
                [](T &f, TStreamedFontStyles v) { f.Font().SetStyle(FromStreamed(v)); },
                FontStyleNames())
            .Default(TStreamedFontStyles{})
            .Build();
    return info;
}

// The document that answers image-list requests for the level's list style, if any.
TCustomVDDataHooks *LevelVDData(const TVDListLevel &level) {
    const auto *levels = dynamic_cast<const TVDListLevelCollection *>(level.GetCollection());
    const TVDListInfo *list = levels ? levels->GetOwner() : nullptr;
    const auto *lists = list ? dynamic_cast<const TVDListInfos *>(list->GetCollection()) : nullptr;
    return lists ? lists->VDData : nullptr;
}

rtl::TWriterProc WriteHexString(std::string hex) {
    return [hex = std::move(hex)](rtl::TWriter &w) { w.WriteString(rtl::Utf8ToUtf16(hex)); };
}

std::string ReadHexString(rtl::TReader &reader) {
    return rtl::Utf16ToUtf8(reader.ReadString());
}

} // namespace

// ---- list styles ----

rtl::TPersistent &TVDListLevel::GetStreamedFont() {
    if (!FStreamedFont) {
        FStreamedFont = std::make_unique<TStreamedMarkerFont>(*this);
    }
    return *FStreamedFont;
}

const rtl::TClassInfo &TVDListLevel::StaticClassInfo() {
    using T = TVDListLevel;
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<T>("TVDListLevel", &rtl::TPersistent::StaticClassInfo())
            .Enum("ListType", &T::GetListType, &T::SetListType,
                  {"vdlstBullet", "vdlstPicture", "vdlstImageList", "vdlstDecimal",
                   "vdlstLowerAlpha", "vdlstUpperAlpha", "vdlstLowerRoman", "vdlstUpperRoman",
                   "vdlstImageListCounter", "vdlstUnicodeBullet"})
            .Default(vdlstBullet)
            .Object("Picture", [](T &l) -> rtl::TPersistent & { return l.GetStreamedPicture(); })
            .Stored(&T::HasPicture)
            .Reference("ImageList", &T::GetImageList, &T::SetImageList)
            .Stored([](T &l) { return !LevelVDData(l); })
            .Int("ImageIndex", &T::GetImageIndex, &T::SetImageIndex)
            .Default(0)
            .Int("LeftIndent", &T::GetLeftIndent, &T::SetLeftIndent)
            .Default(0)
            .Int("FirstIndent", &T::GetFirstIndent, &T::SetFirstIndent)
            .Default(10)
            .Int("MarkerIndent", &T::GetMarkerIndent, &T::SetMarkerIndent)
            .Default(0)
            .Enum("MarkerAlignment", &T::GetMarkerAlignment, &T::SetMarkerAlignment,
                  {"vdmaLeft", "vdmaRight", "vdmaCenter"})
            .Default(vdmaLeft)
            .Object("Font", [](T &l) -> rtl::TPersistent & { return l.GetStreamedFont(); })
            .Stored(&T::HasFont)
            .Set("Options", &T::GetOptions, &T::SetOptions,
                 {"vdloContinuous", "vdloLevelReset", "vdloLegalStyleNumbering"})
            .Default(TVDListLevelOptions{vdloContinuous, vdloLevelReset})
            .Int("StartFrom", &T::GetStartFrom, &T::SetStartFrom)
            .Default(1)
            .Build();
    return info;
}

void TVDListLevel::DefineProperties(rtl::TFiler &filer) {
    TVDCollectionItem::DefineProperties(filer);
    if (TCustomVDDataHooks *vdData = LevelVDData(*this)) {
        filer.DefineProperty(
            "ILTag",
            [this, vdData](rtl::TReader &r) {
                SetImageList(vdData->VDFImageListNeeded(r.ReadInteger()));
            },
            FImageList ? rtl::TWriterProc(
                             [this](rtl::TWriter &w) { w.WriteInteger(FImageList->GetTag()); })
                       : nullptr);
    }
    filer.DefineProperty(
        "FormatStringWCode",
        [this](rtl::TReader &r) { FFormatStringW = VDFHexToUnicode(ReadHexString(r)); },
        FFormatStringW.empty() ? nullptr : WriteHexString(VDFUnicodeToHex(FFormatStringW)));
    const bool storeFormat = FFormatString != BulletFormat;
    filer.DefineProperty(
        "FormatStringCode",
        [this](rtl::TReader &r) {
            FFormatString = rtl::AnsiToUnicode(VDFHexToString(ReadHexString(r)));
        },
        storeFormat ? WriteHexString(VDFStringToHex(rtl::UnicodeToAnsi(FFormatString))) : nullptr);
    filer.DefineProperty(
        "FormatStringCodeW",
        [this](rtl::TReader &r) { FFormatString = VDFHexToUnicode(ReadHexString(r)); },
        storeFormat ? WriteHexString(VDFUnicodeToHex(FFormatString)) : nullptr);
}

const rtl::TClassInfo &TVDListInfo::StaticClassInfo() {
    using T = TVDListInfo;
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<T>("TVDListInfo", &TCustomVDInfo::StaticClassInfo())
            .Object("Levels",
                    [](T &l) -> rtl::TPersistent & { return l.GetLevels().GetStreamed(); })
            .Bool("OneLevelPreview", &T::GetOneLevelPreview, &T::SetOneLevelPreview)
            .Default(false)
            .Build();
    return info;
}

void TVDListInfo::DefineProperties(rtl::TFiler &filer) {
    TCustomVDInfo::DefineProperties(filer);
    filer.DefineProperty(
        "LstID", [this](rtl::TReader &r) { SetListID(r.ReadInteger()); },
        [this](rtl::TWriter &w) { w.WriteInteger(GetListID()); });
}

// ---- style templates ----

const rtl::TClassInfo &TVDStyleTemplate::StaticClassInfo() {
    using T = TVDStyleTemplate;
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<T>("TVDStyleTemplate", &rtl::TPersistent::StaticClassInfo())
            .Object("TextStyle", [](T &t) -> TVDSTFontInfo & { return t.GetTextStyle(); })
            .Object("ParaStyle", [](T &t) -> TVDSTParaInfo & { return t.GetParaStyle(); })
            .Str("Name", &T::GetName, &T::SetName)
            .Int("ParentId", &T::GetParentId, &T::SetParentId)
            .Default(-1)
            .Int("NextId", &T::GetNextId, &T::SetNextId)
            .Default(-1)
            .Enum("Kind", &T::GetKind, &T::SetKind, {"vdstkParaText", "vdstkPara", "vdstkText"})
            .Default(vdstkParaText)
            .Bool("QuickAccess", &T::GetQuickAccess, &T::SetQuickAccess)
            .Default(true)
            .Build();
    return info;
}

void TVDStyleTemplate::DefineProperties(rtl::TFiler &filer) {
    TVDCollectionItem::DefineProperties(filer);
    filer.DefineProperty(
        "IDProp", [this](rtl::TReader &r) { SetIdForLoading(r.ReadInteger()); },
        [this](rtl::TWriter &w) { w.WriteInteger(GetId()); });
    filer.DefineProperty(
        "ValidParaProps",
        [this](rtl::TReader &r) {
            ValidParaProperties = TVDParaInfoProperties::FromBits(
                ReadPropertySetValue(r, ParaPropertyStreamNames(), u"ValidParaProps"));
        },
        ValidParaProperties.Empty() ? nullptr : rtl::TWriterProc([this](rtl::TWriter &w) {
            w.WriteSet(ValidParaProperties.Bits(), ParaPropertyStreamNames());
        }));
    filer.DefineProperty(
        "ValidTextProps",
        [this](rtl::TReader &r) {
            ValidTextProperties = TVDFontInfoProperties::FromBits(
                ReadPropertySetValue(r, TextPropertyStreamNames(), u"ValidTextProps"));
        },
        ValidTextProperties.Empty() ? nullptr : rtl::TWriterProc([this](rtl::TWriter &w) {
            w.WriteSet(ValidTextProperties.Bits(), TextPropertyStreamNames());
        }));
}

// ---- the style sheet ----

#define WB_SHEET_COLOR(name, def)                                                                  \
    Int(#name, &T::Get##name, &T::Set##name).Default(TColor(def)).Idents(gfx::ColorIdents())

const rtl::TClassInfo &TVDStyle::StaticClassInfo() {
    using T = TVDStyle;
    static const std::vector<std::string> seqTypes = {
        "vdseqDecimal", "vdseqLowerAlpha", "vdseqUpperAlpha", "vdseqLowerRoman", "vdseqUpperRoman"};
    static const std::vector<std::string> penStyles = {
        "psSolid", "psDash",        "psDot",       "psDashDot",  "psDashDotDot",
        "psClear", "psInsideFrame", "psUserStyle", "psAlternate"};
    static const rtl::TClassInfo info =
        rtl::TClassBuilder<T>("TVDStyle", &rtl::TComponent::StaticClassInfo())
            .Int("SpacesInTab", &T::GetSpacesInTab, &T::SetSpacesInTab)
            .Default(0)
            .Int("DefTabWidth", &T::GetDefTabWidth, &T::SetDefTabWidth)
            .Default(48)
            .Int("JumpCursor", &T::GetJumpCursor, &T::SetJumpCursor)
            .Default(TCursor(101))
            .Int("LineSelectCursor", &T::GetLineSelectCursor, &T::SetLineSelectCursor)
            .Default(TCursor(106))
            .Bool("FullRedraw", &T::GetFullRedraw, &T::SetFullRedraw)
            .Default(false)
            .Bool("UseSound", &T::GetUseSound, &T::SetUseSound)
            .Default(true)
            .WB_SHEET_COLOR(Color, gfx::clWindow)
            .Int(
                "HoverColor", [](T &s) { return s.GetHoverColor(); }, &T::SetHoverColor)
            .Default(gfx::clNone)
            .Idents(gfx::ColorIdents())
            .WB_SHEET_COLOR(CurrentItemColor, gfx::clNone)
            .WB_SHEET_COLOR(SelColor, gfx::clHighlight)
            .WB_SHEET_COLOR(SelTextColor, gfx::clHighlightText)
            .WB_SHEET_COLOR(InactiveSelColor, gfx::clHighlight)
            .WB_SHEET_COLOR(InactiveSelTextColor, gfx::clHighlightText)
            .WB_SHEET_COLOR(CheckpointColor, gfx::clGreen)
            .WB_SHEET_COLOR(CheckpointEvColor, gfx::clLime)
            .WB_SHEET_COLOR(PageBreakColor, gfx::clBtnShadow)
            .WB_SHEET_COLOR(SoftPageBreakColor, gfx::clBtnFace)
            .WB_SHEET_COLOR(LiveSpellingColor, gfx::clRed)
            .WB_SHEET_COLOR(FloatingLineColor, 0xBDA28A)
            .WB_SHEET_COLOR(SpecialCharactersColor, gfx::clNone)
            .WB_SHEET_COLOR(GridColor, gfx::clBtnFace)
            .WB_SHEET_COLOR(GridReadOnlyColor, gfx::clBtnFace)
            .Enum("GridStyle", &T::GetGridStyle, &T::SetGridStyle, penStyles)
            .Default(gfx::psDot)
            .Enum("GridReadOnlyStyle", &T::GetGridReadOnlyStyle, &T::SetGridReadOnlyStyle,
                  penStyles)
            .Default(gfx::psClear)
            .Enum("SelectionMode", &T::GetSelectionMode, &T::SetSelectionMode,
                  {"vdsmChar", "vdsmWord", "vdsmParagraph"})
            .Default(vdsmWord)
            .Enum("SelectionStyle", &T::GetSelectionStyle, &T::SetSelectionStyle,
                  {"vdssItems", "vdssLines"})
            .Default(vdssItems)
            .Enum("TextBackgroundKind", &T::GetTextBackgroundKind, &T::SetTextBackgroundKind,
                  {"vdtbkSimple", "vdtbkItems", "vdtbkLines"})
            .Default(vdtbkItems)
            .WB_SHEET_COLOR(FieldHighlightColor, gfx::clBtnFace)
            .Enum("FieldHighlightType", &T::GetFieldHighlightType, &T::SetFieldHighlightType,
                  {"vdfhNever", "vdfhCurrent", "vdfhAlways"})
            .Default(vdfhCurrent)
            .WB_SHEET_COLOR(DisabledFontColor, gfx::clNone)
            .Enum("FootnoteNumbering", &T::GetFootnoteNumbering, &T::SetFootnoteNumbering, seqTypes)
            .Default(vdseqDecimal)
            .Enum("EndnoteNumbering", &T::GetEndnoteNumbering, &T::SetEndnoteNumbering, seqTypes)
            .Default(vdseqLowerRoman)
            .Enum("SidenoteNumbering", &T::GetSidenoteNumbering, &T::SetSidenoteNumbering, seqTypes)
            .Default(vdseqLowerAlpha)
            .Bool("FootnotePageReset", &T::GetFootnotePageReset, &T::SetFootnotePageReset)
            .Default(true)
            .Enum("LineWrapMode", &T::GetLineWrapMode, &T::SetLineWrapMode,
                  {"vdWrapAnywhere", "vdWrapSimple", "vdWrapNormal"})
            .Default(vdWrapNormal)
            .Int("DefUnicodeStyle", &T::GetDefUnicodeStyle, &T::SetDefUnicodeStyle)
            .Default(-1)
            .Int("DefCodePage", &T::GetDefCodePage, &T::SetDefCodePage)
            .Default(TVDCodePage(0))
            .Object("InvalidPicture",
                    [](T &s) -> rtl::TPersistent & { return s.GetStreamedInvalidPicture(); })
            .Enum("Units", &T::GetUnits, &T::SetUnits, {"vdstuPixels", "vdstuTwips"})
            .Default(vdstuPixels)
            .Enum("FontQuality", &T::GetFontQuality, &T::SetFontQuality,
                  {"fqDefault", "fqDraft", "fqProof", "fqNonAntialiased", "fqAntialiased",
                   "fqClearType", "fqClearTypeNatural"})
            .Default(fqDefault)
            .Enum("SelectionHandleKind", &T::GetSelectionHandleKind, &T::SetSelectionHandleKind,
                  {"vdshkWedge", "vdshkCircle"})
            .Default(vdshkWedge)
            .Enum("TextEngine", &T::GetTextEngine, &T::SetTextEngine,
                  {"vdteWindows", "vdteUniscribe"})
            .Default(vdteUniscribe)
            .Object(
                "StyleTemplates",
                [](T &s) -> rtl::TPersistent & { return s.GetOwnStyleTemplates().GetStreamed(); })
            .Stored([](T &s) { return !s.GetMainVDStyle(); })
            .Reference("MainVDStyle", &T::GetMainVDStyle, &T::SetMainVDStyle)
            .Object("TextStyles",
                    [](T &s) -> rtl::TPersistent & { return s.GetTextStyles().GetStreamed(); })
            .Object("ParaStyles",
                    [](T &s) -> rtl::TPersistent & { return s.GetParaStyles().GetStreamed(); })
            .Object("ListStyles",
                    [](T &s) -> rtl::TPersistent & { return s.GetListStyles().GetStreamed(); })
            .Build();
    return info;
}

#undef WB_SHEET_COLOR

namespace {

// Everything the stream stores of a sheet, copied from source; the name and the main sheet
// first, the only parts that can be refused, so that a refusal changes nothing.
void TakeStreamed(TVDStyle &target, TVDStyle &source) {
    TVDStyle *oldMain = target.GetMainVDStyle();
    target.SetMainVDStyle(source.GetMainVDStyle());
    try {
        target.SetName(source.GetName());
    } catch (const rtl::Exception &) {
        target.SetMainVDStyle(oldMain);
        throw;
    }
    for (const rtl::TPropInfo &p : TVDStyle::StaticClassInfo().Properties) {
        if (p.Kind == rtl::tkString) {
            p.SetStr(target, p.GetStr(source));
        } else if (p.Kind != rtl::tkClass && p.Kind != rtl::tkFloat) {
            p.SetOrd(target, p.GetOrd(source));
        }
    }
    target.SetTag(source.GetTag());
    target.SetInvalidPicture(&source.GetInvalidPicture());
    target.DefaultUnicodeStyles = source.DefaultUnicodeStyles;
    target.IgnoreStyleTemplates = source.IgnoreStyleTemplates;
    target.SetParaStyles(source.GetParaStyles());
    target.SetTextStyles(source.GetTextStyles());
    TVDListInfos &lists = target.GetListStyles();
    const bool allowIds = lists.ViziVoduAllowAssignListID;
    lists.ViziVoduAllowAssignListID = true;
    target.SetListStyles(source.GetListStyles());
    lists.ViziVoduAllowAssignListID = allowIds;
    target.GetOwnStyleTemplates().AssignLoaded(source.GetOwnStyleTemplates());
}

} // namespace

void TVDStyle::SaveToComponentStream(rtl::TStream &stream) {
    rtl::TWriter(stream).WriteRootComponent(*this);
}

void TVDStyle::LoadFromComponentStream(rtl::TStream &stream) {
    // A copy of this sheet reads the stream, so that what the stream does not hold stays as it
    // is here and a stream that fails half-way leaves this sheet untouched.
    TVDStyle loaded(nullptr);
    TakeStreamed(loaded, *this);
    loaded.BeginLoading();
    rtl::TReader(stream).ReadRootComponent(loaded);
    TakeStreamed(*this, loaded);
}

} // namespace vizivodu
