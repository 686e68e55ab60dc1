// The document body as WordprocessingML: the item loop, paragraph and run properties, text
// runs, symbol runs, bookmarks and hyperlinks, and SaveOOXMLDocumentToStream around it.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/formats/common/VDFuncs_OOXML.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/formats/ooxml/VDOOXMLWriter_p.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include <algorithm>
#include <cstdio>

namespace vizivodu {

namespace {

std::string Num(int64_t value) {
    return std::to_string(value);
}

bool IsNonEmptyText(const TCustomVDItemInfo &item) {
    return item.IsText() && !item.ItemText.empty();
}

TVDMarkerItemInfo *AsListMarker(TCustomVDItemInfo *item) {
    if (!item || item->StyleNo != StyleNoListMarker) {
        return nullptr;
    }
    auto *marker = static_cast<TVDMarkerItemInfo *>(item);
    return marker->Level >= 0 ? marker : nullptr;
}

const TVDTextOptions kCodeOptions{vdteoHTMLCode, vdteoRTFCode, vdteoDocXCode, vdteoDocXInRunCode};

} // namespace

TVDOOXMLDocWriter::TVDOOXMLDocWriter(TCustomVDData &data, rtl::TStream &stream,
                                     const rtl::UnicodeString &path, TVDDocXSavingData &savingData,
                                     bool hiddenParent)
    : FData(data), FStream(stream), FPath(path), FSaving(savingData), FStyle(*data.GetVDStyle()),
      FHiddenParent(hiddenParent) {}

void TVDOOXMLDocWriter::WriteItems(int32_t startItemNo, int32_t startOffs, int32_t endItemNo,
                                   int32_t endOffs, bool report) {
    const bool single = startItemNo == endItemNo;
    int32_t progress = 0;
    for (int32_t i = startItemNo; i <= endItemNo; ++i) {
        TCustomVDItemInfo &item = *FData.GetItem(i);
        const bool touchesStart = i == startItemNo && startOffs >= FData.GetOffsAfterItem(i) &&
                                  (!item.IsText() || IsNonEmptyText(item));
        const bool touchesEnd = i == endItemNo && ((!item.IsText() && endOffs <= 0) ||
                                                   (IsNonEmptyText(item) && endOffs <= 1));
        if (!single && (touchesStart || touchesEnd)) {
            continue;
        }
        WriteItem(i, i == startItemNo ? startOffs : 0, i == endItemNo ? endOffs : 0);
        if (report) {
            FData.SaveProgressRun(progress, i - startItemNo, endItemNo - startItemNo,
                                  vdloDocXWrite);
        }
    }
}

void TVDOOXMLDocWriter::CloseHyperlink() {
    if (FLinkOpen) {
        OOXMLWrite(FStream, "</w:hyperlink>");
    }
    FLinkOpen = false;
    FLinkTarget.clear();
    FLinkAnchor.clear();
    FLinkExtras.clear();
}

void TVDOOXMLDocWriter::CloseParagraph() {
    if (FParaOpen) {
        CloseHyperlink();
        OOXMLWrite(FStream, "</w:p>");
        FParaOpen = false;
    }
}

void TVDOOXMLDocWriter::WriteItem(int32_t itemNo, int32_t fromOffs, int32_t toOffs) {
    TCustomVDItemInfo &item = *FData.GetItem(itemNo);
    if (item.GetPageBreakBefore()) {
        CloseParagraph();
        OOXMLWrite(FStream, "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>");
    }
    if (!item.GetBoolValue(vdbpDocXInRun)) {
        CloseParagraph();
        item.SaveOOXML(FStream, &FData, itemNo, FSaving, FHiddenParent);
        FFirstWritten = false;
        FLastOutside = true;
        return;
    }
    // A paragraph also starts after a table, whatever the item says.
    if (FFirstWritten || !FParaOpen || (!item.GetSameAsPrev() && !item.GetBR())) {
        StartParagraph(itemNo, item);
    }
    FFirstWritten = false;
    FLastOutside = false;
    UpdateHyperlink(itemNo, item);
    if (item.GetBR()) {
        OOXMLWrite(FStream, "<w:r><w:br/></w:r>");
    }
    if (item.Checkpoint) {
        OOXMLWrite(FStream, FData.GetOOXMLCheckpointStr(*item.Checkpoint, FSaving));
    }
    if (item.IsText()) {
        WriteText(itemNo, item, fromOffs, toOffs);
    } else {
        WriteNonText(itemNo, item);
    }
}

void TVDOOXMLDocWriter::StartParagraph(int32_t itemNo, TCustomVDItemInfo &item) {
    CloseParagraph();
    OOXMLWrite(FStream, "<w:p>");
    const AnsiString props = ParaProperties(itemNo, item);
    if (!props.empty()) {
        OOXMLWrite(FStream, "<w:pPr>" + props + "</w:pPr>");
    }
    FParaOpen = true;
}

AnsiString TVDOOXMLDocWriter::NumberingProperties(TCustomVDItemInfo *markerItem) {
    TVDMarkerItemInfo *marker = AsListMarker(markerItem);
    const TVDListLevel *level = marker ? marker->GetLevelInfo(&FStyle) : nullptr;
    TVDIntegerList &list1 = FSaving.ListOverrideOffsetsList1;
    TVDIntegerList &list2 = FSaving.ListOverrideOffsetsList2;
    if (!level || marker->ListNo < 0 || marker->ListNo >= list2.GetCount() ||
        marker->ListNo >= list1.GetCount()) {
        return {};
    }
    int32_t numId = list2.Get(marker->ListNo);
    if (marker->Reset && level->HasNumbering() && level->GetListType() != vdlstImageListCounter) {
        numId = list1.Get(marker->ListNo) + 1;
        list1.Put(marker->ListNo, numId);
    }
    return "<w:numPr><w:ilvl w:val=\"" + Num(marker->Level) + "\"/><w:numId w:val=\"" + Num(numId) +
           "\"/></w:numPr>";
}

AnsiString TVDOOXMLDocWriter::ParaProperties(int32_t itemNo, TCustomVDItemInfo &item) {
    const TParaInfos &paras = FStyle.GetParaStyles();
    const int32_t paraNo = item.ParaNo >= 0 && item.ParaNo < paras.GetCount() ? item.ParaNo : 0;
    const TParaInfo &para = paras.GetItem(paraNo);
    // A range that begins inside a paragraph still takes the paragraph's list marker.
    const int32_t firstParaItem = FData.GetFirstParaItem(itemNo);
    TCustomVDItemInfo *markerItem = AsListMarker(FData.GetItem(firstParaItem));
    const TVDListLevel *level =
        markerItem ? static_cast<TVDMarkerItemInfo *>(markerItem)->GetLevelInfo(&FStyle) : nullptr;
    TVDParaInfoProperties props = para.CalculateModifiedProperties2(AllParaStyleProperties);
    TVDStyleLength minTab = 0;
    if (level) {
        props.Exclude(vdpiFirstIndent);
        props.Exclude(vdpiLeftIndent);
        minTab = level->GetFirstIndent() + level->GetLeftIndent();
    }
    AnsiString s = para.GetOOXMLStr(FStyle, minTab, nullptr, props);
    if (level) {
        s += NumberingProperties(markerItem);
    }
    if (FSaving.SavePageBreakBeforePara) {
        s += "<w:pageBreakBefore/>";
        FSaving.SavePageBreakBeforePara = false;
    }
    s += FData.GetExtraDocXCode(vd_docxs_ParaStyle, &para, -1, paraNo);
    if (FHiddenParent || FData.IsHiddenParaEnd(firstParaItem)) {
        s += "<w:rPr><w:vanish/></w:rPr>";
    }
    return s;
}

AnsiString TVDOOXMLDocWriter::RunProperties(int32_t styleNo, int32_t itemNo, bool symbol) {
    const TFontInfos &texts = FStyle.GetTextStyles();
    if (styleNo < 0 || styleNo >= texts.GetCount()) {
        return {};
    }
    const TFontInfo &text = texts.GetItem(styleNo);
    TVDFontInfoProperties props = text.CalculateModifiedProperties2(AllTextStyleProperties);
    if (symbol) {
        props.Exclude(vdfiFontName);
    }
    AnsiString s = text.GetOOXMLStr(FStyle, props);
    s += FData.GetExtraDocXCode(vd_docxs_TextStyle, &text, -1, styleNo);
    if (FHiddenParent || FData.IsHiddenItem(itemNo)) {
        s += "<w:vanish/>";
    }
    return s.empty() ? s : "<w:rPr>" + s + "</w:rPr>";
}

void TVDOOXMLDocWriter::UpdateHyperlink(int32_t itemNo, TCustomVDItemInfo &item) {
    if (!item.GetBoolValueEx(vdbpJump, &FStyle)) {
        CloseHyperlink();
        return;
    }
    rtl::UnicodeString target;
    rtl::UnicodeString extras;
    FData.WriteHyperlink(item.JumpID + FData.FFirstJumpNo, &FData, itemNo, vdsfDocX, target,
                         extras);
    rtl::UnicodeString anchor;
    SplitHyperlinkTarget(target, anchor);
    if (target.size() > 1 && target[1] == u':') {
        target = u"file:///" + target;
    }
    if (target == FLinkTarget && anchor == FLinkAnchor && extras == FLinkExtras) {
        return;
    }
    CloseHyperlink();
    FLinkTarget = target;
    FLinkAnchor = anchor;
    FLinkExtras = extras;
    if (target.empty() && anchor.empty()) {
        return;
    }
    const bool encoded = FData.GetOptions().Contains(vdoPercentEncodedURL);
    AnsiString s = "<w:hyperlink";
    if (!target.empty()) {
        std::vector<rtl::UnicodeString> &links = FSaving.CurCatalog().Hyperlinks;
        links.push_back(target);
        s += " r:id=\"hrId" + Num(static_cast<int64_t>(links.size())) + "\"";
    }
    if (!extras.empty()) {
        s += " " + rtl::Utf16ToUtf8(extras);
    }
    if (!anchor.empty()) {
        s += " w:anchor=\"" + MakeOOXMLURL(anchor, encoded) + "\"";
    }
    OOXMLWrite(FStream, s + ">");
    FLinkOpen = true;
}

bool TVDOOXMLDocWriter::ApplicationText(int32_t itemNo, AnsiString &text) {
    TVDRawByteString raw;
    if (!FData.SaveItemToFile(FPath, &FData, itemNo, vdsfDocX, true, raw)) {
        return false;
    }
    // Unicode text arrives as raw UTF-16.
    std::u16string utf16(raw.size() / 2, u'\0');
    std::copy_n(raw.data(), utf16.size() * 2, reinterpret_cast<char *>(utf16.data()));
    text = rtl::Utf16ToUtf8(utf16);
    return true;
}

void TVDOOXMLDocWriter::WriteSymbols(int32_t itemNo, int32_t styleNo) {
    const TFontInfo &text = FStyle.GetTextStyles().GetItem(styleNo);
    const AnsiString font = MakeOOXMLAttrStr(text.GetFontName());
    // The whole text: a symbol run is never cut.
    for (const char16_t ch : FData.GetItemTextW(itemNo)) {
        char code[8];
        std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(ch));
        OOXMLWrite(FStream, "<w:sym w:font=\"" + font + "\" w:char=\"" + code + "\"/>");
    }
}

void TVDOOXMLDocWriter::WriteText(int32_t itemNo, TCustomVDItemInfo &item, int32_t fromOffs,
                                  int32_t toOffs) {
    const int32_t styleNo = FData.GetActualStyle(item);
    const TVDTextOptions code = FStyle.GetTextStyles().GetItem(styleNo).GetOptions() * kCodeOptions;
    const bool docxCode = code == TVDTextOptions{vdteoDocXCode};
    const bool inRunCode = code == TVDTextOptions{vdteoDocXInRunCode};
    if (!code.Empty() && !docxCode && !inRunCode) {
        // HTML or RTF code has no place in this format.
        AnsiString saved;
        ApplicationText(itemNo, saved);
        OOXMLWrite(FStream, "<w:r>" + saved + "</w:r>");
        return;
    }
    AnsiString body;
    if (!ApplicationText(itemNo, body)) {
        const rtl::UnicodeString all = FData.GetItemTextW(itemNo);
        const size_t first = fromOffs > 1 ? std::min(size_t(fromOffs - 1), all.size()) : 0;
        const size_t last =
            toOffs > 0 ? std::clamp(size_t(toOffs - 1), first, all.size()) : all.size();
        const rtl::UnicodeString part = all.substr(first, last - first);
        body = docxCode || inRunCode ? rtl::Utf16ToUtf8(part) : MakeOOXMLStrW(part);
    }
    if (docxCode) {
        OOXMLWrite(FStream, body);
        return;
    }
    const bool symbol = FData.IsSymbolCharset(itemNo);
    OOXMLWrite(FStream, "<w:r>" + RunProperties(styleNo, itemNo, symbol));
    if (inRunCode) {
        OOXMLWrite(FStream, body);
    } else if (symbol) {
        WriteSymbols(itemNo, styleNo);
    } else {
        const bool preserve = !body.empty() && (body.front() == ' ' || body.back() == ' ');
        OOXMLWrite(FStream,
                   (preserve ? "<w:t xml:space=\"preserve\">" : "<w:t>") + body + "</w:t>");
    }
    OOXMLWrite(FStream, "</w:r>");
}

void TVDOOXMLDocWriter::WriteRunContent(int32_t itemNo, TCustomVDItemInfo &item) {
    AnsiString saved;
    if (ApplicationText(itemNo, saved)) {
        OOXMLWrite(FStream, saved);
    } else {
        item.SaveOOXML(FStream, &FData, itemNo, FSaving, FHiddenParent);
    }
}

void TVDOOXMLDocWriter::WriteNonText(int32_t itemNo, TCustomVDItemInfo &item) {
    int32_t styleNo = -1;
    if (item.StyleNo == StyleNoListMarker || item.GetAssociatedTextStyleNo() >= 0) {
        styleNo = FData.GetActualStyle(item);
        const TFontInfos &texts = FStyle.GetTextStyles();
        if (styleNo >= 0 && styleNo < texts.GetCount() &&
            !(texts.GetItem(styleNo).GetOptions() * kCodeOptions).Empty()) {
            return;
        }
    }
    item.SaveOOXMLBeforeRun(FStream, &FData, itemNo, FSaving, FHiddenParent);
    if (!item.GetBoolValue(vdbpDocXOnlyBeforeAfter)) {
        OOXMLWrite(FStream, "<w:r>");
        if (styleNo >= 0) {
            OOXMLWrite(FStream, RunProperties(styleNo, itemNo, false));
        }
        WriteRunContent(itemNo, item);
        OOXMLWrite(FStream, "</w:r>");
    }
    item.SaveOOXMLAfterRun(FStream, &FData, itemNo, FSaving, FHiddenParent);
}

// ---- The document's operations ----

TVDAnsiString TCustomVDData::GetOOXMLCheckpointStr(const TVDCPInfo &cp,
                                                   TVDDocXSavingData &savingData) {
    if (cp.Name.empty()) {
        return {};
    }
    const std::string id = Num(savingData.BookmarkIndex++);
    return "<w:bookmarkStart w:id=\"" + id + "\" w:name=\"" +
           MakeOOXMLAttrStr(MakeBookmarkName(cp.Name)) + "\"/><w:bookmarkEnd w:id=\"" + id + "\"/>";
}

namespace {

const char *RootElementName(TVDDocXPart part) {
    switch (part) {
    case vddocxpHeader:
    case vddocxpHeader1:
    case vddocxpHeaderEven:
        return "hdr";
    case vddocxpFooter:
    case vddocxpFooter1:
    case vddocxpFooterEven:
        return "ftr";
    default:
        return "document";
    }
}

void WriteOpening(rtl::TStream &stream, TVDDocXPart part, gfx::TColor color) {
    OOXMLWrite(stream, OOXMLDeclaration);
    OOXMLWrite(stream, AnsiString("<w:") + RootElementName(part) + " " +
                           GetOOXMLNamespaceAttrs(
                               {"o", "r", "m", "v", "wp", "w10", "w", "wp14", "wne", "wps", "mc"}) +
                           " mc:Ignorable=\"wp14\">");
    if (part != vddocxpMain) {
        return;
    }
    if (color != gfx::clNone && color != gfx::clWindow) {
        OOXMLWrite(stream, "<w:background w:color=\"" + ColorToOOXMLStr(color, false) + "\"/>");
    }
    OOXMLWrite(stream, "<w:body>");
}

} // namespace

namespace {

// Header and footer references, page size and margins, and the application's code.
void WriteSectionProperties(TCustomVDData &data, rtl::TStream &stream,
                            TVDDocXSavingData &savingData) {
    const TVDDocParameters *params = data.GetRTFOptions().Contains(vdrtfSaveDocParameters)
                                         ? data.GetDocParameters(false)
                                         : nullptr;
    const TVDAnsiString extra = data.GetExtraDocXCode(vd_docxs_SectProps, nullptr, -1, -1);
    if (!params && savingData.SectProps.empty() && extra.empty()) {
        return;
    }
    OOXMLWrite(stream, "<w:sectPr>" + savingData.SectProps);
    if (params) {
        params->SaveOOXMLSectionProperties(stream);
    }
    OOXMLWrite(stream, extra + "</w:sectPr>");
}

} // namespace

void TCustomVDData::SaveOOXMLDocumentToStream(rtl::TStream &stream, const rtl::UnicodeString &path,
                                              bool selectionOnly, bool rootDocument, bool inCell,
                                              bool hiddenParent, gfx::TColor color,
                                              TVDBackground *background,
                                              TVDDocXSavingData &savingData) {
    if (selectionOnly) {
        if (TCustomVDData *chosen = GetChosenVDData()) {
            chosen->SaveOOXMLDocumentToStream(stream, path, true, rootDocument, inCell,
                                              hiddenParent, color, background, savingData);
            return;
        }
    }
    const TVDDocXPart part = savingData.CurPart;
    if (rootDocument) {
        WriteOpening(stream, part, color);
    }
    int32_t startItemNo = 0;
    int32_t startOffs = 0;
    int32_t endItemNo = -1;
    int32_t endOffs = 0;
    if (ItemCount() > 0) {
        GetRangeForSaving(GetVDFSaveScope(selectionOnly), startItemNo, startOffs, endItemNo,
                          endOffs);
    }
    TVDOOXMLDocWriter writer(*this, stream, path, savingData, hiddenParent);
    if (startItemNo >= 0 && endItemNo >= startItemNo && endItemNo < ItemCount()) {
        int32_t progress = 0;
        const bool report = rootDocument && part == vddocxpMain &&
                            SaveProgressInit(progress, endItemNo - startItemNo, vdloDocXWrite);
        savingData.CallProgress = savingData.CallProgress || report;
        writer.WriteItems(startItemNo, startOffs, endItemNo, endOffs, report);
    }
    writer.CloseParagraph();
    // A cell holds at least one paragraph, and ends with one.
    if (inCell && (writer.LastWasOutsideParagraph() || writer.WroteNothing())) {
        OOXMLWrite(stream, hiddenParent ? "<w:p><w:pPr><w:rPr><w:vanish/></w:rPr></w:pPr></w:p>"
                                        : "<w:p/>");
    }
    if (!rootDocument) {
        return;
    }
    if (part == vddocxpMain) {
        WriteSectionProperties(*this, stream, savingData);
        OOXMLWrite(stream, "</w:body>");
    }
    OOXMLWrite(stream, AnsiString("</w:") + RootElementName(part) + ">");
}

} // namespace vizivodu
