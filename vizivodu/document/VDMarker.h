// List markers: the item (-11) that begins a list paragraph and names a list style and a level,
// and the marker list that numbers the markers of a document in order (counters with level
// resets and start values, multi-level display texts, legal numbering) and carries the
// numbering state through the native format.
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDItem.h"

#include <vector>

namespace rtl {
class TStream;
}

namespace vizivodu {

class TVDListLevel;
class TVDMarkerList;

// How a marker is drawn: on the screen (no SaD), on a page (SaD: pictures scaled to the device)
// or into a bitmap of its picture's size (NoOffset).
struct TVDMarkerDrawing {
    TVDColorMode ColorMode = vdcmColor;
    bool CanUseCustomPPI = false;
    bool Disabled = false;
    bool ForMetafile = false;
    bool NoOffset = false;
    const TVDScreenAndDevice *SaD = nullptr;
};

class TVDMarkerItemInfo : public TVDSimpleRectItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // ---- RTF (formats/rtf/) ----
    void SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t level,
                 TVDRTFSavingData &savingData, TVDRTFDocType docType, bool hiddenParent) override;
    void FillRTFTables(TCustomVDRTFTables *rtfTables, TVDIntegerList *listOverrideCountList,
                       TCustomVDData *vdData) override;
    explicit TVDMarkerItemInfo(TCustomVDData *vdData);
    TVDMarkerItemInfo(TCustomVDData *vdData, int32_t listNo, int32_t level, int32_t startFrom,
                      bool reset);

    int32_t FWidth = 0;
    int32_t FHeight = 0;
    int32_t FDescent = 0;
    int32_t FOverhang = 0;
    int32_t FCachedIndexInList = -1;
    int32_t ListNo = -1;
    int32_t Level = 0;
    int32_t Counter = 1;
    bool Reset = false;
    int32_t StartFrom = 1;
    rtl::UnicodeString DisplayString;
    bool NoHTMLImageSize = false;

    // Copies ListNo, Level, StartFrom, Reset and NoHTMLImageSize (not Counter).
    void Assign(const TCustomVDItemInfo &source) override;
    // The level of the list style; a level beyond the last gives the last; nullptr without a
    // list, for a negative level or a list without levels.
    const TVDListLevel *GetLevelInfo(const TVDStyle *vdStyle) const;
    // The marker's index in the list (cached); -1 without a list.
    int32_t GetIndexInList(const TVDMarkerList *list);
    // Recomputes DisplayString (the marker at index of list).
    void MakeDisplayString(const TVDStyle *vdStyle, const TVDMarkerList &list, int32_t index);

    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    bool SetExtraIntProperty(TVDExtraItemProperty prop, int32_t value) override;
    bool GetExtraIntProperty(TVDExtraItemProperty prop, int32_t &value) const override;
    int32_t GetVDFExtraPropertyCount() const override;
    void SaveVDFExtraProperties(rtl::TStream &stream) const override;
    // ---- HTML (bodies in formats/html/) ----
    // The list tags from level oldLevelNo to newLevelNo of this marker's list (-1: none), then
    // an empty line when the levels differ.
    void HTMLOpenOrCloseTags(rtl::TStream &stream, int32_t oldLevelNo, int32_t newLevelNo,
                             const TVDStyle &vdStyle, TVDSaveOptions saveOptions, bool useCSS,
                             const TVDHTMLListCSSList *listBullets, TVDBiDiMode biDiMode) const;
    // The list tags that lead from the previous marker (nullptr: none) to this one.
    void SaveHTMLSpecial(rtl::TStream &stream, const TVDMarkerItemInfo *prev,
                         const TVDStyle &vdStyle, TVDSaveOptions saveOptions, bool useCSS,
                         const TVDHTMLListCSSList *listBullets, TVDBiDiMode biDiMode) const;
    // The CSS of the list element, declarations joined by "; ".
    TVDAnsiString GetLICSS(TCustomVDData *vdData, int32_t itemNo, TVDHTMLSaveArgs &args);
    void SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                    const TVDRawByteString &text, TVDHTMLSaveArgs &args) override;
    void MarkStylesInUse(TVDDeleteUnusedStylesData &data) override;
    void UpdateStyles(TVDDeleteUnusedStylesData &data) override;
    // "ListNo Level StartFrom Reset" (the list by number).
    TVDRawByteString GetVDFHeaderTail(TCustomVDData *vdData) const override;
    // The list reference (a number, or a quoted list-style name: first match, 0 when absent),
    // Level, StartFrom and Reset; false when any of them is missing or Level is negative.
    bool ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool utf8,
                           bool &assStyleNameUsed) override;
    // Bullets and numbers: the display text and a blank; pictures and images: "* ".
    TVDRawByteString AsText(int32_t lineWidth, TCustomVDData *vdData, const TVDRawByteString &text,
                            bool textOnly, bool unicode, TVDCodePage codePage) override;
    void MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) override;
    void MovingFromUndoList(int32_t itemNo, TCustomVDData *vdData) override;

    // ---- Layout ----
    // Measures the marker: its extent split by the level's marker alignment around the marker
    // position, the after-part at least the gap to the text (minWidthMode: the larger of the
    // two is the width).
    void CalcSize(gfx::TCanvas &canvas, TCustomVDData *vdData, int32_t &markerOffset,
                  int32_t &hShift, bool rtl, bool minWidthMode, PVDScreenAndDevice sad,
                  int32_t &overhang, int32_t &descent, int32_t &height, int32_t &width);
    int32_t GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *canvas,
                        TCustomVDData *vdData) override;
    // The screen size of a picture level's picture or an image-list level's images; 0 x 0
    // without them.
    static void MarkerImageSize(const TVDListLevel &level, int32_t &w, int32_t &h);
    // dli must be a justify draw item (EViziVoduError "Incorrect drawing item type for a
    // marker"); the marker offset is kept in it.
    void OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool printing,
                          gfx::TCanvas &canvas, TCustomVDData *vdData, PVDScreenAndDevice sad,
                          int32_t &hShift, int32_t &desc, bool noCaching, bool reformatting,
                          bool useFormatCanvas) override;
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    // Picture levels: the picture's size; image-list levels: the list's; otherwise 0.
    int32_t GetImageWidth(const TVDStyle *vdStyle) override;
    int32_t GetImageHeight(const TVDStyle *vdStyle) override;
    int32_t GetWidth(const TVDStyle *) override { return FWidth; }
    int32_t GetHeight(const TVDStyle *) override { return FHeight; }
    int32_t GetLeftOverhang() const override { return FOverhang; }
    void Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
               TVDDrawLineInfo &dli, TCustomVDData *vdData, bool forMetafile) override;
    // On a page: text in the colour mode, vector pictures scaled to the device.
    void Print(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t x2, bool preview,
               bool correction, const TVDScreenAndDevice &sad, int32_t part, TVDColorMode colorMode,
               TCustomVDData *vdData, int32_t dItemNo, int32_t pageNo, bool forMetafile) override;
    // Draws the marker at (0, 0) of bkgnd; true.
    bool PrintToBitmap(gfx::TBitmap &bkgnd, bool preview, TCustomVDData *vdData, int32_t dItemNo,
                       int32_t part, TVDColorMode colorMode) override;
    // The picture, the list's image or the text of the marker's level with its top-left corner
    // at (x, y) plus the draw item's marker offset (nothing without level information); dli must
    // be a justify draw item (EViziVoduError "Incorrect drawing item type for a marker").
    void DrawMarker(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDDrawLineInfo &dli,
                    TCustomVDData *vdData, const TVDMarkerDrawing &drawing);

private:
    void DrawMarkerPicture(int32_t x, int32_t y, gfx::TCanvas &canvas, const TVDListLevel &level,
                           TVDStyle &style, const TVDMarkerDrawing &drawing);

public:
    void SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t paraNo,
                 const TVDRawByteString &name, TVDMultiDrawItemPart *part, bool forceSameAsPrev,
                 PVDScreenAndDevice sad) override;
};

// The level information of list listNo, level levelNo (clamped to the last); nullptr when
// listNo is negative or outside the sheet's lists, or the list has no levels.
const TVDListLevel *GetListLevelInfo(const TVDStyle *vdStyle, int32_t listNo, int32_t levelNo);
// The number n in the list type's form: decimal, letters or Roman numerals ("?" below 1 for the
// last two); empty for the other types.
rtl::UnicodeString FormatMarkerNumber(int32_t listType, int32_t n);
// The list-level format "%0:s.%1:s" filled with args: only "%%" and string conversions
// ("%" [index ":"] ["-"] [width] ["." precision] "s") are taken. False for anything else, or
// for an argument that is not there.
bool FormatMarkerText(const rtl::UnicodeString &format, const std::vector<rtl::UnicodeString> &args,
                      rtl::UnicodeString &out);

// The markers of a document in document order (references; the document owns the items).
class TVDMarkerList {
public:
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    TVDMarkerItemInfo *Get(int32_t index) const { return FItems[static_cast<size_t>(index)]; }
    int32_t IndexOf(const TVDMarkerItemInfo *marker) const;
    void Add(TVDMarkerItemInfo *marker) { FItems.push_back(marker); }
    void Delete(int32_t index) { FItems.erase(FItems.begin() + index); }
    void Clear();
    // Inserts after afterMe (at the start for nullptr), caches and returns the new index.
    int32_t InsertAfter(TVDMarkerItemInfo *insertMe, TVDMarkerItemInfo *afterMe);

    // The nearest marker before index (of marker, or the entry at index) of the same list and a
    // lower level, continuing into PrevMarkerList; false when there is none.
    bool FindParentMarker(int32_t index, const TVDMarkerItemInfo *marker,
                          const TVDMarkerList *&parentList, int32_t &parentIndex) const;
    // Recounts from startFrom to the end: the markers of that marker's list, or of every list.
    void RecalcCounters(int32_t startFrom, const TVDStyle *vdStyle, bool forAllLists);
    void RecalcDisplayStrings(const TVDStyle *vdStyle);

    // The numbering state of the first count markers: [Int32 17 x count + 8 when includeSize],
    // Int32 0, Int32 count, then per marker ListNo, Level, Reset (1 byte), StartFrom, Counter.
    void SaveToStream(rtl::TStream &stream, int32_t count, bool includeSize) const;
    // Replaces the list by markers that carry the stored state (owned by the list). A count
    // that does not fit the stream, or a negative one, raises EReadError before anything
    // changes.
    void LoadFromStream(rtl::TStream &stream, TCustomVDData *vdData, bool includeSize);

    const TVDMarkerList *PrevMarkerList = nullptr;

private:
    std::vector<TVDMarkerItemInfo *> FItems;
    std::vector<std::unique_ptr<TVDMarkerItemInfo>> FStateMarkers; // made by LoadFromStream
    int32_t CounterOf(int32_t index, const TVDMarkerItemInfo &marker,
                      const TVDListLevel *level) const;
};

} // namespace vizivodu
