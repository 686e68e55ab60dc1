// The RTF parser's destinations: changing them, routing characters by them and ending them;
// the style sheet, document information, bookmarks, fields, notes, headers and footers and
// the Unicode alternatives (\upr, \ud). Objects' data is skipped (their result is read).
#include "vizivodu/formats/rtf/VDRTFReader.h"

#include "platform/rtl/Exceptions.h"

namespace vizivodu {

TVDRTFErrorCode TVDRTFReader::SpecialControl(uint8_t idx, int32_t value) {
    const TRTFrds rds = FRTFState.rds;
    switch (idx) {
    case 0: // \bin: N <= 0 means no data (a following brace is not swallowed)
        if (value > 0) {
            FRTFState.ris = risBin;
            FcbBin = value;
        }
        return rtf_ec_OK;
    case 1:
        if (rds != rdsSkip && rds != rdsUpr) {
            FRTFState.ris = risHex;
            FHexHigh = true;
        }
        return rtf_ec_OK;
    case 2:
        if (rds != rdsSkip && rds != rdsUpr) {
            FSkipDestIfUnk = true;
        }
        return rtf_ec_OK;
    default:
        return rtf_ec_BadTable;
    }
}

TVDRTFErrorCode TVDRTFReader::ChangeDestination(uint8_t idx, int32_t value) {
    TVDRTFReaderState &st = FRTFState;
    if (st.rds == rdsUpr) {
        if (idx == 47) {
            for (size_t i = FSaveList.size(); i-- > 0;) {
                if (FSaveList[i].rds != rdsUpr) {
                    st.rds = FSaveList[i].rds;
                    break;
                }
            }
        }
        return rtf_ec_OK;
    }
    if (st.rds == rdsSkip) {
        return rtf_ec_OK;
    }
    switch (idx) {
    case 1:
        st.rds = rdsShpPict;
        FShpPictInserted = false;
        return rtf_ec_OK;
    case 2:
        st.rds = FShpPictInserted ? rdsSkip : rdsNorm;
        return rtf_ec_OK;
    case 3:
        return StartPicture();
    case 5:
        FFontTable.Clear();
        FTmpString.clear();
        st.rds = rdsFontTable;
        return rtf_ec_OK;
    case 6:
        FStyleSheet.Clear();
        st.rds = OnStyleSheet ? rdsStyleSheet : rdsSkip;
        return rtf_ec_OK;
    case 7:
        FColorTable.Clear();
        FColorTable.Add();
        st.rds = rdsColorTable;
        return rtf_ec_OK;
    case 8:
    case 9:
    case 10:
    case 11: {
        static constexpr TVDRTFStyleSheetType types[] = {rtf_sst_Par, rtf_sst_Char, rtf_sst_Sect,
                                                         rtf_sst_Table};
        if (FStyleSheet.Count() > 0) {
            FStyleSheet.Last().FNumber = value;
            FStyleSheet.Last().FStyleType = types[idx - 8];
        }
        st.rds = rdsStyleSheetEntry;
        FTmpString.clear();
        return rtf_ec_OK;
    }
    case 12: {
        const TVDRTFErrorCode ec = FlushPending(true, true);
        st.FBmkStartName.clear();
        FTmpString.clear();
        st.rds = rdsBmkStart;
        return ec;
    }
    case 13:
        st.rds = rdsInfo;
        return rtf_ec_OK;
    case 14:
    case 15:
    case 16:
        if (st.rds == rdsInfo) {
            st.rds = idx == 14 ? rdsAuthor : (idx == 15 ? rdsTitle : rdsDocComm);
            FTmpString.clear();
        } else {
            st.rds = rdsSkip;
        }
        return rtf_ec_OK;
    case 17: {
        const TVDRTFErrorCode ec = FlushPending(true, true);
        st.rds = rdsField;
        return ec;
    }
    case 18:
        if (st.rds == rdsField) {
            st.FFieldCode.clear();
            st.FFieldInserted = false;
            st.rds = rdsFldInst;
        }
        return rtf_ec_OK;
    case 19:
        if (st.FFieldInserted) {
            st.FFieldInserted = false;
            st.rds = rdsSkip;
        } else {
            st.rds = rdsNorm;
        }
        return rtf_ec_OK;
    case 20:
        st.rds = rdsNorm;
        return rtf_ec_OK;
    case 29:
        return StartNote();
    case 30:
    case 31:
    case 32:
    case 33:
    case 34:
    case 35:
    case 36:
    case 37:
    case 38:
    case 39:
    case 40:
    case 41:
    case 42:
        return ChangeListDestination(idx, value);
    case 43:
    case 45:
        return rtf_ec_OK; // an object's result and own text read as body text
    case 46:
        st.rds = rdsUpr;
        return rtf_ec_OK;
    default:
        break;
    }
    if (idx >= 21 && idx <= 28) {
        static constexpr TVDRTFHeaderFooterType kinds[] = {
            rtf_hf_Header, rtf_hf_Footer, rtf_hf_HeaderL, rtf_hf_FooterL,
            rtf_hf_Header, rtf_hf_Footer, rtf_hf_HeaderF, rtf_hf_FooterF};
        return StartHeaderFooter(kinds[idx - 21]);
    }
    // Skipped destinations and objects' data.
    st.rds = rdsSkip;
    return rtf_ec_OK;
}

TVDRTFErrorCode TVDRTFReader::StartNote() {
    TVDRTFReaderState &st = FRTFState;
    if (!OnNote || st.FInNote || st.FHFType != rtf_hf_MainText) {
        st.rds = rdsSkip;
        return rtf_ec_OK;
    }
    if (TVDRTFErrorCode ec = FlushPending(false, true); ec != rtf_ec_OK) {
        return ec;
    }
    OnNote(*this, rtf_ne_Start, FPosition);
    FPosition = rtf_ts_NewPara;
    st.rds = rdsNorm;
    st.FFieldCode.clear();
    st.FParaProps.FInTable = false;
    st.FParaProps.FNestingLevel = 0;
    st.FInNote = true;
    FCurrentNestingLevel = 0;
    return rtf_ec_OK;
}

TVDRTFErrorCode TVDRTFReader::NoteCharacter() {
    if (!OnNote) {
        return rtf_ec_OK;
    }
    if (TVDRTFErrorCode ec = FlushPending(false, true); ec != rtf_ec_OK) {
        return ec;
    }
    FRTFState.FParaProps.Finalize();
    OnNote(*this, rtf_ne_Character, FPosition);
    FPosition = rtf_ts_ContinuePara;
    return rtf_ec_OK;
}

TVDRTFErrorCode TVDRTFReader::StartHeaderFooter(TVDRTFHeaderFooterType kind) {
    TVDRTFReaderState &st = FRTFState;
    bool &read = FHFRead[size_t(kind) - 1];
    if (read) {
        st.rds = rdsSkip;
        return rtf_ec_OK;
    }
    st.FHFType = kind;
    read = true;
    bool supported = false;
    if (OnHeaderFooter) {
        OnHeaderFooter(*this, kind, true, supported);
    }
    if (!supported) {
        st.rds = rdsSkip;
    }
    return rtf_ec_OK;
}

TVDRTFErrorCode TVDRTFReader::ParseChar(uint8_t ch) {
    TVDRTFErrorCode result = rtf_ec_OK;
    if (FRTFState.rds == rdsPict) {
        return PictureChar(ch);
    }
    if (ListChar(ch)) {
        if (FRTFState.ris == risBin && --FcbBin < 1) {
            FRTFState.ris = risNorm;
        }
        return result;
    }
    switch (FRTFState.rds) {
    case rdsNorm:
        if ((ch == 10 || ch == 13) && OnUpdateMarker) {
            DoUpdateMarker();
            result = PutChar(ch, true, true);
            DoUpdateMarker();
        } else {
            result = PutChar(ch, true, true);
        }
        break;
    case rdsFontTable:
        if (ch != ';' && FFontTable.Count() > 0) {
            FTmpString.push_back(char(ch));
        }
        break;
    case rdsColorTable:
        if (ch == ';') {
            FColorTable.Add();
        }
        break;
    case rdsStyleSheetEntry:
        if (ch != ';') {
            FTmpString.push_back(char(ch));
        }
        break;
    case rdsBmkStart:
    case rdsAuthor:
    case rdsTitle:
    case rdsDocComm:
        FTmpString.push_back(char(ch));
        break;
    case rdsFldInst:
        FRTFState.FFieldCode += AnsiToUnicode(TVDAnsiString(1, char(ch)), GetCurrentCodePage());
        break;
    default:
        break;
    }
    if (FRTFState.ris == risBin && --FcbBin < 1) {
        FRTFState.ris = risNorm;
    }
    return result;
}

TVDRTFErrorCode TVDRTFReader::PutWideChar(char16_t wc) {
    if (FRTFState.rds == rdsNorm) {
        return PutBodyWideChar(wc);
    }
    return AddDestWideChar(wc);
}

TVDRTFErrorCode TVDRTFReader::AddDestWideChar(char16_t wc) {
    auto take = [&](TVDUnicodeString &target) {
        target += AnsiToUnicode(FTmpString, GetCurrentCodePage());
        target.push_back(wc);
        FTmpString.clear();
    };
    switch (FRTFState.rds) {
    case rdsFontTable:
        if (wc != u';' && FFontTable.Count() > 0) {
            take(FFontTable.Last().Name);
        }
        break;
    case rdsStyleSheetEntry:
        if (FStyleSheet.Count() > 0) {
            take(FStyleSheet.Last().FName);
        }
        break;
    case rdsBmkStart:
        take(FRTFState.FBmkStartName);
        break;
    case rdsAuthor:
        take(FDocProps.FAuthor);
        break;
    case rdsTitle:
        take(FDocProps.FTitle);
        break;
    case rdsDocComm:
        take(FDocProps.FComments);
        break;
    case rdsFldInst:
        FRTFState.FFieldCode.push_back(wc);
        break;
    default:
        ListWideChar(wc);
        break;
    }
    return rtf_ec_OK;
}

TVDRTFErrorCode TVDRTFReader::EndDestination(TRTFrds rds, const TVDRTFReaderState &source) {
    (void)source;
    const TVDUnicodeString converted = AnsiToUnicode(FTmpString, GetCurrentCodePage());
    switch (rds) {
    case rdsFontTable:
        CompleteFontName();
        FFontTable.StripCharsetSuffixes();
        return rtf_ec_OK;
    case rdsStyleSheet:
        FStyleSheet.CalculateLinks();
        if (OnStyleSheet) {
            OnStyleSheet(*this);
        }
        return rtf_ec_OK;
    case rdsStyleSheetEntry:
        if (FStyleSheet.Count() > 0) {
            FStyleSheet.Last().FName += converted;
        }
        break;
    case rdsBmkStart: {
        const TVDUnicodeString name = FRTFState.FBmkStartName + converted;
        FRTFState.FBmkStartName.clear();
        FTmpString.clear();
        if (OnBookmarkStart) {
            try {
                OnBookmarkStart(*this, name);
            } catch (const rtl::Exception &) {
                return rtf_ec_Aborted;
            }
        }
        return rtf_ec_OK;
    }
    case rdsAuthor:
        FDocProps.FAuthor += converted;
        break;
    case rdsTitle:
        FDocProps.FTitle += converted;
        break;
    case rdsDocComm:
        FDocProps.FComments += converted;
        break;
    case rdsField:
        FRTFState.FFieldCode.clear();
        FAfterTableRow = false;
        break;
    case rdsPict:
        FTmpString.clear();
        return EndPicture();
    case rdsFldInst:
        FTmpString.clear();
        return RunFieldInstruction();
    default:
        EndListDestination(rds);
        break;
    }
    FTmpString.clear();
    return rtf_ec_OK;
}

} // namespace vizivodu
