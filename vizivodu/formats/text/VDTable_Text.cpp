// The table as plain text: all its cells, or its selected ones, with its separators.
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable_Cells.h"

namespace vizivodu {

namespace {

// A separator in the item-text encoding: UTF-16, or the style sheet's default code page.
TVDRawByteString EncodedSeparator(TCustomVDData *vdData, const rtl::UnicodeString &s,
                                  bool unicode) {
    return unicode
               ? StringToRawUnicode(s)
               : RawUnicodeToAnsi(vdData->GetVDStyle()->GetDefCodePage(), StringToRawUnicode(s));
}

void AppendCellText(TVDTableCellData &cell, const rtl::UnicodeString &path, int32_t lineWidth,
                    bool textOnly, bool unicode, TVDCodePage codePage, TVDRawByteString &out) {
    TVDMemoryStream stream;
    cell.SaveTextToStream(path, stream, lineWidth, false, textOnly, unicode, false, codePage,
                          false);
    if (const auto *bytes = reinterpret_cast<const char *>(stream.GetMemory())) {
        out.append(bytes, static_cast<size_t>(stream.GetSize()));
    }
}

} // namespace

void TVDTableItemInfo::SaveTextSelection(rtl::TStream &stream, TCustomVDData *vdData,
                                         int32_t lineWidth, const rtl::UnicodeString &path,
                                         bool textOnly, bool unicode, TVDCodePage codePage) {
    const TVDRawByteString colSep = EncodedSeparator(vdData, GetTextColSeparator(), unicode);
    const TVDRawByteString rowSep = EncodedSeparator(vdData, GetTextRowSeparator(), unicode);
    TVDRawByteString result;
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        bool rowHasCell = false;
        for (int32_t c = 0; c < GetColCount(); ++c) {
            TVDTableCellData *cell = GetCells(r, c);
            if (!cell || !IsCellSelected(r, c)) {
                continue;
            }
            if (rowHasCell) {
                result += colSep;
            }
            rowHasCell = true;
            AppendCellText(*cell, path, lineWidth, textOnly, unicode, codePage, result);
        }
        if (rowHasCell) {
            result += rowSep;
        }
    }
    if (!result.empty()) {
        stream.WriteBuffer(result.data(), static_cast<int32_t>(result.size()));
    }
}

TVDRawByteString TVDTableItemInfo::AsText(int32_t lineWidth, TCustomVDData *vdData,
                                          const TVDRawByteString &, bool textOnly, bool unicode,
                                          TVDCodePage codePage) {
    const TVDRawByteString colSep = EncodedSeparator(vdData, GetTextColSeparator(), unicode);
    const TVDRawByteString rowSep = EncodedSeparator(vdData, GetTextRowSeparator(), unicode);
    TVDRawByteString result;
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        for (int32_t c = 0; c < GetColCount(); ++c) {
            if (TVDTableCellData *cell = GetCells(r, c)) {
                AppendCellText(*cell, u"", lineWidth, textOnly, unicode, codePage, result);
            }
            if (c + 1 < GetColCount()) {
                result += colSep;
            }
        }
        if (r + 1 < GetRowCount()) {
            result += rowSep;
        }
    }
    return result;
}

} // namespace vizivodu
