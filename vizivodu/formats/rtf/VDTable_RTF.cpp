// The RTF half of tables: the colours they need, and one row group per row with the row and
// cell properties, merged cells and nested tables (RTF 1.8 nesting keywords).
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/formats/rtf/VDRTFWriter_p.h"
#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/formatting/DLines.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Rounding.h"

namespace vizivodu {

namespace {

std::string Num(int64_t value) {
    return std::to_string(value);
}

void AddBorderColors(TCustomVDRTFTables &tables, TVDTableBorderStyle style, gfx::TColor color,
                     gfx::TColor lightColor) {
    switch (style) {
    case vdtbRaised:
    case vdtbLowered:
        tables.AddColor(gfx::clBtnHighlight);
        tables.AddColor(gfx::clBtnShadow);
        tables.AddColor(gfx::clBtnFace);
        break;
    case vdtbColor:
        tables.AddColor(color);
        break;
    default:
        tables.AddColor(color);
        tables.AddColor(lightColor);
        break;
    }
}

// What one table writes: the row properties and the rows.
class TTableRTFWriter {
public:
    TTableRTFWriter(TVDTableItemInfo &table, rtl::TStream &stream, TCustomVDData &data,
                    int32_t level, TVDRTFSavingData &saving, TVDRTFDocType docType, bool hidden)
        : FTable(table), FStream(stream), FData(data), FStyle(*data.GetVDStyle()), FLevel(level),
          FSaving(saving), FDocType(docType), FHidden(hidden) {
        const TParaInfos &paras = FStyle.GetParaStyles();
        const int32_t paraNo =
            table.ParaNo >= 0 && table.ParaNo < paras.GetCount() ? table.ParaNo : 0;
        FPara = &paras.GetItem(paraNo);
        FLeft = Twips(FPara->GetLeftIndent());
    }

    void WriteRow(int32_t r);

private:
    int32_t Twips(TVDStyleLength value) const { return FStyle.GetAsTwips(value); }
    int32_t ColorIndex(gfx::TColor color) const {
        return FSaving.RTFTables ? FSaving.RTFTables->GetColorIndex(color) : 0;
    }
    void WriteRowProperties(int32_t r);
    void WriteRowSpacing(int32_t r);
    void WriteRowWidth();
    AnsiString Borders(const char *prefix, TVDTableBorderStyle style, TVDStyleLength width,
                       const TVDBooleanRect &visible, gfx::TColor color, gfx::TColor light) const;
    void WriteCellProperties(int32_t r, int32_t c);
    void WriteCell(int32_t r, int32_t c);

    TVDTableItemInfo &FTable;
    rtl::TStream &FStream;
    TCustomVDData &FData;
    const TVDStyle &FStyle;
    int32_t FLevel;
    TVDRTFSavingData &FSaving;
    TVDRTFDocType FDocType;
    bool FHidden;
    const TParaInfo *FPara = nullptr;
    int32_t FLeft = 0;
};

AnsiString TTableRTFWriter::Borders(const char *prefix, TVDTableBorderStyle style,
                                    TVDStyleLength width, const TVDBooleanRect &visible,
                                    gfx::TColor color, gfx::TColor light) const {
    if (width <= 0) {
        return {};
    }
    const std::string w = Num(Twips(width));
    auto side = [&](bool topLeft) -> AnsiString {
        switch (style) {
        case vdtbRaised:
            return "\\brdroutset\\brdrw" + w;
        case vdtbLowered:
            return "\\brdrinset\\brdrw" + w;
        case vdtbRaisedColor:
            return "\\brdrs\\brdrw" + w + "\\brdrcf" + Num(ColorIndex(topLeft ? light : color));
        case vdtbLoweredColor:
            return "\\brdrs\\brdrw" + w + "\\brdrcf" + Num(ColorIndex(topLeft ? color : light));
        default:
            return "\\brdrs\\brdrw" + w + "\\brdrcf" + Num(ColorIndex(color));
        }
    };
    const std::string p = prefix;
    AnsiString s;
    if (visible.Left) {
        s += "\\" + p + "brdrl" + side(true);
    }
    if (visible.Top) {
        s += "\\" + p + "brdrt" + side(true);
    }
    if (visible.Right) {
        s += "\\" + p + "brdrr" + side(false);
    }
    if (visible.Bottom) {
        s += "\\" + p + "brdrb" + side(false);
    }
    return s;
}

void TTableRTFWriter::WriteRowSpacing(int32_t r) {
    const TVDStyleLength h = FTable.GetCellHSpacing();
    const TVDStyleLength v = FTable.GetCellVSpacing();
    const TVDStyleLength border = FTable.GetBorderVSpacing();
    if (h <= 0 && v <= 0 && border < 0) {
        return;
    }
    const std::string hs = Num(rtl::Round(Twips(h) / 2.0));
    const std::string hu = h > 0 ? "3" : "0";
    auto edge = [&](bool outer) {
        const TVDStyleLength len = outer ? border : v;
        return std::make_pair(Num(rtl::Round(Twips(len) / 2.0)), std::string(len > 0 ? "3" : "0"));
    };
    const auto top = edge(r == 0);
    const auto bottom = edge(r == FTable.GetRowCount() - 1);
    RTFWrite(FStream, "\\trspdl" + hs + "\\trspdfl" + hu + "\\trspdr" + hs + "\\trspdfr" + hu +
                          "\\trspdt" + top.first + "\\trspdft" + top.second + "\\trspdb" +
                          bottom.first + "\\trspdfb" + bottom.second);
}

void TTableRTFWriter::WriteRowWidth() {
    const TVDHTMLLength best = FTable.GetBestWidth();
    if (best > 0) {
        RTFWrite(FStream, "\\trwWidth" + Num(Twips(best + 2 * FTable.GetTableBorderWidth())) +
                              "\\trftsWidth3");
    } else if (best < 0) {
        RTFWrite(FStream, "\\trwWidth" + Num(-50 * int64_t{best}) + "\\trftsWidth2");
    } else if (FTable.GetTableOptions().Contains(vdtoRTFAllowAutofit)) {
        RTFWrite(FStream, "\\trftsWidth1\\trautofit1");
    } else {
        RTFWrite(FStream, "\\trwWidth" +
                              Num(TVDStyle::PixelsToTwips(FTable.GetFormattingInfo().FWidth)) +
                              "\\trftsWidth3");
    }
}

void TTableRTFWriter::WriteRowProperties(int32_t r) {
    const TVDStyleLength gap = static_cast<TVDStyleLength>(rtl::Round(
        std::max<int64_t>(0, 2 * int64_t{FTable.GetCellHPadding() + FTable.GetCellBorderWidth()} +
                                 FTable.GetCellHSpacing()) /
        2.0));
    const char *align = FPara->GetAlignment() == vdaRight    ? "\\trqr"
                        : FPara->GetAlignment() == vdaCenter ? "\\trqc"
                                                             : "";
    AnsiString s = "\\trowd\\trgaph" + Num(Twips(gap)) + align + "\\trleft" + Num(FLeft);
    if (r < FTable.GetHeadingRowCount()) {
        s += "\\trhdr";
    }
    TVDTableRow &row = *FTable.GetRows().Get(r);
    if (row.GetBestHeight() > 0) {
        s += "\\trrh" + Num(Twips(row.GetBestHeight()));
    }
    const std::string hp = Num(Twips(FTable.GetCellHPadding()));
    const std::string vp = Num(Twips(FTable.GetCellVPadding()));
    s += "\\trpaddl" + hp + "\\trpaddt" + vp + "\\trpaddr" + hp + "\\trpaddb" + vp +
         "\\trpaddfl3\\trpaddft3\\trpaddfr3\\trpaddfb3";
    RTFWrite(FStream, s);
    WriteRowSpacing(r);
    WriteRowWidth();
    s.clear();
    if (!FTable.GetPrintOptions().Contains(vdtoRowsSplit)) {
        s += "\\trkeep\\trkeepfollow";
    } else if (row.KeepTogether) {
        s += "\\trkeep";
    }
    if (FLevel == 0 && r == FTable.GetRowCount() - 1) {
        s += "\\lastrow";
    }
    s += (FStyle.GetUnits() == vdstuTwips ? "\\vizivodutbwtw" : "\\vizivodutbw") +
         Num(FTable.GetBestWidth());
    s += Borders("tr", FTable.GetBorderStyle(), FTable.GetTableBorderWidth(),
                 FTable.GetVisibleBorders(), FTable.GetColor(vdtcBorderColor),
                 FTable.GetColor(vdtcBorderLightColor));
    if (FTable.GetColor(vdtcColor) != gfx::clNone) {
        s += "\\trcbpat" + Num(ColorIndex(FTable.GetColor(vdtcColor)));
    }
    RTFWrite(FStream, s);
    RTFWrite(FStream, FData.GetExtraRTFCode(vd_rtfs_RowProps, &FTable, -1, r, false));
    for (int32_t c = 0; c < FTable.GetColCount(); ++c) {
        WriteCellProperties(r, c);
    }
}

void TTableRTFWriter::WriteCellProperties(int32_t r, int32_t c) {
    int32_t mr = r;
    int32_t mc = c;
    TVDTableCellData *cell = FTable.GetRows().GetMainCell(r, c, mr, mc);
    if (!cell || mc != c) {
        return;
    }
    const bool own = mr == r;
    AnsiString s;
    if (!own) {
        s += "\\clvmrg";
    } else if (cell->GetRowSpan() > 1) {
        s += "\\clvmgf";
    }
    if (own) {
        const TVDHTMLLength best = cell->GetBestWidth();
        if (best < 0) {
            s += "\\clwWidth" + Num(-50 * int64_t{best}) + "\\clftsWidth2";
        } else if (best == 0) {
            s += "\\clftsWidth1";
        } else if (FTable.GetTableOptions().Contains(vdtoRTFSaveCellPixelBestWidth)) {
            s += "\\clwWidth" + Num(Twips(best)) + "\\clftsWidth3";
        } else {
            s += "\\clwWidth0";
        }
        const bool twips = FStyle.GetUnits() == vdstuTwips;
        s += (twips ? "\\vizivoducbwtw" : "\\vizivoducbw") + Num(best) +
             (twips ? "\\vizivoducbhtw" : "\\vizivoducbh") + Num(cell->GetBestHeight());
    }
    const TVDDocRotation rotation = cell->GetRealRotation(false);
    if (rotation == vdrot90) {
        s += "\\cltxtbrl";
    } else if (rotation == vdrot270) {
        s += "\\cltxbtlr";
    }
    const gfx::TColor color = cell->GetBorderColor() != gfx::clNone
                                  ? cell->GetBorderColor()
                                  : FTable.GetColor(vdtcCellBorderColor);
    const gfx::TColor light = cell->GetBorderLightColor() != gfx::clNone
                                  ? cell->GetBorderLightColor()
                                  : FTable.GetColor(vdtcCellBorderLightColor);
    s += Borders("cl", FTable.GetCellBorderStyle(), FTable.GetCellBorderWidth(),
                 cell->GetVisibleBorders(), color, light);
    const gfx::TColor back = FTable.GetCellColor(mr, mc, false, false);
    if (back != gfx::clNone) {
        s += "\\clcbpat" + Num(ColorIndex(back));
    }
    if (cell->GetRealVAlign() == vdcMiddle) {
        s += "\\clvertalc";
    } else if (cell->GetRealVAlign() == vdcBottom) {
        s += "\\clvertalb";
    }
    RTFWrite(FStream, s);
    RTFWrite(FStream, FData.GetExtraRTFCode(vd_rtfs_CellProps, cell, c, r, false));
    const TVDTableItemFormattingInfo &fmt = FTable.GetFormattingInfo();
    const int32_t k = std::min(mc + cell->GetColSpan() - 1, fmt.ColStarts.GetCount() - 1);
    const int32_t right = k >= 0 ? fmt.ColStarts.Get(k) + fmt.ColWidths.Get(k) : 0;
    const auto x = static_cast<TVDStyleLength>(rtl::Round(FTable.GetCellHSpacing() / 2.0 +
                                                          FStyle.PixelsToUnits(right) +
                                                          2.0 * FTable.GetCellHPadding()));
    RTFWrite(FStream, "\\cellx" + Num(Twips(x) + FLeft));
}

void TTableRTFWriter::WriteCell(int32_t r, int32_t c) {
    const bool nested = FLevel > 0;
    RTFWrite(FStream, "{");
    TVDTableCellData *cell = FTable.GetCells(r, c);
    if (cell) {
        const bool pageBreak = c == 0 && FTable.GetRows().Get(r)->PageBreakBefore;
        if (pageBreak) {
            FSaving.SavePageBreakBeforePara = true;
        }
        cell->SaveRTFToStream(FStream, false, FLevel + 1, gfx::clNone, nullptr, FSaving, FDocType,
                              false, FHidden, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        if (pageBreak) {
            FSaving.SavePageBreakBeforePara = false;
        }
    }
    RTFWrite(FStream, nested ? "\\nestcell}" : "\\cell}");
}

void TTableRTFWriter::WriteRow(int32_t r) {
    const bool nested = FLevel > 0;
    RTFWrite(FStream, "{");
    if (FHidden) {
        RTFWrite(FStream, "\\v");
    }
    RTFWrite(FStream, "\\pard\\intbl");
    if (nested) {
        RTFWrite(FStream, "\\itap" + Num(FLevel + 1));
    } else {
        WriteRowProperties(r);
    }
    for (int32_t c = 0; c < FTable.GetColCount(); ++c) {
        int32_t mr = r;
        int32_t mc = c;
        if (FTable.GetRows().GetMainCell(r, c, mr, mc) && mc == c) {
            WriteCell(r, c);
        }
    }
    if (nested) {
        RTFWrite(FStream, "{\\*\\nesttableprops");
        WriteRowProperties(r);
        RTFWrite(FStream, "\\nestrow}");
    } else {
        WriteRowProperties(r);
        RTFWrite(FStream, "\\row");
    }
    RTFWrite(FStream, "}");
}

} // namespace

void TVDTableItemInfo::FillRTFTables(TCustomVDRTFTables *rtfTables,
                                     TVDIntegerList *listOverrideCountList, TCustomVDData *) {
    if (rtfTables) {
        rtfTables->AddColor(GetColor(vdtcColor));
        AddBorderColors(*rtfTables, GetBorderStyle(), GetColor(vdtcBorderColor),
                        GetColor(vdtcBorderLightColor));
        AddBorderColors(*rtfTables, GetCellBorderStyle(), GetColor(vdtcCellBorderColor),
                        GetColor(vdtcCellBorderLightColor));
        if (GetVRuleWidth() > 0) {
            rtfTables->AddColor(GetColor(vdtcVRuleColor));
        }
        if (GetHRuleWidth() > 0) {
            rtfTables->AddColor(GetColor(vdtcHRuleColor));
        }
        for (int32_t k = vdtcHeadingRowColor; k <= vdtcEvenColumnsColor; ++k) {
            rtfTables->AddColor(GetColor(static_cast<TVDTableColorProperty>(k)));
        }
    }
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        for (int32_t c = 0; c < GetColCount(); ++c) {
            TVDTableCellData *cell = GetCells(r, c);
            if (!cell) {
                continue;
            }
            if (rtfTables) {
                rtfTables->AddColor(cell->GetOwnColor());
                rtfTables->AddColor(cell->GetBorderColor());
                rtfTables->AddColor(cell->GetBorderLightColor());
            }
            cell->FillRTFTables(rtfTables, listOverrideCountList);
        }
    }
}

void TVDTableItemInfo::EnsureLayoutForRTF(TCustomVDData *vdData) {
    if (Fmt->FWidth != 0) {
        return;
    }
    int32_t width = 600;
    if (auto *formatted = dynamic_cast<TCustomVDFormattedData *>(vdData)) {
        if (formatted->DocumentWidth > 0) {
            width = formatted->DocumentWidth;
        }
    }
    gfx::TBitmap bitmap;
    bitmap.SetSize(1, 1);
    TVDDrawLineInfo dli;
    int32_t hShift = 0;
    int32_t desc = 0;
    OnDocWidthChange(width, dli, false, bitmap.GetCanvas(), vdData, nullptr, hShift, desc, false,
                     false, false);
}

void TVDTableItemInfo::SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t, int32_t level,
                               TVDRTFSavingData &savingData, TVDRTFDocType docType,
                               bool hiddenParent) {
    if (GetRowCount() == 0 || GetColCount() == 0) {
        return;
    }
    EnsureLayoutForRTF(vdData);
    TTableRTFWriter writer(*this, stream, *vdData, level, savingData, docType,
                           Hidden || hiddenParent);
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        writer.WriteRow(r);
    }
    vdData->State.Include(vdstRTFSkipPar);
}

} // namespace vizivodu
