// The position of a sidenote or text box: what it is anchored to horizontally and vertically
// and how it is placed there, read and written through numbered properties 500 to 509, which
// are also its "box..." lines in the native format.
#pragma once

#include "vizivodu/document/VDFloatingBox.h"

namespace vizivodu {

enum TVDHorizontalAnchor : uint8_t {
    vdhanCharacter,
    vdhanPage,
    vdhanMainTextArea,
    vdhanLeftMargin,
    vdhanRightMargin,
    vdhanInnerMargin,
    vdhanOuterMargin
};
enum TVDVerticalAnchor : uint8_t {
    vdvanLine,
    vdvanParagraph,
    vdvanPage,
    vdvanMainTextArea,
    vdvanTopMargin,
    vdvanBottomMargin
};
enum TVDFloatPositionKind : uint8_t { vdfpkAlignment, vdfpkAbsPosition, vdfpkPercentPosition };
enum TVDFloatHorizontalAlignment : uint8_t { vdfphalLeft, vdfphalCenter, vdfphalRight };
enum TVDFloatVerticalAlignment : uint8_t { vdfpvalTop, vdfpvalCenter, vdfpvalBottom };
enum TVDFloatPositionInText : uint8_t { vdpitAboveText, vdpitBelowText };

class TVDBoxPosition {
public:
    TVDHorizontalAnchor HorizontalAnchor = vdhanCharacter;
    TVDVerticalAnchor VerticalAnchor = vdvanLine;
    TVDFloatPositionKind HorizontalPositionKind = vdfpkAbsPosition;
    TVDFloatPositionKind VerticalPositionKind = vdfpkAbsPosition;
    TVDFloatPosition HorizontalOffset = 0;
    TVDFloatPosition VerticalOffset = 0;
    TVDFloatHorizontalAlignment HorizontalAlignment = vdfphalLeft;
    TVDFloatVerticalAlignment VerticalAlignment = vdfpvalTop;
    TVDFloatPositionInText PositionInText = vdpitAboveText;
    bool RelativeToCell = true;

    void Assign(const TVDBoxPosition &source) { *this = source; }
    bool GetExtraIntPropertyEx(int32_t prop, int32_t &value) const;
    // Ids 500 to 509; false for other ids and values outside an enumeration.
    bool SetExtraIntPropertyEx(int32_t prop, int32_t value);
    bool GetExtraIntPropertyReformat(int32_t prop, TVDReformatType &reformatType) const;
    bool SetExtraCustomProperty(std::string_view propName, const rtl::UnicodeString &value);
    int32_t GetChangedPropertyCount() const;
    void SaveVDFExtraProperties(rtl::TStream &stream) const;
    // Only absolute offsets are converted.
    void ConvertToDifferentUnits(TVDStyleUnits newUnits, const TVDStyle *vdStyle);
};

// Parses the value of a "box..." line: a decimal integer; false when it is not one.
bool ReadBoxPropertyValue(const rtl::UnicodeString &value, int32_t &result);

} // namespace vizivodu
