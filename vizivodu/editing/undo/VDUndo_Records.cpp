// The undo records: each reverses its change through the opposite primitive of the editable
// document, which records the change back into the group open at that moment.
#include "vizivodu/editing/undo/VDUndo_Records.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/editing/data/VDEVDData.h"

namespace vizivodu {

namespace {

// A kept item that never went back to the document: the document hears of its end.
void FreeUndoItem(std::unique_ptr<TCustomVDItemInfo> item, TCustomVDFormattedData *vdData) {
    if (!item) {
        return;
    }
    if (vdData) {
        TVDRawByteString text;
        vdData->ItemAction(vdiaDestroying, *item, text, *vdData);
        vdData->ControlAction(vdData, vdcaDestroyInUndoList, -1, *item);
    }
    item->Tag.clear();
    if (item->Checkpoint) {
        std::unique_ptr<TVDCPInfo> cp(item->Checkpoint);
        item->Checkpoint = nullptr;
    }
}

} // namespace

bool TVDUndoItemNoInfo::SetItemsRange(int32_t &startItem, int32_t &endItem, TVDEditVDData &) {
    if (ItemNo < 0) {
        return false;
    }
    startItem = ItemNo;
    endItem = LastAffectedItemNo >= 0 ? LastAffectedItemNo : ItemNo;
    return true;
}

TVDUndoItemInfo::~TVDUndoItemInfo() {
    FreeUndoItem(std::move(Item), GetUndoListOwnerVDData());
}

TVDUndoItemListInfo::~TVDUndoItemListInfo() {
    for (auto &item : List) {
        FreeUndoItem(std::move(item), GetUndoListOwnerVDData());
    }
}

bool TVDUndoItemRangeInfo::SetItemsRange(int32_t &startItem, int32_t &endItem, TVDEditVDData &) {
    startItem = StartItemNo;
    endItem = LastAffectedItemNo != -1 ? LastAffectedItemNo
                                       : StartItemNo + static_cast<int32_t>(List.size());
    return true;
}

bool TVDUndoModifyItemProps::RequiresFullReformat1(TVDEditVDData &vdData) {
    if (!(AffectSize && AffectWidth)) {
        return false;
    }
    OldW = vdData.CalculateMinItemWidthPlusEx(ItemNo);
    return OldW >= vdData.DocumentWidth;
}

bool TVDUndoModifyItemProps::RequiresFullReformat2(TVDEditVDData &vdData) {
    if (!(AffectSize && AffectWidth)) {
        return false;
    }
    const int32_t w = vdData.CalculateMinItemWidthPlusEx(ItemNo);
    return w != OldW && w > vdData.DocumentWidth;
}

void TVDUndoModifyItemTerminator::Undo(TVDEditVDData &vdData) {
    if (TVDUndoList *list = vdData.GetUndoList()) {
        auto opposite = std::make_unique<TVDUndoModifyItemTerminator>();
        opposite->ItemNo = ItemNo;
        opposite->Opening = !Opening;
        list->AddInfo(std::move(opposite));
    }
}

TVDCompositeUndo::TVDCompositeUndo() : UndoList(std::make_unique<TVDUndoList>(nullptr)) {}

bool TVDCompositeUndo::SetItemsRange(int32_t &startItem, int32_t &endItem, TVDEditVDData &) {
    startItem = endItem = ItemNo;
    return true;
}

void TVDCompositeUndo::Undo(TVDEditVDData &vdData) {
    UndoList->Undo(vdData);
}

// ---- Items and text ----

bool TVDUndoWidthInfo::WidthChangeNeedsFullReformat(int32_t itemNo, int32_t oldWidth,
                                                    TVDEditVDData &vdData) {
    const int32_t w = vdData.DocumentWidth;
    const int32_t n = vdData.CalculateMinItemWidthPlusEx(itemNo);
    return n != oldWidth && (oldWidth >= w || n > w);
}

void TVDUndoInsertItemInfo::Undo(TVDEditVDData &vdData) {
    vdData.Do_DeleteItem(ItemNo, FR);
}

bool TVDUndoInsertItemInfo::RequiresFullReformat1(TVDEditVDData &vdData) {
    return vdData.CalculateMinItemWidthPlusEx(ItemNo) >= vdData.DocumentWidth;
}

void TVDUndoInsertItemsInfo::Undo(TVDEditVDData &vdData) {
    vdData.Do_DeleteItems(ItemNo, ItemNo + Count - 1, FR);
}

bool TVDUndoInsertItemsInfo::RequiresFullReformat1(TVDEditVDData &vdData) {
    return vdData.CalculateMinItemsWidthPlusEx(ItemNo, ItemNo + Count - 1) >= vdData.DocumentWidth;
}

void TVDUndoDeleteItemInfo::Undo(TVDEditVDData &vdData) {
    vdData.Do_InsertItem(ItemNo, s, std::move(Item), true, FR);
}

bool TVDUndoDeleteItemInfo::RequiresFullReformat2(TVDEditVDData &vdData) {
    return FR || vdData.CalculateMinItemWidthPlusEx(ItemNo) > vdData.DocumentWidth;
}

void TVDUndoDeleteItemsInfo::Undo(TVDEditVDData &vdData) {
    FInserted = static_cast<int32_t>(List.size());
    vdData.Do_InsertItems(StartItemNo, List, true, FR);
    EndItemNo = StartItemNo + FInserted - 1;
    List.clear();
}

bool TVDUndoDeleteItemsInfo::RequiresFullReformat2(TVDEditVDData &vdData) {
    return FR || vdData.CalculateMinItemsWidthPlusEx(StartItemNo, EndItemNo) > vdData.DocumentWidth;
}

void TVDUndoInsertSubstringInfo::Undo(TVDEditVDData &vdData) {
    OldWidth = vdData.CalculateMinItemWidthPlusEx(ItemNo);
    vdData.Do_DeleteSubstring(ItemNo, Index, Length);
}

void TVDUndoDeleteSubstringInfo::Undo(TVDEditVDData &vdData) {
    OldWidth = vdData.CalculateMinItemWidthPlusEx(ItemNo);
    vdData.Do_InsertSubstring(ItemNo, Index, s);
}

void TVDUndoChangeTextInfo::Undo(TVDEditVDData &vdData) {
    OldWidth = vdData.CalculateMinItemWidthPlusEx(ItemNo);
    vdData.Do_ChangeTextR(ItemNo, s);
}

void TVDUndoTypingInfo::Undo(TVDEditVDData &vdData) {
    OldWidth = vdData.CalculateMinItemWidthPlusEx(ItemNo);
    TVDRawByteString text = vdData.GetItemTextR(ItemNo);
    TVDRawByteString c;
    if (Unicode) {
        CheckUnicodeByteLength(text.size());
        const size_t at = 2 * static_cast<size_t>(Index + Length - 2);
        c = text.substr(at, 2);
        text.erase(at, 2);
    } else {
        const size_t at = static_cast<size_t>(Index + Length - 2);
        c = text.substr(at, 1);
        text.erase(at, 1);
    }
    --Length;
    vdData.StoreTypedText(ItemNo, std::move(text));
    vdData.RedoList->AddUntyping(c, ItemNo, Index + Length + 1);
}

void TVDRedoTypingInfo::Undo(TVDEditVDData &vdData) {
    OldWidth = vdData.CalculateMinItemWidthPlusEx(ItemNo);
    TVDRawByteString text = vdData.GetItemTextR(ItemNo);
    int32_t k;
    if (Unicode) {
        CheckUnicodeByteLength(s.size());
        CheckUnicodeByteLength(text.size());
        k = static_cast<int32_t>(s.size() / 2);
        text.insert(2 * static_cast<size_t>(Index - k - 1), s.substr(s.size() - 2));
        s.resize(s.size() - 2);
    } else {
        k = static_cast<int32_t>(s.size());
        text.insert(static_cast<size_t>(Index - k - 1), s.substr(s.size() - 1));
        s.resize(s.size() - 1);
    }
    vdData.StoreTypedText(ItemNo, std::move(text));
    vdData.UndoList->AddTyping(ItemNo, Index - k, Unicode);
}

void TVDUndoStyleNoInfo::Undo(TVDEditVDData &vdData) {
    OldWidth = vdData.CalculateMinItemWidthPlusEx(ItemNo);
    vdData.Do_StyleNo(ItemNo, WasStyleNo);
}

void TVDUndoAssociatedTextStyleNoInfo::Undo(TVDEditVDData &vdData) {
    OldWidth = vdData.CalculateMinItemWidthPlusEx(ItemNo);
    vdData.Do_AssociatedTextStyleNo(ItemNo, WasStyleNo);
}

void TVDUndoExtraIntProperty::Undo(TVDEditVDData &vdData) {
    OldWidth = vdData.CalculateMinItemWidthPlusEx(ItemNo);
    vdData.Do_ExtraIntProperty(ItemNo, Prop, OldValue);
}

void TVDUndoExtraStrProperty::Undo(TVDEditVDData &vdData) {
    vdData.Do_ExtraStrProperty(ItemNo, Prop, OldValue);
}

void TVDUndoChangeVAlignInfo::Undo(TVDEditVDData &vdData) {
    vdData.Do_ChangeVAlign(ItemNo, VAlign);
}

void TVDUndoTagInfo::Undo(TVDEditVDData &vdData) {
    vdData.Do_Tag(ItemNo, WasTag, false);
}

// ---- Paragraphs, lines and checkpoints ----

void TVDUndoParaListInfo::Undo(TVDEditVDData &vdData) {
    vdData.Do_ParaList(StartItemNo, List, FR);
}

bool TVDUndoParaListInfo::SetItemsRange(int32_t &startItem, int32_t &endItem, TVDEditVDData &) {
    startItem = StartItemNo;
    endItem = StartItemNo + static_cast<int32_t>(List.size());
    return true;
}

void TVDUndoNewLineInfo::Undo(TVDEditVDData &vdData) {
    vdData.Do_NewLine(ItemNo, WasSameAsPrev, WasParaNo, FR);
}

void TVDUndoBRInfo::Undo(TVDEditVDData &vdData) {
    bool fullReformat = false;
    vdData.Do_BR(ItemNo, WasBR, fullReformat);
}

void TVDUndoPageBreakInfo::Undo(TVDEditVDData &vdData) {
    vdData.Do_PageBreak(ItemNo, WasPageBreak);
}

void TVDUndoClearTextFlowInfo::Undo(TVDEditVDData &vdData) {
    vdData.Do_ClearTextFlow(ItemNo, WasClearLeft, WasClearRight);
}

void TVDUndoAddCPInfo::Undo(TVDEditVDData &vdData) {
    vdData.Do_DeleteCP(ItemNo);
}

TVDUndoDeleteCPInfo::~TVDUndoDeleteCPInfo() {
    if (Checkpoint) {
        Checkpoint->Tag.clear();
    }
}

void TVDUndoDeleteCPInfo::Undo(TVDEditVDData &vdData) {
    vdData.Do_AddCP(ItemNo, std::move(Checkpoint));
}

void TVDUndoReformateRange::Undo(TVDEditVDData &vdData) {
    vdData.Do_ReformateRange(ItemNo, LastAffectedItemNo, SuperReformat);
}

} // namespace vizivodu
