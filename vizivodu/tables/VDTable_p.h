// Internals of the table units: the table's lengths in device pixels of one layout, and what
// one painting of a table works with.
#pragma once

#include "vizivodu/tables/VDTable.h"

#include <algorithm>
#include <functional>

namespace vizivodu {

class TVDStyle;

// The table's lengths converted to device pixels against sad (screen pixels for nullptr):
// horizontal ones with GetAsDevicePixelsX, vertical ones with GetAsDevicePixelsY.
struct TVDTableMetrics {
    TVDTableMetrics(const TVDTableItemInfo &table, const TVDStyle &style, PVDScreenAndDevice sad);

    int32_t HPad, VPad; // cell padding
    int32_t HSp, VSp;   // cell spacing, negative for overlapping borders
    int32_t CBx, CBy;   // cell border width
    int32_t Bx, By;     // table border width
    int32_t BH, BV;     // space between the table border and the cells
    int32_t n, m;       // columns and rows
    // What a column adds besides its content width, and a row besides its content height.
    int32_t O, OV;

    // The horizontal framing: 2 (Bx + BH) + HSp (n - 1) + 2 CBx n.
    int32_t F() const { return 2 * (Bx + BH) + HSp * (n - 1) + 2 * CBx * n; }
};

// A cell's best height in the printer pixels of info's layout; 0 when it has none.
int32_t PrintBestHeight(const TVDTablePrintInfo &info, const TVDTableCellData &cell);

// Calls f for each cell a printed part shows: the cells of its own in the part's rows and, in
// its first row, those reaching into it from above (once, at their own column). row: the part's
// row the cell is met in; mainRow, mainCol: the cell's own position.
using TPartCellFunc =
    std::function<void(int32_t row, int32_t mainRow, int32_t mainCol, TCellPtblVDData &printed)>;
void ForEachPartCell(const TVDTablePrintInfo &info, const TVDTablePrintPart &part,
                     const TPartCellFunc &f);

// How far a printed cell's content, content high, moves down in its box's inner height room
// by the cell's vertical alignment. Painting and hit-testing a part both place it so.
inline int32_t CellVAlignOffset(TVDCellVAlign align, int32_t room, int32_t content) {
    const int32_t free = std::max(0, room - content);
    return align == vdcMiddle ? free / 2 : align == vdcBottom ? free : 0;
}

// One painting of a table: its parameters, the lengths in device pixels, the rows to paint and
// the table's rectangle in drawing coordinates.
struct TVDTablePaintContext {
    TVDTablePaintContext(TVDTableItemInfo &table, gfx::TCanvas &canvas,
                         const TVDTablePaintParams &params);

    const TVDTablePaintParams &P;
    gfx::TCanvas &Canvas;
    TVDGraphicInterface &GI;
    TVDTableMetrics Q;
    bool Clipping;
    bool Printing;
    bool Editable = false;
    bool AllowThumbnails;
    int32_t LineEndExtension = 1;
    TColor SelColor = gfx::clNone;
    int32_t X0; // the table's left edge in drawing coordinates
    int32_t Y0;
    int32_t FirstRow = 0;
    int32_t LastRow = -1;
    rtl::TRect TableRect{};
};

} // namespace vizivodu
