// The HSL colour model, the theme colour scheme and the style-services stand-in.
#include "controls/BvCommon.h"

#include "platform/rtl/Registry.h"
#include "platform/rtl/Rounding.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cmath>

namespace controls {

namespace {

// Rounds a value that is known to lie in 0..255 (halves to even).
uint8_t RoundByte(double v) {
    return uint8_t(std::clamp<int64_t>(rtl::Round(v), 0, 255));
}

struct TSchemeRow {
    TColor start, stop, frame;
};
constexpr TSchemeRow SchemeTable[3] = {
    {16773091, 15383449, 12549975},
    {15597567, 9619384, 7840127},
    {16775673, 13679805, 11640735},
};

struct TColorState {
    bool schemeRead = false;
    uint8_t scheme = 0;
    bool fullColor = true;
};

TColorState &State() {
    static TColorState state;
    return state;
}

} // namespace

THSL SplitColorHSL(TColor color) {
    const uint32_t rgb = gfx::ColorToRGB(color);
    const double r = gfx::GetRValue(rgb) / 255.0, g = gfx::GetGValue(rgb) / 255.0,
                 b = gfx::GetBValue(rgb) / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double l = (mx + mn) / 2;
    double h = 0, s = 0;
    if (mx != mn) {
        const double d = mx - mn;
        s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
        if (r == mx) {
            h = (g - b) / d;
        } else if (g == mx) {
            h = (b - r) / d + 2;
        } else {
            h = (r - g) / d + 4;
        }
        h /= 6;
        if (h < 0) {
            h += 1;
        }
    }
    return {RoundByte(h * 240), RoundByte(s * 240), RoundByte(l * 240)};
}

uint8_t HueOfColor(TColor color) {
    return SplitColorHSL(color).H;
}

TColor ColorFromHSL(uint8_t hue, uint8_t sat, uint8_t light) {
    // The hue divides by 239, not 240: hue 240 falls into the seventh sixth, drawn as the first.
    const double h = hue / 239.0, s = sat / 240.0, l = light / 240.0;
    const double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
    if (m2 <= 0) {
        return gfx::clBlack;
    }
    const double m1 = 2 * l - m2;
    const int k = int(std::trunc(6 * h));
    const double f = 6 * h - k;
    const double rise = m1 + (m2 - m1) * f, fall = m2 - (m2 - m1) * f;
    double r = m2, g = rise, b = m1;
    switch (k) {
    case 1:
        r = fall, g = m2, b = m1;
        break;
    case 2:
        r = m1, g = m2, b = rise;
        break;
    case 3:
        r = m1, g = fall, b = m2;
        break;
    case 4:
        r = rise, g = m1, b = m2;
        break;
    case 5:
        r = m2, g = m1, b = fall;
        break;
    default:
        break;
    }
    auto channel = [](double c) { return RoundByte(std::min(c, 1.0) * 255); };
    return gfx::RGB(channel(r), channel(g), channel(b));
}

TColor DarkenColor(TColor color, uint8_t amount) {
    const THSL c = SplitColorHSL(color);
    return ColorFromHSL(c.H, c.S, uint8_t(std::max(int(c.L) - amount, 0)));
}

TColor LightenColor(TColor color, uint8_t amount) {
    const THSL c = SplitColorHSL(color);
    return ColorFromHSL(c.H, c.S, uint8_t(std::min(int(c.L) + amount, 255)));
}

TColor ShiftColorLightness(TColor color, int32_t amount) {
    if (amount < 0) {
        return DarkenColor(color, uint8_t(uint32_t(-int64_t(amount)) & 0xFF));
    }
    if (amount > 0) {
        return LightenColor(color, uint8_t(uint32_t(amount) & 0xFF));
    }
    return color;
}

TColor MixColors(TColor color1, TColor color2, uint8_t weight) {
    const float x = weight / 255.0f;
    const uint32_t a = gfx::ColorToRGB(color1), b = gfx::ColorToRGB(color2);
    auto mix = [x](uint8_t c1, uint8_t c2) { return RoundByte((1.0f - x) * c2 + x * c1); };
    return gfx::RGB(mix(gfx::GetRValue(a), gfx::GetRValue(b)),
                    mix(gfx::GetGValue(a), gfx::GetGValue(b)),
                    mix(gfx::GetBValue(a), gfx::GetBValue(b)));
}

bool ColorsAlike(TColor color1, TColor color2) {
    const THSL a = SplitColorHSL(color1), b = SplitColorHSL(color2);
    return std::abs(int(a.H) - int(b.H)) < 20 && std::abs(int(a.L) - int(b.L)) < 60;
}

TColor OppositeHueColor(TColor color, uint8_t lightness) {
    const uint8_t h = HueOfColor(color);
    return ColorFromHSL(uint8_t(h < 120 ? h + 120 : h - 120), 240, lightness);
}

uint8_t ReadThemeColorScheme() {
    // Read-only: asking for the scheme must not create keys in the user's store.
    rtl::TRegistry reg(rtl::KEY_READ);
    reg.SetRootKey(rtl::HKEY_CURRENT_USER);
    rtl::UnicodeString name;
    if (reg.OpenKeyReadOnly(u"\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager") &&
        reg.GetDataType(u"ColorName") == rtl::rdString) {
        name = rtl::UpperCase(reg.ReadString(u"ColorName"));
    }
    if (name == u"HOMESTEAD") {
        return 1;
    }
    return name == u"METALLIC" ? 2 : 0;
}

uint8_t ActiveColorScheme() {
    if (!State().schemeRead) {
        RefreshActiveColorScheme();
    }
    return State().scheme;
}

void RefreshActiveColorScheme() {
    State().schemeRead = true;
    try {
        State().scheme = ReadThemeColorScheme();
    } catch (const std::exception &) {
        State().scheme = 0; // an unreadable store means no scheme name
    }
}

void SchemeGradientColors(TBvGradientColorStyle style, TColor &start, TColor &stop) {
    if (style == gcsMSOffice && StylesEnabled()) {
        start = SchemeTable[ActiveColorScheme()].start;
        stop = SchemeTable[ActiveColorScheme()].stop;
        return;
    }
    start = StyledColor(gfx::clWindow);
    stop = DarkenColor(StyledColor(gfx::clBtnFace), 10);
}

TColor SchemeFrameColor(TBvGradientColorStyle style) {
    if (style == gcsMSOffice && StylesEnabled()) {
        return SchemeTable[ActiveColorScheme()].frame;
    }
    return LightenColor(StyledColor(gfx::clBtnShadow), 30);
}

bool StylesEnabled() {
    return false;
}

bool SystemStyleActive() {
    return true;
}

TColor StyledColor(TColor color) {
    return color;
}

TColor StyledFontColor() {
    return gfx::clNone;
}

bool ScreenHasFullColor() {
    return true;
}

bool FullColorScreen() {
    return State().fullColor;
}

void SetFullColorScreenForTesting(bool value) {
    State().fullColor = value;
}

} // namespace controls
