// TValueListEditor: a two-column grid editing a list of Name=Value strings.
#pragma once

#include "platform/rtl/StringList.h"
#include "platform/ui/WinControl.h"

#include <memory>

namespace ui {

enum TKeyOption : uint8_t { keyEdit, keyAdd, keyDelete, keyUnique };
enum TDisplayOption : uint8_t { doColumnTitles, doAutoColResize, doKeyColFixed };

// A string list that reports every change (the grid's Strings and TitleCaptions).
class TNotifyingStringList : public rtl::TStringList {
public:
    void Put(int32_t index, const rtl::UnicodeString &s) override;
    void Insert(int32_t index, const rtl::UnicodeString &s) override;
    void Delete(int32_t index) override;
    void Clear() override;
    int32_t Add(const rtl::UnicodeString &s) override;
    std::function<void()> OnChange;

private:
    void Changed() {
        if (OnChange) {
            OnChange();
        }
    }
};

// Grid rows: with column titles row 0 holds TitleCaptions and data row r (from 1) shows
// Strings[r - 1] as key (column 0) and value (column 1). An empty Strings still shows one
// empty data row; writing a cell of that row adds a string. Row is the current data row.
// Keys: with keyAdd, Insert appends an empty row; with keyDelete, Ctrl+Delete deletes the
// current row. Editing (Options goEditing) is on by default; keyEdit lets keys be edited.
class TValueListEditor : public TWinControl {
public:
    explicit TValueListEditor(TComponent *owner);
    ~TValueListEditor() override;

    TNotifyingStringList &GetStrings() { return FStrings; }
    TNotifyingStringList &GetTitleCaptions() { return FTitleCaptions; }
    int32_t GetFixedRows() const { return FShowTitles ? 1 : 0; }
    int32_t GetRowCount() const;
    int32_t GetRow() const { return FRow; }
    void SetRow(int32_t row);
    rtl::UnicodeString GetCell(int32_t col, int32_t row) const;
    void SetCell(int32_t col, int32_t row, const rtl::UnicodeString &text);
    rtl::UnicodeString GetKey(int32_t row) const { return GetCell(0, row); }
    rtl::UnicodeString GetValue(const rtl::UnicodeString &key) const;
    void SetValue(const rtl::UnicodeString &key, const rtl::UnicodeString &value);
    // Adds a row (at the end with append, else before the current row); returns its row.
    int32_t InsertRow(const rtl::UnicodeString &key, const rtl::UnicodeString &value, bool append);
    // Deletes data row `row`; the empty row of an empty list stays.
    void DeleteRow(int32_t row);
    int32_t GetColWidth(int32_t col) const;
    void SetColWidth(int32_t col, int32_t width);

    bool GetShowColumnTitles() const { return FShowTitles; }
    void SetShowColumnTitles(bool v);
    bool GetAutoColResize() const { return FAutoColResize; }
    void SetAutoColResize(bool v);
    bool GetEditing() const { return FEditing; }
    void SetEditing(bool v);
    bool GetKeyOption(TKeyOption o) const { return (FKeyOptions >> o) & 1u; }
    void SetKeyOption(TKeyOption o, bool on);

    // Types text into a cell as the user would (through the native editor's commit).
    void EditCellForTesting(int32_t col, int32_t row, const rtl::UnicodeString &text);

    TNotifyEvent OnStringsChange;

    struct Impl;

protected:
    void KeyDown(uint16_t &key, TShiftState shift) override;

private:
    void Refill();
    void ApplyColumns();

    std::unique_ptr<Impl> FImpl;
    TNotifyingStringList FStrings;
    TNotifyingStringList FTitleCaptions;
    int32_t FRow = 1;
    bool FShowTitles = true;
    bool FAutoColResize = false;
    bool FEditing = true;
    uint8_t FKeyOptions = 0;
    int32_t FColWidths[2] = {150, 150};
};

} // namespace ui
