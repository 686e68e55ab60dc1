// The HTML clipboard header: any bytes as another program's HTML (the header put on) and as a
// block with a header (taken off); what is taken off always lies inside the data.
#include "fuzz/FuzzTarget.h"

#include "platform/gfx/ClipboardHtml.h"

#include <cstdlib>
#include <string_view>

void wbfuzz::FuzzOne(TInput input) {
    const std::string_view data(reinterpret_cast<const char *>(input.data()), input.size());
    const std::string html = gfx::RemoveHtmlClipboardHeader(data);
    if (html.size() > data.size()) {
        std::abort();
    }
    const std::string withHeader = gfx::AddHtmlClipboardHeader(data);
    if (data.substr(0, 2) != "\xFF\xFE" && gfx::RemoveHtmlClipboardHeader(withHeader) != data) {
        std::abort(); // the header put on is the header taken off
    }
}
