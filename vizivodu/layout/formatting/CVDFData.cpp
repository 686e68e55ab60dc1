// The formatted document: state, clearing, selection entry points, the font cache of a run,
// the formatting driver and the formatting stream.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/layout/formatting/CVDFData_p.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/ScopeExit.h"

#include <algorithm>

namespace vizivodu {

// ---- TVDSelectingInfo ----

void TVDSelectingInfo::InitE(TVDSelectingState sWordState) {
    DrawItemEOffs = DrawItemSOffs;
    DrawItemEWordOffs1 = DrawItemSWordOffs1;
    DrawItemEWordOffs2 = DrawItemSWordOffs2;
    DrawItemENo = DrawItemSNo;
    if (sWordState == vdsesParaMode) {
        SWordState = EWordState = vdsesParaMode;
    } else {
        SWordState = sWordState;
        EWordState = vdsesInWord;
    }
}

bool TVDSelectingInfo::IsInSWord(int32_t dItemNo, int32_t dItemOffs) const {
    return dItemNo == DrawItemSNo && DrawItemSWordOffs1 <= dItemOffs &&
           dItemOffs <= DrawItemSWordOffs2;
}

bool TVDSelectingInfo::IsBelowSWord(int32_t dItemNo, int32_t dItemOffs) const {
    return dItemNo > DrawItemSNo || (dItemNo == DrawItemSNo && dItemOffs > DrawItemSWordOffs2);
}

bool TVDSelectingInfo::IsAboveSWord(int32_t dItemNo, int32_t dItemOffs) const {
    return dItemNo < DrawItemSNo || (dItemNo == DrawItemSNo && dItemOffs < DrawItemSWordOffs1);
}

bool TVDSelectingInfo::AreWordsEqual() const {
    return DrawItemSNo == DrawItemENo && DrawItemSWordOffs1 == DrawItemEWordOffs1 &&
           DrawItemSWordOffs2 == DrawItemEWordOffs2;
}

bool TVDSelectingInfo::IsEWord(int32_t, int32_t wordOffs1, int32_t wordOffs2) const {
    return wordOffs1 == DrawItemEWordOffs1 && wordOffs2 == DrawItemEWordOffs2;
}

bool TVDSelectingInfo::IsEFreeStateNeeded(int32_t dItemNo, int32_t dItemOffs) const {
    return (IsAboveSWord(dItemNo, dItemOffs) && dItemOffs > DrawItemEOffs) ||
           (IsBelowSWord(dItemNo, dItemOffs) && dItemOffs < DrawItemEOffs);
}

// ---- Construction and clearing ----

TCustomVDFormattedData::TCustomVDFormattedData() = default;

// The descendants are gone by now: only the draw items are released here.
TCustomVDFormattedData::~TCustomVDFormattedData() {
    DrawItems.Clear();
}

void TCustomVDFormattedData::ClearTemporal() {
    DrawItems.Clear();
    HasObjectDrawItems = false;
    ClearJumps(false);
    nJmps = 0;
    FActiveItem = nullptr;
    FCaptureMouseItem = nullptr;
    LastDIMovedAbove = -1;
    State.Exclude(vdstMakingSelection);
    State.Exclude(vdstLineSelection);
    State.Exclude(vdstDrawHover);
    LastRaisedCP = nullptr;
    FClickedDrawItemNo = -1;
    FSelectingInfo.reset();
    LastItemFormatted = -1;
    DocumentHeight = GetTopMargin() + GetBottomMargin();
}

void TCustomVDFormattedData::Clear() {
    const rtl::TFlagScope clearing(State, vdstClearing);
    FSoftPageBreaks.reset();
    Deselect(nullptr, true);
    ClearTemporal();
    ForgetMinDocWidth();
    TCustomVDData::Clear();
}

void TCustomVDFormattedData::ClearJumps(bool callEvent) {
    if (LastJumpDIMovedAboveFirst >= 0) {
        State.Exclude(vdstDrawHover);
        if (callEvent) {
            DoVDMouseMove(-1);
        }
    }
    LastJumpDIMovedAboveFirst = LastJumpDIMovedAboveLast = LastJumpDIDowned = -1;
}

void TCustomVDFormattedData::Hiding() {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        GetItem(i)->Hiding();
    }
}

void TCustomVDFormattedData::Deselect(TCustomVDItemInfo *newPartiallySelected, bool makeEvent) {
    if (State.Contains(vdstDeselecting)) {
        return;
    }
    const rtl::TFlagScope deselecting(State, vdstDeselecting);
    State.Exclude(vdstMakingSelection);
    State.Exclude(vdstLineSelection);
    FSelStartNo = FSelEndNo = -1;
    FSelStartOffs = FSelEndOffs = 0;
    if (FocusedItemNo >= 0 && FocusedItemNo < ItemCount()) {
        GetItem(FocusedItemNo)->ClearFocus();
    }
    FocusedItemNo = -1;
    DeselectPartiallySelectedItem(newPartiallySelected);
    if (makeEvent) {
        DoSelect();
    }
}

void TCustomVDFormattedData::SelectAll() {
    if (ItemCount() == 0 || DrawItems.Count() == 0) {
        return;
    }
    DestroyInplace();
    DeselectPartiallySelectedItem(nullptr);
    FSelStartNo = 0;
    FSelStartOffs = GetOffsBeforeDrawItem(0);
    FSelEndNo = DrawItems.Count() - 1;
    FSelEndOffs = GetOffsAfterDrawItem(FSelEndNo);
    DoOnSelection(false);
    DoSelect();
}

void TCustomVDFormattedData::ExtendJumpRangeByTag() {
    LastJumpDIMovedAboveLast = LastJumpDIMovedAboveFirst;
    const int32_t first = LastJumpDIMovedAboveFirst;
    if (first < 0 || first >= DrawItems.Count()) {
        return;
    }
    const TVDTag tag = GetItem(DrawItems[first]->ItemNo)->Tag;
    if (tag.empty()) {
        return;
    }
    const auto sameTag = [&](int32_t d) {
        return AreTagsEqual(GetItem(DrawItems[d]->ItemNo)->Tag, tag);
    };
    while (LastJumpDIMovedAboveFirst > 0 && sameTag(LastJumpDIMovedAboveFirst - 1)) {
        --LastJumpDIMovedAboveFirst;
    }
    while (LastJumpDIMovedAboveLast + 1 < DrawItems.Count() &&
           sameTag(LastJumpDIMovedAboveLast + 1)) {
        ++LastJumpDIMovedAboveLast;
    }
}

void TCustomVDFormattedData::Normalize() {
    for (int32_t i = ItemCount() - 2; i >= 0; --i) {
        TCustomVDItemInfo *first = GetItem(i);
        TCustomVDItemInfo *second = GetItem(i + 1);
        if (!CanConcateItems(i, first, second, false, false)) {
            continue;
        }
        const bool firstUnicode = first->ItemOptions.Contains(vdioUnicode);
        const bool secondUnicode = second->ItemOptions.Contains(vdioUnicode);
        if (firstUnicode != secondUnicode && !second->ItemText.empty()) {
            second->SetSameAsPrev(first->GetSameAsPrev());
            second->SetBR(first->GetBR());
            DeleteItems(i, 1);
        } else {
            first->ItemText += second->ItemText;
            DeleteItems(i + 1, 1);
        }
    }
}

void TCustomVDFormattedData::DeleteItems(int32_t firstItemNo, int32_t count) {
    Deselect(nullptr, true);
    TCustomVDData::DeleteItems(firstItemNo, count);
}

void TCustomVDFormattedData::DestroyItem(std::unique_ptr<TCustomVDItemInfo> item, bool clearing) {
    if (FCaptureMouseItem == item.get()) {
        FCaptureMouseItem = nullptr;
    }
    if (FActiveItem == item.get()) {
        FActiveItem = nullptr;
    }
    if (LastRaisedCP && item && LastRaisedCP == item->Checkpoint) {
        LastRaisedCP = nullptr;
    }
    TCustomVDData::DestroyItem(std::move(item), clearing);
}

// ---- Settings ----

bool TCustomVDFormattedData::SpecialCharactersShown() {
    return GetOptions().Contains(vdoShowSpecialCharacters) &&
           !State.Contains(vdstNoSpecialCharacters);
}

TVDDrawLineKind TCustomVDFormattedData::GetStandardDrawLineInfoClass(TCustomVDItemInfo &item,
                                                                     int32_t paraNo) {
    if (IsFloatingItem(item)) {
        return vddlkFloating;
    }
    const TParaInfo &para = GetVDStyle()->GetParaStyles().GetItem(paraNo);
    switch (para.GetLineSpacingType()) {
    case vdlsLineHeightAtLeast:
    case vdlsLineHeightExact:
        return vddlkComplexLineHeight;
    case vdlsPercent:
        if (para.GetLineSpacing() != 100) {
            return vddlkSimpleLineHeight;
        }
        break;
    case vdlsSpaceBetween:
        if (para.GetLineSpacing() != 0) {
            return vddlkSimpleLineHeight;
        }
        break;
    }
    if (para.GetAlignment() == vdaJustify || para.GetAlignment() == vdaDistribute ||
        item.StyleNo == StyleNoListMarker) {
        return vddlkJustify;
    }
    return vddlkPlain;
}

bool TCustomVDFormattedData::AllowChanging() {
    if (GetFlags().Contains(vdflRoot)) {
        return false;
    }
    auto *root = dynamic_cast<TCustomVDFormattedData *>(GetAbsoluteRootData());
    return root && root != this && root->AllowChanging();
}

bool TCustomVDFormattedData::GetFirstParaListLevel(int32_t &listNo, int32_t &level) {
    listNo = level = -1;
    return false;
}

int32_t TCustomVDFormattedData::GetWidthRot() {
    return IsVerticalText() ? GetHeight() : GetWidth();
}

int32_t TCustomVDFormattedData::GetHeightRot() {
    return IsVerticalText() ? GetWidth() : GetHeight();
}

int32_t TCustomVDFormattedData::GetAreaWidthRot() {
    return IsVerticalText() ? GetAreaHeight() * GetVSmallStep() : GetAreaWidth();
}

void TCustomVDFormattedData::GetPrerotatedSize(int32_t &w, int32_t &h) {
    w = GetWidth();
    h = GetHeight();
}

int32_t TCustomVDFormattedData::GetParentControlWidth() {
    return GetWidth();
}

// ---- Canvases and resolutions ----

gfx::TCanvas *TCustomVDFormattedData::GetFormatCanvasEx(gfx::TCanvas *defCanvas) {
    auto *root = dynamic_cast<TCustomVDFormattedData *>(GetRootData());
    return root && root != this ? root->GetFormatCanvasEx(defCanvas) : defCanvas;
}

void TCustomVDFormattedData::GetSaDForCanvas(gfx::TCanvas &canvas, TVDScreenAndDevice &sad) {
    if (PixelsPerInchOverride > 0) {
        sad.ppixScreen = sad.ppiyScreen = sad.ppixDevice = sad.ppiyDevice = PixelsPerInchOverride;
        return;
    }
    TVDGraphicInterface &gi = GetVDStyle()->GetGraphicInterface();
    sad.ppixDevice = gi.GetDeviceCaps(canvas, gfx::LOGPIXELSX);
    sad.ppiyDevice = gi.GetDeviceCaps(canvas, gfx::LOGPIXELSY);
    std::unique_ptr<gfx::TCanvas> screen = gi.CreateScreenCanvas();
    sad.ppixScreen = gi.GetDeviceCaps(*screen, gfx::LOGPIXELSX);
    sad.ppiyScreen = gi.GetDeviceCaps(*screen, gfx::LOGPIXELSY);
}

// ---- Font cache of a formatting run ----

void TCustomVDFormattedData::CreateFontInfoCache(gfx::TCanvas &, gfx::TCanvas &) {}

TVDFontInfoCache *TCustomVDFormattedData::GetFontInfoCache(gfx::TCanvas &canvas,
                                                           gfx::TCanvas &formatCanvas,
                                                           TCustomVDFormattedData *vdData) {
    auto *root = dynamic_cast<TCustomVDFormattedData *>(GetRootData());
    if (root && root != this) {
        return root->GetFontInfoCache(canvas, formatCanvas, vdData);
    }
    TCustomVDFormattedData *owner = vdData ? vdData : this;
    const bool customPPI = GetFlags().Contains(vdflCanUseCustomPPI);
    if (GetOptions().Contains(vdoFastFormatting)) {
        owner->FOwnFontCache = std::make_unique<TVDFontInfoCacheFast>(
            owner, *GetVDStyle(), formatCanvas, canvas, customPPI);
    } else {
        owner->FOwnFontCache = std::make_unique<TVDFontInfoCacheLowResource>(
            owner, *GetVDStyle(), formatCanvas, canvas, customPPI);
    }
    return owner->FOwnFontCache.get();
}

void TCustomVDFormattedData::DestroyFontInfoCache(TVDFontInfoCache *&cache) {
    if (cache && cache == FOwnFontCache.get()) {
        FOwnFontCache.reset();
    }
    cache = nullptr;
}

// ---- The driver ----

void TCustomVDFormattedData::Format(bool noCaching, bool absRotation) {
    Format_(false, true, false, 0, GetFormatCanvas(), false, noCaching, false, false, absRotation);
}

void TCustomVDFormattedData::InitFormattingState(TVDFormattingState &state, bool noCaching,
                                                 bool reformatting) {
    state.MaxLength = GetMaxLength();
    state.WordWrap = GetWordWrap();
    state.NoCaching = noCaching;
    state.Reformatting = reformatting;
}

namespace {

int32_t ParaSpaceAfter(TCustomVDFormattedData &doc, int32_t itemNo, const TVDScreenAndDevice &sad) {
    if (itemNo < 0) {
        return 0;
    }
    TVDStyle &style = *doc.GetVDStyle();
    return style.GetAsDevicePixelsY(
        style.GetParaStyles().GetItem(doc.GetVisibleItemPara(itemNo)).GetSpaceAfter(), &sad);
}

// What the driver remembers across a formatting that keeps the view: the selection as item
// positions and the item at the top of the view.
struct TKeptView {
    int32_t SelStartNo = -1, SelEndNo = -1, SelStartOffs = 0, SelEndOffs = 0;
    int32_t TopItemNo = -1;
    int32_t TopDistance = 0;
    int32_t OldVOffs = 0;
};

} // namespace

// Places the items from firstItemNo on (hidden ones are told so) and finishes the last line.
// LastItemFormatted follows the items really placed, so that a run broken by an error leaves
// the items it did not reach to the next formatting.
void TCustomVDFormattedData::RunFormatting(TVDFormattingState &state, const TVDScreenAndDevice &sad,
                                           gfx::TCanvas &canvas, int32_t firstItemNo) {
    gfx::TCanvas *drawCanvas = GetCanvas() ? GetCanvas() : &canvas;
    CreateFontInfoCache(*drawCanvas, canvas);
    TVDFontInfoCache *cache = GetFontInfoCache(*drawCanvas, canvas, this);
    cache->Rotation = GetRealRotation(true);
    cache->UseVerticalFonts = UseVerticalFonts();
    state.FontCache = cache;
    state.ScaledFormatCanvas = GetFormatCanvasEx(nullptr) != nullptr;
    state.SaD = &sad;
    state.FormatCanvas = &canvas;
    const rtl::TScopeExit release([&]() noexcept { DestroyFontInfoCache(cache); });
    FormatRange(firstItemNo, ItemCount() - 1, state, sad, canvas);
    FinishTab(state);
    int32_t extra = 0;
    FinishLine(sad, !State.Contains(vdstLastParaAborted), state, extra);
    int32_t height = GetBottomMargin() + state.BaseY + state.PendingSpace + extra +
                     ParaSpaceAfter(*this, GetLastVisibleItemNo(), sad);
    if (state.Floats) {
        height = std::max(height, GetBottomMargin() + state.Floats->GetFloatBottom());
    }
    DocumentHeight = height;
}

void TCustomVDFormattedData::FormatHiddenItem(int32_t itemNo) {
    if (SharesItems()) {
        return;
    }
    TCustomVDItemInfo *item = GetItem(itemNo);
    item->DrawItemNo = -1;
    item->JumpID = -1;
    item->Hiding();
}

void TCustomVDFormattedData::FormatRange(int32_t firstItemNo, int32_t lastItemNo,
                                         TVDFormattingState &state, const TVDScreenAndDevice &sad,
                                         gfx::TCanvas &canvas) {
    for (int32_t i = firstItemNo; i <= lastItemNo; ++i) {
        if (IsItemHiddenInView(i)) {
            FormatHiddenItem(i);
        } else {
            if (IsVisibleParaStart(i)) {
                state.ParaFirstItemNo = i;
            }
            TCustomVDItemInfo *item = GetItem(i);
            if (item->IsText()) {
                FormatItem(&item->ItemText, GetItemTextLength(item->ItemText, item->ItemOptions),
                           state, sad, canvas, i);
            } else {
                FormatItem(nullptr, 0, state, sad, canvas, i);
            }
        }
        LastItemFormatted = i;
    }
}

bool TCustomVDFormattedData::Format_(bool onlyResized, bool forceFormat, bool noScroll,
                                     int32_t depth, gfx::TCanvas *canvas, bool onlyTail,
                                     bool noCaching, bool reformatting, bool callOnFormat,
                                     bool absRotation) {
    if (AlreadyFormatted) {
        AlreadyFormatted = false;
        return false;
    }
    if (depth > 1 || !GetVDStyle() || State.Contains(vdstSkipFormatting) ||
        (onlyTail && LastItemFormatted + 1 >= ItemCount())) {
        return false;
    }
    if (!canvas) {
        canvas = GetFormatCanvas();
    }
    if (!canvas) {
        return false;
    }
    // The view to keep is noted before the scroll bar is reserved below: reserving it clamps
    // the scroll position to two window heights.
    TKeptView kept;
    if (depth == 0 && onlyResized) {
        StoreSelBounds(kept.SelStartNo, kept.SelEndNo, kept.SelStartOffs, kept.SelEndOffs, false);
        if (!noScroll && DrawItems.Count() > 0) {
            int32_t d = std::min(GetDrawItemNo(GetVOffs(), 1), DrawItems.Count() - 1);
            kept.TopItemNo = DrawItems[std::max(d, 0)]->ItemNo;
            d = GetItem(kept.TopItemNo)->DrawItemNo;
            kept.TopDistance = GetVOffs() - GetTransformedDItemTop(std::max(d, 0));
        }
    } else if (depth == 0 && onlyTail) {
        kept.OldVOffs = GetVOffs();
    }
    if (depth == 0) {
        BeginFormattingLock();
        DoBeforeFormat();
        if (IsVScrollBarExpected() && GetRotation() == vdrotNone) {
            SetDocumentAreaSize(1, 2 * GetHeight(), true, false);
        }
    }
    bool rebuilt = false;
    bool completed = false;
    TVDFormattingState state;
    // The final steps run also when an error escapes. After an error LastItemFormatted stays
    // the last item really placed, and the fragments of an item left half placed go, so that
    // a later formatting of the tail starts where this one stopped.
    struct TFinal {
        TCustomVDFormattedData &Doc;
        TVDFormattingState &State;
        int32_t Depth;
        bool &Completed;
        ~TFinal() {
            State.Floats.reset();
            State.ClearIgnore.reset();
            if (Depth != 0) {
                return;
            }
            Doc.EndFormattingLock();
            if (Completed) {
                Doc.LastItemFormatted = Doc.ItemCount() - 1;
            } else {
                Doc.DropDrawItemsAfter(Doc.LastItemFormatted);
            }
            Doc.AfterFormatting(0, Doc.ItemCount() - 1, false);
            Doc.AfterFormattingCaret();
        }
    } final{*this, state, depth, completed};
    InitFormattingState(state, noCaching, reformatting);

    // The canvas turns back also when formatting fails.
    struct TTransformScope {
        TCustomVDFormattedData &Doc;
        gfx::TCanvas &Canvas;
        TVDStoreDocTransform State;
        void Restore() {
            Doc.RestoreTransform(Canvas, State);
            State.Used = false;
        }
        ~TTransformScope() { Restore(); }
    } transform{*this, *canvas, {}};
    PrepareTransform(*canvas, transform.State, 0, 0, absRotation ? vdtrbAbsRoot : vdtrbRoot, -1);
    const int32_t oldTextWidth = TextWidth;
    const int32_t oldDocumentWidth = DocumentWidth;
    TVDScreenAndDevice sad;
    GetSaDForCanvas(*canvas, sad);
    sad.LeftMargin = ScreenToDeviceX(GetLeftMargin(), sad);
    sad.RightMargin = ScreenToDeviceX(GetRightMargin(), sad);
    const int32_t firstItemNo = onlyTail ? LastItemFormatted + 1 : 0;

    const int32_t clientWidth = GetWidthRot() - sad.LeftMargin - sad.RightMargin;
    const int32_t minTextWidth = ScreenToDeviceX(GetMinTextWidth(), sad);
    const int32_t maxTextWidth = ScreenToDeviceX(GetMaxTextWidth(), sad);
    // A resize of a document formatted whole and unchanged since keeps its minimum width.
    const bool keepsItems = onlyResized && !forceFormat && !onlyTail &&
                            LastItemFormatted == ItemCount() - 1 && FMinDocWidthPPI != 0 &&
                            FMinDocWidthPPI == sad.ppixDevice;
    int32_t minDocWidth = keepsItems ? FMinDocWidth : 0;
    if (!keepsItems) {
        minDocWidth = CalculateMinDocWidthPlus(firstItemNo, &sad, *canvas);
        if (firstItemNo == 0) {
            FMinDocWidth = minDocWidth;
            FMinDocWidthPPI = sad.ppixDevice;
        } else if (FMinDocWidthPPI == sad.ppixDevice) {
            FMinDocWidth = std::max(FMinDocWidth, minDocWidth);
        }
    }
    DocumentWidth = std::max(clientWidth, minDocWidth);
    DocumentWidth = std::max(DocumentWidth, minTextWidth);
    if (GetOptions().Contains(vdoClientTextWidth)) {
        TextWidth = std::max(clientWidth, minTextWidth);
    } else {
        TextWidth = DocumentWidth;
        if (maxTextWidth > 0 && maxTextWidth < TextWidth) {
            TextWidth = maxTextWidth;
        }
    }

    if ((depth == 0 && !onlyResized) || TextWidth != oldTextWidth ||
        (!GetFlags().Contains(vdflRoot) && DocumentWidth != oldDocumentWidth) || forceFormat) {
        if (onlyTail) {
            state.BaseY =
                DocumentHeight - GetBottomMargin() -
                ParaSpaceAfter(*this,
                               GetVisibleItemPara(LastItemFormatted) >= 0 ? LastItemFormatted : -1,
                               sad);
        } else {
            ClearTemporal();
            state.BaseY = GetTopMargin();
        }
        rebuilt = true;
        state.DrawItemCount = DrawItems.Count();
        RunFormatting(state, sad, *canvas, firstItemNo);
        AdjustVScrollUnits();
    }

    transform.Restore();
    const int32_t width = GetWidth();
    const int32_t height = GetHeight();
    AlreadyFormatted = true;
    if (GetRotation() != vdrotNone) {
        SetDocumentAreaSize(DocumentHeight, GetHeight(), true, true);
    } else {
        SetDocumentAreaSize(GetLeftMargin() + DocumentWidth + GetRightMargin(), DocumentHeight,
                            true, true);
    }
    AlreadyFormatted = false;
    if (GetWidth() != width || GetHeight() != height) {
        EndFormattingLock();
        Format_(onlyResized, false, false, depth + 1, canvas, false, noCaching, reformatting, false,
                absRotation);
        BeginFormattingLock();
    }
    if (depth == 0) {
        if (onlyResized && !noScroll) {
            const int32_t d = kept.TopItemNo >= 0 && kept.TopItemNo < ItemCount()
                                  ? GetItem(kept.TopItemNo)->DrawItemNo
                                  : -1;
            ScrollTo(d >= 0 ? GetTransformedDItemTop(d) + kept.TopDistance : 0, false);
        }
        AdjustChildrenCoords();
        if (onlyTail) {
            ScrollTo(GetOptions().Contains(vdoScrollToEnd) ? DocumentHeight : kept.OldVOffs, false);
        }
        if (onlyResized) {
            RestoreSelBounds(kept.SelStartNo, kept.SelEndNo, kept.SelStartOffs, kept.SelEndOffs,
                             false);
        }
    }
    (void)callOnFormat;
    completed = true;
    return rebuilt;
}

void TCustomVDFormattedData::DropDrawItemsAfter(int32_t itemNo) {
    DrawItems.DeleteMarked();
    while (DrawItems.Count() > 0 && DrawItems[DrawItems.Count() - 1]->ItemNo > itemNo) {
        DrawItems.Delete(DrawItems.Count() - 1);
    }
}

void TCustomVDFormattedData::BeginFormattingLock() {
    State.Include(vdstSkipFormatting);
    State.Include(vdstFormatting);
}

void TCustomVDFormattedData::EndFormattingLock() {
    State.Exclude(vdstSkipFormatting);
    State.Exclude(vdstFormatting);
}

// ---- Formatting stream ----

namespace {

void WriteInt(rtl::TStream &stream, int32_t value) {
    uint8_t b[4];
    for (int i = 0; i < 4; ++i) {
        b[i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    }
    stream.WriteBuffer(b, 4);
}

int32_t ReadInt(rtl::TStream &stream) {
    uint8_t b[4];
    stream.ReadBuffer(b, 4);
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                uint32_t(b[3]) << 24);
}

} // namespace

void TCustomVDFormattedData::SaveFormattingToStream(rtl::TStream &stream) {
    int32_t s1, e1, so, eo;
    StoreSelBounds(s1, e1, so, eo, false);
    FSelStartNo = FSelEndNo = DrawItems.Count() > 0 ? 0 : -1;
    FSelStartOffs = FSelEndOffs = DrawItems.Count() > 0 ? GetOffsBeforeDrawItem(0) : 0;
    const rtl::TScopeExit restore([&]() noexcept { RestoreSelBounds(s1, e1, so, eo, false); });
    for (int32_t v : {LastItemFormatted, DocumentWidth, DocumentHeight, TextWidth}) {
        WriteInt(stream, v);
    }
    DrawItems.SaveToStream(stream, GetItems());
}

void TCustomVDFormattedData::LoadFormattingFromStream(rtl::TStream &stream) {
    LastItemFormatted = ReadInt(stream);
    DocumentWidth = ReadInt(stream);
    DocumentHeight = ReadInt(stream);
    TextWidth = ReadInt(stream);
    if (LastItemFormatted < -1 || LastItemFormatted >= ItemCount()) {
        LastItemFormatted = -1;
        throw EViziVoduError("Invalid formatting data");
    }
    DrawItems.LoadFromStream(stream, GetItems());
    HasObjectDrawItems = true;
    ForgetMinDocWidth();
}

} // namespace vizivodu
