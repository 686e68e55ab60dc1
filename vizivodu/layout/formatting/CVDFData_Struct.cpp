// Structure queries of the formatted document: hidden items, the nearest shown items, visible
// paragraph and line starts, the paragraph style as shown, and what a draw item starts or ends.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/layout/formatting/CVDFData_p.h"

namespace vizivodu {

// ---- Hidden items ----

bool TCustomVDFormattedData::IsItemInfoHiddenInView(TCustomVDItemInfo &item) {
    if (item.IsText()) {
        TVDStyle *style = GetVDStyle();
        return style && style->GetTextStyles()
                            .GetItem(GetActualStyle(item))
                            .GetOptions()
                            .Contains(vdteoHidden);
    }
    const auto *nonText = dynamic_cast<const TVDNonTextItemInfo *>(&item);
    return nonText && nonText->Hidden;
}

bool TCustomVDFormattedData::IsItemHiddenInView(int32_t itemNo) {
    if (GetOptions().Contains(vdoShowHiddenText)) {
        return false;
    }
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (item->StyleNo == StyleNoListMarker) {
        for (int32_t i = itemNo + 1; i < ItemCount() && !IsFromNewLine(i); ++i) {
            if (!IsItemInfoHiddenInView(*GetItem(i))) {
                return false;
            }
        }
        return true;
    }
    return IsItemInfoHiddenInView(*item);
}

bool TCustomVDFormattedData::IsLineHiddenFromItem(int32_t itemNo) {
    if (!IsItemHiddenInView(itemNo)) {
        return false;
    }
    for (int32_t i = itemNo + 1; i < ItemCount() && !IsFromNewLine(i); ++i) {
        if (!IsItemHiddenInView(i)) {
            return false;
        }
    }
    return true;
}

// ---- Nearest shown items ----

int32_t TCustomVDFormattedData::GetPrevVisibleItemNo(int32_t itemNo) {
    for (int32_t i = itemNo - 1; i >= 0; --i) {
        if (!IsItemHiddenInView(i)) {
            return i;
        }
    }
    return -1;
}

int32_t TCustomVDFormattedData::GetNextVisibleItemNo(int32_t itemNo) {
    for (int32_t i = itemNo + 1; i < ItemCount(); ++i) {
        if (!IsItemHiddenInView(i)) {
            return i;
        }
    }
    return -1;
}

int32_t TCustomVDFormattedData::GetFirstVisibleItemNo() {
    return GetNextVisibleItemNo(-1);
}

int32_t TCustomVDFormattedData::GetLastVisibleItemNo() {
    return GetPrevVisibleItemNo(ItemCount());
}

namespace {

// A shown item opens a visible paragraph (line) when the item itself does, or when the hidden
// run before it (possibly empty) starts at the document's start or right after a full-width
// item, or when the run's first item opens one.
template <class Test> bool IsVisibleStart(TCustomVDFormattedData &doc, int32_t itemNo, Test opens) {
    if (opens(itemNo)) {
        return true;
    }
    if (doc.GetOptions().Contains(vdoShowHiddenText) || doc.IsItemHiddenInView(itemNo)) {
        return false;
    }
    int32_t first = itemNo;
    while (first > 0 && doc.IsItemHiddenInView(first - 1)) {
        --first;
    }
    if (first == 0 || IsFullWidthItem(*doc.GetItem(first - 1))) {
        return true;
    }
    return opens(first);
}

} // namespace

bool TCustomVDFormattedData::IsVisibleParaStart(int32_t itemNo) {
    return IsVisibleStart(*this, itemNo, [this](int32_t i) { return IsParaStart(i); });
}

bool TCustomVDFormattedData::IsVisibleFromNewLine(int32_t itemNo) {
    return IsVisibleStart(*this, itemNo, [this](int32_t i) { return IsFromNewLine(i); });
}

bool TCustomVDFormattedData::IsNextVisibleParaStart(int32_t itemNo) {
    const int32_t next = GetNextVisibleItemNo(itemNo);
    return next < 0 || IsVisibleParaStart(next);
}

bool TCustomVDFormattedData::IsNextVisibleFromNewLine(int32_t itemNo) {
    const int32_t next = GetNextVisibleItemNo(itemNo);
    return next < 0 || IsVisibleFromNewLine(next);
}

int32_t TCustomVDFormattedData::GetVisibleParaStart(int32_t itemNo) {
    while (itemNo > 0 && !IsVisibleParaStart(itemNo)) {
        --itemNo;
    }
    return itemNo;
}

int32_t TCustomVDFormattedData::GetVisibleLineStart(int32_t itemNo) {
    while (itemNo > 0 && !IsVisibleFromNewLine(itemNo)) {
        --itemNo;
    }
    return itemNo;
}

void TCustomVDFormattedData::ExpandToVisiblePara(int32_t firstItemNo, int32_t lastItemNo,
                                                 int32_t &newFirstItemNo, int32_t &newLastItemNo) {
    newFirstItemNo = firstItemNo;
    while (newFirstItemNo > 0 &&
           (IsItemHiddenInView(newFirstItemNo) || !IsVisibleParaStart(newFirstItemNo))) {
        --newFirstItemNo;
    }
    newLastItemNo = lastItemNo + 1;
    while (newLastItemNo < ItemCount() &&
           (IsItemHiddenInView(newLastItemNo) || !IsVisibleParaStart(newLastItemNo))) {
        ++newLastItemNo;
    }
    --newLastItemNo;
}

void TCustomVDFormattedData::ExpandToVisibleLine(int32_t firstItemNo, int32_t lastItemNo,
                                                 int32_t &newFirstItemNo, int32_t &newLastItemNo) {
    newFirstItemNo = firstItemNo;
    while (newFirstItemNo > 0 &&
           (IsItemHiddenInView(newFirstItemNo) || !IsVisibleFromNewLine(newFirstItemNo))) {
        --newFirstItemNo;
    }
    newLastItemNo = lastItemNo + 1;
    while (newLastItemNo < ItemCount() &&
           (IsItemHiddenInView(newLastItemNo) || !IsVisibleFromNewLine(newLastItemNo))) {
        ++newLastItemNo;
    }
    --newLastItemNo;
}

// ---- Paragraph style as shown ----

int32_t TCustomVDFormattedData::GetVisibleItemPara(int32_t itemNo) {
    const int32_t own = GetItem(itemNo)->ParaNo;
    if (GetOptions().Contains(vdoShowHiddenText) || IsItemHiddenInView(itemNo)) {
        return own;
    }
    for (int32_t j = itemNo; j >= 0; --j) {
        if (IsItemHiddenInView(j)) {
            continue;
        }
        if (j < itemNo && IsParaStart(j + 1)) {
            return GetItem(j + 1)->ParaNo;
        }
        if (IsParaStart(j)) {
            return GetItem(j)->ParaNo;
        }
    }
    return own;
}

int32_t TCustomVDFormattedData::GetVisibleItemParaEx(int32_t itemNo, int32_t defParaNo) {
    const int32_t own = GetItem(itemNo)->ParaNo;
    if (GetOptions().Contains(vdoShowHiddenText) || IsItemHiddenInView(itemNo)) {
        return own;
    }
    if (IsParaStart(itemNo)) {
        return own;
    }
    for (int32_t j = itemNo - 1; j >= 0; --j) {
        if (IsItemHiddenInView(j)) {
            continue;
        }
        return IsParaStart(j + 1) ? GetItem(j + 1)->ParaNo : defParaNo;
    }
    return own;
}

// ---- Draw items ----

bool TCustomVDFormattedData::IsDrawItemItemStart(int32_t dItemNo) {
    return dItemNo == 0 || DrawItems[dItemNo - 1]->ItemNo != DrawItems[dItemNo]->ItemNo;
}

bool TCustomVDFormattedData::IsDrawItemParaStart(int32_t dItemNo) {
    return dItemNo == 0 || (DrawItems[dItemNo - 1]->ItemNo != DrawItems[dItemNo]->ItemNo &&
                            IsVisibleParaStart(DrawItems[dItemNo]->ItemNo));
}

bool TCustomVDFormattedData::IsDrawItemParaSectionStart(int32_t dItemNo) {
    return dItemNo == 0 || (DrawItems[dItemNo - 1]->ItemNo != DrawItems[dItemNo]->ItemNo &&
                            IsVisibleFromNewLine(DrawItems[dItemNo]->ItemNo));
}

bool TCustomVDFormattedData::IsDrawItemParaEnd(int32_t dItemNo) {
    if (dItemNo < 0 || dItemNo >= DrawItems.Count() - 1) {
        return true;
    }
    const int32_t next = DrawItems[dItemNo + 1]->ItemNo;
    return next != DrawItems[dItemNo]->ItemNo && IsVisibleParaStart(next);
}

bool TCustomVDFormattedData::IsDrawItemFromNewLine(int32_t dItemNo) {
    const TVDDrawLineInfo &d = *DrawItems[dItemNo];
    if (d.FromNewLine) {
        return true;
    }
    return dItemNo > 0 && DrawItems[dItemNo - 1]->ItemNo != d.ItemNo &&
           GetItem(DrawItems[dItemNo - 1]->ItemNo)->StyleNo == StyleNoListMarker;
}

bool TCustomVDFormattedData::IsDrawItemLastOnWrappedLine(int32_t dItemNo) {
    if (dItemNo < 0 || dItemNo >= DrawItems.Count() - 1) {
        return false;
    }
    const TVDDrawLineInfo &next = *DrawItems[dItemNo + 1];
    if (!next.FromNewLine) {
        return false;
    }
    return next.ItemNo == DrawItems[dItemNo]->ItemNo || !IsVisibleFromNewLine(next.ItemNo);
}

bool TCustomVDFormattedData::IsDrawItemStartsTheSecondParaLine(int32_t dItemNo) {
    if (dItemNo <= 0 || !DrawItems[dItemNo]->FromNewLine || IsDrawItemParaStart(dItemNo)) {
        return false;
    }
    for (int32_t i = dItemNo - 1; i >= 0; --i) {
        if (DrawItems[i]->FromNewLine) {
            return IsDrawItemParaStart(i);
        }
    }
    return true;
}

bool TCustomVDFormattedData::IsDrawItemStartsTheLastParaLine(int32_t dItemNo) {
    if (!DrawItems[dItemNo]->FromNewLine || IsDrawItemParaStart(dItemNo)) {
        return false;
    }
    for (int32_t i = dItemNo + 1; i < DrawItems.Count(); ++i) {
        if (DrawItems[i]->FromNewLine) {
            return IsDrawItemParaStart(i);
        }
    }
    return true;
}

bool TCustomVDFormattedData::IsDrawItemTextCut(int32_t dItemNo) {
    const TVDDrawLineInfo &d = *DrawItems[dItemNo];
    TCustomVDItemInfo *item = GetItem(d.ItemNo);
    if (!item->IsText()) {
        return false;
    }
    const int32_t end = d.Offs + d.Length;
    if (end > GetItemTextLength(item->ItemText, item->ItemOptions)) {
        return false;
    }
    if (dItemNo == DrawItems.Count() - 1) {
        return true;
    }
    const TVDDrawLineInfo &next = *DrawItems[dItemNo + 1];
    return next.ItemNo != d.ItemNo || next.Offs != end;
}

int32_t TCustomVDFormattedData::GetDrawItemStyle(int32_t dItemNo) {
    return GetItemStyle(DrawItems[dItemNo]->ItemNo);
}

} // namespace vizivodu
