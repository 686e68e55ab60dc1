// Style housekeeping of the document: style templates, deleting unused styles, adding styles,
// hidden items, character stepping, merging of text items, special-item lists and list
// markers, enumeration, positions across the tree and rotation.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <functional>

namespace vizivodu {

// ---- Style templates ----

int32_t TCustomVDData::GetStyleFromStyleTemplate(int32_t styleNo, int32_t paraNo) {
    TVDStyle *style = GetVDStyle();
    if (!style || paraNo < 0 || !UseStyleTemplates() ||
        GetAbsoluteRootData()->State.Contains(vdstNoStyleTemplateAdustment)) {
        return styleNo;
    }
    const TFontInfo &text = style->GetTextStyles().GetItem(styleNo);
    const TParaInfo &para = style->GetParaStyles().GetItem(paraNo);
    const TVDStyleTemplateId paraTemplate = para.GetStyleTemplateId();
    if (text.GetParaStyleTemplateId() == paraTemplate &&
        !(text.GetStyleTemplateId() >= 1 &&
          text.GetStyleTemplateId() == text.GetParaStyleTemplateId())) {
        return styleNo;
    }
    TVDStyleTemplateCollection &templates = style->GetStyleTemplates();
    TFontInfo copy(nullptr);
    copy.Assign(text);
    TVDStyleTemplate::UpdateModifiedTextStyleProperties(
        templates.FindItemById(text.GetStyleTemplateId()), copy,
        templates.FindItemById(text.GetParaStyleTemplateId()));
    copy.SetParaStyleTemplateId(paraTemplate);
    if (copy.GetStyleTemplateId() == paraTemplate) {
        copy.SetStyleTemplateId(-1);
    }
    TVDStyleTemplate::ApplyToTextStyle(templates.FindItemById(copy.GetStyleTemplateId()), copy,
                                       templates.FindItemById(paraTemplate));
    return GetOrAddTextStyle(copy);
}

int32_t TCustomVDData::GetOrAddTextStyle(const TFontInfo &textStyle) {
    TVDStyle *style = GetVDStyle();
    const int32_t oldCount = style->GetTextStyles().GetCount();
    const int32_t index = style->FindTextStyle(textStyle);
    if (index == oldCount) {
        AfterAddStyle(style->GetTextStyles().GetItem(index));
    }
    return index;
}

int32_t TCustomVDData::GetOrAddParaStyle(const TParaInfo &paraStyle) {
    TVDStyle *style = GetVDStyle();
    const int32_t oldCount = style->GetParaStyles().GetCount();
    const int32_t index = style->FindParaStyle(paraStyle);
    if (index == oldCount) {
        AfterAddStyle(style->GetParaStyles().GetItem(index));
    }
    return index;
}

// ---- Deleting unused styles ----

void TCustomVDData::DeleteUnusedStyles(bool textStyles, bool paraStyles, bool listStyles) {
    TVDDeleteUnusedStylesData data(textStyles, paraStyles, listStyles);
    MarkStylesInUse(data);
    DeleteMarkedStyles(data);
}

void TCustomVDData::MarkStylesInUse(TVDDeleteUnusedStylesData &data) {
    TVDStyle *style = GetVDStyle();
    if (!style) {
        return;
    }
    data.Init(*style);
    DoMarkStylesInUse(data);
    MarkStyleDependencies(data);
}

void TCustomVDData::DoMarkStylesInUse(TVDDeleteUnusedStylesData &data) {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        GetItem(i)->MarkStylesInUse(data);
    }
}

namespace {

// Flags the styles that used styles refer to (their base, their next style), recursively; a
// reference beyond the collection is reset to -1 in the style.
void MarkReferences(TVDIntegerList &flags, int32_t count,
                    const std::function<void(int32_t, std::vector<int32_t> &)> &references) {
    std::vector<bool> visited(static_cast<size_t>(count), false);
    std::vector<int32_t> stack;
    for (int32_t i = 0; i < count; ++i) {
        if (flags.Get(i) != 0) {
            stack.push_back(i);
        }
    }
    while (!stack.empty()) {
        const int32_t i = stack.back();
        stack.pop_back();
        if (visited[static_cast<size_t>(i)]) {
            continue;
        }
        visited[static_cast<size_t>(i)] = true;
        std::vector<int32_t> refs;
        references(i, refs);
        for (int32_t r : refs) {
            if (r >= 0 && r < count && !visited[static_cast<size_t>(r)]) {
                flags.Put(r, 1);
                stack.push_back(r);
            }
        }
    }
}

// Keeps a reference inside its collection: beyond it, -1.
int32_t Checked(int32_t ref, int32_t count) {
    return ref >= count ? -1 : ref;
}

} // namespace

void TCustomVDData::MarkStyleDependencies(TVDDeleteUnusedStylesData &data) {
    TVDStyle &style = *GetVDStyle();
    TFontInfos &texts = style.GetTextStyles();
    TParaInfos &paras = style.GetParaStyles();
    TVDListInfos &lists = style.GetListStyles();
    if (data.ParaStyles()) {
        MarkReferences(data.UsedParaStyles(), paras.GetCount(), [&](int32_t i, auto &refs) {
            TParaInfo &p = paras.GetItem(i);
            p.SetBaseStyleNo(Checked(p.GetBaseStyleNo(), paras.GetCount()));
            p.SetNextParaNo(Checked(p.GetNextParaNo(), paras.GetCount()));
            refs = {p.GetBaseStyleNo(), p.GetNextParaNo()};
        });
    }
    if (data.TextStyles()) {
        for (int32_t i = 0; i < paras.GetCount(); ++i) {
            if (data.UsedParaStyles().Get(i) != 0) {
                TVDDeleteUnusedStylesData::MarkUsed(data.UsedTextStyles(),
                                                    paras.GetItem(i).GetDefStyleNo());
            }
        }
        MarkReferences(data.UsedTextStyles(), texts.GetCount(), [&](int32_t i, auto &refs) {
            TFontInfo &t = texts.GetItem(i);
            t.SetBaseStyleNo(Checked(t.GetBaseStyleNo(), texts.GetCount()));
            t.SetNextStyleNo(Checked(t.GetNextStyleNo(), texts.GetCount()));
            refs = {t.GetBaseStyleNo(), t.GetNextStyleNo()};
        });
    }
    if (data.ListStyles()) {
        MarkReferences(data.UsedListStyles(), lists.GetCount(), [&](int32_t i, auto &refs) {
            TVDListInfo &l = lists.GetItem(i);
            l.SetBaseStyleNo(Checked(l.GetBaseStyleNo(), lists.GetCount()));
            refs = {l.GetBaseStyleNo()};
        });
    }
}

void TCustomVDData::DoUpdateStyles(TVDDeleteUnusedStylesData &data) {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        GetItem(i)->UpdateStyles(data);
    }
}

void TCustomVDData::DeleteMarkedStyles(TVDDeleteUnusedStylesData &data) {
    TVDStyle *style = GetVDStyle();
    if (!style) {
        return;
    }
    data.ConvertFlagsToShifts(*style);
    DoUpdateStyles(data);
    AfterDeleteStyles(data);
}

// ---- Hidden items, character steps ----

bool TCustomVDData::IsHiddenItem(int32_t itemNo) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (item->IsText()) {
        TVDStyle *style = GetVDStyle();
        return style && style->GetTextStyles()
                            .GetItem(GetActualStyle(*item))
                            .GetOptions()
                            .Contains(vdteoHidden);
    }
    const auto *nonText = dynamic_cast<const TVDNonTextItemInfo *>(item);
    if (nonText && nonText->Hidden) {
        return true;
    }
    if (item->StyleNo != StyleNoListMarker) {
        return false;
    }
    // A marker is hidden when nothing visible follows it on its line.
    for (int32_t i = itemNo + 1; i < ItemCount() && !IsFromNewLine(i); ++i) {
        if (!IsHiddenItem(i)) {
            return false;
        }
    }
    return true;
}

bool TCustomVDData::IsHiddenParaEnd(int32_t firstItemNo) {
    int32_t last = firstItemNo;
    while (last + 1 < ItemCount() && !IsParaStart(last + 1)) {
        ++last;
    }
    return IsHiddenItem(last);
}

namespace {

// A code unit that joins the character before it: combining marks, variation selectors and
// the low half of a surrogate pair.
bool JoinsPrevious(char16_t ch) {
    return (ch >= 0x0300 && ch <= 0x036F) || (ch >= 0x1AB0 && ch <= 0x1AFF) ||
           (ch >= 0x1DC0 && ch <= 0x1DFF) || (ch >= 0x20D0 && ch <= 0x20FF) ||
           (ch >= 0xFE00 && ch <= 0xFE0F) || (ch >= 0xFE20 && ch <= 0xFE2F) ||
           (ch >= 0xDC00 && ch <= 0xDFFF);
}

char16_t UnitAt(const TVDRawByteString &s, int32_t pos) {
    const size_t at = 2 * static_cast<size_t>(pos - 1);
    return static_cast<char16_t>(static_cast<uint8_t>(s[at]) |
                                 (static_cast<uint8_t>(s[at + 1]) << 8));
}

} // namespace

int32_t TCustomVDData::GetNextCharPos(const TVDRawByteString &s, int32_t itemNo, int32_t pos) {
    if (!GetItem(itemNo)->ItemOptions.Contains(vdioUnicode)) {
        return pos + 1;
    }
    const int32_t length = static_cast<int32_t>(s.size() / 2);
    int32_t next = pos + 1;
    while (next <= length && JoinsPrevious(UnitAt(s, next))) {
        ++next;
    }
    return next;
}

int32_t TCustomVDData::GetPrevCharPos(const TVDRawByteString &s, int32_t itemNo, int32_t pos) {
    if (!GetItem(itemNo)->ItemOptions.Contains(vdioUnicode)) {
        return pos - 1;
    }
    int32_t prev = pos - 1;
    const int32_t length = static_cast<int32_t>(s.size() / 2);
    while (prev > 1 && prev <= length && JoinsPrevious(UnitAt(s, prev))) {
        --prev;
    }
    return prev;
}

// ---- Merging text items ----

bool TCustomVDData::CanConcateItems(int32_t, TCustomVDItemInfo *item1, TCustomVDItemInfo *item2,
                                    bool ignoreSameAsPrev, bool allowNonText) {
    if (!item1 || !item2 || (!allowNonText && (!item1->IsText() || !item2->IsText()))) {
        return false;
    }
    const bool continues = ignoreSameAsPrev || item2->GetSameAsPrev();
    // An empty text item goes away in a merge; its checkpoint must not be lost with it.
    if (item1->IsText() && item1->ItemText.empty()) {
        return continues && !(item1->Checkpoint && item2->Checkpoint);
    }
    if (item2->IsText() && item2->ItemText.empty() && item1->StyleNo != StyleNoListMarker) {
        return continues && !item2->Checkpoint;
    }
    if (!item1->IsText() || !item2->IsText()) {
        return false;
    }
    TVDStyle *style = GetVDStyle();
    if (item1->StyleNo != item2->StyleNo || !continues || item1->Hint != item2->Hint ||
        item1->Tag != item2->Tag || item2->Checkpoint) {
        return false;
    }
    if (style) {
        const TFontInfo &s1 = style->GetTextStyles().GetItem(GetActualStyle(*item1));
        const TFontInfo &s2 = style->GetTextStyles().GetItem(GetActualStyle(*item2));
        if (s1.GetUnicode() != s2.GetUnicode()) {
            return false;
        }
        const TVDProtectOptions protection = s1.GetProtection();
        if (protection.Contains(vdprModifyProtect) || protection.Contains(vdprConcateProtect)) {
            return false;
        }
    }
    return true;
}

void TCustomVDData::ConcateItems(int32_t itemNo, TCustomVDItemInfo *item1,
                                 TCustomVDItemInfo *item2) {
    if (item2->IsText() && item2->ItemText.empty()) {
        DestroyItem(FItems->ReleaseObject(itemNo + 1), false);
        FItems->Delete(itemNo + 1);
        return;
    }
    if (item1->IsText() && item1->ItemText.empty()) {
        item2->AssignParaProperties(*item1);
        item2->ParaNo = item1->ParaNo;
        if (item1->Checkpoint && !item2->Checkpoint) {
            TVDCPInfo *cp = item1->Checkpoint;
            item1->Checkpoint = nullptr;
            item2->Checkpoint = cp;
            cp->ItemInfo = item2;
        }
        DestroyItem(FItems->ReleaseObject(itemNo), false);
        FItems->Delete(itemNo);
        return;
    }
    GetActualStyle(*item1);
    GetActualStyle(*item2);
    item1->ItemText += item2->ItemText;
    DestroyItem(FItems->ReleaseObject(itemNo + 1), false);
    FItems->Delete(itemNo + 1);
}

void TCustomVDData::MassSimpleConcate(int32_t firstItemNo, int32_t lastItemNo) {
    firstItemNo = std::max(firstItemNo, 0);
    lastItemNo = std::min(lastItemNo, ItemCount() - 1);
    for (int32_t c = lastItemNo; c >= firstItemNo + 1; --c) {
        if (c >= ItemCount()) {
            continue;
        }
        MassSimpleConcateInSubDocs(c);
        if (CanConcateItems(c - 1, GetItem(c - 1), GetItem(c), false, true)) {
            ConcateItems(c - 1, GetItem(c - 1), GetItem(c));
        }
    }
    if (firstItemNo <= lastItemNo && firstItemNo < ItemCount()) {
        MassSimpleConcateInSubDocs(firstItemNo);
    }
}

void TCustomVDData::MassSimpleConcateInSubDocs(int32_t itemNo) {
    std::unique_ptr<TVDStoreSubVDData> state;
    TCustomVDItemInfo *item = GetItem(itemNo);
    for (TCustomVDData *sub = item->GetSubVDData(state, vddFirst); sub;
         sub = item->GetSubVDData(state, vddNext)) {
        sub->MassSimpleConcateAll();
    }
}

// ---- Special items ----

void TCustomVDData::DoOnAddSpecialItem(int32_t itemNo) {
    AddSeqInList(itemNo);
    AddMarkerInList(itemNo);
    AddPrintFieldInList(itemNo);
}

void TCustomVDData::DoOnDeleteSpecialItem(TCustomVDItemInfo &item, bool clearing) {
    DeleteSeqFromList(item, clearing);
    DeleteMarkerFromList(item, clearing);
    DeletePrintFieldFromList(item);
}

void TCustomVDData::AddMarkerInList(int32_t itemNo) {
    auto *marker = dynamic_cast<TVDMarkerItemInfo *>(GetItem(itemNo));
    if (!marker) {
        return;
    }
    // A document that cannot reach a list yet (a cell of a table outside a document) keeps
    // its markers unregistered until the table is inserted.
    TVDMarkerList *list = GetMarkers(true);
    if (!list || list->IndexOf(marker) >= 0) {
        return;
    }
    auto *prev = static_cast<TVDMarkerItemInfo *>(FindPrevMarkerItem(itemNo - 1));
    const int32_t index = list->InsertAfter(marker, prev);
    list->RecalcCounters(index, GetVDStyle(), false);
}

void TCustomVDData::DeleteMarkerFromList(TCustomVDItemInfo &item, bool clearing) {
    auto *marker = dynamic_cast<TVDMarkerItemInfo *>(&item);
    TVDMarkerList *list = marker ? GetMarkers(false) : nullptr;
    if (!list) {
        return;
    }
    const int32_t index = list->IndexOf(marker);
    if (index < 0) {
        throw rtl::EListError(std::string_view("List index out of bounds (-1)"));
    }
    list->Delete(index);
    if (list->Count() == 0) {
        DestroyMarkers();
    } else if (!clearing) {
        list->RecalcCounters(std::min(index, list->Count() - 1), GetVDStyle(), false);
    }
}

void TCustomVDData::AddSeqInList(int32_t itemNo) {
    auto *seq = dynamic_cast<TVDSeqItemInfo *>(GetItem(itemNo));
    if (!seq) {
        return;
    }
    // As with markers, a document that cannot reach a list yet keeps the item unregistered.
    TVDSeqList *list = GetSeqList(true);
    if (!list || list->IndexOf(seq) >= 0) {
        return;
    }
    auto *prev = static_cast<TVDSeqItemInfo *>(FindPrevSeqItem(itemNo - 1));
    const int32_t index = list->InsertAfter(seq, prev);
    list->RecalcCounters(index, GetVDStyle(), false);
}

void TCustomVDData::DeleteSeqFromList(TCustomVDItemInfo &item, bool clearing) {
    auto *seq = dynamic_cast<TVDSeqItemInfo *>(&item);
    TVDSeqList *list = seq ? GetSeqList(false) : nullptr;
    if (!list) {
        return;
    }
    const int32_t index = list->IndexOf(seq);
    if (index < 0) {
        throw rtl::EListError(std::string_view("List index out of bounds (-1)"));
    }
    // The items after it that shared its sequence count one less now.
    const rtl::UnicodeString name = rtl::AnsiLowerCase(seq->SeqName);
    list->Delete(index);
    if (list->Count() == 0) {
        DestroySeqList();
        return;
    }
    if (clearing) {
        return;
    }
    for (int32_t i = index; i < list->Count(); ++i) {
        if (rtl::AnsiLowerCase(list->Get(i)->SeqName) == name) {
            list->RecalcCounters(i, GetVDStyle(), false);
            break;
        }
    }
}

void TCustomVDData::AddPrintFieldInList(int32_t itemNo) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (!item->GetBoolValue(vdbpIsPrintField)) {
        return;
    }
    std::vector<TCustomVDItemInfo *> *list = GetPrintFieldList(true);
    if (list && std::find(list->begin(), list->end(), item) == list->end()) {
        list->push_back(item);
    }
}

void TCustomVDData::DeletePrintFieldFromList(TCustomVDItemInfo &item) {
    std::vector<TCustomVDItemInfo *> *list =
        item.GetBoolValue(vdbpIsPrintField) ? GetPrintFieldList(false) : nullptr;
    if (!list) {
        return;
    }
    const auto it = std::find(list->begin(), list->end(), &item);
    if (it == list->end()) {
        throw rtl::EListError(std::string_view("List index out of bounds (-1)"));
    }
    list->erase(it);
    if (list->empty()) {
        DestroyPrintFieldList();
    }
}

int32_t TCustomVDData::SetListMarkerInfo(int32_t itemNo, int32_t listNo, int32_t listLevel,
                                         int32_t startFrom, int32_t paraNo, bool useStartFrom) {
    int32_t index = ItemCount();
    if (itemNo >= 0 && itemNo < ItemCount()) {
        index = GetFirstParaItem(itemNo);
        if (GetItem(index)->GetBoolValue(vdbpFullWidth)) {
            return -1;
        }
    }
    if (index < ItemCount()) {
        if (auto *marker = dynamic_cast<TVDMarkerItemInfo *>(GetItem(index))) {
            marker->ListNo = listNo;
            marker->Level = listLevel;
            marker->StartFrom = startFrom;
            marker->Reset = useStartFrom;
            if (TVDMarkerList *list = GetMarkers(false)) {
                list->RecalcCounters(marker->GetIndexInList(list), GetVDStyle(), true);
            }
            return index;
        }
    }
    auto marker =
        std::make_unique<TVDMarkerItemInfo>(this, listNo, listLevel, startFrom, useStartFrom);
    TVDRawByteString text;
    marker->Inserting(this, text, true);
    if (index < ItemCount()) {
        TCustomVDItemInfo *first = GetItem(index);
        // The marker takes over the paragraph start (its page break and float clearing
        // included); the item it precedes now continues the marker's line.
        marker->AssignParaProperties(*first);
        marker->ParaNo = first->ParaNo;
        first->SetSameAsPrev(true);
    } else {
        marker->ParaNo =
            paraNo >= 0 ? paraNo : (ItemCount() > 0 ? GetItem(ItemCount() - 1)->ParaNo : 0);
        if (ItemCount() > 0 && !FAllowNewPara) {
            marker->SetBR(true);
        }
    }
    TCustomVDItemInfo &added = *marker;
    FItems->InsertObject(index, std::move(text), std::move(marker));
    added.Inserted(this, index);
    AddMarkerInList(index);
    return index;
}

int32_t TCustomVDData::GetListMarkerInfo(int32_t itemNo, int32_t &listNo, int32_t &listLevel,
                                         int32_t &startFrom, bool &useStartFrom) {
    if (itemNo < 0 || itemNo >= ItemCount()) {
        return -1;
    }
    const int32_t first = GetFirstParaItem(itemNo);
    const auto *marker = dynamic_cast<const TVDMarkerItemInfo *>(GetItem(first));
    if (!marker) {
        return -1;
    }
    listNo = marker->ListNo;
    listLevel = marker->Level;
    startFrom = marker->StartFrom;
    useStartFrom = marker->Reset;
    return first;
}

void TCustomVDData::RecalcMarker(int32_t itemNo, bool allowCreateList) {
    auto *marker = dynamic_cast<TVDMarkerItemInfo *>(GetItem(itemNo));
    TVDMarkerList *list = marker ? GetMarkers(allowCreateList) : nullptr;
    if (list) {
        list->RecalcCounters(marker->GetIndexInList(list), GetVDStyle(), true);
    }
}

void TCustomVDData::RemoveListMarker(int32_t itemNo) {
    if (itemNo < 0 || itemNo >= ItemCount()) {
        return;
    }
    const int32_t first = GetFirstParaItem(itemNo);
    if (GetItem(first)->StyleNo != StyleNoListMarker) {
        return;
    }
    TCustomVDItemInfo *marker = GetItem(first);
    if (first + 1 < ItemCount() && !IsFromNewLine(first + 1)) {
        GetItem(first + 1)->AssignParaProperties(*marker);
    }
    DeleteItems(first, 1);
}

TCustomVDItemInfo *TCustomVDData::FindPrevItemOfClassInside(TCustomVDData &data, int32_t fromItemNo,
                                                            TVDItemClass itemClass) {
    for (int32_t i = std::min(fromItemNo, data.ItemCount() - 1); i >= 0; --i) {
        TCustomVDItemInfo *item = data.GetItem(i);
        if (item->GetClass()->InheritsFrom(itemClass)) {
            return item;
        }
        std::unique_ptr<TVDStoreSubVDData> state;
        std::vector<TCustomVDData *> subs;
        for (TCustomVDData *sub = item->GetSubVDData(state, vddFirst); sub;
             sub = item->GetSubVDData(state, vddNext)) {
            subs.push_back(sub);
        }
        for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
            if (TCustomVDItemInfo *found =
                    FindPrevItemOfClassInside(**it, (*it)->ItemCount() - 1, itemClass)) {
                return found;
            }
        }
    }
    return nullptr;
}

TCustomVDItemInfo *TCustomVDData::FindPrevItemOfClass(int32_t itemNo, TVDItemClass itemClass) {
    if (TCustomVDItemInfo *found = FindPrevItemOfClassInside(*this, itemNo, itemClass)) {
        return found;
    }
    int32_t parentItemNo = -1;
    std::unique_ptr<TVDStoreSubVDData> location;
    GetParentInfo(parentItemNo, location);
    TCustomVDData *parent = GetAbsoluteParentData();
    if (!parent || parentItemNo < 0) {
        return nullptr;
    }
    return parent->GetSourceVDData()->FindPrevItemOfClass(parentItemNo - 1, itemClass);
}

TCustomVDItemInfo *TCustomVDData::FindPrevMarkerItem(int32_t itemNo) {
    return FindPrevItemOfClass(itemNo, &TVDMarkerItemInfo::ClassInfo);
}

TCustomVDItemInfo *TCustomVDData::FindPrevSeqItem(int32_t itemNo) {
    return FindPrevItemOfClass(itemNo, &TVDSeqItemInfo::ClassInfo);
}

int32_t TCustomVDData::GetLastSeqIndexOfNames(int32_t startIndex, const rtl::TStringList &names) {
    TVDSeqList *list = GetSeqList(false);
    if (!list) {
        return -1;
    }
    for (int32_t i = list->Count() - 1; i > startIndex; --i) {
        int32_t found = 0;
        if (names.Find(list->Get(i)->SeqName, found)) {
            return i;
        }
    }
    return -1;
}

int32_t TCustomVDData::FindItemContaining(int32_t itemNo, const TCustomVDItemInfo *item) {
    std::function<bool(TCustomVDData &)> holds = [&](TCustomVDData &data) {
        for (int32_t i = 0; i < data.ItemCount(); ++i) {
            TCustomVDItemInfo *candidate = data.GetItem(i);
            if (candidate == item) {
                return true;
            }
            std::unique_ptr<TVDStoreSubVDData> state;
            for (TCustomVDData *sub = candidate->GetSubVDData(state, vddFirst); sub;
                 sub = candidate->GetSubVDData(state, vddNext)) {
                if (holds(*sub)) {
                    return true;
                }
            }
        }
        return false;
    };
    for (int32_t i = std::max(0, itemNo); i < ItemCount(); ++i) {
        TCustomVDItemInfo *candidate = GetItem(i);
        if (candidate == item) {
            return i;
        }
        std::unique_ptr<TVDStoreSubVDData> state;
        for (TCustomVDData *sub = candidate->GetSubVDData(state, vddFirst); sub;
             sub = candidate->GetSubVDData(state, vddNext)) {
            if (holds(*sub)) {
                return i;
            }
        }
    }
    return -1;
}

// ---- Enumeration and positions ----

bool TCustomVDData::EnumLevel(const TVDEnumItemsProc &proc, int32_t &userData1,
                              const rtl::UnicodeString &userData2) {
    bool cont = true;
    const int32_t count = ItemCount();
    for (int32_t i = 0; i < count; ++i) {
        proc(*this, i, userData1, userData2, cont);
        if (!cont) {
            break;
        }
        std::unique_ptr<TVDStoreSubVDData> state;
        TCustomVDItemInfo *item = GetItem(i);
        for (TCustomVDData *sub = item->GetSubVDData(state, vddFirst); sub;
             sub = item->GetSubVDData(state, vddNext)) {
            if (!sub->EnumLevel(proc, userData1, userData2)) {
                cont = false;
                break;
            }
        }
    }
    return cont;
}

bool TCustomVDData::EnumItems(const TVDEnumItemsProc &proc, int32_t &userData1,
                              const rtl::UnicodeString &userData2) {
    return EnumLevel(proc, userData1, userData2);
}

bool TCustomVDData::EnumItemsEx(const TVDEnumItemsProcEx &proc, void *userData,
                                int32_t firstItemNo) {
    bool cont = true;
    for (int32_t itemNo = firstItemNo; itemNo < ItemCount(); ++itemNo) {
        bool goInside = true;
        proc(*this, itemNo, userData, goInside, cont);
        if (!cont) {
            break;
        }
        if (goInside && itemNo >= 0 && itemNo < ItemCount()) {
            std::unique_ptr<TVDStoreSubVDData> state;
            TCustomVDItemInfo *item = GetItem(itemNo);
            for (TCustomVDData *sub = item->GetSubVDData(state, vddFirst); sub;
                 sub = item->GetSubVDData(state, vddNext)) {
                if (!sub->EnumItemsEx(proc, userData, 0)) {
                    cont = false;
                    break;
                }
            }
        }
    }
    return cont;
}

int32_t TCustomVDData::CompareItemPositions(int32_t itemNo1, TCustomVDData &vdData2,
                                            int32_t itemNo2) {
    TCustomVDData *d1 = GetSourceVDData();
    TCustomVDData *d2 = vdData2.GetSourceVDData();
    int32_t i1 = itemNo1;
    int32_t i2 = itemNo2;
    std::unique_ptr<TVDStoreSubVDData> s1;
    std::unique_ptr<TVDStoreSubVDData> s2;
    auto climb = [](TCustomVDData *&d, int32_t &i, std::unique_ptr<TVDStoreSubVDData> &s) {
        TCustomVDData *parent = d->GetAbsoluteParentData();
        if (!parent) {
            return false;
        }
        d->GetParentInfo(i, s);
        d = parent->GetSourceVDData();
        return true;
    };
    while (d2 != d1) {
        if (!climb(d2, i2, s2)) {
            if (!climb(d1, i1, s1)) {
                throw EViziVoduError(rtl::UnicodeString(errmsg::ComparePositions));
            }
            d2 = vdData2.GetSourceVDData();
            i2 = itemNo2;
            s2.reset();
        }
    }
    if (i1 != i2) {
        return i1 - i2;
    }
    if (s1 && s2) {
        return s1->Compare(*s2);
    }
    return s1 ? 1 : (s2 ? -1 : 0);
}

// ---- Bidirectional text ----

TVDBiDiMode TCustomVDData::GetParaBiDiMode(int32_t paraNo) {
    TVDStyle *style = GetVDStyle();
    const TVDBiDiMode mode =
        style ? style->GetParaStyles().GetItem(paraNo).GetBiDiMode() : vdbdUnspecified;
    return mode == vdbdUnspecified ? GetBiDiMode() : mode;
}

TVDBiDiMode TCustomVDData::GetItemBiDiMode2(TCustomVDItemInfo &item) {
    TVDStyle *style = GetVDStyle();
    const bool hasTextStyle = item.IsText() || item.GetAssociatedTextStyleNo() >= 0;
    if (style && hasTextStyle) {
        const TVDBiDiMode mode =
            style->GetTextStyles().GetItem(GetActualTextStyle(item)).GetBiDiMode();
        if (mode != vdbdUnspecified) {
            return mode;
        }
    }
    return GetParaBiDiMode(item.ParaNo);
}

void TCustomVDData::GetItemBiDiModeEx(int32_t itemNo, TVDBiDiMode &start, TVDBiDiMode &ending) {
    start = ending = GetItemBiDiMode(itemNo);
    TCustomVDItemInfo *item = GetItem(itemNo);
    TVDStyle *style = GetVDStyle();
    if (!item->IsText() || item->ItemText.empty() || !style) {
        return;
    }
    const TFontInfo &text = style->GetTextStyles().GetItem(GetActualStyle(*item));
    if (text.GetBiDiMode() != vdbdUnspecified) {
        start = ending = text.GetBiDiMode();
    }
    GetStrongDirections(GetItemTextW(itemNo), start, ending);
}

// ---- Renumbering and units ----

void TCustomVDData::ChangeParagraphStyles(const TVDIntegerList *paraMapList,
                                          const TVDIntegerList *newIndices,
                                          TVDIntegerList *oldIndices, int32_t &index) {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        GetItem(i)->ChangeParagraphStyles(paraMapList, newIndices, oldIndices, index);
    }
}

void TCustomVDData::ChangeTextStyles(const TVDIntegerList *textMapList,
                                     const TVDIntegerList *newIndices, TVDIntegerList *oldIndices,
                                     int32_t &index) {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        GetItem(i)->ChangeTextStyles(textMapList, newIndices, oldIndices, index);
    }
}

void TCustomVDData::ConvertToDifferentUnits(TVDStyleUnits newUnits, TVDStyle *vdStyle,
                                            bool convertItems) {
    if (!convertItems) {
        return;
    }
    TCustomVDData *data = GetVDData();
    for (int32_t i = 0; i < data->ItemCount(); ++i) {
        data->GetItem(i)->ConvertToDifferentUnits(newUnits, vdStyle, true);
    }
}

// ---- Rotation ----

TVDDocRotation TCustomVDData::GetRealRotation(bool fromAbsRoot) {
    if (!fromAbsRoot && GetParentData()) {
        return GetRotation();
    }
    int32_t angle = 0;
    for (TCustomVDData *d = this; d; d = d->GetAbsoluteParentData()) {
        angle += 90 * static_cast<int32_t>(d->GetRotation());
        if (angle > 360) {
            angle -= 360;
        }
    }
    switch (angle) {
    case 90:
        return vdrot90;
    case 180:
        return vdrot180;
    case 270:
        return vdrot270;
    default:
        return vdrotNone;
    }
}

bool TCustomVDData::IsVerticalText() {
    const TVDDocRotation r = GetRotation();
    return r == vdrot90 || r == vdrot270;
}

bool TCustomVDData::IsReallyVerticalText() {
    const TVDDocRotation r = GetRealRotation(true);
    return r == vdrot90 || r == vdrot270;
}

bool TCustomVDData::IsRotationUsed() {
    for (TCustomVDData *d = this; d; d = d->GetAbsoluteParentData()) {
        if (d->GetRotation() != vdrotNone) {
            return true;
        }
    }
    return false;
}

} // namespace vizivodu
