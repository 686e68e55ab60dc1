// The formatted document's word, line and paragraph selection and the word-aware extension of a
// selection while the mouse drags it.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/document/VDItem.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/styles/VDStyle.h"

namespace vizivodu {

namespace {

// The four selection fields, to tell whether an operation moved the selection.
struct TSelSnapshot {
    int32_t StartNo, StartOffs, EndNo, EndOffs;
    explicit TSelSnapshot(const TCustomVDFormattedData &d)
        : StartNo(d.FSelStartNo), StartOffs(d.FSelStartOffs), EndNo(d.FSelEndNo),
          EndOffs(d.FSelEndOffs) {}
    bool Differs(const TCustomVDFormattedData &d) const {
        return StartNo != d.FSelStartNo || StartOffs != d.FSelStartOffs || EndNo != d.FSelEndNo ||
               EndOffs != d.FSelEndOffs;
    }
};

} // namespace

// ---- Words ----

bool TCustomVDFormattedData::FindWordAtR(TVDRawByteString &word, int32_t x, int32_t y,
                                         int32_t &styleNo, int32_t &itemNo, int32_t &offs,
                                         TCustomVDFormattedData *&vdData) {
    return FindWordAtR_(word, x + GetHOffs(), y + GetVOffs(), styleNo, itemNo, offs, vdData, true);
}

bool TCustomVDFormattedData::FindWordAtR_(TVDRawByteString &word, int32_t x, int32_t y,
                                          int32_t &styleNo, int32_t &itemNo, int32_t &offs,
                                          TCustomVDFormattedData *&vdData,
                                          bool coordRelativeToControl) {
    vdData = this;
    RotateCoordsFromScreenToDoc(x, y, !coordRelativeToControl, false);
    int32_t no = -1, dOffs = -1;
    FindDrawItemForSel(x, y, no, dOffs, true, false, true, false);
    if (no < 0) {
        return false;
    }
    DrawItem2Item(no, dOffs, itemNo, offs);
    TCustomVDItemInfo *item = GetItem(itemNo);
    // Items answer for points relative to their draw item, as their mouse operations do.
    if (auto *sub = dynamic_cast<TCustomVDFormattedData *>(
            item->GetSubVDDataAt(x - DrawItems[no]->Left, y - GetTransformedDItemTop(no), false))) {
        const rtl::TPoint own = GetOriginEx();
        const rtl::TPoint subOrigin = sub->GetOriginEx();
        return sub->FindWordAtR_(word, x + own.X - subOrigin.X, y + own.Y - subOrigin.Y, styleNo,
                                 itemNo, offs, vdData, false);
    }
    word = item->ItemText;
    styleNo = item->StyleNo;
    if (!item->IsText()) {
        return true;
    }
    const TVDItemOptions options = item->ItemOptions;
    const TVDCodePage codePage = GetItemCodePage(itemNo);
    const int32_t length = GetItemTextLength(word, options);
    if (IsDelimiter(word, offs, options, codePage) || offs > length) {
        word.clear();
        return true;
    }
    int32_t first = offs;
    while (first > 1 && !IsDelimiter(word, first - 1, options, codePage)) {
        --first;
    }
    int32_t last = offs;
    while (last < length && !IsDelimiter(word, last + 1, options, codePage)) {
        ++last;
    }
    offs = first;
    const size_t unit = options.Contains(vdioUnicode) ? 2 : 1;
    word = word.substr(unit * static_cast<size_t>(first - 1),
                       unit * static_cast<size_t>(last - first + 1));
    return true;
}

void TCustomVDFormattedData::GetWordAtR(int32_t x, int32_t y, TCustomVDFormattedData *&vdData,
                                        int32_t &itemNo, TVDRawByteString &word) {
    int32_t styleNo = 0, offs = 0;
    if (!FindWordAtR(word, x, y, styleNo, itemNo, offs, vdData)) {
        itemNo = -1;
        word.clear();
    }
}

void TCustomVDFormattedData::SelectWordAt(int32_t x, int32_t y) {
    if (!GetOptions().Contains(vdoAllowSelection)) {
        return;
    }
    TVDRawByteString word;
    int32_t styleNo = 0, itemNo = -1, offs = 0;
    TCustomVDFormattedData *vdData = nullptr;
    if (!FindWordAtR(word, x, y, styleNo, itemNo, offs, vdData)) {
        return;
    }
    TCustomVDItemInfo *item = vdData->GetItem(itemNo);
    if (!item->IsText()) {
        vdData->SetSelectionBounds(itemNo, 0, itemNo, 1);
    } else {
        const int32_t length = GetItemTextLength(word, item->ItemOptions);
        vdData->SetSelectionBounds(itemNo, offs, itemNo, offs + length);
    }
    vdData->Invalidate();
}

bool TCustomVDFormattedData::IsInsideWord(int32_t dItemNo, int32_t offs) {
    if (dItemNo < 0 || dItemNo >= DrawItems.Count()) {
        return false;
    }
    const TVDDrawLineInfo &d = *DrawItems[dItemNo];
    TCustomVDItemInfo *item = GetItem(d.ItemNo);
    if (!item->IsText() || offs <= GetOffsBeforeDrawItem(dItemNo) ||
        offs >= GetOffsAfterDrawItem(dItemNo)) {
        return false;
    }
    const TVDRawByteString s = DrawItems.GetString(dItemNo, GetItems());
    const TVDCodePage codePage = GetStyleCodePage(GetActualStyle(*item));
    return !IsDelimiter(s, offs - 1, item->ItemOptions, codePage) &&
           !IsDelimiter(s, offs, item->ItemOptions, codePage);
}

void TCustomVDFormattedData::GetWordBounds(int32_t dItemNo, int32_t offs, int32_t &wordOffs1,
                                           int32_t &wordOffs2) {
    const TVDDrawLineInfo &d = *DrawItems[dItemNo];
    TCustomVDItemInfo *item = GetItem(d.ItemNo);
    const TVDRawByteString s = DrawItems.GetString(dItemNo, GetItems());
    const TVDCodePage codePage = GetStyleCodePage(GetActualStyle(*item));
    const int32_t length = GetItemTextLength(s, item->ItemOptions);
    wordOffs1 = offs - 1;
    while (wordOffs1 > 1 && !IsDelimiter(s, wordOffs1 - 1, item->ItemOptions, codePage)) {
        --wordOffs1;
    }
    wordOffs2 = offs;
    while (wordOffs2 <= length && !IsDelimiter(s, wordOffs2, item->ItemOptions, codePage)) {
        ++wordOffs2;
    }
}

// ---- Lines and paragraphs ----

void TCustomVDFormattedData::SelectLine(int32_t itemNo, int32_t offs) {
    int32_t dNo = -1, dOffs = 0;
    Item2DrawItem(itemNo, offs, dNo, dOffs, vddpBetterBelow);
    const int32_t count = DrawItems.Count();
    if (dNo < 0 || dNo >= count) {
        return;
    }
    int32_t first = dNo;
    while (first > 0 && !DrawItems[first]->FromNewLine) {
        --first;
    }
    int32_t last = dNo;
    while (last + 1 < count && !DrawItems[last + 1]->FromNewLine) {
        ++last;
    }
    FSelStartNo = first;
    FSelStartOffs = GetOffsBeforeDrawItem(first);
    FSelEndNo = last;
    FSelEndOffs = GetOffsAfterDrawItem(last);
    DoOnSelection(true);
    DoSelect();
}

bool TCustomVDFormattedData::ExpandSelectionToParagraph(bool onlyIfMultiple) {
    if (FSelStartNo < 0 || FSelEndNo < 0 ||
        (FSelStartNo == FSelEndNo && FSelStartOffs == FSelEndOffs) ||
        (onlyIfMultiple && !IsMultiParagraphSelection())) {
        return false;
    }
    const bool forward = IsForwardSelection();
    int32_t &firstNo = forward ? FSelStartNo : FSelEndNo;
    int32_t &firstOffs = forward ? FSelStartOffs : FSelEndOffs;
    int32_t &lastNo = forward ? FSelEndNo : FSelStartNo;
    int32_t &lastOffs = forward ? FSelEndOffs : FSelStartOffs;
    while (firstNo > 0 && !IsDrawItemParaStart(firstNo)) {
        --firstNo;
    }
    firstOffs = GetOffsBeforeDrawItem(firstNo);
    while (lastNo + 1 < DrawItems.Count() && !IsDrawItemParaStart(lastNo + 1)) {
        ++lastNo;
    }
    lastOffs = GetOffsAfterDrawItem(lastNo);
    return true;
}

void TCustomVDFormattedData::ExpandSelectionToLines(bool fromStart) {
    if (FSelStartNo < 0 || FSelEndNo < 0) {
        return;
    }
    if (fromStart) {
        FSelEndNo = FSelStartNo;
    }
    const bool forward = IsForwardSelection();
    int32_t &firstNo = forward ? FSelStartNo : FSelEndNo;
    int32_t &firstOffs = forward ? FSelStartOffs : FSelEndOffs;
    int32_t &lastNo = forward ? FSelEndNo : FSelStartNo;
    int32_t &lastOffs = forward ? FSelEndOffs : FSelStartOffs;
    while (firstNo > 0 && !DrawItems[firstNo]->FromNewLine) {
        --firstNo;
    }
    firstOffs = GetOffsBeforeDrawItem(firstNo);
    while (lastNo + 1 < DrawItems.Count() && !DrawItems[lastNo + 1]->FromNewLine) {
        ++lastNo;
    }
    lastOffs = GetOffsAfterDrawItem(lastNo);
}

bool TCustomVDFormattedData::SelectControl(ui::TControl *control) {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        TCustomVDItemInfo *item = GetItem(i);
        if (item->OwnsControl(control)) {
            auto *data = dynamic_cast<TCustomVDFormattedData *>(GetVDData());
            if (!data) {
                data = this;
            }
            data->SetSelectionBounds(i, 0, i, 1);
            data->Invalidate();
            return true;
        }
        if (item->IsText()) {
            continue;
        }
        std::unique_ptr<TVDStoreSubVDData> state;
        for (TCustomVDData *sub = item->GetSubVDData(state, vddFirst); sub;
             sub = item->GetSubVDData(state, vddNext)) {
            auto *formatted = dynamic_cast<TCustomVDFormattedData *>(sub);
            if (formatted && formatted->SelectControl(control)) {
                return true;
            }
        }
    }
    return false;
}

// ---- The mouse-drag extension ----

void TCustomVDFormattedData::InitSelectingInfo(bool paraMode) {
    FSelectingInfo = std::make_unique<TVDSelectingInfo>();
    TVDSelectingInfo &info = *FSelectingInfo;
    info.DrawItemSNo = FSelStartNo;
    info.DrawItemSOffs = FSelStartOffs;
    info.DrawItemEOffs = FSelStartOffs;
    if (paraMode) {
        info.InitE(vdsesParaMode);
    } else if (IsInsideWord(FSelStartNo, FSelStartOffs)) {
        GetWordBounds(FSelStartNo, FSelStartOffs, info.DrawItemSWordOffs1, info.DrawItemSWordOffs2);
        info.InitE(vdsesInWord);
    } else {
        info.InitE(vdsesFreeMode);
    }
}

bool TCustomVDFormattedData::SelectTo(int32_t x, int32_t y) {
    const TSelSnapshot before(*this);
    int32_t no = -1, offs = -1;
    FindDrawItemForSel(x, y, no, offs, false, false, false, false);
    if (no < 0) {
        return false;
    }
    FSelEndNo = no;
    FSelEndOffs = offs;
    if (!FSelectingInfo) {
        return before.Differs(*this);
    }
    TVDSelectingInfo &info = *FSelectingInfo;
    if (info.SWordState == vdsesParaMode) {
        info.DrawItemENo = no;
        info.DrawItemEOffs = offs;
        FSelStartNo = info.DrawItemSNo;
        FSelStartOffs = info.DrawItemSOffs;
        ExpandSelectionToParagraph(true);
        return before.Differs(*this);
    }
    bool adjustEnd = info.SWordState == vdsesFreeMode;
    if (info.SWordState == vdsesInWord) {
        if (info.IsAboveSWord(no, offs)) {
            info.SWordState = vdsesOutsideWord;
            FSelStartOffs = info.DrawItemSWordOffs2;
            adjustEnd = true;
        } else if (info.IsBelowSWord(no, offs)) {
            info.SWordState = vdsesOutsideWord;
            FSelStartOffs = info.DrawItemSWordOffs1;
            adjustEnd = true;
        }
    } else if (info.SWordState == vdsesOutsideWord) {
        if (info.IsInSWord(no, offs)) {
            FSelStartOffs = info.DrawItemSOffs;
            info.SWordState = vdsesFreeMode;
        } else {
            adjustEnd = true;
        }
    }
    if (adjustEnd) {
        SelectToAdjustEnd(no, offs);
    }
    return before.Differs(*this);
}

void TCustomVDFormattedData::SelectToAdjustEnd(int32_t no, int32_t offs) {
    TVDSelectingInfo &info = *FSelectingInfo;
    if (!IsInsideWord(no, offs)) {
        info.EWordState = vdsesInWord;
        info.DrawItemEWordOffs1 = info.DrawItemEWordOffs2 = -1;
        return;
    }
    int32_t w1 = 0, w2 = 0;
    GetWordBounds(no, offs, w1, w2);
    if (info.IsEWord(no, w1, w2)) {
        if (info.EWordState == vdsesFreeMode) {
            return;
        }
        if (info.IsEFreeStateNeeded(no, offs)) {
            info.EWordState = vdsesFreeMode;
            return;
        }
    } else {
        info.DrawItemEWordOffs1 = w1;
        info.DrawItemEWordOffs2 = w2;
        info.EWordState = vdsesInWord;
    }
    info.DrawItemEOffs = offs;
    if (info.IsAboveSWord(no, offs)) {
        FSelEndOffs = w1;
    } else if (info.IsBelowSWord(no, offs)) {
        FSelEndOffs = w2;
    }
}

bool TCustomVDFormattedData::LineSelectTo(int32_t x, int32_t y) {
    const TSelSnapshot before(*this);
    int32_t no = -1, offs = -1;
    FindDrawItemForSel(x, y, no, offs, false, false, false, false);
    if (no >= 0) {
        FSelEndNo = no;
        FSelEndOffs = offs;
        ExpandSelectionToLines(false);
        TVDStyle *style = GetVDStyle();
        if (style && style->GetSelectionMode() == vdsmParagraph) {
            ExpandSelectionToParagraph(true);
        }
    }
    return before.Differs(*this);
}

} // namespace vizivodu
