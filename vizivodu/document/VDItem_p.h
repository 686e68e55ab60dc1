// Internals the item units share: style lengths as pixels, draw items, hyperlink jumps.
#pragma once

#include "vizivodu/styles/VDStyle.h"

namespace vizivodu {

class TCustomVDData;
class TVDDrawLineInfo;

// A style length in screen pixels; without a style sheet the length already is one.
inline int32_t ToPixels(const TVDStyle *style, TVDStyleLength value) {
    return style ? style->GetAsPixels(value) : value;
}

// A style length in device pixels (screen pixels without sad); without a style sheet as it is.
inline int32_t ToDeviceX(const TVDStyle *style, TVDStyleLength value, PVDScreenAndDevice sad) {
    return style ? style->GetAsDevicePixelsX(value, sad) : value;
}

inline int32_t ToDeviceY(const TVDStyle *style, TVDStyleLength value, PVDScreenAndDevice sad) {
    return style ? style->GetAsDevicePixelsY(value, sad) : value;
}

// Draw item dItemNo of a formatted document; nullptr for any other document or a number out of
// range.
TVDDrawLineInfo *DrawItemOf(TCustomVDData *vdData, int32_t dItemNo);

// Follows the hyperlink of a hot item with jumpID in a formatted document (nothing elsewhere).
void FollowJump(TCustomVDData *vdData, int32_t jumpID);

} // namespace vizivodu
