// The root document of a viewer control: it answers the formatted document's geometry
// questions from the control and its scroller (client size, margins, text width limits, scroll
// offsets), passes the formatted size back to the scroll bars, reads the control-wide settings
// from the control, raises the control's events for every document of the tree, and owns what
// exists once per control (the font information cache, the thumbnail cache, the list of extra
// documents formatted with this one). Many answers depend on vdflRoot in the control's Flags:
// without it the data behaves as a sub-document and asks its parent.
#pragma once

#include "vizivodu/layout/VDCtrlData.h"

#include <memory>
#include <vector>

namespace vizivodu {

class TVDScroller;
class TCustomViziVodu;

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
    std::vector<TCustomVDData *> *GetExtraDocuments() { return FExtraDocuments.get(); }

    std::function<void(TCustomVDData *vdData, int32_t itemNo, const rtl::TRect &r)> OnDrawHyperlink;

    void Clear() override;

    // ---- Settings of the control ----
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
    rtl::UnicodeString GetNoteText() override;
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

    // ---- Events of the control ----
    void DoJump(int32_t id) override;
    void DoVDMouseMove(int32_t id) override;
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

    void DestroyInplace() override;

private:
    bool IsRoot();

    std::unique_ptr<std::vector<TCustomVDData *>> FExtraDocuments;
    TVDScroller *FViziVodu;
    TCustomViziVodu *FViewer;                   // FViziVodu as a viewer, found once
    TVDFontInfoCache *FFontInfoCache = nullptr; // the current one, kept in FOwnFontCache
    std::unique_ptr<TVDThumbnailCache> FThumbnailCache;
};

} // namespace vizivodu
