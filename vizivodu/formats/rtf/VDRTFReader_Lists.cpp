// The RTF parser's list table, list override table and old-style paragraph numbering: their
// destinations, the keywords inside them and the characters of names and level texts.
#include "vizivodu/formats/rtf/VDRTFReader.h"

#include "platform/rtl/Rounding.h"

namespace vizivodu {

namespace {

void SetFontStyle(gfx::TFontStyles &styles, gfx::TFontStyle s, bool on) {
    if (on) {
        styles.Include(s);
    } else {
        styles.Exclude(s);
    }
}

int32_t HalfRounded(int32_t halfPoints) {
    return int32_t(rtl::Round(double(halfPoints) / 2));
}

TVDRTFParaListType LevelNumberFormat(int32_t nfc) {
    switch (nfc) {
    case 1:
        return rtf_pn_UpperRoman;
    case 2:
        return rtf_pn_LowerRoman;
    case 3:
        return rtf_pn_UpperLetter;
    case 4:
        return rtf_pn_LowerLetter;
    case 23:
        return rtf_pn_Bullet;
    default:
        return rtf_pn_Decimal;
    }
}

} // namespace

TVDRTFListLevel97 *TVDRTFReader::LastListLevel() {
    TVDRTFList97 *list = FListTable.Last();
    return list && list->Count() > 0 ? list->Get(list->Count() - 1) : nullptr;
}

TVDRTFMarkerProperties *TVDRTFReader::CurrentSectionMarkerDef() {
    if (FCurPNSecLvl < 1 || FCurPNSecLvl > 11) {
        return nullptr;
    }
    std::vector<TVDRTFMarkerProperties> &defs = FRTFState.FSectProps.FDefMarkerPropsList;
    if (defs.empty()) {
        defs.resize(11);
    }
    return &defs[size_t(FCurPNSecLvl - 1)];
}

TVDRTFErrorCode TVDRTFReader::ChangeListDestination(uint8_t idx, int32_t value) {
    TVDRTFReaderState &st = FRTFState;
    const TRTFrds rds = st.rds;
    auto enterIf = [&st](bool condition, TRTFrds target) {
        st.rds = condition ? target : rdsSkip;
        return rtf_ec_OK;
    };
    switch (idx) {
    case 30:
    case 31:
        return enterIf(rds == rdsPN && FMarkerProps, idx == 30 ? rdsPNTextAfter : rdsPNTextBefore);
    case 32:
        FMarkerProps.emplace();
        st.rds = rdsPN;
        return rtf_ec_OK;
    case 33:
        FCurPNSecLvl = value;
        st.rds = rdsPNSecLvl;
        return rtf_ec_OK;
    case 34:
        FListTable.Clear();
        st.rds = rdsListTable;
        return rtf_ec_OK;
    case 35: {
        const bool ok = rds == rdsListTable && FListTable.Count() < MaxRTFLists;
        if (ok) {
            FListTable.AddNew();
        }
        return enterIf(ok, rdsList);
    }
    case 36:
        if (rds == rdsList) {
            st.rds = rdsListName;
        }
        return rtf_ec_OK;
    case 37: {
        TVDRTFList97 *list = FListTable.Last();
        const bool ok = rds == rdsList && list && list->Count() < TVDRTFList97::MaxLevels;
        if (ok) {
            list->AddNew();
        }
        return enterIf(ok, rdsListLevel);
    }
    case 38:
    case 39:
        return enterIf(rds == rdsListLevel && LastListLevel(),
                       idx == 38 ? rdsListLevelText : rdsListLevelNumbers);
    case 40:
        FListOverrideTable.Clear();
        st.rds = rdsLOTable;
        return rtf_ec_OK;
    case 41: {
        const bool ok = rds == rdsLOTable && FListOverrideTable.Count() < MaxRTFLists;
        if (ok) {
            FListOverrideTable.AddNew();
        }
        return enterIf(ok, rdsLO);
    }
    default: { // 42, \lfolevel
        TVDRTFListOverride97 *lo = FListOverrideTable.Last();
        const bool ok = rds == rdsLO && lo && lo->Count() < TVDRTFList97::MaxLevels;
        if (ok) {
            lo->AddNew();
        }
        return enterIf(ok, rdsLOLevel);
    }
    }
}

void TVDRTFReader::ApplyListProperty(uint8_t idx, int32_t value) {
    switch (FRTFState.rds) {
    case rdsList:
        if (TVDRTFList97 *list = FListTable.Last()) {
            if (idx == 123) {
                list->FId = value;
            } else if (idx == 125) {
                list->FSimple = value != 0;
            }
        }
        return;
    case rdsListLevel:
        if (TVDRTFListLevel97 *level = LastListLevel()) {
            ApplyListLevelProperty(*level, idx, value);
        }
        return;
    case rdsLO:
        if (TVDRTFListOverride97 *lo = FListOverrideTable.Last()) {
            if (idx == 123) {
                lo->FListIndex = FListTable.FindById(value);
            } else if (idx == 136) {
                lo->FOverrideCount = value;
            } else if (idx == 137) {
                lo->FNumber = value;
            }
        }
        return;
    default: { // rdsLOLevel
        TVDRTFListOverride97 *lo = FListOverrideTable.Last();
        TVDRTFListOverrideLevel97 *level = lo ? lo->GetLastLevel() : nullptr;
        if (level && idx == 127) {
            level->FStart = value;
        } else if (level && idx == 138) {
            level->FUseStart = value != 0;
        }
        return;
    }
    }
}

void TVDRTFReader::ApplyListLevelProperty(TVDRTFListLevel97 &level, uint8_t idx, int32_t value) {
    switch (idx) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4: {
        static constexpr gfx::TFontStyle styles[] = {gfx::fsBold, gfx::fsItalic, gfx::fsStrikeOut,
                                                     gfx::fsUnderline, gfx::fsUnderline};
        SetFontStyle(level.FFontStyle, styles[idx], value != 0);
        break;
    }
    case 13:
        level.FFontSize = HalfRounded(value);
        level.FFontSizeDefined = true;
        break;
    case 14:
        if (FColorTable.IsValid(value)) {
            level.FColor = FColorTable.Get(value);
        }
        break;
    case 22:
        level.FLeftIndentTw = value;
        break;
    case 24:
        level.FFirstIndentTw = value;
        break;
    case 51:
        level.FFontIndex = FFontTable.GetFontIndex(value, FRTFState.DefFontNumber);
        break;
    case 52:
        if (level.FFontIndex == -1) {
            level.FFontIndex = FFontTable.GetFontIndex(value, FRTFState.DefFontNumber);
        }
        break;
    case 74:
        level.FTabPosTw = value;
        break;
    case 127:
        level.FStart = value;
        break;
    case 128:
        level.FListType = LevelNumberFormat(value);
        break;
    case 129: {
        static constexpr TVDRTFAlignment jc[] = {rtf_al_Left, rtf_al_Center, rtf_al_Right};
        if (value >= 0 && value <= 2) {
            level.FAlignment = jc[value];
        }
        break;
    }
    case 130:
        level.FOldStyle = value != 0;
        break;
    case 131:
        level.FIndentTw = value;
        break;
    case 132:
        level.FSpaceTw = value;
        break;
    case 133:
        if (value >= rtf_lf_Tab && value <= rtf_lf_None) {
            level.FFollow = TVDRTFLevelFollow97(value);
        }
        break;
    case 134:
        level.FLegal = value != 0;
        break;
    case 135:
        level.FNoRestart = value != 0;
        break;
    default:
        break;
    }
}

void TVDRTFReader::ApplyPNProperty(uint8_t idx, int32_t value) {
    if (idx < 108 || idx > 121) {
        return;
    }
    TVDRTFMarkerProperties *marker = FRTFState.rds == rdsPN
                                         ? (FMarkerProps ? &*FMarkerProps : nullptr)
                                         : CurrentSectionMarkerDef();
    if (marker) {
        ApplyMarkerProperty(*marker, idx, value);
    }
}

void TVDRTFReader::ApplyMarkerProperty(TVDRTFMarkerProperties &marker, uint8_t idx, int32_t value) {
    switch (idx) {
    case 108: {
        // Levels outside 1..11 name no definition and no list level; they are ignored.
        if (value < 1 || value > 11) {
            break;
        }
        const std::vector<TVDRTFMarkerProperties> &defs = FRTFState.FSectProps.FDefMarkerPropsList;
        if (!defs.empty()) {
            const TVDRTFMarkerProperties def = defs[size_t(value - 1)];
            marker.Assign(def, TVDRTFAssignMode::FromDefaults);
        }
        marker.FLevel = value;
        break;
    }
    case 109:
        marker.FHanging = true;
        break;
    case 110:
        marker.FListType = TVDRTFParaListType(value);
        break;
    case 111:
    case 112:
    case 113:
    case 114: {
        static constexpr gfx::TFontStyle styles[] = {gfx::fsBold, gfx::fsItalic, gfx::fsUnderline,
                                                     gfx::fsStrikeOut};
        SetFontStyle(marker.FFontStyle, styles[idx - 111], value != 0);
        break;
    }
    case 115:
        if (FColorTable.IsValid(value)) {
            marker.FColor = FColorTable.Get(value);
            marker.FFixedProperties.Include(rtfmp_Color);
        }
        break;
    case 116:
        marker.FFontIndex = FFontTable.GetFontIndex(value, FRTFState.DefFontNumber);
        marker.FFixedProperties.Include(rtfmp_FontIndex);
        break;
    case 117:
        marker.FFontSize = HalfRounded(value);
        marker.FFixedProperties.Include(rtfmp_Size);
        break;
    case 118:
        marker.FIndentTw = value;
        break;
    case 119:
        marker.FSpaceTw = value;
        break;
    case 120:
        marker.FAlignment = TVDRTFAlignment(value);
        break;
    default: // 121
        marker.FStart = value;
        break;
    }
}

bool TVDRTFReader::ListChar(uint8_t ch) {
    switch (FRTFState.rds) {
    case rdsListName:
        if (TVDRTFList97 *list = FListTable.Last()) {
            list->FName.push_back(char(ch));
        }
        return true;
    case rdsListLevelText:
        if (TVDRTFListLevel97 *level = LastListLevel()) {
            level->FText += AnsiToUnicode(TVDAnsiString(1, char(ch)), GetCurrentCodePage());
        }
        return true;
    case rdsListLevelNumbers:
        if (TVDRTFListLevel97 *level = LastListLevel()) {
            level->FNumbers.push_back(char(ch));
        }
        return true;
    case rdsPNTextAfter:
    case rdsPNTextBefore:
        if (FMarkerProps) {
            (FRTFState.rds == rdsPNTextAfter ? FMarkerProps->FTextAfter : FMarkerProps->FTextBefore)
                .push_back(char(ch));
        }
        return true;
    default:
        return false;
    }
}

bool TVDRTFReader::ListWideChar(char16_t wc) {
    if (FRTFState.rds != rdsListLevelText) {
        return false;
    }
    if (TVDRTFListLevel97 *level = LastListLevel()) {
        level->FText.push_back(wc);
    }
    return true;
}

void TVDRTFReader::EndListDestination(TRTFrds rds) {
    if (rds == rdsListLevelText) {
        if (TVDRTFListLevel97 *level = LastListLevel()) {
            level->CutTexts();
        }
    }
}

void TVDRTFReader::TakePendingMarker() {
    if (FMarkerProps) {
        FRTFState.FParaProps.MarkerProps().Assign(*FMarkerProps, TVDRTFAssignMode::All);
        FMarkerProps.reset();
    }
}

} // namespace vizivodu
