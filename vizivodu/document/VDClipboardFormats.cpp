// Registration of the documents' clipboard formats.
#include "vizivodu/document/VDClipboardFormats.h"

#include "platform/gfx/Clipbrd.h"
#include "vizivodu/VDStartup_p.h"

namespace vizivodu::startup {

void InitializeVDClipboardFormats() {
    CF_VDF = gfx::RegisterClipboardFormat(u"ViziVodu Format");
    CF_RTF = gfx::RegisterClipboardFormat(u"Rich Text Format");
    CF_URL = gfx::RegisterClipboardFormat(u"UniformResourceLocator");
    CF_HTML = gfx::RegisterClipboardFormat(u"HTML Format");
}

} // namespace vizivodu::startup
