// The root document of a viewer control: it answers the formatted document's geometry
// questions from the control and its scroller (client size, margins, text width limits, scroll
// offsets), passes the formatted size back to the scroll bars, reads the control-wide settings
// from the control, raises the control's events for every document of the tree, and owns what
// exists once per control (the font information cache, the thumbnail cache, the list of extra
// documents formatted with this one). Many answers depend on vdflRoot in the control's Flags:
// without it the data behaves as a sub-document and asks its parent.
#pragma once

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/layout/viewer/VDAnimate.h"
#include "vizivodu/layout/viewer/VDCtrlData.h"
#include "vizivodu/layout/viewer/VDOptions.h"

#include <memory>
#include <vector>

namespace gfx {
class TCustomImageList;
}
namespace rtl {
class TStringList;
}

namespace vizivodu {

class TVDScroller;
class TCustomViziVodu;

// The style maps that nested VDF readings (sub-documents read inside one stream) share, kept
// by the root document while a reading runs.
struct TVDFGlobalReadData {
    TVDIntegerList VDFTextStylesMapping;
    TVDIntegerList VDFParaStylesMapping;
    TVDIntegerList VDFListStylesMapping;
    TVDStyleUnits Units{};
    int32_t RefCount = 0;
};

class TViziVoduVDData : public TVDControlData {
public:
    explicit TViziVoduVDData(TVDScroller *viziVodu);
    ~TViziVoduVDData() override;

    TVDScroller *ViziVodu() const { return FViziVodu; }
    // The control as a viewer; nullptr for another scroller.
    TCustomViziVodu *Viewer() const { return FViewer; }

    // Documents of other viewers formatted and cleared with this one; the list does not own
    // them. Created on first read.
    std::vector<TCustomVDData *> &ExtraDocumentsList();
    std::vector<TCustomVDData *> *GetExtraDocuments() override { return FExtraDocuments.get(); }

    std::function<void(TCustomVDData *vdData, int32_t itemNo, const rtl::TRect &r)> OnDrawHyperlink;

    void Clear() override;

    // ---- Settings of the control ----
    TVDFOptions GetVDFOptions() override;
    void SetVDFOptions(TVDFOptions value) override;
    TVDRTFOptions GetRTFOptions() override;
    void SetRTFOptions(TVDRTFOptions value) override;
    TVDFWarnings GetVDFWarnings() override;
    void SetVDFWarnings(TVDFWarnings value) override;
    TVDFReaderStyleMode GetVDFTextStylesReadMode() override;
    TVDFReaderStyleMode GetVDFParaStylesReadMode() override;
    TVDPaletteAction GetDoInPaletteMode() override;
    ui::TCursor GetNormalCursor() override;
    // Root: the control's; otherwise the absolute root's.
    rtl::UnicodeString GetNoteText() override;
    TVDStyleTemplateInsertMode StyleTemplateInsertMode() override;
    // Root: the control's; otherwise none.
    rtl::TStringList *GetDocProperties() override;
    // nullptr when allowCreate is false and the control has none; else the control's (made).
    TVDDocParameters *GetDocParameters(bool allowCreate) override;
    TVDRTFReaderProperties *GetRTFReadProperties() override;
    bool CanLoadLayout() override { return true; }
    TVDOptions GetOptions() override;
    void SetOptions(TVDOptions value) override;
    TVDFlags GetFlags() override;
    void SetFlags(TVDFlags value) override;
    rtl::UnicodeString GetDelimiters() override;
    TVDBiDiMode GetBiDiMode() override;
    TVDStyle *GetVDStyle() override;
    ui::TControl *GetParentControl() override;
    gfx::TCanvas *GetCanvas() override;
    TCPEventKind GetCPEventKind() override;
    TVDBackground *GetBackground() override;
    uint32_t GetColor() override;
    int32_t GetLeftMargin() override;
    int32_t GetRightMargin() override;
    int32_t GetTopMargin() override;
    int32_t GetBottomMargin() override;
    int32_t GetMinTextWidth() override;
    int32_t GetMaxTextWidth() override;
    int32_t GetWidth() override;
    int32_t GetHeight() override;
    int32_t GetAreaWidth() override;
    int32_t GetAreaHeight() override;
    int32_t GetVSmallStep() override;
    int32_t GetFullDocumentHeight() override;
    int32_t GetHOffs() override;
    int32_t GetVOffs() override;
    rtl::TPoint GetOrigin() override { return {}; }
    rtl::TPoint GetOriginEx() override { return {}; }
    bool GetWordWrap() override;
    int32_t GetMaxLength() override;
    bool UseStyleTemplates() override;
    gfx::TCanvas *GetFormatCanvasEx(gfx::TCanvas *defCanvas) override;
    bool IsVScrollBarExpected() override;
    bool FocusedEx() override;
    bool EnabledEx() override;

    // ---- Scrolling and sizing ----
    void SetDocumentAreaSize(int32_t width, int32_t height, bool updateH,
                             bool allowEvents) override;
    void ScrollTo(int32_t y, bool redraw) override;
    void HScrollTo(int32_t x) override;
    // Keeps the document at most 32000 vertical scroll units tall.
    void AdjustVScrollUnits() override;
    int32_t GetVDDataExtraVOffs() override;

    // ---- Events of the control (each does nothing, or gives the default stated, while the
    // control's event is not assigned) ----
    void DoJump(int32_t id) override;
    void DoVDMouseMove(int32_t id) override;
    void DoVDMouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t itemNo, int32_t x,
                       int32_t y) override;
    void DoVDMouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t itemNo, int32_t x,
                     int32_t y) override;
    void DoVDRightClick(const TVDRawByteString &clickedWord, int32_t styleNo, int32_t x,
                        int32_t y) override;
    void DoVDDblClick(const TVDRawByteString &clickedWord, int32_t styleNo) override;
    void DoGetItemCursor(TCustomVDData *vdData, int32_t itemNo, ui::TCursor &cursor) override;
    void DoStyleTemplatesChange() override;
    void ControlAction2(TCustomVDData *vdData, TVDControlAction action, int32_t itemNo,
                        ui::TControl *&control) override;
    void DoCopy() override;
    bool IsAssignedCopy() override;
    bool IsAssignedVDMouseUp() override;
    bool IsAssignedVDMouseDown() override;
    bool IsAssignedVDRightClick() override;
    bool IsAssignedJump() override;
    bool IsAssignedVDDblClick() override;
    // "" unless OnURLNeeded gives one.
    rtl::UnicodeString GetURL(int32_t id) override;
    ui::TControl *VDFControlNeeded(const rtl::UnicodeString &itemName,
                                   const TVDTag &itemTag) override;
    gfx::TCustomImageList *VDFImageListNeeded(int32_t imageListTag) override;
    std::unique_ptr<gfx::TGraphic> VDFPictureNeeded(const rtl::UnicodeString &itemName,
                                                    TCustomVDItemInfo *item, int32_t index1,
                                                    int32_t index2) override;
    rtl::UnicodeString SaveComponentToFile(const rtl::UnicodeString &path, ui::TControl *saveMe,
                                           TVDSaveFormat saveFormat) override;
    // True when the handler saved the item itself (text holds what it wrote).
    bool SaveItemToFile(const rtl::UnicodeString &path, TCustomVDData *vdData, int32_t itemNo,
                        TVDSaveFormat saveFormat, bool unicode, TVDRawByteString &text) override;
    // nullptr (invalid unchanged) without OnImportPicture.
    std::unique_ptr<gfx::TGraphic> ImportPicture(const rtl::UnicodeString &location, int32_t width,
                                                 int32_t height, bool &invalid) override;
    void HTMLSaveImage(TCustomVDData *vdData, int32_t itemNo, const rtl::UnicodeString &path,
                       gfx::TColor backgroundColor, rtl::UnicodeString &location,
                       bool &doDefault) override;
    void SaveImage2(TCustomVDData *vdData, int32_t itemNo, gfx::TGraphic *graphic,
                    TVDSaveFormat saveFormat, const rtl::UnicodeString &path,
                    const rtl::UnicodeString &imagePrefix, int32_t &imageSaveNo,
                    rtl::UnicodeString &location, bool &doDefault) override;
    TVDAnsiString GetExtraRTFCode(TVDRTFSaveArea area, const void *obj, int32_t index1,
                                  int32_t index2, bool inStyleSheet) override;
    TVDAnsiString GetExtraDocXCode(TVDDocXSaveArea area, const void *obj, int32_t index1,
                                   int32_t index2) override;
    rtl::UnicodeString GetExtraHTMLCode(TVDHTMLSaveArea area, bool cssVersion) override;
    rtl::UnicodeString GetParaHTMLCode(TCustomVDData *vdData, int32_t itemNo, bool paraStart,
                                       bool cssVersion) override;
    // A hyperlink read from RTF, HTML or DOCX: over a bullet it becomes a hotspot, over a
    // picture a hot picture; OnReadHyperlink may change the style, tag and text, else the tag
    // is the target.
    void ReadHyperlink(const rtl::UnicodeString &target, const rtl::UnicodeString &extras,
                       TVDLoadFormat docFormat, int32_t &styleNo, TVDTag &itemTag,
                       TVDRawByteString &itemName) override;
    // The target and extra attributes of a hyperlink being saved: OnWriteHyperlink, else the
    // URL of OnURLNeeded, else the item's tag; the extras are the item's hint.
    void WriteHyperlink(int32_t id, TCustomVDData *vdData, int32_t itemNo, TVDSaveFormat saveFormat,
                        rtl::UnicodeString &target, rtl::UnicodeString &extras) override;
    // Root: the control's hint becomes hint and is shown at once when it changed; an empty
    // one hides it.
    void SetControlHint(const rtl::UnicodeString &hint) override;
    void DoBeforeSaving() override;
    // A sub-document's is its absolute parent's; the root's the one its control supplies.
    IVDRazavIrezIzirInterface *GetRazavIrezIzirInterface() override;
    void DoSelect() override;
    bool IsAssignedCheckpointVisible() override;
    void DoCheckpointVisible(TCheckpointData checkpoint) override;
    void DoDrawHyperlink(TCustomVDData *vdData, int32_t itemNo, const rtl::TRect &r) override;
    void ItemAction(TVDItemAction action, TCustomVDItemInfo &item, TVDRawByteString &text,
                    TCustomVDData &vdData) override;
    bool IsAssignedOnProgress() override;
    void DoProgress(TVDLongOperation operation, TVDProgressStage stage, int32_t percent) override;
    rtl::UnicodeString GetItemHint(TCustomVDData &vdData, int32_t itemNo,
                                   const rtl::UnicodeString &upperHint) override;
    void AfterAddStyle(TCustomVDInfo &styleInfo) override;

    // ---- Owned objects ----
    void CreateFontInfoCache(gfx::TCanvas &canvas, gfx::TCanvas &formatCanvas) override;
    TVDFontInfoCache *GetFontInfoCache(gfx::TCanvas &canvas, gfx::TCanvas &formatCanvas,
                                       TCustomVDFormattedData *vdData) override;
    void DestroyFontInfoCache(TVDFontInfoCache *&cache) override;
    TVDThumbnailCache *GetThumbnailCache() override;
    // The style maps of a VDF reading, shared by nested readings: made by the first call,
    // freed by the last DoneStyleMappings.
    void InitStyleMappings(TVDIntegerList *&textStylesMapping, TVDIntegerList *&paraStylesMapping,
                           TVDIntegerList *&listStylesMapping, TVDStyleUnits *&units) override;
    void DoneStyleMappings() override;

    // ---- The chosen sub-document and its in-place editor (the scroller's) ----
    void AssignChosenVDData(TCustomVDData *vdData, TCustomVDItemInfo *item) override;
    void SilentReplaceChosenVDData(TCustomVDData *vdData) override;
    void UnassignChosenVDData(TCustomVDData *vdData) override;
    TCustomVDData *GetChosenVDData() override;
    TCustomVDItemInfo *GetChosenItem() override;
    ui::TWinControl *GetInplaceEditor() override;
    void DestroyInplace() override;

    // ---- Animation (ViziVodu_Animation.cpp) ----
    // The control's animation was started (StartAnimation).
    bool FPlayingAnimation = false;
    // The animators of the control's pictures; nullptr until the first one.
    std::unique_ptr<TVDAnimatorList> FAnimatorList;
    // Root: unless the control's AnimationMode is vdaniDisabled.
    bool AllowAnimation() override;
    // Root: into the list (made when missing), starting the timer while animation plays.
    void InsertAnimator(std::unique_ptr<TVDAnimator> &animator) override;
    void ResetAniBackground() override;

private:
    // The hyperlink events run unless a page-layout component forbids them.
    bool HyperlinkEventsAllowed();
    bool IsRoot();
    // The root data of the absolute root's viewer (this one when it is its own).
    TViziVoduVDData &AbsoluteRootViewerData();
    // The absolute root's data when this sub-document passes its questions there; nullptr when
    // this one answers itself.
    TViziVoduVDData *RootToAsk();

    std::unique_ptr<TVDFGlobalReadData> FVDFGlobalReadData;
    std::unique_ptr<std::vector<TCustomVDData *>> FExtraDocuments;
    TVDScroller *FViziVodu;
    TCustomViziVodu *FViewer;                   // FViziVodu as a viewer, found once
    TVDFontInfoCache *FFontInfoCache = nullptr; // the current one, kept in FOwnFontCache
    std::unique_ptr<TVDThumbnailCache> FThumbnailCache;
};

} // namespace vizivodu
