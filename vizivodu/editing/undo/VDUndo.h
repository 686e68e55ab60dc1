// Undo and redo lists of an editable document: the lists, their groups and the record base
// class, and the worker that undoes or redoes one group.
#pragma once

#include "vizivodu/document/CVDData.h"

#include "platform/rtl/System.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vizivodu {

class TCustomVDFormattedData;
class TVDEditVDData;
class TVDUndoList;

// The kind of a group; the lists treat only vdutTyping specially.
enum TVDUndoType : uint8_t {
    vdutNone,
    vdutDelete,
    vdutInsert,
    vdutPara,
    vdutMiscTyping,
    vdutInsertPageBreak,
    vdutRemovePageBreak,
    vdutTyping,
    vdutTag,
    vdutStyleNo,
    vdutAddCheckpoint,
    vdutRemoveCheckpoint,
    vdutModifyCheckpoint,
    vdutModifyItem,
    vdutToHypertext,
    vdutFromHypertext,
    vdutTextFlow,
    vdutList,
    vdutProperty,
    vdutLayout,
    vdutBackground,
    vdutStyleTemplate,
    vdutSubDoc,
    vdutResize,
    vdutTableCell,
    vdutTableRow,
    vdutTable,
    vdutTableInsertRows,
    vdutTableInsertCols,
    vdutTableDeleteRows,
    vdutTableDeleteCols,
    vdutTableMerge,
    vdutTableSplit,
    vdutCustom
};

// The kind of a record; the lists test only vduTyping.
enum TVDUndoAction : uint8_t {
    vduMisc,
    vduDeleteItem,
    vduDeleteItems,
    vduDeleteSubstring,
    vduInsertItem,
    vduInsertItems,
    vduInsertSubstring,
    vduNewLine,
    vduBR,
    vduPara,
    vduPageBreak,
    vduTyping,
    vduTag,
    vduStyleNo,
    vduCheckpoint,
    vduModifyItem,
    vduChangeText,
    vduChangeVAlign,
    vduChangeListMarker,
    vduProperty
};

namespace errmsg {
inline constexpr const char16_t *EmptyUndoList = u"Can't modify empty undo list";
inline constexpr const char16_t *IncorrectUndoAdding = u"Incorrect adding into undo list";
inline constexpr const char16_t *UndoBufferEmpty = u"Undo buffer is empty";
} // namespace errmsg

// One record: reverses one primitive change by calling the primitive that makes the opposite
// change (which records into the group open at that moment). The answers of this base class
// are the defaults every record starts from.
class TVDUndoInfo {
public:
    TVDUndoInfo() = default;
    TVDUndoInfo(const TVDUndoInfo &) = delete;
    TVDUndoInfo &operator=(const TVDUndoInfo &) = delete;
    virtual ~TVDUndoInfo() = default;

    TVDUndoAction Action = vduMisc;
    TVDUndoList *FUndoList = nullptr;

    // Asked before / after the record is undone: the whole document must be reformatted.
    virtual bool RequiresFullReformat1(TVDEditVDData &) { return false; }
    virtual bool RequiresFullReformat2(TVDEditVDData &) { return false; }
    virtual bool RequiresFormat() { return true; }
    virtual bool RequiresSuperFormat() { return false; }
    virtual bool RequiresRepagination(TVDEditVDData &) { return false; }
    virtual bool RequiresFormattedDocBefore() { return false; }
    virtual bool ChangesStyles() { return false; }
    virtual void Undo(TVDEditVDData &) {}
    // False: the record reports no range.
    virtual bool SetItemsRange(int32_t &, int32_t &, TVDEditVDData &) { return false; }
    // Items that undoing the record adds (negative: removes).
    virtual int32_t ItemsAdded() { return 0; }
    TCustomVDFormattedData *GetUndoListOwnerVDData() const;
};

// One group: the records of one operation a user would name, in the order appended.
class TVDUndoInfos {
public:
    rtl::UnicodeString Caption;
    TVDUndoType UndoType = vdutNone;
    int32_t CaretItemNo = 0;
    int32_t CaretOffs = 0;

    int32_t Count() const { return static_cast<int32_t>(FRecords.size()); }
    TVDUndoInfo *GetItem(int32_t index) const { return FRecords[static_cast<size_t>(index)].get(); }
    void Add(std::unique_ptr<TVDUndoInfo> info) { FRecords.push_back(std::move(info)); }
    // A typing group: exactly one record, of the action vduTyping.
    bool IsTypingGroup() const { return Count() == 1 && FRecords[0]->Action == vduTyping; }
    // Undo opens a redo group and runs the records; Redo opens an undo group.
    void Undo(TVDEditVDData &vdData, bool reformat);
    void Redo(TVDEditVDData &vdData, bool reformat);
    bool CanDelete() const;
    void ChangeUndoList(TVDUndoList *undoList);

private:
    std::vector<std::unique_ptr<TVDUndoInfo>> FRecords;

    void Perform(TVDEditVDData &vdData, bool reformat);
    void ComputeRange(TVDEditVDData &vdData, int32_t &start, int32_t &end, int32_t &added,
                      bool &needFormat, bool &needStyleEvents, bool &needSuperFormat);
    void RunRecords(TVDEditVDData &vdData, bool &needFormat, bool &fullReformat,
                    bool &needRepagination);
    void FinishPerform(TVDEditVDData &vdData, bool reformat, int32_t start, int32_t end,
                       int32_t added, bool needFormat, bool fullReformat, bool needSuperFormat,
                       bool needStyleEvents, int32_t startDI, int32_t endDI);
};

// The undo list of a document (the redo list is of the same class): groups, oldest first.
class TVDUndoList {
public:
    explicit TVDUndoList(TCustomVDFormattedData *vdData) : FVDData(vdData) {}
    TVDUndoList(const TVDUndoList &) = delete;
    TVDUndoList &operator=(const TVDUndoList &) = delete;
    virtual ~TVDUndoList() = default;

    int32_t FReformatLock = 0;
    TCustomVDFormattedData *FVDData;
    // The most groups kept: -1 unlimited, 0 nothing recorded.
    int32_t Limit = -1;
    int32_t GroupModeCount = 0;

    int32_t Count() const { return static_cast<int32_t>(FGroups.size()); }
    TVDUndoInfos *GetItem(int32_t index) const { return FGroups[static_cast<size_t>(index)].get(); }
    TVDUndoInfos *Last() const { return FGroups.empty() ? nullptr : FGroups.back().get(); }
    void Clear() { FGroups.clear(); }

    // False only when Limit is 0.
    bool BeginItem(TVDUndoType undoType, const rtl::UnicodeString &caption, int32_t caretItemNo,
                   int32_t caretOffs);
    void EndItem();
    // Takes the record; EViziVoduError on misuse (the record then stays the caller's: it is
    // freed with the argument).
    void AddInfo(std::unique_ptr<TVDUndoInfo> info);
    // Appends when AddInfo would; frees the record otherwise. Returns the record appended.
    TVDUndoInfo *AddInfoIfPossible(std::unique_ptr<TVDUndoInfo> info);
    void AddInfos(std::unique_ptr<TVDUndoInfos> infos);
    void AddTyping(int32_t caretItemNo, int32_t caretOffs, bool unicode);
    void AddUntyping(const TVDRawByteString &c, int32_t caretItemNo, int32_t caretOffs);
    void Undo(TVDEditVDData &vdData);
    void Redo(TVDEditVDData &vdData);
    TVDUndoType CurrentUndoType() const;
    rtl::UnicodeString CurrentUndoCaption() const;
    void LockRFR() { ++FReformatLock; }
    void UnlockRFR() { --FReformatLock; }
    void SetUndoGroupMode(bool groupUndo) { GroupModeCount += groupUndo ? 1 : -1; }
    void PopIfEmpty();
    void DropFinishedGroup();

private:
    std::vector<std::unique_ptr<TVDUndoInfos>> FGroups;

    bool CanAdd() const;
};

class TVDRedoList : public TVDUndoList {
public:
    using TVDUndoList::TVDUndoList;
};

} // namespace vizivodu
