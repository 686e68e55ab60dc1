// The viewer control's item information, item options, list markers, style housekeeping, unit
// conversion and soft page breaks: the root document's operations, with what the control adds.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/layout/printing/PtblVD.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Exceptions.h"

namespace vizivodu {

// ---- Item information ----

void TCustomViziVodu::GetPictureInfo(int32_t itemNo, TVDAnsiString &name, gfx::TGraphic *&gr,
                                     TVDVAlign &vAlign, TVDTag &tag) {
    FVDData->GetPictureInfo(itemNo, name, gr, vAlign, tag);
}
bool TCustomViziVodu::SetPictureInfo(int32_t itemNo, const TVDAnsiString &name,
                                     std::unique_ptr<gfx::TGraphic> gr, TVDVAlign vAlign,
                                     const TVDTag &tag) {
    return FVDData->SetPictureInfo(itemNo, name, std::move(gr), vAlign, tag);
}
void TCustomViziVodu::GetControlInfo(int32_t itemNo, TVDAnsiString &name, ui::TControl *&ctrl,
                                     TVDVAlign &vAlign, TVDTag &tag) {
    FVDData->GetControlInfo(itemNo, name, ctrl, vAlign, tag);
}
bool TCustomViziVodu::SetControlInfo(int32_t itemNo, const TVDAnsiString &name, TVDVAlign vAlign,
                                     const TVDTag &tag) {
    return FVDData->SetControlInfo(itemNo, name, vAlign, tag);
}
void TCustomViziVodu::GetBulletInfo(int32_t itemNo, TVDAnsiString &name, int32_t &imageIndex,
                                    gfx::TCustomImageList *&imageList, TVDTag &tag) {
    FVDData->GetBulletInfo(itemNo, name, imageIndex, imageList, tag);
}
void TCustomViziVodu::SetBulletInfo(int32_t itemNo, const TVDAnsiString &name, int32_t imageIndex,
                                    gfx::TCustomImageList *imageList, const TVDTag &tag) {
    FVDData->SetBulletInfo(itemNo, name, imageIndex, imageList, tag);
}
void TCustomViziVodu::GetHotspotInfo(int32_t itemNo, TVDAnsiString &name, int32_t &imageIndex,
                                     int32_t &hotImageIndex, gfx::TCustomImageList *&imageList,
                                     TVDTag &tag) {
    FVDData->GetHotspotInfo(itemNo, name, imageIndex, hotImageIndex, imageList, tag);
}
void TCustomViziVodu::SetHotspotInfo(int32_t itemNo, const TVDAnsiString &name, int32_t imageIndex,
                                     int32_t hotImageIndex, gfx::TCustomImageList *imageList,
                                     const TVDTag &tag) {
    FVDData->SetHotspotInfo(itemNo, name, imageIndex, hotImageIndex, imageList, tag);
}
void TCustomViziVodu::GetBreakInfo(int32_t itemNo, TVDStyleLength &width, TVDBreakStyle &style,
                                   TColor &color, TVDTag &tag) {
    FVDData->GetBreakInfo(itemNo, width, style, color, tag);
}
void TCustomViziVodu::SetBreakInfo(int32_t itemNo, TVDStyleLength width, TVDBreakStyle style,
                                   TColor color, const TVDTag &tag) {
    FVDData->SetBreakInfo(itemNo, width, style, color, tag);
}
void TCustomViziVodu::GetTextInfo(int32_t itemNo, TVDUnicodeString &text, TVDTag &tag) {
    FVDData->GetTextInfo(itemNo, text, tag);
}
bool TCustomViziVodu::GetItemExtraIntPropertyEx(int32_t itemNo, int32_t prop, int32_t &value) {
    return FVDData->GetItemExtraIntPropertyEx(itemNo, prop, value);
}
bool TCustomViziVodu::SetItemExtraIntPropertyEx(int32_t itemNo, int32_t prop, int32_t value) {
    return FVDData->SetItemExtraIntPropertyEx(itemNo, prop, value);
}
bool TCustomViziVodu::GetItemExtraStrPropertyEx(int32_t itemNo, int32_t prop,
                                                rtl::UnicodeString &value) {
    return FVDData->GetItemExtraStrPropertyEx(itemNo, prop, value);
}
bool TCustomViziVodu::SetItemExtraStrPropertyEx(int32_t itemNo, int32_t prop,
                                                const rtl::UnicodeString &value) {
    return FVDData->SetItemExtraStrPropertyEx(itemNo, prop, value);
}

// ---- Item options ----

bool TCustomViziVodu::GetClearLeft(int32_t index) {
    return FVDData->GetClearLeft(index);
}
void TCustomViziVodu::SetClearLeft(int32_t index, bool value) {
    FVDData->SetClearLeft(index, value);
}
bool TCustomViziVodu::GetClearRight(int32_t index) {
    return FVDData->GetClearRight(index);
}
void TCustomViziVodu::SetClearRight(int32_t index, bool value) {
    FVDData->SetClearRight(index, value);
}

// ---- Soft page breaks ----

void TCustomViziVodu::AssignSoftPageBreaks(ui::TComponent *vdPrint) {
    auto *printing = dynamic_cast<TCustomVDPrint *>(vdPrint);
    if (!printing) {
        throw rtl::EInvalidCast("Invalid class typecast");
    }
    FVDData->AssignSoftPageBreaks(*printing);
}
void TCustomViziVodu::ClearSoftPageBreaks() {
    if (FVDData->ClearSoftPageBreaks()) {
        Invalidate();
    }
}

// ---- List markers and sequences ----

int32_t TCustomViziVodu::SetListMarkerInfo(int32_t itemNo, int32_t listNo, int32_t listLevel,
                                           int32_t startFrom, int32_t paraNo, bool useStartFrom) {
    return FVDData->SetListMarkerInfo(itemNo, listNo, listLevel, startFrom, paraNo, useStartFrom);
}
void TCustomViziVodu::RemoveListMarker(int32_t itemNo) {
    FVDData->RemoveListMarker(itemNo);
}
int32_t TCustomViziVodu::GetListMarkerInfo(int32_t itemNo, int32_t &listNo, int32_t &listLevel,
                                           int32_t &startFrom, bool &useStartFrom) {
    return FVDData->GetListMarkerInfo(itemNo, listNo, listLevel, startFrom, useStartFrom);
}
void TCustomViziVodu::RefreshListMarkers() {
    TVDMarkerList *markers = FVDData->GetMarkers(false);
    if (markers && FStyle) {
        markers->RecalcDisplayStrings(FStyle);
    }
}
void TCustomViziVodu::RefreshSequences() {
    TVDSeqList *sequences = FVDData->GetSeqList(false);
    if (sequences && FStyle) {
        sequences->RecalcDisplayStrings(FStyle);
    }
}

// ---- Styles in use ----

void TCustomViziVodu::DeleteUnusedStyles(bool textStyles, bool paraStyles, bool listStyles) {
    FVDData->DeleteUnusedStyles(textStyles, paraStyles, listStyles);
}
void TCustomViziVodu::MarkStylesInUse(TVDDeleteUnusedStylesData &data) {
    FVDData->MarkStylesInUse(data);
}
void TCustomViziVodu::DeleteMarkedStyles(TVDDeleteUnusedStylesData &data) {
    FVDData->DeleteMarkedStyles(data);
}

// ---- Units ----

void TCustomViziVodu::ConvertDocToDifferentUnits(TVDStyleUnits newUnits) {
    if (!FStyle || FStyle->GetUnits() == newUnits) {
        return;
    }
    // The items convert from the sheet's present units, so the sheet changes after them.
    FVDData->ConvertToDifferentUnits(newUnits, FStyle, true);
    FStyle->ConvertToDifferentUnits(newUnits);
}

} // namespace vizivodu
