// Linear character positions over a viewer's document tree.
#include "vizivodu/layout/viewer/VDLinear.h"

#include "vizivodu/document/VDItem.h"
#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include <algorithm>
#include <vector>

namespace vizivodu {

int32_t LinearLineBreakLength = 1;
char16_t LinearObjectChar = u' ';

namespace {

std::vector<TCustomVDData *> SubDocuments(TCustomVDItemInfo &item) {
    std::vector<TCustomVDData *> subs;
    if (item.IsText()) {
        return subs;
    }
    std::unique_ptr<TVDStoreSubVDData> state;
    for (TCustomVDData *sub = item.GetSubVDData(state, vddFirst); sub;
         sub = item.GetSubVDData(state, vddNext)) {
        subs.push_back(sub);
    }
    return subs;
}

rtl::UnicodeString LineBreak() {
    return LinearLineBreakLength == 1 ? u"\r" : u"\r\n";
}

int32_t TextLength(TCustomVDData &vdData, int32_t itemNo) {
    return static_cast<int32_t>(vdData.GetItemTextW(itemNo).size());
}

void AppendDocText(TCustomVDData &vdData, rtl::UnicodeString &out);

void AppendItemText(TCustomVDData &vdData, int32_t itemNo, rtl::UnicodeString &out) {
    TCustomVDItemInfo &item = *vdData.GetItem(itemNo);
    if (vdData.IsFromNewLine(itemNo)) {
        out += LineBreak();
    }
    if (item.IsText()) {
        out += vdData.GetItemTextW(itemNo);
        return;
    }
    if (item.StyleNo == StyleNoTab) {
        out += u'\t';
        return;
    }
    const std::vector<TCustomVDData *> subs = SubDocuments(item);
    if (subs.empty()) {
        out += LinearObjectChar;
        return;
    }
    for (TCustomVDData *sub : subs) {
        AppendDocText(*sub, out);
    }
    out += LineBreak();
}

void AppendDocText(TCustomVDData &vdData, rtl::UnicodeString &out) {
    for (int32_t i = 0; i < vdData.ItemCount(); ++i) {
        AppendItemText(vdData, i, out);
    }
}

TCustomVDFormattedData *ChosenDocument(TCustomViziVodu &viziVodu) {
    return dynamic_cast<TCustomVDFormattedData *>(viziVodu.GetVDData().GetTopLevelChosenVDData());
}

} // namespace

int32_t GetItemLinearLength(TCustomVDData &vdData, int32_t itemNo) {
    TCustomVDItemInfo &item = *vdData.GetItem(itemNo);
    const int32_t lineBreak = vdData.IsFromNewLine(itemNo) ? LinearLineBreakLength : 0;
    if (item.IsText()) {
        return lineBreak + TextLength(vdData, itemNo);
    }
    const std::vector<TCustomVDData *> subs = SubDocuments(item);
    if (subs.empty()) {
        return lineBreak + 1;
    }
    int32_t length = lineBreak + LinearLineBreakLength;
    for (TCustomVDData *sub : subs) {
        length += GetDocLinearLength(*sub);
    }
    return length;
}

int32_t GetDocLinearLength(TCustomVDData &vdData) {
    int32_t length = 0;
    for (int32_t i = 0; i < vdData.ItemCount(); ++i) {
        length += GetItemLinearLength(vdData, i);
    }
    return length;
}

bool ViziVoduToLinear(TCustomViziVodu &viziVodu, TCustomVDData &vdData, TCustomVDData *targetVDData,
                      int32_t &pos, int32_t itemOffs, int32_t itemNo) {
    if (&vdData == targetVDData) {
        for (int32_t i = 0; i < itemNo && i < vdData.ItemCount(); ++i) {
            pos += GetItemLinearLength(vdData, i);
        }
        if (itemNo < 0 || itemNo >= vdData.ItemCount()) {
            return true;
        }
        const int32_t lineBreak = vdData.IsFromNewLine(itemNo) ? LinearLineBreakLength : 0;
        if (vdData.GetItem(itemNo)->IsText()) {
            pos += lineBreak + ItemOffsToLinear(vdData, itemNo, itemOffs) - 1;
        } else {
            pos += itemOffs > 0 ? GetItemLinearLength(vdData, itemNo) : lineBreak;
        }
        return true;
    }
    for (int32_t i = 0; i < vdData.ItemCount(); ++i) {
        TCustomVDItemInfo &item = *vdData.GetItem(i);
        const std::vector<TCustomVDData *> subs = SubDocuments(item);
        if (subs.empty()) {
            pos += GetItemLinearLength(vdData, i);
            continue;
        }
        if (vdData.IsFromNewLine(i)) {
            pos += LinearLineBreakLength;
        }
        for (TCustomVDData *sub : subs) {
            if (ViziVoduToLinear(viziVodu, *sub, targetVDData, pos, itemOffs, itemNo)) {
                return true;
            }
        }
        pos += LinearLineBreakLength;
    }
    return false;
}

bool LinearToViziVodu(TCustomViziVodu &viziVodu, TCustomVDData &vdData, int32_t &pos,
                      int32_t &itemOffs, int32_t &itemNo, TCustomVDData *&resultVDData) {
    for (int32_t i = 0; i < vdData.ItemCount(); ++i) {
        TCustomVDItemInfo &item = *vdData.GetItem(i);
        const bool newLine = vdData.IsFromNewLine(i);
        const std::vector<TCustomVDData *> subs = SubDocuments(item);
        if (!subs.empty()) {
            if (i > 0 && newLine) {
                pos -= LinearLineBreakLength;
            }
            if (pos == 0) {
                resultVDData = &vdData;
                itemNo = i;
                itemOffs = 0;
                return true;
            }
            for (TCustomVDData *sub : subs) {
                pos -= LinearLineBreakLength;
                if (LinearToViziVodu(viziVodu, *sub, pos, itemOffs, itemNo, resultVDData)) {
                    return true;
                }
            }
            pos -= LinearLineBreakLength;
            if (pos == 0) {
                resultVDData = &vdData;
                itemNo = i;
                itemOffs = 1;
                return true;
            }
            continue;
        }
        int32_t length = GetItemLinearLength(vdData, i);
        if (i == 0 && newLine) {
            length -= LinearLineBreakLength;
        }
        if (length < pos) {
            pos -= length;
            continue;
        }
        if (i > 0 && newLine) {
            pos -= LinearLineBreakLength;
        }
        resultVDData = &vdData;
        itemNo = i;
        itemOffs = item.IsText() ? LinearToItemOffs(vdData, i, pos) + 1 : pos;
        itemOffs = std::clamp(itemOffs, vdData.GetOffsBeforeItem(i), vdData.GetOffsAfterItem(i));
        return true;
    }
    return false;
}

void GetLinearSelection(TCustomViziVodu &viziVodu, int32_t &selStart, int32_t &selLength) {
    selStart = selLength = 0;
    TCustomVDFormattedData *chosen = ChosenDocument(viziVodu);
    if (!chosen || chosen->FSelStartNo < 0 || chosen->FSelEndNo < 0) {
        return;
    }
    int32_t s = 0, so = 0, e = 0, eo = 0;
    chosen->GetSelectionBounds(s, so, e, eo, false);
    int32_t first = 0, second = 0;
    ViziVoduToLinear(viziVodu, viziVodu.GetVDData(), chosen, first, so, s);
    ViziVoduToLinear(viziVodu, viziVodu.GetVDData(), chosen, second, eo, e);
    selStart = first - LinearLineBreakLength;
    selLength = (second - LinearLineBreakLength) - selStart;
}

void SetLinearSelection(TCustomViziVodu &viziVodu, int32_t selStart, int32_t selLength) {
    int32_t pos1 = selStart, pos2 = selStart + selLength;
    int32_t offs1 = 0, offs2 = 0, no1 = -1, no2 = -1;
    TCustomVDData *data1 = nullptr, *data2 = nullptr;
    if (!LinearToViziVodu(viziVodu, viziVodu.GetVDData(), pos1, offs1, no1, data1) ||
        !LinearToViziVodu(viziVodu, viziVodu.GetVDData(), pos2, offs2, no2, data2) ||
        data1 != data2) {
        return;
    }
    auto *data = dynamic_cast<TCustomVDFormattedData *>(data1);
    if (!data) {
        return;
    }
    data->SetSelectionBounds(no1, offs1, no2, offs2);
    data->Invalidate();
}

void GetLinearRangeText(TCustomViziVodu &viziVodu, int32_t start, int32_t length,
                        rtl::UnicodeString &text) {
    text.clear();
    if (length == 0) {
        return;
    }
    TCustomVDData &root = viziVodu.GetVDData();
    rtl::UnicodeString all;
    AppendDocText(root, all);
    // The line break of the root's first item is not counted.
    const size_t skip =
        root.ItemCount() > 0 && root.IsFromNewLine(0)
            ? static_cast<size_t>(std::min<int32_t>(LinearLineBreakLength, int32_t(all.size())))
            : 0;
    const size_t from = skip + static_cast<size_t>(std::max(start, 0));
    if (from >= all.size()) {
        return;
    }
    text = all.substr(from, length < 0 ? rtl::UnicodeString::npos : static_cast<size_t>(length));
}

int32_t ItemOffsToLinear(TCustomVDData &, int32_t, int32_t itemOffs) {
    return itemOffs;
}

int32_t LinearToItemOffs(TCustomVDData &vdData, int32_t itemNo, int32_t count) {
    TCustomVDItemInfo &item = *vdData.GetItem(itemNo);
    if (item.ItemOptions.Contains(vdioUnicode) || count <= 0) {
        return count;
    }
    const TVDUnicodeString w = vdData.GetItemTextW(itemNo);
    const TVDUnicodeString head = w.substr(0, static_cast<size_t>(count));
    return static_cast<int32_t>(
        RawUnicodeToAnsi(vdData.GetItemCodePage(itemNo), StringToRawUnicode(head)).size());
}

} // namespace vizivodu
