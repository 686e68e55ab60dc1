// The item base class, the text item and the intermediate bases; option setters, checkpoints,
// extra properties, word painters, the item list and the item registry.
#include "vizivodu/document/VDItem.h"

#include "vizivodu/VDStartup_p.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Bullet.h"
#include "vizivodu/document/VDItem_Control.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/editing/VDWordPainter.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <span>

namespace vizivodu {

const std::string_view VDFExtraIntPropertyNames[VDExtraItemPropertyLast + 1] = {
    "",           "vshift",      "vshiftabs",       "width",         "height",    "transparent",
    "tmode",      "tcolor",      "minheightonpage", "spacing",       "resizable", "unremovable",
    "nohtmlsize", "ainterval",   "visible",         "hidden",        "shared",    "borderwidth",
    "color",      "bordercolor", "outerhspacing",   "outervspacing", "valign"};

const std::string_view VDFExtraStrPropertyNames[VDExtraItemStrPropertyLast + 1] = {
    "", "hint", "alt", "filename", "tag"};

// ---- Class references ----

bool TVDItemClassInfo::InheritsFrom(const TVDItemClassInfo *other) const {
    for (const TVDItemClassInfo *c = this; c != nullptr; c = c->FParent) {
        if (c == other) {
            return true;
        }
    }
    return false;
}

const TVDItemClassInfo
    TCustomVDItemInfo::ClassInfo("TCustomVDItemInfo", nullptr, [](TCustomVDData *d) {
        return std::make_unique<TCustomVDItemInfo>(d);
    });
VD_DEFINE_ITEM_CLASS(TVDTextItemInfo, TCustomVDItemInfo);
VD_DEFINE_ITEM_CLASS(TVDNonTextItemInfo, TCustomVDItemInfo);
VD_DEFINE_ITEM_CLASS(TVDFullLineItemInfo, TVDNonTextItemInfo);
VD_DEFINE_ITEM_CLASS(TVDSimpleRectItemInfo, TVDNonTextItemInfo);

// ---- Checkpoints ----

void TVDCPInfo::Assign(const TVDCPInfo &source, bool) {
    Name = source.Name;
    RaiseEvent = source.RaiseEvent;
    Tag = source.Tag;
    Persistent = source.Persistent;
}

std::unique_ptr<TVDCPInfo> TVDCPInfo::CreateCopy(bool tagsArePChars) const {
    auto copy = std::make_unique<TVDCPInfo>();
    copy->Assign(*this, tagsArePChars);
    return copy;
}

// ---- Item list ----

void TVDItemList::CheckIndex(int32_t index) const {
    if (index < 0 || index >= Count()) {
        throw rtl::EListError(rtl::Format(u"List index out of bounds (%d)", {index}));
    }
}

TCustomVDItemInfo *TVDItemList::GetObject(int32_t index) const {
    CheckIndex(index);
    return FItems[static_cast<size_t>(index)].get();
}

void TVDItemList::AddObject(TVDRawByteString text, std::unique_ptr<TCustomVDItemInfo> item) {
    item->ItemText = std::move(text);
    FItems.push_back(std::move(item));
}

void TVDItemList::InsertObject(int32_t index, TVDRawByteString text,
                               std::unique_ptr<TCustomVDItemInfo> item) {
    if (index < 0 || index > Count()) {
        throw rtl::EListError(rtl::Format(u"List index out of bounds (%d)", {index}));
    }
    item->ItemText = std::move(text);
    FItems.insert(FItems.begin() + index, std::move(item));
}

int32_t TVDItemList::IndexOfObject(const TCustomVDItemInfo *item) const {
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].get() == item) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

std::unique_ptr<TCustomVDItemInfo> TVDItemList::ReleaseObject(int32_t index) {
    CheckIndex(index);
    return std::move(FItems[static_cast<size_t>(index)]);
}

std::unique_ptr<TCustomVDItemInfo> TVDItemList::SetObject(int32_t index,
                                                          std::unique_ptr<TCustomVDItemInfo> item) {
    CheckIndex(index);
    std::swap(FItems[static_cast<size_t>(index)], item);
    return item;
}

void TVDItemList::Delete(int32_t index, int32_t count) {
    CheckIndex(index);
    count = std::min(count, Count() - index);
    FItems.erase(FItems.begin() + index, FItems.begin() + index + count);
}

// ---- Item base ----

TCustomVDItemInfo::TCustomVDItemInfo(TCustomVDData *) {}

TCustomVDItemInfo::~TCustomVDItemInfo() = default;

void TCustomVDItemInfo::SetSameAsPrev(bool value) {
    if (value) {
        ItemOptions.Exclude(vdioPageBreakBefore);
        ItemOptions.Exclude(vdioBR);
        ItemOptions.Include(vdioSameAsPrev);
    } else {
        ItemOptions.Exclude(vdioSameAsPrev);
    }
}

void TCustomVDItemInfo::SetBR(bool value) {
    if (value && !GetBoolValue(vdbpFullWidth)) {
        ItemOptions.Exclude(vdioSameAsPrev);
        ItemOptions.Include(vdioBR);
    } else {
        ItemOptions.Exclude(vdioBR);
    }
}

void TCustomVDItemInfo::SetPageBreakBefore(bool value) {
    if (value) {
        ItemOptions.Exclude(vdioSameAsPrev);
        ItemOptions.Exclude(vdioBR);
        ItemOptions.Include(vdioPageBreakBefore);
    } else {
        ItemOptions.Exclude(vdioPageBreakBefore);
    }
}

void TCustomVDItemInfo::SetClearLeft(bool value) {
    if (!value) {
        ItemOptions.Exclude(vdioClearLeft);
    } else if (!GetSameAsPrev()) {
        ItemOptions.Include(vdioClearLeft);
    }
}

void TCustomVDItemInfo::SetClearRight(bool value) {
    if (!value) {
        ItemOptions.Exclude(vdioClearRight);
    } else if (!GetSameAsPrev()) {
        ItemOptions.Include(vdioClearRight);
    }
}

void TCustomVDItemInfo::AssignParaProperties(const TCustomVDItemInfo &source) {
    SetSameAsPrev(source.GetSameAsPrev());
    SetBR(source.GetBR());
    SetPageBreakBefore(source.GetPageBreakBefore());
    SetClearLeft(source.GetClearLeft());
    SetClearRight(source.GetClearRight());
}

bool TCustomVDItemInfo::CanBeBorderStart() const {
    return !ItemOptions.Contains(vdioSameAsPrev) && !ItemOptions.Contains(vdioBR);
}

bool TCustomVDItemInfo::ParaStart(bool countBR) const {
    if (ItemOptions.Contains(vdioSameAsPrev)) {
        return false;
    }
    return countBR || !ItemOptions.Contains(vdioBR);
}

std::unique_ptr<TCustomVDItemInfo> TCustomVDItemInfo::CreateCopy(TCustomVDData *vdData,
                                                                 bool copyCheckpoint) const {
    std::unique_ptr<TCustomVDItemInfo> copy = GetClass()->Create(vdData);
    copy->StyleNo = StyleNo;
    copy->Assign(*this);
    if (copyCheckpoint && Checkpoint) {
        copy->Checkpoint = Checkpoint->CreateCopy(false).release(); // owned by the copy's chain
    }
    copy->Tag = Tag;
    return copy;
}

int32_t TCustomVDItemInfo::GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *, TCustomVDData *) {
    return sad ? static_cast<int32_t>(int64_t{5} * sad->ppixDevice / sad->ppixScreen) : 5;
}

TVDRawByteString TCustomVDItemInfo::AsText(int32_t, TCustomVDData *, const TVDRawByteString &, bool,
                                           bool, TVDCodePage) {
    return {};
}

bool TCustomVDItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    return prop == vdbpValid || prop == vdbpRequiresVDFLines || prop == vdbpSwitchToAssStyleNo ||
           prop == vdbpDocXInRun;
}

bool TCustomVDItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *) const {
    return prop == vdbpPrintToBMP || prop == vdbpPrintToBMPIfNoMetafiles;
}

int32_t TCustomVDItemInfo::GetImageWidthEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) {
    const int32_t w = GetImageWidth(vdStyle);
    return sad ? ScreenToDeviceX(w, *sad) : w;
}

int32_t TCustomVDItemInfo::GetImageHeightEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) {
    const int32_t h = GetImageHeight(vdStyle);
    return sad ? ScreenToDeviceY(h, *sad) : h;
}

uint32_t TCustomVDItemInfo::GetSubDocColor() const {
    return 0x1FFFFFFF; // clNone
}

int32_t TCustomVDItemInfo::GetVDFExtraPropertyCount() const {
    return Hint.empty() ? 0 : 1;
}

void TCustomVDItemInfo::SaveVDFExtraProperties(rtl::TStream &stream) const {
    if (!Hint.empty()) {
        WriteVDFExtraStrProperty(stream, vdespHint, Hint);
    }
}

void TCustomVDItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (source.GetClass() == GetClass()) {
        StyleNo = source.StyleNo;
    }
    ParaNo = source.ParaNo;
    ItemOptions = source.ItemOptions;
    Hint = source.Hint;
}

TCustomVDData *TCustomVDItemInfo::GetSubVDData(std::unique_ptr<TVDStoreSubVDData> &storeState,
                                               TVDSubVDDataPos) {
    storeState.reset();
    return nullptr;
}

bool TCustomVDItemInfo::SetExtraIntPropertyEx(int32_t prop, int32_t value) {
    return prop >= 0 && prop <= VDExtraItemPropertyLast &&
           SetExtraIntProperty(static_cast<TVDExtraItemProperty>(prop), value);
}

bool TCustomVDItemInfo::GetExtraIntPropertyEx(int32_t prop, int32_t &value) const {
    return prop >= 0 && prop <= VDExtraItemPropertyLast &&
           GetExtraIntProperty(static_cast<TVDExtraItemProperty>(prop), value);
}

bool TCustomVDItemInfo::SetExtraStrProperty(TVDExtraItemStrProperty prop,
                                            const rtl::UnicodeString &value) {
    switch (prop) {
    case vdespHint:
        Hint = value;
        return true;
    case vdespTag:
        Tag = value;
        return true;
    default:
        return false;
    }
}

bool TCustomVDItemInfo::GetExtraStrProperty(TVDExtraItemStrProperty prop,
                                            rtl::UnicodeString &value) const {
    switch (prop) {
    case vdespHint:
        value = Hint;
        return true;
    case vdespTag:
        value = Tag;
        return true;
    default:
        return false;
    }
}

bool TCustomVDItemInfo::SetExtraStrPropertyEx(int32_t prop, const rtl::UnicodeString &value) {
    return prop >= 0 && prop <= VDExtraItemStrPropertyLast &&
           SetExtraStrProperty(static_cast<TVDExtraItemStrProperty>(prop), value);
}

bool TCustomVDItemInfo::GetExtraStrPropertyEx(int32_t prop, rtl::UnicodeString &value) const {
    return prop >= 0 && prop <= VDExtraItemStrPropertyLast &&
           GetExtraStrProperty(static_cast<TVDExtraItemStrProperty>(prop), value);
}

void TCustomVDItemInfo::ConvertToDifferentUnits(int32_t, TVDStyle *, bool) {}

void TCustomVDItemInfo::ReadVDFExtraProperty(std::string_view s, bool utf8Strings) {
    const size_t eq = s.find('=');
    if (eq == std::string_view::npos) {
        return;
    }
    const std::string_view name = s.substr(0, eq);
    const std::string value(s.substr(eq + 1));
    for (int32_t i = 1; i <= VDExtraItemPropertyLast; ++i) {
        if (name == VDFExtraIntPropertyNames[i]) {
            const char *p = value.c_str();
            int32_t number = 0;
            if (!VDFReadInteger(p, number) || *p != '\0') {
                number = 0;
            }
            SetExtraIntProperty(static_cast<TVDExtraItemProperty>(i), number);
            return;
        }
    }
    for (int32_t i = 1; i <= VDExtraItemStrPropertyLast; ++i) {
        if (name == VDFExtraStrPropertyNames[i]) {
            SetExtraStrProperty(static_cast<TVDExtraItemStrProperty>(i),
                                VDFDecodeString(value, utf8Strings));
            return;
        }
    }
    SetExtraCustomProperty(name, VDFDecodeString(value, utf8Strings));
}

// ---- Word painters ----

namespace {

// Removes the painters that the predicate picks (from the last to the first); frees the list
// when it becomes empty. True when one was removed.
template <class Pick> bool RemovePainters(std::unique_ptr<TVDWordPainterList> &list, Pick pick) {
    if (!list) {
        return false;
    }
    bool removed = false;
    for (int32_t i = list->Count() - 1; i >= 0; --i) {
        if (pick(list->Get(i))) {
            list->Delete(i);
            removed = true;
        }
    }
    if (list->Count() == 0) {
        list.reset();
    }
    return removed;
}

} // namespace

void TCustomVDItemInfo::ClearLiveSpellingResult() {
    ItemState &= static_cast<uint8_t>(~(1u << vdisSpellChecked));
    RemovePainters(WordPaintList, [](const TVDWordPainter &p) { return p.IsMisspelling(); });
}

void TCustomVDItemInfo::ClearWordPainters(int32_t index) {
    ItemState &= static_cast<uint8_t>(~(1u << vdisSpellChecked));
    if (index <= 1) {
        WordPaintList.reset();
        return;
    }
    RemovePainters(WordPaintList,
                   [index](const TVDWordPainter &p) { return index < p.StartOffs + p.Length; });
}

void TCustomVDItemInfo::AddMisspelling(int32_t startOffs, int32_t length) {
    if (!WordPaintList) {
        WordPaintList = std::make_unique<TVDWordPainterList>();
    }
    WordPaintList->Add(std::make_unique<TVDWordMisspellPainter>(startOffs, length));
}

bool TCustomVDItemInfo::GetMisspelling(int32_t offs, int32_t &misOffs, int32_t &misLength) const {
    if (!WordPaintList) {
        return false;
    }
    for (int32_t i = WordPaintList->Count() - 1; i >= 0; --i) {
        const TVDWordPainter &p = WordPaintList->Get(i);
        if (p.IsMisspelling() && p.StartOffs <= offs && offs <= p.StartOffs + p.Length) {
            misOffs = p.StartOffs;
            misLength = p.Length;
            return true;
        }
    }
    return false;
}

bool TCustomVDItemInfo::IsMisspelled(int32_t index) const {
    if (!WordPaintList) {
        return false;
    }
    for (int32_t i = 0; i < WordPaintList->Count(); ++i) {
        const TVDWordPainter &p = WordPaintList->Get(i);
        if (p.IsMisspelling() && p.StartOffs <= index && index < p.StartOffs + p.Length) {
            return true;
        }
    }
    return false;
}

bool TCustomVDItemInfo::ValidateMisspelledWord(const rtl::UnicodeString &itemText,
                                               const rtl::UnicodeString &word) {
    return RemovePainters(WordPaintList, [&](const TVDWordPainter &p) {
        if (!p.IsMisspelling() || p.StartOffs < 1 ||
            static_cast<size_t>(p.StartOffs) > itemText.size()) {
            return false;
        }
        return itemText.substr(static_cast<size_t>(p.StartOffs - 1),
                               static_cast<size_t>(std::max(0, p.Length))) == word;
    });
}

bool TCustomVDItemInfo::AdjustWordPaintersOnDelete(int32_t index, int32_t count) {
    if (!WordPaintList) {
        return false;
    }
    bool removed = false;
    for (int32_t i = WordPaintList->Count() - 1; i >= 0; --i) {
        TVDWordPainter &p = WordPaintList->Get(i);
        if (int64_t{p.StartOffs} + p.Length + 1 <= int64_t{index} + count - 1) {
            continue; // before the deleted characters
        }
        // Only a painter that starts after the deleted characters moves back with its word; one
        // that touches or overlaps them (starts inside them included) has lost its word.
        if (int64_t{p.StartOffs} > int64_t{index} + count) {
            p.StartOffs -= count;
        } else {
            WordPaintList->Delete(i);
            removed = true;
        }
    }
    if (WordPaintList->Count() == 0) {
        WordPaintList.reset();
    }
    return removed;
}

// ---- Intermediate bases ----

bool TVDTextItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const {
    return TCustomVDItemInfo::GetBoolValueEx(prop, vdStyle) || prop == vdbpActualPrintSize ||
           ((prop == vdbpJump || prop == vdbpAllowsFocus || prop == vdbpXORFocus ||
             prop == vdbpHotColdJump) &&
            JumpAnswer(prop, vdStyle));
}

void TVDNonTextItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (const auto *nonText = dynamic_cast<const TVDNonTextItemInfo *>(&source)) {
        DeleteProtect = nonText->DeleteProtect;
        Hidden = nonText->Hidden;
    }
    TCustomVDItemInfo::Assign(source);
}

bool TVDNonTextItemInfo::SetExtraIntProperty(TVDExtraItemProperty prop, int32_t value) {
    switch (prop) {
    case vdepDeleteProtect:
        DeleteProtect = value != 0;
        return true;
    case vdepHidden:
        Hidden = value != 0;
        return true;
    default:
        return TCustomVDItemInfo::SetExtraIntProperty(prop, value);
    }
}

bool TVDNonTextItemInfo::GetExtraIntProperty(TVDExtraItemProperty prop, int32_t &value) const {
    switch (prop) {
    case vdepDeleteProtect:
        value = DeleteProtect ? 1 : 0;
        return true;
    case vdepHidden:
        value = Hidden ? 1 : 0;
        return true;
    default:
        return TCustomVDItemInfo::GetExtraIntProperty(prop, value);
    }
}

int32_t TVDNonTextItemInfo::GetVDFExtraPropertyCount() const {
    return TCustomVDItemInfo::GetVDFExtraPropertyCount() + (Hidden ? 1 : 0) +
           (DeleteProtect ? 1 : 0);
}

void TVDNonTextItemInfo::SaveVDFExtraProperties(rtl::TStream &stream) const {
    TCustomVDItemInfo::SaveVDFExtraProperties(stream);
    if (DeleteProtect) {
        WriteVDFExtraIntProperty(stream, vdepDeleteProtect, 1);
    }
    if (Hidden) {
        WriteVDFExtraIntProperty(stream, vdepHidden, 1);
    }
}

int32_t TVDNonTextItemInfo::GetHeightEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) {
    const int32_t h = GetHeight(vdStyle);
    return sad ? static_cast<int32_t>(int64_t{h} * sad->ppiyDevice / sad->ppiyScreen) : h;
}

int32_t TVDNonTextItemInfo::GetWidthEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) {
    const int32_t w = GetWidth(vdStyle);
    return sad ? static_cast<int32_t>(int64_t{w} * sad->ppixDevice / sad->ppixScreen) : w;
}

bool TVDFullLineItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    return prop == vdbpFullWidth || TVDNonTextItemInfo::GetBoolValue(prop);
}

// ---- Native-format helpers ----

TVDItemOptions GetVDFItemOptions(TVDItemOptions options, bool forceSameAsPrev) {
    if (forceSameAsPrev) {
        options.Include(vdioSameAsPrev);
        for (TVDItemOption o : {vdioBR, vdioPageBreakBefore, vdioClearLeft, vdioClearRight}) {
            options.Exclude(o);
        }
    }
    return options;
}

void WriteVDFExtraIntProperty(rtl::TStream &stream, TVDExtraItemProperty prop, int32_t value) {
    WriteVDFExtraIntPropertyByName(stream, VDFExtraIntPropertyNames[prop], value);
}

void WriteVDFExtraStrProperty(rtl::TStream &stream, TVDExtraItemStrProperty prop,
                              const rtl::UnicodeString &value) {
    WriteVDFExtraStrPropertyByName(stream, VDFExtraStrPropertyNames[prop], value);
}

void WriteVDFExtraStrPropertyByName(rtl::TStream &stream, std::string_view name,
                                    const rtl::UnicodeString &value) {
    VDFWriteLine(stream, std::string(name) + "=" + VDFEncodeString(value));
}

void WriteVDFExtraIntPropertyByName(rtl::TStream &stream, std::string_view name, int32_t value) {
    VDFWriteLine(stream, std::string(name) + "=" + std::to_string(value));
}

} // namespace vizivodu

// ---- Registry ----

namespace vizivodu {

TVDItemClass ViziVoduTextItemClass = &TVDTextItemInfo::ClassInfo;

namespace {

struct TViziVoduItemTypeInfo {
    int32_t StyleNo;
    TVDItemClass ItemClass;
};

std::vector<TViziVoduItemTypeInfo> &ItemTypes() {
    static std::vector<TViziVoduItemTypeInfo> types;
    return types;
}

// The built-in kinds, in the order the factory tries them (before the registry).
constexpr TViziVoduItemTypeInfo BuiltInItemTypes[] = {
    {StyleNoTab, &TVDTabItemInfo::ClassInfo},
    {StyleNoListMarker, &TVDMarkerItemInfo::ClassInfo},
    {StyleNoHotPicture, &TVDHotGraphicItemInfo::ClassInfo},
    {StyleNoBullet, &TVDBulletItemInfo::ClassInfo},
    {StyleNoControl, &TVDControlItemInfo::ClassInfo},
    {StyleNoHotspot, &TVDHotspotItemInfo::ClassInfo},
    {StyleNoPicture, &TVDGraphicItemInfo::ClassInfo},
    {StyleNoBreak, &TVDBreakItemInfo::ClassInfo}};

// The class of kind styleNo in types; nullptr when it has none.
TVDItemClass ClassOf(std::span<const TViziVoduItemTypeInfo> types, int32_t styleNo) {
    for (const TViziVoduItemTypeInfo &entry : types) {
        if (entry.StyleNo == styleNo) {
            return entry.ItemClass;
        }
    }
    return nullptr;
}

} // namespace

void RegisterItemType(int32_t styleNo, TVDItemClass itemClass) {
    if (styleNo >= -9) {
        throw EViziVoduError(rtl::UnicodeString(errmsg::ItemTypeRegistered));
    }
    for (const TViziVoduItemTypeInfo &entry : ItemTypes()) {
        if (entry.StyleNo == styleNo) {
            if (entry.ItemClass == itemClass) {
                return;
            }
            throw EViziVoduError(rtl::UnicodeString(errmsg::ItemTypeRegistered));
        }
    }
    ItemTypes().push_back({styleNo, itemClass});
}

void UnregisterItemType(TVDItemClass itemClass) {
    auto &types = ItemTypes();
    types.erase(std::remove_if(types.begin(), types.end(),
                               [itemClass](const TViziVoduItemTypeInfo &entry) {
                                   return entry.ItemClass == itemClass;
                               }),
                types.end());
}

std::unique_ptr<TCustomVDItemInfo> CreateItemForStyleNo(int32_t styleNo, TCustomVDData *vdData) {
    TVDItemClass itemClass = ViziVoduTextItemClass;
    if (styleNo < 0) {
        itemClass = ClassOf(BuiltInItemTypes, styleNo);
        if (!itemClass) {
            itemClass = ClassOf(ItemTypes(), styleNo);
        }
    }
    if (!itemClass) {
        return nullptr;
    }
    std::unique_ptr<TCustomVDItemInfo> item = itemClass->Create(vdData);
    item->StyleNo = styleNo;
    return item;
}

void InitializeItemRegistry() {
    ViziVoduTextItemClass = &TVDTextItemInfo::ClassInfo;
}

void startup::InitializeVDItem() {
    InitializeItemRegistry();
}

void FinalizeItemRegistry() {
    ItemTypes().clear();
}

} // namespace vizivodu
