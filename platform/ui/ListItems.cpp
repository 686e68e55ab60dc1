// List view collections: items with their sub-items, columns and groups.
#include "platform/ui/ListItems.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <string>

namespace ui {

namespace {

[[noreturn]] void IndexError(int32_t index) {
    throw rtl::EListError(u"List index out of bounds (" + rtl::Utf8ToUtf16(std::to_string(index)) +
                          u")");
}

// Sub-item texts that report every change to their row.
class TListSubItems : public rtl::TStrings {
public:
    explicit TListSubItems(TListItem &item) : FItem(item) {}
    int32_t GetCount() const override { return int32_t(FTexts.size()); }
    rtl::UnicodeString Get(int32_t i) const override {
        Check(i, GetCount());
        return FTexts[size_t(i)];
    }
    void Put(int32_t i, const rtl::UnicodeString &s) override {
        Check(i, GetCount());
        FTexts[size_t(i)] = s;
        Changed();
    }
    void Insert(int32_t i, const rtl::UnicodeString &s) override {
        Check(i, GetCount() + 1);
        FTexts.insert(FTexts.begin() + i, s);
        Changed();
    }
    void Delete(int32_t i) override {
        Check(i, GetCount());
        FTexts.erase(FTexts.begin() + i);
        Changed();
    }
    void Clear() override {
        FTexts.clear();
        Changed();
    }

private:
    static void Check(int32_t i, int32_t limit) {
        if (i < 0 || i >= limit) {
            IndexError(i);
        }
    }
    void Changed() { FItem.Sink().ItemTextChanged(&FItem); }

    TListItem &FItem;
    std::vector<rtl::UnicodeString> FTexts;
};

} // namespace

TListItem::TListItem(TListItems &owner)
    : FOwner(owner), FSubItems(std::make_unique<TListSubItems>(*this)) {}

TListItem::~TListItem() = default;

IListViewSink &TListItem::Sink() const {
    return FOwner.Sink();
}

void TListItem::SetCaption(const rtl::UnicodeString &caption) {
    if (caption != FCaption) {
        FCaption = caption;
        Sink().ItemTextChanged(this);
    }
}

void TListItem::SetGroupID(int32_t id) {
    if (id != FGroupID) {
        FGroupID = id;
        FOwner.StructureChanged();
    }
}

int32_t TListItem::GetIndex() const {
    return FOwner.IndexOf(this);
}

void TListItem::SetSelected(bool value) {
    if (value != FSelected) {
        FSelected = value;
        Sink().ItemSelectedChanged(this);
    }
}

void TListItem::Delete() {
    FOwner.Delete(GetIndex());
}

rtl::UnicodeString TListItem::ColumnText(int32_t col) const {
    if (col == 0) {
        return FCaption;
    }
    return col - 1 < FSubItems->GetCount() ? FSubItems->Get(col - 1) : rtl::UnicodeString();
}

TListItem *TListItems::Add() {
    return Insert(GetCount());
}

TListItem *TListItems::Insert(int32_t index) {
    if (index < 0 || index > GetCount()) {
        IndexError(index);
    }
    auto it = FItems.insert(FItems.begin() + index, std::make_unique<TListItem>(*this));
    StructureChanged();
    return it->get();
}

void TListItems::Delete(int32_t index) {
    if (index < 0 || index >= GetCount()) {
        IndexError(index);
    }
    // The view forgets the row before it is destroyed.
    std::unique_ptr<TListItem> gone = std::move(FItems[size_t(index)]);
    FItems.erase(FItems.begin() + index);
    StructureChanged();
}

void TListItems::Clear() {
    std::vector<std::unique_ptr<TListItem>> gone;
    gone.swap(FItems);
    StructureChanged();
}

TListItem *TListItems::GetItem(int32_t index) const {
    if (index < 0 || index >= GetCount()) {
        IndexError(index);
    }
    return FItems[size_t(index)].get();
}

int32_t TListItems::IndexOf(const TListItem *item) const {
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].get() == item) {
            return int32_t(i);
        }
    }
    return -1;
}

void TListItems::StructureChanged() {
    if (FUpdateCount > 0) {
        FPending = true;
    } else {
        FSink.StructureChanged();
    }
}

void TListItems::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FPending) {
        FPending = false;
        FSink.StructureChanged();
    }
}

void TListColumn::SetCaption(const rtl::UnicodeString &c) {
    FCaption = c;
    FSink.ColumnsChanged();
}

void TListColumn::SetWidth(int32_t w) {
    FWidth = w;
    FSink.ColumnsChanged();
}

void TListColumn::SetMinWidth(int32_t w) {
    FMinWidth = w;
    FSink.ColumnsChanged();
}

void TListColumn::SetMaxWidth(int32_t w) {
    FMaxWidth = w;
    FSink.ColumnsChanged();
}

void TListColumn::SetAlignment(TAlignment a) {
    FAlignment = a;
    FSink.ColumnsChanged();
}

TListColumn *TListColumns::Add() {
    FColumns.push_back(std::make_unique<TListColumn>(FSink));
    FSink.ColumnsChanged();
    return FColumns.back().get();
}

void TListColumns::Clear() {
    FColumns.clear();
    FSink.ColumnsChanged();
}

TListColumn *TListColumns::GetItem(int32_t index) const {
    if (index < 0 || index >= GetCount()) {
        IndexError(index);
    }
    return FColumns[size_t(index)].get();
}

void TListGroup::SetHeader(const rtl::UnicodeString &h) {
    FHeader = h;
    FSink.StructureChanged();
}

void TListGroup::SetGroupID(int32_t id) {
    FGroupID = id;
    FSink.StructureChanged();
}

void TListGroup::SetState(TListGroupState s) {
    FState = s;
    FSink.StructureChanged();
}

TListGroup *TListGroups::Add() {
    int32_t id = 0;
    while (FindByGroupID(id)) {
        ++id;
    }
    FGroups.push_back(std::make_unique<TListGroup>(FSink, id));
    FSink.StructureChanged();
    return FGroups.back().get();
}

void TListGroups::Clear() {
    FGroups.clear();
    FSink.StructureChanged();
}

TListGroup *TListGroups::GetItem(int32_t index) const {
    if (index < 0 || index >= GetCount()) {
        IndexError(index);
    }
    return FGroups[size_t(index)].get();
}

TListGroup *TListGroups::FindByGroupID(int32_t id) const {
    auto it = std::find_if(FGroups.begin(), FGroups.end(),
                           [id](const auto &g) { return g->GetGroupID() == id; });
    return it == FGroups.end() ? nullptr : it->get();
}

} // namespace ui
