// TListView: the report-style list with columns, collapsible groups and custom drawing.
#pragma once

#include "platform/gfx/Graphics.h"
#include "platform/ui/ListItems.h"
#include "platform/ui/WinControl.h"

namespace ui {

enum TViewStyle : uint8_t { vsIcon, vsSmallIcon, vsList, vsReport };

enum TCustomDrawStateFlag : uint8_t {
    cdsSelected,
    cdsGrayed,
    cdsDisabled,
    cdsChecked,
    cdsFocused,
    cdsDefault,
    cdsHot
};

// A set of custom-draw states.
class TCustomDrawState {
public:
    constexpr TCustomDrawState() = default;
    constexpr bool Contains(TCustomDrawStateFlag f) const { return (FBits >> f) & 1u; }
    constexpr TCustomDrawState &Include(TCustomDrawStateFlag f) {
        FBits |= uint8_t(1u << f);
        return *this;
    }

private:
    uint8_t FBits = 0;
};

class TListView;
using TLVCustomDrawItemEvent = std::function<void(TListView *sender, TListItem *item,
                                                  TCustomDrawState state, bool &defaultDraw)>;
using TLVCustomDrawSubItemEvent =
    std::function<void(TListView *sender, TListItem *item, int32_t subItem, TCustomDrawState state,
                       bool &defaultDraw)>;

// Shown in report style: a header of Columns and one row per item; with GroupView the rows
// appear under their groups' headers (in group order; rows whose GroupID names no group are
// not shown) and a collapsible group folds with a click on its header.
// Custom drawing: before each cell is drawn, the canvas (GetCanvas) holds the list's font and
// a brush of the list's colour; OnCustomDrawItem and then OnCustomDrawSubItem (sub-item = the
// column, 0 for the caption) may change the canvas's font and brush colour, which the cell is
// drawn with. The cells always show their item's texts. DefaultDraw := false leaves the cell
// to the handler's own drawing on the canvas.
class TListView : public TWinControl, private IListViewSink {
public:
    explicit TListView(TComponent *owner);
    ~TListView() override;

    TListItems &GetItems() { return FItems; }
    TListColumns &GetColumns() { return FColumns; }
    TListGroups &GetGroups() { return FGroups; }

    TViewStyle GetViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle v) { FViewStyle = v; }
    bool GetGridLines() const { return FGridLines; }
    void SetGridLines(bool v);
    bool GetRowSelect() const { return FRowSelect; }
    void SetRowSelect(bool v) { FRowSelect = v; }
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool GetGroupView() const { return FGroupView; }
    void SetGroupView(bool v);
    bool GetShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool v);

    // The first selected row, or nullptr.
    TListItem *GetSelected() const;
    void SetSelected(TListItem *item);
    int32_t GetItemIndex() const;
    void SetItemIndex(int32_t index);
    gfx::TCanvas &GetCanvas() { return ControlCanvas(); }

    // Whether a group's rows are shown (false once the user folded it).
    bool GroupExpanded(int32_t groupID) const;
    void SetGroupExpanded(int32_t groupID, bool expanded);
    // The cell rectangle of a row's column in the control, empty when not shown.
    gfx::TRect CellRectForTesting(const TListItem *item, int32_t column) const;
    // Text of a row's column as the native list (and a screen reader) holds it.
    rtl::UnicodeString NativeTextForTesting(const TListItem *item, int32_t column) const;

    TLVCustomDrawItemEvent OnCustomDrawItem;
    TLVCustomDrawSubItemEvent OnCustomDrawSubItem;

    struct Impl;
    // Builds the native rows when the row structure changed (done lazily, before painting and
    // before any query).
    void Flush() const;

private:
    void StructureChanged() override;
    void ItemTextChanged(TListItem *item) override;
    void ItemSelectedChanged(TListItem *item) override;
    void ColumnsChanged() override;

    std::unique_ptr<Impl> FImpl;
    TListItems FItems{*this};
    TListColumns FColumns{*this};
    TListGroups FGroups{*this};
    TViewStyle FViewStyle = vsIcon;
    bool FGridLines = false;
    bool FRowSelect = false;
    bool FReadOnly = false;
    bool FGroupView = false;
    bool FShowColumnHeaders = true;
};

} // namespace ui
