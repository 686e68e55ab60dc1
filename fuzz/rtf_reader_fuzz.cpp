// RTF reader: any bytes parsed with every event assigned (Unicode on and off, hidden text
// skipped or kept; pictures, fields, lists and notes included), the events checked for what
// the reader promises: no group state leaks out of a read and table starts never outnumber the
// levels a paragraph can hold. Then the bytes are read into a document (tables, lists, notes,
// pictures and fields; styles added or matched); a failed read must leave the document empty.
#include "fuzz/FuzzDocument.h"
#include "fuzz/FuzzTarget.h"

#include "vizivodu/VDStartup.h"
#include "vizivodu/formats/rtf/VDRTFProps.h"
#include "vizivodu/formats/rtf/VDRTFReader.h"

#include "platform/gfx/Graphic.h"
#include "platform/rtl/Classes.h"

#include <cstdlib>

namespace {

void ReadOnce(wbfuzz::TInput input, bool unicode, bool skipHidden) {
    using namespace vizivodu;
    TVDRTFReader reader;
    reader.SkipHiddenText = skipHidden;
    reader.TabAsSeparateChar = unicode;
    int32_t open = 0;
    reader.OnNewText = [](TVDRTFReader &, const TVDAnsiString &, TVDRTFPosition) {};
    if (unicode) {
        reader.OnNewUnicodeText = [](TVDRTFReader &, const TVDUnicodeString &, TVDRTFPosition) {};
    }
    reader.OnTable = [&open](TVDRTFReader &, TVDRTFTableEventKind k, bool &) {
        if (k == vdf_tbl_TableStart) {
            ++open;
        } else if (k == vdf_tbl_TableEnd || k == vdf_tbl_TableForcedEnd) {
            --open;
        }
        if (open > TVDRTFReader::MaxTableNesting * 2 || open < -TVDRTFReader::MaxTableNesting) {
            std::abort();
        }
    };
    reader.OnHeaderFooter = [](TVDRTFReader &, TVDRTFHeaderFooterType, bool, bool &supported) {
        supported = true;
    };
    reader.OnNote = [](TVDRTFReader &, TVDRTFNoteEventType, TVDRTFPosition) {};
    reader.OnStyleSheet = [](TVDRTFReader &) {};
    reader.OnBookmarkStart = [](TVDRTFReader &, const rtl::UnicodeString &) {};
    reader.OnRequiredPageBreak = [](TVDRTFReader &) {};
    reader.OnUpdateMarker = [](TVDRTFReader &) {};
    reader.OnNewPicture = [](TVDRTFReader &, TVDRTFPicture *, std::unique_ptr<gfx::TGraphic> &g,
                             TVDRTFPosition, const rtl::UnicodeString &, bool &inserted) {
        g.reset();
        inserted = true;
    };
    reader.OnNewSeq = [](TVDRTFReader &, TVDRTFPosition, const TVDUnicodeString &, TVDRTFSeqType,
                         bool, int32_t) {};
    reader.OnNewPageNumber = [](TVDRTFReader &, TVDRTFPosition, TVDRTFPageNumberType) {};
    reader.OnNewPageCount = [](TVDRTFReader &, TVDRTFPosition, TVDRTFPageNumberType) {};
    rtl::TMemoryStream stream;
    stream.Write(input.data(), int32_t(input.size()));
    stream.SetPosition(0);
    const TVDRTFErrorCode code = reader.ReadFromStream(stream);
    if (code > rtf_ec_Aborted) {
        std::abort();
    }
}

void ReadIntoDocument(wbfuzz::TInput input, bool addStyles) {
    using namespace vizivodu;
    TVDStyle style(nullptr);
    wbfuzz::TFuzzDocument doc(&style);
    TVDRTFReaderProperties props;
    props.TextStyleMode = addStyles ? vdrsAddIfNeeded : vdrsUseClosest;
    props.ParaStyleMode = props.TextStyleMode;
    props.ExplicitTableWidth = addStyles;
    props.UseSingleCellPadding = addStyles;
    rtl::TMemoryStream stream;
    stream.Write(input.data(), int32_t(input.size()));
    stream.SetPosition(0);
    if (props.ReadFromStream(stream, doc, false) != rtf_ec_OK && doc.ItemCount() != 0) {
        std::abort();
    }
}

} // namespace

void wbfuzz::FuzzOne(TInput input) {
    ReadOnce(input, true, true);
    ReadOnce(input, false, false);
    if (input.size() <= (1u << 20)) {
        vizivodu::InitializeLibrary();
        ReadIntoDocument(input, true);
        ReadIntoDocument(input, false);
    }
}
