// The document tree and what a document asks of the documents above it: the operations
// answered by the parent, the root, the absolute root and the absolute parent, each forwarded
// up the tree; a document that is its own root answers with neutral values.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDItem_Control.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDSeqItem.h"

#include "platform/gfx/Graphic.h"

namespace vizivodu {

// ---- The tree ----

TCustomVDData *TCustomVDData::GetTopLevelChosenVDData() {
    TCustomVDData *data = this;
    while (TCustomVDData *chosen = data->GetChosenVDData()) {
        data = chosen;
    }
    return data;
}

void TCustomVDData::GetParentInfo(int32_t &parentItemNo,
                                  std::unique_ptr<TVDStoreSubVDData> &location) {
    parentItemNo = -1;
    location.reset();
}

int32_t TCustomVDData::GetAbsoluteRootItemNo(int32_t itemNo) {
    TCustomVDData *data = this;
    while (data != GetAbsoluteRootData()) {
        std::unique_ptr<TVDStoreSubVDData> location;
        data->GetParentInfo(itemNo, location);
        TCustomVDData *parent = data->GetAbsoluteParentData();
        if (!parent) {
            break;
        }
        data = parent->GetSourceVDData();
    }
    return itemNo;
}

TVDStyle *TCustomVDData::GetVDStyle() {
    TCustomVDData *parent = GetParentData();
    return parent ? parent->GetVDStyle() : nullptr;
}

// A document that is its own root answers the root's questions with the neutral values.
#define VD_ASK_ROOT(call, neutral)                                                                 \
    TCustomVDData *root = GetRootData();                                                           \
    return root != this ? root->call : neutral

TVDOptions TCustomVDData::GetOptions() {
    VD_ASK_ROOT(GetOptions(), FRootOptions);
}

void TCustomVDData::SetOptions(TVDOptions value) {
    TCustomVDData *root = GetRootData();
    if (root != this) {
        root->SetOptions(value);
    } else {
        FRootOptions = value;
    }
}

ui::TControl *TCustomVDData::GetParentControl() {
    VD_ASK_ROOT(GetParentControl(), nullptr);
}

rtl::UnicodeString TCustomVDData::GetDelimiters() {
    VD_ASK_ROOT(GetDelimiters(), rtl::UnicodeString(u" .;,:(){}\"/\\<>!?[]\u2013\u2014"));
}

TVDBiDiMode TCustomVDData::GetBiDiMode() {
    VD_ASK_ROOT(GetBiDiMode(), vdbdUnspecified);
}

TVDDocParameters *TCustomVDData::GetDocParameters(bool allowCreate) {
    VD_ASK_ROOT(GetDocParameters(allowCreate), nullptr);
}

TVDRTFReaderProperties *TCustomVDData::GetRTFReadProperties() {
    VD_ASK_ROOT(GetRTFReadProperties(), nullptr);
}

TVDFOptions TCustomVDData::GetVDFOptions() {
    VD_ASK_ROOT(GetVDFOptions(), FRootVDFOptions);
}

void TCustomVDData::SetVDFOptions(TVDFOptions value) {
    if (TCustomVDData *root = GetRootData(); root != this) {
        root->SetVDFOptions(value);
    } else {
        FRootVDFOptions = value;
    }
}

TVDRTFOptions TCustomVDData::GetRTFOptions() {
    VD_ASK_ROOT(GetRTFOptions(), FRootRTFOptions);
}

void TCustomVDData::SetRTFOptions(TVDRTFOptions value) {
    if (TCustomVDData *root = GetRootData(); root != this) {
        root->SetRTFOptions(value);
    } else {
        FRootRTFOptions = value;
    }
}

TVDFWarnings TCustomVDData::GetVDFWarnings() {
    VD_ASK_ROOT(GetVDFWarnings(), FRootVDFWarnings);
}

void TCustomVDData::SetVDFWarnings(TVDFWarnings value) {
    if (TCustomVDData *root = GetRootData(); root != this) {
        root->SetVDFWarnings(value);
    } else {
        FRootVDFWarnings = value;
    }
}

TVDFReaderStyleMode TCustomVDData::GetVDFTextStylesReadMode() {
    VD_ASK_ROOT(GetVDFTextStylesReadMode(), vdf_sInsertMerge);
}

TVDFReaderStyleMode TCustomVDData::GetVDFParaStylesReadMode() {
    VD_ASK_ROOT(GetVDFParaStylesReadMode(), vdf_sInsertMerge);
}

void TCustomVDData::ReadHyperlink(const rtl::UnicodeString &target,
                                  const rtl::UnicodeString &extras, TVDLoadFormat docFormat,
                                  int32_t &styleNo, TVDTag &itemTag, TVDRawByteString &itemName) {
    if (TCustomVDData *root = GetRootData(); root != this) {
        root->ReadHyperlink(target, extras, docFormat, styleNo, itemTag, itemName);
        return;
    }
    if (styleNo == StyleNoBullet) {
        styleNo = StyleNoHotspot;
    } else if (styleNo == StyleNoPicture) {
        styleNo = StyleNoHotPicture;
    }
    itemTag = target;
}

ui::TControl *TCustomVDData::VDFControlNeeded(const rtl::UnicodeString &itemName,
                                              const TVDTag &itemTag) {
    VD_ASK_ROOT(VDFControlNeeded(itemName, itemTag), nullptr);
}

gfx::TCustomImageList *TCustomVDData::VDFImageListNeeded(int32_t imageListTag) {
    VD_ASK_ROOT(VDFImageListNeeded(imageListTag), nullptr);
}

std::unique_ptr<gfx::TGraphic> TCustomVDData::VDFPictureNeeded(const rtl::UnicodeString &itemName,
                                                               TCustomVDItemInfo *item,
                                                               int32_t index1, int32_t index2) {
    VD_ASK_ROOT(VDFPictureNeeded(itemName, item, index1, index2), nullptr);
}

// ---- Answered by the parent ----

void TCustomVDData::InitStyleMappings(TVDIntegerList *&textStylesMapping,
                                      TVDIntegerList *&paraStylesMapping,
                                      TVDIntegerList *&listStylesMapping, TVDStyleUnits *&units) {
    if (TCustomVDData *parent = GetParentData()) {
        parent->InitStyleMappings(textStylesMapping, paraStylesMapping, listStylesMapping, units);
        return;
    }
    textStylesMapping = paraStylesMapping = listStylesMapping = nullptr;
    units = nullptr;
}

void TCustomVDData::DoneStyleMappings() {
    if (TCustomVDData *parent = GetParentData()) {
        parent->DoneStyleMappings();
    }
}

// ---- Answered by the absolute root ----

#define VD_ASK_ABSOLUTE_ROOT(call, neutral)                                                        \
    TCustomVDData *root = GetAbsoluteRootData();                                                   \
    return root != this ? root->call : neutral

bool TCustomVDData::GetWordWrap() {
    VD_ASK_ABSOLUTE_ROOT(GetWordWrap(), true);
}

int32_t TCustomVDData::GetMaxLength() {
    VD_ASK_ABSOLUTE_ROOT(GetMaxLength(), 0);
}

bool TCustomVDData::UseStyleTemplates() {
    VD_ASK_ABSOLUTE_ROOT(UseStyleTemplates(), false);
}

TVDStyleTemplateInsertMode TCustomVDData::StyleTemplateInsertMode() {
    VD_ASK_ABSOLUTE_ROOT(StyleTemplateInsertMode(), vdstimUseTargetFormatting);
}

void TCustomVDData::DoStyleTemplatesChange() {
    if (TCustomVDData *root = GetAbsoluteRootData(); root != this) {
        root->DoStyleTemplatesChange();
    }
}

TVDAnsiString TCustomVDData::GetExtraRTFCode(TVDRTFSaveArea area, const void *obj, int32_t index1,
                                             int32_t index2, bool inStyleSheet) {
    VD_ASK_ABSOLUTE_ROOT(GetExtraRTFCode(area, obj, index1, index2, inStyleSheet), TVDAnsiString());
}

TVDAnsiString TCustomVDData::GetExtraDocXCode(TVDDocXSaveArea area, const void *obj, int32_t index1,
                                              int32_t index2) {
    VD_ASK_ABSOLUTE_ROOT(GetExtraDocXCode(area, obj, index1, index2), TVDAnsiString());
}

rtl::UnicodeString TCustomVDData::GetExtraHTMLCode(TVDHTMLSaveArea area, bool cssVersion) {
    VD_ASK_ABSOLUTE_ROOT(GetExtraHTMLCode(area, cssVersion), rtl::UnicodeString());
}

rtl::UnicodeString TCustomVDData::GetParaHTMLCode(TCustomVDData *vdData, int32_t itemNo,
                                                  bool paraStart, bool cssVersion) {
    VD_ASK_ABSOLUTE_ROOT(GetParaHTMLCode(vdData, itemNo, paraStart, cssVersion),
                         rtl::UnicodeString());
}

void TCustomVDData::WriteHyperlink(int32_t id, TCustomVDData *vdData, int32_t itemNo,
                                   TVDSaveFormat saveFormat, rtl::UnicodeString &target,
                                   rtl::UnicodeString &extras) {
    if (TCustomVDData *root = GetAbsoluteRootData(); root != this) {
        root->WriteHyperlink(id, vdData, itemNo, saveFormat, target, extras);
        return;
    }
    target.clear();
    extras.clear();
    if (vdData && itemNo >= 0 && itemNo < vdData->ItemCount()) {
        target = vdData->GetItem(itemNo)->Tag;
    }
}

bool TCustomVDData::SaveItemToFile(const rtl::UnicodeString &path, TCustomVDData *vdData,
                                   int32_t itemNo, TVDSaveFormat saveFormat, bool unicode,
                                   TVDRawByteString &text) {
    VD_ASK_ABSOLUTE_ROOT(SaveItemToFile(path, vdData, itemNo, saveFormat, unicode, text), false);
}

std::unique_ptr<gfx::TGraphic> TCustomVDData::ImportPicture(const rtl::UnicodeString &location,
                                                            int32_t width, int32_t height,
                                                            bool &invalid) {
    VD_ASK_ABSOLUTE_ROOT(ImportPicture(location, width, height, invalid), nullptr);
}

void TCustomVDData::SaveImage2(TCustomVDData *vdData, int32_t itemNo, gfx::TGraphic *graphic,
                               TVDSaveFormat saveFormat, const rtl::UnicodeString &path,
                               const rtl::UnicodeString &imagePrefix, int32_t &imageSaveNo,
                               rtl::UnicodeString &location, bool &doDefault) {
    if (TCustomVDData *root = GetAbsoluteRootData(); root != this) {
        root->SaveImage2(vdData, itemNo, graphic, saveFormat, path, imagePrefix, imageSaveNo,
                         location, doDefault);
        return;
    }
    doDefault = true;
}

rtl::UnicodeString TCustomVDData::SaveComponentToFile(const rtl::UnicodeString &path,
                                                      ui::TControl *saveMe,
                                                      TVDSaveFormat saveFormat) {
    VD_ASK_ABSOLUTE_ROOT(SaveComponentToFile(path, saveMe, saveFormat), rtl::UnicodeString());
}

void TCustomVDData::HTMLSaveImage(TCustomVDData *vdData, int32_t itemNo,
                                  const rtl::UnicodeString &path, gfx::TColor backgroundColor,
                                  rtl::UnicodeString &location, bool &doDefault) {
    if (TCustomVDData *root = GetAbsoluteRootData(); root != this) {
        root->HTMLSaveImage(vdData, itemNo, path, backgroundColor, location, doDefault);
        return;
    }
    doDefault = true;
}

// The handler works on the item's control variable: whatever it leaves there becomes the item's
// control.
void TCustomVDData::ControlAction(TCustomVDData *vdData, TVDControlAction action, int32_t itemNo,
                                  TCustomVDItemInfo &item) {
    auto *controlItem = dynamic_cast<TVDControlItemInfo *>(&item);
    if (!controlItem) {
        return;
    }
    ui::TControl *control = controlItem->GetControl();
    GetAbsoluteRootData()->ControlAction2(vdData, action, itemNo, control);
    if (control != controlItem->GetControl()) {
        controlItem->SwapControl(control);
    }
}

TVDThumbnailCache *TCustomVDData::GetThumbnailCache() {
    VD_ASK_ABSOLUTE_ROOT(GetThumbnailCache(), nullptr);
}

void TCustomVDData::ItemAction(TVDItemAction action, TCustomVDItemInfo &item,
                               TVDRawByteString &text, TCustomVDData &vdData) {
    TCustomVDData *root = GetAbsoluteRootData();
    if (root != this) {
        root->ItemAction(action, item, text, vdData);
    }
}

rtl::UnicodeString TCustomVDData::GetNoteText() {
    VD_ASK_ABSOLUTE_ROOT(GetNoteText(), rtl::UnicodeString());
}

bool TCustomVDData::IsAssignedOnProgress() {
    VD_ASK_ABSOLUTE_ROOT(IsAssignedOnProgress(), false);
}

void TCustomVDData::DoProgress(TVDLongOperation operation, TVDProgressStage stage,
                               int32_t percent) {
    TCustomVDData *root = GetAbsoluteRootData();
    if (root != this) {
        root->DoProgress(operation, stage, percent);
    }
}

void TCustomVDData::AfterAddStyle(TCustomVDInfo &styleInfo) {
    TCustomVDData *root = GetAbsoluteRootData();
    if (root != this) {
        root->AfterAddStyle(styleInfo);
    }
}

TVDMarkerList *TCustomVDData::GetMarkers(bool allowCreate) {
    if (TCustomVDData *parent = GetAbsoluteParentData()) {
        return parent->GetMarkers(allowCreate);
    }
    if (!FMarkers && allowCreate) {
        FMarkers = std::make_unique<TVDMarkerList>();
    }
    return FMarkers.get();
}

void TCustomVDData::DestroyMarkers() {
    if (TCustomVDData *parent = GetAbsoluteParentData()) {
        parent->DestroyMarkers();
    } else {
        FMarkers.reset();
    }
}

TVDSeqList *TCustomVDData::GetSeqList(bool allowCreate) {
    if (TCustomVDData *parent = GetAbsoluteParentData()) {
        return parent->GetSeqList(allowCreate);
    }
    if (!FSeqList && allowCreate) {
        FSeqList = std::make_unique<TVDSeqList>();
    }
    return FSeqList.get();
}

void TCustomVDData::DestroySeqList() {
    if (TCustomVDData *parent = GetAbsoluteParentData()) {
        parent->DestroySeqList();
    } else {
        FSeqList.reset();
    }
}

std::vector<TCustomVDItemInfo *> *TCustomVDData::GetPrintFieldList(bool allowCreate) {
    if (TCustomVDData *parent = GetAbsoluteParentData()) {
        return parent->GetPrintFieldList(allowCreate);
    }
    if (!FPrintFields && allowCreate) {
        FPrintFields = std::make_unique<std::vector<TCustomVDItemInfo *>>();
    }
    return FPrintFields.get();
}

void TCustomVDData::DestroyPrintFieldList() {
    if (TCustomVDData *parent = GetAbsoluteParentData()) {
        parent->DestroyPrintFieldList();
    } else {
        FPrintFields.reset();
    }
}

rtl::UnicodeString TCustomVDData::GetItemHint(TCustomVDData &vdData, int32_t itemNo,
                                              const rtl::UnicodeString &upperHint) {
    if (TCustomVDData *parent = GetAbsoluteParentData()) {
        return parent->GetItemHint(vdData, itemNo, upperHint);
    }
    if (itemNo < 0 || itemNo >= vdData.ItemCount()) {
        return upperHint;
    }
    const rtl::UnicodeString &hint = vdData.GetItem(itemNo)->Hint;
    return hint.empty() ? upperHint : hint;
}

} // namespace vizivodu
