// The caret of an editable document: the caret stops of the caret's line, showing the caret
// and the current styles that follow it, and the caret as an item position.
#include "vizivodu/editing/data/VDEVDData.h"

#include "vizivodu/layout/formatting/DLines.h"
#include "vizivodu/styles/VDStyle.h"

#include <algorithm>

namespace vizivodu {

namespace {

constexpr int32_t NoStopChosen = 100000;

} // namespace

std::vector<int32_t> TVDEditVDData::GetDrawItemStopXs(int32_t dItemNo) {
    return GetDrawItemCaretXs(dItemNo, {.AddSpaceAtLeft = true, .VerticalFonts = false});
}

void TVDEditVDData::AppendStopsOf(int32_t d, int32_t first, int32_t dlOffs) {
    const TVDDrawLineInfo &di = *DrawItems[d];
    TCustomVDItemInfo *item = GetItem(di.ItemNo);
    const bool rtl = GetParaBiDiMode(GetVisibleItemPara(di.ItemNo)) == vdbdRightToLeft;
    auto add = [&](int32_t x, int32_t offset, bool chosen) {
        CharEnds.push_back({x, d, offset});
        if (chosen) {
            CaretOffs = static_cast<int32_t>(CharEnds.size()) - 1;
        }
    };
    const bool onD = CaretDrawItemNo == d;
    const bool onNext = CaretDrawItemNo == d + 1;
    if (item->IsText() && di.Length > 0) {
        const std::vector<int32_t> xs = GetDrawItemStopXs(d);
        const bool unicode = item->ItemOptions.Contains(vdioUnicode);
        // In a combining sequence the stop before the sequence holds the caret.
        const int32_t target = std::clamp(dlOffs + 1, 0, di.Length);
        for (int32_t i = d == first ? 0 : 1; i <= di.Length;) {
            int32_t next = i + 1;
            if (unicode && i < di.Length) {
                next = GetNextCharPos(item->ItemText, di.ItemNo, di.Offs + i) - di.Offs;
                next = std::clamp(next, i + 1, di.Length);
            }
            const bool inCluster = target >= i && target < next;
            const bool chosen = (onD && ((dlOffs < 0 && i == 0) ||
                                         (dlOffs >= 0 && inCluster && target < di.Length) ||
                                         (dlOffs > di.Length - 2 && i == di.Length))) ||
                                (onNext && dlOffs < 0 && i == di.Length);
            add(xs[static_cast<size_t>(i)], i + 1, chosen);
            i = i == di.Length ? i + 1 : next;
        }
        return;
    }
    if (!item->IsText() && d == first) {
        add(rtl ? di.Left + di.Width : di.Left, 0, onD && dlOffs < 0);
    }
    add(rtl ? di.Left : di.Left + di.Width, GetOffsAfterDrawItem(d),
        (onNext && dlOffs < 0) || (onD && dlOffs >= -1));
}

void TVDEditVDData::OnChangeCaretLine(int32_t dlOffs) {
    CharEnds.clear();
    if (CaretDrawItemNo == -1) {
        return;
    }
    CaretOffs = NoStopChosen;
    int32_t first = 0, last = 0;
    GetLineDrawItemRange(CaretDrawItemNo, first, last);
    if (GetItem(DrawItems[first]->ItemNo)->StyleNo == StyleNoListMarker && first < last) {
        if (CaretDrawItemNo == first) {
            ++CaretDrawItemNo;
            dlOffs = GetOffsBeforeDrawItem(CaretDrawItemNo) - 2;
        }
        ++first;
    }
    for (int32_t d = first; d <= last; ++d) {
        AppendStopsOf(d, first, dlOffs);
    }
}

bool TVDEditVDData::IsCharOffsAtTheLineEndAndItemEnd(int32_t offs) {
    if (offs != static_cast<int32_t>(CharEnds.size()) - 1) {
        return false;
    }
    const TVDCharPos &stop = CharEnds[static_cast<size_t>(offs)];
    const TVDDrawLineInfo &d = *DrawItems[stop.DrawItemNo];
    const int32_t itemOffs = GetItem(d.ItemNo)->IsText() ? d.Offs + stop.Offset - 1 : stop.Offset;
    return itemOffs >= GetOffsAfterItem(d.ItemNo);
}

bool TVDEditVDData::IsCharOffsAtTheLineStartAndItemStart(int32_t offs) {
    if (offs != 0 || CharEnds.empty()) {
        return false;
    }
    const TVDCharPos &stop = CharEnds[0];
    const TVDDrawLineInfo &d = *DrawItems[stop.DrawItemNo];
    const int32_t itemOffs = GetItem(d.ItemNo)->IsText() ? d.Offs + stop.Offset - 1 : stop.Offset;
    return itemOffs <= GetOffsBeforeItem(d.ItemNo);
}

int32_t TVDEditVDData::GetCurItemNo() {
    PrepareForEdit();
    if (CaretOffs >= 0 && CaretOffs < static_cast<int32_t>(CharEnds.size())) {
        return DrawItems[CharEnds[static_cast<size_t>(CaretOffs)].DrawItemNo]->ItemNo;
    }
    if (CaretDrawItemNo >= 0 && CaretDrawItemNo < DrawItems.Count()) {
        return DrawItems[CaretDrawItemNo]->ItemNo;
    }
    return ItemCount() > 0 ? 0 : -1;
}

int32_t TVDEditVDData::GetOffsetInCurItem() {
    PrepareForEdit();
    if (CaretOffs < 0 || CaretOffs >= static_cast<int32_t>(CharEnds.size())) {
        return ItemCount() > 0 ? GetOffsBeforeItem(GetCurItemNo()) : 0;
    }
    const TVDCharPos &stop = CharEnds[static_cast<size_t>(CaretOffs)];
    const TVDDrawLineInfo &d = *DrawItems[stop.DrawItemNo];
    return GetItem(d.ItemNo)->IsText() ? d.Offs + stop.Offset - 1 : stop.Offset;
}

TCustomVDItemInfo *TVDEditVDData::GetCurItem() {
    const int32_t itemNo = GetCurItemNo();
    return itemNo >= 0 ? GetItem(itemNo) : nullptr;
}

void TVDEditVDData::MoveCaretOffMarker(bool forward) {
    if (CaretDrawItemNo < 0 ||
        GetItem(DrawItems[CaretDrawItemNo]->ItemNo)->StyleNo != StyleNoListMarker) {
        return;
    }
    if (forward && CaretDrawItemNo + 1 < DrawItems.Count()) {
        ++CaretDrawItemNo;
        OnChangeCaretLine(GetOffsBeforeDrawItem(CaretDrawItemNo) - 2);
    } else if (!forward && CaretDrawItemNo > 0) {
        --CaretDrawItemNo;
        OnChangeCaretLine(GetOffsAfterDrawItem(CaretDrawItemNo) - 2);
    }
}

void TVDEditVDData::SetCaretToItem(int32_t itemNo, int32_t offs) {
    int32_t d = -1, dOffs = 0;
    Item2DrawItem(itemNo, offs, d, dOffs, vddpBetterBelow);
    if (d < 0) {
        return;
    }
    CaretDrawItemNo = d;
    OnChangeCaretLine(dOffs - 2);
    MoveCaretOffMarker(true);
}

void TVDEditVDData::ShowCaretRect(int32_t dItemNo, int32_t x) {
    const TVDDrawLineInfo &d = *DrawItems[dItemNo];
    const int32_t bottom = GetTransformedDItemTop(dItemNo) + d.Height - GetVOffs();
    const int32_t left = x - GetHOffs();
    FCustomCaretRect = rtl::TRect{left, bottom - CaretHeight, left + 1, bottom};
}

void TVDEditVDData::ChangeCaret(bool, bool scrollToCaret, bool dontChangeStyle, bool) {
    if (State.Contains(vdstSkipFormatting)) {
        return;
    }
    if (FPartialSelectedItem || GetInplaceEditor() || State.Contains(vdstCompletelySelected)) {
        return;
    }
    int32_t height = 0, x = 0, y = 0;
    if (CaretDrawItemNo != -1) {
        if (CaretOffs < 0 || CaretOffs >= static_cast<int32_t>(CharEnds.size())) {
            CaretDrawItemNo = 0;
            MoveCaretOffMarker(true);
            OnChangeCaretLine(GetOffsBeforeDrawItem(CaretDrawItemNo) - 2);
            throw EViziVoduError(errmsg::InvalidCaretPosition);
        }
        const TVDCharPos &stop = CharEnds[static_cast<size_t>(CaretOffs)];
        CaretDrawItemNo = stop.DrawItemNo;
        if (FSelStartNo < 0 || (FSelStartNo == FSelEndNo && FSelStartOffs == FSelEndOffs)) {
            FSelStartNo = stop.DrawItemNo;
            FSelStartOffs = stop.Offset;
        }
        FSelEndNo = stop.DrawItemNo;
        FSelEndOffs = stop.Offset;
        height = std::clamp(DrawItems[CaretDrawItemNo]->Height + 2, 0, 1000);
        x = stop.X;
        y = GetTransformedDItemTop(CaretDrawItemNo) - 1;
    }
    CaretHeight = height;
    if (height > 0) {
        ShowCaretRect(CaretDrawItemNo, x);
    }
    if (CaretDrawItemNo != -1) {
        FollowCurrentStyles(dontChangeStyle);
    }
    if (scrollToCaret && CaretHeight > 0 && !FCaptureMouseItem) {
        ShowRectangle(x, y, 5, CaretHeight);
    }
}

void TVDEditVDData::FollowCurrentStyles(bool dontChangeStyle) {
    int32_t itemNo = DrawItems[CaretDrawItemNo]->ItemNo;
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (itemNo > 0 && item->GetSameAsPrev() && !IsItemHiddenInView(itemNo - 1) &&
        GetItem(itemNo - 1)->StyleNo != StyleNoListMarker &&
        GetOffsetInCurItem() <= GetOffsBeforeItem(itemNo)) {
        item = GetItem(--itemNo);
    }
    if (dontChangeStyle) {
        return;
    }
    FCurParaStyleNo = item->ParaNo;
    int32_t followed = -1;
    if (item->IsText()) {
        followed = GetActualStyle(*item);
    } else if (item->GetBoolValue(vdbpSwitchToAssStyleNo)) {
        followed = item->GetAssociatedTextStyleNo();
    }
    if (followed < 0) {
        return;
    }
    const TFontInfos &fonts = GetVDStyle()->GetTextStyles();
    auto noSwitch = [&](int32_t styleNo) {
        return styleNo >= 0 && styleNo < fonts.GetCount() &&
               fonts.GetItem(styleNo).GetProtection().Contains(vdprDoNotAutoSwitch);
    };
    if (noSwitch(followed)) {
        if (!noSwitch(FPrevTextStyleNo)) {
            FCurTextStyleNo = FPrevTextStyleNo;
        }
    } else {
        FCurTextStyleNo = FPrevTextStyleNo = followed;
    }
}

} // namespace vizivodu
