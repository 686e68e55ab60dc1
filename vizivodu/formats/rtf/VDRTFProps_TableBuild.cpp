// RTF tables into table items: the collected rows into one grid, the cells' colours, borders,
// sizes and alignment, and the table-wide spacing, padding, borders and width derived from
// all rows.
#include "vizivodu/formats/rtf/VDRTFProps.h"
#include "vizivodu/formats/rtf/VDRTFProps_Tables.h"
#include "vizivodu/formats/rtf/VDRTFTableGrid.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/styles/VDStyle.h"

#include <algorithm>

namespace vizivodu {
namespace {

constexpr int32_t DefaultCellWidthTw = 1440;

bool HasType(const TVDRTFBorderSide &side) {
    return side.FBorderType != rtf_brdr_None;
}

// What the rows and cells add up to, for the table-wide values.
struct TTableTotals {
    int64_t VSpacingTw = 0, VBorderSpacing1Tw = 0, VBorderSpacing2Tw = 0, HSpacingTw = 0;
    int64_t CellHPaddingTw = 0, CellVPaddingTw = 0;
    int32_t CellHPaddingCount = 0, CellVPaddingCount = 0;
    int32_t BestWidth = 0;
    int64_t BorderWidthTw = 0, CellBorderWidthTw = 0;
    int32_t BorderCount = 0, CellBorderCount = 0;
    bool UseHSpacing = false, UseCellVSpacing = false, UseBorderVSpacing = false;
    bool UsePrevBottomSpacing = false, Word2000 = false, CellFlatBorder = true;
    bool ViziVoduSpecial = false;
};

int32_t Clamp(int64_t tw) {
    return int32_t(std::clamp<int64_t>(tw, -RTFGridMaxTw, RTFGridMaxTw));
}

int32_t Average(int64_t sum, int32_t count) {
    return count > 0 ? Clamp((sum + (sum >= 0 ? count / 2 : -count / 2)) / count) : 0;
}

TVDRTFGridRow ShapeOf(const TRTFCollectedRow &row) {
    TVDRTFGridRow shape;
    shape.LeftTw = row.Props.FLeftTw;
    const std::vector<TVDRTFCellProperties> &defs = row.Props.FCellProps;
    const size_t n = std::max(defs.size(), size_t(row.CellCount));
    for (size_t c = 0; c < n; ++c) {
        TVDRTFGridCellDef def;
        if (c < defs.size()) {
            def.RightTw = defs[c].FRightBoundaryTw;
            def.HMerge = defs[c].FHMerge;
            def.VMerge = defs[c].FVMerge;
        } else {
            // A cell without a definition keeps its text in a cell of a default width.
            const int32_t before = c > 0 ? shape.Cells[c - 1].RightTw : shape.LeftTw;
            def.RightTw = Clamp(int64_t(before) + DefaultCellWidthTw);
        }
        shape.Cells.push_back(def);
    }
    return shape;
}

// The row's share of the table-wide values (its spacing, padding, borders and width).
void AddRow(TTableTotals &t, TVDTableItemInfo &table, const TVDRTFRowProperties &rp, bool first) {
    const auto &sp = rp.FSpacingTw;
    const auto &use = rp.FUseSpacing;
    const auto &b = rp.FBorder.Sides;
    if (use[rtf_side_Top]) {
        if (first) {
            t.VBorderSpacing1Tw = sp[rtf_side_Top];
            t.UseBorderVSpacing = true;
        } else {
            t.VSpacingTw += sp[rtf_side_Top];
        }
    }
    if (first) {
        TVDBooleanRect visible = table.GetVisibleBorders();
        visible.Top = HasType(b[rtf_side_Top]);
        visible.Left = HasType(b[rtf_side_Left]);
        visible.Right = HasType(b[rtf_side_Right]);
        table.SetVisibleBorders(visible);
    }
    TVDBooleanRect visible = table.GetVisibleBorders();
    visible.Bottom = HasType(b[rtf_side_Bottom]);
    table.SetVisibleBorders(visible);
    t.VSpacingTw += t.VBorderSpacing2Tw;
    auto given = [&](TVDRTFSide s) { return use[s] && sp[s] >= 0; };
    t.UseHSpacing |= given(rtf_side_Left) || given(rtf_side_Right);
    if (!first) {
        t.UseCellVSpacing |= given(rtf_side_Top) || t.UsePrevBottomSpacing;
    }
    t.UsePrevBottomSpacing = given(rtf_side_Bottom);
    if (t.UsePrevBottomSpacing) {
        t.VBorderSpacing2Tw = sp[rtf_side_Bottom];
    }
    for (TVDRTFSide s : {rtf_side_Left, rtf_side_Right}) {
        const int32_t pad = rp.FUsePadding[s] ? rp.FPaddingTw[s] : 0;
        t.HSpacingTw += given(s) ? sp[s] : int64_t(rp.FGapHTw) - pad;
        t.CellHPaddingTw += pad;
        ++t.CellHPaddingCount;
    }
    for (TVDRTFSide s : {rtf_side_Top, rtf_side_Bottom}) {
        t.CellVPaddingTw += rp.FUsePadding[s] ? rp.FPaddingTw[s] : 0;
        ++t.CellVPaddingCount;
    }
    for (const TVDRTFBorderSide &side : b) {
        if (HasType(side)) {
            t.BorderWidthTw += side.FWidthTw;
            ++t.BorderCount;
        }
    }
    const int32_t w = rp.FPreferredWidthTw;
    if (rp.ViziVoduSpecial) {
        t.BestWidth = w;
        t.ViziVoduSpecial = true;
    } else if ((t.BestWidth <= 0 && w < t.BestWidth) || (t.BestWidth >= 0 && w > t.BestWidth)) {
        t.BestWidth = w;
    }
    const TVDRTFBorderSide &light = HasType(b[rtf_side_Left]) ? b[rtf_side_Left] : b[rtf_side_Top];
    const TVDRTFBorderSide &dark =
        HasType(b[rtf_side_Right]) ? b[rtf_side_Right] : b[rtf_side_Bottom];
    if (HasType(light)) {
        table.SetColor(vdtcBorderLightColor, light.FColor);
    }
    if (HasType(dark)) {
        table.SetColor(vdtcBorderColor, dark.FColor);
    }
}

} // namespace

namespace {

void SetCellFromRTF(TVDTableCellData &cell, const TVDRTFRowProperties &rp,
                    const TVDRTFCellProperties &cp, int32_t spanTw, TTableTotals &t,
                    const TVDStyle &style) {
    cell.SetColor(cp.FColor);
    if (rp.ViziVoduSpecial) {
        cell.SetBestHeight(style.TwipsToUnits(Clamp(cp.FHeightTw)));
    } else if (rp.FHeightTw > 0) {
        cell.SetBestHeight(style.TwipsToUnits(Clamp(rp.FHeightTw)));
    }
    const auto &b = cp.FBorder.Sides;
    for (const TVDRTFBorderSide &side : b) {
        if (HasType(side)) {
            ++t.CellBorderCount;
            t.CellBorderWidthTw += side.FWidthTw;
        }
    }
    TVDBooleanRect visible(false);
    visible.Left = HasType(b[rtf_side_Left]);
    visible.Top = HasType(b[rtf_side_Top]);
    visible.Right = HasType(b[rtf_side_Right]);
    visible.Bottom = HasType(b[rtf_side_Bottom]);
    cell.SetVisibleBorders(visible);
    auto colorOf = [&](TVDRTFSide first, TVDRTFSide second) {
        return HasType(b[first]) ? b[first].FColor
                                 : (HasType(b[second]) ? b[second].FColor : gfx::clNone);
    };
    const TColor dark = colorOf(rtf_side_Left, rtf_side_Top);
    const TColor light = colorOf(rtf_side_Right, rtf_side_Bottom);
    cell.SetBorderColor(dark);
    cell.SetBorderLightColor(light);
    if (dark != light && dark != gfx::clNone && light != gfx::clNone) {
        t.CellFlatBorder = false;
    }
    if (rp.ViziVoduSpecial || t.Word2000) {
        const int32_t w = cp.FPreferredWidthTw;
        cell.SetBestWidth(w > 0 ? style.TwipsToUnits(Clamp(w)) : w / 50);
    } else {
        cell.SetBestWidth(style.TwipsToUnits(Clamp(spanTw)));
    }
    if (cp.FTextFlow == rtf_ctf_TopDown) {
        cell.SetRotation(vdrot90);
    } else if (cp.FTextFlow == rtf_ctf_BottomUp) {
        cell.SetRotation(vdrot270);
    }
    static constexpr TVDCellVAlign valign[] = {vdcTop, vdcBottom, vdcMiddle};
    cell.SetVAlign(valign[std::min<size_t>(cp.FVAlign, 2)]);
}

TVDStyleLength BorderWidthOf(int64_t sum, int32_t count, const TVDStyle &style) {
    if (count == 0) {
        return 0;
    }
    const int32_t avg = Average(sum, count);
    const TVDStyleLength w = style.TwipsToUnits(avg);
    return w == 0 && avg > 4 && style.GetUnits() == vdstuPixels ? 1 : w;
}

void SetSpacing(TVDTableItemInfo &table, const TTableTotals &t, int32_t rows,
                const TVDStyle &style) {
    const TVDStyleLength cellBorder = table.GetCellBorderWidth();
    const TVDStyleLength border = table.GetTableBorderWidth();
    const bool useBorderVSpacing = t.UseBorderVSpacing || t.UsePrevBottomSpacing;
    table.SetCellVSpacing(t.UseCellVSpacing && rows > 1
                              ? style.TwipsToUnits(Average(t.VSpacingTw, rows - 1))
                              : -cellBorder);
    table.SetBorderVSpacing(
        useBorderVSpacing ? style.TwipsToUnits(Clamp(t.VBorderSpacing1Tw + t.VBorderSpacing2Tw))
                          : -std::min(cellBorder, border));
    if (t.UseHSpacing) {
        table.SetCellHSpacing(style.TwipsToUnits(Average(t.HSpacingTw, rows)));
        table.SetBorderHSpacing(table.GetCellHSpacing());
    } else {
        table.SetCellHSpacing(-cellBorder);
        table.SetBorderHSpacing(-std::min(cellBorder, border));
    }
    if (!t.UseHSpacing && !t.UseCellVSpacing && !useBorderVSpacing && border == cellBorder) {
        table.SetBorderWidth(0);
        table.SetBorderHSpacing(0);
        table.SetBorderVSpacing(0);
    }
}

} // namespace

int32_t TVDRTFReaderProperties::GetDefaultTextStyleNo() const {
    return TextStyleMode == vdrsUseSpecified ? FTextStyleNo : 0;
}

int32_t TVDRTFReaderProperties::GetSimpleParaNo(TVDRTFAlignment alignment, int32_t leftIndentTw) {
    if (ParaStyleMode == vdrsUseSpecified) {
        return FParaStyleNo;
    }
    if (ParaStyleMode == vdrsUseClosest || FVDStyle->GetParaStyles().GetCount() == 0) {
        return 0;
    }
    TParaInfo run(nullptr);
    run.Assign(FVDStyle->GetParaStyles().GetItem(0));
    run.SetLeftIndent(FVDStyle->TwipsToUnits(Clamp(leftIndentTw)));
    run.SetRightIndent(0);
    run.SetFirstIndent(0);
    run.SetAlignment(TVDAlignment(alignment));
    const int32_t count = FVDStyle->GetParaStyles().GetCount();
    const int32_t paraNo = FVDStyle->FindParaStyle(run);
    if (FVDStyle->GetParaStyles().GetCount() > count) {
        FCurrentVDData->AfterAddStyle(FVDStyle->GetParaStyles().GetItem(paraNo));
    }
    return paraNo;
}

namespace {

void InitTable(TVDTableItemInfo &table) {
    table.SetColor(vdtcColor, gfx::clNone);
    table.SetBorderStyle(vdtbRaisedColor);
    table.SetCellBorderStyle(vdtbLoweredColor);
    for (TVDTableColorProperty c :
         {vdtcBorderColor, vdtcBorderLightColor, vdtcCellBorderColor, vdtcCellBorderLightColor}) {
        table.SetColor(c, gfx::clWindowText);
    }
}

bool AnyCellStatesWidth(const std::vector<TRTFCollectedRow> &rows) {
    for (const TRTFCollectedRow &row : rows) {
        for (const TVDRTFCellProperties &cp : row.Props.FCellProps) {
            if (cp.FPreferredWidthTw != 0) {
                return true;
            }
        }
    }
    return false;
}

// The twips a grid cell spans: between its grid boundaries, or its RTF cell's own boundaries
// when the grid has none.
int32_t SpanTw(const TVDRTFGrid &grid, const TVDRTFGridCell &gc, const TVDRTFGridRow &shape) {
    if (!grid.Boundaries.empty()) {
        return grid.Boundaries[size_t(gc.Col + gc.ColSpan)] - grid.Boundaries[size_t(gc.Col)];
    }
    const size_t c = size_t(gc.Sources.front().Cell);
    return shape.Cells[c].RightTw - (c > 0 ? shape.Cells[c - 1].RightTw : shape.LeftTw);
}

struct TFinalizeOptions {
    bool UseSingleCellPadding = false;
    bool ExplicitTableWidth = false;
    bool AutoHideGridLines = false;
};

void FinalizeTable(TVDTableItemInfo &table, const TTableTotals &t, const TVDRTFGrid &grid,
                   int32_t rowCount, const TVDStyle &style, const TFinalizeOptions &o) {
    if (t.CellFlatBorder) {
        table.SetCellBorderStyle(vdtbColor);
    }
    if (table.GetColor(vdtcBorderColor) == table.GetColor(vdtcBorderLightColor)) {
        table.SetBorderStyle(vdtbColor);
    }
    if (o.UseSingleCellPadding) {
        table.SetCellPadding(style.TwipsToUnits(Average(
            t.CellHPaddingTw + t.CellVPaddingTw, t.CellHPaddingCount + t.CellVPaddingCount)));
    } else {
        table.SetCellHPadding(style.TwipsToUnits(Average(t.CellHPaddingTw, t.CellHPaddingCount)));
        table.SetCellVPadding(style.TwipsToUnits(Average(t.CellVPaddingTw, t.CellVPaddingCount)));
    }
    const TVDStyleLength pad2 = 2 * table.GetCellHPadding();
    for (const TVDRTFGridCell &gc : grid.Cells) {
        TVDTableCellData *cell = table.GetCells(gc.Row, gc.Col);
        if (cell && !t.ViziVoduSpecial && cell->GetBestWidth() > pad2) {
            cell->SetBestWidth(cell->GetBestWidth() - pad2);
        }
    }
    const int32_t bw = t.BestWidth;
    if (bw < 0) {
        table.SetBestWidth(bw / 50);
    } else if (bw > 0) {
        const int64_t borders =
            t.ViziVoduSpecial || t.BorderCount == 0 ? 0 : t.BorderWidthTw / t.BorderCount;
        table.SetBestWidth(style.TwipsToUnits(Clamp(bw - borders)));
    } else if (o.ExplicitTableWidth && grid.Boundaries.size() > 1) {
        table.SetBestWidth(style.TwipsToUnits(grid.Boundaries.back() - grid.Boundaries.front()));
    }
    table.SetCellBorderWidth(BorderWidthOf(t.CellBorderWidthTw, t.CellBorderCount, style));
    table.SetBorderWidth(BorderWidthOf(t.BorderWidthTw, t.BorderCount, style));
    SetSpacing(table, t, rowCount, style);
    if (o.AutoHideGridLines) {
        TVDTableOptions options = table.GetTableOptions();
        options.Include(vdtoHideGridLines);
        table.SetTableOptions(options);
    }
}

} // namespace

std::unique_ptr<TVDTableItemInfo> TVDRTFReaderProperties::BuildTable(TTableSubDataInfo &entry) {
    const std::vector<TRTFCollectedRow> &rows = entry.Rows;
    std::vector<TVDRTFGridRow> shapes;
    for (const TRTFCollectedRow &row : rows) {
        shapes.push_back(ShapeOf(row));
    }
    const TVDRTFGrid grid = BuildRTFGrid(shapes);
    const int32_t rowCount = int32_t(rows.size());
    auto table = std::make_unique<TVDTableItemInfo>(rowCount, grid.ColCount, entry.PrevVDData);
    table->BeforeLoading(vdlfRTF);
    InitTable(*table);
    TTableTotals t;
    t.Word2000 = AnyCellStatesWidth(rows);
    for (int32_t r = 0; r < rowCount; ++r) {
        const TVDRTFRowProperties &rp = rows[size_t(r)].Props;
        AddRow(t, *table, rp, r == 0);
        if (rp.FHeading) {
            table->SetHeadingRowCount(r + 1);
        }
        table->GetRows().Get(r)->KeepTogether = rp.FKeepTogether;
        table->GetRows().Get(r)->PageBreakBefore = rows[size_t(r)].PageBreakBefore;
    }
    for (const TVDRTFGridCell &gc : grid.Cells) {
        if (gc.ColSpan > 1 || gc.RowSpan > 1) {
            table->GetRows().MergeCells(gc.Row, gc.Col, gc.ColSpan, gc.RowSpan, true, false);
        }
    }
    const int32_t defStyleNo = GetDefaultTextStyleNo();
    const int32_t defParaNo = GetSimpleParaNo(rtf_al_Left, 0);
    for (const TVDRTFGridCell &gc : grid.Cells) {
        TVDTableCellData *cell = table->GetCells(gc.Row, gc.Col);
        if (!cell) {
            continue;
        }
        cell->Clear();
        if (gc.IsFiller()) {
            cell->SetVisibleBorders(TVDBooleanRect(false));
        } else {
            const TVDRTFGridSource &first = gc.Sources.front();
            const TVDRTFRowProperties &rp = rows[size_t(first.Row)].Props;
            const TVDRTFCellProperties cp = size_t(first.Cell) < rp.FCellProps.size()
                                                ? rp.FCellProps[size_t(first.Cell)]
                                                : TVDRTFCellProperties();
            SetCellFromRTF(*cell, rp, cp, SpanTw(grid, gc, shapes[size_t(first.Row)]), t,
                           *FVDStyle);
            // Merged cells add their text only when they have some (usually they hold the
            // empty paragraph of an empty cell).
            for (const TVDRTFGridSource &s : gc.Sources) {
                TVDTableItemInfo &collected = *rows[size_t(s.Row)].Cells;
                TVDTableCellData *from =
                    s.Cell < collected.GetColCount() ? collected.GetCells(0, s.Cell) : nullptr;
                if (from && (&s == &gc.Sources.front() || from->HasData(false))) {
                    cell->DrainFrom(from);
                }
            }
        }
        if (cell->ItemCount() == 0) {
            cell->AddNLR({}, defStyleNo, defParaNo);
        }
    }
    FinalizeTable(*table, t, grid, rowCount, *FVDStyle,
                  {UseSingleCellPadding, ExplicitTableWidth, AutoHideTableGridLines});
    table->DeleteEmptyRows();
    const TVDRTFRowProperties &first = rows.front().Props;
    const int32_t left = grid.Boundaries.empty() ? first.FLeftTw : grid.Boundaries.front();
    table->ParaNo = GetSimpleParaNo(
        first.FAlignmentDefined ? TVDRTFAlignment(first.FAlignment) : rtf_al_Left, left);
    return table;
}

} // namespace vizivodu
