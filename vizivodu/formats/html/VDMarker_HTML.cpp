// The HTML halves of list markers (list tags, list-item CSS, markers written as text), labels
// and sequences (their text), and notes (links to the note texts written after the content).
#include "vizivodu/document/VDMarker.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDLabelItem.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/document/VDSidenotes.h"
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/common/VDFuncs_Symbol.h"
#include "vizivodu/formats/html/VDHTMLItems_p.h"
#include "vizivodu/formats/html/VDHTMLListCSSList.h"
#include "vizivodu/formats/html/VDHTMLSave.h"
#include "vizivodu/formats/html/VDStyle_CSS_p.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Font.h"
#include "platform/gfx/ImgList.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace vizivodu {

// ---- List tags ----

void TVDMarkerItemInfo::HTMLOpenOrCloseTags(rtl::TStream &stream, int32_t oldLevelNo,
                                            int32_t newLevelNo, const TVDStyle &vdStyle,
                                            TVDSaveOptions saveOptions, bool useCSS,
                                            const TVDHTMLListCSSList *listBullets,
                                            TVDBiDiMode biDiMode) const {
    if (ListNo < 0 || ListNo >= vdStyle.GetListStyles().GetCount()) {
        return;
    }
    const TVDListLevelCollection &levels = vdStyle.GetListStyles().GetItem(ListNo).GetLevels();
    const int32_t count = levels.GetCount();
    if (count == 0) {
        return;
    }
    auto level = [&](int32_t i) -> const TVDListLevel & {
        return levels.GetItem(std::min(i, count - 1));
    };
    for (int32_t i = oldLevelNo; i > newLevelNo; --i) {
        level(i).HTMLCloseTag(stream, useCSS);
    }
    for (int32_t i = oldLevelNo + 1; i <= newLevelNo; ++i) {
        level(i).HTMLOpenTag(stream, useCSS, vdStyle, saveOptions, listBullets, biDiMode);
    }
    if (oldLevelNo != newLevelNo) {
        WriteCSSText(stream, "\r\n");
    }
}

void TVDMarkerItemInfo::SaveHTMLSpecial(rtl::TStream &stream, const TVDMarkerItemInfo *prev,
                                        const TVDStyle &vdStyle, TVDSaveOptions saveOptions,
                                        bool useCSS, const TVDHTMLListCSSList *listBullets,
                                        TVDBiDiMode biDiMode) const {
    if (prev && prev->ListNo == ListNo) {
        HTMLOpenOrCloseTags(stream, prev->Level, Level, vdStyle, saveOptions, useCSS, listBullets,
                            biDiMode);
        return;
    }
    if (prev) {
        prev->HTMLOpenOrCloseTags(stream, prev->Level, -1, vdStyle, saveOptions, useCSS,
                                  listBullets, biDiMode);
    }
    HTMLOpenOrCloseTags(stream, -1, Level, vdStyle, saveOptions, useCSS, listBullets, biDiMode);
}

namespace {

// The picture of a picture or image-list level; "" when it has none.
rtl::UnicodeString MarkerImageLocation(const TVDMarkerItemInfo &marker, const TVDListLevel &level,
                                       TCustomVDData *vdData, int32_t itemNo,
                                       TVDHTMLSaveArgs &args) {
    rtl::UnicodeString location;
    bool doDefault = true;
    vdData->HTMLSaveImage(vdData, itemNo, args.Path, args.CurrentFileColor, location, doDefault);
    if (!doDefault) {
        return location;
    }
    auto &mutableLevel = const_cast<TVDListLevel &>(level);
    if (level.GetListType() == vdlstPicture) {
        const gfx::TGraphic *graphic = mutableLevel.GetPicture().GetGraphic();
        return graphic ? SaveImageListImageToHTML(nullptr, -1, graphic, args.CurrentFileColor,
                                                  vdData, itemNo, args)
                       : rtl::UnicodeString();
    }
    int32_t index = level.GetImageIndex();
    if (level.GetListType() == vdlstImageListCounter) {
        index += marker.Counter - 1;
    }
    gfx::TCustomImageList *list = level.GetImageList();
    if (!list || index < 0 || index >= list->GetCount()) {
        return {};
    }
    return SaveImageListImageToHTML(list, index, nullptr, args.CurrentFileColor, vdData, itemNo,
                                    args);
}

bool IsPictureLevel(const TVDListLevel &level) {
    const TVDListType type = level.GetListType();
    return type == vdlstPicture || type == vdlstImageList || type == vdlstImageListCounter;
}

} // namespace

TVDAnsiString TVDMarkerItemInfo::GetLICSS(TCustomVDData *vdData, int32_t itemNo,
                                          TVDHTMLSaveArgs &args) {
    const TVDStyle &vdStyle = *vdData->GetVDStyle();
    const TVDListLevel *level = GetLevelInfo(&vdStyle);
    TVDAnsiString css;
    if (!level) {
        return css;
    }
    if (IsPictureLevel(*level)) {
        const rtl::UnicodeString location =
            MarkerImageLocation(*this, *level, vdData, itemNo, args);
        if (!location.empty()) {
            AppendWithSeparatorAnsi(
                css, "list-style-image: url('" + HTMLEncode(location, args, vdData) + "')", "; ");
        }
    }
    const TParaInfo &para = vdStyle.GetParaStyles().GetItem(ParaNo);
    if (para.GetLeftIndent() != 0) {
        AppendWithSeparatorAnsi(css, "margin-left: " + vdStyle.GetCSSSize(0), "; ");
    }
    const TVDStyleLength indent = level->GetMarkerIndent() < level->GetLeftIndent()
                                      ? level->GetFirstIndent()
                                      : level->GetMarkerIndent() - level->GetLeftIndent();
    if (indent != para.GetFirstIndent()) {
        AppendWithSeparatorAnsi(css, "text-indent: " + vdStyle.GetCSSSize(indent), "; ");
    }
    if (Hidden) {
        AppendWithSeparatorAnsi(css, "display : none", "; ");
    }
    return css;
}

namespace {

TVDAnsiString MarkerText(const TVDMarkerItemInfo &marker, const TVDListLevel &level,
                         TCustomVDData *vdData, int32_t itemNo, bool utf8) {
    const bool space = vdData->NextItemFromSpace(itemNo);
    if (level.GetListType() == vdlstUnicodeBullet) {
        return RawUnicodeToHTMLWithEntities(StringToRawUnicode(level.GetFormatStringW()), false,
                                            space);
    }
    auto &font = const_cast<TVDListLevel &>(level).GetFont();
    if (rtl::SameText(font.GetName(), u"Symbol")) {
        return SymbolUnicodeToHTML(marker.DisplayString, utf8, space);
    }
    if (rtl::SameText(font.GetName(), u"Wingdings")) {
        return WingdingsUnicodeToHTML(marker.DisplayString, utf8, space);
    }
    return UnicodeToHTMLEncodingCP(EscapeHTMLTextUnicode(marker.DisplayString), utf8,
                                   CharsetToCodePage(font.GetCharset()));
}

void SaveMarkerTextHTML(rtl::TStream &stream, const TVDMarkerItemInfo &marker,
                        const TVDListLevel &level, TCustomVDData *vdData, int32_t itemNo,
                        const TVDHTMLSaveArgs &args) {
    const TVDStyle &vdStyle = *vdData->GetVDStyle();
    const bool utf8 = args.SaveOptions.Contains(vdsoUTF8);
    auto &font = const_cast<TVDListLevel &>(level).GetFont();
    const TFontInfo &textStyle = vdStyle.GetTextStyles().GetItem(0);
    if (!args.UseCSS) {
        WriteCSSText(stream, UnicodeToHTMLEncoding(
                                 GetHTMLOpenMarkerFontTags(font, textStyle, true, args.SaveOptions),
                                 utf8, &vdStyle));
        WriteCSSText(stream, MarkerText(marker, level, vdData, itemNo, utf8));
        WriteCSSLine(stream, GetHTMLCloseMarkerFontTags(font, textStyle, true));
        return;
    }
    TVDAnsiString css =
        UnicodeToHTMLEncodingCP(GetMarkerFontCSS(font, true), utf8, vdStyle.GetDefCodePage());
    const TVDStyleLength gap =
        level.GetLeftIndent() + level.GetFirstIndent() - level.GetMarkerIndent();
    if (gap > 0) {
        css += " display: inline-block; text-indent: " + vdStyle.GetCSSSize(0) +
               "; min-width: " + vdStyle.GetCSSSize(gap) + ";";
    }
    const int32_t n = args.ListBullets ? args.ListBullets->Find(css) : -1;
    if (n >= 0) {
        WriteCSSText(
            stream,
            "<span class=" + QuoteHTMLAttrValue("bullet" + std::to_string(n), args.SaveOptions) +
                (marker.Hidden ? " style=\"display: none;\"" : "") + ">");
    } else {
        if (marker.Hidden) {
            ReplaceAllAnsi(css, "display: inline-block; ", "");
            css += " display: none;";
        }
        WriteCSSText(stream, "<span style=\"" + css + "\">");
    }
    WriteCSSText(stream, MarkerText(marker, level, vdData, itemNo, utf8));
    WriteCSSText(stream, "</span>");
}

} // namespace

void TVDMarkerItemInfo::SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                                   const TVDRawByteString &, TVDHTMLSaveArgs &args) {
    const TVDListLevel *level = GetLevelInfo(vdData->GetVDStyle());
    if (!args.SaveOptions.Contains(vdsoMarkersAsText) || !level) {
        return;
    }
    if (!IsPictureLevel(*level)) {
        SaveMarkerTextHTML(stream, *this, *level, vdData, itemNo, args);
        return;
    }
    const rtl::UnicodeString location = MarkerImageLocation(*this, *level, vdData, itemNo, args);
    if (location.empty()) {
        return;
    }
    WriteCSSLine(stream, "<img src=\"" + HTMLEncode(location, args, vdData) + "\"" +
                             (Hidden && args.UseCSS ? " style = \"display : none;\"" : "") +
                             GetXHTMLTagEnd(args.SaveOptions) + ">");
}

// ---- Labels, sequences and notes ----

namespace {

void WriteLabelText(rtl::TStream &stream, const rtl::UnicodeString &text, TVDVAlign vAlign,
                    TCustomVDData *vdData, int32_t itemNo, const TVDHTMLSaveArgs &args) {
    const bool floating = args.UseCSS && (vAlign == vdvaLeft || vAlign == vdvaRight);
    if (floating) {
        WriteCSSText(stream, std::string("<div style=\"float: ") +
                                 (vAlign == vdvaLeft ? "left" : "right") + ";\">");
    }
    const TVDRawByteString raw = StringToRawUnicode(text);
    const bool space = vdData->NextItemFromSpace(itemNo);
    WriteCSSText(stream, args.SaveOptions.Contains(vdsoUTF8)
                             ? RawUnicodeToHTMLUTF8(raw, false, space)
                             : RawUnicodeToHTMLWithEntities(raw, false, space));
    if (floating) {
        WriteCSSText(stream, "</div>");
    }
}

} // namespace

void TVDLabelItemInfo::SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                                  const TVDRawByteString &, TVDHTMLSaveArgs &args) {
    WriteLabelText(stream, GetText(), VAlign, vdData, itemNo, args);
}

void TVDNoteReferenceItemInfo::SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData,
                                          int32_t itemNo, const TVDRawByteString &,
                                          TVDHTMLSaveArgs &args) {
    WriteLabelText(stream, vdData->GetNoteText(), VAlign, vdData, itemNo, args);
}

rtl::UnicodeString TCustomVDNoteItemInfo::GetHTMLAnchorName(TCustomVDData *) {
    return {};
}

namespace {

rtl::UnicodeString AnchorName(const char16_t *prefix, TVDSeqItemInfo &note, TCustomVDData *vdData) {
    return prefix + rtl::IntToStr(note.GetIndexInList(vdData->GetSeqList(false)));
}

} // namespace

rtl::UnicodeString TVDFootnoteItemInfo::GetHTMLAnchorName(TCustomVDData *vdData) {
    return AnchorName(u"_footnote", *this, vdData);
}

rtl::UnicodeString TVDEndnoteItemInfo::GetHTMLAnchorName(TCustomVDData *vdData) {
    return AnchorName(u"_endnote", *this, vdData);
}

rtl::UnicodeString TVDSidenoteItemInfo::GetHTMLAnchorName(TCustomVDData *vdData) {
    return AnchorName(u"_sidenote", *this, vdData);
}

void TCustomVDNoteItemInfo::SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                                       const TVDRawByteString &text, TVDHTMLSaveArgs &args) {
    WriteCSSText(stream,
                 "<a href=\"#" + HTMLEncode(GetHTMLAnchorName(vdData), args, vdData) + "\">");
    TVDLabelItemInfo::SaveToHTML(stream, vdData, itemNo, text, args);
    WriteCSSText(stream, "</a>");
}

} // namespace vizivodu
