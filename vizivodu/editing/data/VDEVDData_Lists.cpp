// Lists in the editable document: applying, changing, re-levelling and removing the list markers
// of the selected paragraphs as one undo group, and reformatting the paragraphs whose numbers
// change after an edit.
#include "vizivodu/editing/data/VDEVDData.h"

#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"

#include <algorithm>

namespace vizivodu {

namespace {

void AddUnique(std::vector<int32_t> &list, int32_t value) {
    if (std::find(list.begin(), list.end(), value) == list.end()) {
        list.push_back(value);
    }
}

// What a deleted marker hands to the marker that replaces it.
struct TOldMarker {
    bool Present = false;
    int32_t ListNo = -1, Level = -1, StartFrom = 1;
    bool Reset = false, DeleteProtect = false;
    TVDTag Tag;
    std::unique_ptr<TVDCPInfo> Checkpoint;
};

void ShiftBound(TVDItemPos &p, int32_t itemNo, int32_t by) {
    if (p.ItemNo >= itemNo) {
        p.ItemNo += by;
    }
}

} // namespace

bool TVDEditVDData::IsVariableWidthList(int32_t listNo) {
    const TVDListInfos &lists = GetVDStyle()->GetListStyles();
    return listNo >= 0 && listNo < lists.GetCount() && lists.GetItem(listNo).HasVariableWidth();
}

void TVDEditVDData::GetCaretOrSelection(TVDItemPos &anchor, TVDItemPos &active) {
    if (SelectionExists(false, false)) {
        GetSelectionBounds(anchor.ItemNo, anchor.Offs, active.ItemNo, active.Offs, false);
        return;
    }
    anchor = active = TVDItemPos{GetCurItemNo(), GetOffsetInCurItem()};
}

void TVDEditVDData::ApplyListStyle(int32_t listNo, int32_t listLevel, int32_t startFrom,
                                   bool useStartFrom, bool recursive,
                                   TVDParaListOperation operation) {
    TVDListRequest request{listNo, listLevel, startFrom, useStartFrom, operation};
    TVDListWork work;
    BeginUndoSequence(vdutList, true);
    SetUndoGroupMode(true);
    int32_t endNo = 0;
    {
        const rtl::TScopeExit groupOff([&]() noexcept { SetUndoGroupMode(false); });
        GetCaretOrSelection(work.Anchor, work.Active);
        int32_t startNo = std::min(work.Anchor.ItemNo, work.Active.ItemNo);
        endNo = std::max(work.Anchor.ItemNo, work.Active.ItemNo);
        ExpandToPara(startNo, endNo, startNo, endNo);
        int32_t startDI = 0, endDI = 0;
        Item2FirstDrawItem(startNo, startDI);
        Item2FirstDrawItem(endNo, endDI);
        GetParaBoundsEx(std::max(startDI, 0), std::max(endDI, 0), startDI, endDI, true);
        const int32_t w0 = CalculateParaSectionsMinWidthDef(startNo, endNo);
        int32_t itemsAdded = 0;
        (void)recursive;
        ApplyListStyle_(request, itemsAdded, startNo, endNo, work);
        const int32_t w1 = CalculateParaSectionsMinWidthDef(startNo, endNo);
        {
            const rtl::TFlagScope invalidSelection(State, vdstInvalidSelection);
            Reformat_(!(w0 == w1 || (w1 <= DocumentWidth && w0 < DocumentWidth)), startDI, endDI,
                      itemsAdded);
        }
        SetCaretToItem(work.Active.ItemNo, work.Active.Offs);
        if (work.Anchor.ItemNo != work.Active.ItemNo || work.Anchor.Offs != work.Active.Offs) {
            DoSetSelectionBounds(work.Anchor.ItemNo, work.Anchor.Offs, work.Active.ItemNo,
                                 work.Active.Offs, false);
        }
        ChangeCaret(false, true, false, false);
    }
    UpdateAfterMarkersOrSeq(std::min(endNo, ItemCount() - 1), work.LastVWMarkerIndex, -1,
                            &work.ListNos, nullptr);
    DoAfterFormatAndCaretPositioning(true);
    Change();
    Invalidate();
}

void TVDEditVDData::ApplyListStyle_(const TVDListRequest &request, int32_t &itemsAdded,
                                    int32_t &startNo, int32_t &endNo, TVDListWork &work) {
    ExpandToPara(startNo, endNo, startNo, endNo);
    itemsAdded = 0;
    for (int32_t i = endNo; i >= startNo; --i) {
        const int32_t delta = ApplyListToPara(request, i, i == startNo, work);
        itemsAdded += delta;
        endNo += delta;
    }
}

int32_t TVDEditVDData::ApplyListToPara(const TVDListRequest &r, int32_t i, bool firstPara,
                                       TVDListWork &work) {
    TCustomVDItemInfo &item = *GetItem(i);
    if (!item.ParaStart(false) || item.GetBoolValue(vdbpFullWidth) || IsParaReadOnly(i)) {
        return 0;
    }
    TOldMarker old;
    int32_t delta = 0;
    if (item.StyleNo == StyleNoListMarker) {
        auto &marker = static_cast<TVDMarkerItemInfo &>(item);
        if ((r.Operation == vdplopRemove && marker.DeleteProtect) ||
            (r.Operation == vdplopLevel && (marker.ListNo < 0 || marker.Level < 0))) {
            return 0;
        }
        if (IsVariableWidthList(marker.ListNo)) {
            AddUnique(work.ListNos, marker.ListNo);
            if (TVDMarkerList *markers = GetMarkers(false)) {
                work.LastVWMarkerIndex = markers->IndexOf(&marker);
            }
        }
        old = TOldMarker{true,         marker.ListNo,        marker.Level, marker.StartFrom,
                         marker.Reset, marker.DeleteProtect, marker.Tag,   nullptr};
        if (marker.Checkpoint) {
            old.Checkpoint = marker.Checkpoint->CreateCopy(GetOptions().Contains(vdoTagsArePChars));
        }
        bool fr = false;
        if (r.Operation == vdplopRemove && i + 1 < ItemCount()) {
            Do_NewLine(i + 1, false, -1, fr);
        }
        Do_DeleteItem(i, fr);
        --delta;
        for (TVDItemPos *p : {&work.Anchor, &work.Active}) {
            if (p->ItemNo == i && i < ItemCount()) {
                p->Offs = GetOffsBeforeItem(i);
            }
            ShiftBound(*p, i + 1, -1);
        }
    }
    if (r.Operation == vdplopRemove || (r.Operation == vdplopLevel && !old.Present) ||
        (!old.Present && i > 0 && IsSticking(i - 1, true)) || i >= ItemCount()) {
        return delta;
    }
    std::unique_ptr<TVDMarkerItemInfo> marker;
    if (r.Operation == vdplopLevel) {
        const TVDListInfos &lists = GetVDStyle()->GetListStyles();
        const int32_t levels =
            old.ListNo < lists.GetCount() ? lists.GetItem(old.ListNo).GetLevels().GetCount() : 1;
        marker = std::make_unique<TVDMarkerItemInfo>(
            this, old.ListNo, std::clamp(old.Level + r.ListLevel, 0, std::max(levels - 1, 0)),
            old.StartFrom, old.Reset);
    } else {
        const int32_t level = r.ListLevel >= 0 ? r.ListLevel : std::max(old.Level, 0);
        marker = std::make_unique<TVDMarkerItemInfo>(this, r.ListNo, level, r.StartFrom,
                                                     r.UseStartFrom && firstPara);
    }
    marker->Checkpoint = old.Checkpoint.release();
    marker->Tag = old.Tag;
    marker->DeleteProtect = old.DeleteProtect;
    marker->ParaNo = GetItem(i)->ParaNo;
    const int32_t paraNo = marker->ParaNo;
    ShiftBound(work.Anchor, i, 1);
    ShiftBound(work.Active, i, 1);
    TVDRawByteString text;
    bool fr = false;
    Do_InsertItem(i, text, std::move(marker), false, fr);
    Do_NewLine(i + 1, true, paraNo, fr);
    return delta + 1;
}

bool TVDEditVDData::InsertParaMarkerCopy(int32_t itemNo, int32_t destItemNo, bool undoable,
                                         bool skipHidden, bool &fullReformat) {
    fullReformat = false;
    if (itemNo < 0 || itemNo >= ItemCount()) {
        return false;
    }
    int32_t first = itemNo, last = itemNo;
    ExpandToPara(itemNo, itemNo, first, last);
    TCustomVDItemInfo &marker = *GetItem(first);
    if (marker.StyleNo != StyleNoListMarker || (skipHidden && IsItemHiddenInView(first))) {
        return false;
    }
    std::unique_ptr<TCustomVDItemInfo> copy = marker.CreateCopy(this, false);
    auto &m = static_cast<TVDMarkerItemInfo &>(*copy);
    m.DeleteProtect = false;
    m.Hidden = false;
    m.Reset = false;
    TVDRawByteString text = marker.ItemText;
    if (undoable) {
        Do_InsertItem(destItemNo, text, std::move(copy), false, fullReformat);
        return true;
    }
    TCustomVDItemInfo &added = *copy;
    added.Inserting(this, text, false);
    GetItems().InsertObject(destItemNo, text, std::move(copy));
    added.Inserted(this, destItemNo);
    DoOnAddSpecialItem(destItemNo);
    return true;
}

// ---- Numbering after an edit ----

void TVDEditVDData::PrepareForUpdateRangeAfterMarkersOrSeq(int32_t startNo, int32_t endNo,
                                                           bool forDeletion, int32_t &firstItemNo,
                                                           int32_t &lastMarkerIndex,
                                                           int32_t &lastSeqIndex,
                                                           std::vector<int32_t> &listNos,
                                                           rtl::TStringList &seqNames) {
    lastMarkerIndex = lastSeqIndex = -1;
    firstItemNo = -1;
    TVDMarkerList *markers = GetMarkers(false);
    TVDSeqList *seqs = GetSeqList(false);
    if (startNo < 0 || ItemCount() == 0 || (!markers && !seqs)) {
        return;
    }
    startNo = std::clamp(startNo, 0, ItemCount() - 1);
    endNo = std::clamp(endNo, startNo, ItemCount() - 1);
    ExpandToVisiblePara(startNo, endNo, startNo, endNo);
    bool markerFound = false, seqFound = false;
    for (int32_t i = startNo; i <= endNo; ++i) {
        TCustomVDItemInfo *item = GetItem(i);
        if (auto *marker = dynamic_cast<TVDMarkerItemInfo *>(item);
            marker && markers && IsVariableWidthList(marker->ListNo)) {
            AddUnique(listNos, marker->ListNo);
            if (!forDeletion || !markerFound) {
                lastMarkerIndex = markers->IndexOf(marker) - (forDeletion ? 1 : 0);
                markerFound = true;
            }
        } else if (auto *seq = dynamic_cast<TVDSeqItemInfo *>(item); seq && seqs) {
            seqNames.Add(rtl::AnsiLowerCase(seq->SeqName));
            if (!forDeletion || !seqFound) {
                lastSeqIndex = seqs->IndexOf(seq) - (forDeletion ? 1 : 0);
                seqFound = true;
            }
        }
    }
    firstItemNo = endNo;
}

int32_t TVDEditVDData::LastMarkerIndexOfLists(int32_t startIndex,
                                              const std::vector<int32_t> &listNos) {
    TVDMarkerList *markers = GetMarkers(false);
    for (int32_t i = markers ? markers->Count() - 1 : -1; i > startIndex; --i) {
        if (std::find(listNos.begin(), listNos.end(), markers->Get(i)->ListNo) != listNos.end()) {
            return i;
        }
    }
    return -1;
}

void TVDEditVDData::UpdateAfterMarkersOrSeq(int32_t firstItemNo, int32_t lastMarkerIndex,
                                            int32_t lastSeqIndex,
                                            const std::vector<int32_t> *listNos,
                                            const rtl::TStringList *seqNames) {
    TVDMarkerList *markers = GetMarkers(false);
    TVDSeqList *seqs = GetSeqList(false);
    const bool anyList = listNos && !listNos->empty();
    const bool anySeq = seqNames && seqNames->GetCount() > 0;
    if ((!markers && !seqs) || (!anyList && !anySeq)) {
        return;
    }
    const int32_t first = firstItemNo + 1;
    int32_t limit = -1;
    bool full = false;
    auto limitBy = [&](const TCustomVDItemInfo *found) {
        const int32_t itemNo = FindItemContaining(first, found);
        full = itemNo < 0;
        limit = std::max(limit, itemNo);
    };
    if (anyList && markers) {
        if (const int32_t index = LastMarkerIndexOfLists(lastMarkerIndex, *listNos); index >= 0) {
            limitBy(markers->Get(index));
        }
    }
    if (!full && anySeq && seqs) {
        if (const int32_t index = GetLastSeqIndexOfNames(lastSeqIndex, *seqNames); index >= 0) {
            limitBy(seqs->Get(index));
        }
    }
    RefreshNumberedRange(first, limit, full);
}

void TVDEditVDData::RefreshNumberedRange(int32_t first, int32_t last, bool full) {
    if (full) {
        if (auto *root = dynamic_cast<TCustomVDFormattedData *>(GetAbsoluteRootData())) {
            root->Format(false, false);
            Do_ReformateRange(-1, -1, true);
            root->Invalidate();
        }
        return;
    }
    if (last < 0 || first > last || first >= ItemCount()) {
        return;
    }
    ExpandToVisiblePara(first, last, first, last);
    Do_ReformateRange(first, last, false);
    int32_t startDI = -1, endDI = -1;
    Item2FirstDrawItem(first, startDI);
    Item2LastDrawItem(last, endDI);
    if (startDI >= 0 && endDI >= startDI) {
        FormatParasExact(startDI, endDI, 0, false);
        Invalidate();
    }
}

void TVDEditVDData::UpdateRangeAfterMarkersOrSeq(int32_t startNo, int32_t endNo) {
    int32_t firstItemNo = -1, lastMarkerIndex = -1, lastSeqIndex = -1;
    std::vector<int32_t> listNos;
    rtl::TStringList seqNames;
    seqNames.SetSorted(true);
    seqNames.SetDuplicates(rtl::dupIgnore);
    PrepareForUpdateRangeAfterMarkersOrSeq(startNo, endNo, false, firstItemNo, lastMarkerIndex,
                                           lastSeqIndex, listNos, seqNames);
    UpdateAfterMarkersOrSeq(firstItemNo, lastMarkerIndex, lastSeqIndex, &listNos, &seqNames);
}

} // namespace vizivodu
