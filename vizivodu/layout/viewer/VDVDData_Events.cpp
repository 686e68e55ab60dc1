// The viewer's root document raising the control's events for every document of the tree:
// mouse and hyperlink events, the callbacks of reading and saving, hints, progress.
#include "vizivodu/layout/viewer/VDVDData.h"

#include "vizivodu/document/VDRazavIrezIzir.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/layout/viewer/ViziVodu.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/ui/Application.h"
#include "platform/ui/Cursors.h"

namespace vizivodu {

namespace {

// Raises the control's event when it is assigned.
template <class TEvent, class... TArgs>
void Raise(TCustomViziVodu *viewer, TEvent TCustomViziVodu::*event, TArgs &&...args) {
    if (viewer && viewer->*event) {
        (viewer->*event)(viewer, std::forward<TArgs>(args)...);
    }
}

bool Assigned(TCustomViziVodu *viewer, const auto TCustomViziVodu::*event) {
    return viewer && viewer->*event;
}

// Clears the style sheet's fields that tell an event handler which item is being saved, also
// when the handler fails.
struct TStyleItemScope {
    TVDStyle *Style;
    ~TStyleItemScope() {
        if (Style) {
            Style->VDData = nullptr;
            Style->ItemNo = -1;
        }
    }
};

} // namespace

// ---- Events of the control ----

void TViziVoduVDData::DoJump(int32_t id) {
    if (TCustomViziVodu *viewer = AbsoluteRootViewerData().FViewer) {
        viewer->PostEvent(std::make_unique<TVDJumpMessageData>(id));
    }
}

void TViziVoduVDData::DoVDMouseMove(int32_t id) {
    Raise(Viewer(), &TCustomViziVodu::OnVDMouseMove, id);
}

void TViziVoduVDData::DoSelect() {
    if (!IsRoot()) {
        TVDControlData::DoSelect();
        return;
    }
    TCustomViziVodu *viewer = Viewer();
    if (!viewer || viewer->IsDestroying() || !viewer->WindowCreated()) {
        return;
    }
    if (viewer->OnSelect) {
        viewer->OnSelect(viewer);
    }
}

bool TViziVoduVDData::IsAssignedCheckpointVisible() {
    return Assigned(Viewer(), &TCustomViziVodu::OnCheckpointVisible);
}

void TViziVoduVDData::DoCheckpointVisible(TCheckpointData checkpoint) {
    Raise(Viewer(), &TCustomViziVodu::OnCheckpointVisible, checkpoint);
}

void TViziVoduVDData::DoDrawHyperlink(TCustomVDData *vdData, int32_t itemNo, const rtl::TRect &r) {
    if (!IsRoot()) {
        TVDControlData::DoDrawHyperlink(vdData, itemNo, r);
        return;
    }
    if (OnDrawHyperlink) {
        const rtl::TRect copy = r;
        OnDrawHyperlink(vdData, itemNo, copy);
    }
}

void TViziVoduVDData::ItemAction(TVDItemAction action, TCustomVDItemInfo &item,
                                 TVDRawByteString &text, TCustomVDData &vdData) {
    if (!IsRoot()) {
        TVDControlData::ItemAction(action, item, text, vdData);
        return;
    }
    Raise(Viewer(), &TCustomViziVodu::OnItemAction, action, item, text, vdData);
}

bool TViziVoduVDData::IsAssignedOnProgress() {
    return Assigned(Viewer(), &TCustomViziVodu::OnProgress);
}

void TViziVoduVDData::DoProgress(TVDLongOperation operation, TVDProgressStage stage,
                                 int32_t percent) {
    Raise(Viewer(), &TCustomViziVodu::OnProgress, operation, stage, percent);
}

rtl::UnicodeString TViziVoduVDData::GetItemHint(TCustomVDData &vdData, int32_t itemNo,
                                                const rtl::UnicodeString &upperHint) {
    if (itemNo >= 0 && itemNo < vdData.ItemCount()) {
        rtl::UnicodeString hint = vdData.GetItem(itemNo)->Hint;
        Raise(Viewer(), &TCustomViziVodu::OnItemHint, vdData, itemNo, hint);
        if (!hint.empty()) {
            return hint;
        }
    }
    return upperHint;
}

void TViziVoduVDData::AfterAddStyle(TCustomVDInfo &styleInfo) {
    if (!IsRoot()) {
        TVDControlData::AfterAddStyle(styleInfo);
        return;
    }
    Raise(Viewer(), &TCustomViziVodu::OnAddStyle, styleInfo);
}

void TViziVoduVDData::DoVDMouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t itemNo,
                                    int32_t x, int32_t y) {
    Raise(Viewer(), &TCustomViziVodu::OnVDMouseDown, button, shift, itemNo, x, y);
}

void TViziVoduVDData::DoVDMouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t itemNo,
                                  int32_t x, int32_t y) {
    Raise(Viewer(), &TCustomViziVodu::OnVDMouseUp, button, shift, itemNo, x, y);
}

void TViziVoduVDData::DoVDRightClick(const TVDRawByteString &clickedWord, int32_t styleNo,
                                     int32_t x, int32_t y) {
    Raise(Viewer(), &TCustomViziVodu::OnVDRightClick, clickedWord, styleNo, x, y);
}

void TViziVoduVDData::DoVDDblClick(const TVDRawByteString &clickedWord, int32_t styleNo) {
    Raise(Viewer(), &TCustomViziVodu::OnVDDblClick, clickedWord, styleNo);
}

void TViziVoduVDData::DoGetItemCursor(TCustomVDData *vdData, int32_t itemNo, ui::TCursor &cursor) {
    if (!IsRoot()) {
        TVDControlData::DoGetItemCursor(vdData, itemNo, cursor);
        return;
    }
    Raise(Viewer(), &TCustomViziVodu::OnGetItemCursor, vdData, itemNo, cursor);
}

void TViziVoduVDData::DoStyleTemplatesChange() {
    if (TViziVoduVDData *root = RootToAsk()) {
        root->DoStyleTemplatesChange();
        return;
    }
    if (TCustomViziVodu *viewer = Viewer()) {
        viewer->StyleTemplatesChange();
    }
}

void TViziVoduVDData::ControlAction2(TCustomVDData *vdData, TVDControlAction action, int32_t itemNo,
                                     ui::TControl *&control) {
    if (!IsRoot()) {
        if (TViziVoduVDData *root = RootToAsk()) {
            root->ControlAction2(vdData, action, itemNo, control);
        }
        return;
    }
    TCustomViziVodu *viewer = Viewer();
    if (!Assigned(viewer, &TCustomViziVodu::OnControlAction)) {
        return;
    }
    if (TVDStyle *style = GetVDStyle()) {
        style->VDData = vdData;
    }
    viewer->OnControlAction(viewer, action, itemNo, control);
}

void TViziVoduVDData::DoCopy() {
    Raise(Viewer(), &TCustomViziVodu::OnCopy);
}

bool TViziVoduVDData::IsAssignedCopy() {
    return Assigned(Viewer(), &TCustomViziVodu::OnCopy);
}

bool TViziVoduVDData::IsAssignedVDMouseUp() {
    return Assigned(Viewer(), &TCustomViziVodu::OnVDMouseUp);
}

bool TViziVoduVDData::IsAssignedVDMouseDown() {
    return Assigned(Viewer(), &TCustomViziVodu::OnVDMouseDown);
}

bool TViziVoduVDData::IsAssignedVDRightClick() {
    return Assigned(Viewer(), &TCustomViziVodu::OnVDRightClick);
}

bool TViziVoduVDData::IsAssignedJump() {
    return Assigned(Viewer(), &TCustomViziVodu::OnJump);
}

bool TViziVoduVDData::IsAssignedVDDblClick() {
    return Assigned(Viewer(), &TCustomViziVodu::OnVDDblClick);
}

rtl::UnicodeString TViziVoduVDData::GetURL(int32_t id) {
    rtl::UnicodeString url;
    Raise(Viewer(), &TCustomViziVodu::OnURLNeeded, id, url);
    return url;
}

ui::TControl *TViziVoduVDData::VDFControlNeeded(const rtl::UnicodeString &itemName,
                                                const TVDTag &itemTag) {
    ui::TControl *control = nullptr;
    Raise(Viewer(), &TCustomViziVodu::OnVDFControlNeeded, itemName, itemTag, control);
    return control;
}

gfx::TCustomImageList *TViziVoduVDData::VDFImageListNeeded(int32_t imageListTag) {
    gfx::TCustomImageList *list = nullptr;
    Raise(Viewer(), &TCustomViziVodu::OnVDFImageListNeeded, imageListTag, list);
    return list;
}

std::unique_ptr<gfx::TGraphic> TViziVoduVDData::VDFPictureNeeded(const rtl::UnicodeString &itemName,
                                                                 TCustomVDItemInfo *item,
                                                                 int32_t index1, int32_t index2) {
    std::unique_ptr<gfx::TGraphic> graphic;
    Raise(Viewer(), &TCustomViziVodu::OnVDFPictureNeeded, itemName, item, index1, index2, graphic);
    return graphic;
}

rtl::UnicodeString TViziVoduVDData::SaveComponentToFile(const rtl::UnicodeString &path,
                                                        ui::TControl *saveMe,
                                                        TVDSaveFormat saveFormat) {
    rtl::UnicodeString out;
    Raise(Viewer(), &TCustomViziVodu::OnSaveComponentToFile, path, saveMe, saveFormat, out);
    return out;
}

bool TViziVoduVDData::SaveItemToFile(const rtl::UnicodeString &path, TCustomVDData *vdData,
                                     int32_t itemNo, TVDSaveFormat saveFormat, bool unicode,
                                     TVDRawByteString &text) {
    TCustomViziVodu *viewer = Viewer();
    if (!Assigned(viewer, &TCustomViziVodu::OnSaveItemToFile)) {
        return false;
    }
    bool doDefault = true;
    viewer->OnSaveItemToFile(viewer, path, vdData, itemNo, saveFormat, unicode, text, doDefault);
    return !doDefault;
}

std::unique_ptr<gfx::TGraphic> TViziVoduVDData::ImportPicture(const rtl::UnicodeString &location,
                                                              int32_t width, int32_t height,
                                                              bool &invalid) {
    TCustomViziVodu *viewer = Viewer();
    std::unique_ptr<gfx::TGraphic> graphic;
    if (!Assigned(viewer, &TCustomViziVodu::OnImportPicture)) {
        return graphic;
    }
    viewer->CurPictureInvalid = false;
    viewer->OnImportPicture(viewer, location, width, height, graphic);
    invalid = viewer->CurPictureInvalid;
    viewer->CurPictureInvalid = false;
    return graphic;
}

void TViziVoduVDData::HTMLSaveImage(TCustomVDData *vdData, int32_t itemNo,
                                    const rtl::UnicodeString &path, gfx::TColor backgroundColor,
                                    rtl::UnicodeString &location, bool &doDefault) {
    doDefault = true;
    Raise(Viewer(), &TCustomViziVodu::OnHTMLSaveImage, vdData, itemNo, path, backgroundColor,
          location, doDefault);
}

void TViziVoduVDData::SaveImage2(TCustomVDData *vdData, int32_t itemNo, gfx::TGraphic *graphic,
                                 TVDSaveFormat saveFormat, const rtl::UnicodeString &path,
                                 const rtl::UnicodeString &imagePrefix, int32_t &imageSaveNo,
                                 rtl::UnicodeString &location, bool &doDefault) {
    doDefault = true;
    TCustomViziVodu *viewer = Viewer();
    if (!Assigned(viewer, &TCustomViziVodu::OnSaveImage2)) {
        return;
    }
    TVDStyle *style = GetVDStyle();
    if (style) {
        style->VDData = vdData;
        style->ItemNo = itemNo;
    }
    const TStyleItemScope scope{style};
    viewer->OnSaveImage2(viewer, graphic, saveFormat, path, imagePrefix, imageSaveNo, location,
                         doDefault);
}

TVDAnsiString TViziVoduVDData::GetExtraRTFCode(TVDRTFSaveArea area, const void *obj, int32_t index1,
                                               int32_t index2, bool inStyleSheet) {
    TVDAnsiString code;
    Raise(Viewer(), &TCustomViziVodu::OnSaveRTFExtra, area, obj, index1, index2, inStyleSheet,
          code);
    return code;
}

TVDAnsiString TViziVoduVDData::GetExtraDocXCode(TVDDocXSaveArea area, const void *obj,
                                                int32_t index1, int32_t index2) {
    TVDAnsiString code;
    Raise(Viewer(), &TCustomViziVodu::OnSaveDocXExtra, area, obj, index1, index2, code);
    return code;
}

rtl::UnicodeString TViziVoduVDData::GetExtraHTMLCode(TVDHTMLSaveArea area, bool cssVersion) {
    rtl::UnicodeString code;
    Raise(Viewer(), &TCustomViziVodu::OnSaveHTMLExtra, area, cssVersion, code);
    return code;
}

rtl::UnicodeString TViziVoduVDData::GetParaHTMLCode(TCustomVDData *vdData, int32_t itemNo,
                                                    bool paraStart, bool cssVersion) {
    rtl::UnicodeString code;
    Raise(Viewer(), &TCustomViziVodu::OnSaveParaToHTML, vdData, itemNo, paraStart, cssVersion,
          code);
    return code;
}

bool TViziVoduVDData::HyperlinkEventsAllowed() {
    IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface();
    return !ifc || ifc->AllowsHyperlinkEvents();
}

void TViziVoduVDData::ReadHyperlink(const rtl::UnicodeString &target,
                                    const rtl::UnicodeString &extras, TVDLoadFormat docFormat,
                                    int32_t &styleNo, TVDTag &itemTag, TVDRawByteString &itemName) {
    if (styleNo == StyleNoBullet) {
        styleNo = StyleNoHotspot;
    } else if (styleNo == StyleNoPicture) {
        styleNo = StyleNoHotPicture;
    }
    TCustomViziVodu *viewer = Viewer();
    if (Assigned(viewer, &TCustomViziVodu::OnReadHyperlink) && HyperlinkEventsAllowed()) {
        viewer->OnReadHyperlink(viewer, target, extras, docFormat, styleNo, itemTag, itemName);
    } else {
        itemTag = target;
    }
}

void TViziVoduVDData::WriteHyperlink(int32_t id, TCustomVDData *vdData, int32_t itemNo,
                                     TVDSaveFormat saveFormat, rtl::UnicodeString &target,
                                     rtl::UnicodeString &extras) {
    target.clear();
    extras.clear();
    if (TViziVoduVDData *root = RootToAsk()) {
        root->WriteHyperlink(id, vdData, itemNo, saveFormat, target, extras);
        return;
    }
    TCustomVDItemInfo *item =
        vdData && itemNo >= 0 && itemNo < vdData->ItemCount() ? vdData->GetItem(itemNo) : nullptr;
    if (item) {
        extras = MakeHintAttribute(saveFormat, item->Hint);
    }
    TCustomViziVodu *viewer = Viewer();
    if (Assigned(viewer, &TCustomViziVodu::OnWriteHyperlink) && HyperlinkEventsAllowed()) {
        viewer->OnWriteHyperlink(viewer, id, vdData, itemNo, saveFormat, target, extras);
    } else if (Assigned(viewer, &TCustomViziVodu::OnURLNeeded)) {
        target = GetURL(id);
    } else if (item) {
        target = item->Tag;
    }
}

// The control's hint follows what the mouse is over; a new hint shows at once instead of
// after the usual pause.
void TViziVoduVDData::SetControlHint(const rtl::UnicodeString &hint) {
    if (!IsRoot()) {
        TVDControlData::SetControlHint(hint);
        return;
    }
    const rtl::UnicodeString previous = FViziVodu->GetHint();
    FViziVodu->SetHint(hint);
    if (IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface()) {
        ifc->HintChanged(FViziVodu);
        return;
    }
    if (hint.empty()) {
        ui::Application->CancelHint();
    } else if (hint != previous) {
        ui::Application->ActivateHint(ui::Screen->GetCursorPos(), *FViziVodu);
    }
}

void TViziVoduVDData::DoBeforeSaving() {
    TCustomViziVodu *viewer = Viewer();
    if (!viewer || !IsRoot()) {
        return;
    }
    if (IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface()) {
        ifc->BeforeSaving(viewer);
    }
    viewer->DoBeforeSaving();
}

IVDRazavIrezIzirInterface *TViziVoduVDData::GetRazavIrezIzirInterface() {
    if (TCustomVDData *parent = GetAbsoluteParentData()) {
        return parent->GetRazavIrezIzirInterface();
    }
    TCustomViziVodu *viewer = Viewer();
    return viewer ? viewer->GetRazavIrezIzirInterface() : nullptr;
}

} // namespace vizivodu
