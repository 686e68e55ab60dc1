// What the items' DOCX halves share: the DrawingML picture element and a label's run text.
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/rtl/System.h"
#include "vizivodu/document/VDItem_Rect.h"

namespace rtl {
class TStream;
}

namespace vizivodu {

class TCustomVDData;

// One picture drawing; lengths in EMU.
struct TVDOOXMLDrawing {
    AnsiString Name; // escaped
    AnsiString RelId;
    gfx::TColor FillColor = gfx::clNone;
    gfx::TColor BorderColor = gfx::clNone;
    int64_t BorderWidth = 0;
    int64_t HSpacing = 0;
    int64_t VSpacing = 0;
    int64_t Width = 0;
    int64_t Height = 0;
    TVDVAlign VAlign = vdvaBaseline;
    int32_t DrawingIndex = 0;
    rtl::UnicodeString Alt;
};

// A w:drawing element: inline, or anchored to the column for left and right floats.
void WriteOOXMLDrawing(rtl::TStream &stream, const TVDOOXMLDrawing &drawing);
// "<w:t>" with the escaped text, or one w:sym per character for a symbol-charset style.
AnsiString OOXMLLabelRunText(TCustomVDData *vdData, int32_t styleNo,
                             const rtl::UnicodeString &text);

} // namespace vizivodu
