// Test support for tables: a table's grid as text, the grid rule as a check, cells filled with
// text, and a count of the system beeps.
#pragma once

#include "vizivodu/tables/VDTable.h"

#include "platform/rtl/System.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vizivodu::test {

// The text of a cell: its text items in UTF-8, paragraphs joined by "+" ("" for one empty line).
std::string CellText(TCustomVDData &cell);

// Rows separated by " / ", positions by "|": a cell of its own shows its text and, when it
// spans, ":columns x rows"; "-" marks a covered position.
std::string DumpGrid(const TVDTableItemInfo &table);

// Every row holds ColCount positions, and every position is covered by exactly one cell, whose
// own position holds it while every other covered position is empty.
::testing::AssertionResult GridRuleHolds(const TVDTableItemInfo &table);

// Replaces a cell's content by one paragraph of text.
void SetCellText(TVDTableCellData &cell, std::u16string_view text, int32_t styleNo = 0,
                 int32_t paraNo = 0);

// Each cell of its own gets the text "<row><col>" ("00", "01", ...).
void FillWithPositions(TVDTableItemInfo &table);

// Counts the system beeps while it lives.
class TBeepCounter {
public:
    TBeepCounter();
    ~TBeepCounter();
    TBeepCounter(const TBeepCounter &) = delete;
    TBeepCounter &operator=(const TBeepCounter &) = delete;

    int Count = 0;
};

} // namespace vizivodu::test
