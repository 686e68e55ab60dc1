// Label items: text, text style, minimum width and alignment, and their properties.
#include "vizivodu/document/VDLabelItem.h"

#include "vizivodu/VDStartup_p.h"
#include "vizivodu/styles/VDStyle.h"

namespace vizivodu {

VD_DEFINE_ITEM_CLASS(TVDLabelItemInfo, TVDRectItemInfo);

TVDLabelItemInfo::TVDLabelItemInfo(TCustomVDData *vdData) : TVDRectItemInfo(vdData) {
    StyleNo = StyleNoLabel;
    FParentVDData = vdData;
    FCanUseCustomPPI = vdData && vdData->GetFlags().Contains(vdflCanUseCustomPPI);
}

TVDLabelItemInfo::TVDLabelItemInfo(TCustomVDData *vdData, int32_t textStyleNo,
                                   const rtl::UnicodeString &text)
    : TVDLabelItemInfo(vdData) {
    FTextStyleNo = textStyleNo;
    FText = text;
}

void TVDLabelItemInfo::SetMinWidth(TVDStyleLength value) {
    if (value != FMinWidth) {
        FMinWidth = value;
        FUpdated = false;
    }
}

rtl::UnicodeString TVDLabelItemInfo::GetTextForFormatting(TCustomVDData *) {
    return FText;
}

rtl::UnicodeString TVDLabelItemInfo::GetTextForPrinting(TCustomVDData *, TVDDrawLineInfo *, int32_t,
                                                        int32_t) {
    return FText;
}

void TVDLabelItemInfo::SetAssociatedTextStyleNo(int32_t value) {
    FTextStyleNo = value;
    FUpdated = false;
}

void TVDLabelItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (const auto *label = dynamic_cast<const TVDLabelItemInfo *>(&source)) {
        FTextStyleNo = label->FTextStyleNo;
        FText = label->FText;
        ProtectTextStyleNo = label->ProtectTextStyleNo;
        FMinWidth = label->FMinWidth;
        FAlignment = label->FAlignment;
        Cursor = label->Cursor;
        FUpdated = false;
    }
    TVDRectItemInfo::Assign(source);
}

bool TVDLabelItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    switch (prop) {
    case vdbpDrawingChangesFont:
    case vdbpCanSaveUnicode:
    case vdbpAlwaysInText:
        return true;
    case vdbpSwitchToAssStyleNo:
        return !ProtectTextStyleNo;
    default:
        return TVDRectItemInfo::GetBoolValue(prop);
    }
}

bool TVDLabelItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const {
    switch (prop) {
    case vdbpDisplayActiveState:
        return vdStyle && vdStyle->GetFieldHighlightType() == vdfhCurrent;
    case vdbpPrintToBMP:
        return false;
    case vdbpActualPrintSize:
        return true;
    case vdbpJump:
    case vdbpAllowsFocus:
    case vdbpXORFocus:
    case vdbpHotColdJump: {
        if (!vdStyle) {
            return false;
        }
        const int32_t n = GetActualTextStyleNo(vdStyle);
        const bool jump = n >= 0 && vdStyle->GetTextStyles().GetItem(n).GetJump();
        return prop == vdbpHotColdJump
                   ? jump && const_cast<TVDStyle *>(vdStyle)->StyleHoverSensitive(n)
                   : jump;
    }
    default:
        return TVDRectItemInfo::GetBoolValueEx(prop, vdStyle);
    }
}

void TVDLabelItemInfo::Inserted(TCustomVDData *vdData, int32_t itemNo) {
    if (vdData) {
        SetParentVDData(vdData);
        FCanUseCustomPPI = vdData->GetFlags().Contains(vdflCanUseCustomPPI);
    }
    TVDRectItemInfo::Inserted(vdData, itemNo);
}

void TVDLabelItemInfo::MarkStylesInUse(TVDDeleteUnusedStylesData &data) {
    TVDRectItemInfo::MarkStylesInUse(data);
    TVDDeleteUnusedStylesData::MarkUsed(data.UsedTextStyles(), FTextStyleNo);
}

void TVDLabelItemInfo::UpdateStyles(TVDDeleteUnusedStylesData &data) {
    TVDRectItemInfo::UpdateStyles(data);
    TVDDeleteUnusedStylesData::Renumber(data.UsedTextStyles(), FTextStyleNo);
}

bool TVDLabelItemInfo::SetExtraIntPropertyEx(int32_t prop, int32_t value) {
    switch (prop) {
    case 200:
        ProtectTextStyleNo = value != 0;
        return true;
    case 201:
        RemoveInternalLeading = value != 0;
        FUpdated = false;
        return true;
    case 202:
        Cursor = static_cast<TCursor>(value);
        return true;
    case 203:
        SetMinWidth(value);
        return true;
    case 204:
        if (value < taLeftJustify || value > taCenter) {
            return false;
        }
        FAlignment = static_cast<TAlignment>(value);
        return true;
    default:
        return TVDRectItemInfo::SetExtraIntPropertyEx(prop, value);
    }
}

bool TVDLabelItemInfo::GetExtraIntPropertyEx(int32_t prop, int32_t &value) const {
    switch (prop) {
    case 200:
        value = ProtectTextStyleNo;
        return true;
    case 201:
        value = RemoveInternalLeading;
        return true;
    case 202:
        value = Cursor;
        return true;
    case 203:
        value = FMinWidth;
        return true;
    case 204:
        value = FAlignment;
        return true;
    default:
        return TVDRectItemInfo::GetExtraIntPropertyEx(prop, value);
    }
}

bool TVDLabelItemInfo::SetExtraStrPropertyEx(int32_t prop, const rtl::UnicodeString &value) {
    if (prop == 200) {
        SetText(value);
        return true;
    }
    return TVDRectItemInfo::SetExtraStrPropertyEx(prop, value);
}

bool TVDLabelItemInfo::GetExtraStrPropertyEx(int32_t prop, rtl::UnicodeString &value) const {
    if (prop == 200) {
        value = FText;
        return true;
    }
    return TVDRectItemInfo::GetExtraStrPropertyEx(prop, value);
}

bool TVDLabelItemInfo::SetExtraCustomProperty(std::string_view name,
                                              const rtl::UnicodeString &value) {
    if (name == "removeinternalleading") {
        RemoveInternalLeading = value != u"0";
        FUpdated = false;
        return true;
    }
    return TVDRectItemInfo::SetExtraCustomProperty(name, value);
}

int32_t TVDLabelItemInfo::GetVDFExtraPropertyCount() const {
    return TVDRectItemInfo::GetVDFExtraPropertyCount() + RemoveInternalLeading;
}

void TVDLabelItemInfo::SaveVDFExtraProperties(rtl::TStream &stream) const {
    TVDRectItemInfo::SaveVDFExtraProperties(stream);
    if (RemoveInternalLeading) {
        WriteVDFExtraIntPropertyByName(stream, "removeinternalleading", 1);
    }
}

void startup::InitializeVDLabelItem() {
    RegisterItemType(StyleNoLabel, &TVDLabelItemInfo::ClassInfo);
}

} // namespace vizivodu
