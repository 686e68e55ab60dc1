// Undo grouping of the editable document and the primitives that insert and delete items and
// text: each records its opposite change into the current group before it changes anything.
#include "vizivodu/editing/data/VDEVDData.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/editing/undo/VDUndo_Records.h"

#include "platform/rtl/ScopeExit.h"

#include <algorithm>

namespace vizivodu {

namespace {

size_t CharBytes(const TCustomVDItemInfo &item) {
    return item.ItemOptions.Contains(vdioUnicode) ? 2 : 1;
}

} // namespace

// ---- Groups ----

void TVDEditVDData::BeginUndoSequence(TVDUndoType undoType, bool allowFinalize) {
    BeginNamedUndoSequence(undoType, {}, allowFinalize);
}

void TVDEditVDData::BeginNamedUndoSequence(TVDUndoType undoType, const rtl::UnicodeString &caption,
                                           bool allowFinalize) {
    if (allowFinalize) {
        FinalizeUndoGroup();
    }
    UndoDest = udUndo;
    if (!UndoList->BeginItem(undoType, caption, GetCurItemNo(), GetOffsetInCurItem())) {
        UndoDest = udNone;
    }
}

void TVDEditVDData::BeginRedoSequence(TVDUndoType undoType, const rtl::UnicodeString &caption) {
    UndoDest = udRedo;
    if (!RedoList->BeginItem(undoType, caption, GetCurItemNo(), GetOffsetInCurItem())) {
        UndoDest = udNone;
    }
}

void TVDEditVDData::EndUndoSequence() {
    UndoList->EndItem();
}

void TVDEditVDData::FinalizeUndoGroup() {
    if (State.Contains(vdstFinalizingUndo)) {
        return;
    }
    const rtl::TFlagScope finalizing(State, vdstFinalizingUndo);
    TCustomVDItemInfo *item = FPartialSelectedItem ? FPartialSelectedItem : GetChosenItem();
    (void)item; // items with pending inner work (the table's cell editor) close it here
}

TVDUndoList *TVDEditVDData::GetUndoList() {
    switch (UndoDest) {
    case udUndo:
        return UndoList->Limit == 0 ? nullptr : UndoList.get();
    case udRedo:
        return RedoList.get();
    case udNone:
        break;
    }
    return nullptr;
}

int32_t TVDEditVDData::GetParaEndItemNo(int32_t itemNo) {
    while (itemNo + 1 < ItemCount() && !IsVisibleParaStart(itemNo + 1)) {
        ++itemNo;
    }
    return itemNo;
}

// ---- Items ----

void TVDEditVDData::Do_InsertItem(int32_t itemNo, TVDRawByteString &s,
                                  std::unique_ptr<TCustomVDItemInfo> item, bool fromUndo,
                                  bool &fullReformat) {
    fullReformat = false;
    int32_t lastAffected = -1;
    if (item->CanBeBorderStart() && itemNo < ItemCount() && !GetItem(itemNo)->CanBeBorderStart()) {
        lastAffected = GetParaEndItemNo(itemNo);
    }
    std::unique_ptr<TVDCPInfo> checkpoint(item->Checkpoint);
    item->Checkpoint = nullptr;
    if (checkpoint) {
        checkpoint->ItemInfo = nullptr;
    }
    if (TVDUndoList *list = GetUndoList()) {
        auto info = std::make_unique<TVDUndoInsertItemInfo>();
        info->Action = vduInsertItem;
        info->ItemNo = itemNo;
        info->LastAffectedItemNo = lastAffected;
        list->AddInfo(std::move(info));
    }
    TCustomVDItemInfo &added = *item;
    added.Inserting(this, s, true);
    GetItems().InsertObject(itemNo, s, std::move(item));
    added.Inserted(this, itemNo);
    DoOnAddSpecialItem(itemNo);
    if (fromUndo) {
        added.MovingFromUndoList(itemNo, this);
    }
    if (lastAffected >= 0) {
        bool fr = false;
        Do_Para(itemNo + 1, lastAffected + 1, added.ParaNo, fr);
    }
    if (checkpoint) {
        Do_AddCP(itemNo, std::move(checkpoint));
    }
}

void TVDEditVDData::Do_InsertItems(int32_t itemNo,
                                   std::vector<std::unique_ptr<TCustomVDItemInfo>> &items,
                                   bool fromUndo, bool &fullReformat) {
    fullReformat = false;
    if (items.empty()) {
        return;
    }
    const int32_t count = static_cast<int32_t>(items.size());
    TVDUndoInsertItemsInfo *ui = Do_InsertItems_1(itemNo, count);
    for (auto &entry : items) {
        TCustomVDItemInfo &added = *entry;
        TVDRawByteString s = added.ItemText;
        added.Inserting(this, s, true);
        GetItems().InsertObject(itemNo, s, std::move(entry));
        added.Inserted(this, itemNo);
        DoOnAddSpecialItem(itemNo);
        if (fromUndo) {
            added.MovingFromUndoList(itemNo, this);
        }
    }
    items.clear();
    Do_InsertItems_2(itemNo, count, ui, fullReformat);
}

TVDUndoInsertItemsInfo *TVDEditVDData::Do_InsertItems_1(int32_t itemNo, int32_t count) {
    TVDUndoList *list = GetUndoList();
    if (count == 0 || !list) {
        return nullptr;
    }
    auto info = std::make_unique<TVDUndoInsertItemsInfo>();
    info->Action = vduInsertItems;
    info->ItemNo = itemNo;
    info->Count = count;
    TVDUndoInsertItemsInfo *result = info.get();
    list->AddInfo(std::move(info));
    return result;
}

void TVDEditVDData::Do_InsertItems_2(int32_t itemNo, int32_t count, TVDUndoInsertItemsInfo *ui,
                                     bool &fullReformat) {
    fullReformat = false;
    if (count == 0) {
        return;
    }
    const int32_t last = itemNo + count - 1;
    int32_t lastAffected = -1;
    if (itemNo + count < ItemCount() && !IsVisibleParaStart(itemNo + count)) {
        lastAffected = GetParaEndItemNo(last);
    }
    if (ui) {
        ui->LastAffectedItemNo = lastAffected;
    }
    if (lastAffected != -1) {
        bool fr = false;
        Do_Para(last, lastAffected, GetItem(last)->ParaNo, fr);
    }
    for (int32_t i = itemNo; i <= last; ++i) {
        if (TVDCPInfo *cp = GetItem(i)->Checkpoint) {
            GetItem(i)->Checkpoint = nullptr;
            cp->ItemInfo = nullptr;
            Do_AddCP(i, std::unique_ptr<TVDCPInfo>(cp));
        }
    }
}

void TVDEditVDData::Do_DeleteItem(int32_t itemNo, bool &fullReformat) {
    const int32_t before = CalculateMinItemWidthPlusEx(itemNo);
    fullReformat = before == DocumentWidth;
    if (GetItem(itemNo)->Checkpoint) {
        Do_DeleteCP(itemNo);
    }
    TVDUndoList *list = GetUndoList();
    TVDUndoDeleteItemInfo *info = nullptr;
    if (list) {
        auto record = std::make_unique<TVDUndoDeleteItemInfo>();
        record->Action = vduDeleteItem;
        record->ItemNo = itemNo;
        record->s = GetItemTextR(itemNo);
        info = record.get();
        list->AddInfo(std::move(record));
    }
    if (!info) {
        FreeItem(itemNo, false);
        GetItems().Delete(itemNo);
        return;
    }
    // Markers, sequence items and print fields leave their lists themselves as they move to
    // the undo list; unregistering them again here failed on the missing entry.
    GetItem(itemNo)->MovingToUndoList(itemNo, this);
    info->Item = GetItems().ReleaseObject(itemNo);
    GetItems().Delete(itemNo);
}

void TVDEditVDData::Do_DeleteItems(int32_t startItemNo, int32_t endItemNo, bool &fullReformat) {
    fullReformat = false;
    if (endItemNo < startItemNo) {
        return;
    }
    fullReformat = CalculateMinItemsWidthPlusEx(startItemNo, endItemNo) == DocumentWidth;
    for (int32_t i = endItemNo; i >= startItemNo; --i) {
        if (GetItem(i)->Checkpoint) {
            Do_DeleteCP(i);
        }
    }
    TVDUndoList *list = GetUndoList();
    TVDUndoDeleteItemsInfo *info = nullptr;
    if (list) {
        auto record = std::make_unique<TVDUndoDeleteItemsInfo>();
        record->Action = vduDeleteItems;
        record->StartItemNo = startItemNo;
        info = record.get();
        list->AddInfo(std::move(record));
    }
    if (!info) {
        DeleteItems(startItemNo, endItemNo - startItemNo + 1);
        return;
    }
    for (int32_t i = endItemNo; i >= startItemNo; --i) {
        GetItem(i)->MovingToUndoList(i, this);
        info->List.push_back(GetItems().ReleaseObject(i));
    }
    GetItems().Delete(startItemNo, endItemNo - startItemNo + 1);
}

// ---- Text ----

void TVDEditVDData::StoreTypedText(int32_t itemNo, TVDRawByteString s) {
    GetItems().SetItem(itemNo, std::move(s));
}

void TVDEditVDData::Do_InsertSubstring(int32_t itemNo, int32_t index, const TVDRawByteString &s) {
    if (itemNo < 0 || itemNo >= ItemCount() || !GetItem(itemNo)->IsText()) {
        throw rtl::Exception(errmsg::UndoError);
    }
    if (s.empty()) {
        return;
    }
    TCustomVDItemInfo &item = *GetItem(itemNo);
    const size_t bytes = CharBytes(item);
    if (TVDUndoList *list = GetUndoList()) {
        auto info = std::make_unique<TVDUndoInsertSubstringInfo>();
        info->Action = vduInsertSubstring;
        info->ItemNo = itemNo;
        info->Index = index;
        info->Length = static_cast<int32_t>(s.size() / bytes);
        list->AddInfo(std::move(info));
    }
    TVDRawByteString text = item.ItemText;
    const size_t at = std::min(text.size(), static_cast<size_t>(index - 1) * bytes);
    text.insert(at, s);
    ItemAction(vdiaTextModifying, item, text, *this);
    item.ItemText = std::move(text);
}

void TVDEditVDData::Do_DeleteSubstring(int32_t itemNo, int32_t index, int32_t aLength) {
    if (aLength == 0) {
        return;
    }
    TCustomVDItemInfo &item = *GetItem(itemNo);
    const size_t bytes = CharBytes(item);
    TVDRawByteString text = item.ItemText;
    const size_t at = std::min(text.size(), static_cast<size_t>(index - 1) * bytes);
    const size_t n = aLength < 0 ? text.size() - at
                                 : std::min(text.size() - at, static_cast<size_t>(aLength) * bytes);
    if (TVDUndoList *list = GetUndoList()) {
        auto info = std::make_unique<TVDUndoDeleteSubstringInfo>();
        info->Action = vduDeleteSubstring;
        info->ItemNo = itemNo;
        info->Index = index;
        info->s = text.substr(at, n);
        list->AddInfo(std::move(info));
    }
    text.erase(at, n);
    ItemAction(vdiaTextModifying, item, text, *this);
    item.ItemText = std::move(text);
}

void TVDEditVDData::Do_ChangeTextR(int32_t itemNo, const TVDRawByteString &s) {
    TCustomVDItemInfo &item = *GetItem(itemNo);
    if (item.ItemText == s) {
        return;
    }
    if (TVDUndoList *list = GetUndoList()) {
        auto info = std::make_unique<TVDUndoChangeTextInfo>();
        info->Action = vduChangeText;
        info->ItemNo = itemNo;
        info->s = item.ItemText;
        list->AddInfo(std::move(info));
    }
    TVDRawByteString text = s;
    ItemAction(vdiaTextModifying, item, text, *this);
    item.ItemText = std::move(text);
}

void TVDEditVDData::Do_Concate(int32_t firstItemNo) {
    TCustomVDItemInfo *first = GetItem(firstItemNo);
    TCustomVDItemInfo *second = GetItem(firstItemNo + 1);
    bool fr = false;
    if (second->IsText() && second->ItemText.empty()) {
        Do_DeleteItem(firstItemNo + 1, fr);
        return;
    }
    if (first->IsText() && first->ItemText.empty()) {
        if (!first->GetSameAsPrev()) {
            Do_NewLine(firstItemNo + 1, false, first->ParaNo, fr);
            Do_BR(firstItemNo + 1, first->GetBR(), fr);
            Do_ClearTextFlow(firstItemNo + 1, first->GetClearLeft(), first->GetClearRight());
        }
        if (first->Checkpoint && !second->Checkpoint) {
            Do_AddCP(firstItemNo + 1,
                     first->Checkpoint->CreateCopy(GetOptions().Contains(vdoTagsArePChars)));
        }
        Do_DeleteItem(firstItemNo, fr);
        return;
    }
    if (!first->IsText() || !second->IsText() ||
        first->ItemOptions.Contains(vdioUnicode) != second->ItemOptions.Contains(vdioUnicode)) {
        return;
    }
    Do_InsertSubstring(firstItemNo, ItemLength(firstItemNo) + 1, second->ItemText);
    if (second->Checkpoint && !first->Checkpoint) {
        Do_MoveCP(firstItemNo + 1, firstItemNo);
    }
    Do_DeleteItem(firstItemNo + 1, fr);
}

} // namespace vizivodu
