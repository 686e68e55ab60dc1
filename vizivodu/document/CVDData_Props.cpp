// Item properties by index, paragraph structure, effective text styles, checkpoints and the
// saving-progress protocol of the document.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Bullet.h"
#include "vizivodu/document/VDItem_Control.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Graphic.h"
#include "platform/rtl/Format.h"

namespace vizivodu {

namespace {

[[noreturn]] void Raise(const char16_t *message) {
    throw EViziVoduError(rtl::UnicodeString(message));
}

void CheckNotNil(TCheckpointData cp) {
    if (!cp) {
        Raise(errmsg::NilParameter);
    }
}

} // namespace

// ---- Guards and typed properties ----

void TCustomVDData::CheckItemClass(int32_t itemNo, TVDItemClass itemClass) {
    if (!GetItem(itemNo)->GetClass()->InheritsFrom(itemClass)) {
        Raise(errmsg::WrongItemClass);
    }
}

void TCustomVDData::CheckItemIndex(int32_t itemNo) const {
    if (itemNo < 0 || itemNo >= ItemCount()) {
        Raise(errmsg::ItemIndexOutOfBounds);
    }
}

void TCustomVDData::GetPictureInfo(int32_t itemNo, TVDAnsiString &name, gfx::TGraphic *&gr,
                                   TVDVAlign &vAlign, TVDTag &tag) {
    CheckItemClass(itemNo, &TVDGraphicItemInfo::ClassInfo);
    auto *item = static_cast<TVDGraphicItemInfo *>(GetItem(itemNo));
    name = item->ItemText;
    gr = item->GetImage();
    vAlign = item->VAlign;
    tag = item->Tag;
}

bool TCustomVDData::SetPictureInfo(int32_t itemNo, const TVDAnsiString &name,
                                   std::unique_ptr<gfx::TGraphic> gr, TVDVAlign vAlign,
                                   const TVDTag &tag) {
    CheckItemClass(itemNo, &TVDGraphicItemInfo::ClassInfo);
    auto *item = static_cast<TVDGraphicItemInfo *>(GetItem(itemNo));
    const gfx::TGraphic *old = item->GetImage();
    const bool changed = !old || !gr || old->GetWidth() != gr->GetWidth() ||
                         old->GetHeight() != gr->GetHeight() || item->VAlign != vAlign;
    item->SetImage(std::move(gr), this);
    item->VAlign = vAlign;
    item->Tag = tag;
    item->ItemText = name;
    return changed;
}

void TCustomVDData::GetControlInfo(int32_t itemNo, TVDAnsiString &name, ui::TControl *&ctrl,
                                   TVDVAlign &vAlign, TVDTag &tag) {
    CheckItemClass(itemNo, &TVDControlItemInfo::ClassInfo);
    const auto *item = static_cast<const TVDControlItemInfo *>(GetItem(itemNo));
    name = item->ItemText;
    ctrl = item->GetControl();
    vAlign = item->VAlign;
    tag = item->Tag;
}

bool TCustomVDData::SetControlInfo(int32_t itemNo, const TVDAnsiString &name, TVDVAlign vAlign,
                                   const TVDTag &tag) {
    CheckItemClass(itemNo, &TVDControlItemInfo::ClassInfo);
    auto *item = static_cast<TVDControlItemInfo *>(GetItem(itemNo));
    const bool changed = item->VAlign != vAlign;
    item->ItemText = name;
    item->VAlign = vAlign;
    item->Tag = tag;
    return changed;
}

void TCustomVDData::GetBulletInfo(int32_t itemNo, TVDAnsiString &name, int32_t &imageIndex,
                                  gfx::TCustomImageList *&imageList, TVDTag &tag) {
    CheckItemClass(itemNo, &TVDBulletItemInfo::ClassInfo);
    const auto *item = static_cast<const TVDBulletItemInfo *>(GetItem(itemNo));
    name = item->ItemText;
    imageIndex = item->ImageIndex;
    imageList = item->GetImageList();
    tag = item->Tag;
}

void TCustomVDData::SetBulletInfo(int32_t itemNo, const TVDAnsiString &name, int32_t imageIndex,
                                  gfx::TCustomImageList *, const TVDTag &tag) {
    CheckItemClass(itemNo, &TVDBulletItemInfo::ClassInfo);
    auto *item = static_cast<TVDBulletItemInfo *>(GetItem(itemNo));
    item->ImageIndex = imageIndex;
    item->Tag = tag;
    item->ItemText = name;
}

void TCustomVDData::GetHotspotInfo(int32_t itemNo, TVDAnsiString &name, int32_t &imageIndex,
                                   int32_t &hotImageIndex, gfx::TCustomImageList *&imageList,
                                   TVDTag &tag) {
    CheckItemClass(itemNo, &TVDHotspotItemInfo::ClassInfo);
    GetBulletInfo(itemNo, name, imageIndex, imageList, tag);
    hotImageIndex = static_cast<const TVDHotspotItemInfo *>(GetItem(itemNo))->HotImageIndex;
}

void TCustomVDData::SetHotspotInfo(int32_t itemNo, const TVDAnsiString &name, int32_t imageIndex,
                                   int32_t hotImageIndex, gfx::TCustomImageList *imageList,
                                   const TVDTag &tag) {
    CheckItemClass(itemNo, &TVDHotspotItemInfo::ClassInfo);
    SetBulletInfo(itemNo, name, imageIndex, imageList, tag);
    static_cast<TVDHotspotItemInfo *>(GetItem(itemNo))->HotImageIndex = hotImageIndex;
}

int32_t TCustomVDData::FindControlItemNo(ui::TControl *ctrl) const {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        if (GetItem(i)->OwnsControl(ctrl)) {
            return i;
        }
    }
    return -1;
}

void TCustomVDData::GetBreakInfo(int32_t itemNo, TVDStyleLength &width, TVDBreakStyle &style,
                                 TColor &color, TVDTag &tag) {
    CheckItemClass(itemNo, &TVDBreakItemInfo::ClassInfo);
    const auto *item = static_cast<const TVDBreakItemInfo *>(GetItem(itemNo));
    width = item->LineWidth;
    style = item->Style;
    color = item->Color;
    tag = item->Tag;
}

void TCustomVDData::SetBreakInfo(int32_t itemNo, TVDStyleLength width, TVDBreakStyle style,
                                 TColor color, const TVDTag &tag) {
    CheckItemClass(itemNo, &TVDBreakItemInfo::ClassInfo);
    auto *item = static_cast<TVDBreakItemInfo *>(GetItem(itemNo));
    item->LineWidth = width;
    item->Style = style;
    item->Color = color;
    item->Tag = tag;
}

void TCustomVDData::GetTextInfo(int32_t itemNo, TVDUnicodeString &text, TVDTag &tag) {
    if (GetItemStyle(itemNo) < 0) {
        Raise(errmsg::WrongItemClass);
    }
    tag = GetItem(itemNo)->Tag;
    text = GetItemText(itemNo);
}

TVDTag TCustomVDData::GetItemTag(int32_t itemNo) {
    return GetItem(itemNo)->Tag;
}

void TCustomVDData::SetItemTag(int32_t itemNo, const TVDTag &tag) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (item->Tag != tag) {
        item->Tag = tag;
    }
}

TVDVAlign TCustomVDData::GetItemVAlign(int32_t itemNo) {
    CheckItemClass(itemNo, &TVDRectItemInfo::ClassInfo);
    return static_cast<TVDRectItemInfo *>(GetItem(itemNo))->VAlign;
}

void TCustomVDData::SetItemVAlign(int32_t itemNo, TVDVAlign vAlign) {
    CheckItemClass(itemNo, &TVDRectItemInfo::ClassInfo);
    static_cast<TVDRectItemInfo *>(GetItem(itemNo))->VAlign = vAlign;
}

void TCustomVDData::SetGrouped(int32_t itemNo, bool grouped) {
    GetItem(itemNo)->ItemOptions.Set(vdioGroupWithNext, grouped);
}

TVDItemOptions TCustomVDData::GetItemOptions(int32_t itemNo) {
    return GetItem(itemNo)->ItemOptions;
}

// ---- Extra properties ----

bool TCustomVDData::SetItemExtraIntProperty(int32_t itemNo, TVDExtraItemProperty prop,
                                            int32_t value) {
    return SetItemExtraIntPropertyEx(itemNo, prop, value);
}

bool TCustomVDData::GetItemExtraIntProperty(int32_t itemNo, TVDExtraItemProperty prop,
                                            int32_t &value) {
    return GetItem(itemNo)->GetExtraIntProperty(prop, value);
}

bool TCustomVDData::SetItemExtraIntPropertyEx(int32_t itemNo, int32_t prop, int32_t value) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    const bool accepted = item->SetExtraIntPropertyEx(prop, value);
    if (prop == vdepImageWidth || prop == vdepImageHeight ||
        (prop == vdepAnimationInterval && accepted)) {
        item->UpdateAnimator(this);
    }
    if (auto *seq = dynamic_cast<TVDSeqItemInfo *>(item)) {
        if (prop == TVDSeqItemInfo::PropStartFrom || prop == TVDSeqItemInfo::PropReset) {
            RecountSequencesFrom(*seq);
        } else if (prop == TVDSeqItemInfo::PropNumberType) {
            seq->CalcDisplayString(GetSeqList(false));
        }
    }
    return accepted;
}

void TCustomVDData::RecountSequencesFrom(TVDSeqItemInfo &item) {
    if (TVDSeqList *list = GetSeqList(false)) {
        list->RecalcCounters(item.GetIndexInList(list), GetVDStyle(), true);
    }
}

bool TCustomVDData::GetItemExtraIntPropertyEx(int32_t itemNo, int32_t prop, int32_t &value) {
    return GetItem(itemNo)->GetExtraIntPropertyEx(prop, value);
}

bool TCustomVDData::SetItemExtraStrProperty(int32_t itemNo, TVDExtraItemStrProperty prop,
                                            const rtl::UnicodeString &value) {
    return GetItem(itemNo)->SetExtraStrProperty(prop, value);
}

bool TCustomVDData::GetItemExtraStrProperty(int32_t itemNo, TVDExtraItemStrProperty prop,
                                            rtl::UnicodeString &value) {
    return GetItem(itemNo)->GetExtraStrProperty(prop, value);
}

bool TCustomVDData::SetItemExtraStrPropertyEx(int32_t itemNo, int32_t prop,
                                              const rtl::UnicodeString &value) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    const bool accepted = item->SetExtraStrPropertyEx(prop, value);
    if (auto *seq = dynamic_cast<TVDSeqItemInfo *>(item)) {
        if (prop == TVDSeqItemInfo::StrPropSeqName) {
            RecountSequencesFrom(*seq);
        } else if (prop == TVDSeqItemInfo::StrPropFormatString) {
            seq->CalcDisplayString(GetSeqList(false));
        }
    }
    return accepted;
}

bool TCustomVDData::GetItemExtraStrPropertyEx(int32_t itemNo, int32_t prop,
                                              rtl::UnicodeString &value) {
    return GetItem(itemNo)->GetExtraStrPropertyEx(prop, value);
}

// ---- Paragraph structure ----

bool TCustomVDData::IsFromNewLine(int32_t itemNo) {
    return !GetItem(itemNo)->ItemOptions.Contains(vdioSameAsPrev);
}

bool TCustomVDData::IsParaStart(int32_t itemNo) {
    const TVDItemOptions o = GetItem(itemNo)->ItemOptions;
    return !o.Contains(vdioSameAsPrev) && !o.Contains(vdioBR);
}

int32_t TCustomVDData::GetItemPara(int32_t itemNo) {
    return GetItem(itemNo)->ParaNo;
}

bool TCustomVDData::GetPageBreaksBeforeItems(int32_t index) {
    CheckItemIndex(index);
    return GetItem(index)->GetPageBreakBefore();
}

void TCustomVDData::SetPageBreaksBeforeItems(int32_t index, bool value) {
    CheckItemIndex(index);
    if (index > 0 && GetItem(index - 1)->StyleNo == StyleNoListMarker) {
        --index; // the marker is the first item of its paragraph
    }
    GetItem(index)->SetPageBreakBefore(value);
}

bool TCustomVDData::GetClearLeft(int32_t index) {
    CheckItemIndex(index);
    return GetItem(index)->GetClearLeft();
}

void TCustomVDData::SetClearLeft(int32_t index, bool value) {
    CheckItemIndex(index);
    GetItem(index)->SetClearLeft(value);
}

bool TCustomVDData::GetClearRight(int32_t index) {
    CheckItemIndex(index);
    return GetItem(index)->GetClearRight();
}

void TCustomVDData::SetClearRight(int32_t index, bool value) {
    CheckItemIndex(index);
    GetItem(index)->SetClearRight(value);
}

void TCustomVDData::SpreadParaNoInPara(int32_t itemNo) {
    if (ItemCount() == 0) {
        return;
    }
    itemNo = std::min(itemNo, ItemCount() - 1);
    const int32_t first = GetFirstParaItem(itemNo);
    const int32_t paraNo = GetItem(first)->ParaNo;
    for (int32_t i = first + 1; i < ItemCount() && !IsParaStart(i); ++i) {
        GetItem(i)->ParaNo = paraNo;
    }
}

int32_t TCustomVDData::GetFirstParaItem(int32_t itemNo) {
    while (itemNo > 0 && !IsParaStart(itemNo)) {
        --itemNo;
    }
    return itemNo;
}

int32_t TCustomVDData::GetFirstParaSectionItem(int32_t itemNo) {
    while (itemNo > 0 && !IsFromNewLine(itemNo)) {
        --itemNo;
    }
    return itemNo;
}

void TCustomVDData::ExpandToPara(int32_t itemNo1, int32_t itemNo2, int32_t &firstItemNo,
                                 int32_t &lastItemNo) {
    firstItemNo = GetFirstParaItem(itemNo1);
    lastItemNo = itemNo2;
    while (lastItemNo + 1 < ItemCount() && !IsParaStart(lastItemNo + 1)) {
        ++lastItemNo;
    }
}

void TCustomVDData::ExpandToParaSection(int32_t itemNo1, int32_t itemNo2, int32_t &firstItemNo,
                                        int32_t &lastItemNo) {
    firstItemNo = GetFirstParaSectionItem(itemNo1);
    lastItemNo = itemNo2;
    while (lastItemNo + 1 < ItemCount() && !IsFromNewLine(lastItemNo + 1)) {
        ++lastItemNo;
    }
}

// ---- Effective text style ----

int32_t TCustomVDData::GetParaDefaultTextStyle(int32_t paraNo) {
    TVDStyle *style = GetVDStyle();
    const int32_t def = style ? style->GetParaStyles().GetItem(paraNo).GetDefStyleNo() : -1;
    return def >= 0 ? def : 0;
}

int32_t TCustomVDData::GetItemStyle(int32_t itemNo) {
    return GetActualStyle(*GetItem(itemNo));
}

int32_t TCustomVDData::GetActualStyle(TCustomVDItemInfo &item) {
    int32_t s = item.StyleNo;
    if (s == StyleNoParaDefault) {
        s = GetParaDefaultTextStyle(item.ParaNo);
    }
    if (s < 0) {
        return s;
    }
    const int32_t a = GetStyleFromStyleTemplate(s, item.ParaNo);
    if (a != item.StyleNo && item.StyleNo != StyleNoParaDefault) {
        ModifyStyleNoByTemplate(item, a);
    }
    return a;
}

int32_t TCustomVDData::GetActualTextStyle(TCustomVDItemInfo &item) {
    if (item.IsText()) {
        return GetActualStyle(item);
    }
    const int32_t stored = item.GetAssociatedTextStyleNo();
    int32_t s = stored == StyleNoParaDefault ? GetParaDefaultTextStyle(item.ParaNo) : stored;
    if (s < 0) {
        return s;
    }
    const int32_t a = GetStyleFromStyleTemplate(s, item.ParaNo);
    if (a != stored && stored != StyleNoParaDefault) {
        ModifyStyleNoByTemplate(item, a);
    }
    return a;
}

int32_t TCustomVDData::GetActualStyleEx(int32_t styleNo, int32_t paraNo) {
    if (styleNo == StyleNoParaDefault) {
        styleNo = GetParaDefaultTextStyle(paraNo);
    }
    return styleNo < 0 ? styleNo : GetStyleFromStyleTemplate(styleNo, paraNo);
}

void TCustomVDData::ModifyStyleNoByTemplate(TCustomVDItemInfo &item, int32_t newStyleNo) {
    if (item.IsText()) {
        item.StyleNo = newStyleNo;
    } else {
        item.SetAssociatedTextStyleNo(newStyleNo);
    }
}

int32_t TCustomVDData::GetFirstTextStyleNo(bool onlyWithEmptyTags) {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        TCustomVDItemInfo *item = GetItem(i);
        if (item->IsText() && (!onlyWithEmptyTags || item->Tag.empty())) {
            return GetActualStyle(*item);
        }
    }
    return 0;
}

int32_t TCustomVDData::GetFirstParaStyleNo() {
    return ItemCount() == 0 ? 0 : GetItem(0)->ParaNo;
}

// ---- Checkpoints ----

TCheckpointData TCustomVDData::GetFirstCheckpoint() {
    return FirstCP ? FirstCP : NotAddedCP;
}

TCheckpointData TCustomVDData::GetLastCheckpoint() {
    return NotAddedCP ? NotAddedCP : LastCP;
}

TCheckpointData TCustomVDData::GetNextCheckpoint(TCheckpointData cp) {
    CheckNotNil(cp);
    if (cp == NotAddedCP) {
        return nullptr;
    }
    return cp->Next ? cp->Next : NotAddedCP;
}

TCheckpointData TCustomVDData::GetPrevCheckpoint(TCheckpointData cp) {
    CheckNotNil(cp);
    return cp == NotAddedCP ? LastCP : cp->Prev;
}

TCheckpointData TCustomVDData::GetItemCheckpoint(int32_t itemNo) {
    return GetItem(itemNo)->Checkpoint;
}

TCheckpointData TCustomVDData::FindCheckpointByName(const rtl::UnicodeString &name) {
    for (TVDCPInfo *cp = FirstCP; cp; cp = cp->Next) {
        if (cp->Name == name) {
            return cp;
        }
    }
    return NotAddedCP && NotAddedCP->Name == name ? NotAddedCP : nullptr;
}

TCheckpointData TCustomVDData::FindCheckpointByTag(const TVDTag &tag) {
    for (TVDCPInfo *cp = FirstCP; cp; cp = cp->Next) {
        if (cp->Tag == tag) {
            return cp;
        }
    }
    return NotAddedCP && NotAddedCP->Tag == tag ? NotAddedCP : nullptr;
}

TCheckpointData TCustomVDData::GetCheckpointByNo(int32_t no) {
    if (no < 0 || no >= CPCount) {
        throw EViziVoduError(rtl::Format(rtl::UnicodeString(errmsg::InvalidCheckpointIndex), {no}));
    }
    if (NotAddedCP && no == CPCount - 1) {
        return NotAddedCP;
    }
    TVDCPInfo *cp = FirstCP;
    for (int32_t i = 0; cp && i < no; ++i) {
        cp = cp->Next;
    }
    return cp;
}

int32_t TCustomVDData::GetCheckpointItemNo(TCheckpointData cp) {
    CheckNotNil(cp);
    if (cp == NotAddedCP) {
        return -1;
    }
    const int32_t itemNo = GetItemNo(cp->ItemInfo);
    if (itemNo < 0) {
        Raise(errmsg::InvalidCheckpointData);
    }
    return itemNo;
}

int32_t TCustomVDData::GetCheckpointNo(TCheckpointData cp) {
    CheckNotNil(cp);
    int32_t no = 0;
    for (TVDCPInfo *c = FirstCP; c; c = c->Next, ++no) {
        if (c == cp) {
            return no;
        }
    }
    if (cp == NotAddedCP) {
        return no;
    }
    Raise(errmsg::InvalidCheckpointData);
}

void TCustomVDData::GetCheckpointInfo(TCheckpointData cp, TVDTag &tag, rtl::UnicodeString &name,
                                      bool &raiseEvent) {
    CheckNotNil(cp);
    tag = cp->Tag;
    name = cp->Name;
    raiseEvent = cp->RaiseEvent;
}

void TCustomVDData::SetCheckpointInfo(int32_t itemNo, const TVDTag &tag,
                                      const rtl::UnicodeString &name, bool raiseEvent) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (!item->Checkpoint) {
        CreateItemCheckpoint(itemNo, tag, raiseEvent, name);
        return;
    }
    item->Checkpoint->Tag = tag;
    item->Checkpoint->Name = name;
    item->Checkpoint->RaiseEvent = raiseEvent;
}

bool TCustomVDData::RemoveCheckpoint(int32_t itemNo) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (!item->Checkpoint) {
        return false;
    }
    FreeCheckpoint(item->Checkpoint, true, true);
    return true;
}

void TCustomVDData::CreateItemCheckpoint(int32_t itemNo, const TVDTag &tag, bool raiseEvent,
                                         const rtl::UnicodeString &name) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (item->Checkpoint) {
        Raise(errmsg::CheckpointExists);
    }
    auto cp = std::make_unique<TVDCPInfo>();
    cp->Tag = tag;
    cp->Name = name;
    cp->RaiseEvent = raiseEvent;
    cp->ItemInfo = item;
    item->Checkpoint = cp.release();
    ++CPCount;
    UpdateCPPos(*item->Checkpoint, itemNo);
}

void TCustomVDData::UpdateCPPos(TVDCPInfo &cp, int32_t itemNo) {
    if (itemNo == -1) {
        return;
    }
    RefreshCheckpointItemNos();
    cp.Next = cp.Prev = nullptr;
    auto insertAfter = [&](TVDCPInfo *prev) {
        cp.Prev = prev;
        cp.Next = prev ? prev->Next : FirstCP;
        if (cp.Next) {
            cp.Next->Prev = &cp;
        } else {
            LastCP = &cp;
        }
        if (prev) {
            prev->Next = &cp;
        } else {
            FirstCP = &cp;
        }
    };
    if (!FirstCP) {
        FirstCP = LastCP = &cp;
    } else if (cp.ItemNo < FirstCP->ItemNo) {
        insertAfter(nullptr);
    } else if (cp.ItemNo < LastCP->ItemNo) {
        TVDCPInfo *prev = FirstCP;
        while (prev->Next && prev->Next->ItemNo <= cp.ItemNo) {
            prev = prev->Next;
        }
        insertAfter(prev);
    } else {
        insertAfter(LastCP);
    }
}

void TCustomVDData::RefreshCheckpointItemNos() {
    int32_t seen = 0;
    for (int32_t i = 0; i < ItemCount() && seen < CPCount; ++i) {
        if (TVDCPInfo *cp = GetItem(i)->Checkpoint) {
            cp->ItemNo = i;
            ++seen;
        }
    }
}

TVDCPInfo *TCustomVDData::FindCheckpointBeforeItem(int32_t itemNo) {
    RefreshCheckpointItemNos();
    TVDCPInfo *found = nullptr;
    for (TVDCPInfo *cp = FirstCP; cp && cp->ItemNo < itemNo; cp = cp->Next) {
        found = cp;
    }
    return found;
}

// ---- Saving support ----

TVDFSaveScope TCustomVDData::GetVDFSaveScope(bool selectionOnly) {
    if (selectionOnly) {
        return vdfss_Selection;
    }
    return GetAbsoluteRootData()->State.Contains(vdstSavingPage) ? vdfss_FullInPage : vdfss_Full;
}

bool TCustomVDData::SaveProgressInit(int32_t &progress, int32_t max, TVDLongOperation operation) {
    progress = 0;
    const bool report = max > 1000 && IsAssignedOnProgress();
    if (report) {
        DoProgress(operation, vdpstgStarting, 0);
    }
    return report;
}

void TCustomVDData::SaveProgressRun(int32_t &progress, int32_t position, int32_t max,
                                    TVDLongOperation operation) {
    const int32_t percent =
        max == 0 ? 0 : static_cast<int32_t>((int64_t{position} * 100 + max / 2) / max);
    if (percent != progress) {
        progress = percent;
        DoProgress(operation, vdpstgRunning, percent);
    }
}

void TCustomVDData::SaveProgressDone(TVDLongOperation operation) {
    DoProgress(operation, vdpstgEnding, 0);
}

} // namespace vizivodu
