// Units of measure of the style sheet: the format-canvas scale, the record of four page
// lengths, and the library-wide switches of the style unit.
#pragma once

#include "platform/rtl/Types.h"
#include "vizivodu/styles/VDStyle_Types.h"

namespace vizivodu {

// The separate format canvas measures text at FormatCanvasScaleFactor times the screen's
// resolution: fonts are made for it at FormatCanvasPixelsPerInch (96 x the factor).
inline int32_t FormatCanvasScaleFactor = 100;
inline int32_t FormatCanvasPixelsPerInch = 9600;

// value x FormatCanvasScaleFactor for the format canvas, else value.
int32_t ScaleToFormatCanvas(int32_t value, bool toFormatCanvas);
// Round(value / FormatCanvasScaleFactor) for the format canvas, else value.
int32_t ScaleFromFormatCanvas(int32_t value, bool toFormatCanvas);

// Special-character kinds drawn as signs while special characters are shown; all at start.
inline TVDSpecialCharacters VisibleSpecialCharacters = TVDSpecialCharacters::FromBits(0xFF);
// Measures every text as bidirectional when drawing positioned text (never set).
inline bool ForceBiDiMeasuring = false;

// Four lengths of the page (print margins) in one of the TVDUnits, 0 by default.
class TVDUnitsRect {
public:
    TVDUnitsRect() = default;
    void Assign(const TVDUnitsRect &source) { *this = source; }
    void SetAll(TVDLength value) { Left = Right = Top = Bottom = value; }
    // Each side x units per inch of newUnits / units per inch of oldUnits, unrounded.
    void ConvertToUnits(TVDUnits oldUnits, TVDUnits newUnits);

    TVDLength Left = 0;
    TVDLength Right = 0;
    TVDLength Top = 0;
    TVDLength Bottom = 0;
};

// The four sides are equal.
bool AreRectsEqual(const rtl::TRect &a, const rtl::TRect &b);

} // namespace vizivodu
