// The RTF writer of a document: SaveRTF, SaveRTFToStream and the item loop (line and paragraph
// starts, bookmarks, hyperlink fields, text runs and the items' own RTF).
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDMarker.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/formats/common/VDFuncs_URL.h"
#include "vizivodu/formats/rtf/VDRTFWriter_p.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/SafeSave.h"

namespace vizivodu {

void RTFWrite(rtl::TStream &stream, std::string_view s) {
    if (!s.empty()) {
        stream.WriteBuffer(s.data(), static_cast<int32_t>(s.size()));
    }
}

void RTFWriteLine(rtl::TStream &stream, std::string_view s) {
    RTFWrite(stream, s);
    RTFWrite(stream, "\r\n");
}

TVDRTFDocWriter::TVDRTFDocWriter(TCustomVDData &data, rtl::TStream &stream,
                                 TVDRTFSavingData &savingData, int32_t level, TVDRTFDocType docType,
                                 bool hiddenParent)
    : FData(data), FStream(stream), FSaving(savingData), FStyle(*data.GetVDStyle()), FLevel(level),
      FDocType(docType), FHiddenParent(hiddenParent),
      FDuplicateUnicode(data.GetRTFOptions().Contains(vdrtfDuplicateUnicode)) {}

void TVDRTFDocWriter::WriteExtra(TVDRTFSaveArea area, const void *obj, int32_t index1,
                                 int32_t index2, bool inStyleSheet) {
    RTFWrite(FStream, FData.GetExtraRTFCode(area, obj, index1, index2, inStyleSheet));
}

void TVDRTFDocWriter::WriteBookmark(const rtl::UnicodeString &name) {
    const AnsiString s =
        UnicodeToRTF(MakeBookmarkName(name), FStyle.GetDefCodePage(), FDuplicateUnicode);
    RTFWrite(FStream, "{\\*\\bkmkstart " + s + "}{\\*\\bkmkend " + s + "}");
    ++FBookmarkCount;
}

void TVDRTFDocWriter::WriteEndBookmark(const rtl::UnicodeString &name) {
    if (!name.empty()) {
        WriteBookmark(name);
        return;
    }
    const std::string made = "ViziVoduCheckpoint" + std::to_string(FBookmarkCount);
    WriteBookmark(rtl::UnicodeString(made.begin(), made.end()));
}

TCustomVDItemInfo *TVDRTFDocWriter::ParaMarker(int32_t firstParaItemNo) {
    TCustomVDItemInfo *item = FData.GetItem(firstParaItemNo);
    return item->StyleNo == StyleNoListMarker ? item : nullptr;
}

namespace {

const TVDListLevel *MarkerLevel(TCustomVDItemInfo *marker, const TVDStyle &style) {
    return marker ? static_cast<TVDMarkerItemInfo *>(marker)->GetLevelInfo(&style) : nullptr;
}

} // namespace

void TVDRTFDocWriter::WriteParaFormatting(int32_t index, TCustomVDItemInfo *marker,
                                          bool inStyleSheet) {
    const TParaInfos &paras = FStyle.GetParaStyles();
    if (!inStyleSheet) {
        if (FData.GetRTFOptions().Contains(vdrtfSaveStyleSheet) && index >= 0 &&
            index < paras.GetCount() && paras.GetItem(index).GetStandard()) {
            RTFWrite(FStream, "\\s" + std::to_string(index));
        }
        FLastParaStyle = index;
    }
    const int32_t styleIndex = index >= 0 && index < paras.GetCount() ? index : 0;
    AnsiString fili;
    TVDStyleLength minTab = 0;
    const TVDListLevel *level = MarkerLevel(marker, FStyle);
    if (level) {
        fili =
            "\\li" + std::to_string(FStyle.GetAsTwips(level->GetLeftIndent())) + "\\fi" +
            std::to_string(FStyle.GetAsTwips(level->GetMarkerIndent() - level->GetLeftIndent())) +
            "\\jclisttab\\tx" +
            std::to_string(FStyle.GetAsTwips(level->GetFirstIndent() + level->GetLeftIndent()));
        minTab = level->GetFirstIndent() + level->GetLeftIndent();
    }
    if (!inStyleSheet) {
        FLastListLevel = level;
    }
    paras.GetItem(styleIndex)
        .SaveRTFToStream(FStream, FSaving.RTFTables.get(), minTab, fili, FStyle);
    if (!inStyleSheet) {
        RTFWrite(FStream, FLevel == 1 ? "\\intbl" : "\\itap" + std::to_string(FLevel));
        if (FSaving.SavePageBreakBeforePara) {
            RTFWrite(FStream, "\\pagebb");
            FSaving.SavePageBreakBeforePara = false;
        }
    }
    if (index >= 0) {
        WriteExtra(vd_rtfs_ParaStyle, &paras.GetItem(styleIndex), index, -1, inStyleSheet);
    }
    RTFWrite(FStream, " ");
}

void TVDRTFDocWriter::WriteCharFormatting(int32_t index, bool inStyleSheet) {
    const TFontInfos &texts = FStyle.GetTextStyles();
    if (!inStyleSheet) {
        if (FData.GetRTFOptions().Contains(vdrtfSaveStyleSheet) && index >= 0 &&
            index < texts.GetCount() && texts.GetItem(index).GetStandard()) {
            RTFWrite(FStream, "\\cs" + std::to_string(index + FStyle.GetParaStyles().GetCount()));
        }
        FLastTextStyle = index;
    }
    const int32_t styleIndex = index >= 0 && index < texts.GetCount() ? index : 0;
    if (index >= 0 && FSaving.StyleToFont && styleIndex < FSaving.StyleToFont->GetCount()) {
        RTFWrite(FStream, "\\f" + std::to_string(FSaving.StyleToFont->Get(styleIndex)));
    }
    const TFontInfo &style = texts.GetItem(styleIndex);
    style.SaveRTFToStream(FStream, FSaving.StyleToFont.get(), FSaving.RTFTables.get(), FStyle,
                          false);
    if (FHiddenParent && !style.GetOptions().Contains(vdteoHidden)) {
        RTFWrite(FStream, "\\v ");
    }
    WriteExtra(vd_rtfs_TextStyle, &style, index, -1, inStyleSheet);
    RTFWrite(FStream, " ");
}

// ---- The item loop ----

namespace {

bool IsNonEmptyText(const TCustomVDItemInfo &item) {
    return item.IsText() && !item.ItemText.empty();
}

} // namespace

void TVDRTFDocWriter::WriteItems(int32_t startItemNo, int32_t startOffs, int32_t endItemNo,
                                 int32_t endOffs, bool selectionOnly) {
    const bool single = startItemNo == endItemNo;
    int32_t prev = -1;
    for (int32_t i = startItemNo; i <= endItemNo; ++i) {
        TCustomVDItemInfo &item = *FData.GetItem(i);
        if (!single && i == startItemNo && startOffs >= FData.GetOffsAfterItem(i) &&
            (!item.IsText() || IsNonEmptyText(item))) {
            continue;
        }
        if (!single && i == endItemNo &&
            ((!item.IsText() && endOffs <= 0) || (IsNonEmptyText(item) && endOffs <= 1))) {
            if (selectionOnly && item.ParaStart(false) && !FFirstWritten) {
                RTFWrite(FStream, "\\par");
            }
            continue;
        }
        const int32_t from = i == startItemNo ? startOffs : 0;
        const int32_t to = i == endItemNo ? endOffs : 0;
        WriteItem(i, from, to, prev);
        prev = i;
    }
}

void TVDRTFDocWriter::WriteLineStart(int32_t itemNo, TCustomVDItemInfo &item, int32_t prevItemNo) {
    RTFWrite(FStream, "\r\n");
    if (item.GetBoolValue(vdbpFullWidth) && item.GetPageBreakBefore()) {
        RTFWrite(FStream, "\\page ");
        if (prevItemNo >= 0 && item.StyleNo == StyleNoTable &&
            FData.GetItem(prevItemNo)->StyleNo == StyleNoTable) {
            RTFWrite(FStream, "\\par ");
        }
        return;
    }
    if (item.GetBR()) {
        RTFWrite(FStream, "\\line ");
        return;
    }
    if (FData.State.Contains(vdstRTFSkipPar)) {
        // A table just written ended its own paragraph.
        FData.State.Exclude(vdstRTFSkipPar);
    } else if (!FFirstWritten) {
        RTFWrite(FStream, "\\par ");
        if (prevItemNo >= 0 && ParaMarker(FData.GetFirstParaItem(prevItemNo))) {
            RTFWrite(FStream, "\\plain");
            FLastTextStyle = -1;
        }
    }
    if (!item.GetBoolValue(vdbpFullWidth) && item.GetPageBreakBefore()) {
        RTFWrite(FStream, "\\page ");
    }
    TCustomVDItemInfo *marker = ParaMarker(itemNo);
    const TVDListLevel *level = MarkerLevel(marker, FStyle);
    if (item.ParaNo != FLastParaStyle || (level && level != FLastListLevel) ||
        (!level && FLastListLevel)) {
        RTFWrite(FStream, "\\pard");
        WriteParaFormatting(item.ParaNo, marker, false);
    }
}

void TVDRTFDocWriter::WriteHyperlinkStart(int32_t itemNo, TCustomVDItemInfo &item,
                                          bool &fieldOpen) {
    rtl::UnicodeString target;
    rtl::UnicodeString extras;
    FData.WriteHyperlink(item.JumpID + FData.FFirstJumpNo, &FData, itemNo, vdsfRTF, target, extras);
    if (!FData.GetOptions().Contains(vdoPercentEncodedURL)) {
        target = PercentEncodeURL(target);
    }
    rtl::UnicodeString bookmark;
    SplitHyperlinkTarget(target, bookmark);
    const TVDCodePage cp = FStyle.GetDefCodePage();
    AnsiString arg;
    if (!target.empty()) {
        arg = "\"" + UnicodeToRTFFieldArg(target, cp, FDuplicateUnicode) + "\"";
    }
    if (!bookmark.empty()) {
        arg += " \\\\l \"" + UnicodeToRTFFieldArg(bookmark, cp, FDuplicateUnicode) + "\"";
    }
    if (arg.empty()) {
        return;
    }
    if (!extras.empty()) {
        arg += " " + UnicodeToRTF(extras, cp, FDuplicateUnicode);
    }
    RTFWrite(FStream, "{\\field{\\*\\fldinst HYPERLINK " + arg + "}{\\fldrslt ");
    FLastTextStyle = -1;
    fieldOpen = true;
}

void TVDRTFDocWriter::WriteItem(int32_t itemNo, int32_t fromOffs, int32_t toOffs,
                                int32_t prevItemNo) {
    TCustomVDItemInfo &item = *FData.GetItem(itemNo);
    if (!item.GetSameAsPrev()) {
        WriteLineStart(itemNo, item, prevItemNo);
    }
    FFirstWritten = false;
    if (item.Checkpoint && !item.Checkpoint->Name.empty()) {
        WriteBookmark(item.Checkpoint->Name);
    }
    bool fieldOpen = false;
    if (item.GetBoolValueEx(vdbpJump, &FStyle)) {
        WriteHyperlinkStart(itemNo, item, fieldOpen);
    }
    int32_t styleNo = item.IsText() ? item.StyleNo : item.GetAssociatedTextStyleNo();
    bool textLike = false;
    if (styleNo >= 0 || item.IsText()) {
        styleNo = FData.GetActualStyle(item);
        const TFontInfos &texts = FStyle.GetTextStyles();
        if (styleNo >= 0 && styleNo < texts.GetCount()) {
            TVDTextOptions code =
                texts.GetItem(styleNo).GetOptions() *
                TVDTextOptions{vdteoHTMLCode, vdteoRTFCode, vdteoDocXCode, vdteoDocXInRunCode};
            textLike = code.Empty() || code == TVDTextOptions{vdteoRTFCode};
        }
    }
    if (textLike) {
        WriteTextLike(itemNo, item, styleNo, fromOffs, toOffs);
    } else {
        WriteOther(itemNo, item);
    }
    if (fieldOpen) {
        RTFWrite(FStream, "}}");
        FLastTextStyle = -1;
    }
}

void TVDRTFDocWriter::WriteDirection(int32_t itemNo, int32_t styleNo, bool styleChanged) {
    const int32_t para = FData.GetFirstParaItem(itemNo);
    if (!styleChanged && para == FLastDirPara) {
        return;
    }
    const TVDBiDiMode paraMode = FData.GetParaBiDiMode(FData.GetItem(itemNo)->ParaNo);
    if (!styleChanged && FLastDirPara >= 0 &&
        FData.GetParaBiDiMode(FData.GetItem(FLastDirPara)->ParaNo) == paraMode) {
        FLastDirPara = para;
        return;
    }
    if (FStyle.GetTextStyles().GetItem(styleNo).GetBiDiMode() == vdbdUnspecified) {
        if (paraMode == vdbdLeftToRight ||
            (paraMode == vdbdUnspecified && FDirectionWritten && !styleChanged)) {
            RTFWrite(FStream, "\\ltrch ");
            FDirectionWritten = true;
        } else if (paraMode == vdbdRightToLeft) {
            RTFWrite(FStream, "\\rtlch ");
            FDirectionWritten = true;
        }
    }
    FLastDirPara = para;
}

bool TVDRTFDocWriter::WrittenByApplication(int32_t itemNo) {
    TVDRawByteString text;
    if (!FData.SaveItemToFile(FSaving.Path, &FData, itemNo, vdsfRTF, false, text)) {
        return false;
    }
    RTFWrite(FStream, text);
    return true;
}

void TVDRTFDocWriter::WriteTextLike(int32_t itemNo, TCustomVDItemInfo &item, int32_t styleNo,
                                    int32_t fromOffs, int32_t toOffs) {
    const bool styleChanged = styleNo != FLastTextStyle;
    if (styleChanged) {
        RTFWrite(FStream, "\\plain ");
        WriteCharFormatting(styleNo, false);
        FLastDirPara = -1;
    }
    WriteDirection(itemNo, styleNo, styleChanged);
    if (WrittenByApplication(itemNo)) {
        return;
    }
    if (!item.IsText()) {
        item.SaveRTF(FStream, &FData, itemNo, FLevel, FSaving, FDocType, FHiddenParent);
        return;
    }
    const bool unicode = item.ItemOptions.Contains(vdioUnicode);
    const size_t unit = unicode ? 2 : 1;
    std::string_view text = item.ItemText;
    const size_t length = text.size() / unit;
    const size_t first = fromOffs > 1 ? std::min(size_t(fromOffs - 1), length) : 0;
    const size_t last = toOffs > 0 ? std::clamp(size_t(toOffs - 1), first, length) : length;
    text = text.substr(first * unit, (last - first) * unit);
    const bool rtfCode =
        FStyle.GetTextStyles().GetItem(styleNo).GetOptions().Contains(vdteoRTFCode);
    if (unicode) {
        TVDRTFUnicodeOptions options;
        options.FallbackFlag = FDuplicateUnicode;
        options.NoEscape = rtfCode;
        WriteUnicodeAsRTF(FStream, text, FData.GetStyleCodePage(styleNo), options);
    } else {
        RTFWrite(FStream, EscapeRTFAnsi(text, rtfCode, true, false, false));
    }
}

void TVDRTFDocWriter::WriteOther(int32_t itemNo, TCustomVDItemInfo &item) {
    const bool rtl =
        FLastParaStyle >= 0 && FData.GetParaBiDiMode(FLastParaStyle) == vdbdRightToLeft;
    if (rtl) {
        RTFWrite(FStream, "\\ltrpar");
    }
    if (!WrittenByApplication(itemNo)) {
        item.SaveRTF(FStream, &FData, itemNo, FLevel, FSaving, FDocType, FHiddenParent);
    }
    if (rtl) {
        RTFWrite(FStream, "\\rtlpar");
    }
    FLastTextStyle = -1;
}

// ---- The document's entry points ----

bool TCustomVDData::SaveRTF(const rtl::UnicodeString &fileName, bool selectionOnly,
                            gfx::TColor color, TVDBackground *background) {
    return rtl::TrySaveFileSafely(fileName, [&](rtl::TStream &stream) {
        TVDRTFSavingData savingData;
        savingData.Path = rtl::ExtractFilePath(fileName);
        return SaveRTFToStream(stream, selectionOnly, 0, color, background, savingData, vdrtfdtMain,
                               true, false, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    });
}

namespace {

void CreateSavingTables(TVDRTFSavingData &savingData) {
    savingData.RTFTables = std::make_unique<TVDRTFTables>();
    savingData.StyleToFont = std::make_unique<TVDIntegerList>();
    savingData.ListOverrideOffsetsList1 = std::make_unique<TVDIntegerList>();
    savingData.ListOverrideOffsetsList2 = std::make_unique<TVDIntegerList>();
}

void FreeSavingTables(TVDRTFSavingData &savingData) {
    savingData.RTFTables.reset();
    savingData.StyleToFont.reset();
    savingData.ListOverrideOffsetsList1.reset();
    savingData.ListOverrideOffsetsList2.reset();
}

} // namespace

bool TCustomVDData::SaveRTFToStream(rtl::TStream &stream, bool selectionOnly, int32_t level,
                                    gfx::TColor color, TVDBackground *background,
                                    TVDRTFSavingData &savingData, TVDRTFDocType docType,
                                    bool completeDocument, bool hiddenParent, TCustomVDData *header,
                                    TCustomVDData *footer, TCustomVDData *firstPageHeader,
                                    TCustomVDData *firstPageFooter, TCustomVDData *evenPagesHeader,
                                    TCustomVDData *evenPagesFooter) {
    if (!selectionOnly) {
        DoBeforeSaving();
    }
    if (selectionOnly) {
        if (TCustomVDData *chosen = GetChosenVDData()) {
            return chosen->SaveRTFToStream(stream, true, level, color, background, savingData,
                                           docType, true, hiddenParent, nullptr, nullptr, nullptr,
                                           nullptr, nullptr, nullptr);
        }
    }
    if (ItemCount() == 0) {
        return true;
    }
    int32_t startItemNo = 0;
    int32_t startOffs = 0;
    int32_t endItemNo = -1;
    int32_t endOffs = 0;
    GetRangeForSaving(GetVDFSaveScope(selectionOnly), startItemNo, startOffs, endItemNo, endOffs);
    if (startItemNo < 0 || endItemNo < startItemNo || endItemNo >= ItemCount()) {
        return true;
    }
    const bool frame = level == 0 && completeDocument;
    bool result = true;
    int32_t progress = 0;
    const bool report = level == 0 && SaveProgressInit(progress, ItemCount(), vdloRTFWrite);
    try {
        if (frame) {
            CreateSavingTables(savingData);
        }
        // A table that ended an earlier save of this document must not eat a paragraph end.
        State.Exclude(vdstRTFSkipPar);
        TVDRTFDocWriter writer(*this, stream, savingData, level, docType, hiddenParent);
        if (frame) {
            TCustomVDData *const headers[6] = {header,          footer,          firstPageHeader,
                                               firstPageFooter, evenPagesHeader, evenPagesFooter};
            writer.WriteFrame(headers, color);
        }
        writer.WriteItems(startItemNo, startOffs, endItemNo, endOffs, selectionOnly);
        if (NotAddedCP) {
            writer.WriteEndBookmark(NotAddedCP->Name);
        }
        if (frame) {
            const bool toEnd = !selectionOnly || (endItemNo == ItemCount() - 1 &&
                                                  endOffs >= GetOffsAfterItem(endItemNo));
            RTFWrite(stream, toEnd ? "\\par}" : "}");
        }
    } catch (const rtl::Exception &) {
        result = false;
    }
    if (frame) {
        FreeSavingTables(savingData);
    }
    if (report) {
        SaveProgressDone(vdloRTFWrite);
    }
    return result;
}

} // namespace vizivodu
