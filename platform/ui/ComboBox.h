// TComboBox: a drop-down list, editable or not.
#pragma once

#include "platform/rtl/StringList.h"
#include "platform/ui/WinControl.h"

#include <memory>

namespace ui {

enum TComboBoxStyle : uint8_t { csDropDown, csSimple, csDropDownList };

// Items edits the native list directly. OnChange runs when the user picks an item or edits
// the text, not when ItemIndex or Text is set by code. ItemIndex -1 means no item.
class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent *owner);
    ~TComboBox() override;

    TComboBoxStyle GetStyle() const { return FStyle; }
    void SetStyle(TComboBoxStyle style);
    rtl::TStrings &GetItems() { return *FItems; }
    int32_t GetItemIndex() const;
    void SetItemIndex(int32_t index);
    rtl::UnicodeString GetText() const override;
    void SetText(const rtl::UnicodeString &text) override;
    int32_t GetDropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int32_t n);

    // Picks the item as the user would (OnSelect, then OnChange).
    void SelectForTesting(int32_t index);

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;

private:
    TComboBoxStyle FStyle = csDropDown;
    std::unique_ptr<rtl::TStrings> FItems;
    int32_t FDropDownCount = 8;
};

} // namespace ui
