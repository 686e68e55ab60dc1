// Inserting one item at the caret (splitting a text item around it) and deleting the
// selection, both through the undoable primitives, with the reformatting they need.
#include "vizivodu/editing/data/VDEVDData.h"

#include "vizivodu/layout/formatting/DLines.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/ScopeExit.h"

#include <algorithm>

namespace vizivodu {

namespace {

bool HasCheckpointPersistent(const TCustomVDItemInfo &item) {
    return item.Checkpoint && item.Checkpoint->Persistent;
}

} // namespace

void TVDEditVDData::Reformat_(bool fullFormat, int32_t startDrawItem, int32_t endDrawItem,
                              int32_t itemsAdded) {
    if (DrawItems.Count() == 0 || (fullFormat && GetMinDocWidth() != DocumentWidth)) {
        Format(false, false);
        Invalidate();
        return;
    }
    FormatParas(startDrawItem, endDrawItem, itemsAdded);
}

void TVDEditVDData::GetParaDrawRange(int32_t firstItem, int32_t lastItem, int32_t &startDI,
                                     int32_t &endDI) {
    int32_t offs = 0;
    Item2DrawItem(firstItem, GetOffsBeforeItem(firstItem), startDI, offs, vddpBetterAbove);
    Item2DrawItem(lastItem, GetOffsAfterItem(lastItem), endDI, offs, vddpBetterBelow);
    startDI = std::max(startDI, 0);
    if (endDI < 0) {
        endDI = DrawItems.Count() - 1;
    }
    GetParaBoundsEx(startDI, endDI, startDI, endDI, false);
}

void TVDEditVDData::ShowCaretAt(int32_t caretItemNo, int32_t caretOffs) {
    SetCaretToItem(caretItemNo, caretOffs);
    ChangeCaret(false, true, false, false);
    DoAfterFormatAndCaretPositioning(true);
}

bool TVDEditVDData::PlaceBeforeItem(TCustomVDItemInfo &info, int32_t itemNo, int32_t &insertAt,
                                    int32_t &paraToApply) {
    insertAt = itemNo;
    if (itemNo > 0 && IsSticking(itemNo - 1, false)) {
        return false;
    }
    TCustomVDItemInfo &i = *GetItem(itemNo);
    if (info.GetBoolValue(vdbpFullWidth) || i.GetSameAsPrev()) {
        paraToApply = -1;
        return true;
    }
    info.SetSameAsPrev(false);
    info.SetBR(i.GetBR());
    if (i.GetPageBreakBefore()) {
        info.SetPageBreakBefore(true);
    }
    info.SetClearLeft(i.GetClearLeft());
    info.SetClearRight(i.GetClearRight());
    if (info.GetBR()) {
        paraToApply = -1;
    }
    bool fr = false;
    Do_NewLine(itemNo, true, -1, fr);
    return true;
}

bool TVDEditVDData::PlaceAtNonTextItem(TCustomVDItemInfo &info, int32_t itemNo, int32_t offs,
                                       int32_t &insertAt, int32_t &paraToApply) {
    if (info.StyleNo == StyleNoListMarker) {
        return false;
    }
    if (offs < 1) {
        return PlaceBeforeItem(info, itemNo, insertAt, paraToApply);
    }
    insertAt = itemNo + 1;
    paraToApply = -1;
    if (IsSticking(itemNo, false)) {
        return false;
    }
    if (GetItem(itemNo)->GetBoolValue(vdbpFullWidth)) {
        info.SetSameAsPrev(false);
    }
    return true;
}

bool TVDEditVDData::SplitTextForInsert(int32_t itemNo, int32_t offs, bool callTEEvent,
                                       TVDRawByteString &splitText) {
    TCustomVDItemInfo &i = *GetItem(itemNo);
    if (IsProtected(itemNo, vdprModifyProtect)) {
        return false;
    }
    splitText = i.ItemText;
    TVDRawByteString tail = GetItemTextR(itemNo).substr(
        static_cast<size_t>(offs - 1) * (i.ItemOptions.Contains(vdioUnicode) ? 2 : 1));
    Do_DeleteSubstring(itemNo, offs, -1);
    std::unique_ptr<TCustomVDItemInfo> tailItem = CreateTextItemLike(i);
    tailItem->SetSameAsPrev(true);
    bool fr = false;
    Do_InsertItem(itemNo + 1, tail, std::move(tailItem), false, fr);
    if (callTEEvent) {
        DoItemTextEdit(splitText, itemNo);
        DoItemTextEdit(splitText, itemNo + 1);
    }
    return true;
}

bool TVDEditVDData::PlaceAtTextItem(TCustomVDItemInfo &info, int32_t itemNo, int32_t offs,
                                    bool callTEEvent, TVDRawByteString &splitText,
                                    int32_t &insertAt, int32_t &paraToApply,
                                    int32_t &itemsInserted) {
    const int32_t length = ItemLength(itemNo);
    if (info.StyleNo == StyleNoListMarker) {
        return false;
    }
    if (offs >= length + 1) {
        insertAt = itemNo + 1;
        paraToApply = -1;
        return !IsSticking(itemNo, false);
    }
    if (offs > 1) {
        insertAt = itemNo + 1;
        paraToApply = -1;
        itemsInserted = 1;
        return SplitTextForInsert(itemNo, offs, callTEEvent, splitText);
    }
    if (itemNo > 0 && GetItem(itemNo - 1)->StyleNo == StyleNoListMarker &&
        info.GetBoolValue(vdbpFullWidth)) {
        insertAt = itemNo;
        paraToApply = -1;
        return !IsSticking(itemNo - 1, false);
    }
    return PlaceBeforeItem(info, itemNo, insertAt, paraToApply);
}

bool TVDEditVDData::ReplaceEmptyItem(TCustomVDItemInfo &info, int32_t itemNo, int32_t &insertAt,
                                     int32_t &paraToApply, int32_t &itemsInserted) {
    TCustomVDItemInfo &i = *GetItem(itemNo);
    if (IsSticking(itemNo, true) || (itemNo > 0 && IsSticking(itemNo - 1, true))) {
        Beep();
        return false;
    }
    if (itemNo > 0 && GetItem(itemNo - 1)->StyleNo == StyleNoListMarker &&
        info.GetBoolValue(vdbpFullWidth)) {
        insertAt = itemNo + 1;
        return true;
    }
    if (!i.GetSameAsPrev()) {
        info.SetSameAsPrev(false);
        if (info.StyleNo != StyleNoListMarker) {
            info.SetBR(i.GetBR());
        }
    }
    info.SetPageBreakBefore(i.GetPageBreakBefore());
    info.SetClearLeft(i.GetClearLeft());
    info.SetClearRight(i.GetClearRight());
    info.ParaNo = FCurParaStyleNo;
    if (info.GetBR()) {
        paraToApply = -1;
    }
    bool fr = false;
    Do_DeleteItem(itemNo, fr);
    itemsInserted = -1;
    insertAt = itemNo;
    return true;
}

bool TVDEditVDData::PlaceNewItem(TCustomVDItemInfo &info, int32_t &insertAt, int32_t &paraToApply,
                                 bool, bool callTEEvent, TVDRawByteString &splitText,
                                 int32_t &itemsInserted) {
    const int32_t itemNo = GetCurItemNo();
    const int32_t offs = GetOffsetInCurItem();
    if (!GetItem(itemNo)->IsText()) {
        return PlaceAtNonTextItem(info, itemNo, offs, insertAt, paraToApply);
    }
    if (ItemLength(itemNo) > 0) {
        return PlaceAtTextItem(info, itemNo, offs, callTEEvent, splitText, insertAt, paraToApply,
                               itemsInserted);
    }
    return ReplaceEmptyItem(info, itemNo, insertAt, paraToApply, itemsInserted);
}

bool TVDEditVDData::InsertSomething(std::unique_ptr<TCustomVDItemInfo> info, TVDRawByteString &s,
                                    TVDRawByteString &splitText, bool autoTag, bool caretBefore,
                                    bool callTEEvent) {
    splitText.clear();
    if (info->StyleNo != StyleNoBreak && !HasCheckpointPersistent(*info)) {
        info->ParaNo = FCurParaStyleNo;
    }
    if (FPartialSelectedItem) {
        Beep();
        return false;
    }
    const TParaInfos &paras = GetVDStyle()->GetParaStyles();
    int32_t paraToApply =
        !info->GetSameAsPrev() && info->ParaNo >= 0 && info->ParaNo < paras.GetCount()
            ? info->ParaNo
            : -1;
    const int32_t curItemNo = GetCurItemNo();
    if (DrawItems.Count() == 0 || info->GetBoolValue(vdbpFullWidth) ||
        HasCheckpointPersistent(*info) || info->StyleNo == StyleNoListMarker) {
        info->SetSameAsPrev(false);
        info->ParaNo = FCurParaStyleNo;
    } else {
        info->SetSameAsPrev(true);
        info->ParaNo = GetItem(curItemNo)->ParaNo;
    }
    const int32_t readOnlyPara = info->ParaNo;
    if (readOnlyPara >= 0 && readOnlyPara < paras.GetCount() &&
        paras.GetItem(readOnlyPara).GetOptions().Contains(vdpaoReadOnly)) {
        Beep();
        return false;
    }
    if (autoTag && info->Tag.empty() && info->IsText() &&
        CanKeepTagForStyle(FCurTagStyleNo, info->StyleNo)) {
        info->Tag = FCurTag;
    }
    int32_t startDI = 0, endDI = 0;
    GetParaDrawRange(curItemNo, curItemNo, startDI, endDI);
    int32_t insertAt = 0, itemsInserted = 0;
    if (!PlaceNewItem(*info, insertAt, paraToApply, autoTag, callTEEvent, splitText,
                      itemsInserted)) {
        if (info->StyleNo == StyleNoListMarker) {
            return true;
        }
        Beep();
        return false;
    }
    if (insertAt > 0 && GetItem(insertAt - 1)->StyleNo == StyleNoListMarker) {
        info->SetSameAsPrev(true);
    }
    const bool fullWidth = info->GetBoolValue(vdbpFullWidth);
    if (info->StyleNo == StyleNoBreak) {
        info->ParaNo = 0;
    }
    TCustomVDItemInfo &added = *info;
    bool fullReformat = false;
    {
        const rtl::TFlagScope noAdjustment(GetAbsoluteRootData()->State,
                                           vdstNoStyleTemplateAdustment);
        Do_InsertItem(insertAt, s, std::move(info), false, fullReformat);
    }
    ++itemsInserted;
    bool fr = false;
    if (fullWidth && insertAt + 1 < ItemCount()) {
        Do_NewLine(insertAt + 1, false, -1, fr);
        Do_BR(insertAt + 1, false, fr);
    }
    if (paraToApply >= 0 && paraToApply != added.ParaNo && added.StyleNo != StyleNoBreak) {
        int32_t first = 0, last = 0;
        ExpandToPara(insertAt, insertAt, first, last);
        Do_Para(first, last, paraToApply, fr);
    }
    Reformat_(fullReformat || fr, startDI, endDI, itemsInserted);
    const int32_t caretOffs =
        caretBefore ? GetOffsBeforeItem(insertAt) : GetOffsAfterItem(insertAt);
    ShowCaretAt(insertAt, caretOffs);
    return true;
}

} // namespace vizivodu
