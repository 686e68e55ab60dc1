// The collections of a report-style list view: items (caption, sub-items, group, data),
// columns and groups.
#pragma once

#include "platform/rtl/StringList.h"
#include "platform/ui/Label.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace ui {

class TListItem;

// What the collections tell their list view.
class IListViewSink {
public:
    virtual ~IListViewSink() = default;
    virtual void StructureChanged() = 0; // rows added, removed, moved or regrouped
    virtual void ItemTextChanged(TListItem *item) = 0;
    virtual void ItemSelectedChanged(TListItem *item) = 0;
    virtual void ColumnsChanged() = 0;
};

class TListItems;

// A row: the caption is column 0, the sub-items columns 1, 2 ... Data is not owned.
class TListItem {
public:
    TListItem(TListItems &owner);
    ~TListItem();
    TListItem(const TListItem &) = delete;
    TListItem &operator=(const TListItem &) = delete;

    const rtl::UnicodeString &GetCaption() const { return FCaption; }
    void SetCaption(const rtl::UnicodeString &caption);
    rtl::TStrings &GetSubItems() { return *FSubItems; }
    const rtl::TStrings &GetSubItems() const { return *FSubItems; }
    int32_t GetGroupID() const { return FGroupID; }
    void SetGroupID(int32_t id);
    void *GetData() const { return FData; }
    void SetData(void *data) { FData = data; }
    int32_t GetIndex() const;
    bool GetSelected() const { return FSelected; }
    void SetSelected(bool value);
    // Removes the row from its list (the item is destroyed).
    void Delete();
    // Text of column col (0 = caption); empty past the last sub-item.
    rtl::UnicodeString ColumnText(int32_t col) const;

    // Set by the list view when the user changes the selection.
    void SyncSelected(bool value) { FSelected = value; }
    IListViewSink &Sink() const;

private:
    TListItems &FOwner;
    rtl::UnicodeString FCaption;
    std::unique_ptr<rtl::TStrings> FSubItems;
    int32_t FGroupID = -1;
    void *FData = nullptr;
    bool FSelected = false;
};

// Rows in list order. Index errors raise "List index out of bounds (%d)".
class TListItems {
public:
    explicit TListItems(IListViewSink &sink) : FSink(sink) {}
    TListItem *Add();
    TListItem *Insert(int32_t index);
    void Delete(int32_t index);
    void Clear();
    int32_t GetCount() const { return int32_t(FItems.size()); }
    TListItem *GetItem(int32_t index) const;
    TListItem *operator[](int32_t index) const { return GetItem(index); }
    int32_t IndexOf(const TListItem *item) const;
    // Changes between the calls update the view once, at EndUpdate.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }
    IListViewSink &Sink() const { return FSink; }
    void StructureChanged();

private:
    IListViewSink &FSink;
    std::vector<std::unique_ptr<TListItem>> FItems;
    int FUpdateCount = 0;
    bool FPending = false;
};

// A column; MinWidth = MaxWidth = Width makes it fixed (the user cannot resize it).
class TListColumn {
public:
    explicit TListColumn(IListViewSink &sink) : FSink(sink) {}
    const rtl::UnicodeString &GetCaption() const { return FCaption; }
    void SetCaption(const rtl::UnicodeString &c);
    int32_t GetWidth() const { return FWidth; }
    void SetWidth(int32_t w);
    int32_t GetMinWidth() const { return FMinWidth; }
    void SetMinWidth(int32_t w);
    int32_t GetMaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int32_t w);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);

private:
    IListViewSink &FSink;
    rtl::UnicodeString FCaption;
    int32_t FWidth = 50;
    int32_t FMinWidth = 0;
    int32_t FMaxWidth = 0;
    TAlignment FAlignment = taLeftJustify;
};

class TListColumns {
public:
    explicit TListColumns(IListViewSink &sink) : FSink(sink) {}
    TListColumn *Add();
    void Clear();
    int32_t GetCount() const { return int32_t(FColumns.size()); }
    TListColumn *GetItem(int32_t index) const;
    TListColumn *operator[](int32_t index) const { return GetItem(index); }

private:
    IListViewSink &FSink;
    std::vector<std::unique_ptr<TListColumn>> FColumns;
};

enum TListGroupStateFlag : uint8_t {
    lgsHidden,
    lgsCollapsed,
    lgsNoHeader,
    lgsCollapsible,
    lgsFocused,
    lgsSelected
};

// A set of group states; the empty set is the class library's lgsNormal.
class TListGroupState {
public:
    constexpr TListGroupState() = default;
    constexpr TListGroupState(std::initializer_list<TListGroupStateFlag> flags) {
        for (auto f : flags) {
            FBits |= uint8_t(1u << f);
        }
    }
    constexpr bool Contains(TListGroupStateFlag f) const { return (FBits >> f) & 1u; }
    constexpr TListGroupState &Include(TListGroupStateFlag f) {
        FBits |= uint8_t(1u << f);
        return *this;
    }
    constexpr TListGroupState &Exclude(TListGroupStateFlag f) {
        FBits &= uint8_t(~(1u << f));
        return *this;
    }
    friend constexpr bool operator==(TListGroupState, TListGroupState) = default;

private:
    uint8_t FBits = 0;
};

// A group of rows (shown when the list view's GroupView is on). Rows join it by GroupID.
class TListGroup {
public:
    TListGroup(IListViewSink &sink, int32_t id) : FSink(sink), FGroupID(id) {}
    const rtl::UnicodeString &GetHeader() const { return FHeader; }
    void SetHeader(const rtl::UnicodeString &h);
    int32_t GetGroupID() const { return FGroupID; }
    void SetGroupID(int32_t id);
    TListGroupState GetState() const { return FState; }
    void SetState(TListGroupState s);

private:
    IListViewSink &FSink;
    rtl::UnicodeString FHeader;
    int32_t FGroupID;
    TListGroupState FState;
};

class TListGroups {
public:
    explicit TListGroups(IListViewSink &sink) : FSink(sink) {}
    // A new group gets the lowest identifier not in use.
    TListGroup *Add();
    void Clear();
    int32_t GetCount() const { return int32_t(FGroups.size()); }
    TListGroup *GetItem(int32_t index) const;
    TListGroup *operator[](int32_t index) const { return GetItem(index); }
    TListGroup *FindByGroupID(int32_t id) const;

private:
    IListViewSink &FSink;
    std::vector<std::unique_ptr<TListGroup>> FGroups;
};

} // namespace ui
