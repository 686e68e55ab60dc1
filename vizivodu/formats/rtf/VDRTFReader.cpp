// The RTF parser's life cycle, buffered input, tokenizer and group state stack.
#include "vizivodu/formats/rtf/VDRTFReader.h"

#include "vizivodu/formats/rtf/VDRTFKeywords.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/StrUtils.h"

#include <limits>

namespace vizivodu {

namespace {
constexpr size_t BufferSize = 4096;
constexpr int64_t ProgressThreshold = 20480;
constexpr int32_t RefillsPerProgressCheck = 500;
// Characters (not bytes) a control word keeps: longer words are no keyword and are cut so
// that a hostile run of letters cannot grow a string without bound.
constexpr size_t MaxKeywordLength = 64;

bool IsLetter(uint8_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(uint8_t c) {
    return c >= '0' && c <= '9';
}
} // namespace

void TVDRTFReaderState::Reset() {
    *this = TVDRTFReaderState();
    FCharProps.Reset(0, 0);
}

void TVDRTFReaderState::AssignFrom(const TVDRTFReaderState &source) {
    FDefLanguage = source.FDefLanguage;
    FCharProps = source.FCharProps;
    FParaProps = source.FParaProps;
    FSectProps.AssignFrom(source.FSectProps);
    FRowProps = source.FRowProps;
    FInNote = source.FInNote;
    FCurrentBorderType = source.FCurrentBorderType;
    rds = source.rds;
    ris = source.ris;
    FFieldCode = source.FFieldCode;
    FFieldInserted = source.FFieldInserted;
    FHFType = source.FHFType;
}

TVDRTFRowProperties &TVDRTFReaderState::RowProps() {
    if (!FRowProps) {
        FRowProps = std::make_shared<TVDRTFRowProperties>();
    } else if (FRowProps.use_count() > 1) {
        FRowProps = std::make_shared<TVDRTFRowProperties>(*FRowProps);
    }
    return *FRowProps;
}

TVDRTFReader::TVDRTFReader() = default;

TVDRTFReader::~TVDRTFReader() = default;

void TVDRTFReader::Clear() {
    FTmpString.clear();
    FStyleSheet.Clear();
    FFontTable.Clear();
    FColorTable.Clear();
    FListTable.Clear();
    FListOverrideTable.Clear();
    FMarkerProps.reset();
    FCurPNSecLvl = 0;
    FPicture.reset();
    FPictHexHigh = true;
    FSaveList.clear();
    FRTFState.Reset();
    FText.clear();
    FTextW.clear();
    FPosition = rtf_ts_NewPara;
    FUseLastChar = false;
    FCodePage = DefCodePage;
    FSkipNext = 0;
    FGroup = 0;
    FCurrentNestingLevel = 0;
    FForceEvenEmptyNewLine = false;
    if (PixelsPerInch == 0) {
        PixelsPerInch = 96;
    }
    FShpPictInserted = false;
    FAfterTableRow = false;
    FWidowOrphanControl = false;
    FSkipDestIfUnk = false;
    FEndingCell = false;
    FcbBin = 0;
    FHexHigh = true;
}

TVDRTFErrorCode TVDRTFReader::ReadFromFile(const rtl::UnicodeString &fileName) {
    std::unique_ptr<rtl::TFileStream> stream;
    try {
        stream =
            std::make_unique<rtl::TFileStream>(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    } catch (const rtl::Exception &) {
        return rtf_ec_FileOpenError;
    }
    return ReadFromStream(*stream);
}

TVDRTFErrorCode TVDRTFReader::ReadFromStream(rtl::TStream &stream) {
    FStream = &stream;
    TVDRTFErrorCode result = rtf_ec_Exception;
    try {
        FStreamSize = stream.GetSize();
        Clear();
        FInput.assign(BufferSize, 0);
        FInputIndex = FInputLength = 0;
        FCallProgress = FStreamSize > ProgressThreshold && bool(OnProgress);
        if (FCallProgress) {
            OnProgress(*this, vdprtfprStarting, 0);
        }
        FProgress = 0;
        FProgressCounter = RefillsPerProgressCheck;
        result = ParseRTF();
    } catch (const rtl::Exception &) {
        result = rtf_ec_Exception;
    }
    FInput.clear();
    FInput.shrink_to_fit();
    if (FCallProgress) {
        try {
            OnProgress(*this, vdprtfprEnding, 0);
        } catch (const rtl::Exception &) {
            result = rtf_ec_Exception;
        }
    }
    FStream = nullptr;
    return result;
}

bool TVDRTFReader::IsEndOfInput() const {
    return !FUseLastChar && FInputIndex >= FInputLength && FStream->GetPosition() >= FStreamSize;
}

void TVDRTFReader::RefillBuffer() {
    if (FCallProgress && --FProgressCounter == 0) {
        FProgressCounter = RefillsPerProgressCheck;
        const int32_t percent =
            FStreamSize > 0 ? int32_t(FStream->GetPosition() * 100 / FStreamSize) : 0;
        if (percent != FProgress) {
            FProgress = percent;
            OnProgress(*this, vdprtfprRunning, uint8_t(percent));
        }
    }
    const int32_t got = FStream->Read(FInput.data(), int32_t(BufferSize));
    FInputLength = got > 0 ? size_t(got) : 0;
    FInputIndex = 0;
}

uint8_t TVDRTFReader::GetChar() {
    if (FUseLastChar) {
        FUseLastChar = false;
        return FLastChar;
    }
    if (FInputIndex >= FInputLength) {
        RefillBuffer();
        if (FInputLength == 0) {
            // A stream that shrank under us: read as the end of the input.
            FStreamSize = FStream->GetPosition();
            FLastChar = 0;
            return 0;
        }
    }
    FLastChar = FInput[FInputIndex++];
    return FLastChar;
}

TVDRTFErrorCode TVDRTFReader::ParseRTF() {
    while (true) {
        if (IsEndOfInput()) {
            return EndOfDocument();
        }
        const uint8_t ch = GetChar();
        if (FGroup < 0) {
            return rtf_ec_StackUnderflow;
        }
        if (FRTFState.ris == risBin) {
            if (TVDRTFErrorCode ec = ParseChar(ch); ec != rtf_ec_OK) {
                return ec;
            }
            continue;
        }
        if (TVDRTFErrorCode ec = ParseByte(ch); ec != rtf_ec_OK) {
            return ec;
        }
        if (ch == '}' && FGroup == 0) {
            return EndOfDocument();
        }
    }
}

TVDRTFErrorCode TVDRTFReader::ParseByte(uint8_t ch) {
    switch (ch) {
    case 13:
    case 10:
        return rtf_ec_OK;
    case '\\':
        return ReadControlWord();
    case '{':
        FSkipNext = 0;
        return PushState();
    case '}':
        FSkipNext = 0;
        return PopState();
    default:
        break;
    }
    if (FRTFState.ris == risNorm) {
        if (FSkipNext > 0) {
            --FSkipNext;
            return rtf_ec_OK;
        }
        return ParseChar(ch);
    }
    if (FRTFState.ris == risHex) {
        return ParseHexDigit(ch);
    }
    return rtf_ec_Assertion;
}

TVDRTFErrorCode TVDRTFReader::ParseHexDigit(uint8_t ch) {
    uint8_t nibble;
    if (IsDigit(ch)) {
        nibble = uint8_t(ch - '0');
    } else if (ch >= 'a' && ch <= 'f') {
        nibble = uint8_t(ch - 'a' + 10);
    } else if (ch >= 'A' && ch <= 'F') {
        nibble = uint8_t(ch - 'A' + 10);
    } else {
        return rtf_ec_InvalidHex;
    }
    if (FHexHigh) {
        FHexValue = uint8_t(nibble << 4);
        FHexHigh = false;
        return rtf_ec_OK;
    }
    const uint8_t value = uint8_t(FHexValue | nibble);
    FHexHigh = true;
    FRTFState.ris = risNorm;
    if (FSkipNext > 0) {
        --FSkipNext;
        return rtf_ec_OK;
    }
    return ParseChar(value);
}

TVDRTFErrorCode TVDRTFReader::ReadControlWord() {
    if (IsEndOfInput()) {
        return rtf_ec_EndOfFile;
    }
    uint8_t ch = GetChar();
    if (!IsLetter(ch)) {
        return DispatchKeyword(TVDAnsiString(1, char(ch)), 0, false);
    }
    TVDAnsiString keyword;
    keyword.reserve(16);
    while (IsLetter(ch)) {
        if (keyword.size() < MaxKeywordLength) {
            keyword.push_back(char(ch));
        }
        if (IsEndOfInput()) {
            return DispatchKeyword(keyword, 0, false);
        }
        ch = GetChar();
    }
    bool negative = false;
    if (ch == '-') {
        negative = true;
        if (IsEndOfInput()) {
            return DispatchKeyword(keyword, 0, false);
        }
        ch = GetChar();
    }
    bool fParam = false, overflow = false, atEnd = false;
    int64_t value = 0;
    while (IsDigit(ch)) {
        fParam = true;
        value = value * 10 + (ch - '0');
        if (value > std::numeric_limits<int32_t>::max()) {
            overflow = true;
            value = 0;
        }
        if (IsEndOfInput()) {
            atEnd = true;
            break;
        }
        ch = GetChar();
    }
    int32_t param = overflow ? 0 : int32_t(value);
    if (negative) {
        param = -param;
    }
    if (!atEnd && ch != ' ') {
        UngetChar();
    }
    return DispatchKeyword(keyword, param, fParam);
}

TVDRTFErrorCode TVDRTFReader::EndOfDocument() {
    DoUpdateMarker();
    for (int32_t i = FCurrentNestingLevel; i > 0; --i) {
        FireTableEvent(vdf_tbl_TableForcedEnd);
    }
    FCurrentNestingLevel = 0;
    FColorTable.DeleteLast();
    if (FGroup < 0) {
        return rtf_ec_StackUnderflow;
    }
    // Text pending when the input ends inside a group is reported too: nothing read is lost.
    const TVDRTFErrorCode ec =
        !FText.empty() || !FTextW.empty() ? FlushPending(true, true) : rtf_ec_OK;
    return FGroup > 0 ? rtf_ec_UnmatchedBrace : ec;
}

TVDRTFErrorCode TVDRTFReader::PushState() {
    if (FGroup >= MaxGroupDepth) {
        return rtf_ec_StackOverflow;
    }
    FSaveList.push_back(FRTFState);
    FRTFState.ris = risNorm;
    FHexHigh = true;
    ++FGroup;
    if (FRTFState.rds == rdsStyleSheet) {
        TVDRTFStyleSheetEntry &entry = FStyleSheet.Add();
        entry.FNumber = 0;
        entry.FStyleType = rtf_sst_Par;
        FRTFState.rds = rdsStyleSheetEntry;
        FTmpString.clear();
    }
    return rtf_ec_OK;
}

TVDRTFErrorCode TVDRTFReader::PopState() {
    if (FSaveList.empty()) {
        return rtf_ec_StackUnderflow;
    }
    TVDRTFReaderState source = std::move(FSaveList.back());
    FSaveList.pop_back();
    if (FSaveList.empty()) {
        DoUpdateMarker();
        if (OnEndParsing) {
            OnEndParsing(*this);
        }
    }
    if (FRTFState.rds == rdsStyleSheetEntry && source.rds == rdsStyleSheet &&
        FStyleSheet.Count() > 0) {
        FStyleSheet.Last().FParaProps = FRTFState.FParaProps;
        FStyleSheet.Last().FCharProps = FRTFState.FCharProps;
    }
    bool hyperlink = false;
    if (FRTFState.rds == rdsFldInst) {
        hyperlink = rtl::TrimLeft(FRTFState.FFieldCode).starts_with(u"HYPERLINK");
        if (hyperlink) {
            source.FFieldCode = FRTFState.FFieldCode;
        }
        source.FFieldInserted = FRTFState.FFieldInserted;
    }
    const bool leavingNote = FRTFState.FInNote && !source.FInNote;
    if (TVDRTFErrorCode ec = PopStateEndDestination(source, leavingNote, hyperlink);
        ec != rtf_ec_OK) {
        return ec;
    }
    const bool hf = FRTFState.FHFType != source.FHFType && FRTFState.FHFType != rtf_hf_MainText;
    if (hf && OnHeaderFooter) {
        CloseTables(true);
        bool supported = true;
        OnHeaderFooter(*this, FRTFState.FHFType, false, supported);
    }
    if (FRTFState.rds == rdsFldInst && FRTFState.FFieldInserted) {
        source.FFieldInserted = true;
    }
    const bool leavingPN = FRTFState.rds == rdsPN && source.rds != rdsPN;
    FRTFState.AssignFrom(source);
    if (leavingPN) {
        TakePendingMarker();
    }
    FHexHigh = true;
    if (leavingNote) {
        CloseTables(false);
        if (OnNote) {
            OnNote(*this, rtf_ne_End, FPosition);
        }
    }
    --FGroup;
    return rtf_ec_OK;
}

TVDRTFErrorCode TVDRTFReader::PopStateEndDestination(const TVDRTFReaderState &source,
                                                     bool leavingNote, bool hyperlink) {
    if (FRTFState.rds == rdsNorm) {
        TVDRTFErrorCode ec = rtf_ec_OK;
        if (leavingNote) {
            ec = PutChar(13, false, false);
            FPosition = rtf_ts_ContinuePara;
        } else if (ProcessFinalPar && FSaveList.empty()) {
            ec = PutChar(13, false, false);
        } else {
            ec = FlushPending(false, false);
        }
        if (ec != rtf_ec_OK) {
            return ec;
        }
    }
    const bool nestedInstruction = FRTFState.rds == rdsFldInst && !hyperlink &&
                                   !FRTFState.FFieldCode.empty() &&
                                   FRTFState.FFieldCode != source.FFieldCode;
    if (FRTFState.rds != source.rds || nestedInstruction) {
        return EndDestination(FRTFState.rds, source);
    }
    return rtf_ec_OK;
}

} // namespace vizivodu
