// The HTML writer without CSS: formatting by font tags and element attributes, paragraphs as
// div and heading elements, list markers as list elements.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDMarker.h"
#include "vizivodu/formats/common/VDFuncs_HTML.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/formats/html/VDHTMLWriter_p.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/StrUtils.h"

namespace vizivodu {

namespace {

const char *AlignValue(TVDAlignment alignment) {
    switch (alignment) {
    case vdaRight:
        return "right";
    case vdaCenter:
        return "center";
    case vdaJustify:
    case vdaDistribute:
        return "justify";
    default:
        return nullptr;
    }
}

TVDAnsiString ClearAttr(const TCustomVDItemInfo &item, TVDSaveOptions options) {
    if (item.GetClearLeft() && item.GetClearRight()) {
        return " clear=" + QuoteHTMLAttrValue("all", options);
    }
    if (item.GetClearLeft() || item.GetClearRight()) {
        return " clear=" + QuoteHTMLAttrValue(item.GetClearLeft() ? "left" : "right", options);
    }
    return {};
}

class TFontTagsWriter : public TVDHTMLWriterBase {
public:
    using TVDHTMLWriterBase::TVDHTMLWriterBase;
    void Head();
    void Content();
    void End();

private:
    TVDAnsiString ParaAttrs(int32_t itemNo, bool withPageBreak) const;
    TVDAnsiString PageBreakAttr(int32_t itemNo) const;
    void StartParagraph(int32_t itemNo);
    void CloseBlock();
    void StartListItem(TVDMarkerItemInfo &marker, int32_t itemNo);
    void NewLine(int32_t itemNo);
    void SaveItem(int32_t itemNo);
    void BodyTag();
    const TFontInfo &Style0() const { return FStyle.GetTextStyles().GetItem(0); }
    TVDAnsiString Style0Open() const {
        return Encode(GetHTMLOpenFontTags(Style0(), &Style0(), false, FParams.Options));
    }
    TVDAnsiString Style0Close() const { return GetHTMLCloseFontTags(Style0(), &Style0(), false); }

    bool FParaOpen = false;
    int32_t FHeading = 0; // the open paragraph's heading level, 0 for a div
    bool FItemOpen = false;
    bool FItemWrapper = false;
    int32_t FParaItemNo = 0;
};

void TFontTagsWriter::Head() {
    const TVDAnsiString charset =
        FUTF8 ? "UTF-8" : CharsetToHTMLCharsetName(static_cast<uint8_t>(Style0().GetCharset()));
    const TVDAnsiString end = GetXHTMLTagEnd(FParams.Options);
    if (FParams.Options.Contains(vdsoXHTML)) {
        Write("<?xml version=\"1.0\"");
        if (!charset.empty()) {
            Write(" encoding=\"" + charset + "\"");
        }
        WriteLine("?>");
    }
    WriteLine("<html><head><title>" + Encode(EscapeHTMLAttrUnicode(FParams.Title)) + "</title>");
    if (!charset.empty()) {
        WriteLine("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + charset +
                  "\"" + end + ">");
    }
    WriteExtra(vd_thms_Head);
    WriteLine("</head>");
    BodyTag();
}

void TFontTagsWriter::BodyTag() {
    const TVDSaveOptions o = FParams.Options;
    Write("<body");
    if (FParams.Color != gfx::clNone) {
        Write(" bgcolor=" + ColorToHTMLStrAnsi(FParams.Color, true));
    }
    const TVDBackground *back = FParams.Background;
    if (back && back->Style != bsNoBitmap && back->GetImage() && !back->GetImage()->Empty()) {
        const rtl::UnicodeString location =
            FData.SaveBackgroundToHTML(*back->GetImage(), FParams.Color, FParams);
        if (!location.empty()) {
            Write(" background=\"" + Encode(location) + "\"");
            if (back->Style != bsTiledAndScrolled) {
                Write(" bgproperties=" + QuoteHTMLAttrValue("fixed", o));
            }
        }
    }
    const rtl::UnicodeString attr = FData.GetExtraHTMLCode(vd_thms_BodyAttribute, false);
    if (!attr.empty()) {
        Write(" " + Encode(attr));
    }
    WriteLine(" leftmargin=" + IntToHTMLAttrValue(FParams.LeftMargin, o) +
              " topmargin=" + IntToHTMLAttrValue(FParams.TopMargin, o) +
              " rightmargin=" + IntToHTMLAttrValue(FParams.RightMargin, o) +
              " bottommargin=" + IntToHTMLAttrValue(FParams.BottomMargin, o) + ">");
    WriteExtra(vd_thms_Body);
}

void TFontTagsWriter::End() {
    WriteExtra(vd_thms_End);
    WriteLine("</body></html>");
}

TVDAnsiString TFontTagsWriter::PageBreakAttr(int32_t itemNo) const {
    return FParams.Options.Contains(vdsoForceNonTextCSS) &&
                   FData.GetItem(itemNo)->GetPageBreakBefore()
               ? " style=\"page-break-before: always;\""
               : "";
}

TVDAnsiString TFontTagsWriter::ParaAttrs(int32_t itemNo, bool withPageBreak) const {
    const TCustomVDItemInfo *item = FData.GetItem(itemNo);
    const TParaInfo &para = FStyle.GetParaStyles().GetItem(item->ParaNo);
    TVDAnsiString attrs;
    if (const char *align = AlignValue(para.GetAlignment())) {
        attrs += " align=" + QuoteHTMLAttrValue(align, FParams.Options);
    }
    if (para.GetBiDiMode() != vdbdUnspecified) {
        attrs += " dir=" + QuoteHTMLAttrValue(para.GetBiDiMode() == vdbdRightToLeft ? "RTL" : "LTR",
                                              FParams.Options);
    }
    return withPageBreak ? attrs + PageBreakAttr(itemNo) : attrs;
}

void TFontTagsWriter::StartParagraph(int32_t itemNo) {
    TCustomVDItemInfo *item = FData.GetItem(itemNo);
    WriteParaExtra(itemNo, true);
    const TVDAnsiString clear = ClearAttr(*item, FParams.Options);
    if (!clear.empty()) {
        Write("<font size=1><br" + clear + GetXHTMLTagEnd(FParams.Options) + "></font>");
    }
    int32_t level = 0;
    FHeading = IsHeading(item->ParaNo, level) ? level : 0;
    Write((FHeading ? "<h" + std::to_string(FHeading) : std::string("<div")) +
          ParaAttrs(itemNo, true) + ">");
    if (FHeading) {
        Write(Style0Open());
    }
    FParaOpen = true;
    FParaItemNo = itemNo;
}

void TFontTagsWriter::CloseBlock() {
    if (FItemOpen) {
        WriteLine(FItemWrapper ? "</li></div>" : "</li>");
        WriteParaExtra(FParaItemNo, false);
        FItemOpen = false;
    }
    if (FParaOpen) {
        WriteLine(FHeading ? Style0Close() + "</h" + std::to_string(FHeading) + ">"
                           : std::string("</div>"));
        WriteParaExtra(FParaItemNo, false);
        FParaOpen = false;
    }
}

void TFontTagsWriter::StartListItem(TVDMarkerItemInfo &marker, int32_t itemNo) {
    marker.SaveHTMLSpecial(FStream, FPrevMarker, FStyle, FParams.Options, false, nullptr,
                           FData.GetParaBiDiMode(marker.ParaNo));
    FPrevMarker = &marker;
    WriteParaExtra(itemNo, true);
    const TVDAnsiString attrs = ParaAttrs(itemNo, true);
    FItemWrapper = !attrs.empty();
    if (FItemWrapper) {
        Write("<div" + attrs + ">");
    }
    const TVDListLevel *level = marker.GetLevelInfo(&FStyle);
    if (level && level->HasNumbering()) {
        Write("<li value=" + IntToHTMLAttrValue(marker.Counter, FParams.Options) + ">");
    } else {
        Write("<li>");
    }
    FItemOpen = true;
    FParaItemNo = itemNo;
}

void TFontTagsWriter::NewLine(int32_t itemNo) {
    TCustomVDItemInfo *item = FData.GetItem(itemNo);
    if (item->GetBR()) {
        Write("<br" + ClearAttr(*item, FParams.Options) + GetXHTMLTagEnd(FParams.Options) + ">");
        return;
    }
    CloseBlock();
    if (item->StyleNo == StyleNoListMarker) {
        auto &marker = static_cast<TVDMarkerItemInfo &>(*item);
        if (!FParams.Options.Contains(vdsoMarkersAsText) && marker.GetLevelInfo(&FStyle)) {
            StartListItem(marker, itemNo);
            return;
        }
        StartParagraph(itemNo);
        return;
    }
    CloseLists();
    if (item->StyleNo != StyleNoBreak) {
        StartParagraph(itemNo);
    }
}

void TFontTagsWriter::SaveItem(int32_t itemNo) {
    TCustomVDItemInfo *item = FData.GetItem(itemNo);
    FData.WriteHTMLCheckpoint(FStream, item->Checkpoint, FParams.Options, true,
                              u"ViziVoduCheckpoint", FCPCount);
    const int32_t assoc = item->GetAssociatedTextStyleNo();
    const bool jump = item->GetBoolValueEx(vdbpJump, &FStyle);
    if (jump) {
        Write(FData.GetHTMLLinkOpenTag(itemNo, {}, FParams.Options));
    }
    if (!item->IsText() && assoc < 0) {
        SaveNonTextItem(itemNo);
        if (item->StyleNo == StyleNoBreak) {
            Write("\r\n");
        }
    } else {
        const int32_t styleNo = item->IsText() ? FData.GetActualStyle(*item) : assoc;
        const TFontInfo &style = FStyle.GetTextStyles().GetItem(styleNo);
        if (StyleCanBeSavedAs(style)) {
            const bool hint = !item->Hint.empty() && !jump;
            if (hint) {
                Write("<span " + Encode(MakeHintAttribute(vdsfHTML, item->Hint)) + ">");
            }
            if (styleNo != 0) {
                Write(Encode(GetHTMLOpenFontTags(style, &Style0(), true, FParams.Options)));
            }
            if (item->IsText()) {
                Write(FData.GetItemTextForHTML(FParams.Path, itemNo, FParams.Options, false));
            } else {
                SaveNonTextItem(itemNo);
            }
            if (styleNo != 0) {
                Write(GetHTMLCloseFontTags(style, &Style0(), true));
            }
            if (hint) {
                Write("</span>");
            }
        }
    }
    if (jump) {
        Write("</a>");
    }
}

void TFontTagsWriter::Content() {
    FData.DoBeforeSaving();
    const bool style0 = !FParams.Options.Contains(vdsoDefault0Style);
    if (style0) {
        WriteLine(Style0Open());
    }
    for (int32_t i = 0; i < FData.ItemCount(); ++i) {
        if (FData.IsFromNewLine(i)) {
            NewLine(i);
        }
        SaveItem(i);
    }
    CloseBlock();
    CloseLists();
    if (style0) {
        WriteLine(Style0Close());
    }
    FData.WriteHTMLCheckpoint(FStream, FData.NotAddedCP, FParams.Options, true,
                              u"ViziVoduCheckpoint", FCPCount);
    SaveAllNotes();
}

} // namespace

bool TCustomVDData::SaveHTMLToStream(rtl::TStream &stream, TVDHTMLSaveParams &params) {
    if (!GetVDStyle()) {
        return false;
    }
    TFontTagsWriter writer(*this, stream, params, false);
    return WriteHTMLParts(writer, params.Options);
}

} // namespace vizivodu
