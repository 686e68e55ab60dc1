// Page number and page count fields: number texts, properties, print texts and field output.
#include "vizivodu/document/VDFieldItems.h"

#include "vizivodu/VDStartup_p.h"
#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/formats/common/VDFuncs_OOXML.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/styles/VDFuncs.h"

#include "platform/rtl/StrUtils.h"

namespace vizivodu {

VD_DEFINE_ITEM_CLASS(TCustomVDFieldItemInfo, TVDLabelItemInfo);
const TVDItemClassInfo TCustomVDPageNumberItemInfo::ClassInfo("TCustomVDPageNumberItemInfo",
                                                              &TCustomVDFieldItemInfo::ClassInfo,
                                                              nullptr);
VD_DEFINE_ITEM_CLASS(TVDPageNumberItemInfo, TCustomVDPageNumberItemInfo);
VD_DEFINE_ITEM_CLASS(TVDPageCountItemInfo, TCustomVDPageNumberItemInfo);

namespace {

constexpr int32_t kNumberTypeProperty = 600;

} // namespace

rtl::UnicodeString TCustomVDPageNumberItemInfo::GetNumberText(int32_t number) const {
    switch (NumberType) {
    case vdpntDefault:
    case vdpntDecimal:
        return rtl::IntToStr(number);
    case vdpntDecimalDash:
        return u"- " + rtl::IntToStr(number) + u" -";
    case vdpntLowerAlpha:
        return rtl::AnsiLowerCase(IntToLetters(number));
    case vdpntUpperAlpha:
        return IntToLetters(number);
    case vdpntLowerRoman:
        return rtl::AnsiLowerCase(IntToRoman(number));
    case vdpntUpperRoman:
        return IntToRoman(number);
    default:
        return {};
    }
}

std::string TCustomVDPageNumberItemInfo::GetFieldSwitch() const {
    static const char *const kSwitches[] = {"",           "Arabic", "ArabicDash", "alphabetic",
                                            "ALPHABETIC", "roman",  "ROMAN"};
    return NumberType <= vdpntUpperRoman ? kSwitches[NumberType] : "";
}

void TCustomVDPageNumberItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (const auto *field = dynamic_cast<const TCustomVDPageNumberItemInfo *>(&source)) {
        NumberType = field->NumberType;
    }
    TCustomVDFieldItemInfo::Assign(source);
}

bool TCustomVDPageNumberItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    return prop == vdbpIsPrintField || TCustomVDFieldItemInfo::GetBoolValue(prop);
}

bool TCustomVDPageNumberItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop,
                                                 const TVDStyle *vdStyle) const {
    return prop == vdbpHasPrintingWidth || TCustomVDFieldItemInfo::GetBoolValueEx(prop, vdStyle);
}

bool TCustomVDPageNumberItemInfo::SetExtraIntPropertyEx(int32_t prop, int32_t value) {
    if (prop == kNumberTypeProperty) {
        if (value < vdpntDefault || value > vdpntUpperRoman) {
            return false;
        }
        NumberType = static_cast<TVDPageNumberType>(value);
        return true;
    }
    return TCustomVDFieldItemInfo::SetExtraIntPropertyEx(prop, value);
}

bool TCustomVDPageNumberItemInfo::GetExtraIntPropertyEx(int32_t prop, int32_t &value) const {
    if (prop == kNumberTypeProperty) {
        value = NumberType;
        return true;
    }
    return TCustomVDFieldItemInfo::GetExtraIntPropertyEx(prop, value);
}

TVDReformatType TCustomVDPageNumberItemInfo::GetExtraIntPropertyReformat(int32_t prop) const {
    return prop == kNumberTypeProperty ? vdrfNormal
                                       : TCustomVDFieldItemInfo::GetExtraIntPropertyReformat(prop);
}

bool TCustomVDPageNumberItemInfo::SetExtraCustomProperty(std::string_view name,
                                                         const rtl::UnicodeString &value) {
    if (name == "pagenumbertype") {
        const std::string digits = rtl::Utf16ToUtf8(value);
        const char *p = digits.c_str();
        int32_t number = 0;
        if (VDFReadInteger(p, number) && *p == '\0') {
            SetExtraIntPropertyEx(kNumberTypeProperty, number);
        }
        return true;
    }
    return TCustomVDFieldItemInfo::SetExtraCustomProperty(name, value);
}

int32_t TCustomVDPageNumberItemInfo::GetVDFExtraPropertyCount() const {
    return TCustomVDFieldItemInfo::GetVDFExtraPropertyCount() + (NumberType != vdpntDefault);
}

void TCustomVDPageNumberItemInfo::SaveVDFExtraProperties(rtl::TStream &stream) const {
    TCustomVDFieldItemInfo::SaveVDFExtraProperties(stream);
    if (NumberType != vdpntDefault) {
        WriteVDFExtraIntPropertyByName(stream, "pagenumbertype", NumberType);
    }
}

void TCustomVDPageNumberItemInfo::MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) {
    TCustomVDFieldItemInfo::MovingToUndoList(itemNo, vdData);
    if (vdData) {
        vdData->DoOnDeleteSpecialItem(*this, false);
    }
}

void TCustomVDPageNumberItemInfo::MovingFromUndoList(int32_t itemNo, TCustomVDData *vdData) {
    TCustomVDFieldItemInfo::MovingFromUndoList(itemNo, vdData);
    if (vdData) {
        vdData->DoOnAddSpecialItem(itemNo);
    }
}

void TCustomVDPageNumberItemInfo::SaveRTF(rtl::TStream &stream, bool hiddenParent) const {
    const bool hidden = hiddenParent || Hidden;
    const std::string switchText = GetFieldSwitch().empty() ? "" : " \\\\* " + GetFieldSwitch();
    std::string field = "{\\field\\fldedit{\\*\\fldinst {" + FieldName() + " " + switchText +
                        " \\\\* MERGEFORMAT }}{\\fldrslt {" + RTFResult() + "}}}";
    if (hidden) {
        field = "{\\v" + field + "}";
    }
    VDFWrite(stream, field);
}

void TCustomVDPageNumberItemInfo::SaveOOXMLBeforeRun(rtl::TStream &stream) const {
    const std::string switchText = GetFieldSwitch().empty() ? "" : " \\* " + GetFieldSwitch();
    VDFWrite(stream,
             "<w:fldSimple w:instr=\" " + FieldName() + " " + switchText + " \\* MERGEFORMAT \">");
}

void TCustomVDPageNumberItemInfo::SaveOOXML(rtl::TStream &stream) const {
    VDFWrite(stream,
             "<w:t>" + (FieldName() == "PAGE" ? MakeOOXMLStr(GetNumberText(1)) : "?") + "</w:t>");
}

void TCustomVDPageNumberItemInfo::SaveOOXMLAfterRun(rtl::TStream &stream) const {
    VDFWrite(stream, "</w:fldSimple>");
}

// ---- Page number ----

TVDPageNumberItemInfo::TVDPageNumberItemInfo(TCustomVDData *vdData)
    : TCustomVDPageNumberItemInfo(vdData) {
    StyleNo = StyleNoPageNumber;
    SetText(u"{p}");
}

TVDPageNumberItemInfo::TVDPageNumberItemInfo(TCustomVDData *vdData, TVDPageNumberType numberType,
                                             int32_t textStyleNo)
    : TVDPageNumberItemInfo(vdData) {
    NumberType = numberType;
    SetAssociatedTextStyleNo(textStyleNo);
}

rtl::UnicodeString TVDPageNumberItemInfo::GetTextForPrinting(TCustomVDData *, TVDDrawLineInfo *,
                                                             int32_t dispPageNo, int32_t) {
    rtl::UnicodeString text = GetNumberText(dispPageNo);
    if (AlwaysUseText) {
        SetText(text);
    }
    return text;
}

rtl::UnicodeString TVDPageNumberItemInfo::GetTextForFormatting(TCustomVDData *) {
    return AlwaysUseText ? GetText() : GetNumberText(14);
}

std::string TVDPageNumberItemInfo::RTFResult() const {
    // Number texts are ASCII, so the code page and the fallback convention change nothing.
    return UnicodeToRTF(GetNumberText(1), 0, true);
}

// ---- Page count ----

TVDPageCountItemInfo::TVDPageCountItemInfo(TCustomVDData *vdData)
    : TCustomVDPageNumberItemInfo(vdData) {
    StyleNo = StyleNoPageCount;
    SetText(u"{P}");
}

TVDPageCountItemInfo::TVDPageCountItemInfo(TCustomVDData *vdData, TVDPageNumberType numberType,
                                           int32_t textStyleNo)
    : TVDPageCountItemInfo(vdData) {
    NumberType = numberType;
    SetAssociatedTextStyleNo(textStyleNo);
}

rtl::UnicodeString TVDPageCountItemInfo::GetTextForPrinting(TCustomVDData *, TVDDrawLineInfo *,
                                                            int32_t, int32_t pageCount) {
    rtl::UnicodeString text = rtl::IntToStr(pageCount);
    if (AlwaysUseText) {
        SetText(text);
    }
    return text;
}

rtl::UnicodeString TVDPageCountItemInfo::GetTextForFormatting(TCustomVDData *) {
    return AlwaysUseText ? GetText() : rtl::UnicodeString(u"00");
}

void startup::InitializeVDFieldItems() {
    RegisterItemType(StyleNoPageNumber, &TVDPageNumberItemInfo::ClassInfo);
    RegisterItemType(StyleNoPageCount, &TVDPageCountItemInfo::ClassInfo);
}

} // namespace vizivodu
