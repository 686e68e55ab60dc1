// The viewer's root document: answers from the control, scroll bars, owned caches, the chosen
// sub-document.
#include "vizivodu/layout/viewer/VDVDData.h"

#include "vizivodu/document/VDRazavIrezIzir.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDItem.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/layout/text/VDFontCache.h"
#include "vizivodu/layout/viewer/ViziVodu.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Application.h"
#include "platform/ui/Cursors.h"

namespace vizivodu {

// Made by the viewer's constructor, whose class the viewer already has.
TViziVoduVDData::TViziVoduVDData(TVDScroller *viziVodu)
    : FViziVodu(viziVodu), FViewer(dynamic_cast<TCustomViziVodu *>(viziVodu)) {}

TViziVoduVDData::~TViziVoduVDData() {
    FExtraDocuments.reset();
    ClearTemporal();
    // The items go before the thumbnail cache their pictures may be in.
    TCustomVDData::Clear();
    FThumbnailCache.reset();
}

bool TViziVoduVDData::IsRoot() {
    return GetFlags().Contains(vdflRoot);
}

TViziVoduVDData &TViziVoduVDData::AbsoluteRootViewerData() {
    auto *root = dynamic_cast<TViziVoduVDData *>(GetAbsoluteRootData());
    return root ? *root : *this;
}

TViziVoduVDData *TViziVoduVDData::RootToAsk() {
    TViziVoduVDData &root = AbsoluteRootViewerData();
    return !IsRoot() && &root != this ? &root : nullptr;
}

std::vector<TCustomVDData *> &TViziVoduVDData::ExtraDocumentsList() {
    if (!FExtraDocuments) {
        FExtraDocuments = std::make_unique<std::vector<TCustomVDData *>>();
    }
    return *FExtraDocuments;
}

void TViziVoduVDData::Clear() {
    const bool root = IsRoot();
    if (root && Viewer() && Viewer()->AnimationMode == vdaniOnFormat) {
        Viewer()->StopAnimation();
    }
    if (root && FThumbnailCache) {
        while (FThumbnailCache->Count() > 0) {
            FThumbnailCache->RemoveThumbnail(FThumbnailCache->Get(0));
        }
    }
    TVDControlData::Clear();
    if (root) {
        TCustomViziVodu *viewer = Viewer();
        if (IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface()) {
            ifc->Cleared(viewer);
        }
        if (viewer) {
            viewer->DoOnClear();
        }
    }
}

// ---- Settings of the control ----

#define VD_VIEWER_VALUE(field, neutral)                                                            \
    TCustomViziVodu *viewer = Viewer();                                                            \
    return viewer ? viewer->field : (neutral)

TVDFOptions TViziVoduVDData::GetVDFOptions() {
    VD_VIEWER_VALUE(VDFOptions, TVDFOptions{});
}

void TViziVoduVDData::SetVDFOptions(TVDFOptions value) {
    if (TCustomViziVodu *viewer = Viewer()) {
        viewer->VDFOptions = value;
    }
}

TVDRTFOptions TViziVoduVDData::GetRTFOptions() {
    VD_VIEWER_VALUE(RTFOptions, TVDRTFOptions{});
}

void TViziVoduVDData::SetRTFOptions(TVDRTFOptions value) {
    if (TCustomViziVodu *viewer = Viewer()) {
        viewer->RTFOptions = value;
    }
}

TVDFWarnings TViziVoduVDData::GetVDFWarnings() {
    VD_VIEWER_VALUE(VDFWarnings, TVDFWarnings{});
}

void TViziVoduVDData::SetVDFWarnings(TVDFWarnings value) {
    if (TCustomViziVodu *viewer = Viewer()) {
        viewer->VDFWarnings = value;
    }
}

TVDFReaderStyleMode TViziVoduVDData::GetVDFTextStylesReadMode() {
    VD_VIEWER_VALUE(VDFTextStylesReadMode, vdf_sInsertMerge);
}

TVDFReaderStyleMode TViziVoduVDData::GetVDFParaStylesReadMode() {
    VD_VIEWER_VALUE(VDFParaStylesReadMode, vdf_sInsertMerge);
}

TVDPaletteAction TViziVoduVDData::GetDoInPaletteMode() {
    return FViziVodu->GetDoInPaletteMode();
}

ui::TCursor TViziVoduVDData::GetNormalCursor() {
    return FViziVodu->GetCursor();
}

rtl::UnicodeString TViziVoduVDData::GetNoteText() {
    if (TViziVoduVDData *root = RootToAsk()) {
        return root->GetNoteText();
    }
    TCustomViziVodu *viewer = Viewer();
    return viewer ? viewer->NoteText : rtl::UnicodeString(u"?");
}

TVDStyleTemplateInsertMode TViziVoduVDData::StyleTemplateInsertMode() {
    if (TViziVoduVDData *root = RootToAsk()) {
        return root->StyleTemplateInsertMode();
    }
    TCustomViziVodu *viewer = Viewer();
    return viewer ? viewer->StyleTemplateInsertMode : vdstimUseTargetFormatting;
}

rtl::TStringList *TViziVoduVDData::GetDocProperties() {
    TCustomViziVodu *viewer = Viewer();
    return viewer && IsRoot() ? &viewer->GetDocProperties() : nullptr;
}

TVDDocParameters *TViziVoduVDData::GetDocParameters(bool allowCreate) {
    TCustomViziVodu *viewer = Viewer();
    if (!viewer || (!allowCreate && !viewer->DocParametersAssigned())) {
        return nullptr;
    }
    return viewer->GetDocParameters();
}

TVDRTFReaderProperties *TViziVoduVDData::GetRTFReadProperties() {
    TCustomViziVodu *viewer = Viewer();
    return viewer ? viewer->GetRTFReadProperties() : nullptr;
}

TVDOptions TViziVoduVDData::GetOptions() {
    TCustomViziVodu *viewer = Viewer();
    return viewer ? viewer->GetOptions() : TVDControlData::GetOptions();
}

void TViziVoduVDData::SetOptions(TVDOptions value) {
    if (TCustomViziVodu *viewer = Viewer()) {
        viewer->SetOptions(value);
    } else {
        TVDControlData::SetOptions(value);
    }
}

TVDFlags TViziVoduVDData::GetFlags() {
    TCustomViziVodu *viewer = Viewer();
    return viewer ? viewer->Flags : TVDFlags{vdflRoot};
}

void TViziVoduVDData::SetFlags(TVDFlags value) {
    if (TCustomViziVodu *viewer = Viewer()) {
        viewer->Flags = value;
    }
}

rtl::UnicodeString TViziVoduVDData::GetDelimiters() {
    TCustomViziVodu *viewer = Viewer();
    return viewer ? viewer->GetDelimiters() : TVDControlData::GetDelimiters();
}

TVDBiDiMode TViziVoduVDData::GetBiDiMode() {
    return FViziVodu->GetBiDiMode();
}

TVDStyle *TViziVoduVDData::GetVDStyle() {
    TCustomViziVodu *viewer = Viewer();
    return viewer ? viewer->GetStyle() : nullptr;
}

ui::TControl *TViziVoduVDData::GetParentControl() {
    return FViziVodu;
}

gfx::TCanvas *TViziVoduVDData::GetCanvas() {
    return &FViziVodu->GetCanvas();
}

TCPEventKind TViziVoduVDData::GetCPEventKind() {
    TCustomViziVodu *viewer = Viewer();
    return viewer ? viewer->CPEventKind : cpeNone;
}

TVDBackground *TViziVoduVDData::GetBackground() {
    TCustomViziVodu *viewer = Viewer();
    return viewer ? &viewer->GetBackground() : nullptr;
}

uint32_t TViziVoduVDData::GetColor() {
    const gfx::TColor color = FViziVodu->GetColor();
    if (color != gfx::clNone) {
        return color;
    }
    TVDStyle *style = GetVDStyle();
    return style ? style->GetColor() : gfx::clNone;
}

int32_t TViziVoduVDData::GetLeftMargin() {
    VD_VIEWER_VALUE(LeftMargin, 0);
}

int32_t TViziVoduVDData::GetRightMargin() {
    VD_VIEWER_VALUE(RightMargin, 0);
}

int32_t TViziVoduVDData::GetTopMargin() {
    VD_VIEWER_VALUE(TopMargin, 0);
}

int32_t TViziVoduVDData::GetBottomMargin() {
    VD_VIEWER_VALUE(BottomMargin, 0);
}

int32_t TViziVoduVDData::GetMinTextWidth() {
    VD_VIEWER_VALUE(MinTextWidth, 0);
}

int32_t TViziVoduVDData::GetMaxTextWidth() {
    VD_VIEWER_VALUE(MaxTextWidth, 0);
}

int32_t TViziVoduVDData::GetWidth() {
    return FViziVodu->GetClientWidth();
}

int32_t TViziVoduVDData::GetHeight() {
    return FViziVodu->GetClientHeight();
}

int32_t TViziVoduVDData::GetAreaWidth() {
    return FViziVodu->XSize;
}

int32_t TViziVoduVDData::GetAreaHeight() {
    return FViziVodu->YSize;
}

int32_t TViziVoduVDData::GetVSmallStep() {
    return FViziVodu->GetVSmallStep();
}

int32_t TViziVoduVDData::GetFullDocumentHeight() {
    // Without a window there are no scroll units: the formatted height itself.
    if (!IsRoot() || !FViziVodu->WindowCreated()) {
        return TVDControlData::GetFullDocumentHeight();
    }
    return FViziVodu->YSize * FViziVodu->GetVSmallStep();
}

int32_t TViziVoduVDData::GetHOffs() {
    return FViziVodu->HPos;
}

int32_t TViziVoduVDData::GetVOffs() {
    return FViziVodu->VPos * FViziVodu->GetVSmallStep() - GetVDDataExtraVOffs();
}

bool TViziVoduVDData::GetWordWrap() {
    TCustomViziVodu *viewer = Viewer();
    return viewer && IsRoot() ? viewer->WordWrap : TVDControlData::GetWordWrap();
}

int32_t TViziVoduVDData::GetMaxLength() {
    TCustomViziVodu *viewer = Viewer();
    return viewer && IsRoot() ? viewer->MaxLength : TVDControlData::GetMaxLength();
}

bool TViziVoduVDData::UseStyleTemplates() {
    TCustomViziVodu *viewer = Viewer();
    return viewer && IsRoot() ? viewer->UseStyleTemplates : TVDControlData::UseStyleTemplates();
}

gfx::TCanvas *TViziVoduVDData::GetFormatCanvasEx(gfx::TCanvas *defCanvas) {
    TCustomViziVodu *viewer = Viewer();
    return viewer ? viewer->GetFormatCanvas(defCanvas) : defCanvas;
}

bool TViziVoduVDData::IsVScrollBarExpected() {
    return FViziVodu->GetVScrollVisible() && !FViziVodu->GetVDisableNoScroll();
}

bool TViziVoduVDData::FocusedEx() {
    return FViziVodu->FocusedEx();
}

bool TViziVoduVDData::EnabledEx() {
    return FViziVodu->EnabledEx();
}

// ---- Scrolling and sizing ----

void TViziVoduVDData::SetDocumentAreaSize(int32_t width, int32_t height, bool updateH, bool) {
    const int32_t step = FViziVodu->GetVSmallStep();
    FViziVodu->UpdateScrollBars(width, (height + step - 1) / step, updateH, true);
}

void TViziVoduVDData::ScrollTo(int32_t y, bool redraw) {
    if (State.Contains(vdstNoScroll)) {
        return;
    }
    if (redraw) {
        FViziVodu->ScrollTo(y);
    } else {
        FViziVodu->ScrollToNoRedraw(y);
    }
}

void TViziVoduVDData::HScrollTo(int32_t x) {
    if (!State.Contains(vdstNoScroll)) {
        FViziVodu->SetHPos(x);
    }
}

void TViziVoduVDData::AdjustVScrollUnits() {
    constexpr int32_t kMaxUnits = 32000;
    const int32_t step = FViziVodu->GetVSmallStep();
    if (FViziVodu->GetVScrollVisible() && DocumentHeight / step > kMaxUnits) {
        int32_t n = DocumentHeight / kMaxUnits;
        if (DocumentHeight / n > kMaxUnits) {
            ++n;
        }
        FViziVodu->SetVSmallStep(n);
    } else if (step > 10 && DocumentHeight / 10 <= kMaxUnits) {
        FViziVodu->SetVSmallStep(10);
    }
}

int32_t TViziVoduVDData::GetVDDataExtraVOffs() {
    TCustomViziVodu *viewer = Viewer();
    if (!viewer) {
        return 0;
    }
    int32_t offs = 0;
    switch (viewer->VAlign) {
    case tlCenter:
        offs = (GetHeight() - DocumentHeight) / 2;
        break;
    case tlBottom:
        offs = GetHeight() - DocumentHeight;
        break;
    case tlTop:
        break;
    }
    return offs < 0 ? 0 : offs;
}

// ---- Owned objects ----

void TViziVoduVDData::CreateFontInfoCache(gfx::TCanvas &canvas, gfx::TCanvas &formatCanvas) {
    TVDFontInfoCache *old = FFontInfoCache;
    FFontInfoCache = nullptr;
    TVDControlData::DestroyFontInfoCache(old);
    FFontInfoCache = TVDControlData::GetFontInfoCache(canvas, formatCanvas, this);
}

TVDFontInfoCache *TViziVoduVDData::GetFontInfoCache(gfx::TCanvas &canvas,
                                                    gfx::TCanvas &formatCanvas,
                                                    TCustomVDFormattedData *vdData) {
    if (FFontInfoCache) {
        return FFontInfoCache;
    }
    return TVDControlData::GetFontInfoCache(canvas, formatCanvas, vdData);
}

void TViziVoduVDData::DestroyFontInfoCache(TVDFontInfoCache *&cache) {
    if (cache == FFontInfoCache) {
        FFontInfoCache = nullptr;
    }
    TVDControlData::DestroyFontInfoCache(cache);
}

namespace {

// The owner of a thumbnail is an item (a table, a picture) or a document with a background:
// only its place in the tree tells which, so the tree is searched for it.
bool FreeOwnersThumbnail(TCustomVDData &doc, const void *owner) {
    if (static_cast<const void *>(&doc) == owner) {
        if (auto *formatted = dynamic_cast<TCustomVDFormattedData *>(&doc)) {
            formatted->FreeBackgroundThumbnail();
        }
        return true;
    }
    for (int32_t i = 0; i < doc.ItemCount(); ++i) {
        TCustomVDItemInfo *item = doc.GetItem(i);
        if (static_cast<const void *>(item) == owner) {
            if (auto *nonText = dynamic_cast<TVDNonTextItemInfo *>(item)) {
                nonText->FreeThumbnail();
            }
            return true;
        }
        std::unique_ptr<TVDStoreSubVDData> store;
        for (TCustomVDData *sub = item->GetSubVDData(store, vddFirst); sub;
             sub = item->GetSubVDData(store, vddNext)) {
            if (FreeOwnersThumbnail(*sub, owner)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

TVDThumbnailCache *TViziVoduVDData::GetThumbnailCache() {
    if (!IsRoot()) {
        return TVDControlData::GetThumbnailCache();
    }
    if (!FThumbnailCache) {
        FThumbnailCache = std::make_unique<TVDThumbnailCache>(
            [this](void *owner) { FreeOwnersThumbnail(*this, owner); });
    }
    return FThumbnailCache.get();
}

void TViziVoduVDData::InitStyleMappings(TVDIntegerList *&textStylesMapping,
                                        TVDIntegerList *&paraStylesMapping,
                                        TVDIntegerList *&listStylesMapping, TVDStyleUnits *&units) {
    if (!FVDFGlobalReadData) {
        FVDFGlobalReadData = std::make_unique<TVDFGlobalReadData>();
    }
    textStylesMapping = &FVDFGlobalReadData->VDFTextStylesMapping;
    paraStylesMapping = &FVDFGlobalReadData->VDFParaStylesMapping;
    listStylesMapping = &FVDFGlobalReadData->VDFListStylesMapping;
    units = &FVDFGlobalReadData->Units;
    ++FVDFGlobalReadData->RefCount;
}

void TViziVoduVDData::DoneStyleMappings() {
    if (FVDFGlobalReadData && --FVDFGlobalReadData->RefCount <= 0) {
        FVDFGlobalReadData.reset();
    }
}

// ---- The chosen sub-document ----

void TViziVoduVDData::AssignChosenVDData(TCustomVDData *vdData, TCustomVDItemInfo *item) {
    FViziVodu->AssignChosenVDData(vdData, item);
    TVDControlData::AssignChosenVDData(vdData, item);
}

void TViziVoduVDData::SilentReplaceChosenVDData(TCustomVDData *vdData) {
    FViziVodu->SilentReplaceChosenVDData(vdData);
}

void TViziVoduVDData::UnassignChosenVDData(TCustomVDData *vdData) {
    if (State.Contains(vdstUnAssigningChosen)) {
        return;
    }
    const rtl::TFlagScope unassigning(State, vdstUnAssigningChosen);
    TVDControlData::UnassignChosenVDData(vdData);
    FViziVodu->UnassignChosenVDData(vdData);
}

TCustomVDData *TViziVoduVDData::GetChosenVDData() {
    return FViziVodu->GetChosenVDData();
}

TCustomVDItemInfo *TViziVoduVDData::GetChosenItem() {
    return FViziVodu->GetChosenItem();
}

ui::TWinControl *TViziVoduVDData::GetInplaceEditor() {
    return FViziVodu->InplaceEditor();
}

void TViziVoduVDData::DestroyInplace() {
    FViziVodu->DestroyInplace();
}

} // namespace vizivodu
