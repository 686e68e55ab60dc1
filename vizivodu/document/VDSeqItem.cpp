// Sequence items and the sequence list: number texts, counters, properties and registration.
#include "vizivodu/document/VDSeqItem.h"

#include "vizivodu/VDStartup_p.h"
#include "vizivodu/document/CVDData.h"
#include "vizivodu/styles/VDFuncs.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Rounding.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <map>

namespace vizivodu {

VD_DEFINE_ITEM_CLASS(TVDSeqItemInfo, TVDLabelItemInfo);

namespace {

constexpr int32_t kLabelTextProperty = 200;

} // namespace

rtl::UnicodeString FormatSeqNumber(int32_t numberType, int32_t n) {
    switch (numberType & 0x7F) {
    case vdseqDecimal:
        return rtl::IntToStr(n);
    case vdseqLowerAlpha:
        return rtl::AnsiLowerCase(IntToLetters(n));
    case vdseqUpperAlpha:
        return IntToLetters(n);
    case vdseqLowerRoman:
        return rtl::AnsiLowerCase(IntToRoman(n));
    case vdseqUpperRoman:
        return IntToRoman(n);
    default:
        return {};
    }
}

// ---- The item ----

TVDSeqItemInfo::TVDSeqItemInfo(TCustomVDData *vdData) : TVDLabelItemInfo(vdData) {
    StyleNo = StyleNoSequence;
}

TVDSeqItemInfo::TVDSeqItemInfo(TCustomVDData *vdData, const rtl::UnicodeString &seqName,
                               TVDSeqType numberType, int32_t textStyleNo, int32_t startFrom,
                               bool reset)
    : TVDLabelItemInfo(vdData, textStyleNo, u"") {
    StyleNo = StyleNoSequence;
    StartFrom = startFrom;
    Reset = reset;
    SeqName = seqName.empty() ? rtl::UnicodeString(u"tvizivodu") : seqName;
    FNumberType = numberType;
}

rtl::UnicodeString TVDSeqItemInfo::GetDisplayString(const TVDSeqList *, int32_t counter) const {
    rtl::UnicodeString text = FormatSeqNumber(GetNumberType(), counter);
    if (FormatString.empty()) {
        return text;
    }
    try {
        return rtl::Format(FormatString, {rtl::TVarRec(text)});
    } catch (const rtl::Exception &) {
        return text;
    }
}

void TVDSeqItemInfo::CalcDisplayString(const TVDSeqList *list) {
    SetText(GetDisplayString(list, Counter));
}

int32_t TVDSeqItemInfo::GetIndexInList(const TVDSeqList *list) {
    if (!list) {
        return -1;
    }
    if (FCachedIndexInList >= 0 && FCachedIndexInList < list->Count() &&
        list->Get(FCachedIndexInList) == this) {
        return FCachedIndexInList;
    }
    FCachedIndexInList = list->IndexOf(this);
    return FCachedIndexInList;
}

void TVDSeqItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (const auto *seq = dynamic_cast<const TVDSeqItemInfo *>(&source)) {
        SetNumberType(seq->GetNumberType());
        StartFrom = seq->StartFrom;
        Reset = seq->Reset;
        SeqName = seq->SeqName;
        FormatString = seq->FormatString;
    }
    TVDLabelItemInfo::Assign(source);
}

void TVDSeqItemInfo::MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) {
    TVDLabelItemInfo::MovingToUndoList(itemNo, vdData);
    if (vdData) {
        vdData->DoOnDeleteSpecialItem(*this, false);
    }
}

void TVDSeqItemInfo::MovingFromUndoList(int32_t itemNo, TCustomVDData *vdData) {
    TVDLabelItemInfo::MovingFromUndoList(itemNo, vdData);
    if (vdData) {
        vdData->DoOnAddSpecialItem(itemNo);
    }
}

bool TVDSeqItemInfo::SetExtraIntPropertyEx(int32_t prop, int32_t value) {
    switch (prop) {
    case PropStartFrom:
        StartFrom = value;
        return true;
    case PropReset:
        Reset = value != 0;
        return true;
    case PropNumberType:
        SetNumberType(static_cast<TVDSeqType>(value & 0x7F));
        return true;
    default:
        return TVDLabelItemInfo::SetExtraIntPropertyEx(prop, value);
    }
}

bool TVDSeqItemInfo::GetExtraIntPropertyEx(int32_t prop, int32_t &value) const {
    switch (prop) {
    case PropStartFrom:
        value = StartFrom;
        return true;
    case PropReset:
        value = Reset;
        return true;
    case PropNumberType:
        value = GetNumberType() & 0x7F;
        return true;
    default:
        return TVDLabelItemInfo::GetExtraIntPropertyEx(prop, value);
    }
}

bool TVDSeqItemInfo::SetExtraStrPropertyEx(int32_t prop, const rtl::UnicodeString &value) {
    switch (prop) {
    case StrPropSeqName:
        SeqName = value;
        return true;
    case StrPropFormatString:
        FormatString = value;
        return true;
    case kLabelTextProperty:
        return false;
    default:
        return TVDLabelItemInfo::SetExtraStrPropertyEx(prop, value);
    }
}

bool TVDSeqItemInfo::GetExtraStrPropertyEx(int32_t prop, rtl::UnicodeString &value) const {
    switch (prop) {
    case StrPropSeqName:
        value = SeqName;
        return true;
    case StrPropFormatString:
        value = FormatString;
        return true;
    default:
        return TVDLabelItemInfo::GetExtraStrPropertyEx(prop, value);
    }
}

TVDReformatType TVDSeqItemInfo::GetExtraIntPropertyReformat(int32_t prop) const {
    if (prop == PropStartFrom || prop == PropReset) {
        return vdrfFull;
    }
    return TVDLabelItemInfo::GetExtraIntPropertyReformat(prop);
}

TVDReformatType TVDSeqItemInfo::GetExtraStrPropertyReformat(int32_t prop) const {
    if (prop == StrPropSeqName) {
        return vdrfFull;
    }
    if (prop == StrPropFormatString) {
        return vdrfNormal;
    }
    return TVDLabelItemInfo::GetExtraStrPropertyReformat(prop);
}

// ---- The list ----

int32_t TVDSeqList::IndexOf(const TCustomVDItemInfo *item) const {
    const auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int32_t>(it - FItems.begin());
}

int32_t TVDSeqList::InsertAfter(TVDSeqItemInfo *insertMe, TVDSeqItemInfo *afterMe) {
    const int32_t index = afterMe ? IndexOf(afterMe) + 1 : 0;
    FItems.insert(FItems.begin() + index, insertMe);
    insertMe->FCachedIndexInList = index;
    return index;
}

// The counter of an item continues the last item of its sequence before it. The last counter
// of each name met in this pass is remembered; a name met for the first time is looked up
// backwards from just before startFrom.
void TVDSeqList::RecalcCounters(int32_t startFrom, const TVDStyle *, bool forAllNames) {
    if (startFrom < 0 || startFrom >= Count()) {
        return;
    }
    rtl::UnicodeString refName = rtl::AnsiLowerCase(Get(startFrom)->SeqName);
    std::map<rtl::UnicodeString, int32_t> lastCounters;
    for (int32_t i = startFrom; i < Count(); ++i) {
        TVDSeqItemInfo *item = Get(i);
        const rtl::UnicodeString name = rtl::AnsiLowerCase(item->SeqName);
        if (forAllNames) {
            refName = name;
        } else if (name != refName) {
            continue;
        }
        auto last = lastCounters.find(name);
        if (last == lastCounters.end()) {
            int32_t previous = 0;
            for (int32_t j = startFrom - 1; j >= 0; --j) {
                if (rtl::AnsiLowerCase(Get(j)->SeqName) == name) {
                    previous = Get(j)->Counter;
                    break;
                }
            }
            last = lastCounters.emplace(name, previous).first;
        }
        // Past the largest number the counter wraps, as 32-bit arithmetic does.
        item->Counter = item->Reset ? item->StartFrom : rtl::WrapToInt32(int64_t(last->second) + 1);
        last->second = item->Counter;
        item->CalcDisplayString(this);
    }
}

void TVDSeqList::RecalcDisplayStrings(const TVDStyle *) {
    for (TVDSeqItemInfo *item : FItems) {
        item->CalcDisplayString(this);
    }
}

void startup::InitializeVDSeqItem() {
    RegisterItemType(StyleNoSequence, &TVDSeqItemInfo::ClassInfo);
}

} // namespace vizivodu
