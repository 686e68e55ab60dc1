// List markers and the marker list: counters, display texts, properties and numbering state.
#include "vizivodu/document/VDMarker.h"

#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace vizivodu {

VD_DEFINE_ITEM_CLASS(TVDMarkerItemInfo, TVDSimpleRectItemInfo);

namespace {

// At most so many levels take part in one display text.
constexpr int32_t kMaxFormatArguments = 256;
constexpr int32_t kStateEntrySize = 17;

bool IsNumbered(TVDListType type) {
    return type == vdlstDecimal || type == vdlstLowerAlpha || type == vdlstUpperAlpha ||
           type == vdlstLowerRoman || type == vdlstUpperRoman;
}

void WriteInt32(rtl::TStream &stream, int32_t v) {
    stream.WriteBuffer(&v, 4);
}

int32_t ReadInt32(rtl::TStream &stream) {
    int32_t v = 0;
    stream.ReadBuffer(&v, 4);
    return v;
}

} // namespace

// ---- Formatting ----

rtl::UnicodeString FormatMarkerNumber(int32_t listType, int32_t n) {
    switch (listType) {
    case vdlstDecimal:
    case vdlstImageListCounter:
        return rtl::IntToStr(n);
    case vdlstUpperAlpha:
        return IntToLetters(n);
    case vdlstLowerAlpha:
        return rtl::AnsiLowerCase(IntToLetters(n));
    case vdlstUpperRoman:
        return IntToRoman(n);
    case vdlstLowerRoman:
        return rtl::AnsiLowerCase(IntToRoman(n));
    default:
        return {};
    }
}

bool FormatMarkerText(const rtl::UnicodeString &format, const std::vector<rtl::UnicodeString> &args,
                      rtl::UnicodeString &out) {
    out.clear();
    size_t next = 0; // the argument a conversion without index takes
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != u'%') {
            out += format[i];
            continue;
        }
        if (++i >= format.size()) {
            return false;
        }
        if (format[i] == u'%') {
            out += u'%';
            continue;
        }
        auto number = [&](int64_t &value) {
            bool any = false;
            value = 0;
            while (i < format.size() && format[i] >= u'0' && format[i] <= u'9') {
                value = std::min<int64_t>(value * 10 + (format[i++] - u'0'), 1000000);
                any = true;
            }
            return any;
        };
        auto at = [&](char16_t c) { return i < format.size() && format[i] == c; };
        int64_t first = 0;
        bool hasFirst = number(first);
        if (hasFirst && at(u':')) {
            next = static_cast<size_t>(first);
            ++i;
            hasFirst = false;
        }
        const bool left = !hasFirst && at(u'-');
        if (left) {
            ++i;
        }
        int64_t width = first;
        if (!hasFirst) {
            number(width);
        }
        int64_t precision = -1;
        if (at(u'.')) {
            ++i;
            number(precision);
        }
        if (i >= format.size() || (format[i] != u's' && format[i] != u'S') || next >= args.size()) {
            return false;
        }
        rtl::UnicodeString text = args[next++];
        if (precision >= 0 && text.size() > static_cast<size_t>(precision)) {
            text.resize(static_cast<size_t>(precision));
        }
        const rtl::UnicodeString pad(
            static_cast<size_t>(std::max<int64_t>(0, width - int64_t(text.size()))), u' ');
        out += left ? text + pad : pad + text;
    }
    return true;
}

// ---- Marker item ----

TVDMarkerItemInfo::TVDMarkerItemInfo(TCustomVDData *vdData) : TVDSimpleRectItemInfo(vdData) {
    StyleNo = StyleNoListMarker;
}

TVDMarkerItemInfo::TVDMarkerItemInfo(TCustomVDData *vdData, int32_t listNo, int32_t level,
                                     int32_t startFrom, bool reset)
    : TVDMarkerItemInfo(vdData) {
    ListNo = listNo;
    Level = level;
    StartFrom = startFrom;
    Reset = reset;
    SetSameAsPrev(false);
}

void TVDMarkerItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (const auto *marker = dynamic_cast<const TVDMarkerItemInfo *>(&source)) {
        ListNo = marker->ListNo;
        Level = marker->Level;
        StartFrom = marker->StartFrom;
        Reset = marker->Reset;
        NoHTMLImageSize = marker->NoHTMLImageSize;
    }
    TVDSimpleRectItemInfo::Assign(source);
}

const TVDListLevel *GetListLevelInfo(const TVDStyle *vdStyle, int32_t listNo, int32_t levelNo) {
    if (!vdStyle || listNo < 0 || levelNo < 0 || listNo >= vdStyle->GetListStyles().GetCount()) {
        return nullptr;
    }
    const TVDListLevelCollection &levels = vdStyle->GetListStyles().GetItem(listNo).GetLevels();
    if (levels.GetCount() == 0) {
        return nullptr;
    }
    return &levels.GetItem(std::min(levelNo, levels.GetCount() - 1));
}

const TVDListLevel *TVDMarkerItemInfo::GetLevelInfo(const TVDStyle *vdStyle) const {
    return GetListLevelInfo(vdStyle, ListNo, Level);
}

int32_t TVDMarkerItemInfo::GetIndexInList(const TVDMarkerList *list) {
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

void TVDMarkerItemInfo::MakeDisplayString(const TVDStyle *vdStyle, const TVDMarkerList &list,
                                          int32_t index) {
    DisplayString.clear();
    const TVDListLevel *levelInfo = GetLevelInfo(vdStyle);
    if (!levelInfo) {
        return;
    }
    const TVDListType type = levelInfo->GetListType();
    if (type == vdlstBullet) {
        const std::vector<rtl::UnicodeString> empty(20);
        if (!FormatMarkerText(levelInfo->GetFormatString(), empty, DisplayString)) {
            DisplayString = levelInfo->GetFormatString();
        }
        return;
    }
    if (!IsNumbered(type)) {
        return;
    }
    const int32_t argCount = std::min(Level, kMaxFormatArguments - 1) + 1;
    std::vector<rtl::UnicodeString> args(static_cast<size_t>(argCount));
    const bool legal = levelInfo->GetOptions().Contains(vdloLegalStyleNumbering);
    auto numberText = [&](int32_t level, int32_t value) {
        const TVDListLevel *info = GetListLevelInfo(vdStyle, ListNo, level);
        const int32_t t = info ? info->GetListType() : vdlstDecimal;
        return FormatMarkerNumber(
            legal && level < Level && IsNumbered(TVDListType(t)) ? vdlstDecimal : t, value);
    };
    auto setArg = [&](int32_t level, const rtl::UnicodeString &text) {
        if (level >= 0 && level < argCount) {
            args[static_cast<size_t>(level)] = text;
        }
    };
    setArg(Level, numberText(Level, Counter));
    const TVDMarkerList *searchList = &list;
    int32_t searchIndex = index;
    const TVDMarkerItemInfo *child = this;
    while (child->Level > 0) {
        const TVDMarkerList *parentList = nullptr;
        int32_t parentIndex = -1;
        if (!searchList->FindParentMarker(searchIndex, child, parentList, parentIndex)) {
            break;
        }
        const TVDMarkerItemInfo *parent = parentList->Get(parentIndex);
        for (int32_t between = parent->Level + 1; between < child->Level; ++between) {
            const TVDListLevel *info = GetListLevelInfo(vdStyle, ListNo, between);
            setArg(between, numberText(between, info ? info->GetStartFrom() : 1));
        }
        setArg(parent->Level, numberText(parent->Level, parent->Counter));
        child = parent;
        searchList = parentList;
        searchIndex = parentIndex;
    }
    if (!FormatMarkerText(levelInfo->GetFormatString(), args, DisplayString)) {
        // A format the formatter does not take (it may come from a file): the number alone.
        DisplayString = args[static_cast<size_t>(argCount - 1)];
    }
}

bool TVDMarkerItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    return prop == vdbpDrawingChangesFont || prop == vdbpCanSaveUnicode ||
           TVDSimpleRectItemInfo::GetBoolValue(prop);
}

bool TVDMarkerItemInfo::SetExtraIntProperty(TVDExtraItemProperty prop, int32_t value) {
    if (prop == vdepNoHTMLImageSize) {
        NoHTMLImageSize = value != 0;
        return true;
    }
    return TVDSimpleRectItemInfo::SetExtraIntProperty(prop, value);
}

bool TVDMarkerItemInfo::GetExtraIntProperty(TVDExtraItemProperty prop, int32_t &value) const {
    if (prop == vdepNoHTMLImageSize) {
        value = NoHTMLImageSize;
        return true;
    }
    return TVDSimpleRectItemInfo::GetExtraIntProperty(prop, value);
}

int32_t TVDMarkerItemInfo::GetVDFExtraPropertyCount() const {
    return TVDSimpleRectItemInfo::GetVDFExtraPropertyCount() + NoHTMLImageSize;
}

void TVDMarkerItemInfo::SaveVDFExtraProperties(rtl::TStream &stream) const {
    TVDSimpleRectItemInfo::SaveVDFExtraProperties(stream);
    if (NoHTMLImageSize) {
        WriteVDFExtraIntProperty(stream, vdepNoHTMLImageSize, 1);
    }
}

void TVDMarkerItemInfo::MarkStylesInUse(TVDDeleteUnusedStylesData &data) {
    TVDSimpleRectItemInfo::MarkStylesInUse(data);
    TVDDeleteUnusedStylesData::MarkUsed(data.UsedListStyles(), ListNo);
}

void TVDMarkerItemInfo::UpdateStyles(TVDDeleteUnusedStylesData &data) {
    TVDSimpleRectItemInfo::UpdateStyles(data);
    TVDDeleteUnusedStylesData::Renumber(data.UsedListStyles(), ListNo);
}

TVDRawByteString TVDMarkerItemInfo::GetVDFHeaderTail(TCustomVDData *vdData) const {
    const TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    const std::string list =
        style ? VDFFormatListStyleRef(*style, vdData->GetVDFOptions().Contains(vdfoUseStyleNames),
                                      ListNo)
              : std::to_string(ListNo);
    return list + " " + std::to_string(Level) + " " + std::to_string(StartFrom) + " " +
           (Reset ? "1" : "0");
}

bool TVDMarkerItemInfo::ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool utf8,
                                          bool &nameUsed) {
    int32_t listNo = 0;
    // A list named is already this sheet's: the reader's list map must not renumber it.
    nameUsed = *p == '"';
    if (*p == '"') {
        std::string name;
        VDFReadQuotedString(p, name);
        const TVDUnicodeString decoded = VDFDecodeString(name, utf8);
        listNo = 0;
        if (const TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr) {
            for (int32_t i = 0; i < style->GetListStyles().GetCount(); ++i) {
                if (style->GetListStyles().GetItem(i).GetStyleName() == decoded) {
                    listNo = i;
                    break;
                }
            }
        }
    } else if (!VDFReadInteger(p, listNo)) {
        return false;
    }
    int32_t level = 0;
    int32_t startFrom = 0;
    int32_t reset = 0;
    if (!VDFReadInteger(p, level) || !VDFReadInteger(p, startFrom) || !VDFReadInteger(p, reset) ||
        level < 0) {
        return false;
    }
    ListNo = listNo;
    Level = level;
    StartFrom = startFrom;
    Reset = reset != 0;
    return true;
}

TVDRawByteString TVDMarkerItemInfo::AsText(int32_t, TCustomVDData *vdData, const TVDRawByteString &,
                                           bool, bool unicode, TVDCodePage codePage) {
    const TVDListLevel *levelInfo = GetLevelInfo(vdData ? vdData->GetVDStyle() : nullptr);
    if (!levelInfo) {
        return {};
    }
    rtl::UnicodeString text;
    const TVDListType type = levelInfo->GetListType();
    if (type == vdlstPicture || type == vdlstImageList || type == vdlstImageListCounter) {
        text = u"* ";
    } else if (type == vdlstUnicodeBullet) {
        text = levelInfo->GetFormatStringW() + u" ";
    } else {
        text = DisplayString + u" ";
    }
    const TVDRawByteString raw = StringToRawUnicode(text);
    if (unicode) {
        return raw;
    }
    TVDAnsiString ansi = RawUnicodeToAnsi(codePage, raw);
    // A "?" that stands for a character the code page lacks becomes "*".
    for (size_t i = 0; i < ansi.size() && i < text.size(); ++i) {
        if (ansi[i] == '?' && text[i] != u'?') {
            ansi[i] = '*';
        }
    }
    return ansi;
}

void TVDMarkerItemInfo::MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) {
    TVDSimpleRectItemInfo::MovingToUndoList(itemNo, vdData);
    if (vdData) {
        vdData->DeleteMarkerFromList(*this, false);
    }
}

void TVDMarkerItemInfo::MovingFromUndoList(int32_t itemNo, TCustomVDData *vdData) {
    TVDSimpleRectItemInfo::MovingFromUndoList(itemNo, vdData);
    if (vdData) {
        vdData->AddMarkerInList(itemNo);
    }
}

// ---- Marker list ----

int32_t TVDMarkerList::IndexOf(const TVDMarkerItemInfo *marker) const {
    const auto it = std::find(FItems.begin(), FItems.end(), marker);
    return it == FItems.end() ? -1 : static_cast<int32_t>(it - FItems.begin());
}

void TVDMarkerList::Clear() {
    FItems.clear();
    FStateMarkers.clear();
}

int32_t TVDMarkerList::InsertAfter(TVDMarkerItemInfo *insertMe, TVDMarkerItemInfo *afterMe) {
    const int32_t index = afterMe ? IndexOf(afterMe) + 1 : 0;
    FItems.insert(FItems.begin() + index, insertMe);
    insertMe->FCachedIndexInList = index;
    return index;
}

bool TVDMarkerList::FindParentMarker(int32_t index, const TVDMarkerItemInfo *marker,
                                     const TVDMarkerList *&parentList, int32_t &parentIndex) const {
    if (!marker) {
        marker = Get(index);
    }
    for (const TVDMarkerList *list = this; list; list = list->PrevMarkerList) {
        const int32_t from = list == this ? index - 1 : list->Count() - 1;
        for (int32_t i = from; i >= 0; --i) {
            const TVDMarkerItemInfo *candidate = list->Get(i);
            if (candidate->ListNo == marker->ListNo && candidate->Level < marker->Level) {
                parentList = list;
                parentIndex = i;
                return true;
            }
        }
    }
    parentList = nullptr;
    parentIndex = -1;
    return false;
}

int32_t TVDMarkerList::CounterOf(int32_t index, const TVDMarkerItemInfo &marker,
                                 const TVDListLevel *level) const {
    if (marker.Reset) {
        return marker.StartFrom;
    }
    if (!level) {
        return 0;
    }
    int32_t counter = level->GetStartFrom();
    for (int32_t i = index - 1; i >= 0; --i) {
        const TVDMarkerItemInfo &before = *Get(i);
        if (before.ListNo != marker.ListNo) {
            continue;
        }
        if (before.Level == marker.Level) {
            return before.Counter + 1;
        }
        if (before.Level < marker.Level) {
            if (level->GetOptions().Contains(vdloLevelReset)) {
                return level->GetStartFrom();
            }
        } else {
            counter = level->GetStartFrom() + 1;
        }
    }
    return counter;
}

void TVDMarkerList::RecalcCounters(int32_t startFrom, const TVDStyle *vdStyle, bool forAllLists) {
    if (startFrom < 0 || startFrom >= Count() || Get(startFrom)->ListNo < 0) {
        return;
    }
    const int32_t listNo = Get(startFrom)->ListNo;
    for (int32_t i = startFrom; i < Count(); ++i) {
        TVDMarkerItemInfo &marker = *Get(i);
        if (!forAllLists && marker.ListNo != listNo) {
            continue;
        }
        marker.Counter = CounterOf(i, marker, marker.GetLevelInfo(vdStyle));
        marker.MakeDisplayString(vdStyle, *this, i);
    }
}

void TVDMarkerList::RecalcDisplayStrings(const TVDStyle *vdStyle) {
    for (int32_t i = 0; i < Count(); ++i) {
        Get(i)->MakeDisplayString(vdStyle, *this, i);
    }
}

void TVDMarkerList::SaveToStream(rtl::TStream &stream, int32_t count, bool includeSize) const {
    count = std::clamp(count, 0, Count());
    if (includeSize) {
        WriteInt32(stream, kStateEntrySize * count + 8);
    }
    WriteInt32(stream, 0);
    WriteInt32(stream, count);
    for (int32_t i = 0; i < count; ++i) {
        const TVDMarkerItemInfo &m = *Get(i);
        WriteInt32(stream, m.ListNo);
        WriteInt32(stream, m.Level);
        const uint8_t reset = m.Reset ? 1 : 0;
        stream.WriteBuffer(&reset, 1);
        WriteInt32(stream, m.StartFrom);
        WriteInt32(stream, m.Counter);
    }
}

void TVDMarkerList::LoadFromStream(rtl::TStream &stream, TCustomVDData *vdData, bool includeSize) {
    if (includeSize) {
        ReadInt32(stream);
    }
    ReadInt32(stream);
    const int32_t count = ReadInt32(stream);
    const int64_t rest = stream.GetSize() - stream.GetPosition();
    if (count < 0 || int64_t{count} * kStateEntrySize > rest) {
        throw rtl::EReadError(std::string_view("Stream read error"));
    }
    std::vector<std::unique_ptr<TVDMarkerItemInfo>> markers;
    markers.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const int32_t listNo = ReadInt32(stream);
        const int32_t level = ReadInt32(stream);
        uint8_t reset = 0;
        stream.ReadBuffer(&reset, 1);
        const int32_t startFrom = ReadInt32(stream);
        auto marker =
            std::make_unique<TVDMarkerItemInfo>(vdData, listNo, level, startFrom, reset != 0);
        marker->Counter = ReadInt32(stream);
        markers.push_back(std::move(marker));
    }
    Clear();
    for (auto &m : markers) {
        FItems.push_back(m.get());
    }
    FStateMarkers = std::move(markers);
}

} // namespace vizivodu
