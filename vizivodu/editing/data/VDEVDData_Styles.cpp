// Applying paragraph styles and converting the text styles of the selection (or at the caret),
// splitting text items at the selection's edges so that exactly the selected characters change.
#include "vizivodu/editing/data/VDEVDData.h"

#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/ScopeExit.h"

#include <algorithm>

namespace vizivodu {

int32_t TVDEditVDData::ConvertedStyle(int32_t styleNo, int32_t paraNo, int32_t userData,
                                      bool appliedToText) {
    int32_t result = styleNo;
    if (FCurStyleConversion) {
        FCurStyleConversion(*this, styleNo, paraNo, userData, appliedToText, result);
    }
    return result;
}

// ---- Paragraph styles ----

void TVDEditVDData::ApplyParaStyle(int32_t paraStyleNo, TVDEStyleConversionType convType, bool,
                                   bool callOnChange) {
    if (FPartialSelectedItem || ItemCount() == 0) {
        return;
    }
    const int32_t caretItemNo = GetCurItemNo(), caretOffs = GetOffsetInCurItem();
    int32_t first = caretItemNo, firstOffs = 0, last = caretItemNo, lastOffs = 0;
    if (SelectionExists(false, false)) {
        GetSelectionBounds(first, firstOffs, last, lastOffs, true);
    }
    if (first < 0) {
        return;
    }
    int32_t sStart = 0, sEnd = 0, sStartOffs = 0, sEndOffs = 0;
    StoreSelBounds(sStart, sEnd, sStartOffs, sEndOffs, false);
    ExpandToVisiblePara(first, last, first, last);
    int32_t startDI = 0, endDI = 0;
    GetParaDrawRange(first, last, startDI, endDI);
    bool fullReformat = false, changed = false;
    if (convType == vdscParaStyle) {
        changed = Do_Para(first, last, paraStyleNo, fullReformat);
    } else {
        std::vector<int32_t> paras;
        for (int32_t i = first; i <= last; ++i) {
            const int32_t paraNo = GetItem(i)->ParaNo;
            paras.push_back(ConvertedStyle(paraNo, paraNo, paraStyleNo, false));
        }
        changed = Do_ParaList(first, paras, fullReformat);
    }
    if (changed) {
        const rtl::TFlagScope invalidSelection(State, vdstInvalidSelection);
        Reformat_(fullReformat, startDI, endDI, 0);
        SetCaretToItem(caretItemNo, caretOffs);
        if (sStart >= 0) {
            RestoreSelBounds(sStart, sEnd, sStartOffs, sEndOffs, false);
        }
    }
    ChangeCaret(false, true, false, false);
    DoAfterFormatAndCaretPositioning(true);
    if (callOnChange) {
        Change();
    }
    Invalidate();
}

// ---- Text styles: converting one item ----

void TVDEditVDData::ConvertTextItem(int32_t itemNo, int32_t styleNo) {
    TCustomVDItemInfo &item = *GetItem(itemNo);
    if (EditorOptions.Contains(vdoClearTagOnStyleApp)) {
        Do_Tag(itemNo, TVDTag{}, true);
    }
    const int32_t oldStyleNo = GetActualStyle(item);
    const bool wasUnicode = IsUnicodeStyle(oldStyleNo);
    const bool isUnicode = IsUnicodeStyle(GetActualStyleEx(styleNo, item.ParaNo));
    // Between two records the item may hold 8-bit bytes flagged as UTF-16 only never: undo
    // measures the item after each record, and odd UTF-16 fails.
    if (wasUnicode && !isUnicode) {
        const TVDRawByteString text = RawUnicodeToAnsi(GetStyleCodePage(styleNo), item.ItemText);
        Do_StyleNo(itemNo, styleNo);
        Do_ChangeTextR(itemNo, text);
        return;
    }
    if (!wasUnicode && isUnicode) {
        Do_ChangeTextR(itemNo, AnsiToRawUnicode(GetStyleCodePage(oldStyleNo), item.ItemText));
    }
    Do_StyleNo(itemNo, styleNo);
}

bool TVDEditVDData::ConvertWholeItem(int32_t itemNo, int32_t userData) {
    TCustomVDItemInfo &item = *GetItem(itemNo);
    if (!item.IsText()) {
        return false; // items that convert themselves (tables) do so through their editor side
    }
    const int32_t styleNo = ConvertedStyle(GetActualStyle(item), item.ParaNo, userData, true);
    if (styleNo == item.StyleNo) {
        return false;
    }
    ConvertTextItem(itemNo, styleNo);
    return true;
}

TVDRawByteString TVDEditVDData::TextPiece(int32_t itemNo, int32_t from, int32_t to,
                                          int32_t styleNo) {
    TCustomVDItemInfo &item = *GetItem(itemNo);
    const bool unicode = item.ItemOptions.Contains(vdioUnicode);
    const size_t unit = unicode ? 2 : 1;
    TVDRawByteString piece = item.ItemText.substr(static_cast<size_t>(from) * unit,
                                                  static_cast<size_t>(to - from) * unit);
    const bool toUnicode = IsUnicodeStyle(GetActualStyleEx(styleNo, item.ParaNo));
    if (unicode && !toUnicode) {
        return RawUnicodeToAnsi(GetStyleCodePage(styleNo), piece);
    }
    if (!unicode && toUnicode) {
        return AnsiToRawUnicode(GetStyleCodePage(GetActualStyle(item)), piece);
    }
    return piece;
}

void TVDEditVDData::SplitOffPiece(int32_t itemNo, int32_t from, int32_t to, bool before,
                                  int32_t styleNo, bool keepTag, bool takeCheckpoint) {
    TCustomVDItemInfo &old = *GetItem(itemNo);
    TVDRawByteString text = TextPiece(itemNo, from, to, styleNo);
    std::unique_ptr<TCustomVDItemInfo> piece = CreateEmptyTextItem(styleNo, old.ParaNo);
    if (keepTag) {
        piece->Tag = old.Tag;
    }
    piece->SetSameAsPrev(true);
    if (before) {
        piece->AssignParaProperties(old);
    }
    const bool moveCheckpoint = takeCheckpoint && old.Checkpoint;
    Do_DeleteSubstring(itemNo, from + 1, to - from);
    bool fr = false;
    const int32_t at = before ? itemNo : itemNo + 1;
    Do_InsertItem(at, text, std::move(piece), false, fr);
    if (before) {
        Do_NewLine(itemNo + 1, true, -1, fr);
        if (moveCheckpoint) {
            Do_MoveCP(itemNo + 1, itemNo);
        }
    } else if (moveCheckpoint) {
        Do_MoveCP(itemNo, itemNo + 1);
    }
}

// ---- Text styles: the selection ----

int32_t TVDEditVDData::ConvertPartOfItem(int32_t itemNo, int32_t a, int32_t b, int32_t userData,
                                         int32_t &added) {
    TCustomVDItemInfo &item = *GetItem(itemNo);
    const int32_t len = ItemLength(itemNo);
    const int32_t styleNo = ConvertedStyle(GetActualStyle(item), item.ParaNo, userData, true);
    if (styleNo == item.StyleNo) {
        return itemNo;
    }
    const bool clearTag = EditorOptions.Contains(vdoClearTagOnStyleApp);
    if (a <= 1) { // the head converted
        SplitOffPiece(itemNo, 0, b - 1, true, styleNo, !clearTag, true);
        ++added;
        return itemNo;
    }
    if (b > len) { // the tail converted
        SplitOffPiece(itemNo, a - 1, len, false, styleNo, !clearTag, false);
        ++added;
        return itemNo + 1;
    }
    const int32_t oldStyleNo = item.StyleNo;
    SplitOffPiece(itemNo, b - 1, len, false, oldStyleNo, true, false);
    SplitOffPiece(itemNo, 0, a - 1, true, oldStyleNo, true, true);
    added += 2;
    ConvertTextItem(itemNo + 1, styleNo);
    return itemNo + 1;
}

void TVDEditVDData::ConvertSelectedItems(int32_t s, int32_t a, int32_t e, int32_t b,
                                         int32_t userData, int32_t &added, int32_t &convFirst,
                                         int32_t &convLast) {
    auto whole = [&](int32_t i) {
        return IsProtected(i, vdprStyleSplitProtect) ||
               ((a <= GetOffsBeforeItem(i) || i != s) && (b >= GetOffsAfterItem(i) || i != e));
    };
    if (s == e) {
        convFirst = convLast = s;
        if (GetItem(s)->IsText() && !whole(s)) {
            convFirst = convLast = ConvertPartOfItem(s, a, b, userData, added);
        } else {
            ConvertWholeItem(s, userData);
        }
        return;
    }
    convLast = e;
    if (GetItem(e)->IsText() && !whole(e)) {
        ConvertPartOfItem(e, 1, b, userData, added);
    } else {
        ConvertWholeItem(e, userData);
    }
    for (int32_t i = e - 1; i > s; --i) {
        ConvertWholeItem(i, userData);
    }
    convFirst = s;
    if (GetItem(s)->IsText() && !whole(s)) {
        const int32_t before = added;
        convFirst = ConvertPartOfItem(s, a, ItemLength(s) + 1, userData, added);
        convLast += added - before;
    } else {
        ConvertWholeItem(s, userData);
    }
}

void TVDEditVDData::JoinConverted(int32_t first, int32_t last, TVDItemPos &selStart,
                                  TVDItemPos &selEnd, int32_t &added) {
    auto moved = [](TVDItemPos &p, int32_t k, int32_t lengthOfK, bool firstDropped) {
        if (p.ItemNo == k + 1) {
            p.ItemNo = k;
            p.Offs = firstDropped ? p.Offs : lengthOfK + p.Offs;
        } else if (p.ItemNo == k && firstDropped) {
            p.Offs = 1;
        } else if (p.ItemNo > k + 1) {
            --p.ItemNo;
        }
    };
    for (int32_t i = std::min(last + 1, ItemCount() - 1); i >= std::max(first, 1); --i) {
        TCustomVDItemInfo *prev = GetItem(i - 1);
        if (!CanConcateItems(i - 1, prev, GetItem(i), false, false)) {
            continue;
        }
        const bool firstDropped = prev->IsText() && prev->ItemText.empty();
        const int32_t lengthOfK = ItemLength(i - 1);
        Do_Concate(i - 1);
        --added;
        moved(selStart, i - 1, lengthOfK, firstDropped);
        moved(selEnd, i - 1, lengthOfK, firstDropped);
    }
}

void TVDEditVDData::ApplyStyleConversion_(int32_t userData, TVDEStyleConversionType, bool) {
    if (FPartialSelectedItem || !GetVDStyle()) {
        return;
    }
    const TFontInfos &fonts = GetVDStyle()->GetTextStyles();
    const int32_t actual = GetActualCurStyleNo();
    if (actual < 0 || actual >= fonts.GetCount() ||
        !fonts.GetItem(actual).GetProtection().Contains(vdprDoNotAutoSwitch)) {
        FPrevTextStyleNo = FCurTextStyleNo;
    }
    const int32_t newCur = ConvertedStyle(FCurTextStyleNo, FCurParaStyleNo, userData, false);
    if (!SelectionExists(false, false)) {
        ConvertAtCaret(userData, newCur);
        return;
    }
    ConvertSelection(userData, newCur);
}

void TVDEditVDData::ConvertAtCaret(int32_t userData, int32_t newCur) {
    const int32_t itemNo = GetCurItemNo();
    TCustomVDItemInfo *item = itemNo >= 0 ? GetItem(itemNo) : nullptr;
    if (item && item->IsText() && item->ItemText.empty()) {
        BeginUndoSequence(vdutStyleNo, true);
        int32_t startDI = 0, endDI = 0;
        GetParaDrawRange(itemNo, itemNo, startDI, endDI);
        ConvertWholeItem(itemNo, userData);
        Reformat_(false, startDI, endDI, 0);
        FCurTextStyleNo = newCur;
        SetCaretToItem(itemNo, GetOffsBeforeItem(itemNo));
        ChangeCaret(false, true, true, false);
        DoAfterFormatAndCaretPositioning(true);
        Change();
    }
    FCurTextStyleNo = newCur;
}

void TVDEditVDData::ConvertSelection(int32_t userData, int32_t newCur) {
    BeginUndoSequence(vdutStyleNo, true);
    int32_t s = 0, a = 0, e = 0, b = 0;
    GetSelectionBounds(s, a, e, b, true);
    const bool forward = IsForwardSelection();
    int32_t startDI = 0, endDI = 0;
    GetParaDrawRange(s, e, startDI, endDI);
    const int32_t b0 = CalculateParaSectionsMinWidthDef(s, e);
    int32_t added = 0, convFirst = s, convLast = e;
    ConvertSelectedItems(s, a, e, b, userData, added, convFirst, convLast);
    TVDItemPos selStart{convFirst, convFirst == s ? std::max(a, GetOffsBeforeItem(convFirst))
                                                  : GetOffsBeforeItem(convFirst)};
    TVDItemPos selEnd{convLast, std::min(b, GetOffsAfterItem(convLast))};
    if (convLast != e) {
        selEnd.Offs = GetOffsAfterItem(convLast);
    }
    JoinConverted(s, e + added, selStart, selEnd, added);
    const int32_t b1 = CalculateParaSectionsMinWidthDef(std::min(s, ItemCount() - 1),
                                                        std::min(e + added, ItemCount() - 1));
    {
        const rtl::TFlagScope invalidSelection(State, vdstInvalidSelection);
        Reformat_(!(b1 == b0 || (b0 < DocumentWidth && b1 < DocumentWidth)), startDI, endDI, added);
    }
    if (State.Contains(vdstSkipFormatting)) {
        return;
    }
    const TVDItemPos &anchor = forward ? selStart : selEnd;
    const TVDItemPos &active = forward ? selEnd : selStart;
    SetCaretToItem(active.ItemNo, active.Offs);
    DoSetSelectionBounds(anchor.ItemNo, anchor.Offs, active.ItemNo, active.Offs, false);
    FCurTextStyleNo = newCur;
    ChangeCaret(false, true, true, false);
    DoAfterFormatAndCaretPositioning(true);
    Change();
}

} // namespace vizivodu
