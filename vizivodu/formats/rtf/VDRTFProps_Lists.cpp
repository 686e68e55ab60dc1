// RTF lists into list styles and list markers: the list table's lists mapped to list styles
// (an equal style reused, else a new one), old-style paragraph numbering matched or added per
// level, the marker placed before a numbered paragraph and completed once its formatting is
// final.
#include "vizivodu/formats/rtf/VDRTFProps.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace vizivodu {

namespace {

TVDListType ListTypeOf(TVDRTFParaListType type) {
    switch (type) {
    case rtf_pn_LowerLetter:
        return vdlstLowerAlpha;
    case rtf_pn_UpperLetter:
        return vdlstUpperAlpha;
    case rtf_pn_LowerRoman:
        return vdlstLowerRoman;
    case rtf_pn_UpperRoman:
        return vdlstUpperRoman;
    case rtf_pn_Bullet:
        return vdlstBullet;
    default:
        return vdlstDecimal;
    }
}

// A literal "%" in a number's text would be read as a placeholder: it is doubled.
rtl::UnicodeString EscapePercent(const rtl::UnicodeString &s) {
    rtl::UnicodeString result;
    for (char16_t c : s) {
        result.push_back(c);
        if (c == u'%') {
            result.push_back(u'%');
        }
    }
    return result;
}

bool IsAscii(const rtl::UnicodeString &s) {
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x80; });
}

} // namespace

// What a list style's level must hold to stand for an RTF list level (or for old-style
// numbering): the values a new level gets, and the second accepted form of the format.
struct TRTFExpectedLevel {
    TVDListType Type = vdlstDecimal;
    rtl::UnicodeString Format, AltFormat, FormatW;
    TVDMarkerAlignment Alignment = vdmaLeft;
    TVDStyleLength Left = 0, Marker = 0, First = 0;
    int32_t Start = 1;
    bool NoRestart = false, Legal = false;
    rtl::UnicodeString FontName;
    gfx::TFontCharset Charset = 1;
    gfx::TFontStyles FontStyle;
    TColor FontColor = gfx::clWindowText;
    int32_t FontSize = 8;
    bool HasFontName = false;

    void AssignTo(TVDListLevel &level) const;
    bool FontMatches(TVDListLevel &level) const;
    bool FormatMatches(const TVDListLevel &level) const;
};

void TRTFExpectedLevel::AssignTo(TVDListLevel &level) const {
    level.SetListType(Type);
    level.SetFormatString(Format);
    level.SetFormatStringW(FormatW);
    level.SetMarkerAlignment(Alignment);
    TVDMarkerFont &font = level.GetFont();
    if (HasFontName) {
        font.SetName(FontName);
        font.SetCharset(Charset);
    }
    font.SetStyle(FontStyle);
    font.SetColor(FontColor);
    font.SetSize(FontSize);
    level.SetLeftIndent(Left);
    level.SetMarkerIndent(Marker);
    level.SetFirstIndent(First);
    level.SetStartFrom(Start);
    TVDListLevelOptions options = level.GetOptions();
    options.Set(vdloLevelReset, !NoRestart);
    options.Set(vdloLegalStyleNumbering, Legal);
    level.SetOptions(options);
}

bool TRTFExpectedLevel::FontMatches(TVDListLevel &level) const {
    TVDMarkerFont &font = level.GetFont();
    return font.GetStyle() == FontStyle && font.GetColor() == FontColor &&
           font.GetSize() == FontSize && (!HasFontName || rtl::SameText(font.GetName(), FontName));
}

bool TRTFExpectedLevel::FormatMatches(const TVDListLevel &level) const {
    if (Type == vdlstUnicodeBullet) {
        return level.GetFormatStringW() == FormatW;
    }
    return level.GetFormatString() == Format || level.GetFormatString() == AltFormat;
}

void TVDRTFReaderProperties::SetExpectedFont(TRTFExpectedLevel &e, int32_t fontIndex) const {
    const TVDRTFFontList &fonts = FReader->FontTable();
    const int32_t index = fontIndex < 0 ? 0 : fontIndex;
    if (index < fonts.Count()) {
        e.HasFontName = true;
        e.FontName = fonts[index].Name;
        e.Charset = fonts[index].Charset;
    }
}

TRTFExpectedLevel TVDRTFReaderProperties::ExpectedWord97Level(const TVDRTFListLevel97 &src) const {
    TRTFExpectedLevel e;
    e.Type = ListTypeOf(src.FListType);
    const rtl::UnicodeString text = src.FText.size() > 1 ? src.FText.substr(1) : u"";
    rtl::UnicodeString format, alt;
    for (char16_t c : text) {
        if (c <= 9) {
            format += c == 0 ? u"%s" : u"%" + rtl::IntToStr(c) + u":s";
            alt += u"%" + rtl::IntToStr(c) + u":s";
        } else {
            format += EscapePercent(rtl::UnicodeString(1, c));
            alt += EscapePercent(rtl::UnicodeString(1, c));
        }
    }
    e.Format = format;
    e.AltFormat = alt;
    SetExpectedFont(e, src.FFontIndex);
    if (e.Type == vdlstBullet && !IsAscii(text)) {
        const TVDRTFFontList &fonts = FReader->FontTable();
        const char16_t c = text.size() == 1 ? text[0] : 0;
        if ((c >= 0xF0A1 && c <= 0xF0FE && fonts.IsSymbolFont(src.FFontIndex)) ||
            (c >= 0xF021 && c <= 0xF0FF && fonts.IsNamed(src.FFontIndex, u"Wingdings"))) {
            e.Format = e.AltFormat = rtl::UnicodeString(1, char16_t(c - 0xF000));
        } else {
            e.Type = vdlstUnicodeBullet;
            e.FormatW = text;
            e.Format = e.AltFormat = u"";
        }
    }
    e.Alignment = TVDMarkerAlignment(src.FAlignment == rtf_al_Right    ? vdmaRight
                                     : src.FAlignment == rtf_al_Center ? vdmaCenter
                                                                       : vdmaLeft);
    e.FontStyle = src.FFontStyle;
    e.FontColor = src.FColor;
    e.FontSize = src.FFontSize;
    e.Left = FVDStyle->TwipsToUnits(src.FLeftIndentTw);
    e.Marker = FVDStyle->TwipsToUnits(src.FFirstIndentTw) + e.Left;
    e.First = src.FTabPosTw == -1000 ? 0 : FVDStyle->TwipsToUnits(src.FTabPosTw) - e.Left;
    e.Start = src.FStart;
    e.NoRestart = src.FNoRestart;
    e.Legal = src.FLegal;
    return e;
}

bool TVDRTFReaderProperties::ListMatches(TVDListInfo &style, TVDRTFList97 &list) const {
    TVDListLevelCollection &levels = style.GetLevels();
    if (levels.GetCount() < list.Count()) {
        return false;
    }
    for (int32_t i = 0; i < list.Count(); ++i) {
        const TRTFExpectedLevel e = ExpectedWord97Level(*list.Get(i));
        TVDListLevel &level = levels.GetItem(i);
        const TVDListLevelOptions options = level.GetOptions();
        if (level.GetListType() != e.Type || level.GetStartFrom() != e.Start ||
            level.GetMarkerAlignment() != e.Alignment || level.GetLeftIndent() != e.Left ||
            level.GetMarkerIndent() != e.Marker || level.GetFirstIndent() != e.First ||
            options.Contains(vdloLevelReset) == e.NoRestart ||
            options.Contains(vdloLegalStyleNumbering) != e.Legal || !e.FontMatches(level) ||
            !e.FormatMatches(level)) {
            return false;
        }
    }
    return true;
}

TVDRTFReaderProperties::TRTFListMap &TVDRTFReaderProperties::CurrentListMap() {
    return FListTableMaps[size_t(FHFType)];
}

void TVDRTFReaderProperties::MapWord97Lists() {
    TRTFListMap &map = CurrentListMap();
    map.Made = true;
    TVDListInfos &styles = FVDStyle->GetListStyles();
    map.CountBefore = styles.GetCount();
    TVDRTFListTable97 &lists = FReader->ListTable();
    std::vector<bool> taken(size_t(styles.GetCount()), false);
    for (int32_t i = 0; i < lists.Count(); ++i) {
        TVDRTFList97 &list = lists.Get(i);
        int32_t found = -1;
        for (int32_t s = 0; s < int32_t(taken.size()) && found < 0; ++s) {
            if (!taken[size_t(s)] && ListMatches(styles.GetItem(s), list)) {
                found = s;
            }
        }
        if (found >= 0) {
            taken[size_t(found)] = true;
        } else {
            TVDListInfo &style = styles.Add();
            style.SetStandard(false);
            for (int32_t l = 0; l < list.Count(); ++l) {
                ExpectedWord97Level(*list.Get(l)).AssignTo(style.GetLevels().Add());
            }
            found = styles.GetCount() - 1;
            FCurrentVDData->AfterAddStyle(style);
        }
        map.Map.push_back(found);
    }
}

bool TVDRTFReaderProperties::InsertListMarker(int32_t paraNo) {
    if (ParaStyleMode != vdrsAddIfNeeded) {
        return false;
    }
    const TVDRTFParaProperties &pp = FReader->ParaProps();
    if (!pp.HasMarker()) {
        FLevelToListNo.clear();
    }
    if (pp.FListOverrideIndex >= 0) {
        if (!CurrentListMap().Made) {
            MapWord97Lists();
        }
        InsertWord97ListMarker(paraNo);
        return true;
    }
    if (!pp.HasMarker() || pp.FMarkerProps->FLevel <= 0 || pp.FMarkerProps->FLevel > 11) {
        return false;
    }
    if (FLevelToListNo.empty()) {
        FLevelToListNo.assign(11, -1);
    }
    const TVDRTFMarkerProperties &mp = *pp.FMarkerProps;
    const bool noted = FLevelToListNo[size_t(mp.FLevel - 1)] >= 0;
    // The paragraph keeps its own first indent: the list's level is chosen to fit it.
    FLastMarkerFirstIndent = FVDStyle->TwipsToUnits(pp.FFirstIndentTw);
    auto marker = std::make_unique<TVDMarkerItemInfo>(FCurrentVDData, -1, -1, mp.FStart, !noted);
    PlaceMarker(std::move(marker), paraNo, false);
    return true;
}

void TVDRTFReaderProperties::InsertWord97ListMarker(int32_t paraNo) {
    const TVDRTFParaProperties &pp = FReader->ParaProps();
    const int32_t level = pp.FListLevel;
    int32_t start = 1;
    bool reset = false;
    int32_t listNo = -1;
    TVDRTFListOverrideTable97 &overrides = FReader->ListOverrideTable();
    if (pp.FListOverrideIndex < overrides.Count()) {
        TVDRTFListOverride97 &lo = overrides.Get(pp.FListOverrideIndex);
        if (level < lo.Count() && !lo.Get(level).Used) {
            // Only the first paragraph that meets an overridden level restarts it.
            TVDRTFListOverrideLevel97 &ol = lo.Get(level);
            start = ol.FStart;
            reset = ol.FUseStart;
            ol.Used = true;
        }
        const std::vector<int32_t> &map = CurrentListMap().Map;
        if (lo.FListIndex >= 0 && lo.FListIndex < int32_t(map.size())) {
            listNo = map[size_t(lo.FListIndex)];
        }
    }
    const TVDListLevel *info = GetListLevelInfo(FVDStyle, listNo, level);
    const bool exact =
        listNo >= 0 && level < FVDStyle->GetListStyles().GetItem(listNo).GetLevels().GetCount();
    FLastMarkerFirstIndent = info && exact ? info->GetFirstIndent() : 0;
    PlaceMarker(std::make_unique<TVDMarkerItemInfo>(FCurrentVDData, listNo, level, start, reset),
                paraNo, true);
}

void TVDRTFReaderProperties::PlaceMarker(std::unique_ptr<TVDMarkerItemInfo> marker, int32_t paraNo,
                                         bool word97) {
    marker->ParaNo = paraNo;
    marker->BeforeLoading(vdlfRTF);
    InsertRTFItem({}, std::move(marker), rtf_ts_NewPara);
    FIsLastMarkerWord97 = word97;
}

rtl::UnicodeString TVDRTFReaderProperties::MarkerText(const TVDAnsiString &text,
                                                      int32_t fontIndex) const {
    const TVDRTFFontList &fonts = FReader->FontTable();
    if (fonts.IsSymbolFont(fontIndex) ||
        (fontIndex >= 0 && fontIndex < fonts.Count() && fonts[fontIndex].Charset == 2)) {
        // A symbol font's bytes are its character codes.
        rtl::UnicodeString result;
        for (char c : text) {
            result.push_back(char16_t(uint8_t(c)));
        }
        return result;
    }
    return FReader->AnsiToUnicode(text, FReader->GetCurrentCodePage());
}

TRTFExpectedLevel TVDRTFReaderProperties::ExpectedLegacyLevel(const TVDRTFMarkerProperties &mp) {
    const TVDRTFParaProperties &pp = FReader->ParaProps();
    TRTFExpectedLevel e;
    const rtl::UnicodeString before = EscapePercent(MarkerText(mp.FTextBefore, mp.FFontIndex));
    const rtl::UnicodeString after = EscapePercent(MarkerText(mp.FTextAfter, mp.FFontIndex));
    // Levels 1 to 9 of the bullet kind are bullets too: their number has no form.
    if (mp.FLevel == 11 || (mp.FLevel == 10 && mp.FListType == rtf_pn_Default) ||
        mp.FListType == rtf_pn_Bullet) {
        e.Type = vdlstBullet;
        e.Format = e.AltFormat = before;
    } else {
        e.Type = ListTypeOf(mp.FListType);
        e.Format = before + u"%s" + after;
        e.AltFormat = before + u"%0:s" + after;
    }
    const TVDStyleLength left = FVDStyle->TwipsToUnits(pp.FLeftIndentTw);
    const TVDStyleLength first = FVDStyle->TwipsToUnits(pp.FFirstIndentTw);
    const TVDStyleLength indent = FVDStyle->TwipsToUnits(mp.FIndentTw);
    const TVDStyleLength space = FVDStyle->TwipsToUnits(mp.FSpaceTw);
    const TVDRTFAlignment align = mp.FLevel == 11 ? rtf_al_Left : mp.FAlignment;
    e.Alignment =
        align == rtf_al_Right ? vdmaRight : (align == rtf_al_Center ? vdmaCenter : vdmaLeft);
    e.Left = left;
    e.First = mp.FHanging ? std::max(space, first + indent)
                          : std::max(0, std::max(indent, space) + first);
    e.Marker = left + first;
    if (e.Alignment == vdmaRight) {
        e.Marker = e.First + e.Left;
    } else if (e.Alignment == vdmaCenter) {
        e.Marker = (left + first + e.First + e.Left) / 2;
    }
    SetExpectedFont(e, mp.FFontIndex);
    e.FontStyle = mp.FFontStyle;
    e.FontColor = mp.FColor;
    e.FontSize = mp.FFontSize;
    e.Start = 1;
    return e;
}

int32_t TVDRTFReaderProperties::GetListForLegacyMarker(const TVDRTFMarkerProperties &mp) {
    const int32_t fonts = FReader->FontTable().Count();
    if (ParaStyleMode != vdrsAddIfNeeded || mp.FFontIndex < 0 || mp.FFontIndex >= fonts ||
        mp.FLevel <= 0 || mp.FLevel > 11) {
        return -1;
    }
    if (FLevelToListNo.empty()) {
        FLevelToListNo.assign(11, -1);
    }
    int32_t &noted = FLevelToListNo[size_t(mp.FLevel - 1)];
    TVDListInfos &styles = FVDStyle->GetListStyles();
    if (mp.FLevel <= 10 && noted >= 0 && noted < styles.GetCount()) {
        return noted;
    }
    const TRTFExpectedLevel e = ExpectedLegacyLevel(mp);
    for (int32_t i = 0; i < styles.GetCount(); ++i) {
        TVDListLevelCollection &levels = styles.GetItem(i).GetLevels();
        if (levels.GetCount() == 0) {
            continue;
        }
        TVDListLevel &level = levels.GetItem(0);
        if (level.GetListType() == e.Type && level.GetMarkerAlignment() == e.Alignment &&
            level.GetLeftIndent() == e.Left && level.GetFirstIndent() == e.First &&
            level.GetMarkerIndent() == e.Marker && e.FontMatches(level) && e.FormatMatches(level)) {
            noted = i;
            return i;
        }
    }
    TVDListInfo &style = styles.Add();
    style.SetStandard(false);
    TRTFExpectedLevel added = e;
    added.Start = 1;
    added.AssignTo(style.GetLevels().Add());
    noted = styles.GetCount() - 1;
    FCurrentVDData->AfterAddStyle(style);
    return noted;
}

TVDMarkerItemInfo *TVDRTFReaderProperties::PendingMarker() const {
    if (FLastMarkerIndex < 0 || !FCurrentVDData ||
        FLastMarkerIndex >= FCurrentVDData->ItemCount()) {
        return nullptr;
    }
    return dynamic_cast<TVDMarkerItemInfo *>(FCurrentVDData->GetItem(FLastMarkerIndex));
}

void TVDRTFReaderProperties::ReaderUpdateMarker() {
    if (ParaStyleMode != vdrsAddIfNeeded || FLastMarkerIndex < 0) {
        return;
    }
    TVDMarkerItemInfo *marker = PendingMarker();
    if (marker && FIsLastMarkerWord97) {
        UpdateWord97Marker(*marker);
    } else if (marker && FReader->ParaProps().HasMarker()) {
        const int32_t list = GetListForLegacyMarker(*FReader->ParaProps().FMarkerProps);
        if (list >= 0) {
            marker->ListNo = list;
            marker->Level = 0;
            FCurrentVDData->RecalcMarker(FLastMarkerIndex, true);
        }
    }
    if (marker) {
        UpdateParagraphStyle(*marker);
    }
    FLastMarkerIndex = -1;
}

void TVDRTFReaderProperties::UpdateWord97Marker(TVDMarkerItemInfo &marker) {
    TVDRTFParaProperties &pp = FReader->ParaProps();
    pp.Finalize();
    TVDRTFListOverrideTable97 &overrides = FReader->ListOverrideTable();
    TVDRTFListTable97 &lists = FReader->ListTable();
    if (pp.FListOverrideIndex < 0 || pp.FListOverrideIndex >= overrides.Count()) {
        return;
    }
    const int32_t listIndex = overrides.Get(pp.FListOverrideIndex).FListIndex;
    if (listIndex < 0 || listIndex >= lists.Count()) {
        return;
    }
    TVDRTFList97 &list = lists.Get(listIndex);
    TVDRTFListLevel97 *rtfLevel = list.Get(pp.FListLevel);
    TVDListInfos &styles = FVDStyle->GetListStyles();
    if (!rtfLevel || marker.ListNo < 0 || marker.ListNo >= styles.GetCount()) {
        return;
    }
    TVDListInfo &style = styles.GetItem(marker.ListNo);
    const bool ours = marker.ListNo >= CurrentListMap().CountBefore;
    if (!rtfLevel->FIndentsUpdated) {
        AddMissingLevels(style, list);
        if (ours && marker.Level < style.GetLevels().GetCount()) {
            ReindentLevel(style.GetLevels().GetItem(marker.Level), pp);
        }
        rtfLevel->FIndentsUpdated = true;
    }
    if (!rtfLevel->FFontSizeDefined) {
        AddMissingLevels(style, list);
        const TVDRTFCharProperties &cp = FReader->CharProps();
        if (ours && marker.Level < style.GetLevels().GetCount()) {
            TVDMarkerFont &font = style.GetLevels().GetItem(marker.Level).GetFont();
            font.SetSize(cp.FSizeDouble / 2);
            gfx::TFontStyles style = font.GetStyle();
            for (gfx::TFontStyle s :
                 {gfx::fsBold, gfx::fsItalic, gfx::fsUnderline, gfx::fsStrikeOut}) {
                if (cp.FStyle.Contains(s)) {
                    style.Include(s);
                }
            }
            font.SetStyle(style);
            font.SetColor(cp.FColor);
        }
        rtfLevel->FFontSize = cp.FSizeDouble / 2;
        rtfLevel->FFontSizeDefined = true;
    }
}

void TVDRTFReaderProperties::AddMissingLevels(TVDListInfo &style, TVDRTFList97 &list) {
    TVDListLevelCollection &levels = style.GetLevels();
    for (int32_t i = levels.GetCount(); i < list.Count(); ++i) {
        ExpectedWord97Level(*list.Get(i)).AssignTo(levels.Add());
    }
}

// The paragraph's own indents place the number: a list made by this read follows them.
void TVDRTFReaderProperties::ReindentLevel(TVDListLevel &level, TVDRTFParaProperties &pp) {
    const int32_t ind = pp.FBiDiMode == rtf_bidi_RTL ? pp.FRightIndentTw : pp.FLeftIndentTw;
    const TVDStyleLength oldLeft = level.GetLeftIndent();
    const TVDStyleLength oldFirst = level.GetFirstIndent();
    const TVDStyleLength oldMarker = level.GetMarkerIndent();
    level.SetMarkerIndent(FVDStyle->TwipsToUnits(ind + pp.FFirstIndentTw));
    level.SetLeftIndent(FVDStyle->TwipsToUnits(ind));
    if (pp.FFirstIndentTw < 0 && pp.FMarkerTabTw == -1000) {
        pp.FMarkerTabTw = ind;
    }
    const TVDStyleLength tabPos = pp.FMarkerTabTw != -1000
                                      ? FVDStyle->TwipsToUnits(pp.FMarkerTabTw)
                                      : oldLeft + oldFirst + level.GetMarkerIndent() - oldMarker;
    FLastMarkerFirstIndent = tabPos - level.GetLeftIndent();
    level.SetFirstIndent(FLastMarkerFirstIndent);
}

void TVDRTFReaderProperties::UpdateParagraphStyle(TVDMarkerItemInfo &marker) {
    const int32_t paraNo = FindOrAddParaStyle();
    if (paraNo == marker.ParaNo) {
        return;
    }
    marker.ParaNo = paraNo;
    TCustomVDData &doc = *FCurrentVDData;
    for (int32_t i = FLastMarkerIndex + 1; i < doc.ItemCount() && !doc.IsParaStart(i); ++i) {
        doc.GetItem(i)->ParaNo = paraNo;
    }
}

} // namespace vizivodu
