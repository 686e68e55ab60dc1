// The viewer control's item, text and checkpoint operations: the root document's, as they are.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/layout/viewer/VDVDData.h"

namespace vizivodu {

// ---- Items and text ----

TCustomVDItemInfo *TCustomViziVodu::GetItem(int32_t itemNo) const {
    return FVDData->GetItem(itemNo);
}
int32_t TCustomViziVodu::GetItemNo(const TCustomVDItemInfo *item) const {
    return FVDData->GetItemNo(item);
}
int32_t TCustomViziVodu::GetItemStyle(int32_t itemNo) {
    return FVDData->GetItemStyle(itemNo);
}
int32_t TCustomViziVodu::GetItemPara(int32_t itemNo) {
    return FVDData->GetItemPara(itemNo);
}
bool TCustomViziVodu::IsParaStart(int32_t itemNo) {
    return FVDData->IsParaStart(itemNo);
}
bool TCustomViziVodu::IsFromNewLine(int32_t itemNo) {
    return FVDData->IsFromNewLine(itemNo);
}
TVDRawByteString TCustomViziVodu::GetItemTextR(int32_t itemNo) {
    return FVDData->GetItemTextR(itemNo);
}
void TCustomViziVodu::SetItemTextR(int32_t itemNo, TVDRawByteString s) {
    FVDData->SetItemTextR(itemNo, std::move(s));
}
TVDUnicodeString TCustomViziVodu::GetItemTextW(int32_t itemNo) {
    return FVDData->GetItemTextW(itemNo);
}
TVDAnsiString TCustomViziVodu::GetItemTextA(int32_t itemNo) {
    return FVDData->GetItemTextA(itemNo);
}
void TCustomViziVodu::SetItemTextW(int32_t itemNo, std::u16string_view s) {
    FVDData->SetItemTextW(itemNo, s);
}
void TCustomViziVodu::SetItemTextA(int32_t itemNo, const TVDAnsiString &s) {
    FVDData->SetItemTextA(itemNo, s);
}
TVDTag TCustomViziVodu::GetItemTag(int32_t itemNo) {
    return FVDData->GetItemTag(itemNo);
}
void TCustomViziVodu::SetItemTag(int32_t itemNo, const TVDTag &tag) {
    FVDData->SetItemTag(itemNo, tag);
}
TVDVAlign TCustomViziVodu::GetItemVAlign(int32_t itemNo) {
    return FVDData->GetItemVAlign(itemNo);
}
void TCustomViziVodu::SetItemVAlign(int32_t itemNo, TVDVAlign vAlign) {
    FVDData->SetItemVAlign(itemNo, vAlign);
}
bool TCustomViziVodu::GetItemExtraIntProperty(int32_t itemNo, TVDExtraItemProperty prop,
                                              int32_t &value) {
    return FVDData->GetItemExtraIntProperty(itemNo, prop, value);
}
bool TCustomViziVodu::SetItemExtraIntProperty(int32_t itemNo, TVDExtraItemProperty prop,
                                              int32_t value) {
    return FVDData->SetItemExtraIntProperty(itemNo, prop, value);
}
bool TCustomViziVodu::GetItemExtraStrProperty(int32_t itemNo, TVDExtraItemStrProperty prop,
                                              rtl::UnicodeString &value) {
    return FVDData->GetItemExtraStrProperty(itemNo, prop, value);
}
bool TCustomViziVodu::SetItemExtraStrProperty(int32_t itemNo, TVDExtraItemStrProperty prop,
                                              const rtl::UnicodeString &value) {
    return FVDData->SetItemExtraStrProperty(itemNo, prop, value);
}
bool TCustomViziVodu::GetPageBreaksBeforeItems(int32_t index) {
    return FVDData->GetPageBreaksBeforeItems(index);
}
void TCustomViziVodu::SetPageBreaksBeforeItems(int32_t index, bool value) {
    FVDData->SetPageBreaksBeforeItems(index, value);
    if (FOptions.Contains(vdoShowPageBreaks)) {
        Invalidate();
    }
}
int32_t TCustomViziVodu::GetOffsBeforeItem(int32_t itemNo) {
    return FVDData->GetOffsBeforeItem(itemNo);
}
int32_t TCustomViziVodu::GetOffsAfterItem(int32_t itemNo) {
    return FVDData->GetOffsAfterItem(itemNo);
}
int32_t TCustomViziVodu::FindControlItemNo(ui::TControl *ctrl) const {
    return FVDData->FindControlItemNo(ctrl);
}
void TCustomViziVodu::DeleteSection(const rtl::UnicodeString &cpName) {
    FVDData->DeleteSection(cpName);
}
void TCustomViziVodu::DeleteItems(int32_t firstItemNo, int32_t count) {
    FVDData->DeleteItems(firstItemNo, count);
}
void TCustomViziVodu::DeleteParas(int32_t firstItemNo, int32_t lastItemNo) {
    FVDData->DeleteParas(firstItemNo, lastItemNo);
}

// ---- Checkpoints and jump points ----

void TCustomViziVodu::SetCheckpointInfo(int32_t itemNo, const TVDTag &tag,
                                        const rtl::UnicodeString &name, bool raiseEvent) {
    FVDData->SetCheckpointInfo(itemNo, tag, name, raiseEvent);
}
bool TCustomViziVodu::RemoveCheckpoint(int32_t itemNo) {
    return FVDData->RemoveCheckpoint(itemNo);
}
TCheckpointData TCustomViziVodu::GetFirstCheckpoint() {
    return FVDData->GetFirstCheckpoint();
}
TCheckpointData TCustomViziVodu::GetNextCheckpoint(TCheckpointData checkpointData) {
    return FVDData->GetNextCheckpoint(checkpointData);
}
TCheckpointData TCustomViziVodu::GetLastCheckpoint() {
    return FVDData->GetLastCheckpoint();
}
TCheckpointData TCustomViziVodu::GetPrevCheckpoint(TCheckpointData checkpointData) {
    return FVDData->GetPrevCheckpoint(checkpointData);
}
TCheckpointData TCustomViziVodu::GetItemCheckpoint(int32_t itemNo) {
    return FVDData->GetItemCheckpoint(itemNo);
}
TCheckpointData TCustomViziVodu::FindCheckpointByName(const rtl::UnicodeString &name) {
    return FVDData->FindCheckpointByName(name);
}
TCheckpointData TCustomViziVodu::FindCheckpointByTag(const TVDTag &tag) {
    return FVDData->FindCheckpointByTag(tag);
}
TCheckpointData TCustomViziVodu::GetCheckpointByNo(int32_t no) {
    return FVDData->GetCheckpointByNo(no);
}
int32_t TCustomViziVodu::GetCheckpointNo(TCheckpointData checkpointData) {
    return FVDData->GetCheckpointNo(checkpointData);
}
int32_t TCustomViziVodu::GetCheckpointItemNo(TCheckpointData checkpointData) {
    return FVDData->GetCheckpointItemNo(checkpointData);
}
void TCustomViziVodu::GetCheckpointInfo(TCheckpointData checkpointData, TVDTag &tag,
                                        rtl::UnicodeString &name, bool &raiseEvent) {
    FVDData->GetCheckpointInfo(checkpointData, tag, name, raiseEvent);
}
void TCustomViziVodu::GetCheckpointXY(TCheckpointData checkpointData, int32_t &x, int32_t &y) {
    FVDData->GetCheckpointXY(checkpointData, x, y);
}
int32_t TCustomViziVodu::GetCheckpointYEx(TCheckpointData checkpointData) {
    return FVDData->GetCheckpointYEx(checkpointData);
}
int32_t TCustomViziVodu::GetCheckpointY(int32_t no) {
    return GetCheckpointYEx(GetCheckpointByNo(no));
}
int32_t TCustomViziVodu::GetJumpPointY(int32_t id) {
    return FVDData->GetJumpPointY(id);
}
int32_t TCustomViziVodu::GetJumpPointItemNo(int32_t id) {
    return FVDData->GetJumpPointItemNo(id);
}
void TCustomViziVodu::GetJumpPointLocation(int32_t id, TCustomVDFormattedData *&vdData,
                                           int32_t &itemNo) {
    FVDData->GetJumpPointLocation(id, vdData, itemNo);
}

} // namespace vizivodu
