// Plain-text files of a document: loading 8-bit and UTF-16 text, saving the document as text.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/formats/common/VDFuncs_Symbol.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/SafeSave.h"
#include "platform/rtl/StrUtils.h"

namespace vizivodu {

namespace {

// The stream from its position to its end; a stream that claims more than a string can hold
// is refused before anything is allocated.
std::string ReadRest(rtl::TStream &stream) {
    const int64_t rest = stream.GetSize() - stream.GetPosition();
    std::string buffer;
    if (rest > 0) {
        if (rest > INT32_MAX) {
            throw EViziVoduError(u"The text file is too large");
        }
        buffer.resize(static_cast<size_t>(rest));
        stream.ReadBuffer(buffer.data(), static_cast<int32_t>(rest));
    }
    return buffer;
}

enum class TSymbolFont { None, Symbol, Wingdings };

TSymbolFont SymbolFontOf(TVDStyle *style, int32_t styleNo) {
    if (style == nullptr || styleNo < 0 || styleNo >= style->GetTextStyles().GetCount()) {
        return TSymbolFont::None;
    }
    const rtl::UnicodeString name =
        rtl::AnsiUpperCase(style->GetTextStyles().GetItem(styleNo).GetFontName());
    if (name == u"SYMBOL") {
        return TSymbolFont::Symbol;
    }
    return name == u"WINGDINGS" ? TSymbolFont::Wingdings : TSymbolFont::None;
}

// Writes the pieces of a text save in the chosen encoding.
class TTextOut {
public:
    TTextOut(rtl::TStream &stream, bool unicode) : FStream(stream), FUnicode(unicode) {}

    void Bytes(std::string_view bytes) {
        if (!bytes.empty()) {
            FStream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
        }
    }
    void LineEnd() { Bytes(FUnicode ? std::string_view("\r\0\n\0", 4) : "\r\n"); }
    // 8-bit text of codePage in the output's encoding.
    void Ansi(std::string_view text, TVDCodePage codePage) {
        Bytes(FUnicode ? AnsiToRawUnicode(codePage, text) : std::string(text));
    }

private:
    rtl::TStream &FStream;
    bool FUnicode;
};

// A text item's stored characters from the 1-based offset from to the offset to (exclusive).
TVDRawByteString TextPart(const TCustomVDItemInfo &item, int32_t from, int32_t to) {
    const size_t unit = item.ItemOptions.Contains(vdioUnicode) ? 2 : 1;
    const size_t length = item.ItemText.size() / unit;
    const size_t first = std::min(length, static_cast<size_t>(std::max(from - 1, 0)));
    const size_t last = std::min(length, static_cast<size_t>(std::max(to - 1, 0)));
    if (last <= first) {
        return {};
    }
    return item.ItemText.substr(first * unit, (last - first) * unit);
}

// One document's items as text (SaveTextToStream).
class TTextSaver {
public:
    TTextSaver(TCustomVDData &data, TTextOut &out, const rtl::UnicodeString &path,
               int32_t lineWidth, bool textOnly, bool unicode, TVDCodePage codePage)
        : FData(data), FOut(out), FPath(path), FLineWidth(lineWidth), FTextOnly(textOnly),
          FUnicode(unicode), FCodePage(codePage) {}

    void TextItem(int32_t itemNo, int32_t from, int32_t to) {
        TCustomVDItemInfo &item = *FData.GetItem(itemNo);
        TVDRawByteString text;
        if (!(FTextOnly && FData.IsHiddenItem(itemNo))) {
            text = TextPart(item, from, to);
        }
        if (FData.SaveItemToFile(FPath, &FData, itemNo, vdsfText, FUnicode, text)) {
            FOut.Bytes(text);
            return;
        }
        const int32_t styleNo = FData.GetActualStyle(item);
        const TSymbolFont symbol = SymbolFontOf(FData.GetVDStyle(), styleNo);
        if (item.ItemOptions.Contains(vdioUnicode)) {
            if (!FUnicode) {
                FOut.Bytes(RawUnicodeToAnsi(FCodePage, text));
            } else if (symbol == TSymbolFont::Symbol) {
                FOut.Bytes(SymbolRawToUnicodeRaw(text));
            } else if (symbol == TSymbolFont::Wingdings) {
                FOut.Bytes(WingdingsRawToUnicodeRaw(text));
            } else {
                FOut.Bytes(text);
            }
        } else if (FUnicode && symbol == TSymbolFont::Symbol) {
            FOut.Bytes(SymbolAnsiToUnicodeRaw(text));
        } else if (FUnicode && symbol == TSymbolFont::Wingdings) {
            FOut.Bytes(WingdingsAnsiToUnicodeRaw(text));
        } else {
            FOut.Ansi(text, FData.GetStyleCodePage(styleNo));
        }
    }

    void OtherItem(int32_t itemNo) {
        TCustomVDItemInfo &item = *FData.GetItem(itemNo);
        if (FTextOnly && (FData.IsHiddenItem(itemNo) || !item.GetBoolValue(vdbpAlwaysInText))) {
            return;
        }
        TVDRawByteString text;
        if (FData.SaveItemToFile(FPath, &FData, itemNo, vdsfText, FUnicode, text)) {
            FOut.Bytes(text);
            return;
        }
        const bool ownUnicode = item.GetBoolValue(vdbpCanSaveUnicode);
        text = item.AsText(FLineWidth, &FData, item.ItemText, FTextOnly, FUnicode && ownUnicode,
                           FCodePage);
        if (FUnicode && !ownUnicode) {
            FOut.Ansi(text, FData.GetDefaultCodePage());
        } else {
            FOut.Bytes(text);
        }
    }

private:
    TCustomVDData &FData;
    TTextOut &FOut;
    const rtl::UnicodeString &FPath;
    int32_t FLineWidth;
    bool FTextOnly;
    bool FUnicode;
    TVDCodePage FCodePage;
};

// The endnotes after the text of a root document, below a rule of "-".
void SaveEndnotes(TCustomVDData &data, TTextOut &out, const rtl::UnicodeString &path,
                  rtl::TStream &stream, int32_t lineWidth, bool textOnly, bool unicode,
                  TVDCodePage codePage) {
    const TVDItemClass endnoteClass = &TVDEndnoteItemInfo::ClassInfo;
    TCustomVDNoteItemInfo *note = FindNextNote(&data, nullptr, endnoteClass, false);
    if (note == nullptr) {
        return;
    }
    out.LineEnd();
    if (lineWidth > 2) {
        out.Ansi(std::string(static_cast<size_t>(lineWidth / 3), '-'), 0);
    }
    out.LineEnd();
    for (bool first = true; note != nullptr; first = false) {
        if (!first) {
            out.LineEnd();
        }
        note->GetDocument().SaveTextToStream(path, stream, 0, false, textOnly, unicode, false,
                                             codePage, false);
        note = FindNextNote(&data, note, endnoteClass, false);
    }
}

} // namespace

bool TCustomVDData::LoadTextFromStream(rtl::TStream &stream, int32_t styleNo, int32_t paraNo,
                                       bool asSingleParagraph, TVDCodePage codePage) {
    try {
        if (stream.GetPosition() >= stream.GetSize()) {
            return true;
        }
        TVDAnsiString text = ReadRest(stream);
        // A UTF-8 signature is not text.
        if (codePage == rtl::CP_UTF8 && text.starts_with("\xEF\xBB\xBF")) {
            text.erase(0, 3);
        }
        ReplaceZeroChars(text);
        return AddTextNLARaw(text, styleNo, paraNo, paraNo, asSingleParagraph, true, codePage, {});
    } catch (const rtl::Exception &) {
        return false;
    }
}

bool TCustomVDData::LoadText(const rtl::UnicodeString &fileName, int32_t styleNo, int32_t paraNo,
                             bool asSingleParagraph, TVDCodePage codePage) {
    try {
        rtl::TFileStream stream(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
        return LoadTextFromStream(stream, styleNo, paraNo, asSingleParagraph, codePage);
    } catch (const rtl::Exception &) {
        return false;
    }
}

bool TCustomVDData::LoadTextFromStreamW(rtl::TStream &stream, int32_t styleNo, int32_t paraNo,
                                        bool defAsSingleParagraph) {
    try {
        AddTextNLWRaw(ReadRest(stream), styleNo, paraNo, paraNo, defAsSingleParagraph);
    } catch (const rtl::Exception &) {
        return false;
    }
    return true;
}

bool TCustomVDData::LoadTextW(const rtl::UnicodeString &fileName, int32_t styleNo, int32_t paraNo,
                              bool defAsSingleParagraph) {
    rtl::TFileStream stream(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    return LoadTextFromStreamW(stream, styleNo, paraNo, defAsSingleParagraph);
}

bool TCustomVDData::SaveTextToStream(const rtl::UnicodeString &path, rtl::TStream &stream,
                                     int32_t lineWidth, bool selectionOnly, bool textOnly,
                                     bool unicode, bool unicodeWriteSignature, TVDCodePage codePage,
                                     bool root) {
    int32_t progress = 0;
    bool progressStarted = false;
    try {
        if (codePage == 0) {
            codePage = GetDefaultCodePage();
        }
        if (!selectionOnly) {
            DoBeforeSaving();
        }
        if (TCustomVDItemInfo *owner = GetItemSavingRange(GetVDFSaveScope(selectionOnly))) {
            owner->SaveTextSelection(stream, this, lineWidth, path, textOnly, unicode, codePage);
            return true;
        }
        int32_t startNo = -1, startOffs = 0, endNo = -1, endOffs = 0;
        if (ItemCount() > 0) {
            GetRangeForSaving(GetVDFSaveScope(selectionOnly), startNo, startOffs, endNo, endOffs);
        }
        if (startNo < 0 || endNo < startNo || endNo >= ItemCount()) {
            return true;
        }
        if (root) {
            progressStarted = SaveProgressInit(progress, endNo - startNo, vdloTextWrite);
        }
        TTextOut out(stream, unicode);
        if (unicode && unicodeWriteSignature) {
            out.Bytes(std::string_view("\xFF\xFE", 2));
        }
        TTextSaver saver(*this, out, path, lineWidth, textOnly, unicode, codePage);
        const int32_t paraStart = GetFirstParaItem(startNo);
        if (selectionOnly && paraStart != startNo &&
            GetItem(paraStart)->StyleNo == StyleNoListMarker) {
            saver.OtherItem(paraStart);
        }
        for (int32_t i = startNo; i <= endNo; ++i) {
            TCustomVDItemInfo &item = *GetItem(i);
            if (i > startNo && !(textOnly && IsHiddenItem(i)) && !item.GetSameAsPrev()) {
                out.LineEnd();
            }
            const int32_t from = i == startNo ? startOffs : GetOffsBeforeItem(i);
            const int32_t to = i == endNo ? endOffs : GetOffsAfterItem(i);
            if (item.IsText()) {
                saver.TextItem(i, from, to);
            } else if (from < to) {
                saver.OtherItem(i);
            }
            if (progressStarted && i > startNo && i < endNo) {
                SaveProgressRun(progress, i - startNo, endNo - startNo, vdloTextWrite);
            }
        }
        if (!selectionOnly && !textOnly && GetFlags().Contains(vdflRoot)) {
            SaveEndnotes(*this, out, path, stream, lineWidth, textOnly, unicode, codePage);
        }
    } catch (const rtl::Exception &) {
        if (progressStarted) {
            SaveProgressDone(vdloTextWrite);
        }
        return false;
    }
    if (progressStarted) {
        SaveProgressDone(vdloTextWrite);
    }
    return true;
}

bool TCustomVDData::SaveText(const rtl::UnicodeString &fileName, int32_t lineWidth, bool unicode,
                             TVDCodePage codePage) {
    return rtl::TrySaveFileSafely(fileName, [&](rtl::TStream &stream) {
        return SaveTextToStream(rtl::ExtractFilePath(fileName), stream, lineWidth, false, false,
                                unicode, unicode, codePage, true);
    });
}

} // namespace vizivodu
