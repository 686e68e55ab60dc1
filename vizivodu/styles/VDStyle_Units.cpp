// Units of measure: conversions of style lengths between pixels, twips, device pixels, points,
// EMU and the page units, and the conversion of a whole style sheet.
//
// Round below is to the nearest integer, halves to even, decided on the exact quotient
// (RoundQuotient), so that 30 twips at 120 pixels per inch give 2 (2.5) and not whatever a
// floating-point intermediate would make of it.
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Rounding.h"

namespace vizivodu {

namespace {

constexpr int64_t TwipsPerInch = 1440;

int32_t Ppi() {
    return GetScreenPixelsPerInchY();
}

// A non-zero length never becomes 0 pixels: it becomes 1 with its sign.
int32_t NeverZero(int64_t rounded, int64_t value) {
    if (rounded == 0 && value != 0) {
        return value > 0 ? 1 : -1;
    }
    return static_cast<int32_t>(rounded);
}

int32_t TwipsToPixelsAt(int64_t value, int64_t ppi) {
    return NeverZero(RoundQuotient(value * ppi, TwipsPerInch), value);
}

} // namespace

int32_t ScaleToFormatCanvas(int32_t value, bool toFormatCanvas) {
    return toFormatCanvas ? value * FormatCanvasScaleFactor : value;
}

int32_t ScaleFromFormatCanvas(int32_t value, bool toFormatCanvas) {
    return toFormatCanvas ? static_cast<int32_t>(RoundQuotient(value, FormatCanvasScaleFactor))
                          : value;
}

void TVDUnitsRect::ConvertToUnits(TVDUnits oldUnits, TVDUnits newUnits) {
    Left = ConvertVDUnits(oldUnits, newUnits, Left);
    Right = ConvertVDUnits(oldUnits, newUnits, Right);
    Top = ConvertVDUnits(oldUnits, newUnits, Top);
    Bottom = ConvertVDUnits(oldUnits, newUnits, Bottom);
}

bool AreRectsEqual(const rtl::TRect &a, const rtl::TRect &b) {
    return a == b;
}

// ---- Class forms --------------------------------------------------------------------------

int32_t TVDStyle::PixelsToTwips(int32_t value) {
    return static_cast<int32_t>(RoundQuotient(int64_t(value) * TwipsPerInch, Ppi()));
}

int32_t TVDStyle::TwipsToPixels(int32_t value) {
    return TwipsToPixelsAt(value, Ppi());
}

int32_t TVDStyle::GetAsPixelsEx(TVDStyleLength value, TVDStyleUnits units) {
    return units == vdstuPixels ? value : TwipsToPixels(value);
}

int32_t TVDStyle::GetAsTwipsEx(TVDStyleLength value, TVDStyleUnits units) {
    return units == vdstuTwips ? value : PixelsToTwips(value);
}

TVDStyleLength TVDStyle::TwipsToUnitsEx(int32_t value, TVDStyleUnits units) {
    return units == vdstuTwips ? value : TwipsToPixels(value);
}

TVDStyleLength TVDStyle::PixelsToUnitsEx(int32_t value, TVDStyleUnits units) {
    return units == vdstuPixels ? value : PixelsToTwips(value);
}

TVDLength TVDStyle::GetAsVDUnitsEx(TVDStyleLength value, TVDStyleUnits units, TVDUnits vdUnits) {
    if (units == vdstuPixels && vdUnits == vduPixels) {
        return value;
    }
    return TwipsToVDUnits(GetAsTwipsEx(value, units), vdUnits);
}

TVDStyleLength TVDStyle::VDUnitsToUnitsEx(TVDLength value, TVDUnits vdUnits, TVDStyleUnits units) {
    if (units == vdstuPixels && vdUnits == vduPixels) {
        return static_cast<TVDStyleLength>(rtl::Round(value));
    }
    return TwipsToUnitsEx(VDUnitsToTwips(vdUnits, value), units);
}

int32_t TVDStyle::VDUnitsToPixels(TVDLength value, TVDUnits vdUnits) {
    if (vdUnits == vduPixels) {
        return static_cast<int32_t>(rtl::Round(value));
    }
    return TwipsToPixels(VDUnitsToTwips(vdUnits, value));
}

TVDLength TVDStyle::PixelsToVDUnits(int32_t value, TVDUnits vdUnits) {
    if (vdUnits == vduPixels) {
        return value;
    }
    return TwipsToVDUnits(PixelsToTwips(value), vdUnits);
}

TVDStyleLength TVDStyle::GetAsDifferentUnits(const TVDStyle *vdStyle, TVDStyleLength value,
                                             TVDStyleUnits units) {
    if (vdStyle) {
        return vdStyle->GetAsDifferentUnits(value, units);
    }
    return units == vdstuTwips ? PixelsToTwips(value) : TwipsToPixels(value);
}

// ---- Instance forms -----------------------------------------------------------------------

int32_t TVDStyle::GetAsPixels(TVDStyleLength value) const {
    return GetAsPixelsEx(value, FUnits);
}

int32_t TVDStyle::GetAsDevicePixelsX(TVDStyleLength value, PVDScreenAndDevice sad) const {
    if (!sad) {
        return GetAsPixels(value);
    }
    if (FUnits == vdstuTwips) {
        return TwipsToPixelsAt(value, sad->ppixDevice);
    }
    // A record without a screen resolution leaves pixels as they are.
    if (sad->ppixScreen == 0) {
        return value;
    }
    return static_cast<int32_t>(RoundQuotient(int64_t(value) * sad->ppixDevice, sad->ppixScreen));
}

int32_t TVDStyle::GetAsDevicePixelsY(TVDStyleLength value, PVDScreenAndDevice sad) const {
    if (!sad) {
        return GetAsPixels(value);
    }
    if (FUnits == vdstuTwips) {
        return TwipsToPixelsAt(value, sad->ppiyDevice);
    }
    if (sad->ppiyScreen == 0) {
        return value;
    }
    return static_cast<int32_t>(RoundQuotient(int64_t(value) * sad->ppiyDevice, sad->ppiyScreen));
}

int32_t TVDStyle::GetAsTwips(TVDStyleLength value) const {
    return GetAsTwipsEx(value, FUnits);
}

int64_t TVDStyle::GetAsEMU(TVDStyleLength value) const {
    return int64_t(GetAsTwips(value)) * 635;
}

long double TVDStyle::GetAsPoints(TVDStyleLength value) const {
    if (FUnits == vdstuTwips) {
        return value / 20.0L;
    }
    return value * 72.0L / Ppi();
}

TVDLength TVDStyle::GetAsVDUnits(TVDStyleLength value, TVDUnits vdUnits) const {
    return GetAsVDUnitsEx(value, FUnits, vdUnits);
}

TVDStyleLength TVDStyle::GetAsDifferentUnits(TVDStyleLength value, TVDStyleUnits units) const {
    return units == vdstuTwips ? GetAsTwips(value) : GetAsPixels(value);
}

TVDStyleLength TVDStyle::TwipsToUnits(int32_t value) const {
    return TwipsToUnitsEx(value, FUnits);
}

TVDStyleLength TVDStyle::PixelsToUnits(int32_t value) const {
    return PixelsToUnitsEx(value, FUnits);
}

TVDStyleLength TVDStyle::DifferentUnitsToUnits(TVDStyleLength value, TVDStyleUnits units) const {
    return units == vdstuTwips ? TwipsToUnits(value) : PixelsToUnits(value);
}

TVDStyleLength TVDStyle::VDUnitsToUnits(TVDLength value, TVDUnits vdUnits) const {
    return VDUnitsToUnitsEx(value, vdUnits, FUnits);
}

void TVDStyle::ConvertToDifferentUnits(TVDStyleUnits newUnits) {
    if (newUnits == FUnits) {
        return;
    }
    // Every conversion runs while Units still holds the old unit.
    FDefTabWidth = GetAsDifferentUnits(FDefTabWidth, newUnits);
    if (TFontInfo *invalid = FTextStyles->GetInvalidItemIfCreated()) {
        invalid->ConvertToDifferentUnits(newUnits);
    }
    if (TParaInfo *invalid = FParaStyles->GetInvalidItemIfCreated()) {
        invalid->ConvertToDifferentUnits(newUnits);
    }
    FTextStyles->ConvertToDifferentUnits(newUnits);
    FParaStyles->ConvertToDifferentUnits(newUnits);
    FListStyles->ConvertToDifferentUnits(newUnits);
    FStyleTemplates->ConvertToDifferentUnits(newUnits);
    FUnits = newUnits;
}

} // namespace vizivodu
