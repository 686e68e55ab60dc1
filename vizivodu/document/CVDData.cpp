// The document: construction, the paragraph rules and the Add family, the checkpoint chain,
// deleting and clearing, item text in its encodings, code-page queries, and moving item lists
// between documents.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Bullet.h"
#include "vizivodu/document/VDItem_Control.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Graphic.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/ui/Application.h"
#include "platform/ui/WinControl.h"

#include <algorithm>

namespace vizivodu {

namespace {

// Frees a checkpoint that the chain (or the pending slot) owned.
void DisposeCheckpoint(TVDCPInfo *&cp) {
    std::unique_ptr<TVDCPInfo> owner(cp);
    cp = nullptr;
}

std::function<void()> &SystemBeepHandler() {
    static std::function<void()> handler;
    return handler;
}

} // namespace

void SystemBeep() {
    if (SystemBeepHandler()) {
        SystemBeepHandler()();
    } else {
        ui::MessageBeep();
    }
}

void SetSystemBeepHandler(std::function<void()> handler) {
    SystemBeepHandler() = std::move(handler);
}

void TCustomVDData::Beep() {
    TVDStyle *style = GetVDStyle();
    if (style && style->GetUseSound()) {
        SystemBeep();
    }
}

TCustomVDData::TCustomVDData() {
    if (!SharesItems()) {
        FOwnItems = std::make_unique<TVDItemList>();
        FItems = FOwnItems.get();
    }
}

TCustomVDData::~TCustomVDData() {
    Clear();
}

// ---- The paragraph rules and the Add family ----

void TCustomVDData::PrepareItemForAdding(TCustomVDItemInfo &item) {
    const int32_t count = ItemCount();
    TCustomVDItemInfo *last = count > 0 ? GetItem(count - 1) : nullptr;
    if (item.ParaNo == -1 && last && !last->GetBoolValue(vdbpFullWidth)) {
        item.SetSameAsPrev(true);
        item.ParaNo = last->ParaNo;
        return;
    }
    if (last && last->StyleNo == StyleNoListMarker) {
        // A marker is never the last item of its paragraph when something follows it.
        AddNLR({}, 0, -1);
    }
    item.ItemOptions.Exclude(vdioSameAsPrev);
    const bool fullWidth = item.GetBoolValue(vdbpFullWidth);
    const bool br =
        (item.ItemOptions.Contains(vdioBR) || !FAllowNewPara) && !fullWidth && ItemCount() > 0;
    item.ItemOptions.Set(vdioBR, br);
    if (item.ParaNo == -1) {
        item.ParaNo = 0;
    }
}

void TCustomVDData::AddItemR(TVDRawByteString text, std::unique_ptr<TCustomVDItemInfo> item,
                             bool adjustPara) {
    if (adjustPara) {
        PrepareItemForAdding(*item);
    }
    if (item->Checkpoint) {
        TVDCPInfo *carried = item->Checkpoint;
        item->Checkpoint = nullptr;
        AddNamedCheckpointExTag(carried->Name, carried->RaiseEvent, carried->Tag);
        DisposeCheckpoint(carried);
    }
    AddItemAsIsR(std::move(text), std::move(item));
}

void TCustomVDData::AddItemAsIsR(TVDRawByteString text, std::unique_ptr<TCustomVDItemInfo> item) {
    if (item->Checkpoint) {
        // The carried checkpoint stays with the document that owns it; a copy becomes pending.
        const TVDCPInfo &carried = *item->Checkpoint;
        item->Checkpoint = nullptr;
        AddNamedCheckpointExTag(carried.Name, carried.RaiseEvent, carried.Tag);
    }
    SetCP(*item, LastCP, NotAddedCP);
    item->Inserting(this, text, !State.Contains(vdstClearing));
    TCustomVDItemInfo &added = *item;
    FItems->AddObject(std::move(text), std::move(item));
    added.Inserted(this, ItemCount() - 1);
}

void TCustomVDData::AddItem(const rtl::UnicodeString &text,
                            std::unique_ptr<TCustomVDItemInfo> item) {
    PrepareItemForAdding(*item);
    TVDRawByteString stored =
        StringToItemText(text, item->ItemOptions.Contains(vdioUnicode), GetItemCodePage2(*item));
    AddItemR(std::move(stored), std::move(item), false);
    DoOnAddSpecialItem(ItemCount() - 1);
}

void TCustomVDData::AddNLRTag(TVDRawByteString s, int32_t styleNo, int32_t paraNo,
                              const TVDTag &tag) {
    std::unique_ptr<TCustomVDItemInfo> item = ViziVoduTextItemClass->Create(this);
    item->StyleNo = styleNo < 0 ? StyleNoParaDefault : styleNo;
    item->ParaNo = paraNo;
    item->Tag = tag;
    PrepareItemForAdding(*item);
    const int32_t resolved = GetActualStyle(*item);
    if (TVDStyle *style = GetVDStyle()) {
        if (style->GetTextStyles().GetItem(resolved).GetUnicode()) {
            item->ItemOptions.Include(vdioUnicode);
        }
    }
    if (s.find('\t') != TVDRawByteString::npos) {
        s = ReplaceTabs(s, resolved, false);
    }
    AddItemR(std::move(s), std::move(item), false);
}

void TCustomVDData::AddNLR(TVDRawByteString s, int32_t styleNo, int32_t paraNo) {
    AddNLRTag(std::move(s), styleNo, paraNo, {});
}

int32_t TCustomVDData::ParaNoForAdding(int32_t paraNo) {
    if (paraNo != -1) {
        return paraNo;
    }
    const int32_t count = ItemCount();
    TCustomVDItemInfo *last = count > 0 ? GetItem(count - 1) : nullptr;
    return last && !last->GetBoolValue(vdbpFullWidth) ? last->ParaNo : 0;
}

void TCustomVDData::AddNLATag(const TVDAnsiString &s, int32_t styleNo, int32_t paraNo,
                              const TVDTag &tag) {
    if (styleNo < 0) {
        styleNo = StyleNoParaDefault;
    }
    if (TVDStyle *style = GetVDStyle()) {
        const int32_t actual = GetActualStyleEx(styleNo, ParaNoForAdding(paraNo));
        if (style->GetTextStyles().GetItem(actual).GetUnicode()) {
            AddNLRTag(AnsiToRawUnicode(GetStyleCodePage(actual), s), styleNo, paraNo, tag);
            return;
        }
    }
    AddNLRTag(s, styleNo, paraNo, tag);
}

void TCustomVDData::AddNLWTagRaw(const TVDRawByteString &s, int32_t styleNo, int32_t paraNo,
                                 const TVDTag &tag) {
    if (styleNo < 0) {
        styleNo = StyleNoParaDefault;
    }
    if (TVDStyle *style = GetVDStyle()) {
        const int32_t actual = GetActualStyleEx(styleNo, ParaNoForAdding(paraNo));
        if (!style->GetTextStyles().GetItem(actual).GetUnicode()) {
            AddNLRTag(RawUnicodeToAnsi(GetStyleCodePage(actual), s), styleNo, paraNo, tag);
            return;
        }
    }
    AddNLRTag(s, styleNo, paraNo, tag);
}

void TCustomVDData::AddNLWTag(std::u16string_view s, int32_t styleNo, int32_t paraNo,
                              const TVDTag &tag) {
    AddNLWTagRaw(StringToRawUnicode(s), styleNo, paraNo, tag);
}

void TCustomVDData::AddFmt(const rtl::UnicodeString &formatStr,
                           std::initializer_list<rtl::TVarRec> args, int32_t styleNo,
                           int32_t paraNo) {
    AddNLTag(rtl::Format(formatStr, args), styleNo, paraNo, {});
}

void TCustomVDData::AddTab(int32_t textStyleNo, int32_t paraNo) {
    auto tab = std::make_unique<TVDTabItemInfo>(this);
    tab->StyleNo = StyleNoTab;
    tab->SetAssociatedTextStyleNo(textStyleNo);
    tab->ParaNo = paraNo;
    AddItemR({}, std::move(tab), true);
}

void TCustomVDData::AddBreakExTag(TVDStyleLength width, TVDBreakStyle style, TColor color,
                                  const TVDTag &tag) {
    auto item = std::make_unique<TVDBreakItemInfo>(this);
    item->LineWidth = width;
    item->Style = style;
    item->Color = color;
    item->ParaNo = 0;
    item->Tag = tag;
    AddItemR({}, std::move(item), true);
}

void TCustomVDData::AddBreakTag(const TVDTag &tag) {
    AddBreakExTag(1, vdbsLine, gfx::clNone, tag);
}

void TCustomVDData::AddPictureExTag(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr,
                                    int32_t paraNo, TVDVAlign vAlign, const TVDTag &tag) {
    auto item = std::make_unique<TVDGraphicItemInfo>(this, std::move(gr), vAlign);
    item->ParaNo = paraNo;
    item->Tag = tag;
    AddItemR(name, std::move(item), true);
}

void TCustomVDData::AddHotPictureTag(const TVDAnsiString &name, std::unique_ptr<gfx::TGraphic> gr,
                                     int32_t paraNo, TVDVAlign vAlign, const TVDTag &tag) {
    auto item = std::make_unique<TVDHotGraphicItemInfo>(this, std::move(gr), vAlign);
    item->ParaNo = paraNo;
    item->Tag = tag;
    AddItemR(name, std::move(item), true);
}

void TCustomVDData::AddControlExTag(const TVDAnsiString &name, std::unique_ptr<ui::TControl> ctrl,
                                    int32_t paraNo, TVDVAlign vAlign, const TVDTag &tag) {
    ui::TControl *control = ctrl.get();
    auto item = std::make_unique<TVDControlItemInfo>(this, std::move(ctrl), vAlign);
    item->ParaNo = paraNo;
    item->Tag = tag;
    AddItemR(name, std::move(item), true);
    if (control) {
        control->SetParent(dynamic_cast<ui::TWinControl *>(GetParentControl()));
    }
}

void TCustomVDData::AddControlEx(const TVDAnsiString &name, std::unique_ptr<ui::TControl> ctrl,
                                 int32_t paraNo, TVDVAlign vAlign) {
    AddControlExTag(name, std::move(ctrl), paraNo, vAlign, {});
}

void TCustomVDData::AddBulletExTag(const TVDAnsiString &name, int32_t imageIndex,
                                   gfx::TCustomImageList *imageList, int32_t paraNo,
                                   const TVDTag &tag) {
    auto item = std::make_unique<TVDBulletItemInfo>(this, imageIndex, imageList, vdvaBaseline);
    item->ParaNo = paraNo;
    item->Tag = tag;
    AddItemR(name, std::move(item), true);
}

void TCustomVDData::AddHotspotExTag(const TVDAnsiString &name, int32_t imageIndex,
                                    int32_t hotImageIndex, gfx::TCustomImageList *imageList,
                                    int32_t paraNo, const TVDTag &tag) {
    auto item = std::make_unique<TVDHotspotItemInfo>(this, imageIndex, hotImageIndex, imageList,
                                                     vdvaBaseline);
    item->ParaNo = paraNo;
    item->Tag = tag;
    AddItemR(name, std::move(item), true);
}

int32_t TCustomVDData::AddNamedCheckpointExTag(const rtl::UnicodeString &cpName, bool raiseEvent,
                                               const TVDTag &tag) {
    if (NotAddedCP) {
        return CPCount - 1;
    }
    auto cp = std::make_unique<TVDCPInfo>();
    cp->Name = cpName;
    cp->RaiseEvent = raiseEvent;
    cp->Tag = tag;
    NotAddedCP = cp.release();
    return CPCount++;
}

// ---- The checkpoint chain ----

void TCustomVDData::SetCP(TCustomVDItemInfo &item, TVDCPInfo *&prevCP, TVDCPInfo *&cp) {
    if (!cp) {
        return;
    }
    cp->Prev = prevCP;
    cp->Next = prevCP ? prevCP->Next : FirstCP;
    if (cp->Next) {
        cp->Next->Prev = cp;
    }
    if (prevCP) {
        prevCP->Next = cp;
    } else {
        FirstCP = cp;
    }
    if (prevCP == LastCP) {
        LastCP = cp;
    }
    cp->ItemInfo = &item;
    item.Checkpoint = cp;
    cp = nullptr;
}

void TCustomVDData::UnlinkCheckpoint(TVDCPInfo &cp, bool decCPCount) {
    if (cp.Prev) {
        cp.Prev->Next = cp.Next;
    } else if (FirstCP == &cp) {
        FirstCP = cp.Next;
    }
    if (cp.Next) {
        cp.Next->Prev = cp.Prev;
    } else if (LastCP == &cp) {
        LastCP = cp.Prev;
    }
    cp.Next = cp.Prev = nullptr;
    cp.ItemInfo = nullptr;
    if (decCPCount) {
        --CPCount;
    }
}

void TCustomVDData::FreeCheckpoint(TVDCPInfo *&cp, bool adjustLinks, bool decCPCount) {
    if (!cp) {
        return;
    }
    if (adjustLinks) {
        UnlinkCheckpoint(*cp, false);
    }
    DisposeCheckpoint(cp);
    if (decCPCount) {
        --CPCount;
    }
}

// ---- Deleting and clearing ----

void TCustomVDData::DeleteItems(int32_t firstItemNo, int32_t count) {
    if (SharesItems() || firstItemNo < 0 || firstItemNo >= ItemCount() || count <= 0) {
        return;
    }
    count = std::min(count, ItemCount() - firstItemNo);
    for (int32_t i = firstItemNo; i < firstItemNo + count; ++i) {
        FreeItem(i, false);
    }
    FItems->Delete(firstItemNo, count);
}

void TCustomVDData::DeleteSection(const rtl::UnicodeString &cpName) {
    if (SharesItems()) {
        return;
    }
    TVDCPInfo *cp = FirstCP;
    while (cp && cp->Name != cpName) {
        cp = cp->Next;
    }
    if (!cp) {
        return;
    }
    const int32_t first = GetItemNo(cp->ItemInfo);
    TVDCPInfo *next = cp->Next;
    while (next && next->Name.empty()) {
        next = next->Next;
    }
    const int32_t end = next ? GetItemNo(next->ItemInfo) : ItemCount();
    if (first >= 0 && end > first) {
        DeleteItems(first, end - first);
    }
}

void TCustomVDData::FreeItem(int32_t itemNo, bool clearing) {
    std::unique_ptr<TCustomVDItemInfo> item = FItems->ReleaseObject(itemNo);
    if (!item) {
        return;
    }
    TVDRawByteString text = item->ItemText;
    ItemAction(vdiaDestroying, *item, text, *this);
    ControlAction(this, vdcaDestroy, itemNo, *item);
    DestroyItem(std::move(item), clearing);
}

void TCustomVDData::DestroyItem(std::unique_ptr<TCustomVDItemInfo> item, bool clearing) {
    if (!item) {
        return;
    }
    DoOnDeleteSpecialItem(*item, clearing);
    FreeCheckpoint(item->Checkpoint, true, true);
    if (auto *nonText = dynamic_cast<TVDNonTextItemInfo *>(item.get())) {
        if (nonText->HasThumbnail() && GetThumbnailCache()) {
            // The cache forgets the owner; the thumbnail goes with the item.
            nonText->FreeThumbnail();
        }
    }
}

void TCustomVDData::Clear() {
    const rtl::TFlagScope clearing(State, vdstClearing);
    State.Exclude(vdstFirstParaAborted);
    State.Exclude(vdstLastParaAborted);
    FFirstParaListNo = -1;
    FFirstParaLevel = -1;
    // Only a list of its own: while a sharing document is destroyed its SharesItems override
    // no longer answers, and the items it shares are not its to free.
    if (!SharesItems() && FItems && FItems == FOwnItems.get()) {
        for (int32_t i = 0; i < ItemCount(); ++i) {
            FreeItem(i, true);
        }
        FItems->Clear();
    }
    FreeCheckpoint(NotAddedCP, false, true);
    FirstCP = LastCP = nullptr;
}

// ---- Item text ----

int32_t TCustomVDData::ItemLength(int32_t itemNo) {
    const TCustomVDItemInfo *item = GetItem(itemNo);
    return item->IsText() ? GetItemTextLength(item->ItemText, item->ItemOptions) : 1;
}

int32_t TCustomVDData::GetOffsBeforeItem(int32_t itemNo) {
    return GetItemStyle(itemNo) >= 0 ? 1 : 0;
}

int32_t TCustomVDData::GetOffsAfterItem(int32_t itemNo) {
    return GetItemStyle(itemNo) >= 0 ? ItemLength(itemNo) + 1 : 1;
}

TVDUnicodeString TCustomVDData::GetItemTextW(int32_t itemNo) {
    return GetItemTextExW(itemNo, GetItem(itemNo)->ItemText);
}

TVDUnicodeString TCustomVDData::GetItemTextExW(int32_t itemNo, const TVDRawByteString &source) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (!item->IsText()) {
        return RawUnicodeToString(AnsiToRawUnicode(GetItemCodePage(itemNo), source));
    }
    if (item->ItemOptions.Contains(vdioUnicode)) {
        return RawUnicodeToString(source);
    }
    if (IsSymbolCharset(itemNo)) {
        return RawUnicodeToString(SymbolAnsiToRawUnicode(source));
    }
    return RawUnicodeToString(AnsiToRawUnicode(GetItemCodePage(itemNo), source));
}

TVDAnsiString TCustomVDData::GetItemTextExA(int32_t itemNo, TVDCodePage codePage) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (!item->IsText() || !item->ItemOptions.Contains(vdioUnicode)) {
        return item->ItemText;
    }
    if (IsSymbolCharset(itemNo)) {
        TVDAnsiString bytes = UnicodeRawToSymbolAnsi(item->ItemText);
        return codePage == 0 ? bytes : RawUnicodeToAnsi(codePage, AnsiToRawUnicode(0, bytes));
    }
    return RawUnicodeToAnsi(codePage, item->ItemText);
}

TVDAnsiString TCustomVDData::GetItemTextA(int32_t itemNo) {
    return GetItemTextExA(itemNo, GetItemCodePage(itemNo));
}

TVDRawByteString TCustomVDData::GetTextInItemFormatA(int32_t itemNo, const TVDAnsiString &s) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (item->IsText() && item->ItemOptions.Contains(vdioUnicode)) {
        return AnsiToRawUnicode(GetItemCodePage(itemNo), s);
    }
    return s;
}

TVDRawByteString TCustomVDData::GetTextInItemFormatW(int32_t itemNo, std::u16string_view s) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    TVDRawByteString raw = StringToRawUnicode(s);
    if (item->IsText() && item->ItemOptions.Contains(vdioUnicode)) {
        return raw;
    }
    return RawUnicodeToAnsi(GetItemCodePage(itemNo), raw);
}

void TCustomVDData::SetItemTextW(int32_t itemNo, std::u16string_view s) {
    TVDRawByteString stored = GetTextInItemFormatW(itemNo, s);
    GetItem(itemNo)->ItemText = std::move(stored);
}

void TCustomVDData::SetItemTextA(int32_t itemNo, const TVDAnsiString &s) {
    TVDRawByteString stored = GetTextInItemFormatA(itemNo, s);
    GetItem(itemNo)->ItemText = std::move(stored);
}

TVDRawByteString TCustomVDData::GetItemTextR(int32_t itemNo) {
    return GetItem(itemNo)->ItemText;
}

void TCustomVDData::SetItemTextR(int32_t itemNo, TVDRawByteString s) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (item->ItemOptions.Contains(vdioUnicode)) {
        CheckUnicodeByteLength(s.size());
    }
    item->ItemText = std::move(s);
}

TVDRawByteString TCustomVDData::ReplaceTabs(const TVDRawByteString &s, int32_t styleNo,
                                            bool unicodeDef) {
    TVDStyle *style = GetVDStyle();
    const int32_t spaces = style ? std::max(0, style->GetSpacesInTab()) : 8;
    const bool unicode = style ? style->GetTextStyles().GetItem(styleNo).GetUnicode() : unicodeDef;
    TVDRawByteString out;
    out.reserve(s.size());
    if (unicode) {
        CheckUnicodeByteLength(s.size());
        for (size_t i = 0; i < s.size(); i += 2) {
            if (s[i] == '\t' && s[i + 1] == 0) {
                for (int32_t k = 0; k < spaces; ++k) {
                    out += " ";
                    out += '\0';
                }
            } else {
                out += s[i];
                out += s[i + 1];
            }
        }
        return out;
    }
    for (char c : s) {
        if (c == '\t') {
            out.append(static_cast<size_t>(spaces), ' ');
        } else {
            out += c;
        }
    }
    return out;
}

// ---- Items ----

void TCustomVDData::AdjustInItemsRange(int32_t &itemNo) const {
    itemNo = std::clamp(itemNo, 0, std::max(0, ItemCount() - 1));
}

void TCustomVDData::Inserting(TCustomVDData *vdData, bool safe) {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        TCustomVDItemInfo *item = GetItem(i);
        TVDRawByteString text = item->ItemText;
        item->Inserting(vdData, text, safe);
        item->ItemText = std::move(text);
    }
}

void TCustomVDData::SetParagraphStyleToAll(int32_t paraNo) {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        if (GetItemStyle(i) != StyleNoBreak) {
            GetItem(i)->ParaNo = paraNo;
        }
    }
}

// ---- Code pages, locales, delimiters ----

TVDCodePage TCustomVDData::GetStyleCodePage(int32_t styleNo) {
    TVDStyle *style = GetVDStyle();
    if (!style) {
        return 0;
    }
    if (styleNo >= 0) {
        const uint8_t charset = style->GetTextStyles().GetItem(styleNo).GetCharset();
        if (charset != gfx::DEFAULT_CHARSET) {
            return CharsetToCodePage(charset);
        }
    }
    return style->GetDefCodePage();
}

TVDCodePage TCustomVDData::GetItemCodePage(int32_t itemNo) {
    return GetItemCodePage2(*GetItem(itemNo));
}

TVDCodePage TCustomVDData::GetItemCodePage2(TCustomVDItemInfo &item) {
    return GetStyleCodePage(GetActualStyle(item));
}

bool TCustomVDData::IsSymbolCharset(int32_t itemNo) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    TVDStyle *style = GetVDStyle();
    if (!item->IsText() || !style) {
        return false;
    }
    return style->GetTextStyles().GetItem(GetActualStyle(*item)).IsSymbolCharset();
}

uint32_t TCustomVDData::GetStyleLocale(int32_t styleNo) {
    TVDStyle *style = GetVDStyle();
    if (!style || styleNo < 0) {
        return LanguageToLocale(0);
    }
    return LanguageToLocale(
        CharsetToLanguage(style->GetTextStyles().GetItem(styleNo).GetCharset()));
}

TVDCodePage TCustomVDData::GetDefaultCodePage() {
    TVDStyle *style = GetVDStyle();
    return style ? style->GetDefCodePage() : 0;
}

bool TCustomVDData::IsDelimiterW(char16_t ch) {
    return ch == u'\t' || GetDelimiters().find(ch) != rtl::UnicodeString::npos;
}

bool TCustomVDData::IsDelimiterA(char ch, TVDCodePage codePage) {
    if (ch == '\t') {
        return true;
    }
    const TVDUnicodeString w = RawUnicodeToString(AnsiToRawUnicode(codePage, std::string(1, ch)));
    return !w.empty() && GetDelimiters().find(w[0]) != rtl::UnicodeString::npos;
}

bool TCustomVDData::IsDelimiter(const TVDRawByteString &s, int32_t index,
                                TVDItemOptions itemOptions, TVDCodePage codePage) {
    if (index < 1 || index > GetItemTextLength(s, itemOptions)) {
        return false;
    }
    if (itemOptions.Contains(vdioUnicode)) {
        const size_t at = 2 * static_cast<size_t>(index - 1);
        const auto unit = static_cast<char16_t>(static_cast<uint8_t>(s[at]) |
                                                (static_cast<uint8_t>(s[at + 1]) << 8));
        return IsDelimiterW(unit);
    }
    return IsDelimiterA(s[static_cast<size_t>(index - 1)], codePage);
}

// ---- Moving item lists ----

void TCustomVDData::ShareItemsFrom(TCustomVDData &source) {
    if (SharesItems()) {
        Clear();
        FItems = source.FItems;
    }
}

void TCustomVDData::AssignItemsFrom(TCustomVDData &source) {
    FItems = source.FItems;
}

void TCustomVDData::AppendFrom(TCustomVDData &source) {
    for (int32_t i = 0; i < source.ItemCount(); ++i) {
        TCustomVDItemInfo *original = source.GetItem(i);
        std::unique_ptr<TCustomVDItemInfo> copy = original->CreateCopy(this, true);
        if (!copy->GetBoolValue(vdbpValid)) {
            if (copy->Checkpoint) {
                DisposeCheckpoint(copy->Checkpoint);
            }
            continue;
        }
        if (copy->GetSameAsPrev()) {
            copy->ParaNo = -1;
        }
        AddItemR(original->ItemText, std::move(copy), true);
        DoOnAddSpecialItem(ItemCount() - 1);
    }
}

void TCustomVDData::DrainFrom(TCustomVDData *victim) {
    if (!victim || victim == this) {
        return;
    }
    // Items that leave a victim with lists of its own leave those lists too, so that they keep
    // no references to items they no longer hold.
    const bool ownMarkers =
        victim->GetMarkers(false) && victim->GetMarkers(false) != GetMarkers(false);
    const bool ownSeqs =
        victim->GetSeqList(false) && victim->GetSeqList(false) != GetSeqList(false);
    const bool ownFields = victim->GetPrintFieldList(false) &&
                           victim->GetPrintFieldList(false) != GetPrintFieldList(false);
    for (int32_t i = 0; i < victim->ItemCount(); ++i) {
        TCustomVDItemInfo &item = *victim->GetItem(i);
        if (ownMarkers) {
            victim->DeleteMarkerFromList(item, true);
        }
        if (ownSeqs) {
            victim->DeleteSeqFromList(item, true);
        }
        if (ownFields) {
            victim->DeletePrintFieldFromList(item);
        }
    }
    // Each item carries its checkpoint along (AddItemR turns it into a pending one here); the
    // victim's chain is dropped whole afterwards.
    for (int32_t i = 0; i < victim->ItemCount(); ++i) {
        std::unique_ptr<TCustomVDItemInfo> item = victim->FItems->ReleaseObject(i);
        if (item->GetSameAsPrev()) {
            item->ParaNo = -1;
        }
        TVDRawByteString text = std::move(item->ItemText);
        AddItemR(std::move(text), std::move(item), true);
    }
    if (victim->NotAddedCP) {
        if (!NotAddedCP) {
            NotAddedCP = victim->NotAddedCP;
            ++CPCount;
            victim->NotAddedCP = nullptr;
        } else {
            DisposeCheckpoint(victim->NotAddedCP);
        }
    }
    victim->FItems->Clear();
    victim->FirstCP = victim->LastCP = nullptr;
    victim->CPCount = 0;
    const rtl::TFlagScope preserve(victim->State, vdstPreserveSoftPageBreaks);
    victim->Clear();
}

void TCustomVDData::ReplaceZeroChars(TVDAnsiString &s) {
    std::replace(s.begin(), s.end(), '\0', '?');
}

} // namespace vizivodu
