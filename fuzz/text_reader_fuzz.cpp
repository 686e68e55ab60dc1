// The plain-text loaders: any bytes loaded as 8-bit text (code page 1251 or UTF-8) or as
// UTF-16, with tabs as items or spaces, as paragraphs or one paragraph; a loaded document is
// saved as text again in both forms. The first byte chooses the mode. The seeds also run as an
// ordinary test.
#include "fuzz/FuzzDocument.h"
#include "fuzz/FuzzTarget.h"

#include "platform/rtl/Classes.h"

#include "vizivodu/VDStartup.h"
#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/CodePages.h"

void wbfuzz::FuzzOne(TInput input) {
    using namespace vizivodu;
    if (input.empty() || input.size() > (1u << 20)) {
        return;
    }
    InitializeLibrary();
    const uint8_t mode = input[0];
    TVDStyle style(nullptr);
    style.SetSpacesInTab((mode & 4) != 0 ? 0 : 8);
    wbfuzz::TFuzzDocument doc(&style);
    // Plain memory streams: the document stream's 256 KB steps cost the sanitizer an mmap each.
    rtl::TMemoryStream stream;
    stream.WriteBuffer(input.data() + 1, static_cast<int32_t>(input.size() - 1));
    stream.SetPosition(0);
    const bool single = (mode & 2) != 0;
    const bool loaded =
        (mode & 1) != 0
            ? doc.LoadTextFromStreamW(stream, 0, 0, single)
            : doc.LoadTextFromStream(stream, 0, 0, single, (mode & 8) != 0 ? rtl::CP_UTF8 : 1251);
    if (loaded) {
        rtl::TMemoryStream again;
        doc.SaveTextToStream(u"", again, 80, false, false, false, false, 1251, true);
        again.SetSize(0);
        doc.SaveTextToStream(u"", again, 80, false, false, true, true, 0, true);
    }
}
