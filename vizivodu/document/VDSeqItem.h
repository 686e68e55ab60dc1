// Sequence items (-202): labels whose text is their number among the items of the same named
// sequence, and the sequence list that keeps a document's sequence items in document order and
// recounts them. Notes, sidenotes and text boxes are sequence items too.
#pragma once

#include "vizivodu/document/VDLabelItem.h"

#include <vector>

namespace vizivodu {

class TVDDocXSavingData;

class TVDSeqList;

class TVDSeqItemInfo : public TVDLabelItemInfo {
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
    // The registry's constructor: no name, decimal.
    explicit TVDSeqItemInfo(TCustomVDData *vdData);
    // An empty name becomes "tvizivodu".
    TVDSeqItemInfo(TCustomVDData *vdData, const rtl::UnicodeString &seqName, TVDSeqType numberType,
                   int32_t textStyleNo, int32_t startFrom, bool reset);

    int32_t FCachedIndexInList = -1;
    int32_t Counter = 0;
    int32_t StartFrom = 0;
    bool Reset = false;
    // Names are compared without regard to case.
    rtl::UnicodeString SeqName;
    // When not empty, the number text is formatted into it as its one string argument.
    rtl::UnicodeString FormatString;

    // Only the low 7 bits choose the number text; notes take theirs from the style sheet.
    virtual TVDSeqType GetNumberType() const { return FNumberType; }
    virtual void SetNumberType(TVDSeqType value) { FNumberType = value; }

    // counter as a number text of the item's number type, put into FormatString when it has
    // one; a format the class library refuses (it may come from a file) gives the number text
    // alone.
    rtl::UnicodeString GetDisplayString(const TVDSeqList *list, int32_t counter) const;
    // The label's text becomes the number text of Counter (measured again when shown).
    virtual void CalcDisplayString(const TVDSeqList *list);
    // The item's index in list (cached); -1 without a list or when it is not there.
    int32_t GetIndexInList(const TVDSeqList *list);

    // Copies the number type, StartFrom, Reset, SeqName and FormatString (not Counter), then
    // the label's properties.
    void Assign(const TCustomVDItemInfo &source) override;
    // The item leaves (and joins again) the document's sequence, marker and print-field lists.
    void MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) override;
    void MovingFromUndoList(int32_t itemNo, TCustomVDData *vdData) override;
    // The numbered extra properties: StartFrom, Reset, the number type (low 7 bits); the
    // strings SeqName and FormatString.
    static constexpr int32_t PropStartFrom = 300;
    static constexpr int32_t PropReset = 301;
    static constexpr int32_t PropNumberType = 302;
    static constexpr int32_t StrPropSeqName = 300;
    static constexpr int32_t StrPropFormatString = 301;
    // Setting string 200 (the label's text) is refused: the text is computed.
    bool SetExtraIntPropertyEx(int32_t prop, int32_t value) override;
    bool GetExtraIntPropertyEx(int32_t prop, int32_t &value) const override;
    bool SetExtraStrPropertyEx(int32_t prop, const rtl::UnicodeString &value) override;
    bool GetExtraStrPropertyEx(int32_t prop, rtl::UnicodeString &value) const override;
    // A changed start or reset renumbers (full reformat); a changed name too, a changed format
    // string needs a normal one.
    TVDReformatType GetExtraIntPropertyReformat(int32_t prop) const override;
    TVDReformatType GetExtraStrPropertyReformat(int32_t prop) const override;

private:
    TVDSeqType FNumberType = vdseqDecimal;

public:
    void SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t paraNo,
                 const TVDRawByteString &name, TVDMultiDrawItemPart *part, bool forceSameAsPrev,
                 PVDScreenAndDevice sad) override;
    bool ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType, int32_t lineNo,
                     int32_t lineCount, TVDRawByteString &name, TVDFReadMode &readMode,
                     TVDFReadState &readState, bool utf8, bool &assStyleNameUsed) override;
};

// The number n as a number text of a sequence type (its low 7 bits): decimal, letters
// (a ... z, aa ...) or Roman numerals, "?" below 1 for the last two; empty for other types.
rtl::UnicodeString FormatSeqNumber(int32_t numberType, int32_t n);

// The sequence items of a document tree in document order (references; the documents own the
// items).
class TVDSeqList {
public:
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    TVDSeqItemInfo *Get(int32_t index) const { return FItems[static_cast<size_t>(index)]; }
    int32_t IndexOf(const TCustomVDItemInfo *item) const;
    void Delete(int32_t index) { FItems.erase(FItems.begin() + index); }
    // Inserts after afterMe (at the start for nullptr), caches and returns the new index.
    int32_t InsertAfter(TVDSeqItemInfo *insertMe, TVDSeqItemInfo *afterMe);

    // Recounts from startFrom to the end: the items of the sequence of the item at startFrom,
    // or of every sequence; nothing when startFrom is outside the list.
    void RecalcCounters(int32_t startFrom, const TVDStyle *vdStyle, bool forAllNames);
    void RecalcDisplayStrings(const TVDStyle *vdStyle);

private:
    std::vector<TVDSeqItemInfo *> FItems;
};

} // namespace vizivodu
