// TValueListEditor on a native table.
#include "platform/ui/ValueListEditor.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/QtBridge_p.h"

#include <QHeaderView>
#include <QTableWidget>

namespace ui {

void TNotifyingStringList::Put(int32_t index, const rtl::UnicodeString &s) {
    TStringList::Put(index, s);
    Changed(index, 1, 1);
}

void TNotifyingStringList::Insert(int32_t index, const rtl::UnicodeString &s) {
    TStringList::Insert(index, s);
    Changed(index, 0, 1);
}

void TNotifyingStringList::Delete(int32_t index) {
    TStringList::Delete(index);
    Changed(index, 1, 0);
}

void TNotifyingStringList::Clear() {
    const int32_t count = GetCount();
    TStringList::Clear();
    Changed(0, count, 0);
}

int32_t TNotifyingStringList::Add(const rtl::UnicodeString &s) {
    const int32_t count = GetCount();
    const int32_t i = TStringList::Add(s);
    Changed(i, 0, GetCount() - count);
    return i;
}

struct TValueListEditor::Impl {
    QTableWidget *table = nullptr;
    bool syncing = false;
};

TValueListEditor::TValueListEditor(TComponent *owner)
    : TWinControl(owner), FImpl(std::make_unique<Impl>()) {
    auto *table = new QTableWidget(1, 2);
    FImpl->table = table;
    table->verticalHeader()->hide();
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setSelectionBehavior(QAbstractItemView::SelectItems);
    qt::AttachWidget(*this, table, false);
    FTitleCaptions.Add(u"Key");
    FTitleCaptions.Add(u"Value");
    FTitleCaptions.OnChange = [this] { ApplyColumns(); };
    FStrings.OnSplice = [this](int32_t index, int32_t removed, int32_t inserted) {
        StringsSpliced(index, removed, inserted);
    };
    FStrings.OnChange = [this] {
        Refill();
        if (OnStringsChange) {
            qt::CallSafely([this] { OnStringsChange(this); });
        }
    };
    QObject::connect(table, &QTableWidget::itemChanged, table, [this](QTableWidgetItem *it) {
        if (!FImpl->syncing) {
            qt::CallSafely([&] {
                SetCell(it->column(), it->row() + GetFixedRows(), gfx::qt::FromQString(it->text()));
            });
        }
    });
    QObject::connect(table, &QTableWidget::currentCellChanged, table,
                     [this](int row, int, int, int) {
                         if (!FImpl->syncing && row >= 0) {
                             FRow = row + GetFixedRows();
                         }
                     });
    SetTabStop(true);
    SetColor(gfx::clWindow);
    SetBounds(0, 0, 306, 300);
    ApplyColumns();
    Refill();
}

TValueListEditor::~TValueListEditor() = default;

int32_t TValueListEditor::GetRowCount() const {
    return std::max(1, FStrings.GetCount()) + GetFixedRows();
}

void TValueListEditor::SetRow(int32_t row) {
    if (row < GetFixedRows() || row >= GetRowCount()) {
        return;
    }
    FRow = row;
    FImpl->syncing = true;
    FImpl->table->setCurrentCell(row - GetFixedRows(), FImpl->table->currentColumn() < 0
                                                           ? 1
                                                           : FImpl->table->currentColumn());
    FImpl->syncing = false;
}

int32_t TValueListEditor::GetCol() const {
    return std::max(0, FImpl->table->currentColumn());
}

void TValueListEditor::SetCol(int32_t col) {
    if (col == 0 || col == 1) {
        FImpl->syncing = true;
        FImpl->table->setCurrentCell(FRow - GetFixedRows(), col);
        FImpl->syncing = false;
    }
}

TValueListEditor::TRow TValueListEditor::ParsedRow(int32_t index) const {
    return {FStrings.GetName(index), FStrings.GetValueFromIndex(index)};
}

rtl::UnicodeString TValueListEditor::RowText(const TRow &row) const {
    return row.Key + FStrings.GetNameValueSeparator() + row.Value;
}

TValueListEditor::TRow TValueListEditor::RowAt(int32_t index) const {
    // A string changed behind the grid's back (a sort, another separator) is read anew.
    const TRow &row = FRows[size_t(index)];
    return RowText(row) == FStrings[index] ? row : ParsedRow(index);
}

void TValueListEditor::StringsSpliced(int32_t index, int32_t removed, int32_t inserted) {
    const auto first = FRows.begin() + std::min<ptrdiff_t>(index, ptrdiff_t(FRows.size()));
    FRows.erase(first, first + std::min<ptrdiff_t>(removed, FRows.end() - first));
    for (int32_t i = index; i < index + inserted; ++i) {
        FRows.insert(FRows.begin() + std::min<ptrdiff_t>(i, ptrdiff_t(FRows.size())),
                     FWritingRow ? *FWritingRow : ParsedRow(i));
    }
}

int32_t TValueListEditor::WriteRow(int32_t index, const TRow &row, TRowWrite how) {
    FWritingRow = &row;
    struct WritingReset {
        const TRow *&row;
        ~WritingReset() { row = nullptr; }
    } reset{FWritingRow};
    switch (how) {
    case rwReplace:
        FStrings.Put(index, RowText(row));
        return index;
    case rwInsert:
        FStrings.Insert(index, RowText(row));
        return index;
    case rwAdd:
        break;
    }
    return FStrings.Add(RowText(row));
}

int32_t TValueListEditor::IndexOfKey(const rtl::UnicodeString &key) const {
    for (int32_t i = 0; i < FStrings.GetCount(); ++i) {
        if (FStrings.CompareStrings(RowAt(i).Key, key) == 0) {
            return i;
        }
    }
    return -1;
}

rtl::UnicodeString TValueListEditor::GetCell(int32_t col, int32_t row) const {
    if (col < 0 || col > 1) {
        return {};
    }
    if (row < GetFixedRows()) {
        return col < FTitleCaptions.GetCount() ? FTitleCaptions[col] : rtl::UnicodeString();
    }
    const int32_t i = row - GetFixedRows();
    if (i >= FStrings.GetCount()) {
        return {};
    }
    const TRow r = RowAt(i);
    return col == 0 ? r.Key : r.Value;
}

void TValueListEditor::SetCell(int32_t col, int32_t row, const rtl::UnicodeString &text) {
    const int32_t i = row - GetFixedRows();
    if (col < 0 || col > 1 || i < 0 || i > FStrings.GetCount() ||
        (i == FStrings.GetCount() && i > 0)) {
        return;
    }
    // The empty row of an empty list becomes a string.
    const bool adding = i == FStrings.GetCount();
    TRow r = adding ? TRow{} : RowAt(i);
    (col == 0 ? r.Key : r.Value) = text;
    WriteRow(i, r, adding ? rwAdd : rwReplace);
}

rtl::UnicodeString TValueListEditor::GetValue(const rtl::UnicodeString &key) const {
    const int32_t i = IndexOfKey(key);
    return i < 0 ? rtl::UnicodeString() : RowAt(i).Value;
}

void TValueListEditor::SetValue(const rtl::UnicodeString &key, const rtl::UnicodeString &value) {
    const int32_t i = IndexOfKey(key);
    WriteRow(i, TRow{key, value}, i < 0 ? rwAdd : rwReplace);
}

int32_t TValueListEditor::InsertRow(const rtl::UnicodeString &key, const rtl::UnicodeString &value,
                                    bool append) {
    int32_t i = FStrings.GetCount();
    if (!append && FRow - GetFixedRows() < FStrings.GetCount()) {
        i = std::max(0, FRow - GetFixedRows());
    }
    WriteRow(i, TRow{key, value}, rwInsert);
    SetRow(i + GetFixedRows());
    return i + GetFixedRows();
}

void TValueListEditor::DeleteRow(int32_t row) {
    const int32_t i = row - GetFixedRows();
    if (i < 0 || i >= FStrings.GetCount()) {
        return;
    }
    FStrings.Delete(i);
    SetRow(std::min(FRow, GetRowCount() - 1));
}

void TValueListEditor::Refill() {
    QTableWidget *t = FImpl->table;
    FImpl->syncing = true;
    const int rows = std::max(1, FStrings.GetCount());
    t->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < 2; ++c) {
            // Items are updated in place: an edit being committed may still hold one.
            QTableWidgetItem *item = t->item(r, c);
            if (!item) {
                item = new QTableWidgetItem();
                t->setItem(r, c, item);
            }
            const QString text = gfx::qt::ToQString(GetCell(c, r + GetFixedRows()));
            if (item->text() != text) {
                item->setText(text);
            }
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (FEditing && (c == 1 || GetKeyOption(keyEdit))) {
                flags |= Qt::ItemIsEditable;
            }
            item->setFlags(flags);
        }
    }
    FRow = std::clamp(FRow, GetFixedRows(), GetRowCount() - 1);
    t->setCurrentCell(FRow - GetFixedRows(), std::max(0, t->currentColumn()));
    FImpl->syncing = false;
}

void TValueListEditor::ApplyColumns() {
    QTableWidget *t = FImpl->table;
    t->setHorizontalHeaderLabels(
        {gfx::qt::ToQString(GetCell(0, 0)), gfx::qt::ToQString(GetCell(1, 0))});
    t->horizontalHeader()->setVisible(FShowTitles);
    for (int c = 0; c < 2; ++c) {
        t->horizontalHeader()->setSectionResizeMode(c, FAutoColResize ? QHeaderView::Stretch
                                                                      : QHeaderView::Interactive);
        if (!FAutoColResize) {
            t->setColumnWidth(c, FColWidths[c]);
        }
    }
}

int32_t TValueListEditor::GetColWidth(int32_t col) const {
    return col == 0 || col == 1 ? FImpl->table->columnWidth(col) : 0;
}

void TValueListEditor::SetColWidth(int32_t col, int32_t width) {
    if (col == 0 || col == 1) {
        FColWidths[col] = width;
        ApplyColumns();
    }
}

void TValueListEditor::SetShowColumnTitles(bool v) {
    FShowTitles = v;
    ApplyColumns();
    Refill();
}

void TValueListEditor::SetAutoColResize(bool v) {
    FAutoColResize = v;
    ApplyColumns();
}

void TValueListEditor::SetEditing(bool v) {
    FEditing = v;
    Refill();
}

void TValueListEditor::SetKeyOption(TKeyOption o, bool on) {
    FKeyOptions = on ? uint8_t(FKeyOptions | (1u << o)) : uint8_t(FKeyOptions & ~(1u << o));
    Refill();
}

void TValueListEditor::KeyDown(uint16_t &key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    if (key == VK_INSERT && GetKeyOption(keyAdd)) {
        InsertRow(u"", u"", true);
        key = 0;
    } else if (key == VK_DELETE && shift.Contains(ssCtrl) && GetKeyOption(keyDelete)) {
        DeleteRow(FRow);
        key = 0;
    }
}

void TValueListEditor::EditCellForTesting(int32_t col, int32_t row,
                                          const rtl::UnicodeString &text) {
    QTableWidgetItem *item = FImpl->table->item(row - GetFixedRows(), col);
    if (item && (item->flags() & Qt::ItemIsEditable)) {
        item->setText(gfx::qt::ToQString(text)); // raises itemChanged as a committed edit does
    }
}

} // namespace ui
