// Undo and redo lists: opening groups, appending records, typing groups, and undoing or
// redoing one group with the reformatting it asks for.
#include "vizivodu/editing/undo/VDUndo.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/editing/data/VDEVDData.h"
#include "vizivodu/editing/undo/VDUndo_Records.h"

#include "platform/rtl/ScopeExit.h"

#include <algorithm>

namespace vizivodu {

TCustomVDFormattedData *TVDUndoInfo::GetUndoListOwnerVDData() const {
    return FUndoList ? FUndoList->FVDData : nullptr;
}

// ---- TVDUndoList ----

bool TVDUndoList::BeginItem(TVDUndoType undoType, const rtl::UnicodeString &caption,
                            int32_t caretItemNo, int32_t caretOffs) {
    if (Limit == 0) {
        return false;
    }
    if (GroupModeCount > 0 && !FGroups.empty() && !Last()->IsTypingGroup()) {
        return true;
    }
    if (Limit > 0 && Count() == Limit) {
        FGroups.erase(FGroups.begin());
    }
    rtl::UnicodeString groupCaption = caption;
    if (!FGroups.empty() && Last()->Count() == 0) {
        // An operation that recorded nothing hands its caret position and caption on.
        caretItemNo = Last()->CaretItemNo;
        caretOffs = Last()->CaretOffs;
        groupCaption = Last()->Caption;
        FGroups.pop_back();
    }
    auto group = std::make_unique<TVDUndoInfos>();
    group->UndoType = undoType;
    group->Caption = groupCaption;
    group->CaretItemNo = caretItemNo;
    group->CaretOffs = caretOffs;
    FGroups.push_back(std::move(group));
    return true;
}

void TVDUndoList::EndItem() {
    if (!FGroups.empty() && Last()->Count() == 0) {
        FGroups.pop_back();
    }
}

bool TVDUndoList::CanAdd() const {
    return !FGroups.empty() && !Last()->IsTypingGroup();
}

void TVDUndoList::AddInfo(std::unique_ptr<TVDUndoInfo> info) {
    if (FGroups.empty()) {
        throw EViziVoduError(errmsg::EmptyUndoList);
    }
    if (Last()->IsTypingGroup()) {
        throw EViziVoduError(errmsg::IncorrectUndoAdding);
    }
    info->FUndoList = this;
    Last()->Add(std::move(info));
}

TVDUndoInfo *TVDUndoList::AddInfoIfPossible(std::unique_ptr<TVDUndoInfo> info) {
    if (!CanAdd()) {
        return nullptr;
    }
    TVDUndoInfo *added = info.get();
    AddInfo(std::move(info));
    return added;
}

void TVDUndoList::AddInfos(std::unique_ptr<TVDUndoInfos> infos) {
    infos->ChangeUndoList(this);
    FGroups.push_back(std::move(infos));
}

void TVDUndoList::AddTyping(int32_t caretItemNo, int32_t caretOffs, bool unicode) {
    if (Limit == 0) {
        return;
    }
    if (!FGroups.empty() && Last()->Count() == 0) {
        FGroups.pop_back();
    }
    if (TVDUndoInfos *last = Last(); last && last->Count() > 0) {
        auto *typing = dynamic_cast<TVDUndoTypingInfo *>(last->GetItem(0));
        if (typing && typing->ItemNo == caretItemNo &&
            typing->Index + typing->Length == caretOffs) {
            ++typing->Length;
            ++last->CaretOffs;
            return;
        }
    }
    BeginItem(vdutTyping, {}, caretItemNo, caretOffs);
    auto info = std::make_unique<TVDUndoTypingInfo>();
    info->Action = vduTyping;
    info->ItemNo = caretItemNo;
    info->Index = caretOffs;
    info->Length = 1;
    info->Unicode = unicode;
    AddInfo(std::move(info));
}

void TVDUndoList::AddUntyping(const TVDRawByteString &c, int32_t caretItemNo, int32_t caretOffs) {
    const bool unicode = c.size() > 1;
    if (!FGroups.empty() && Last()->Count() == 0) {
        FGroups.pop_back();
    }
    if (TVDUndoInfos *last = Last(); last && last->Count() > 0) {
        auto *redo = dynamic_cast<TVDRedoTypingInfo *>(last->GetItem(0));
        if (redo && redo->ItemNo == caretItemNo) {
            size_t chars = redo->s.size();
            if (unicode) {
                CheckUnicodeByteLength(chars);
                chars /= 2;
            }
            if (redo->Index - static_cast<int32_t>(chars) == caretOffs) {
                redo->s += c;
                --last->CaretOffs;
                return;
            }
        }
    }
    BeginItem(vdutTyping, {}, caretItemNo, caretOffs);
    auto info = std::make_unique<TVDRedoTypingInfo>();
    info->Action = vduTyping;
    info->ItemNo = caretItemNo;
    info->Index = caretOffs;
    info->s = c;
    info->Unicode = unicode;
    AddInfo(std::move(info));
}

void TVDUndoList::Undo(TVDEditVDData &vdData) {
    if (FGroups.empty()) {
        throw EViziVoduError(errmsg::UndoBufferEmpty);
    }
    Last()->Undo(vdData, FReformatLock <= 0);
    DropFinishedGroup();
}

void TVDUndoList::Redo(TVDEditVDData &vdData) {
    if (FGroups.empty()) {
        throw EViziVoduError(errmsg::UndoBufferEmpty);
    }
    Last()->Redo(vdData, FReformatLock <= 0);
    DropFinishedGroup();
}

void TVDUndoList::DropFinishedGroup() {
    if (FGroups.empty()) {
        return;
    }
    TVDUndoInfos *last = Last();
    if (last->CanDelete()) {
        FGroups.pop_back();
    } else if (dynamic_cast<TVDUndoTypingInfo *>(last->GetItem(0))) {
        --last->CaretOffs;
    } else {
        ++last->CaretOffs;
    }
}

TVDUndoType TVDUndoList::CurrentUndoType() const {
    return FGroups.empty() ? vdutNone : Last()->UndoType;
}

rtl::UnicodeString TVDUndoList::CurrentUndoCaption() const {
    return FGroups.empty() ? rtl::UnicodeString() : Last()->Caption;
}

void TVDUndoList::PopIfEmpty() {
    if (!FGroups.empty() && Last()->Count() == 0 && GroupModeCount <= 0) {
        FGroups.pop_back();
    }
}

// ---- TVDUndoInfos ----

bool TVDUndoInfos::CanDelete() const {
    if (FRecords.empty()) {
        return true;
    }
    TVDUndoInfo *first = FRecords[0].get();
    if (auto *typing = dynamic_cast<TVDUndoTypingInfo *>(first)) {
        return typing->Length == 0;
    }
    if (auto *redo = dynamic_cast<TVDRedoTypingInfo *>(first)) {
        return redo->s.empty();
    }
    if (auto *composite = dynamic_cast<TVDCompositeUndo *>(first)) {
        return composite->UndoList->Count() == 0;
    }
    return true;
}

void TVDUndoInfos::ChangeUndoList(TVDUndoList *undoList) {
    for (auto &record : FRecords) {
        record->FUndoList = undoList;
    }
}

void TVDUndoInfos::Undo(TVDEditVDData &vdData, bool reformat) {
    vdData.BeginRedoSequence(UndoType, Caption);
    Perform(vdData, reformat);
}

void TVDUndoInfos::Redo(TVDEditVDData &vdData, bool reformat) {
    vdData.BeginNamedUndoSequence(UndoType, Caption, true);
    Perform(vdData, reformat);
}

void TVDUndoInfos::ComputeRange(TVDEditVDData &vdData, int32_t &start, int32_t &end, int32_t &added,
                                bool &needFormat, bool &needStyleEvents, bool &needSuperFormat) {
    start = vdData.ItemCount() - 1;
    end = 0;
    added = 0;
    for (int32_t i = Count() - 1; i >= 0; --i) {
        TVDUndoInfo &record = *GetItem(i);
        needFormat = needFormat || record.RequiresFormat();
        needStyleEvents = needStyleEvents || record.ChangesStyles();
        needSuperFormat = needSuperFormat || record.RequiresSuperFormat();
        int32_t s = 0, e = 0;
        const bool hasRange = record.SetItemsRange(s, e, vdData);
        if (hasRange && added > 0) {
            e += added;
        }
        const int32_t a = record.ItemsAdded();
        if (hasRange && a > 0) {
            e += a;
        }
        added += a;
        if (hasRange) {
            start = std::min(start, s);
            end = std::max(end, e);
        }
    }
    if (end < start) {
        std::swap(start, end);
    }
    start = std::max(start, 0);
    end = std::max(end, start);
    if (end + added < start) {
        end = start - added;
    }
    end = std::min(end, vdData.ItemCount() - 1);
}

void TVDUndoInfos::RunRecords(TVDEditVDData &vdData, bool &needFormat, bool &fullReformat,
                              bool &needRepagination) {
    int32_t depth = 0;
    int32_t savedWidth = 0;
    for (int32_t i = Count() - 1; i >= 0; --i) {
        TVDUndoInfo &record = *GetItem(i);
        auto askFull = [&](bool after) {
            if (depth != 0) {
                return;
            }
            if (!needFormat) {
                fullReformat = false;
            } else if (!fullReformat) {
                fullReformat = after ? record.RequiresFullReformat2(vdData)
                                     : record.RequiresFullReformat1(vdData);
            }
        };
        askFull(false);
        needRepagination = needRepagination || record.RequiresRepagination(vdData);
        if (auto *terminator = dynamic_cast<TVDUndoModifyItemTerminator *>(&record)) {
            if (!terminator->Opening) {
                if (depth == 0) {
                    savedWidth = terminator->OldW;
                }
                ++depth;
            } else if (--depth == 0) {
                terminator->OldW = savedWidth;
            }
        }
        if (record.RequiresFormattedDocBefore()) {
            vdData.Format(false, false);
            needFormat = false;
        }
        record.Undo(vdData);
        askFull(true);
    }
}

void TVDUndoInfos::Perform(TVDEditVDData &vdData, bool reformat) {
    TCustomVDData &root = *vdData.GetAbsoluteRootData();
    const rtl::TFlagScope noAdjustment(root.State, vdstNoStyleTemplateAdustment);
    if (FRecords.empty()) {
        return;
    }
    vdData.Deselect(nullptr, true);
    bool needFormat = false, needStyleEvents = false, needSuperFormat = false;
    int32_t start = 0, end = 0, added = 0;
    ComputeRange(vdData, start, end, added, needFormat, needStyleEvents, needSuperFormat);
    int32_t startDI = -1, endDI = -1, dOffs = 0;
    if (vdData.ItemCount() > 0) {
        vdData.Item2DrawItem(start, 1, startDI, dOffs, vddpBetterBelow);
        vdData.Item2DrawItem(end, 1, endDI, dOffs, vddpBetterBelow);
    }
    startDI = std::max(startDI, 0);
    if (endDI < 0) {
        endDI = vdData.DrawItems.Count() - 1;
    }
    if (vdData.DrawItems.Count() > 0) {
        vdData.GetParaBoundsEx(startDI, endDI, startDI, endDI, true);
    }
    bool fullReformat = false, needRepagination = false;
    RunRecords(vdData, needFormat, fullReformat, needRepagination);
    vdData.AdjustInItemsRange(start);
    vdData.AdjustInItemsRange(end);
    if (vdData.ItemCount() > 0) {
        vdData.ExpandToParaSection(start, end, start, end);
        for (int32_t i = start; i <= end; ++i) {
            vdData.GetItem(i)->ClearLiveSpellingResult();
        }
    }
    FinishPerform(vdData, reformat, start, end, added, needFormat, fullReformat, needSuperFormat,
                  needStyleEvents, startDI, endDI);
}

void TVDUndoInfos::FinishPerform(TVDEditVDData &vdData, bool reformat, int32_t, int32_t,
                                 int32_t added, bool needFormat, bool fullReformat,
                                 bool needSuperFormat, bool needStyleEvents, int32_t startDI,
                                 int32_t endDI) {
    vdData.GetAbsoluteRootData()->State.Exclude(vdstNoStyleTemplateAdustment);
    if (reformat && needFormat) {
        if (fullReformat && vdData.GetMinDocWidth() != vdData.DocumentWidth) {
            vdData.Format(false, false);
        } else if (vdData.DrawItems.Count() == 0) {
            vdData.Format(false, false);
        } else {
            vdData.FormatParas(startDI, endDI, added);
        }
    }
    if (!vdData.GetInplaceEditor() && vdData.ItemCount() > 0) {
        int32_t itemNo = std::clamp(CaretItemNo, 0, vdData.ItemCount() - 1);
        int32_t offs = std::clamp(CaretOffs, vdData.GetOffsBeforeItem(itemNo),
                                  vdData.GetOffsAfterItem(itemNo));
        vdData.SetCaretToItem(itemNo, offs);
    }
    vdData.Invalidate();
    if (needSuperFormat) {
        if (auto *root = dynamic_cast<TCustomVDFormattedData *>(vdData.GetAbsoluteRootData())) {
            root->Format_(true, true, true, 0, nullptr, false, true, false, false, false);
        }
    }
    vdData.DoAfterFormatAndCaretPositioning(true);
    (void)needStyleEvents; // the style-change events belong to the editor control
}

} // namespace vizivodu
