// The Windows "HTML Format" fragment header: taken off when HTML is offered to other programs
// (they expect plain HTML under text/html) and put on when their HTML is read (the document
// code reads the header the way the Windows clipboard gives it).
#pragma once

#include <string>
#include <string_view>

namespace gfx {

// The HTML between StartHTML and EndHTML of a fragment header, or from StartFragment to
// EndFragment when the header gives no HTML range; data without a header (or with offsets
// outside the data) comes back as it is.
std::string RemoveHtmlClipboardHeader(std::string_view data);

// UTF-8 HTML with the header in front: "Version:0.9", then StartHTML, EndHTML, StartFragment
// and EndFragment as ten-digit byte offsets. The fragment is what lies between the
// "<!--StartFragment-->" and "<!--EndFragment-->" comments, else the body's content, else the
// whole text. HTML that starts with a UTF-16 byte-order mark is converted to UTF-8 first.
std::string AddHtmlClipboardHeader(std::string_view html);

} // namespace gfx
