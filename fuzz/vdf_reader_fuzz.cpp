// The native document format's reader: any bytes loaded into a document with a style sheet,
// in text and binary mode settings, and inserted into another document; a document read back
// is saved again. The seeds also run as an ordinary test.
#include "fuzz/FuzzDocument.h"
#include "fuzz/FuzzTarget.h"

#include "platform/rtl/Classes.h"

#include "vizivodu/VDStartup.h"
#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDStyle.h"

void wbfuzz::FuzzOne(TInput input) {
    using namespace vizivodu;
    if (input.size() > (1u << 20)) {
        return;
    }
    InitializeLibrary();
    TVDStyle style(nullptr);
    wbfuzz::TFuzzDocument doc(&style);
    doc.SetVDFOptions({vdfoLoadDocProperties, vdfoLoadLayout, vdfoSaveBinary});
    // Plain memory streams: the document stream's 256 KB steps cost the sanitizer an mmap each.
    rtl::TMemoryStream stream;
    stream.WriteBuffer(input.data(), static_cast<int32_t>(input.size()));
    stream.SetPosition(0);
    uint32_t color = 0;
    if (doc.LoadVDFFromStream(stream, color, nullptr, nullptr)) {
        rtl::TMemoryStream again;
        doc.SaveVDFToStream(again, false, color, nullptr, nullptr, true);
        doc.SetVDFOptions({vdfoUseStyleNames});
        again.SetSize(0);
        doc.SaveVDFToStream(again, false, color, nullptr, nullptr, true);
    }
    // Inserted into a document, the style records are merged into the sheet through style maps.
    TVDStyle other(nullptr);
    wbfuzz::TFuzzDocument inserted(&other);
    inserted.AddNL(u"x", 0, 0);
    stream.SetPosition(0);
    if (inserted.InsertVDFFromStream(stream, 1, color, nullptr, nullptr, false)) {
        TVDMemoryStream again;
        inserted.SetVDFOptions({vdfoSaveTextStyles, vdfoSaveParaStyles});
        inserted.SaveVDFToStream(again, false, color, nullptr, nullptr, true);
    }
}
