// Break and tab items: their properties, plain text and native-format header tails.
#include "vizivodu/document/VDItem_BreakTab.h"

#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDItem_p.h"
#include "vizivodu/styles/VDStyle.h"

#include <algorithm>

namespace vizivodu {

VD_DEFINE_ITEM_CLASS(TVDBreakItemInfo, TVDFullLineItemInfo);
VD_DEFINE_ITEM_CLASS(TVDTabItemInfo, TVDSimpleRectItemInfo);

// ---- Break ----

TVDBreakItemInfo::TVDBreakItemInfo(TCustomVDData *vdData) : TVDFullLineItemInfo(vdData) {
    StyleNo = StyleNoBreak;
}

TVDBreakItemInfo::TVDBreakItemInfo(TCustomVDData *vdData, uint8_t lineWidth, TVDBreakStyle style,
                                   TColor color)
    : TVDBreakItemInfo(vdData) {
    LineWidth = lineWidth;
    Style = style;
    Color = color;
}

void TVDBreakItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (const auto *other = dynamic_cast<const TVDBreakItemInfo *>(&source)) {
        LineWidth = other->LineWidth;
        Color = other->Color;
        Style = other->Style;
    }
    TVDFullLineItemInfo::Assign(source);
}

bool TVDBreakItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    return prop == vdbpIgnorePara || TVDFullLineItemInfo::GetBoolValue(prop);
}

bool TVDBreakItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const {
    if (prop == vdbpPrintToBMP) {
        return false;
    }
    return prop == vdbpActualPrintSize || TVDFullLineItemInfo::GetBoolValueEx(prop, vdStyle);
}

bool TVDBreakItemInfo::SetExtraIntPropertyEx(int32_t prop, int32_t value) {
    switch (prop) {
    case 200:
        LineWidth = value;
        return true;
    case 201:
        if (value < vdbsLine || value > vdbsDashed) {
            return false;
        }
        Style = static_cast<TVDBreakStyle>(value);
        return true;
    case 202:
        Color = static_cast<TColor>(value);
        return true;
    default:
        return TVDFullLineItemInfo::SetExtraIntPropertyEx(prop, value);
    }
}

bool TVDBreakItemInfo::GetExtraIntPropertyEx(int32_t prop, int32_t &value) const {
    switch (prop) {
    case 200:
        value = LineWidth;
        return true;
    case 201:
        value = Style;
        return true;
    case 202:
        value = static_cast<int32_t>(Color);
        return true;
    default:
        return TVDFullLineItemInfo::GetExtraIntPropertyEx(prop, value);
    }
}

void TVDBreakItemInfo::ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle,
                                               bool recursive) {
    LineWidth =
        TVDStyle::GetAsDifferentUnits(vdStyle, LineWidth, static_cast<TVDStyleUnits>(newUnits));
    TVDFullLineItemInfo::ConvertToDifferentUnits(newUnits, vdStyle, recursive);
}

TVDRawByteString TVDBreakItemInfo::AsText(int32_t lineWidth, TCustomVDData *vdData,
                                          const TVDRawByteString &, bool, bool unicode,
                                          TVDCodePage) {
    const TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    const int32_t pixels = ToPixels(style, LineWidth);
    const TVDRawByteString line(static_cast<size_t>(std::max(1, lineWidth)),
                                pixels < 2 ? '-' : '=');
    return unicode ? AnsiToRawUnicode(0, line) : line;
}

TVDRawByteString TVDBreakItemInfo::GetVDFHeaderTail(TCustomVDData *) const {
    return std::to_string(static_cast<int32_t>(Color)) + " " + std::to_string(int(Style)) + " " +
           std::to_string(LineWidth);
}

bool TVDBreakItemInfo::ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool, bool &) {
    if (*p == '\0' || *p == '\n' || *p == '\r') {
        Color = gfx::clNone;
        Style = vdbsLine;
        const TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
        LineWidth = style ? style->PixelsToUnits(1) : 1;
        return true;
    }
    int32_t color = 0;
    int32_t style = 0;
    int32_t width = 0;
    if (!VDFReadInteger(p, color) || !VDFReadInteger(p, style) || !VDFReadInteger(p, width) ||
        style < vdbsLine || style > vdbsDashed) {
        return false;
    }
    Color = static_cast<TColor>(color);
    Style = static_cast<TVDBreakStyle>(style);
    LineWidth = width;
    return true;
}

// ---- Tab ----

TVDTabItemInfo::TVDTabItemInfo(TCustomVDData *vdData) : TVDSimpleRectItemInfo(vdData) {
    StyleNo = StyleNoTab;
}

bool TVDTabItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    return prop == vdbpDrawingChangesFont || prop == vdbpAlwaysInText ||
           prop == vdbpSwitchToAssStyleNo || TVDSimpleRectItemInfo::GetBoolValue(prop);
}

bool TVDTabItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const {
    if (prop == vdbpPrintToBMP) {
        return false;
    }
    return prop == vdbpActualPrintSize || TVDSimpleRectItemInfo::GetBoolValueEx(prop, vdStyle);
}

void TVDTabItemInfo::MarkStylesInUse(TVDDeleteUnusedStylesData &data) {
    TVDSimpleRectItemInfo::MarkStylesInUse(data);
    TVDDeleteUnusedStylesData::MarkUsed(data.UsedTextStyles(), FTextStyleNo);
}

void TVDTabItemInfo::UpdateStyles(TVDDeleteUnusedStylesData &data) {
    TVDSimpleRectItemInfo::UpdateStyles(data);
    TVDDeleteUnusedStylesData::Renumber(data.UsedTextStyles(), FTextStyleNo);
}

TVDRawByteString TVDTabItemInfo::AsText(int32_t, TCustomVDData *, const TVDRawByteString &, bool,
                                        bool unicode, TVDCodePage) {
    return unicode ? TVDRawByteString("\t\0", 2) : TVDRawByteString("\t");
}

} // namespace vizivodu
