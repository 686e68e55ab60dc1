// The RTF reading settings of a document control, and the builder that turns the RTF
// parser's events into items of a document and into its text and paragraph styles.
//
// ReadFromStream/ReadFromFile append to the target document. A read that fails leaves the
// items placed before the failure (as the class library's readers do) and returns the
// parser's error code; an rtl::Exception inside gives rtf_ec_Exception.
#pragma once

#include "vizivodu/formats/rtf/VDRTFReader.h"

#include "platform/rtl/System.h"

#include <array>
#include <memory>
#include <vector>

namespace vizivodu {

class TCustomVDData;
class TVDStyle;
class TFontInfo;
class TParaInfo;
class TVDTableItemInfo;
struct TTableSubDataInfo;
class TVDListInfo;
class TVDListLevel;
class TVDMarkerItemInfo;
struct TRTFExpectedLevel;

enum TVDReaderUnicode : uint8_t { vdruNoUnicode, vdruMixed, vdruOnlyUnicode };
enum TVDReaderStyleMode : uint8_t { vdrsUseSpecified, vdrsUseClosest, vdrsAddIfNeeded };
enum TVDRTFHighlight : uint8_t { rtfhlIgnore, rtfhlFixedColors, rtfhlColorTable };
enum TVDHFType : uint8_t { vdhftNormal, vdhftFirstPage, vdhftEvenPages };

class TVDRTFReaderProperties {
public:
    TVDRTFReaderProperties();
    virtual ~TVDRTFReaderProperties();
    TVDRTFReaderProperties(const TVDRTFReaderProperties &) = delete;
    TVDRTFReaderProperties &operator=(const TVDRTFReaderProperties &) = delete;

    // Copies the reading settings (not the header and footer targets).
    void Assign(const TVDRTFReaderProperties &source);

    TVDRTFErrorCode ReadFromStream(rtl::TStream &stream, TCustomVDData &vdData, bool insertMode);
    TVDRTFErrorCode ReadFromFile(const rtl::UnicodeString &fileName, TCustomVDData &vdData,
                                 bool insertMode);

    // ---- Settings ----
    TVDReaderUnicode UnicodeMode = vdruOnlyUnicode;
    TVDReaderStyleMode TextStyleMode = vdrsUseClosest;
    TVDReaderStyleMode ParaStyleMode = vdrsUseClosest;
    bool IgnorePictures = false;
    bool IgnoreNotes = false;
    bool IgnoreFields = false;
    bool IgnoreSequences = false;
    bool IgnoreTables = false;
    bool IgnoreBookmarks = false;
    bool UseHypertextStyles = false;
    bool SkipHiddenText = true;
    bool LineBreaksAsParagraphs = false;
    bool ReadDocParameters = false;
    bool ExtractMetafileBitmaps = true;
    TVDRTFHighlight ConvertHighlight = rtfhlColorTable;
    bool BasePathLinks = true;
    bool UseCharsetForUnicode = false;
    // Tables read get vdtoHideGridLines; one averaged cell padding instead of two; a table
    // without a stated width gets the width its column boundaries span.
    bool AutoHideTableGridLines = false;
    bool UseSingleCellPadding = false;
    bool ExplicitTableWidth = false;
    gfx::TFontCharset CharsetForUnicode = 1;
    rtl::UnicodeString BasePath;
    // The styles of vdrsUseSpecified; a negative value raises Exception "Value must not be
    // negative".
    int32_t GetTextStyleNo() const { return FTextStyleNo; }
    void SetTextStyleNo(int32_t value);
    int32_t GetParaStyleNo() const { return FParaStyleNo; }
    void SetParaStyleNo(int32_t value);

    // ---- Headers and footers ----
    void SetHeader(TCustomVDData *vdData, TVDHFType headerType);
    void SetFooter(TCustomVDData *vdData, TVDHFType footerType);
    bool HasHeaderOrFooterVDData() const;
    TCustomVDData *GetHFVDData(TVDRTFHeaderFooterType hfType) const;
    // The distance of the header or footer from the page edge, mm; -1 until one is read.
    int32_t HeaderYMM() const { return FHeaderYMM; }
    int32_t FooterYMM() const { return FFooterYMM; }

    // The parser during a read, else nullptr.
    TVDRTFReader *RTFReader() const { return FReader.get(); }

private:
    // reading (VDRTFProps.cpp)
    void PrepareReader();
    void ConnectEvents();
    void FinishReading();
    void ReaderNewText(const TVDAnsiString &text, TVDRTFPosition position);
    void ReaderNewUnicodeText(const TVDUnicodeString &text, TVDRTFPosition position);
    void AddTextRun(TVDRawByteString raw, bool unicode, TVDRTFPosition position);
    void InsertRTFItem(TVDRawByteString text, std::unique_ptr<class TCustomVDItemInfo> item,
                       TVDRTFPosition position);
    void ReaderHeaderFooter(TVDRTFHeaderFooterType hfType, bool starting, bool &supported);
    void ReaderEndParsing();
    void ApplyHyperlink(TCustomVDItemInfo &item, int32_t &styleNo);
    int32_t GetParaNoForPosition(TVDRTFPosition position);
    bool InHyperlink() const;
    TVDUnicodeString HyperlinkCode() const;

    // tables (VDRTFProps_Tables.cpp, VDRTFProps_TableBuild.cpp)
    void ReaderTable(TVDRTFTableEventKind kind, bool &processed);
    void StartTable();
    void TableCellEnd();
    void FinishTableRow();
    void EndTable(TVDRTFTableEventKind kind);
    void CloseOpenTables();
    void MarkTableRowUnfinished(const TCustomVDData &doc);
    std::unique_ptr<TVDTableItemInfo> NewCollectedRow(TCustomVDData *mainVDData);
    std::unique_ptr<TVDTableItemInfo> BuildTable(TTableSubDataInfo &entry);
    int32_t GetSimpleParaNo(TVDRTFAlignment alignment, int32_t leftIndentTw);
    int32_t GetDefaultTextStyleNo() const;

    // lists and list markers (VDRTFProps_Lists.cpp)
    struct TRTFListMap {
        bool Made = false;
        int32_t CountBefore = 0;  // list styles at or above it were made by this read
        std::vector<int32_t> Map; // RTF list index -> list style
    };
    TRTFListMap &CurrentListMap();
    bool InsertListMarker(int32_t paraNo);
    void MapWord97Lists();
    void InsertWord97ListMarker(int32_t paraNo);
    void PlaceMarker(std::unique_ptr<TVDMarkerItemInfo> marker, int32_t paraNo, bool word97);
    void SetExpectedFont(TRTFExpectedLevel &e, int32_t fontIndex) const;
    TRTFExpectedLevel ExpectedWord97Level(const TVDRTFListLevel97 &src) const;
    bool ListMatches(TVDListInfo &style, TVDRTFList97 &list) const;
    rtl::UnicodeString MarkerText(const TVDAnsiString &text, int32_t fontIndex) const;
    TRTFExpectedLevel ExpectedLegacyLevel(const TVDRTFMarkerProperties &mp);
    int32_t GetListForLegacyMarker(const TVDRTFMarkerProperties &mp);
    TVDMarkerItemInfo *PendingMarker() const;
    void ReaderUpdateMarker();
    void UpdateWord97Marker(TVDMarkerItemInfo &marker);
    void AddMissingLevels(TVDListInfo &style, TVDRTFList97 &list);
    void ReindentLevel(TVDListLevel &level, TVDRTFParaProperties &pp);
    void UpdateParagraphStyle(TVDMarkerItemInfo &marker);

    // pictures (VDRTFProps_Pictures.cpp)
    void ReaderNewPicture(TVDRTFPicture *picture, std::unique_ptr<gfx::TGraphic> &graphic,
                          TVDRTFPosition position, const rtl::UnicodeString &fileName,
                          bool &inserted);

    // fields (VDRTFProps_Fields.cpp)
    void ReaderNewPageField(TVDRTFPosition position, TVDRTFPageNumberType type, bool count);
    void ReaderNewSeq(TVDRTFPosition position, const TVDUnicodeString &name, TVDRTFSeqType type,
                      bool reset, int32_t startFrom);

    // notes (VDRTFProps_Notes.cpp)
    struct TNoteSubData {
        TCustomVDData *PrevVDData = nullptr;
        int32_t ParentRow = -1, ParentCol = -1;
        int32_t LastMarkerIndex = -1;
        int32_t NoteIndex = -1; // of the note item in PrevVDData
        int32_t TablesAtStart = 0;
    };
    void ReaderNote(TVDRTFNoteEventType what, TVDRTFPosition position);
    int32_t NoteTextStyle(int32_t paraNo);
    void InsertNoteReference(TVDRTFPosition position);
    void TakeNoteCharacter();
    void ReplaceNoteItem(TCustomVDData &doc, int32_t index,
                         std::unique_ptr<TCustomVDItemInfo> item);
    void StartNoteDocument(TVDRTFPosition position);
    void MakeEndnote();
    void EndNoteDocument();

    // text styles (VDRTFProps_Styles.cpp)
    int32_t FindOrAddTextStyle(bool unicode, int32_t paraNo);
    void InitNewTextStyle(TFontInfo &style, bool unicode, int32_t paraNo);
    int32_t FindClosestTextStyle(const TFontInfo &run);
    int32_t FindExactTextStyle(const TFontInfo &run);
    // paragraph styles
    int32_t FindOrAddParaStyle();
    void AssignRTFParaProps(TParaInfo &style);

    int32_t FTextStyleNo = 0;
    int32_t FParaStyleNo = 0;
    std::array<TCustomVDData *, 6> FHFData{}; // Header, Footer, HeaderL, FooterL, HeaderF, FooterF
    int32_t FHeaderYMM = -1, FFooterYMM = -1;

    std::unique_ptr<TVDRTFReader> FReader;
    TCustomVDData *FVDData = nullptr;
    TCustomVDData *FCurrentVDData = nullptr;
    TVDStyle *FVDStyle = nullptr;
    TVDRTFHeaderFooterType FHFType = rtf_hf_MainText;
    bool FInsertFlag = false;
    bool FPageBreak = false;
    TCustomVDData *FPageBreakVDData = nullptr;
    rtl::UnicodeString FBookmarkName;
    // Open tables, innermost last; a collected row kept for the table after a last row.
    std::vector<std::unique_ptr<TTableSubDataInfo>> FTables;
    std::unique_ptr<TVDTableItemInfo> FLastRowForNewTable;
    int32_t FCurrentRow = -1;
    int32_t FCurrentCol = -1;
    // Lists: the list style of each old-style level while numbered paragraphs follow one
    // another (11 entries or none), a list map per part of the document, the marker of the
    // paragraph being read.
    std::vector<int32_t> FLevelToListNo;
    std::array<TRTFListMap, 7> FListTableMaps;
    int32_t FLastMarkerIndex = -1;
    int32_t FLastMarkerFirstIndent = 0;
    bool FIsLastMarkerWord97 = false;
    // Notes: the documents below the note being read, the last reference placed, the mark
    // and text style a note took from the text before it.
    std::vector<TNoteSubData> FNotes;
    int32_t FLastNoteRefIndex = -1;
    int32_t FNoteCharTextStyleNo = -1;
    rtl::UnicodeString FNoteCustomChar;
};

} // namespace vizivodu
