// The frame of an RTF document: header, font and colour tables, the simple style sheet, the
// list table with its overrides, headers and footers; the tables of a save.
#include "vizivodu/formats/rtf/VDRTFWriter_p.h"

#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include "platform/gfx/Colors.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Format.h"

#include <random>

namespace vizivodu {

namespace {

std::string Num(int64_t value) {
    return std::to_string(value);
}

// The list numbers of every list style (nine levels unless the list has exactly one).
int32_t RTFLevelCount(const TVDListInfo &list) {
    return list.GetLevels().GetCount() == 1 ? 1 : 9;
}

int32_t LevelNumberFormat(TVDListType type) {
    switch (type) {
    case vdlstDecimal:
    case vdlstImageListCounter:
        return 0;
    case vdlstUpperRoman:
        return 1;
    case vdlstLowerRoman:
        return 2;
    case vdlstUpperAlpha:
        return 3;
    case vdlstLowerAlpha:
        return 4;
    case vdlstBullet:
    case vdlstPicture:
    case vdlstImageList:
    case vdlstUnicodeBullet:
        return 23;
    }
    return 255;
}

std::string Hex2(size_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    return {'\\', '\'', kDigits[(value >> 4) & 15], kDigits[value & 15]};
}

// "\leveltext" and "\levelnumbers" of a numbered level: the placeholders %0:s .. %8:s become
// "\'00" .. "\'08" in the text; their positions in the plain text are the numbers.
void NumberedLevelText(const rtl::UnicodeString &format, TVDCodePage cp, bool fallback,
                       AnsiString &text, AnsiString &numbers) {
    AnsiString body;
    size_t plainLength = 0;
    rtl::UnicodeString literal;
    auto flush = [&] {
        body += UnicodeToRTF(literal, cp, fallback);
        plainLength += literal.size();
        literal.clear();
    };
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 3 < format.size() + 0 && format[i + 1] >= u'0' &&
            format[i + 1] <= u'8' && format[i + 2] == u':' && format[i + 3] == u's') {
            flush();
            body += Hex2(size_t(format[i + 1] - u'0'));
            ++plainLength;
            numbers += Hex2(plainLength);
            i += 3;
        } else {
            literal += format[i];
        }
    }
    flush();
    text = Hex2(plainLength) + body;
}

} // namespace

AnsiString RTFMarkerFontWords(const gfx::TFont &font, const TVDStyle &vdStyle,
                              const TCustomVDRTFTables &rtfTables) {
    AnsiString s;
    const int32_t fontIndex = rtfTables.GetFontIndex(font.GetName(), font.GetCharset());
    if (fontIndex >= 0) {
        s += "\\f" + Num(fontIndex);
    }
    if (font.GetStyle().Contains(gfx::fsBold)) {
        s += "\\b";
    }
    if (font.GetStyle().Contains(gfx::fsItalic)) {
        s += "\\i";
    }
    if (font.GetStyle().Contains(gfx::fsUnderline)) {
        s += "\\ul";
    }
    if (font.GetStyle().Contains(gfx::fsStrikeOut)) {
        s += "\\strike";
    }
    s += "\\fs" + Num(font.GetSize() * 2);
    const TFontInfos &texts = vdStyle.GetTextStyles();
    const uint8_t charset0 = texts.GetCount() > 0 ? texts.GetItem(0).GetCharset() : 1;
    if (font.GetCharset() != 1 && font.GetCharset() != charset0 &&
        CharsetToLanguage(font.GetCharset()) != 0) {
        s += "\\lang" + Num(CharsetToLanguage(font.GetCharset()));
    }
    if (font.GetColor() != gfx::clWindowText) {
        s += "\\cf" + Num(rtfTables.GetColorIndex(font.GetColor()));
    }
    return s;
}

void TVDRTFDocWriter::WriteFontTable() {
    const auto &tables = static_cast<const TVDRTFTables &>(*FSaving.RTFTables);
    const TVDRTFFontTable &fonts = tables.GetFontTable();
    RTFWrite(FStream, "{\\fonttbl");
    for (int32_t i = 0; i < fonts.Count(); ++i) {
        const TVDRTFFontTableItem &font = fonts.Get(i);
        AnsiString s = "{\\f" + Num(i) + "\\fnil";
        if (font.Charset != 1) {
            s += "\\fcharset" + Num(font.Charset);
        }
        s += " " + UnicodeToRTF(font.FontName, FStyle.GetDefCodePage(), FDuplicateUnicode) + ";}";
        RTFWrite(FStream, s);
    }
    RTFWrite(FStream, "}");
}

void TVDRTFDocWriter::WriteColorTable() {
    const auto &tables = static_cast<const TVDRTFTables &>(*FSaving.RTFTables);
    const TVDColorList &colors = tables.GetColorList();
    AnsiString s = "{\\colortbl;";
    for (int32_t i = 1; i < colors.GetCount(); ++i) {
        const uint32_t rgb = gfx::ColorToRGB(static_cast<gfx::TColor>(colors.Get(i)));
        s += "\\red" + Num(rgb & 0xFF) + "\\green" + Num((rgb >> 8) & 0xFF) + "\\blue" +
             Num((rgb >> 16) & 0xFF) + ";";
    }
    RTFWrite(FStream, s + "}");
}

void TVDRTFDocWriter::WriteStyleSheet() {
    const TParaInfos &paras = FStyle.GetParaStyles();
    const TFontInfos &texts = FStyle.GetTextStyles();
    const TVDCodePage cp = FStyle.GetDefCodePage();
    RTFWrite(FStream, "{\\stylesheet");
    for (int32_t i = 0; i < paras.GetCount(); ++i) {
        if (paras.GetItem(i).GetStandard()) {
            RTFWrite(FStream, "{\\s" + Num(i));
            WriteParaFormatting(i, nullptr, true);
            RTFWrite(FStream,
                     UnicodeToRTF(paras.GetItem(i).GetStyleName(), cp, FDuplicateUnicode) + ";}");
        }
    }
    for (int32_t i = 0; i < texts.GetCount(); ++i) {
        if (texts.GetItem(i).GetStandard()) {
            RTFWrite(FStream, "{\\*\\cs" + Num(i + paras.GetCount()));
            WriteCharFormatting(i, true);
            RTFWrite(FStream,
                     UnicodeToRTF(texts.GetItem(i).GetStyleName(), cp, FDuplicateUnicode) + ";}");
        }
    }
    RTFWrite(FStream, "}");
}

void TVDRTFDocWriter::WriteListLevel(int32_t listNo, TVDListLevel &level) {
    const int32_t nfc = LevelNumberFormat(level.GetListType());
    static constexpr int32_t kJc[] = {0, 2, 1};
    AnsiString s =
        "{\\listlevel\\levelnfc" + Num(nfc) + "\\leveljc" + Num(kJc[level.GetMarkerAlignment()]) +
        "\\li" + Num(FStyle.GetAsTwips(level.GetLeftIndent())) + "\\fi" +
        Num(FStyle.GetAsTwips(level.GetMarkerIndent() - level.GetLeftIndent())) +
        "\\jclisttab\\tx" + Num(FStyle.GetAsTwips(level.GetFirstIndent() + level.GetLeftIndent()));
    if (nfc != 23) {
        s += "\\levelstartat" + Num(level.GetStartFrom());
    }
    if (level.GetOptions().Contains(vdloLegalStyleNumbering)) {
        s += "\\levellegal1";
    }
    if (!level.GetOptions().Contains(vdloLevelReset)) {
        s += "\\levelnorestart1";
    }
    AnsiString text;
    AnsiString numbers;
    const TVDCodePage cp = FStyle.GetDefCodePage();
    switch (level.GetListType()) {
    case vdlstBullet:
    case vdlstUnicodeBullet: {
        const rtl::UnicodeString &format =
            level.GetListType() == vdlstBullet ? level.GetFormatString() : level.GetFormatStringW();
        text = Hex2(format.size()) + UnicodeToRTF(format, cp, FDuplicateUnicode);
        break;
    }
    case vdlstPicture:
    case vdlstImageList:
        text = "\\'00";
        break;
    default:
        NumberedLevelText(level.GetFormatString(), cp, FDuplicateUnicode, text, numbers);
        break;
    }
    s += "{\\leveltext" + text + ";}{\\levelnumbers" + numbers + ";}";
    if (level.UsesFont()) {
        s += RTFMarkerFontWords(level.GetFont(), FStyle, *FSaving.RTFTables);
    }
    RTFWrite(FStream, s);
    WriteExtra(vd_rtfs_ListStyle, &level, listNo, level.GetIndex(), false);
    RTFWriteLine(FStream, "}");
}

void TVDRTFDocWriter::WriteListTable(TCustomVDData *const headers[6]) {
    const TVDListInfos &lists = FStyle.GetListStyles();
    if (lists.GetCount() == 0) {
        RTFWriteLine(FStream, "");
        return;
    }
    // A fixed seed: the same document writes the same bytes.
    std::minstd_rand random(20061);
    std::vector<int32_t> templateIds;
    std::vector<int32_t> listIds;
    auto draw = [&](const std::vector<int32_t> &avoid) {
        for (;;) {
            const auto id = static_cast<int32_t>(random() % 2147483647u);
            if (std::find(avoid.begin(), avoid.end(), id) == avoid.end()) {
                return id;
            }
        }
    };
    RTFWrite(FStream, "{\\*\\listtable");
    for (int32_t i = 0; i < lists.GetCount(); ++i) {
        TVDListInfo &list = lists.GetItem(i);
        templateIds.push_back(draw(listIds));
        AnsiString s = "{\\list\\listtemplateid" + Num(templateIds.back());
        if (list.GetLevels().GetCount() == 1) {
            s += "\\listsimple1";
        }
        RTFWrite(FStream, s);
        WriteExtra(vd_rtfs_ListStyle, &list, i, -1, false);
        RTFWriteLine(FStream, "");
        const int32_t count = list.GetLevels().GetCount();
        for (int32_t k = 0; count > 0 && k < RTFLevelCount(list); ++k) {
            WriteListLevel(i, list.GetLevels().GetItem(std::min(k, count - 1)));
        }
        listIds.push_back(draw(templateIds));
        RTFWriteLine(FStream, "\\listid" + Num(listIds.back()) + "}");
    }
    RTFWriteLine(FStream, "}");
    RTFWriteLine(FStream, "{\\*\\listoverridetable");
    WriteListOverrides(headers, listIds);
    RTFWriteLine(FStream, "}");
}

void TVDRTFDocWriter::WriteListOverrides(TCustomVDData *const headers[6],
                                         const std::vector<int32_t> &listIds) {
    TVDIntegerList &counts = *FSaving.ListOverrideOffsetsList1;
    int32_t ls = 0;
    std::vector<TCustomVDData *> docs(headers, headers + 6);
    docs.push_back(&FData);
    for (int32_t i = 0; i < static_cast<int32_t>(listIds.size()); ++i) {
        const std::string id = Num(listIds[size_t(i)]);
        RTFWrite(FStream,
                 "{\\listoverride\\listid" + id + "\\listoverridecount0\\ls" + Num(++ls) + "}");
        if (i >= counts.GetCount() || counts.Get(i) <= 1) {
            continue;
        }
        for (TCustomVDData *doc : docs) {
            TVDMarkerList *markers = doc ? doc->GetMarkers(false) : nullptr;
            for (int32_t m = 0; markers && m < markers->Count(); ++m) {
                const TVDMarkerItemInfo &marker = *markers->Get(m);
                if (marker.ListNo != i || marker.Level < 0 || !marker.Reset) {
                    continue;
                }
                AnsiString s =
                    "{\\listoverride\\listid" + id + "\\listoverridecount" + Num(marker.Level + 1);
                for (int32_t k = 0; k < marker.Level; ++k) {
                    s += "{\\lfolevel}";
                }
                s += "{\\lfolevel\\listoverridestartat\\levelstartat" + Num(marker.StartFrom) +
                     "}\\ls" + Num(++ls) + "}";
                RTFWrite(FStream, s);
            }
        }
    }
    int32_t first = 1;
    for (int32_t i = 0; i < counts.GetCount(); ++i) {
        const int32_t count = counts.Get(i);
        counts.Put(i, first);
        first += count;
    }
}

void TVDRTFDocWriter::WriteFrame(TCustomVDData *const headers[6], gfx::TColor color) {
    FData.MakeFontTable(*FSaving.RTFTables, *FSaving.StyleToFont);
    FData.MakeRTFTables(FSaving.RTFTables.get(), FSaving.ListOverrideOffsetsList1.get(), true);
    for (int32_t i = 0; i < 6; ++i) {
        if (headers[i]) {
            headers[i]->FillRTFTables(FSaving.RTFTables.get(),
                                      FSaving.ListOverrideOffsetsList1.get());
        }
    }
    FData.FillRTFTables(FSaving.RTFTables.get(), FSaving.ListOverrideOffsetsList1.get());
    if (color != gfx::clWindow) {
        FSaving.RTFTables->AddColor(color);
    }
    const TFontInfos &texts = FStyle.GetTextStyles();
    const uint16_t lang =
        CharsetToLanguage(texts.GetCount() > 0 ? texts.GetItem(0).GetCharset() : uint8_t{1});
    // Code page 0 stands for the system's ANSI page, which other readers cannot know.
    const TVDCodePage cp = FStyle.GetDefCodePage() == 0 ? rtl::GetACP() : FStyle.GetDefCodePage();
    RTFWrite(FStream, "{\\rtf1\\fbidis\\ansi\\ansicpg" + Num(cp) + "\\uc" +
                          Num(FDuplicateUnicode ? 1 : 0) + "\\deff0\\deflang" + Num(lang) +
                          "\\deflangfe" + Num(lang));
    if (FData.GetBiDiMode() == vdbdLeftToRight) {
        RTFWrite(FStream, "\\ltrdoc");
    } else if (FData.GetBiDiMode() == vdbdRightToLeft) {
        RTFWrite(FStream, "\\rtldoc");
    }
    if (GetFirstEndnote(&FData, true)) {
        RTFWrite(FStream, "\\fet2{\\*\\aftnsep\\pard\\plain\\chftnsep "
                          "}{\\*\\aftnsepc\\pard\\plain\\chftnsepc}");
    }
    if (GetFirstFootnote(&FData, true)) {
        RTFWrite(
            FStream,
            "\\fet2{\\*\\ftnsep\\pard\\plain\\chftnsep }{\\*\\ftnsepc\\pard\\plain\\chftnsepc}");
    }
    if (FData.GetRTFOptions().Contains(vdrtfSaveDocParameters)) {
        if (const TVDDocParameters *params = FData.GetDocParameters(false)) {
            params->SaveToRTF(FStream, false);
        } else {
            RTFWriteLine(FStream, "\\paperw11906\\paperh16838\\margl1800\\margr1800\\margt1440"
                                  "\\margb1440");
        }
    }
    WriteFontTable();
    WriteColorTable();
    if (FData.GetRTFOptions().Contains(vdrtfSaveStyleSheet)) {
        WriteStyleSheet();
    }
    WriteListTable(headers);
    *FSaving.ListOverrideOffsetsList2 = *FSaving.ListOverrideOffsetsList1;
    static constexpr const char *kDestinations[] = {"header",  "footer",  "headerf",
                                                    "footerf", "headerl", "footerl"};
    for (int32_t i = 0; i < 6; ++i) {
        if (headers[i]) {
            RTFWrite(FStream, "{\\" + AnsiString(kDestinations[i]) + " ");
            headers[i]->SaveRTFToStream(FStream, false, FLevel, gfx::clNone, nullptr, FSaving,
                                        vdrtfdtHeaderFooter, false, false, nullptr, nullptr,
                                        nullptr, nullptr, nullptr, nullptr);
            RTFWrite(FStream, "\\par}");
        }
    }
    WriteExtra(vd_rtfs_Doc, nullptr, -1, -1, false);
    RTFWriteLine(FStream, "");
}

// ---- The tables of a save ----

void TCustomVDData::MakeFontTable(TCustomVDRTFTables &rtfTables, TVDIntegerList &styleToFont) {
    rtfTables.ClearFonts();
    styleToFont.Clear();
    const TVDStyle &style = *GetVDStyle();
    const TFontInfos &texts = style.GetTextStyles();
    for (int32_t i = 0; i < texts.GetCount(); ++i) {
        styleToFont.Add(rtfTables.AddFontFromStyle(texts.GetItem(i)));
    }
    const TVDListInfos &lists = style.GetListStyles();
    for (int32_t i = 0; i < lists.GetCount(); ++i) {
        const TVDListLevelCollection &levels = lists.GetItem(i).GetLevels();
        for (int32_t k = 0; k < levels.GetCount(); ++k) {
            if (levels.GetItem(k).UsesFont()) {
                const gfx::TFont &font = levels.GetItem(k).GetFont();
                rtfTables.AddFont(font.GetName(), font.GetCharset());
            }
        }
    }
}

void TCustomVDData::MakeRTFTables(TCustomVDRTFTables *rtfTables,
                                  TVDIntegerList *listOverrideCountList, bool addDefColors) {
    if (listOverrideCountList) {
        listOverrideCountList->Clear();
    }
    const TVDStyle &style = *GetVDStyle();
    if (rtfTables) {
        rtfTables->ClearColors();
        if (addDefColors) {
            rtfTables->AddColor(gfx::clWindowText);
        }
        const TFontInfos &texts = style.GetTextStyles();
        for (int32_t i = 0; i < texts.GetCount(); ++i) {
            const TFontInfo &t = texts.GetItem(i);
            for (gfx::TColor c :
                 {t.GetColor(), t.GetBackColor(), t.GetHoverColor(), t.GetHoverBackColor(),
                  t.GetUnderlineColor(), t.GetHoverUnderlineColor()}) {
                rtfTables->AddColor(c);
            }
        }
        const TParaInfos &paras = style.GetParaStyles();
        for (int32_t i = 0; i < paras.GetCount(); ++i) {
            const TParaInfo &p = paras.GetItem(i);
            if (p.GetBorder().Style != vdbNone) {
                rtfTables->AddColor(p.GetBorder().Color);
            }
            rtfTables->AddColor(p.GetBackground().Color);
        }
    }
    const TVDListInfos &lists = style.GetListStyles();
    for (int32_t i = 0; i < lists.GetCount(); ++i) {
        if (listOverrideCountList) {
            listOverrideCountList->Add(1);
        }
        const TVDListLevelCollection &levels = lists.GetItem(i).GetLevels();
        for (int32_t k = 0; rtfTables && k < levels.GetCount(); ++k) {
            if (levels.GetItem(k).UsesFont()) {
                rtfTables->AddColor(levels.GetItem(k).GetFont().GetColor());
            }
        }
    }
}

void TCustomVDData::FillRTFTables(TCustomVDRTFTables *rtfTables,
                                  TVDIntegerList *listOverrideCountList) {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        TCustomVDItemInfo *item = GetItem(i);
        if (!item->IsText()) {
            item->FillRTFTables(rtfTables, listOverrideCountList, this);
        }
    }
}

} // namespace vizivodu
