// TValueListEditor: a two-column grid editing a list of Name=Value strings.
#pragma once

#include "platform/rtl/StringList.h"
#include "platform/ui/WinControl.h"

#include <memory>
#include <vector>

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
    // Told before OnChange: the strings [index, index + removed) were replaced by `inserted`
    // new strings starting at index (Clear removes all; an Add that adds nothing inserts 0).
    std::function<void(int32_t index, int32_t removed, int32_t inserted)> OnSplice;

private:
    void Changed(int32_t index, int32_t removed, int32_t inserted) {
        if (OnSplice) {
            OnSplice(index, removed, inserted);
        }
        if (OnChange) {
            OnChange();
        }
    }
};

// Grid rows: with column titles row 0 holds TitleCaptions and data row r (from 1) shows
// Strings[r - 1] as key (column 0) and value (column 1). An empty Strings still shows one
// empty data row; writing a cell of that row adds a string. Row is the current data row.
// Each row keeps its key and value apart: a row written through the grid (cells, InsertRow,
// SetKey, SetValue, the user's edits) keeps a key holding "=" whole, while Strings gets the
// row as Key=Value text. A string written into Strings directly is split at its first "=".
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
    // The current column: 0 for the keys, 1 for the values.
    int32_t GetCol() const;
    void SetCol(int32_t col);
    rtl::UnicodeString GetCell(int32_t col, int32_t row) const;
    void SetCell(int32_t col, int32_t row, const rtl::UnicodeString &text);
    rtl::UnicodeString GetKey(int32_t row) const { return GetCell(0, row); }
    void SetKey(int32_t row, const rtl::UnicodeString &key) { SetCell(0, row, key); }
    // The value of the first row whose key equals key (compared as Strings compares names).
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
    struct TRow {
        rtl::UnicodeString Key, Value;
    };
    enum TRowWrite : uint8_t { rwReplace, rwInsert, rwAdd };

    void Refill();
    void ApplyColumns();
    TRow RowAt(int32_t index) const;
    TRow ParsedRow(int32_t index) const;
    rtl::UnicodeString RowText(const TRow &row) const;
    int32_t IndexOfKey(const rtl::UnicodeString &key) const;
    // Writes row into Strings at index (ignored for rwAdd); returns the string's index.
    int32_t WriteRow(int32_t index, const TRow &row, TRowWrite how);
    void StringsSpliced(int32_t index, int32_t removed, int32_t inserted);

    std::unique_ptr<Impl> FImpl;
    TNotifyingStringList FStrings;
    std::vector<TRow> FRows;           // one per string of FStrings
    const TRow *FWritingRow = nullptr; // the row being written into FStrings by the grid
    TNotifyingStringList FTitleCaptions;
    int32_t FRow = 1;
    bool FShowTitles = true;
    bool FAutoColResize = false;
    bool FEditing = true;
    uint8_t FKeyOptions = 0;
    int32_t FColWidths[2] = {150, 150};
};

} // namespace ui
