// The box of a sidenote or text box: size (absolute or relative), frame, inner spacing,
// background and the vertical alignment of its content, read and written through numbered
// properties 600 to 622, which are also its "box..." lines in the native format.
#pragma once

#include "vizivodu/document/VDItem.h"
#include "vizivodu/styles/VDStyle_Borders.h"

#include <string_view>

namespace rtl {
class TStream;
}

namespace vizivodu {

// A size or position: a style length, or thousandths of a percent of a reference length.
using TVDFloatSize = int32_t;
using TVDFloatPosition = int32_t;

enum TVDBoxWidthType : uint8_t {
    vdbwtAbsolute,
    vdbwtRelPage,
    vdbwtRelMainTextArea,
    vdbwtRelLeftMargin,
    vdbwtRelRightMargin,
    vdbwtRelInnerMargin,
    vdbwtRelOuterMargin
};
enum TVDBoxHeightType : uint8_t {
    vdbhtAbsolute,
    vdbhtRelPage,
    vdbhtRelMainTextArea,
    vdbhtRelTopMargin,
    vdbhtRelBottomMargin,
    vdbhtAuto
};
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

// The inner spacing of a box: 10 at the left and right, 5 at the top and bottom.
class TVDBoxPaddingRect : public TVDRect {
public:
    TVDBoxPaddingRect() {
        Left = Right = 10;
        Top = Bottom = 5;
    }
};

// A box frame: single by default; offsets below 0 count as 0.
class TVDBoxBorder : public TVDBorder {
public:
    TVDBoxBorder();
    bool AllowNegativeOffsets() const override { return false; }
};

// A box background: clWindow by default; offsets below 0 count as 0.
class TVDBoxBackgroundRect : public TVDBackgroundRect {
public:
    TVDBoxBackgroundRect();
    bool AllowNegativeOffsets() const override { return false; }
};

class TVDBoxProperties {
public:
    TVDBoxProperties();

    TVDBoxBorder &GetBorder() { return FBorder; }
    const TVDBoxBorder &GetBorder() const { return FBorder; }
    TVDBoxBackgroundRect &GetBackground() { return FBackground; }
    const TVDBoxBackgroundRect &GetBackground() const { return FBackground; }

    TVDFloatSize Width = 100;
    TVDFloatSize Height = 100;
    TVDBoxWidthType WidthType = vdbwtAbsolute;
    TVDBoxHeightType HeightType = vdbhtAuto;
    TTextLayout VAlign = tlTop;

    void Assign(const TVDBoxProperties &source);
    // Ids 600 to 622; false for other ids (and for values no property takes).
    bool GetExtraIntPropertyEx(int32_t prop, int32_t &value) const;
    bool SetExtraIntPropertyEx(int32_t prop, int32_t value);
    // vdrfSVDRepaint for appearance only (colours, visible sides, opacity), else
    // vdrfSVDReformat; false for other ids.
    bool GetExtraIntPropertyReformat(int32_t prop, TVDReformatType &reformatType) const;
    // "box" + a property's name, compared exactly; the value read as an integer.
    bool SetExtraCustomProperty(std::string_view propName, const rtl::UnicodeString &value);
    // How many of the 23 properties differ from their defaults.
    int32_t GetChangedPropertyCount() const;
    // One "key=value" line per changed property.
    void SaveVDFExtraProperties(rtl::TStream &stream) const;
    // Relative sizes stay as they are.
    void ConvertToDifferentUnits(TVDStyleUnits newUnits, const TVDStyle *vdStyle);

    // Inner space on one side: the larger of the background offset and the border offset plus
    // the border's thickness, negative offsets counting as 0; in device pixels of sad (screen
    // pixels for null).
    int32_t GetTotalLeftPaddingSaD(const TVDStyle &vdStyle, PVDScreenAndDevice sad) const;
    int32_t GetTotalRightPaddingSaD(const TVDStyle &vdStyle, PVDScreenAndDevice sad) const;
    int32_t GetTotalTopPaddingSaD(const TVDStyle &vdStyle, PVDScreenAndDevice sad) const;
    int32_t GetTotalBottomPaddingSaD(const TVDStyle &vdStyle, PVDScreenAndDevice sad) const;
    int32_t GetTotalLeftPadding(const TVDStyle &s) const { return GetTotalLeftPaddingSaD(s, {}); }
    int32_t GetTotalRightPadding(const TVDStyle &s) const { return GetTotalRightPaddingSaD(s, {}); }
    int32_t GetTotalTopPadding(const TVDStyle &s) const { return GetTotalTopPaddingSaD(s, {}); }
    int32_t GetTotalBottomPadding(const TVDStyle &s) const {
        return GetTotalBottomPaddingSaD(s, {});
    }
    int32_t GetMinWidth(const TVDStyle &s) const;
    int32_t GetMinHeight(const TVDStyle &s) const;
    rtl::TRect GetInternalRect(const rtl::TRect &externalRect, const TVDStyle &vdStyle) const;

private:
    TVDBoxBorder FBorder;
    TVDBoxBackgroundRect FBackground;
};

} // namespace vizivodu
