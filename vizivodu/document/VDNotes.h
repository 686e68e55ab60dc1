// Sub-documents and notes: the document an item owns (TVDSubData) and a note's document
// (TVDNoteData), which answer every question about their place in the tree with the top
// document; the note items (footnotes -203, endnotes -204), numbered as sequence items and shown
// as labels; note references (-205), which show the number of the note they stand in; and the
// note finders that walk a document's notes in sequence-list order.
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDSeqItem.h"

#include <memory>
#include <vector>

namespace rtl {
class TStream;
}

namespace vizivodu {

class TVDDocXSavingData;

class TCustomViziVodu;
class TCustomVDNoteItemInfo;

// A document that belongs to an item. Its parent, root, absolute parent and absolute root are
// all the absolute root of the document that holds the item (itself while it has none), so
// options, events and the style sheet come from the top of the tree. It keeps its own sequence
// and marker lists (its numbers count apart from the main text's) and no print fields.
class TVDSubData : public TCustomVDData {
public:
    // owner and mainVDData are not owned.
    TVDSubData(TCustomVDItemInfo *owner, TCustomVDData *mainVDData);
    ~TVDSubData() override;

    // The document the owner lives in; repointed when the owner moves.
    TCustomVDData *MainVDData = nullptr;
    TCustomVDItemInfo *GetOwner() const { return FOwner; }

    TVDFlags GetFlags() override { return FFlags; }
    void SetFlags(TVDFlags value) override { FFlags = value; }
    TCustomVDData *GetParentData() override { return MainRoot(); }
    TCustomVDData *GetRootData() override;
    TCustomVDData *GetAbsoluteParentData() override { return MainRoot(); }
    TCustomVDData *GetAbsoluteRootData() override;
    bool UseStyleTemplates() override;
    // The owner's colour for its sub-documents.
    uint32_t GetColor() override;
    TVDSeqList *GetSeqList(bool allowCreate) override;
    void DestroySeqList() override;
    TVDMarkerList *GetMarkers(bool allowCreate) override;
    void DestroyMarkers() override;
    std::vector<TCustomVDItemInfo *> *GetPrintFieldList(bool) override { return nullptr; }
    void DestroyPrintFieldList() override {}

    // Every item of the document, in order, moves to (or back from) an undo list.
    void MovingToUndoList();
    void MovingFromUndoList();

private:
    TCustomVDData *MainRoot() const {
        return MainVDData ? MainVDData->GetAbsoluteRootData() : nullptr;
    }

    TVDFlags FFlags{vdflTrim, vdflMouseXYAlwaysCorrect, vdflCanUseCustomPPI};
    TCustomVDItemInfo *FOwner;
    std::unique_ptr<TVDSeqList> FSeqList;
    std::unique_ptr<TVDMarkerList> FMarkers;
};

// The document of a note, sidenote or text box; its owner is a note item.
class TVDNoteData : public TVDSubData {
public:
    TVDNoteData(TCustomVDNoteItemInfo *owner, TCustomVDData *mainVDData);

    TCustomVDNoteItemInfo &GetNoteOwner() const;
    // The owner's number text (what a note reference inside shows).
    rtl::UnicodeString GetNoteText() override;
    // The number text for printing: the note text (nothing assigns another).
    rtl::UnicodeString GetNoteTextForPrinting() { return GetNoteText(); }
    // The style sheet of the document that holds the owner.
    TVDStyle *GetVDStyle() override;
};

// Formatting data that an outside page-layout component may keep per note. Nothing in this
// system supplies such a component, so notes never hold any.
class TVDNoteFormattingData {
public:
    virtual ~TVDNoteFormattingData() = default;
    virtual int32_t GetTypeCode() const = 0;
    // The type code as Int32, then the descendant's own fields.
    virtual void SaveToStream(rtl::TStream &stream) const;
    virtual void LoadFromStream(rtl::TStream &stream) = 0;
};

// A note: a sequence item that owns its document (made by the constructor, freed with the item).
class TCustomVDNoteItemInfo : public TVDSeqItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    ~TCustomVDNoteItemInfo() override;

    TVDNoteData &GetDocument() const { return *FDocument; }
    // Formatting data of an outside page-layout component (never supplied: stays null).
    std::unique_ptr<TVDNoteFormattingData> SVDFormattingData;
    // A number imposed by that component; -1: none.
    int32_t SVDCounter = -1;

    // The displayed number (a text box shows "?" instead).
    virtual rtl::UnicodeString GetNoteText() const { return GetText(); }
    // Whether the box keeps its own height when laid out (notes grow with their text).
    virtual bool IsFixedHeight() const { return false; }

    // The colour of the document that holds the note.
    uint32_t GetSubDocColor() const override;
    // vdbpFloating false; vdbpKeepWithPrior and vdbpIsNote true.
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    // The note's document moves with the note.
    void MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) override;
    void MovingFromUndoList(int32_t itemNo, TCustomVDData *vdData) override;
    // The note's document follows to the absolute root of the new parent.
    void SetParentVDData(TCustomVDData *value) override;
    // Styles used only inside the note count as used and are renumbered there too.
    void MarkStylesInUse(TVDDeleteUnusedStylesData &data) override;
    void UpdateStyles(TVDDeleteUnusedStylesData &data) override;
    // The note's own tables, then its document's (formats/rtf/).
    void FillRTFTables(TCustomVDRTFTables *rtfTables, TVDIntegerList *listOverrideCountList,
                       TCustomVDData *vdData) override;
    void ChangeParagraphStyles(const TVDIntegerList *paraMapList, const TVDIntegerList *newIndices,
                               TVDIntegerList *oldIndices, int32_t &index) override;
    void ChangeTextStyles(const TVDIntegerList *textMapList, const TVDIntegerList *newIndices,
                          TVDIntegerList *oldIndices, int32_t &index) override;
    // The label's lines, then "format" with FormatString when it is not empty.
    int32_t GetVDFExtraPropertyCount() const override;
    void SaveVDFExtraProperties(rtl::TStream &stream) const override;
    // ---- HTML (bodies in formats/html/) ----
    void SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                    const TVDRawByteString &text, TVDHTMLSaveArgs &args) override;
    // The anchor of the note's text in an HTML file ("" here).
    virtual rtl::UnicodeString GetHTMLAnchorName(TCustomVDData *vdData);
    // "format" sets FormatString; other names go to the label.
    bool SetExtraCustomProperty(std::string_view name, const rtl::UnicodeString &value) override;
    // With recursive, the note's document converts its items too.
    void ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle, bool recursive) override;
    // From another note its document's items are copied too.
    void Assign(const TCustomVDItemInfo &source) override;
    // The label's record, then the formatting data's, or Int32 0 without data. Reading data
    // of a non-zero type raises EReadError: no component here knows its size.
    void SaveFormattingToStream(rtl::TStream &stream) override;
    void LoadFormattingFromStream(rtl::TStream &stream) override;

protected:
    TCustomVDNoteItemInfo(TCustomVDData *vdData, int32_t textStyleNo, int32_t startFrom,
                          bool reset);
    // The number text of SVDCounter in the note's numbering.
    rtl::UnicodeString ImposedNumberText() const { return GetDisplayString(nullptr, SVDCounter); }

private:
    std::unique_ptr<TVDNoteData> FDocument;

public:
    // The label's four lines, Reset, StartFrom, the name, the extra properties, then the note's
    // document (a binary block or one hex line).
    void SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t paraNo,
                 const TVDRawByteString &name, TVDMultiDrawItemPart *part, bool forceSameAsPrev,
                 PVDScreenAndDevice sad) override;
    bool ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType, int32_t lineNo,
                     int32_t lineCount, TVDRawByteString &name, TVDFReadMode &readMode,
                     TVDFReadState &readState, bool utf8, bool &assStyleNameUsed) override;
};

// What footnotes and endnotes share (their file output).
class TVDFootOrEndnoteItemInfo : public TCustomVDNoteItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // ---- DOCX (formats/ooxml/) ----
    void SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                   TVDDocXSavingData &savingData, bool hiddenParent) override;
    void SaveOOXMLBeforeRun(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                            TVDDocXSavingData &savingData, bool hiddenParent) override;
    void SaveOOXMLAfterRun(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                           TVDDocXSavingData &savingData, bool hiddenParent) override;
    // ---- RTF (formats/rtf/) ----
    void SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t level,
                 TVDRTFSavingData &savingData, TVDRTFDocType docType, bool hiddenParent) override;

protected:
    using TCustomVDNoteItemInfo::TCustomVDNoteItemInfo;
};

// A footnote (-203), in the sequence "@footnote@", numbered in the style sheet's
// FootnoteNumbering. While the sheet's FootnotePageReset is on its numbers restart on every
// page: they are known only when pages are made, so it is measured for printing as the number 4.
class TVDFootnoteItemInfo : public TVDFootOrEndnoteItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    explicit TVDFootnoteItemInfo(TCustomVDData *vdData);
    TVDFootnoteItemInfo(TCustomVDData *vdData, int32_t textStyleNo, int32_t startFrom, bool reset);

    TVDSeqType GetNumberType() const override;
    void SetNumberType(TVDSeqType) override {}
    // An imposed number (SVDCounter) wins over the sequence's.
    void CalcDisplayString(const TVDSeqList *list) override;
    rtl::UnicodeString GetTextForPrintMeasuring(TCustomVDData *vdData) override;
    // vdbpHasPrintingWidth: the sheet's FootnotePageReset.
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    // While FootnotePageReset is on, a footnote draw item (TVDFootnoteDrawItem), which learns
    // the footnote's document on its page; otherwise the label's.
    std::unique_ptr<TVDDrawLineInfo> CreatePrintingDrawItem(TCustomVDData *vdData, int32_t paraNo,
                                                            PVDScreenAndDevice sad) override;
    // For a footnote draw item placed on a page, the number of the footnote on that page;
    // otherwise the label's text.
    rtl::UnicodeString GetTextForPrinting(TCustomVDData *vdData, TVDDrawLineInfo *drawItem,
                                          int32_t dispPageNo, int32_t pageCount) override;
    // ---- HTML (bodies in formats/html/) ----
    rtl::UnicodeString GetHTMLAnchorName(TCustomVDData *vdData) override;
};

// An endnote (-204), in the sequence "@endnote@", numbered in the style sheet's
// EndnoteNumbering.
class TVDEndnoteItemInfo : public TVDFootOrEndnoteItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    explicit TVDEndnoteItemInfo(TCustomVDData *vdData);
    TVDEndnoteItemInfo(TCustomVDData *vdData, int32_t textStyleNo, int32_t startFrom, bool reset);

    // ---- HTML (bodies in formats/html/) ----
    rtl::UnicodeString GetHTMLAnchorName(TCustomVDData *vdData) override;
    TVDSeqType GetNumberType() const override;
    void SetNumberType(TVDSeqType) override {}
};

// A label inside a note's document that shows the number of the note owning that document.
class TVDNoteReferenceItemInfo : public TVDLabelItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // ---- DOCX (formats/ooxml/) ----
    void SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                   TVDDocXSavingData &savingData, bool hiddenParent) override;
    void SaveOOXMLBeforeRun(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                            TVDDocXSavingData &savingData, bool hiddenParent) override;
    void SaveOOXMLAfterRun(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                           TVDDocXSavingData &savingData, bool hiddenParent) override;
    // ---- RTF (formats/rtf/) ----
    void SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t level,
                 TVDRTFSavingData &savingData, TVDRTFDocType docType, bool hiddenParent) override;
    // Text style 0; the text is the document's note text.
    explicit TVDNoteReferenceItemInfo(TCustomVDData *vdData);
    TVDNoteReferenceItemInfo(TCustomVDData *vdData, int32_t textStyleNo);

    // The note whose document holds the reference (climbing out of tables); nullptr outside
    // notes.
    TCustomVDNoteItemInfo *GetOwnerNote() const;
    // vdbpHasPrintingWidth: inside a footnote while the sheet's FootnotePageReset is on.
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    // The text follows the note's number before the label is measured.
    void OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool printing,
                          gfx::TCanvas &canvas, TCustomVDData *vdData, PVDScreenAndDevice sad,
                          int32_t &hShift, int32_t &desc, bool noCaching, bool reformatting,
                          bool useFormatCanvas) override;
    // Printed in a footnote's printable document while FootnotePageReset is on, the footnote's
    // number on its page; otherwise the parent document's note text.
    rtl::UnicodeString GetTextForPrinting(TCustomVDData *vdData, TVDDrawLineInfo *drawItem,
                                          int32_t dispPageNo, int32_t pageCount) override;

public:
    void SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t paraNo,
                 const TVDRawByteString &name, TVDMultiDrawItemPart *part, bool forceSameAsPrev,
                 PVDScreenAndDevice sad) override;
    bool ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType, int32_t lineNo,
                     int32_t lineCount, TVDRawByteString &name, TVDFReadMode &readMode,
                     TVDFReadState &readState, bool utf8, bool &assStyleNameUsed) override;
    // ---- HTML (bodies in formats/html/) ----
    void SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                    const TVDRawByteString &text, TVDHTMLSaveArgs &args) override;
};

// The first note of noteClass after note (from the start for nullptr) in vdData's sequence
// list; hidden notes only when allowHidden or vdData's options show hidden text. nullptr
// without a list, when there is none, or when note is not in the list.
TCustomVDNoteItemInfo *FindNextNote(TCustomVDData *vdData, const TCustomVDNoteItemInfo *note,
                                    TVDItemClass noteClass, bool allowHidden);
TVDFootnoteItemInfo *GetFirstFootnote(TCustomVDData *vdData, bool allowHidden);
TVDFootnoteItemInfo *GetFirstFootnote(TCustomViziVodu &viziVodu, bool allowHidden);
TVDFootnoteItemInfo *GetNextFootnote(TCustomViziVodu &viziVodu, const TVDFootnoteItemInfo *footnote,
                                     bool allowHidden);
TVDEndnoteItemInfo *GetFirstEndnote(TCustomVDData *vdData, bool allowHidden);
TVDEndnoteItemInfo *GetFirstEndnote(TCustomViziVodu &viziVodu, bool allowHidden);
TVDEndnoteItemInfo *GetNextEndnote(TCustomViziVodu &viziVodu, const TVDEndnoteItemInfo *endnote,
                                   bool allowHidden);

} // namespace vizivodu
