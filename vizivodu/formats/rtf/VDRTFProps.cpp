// RTF to document: the reading settings, the parser's wiring, text runs into text and tab
// items, bookmarks, page breaks, hyperlinks, headers and footers and document parameters.
#include "vizivodu/formats/rtf/VDRTFProps.h"
#include "vizivodu/formats/rtf/VDRTFProps_Tables.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Rounding.h"
#include "platform/rtl/StrUtils.h"

namespace vizivodu {

void TVDRTFReaderProperties::Assign(const TVDRTFReaderProperties &source) {
    UnicodeMode = source.UnicodeMode;
    TextStyleMode = source.TextStyleMode;
    ParaStyleMode = source.ParaStyleMode;
    IgnorePictures = source.IgnorePictures;
    IgnoreNotes = source.IgnoreNotes;
    IgnoreSequences = source.IgnoreSequences;
    IgnoreTables = source.IgnoreTables;
    IgnoreFields = source.IgnoreFields;
    SkipHiddenText = source.SkipHiddenText;
    FParaStyleNo = source.FParaStyleNo;
    FTextStyleNo = source.FTextStyleNo;
    UseHypertextStyles = source.UseHypertextStyles;
    LineBreaksAsParagraphs = source.LineBreaksAsParagraphs;
    ExtractMetafileBitmaps = source.ExtractMetafileBitmaps;
    ConvertHighlight = source.ConvertHighlight;
}

void TVDRTFReaderProperties::SetTextStyleNo(int32_t value) {
    if (value < 0) {
        throw rtl::Exception(u"Value must not be negative");
    }
    FTextStyleNo = value;
}

void TVDRTFReaderProperties::SetParaStyleNo(int32_t value) {
    if (value < 0) {
        throw rtl::Exception(u"Value must not be negative");
    }
    FParaStyleNo = value;
}

void TVDRTFReaderProperties::SetHeader(TCustomVDData *vdData, TVDHFType headerType) {
    static constexpr size_t slot[] = {0, 4, 2};
    FHFData[slot[headerType]] = vdData;
}

void TVDRTFReaderProperties::SetFooter(TCustomVDData *vdData, TVDHFType footerType) {
    static constexpr size_t slot[] = {1, 5, 3};
    FHFData[slot[footerType]] = vdData;
}

bool TVDRTFReaderProperties::HasHeaderOrFooterVDData() const {
    for (TCustomVDData *d : FHFData) {
        if (d) {
            return true;
        }
    }
    return false;
}

TCustomVDData *TVDRTFReaderProperties::GetHFVDData(TVDRTFHeaderFooterType hfType) const {
    return hfType == rtf_hf_MainText ? nullptr : FHFData[size_t(hfType) - 1];
}

TVDRTFErrorCode TVDRTFReaderProperties::ReadFromFile(const rtl::UnicodeString &fileName,
                                                     TCustomVDData &vdData, bool insertMode) {
    std::unique_ptr<rtl::TFileStream> stream;
    try {
        stream =
            std::make_unique<rtl::TFileStream>(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    } catch (const rtl::Exception &) {
        return rtf_ec_FileOpenError;
    }
    return ReadFromStream(*stream, vdData, insertMode);
}

TVDRTFErrorCode TVDRTFReaderProperties::ReadFromStream(rtl::TStream &stream, TCustomVDData &vdData,
                                                       bool insertMode) {
    FVDData = &vdData;
    FReader = std::make_unique<TVDRTFReader>();
    FInsertFlag = insertMode || vdData.ItemCount() > 0 || !vdData.GetFlags().Contains(vdflRoot);
    const int32_t countBefore = vdData.ItemCount();
    TVDRTFErrorCode result = rtf_ec_Exception;
    try {
        PrepareReader();
        result = FReader->ReadFromStream(stream);
        CloseOpenTables();
    } catch (const rtl::Exception &) {
        result = rtf_ec_Exception;
    }
    FinishReading();
    if (result != rtf_ec_OK && vdData.ItemCount() > countBefore) {
        // A file that fails leaves the document as it was.
        vdData.DeleteItems(countBefore, vdData.ItemCount() - countBefore);
    }
    return result;
}

void TVDRTFReaderProperties::PrepareReader() {
    FVDStyle = FVDData->GetVDStyle();
    TVDRTFReader &r = *FReader;
    r.ProcessFinalPar = false;
    r.SkipHiddenText = SkipHiddenText;
    r.PixelsPerInch = 96;
    r.ConvertHighlight = TVDRTFHighlightConvert(ConvertHighlight);
    r.BasePath = BasePath;
    r.ExtractMetafileBitmaps = ExtractMetafileBitmaps;
    r.DefCodePage = FVDData->GetDefaultCodePage();
    r.TabAsSeparateChar = FVDStyle && FVDStyle->GetSpacesInTab() == 0;
    FHFType = rtf_hf_MainText;
    FCurrentVDData = FVDData;
    FPageBreak = false;
    FPageBreakVDData = nullptr;
    FBookmarkName.clear();
    FCurrentRow = FCurrentCol = -1;
    FHeaderYMM = FFooterYMM = -1;
    FLevelToListNo.clear();
    FListTableMaps = {};
    FLastMarkerIndex = -1;
    FNotes.clear();
    FLastNoteRefIndex = FNoteCharTextStyleNo = -1;
    for (TCustomVDData *d : FHFData) {
        if (d) {
            d->Clear();
        }
    }
    ConnectEvents();
}

void TVDRTFReaderProperties::ConnectEvents() {
    TVDRTFReader &r = *FReader;
    r.OnNewText = [this](TVDRTFReader &, const TVDAnsiString &t, TVDRTFPosition p) {
        ReaderNewText(t, p);
    };
    if (UnicodeMode != vdruNoUnicode) {
        r.OnNewUnicodeText = [this](TVDRTFReader &, const TVDUnicodeString &t, TVDRTFPosition p) {
            ReaderNewUnicodeText(t, p);
        };
    }
    r.OnRequiredPageBreak = [this](TVDRTFReader &) {
        FPageBreak = true;
        FPageBreakVDData = FCurrentVDData;
    };
    r.OnEndParsing = [this](TVDRTFReader &) { ReaderEndParsing(); };
    r.OnUpdateMarker = [this](TVDRTFReader &) { ReaderUpdateMarker(); };
    if (!IgnoreFields) {
        r.OnNewPageNumber = [this](TVDRTFReader &, TVDRTFPosition p, TVDRTFPageNumberType t) {
            ReaderNewPageField(p, t, false);
        };
        r.OnNewPageCount = [this](TVDRTFReader &, TVDRTFPosition p, TVDRTFPageNumberType t) {
            ReaderNewPageField(p, t, true);
        };
    }
    if (!IgnoreSequences) {
        r.OnNewSeq = [this](TVDRTFReader &, TVDRTFPosition p, const TVDUnicodeString &name,
                            TVDRTFSeqType t, bool reset,
                            int32_t startFrom) { ReaderNewSeq(p, name, t, reset, startFrom); };
    }
    if (!IgnorePictures) {
        r.OnNewPicture = [this](TVDRTFReader &, TVDRTFPicture *picture,
                                std::unique_ptr<gfx::TGraphic> &graphic, TVDRTFPosition p,
                                const rtl::UnicodeString &fileName, bool &inserted) {
            ReaderNewPicture(picture, graphic, p, fileName, inserted);
        };
    }
    if (!IgnoreNotes) {
        r.OnNote = [this](TVDRTFReader &, TVDRTFNoteEventType what, TVDRTFPosition p) {
            ReaderNote(what, p);
        };
    }
    if (!IgnoreTables) {
        r.OnTable = [this](TVDRTFReader &, TVDRTFTableEventKind kind, bool &processed) {
            ReaderTable(kind, processed);
        };
    }
    if (!IgnoreBookmarks) {
        r.OnBookmarkStart = [this](TVDRTFReader &, const rtl::UnicodeString &name) {
            FBookmarkName = name;
        };
    }
    if (FVDData->IsAssignedOnProgress()) {
        r.OnProgress = [this](TVDRTFReader &, TVDRTFProgressStage stage, uint8_t percent) {
            FVDData->DoProgress(vdloRTFRead, TVDProgressStage(stage), percent);
        };
    }
    if (HasHeaderOrFooterVDData()) {
        r.OnHeaderFooter = [this](TVDRTFReader &, TVDRTFHeaderFooterType t, bool starting,
                                  bool &supported) { ReaderHeaderFooter(t, starting, supported); };
    }
}

void TVDRTFReaderProperties::FinishReading() {
    if (FReader) {
        try {
            ReaderUpdateMarker();
        } catch (const rtl::Exception &) {
            // The read has ended; a marker that cannot be completed keeps what it has.
        }
    }
    FLastMarkerIndex = -1;
    FLevelToListNo.clear();
    FListTableMaps = {};
    FNotes.clear();
    // Tables still open after an exception go unread, innermost first: an inner table's
    // cells belong to a cell of the outer one.
    while (!FTables.empty()) {
        FTables.pop_back();
    }
    FLastRowForNewTable.reset();
    FReader.reset();
    FCurrentVDData = nullptr;
}

bool TVDRTFReaderProperties::InHyperlink() const {
    return !HyperlinkCode().empty();
}

// The instruction of the HYPERLINK field the current run belongs to (empty when none).
TVDUnicodeString TVDRTFReaderProperties::HyperlinkCode() const {
    const TVDUnicodeString code = rtl::TrimLeft(FReader->RTFState().FFieldCode);
    return code.starts_with(u"HYPERLINK") ? code : TVDUnicodeString();
}

void TVDRTFReaderProperties::ReaderNewText(const TVDAnsiString &text, TVDRTFPosition position) {
    TVDRTFReader &r = *FReader;
    if (SkipHiddenText && r.CharProps().FHidden) {
        return;
    }
    if (text.empty() && r.EndingCell() && FCurrentVDData != FVDData &&
        FCurrentVDData->ItemCount() > 0 &&
        FCurrentVDData->GetItem(FCurrentVDData->ItemCount() - 1)->GetBoolValue(vdbpFullWidth)) {
        return;
    }
    // Bytes under charsets 254 and 77 were already mapped to Windows-1252 by the parser.
    const int32_t font = r.CharProps().FFontIndex;
    const gfx::TFontCharset charset =
        font >= 0 && font < r.FontTable().Count() ? r.FontTable()[font].Charset : 1;
    const TVDCodePage cp =
        charset == 254 || charset == 77 ? 1252 : (charset == 1 ? 0 : CharsetToCodePage(charset));
    const bool unicode = UnicodeMode == vdruOnlyUnicode;
    AddTextRun(unicode ? AnsiToRawUnicode(cp, text) : text, unicode, position);
}

void TVDRTFReaderProperties::ReaderNewUnicodeText(const TVDUnicodeString &text,
                                                  TVDRTFPosition position) {
    if (SkipHiddenText && FReader->CharProps().FHidden) {
        return;
    }
    if (UnicodeMode == vdruMixed) {
        // No conversion of Unicode text to a code page counts as lossless here, so the run
        // stays Unicode.
        const TVDRawByteString raw = StringToRawUnicode(text);
        if (CanConvertToCodePage(raw, FReader->GetCurrentCodePage())) {
            AddTextRun(RawUnicodeToAnsi(FReader->GetCurrentCodePage(), raw), false, position);
            return;
        }
    }
    AddTextRun(StringToRawUnicode(text), true, position);
}

int32_t TVDRTFReaderProperties::GetParaNoForPosition(TVDRTFPosition position) {
    if (position == rtf_ts_NewPara) {
        return FindOrAddParaStyle();
    }
    const int32_t count = FCurrentVDData->ItemCount();
    return count > 0 ? FCurrentVDData->GetItem(count - 1)->ParaNo : 0;
}

void TVDRTFReaderProperties::AddTextRun(TVDRawByteString raw, bool unicode,
                                        TVDRTFPosition position) {
    if (LineBreaksAsParagraphs && position == rtf_ts_NewLine) {
        position = rtf_ts_NewPara;
    }
    const int32_t paraNo = GetParaNoForPosition(position);
    int32_t styleNo = FindOrAddTextStyle(unicode, paraNo);
    const bool isTab = unicode ? raw == TVDRawByteString("\t\0", 2) : raw == "\t";
    std::unique_ptr<TCustomVDItemInfo> item;
    if (isTab && FVDStyle && FVDStyle->GetSpacesInTab() == 0) {
        auto tab = std::make_unique<TVDTabItemInfo>(FCurrentVDData);
        tab->StyleNo = StyleNoTab;
        tab->SetAssociatedTextStyleNo(styleNo);
        item = std::move(tab);
        raw.clear();
    } else {
        item = ViziVoduTextItemClass->Create(FCurrentVDData);
        if (unicode) {
            item->ItemOptions.Include(vdioUnicode);
        }
        ApplyHyperlink(*item, styleNo);
        item->StyleNo = styleNo;
        if (raw.find('\t') != TVDRawByteString::npos) {
            raw = FCurrentVDData->ReplaceTabs(raw, styleNo, unicode);
        }
    }
    item->ParaNo = paraNo;
    InsertRTFItem(std::move(raw), std::move(item), position);
}

void TVDRTFReaderProperties::ApplyHyperlink(TCustomVDItemInfo &item, int32_t &styleNo) {
    const TVDUnicodeString code = HyperlinkCode();
    if (code.empty()) {
        return;
    }
    TVDUnicodeString target = TVDRTFReader::GetFieldCommandValue(code);
    const size_t l = code.find(u"\\l");
    if (l != TVDUnicodeString::npos) {
        target += u"#" + TVDRTFReader::GetFieldCommandValue(u"X" + code.substr(l + 2));
    }
    TVDUnicodeString extras;
    const size_t o = code.find(u"\\o");
    if (o != TVDUnicodeString::npos) {
        extras = TVDRTFReader::GetFieldCommandValue(u"X" + code.substr(o + 2));
    }
    int32_t newStyle = styleNo;
    TVDTag tag;
    TVDRawByteString name;
    FVDData->ReadHyperlink(target, extras, vdlfRTF, newStyle, tag, name);
    if (newStyle >= 0) {
        styleNo = newStyle;
    }
    item.Tag = tag;
    if (!extras.empty()) {
        item.Hint = extras;
    }
}

void TVDRTFReaderProperties::InsertRTFItem(TVDRawByteString text,
                                           std::unique_ptr<TCustomVDItemInfo> item,
                                           TVDRTFPosition position) {
    TCustomVDData &doc = *FCurrentVDData;
    if (position == rtf_ts_NewPara && item->StyleNo != StyleNoListMarker &&
        item->StyleNo != StyleNoTable && InsertListMarker(item->ParaNo)) {
        position = rtf_ts_ContinuePara;
    }
    if (position == rtf_ts_ContinuePara) {
        item->ParaNo = -1;
    } else if (position == rtf_ts_NewLine && doc.ItemCount() > 0) {
        item->SetBR(true);
    }
    if (item->StyleNo < 0 && item->StyleNo != StyleNoTable && FReader->CharProps().FHidden) {
        item->SetExtraIntProperty(vdepHidden, 1);
    }
    if (!FBookmarkName.empty()) {
        doc.AddNamedCheckpointExTag(FBookmarkName, false, {});
        FBookmarkName.clear();
    }
    if (FPageBreak && FPageBreakVDData == &doc) {
        item->SetPageBreakBefore(true);
        FPageBreak = false;
    }
    const bool special = item->StyleNo < 0;
    MarkTableRowUnfinished(doc);
    const bool marker = item->StyleNo == StyleNoListMarker;
    const bool noteReference = item->StyleNo == StyleNoNoteReference;
    doc.AddItemR(std::move(text), std::move(item), true);
    if (special) {
        doc.DoOnAddSpecialItem(doc.ItemCount() - 1);
    }
    if (marker) {
        FLastMarkerIndex = doc.ItemCount() - 1;
    }
    FLastNoteRefIndex = noteReference ? doc.ItemCount() - 1 : -1;
}

void TVDRTFReaderProperties::ReaderHeaderFooter(TVDRTFHeaderFooterType hfType, bool starting,
                                                bool &supported) {
    if (starting) {
        if (TCustomVDData *target = GetHFVDData(hfType)) {
            target->Clear();
            FCurrentVDData = target;
            supported = true;
            FHFType = hfType;
        }
        const TVDRTFSectionProperties &sp = FReader->SectProps();
        if (hfType == rtf_hf_Header) {
            FHeaderYMM = int32_t(rtl::Round(double(sp.FHeaderYTw) * 127 / 7200));
        } else if (hfType == rtf_hf_Footer) {
            FFooterYMM = int32_t(rtl::Round(double(sp.FFooterYTw) * 127 / 7200));
        }
    } else if (FHFType != rtf_hf_MainText) {
        FCurrentVDData->MassSimpleConcateAll();
        FCurrentVDData = FVDData;
        FHFType = rtf_hf_MainText;
    }
    FVDStyle = FCurrentVDData->GetVDStyle();
}

void TVDRTFReaderProperties::ReaderEndParsing() {
    if (FInsertFlag || !ReadDocParameters) {
        return;
    }
    TVDDocParameters *dp = FVDData->GetAbsoluteRootData()->GetDocParameters(true);
    if (!dp) {
        return;
    }
    const TVDRTFDocProperties &d = FReader->DocProps();
    dp->PageWidth = dp->FromTwips(d.FPaperWidthTw);
    dp->PageHeight = dp->FromTwips(d.FPaperHeightTw);
    dp->LeftMargin = dp->FromTwips(d.FLeftMarginTw);
    dp->RightMargin = dp->FromTwips(d.FRightMarginTw);
    dp->TopMargin = dp->FromTwips(d.FTopMarginTw);
    dp->BottomMargin = dp->FromTwips(d.FBottomMarginTw);
    dp->ZoomPercent = d.FViewScale;
    dp->FacingPages = d.FFacingPages;
    dp->ZoomMode = d.FZoomKind == rtf_zk_FullPage
                       ? vdzmFullPage
                       : (d.FZoomKind == rtf_zk_BestFit ? vdzmPageWidth : vdzmCustom);
    dp->MirrorMargins = d.FMirrorMargins;
    dp->Author = d.FAuthor;
    dp->Title = d.FTitle;
    dp->Comments = d.FComments;
    if (d.FLandscape) {
        dp->Orientation = poLandscape;
    }
    const TVDRTFSectionProperties &sp = FReader->SectProps();
    if (sp.FFooterYTw > 0) {
        dp->FooterY = dp->FromTwips(sp.FFooterYTw);
    }
    if (sp.FHeaderYTw > 0) {
        dp->HeaderY = dp->FromTwips(sp.FHeaderYTw);
    }
    dp->TitlePage = sp.FHasTitlePage;
}

} // namespace vizivodu
