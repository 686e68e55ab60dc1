// Draw items and the lists that hold them: one draw item is one placed fragment of one item (a
// rectangle on a line with the range of characters it shows); TVDDrawLines holds a document's
// draw items in document order with a pending hole for partial reformatting, and
// TVDFloatingDrawItems lists the floating boxes that still stand beside lines.
//
// Coordinates are device pixels of the canvas the document was formatted for, in document
// coordinates (the left and top margins included).
#pragma once

#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include "platform/rtl/System.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rtl {
class TStream;
}

namespace vizivodu {

class TVDItemList;
class TVDFootnoteRefList;
class TVDIntegerList;

enum TVDDItemFloatingType : uint8_t { vddifLeft, vddifRight };

// The kinds of draw item, by their stream code.
enum TVDDrawLineKind : uint8_t {
    vddlkPlain,             // TVDDrawLineInfo
    vddlkJustify,           // TVDJustifyDrawLineInfo
    vddlkSimpleLineHeight,  // TVDSimpleLineHeightDrawLineInfo
    vddlkComplexLineHeight, // TVDComplexLineHeightDrawLineInfo
    vddlkFloating           // TVDFloatingDrawLineInfo
};

// A placed fragment. The optional values (space at left, extra space above and below, the text
// width and spacing of justified text, the box of a float) are kept only by the descendants
// that need them; here they read as 0 (the object box as the fragment's own box) and writes
// are ignored.
class TVDDrawLineInfo {
public:
    int32_t Left = 0;
    int32_t Top = 0; // for text, the top of the font box; the baseline is Top + ascent
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t ItemNo = 0;
    int32_t Offs = 0;   // 1-based first character of the fragment; 0 for non-text items
    int32_t Length = 0; // characters; 0 for non-text items and empty text
    bool FromNewLine = false;
    bool FromNewPara = false;
    bool FloatingAboveUsed = false;

    TVDDrawLineInfo() = default;
    TVDDrawLineInfo(int32_t left, int32_t top, int32_t width, int32_t height, int32_t itemNo,
                    bool fromNewLine);
    TVDDrawLineInfo(const TVDDrawLineInfo &) = delete;
    TVDDrawLineInfo &operator=(const TVDDrawLineInfo &) = delete;
    virtual ~TVDDrawLineInfo() = default;

    virtual int32_t GetSpaceAtLeft() const { return 0; }
    virtual void SetSpaceAtLeft(int32_t) {}
    virtual int32_t GetExtraSpaceAbove() const { return 0; }
    virtual void SetExtraSpaceAbove(int32_t) {}
    virtual int32_t GetExtraSpaceBelow() const { return 0; }
    virtual void SetExtraSpaceBelow(int32_t) {}
    virtual int32_t GetObjectHeight() const { return Height; }
    virtual int32_t GetObjectLeft() const { return Left; }
    virtual int32_t GetObjectTop() const { return Top; }
    virtual int32_t GetObjectWidth() const { return Width; }
    virtual int32_t GetTextWidth() const { return Width; }
    virtual int32_t GetSpaceCount() const { return 0; }
    virtual TVDDrawLineKind GetKind() const { return vddlkPlain; }
    virtual int32_t GetLeftNoExpandIndex() const { return 0; }
    virtual int32_t GetRightNoExpandIndex() const { return 0; }
    virtual void SetLeftNoExpandIndex(int32_t) {}
    virtual void SetRightNoExpandIndex(int32_t) {}
    virtual void SetSpaceCount(int32_t) {}
    virtual void SetTextWidth(int32_t) {}
    virtual void SetData(int32_t left, int32_t top, int32_t itemNo, bool fromNewLine);
    virtual void SetSize(int32_t width, int32_t height);

    // Splitting over pages (the printing draw items override them): a plain draw item cannot
    // be split.
    virtual bool InitSplit(const TVDScreenAndDevice &sad, bool ignorePageBreaks);
    virtual bool CanSplitFirst(int32_t y, const TVDScreenAndDevice &sad, bool firstOnPage,
                               bool pageHasFootnotes, bool footnotesChangeHeight,
                               bool ignorePageBreaks);
    virtual bool SplitAt(int32_t y, const TVDScreenAndDevice &sad, bool firstOnPage,
                         std::unique_ptr<TVDFootnoteRefList> &footnoteVDDataList,
                         int32_t &maxHeight, bool footnotesChangeHeight, bool ignorePageBreaks);

protected:
    // The fields of the stream form, in order; each descendant appends its own.
    virtual void WriteFields(std::string &out) const;
    virtual void ReadFields(const uint8_t *&p);

    friend class TVDDrawLines;
};

// Justified text (and list markers, whose offset is kept as the text width).
class TVDJustifyDrawLineInfo : public TVDDrawLineInfo {
public:
    using TVDDrawLineInfo::TVDDrawLineInfo;

    int32_t GetTextWidth() const override { return FTextWidth; }
    void SetTextWidth(int32_t value) override { FTextWidth = value; }
    int32_t GetSpaceCount() const override { return FSpaceCount; }
    void SetSpaceCount(int32_t value) override { FSpaceCount = value; }
    int32_t GetLeftNoExpandIndex() const override { return FLeftNoExpandIndex; }
    void SetLeftNoExpandIndex(int32_t value) override { FLeftNoExpandIndex = value; }
    int32_t GetRightNoExpandIndex() const override { return FRightNoExpandIndex; }
    void SetRightNoExpandIndex(int32_t value) override { FRightNoExpandIndex = value; }
    TVDDrawLineKind GetKind() const override { return vddlkJustify; }
    int32_t GetMarkerOffset() const { return FTextWidth; }
    void SetMarkerOffset(int32_t value) { FTextWidth = value; }

protected:
    void WriteFields(std::string &out) const override;
    void ReadFields(const uint8_t *&p) override;

private:
    int32_t FTextWidth = 0;
    int32_t FSpaceCount = 0;
    int32_t FLeftNoExpandIndex = 0;
    int32_t FRightNoExpandIndex = 0;
};

class TVDSimpleLineHeightDrawLineInfo : public TVDJustifyDrawLineInfo {
public:
    using TVDJustifyDrawLineInfo::TVDJustifyDrawLineInfo;
    int32_t GetExtraSpaceBelow() const override { return FExtraSpaceBelow; }
    void SetExtraSpaceBelow(int32_t value) override { FExtraSpaceBelow = value; }
    TVDDrawLineKind GetKind() const override { return vddlkSimpleLineHeight; }

protected:
    void WriteFields(std::string &out) const override;
    void ReadFields(const uint8_t *&p) override;

private:
    int32_t FExtraSpaceBelow = 0;
};

class TVDComplexLineHeightDrawLineInfo : public TVDSimpleLineHeightDrawLineInfo {
public:
    using TVDSimpleLineHeightDrawLineInfo::TVDSimpleLineHeightDrawLineInfo;
    int32_t GetExtraSpaceAbove() const override { return FExtraSpaceAbove; }
    void SetExtraSpaceAbove(int32_t value) override { FExtraSpaceAbove = value; }
    TVDDrawLineKind GetKind() const override { return vddlkComplexLineHeight; }

protected:
    void WriteFields(std::string &out) const override;
    void ReadFields(const uint8_t *&p) override;

private:
    int32_t FExtraSpaceAbove = 0;
};

// A floating box: Left/Top/Width/Height is the zero-width anchor on the line of the box's item,
// Float* the box itself.
class TVDFloatingDrawLineInfo : public TVDComplexLineHeightDrawLineInfo {
public:
    using TVDComplexLineHeightDrawLineInfo::TVDComplexLineHeightDrawLineInfo;

    int32_t FloatLeft = 0;
    int32_t FloatTop = 0;
    int32_t FloatWidth = 0;
    int32_t FloatHeight = 0;
    TVDDItemFloatingType FloatType = vddifLeft;

    int32_t FloatRight() const { return FloatLeft + FloatWidth; }
    int32_t FloatBottom() const { return FloatTop + FloatHeight; }
    int32_t GetObjectLeft() const override { return FloatLeft; }
    int32_t GetObjectTop() const override { return FloatTop; }
    int32_t GetObjectWidth() const override { return FloatWidth; }
    int32_t GetObjectHeight() const override { return FloatHeight; }
    TVDDrawLineKind GetKind() const override { return vddlkFloating; }

protected:
    void WriteFields(std::string &out) const override;
    void ReadFields(const uint8_t *&p) override;
};

// A new, empty draw item of the kind.
std::unique_ptr<TVDDrawLineInfo> CreateDrawLineInfo(TVDDrawLineKind kind);

// The draw items of one document, owned, in document order. A pending hole (MarkForDelete)
// keeps slots that partial reformatting fills one by one at its start (Insert) and closes at
// the end (DeleteMarked), so that the tail moves once.
class TVDDrawLines {
public:
    TVDDrawLines() = default;
    TVDDrawLines(TVDDrawLines &&) = default;
    TVDDrawLines &operator=(TVDDrawLines &&) = default;

    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    // EListError "List index out of bounds (%d)" for an index outside the list; a slot of a
    // pending hole reads as null.
    TVDDrawLineInfo *Get(int32_t index) const {
        if (static_cast<uint32_t>(index) >= FItems.size()) {
            RaiseIndexError(index);
        }
        return FItems[static_cast<size_t>(index)].get();
    }
    TVDDrawLineInfo *operator[](int32_t index) const { return Get(index); }
    // Replaces (and frees) the draw item at index.
    void Put(int32_t index, std::unique_ptr<TVDDrawLineInfo> value);
    void Add(std::unique_ptr<TVDDrawLineInfo> item) { FItems.push_back(std::move(item)); }
    // With a pending hole, index must be its start (else "Assertion failure (DLines, line 733)"
    // and nothing changes): the slot is filled and the hole shrinks from below.
    void Insert(int32_t index, std::unique_ptr<TVDDrawLineInfo> item);
    // Frees the draw item; during a pending hole the slot joins the hole from below.
    void Delete(int32_t index);
    // Opens a hole over index1..index2 (inclusive), freeing their draw items; nothing is freed
    // when index2 < index1.
    void MarkForDelete(int32_t index1, int32_t index2);
    // Removes the slots of the pending hole.
    void DeleteMarked();
    // Frees every draw item and forgets any hole.
    void Clear();
    void Reserve(int32_t capacity) { FItems.reserve(static_cast<size_t>(capacity)); }
    int32_t StartDeletedIndex() const { return FStartDeletedIndex; }
    int32_t DeletedCount() const { return FDeletedCount; }

    // The raw bytes of the item text the draw item shows (2 bytes per character for Unicode
    // items); the tail from its character startIndex (1-based within the fragment); length
    // characters from startIndex, cut at the fragment's end.
    TVDRawByteString GetString(int32_t index, const TVDItemList &items) const;
    TVDRawByteString GetRightString(int32_t index, const TVDItemList &items,
                                    int32_t startIndex) const;
    TVDRawByteString GetSubString(int32_t index, const TVDItemList &items, int32_t startIndex,
                                  int32_t length) const;

    // The lowest index of a floating draw item whose box still reaches down to bottom (useBottom)
    // or to the top of draw item index, searching back from index - 1 to minIndex and stopping
    // after a line start that is not shaped by floats; -1 when none.
    int32_t FindFirstFloatingAboveDrawItem(int32_t index, int32_t minIndex, int32_t bottom,
                                           bool useBottom) const;
    // The indices of the floating draw items before dItemNo that reach down to y - 1, in
    // ascending order, inserted at the front of resultList.
    void AssignFloatingCrossingY(int32_t y, int32_t dItemNo, TVDIntegerList &resultList) const;
    void AssignFloatingAboveDrawItem(int32_t dItemNo, TVDIntegerList &resultList) const;

    // Int32 N, then per draw item its kind code, its fields and, after the first draw item of
    // each item, the item's formatting data; Int32 -2 at the end.
    void SaveToStream(rtl::TStream &stream, const TVDItemList &items) const;
    // Replaces the draw items by those of the stream and sets the items' DrawItemNo. A missing
    // end code raises "Assertion failure (DLines, line 841)"; an unknown kind code or a -1 before
    // the first draw item EViziVoduError "Invalid formatting data"; a short stream the stream's
    // read error. What was read stays.
    void LoadFromStream(rtl::TStream &stream, TVDItemList &items);

private:
    [[noreturn]] static void RaiseIndexError(int32_t index);

    std::vector<std::unique_ptr<TVDDrawLineInfo>> FItems;
    int32_t FStartDeletedIndex = -1;
    int32_t FDeletedCount = 0;
};

// The floating boxes that may still stand beside lines: references to draw items of a
// TVDDrawLines, owned by that list; removing an entry never frees the draw item. The
// formatter keeps the list behind a pointer that is null until the first float: an absent
// list stands beside no line.
class TVDFloatingDrawItems {
public:
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    TVDFloatingDrawLineInfo *Get(int32_t index) const {
        return FItems.at(static_cast<size_t>(index));
    }
    void Add(TVDFloatingDrawLineInfo *item) { FItems.push_back(item); }
    void Clear() { FItems.clear(); }
    bool Contains(const TVDFloatingDrawLineInfo *item) const;

    // Like TVDDrawLines::AssignFloatingCrossingY on source, inserting the draw items at the
    // front of this list.
    void FillFloatingCrossingY(int32_t y, int32_t dItemNo, const TVDDrawLines &source);
    void FillFloatingAboveDrawItem(int32_t dItemNo, const TVDDrawLines &source);
    // Drops every entry whose box ends above y.
    void RemoveNonOverlapping(int32_t y);
    // marks[i] := 0 for every entry i whose box ends above y.
    void MarkNonOverlapping(int32_t y, std::vector<int32_t> &marks) const;
    // The lowest-reaching box bottom (the largest FloatBottom); 0 for an empty list.
    int32_t GetFloatBottom() const;
    // Narrows or moves down a line that floats stand beside (see the .cpp).
    void AdjustLineSize(int32_t minLeftIndent, int32_t minWidth, int32_t maxRightSide, int32_t &y,
                        int32_t &leftIndent, int32_t &lineWidth, bool allowDelete, bool clearLeft,
                        bool clearRight, const TVDFloatingDrawItems *clearIgnore);

private:
    std::vector<TVDFloatingDrawLineInfo *> FItems;
};

} // namespace vizivodu
