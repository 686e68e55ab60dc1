// The viewer control's integer, string and length properties addressed by identifier.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include "platform/rtl/ScopeExit.h"

namespace vizivodu {

namespace {

// An enumeration's value from an identifier's integer; values outside the enumeration are
// refused (the setter then changes nothing).
template <typename E> bool InRange(int32_t value, E last) {
    return value >= 0 && value <= int32_t(last);
}

} // namespace

void TCustomViziVodu::SetIntProperty(TVDIntProperty prop, int32_t value) {
    switch (prop) {
    case vdipLeftMargin:
        LeftMargin = value;
        return;
    case vdipRightMargin:
        RightMargin = value;
        return;
    case vdipTopMargin:
        TopMargin = value;
        return;
    case vdipBottomMargin:
        BottomMargin = value;
        return;
    case vdipMaxTextWidth:
        MaxTextWidth = value;
        return;
    case vdipMinTextWidth:
        MinTextWidth = value;
        return;
    case vdipBackgroundStyle:
        if (InRange(value, bsBottomRight)) {
            SetBackgroundStyle(TBackgroundStyle(value));
        }
        return;
    case vdipColor:
        SetColor(gfx::TColor(value));
        return;
    case vdipBiDiMode:
        SetBiDiModeUnformatted(value);
        return;
    default:
        SetDocParameterIntProperty(prop, value);
    }
}

void TCustomViziVodu::SetBiDiModeUnformatted(int32_t value) {
    if (!InRange(value, vdbdRightToLeft)) {
        return;
    }
    // The change formats nothing: a later Format applies it.
    const bool wasSkipping = FVDData->State.Contains(vdstSkipFormatting);
    FVDData->State.Include(vdstSkipFormatting);
    const rtl::TScopeExit restore([&]() noexcept {
        if (!wasSkipping) {
            FVDData->State.Exclude(vdstSkipFormatting);
        }
    });
    SetBiDiMode(TVDBiDiMode(value));
}

void TCustomViziVodu::SetDocParameterIntProperty(TVDIntProperty prop, int32_t value) {
    TVDDocParameters &dp = *GetDocParameters();
    switch (prop) {
    case vdipDPUnits:
        if (InRange(value, vduPoints)) {
            dp.Units = TVDUnits(value);
        }
        break;
    case vdipDPOrientation:
        if (InRange(value, poLandscape)) {
            dp.Orientation = TPrinterOrientation(value);
        }
        break;
    case vdipDPTitlePage:
        dp.TitlePage = value != 0;
        break;
    case vdipDPFacingPages:
        dp.FacingPages = value != 0;
        break;
    case vdipDPMirrorMargins:
        dp.MirrorMargins = value != 0;
        break;
    default:
        break;
    }
}

int32_t TCustomViziVodu::GetIntProperty(TVDIntProperty prop) {
    switch (prop) {
    case vdipLeftMargin:
        return LeftMargin;
    case vdipRightMargin:
        return RightMargin;
    case vdipTopMargin:
        return TopMargin;
    case vdipBottomMargin:
        return BottomMargin;
    case vdipMaxTextWidth:
        return MaxTextWidth;
    case vdipMinTextWidth:
        return MinTextWidth;
    case vdipBackgroundStyle:
        return int32_t(GetBackgroundStyle());
    case vdipColor:
        return int32_t(GetColor());
    case vdipBiDiMode:
        return int32_t(GetBiDiMode());
    default:
        break;
    }
    if (!DocParametersAssigned()) {
        return 0;
    }
    const TVDDocParameters &dp = *GetDocParameters();
    switch (prop) {
    case vdipDPUnits:
        return int32_t(dp.Units);
    case vdipDPOrientation:
        return int32_t(dp.Orientation);
    case vdipDPTitlePage:
        return dp.TitlePage;
    case vdipDPFacingPages:
        return dp.FacingPages;
    case vdipDPMirrorMargins:
        return dp.MirrorMargins;
    default:
        return 0;
    }
}

void TCustomViziVodu::SetStrProperty(TVDStrProperty prop, const rtl::UnicodeString &value) {
    TVDDocParameters &dp = *GetDocParameters();
    switch (prop) {
    case vdspDPTitle:
        dp.Title = value;
        break;
    case vdspDPAuthor:
        dp.Author = value;
        break;
    case vdspDPComments:
        dp.Comments = value;
        break;
    }
}

rtl::UnicodeString TCustomViziVodu::GetStrProperty(TVDStrProperty prop) {
    if (!DocParametersAssigned()) {
        return {};
    }
    const TVDDocParameters &dp = *GetDocParameters();
    switch (prop) {
    case vdspDPTitle:
        return dp.Title;
    case vdspDPAuthor:
        return dp.Author;
    case vdspDPComments:
        return dp.Comments;
    }
    return {};
}

namespace {

TVDLength *DocParameterLength(TVDDocParameters &dp, TVDFloatProperty prop) {
    switch (prop) {
    case vdfpDPLeftMargin:
        return &dp.LeftMargin;
    case vdfpDPRightMargin:
        return &dp.RightMargin;
    case vdfpDPTopMargin:
        return &dp.TopMargin;
    case vdfpDPBottomMargin:
        return &dp.BottomMargin;
    case vdfpDPHeaderY:
        return &dp.HeaderY;
    case vdfpDPFooterY:
        return &dp.FooterY;
    }
    return nullptr;
}

} // namespace

void TCustomViziVodu::SetFloatProperty(TVDFloatProperty prop, TVDLength value) {
    if (TVDLength *length = DocParameterLength(*GetDocParameters(), prop)) {
        *length = value;
    }
}

TVDLength TCustomViziVodu::GetFloatProperty(TVDFloatProperty prop) {
    if (DocParametersAssigned()) {
        const TVDLength *length = DocParameterLength(*GetDocParameters(), prop);
        return length ? *length : 0;
    }
    // The defaults of document parameters, without making them.
    TVDDocParameters defaults;
    const TVDLength *length = DocParameterLength(defaults, prop);
    return length ? *length : 0;
}

} // namespace vizivodu
