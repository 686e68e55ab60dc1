// Typing into the editable document (compact typing groups), inserting text as a new item,
// the current tag, the item-text-edit hook, persistent checkpoints, and change reports.
#include "vizivodu/editing/data/VDEVDData.h"

#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/styles/VDStyle.h"

#include <algorithm>

namespace vizivodu {

void TVDEditVDData::KeyPress(char16_t key) {
    if (!GetVDStyle() || FPartialSelectedItem || !CanDelete()) {
        Beep();
        return;
    }
    const int32_t styleNo = GetActualCurStyleNo();
    TVDRawByteString text;
    if (IsUnicodeStyle(styleNo)) {
        text = StringToRawUnicode(std::u16string_view(&key, 1));
    } else {
        text = RawUnicodeToAnsi(GetStyleCodePage(styleNo),
                                StringToRawUnicode(std::u16string_view(&key, 1)));
    }
    InsertTextTyping(text, key);
}

bool TVDEditVDData::FindTypingTarget(int32_t itemNo, int32_t offs, bool unicodeStyle,
                                     int32_t &target, int32_t &pos) {
    target = -1;
    pos = 0;
    TCustomVDItemInfo &i = *GetItem(itemNo);
    if (i.IsText() && i.StyleNo == FCurTextStyleNo) {
        target = itemNo;
        pos = offs;
    } else if (offs >= GetOffsAfterItem(itemNo) && itemNo + 1 < ItemCount() &&
               GetItem(itemNo + 1)->GetSameAsPrev() &&
               GetItem(itemNo + 1)->StyleNo == FCurTextStyleNo) {
        target = itemNo + 1;
        pos = 1;
    }
    if (target >= 0 && IsProtected(target, vdprConcateProtect)) {
        target = -1;
    }
    if (target >= 0 && IsProtected(target, vdprModifyProtect)) {
        if (pos > 1 && pos < GetOffsAfterItem(target)) {
            return false;
        }
        target = -1;
    }
    if (target >= 0 && GetItem(target)->ItemOptions.Contains(vdioUnicode) != unicodeStyle) {
        target = -1; // the bytes of the typed text would not fit the item's encoding
    }
    return true;
}

void TVDEditVDData::TypeIntoItem(int32_t t, int32_t pos, const TVDRawByteString &text,
                                 bool unicodeStyle) {
    TCustomVDItemInfo &target = *GetItem(t);
    const size_t unit = unicodeStyle ? 2 : 1;
    const bool emptyOtherPara = target.ItemText.empty() && target.ParaNo != FCurParaStyleNo;
    if (text.size() == unit && !emptyOtherPara && !OnItemTextEdit) {
        UndoDest = udUndo;
        UndoList->AddTyping(t, pos, unicodeStyle);
        TVDRawByteString newText = target.ItemText;
        newText.insert(std::min(newText.size(), static_cast<size_t>(pos - 1) * unit), text);
        target.ClearLiveSpellingResult();
        ItemAction(vdiaTextModifying, target, newText, *this);
        target.ItemText = std::move(newText);
        return;
    }
    BeginUndoSequence(vdutMiscTyping, true);
    bool fr = false;
    if (emptyOtherPara) {
        int32_t first = 0, last = 0;
        ExpandToPara(t, t, first, last);
        Do_Para(first, last, FCurParaStyleNo, fr);
    }
    const TVDRawByteString oldText = target.ItemText;
    Do_InsertSubstring(t, pos, text);
    DoItemTextEdit(oldText, t);
}

void TVDEditVDData::InsertTextTyping(const TVDRawByteString &text, char16_t) {
    if (!GetVDStyle() || FPartialSelectedItem || !CanDelete() || text.empty()) {
        Beep();
        return;
    }
    const bool unicodeStyle = IsUnicodeStyle(GetActualCurStyleNo());
    const int32_t n = static_cast<int32_t>(unicodeStyle ? text.size() / 2 : text.size());
    const int32_t itemNo = GetCurItemNo();
    const int32_t offs = GetOffsetInCurItem();
    int32_t t = -1, pos = 0;
    if (IsParaReadOnly(itemNo) || !FindTypingTarget(itemNo, offs, unicodeStyle, t, pos)) {
        Beep();
        return;
    }
    if (t < 0) {
        BeginUndoSequence(vdutMiscTyping, true);
        AssignCurTag();
        TVDRawByteString s = text, split;
        InsertTextOfStyle(s, split, FCurTextStyleNo, true, false);
        Change();
        return;
    }
    int32_t startDI = 0, endDI = 0;
    GetParaDrawRange(t, t, startDI, endDI);
    TypeIntoItem(t, pos, text, unicodeStyle);
    int32_t sectionFirst = t, sectionLast = t;
    ExpandToParaSection(t, t, sectionFirst, sectionLast);
    const bool full = CalculateMinItemsWidthPlusEx(sectionFirst, sectionLast) > DocumentWidth;
    Reformat_(full, startDI, endDI, 0);
    ShowCaretAt(t, pos + n);
    Change();
}

bool TVDEditVDData::InsertTextOfStyle(TVDRawByteString &s, TVDRawByteString &text, int32_t styleNo,
                                      bool autoTag, bool caretBefore) {
    std::unique_ptr<TCustomVDItemInfo> item = ViziVoduTextItemClass->Create(this);
    if (IsUnicodeStyle(GetActualStyleEx(styleNo, FCurParaStyleNo))) {
        item->ItemOptions.Include(vdioUnicode);
    }
    item->StyleNo = styleNo;
    return InsertSomething(std::move(item), s, text, autoTag, caretBefore, true);
}

// ---- Change reports and reformatting ----

void TVDEditVDData::ChangeEx(bool clearRedo) {
    FUpDownMovingX = INT_MAX;
    Modified = true;
    if (!State.Contains(vdstDoNotClearCurTag)) {
        ClearCurTag();
    }
    if (!FCaptureMouseItem) {
        LastDIMovedAbove = -1;
    }
    if (clearRedo) {
        RedoList->Clear();
    }
    if (OnDoChange) {
        OnDoChange(clearRedo);
    }
}

void TVDEditVDData::Reformat(bool fullFormat, bool forceFormat, bool noScroll, int32_t itemNo,
                             bool updateView) {
    int32_t s = -1, e = -1, so = 0, eo = 0;
    if (SelectionExists(false, false)) {
        GetSelectionBounds(s, so, e, eo, false);
    }
    ReformatEx(fullFormat, forceFormat, noScroll, itemNo, updateView, s, so, e, eo);
}

void TVDEditVDData::ReformatEx(bool fullFormat, bool forceFormat, bool noScroll, int32_t itemNo,
                               bool updateView, int32_t selStartNo, int32_t selStartOffs,
                               int32_t selEndNo, int32_t selEndOffs) {
    const int32_t caretItemNo = GetCurItemNo();
    const int32_t caretOffs = GetOffsetInCurItem();
    bool formatted = false;
    if (fullFormat) {
        formatted = Format_(true, forceFormat, noScroll, 0, GetFormatCanvas(), false, true, false,
                            false, false);
        Invalidate();
    }
    if (!formatted && DrawItems.Count() > 0) {
        int32_t d = -1, dOffs = 0;
        if (itemNo == caretItemNo) {
            Item2DrawItem(caretItemNo, caretOffs, d, dOffs, vddpBetterBelow);
        } else {
            Item2DrawItem(itemNo, 0, d, dOffs, vddpBetterBelow);
        }
        if (d >= 0) {
            FormatParas(d, d, 0);
        }
    }
    SetCaretToItem(caretItemNo, caretOffs);
    if (selStartNo >= 0) {
        DoSetSelectionBounds(selStartNo, selStartOffs, selEndNo, selEndOffs, false);
    }
    ChangeCaret(false, updateView, !updateView, false);
    DoAfterFormatAndCaretPositioning(true);
}

void TVDEditVDData::DoAfterFormatAndCaretPositioning(bool updateControl) {
    if (updateControl) {
        UpdateView();
    }
}

int32_t TVDEditVDData::GetActualCurStyleNo() {
    return GetActualStyleEx(FCurTextStyleNo, FCurParaStyleNo);
}

// ---- The current tag and the item-text-edit hook ----

void TVDEditVDData::ClearCurTag() {
    FCurTag.clear();
    FCurTagStyleNo = -1;
}

bool TVDEditVDData::CanKeepTagForStyle(int32_t styleNo, int32_t newStyleNo) {
    if (styleNo == newStyleNo) {
        return true;
    }
    if (EditorOptions.Contains(vdoClearTagOnStyleApp)) {
        return false;
    }
    const TFontInfos &fonts = GetVDStyle()->GetTextStyles();
    if (styleNo < 0 || newStyleNo < 0 || styleNo >= fonts.GetCount() ||
        newStyleNo >= fonts.GetCount()) {
        return false;
    }
    const TFontInfo &a = fonts.GetItem(styleNo);
    const TFontInfo &b = fonts.GetItem(newStyleNo);
    return a.GetJump() == b.GetJump() && a.GetProtection() == b.GetProtection();
}

void TVDEditVDData::AssignCurTag() {
    ClearCurTag();
    TCustomVDItemInfo *item = GetCurItem();
    if (item && CanKeepTagForStyle(item->StyleNo, FCurTextStyleNo)) {
        FCurTag = item->Tag;
        FCurTagStyleNo = FCurTextStyleNo;
    }
}

bool TVDEditVDData::DoItemTextEdit(const TVDRawByteString &oldText, int32_t itemNo) {
    if (!OnItemTextEdit) {
        return false;
    }
    TCustomVDItemInfo &item = *GetItem(itemNo);
    TVDTag newTag = item.Tag;
    int32_t newStyleNo = GetActualStyle(item);
    OnItemTextEdit(oldText, *this, itemNo, newTag, newStyleNo);
    const bool changed = newTag != item.Tag || newStyleNo != item.StyleNo;
    Do_Tag(itemNo, newTag, true);
    Do_StyleNo(itemNo, newStyleNo);
    return changed;
}

bool TVDEditVDData::DoItemTextEditEx(const TVDRawByteString &oldText, int32_t itemNo,
                                     TVDUndoType undoType) {
    if (!OnItemTextEdit) {
        return false;
    }
    TCustomVDItemInfo &item = *GetItem(itemNo);
    TVDTag newTag = item.Tag;
    int32_t newStyleNo = GetActualStyle(item);
    OnItemTextEdit(oldText, *this, itemNo, newTag, newStyleNo);
    if (newTag == item.Tag && newStyleNo == item.StyleNo) {
        return false;
    }
    BeginUndoSequence(undoType, true);
    Do_Tag(itemNo, newTag, true);
    Do_StyleNo(itemNo, newStyleNo);
    return true;
}

// ---- Persistent checkpoints ----

bool TVDEditVDData::HasPersistentCheckpoint(int32_t itemNo) {
    const TVDCPInfo *cp = GetItem(itemNo)->Checkpoint;
    return cp && cp->Persistent;
}

bool TVDEditVDData::ParaHasPersistentCheckpoint(int32_t itemNo) {
    int32_t first = 0, last = 0;
    ExpandToPara(itemNo, itemNo, first, last);
    for (int32_t i = first; i <= last; ++i) {
        if (HasPersistentCheckpoint(i)) {
            return true;
        }
    }
    return false;
}

bool TVDEditVDData::MovePersistentCheckpoint(int32_t itemNo, bool prev) {
    if (!HasPersistentCheckpoint(itemNo)) {
        return true;
    }
    if (!prev && itemNo + 1 < ItemCount() && GetItem(itemNo + 1)->GetSameAsPrev() &&
        !HasPersistentCheckpoint(itemNo + 1)) {
        Do_MoveCP(itemNo, itemNo + 1);
        return true;
    }
    if (itemNo > 0 && GetItem(itemNo)->GetSameAsPrev() && !GetItem(itemNo - 1)->Checkpoint) {
        Do_MoveCP(itemNo, itemNo - 1);
        return true;
    }
    return false;
}

} // namespace vizivodu
