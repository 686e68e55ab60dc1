// The table as plain text: its cells' texts with the table's column and row separators.
#include "vizivodu/tables/VDTable.h"

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable_Cells.h"

namespace vizivodu {

TVDRawByteString TVDTableItemInfo::AsText(int32_t lineWidth, TCustomVDData *vdData,
                                          const TVDRawByteString &, bool textOnly, bool unicode,
                                          TVDCodePage codePage) {
    auto separator = [&](const rtl::UnicodeString &s) {
        return unicode ? StringToRawUnicode(s)
                       : RawUnicodeToAnsi(vdData->GetVDStyle()->GetDefCodePage(),
                                          StringToRawUnicode(s));
    };
    const TVDRawByteString colSep = separator(GetTextColSeparator());
    const TVDRawByteString rowSep = separator(GetTextRowSeparator());
    TVDRawByteString result;
    for (int32_t r = 0; r < GetRowCount(); ++r) {
        for (int32_t c = 0; c < GetColCount(); ++c) {
            if (TVDTableCellData *cell = GetCells(r, c)) {
                TVDMemoryStream stream;
                cell->SaveTextToStream(u"", stream, lineWidth, false, textOnly, unicode, false,
                                       codePage, false);
                if (const auto *bytes = reinterpret_cast<const char *>(stream.GetMemory())) {
                    result.append(bytes, static_cast<size_t>(stream.GetSize()));
                }
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
