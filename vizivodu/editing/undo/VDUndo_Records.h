// The undo record family: what each record keeps to reverse one primitive change, how it
// reverses it (through the opposite primitive) and how it answers the group worker.
#pragma once

#include "vizivodu/editing/undo/VDUndo.h"

#include <memory>
#include <vector>

namespace vizivodu {

class TCustomVDItemInfo;
class TVDCPInfo;

// ---- Base classes ----

class TVDUndoItemNoInfo : public TVDUndoInfo {
public:
    int32_t ItemNo = 0;
    int32_t LastAffectedItemNo = -1;
    bool SetItemsRange(int32_t &startItem, int32_t &endItem, TVDEditVDData &) override;
};

class TVDUndoRawStringInfo : public TVDUndoItemNoInfo {
public:
    TVDRawByteString s;
};

class TVDUndoSubStringInfo : public TVDUndoRawStringInfo {
public:
    int32_t Index = 0;
};

// Owns a deleted or replaced item until its Undo gives it back to the document.
class TVDUndoItemInfo : public TVDUndoRawStringInfo {
public:
    ~TVDUndoItemInfo() override;
    std::unique_ptr<TCustomVDItemInfo> Item;
};

// Owns item objects (with their text) until its Undo gives them back.
class TVDUndoItemListInfo : public TVDUndoInfo {
public:
    ~TVDUndoItemListInfo() override;
    std::vector<std::unique_ptr<TCustomVDItemInfo>> List;
};

class TVDUndoItemRangeInfo : public TVDUndoItemListInfo {
public:
    int32_t StartItemNo = 0;
    int32_t LastAffectedItemNo = -1;
    bool SetItemsRange(int32_t &startItem, int32_t &endItem, TVDEditVDData &) override;
};

class TVDUndoListInfo : public TVDUndoInfo {
public:
    std::vector<int32_t> List;
};

// The group worker asks only the outermost pair about the item's width.
class TVDUndoModifyItemProps : public TVDUndoItemNoInfo {
public:
    int32_t OldW = 0;
    bool AffectWidth = false;
    bool AffectSize = false;
    bool RequiresFormat() override { return AffectSize; }
    bool RequiresFullReformat1(TVDEditVDData &vdData) override;
    bool RequiresFullReformat2(TVDEditVDData &vdData) override;
};

class TVDUndoModifyItemTerminator : public TVDUndoModifyItemProps {
public:
    TVDUndoModifyItemTerminator() {
        AffectWidth = AffectSize = true;
        Action = vduModifyItem;
    }
    bool Opening = false;
    void Undo(TVDEditVDData &vdData) override;
};

// Holds a nested undo list (a table cell's changes); one nested group per Undo.
class TVDCompositeUndo : public TVDUndoInfo {
public:
    TVDCompositeUndo();
    int32_t ItemNo = 0;
    bool IsRedo = false;
    std::unique_ptr<TVDUndoList> UndoList;
    bool RequiresFormat() override { return false; }
    bool SetItemsRange(int32_t &startItem, int32_t &endItem, TVDEditVDData &) override;
    void Undo(TVDEditVDData &vdData) override;
};

// ---- One item and its text ----

class TVDUndoInsertItemInfo : public TVDUndoItemNoInfo {
public:
    bool FR = false;
    void Undo(TVDEditVDData &vdData) override;
    int32_t ItemsAdded() override { return -1; }
    bool RequiresFullReformat1(TVDEditVDData &vdData) override;
    bool RequiresFullReformat2(TVDEditVDData &) override { return FR; }
};

class TVDUndoInsertItemsInfo : public TVDUndoItemNoInfo {
public:
    bool FR = false;
    int32_t Count = 0;
    void Undo(TVDEditVDData &vdData) override;
    int32_t ItemsAdded() override { return -Count; }
    bool RequiresFullReformat1(TVDEditVDData &vdData) override;
    bool RequiresFullReformat2(TVDEditVDData &) override { return FR; }
};

class TVDUndoDeleteItemInfo : public TVDUndoItemInfo {
public:
    bool FR = false;
    void Undo(TVDEditVDData &vdData) override;
    int32_t ItemsAdded() override { return 1; }
    bool RequiresFullReformat2(TVDEditVDData &vdData) override;
};

class TVDUndoDeleteItemsInfo : public TVDUndoItemRangeInfo {
public:
    int32_t EndItemNo = 0;
    bool FR = false;
    void Undo(TVDEditVDData &vdData) override;
    int32_t ItemsAdded() override { return static_cast<int32_t>(List.size()); }
    bool RequiresFullReformat2(TVDEditVDData &vdData) override;

private:
    int32_t FInserted = 0;
};

// Records that store the item's minimum width before undoing and compare after it.
class TVDUndoWidthInfo {
public:
    int32_t OldWidth = 0;
    static bool WidthChangeNeedsFullReformat(int32_t itemNo, int32_t oldWidth,
                                             TVDEditVDData &vdData);
};

class TVDUndoInsertSubstringInfo : public TVDUndoItemNoInfo, public TVDUndoWidthInfo {
public:
    int32_t Index = 0;
    int32_t Length = 0;
    void Undo(TVDEditVDData &vdData) override;
    bool RequiresFullReformat2(TVDEditVDData &vdData) override {
        return WidthChangeNeedsFullReformat(ItemNo, OldWidth, vdData);
    }
};

class TVDUndoDeleteSubstringInfo : public TVDUndoSubStringInfo, public TVDUndoWidthInfo {
public:
    void Undo(TVDEditVDData &vdData) override;
    bool RequiresFullReformat2(TVDEditVDData &vdData) override {
        return WidthChangeNeedsFullReformat(ItemNo, OldWidth, vdData);
    }
};

class TVDUndoChangeTextInfo : public TVDUndoRawStringInfo, public TVDUndoWidthInfo {
public:
    void Undo(TVDEditVDData &vdData) override;
    bool RequiresFullReformat2(TVDEditVDData &vdData) override {
        return WidthChangeNeedsFullReformat(ItemNo, OldWidth, vdData);
    }
};

// Typed characters from Index; each Undo removes the last one into the redo list.
class TVDUndoTypingInfo : public TVDUndoInsertSubstringInfo {
public:
    bool Unicode = false;
    void Undo(TVDEditVDData &vdData) override;
};

// Un-typed characters, the first typed last; each Undo puts one back.
class TVDRedoTypingInfo : public TVDUndoSubStringInfo, public TVDUndoWidthInfo {
public:
    bool Unicode = false;
    void Undo(TVDEditVDData &vdData) override;
    bool RequiresFullReformat2(TVDEditVDData &vdData) override {
        return WidthChangeNeedsFullReformat(ItemNo, OldWidth, vdData);
    }
};

class TVDUndoStyleNoInfo : public TVDUndoItemNoInfo, public TVDUndoWidthInfo {
public:
    int32_t WasStyleNo = 0;
    void Undo(TVDEditVDData &vdData) override;
    bool RequiresFullReformat2(TVDEditVDData &vdData) override {
        return WidthChangeNeedsFullReformat(ItemNo, OldWidth, vdData);
    }
};

class TVDUndoAssociatedTextStyleNoInfo : public TVDUndoStyleNoInfo {
public:
    void Undo(TVDEditVDData &vdData) override;
};

class TVDUndoExtraIntProperty : public TVDUndoItemNoInfo, public TVDUndoWidthInfo {
public:
    int32_t OldValue = 0;
    int32_t Prop = 0;
    void Undo(TVDEditVDData &vdData) override;
    bool RequiresFullReformat2(TVDEditVDData &vdData) override {
        return WidthChangeNeedsFullReformat(ItemNo, OldWidth, vdData);
    }
};

class TVDUndoExtraStrProperty : public TVDUndoItemNoInfo {
public:
    rtl::UnicodeString OldValue;
    int32_t Prop = 0;
    void Undo(TVDEditVDData &vdData) override;
    bool RequiresFormat() override { return false; }
};

class TVDUndoChangeVAlignInfo : public TVDUndoItemNoInfo {
public:
    TVDVAlign VAlign = vdvaBaseline;
    void Undo(TVDEditVDData &vdData) override;
};

class TVDUndoTagInfo : public TVDUndoItemNoInfo {
public:
    TVDTag WasTag;
    bool TagsArePChars = false;
    void Undo(TVDEditVDData &vdData) override;
    bool RequiresFormat() override { return false; }
};

// ---- Paragraphs, lines and checkpoints ----

class TVDUndoParaListInfo : public TVDUndoListInfo {
public:
    bool FR = false;
    int32_t StartItemNo = 0;
    void Undo(TVDEditVDData &vdData) override;
    bool RequiresFullReformat2(TVDEditVDData &) override { return FR; }
    bool SetItemsRange(int32_t &startItem, int32_t &endItem, TVDEditVDData &) override;
};

class TVDUndoNewLineInfo : public TVDUndoItemNoInfo {
public:
    bool FR = false;
    bool WasSameAsPrev = false;
    int32_t WasParaNo = 0;
    void Undo(TVDEditVDData &vdData) override;
    bool RequiresFullReformat2(TVDEditVDData &) override { return FR; }
};

class TVDUndoBRInfo : public TVDUndoItemNoInfo {
public:
    bool WasBR = false;
    void Undo(TVDEditVDData &vdData) override;
};

class TVDUndoPageBreakInfo : public TVDUndoItemNoInfo {
public:
    bool WasPageBreak = false;
    void Undo(TVDEditVDData &vdData) override;
};

class TVDUndoClearTextFlowInfo : public TVDUndoItemNoInfo {
public:
    bool WasClearLeft = false;
    bool WasClearRight = false;
    void Undo(TVDEditVDData &vdData) override;
};

class TVDUndoAddCPInfo : public TVDUndoItemNoInfo {
public:
    void Undo(TVDEditVDData &vdData) override;
};

class TVDUndoDeleteCPInfo : public TVDUndoItemNoInfo {
public:
    std::unique_ptr<TVDCPInfo> Checkpoint;
    bool TagsArePChars = false;
    ~TVDUndoDeleteCPInfo() override;
    void Undo(TVDEditVDData &vdData) override;
};

class TVDUndoReformateRange : public TVDUndoItemNoInfo {
public:
    bool SuperReformat = false;
    void Undo(TVDEditVDData &vdData) override;
    bool RequiresSuperFormat() override { return SuperReformat; }
};

} // namespace vizivodu
