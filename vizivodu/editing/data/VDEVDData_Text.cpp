// Inserting text with line structure, the native format and RTF at the caret: the first item
// through the editing insertion, the rest put in place and recorded as one run, then joined
// with their neighbours.
#include "vizivodu/editing/data/VDEVDData.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/formats/rtf/VDRTFProps.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"

#include <algorithm>

namespace vizivodu {

namespace {

struct TTextPiece {
    std::u16string Text;
    bool Tab = false;
    bool NewPara = false;
    bool NewLine = false;
    bool PageBreak = false;
};

// Cuts text at its separators; a CR LF or LF CR pair counts once.
std::vector<TTextPiece> CutIntoPieces(const std::u16string &text, bool tabItems,
                                      int32_t spacesInTab, bool pageBreaks) {
    std::vector<TTextPiece> pieces(1);
    auto start = [&](bool para, bool line, bool pageBreak) {
        TTextPiece next;
        next.NewPara = para;
        next.NewLine = line;
        next.PageBreak = pageBreak;
        pieces.push_back(next);
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (i + 1 < text.size() && text[i + 1] != c &&
                (text[i + 1] == u'\r' || text[i + 1] == u'\n')) {
                ++i;
            }
            start(true, false, false);
        } else if (c == u'\v' || c == u'\u2028') {
            start(false, true, false);
        } else if (c == u'\f') {
            start(true, false, pageBreaks);
        } else if (c == u'\u2029') {
            start(true, false, false);
        } else if (c == u'\t' && tabItems) {
            start(false, false, false);
            pieces.back().Tab = true;
            start(false, false, false);
        } else if (c == u'\t') {
            pieces.back().Text.append(static_cast<size_t>(spacesInTab), u' ');
        } else {
            pieces.back().Text.push_back(c);
        }
    }
    // Empty pieces add nothing unless they are the first or carry a line start.
    std::vector<TTextPiece> kept;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i == 0 || pieces[i].Tab || !pieces[i].Text.empty() || pieces[i].NewPara ||
            pieces[i].NewLine) {
            kept.push_back(std::move(pieces[i]));
        }
    }
    return kept;
}

// A scratch document on the editor's style sheet that RTF is read into.
class TRTFScratch : public TCustomVDData {
public:
    explicit TRTFScratch(TCustomVDData &target) : FTarget(target) {}
    TVDStyle *GetVDStyle() override { return FTarget.GetVDStyle(); }
    TVDRTFReaderProperties *GetRTFReadProperties() override {
        return FTarget.GetRTFReadProperties();
    }

private:
    TCustomVDData &FTarget;
};

} // namespace

std::unique_ptr<TCustomVDItemInfo> TVDEditVDData::MakePieceItem(const std::u16string &text,
                                                                bool tab) {
    if (tab) {
        std::unique_ptr<TCustomVDItemInfo> item = CreateItemForStyleNo(StyleNoTab, this);
        item->SetAssociatedTextStyleNo(FCurTextStyleNo);
        item->ParaNo = FCurParaStyleNo;
        return item;
    }
    std::unique_ptr<TCustomVDItemInfo> item = CreateEmptyTextItem(FCurTextStyleNo, FCurParaStyleNo);
    const TVDRawByteString raw = StringToRawUnicode(text);
    item->ItemText = item->ItemOptions.Contains(vdioUnicode)
                         ? raw
                         : RawUnicodeToAnsi(GetStyleCodePage(GetActualCurStyleNo()), raw);
    return item;
}

void TVDEditVDData::InsertTextW_(const TVDRawByteString &text, bool autoTag, bool caretBefore) {
    CheckUnicodeByteLength(text.size());
    std::u16string u = RawUnicodeToString(text);
    if (!u.empty() && u[0] == u'\uFFFE') {
        for (char16_t &ch : u) {
            ch = static_cast<char16_t>((ch << 8) | (ch >> 8));
        }
    }
    if (!u.empty() && u[0] == u'\uFEFF') {
        u.erase(0, 1);
    }
    if (u.empty()) {
        Invalidate();
        return;
    }
    const int32_t spaces = GetVDStyle()->GetSpacesInTab();
    std::vector<TTextPiece> pieces = CutIntoPieces(u, spaces < 1, spaces, AllowsPageBreaks());
    std::unique_ptr<TCustomVDItemInfo> first = MakePieceItem(pieces[0].Text, pieces[0].Tab);
    TVDRawByteString s = first->ItemText, split;
    if (!InsertSomething(std::move(first), s, split, autoTag, false, true)) {
        return;
    }
    const int32_t insertPoint = GetCurItemNo();
    int32_t startDI = 0, endDI = 0;
    GetParaDrawRange(insertPoint, insertPoint, startDI, endDI);
    int32_t index = insertPoint + 1;
    for (size_t i = 1; i < pieces.size(); ++i) {
        std::unique_ptr<TCustomVDItemInfo> item = MakePieceItem(pieces[i].Text, pieces[i].Tab);
        item->SetSameAsPrev(!pieces[i].NewPara && !pieces[i].NewLine);
        item->SetBR(pieces[i].NewLine);
        if (pieces[i].PageBreak) {
            item->SetPageBreakBefore(true);
        }
        if (autoTag && item->IsText() && CanKeepTagForStyle(FCurTagStyleNo, item->StyleNo)) {
            item->Tag = FCurTag;
        }
        TCustomVDItemInfo &added = *item;
        TVDRawByteString itemText = item->ItemText;
        added.Inserting(this, itemText, false);
        GetItems().InsertObject(index, itemText, std::move(item));
        added.Inserted(this, index);
        DoOnAddSpecialItem(index);
        ++index;
    }
    FinishTextInsert(insertPoint, index - insertPoint - 1, caretBefore, false, startDI, endDI);
}

void TVDEditVDData::FinishTextInsert(int32_t insertPoint, int32_t further, bool caretBefore,
                                     bool fullReformat, int32_t startDI, int32_t endDI) {
    bool fr = false;
    TVDUndoInsertItemsInfo *ui = Do_InsertItems_1(insertPoint + 1, further);
    Do_InsertItems_2(insertPoint + 1, further, ui, fr);
    fullReformat = fullReformat || fr;
    int32_t lastInserted = insertPoint + further;
    int32_t offs = GetOffsAfterItem(lastInserted);
    int32_t itemsAdded = further;
    int32_t firstItem = insertPoint;
    ConcateAfterAdding(firstItem, lastInserted, offs, itemsAdded);
    if (CalculateMinItemsWidthPlusEx(firstItem, lastInserted) > DocumentWidth) {
        fullReformat = true;
    }
    Reformat_(fullReformat, startDI, endDI, itemsAdded);
    if (caretBefore) {
        ShowCaretAt(firstItem, GetOffsBeforeItem(firstItem));
    } else {
        ShowCaretAt(lastInserted, offs);
    }
    Change();
}

void TVDEditVDData::ConcateAfterAdding(int32_t &insertPoint, int32_t &lastInserted, int32_t &offs,
                                       int32_t &itemsAdded) {
    if (lastInserted + 1 < ItemCount() && CanConcateItems(lastInserted, GetItem(lastInserted),
                                                          GetItem(lastInserted + 1), false, true)) {
        const bool emptyFirst =
            GetItem(lastInserted)->IsText() && GetItem(lastInserted)->ItemText.empty();
        Do_Concate(lastInserted);
        --itemsAdded;
        if (emptyFirst) {
            offs = GetOffsBeforeItem(lastInserted);
        }
    }
    bool adjusting = true;
    for (int32_t i = lastInserted; i > insertPoint; --i) {
        if (!CanConcateItems(i - 1, GetItem(i - 1), GetItem(i), false, false)) {
            adjusting = false;
            continue;
        }
        if (adjusting) {
            offs += ItemLength(i - 1);
        }
        Do_Concate(i - 1);
        --itemsAdded;
        --lastInserted;
    }
    if (insertPoint > 0 && CanConcateItems(insertPoint - 1, GetItem(insertPoint - 1),
                                           GetItem(insertPoint), false, false)) {
        const int32_t before = ItemLength(insertPoint - 1);
        Do_Concate(insertPoint - 1);
        --itemsAdded;
        if (lastInserted == insertPoint) {
            offs += before;
        }
        --insertPoint;
        --lastInserted;
    }
}

// ---- The native format and RTF ----

bool TVDEditVDData::InsertFirstVDFItem(int32_t &index, TVDRawByteString &s,
                                       std::unique_ptr<TCustomVDItemInfo> &item, bool editFlag,
                                       bool &fullReformat, int32_t &newListNo) {
    if (!editFlag) {
        return TViziVoduVDData::InsertFirstVDFItem(index, s, item, editFlag, fullReformat,
                                                   newListNo);
    }
    fullReformat = false;
    newListNo = -1;
    TCustomVDItemInfo *cur = GetCurItem();
    if (item->StyleNo == StyleNoListMarker && !(cur && cur->IsText() && cur->ItemText.empty())) {
        // The editing insertion would drop the marker, which the reader still refers to.
        Beep();
        return false;
    }
    TVDRawByteString split;
    if (!InsertSomething(std::move(item), s, split, false, false, false)) {
        return false;
    }
    index = GetCurItemNo();
    FVDFInserted = true;
    FInsertedFirstIndex = index;
    FItemCountAfterFirst = ItemCount();
    GetParaDrawRange(index, index, FInsertStartDI, FInsertEndDI);
    return true;
}

bool TVDEditVDData::InsertVDFFromStreamEd_(rtl::TStream &stream) {
    const int32_t itemNo = GetCurItemNo();
    const int32_t offs = GetOffsetInCurItem();
    int32_t index = itemNo;
    if (offs >= GetOffsAfterItem(itemNo)) {
        ++index;
    }
    BeginUndoSequence(vdutInsert, true);
    FVDFInserted = false;
    uint32_t color = GetColor();
    bool failed = false, fullReformat = false;
    int32_t nonFirst = 0;
    const bool ok = ReadVDFFromStream(stream, index, true, false, false, -1, color, nullptr,
                                      nullptr, failed, nonFirst, fullReformat);
    if (FVDFInserted) {
        // What the reader placed is recorded also when it failed part-way, so that undo
        // removes exactly what came in.
        FinishTextInsert(FInsertedFirstIndex, ItemCount() - FItemCountAfterFirst, false,
                         fullReformat, FInsertStartDI, FInsertEndDI);
    }
    if (!ok) {
        Format(false, false);
        Invalidate();
        Beep();
    }
    return ok;
}

bool TVDEditVDData::InsertRTFFromStreamEd_(rtl::TStream &stream) {
    if (stream.GetPosition() >= stream.GetSize()) {
        return true;
    }
    TVDRTFReaderProperties *props = GetRTFReadProperties();
    if (!props) {
        return false;
    }
    TRTFScratch scratch(*this);
    const TVDRTFErrorCode code = props->ReadFromStream(stream, scratch, false);
    if (code != rtf_ec_OK) {
        Format(false, false);
        Invalidate();
        Beep();
        return false;
    }
    if (scratch.ItemCount() == 0) {
        return true;
    }
    rtl::TMemoryStream vdf;
    if (!scratch.SaveVDFToStream(vdf, false, 0x1FFFFFFF, nullptr, nullptr, false)) {
        Beep();
        return false;
    }
    vdf.Seek(0, rtl::soBeginning);
    return InsertVDFFromStreamEd_(vdf);
}

} // namespace vizivodu
