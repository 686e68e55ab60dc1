// The editable document data: construction, clearing, formatting that keeps the caret, and
// the settings an editor answers differently from a viewer.
#include "vizivodu/editing/data/VDEVDData.h"

#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/ScopeExit.h"

namespace vizivodu {

TVDEditVDData::TVDEditVDData(TVDScroller *viziVodu)
    : TViziVoduVDData(viziVodu), UndoList(std::make_unique<TVDUndoList>(this)),
      RedoList(std::make_unique<TVDRedoList>(this)) {
    UndoList->FVDData = RedoList->FVDData =
        dynamic_cast<TCustomVDFormattedData *>(GetAbsoluteRootData());
}

TVDEditVDData::~TVDEditVDData() {
    // Records free what they keep while the document still answers them.
    UndoList->Clear();
    RedoList->Clear();
}

void TVDEditVDData::Clear() {
    FPrevTextStyleNo = 0;
    FCurTextStyleNo = FCurParaStyleNo = 0;
    TViziVoduVDData::Clear();
    Modified = false;
    if (UndoList) {
        UndoList->Clear();
        RedoList->Clear();
    }
    State.Include(vdstEditorUnformatted);
}

void TVDEditVDData::ClearTemporal() {
    CharEnds.clear();
    CaretDrawItemNo = CaretOffs = -1;
    ClearCurTag();
    State.Exclude(vdstDoNotClearCurTag);
    if (!State.Contains(vdstPreserveSoftPageBreaks) &&
        !GetAbsoluteRootData()->State.Contains(vdstCreatingInplace)) {
        FUpDownMovingX = INT_MAX;
    }
    TViziVoduVDData::ClearTemporal();
}

void TVDEditVDData::PrepareForEdit() {
    if (ItemCount() > 0 || !GetVDStyle()) {
        return;
    }
    std::unique_ptr<TCustomVDItemInfo> item = CreateEmptyTextItem(FCurTextStyleNo, FCurParaStyleNo);
    GetItems().AddObject({}, std::move(item));
    Format(false, false);
    if (DrawItems.Count() > 0) {
        CaretDrawItemNo = 0;
        OnChangeCaretLine(-1);
        CaretOffs = 0;
    }
}

bool TVDEditVDData::Format_(bool onlyResized, bool forceFormat, bool noScroll, int32_t depth,
                            gfx::TCanvas *canvas, bool onlyTail, bool noCaching, bool reformatting,
                            bool callOnFormat, bool absRotation) {
    if (State.Contains(vdstSkipFormatting)) {
        return false;
    }
    PrepareForEdit();
    if (AlreadyFormatted) {
        AlreadyFormatted = false;
        return false;
    }
    const bool tracked = depth == 0 && GetVDStyle();
    const bool partial = onlyTail || onlyResized;
    int32_t itemNo = -1, itemOffs = 0;
    if (tracked && partial && CaretOffs >= 0 && CaretOffs < static_cast<int32_t>(CharEnds.size())) {
        itemNo = GetCurItemNo();
        itemOffs = GetOffsetInCurItem();
    }
    const bool result =
        TViziVoduVDData::Format_(onlyResized, forceFormat, noScroll, depth, canvas, onlyTail,
                                 noCaching, reformatting, callOnFormat, absRotation);
    if (tracked) {
        PlaceCaretAfterFormat(true, itemNo, itemOffs, !partial);
        ChangeCaret(false, false, !State.Contains(vdstEditorUnformatted), false);
        if (callOnFormat) {
            DoAfterFormatAndCaretPositioning(false);
        }
    }
    if (depth == 0) {
        State.Exclude(vdstEditorUnformatted);
    }
    return result;
}

TCustomVDItemInfo *TVDEditVDData::PlaceCaretAfterFormat(bool, int32_t itemNo, int32_t itemOffs,
                                                        bool full) {
    if (!full && itemNo >= 0 && itemNo < ItemCount()) {
        SetCaretToItem(itemNo, itemOffs);
        return GetItem(itemNo);
    }
    if (full) {
        Deselect(nullptr, false);
    }
    if (DrawItems.Count() == 0) {
        CaretDrawItemNo = CaretOffs = -1;
        CharEnds.clear();
        return nullptr;
    }
    CaretDrawItemNo = 0;
    OnChangeCaretLine(GetOffsBeforeDrawItem(0) - 2);
    CaretOffs = 0;
    return GetItem(DrawItems[CharEnds.empty() ? 0 : CharEnds[0].DrawItemNo]->ItemNo);
}

void TVDEditVDData::GetSelStart(int32_t &dINo, int32_t &dIOffs) {
    TViziVoduVDData::GetSelStart(dINo, dIOffs);
    if (dINo == -1 && CaretOffs >= 0 && CaretOffs < static_cast<int32_t>(CharEnds.size())) {
        dINo = CharEnds[static_cast<size_t>(CaretOffs)].DrawItemNo;
        dIOffs = CharEnds[static_cast<size_t>(CaretOffs)].Offset;
    }
}

bool TVDEditVDData::AllowChanging() {
    return !ReadOnly || GetAbsoluteRootData()->GetFlags().Contains(vdflRAVoviVevuVado);
}

int32_t TVDEditVDData::GetMinDocWidth() {
    gfx::TCanvas *canvas = GetFormatCanvas();
    if (!canvas) {
        return DocumentWidth;
    }
    TVDScreenAndDevice sad;
    GetSaDForCanvas(*canvas, sad);
    sad.LeftMargin = ScreenToDeviceX(GetLeftMargin(), sad);
    sad.RightMargin = ScreenToDeviceX(GetRightMargin(), sad);
    return CalculateMinDocWidthPlus(0, &sad, *canvas);
}

bool TVDEditVDData::IsParaReadOnly(int32_t itemNo) {
    const int32_t paraNo = GetItem(itemNo)->ParaNo;
    const TParaInfos &paras = GetVDStyle()->GetParaStyles();
    return paraNo >= 0 && paraNo < paras.GetCount() &&
           paras.GetItem(paraNo).GetOptions().Contains(vdpaoReadOnly);
}

bool TVDEditVDData::IsUnicodeStyle(int32_t styleNo) {
    const TFontInfos &fonts = GetVDStyle()->GetTextStyles();
    return styleNo >= 0 && styleNo < fonts.GetCount() && fonts.GetItem(styleNo).GetUnicode();
}

std::unique_ptr<TCustomVDItemInfo> TVDEditVDData::CreateTextItemLike(const TCustomVDItemInfo &x) {
    std::unique_ptr<TCustomVDItemInfo> item = ViziVoduTextItemClass->Create(this);
    item->Assign(x);
    const bool sameAsPrev = x.GetSameAsPrev();
    const bool unicode = x.ItemOptions.Contains(vdioUnicode);
    item->ItemOptions = {};
    item->SetSameAsPrev(sameAsPrev);
    if (unicode) {
        item->ItemOptions.Include(vdioUnicode);
    }
    item->Tag = x.Tag;
    item->Checkpoint = nullptr;
    return item;
}

std::unique_ptr<TCustomVDItemInfo> TVDEditVDData::CreateEmptyTextItem(int32_t styleNo,
                                                                      int32_t paraNo) {
    std::unique_ptr<TCustomVDItemInfo> item = ViziVoduTextItemClass->Create(this);
    item->StyleNo = styleNo;
    item->ParaNo = paraNo;
    if (IsUnicodeStyle(GetActualStyleEx(styleNo, paraNo))) {
        item->ItemOptions.Include(vdioUnicode);
    }
    return item;
}

} // namespace vizivodu
