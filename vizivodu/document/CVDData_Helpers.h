// Helper objects of the document: Unicode text for HTML output, hyperlink targets split into
// address and anchor, the cache that limits how many pictures keep a thumbnail, the font,
// colour and style-sheet tables of the RTF and DOCX writers, and the layout record that the
// native format carries for the viewer's margins and cut paragraphs.
#pragma once

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace rtl {
class TStream;
}

namespace vizivodu {

class TCustomVDFontInfo;
class TVDStyle;

// UTF-8 of s with utf8, else s in the style sheet's DefCodePage ("?" for what it lacks).
TVDRawByteString UnicodeToHTMLEncoding(const TVDUnicodeString &s, bool utf8,
                                       const TVDStyle *vdStyle);
TVDRawByteString UnicodeToHTMLEncodingCP(const TVDUnicodeString &s, bool utf8,
                                         TVDCodePage codePage);
TVDRawByteString UnicodeToUTF8OrAnsi(const TVDUnicodeString &s, bool utf8, TVDCodePage codePage);

// Splits target at the first "#" that follows a part with a dot: "page.htm#top" gives
// "page.htm" and "top", "a#b.htm#c" gives "a#b.htm" and "c", "#top" an empty target.
void SplitHyperlinkTarget(rtl::UnicodeString &target, rtl::UnicodeString &anchor);

// The owners of prepared thumbnails, least recently used first. With MaxCount owners a new one
// makes the oldest free its thumbnail; MaxCount 0 keeps none, a negative MaxCount ignores
// every call. The cache refers to its owners; the FreeThumbnail call-back frees one's
// thumbnail.
class TVDThumbnailCache {
public:
    // 20 unless changed.
    static inline int32_t DefaultThumbnailCacheSize = 20;

    explicit TVDThumbnailCache(std::function<void(void *owner)> freeThumbnail);
    int32_t MaxCount = DefaultThumbnailCacheSize;

    void AddThumbnail(void *imageOwner);
    void RemoveThumbnail(void *imageOwner);
    int32_t Count() const { return static_cast<int32_t>(FOwners.size()); }
    void *Get(int32_t index) const { return FOwners[static_cast<size_t>(index)]; }

private:
    std::vector<void *> FOwners;
    std::function<void(void *)> FFreeThumbnail;
};

struct TVDRTFFontTableItem {
    rtl::UnicodeString FontName;
    uint8_t Charset = 1;
};

// The fonts of an RTF or DOCX document in the order they were added (their font numbers).
class TVDRTFFontTable {
public:
    // The first entry of that name (without regard to case) and charset; -1 when none.
    int32_t Find(const rtl::UnicodeString &fontName, uint8_t charset) const;
    int32_t AddUnique(const rtl::UnicodeString &fontName, uint8_t charset);
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    const TVDRTFFontTableItem &Get(int32_t index) const { return FItems[size_t(index)]; }

private:
    std::vector<TVDRTFFontTableItem> FItems;
};

// What the writers' tables offer (the style units write RTF through it).
class TCustomVDRTFTables {
public:
    virtual ~TCustomVDRTFTables() = default;
    virtual void ClearColors() = 0;
    virtual void ClearFonts() = 0;
    virtual void AddColor(TColor color) = 0;
    virtual int32_t AddFontFromStyle(const TCustomVDFontInfo &textStyle) = 0;
    // validName/validCharset: which of the two the style defines; root adds "Arial" with the
    // default charset for a style that defines neither.
    virtual int32_t AddFontFromStyleEx(const TCustomVDFontInfo &textStyle, bool validName,
                                       bool validCharset, bool root) = 0;
    virtual int32_t AddFont(const rtl::UnicodeString &fontName, uint8_t charset) = 0;
    virtual int32_t GetColorIndex(TColor color) const = 0;
    virtual int32_t GetFontStyleIndex(const TCustomVDFontInfo &textStyle) const = 0;
    virtual int32_t GetFontIndex(const rtl::UnicodeString &fontName, uint8_t charset) const = 0;
    virtual void ClearStyleSheetMap() = 0;
    virtual void AddStyleSheetMap(int32_t styleTemplateNo) = 0;
    virtual int32_t GetStyleSheetIndex(int32_t styleTemplateNo, bool charStyle) const = 0;
};

class TVDRTFTables : public TCustomVDRTFTables {
public:
    void ClearColors() override { FColorList.Clear(); }
    void ClearFonts() override { FFontTable = TVDRTFFontTable(); }
    void AddColor(TColor color) override { FColorList.AddUnique(color); }
    int32_t AddFontFromStyle(const TCustomVDFontInfo &textStyle) override;
    int32_t AddFontFromStyleEx(const TCustomVDFontInfo &textStyle, bool validName,
                               bool validCharset, bool root) override;
    int32_t AddFont(const rtl::UnicodeString &fontName, uint8_t charset) override;
    int32_t GetColorIndex(TColor color) const override;
    int32_t GetFontStyleIndex(const TCustomVDFontInfo &textStyle) const override;
    int32_t GetFontIndex(const rtl::UnicodeString &fontName, uint8_t charset) const override;
    void ClearStyleSheetMap() override { FStyleSheetMap.Clear(); }
    void AddStyleSheetMap(int32_t styleTemplateNo) override { FStyleSheetMap.Add(styleTemplateNo); }
    int32_t GetStyleSheetIndex(int32_t styleTemplateNo, bool charStyle) const override;

    const TVDRTFFontTable &GetFontTable() const { return FFontTable; }
    const TVDColorList &GetColorList() const { return FColorList; }

private:
    TVDRTFFontTable FFontTable;
    TVDColorList FColorList;
    TVDIntegerList FStyleSheetMap;
};

// What one RTF save shares with every nested call (cells, notes, headers and footers).
struct TVDRTFSavingData {
    // Folder of the target file ("" for streams).
    rtl::UnicodeString Path;
    std::unique_ptr<TCustomVDRTFTables> RTFTables;
    // Font table index of each text style.
    std::unique_ptr<TVDIntegerList> StyleToFont;
    // Per list style: the number of overrides it needs, then (after the list table) the
    // number of its first override; restarting markers advance it while the body is written.
    std::unique_ptr<TVDIntegerList> ListOverrideOffsetsList1;
    // Per list style the number of its default override.
    std::unique_ptr<TVDIntegerList> ListOverrideOffsetsList2;
    // The next paragraph formatting writes "\pagebb" (then the flag is cleared).
    bool SavePageBreakBeforePara = false;
};

// The viewer's margins and text widths, and the paragraphs cut at the ends of a saved range.
class TVDLayoutInfo {
public:
    bool Loaded = false;
    int32_t LeftMargin = 0;
    int32_t RightMargin = 0;
    int32_t TopMargin = 0;
    int32_t BottomMargin = 0;
    int32_t MinTextWidth = 0;
    int32_t MaxTextWidth = 0;
    TVDBiDiMode BiDiMode = vdbdUnspecified;
    int32_t LastParaAborted = 0;
    int32_t FirstParaAborted = 0;
    int32_t FirstMarkerListNo = -1;
    int32_t FirstMarkerLevel = 0;

    // [Int32 size + 8 with includeSize], Int32 kind (1 page info only, else 0), Int32 size,
    // the margins block (kind 0), then the abort block when either abort value is set.
    void SaveToStream(rtl::TStream &stream, bool includeSize, bool onlyPageInfo) const;
    // A full block shorter than 25 bytes, or any size that is negative or larger than what the
    // stream holds, raises EViziVoduError "Invalid VDF format"; a stream that ends early its
    // read error.
    void LoadFromStream(rtl::TStream &stream, bool includeSize);
};

} // namespace vizivodu
