// The WordprocessingML parts that describe a document as a whole: numbering, font table,
// styles, settings and core properties.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/formats/common/VDFuncs_OOXML.h"
#include "vizivodu/formats/ooxml/VDDocXSavingData.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include "platform/rtl/StrUtils.h"

#include <cstdio>
#include <vector>

namespace vizivodu {

namespace {

std::string Num(int64_t value) {
    return std::to_string(value);
}

const char *NumberFormat(TVDListType type) {
    switch (type) {
    case vdlstDecimal:
    case vdlstImageListCounter:
        return "decimal";
    case vdlstLowerAlpha:
        return "lowerLetter";
    case vdlstUpperAlpha:
        return "upperLetter";
    case vdlstLowerRoman:
        return "lowerRoman";
    case vdlstUpperRoman:
        return "upperRoman";
    default:
        return "bullet";
    }
}

// The level string with its placeholders "%N:s" for levels 1 to 9 as "%1" .. "%9".
rtl::UnicodeString NumberedLevelText(const rtl::UnicodeString &format) {
    rtl::UnicodeString out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 3 < format.size() + 0 && format[i + 1] >= u'0' &&
            format[i + 1] <= u'8' && format[i + 2] == u':' && format[i + 3] == u's') {
            out += u'%';
            out += static_cast<char16_t>(format[i + 1] + 1);
            i += 3;
        } else if (format[i] == u'%' && i + 1 < format.size() && format[i + 1] == u'%') {
            out += u'%';
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

AnsiString LevelText(const TVDListLevel &level) {
    switch (level.GetListType()) {
    case vdlstBullet:
        return MakeOOXMLAttrStr(level.GetFormatString());
    case vdlstUnicodeBullet:
        return MakeOOXMLAttrStr(level.GetFormatStringW());
    case vdlstPicture:
    case vdlstImageList:
        return {};
    default:
        return MakeOOXMLAttrStr(NumberedLevelText(level.GetFormatString()));
    }
}

const char *Justification(TVDMarkerAlignment alignment) {
    switch (alignment) {
    case vdmaRight:
        return "right";
    case vdmaCenter:
        return "center";
    default:
        return "left";
    }
}

const char *MultiLevelType(const TVDListLevelCollection &levels) {
    const int32_t count = levels.GetCount();
    if (count == 1) {
        return "singleLevel";
    }
    bool numbered = false;
    bool unnumbered = false;
    for (int32_t i = 0; i < count; ++i) {
        (levels.GetItem(i).HasNumbering() ? numbered : unnumbered) = true;
    }
    return count == 0 || (numbered && unnumbered) ? "hybridMultilevel" : "multilevel";
}

AnsiString LevelFontProperties(TVDListLevel &level, bool allProperties) {
    const gfx::TFont &font = level.GetFont();
    const gfx::TFontStyles style = font.GetStyle();
    AnsiString s;
    const bool arial = rtl::SameText(font.GetName(), u"Arial");
    if (allProperties || !arial) {
        const AnsiString name = MakeOOXMLAttrStr(font.GetName());
        s += "<w:rFonts w:ascii=\"" + name + "\" w:hAnsi=\"" + name + "\"/>";
    }
    const std::pair<const char *, gfx::TFontStyle> flags[] = {
        {"b", gfx::fsBold}, {"i", gfx::fsItalic}, {"strike", gfx::fsStrikeOut}};
    for (const auto &[name, member] : flags) {
        if (allProperties || style.Contains(member)) {
            s += GetOOXMLBoolProp(name, style.Contains(member));
        }
    }
    if (allProperties || font.GetSize() != 10) {
        s += GetOOXMLIntProp("sz", font.GetSize() * 2);
    }
    if (allProperties || font.GetColor() != gfx::clWindowText) {
        s += GetOOXMLColorProp("color", font.GetColor());
    }
    if (allProperties || style.Contains(gfx::fsUnderline)) {
        s += GetOOXMLStrProp("u", style.Contains(gfx::fsUnderline) ? "single" : "none");
    }
    return s;
}

} // namespace

namespace {

void WriteListLevel(rtl::TStream &stream, TCustomVDData &data, const TVDStyle &vdStyle,
                    const TVDListInfo &list, int32_t listNo, int32_t ilvl, TVDListLevel &level) {
    AnsiString s = "<w:lvl w:ilvl=\"" + Num(ilvl) + "\"><w:numFmt w:val=\"" +
                   NumberFormat(level.GetListType()) + "\"/><w:lvlText w:val=\"" +
                   LevelText(level) + "\"/><w:lvlJc w:val=\"" +
                   Justification(level.GetMarkerAlignment()) + "\"/>";
    if (level.HasNumbering()) {
        s += GetOOXMLIntProp("start", level.GetStartFrom());
    }
    if (level.GetOptions().Contains(vdloLegalStyleNumbering)) {
        s += GetOOXMLBoolProp("isLgl", true);
    }
    if (!level.GetOptions().Contains(vdloLevelReset)) {
        s += GetOOXMLIntProp("lvlRestart", 0);
    }
    s += data.GetExtraDocXCode(vd_docxs_ListStyle, &list, ilvl, listNo);
    const int32_t left = vdStyle.GetAsTwips(level.GetLeftIndent());
    const int32_t marker = vdStyle.GetAsTwips(level.GetMarkerIndent());
    const bool hanging = level.GetMarkerIndent() <= level.GetLeftIndent();
    s += "<w:pPr><w:ind w:left=\"" + Num(left) + "\" w:" + (hanging ? "hanging" : "firstLine") +
         "=\"" + Num(hanging ? left - marker : marker - left) +
         "\"/><w:tab w:val=\"num\" w:pos=\"" +
         Num(vdStyle.GetAsTwips(level.GetFirstIndent() + level.GetLeftIndent())) + "\"/></w:pPr>";
    if (level.UsesFont()) {
        s += "<w:rPr>" + LevelFontProperties(level, data.UseStyleTemplates()) + "</w:rPr>";
    }
    OOXMLWrite(stream, s + "</w:lvl>");
}

// The restarting markers that get numbering instances of their own: those the list counts
// were made from (numbered levels), so that the paragraphs' ids and the instances agree.
bool HasOwnInstance(const TVDMarkerItemInfo &marker, int32_t listNo, const TVDStyle &vdStyle) {
    if (marker.ListNo != listNo || marker.Level < 0 || !marker.Reset) {
        return false;
    }
    const TVDListLevel *level = marker.GetLevelInfo(&vdStyle);
    return level && level->HasNumbering() && level->GetListType() != vdlstImageListCounter;
}

} // namespace

namespace {

void WriteAbstractNumberings(rtl::TStream &stream, TCustomVDData &data, const TVDStyle &vdStyle) {
    const TVDListInfos &lists = vdStyle.GetListStyles();
    for (int32_t l = 0; l < lists.GetCount(); ++l) {
        TVDListInfo &list = lists.GetItem(l);
        const TVDListLevelCollection &levels = list.GetLevels();
        OOXMLWrite(stream, "<w:abstractNum w:abstractNumId=\"" + Num(l) +
                               "\"><w:multiLevelType w:val=\"" + MultiLevelType(levels) + "\"/>");
        OOXMLWrite(stream, data.GetExtraDocXCode(vd_docxs_ListStyle, &list, -1, l));
        // A list of two or more levels defines all nine; the last level repeats.
        const int32_t count = levels.GetCount();
        const int32_t written = count < 2 ? count : 9;
        for (int32_t i = 0; i < written; ++i) {
            WriteListLevel(stream, data, vdStyle, list, l, i,
                           levels.GetItem(std::min(i, count - 1)));
        }
        OOXMLWrite(stream, "</w:abstractNum>");
    }
}

// One plain instance per list, each followed by the start overrides of its restarting markers
// in the header and footer documents and then in the document itself.
void WriteNumberingInstances(rtl::TStream &stream, const std::vector<TCustomVDData *> &docs,
                             const TVDStyle &vdStyle, const TVDIntegerList &counts) {
    int32_t numId = 1;
    for (int32_t l = 0; l < vdStyle.GetListStyles().GetCount(); ++l) {
        OOXMLWrite(stream, "<w:num w:numId=\"" + Num(numId++) + "\"><w:abstractNumId w:val=\"" +
                               Num(l) + "\"/></w:num>");
        if (l >= counts.GetCount() || counts.Get(l) <= 1) {
            continue;
        }
        for (TCustomVDData *doc : docs) {
            TVDMarkerList *markers = doc ? doc->GetMarkers(false) : nullptr;
            for (int32_t m = 0; markers && m < markers->Count(); ++m) {
                const TVDMarkerItemInfo &marker = *markers->Get(m);
                if (!HasOwnInstance(marker, l, vdStyle)) {
                    continue;
                }
                OOXMLWrite(stream, "<w:num w:numId=\"" + Num(numId++) +
                                       "\"><w:abstractNumId w:val=\"" + Num(l) +
                                       "\"/><w:lvlOverride w:ilvl=\"" + Num(marker.Level) +
                                       "\"><w:startOverride w:val=\"" + Num(marker.StartFrom) +
                                       "\"/></w:lvlOverride></w:num>");
            }
        }
    }
}

} // namespace

void TCustomVDData::SaveOOXMLListTable(rtl::TStream &stream, TVDDocXSavingData &savingData,
                                       TCustomVDData *const headers[6]) {
    TVDDocXPartScope scope(savingData, vddocxpNumbering);
    const TVDStyle &vdStyle = *GetVDStyle();
    OOXMLWrite(stream, OOXMLDeclaration);
    OOXMLWrite(stream,
               "<w:numbering " +
                   GetOOXMLNamespaceAttrs({"ve", "o", "r", "m", "v", "wp", "w10", "w", "wne"}) +
                   ">");
    WriteAbstractNumberings(stream, *this, vdStyle);
    std::vector<TCustomVDData *> docs(headers, headers + 6);
    docs.push_back(this);
    TVDIntegerList &counts = savingData.ListOverrideOffsetsList1;
    WriteNumberingInstances(stream, docs, vdStyle, counts);
    OOXMLWrite(stream, "</w:numbering>");
    // The counts become the lists' first numbering ids.
    int32_t first = 1;
    for (int32_t l = 0; l < counts.GetCount(); ++l) {
        const int32_t count = counts.Get(l);
        counts.Put(l, first);
        first += count;
    }
    savingData.ListOverrideOffsetsList2.Assign(counts);
}

void TCustomVDData::SaveOOXMLFontTableToStream(rtl::TStream &stream) {
    TVDRTFTables tables;
    TVDIntegerList styleToFont;
    MakeFontTable(tables, styleToFont);
    OOXMLWrite(stream, OOXMLDeclaration);
    OOXMLWrite(stream, "<w:fonts " + GetOOXMLNamespaceAttrs({"r", "w"}) + ">");
    const TVDRTFFontTable &fonts = tables.GetFontTable();
    for (int32_t i = 0; i < fonts.Count(); ++i) {
        char charset[4];
        std::snprintf(charset, sizeof charset, "%02X", static_cast<unsigned>(fonts.Get(i).Charset));
        OOXMLWrite(stream, "<w:font w:name=\"" + MakeOOXMLAttrStr(fonts.Get(i).FontName) +
                               "\"><w:charset w:val=\"" + charset + "\"/></w:font>");
    }
    OOXMLWrite(stream, "</w:fonts>");
}

void TCustomVDData::SaveOOXMLStylesToStream(rtl::TStream &stream) {
    OOXMLWrite(stream, OOXMLDeclaration);
    OOXMLWrite(stream, "<w:styles " + GetOOXMLNamespaceAttrs({"r", "w"}) + ">");
    OOXMLWrite(stream,
               "<w:docDefaults><w:pPrDefault><w:pPr><w:spacing w:after=\"0\" w:before=\"0\" "
               "w:line=\"240\" w:lineRule=\"auto\"/><w:widowControl w:val=\"0\"/></w:pPr>"
               "</w:pPrDefault><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Arial\" "
               "w:hAnsi=\"Arial\"/><w:sz w:val=\"20\"/></w:rPr></w:rPrDefault></w:docDefaults>");
    // Paragraphs carry their formatting directly, so one base style is all a reader needs.
    OOXMLWrite(stream, "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"0\"><w:name "
                       "w:val=\"Normal\"/><w:qFormat/></w:style>");
    OOXMLWrite(stream, "</w:styles>");
}

bool TCustomVDData::SaveOOXMLDocumentSettingsToStream(rtl::TStream &stream) {
    const TVDAnsiString extra = GetExtraDocXCode(vd_docxs_Settings, nullptr, -1, -1);
    OOXMLWrite(stream, OOXMLDeclaration);
    OOXMLWrite(stream,
               "<w:settings " + GetOOXMLNamespaceAttrs({"o", "r", "m", "v", "w10", "w"}) + ">");
    if (GetRTFOptions().Contains(vdrtfSaveDocParameters)) {
        if (const TVDDocParameters *params = GetDocParameters(false)) {
            params->SaveOOXMLDocumentSettings(stream);
        }
    }
    OOXMLWrite(stream, extra);
    OOXMLWrite(stream, "<w:compat><w:compatSetting w:name=\"compatibilityMode\" "
                       "w:uri=\"http://schemas.microsoft.com/office/word\" w:val=\"15\"/>"
                       "</w:compat></w:settings>");
    return true;
}

bool TCustomVDData::SaveOOXMLCorePropertiesToStream(rtl::TStream &stream) {
    const TVDAnsiString extra = GetExtraDocXCode(vd_docxs_CoreProperties, nullptr, -1, -1);
    const TVDDocParameters *params =
        GetRTFOptions().Contains(vdrtfSaveDocParameters) ? GetDocParameters(false) : nullptr;
    if (params && !params->HasOOXMLCoreProperties()) {
        params = nullptr;
    }
    if (!params && extra.empty()) {
        return false;
    }
    OOXMLWrite(stream, OOXMLDeclaration);
    OOXMLWrite(stream, "<cp:coreProperties " + GetOOXMLNamespaceAttrs({"cp", "dc"}) + ">");
    if (params) {
        params->SaveOOXMLCoreProperties(stream);
    }
    OOXMLWrite(stream, extra + "</cp:coreProperties>");
    return true;
}

} // namespace vizivodu
