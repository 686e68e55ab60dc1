// The native-format halves of labels, sequences, notes, note references, sidenotes and text
// boxes (the last two are notes with their box lines among the extra properties).
#include "vizivodu/document/VDLabelItem.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/document/VDSeqItem.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Exceptions.h"

namespace vizivodu {

namespace {

// A whole line that is one decimal number.
bool LineInteger(std::string_view s, int32_t &value) {
    const std::string line(s);
    const char *p = line.c_str();
    return VDFReadInteger(p, value) && *p == '\0';
}

bool UseNames(TCustomVDData *vdData) {
    return vdData->GetVDFOptions().Contains(vdfoUseStyleNames);
}

} // namespace

// ---- Labels ----

void TVDLabelItemInfo::SaveVDFLabelLines(rtl::TStream &stream, TCustomVDData *vdData) const {
    VDFWriteLine(stream,
                 VDFFormatTextStyleRef(*vdData->GetVDStyle(), UseNames(vdData), FTextStyleNo));
    VDFWriteLine(stream, std::to_string(FMinWidth));
    VDFWriteLine(stream, std::to_string(static_cast<int32_t>(FAlignment)));
    VDFWriteLine(stream, ProtectTextStyleNo ? "protect" : "no-protect");
}

bool TVDLabelItemInfo::ReadVDFLabelLine(int32_t index, std::string_view s, TCustomVDData *vdData,
                                        bool utf8, bool &assNamed) {
    int32_t value = 0;
    switch (index) {
    case 0: {
        const std::string line(s);
        const char *p = line.c_str();
        int32_t styleNo = 0;
        if (!VDFReadTextStyleRef(*vdData->GetVDStyle(), p, styleNo, assNamed, utf8)) {
            return false;
        }
        FTextStyleNo = styleNo;
        return true;
    }
    case 1:
        if (!LineInteger(s, value)) {
            return false;
        }
        SetMinWidth(value);
        return true;
    case 2:
        if (!LineInteger(s, value) || value < taLeftJustify || value > taCenter) {
            return false;
        }
        FAlignment = static_cast<TAlignment>(value);
        return true;
    default:
        ProtectTextStyleNo = s == "protect";
        return true;
    }
}

void TVDLabelItemInfo::SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t, int32_t paraNo,
                               const TVDRawByteString &name, TVDMultiDrawItemPart *,
                               bool forceSameAsPrev, PVDScreenAndDevice) {
    VDFWriteLine(stream, VDFItemHeader(*this, *vdData, 6 + GetVDFExtraPropertyCount(), paraNo,
                                       forceSameAsPrev, 0));
    VDFWriteLine(stream, VDFEncodeString(FText));
    SaveVDFLabelLines(stream, vdData);
    VDFWriteLine(stream, name);
    SaveVDFExtraProperties(stream);
}

bool TVDLabelItemInfo::ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType,
                                   int32_t lineNo, int32_t lineCount, TVDRawByteString &name,
                                   TVDFReadMode &readMode, TVDFReadState &readState, bool utf8,
                                   bool &assNamed) {
    if (lineNo == 0) {
        SetText(VDFDecodeString(s, utf8));
        return true;
    }
    if (lineNo <= 4) {
        return ReadVDFLabelLine(lineNo - 1, s, vdData, utf8, assNamed);
    }
    if (lineNo == 5) {
        name = TVDRawByteString(s);
        SetParentVDData(vdData);
        return true;
    }
    return TCustomVDItemInfo::ReadVDFLine(s, vdData, readType, lineNo, lineCount, name, readMode,
                                          readState, utf8, assNamed);
}

// ---- Sequences ----

void TVDSeqItemInfo::SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t, int32_t paraNo,
                             const TVDRawByteString &name, TVDMultiDrawItemPart *,
                             bool forceSameAsPrev, PVDScreenAndDevice) {
    VDFWriteLine(stream, VDFItemHeader(*this, *vdData, 10 + GetVDFExtraPropertyCount(), paraNo,
                                       forceSameAsPrev, 0));
    VDFWriteLine(stream, VDFEncodeString(SeqName));
    VDFWriteLine(stream, std::to_string(static_cast<int32_t>(GetNumberType()) & 0x7F));
    VDFWriteLine(stream, Reset ? "1" : "0");
    VDFWriteLine(stream, std::to_string(StartFrom));
    SaveVDFLabelLines(stream, vdData);
    VDFWriteLine(stream, name);
    VDFWriteLine(stream, VDFEncodeString(FormatString));
    SaveVDFExtraProperties(stream);
}

bool TVDSeqItemInfo::ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType,
                                 int32_t lineNo, int32_t lineCount, TVDRawByteString &name,
                                 TVDFReadMode &readMode, TVDFReadState &readState, bool utf8,
                                 bool &assNamed) {
    int32_t value = 0;
    switch (lineNo) {
    case 0:
        SeqName = VDFDecodeString(s, utf8);
        return true;
    case 1:
        if (!LineInteger(s, value) || value < vdseqDecimal || value > vdseqUpperRoman) {
            return false;
        }
        SetNumberType(static_cast<TVDSeqType>(value));
        return true;
    case 2:
        Reset = s != "0";
        return true;
    case 3:
        return LineInteger(s, StartFrom);
    case 4:
    case 5:
    case 6:
    case 7:
        return ReadVDFLabelLine(lineNo - 4, s, vdData, utf8, assNamed);
    case 8:
        name = TVDRawByteString(s);
        SetParentVDData(vdData);
        return true;
    case 9:
        FormatString = VDFDecodeString(s, utf8);
        return true;
    default:
        return TCustomVDItemInfo::ReadVDFLine(s, vdData, readType, lineNo, lineCount, name,
                                              readMode, readState, utf8, assNamed);
    }
}

// ---- Notes (footnotes, endnotes, sidenotes, text boxes) ----

void TCustomVDNoteItemInfo::SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                    int32_t paraNo, const TVDRawByteString &name,
                                    TVDMultiDrawItemPart *, bool forceSameAsPrev,
                                    PVDScreenAndDevice) {
    const bool binary = vdData->GetVDFOptions().Contains(vdfoSaveBinary);
    VDFWriteLine(stream, VDFItemHeader(*this, *vdData, 8 + GetVDFExtraPropertyCount(), paraNo,
                                       forceSameAsPrev, binary ? 2 : 0));
    SaveVDFLabelLines(stream, vdData);
    VDFWriteLine(stream, Reset ? "1" : "0");
    VDFWriteLine(stream, std::to_string(StartFrom));
    VDFWriteLine(stream, name);
    SaveVDFExtraProperties(stream);
    TVDMemoryStream body;
    if (!FDocument->SaveVDFToStream(body, false, 0x1FFFFFFF, nullptr, nullptr, false)) {
        throw rtl::EWriteError(u"Error in writing VDF subdocument");
    }
    if (binary) {
        VDFWriteStreamBinary(body, stream);
    } else {
        VDFWriteLine(stream, VDFStreamToHex(body));
    }
}

bool TCustomVDNoteItemInfo::ReadVDFLine(std::string_view s, TCustomVDData *vdData,
                                        int32_t &readType, int32_t lineNo, int32_t lineCount,
                                        TVDRawByteString &name, TVDFReadMode &readMode,
                                        TVDFReadState &readState, bool utf8, bool &assNamed) {
    if (lineNo <= 3) {
        return ReadVDFLabelLine(lineNo, s, vdData, utf8, assNamed);
    }
    if (lineNo == 4) {
        Reset = s != "0";
        return true;
    }
    if (lineNo == 5) {
        return LineInteger(s, StartFrom);
    }
    if (lineNo == 6) {
        name = TVDRawByteString(s);
        SetParentVDData(vdData);
        return true;
    }
    if (lineNo < lineCount - 1) {
        return TCustomVDItemInfo::ReadVDFLine(s, vdData, readType, lineNo, lineCount, name,
                                              readMode, readState, utf8, assNamed);
    }
    TVDRawByteString bytes;
    if (readType == 2) {
        bytes = TVDRawByteString(s);
    } else {
        bytes = VDFHexToString(s);
        if (s.size() % 2 != 0 || bytes.size() * 2 != s.size()) {
            return false;
        }
    }
    // The nested document goes through the sub-document block, which bounds the nesting.
    TVDMemoryStream block;
    const auto length = static_cast<int32_t>(bytes.size());
    block.WriteBuffer(&length, 4);
    VDFWrite(block, bytes);
    block.SetPosition(0);
    FDocument->LoadVDFSubDocument(block);
    return true;
}

// ---- Note references ----

void TVDNoteReferenceItemInfo::SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                       int32_t paraNo, const TVDRawByteString &name,
                                       TVDMultiDrawItemPart *, bool forceSameAsPrev,
                                       PVDScreenAndDevice) {
    VDFWriteLine(stream, VDFItemHeader(*this, *vdData, 5 + GetVDFExtraPropertyCount(), paraNo,
                                       forceSameAsPrev, 0));
    SaveVDFLabelLines(stream, vdData);
    VDFWriteLine(stream, name);
    SaveVDFExtraProperties(stream);
}

bool TVDNoteReferenceItemInfo::ReadVDFLine(std::string_view s, TCustomVDData *vdData,
                                           int32_t &readType, int32_t lineNo, int32_t lineCount,
                                           TVDRawByteString &name, TVDFReadMode &readMode,
                                           TVDFReadState &readState, bool utf8, bool &assNamed) {
    if (lineNo <= 3) {
        return ReadVDFLabelLine(lineNo, s, vdData, utf8, assNamed);
    }
    if (lineNo == 4) {
        name = TVDRawByteString(s);
        SetParentVDData(vdData);
        SetText(vdData->GetNoteText());
        return true;
    }
    return TCustomVDItemInfo::ReadVDFLine(s, vdData, readType, lineNo, lineCount, name, readMode,
                                          readState, utf8, assNamed);
}

} // namespace vizivodu
