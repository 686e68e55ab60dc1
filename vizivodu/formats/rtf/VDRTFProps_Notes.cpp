// RTF footnotes and endnotes into note items: the reference character, the note that replaces
// it with its own document, the turn of a footnote into an endnote, and the return to the
// document below when the note ends.
#include "vizivodu/formats/rtf/VDRTFProps.h"
#include "vizivodu/formats/rtf/VDRTFProps_Tables.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDStyle.h"

namespace vizivodu {

void TVDRTFReaderProperties::ReaderNote(TVDRTFNoteEventType what, TVDRTFPosition position) {
    switch (what) {
    case rtf_ne_Character:
        InsertNoteReference(position);
        break;
    case rtf_ne_Start:
        StartNoteDocument(position);
        break;
    case rtf_ne_EndNote:
        MakeEndnote();
        break;
    case rtf_ne_End:
        EndNoteDocument();
        break;
    }
}

int32_t TVDRTFReaderProperties::NoteTextStyle(int32_t paraNo) {
    if (TextStyleMode == vdrsUseSpecified) {
        return FTextStyleNo;
    }
    TFontInfo run(nullptr);
    InitNewTextStyle(run, UnicodeMode == vdruOnlyUnicode, paraNo);
    // The number of a note reference keeps its style while text is typed after it.
    run.SetProtection({vdprDoNotAutoSwitch});
    if (TextStyleMode == vdrsUseClosest) {
        return FindClosestTextStyle(run);
    }
    const int32_t count = FVDStyle->GetTextStyles().GetCount();
    const int32_t styleNo = FVDStyle->FindTextStyle(run);
    if (FVDStyle->GetTextStyles().GetCount() > count) {
        FCurrentVDData->AfterAddStyle(FVDStyle->GetTextStyles().GetItem(styleNo));
    }
    return styleNo;
}

void TVDRTFReaderProperties::InsertNoteReference(TVDRTFPosition position) {
    if (LineBreaksAsParagraphs && position == rtf_ts_NewLine) {
        position = rtf_ts_NewPara;
    }
    const int32_t paraNo = GetParaNoForPosition(position);
    const int32_t styleNo =
        FNoteCharTextStyleNo >= 0 ? FNoteCharTextStyleNo : NoteTextStyle(paraNo);
    FNoteCharTextStyleNo = -1;
    auto reference = std::make_unique<TVDNoteReferenceItemInfo>(FCurrentVDData, styleNo);
    reference->ParaNo = paraNo;
    reference->BeforeLoading(vdlfRTF);
    InsertRTFItem({}, std::move(reference), position);
}

// A note without a reference character has its mark in the text before it: the last
// character of that text becomes the note's own mark.
void TVDRTFReaderProperties::TakeNoteCharacter() {
    FNoteCustomChar.clear();
    TCustomVDData &doc = *FCurrentVDData;
    const int32_t last = doc.ItemCount() - 1;
    if (last < 0 || !doc.GetItem(last)->IsText()) {
        return;
    }
    rtl::UnicodeString text = doc.GetItemText(last);
    if (text.empty()) {
        return;
    }
    const char16_t c = text.back();
    text.pop_back();
    const bool pair = c >= 0xDC00 && c <= 0xDFFF && !text.empty() && text.back() >= 0xD800 &&
                      text.back() <= 0xDBFF;
    if (pair) {
        text.pop_back();
    }
    FNoteCustomChar = pair ? rtl::UnicodeString(u"?") : rtl::UnicodeString(1, c);
    doc.SetItemText(last, text);
    FNoteCharTextStyleNo = doc.GetItem(last)->StyleNo;
}

void TVDRTFReaderProperties::ReplaceNoteItem(TCustomVDData &doc, int32_t index,
                                             std::unique_ptr<TCustomVDItemInfo> item) {
    TCustomVDItemInfo *old = doc.GetItem(index);
    item->Tag = old->Tag;
    // A bookmark on the reference stays on the note.
    item->Checkpoint = old->Checkpoint;
    if (item->Checkpoint) {
        item->Checkpoint->ItemInfo = item.get();
    }
    old->Checkpoint = nullptr;
    TVDRawByteString text = doc.GetItemTextR(index);
    item->Inserting(&doc, text, true);
    item->ItemText = std::move(text);
    TCustomVDItemInfo &placed = *item;
    std::unique_ptr<TCustomVDItemInfo> freed = doc.GetItems().SetObject(index, std::move(item));
    doc.DoOnDeleteSpecialItem(*freed, false);
    doc.DoOnAddSpecialItem(index);
    placed.Inserted(&doc, index);
}

void TVDRTFReaderProperties::StartNoteDocument(TVDRTFPosition position) {
    TCustomVDData &doc = *FCurrentVDData;
    auto isReference = [&doc](int32_t i) {
        return i >= 0 && i < doc.ItemCount() && doc.GetItem(i)->StyleNo == StyleNoNoteReference;
    };
    if (!isReference(FLastNoteRefIndex)) {
        TakeNoteCharacter();
        InsertNoteReference(position);
    } else {
        FNoteCustomChar.clear();
    }
    const int32_t index = FLastNoteRefIndex;
    if (!isReference(index)) {
        return;
    }
    auto note = std::make_unique<TVDFootnoteItemInfo>(&doc, 0, 1, false);
    note->Assign(*doc.GetItem(index));
    if (!FNoteCustomChar.empty()) {
        note->FormatString = FNoteCustomChar;
    }
    TVDFootnoteItemInfo &placed = *note;
    ReplaceNoteItem(doc, index, std::move(note));
    FNotes.push_back(
        {&doc, FCurrentRow, FCurrentCol, FLastMarkerIndex, index, int32_t(FTables.size())});
    FLastMarkerIndex = -1;
    FCurrentRow = FCurrentCol = -1;
    FLastNoteRefIndex = -1;
    FCurrentVDData = &placed.GetDocument();
    FVDStyle = FCurrentVDData->GetVDStyle();
}

void TVDRTFReaderProperties::MakeEndnote() {
    if (FNotes.empty() || FNotes.back().TablesAtStart != int32_t(FTables.size())) {
        return; // a table open in the note holds the footnote's document: it stays a footnote
    }
    const TNoteSubData &entry = FNotes.back();
    TCustomVDData &below = *entry.PrevVDData;
    auto *footnote = dynamic_cast<TVDFootnoteItemInfo *>(below.GetItem(entry.NoteIndex));
    if (!footnote || FCurrentVDData != &footnote->GetDocument()) {
        return;
    }
    ReaderUpdateMarker();
    auto endnote = std::make_unique<TVDEndnoteItemInfo>(&below, 0, 1, false);
    endnote->Assign(*footnote); // the items read so far come along
    endnote->SeqName = u"@endnote@";
    TVDEndnoteItemInfo &placed = *endnote;
    ReplaceNoteItem(below, entry.NoteIndex, std::move(endnote));
    FCurrentVDData = &placed.GetDocument();
    FLastNoteRefIndex = -1;
}

void TVDRTFReaderProperties::EndNoteDocument() {
    if (FNotes.empty()) {
        return;
    }
    ReaderUpdateMarker();
    FCurrentVDData->MassSimpleConcateAll();
    const TNoteSubData entry = FNotes.back();
    FNotes.pop_back();
    FCurrentVDData = entry.PrevVDData;
    FCurrentRow = entry.ParentRow;
    FCurrentCol = entry.ParentCol;
    FLastMarkerIndex = entry.LastMarkerIndex;
    FLastNoteRefIndex = -1;
    FVDStyle = FCurrentVDData->GetVDStyle();
    FCurrentVDData->AfterReadNote(FCurrentVDData, entry.NoteIndex);
}

} // namespace vizivodu
