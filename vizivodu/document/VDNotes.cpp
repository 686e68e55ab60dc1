// Sub-documents, note documents, note items, note references, the note finders and their
// registration.
#include "vizivodu/document/VDNotes.h"

#include "vizivodu/VDStartup_p.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/layout/printing/PtVDData.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

namespace vizivodu {

const TVDItemClassInfo TCustomVDNoteItemInfo::ClassInfo("TCustomVDNoteItemInfo",
                                                        &TVDSeqItemInfo::ClassInfo, nullptr);
const TVDItemClassInfo TVDFootOrEndnoteItemInfo::ClassInfo("TVDFootOrEndnoteItemInfo",
                                                           &TCustomVDNoteItemInfo::ClassInfo,
                                                           nullptr);
VD_DEFINE_ITEM_CLASS(TVDFootnoteItemInfo, TVDFootOrEndnoteItemInfo);
VD_DEFINE_ITEM_CLASS(TVDEndnoteItemInfo, TVDFootOrEndnoteItemInfo);
VD_DEFINE_ITEM_CLASS(TVDNoteReferenceItemInfo, TVDLabelItemInfo);

// ---- TVDSubData ----

TVDSubData::TVDSubData(TCustomVDItemInfo *owner, TCustomVDData *mainVDData)
    : MainVDData(mainVDData), FOwner(owner) {}

// The items leave this document's own lists while its overrides still answer.
TVDSubData::~TVDSubData() {
    Clear();
}

TCustomVDData *TVDSubData::GetRootData() {
    TCustomVDData *root = MainRoot();
    return root ? root : this;
}

TCustomVDData *TVDSubData::GetAbsoluteRootData() {
    return TVDSubData::GetRootData();
}

bool TVDSubData::UseStyleTemplates() {
    return MainVDData && MainVDData->UseStyleTemplates();
}

uint32_t TVDSubData::GetColor() {
    return FOwner ? FOwner->GetSubDocColor() : gfx::clNone;
}

TVDSeqList *TVDSubData::GetSeqList(bool allowCreate) {
    if (!FSeqList && allowCreate) {
        FSeqList = std::make_unique<TVDSeqList>();
    }
    return FSeqList.get();
}

void TVDSubData::DestroySeqList() {
    FSeqList.reset();
}

TVDMarkerList *TVDSubData::GetMarkers(bool allowCreate) {
    if (!FMarkers && allowCreate) {
        FMarkers = std::make_unique<TVDMarkerList>();
    }
    return FMarkers.get();
}

void TVDSubData::DestroyMarkers() {
    FMarkers.reset();
}

void TVDSubData::MovingToUndoList() {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        GetItem(i)->MovingToUndoList(i, this);
    }
}

void TVDSubData::MovingFromUndoList() {
    for (int32_t i = 0; i < ItemCount(); ++i) {
        GetItem(i)->MovingFromUndoList(i, this);
    }
}

// ---- TVDNoteData ----

TVDNoteData::TVDNoteData(TCustomVDNoteItemInfo *owner, TCustomVDData *mainVDData)
    : TVDSubData(owner, mainVDData) {}

TCustomVDNoteItemInfo &TVDNoteData::GetNoteOwner() const {
    return static_cast<TCustomVDNoteItemInfo &>(*GetOwner());
}

rtl::UnicodeString TVDNoteData::GetNoteText() {
    return GetNoteOwner().GetNoteText();
}

TVDStyle *TVDNoteData::GetVDStyle() {
    TCustomVDData *holder = GetNoteOwner().GetParentVDData();
    return holder && holder != this ? holder->GetVDStyle() : TVDSubData::GetVDStyle();
}

void TVDNoteFormattingData::SaveToStream(rtl::TStream &stream) const {
    const int32_t code = GetTypeCode();
    stream.WriteBuffer(&code, sizeof code);
}

// ---- TCustomVDNoteItemInfo ----

TCustomVDNoteItemInfo::TCustomVDNoteItemInfo(TCustomVDData *vdData, int32_t textStyleNo,
                                             int32_t startFrom, bool reset)
    : TVDSeqItemInfo(vdData, u"", vdseqDecimal, textStyleNo, startFrom, reset),
      FDocument(
          std::make_unique<TVDNoteData>(this, vdData ? vdData->GetAbsoluteRootData() : nullptr)) {}

// The document goes first: its items may still ask the note for the style sheet.
TCustomVDNoteItemInfo::~TCustomVDNoteItemInfo() {
    FDocument.reset();
}

uint32_t TCustomVDNoteItemInfo::GetSubDocColor() const {
    TCustomVDData *main = FDocument ? FDocument->MainVDData : nullptr;
    return main ? main->GetColor() : gfx::clNone;
}

bool TCustomVDNoteItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    switch (prop) {
    case vdbpFloating:
        return false;
    case vdbpKeepWithPrior:
    case vdbpIsNote:
        return true;
    default:
        return TVDSeqItemInfo::GetBoolValue(prop);
    }
}

void TCustomVDNoteItemInfo::MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) {
    TVDSeqItemInfo::MovingToUndoList(itemNo, vdData);
    FDocument->MovingToUndoList();
}

void TCustomVDNoteItemInfo::MovingFromUndoList(int32_t itemNo, TCustomVDData *vdData) {
    TVDSeqItemInfo::MovingFromUndoList(itemNo, vdData);
    FDocument->MovingFromUndoList();
}

void TCustomVDNoteItemInfo::SetParentVDData(TCustomVDData *value) {
    TVDSeqItemInfo::SetParentVDData(value);
    FDocument->MainVDData = value ? value->GetAbsoluteRootData() : nullptr;
}

void TCustomVDNoteItemInfo::MarkStylesInUse(TVDDeleteUnusedStylesData &data) {
    TVDSeqItemInfo::MarkStylesInUse(data);
    FDocument->DoMarkStylesInUse(data);
}

void TCustomVDNoteItemInfo::UpdateStyles(TVDDeleteUnusedStylesData &data) {
    TVDSeqItemInfo::UpdateStyles(data);
    FDocument->DoUpdateStyles(data);
}

void TCustomVDNoteItemInfo::ChangeParagraphStyles(const TVDIntegerList *paraMapList,
                                                  const TVDIntegerList *newIndices,
                                                  TVDIntegerList *oldIndices, int32_t &index) {
    TVDSeqItemInfo::ChangeParagraphStyles(paraMapList, newIndices, oldIndices, index);
    FDocument->ChangeParagraphStyles(paraMapList, newIndices, oldIndices, index);
}

void TCustomVDNoteItemInfo::ChangeTextStyles(const TVDIntegerList *textMapList,
                                             const TVDIntegerList *newIndices,
                                             TVDIntegerList *oldIndices, int32_t &index) {
    TVDSeqItemInfo::ChangeTextStyles(textMapList, newIndices, oldIndices, index);
    FDocument->ChangeTextStyles(textMapList, newIndices, oldIndices, index);
}

int32_t TCustomVDNoteItemInfo::GetVDFExtraPropertyCount() const {
    return TVDSeqItemInfo::GetVDFExtraPropertyCount() + (FormatString.empty() ? 0 : 1);
}

void TCustomVDNoteItemInfo::SaveVDFExtraProperties(rtl::TStream &stream) const {
    TVDSeqItemInfo::SaveVDFExtraProperties(stream);
    if (!FormatString.empty()) {
        WriteVDFExtraStrPropertyByName(stream, "format", FormatString);
    }
}

bool TCustomVDNoteItemInfo::SetExtraCustomProperty(std::string_view name,
                                                   const rtl::UnicodeString &value) {
    if (name == "format") {
        FormatString = value;
        return true;
    }
    return TVDSeqItemInfo::SetExtraCustomProperty(name, value);
}

// The note's own text is laid out in the document's units as well; leaving it behind would give
// its lengths the wrong size.
void TCustomVDNoteItemInfo::ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle,
                                                    bool recursive) {
    TVDSeqItemInfo::ConvertToDifferentUnits(newUnits, vdStyle, recursive);
    if (recursive) {
        FDocument->ConvertToDifferentUnits(static_cast<TVDStyleUnits>(newUnits), vdStyle, true);
    }
}

// The items are copied one by one (each copy made for this document), which keeps nested
// notes and their documents.
void TCustomVDNoteItemInfo::Assign(const TCustomVDItemInfo &source) {
    const auto *note = dynamic_cast<const TCustomVDNoteItemInfo *>(&source);
    if (note && note != this) {
        FDocument->Clear();
        FDocument->AppendFrom(*note->FDocument);
    }
    TVDSeqItemInfo::Assign(source);
}

void TCustomVDNoteItemInfo::SaveFormattingToStream(rtl::TStream &stream) {
    TVDSeqItemInfo::SaveFormattingToStream(stream);
    if (SVDFormattingData) {
        SVDFormattingData->SaveToStream(stream);
        return;
    }
    const int32_t none = 0;
    stream.WriteBuffer(&none, sizeof none);
}

void TCustomVDNoteItemInfo::LoadFormattingFromStream(rtl::TStream &stream) {
    TVDSeqItemInfo::LoadFormattingFromStream(stream);
    SVDFormattingData.reset();
    int32_t code = 0;
    stream.ReadBuffer(&code, sizeof code);
    if (code != 0) {
        throw rtl::EReadError(std::string_view("Stream read error"));
    }
}

// ---- Footnotes and endnotes ----

TVDFootnoteItemInfo::TVDFootnoteItemInfo(TCustomVDData *vdData)
    : TVDFootnoteItemInfo(vdData, 0, 0, false) {}

TVDFootnoteItemInfo::TVDFootnoteItemInfo(TCustomVDData *vdData, int32_t textStyleNo,
                                         int32_t startFrom, bool reset)
    : TVDFootOrEndnoteItemInfo(vdData, textStyleNo, startFrom, reset) {
    StyleNo = StyleNoFootnote;
    SeqName = u"@footnote@";
}

TVDSeqType TVDFootnoteItemInfo::GetNumberType() const {
    const TVDStyle *style = ParentStyle();
    return style ? style->GetFootnoteNumbering() : vdseqDecimal;
}

void TVDFootnoteItemInfo::CalcDisplayString(const TVDSeqList *list) {
    if (SVDCounter < 0) {
        TVDFootOrEndnoteItemInfo::CalcDisplayString(list);
    } else {
        SetText(ImposedNumberText());
    }
}

rtl::UnicodeString TVDFootnoteItemInfo::GetTextForPrintMeasuring(TCustomVDData *) {
    if (SVDCounter >= 0) {
        return ImposedNumberText();
    }
    const TVDStyle *style = ParentStyle();
    if (style && style->GetFootnotePageReset()) {
        return GetDisplayString(nullptr, 4);
    }
    return GetText();
}

bool TVDFootnoteItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop,
                                         const TVDStyle *vdStyle) const {
    if (prop == vdbpHasPrintingWidth) {
        return vdStyle && vdStyle->GetFootnotePageReset();
    }
    return TVDFootOrEndnoteItemInfo::GetBoolValueEx(prop, vdStyle);
}

std::unique_ptr<TVDDrawLineInfo>
TVDFootnoteItemInfo::CreatePrintingDrawItem(TCustomVDData *vdData, int32_t paraNo,
                                            PVDScreenAndDevice sad) {
    const TVDStyle *style = ParentStyle();
    if (style && style->GetFootnotePageReset()) {
        return std::make_unique<TVDFootnoteDrawItem>();
    }
    return TVDFootOrEndnoteItemInfo::CreatePrintingDrawItem(vdData, paraNo, sad);
}

rtl::UnicodeString TVDFootnoteItemInfo::GetTextForPrinting(TCustomVDData *vdData,
                                                           TVDDrawLineInfo *drawItem,
                                                           int32_t dispPageNo, int32_t pageCount) {
    const auto *reference = dynamic_cast<const TVDFootnoteDrawItem *>(drawItem);
    if (reference && reference->DocumentVDData) {
        return GetDisplayString(nullptr, reference->DocumentVDData->IndexOnPage);
    }
    return TVDFootOrEndnoteItemInfo::GetTextForPrinting(vdData, drawItem, dispPageNo, pageCount);
}

TVDEndnoteItemInfo::TVDEndnoteItemInfo(TCustomVDData *vdData)
    : TVDEndnoteItemInfo(vdData, 0, 0, false) {}

TVDEndnoteItemInfo::TVDEndnoteItemInfo(TCustomVDData *vdData, int32_t textStyleNo,
                                       int32_t startFrom, bool reset)
    : TVDFootOrEndnoteItemInfo(vdData, textStyleNo, startFrom, reset) {
    StyleNo = StyleNoEndnote;
    SeqName = u"@endnote@";
}

TVDSeqType TVDEndnoteItemInfo::GetNumberType() const {
    const TVDStyle *style = ParentStyle();
    return style ? style->GetEndnoteNumbering() : vdseqLowerRoman;
}

// ---- Note references ----

TVDNoteReferenceItemInfo::TVDNoteReferenceItemInfo(TCustomVDData *vdData)
    : TVDNoteReferenceItemInfo(vdData, 0) {}

TVDNoteReferenceItemInfo::TVDNoteReferenceItemInfo(TCustomVDData *vdData, int32_t textStyleNo)
    : TVDLabelItemInfo(vdData, textStyleNo, vdData ? vdData->GetNoteText() : rtl::UnicodeString()) {
    StyleNo = StyleNoNoteReference;
}

TCustomVDNoteItemInfo *TVDNoteReferenceItemInfo::GetOwnerNote() const {
    for (TCustomVDData *data = GetParentVDData(); data; data = data->GetAbsoluteParentData()) {
        if (auto *sub = dynamic_cast<TVDSubData *>(data)) {
            return dynamic_cast<TCustomVDNoteItemInfo *>(sub->GetOwner());
        }
    }
    return nullptr;
}

bool TVDNoteReferenceItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop,
                                              const TVDStyle *vdStyle) const {
    if (prop == vdbpHasPrintingWidth) {
        return vdStyle && vdStyle->GetFootnotePageReset() &&
               dynamic_cast<TVDFootnoteItemInfo *>(GetOwnerNote()) != nullptr;
    }
    return TVDLabelItemInfo::GetBoolValueEx(prop, vdStyle);
}

void TVDNoteReferenceItemInfo::OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli,
                                                bool printing, gfx::TCanvas &canvas,
                                                TCustomVDData *vdData, PVDScreenAndDevice sad,
                                                int32_t &hShift, int32_t &desc, bool noCaching,
                                                bool reformatting, bool useFormatCanvas) {
    if (TCustomVDData *parent = GetParentVDData()) {
        const rtl::UnicodeString noteText = parent->GetNoteText();
        if (noteText != GetText()) {
            SetText(noteText);
        }
    }
    TVDLabelItemInfo::OnDocWidthChange(docWidth, dli, printing, canvas, vdData, sad, hShift, desc,
                                       noCaching, reformatting, useFormatCanvas);
}

rtl::UnicodeString TVDNoteReferenceItemInfo::GetTextForPrinting(TCustomVDData *vdData,
                                                                TVDDrawLineInfo *, int32_t,
                                                                int32_t) {
    auto *printed = dynamic_cast<TVDFootnotePtblVDData *>(vdData);
    const TVDStyle *style = ParentStyle();
    if (printed && printed->Footnote && style && style->GetFootnotePageReset()) {
        return printed->Footnote->GetDisplayString(nullptr, printed->IndexOnPage);
    }
    TCustomVDData *parent = GetParentVDData();
    return parent ? parent->GetNoteText() : GetText();
}

// ---- Finders ----

TCustomVDNoteItemInfo *FindNextNote(TCustomVDData *vdData, const TCustomVDNoteItemInfo *note,
                                    TVDItemClass noteClass, bool allowHidden) {
    TVDSeqList *list = vdData ? vdData->GetSeqList(false) : nullptr;
    if (!list) {
        return nullptr;
    }
    int32_t from = 0;
    if (note) {
        from = list->IndexOf(note) + 1;
        if (from == 0) {
            return nullptr;
        }
    }
    const bool showHidden = allowHidden || vdData->GetOptions().Contains(vdoShowHiddenText);
    for (int32_t i = from; i < list->Count(); ++i) {
        TVDSeqItemInfo *item = list->Get(i);
        if (item->GetClass()->InheritsFrom(noteClass) && (showHidden || !item->Hidden)) {
            return static_cast<TCustomVDNoteItemInfo *>(item);
        }
    }
    return nullptr;
}

TVDFootnoteItemInfo *GetFirstFootnote(TCustomVDData *vdData, bool allowHidden) {
    return static_cast<TVDFootnoteItemInfo *>(
        FindNextNote(vdData, nullptr, &TVDFootnoteItemInfo::ClassInfo, allowHidden));
}

TVDFootnoteItemInfo *GetFirstFootnote(TCustomViziVodu &viziVodu, bool allowHidden) {
    return GetFirstFootnote(&viziVodu.GetVDData(), allowHidden);
}

TVDFootnoteItemInfo *GetNextFootnote(TCustomViziVodu &viziVodu, const TVDFootnoteItemInfo *footnote,
                                     bool allowHidden) {
    return static_cast<TVDFootnoteItemInfo *>(FindNextNote(
        &viziVodu.GetVDData(), footnote, &TVDFootnoteItemInfo::ClassInfo, allowHidden));
}

TVDEndnoteItemInfo *GetFirstEndnote(TCustomVDData *vdData, bool allowHidden) {
    return static_cast<TVDEndnoteItemInfo *>(
        FindNextNote(vdData, nullptr, &TVDEndnoteItemInfo::ClassInfo, allowHidden));
}

TVDEndnoteItemInfo *GetFirstEndnote(TCustomViziVodu &viziVodu, bool allowHidden) {
    return GetFirstEndnote(&viziVodu.GetVDData(), allowHidden);
}

TVDEndnoteItemInfo *GetNextEndnote(TCustomViziVodu &viziVodu, const TVDEndnoteItemInfo *endnote,
                                   bool allowHidden) {
    return static_cast<TVDEndnoteItemInfo *>(
        FindNextNote(&viziVodu.GetVDData(), endnote, &TVDEndnoteItemInfo::ClassInfo, allowHidden));
}

void startup::InitializeVDNotes() {
    RegisterItemType(StyleNoEndnote, &TVDEndnoteItemInfo::ClassInfo);
    RegisterItemType(StyleNoFootnote, &TVDFootnoteItemInfo::ClassInfo);
    RegisterItemType(StyleNoNoteReference, &TVDNoteReferenceItemInfo::ClassInfo);
}

} // namespace vizivodu
