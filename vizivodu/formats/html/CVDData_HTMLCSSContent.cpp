// The content of the HTML writer with CSS: paragraphs, list items, runs in classes or inline
// styles, and the stream form that writes the three parts.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/formats/html/VDHTMLCSSWriter_p.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/StrUtils.h"

namespace vizivodu {

namespace {

TVDAnsiString StreamText(const std::function<void(rtl::TStream &)> &write) {
    TVDMemoryStream stream;
    write(stream);
    const auto *bytes = reinterpret_cast<const char *>(stream.GetMemory());
    return bytes ? rtl::Trim(TVDAnsiString(bytes, static_cast<size_t>(stream.GetSize())))
                 : TVDAnsiString();
}

} // namespace

bool TVDHTMLCSSWriter::PlainStyle0() const {
    const TFontInfo &style = FStyle.GetTextStyles().GetItem(0);
    return !style.GetJump() && style.GetBackColor() == gfx::clNone &&
           !FParams.Options.Contains(vdsoNoDefCSSStyle);
}

TVDAnsiString TVDHTMLCSSWriter::TextStyleAttr(int32_t styleNo) const {
    if (!FInline) {
        return "class=" + QuoteHTMLAttrValue("vdts" + std::to_string(styleNo), FParams.Options);
    }
    const TFontInfo &style = FStyle.GetTextStyles().GetItem(styleNo);
    return "style=\"" + StreamText([&](rtl::TStream &s) {
               style.SaveCSSToStream(s, nullptr, false, FUTF8, style.GetJump());
           }) +
           "\"";
}

TVDAnsiString TVDHTMLCSSWriter::ParaInlineCSS(int32_t itemNo, bool ignoreStartIndents) const {
    TCustomVDItemInfo *item = FData.GetItem(itemNo);
    TVDAnsiString css;
    if (FInline) {
        const TParaInfo &para = FStyle.GetParaStyles().GetItem(item->ParaNo);
        css = StreamText([&](rtl::TStream &s) {
            para.SaveCSSToStream(s, nullptr, false, false, ignoreStartIndents, FData.GetBiDiMode());
        });
    }
    if (item->GetPageBreakBefore()) {
        AppendWithSpaceAnsi(css, "page-break-before: always;");
    }
    if (item->GetClearLeft() || item->GetClearRight()) {
        AppendWithSpaceAnsi(css, item->GetClearLeft() && item->GetClearRight()
                                     ? "clear: both;"
                                     : (item->GetClearLeft() ? "clear: left;" : "clear: right;"));
    }
    return css;
}

TVDAnsiString TVDHTMLCSSWriter::ParaAttrs(int32_t itemNo) const {
    const TVDAnsiString css = ParaInlineCSS(itemNo, false);
    if (FInline) {
        return css.empty() ? "" : "style=\"" + css + "\"";
    }
    const int32_t paraNo = FData.GetItem(itemNo)->ParaNo;
    TVDAnsiString attrs;
    if (paraNo > 0 || FParams.Options.Contains(vdsoNoDefCSSStyle)) {
        attrs = "class=" + QuoteHTMLAttrValue("vdps" + std::to_string(paraNo), FParams.Options);
    }
    if (!css.empty()) {
        AppendWithSpaceAnsi(attrs, "style=\"" + css + "\"");
    }
    return attrs;
}

TVDAnsiString TVDHTMLCSSWriter::ElementName(int32_t paraNo) const {
    int32_t level = 0;
    return IsHeading(paraNo, level) ? "h" + std::to_string(level) : "p";
}

void TVDHTMLCSSWriter::CloseBlock() {
    if (FItemOpen) {
        WriteLine("</li>");
        WriteParaExtra(FParaItemNo, false);
        FItemOpen = false;
    } else if (FParaOpen) {
        WriteLine("</" + FParaElement + ">");
        WriteParaExtra(FParaItemNo, false);
        FParaOpen = false;
    }
}

void TVDHTMLCSSWriter::StartParagraph(int32_t itemNo, bool division) {
    WriteParaExtra(itemNo, true);
    FParaElement = division ? "div" : ElementName(FData.GetItem(itemNo)->ParaNo);
    const TVDAnsiString attrs = ParaAttrs(itemNo);
    Write("<" + FParaElement + (attrs.empty() ? "" : " " + attrs) + ">");
    FParaOpen = true;
    FParaItemNo = itemNo;
}

void TVDHTMLCSSWriter::StartTextMarkerParagraph(TVDMarkerItemInfo &marker, int32_t itemNo) {
    WriteParaExtra(itemNo, true);
    FParaElement = ElementName(marker.ParaNo);
    const TVDListLevel *level = marker.GetLevelInfo(&FStyle);
    const TVDAnsiString indent =
        level->GetIndentCSSForTextVersion(FStyle, FData.GetParaBiDiMode(marker.ParaNo));
    if ((marker.ParaNo == 0 && !FParams.Options.Contains(vdsoNoDefCSSStyle)) || FInline) {
        Write("<" + FParaElement + " style=\"" + ParaInlineCSS(itemNo, true) + " " + indent +
              "\">");
    } else {
        Write("<" + FParaElement + " " + ParaAttrs(itemNo) + " style=\"" + indent + "\">");
    }
    FParaOpen = true;
    FParaItemNo = itemNo;
}

void TVDHTMLCSSWriter::StartListItem(TVDMarkerItemInfo &marker, int32_t itemNo) {
    marker.SaveHTMLSpecial(FStream, FPrevMarker, FStyle, FParams.Options, true, FParams.ListBullets,
                           FData.GetParaBiDiMode(marker.ParaNo));
    FPrevMarker = &marker;
    WriteParaExtra(itemNo, true);
    const TVDListLevel *level = marker.GetLevelInfo(&FStyle);
    Write(level->HasNumbering() ? "<li value=" + IntToHTMLAttrValue(marker.Counter, FParams.Options)
                                : std::string("<li"));
    TVDHTMLSaveArgs args = ItemArgs();
    TVDAnsiString css = marker.GetLICSS(&FData, itemNo, args);
    FParams.ImgSaveNo = args.ImgSaveNo;
    AppendWithSeparatorAnsi(css, ParaInlineCSS(itemNo, true), "; ");
    TVDAnsiString attrs = css.empty() ? "" : "style=\"" + css + "\"";
    if (!FInline && (marker.ParaNo > 0 || FParams.Options.Contains(vdsoNoDefCSSStyle))) {
        AppendWithSpaceAnsi(
            attrs,
            "class=" + QuoteHTMLAttrValue("vdps" + std::to_string(marker.ParaNo), FParams.Options));
    }
    Write((attrs.empty() ? "" : " " + attrs) + ">");
    FItemOpen = true;
    FParaItemNo = itemNo;
}

void TVDHTMLCSSWriter::NewLine(int32_t itemNo) {
    TCustomVDItemInfo *item = FData.GetItem(itemNo);
    if (itemNo > 0 && !FParaOpen && !FItemOpen) {
        Write("\r\n");
    }
    if (item->GetBR()) {
        const TVDAnsiString css = ParaInlineCSS(itemNo, false);
        Write("<br" +
              (item->GetClearLeft() || item->GetClearRight() ? " style=\"" + css + "\""
                                                             : std::string()) +
              GetXHTMLTagEnd(FParams.Options) + ">");
        return;
    }
    CloseBlock();
    const TColor back = FStyle.GetParaStyles().GetItem(item->ParaNo).GetBackground().Color;
    FParams.CurrentFileColor = back != gfx::clNone ? back : FParams.Color;
    if (item->StyleNo == StyleNoListMarker) {
        auto &marker = static_cast<TVDMarkerItemInfo &>(*item);
        if (marker.GetLevelInfo(&FStyle)) {
            if (FParams.Options.Contains(vdsoMarkersAsText)) {
                StartTextMarkerParagraph(marker, itemNo);
            } else {
                StartListItem(marker, itemNo);
            }
            return;
        }
        CloseLists();
        StartParagraph(itemNo, false);
        return;
    }
    CloseLists();
    if (item->StyleNo != StyleNoBreak) {
        StartParagraph(itemNo, item->GetBoolValue(vdbpNoHTML_P));
    }
}

void TVDHTMLCSSWriter::SaveTextItem(int32_t itemNo, TCustomVDItemInfo &item) {
    int32_t headingLevel = 0;
    const bool heading = IsHeading(item.ParaNo, headingLevel);
    if (heading) {
        Write("<span " + TextStyleAttr(0) + ">");
    }
    const int32_t styleNo =
        item.IsText() ? FData.GetActualStyle(item) : item.GetAssociatedTextStyleNo();
    const TFontInfo &style = FStyle.GetTextStyles().GetItem(styleNo);
    if (StyleCanBeSavedAs(style)) {
        const bool jump = item.GetBoolValueEx(vdbpJump, &FStyle);
        const bool span = !jump && (styleNo != 0 || !PlainStyle0() || FInline);
        const bool hint = !jump && !item.Hint.empty();
        if (jump) {
            Write(FData.GetHTMLLinkOpenTag(itemNo, TextStyleAttr(styleNo), FParams.Options));
        } else if (span) {
            Write("<span " + TextStyleAttr(styleNo) + ">");
        }
        if (hint) {
            Write("<span " + Encode(MakeHintAttribute(vdsfHTML, item.Hint)) + ">");
        }
        if (item.IsText()) {
            Write(FData.GetItemTextForHTML(FParams.Path, itemNo, FParams.Options, true));
        } else {
            SaveNonTextItem(itemNo);
        }
        if (hint) {
            Write("</span>");
        }
        if (jump) {
            Write("</a>");
        } else if (span) {
            Write("</span>");
        }
    }
    if (heading) {
        Write("</span>");
    }
}

void TVDHTMLCSSWriter::SaveItem(int32_t itemNo) {
    TCustomVDItemInfo *item = FData.GetItem(itemNo);
    FData.WriteHTMLCheckpoint(FStream, item->Checkpoint, FParams.Options, false,
                              FParams.CPPrefix.empty() ? u"ViziVoduCheckpoint" : FParams.CPPrefix,
                              FCPCount);
    if (item->IsText() || item->GetAssociatedTextStyleNo() >= 0) {
        SaveTextItem(itemNo, *item);
        return;
    }
    const bool jump = item->GetBoolValueEx(vdbpJump, &FStyle);
    if (jump) {
        Write(FData.GetHTMLLinkOpenTag(itemNo, {}, FParams.Options));
    }
    SaveNonTextItem(itemNo);
    if (jump) {
        Write("</a>");
    }
}

void TVDHTMLCSSWriter::Content() {
    FData.DoBeforeSaving();
    FParams.CurrentFileColor = FParams.Color;
    for (int32_t i = 0; i < FData.ItemCount(); ++i) {
        if (FData.IsFromNewLine(i)) {
            NewLine(i);
        }
        SaveItem(i);
    }
    CloseBlock();
    CloseLists();
    FData.WriteHTMLCheckpoint(FStream, FData.NotAddedCP, FParams.Options, false,
                              FParams.CPPrefix.empty() ? u"ViziVoduCheckpoint" : FParams.CPPrefix,
                              FCPCount);
    SaveAllNotes();
}

bool TCustomVDData::SaveHTMLToStreamEx(rtl::TStream &stream, TVDHTMLSaveParams &params) {
    if (!GetVDStyle()) {
        return false;
    }
    TVDHTMLCSSWriter writer(*this, stream, params);
    return WriteHTMLParts(writer, params.Options);
}

} // namespace vizivodu
