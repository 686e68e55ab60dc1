// Deleting the selection: whether it may be deleted, removing the selected items and text
// last part first, joining what remains and keeping each paragraph that must survive.
#include "vizivodu/editing/data/VDEVDData.h"

#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/ScopeExit.h"

#include <algorithm>

namespace vizivodu {

bool TVDEditVDData::CanDelete() {
    if (!SelectionExists(false, false)) {
        return true;
    }
    int32_t s = 0, a = 0, e = 0, b = 0;
    GetSelectionBounds(s, a, e, b, true);
    if (s < 0 || e < 0) {
        return true;
    }
    for (int32_t i = s + 1; i < e; ++i) {
        if (IsProtected(i, vdprDeleteProtect)) {
            return false;
        }
    }
    auto partOk = [&](int32_t itemNo, int32_t from, int32_t to) {
        const int32_t before = GetOffsBeforeItem(itemNo), after = GetOffsAfterItem(itemNo);
        from = std::max(from, before);
        to = std::min(to, after);
        if (to <= from) {
            return true;
        }
        const bool whole = from == before && to == after;
        if (!GetItem(itemNo)->IsText()) {
            return !IsProtected(itemNo, vdprDeleteProtect);
        }
        return !(whole ? IsProtected(itemNo, vdprDeleteProtect)
                       : IsProtected(itemNo, vdprModifyProtect));
    };
    if (s == e ? !partOk(s, a, b)
               : !partOk(s, a, GetOffsAfterItem(s)) || !partOk(e, GetOffsBeforeItem(e), b)) {
        return false;
    }
    if (IsParaReadOnly(s) && !(IsParaStart(s) && a <= GetOffsBeforeItem(s))) {
        return false;
    }
    if (IsParaReadOnly(e) &&
        !(b >= GetOffsAfterItem(e) && (e + 1 >= ItemCount() || IsParaStart(e + 1)))) {
        return false;
    }
    for (int32_t i = s + 1; i <= GetParaEndItemNo(e); ++i) {
        if (HasPersistentCheckpoint(i)) {
            return false;
        }
    }
    return true;
}

// Deletes the whole item at itemNo; keepLine puts an empty text item in its place when the
// item carried a line (so that the paragraph survives).
void TVDEditVDData::DeleteWholeItem(int32_t itemNo, int32_t &caretItemNo, int32_t &caretOffs,
                                    bool &fullReformat, int32_t &removed, bool keepLine) {
    TCustomVDItemInfo &item = *GetItem(itemNo);
    bool fr = false;
    if (keepLine) {
        std::unique_ptr<TCustomVDItemInfo> empty =
            CreateEmptyTextItem(FCurTextStyleNo, item.ParaNo);
        empty->SetSameAsPrev(item.GetSameAsPrev());
        empty->SetBR(item.GetBR());
        if (item.IsText() && item.StyleNo == FCurTextStyleNo) {
            empty->Tag = item.Tag;
        }
        if (item.Checkpoint && item.Checkpoint->Persistent) {
            empty->Checkpoint =
                item.Checkpoint->CreateCopy(GetOptions().Contains(vdoTagsArePChars)).release();
        }
        TVDRawByteString none;
        Do_InsertItem(itemNo, none, std::move(empty), false, fr);
        Do_DeleteItem(itemNo + 1, fr);
        fullReformat = fullReformat || fr;
        caretItemNo = itemNo;
        caretOffs = 1;
        return;
    }
    const bool continued = item.GetSameAsPrev();
    const bool br = item.GetBR();
    const int32_t paraNo = item.ParaNo;
    Do_DeleteItem(itemNo, fr);
    fullReformat = fullReformat || fr;
    ++removed;
    if (continued || itemNo >= ItemCount() || itemNo == 0) {
        if (itemNo > 0) {
            caretItemNo = itemNo - 1;
            caretOffs = GetOffsAfterItem(itemNo - 1);
            return;
        }
    }
    if (itemNo < ItemCount()) {
        Do_NewLine(itemNo, false, paraNo, fr);
        Do_BR(itemNo, br, fr);
        caretItemNo = itemNo;
        caretOffs = GetOffsBeforeItem(itemNo);
    }
}

void TVDEditVDData::DeleteRange(int32_t s, int32_t a, int32_t e, int32_t b, bool &fullReformat,
                                int32_t &caretItemNo, int32_t &caretOffs, int32_t &removed) {
    bool fr = false;
    caretItemNo = s;
    caretOffs = a;
    auto textPart = [&](int32_t itemNo, int32_t from, int32_t to) {
        Do_DeleteSubstring(itemNo, from, to - from);
    };
    auto lineKept = [&](int32_t itemNo, int32_t nextNo) {
        const TCustomVDItemInfo &item = *GetItem(itemNo);
        const bool startsLine = !item.GetSameAsPrev() ||
                                (itemNo > 0 && GetItem(itemNo - 1)->StyleNo == StyleNoListMarker);
        return startsLine && (nextNo >= ItemCount() || !GetItem(nextNo)->GetSameAsPrev());
    };
    if (s == e) {
        if (a <= GetOffsBeforeItem(s) && b >= GetOffsAfterItem(s)) {
            DeleteWholeItem(s, caretItemNo, caretOffs, fullReformat, removed, lineKept(s, s + 1));
        } else if (GetItem(s)->IsText()) {
            textPart(s, a, b);
        }
        return;
    }
    // The end item: its head goes, or all of it.
    bool tailStays = true;
    if (b >= GetOffsAfterItem(e)) {
        tailStays = false;
        Do_DeleteItem(e, fr);
        ++removed;
    } else if (b > GetOffsBeforeItem(e) && GetItem(e)->IsText()) {
        textPart(e, 1, b);
    }
    fullReformat = fullReformat || fr;
    if (e - 1 >= s + 1) {
        Do_DeleteItems(s + 1, e - 1, fr);
        removed += e - 1 - s;
        fullReformat = fullReformat || fr;
    }
    const int32_t tail = tailStays ? s + 1 : -1;
    if (a <= GetOffsBeforeItem(s)) {
        const bool keep = !tailStays && lineKept(s, s + 1);
        DeleteWholeItem(s, caretItemNo, caretOffs, fullReformat, removed, keep);
        if (tailStays && caretItemNo == s - 1) {
            Do_NewLine(s, true, -1, fr);
        }
    } else {
        if (GetItem(s)->IsText()) {
            textPart(s, a, GetOffsAfterItem(s));
        }
        if (tail >= 0) {
            if (GetItem(s)->GetBoolValue(vdbpFullWidth)) {
                Do_NewLine(tail, false, -1, fr);
            } else {
                Do_NewLine(tail, true, -1, fr);
            }
        }
    }
    fullReformat = fullReformat || fr;
}

bool TVDEditVDData::DeleteSelection_() {
    if (!SelectionExists(false, false)) {
        return true;
    }
    if (!CanDelete() || GetChosenVDData()) {
        Beep();
        return false;
    }
    const int32_t savedTextStyle = FCurTextStyleNo;
    BeginUndoSequence(vdutDelete, true);
    int32_t s = 0, a = 0, e = 0, b = 0;
    GetSelectionBounds(s, a, e, b, true);
    int32_t startDI = 0, endDI = 0;
    GetParaDrawRange(s, e, startDI, endDI);
    Deselect(nullptr, false);
    if (s > 0 && a <= GetOffsBeforeItem(s) && GetItem(s)->GetSameAsPrev() &&
        GetItem(s - 1)->StyleNo != StyleNoListMarker) {
        --s;
        a = GetOffsAfterItem(s);
    }
    if (GetItem(s)->StyleNo == StyleNoListMarker && s + 1 < ItemCount()) {
        ++s;
        a = GetOffsBeforeItem(s);
    }
    if (GetItem(e)->StyleNo == StyleNoListMarker && e + 1 < ItemCount()) {
        ++e;
        b = GetOffsBeforeItem(e);
    }
    bool fullReformat = false;
    int32_t caretItemNo = s, caretOffs = a, removed = 0;
    if (s < e || a < b) {
        DeleteRange(s, a, e, b, fullReformat, caretItemNo, caretOffs, removed);
    }
    caretItemNo = std::clamp(caretItemNo, 0, ItemCount() - 1);
    if (caretItemNo + 1 < ItemCount() && CanConcateItems(caretItemNo, GetItem(caretItemNo),
                                                         GetItem(caretItemNo + 1), false, false)) {
        const int32_t len =
            GetItem(caretItemNo)->IsText() && !GetItem(caretItemNo)->ItemText.empty()
                ? ItemLength(caretItemNo)
                : 0;
        const bool firstEmpty = len == 0 && GetItem(caretItemNo)->IsText();
        Do_Concate(caretItemNo);
        ++removed;
        if (firstEmpty) {
            caretOffs = GetOffsBeforeItem(caretItemNo);
        } else {
            caretOffs = std::min(caretOffs, len + 1);
        }
    }
    caretItemNo = std::clamp(caretItemNo, 0, ItemCount() - 1);
    int32_t first = 0, last = 0;
    ExpandToPara(caretItemNo, caretItemNo, first, last);
    bool fr = false;
    Do_Para(first, last, GetItem(caretItemNo)->ParaNo, fr);
    Reformat_(fullReformat || fr, startDI, endDI, -removed);
    caretOffs =
        std::clamp(caretOffs, GetOffsBeforeItem(caretItemNo), GetOffsAfterItem(caretItemNo));
    ShowCaretAt(caretItemNo, caretOffs);
    FCurTextStyleNo = savedTextStyle;
    Change();
    return true;
}

} // namespace vizivodu
