// The RTF parser: a tokenizer over a byte stream that keeps the formatting in force in a stack
// of group states and reports text runs, table structure, notes, bookmarks, headers and
// footers, page breaks and the style sheet to its owner through events. It builds no document.
//
// Failure: ReadFromStream never raises; it returns the first error code met, and what was
// reported before it stays reported. Every length, count, index and nesting depth read from
// the input is checked before use: groups nest at most MaxGroupDepth deep and tables at most
// MaxTableNesting levels (deeper input ends with rtf_ec_StackOverflow), `\bin` takes no more
// bytes than the stream holds, colour channels are clamped to 0..255 and indexes outside a
// table fall back as for a missing entry.
#pragma once

#include "vizivodu/formats/rtf/VDRTFLists.h"
#include "vizivodu/formats/rtf/VDRTFPictures.h"
#include "vizivodu/formats/rtf/VDRTFRecords.h"

#include "platform/rtl/System.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rtl {
class TStream;
}

namespace vizivodu {

enum TVDRTFErrorCode : uint8_t {
    rtf_ec_OK,
    rtf_ec_StackUnderflow,
    rtf_ec_StackOverflow,
    rtf_ec_UnmatchedBrace,
    rtf_ec_InvalidHex,
    rtf_ec_BadTable,
    rtf_ec_Assertion,
    rtf_ec_EndOfFile,
    rtf_ec_FileOpenError,
    rtf_ec_Exception,
    rtf_ec_InvalidPicture,
    rtf_ec_Aborted
};

enum TVDRTFPosition : uint8_t { rtf_ts_ContinuePara, rtf_ts_NewLine, rtf_ts_NewPara };
enum TRTFris : uint8_t { risNorm, risBin, risHex };

enum TRTFrds : uint8_t {
    rdsNorm,
    rdsSkip,
    rdsFontTable,
    rdsStyleSheet,
    rdsColorTable,
    rdsStyleSheetEntry,
    rdsPict,
    rdsShpPict,
    rdsObject,
    rdsObjData,
    rdsBmkStart,
    rdsInfo,
    rdsAuthor,
    rdsTitle,
    rdsDocComm,
    rdsField,
    rdsFldInst,
    rdsPN,
    rdsPNTextAfter,
    rdsPNTextBefore,
    rdsPNSecLvl,
    rdsListTable,
    rdsList,
    rdsListLevel,
    rdsListName,
    rdsListLevelText,
    rdsListLevelNumbers,
    rdsLOTable,
    rdsLO,
    rdsLOLevel,
    rdsUpr
};

enum TVDRTFProgressStage : uint8_t { vdprtfprStarting, vdprtfprRunning, vdprtfprEnding };
enum TVDRTFTableEventKind : uint8_t {
    vdf_tbl_TableStart,
    vdf_tbl_TableEnd,
    vdf_tbl_TableForcedEnd,
    vdf_tbl_TableLastRowEnd,
    vdf_tbl_RowEnd,
    vdf_tbl_CellEnd
};
enum TVDRTFHeaderFooterType : uint8_t {
    rtf_hf_MainText,
    rtf_hf_Header,
    rtf_hf_Footer,
    rtf_hf_HeaderL,
    rtf_hf_FooterL,
    rtf_hf_HeaderF,
    rtf_hf_FooterF
};
enum TVDRTFNoteEventType : uint8_t { rtf_ne_Character, rtf_ne_Start, rtf_ne_EndNote, rtf_ne_End };
enum TVDRTFPageNumberType : uint8_t {
    rtf_pntDefault,
    rtf_pntDecimal,
    rtf_pntDecimalDash,
    rtf_pntLowerAlpha,
    rtf_pntUpperAlpha,
    rtf_pntLowerRoman,
    rtf_pntUpperRoman
};
enum TVDRTFSeqType : uint8_t {
    rtf_seqDecimal,
    rtf_seqLowerAlpha,
    rtf_seqUpperAlpha,
    rtf_seqLowerRoman,
    rtf_seqUpperRoman
};
enum TVDRTFHighlightConvert : uint8_t { rtf_hl_Ignore, rtf_hl_FixedColors, rtf_hl_ColorTable };

// One group's formatting and destination. The fields below "not copied" are reader-wide:
// AssignFrom leaves them as they are.
struct TVDRTFReaderState {
    uint32_t FDefLanguage = 0;
    TVDRTFCharProperties FCharProps;
    TVDRTFParaProperties FParaProps;
    TVDRTFSectionProperties FSectProps;
    std::shared_ptr<TVDRTFRowProperties> FRowProps; // copied on write
    bool FInNote = false;
    TVDRTFCurrentBorderType FCurrentBorderType = rtf_bt_Para;
    TRTFrds rds = rdsNorm;
    TRTFris ris = risNorm;
    TVDUnicodeString FFieldCode;
    bool FFieldInserted = false;
    TVDRTFHeaderFooterType FHFType = rtf_hf_MainText;
    // not copied
    TVDUnicodeString FBmkStartName;
    int32_t DefFontNumber = 0;
    int32_t DefFontIndex = -1;

    void Reset();
    void AssignFrom(const TVDRTFReaderState &source);
    // The row properties, made on first use; a group's changes do not reach the outer group.
    TVDRTFRowProperties &RowProps();
};

class TVDRTFReader {
public:
    // Deeper than any program writes; checked so that hostile input cannot exhaust memory.
    static constexpr int32_t MaxGroupDepth = 10000;
    static constexpr int32_t MaxTableNesting = 64;

    TVDRTFReader();
    ~TVDRTFReader();
    TVDRTFReader(const TVDRTFReader &) = delete;
    TVDRTFReader &operator=(const TVDRTFReader &) = delete;

    TVDRTFErrorCode ReadFromStream(rtl::TStream &stream);
    TVDRTFErrorCode ReadFromFile(const rtl::UnicodeString &fileName);
    void Clear();

    // ---- Settings ----
    uint32_t DefCodePage = 0; // 0: the system ANSI code page
    TVDRTFHighlightConvert ConvertHighlight = rtf_hl_FixedColors;
    bool ExtractMetafileBitmaps = true;
    int32_t PixelsPerInch = 0;
    bool ProcessFinalPar = false;
    bool TabAsSeparateChar = false;
    bool SkipHiddenText = false;
    rtl::UnicodeString BasePath;

    // ---- Events (the reader first) ----
    std::function<void(TVDRTFReader &, const TVDAnsiString &, TVDRTFPosition)> OnNewText;
    std::function<void(TVDRTFReader &, const TVDUnicodeString &, TVDRTFPosition)> OnNewUnicodeText;
    std::function<void(TVDRTFReader &)> OnUpdateMarker;
    std::function<void(TVDRTFReader &, TVDRTFTableEventKind, bool &processed)> OnTable;
    std::function<void(TVDRTFReader &)> OnRequiredPageBreak;
    std::function<void(TVDRTFReader &, TVDRTFHeaderFooterType, bool starting, bool &supported)>
        OnHeaderFooter;
    std::function<void(TVDRTFReader &, TVDRTFNoteEventType, TVDRTFPosition)> OnNote;
    std::function<void(TVDRTFReader &, const TVDAnsiString &keyword, int32_t param, bool fParam,
                       TVDAnsiString &text, bool &doDefault)>
        OnTranslateKeyword;
    std::function<void(TVDRTFReader &, TVDRTFProgressStage, uint8_t percentDone)> OnProgress;
    std::function<void(TVDRTFReader &)> OnEndParsing;
    std::function<void(TVDRTFReader &, const rtl::UnicodeString &name)> OnBookmarkStart;
    std::function<void(TVDRTFReader &)> OnStyleSheet;
    // A picture read: the record (nullptr for a picture from a file), its graphic (nullptr when
    // its format has none; a handler that sets inserted may take it), the position.
    std::function<void(TVDRTFReader &, TVDRTFPicture *, std::unique_ptr<gfx::TGraphic> &,
                       TVDRTFPosition, const rtl::UnicodeString &fileName, bool &inserted)>
        OnNewPicture;
    // Fields: a sequence number (its name, kind, and the restart value when reset), a page
    // number, a page count.
    std::function<void(TVDRTFReader &, TVDRTFPosition, const TVDUnicodeString &seqName,
                       TVDRTFSeqType, bool reset, int32_t startFrom)>
        OnNewSeq;
    std::function<void(TVDRTFReader &, TVDRTFPosition, TVDRTFPageNumberType)> OnNewPageNumber;
    std::function<void(TVDRTFReader &, TVDRTFPosition, TVDRTFPageNumberType)> OnNewPageCount;

    // ---- What handlers read ----
    TVDRTFReaderState &RTFState() { return FRTFState; }
    TVDRTFCharProperties &CharProps() { return FRTFState.FCharProps; }
    TVDRTFParaProperties &ParaProps() { return FRTFState.FParaProps; }
    TVDRTFSectionProperties &SectProps() { return FRTFState.FSectProps; }
    TVDRTFFontList &FontTable() { return FFontTable; }
    TVDRTFColorList &ColorTable() { return FColorTable; }
    TVDRTFStyleSheet &StyleSheet() { return FStyleSheet; }
    TVDRTFDocProperties &DocProps() { return FDocProps; }
    TVDRTFListTable97 &ListTable() { return FListTable; }
    TVDRTFListOverrideTable97 &ListOverrideTable() { return FListOverrideTable; }
    const std::vector<TVDRTFReaderState> &SaveList() const { return FSaveList; }
    uint32_t CodePage() const { return FCodePage; }
    bool WidowOrphanControl() const { return FWidowOrphanControl; }
    bool EndingCell() const { return FEndingCell; }

    TVDUnicodeString AnsiToUnicode(const TVDAnsiString &s, uint32_t codePage) const;
    TVDAnsiString UnicodeToAnsi(const TVDUnicodeString &s) const;
    uint32_t GetCurrentCodePage() const;
    bool GetWidowOrphanControl(const TVDRTFParaProperties &paraProps) const;
    static TVDUnicodeString GetFieldCommandValue(const TVDUnicodeString &s);
    static TVDUnicodeString GetFieldCommandValueEx(const TVDUnicodeString &s, int32_t &startIndex,
                                                   int32_t &len, bool ignorePrefixes);

    // ---- Used by the keyword and destination units ----
    TVDRTFErrorCode DispatchKeyword(const TVDAnsiString &keyword, int32_t param, bool fParam);
    TVDRTFErrorCode ParseChar(uint8_t ch);
    TVDRTFErrorCode PutWideChar(char16_t wc);

private:
    // tokenizer and input (VDRTFReader.cpp)
    bool IsEndOfInput() const;
    uint8_t GetChar();
    void UngetChar() { FUseLastChar = true; }
    void RefillBuffer();
    TVDRTFErrorCode ParseRTF();
    TVDRTFErrorCode ParseByte(uint8_t ch);
    TVDRTFErrorCode ParseHexDigit(uint8_t ch);
    TVDRTFErrorCode ReadControlWord();
    TVDRTFErrorCode EndOfDocument();
    TVDRTFErrorCode PushState();
    TVDRTFErrorCode PopState();
    TVDRTFErrorCode PopStateEndDestination(const TVDRTFReaderState &source, bool leavingNote,
                                           bool hyperlink);

    // text output (VDRTFReader_Text.cpp)
    TVDRTFErrorCode PutChar(uint8_t ch, bool syncEnds, bool sync);
    TVDRTFErrorCode FlushText(TVDRTFPosition &pending);
    TVDRTFErrorCode Flush(TVDRTFPosition pending);
    TVDRTFErrorCode FlushPending(bool syncEnds, bool sync) { return PutChar(0, syncEnds, sync); }
    TVDRTFErrorCode PutBodyWideChar(char16_t wc);
    void SyncTableNesting(bool syncEnds);
    bool FireTableEvent(TVDRTFTableEventKind kind);
    void CloseTables(bool forHeaderFooter);
    void DoUpdateMarker();
    TVDRTFErrorCode UnicodeChar(int32_t param);
    TVDRTFErrorCode AddDestWideChar(char16_t wc);
    TVDRTFErrorCode CellEnd();
    TVDRTFErrorCode RowEnd();

    // properties (VDRTFReader_Props.cpp)
    TVDRTFErrorCode ApplyProperty(uint8_t idx, int32_t value);
    bool PropertyActsHere(uint8_t idx) const;
    void ApplyCharProperty(uint8_t idx, int32_t value);
    void ApplyParaProperty(uint8_t idx, int32_t value);
    void ApplyDocProperty(uint8_t idx, int32_t value);
    void ApplyBorderProperty(uint8_t idx, int32_t value);
    void ApplyRowProperty(uint8_t idx, int32_t value);
    void ApplyCellProperty(uint8_t idx, int32_t value);
    TVDRTFErrorCode ApplySpecialProperty(uint8_t idx, int32_t value, bool &handled);
    void ApplyFontTableProperty(uint8_t idx, int32_t value);
    void ApplyColorTableProperty(uint8_t idx, int32_t value);
    bool ApplyStyleEntryProperty(uint8_t idx, int32_t value);
    void SetHidden(bool hidden);
    void ApplyHighlight(int32_t value);
    TVDRTFBorderSide *CurrentBorderSide();
    void CompleteFontName();

    // lists and old-style numbering (VDRTFReader_Lists.cpp)
    TVDRTFErrorCode ChangeListDestination(uint8_t idx, int32_t value);
    void ApplyListProperty(uint8_t idx, int32_t value);
    void ApplyListLevelProperty(TVDRTFListLevel97 &level, uint8_t idx, int32_t value);
    void ApplyPNProperty(uint8_t idx, int32_t value);
    void ApplyMarkerProperty(TVDRTFMarkerProperties &marker, uint8_t idx, int32_t value);
    bool ListChar(uint8_t ch);
    bool ListWideChar(char16_t wc);
    void EndListDestination(TRTFrds rds);
    void TakePendingMarker();
    TVDRTFListLevel97 *LastListLevel();
    TVDRTFMarkerProperties *CurrentSectionMarkerDef();

    // pictures (VDRTFReader_Pictures.cpp)
    TVDRTFErrorCode StartPicture();
    void ApplyPictureProperty(uint8_t idx, int32_t value);
    TVDRTFErrorCode PictureChar(uint8_t ch);
    void SuggestPictureSize(TVDRTFPicture &p) const;
    TVDRTFErrorCode EndPicture();

    // fields (VDRTFReader_Fields.cpp)
    TVDRTFErrorCode RunFieldInstruction();
    TVDRTFErrorCode SeqField(const TVDUnicodeString &s);
    TVDRTFErrorCode PageField(TVDRTFPageNumberType type, bool count);

    // destinations (VDRTFDest.cpp)
    TVDRTFErrorCode ChangeDestination(uint8_t idx, int32_t value);
    TVDRTFErrorCode EndDestination(TRTFrds rds, const TVDRTFReaderState &source);
    TVDRTFErrorCode StartNote();
    TVDRTFErrorCode StartHeaderFooter(TVDRTFHeaderFooterType kind);
    TVDRTFErrorCode NoteCharacter();
    TVDRTFErrorCode SpecialControl(uint8_t idx, int32_t value);

    friend class TVDRTFReaderTestAccess;

    rtl::TStream *FStream = nullptr;
    int64_t FStreamSize = 0;
    std::vector<uint8_t> FInput;
    size_t FInputIndex = 0;
    size_t FInputLength = 0;
    uint8_t FLastChar = 0;
    bool FUseLastChar = false;

    TVDAnsiString FText;
    TVDUnicodeString FTextW;
    std::string FTmpString;
    TVDRTFStyleSheet FStyleSheet;
    TVDRTFFontList FFontTable;
    TVDRTFColorList FColorTable;
    TVDRTFDocProperties FDocProps;
    TVDRTFListTable97 FListTable;
    TVDRTFListOverrideTable97 FListOverrideTable;
    std::optional<TVDRTFMarkerProperties> FMarkerProps; // of the \pn group being read
    int32_t FCurPNSecLvl = 0;
    std::unique_ptr<TVDRTFPicture> FPicture; // of the \pict group being read
    bool FPictHexHigh = true;
    uint8_t FPictHexValue = 0;
    TVDRTFReaderState FRTFState;
    std::vector<TVDRTFReaderState> FSaveList;

    uint32_t FCodePage = 0;
    bool FWidowOrphanControl = false;
    int32_t FSkipNext = 0;
    int32_t FCurrentNestingLevel = 0;
    bool FCallProgress = false;
    int32_t FProgress = 0;
    int32_t FProgressCounter = 0;
    bool FShpPictInserted = false;
    std::array<bool, 6> FHFRead{};
    bool FForceEvenEmptyNewLine = false;
    bool FAfterTableRow = false;
    TVDRTFPosition FPosition = rtf_ts_NewPara;
    int32_t FGroup = 0;
    int32_t FcbBin = 0;
    bool FSkipDestIfUnk = false;
    bool FEndingCell = false;
    uint8_t FHexValue = 0;
    bool FHexHigh = true;
};

} // namespace vizivodu
