// The table's native-format record: writing the whole table or its selected cells, reading the
// record's lines, the stored column widths, and the loading hooks.
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/formats/vdf/VDTable_Stream.h"

#include "platform/gfx/Graphic.h"
#include "platform/rtl/Exceptions.h"

namespace vizivodu {

namespace {

// Header, name, extra properties, the optional "colwidths" line, the picture-storage line and
// the stream.
void WriteTableRecord(rtl::TStream &stream, TVDTableItemInfo &table, TCustomVDData &vdData,
                      int32_t paraNo, const TVDRawByteString &name, bool forceSameAsPrev,
                      TVDMemoryStream &body, const std::string &colWidths) {
    const TVDFOptions options = vdData.GetVDFOptions();
    const bool binary = options.Contains(vdfoSaveBinary);
    const int32_t lines = table.GetVDFExtraPropertyCount() + 3 + (colWidths.empty() ? 0 : 1);
    VDFWriteLine(stream,
                 VDFItemHeader(table, vdData, lines, paraNo, forceSameAsPrev, binary ? 2 : 0));
    VDFWriteLine(stream, name);
    table.SaveVDFExtraProperties(stream);
    if (!colWidths.empty()) {
        VDFWriteLine(stream, "colwidths=" + colWidths);
    }
    VDFWriteLine(stream, options.Contains(vdfoSavePicturesBody) ? "1" : "2");
    if (binary) {
        VDFWriteStreamBinary(body, stream);
    } else {
        VDFWriteLine(stream, VDFStreamToHex(body));
    }
}

} // namespace

void TVDTableItemInfo::SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t, int32_t paraNo,
                               const TVDRawByteString &name, TVDMultiDrawItemPart *,
                               bool forceSameAsPrev, PVDScreenAndDevice) {
    TVDTableStreamSaveInfo info;
    info.RowCount = GetRowCount();
    info.ColCount = GetColCount();
    info.SavePictures = vdData->GetVDFOptions().Contains(vdfoSavePicturesBody);
    TVDMemoryStream body;
    WriteStreamComponent(body, info);
    WriteTableRecord(stream, *this, *vdData, paraNo, name, forceSameAsPrev, body, {});
}

void TVDTableItemInfo::SaveVDFSelection(rtl::TStream &stream, TCustomVDData *vdData, int32_t,
                                        int32_t paraNo) {
    TVDTableStreamSaveInfo info;
    int32_t colSpan = 0;
    int32_t rowSpan = 0;
    if (!GetNormalizedSelectionBounds(true, info.TopRow, info.LeftCol, colSpan, rowSpan)) {
        return;
    }
    info.RowCount = rowSpan;
    info.ColCount = colSpan;
    info.SelectionOnly = true;
    info.SavePictures = vdData->GetVDFOptions().Contains(vdfoSavePicturesBody);
    TVDMemoryStream body;
    WriteStreamComponent(body, info);
    WriteTableRecord(stream, *this, *vdData, paraNo, {}, false, body, {});
}

bool TVDTableItemInfo::ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType,
                                   int32_t lineNo, int32_t lineCount, TVDRawByteString &name,
                                   TVDFReadMode &readMode, TVDFReadState &readState, bool utf8,
                                   bool &assStyleNameUsed) {
    if (lineNo == 0) {
        name = TVDRawByteString(s);
        FVDFPicturesOutside = false;
        return lineCount >= 3;
    }
    if (lineNo == lineCount - 2) {
        if (readType == 2) {
            readMode = rmBeforeBinary;
        }
        if (s == "2") {
            FVDFPicturesOutside = true;
            readType = readType == 2 ? 5 : readType == 0 ? 4 : readType;
        }
        return true;
    }
    if (lineNo < lineCount - 1) {
        return TVDFullLineItemInfo::ReadVDFLine(s, vdData, readType, lineNo, lineCount, name,
                                                readMode, readState, utf8, assStyleNameUsed);
    }
    readState = rstSkip;
    std::string bytes;
    if (readType == 2 || readType == 5) {
        bytes = std::string(s);
    } else if (readType == 0 || readType == 4) {
        bytes = VDFHexToString(s);
        if (s.size() % 2 != 0 || bytes.size() * 2 != s.size()) {
            return false;
        }
    } else {
        return false;
    }
    TVDTableStreamSaveInfo info;
    try {
        std::unique_ptr<TVDMemoryStream> stream = VDFStringToStream(bytes);
        ReadStreamComponent(*stream, info);
    } catch (const rtl::Exception &) {
        return false;
    }
    if (FVDFPicturesOutside) {
        AskVDFPictures(*vdData, name);
    }
    return info.LoadResult;
}

// Each answer, nil included, becomes the picture.
void TVDTableItemInfo::AskVDFPictures(TCustomVDData &vdData, const TVDRawByteString &name) {
    const rtl::UnicodeString itemName(name.begin(), name.end());
    SetBackgroundImage(vdData.VDFPictureNeeded(itemName, this, -1, -1).get());
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        for (int32_t c = 0; c < GetColCount(); ++c) {
            if (TVDTableCellData *cell = GetCells(r, c)) {
                cell->SetBackgroundImage(vdData.VDFPictureNeeded(itemName, this, c, r).get());
            }
        }
    }
}

// The column widths end at the first token that is not an integer.
bool TVDTableItemInfo::SetExtraCustomProperty(std::string_view propName,
                                              const rtl::UnicodeString &value) {
    if (propName != "colwidths") {
        return false;
    }
    const std::string text = rtl::Utf16ToUtf8(value);
    const char *p = text.c_str();
    auto widths = std::make_unique<TVDTableStoredColWidths>();
    if (VDFReadInteger(p, widths->ppxDevice) && VDFReadInteger(p, widths->TableWidth)) {
        int32_t width = 0;
        while (VDFReadInteger(p, width)) {
            widths->ColWidths.Add(width);
        }
    }
    FStoredColWidths = std::move(widths);
    return true;
}

void TVDTableItemInfo::BeforeLoading(TVDLoadFormat fileFormat) {
    if (fileFormat == vdlfRTF || fileFormat == vdlfVDF || fileFormat == vdlfOther) {
        FState.Exclude(vdtsJustCreated);
    }
}

void TVDTableItemInfo::AfterLoading(TVDLoadFormat fileFormat) {
    AfterLoadingEx(fileFormat, 0, GetRowCount());
}

void TVDTableItemInfo::AfterLoadingEx(TVDLoadFormat fileFormat, int32_t firstRow,
                                      int32_t rowCount) {
    for (int32_t r = std::max(firstRow, 0); r < std::min(firstRow + rowCount, GetRowCount()); ++r) {
        TVDTableRow *row = FRows->Get(r);
        for (int32_t c = 0; c < row->GetCount(); ++c) {
            if (TVDTableCellData *cell = row->Get(c)) {
                for (int32_t i = 0; i < cell->ItemCount(); ++i) {
                    cell->DoOnAddSpecialItem(i);
                    cell->GetItem(i)->AfterLoading(fileFormat);
                }
            }
        }
    }
}

} // namespace vizivodu
