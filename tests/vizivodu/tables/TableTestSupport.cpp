// Test support for tables: cell texts, the grid dump and rule, and filled cells.
#include "tests/vizivodu/tables/TableTestSupport.h"

namespace vizivodu::test {

std::string CellText(TCustomVDData &cell) {
    std::string out;
    for (int32_t i = 0; i < cell.ItemCount(); ++i) {
        if (i > 0) {
            out += cell.IsParaStart(i) ? "+" : "";
        }
        if (cell.GetItem(i)->IsText()) {
            out += rtl::Utf16ToUtf8(cell.GetItemText(i));
        } else {
            out += "#" + std::to_string(cell.GetItem(i)->StyleNo);
        }
    }
    return out;
}

std::string DumpGrid(const TVDTableItemInfo &table) {
    std::string out;
    for (int32_t r = 0; r < table.GetRowCount(); ++r) {
        if (r > 0) {
            out += " / ";
        }
        const TVDTableRow &row = *table.GetRows().Get(r);
        for (int32_t c = 0; c < row.GetCount(); ++c) {
            if (c > 0) {
                out += "|";
            }
            TVDTableCellData *cell = row.Get(c);
            if (!cell) {
                out += "-";
                continue;
            }
            out += CellText(*cell);
            if (cell->GetColSpan() > 1 || cell->GetRowSpan() > 1) {
                out += ":" + std::to_string(cell->GetColSpan()) + "x" +
                       std::to_string(cell->GetRowSpan());
            }
        }
    }
    return out;
}

::testing::AssertionResult GridRuleHolds(const TVDTableItemInfo &table) {
    const int32_t rows = table.GetRowCount();
    const int32_t cols = table.GetColCount();
    std::vector<int> covered(static_cast<size_t>(rows * cols), 0);
    for (int32_t r = 0; r < rows; ++r) {
        const TVDTableRow &row = *table.GetRows().Get(r);
        if (row.GetCount() != cols) {
            return ::testing::AssertionFailure()
                   << "row " << r << " has " << row.GetCount() << " positions, not " << cols;
        }
        for (int32_t c = 0; c < cols; ++c) {
            const TVDTableCellData *cell = row.Get(c);
            if (!cell) {
                continue;
            }
            if (cell->GetColSpan() < 1 || cell->GetRowSpan() < 1 || r + cell->GetRowSpan() > rows ||
                c + cell->GetColSpan() > cols) {
                return ::testing::AssertionFailure()
                       << "cell (" << r << ", " << c << ") reaches outside the grid";
            }
            if (cell->FList != &row) {
                return ::testing::AssertionFailure()
                       << "cell (" << r << ", " << c << ") does not know its row";
            }
            for (int32_t rr = r; rr < r + cell->GetRowSpan(); ++rr) {
                for (int32_t cc = c; cc < c + cell->GetColSpan(); ++cc) {
                    ++covered[static_cast<size_t>(rr * cols + cc)];
                    if ((rr != r || cc != c) && table.GetCells(rr, cc)) {
                        return ::testing::AssertionFailure() << "position (" << rr << ", " << cc
                                                             << ") is covered but holds a cell";
                    }
                }
            }
        }
    }
    for (int32_t i = 0; i < rows * cols; ++i) {
        if (covered[static_cast<size_t>(i)] != 1) {
            return ::testing::AssertionFailure()
                   << "position (" << i / cols << ", " << i % cols << ") is covered "
                   << covered[static_cast<size_t>(i)] << " times";
        }
    }
    return ::testing::AssertionSuccess();
}

void SetCellText(TVDTableCellData &cell, std::u16string_view text, int32_t styleNo,
                 int32_t paraNo) {
    cell.Clear();
    cell.AddNL(text, styleNo, paraNo);
}

void FillWithPositions(TVDTableItemInfo &table) {
    for (int32_t r = 0; r < table.GetRowCount(); ++r) {
        for (int32_t c = 0; c < table.GetColCount(); ++c) {
            if (TVDTableCellData *cell = table.GetCells(r, c)) {
                SetCellText(*cell, rtl::Utf8ToUtf16(std::to_string(r) + std::to_string(c)));
            }
        }
    }
}

TBeepCounter::TBeepCounter() {
    SetSystemBeepHandler([this] { ++Count; });
}

TBeepCounter::~TBeepCounter() {
    SetSystemBeepHandler(nullptr);
}

} // namespace vizivodu::test
