// The undoable primitives of paragraphs, lines, styles, tags, item properties and
// checkpoints: each has a no-change test and records its opposite change first.
#include "vizivodu/editing/data/VDEVDData.h"

#include "vizivodu/editing/undo/VDUndo_Records.h"
#include "vizivodu/styles/VDStyle.h"

#include <algorithm>

namespace vizivodu {

namespace {

template <class T> T *Record(TVDEditVDData &doc, TVDUndoAction action, int32_t itemNo) {
    TVDUndoList *list = doc.GetUndoList();
    if (!list) {
        return nullptr;
    }
    auto info = std::make_unique<T>();
    info->Action = action;
    info->ItemNo = itemNo;
    T *result = info.get();
    list->AddInfo(std::move(info));
    return result;
}

} // namespace

bool TVDEditVDData::Do_Para(int32_t firstItemNo, int32_t endItemNo, int32_t paraNo,
                            bool &fullReformat) {
    fullReformat = false;
    if (endItemNo < firstItemNo) {
        return false;
    }
    endItemNo = std::min(endItemNo, ItemCount() - 1);
    if (TVDUndoList *list = GetUndoList()) {
        auto info = std::make_unique<TVDUndoParaListInfo>();
        info->Action = vduPara;
        info->StartItemNo = firstItemNo;
        for (int32_t i = firstItemNo; i <= endItemNo; ++i) {
            info->List.push_back(GetItem(i)->ParaNo);
        }
        list->AddInfo(std::move(info));
    }
    const TParaInfos &paras = GetVDStyle()->GetParaStyles();
    bool changed = false;
    for (int32_t i = firstItemNo; i <= endItemNo; ++i) {
        TCustomVDItemInfo &item = *GetItem(i);
        if (item.ParaNo == paraNo) {
            continue;
        }
        const bool protectedPara =
            item.ParaNo >= 0 && item.ParaNo < paras.GetCount() &&
            paras.GetItem(item.ParaNo).GetOptions().Contains(vdpaoStyleProtect);
        const bool follows = i > 0 && !item.CanBeBorderStart() && GetItem(i - 1)->ParaNo == paraNo;
        if (!protectedPara || follows) {
            item.ParaNo = paraNo;
            changed = true;
        }
    }
    if (changed) {
        fullReformat = CalculateMinItemsWidthPlusEx(firstItemNo, endItemNo) > DocumentWidth;
    }
    return changed;
}

bool TVDEditVDData::Do_ParaList(int32_t startItemNo, const std::vector<int32_t> &paraList,
                                bool &fullReformat) {
    fullReformat = false;
    if (paraList.empty()) {
        return false;
    }
    const int32_t count =
        std::min(static_cast<int32_t>(paraList.size()), ItemCount() - startItemNo);
    const int32_t before = CalculateMinItemsWidthPlusEx(startItemNo, startItemNo + count - 1);
    if (TVDUndoList *list = GetUndoList()) {
        auto info = std::make_unique<TVDUndoParaListInfo>();
        info->Action = vduPara;
        info->StartItemNo = startItemNo;
        for (int32_t i = 0; i < count; ++i) {
            info->List.push_back(GetItem(startItemNo + i)->ParaNo);
        }
        list->AddInfo(std::move(info));
    }
    bool changed = false;
    for (int32_t i = 0; i < count; ++i) {
        TCustomVDItemInfo &item = *GetItem(startItemNo + i);
        changed = changed || item.ParaNo != paraList[static_cast<size_t>(i)];
        item.ParaNo = paraList[static_cast<size_t>(i)];
    }
    const int32_t after = CalculateMinItemsWidthPlusEx(startItemNo, startItemNo + count - 1);
    fullReformat = before != after && (after > DocumentWidth || before >= DocumentWidth);
    return changed;
}

void TVDEditVDData::Do_StyleNo(int32_t itemNo, int32_t styleNo) {
    TCustomVDItemInfo &item = *GetItem(itemNo);
    if (item.StyleNo < 0 || item.StyleNo == styleNo) {
        return;
    }
    if (auto *info = Record<TVDUndoStyleNoInfo>(*this, vduStyleNo, itemNo)) {
        info->WasStyleNo = item.StyleNo;
    }
    const bool wasUnicode = IsUnicodeStyle(GetActualStyleEx(item.StyleNo, item.ParaNo));
    const bool isUnicode = IsUnicodeStyle(GetActualStyleEx(styleNo, item.ParaNo));
    item.StyleNo = styleNo;
    if (isUnicode && !wasUnicode) {
        item.ItemOptions.Include(vdioUnicode);
    } else if (!isUnicode && wasUnicode) {
        item.ItemOptions.Exclude(vdioUnicode);
    }
}

void TVDEditVDData::Do_AssociatedTextStyleNo(int32_t itemNo, int32_t textStyleNo) {
    TCustomVDItemInfo &item = *GetItem(itemNo);
    if (item.GetAssociatedTextStyleNo() == textStyleNo) {
        return;
    }
    if (auto *info = Record<TVDUndoAssociatedTextStyleNoInfo>(*this, vduStyleNo, itemNo)) {
        info->WasStyleNo = item.GetAssociatedTextStyleNo();
    }
    item.SetAssociatedTextStyleNo(textStyleNo);
}

void TVDEditVDData::Do_NewLine(int32_t itemNo, bool sameAsPrev, int32_t paraNo,
                               bool &fullReformat) {
    fullReformat = false;
    TCustomVDItemInfo &item = *GetItem(itemNo);
    if (item.GetBoolValue(vdbpFullWidth) || (!sameAsPrev && !item.GetSameAsPrev())) {
        return;
    }
    bool fr = false;
    if (sameAsPrev) {
        Do_BR(itemNo, false, fr);
        Do_PageBreak(itemNo, false);
    }
    int32_t lastAffected = -1;
    if (itemNo + 1 < ItemCount() && !GetItem(itemNo + 1)->CanBeBorderStart()) {
        lastAffected = GetParaEndItemNo(itemNo + 1);
    }
    if (auto *info = Record<TVDUndoNewLineInfo>(*this, vduNewLine, itemNo)) {
        info->WasSameAsPrev = item.GetSameAsPrev();
        info->WasParaNo = item.ParaNo;
        info->LastAffectedItemNo = lastAffected;
    }
    if (lastAffected == -1) {
        lastAffected = itemNo;
    }
    if (sameAsPrev && itemNo > 0) {
        Do_Para(itemNo, lastAffected, GetItem(itemNo - 1)->ParaNo, fr);
    } else if (!sameAsPrev && paraNo != -1) {
        Do_Para(itemNo, lastAffected, paraNo, fr);
    }
    fullReformat = fr;
    item.SetSameAsPrev(sameAsPrev);
}

void TVDEditVDData::Do_BR(int32_t itemNo, bool br, bool &fullReformat) {
    fullReformat = false;
    TCustomVDItemInfo &item = *GetItem(itemNo);
    if (item.GetSameAsPrev() || item.GetBR() == br || item.GetBoolValue(vdbpFullWidth)) {
        return;
    }
    const int32_t before = CalculateMinItemWidthPlusEx(itemNo);
    if (auto *info = Record<TVDUndoBRInfo>(*this, vduBR, itemNo)) {
        info->WasBR = item.GetBR();
    }
    item.SetBR(br);
    const int32_t after = CalculateMinItemWidthPlusEx(itemNo);
    fullReformat = before != after && (after > DocumentWidth || before >= DocumentWidth);
}

void TVDEditVDData::Do_PageBreak(int32_t itemNo, bool pageBreak) {
    if (itemNo > 0 && GetItem(itemNo - 1)->StyleNo == StyleNoListMarker) {
        --itemNo;
    }
    TCustomVDItemInfo &item = *GetItem(itemNo);
    const bool current = item.GetSameAsPrev() || item.GetPageBreakBefore();
    if (current == pageBreak) {
        return;
    }
    if (auto *info = Record<TVDUndoPageBreakInfo>(*this, vduPageBreak, itemNo)) {
        info->WasPageBreak = item.GetPageBreakBefore();
    }
    item.SetPageBreakBefore(pageBreak);
}

void TVDEditVDData::Do_ClearTextFlow(int32_t itemNo, bool left, bool right) {
    if (itemNo > 0 && GetItem(itemNo - 1)->StyleNo == StyleNoListMarker) {
        --itemNo;
    }
    TCustomVDItemInfo &item = *GetItem(itemNo);
    if (item.GetSameAsPrev() || (item.GetClearLeft() == left && item.GetClearRight() == right)) {
        return;
    }
    if (auto *info = Record<TVDUndoClearTextFlowInfo>(*this, vduPageBreak, itemNo)) {
        info->WasClearLeft = item.GetClearLeft();
        info->WasClearRight = item.GetClearRight();
    }
    item.SetClearLeft(left);
    item.SetClearRight(right);
}

void TVDEditVDData::Do_Tag(int32_t itemNo, const TVDTag &tag, bool) {
    TCustomVDItemInfo &item = *GetItem(itemNo);
    if (item.Tag == tag) {
        return;
    }
    if (auto *info = Record<TVDUndoTagInfo>(*this, vduTag, itemNo)) {
        info->WasTag = item.Tag;
        info->TagsArePChars = GetOptions().Contains(vdoTagsArePChars);
    }
    item.Tag = tag;
}

void TVDEditVDData::Do_ExtraIntProperty(int32_t itemNo, int32_t prop, int32_t value) {
    int32_t old = 0;
    if (!GetItemExtraIntPropertyEx(itemNo, prop, old) || old == value) {
        return;
    }
    if (auto *info = Record<TVDUndoExtraIntProperty>(*this, vduModifyItem, itemNo)) {
        info->Prop = prop;
        info->OldValue = old;
    }
    SetItemExtraIntPropertyEx(itemNo, prop, value);
}

void TVDEditVDData::Do_ExtraStrProperty(int32_t itemNo, int32_t prop,
                                        const rtl::UnicodeString &value) {
    rtl::UnicodeString old;
    if (!GetItemExtraStrPropertyEx(itemNo, prop, old) || old == value) {
        return;
    }
    if (auto *info = Record<TVDUndoExtraStrProperty>(*this, vduModifyItem, itemNo)) {
        info->Prop = prop;
        info->OldValue = old;
    }
    SetItemExtraStrPropertyEx(itemNo, prop, value);
}

void TVDEditVDData::Do_ChangeVAlign(int32_t itemNo, TVDVAlign vAlign) {
    if (GetItemVAlign(itemNo) == vAlign) {
        return;
    }
    if (auto *info = Record<TVDUndoChangeVAlignInfo>(*this, vduChangeText, itemNo)) {
        info->VAlign = GetItemVAlign(itemNo);
    }
    SetItemVAlign(itemNo, vAlign);
}

// ---- Checkpoints ----

void TVDEditVDData::Do_AddCP(int32_t itemNo, std::unique_ptr<TVDCPInfo> checkpoint) {
    if (!checkpoint) {
        return;
    }
    TCustomVDItemInfo *item = itemNo >= 0 ? GetItem(itemNo) : nullptr;
    if (item ? item->Checkpoint != nullptr : NotAddedCP != nullptr) {
        throw EViziVoduError(errmsg::CheckpointError);
    }
    Record<TVDUndoAddCPInfo>(*this, vduCheckpoint, itemNo);
    TVDCPInfo *cp = checkpoint.release();
    ++CPCount;
    if (!item) {
        NotAddedCP = cp;
        return;
    }
    item->Checkpoint = cp;
    cp->ItemInfo = item;
    cp->ItemNo = itemNo;
    UpdateCPPos(*cp, itemNo);
}

void TVDEditVDData::Do_DeleteCP(int32_t itemNo) {
    TCustomVDItemInfo *item = itemNo >= 0 ? GetItem(itemNo) : nullptr;
    TVDCPInfo *&slot = item ? item->Checkpoint : NotAddedCP;
    if (!slot) {
        throw EViziVoduError(errmsg::CheckpointError);
    }
    if (auto *info = Record<TVDUndoDeleteCPInfo>(*this, vduCheckpoint, itemNo)) {
        info->TagsArePChars = GetOptions().Contains(vdoTagsArePChars);
        if (item) {
            UnlinkCheckpoint(*slot, true);
        } else {
            --CPCount;
        }
        info->Checkpoint.reset(slot);
        slot = nullptr;
        return;
    }
    FreeCheckpoint(slot, item != nullptr, true);
}

void TVDEditVDData::Do_MoveCP(int32_t srcItemNo, int32_t destItemNo) {
    TCustomVDItemInfo *src = GetItem(srcItemNo);
    if (!src->Checkpoint) {
        return;
    }
    if (GetItem(destItemNo)->Checkpoint) {
        Do_DeleteCP(destItemNo);
    }
    std::unique_ptr<TVDCPInfo> copy =
        src->Checkpoint->CreateCopy(GetOptions().Contains(vdoTagsArePChars));
    Do_AddCP(destItemNo, std::move(copy));
    Do_DeleteCP(srcItemNo);
}

void TVDEditVDData::Do_ReformateRange(int32_t startNo, int32_t endNo, bool superReformat) {
    if (auto *info = Record<TVDUndoReformateRange>(*this, vduMisc, startNo)) {
        info->LastAffectedItemNo = endNo;
        info->SuperReformat = superReformat;
    }
}

} // namespace vizivodu
