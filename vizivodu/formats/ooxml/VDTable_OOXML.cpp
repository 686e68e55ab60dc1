// The DOCX half of tables: table properties, the grid, rows and cells with vertical and
// horizontal merges, borders and shading, and the cells' documents.
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/formats/common/VDFuncs_OOXML.h"
#include "vizivodu/formats/ooxml/VDDocXSavingData.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include "platform/rtl/Rounding.h"

namespace vizivodu {

namespace {

std::string Num(int64_t value) {
    return std::to_string(value);
}

AnsiString Shading(gfx::TColor color) {
    return "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"" + ColorToOOXMLStr(color, false) +
           "\"/>";
}

class TTableOOXMLWriter {
public:
    TTableOOXMLWriter(TVDTableItemInfo &table, rtl::TStream &stream, TCustomVDData &data,
                      TVDDocXSavingData &saving, bool hidden)
        : FTable(table), FStream(stream), FData(data), FStyle(*data.GetVDStyle()), FSaving(saving),
          FHidden(hidden) {}

    void WriteTableProperties();
    void WriteGrid();
    void WriteRow(int32_t r);

private:
    int32_t Twips(TVDStyleLength value) const { return FStyle.GetAsTwips(value); }
    AnsiString Borders(TVDTableBorderStyle style, TVDStyleLength width,
                       const TVDBooleanRect &visible, gfx::TColor color, gfx::TColor light,
                       bool cell) const;
    AnsiString TableBorders() const;
    AnsiString TableWidthAndAlignment(const TParaInfo &para) const;
    bool CellNeedsBorders(int32_t r, int32_t c, const TVDTableCellData &cell) const;
    AnsiString CellWidth(const TVDTableCellData &cell) const;
    AnsiString CellBorders(int32_t mr, int32_t c, const TVDTableCellData &cell) const;
    AnsiString MainRowProperties(int32_t r, int32_t c, TVDTableCellData &cell);
    void WriteCellProperties(int32_t r, int32_t c, int32_t mr, TVDTableCellData &cell);

    TVDTableItemInfo &FTable;
    rtl::TStream &FStream;
    TCustomVDData &FData;
    const TVDStyle &FStyle;
    TVDDocXSavingData &FSaving;
    bool FHidden;
};

AnsiString TTableOOXMLWriter::Borders(TVDTableBorderStyle style, TVDStyleLength width,
                                      const TVDBooleanRect &visible, gfx::TColor color,
                                      gfx::TColor light, bool cell) const {
    static constexpr const char *kSides[] = {"left", "top", "right", "bottom"};
    const bool shown[] = {visible.Left, visible.Top, visible.Right, visible.Bottom};
    AnsiString s;
    if (width <= 0) {
        for (const char *side : kSides) {
            s += cell ? AnsiString("<w:") + side + " w:val=\"nil\"/>" : AnsiString();
        }
        return s;
    }
    const std::string sz = Num(rtl::Round(Twips(width) * 8 / 20.0));
    for (int32_t i = 0; i < 4; ++i) {
        const std::string side = kSides[i];
        if (!shown[i]) {
            s += cell ? "<w:" + side + " w:val=\"nil\"/>" : "";
            continue;
        }
        const bool topLeft = i < 2;
        gfx::TColor sideColor = color;
        if (style == vdtbRaisedColor) {
            sideColor = topLeft ? light : color;
        } else if (style == vdtbLoweredColor) {
            sideColor = topLeft ? color : light;
        }
        if (style == vdtbRaised || style == vdtbLowered) {
            s += "<w:" + side + " w:val=\"" + (style == vdtbRaised ? "outset" : "inset") +
                 "\" w:sz=\"" + sz + "\"/>";
        } else {
            s += "<w:" + side + " w:val=\"single\" w:sz=\"" + sz + "\" w:color=\"" +
                 ColorToOOXMLStr(sideColor, true) + "\"/>";
        }
    }
    return s;
}

AnsiString TTableOOXMLWriter::TableBorders() const {
    AnsiString borders =
        Borders(FTable.GetBorderStyle(), FTable.GetTableBorderWidth(), FTable.GetVisibleBorders(),
                FTable.GetColor(vdtcBorderColor), FTable.GetColor(vdtcBorderLightColor), false);
    const gfx::TColor cellColor = FTable.GetColor(vdtcCellBorderColor);
    const TVDTableBorderStyle cellStyle = FTable.GetCellBorderStyle();
    const bool twoEqual = (cellStyle == vdtbRaisedColor || cellStyle == vdtbLoweredColor) &&
                          cellColor == FTable.GetColor(vdtcCellBorderLightColor);
    if (FTable.GetCellBorderWidth() > 0 && cellColor != gfx::clNone &&
        (cellStyle == vdtbColor || twoEqual)) {
        const std::string inside = " w:val=\"single\" w:sz=\"" +
                                   Num(rtl::Round(Twips(FTable.GetCellBorderWidth()) * 8 / 20.0)) +
                                   "\" w:color=\"" + ColorToOOXMLStr(cellColor, true) + "\"/>";
        borders += "<w:insideH" + inside + "<w:insideV" + inside;
    }
    return borders.empty() ? borders : "<w:tblBorders>" + borders + "</w:tblBorders>";
}

AnsiString TTableOOXMLWriter::TableWidthAndAlignment(const TParaInfo &para) const {
    AnsiString s;
    const TVDHTMLLength best = FTable.GetBestWidth();
    if (best < 0) {
        s += "<w:tblW w:w=\"" + Num(-50 * int64_t{best}) + "\" w:type=\"pct\"/>";
    } else {
        const int32_t w =
            best > 0 ? Twips(best) : TVDStyle::PixelsToTwips(FTable.GetFormattingInfo().FWidth);
        s += "<w:tblW w:w=\"" + Num(w) + "\" w:type=\"dxa\"/>";
    }
    if (para.GetAlignment() == vdaRight) {
        s += "<w:jc w:val=\"right\"/>";
    } else if (para.GetAlignment() == vdaCenter) {
        s += "<w:jc w:val=\"center\"/>";
    }
    if (!FTable.GetTableOptions().Contains(vdtoRTFAllowAutofit)) {
        s += "<w:tblLayout w:type=\"fixed\"/>";
    }
    return s;
}

void TTableOOXMLWriter::WriteTableProperties() {
    const TParaInfos &paras = FStyle.GetParaStyles();
    const TParaInfo &para =
        paras.GetItem(FTable.ParaNo >= 0 && FTable.ParaNo < paras.GetCount() ? FTable.ParaNo : 0);
    AnsiString s = "<w:tblPr>" + TableWidthAndAlignment(para) + TableBorders();
    const std::string hp = Num(Twips(FTable.GetCellHPadding()));
    const std::string vp = Num(Twips(FTable.GetCellVPadding()));
    s += "<w:tblCellMar><w:top w:w=\"" + vp + "\" w:type=\"dxa\"/><w:left w:w=\"" + hp +
         "\" w:type=\"dxa\"/><w:bottom w:w=\"" + vp + "\" w:type=\"dxa\"/><w:right w:w=\"" + hp +
         "\" w:type=\"dxa\"/></w:tblCellMar>";
    const int64_t spacing =
        rtl::Round(Twips(FTable.GetCellHSpacing() + FTable.GetCellVSpacing()) / 4.0);
    if (spacing > 0) {
        s += "<w:tblCellSpacing w:w=\"" + Num(spacing) + "\" w:type=\"dxa\"/>";
    }
    if (para.GetLeftIndent() != 0) {
        s += "<w:tblInd w:w=\"" + Num(Twips(para.GetLeftIndent())) + "\" w:type=\"dxa\"/>";
    }
    if (FTable.GetColor(vdtcColor) != gfx::clNone) {
        s += Shading(FTable.GetColor(vdtcColor));
    }
    s += FData.GetExtraDocXCode(vd_docxs_TableProps, &FTable, -1, -1);
    OOXMLWrite(FStream, s + "</w:tblPr>");
}

void TTableOOXMLWriter::WriteGrid() {
    const TVDTableItemFormattingInfo &fmt = FTable.GetFormattingInfo();
    AnsiString s = "<w:tblGrid>";
    for (int32_t c = 0; c < FTable.GetColCount(); ++c) {
        const int32_t pixels = c < fmt.ColWidths.GetCount() ? fmt.ColWidths.Get(c) : 0;
        s += "<w:gridCol w:w=\"" +
             Num(Twips(FStyle.PixelsToUnits(pixels) + 2 * FTable.GetCellHPadding() +
                       FTable.GetCellHSpacing())) +
             "\"/>";
    }
    OOXMLWrite(FStream, s + "</w:tblGrid>");
}

bool TTableOOXMLWriter::CellNeedsBorders(int32_t r, int32_t c, const TVDTableCellData &cell) const {
    if (FTable.GetCellBorderWidth() <= 0) {
        return false;
    }
    const TVDTableBorderStyle style = FTable.GetCellBorderStyle();
    const bool twoColor = style == vdtbRaisedColor || style == vdtbLoweredColor;
    const gfx::TColor color = FTable.GetColor(vdtcCellBorderColor);
    const gfx::TColor light = FTable.GetColor(vdtcCellBorderLightColor);
    const TVDBooleanRect &v = cell.GetVisibleBorders();
    if (r == 0 || c == 0 || r + cell.GetRowSpan() >= FTable.GetRowCount() ||
        c + cell.GetColSpan() >= FTable.GetColCount() || !v.Left || !v.Top || !v.Right ||
        !v.Bottom || style == vdtbRaised || style == vdtbLowered || (twoColor && color != light)) {
        return true;
    }
    const bool ownColor = cell.GetBorderColor() != gfx::clNone && cell.GetBorderColor() != color;
    const bool ownLight =
        cell.GetBorderLightColor() != gfx::clNone && cell.GetBorderLightColor() != light;
    return style == vdtbColor ? ownColor : (ownColor || ownLight);
}

AnsiString TTableOOXMLWriter::CellWidth(const TVDTableCellData &cell) const {
    const TVDHTMLLength best = cell.GetBestWidth();
    if (best > 0 && FTable.GetTableOptions().Contains(vdtoRTFSaveCellPixelBestWidth)) {
        int32_t w = Twips(2 * (FTable.GetCellHPadding() + FTable.GetCellBorderWidth()) + best);
        if (FTable.GetCellHSpacing() < 0) {
            w += Twips(FTable.GetCellHSpacing());
        }
        return "<w:tcW w:w=\"" + Num(w) + "\" w:type=\"dxa\"/>";
    }
    if (best < 0) {
        return "<w:tcW w:w=\"" + Num(-50 * int64_t{best}) + "\" w:type=\"pct\"/>";
    }
    return {};
}

AnsiString TTableOOXMLWriter::CellBorders(int32_t mr, int32_t c,
                                          const TVDTableCellData &cell) const {
    if (!CellNeedsBorders(mr, c, cell)) {
        return {};
    }
    const gfx::TColor color = cell.GetBorderColor() != gfx::clNone
                                  ? cell.GetBorderColor()
                                  : FTable.GetColor(vdtcCellBorderColor);
    const gfx::TColor light = cell.GetBorderLightColor() != gfx::clNone
                                  ? cell.GetBorderLightColor()
                                  : FTable.GetColor(vdtcCellBorderLightColor);
    return "<w:tcBorders>" +
           Borders(FTable.GetCellBorderStyle(), FTable.GetCellBorderWidth(),
                   cell.GetVisibleBorders(), color, light, true) +
           "</w:tcBorders>";
}

// Alignment, direction, shading and the application's code: only where the cell begins.
AnsiString TTableOOXMLWriter::MainRowProperties(int32_t r, int32_t c, TVDTableCellData &cell) {
    AnsiString s;
    if (cell.GetRealVAlign() == vdcMiddle) {
        s += "<w:vAlign w:val=\"center\"/>";
    } else if (cell.GetRealVAlign() == vdcBottom) {
        s += "<w:vAlign w:val=\"bottom\"/>";
    }
    const TVDDocRotation rotation = cell.GetRealRotation(false);
    if (rotation == vdrot90) {
        s += "<w:textDirection w:val=\"tbRl\"/>";
    } else if (rotation == vdrot270) {
        s += "<w:textDirection w:val=\"btLr\"/>";
    }
    gfx::TColor back = FTable.GetCellColor(r, c, false, false);
    if (back == gfx::clNone) {
        back = FTable.GetColor(vdtcColor);
    }
    if (back != gfx::clNone) {
        s += Shading(back);
    }
    return s + FData.GetExtraDocXCode(vd_docxs_CellProps, &cell, c, r);
}

void TTableOOXMLWriter::WriteCellProperties(int32_t r, int32_t c, int32_t mr,
                                            TVDTableCellData &cell) {
    AnsiString s;
    if (r != mr) {
        s += "<w:vMerge/>";
    } else if (cell.GetRowSpan() > 1) {
        s += "<w:vMerge w:val=\"restart\"/>";
    }
    s += CellWidth(cell);
    if (cell.GetColSpan() > 1) {
        s += "<w:gridSpan w:val=\"" + Num(cell.GetColSpan()) + "\"/>";
    }
    s += CellBorders(mr, c, cell);
    if (r == mr) {
        s += MainRowProperties(r, c, cell);
    }
    if (!s.empty()) {
        OOXMLWrite(FStream, "<w:tcPr>" + s + "</w:tcPr>");
    }
}

void TTableOOXMLWriter::WriteRow(int32_t r) {
    TVDTableRow &row = *FTable.GetRows().Get(r);
    AnsiString props;
    if (r < FTable.GetHeadingRowCount()) {
        props += "<w:tblHeader/>";
    }
    if (row.KeepTogether) {
        props += "<w:cantSplit/>";
    }
    if (row.GetBestHeight() > 0) {
        props +=
            "<w:trHeight w:val=\"" + Num(Twips(row.GetBestHeight())) + "\" w:hRule=\"atLeast\"/>";
    }
    if (FHidden) {
        props += "<w:hidden/>";
    }
    props += FData.GetExtraDocXCode(vd_docxs_RowProps, &FTable, -1, r);
    OOXMLWrite(FStream, props.empty() ? "<w:tr>" : "<w:tr><w:trPr>" + props + "</w:trPr>");
    for (int32_t c = 0; c < FTable.GetColCount(); ++c) {
        int32_t mr = r;
        int32_t mc = c;
        TVDTableCellData *cell = FTable.GetRows().GetMainCell(r, c, mr, mc);
        if (!cell || mc != c) {
            continue;
        }
        OOXMLWrite(FStream, "<w:tc>");
        WriteCellProperties(r, c, mr, *cell);
        if (mr != r) {
            OOXMLWrite(FStream, "<w:p/>");
        } else {
            const bool pageBreak = c == 0 && row.PageBreakBefore;
            FSaving.SavePageBreakBeforePara = pageBreak;
            cell->SaveOOXMLDocumentToStream(FStream, {}, false, false, true, FHidden, gfx::clNone,
                                            nullptr, FSaving);
            FSaving.SavePageBreakBeforePara = false;
        }
        OOXMLWrite(FStream, "</w:tc>");
    }
    if (r == 0 && FTable.Checkpoint) {
        OOXMLWrite(FStream, FData.GetOOXMLCheckpointStr(*FTable.Checkpoint, FSaving));
    }
    OOXMLWrite(FStream, "</w:tr>");
}

} // namespace

void TVDTableItemInfo::SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                 TVDDocXSavingData &savingData, bool hiddenParent) {
    if (GetRowCount() == 0 || GetColCount() == 0) {
        return;
    }
    EnsureLayoutForRTF(vdData);
    TTableOOXMLWriter writer(*this, stream, *vdData, savingData, Hidden || hiddenParent);
    OOXMLWrite(stream, "<w:tbl>");
    writer.WriteTableProperties();
    writer.WriteGrid();
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        writer.WriteRow(r);
    }
    OOXMLWrite(stream, "</w:tbl>");
}

} // namespace vizivodu
