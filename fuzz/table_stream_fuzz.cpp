// A table's own component stream (rows and rectangles of cells, as copying and the native
// format carry them): any bytes read into a table of a document, reset and in place; a table
// read back is saved again.
#include "fuzz/FuzzDocument.h"
#include "fuzz/FuzzTarget.h"

#include "platform/rtl/Classes.h"

#include "vizivodu/VDStartup.h"
#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable.h"

void wbfuzz::FuzzOne(TInput input) {
    using namespace vizivodu;
    if (input.size() < 1 || input.size() > (1u << 20)) {
        return;
    }
    InitializeLibrary();
    TVDStyle style(nullptr);
    wbfuzz::TFuzzDocument doc(&style);
    // The first byte chooses reading in place (into a 3 x 3 table from row and column 1).
    const bool inPlace = (input[0] & 1) != 0;
    auto table = TVDTableItemInfo::CreateEx(3, 3, &doc);
    // Plain memory streams: the document stream's 256 KB steps cost the sanitizer an mmap each.
    rtl::TMemoryStream stream;
    stream.WriteBuffer(input.data() + 1, static_cast<int32_t>(input.size() - 1));
    stream.SetPosition(0);
    if (inPlace) {
        table->LoadFromStreamEx(stream, 1, 1, false);
    } else {
        table->LoadFromStream(stream);
    }
    rtl::TMemoryStream again;
    table->SaveToStream(again);
}
