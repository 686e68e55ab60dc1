// The RTF parser's text output: runs and their positions, Unicode characters, table nesting
// events, row and cell ends, code-page conversion and field arguments.
#include "vizivodu/formats/rtf/VDRTFReader.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

namespace vizivodu {

namespace {

// Bytes 0x80..0xFF of code page 437 (charset 254) and of the Mac character set (charset 77)
// as the Windows-1252 byte of the same character ("+", "-", "|" for box drawing, "?" none).
const uint8_t TableCharsetPC437[128] = {
    0xc7, 0xfc, 0xe9, 0xe2, 0xe4, 0xe0, 0xe5, 0xe7, 0xea, 0xeb, 0xe8, 0xef, 0xee, 0xec, 0xc4, 0xc5,
    0xc9, 0xe6, 0xc6, 0xf4, 0xf6, 0xf2, 0xfb, 0xf9, 0xff, 0xd6, 0xdc, 0xa2, 0xa3, 0xa5, 0x3f, 0x83,
    0xe1, 0xed, 0xf3, 0xfa, 0xf1, 0xd1, 0xaa, 0xba, 0xbf, 0x3f, 0xac, 0xbd, 0xbc, 0xa1, 0xab, 0xbb,
    0x3f, 0x3f, 0x3f, 0x7c, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x7c, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b,
    0x2b, 0x2b, 0x2b, 0x2b, 0x2d, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x2d, 0x2b, 0x2b,
    0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x2b, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f,
    0x3f, 0xdf, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f,
    0x3f, 0xb1, 0x3f, 0x3f, 0x3f, 0x3f, 0xf7, 0x3f, 0xb0, 0xb7, 0xb7, 0x3f, 0x6e, 0xb2, 0x3f, 0xa0,
};
const uint8_t TableCharsetMac[128] = {
    0xc4, 0xc5, 0xc7, 0xc9, 0xd1, 0xd6, 0xdc, 0xe1, 0xe0, 0xe2, 0xe4, 0xe3, 0xe5, 0xe7, 0xe9, 0xe8,
    0xea, 0xeb, 0xed, 0xec, 0xee, 0xef, 0xf1, 0xf3, 0xf2, 0xf4, 0xf6, 0xf5, 0xfa, 0xf9, 0xfb, 0xfc,
    0x86, 0xb0, 0xa2, 0xa3, 0xa7, 0x95, 0xb6, 0xdf, 0xae, 0xa9, 0x99, 0xb4, 0xa8, 0x3f, 0xc6, 0xd8,
    0x3f, 0xb1, 0x3f, 0x3f, 0xa5, 0xb5, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f, 0xaa, 0xba, 0x3f, 0xe6, 0xf8,
    0xbf, 0xa1, 0xac, 0x3f, 0x83, 0x3f, 0x3f, 0xab, 0xbb, 0x85, 0xa0, 0xc0, 0xc3, 0xd5, 0x8c, 0x9c,
    0x96, 0x97, 0x93, 0x94, 0x91, 0x92, 0xf7, 0x3f, 0xff, 0x9f, 0x2f, 0x80, 0x8b, 0x9b, 0x3f, 0x3f,
    0x87, 0xb7, 0x82, 0x84, 0x89, 0xc2, 0xca, 0xc1, 0xcb, 0xc8, 0xcd, 0xce, 0xcf, 0xcc, 0xd3, 0xd4,
    0x3f, 0xd2, 0xda, 0xdb, 0xd9, 0x49, 0x88, 0x98, 0xaf, 0x3f, 0xb7, 0x3f, 0x3f, 0x3f, 0x3f, 0x3f,
};

void ConvertHighBytes(TVDAnsiString &text, const uint8_t (&table)[128]) {
    for (char &c : text) {
        const uint8_t b = uint8_t(c);
        if (b >= 0x80) {
            c = char(table[b - 0x80]);
        }
    }
}

} // namespace

TVDRTFErrorCode TVDRTFReader::PutChar(uint8_t ch, bool syncEnds, bool sync) {
    if (sync) {
        SyncTableNesting(syncEnds);
    }
    if (SkipHiddenText && FRTFState.FCharProps.FHidden) {
        return rtf_ec_OK;
    }
    if (TabAsSeparateChar && ch == 9) {
        TVDRTFErrorCode ec = Flush(rtf_ts_ContinuePara);
        if (ec == rtf_ec_OK) {
            FText.assign(1, '\t');
            ec = Flush(rtf_ts_ContinuePara);
        }
        return ec;
    }
    if (ch == 0 || ch == 10 || ch == 13) {
        return Flush(ch == 10 ? rtf_ts_NewPara : (ch == 13 ? rtf_ts_NewLine : rtf_ts_ContinuePara));
    }
    if (!FTextW.empty()) {
        if (TVDRTFErrorCode ec = Flush(rtf_ts_ContinuePara); ec != rtf_ec_OK) {
            return ec;
        }
    }
    FText.push_back(char(ch));
    return rtf_ec_OK;
}

TVDRTFErrorCode TVDRTFReader::Flush(TVDRTFPosition pending) {
    const TVDRTFErrorCode ec = FlushText(pending);
    if (ec == rtf_ec_OK) {
        FPosition = pending;
    }
    return ec;
}

// Reports the pending run (8-bit and UTF-16 text are never pending together) with the
// position it begins at. pending is the break that ends it; ContinuePara stands for none,
// and a bare flush with nothing pending keeps the position.
TVDRTFErrorCode TVDRTFReader::FlushText(TVDRTFPosition &pending) {
    if (!FForceEvenEmptyNewLine && FText.empty() && FTextW.empty()) {
        if (FPosition == rtf_ts_ContinuePara) {
            return rtf_ec_OK;
        }
        if (pending == rtf_ts_ContinuePara) {
            pending = FPosition;
            return rtf_ec_OK;
        }
    }
    FRTFState.FParaProps.Finalize();
    TVDRTFErrorCode result = rtf_ec_OK;
    try {
        if (OnNewUnicodeText && !FTextW.empty()) {
            OnNewUnicodeText(*this, FTextW, FPosition);
        } else if (OnNewText) {
            const int32_t font = FRTFState.FCharProps.FFontIndex;
            if (font >= 0 && font < FFontTable.Count()) {
                if (FFontTable[font].Charset == 254) {
                    ConvertHighBytes(FText, TableCharsetPC437);
                } else if (FFontTable[font].Charset == 77) {
                    ConvertHighBytes(FText, TableCharsetMac);
                }
            }
            if (!FText.empty() || FPosition != rtf_ts_ContinuePara) {
                OnNewText(*this, FText, FPosition);
            }
        }
    } catch (const rtl::Exception &) {
        result = rtf_ec_Aborted;
    }
    FText.clear();
    FTextW.clear();
    FAfterTableRow = false;
    return result;
}

TVDRTFErrorCode TVDRTFReader::PutBodyWideChar(char16_t wc) {
    SyncTableNesting(true);
    if ((SkipHiddenText && FRTFState.FCharProps.FHidden) || !OnNewUnicodeText) {
        return rtf_ec_OK;
    }
    if (!FText.empty()) {
        if (TVDRTFErrorCode ec = Flush(rtf_ts_ContinuePara); ec != rtf_ec_OK) {
            return ec;
        }
    }
    if (wc != 0) {
        FTextW.push_back(wc);
    }
    return rtf_ec_OK;
}

TVDRTFErrorCode TVDRTFReader::UnicodeChar(int32_t param) {
    const char16_t unit = char16_t(param < 0 ? param + 65536 : param);
    const int32_t skip = FRTFState.FCharProps.FSkipAnsiCount;
    switch (FRTFState.rds) {
    case rdsNorm:
        if (OnNewUnicodeText) {
            FSkipNext = skip;
            return PutBodyWideChar(unit);
        }
        return rtf_ec_OK;
    case rdsFontTable:
    case rdsStyleSheetEntry:
    case rdsBmkStart:
    case rdsAuthor:
    case rdsTitle:
    case rdsDocComm:
    case rdsFldInst:
    case rdsListLevelText:
        FSkipNext = skip;
        return AddDestWideChar(unit);
    case rdsPNTextAfter:
    case rdsPNTextBefore:
        // A Symbol number text stores its characters in the private area; the low byte is the
        // character in the font.
        if (FMarkerProps && unit >= 0xF000 && unit <= 0xF0FF &&
            FFontTable.IsSymbolFont(FMarkerProps->FFontIndex)) {
            FSkipNext = skip;
            return ParseChar(uint8_t(unit & 0xFF));
        }
        break;
    default:
        break;
    }
    if (skip < 1) {
        return rtf_ec_OK;
    }
    FSkipNext = skip;
    for (char c : UnicodeToAnsi(TVDUnicodeString(1, unit))) {
        if (TVDRTFErrorCode ec = ParseChar(uint8_t(c)); ec != rtf_ec_OK) {
            return ec;
        }
    }
    return rtf_ec_OK;
}

void TVDRTFReader::SyncTableNesting(bool syncEnds) {
    const TVDRTFParaProperties &pp = FRTFState.FParaProps;
    const int32_t level = pp.TableLevel();
    if (pp.NoTableEv) {
        syncEnds = false;
    }
    if (!OnTable) {
        FCurrentNestingLevel = level;
        return;
    }
    while (FCurrentNestingLevel < level) {
        FireTableEvent(vdf_tbl_TableStart);
        ++FCurrentNestingLevel;
    }
    while (syncEnds && level < FCurrentNestingLevel) {
        if (!FireTableEvent(vdf_tbl_TableEnd)) {
            break;
        }
        --FCurrentNestingLevel;
    }
}

bool TVDRTFReader::FireTableEvent(TVDRTFTableEventKind kind) {
    DoUpdateMarker();
    bool processed = true;
    if (OnTable) {
        OnTable(*this, kind, processed);
    }
    FAfterTableRow =
        kind == vdf_tbl_TableEnd || kind == vdf_tbl_TableForcedEnd || kind == vdf_tbl_RowEnd;
    return processed;
}

void TVDRTFReader::CloseTables(bool forHeaderFooter) {
    for (int32_t i = FCurrentNestingLevel; i > 0; --i) {
        if (!FireTableEvent(vdf_tbl_TableEnd)) {
            break;
        }
    }
    FCurrentNestingLevel = forHeaderFooter ? 0 : FRTFState.FParaProps.TableLevel();
}

void TVDRTFReader::DoUpdateMarker() {
    if (OnUpdateMarker) {
        if (FRTFState.FParaProps.HasMarker()) {
            FRTFState.FParaProps.FMarkerProps->UpdateFrom(FRTFState.FCharProps);
        }
        OnUpdateMarker(*this);
    }
}

TVDRTFErrorCode TVDRTFReader::CellEnd() {
    SyncTableNesting(true);
    FEndingCell = true;
    const TVDRTFErrorCode ec = PutChar(13, true, true);
    FEndingCell = false;
    FPosition = rtf_ts_NewPara;
    FireTableEvent(vdf_tbl_CellEnd);
    return ec;
}

TVDRTFErrorCode TVDRTFReader::RowEnd() {
    if (FRTFState.FRowProps) {
        FRTFState.RowProps().FinalizeCells();
    }
    SyncTableNesting(true);
    FText.clear();
    FTextW.clear();
    FireTableEvent(vdf_tbl_RowEnd);
    return rtf_ec_OK;
}

// ---- Code pages ----

uint32_t TVDRTFReader::GetCurrentCodePage() const {
    const int32_t font = FRTFState.FCharProps.FFontIndex;
    if (font >= 0 && font < FFontTable.Count()) {
        return CharsetToCodePage(FFontTable[font].Charset);
    }
    return DefCodePage;
}

TVDUnicodeString TVDRTFReader::AnsiToUnicode(const TVDAnsiString &s, uint32_t codePage) const {
    if (s.empty()) {
        return {};
    }
    return RawUnicodeToString(AnsiToRawUnicode(codePage, s));
}

TVDAnsiString TVDRTFReader::UnicodeToAnsi(const TVDUnicodeString &s) const {
    return RawUnicodeToAnsi(FCodePage, StringToRawUnicode(s));
}

bool TVDRTFReader::GetWidowOrphanControl(const TVDRTFParaProperties &paraProps) const {
    switch (paraProps.FWidowOrphanControl) {
    case rtf_woc_On:
        return true;
    case rtf_woc_Off:
        return false;
    default:
        return FWidowOrphanControl;
    }
}

// ---- Field arguments ----

TVDUnicodeString TVDRTFReader::GetFieldCommandValue(const TVDUnicodeString &s) {
    int32_t start = 0, len = 0;
    return GetFieldCommandValueEx(s, start, len, true);
}

TVDUnicodeString TVDRTFReader::GetFieldCommandValueEx(const TVDUnicodeString &s,
                                                      int32_t &startIndex, int32_t &len,
                                                      bool ignorePrefixes) {
    startIndex = len = 0;
    const size_t n = s.size();
    if (n < 2) {
        return {};
    }
    size_t start = n;
    for (size_t i = 1; i < n; ++i) {
        if (!ignorePrefixes && s[i] == u'\\' && i + 1 < n && s[i + 1] != u'\\' &&
            s[i + 1] != u'"') {
            return {};
        }
        if (s[i] != u' ' && s[i] != u'\\' && s[i - 1] == u' ') {
            start = i;
            break;
        }
    }
    if (start == n) {
        return {};
    }
    size_t end = n;
    if (s[start] == u'"') {
        for (size_t i = start + 1; i + 1 < n; ++i) {
            if (s[i] == u'"' && s[i - 1] != u'\\' && s[i + 1] == u' ') {
                end = i + 1;
                break;
            }
        }
    } else {
        const size_t space = s.find(u' ', start);
        end = space == TVDUnicodeString::npos ? n : space;
    }
    startIndex = int32_t(start + 1);
    len = int32_t(end - start);
    TVDUnicodeString arg = s.substr(start, end - start);
    if (arg.size() > 1 && arg[0] == u'"') {
        return arg.substr(1, arg.size() - 2);
    }
    return arg;
}

} // namespace vizivodu
