// The RTF parser's property keywords: where each acts, and their effect on the character,
// paragraph, border, section, document, row and cell properties, the font and colour tables
// and the style sheet entries.
#include "vizivodu/formats/rtf/VDRTFReader.h"

#include <algorithm>
#include <cstdlib>

namespace vizivodu {

namespace {

bool InRange(uint8_t idx, int lo, int hi) {
    return idx >= lo && idx <= hi;
}

// Indexes that act only in their own destinations.
bool IsOwnDestinationProperty(uint8_t idx) {
    return InRange(idx, 78, 82) || InRange(idx, 85, 136) || idx == 138;
}

TColor FixedHighlightColor(int32_t n) {
    static constexpr TColor colors[16] = {
        gfx::RGB(0, 0, 0),      gfx::RGB(0, 0, 255),     gfx::RGB(0, 255, 255),
        gfx::RGB(0, 255, 0),    gfx::RGB(255, 0, 255),   gfx::RGB(255, 0, 0),
        gfx::RGB(255, 255, 0),  gfx::RGB(255, 255, 255), gfx::RGB(0, 0, 128),
        gfx::RGB(0, 128, 128),  gfx::RGB(0, 128, 0),     gfx::RGB(128, 0, 128),
        gfx::RGB(128, 0, 0),    gfx::RGB(128, 128, 0),   gfx::RGB(128, 128, 128),
        gfx::RGB(192, 192, 192)};
    return n >= 1 && n <= 16 ? colors[n - 1] : gfx::clNone;
}

void SetFontStyle(gfx::TFontStyles &styles, gfx::TFontStyle s, bool on) {
    if (on) {
        styles.Include(s);
    } else {
        styles.Exclude(s);
    }
}

} // namespace

bool TVDRTFReader::PropertyActsHere(uint8_t idx) const {
    switch (FRTFState.rds) {
    case rdsSkip:
    case rdsUpr:
        return false;
    case rdsColorTable:
        return InRange(idx, 78, 80);
    case rdsFontTable:
        return !IsOwnDestinationProperty(idx) || InRange(idx, 81, 82);
    case rdsStyleSheetEntry:
        return !IsOwnDestinationProperty(idx) || InRange(idx, 85, 92);
    case rdsPict:
    case rdsShpPict:
        return InRange(idx, 93, 104);
    case rdsObject:
    case rdsObjData:
        return InRange(idx, 105, 107);
    case rdsListLevelText:
    case rdsPNTextAfter:
    case rdsPNTextBefore:
        return idx == 51 || idx == 67 || idx == 68; // the font and Unicode characters
    case rdsListTable:
    case rdsListName:
    case rdsListLevelNumbers:
    case rdsLOTable:
        return false;
    default:
        return !IsOwnDestinationProperty(idx);
    }
}

TVDRTFErrorCode TVDRTFReader::ApplyProperty(uint8_t idx, int32_t value) {
    switch (FRTFState.rds) {
    case rdsList:
    case rdsListLevel:
    case rdsLO:
    case rdsLOLevel:
        ApplyListProperty(idx, value);
        return rtf_ec_OK;
    case rdsPN:
    case rdsPNSecLvl:
        ApplyPNProperty(idx, value);
        return rtf_ec_OK;
    case rdsPict:
        if (idx == 67 || idx == 68) {
            break; // a \u inside picture data is refused with the data
        }
        ApplyPictureProperty(idx, value);
        return rtf_ec_OK;
    case rdsNorm:
        if (idx == 122) { // \pnseclvl
            return ChangeDestination(33, value);
        }
        break;
    default:
        break;
    }
    if (!PropertyActsHere(idx)) {
        return rtf_ec_OK;
    }
    if (FRTFState.rds == rdsStyleSheetEntry && ApplyStyleEntryProperty(idx, value)) {
        return rtf_ec_OK;
    }
    bool handled = false;
    if (TVDRTFErrorCode ec = ApplySpecialProperty(idx, value, handled); handled) {
        return ec;
    }
    if (idx <= 18) {
        ApplyCharProperty(idx, value);
    } else if (InRange(idx, 56, 61)) {
        ApplyBorderProperty(idx, value);
    } else if (InRange(idx, 25, 45) || idx == 50 || idx == 66 || idx == 142) {
        ApplyDocProperty(idx, value);
    } else if (InRange(idx, 78, 80)) {
        ApplyColorTableProperty(idx, value);
    } else if (InRange(idx, 81, 82)) {
        ApplyFontTableProperty(idx, value);
    } else if (InRange(idx, 147, 172) || InRange(idx, 183, 184) || idx == 190 || idx == 193) {
        ApplyRowProperty(idx, value);
    } else if (InRange(idx, 173, 182) || idx == 185 || idx == 188 || idx == 189 || idx == 191 ||
               idx == 192) {
        ApplyCellProperty(idx, value);
    } else {
        ApplyParaProperty(idx, value);
    }
    return rtf_ec_OK;
}

TVDRTFErrorCode TVDRTFReader::ApplySpecialProperty(uint8_t idx, int32_t value, bool &handled) {
    handled = true;
    TVDRTFCharProperties &cp = FRTFState.FCharProps;
    const bool body = FRTFState.rds == rdsNorm;
    switch (idx) {
    case 49: // \plain
        if (FRTFState.DefFontIndex == -1) {
            FRTFState.DefFontIndex =
                FFontTable.GetFontIndex(FRTFState.DefFontNumber, FRTFState.DefFontNumber);
        }
        cp.Reset(FRTFState.FDefLanguage, FRTFState.DefFontIndex);
        return rtf_ec_OK;
    case 51: // \f
        if (FRTFState.rds == rdsFontTable) {
            CompleteFontName();
            FFontTable.Add(value);
        } else if (body || FRTFState.rds == rdsStyleSheetEntry || FRTFState.rds == rdsBmkStart ||
                   FRTFState.rds == rdsFldInst || FRTFState.rds == rdsListLevelText) {
            cp.FFontIndex = FFontTable.GetFontIndex(value, FRTFState.DefFontNumber);
        }
        return rtf_ec_OK;
    case 52: // \af acts only in list levels
        return rtf_ec_OK;
    case 53:
        if (body) {
            FRTFState.DefFontNumber = value;
        }
        return rtf_ec_OK;
    case 67:
        return UnicodeChar(value);
    case 68:
        cp.FSkipAnsiCount = value;
        return rtf_ec_OK;
    case 69: // \page
        if (body && OnRequiredPageBreak) {
            if (TVDRTFErrorCode ec = FlushPending(true, true); ec != rtf_ec_OK) {
                return ec;
            }
            OnRequiredPageBreak(*this);
        }
        return rtf_ec_OK;
    case 70:
        SetHidden(value != 0);
        return rtf_ec_OK;
    case 84: // \cs
        cp.FStyleSheetIndex = FStyleSheet.GetCharEntry(value);
        return rtf_ec_OK;
    case 140:
        if (FRTFState.FInNote && OnNote) {
            OnNote(*this, rtf_ne_EndNote, FPosition);
        }
        return rtf_ec_OK;
    case 141:
        return NoteCharacter();
    case 143:
        return body ? RowEnd() : rtf_ec_OK;
    case 144:
        return body ? CellEnd() : rtf_ec_OK;
    default:
        handled = false;
        return rtf_ec_OK;
    }
}

void TVDRTFReader::ApplyCharProperty(uint8_t idx, int32_t value) {
    TVDRTFCharProperties &cp = FRTFState.FCharProps;
    switch (idx) {
    case 0:
        SetFontStyle(cp.FStyle, gfx::fsBold, value != 0);
        break;
    case 1:
        SetFontStyle(cp.FStyle, gfx::fsItalic, value != 0);
        break;
    case 2:
        SetFontStyle(cp.FStyle, gfx::fsStrikeOut, value != 0);
        break;
    case 3:
        SetFontStyle(cp.FStyle, gfx::fsUnderline, value != 0);
        cp.FUnderlineType = rtf_vdut_Normal;
        break;
    case 4:
        SetFontStyle(cp.FStyle, gfx::fsUnderline, value != 0);
        if (value > 0 && value <= rtf_vdut_ThickDashDotDotted) {
            cp.FUnderlineType = TVDRTFUnderlineType(value);
        }
        break;
    case 5:
        if (FColorTable.IsValid(value)) {
            cp.FUnderlineColor = FColorTable.Get(value);
        }
        break;
    case 6:
        cp.FBiDiMode = TVDRTFBiDiMode(value);
        break;
    case 7:
        cp.FCharScaleX = value;
        break;
    case 8:
        cp.FCharSpacingTw = value;
        break;
    case 9:
        cp.FSScriptType = TVDRTFSScriptType(value);
        break;
    case 10:
        cp.FVShiftPt = value;
        break;
    case 11:
        cp.FVShiftPt = value == INT32_MIN ? INT32_MAX : -value;
        break;
    case 12:
        cp.FAllCaps = value != 0;
        break;
    case 13:
        cp.FSizeDouble = value;
        break;
    case 14:
        if (FColorTable.IsValid(value)) {
            cp.FColor = FColorTable.Get(value);
        }
        break;
    case 15:
        if (FColorTable.IsValid(value) && cp.FHighlight == -1) {
            cp.FBackColor = FColorTable.Get(value);
            if (cp.FBackColor == gfx::clWindowText) {
                cp.FBackColor = gfx::clNone;
            }
        }
        break;
    case 16:
        ApplyHighlight(value);
        break;
    case 17:
        cp.FLanguage = uint32_t(value);
        break;
    case 18:
        FRTFState.FDefLanguage = uint32_t(value);
        break;
    default:
        break;
    }
}

void TVDRTFReader::ApplyHighlight(int32_t value) {
    TVDRTFCharProperties &cp = FRTFState.FCharProps;
    cp.FHighlight = value;
    if (ConvertHighlight == rtf_hl_FixedColors) {
        cp.FBackColor = FixedHighlightColor(value);
    } else if (ConvertHighlight == rtf_hl_ColorTable) {
        if (FColorTable.IsValid(value)) {
            cp.FBackColor = FColorTable.Get(value);
        }
        if (cp.FBackColor == gfx::clWindowText) {
            cp.FBackColor = gfx::clNone;
        }
    }
}

void TVDRTFReader::SetHidden(bool hidden) {
    TVDRTFCharProperties &cp = FRTFState.FCharProps;
    if (hidden != cp.FHidden && FRTFState.rds != rdsStyleSheetEntry) {
        FForceEvenEmptyNewLine = hidden;
        if (hidden && FText.empty() && FTextW.empty()) {
            cp.FHidden = true;
        }
        if (!FAfterTableRow) {
            FlushPending(false, false);
        }
        FForceEvenEmptyNewLine = false;
    }
    cp.FHidden = hidden;
}

void TVDRTFReader::ApplyParaProperty(uint8_t idx, int32_t value) {
    TVDRTFParaProperties &pp = FRTFState.FParaProps;
    switch (idx) {
    case 19:
        pp.FLineSpacing = value;
        pp.FLineSpacingMulti = false;
        break;
    case 20:
        pp.FLineSpacingMulti = value != 0;
        break;
    case 21:
        pp.FPageBreakBefore = true;
        break;
    case 22:
        pp.FLeftIndentTw = value;
        break;
    case 23:
        pp.FRightIndentTw = value;
        break;
    case 24:
        pp.FFirstIndentTw = value;
        break;
    case 46:
        pp.FAlignment = TVDRTFAlignment(value);
        break;
    case 47:
        pp.FBiDiMode = TVDRTFBiDiMode(value);
        break;
    case 48:
        pp.Reset();
        break;
    case 54:
        pp.FSpaceBeforeTw = value;
        break;
    case 55:
        pp.FSpaceAfterTw = value;
        break;
    case 62:
        if (FColorTable.IsValid(value)) {
            pp.FColor = FColorTable.Get(value);
            if (pp.FColor == gfx::clWindowText) {
                pp.FColor = gfx::clNone;
            }
        }
        break;
    case 63:
        if (FColorTable.IsValid(value)) {
            pp.ForeColor = FColorTable.Get(value);
        }
        break;
    case 64:
        pp.Shading = std::clamp(value, 0, 10000);
        break;
    case 65:
        pp.FOutlineLevel = value == INT32_MAX ? value : value + 1;
        break;
    case 71:
        pp.FKeepLinesTogether = true;
        break;
    case 72:
        pp.FKeepWithNext = true;
        break;
    case 73:
        pp.FWidowOrphanControl = TVDRTFParaWidowOrphanControl(value);
        break;
    case 74:
        pp.OpenTab().FPositionTW = value;
        pp.FTabs.emplace_back();
        pp.FTabsReady = false;
        break;
    case 75:
        pp.OpenTab().FAlign = TVDRTFTabAlign(value);
        break;
    case 76:
        pp.OpenTab().FLeader = TVDRTFTabLeader(value);
        break;
    case 77:
        pp.OpenTab().FIsListTab = true;
        break;
    case 83:
        pp.FStyleSheetIndex = FStyleSheet.GetParaEntry(value);
        break;
    case 137:
        pp.FListOverrideIndex = FListOverrideTable.FindByNumber(value);
        break;
    case 139:
        pp.FListLevel = std::clamp(value, 0, 8);
        break;
    case 145:
        pp.FInTable = true;
        if (pp.FNestingLevel == 0) {
            pp.FNestingLevel = 1;
        }
        break;
    case 146:
        pp.FNestingLevel = std::clamp(value, 0, MaxTableNesting);
        if (value > 0) {
            pp.FInTable = true;
        }
        break;
    case 186:
        pp.NoTableEv = true;
        break;
    default:
        break;
    }
}

TVDRTFBorderSide *TVDRTFReader::CurrentBorderSide() {
    switch (FRTFState.FCurrentBorderType) {
    case rtf_bt_Para: {
        TVDRTFParaProperties &pp = FRTFState.FParaProps;
        return &pp.Border().Sides[pp.FCurBorderSide];
    }
    case rtf_bt_Row: {
        TVDRTFRowProperties &row = FRTFState.RowProps();
        return &row.FBorder.Sides[row.FCurBorderSide];
    }
    case rtf_bt_Cell: {
        TVDRTFCellProperties &cell = FRTFState.RowProps().LastCell();
        return &cell.FBorder.Sides[cell.FCurBorderSide];
    }
    default:
        return nullptr;
    }
}

void TVDRTFReader::ApplyBorderProperty(uint8_t idx, int32_t value) {
    if (idx == 56) {
        FRTFState.FCurrentBorderType = rtf_bt_Char;
        return;
    }
    if (idx == 58) {
        FRTFState.FCurrentBorderType = rtf_bt_Para;
        FRTFState.FParaProps.FCurBorderSide = TVDRTFSide(value);
        return;
    }
    if (idx == 61) {
        TVDRTFParaProperties &pp = FRTFState.FParaProps;
        pp.Border().Sides[pp.FCurBorderSide].FSpaceTw = value;
        return;
    }
    TVDRTFBorderSide *side = CurrentBorderSide();
    if (!side) {
        return;
    }
    if (idx == 57) {
        if (side->FBorderType == rtf_brdr_None) {
            side->FBorderType = TVDRTFBorderType(value);
            if (value != rtf_brdr_None && side->FWidthTw == 0) {
                side->FWidthTw = 10;
            }
        }
    } else if (idx == 59) {
        side->FWidthTw = value;
    } else if (idx == 60 && FColorTable.IsValid(value)) {
        side->FColor = FColorTable.Get(value);
    }
}

void TVDRTFReader::ApplyDocProperty(uint8_t idx, int32_t value) {
    TVDRTFSectionProperties &sp = FRTFState.FSectProps;
    TVDRTFDocProperties &dp = FDocProps;
    switch (idx) {
    case 25:
        sp.FColumnCount = value;
        break;
    case 26:
        sp.FPageNumberXTw = value;
        break;
    case 27:
        sp.FPageNumberYTw = value;
        break;
    case 28:
        sp.FHeaderYTw = value;
        break;
    case 29:
        sp.FFooterYTw = value;
        break;
    case 30:
        FWidowOrphanControl = true;
        break;
    case 31:
        sp.FHasTitlePage = true;
        break;
    case 32:
        dp.FPaperWidthTw = value;
        break;
    case 33:
        dp.FPaperHeightTw = value;
        break;
    case 34:
        dp.FLeftMarginTw = value;
        break;
    case 35:
        dp.FRightMarginTw = value;
        break;
    case 36:
        dp.FTopMarginTw = value;
        break;
    case 37:
        dp.FBottomMarginTw = value;
        break;
    case 38:
        dp.FPageNumberStart = value;
        break;
    case 39:
        sp.FSectionBreakType = TVDRTFSectionBreakType(value);
        break;
    case 40:
        sp.FPageNumberFormat = TVDRTFPageNumberFormat(value);
        break;
    case 41:
        dp.FFacingPages = value != 0;
        break;
    case 42:
        dp.FMirrorMargins = value != 0;
        break;
    case 43:
        dp.FLandscape = value != 0;
        break;
    case 44:
        dp.FViewScale = value;
        break;
    case 45:
        dp.FZoomKind = value >= 0 && value <= rtf_zk_BestFit ? TVDRTFZoomKind(value) : rtf_zk_None;
        break;
    case 50:
        sp.Reset();
        break;
    case 66:
        FCodePage = uint32_t(value);
        break;
    case 142:
        dp.FFootnotePageRestart = value != 0;
        break;
    default:
        break;
    }
}

void TVDRTFReader::ApplyColorTableProperty(uint8_t idx, int32_t value) {
    if (FColorTable.Count() == 0) {
        return;
    }
    TColor &c = FColorTable.Last();
    if (c == gfx::clWindowText) {
        c = 0;
    }
    // Clamped: an unmasked channel would spill into the next one or forge a system colour.
    const TColor channel = TColor(std::clamp(value, 0, 255));
    c |= channel << ((idx - 78) * 8);
}

void TVDRTFReader::ApplyFontTableProperty(uint8_t idx, int32_t value) {
    if (FFontTable.Count() == 0) {
        return;
    }
    if (idx == 81) {
        FFontTable.Last().Family = TVDRTFFontFamily(value);
    } else if (value >= 0) {
        FFontTable.Last().Charset = gfx::TFontCharset(value <= 255 ? value : 77);
    }
}

void TVDRTFReader::CompleteFontName() {
    if (FFontTable.Count() > 0) {
        FFontTable.Last().Name += AnsiToUnicode(FTmpString, GetCurrentCodePage());
    }
    FTmpString.clear();
}

bool TVDRTFReader::ApplyStyleEntryProperty(uint8_t idx, int32_t value) {
    if (FStyleSheet.Count() == 0 || !InRange(idx, 83, 92)) {
        return false;
    }
    TVDRTFStyleSheetEntry &entry = FStyleSheet.Last();
    switch (idx) {
    case 83:
        ChangeDestination(8, value);
        break;
    case 84:
        ChangeDestination(9, value);
        break;
    case 85:
        ChangeDestination(11, value);
        break;
    case 86:
        ChangeDestination(10, value);
        break;
    case 87:
        entry.FBasedOnNumber = value;
        break;
    case 88:
        entry.FLinkNumber = value;
        break;
    case 89:
        entry.FNextNumber = value;
        break;
    case 90:
        entry.FAdditive = true;
        break;
    case 91:
        entry.FHidden = true;
        break;
    case 92:
        entry.FQuickAccess = true;
        break;
    default:
        break;
    }
    return true;
}

void TVDRTFReader::ApplyRowProperty(uint8_t idx, int32_t value) {
    TVDRTFRowProperties &row = FRTFState.RowProps();
    switch (idx) {
    case 147:
        row.FLastRow = true;
        break;
    case 148:
        row.Reset();
        break;
    case 149:
        row.FAlignment = uint8_t(value);
        row.FAlignmentDefined = true;
        break;
    case 150:
        row.FGapHTw = value;
        break;
    case 151:
        row.FLeftTw = value;
        break;
    case 152:
        row.FHeightTw = value == INT32_MIN ? INT32_MAX : std::abs(value);
        break;
    case 153:
        row.FHeading = true;
        break;
    case 172:
        row.FKeepTogether = true;
        break;
    case 170:
        row.FPreferredWidthTw = row.FPercentWidth ? -value : value;
        break;
    case 171:
        if (value == 2) {
            if (!row.FPercentWidth) {
                row.FPreferredWidthTw = -row.FPreferredWidthTw;
            }
            row.FPercentWidth = true;
        } else if (value != 3) {
            row.FPreferredWidthTw = 0;
        }
        break;
    case 183:
        FRTFState.FCurrentBorderType = rtf_bt_Row;
        row.FCurBorderSide = TVDRTFSide(value);
        break;
    case 184:
        FRTFState.FCurrentBorderType = rtf_bt_Other;
        break;
    case 190:
        row.FPreferredWidthTw =
            value < 1 ? value : int32_t(std::min<int64_t>(int64_t(value) * 15, INT32_MAX));
        row.ViziVoduSpecial = true;
        break;
    case 193:
        row.FPreferredWidthTw = value;
        row.ViziVoduSpecial = true;
        break;
    default: {
        // Each group of four keywords names the sides left, right, top, bottom.
        static constexpr TVDRTFSide side[] = {rtf_side_Left, rtf_side_Right, rtf_side_Top,
                                              rtf_side_Bottom};
        if (InRange(idx, 154, 157)) {
            row.FPaddingTw[side[idx - 154]] = value;
        } else if (InRange(idx, 158, 161)) {
            row.FUsePadding[side[idx - 158]] = value == 3;
        } else if (InRange(idx, 162, 165)) {
            row.FSpacingTw[side[idx - 162]] = value;
        } else if (InRange(idx, 166, 169)) {
            row.FUseSpacing[side[idx - 166]] = value == 3;
        }
        break;
    }
    }
}

void TVDRTFReader::ApplyCellProperty(uint8_t idx, int32_t value) {
    TVDRTFRowProperties &row = FRTFState.RowProps();
    if (idx == 182) {
        if (row.FCellProps.size() >= TVDRTFRowProperties::MaxCells) {
            return;
        }
        row.LastCell().FRightBoundaryTw = value;
        row.FCellProps.emplace_back();
        row.AssumedLastCell = true;
        row.NewCellProps = true;
        return;
    }
    TVDRTFCellProperties &cell = row.LastCell();
    switch (idx) {
    case 173:
        if (cell.FVMerge != rtf_cm_First) {
            cell.FVMerge = TVDRTFCellMerge(value);
        }
        break;
    case 174:
        if (cell.FHMerge != rtf_cm_First) {
            cell.FHMerge = TVDRTFCellMerge(value);
        }
        break;
    case 175:
        cell.FTextFlow = TVDRTFCellTextFlow(value);
        break;
    case 176:
        cell.FPreferredWidthTw = cell.FPercentWidth ? -value : value;
        break;
    case 177:
        if (value == 2) {
            if (!cell.FPercentWidth) {
                cell.FPreferredWidthTw = -cell.FPreferredWidthTw;
            }
            cell.FPercentWidth = true;
        } else if (value != 3) {
            cell.FPreferredWidthTw = 0;
        }
        break;
    case 178:
        if (FColorTable.IsValid(value)) {
            cell.FColor = FColorTable.Get(value);
            if (cell.FColor == gfx::clWindowText) {
                cell.FColor = gfx::clNone;
            }
        }
        break;
    case 179:
        if (FColorTable.IsValid(value)) {
            cell.ForeColor = FColorTable.Get(value);
        }
        break;
    case 180:
        cell.Shading = std::clamp(value, 0, 10000);
        break;
    case 181:
        cell.FVAlign = TVDRTFVAlign(value);
        break;
    case 185:
        FRTFState.FCurrentBorderType = rtf_bt_Cell;
        cell.FCurBorderSide = TVDRTFSide(value);
        break;
    case 188:
        cell.FPreferredWidthTw =
            value < 1 ? value : int32_t(std::min<int64_t>(int64_t(value) * 15, INT32_MAX));
        row.ViziVoduSpecial = true;
        break;
    case 189:
        cell.FHeightTw = int32_t(std::clamp<int64_t>(int64_t(value) * 15, INT32_MIN, INT32_MAX));
        row.ViziVoduSpecial = true;
        break;
    case 191:
        cell.FPreferredWidthTw = value;
        row.ViziVoduSpecial = true;
        break;
    case 192:
        cell.FHeightTw = value;
        row.ViziVoduSpecial = true;
        break;
    default:
        break;
    }
}

} // namespace vizivodu
