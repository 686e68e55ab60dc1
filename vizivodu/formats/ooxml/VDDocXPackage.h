// The DOCX package: the parts of a document written into a ZIP archive with their
// relationships and content types.
#pragma once

#include "platform/gfx/Colors.h"

namespace rtl {
class TStream;
}

namespace vizivodu {

class TCustomVDData;
class TVDBackground;

// What one package is made of. Headers: header, footer, first-page header, first-page footer,
// even-pages header, even-pages footer; nullptr where absent (always nullptr for a selection).
struct TVDDocXPackageSource {
    TCustomVDData *Data = nullptr;
    gfx::TColor Color = gfx::clNone;
    TVDBackground *Background = nullptr;
    TCustomVDData *Headers[6] = {};
    bool SelectionOnly = false;
};

// Writes the package into the stream from its position. False when anything failed (an
// exception of a writer, a refused part or a failed close); the stream then holds a partial
// archive.
bool SaveDocXPackage(rtl::TStream &stream, const TVDDocXPackageSource &source);

} // namespace vizivodu
