// Enter, Delete and Backspace without a selection: splitting and joining paragraphs and
// lines, removing characters and whole items, each key one undo group.
#include "vizivodu/editing/data/VDEVDData.h"

#include "vizivodu/layout/formatting/DLines.h"
#include "vizivodu/styles/VDStyle.h"

#include <algorithm>

namespace vizivodu {

int32_t TVDEditVDData::GetNextParaNo(int32_t paraNo) {
    const TParaInfos &paras = GetVDStyle()->GetParaStyles();
    if (paraNo < 0 || paraNo >= paras.GetCount()) {
        return paraNo;
    }
    const int32_t next = paras.GetItem(paraNo).GetNextParaNo();
    if (next >= 0 && next < paras.GetCount()) {
        return next;
    }
    return paras.GetItem(paraNo).GetOptions().Contains(vdpaoReadOnly) ? 0 : paraNo;
}

int32_t TVDEditVDData::GetNextStyleNo(int32_t styleNo, int32_t, bool) {
    if (styleNo < 0 || styleNo != FCurTextStyleNo) {
        return FCurTextStyleNo;
    }
    const TFontInfos &fonts = GetVDStyle()->GetTextStyles();
    const int32_t next = styleNo < fonts.GetCount() ? fonts.GetItem(styleNo).GetNextStyleNo() : -1;
    return next >= 0 && next < fonts.GetCount() ? next : FCurTextStyleNo;
}

// ---- Enter ----

bool TVDEditVDData::EnterInsideLine(int32_t itemNo, int32_t offs, bool shift) {
    TCustomVDItemInfo &i = *GetItem(itemNo);
    int32_t startDI = 0, endDI = 0;
    GetParaDrawRange(itemNo, std::min(itemNo + 1, ItemCount() - 1), startDI, endDI);
    bool fr = false;
    if (i.IsText() && offs > 1 && offs < GetOffsAfterItem(itemNo)) {
        if (IsProtected(itemNo, vdprParaStartProtect) || IsProtected(itemNo, vdprModifyProtect)) {
            Beep();
            return false;
        }
        const TVDRawByteString oldText = i.ItemText;
        TVDRawByteString tail = oldText.substr(static_cast<size_t>(offs - 1) *
                                               (i.ItemOptions.Contains(vdioUnicode) ? 2 : 1));
        Do_DeleteSubstring(itemNo, offs, -1);
        DoItemTextEdit(oldText, itemNo);
        std::unique_ptr<TCustomVDItemInfo> item = CreateTextItemLike(i);
        item->SetSameAsPrev(false);
        item->SetBR(shift);
        // Outside Shift the second half is the list's next item.
        bool frMarker = false;
        const bool marker =
            !shift && InsertParaMarkerCopy(itemNo, itemNo + 1, true, false, frMarker);
        const int32_t at = marker ? itemNo + 2 : itemNo + 1;
        if (marker) {
            item->SetSameAsPrev(true);
        }
        Do_InsertItem(at, tail, std::move(item), false, fr);
        DoItemTextEdit(oldText, at);
        Reformat_(fr || frMarker, startDI, endDI, marker ? 2 : 1);
        ShowCaretAt(at, 1);
        UpdateRangeAfterMarkersOrSeq(itemNo, at);
        return true;
    }
    const int32_t x = offs >= GetOffsAfterItem(itemNo) ? itemNo + 1 : itemNo;
    if (x >= ItemCount() || IsProtected(x, vdprParaStartProtect) || IsSticking(x - 1, false)) {
        Beep();
        return false;
    }
    Do_NewLine(x, false, -1, fr);
    if (shift) {
        Do_BR(x, true, fr);
    }
    Reformat_(fr, startDI, endDI, 0);
    ShowCaretAt(x, GetOffsBeforeItem(x));
    return true;
}

bool TVDEditVDData::EnterAtLineBoundary(int32_t itemNo, bool atLineStart, bool shift) {
    TCustomVDItemInfo &i = *GetItem(itemNo);
    const bool stick =
        atLineStart ? itemNo > 0 && IsSticking(itemNo - 1, true) : IsSticking(itemNo, true);
    if (IsProtected(itemNo, vdprParaStartProtect) || stick) {
        Beep();
        return false;
    }
    int32_t first = itemNo, last = itemNo;
    ExpandToParaSection(itemNo, itemNo, first, last);
    if (first > 0 && GetItem(first - 1)->StyleNo == StyleNoListMarker) {
        --first;
    }
    int32_t startDI = 0, endDI = 0;
    GetParaDrawRange(first, last, startDI, endDI);
    const bool readOnly = IsParaReadOnly(itemNo);
    if (!atLineStart) {
        FCurTextStyleNo = GetNextStyleNo(GetActualStyle(i), i.ParaNo, true);
        if (!shift) {
            FCurParaStyleNo = GetNextParaNo(i.ParaNo);
        }
    } else if (readOnly && !shift) {
        FCurParaStyleNo = 0;
    }
    const int32_t styleNo = IsProtected(itemNo, vdprModifyProtect) && i.IsText() &&
                                    GetActualCurStyleNo() == GetActualStyle(i)
                                ? 0
                                : FCurTextStyleNo;
    std::unique_ptr<TCustomVDItemInfo> item =
        CreateEmptyTextItem(styleNo, shift ? i.ParaNo : FCurParaStyleNo);
    if (shift) {
        item->SetBR(atLineStart ? i.GetBR() : !i.GetBoolValue(vdbpFullWidth));
    }
    if (item->StyleNo == i.StyleNo) {
        item->Tag = i.Tag;
        item->Hint = i.Hint;
    }
    bool fr = false, frMarker = false;
    TVDRawByteString none;
    int32_t at = atLineStart ? first : last + 1;
    // A new paragraph after a list item in the same paragraph style continues the list.
    const bool marker = !atLineStart && !shift && FCurParaStyleNo == i.ParaNo &&
                        InsertParaMarkerCopy(itemNo, at, true, false, frMarker);
    if (marker) {
        item->SetSameAsPrev(true);
        ++at;
    }
    Do_InsertItem(at, none, std::move(item), false, fr);
    if (atLineStart && shift && at + 1 < ItemCount()) {
        Do_BR(at + 1, true, fr);
    }
    Reformat_(fr || frMarker, startDI, endDI, marker ? 2 : 1);
    if (atLineStart) {
        ShowCaretAt(at + 1, GetOffsBeforeItem(at + 1));
    } else {
        ShowCaretAt(at, GetOffsBeforeItem(at));
    }
    if (marker) {
        UpdateRangeAfterMarkersOrSeq(at - 1, at);
    }
    return true;
}

bool TVDEditVDData::OnEnterPress_(bool shift, bool) {
    const int32_t itemNo = GetCurItemNo();
    const int32_t offs = GetOffsetInCurItem();
    const int32_t paraNo = GetItem(itemNo)->ParaNo;
    const TParaInfos &paras = GetVDStyle()->GetParaStyles();
    const bool noReturns = paraNo >= 0 && paraNo < paras.GetCount() &&
                           paras.GetItem(paraNo).GetOptions().Contains(vdpaoDoNotWantReturns);
    const bool readOnly = IsParaReadOnly(itemNo);
    if (noReturns || (shift && readOnly)) {
        Beep();
        return false;
    }
    const int32_t lastStop = static_cast<int32_t>(CharEnds.size()) - 1;
    const int32_t nextDI = CharEnds.back().DrawItemNo + 1;
    const bool atLineEnd = IsCharOffsAtTheLineEndAndItemEnd(CaretOffs) &&
                           (nextDI >= DrawItems.Count() || DrawItems[nextDI]->FromNewLine);
    const bool atLineStart = !atLineEnd && IsCharOffsAtTheLineStartAndItemStart(CaretOffs);
    bool result;
    if (atLineStart || atLineEnd) {
        const bool paraEdge =
            atLineStart ? CaretOffs == 0 && IsParaStart(itemNo) : CaretOffs == lastStop;
        if (readOnly && !paraEdge) {
            Beep();
            return false;
        }
        BeginUndoSequence(vdutMiscTyping, true);
        result = EnterAtLineBoundary(itemNo, atLineStart, shift);
    } else {
        if (readOnly) {
            Beep();
            return false;
        }
        BeginUndoSequence(vdutMiscTyping, true);
        result = EnterInsideLine(itemNo, offs, shift);
    }
    EndUndoSequence();
    if (result) {
        Change();
    }
    return result;
}

// ---- Delete ----

bool TVDEditVDData::JoinLines(int32_t itemNo, int32_t nextNo) {
    TCustomVDItemInfo &i = *GetItem(itemNo);
    TCustomVDItemInfo &n = *GetItem(nextNo);
    if (IsParaReadOnly(itemNo) || IsParaReadOnly(nextNo) ||
        IsProtected(nextNo, vdprParaStartProtect) || ParaHasPersistentCheckpoint(nextNo)) {
        Beep();
        return false;
    }
    int32_t startDI = 0, endDI = 0;
    GetParaDrawRange(itemNo, nextNo, startDI, endDI);
    bool fr = false;
    int32_t removed = 0;
    int32_t caretItemNo = itemNo, caretOffs = GetOffsAfterItem(itemNo);
    if (i.IsText() && i.ItemText.empty()) {
        if (IsProtected(itemNo, vdprDeleteProtect)) {
            Beep();
            return false;
        }
        if (!i.GetBR() && n.GetBR()) {
            Do_BR(nextNo, false, fr);
        }
        Do_DeleteItem(itemNo, fr);
        removed = 1;
        caretOffs = GetOffsBeforeItem(itemNo);
    } else if (n.IsText() && n.ItemText.empty()) {
        Do_DeleteItem(nextNo, fr);
        removed = 1;
    } else if (CanConcateItems(itemNo, &i, &n, true, false)) {
        Do_Concate(itemNo);
        removed = 1;
    } else {
        Do_NewLine(nextNo, true, -1, fr);
        if (n.StyleNo == StyleNoListMarker) {
            Do_DeleteItem(nextNo, fr);
            removed = 1;
            if (nextNo < ItemCount() && CanConcateItems(itemNo, &i, GetItem(nextNo), true, false)) {
                Do_Concate(itemNo);
                removed = 2;
            }
        }
    }
    int32_t first = 0, last = 0;
    ExpandToPara(caretItemNo, caretItemNo, first, last);
    Do_Para(first, last, GetItem(caretItemNo)->ParaNo, fr);
    Reformat_(fr, startDI, endDI, -removed);
    ShowCaretAt(caretItemNo, caretOffs);
    return true;
}

void TVDEditVDData::OnDeletePress_(bool ctrl, bool movedFromLineEnd) {
    const int32_t itemNo = GetCurItemNo();
    const int32_t offs = GetOffsetInCurItem();
    if (IsParaReadOnly(itemNo)) {
        Beep();
        return;
    }
    TCustomVDItemInfo &i = *GetItem(itemNo);
    const bool lastStop = CaretOffs == static_cast<int32_t>(CharEnds.size()) - 1;
    if (lastStop && offs >= GetOffsAfterItem(itemNo)) {
        const bool emptyText = i.IsText() && i.ItemText.empty();
        if (itemNo + 1 >= ItemCount()) {
            if (emptyText && itemNo > 0) {
                OnBackSpacePress_(false, false, false, 0);
            }
            return;
        }
        TCustomVDItemInfo &n = *GetItem(itemNo + 1);
        if (i.GetBoolValue(vdbpFullWidth) || (n.GetBoolValue(vdbpFullWidth) && !emptyText)) {
            OnRightPress(false, false);
            return;
        }
        if (n.GetSameAsPrev() && !movedFromLineEnd) {
            CaretDrawItemNo = CharEnds.back().DrawItemNo + 1;
            OnChangeCaretLine(GetOffsBeforeDrawItem(CaretDrawItemNo) - 2);
            CaretOffs = 0;
            OnDeletePress_(ctrl, true);
            return;
        }
        BeginUndoSequence(vdutDelete, true);
        if (JoinLines(itemNo, itemNo + 1)) {
            Change();
        }
        return;
    }
    int32_t count = 1;
    if (ctrl && i.IsText() && offs < GetOffsAfterItem(itemNo)) {
        count = std::max(1, WordRightCount(itemNo, offs + 1) + 1);
        SetCaretToItem(itemNo, std::min(offs + count, GetOffsAfterItem(itemNo)));
        OnBackSpacePress_(true, false, false, count);
        return;
    }
    if (CaretOffs + 1 < static_cast<int32_t>(CharEnds.size())) {
        ++CaretOffs;
        OnBackSpacePress_(false, true, false, 0);
        return;
    }
    // The last stop of a line inside an item: the next line goes on with the item, after the
    // space the wrap swallowed when there is a gap between the two draw items.
    const int32_t d = CharEnds.back().DrawItemNo;
    const bool gap = DrawItems[d + 1]->Offs > DrawItems[d]->Offs + DrawItems[d]->Length;
    CaretDrawItemNo = d + 1;
    OnChangeCaretLine(GetOffsBeforeDrawItem(CaretDrawItemNo) - 2);
    CaretOffs = 0;
    if (gap) {
        OnBackSpacePress_(false, true, false, 0);
    } else {
        OnDeletePress_(ctrl, true);
    }
}

// ---- Backspace ----

void TVDEditVDData::BackspaceInText(int32_t itemNo, int32_t offs, int32_t count) {
    if (IsProtected(itemNo, vdprModifyProtect)) {
        Beep();
        return;
    }
    int32_t startDI = 0, endDI = 0;
    GetParaDrawRange(itemNo, itemNo, startDI, endDI);
    const TVDRawByteString oldText = GetItem(itemNo)->ItemText;
    Do_DeleteSubstring(itemNo, offs - count, count);
    DoItemTextEdit(oldText, itemNo);
    GetItem(itemNo)->ClearLiveSpellingResult();
    int32_t first = itemNo, last = itemNo;
    ExpandToParaSection(itemNo, itemNo, first, last);
    Reformat_(CalculateMinItemsWidthPlusEx(first, last) >= DocumentWidth, startDI, endDI, 0);
    ShowCaretAt(itemNo, offs - count);
    Change();
}

bool TVDEditVDData::JoinWithPrevious(int32_t itemNo, bool afterMarker, int32_t &caretItemNo,
                                     int32_t &caretOffs, bool &fr, int32_t &removed) {
    TCustomVDItemInfo &i = *GetItem(itemNo);
    TCustomVDItemInfo &p = *GetItem(itemNo - 1);
    if (afterMarker || (p.IsText() && p.ItemText.empty())) {
        if (IsProtected(itemNo - 1, vdprDeleteProtect) || IsParaReadOnly(itemNo - 1)) {
            return false;
        }
        if (!afterMarker && !p.GetBR() && i.GetBR()) {
            Do_BR(itemNo, false, fr);
        }
        DeleteWholeItem(itemNo - 1, caretItemNo, caretOffs, fr, removed, false);
        caretItemNo = itemNo - 1;
        caretOffs = GetOffsBeforeItem(caretItemNo);
        return true;
    }
    if (i.IsText() && i.ItemText.empty()) {
        if (IsProtected(itemNo, vdprDeleteProtect) || HasPersistentCheckpoint(itemNo)) {
            return false;
        }
        DeleteWholeItem(itemNo, caretItemNo, caretOffs, fr, removed, false);
        caretItemNo = itemNo - 1;
        caretOffs = GetOffsAfterItem(caretItemNo);
        return true;
    }
    if (IsParaReadOnly(itemNo - 1) || IsProtected(itemNo, vdprParaStartProtect) ||
        ParaHasPersistentCheckpoint(itemNo)) {
        return false;
    }
    if (CanConcateItems(itemNo - 1, &p, &i, true, false)) {
        Do_Concate(itemNo - 1);
        removed = 1;
    } else {
        Do_NewLine(itemNo, true, -1, fr);
        caretItemNo = itemNo;
        caretOffs = GetOffsBeforeItem(itemNo);
    }
    return true;
}

void TVDEditVDData::RemovePageBreakAt(int32_t itemNo, int32_t offs) {
    Do_PageBreak(itemNo, false);
    Format(false, false);
    ShowCaretAt(itemNo, offs);
    Change();
}

void TVDEditVDData::BackspaceAtItemStart(int32_t itemNo, int32_t offs, bool ctrl, bool multiDelete,
                                         int32_t forceDeleteCount) {
    TCustomVDItemInfo &i = *GetItem(itemNo);
    const bool emptyText = i.IsText() && i.ItemText.empty();
    const bool afterMarker = itemNo > 0 && GetItem(itemNo - 1)->StyleNo == StyleNoListMarker;
    if (itemNo == 0) {
        if (i.GetPageBreakBefore()) {
            BeginUndoSequence(vdutRemovePageBreak, true);
            RemovePageBreakAt(0, offs);
        }
        return;
    }
    TCustomVDItemInfo &p = *GetItem(itemNo - 1);
    if (i.GetBoolValue(vdbpFullWidth) || (p.GetBoolValue(vdbpFullWidth) && !emptyText)) {
        OnLeftPress(false, false);
        return;
    }
    if (i.GetSameAsPrev() && !afterMarker) {
        CaretDrawItemNo = CharEnds[0].DrawItemNo - 1;
        OnChangeCaretLine(GetOffsAfterDrawItem(CaretDrawItemNo) - 2);
        OnBackSpacePress_(ctrl, multiDelete, true, forceDeleteCount);
        return;
    }
    BeginUndoSequence(vdutDelete, true);
    if (i.GetPageBreakBefore() && !afterMarker) {
        RemovePageBreakAt(itemNo, offs);
        return;
    }
    int32_t caretItemNo = itemNo - 1, caretOffs = GetOffsAfterItem(itemNo - 1);
    int32_t startDI = 0, endDI = 0;
    GetParaDrawRange(itemNo - 1, itemNo, startDI, endDI);
    bool fr = false;
    int32_t removed = 0;
    if (!JoinWithPrevious(itemNo, afterMarker, caretItemNo, caretOffs, fr, removed)) {
        Beep();
        return;
    }
    int32_t first = 0, last = 0;
    ExpandToPara(caretItemNo, caretItemNo, first, last);
    Do_Para(first, last, GetItem(caretItemNo)->ParaNo, fr);
    Reformat_(fr, startDI, endDI, -removed);
    ShowCaretAt(caretItemNo, caretOffs);
    Change();
}

void TVDEditVDData::BackspaceWholeItem(int32_t itemNo, int32_t offs) {
    const int32_t x = offs <= GetOffsBeforeItem(itemNo) ? itemNo - 1 : itemNo;
    if (x < 0 || IsParaReadOnly(x) || IsProtected(x, vdprDeleteProtect) ||
        !MovePersistentCheckpoint(x, false)) {
        Beep();
        return;
    }
    TCustomVDItemInfo &victim = *GetItem(x);
    const bool startsLine =
        !victim.GetSameAsPrev() || (x > 0 && GetItem(x - 1)->StyleNo == StyleNoListMarker);
    const bool keepLine = startsLine && (x + 1 >= ItemCount() || !GetItem(x + 1)->GetSameAsPrev());
    int32_t startDI = 0, endDI = 0;
    GetParaDrawRange(x, x, startDI, endDI);
    bool fr = false;
    int32_t removed = 0, caretItemNo = x, caretOffs = 0;
    DeleteWholeItem(x, caretItemNo, caretOffs, fr, removed, keepLine);
    if (caretItemNo + 1 < ItemCount() && !keepLine && GetItem(caretItemNo + 1)->GetSameAsPrev() &&
        CanConcateItems(caretItemNo, GetItem(caretItemNo), GetItem(caretItemNo + 1), false,
                        false)) {
        Do_Concate(caretItemNo);
        ++removed;
    }
    Reformat_(fr, startDI, endDI, -removed);
    ShowCaretAt(caretItemNo, caretOffs);
    Change();
}

void TVDEditVDData::OnBackSpacePress_(bool ctrl, bool multiDelete, bool, int32_t forceDeleteCount) {
    const int32_t itemNo = GetCurItemNo();
    const int32_t offs = GetOffsetInCurItem();
    if (IsParaReadOnly(itemNo)) {
        Beep();
        return;
    }
    if (CaretOffs == 0 && offs <= GetOffsBeforeItem(itemNo)) {
        BackspaceAtItemStart(itemNo, offs, ctrl, multiDelete, forceDeleteCount);
        return;
    }
    BeginUndoSequence(vdutDelete, true);
    TCustomVDItemInfo &i = *GetItem(itemNo);
    if (i.IsText() && offs > GetOffsBeforeItem(itemNo)) {
        int32_t count = 1;
        if (ctrl) {
            count = forceDeleteCount > 0 ? forceDeleteCount : WordLeftCount(itemNo, offs - 1);
        } else if (multiDelete && i.ItemOptions.Contains(vdioUnicode)) {
            count = offs - GetPrevCharPos(i.ItemText, itemNo, offs);
        }
        count = std::clamp(count, 1, offs - 1);
        if (count < ItemLength(itemNo)) {
            BackspaceInText(itemNo, offs, count);
            return;
        }
    }
    BackspaceWholeItem(itemNo, offs);
}

} // namespace vizivodu
