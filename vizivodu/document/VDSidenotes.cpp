// Sidenotes and text boxes: box properties and position, their properties and lines, the
// finders and registration.
#include "vizivodu/document/VDSidenotes.h"

#include "vizivodu/VDStartup_p.h"
#include "vizivodu/styles/VDStyle.h"

namespace vizivodu {

VD_DEFINE_ITEM_CLASS(TVDSidenoteItemInfo, TCustomVDNoteItemInfo);
VD_DEFINE_ITEM_CLASS(TVDTextBoxItemInfo, TVDSidenoteItemInfo);

int32_t VDFloatingAnchorHeight = 5;

// ---- Sidenotes ----

TVDSidenoteItemInfo::TVDSidenoteItemInfo(TCustomVDData *vdData)
    : TVDSidenoteItemInfo(vdData, 0, 0, false) {}

TVDSidenoteItemInfo::TVDSidenoteItemInfo(TCustomVDData *vdData, int32_t textStyleNo,
                                         int32_t startFrom, bool reset)
    : TCustomVDNoteItemInfo(vdData, textStyleNo, startFrom, reset) {
    StyleNo = StyleNoSidenote;
    SeqName = u"@Sidenote@";
}

TVDSeqType TVDSidenoteItemInfo::GetNumberType() const {
    const TVDStyle *style = ParentStyle();
    return style ? style->GetSidenoteNumbering() : vdseqLowerAlpha;
}

void TVDSidenoteItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (const auto *sidenote = dynamic_cast<const TVDSidenoteItemInfo *>(&source)) {
        FBoxProperties.Assign(sidenote->FBoxProperties);
        FBoxPosition.Assign(sidenote->FBoxPosition);
    }
    TCustomVDNoteItemInfo::Assign(source);
}

bool TVDSidenoteItemInfo::IsFixedHeight() const {
    return FBoxProperties.HeightType != vdbhtAuto;
}

uint32_t TVDSidenoteItemInfo::GetSubDocColor() const {
    const TColor color = FBoxProperties.GetBackground().Color;
    return color != gfx::clNone ? uint32_t(color) : TCustomVDNoteItemInfo::GetSubDocColor();
}

void TVDSidenoteItemInfo::DrawBackgroundForPrinting(gfx::TCanvas &canvas, const rtl::TRect &rect,
                                                    const rtl::TRect &, TVDColorMode colorMode,
                                                    int32_t, TVDGraphicInterface &gi, bool) {
    FBoxProperties.GetBackground().Draw(rect, canvas, true, colorMode, gi, true);
}

void TVDSidenoteItemInfo::ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle,
                                                  bool recursive) {
    TCustomVDNoteItemInfo::ConvertToDifferentUnits(newUnits, vdStyle, recursive);
    FBoxProperties.ConvertToDifferentUnits(static_cast<TVDStyleUnits>(newUnits), vdStyle);
    FBoxPosition.ConvertToDifferentUnits(static_cast<TVDStyleUnits>(newUnits), vdStyle);
}

int32_t TVDSidenoteItemInfo::GetVDFExtraPropertyCount() const {
    return TCustomVDNoteItemInfo::GetVDFExtraPropertyCount() +
           FBoxProperties.GetChangedPropertyCount() + FBoxPosition.GetChangedPropertyCount();
}

void TVDSidenoteItemInfo::SaveVDFExtraProperties(rtl::TStream &stream) const {
    TCustomVDNoteItemInfo::SaveVDFExtraProperties(stream);
    FBoxProperties.SaveVDFExtraProperties(stream);
    FBoxPosition.SaveVDFExtraProperties(stream);
}

bool TVDSidenoteItemInfo::SetExtraCustomProperty(std::string_view name,
                                                 const rtl::UnicodeString &value) {
    return FBoxProperties.SetExtraCustomProperty(name, value) ||
           FBoxPosition.SetExtraCustomProperty(name, value) ||
           TCustomVDNoteItemInfo::SetExtraCustomProperty(name, value);
}

bool TVDSidenoteItemInfo::GetExtraIntPropertyEx(int32_t prop, int32_t &value) const {
    return FBoxProperties.GetExtraIntPropertyEx(prop, value) ||
           FBoxPosition.GetExtraIntPropertyEx(prop, value) ||
           TCustomVDNoteItemInfo::GetExtraIntPropertyEx(prop, value);
}

bool TVDSidenoteItemInfo::SetExtraIntPropertyEx(int32_t prop, int32_t value) {
    return FBoxProperties.SetExtraIntPropertyEx(prop, value) ||
           FBoxPosition.SetExtraIntPropertyEx(prop, value) ||
           TCustomVDNoteItemInfo::SetExtraIntPropertyEx(prop, value);
}

TVDReformatType TVDSidenoteItemInfo::GetExtraIntPropertyReformat(int32_t prop) const {
    TVDReformatType reformat = vdrfNone;
    if (FBoxPosition.GetExtraIntPropertyReformat(prop, reformat) ||
        FBoxProperties.GetExtraIntPropertyReformat(prop, reformat)) {
        return reformat;
    }
    return TCustomVDNoteItemInfo::GetExtraIntPropertyReformat(prop);
}

// ---- Text boxes ----

TVDTextBoxItemInfo::TVDTextBoxItemInfo(TCustomVDData *vdData)
    : TVDTextBoxItemInfo(vdData, 0, 0, false) {}

TVDTextBoxItemInfo::TVDTextBoxItemInfo(TCustomVDData *vdData, int32_t textStyleNo,
                                       int32_t startFrom, bool reset)
    : TVDSidenoteItemInfo(vdData, textStyleNo, startFrom, reset) {
    StyleNo = StyleNoTextBox;
    SeqName = u"@TextBox@";
}

bool TVDTextBoxItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    if (prop == vdbpDocXOnlyBeforeAfter || prop == vdbpPlaceholder) {
        return true;
    }
    return TVDSidenoteItemInfo::GetBoolValue(prop);
}

void TVDTextBoxItemInfo::MarkStylesInUse(TVDDeleteUnusedStylesData &data) {
    TCustomVDItemInfo::MarkStylesInUse(data);
    GetDocument().DoMarkStylesInUse(data);
}

void TVDTextBoxItemInfo::UpdateStyles(TVDDeleteUnusedStylesData &data) {
    TCustomVDItemInfo::UpdateStyles(data);
    GetDocument().DoUpdateStyles(data);
}

// ---- Finders ----

TVDSidenoteItemInfo *GetFirstSidenote(TCustomVDData *vdData, bool allowHidden) {
    return GetNextSidenote(vdData, nullptr, allowHidden);
}

TVDSidenoteItemInfo *GetNextSidenote(TCustomVDData *vdData, const TVDSidenoteItemInfo *sidenote,
                                     bool allowHidden) {
    return static_cast<TVDSidenoteItemInfo *>(
        FindNextNote(vdData, sidenote, &TVDSidenoteItemInfo::ClassInfo, allowHidden));
}

void startup::InitializeVDSidenotes() {
    RegisterItemType(StyleNoSidenote, &TVDSidenoteItemInfo::ClassInfo);
    RegisterItemType(StyleNoTextBox, &TVDTextBoxItemInfo::ClassInfo);
}

} // namespace vizivodu
